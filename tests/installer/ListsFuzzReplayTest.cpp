// Every kept input of the list fuzz target, run in the normal build: whatever a list says,
// nothing outside the install root changes.
#include "../TestSupport.h"

#include "fuzz/SetupListsFuzzDriver.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

TEST(SetupListsFuzzReplay, KeptInputsStayInsideTheInstallRoot)
{
    testsupport::TempDir sandbox;
    const fs::path folder = fs::path(SORAFUNE_SOURCE_DIR) / "fuzz/inputs/setuplists";
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (!entry.is_regular_file() || entry.path().filename() == "README")
            continue;
        SCOPED_TRACE(entry.path().filename().string());
        const std::vector<uint8_t> bytes = testsupport::readAll(entry.path().string());
        EXPECT_TRUE(runSetupListBytes(sandbox.path(), bytes.data(), bytes.size()));
        ++count;
    }
    EXPECT_GE(count, 4);
    // The copy list of a kept input did install something before the uninstall removed it.
    const std::string list = "INIT\r\nMKDIR\tSUB\r\nCOPY\tSUB\\b.txt\r\n";
    EXPECT_TRUE(runSetupListBytes(sandbox.path(), reinterpret_cast<const uint8_t*>(list.data()), list.size()));
    EXPECT_FALSE(fs::exists(sandbox.path() / "root/鷺庵/T/SUB"));
    EXPECT_TRUE(fs::is_directory(sandbox.path() / "root/鷺庵/T"));
}
