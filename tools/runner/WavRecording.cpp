#include "WavRecording.h"

#include <algorithm>

namespace {

constexpr std::streamoff kHeaderBytes = 44;

void put32(char* p, uint32_t v)
{
    p[0] = char(v);
    p[1] = char(v >> 8);
    p[2] = char(v >> 16);
    p[3] = char(v >> 24);
}

void put16(char* p, uint32_t v)
{
    p[0] = char(v);
    p[1] = char(v >> 8);
}

} // namespace

WavRecording::WavRecording(const std::string& path, uint32_t rate, uint32_t channels)
    : rate_(rate), channels_(channels)
{
    if (path.empty())
        return;
    active_ = true;
    file_.open(path, std::ios::binary | std::ios::trunc);
    // Room for the header; its sizes are only known at the end.
    const char blank[kHeaderBytes] = {};
    file_.write(blank, kHeaderBytes);
}

void WavRecording::append(const std::vector<int16_t>& samples)
{
    if (!active_ || samples.empty())
        return;
    bytes_.resize(samples.size() * 2);
    for (size_t i = 0; i < samples.size(); ++i)
        put16(&bytes_[i * 2], uint16_t(samples[i]));
    file_.write(bytes_.data(), std::streamsize(bytes_.size()));
    samples_ += samples.size();
}

bool WavRecording::finish()
{
    if (!active_)
        return true;
    active_ = false;
    // The sizes wrap as 32-bit fields do; a recording that long is no WAV any player reads.
    const uint32_t dataBytes = uint32_t(samples_ * 2);
    char h[kHeaderBytes];
    std::copy_n("RIFF", 4, h);
    put32(h + 4, 36 + dataBytes);
    std::copy_n("WAVEfmt ", 8, h + 8);
    put32(h + 16, 16);
    put16(h + 20, 1);
    put16(h + 22, channels_);
    put32(h + 24, rate_);
    put32(h + 28, rate_ * channels_ * 2);
    put16(h + 32, channels_ * 2);
    put16(h + 34, 16);
    std::copy_n("data", 4, h + 36);
    put32(h + 40, dataBytes);
    file_.seekp(0);
    file_.write(h, kHeaderBytes);
    file_.close();
    return !file_.fail();
}
