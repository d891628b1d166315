#pragma once
#include <string>

namespace platform {

class Window;

enum class MessageBoxType { Ok, OkCancel, YesNo };
enum class MessageBoxResult { Ok, Cancel, Yes, No };

// Modal message boxes. Text and caption are Shift-JIS.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // owner may be null (a box without owner window).
    virtual MessageBoxResult show(Window* owner, const std::string& textSjis, const std::string& captionSjis,
                                  MessageBoxType type) = 0;
};

} // namespace platform
