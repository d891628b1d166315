#include "../../fuzz/FuzzEntries.h"
#include "../TestSupport.h"

#include "platform/DebugOutput.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string_view>

namespace fs = std::filesystem;

namespace {

// Every input a fuzz target ever crashed on stays in fuzz-regressions/<target>/ and runs
// here through the same entry function, under the sanitizers of the normal test build.
size_t replay(const std::string& target, int (*entry)(const uint8_t*, size_t))
{
    fs::path folder = fs::path(SORAFUNE_SOURCE_DIR) / "tests" / "resources" / "fuzz-regressions" / target;
    size_t count = 0;
    if (!fs::is_directory(folder))
        return 0;
    platform::setDebugOutputSink([](std::string_view) {});
    for (const auto& e : fs::directory_iterator(folder)) {
        if (!e.is_regular_file() || e.path().extension() == ".md")
            continue;
        SCOPED_TRACE(e.path().string());
        std::vector<uint8_t> bytes = testsupport::readAll(e.path().string());
        entry(bytes.data(), bytes.size());
        ++count;
    }
    platform::setDebugOutputSink(nullptr);
    return count;
}

TEST(FuzzRegressions, PackDirectoryInputsRunCleanly)
{
    EXPECT_GT(replay("pack-directory", fuzzPackDirectory), 0u);
}

TEST(FuzzRegressions, PngInputsRunCleanly)
{
    EXPECT_GT(replay("png", fuzzPngDecoders), 0u);
}

TEST(FuzzRegressions, PkdExtractInputsStayInTheirFolder)
{
    EXPECT_GT(replay("pkd-extract", fuzzPkdExtract), 0u);
}

} // namespace
