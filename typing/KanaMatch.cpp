#include "typing/KanaMatch.h"

#include <algorithm>
#include <cstring>

namespace {

bool isPrefixOf(std::string_view input, const char* form)
{
    const size_t n = std::strlen(form);
    return n > 0 && input.size() <= n && std::memcmp(form, input.data(), input.size()) == 0;
}

void substitute(KanaMatch& m, const char* text, int count)
{
    const size_t n = std::min(std::strlen(text), sizeof m.guideText - 1);
    std::memcpy(m.guideText, text, n);
    m.guideText[n] = '\0';
    m.guideCount = count;
}

// The guide writes じゃ, じゅ, じぇ, じょ as "ZYA" ... and ふぃ, ふぇ as "FI", "FE"; a player who
// starts them as "J", "JY" or "FY" gets a guide that follows the keys.
void pairSubstitution(KanaMatch& m, std::string_view input, KanaCode first, KanaCode second)
{
    using namespace kana;
    if (first == kJi) {
        const char* vowel = second == kSmallYa ? "A" : second == kSmallYu ? "U" : second == kSmallE ? "E"
                          : second == kSmallYo ? "O" : nullptr;
        if (vowel && input == "J")
            substitute(m, vowel, 3);
        else if (vowel && input == "JY")
            substitute(m, vowel, 1);
    } else if (first == kFu && input == "FY") {
        if (second == kSmallI)
            substitute(m, "I", 1);
        else if (second == kSmallE)
            substitute(m, "E", 1);
    }
}

// The guide writes し, ち, つ as "SI", "TI", "TU".
void singleSubstitution(KanaMatch& m, std::string_view input, KanaCode k)
{
    using namespace kana;
    if (k == kShi && input == "SH")
        substitute(m, "I", 1);
    else if (k == kChi && input == "C")
        substitute(m, "HI", 2);
    else if (k == kTsu && input == "TS")
        substitute(m, "U", 1);
}

} // namespace

KanaMatch MatchKana(std::string_view buffer, KanaCode current, KanaCode next, KanaCode afterNext)
{
    using namespace kana;
    KanaMatch m;
    if (buffer.empty())
        return m;
    if (current == kCircle) {
        m.accepted = m.kanaDone = m.wildcard = true;
        return m;
    }

    // The kana being matched and the kana after it: normally the current one, but after a
    // doubled consonant for っ the one that follows っ.
    std::string_view input = buffer;
    KanaCode lookup = current, following = next;
    bool doubled = false;
    if (current == kSmallTsu && !isVowel(next)) {
        const char first = buffer[0];
        if (std::strchr("AIUEOLX", first) != nullptr) {
            // っ typed on its own as LTU or XTU.
        } else if (first == ',' || first == '-') {
            return m;
        } else if (buffer.size() == 1) {
            const KanaRomajiRow* row = findKanaRow(next);
            m.accepted = row && (row->romaji[0][0] == first || row->romaji[1][0] == first);
            return m;
        } else if (buffer[0] == buffer[1]) {
            input = buffer.substr(1);
            lookup = next;
            following = afterNext;
            doubled = true;
        }
    }

    if (isSmall(following)) {
        if (const KanaPairRow* row = findPairRow(lookup, following)) {
            for (const char* form : row->romaji) {
                if (!isPrefixOf(input, form))
                    continue;
                m.accepted = m.pairConsumed = true;
                m.tsuPairConsumed = doubled;
                m.kanaDone = std::strlen(form) == input.size();
                pairSubstitution(m, input, lookup, following);
                return m;
            }
        }
    }

    if (const KanaRomajiRow* row = findKanaRow(lookup)) {
        for (const char* form : row->romaji) {
            if (!isPrefixOf(input, form))
                continue;
            if (lookup == kN)
                // One N ends ん unless a kana of the な row follows, which needs the second.
                m.kanaDone = !isNaRow(following) || input == "NN";
            else
                m.kanaDone = std::strlen(form) == input.size();
            singleSubstitution(m, input, lookup);
            m.pairConsumed = doubled;
            m.accepted = true;
            return m;
        }
    }
    return m;
}
