#include "tools/demo/Writers.h"

#include <png.h>
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace demo {

namespace {

void pngWrite(png_structp png, png_bytep data, png_size_t len)
{
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + len);
}

void pngFlush(png_structp) {}

Bytes encodePng(int w, int h, int colourType, int bitDepth, const uint8_t* rows, size_t stride)
{
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return {};
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return {};
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, pngWrite, pngFlush);
    png_set_compression_level(png, 6);
    png_set_IHDR(png, info, png_uint_32(w), png_uint_32(h), bitDepth, colourType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < h; ++y)
        png_write_row(png, const_cast<png_bytep>(rows + size_t(y) * stride));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

void put16(Bytes& b, uint32_t v)
{
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}

void put32(Bytes& b, uint32_t v)
{
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

} // namespace

Bytes encodePngRgb(int w, int h, const std::vector<uint8_t>& rgb)
{
    if (rgb.size() != size_t(w) * size_t(h) * 3)
        return {};
    return encodePng(w, h, PNG_COLOR_TYPE_RGB, 8, rgb.data(), size_t(w) * 3);
}

Bytes encodePngRgba(int w, int h, const std::vector<uint8_t>& rgba)
{
    if (rgba.size() != size_t(w) * size_t(h) * 4)
        return {};
    return encodePng(w, h, PNG_COLOR_TYPE_RGBA, 8, rgba.data(), size_t(w) * 4);
}

Bytes encodePngTexels16(int w, int h, const std::vector<uint16_t>& texels)
{
    if (texels.size() != size_t(w) * size_t(h))
        return {};
    // libpng takes 16-bit samples high byte first, which is exactly the order the game's
    // loader copies into memory: so the row bytes are the texels in little-endian order.
    std::vector<uint8_t> rows(texels.size() * 2);
    for (size_t i = 0; i < texels.size(); ++i) {
        rows[2 * i] = uint8_t(texels[i] & 0xFF);
        rows[2 * i + 1] = uint8_t(texels[i] >> 8);
    }
    return encodePng(w, h, PNG_COLOR_TYPE_GRAY, 16, rows.data(), size_t(w) * 2);
}

Bytes encodeBmp4(int w, int h, const std::vector<uint8_t>& pixels)
{
    if (pixels.size() != size_t(w) * size_t(h) || w % 8 != 0)
        return {};
    const uint32_t rowBytes = uint32_t(w) / 2;
    const uint32_t dataBytes = rowBytes * uint32_t(h);
    const uint32_t offset = 14 + 40 + 16 * 4;
    Bytes b;
    b.push_back('B');
    b.push_back('M');
    put32(b, offset + dataBytes);
    put32(b, 0);
    put32(b, offset);
    put32(b, 40);
    put32(b, uint32_t(w));
    put32(b, uint32_t(h));
    put16(b, 1);
    put16(b, 4);
    put32(b, 0);           // BI_RGB
    put32(b, dataBytes);
    put32(b, 2835);        // 72 dpi
    put32(b, 2835);
    put32(b, 16);
    put32(b, 0);
    for (uint32_t i = 0; i < 16; ++i) {
        const uint8_t v = uint8_t(i * 17);
        b.push_back(v);
        b.push_back(v);
        b.push_back(v);
        b.push_back(0);
    }
    for (int y = h - 1; y >= 0; --y)
        for (int x = 0; x < w; x += 2) {
            const uint8_t hi = pixels[size_t(y) * size_t(w) + size_t(x)] & 0x0F;
            const uint8_t lo = pixels[size_t(y) * size_t(w) + size_t(x) + 1] & 0x0F;
            b.push_back(uint8_t(hi << 4 | lo));
        }
    return b;
}

Bytes encodeWav(const std::vector<float>& samples, int rate)
{
    Bytes b;
    const uint32_t dataBytes = uint32_t(samples.size() * 2);
    b.insert(b.end(), {'R', 'I', 'F', 'F'});
    put32(b, 36 + dataBytes);
    b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(b, 16);
    put16(b, 1);   // PCM
    put16(b, 1);   // mono
    put32(b, uint32_t(rate));
    put32(b, uint32_t(rate) * 2);
    put16(b, 2);
    put16(b, 16);
    b.insert(b.end(), {'d', 'a', 't', 'a'});
    put32(b, dataBytes);
    for (float s : samples) {
        const long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
        put16(b, uint32_t(uint16_t(int16_t(v))));
    }
    return b;
}

Bytes encodeOgg(const std::vector<float>& interleaved, int channels, int rate, float quality, int serial)
{
    Bytes out;
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, channels, rate, quality) != 0) {
        vorbis_info_clear(&vi);
        return {};
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_comment_add_tag(&vc, "ENCODER", "sorafune demo generator");
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, serial);
    ogg_packet header, comment, codebooks;
    vorbis_analysis_headerout(&vd, &vc, &header, &comment, &codebooks);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comment);
    ogg_stream_packetin(&os, &codebooks);
    ogg_page og;
    auto emit = [&]() { out.insert(out.end(), og.header, og.header + og.header_len), out.insert(out.end(), og.body, og.body + og.body_len); };
    while (ogg_stream_flush(&os, &og) != 0)
        emit();

    const size_t frames = interleaved.size() / size_t(channels);
    const size_t chunk = 1024;
    for (size_t pos = 0;; pos += chunk) {
        const size_t n = pos < frames ? std::min(chunk, frames - pos) : 0;
        if (n == 0) {
            vorbis_analysis_wrote(&vd, 0);
        } else {
            float** buf = vorbis_analysis_buffer(&vd, int(n));
            for (size_t i = 0; i < n; ++i)
                for (int c = 0; c < channels; ++c)
                    buf[c][i] = interleaved[(pos + i) * size_t(channels) + size_t(c)];
            vorbis_analysis_wrote(&vd, int(n));
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet op;
            while (vorbis_bitrate_flushpacket(&vd, &op)) {
                ogg_stream_packetin(&os, &op);
                while (ogg_stream_pageout(&os, &og) != 0)
                    emit();
            }
        }
        if (n == 0)
            break;
    }
    while (ogg_stream_flush(&os, &og) != 0)
        emit();
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return out;
}

bool writeFile(const std::string& path, const Bytes& bytes)
{
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace demo
