#pragma once
// The installer's window: its pages, picture buttons, the copy and delete loops that run
// one list line per repaint, and the install record and launchers at the end.
#include "installer/SetupLists.h"
#include "platform/MessageBox.h"
#include "platform/PictureWindow.h"
#include "resources/Image.h"
#include "resources/PackArchive.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace platform {
struct Services;
class Font;
} // namespace platform

enum SetupPage {
    kPageStart = 0,
    kPageFolder = 1,
    kPageConfirm = 2,
    kPageCopying = 3,
    kPageRegistering = 4,
    kPageInstalled = 5,
    kPageAskUninstall = 100,
    kPageDeleting = 101,
    kPageUninstalled = 102,
};

constexpr int kSetupWidth = 480;
constexpr int kSetupHeight = 360;

// The seven button pictures, each with a normal and a hovered ("_s") form.
enum class ButtonPicture { Install, Uninstall, Change, Next, Back, GoInstall, Exit, Count };

struct SetupButton {
    int page;
    int id;
    ButtonPicture picture;
    int x, y, width, height;
    enum Condition { Always, NotRunningFromInstall, Installed, NotInstalled } condition;
};

// The button table of every page; a page 5 row is also page 102's.
const std::vector<SetupButton>& setupButtons();

class SetupProgram {
public:
    explicit SetupProgram(platform::Services& services);
    ~SetupProgram();

    // Opens "data.pkd", loads the pictures, runs the header, reads the install record and
    // opens the window. False when setup ends here; exitCode() then says how.
    bool start();

    // Handles window events, repaints and list steps until nothing is waiting; with wait,
    // until the program quits (the message loop).
    void run(bool wait);
    // One window event or one repaint (with the list step or registration that follows it);
    // false when nothing was waiting.
    bool pumpOne();

    // After the loop: when the uninstall finished, removes the installed setup and the
    // emptied install folders.
    void finish();

    bool quitting() const { return quit_; }
    int exitCode() const { return exitCode_; }

    // For tests and the screenshot tool.
    int page() const { return page_; }
    int hovered() const { return hovered_; }
    bool installed() const { return installed_; }
    bool runningFromInstall() const { return runningFromInstall_; }
    const SetupState& state() const { return lists_.state; }
    const std::vector<uint32_t>& canvas() const { return canvas_; }
    std::string installFolder() const { return lists_.state.installFolder(); }
    bool enteringPath() const { return entry_.active; }
    size_t stepsDone() const { return step_; }
    size_t stepCount() const { return lists_.lines.size(); }

private:
    void handle(const platform::PictureEvent& ev);
    void paint();
    void moveTo(int x, int y);
    void click();
    void close();
    void step();
    void registerInstallation();
    void finishUninstall();
    void changeFolder();
    void acceptFolder(std::string path);
    void typeInEntry(const platform::PictureEvent& ev);
    void setPage(int page);
    void quit(int code);
    platform::MessageBoxResult box(const std::string& text, const std::string& caption, platform::MessageBoxType type);
    bool active(const SetupButton& b) const;
    int buttonAt(int x, int y) const;

    // Drawing (SetupPaint.cpp).
    void drawBackground();
    void drawButtons();
    void drawPicture(const CImage& img, int x, int y, int w, int h);
    void fillRect(int left, int top, int right, int bottom, uint32_t rgb);
    void drawText(const std::string& sjis, int left, int top, int right, int bottom, uint32_t format, uint32_t colour);
    int textHeight(const std::string& sjis, int width, uint32_t format);
    void drawProgress();
    void drawPathEntry();

    platform::Services& sys_;
    CPackArchive archive_;
    SetupLists lists_;
    CImage background_;
    std::array<CImage, size_t(ButtonPicture::Count)> normal_, hover_;
    std::shared_ptr<platform::Font> font_;
    std::vector<uint32_t> canvas_;

    int page_ = kPageStart;
    int hovered_ = 0;
    int pointerX_ = -1, pointerY_ = -1;
    bool installed_ = false;
    bool runningFromInstall_ = false;
    std::string installedFolder_;
    bool boxOpen_ = false;
    bool paintPending_ = false;
    bool registered_ = false;
    size_t step_ = 0;
    bool exitAction_ = false;
    bool quit_ = false;
    int exitCode_ = 0;
    bool windowUp_ = false;

    struct PathEntry {
        bool active = false;
        std::string text; // UTF-8
    } entry_;
};
