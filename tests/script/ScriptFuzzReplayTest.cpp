// Replays the script fuzz target's kept inputs, checking each runs to its end, plus the
// hostile shapes a script can take.
#include "../app/EngineFixture.h"

#include "fuzz/ScriptFuzzDriver.h"

#include <filesystem>

namespace {

class ScriptFuzzReplay : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        oldCwd_ = std::filesystem::current_path();
        std::filesystem::current_path(dir.path());
    }
    void TearDown() override
    {
        std::filesystem::current_path(oldCwd_);
        EngineTest::TearDown();
    }
    void run(const std::string& bytes)
    {
        runScriptBytes(*dx, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        EXPECT_EQ(dx->script.nextToken(), "EOF");
    }
    std::filesystem::path oldCwd_;
};

} // namespace

TEST_F(ScriptFuzzReplay, KeptInputsRunToTheEnd)
{
    std::filesystem::path folder = std::filesystem::path(SORAFUNE_SOURCE_DIR) / "fuzz/inputs/script";
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (!entry.is_regular_file() || entry.path().filename() == "README")
            continue;
        SCOPED_TRACE(entry.path().filename().string());
        std::vector<uint8_t> bytes = testsupport::readAll(entry.path().string());
        run(std::string(bytes.begin(), bytes.end()));
        ++count;
    }
    EXPECT_GT(count, 0);
}

TEST_F(ScriptFuzzReplay, HostileScripts)
{
    run(std::string(100 * 1024, 'x') + "\r\n");                   // one 100 KB token
    run("\"" + std::string(5000, 'q') + "\r\n@exit\r\n");          // a quote never closed
    run("#if 00-02\r\n@exit\r\n");                                 // "#if" without "#endif"
    run("@omoide_flag_set\r\n");                                   // argument missing at the end
    run("@wait\r\n");
    run("@test_title");
    std::string random(4096, '\0');
    uint32_t x = 12345;
    for (char& c : random) {
        x = x * 1103515245u + 12345u;
        c = char(x >> 24);
    }
    run(random);
}
