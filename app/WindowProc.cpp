// The main window's messages.
#include "app/CDirectX.h"
#include "platform/Window.h"

void CDirectX::handleWindowMessage(const platform::WindowEvent& ev)
{
    using platform::WindowMessage;
    switch (ev.message) {
    case WindowMessage::Activate:
        input.acquire();
        windowActive = true;
        frameSuspended = false;
        break;
    case WindowMessage::Deactivate:
        input.unacquire();
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
    sys.window->show(platform::ShowCommand::Hide);
    postQuit(0);
}
