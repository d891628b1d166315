#include "tools/pkd/PictureCheck.h"

#include "resources/Image.h"
#include "resources/PackFormat.h"

#include <cstring>

namespace {

bool endsWithPng(std::string_view name)
{
    return pack::upperName(name.size() >= 4 ? name.substr(name.size() - 4) : name) == ".PNG";
}

// With its article: "a palette PNG", "an 8-bit grey PNG".
std::string colourName(uint8_t type, uint8_t depth)
{
    const std::string a = depth == 8 || depth == 18 ? "an " : "a ";
    std::string bits = a + std::to_string(depth) + "-bit ";
    switch (type) {
    case 0: return bits + "grey PNG";
    case 2: return bits + "RGB PNG";
    case 3: return "a palette PNG";
    case 4: return bits + "grey PNG with alpha";
    case 6: return bits + "RGBA PNG";
    default: return "a PNG of colour type " + std::to_string(type);
    }
}

} // namespace

bool isPictureEntry(std::string_view entryName)
{
    return endsWithPng(entryName);
}

std::string pictureProblem(std::string_view entryName, const uint8_t* data, size_t size)
{
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    // Signature, the IHDR chunk's length and type, width, height, depth, colour type.
    if (size < 8 + 8 + 13 || std::memcmp(data, kSignature, 8) != 0 || std::memcmp(data + 12, "IHDR", 4) != 0)
        return "not a PNG picture";
    const uint8_t depth = data[24], type = data[25];
    const bool texels = pack::upperName(entryName.substr(0, 8)) == "TEXTBOX\\";
    if (texels) {
        if (type != 0 || depth != 16)
            return colourName(type, depth) + " (the text window's pictures are 16-bit grey texel PNGs)";
        CImage16 picture;
        if (picture.DecodePNG16(data, size) != 0)
            return "a damaged PNG (it does not decode)";
        return {};
    }
    if ((type != 2 && type != 6) || depth != 8)
        return colourName(type, depth) + " (the game shows only 8-bit RGB or RGBA pictures)";
    CImage picture;
    if (picture.DecodePNG(data, size) != 0)
        return "a damaged PNG (it does not decode)";
    return {};
}
