#include "resources/Image.h"

#include "platform/DebugOutput.h"
#include "resources/PackArchive.h"

#include <png.h>

#include <algorithm>
#include <climits>
#include <csetjmp>
#include <cstring>
#include <new>

namespace {

// Deflate cannot shrink data by much more than 1032:1, so a PNG whose rows would need more
// than this many times its own size is cut short or lying about its size: it is refused
// before any picture memory is taken for it.
constexpr uint64_t kMaxInflateRatio = 1100;
constexpr uint64_t kInflateSlack = 65536;

struct PngHeader {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colourType = 0;
    size_t rowBytes = 0;
    int passes = 1;
};

// libpng reading from a block of memory. libpng reports errors by longjmp, so the two
// operations that may fail keep only plain values on their stack frames, and every error
// (including a read past the end of the block) becomes a false result.
class PngMemoryReader {
public:
    PngMemoryReader(const uint8_t* data, size_t size) : data_(data), size_(size)
    {
        png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, this, &PngMemoryReader::onError,
                                      &PngMemoryReader::onWarning);
        if (!png_)
            return;
        info_ = png_create_info_struct(png_);
        endInfo_ = png_create_info_struct(png_);
        if (info_ && endInfo_)
            png_set_read_fn(png_, this, &PngMemoryReader::onRead);
    }
    ~PngMemoryReader() { release(); }
    PngMemoryReader(const PngMemoryReader&) = delete;
    PngMemoryReader& operator=(const PngMemoryReader&) = delete;

    bool ready() const { return png_ && info_ && endInfo_; }

    void release()
    {
        if (png_)
            png_destroy_read_struct(&png_, info_ ? &info_ : nullptr, endInfo_ ? &endInfo_ : nullptr);
        png_ = nullptr;
        info_ = nullptr;
        endInfo_ = nullptr;
    }

    bool readHeader(PngHeader& h)
    {
        if (setjmp(png_jmpbuf(png_)))
            return false;
        png_read_info(png_, info_);
        int interlace = 0;
        png_get_IHDR(png_, info_, &h.width, &h.height, &h.bitDepth, &h.colourType, &interlace, nullptr, nullptr);
        // Not a pixel transformation: it only lets png_read_image undo Adam7 passes.
        h.passes = png_set_interlace_handling(png_);
        png_read_update_info(png_, info_);
        h.rowBytes = png_get_rowbytes(png_, info_);
        return true;
    }

    // Reads every row into rowAt(y); done(y) runs as soon as row y is final, so a plain
    // picture is converted row by row while each row is still in the cache and an interlaced
    // one row by row during its last pass. Both callbacks only touch plain memory: an error
    // leaves them by longjmp.
    template <class RowAt, class Done>
    bool readRows(const PngHeader& h, RowAt rowAt, Done done)
    {
        if (setjmp(png_jmpbuf(png_)))
            return false;
        readPasses(h, rowAt, done);
        png_read_end(png_, endInfo_);
        return true;
    }

    const char* lastError() const { return error_; }

private:
    // Apart from readRows so that its counters live in no frame that setjmp returns to.
    template <class RowAt, class Done>
    [[gnu::noinline]] void readPasses(const PngHeader& h, RowAt& rowAt, Done& done)
    {
        for (int pass = 0; pass < h.passes; ++pass)
            for (png_uint_32 y = 0; y < h.height; ++y) {
                png_read_row(png_, rowAt(y), nullptr);
                if (pass == h.passes - 1)
                    done(y);
            }
    }

    static void onRead(png_structp png, png_bytep out, size_t n)
    {
        auto* self = static_cast<PngMemoryReader*>(png_get_io_ptr(png));
        if (n > self->size_ - self->pos_)
            png_error(png, "read past the end of the entry");
        std::memcpy(out, self->data_ + self->pos_, n);
        self->pos_ += n;
    }
    static void onError(png_structp png, png_const_charp message)
    {
        auto* self = static_cast<PngMemoryReader*>(png_get_error_ptr(png));
        if (self) {
            std::strncpy(self->error_, message ? message : "", sizeof self->error_ - 1);
            self->error_[sizeof self->error_ - 1] = 0;
        }
        png_longjmp(png, 1);
    }
    static void onWarning(png_structp, png_const_charp) {}

    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
    png_infop endInfo_ = nullptr;
    char error_[128] = {};
};

void reportPngError(const char* who, const PngMemoryReader& reader)
{
    platform::debugOutput(std::string("ADV_SYSTEM: ") + who + " : " + reader.lastError() + "\n");
}

bool plausibleSize(const PngHeader& h, size_t encodedSize, size_t bytesPerPixel)
{
    if (h.width == 0 || h.height == 0 || h.rowBytes < size_t(h.width) * bytesPerPixel)
        return false;
    uint64_t picture = uint64_t(h.width) * h.height * bytesPerPixel;
    if (picture >= uint64_t(INT32_MAX))
        return false;
    uint64_t raw = uint64_t(h.height) * (uint64_t(h.rowBytes) + 1);
    return raw <= uint64_t(encodedSize) * kMaxInflateRatio + kInflateSlack;
}

// Loads an entry whole into memory; the block carries one spare byte like every entry read.
int readEntry(std::string_view name, const CPackArchive& archive, std::vector<uint8_t>& entry)
{
    int32_t size = archive.GetSize(name);
    if (size < 0)
        return -1;
    try {
        entry.resize(size_t(size) + 1);
    } catch (const std::bad_alloc&) {
        return -2;
    }
    if (archive.Read(name, entry.data()) != size)
        return -1;
    entry.resize(size_t(size));
    return 0;
}

void freeBlock(std::vector<uint8_t>& block)
{
    std::vector<uint8_t>().swap(block);
}

void putInt32(uint8_t* p, int32_t v)
{
    uint32_t u = uint32_t(v);
    p[0] = uint8_t(u);
    p[1] = uint8_t(u >> 8);
    p[2] = uint8_t(u >> 16);
    p[3] = uint8_t(u >> 24);
}

// Pixels of w x h with bpp bytes each, plus the spare byte; 0 when that cannot exist.
size_t pixelBlockSize(int32_t w, int32_t h, size_t bpp)
{
    if (w < 0 || h < 0)
        return 0;
    uint64_t n = uint64_t(w) * uint64_t(h) * bpp;
    if (n >= uint64_t(INT32_MAX))
        return 0;
    return size_t(n) + 1;
}

} // namespace

// ---- CImage ----

CImage::~CImage() = default;

int CImage::Create(int32_t w, int32_t h)
{
    Free();
    size_t bytes = pixelBlockSize(w, h, 4);
    if (bytes == 0)
        return 0;
    try {
        bitmapInfo.assign(44, 0);
        pixels.assign(bytes, 0);
    } catch (const std::bad_alloc&) {
        Free();
        return 0;
    }
    putInt32(&bitmapInfo[0], 40);
    putInt32(&bitmapInfo[4], w);
    putInt32(&bitmapInfo[8], h);
    bitmapInfo[12] = 1;  // planes
    bitmapInfo[14] = 32; // bits per pixel; compression BI_RGB = 0
    width = w;
    height = h;
    bitsPerPixel = 32;
    pixelBytes = int32_t(bytes - 1);
    return 1;
}

void CImage::Free()
{
    if (pixels.empty())
        return;
    std::vector<uint8_t>().swap(pixels);
    std::vector<uint8_t>().swap(bitmapInfo);
    // The size goes with the memory, so no operation can walk a picture that is gone.
    width = 0;
    height = 0;
    pixelBytes = 0;
}

void CImage::Fill(uint32_t argb)
{
    for (size_t i = 0; i + 4 <= size_t(pixelBytes); i += 4) {
        pixels[i] = uint8_t(argb);
        pixels[i + 1] = uint8_t(argb >> 8);
        pixels[i + 2] = uint8_t(argb >> 16);
        pixels[i + 3] = uint8_t(argb >> 24);
    }
}

void CImage::SetAlpha(int value)
{
    uint8_t a = uint8_t(std::clamp(value, 0, 255));
    for (size_t i = 3; i < size_t(pixelBytes); i += 4)
        pixels[i] = a;
}

void CImage::FlipVertical()
{
    if (pixels.empty() || height < 2)
        return;
    const size_t stride = size_t(width) * 4;
    std::vector<uint8_t> line(stride);
    for (int32_t i = 0; i < height / 2; ++i) {
        uint8_t* a = row(i);
        uint8_t* b = row(height - 1 - i);
        std::memcpy(line.data(), a, stride);
        std::memcpy(a, b, stride);
        std::memcpy(b, line.data(), stride);
    }
}

void CImage::CopyRect(const CImage& src, int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx, int32_t sy)
{
    if (x < 0 || y < 0 || x > width || y > height || int64_t(x) + w > width || int64_t(y) + h > height)
        return;
    // The source rectangle is checked too: a caller's slip must not read outside the source.
    if (w <= 0 || h <= 0 || sx < 0 || sy < 0 || int64_t(sx) + w > src.width || int64_t(sy) + h > src.height)
        return;
    if (pixels.empty() || src.pixels.empty())
        return;
    for (int32_t r = 0; r < h; ++r)
        std::memmove(row(y + r) + size_t(x) * 4, src.row(sy + r) + size_t(sx) * 4, size_t(w) * 4);
}

int CImage::LoadPNG(std::string_view entryName, const CPackArchive& archive)
{
    std::vector<uint8_t> entry;
    int r = readEntry(entryName, archive, entry);
    if (r != 0)
        return r;
    return DecodePNG(entry.data(), entry.size(), &entry);
}

int CImage::DecodePNG(const uint8_t* data, size_t size, std::vector<uint8_t>* entryToFree)
{
    // The picture is made only once the header is known good; a failure past that leaves it
    // empty.
    struct IntoPicture : PngRowSink {
        CImage& image;
        bool made = false;
        explicit IntoPicture(CImage& i) : image(i) {}
        bool begin(int32_t w, int32_t h) override
        {
            image.Free();
            made = true;
            return image.Create(w, h) == 1;
        }
        void row(int32_t y, const uint8_t* px, int channels) override
        {
            pngPixelsToBgra(image.row(y), px, channels, image.width);
        }
    } sink(*this);
    int r = DecodePNGRows(data, size, sink, entryToFree);
    if (r != 0 && sink.made)
        Free();
    return r;
}

// ---- rows ----

PngRowSink::~PngRowSink() = default;

void pngPixelsToBgra(uint8_t* dst, const uint8_t* src, int channels, int32_t n, bool zeroAlpha)
{
    if (channels == 3) {
        const uint8_t a = zeroAlpha ? 0 : 255;
        for (int32_t x = 0; x < n; ++x, src += 3, dst += 4) {
            const uint8_t r = src[0], g = src[1], b = src[2];
            dst[0] = b;
            dst[1] = g;
            dst[2] = r;
            dst[3] = a;
        }
    } else {
        for (int32_t x = 0; x < n; ++x, src += 4, dst += 4) {
            const uint8_t r = src[0], g = src[1], b = src[2], a = src[3];
            dst[0] = b;
            dst[1] = g;
            dst[2] = r;
            dst[3] = zeroAlpha ? 0 : a;
        }
    }
}

int LoadPNGRows(std::string_view entryName, const CPackArchive& archive, PngRowSink& sink)
{
    std::vector<uint8_t> entry;
    int r = readEntry(entryName, archive, entry);
    if (r != 0)
        return r;
    return DecodePNGRows(entry.data(), entry.size(), sink, &entry);
}

int DecodePNGRows(const uint8_t* data, size_t size, PngRowSink& sink, std::vector<uint8_t>* entryToFree)
{
    PngMemoryReader reader(data, size);
    if (!reader.ready())
        return -1;
    PngHeader h;
    if (!reader.readHeader(h)) {
        reportPngError("CImage::LoadPNG", reader);
        return -1;
    }
    if ((h.colourType != PNG_COLOR_TYPE_RGB && h.colourType != PNG_COLOR_TYPE_RGB_ALPHA) || h.bitDepth != 8)
        return -1;
    const int channels = h.colourType == PNG_COLOR_TYPE_RGB ? 3 : 4;
    if (!plausibleSize(h, size, size_t(channels)) || h.rowBytes != size_t(h.width) * size_t(channels))
        return -1;

    // libpng hands over one row at a time, which goes to the sink at once; only an
    // interlaced picture needs all its rows kept until its last pass. A row of an ordinary
    // picture fits on the stack, so a load allocates nothing here.
    uint8_t small[4096];
    std::vector<uint8_t> rows;
    const size_t keptRows = h.passes > 1 ? size_t(h.height) : 1;
    uint8_t* buffer = small;
    if (h.rowBytes * keptRows > sizeof small) {
        try {
            rows.resize(h.rowBytes * keptRows);
        } catch (const std::bad_alloc&) {
            return -2;
        }
        buffer = rows.data();
    }
    if (!sink.begin(int32_t(h.width), int32_t(h.height)))
        return -2;
    const size_t step = keptRows > 1 ? h.rowBytes : 0;
    auto rowAt = [buffer, step](png_uint_32 y) { return buffer + size_t(y) * step; };
    auto done = [&sink, buffer, step, channels](png_uint_32 y) {
        sink.row(int32_t(y), buffer + size_t(y) * step, channels);
    };
    if (!reader.readRows(h, rowAt, done)) {
        reportPngError("CImage::LoadPNG", reader);
        return -1;
    }
    reader.release();
    if (entryToFree)
        freeBlock(*entryToFree);
    return 0;
}

// ---- CImage16 ----

CImage16::~CImage16() = default;

int CImage16::Create(int32_t w, int32_t h)
{
    Free();
    size_t bytes = pixelBlockSize(w, h, 2);
    if (bytes == 0)
        return 0;
    try {
        pixels.resize(bytes);
    } catch (const std::bad_alloc&) {
        Free();
        return 0;
    }
    width = w;
    height = h;
    bitsPerPixel = 16;
    pixelBytes = int32_t(bytes - 1);
    return 1;
}

void CImage16::Free()
{
    if (pixels.empty())
        return;
    std::vector<uint8_t>().swap(pixels);
    width = 0;
    height = 0;
    pixelBytes = 0;
}

void CImage16::Fill(uint16_t value)
{
    for (size_t i = 0; i + 2 <= size_t(pixelBytes); i += 2) {
        pixels[i] = uint8_t(value);
        pixels[i + 1] = uint8_t(value >> 8);
    }
}

int CImage16::LoadPNG16(std::string_view entryName, const CPackArchive& archive)
{
    std::vector<uint8_t> entry;
    int r = readEntry(entryName, archive, entry);
    if (r != 0)
        return r;
    return DecodePNG16(entry.data(), entry.size(), &entry);
}

int CImage16::DecodePNG16(const uint8_t* data, size_t size, std::vector<uint8_t>* entryToFree)
{
    PngMemoryReader reader(data, size);
    if (!reader.ready())
        return -1;
    PngHeader h;
    if (!reader.readHeader(h)) {
        reportPngError("CImage16::LoadPNG16", reader);
        return -1;
    }
    if (h.colourType != PNG_COLOR_TYPE_GRAY || h.bitDepth != 16)
        return -1;
    if (!plausibleSize(h, size, 2))
        return -1;

    if (h.rowBytes != size_t(h.width) * 2)
        return -1;
    Free();
    if (!Create(int32_t(h.width), int32_t(h.height)))
        return -2;
    // The samples' bytes are the texels' bytes: rows go straight into the picture.
    const size_t stride = size_t(width) * 2;
    uint8_t* base = pixels.data();
    auto rowAt = [base, stride](png_uint_32 y) { return base + size_t(y) * stride; };
    if (!reader.readRows(h, rowAt, [](png_uint_32) {})) {
        reportPngError("CImage16::LoadPNG16", reader);
        Free();
        return -1;
    }
    reader.release();
    if (entryToFree)
        freeBlock(*entryToFree);
    return 0;
}
