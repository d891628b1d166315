#include "text/MessageWindow.h"

#include "core/RunLog.h"
#include "graphics/FontSheet.h"
#include "graphics/GlyphCell.h"
#include "platform/Fonts.h"
#include "platform/Text.h"
#include "resources/Image.h"
#include "resources/PackArchive.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr uint32_t kPauseCode = 0x81A4; // ▽
constexpr uint32_t kIdeographicSpace = 0x8140;

// The window pictures are 256 x 256 texel pictures; a smaller one sits in the top-left corner
// of its texture and a larger one is cut there.
bool loadPicture(CTEXTURE_A4R4G4B4& texture, platform::Video* video, const CPackArchive& archive, const char* entry)
{
    CImage16 img;
    if (img.LoadPNG16(entry, archive) != 0)
        return false;
    std::vector<uint8_t> full(256 * 256 * 2, 0);
    const int32_t w = std::min(img.width, 256), h = std::min(img.height, 256);
    for (int32_t y = 0; y < h; ++y)
        std::memcpy(full.data() + size_t(y) * 512, img.pixels.data() + size_t(y) * size_t(img.width) * 2, size_t(w) * 2);
    if (!texture.Create(video, 256, 256, false))
        return false;
    texture.AcquireHandle(video);
    texture.handleWanted = true;
    return texture.Update(full.data());
}

} // namespace

std::string_view lineTooLongNotice()
{
    return SJ("◆文字数制限オーバー◆");
}

std::string_view nameTooLongNotice()
{
    return SJ("◆文字数オーバー");
}

int32_t countSjisChars(std::string_view s)
{
    int32_t n = 0;
    for (size_t i = 0; i < s.size();) {
        size_t len = 1;
        glyphcell::codeAt(s, i, len);
        i += len;
        ++n;
    }
    return n;
}

size_t sjisBytesThatFit(std::string_view s, size_t fieldSize)
{
    size_t keep = 0;
    for (size_t i = 0; i < s.size();) {
        size_t len = 1;
        glyphcell::codeAt(s, i, len);
        if (fieldSize == 0 || i + len > fieldSize - 1)
            break;
        i += len;
        keep = i;
    }
    return keep;
}

MessageWindow::MessageWindow()
{
    clearPage();
}

MessageWindow::~MessageWindow() = default;

void MessageWindow::clearPage()
{
    for (auto& l : lines)
        l.clear();
    lineChars.fill(0);
    typeLine = 0;
    typeByte = 0;
    typeChar = 0;
    pauseCount = 0;
    cellsUsed = 0;
    markX = 40;
    markY = kTextOriginY + 10;
}

int MessageWindow::setLine(int index, std::string_view text)
{
    if (index < 0 || index >= kLines)
        return -1;
    int32_t n = countSjisChars(text);
    if (n > kMaxLineChars) {
        text = lineTooLongNotice();
        n = countSjisChars(text);
    }
    lines[size_t(index)].assign(text);
    lineChars[size_t(index)] = n;
    return 0;
}

int MessageWindow::setLineUnchecked(int index, std::string_view text)
{
    if (index < 0 || index >= kLines)
        return -1;
    lines[size_t(index)].assign(text);
    lineChars[size_t(index)] = countSjisChars(text);
    return 0;
}

void MessageWindow::setSpeaker(std::string_view name)
{
    int32_t n = countSjisChars(name);
    if (n > kMaxNameChars) {
        name = nameTooLongNotice();
        n = countSjisChars(name);
    }
    speakerName.assign(name);
    nameChars = n;
    renderName();
}

void MessageWindow::typedCharacter(uint32_t code, size_t length)
{
    (void)length;
    const bool blank = code == ' ' || code == kIdeographicSpace || code == kPauseCode;
    if (!blank && cellsUsed < kCells) {
        Cell& c = cells[size_t(cellsUsed)];
        c.line = int16_t(typeLine);
        c.column = int16_t(typeChar);
        c.sheetGlyph = glyphcell::isSheetGlyph(code) && fontSheet && fontSheet->loaded();
        int tex = 0, x = 0, y = 0;
        cellTexel(cellsUsed, tex, x, y);
        renderGlyph(cellsUsed, code, 0x0FFF, tex, x, y);
        ++cellsUsed;
    }
    ++typeChar;
    markX = 40 + 24 * typeChar;
    markY = kTextOriginY + 32 * typeLine + 10;
}

AdvanceResult MessageWindow::advance(bool all)
{
    for (;;) {
        // Step over finished and empty lines.
        while (typeLine >= 0 && typeLine < kLines && typeByte >= lines[size_t(typeLine)].size()) {
            if (typeLine + 1 >= kLines || [&] {
                    for (int l = typeLine + 1; l < kLines; ++l)
                        if (!lines[size_t(l)].empty())
                            return false;
                    return true;
                }()) {
                typeLine = -1;
                break;
            }
            ++typeLine;
            typeByte = 0;
            typeChar = 0;
        }
        if (typeLine < 0 || typeLine >= kLines) {
            typeLine = -1;
            return AdvanceResult::PageComplete;
        }
        const std::string& line = lines[size_t(typeLine)];
        size_t len = 1;
        const uint32_t code = glyphcell::codeAt(line, typeByte, len);
        typeByte += len;
        typedCharacter(code, len);
        if (code == kPauseCode) {
            ++pauseCount;
            // The mark sits on the pause character itself.
            markX = 40 + 24 * (typeChar - 1);
            return AdvanceResult::Paused;
        }
        if (!all) {
            // Say "complete" with the last character rather than one call later.
            bool more = typeByte < line.size();
            for (int l = typeLine + 1; l < kLines && !more; ++l)
                more = !lines[size_t(l)].empty();
            if (!more) {
                typeLine = -1;
                return AdvanceResult::PageComplete;
            }
            return AdvanceResult::Typing;
        }
    }
}

void MessageWindow::startWindowEffect(WindowEffectMode mode)
{
    const bool hide = mode == WindowEffectMode::HideFx1 || mode == WindowEffectMode::HideFx2;
    for (int r = 0; r < WindowEffect::kRows; ++r) {
        for (int c = 0; c < WindowEffect::kColumns; ++c) {
            // xorshift: a cheap repeatable spread of 0..63 ms within a row.
            effectSeed ^= effectSeed << 13;
            effectSeed ^= effectSeed >> 17;
            effectSeed ^= effectSeed << 5;
            const int32_t jitter = int32_t(effectSeed & 63);
            const size_t t = size_t(r * WindowEffect::kColumns + c);
            effect.value[t] = hide ? 255 : 0;
            effect.delay[t] = jitter + 64 * (hide ? r : (WindowEffect::kRows - 1 - r));
        }
    }
    windowAlpha = 255;
    effect.effectMode = mode;
    effect.effectRunning = true;
}

void MessageWindow::initResources(platform::Video* video, platform::Fonts* fonts, const CPackArchive& archive,
                                  const FontSheet* sheet)
{
    fontSheet = sheet;
    if (fonts && !font) {
        font = createGameTextFont(*fonts);
    }
    if (!video)
        return;
    for (auto& t : glyphTextures) {
        if (!t.hasSurface()) {
            t.Create(video, 256, 256, false);
            t.AcquireHandle(video);
            t.handleWanted = true;
        }
    }
    static const char* const kPictures[2] = {"textbox\\textbox_bg1.png", "textbox\\textbox_bg2.png"};
    static const char* const kFailures[2] = {"textbox_bg1.png Load failed.", "textbox_bg2.png Load failed."};
    for (int i = 0; i < 2; ++i) {
        if (windowPictureLoaded[i])
            continue;
        windowPictureLoaded[i] = loadPicture(windowPictures[i], video, archive, kPictures[i]);
        if (!windowPictureLoaded[i])
            runLog().append(2, kFailures[i]);
    }
    if (!markLoaded) {
        markLoaded = loadPicture(markPicture, video, archive, "textbox\\text_table1.png");
        if (!markLoaded)
            runLog().append(2, "text_table1.png Load failed.");
    }
    renderName();
}

void MessageWindow::renderGlyph(int cell, uint32_t code, uint16_t baseColour, int texture, int x, int y)
{
    (void)cell;
    CTEXTURE_A4R4G4B4& tex = glyphTextures[size_t(texture)];
    if (!tex.hasSurface())
        return;
    uint16_t pixels[glyphcell::kSide * glyphcell::kSide];
    glyphcell::rasterise(font.get(), fontSheet, code, baseColour, pixels);
    tex.UpdateRect(reinterpret_cast<const uint8_t*>(pixels), x, y, 32, 32);
    ++glyphsRendered;
}

void MessageWindow::renderName()
{
    if (!glyphTextures[1].hasSurface())
        return;
    size_t i = 0;
    for (int n = 0; n < nameChars && i < speakerName.size(); ++n) {
        size_t len = 1;
        const uint32_t code = glyphcell::codeAt(speakerName, i, len);
        i += len;
        if (code == ' ') {
            uint16_t blank[32 * 32];
            std::fill(std::begin(blank), std::end(blank), uint16_t(nameColour & 0x0FFF));
            glyphTextures[1].UpdateRect(reinterpret_cast<const uint8_t*>(blank), 32 * n, kNameRow, 32, 32);
            continue;
        }
        renderGlyph(-1, code, nameColour, 1, 32 * n, kNameRow);
    }
}
