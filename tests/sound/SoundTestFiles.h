#pragma once
// Sound files the tests make for themselves: Ogg Vorbis through the encoder, WAV by hand.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <vorbis/vorbisenc.h>

namespace soundtest {

// Interleaved 16-bit frames of a sine; periods of 100 frames at 44.1 kHz (441 Hz).
inline std::vector<int16_t> sine(size_t frames, int channels, double amplitude = 12000.0, double period = 100.0)
{
    std::vector<int16_t> pcm(frames * size_t(channels));
    for (size_t i = 0; i < frames; ++i) {
        const auto v = int16_t(std::lround(amplitude * std::sin(2.0 * M_PI * double(i) / period)));
        for (int c = 0; c < channels; ++c)
            pcm[i * size_t(channels) + size_t(c)] = v;
    }
    return pcm;
}

// Encodes interleaved 16-bit PCM as an Ogg Vorbis file. False when the encoder refuses.
inline bool writeOgg(const std::string& path, const std::vector<int16_t>& pcm, int channels, long rate,
                     float quality = 0.6f)
{
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out)
        return false;
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, channels, rate, quality) != 0) {
        vorbis_info_clear(&vi);
        std::fclose(out);
        return false;
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block vb;
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 1234);
    ogg_packet header, comm, code;
    vorbis_analysis_headerout(&vd, &vc, &header, &comm, &code);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comm);
    ogg_stream_packetin(&os, &code);
    ogg_page og;
    while (ogg_stream_flush(&os, &og) != 0) {
        std::fwrite(og.header, 1, size_t(og.header_len), out);
        std::fwrite(og.body, 1, size_t(og.body_len), out);
    }
    const size_t frames = pcm.size() / size_t(channels);
    size_t done = 0;
    bool eos = false;
    while (!eos) {
        const size_t n = std::min<size_t>(1024, frames - done);
        if (n == 0) {
            vorbis_analysis_wrote(&vd, 0);
        } else {
            float** buf = vorbis_analysis_buffer(&vd, int(n));
            for (size_t i = 0; i < n; ++i)
                for (int c = 0; c < channels; ++c)
                    buf[c][i] = float(pcm[(done + i) * size_t(channels) + size_t(c)]) / 32768.0f;
            vorbis_analysis_wrote(&vd, int(n));
            done += n;
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet op;
            while (vorbis_bitrate_flushpacket(&vd, &op)) {
                ogg_stream_packetin(&os, &op);
                while (ogg_stream_pageout(&os, &og) != 0) {
                    std::fwrite(og.header, 1, size_t(og.header_len), out);
                    std::fwrite(og.body, 1, size_t(og.body_len), out);
                    if (ogg_page_eos(&og))
                        eos = true;
                }
            }
        }
    }
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    std::fclose(out);
    return true;
}

inline void put16(std::vector<uint8_t>& b, uint16_t v)
{
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
inline void put32(std::vector<uint8_t>& b, uint32_t v)
{
    put16(b, uint16_t(v));
    put16(b, uint16_t(v >> 16));
}
inline void putTag(std::vector<uint8_t>& b, const char* tag)
{
    b.insert(b.end(), tag, tag + 4);
}

// A RIFF WAV image. formatTag and bits are written as given, so a test can check that the
// reader forces PCM; an extra "LIST" chunk sits between "fmt " and "data" as in many files.
inline std::vector<uint8_t> wavImage(const std::vector<int16_t>& pcm, uint16_t channels, uint32_t rate,
                                     uint16_t bits = 16, uint16_t formatTag = 1)
{
    std::vector<uint8_t> b;
    putTag(b, "RIFF");
    put32(b, 0);
    putTag(b, "WAVE");
    putTag(b, "fmt ");
    put32(b, 16);
    put16(b, formatTag);
    put16(b, channels);
    put32(b, rate);
    put32(b, rate * channels * (bits / 8));
    put16(b, uint16_t(channels * (bits / 8)));
    put16(b, bits);
    putTag(b, "LIST");
    put32(b, 4);
    putTag(b, "INFO");
    putTag(b, "data");
    put32(b, uint32_t(pcm.size() * 2));
    for (int16_t s : pcm)
        put16(b, uint16_t(s));
    const uint32_t riff = uint32_t(b.size() - 8);
    std::memcpy(b.data() + 4, &riff, 4);
    return b;
}

// Largest absolute sample in [from, to) of interleaved output.
inline int peak(const std::vector<int16_t>& s, size_t from = 0, size_t to = SIZE_MAX)
{
    int p = 0;
    for (size_t i = from; i < std::min(to, s.size()); ++i)
        p = std::max(p, std::abs(int(s[i])));
    return p;
}

} // namespace soundtest
