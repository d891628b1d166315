// Surfaces and the display device's drawing, shared by both backends.
#include "platform/Video.h"

#include "platform/FrameRecord.h"
#include "platform/Rasteriser.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

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

// The device's own writes into a surface it watches: the watcher must not hear of them as
// someone else's change.
class Unwatched {
public:
    explicit Unwatched(Surface& s) : s_(s), watcher_(s.watcher()) { s_.setWatcher(nullptr); }
    ~Unwatched() { s_.setWatcher(watcher_); }
    Unwatched(const Unwatched&) = delete;
    Unwatched& operator=(const Unwatched&) = delete;

private:
    Surface& s_;
    SurfaceWatcher* watcher_;
};
} // namespace

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

Surface::~Surface()
{
    if (watcher_)
        watcher_->surfaceGone(*this);
}

void LineAlignedBytes::assign(size_t size)
{
    // Rounded up to whole lines, as the aligned allocation wants.
    const size_t rounded = (std::max<size_t>(size, 1) + kAlign - 1) / kAlign * kAlign;
    bytes_.reset(static_cast<uint8_t*>(std::aligned_alloc(kAlign, rounded)));
    if (!bytes_)
        throw std::bad_alloc();
    std::memset(bytes_.get(), 0, rounded);
}

void LineAlignedBytes::Free::operator()(uint8_t* p) const
{
    std::free(p);
}

uint64_t Surface::nextStamp()
{
    // Each thread takes stamps from a block of its own, so the one drawn into for every quad
    // does not pay for a locked add each time; blocks never overlap, so stamps stay unique.
    constexpr uint64_t kBlock = 1 << 16;
    static std::atomic<uint64_t> blocks{0};
    thread_local uint64_t next = 0, end = 0;
    if (next == end) {
        next = blocks.fetch_add(kBlock, std::memory_order_relaxed) + 1;
        end = next + kBlock;
    }
    return next++;
}

void Surface::allocate() const
{
    pixels_.assign(size_t(pitch_) * size_t(height_));
}

uint8_t* Surface::lock(int& pitch)
{
    return lost_ ? nullptr : lockKept(pitch);
}

uint8_t* Surface::lockKept(int& pitch)
{
    if (locked_)
        return nullptr;
    if (watcher_)
        watcher_->surfaceChanging(*this);
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

const uint32_t* Surface::expandedTexels(int& stride) const
{
    if (expandedVersion_ != version_) {
        const int bpp = bytesPerPixel(format_);
        if (expanded_.empty())
            expanded_.assign(size_t(width_) * size_t(height_) * 4);
        for (int y = 0; y < height_; ++y) {
            const uint8_t* row = storage() + size_t(y) * size_t(pitch_);
            uint32_t* out = reinterpret_cast<uint32_t*>(expanded_.data()) + size_t(y) * size_t(width_);
            for (int x = 0; x < width_; ++x)
                out[x] = toArgb(format_, row + size_t(x) * bpp);
        }
        expandedVersion_ = version_;
    }
    stride = width_;
    return reinterpret_cast<const uint32_t*>(expanded_.data());
}

void Surface::findOpaque() const
{
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

void Surface::markLost()
{
    if (lost_)
        return;
    lost_ = true;
    locked_ = false;
    touch();
}

Video::Video() : frame_(std::make_unique<FrameRecord>()), shown_(std::make_unique<FrameRecord>()) {}

Video::~Video()
{
    for (auto& w : surfaces_)
        if (auto s = w.lock())
            s->setWatcher(nullptr);
    if (backBuffer_)
        backBuffer_->setWatcher(nullptr);
}

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
    deferring_ = false;
    forgetShownFrame();
    pictureChanged_ = false;
    noteChange(0, kHeight, false);
    return VideoOpenResult::Ok;
}

void Video::close()
{
    if (!open_)
        return;
    flushRecorded();
    for (auto& w : surfaces_)
        if (auto s = w.lock()) {
            s->setWatcher(nullptr);
            s->markLost();
        }
    surfaces_.clear();
    backBuffer_.reset();
    texture_.reset();
    inScene_ = false;
    forgetShownFrame();
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
    s->setWatcher(this);
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
    if (inScene_) {
        // A scene begun twice: what the first drew is on the picture, and no record says so.
        flushRecorded();
        forgetShownFrame();
    }
    inScene_ = true;
    frame_->clear();
    deferring_ = true;
    foreignWrite_ = false;
    return true;
}

void Video::endScene()
{
    if (!inScene_)
        return;
    inScene_ = false;
    Surface* bb = backBuffer_.get();
    if (deferring_ && bb && !bb->lost() && !bb->locked()) {
        deferring_ = false;
        const bool covered = frame_->startsWithCover(bb->width(), bb->height());
        if (shownKnown_ && covered && frame_->sameAs(*shown_)) {
            // The picture on the back buffer is this frame's already.
        } else {
            const RowBand band = shownKnown_ && covered ? frame_->changedRows(*shown_, bb->height())
                                                        : RowBand{0, bb->height()};
            drawRecorded(*frame_, band.top, band.bottom);
            noteChange(band.top, band.bottom, true);
        }
        std::swap(frame_, shown_);
        shownKnown_ = covered;
    } else {
        // Drawn as it came (or not at all); what it drew is known unless someone else wrote too.
        const bool known = deferring_ ? false : !foreignWrite_;
        deferring_ = false;
        if (bb && known && frame_->startsWithCover(bb->width(), bb->height())) {
            std::swap(frame_, shown_);
            shownKnown_ = true;
        } else {
            forgetShownFrame();
        }
        noteChange(0, kHeight, !foreignWrite_);
    }
    frame_->clear();
}

bool Video::recordable(const Surface* s) const
{
    return !s || s->watcher() == static_cast<const SurfaceWatcher*>(this);
}

void Video::drawStrip(const Vertex* vertices, int count)
{
    if (!open_ || !backBuffer_ || backBuffer_->lost() || backBuffer_->locked())
        return;
    if (texture_ && (texture_->lost() || texture_->locked()))
        return;
    if (!vertices || count < 3)
        return;
    if (inScene_) {
        // A texture this device did not make may go away unannounced: draw it now.
        if (deferring_ && !recordable(texture_.get()))
            flushRecorded();
        frame_->addStrip(states_, texture_.get(), vertices, count);
        if (deferring_)
            return;
        Unwatched quiet(*backBuffer_);
        raster::drawStrip(*backBuffer_, texture_.get(), states_, vertices, count);
        return;
    }
    surfaceChanging(*backBuffer_);
    Unwatched quiet(*backBuffer_);
    raster::drawStrip(*backBuffer_, texture_.get(), states_, vertices, count);
}

bool Video::colorFill(Surface& s, const Rect* r, uint32_t value)
{
    if (s.lost() || s.locked())
        return false;
    const Rect rect = r ? *r : Rect{0, 0, s.width(), s.height()};
    if (&s == backBuffer_.get() && inScene_) {
        frame_->addFill(rect, value);
        if (deferring_)
            return true;
    } else {
        surfaceChanging(s);
    }
    Unwatched quiet(s);
    raster::fill(s, rect, value);
    return true;
}

bool Video::blit(Surface& dst, const Rect& dstRect, Surface& src, const Rect& srcRect)
{
    if (dst.lost() || src.lost() || dst.locked() || src.locked())
        return false;
    // An empty rectangle is an invalid call, as an upside-down one is.
    if (dstRect.width() <= 0 || dstRect.height() <= 0 || srcRect.width() <= 0 || srcRect.height() <= 0)
        return false;
    // Reading the back buffer needs its drawing done.
    if (&src == backBuffer_.get())
        flushRecorded();
    if (&dst == backBuffer_.get() && inScene_ && &src != &dst) {
        if (deferring_ && !recordable(&src))
            flushRecorded();
        frame_->addBlit(dstRect, src, srcRect);
        if (deferring_)
            return true;
    } else {
        surfaceChanging(dst);
    }
    Unwatched quiet(dst);
    raster::blit(dst, dstRect, src, srcRect);
    return true;
}

void Video::surfaceChanging(Surface& s)
{
    if (&s == backBuffer_.get()) {
        // Someone else writes into the picture: the drawing before it first, and from now on
        // the back buffer holds more than any record says.
        flushRecorded();
        if (inScene_)
            foreignWrite_ = true;
        else
            forgetShownFrame();
        noteChange(0, kHeight, false);
        return;
    }
    if (deferring_ && frame_->references(&s))
        flushRecorded();
}

void Video::surfaceGone(Surface& s)
{
    if (deferring_ && frame_->references(&s))
        flushRecorded();
}

void Video::flushRecorded()
{
    if (!deferring_)
        return;
    deferring_ = false;
    Surface* bb = backBuffer_.get();
    if (!bb || bb->lost() || bb->locked())
        return;
    drawRecorded(*frame_, 0, bb->height());
    noteChange(0, kHeight, true);
}

void Video::runCommand(const FrameRecord& record, size_t i, Surface& target, int rowOffset)
{
    const DrawCommand& c = record.command(i);
    switch (c.kind) {
    case DrawCommand::Kind::Strip: {
        const Surface* tex = c.source;
        if (tex && (tex->lost() || tex->locked()))
            return;
        const Vertex* v = record.vertices(c);
        if (rowOffset == 0) {
            raster::drawStrip(target, tex, c.states, v, int(c.vertexCount));
            return;
        }
        Vertex moved[64];
        std::vector<Vertex> many;
        Vertex* out = moved;
        if (c.vertexCount > 64) {
            many.resize(c.vertexCount);
            out = many.data();
        }
        for (uint32_t k = 0; k < c.vertexCount; ++k) {
            out[k] = v[k];
            out[k].y = v[k].y - float(rowOffset);
        }
        raster::drawStrip(target, tex, c.states, out, int(c.vertexCount));
        return;
    }
    case DrawCommand::Kind::Fill:
        raster::fill(target, Rect{c.dst.left, c.dst.top - rowOffset, c.dst.right, c.dst.bottom - rowOffset}, c.value);
        return;
    case DrawCommand::Kind::Blit:
        if (c.source->lost() || c.source->locked())
            return;
        raster::blit(target, Rect{c.dst.left, c.dst.top - rowOffset, c.dst.right, c.dst.bottom - rowOffset}, *c.source,
                     c.src);
        return;
    }
}

void Video::drawRecorded(const FrameRecord& record, int top, int bottom)
{
    Surface& bb = *backBuffer_;
    top = std::max(top, 0);
    bottom = std::min(bottom, bb.height());
    if (top >= bottom)
        return;
    // Rows alone can be drawn into a band of their own only where moving every shape up by
    // the band's top is exact, so that the shapes cover the same pixels with the same texels.
    bool exact = top > 0 || bottom < bb.height();
    for (size_t i = 0; exact && i < record.size(); ++i) {
        const DrawCommand& c = record.command(i);
        if (c.kind != DrawCommand::Kind::Strip)
            continue;
        const RowBand rows = record.rowsOf(c, bb.height());
        if (rows.bottom <= top || rows.top >= bottom)
            continue;
        const Vertex* v = record.vertices(c);
        for (uint32_t k = 0; k < c.vertexCount && exact; ++k)
            exact = double(v[k].y - float(top)) == double(v[k].y) - double(top);
    }
    Unwatched quiet(bb);
    if (!exact) {
        for (size_t i = 0; i < record.size(); ++i)
            runCommand(record, i, bb, 0);
        ++fullFrames_;
    } else {
        const int rows = bottom - top;
        if (!band_ || band_->height() != rows)
            band_ = std::make_unique<Surface>(bb.width(), rows, bb.format());
        for (size_t i = 0; i < record.size(); ++i) {
            const RowBand r = record.rowsOf(record.command(i), bb.height());
            if (r.bottom > top && r.top < bottom)
                runCommand(record, i, *band_, top);
        }
        const size_t rowBytes = size_t(bb.width()) * size_t(bytesPerPixel(bb.format()));
        for (int y = 0; y < rows; ++y)
            std::memcpy(bb.data() + size_t(top + y) * size_t(bb.pitch()), band_->data() + size_t(y) * size_t(band_->pitch()),
                        rowBytes);
        bb.touch();
        ++partialFrames_;
    }
}

void Video::noteChange(int top, int bottom, bool known)
{
    if (!pictureChanged_) {
        changedTop_ = top;
        changedBottom_ = bottom;
        changesKnown_ = known;
    } else {
        changedTop_ = std::min(changedTop_, top);
        changedBottom_ = std::max(changedBottom_, bottom);
        changesKnown_ = changesKnown_ && known;
    }
    pictureChanged_ = true;
}

void Video::forgetShownFrame()
{
    // Called for every quad drawn outside a scene, mostly with nothing left to forget.
    if (!shown_->empty())
        shown_->clear();
    shownKnown_ = false;
}

PresentResult Video::present()
{
    if (!open_ || !backBuffer_)
        return PresentResult::NotReady;
    if (backBuffer_->lost())
        return PresentResult::SurfaceLost;
    flushRecorded();
    lastPresentUnchanged_ = false;
    if (!pictureChanged_ && !presentationStale()) {
        lastPresentUnchanged_ = true;
        ++unchangedPresents_;
        return PresentResult::Ok;
    }
    PresentResult r = presentFrame(*backBuffer_);
    if (r == PresentResult::Ok) {
        ++presents_;
        pictureChanged_ = false;
        changedTop_ = changedBottom_ = 0;
        changesKnown_ = true;
    }
    return r;
}

void Video::loseDevice()
{
    flushRecorded();
    for (auto& w : surfaces_)
        if (auto s = w.lock()) {
            Unwatched quiet(*s);
            s->markLost();
        }
    forgetShownFrame();
    noteChange(0, kHeight, false);
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
