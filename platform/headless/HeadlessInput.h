#pragma once
#include "platform/Input.h"

namespace platform {

// Input without devices: the runner and the tests press the keys and buttons through the
// event side of InputSource. The window has the focus unless a test takes it away.
class HeadlessInput final : public InputSource {
public:
    bool create() override { return failCreate ? false : InputSource::create(); }

    // Makes the input system missing, for the start-up failure path.
    bool failCreate = false;
};

} // namespace platform
