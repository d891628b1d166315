#pragma once

namespace platform {
class Audio;
class Window;
} // namespace platform

// The program's one sound device. Without it every sound object stays detached and the
// game runs mute.
class CSoundDevice {
public:
    explicit CSoundDevice(platform::Audio* audio = nullptr) : audio_(audio) {}

    void setService(platform::Audio* audio) { audio_ = audio; }
    // Opens (again) the output device; false when there is none.
    bool create(platform::Window* window);
    void release();
    bool ready() const;
    // The device handed to the sound objects: nullptr while there is none.
    platform::Audio* device() const { return ready() ? audio_ : nullptr; }

private:
    platform::Audio* audio_ = nullptr;
};
