#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The 18-byte wave format of a "fmt " chunk.
struct WaveFormat {
    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0;
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    uint16_t extraSize = 0;

    // The interface sounds are always played as PCM: tag 1, 16 bits when unset, the block
    // and byte rate recomputed from channels and bits.
    void forcePcm();
};

// Reads a WAV file image the way the game does: the first "fmt " found scanning byte by
// byte gives the format (its body, at most 18 bytes), the first "data" after it gives the
// sound. False with a reason when a chunk is missing, runs past the end of the file, or the
// sound is empty.
bool parseWav(const uint8_t* bytes, size_t size, WaveFormat& format, std::vector<uint8_t>& data, std::string& why);
