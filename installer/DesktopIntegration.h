#pragma once
// Where an installation is recorded and how the desktop finds it: the install record that
// stands in for the registry key, and the menu and desktop launchers that stand in for
// shell links.
#include <string>

struct SetupState;

// $XDG_CONFIG_HOME/鷺庵/<title>/install.ini
std::string registrationFile(const std::string& titleSjis);

struct Registration {
    int installNo = 0;      // 0 when missing
    std::string installDir; // empty when missing
};
Registration readRegistration(const std::string& titleSjis);
bool writeRegistration(const std::string& titleSjis, const Registration& r);
// Removes the file and then its title and maker folders when they are empty.
void deleteRegistration(const std::string& titleSjis);

struct ShortcutPaths {
    std::string makerFolder; // $XDG_DATA_HOME/applications/鷺庵
    std::string titleFolder; // makerFolder + "/" + title
    std::string game;        // titleFolder + "/" + title + ".desktop"
    std::string readme;      // titleFolder + "/はじめにお読みください.desktop"
    std::string uninstall;   // titleFolder + "/" + title + "のアンインストール.desktop"
    std::string desktop;     // the desktop folder + "/" + title + ".desktop"
};
ShortcutPaths shortcutPaths(const std::string& titleSjis);

// The menu's three launchers. False with folderError set (Shift-JIS path of a folder that
// could not be made) or empty when a launcher could not be written.
bool createMenuShortcuts(const SetupState& state, const std::string& installFolder, std::string& folderErrorSjis);
bool createDesktopShortcut(const SetupState& state, const std::string& installFolder);
// The launchers and the menu's title and maker folders (each only when empty).
void removeShortcuts(const std::string& titleSjis);

// The file name of the installer program beside the game.
extern const char* const kSetupProgram;
