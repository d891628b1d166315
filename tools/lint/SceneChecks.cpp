// Backgrounds, the character, cut-ins, frame animation and screen effects.
#include "scene/EffectsState.h"
#include "scene/SceneState.h"
#include "script/CommandArgs.h"
#include "tools/lint/ScriptCheck.h"

namespace {

const std::initializer_list<std::string_view> kStraight = {"up", "down", "left", "right"};
const std::initializer_list<std::string_view> kAnyDirection = {"up",       "down",        "left",      "right",
                                                               "left_top", "left_bottom", "right_top", "right_bottom"};
constexpr int32_t kPositions = int32_t(ChrPositionTable.size());
constexpr int32_t kCutins = 4;

void none(ScriptCheck&, const std::string&) {}

void oneToken(ScriptCheck& c, const std::string&)
{
    c.next();
}

void number(ScriptCheck& c, const std::string& token)
{
    numberField(c, c.next(), token);
}

bool group(ScriptCheck& c, const std::string& field, const std::string& token)
{
    return rangeField(c, field, 0, 2, token, "character group");
}

void bgLoad(ScriptCheck& c, const std::string& token)
{
    c.picture("BG\\", c.next(), token);
}

void bgScroll(ScriptCheck& c, const std::string& token)
{
    std::vector<std::string> f;
    if (!fields(c, c.next(), 2, token, f))
        return;
    wordField(c, f[0], kStraight, token, "the last scroll's direction and speed are kept");
    numberField(c, f[1], token);
}

void chrLoad(ScriptCheck& c, const std::string& token)
{
    std::vector<std::string> f;
    if (!fields(c, c.next(), 2, token, f) || !group(c, f[0], token))
        return;
    c.picture("CHR\\", f[1], token);
}

void chrChange(ScriptCheck& c, const std::string& token)
{
    std::vector<std::string> f;
    if (!fields(c, c.next(), 2, token, f) || !group(c, f[0], token))
        return;
    if (numberField(c, f[1], token) < 0)
        c.error(token + ": a negative time is refused");
}

void groupAndTime(ScriptCheck& c, const std::string& token)
{
    std::vector<std::string> f;
    if (!fields(c, c.next(), 2, token, f) || !group(c, f[0], token))
        return;
    numberField(c, f[1], token);
}

void chrSlide(ScriptCheck& c, const std::string& token)
{
    std::vector<std::string> f;
    if (!fields(c, c.next(), 4, token, f) || !group(c, f[0], token))
        return;
    wordField(c, f[1], kAnyDirection, token, "the last slide's direction is kept");
    rangeField(c, f[2], 0, kPositions - 1, token, "position");
    numberField(c, f[3], token);
}

void chrMove(ScriptCheck& c, const std::string& token)
{
    std::vector<std::string> f;
    if (!fields(c, c.next(), 4, token, f) || !group(c, f[0], token))
        return;
    rangeField(c, f[1], 0, kPositions - 1, token, "position");
    rangeField(c, f[2], 0, kPositions - 1, token, "position");
    numberField(c, f[3], token);
}

void chrSetpos(ScriptCheck& c, const std::string& token)
{
    std::vector<std::string> f;
    if (!fields(c, c.next(), 2, token, f) || !group(c, f[0], token))
        return;
    rangeField(c, f[1], 0, kPositions - 1, token, "position");
}

void groupOnly(ScriptCheck& c, const std::string& token)
{
    group(c, c.next(), token);
}

void chrShadow(ScriptCheck& c, const std::string& token)
{
    std::vector<std::string> f;
    if (!fields(c, c.next(), 2, token, f) || !group(c, f[0], token))
        return;
    wordField(c, f[1], {"on", "off"}, token, "the shadow stays as it was");
}

void cutinLoad(ScriptCheck& c, const std::string& token)
{
    std::vector<std::string> f;
    if (!fields(c, c.next(), 2, token, f) || !rangeField(c, f[0], 0, kCutins - 1, token, "cut-in number"))
        return;
    c.picture("CUT\\", f[1], token);
}

void cutinSlide(ScriptCheck& c, const std::string& token)
{
    std::vector<std::string> f;
    if (!fields(c, c.next(), 3, token, f) || !rangeField(c, f[0], 0, kCutins - 1, token, "cut-in number"))
        return;
    wordField(c, f[1], kStraight, token, "the last slide's direction is kept");
    numberField(c, f[2], token);
}

void animeLoad(ScriptCheck& c, const std::string& token)
{
    std::vector<std::string> f;
    if (!fields(c, c.next(), 2, token, f) || !rangeField(c, f[0], 0, 3, token, "animation picture"))
        return;
    c.picture("CHR\\", f[1], token);
}

void animeSet(ScriptCheck& c, const std::string& token)
{
    std::vector<std::string> f;
    if (!fields(c, c.next(), 2, token, f))
        return;
    rangeField(c, f[0], 0, kAnimationEntries - 1, token, "animation entry");
    numberField(c, f[1], token);
    if (f.size() > 2)
        numberField(c, f[2], token);
}

void quake(ScriptCheck& c, const std::string& token)
{
    std::vector<std::string> f;
    if (!fields(c, c.next(), 2, token, f))
        return;
    wordField(c, f[0], {"ver", "hor"}, token, "the last shake's direction is kept");
    if (numberField(c, f[1], token) <= 0)
        c.error(token + ": the time must be above 0 (the shake is refused)");
}

void sfx(ScriptCheck& c, const std::string& token)
{
    const std::string arg = c.next();
    const size_t comma = arg.find(',');
    const std::string effect = arg.substr(0, comma);
    if (!rangeField(c, effect, 0, 7, token, "effect"))
        return;
    const int32_t n = argumentNumber(effect);
    if (n != 6 && n != 7) {
        if (comma != std::string::npos)
            c.warning(token + ": effect " + std::to_string(n) + " takes no strength; " +
                      quoted(arg.substr(comma + 1)) + " is ignored");
        return;
    }
    // Rain and petals take their strength after a comma or as the next token.
    const std::string strength = comma != std::string::npos ? arg.substr(comma + 1) : c.next();
    rangeField(c, strength, 0, 7, token, "strength");
}

} // namespace

std::vector<CommandCheck> sceneChecks()
{
    return {
        {"@bg_load", bgLoad},
        {"@bg_load_ext", bgLoad},
        {"@bg_ext_expire", none},
        {"@bg_change", number},
        {"@bg_scroll", bgScroll},
        {"@bg_scroll3", bgScroll},
        {"@bg_scroll3_nosync", bgScroll},
        {"@bg_sync", none},
        {"@chr_load", chrLoad},
        {"@chr_change", chrChange},
        {"@chr_slide_in", chrSlide},
        {"@chr_slide_out", chrSlide},
        {"@chr_turn", groupAndTime},
        {"@chr_move", chrMove},
        {"@chr_setpos", chrSetpos},
        {"@chr_show", groupOnly},
        {"@chr_hide", groupOnly},
        {"@chr_fade_in", groupAndTime},
        {"@chr_fade_out", groupAndTime},
        {"@chr_swap_screen", groupOnly},
        {"@chr_shadow", chrShadow},
        {"@cutin_load", cutinLoad},
        {"@cutin_slide_in", cutinSlide},
        {"@cutin_slide_out", cutinSlide},
        {"@shadow", oneToken},
        {"@anime_init", none},
        {"@anime_set", animeSet},
        {"@anime_start", none},
        {"@anime_pause", none},
        {"@anime_play", none},
        {"@anime_stop", none},
        {"@anime_load", animeLoad},
        {"@effect_quake", quake},
        {"@effect_white_out", number},
        {"@effect_white_in", number},
        {"@effect_black_out", number},
        {"@effect_black_in", number},
        {"@sfx", sfx},
    };
}
