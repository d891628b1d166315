#pragma once
// A small game folder that passes the checker with no finding, and the means to plant one
// mistake in it: scripts are UTF-8 lines here, written as Shift-JIS with CR LF line ends.
#include "../TestSupport.h"
#include "platform/Text.h"
#include "tools/lint/Findings.h"

#include <map>
#include <string>
#include <vector>

namespace lintgame {

using Bytes = std::vector<uint8_t>;

struct SmallGame {
    SmallGame();

    // Archive entries (Shift-JIS names) and loose files below the folder (UTF-8, '/').
    std::map<std::string, Bytes> entries;
    std::map<std::string, Bytes> files;

    // Scripts by archive name, as lines.
    std::map<std::string, std::vector<std::string>> scripts;

    // Replaces line n (1-based) of a script; the text may hold "\n" for more lines.
    void setLine(const std::string& script, int n, const std::string& text);
    void appendLines(const std::string& script, const std::string& text);

    // Writes the folder and runs the checker on it; exit code and findings.
    int check(Findings& findings, std::string* printed = nullptr);

    testsupport::TempDir dir;
};

Bytes rgbPng(int w, int h, const std::vector<uint32_t>& rgb);
Bytes oggOf(float seconds);
Bytes wavOf(float seconds);

} // namespace lintgame
