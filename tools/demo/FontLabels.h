#pragma once
// Captions through the project's font service.
#include "tools/demo/Interface.h"

namespace platform {
class Fonts;
}

namespace demo {

// A painter that draws captions with the given font service (which must outlive it):
// a soft dark shadow, then the text, shrunk until it fits its box.
LabelPainter fontLabelPainter(platform::Fonts& fonts);

} // namespace demo
