#include "fuzz/FuzzEntries.h"

#include "platform/Clock.h"
#include "resources/Image.h"
#include "resources/PackArchive.h"
#include "tools/pkd/PkdCommands.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// One scratch file per process; the archive reader only reads from files.
const std::string& scratchArchive()
{
    static const std::string path = [] {
        std::error_code ec;
        std::filesystem::path dir = std::filesystem::temp_directory_path(ec);
        if (ec)
            dir = ".";
        return (dir / ("sf-fuzz-" + std::to_string(::getpid()) + ".pkd")).string();
    }();
    return path;
}

} // namespace

int fuzzPackDirectory(const uint8_t* data, size_t size)
{
    const std::string& path = scratchArchive();
    {
        std::ofstream f(path, std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    platform::HeadlessClock clock;
    CPackArchive archive(&clock);
    int result = 0;
    if (archive.Open(path)) {
        result = 1;
        for (const auto& [name, entry] : archive.entries()) {
            int32_t n = archive.GetSize(name);
            if (n < 0)
                continue;
            std::vector<uint8_t> buf(size_t(n) + 1);
            if (archive.Read(name, buf.data()) != n)
                __builtin_trap(); // a readable entry of an unchanged file must read
        }
        archive.GetSize("SCP\\startup.scp");
    }
    std::remove(path.c_str());
    return result;
}

int fuzzPngDecoders(const uint8_t* data, size_t size)
{
    CImage image;
    int a = image.DecodePNG(data, size);
    if (a == 0 && (image.pixels.size() != size_t(image.width) * size_t(image.height) * 4 + 1))
        __builtin_trap();
    // The row path as the scene's loaders use it: every row once, in order, whole.
    struct CheckingSink : PngRowSink {
        int32_t width = 0, height = 0, next = 0;
        uint8_t out[4 * 64];
        bool begin(int32_t w, int32_t h) override
        {
            width = w;
            height = h;
            return true;
        }
        void row(int32_t y, const uint8_t* px, int channels) override
        {
            if (y != next++ || y >= height || (channels != 3 && channels != 4))
                __builtin_trap();
            const int32_t n = std::min<int32_t>(width, 64);
            pngPixelsToBgra(out, px + size_t(width - n) * size_t(channels), channels, n);
        }
    } sink;
    int c = DecodePNGRows(data, size, sink);
    if ((a == 0 && c != 0) || (c == 0 && sink.next != sink.height))
        __builtin_trap();
    CImage16 image16;
    int b = image16.DecodePNG16(data, size);
    if (b == 0 && (image16.pixels.size() != size_t(image16.width) * size_t(image16.height) * 2 + 1))
        __builtin_trap();
    return a * 4 + b;
}

int fuzzPkdExtract(const uint8_t* data, size_t size)
{
    namespace fs = std::filesystem;
    static const fs::path root = [] {
        std::error_code ec;
        fs::path dir = fs::temp_directory_path(ec);
        return (ec ? fs::path(".") : dir) / ("sf-fuzz-extract-" + std::to_string(::getpid()));
    }();
    std::error_code ec;
    fs::remove_all(root, ec);
    fs::create_directories(root / "in");
    const fs::path archive = root / "in" / "a.pkd";
    {
        std::ofstream f(archive, std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    const fs::path target = root / "box" / "out";
    fs::create_directories(target);
    std::ostringstream out, err;
    int code = pkdMain({"extract", archive.string(), target.string()}, out, err);
    // Only the archive and what lies under box/out may exist now.
    for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        fs::path rel = fs::relative(it->path(), root);
        std::string r = rel.generic_string();
        bool allowed = r == "in" || r == "in/a.pkd" || r == "box" || r == "box/out" || r.rfind("box/out/", 0) == 0;
        if (!allowed)
            __builtin_trap();
    }
    fs::remove_all(root, ec);
    return code;
}
