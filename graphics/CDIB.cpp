#include "graphics/CDIB.h"

#include "platform/DebugOutput.h"
#include "platform/Files.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>

namespace {

void put16(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}

void put32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = uint8_t(v >> (8 * i));
}

uint32_t get16(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8;
}

uint32_t get32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

struct BmpLayout {
    int32_t width = 0;
    int32_t height = 0;
    uint64_t pixelOffset = 0;
    size_t pixelBytes = 0;
};

// Checks the 54 header bytes of a canvas file against the file's real size. Only what
// SaveBMP writes is accepted: 32 bits a pixel, uncompressed, bottom-up, and every pixel
// inside the file.
const char* checkHeader(const uint8_t* h, uint64_t fileSize, BmpLayout& out)
{
    if (fileSize < CDIB::kHeaderSize)
        return "file too short";
    if (h[0] != 'B' || h[1] != 'M')
        return "not a BMP file";
    if (get32(h + 14) < 40)
        return "unknown info header";
    const int32_t w = int32_t(get32(h + 18));
    const int32_t hgt = int32_t(get32(h + 22));
    if (get16(h + 26) != 1 || get16(h + 28) != 32 || get32(h + 30) != 0)
        return "not an uncompressed 32-bit picture";
    if (w <= 0 || hgt <= 0)
        return "size is not a bottom-up picture";
    if (w > CDIB::kMaxSide || hgt > CDIB::kMaxSide || uint64_t(w) * uint64_t(hgt) * 4 > CDIB::kMaxPixelBytes)
        return "picture too large";
    out.width = w;
    out.height = hgt;
    out.pixelOffset = get32(h + 10);
    out.pixelBytes = size_t(w) * size_t(hgt) * 4;
    if (out.pixelOffset < CDIB::kHeaderSize || out.pixelOffset + out.pixelBytes > fileSize)
        return "pixels lie outside the file";
    return nullptr;
}

void report(std::string_view name, const char* reason)
{
    std::string line = "ADV_SYSTEM: (CDIB::LoadBMP) : ";
    line += reason;
    line += " : ";
    line += name;
    line += "\n";
    platform::debugOutput(line);
}

} // namespace

bool CDIB::CreateCanvas(int32_t width, int32_t height)
{
    DestroyCanvas();
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
        uint64_t(width) * uint64_t(height) * 4 > kMaxPixelBytes) {
        platform::debugOutput("ADV_SYSTEM: (CDIB::CreateCanvas) : CreateDIBSection Failed\n");
        return false;
    }
    try {
        pixels_.assign(size_t(width) * size_t(height) * 4, 0);
    } catch (const std::bad_alloc&) {
        pixels_.clear();
        platform::debugOutput("ADV_SYSTEM: (CDIB::CreateCanvas) : CreateDIBSection Failed\n");
        return false;
    }
    info_.fill(0);
    put32(&info_[0], 40);
    put32(&info_[4], uint32_t(width));
    put32(&info_[8], uint32_t(height)); // positive: rows stored bottom-up
    put16(&info_[12], 1);
    put16(&info_[14], 32);
    width_ = width;
    height_ = height;
    pixelSize_ = pixels_.size();
    return true;
}

void CDIB::DestroyCanvas()
{
    if (pixels_.empty())
        return;
    std::vector<uint8_t>().swap(pixels_);
    info_.fill(0);
    width_ = height_ = 0;
    pixelSize_ = 0;
}

void CDIB::FlipVertical()
{
    if (pixels_.empty())
        return;
    const size_t row = size_t(width_) * 4;
    std::vector<uint8_t> tmp(row);
    for (int32_t i = 0; i < height_ / 2; ++i) {
        uint8_t* a = pixels_.data() + size_t(i) * row;
        uint8_t* b = pixels_.data() + size_t(height_ - 1 - i) * row;
        std::memcpy(tmp.data(), a, row);
        std::memcpy(a, b, row);
        std::memcpy(b, tmp.data(), row);
    }
}

bool CDIB::SaveBMP(std::string_view path) const
{
    if (pixels_.empty())
        return false;
    std::vector<uint8_t> file(kPixelOffset + pixels_.size());
    file[0] = 'B';
    file[1] = 'M';
    // The size field leaves out the 3 padding bytes after the info block; readers of the
    // game's thumbnails go by the pixel offset, so it stays as it always was.
    put32(&file[2], uint32_t(pixels_.size() + kHeaderSize));
    put32(&file[10], kPixelOffset);
    std::memcpy(&file[14], info_.data(), info_.size());
    std::memcpy(&file[kPixelOffset], pixels_.data(), pixels_.size());
    return platform::files::writeFileAtomic(platform::files::programPath(path), file.data(), file.size());
}

bool CDIB::LoadBMPFromMemory(const uint8_t* data, size_t size, std::string_view nameForLog)
{
    BmpLayout layout;
    if (!data || size < kHeaderSize) {
        report(nameForLog, "file too short");
        return false;
    }
    if (const char* why = checkHeader(data, size, layout)) {
        report(nameForLog, why);
        return false;
    }
    if (!CreateCanvas(layout.width, layout.height))
        return false;
    std::memcpy(pixels_.data(), data + layout.pixelOffset, layout.pixelBytes);
    return true;
}

bool CDIB::LoadBMP(std::string_view path)
{
    std::FILE* f = platform::files::open(platform::files::programPath(path), "rb");
    if (!f) {
        report(path, "cannot open");
        return false;
    }
    const char* why = nullptr;
    BmpLayout layout;
    uint8_t header[kHeaderSize];
    std::vector<uint8_t> pixels;
    long fileSize = -1;
    if (std::fseek(f, 0, SEEK_END) == 0)
        fileSize = std::ftell(f);
    if (fileSize < 0 || std::fseek(f, 0, SEEK_SET) != 0)
        why = "cannot measure the file";
    else if (size_t(fileSize) < kHeaderSize || std::fread(header, 1, kHeaderSize, f) != kHeaderSize)
        why = "file too short";
    else
        why = checkHeader(header, uint64_t(fileSize), layout);
    if (!why) {
        try {
            pixels.resize(layout.pixelBytes);
        } catch (const std::bad_alloc&) {
            why = "out of memory";
        }
    }
    if (!why && (std::fseek(f, long(layout.pixelOffset), SEEK_SET) != 0 ||
                 std::fread(pixels.data(), 1, pixels.size(), f) != pixels.size()))
        why = "file truncated";
    std::fclose(f);
    if (why) {
        report(path, why);
        return false;
    }
    if (!CreateCanvas(layout.width, layout.height))
        return false;
    pixels_.swap(pixels);
    return true;
}

platform::Canvas32 CDIB::canvas()
{
    platform::Canvas32 c;
    c.pixels = pixels_.data();
    c.width = width_;
    c.height = height_;
    c.stride = width_ * 4;
    c.bottomUp = true;
    return c;
}
