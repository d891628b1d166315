// Message window commands: "@text," blocks with their lines and voices, the speaker table of
// "@def_text", the window's show and hide words and the font sheet.
#include "platform/Text.h"
#include "script/CommandArgs.h"
#include "text/MessageWindow.h"
#include "tools/lint/ScriptCheck.h"

#include <cctype>

namespace {

const std::initializer_list<std::string_view> kShowHide = {"show", "hide"};

void none(ScriptCheck&, const std::string&) {}

void showHide(ScriptCheck& c, const std::string& token)
{
    wordField(c, c.next(), kShowHide, token, "the command does nothing");
}

bool speakerNumber(ScriptCheck& c, const std::string& field, std::string_view command)
{
    return rangeField(c, field, 0, MessageWindow::kCharacterNames - 1, command, "speaker number");
}

void text(ScriptCheck& c, const std::string& token)
{
    const size_t at = token.find("@text,");
    if (at > 0)
        c.warning("@text: " + quoted(token.substr(0, at)) + " before \"@text,\" is ignored");
    const std::vector<std::string> f = splitArguments(std::string_view(token).substr(at + 6));
    speakerNumber(c, f[0], "@text");
    for (size_t i = 1; i < f.size(); ++i) {
        if (f[i].empty())
            c.error("@text: an empty voice name");
        else
            c.sound("SOUND\\VOICE\\", f[i] + ".ogg", "@text");
    }
    if (!c.openBlock("@text"))
        return;
    const int32_t start = c.line();
    int lines = 0;
    for (;;) {
        const std::string t = c.next();
        if (t == "EOF") {
            c.report(FindingLevel::Error, start, "@text: \"{\" without \"}\"");
            return;
        }
        if (t == "}" || t == "},nowait")
            return;
        if (t == "\n" || t.empty())
            continue;
        if (++lines > MessageWindow::kLines) {
            c.error("@text: a fourth line is not shown (the window keeps " + std::to_string(MessageWindow::kLines) +
                    " lines)");
            continue;
        }
        const int32_t chars = countSjisChars(t);
        if (chars > MessageWindow::kMaxLineChars)
            c.error("@text: the line has " + std::to_string(chars) + " characters; over " +
                    std::to_string(MessageWindow::kMaxLineChars) + " it shows " +
                    platform::sjisToUtf8(lineTooLongNotice()) + " instead");
    }
}

void defTextEntry(ScriptCheck& c, const std::vector<std::string>& f)
{
    if (f.empty())
        return;
    speakerNumber(c, f[0], "@def_text");
    if (f.size() > 1) {
        const int32_t chars = countSjisChars(f[1]);
        if (chars > MessageWindow::kMaxNameChars)
            c.error("@def_text: the name " + quoted(f[1]) + " has " + std::to_string(chars) + " characters; over " +
                    std::to_string(MessageWindow::kMaxNameChars) + " it shows " +
                    platform::sjisToUtf8(nameTooLongNotice()));
    }
    if (f.size() > 2) {
        const std::string& colour = f[2];
        bool hex = !colour.empty() && colour.size() <= 4;
        for (char ch : colour)
            hex = hex && std::isxdigit(static_cast<unsigned char>(ch));
        if (!hex)
            c.error("@def_text: the colour " + quoted(colour) + " is not four hexadecimal digits (A4R4G4B4)");
    }
    if (f.size() > 3)
        wordField(c, f[3], {"on", "off", "ON", "On", "OFF", "Off"}, "@def_text", "anything but on hides the name plate");
    if (f.size() > 4)
        c.warning("@def_text: " + quoted(f[4]) + " and what follows on the line are ignored");
}

void defText(ScriptCheck& c, const std::string&)
{
    if (!c.openBlock("@def_text"))
        return;
    const int32_t start = c.line();
    std::vector<std::string> f;
    for (;;) {
        const std::string t = c.next();
        if (t == "EOF") {
            c.report(FindingLevel::Error, start, "@def_text: \"{\" without \"}\"");
            return;
        }
        if (t == "}" || t == "\n") {
            defTextEntry(c, f);
            f.clear();
            if (t == "}")
                return;
            continue;
        }
        // The empty token a blank at the end of a line leaves is a field of its own in the game.
        if (!t.empty())
            f.push_back(t);
    }
}

void fontLoad(ScriptCheck& c, const std::string& token)
{
    const std::string name = c.next();
    if (!c.game().hasEntry("textbox\\" + name))
        c.error(token + ": font sheet " + quoted("textbox\\" + name) + " is not in system.pkd");
}

} // namespace

std::vector<CommandCheck> textChecks()
{
    return {
        {"@textwindow_fast", showHide}, {"@textwindow_fx1", showHide}, {"@textwindow_fx2", showHide},
        {"@textwindow", showHide},      {"@text_cls", none},           {"@def_text", defText},
        {"@font_load", fontLoad},       {"@text,", text},              {"@charname_window", showHide},
        {"@text_clear", none},
    };
}
