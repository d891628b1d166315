#pragma once
#include "platform/Video.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// What the drawing code binds: the texture's surface while the device has it.
using TextureHandle = std::shared_ptr<platform::Surface>;

// Every texture and system surface alive in the process, so that a device loss can
// release and restore them all. Objects enter on construction and leave on destruction.
class CTEXTURE;
class CTEXTURE_A4R4G4B4;
class CTEXTURE_R5G6B5;
class CSystemSurface_R8G8B8;

struct SurfaceRegistry {
    std::vector<CTEXTURE*> textures32;
    std::vector<CTEXTURE_A4R4G4B4*> textures4444;
    std::vector<CTEXTURE_R5G6B5*> textures565;
    std::vector<CSystemSurface_R8G8B8*> systemSurfaces;
};
SurfaceRegistry& surfaceRegistry();

// The shared shape of the three texture classes; each class names its format and its own
// differences in upload and restore.
template <platform::PixelFormat Format>
class TextureBase {
public:
    static constexpr int kBytesPerPixel = Format == platform::PixelFormat::A8R8G8B8 ? 4 : 2;

    int32_t width = 0, height = 0;
    bool hasContent = false;
    TextureHandle surface; // none once released
    TextureHandle textureInterface;
    platform::Video* directDraw = nullptr;
    // The copy a restore rebuilds the surface from. The device keeps a surface's memory
    // through a loss, so the texture's own surface is that copy: a picture is held once.
    TextureHandle shadow;
    size_t shadowSize = 0;
    TextureHandle handle;
    // The owner bound this texture once; a device reset binds it again.
    bool handleWanted = false;

    TextureHandle AcquireHandle(platform::Video* device);
    bool hasSurface() const { return surface && !surface->lost(); }
    // Row y of the shadow, width pixels; nullptr without one.
    const uint8_t* shadowRow(int y) const;

protected:
    TextureBase() = default;
    bool createSurface(platform::Video* dd, int w, int h, bool keepShadow, int attempts, const char* className);
    // Writes a whole picture through one lock; the pitch beyond each row is cleared.
    bool uploadWhole(const uint8_t* pixels);
    // Writes a whole picture into the shadow while the surface is away, for the restore.
    void keepInShadow(const uint8_t* pixels);
    bool restoreFromShadow(platform::Video* dd, bool acquire);
    void releaseSurface();
};

// 32-bit with 8-bit alpha: pictures.
class CTEXTURE : public TextureBase<platform::PixelFormat::A8R8G8B8> {
public:
    CTEXTURE();
    ~CTEXTURE();
    CTEXTURE(const CTEXTURE&) = delete;
    CTEXTURE& operator=(const CTEXTURE&) = delete;

    bool Create(platform::Video* dd, int w, int h, bool keepShadow);
    bool Update(const uint8_t* pixels);
    void Release();
    bool Restore(platform::Video* dd, platform::Video* device);

    // A loader's way in: the texture's rows (width x 4 bytes each, row y at the result + y x
    // pitch) written directly, then endRows. Like Update, the picture reaches the copy even
    // while the surface is away; endRows is then false. nullptr for a texture without one.
    uint8_t* beginRows(int& pitch);
    bool endRows();
};

// 16-bit with 4-bit alpha: text and other generated layers.
class CTEXTURE_A4R4G4B4 : public TextureBase<platform::PixelFormat::A4R4G4B4> {
public:
    CTEXTURE_A4R4G4B4();
    ~CTEXTURE_A4R4G4B4();
    CTEXTURE_A4R4G4B4(const CTEXTURE_A4R4G4B4&) = delete;
    CTEXTURE_A4R4G4B4& operator=(const CTEXTURE_A4R4G4B4&) = delete;

    bool Create(platform::Video* dd, int w, int h, bool keepShadow);
    bool Update(const uint8_t* pixels);
    // A w x h block of rows w pixels long at (x, y). A block reaching outside the texture
    // is refused.
    bool UpdateRect(const uint8_t* pixels, int x, int y, int w, int h);
    void Release();
    bool Restore(platform::Video* dd, platform::Video* device);
};

// 16-bit opaque.
class CTEXTURE_R5G6B5 : public TextureBase<platform::PixelFormat::R5G6B5> {
public:
    CTEXTURE_R5G6B5();
    ~CTEXTURE_R5G6B5();
    CTEXTURE_R5G6B5(const CTEXTURE_R5G6B5&) = delete;
    CTEXTURE_R5G6B5& operator=(const CTEXTURE_R5G6B5&) = delete;

    bool Create(platform::Video* dd, int w, int h, bool keepShadow);
    bool Update(const uint8_t* pixels);
    void Release();
    bool Restore(platform::Video* dd, platform::Video* device);
};

// An off-screen surface in the desktop's format, filled from 32-bit pixels and copied to
// the back buffer: opaque full pictures.
class CSystemSurface_R8G8B8 {
public:
    CSystemSurface_R8G8B8();
    ~CSystemSurface_R8G8B8();
    CSystemSurface_R8G8B8(const CSystemSurface_R8G8B8&) = delete;
    CSystemSurface_R8G8B8& operator=(const CSystemSurface_R8G8B8&) = delete;

    // The header of the shadow as a bottom-up 32-bit picture.
    struct BitmapInfoHeader {
        uint32_t biSize = 40;
        int32_t biWidth = 0, biHeight = 0;
        uint16_t biPlanes = 1, biBitCount = 32;
        uint32_t biCompression = 0;
    };

    // The copy a restore rebuilds from. A 32-bit surface holds the picture exactly and keeps
    // it through a device loss, so it is its own copy (shadowSurface). A 16-bit surface keeps
    // only 5-6-5 bits, so the 32-bit picture is kept beside it, bottom row first (shadow).
    std::vector<uint8_t> shadow;
    TextureHandle shadowSurface;
    size_t shadowSize = 0; // the picture's bytes, 4 per pixel
    int32_t width = 0, height = 0;
    TextureHandle surface;
    bool hasContent = false;
    std::unique_ptr<BitmapInfoHeader> bitmapInfo;
    std::string message;
    platform::Video* directDraw = nullptr;

    bool Create(platform::Video* dd, int w, int h, bool keepShadow);
    void Release();
    // Copies (sx, sy, w, h) of this surface to (x, y) of dest. Returns the number of
    // attempts divided by 1000: 0 normally.
    int Draw(platform::Surface* dest, float x, float y, float w, float h, float sx, float sy);
    // A whole picture, 32-bit, top row first; the alpha byte is ignored.
    bool UpdateTexture(const uint8_t* pixels);
    bool Restore(platform::Video* dd);

    // A loader's way in, as UpdateTexture with the picture written directly: row y of a whole
    // picture (width x 4 bytes, the alpha byte 0) at base + y x step. False without a copy to
    // write; endRows then reports as UpdateTexture does.
    bool beginRows(uint8_t*& base, std::ptrdiff_t& step);
    bool endRows();

private:
    // Writes rows of 32-bit pixels (row(y), top row first) into the surface, or while it is
    // away into the copy the restore takes, and then reports the failure.
    template <class Row>
    bool writeSurface(Row row, const char* fatalFormat);
    bool copyShadowToSurface(const char* fatalFormat);
    void reportNoSurface(const char* fatalFormat);
};
