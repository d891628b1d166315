#pragma once
#include <iosfwd>
#include <string>
#include <vector>

// sorafune-lint: args are the command-line arguments after the program name. Prints the
// findings to out and usage or folder errors to err. Exit codes: 0 no finding at error level,
// 1 findings at error level, 2 usage or an unreadable folder.
int lintMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
