#include "app/CDirectX.h"

#include "platform/Text.h"
#include "script/GameScreen.h"

CDirectX::CDirectX(platform::Services& services) : sys(services), title(SJ("星降る丘の鐘"))
{
    registerGameScreen(*this);
}

CDirectX::~CDirectX() = default;

void CDirectX::registerScreen(ScreenState state, std::function<void(CDirectX&)> logic,
                              std::function<void(CDirectX&)> draw)
{
    if (int32_t(state) < 0 || size_t(state) >= screens.size())
        return;
    screens[size_t(state)] = ScreenPhases{std::move(logic), std::move(draw)};
}

void CDirectX::holdUpdates(int32_t count)
{
    updateHoldActive = true;
    updateHoldFrames = count;
}

void CDirectX::postQuit(int code)
{
    quitPosted = true;
    quitCode = code;
}
