#include "platform/DebugOutput.h"

#include "platform/Text.h"

#include <cstdio>
#include <mutex>
#include <string>

namespace platform {

namespace {
std::mutex& sinkMutex()
{
    static std::mutex m;
    return m;
}
std::function<void(std::string_view)>& sink()
{
    static std::function<void(std::string_view)> s;
    return s;
}
} // namespace

void debugOutput(std::string_view sjisText)
{
    std::lock_guard<std::mutex> lock(sinkMutex());
    if (sink()) {
        sink()(sjisText);
        return;
    }
    std::string text = sjisToUtf8(sjisText);
    std::fwrite(text.data(), 1, text.size(), stderr);
    if (text.empty() || text.back() != '\n')
        std::fputc('\n', stderr);
}

void setDebugOutputSink(std::function<void(std::string_view)> s)
{
    std::lock_guard<std::mutex> lock(sinkMutex());
    sink() = std::move(s);
}

} // namespace platform
