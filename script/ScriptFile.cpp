#include "script/ScriptFile.h"

#include "core/RunLog.h"
#include "platform/Text.h"
#include "resources/PackArchive.h"
#include "script/CommandArgs.h"

#include <climits>

namespace {

const std::string kEof = "EOF";
const std::string kLineFeed = "\n";
const std::string kLineMarker = "@LINE";

bool isBlank(uint8_t c)
{
    return c == ' ' || c == '\t';
}

} // namespace

void ScriptFile::release()
{
    tokens.clear();
    tokens.shrink_to_fit();
    tokenLines_.clear();
    tokenLines_.shrink_to_fit();
    lineFrames_.clear();
    // Even a load that fails before it starts leaves no cursor into the released list.
    lastIndex = -1;
    cursor = 0;
}

bool ScriptFile::loadFromBytes(std::string_view scriptName, const uint8_t* data, size_t size)
{
    release();
    loaded = 1;
    name.assign(scriptName);
    if (name.empty())
        return false;
    lastIndex = -1;
    cursor = 0;
    if (size == 0 || data == nullptr)
        return false;
    // Errors on the first line, before any line marker has been read, name line 1.
    sourceLine = 1;
    tokenise(data, size);
    ++loadSerial_;
    return true;
}

bool ScriptFile::load(const CPackArchive& archive, std::string_view scriptName)
{
    return loadFrom(archive, "SCP\\", scriptName);
}

bool ScriptFile::loadFrom(const CPackArchive& archive, std::string_view folder, std::string_view scriptName)
{
    release();
    loaded = 1;
    name.assign(scriptName);
    if (name.empty())
        return false;
    const std::string entry = std::string(folder) + name;
    const int32_t size = archive.GetSize(entry);
    if (size <= 0)
        return false;
    // One byte more than the entry, as every text reader of the archive allocates.
    std::vector<uint8_t> raw(size_t(size) + 1, 0);
    if (archive.Read(entry, raw.data()) != size)
        return false;
    return loadFromBytes(scriptName, raw.data(), size_t(size));
}

void ScriptFile::tokenise(const uint8_t* p, size_t n)
{
    bool inQuote = false;
    bool inComment = false;
    bool separatorPending = false;
    std::string buf;
    buf.reserve(kTokenMax);
    int line = 1;
    int cutLine = 0;
    int startLine = 1;

    auto push = [&](const std::string& token, int tokenLine) {
        tokens.push_back(token);
        tokenLines_.push_back(tokenLine);
    };
    auto emit = [&] {
        push(buf, buf.empty() ? line : startLine);
        buf.clear();
    };

    for (size_t i = 0; i < n; ++i) {
        const uint8_t c = p[i];
        const uint8_t next = i + 1 < n ? p[i + 1] : 0;

        // A quote toggles quoting but stays in the token like any other byte.
        if (!inComment && c == '"')
            inQuote = !inQuote;

        if (!inComment && !inQuote) {
            // A run of blanks acts as its last blank: a trailing tab still hides the line end.
            if (isBlank(c) && isBlank(next))
                continue;
            if (c == '/' && next == '/') {
                inComment = true;
                ++i;
                continue;
            }
        }

        if (c == '\r' && next == '\n') {
            ++line;
            ++i;
            // A quoted text runs on across the line break without it.
            if (!inQuote && (!buf.empty() || separatorPending)) {
                const int ended = line - 1;
                if (buf.empty())
                    push(buf, ended);
                else
                    emit();
                push(kLineFeed, ended);
                push(kLineMarker, ended);
                push(kLineFeed, ended);
                push(std::to_string(line), ended);
                push(kLineFeed, ended);
            }
            inComment = false;
            continue;
        }

        if (inComment)
            continue;
        if (c == '\t') {
            // A tab separates without asking for an empty token at the line end.
            if (!inQuote && !buf.empty())
                emit();
            continue;
        }
        if (c == ' ' && !inQuote) {
            if (!buf.empty())
                emit();
            separatorPending = true;
            continue;
        }
        if (buf.empty())
            startLine = line;
        if (buf.size() < kTokenMax)
            buf.push_back(char(c));
        else if (cutLine == 0)
            cutLine = line;
        separatorPending = false;
    }
    // Bytes after the last CR LF never become tokens: scripts end with a line break.

    if (cutLine != 0)
        runLog().appendf(2, SJ("(%s.SCP)%d行目 : error : 4095バイトを超えるトークンを切り詰めました").c_str(),
                         name.c_str(), cutLine);

    push(std::string(), line);
    lastIndex = int32_t(tokens.size() - 1);
    cursor = 0;
}

const std::string& ScriptFile::rawNext()
{
    if (cursor > lastIndex || cursor < 0)
        return kEof;
    return tokens[size_t(cursor++)];
}

const std::string& ScriptFile::nextToken()
{
    const std::string* t = &rawNext();
    if (t == &kEof || *t != kLineMarker)
        return *t;

    // "@LINE" reads tokens up to the line number, then hands out the token after it. A
    // script may hold "@LINE" words of its own, so nested markers are kept on a stack
    // here rather than on the call stack.
    lineFrames_.clear();
    lineFrames_.push_back(0);
    for (;;) {
        t = &rawNext();
        if (t != &kEof && *t == kLineMarker) {
            lineFrames_.push_back(0);
            continue;
        }
        for (;;) {
            if (lineFrames_.empty())
                return *t;
            uint8_t& frame = lineFrames_.back();
            if (frame == 0) {
                if (*t != kLineFeed) {
                    sourceLine = argumentNumber(*t);
                    frame = 1;
                }
                break;
            }
            lineFrames_.pop_back();
        }
    }
}

bool ScriptFile::seekToken(std::string_view text)
{
    for (int32_t i = 0; i < lastIndex; ++i) {
        const std::string& t = nextToken();
        if (t == kEof)
            return false;
        if (t == text)
            return true;
    }
    return true;
}
