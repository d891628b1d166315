#include "core/RunLog.h"
#include "platform/Text.h"
#include "script/CommandArgs.h"
#include "script/ScriptFile.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

using Tokens = std::vector<std::string>;

Tokens tokenise(const std::string& text)
{
    ScriptFile f;
    EXPECT_TRUE(f.loadFromBytes("t.scp", text));
    return f.tokens;
}

// "\n", "@LINE", "\n", number, "\n": the markers after a line that produced tokens.
Tokens marks(int nextLine)
{
    return {"\n", "@LINE", "\n", std::to_string(nextLine), "\n"};
}

Tokens join(std::initializer_list<Tokens> parts)
{
    Tokens out;
    for (const Tokens& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    out.push_back(""); // the list always ends with one empty entry
    return out;
}

} // namespace

TEST(ScriptFileTokens, CommandLineGivesTokensThenMarkersForTheNextLine)
{
    EXPECT_EQ(tokenise("@bg_load bg01.png\r\n"), join({{"@bg_load", "bg01.png"}, marks(2)}));
    EXPECT_EQ(tokenise("a\r\nb c\r\nd\r\n"), join({{"a"}, marks(2), {"b", "c"}, marks(3), {"d"}, marks(4)}));
}

TEST(ScriptFileTokens, TrailingBlankGivesEmptyTokenTrailingTabHidesTheLineEnd)
{
    EXPECT_EQ(tokenise("@wait 500 \r\n"), join({{"@wait", "500", ""}, marks(2)}));
    // The tab ends "500" without asking for a token at the line end: no markers for line 1,
    // and line 2 runs on; the counter still counts it.
    EXPECT_EQ(tokenise("@wait 500\t\r\n@exit\r\n"), join({{"@wait", "500", "@exit"}, marks(3)}));
    // A blank run acts as its last blank.
    EXPECT_EQ(tokenise("a \t\r\nb\r\n"), join({{"a", "b"}, marks(3)}));
    EXPECT_EQ(tokenise("a\t \r\nb\r\n"), join({{"a", ""}, marks(2), {"b"}, marks(3)}));
    EXPECT_EQ(tokenise("a  \t  b\r\n"), join({{"a", "b"}, marks(2)}));
}

TEST(ScriptFileTokens, SeparatorStaysPendingUntilAnOrdinaryByte)
{
    // Nothing clears the pending separator at a line end, so the blank line after a line that
    // ended in a blank still gives an empty token and markers.
    EXPECT_EQ(tokenise("a \r\n\r\nb\r\n\r\n"), join({{"a", ""}, marks(2), {""}, marks(3), {"b"}, marks(4)}));
}

TEST(ScriptFileTokens, CommentAndBlankLinesGiveNothingButAreCounted)
{
    EXPECT_EQ(tokenise("// title\r\n\r\n\t\t\r\n@exit\r\n"), join({{"@exit"}, marks(5)}));
    // A line of spaces is a separator with nothing before it: an empty token and markers.
    EXPECT_EQ(tokenise("   \r\n@exit\r\n"), join({{""}, marks(2), {"@exit"}, marks(3)}));
    EXPECT_EQ(tokenise("ab//cd ef\r\ng\r\n"), join({{"ab"}, marks(2), {"g"}, marks(3)}));
    // A quote inside a comment toggles nothing.
    EXPECT_EQ(tokenise("x// \"\r\ny z\r\n"), join({{"x"}, marks(2), {"y", "z"}, marks(3)}));
    // The blank before a comment is still a separator.
    EXPECT_EQ(tokenise("x // c\r\n"), join({{"x", ""}, marks(2)}));
    // A single slash is ordinary.
    EXPECT_EQ(tokenise("a/b /\r\n"), join({{"a/b", "/"}, marks(2)}));
}

TEST(ScriptFileTokens, QuotesKeepBlanksAndSpanLines)
{
    EXPECT_EQ(tokenise("\"a b\"\r\n"), join({{"\"a b\""}, marks(2)}));
    // Tabs inside quotes are dropped; slashes inside quotes are text.
    EXPECT_EQ(tokenise("\"a\tb//c\"\r\n"), join({{"\"ab//c\""}, marks(2)}));
    // The line break inside quotes vanishes but is counted.
    EXPECT_EQ(tokenise("@text,\"ab\r\ncd\" x\r\ny\r\n"),
              join({{"@text,\"abcd\"", "x"}, marks(3), {"y"}, marks(4)}));
    // An unbalanced quote swallows every following line into one token, which is then lost
    // with the unterminated end.
    EXPECT_EQ(tokenise("a\r\n\"b\r\nc\r\n"), join({{"a"}, marks(2)}));
}

TEST(ScriptFileTokens, LoneCrAndLfAreTokenBytes)
{
    EXPECT_EQ(tokenise("a\nb\rc\r\n"), join({{"a\nb\rc"}, marks(2)}));
    EXPECT_EQ(tokenise("a\n\r\n"), join({{"a\n"}, marks(2)}));
    EXPECT_EQ(tokenise("a\r\r\n"), join({{"a\r"}, marks(2)}));
}

TEST(ScriptFileTokens, UnterminatedLastLineIsDropped)
{
    EXPECT_EQ(tokenise("a\r\nb"), join({{"a"}, marks(2)}));
    EXPECT_EQ(tokenise("b"), join({}));
    EXPECT_EQ(tokenise("a\r"), join({}));
}

TEST(ScriptFileTokens, ShiftJisTextNeedsNoSpecialCase)
{
    // Second bytes of double-byte characters never look like the separators.
    std::string text = platform::utf8ToSjis("@text,「ソ表」 能\r\n");
    Tokens t = tokenise(text);
    ASSERT_EQ(t.size(), 8u);
    EXPECT_EQ(t[0], platform::utf8ToSjis("@text,「ソ表」"));
    EXPECT_EQ(t[1], platform::utf8ToSjis("能"));
}

TEST(ScriptFileTokens, OverlongTokenIsCutAndLogged)
{
    runLog().clear();
    std::string text = "a " + std::string(100000, 'x') + " b\r\n";
    Tokens t = tokenise(text);
    ASSERT_EQ(t.size(), 9u);
    EXPECT_EQ(t[1].size(), ScriptFile::kTokenMax);
    EXPECT_EQ(t[2], "b");
    ASSERT_EQ(runLog().lines().size(), 1u);
    EXPECT_NE(runLog().lines()[0].find("(t.scp.SCP)1"), std::string::npos);
    runLog().clear();
    EXPECT_EQ(tokenise(std::string(ScriptFile::kTokenMax, 'y') + "\r\n")[0].size(), ScriptFile::kTokenMax);
    EXPECT_TRUE(runLog().lines().empty());
}

TEST(ScriptFileCursor, MarkersAreConsumedAndSetTheSourceLine)
{
    ScriptFile f;
    ASSERT_TRUE(f.loadFromBytes("t.scp", "a b\r\nc\r\n\r\nd\r\n"));
    EXPECT_EQ(f.sourceLine, 1);
    EXPECT_EQ(f.nextToken(), "a");
    EXPECT_EQ(f.nextToken(), "b");
    EXPECT_EQ(f.nextToken(), "\n"); // the line end itself
    EXPECT_EQ(f.sourceLine, 1);
    EXPECT_EQ(f.nextToken(), "\n"); // the marker's own closing line feed
    EXPECT_EQ(f.sourceLine, 2);
    EXPECT_EQ(f.nextToken(), "c");
    EXPECT_EQ(f.nextToken(), "\n");
    EXPECT_EQ(f.nextToken(), "\n");
    // The marker names the line after the line end, even when that one is blank.
    EXPECT_EQ(f.sourceLine, 3);
    EXPECT_EQ(f.nextToken(), "d");
    EXPECT_EQ(f.nextToken(), "\n");
    EXPECT_EQ(f.nextToken(), "\n");
    EXPECT_EQ(f.sourceLine, 5);
    // After the last marker: one empty token, then "EOF" for ever, the cursor standing still.
    EXPECT_EQ(f.nextToken(), "");
    int32_t at = f.cursorIndex();
    EXPECT_EQ(at, f.lastIndex + 1);
    EXPECT_EQ(f.lastIndex, int32_t(f.tokens.size()) - 1);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(f.nextToken(), "EOF");
    EXPECT_EQ(f.cursorIndex(), at);
}

TEST(ScriptFileCursor, LineMarkerWordsInsideTheScriptNestWithoutRecursion)
{
    ScriptFile f;
    // "@LINE" written by an author reads on to the next number like a real marker.
    ASSERT_TRUE(f.loadFromBytes("t.scp", "@LINE 7 x\r\n"));
    EXPECT_EQ(f.nextToken(), "x");
    EXPECT_EQ(f.sourceLine, 7);

    std::string deep;
    for (int i = 0; i < 200000; ++i)
        deep += "@LINE ";
    deep += "\r\n";
    ASSERT_TRUE(f.loadFromBytes("t.scp", deep));
    for (int i = 0; i < 5 && f.nextToken() != "EOF"; ++i) {
    }
    EXPECT_EQ(f.nextToken(), "EOF");
}

TEST(ScriptFileCursor, SeekTokenStopsAfterTheTextOrAtTheEnd)
{
    ScriptFile f;
    ASSERT_TRUE(f.loadFromBytes("t.scp", "a #endif b\r\nc\r\n"));
    EXPECT_TRUE(f.seekToken("#endif"));
    EXPECT_EQ(f.nextToken(), "b");
    EXPECT_FALSE(f.seekToken("#endif"));
    EXPECT_EQ(f.nextToken(), "EOF");
}

TEST(ScriptFileLoad, EmptyNameOrEmptyDataFailsAndDropsTheOldScript)
{
    ScriptFile f;
    EXPECT_EQ(f.loaded, 0);
    ASSERT_TRUE(f.loadFromBytes("a.scp", "x\r\n"));
    EXPECT_EQ(f.scriptName(), "a.scp");
    EXPECT_FALSE(f.loadFromBytes("", "y\r\n"));
    EXPECT_EQ(f.loaded, 1);
    EXPECT_EQ(f.nextToken(), "EOF");
    ASSERT_TRUE(f.loadFromBytes("a.scp", "x\r\n"));
    EXPECT_FALSE(f.loadFromBytes("b.scp", ""));
    EXPECT_EQ(f.scriptName(), "b.scp");
    EXPECT_EQ(f.lastIndex, -1);
    EXPECT_EQ(f.nextToken(), "EOF");
    EXPECT_TRUE(f.seekToken("x")); // nothing to search: the limit of 0 steps is reached
}

TEST(ScriptFileNumbers, AtoiRulesWithoutOverflow)
{
    EXPECT_EQ(argumentNumber("500"), 500);
    EXPECT_EQ(argumentNumber(" -12abc"), -12);
    EXPECT_EQ(argumentNumber("+7"), 7);
    EXPECT_EQ(argumentNumber("abc"), 0);
    EXPECT_EQ(argumentNumber(""), 0);
    EXPECT_EQ(argumentNumber("99999999999999999999"), INT32_MAX);
    EXPECT_EQ(argumentNumber("-99999999999999999999"), INT32_MIN);
    EXPECT_EQ(argumentNumber("-2147483648"), INT32_MIN);
}
