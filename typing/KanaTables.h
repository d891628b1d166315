#pragma once
// The two tables that say which romaji type which kana. Kana are Shift-JIS double-byte
// codes compared as whole two-byte values (lead byte high); romaji are upper-case ASCII.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

using KanaCode = uint16_t;

// One kana and up to two romaji forms, each NUL-padded in five bytes.
struct KanaRomajiRow {
    char kana[5];
    char romaji[2][5];
};

// A kana followed by a small kana, and up to three romaji forms.
struct KanaPairRow {
    char pair[5];
    char romaji[3][5];
};

inline constexpr size_t kKanaRomajiRows = 83;
inline constexpr size_t kKanaPairRows = 84;

const std::array<KanaRomajiRow, kKanaRomajiRows>& KanaRomajiTable();
const std::array<KanaPairRow, kKanaPairRows>& KanaPairTable();

// The two-byte value of a Shift-JIS kana stored in a row.
inline KanaCode kanaCode(const char* bytes)
{
    return KanaCode(uint8_t(bytes[0]) << 8 | uint8_t(bytes[1]));
}

// Rows by kana; nullptr when the table has none.
const KanaRomajiRow* findKanaRow(KanaCode kana);
const KanaPairRow* findPairRow(KanaCode first, KanaCode second);

// Kana the matcher treats specially, as Shift-JIS codes.
namespace kana {
inline constexpr KanaCode kCircle = 0x819B;    // ○: any key types it
inline constexpr KanaCode kSmallTsu = 0x82C1;  // っ
inline constexpr KanaCode kN = 0x82F1;         // ん
inline constexpr KanaCode kA = 0x82A0, kI = 0x82A2, kU = 0x82A4, kE = 0x82A6, kO = 0x82A8;
inline constexpr KanaCode kNa = 0x82C8, kNi = 0x82C9, kNu = 0x82CA, kNe = 0x82CB, kNo = 0x82CC;
inline constexpr KanaCode kShi = 0x82B5, kChi = 0x82BF, kTsu = 0x82C2, kJi = 0x82B6, kFu = 0x82D3;
inline constexpr KanaCode kSmallA = 0x829F, kSmallI = 0x82A1, kSmallU = 0x82A3, kSmallE = 0x82A5,
                          kSmallO = 0x82A7, kSmallYa = 0x82E1, kSmallYu = 0x82E3, kSmallYo = 0x82E5;

inline bool isVowel(KanaCode k) { return k == kA || k == kI || k == kU || k == kE || k == kO; }
inline bool isNaRow(KanaCode k) { return k == kNa || k == kNi || k == kNu || k == kNe || k == kNo; }
inline bool isSmall(KanaCode k)
{
    return k == kSmallYa || k == kSmallYu || k == kSmallYo || k == kSmallA || k == kSmallI || k == kSmallU ||
           k == kSmallE || k == kSmallO;
}
} // namespace kana

// Builds both tables (they are converted to Shift-JIS on first use), so that the first
// keystroke of a line allocates nothing.
void prepareKanaTables();
