#include "../app/EngineFixture.h"
#include "diagnostics/SystemReport.h"
#include "platform/Text.h"

#include <filesystem>
#include <string>
#include <vector>

namespace {

class SystemReportTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        ASSERT_TRUE(dx->input.create(backend.services.input));
        ASSERT_TRUE(backend.window.create(dx->title, 0, 0, 800, 600, false));
        ASSERT_TRUE(dx->Create(&backend.window, true));
        dx->windowActive = true;
        dx->applyDefaultConfig();
        onGameScreen();
    }
    std::string folder() const { return platform::files::programPath(SJ("みろてっくベンチマーク")); }
    std::string logFile() const
    {
        return platform::files::programPath(SJ("みろてっくベンチマーク\\mirotek-log_050305.txt"));
    }
    void runAnalyze()
    {
        ASSERT_TRUE(dx->script.loadFromBytes("bench.scp", "@analyze\r\n"));
        frames(8);
        ASSERT_GT(dx->scriptState.commandsRun, 0u);
    }
    std::string fileText() const
    {
        auto bytes = testsupport::readAll(logFile());
        return std::string(bytes.begin(), bytes.end());
    }
    static size_t count(const std::string& text, const std::string& what)
    {
        size_t n = 0;
        for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
            ++n;
        return n;
    }
};

const std::string kHeading = "\x81\xa1\x83V\x83X\x83""e\x83\x80\x8f\xee\x95\xf1"; // "■システム情報" in Shift-JIS

TEST_F(SystemReportTest, TwoRunsOnOneDayAppendTwoReportsAndOnlyTheNewLogLines)
{
    std::filesystem::create_directories(folder());
    backend.systemInfo.date = platform::LocalDate{2005, 3, 5};
    runLog().append(1, "before the first");
    runAnalyze();
    runLog().append(1, "between the two");
    runAnalyze();

    std::string text = fileText();
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(count(text, kHeading), 2u);
    EXPECT_EQ(count(text, "before the first"), 1u);
    EXPECT_EQ(count(text, "between the two"), 1u);
    size_t second = text.find(kHeading, text.find(kHeading) + 1);
    EXPECT_LT(text.find("before the first"), second);
    EXPECT_GT(text.find("between the two"), second);
    // Every line ends CR LF, as the run log's own file does.
    EXPECT_EQ(count(text, "\n"), count(text, "\r\n"));
    EXPECT_TRUE(runLog().lines().empty());
}

TEST_F(SystemReportTest, DateSelectsTheFileName)
{
    struct Case {
        platform::LocalDate date;
        const char* name;
    };
    for (const Case& c : {Case{{2005, 3, 5}, "mirotek-log_050305.txt"}, Case{{2012, 12, 31}, "mirotek-log_121231.txt"},
                          Case{{2000, 1, 1}, "mirotek-log_000101.txt"}})
        EXPECT_EQ(benchmarkLogName(c.date), SJ("みろてっくベンチマーク\\") + c.name);
}

TEST_F(SystemReportTest, MissingFolderWritesNothingAndKeepsTheLog)
{
    runLog().append(1, "kept line");
    size_t before = runLog().lines().size();
    runAnalyze();
    EXPECT_FALSE(std::filesystem::exists(folder()));
    EXPECT_GE(runLog().lines().size(), before);
    EXPECT_TRUE(runLog().contains("kept line"));
}

TEST_F(SystemReportTest, LinesInOrderWithLabelsRightAlignedInSixteen)
{
    platform::SystemFacts& m = backend.systemInfo.machine;
    m.cpu = platform::CpuFacts{};
    m.cpu.identified = true;
    m.cpu.vendor = "AuthenticAMD";
    m.cpu.family = 6;
    m.cpu.model = 4;
    m.cpu.mhz = 1333.456;
    m.os = "Linux 6.1.0";
    m.totalMemoryMB = 1024;
    m.freeMemoryMB = 700;
    m.audioDevices = {{"Card A", 48000, 16, 2}, {"Card B", 22050, 8, 1}, {"Card C", 8000, 8, 1}};
    m.textureBudgetBytes = 32ull << 20;

    // What the device's surfaces hold is not free.
    uint64_t freeBytes = (32ull << 20) - backend.video.surfaceBytes();
    std::string freeVram = std::to_string(freeBytes >> 20) + "MB(" + std::to_string(freeBytes) + ")";
    std::vector<std::string> lines = systemReportLines(*dx);
    std::vector<std::string> expected = {
        dx->title + "/Version 0.94 BUILD 9 (2005/11/04)",
        SJ("■システム情報■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■"),
        SJ("【Windows System Info】"),
        "             CPU : AuthenticAMD Athlon (TB core) (Original OEM Processor) 1333.46MHz",
        "              OS : Linux 6.1.0",
        "     TotalMemory : 1024 MB\n      FreeMemory : 700 MB\n",
        "  DisplayAdapter : headless",
        SJ("        モニタ数 : 1"),
        SJ("          解像度 : 800x600x32bit"),
        " SoundAdapter(1) : Card A (44.1   kHz(16-bit) Stereo)",
        " SoundAdapter(2) : Card B (22.05  kHz,(8-bit) Mono)",
        " SoundAdapter(3) : Card C (disable Mono)",
        SJ("\n【DirectX5 Info】"),
        SJ("        搭載VRAM : 32MB(33554432)"),
        SJ("        空きVRAM : ") + freeVram,
        SJ("  　　　３Ｄ支援 : 無"),
        SJ("　　テクスチャー : 有"),
        SJ("　　Ｚバッファー : 無"),
        "Direct3D DEVICE : software presentation / software rasteriser",
        "DirectSound DEVICE : Card A / headless",
        "DirectSound DEVICE : Card B / headless",
        "DirectSound DEVICE : Card C / headless",
        "-----------------------------------------------------------------------",
        SJ("使用可能なTextureFormat : A4R4G4B4 R5G6B5 A8R8G8B8 X8R8G8B8"),
        SJ("■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■"),
    };
    ASSERT_EQ(lines.size(), expected.size());
    for (size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i], expected[i]) << "line " << i;
}

TEST_F(SystemReportTest, ProcessorNameFromTablesOrBrandString)
{
    struct Case {
        const char* vendor;
        int family, model, brandIndex;
        bool extended;
        const char* expect;
    };
    const Case cases[] = {
        {"GenuineIntel", 6, 8, 0, false, "Pentium3 (0.18um) with 256 KB on-die L2 cache"},
        {"GenuineIntel", 6, 8, 2, false, "0.18um Intel Pentium III"},
        {"GenuineIntel", 15, 2, 0, false, "Pentium4 (0.13um)"},
        {"CentaurHauls", 5, 9, 0, false, "C3"},
        {"GenuineIntel", 6, 5, 0, true, "Brand From Processor"},
        {"SomeoneElse", 1, 1, 0, false, "Brand From Processor"},
    };
    for (const Case& c : cases) {
        platform::SystemFacts& m = backend.systemInfo.machine;
        m.cpu = platform::CpuFacts{};
        m.cpu.identified = true;
        m.cpu.vendor = c.vendor;
        m.cpu.family = c.family;
        m.cpu.model = c.model;
        m.cpu.brandIndex = c.brandIndex;
        m.cpu.extended = c.extended;
        m.cpu.brand = "Brand From Processor";
        std::string cpuLine = systemReportLines(*dx)[3];
        EXPECT_NE(cpuLine.find(std::string(c.vendor) + " " + c.expect + " ("), std::string::npos) << cpuLine;
    }
    backend.systemInfo.machine.cpu = platform::CpuFacts{};
    EXPECT_NE(systemReportLines(*dx)[3].find("not supported"), std::string::npos);
}

} // namespace
