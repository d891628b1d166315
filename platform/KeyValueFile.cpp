#include "platform/KeyValueFile.h"

#include "platform/Files.h"

#include <vector>

namespace platform {

KeyValues parseKeyValues(std::string_view text)
{
    KeyValues out;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        size_t eq = line.find('=');
        if (eq == std::string_view::npos || eq == 0 || line.front() == '#')
            continue;
        out[std::string(line.substr(0, eq))] = std::string(line.substr(eq + 1));
    }
    return out;
}

bool readKeyValueFile(const std::string& hostPath, KeyValues& out)
{
    std::vector<uint8_t> bytes;
    if (!files::readFile(hostPath, bytes, 1 << 16))
        return false;
    out = parseKeyValues(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return true;
}

bool writeKeyValueFile(const std::string& hostPath, const KeyValues& values)
{
    std::string text;
    for (const auto& [k, v] : values) {
        if (k.empty() || k.find_first_of("=\r\n") != std::string::npos || v.find_first_of("\r\n") != std::string::npos)
            return false;
        text += k + "=" + v + "\n";
    }
    return files::writeFileAtomic(hostPath, text.data(), text.size());
}

} // namespace platform
