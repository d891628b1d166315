// Writes a small starting corpus for the fuzz targets: valid pictures of every kind the
// decoders meet, and small archives holding them.
#include "tests/resources/PngWrite.h"
#include "tools/pkd/PackWriter.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

void save(const std::filesystem::path& p, const std::vector<uint8_t>& bytes)
{
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<uint8_t> picture(uint32_t w, uint32_t h, int type, int depth, bool interlaced)
{
    int channels = type == PNG_COLOR_TYPE_RGB ? 3 : type == PNG_COLOR_TYPE_RGB_ALPHA ? 4 : type == PNG_COLOR_TYPE_GRAY_ALPHA ? 2 : 1;
    size_t rowBytes = (size_t(w) * channels * depth + 7) / 8;
    std::vector<uint8_t> raw(rowBytes * h);
    for (size_t i = 0; i < raw.size(); ++i)
        raw[i] = uint8_t(i * 7 + i / 13);
    testpng::Options o;
    o.colourType = type;
    o.bitDepth = depth;
    o.interlaced = interlaced;
    return testpng::encode(w, h, raw, o);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: fuzz_seeds PNG_FOLDER PKD_FOLDER\n");
        return 2;
    }
    std::filesystem::path pngDir = argv[1], pkdDir = argv[2];
    std::filesystem::create_directories(pngDir);
    std::filesystem::create_directories(pkdDir);
    save(pngDir / "rgb.png", picture(7, 5, PNG_COLOR_TYPE_RGB, 8, false));
    save(pngDir / "rgba.png", picture(5, 3, PNG_COLOR_TYPE_RGB_ALPHA, 8, false));
    save(pngDir / "rgba-interlaced.png", picture(9, 9, PNG_COLOR_TYPE_RGB_ALPHA, 8, true));
    save(pngDir / "grey16.png", picture(6, 4, PNG_COLOR_TYPE_GRAY, 16, false));
    save(pngDir / "grey8.png", picture(4, 4, PNG_COLOR_TYPE_GRAY, 8, false));
    save(pngDir / "palette.png", picture(4, 4, PNG_COLOR_TYPE_PALETTE, 8, false));
    save(pngDir / "rgb16.png", picture(3, 3, PNG_COLOR_TYPE_RGB, 16, false));

    PackWriter small;
    small.addBytes("SCP\\startup.scp", {'@', 't', 'e', 'x', 't', '\n'});
    small.addBytes("empty", {});
    small.addBytes("BG\\a.png", picture(3, 2, PNG_COLOR_TYPE_RGB, 8, false));
    std::vector<uint8_t> bytes;
    std::string error;
    if (!small.build(bytes, error)) {
        std::fprintf(stderr, "fuzz_seeds: %s\n", error.c_str());
        return 1;
    }
    save(pkdDir / "small.pkd", bytes);
    PackWriter nested;
    nested.addBytes("SCP\\CG_SCP\\1.scp", {'1'});
    nested.addBytes("..\\up.txt", {'u'});
    nested.addBytes("a/../b.txt", {'b'});
    if (!nested.build(bytes, error)) {
        std::fprintf(stderr, "fuzz_seeds: %s\n", error.c_str());
        return 1;
    }
    save(pkdDir / "nested.pkd", bytes);
    PackWriter none;
    none.build(bytes, error);
    save(pkdDir / "empty.pkd", bytes);
    return 0;
}
