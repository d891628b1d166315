#include "installer/DesktopIntegration.h"

#include "installer/SetupLists.h"
#include "platform/DesktopEntry.h"
#include "platform/Files.h"
#include "platform/InstallFiles.h"
#include "platform/KeyValueFile.h"
#include "platform/Text.h"
#include "platform/XdgFolders.h"

#include <cstdlib>

namespace install = platform::install;

const char* const kSetupProgram = "setup";

namespace {

std::string utf8(const std::string& sjis)
{
    return platform::sjisToUtf8(sjis);
}

} // namespace

std::string registrationFile(const std::string& titleSjis)
{
    return platform::xdg::configHome() + "/" + kMakerFolder + "/" + utf8(titleSjis) + "/install.ini";
}

Registration readRegistration(const std::string& titleSjis)
{
    Registration r;
    platform::KeyValues kv;
    if (!platform::readKeyValueFile(registrationFile(titleSjis), kv))
        return r;
    if (auto it = kv.find("INSTALL_NO"); it != kv.end())
        r.installNo = std::atoi(it->second.c_str());
    if (auto it = kv.find("INSTALL_DIR"); it != kv.end())
        r.installDir = it->second;
    return r;
}

bool writeRegistration(const std::string& titleSjis, const Registration& r)
{
    const std::string file = registrationFile(titleSjis);
    const std::string folder = file.substr(0, file.find_last_of('/'));
    if (!platform::files::isDirectory(folder) && !platform::files::makeDirectories(folder))
        return false;
    return platform::writeKeyValueFile(file, {{"INSTALL_NO", std::to_string(r.installNo)}, {"INSTALL_DIR", r.installDir}});
}

void deleteRegistration(const std::string& titleSjis)
{
    const std::string file = registrationFile(titleSjis);
    install::removeFile(file);
    const std::string titleFolder = file.substr(0, file.find_last_of('/'));
    install::removeDirectory(titleFolder);
    install::removeDirectory(titleFolder.substr(0, titleFolder.find_last_of('/')));
}

ShortcutPaths shortcutPaths(const std::string& titleSjis)
{
    ShortcutPaths p;
    const std::string title = utf8(titleSjis);
    p.makerFolder = platform::xdg::dataHome() + "/applications/" + kMakerFolder;
    p.titleFolder = p.makerFolder + "/" + title;
    p.game = p.titleFolder + "/" + title + ".desktop";
    p.readme = p.titleFolder + "/はじめにお読みください.desktop";
    p.uninstall = p.titleFolder + "/" + title + "のアンインストール.desktop";
    p.desktop = platform::xdg::desktopDir() + "/" + title + ".desktop";
    return p;
}

namespace {

platform::DesktopEntry gameEntry(const SetupState& state, const std::string& folder)
{
    platform::DesktopEntry e;
    e.name = utf8(state.title);
    e.exec = {folder + "/" + utf8(state.exeName)};
    e.workingDir = folder;
    return e;
}

} // namespace

bool createMenuShortcuts(const SetupState& state, const std::string& folder, std::string& folderError)
{
    folderError.clear();
    const ShortcutPaths p = shortcutPaths(state.title);
    const std::string applications = p.makerFolder.substr(0, p.makerFolder.find_last_of('/'));
    for (const std::string& dir : {applications, p.makerFolder, p.titleFolder}) {
        if (!platform::files::isDirectory(dir) && !platform::files::makeDirectories(dir)) {
            folderError = platform::utf8ToSjis(dir);
            return false;
        }
    }
    platform::DesktopEntry readme;
    readme.name = "はじめにお読みください";
    readme.exec = {"xdg-open", folder + "/はじめにお読みください.txt"};
    readme.workingDir = folder;
    platform::DesktopEntry uninstall;
    uninstall.name = utf8(state.title) + "のアンインストール";
    uninstall.exec = {folder + "/" + kSetupProgram};
    uninstall.workingDir = folder;
    bool ok = platform::writeDesktopEntry(p.game, gameEntry(state, folder), false);
    ok = platform::writeDesktopEntry(p.readme, readme, false) && ok;
    ok = platform::writeDesktopEntry(p.uninstall, uninstall, false) && ok;
    return ok;
}

bool createDesktopShortcut(const SetupState& state, const std::string& folder)
{
    const ShortcutPaths p = shortcutPaths(state.title);
    const std::string dir = p.desktop.substr(0, p.desktop.find_last_of('/'));
    if (!platform::files::isDirectory(dir) && !platform::files::makeDirectories(dir))
        return false;
    return platform::writeDesktopEntry(p.desktop, gameEntry(state, folder), true);
}

void removeShortcuts(const std::string& titleSjis)
{
    const ShortcutPaths p = shortcutPaths(titleSjis);
    install::removeFile(p.game);
    install::removeFile(p.readme);
    install::removeFile(p.uninstall);
    install::removeDirectory(p.titleFolder);
    install::removeDirectory(p.makerFolder);
    install::removeFile(p.desktop);
}
