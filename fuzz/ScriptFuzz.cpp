// Arbitrary script text through the tokeniser and the interpreter. Commands whose subsystem is
// not part of the engine are skipped like unknown words.
#include "ScriptFuzzDriver.h"

#include "core/RunLog.h"
#include "platform/Files.h"
#include "platform/headless/HeadlessBackend.h"
#include "resources/PackFormat.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>

namespace {

// A small "system.pkd" so that "@load" of "a.scp" or "b.scp" succeeds and other names fail.
void writeArchive(const std::filesystem::path& path)
{
    const std::pair<std::string, std::string> scripts[] = {
        {"SCP\\a.scp", "@wait 1\r\n@load b.scp\r\n"},
        {"SCP\\b.scp", "@exit\r\n#if 00-02\r\n@test_title b\r\n#endif\r\n"},
    };
    std::vector<uint8_t> out = {'P', 'A', 'C', 'K', 2, 0, 0, 0};
    size_t offset = pack::kHeaderSize + pack::kRecordSize * 2;
    for (const auto& [name, text] : scripts) {
        std::vector<uint8_t> rec(pack::kRecordSize, 0);
        std::copy(name.begin(), name.end(), rec.begin());
        for (int i = 0; i < 4; ++i) {
            rec[128 + size_t(i)] = uint8_t(text.size() >> (8 * i));
            rec[132 + size_t(i)] = uint8_t(offset >> (8 * i));
        }
        pack::scramble(rec.data(), rec.size());
        out.insert(out.end(), rec.begin(), rec.end());
        offset += text.size();
    }
    for (const auto& [name, text] : scripts) {
        std::vector<uint8_t> data(text.begin(), text.end());
        pack::scramble(data.data(), data.size());
        out.insert(out.end(), data.begin(), data.end());
    }
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f) {
        std::fwrite(out.data(), 1, out.size(), f);
        std::fclose(f);
    }
}

CDirectX* engine()
{
    static platform::HeadlessBackend backend;
    static std::unique_ptr<CDirectX> dx = [] {
        // The unlock and read-text records are written into a scratch folder, not here.
        std::filesystem::path dir = std::filesystem::temp_directory_path() / ("sorafune-fuzz-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(dir);
        std::filesystem::current_path(dir);
        platform::files::setProgramDir(dir.string());
        writeArchive(dir / "system.pkd");
        auto engine = std::make_unique<CDirectX>(backend.services);
        if (!engine->archive.Open("system.pkd"))
            std::abort();
        return engine;
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
