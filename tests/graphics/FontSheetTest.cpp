#include "graphics/FontSheet.h"
#include "platform/Text.h"
#include "tests/app/EngineFixture.h"
#include "resources/PackArchive.h"
#include "tests/TestSupport.h"
#include "tests/graphics/FontSheetImage.h"
#include "tests/resources/ArchiveBytes.h"

#include <gtest/gtest.h>

namespace {
// Every pixel a different pattern, so a wrong row, column or nibble shows.
uint8_t pattern(int x, int y)
{
    return uint8_t((x * 7 + y * 3 + (x >> 5) * 5) & 15);
}
} // namespace

TEST(FontSheet, DecodesTheBottomUpSheetTopRowFirst)
{
    auto bmp = testsupport::makeFontSheetBmp(pattern);
    FontSheet sheet;
    ASSERT_TRUE(sheet.decode(bmp.data(), bmp.size()));
    EXPECT_TRUE(sheet.loaded());
    // Top-left pixel pair of the sheet: first byte, high nibble left.
    EXPECT_EQ(sheet.bytes()[0], uint8_t(pattern(0, 0) << 4 | pattern(1, 0)));
    for (int k = 0; k < 16; ++k)
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                ASSERT_EQ(sheet.alpha(k, x, y), pattern((k % 4) * 32 + x, (k / 4) * 32 + y)) << k << " " << x << "," << y;

    // A top-down sheet is taken as it is.
    auto topDown = testsupport::makeFontSheetBmp(pattern, -128);
    FontSheet other;
    ASSERT_TRUE(other.decode(topDown.data(), topDown.size()));
    EXPECT_EQ(other.bytes(), sheet.bytes());
}

TEST(FontSheet, RefusesOtherDepthsSizesAndShortFiles)
{
    auto good = testsupport::makeFontSheetBmp(pattern);
    FontSheet sheet;
    ASSERT_TRUE(sheet.decode(good.data(), good.size()));
    const auto before = sheet.bytes();

    auto eightBit = testsupport::makeFontSheetBmp(pattern, 128, 8);
    EXPECT_FALSE(sheet.decode(eightBit.data(), eightBit.size()));
    auto tall = testsupport::makeFontSheetBmp(pattern, 256);
    EXPECT_FALSE(sheet.decode(tall.data(), tall.size()));
    for (size_t n : {size_t(0), size_t(10), size_t(54), size_t(118), good.size() - 1})
        EXPECT_FALSE(sheet.decode(good.data(), n)) << n;
    auto farOffset = good;
    farOffset[10] = 0xFF;
    farOffset[13] = 0xFF;
    EXPECT_FALSE(sheet.decode(farOffset.data(), farOffset.size()));
    auto notBmp = good;
    notBmp[0] = 'X';
    EXPECT_FALSE(sheet.decode(notBmp.data(), notBmp.size()));
    EXPECT_FALSE(sheet.decode(nullptr, 9000));

    EXPECT_TRUE(sheet.loaded());
    EXPECT_EQ(sheet.bytes(), before) << "a refused file leaves the loaded sheet alone";
}

TEST(FontSheet, LoadsFromTheArchiveAndRefusesBadEntries)
{
    testsupport::TempDir dir;
    auto good = testsupport::makeFontSheetBmp(pattern);
    auto eightBit = testsupport::makeFontSheetBmp(pattern, 128, 8);
    auto asString = [](const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); };
    const auto bytes = archivebytes::archive({
        {"textbox\\default_font.bmp", asString(good)},
        {"textbox\\font8.bmp", asString(eightBit)},
        {"textbox\\short.bmp", asString(good).substr(0, 4000)},
        {"textbox\\empty.bmp", ""},
    });
    testsupport::writeAll(dir.file("system.pkd"), bytes);
    CPackArchive archive;
    ASSERT_TRUE(archive.Open(dir.file("system.pkd")));

    FontSheet sheet;
    EXPECT_FALSE(LoadFontSheet(archive, "textbox\\missing.bmp", sheet));
    EXPECT_FALSE(sheet.loaded());
    ASSERT_TRUE(LoadFontSheet(archive, "textbox\\default_font.bmp", sheet));
    EXPECT_TRUE(sheet.loaded());
    EXPECT_EQ(sheet.alpha(5, 3, 4), pattern(32 + 3, 32 + 4));
    const auto before = sheet.bytes();
    EXPECT_FALSE(LoadFontSheet(archive, "textbox\\font8.bmp", sheet));
    EXPECT_FALSE(LoadFontSheet(archive, "textbox\\short.bmp", sheet));
    EXPECT_FALSE(LoadFontSheet(archive, "textbox\\empty.bmp", sheet));
    EXPECT_EQ(sheet.bytes(), before);
}

class EngineFontSheetTest : public EngineTest {};

TEST_F(EngineFontSheetTest, EngineInitLoadsTheDefaultSheetOrLogsItsAbsence)
{
    auto sheetBmp = testsupport::makeFontSheetBmp(pattern);
    testsupport::writeAll(dir.file("system.pkd"),
                          archivebytes::archive({{"textbox\\default_font.bmp", std::string(sheetBmp.begin(), sheetBmp.end())}}));
    ASSERT_TRUE(dx->archive.Open(dir.file("system.pkd")));
    dx->Init();
    EXPECT_TRUE(dx->fontSheet.loaded());
    EXPECT_EQ(dx->fontSheet.alpha(15, 31, 31), pattern(127, 127));
    EXPECT_FALSE(runLog().contains(SJ("CDirectX::Init() : default_font.bmpのロードに失敗しました。")));

    auto other = std::make_unique<CDirectX>(backend.services);
    testsupport::writeAll(dir.file("other.pkd"), archivebytes::archive({{"textbox\\else.bmp", "x"}}));
    ASSERT_TRUE(other->archive.Open(dir.file("other.pkd")));
    other->Init();
    EXPECT_FALSE(other->fontSheet.loaded());
    // Not the last line: the read-text record is loaded at the very end of the initialisation.
    EXPECT_TRUE(runLog().contains(SJ("CDirectX::Init() : default_font.bmpのロードに失敗しました。\n")));
}
