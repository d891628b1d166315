// One mistake planted in a small clean game folder: the checker finds exactly it, in the right
// script, at the right line and level.
#include "../resources/PngWrite.h"
#include "SmallGame.h"

#include <gtest/gtest.h>

#include <functional>

using namespace lintgame;

namespace {

struct Planted {
    const char* name;
    std::function<void(SmallGame&)> plant;
    const char* file;
    int line;
    FindingLevel level;
    const char* says; // a part of the message
};

std::string fullWidthLine(int chars)
{
    std::string s;
    for (int i = 0; i < chars; ++i)
        s += "あ";
    return s;
}

const FindingLevel E = FindingLevel::Error;
const FindingLevel W = FindingLevel::Warning;

const Planted kPlanted[] = {
    {"command between a block command and its brace",
     [](SmallGame& g) { g.scripts["SCP\\t_clear"] = {"@text,0", "@wait 1", "{", "またね", "}"}; }, "SCP/t_clear", 2, E, "@text: '@wait' before \"{\" is skipped"},
    {"misspelt command", [](SmallGame& g) { g.setLine("SCP\\startup.scp", 7, "@bg_chage 500"); }, "SCP/startup.scp", 7, E,
     "unknown command '@bg_chage' (the game skips it); did you mean \"@bg_change\"?"},
    {"text command with a blank for its comma", [](SmallGame& g) { g.setLine("SCP\\startup.scp", 2, "@def_txt"); },
     "SCP/startup.scp", 2, E, "did you mean \"@def_text\"?"},
    {"text command after other text", [](SmallGame& g) { g.setLine("SCP\\startup.scp", 14, "x@text,0,v"); },
     "SCP/startup.scp", 14, W, "'x' before \"@text,\" is ignored"},
    {"missing comma", [](SmallGame& g) { g.setLine("SCP\\startup.scp", 9, "@chr_slide_in 0 right,2,600"); },
     "SCP/startup.scp", 9, E, "'0' has 1 field; the command needs 4"},
    {"group out of range", [](SmallGame& g) { g.setLine("SCP\\startup.scp", 8, "@chr_load 3,c.png"); },
     "SCP/startup.scp", 8, E, "character group 3 is outside 0..2"},
    {"position out of range", [](SmallGame& g) { g.setLine("SCP\\startup.scp", 9, "@chr_slide_in 0,right,5,600"); },
     "SCP/startup.scp", 9, E, "position 5 is outside 0..4"},
    {"shake direction", [](SmallGame& g) { g.setLine("SCP\\startup.scp", 21, "@effect_quake vert,300"); },
     "SCP/startup.scp", 21, E, "'vert' is none of \"ver\", \"hor\""},
    {"music word", [](SmallGame& g) { g.setLine("SCP\\startup.scp", 11, "@bgm plya"); }, "SCP/startup.scp", 11, E,
     "'plya' is none of \"play\", \"noloop\", \"stop\""},
    {"effect word", [](SmallGame& g) { g.setLine("SCP\\startup.scp", 13, "@se 0,stpo"); }, "SCP/startup.scp", 13, E,
     "'stpo' is none of \"play\", \"stop\""},
    {"slide direction", [](SmallGame& g) { g.setLine("SCP\\startup.scp", 9, "@chr_slide_in 0,rihgt,2,600"); },
     "SCP/startup.scp", 9, E, "'rihgt' is none of"},
    {"word for a number", [](SmallGame& g) { g.setLine("SCP\\startup.scp", 7, "@bg_change fast"); }, "SCP/startup.scp", 7,
     E, "'fast' is not a number (the game reads 0)"},
    {"rain strength", [](SmallGame& g) { g.setLine("SCP\\startup.scp", 22, "@sfx 6,9"); }, "SCP/startup.scp", 22, E,
     "strength 9 is outside 0..7"},
    {"missing background", [](SmallGame& g) { g.setLine("SCP\\startup.scp", 6, "@bg_load nope.png"); },
     "SCP/startup.scp", 6, E, "picture 'BG\\nope.png' is not in system.pkd"},
    {"palette picture",
     [](SmallGame& g) {
         testpng::Options o;
         o.colourType = PNG_COLOR_TYPE_GRAY;
         g.entries["CHR\\c.png"] = testpng::encode(2, 2, std::vector<uint8_t>(4, 9), o);
     },
     "SCP/startup.scp", 8, E, "picture 'CHR\\c.png' is an 8-bit grey PNG (the game shows only 8-bit RGB or RGBA"},
    {"16-bit picture",
     [](SmallGame& g) {
         testpng::Options o;
         o.bitDepth = 16;
         g.entries["CUT\\k.png"] = testpng::encode(1, 1, std::vector<uint8_t>(6, 9), o);
     },
     "SCP/startup.scp", 19, E, "is a 16-bit RGB PNG"},
    {"damaged picture", [](SmallGame& g) { g.entries["BG\\a.png"].resize(40); }, "SCP/startup.scp", 6, E,
     "is a damaged PNG"},
    {"missing music", [](SmallGame& g) { g.files.erase("SOUND/BGM/m.ogg"); }, "SCP/startup.scp", 10, E,
     "sound 'SOUND\\BGM\\m.ogg' is not in the game folder"},
    {"broken effect sound", [](SmallGame& g) { g.files["SOUND/SE/s.ogg"] = Bytes(200, 'x'); }, "SCP/startup.scp", 12,
     E, "is not an Ogg Vorbis stream the game can play"},
    {"missing voice", [](SmallGame& g) { g.setLine("SCP\\startup.scp", 14, "@text,0,nov"); }, "SCP/startup.scp", 14, E,
     "sound 'SOUND\\VOICE\\nov.ogg' is not in the game folder"},
    {"refused interface WAV", [](SmallGame& g) { g.files["SOUND/SE/SYSTEM/ok.wav"] = Bytes(30, 'R'); },
     "SOUND/SE/SYSTEM/ok.wav", 0, E, "the interface sound is a WAV the game refuses"},
    {"missing choice script", [](SmallGame& g) { g.setLine("SCP\\startup.scp", 26, "もう一度,gone.scp"); },
     "SCP/startup.scp", 26, E, "script 'SCP\\gone.scp' is not in system.pkd"},
    {"missing load target", [](SmallGame& g) { g.setLine("SCP\\next.scp", 13, "@load gone.scp"); }, "SCP/next.scp", 13, E,
     "@load: script 'SCP\\gone.scp' is not in system.pkd"},
    {"missing typing script", [](SmallGame& g) { g.appendLines("SCP\\next.scp", "@type_start t2"); }, "SCP/next.scp", 15,
     E, "typing script 'TYPE\\t2' is not in system.pkd"},
    {"missing game-over script", [](SmallGame& g) { g.scripts.erase("SCP\\t_gameover"); }, "SCP/typing.scp", 1, E,
     "exit script 'SCP\\t_gameover' is not in system.pkd"},
    {"brace without its end", [](SmallGame& g) { g.scripts["SCP\\t_clear"] = {"@text,0", "{", "またね"}; },
     "SCP/t_clear", 2, E, "@text: \"{\" without \"}\""},
    {"if without endif", [](SmallGame& g) { g.setLine("SCP\\startup.scp", 20, "@wait 1"); }, "SCP/startup.scp", 18, E,
     "\"#if\" without \"#endif\""},
    {"if flag that is no scene flag", [](SmallGame& g) { g.setLine("SCP\\startup.scp", 18, "#if 99-99"); },
     "SCP/startup.scp", 18, E, "'99-99' is not a scene flag"},
    {"message line over the limit", [](SmallGame& g) { g.setLine("SCP\\startup.scp", 16, fullWidthLine(31)); },
     "SCP/startup.scp", 16, E, "the line has 31 characters; over 30 it shows ◆文字数制限オーバー◆"},
    {"fourth message line", [](SmallGame& g) { g.setLine("SCP\\startup.scp", 16, "一\n二\n三\n四"); },
     "SCP/startup.scp", 19, E, "a fourth line is not shown"},
    {"speaker number", [](SmallGame& g) { g.setLine("SCP\\startup.scp", 4, "128 ナレーション FFFF off"); },
     "SCP/startup.scp", 4, E, "speaker number 128 is outside 0..127"},
    {"speaker name too long", [](SmallGame& g) { g.setLine("SCP\\startup.scp", 4, "0 ながいながいなまえ FFFF off"); },
     "SCP/startup.scp", 4, E, "has 9 characters; over 7 it shows ◆文字数オーバー"},
    {"missing section", [](SmallGame& g) { g.setLine("SCP\\next.scp", 12, "X0["); }, "SCP/next.scp", 1, E,
     "section B0[ is missing after \"#script\""},
    {"section nothing reaches", [](SmallGame& g) { g.appendLines("SCP\\next.scp", "B3[\n@wait 1\n]"); }, "SCP/next.scp",
     15, W, "section B3[ is never reached by the clicks on region B"},
    {"region outside the map", [](SmallGame& g) { g.entries["CLICK\\m.png"] = rgbPng(2, 1, {0xFF0000, 0x808080}); },
     "SCP/next.scp", 1, W, "region B has no pixel of its colour in the map"},
    {"kana no table holds", [](SmallGame& g) { g.setLine("TYPE\\t", 7, "ほしがふる☆"); }, "TYPE/t", 7, E,
     "no table holds the kana '☆'"},
    {"guide that does not spell the kana", [](SmallGame& g) { g.setLine("TYPE\\t", 8, "HOSIGAFURO"); }, "TYPE/t", 8, E,
     "'O' after 'HOSIGAFUR' is refused"},
    {"guide that ends early", [](SmallGame& g) { g.setLine("TYPE\\t", 8, "HOSIGA"); }, "TYPE/t", 8, E,
     "is used up before the kana"},
    {"typing command misspelt", [](SmallGame& g) { g.setLine("TYPE\\t", 10, "@finsh"); }, "TYPE/t", 10, E,
     "did you mean \"@finish\"?"},
    {"unreachable script", [](SmallGame& g) { g.scripts["SCP\\lost.scp"] = {"@wait 1"}; }, "SCP/lost.scp", 0, W,
     "no path from startup.scp, the galleries or the typing exits reaches this script"},
};

class PlantedMistake : public ::testing::TestWithParam<Planted> {};

TEST_P(PlantedMistake, IsFoundAloneAtItsLine)
{
    SmallGame game;
    GetParam().plant(game);
    Findings findings;
    std::string printed;
    const int code = game.check(findings, &printed);
    ASSERT_EQ(findings.list().size(), 1u) << printed;
    const Finding& f = findings.list()[0];
    EXPECT_EQ(f.file, GetParam().file) << printed;
    EXPECT_EQ(f.line, GetParam().line) << printed;
    EXPECT_EQ(f.level, GetParam().level) << printed;
    EXPECT_NE(f.message.find(GetParam().says), std::string::npos) << printed;
    EXPECT_EQ(code, GetParam().level == FindingLevel::Error ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Lint, PlantedMistake, ::testing::ValuesIn(kPlanted),
                         [](const ::testing::TestParamInfo<Planted>& info) {
                             std::string name;
                             for (const char* p = info.param.name; *p; ++p)
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name;
                         });

TEST(SmallGame, PassesWithNoFinding)
{
    SmallGame game;
    Findings findings;
    std::string printed;
    EXPECT_EQ(game.check(findings, &printed), 0);
    EXPECT_EQ(printed, "");
}

} // namespace
