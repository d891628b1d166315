// The font-sheet reader on arbitrary bytes.
#include "graphics/FontSheet.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FontSheet sheet;
    if (sheet.decode(data, size)) {
        unsigned sum = 0;
        for (int k = 0; k < 16; ++k)
            sum += sheet.alpha(k, 31, 31);
        if (sum > 16 * 15)
            __builtin_trap();
    }
    return 0;
}
