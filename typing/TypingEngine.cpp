#include "typing/TypingEngine.h"

#include <climits>

namespace {

void addScore(int32_t& score, int32_t points)
{
    score = points > INT32_MAX - score ? INT32_MAX : score + points;
}

void finishLine(TypingLine& line)
{
    line.LineDone = true;
    line.TimeAtEnd = line.TimeLeft;
    line.ResultTimer = kResultMs;
    addScore(line.Score, line.TimeLeft / 100 * 100);
    if (line.MistypeCount < kCleanLineMistypes) {
        if (line.TimeLeft > 0 && line.ClearStreak < kMaxClearStreak)
            ++line.ClearStreak;
        addScore(line.Score, kCleanLineBonus);
        line.ShowClear = true;
    } else {
        line.ShowClear = false;
    }
}

void updateGuide(TypingLine& line, const KanaMatch& m)
{
    TypingText& guide = line.GuideText;
    const char lead = line.KeyBuffer[0];
    if (m.guideCount > 0 && !((lead == 'L' || lead == 'X') && m.guideText[0] == 'T')) {
        guide.eraseFront(size_t(m.guideCount));
        guide.prepend(m.guideText);
    } else {
        guide.eraseFront(1);
    }
}

} // namespace

void StartTypingLine(TypingLine& line)
{
    line.KanaPos = 0;
    line.KeyBuffer.clear();
    line.TypedHistory.clear();
    line.TimeLeft = kLineTimeMs;
    line.TimeAtEnd = 0;
    line.ResultTimer = 0;
    line.LineDone = false;
    line.ShowClear = false;
    line.KeystrokeCount = 0;
    line.MistypeCount = 0;
}

KanaCode kanaAt(const TypingText& kana, int32_t pos)
{
    if (pos < 0 || size_t(pos) >= kana.size())
        return 0;
    const uint8_t hi = uint8_t(kana[size_t(pos)]);
    const uint8_t lo = size_t(pos) + 1 < kana.size() ? uint8_t(kana[size_t(pos) + 1]) : 0;
    return KanaCode(hi << 8 | lo);
}

TypingKeyResult ProcessTypingKeys(TypingLine& line, uint32_t pressed)
{
    TypingKeyResult r;
    for (size_t k = 0; k < TypingKeyTable.size() && !line.LineDone; ++k) {
        if (!(pressed >> k & 1u))
            continue;
        const char key = TypingKeyTable[k].character;
        ++line.KeystrokeCount;
        addScore(line.Score, kPointsPerKey);

        const bool buffered = line.KeyBuffer.push(key);
        const KanaCode current = kanaAt(line.KanaText, line.KanaPos);
        const KanaCode next = kanaAt(line.KanaText, line.KanaPos + 2);
        const KanaCode afterNext = kanaAt(line.KanaText, line.KanaPos + 4);

        // The second N of ん typed as "NN" where one N already finished it.
        const TypingText& typed = line.TypedHistory;
        if (current != kana::kN && key == 'N' && typed.back() == 'N' &&
            (typed.size() < 2 || typed[typed.size() - 2] != 'N') && !kana::isNaRow(current)) {
            line.TypedHistory.push('N');
            line.KeyBuffer.clear();
            r.romajiChanged = true;
            continue;
        }

        const KanaMatch m = buffered ? MatchKana(line.KeyBuffer.view(), current, next, afterNext) : KanaMatch{};
        if (!m.accepted) {
            r.rejectSound = true;
            if (buffered)
                line.KeyBuffer.pop();
            ++line.MistypeCount;
            continue;
        }
        updateGuide(line, m);
        line.TypedHistory.push(m.wildcard ? '?' : key);
        r.romajiChanged = true;
        if (line.GuideText.empty()) {
            finishLine(line);
            r.finished = true;
            continue;
        }
        r.acceptSound = true;
        if (m.kanaDone) {
            line.KeyBuffer.clear();
            line.KanaPos += m.tsuPairConsumed ? 6 : m.pairConsumed ? 4 : 2;
        }
    }
    return r;
}

bool TickTypingLine(TypingLine& line, int32_t delta)
{
    if (line.LineDone)
        return false;
    line.TimeLeft -= delta;
    if (line.TimeLeft >= 0)
        return false;
    line.TimeAtEnd = line.TimeLeft;
    line.LineDone = true;
    line.ResultTimer = kResultMs;
    return true;
}

int32_t typingAccuracy(const TypingLine& line)
{
    if (line.KeystrokeCount <= 0)
        return 100;
    return 100 - int32_t(int64_t(line.MistypeCount) * 100 / line.KeystrokeCount);
}
