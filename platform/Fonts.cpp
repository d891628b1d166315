#include "platform/Fonts.h"

#include "platform/DebugOutput.h"
#include "platform/Text.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H
#include <fontconfig/fontconfig.h>
#include <iconv.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>
#include <unordered_map>

namespace platform {

// The FreeType library and fontconfig's configuration, shared by the service and every
// font it made (a font may outlive the service that created it).
class FontLibrary {
public:
    FontLibrary()
    {
        if (FT_Init_FreeType(&ft) != 0)
            ft = nullptr;
        // A configuration of our own rather than FcInit's global one, which is never freed.
        fc = FcInitLoadConfigAndFonts();
    }
    ~FontLibrary()
    {
        if (ft)
            FT_Done_FreeType(ft);
        if (fc)
            FcConfigDestroy(fc);
    }
    FontLibrary(const FontLibrary&) = delete;
    FontLibrary& operator=(const FontLibrary&) = delete;
    FT_Library ft = nullptr;
    FcConfig* fc = nullptr;
};

namespace {

// Windows face names and the faces that stand in for them here. fontconfig's own aliases
// send these names to a Latin face, so the table comes first. The Windows faces' cell is
// exactly their em (ascent 220 and descent 36 of 256 units): a height of 24 gives 24-pixel
// full-width characters, which the game's layouts (24- and 28-pixel steps) count on. The
// stand-ins have taller Windows metrics, so the table keeps the original ones.
struct FaceAlias {
    const char* windowsName; // UTF-8
    const char* family;
};
const FaceAlias kFaceAliases[] = {
    {"ＭＳ ゴシック", "IPAGothic"},   {"MS Gothic", "IPAGothic"},   {"ＭＳ Ｐゴシック", "IPAPGothic"},
    {"MS PGothic", "IPAPGothic"},     {"ＭＳ 明朝", "IPAMincho"},   {"MS Mincho", "IPAMincho"},
    {"ＭＳ Ｐ明朝", "IPAPMincho"},     {"MS PMincho", "IPAPMincho"},
};
constexpr long kAliasAscent = 220, kAliasDescent = 36;

bool equalsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z')
            x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

// Kana, common kanji and the full-width forms: a face without these cannot show a line of
// the game's text.
bool charsetCoversJapanese(FcCharSet* cs)
{
    if (!cs)
        return false;
    const FcChar32 probes[] = {0x3042, 0x30A2, 0x4E00, 0x6F22, 0x3002, 0xFF01};
    for (FcChar32 c : probes)
        if (!FcCharSetHasChar(cs, c))
            return false;
    return true;
}

struct FaceChoice {
    std::string file;
    int index = 0;
    std::string family;
    std::vector<std::string> families;
    bool japanese = false;
};

bool matchPattern(FcConfig* fc, FcPattern* pat, FaceChoice& out)
{
    FcConfigSubstitute(fc, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult res = FcResultNoMatch;
    FcPattern* m = FcFontMatch(fc, pat, &res);
    if (!m)
        return false;
    bool ok = false;
    FcChar8* file = nullptr;
    if (FcPatternGetString(m, FC_FILE, 0, &file) == FcResultMatch && file) {
        ok = true;
        out.file = reinterpret_cast<const char*>(file);
        int idx = 0;
        if (FcPatternGetInteger(m, FC_INDEX, 0, &idx) == FcResultMatch)
            out.index = idx;
        FcChar8* fam = nullptr;
        for (int n = 0; FcPatternGetString(m, FC_FAMILY, n, &fam) == FcResultMatch; ++n)
            out.families.emplace_back(reinterpret_cast<const char*>(fam));
        out.family = out.families.empty() ? std::string() : out.families.front();
        FcCharSet* cs = nullptr;
        out.japanese = FcPatternGetCharSet(m, FC_CHARSET, 0, &cs) == FcResultMatch && charsetCoversJapanese(cs);
    }
    FcPatternDestroy(m);
    return ok;
}

// Shift-JIS character code -> Unicode, built once for every code with iconv's code page
// 932 (the same table the rest of the program converts with).
const std::vector<uint32_t>& sjisTable()
{
    static std::vector<uint32_t> table;
    static std::once_flag once;
    std::call_once(once, [] {
        table.assign(65536, 0);
        iconv_t cd = iconv_open("UTF-32LE", "CP932");
        if (cd == iconv_t(-1))
            return;
        auto one = [&](const char* bytes, size_t n) -> uint32_t {
            char in[2];
            std::memcpy(in, bytes, n);
            char* inp = in;
            size_t inLeft = n;
            uint8_t out[8] = {};
            char* outp = reinterpret_cast<char*>(out);
            size_t outLeft = sizeof out;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cd, &inp, &inLeft, &outp, &outLeft) == size_t(-1) || inLeft != 0 || outLeft != 4)
                return 0;
            return uint32_t(out[0]) | uint32_t(out[1]) << 8 | uint32_t(out[2]) << 16 | uint32_t(out[3]) << 24;
        };
        for (unsigned b = 0; b < 256; ++b) {
            if (isSjisLead(uint8_t(b))) {
                for (unsigned t = 0x40; t <= 0xFC; ++t) {
                    char two[2] = {char(b), char(t)};
                    table[b * 256 + t] = one(two, 2);
                }
            } else {
                char c = char(b);
                table[b] = one(&c, 1);
            }
        }
        iconv_close(cd);
    });
    return table;
}

} // namespace

// ---------------------------------------------------------------------------------------------

struct Font::Impl {
    std::shared_ptr<FontLibrary> lib;
    FT_Face face = nullptr;
    bool embolden = false;
    bool slant = false;
    int32_t emPx = 0;
    std::unordered_map<uint32_t, Glyph> cache;
    size_t cacheBytes = 0;
    Glyph empty;

    ~Impl()
    {
        if (face)
            FT_Done_Face(face);
    }
};

Font::Font() : impl_(std::make_unique<Impl>()) {}
Font::~Font() = default;

size_t Font::cachedGlyphs() const
{
    return impl_->cache.size();
}

void Font::clearGlyphCache()
{
    impl_->cache.clear();
    impl_->cacheBytes = 0;
}

const Font::Glyph& Font::glyph(uint32_t code)
{
    auto& cache = impl_->cache;
    auto it = cache.find(code);
    if (it != cache.end())
        return it->second;
    // A whole Japanese character set is about 7,000 glyphs; a run of the game sees far fewer,
    // so the cache only needs a bound against a runaway caller or a giant font.
    if (cache.size() >= 8192 || impl_->cacheBytes >= (size_t(32) << 20))
        clearGlyphCache();

    Glyph g;
    g.gm.blackBoxX = 1;
    g.gm.blackBoxY = 1;
    // A character the face cannot show still takes its place on the line.
    g.gm.cellIncX = int16_t(code > 0xFF ? impl_->emPx : (impl_->emPx + 1) / 2);
    uint32_t cp = code <= 0xFFFF ? Fonts::codePointOf(code) : 0;
    FT_Face face = impl_->face;
    FT_UInt gi = cp ? FT_Get_Char_Index(face, cp) : 0;
    if (gi != 0 && FT_Load_Glyph(face, gi, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) == 0) {
        FT_GlyphSlot slot = face->glyph;
        if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
            if (impl_->slant) {
                FT_Matrix shear = {0x10000, 0x0366A, 0, 0x10000}; // about 12 degrees
                FT_Outline_Transform(&slot->outline, &shear);
            }
            if (impl_->embolden)
                FT_Outline_EmboldenXY(&slot->outline, FT_Pos(face->size->metrics.x_ppem) * 64 / 24, 0);
        }
        g.gm.cellIncX = int16_t((slot->advance.x + 32) >> 6);
        if (impl_->embolden)
            g.gm.cellIncX = int16_t(g.gm.cellIncX + 1);
        if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) == 0) {
            const FT_Bitmap& bm = slot->bitmap;
            g.present = true;
            if (bm.width > 0 && bm.rows > 0 && bm.pixel_mode == FT_PIXEL_MODE_GRAY) {
                g.gm.blackBoxX = bm.width;
                g.gm.blackBoxY = bm.rows;
                g.gm.originX = slot->bitmap_left;
                g.gm.originY = slot->bitmap_top;
                g.coverage.resize(size_t(bm.width) * bm.rows);
                for (unsigned y = 0; y < bm.rows; ++y) {
                    const unsigned char* src = bm.pitch >= 0 ? bm.buffer + size_t(y) * unsigned(bm.pitch)
                                                             : bm.buffer + size_t(bm.rows - 1 - y) * unsigned(-bm.pitch);
                    std::memcpy(g.coverage.data() + size_t(y) * bm.width, src, bm.width);
                }
            }
        }
    }
    impl_->cacheBytes += g.coverage.size() + sizeof(Glyph);
    return cache.emplace(code, std::move(g)).first->second;
}

uint32_t Font::glyphOutline(uint32_t code, GlyphMetrics& metrics, uint8_t* buffer, uint32_t bufferSize)
{
    const Glyph& g = glyph(code);
    metrics = g.gm;
    if (g.coverage.empty())
        return 0;
    const uint32_t rowBytes = (g.gm.blackBoxX + 3u) & ~3u;
    const uint32_t need = rowBytes * g.gm.blackBoxY;
    if (!buffer || bufferSize == 0)
        return need;
    if (bufferSize < need)
        return kGdiError;
    for (uint32_t y = 0; y < g.gm.blackBoxY; ++y) {
        const uint8_t* src = g.coverage.data() + size_t(y) * g.gm.blackBoxX;
        uint8_t* dst = buffer + size_t(y) * rowBytes;
        uint32_t x = 0;
        for (; x < g.gm.blackBoxX; ++x)
            dst[x] = uint8_t((src[x] * 16u + 127u) / 255u);
        for (; x < rowBytes; ++x)
            dst[x] = 0;
    }
    return need;
}

// ---------------------------------------------------------------------------------------------

Fonts::Fonts() : lib_(std::make_shared<FontLibrary>()) {}
Fonts::~Fonts() = default;

uint32_t Fonts::codePointOf(uint32_t code)
{
    if (code > 0xFFFF)
        return 0;
    if (code > 0xFF && !isSjisLead(uint8_t(code >> 8)))
        return 0;
    return sjisTable()[code];
}

std::shared_ptr<Font> Fonts::createFont(const FontSpec& spec)
{
    if (!lib_->ft || !lib_->fc)
        return nullptr;
    const std::string asked = sjisToUtf8(spec.face);
    std::string family = asked;
    bool aliased = false;
    for (const FaceAlias& a : kFaceAliases)
        if (equalsNoCase(asked, a.windowsName)) {
            family = a.family;
            aliased = true;
        }

    const bool wantJapanese = spec.charset == kShiftJisCharset;
    const int fcWeight = FcWeightFromOpenType(std::clamp(spec.weight == 0 ? 400 : spec.weight, 1, 1000));

    FaceChoice choice;
    bool found = false;
    bool exact = false;
    if (!family.empty()) {
        FcPattern* pat = FcPatternCreate();
        FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
        FcPatternAddInteger(pat, FC_WEIGHT, fcWeight);
        FcPatternAddInteger(pat, FC_SLANT, spec.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        found = matchPattern(lib_->fc, pat, choice);
        FcPatternDestroy(pat);
        if (found)
            for (const std::string& f : choice.families)
                exact = exact || equalsNoCase(f, family);
    }
    std::string note;
    if (!found || (wantJapanese && !choice.japanese)) {
        FaceChoice fallback;
        FcPattern* pat = FcPatternCreate();
        FcPatternAddString(pat, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
        FcPatternAddInteger(pat, FC_WEIGHT, fcWeight);
        bool ok = matchPattern(lib_->fc, pat, fallback);
        FcPatternDestroy(pat);
        if (ok && (fallback.japanese || !found)) {
            choice = fallback;
            found = true;
            note = "font: \"" + asked + "\" (" + family + ") has no Japanese face here; using " + choice.family +
                   " (" + choice.file + ")";
        }
    } else if (!exact) {
        note = "font: \"" + asked + "\" is not installed; using " + choice.family + " (" + choice.file + ")";
    }
    if (!found) {
        debugOutput(utf8ToSjis("font: no face at all for \"" + asked + "\""));
        return nullptr;
    }

    auto font = std::shared_ptr<Font>(new Font());
    Font::Impl& im = *font->impl_;
    im.lib = lib_;
    if (FT_New_Face(lib_->ft, choice.file.c_str(), choice.index, &im.face) != 0 || !im.face->units_per_EM) {
        debugOutput("font: cannot open " + choice.file);
        return nullptr;
    }
    FT_Face face = im.face;
    FT_Select_Charmap(face, FT_ENCODING_UNICODE);

    // GDI sizes a positive height as the whole cell (Windows ascent + descent), a negative
    // one as the em.
    const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const TT_HoriHeader* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
    long upem = face->units_per_EM;
    long winAscent = os2 && os2->version != 0xFFFF ? os2->usWinAscent : face->ascender;
    long winDescent = os2 && os2->version != 0xFFFF ? os2->usWinDescent : -face->descender;
    if (winAscent + winDescent <= 0) {
        winAscent = upem * 7 / 8;
        winDescent = upem - winAscent;
    }
    if (aliased) {
        winAscent = kAliasAscent * upem / (kAliasAscent + kAliasDescent);
        winDescent = upem - winAscent;
    }
    // Heights beyond any screen are held to a size FreeType and the layout arithmetic manage.
    int32_t h = spec.height == 0 ? 16 : std::clamp(spec.height, -1000, 1000);
    double ppem = h > 0 ? double(h) * double(upem) / double(winAscent + winDescent) : double(-h);
    ppem = std::clamp(ppem, 1.0, 1000.0);
    double xppem = ppem;
    long avgWidth = os2 && os2->version != 0xFFFF && os2->xAvgCharWidth > 0 ? os2->xAvgCharWidth : upem / 2;
    if (spec.width > 0)
        xppem = std::clamp(double(spec.width) * double(upem) / double(avgWidth), 1.0, 1000.0);
    FT_Set_Char_Size(face, FT_F26Dot6(std::lround(xppem * 64)), FT_F26Dot6(std::lround(ppem * 64)), 72, 72);

    im.emPx = int32_t(std::lround(ppem));
    const int faceWeight = os2 && os2->version != 0xFFFF ? os2->usWeightClass : 400;
    im.embolden = spec.weight >= 600 && faceWeight < 600;
    im.slant = spec.italic && !(face->style_flags & FT_STYLE_FLAG_ITALIC);

    TextMetrics& tm = font->metrics_;
    const double scale = ppem / double(upem);
    if (h > 0) {
        tm.ascent = int32_t(std::lround(double(winAscent) * scale));
        tm.height = h;
        tm.descent = h - tm.ascent;
    } else {
        tm.ascent = int32_t(std::lround(double(winAscent) * scale));
        tm.descent = int32_t(std::lround(double(winDescent) * scale));
        tm.height = tm.ascent + tm.descent;
    }
    tm.internalLeading = std::max(0, tm.height - im.emPx);
    if (hhea) {
        long gap = long(hhea->Line_Gap) - ((winAscent + winDescent) - (long(hhea->Ascender) - long(hhea->Descender)));
        tm.externalLeading = gap > 0 ? int32_t(std::lround(double(gap) * scale)) : 0;
    }
    const double xscale = xppem / double(upem);
    tm.aveCharWidth = int32_t(std::lround(double(avgWidth) * xscale));
    tm.maxCharWidth = int32_t(std::lround(double(face->max_advance_width) * xscale));
    tm.weight = spec.weight == 0 ? 400 : spec.weight;

    font->family_ = choice.family;
    font->file_ = choice.file;
    font->coversJapanese_ = choice.japanese;
    if (!note.empty()) {
        font->note_ = utf8ToSjis(note);
        debugOutput(font->note_);
    }
    return font;
}

// ---------------------------------------------------------------------------------------------

namespace {

struct LineSpan {
    size_t begin = 0, end = 0;
    int32_t width = 0;
};

// Character at s[i]: its code and its length in bytes.
inline uint32_t nextChar(std::string_view s, size_t i, size_t& len)
{
    uint8_t b = uint8_t(s[i]);
    if (isSjisLead(b) && i + 1 < s.size()) {
        len = 2;
        return uint32_t(b) << 8 | uint8_t(s[i + 1]);
    }
    len = 1;
    return b;
}

inline bool isControl(uint32_t code)
{
    return code < 0x20;
}

std::vector<LineSpan> layoutLines(Font& font, std::string_view s, uint32_t format, int32_t maxWidth)
{
    const bool single = format & kDtSingleLine;
    const bool wrap = (format & kDtWordBreak) && !single;
    std::vector<LineSpan> lines;
    LineSpan cur;
    // Width of the line without its trailing spaces, and where those spaces begin.
    int32_t inkWidth = 0;
    size_t inkEnd = 0;
    bool lineHasInk = false;
    bool wrappedStart = false;
    size_t i = 0;
    auto advanceOf = [&](size_t from, size_t to) {
        int32_t w = 0;
        for (size_t k = from; k < to;) {
            size_t l = 1;
            uint32_t c = nextChar(s, k, l);
            w += isControl(c) ? 0 : font.glyph(c).gm.cellIncX;
            k += l;
        }
        return w;
    };
    auto breakLine = [&](size_t end, int32_t width, size_t nextBegin, bool wrapped) {
        cur.end = end;
        cur.width = width;
        lines.push_back(cur);
        cur = LineSpan{};
        cur.begin = nextBegin;
        inkWidth = 0;
        inkEnd = nextBegin;
        lineHasInk = false;
        wrappedStart = wrapped;
    };
    cur.begin = 0;
    while (i < s.size()) {
        size_t len = 1;
        uint32_t code = nextChar(s, i, len);
        if (!single && (code == '\n' || code == '\r')) {
            size_t next = i + 1;
            if (code == '\r' && next < s.size() && s[next] == '\n')
                ++next;
            breakLine(i, cur.width, next, false);
            i = next;
            continue;
        }
        // The unit that is never split: one double-byte character, a run of spaces, or a
        // run of other single-byte characters (a word).
        size_t end = i + len;
        if (len == 1) {
            const bool space = code == ' ';
            while (end < s.size()) {
                uint8_t b = uint8_t(s[end]);
                if (isSjisLead(b) || b == '\n' || b == '\r' || (b == ' ') != space)
                    break;
                ++end;
            }
        }
        const bool spaces = len == 1 && code == ' ';
        const int32_t w = advanceOf(i, end);
        if (wrap && spaces) {
            if (!lineHasInk && wrappedStart) {
                // Spaces at the start of a wrapped line are dropped, as GDI does.
                cur.begin = end;
                inkEnd = end;
            } else {
                cur.width += w;
            }
            i = end;
            continue;
        }
        if (wrap && lineHasInk && cur.width + w > maxWidth)
            breakLine(inkEnd, inkWidth, i, true);
        cur.width += w;
        inkWidth = cur.width;
        inkEnd = end;
        lineHasInk = true;
        i = end;
    }
    cur.end = s.size();
    lines.push_back(cur);
    return lines;
}

} // namespace

int32_t Fonts::drawText(Font& font, const Canvas32& canvas, std::string_view s, TextRect& rect, uint32_t format,
                        const TextStyle& style)
{
    // Far-off rectangles are pulled in so no position arithmetic below can overflow; a canvas
    // is never anywhere near this large.
    constexpr int32_t kFar = 1 << 24;
    rect.left = std::clamp(rect.left, -kFar, kFar);
    rect.top = std::clamp(rect.top, -kFar, kFar);
    rect.right = std::clamp(rect.right, -kFar, kFar);
    rect.bottom = std::clamp(rect.bottom, -kFar, kFar);
    const TextMetrics& tm = font.metrics();
    const int32_t lineHeight = tm.height;
    const int32_t rectW = rect.right - rect.left;
    std::vector<LineSpan> lines = layoutLines(font, s, format, rectW);
    const int32_t textHeight = lineHeight * int32_t(lines.size());

    if (format & kDtCalcRect) {
        int32_t widest = 0;
        for (const LineSpan& l : lines)
            widest = std::max(widest, l.width);
        rect.right = rect.left + widest;
        rect.bottom = rect.top + textHeight;
        return textHeight;
    }

    int32_t top = rect.top;
    int32_t result = textHeight;
    if (format & kDtSingleLine) {
        if (format & kDtVCenter) {
            top = (rect.top + rect.bottom - lineHeight) / 2;
            result = top - rect.top + lineHeight;
        } else if (format & kDtBottom) {
            top = rect.bottom - lineHeight;
            result = top - rect.top + lineHeight;
        }
    }

    if (!canvas.pixels || canvas.width <= 0 || canvas.height <= 0)
        return result;
    int32_t clipL = 0, clipT = 0, clipR = canvas.width, clipB = canvas.height;
    if (!(format & kDtNoClip)) {
        clipL = std::max(clipL, rect.left);
        clipT = std::max(clipT, rect.top);
        clipR = std::min(clipR, rect.right);
        clipB = std::min(clipB, rect.bottom);
    }
    if (clipL >= clipR || clipT >= clipB)
        return result;

    auto rowPtr = [&](int32_t y) {
        int32_t memRow = canvas.bottomUp ? canvas.height - 1 - y : y;
        return canvas.pixels + size_t(memRow) * size_t(canvas.stride);
    };
    const uint8_t cr = uint8_t(style.colour), cg = uint8_t(style.colour >> 8), cb = uint8_t(style.colour >> 16);

    int32_t lineTop = top;
    for (const LineSpan& line : lines) {
        int32_t x = rect.left;
        if (format & kDtCenter)
            x = (rect.left + rect.right - line.width) / 2;
        else if (format & kDtRight)
            x = rect.right - line.width;

        if (!style.transparent) {
            const uint8_t br = uint8_t(style.backgroundColour), bgc = uint8_t(style.backgroundColour >> 8),
                          bb = uint8_t(style.backgroundColour >> 16);
            for (int32_t y = std::max(lineTop, clipT); y < std::min(lineTop + lineHeight, clipB); ++y) {
                uint8_t* row = rowPtr(y);
                for (int32_t xx = std::max(x, clipL); xx < std::min(x + line.width, clipR); ++xx) {
                    uint8_t* p = row + size_t(xx) * 4;
                    p[0] = bb;
                    p[1] = bgc;
                    p[2] = br;
                    p[3] = 0;
                }
            }
        }

        const int32_t baseline = lineTop + tm.ascent;
        for (size_t i = line.begin; i < line.end;) {
            size_t len = 1;
            uint32_t code = nextChar(s, i, len);
            i += len;
            if (isControl(code))
                continue;
            const Font::Glyph& g = font.glyph(code);
            const int32_t gx = x + g.gm.originX;
            const int32_t gy = baseline - g.gm.originY;
            x += g.gm.cellIncX;
            if (g.coverage.empty())
                continue;
            const int32_t w = int32_t(g.gm.blackBoxX), hgt = int32_t(g.gm.blackBoxY);
            const int32_t y0 = std::max(gy, clipT), y1 = std::min(gy + hgt, clipB);
            const int32_t x0 = std::max(gx, clipL), x1 = std::min(gx + w, clipR);
            for (int32_t y = y0; y < y1; ++y) {
                const uint8_t* cov = g.coverage.data() + size_t(y - gy) * size_t(w);
                uint8_t* row = rowPtr(y);
                for (int32_t xx = x0; xx < x1; ++xx) {
                    const unsigned a = cov[xx - gx];
                    if (a == 0)
                        continue;
                    uint8_t* p = row + size_t(xx) * 4;
                    p[0] = uint8_t((cb * a + p[0] * (255u - a) + 127u) / 255u);
                    p[1] = uint8_t((cg * a + p[1] * (255u - a) + 127u) / 255u);
                    p[2] = uint8_t((cr * a + p[2] * (255u - a) + 127u) / 255u);
                    p[3] = 0;
                }
            }
        }
        lineTop += lineHeight;
    }
    return result;
}

} // namespace platform
