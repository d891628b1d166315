// The main window's messages.
#include "app/CDirectX.h"
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
        if (!windowed && !modeSwitching && screenState != ScreenState::None && minimisedFromFullscreen) {
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
        if (screenState >= ScreenState::Game && !windowed && !modeSwitching) {
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
        if (!deviceReady) {
            frameSuspended = true;
            destroyMainWindow();
        } else if (!confirmOpen) {
            quitRequested = true;
        }
        break;
    case WindowMessage::Paint:
        if (!deviceReady && sys.video)
            sys.video->paintBlank();
        break;
    case WindowMessage::DisplayChange:
        if (windowed && !modeSwitching && ev.bitsPerPixel != 8 * displayProcess().desktopDepthIndex) {
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
    stopSound();
    ReleaseAllSurfaces();
    Destroy();
    sys.window->show(platform::ShowCommand::Hide);
    releaseSound();
    postQuit(0);
}
