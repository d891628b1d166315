#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CPackArchive;

// A script as a flat list of tokens with a cursor. Each source line that produced tokens
// ends with "\n" followed by the markers "@LINE", "\n", <next line number>, "\n"; the list
// ends with one empty token, and reading past it yields "EOF".
class ScriptFile {
public:
    // Token buffers hold 4095 bytes and a terminator; longer runs are cut there.
    static constexpr size_t kTokenMax = 4095;

    // Reads "SCP\\" + name from the package archive and tokenises it. An empty name, a
    // missing entry or one of size 0 fail; the previous script is gone either way.
    bool load(const CPackArchive& archive, std::string_view scriptName);
    // The same for another folder of the archive ("TYPE\\" for the typing game).
    bool loadFrom(const CPackArchive& archive, std::string_view folder, std::string_view scriptName);

    // Tokenises a script already in memory under the given name, with the same rules and
    // failures as a load from the archive.
    bool loadFromBytes(std::string_view scriptName, const uint8_t* data, size_t size);
    bool loadFromBytes(std::string_view scriptName, std::string_view text)
    {
        return loadFromBytes(scriptName, reinterpret_cast<const uint8_t*>(text.data()), text.size());
    }

    // The next token; "@LINE" markers are consumed here and update sourceLine. The
    // reference stays valid until the next load.
    const std::string& nextToken();
    // Moves past the next token equal to text. False when "EOF" comes first.
    bool seekToken(std::string_view text);

    int32_t cursorIndex() const { return cursor; }
    // The line of the file where the token at index stands (where it starts, for a quoted
    // token that runs over a line break); the markers after a line name the line they end.
    // The "@LINE" numbers name the line after the last line that held tokens, which is not
    // the token's own line after blank or comment lines: the author's checker reports these.
    int32_t tokenLine(int32_t index) const
    {
        return index >= 0 && size_t(index) < tokenLines_.size() ? tokenLines_[size_t(index)] : 0;
    }
    const std::string& scriptName() const { return name; }
    // Counts loads, so that observers can tell a new script from the old one.
    uint32_t loadSerial() const { return loadSerial_; }

    uint8_t loaded = 0;
    std::string name;
    std::vector<std::string> tokens;
    int32_t lastIndex = -1;
    int32_t cursor = 0;
    int32_t sourceLine = 0;

private:
    void release();
    void tokenise(const uint8_t* data, size_t size);
    const std::string& rawNext();

    uint32_t loadSerial_ = 0;
    std::vector<uint8_t> lineFrames_;
    std::vector<int32_t> tokenLines_;
};
