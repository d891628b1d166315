// Arbitrary "SAVE\\0.dat" files (and, past the record's 6336 bytes, a "SAVE\\0.bmp") through
// the slot scan and the load. A second pass forces the version and the script name, so the
// restore itself meets every field as the bytes give it.
#include "FuzzGame.h"
#include "core/RunLog.h"
#include "platform/Files.h"
#include "savedata/SaveRecord.h"
#include "screens/SaveLoadScreen.h"
#include "script/SaveGame.h"
#include "app/CDirectX.h"

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <memory>

namespace {

CDirectX* engine()
{
    static platform::HeadlessBackend backend;
    static std::unique_ptr<CDirectX> dx = openFuzzGame(
        backend, "sorafune-fuzz-save",
        {{"SCP\\a.scp", "@def_text\r\n{\r\n1 A FFFF on\r\n}\r\n@text,1\r\n{\r\nx\r\n}\r\n@text,0\r\n{\r\ny\r\n}\r\n"}},
        {"SAVE"});
    return dx.get();
}

void writeHost(const std::string& path, const uint8_t* data, size_t size)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        std::abort();
    if (size > 0)
        std::fwrite(data, 1, size, f);
    std::fclose(f);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CDirectX& dx = *engine();
    const size_t recordBytes = size < SaveRecord::kSize ? size : SaveRecord::kSize;
    writeHost(platform::files::programPath("SAVE\\0.dat"), data, recordBytes);
    writeHost(platform::files::programPath("SAVE\\0.bmp"), data + recordBytes, size - recordBytes);

    ScanSlots(dx);
    LoadSlot(dx, 0);

    SaveRecord forced;
    std::copy(data, data + recordBytes, forced.bytes.begin());
    forced.setI32(SaveRecord::Version, SaveRecord::kVersion);
    forced.setName(SaveRecord::ScriptName, "a.scp");
    restoreSnapshot(dx, forced);
    // What was restored is taken again and must make a record of the same size and version.
    TakeSnapshot(dx, dx.script.cursorIndex());
    if (dx.saveRecord.version() != SaveRecord::kVersion)
        std::abort();
    runLog().clear();
    return 0;
}
