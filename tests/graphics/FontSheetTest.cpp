#include "graphics/FontSheet.h"
#include "tests/graphics/FontSheetImage.h"

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
