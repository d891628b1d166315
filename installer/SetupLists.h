#pragma once
// The installer's three list files: the header "system", the copy list "install.dir" and
// the uninstall record "Uninstall.dir", and the state their lines change.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class CPackArchive;

enum class CopyMode { NotExist = 0, Keep = 1, Overwrite = 2 };

struct SetupState {
    std::string title;         // Shift-JIS
    int installNo = 0;         // from the header
    int installedNo = 0;       // from the install record of an earlier installation, 0 when none
    std::string exeName;       // Shift-JIS file name of the game program
    std::string installRoot;   // host path without a trailing '/'
    std::string sourceFolder;  // host path, taken by INIT
    CopyMode copyMode = CopyMode::Overwrite;
    std::vector<std::string> record; // "RMDIR\t..." and "DELETE\t..." in the order made
    std::string currentFile;   // Shift-JIS, shown on the progress page

    // install root + "/鷺庵/" + title, as a host path.
    std::string installFolder() const;
};

// The maker folder between the install root and the title folder (UTF-8).
extern const char* const kMakerFolder;

// One line of a list: its text and its line number in the file, counted from 1.
struct ListLine {
    std::string text;
    int number = 0;
};

// The lines of a list file: split at line feeds (a CR before one is dropped, so files
// written with CR LF and with LF alone read alike); empty lines are skipped.
std::vector<ListLine> splitListLines(std::string_view bytes);

// A relative path of a list ("SOUND\\BGM\\a.ogg") as its parts (UTF-8), split at '\\' and
// '/' with Shift-JIS trail bytes respected. False for a path that could leave the folder it
// is relative to: empty, absolute, with a drive ("C:"), with a ".." part, or with a NUL.
bool splitListPath(std::string_view sjisPath, std::vector<std::string>& partsUtf8);

// "<n>行目 : 解釈できない命令があります。"
std::string lineErrorText(int lineNumber);

class SetupLists {
public:
    // Shows one message box with an OK button (Shift-JIS text and caption).
    using MessageFn = std::function<void(const std::string& textSjis, const std::string& captionSjis)>;

    explicit SetupLists(MessageFn message) : message_(std::move(message)) {}

    SetupState state;
    std::vector<ListLine> lines;

    // From the archive (entry name) or from a file (host path); replaces lines. False when
    // the entry or file cannot be read.
    bool LoadList(const std::string& name, const CPackArchive* archive);
    void LoadListBytes(std::string_view bytes) { lines = splitListLines(bytes); }

    // One line each; false when the line is not one the list knows (a line error).
    bool RunHeaderLine(const std::string& line);

    enum class CopyResult {
        Done,         // carried out (or nothing to do)
        Unrecognised, // a line error
        Failed,       // a message was shown; the installer goes back to the folder page
    };
    CopyResult RunCopyLine(const std::string& line);

    // installedFolder: the folder the uninstall record belongs to.
    bool RunUninstallLine(const std::string& line, const std::string& installedFolder);

    // Appends the record, newest first, to folder + "/Uninstall.dir" (CR LF line ends).
    bool WriteUninstallRecord(const std::string& folder) const;

private:
    void fail(const std::string& textSjis, const std::string& caption) { message_(textSjis, caption); }
    bool ensureFolder(const std::string& path, const std::string& caption, bool normalIfExisting);

    MessageFn message_;
};
