// The row blend loops four pixels at a time: every x86-64 processor has SSE2.
#include "platform/RasterRows.h"

#if defined(__SSE2__)
#include <emmintrin.h>

#include "platform/RasterRowsSimd.inl"

namespace {

struct Sse2 {
    using V = __m128i;
    static constexpr int kPixels = 4;
    static constexpr int kAllBits = 0xFFFF;
    static V load(const uint32_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
    static void store(uint32_t* p, V v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
    static V zero() { return _mm_setzero_si128(); }
    static V set16(int v) { return _mm_set1_epi16(short(v)); }
    static V set32(uint32_t v) { return _mm_set1_epi32(int(v)); }
    static V and_(V a, V b) { return _mm_and_si128(a, b); }
    static V andnot_(V a, V b) { return _mm_andnot_si128(a, b); }
    static V or_(V a, V b) { return _mm_or_si128(a, b); }
    static V cmpeq32(V a, V b) { return _mm_cmpeq_epi32(a, b); }
    static int movemask8(V v) { return _mm_movemask_epi8(v); }
    static V unpackLo8(V a, V b) { return _mm_unpacklo_epi8(a, b); }
    static V unpackHi8(V a, V b) { return _mm_unpackhi_epi8(a, b); }
    static V packus16(V a, V b) { return _mm_packus_epi16(a, b); }
    static V add16(V a, V b) { return _mm_add_epi16(a, b); }
    static V sub16(V a, V b) { return _mm_sub_epi16(a, b); }
    static V mullo16(V a, V b) { return _mm_mullo_epi16(a, b); }
    static V mulhi16(V a, V b) { return _mm_mulhi_epu16(a, b); }
    template <int Imm>
    static V shuffleHiLo(V v)
    {
        return _mm_shufflehi_epi16(_mm_shufflelo_epi16(v, Imm), Imm);
    }
};

const platform::raster::RowKernels kSse2{fillRows<Sse2>, copyRows<Sse2>, normalRows<Sse2>, darkenRows<Sse2>};

} // namespace

const platform::raster::RowKernels* platform::raster::sse2RowKernels()
{
    return &kSse2;
}

#else

const platform::raster::RowKernels* platform::raster::sse2RowKernels()
{
    return nullptr;
}

#endif
