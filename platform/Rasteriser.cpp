// The software rasteriser both backends draw with.
#include "platform/Rasteriser.h"

#include "platform/RasterRows.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cmath>
#include <cstring>

namespace platform::raster {

namespace {

uint32_t factorFor(BlendFactor f, uint32_t srcAlpha)
{
    switch (f) {
    case BlendFactor::Zero:
        return 0;
    case BlendFactor::One:
        return 255;
    case BlendFactor::SrcAlpha:
        return srcAlpha;
    case BlendFactor::InvSrcAlpha:
        return 255 - srcAlpha;
    }
    return 0;
}

// A coordinate as an integer, with NaN and far-away values pinned inside [lo, hi].
inline int pinned(double v, int lo, int hi)
{
    if (!(v > lo))
        return lo;
    if (!(v < hi))
        return hi;
    return int(v);
}

// A texel index from a texture coordinate of any size; wrapping or clamping follows.
inline int64_t texelIndex(double t)
{
    constexpr double kFar = 4503599627370496.0; // 2^52: beyond this doubles hold no fraction
    if (!(t > -kFar && t < kFar))
        return 0;
    // floor() without the library call: it runs once per drawn row.
    const int64_t i = int64_t(t);
    return double(i) > t ? i - 1 : i;
}

// ceil() without a library call for each corner of each quad. NaN and values too large to
// hold a fraction come back as they are.
inline double ceilOf(double v)
{
    constexpr double kFar = 4503599627370496.0; // 2^52
    if (!(v > -kFar && v < kFar))
        return v;
    const double i = double(int64_t(v));
    return i < v ? i + 1 : i;
}

// a / b, skipping the division where the quotient is 1: a quad drawn at its texture's size.
inline double ratio(double a, double b)
{
    return a == b ? 1.0 : a / b;
}

enum class Mode { Normal, Darken, Add, Other };

Mode modeOf(const RenderStates& st)
{
    if (!st.alphaBlend)
        return Mode::Other;
    if (st.srcBlend == BlendFactor::SrcAlpha && st.dstBlend == BlendFactor::InvSrcAlpha)
        return Mode::Normal;
    if (st.srcBlend == BlendFactor::Zero && st.dstBlend == BlendFactor::InvSrcAlpha)
        return Mode::Darken;
    if (st.srcBlend == BlendFactor::SrcAlpha && st.dstBlend == BlendFactor::One)
        return Mode::Add;
    return Mode::Other;
}

inline uint32_t blendWith(Mode m, const RenderStates& st, uint32_t s, uint32_t d)
{
    uint32_t a = s >> 24;
    switch (m) {
    case Mode::Normal:
        if (a == 255)
            return s;
        if (a == 0)
            return d;
        return lerpPacked(s, d, a);
    case Mode::Darken:
        return a == 0 ? d : darkenPacked(d, a);
    case Mode::Add:
        return a == 0 ? d : blendPixel(s, d, BlendFactor::SrcAlpha, BlendFactor::One);
    case Mode::Other:
        break;
    }
    if (!st.alphaBlend)
        return s;
    return blendPixel(s, d, st.srcBlend, st.dstBlend);
}

// Texture colour combined with the vertex colour.
inline uint32_t shade(uint32_t t, uint32_t diffuse, TextureBlend tb)
{
    if (diffuse == 0xFFFFFFFFu)
        return t;
    uint32_t r = div255(((t >> 16) & 255) * ((diffuse >> 16) & 255));
    uint32_t g = div255(((t >> 8) & 255) * ((diffuse >> 8) & 255));
    uint32_t b = div255((t & 255) * (diffuse & 255));
    uint32_t a = tb == TextureBlend::ModulateAlpha ? div255((t >> 24) * (diffuse >> 24)) : (t >> 24);
    return (a << 24) | (r << 16) | (g << 8) | b;
}

// shade() as the per-channel factors the row kernels multiply by.
inline uint32_t tintOf(uint32_t diffuse, TextureBlend tb)
{
    return tb == TextureBlend::ModulateAlpha ? diffuse : diffuse | 0xFF000000u;
}

struct Sampler {
    const uint32_t* texels = nullptr;
    int stride = 0, w = 1, h = 1;
    bool pow2 = false;

    explicit Sampler(const Surface* t)
    {
        if (!t)
            return;
        texels = t->argbTexels(stride);
        w = t->width();
        h = t->height();
        pow2 = (w & (w - 1)) == 0 && (h & (h - 1)) == 0;
    }
    inline int wrapX(int64_t x) const
    {
        if (pow2)
            return int(x & (w - 1));
        return int(std::clamp<int64_t>(x, 0, w - 1));
    }
    inline int wrapY(int64_t y) const
    {
        if (pow2)
            return int(y & (h - 1));
        return int(std::clamp<int64_t>(y, 0, h - 1));
    }
    inline uint32_t at(double u, double v) const
    {
        int x = wrapX(texelIndex(u * w));
        int y = wrapY(texelIndex(v * h));
        return texels[size_t(y) * size_t(stride) + size_t(x)];
    }
};

// The path upright quads take, and its row kernels (none on the plain path).
struct PathChoice {
    RasterPath path;
    const RowKernels* kernels;
};

bool processorHasAvx2()
{
#if defined(__x86_64__) || defined(__i386__)
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

const RowKernels* kernelsOf(RasterPath p)
{
    switch (p) {
    case RasterPath::Plain:
        return nullptr;
    case RasterPath::Sse2:
        return sse2RowKernels();
    case RasterPath::Avx2:
        return processorHasAvx2() ? avx2RowKernels() : nullptr;
    }
    return nullptr;
}

PathChoice& pathChoice()
{
    static PathChoice choice{fastestRasterPath(), kernelsOf(fastestRasterPath())};
    return choice;
}

// One upright quad's mapping from pixels to texels: texel columns in 32.32 fixed point
// stepped per pixel, rows looked up per pixel row.
struct QuadTexels {
    Sampler smp;
    int64_t uFix0 = 0, uStep = 0;
    double v0 = 0, y0 = 0, vScale = 0;
    // Rows mapped one to one: the first drawn row's texel row in 16.16, as exactRows gives it.
    bool oneToOneRows = false;
    int64_t firstRowFix = 0;

    const uint32_t* row(int y) const
    {
        const int ty = smp.wrapY(texelIndex(v0 + (y - y0) * vScale));
        return smp.texels + size_t(ty) * size_t(smp.stride);
    }
    // Where the row mapping is made of multiples of 1/256 of moderate size, every row's texel
    // coordinate in row() is an exact double, so stepping it in 16.16 fixed point reaches the
    // same rows without the per-row arithmetic. False where that does not hold.
    bool exactRows(int y, int64_t& t, int64_t& step) const
    {
        if (oneToOneRows) {
            t = firstRowFix + (int64_t(y) << 16);
            step = int64_t(1) << 16;
            return true;
        }
        auto fine = [](double x, double limit) {
            return std::fabs(x) < limit && x * 256 == double(texelIndex(x * 256));
        };
        if (!fine(v0, 1 << 20) || !fine(y0, 1 << 20) || !fine(vScale, 256) || std::abs(y) >= 1 << 20)
            return false;
        t = int64_t((v0 + (y - y0) * vScale) * 65536.0);
        step = int64_t(vScale * 65536.0);
        return true;
    }
    const uint32_t* rowAt(int64_t t) const
    {
        return smp.texels + size_t(smp.wrapY(t >> 16)) * size_t(smp.stride);
    }
    // n texels of a row from pixel offset i of the quad's first column on.
    void gather(const uint32_t* texRow, int i, int n, uint32_t* out) const
    {
        int64_t uf = uFix0 + int64_t(i) * uStep;
        for (int k = 0; k < n; ++k, uf += uStep) {
            const int64_t tx = uf >> 32;
            out[k] = texRow[smp.pow2 ? int(tx & (smp.w - 1)) : int(std::clamp<int64_t>(tx, 0, smp.w - 1))];
        }
    }
};

// The per-pixel equations, with nothing skipped or combined: the reference every fast path
// must match. texRow is null for an untextured quad.
void plainRow(const QuadTexels* q, const uint32_t* texRow, uint32_t* row, int x0, int x1, uint32_t diffuse,
              Mode mode, const RenderStates& st)
{
    for (int x = x0; x < x1; ++x) {
        uint32_t s = diffuse;
        if (texRow) {
            q->gather(texRow, x - x0, 1, &s);
            s = shade(s, diffuse, st.textureBlend);
        }
        row[x] = blendWith(mode, st, s, row[x]);
    }
}

inline uint32_t* rowOf(Surface& dst, int y)
{
    return reinterpret_cast<uint32_t*>(dst.data() + size_t(y) * size_t(dst.pitch()));
}

constexpr int kChunk = 256;
void fastUntexturedQuad(Surface& dst, const RowKernels& k, Mode mode, const RenderStates& st, uint32_t s, int cx0,
                        int cx1, int cy0, int cy1)
{
    const uint32_t a = s >> 24;
    if ((mode == Mode::Other && !st.alphaBlend) || (mode == Mode::Normal && a == 255)) {
        k.fill(rowOf(dst, cy0) + cx0, dst.pitch(), cx1 - cx0, cy1 - cy0, s);
        return;
    }
    if ((mode == Mode::Normal || mode == Mode::Darken || mode == Mode::Add) && a == 0)
        return;
    if (mode != Mode::Normal && mode != Mode::Darken) {
        for (int y = cy0; y < cy1; ++y)
            plainRow(nullptr, nullptr, rowOf(dst, y), cx0, cx1, s, mode, st);
        return;
    }
    uint32_t span[kChunk];
    std::fill(span, span + kChunk, s);
    const auto fn = mode == Mode::Normal ? k.normal : k.darken;
    for (int x = cx0; x < cx1; x += kChunk)
        fn(span, 0, rowOf(dst, cy0) + x, dst.pitch(), std::min(kChunk, cx1 - x), cy1 - cy0, 0xFFFFFFFFu);
}

void fastTexturedQuad(Surface& dst, const Surface& texture, const RowKernels& k, Mode mode, const RenderStates& st,
                      const QuadTexels& q, uint32_t diffuse, int cx0, int cx1, int cy0, int cy1)
{
    const uint32_t tint = diffuse == 0xFFFFFFFFu ? diffuse : tintOf(diffuse, st.textureBlend);
    const bool blends = mode == Mode::Normal || mode == Mode::Darken || mode == Mode::Add;
    // A source alpha of 0 everywhere leaves every blend here untouched.
    if (blends && (tint >> 24) == 0)
        return;
    const int n = cx1 - cx0;
    const int64_t first = q.uFix0 >> 32;
    const bool direct = q.uStep == (int64_t(1) << 32) && first >= 0 && first + n <= q.smp.w;
    // Texels that land unchanged: straight copies.
    const bool copies = tint == 0xFFFFFFFFu && ((mode == Mode::Other && !st.alphaBlend) ||
                                                 (mode == Mode::Normal && texture.opaque()));
    int64_t t = 0, step = 0;
    const bool stepped = q.exactRows(cy0, t, step);
    // Texel rows one after another inside the texture: the quad is one rectangle of texels.
    const bool consecutive = direct && stepped && step == int64_t(1) << 16 && (t >> 16) >= 0 &&
                             (t >> 16) + (cy1 - cy0) <= q.smp.h;
    const ptrdiff_t texPitch = ptrdiff_t(q.smp.stride) * 4;
    if (copies && direct && stepped) {
        // Background tiles: texel rows one after another, or rows stepped or wrapping.
        if (consecutive) {
            k.copy(q.rowAt(t) + first, texPitch, rowOf(dst, cy0) + cx0, dst.pitch(), n, cy1 - cy0);
            return;
        }
        for (int y = cy0; y < cy1; ++y, t += step)
            k.copy(q.rowAt(t) + first, 0, rowOf(dst, y) + cx0, 0, n, 1);
        return;
    }
    if (copies) {
        for (int y = cy0; y < cy1; ++y) {
            uint32_t* row = rowOf(dst, y) + cx0;
            if (direct)
                std::memcpy(row, q.row(y) + first, size_t(n) * 4);
            else
                q.gather(q.row(y), 0, n, row);
        }
        return;
    }
    if (mode != Mode::Normal && mode != Mode::Darken) {
        for (int y = cy0; y < cy1; ++y)
            plainRow(&q, q.row(y), rowOf(dst, y), cx0, cx1, diffuse, mode, st);
        return;
    }
    const auto fn = mode == Mode::Normal ? k.normal : k.darken;
    if (consecutive) {
        fn(q.rowAt(t) + first, texPitch, rowOf(dst, cy0) + cx0, dst.pitch(), n, cy1 - cy0, tint);
        return;
    }
    uint32_t span[kChunk];
    for (int y = cy0; y < cy1; ++y, t += step) {
        const uint32_t* texRow = stepped ? q.rowAt(t) : q.row(y);
        uint32_t* row = rowOf(dst, y) + cx0;
        if (direct) {
            fn(texRow + first, 0, row, 0, n, 1, tint);
            continue;
        }
        for (int i = 0; i < n; i += kChunk) {
            const int m = std::min(kChunk, n - i);
            q.gather(texRow, i, m, span);
            fn(span, 0, row + i, 0, m, 1, tint);
        }
    }
}

// The two triangles of a strip of four that make an upright rectangle with upright texture
// coordinates and one colour: the shape of nearly everything the engine draws.
bool isUprightQuad(const Vertex* v)
{
    return v[0].y == v[1].y && v[2].y == v[3].y && v[0].x == v[2].x && v[1].x == v[3].x && v[0].u == v[2].u &&
           v[1].u == v[3].u && v[0].v == v[1].v && v[2].v == v[3].v && v[1].x > v[0].x && v[2].y > v[0].y &&
           v[0].diffuse == v[1].diffuse && v[0].diffuse == v[2].diffuse && v[0].diffuse == v[3].diffuse;
}

// Sets q's texel mapping for the quad v, whose first drawn column is cx0. False when the
// coordinates are beyond use (infinite or NaN).
bool generalMapping(const Vertex* v, int cx0, QuadTexels& q)
{
    const Sampler& smp = q.smp;
    const double x0 = v[0].x, x1 = v[1].x, y0 = v[0].y, y1 = v[2].y;
    // Far-off coordinates are brought near: a wrapping texture repeats every w texels, a
    // clamped one never reads past its edge, and no step is longer than a texture.
    const double uScale = std::clamp(ratio((double(v[1].u) - v[0].u) * smp.w, x1 - x0), -65536.0, 65536.0);
    double uStart = double(v[0].u) * smp.w + (cx0 - x0) * uScale;
    if (!std::isfinite(uStart) || !std::isfinite(uScale))
        return false;
    if (smp.pow2 && !(uStart >= 0 && uStart < smp.w))
        uStart = std::fmod(uStart, double(smp.w));
    else if (!smp.pow2)
        uStart = std::clamp(uStart, -1.0, double(smp.w) + 1.0);
    // Both are well inside the range texelIndex floors exactly.
    q.uFix0 = texelIndex(uStart * 4294967296.0);
    q.uStep = texelIndex(uScale * 4294967296.0);
    q.v0 = double(v[0].v) * smp.h;
    q.y0 = y0;
    q.vScale = ratio((double(v[2].v) - v[0].v) * smp.h, y1 - y0);
    return true;
}

// A whole number of moderate size.
inline bool whole(double x, int64_t& i)
{
    constexpr double kLimit = 1048576.0; // 2^20
    if (!(x > -kLimit && x < kLimit))
        return false;
    i = int64_t(x);
    return double(i) == x;
}

// An upright quad's corners in integers: positions in 1/256 of a pixel, texel positions whole.
struct OneToOne {
    int64_t x0, x1, y0, y1, u0, u1, v0, v2;
};

// Texels mapped one to one from whole texel positions onto corners at multiples of 1/256 of a
// pixel (whole pixels, or the half-pixel offset sprites are drawn at): tiles, glyphs and
// pictures drawn at their size. Texture coordinates that land on whole texels are multiples of
// 1/4096, so every difference the general mapping takes of them is exact and both its scales
// are 1: it reaches the same numbers as these integers.
bool oneToOneCorners(const Vertex* v, int w, int h, OneToOne& c)
{
#if defined(__SSE2__)
    // All eight tested at once, as every tile drawn asks. Positions scaled by 256 stay exact in
    // float; a texture coordinate times a size can need more bits than a float has, so the
    // texel positions are doubles. Near means below 2^20 either way, as whole() asks.
    const __m128 pos = _mm_mul_ps(_mm_setr_ps(v[0].x, v[1].x, v[0].y, v[2].y), _mm_set1_ps(256.0f));
    const __m128d us = _mm_mul_pd(_mm_cvtps_pd(_mm_setr_ps(v[0].u, v[1].u, 0, 0)), _mm_set1_pd(double(w)));
    const __m128d vs = _mm_mul_pd(_mm_cvtps_pd(_mm_setr_ps(v[0].v, v[2].v, 0, 0)), _mm_set1_pd(double(h)));
    const __m128i ipos = _mm_cvttps_epi32(pos), ius = _mm_cvttpd_epi32(us), ivs = _mm_cvttpd_epi32(vs);
    const __m128 absPos = _mm_and_ps(pos, _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF)));
    const __m128 posWhole = _mm_and_ps(_mm_cmplt_ps(absPos, _mm_set1_ps(1048576.0f)),
                                       _mm_cmpeq_ps(_mm_cvtepi32_ps(ipos), pos));
    auto texelsWhole = [](__m128d x, __m128i ix) {
        const __m128d absX = _mm_and_pd(x, _mm_castsi128_pd(_mm_set1_epi64x(0x7FFFFFFFFFFFFFFF)));
        return _mm_movemask_pd(_mm_and_pd(_mm_cmplt_pd(absX, _mm_set1_pd(1048576.0)),
                                          _mm_cmpeq_pd(_mm_cvtepi32_pd(ix), x))) == 3;
    };
    if (_mm_movemask_ps(posWhole) != 15 || !texelsWhole(us, ius) || !texelsWhole(vs, ivs))
        return false;
    alignas(16) int32_t p[4], u[4], t[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(p), ipos);
    _mm_store_si128(reinterpret_cast<__m128i*>(u), ius);
    _mm_store_si128(reinterpret_cast<__m128i*>(t), ivs);
    c = OneToOne{p[0], p[1], p[2], p[3], u[0], u[1], t[0], t[1]};
#else
    if (!whole(v[0].x * 256.0, c.x0) || !whole(v[1].x * 256.0, c.x1) || !whole(v[0].y * 256.0, c.y0) ||
        !whole(v[2].y * 256.0, c.y1) || !whole(double(v[0].u) * w, c.u0) || !whole(double(v[1].u) * w, c.u1) ||
        !whole(double(v[0].v) * h, c.v0) || !whole(double(v[2].v) * h, c.v2))
        return false;
#endif
    return (c.u1 - c.u0) * 256 == c.x1 - c.x0 && (c.v2 - c.v0) * 256 == c.y1 - c.y0;
}

// The general mapping's result for a one-to-one quad inside the texture, without its divisions
// and roundings; false where the texture would wrap or clamp.
bool oneToOneMapping(const OneToOne& c, float y0, int cx0, QuadTexels& q)
{
    // The first column's texel, in 1/256 texel.
    const int64_t uStart = c.u0 * 256 + (int64_t(cx0) * 256 - c.x0);
    if (uStart < 0 || uStart >= int64_t(q.smp.w) * 256)
        return false;
    q.uFix0 = uStart * (int64_t(1) << 24);
    q.uStep = int64_t(1) << 32;
    q.v0 = double(c.v0);
    q.y0 = y0;
    q.vScale = 1.0;
    // Row y's texel row is v0 + (y - y0); kept in 16.16 less y, so any y adds on.
    q.oneToOneRows = true;
    q.firstRowFix = c.v0 * 65536 - c.y0 * 256;
    return true;
}

// The first pixel at or after a position in 1/256 pixel, pinned to [0, limit]: what
// pinned(ceilOf()) gives for the position as a double.
inline int firstPixel(int64_t pos, int limit)
{
    return int(std::clamp<int64_t>((pos + 255) >> 8, 0, limit));
}

void drawUprightQuad(Surface& dst, const Surface* texture, const RenderStates& st, const Vertex* v)
{
    const RowKernels* kernels = pathChoice().kernels;
    // The plain path, every fast path's reference, keeps to the general mapping.
    OneToOne c;
    const bool oneToOne = texture && kernels && oneToOneCorners(v, texture->width(), texture->height(), c);
    int cx0, cx1, cy0, cy1;
    if (oneToOne) {
        cx0 = firstPixel(c.x0, dst.width());
        cx1 = firstPixel(c.x1, dst.width());
        cy0 = firstPixel(c.y0, dst.height());
        cy1 = firstPixel(c.y1, dst.height());
    } else {
        cx0 = pinned(ceilOf(v[0].x), 0, dst.width());
        cx1 = pinned(ceilOf(v[1].x), 0, dst.width());
        cy0 = pinned(ceilOf(v[0].y), 0, dst.height());
        cy1 = pinned(ceilOf(v[2].y), 0, dst.height());
    }
    if (cx0 >= cx1 || cy0 >= cy1)
        return;
    const Mode mode = modeOf(st);
    const uint32_t diffuse = v[0].diffuse;

    if (!texture) {
        if (kernels) {
            fastUntexturedQuad(dst, *kernels, mode, st, diffuse, cx0, cx1, cy0, cy1);
            return;
        }
        for (int y = cy0; y < cy1; ++y)
            plainRow(nullptr, nullptr, rowOf(dst, y), cx0, cx1, diffuse, mode, st);
        return;
    }
    QuadTexels q{Sampler(texture)};
    if (!(oneToOne && oneToOneMapping(c, v[0].y, cx0, q)) && !generalMapping(v, cx0, q))
        return;
    if (kernels) {
        fastTexturedQuad(dst, *texture, *kernels, mode, st, q, diffuse, cx0, cx1, cy0, cy1);
        return;
    }
    for (int y = cy0; y < cy1; ++y)
        plainRow(&q, q.row(y), rowOf(dst, y), cx0, cx1, diffuse, mode, st);
}

struct Channels {
    double a, r, g, b;
};

Channels channelsOf(uint32_t c)
{
    return Channels{double(c >> 24), double((c >> 16) & 255), double((c >> 8) & 255), double(c & 255)};
}

uint32_t packChannels(double a, double r, double g, double b)
{
    auto q = [](double x) { return uint32_t(std::clamp(std::lround(x), 0L, 255L)); };
    return (q(a) << 24) | (q(r) << 16) | (q(g) << 8) | q(b);
}

void drawTriangle(Surface& dst, const Sampler* smp, const RenderStates& st, Mode mode, const Vertex& a, const Vertex& b0,
                  const Vertex& c0)
{
    double area = (double(b0.x) - a.x) * (double(c0.y) - a.y) - (double(b0.y) - a.y) * (double(c0.x) - a.x);
    if (area == 0 || !std::isfinite(area))
        return;
    // Interior on the positive side of every edge.
    const Vertex& b = area > 0 ? b0 : c0;
    const Vertex& c = area > 0 ? c0 : b0;
    area = std::fabs(area);
    const Vertex* p[3] = {&a, &b, &c};

    double minX = std::min({double(a.x), double(b.x), double(c.x)});
    double maxX = std::max({double(a.x), double(b.x), double(c.x)});
    double minY = std::min({double(a.y), double(b.y), double(c.y)});
    double maxY = std::max({double(a.y), double(b.y), double(c.y)});
    int x0 = pinned(std::ceil(minX), 0, dst.width()), x1 = pinned(std::floor(maxX), -1, dst.width() - 1);
    int y0 = pinned(std::ceil(minY), 0, dst.height()), y1 = pinned(std::floor(maxY), -1, dst.height() - 1);
    if (x0 > x1 || y0 > y1)
        return;

    // Edge i runs from p[i] to p[(i+1)%3]; its function is the weight of the opposite corner.
    struct Edge {
        double ax, ay, dx, dy;
        bool inclusive;
    } e[3];
    for (int i = 0; i < 3; ++i) {
        const Vertex& s = *p[i];
        const Vertex& t = *p[(i + 1) % 3];
        double dx = double(t.x) - s.x, dy = double(t.y) - s.y;
        // With y growing downwards and the interior on the positive side, a top edge runs
        // to the right and a left edge runs upwards.
        bool top = dy == 0 && dx > 0;
        bool left = dy < 0;
        e[i] = Edge{s.x, s.y, dx, dy, top || left};
    }
    Channels col[3] = {channelsOf(a.diffuse), channelsOf(b.diffuse), channelsOf(c.diffuse)};
    // One colour at every corner needs no interpolation: the weights sum to one.
    const bool flat = a.diffuse == b.diffuse && a.diffuse == c.diffuse;
    uint8_t* base = dst.data();
    for (int y = y0; y <= y1; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(base + size_t(y) * size_t(dst.pitch()));
        // Narrow the row to where the edges cross it, a pixel wider on each side; the exact
        // test below still decides every pixel, so rotated and thin shapes cost their area,
        // not their bounding box.
        double lo = x0, hi = x1;
        for (int i = 0; i < 3; ++i) {
            if (e[i].dy == 0)
                continue;
            const double cross =
                std::clamp(e[i].ax + e[i].dx * (y - e[i].ay) / e[i].dy, double(x0) - 2.0, double(x1) + 2.0);
            if (e[i].dy < 0)
                lo = std::max(lo, std::floor(cross) - 1);
            else
                hi = std::min(hi, std::ceil(cross) + 1);
        }
        const int xs = int(lo), xe = int(hi);
        for (int x = xs; x <= xe; ++x) {
            double w[3];
            bool inside = true;
            for (int i = 0; i < 3 && inside; ++i) {
                double f = e[i].dx * (y - e[i].ay) - e[i].dy * (x - e[i].ax);
                if (f < 0 || (f == 0 && !e[i].inclusive))
                    inside = false;
                w[i] = f;
            }
            if (!inside)
                continue;
            // Edge i's function weights the corner opposite it: p[(i+2)%3].
            double l0 = w[1] / area, l1 = w[2] / area, l2 = w[0] / area;
            uint32_t diffuse = a.diffuse;
            if (!flat) {
                double ca = l0 * col[0].a + l1 * col[1].a + l2 * col[2].a;
                double cr = l0 * col[0].r + l1 * col[1].r + l2 * col[2].r;
                double cg = l0 * col[0].g + l1 * col[1].g + l2 * col[2].g;
                double cb = l0 * col[0].b + l1 * col[1].b + l2 * col[2].b;
                diffuse = packChannels(ca, cr, cg, cb);
            }
            uint32_t s = diffuse;
            if (smp) {
                double u = l0 * a.u + l1 * b.u + l2 * c.u;
                double v = l0 * a.v + l1 * b.v + l2 * c.v;
                s = shade(smp->at(u, v), diffuse, st.textureBlend);
            }
            row[x] = blendWith(mode, st, s, row[x]);
        }
    }
}

} // namespace

RasterPath fastestRasterPath()
{
    if (kernelsOf(RasterPath::Avx2))
        return RasterPath::Avx2;
    if (kernelsOf(RasterPath::Sse2))
        return RasterPath::Sse2;
    return RasterPath::Plain;
}

RasterPath rasterPath()
{
    return pathChoice().path;
}

bool useRasterPath(RasterPath path)
{
    const RowKernels* k = kernelsOf(path);
    if (path != RasterPath::Plain && !k)
        return false;
    pathChoice() = PathChoice{path, k};
    return true;
}

uint32_t blendPixel(uint32_t s, uint32_t d, BlendFactor sf, BlendFactor df)
{
    uint32_t sa = s >> 24;
    uint32_t fs = factorFor(sf, sa), fd = factorFor(df, sa);
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        uint32_t sc = (s >> shift) & 255, dc = (d >> shift) & 255;
        // Factors that add up to at most one keep the sum in range; others saturate.
        uint32_t c = fs + fd <= 255 ? div255(sc * fs + dc * fd) : std::min<uint32_t>(255, div255(sc * fs) + div255(dc * fd));
        out |= c << shift;
    }
    return out;
}

void fill(Surface& dst, const Rect& r, uint32_t value)
{
    int x0 = std::max(r.left, 0), x1 = std::min(r.right, dst.width());
    int y0 = std::max(r.top, 0), y1 = std::min(r.bottom, dst.height());
    if (x0 >= x1 || y0 >= y1)
        return;
    const int bpp = bytesPerPixel(dst.format());
    if (const RowKernels* k = pathChoice().kernels; k && bpp == 4) {
        k->fill(rowOf(dst, y0) + x0, dst.pitch(), x1 - x0, y1 - y0, value);
        dst.touch();
        return;
    }
    for (int y = y0; y < y1; ++y) {
        uint8_t* row = dst.data() + size_t(y) * size_t(dst.pitch());
        if (bpp == 4) {
            std::fill(reinterpret_cast<uint32_t*>(row) + x0, reinterpret_cast<uint32_t*>(row) + x1, value);
        } else {
            uint16_t v16 = uint16_t(value);
            std::fill(reinterpret_cast<uint16_t*>(row) + x0, reinterpret_cast<uint16_t*>(row) + x1, v16);
        }
    }
    dst.touch();
}

void blit(Surface& dst, const Rect& dr, const Surface& src, const Rect& sr)
{
    const int dw = dr.width(), dh = dr.height(), sw = sr.width(), sh = sr.height();
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0)
        return;
    const bool sameFormat = dst.format() == src.format();
    const int dbpp = bytesPerPixel(dst.format()), sbpp = bytesPerPixel(src.format());
    const int x0 = std::max(dr.left, 0), x1 = std::min(dr.right, dst.width());
    const int y0 = std::max(dr.top, 0), y1 = std::min(dr.bottom, dst.height());
    const bool stretched = dw != sw || dh != sh;
    const RowKernels* kernels = pathChoice().kernels;
    if (!stretched && sameFormat && dbpp == 4 && kernels && &src != &dst) {
        // Whole pictures onto the back buffer: one rectangle of row copies, clipped to both.
        const int a = std::max(x0, dr.left - sr.left), b = std::min(x1, dr.left + (src.width() - sr.left));
        const int top = std::max(y0, dr.top - sr.top), bottom = std::min(y1, dr.top + (src.height() - sr.top));
        if (a < b && top < bottom)
            kernels->copy(reinterpret_cast<const uint32_t*>(src.data() + size_t(sr.top + (top - dr.top)) * size_t(src.pitch())) +
                              (sr.left + (a - dr.left)),
                          src.pitch(), rowOf(dst, top) + a, dst.pitch(), b - a, bottom - top);
        dst.touch();
        return;
    }
    for (int y = y0; y < y1; ++y) {
        int sy = sr.top + int(int64_t(y - dr.top) * sh / dh);
        if (sy < 0 || sy >= src.height())
            continue;
        const uint8_t* srow = src.data() + size_t(sy) * size_t(src.pitch());
        uint8_t* drow = dst.data() + size_t(y) * size_t(dst.pitch());
        if (!stretched && sameFormat) {
            // Clip the run to the source as well.
            int a = std::max(x0, dr.left + (0 - sr.left));
            int b = std::min(x1, dr.left + (src.width() - sr.left));
            if (a < b)
                std::memcpy(drow + size_t(a) * dbpp, srow + size_t(sr.left + (a - dr.left)) * sbpp, size_t(b - a) * dbpp);
            continue;
        }
        for (int x = x0; x < x1; ++x) {
            int sx = sr.left + int(int64_t(x - dr.left) * sw / dw);
            if (sx < 0 || sx >= src.width())
                continue;
            const uint8_t* sp = srow + size_t(sx) * sbpp;
            uint8_t* dp = drow + size_t(x) * dbpp;
            if (sameFormat)
                std::memcpy(dp, sp, size_t(dbpp));
            else
                fromArgb(dst.format(), toArgb(src.format(), sp), dp);
        }
    }
    dst.touch();
}

void drawStrip(Surface& dst, const Surface* texture, const RenderStates& st, const Vertex* v, int count)
{
    if (!v || count < 3 || bytesPerPixel(dst.format()) != 4)
        return;
    if (count == 4 && isUprightQuad(v)) {
        drawUprightQuad(dst, texture, st, v);
        dst.touch();
        return;
    }
    const Mode mode = modeOf(st);
    Sampler smp(texture);
    for (int i = 0; i + 2 < count; ++i)
        drawTriangle(dst, texture ? &smp : nullptr, st, mode, v[i], v[i + 1], v[i + 2]);
    dst.touch();
}

} // namespace platform::raster
