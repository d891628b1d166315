#include "tools/demo/Raster.h"

#include <algorithm>
#include <cmath>

namespace demo {

namespace {

float clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

uint8_t toByte(float v) { return uint8_t(std::lround(clamp01(v) * 255.0f)); }

// Squared distance from a point to a segment; callers take one square root at the end.
float segmentDistance2(float px, float py, Vec2 a, Vec2 b)
{
    const float bx = b.x - a.x, by = b.y - a.y;
    const float qx = px - a.x, qy = py - a.y;
    const float len2 = bx * bx + by * by;
    const float t = len2 > 0 ? std::clamp((qx * bx + qy * by) / len2, 0.0f, 1.0f) : 0.0f;
    const float dx = qx - bx * t, dy = qy - by * t;
    return dx * dx + dy * dy;
}

float segmentDistance(float px, float py, Vec2 a, Vec2 b)
{
    const float bx = b.x - a.x, by = b.y - a.y;
    const float qx = px - a.x, qy = py - a.y;
    const float len2 = bx * bx + by * by;
    const float t = len2 > 0 ? std::clamp((qx * bx + qy * by) / len2, 0.0f, 1.0f) : 0.0f;
    const float dx = qx - bx * t, dy = qy - by * t;
    return std::sqrt(dx * dx + dy * dy);
}

} // namespace

Color hex(uint32_t rgb, float a)
{
    return Color{float((rgb >> 16) & 0xFF) / 255.0f, float((rgb >> 8) & 0xFF) / 255.0f, float(rgb & 0xFF) / 255.0f, a};
}

Color mix(const Color& x, const Color& y, float t)
{
    return Color{x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t, x.a + (y.a - x.a) * t};
}

uint64_t Rng::next()
{
    s_ ^= s_ >> 12;
    s_ ^= s_ << 25;
    s_ ^= s_ >> 27;
    return s_ * 0x2545F4914F6CDD1Dull;
}

float Rng::uniform() { return float(next() >> 40) / float(1ull << 24); }

Color Paint::at(float x, float y) const
{
    switch (kind) {
    case Solid:
        return c0;
    case Linear: {
        const float dx = p1.x - p0.x, dy = p1.y - p0.y;
        const float len2 = dx * dx + dy * dy;
        const float t = len2 > 0 ? clamp01(((x - p0.x) * dx + (y - p0.y) * dy) / len2) : 0.0f;
        return mix(c0, c1, t);
    }
    case Radial: {
        const float d = std::hypot(x - p0.x, y - p0.y);
        return mix(c0, c1, p1.x > 0 ? clamp01(d / p1.x) : 1.0f);
    }
    }
    return c0;
}

Image::Image(int w, int h, Color fillColour) : w_(w), h_(h), px_(size_t(w) * size_t(h) * 4, 0.0f)
{
    fill(fillColour);
}

Color Image::get(int x, int y) const
{
    const float* p = &px_[(size_t(y) * size_t(w_) + size_t(x)) * 4];
    if (p[3] <= 0)
        return Color{0, 0, 0, 0};
    return Color{p[0] / p[3], p[1] / p[3], p[2] / p[3], p[3]};
}

void Image::plot(int x, int y, const Color& c, float coverage, Blend blend)
{
    if (x < 0 || y < 0 || x >= w_ || y >= h_ || coverage <= 0)
        return;
    float* p = &px_[(size_t(y) * size_t(w_) + size_t(x)) * 4];
    const float a = clamp01(c.a * coverage);
    if (blend == Blend::Add) {
        p[0] = std::min(1.0f, p[0] + c.r * a);
        p[1] = std::min(1.0f, p[1] + c.g * a);
        p[2] = std::min(1.0f, p[2] + c.b * a);
        p[3] = std::min(1.0f, p[3] + a);
        return;
    }
    const float k = 1.0f - a;
    p[0] = c.r * a + p[0] * k;
    p[1] = c.g * a + p[1] * k;
    p[2] = c.b * a + p[2] * k;
    p[3] = a + p[3] * k;
}

void Image::fill(const Color& c)
{
    for (size_t i = 0; i < px_.size(); i += 4) {
        px_[i] = c.r * c.a;
        px_[i + 1] = c.g * c.a;
        px_[i + 2] = c.b * c.a;
        px_[i + 3] = c.a;
    }
}

void Image::verticalGradient(const std::vector<std::pair<float, Color>>& stops)
{
    for (int y = 0; y < h_; ++y) {
        const float t = h_ > 1 ? float(y) / float(h_ - 1) : 0.0f;
        Color c = stops.front().second;
        for (size_t i = 1; i < stops.size(); ++i) {
            if (t <= stops[i].first) {
                const float span = stops[i].first - stops[i - 1].first;
                c = mix(stops[i - 1].second, stops[i].second, span > 0 ? (t - stops[i - 1].first) / span : 1.0f);
                break;
            }
            c = stops[i].second;
        }
        for (int x = 0; x < w_; ++x) {
            float* p = &px_[(size_t(y) * size_t(w_) + size_t(x)) * 4];
            p[0] = c.r * c.a;
            p[1] = c.g * c.a;
            p[2] = c.b * c.a;
            p[3] = c.a;
        }
    }
}

void Image::fillSdf(float x0, float y0, float x1, float y1, const std::function<float(float, float)>& sdf,
                    const Paint& paint, float feather, Blend blend)
{
    const float w = std::max(1.0f, feather);
    const int ix0 = std::max(0, int(std::floor(x0 - w)));
    const int iy0 = std::max(0, int(std::floor(y0 - w)));
    const int ix1 = std::min(w_ - 1, int(std::ceil(x1 + w)));
    const int iy1 = std::min(h_ - 1, int(std::ceil(y1 + w)));
    for (int y = iy0; y <= iy1; ++y) {
        for (int x = ix0; x <= ix1; ++x) {
            const float px = float(x) + 0.5f, py = float(y) + 0.5f;
            const float d = sdf(px, py);
            const float cov = clamp01(0.5f - d / w);
            if (cov > 0)
                plot(x, y, paint.at(px, py), cov, blend);
        }
    }
}

void Image::circle(float cx, float cy, float r, const Paint& p, float feather, Blend b)
{
    fillSdf(cx - r, cy - r, cx + r, cy + r, [=](float x, float y) { return std::hypot(x - cx, y - cy) - r; }, p,
            feather, b);
}

void Image::ellipse(float cx, float cy, float rx, float ry, const Paint& p, float feather, float angle, Blend b)
{
    const float ca = std::cos(angle), sa = std::sin(angle);
    const float ext = std::max(rx, ry);
    fillSdf(cx - ext, cy - ext, cx + ext, cy + ext,
            [=](float x, float y) {
                const float dx = x - cx, dy = y - cy;
                const float u = dx * ca + dy * sa, v = -dx * sa + dy * ca;
                const float k0 = std::hypot(u / rx, v / ry);
                const float k1 = std::hypot(u / (rx * rx), v / (ry * ry));
                return k1 > 0 ? k0 * (k0 - 1.0f) / k1 : -std::min(rx, ry);
            },
            p, feather, b);
}

void Image::rect(float x, float y, float w, float h, const Paint& p, float radius, float feather, Blend b)
{
    const float cx = x + w / 2, cy = y + h / 2, hx = w / 2, hy = h / 2;
    fillSdf(x, y, x + w, y + h,
            [=](float px, float py) {
                const float qx = std::fabs(px - cx) - hx + radius, qy = std::fabs(py - cy) - hy + radius;
                const float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
                return std::hypot(ox, oy) + std::min(std::max(qx, qy), 0.0f) - radius;
            },
            p, feather, b);
}

void Image::line(float x0, float y0, float x1, float y1, float width, const Paint& p, float feather, Blend b)
{
    const float r = width / 2;
    const Vec2 a{x0, y0}, c{x1, y1};
    fillSdf(std::min(x0, x1) - r, std::min(y0, y1) - r, std::max(x0, x1) + r, std::max(y0, y1) + r,
            [=](float x, float y) { return segmentDistance(x, y, a, c) - r; }, p, feather, b);
}

void Image::stroke(const std::vector<Vec2>& pts, float width, const Paint& p, float feather)
{
    if (pts.size() < 2)
        return;
    float x0 = pts[0].x, y0 = pts[0].y, x1 = x0, y1 = y0;
    for (const Vec2& v : pts) {
        x0 = std::min(x0, v.x), y0 = std::min(y0, v.y), x1 = std::max(x1, v.x), y1 = std::max(y1, v.y);
    }
    const float r = width / 2;
    // One distance field for the whole polyline, so joints do not double their alpha.
    fillSdf(x0 - r, y0 - r, x1 + r, y1 + r,
            [&](float x, float y) {
                float d2 = 1e18f;
                for (size_t i = 1; i < pts.size(); ++i)
                    d2 = std::min(d2, segmentDistance2(x, y, pts[i - 1], pts[i]));
                return std::sqrt(d2) - r;
            },
            p, feather);
}

void Image::polygon(const std::vector<Vec2>& pts, const Paint& p, float feather, Blend b)
{
    if (pts.size() < 3)
        return;
    float x0 = pts[0].x, y0 = pts[0].y, x1 = x0, y1 = y0;
    for (const Vec2& v : pts) {
        x0 = std::min(x0, v.x), y0 = std::min(y0, v.y), x1 = std::max(x1, v.x), y1 = std::max(y1, v.y);
    }
    fillSdf(x0, y0, x1, y1,
            [&](float x, float y) {
                float d2 = 1e18f;
                bool inside = false;
                for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
                    const Vec2& a = pts[i];
                    const Vec2& c = pts[j];
                    d2 = std::min(d2, segmentDistance2(x, y, a, c));
                    if ((a.y > y) != (c.y > y) && x < (c.x - a.x) * (y - a.y) / (c.y - a.y) + a.x)
                        inside = !inside;
                }
                const float d = std::sqrt(d2);
                return inside ? -d : d;
            },
            p, feather, b);
}

std::vector<Vec2> Image::bezier(Vec2 a, Vec2 control, Vec2 b, int steps)
{
    std::vector<Vec2> out;
    for (int i = 0; i <= steps; ++i) {
        const float t = float(i) / float(steps), u = 1 - t;
        out.push_back({u * u * a.x + 2 * u * t * control.x + t * t * b.x, u * u * a.y + 2 * u * t * control.y + t * t * b.y});
    }
    return out;
}

void Image::fillBelow(const std::function<float(float)>& top, const Paint& p)
{
    for (int x = 0; x < w_; ++x) {
        const float t = top(float(x) + 0.5f);
        for (int y = std::max(0, int(std::floor(t))); y < h_; ++y) {
            const float cov = clamp01(float(y) + 1.0f - t);
            plot(x, y, p.at(float(x) + 0.5f, float(y) + 0.5f), cov);
        }
    }
}

void Image::glow(float cx, float cy, float r, const Color& c, float strength)
{
    const int x0 = std::max(0, int(cx - r)), x1 = std::min(w_ - 1, int(cx + r));
    const int y0 = std::max(0, int(cy - r)), y1 = std::min(h_ - 1, int(cy + r));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const float d = std::hypot(float(x) + 0.5f - cx, float(y) + 0.5f - cy) / r;
            if (d < 1) {
                const float k = (1 - d) * (1 - d) * strength;
                plot(x, y, c, k, Blend::Add);
            }
        }
}

void Image::stars(uint64_t seed, int count, float y0, float y1, float brightness)
{
    Rng rng(seed);
    for (int i = 0; i < count; ++i) {
        const float x = rng.range(0, float(w_));
        // A skewed draw puts more stars high in the sky, where it is darkest.
        const float u = rng.uniform();
        const float y = y0 + (y1 - y0) * std::pow(u, 1.4f);
        const float size = 0.5f + rng.uniform() * rng.uniform() * 1.6f;
        const float tone = rng.uniform();
        Color c = tone < 0.2f ? hex(0xFFE8C0) : (tone < 0.45f ? hex(0xC8D8FF) : hex(0xFFFFFF));
        const float fade = 1.0f - 0.6f * (y - y0) / std::max(1.0f, y1 - y0);
        c.a = brightness * fade * (0.45f + 0.55f * rng.uniform());
        circle(x, y, size, Paint::solid(c), 1.0f, Blend::Add);
        if (size > 1.6f) {
            // Bright stars get a faint halo and a four-pointed sparkle.
            glow(x, y, size * 5, c, 0.35f * c.a);
            Color s = c;
            s.a *= 0.5f;
            line(x - size * 4, y, x + size * 4, y, 0.7f, Paint::solid(s), 1.0f, Blend::Add);
            line(x, y - size * 4, x, y + size * 4, 0.7f, Paint::solid(s), 1.0f, Blend::Add);
        }
    }
}

void Image::draw(const Image& src, int dx, int dy, float opacity)
{
    for (int y = 0; y < src.h_; ++y) {
        const int ty = y + dy;
        if (ty < 0 || ty >= h_)
            continue;
        for (int x = 0; x < src.w_; ++x) {
            const int tx = x + dx;
            if (tx < 0 || tx >= w_)
                continue;
            const float* s = &src.px_[(size_t(y) * size_t(src.w_) + size_t(x)) * 4];
            float* d = &px_[(size_t(ty) * size_t(w_) + size_t(tx)) * 4];
            const float k = 1.0f - s[3] * opacity;
            for (int i = 0; i < 4; ++i)
                d[i] = s[i] * opacity + d[i] * k;
        }
    }
}

void Image::tint(const Color& c, float amount)
{
    for (size_t i = 0; i < px_.size(); i += 4) {
        px_[i] *= 1 + (c.r - 1) * amount;
        px_[i + 1] *= 1 + (c.g - 1) * amount;
        px_[i + 2] *= 1 + (c.b - 1) * amount;
    }
}

Image Image::resized(int w, int h) const
{
    Image out(w, h);
    const float sx = float(w_) / float(w), sy = float(h_) / float(h);
    for (int y = 0; y < h; ++y) {
        const int ya = int(float(y) * sy), yb = std::max(ya + 1, int(float(y + 1) * sy));
        for (int x = 0; x < w; ++x) {
            const int xa = int(float(x) * sx), xb = std::max(xa + 1, int(float(x + 1) * sx));
            float acc[4] = {0, 0, 0, 0};
            int n = 0;
            for (int yy = ya; yy < yb && yy < h_; ++yy)
                for (int xx = xa; xx < xb && xx < w_; ++xx, ++n)
                    for (int i = 0; i < 4; ++i)
                        acc[i] += px_[(size_t(yy) * size_t(w_) + size_t(xx)) * 4 + size_t(i)];
            float* d = &out.px_[(size_t(y) * size_t(w) + size_t(x)) * 4];
            for (int i = 0; i < 4; ++i)
                d[i] = n ? acc[i] / float(n) : 0.0f;
        }
    }
    return out;
}

Image Image::crop(int x0, int y0, int w, int h) const
{
    Image out(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int sx = x0 + x, sy = y0 + y;
            if (sx < 0 || sy < 0 || sx >= w_ || sy >= h_)
                continue;
            for (int i = 0; i < 4; ++i)
                out.px_[(size_t(y) * size_t(w) + size_t(x)) * 4 + size_t(i)] =
                    px_[(size_t(sy) * size_t(w_) + size_t(sx)) * 4 + size_t(i)];
        }
    return out;
}

std::vector<uint8_t> Image::rgb8() const
{
    std::vector<uint8_t> out(size_t(w_) * size_t(h_) * 3);
    for (size_t i = 0, j = 0; i < px_.size(); i += 4, j += 3) {
        out[j] = toByte(px_[i]);
        out[j + 1] = toByte(px_[i + 1]);
        out[j + 2] = toByte(px_[i + 2]);
    }
    return out;
}

std::vector<uint8_t> Image::rgba8() const
{
    std::vector<uint8_t> out(size_t(w_) * size_t(h_) * 4);
    for (size_t i = 0; i < px_.size(); i += 4) {
        const float a = px_[i + 3];
        const uint8_t ab = toByte(a);
        if (ab == 0) {
            // Fully transparent pixels carry no colour, which keeps the files small.
            out[i] = out[i + 1] = out[i + 2] = out[i + 3] = 0;
            continue;
        }
        out[i] = toByte(px_[i] / a);
        out[i + 1] = toByte(px_[i + 1] / a);
        out[i + 2] = toByte(px_[i + 2] / a);
        out[i + 3] = ab;
    }
    return out;
}

} // namespace demo
