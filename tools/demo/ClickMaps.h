#pragma once
// Hot-spot maps from their sources in demo/click: one rectangle per line, painted in the
// exact colour of its region so that no edge pixel falls between two regions.
#include "tools/demo/Raster.h"

#include <string>

namespace demo {

// Lines "L x y w h [words]" with L one of A..G; blank lines and lines starting with '#' are
// skipped. Later rectangles paint over earlier ones. False with the line's fault in error.
bool clickMapFromSource(const std::string& text, Image& map, std::string& error);

// The colour that marks region L (A red, B green, C blue, D yellow, E cyan, F magenta,
// G white).
uint32_t clickRegionColour(char letter);

} // namespace demo
