// The blend loops of RasterRows.h written once over a vector type W (SSE2's 128 bits or
// AVX2's 256 bits); each instruction-set translation unit includes this with its own W.
// Channels are widened to 16-bit lanes, where s * a + d * (255 - a) + 128 never exceeds
// 65535 and (x + 128) * 257 >> 16 equals the rounded division by 255 that div255 does, so
// the results match the scalar equations bit for bit. Internal linkage throughout: nothing
// here may be merged with code built for another instruction set.
#include "platform/RasterPixel.h"
#include "platform/RasterRows.h"

#include <type_traits>

namespace {

using platform::raster::darkenPacked;
using platform::raster::lerpPacked;
using platform::raster::tintPacked;

template <class W>
inline typename W::V div255w(typename W::V x)
{
    return W::mulhi16(W::add16(x, W::set16(128)), W::set16(257));
}

// Each pixel's alpha lane copied into its four 16-bit lanes.
template <class W>
inline typename W::V alphas16(typename W::V wide)
{
    return W::template shuffleHiLo<0xFF>(wide);
}

template <class W>
inline bool all(typename W::V mask32)
{
    return W::movemask8(mask32) == W::kAllBits;
}

// Pixels whose alpha is 0 or 255 only, as text and most picture interiors are, need no
// arithmetic: each is the source or the destination (or black, darkening). The masks say
// which pixels are fully opaque and which are fully transparent.
template <class W>
inline bool hardEdged(typename W::V sv, typename W::V& opaque, typename W::V& clear)
{
    const typename W::V amask = W::set32(0xFF000000u), a = W::and_(sv, amask);
    opaque = W::cmpeq32(a, amask);
    clear = W::cmpeq32(a, W::zero());
    return all<W>(W::or_(opaque, clear));
}

// Rows a pitch apart are not foreseen by the processor: the rows this far ahead are asked for
// early, at both ends (it streams what lies between).
constexpr int kAhead = 4;

template <class T>
inline T* pitched(T* p, ptrdiff_t bytes)
{
    using Byte = std::conditional_t<std::is_const_v<T>, const char, char>;
    return reinterpret_cast<T*>(reinterpret_cast<Byte*>(p) + bytes);
}

inline void prefetchAhead(const uint32_t* p, ptrdiff_t pitch, int n)
{
    const uint32_t* ahead = pitched(p, kAhead * pitch);
    __builtin_prefetch(ahead);
    __builtin_prefetch(ahead + n - 1);
}

// A rectangle's rows through one row function, prefetching as they go. Short rows (a 32-pixel
// tile) cost more in a call per row than in their pixels.
template <class Row>
inline void eachRow(const uint32_t* s, ptrdiff_t sPitch, uint32_t* d, ptrdiff_t dPitch, int n, int rows, bool readsDst,
                    Row row)
{
    for (int r = 0; r < rows; ++r, s = pitched(s, sPitch), d = pitched(d, dPitch)) {
        if (r + kAhead < rows) {
            prefetchAhead(s, sPitch, n);
            if (readsDst)
                prefetchAhead(d, dPitch, n);
        }
        row(s, d);
    }
}

// Rows of N pixels, N a whole number of vectors fixed when compiled. A 32-pixel tile's row
// moves in a few instructions, and at that size the loop's own tests would cost as much as
// the memory: a frame of background tiles is 15,000 such rows.
template <class W, int N>
void copyFixedRows(const uint32_t* s, ptrdiff_t sPitch, uint32_t* d, ptrdiff_t dPitch, int rows)
{
    static_assert(N % W::kPixels == 0);
    auto row = [](const uint32_t* s, uint32_t* d) {
        for (int i = 0; i < N; i += W::kPixels)
            W::store(d + i, W::load(s + i));
    };
    int r = 0;
    for (; r + kAhead < rows; ++r, s = pitched(s, sPitch), d = pitched(d, dPitch)) {
        prefetchAhead(s, sPitch, N);
        row(s, d);
    }
    for (; r < rows; ++r, s = pitched(s, sPitch), d = pitched(d, dPitch))
        row(s, d);
}

template <class W>
void copyRows(const uint32_t* s, ptrdiff_t sPitch, uint32_t* d, ptrdiff_t dPitch, int n, int rows)
{
    if (n == 32) {
        copyFixedRows<W, 32>(s, sPitch, d, dPitch, rows);
        return;
    }
    eachRow(s, sPitch, d, dPitch, n, rows, false, [n](const uint32_t* s, uint32_t* d) {
        int i = 0;
        for (; i + 2 * W::kPixels <= n; i += 2 * W::kPixels) {
            const typename W::V a = W::load(s + i), b = W::load(s + i + W::kPixels);
            W::store(d + i, a);
            W::store(d + i + W::kPixels, b);
        }
        for (; i + W::kPixels <= n; i += W::kPixels)
            W::store(d + i, W::load(s + i));
        for (; i < n; ++i)
            d[i] = s[i];
    });
}

template <class W>
void fillRows(uint32_t* d, ptrdiff_t dPitch, int n, int rows, uint32_t value)
{
    const typename W::V v = W::set32(value);
    for (int r = 0; r < rows; ++r, d = pitched(d, dPitch)) {
        int i = 0;
        for (; i + 2 * W::kPixels <= n; i += 2 * W::kPixels) {
            W::store(d + i, v);
            W::store(d + i + W::kPixels, v);
        }
        for (; i < n; ++i)
            d[i] = value;
    }
}

template <class W>
inline void normalRow(const uint32_t* s, uint32_t* d, int n, uint32_t tint)
{
    using V = typename W::V;
    const V zero = W::zero(), amask = W::set32(0xFF000000u), full = W::set16(255);
    const V m = W::unpackLo8(W::set32(tint), zero);
    const bool tinted = tint != 0xFFFFFFFFu;
    int i = 0;
    for (; i + W::kPixels <= n; i += W::kPixels) {
        V sv = W::load(s + i);
        if (all<W>(W::cmpeq32(W::and_(sv, amask), zero)))
            continue;
        V lo = W::unpackLo8(sv, zero), hi = W::unpackHi8(sv, zero);
        if (tinted) {
            lo = div255w<W>(W::mullo16(lo, m));
            hi = div255w<W>(W::mullo16(hi, m));
            sv = W::packus16(lo, hi);
        }
        if (all<W>(W::cmpeq32(W::and_(sv, amask), amask))) {
            W::store(d + i, sv);
            continue;
        }
        const V dv = W::load(d + i);
        V opaque, clear;
        if (hardEdged<W>(sv, opaque, clear)) {
            W::store(d + i, W::or_(W::and_(opaque, sv), W::andnot_(opaque, dv)));
            continue;
        }
        const V alo = alphas16<W>(lo), ahi = alphas16<W>(hi);
        lo = W::add16(W::mullo16(lo, alo), W::mullo16(W::unpackLo8(dv, zero), W::sub16(full, alo)));
        hi = W::add16(W::mullo16(hi, ahi), W::mullo16(W::unpackHi8(dv, zero), W::sub16(full, ahi)));
        W::store(d + i, W::packus16(div255w<W>(lo), div255w<W>(hi)));
    }
    for (; i < n; ++i) {
        const uint32_t t = tintPacked(s[i], tint);
        d[i] = lerpPacked(t, d[i], t >> 24);
    }
}

template <class W>
inline void darkenRow(const uint32_t* s, uint32_t* d, int n, uint32_t tint)
{
    using V = typename W::V;
    const V zero = W::zero(), amask = W::set32(0xFF000000u), full = W::set16(255);
    // Only the alpha channel of the tint matters: the source colour is not drawn.
    const V m = W::unpackLo8(W::set32(tint | 0x00FFFFFFu), zero);
    const bool tinted = (tint >> 24) != 255;
    int i = 0;
    for (; i + W::kPixels <= n; i += W::kPixels) {
        V sv = W::load(s + i);
        if (all<W>(W::cmpeq32(W::and_(sv, amask), zero)))
            continue;
        const V dv = W::load(d + i);
        V opaque, clear;
        if (!tinted && hardEdged<W>(sv, opaque, clear)) {
            W::store(d + i, W::andnot_(opaque, dv));
            continue;
        }
        V lo = W::unpackLo8(sv, zero), hi = W::unpackHi8(sv, zero);
        if (tinted) {
            lo = div255w<W>(W::mullo16(lo, m));
            hi = div255w<W>(W::mullo16(hi, m));
        }
        const V ilo = W::sub16(full, alphas16<W>(lo)), ihi = W::sub16(full, alphas16<W>(hi));
        lo = div255w<W>(W::mullo16(W::unpackLo8(dv, zero), ilo));
        hi = div255w<W>(W::mullo16(W::unpackHi8(dv, zero), ihi));
        W::store(d + i, W::packus16(lo, hi));
    }
    for (; i < n; ++i) {
        const uint32_t a = tintPacked(s[i], tint | 0x00FFFFFFu) >> 24;
        if (a != 0)
            d[i] = darkenPacked(d[i], a);
    }
}

// Glyph cells and window tiles are 32 pixels wide: their rows get a loop built for that width.
template <class W>
void normalRows(const uint32_t* s, ptrdiff_t sPitch, uint32_t* d, ptrdiff_t dPitch, int n, int rows, uint32_t tint)
{
    if (n == 32)
        eachRow(s, sPitch, d, dPitch, 32, rows, true,
                [tint](const uint32_t* s, uint32_t* d) { normalRow<W>(s, d, 32, tint); });
    else
        eachRow(s, sPitch, d, dPitch, n, rows, true,
                [n, tint](const uint32_t* s, uint32_t* d) { normalRow<W>(s, d, n, tint); });
}

template <class W>
void darkenRows(const uint32_t* s, ptrdiff_t sPitch, uint32_t* d, ptrdiff_t dPitch, int n, int rows, uint32_t tint)
{
    if (n == 32)
        eachRow(s, sPitch, d, dPitch, 32, rows, true,
                [tint](const uint32_t* s, uint32_t* d) { darkenRow<W>(s, d, 32, tint); });
    else
        eachRow(s, sPitch, d, dPitch, n, rows, true,
                [n, tint](const uint32_t* s, uint32_t* d) { darkenRow<W>(s, d, n, tint); });
}

} // namespace
