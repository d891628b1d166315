#pragma once
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

// The mixed sound written to a 16-bit PCM WAV as it is pulled, so a long run holds one
// frame's samples rather than the whole recording. The header's sizes are written when the
// recording ends.
class WavRecording {
public:
    // An empty path records nothing.
    WavRecording(const std::string& path, uint32_t rate, uint32_t channels);
    void append(const std::vector<int16_t>& samples);
    // Patches the sizes and closes the file; false when anything could not be written.
    bool finish();

private:
    std::ofstream file_;
    bool active_ = false;
    uint32_t rate_, channels_;
    uint64_t samples_ = 0;
    std::vector<char> bytes_;
};
