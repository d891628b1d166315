#pragma once
#include "platform/Window.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace platform {

// Pixel layouts of surfaces and textures. 32-bit pixels are little-endian words 0xAARRGGBB
// (bytes B, G, R, A in memory); 16-bit pixels are little-endian words with the masks of
// their names.
enum class PixelFormat { A8R8G8B8, X8R8G8B8, A4R4G4B4, R5G6B5 };

inline int bytesPerPixel(PixelFormat f)
{
    return (f == PixelFormat::A4R4G4B4 || f == PixelFormat::R5G6B5) ? 2 : 4;
}

// Zeroed memory whose first byte starts a cache line. With pitches a multiple of 64 bytes,
// every row of a surface does too, so a row of 32 pixels touches two lines, not three.
class LineAlignedBytes {
public:
    static constexpr size_t kAlign = 64;
    bool empty() const { return !bytes_; }
    uint8_t* data() const { return bytes_.get(); }
    void assign(size_t size);

private:
    struct Free {
        void operator()(uint8_t* p) const;
    };
    std::unique_ptr<uint8_t[], Free> bytes_;
};

class Surface;
// Told before a surface's pixels change or the surface goes away, by whoever changes them:
// the device keeps drawing it has not done yet in order with such changes.
class SurfaceWatcher {
public:
    virtual void surfaceChanging(Surface& s) = 0;
    virtual void surfaceGone(Surface& s) = 0;

protected:
    ~SurfaceWatcher() = default;
};
// One pixel of the format to 0xAARRGGBB (formats without alpha give alpha 255) and back.
uint32_t toArgb(PixelFormat f, const uint8_t* p);
void fromArgb(PixelFormat f, uint32_t argb, uint8_t* p);

// A picture the video device holds. Its pixels are reached through lock/unlock. When the
// device goes away or loses its memory the surface is "lost": its pixels are gone and every
// lock fails until the owner makes a new surface.
class Surface {
public:
    Surface(int width, int height, PixelFormat format);
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    int width() const { return width_; }
    int height() const { return height_; }
    PixelFormat format() const { return format_; }
    int pitch() const { return pitch_; }
    bool lost() const { return lost_; }
    bool locked() const { return locked_; }

    // First row and row pitch in bytes; nullptr when lost or already locked.
    uint8_t* lock(int& pitch);
    // Surfaces live in system memory, which a device loss does not take: a lost surface keeps
    // its pixels. Its owner may still reach them this way, as the copy it rebuilds from,
    // although the device no longer draws from or into it. nullptr only while locked.
    uint8_t* lockKept(int& pitch);
    void unlock();

    // False while nothing has used the surface: its pixels are all clear without memory.
    bool holdsPixels() const { return !pixels_.empty(); }
    // The storage without a lock. Asking for it writable counts as a change.
    uint8_t* data()
    {
        if (watcher_)
            watcher_->surfaceChanging(*this);
        return storage();
    }
    const uint8_t* data() const { return storage(); }
    // The pixels as 0xAARRGGBB words, width() per row; for 32-bit formats this is the
    // storage itself, for 16-bit formats a copy kept up to date with every change.
    // Asked for by every quad drawn, so the common answers are at hand without a call.
    const uint32_t* argbTexels(int& stride) const
    {
        if (format_ == PixelFormat::A8R8G8B8) {
            stride = pitch_ / 4;
            return reinterpret_cast<const uint32_t*>(storage());
        }
        return expandedTexels(stride);
    }
    // True when every pixel has full alpha (always for formats without alpha).
    bool opaque() const
    {
        if (format_ == PixelFormat::X8R8G8B8 || format_ == PixelFormat::R5G6B5)
            return true;
        if (opaqueVersion_ != version_)
            findOpaque();
        return opaque_;
    }
    // A stamp of the content: every change gives a value no surface of the process has had,
    // so an address and a stamp name one picture. Drawing code keys caches on it.
    uint64_t version() const { return version_; }
    void touch()
    {
        if (watcher_)
            watcher_->surfaceChanging(*this);
        version_ = nextStamp();
    }
    // The device that draws this surface; it hears of every change before it happens.
    void setWatcher(SurfaceWatcher* w) { watcher_ = w; }
    SurfaceWatcher* watcher() const { return watcher_; }

    void markLost();

private:
    int width_, height_;
    PixelFormat format_;
    int pitch_;
    static uint64_t nextStamp();

    bool lost_ = false;
    bool locked_ = false;
    SurfaceWatcher* watcher_ = nullptr;
    uint64_t version_ = nextStamp();
    // Taken on first use: a surface nothing ever wrote or read (a character layer no scene
    // used) costs no memory, and reads as clear once something looks.
    uint8_t* storage() const
    {
        if (pixels_.empty())
            allocate();
        return pixels_.data();
    }
    void allocate() const;
    const uint32_t* expandedTexels(int& stride) const;
    void findOpaque() const;
    mutable LineAlignedBytes pixels_;
    mutable LineAlignedBytes expanded_;
    mutable uint64_t expandedVersion_ = 0;
    mutable bool opaque_ = false;
    mutable uint64_t opaqueVersion_ = 0;
};

// One pre-transformed vertex of a textured triangle strip: screen position, depth,
// reciprocal w, colour and alpha (0xAARRGGBB), specular, texture coordinates.
struct Vertex {
    float x = 0, y = 0, z = 0, rhw = 1.0f;
    uint32_t diffuse = 0xFFFFFFFF;
    uint32_t specular = 0;
    float u = 0, v = 0;
};

// Render-state values keep the numbers the engine has always used for them.
enum class BlendFactor : int { Zero = 1, One = 2, SrcAlpha = 5, InvSrcAlpha = 6 };
enum class TextureBlend : int { Modulate = 2, ModulateAlpha = 4 };
enum class TextureFilter : int { Nearest = 1, Linear = 2 };

struct RenderStates {
    bool alphaBlend = false;
    TextureBlend textureBlend = TextureBlend::Modulate;
    BlendFactor srcBlend = BlendFactor::One;
    BlendFactor dstBlend = BlendFactor::Zero;
    TextureFilter magFilter = TextureFilter::Nearest; // sampling is always nearest
    TextureFilter minFilter = TextureFilter::Nearest;
    bool zEnable = false;
};

class FrameRecord;

enum class VideoOpenResult { Ok, NoVideo, NoBackBuffer, NoRenderer, NoFullscreen };
enum class PresentResult { Ok, SurfaceLost, NotReady };

// The display device: surfaces and textures, an 800x600 back buffer, colour fill, blit,
// textured triangle strips and present. Drawing is the shared software rasteriser; the
// backends only differ in how a finished back buffer reaches the screen.
//
// Between beginScene and endScene the drawing into the back buffer is written down, not
// done, and done at endScene against the last frame's: a frame that asks for exactly what
// the picture already shows costs no drawing and no present, and a frame that differs in a
// few places redraws only the rows those can reach. Anything else that touches the back
// buffer's pixels, or changes a picture that drawing still to be done uses, first gets that
// drawing done, so the result is always what drawing at once would have given.
class Video : private SurfaceWatcher {
public:
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 600;

    Video();
    virtual ~Video();

    // Brings the device up on the window, in a window or full screen, with the accelerated
    // or the software presentation. Fails when already open.
    VideoOpenResult open(Window& window, bool fullscreen, bool accelerated);
    // Takes the device down; every surface it made is lost.
    void close();
    bool isOpen() const { return open_; }
    bool accelerated() const { return accelerated_; }
    bool fullscreen() const { return fullscreen_; }

    // A surface of the device; nullptr when the device is closed or the size is absurd.
    std::shared_ptr<Surface> createSurface(int width, int height, PixelFormat format);
    // The 800x600 X8R8G8B8 back buffer; nullptr while closed.
    Surface* backBuffer() { return backBuffer_.get(); }

    RenderStates& renderStates() { return states_; }
    // The texture later strips sample; null draws untextured. A lost texture draws nothing.
    void setTexture(const std::shared_ptr<Surface>& texture);
    const Surface* texture() const { return texture_.get(); }
    uint64_t textureChanges() const { return textureChanges_; }

    bool beginScene();
    void endScene();
    bool inScene() const { return inScene_; }

    // A strip of count pre-transformed vertices into the back buffer.
    void drawStrip(const Vertex* vertices, int count);
    // Colour fill with a value in the surface's own format; the whole surface when r is null.
    bool colorFill(Surface& s, const Rect* r, uint32_t value);
    // Rectangle copy (stretched when the sizes differ), clipped to both surfaces, converting
    // between formats. False when either surface is lost or locked.
    bool blit(Surface& dst, const Rect& dstRect, Surface& src, const Rect& srcRect);

    // Shows the back buffer. A picture the screen already shows is not sent again unless the
    // presentation asks for it (a window the system spoiled).
    PresentResult present();
    uint64_t presentCount() const { return presents_; }
    // Presents left out because the picture had not changed, and whether the last present
    // was one of them.
    uint64_t unchangedPresents() const { return unchangedPresents_; }
    bool lastPresentUnchanged() const { return lastPresentUnchanged_; }
    // Frames whose picture was drawn in part (only the rows that changed) and in full.
    uint64_t partialFrames() const { return partialFrames_; }
    uint64_t fullFrames() const { return fullFrames_; }
    // Milliseconds until the display will want its next picture; a frame loop with nothing
    // new to show waits that long for input. Moves on to the refresh after that.
    virtual uint32_t takeIdleWait() { return 16; }
    // The window's contents were spoiled (exposed, resized): the next present goes out.
    void repaint() { noteChange(0, kHeight, true); }
    // Bytes held by the device's live surfaces (textures live in system memory).
    uint64_t surfaceBytes() const;

    // Makes every surface lost, as a display change or another program taking the screen
    // would: the next present reports it and the owner rebuilds. For tests and the toggle.
    void loseDevice();

    // Redraws the window when the system asks and no device is up.
    virtual void paintBlank() {}

protected:
    virtual VideoOpenResult openPresentation(Window& window, bool fullscreen, bool accelerated) = 0;
    virtual void closePresentation() = 0;
    virtual PresentResult presentFrame(const Surface& backBuffer) = 0;
    // True when the screen may no longer show the last picture sent.
    virtual bool presentationStale() { return false; }
    // For presentFrame: the rows [top, bottom) that may differ from the last picture sent,
    // and whether that is known from the drawing (else anything may have changed anywhere).
    int changedTop() const { return changedTop_; }
    int changedBottom() const { return changedBottom_; }
    bool changesKnown() const { return changesKnown_; }

private:
    void surfaceChanging(Surface& s) override;
    void surfaceGone(Surface& s) override;
    // The drawing written down so far is done now; later drawing of this frame at once.
    void flushRecorded();
    void runCommand(const FrameRecord& record, size_t i, Surface& target, int rowOffset);

    void drawRecorded(const FrameRecord& record, int top, int bottom);
    bool recordable(const Surface* s) const;
    void forgetShownFrame();

    std::unique_ptr<FrameRecord> frame_, shown_;
    // Drawing of this scene is being written down, not done.
    bool deferring_ = false;
    // The back buffer holds exactly what shown_ draws from a cover.
    bool shownKnown_ = false;
    // Something but the recorded drawing wrote into the back buffer during this scene.
    bool foreignWrite_ = false;
    bool pictureChanged_ = true;
    void noteChange(int top, int bottom, bool known);
    int changedTop_ = 0, changedBottom_ = kHeight;
    bool changesKnown_ = false;
    bool lastPresentUnchanged_ = false;
    uint64_t unchangedPresents_ = 0, partialFrames_ = 0, fullFrames_ = 0;
    std::unique_ptr<Surface> band_;

    bool open_ = false;
    bool accelerated_ = false;
    bool fullscreen_ = false;
    bool inScene_ = false;
    std::shared_ptr<Surface> backBuffer_;
    std::vector<std::weak_ptr<Surface>> surfaces_;
    RenderStates states_;
    std::shared_ptr<Surface> texture_;
    uint64_t textureChanges_ = 0;
    uint64_t presents_ = 0;
};

} // namespace platform
