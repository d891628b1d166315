// Arbitrary script text through the tokeniser and the interpreter. Commands whose subsystem is
// not part of the engine are skipped like unknown words.
#include "ScriptFuzzDriver.h"

#include "app/RunLog.h"
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
        // The unlock and read-text records are written into a scratch folder, not here.
        std::filesystem::path dir = std::filesystem::temp_directory_path() / ("sorafune-fuzz-" + std::to_string(std::random_device{}()));
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
    CDirectX& dx = *engine();
    runScriptBytes(dx, data, size);
    runLog().clear();
    return 0;
}
