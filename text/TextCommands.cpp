#include "text/TextCommands.h"

#include "app/CDirectX.h"
#include "core/RunLog.h"
#include "graphics/FontSheet.h"
#include "graphics/GlyphCell.h"
#include "platform/Text.h"
#include "script/CommandArgs.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const char* kEOF = "EOF";

int32_t textDelayFor(int32_t speed)
{
    static constexpr int32_t kDelays[8] = {250, 175, 100, 66, 33, 15, 5, 0};
    return kDelays[speed < 0 ? 0 : speed > 7 ? 7 : speed];
}

std::string fullWidthDigits(int32_t value)
{
    const std::string digits = std::to_string(value);
    std::string out;
    for (char ch : digits) {
        if (ch == '-') {
            out += SJ("－");
            continue;
        }
        // "０" is 0x82 0x4F; the other digits follow it.
        out += char(0x82);
        out += char(0x4F + (ch - '0'));
    }
    return out;
}

// Replaces the first benchmark placeholder of the line, if any, and logs the result.
std::string applyBenchmark(CDirectX& dx, const std::string& line)
{
    for (size_t i = 0; i < line.size();) {
        size_t len = 1;
        const uint32_t code = glyphcell::codeAt(line, i, len);
        if (code == 0x8764 || code == 0x8760 || code == 0x8763) {
            // The load time is that of the last picture actually read: decode plus upload.
            const SceneState& sc = dx.scene;
            const bool loadTime = code == 0x8760;
            std::string out = line.substr(0, i) +
                              fullWidthDigits(loadTime ? sc.lastDiskMs + sc.lastVramMs : dx.scriptState.fpsResult) +
                              line.substr(i + len);
            std::string logLine = dx.scriptState.testTitle + SJ(" ： ") + out;
            if (loadTime) {
                char buf[64];
                std::snprintf(buf, sizeof buf, "(Disk %dms/VRAM %dms)", sc.lastDiskMs, sc.lastVramMs);
                logLine += buf;
            }
            runLog().append(1, logLine);
            return out;
        }
        i += len;
    }
    return line;
}

void showOrHide(CDirectX& dx, const std::string& token, bool& show, bool& valid)
{
    (void)token;
    const std::string& arg = dx.script.nextToken();
    show = arg == "show";
    valid = show || arg == "hide";
}

} // namespace

void cmdText(CDirectX& dx, const std::string& token)
{
    MessageWindow& w = dx.messageWindow;
    ScriptFile& s = dx.script;

    // The voices of the previous message end with it.
    for (auto& v : dx.sound.voice)
        v.stop();
    w.clearPage();
    w.voiceQueue.clear();
    w.showClickMark(false);

    // "@text,<name number>[,voice,...]"
    const std::vector<std::string> fields = splitArguments(std::string_view(token).substr(token.find("@text,") + 6));
    int32_t n = argumentNumber(fields[0]);
    if (fields.size() > 1) {
        for (size_t i = 1; i < fields.size(); ++i)
            w.voiceQueue.add(fields[i]);
        w.voiceQueue.pending = true;
    }
    if (n < 0 || n >= MessageWindow::kCharacterNames) {
        runLog().appendf(2, SJ("@text: errror %s(%d行): キャラ名番号が(0-127)の範囲にありません").c_str(),
                         s.scriptName().c_str(), s.sourceLine);
        n = 0;
    }
    const CharacterName& entry = w.characterNames[size_t(n)];
    w.setNameColour(entry.colour);
    w.setSpeaker(std::string_view(entry.name, strnlen(entry.name, sizeof entry.name)));
    w.showNameWindow(entry.window != 0);
    dx.messageHistory.addHistoryName(std::string_view(entry.name, strnlen(entry.name, sizeof entry.name)),
                                     entry.window != 0, entry.colour);

    if (!s.seekToken("{")) {
        runLog().append(2, "not found { in @text");
        return;
    }
    int line = 0;
    for (;;) {
        const std::string t = s.nextToken();
        if (t == kEOF) {
            runLog().append(2, "nor found } in @text");
            return;
        }
        if (t == "}" || t == "},nowait") {
            w.noWait = t == "},nowait" ? 1 : 0;
            break;
        }
        // Line ends, and the empty token a blank at the end of a line leaves, are no text.
        if (t == "\n" || t.empty())
            continue;
        if (line >= MessageWindow::kLines) {
            runLog().appendf(2, "ERROR: too many text line. ignore more than 3 text line. %s.scp(%d line)",
                             s.scriptName().c_str(), s.sourceLine);
            continue;
        }
        // The length limit applies to the line as written; a benchmark figure may then make
        // it longer.
        w.setLine(line, t);
        w.setLineUnchecked(line, applyBenchmark(dx, w.lines[size_t(line)]));
        dx.messageHistory.addHistoryLine(line, w.lines[size_t(line)]);
        ++line;
    }

    ++w.messageCount;
    dx.gameState = GameState::Typing;
    w.textDelay = textDelayFor(dx.config.textSpeed);
    w.charTimer = 0;
    w.autoElapsed = 0;
    w.decoration = dx.config.textDecoration;
    dx.readText.recordReadPosition(s.scriptName(), s.cursorIndex());
}

void cmdDefText(CDirectX& dx, const std::string&)
{
    MessageWindow& w = dx.messageWindow;
    ScriptFile& s = dx.script;
    w.resetCharacterNames();
    if (!s.seekToken("{")) {
        runLog().append(2, "not found { in @def_text");
        return;
    }
    std::vector<std::string> fields;
    auto store = [&] {
        if (fields.empty())
            return;
        int32_t n = argumentNumber(fields[0]);
        if (n < 0 || n >= MessageWindow::kCharacterNames) {
            runLog().appendf(2, SJ("@def_text: errror %s(%d行): キャラ名番号が(0-127)の範囲にありません").c_str(),
                             s.scriptName().c_str(), s.sourceLine);
            n = 0;
        }
        CharacterName& e = w.characterNames[size_t(n)];
        e = CharacterName{};
        if (fields.size() > 1) {
            // 17 bytes and the terminator, never half of a double-byte character.
            const std::string& name = fields[1];
            std::memcpy(e.name, name.data(), sjisBytesThatFit(name, sizeof e.name));
        }
        if (fields.size() > 2)
            e.colour = uint16_t(std::strtoul(fields[2].c_str(), nullptr, 16));
        if (fields.size() > 3)
            e.window = (fields[3] == "on" || fields[3] == "ON" || fields[3] == "On") ? 1 : 0;
        fields.clear();
    };
    for (;;) {
        const std::string t = s.nextToken();
        if (t == kEOF) {
            runLog().append(2, "not found } in @def_text");
            return;
        }
        if (t == "}") {
            store();
            return;
        }
        if (t == "\n") {
            store();
            continue;
        }
        fields.push_back(t);
    }
}

void cmdTextCls(CDirectX& dx, const std::string&)
{
    dx.messageWindow.clearPage();
    dx.messageWindow.showNameWindow(false);
}

void cmdTextClear(CDirectX& dx, const std::string&)
{
    MessageWindow& w = dx.messageWindow;
    w.clearPage();
    for (int i = 0; i < MessageWindow::kLines; ++i)
        w.setLine(i, "");
    w.advance(true);
}

void cmdCharnameWindow(CDirectX& dx, const std::string&)
{
    const std::string& arg = dx.script.nextToken();
    if (arg == "show")
        dx.messageWindow.showNameWindow(true);
    else if (arg == "hide")
        dx.messageWindow.showNameWindow(false);
}

void cmdTextwindowFast(CDirectX& dx, const std::string& token)
{
    bool show = false, valid = false;
    showOrHide(dx, token, show, valid);
    if (!valid)
        return;
    MessageWindow& w = dx.messageWindow;
    if (show) {
        w.windowHidden = 0;
        w.windowAlpha = 255;
        // A click or key that was on its way must not act on the text that follows.
        dx.frameInput.dropClicks();
        dx.input.dropPresses();
    } else {
        w.windowAlpha = 0;
        w.windowHidden = 1;
    }
}

void cmdTextwindow(CDirectX& dx, const std::string& token)
{
    bool show = false, valid = false;
    showOrHide(dx, token, show, valid);
    if (!valid)
        return;
    MessageWindow& w = dx.messageWindow;
    if (show) {
        w.windowHidden = 0;
        w.windowAlpha = 0;
        dx.gameState = GameState::WindowFadeIn;
    } else {
        w.windowAlpha = 255;
        dx.gameState = GameState::WindowFadeOut;
    }
}

namespace {
void textwindowEffect(CDirectX& dx, const std::string& token, WindowEffectMode showMode, WindowEffectMode hideMode)
{
    bool show = false, valid = false;
    showOrHide(dx, token, show, valid);
    if (!valid)
        return;
    MessageWindow& w = dx.messageWindow;
    if (show) {
        w.windowHidden = 0;
        w.startWindowEffect(showMode);
        dx.gameState = GameState::WindowEffectShow;
    } else {
        w.startWindowEffect(hideMode);
        dx.gameState = GameState::WindowEffectHide;
    }
}
} // namespace

void cmdTextwindowFx1(CDirectX& dx, const std::string& token)
{
    textwindowEffect(dx, token, WindowEffectMode::ShowFx1, WindowEffectMode::HideFx1);
}

void cmdTextwindowFx2(CDirectX& dx, const std::string& token)
{
    textwindowEffect(dx, token, WindowEffectMode::ShowFx2, WindowEffectMode::HideFx2);
}

void cmdFontLoad(CDirectX& dx, const std::string&)
{
    const std::string name = dx.script.nextToken();
    const std::string entry = "textbox\\" + name;
    const bool ok = LoadFontSheet(dx.archive, entry, dx.fontSheet);
    if (!ok)
        runLog().appendf(2, "@font_load. failed. : %s", name.c_str());
    dx.holdUpdates(5);
}

void cmdKeywait(CDirectX& dx, const std::string&)
{
    dx.messageWindow.showClickMark(true);
    dx.messageWindow.noWait = 0;
    dx.gameState = GameState::PageClickWait;
}

int32_t textDelayForSpeed(int32_t speed)
{
    return textDelayFor(speed);
}
