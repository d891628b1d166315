#pragma once
#include <string>
#include <vector>

namespace platform {

// A freedesktop application entry (.desktop file), the Linux form of a shell link.
// All strings are UTF-8.
struct DesktopEntry {
    std::string name;
    std::vector<std::string> exec; // program and arguments, quoted when written
    std::string workingDir;        // Path=; empty leaves it out
    std::string comment;
};

// The entry's text. Arguments are quoted as the Exec rules ask (double quotes, with
// backslash before '"', '`', '$' and '\\'), '%' is doubled, and the whole value is then
// escaped as a string value. Control characters in any field are dropped.
std::string desktopEntryText(const DesktopEntry& entry);

// Writes the entry through a temporary file and a rename. executable: also mark it
// runnable (desktops trust only launchers that are).
bool writeDesktopEntry(const std::string& hostPath, const DesktopEntry& entry, bool executable);

} // namespace platform
