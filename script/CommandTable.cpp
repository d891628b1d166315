#include "script/CommandTable.h"

#include "scene/EffectCommands.h"
#include "scene/SceneCommands.h"
#include "script/ChoiceCommands.h"
#include "script/FlowCommands.h"
#include "sound/SoundScriptCommands.h"
#include "text/TextCommands.h"

#include <array>

namespace {

using K = CommandKind;

// One row per command in the order tokens are compared. A family that joins the engine puts
// its handler into its rows; the names and kinds are fixed by the scenario language.
std::array<CommandRow, 72> kTable = {{
    {"@ending_start", K::Yield, cmdEndingStart},
    {"@fps_capture", K::Yield, cmdFpsCapture},
    {"@test_title", K::Yield, cmdTestTitle},
    {"@analyze", K::Yield, nullptr},
    {"@type_start", K::Yield, nullptr},
    {"#if", K::Continue, cmdIf},
    {"#endif", K::Continue, cmdEndif},
    {"#cg_quit", K::Yield, nullptr},
    {"#album_quit", K::Yield, nullptr},
    {"@omoide_flag_set", K::Continue, cmdOmoideFlagSet},
    {"]", K::YieldInHotspotBlock, cmdSectionEnd},
    {"@exit", K::Yield, cmdExit},
    {"@textwindow_fast", K::Yield, cmdTextwindowFast},
    {"@textwindow_fx1", K::Yield, cmdTextwindowFx1},
    {"@textwindow_fx2", K::Yield, cmdTextwindowFx2},
    {"@textwindow", K::Yield, cmdTextwindow},
    {"@text_cls", K::Yield, cmdTextCls},
    {"@def_text", K::Yield, cmdDefText},
    {"@font_load", K::Yield, cmdFontLoad},
    {"@text,", K::Yield, cmdText, true},
    {"@charname_window", K::Yield, cmdCharnameWindow},
    {"@text_clear", K::Yield, cmdTextClear},
    {"@keywait", K::Yield, cmdKeywait},
    {"@wait", K::Yield, cmdWait},
    {"@select", K::Yield, cmdSelect},
    {"@clickable", K::Yield, cmdClickable},
    {"@bg_load", K::Yield, cmdBgLoad},
    {"@bg_load_ext", K::Yield, cmdBgLoadExt},
    {"@bg_ext_expire", K::Yield, cmdBgExtExpire},
    {"@bg_change", K::Yield, cmdBgChange},
    {"@bg_scroll", K::Yield, cmdBgScroll},
    {"@bg_scroll3", K::Yield, cmdBgScroll3},
    {"@bg_scroll3_nosync", K::Yield, cmdBgScroll3Nosync},
    {"@bg_sync", K::Yield, cmdBgSync},
    {"@chr_load", K::Yield, cmdChrLoad},
    {"@chr_change", K::Yield, cmdChrChange},
    {"@chr_slide_in", K::Yield, cmdChrSlideIn},
    {"@chr_slide_out", K::Yield, cmdChrSlideOut},
    {"@chr_turn", K::Yield, cmdChrTurn},
    {"@chr_move", K::Yield, cmdChrMove},
    {"@chr_setpos", K::Continue, cmdChrSetpos},
    {"@chr_show", K::Continue, cmdChrShow},
    {"@chr_hide", K::Continue, cmdChrHide},
    {"@chr_fade_in", K::Yield, cmdChrFadeIn},
    {"@chr_fade_out", K::Yield, cmdChrFadeOut},
    {"@chr_swap_screen", K::Continue, cmdChrSwapScreen},
    {"@chr_shadow", K::ContinueUnlessError, cmdChrShadow},
    {"@cutin_load", K::Yield, cmdCutinLoad},
    {"@cutin_slide_in", K::Yield, cmdCutinSlideIn},
    {"@cutin_slide_out", K::Yield, cmdCutinSlideOut},
    {"@shadow", K::Continue, cmdShadow},
    {"@anime_init", K::Yield, cmdAnimeInit},
    {"@anime_set", K::Continue, cmdAnimeSet},
    {"@anime_start", K::Yield, cmdAnimeStart},
    {"@anime_pause", K::Yield, cmdAnimePause},
    {"@anime_play", K::Yield, cmdAnimePlay},
    {"@anime_stop", K::Yield, cmdAnimeStop},
    {"@anime_load", K::Yield, cmdAnimeLoad},
    {"@effect_quake", K::Yield, cmdEffectQuake},
    {"@effect_white_out", K::Yield, cmdEffectWhiteOut},
    {"@effect_white_in", K::Yield, cmdEffectWhiteIn},
    {"@effect_black_out", K::Yield, cmdEffectBlackOut},
    {"@effect_black_in", K::Yield, cmdEffectBlackIn},
    {"@se_load", K::Yield, cmdSeLoad},
    {"@se", K::Continue, cmdSe},
    {"@se_fade", K::Continue, cmdSeFade},
    {"@bgm_load", K::Yield, cmdBgmLoad},
    {"@bgm", K::Continue, cmdBgm},
    {"@bgm_fade", K::Continue, cmdBgmFade},
    {"@load", K::Yield, cmdLoad},
    {"@QUIT_TO_OP", K::Yield, cmdQuitToOp},
    {"@sfx", K::Yield, cmdSfx},
}};

} // namespace

std::span<const CommandRow> commandTable()
{
    return kTable;
}

bool setCommandHandler(std::string_view name, CommandHandler handler)
{
    for (CommandRow& row : kTable)
        if (!row.substring && row.name == name) {
            row.handler = handler;
            return true;
        }
    return false;
}

const CommandRow* findCommand(std::string_view token)
{
    // Every exact name starts with '@', '#' or ']'; other tokens (line ends, words, text)
    // can only be the text command, which is found by its substring anywhere.
    if (token.empty() || (token[0] != '@' && token[0] != '#' && token[0] != ']')) {
        static const CommandRow* const textRow = [] {
            for (const CommandRow& row : kTable)
                if (row.substring)
                    return &row;
            return static_cast<const CommandRow*>(nullptr);
        }();
        return token.find(textRow->name) != std::string_view::npos ? textRow : nullptr;
    }
    for (const CommandRow& row : kTable) {
        if (row.substring ? token.find(row.name) != std::string_view::npos : token == row.name)
            return &row;
    }
    return nullptr;
}
