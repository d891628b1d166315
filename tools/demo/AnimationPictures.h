#pragma once
// The pictures of the demo's frame animation.
#include "tools/demo/Raster.h"

namespace demo {

// The bell of the tower swinging, as four 512 x 608 character-size pictures with alpha:
// frame 0 and 3 are the two ends of the swing, 1 and 2 the middle.
inline constexpr int kBellSwingFrames = 4;
Image bellSwing(int frame);

} // namespace demo
