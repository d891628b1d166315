// The keystroke engine: alternative spellings, the guide, っ and ん, scoring and key order,
// driven one key a frame as a player types.
#include "TypingTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

using namespace typingtest;

namespace {

struct Typed {
    std::vector<std::string> guides; // the guide after each key
    std::string typed;
    int mistypes = 0;
    bool done = false;
    int32_t kanaPos = 0;
};

Typed typeOneByOne(TypingLine& l, std::string_view keys)
{
    Typed t;
    for (char c : keys) {
        ProcessTypingKeys(l, keyBit(c));
        t.guides.emplace_back(l.GuideText.view());
    }
    t.typed = std::string(l.TypedHistory.view());
    t.mistypes = l.MistypeCount;
    t.done = l.LineDone;
    t.kanaPos = l.KanaPos;
    return t;
}

struct GuideCase {
    const char* what;
    const char* kana;
    const char* guide;
    const char* keys;
    std::vector<std::string> guides;
    bool done;
};

} // namespace

TEST(TypingEngine, AlternativeSpellingsKeepTheGuideInStep)
{
    const GuideCase cases[] = {
        {"し as SI", "し", "SI", "SI", {"I", ""}, true},
        {"し as SHI", "し", "SI", "SHI", {"I", "I", ""}, true},
        {"ち as TI", "ち", "TI", "TI", {"I", ""}, true},
        {"ち as CHI", "ち", "TI", "CHI", {"HI", "I", ""}, true},
        {"つ as TSU", "つ", "TU", "TSU", {"U", "U", ""}, true},
        {"ふ as FU", "ふ", "HU", "FU", {"U", ""}, true},
        {"じ as JI", "じ", "ZI", "JI", {"I", ""}, true},
        {"じゃ as JA", "じゃ", "ZYA", "JA", {"A", ""}, true},
        {"じゃ as JYA", "じゃ", "ZYA", "JYA", {"A", "A", ""}, true},
        {"じゃ as ZYA", "じゃ", "ZYA", "ZYA", {"YA", "A", ""}, true},
        {"じょ as JO", "じょ", "ZYO", "JO", {"O", ""}, true},
        {"ふぃ as FI", "ふぃ", "FI", "FI", {"I", ""}, true},
        {"ふぃ as FYI", "ふぃ", "FI", "FYI", {"I", "I", ""}, true},
        {"ふぇ as FYE", "ふぇ", "FE", "FYE", {"E", "E", ""}, true},
        {"しゃ as SHA", "しゃ", "SYA", "SHA", {"YA", "A", ""}, true},
        {"ちゃ as CHA", "ちゃ", "TYA", "CHA", {"YA", "A", ""}, true},
        {"しゃ as SI then LYA", "しゃ", "SILYA", "SILYA", {"ILYA", "LYA", "YA", "A", ""}, true},
        {"んか as N K A", "んか", "NKA", "NKA", {"KA", "A", ""}, true},
        {"んか as N N K A", "んか", "NKA", "NNKA", {"KA", "KA", "A", ""}, true},
        {"んな as N N N A", "んな", "NNNA", "NNNA", {"NNA", "NA", "A", ""}, true},
        {"ん at the end as N", "かん", "KAN", "KAN", {"AN", "N", ""}, true},
        {"きって", "きってね", "KITTENE", "KITTEN", {"ITTENE", "TTENE", "TENE", "ENE", "NE", "E"}, false},
        {"っあ as XTU A", "っあ", "XTUA", "XTUA", {"TUA", "UA", "A", ""}, true},
        {"、 and ー", "あ、ー", "A,-", "A,-", {",-", "-", ""}, true},
        {"○ takes any key", "○あ", "?A", "QA", {"A", ""}, true},
        {"っし as SSHI", "っし", "SSI", "SSHI", {"SI", "I", "I", ""}, true},
        {"っち as CCHI", "っち", "TTI", "CCHI", {"TI", "HI", "I", ""}, true},
        {"っしゃ as SSHA", "っしゃい", "SSYAI", "SSHAI", {"SYAI", "YAI", "AI", "I", ""}, true},
        {"っじゃ as JJA", "っじゃ", "ZZYA", "JJA", {"ZYA", "A", ""}, true},
    };
    for (const GuideCase& c : cases) {
        TypingLine l = line(c.kana, c.guide);
        const Typed t = typeOneByOne(l, c.keys);
        EXPECT_EQ(t.guides, c.guides) << c.what;
        EXPECT_EQ(t.mistypes, 0) << c.what;
        EXPECT_EQ(t.done, c.done) << c.what;
        EXPECT_EQ(t.typed, c.what == std::string("○ takes any key") ? "?A" : c.keys) << c.what;
    }
}

TEST(TypingEngine, KeysThatFitNoFormAreMistypesAndLeaveTheBuffer)
{
    struct Case {
        const char* what;
        const char* kana;
        const char* guide;
        const char* keys;
        int mistypes;
        const char* typed;
    };
    const Case cases[] = {
        {"っあ refuses a doubled vowel", "っあ", "LTUA", "AALTUA", 2, "LTUA"},
        {"っあ refuses T", "っあ", "LTUA", "TLTUA", 1, "LTUA"},
        {"comma is no doubled consonant", "っ、", "LTU,", ",LTU,", 1, "LTU,"},
        {"minus is no doubled consonant", "っー", "LTU-", "-LTU-", 1, "LTU-"},
        {"ん before な needs two N", "んな", "NNNA", "NANNA", 1, "NNNA"},
        {"a third N after NN is a mistype", "んか", "NKA", "NNNKA", 1, "NNKA"},
        {"kanji cannot be typed", "星", "HOSI", "HOSI", 4, ""},
        {"an empty reading takes nothing", "", "A", "A", 1, ""},
        {"past the end of the reading", "あ", "AA", "AA", 1, "A"},
        {"てゃ has no pair row", "てゃ", "THA", "THA", 2, "T"},
        {"pairs without small kana stay apart", "しや", "SIYA", "SYASIYA", 3, "SIYA"},
    };
    for (const Case& c : cases) {
        TypingLine l = line(c.kana, c.guide);
        const Typed t = typeOneByOne(l, c.keys);
        EXPECT_EQ(t.mistypes, c.mistypes) << c.what;
        EXPECT_EQ(t.typed, c.typed) << c.what;
        EXPECT_LE(l.KeyBuffer.size(), 4u) << c.what;
    }
}

TEST(TypingEngine, ReadingPositionAdvancesByTheKanaAFormCovers)
{
    struct Case {
        const char* kana;
        const char* guide;
        const char* keys;
        int32_t pos;
    };
    const Case cases[] = {
        {"きってね", "KITTENE", "KITTE", 6},   // って on E
        {"きってね", "KITTENE", "KITT", 2},
        {"しゃか", "SYAKA", "SHA", 4},
        {"っしゃか", "SSYAKA", "SSHA", 6},
        {"っしゃか", "LTUSYAKA", "LTUSYA", 6},
        {"んな", "NNNA", "N", 0},
        {"んか", "NKA", "N", 2},
        {"○か", "?KA", "Z", 2},
    };
    for (const Case& c : cases) {
        TypingLine l = line(c.kana, c.guide);
        const Typed t = typeOneByOne(l, c.keys);
        EXPECT_EQ(t.kanaPos, c.pos) << c.kana << " " << c.keys;
        EXPECT_EQ(t.mistypes, 0) << c.kana << " " << c.keys;
    }
}

TEST(TypingEngine, ScoresKeysTimeAndCleanLines)
{
    struct Case {
        const char* what;
        const char* keys;
        int32_t timeLeft;
        int32_t streakBefore;
        int32_t score;
        int32_t streak;
        bool clear;
    };
    // "か" typed with some wrong keys first; every key scores 300.
    const Case cases[] = {
        {"clean with 12345 ms", "KA", 12345, 0, 600 + 12300 + 50000, 1, true},
        {"two mistypes still clean", "QQKA", 12345, 0, 1200 + 12300 + 50000, 1, true},
        {"three mistypes", "QQQKA", 12345, 5, 1500 + 12300, 5, false},
        {"streak stops at 99", "KA", 100, 99, 600 + 100 + 50000, 99, true},
        {"no time left keeps the streak", "KA", 0, 7, 600 + 50000, 7, true},
        {"99 ms count nothing", "KA", 99, 0, 600 + 50000, 1, true},
    };
    for (const Case& c : cases) {
        TypingLine l = line("か", "KA");
        l.TimeLeft = c.timeLeft;
        l.ClearStreak = c.streakBefore;
        typeOneByOne(l, c.keys);
        EXPECT_TRUE(l.LineDone) << c.what;
        EXPECT_EQ(l.Score, c.score) << c.what;
        EXPECT_EQ(l.ClearStreak, c.streak) << c.what;
        EXPECT_EQ(l.ShowClear, c.clear) << c.what;
        EXPECT_EQ(l.TimeAtEnd, c.timeLeft) << c.what;
        EXPECT_EQ(l.ResultTimer, 1000) << c.what;
    }
}

TEST(TypingEngine, KeysOfOneFrameGoInTableOrderAndSoundsFollowThem)
{
    // K and A in the same frame: A is handled first and is wrong for か.
    TypingLine l = line("かき", "KAKI");
    TypingKeyResult r = ProcessTypingKeys(l, keyBit('K') | keyBit('A'));
    EXPECT_EQ(l.MistypeCount, 1);
    EXPECT_EQ(l.KeystrokeCount, 2);
    EXPECT_EQ(l.Score, 600);
    EXPECT_EQ(std::string(l.TypedHistory.view()), "K");
    EXPECT_TRUE(r.acceptSound);
    EXPECT_TRUE(r.rejectSound);

    // A then I in one frame finish "あい": I comes after A in the table.
    TypingLine l2 = line("あい", "AI");
    r = ProcessTypingKeys(l2, keyBit('I') | keyBit('A'));
    EXPECT_TRUE(l2.LineDone);
    EXPECT_TRUE(r.finished);
    EXPECT_TRUE(r.acceptSound) << "A was a key inside the line";

    TypingLine single = line("い", "I");
    r = ProcessTypingKeys(single, keyBit('I'));
    EXPECT_TRUE(r.finished);
    EXPECT_FALSE(r.acceptSound) << "the finishing key plays no key sound";

    // Keys after the finishing key of the frame are not counted.
    TypingLine l3 = line("あ", "A");
    ProcessTypingKeys(l3, keyBit('A') | keyBit('Z'));
    EXPECT_EQ(l3.KeystrokeCount, 1);
    EXPECT_EQ(l3.MistypeCount, 0);

    // A finished line takes no more keys.
    const int32_t score = l3.Score;
    r = ProcessTypingKeys(l3, keyBit('B'));
    EXPECT_EQ(l3.Score, score);
    EXPECT_FALSE(r.rejectSound);
}

TEST(TypingEngine, TheLineTimesOutBelowZero)
{
    TypingLine l = line("あ", "A");
    EXPECT_FALSE(TickTypingLine(l, 20000));
    EXPECT_EQ(l.TimeLeft, 0);
    EXPECT_TRUE(TickTypingLine(l, 16));
    EXPECT_TRUE(l.LineDone);
    EXPECT_EQ(l.TimeAtEnd, -16);
    EXPECT_EQ(l.ResultTimer, 1000);
    EXPECT_FALSE(TickTypingLine(l, 16)) << "a line times out once";
}

TEST(TypingEngine, AccuracyIsWholePercentOfGoodKeys)
{
    TypingLine l = line("かきく", "KAKIKU");
    EXPECT_EQ(typingAccuracy(l), 100);
    typeOneByOne(l, "KQAZ");
    EXPECT_EQ(typingAccuracy(l), 50);
    typeOneByOne(l, "K");
    EXPECT_EQ(typingAccuracy(l), 60);
}

TEST(TypingEngine, OverlongTextIsCutOnACharacterBoundary)
{
    TypingText t;
    std::string s(126, 'A');
    s += platform::utf8ToSjis("あ");
    EXPECT_TRUE(t.assign(s)) << "128 bytes do not fit";
    EXPECT_EQ(t.size(), 126u) << "the kana is dropped whole, not split";
    EXPECT_FALSE(t.assign(std::string(127, 'B')));
    EXPECT_EQ(t.size(), 127u);
}
