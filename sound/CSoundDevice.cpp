#include "sound/CSoundDevice.h"

#include "platform/Audio.h"

// SDL's device is not tied to a window, so the window is not needed to open it.
bool CSoundDevice::create(platform::Window*)
{
    release();
    if (!audio_)
        return false;
    return audio_->open();
}

void CSoundDevice::release()
{
    if (audio_ && audio_->isOpen())
        audio_->close();
}

bool CSoundDevice::ready() const
{
    return audio_ && audio_->isOpen();
}
