#pragma once
// A scratch game folder for the harnesses that drive a whole engine: its own "system.pkd", its
// records written there and not into the working folder.
#include "app/CDirectX.h"
#include "platform/headless/HeadlessBackend.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

using ArchiveEntries = std::vector<std::pair<std::string, std::string>>;

// Makes a fresh folder (under SORAFUNE_TEST_TMP when the test suite sets it) with the given
// subfolders, writes "system.pkd" of the entries there, makes it the working and program
// folder, and opens an engine on it. Aborts when the archive cannot be made: a harness
// without its game would test nothing.
std::unique_ptr<CDirectX> openFuzzGame(platform::HeadlessBackend& backend, const std::string& folderTag,
                                       const ArchiveEntries& entries, const std::vector<std::string>& subfolders = {});
