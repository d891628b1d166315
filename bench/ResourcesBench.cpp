// Picture loads straight from an archive against a bare libpng decode of the same bytes, and
// opening a large archive followed by many lookups.
#include "platform/Clock.h"
#include "resources/Image.h"
#include "resources/PackArchive.h"
#include "tests/resources/PngWrite.h"
#include "tools/pkd/PackWriter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Smooth shading with a little grain, like a painted background: it compresses the way
// real pictures do, neither as flat colour nor as noise.
std::vector<uint8_t> painted(uint32_t w, uint32_t h, int channels)
{
    std::vector<uint8_t> raw(size_t(w) * h * channels);
    uint32_t seed = 12345;
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            seed = seed * 1103515245u + 12345u;
            int grain = int(seed >> 28) - 8;
            uint8_t* p = &raw[(size_t(y) * w + x) * channels];
            p[0] = uint8_t(std::clamp(int(x * 255 / w) + grain, 0, 255));
            p[1] = uint8_t(std::clamp(int(y * 255 / h) + grain, 0, 255));
            p[2] = uint8_t(std::clamp(int((x + y) * 128 / (w + h)) + 64 + grain, 0, 255));
            if (channels == 4)
                p[3] = uint8_t(((x / 32 + y / 32) & 1) ? 255 : (x * 255 / w));
        }
    return raw;
}

struct Fixture {
    fs::path dir;
    std::vector<uint8_t> rgbPng, rgbaPng;
    std::unique_ptr<CPackArchive> pictures;
    std::string bigArchive;
    std::vector<std::string> lookupNames;

    Fixture()
    {
        dir = fs::temp_directory_path() / ("sf-bench-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        testpng::Options rgb;
        rgbPng = testpng::encode(800, 600, painted(800, 600, 3), rgb);
        testpng::Options rgba;
        rgba.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
        rgbaPng = testpng::encode(512, 608, painted(512, 608, 4), rgba);

        PackWriter w;
        w.addBytes("BG\\bench.png", rgbPng);
        w.addBytes("CHR\\bench.png", rgbaPng);
        std::string error;
        std::string path = (dir / "pictures.pkd").string();
        if (!w.write(path, error))
            throw std::runtime_error(error);
        pictures = std::make_unique<CPackArchive>();
        pictures->Open(path);

        PackWriter big;
        for (int i = 0; i < 20000; ++i)
            big.addBytes("CHR\\chara" + std::to_string(i / 100) + "\\face" + std::to_string(i % 100) + ".png",
                         {uint8_t(i)});
        bigArchive = (dir / "big.pkd").string();
        if (!big.write(bigArchive, error))
            throw std::runtime_error(error);
        uint32_t seed = 99;
        for (int i = 0; i < 100000; ++i) {
            seed = seed * 1103515245u + 12345u;
            int n = int((seed >> 8) % 22000); // a tenth of the lookups miss
            lookupNames.push_back("chr\\Chara" + std::to_string(n / 100) + "\\face" + std::to_string(n % 100) + ".png");
        }
    }
    ~Fixture()
    {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

// The floor: libpng decoding the same bytes from memory into one plain buffer, nothing else.
void bareDecode(const std::vector<uint8_t>& bytes, std::vector<uint8_t>& out)
{
    struct Src {
        const uint8_t* p;
        size_t left;
    } src{bytes.data(), bytes.size()};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return;
    }
    png_set_read_fn(png, &src, [](png_structp p, png_bytep dst, size_t n) {
        auto* s = static_cast<Src*>(png_get_io_ptr(p));
        std::memcpy(dst, s->p, n);
        s->p += n;
        s->left -= n;
    });
    png_read_info(png, info);
    png_read_update_info(png, info);
    size_t rowBytes = png_get_rowbytes(png, info);
    png_uint_32 h = png_get_image_height(png, info);
    out.resize(rowBytes * h);
    std::vector<png_bytep> rows(h);
    for (png_uint_32 y = 0; y < h; ++y)
        rows[y] = out.data() + y * rowBytes;
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
}

void BM_BareLibpng_Rgb800x600(benchmark::State& state)
{
    std::vector<uint8_t> out;
    for (auto _ : state) {
        bareDecode(fixture().rgbPng, out);
        benchmark::DoNotOptimize(out.data());
    }
}

void BM_LoadPNG_Rgb800x600_FromPkd(benchmark::State& state)
{
    for (auto _ : state) {
        CImage im;
        if (im.LoadPNG("BG\\bench.png", *fixture().pictures) != 0)
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(im.pixels.data());
    }
}

void BM_BareLibpng_Rgba512x608(benchmark::State& state)
{
    std::vector<uint8_t> out;
    for (auto _ : state) {
        bareDecode(fixture().rgbaPng, out);
        benchmark::DoNotOptimize(out.data());
    }
}

void BM_LoadPNG_Rgba512x608_FromPkd(benchmark::State& state)
{
    for (auto _ : state) {
        CImage im;
        if (im.LoadPNG("CHR\\bench.png", *fixture().pictures) != 0)
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(im.pixels.data());
    }
}

// Baseline for opening: reading the same file whole, the I/O any reader pays.
void BM_ReadWholeFile_20000Entries(benchmark::State& state)
{
    for (auto _ : state) {
        std::ifstream f(fixture().bigArchive, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
        benchmark::DoNotOptimize(bytes.data());
    }
}

void BM_Open_20000Entries(benchmark::State& state)
{
    for (auto _ : state) {
        CPackArchive a;
        benchmark::DoNotOptimize(a.Open(fixture().bigArchive));
    }
}

// Baseline for lookups: a plain map of the same keys asked with names already upper-cased.
void BM_PlainMapFind_100000(benchmark::State& state)
{
    // Filled in the archive's own record order, as Open fills its map.
    std::map<std::string, int32_t> plain;
    for (const pack::Record& r : pack::readDirectory(fixture().bigArchive).records)
        plain[pack::upperName(r.name)] = r.size;
    std::vector<std::string> upper;
    for (const std::string& n : fixture().lookupNames)
        upper.push_back(pack::upperName(n));
    for (auto _ : state) {
        int64_t sum = 0;
        for (const std::string& n : upper) {
            auto it = plain.find(n);
            sum += it == plain.end() ? -1 : it->second;
        }
        benchmark::DoNotOptimize(sum);
    }
}

void BM_GetSize_100000(benchmark::State& state)
{
    CPackArchive a;
    a.Open(fixture().bigArchive);
    for (auto _ : state) {
        int64_t sum = 0;
        for (const std::string& n : fixture().lookupNames)
            sum += a.GetSize(n);
        benchmark::DoNotOptimize(sum);
    }
}

void BM_OpenPlus100000GetSize_20000Entries(benchmark::State& state)
{
    for (auto _ : state) {
        CPackArchive a;
        a.Open(fixture().bigArchive);
        int64_t sum = 0;
        for (const std::string& n : fixture().lookupNames)
            sum += a.GetSize(n);
        benchmark::DoNotOptimize(sum);
    }
}

} // namespace

BENCHMARK(BM_BareLibpng_Rgb800x600)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadPNG_Rgb800x600_FromPkd)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareLibpng_Rgba512x608)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadPNG_Rgba512x608_FromPkd)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadWholeFile_20000Entries)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Open_20000Entries)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainMapFind_100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetSize_100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenPlus100000GetSize_20000Entries)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
