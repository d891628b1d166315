#include "platform/DesktopEntry.h"

#include "platform/Files.h"

#include <sys/stat.h>

namespace platform {

namespace {

std::string clean(const std::string& s)
{
    std::string r;
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7f)
            r += c;
    return r;
}

// Backslash escapes of a string value (the key-file level).
std::string stringValue(const std::string& s)
{
    std::string r;
    for (char c : clean(s)) {
        if (c == '\\')
            r += "\\\\";
        else
            r += c;
    }
    return r;
}

std::string quoteArgument(const std::string& arg)
{
    std::string r = "\"";
    for (char c : clean(arg)) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            r += '\\';
        if (c == '%')
            r += '%';
        r += c;
    }
    return r + "\"";
}

} // namespace

std::string desktopEntryText(const DesktopEntry& e)
{
    std::string exec;
    for (const std::string& a : e.exec) {
        if (!exec.empty())
            exec += ' ';
        exec += quoteArgument(a);
    }
    std::string t = "[Desktop Entry]\nType=Application\nVersion=1.0\n";
    t += "Name=" + stringValue(e.name) + "\n";
    if (!e.comment.empty())
        t += "Comment=" + stringValue(e.comment) + "\n";
    t += "Exec=" + stringValue(exec) + "\n";
    if (!e.workingDir.empty())
        t += "Path=" + stringValue(e.workingDir) + "\n";
    t += "Terminal=false\n";
    return t;
}

bool writeDesktopEntry(const std::string& hostPath, const DesktopEntry& entry, bool executable)
{
    const std::string text = desktopEntryText(entry);
    if (!files::writeFileAtomic(hostPath, text.data(), text.size()))
        return false;
    if (executable && ::chmod(hostPath.c_str(), 0755) != 0)
        return false;
    return true;
}

} // namespace platform
