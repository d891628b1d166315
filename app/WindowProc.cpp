// The main window's messages.
#include "app/CDirectX.h"
#include "screens/ConfirmBox.h"
#include "platform/Video.h"
#include "platform/Window.h"

void CDirectX::handleWindowMessage(const platform::WindowEvent& ev)
{
    using platform::WindowMessage;
    switch (ev.message) {
    case WindowMessage::Activate:
        input.acquire();
        windowActive = true;
        frameSuspended = false;
        if (!display.windowed() && !display.modeSwitching() && screenState != ScreenState::None && minimisedFromFullscreen) {
            frameSuspended = true;
            sys.window->show(platform::ShowCommand::ShowNormal);
            Reactivate();
            minimisedFromFullscreen = false;
            frameSuspended = false;
        }
        break;
    case WindowMessage::Deactivate:
        input.unacquire();
        windowActive = false;
        // A full-screen game gives the display back while another program has it.
        if (screenState >= ScreenState::Game && !display.windowed() && !display.modeSwitching()) {
            frameSuspended = true;
            ReleaseAllSurfaces();
            Destroy();
            minimisedFromFullscreen = true;
            sys.window->show(platform::ShowCommand::Minimize);
            frameSuspended = false;
        }
        break;
    case WindowMessage::Close:
        // With a display device the close goes through the quit confirmation. Without one
        // nothing could ever be drawn or confirmed, so the window closes at once rather
        // than leaving a window that cannot be closed.
        if (!display.deviceReady()) {
            frameSuspended = true;
            destroyMainWindow();
        } else {
            openQuitQuestion(*this);
        }
        break;
    case WindowMessage::Paint:
        if (!display.deviceReady() && sys.video)
            sys.video->paintBlank();
        else if (display.directDraw())
            display.directDraw()->repaint();
        break;
    case WindowMessage::DisplayChange:
        if (display.windowed() && !display.modeSwitching() && ev.bitsPerPixel != 8 * displayProcess().desktopDepthIndex) {
            frameSuspended = true;
            Reset();
            frameSuspended = false;
        }
        break;
    }
}

void CDirectX::destroyMainWindow()
{
    if (quitPosted)
        return;
    saveProgress();
    sound.stopAll();
    ReleaseAllSurfaces();
    Destroy();
    sys.window->show(platform::ShowCommand::Hide);
    sound.release();
    postQuit(0);
}

void CDirectX::saveProgress()
{
    // Before the engine initialisation read the records there is nothing to keep, and
    // writing would replace the player's files with empty ones.
    if (firstInit)
        return;
    // Whatever way the program ends, the messages read in the current script count.
    if (!script.scriptName().empty())
        readText.recordReadPosition(script.scriptName(), script.cursorIndex());
    readText.saveReadText();
    saveConfig();
}
