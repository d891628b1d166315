#pragma once
// A small software painter for the demo content: every shape is filled from a signed
// distance, so edges get exact coverage (anti-aliasing) and, with a feather, soft alpha.
#include <cstdint>
#include <functional>
#include <vector>

namespace demo {

struct Color {
    float r = 0, g = 0, b = 0, a = 1;
};

// 0xRRGGBB with a separate alpha.
Color hex(uint32_t rgb, float a = 1.0f);
Color mix(const Color& x, const Color& y, float t);

struct Vec2 {
    float x = 0, y = 0;
};

// Fixed-seed generator (xorshift64*): the same seed gives the same pictures and sounds
// on every machine.
class Rng {
public:
    explicit Rng(uint64_t seed) : s_(seed ? seed : 0x9E3779B97F4A7C15ull) {}
    uint64_t next();
    float uniform();                      // [0, 1)
    float range(float lo, float hi) { return lo + (hi - lo) * uniform(); }
    int below(int n) { return int(next() % uint64_t(n)); }

private:
    uint64_t s_;
};

// How a shape is coloured: a solid colour, a linear gradient between two points, or a
// radial one from a centre outwards.
struct Paint {
    enum Kind { Solid, Linear, Radial } kind = Solid;
    Color c0, c1;
    Vec2 p0, p1;   // Linear: from p0 (c0) to p1 (c1); Radial: centre p0, radius p1.x
    static Paint solid(Color c) { return Paint{Solid, c, c, {}, {}}; }
    static Paint linear(Color a, Vec2 pa, Color b, Vec2 pb) { return Paint{Linear, a, b, pa, pb}; }
    static Paint radial(Color inner, Vec2 centre, Color outer, float radius)
    {
        return Paint{Radial, inner, outer, centre, {radius, 0}};
    }
    Color at(float x, float y) const;
};

enum class Blend { Over, Add };

// Premultiplied floating-point RGBA picture, top row first.
class Image {
public:
    Image() = default;
    Image(int w, int h, Color fill = {0, 0, 0, 0});
    int width() const { return w_; }
    int height() const { return h_; }

    Color get(int x, int y) const;   // straight alpha
    // Puts colour c (straight alpha) over the pixel with the given coverage 0..1.
    void plot(int x, int y, const Color& c, float coverage, Blend blend = Blend::Over);

    void fill(const Color& c);
    // Vertical gradient over the whole picture: stops are (position 0..1, colour).
    void verticalGradient(const std::vector<std::pair<float, Color>>& stops);

    // Fills wherever sdf(x, y) < 0, with coverage from the distance; feather widens the
    // edge into a soft ramp of that many pixels.
    void fillSdf(float x0, float y0, float x1, float y1, const std::function<float(float, float)>& sdf,
                 const Paint& paint, float feather = 1.0f, Blend blend = Blend::Over);

    void circle(float cx, float cy, float r, const Paint& p, float feather = 1.0f, Blend b = Blend::Over);
    void ellipse(float cx, float cy, float rx, float ry, const Paint& p, float feather = 1.0f,
                 float angle = 0.0f, Blend b = Blend::Over);
    void rect(float x, float y, float w, float h, const Paint& p, float radius = 0.0f, float feather = 1.0f,
              Blend b = Blend::Over);
    void line(float x0, float y0, float x1, float y1, float width, const Paint& p, float feather = 1.0f,
              Blend b = Blend::Over);
    // A polyline of capsules (strokes, mouths, eyebrows).
    void stroke(const std::vector<Vec2>& pts, float width, const Paint& p, float feather = 1.0f);
    void polygon(const std::vector<Vec2>& pts, const Paint& p, float feather = 1.0f, Blend b = Blend::Over);
    // A quadratic Bézier sampled into a polyline.
    static std::vector<Vec2> bezier(Vec2 a, Vec2 control, Vec2 b, int steps = 16);

    // Fills everything below the curve y = top(x).
    void fillBelow(const std::function<float(float)>& top, const Paint& p);

    // Additive soft glow: brightness falls off as (1 - d/r)^2.
    void glow(float cx, float cy, float r, const Color& c, float strength = 1.0f);
    // A field of small stars in the band y0..y1 (denser and fainter towards the top).
    void stars(uint64_t seed, int count, float y0, float y1, float brightness = 1.0f);

    // src over this picture at (dx, dy), whole pixels, with an overall opacity.
    void draw(const Image& src, int dx, int dy, float opacity = 1.0f);
    // Multiplies every pixel's colour (not alpha) by c: night and sunset tints.
    void tint(const Color& c, float amount);

    // Area-averaged resize (for thumbnails and the contact sheet).
    Image resized(int w, int h) const;
    Image crop(int x, int y, int w, int h) const;

    // 8-bit output, top row first: RGB (alpha dropped over black) or straight RGBA.
    std::vector<uint8_t> rgb8() const;
    std::vector<uint8_t> rgba8() const;

private:
    int w_ = 0, h_ = 0;
    std::vector<float> px_;   // premultiplied r, g, b, a
};

} // namespace demo
