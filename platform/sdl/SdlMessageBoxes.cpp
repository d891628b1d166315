#include "platform/sdl/SdlMessageBoxes.h"

#include "platform/Text.h"
#include "platform/sdl/SdlWindow.h"

#include <SDL.h>
#include <cstdio>

namespace platform {

MessageBoxResult SdlMessageBoxes::show(Window* owner, const std::string& textSjis, const std::string& captionSjis,
                                       MessageBoxType type)
{
    std::string text = sjisToUtf8(textSjis);
    std::string caption = sjisToUtf8(captionSjis);
    SDL_Window* parent = nullptr;
    if (auto* w = dynamic_cast<SdlWindow*>(owner))
        parent = w->sdlWindow();

    SDL_MessageBoxButtonData buttons[2];
    int count = 0;
    switch (type) {
    case MessageBoxType::Ok:
        buttons[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "OK"};
        count = 1;
        break;
    case MessageBoxType::OkCancel:
        buttons[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 0, "OK"};
        buttons[1] = {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 1, "キャンセル"};
        count = 2;
        break;
    case MessageBoxType::YesNo:
        buttons[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 0, "はい"};
        buttons[1] = {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 1, "いいえ"};
        count = 2;
        break;
    }
    SDL_MessageBoxData data{};
    data.flags = SDL_MESSAGEBOX_INFORMATION;
    data.window = parent;
    data.title = caption.c_str();
    data.message = text.c_str();
    data.numbuttons = count;
    data.buttons = buttons;
    int pressed = -1;
    if (SDL_ShowMessageBox(&data, &pressed) != 0) {
        // No display to ask on: say it on the terminal and take the safe answer.
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        pressed = (type == MessageBoxType::Ok) ? 0 : 1;
    }
    switch (type) {
    case MessageBoxType::Ok:
        return MessageBoxResult::Ok;
    case MessageBoxType::OkCancel:
        return pressed == 0 ? MessageBoxResult::Ok : MessageBoxResult::Cancel;
    case MessageBoxType::YesNo:
        return pressed == 0 ? MessageBoxResult::Yes : MessageBoxResult::No;
    }
    return MessageBoxResult::Ok;
}

} // namespace platform
