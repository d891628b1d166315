#include "InputScript.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <sstream>
#include <utility>

namespace {

struct KeyName {
    const char* name;
    int code;
};

constexpr KeyName kKeys[] = {
    {"ESCAPE", 0x01}, {"ESC", 0x01}, {"1", 0x02}, {"2", 0x03}, {"3", 0x04}, {"4", 0x05}, {"5", 0x06},
    {"6", 0x07}, {"7", 0x08}, {"8", 0x09}, {"9", 0x0A}, {"0", 0x0B}, {"MINUS", 0x0C}, {"EQUALS", 0x0D},
    {"BACK", 0x0E}, {"BACKSPACE", 0x0E}, {"TAB", 0x0F}, {"Q", 0x10}, {"W", 0x11}, {"E", 0x12}, {"R", 0x13},
    {"T", 0x14}, {"Y", 0x15}, {"U", 0x16}, {"I", 0x17}, {"O", 0x18}, {"P", 0x19}, {"LBRACKET", 0x1A},
    {"RBRACKET", 0x1B}, {"RETURN", 0x1C}, {"ENTER", 0x1C}, {"LCONTROL", 0x1D}, {"LCTRL", 0x1D}, {"A", 0x1E},
    {"S", 0x1F}, {"D", 0x20}, {"F", 0x21}, {"G", 0x22}, {"H", 0x23}, {"J", 0x24}, {"K", 0x25}, {"L", 0x26},
    {"SEMICOLON", 0x27}, {"APOSTROPHE", 0x28}, {"GRAVE", 0x29}, {"LSHIFT", 0x2A}, {"BACKSLASH", 0x2B},
    {"Z", 0x2C}, {"X", 0x2D}, {"C", 0x2E}, {"V", 0x2F}, {"B", 0x30}, {"N", 0x31}, {"M", 0x32}, {"COMMA", 0x33},
    {"PERIOD", 0x34}, {"SLASH", 0x35}, {"RSHIFT", 0x36}, {"MULTIPLY", 0x37}, {"LMENU", 0x38}, {"LALT", 0x38},
    {"SPACE", 0x39}, {"CAPITAL", 0x3A}, {"F1", 0x3B}, {"F2", 0x3C}, {"F3", 0x3D}, {"F4", 0x3E}, {"F5", 0x3F},
    {"F6", 0x40}, {"F7", 0x41}, {"F8", 0x42}, {"F9", 0x43}, {"F10", 0x44}, {"NUMLOCK", 0x45}, {"SCROLL", 0x46},
    {"NUMPAD7", 0x47}, {"NUMPAD8", 0x48}, {"NUMPAD9", 0x49}, {"SUBTRACT", 0x4A}, {"NUMPAD4", 0x4B},
    {"NUMPAD5", 0x4C}, {"NUMPAD6", 0x4D}, {"ADD", 0x4E}, {"NUMPAD1", 0x4F}, {"NUMPAD2", 0x50},
    {"NUMPAD3", 0x51}, {"NUMPAD0", 0x52}, {"DECIMAL", 0x53}, {"F11", 0x57}, {"F12", 0x58},
    {"NUMPADENTER", 0x9C}, {"RCONTROL", 0x9D}, {"RCTRL", 0x9D}, {"DIVIDE", 0xB5}, {"RMENU", 0xB8},
    {"RALT", 0xB8}, {"HOME", 0xC7}, {"UP", 0xC8}, {"PRIOR", 0xC9}, {"PGUP", 0xC9}, {"LEFT", 0xCB},
    {"RIGHT", 0xCD}, {"END", 0xCF}, {"DOWN", 0xD0}, {"NEXT", 0xD1}, {"PGDN", 0xD1}, {"INSERT", 0xD2},
    {"DELETE", 0xD3},
};

bool parseInt(std::string_view w, int& out)
{
    if (w.empty())
        return false;
    int base = 10;
    std::string_view digits = w;
    bool negative = false;
    if (digits.front() == '-' || digits.front() == '+') {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits.remove_prefix(2);
    }
    if (digits.empty())
        return false;
    long long v = 0;
    auto [p, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v, base);
    if (ec != std::errc() || p != digits.data() + digits.size())
        return false;
    if (negative)
        v = -v;
    if (v < -1000000000LL || v > 1000000000LL)
        return false;
    out = int(v);
    return true;
}

std::string upper(std::string_view w)
{
    std::string s(w);
    for (char& c : s)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

int parseButton(std::string_view w)
{
    std::string u = upper(w);
    if (u == "LEFT")
        return 0;
    if (u == "RIGHT")
        return 1;
    if (u == "MIDDLE")
        return 2;
    return -1;
}

} // namespace

int parseKey(std::string_view word)
{
    int code = 0;
    if (!word.empty() && std::isdigit(static_cast<unsigned char>(word.front())) && word.size() > 1 &&
        parseInt(word, code))
        return code >= 0 && code <= 255 ? code : -1;
    std::string u = upper(word);
    if (u.rfind("DIK_", 0) == 0)
        u.erase(0, 4);
    for (const KeyName& k : kKeys)
        if (u == k.name)
            return k.code;
    return -1;
}

bool parseInputScript(std::string_view text, std::vector<ScriptedInput>& out, std::string& error)
{
    using Kind = platform::HeadlessInputEvent::Kind;
    std::vector<ScriptedInput> events;
    std::istringstream in{std::string(text)};
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string s; words >> s;)
            w.push_back(s);
        if (w.empty() || w[0][0] == '#')
            continue;
        auto fail = [&](const std::string& why) {
            error = "line " + std::to_string(lineNo) + ": " + why;
            return false;
        };
        ScriptedInput si;
        if (!parseInt(w[0], si.frame) || si.frame < 1)
            return fail("a frame number of 1 or more comes first");
        if (w.size() < 2)
            return fail("an event follows the frame number");
        std::string cmd = upper(w[1]);
        std::string sub = w.size() > 2 ? upper(w[2]) : "";
        auto& ev = si.event;
        if (cmd == "CLOSE" && w.size() == 2) {
            si.close = true;
        } else if (cmd == "KEY" && w.size() == 4 && (sub == "DOWN" || sub == "UP")) {
            ev.kind = sub == "DOWN" ? Kind::KeyDown : Kind::KeyUp;
            ev.code = parseKey(w[3]);
            if (ev.code < 0)
                return fail("unknown key \"" + w[3] + "\"");
        } else if (cmd == "MOUSE" && sub == "MOVE" && w.size() == 5) {
            ev.kind = Kind::MouseMove;
            if (!parseInt(w[3], ev.x) || !parseInt(w[4], ev.y))
                return fail("mouse move takes two numbers");
        } else if (cmd == "MOUSE" && (sub == "DOWN" || sub == "UP") && w.size() == 4) {
            ev.kind = sub == "DOWN" ? Kind::ButtonDown : Kind::ButtonUp;
            ev.code = parseButton(w[3]);
            if (ev.code < 0)
                return fail("the button is left, right or middle");
        } else if (cmd == "WHEEL" && w.size() == 3) {
            ev.kind = Kind::Wheel;
            if (!parseInt(w[2], ev.code))
                return fail("wheel takes a number");
        } else {
            return fail("unknown event \"" + line + "\"");
        }
        events.push_back(si);
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const ScriptedInput& a, const ScriptedInput& b) { return a.frame < b.frame; });
    out = std::move(events);
    return true;
}
