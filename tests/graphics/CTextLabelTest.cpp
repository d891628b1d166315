// The glyph label on the headless device: cells, refusal of long texts, the font sheet, the
// 28-pixel steps on screen, device loss; and a picture of a few labels for a person to see.
#include "graphics/CTextLabel.h"
#include "graphics/DisplayDevice.h"
#include "graphics/FontSheet.h"
#include "platform/Fonts.h"
#include "platform/Text.h"
#include "platform/headless/HeadlessVideo.h"
#include "platform/headless/HeadlessWindow.h"
#include "tests/graphics/FontSheetImage.h"
#include "tests/graphics/PngDump.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <random>

namespace {

class LabelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        displayProcess() = DisplayProcessState{};
        ASSERT_TRUE(window.create("t", 0, 0, 800, 600, false));
        ASSERT_EQ(video.open(window, false, true), platform::VideoOpenResult::Ok);
        setStates();
    }
    // The blend the engine draws its sprites with.
    void setStates()
    {
        auto& st = video.renderStates();
        st.alphaBlend = true;
        st.textureBlend = platform::TextureBlend::ModulateAlpha;
        st.srcBlend = platform::BlendFactor::SrcAlpha;
        st.dstBlend = platform::BlendFactor::InvSrcAlpha;
    }
    void TearDown() override { displayProcess() = DisplayProcessState{}; }

    // A texel of the label's texture as its shadow holds it.
    static uint16_t texel(const CTextLabel& l, int x, int y)
    {
        const uint8_t* p = l.texture.shadowRow(y) + size_t(x) * 2;
        return uint16_t(p[0] | p[1] << 8);
    }
    static int cellInk(const CTextLabel& l, int c, int r)
    {
        int n = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                n += (texel(l, 32 * c + x, 32 * r + y) >> 12) != 0;
        return n;
    }
    // Draws the label alone on a black back buffer.
    void drawAlone(CTextLabel& l)
    {
        video.colorFill(*video.backBuffer(), nullptr, 0xFF000000);
        ASSERT_TRUE(video.beginScene());
        l.Draw();
        video.endScene();
    }
    uint32_t backPixel(int x, int y)
    {
        const platform::Surface& b = *video.backBuffer();
        const uint8_t* p = b.data() + size_t(y) * size_t(b.pitch()) + size_t(x) * 4;
        return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
    }
    // Columns with any lit pixel in rows y0..y1.
    std::vector<bool> litColumns(int y0, int y1)
    {
        std::vector<bool> lit(800, false);
        for (int y = y0; y < y1; ++y)
            for (int x = 0; x < 800; ++x)
                if (backPixel(x, y))
                    lit[size_t(x)] = true;
        return lit;
    }

    platform::HeadlessWindow window;
    platform::HeadlessVideo video;
    platform::Fonts fonts;
};

FontSheet ringSheet()
{
    auto bmp = testsupport::makeFontSheetBmp([](int x, int y) {
        const double dx = (x % 32) - 15.5, dy = (y % 32) - 15.5, r = std::sqrt(dx * dx + dy * dy);
        return uint8_t(r > 11 && r < 14.5 ? 15 : 0);
    });
    FontSheet sheet;
    sheet.decode(bmp.data(), bmp.size());
    return sheet;
}

} // namespace

TEST_F(LabelTest, SixteenCharactersFillTheFourByFourCellsAndSeventeenAreRefused)
{
    CTextLabel label(&fonts);
    ASSERT_TRUE(label.Init(&video, &video));
    EXPECT_EQ(label.baseColor, 0x0FFF);
    const std::string sixteen = platform::utf8ToSjis("一二三四五六七八九十百千万円口日");
    ASSERT_EQ(label.SetText(sixteen), 0);
    EXPECT_EQ(label.Width(), 16 * 28);
    EXPECT_EQ(label.Render(), 0);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_GT(cellInk(label, c, r), 5) << "cell " << c << "," << r;
    // Nothing beyond the top-left 128 x 128.
    for (int y = 0; y < 256; ++y)
        for (int x = (y < 128 ? 128 : 0); x < 256; ++x)
            ASSERT_EQ(texel(label, x, y), 0) << x << "," << y;

    label.SetPosition(0, 0);
    drawAlone(label);
    EXPECT_TRUE(litColumns(0, 32)[28 * 15 + 10]);

    // One more character: refused, the old text kept, nothing drawn and no width.
    EXPECT_EQ(label.SetText(sixteen + "x"), -1);
    EXPECT_EQ(label.count, -1);
    EXPECT_EQ(label.text, sixteen);
    EXPECT_EQ(label.Width(), 0);
    label.Render();
    drawAlone(label);
    for (bool lit : litColumns(0, 40))
        ASSERT_FALSE(lit);
    // Half-width characters count one each, double-byte ones one each.
    EXPECT_EQ(label.SetText(platform::utf8ToSjis("ｱｲｳｴｵabcdefghijk")), 0);
    EXPECT_EQ(label.count, 16);
}

TEST_F(LabelTest, CharactersStandTwentyEightPixelsApartWithTintAndAlpha)
{
    CTextLabel label(&fonts);
    ASSERT_TRUE(label.Init(&video, &video));
    ASSERT_EQ(label.SetText(platform::utf8ToSjis("口口口")), 0);
    label.Render();
    label.SetPosition(100, 50);
    label.SetTint(0xFF0000);
    label.SetAlpha(255);
    drawAlone(label);
    std::vector<bool> lit = litColumns(50, 82);
    // "口" has a vertical stroke near its left edge: the first lit column of each copy.
    std::vector<int> starts;
    for (int x = 1; x < 800; ++x)
        if (lit[size_t(x)] && !lit[size_t(x - 1)])
            starts.push_back(x);
    ASSERT_EQ(starts.size(), 3u);
    EXPECT_GE(starts[0], 100);
    EXPECT_EQ(starts[1] - starts[0], 28);
    EXPECT_EQ(starts[2] - starts[1], 28);
    for (int y = 0; y < 50; ++y)
        ASSERT_EQ(backPixel(starts[0], y), 0u) << "nothing above the label";
    // The tint makes white glyphs red; alpha 0 hides them.
    uint32_t brightest = 0;
    for (int y = 50; y < 82; ++y)
        for (int x = starts[0]; x < starts[0] + 4; ++x)
            brightest = std::max(brightest, backPixel(x, y));
    EXPECT_GE(brightest >> 16, 0xF0u);
    EXPECT_EQ(brightest & 0xFFFF, 0u) << std::hex << brightest;
    label.SetAlpha(0);
    drawAlone(label);
    for (bool l : litColumns(50, 82))
        ASSERT_FALSE(l);
    EXPECT_EQ(label.sprites[0].alpha[3], 0);
    EXPECT_EQ(label.sprites[2].colour[1], 0xFF0000u);
}

TEST_F(LabelTest, CircledNumbersComeFromTheSheetOnlyWhenOneIsLoaded)
{
    const FontSheet sheet = ringSheet();
    CTextLabel withSheet(&fonts), without(&fonts);
    ASSERT_TRUE(withSheet.Init(&video, &video));
    ASSERT_TRUE(without.Init(&video, &video));
    withSheet.SetFontSheet(&sheet);
    const std::string text = platform::utf8ToSjis("①②");
    withSheet.SetText(text);
    without.SetText(text);
    withSheet.Render();
    without.Render();
    for (int k = 0; k < 2; ++k)
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                ASSERT_EQ(texel(withSheet, 32 * k + x, y), uint16_t(0x0FFF + sheet.alpha(k, x, y) * 0x1000));
    int differ = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            differ += texel(withSheet, x, y) != texel(without, x, y);
    EXPECT_GT(differ, 50) << "without a sheet the face draws its own circled one";
    EXPECT_GT(cellInk(without, 0, 0), 40);
}

TEST_F(LabelTest, BlanksAndStopBytesClearTheirCellsAndBaseColourApplies)
{
    CTextLabel label(&fonts);
    ASSERT_TRUE(label.Init(&video, &video));
    label.SetBaseColor(0xF0A5); // alpha bits ignored
    label.SetText(platform::utf8ToSjis("あいうえ"));
    label.Render();
    for (int c = 0; c < 4; ++c)
        ASSERT_GT(cellInk(label, c, 0), 5);
    EXPECT_EQ(texel(label, 16, 16) & 0x0FFF, 0x00A5);

    // A space, an ideographic space, and a control byte that ends the text early: none may
    // leave the earlier glyph showing in its cell.
    label.SetText(std::string(platform::utf8ToSjis("あ")) + " " + platform::utf8ToSjis("　") + "\x01");
    EXPECT_EQ(label.count, 4);
    label.Render();
    EXPECT_GT(cellInk(label, 0, 0), 5);
    EXPECT_EQ(cellInk(label, 1, 0), 0);
    EXPECT_EQ(cellInk(label, 2, 0), 0);
    EXPECT_EQ(cellInk(label, 3, 0), 0);
}

// A byte below 20 ends the text; 20 and above is a character like any other.
TEST_F(LabelTest, TheTextEndsAtTheFirstByteBelowTwenty)
{
    const struct {
        char control;
        bool restShows;
    } cases[] = {{'\x01', false}, {'\x13', false}, {'\x14', true}, {'\x1f', true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.control));
        CTextLabel label(&fonts);
        ASSERT_TRUE(label.Init(&video, &video));
        label.SetText(platform::utf8ToSjis("あ") + std::string(1, c.control) + platform::utf8ToSjis("い"));
        ASSERT_EQ(label.count, 3);
        label.Render();
        EXPECT_GT(cellInk(label, 0, 0), 5);
        EXPECT_EQ(cellInk(label, 2, 0) > 5, c.restShows);
    }
}

TEST_F(LabelTest, RestoreBringsTheTextBackAfterADeviceLoss)
{
    CTextLabel label(&fonts);
    ASSERT_TRUE(label.Init(&video, &video));
    label.SetText(platform::utf8ToSjis("復帰"));
    label.Render();
    // The device's way back: everything lost, the device taken down and brought up again.
    video.loseDevice();
    video.close();
    ASSERT_EQ(video.open(window, false, true), platform::VideoOpenResult::Ok);
    setStates();
    drawAlone(label);
    for (bool l : litColumns(0, 32))
        ASSERT_FALSE(l) << "a lost texture draws nothing";
    label.Restore(&video, &video);
    drawAlone(label);
    int lit = 0;
    for (bool l : litColumns(0, 32))
        lit += l;
    EXPECT_GT(lit, 20);
}

TEST_F(LabelTest, PictureOfLabelsOnTheBackBuffer)
{
    const FontSheet sheet = ringSheet();
    std::vector<std::unique_ptr<CTextLabel>> labels;
    struct Spec {
        const char* text;
        float x, y;
        uint16_t base;
        uint32_t tint;
        int alpha;
    } specs[] = {
        {"①はじめから", 300, 200, 0x0FFF, 0xFFFFFF, 255},
        {"②つづきから", 300, 250, 0x0FFF, 0xFFFFFF, 255},
        {"③おまけ　ＣＧ", 300, 300, 0x0FC8, 0xFFFFFF, 255},
        {"④終了する", 300, 350, 0x0FFF, 0x80C0FF, 160},
        {"十六文字ちょうどのラベルですよね", 40, 450, 0x0FFF, 0xFFFFFF, 255},
        {"十七文字のラベルは表示されませんよ", 40, 500, 0x0FFF, 0xFFFFFF, 255},
    };
    for (const Spec& s : specs) {
        labels.push_back(std::make_unique<CTextLabel>(&fonts));
        CTextLabel& l = *labels.back();
        ASSERT_TRUE(l.Init(&video, &video));
        l.SetFontSheet(&sheet);
        l.SetText(platform::utf8ToSjis(s.text));
        l.SetBaseColor(s.base);
        l.SetTint(s.tint);
        l.SetAlpha(s.alpha);
        l.SetPosition(s.x, s.y);
        l.Render();
    }
    video.colorFill(*video.backBuffer(), nullptr, 0xFF203050);
    ASSERT_TRUE(video.beginScene());
    for (auto& l : labels)
        l->Draw();
    video.endScene();

    // The refused label left its row empty; the 16-character one ends at 40 + 15 * 28 + 32.
    for (int y = 500; y < 532; ++y)
        for (int x = 0; x < 800; ++x)
            ASSERT_EQ(backPixel(x, y), 0x203050u);
    std::vector<bool> lit(800, false);
    for (int y = 450; y < 482; ++y)
        for (int x = 0; x < 800; ++x)
            lit[size_t(x)] = lit[size_t(x)] || backPixel(x, y) != 0x203050u;
    int last = 0;
    for (int x = 0; x < 800; ++x)
        if (lit[size_t(x)])
            last = x;
    EXPECT_GT(last, 40 + 15 * 28);
    EXPECT_LT(last, 40 + 15 * 28 + 32);

    const char* area = std::getenv("SORAFUNE_TEST_TMP");
    std::filesystem::path dir = area ? area : std::filesystem::temp_directory_path().string();
    std::filesystem::create_directories(dir);
    std::vector<uint8_t> rgb(800 * 600 * 3);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            const uint32_t p = backPixel(x, y);
            uint8_t* d = &rgb[(size_t(y) * 800 + size_t(x)) * 3];
            d[0] = uint8_t(p >> 16);
            d[1] = uint8_t(p >> 8);
            d[2] = uint8_t(p);
        }
    EXPECT_TRUE(testsupport::writePng((dir / "label-sample.png").string(), 800, 600, rgb));
}

TEST_F(LabelTest, AnyBytesFromAScriptRenderSafely)
{
    // Choice texts come from script files: lone lead bytes, control bytes and undefined
    // codes must neither crash nor write outside the label's cells.
    const FontSheet sheet = ringSheet();
    CTextLabel label(&fonts);
    ASSERT_TRUE(label.Init(&video, &video));
    label.SetFontSheet(&sheet);
    std::mt19937 rng(4);
    for (int round = 0; round < 200; ++round) {
        std::string text(size_t(rng() % 40), '\0');
        for (char& c : text)
            c = char(rng() % 3 == 0 ? 0x81 + rng() % 0x7F : rng());
        if (label.SetText(text) == 0) {
            EXPECT_LE(label.count, 16);
            label.Render();
        }
        label.Draw();
    }
    for (int y = 0; y < 256; ++y)
        for (int x = (y < 128 ? 128 : 0); x < 256; ++x)
            ASSERT_EQ(texel(label, x, y), 0) << x << "," << y;
}
