// The message history: what each message leaves in it, the bounds of its fields, and the
// fifty messages it keeps.
#include "TextFixture.h"

#include "text/MessageHistory.h"

#include <cstring>

namespace {

std::string text(const char* field, size_t size)
{
    return platform::sjisToUtf8(std::string(field, strnlen(field, size)));
}

std::string entryLine(const MessageHistory& h, int index, int line)
{
    return text(h.entry(index).lines[line], MessageHistory::kLineField);
}

} // namespace

TEST(MessageHistory, LinesOf61BytesOrMoreAreKeptAsTheNotice)
{
    const std::string notice = "◆文字数制限オーバー◆";
    const struct {
        size_t bytes;
        bool kept;
    } cases[] = {{0, true}, {1, true}, {60, true}, {61, false}, {62, false}, {200, false}};
    for (const auto& c : cases) {
        uint32_t count = 0;
        MessageHistory h(count);
        h.addHistoryName("", false, 0xFFFF);
        const std::string line(c.bytes, 'a');
        h.addHistoryLine(1, line);
        EXPECT_EQ(entryLine(h, 0, 1), c.kept ? line : notice) << c.bytes << " bytes";
        EXPECT_EQ(h.entry(0).lines[1][MessageHistory::kLineField - 1], '\0');
    }
}

TEST(MessageHistory, NamesAreCutToWholeCharactersOfTheirField)
{
    const struct {
        const char* utf8;
        const char* kept;
        bool tooLong; // the window shows the long-name notice for it
    } cases[] = {
        {"", "", false},
        {"ひかり", "ひかり", false},
        {"ななもじのなまえ", "ななもじのなま", true},      // 8 characters, 16 bytes
        {"ながいながいなまX", "ながいながいな", true},   // 17 bytes: the longest "@def_text" keeps
        {"ABCDEFGHIJKLMNOPQ", "ABCDEFGHIJKLMNO", true}, // 15 bytes and the terminator
        {"ABCDEFG", "ABCDEFG", false},
        {"Aかきくけこさし", "Aかきくけこさし", true},    // 15 bytes fit whole, but 8 characters
    };
    for (const auto& c : cases) {
        uint32_t count = 0;
        MessageHistory h(count);
        h.addHistoryName(platform::utf8ToSjis(c.utf8), true, 0x0F0F);
        const MessageHistory::Entry& e = h.entry(0);
        EXPECT_EQ(text(e.name, sizeof e.name), c.kept) << c.utf8;
        EXPECT_EQ(e.name[sizeof e.name - 1], '\0') << c.utf8;
        EXPECT_EQ(e.nameTooLong, c.tooLong) << c.utf8;
        EXPECT_EQ(e.nameWindow, 1);
        EXPECT_EQ(e.nameColour, 0x0F0F);
    }
}

TEST(MessageHistory, AnEmptiedHistoryStartsAgainAtTheFirstEntryWithoutTheOldLines)
{
    uint32_t count = 0;
    MessageHistory h(count);
    for (int m = 0; m < 3; ++m) {
        h.addHistoryName("", false, 0xFFFF);
        for (int i = 0; i < 3; ++i)
            h.addHistoryLine(i, "old");
        ++count;
    }
    h.empty();
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(h.count(), 0);
    h.addHistoryName("", false, 0xFFFF);
    h.addHistoryLine(0, "new");
    ++count;
    EXPECT_EQ(entryLine(h, 0, 0), "new");
    EXPECT_EQ(entryLine(h, 0, 1), "");
    EXPECT_EQ(entryLine(h, 0, 2), "");
}

// 55 messages through the interpreter: the first five are gone, each entry keeps its own lines
// and the snapshot taken at its own text command.
TEST_F(TextTest, AfterFiftyFiveMessagesTheHistoryHoldsTheSixthToTheLast)
{
    std::string s = "@def_text {\r\n1 ソラ F00 on\r\n}\r\n";
    for (int m = 1; m <= 55; ++m)
        s += "@text," + std::to_string(m % 2) + " {\r\nメッセージ" + std::to_string(m) + "\r\n},nowait\r\n";
    s += "@wait 100000\r\n";
    script(s);
    for (int i = 0; i < 400 && dx->messageWindow.lines[0] != platform::utf8ToSjis("メッセージ55"); ++i)
        frame();
    ASSERT_EQ(line(0), "メッセージ55");

    const MessageHistory& h = dx->messageHistory;
    EXPECT_EQ(dx->messageWindow.messageCount, 50u);
    ASSERT_EQ(h.count(), 50);
    int32_t lastToken = -1;
    for (int i = 0; i < 50; ++i) {
        const int m = i + 6;
        const MessageHistory::Entry& e = h.entry(i);
        EXPECT_EQ(entryLine(h, i, 0), "メッセージ" + std::to_string(m)) << i;
        EXPECT_EQ(text(e.name, sizeof e.name), m % 2 ? "ソラ" : "") << i;
        EXPECT_EQ(e.nameWindow, m % 2) << i;
        const int32_t token = e.snapshot.i32(SaveRecord::TokenIndex);
        ASSERT_GE(token, 0);
        ASSERT_LE(token, dx->script.lastIndex);
        EXPECT_EQ(dx->script.tokens[size_t(token)].rfind("@text,", 0), 0u) << i;
        EXPECT_GT(token, lastToken) << i;
        lastToken = token;
    }
}
