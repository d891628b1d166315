#pragma once
#include <string_view>

class CDirectX;

// Runs scenario commands until one of them needs time, then returns. At "EOF" it returns at
// once on every call.
void runScript(CDirectX& dx);

enum class ArgumentError {
    Invalid,       // the argument is not usable
    OutOfRange02,  // only 0..2 are allowed
    BadNumber,     // the number is not acceptable
};

// Logs one argument-error line (script name, source line, command, argument) at level 2 and
// marks the running command as failed. Execution goes on.
void reportArgumentError(CDirectX& dx, ArgumentError kind, std::string_view command, std::string_view argument);
