#pragma once
#include <cstdarg>
#include <deque>
#include <string>
#include <string_view>

// The run log: lines kept in memory in the order they came, written to a file only on
// request. Level 1 is progress, 2 a failure; level 0 is dropped.
class RunLog {
public:
    // Appends text as one line; a line feed is added when the text does not end with one.
    void append(int level, std::string_view text);
    // printf-style append.
    void appendf(int level, const char* format, ...) __attribute__((format(printf, 3, 4)));

    // Appends every queued line, oldest first, to fileName in the program folder, removing
    // each as it is written, then one empty line. When the file cannot be opened the queue
    // stays as it was. Lines are written with CR LF ends, as the game's log files have.
    bool saveAppend(std::string_view fileNameSjis);

    const std::deque<std::string>& lines() const { return lines_; }
    bool contains(std::string_view text) const;
    void clear() { lines_.clear(); }

private:
    std::deque<std::string> lines_;
};

// The program's one run log.
RunLog& runLog();
