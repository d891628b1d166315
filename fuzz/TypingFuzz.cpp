// Arbitrary bytes as a typing script and as keys against kana.
#include "TypingFuzzDriver.h"

#include "core/RunLog.h"
#include "platform/Files.h"
#include "platform/headless/HeadlessBackend.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>

namespace {

CDirectX* engine()
{
    static platform::HeadlessBackend backend;
    static std::unique_ptr<CDirectX> dx = [] {
        // An empty scratch folder: every picture, sound and script load fails and is logged.
        std::filesystem::path dir =
            std::filesystem::temp_directory_path() / ("sorafune-typing-fuzz-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(dir);
        std::filesystem::current_path(dir);
        platform::files::setProgramDir(dir.string());
        return std::make_unique<CDirectX>(backend.services);
    }();
    return dx.get();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    runTypingBytes(*engine(), data, size);
    runLog().clear();
    return 0;
}
