// Replays, in the normal build, the kept inputs of the typing fuzz target and a few hostile
// shapes of typing scripts.
#include "../app/EngineFixture.h"

#include "fuzz/TypingFuzzDriver.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

class TypingFuzzReplay : public EngineTest {
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
        runTypingBytes(*dx, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        EXPECT_TRUE(dx->typing.halted || dx->screenState == ScreenState::Game) << bytes.substr(0, 60);
    }
    std::filesystem::path oldCwd_;
};

} // namespace

TEST_F(TypingFuzzReplay, KeptInputsRunToTheEnd)
{
    const std::filesystem::path folder = std::filesystem::path(SORAFUNE_SOURCE_DIR) / "fuzz/inputs/typing";
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (!entry.is_regular_file() || entry.path().filename() == "README")
            continue;
        std::ifstream f(entry.path(), std::ios::binary);
        std::ostringstream ss;
        ss << f.rdbuf();
        run(ss.str());
        ++count;
    }
    EXPECT_GE(count, 2);
}

TEST_F(TypingFuzzReplay, HostileScriptsEndCleanly)
{
    const std::string huge(5000, 'A');
    const std::string lead(300, '\x82');
    const std::string shapes[] = {
        "",
        "@type",
        "@type {",
        "@type { a b",
        "@type { " + huge + " " + huge + " " + huge + " } @finish",
        "@type { " + lead + " " + lead + " " + lead + " }",
        "@mes_sys " + huge,
        "@mes_chr " + lead,
        "@wait -5 @wait 99999999999 @bg_change -1 @se_load 99,x @se -1,play @bgm_fade out,-3",
        "@load @load @QUIT_TO_OP",
        "@window @bg_load @bg_load",
    };
    for (const std::string& s : shapes)
        run(s);
}
