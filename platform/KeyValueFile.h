#pragma once
#include <map>
#include <string>
#include <string_view>

namespace platform {

// A small settings file of "KEY=value" lines, standing in for one registry key. Keys and
// values are kept as bytes; a value ends at its line's end.
using KeyValues = std::map<std::string, std::string>;

// False when the file cannot be read; lines without '=' are skipped; at most 64 KiB is read.
bool readKeyValueFile(const std::string& hostPath, KeyValues& out);
KeyValues parseKeyValues(std::string_view text);
// Written whole through a temporary file and a rename. Values holding a line break are
// refused (false), so a value can never add a line of its own.
bool writeKeyValueFile(const std::string& hostPath, const KeyValues& values);

} // namespace platform
