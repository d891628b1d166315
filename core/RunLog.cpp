#include "core/RunLog.h"

#include "platform/Files.h"

#include <cstdio>
#include <vector>

void RunLog::append(int level, std::string_view text)
{
    if (level == 0)
        return;
    std::string line(text);
    if (line.empty() || line.back() != '\n')
        line += '\n';
    lines_.push_back(std::move(line));
}

void RunLog::appendf(int level, const char* format, ...)
{
    if (level == 0)
        return;
    va_list ap;
    va_start(ap, format);
    va_list copy;
    va_copy(copy, ap);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text;
    if (n > 0) {
        std::vector<char> buf(size_t(n) + 1);
        std::vsnprintf(buf.data(), buf.size(), format, ap);
        text.assign(buf.data(), size_t(n));
    }
    va_end(ap);
    append(level, text);
}

bool RunLog::saveAppend(std::string_view fileNameSjis)
{
    std::FILE* f = platform::files::open(platform::files::programPath(fileNameSjis), "ab");
    if (!f)
        return false;
    auto writeText = [f](const std::string& s) {
        // Text mode on the original system writes each "\n" as CR LF.
        for (char c : s) {
            if (c == '\n')
                std::fputc('\r', f);
            std::fputc(c, f);
        }
    };
    while (!lines_.empty()) {
        writeText(lines_.front());
        lines_.pop_front();
    }
    writeText("\n");
    std::fclose(f);
    return true;
}

bool RunLog::contains(std::string_view text) const
{
    for (const std::string& l : lines_)
        if (l.find(text) != std::string::npos)
            return true;
    return false;
}

RunLog& runLog()
{
    static RunLog log;
    return log;
}
