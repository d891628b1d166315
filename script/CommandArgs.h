#pragma once
// What the command handlers of every folder take from the interpreter: the fields and numbers of
// an argument token, how a command reports an argument it cannot use, and how an operation
// behind a command says how it went. The handlers in scene/, text/ and sound/ may include this
// header of script/ and nothing else of it (scripts/check-includes.sh).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CDirectX;

enum class ArgumentError {
    Invalid,      // the argument is not usable
    OutOfRange02, // only 0..2 are allowed
    BadNumber,    // the number is not acceptable
};

// Logs one argument-error line (script name, source line, command, argument) at level 2 and
// marks the running command as failed. Execution goes on.
void reportArgumentError(CDirectX& dx, ArgumentError kind, std::string_view command, std::string_view argument);

// How an operation that a command hands its argument to went. The handler turns ArgumentError
// into reportArgumentError; Failed has been logged by the operation itself.
enum class CommandResult { Done, Failed, ArgumentError };

// The comma-separated fields of an argument token: "a,,b" is "a", "", "b"; a token without a
// comma is one field.
std::vector<std::string> splitArguments(std::string_view argument);

// The fields of argument, or nullopt after the Invalid argument-error line when there are
// fewer than count.
std::optional<std::vector<std::string>> requireArguments(CDirectX& dx, std::string_view command,
                                                         std::string_view argument, size_t count);

// A number as scripts write them, read like atoi (leading blanks, a sign, digits; anything
// after them ignored; no digits is 0), saturated to the 32-bit range instead of overflowing.
int32_t argumentNumber(std::string_view text);

// A number written as digits only (an optional minus sign first), with nothing before or after
// them; false for anything else. For arguments that must be refused rather than read as 0.
bool wholeNumber(std::string_view text, int32_t& value);
