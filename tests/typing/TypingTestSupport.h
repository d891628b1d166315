#pragma once
// Typing lines built from UTF-8 readings and keys typed one a frame.
#include "platform/Text.h"
#include "typing/TypingEngine.h"

#include <string>
#include <string_view>

namespace typingtest {

inline uint32_t keyBit(char c)
{
    for (size_t k = 0; k < TypingKeyTable.size(); ++k)
        if (TypingKeyTable[k].character == c)
            return 1u << k;
    return 0;
}

inline TypingLine line(std::string_view kanaUtf8, std::string_view guide)
{
    TypingLine l;
    l.KanaText.assign(platform::utf8ToSjis(kanaUtf8));
    l.GuideText.assign(guide);
    StartTypingLine(l);
    return l;
}

inline KanaCode code(std::string_view kanaUtf8)
{
    const std::string s = platform::utf8ToSjis(kanaUtf8);
    return s.size() >= 2 ? KanaCode(uint8_t(s[0]) << 8 | uint8_t(s[1])) : 0;
}

} // namespace typingtest
