#pragma once
#include "platform/MessageBox.h"

#include <deque>
#include <vector>

namespace platform {

// Message boxes answered from a queue the test fills. With nothing queued the box is
// answered with its first button (OK or Yes). Every box shown is recorded.
class HeadlessMessageBoxes final : public MessageBoxes {
public:
    struct Shown {
        std::string text;
        std::string caption;
        MessageBoxType type;
        bool hadOwner;
    };

    MessageBoxResult show(Window* owner, const std::string& textSjis, const std::string& captionSjis,
                          MessageBoxType type) override
    {
        shown.push_back(Shown{textSjis, captionSjis, type, owner != nullptr});
        if (!answers.empty()) {
            MessageBoxResult r = answers.front();
            answers.pop_front();
            return r;
        }
        return type == MessageBoxType::YesNo ? MessageBoxResult::Yes : MessageBoxResult::Ok;
    }

    std::deque<MessageBoxResult> answers;
    std::vector<Shown> shown;
};

} // namespace platform
