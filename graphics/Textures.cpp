// Textures and system surfaces: every picture keeps a copy from which it is rebuilt after the
// device goes away. Surfaces live in system memory, which survives a loss, so where a surface
// holds the picture exactly it is that copy itself.
#include "graphics/Textures.h"

#include "core/RunLog.h"
#include "graphics/DisplayDevice.h"
#include "platform/DebugOutput.h"
#include "platform/Text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kMaxTextureSide = 1024;
constexpr size_t kTextureWorkBuffer = 1 << 20;

// A surface that keeps every bit of a 32-bit picture's colour (the alpha byte is never shown).
bool isExact(platform::PixelFormat f)
{
    return f == platform::PixelFormat::X8R8G8B8 || f == platform::PixelFormat::A8R8G8B8;
}

bool isPowerOfTwo(int v)
{
    return v > 0 && (v & (v - 1)) == 0;
}

template <class T>
void enrol(std::vector<T*>& list, T* obj)
{
    list.push_back(obj);
}

template <class T>
void leave(std::vector<T*>& list, T* obj)
{
    list.erase(std::remove(list.begin(), list.end(), obj), list.end());
}

} // namespace

SurfaceRegistry& surfaceRegistry()
{
    static SurfaceRegistry registry;
    return registry;
}

// ---- shared texture behaviour ----

template <platform::PixelFormat Format>
TextureHandle TextureBase<Format>::AcquireHandle(platform::Video*)
{
    handleWanted = true;
    if (!hasSurface()) {
        textureInterface.reset();
        handle.reset();
        return nullptr;
    }
    textureInterface = surface;
    handle = textureInterface;
    return handle;
}

template <platform::PixelFormat Format>
const uint8_t* TextureBase<Format>::shadowRow(int y) const
{
    if (!shadow || y < 0 || y >= shadow->height())
        return nullptr;
    return shadow->data() + size_t(y) * size_t(shadow->pitch());
}

template <platform::PixelFormat Format>
bool TextureBase<Format>::createSurface(platform::Video* dd, int w, int h, bool keepShadow, int attempts,
                                        const char* className)
{
    const std::string failed = std::string("ADV_SYSTEM:(") + className + ") CreateSurface Failed\n";
    // Only power-of-two sides the device can sample; anything else is refused at once.
    if (!dd || !isPowerOfTwo(w) || !isPowerOfTwo(h) || w > kMaxTextureSide || h > kMaxTextureSide) {
        platform::debugOutput(failed);
        return false;
    }
    TextureHandle made;
    for (int i = 0; i < attempts && !made; ++i) {
        made = dd->createSurface(w, h, Format);
        if (!made)
            platform::debugOutput(failed);
    }
    if (!made)
        return false;
    if (keepShadow && shadow && shadow != made && shadow->holdsPixels()) {
        // The new surface takes over the picture and becomes the copy in its turn.
        int from = 0, to = 0;
        uint8_t* dst = made->lock(to);
        if (!dst) {
            platform::debugOutput("Can not Lock Tex\n");
            return false;
        }
        const uint8_t* src = shadow->lockKept(from);
        if (src) {
            const size_t row = std::min(size_t(made->width()), size_t(shadow->width())) * kBytesPerPixel;
            for (int y = 0; y < std::min(made->height(), shadow->height()); ++y)
                std::memcpy(dst + size_t(y) * size_t(to), src + size_t(y) * size_t(from), row);
            shadow->unlock();
        }
        made->unlock();
    }
    surface = std::move(made);
    directDraw = dd;
    if (keepShadow) {
        if (shadow)
            shadow = surface;
        return true;
    }
    width = w;
    height = h;
    shadowSize = size_t(w) * size_t(h) * kBytesPerPixel;
    shadow = surface; // a new surface is clear
    hasContent = true;
    return true;
}

template <platform::PixelFormat Format>
bool TextureBase<Format>::uploadWhole(const uint8_t* pixels)
{
    if (!pixels || !surface || surface->width() != width || surface->height() != height)
        return false;
    int pitch = 0;
    uint8_t* dst = surface->lock(pitch);
    if (!dst)
        return false;
    const size_t row = size_t(width) * kBytesPerPixel;
    for (int y = 0; y < height; ++y) {
        std::memcpy(dst + size_t(y) * size_t(pitch), pixels + size_t(y) * row, row);
        std::memset(dst + size_t(y) * size_t(pitch) + row, 0, size_t(pitch) - row);
    }
    surface->unlock();
    return true;
}

template <platform::PixelFormat Format>
void TextureBase<Format>::keepInShadow(const uint8_t* pixels)
{
    int pitch = 0;
    uint8_t* dst = shadow ? shadow->lockKept(pitch) : nullptr;
    if (!dst)
        return;
    const size_t row = size_t(std::min(width, shadow->width())) * kBytesPerPixel;
    for (int y = 0; y < std::min(height, shadow->height()); ++y)
        std::memcpy(dst + size_t(y) * size_t(pitch), pixels + size_t(y) * size_t(width) * kBytesPerPixel, row);
    shadow->unlock();
}

template <platform::PixelFormat Format>
bool TextureBase<Format>::restoreFromShadow(platform::Video* dd, bool acquire)
{
    surface.reset();
    textureInterface.reset();
    handle.reset();
    if (!hasContent && !shadow)
        return true;
    if (!createSurface(dd, width, height, true, 1, Format == platform::PixelFormat::A8R8G8B8   ? "CTEXTURE"
                                                   : Format == platform::PixelFormat::A4R4G4B4 ? "CTEXTURE_A4R4G4B4"
                                                                                               : "CTEXTURE_R5G6B5"))
        return false;
    if (acquire)
        AcquireHandle(dd);
    return true;
}

template <platform::PixelFormat Format>
void TextureBase<Format>::releaseSurface()
{
    textureInterface.reset();
    handle.reset();
    surface.reset();
}

template class TextureBase<platform::PixelFormat::A8R8G8B8>;
template class TextureBase<platform::PixelFormat::A4R4G4B4>;
template class TextureBase<platform::PixelFormat::R5G6B5>;

// ---- CTEXTURE ----

CTEXTURE::CTEXTURE()
{
    enrol(surfaceRegistry().textures32, this);
}

CTEXTURE::~CTEXTURE()
{
    leave(surfaceRegistry().textures32, this);
}

bool CTEXTURE::Create(platform::Video* dd, int w, int h, bool keepShadow)
{
    // Video memory may be short for a moment; the picture is worth a few more tries.
    return createSurface(dd, w, h, keepShadow, 100, "CTEXTURE");
}

bool CTEXTURE::Update(const uint8_t* pixels)
{
    if (!pixels || !shadow || shadowSize == 0)
        return false;
    // The upload stages through a 1 MiB buffer; a larger surface cannot be written.
    if (surface && size_t(surface->pitch()) * size_t(height) > kTextureWorkBuffer)
        return false;
    if (uploadWhole(pixels))
        return true;
    // The picture still reaches the copy, so the restore brings it back.
    keepInShadow(pixels);
    return false;
}

uint8_t* CTEXTURE::beginRows(int& pitch)
{
    if (!shadow || shadowSize == 0)
        return nullptr;
    return shadow->lockKept(pitch);
}

bool CTEXTURE::endRows()
{
    if (!shadow)
        return false;
    shadow->unlock();
    return hasSurface();
}

void CTEXTURE::Release()
{
    releaseSurface();
    hasContent = false;
}

bool CTEXTURE::Restore(platform::Video* dd, platform::Video*)
{
    return restoreFromShadow(dd, true);
}

// ---- CTEXTURE_A4R4G4B4 ----

CTEXTURE_A4R4G4B4::CTEXTURE_A4R4G4B4()
{
    enrol(surfaceRegistry().textures4444, this);
}

CTEXTURE_A4R4G4B4::~CTEXTURE_A4R4G4B4()
{
    leave(surfaceRegistry().textures4444, this);
}

bool CTEXTURE_A4R4G4B4::Create(platform::Video* dd, int w, int h, bool keepShadow)
{
    return createSurface(dd, w, h, keepShadow, 1, "CTEXTURE_A4R4G4B4");
}

bool CTEXTURE_A4R4G4B4::Update(const uint8_t* pixels)
{
    // The surface is the copy: a picture that does not reach it is not kept.
    return shadowSize != 0 && uploadWhole(pixels);
}

bool CTEXTURE_A4R4G4B4::UpdateRect(const uint8_t* pixels, int x, int y, int w, int h)
{
    if (!pixels || w <= 0 || h <= 0 || x < 0 || y < 0 || x > width - w || y > height - h || !surface)
        return false;
    int pitch = 0;
    uint8_t* dst = surface->lock(pitch);
    if (!dst)
        return false;
    const size_t row = size_t(w) * 2;
    for (int r = 0; r < h; ++r)
        std::memcpy(dst + size_t(y + r) * size_t(pitch) + size_t(x) * 2, pixels + size_t(r) * row, row);
    surface->unlock();
    return true;
}

void CTEXTURE_A4R4G4B4::Release()
{
    releaseSurface();
}

bool CTEXTURE_A4R4G4B4::Restore(platform::Video* dd, platform::Video*)
{
    return restoreFromShadow(dd, false);
}

// ---- CTEXTURE_R5G6B5 ----

CTEXTURE_R5G6B5::CTEXTURE_R5G6B5()
{
    enrol(surfaceRegistry().textures565, this);
}

CTEXTURE_R5G6B5::~CTEXTURE_R5G6B5()
{
    leave(surfaceRegistry().textures565, this);
}

bool CTEXTURE_R5G6B5::Create(platform::Video* dd, int w, int h, bool keepShadow)
{
    return createSurface(dd, w, h, keepShadow, 1, "CTEXTURE_R5G6B5");
}

bool CTEXTURE_R5G6B5::Update(const uint8_t* pixels)
{
    return shadowSize != 0 && uploadWhole(pixels);
}

void CTEXTURE_R5G6B5::Release()
{
    releaseSurface();
}

bool CTEXTURE_R5G6B5::Restore(platform::Video* dd, platform::Video*)
{
    return restoreFromShadow(dd, false);
}

// ---- CSystemSurface_R8G8B8 ----

CSystemSurface_R8G8B8::CSystemSurface_R8G8B8()
{
    enrol(surfaceRegistry().systemSurfaces, this);
}

CSystemSurface_R8G8B8::~CSystemSurface_R8G8B8()
{
    leave(surfaceRegistry().systemSurfaces, this);
}

bool CSystemSurface_R8G8B8::Create(platform::Video* dd, int w, int h, bool keepShadow)
{
    bitmapInfo = std::make_unique<BitmapInfoHeader>();
    bitmapInfo->biWidth = w;
    bitmapInfo->biHeight = h;
    const char* failed = "ADV_SYSTEM:(CSystemSurface_R8G8B8) CreateSurface Failed\n";
    // The desktop's own format: a 16-bit desktop keeps 5-6-5 bits of every picture.
    platform::PixelFormat format = displayProcess().desktopDepthIndex == 2 ? platform::PixelFormat::R5G6B5
                                                                            : platform::PixelFormat::X8R8G8B8;
    TextureHandle made = dd ? dd->createSurface(w, h, format) : nullptr;
    if (!made) {
        platform::debugOutput(failed);
        return false;
    }
    surface = std::move(made);
    directDraw = dd;
    if (keepShadow)
        return true;
    width = w;
    height = h;
    shadowSize = size_t(w) * size_t(h) * 4;
    if (isExact(surface->format())) {
        std::vector<uint8_t>().swap(shadow);
        shadowSurface = surface; // a new surface is clear
    } else {
        shadow.assign(shadowSize + 1, 0);
        shadowSurface.reset();
    }
    hasContent = true;
    return true;
}

void CSystemSurface_R8G8B8::Release()
{
    surface.reset();
    bitmapInfo.reset();
}

int CSystemSurface_R8G8B8::Draw(platform::Surface* dest, float x, float y, float w, float h, float sx, float sy)
{
    // Truncation toward zero, with coordinates far off the screen held where an int can.
    auto edge = [](float f) { return std::isfinite(f) ? int(std::clamp(f, -1.0e8f, 1.0e8f)) : 0; };
    platform::Rect dr{edge(x), edge(y), edge(x + w), edge(y + h)};
    platform::Rect sr{edge(sx), edge(sy), edge(sx + w), edge(sy + h)};
    int attempts = 0;
    bool done = false;
    while (!done && attempts < 1001) {
        ++attempts;
        done = dest && surface && directDraw && directDraw->blit(*dest, dr, *surface, sr);
    }
    return attempts / 1000;
}

void CSystemSurface_R8G8B8::reportNoSurface(const char* fatalFormat)
{
    char buf[512];
    std::snprintf(buf, sizeof buf, platform::utf8ToSjis(fatalFormat).c_str(), width, height, static_cast<const void*>(this));
    message = buf;
    runLog().append(2, message);
}

template <class Row>
bool CSystemSurface_R8G8B8::writeSurface(Row row, const char* fatalFormat)
{
    auto write = [&](platform::Surface& s, uint8_t* dst, int pitch) {
        const int bpp = platform::bytesPerPixel(s.format());
        const int w = std::min(width, s.width()), h = std::min(height, s.height());
        for (int yy = 0; yy < h; ++yy) {
            const uint8_t* src = row(yy);
            uint8_t* d = dst + size_t(yy) * size_t(pitch);
            for (int xx = 0; xx < w; ++xx) {
                uint32_t c;
                std::memcpy(&c, src + size_t(xx) * 4, 4);
                platform::fromArgb(s.format(), c & 0x00FFFFFFu, d + size_t(xx) * bpp);
            }
        }
    };
    for (int attempt = 0; attempt < 1000; ++attempt) {
        int pitch = 0;
        uint8_t* dst = surface ? surface->lock(pitch) : nullptr;
        if (!dst)
            continue;
        write(*surface, dst, pitch);
        surface->unlock();
        return true;
    }
    // The device cannot take the picture now; where the surface is the copy, its kept memory
    // still takes it, so the restore shows it.
    int pitch = 0;
    uint8_t* kept = shadowSurface ? shadowSurface->lockKept(pitch) : nullptr;
    if (kept) {
        write(*shadowSurface, kept, pitch);
        shadowSurface->unlock();
    }
    reportNoSurface(fatalFormat);
    return false;
}

bool CSystemSurface_R8G8B8::copyShadowToSurface(const char* fatalFormat)
{
    if (shadow.size() < shadowSize)
        return false;
    // The shadow is bottom-up: surface row y is shadow row height - 1 - y.
    return writeSurface([this](int y) { return shadow.data() + size_t(height - 1 - y) * size_t(width) * 4; },
                        fatalFormat);
}

namespace {
const char* const kUpdateFatal =
    "CSystemSurface_R8G8B8::UpdateTexture : 致命的なエラー : HDCを取得することが出来ませんでした。テクスチャサイズ(%dx%d) "
    "DIBイメージアドレス(%p)";
}

bool CSystemSurface_R8G8B8::UpdateTexture(const uint8_t* pixels)
{
    const char* const kFatal = kUpdateFatal;
    if (!pixels || shadowSize == 0 || (shadow.size() < shadowSize && !shadowSurface))
        return false;
    if (surface && directDraw)
        directDraw->colorFill(*surface, nullptr, 0);
    const size_t row = size_t(width) * 4;
    if (shadowSurface)
        return writeSurface([&](int y) { return pixels + size_t(y) * row; }, kFatal);
    for (int i = 0; i < height; ++i)
        std::memcpy(shadow.data() + size_t(i) * row, pixels + size_t(height - 1 - i) * row, row);
    return copyShadowToSurface(kFatal);
}

bool CSystemSurface_R8G8B8::Restore(platform::Video* dd)
{
    static const char* const kFatal =
        "CSystemSurface_R8G8B8::Restore : 致命的なエラー : HDCを取得することが出来ませんでした。テクスチャサイズ(%dx%d) "
        "DIBイメージアドレス(%p)";
    if (!hasContent)
        return true;
    TextureHandle kept = shadowSurface;
    if (!Create(dd, width, height, true))
        return false;
    directDraw->colorFill(*surface, nullptr, 0);
    if (kept && kept != surface) {
        // The picture is in the old surface's memory, which the loss did not take.
        int pitch = 0;
        const uint8_t* src = kept->lockKept(pitch);
        if (src && !isExact(surface->format())) {
            // The desktop went to 16 bits: from now on the 32-bit picture is kept beside it.
            shadow.assign(shadowSize + 1, 0);
            for (int y = 0; y < std::min(height, kept->height()); ++y)
                std::memcpy(shadow.data() + size_t(height - 1 - y) * size_t(width) * 4, src + size_t(y) * size_t(pitch),
                            size_t(std::min(width, kept->width())) * 4);
            kept->unlock();
            shadowSurface.reset();
            return copyShadowToSurface(kFatal);
        }
        shadowSurface = surface;
        if (!src)
            return false;
        const bool ok = writeSurface([&](int y) { return src + size_t(y) * size_t(pitch); }, kFatal);
        kept->unlock();
        return ok;
    }
    const bool ok = copyShadowToSurface(kFatal);
    if (isExact(surface->format())) {
        // Back on a 32-bit desktop the surface holds the picture again.
        shadowSurface = surface;
        std::vector<uint8_t>().swap(shadow);
    }
    return ok;
}

bool CSystemSurface_R8G8B8::beginRows(uint8_t*& base, std::ptrdiff_t& step)
{
    if (shadowSize == 0)
        return false;
    if (shadowSurface) {
        int pitch = 0;
        base = shadowSurface->lockKept(pitch);
        step = pitch;
        return base != nullptr;
    }
    if (shadow.size() < shadowSize)
        return false;
    // The 32-bit copy is bottom-up.
    step = -std::ptrdiff_t(width) * 4;
    base = shadow.data() + size_t(height - 1) * size_t(width) * 4;
    return true;
}

bool CSystemSurface_R8G8B8::endRows()
{
    if (!shadowSurface)
        return copyShadowToSurface(kUpdateFatal);
    shadowSurface->unlock();
    if (surface == shadowSurface && !surface->lost())
        return true;
    reportNoSurface(kUpdateFatal);
    return false;
}
