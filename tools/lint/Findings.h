#pragma once
// What the author's checker found: one line each, "file:line: level: message" in UTF-8, so
// that editors can jump to the place.
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

enum class FindingLevel { Warning, Error };

struct Finding {
    std::string file;    // "SCP/startup.scp" (UTF-8, '/' between folders); a sound file's path
    int32_t line = 0;    // 1-based; 0 for findings about a whole file
    FindingLevel level = FindingLevel::Error;
    std::string message; // UTF-8

    std::string text() const;
};

class Findings {
public:
    void add(Finding f) { list_.push_back(std::move(f)); }
    const std::vector<Finding>& list() const { return list_; }
    bool hasErrors() const;
    // Every finding in the order the scripts were checked, by line within a file.
    void print(std::ostream& out) const;

private:
    std::vector<Finding> list_;
};
