#include "platform/Text.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(Text, ConvertsBothWaysWithCodePage932)
{
    // "星降る丘の鐘" and its Shift-JIS bytes.
    std::string sjis = utf8ToSjis("星降る丘の鐘");
    EXPECT_EQ(sjis, std::string("\x90\xAF\x8D\x7E\x82\xE9\x8B\x75\x82\xCC\x8F\xE0", 12));
    EXPECT_EQ(sjisToUtf8(sjis), "星降る丘の鐘");
    // The circled numbers and the yen-sign trap: 0x5C stays a backslash.
    EXPECT_EQ(utf8ToSjis("①"), std::string("\x87\x40", 2));
    EXPECT_EQ(sjisToUtf8("\x87\x40"), "①");
    EXPECT_EQ(sjisToUtf8("a\\b"), "a\\b");
    // A trail byte 0x5C inside "ソ" is not a separator.
    EXPECT_EQ(sjisToUtf8("\x83\x5C"), "ソ");
}

TEST(Text, BadBytesBecomeQuestionMarks)
{
    EXPECT_EQ(sjisToUtf8(std::string("A\x81", 2)), "A?");
    EXPECT_EQ(utf8ToSjis("A\xFF" "B"), "A?B");
    EXPECT_EQ(sjisToUtf8(""), "");
}

TEST(Text, CountsDoubleByteCharactersOnce)
{
    EXPECT_EQ(countSjisChars(utf8ToSjis("あいうABC")), 6u);
    EXPECT_EQ(countSjisChars(""), 0u);
    EXPECT_EQ(countSjisChars(std::string("\x82", 1)), 1u);
    EXPECT_TRUE(isSjisLead(0x81));
    EXPECT_TRUE(isSjisLead(0xE0));
    EXPECT_FALSE(isSjisLead(0xA0)); // half-width katakana are single bytes
    EXPECT_FALSE(isSjisLead(0x5C));
}

TEST(Text, FixedTextsConvertOnce)
{
    const std::string& a = SJ("起動時間 : ");
    EXPECT_EQ(a, utf8ToSjis("起動時間 : "));
}
