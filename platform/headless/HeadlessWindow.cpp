#include "platform/headless/HeadlessWindow.h"

namespace platform {

bool HeadlessWindow::create(const std::string& titleSjis, int x, int y, int width, int height, bool fullscreen)
{
    if (failCreate)
        return false;
    title = titleSjis;
    this->x = x;
    this->y = y;
    this->width = width;
    this->height = height;
    this->fullscreen = fullscreen;
    visible = false;
    exists_ = true;
    return true;
}

void HeadlessWindow::show(ShowCommand cmd)
{
    showHistory.push_back(cmd);
    switch (cmd) {
    case ShowCommand::Hide:
        visible = false;
        break;
    case ShowCommand::Show:
    case ShowCommand::ShowNormal:
        visible = true;
        minimized = false;
        break;
    case ShowCommand::Minimize:
        visible = true;
        minimized = true;
        break;
    }
}

bool HeadlessWindow::pollMessage(WindowEvent& ev)
{
    if (queue_.empty())
        return false;
    ev = queue_.front();
    queue_.pop_front();
    return true;
}

} // namespace platform
