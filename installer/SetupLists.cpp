#include "installer/SetupLists.h"

#include "platform/Files.h"
#include "platform/InstallFiles.h"
#include "platform/Text.h"
#include "resources/PackArchive.h"

#include <cstdlib>

namespace install = platform::install;

const char* const kMakerFolder = "鷺庵";

namespace {

// Lists are a few kilobytes; anything far larger is not a list.
constexpr size_t kMaxListBytes = 16u << 20;

std::string sjisOf(const std::string& hostPath)
{
    return platform::utf8ToSjis(hostPath);
}

void splitKey(const std::string& line, std::string& key, std::string& value)
{
    const size_t tab = line.find('\t');
    key = line.substr(0, tab);
    value = tab == std::string::npos ? std::string() : line.substr(tab + 1);
}

std::string join(const std::string& root, const std::vector<std::string>& parts)
{
    std::string p = root;
    for (const std::string& part : parts)
        p += "/" + part;
    return p;
}

bool isPlainName(const std::string& sjis)
{
    std::vector<std::string> parts;
    return splitListPath(sjis, parts) && parts.size() == 1 && parts[0] != ".";
}

} // namespace

std::string SetupState::installFolder() const
{
    return installRoot + "/" + kMakerFolder + "/" + platform::sjisToUtf8(title);
}

std::vector<ListLine> splitListLines(std::string_view bytes)
{
    std::vector<ListLine> out;
    size_t pos = 0;
    int number = 0;
    while (pos < bytes.size()) {
        size_t end = bytes.find('\n', pos);
        if (end == std::string_view::npos)
            end = bytes.size();
        std::string_view line = bytes.substr(pos, end - pos);
        pos = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!line.empty())
            out.push_back(ListLine{std::string(line), number});
    }
    return out;
}

bool splitListPath(std::string_view sjis, std::vector<std::string>& parts)
{
    parts.clear();
    if (sjis.empty() || sjis[0] == '\\' || sjis[0] == '/')
        return false;
    if (sjis.size() >= 2 && sjis[1] == ':')
        return false;
    std::string part;
    auto flush = [&]() {
        if (part.empty())
            return true;
        if (part == "..")
            return false;
        parts.push_back(platform::sjisToUtf8(part));
        part.clear();
        return true;
    };
    for (size_t i = 0; i < sjis.size(); ++i) {
        const uint8_t b = uint8_t(sjis[i]);
        if (b == 0)
            return false;
        if (platform::isSjisLead(b) && i + 1 < sjis.size()) {
            if (sjis[i + 1] == 0)
                return false;
            part += sjis.substr(i, 2);
            ++i;
            continue;
        }
        if (b == '\\' || b == '/') {
            if (!flush())
                return false;
            continue;
        }
        part += char(b);
    }
    if (!flush())
        return false;
    for (const std::string& p : parts)
        if (p == ".." || p.find('/') != std::string::npos)
            return false; // a trail byte that converted to a separator
    return !parts.empty();
}

std::string lineErrorText(int lineNumber)
{
    return std::to_string(lineNumber) + SJ("行目 : 解釈できない命令があります。");
}

bool SetupLists::LoadList(const std::string& name, const CPackArchive* archive)
{
    std::vector<uint8_t> bytes;
    if (archive) {
        const int32_t size = archive->GetSize(name);
        if (size < 0 || size_t(size) > kMaxListBytes)
            return false;
        bytes.resize(size_t(size) + 1);
        if (archive->Read(name, bytes.data()) != size)
            return false;
        bytes.resize(size_t(size));
    } else if (!platform::files::readFile(name, bytes, kMaxListBytes)) {
        return false;
    }
    LoadListBytes(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return true;
}

bool SetupLists::RunHeaderLine(const std::string& line)
{
    std::string key, value;
    splitKey(line, key, value);
    if (key == "TITLE") {
        // The title names folders and files of its own: it must be one plain name.
        if (!isPlainName(value))
            return false;
        state.title = value;
        return true;
    }
    if (key == "INSTALL_NO") {
        state.installNo = std::atoi(value.c_str());
        return true;
    }
    if (key == "EXE_NAME") {
        if (!isPlainName(value))
            return false;
        state.exeName = value;
        return true;
    }
    return false;
}

bool SetupLists::ensureFolder(const std::string& path, const std::string& caption, bool normalIfExisting)
{
    if (install::kindOf(path) != install::PathKind::Directory) {
        if (install::makeDirectory(path) != 0) {
            fail(sjisOf(path) + SJ("を作成する所有権がありません。"), caption);
            return false;
        }
    } else if (!normalIfExisting) {
        return true;
    }
    if (!install::makeOwnerWritable(path)) {
        fail(sjisOf(path) + SJ("の属性を変更できません。"), caption);
        return false;
    }
    return true;
}

SetupLists::CopyResult SetupLists::RunCopyLine(const std::string& line)
{
    std::string key, value;
    splitKey(line, key, value);
    const std::string folder = state.installFolder();

    if (key == "INIT") {
        state.sourceFolder = install::currentDirectory();
        const std::string& caption = SJ("SETUP[INIT]");
        const std::string& root = state.installRoot;
        if (!root.empty()) {
            // A fresh account may lack ~/.local too: the root is made with its parents.
            if (!platform::files::isDirectory(root) && !platform::files::makeDirectories(root)) {
                fail(sjisOf(root) + SJ("を作成する所有権がありません。"), caption);
                return CopyResult::Failed;
            }
            if (!install::makeOwnerWritable(root)) {
                fail(sjisOf(root) + SJ("の属性を変更できません。"), caption);
                return CopyResult::Failed;
            }
        }
        if (!ensureFolder(root + "/" + kMakerFolder, caption, false) || !ensureFolder(folder, caption, false))
            return CopyResult::Failed;
        return CopyResult::Done;
    }

    if (key == "MKDIR") {
        std::vector<std::string> parts;
        if (!splitListPath(value, parts))
            return CopyResult::Unrecognised;
        const std::string& caption = SJ("SETUP[MKDIR]");
        const std::string path = join(folder, parts);
        if (!install::noLinksBelow(folder, parts)) {
            fail(sjisOf(path) + SJ("を作成する所有権がありません。"), caption);
            return CopyResult::Failed;
        }
        if (!ensureFolder(path, caption, true))
            return CopyResult::Failed;
        state.record.push_back("RMDIR\t" + value);
        return CopyResult::Done;
    }

    if (key == "MODE") {
        if (value == "OVERWRITE")
            state.copyMode = CopyMode::Overwrite;
        else if (value == "NOTEXIST")
            state.copyMode = CopyMode::NotExist;
        else if (value == "PROTECT")
            state.copyMode = state.installNo < state.installedNo ? CopyMode::Keep : CopyMode::Overwrite;
        return CopyResult::Done;
    }

    if (key == "COPY") {
        std::vector<std::string> parts;
        if (!splitListPath(value, parts))
            return CopyResult::Unrecognised;
        const std::string source = platform::files::hostPath(value, state.sourceFolder.empty() ? "." : state.sourceFolder);
        const std::string dest = join(folder, parts);
        const bool overwrite = state.copyMode == CopyMode::Overwrite;
        const std::string& caption = overwrite ? SJ("SETUP[COPY]") : SJ("SETUP[PROTECT/NOTEXIST]");
        auto copyFailed = [&](int code) {
            fail(sjisOf(source) + SJ("をコピーできません。:") + std::to_string(code), caption);
            return CopyResult::Failed;
        };
        if (!install::noLinksBelow(folder, parts))
            return copyFailed(40); // ELOOP: a link on the way out of the install folder
        if (!overwrite && install::kindOf(dest) != install::PathKind::Missing)
            return CopyResult::Done;
        if (install::kindOf(dest) == install::PathKind::Link && !install::removeFile(dest))
            return copyFailed(40);
        if (int err = install::copyFile(source, dest, overwrite); err != 0)
            return copyFailed(err);
        if (!install::makeOwnerWritable(dest)) {
            fail(sjisOf(dest) + SJ("の属性を変更できません。"), caption);
            return CopyResult::Failed;
        }
        state.record.push_back("DELETE\t" + value);
        state.currentFile = value;
        return CopyResult::Done;
    }
    return CopyResult::Unrecognised;
}

bool SetupLists::RunUninstallLine(const std::string& line, const std::string& installedFolder)
{
    std::string key, value;
    splitKey(line, key, value);
    if (key != "DELETE" && key != "RMDIR")
        return false;
    std::vector<std::string> parts;
    if (!splitListPath(value, parts))
        return false;
    const std::string path = join(installedFolder, parts);
    // Results are not checked; a path that leads through a link is simply not touched.
    if (!install::noLinksBelow(installedFolder, parts))
        return true;
    if (key == "DELETE") {
        state.currentFile = sjisOf(path);
        install::removeFile(path);
    } else {
        install::removeDirectory(path);
    }
    return true;
}

bool SetupLists::WriteUninstallRecord(const std::string& folder) const
{
    const std::string path = folder + "/Uninstall.dir";
    std::vector<uint8_t> old;
    std::string text;
    if (platform::files::readFile(path, old, kMaxListBytes)) {
        text.assign(old.begin(), old.end());
        if (!text.empty() && text.back() != '\n')
            text += "\r\n";
    }
    for (auto it = state.record.rbegin(); it != state.record.rend(); ++it)
        text += *it + "\r\n";
    return platform::files::writeFileAtomic(path, text.data(), text.size());
}
