#pragma once
#include "platform/RasterPixel.h"
#include "platform/Video.h"

namespace platform::raster {

// Fills r (clipped to the surface) with a value in the surface's format.
void fill(Surface& dst, const Rect& r, uint32_t value);

// Copies srcRect of src to dstRect of dst, nearest-stretched when the sizes differ, clipped
// to both surfaces, converting the pixel format.
void blit(Surface& dst, const Rect& dstRect, const Surface& src, const Rect& srcRect);

// Draws a triangle strip of pre-transformed vertices into an X8R8G8B8 or A8R8G8B8 target.
// Pixel centres lie on integer coordinates; a pixel belongs to a triangle when its centre
// is inside or on a top or left edge. Textures are sampled nearest, wrapping on
// power-of-two sizes and clamped otherwise.
void drawStrip(Surface& dst, const Surface* texture, const RenderStates& states, const Vertex* v, int count);

// The code upright quads are drawn with. Plain is the per-pixel equations and nothing else,
// the reference the others are held to; the others add row copies, skip fully transparent
// runs and blend rows with the vector units of their instruction set. All give the same
// pixels; the fastest the processor runs is chosen at start.
enum class RasterPath { Plain, Sse2, Avx2 };
RasterPath fastestRasterPath();
RasterPath rasterPath();
// False, changing nothing, when this processor or build cannot take the path.
bool useRasterPath(RasterPath path);

// One blended pixel: source colour s (alpha already the source alpha), destination d.
uint32_t blendPixel(uint32_t s, uint32_t d, BlendFactor sf, BlendFactor df);

} // namespace platform::raster
