// The two romaji tables: sizes, whole two-byte kana, one row per kana, forms in order.
#include "TypingTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

using namespace typingtest;

TEST(KanaTables, EveryRowHoldsWholeKanaAndUpperCaseForms)
{
    std::set<KanaCode> singles;
    for (const KanaRomajiRow& row : KanaRomajiTable()) {
        EXPECT_EQ(std::strlen(row.kana), 2u);
        EXPECT_TRUE(singles.insert(kanaCode(row.kana)).second) << "one row per kana";
        EXPECT_GT(std::strlen(row.romaji[0]), 0u);
        for (const char* form : row.romaji)
            for (const char* c = form; *c; ++c)
                EXPECT_TRUE((*c >= 'A' && *c <= 'Z') || *c == ',' || *c == '-');
    }
    EXPECT_EQ(singles.size(), 83u);

    std::set<std::pair<KanaCode, KanaCode>> pairs;
    for (const KanaPairRow& row : KanaPairTable()) {
        EXPECT_EQ(std::strlen(row.pair), 4u);
        EXPECT_TRUE(pairs.insert({kanaCode(row.pair), kanaCode(row.pair + 2)}).second);
        EXPECT_TRUE(kana::isSmall(kanaCode(row.pair + 2)));
        EXPECT_NE(findKanaRow(kanaCode(row.pair)), nullptr) << "the first kana types alone too";
    }
}

TEST(KanaTables, RowsKeepTheirOrderAndAlternatives)
{
    struct Single {
        const char* kana;
        const char* first;
        const char* second;
    };
    const Single singles[] = {{"し", "SI", "SHI"}, {"ち", "TI", "CHI"}, {"つ", "TU", "TSU"}, {"ふ", "HU", "FU"},
                              {"じ", "ZI", "JI"},  {"ん", "NN", ""},    {"っ", "LTU", "XTU"}, {"ヴ", "VU", ""},
                              {"、", ",", ""},     {"ー", "-", ""},     {"ょ", "LYO", "XYO"}};
    for (const Single& s : singles) {
        const KanaRomajiRow* row = findKanaRow(code(s.kana));
        ASSERT_NE(row, nullptr) << s.kana;
        EXPECT_STREQ(row->romaji[0], s.first) << s.kana;
        EXPECT_STREQ(row->romaji[1], s.second) << s.kana;
    }
    EXPECT_EQ(kanaCode(KanaRomajiTable().front().kana), code("あ"));
    EXPECT_EQ(kanaCode(KanaRomajiTable().back().kana), code("ー"));

    const KanaPairRow* ja = findPairRow(code("じ"), code("ゃ"));
    ASSERT_NE(ja, nullptr);
    EXPECT_STREQ(ja->romaji[0], "JA");
    EXPECT_STREQ(ja->romaji[1], "ZYA");
    EXPECT_STREQ(ja->romaji[2], "JYA");
    const KanaPairRow* cha = findPairRow(code("ち"), code("ゃ"));
    ASSERT_NE(cha, nullptr);
    EXPECT_STREQ(cha->romaji[2], "CYA");
    EXPECT_EQ(findPairRow(code("て"), code("ゃ")), nullptr);
    EXPECT_EQ(findKanaRow(code("星")), nullptr);
    EXPECT_EQ(findKanaRow(0), nullptr);
    EXPECT_EQ(kanaCode(KanaPairTable().front().pair), code("い"));
    EXPECT_EQ(kanaCode(KanaPairTable().back().pair + 2), code("ょ"));
}

TEST(KanaTables, MatchKanaFlags)
{
    struct Case {
        const char* what;
        const char* buffer;
        const char* current;
        const char* next;
        bool accepted, done, pair, wildcard;
        const char* guide;
        int count;
    };
    const Case cases[] = {
        {"empty buffer", "", "あ", "", false, false, false, false, "", 0},
        {"circle", "Q", "○", "", true, true, false, true, "", 0},
        {"prefix", "K", "か", "", true, false, false, false, "", 0},
        {"whole", "KA", "か", "", true, true, false, false, "", 0},
        {"SH", "SH", "し", "", true, false, false, false, "I", 1},
        {"C", "C", "ち", "", true, false, false, false, "HI", 2},
        {"TS", "TS", "つ", "", true, false, false, false, "U", 1},
        {"J before ゅ", "J", "じ", "ゅ", true, false, true, false, "U", 3},
        {"JY before ょ", "JY", "じ", "ょ", true, false, true, false, "O", 1},
        {"FY before ぃ", "FY", "ふ", "ぃ", true, false, true, false, "I", 1},
        {"pair whole", "KYA", "き", "ゃ", true, true, true, false, "", 0},
        {"ん before か", "N", "ん", "か", true, true, false, false, "", 0},
        {"ん before の", "N", "ん", "の", true, false, false, false, "", 0},
        {"NN before の", "NN", "ん", "の", true, true, false, false, "", 0},
        {"ん at the end", "N", "ん", "", true, true, false, false, "", 0},
        {"っ first key", "K", "っ", "か", true, false, false, false, "", 0},
        {"っ doubled", "KKA", "っ", "か", true, true, true, false, "", 0},
        {"っ wrong first key", "S", "っ", "か", false, false, false, false, "", 0},
        {"っ before kanji", "K", "っ", "星", false, false, false, false, "", 0},
        {"っ at the end", "T", "っ", "", false, false, false, false, "", 0},
        {"っ as XTU", "XTU", "っ", "か", true, true, false, false, "", 0},
        {"kanji", "A", "星", "", false, false, false, false, "", 0},
    };
    for (const Case& c : cases) {
        const KanaMatch m = MatchKana(c.buffer, code(c.current), code(c.next));
        EXPECT_EQ(m.accepted, c.accepted) << c.what;
        EXPECT_EQ(m.kanaDone, c.done) << c.what;
        EXPECT_EQ(m.pairConsumed, c.pair) << c.what;
        EXPECT_EQ(m.wildcard, c.wildcard) << c.what;
        EXPECT_STREQ(m.guideText, c.guide) << c.what;
        EXPECT_EQ(m.guideCount, c.count) << c.what;
    }
}
