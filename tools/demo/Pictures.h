#pragma once
// The demo's pictures: scenes, event pictures (CGs), characters and cut-ins.
#include "tools/demo/Interface.h"
#include "tools/demo/Raster.h"

#include <string>
#include <vector>

namespace demo {

enum class Sky { Day, Sunset, Night, Dawn };

Image skyWithHills(Sky sky, uint64_t seed, bool tower, bool meteors);
Image room(bool night);
Image townEvening(bool meteors);
// The title screen's picture; with a label painter it carries the game's title.
Image titlePicture(const LabelPainter& label = {});

// who 0 (Hikari, long hair) or 1 (Kai, short hair); expression 0 calm, 1 smile, 2 sad.
// 512 x 608 with soft alpha edges.
Image character(int who, int expression);
// The same figure, painted once and kept for the rest of the run.
const Image& characterShared(int who, int expression);
inline constexpr int kCharacterWidth = 512;
inline constexpr int kCharacterHeight = 608;

// Cut-in pictures (opaque, framed).
Image cutinBell();
Image cutinStar();

struct CgRecipe {
    const char* name;   // as in the game's CG list
    const char* what;
};
// The 18 event pictures, in the game's CG list order.
const std::vector<CgRecipe>& cgRecipes();
Image cgPicture(int index);

// Locked-entry thumbnail.
Image lockedThumbnail();

} // namespace demo
