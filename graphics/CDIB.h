#pragma once
#include "platform/Fonts.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// The 32-bit canvas: text is drawn on it, its pixels are read and written directly, and it is
// saved and loaded as the BMP files of save-slot thumbnails and screenshots. Pixels are the
// bytes B, G, R and a fourth byte nothing reads, bottom row first.
class CDIB {
public:
    CDIB() = default;
    ~CDIB() { DestroyCanvas(); }
    CDIB(const CDIB&) = delete;
    CDIB& operator=(const CDIB&) = delete;

    // (Re)creates the canvas with every pixel 0.
    bool CreateCanvas(int32_t width, int32_t height);
    void DestroyCanvas();
    // Swaps row i with row height - 1 - i; the middle row of an odd height stays.
    void FlipVertical();
    // Paths are written as the game writes them ("SAVE\\1.bmp"), from the program folder.
    // The file goes through a temporary file and a rename, so a crash never leaves half a
    // thumbnail.
    bool SaveBMP(std::string_view path) const;
    // Reads a file SaveBMP wrote. A file that is short, not 32 bits a pixel, top-down or
    // claims more pixels than it holds gives false, a debug line, and the canvas as it was.
    bool LoadBMP(std::string_view path);

    bool empty() const { return pixels_.empty(); }
    uint8_t* pixels() { return pixels_.data(); }
    const uint8_t* pixels() const { return pixels_.data(); }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    int32_t bitsPerPixel() const { return 32; }
    size_t pixelSize() const { return pixelSize_; }
    // The pixel at (x, y) counted from the top, as the picture is seen.
    uint8_t* pixelAt(int32_t x, int32_t y) { return pixels_.data() + (size_t(height_ - 1 - y) * size_t(width_) + size_t(x)) * 4; }
    // The BITMAPINFO block as the file carries it: the 40-byte header and 3 zero bytes.
    const std::array<uint8_t, 43>& bitmapInfo() const { return info_; }
    // What the font service draws into (the memory DC of the canvas).
    platform::Canvas32 canvas();

    // The BMP layout of SaveBMP.
    static constexpr uint32_t kPixelOffset = 57;
    static constexpr uint32_t kHeaderSize = 54;
    // Larger canvases are refused rather than attempted.
    static constexpr int32_t kMaxSide = 16384;
    static constexpr size_t kMaxPixelBytes = size_t(256) << 20;

    // The checks LoadBMP makes, on a file's bytes in memory; the pixels are copied into
    // the canvas on success. Used by LoadBMP and the fuzz target.
    bool LoadBMPFromMemory(const uint8_t* data, size_t size, std::string_view nameForLog);

private:
    std::array<uint8_t, 43> info_{};
    std::vector<uint8_t> pixels_;
    int32_t width_ = 0;
    int32_t height_ = 0;
    size_t pixelSize_ = 0;
};
