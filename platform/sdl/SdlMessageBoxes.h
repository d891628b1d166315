#pragma once
#include "platform/MessageBox.h"

namespace platform {

class SdlMessageBoxes final : public MessageBoxes {
public:
    MessageBoxResult show(Window* owner, const std::string& textSjis, const std::string& captionSjis,
                          MessageBoxType type) override;
};

} // namespace platform
