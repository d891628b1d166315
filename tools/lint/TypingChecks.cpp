// The typing script dialect: its commands, the "@type" blocks whose kana must be typeable and
// whose guide must spell them, and the scenario scripts it leads to.
#include "platform/Text.h"
#include "script/CommandArgs.h"
#include "tools/lint/ScriptCheck.h"
#include "typing/TypingEngine.h"
#include "typing/TypingMode.h"

#include <algorithm>

namespace {

// The message line's buffer, without its terminator.
constexpr size_t kMessageMax = decltype(TypingMode::MessageText)::kCapacity;

void none(ScriptCheck&, const std::string&) {}

void number(ScriptCheck& c, const std::string& token)
{
    numberField(c, c.next(), token);
}

std::string kanaName(KanaCode k)
{
    const char bytes[2] = {char(k >> 8), char(k & 0xFF)};
    return quoted(std::string_view(bytes, 2));
}

// Kana no table holds accept no key: the line cannot be finished.
bool kanaTypeable(ScriptCheck& c, const TypingText& kana, int32_t at)
{
    bool ok = true;
    for (size_t pos = 0; pos < kana.size(); pos += 2) {
        const KanaCode k = kanaAt(kana, int32_t(pos));
        if (!platform::isSjisLead(uint8_t(k >> 8))) {
            c.report(FindingLevel::Error, at,
                     "@type: " + quoted(std::string(1, char(k >> 8))) +
                         " in the kana is a one-byte character; the kana are read two bytes at a time");
            return false;
        }
        if (k == kana::kCircle || findKanaRow(k))
            continue;
        const KanaCode before = pos >= 2 ? kanaAt(kana, int32_t(pos - 2)) : 0;
        if (kana::isSmall(k) && before != 0 && findPairRow(before, k))
            continue;
        c.report(FindingLevel::Error, at, "@type: no table holds the kana " + kanaName(k) + ": the line cannot be typed");
        ok = false;
    }
    return ok;
}

// Types the guide's letters into the game's keystroke engine.
void guideSpellsKana(ScriptCheck& c, const TypingText& kana, const TypingText& guide, int32_t at)
{
    auto error = [&](const std::string& message) { c.report(FindingLevel::Error, at, message); };
    TypingLine line;
    line.KanaText = kana;
    line.GuideText = guide;
    StartTypingLine(line);
    std::string typed;
    for (size_t i = 0; i < guide.size(); ++i) {
        const char ch = char(std::toupper(static_cast<unsigned char>(guide[i])));
        size_t key = 0;
        while (key < TypingKeyTable.size() && TypingKeyTable[key].character != ch)
            ++key;
        if (key == TypingKeyTable.size()) {
            error("@type: the guide has " + quoted(std::string(1, guide[i])) + ", which no key types");
            return;
        }
        if (line.LineDone) {
            error("@type: the line is done after " + quoted(typed) + "; the rest of the guide is never typed");
            return;
        }
        const TypingKeyResult r = ProcessTypingKeys(line, 1u << key);
        if (r.rejectSound) {
            error("@type: the guide does not spell the kana in a romaji the game takes: " + quoted(std::string(1, ch)) +
                    " after " + quoted(typed) + " is refused");
            return;
        }
        typed += ch;
    }
    if (!line.LineDone) {
        error("@type: the guide " + quoted(guide.view()) + " ends before the kana are typed");
        return;
    }
    // The line ends when the guide is used up, with the kana at the reading position the last
    // one typed (a kana with its small kana, or after a small tsu, counts as one).
    const size_t pos = size_t(line.KanaPos), rest = kana.size() - std::min(pos, kana.size());
    const KanaCode current = kanaAt(kana, int32_t(pos));
    const bool tsu = current == kana::kSmallTsu;
    const bool pair = kana::isSmall(kanaAt(kana, int32_t(pos + 2)));
    const bool last = rest <= 2 || (rest == 4 && (pair || tsu)) || (rest == 6 && tsu && kana::isSmall(kanaAt(kana, int32_t(pos + 4))));
    if (!last)
        error("@type: the guide " + quoted(guide.view()) + " is used up before the kana " +
                quoted(kana.view().substr(size_t(line.KanaPos))) + " are typed");
}

void assignChecked(ScriptCheck& c, TypingText& field, const std::string& text, const char* what)
{
    if (field.assign(text))
        c.error("@type: the " + std::string(what) + " is longer than " + std::to_string(TypingText::kCapacity) +
                " bytes and is cut");
}

void type(ScriptCheck& c, const std::string& token)
{
    if (!c.openBlock(token))
        return;
    const int32_t start = c.line();
    std::string texts[3];
    int32_t lines[3] = {};
    for (int i = 0; i < 3; ++i) {
        std::string& t = texts[i];
        t = c.nextInBlock();
        lines[i] = c.line();
        if (t == "EOF" || t.empty()) {
            c.report(FindingLevel::Error, start, "@type: the block ends before its three lines (shown text, kana, guide)");
            return;
        }
        if (t == "}") {
            c.error("@type: \"}\" before the block's three lines (shown text, kana, guide)");
            return;
        }
    }
    TypingText display, kana, guide;
    assignChecked(c, display, texts[0], "shown text");
    assignChecked(c, kana, texts[1], "kana");
    assignChecked(c, guide, texts[2], "guide");
    if (kanaTypeable(c, kana, lines[1]))
        guideSpellsKana(c, kana, guide, lines[2]);
    const std::string& close = c.nextInBlock();
    if (close != "}")
        c.error("@type: a block holds three lines; " + quoted(close) + " comes where \"}\" should");
}

void message(ScriptCheck& c, const std::string& token)
{
    const std::string text = c.next();
    if (text.size() > kMessageMax)
        c.error(token + ": the message is longer than " + std::to_string(kMessageMax) + " bytes and is cut");
}

void window(ScriptCheck& c, const std::string& token)
{
    wordField(c, c.next(), {"show", "hide"}, token, "the command does nothing");
}

void bgLoad(ScriptCheck& c, const std::string& token)
{
    c.picture("TYPE\\", c.next(), token);
}

void load(ScriptCheck& c, const std::string& token)
{
    c.scenarioTarget(c.next(), token);
}

} // namespace

std::vector<CommandCheck> typingChecks()
{
    // The scenario's sound checks read the same arguments.
    const std::vector<CommandCheck> sound = soundChecks();
    auto soundCheck = [&](std::string_view name) {
        for (const CommandCheck& s : sound)
            if (s.name == name)
                return s.check;
        return static_cast<CommandCheckFn>(nullptr);
    };
    return {
        {"@type", type},
        {"@mes_chr", message},
        {"@mes_dab", message},
        {"@mes_sys", message},
        {"@keywait", none},
        {"@wait", number},
        {"@window", window},
        {"@bg_load", bgLoad},
        {"@bg_change", number},
        {"@se_load", soundCheck("@se_load")},
        {"@se", soundCheck("@se")},
        {"@bgm_load", soundCheck("@bgm_load")},
        {"@bgm", soundCheck("@bgm")},
        {"@bgm_fade", soundCheck("@bgm_fade")},
        {"@load", load},
        {"@finish", none},
        {"@QUIT_TO_OP", none},
    };
}
