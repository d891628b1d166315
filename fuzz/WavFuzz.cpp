// Arbitrary bytes through the WAV reader that loads the interface sounds.
#include "sound/WavReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    WaveFormat format;
    std::vector<uint8_t> sound;
    std::string why;
    if (parseWav(data, size, format, sound, why)) {
        // What was read lies inside the file, and forcing PCM never divides or overflows.
        if (sound.empty() || sound.size() > size)
            std::abort();
        format.forcePcm();
        if (format.formatTag != 1 || format.bitsPerSample == 0)
            std::abort();
    } else if (why.empty() || !sound.empty()) {
        std::abort();
    }
    return 0;
}
