#include "app/CDirectX.h"

#include "core/RunLog.h"
#include "diagnostics/SystemReport.h"
#include "platform/Text.h"
#include "script/GameScreen.h"
#include "screens/BacklogScreen.h"
#include "screens/GalleryState.h"
#include "screens/OptionsScreen.h"
#include "screens/GameMenu.h"
#include "screens/SaveLoadScreen.h"
#include "screens/TitleScreen.h"
#include "typing/TypingScreen.h"

namespace {
int enginesAlive = 0;
} // namespace

CDirectX::CDirectX(platform::Services& services) : sys(services), title(SJ("星降る丘の鐘"))
{
    // The first engine of the process (again) starts the process-wide state afresh: an empty
    // run log and the display values of a new process. The surface registry needs nothing:
    // every texture enters and leaves it with its own lifetime.
    if (enginesAlive++ == 0) {
        runLog().clear();
        displayProcess() = DisplayProcessState{};
    }
    registerGameScreen(*this);
    registerTitleScreen(*this);
    registerGalleryScreens(*this);
    registerOptionsScreen(*this);
    registerSaveLoadScreen(*this);
    // After the game screen: the menu wraps its phases.
    registerGameMenu(*this);
    registerBacklogScreen(*this);
    registerTypingGame(*this);
    registerDiagnostics(*this);
}

CDirectX::~CDirectX()
{
    --enginesAlive;
}

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

bool CDirectX::startSound()
{
    return sound.start(sys.audio, sys.window, soundGroupPercent(config.bgmOn, config.bgmLevel),
                       soundGroupPercent(config.seOn, config.seLevel),
                       soundGroupPercent(config.voiceOn, config.voiceLevel));
}

void CDirectX::postQuit(int code)
{
    quitPosted = true;
    quitCode = code;
}
