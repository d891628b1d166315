// Where the options screen's controls sit, their help lines, and how the arrow keys move
// between them.
#include "screens/OptionsScreen.h"

#include "platform/Text.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

namespace {

// Rows 0-9 of the screen.
constexpr int32_t kRowY[10] = {64, 112, 144, 176, 224, 272, 304, 336, 368, 400};
constexpr int32_t kButtonHeight = 16;

struct ControlPlace {
    int32_t x, w, row;
};

// Controls 0-32: x, width and row.
constexpr std::array<ControlPlace, OptionsState::kControls> kPlaces{{
    {320, 64, 0}, {400, 96, 0},                                 // 0-1 window, full screen
    {320, 16, 1}, {496, 16, 1},                                 // 2-3 text speed
    {320, 32, 2}, {368, 64, 2}, {448, 64, 2},                   // 4-6 decoration
    {320, 16, 3}, {496, 16, 3}, {560, 64, 3}, {640, 96, 3},     // 7-10 auto wait, auto after a choice
    {320, 64, 4}, {400, 64, 4}, {560, 64, 4}, {640, 96, 4},     // 11-14 skip, skip after a choice
    {320, 64, 5}, {400, 64, 5}, {480, 64, 5},                   // 15-17 effect speed
    {320, 32, 6}, {368, 32, 6}, {432, 16, 6}, {608, 16, 6},     // 18-21 music
    {320, 32, 7}, {368, 32, 7}, {432, 16, 7}, {608, 16, 7},     // 22-25 effects
    {320, 32, 8}, {368, 32, 8}, {432, 16, 8}, {608, 16, 8},     // 26-29 voices
    {640, 64, 9},                                               // 30 per-character settings
    {656, 32, 7}, {656, 32, 8},                                 // 31-32 effect and voice tests
}};

// Entry 0 belongs to the close button, entry c + 1 to control c.
constexpr const char* kHelpUtf8[OptionsState::kControls + 1] = {
    "オプション画面を終了します",
    "ウィンドウモードに切り替えます",
    "フルスクリーンモードに切り替えます",
    "テキストの表示スピードを遅くします",
    "テキストの表示スピードを早くします",
    "文字をデコレーションをしません",
    "文字に影を落とします",
    "文字を縁取りします",
    "オートクリックの待ち時間を短くします",
    "オートクリックの待ち時間を長くします",
    "選択肢を選んだ後、オートクリックを解除します",
    "選択肢を選んだ後もオートクリックを継続します",
    "既読文章のみスキップします",
    "未読文章もスキップします",
    "選択肢を選んだ後、スキップモードを解除します",
    "選択肢を選んだ後もスキップモードを継続します",
    "エフェクトのスピードを標準に設定します",
    "エフェクトのスピードを倍速に設定します",
    "エフェクトを表示しません",
    "ＢＧＭを再生しません",
    "ＢＧＭを再生します",
    "ＢＧＭの音量を小さくします",
    "ＢＧＭの音量を大きくします",
    "効果音を再生しません",
    "効果音を再生します",
    "効果音の音量を小さくします",
    "効果音の音量を大きくします",
    "キャラクター音声を再生しません",
    "キャラクター音声を再生します",
    "キャラクター音声の音量を小さくします",
    "キャラクター音声の音量を大きくします",
    "各キャラクター別に詳細に音量とオン・オフを設定します",
    "効果音の音量をテスト再生します",
    "音声の音量をテスト再生します",
};

bool contains(const OptionsRect& r, int32_t x, int32_t y)
{
    return x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h;
}

// Twice the centre, so that centres of odd widths stay whole.
int32_t centreX2(const OptionsRect& r)
{
    return 2 * r.x + r.w;
}

} // namespace

int32_t optionsRowY(int32_t row)
{
    return kRowY[std::clamp(row, 0, 9)];
}

OptionsRect optionsControlRect(int32_t control)
{
    if (control < 0 || control >= OptionsState::kControls)
        return OptionsLayout::kClose;
    const ControlPlace& p = kPlaces[size_t(control)];
    return OptionsRect{p.x, kRowY[p.row], p.w, kButtonHeight};
}

int32_t optionsControlAt(int32_t x, int32_t y)
{
    for (int32_t c = 0; c < OptionsState::kControls; ++c)
        if (contains(optionsControlRect(c), x, y))
            return c;
    if (contains(OptionsLayout::kClose, x, y))
        return OptionsState::kClose;
    return -2;
}

const std::string& optionsHelpLine(int32_t control)
{
    static const std::vector<std::string> lines = [] {
        std::vector<std::string> v;
        for (const char* s : kHelpUtf8)
            v.push_back(platform::utf8ToSjis(s));
        return v;
    }();
    const int32_t entry = control + 1;
    return lines[size_t(entry >= 0 && entry <= OptionsState::kControls ? entry : 0)];
}

int32_t optionsMove(int32_t control, OptionsDirection direction)
{
    const OptionsRect from = optionsControlRect(control);
    int32_t best = control;
    int32_t bestRowGap = 0, bestDx = 0;
    for (int32_t c = OptionsState::kClose; c < OptionsState::kControls; ++c) {
        if (c == control)
            continue;
        const OptionsRect to = optionsControlRect(c);
        const int32_t dx2 = centreX2(to) - centreX2(from);
        int32_t rowGap = 0;
        switch (direction) {
        case OptionsDirection::Left:
        case OptionsDirection::Right:
            if (to.y != from.y || (direction == OptionsDirection::Left ? dx2 >= 0 : dx2 <= 0))
                continue;
            break;
        case OptionsDirection::Up:
            if (to.y >= from.y)
                continue;
            rowGap = from.y - to.y;
            break;
        case OptionsDirection::Down:
            if (to.y <= from.y)
                continue;
            rowGap = to.y - from.y;
            break;
        }
        const int32_t dist = std::abs(dx2);
        // The nearest row first, then the nearest centre, then the left one of two as near.
        const bool better = best == control || rowGap < bestRowGap ||
                            (rowGap == bestRowGap && (dist < std::abs(bestDx) || (dist == std::abs(bestDx) && dx2 < bestDx)));
        if (better) {
            best = c;
            bestRowGap = rowGap;
            bestDx = dx2;
        }
    }
    return best;
}
