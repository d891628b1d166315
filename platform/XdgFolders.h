#pragma once
#include <string>
#include <string_view>

namespace platform::xdg {

// The user's folders as the freedesktop base-directory rules give them (UTF-8 host paths,
// no trailing slash): $XDG_CONFIG_HOME or ~/.config, $XDG_DATA_HOME or ~/.local/share.
// A relative value in the variables is ignored, as the rules say.
std::string homeDir();
std::string configHome();
std::string dataHome();

// The desktop folder: XDG_DESKTOP_DIR from configHome()/user-dirs.dirs, else ~/Desktop.
std::string desktopDir();

// XDG_<name>_DIR from the text of a user-dirs.dirs file, with $HOME expanded; empty when
// the file does not name it.
std::string userDirFrom(std::string_view userDirsText, std::string_view name, const std::string& home);

} // namespace platform::xdg
