#include "typing/KanaTables.h"

#include "platform/Text.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

// The tables are written in UTF-8 for people and turned into Shift-JIS rows once.
struct SingleSource {
    const char* kana;
    const char* romaji1;
    const char* romaji2;
};

struct PairSource {
    const char* pair;
    const char* romaji1;
    const char* romaji2;
    const char* romaji3;
};

constexpr SingleSource kSingles[kKanaRomajiRows] = {
    {"あ", "A", ""}, {"い", "I", ""}, {"う", "U", ""}, {"え", "E", ""}, {"お", "O", ""},
    {"か", "KA", ""}, {"き", "KI", ""}, {"く", "KU", ""}, {"け", "KE", ""}, {"こ", "KO", ""},
    {"さ", "SA", ""}, {"し", "SI", "SHI"}, {"す", "SU", ""}, {"せ", "SE", ""}, {"そ", "SO", ""},
    {"た", "TA", ""}, {"ち", "TI", "CHI"}, {"つ", "TU", "TSU"}, {"て", "TE", ""}, {"と", "TO", ""},
    {"な", "NA", ""}, {"に", "NI", ""}, {"ぬ", "NU", ""}, {"ね", "NE", ""}, {"の", "NO", ""},
    {"は", "HA", ""}, {"ひ", "HI", ""}, {"ふ", "HU", "FU"}, {"へ", "HE", ""}, {"ほ", "HO", ""},
    {"ま", "MA", ""}, {"み", "MI", ""}, {"む", "MU", ""}, {"め", "ME", ""}, {"も", "MO", ""},
    {"や", "YA", ""}, {"ゆ", "YU", ""}, {"よ", "YO", ""},
    {"ら", "RA", ""}, {"り", "RI", ""}, {"る", "RU", ""}, {"れ", "RE", ""}, {"ろ", "RO", ""},
    {"わ", "WA", ""}, {"を", "WO", ""}, {"ん", "NN", ""},
    {"が", "GA", ""}, {"ぎ", "GI", ""}, {"ぐ", "GU", ""}, {"げ", "GE", ""}, {"ご", "GO", ""},
    {"ざ", "ZA", ""}, {"じ", "ZI", "JI"}, {"ず", "ZU", ""}, {"ぜ", "ZE", ""}, {"ぞ", "ZO", ""},
    {"だ", "DA", ""}, {"ぢ", "DI", ""}, {"づ", "DU", ""}, {"で", "DE", ""}, {"ど", "DO", ""},
    {"ば", "BA", ""}, {"び", "BI", ""}, {"ぶ", "BU", ""}, {"べ", "BE", ""}, {"ぼ", "BO", ""},
    {"ぱ", "PA", ""}, {"ぴ", "PI", ""}, {"ぷ", "PU", ""}, {"ぺ", "PE", ""}, {"ぽ", "PO", ""},
    {"ぁ", "LA", "XA"}, {"ぃ", "LI", "XI"}, {"ぅ", "LU", "XU"}, {"ぇ", "LE", "XE"}, {"ぉ", "LO", "XO"},
    {"ゃ", "LYA", "XYA"}, {"ゅ", "LYU", "XYU"}, {"ょ", "LYO", "XYO"}, {"っ", "LTU", "XTU"},
    {"ヴ", "VU", ""}, {"、", ",", ""}, {"ー", "-", ""},
};

constexpr PairSource kPairs[kKanaPairRows] = {
    {"いぇ", "YE", "", ""}, {"うぃ", "WI", "", ""}, {"うぇ", "WE", "", ""}, {"ヴぁ", "VA", "", ""},
    {"ヴぃ", "VI", "", ""}, {"ヴぇ", "VE", "", ""}, {"ヴぉ", "VO", "", ""},
    {"きゃ", "KYA", "", ""}, {"きぃ", "KYI", "", ""}, {"きゅ", "KYU", "", ""}, {"きぇ", "KYE", "", ""},
    {"きょ", "KYO", "", ""}, {"くぁ", "KWA", "", ""},
    {"しゃ", "SYA", "SHA", ""}, {"しぃ", "SYI", "", ""}, {"しゅ", "SYU", "SHU", ""}, {"しぇ", "SYE", "SHE", ""},
    {"しょ", "SYO", "SHO", ""},
    {"ちゃ", "TYA", "CHA", "CYA"}, {"ちぃ", "TYI", "", ""}, {"ちゅ", "TYU", "CHU", "CYU"},
    {"ちぇ", "TYE", "CHE", "CYE"}, {"ちょ", "TYO", "CHO", "CYO"},
    {"てぃ", "THI", "", ""}, {"てゅ", "THU", "", ""}, {"てぇ", "THE", "", ""}, {"てょ", "THO", "", ""},
    {"にゃ", "NYA", "", ""}, {"にぃ", "NYI", "", ""}, {"にゅ", "NYU", "", ""}, {"にぇ", "NYE", "", ""},
    {"にょ", "NYO", "", ""},
    {"ひゃ", "HYA", "", ""}, {"ひぃ", "HYI", "", ""}, {"ひゅ", "HYU", "", ""}, {"ひぇ", "HYE", "", ""},
    {"ひょ", "HYO", "", ""},
    {"ふぁ", "FA", "", ""}, {"ふぃ", "FI", "FYI", ""}, {"ふぇ", "FE", "FYE", ""}, {"ふぉ", "FO", "", ""},
    {"ふゃ", "FYA", "", ""}, {"ふゅ", "FYU", "", ""}, {"ふょ", "FYO", "", ""},
    {"みゃ", "MYA", "", ""}, {"みぃ", "MYI", "", ""}, {"みゅ", "MYU", "", ""}, {"みぇ", "MYE", "", ""},
    {"みょ", "MYO", "", ""},
    {"りゃ", "RYA", "", ""}, {"りぃ", "RYI", "", ""}, {"りゅ", "RYU", "", ""}, {"りぇ", "RYE", "", ""},
    {"りょ", "RYO", "", ""},
    {"ぎゃ", "GYA", "", ""}, {"ぎぃ", "GYI", "", ""}, {"ぎゅ", "GYU", "", ""}, {"ぎぇ", "GYE", "", ""},
    {"ぎょ", "GYO", "", ""},
    {"じゃ", "JA", "ZYA", "JYA"}, {"じぃ", "JYI", "ZYI", ""}, {"じゅ", "JU", "ZYU", "JYU"},
    {"じぇ", "JE", "ZYE", "JYE"}, {"じょ", "JO", "ZYO", "JYO"},
    {"ぢゃ", "DYA", "", ""}, {"ぢぃ", "DYI", "", ""}, {"ぢゅ", "DYU", "", ""}, {"ぢぇ", "DYE", "", ""},
    {"ぢょ", "DYO", "", ""},
    {"でゃ", "DHA", "", ""}, {"でぃ", "DHI", "", ""}, {"でゅ", "DHU", "", ""}, {"でぇ", "DHE", "", ""},
    {"でょ", "DHO", "", ""},
    {"びゃ", "BYA", "", ""}, {"びぃ", "BYI", "", ""}, {"びゅ", "BYU", "", ""}, {"びぇ", "BYE", "", ""},
    {"びょ", "BYO", "", ""},
    {"ぴゃ", "PYA", "", ""}, {"ぴぃ", "PYI", "", ""}, {"ぴゅ", "PYU", "", ""}, {"ぴぇ", "PYE", "", ""},
    {"ぴょ", "PYO", "", ""},
};

// Copies at most size - 1 bytes and pads with NULs.
template <size_t N>
void put(char (&field)[N], const std::string& text)
{
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

} // namespace

const std::array<KanaRomajiRow, kKanaRomajiRows>& KanaRomajiTable()
{
    static const std::array<KanaRomajiRow, kKanaRomajiRows> table = [] {
        std::array<KanaRomajiRow, kKanaRomajiRows> t{};
        for (size_t i = 0; i < t.size(); ++i) {
            put(t[i].kana, platform::utf8ToSjis(kSingles[i].kana));
            put(t[i].romaji[0], kSingles[i].romaji1);
            put(t[i].romaji[1], kSingles[i].romaji2);
        }
        return t;
    }();
    return table;
}

const std::array<KanaPairRow, kKanaPairRows>& KanaPairTable()
{
    static const std::array<KanaPairRow, kKanaPairRows> table = [] {
        std::array<KanaPairRow, kKanaPairRows> t{};
        for (size_t i = 0; i < t.size(); ++i) {
            put(t[i].pair, platform::utf8ToSjis(kPairs[i].pair));
            put(t[i].romaji[0], kPairs[i].romaji1);
            put(t[i].romaji[1], kPairs[i].romaji2);
            put(t[i].romaji[2], kPairs[i].romaji3);
        }
        return t;
    }();
    return table;
}

const KanaRomajiRow* findKanaRow(KanaCode k)
{
    if (k == 0)
        return nullptr;
    for (const KanaRomajiRow& row : KanaRomajiTable())
        if (kanaCode(row.kana) == k)
            return &row;
    return nullptr;
}

const KanaPairRow* findPairRow(KanaCode first, KanaCode second)
{
    if (first == 0 || second == 0)
        return nullptr;
    for (const KanaPairRow& row : KanaPairTable())
        if (kanaCode(row.pair) == first && kanaCode(row.pair + 2) == second)
            return &row;
    return nullptr;
}

void prepareKanaTables()
{
    KanaRomajiTable();
    KanaPairTable();
}
