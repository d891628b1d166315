#include "installer/SetupProgram.h"

#include "installer/DesktopIntegration.h"
#include "platform/Files.h"
#include "platform/Fonts.h"
#include "platform/InstallFiles.h"
#include "platform/Services.h"
#include "platform/Shell.h"
#include "platform/Text.h"
#include "platform/XdgFolders.h"

#include <cstring>

using platform::MessageBoxResult;
using platform::MessageBoxType;
using platform::PictureEventKind;
namespace install = platform::install;

namespace {

// Exit codes: 0 finished or closed on the first page; -1 no archive, a missing picture or
// an install the user stopped; -2 no setup header; 1 ended by an error message.
constexpr int kExitError = 1;

const char* const kPictureNames[] = {"install", "uninstall", "change", "next", "back", "go_install", "exit"};

} // namespace

const std::vector<SetupButton>& setupButtons()
{
    static const std::vector<SetupButton> table = {
        {kPageStart, 1, ButtonPicture::Install, 176, 200, 128, 22, SetupButton::NotRunningFromInstall},
        {kPageStart, 2, ButtonPicture::Uninstall, 176, 250, 128, 22, SetupButton::Installed},
        {kPageFolder, 1, ButtonPicture::Change, 32, 16, 48, 24, SetupButton::NotInstalled},
        {kPageFolder, 2, ButtonPicture::Back, 32, 300, 48, 24, SetupButton::Always},
        {kPageFolder, 3, ButtonPicture::Next, 400, 300, 48, 24, SetupButton::Always},
        {kPageConfirm, 1, ButtonPicture::Back, 32, 300, 48, 24, SetupButton::Always},
        {kPageConfirm, 2, ButtonPicture::GoInstall, 320, 300, 128, 24, SetupButton::Always},
        {kPageInstalled, 1, ButtonPicture::Exit, 140, 240, 200, 24, SetupButton::Always},
        {kPageUninstalled, 1, ButtonPicture::Exit, 140, 240, 200, 24, SetupButton::Always},
    };
    return table;
}

SetupProgram::SetupProgram(platform::Services& services)
    : sys_(services), archive_(services.clock, CPackArchive::ReadPolicy::SingleAttempt),
      lists_([this](const std::string& text, const std::string& caption) { box(text, caption, MessageBoxType::Ok); }),
      canvas_(size_t(kSetupWidth) * kSetupHeight, 0xFF000000u)
{
}

SetupProgram::~SetupProgram()
{
    if (windowUp_)
        sys_.pictureWindow->destroy();
}

bool SetupProgram::start()
{
    if (!archive_.Open("data.pkd")) {
        exitCode_ = -1;
        return false;
    }
    if (background_.LoadPNG("bg.png", archive_) != 0) {
        exitCode_ = -1;
        return false;
    }
    for (size_t i = 0; i < size_t(ButtonPicture::Count); ++i) {
        const std::string name = kPictureNames[i];
        if (normal_[i].LoadPNG(name + ".png", archive_) != 0 || hover_[i].LoadPNG(name + "_s.png", archive_) != 0) {
            exitCode_ = -1;
            return false;
        }
    }

    SetupState& st = lists_.state;
    if (!lists_.LoadList("system", &archive_)) {
        sys_.messageBoxes->show(nullptr, SJ("コピーリストを読み込むことが出来ませんでした"), SJ("ERROR"), MessageBoxType::Ok);
        exitCode_ = -2;
        return false;
    }
    for (const ListLine& line : lists_.lines) {
        if (!lists_.RunHeaderLine(line.text)) {
            box(lineErrorText(line.number), st.title, MessageBoxType::Ok);
            exitCode_ = kExitError;
            return false;
        }
    }
    lists_.lines.clear();
    if (st.title.empty()) {
        // A header without a title names no folder to install into and no record to keep.
        sys_.messageBoxes->show(nullptr, SJ("コピーリストを読み込むことが出来ませんでした"), SJ("ERROR"), MessageBoxType::Ok);
        exitCode_ = -2;
        return false;
    }

    const Registration reg = readRegistration(st.title);
    st.installedNo = reg.installNo;
    installedFolder_ = reg.installDir;
    if (st.installedNo > 0) {
        installed_ = true;
        // Compared as real paths: the launcher's working folder and the recorded one may be
        // spelt differently (a linked home folder) and still be the same place.
        if (!installedFolder_.empty() &&
            install::canonical(installedFolder_) == install::canonical(install::currentDirectory()))
            runningFromInstall_ = true;
    }

    platform::FontSpec spec;
    spec.height = 16;
    spec.charset = platform::kShiftJisCharset;
    spec.face = SJ("ＭＳ Ｐゴシック");
    font_ = sys_.fonts->createFont(spec);

    const platform::Rect work = sys_.pictureWindow->workArea();
    const int x = (work.right - kSetupWidth) / 2;
    const int y = (work.bottom - kSetupHeight) / 2;
    if (!sys_.pictureWindow->create(st.title + SJ("　セットアップ"), x, y, kSetupWidth, kSetupHeight)) {
        exitCode_ = -1;
        return false;
    }
    windowUp_ = true;
    paintPending_ = true;
    return true;
}

void SetupProgram::run(bool wait)
{
    while (!quit_) {
        if (pumpOne())
            continue;
        platform::PictureEvent ev;
        if (!wait || !sys_.pictureWindow->nextEvent(ev, true))
            break;
        handle(ev);
    }
}

bool SetupProgram::pumpOne()
{
    if (quit_)
        return false;
    platform::PictureEvent ev;
    if (sys_.pictureWindow->nextEvent(ev, false)) {
        handle(ev);
        return true;
    }
    // Like a window's paint message, a repaint waits until no input is waiting, so the
    // window answers the pointer while the list runs.
    if (paintPending_) {
        paintPending_ = false;
        paint();
        return true;
    }
    return false;
}

void SetupProgram::handle(const platform::PictureEvent& ev)
{
    if (entry_.active) {
        typeInEntry(ev);
        return;
    }
    switch (ev.kind) {
    case PictureEventKind::Paint:
        paintPending_ = true;
        break;
    case PictureEventKind::MouseMove:
        moveTo(ev.x, ev.y);
        break;
    case PictureEventKind::LeftButtonUp:
        // The button under the pointer where it was let go, even when no move came first.
        if (ev.x != pointerX_ || ev.y != pointerY_)
            moveTo(ev.x, ev.y);
        click();
        break;
    case PictureEventKind::Close:
        close();
        break;
    default:
        break;
    }
}

bool SetupProgram::active(const SetupButton& b) const
{
    switch (b.condition) {
    case SetupButton::Always:
        return true;
    case SetupButton::NotRunningFromInstall:
        return !runningFromInstall_;
    case SetupButton::Installed:
        return installed_;
    case SetupButton::NotInstalled:
        return !installed_;
    }
    return false;
}

int SetupProgram::buttonAt(int x, int y) const
{
    for (const SetupButton& b : setupButtons()) {
        if (b.page != page_ || !active(b))
            continue;
        // The picture's rectangle without its left column and top row.
        if (x >= b.x + 1 && x <= b.x + b.width - 1 && y >= b.y + 1 && y <= b.y + b.height - 1)
            return b.id;
    }
    return 0;
}

void SetupProgram::moveTo(int x, int y)
{
    pointerX_ = x;
    pointerY_ = y;
    hovered_ = buttonAt(x, y);
    sys_.pictureWindow->setPointer(hovered_ ? platform::PointerShape::Hand : platform::PointerShape::Arrow);
    paintPending_ = true;
}

void SetupProgram::setPage(int page)
{
    page_ = page;
    // The pointer has not moved, but what lies under it has.
    hovered_ = buttonAt(pointerX_, pointerY_);
    sys_.pictureWindow->setPointer(hovered_ ? platform::PointerShape::Hand : platform::PointerShape::Arrow);
    paintPending_ = true;
}

void SetupProgram::quit(int code)
{
    if (!quit_)
        exitCode_ = code;
    quit_ = true;
}

MessageBoxResult SetupProgram::box(const std::string& text, const std::string& caption, MessageBoxType type)
{
    boxOpen_ = true;
    const MessageBoxResult r = sys_.messageBoxes->show(nullptr, text, caption, type);
    boxOpen_ = false;
    return r;
}

void SetupProgram::click()
{
    SetupState& st = lists_.state;
    const int b = hovered_;
    if (!b)
        return;
    switch (page_) {
    case kPageStart:
        if (b == 1) {
            setPage(kPageFolder);
            if (installed_) {
                const std::string marker = std::string("/") + kMakerFolder + "/";
                const size_t cut = installedFolder_.rfind(marker);
                st.installRoot = cut == std::string::npos ? installedFolder_ : installedFolder_.substr(0, cut);
            } else {
                st.installRoot = platform::xdg::dataHome();
            }
        } else if (b == 2) {
            setPage(kPageAskUninstall);
            if (box(SJ("アンインストールしますか？"), st.title, MessageBoxType::YesNo) == MessageBoxResult::Yes) {
                setPage(kPageDeleting);
                step_ = 0;
                if (!lists_.LoadList(installedFolder_ + "/Uninstall.dir", nullptr)) {
                    box(SJ("削除リストを読み込むことが出来ませんでした"), SJ("ERROR"), MessageBoxType::Ok);
                    quit(kExitError);
                }
            } else {
                setPage(kPageStart);
            }
        }
        break;
    case kPageFolder:
        if (b == 1) {
            changeFolder();
        } else if (b == 2) {
            setPage(kPageStart);
        } else if (b == 3) {
            setPage(kPageConfirm);
            const std::string folder = st.installFolder();
            if (!platform::files::isDirectory(folder) &&
                box(platform::utf8ToSjis(folder) + SJ(" は存在しません。ディレクトリを作成しますか？"),
                    SJ("ディレクトリの作成"), MessageBoxType::OkCancel) == MessageBoxResult::Cancel)
                setPage(kPageFolder);
        }
        break;
    case kPageConfirm:
        if (b == 1) {
            setPage(kPageFolder);
        } else if (b == 2) {
            setPage(kPageCopying);
            // Every attempt runs the whole list from its first line with a fresh record.
            step_ = 0;
            st.copyMode = CopyMode::Overwrite;
            st.record.clear();
            st.currentFile.clear();
            if (!lists_.LoadList("install.dir", &archive_)) {
                box(SJ("コピーリストを読み込むことが出来ませんでした"), SJ("ERROR"), MessageBoxType::Ok);
                quit(kExitError);
            }
        }
        break;
    case kPageInstalled:
        quit(0);
        break;
    case kPageUninstalled:
        exitAction_ = true;
        quit(0);
        break;
    default:
        break;
    }
}

void SetupProgram::changeFolder()
{
    SetupState& st = lists_.state;
    const platform::FolderAnswer a =
        sys_.shell->chooseFolder(SJ("インストール先ディレクトリを指定してください"), st.installRoot);
    switch (a.kind) {
    case platform::FolderAnswer::Kind::Chosen:
        acceptFolder(a.path);
        break;
    case platform::FolderAnswer::Kind::Cancelled:
        break;
    case platform::FolderAnswer::Kind::NoChooser:
        entry_.active = true;
        entry_.text = st.installRoot;
        sys_.pictureWindow->setTextInput(true);
        paintPending_ = true;
        break;
    }
}

void SetupProgram::acceptFolder(std::string path)
{
    SetupState& st = lists_.state;
    if (path == "~" || path.rfind("~/", 0) == 0)
        path = platform::xdg::homeDir() + path.substr(1);
    else if (path.empty() || path[0] != '/')
        path = platform::xdg::homeDir() + "/" + path;
    if (!sys_.shell->onFixedDisk(path)) {
        box(SJ("ハードディスク以外にはインストールできません。"), st.title, MessageBoxType::Ok);
        return;
    }
    while (!path.empty() && path.back() == '/')
        path.pop_back();
    st.installRoot = path;
    paintPending_ = true;
}

void SetupProgram::typeInEntry(const platform::PictureEvent& ev)
{
    switch (ev.kind) {
    case PictureEventKind::Text:
        if (entry_.text.size() < 1024)
            entry_.text += ev.text;
        break;
    case PictureEventKind::Backspace:
        // One whole UTF-8 character.
        while (!entry_.text.empty()) {
            const unsigned char c = static_cast<unsigned char>(entry_.text.back());
            entry_.text.pop_back();
            if ((c & 0xC0) != 0x80)
                break;
        }
        break;
    case PictureEventKind::Enter:
    case PictureEventKind::Escape:
        entry_.active = false;
        sys_.pictureWindow->setTextInput(false);
        if (ev.kind == PictureEventKind::Enter)
            acceptFolder(entry_.text);
        break;
    case PictureEventKind::Close:
        entry_.active = false;
        sys_.pictureWindow->setTextInput(false);
        close();
        break;
    default:
        break;
    }
    paintPending_ = true;
}

void SetupProgram::close()
{
    if (page_ == kPageStart) {
        quit(0);
        return;
    }
    if (page_ == kPageCopying || page_ == kPageDeleting)
        return;
    const std::string& title = lists_.state.title;
    if (box(SJ("インストールを中止しますか？"), title, MessageBoxType::OkCancel) == MessageBoxResult::Ok) {
        box(SJ("インストールを中止しました"), title, MessageBoxType::Ok);
        quit(-1);
    }
}

void SetupProgram::step()
{
    SetupState& st = lists_.state;
    if (page_ == kPageCopying) {
        if (step_ >= lists_.lines.size()) {
            lists_.WriteUninstallRecord(st.installFolder());
            registered_ = false;
            setPage(kPageRegistering);
            return;
        }
        const ListLine& line = lists_.lines[step_];
        ++step_;
        switch (lists_.RunCopyLine(line.text)) {
        case SetupLists::CopyResult::Done:
            break;
        case SetupLists::CopyResult::Unrecognised:
            box(lineErrorText(line.number), st.title, MessageBoxType::Ok);
            quit(kExitError);
            return;
        case SetupLists::CopyResult::Failed:
            lists_.lines.clear();
            step_ = 0;
            setPage(kPageFolder);
            return;
        }
        paintPending_ = true;
    } else if (page_ == kPageDeleting) {
        if (step_ >= lists_.lines.size()) {
            finishUninstall();
            return;
        }
        const ListLine& line = lists_.lines[step_];
        ++step_;
        if (!lists_.RunUninstallLine(line.text, installedFolder_)) {
            box(lineErrorText(line.number), st.title, MessageBoxType::Ok);
            quit(kExitError);
            return;
        }
        paintPending_ = true;
    }
}

void SetupProgram::finishUninstall()
{
    const std::string& title = lists_.state.title;
    setPage(kPageUninstalled);
    install::removeFile(installedFolder_ + "/Uninstall.dir");
    removeShortcuts(title);
    deleteRegistration(title);
}

void SetupProgram::registerInstallation()
{
    registered_ = true;
    SetupState& st = lists_.state;
    const std::string folder = st.installFolder();
    if (st.installNo >= st.installedNo && !writeRegistration(st.title, Registration{st.installNo, folder}))
        box(SJ("レジストリの登録が出来ませんでした。"), st.title, MessageBoxType::Ok);
    std::string folderError;
    if (!createMenuShortcuts(st, folder, folderError)) {
        if (!folderError.empty())
            box(folderError + SJ("を作成する所有権がありません。"), st.title, MessageBoxType::Ok);
        box(SJ("スタートメニューへの登録が出来ませんでした。"), st.title, MessageBoxType::Ok);
    }
    if (box(SJ("デスクトップにショートカットを作成しますか？"), st.title, MessageBoxType::YesNo) == MessageBoxResult::Yes)
        createDesktopShortcut(st, folder);
    setPage(kPageInstalled);
}

void SetupProgram::paint()
{
    drawBackground();
    drawButtons();
    const SetupState& st = lists_.state;
    const std::string folder = platform::utf8ToSjis(st.installFolder());
    const uint32_t white = platform::rgb(255, 255, 255);
    switch (page_) {
    case kPageFolder:
        if (installed_)
            drawText(SJ("「") + st.title + SJ("」がすでにインストールされています。\n\nセットアップは、以下のディレクトリに\nインストールを続行します。\n\n->") + folder,
                     40, 64, 440, 290, platform::kDtWordBreak, white);
        else
            drawText(SJ("「") + st.title + SJ("」を次のディレクトリにインストールします。\n\n-> ") + folder, 40, 64, 440,
                     290, platform::kDtWordBreak, white);
        if (entry_.active)
            drawPathEntry();
        break;
    case kPageConfirm:
        drawText(SJ("インストール先:\n\n") + folder + SJ("\n\nインストールを開始しても良いならば、\nスタートボタンを押してください。"),
                 40, 64, 440, 290, platform::kDtWordBreak, white);
        break;
    case kPageCopying:
    case kPageDeleting: {
        const std::string text =
            (page_ == kPageCopying ? SJ("ファイルをコピーしています...\n\n") : SJ("ファイルを削除しています...\n\n")) +
            st.currentFile;
        const uint32_t f = platform::kDtCenter | platform::kDtWordBreak;
        const int h = textHeight(text, 320, f);
        drawText(text, 80, 164 - h, 400, 164, f, white);
        drawProgress();
        break;
    }
    case kPageRegistering:
        drawText(SJ("レジストリを登録しています..."), 40, 160, 440, 200,
                 platform::kDtCenter | platform::kDtVCenter | platform::kDtSingleLine, platform::rgb(255, 0, 0));
        break;
    case kPageInstalled:
    case kPageUninstalled:
        drawText(page_ == kPageInstalled ? SJ("インストールが完了しました") : SJ("アンインストールが完了しました"), 40,
                 160, 440, 220, platform::kDtCenter | platform::kDtVCenter | platform::kDtSingleLine, white);
        break;
    default:
        break;
    }
    sys_.pictureWindow->present(canvas_.data(), kSetupWidth, kSetupHeight);

    // What follows a repaint: the next list line, or the registration once its page shows.
    if ((page_ == kPageCopying || page_ == kPageDeleting) && !boxOpen_ && !quit_)
        step();
    else if (page_ == kPageRegistering && !registered_ && !boxOpen_ && !quit_)
        registerInstallation();
}

void SetupProgram::finish()
{
    if (!exitAction_ || installedFolder_.empty())
        return;
    // A running program's file can go on Linux: no helper script is needed to remove it.
    install::removeFile(installedFolder_ + "/" + kSetupProgram);
    install::removeDirectory(installedFolder_);
    const std::string maker = installedFolder_.substr(0, installedFolder_.find_last_of('/'));
    if (maker.size() > std::strlen(kMakerFolder) && maker.substr(maker.size() - std::strlen(kMakerFolder)) == kMakerFolder)
        install::removeDirectory(maker);
}
