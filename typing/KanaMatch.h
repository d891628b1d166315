#pragma once
#include "typing/KanaTables.h"

#include <string_view>

// What one call of MatchKana found.
struct KanaMatch {
    bool accepted = false;       // the keys are a valid beginning of a romaji form
    bool kanaDone = false;       // a romaji form is complete
    bool pairConsumed = false;   // the completed form covers two kana
    bool tsuPairConsumed = false; // ... or three: っ, a kana and its small kana (っしゃ as SSHA)
    bool wildcard = false;       // the kana accepted any key
    char guideText[3] = {};      // replaces the first guideCount characters of the guide
    int guideCount = 0;
};

// Matches the keys typed for the kana at the reading position. current, next and afterNext
// are the kana at the reading position and the two after it (0 past the end). Kana that no
// table holds accept nothing.
KanaMatch MatchKana(std::string_view buffer, KanaCode current, KanaCode next, KanaCode afterNext = 0);
