#pragma once
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

class CDirectX;

enum class CommandKind {
    Continue,            // the interpreter goes on with the next token in the same frame
    Yield,               // the interpreter returns to the frame
    YieldInHotspotBlock, // yields while a hot-spot block is open, else skipped like a stray token
    ContinueUnlessError, // continues, but yields after an argument error
};

// token is the command token itself (a copy: handlers may load another script).
using CommandHandler = void (*)(CDirectX& dx, const std::string& token);

struct CommandRow {
    std::string_view name;
    CommandKind kind;
    // Empty while the family that runs the command is not part of the engine: the token is
    // then skipped like any unknown one.
    CommandHandler handler;
    // The text command matches any token that contains its name.
    bool substring = false;
};

// Every command of the scenario language, in dispatch order.
std::span<const CommandRow> commandTable();

// Fills in the handler of the row with that name: families above the script engine (the
// typing game) join the table this way when the engine object is made. False when no row
// has the name.
bool setCommandHandler(std::string_view name, CommandHandler handler);

// The first row whose name equals token (or, for the text command, occurs in it); nullptr
// when nothing matches.
const CommandRow* findCommand(std::string_view token);
