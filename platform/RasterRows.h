#pragma once
// The blend loops an upright quad's rows run through, in one variant per instruction set.
// Every variant computes the same integers as the per-pixel equations, so the rasteriser may
// use whichever the processor runs fastest and a test can hold them side by side.
#include <cstddef>
#include <cstdint>

namespace platform::raster {

// Source texels are first multiplied channel by channel by `tint` (0xAARRGGBB, each channel
// over 255; 0xFFFFFFFF leaves them as they are), then, with sa the tinted source alpha:
//   normal: d = s * sa + d * (255 - sa), over 255 and rounded, on every channel
//   darken: d = d * (255 - sa), over 255 and rounded, on every channel
// Runs of fully transparent texels leave the destination untouched (as the equations do).
// copy moves the texels unchanged; fill stores one value. Each works on `rows` rows of n pixels, the pitches (in
// bytes) apart; a source pitch of 0 uses one row for all. Source and destination never overlap.
struct RowKernels {
    void (*fill)(uint32_t* d, ptrdiff_t dPitch, int n, int rows, uint32_t value);
    void (*copy)(const uint32_t* s, ptrdiff_t sPitch, uint32_t* d, ptrdiff_t dPitch, int n, int rows);
    void (*normal)(const uint32_t* s, ptrdiff_t sPitch, uint32_t* d, ptrdiff_t dPitch, int n, int rows, uint32_t tint);
    void (*darken)(const uint32_t* s, ptrdiff_t sPitch, uint32_t* d, ptrdiff_t dPitch, int n, int rows, uint32_t tint);
};

// Defined only where the build can make them; nullptr otherwise.
const RowKernels* sse2RowKernels();
const RowKernels* avx2RowKernels();

} // namespace platform::raster
