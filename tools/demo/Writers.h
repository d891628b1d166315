#pragma once
// File forms the game reads, written byte-exact and deterministically (no timestamps,
// fixed stream serial numbers).
#include <cstdint>
#include <string>
#include <vector>

namespace demo {

using Bytes = std::vector<uint8_t>;

// PNG through libpng. rgb: 3 bytes a pixel; rgba: 4. Empty result on failure.
Bytes encodePngRgb(int w, int h, const std::vector<uint8_t>& rgb);
Bytes encodePngRgba(int w, int h, const std::vector<uint8_t>& rgba);
// 16-bit grey PNG holding 16-bit texels: each texel v is stored so that the picture
// loader's byte copy (file order into memory order) gives v back in little-endian
// memory, i.e. the sample's first (high) byte is the low byte of v.
Bytes encodePngTexels16(int w, int h, const std::vector<uint16_t>& texels);

// 4-bit BMP with a 16-level grey palette, stored bottom-up as BMP files are.
// pixels: w*h values 0..15, top row first.
Bytes encodeBmp4(int w, int h, const std::vector<uint8_t>& pixels);

// 16-bit PCM WAV, mono.
Bytes encodeWav(const std::vector<float>& samples, int rate);

// Ogg Vorbis through libvorbisenc, mono or interleaved stereo, with a fixed serial number.
Bytes encodeOgg(const std::vector<float>& interleaved, int channels, int rate, float quality, int serial);

bool writeFile(const std::string& path, const Bytes& bytes);

} // namespace demo
