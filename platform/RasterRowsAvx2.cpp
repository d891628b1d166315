// The row blend loops eight pixels at a time, for processors with AVX2;
// this file alone is compiled for AVX2 and is called only after the processor says it has it.
#include "platform/RasterRows.h"

#if defined(__AVX2__)
#include <immintrin.h>

#include "platform/RasterRowsSimd.inl"

namespace {

struct Avx2 {
    using V = __m256i;
    static constexpr int kPixels = 8;
    static constexpr int kAllBits = -1;
    static V load(const uint32_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
    static void store(uint32_t* p, V v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }
    static V zero() { return _mm256_setzero_si256(); }
    static V set16(int v) { return _mm256_set1_epi16(short(v)); }
    static V set32(uint32_t v) { return _mm256_set1_epi32(int(v)); }
    static V and_(V a, V b) { return _mm256_and_si256(a, b); }
    static V andnot_(V a, V b) { return _mm256_andnot_si256(a, b); }
    static V or_(V a, V b) { return _mm256_or_si256(a, b); }
    static V cmpeq32(V a, V b) { return _mm256_cmpeq_epi32(a, b); }
    static int movemask8(V v) { return _mm256_movemask_epi8(v); }
    static V unpackLo8(V a, V b) { return _mm256_unpacklo_epi8(a, b); }
    static V unpackHi8(V a, V b) { return _mm256_unpackhi_epi8(a, b); }
    static V packus16(V a, V b) { return _mm256_packus_epi16(a, b); }
    static V add16(V a, V b) { return _mm256_add_epi16(a, b); }
    static V sub16(V a, V b) { return _mm256_sub_epi16(a, b); }
    static V mullo16(V a, V b) { return _mm256_mullo_epi16(a, b); }
    static V mulhi16(V a, V b) { return _mm256_mulhi_epu16(a, b); }
    template <int Imm>
    static V shuffleHiLo(V v)
    {
        return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(v, Imm), Imm);
    }
};

const platform::raster::RowKernels kAvx2{fillRows<Avx2>, copyRows<Avx2>, normalRows<Avx2>, darkenRows<Avx2>};

} // namespace

const platform::raster::RowKernels* platform::raster::avx2RowKernels()
{
    return &kAvx2;
}

#else

const platform::raster::RowKernels* platform::raster::avx2RowKernels()
{
    return nullptr;
}

#endif
