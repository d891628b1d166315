// The thumbnail reader on arbitrary bytes: no read outside the input, no huge allocation.
#include "graphics/CDIB.h"
#include "platform/DebugOutput.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool quiet = [] {
        platform::setDebugOutputSink([](std::string_view) {});
        return true;
    }();
    (void)quiet;
    CDIB dib;
    if (dib.LoadBMPFromMemory(data, size, "fuzz")) {
        // What loaded must be exactly the file's pixels.
        if (dib.pixelSize() != size_t(dib.width()) * size_t(dib.height()) * 4)
            __builtin_trap();
        dib.FlipVertical();
    }
    return 0;
}
