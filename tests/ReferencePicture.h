#pragma once
// Screenshot tests compare what the engine drew with reference PNGs kept in the repository
// (tests/<folder>/references/). On a mismatch the actual picture and a diff image are written
// to the build's test output folder and the failure says where.
//
// SORAFUNE_UPDATE_REFERENCES=1 rewrites the references from what was drawn instead; look at the
// new pictures before committing them.
#include "platform/Video.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

// 8-bit RGB, rows in the order the surface stores them (the order the runner's shots use).
struct RgbPicture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    const uint8_t* at(int x, int y) const { return rgb.data() + (size_t(y) * size_t(width) + size_t(x)) * 3; }
};

inline RgbPicture surfaceRgb(const platform::Surface& s)
{
    RgbPicture p;
    p.width = s.width();
    p.height = s.height();
    p.rgb.resize(size_t(p.width) * size_t(p.height) * 3);
    const int bpp = platform::bytesPerPixel(s.format());
    for (int y = 0; y < p.height; ++y) {
        const uint8_t* row = s.data() + size_t(y) * size_t(s.pitch());
        uint8_t* out = p.rgb.data() + size_t(y) * size_t(p.width) * 3;
        for (int x = 0; x < p.width; ++x) {
            const uint32_t c = platform::toArgb(s.format(), row + size_t(x) * size_t(bpp));
            out[x * 3] = uint8_t(c >> 16);
            out[x * 3 + 1] = uint8_t(c >> 8);
            out[x * 3 + 2] = uint8_t(c);
        }
    }
    return p;
}

inline bool readRgbPng(const std::string& path, RgbPicture& out)
{
    png_image img{};
    img.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&img, path.c_str()))
        return false;
    img.format = PNG_FORMAT_RGB;
    out.width = int(img.width);
    out.height = int(img.height);
    out.rgb.assign(PNG_IMAGE_SIZE(img), 0);
    if (!png_image_finish_read(&img, nullptr, out.rgb.data(), 0, nullptr)) {
        png_image_free(&img);
        return false;
    }
    return true;
}

inline bool writeRgbPng(const std::string& path, const RgbPicture& p)
{
    png_image img{};
    img.version = PNG_IMAGE_VERSION;
    img.width = png_uint_32(p.width);
    img.height = png_uint_32(p.height);
    img.format = PNG_FORMAT_RGB;
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    return png_image_write_to_file(&img, path.c_str(), 0, p.rgb.data(), 0, nullptr) != 0;
}

// How far a picture may stray from its reference: a pixel differs when one channel is off by
// more than channel; up to pixels such pixels are accepted. Exact by default, since the
// software rasteriser gives the same bytes on every run.
struct Tolerance {
    int channel = 0;
    size_t pixels = 0;
};

// Where the actual pictures and diffs of failed comparisons go.
inline std::filesystem::path testOutputDir()
{
    if (const char* dir = std::getenv("SORAFUNE_TEST_OUTPUT"))
        return dir;
#ifdef SORAFUNE_TEST_OUTPUT_DIR
    return SORAFUNE_TEST_OUTPUT_DIR;
#else
    return std::filesystem::temp_directory_path() / "sorafune-test-output";
#endif
}

// The diff: the reference dimmed to grey where the pixels agree, red where they differ
// (brighter for larger differences).
inline RgbPicture diffPicture(const RgbPicture& ref, const RgbPicture& actual, int channel)
{
    RgbPicture d = ref;
    for (int y = 0; y < ref.height; ++y)
        for (int x = 0; x < ref.width; ++x) {
            const uint8_t* a = actual.at(x, y);
            const uint8_t* r = ref.at(x, y);
            uint8_t* o = d.rgb.data() + (size_t(y) * size_t(d.width) + size_t(x)) * 3;
            int worst = 0;
            for (int c = 0; c < 3; ++c)
                worst = std::max(worst, std::abs(int(a[c]) - int(r[c])));
            if (worst > channel) {
                o[0] = uint8_t(std::min(255, 128 + worst));
                o[1] = o[2] = 0;
            } else {
                o[0] = o[1] = o[2] = uint8_t((int(r[0]) + int(r[1]) + int(r[2])) / 12);
            }
        }
    return d;
}

// reference: a path under tests/, as "scene/references/fade.png".
inline ::testing::AssertionResult matchesReference(const std::string& reference, const RgbPicture& actual,
                                                   Tolerance tolerance = {})
{
    const std::filesystem::path refPath = std::filesystem::path(SORAFUNE_SOURCE_DIR) / "tests" / reference;
    const char* update = std::getenv("SORAFUNE_UPDATE_REFERENCES");
    if (update && std::string(update) == "1") {
        if (!writeRgbPng(refPath.string(), actual))
            return ::testing::AssertionFailure() << "cannot write the reference " << refPath;
        std::printf("updated reference %s\n", refPath.string().c_str());
        return ::testing::AssertionSuccess();
    }

    RgbPicture ref;
    const bool haveRef = readRgbPng(refPath.string(), ref);
    size_t differing = 0;
    if (haveRef && ref.width == actual.width && ref.height == actual.height) {
        for (int y = 0; y < ref.height; ++y)
            for (int x = 0; x < ref.width; ++x)
                for (int c = 0; c < 3; ++c)
                    if (std::abs(int(actual.at(x, y)[c]) - int(ref.at(x, y)[c])) > tolerance.channel) {
                        ++differing;
                        break;
                    }
        if (differing <= tolerance.pixels)
            return ::testing::AssertionSuccess();
    }

    std::string stem = reference;
    std::replace(stem.begin(), stem.end(), '/', '-');
    stem = std::filesystem::path(stem).replace_extension().string();
    const std::filesystem::path out = testOutputDir();
    const std::string actualPath = (out / (stem + ".actual.png")).string();
    const std::string diffPath = (out / (stem + ".diff.png")).string();
    ::testing::AssertionResult failure = ::testing::AssertionFailure();
    if (!haveRef)
        failure << "no readable reference " << refPath;
    else if (ref.width != actual.width || ref.height != actual.height)
        failure << "the picture is " << actual.width << "x" << actual.height << ", the reference " << refPath << " is "
                << ref.width << "x" << ref.height;
    else
        failure << differing << " pixels differ from " << refPath << " (tolerance " << tolerance.channel << " per channel, "
                << tolerance.pixels << " pixels)";
    if (writeRgbPng(actualPath, actual))
        failure << "; drawn: " << actualPath;
    if (haveRef && ref.width == actual.width && ref.height == actual.height &&
        writeRgbPng(diffPath, diffPicture(ref, actual, tolerance.channel)))
        failure << "; diff (red where different): " << diffPath;
    failure << "; SORAFUNE_UPDATE_REFERENCES=1 rewrites the references";
    return failure;
}

} // namespace testsupport
