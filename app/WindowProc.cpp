// The main window's messages.
#include "app/CDirectX.h"
#include "platform/Window.h"

void CDirectX::handleWindowMessage(const platform::WindowEvent& ev)
{
    using platform::WindowMessage;
    switch (ev.message) {
    case WindowMessage::Activate:
        windowActive = true;
        frameSuspended = false;
        break;
    case WindowMessage::Deactivate:
        windowActive = false;
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
        break;
    case WindowMessage::DisplayChange:
        break;
    }
}

void CDirectX::destroyMainWindow()
{
    if (quitPosted)
        return;
    stopSound();
    sys.window->show(platform::ShowCommand::Hide);
    releaseSound();
    postQuit(0);
}
