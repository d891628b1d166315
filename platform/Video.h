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

int bytesPerPixel(PixelFormat f);
// One pixel of the format to 0xAARRGGBB (formats without alpha give alpha 255) and back.
uint32_t toArgb(PixelFormat f, const uint8_t* p);
void fromArgb(PixelFormat f, uint32_t argb, uint8_t* p);

// A picture the video device holds. Its pixels are reached through lock/unlock. When the
// device goes away or loses its memory the surface is "lost": its pixels are gone and every
// lock fails until the owner makes a new surface.
class Surface {
public:
    Surface(int width, int height, PixelFormat format);
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
    // For the device's own drawing: the storage without a lock.
    uint8_t* data() { return storage(); }
    const uint8_t* data() const { return storage(); }
    // The pixels as 0xAARRGGBB words, width() per row; for 32-bit formats this is the
    // storage itself, for 16-bit formats a copy kept up to date with every change.
    const uint32_t* argbTexels(int& stride) const;
    // True when every pixel has full alpha (always for formats without alpha).
    bool opaque() const;
    // Counts changes; drawing code keys caches on it.
    void touch() { ++version_; }

    void markLost();

private:
    int width_, height_;
    PixelFormat format_;
    int pitch_;
    bool lost_ = false;
    bool locked_ = false;
    uint64_t version_ = 1;
    // Taken on first use: a surface nothing ever wrote or read (a character layer no scene
    // used) costs no memory, and reads as clear once something looks.
    uint8_t* storage() const;
    mutable std::vector<uint8_t> pixels_;
    mutable std::vector<uint32_t> expanded_;
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

enum class VideoOpenResult { Ok, NoVideo, NoBackBuffer, NoRenderer, NoFullscreen };
enum class PresentResult { Ok, SurfaceLost, NotReady };

// The display device: surfaces and textures, an 800x600 back buffer, colour fill, blit,
// textured triangle strips and present. Drawing is the shared software rasteriser; the
// backends only differ in how a finished back buffer reaches the screen.
class Video {
public:
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 600;

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

    // Shows the back buffer.
    PresentResult present();
    uint64_t presentCount() const { return presents_; }
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

private:
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
