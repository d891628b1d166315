#pragma once
#include <memory>

namespace platform {

class Clock;
class Window;
class MessageBoxes;
class InstanceLock;
// Services whose backends come with their own subsystems.
class Video;
class InputSource;
class Audio;
class Fonts;
// The installer's window and desktop shell.
class PictureWindow;
class Shell;
class SystemInfo;

// The platform services one run of the program uses. A backend owns them; the engine
// only holds these pointers and never knows which backend it runs on.
struct Services {
    Clock* clock = nullptr;
    Window* window = nullptr;
    MessageBoxes* messageBoxes = nullptr;
    InstanceLock* instanceLock = nullptr;
    Video* video = nullptr;
    InputSource* input = nullptr;
    Audio* audio = nullptr;
    Fonts* fonts = nullptr;
    PictureWindow* pictureWindow = nullptr;
    Shell* shell = nullptr;
    SystemInfo* systemInfo = nullptr;
};

class Backend {
public:
    virtual ~Backend() = default;
    Services services;
};

} // namespace platform
