#include "app/Application.h"

#include "app/CDirectX.h"
#include "core/ProgramVersion.h"
#include "core/RunLog.h"
#include "core/ScreenSize.h"
#include "platform/Clock.h"
#include "platform/InstanceLock.h"
#include "platform/MessageBox.h"
#include "platform/Text.h"
#include "platform/Window.h"
#include "screens/TitleScreen.h"

namespace {
constexpr int kClientWidth = kScreenWidth;
constexpr int kClientHeight = kScreenHeight;
} // namespace

bool Application::start()
{
    platform::Services& sys = dx_.sys;

    // One copy per title: a second start raises the first one's window and gives up.
    if (!sys.instanceLock->acquire(dx_.title)) {
        sys.instanceLock->askOwnerToRaise(dx_.title);
        return false;
    }

    dx_.startTime = sys.clock->now();

    if (!startSystem()) {
        sys.instanceLock->release();
        return false;
    }

    // Full screen: the system cursor stays hidden for the whole run.
    if (!dx_.display.windowed()) {
        while (sys.window->showCursor(false) >= 0) {
        }
    }
    started_ = true;
    return true;
}

bool Application::startSystem()
{
    platform::Services& sys = dx_.sys;
    platform::Window& window = *sys.window;

    // The game is started from its own folder and names its archive relative to it.
    if (!dx_.archive.Open("system.pkd")) {
        sys.messageBoxes->show(nullptr, SJ("初期化ファイルが不正です"), dx_.title, platform::MessageBoxType::Ok);
        return false;
    }

    if (!dx_.loadConfig()) {
        dx_.applyDefaultConfig();
        dx_.saveConfig();
    }

    runLog().append(1, SJ("Starting system... [星降る丘の鐘]"));
    runLog().append(1, kProgramVersion);

    // Centre the framed window in the work area; y never above the top, x not clamped.
    platform::Rect outer = window.adjustWindowRect(kClientWidth, kClientHeight);
    int width = outer.width() < 0 ? -outer.width() : outer.width();
    int height = outer.height() < 0 ? -outer.height() : outer.height();
    platform::Rect work = window.workArea();
    int x = (work.right - width) / 2;
    int y = (work.bottom - height) / 2;
    if (y < 0)
        y = 0;

    bool created;
    if (dx_.display.windowed()) {
        created = window.create(dx_.title, x, y, width, height, false);
    } else {
        int dw = 0, dh = 0;
        window.desktopSize(dw, dh);
        created = window.create(dx_.title, 0, 0, dw, dh, true);
    }
    if (!created)
        return false;
    if (dx_.display.windowed())
        window.show(platform::ShowCommand::Hide);
    else
        window.show(platform::ShowCommand::Show);

    runLog().append(1, "DirectSound Create");
    dx_.startSound();

    runLog().append(1, "DirectInput Create");
    if (!dx_.input.create(sys.input)) {
        sys.messageBoxes->show(&window, SJ("DirectInputの初期化に失敗しました。\nゲームの起動を中止します。"), dx_.title,
                               platform::MessageBoxType::Ok);
        return false;
    }

    // Without a display device nothing can be shown or confirmed: say so and stop.
    if (!dx_.Create(&window, dx_.display.windowed())) {
        sys.messageBoxes->show(nullptr, SJ("DirectXの初期化に失敗しました。\n"), dx_.title, platform::MessageBoxType::Ok);
        return false;
    }

    // The engine initialisation chose the first screen; the title brings its pictures and
    // sounds before the window shows.
    if (dx_.screenState == ScreenState::Title)
        EnterTitle(dx_);

    window.show(platform::ShowCommand::Show);
    window.raise();
    return true;
}

bool Application::step()
{
    frameRan_ = false;
    if (dx_.quitPosted)
        return false;
    platform::Services& sys = dx_.sys;
    if (sys.instanceLock->raiseRequested()) {
        sys.window->show(platform::ShowCommand::ShowNormal);
        sys.window->raise();
    }
    platform::WindowEvent ev;
    if (sys.window->pollMessage(ev)) {
        dx_.handleWindowMessage(ev);
        return !dx_.quitPosted;
    }
    if (!dx_.frameSuspended) {
        dx_.runFrame();
        frameRan_ = true;
    }
    return !dx_.quitPosted;
}

int Application::finish()
{
    platform::Services& sys = dx_.sys;
    sys.instanceLock->release();
    runLog().appendf(1, "%s%d msec", SJ("起動時間 : ").c_str(), int(sys.clock->now() - dx_.startTime));
    // Holding S while the game ends keeps the run log.
    if (dx_.input.keyHeld(DIK_S))
        runLog().saveAppend("system_log.txt");
    sys.window->destroy();
    return dx_.quitCode;
}

int Application::run()
{
    if (!start())
        return -1;
    while (step()) {
    }
    return finish();
}
