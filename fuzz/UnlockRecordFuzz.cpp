// "data.dat" contents of any length, as the galleries read them: an entry is unlocked exactly
// when its byte is there and not 0, and no flag is read outside the record.
#include "core/RunLog.h"
#include "savedata/UnlockRecord.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    UnlockRecord rec;
    rec.takeBytes(data, size);
    auto byteSet = [&](size_t i) { return i < size && data[i] != 0; };
    for (int k = -2; k < UnlockRecord::kCgCount + 16; ++k) {
        const bool want = k >= 0 && k < UnlockRecord::kCgCount && byteSet(size_t(k));
        if (rec.cgSeen(k) != want)
            std::abort();
    }
    for (int m = -2; m < UnlockRecord::kMemoryFlags + 4; ++m) {
        const bool want = m >= 0 && m < UnlockRecord::kMemoryFlags && byteSet(UnlockRecord::kCgFlags + size_t(m));
        if (rec.memoryFlag(m) != want)
            std::abort();
    }
    runLog().clear();
    return 0;
}
