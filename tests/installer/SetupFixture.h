#pragma once
// A temporary home for the installer: HOME and the XDG folders point into a test folder,
// so nothing touches the real configuration, menus or desktop.
#include "../TestSupport.h"

#include "installer/SetupProgram.h"
#include "platform/Text.h"
#include "platform/headless/HeadlessBackend.h"
#include "tools/demo/Disc.h"
#include "tools/demo/Writers.h"
#include "tools/pkd/PackWriter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>

namespace setuptest {

namespace fs = std::filesystem;

inline std::string text(const std::string& path)
{
    const std::vector<uint8_t> b = testsupport::readAll(path);
    return std::string(b.begin(), b.end());
}

// Every variable the installer's folders come from, saved and restored.
class TempHome {
public:
    TempHome()
    {
        for (const char* name : kNames) {
            const char* v = std::getenv(name);
            saved_[name] = v ? std::optional<std::string>(v) : std::nullopt;
        }
        home = dir.str() + "/home";
        fs::create_directories(home);
        ::setenv("HOME", home.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
        // The desktop folder is the one user-dirs.dirs names.
        fs::create_directories(home + "/config");
        testsupport::writeText(home + "/config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
    }
    ~TempHome()
    {
        for (const auto& [name, v] : saved_) {
            if (v)
                ::setenv(name.c_str(), v->c_str(), 1);
            else
                ::unsetenv(name.c_str());
        }
    }
    std::string config() const { return home + "/config"; }
    std::string data() const { return home + "/data"; }
    std::string desktop() const { return home + "/Schreibtisch"; }

    testsupport::TempDir dir;
    std::string home;

private:
    static constexpr const char* kNames[] = {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"};
    std::map<std::string, std::optional<std::string>> saved_;
};

// One run of setup on the headless backend.
struct SetupRun {
    platform::HeadlessBackend backend;
    SetupProgram program{backend.services};

    bool start()
    {
        if (!program.start())
            return false;
        program.run(false);
        return true;
    }
    void move(int x, int y)
    {
        backend.pictureWindow.post(platform::PictureEventKind::MouseMove, x, y);
        program.run(false);
    }
    // Moves onto the button's middle and lets go there.
    void click(int page, int id)
    {
        for (const SetupButton& b : setupButtons())
            if (b.page == page && b.id == id) {
                move(b.x + b.width / 2, b.y + b.height / 2);
                backend.pictureWindow.post(platform::PictureEventKind::LeftButtonUp, b.x + b.width / 2,
                                           b.y + b.height / 2);
                program.run(false);
                return;
            }
        ADD_FAILURE() << "no button " << id << " on page " << page;
    }
    void post(platform::PictureEventKind kind, std::string t = {})
    {
        backend.pictureWindow.post(kind, 0, 0, std::move(t));
        program.run(false);
    }
    std::vector<std::string> shownTexts() const
    {
        std::vector<std::string> out;
        for (const auto& s : backend.messageBoxes.shown)
            out.push_back(platform::sjisToUtf8(s.text));
        return out;
    }
};

// A small disc of its own: the demo's pictures with the given header and copy list
// (UTF-8, converted to Shift-JIS CR LF) and the given loose files.
inline void writeDisc(const std::string& folder, const std::string& header, const std::string& installDir,
                      const std::map<std::string, std::string>& files)
{
    fs::create_directories(folder);
    PackWriter pack;
    for (demo::GameFile& f : demo::setupArchive({}, {}, {})) {
        if (f.name == "system" || f.name == "install.dir")
            continue;
        pack.addBytes(f.name, std::move(f.bytes));
    }
    auto sjisCrLf = [](const std::string& utf8) {
        std::string out;
        for (char c : platform::utf8ToSjis(utf8)) {
            if (c == '\n')
                out += '\r';
            out += c;
        }
        return std::vector<uint8_t>(out.begin(), out.end());
    };
    pack.addBytes("system", sjisCrLf(header));
    pack.addBytes("install.dir", sjisCrLf(installDir));
    std::string error;
    ASSERT_TRUE(pack.write(folder + "/data.pkd", error)) << error;
    for (const auto& [name, content] : files) {
        fs::create_directories(fs::path(folder + "/" + name).parent_path());
        testsupport::writeText(folder + "/" + name, content);
    }
}

} // namespace setuptest
