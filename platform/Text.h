#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Shift-JIS (code page 932) <-> UTF-8. Bytes that do not convert become '?' so a bad
// name or message never aborts the caller.
std::string sjisToUtf8(std::string_view sjis);
std::string utf8ToSjis(std::string_view utf8);

// True when b starts a two-byte Shift-JIS character.
inline bool isSjisLead(uint8_t b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Characters in a Shift-JIS string: a lead byte and its trail byte count as one.
// A lead byte at the very end counts as one character.
size_t countSjisChars(std::string_view sjis);

} // namespace platform

// A fixed text of the program, written in UTF-8 in the source, as its Shift-JIS bytes.
// Converted once, on first use.
#define SJ(lit)                                                                                    \
    ([]() -> const std::string& {                                                                  \
        static const std::string sjisText_ = ::platform::utf8ToSjis(lit);                         \
        return sjisText_;                                                                          \
    }())
