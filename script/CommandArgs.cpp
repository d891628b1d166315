#include "script/CommandArgs.h"

#include "app/CDirectX.h"
#include "core/RunLog.h"
#include "platform/Text.h"

#include <cstdio>

void reportArgumentError(CDirectX& dx, ArgumentError kind, std::string_view command, std::string_view argument)
{
    const std::string* format = nullptr;
    switch (kind) {
    case ArgumentError::Invalid:
        format = &SJ("(%s.SCP)%d行目 : error : '%s %s' :　コマンド引数に問題があります。");
        break;
    case ArgumentError::OutOfRange02:
        format = &SJ("(%s.SCP)%d行目 : error : '%s %s' :　引数に指定できる数値は、(0-2)の間です。");
        break;
    case ArgumentError::BadNumber:
        format = &SJ("(%s.SCP)%d行目 : error : '%s %s' :　数値が異常です");
        break;
    }
    ScriptState& st = dx.scriptState;
    const std::string cmd(command);
    const std::string arg(argument);
    // The buffer is bounded: a long token shortens the line rather than overrunning it.
    std::snprintf(st.messageBuffer.data(), st.messageBuffer.size(), format->c_str(), dx.script.scriptName().c_str(),
                  dx.script.sourceLine, cmd.c_str(), arg.c_str());
    runLog().append(2, st.messageBuffer.data());
    st.argumentErrorRaised = true;
}

std::vector<std::string> splitArguments(std::string_view argument)
{
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t comma = argument.find(',', start);
        fields.emplace_back(argument.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (comma == std::string_view::npos)
            return fields;
        start = comma + 1;
    }
}

std::optional<std::vector<std::string>> requireArguments(CDirectX& dx, std::string_view command,
                                                         std::string_view argument, size_t count)
{
    std::vector<std::string> fields = splitArguments(argument);
    if (fields.size() < count) {
        reportArgumentError(dx, ArgumentError::Invalid, command, argument);
        return std::nullopt;
    }
    return fields;
}

int32_t argumentNumber(std::string_view s)
{
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    int64_t value = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        value = value * 10 + (s[i] - '0');
        if (value > int64_t(INT32_MAX) + 1)
            value = int64_t(INT32_MAX) + 1;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX)
        value = INT32_MAX;
    return int32_t(value);
}

bool wholeNumber(std::string_view text, int32_t& value)
{
    const size_t first = !text.empty() && text[0] == '-' ? 1 : 0;
    if (text.size() == first)
        return false;
    for (size_t i = first; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    value = argumentNumber(text);
    return true;
}
