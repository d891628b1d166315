// Surfaces and the display device's drawing, shared by both backends.
#include "platform/Video.h"

#include "platform/Rasteriser.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {
constexpr int kMaxSide = 4096;

inline uint16_t load16(const uint8_t* p)
{
    return uint16_t(p[0] | (p[1] << 8));
}
inline void store16(uint8_t* p, uint16_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
inline uint32_t load32(const uint8_t* p)
{
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
inline void store32(uint8_t* p, uint32_t v)
{
    std::memcpy(p, &v, 4);
}
} // namespace

int bytesPerPixel(PixelFormat f)
{
    return (f == PixelFormat::A4R4G4B4 || f == PixelFormat::R5G6B5) ? 2 : 4;
}

uint32_t toArgb(PixelFormat f, const uint8_t* p)
{
    switch (f) {
    case PixelFormat::A8R8G8B8:
        return load32(p);
    case PixelFormat::X8R8G8B8:
        return load32(p) | 0xFF000000u;
    case PixelFormat::A4R4G4B4: {
        uint32_t v = load16(p);
        return (((v >> 12) & 15) * 17u) << 24 | (((v >> 8) & 15) * 17u) << 16 | (((v >> 4) & 15) * 17u) << 8 |
               ((v & 15) * 17u);
    }
    case PixelFormat::R5G6B5: {
        uint32_t v = load16(p);
        uint32_t r = (v >> 11) & 31, g = (v >> 5) & 63, b = v & 31;
        return 0xFF000000u | ((r << 3) | (r >> 2)) << 16 | ((g << 2) | (g >> 4)) << 8 | ((b << 3) | (b >> 2));
    }
    }
    return 0;
}

void fromArgb(PixelFormat f, uint32_t c, uint8_t* p)
{
    switch (f) {
    case PixelFormat::A8R8G8B8:
        store32(p, c);
        break;
    case PixelFormat::X8R8G8B8:
        // Like a copy through the system's picture functions: the fourth byte is not kept.
        store32(p, c & 0x00FFFFFFu);
        break;
    case PixelFormat::A4R4G4B4:
        store16(p, uint16_t(((c >> 28) & 15) << 12 | ((c >> 20) & 15) << 8 | ((c >> 12) & 15) << 4 | ((c >> 4) & 15)));
        break;
    case PixelFormat::R5G6B5:
        store16(p, uint16_t(((c >> 19) & 31) << 11 | ((c >> 10) & 63) << 5 | ((c >> 3) & 31)));
        break;
    }
}

Surface::Surface(int width, int height, PixelFormat format)
    : width_(width), height_(height), format_(format),
      pitch_((width * bytesPerPixel(format) + 63) / 64 * 64)
{
}

uint8_t* Surface::storage() const
{
    if (pixels_.empty())
        pixels_.assign(size_t(pitch_) * size_t(height_), 0);
    return pixels_.data();
}

uint8_t* Surface::lock(int& pitch)
{
    if (lost_ || locked_)
        return nullptr;
    locked_ = true;
    pitch = pitch_;
    return storage();
}

uint8_t* Surface::lockKept(int& pitch)
{
    if (locked_)
        return nullptr;
    locked_ = true;
    pitch = pitch_;
    return storage();
}

void Surface::unlock()
{
    if (locked_) {
        locked_ = false;
        touch();
    }
}

const uint32_t* Surface::argbTexels(int& stride) const
{
    if (format_ == PixelFormat::A8R8G8B8) {
        stride = pitch_ / 4;
        return reinterpret_cast<const uint32_t*>(storage());
    }
    if (expandedVersion_ != version_) {
        const int bpp = bytesPerPixel(format_);
        expanded_.resize(size_t(width_) * size_t(height_));
        for (int y = 0; y < height_; ++y) {
            const uint8_t* row = storage() + size_t(y) * size_t(pitch_);
            uint32_t* out = expanded_.data() + size_t(y) * size_t(width_);
            for (int x = 0; x < width_; ++x)
                out[x] = toArgb(format_, row + size_t(x) * bpp);
        }
        expandedVersion_ = version_;
    }
    stride = width_;
    return expanded_.data();
}

bool Surface::opaque() const
{
    if (format_ == PixelFormat::X8R8G8B8 || format_ == PixelFormat::R5G6B5)
        return true;
    if (opaqueVersion_ != version_) {
        int stride = 0;
        const uint32_t* t = argbTexels(stride);
        opaque_ = true;
        for (int y = 0; y < height_ && opaque_; ++y)
            for (int x = 0; x < width_; ++x)
                if ((t[size_t(y) * size_t(stride) + size_t(x)] >> 24) != 255) {
                    opaque_ = false;
                    break;
                }
        opaqueVersion_ = version_;
    }
    return opaque_;
}

void Surface::markLost()
{
    if (lost_)
        return;
    lost_ = true;
    locked_ = false;
    touch();
}

Video::~Video() = default;

VideoOpenResult Video::open(Window& window, bool fullscreen, bool accelerated)
{
    if (open_)
        return VideoOpenResult::NoVideo;
    VideoOpenResult r = openPresentation(window, fullscreen, accelerated);
    if (r != VideoOpenResult::Ok)
        return r;
    open_ = true;
    accelerated_ = accelerated;
    fullscreen_ = fullscreen;
    backBuffer_ = createSurface(kWidth, kHeight, PixelFormat::X8R8G8B8);
    states_ = RenderStates{};
    texture_.reset();
    inScene_ = false;
    return VideoOpenResult::Ok;
}

void Video::close()
{
    if (!open_)
        return;
    for (auto& w : surfaces_)
        if (auto s = w.lock())
            s->markLost();
    surfaces_.clear();
    backBuffer_.reset();
    texture_.reset();
    inScene_ = false;
    closePresentation();
    open_ = false;
}

std::shared_ptr<Surface> Video::createSurface(int width, int height, PixelFormat format)
{
    if (!open_)
        return nullptr;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
        return nullptr;
    surfaces_.erase(std::remove_if(surfaces_.begin(), surfaces_.end(), [](auto& w) { return w.expired(); }),
                    surfaces_.end());
    auto s = std::make_shared<Surface>(width, height, format);
    surfaces_.push_back(s);
    return s;
}

void Video::setTexture(const std::shared_ptr<Surface>& texture)
{
    if (texture_ == texture)
        return;
    texture_ = texture;
    ++textureChanges_;
}

bool Video::beginScene()
{
    if (!open_ || !backBuffer_ || backBuffer_->lost())
        return false;
    inScene_ = true;
    return true;
}

void Video::endScene()
{
    inScene_ = false;
}

void Video::drawStrip(const Vertex* vertices, int count)
{
    if (!open_ || !backBuffer_ || backBuffer_->lost() || backBuffer_->locked())
        return;
    if (texture_ && (texture_->lost() || texture_->locked()))
        return;
    raster::drawStrip(*backBuffer_, texture_.get(), states_, vertices, count);
}

bool Video::colorFill(Surface& s, const Rect* r, uint32_t value)
{
    if (s.lost() || s.locked())
        return false;
    raster::fill(s, r ? *r : Rect{0, 0, s.width(), s.height()}, value);
    return true;
}

bool Video::blit(Surface& dst, const Rect& dstRect, Surface& src, const Rect& srcRect)
{
    if (dst.lost() || src.lost() || dst.locked() || src.locked())
        return false;
    // An empty rectangle is an invalid call, as an upside-down one is.
    if (dstRect.width() <= 0 || dstRect.height() <= 0 || srcRect.width() <= 0 || srcRect.height() <= 0)
        return false;
    raster::blit(dst, dstRect, src, srcRect);
    return true;
}

PresentResult Video::present()
{
    if (!open_ || !backBuffer_)
        return PresentResult::NotReady;
    if (backBuffer_->lost())
        return PresentResult::SurfaceLost;
    PresentResult r = presentFrame(*backBuffer_);
    if (r == PresentResult::Ok)
        ++presents_;
    return r;
}

void Video::loseDevice()
{
    for (auto& w : surfaces_)
        if (auto s = w.lock())
            s->markLost();
}

uint64_t Video::surfaceBytes() const
{
    uint64_t total = 0;
    for (const auto& w : surfaces_)
        if (auto s = w.lock())
            total += uint64_t(s->height()) * uint64_t(s->pitch());
    if (backBuffer_)
        total += uint64_t(backBuffer_->height()) * uint64_t(backBuffer_->pitch());
    return total;
}

} // namespace platform
