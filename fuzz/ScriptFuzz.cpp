// Arbitrary script text through the tokeniser and the interpreter. Commands whose subsystem is
// not part of the engine are skipped like unknown words. Choices are picked and hot-spots
// clicked as a player would. The author's checker reads the same text.
#include "FuzzGame.h"
#include "ScriptFuzzDriver.h"

#include "core/RunLog.h"
#include "tools/lint/GameFolder.h"
#include "tools/lint/Linter.h"

#include <cstdlib>
#include <iterator>
#include <memory>

namespace {

// An 8 x 8 click map: stripes of the seven region colours and a grey, every third pixel black.
const uint8_t kClickMap[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00,
    0x08, 0x00, 0x00, 0x00, 0x08, 0x08, 0x02, 0x00, 0x00, 0x00, 0x4b, 0x6d, 0x29, 0xdc, 0x00, 0x00, 0x00, 0x3b, 0x49,
    0x44, 0x41, 0x54, 0x78, 0xda, 0x75, 0x8c, 0x01, 0x0a, 0x00, 0x30, 0x08, 0x02, 0x7d, 0xda, 0xfe, 0xff, 0x29, 0xd7,
    0x9c, 0xd5, 0x18, 0x14, 0x44, 0x76, 0x99, 0x00, 0x40, 0xf7, 0x1d, 0xda, 0x58, 0xf2, 0xb9, 0x07, 0x25, 0x7f, 0xab,
    0xb8, 0xc5, 0x14, 0x95, 0x9f, 0x38, 0x43, 0x62, 0xa9, 0xd0, 0xd4, 0x5e, 0x8a, 0x76, 0xac, 0x69, 0x3d, 0x8d, 0x51,
    0x1b, 0x4f, 0xf5, 0x43, 0x42, 0x7b, 0x5c, 0x13, 0xce, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42,
    0x60, 0x82,
};

// A small "system.pkd" so that "@load" of "a.scp" or "b.scp" succeeds and other names fail, and
// "#bitmap m.png" loads a click map while "cut.png" is one cut short.
ArchiveEntries archiveEntries()
{
    const std::string map(reinterpret_cast<const char*>(kClickMap), sizeof kClickMap);
    return {
        {"SCP\\a.scp", "@wait 1\r\n@load b.scp\r\n"},
        {"SCP\\b.scp", "@exit\r\n#if 00-02\r\n@test_title b\r\n#endif\r\n"},
        {"CLICK\\m.png", map},
        {"CLICK\\cut.png", map.substr(0, 60)},
    };
}

// The unlock and read-text records are written into the scratch folder, not here.
CDirectX* engine()
{
    static platform::HeadlessBackend backend;
    static std::unique_ptr<CDirectX> dx = openFuzzGame(backend, "sorafune-fuzz", archiveEntries());
    return dx.get();
}

// The author's checker reads the same archive from the same folder.
GameFolder* lintFolder()
{
    static std::unique_ptr<GameFolder> game = [] {
        engine();
        auto g = std::make_unique<GameFolder>();
        std::string why;
        if (!g->open(".", why))
            std::abort();
        return g;
    }();
    return game.get();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CDirectX& dx = *engine();
    runScriptBytes(dx, data, size);
    // The checker reads the same bytes as a scenario and as a typing script.
    Linter linter(*lintFolder());
    linter.checkScenarioBytes("fuzz.scp", data, size);
    linter.checkTypingBytes("fuzz", data, size);
    runLog().clear();
    return 0;
}
