#include "platform/sdl/SdlAudio.h"

#include "platform/DebugOutput.h"

#include <SDL.h>
#include <chrono>
#include <string>
#include <thread>

namespace platform {

namespace {
void audioCallback(void* userdata, Uint8* stream, int len)
{
    auto* mixer = static_cast<Mixer*>(userdata);
    mixer->mix(reinterpret_cast<int16_t*>(stream), size_t(len) / (sizeof(int16_t) * mixer->outChannels()));
}
} // namespace

SdlAudio::~SdlAudio()
{
    close();
}

bool SdlAudio::open()
{
    close();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        debugOutput(std::string("ADV_SYSTEM: SDL audio: ") + SDL_GetError());
        return false;
    }
    subsystem_ = true;
    SDL_AudioSpec want{};
    want.freq = int(mixer_->outRate());
    want.format = AUDIO_S16SYS;
    want.channels = Uint8(mixer_->outChannels());
    want.samples = 1024;
    want.callback = audioCallback;
    want.userdata = mixer_.get();
    SDL_AudioSpec have{};
    // SDL converts to whatever the card wants; the mixer always makes 44.1 kHz stereo.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device_ == 0) {
        debugOutput(std::string("ADV_SYSTEM: SDL_OpenAudioDevice: ") + SDL_GetError());
        close();
        return false;
    }
    open_.store(true);
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

void SdlAudio::close()
{
    open_.store(false);
    if (device_) {
        SDL_CloseAudioDevice(device_);
        device_ = 0;
    }
    if (subsystem_) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        subsystem_ = false;
    }
}

uint32_t SdlAudio::now()
{
    using namespace std::chrono;
    return uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void SdlAudio::sleep(uint32_t ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace platform
