#pragma once
#include <iosfwd>
#include <string>
#include <vector>

// The pkd tool: pack, list, extract, cat. args are the command-line arguments after the
// program name. Exit codes: 0 done, 1 bad archive or I/O failure, 2 usage.
int pkdMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
