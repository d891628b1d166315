#include "platform/XdgFolders.h"

#include "platform/Files.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace platform::xdg {

namespace {

std::string absoluteEnv(const char* name)
{
    const char* v = std::getenv(name);
    if (!v || v[0] != '/')
        return {};
    std::string s = v;
    while (s.size() > 1 && s.back() == '/')
        s.pop_back();
    return s;
}

} // namespace

std::string homeDir()
{
    std::string home = absoluteEnv("HOME");
    if (!home.empty())
        return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return "/";
}

std::string configHome()
{
    std::string v = absoluteEnv("XDG_CONFIG_HOME");
    return v.empty() ? homeDir() + "/.config" : v;
}

std::string dataHome()
{
    std::string v = absoluteEnv("XDG_DATA_HOME");
    return v.empty() ? homeDir() + "/.local/share" : v;
}

std::string userDirFrom(std::string_view text, std::string_view name, const std::string& home)
{
    const std::string key = "XDG_" + std::string(name) + "_DIR=";
    std::string found;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        if (line.substr(0, key.size()) != key)
            continue;
        std::string_view v = line.substr(key.size());
        if (v.size() < 2 || v.front() != '"')
            continue;
        size_t close = v.find('"', 1);
        if (close == std::string_view::npos)
            continue;
        v = v.substr(1, close - 1);
        std::string value;
        if (v.substr(0, 5) == "$HOME") {
            value = home + std::string(v.substr(5));
        } else if (!v.empty() && v.front() == '/') {
            value = std::string(v);
        } else {
            continue; // the file format allows only $HOME-relative or absolute paths
        }
        while (value.size() > 1 && value.back() == '/')
            value.pop_back();
        found = value;
    }
    return found;
}

std::string desktopDir()
{
    const std::string home = homeDir();
    std::vector<uint8_t> bytes;
    if (files::readFile(configHome() + "/user-dirs.dirs", bytes, 1 << 16)) {
        std::string dir = userDirFrom(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                                      "DESKTOP", home);
        // A desktop entry pointing at the home folder itself means "no desktop folder".
        if (!dir.empty() && dir != home)
            return dir;
    }
    return home + "/Desktop";
}

} // namespace platform::xdg
