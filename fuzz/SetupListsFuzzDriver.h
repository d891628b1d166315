#pragma once
// Runs arbitrary bytes as the installer's header, copy list and uninstall record inside a
// sandbox folder, and says whether anything outside the install root was touched. Shared
// by the fuzz target and the test that replays its kept inputs.
#include "installer/SetupLists.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

inline bool setupSandboxIntact(const std::filesystem::path& sandbox)
{
    std::ifstream f(sandbox / "outside.txt");
    std::string s;
    std::getline(f, s);
    std::ifstream g(sandbox / "disc" / "SUB" / "b.txt");
    std::string t;
    std::getline(g, t);
    return s == "keep" && t == "b" && std::filesystem::exists(sandbox / "disc" / "a.txt");
}

inline bool runSetupListBytes(const std::filesystem::path& sandbox, const uint8_t* data, size_t size)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::remove_all(sandbox / "root", ec);
    fs::create_directories(sandbox / "disc" / "SUB", ec);
    std::ofstream(sandbox / "disc" / "a.txt") << "a\n";
    std::ofstream(sandbox / "disc" / "SUB" / "b.txt") << "b\n";
    std::ofstream(sandbox / "outside.txt") << "keep\n";

    SetupLists lists([](const std::string&, const std::string&) {});
    lists.LoadListBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::vector<ListLine> input = lists.lines;
    for (const ListLine& l : input)
        lists.RunHeaderLine(l.text);
    // One fixed title keeps the install folder inside the sandbox's root.
    lists.state.title = "T";
    lists.state.installRoot = (sandbox / "root").string();

    const fs::path old = fs::current_path(ec);
    fs::current_path(sandbox / "disc", ec);
    size_t n = 0;
    for (const ListLine& l : input) {
        if (++n > 500)
            break;
        if (lists.RunCopyLine(l.text) == SetupLists::CopyResult::Failed)
            break;
    }
    const std::string folder = lists.state.installFolder();
    if (fs::is_directory(folder)) {
        lists.WriteUninstallRecord(folder);
        if (lists.LoadList(folder + "/Uninstall.dir", nullptr))
            for (const ListLine& l : std::vector<ListLine>(lists.lines))
                lists.RunUninstallLine(l.text, folder);
        n = 0;
        for (const ListLine& l : input) {
            if (++n > 500)
                break;
            lists.RunUninstallLine(l.text, folder);
        }
    }
    fs::current_path(old, ec);
    return setupSandboxIntact(sandbox);
}
