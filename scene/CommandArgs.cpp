#include "scene/CommandArgs.h"

#include "script/Interpreter.h"

std::optional<std::vector<std::string>> commandFields(CDirectX& dx, const std::string& command,
                                                      const std::string& arg, size_t count)
{
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
        size_t comma = arg.find(',', start);
        out.push_back(arg.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    if (out.size() < count) {
        reportArgumentError(dx, ArgumentError::Invalid, command, arg);
        return std::nullopt;
    }
    return out;
}
