#include "tools/demo/Interface.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace demo {

namespace {

constexpr float kPi = 3.14159265358979f;

const Color kNavy = hex(0x1A2850);
const Color kNavyLight = hex(0x3A5AA8);
const Color kEdge = hex(0xB8D0FF);
const Color kWarm = hex(0xF6A84A);
const Color kWarmDark = hex(0xC8602A);

// Digits as polylines in a unit box (x right, y down), drawn with round strokes.
const std::vector<std::vector<Vec2>>& digitStrokes(char d)
{
    static const std::vector<std::vector<Vec2>> glyphs[11] = {
        {{{0.5f, 0.0f}, {0.85f, 0.15f}, {1.0f, 0.5f}, {0.85f, 0.85f}, {0.5f, 1.0f}, {0.15f, 0.85f}, {0.0f, 0.5f}, {0.15f, 0.15f}, {0.5f, 0.0f}}},
        {{{0.25f, 0.2f}, {0.55f, 0.0f}, {0.55f, 1.0f}}, {{0.25f, 1.0f}, {0.85f, 1.0f}}},
        {{{0.05f, 0.2f}, {0.3f, 0.0f}, {0.75f, 0.0f}, {0.95f, 0.22f}, {0.85f, 0.45f}, {0.05f, 1.0f}, {0.95f, 1.0f}}},
        {{{0.05f, 0.1f}, {0.35f, 0.0f}, {0.8f, 0.05f}, {0.9f, 0.25f}, {0.75f, 0.45f}, {0.4f, 0.48f}},
         {{0.75f, 0.45f}, {0.95f, 0.65f}, {0.85f, 0.92f}, {0.45f, 1.0f}, {0.05f, 0.9f}}},
        {{{0.7f, 1.0f}, {0.7f, 0.0f}, {0.0f, 0.7f}, {1.0f, 0.7f}}},
        {{{0.9f, 0.0f}, {0.15f, 0.0f}, {0.08f, 0.45f}, {0.5f, 0.38f}, {0.9f, 0.55f}, {0.92f, 0.85f}, {0.5f, 1.0f}, {0.05f, 0.9f}}},
        {{{0.85f, 0.05f}, {0.45f, 0.05f}, {0.1f, 0.4f}, {0.05f, 0.75f}, {0.3f, 1.0f}, {0.75f, 1.0f}, {0.95f, 0.75f}, {0.8f, 0.5f}, {0.4f, 0.45f}, {0.1f, 0.6f}}},
        {{{0.05f, 0.0f}, {0.95f, 0.0f}, {0.4f, 1.0f}}},
        {{{0.5f, 0.47f}, {0.12f, 0.3f}, {0.2f, 0.05f}, {0.5f, 0.0f}, {0.8f, 0.05f}, {0.88f, 0.3f}, {0.5f, 0.47f}, {0.08f, 0.7f}, {0.2f, 0.95f}, {0.5f, 1.0f}, {0.8f, 0.95f}, {0.92f, 0.7f}, {0.5f, 0.47f}}},
        {{{0.15f, 0.95f}, {0.55f, 0.95f}, {0.9f, 0.6f}, {0.95f, 0.25f}, {0.7f, 0.0f}, {0.25f, 0.0f}, {0.05f, 0.25f}, {0.2f, 0.5f}, {0.6f, 0.55f}, {0.9f, 0.4f}}},
        {},
    };
    if (d >= '0' && d <= '9')
        return glyphs[d - '0'];
    return glyphs[10];
}

void panel(Image& img, float x, float y, float w, float h, const Color& top, const Color& bottom, const Color& edge,
           float radius)
{
    img.rect(x + 0.5f, y + 0.5f, w - 1, h - 1, Paint::solid(edge), radius);
    img.rect(x + 1.5f, y + 1.5f, w - 3, h - 3, Paint::linear(top, {0, y}, bottom, {0, y + h}), std::max(0.0f, radius - 1));
    // A glassy highlight over the top half.
    img.rect(x + 2, y + 2, w - 4, (h - 4) / 2, Paint::linear(hex(0xFFFFFF, 0.28f), {0, y}, hex(0xFFFFFF, 0.04f), {0, y + h / 2}),
             std::max(0.0f, radius - 2));
}

void triangle(Image& img, float cx, float cy, float size, int direction, const Paint& p)
{
    // direction 0 left, 1 right, 2 up, 3 down
    std::vector<Vec2> pts;
    const float s = size / 2;
    switch (direction) {
    case 0: pts = {{cx + s * 0.7f, cy - s}, {cx + s * 0.7f, cy + s}, {cx - s * 0.8f, cy}}; break;
    case 1: pts = {{cx - s * 0.7f, cy - s}, {cx - s * 0.7f, cy + s}, {cx + s * 0.8f, cy}}; break;
    case 2: pts = {{cx - s, cy + s * 0.7f}, {cx + s, cy + s * 0.7f}, {cx, cy - s * 0.8f}}; break;
    default: pts = {{cx - s, cy - s * 0.7f}, {cx + s, cy - s * 0.7f}, {cx, cy + s * 0.8f}}; break;
    }
    img.polygon(pts, p, 1.0f);
}

std::vector<Vec2> starPoints(float cx, float cy, float outer, float inner, float rotation)
{
    std::vector<Vec2> pts;
    for (int i = 0; i < 10; ++i) {
        const float a = rotation + float(i) * kPi / 5 - kPi / 2;
        const float r = i % 2 ? inner : outer;
        pts.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    return pts;
}

void hotPointer(Image& img, float x, float y, int shape)
{
    const Paint white = Paint::solid(hex(0xFFFFFF));
    const Paint dark = Paint::solid(hex(0x1A2040));
    const float cx = x + 16, cy = y + 16;
    switch (shape) {
    case 0:   // hand: palm and a pointing finger
        img.rect(cx - 8, cy - 2, 17, 14, dark, 5);
        img.line(cx - 3, cy - 12, cx - 3, cy + 2, 7, dark);
        img.rect(cx - 6.5f, cy - 0.5f, 14, 11, white, 4);
        img.line(cx - 3, cy - 11, cx - 3, cy + 2, 4, white);
        break;
    case 1:   // magnifier
        img.line(cx + 4, cy + 4, cx + 12, cy + 12, 6, dark);
        img.circle(cx - 3, cy - 3, 10, dark);
        img.circle(cx - 3, cy - 3, 7, Paint::solid(hex(0xA8D0FF)));
        img.circle(cx - 6, cy - 6, 2.5f, white);
        break;
    case 2:   // speech bubble
        img.ellipse(cx, cy - 2, 13, 10, dark);
        img.polygon({{cx - 6, cy + 4}, {cx - 10, cy + 13}, {cx + 2, cy + 6}}, dark);
        img.ellipse(cx, cy - 2, 11, 8, white);
        for (int i = -1; i <= 1; ++i)
            img.circle(cx + float(i) * 5, cy - 2, 1.6f, dark);
        break;
    case 3: case 4: case 5: {   // walking arrows: up, left, right
        const int dir = shape == 3 ? 2 : (shape == 4 ? 0 : 1);
        triangle(img, cx, cy, 26, dir, dark);
        triangle(img, cx, cy, 19, dir, Paint::solid(kWarm));
        break;
    }
    case 6:   // star
        img.polygon(starPoints(cx, cy, 15, 6.5f, 0), dark);
        img.polygon(starPoints(cx, cy, 12, 5, 0), Paint::solid(hex(0xFFE070)));
        break;
    default:   // question ring
        img.circle(cx, cy, 13, dark);
        img.circle(cx, cy, 10.5f, Paint::solid(hex(0x70C0A0)));
        img.stroke(Image::bezier({cx - 4, cy - 3}, {cx - 2, cy - 9}, {cx + 3, cy - 5}), 2.5f, white);
        img.line(cx + 3, cy - 5, cx, cy + 2, 2.5f, white);
        img.circle(cx, cy + 6, 1.6f, white);
        break;
    }
}

void musicIcon(Image& img, float x, float y, int which)
{
    const float cx = x + 16, cy = y + 16;
    img.circle(cx, cy, 15, Paint::linear(kNavyLight, {0, y}, kNavy, {0, y + 32}));
    img.circle(cx, cy, 15, Paint::solid(hex(0xFFFFFF, 0.0f)));
    const Paint white = Paint::solid(hex(0xFFFFFF));
    switch (which) {
    case 0:
        img.rect(cx - 9, cy - 6, 2.5f, 12, white);
        triangle(img, cx - 2, cy, 12, 0, white);
        triangle(img, cx + 6, cy, 12, 0, white);
        break;
    case 1: img.rect(cx - 6, cy - 6, 12, 12, white, 1.5f); break;
    case 2: triangle(img, cx + 1, cy, 16, 1, white); break;
    default:
        triangle(img, cx - 6, cy, 12, 1, white);
        triangle(img, cx + 2, cy, 12, 1, white);
        img.rect(cx + 6.5f, cy - 6, 2.5f, 12, white);
        break;
    }
}

void drawSprite(Image& img, const InterfaceSprite& s, const LabelPainter& label)
{
    const float x = s.x, y = s.y, w = s.w, h = s.h;
    const Color white = hex(0xFFFFFF);
    // inset: room kept free at both ends for ornaments.
    auto caption = [&](const Color& c, int size, float inset = 0) {
        if (label && s.label)
            label(img, s.label, x + inset, y, w - 2 * inset, h, c, size);
    };
    const int textSize = int(std::min(h - 2.0f, 24.0f));
    switch (s.style) {
    case SpriteStyle::Pointer:
        img.polygon({{x + 3, y + 1}, {x + 3, y + 26}, {x + 9.5f, y + 20}, {x + 14, y + 30}, {x + 19, y + 28},
                     {x + 14.5f, y + 18.5f}, {x + 23, y + 18}},
                    Paint::solid(hex(0x1A2040)));
        img.polygon({{x + 5, y + 5}, {x + 5, y + 22}, {x + 10, y + 17}, {x + 14.5f, y + 27}, {x + 16.5f, y + 26},
                     {x + 12, y + 16}, {x + 18.5f, y + 16}},
                    Paint::linear(white, {0, y}, hex(0xC8D8FF), {0, y + 28}));
        break;
    case SpriteStyle::HotPointer:
        hotPointer(img, x, y, s.param);
        break;
    case SpriteStyle::RingDot:
        img.glow(x + w / 2, y + h / 2, w / 2, hex(0xA0D0FF), 1.0f);
        img.circle(x + w / 2, y + h / 2, 2.5f, Paint::solid(white));
        break;
    case SpriteStyle::Button:
        panel(img, x, y, w, h, kNavyLight, kNavy, kEdge, std::min(h / 2, 8.0f));
        caption(white, std::min(textSize, 20), w >= 96 ? 10.0f : 2.0f);
        break;
    case SpriteStyle::ButtonLit:
        panel(img, x, y, w, h, kWarm, kWarmDark, hex(0xFFF0D0), std::min(h / 2, 8.0f));
        caption(white, std::min(textSize, 20), w >= 96 ? 10.0f : 2.0f);
        break;
    case SpriteStyle::RoundButton: {
        const float cx = x + w / 2, cy = y + h / 2;
        img.circle(cx, cy, w / 2 - 0.5f, Paint::solid(kEdge));
        img.circle(cx, cy, w / 2 - 2, Paint::linear(kNavyLight, {0, y}, kNavy, {0, y + h}));
        if (s.param == 0) {
            for (int i = -1; i <= 1; ++i)
                img.line(cx - 7, cy + float(i) * 5, cx + 7, cy + float(i) * 5, 2.4f, Paint::solid(white));
        } else {
            img.line(cx - 6, cy - 6, cx + 6, cy + 6, 2.6f, Paint::solid(white));
            img.line(cx + 6, cy - 6, cx - 6, cy + 6, 2.6f, Paint::solid(white));
        }
        break;
    }
    case SpriteStyle::Heading:
        img.rect(x, y, w, h, Paint::linear(hex(0x2A3F7A, 0.9f), {x, 0}, hex(0x2A3F7A, 0.0f), {x + w, 0}), 3);
        img.rect(x, y, 4, h, Paint::solid(kWarm));
        caption(white, textSize);
        break;
    case SpriteStyle::Rule:
        img.rect(x, y, w, h, Paint::linear(kWarm, {x, 0}, hex(0xF6A84A, 0.0f), {x + w, 0}), 0);
        break;
    case SpriteStyle::BackButton:
        panel(img, x, y, w, h, kNavyLight, kNavy, kEdge, 8);
        triangle(img, x + w / 2, y + h / 2, 16, 0, Paint::solid(white));
        break;
    case SpriteStyle::Tab:
    case SpriteStyle::TabCurrent: {
        const bool current = s.style == SpriteStyle::TabCurrent;
        panel(img, x, y, w, h, current ? kWarm : kNavyLight, current ? kWarmDark : kNavy, current ? hex(0xFFF0D0) : kEdge, 6);
        const float gh = h * 0.5f, gw = gh * 0.6f;
        if (s.label)
            strokeDigit(img, s.label[0], x + (w - gw) / 2, y + (h - gh) / 2, gw, gh, current ? 4.0f : 3.0f,
                        Paint::solid(white));
        break;
    }
    case SpriteStyle::Arrow:
        img.circle(x + w / 2, y + h / 2, w / 2 - 0.5f, Paint::solid(hex(0x1A2850, 0.8f)));
        triangle(img, x + w / 2, y + h / 2, w * 0.55f, s.param, Paint::solid(white));
        break;
    case SpriteStyle::Track:
        img.rect(x + 4, y, w - 8, h, Paint::solid(hex(0xFFFFFF, 0.8f)), 4);
        break;
    case SpriteStyle::Thumb:
        img.circle(x + w / 2, y + h / 2, w / 2 - 1, Paint::radial(white, {x + w / 2 - 2, y + h / 2 - 2}, kNavyLight, w / 2));
        break;
    case SpriteStyle::MusicIcon:
        musicIcon(img, x, y, s.param);
        break;
    case SpriteStyle::Digit: {
        const char d = s.label ? s.label[0] : '0';
        // The typing display sets its digits 18 pixels apart in 32-pixel cells: narrow glyphs.
        const float gh = h * 0.78f, gw = gh * (s.param ? 0.45f : 0.6f);
        const float stroke = s.param ? 3.2f : 2.2f;
        const float gx = x + (w - gw) / 2, gy = y + (h - gh) / 2;
        if (d == ':') {
            img.circle(x + w / 2, y + h * 0.32f, stroke * 0.8f, Paint::solid(white));
            img.circle(x + w / 2, y + h * 0.7f, stroke * 0.8f, Paint::solid(white));
        } else {
            strokeDigit(img, d, gx, gy, gw, gh, stroke + 2, Paint::solid(hex(0x101830, 0.85f)));
            strokeDigit(img, d, gx, gy, gw, gh, stroke, Paint::linear(white, {0, gy}, hex(0xC8E0FF), {0, gy + gh}));
        }
        break;
    }
    case SpriteStyle::Label:
        if (s.param == 1) {
            // Typing labels sit on the dark panel: a faint underline marks them.
            img.rect(x + 1, y + h - 3, w - 2, 2, Paint::linear(kWarm, {x, 0}, hex(0xF6A84A, 0.0f), {x + w, 0}));
        }
        caption(white, s.param == 1 ? std::min(textSize, 24) - 4 : textSize);
        break;
    case SpriteStyle::LevelPip: {
        const float cx = x + w / 2, cy = y + h / 2;
        img.polygon({{cx, cy - 6}, {cx + 6, cy}, {cx, cy + 6}, {cx - 6, cy}}, Paint::solid(s.param ? kWarm : hex(0x606880)));
        if (s.param)
            img.glow(cx, cy, 8, hex(0xFFD080), 0.6f);
        break;
    }
    case SpriteStyle::Life: {
        const float cx = x + 16, cy = y + 16;
        const Paint red = Paint::linear(hex(0xFF7A8A), {0, y + 6}, hex(0xD02040), {0, y + 28});
        img.fillSdf(x, y, x + 32, y + 32,
                    [=](float px, float py) {
                        const float a = std::hypot(px - (cx - 6), py - (cy - 4)) - 7.5f;
                        const float b = std::hypot(px - (cx + 6), py - (cy - 4)) - 7.5f;
                        // The lower point: inside the wedge below the two lobes.
                        const float wedge = std::max(std::fabs(px - cx) * 0.95f + (py - (cy + 12)), cy - 4 - py);
                        return std::min({a, b, wedge});
                    },
                    red, 1.2f);
        img.circle(cx - 8, cy - 7, 2.5f, Paint::solid(hex(0xFFFFFF, 0.8f)));
        break;
    }
    case SpriteStyle::Gauge:
        img.rect(x + 1, y + 1, w - 2, h - 2, Paint::radial(hex(0x80FFB0), {x + w / 2, y + h / 2}, hex(0x208040, 0.6f), w / 2), 4);
        break;
    case SpriteStyle::KeyWait:
        img.glow(x + 16, y + 18, 14, hex(0xFFD080), 0.6f);
        triangle(img, x + 16, y + 16, 18, 3, Paint::solid(white));
        break;
    case SpriteStyle::Banner:
        panel(img, x + 2, y + 2, w - 4, h - 4, s.param ? hex(0x7A2A4A) : hex(0x3A8A5A), s.param ? hex(0x3A1020) : hex(0x1A4A2A),
              s.param ? hex(0xFFB0C0) : hex(0xC0FFD0), 12);
        for (int i = 0; i < 2; ++i)
            img.polygon(starPoints(x + (i ? w - 22 : 22), y + h / 2, 10, 4, 0), Paint::solid(hex(0xFFE070)));
        caption(white, 32, 36);
        break;
    case SpriteStyle::MenuStrip: {
        img.rect(x, y + 3, w / 2, h - 6, Paint::linear(hex(0x0A1230, 0.0f), {x, 0}, hex(0x1A2A60, 0.85f), {x + w / 2, 0}), 0);
        img.rect(x + w / 2, y + 3, w / 2, h - 6, Paint::linear(hex(0x1A2A60, 0.85f), {x + w / 2, 0}, hex(0x0A1230, 0.0f), {x + w, 0}), 0);
        img.rect(x + 16, y + 3, w - 32, 1, Paint::linear(hex(0xB8D0FF, 0.0f), {x + 16, 0}, hex(0xB8D0FF, 0.9f), {x + w / 2, 0}));
        img.rect(x + 16, y + h - 4, w - 32, 1, Paint::linear(hex(0xB8D0FF, 0.9f), {x + w / 2, 0}, hex(0xB8D0FF, 0.0f), {x + w - 16, 0}));
        img.polygon(starPoints(x + 40, y + h / 2, 7, 3, 0), Paint::solid(hex(0xFFE070)));
        caption(white, 22, 52);
        break;
    }
    case SpriteStyle::WaitMark:
        break;   // drawn into the 16-bit text table
    }
}

} // namespace

Image waitMarkFrame(int frame)
{
    Image img(32, 32);
    const float phase = float(frame) / 14.0f;
    const float bob = 3.0f * std::sin(phase * 2 * kPi);
    img.glow(16, 16 + bob, 15, hex(0xFFD880), 0.45f + 0.25f * std::sin(phase * 2 * kPi));
    img.polygon(starPoints(16, 16 + bob, 11, 4.5f, phase * 2 * kPi / 5), Paint::linear(hex(0xFFFFFF), {0, 6}, hex(0xFFD060), {0, 26}),
                1.0f);
    return img;
}

// The 800 x 128 message window and the 224 x 48 name plate.
Image windowPanel()
{
    Image img(800, 128);
    img.rect(8, 4, 784, 120, Paint::linear(hex(0x0E1838), {0, 4}, hex(0x1A2A58), {0, 124}), 14);
    img.rect(8, 4, 784, 120, Paint::solid(hex(0xB8D0FF, 0.0f)), 14);
    // A thin inner frame line and a faint star border.
    img.fillSdf(8, 4, 792, 124,
                [](float x, float y) {
                    const float qx = std::fabs(x - 400) - 384 + 14, qy = std::fabs(y - 64) - 60 + 14;
                    const float d = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - 14;
                    return std::fabs(d + 4) - 1.0f;
                },
                Paint::linear(hex(0xB8D0FF, 0.8f), {0, 0}, hex(0x6A8AD0, 0.8f), {800, 0}), 1.0f);
    img.stars(990, 40, 10, 120, 0.35f);
    return img;
}

Image namePlate()
{
    Image img(224, 48);
    img.rect(2, 4, 220, 42, Paint::linear(hex(0x2A3F7A), {0, 4}, hex(0x1A2850), {0, 46}), 12);
    img.rect(14, 38, 196, 2, Paint::linear(hex(0xF6A84A, 0.0f), {14, 0}, hex(0xF6A84A, 0.9f), {112, 0}));
    img.polygon(starPoints(16, 24, 6, 2.5f, 0), Paint::solid(hex(0xFFE070)));
    return img;
}

void strokeDigit(Image& img, char digit, float x, float y, float w, float h, float width, const Paint& paint)
{
    for (const auto& stroke : digitStrokes(digit)) {
        std::vector<Vec2> pts;
        for (const Vec2& p : stroke)
            pts.push_back({x + p.x * w, y + p.y * h});
        img.stroke(pts, width, paint, 1.0f);
    }
}

Image drawAtlas(SpriteAtlas atlas, const LabelPainter& label)
{
    Image img(256, 256);
    for (const InterfaceSprite& s : kInterfaceSprites)
        if (s.atlas == atlas) {
            // Each sprite is drawn in a picture of its own so nothing spills into a neighbour.
            Image cell(256, 256);
            drawSprite(cell, s, label);
            img.draw(cell.crop(s.x, s.y, s.w, s.h), s.x, s.y);
        }
    return img;
}

std::vector<uint16_t> toA4R4G4B4(const Image& img)
{
    std::vector<uint16_t> out(size_t(img.width()) * size_t(img.height()));
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const Color c = img.get(x, y);
            auto q = [](float v) { return uint16_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 15.0f)); };
            const uint16_t a = q(c.a);
            out[size_t(y) * size_t(img.width()) + size_t(x)] =
                a == 0 ? 0 : uint16_t(a << 12 | q(c.r) << 8 | q(c.g) << 4 | q(c.b));
        }
    return out;
}

std::vector<uint16_t> textWindowPicture(SpriteAtlas atlas)
{
    Image page(256, 256);
    if (atlas == SpriteAtlas::TextTable1) {
        for (const InterfaceSprite& s : kInterfaceSprites)
            if (s.atlas == atlas && s.style == SpriteStyle::WaitMark)
                page.draw(waitMarkFrame(s.param), s.x, s.y);
        return toA4R4G4B4(page);
    }
    const Image panelImg = windowPanel();
    for (int k = 0; k < kWindowTileCount; ++k) {
        const WindowTileCell cell = windowTileCell(k);
        if (cell.atlas != atlas)
            continue;
        page.draw(panelImg.crop(32 * (k % 25), 32 * (k / 25), 32, 32), cell.x, cell.y);
    }
    if (atlas == kNamePlate.atlas)
        page.draw(namePlate(), kNamePlate.x, kNamePlate.y);
    return toA4R4G4B4(page);
}

std::vector<uint8_t> circledNumberSheet()
{
    Image sheet(128, 128);
    const Paint ink = Paint::solid(hex(0xFFFFFF));
    for (int k = 0; k < 16; ++k) {
        const float x = float(32 * (k % 4)), y = float(32 * (k / 4));
        const float cx = x + 16, cy = y + 16;
        sheet.fillSdf(x, y, x + 32, y + 32, [=](float px, float py) { return std::fabs(std::hypot(px - cx, py - cy) - 12.5f) - 1.1f; },
                      ink, 1.0f);
        const std::string digits = std::to_string(k + 1);
        const float gh = 13, gw = digits.size() == 1 ? 8.0f : 6.0f, gap = 1.5f;
        const float total = float(digits.size()) * gw + float(digits.size() - 1) * gap;
        for (size_t i = 0; i < digits.size(); ++i)
            strokeDigit(sheet, digits[i], cx - total / 2 + float(i) * (gw + gap), cy - gh / 2, gw, gh, 2.0f, ink);
    }
    std::vector<uint8_t> out(128 * 128);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x)
            out[size_t(y) * 128 + size_t(x)] = uint8_t(std::lround(std::clamp(sheet.get(x, y).a, 0.0f, 1.0f) * 15.0f));
    return out;
}

} // namespace demo
