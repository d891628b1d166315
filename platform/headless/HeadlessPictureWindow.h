#pragma once
#include "platform/PictureWindow.h"

#include <deque>
#include <vector>

namespace platform {

// A picture window nobody sees: the test posts the events and reads the last picture shown.
class HeadlessPictureWindow final : public PictureWindow {
public:
    bool create(const std::string& captionSjis, int x, int y, int width, int height) override
    {
        if (failCreate)
            return false;
        caption = captionSjis;
        this->x = x;
        this->y = y;
        this->width = width;
        this->height = height;
        exists = true;
        queue_.push_back(PictureEvent{PictureEventKind::Paint, 0, 0, {}});
        return true;
    }
    void destroy() override { exists = false; }
    Rect workArea() override { return work; }
    bool nextEvent(PictureEvent& ev, bool) override
    {
        if (queue_.empty())
            return false;
        ev = queue_.front();
        queue_.pop_front();
        return true;
    }
    void present(const uint32_t* argb, int w, int h) override
    {
        frame.assign(argb, argb + size_t(w) * size_t(h));
        frameWidth = w;
        frameHeight = h;
        ++presents;
    }
    void setPointer(PointerShape shape) override { pointer = shape; }
    void setTextInput(bool on) override { textInput = on; }

    void post(PictureEventKind kind, int px = 0, int py = 0, std::string text = {})
    {
        queue_.push_back(PictureEvent{kind, px, py, std::move(text)});
    }
    size_t pending() const { return queue_.size(); }

    std::string caption;
    int x = 0, y = 0, width = 0, height = 0;
    bool exists = false;
    bool failCreate = false;
    Rect work{0, 0, 1920, 1040};
    std::vector<uint32_t> frame;
    int frameWidth = 0, frameHeight = 0;
    uint64_t presents = 0;
    PointerShape pointer = PointerShape::Arrow;
    bool textInput = false;

private:
    std::deque<PictureEvent> queue_;
};

} // namespace platform
