// Pictures cut into the scene's 256x256 blocks straight from the decoder.
#include "scene/PictureBlocks.h"

#include "core/RunLog.h"
#include "resources/Image.h"

#include <algorithm>
#include <bitset>
#include <cstring>

namespace {

constexpr size_t kRowBytes = size_t(kBlockSide) * 4;
constexpr size_t kMaxBlocks = 12;

struct BlockRows {
    uint8_t* base = nullptr;
    std::ptrdiff_t step = 0;
};

bool openRows(CTEXTURE& t, BlockRows& r)
{
    int pitch = 0;
    r.base = t.beginRows(pitch);
    r.step = pitch;
    return r.base != nullptr;
}
void closeRows(CTEXTURE& t)
{
    t.endRows();
}
// A texture keeps the picture's alpha; a surface's fourth byte holds nothing.
constexpr bool zeroAlpha(const CTEXTURE*)
{
    return false;
}

bool openRows(CSystemSurface_R8G8B8& s, BlockRows& r)
{
    return s.beginRows(r.base, r.step);
}
void closeRows(CSystemSurface_R8G8B8& s)
{
    s.endRows();
}
constexpr bool zeroAlpha(const CSystemSurface_R8G8B8*)
{
    return true;
}

// Writes each decoded row into the blocks its cuts name while the row is in the cache, and
// clears what the picture leaves of a block.
template <class Block, size_t N>
class BlockWriter final : public PngRowSink {
    static_assert(N <= kMaxBlocks);

public:
    BlockWriter(std::array<Block, N>& blocks, const std::vector<BlockCut>& cuts) : blocks_(blocks), cuts_(cuts) {}
    ~BlockWriter() override { close(); }

    bool begin(int32_t width, int32_t height) override
    {
        width_ = width;
        height_ = height;
        // A block without a surface (no device yet) is passed over, as an upload to it is.
        for (size_t b = 0; b < N; ++b)
            opened_[b] = openRows(blocks_[b], rows_[b]);
        return true;
    }

    void row(int32_t y, const uint8_t* pixels, int channels) override
    {
        for (const BlockCut& c : cuts_) {
            if (y < c.sy || y >= c.sy + c.h || !opened_[size_t(c.block)])
                continue;
            const int n = std::clamp(width_ - c.sx, 0, c.w);
            const int dy = y - c.sy + c.dy;
            uint8_t* d = rows_[size_t(c.block)].base + rows_[size_t(c.block)].step * dy;
            pngPixelsToBgra(d, pixels + size_t(c.sx) * size_t(channels), channels, n,
                            zeroAlpha(static_cast<Block*>(nullptr)));
            std::memset(d + size_t(n) * 4, 0, kRowBytes - size_t(n) * 4);
            written_[size_t(c.block)].set(size_t(dy));
            wrote_ = true;
        }
    }

    // The rows no part reached are cleared; the blocks go back to the device.
    void finish()
    {
        for (size_t b = 0; b < N; ++b) {
            if (!opened_[b])
                continue;
            for (int y = 0; y < kBlockSide; ++y)
                if (!written_[b].test(size_t(y)))
                    std::memset(rows_[b].base + rows_[b].step * y, 0, kRowBytes);
        }
        close();
    }

    void close()
    {
        for (size_t b = 0; b < N; ++b)
            if (opened_[b]) {
                closeRows(blocks_[b]);
                opened_[b] = false;
            }
    }

    bool wrote() const { return wrote_; }

private:
    std::array<Block, N>& blocks_;
    const std::vector<BlockCut>& cuts_;
    int32_t width_ = 0, height_ = 0;
    std::array<BlockRows, N> rows_{};
    std::array<bool, N> opened_{};
    std::array<std::bitset<kBlockSide>, N> written_{};
    bool wrote_ = false;
};

// The size of the picture the cuts are made for.
void cutExtent(const std::vector<BlockCut>& cuts, int& width, int& height)
{
    width = height = 0;
    for (const BlockCut& c : cuts) {
        width = std::max(width, c.sx + c.w);
        height = std::max(height, c.sy + c.h);
    }
}

template <class Block, size_t N>
void fillWith(BlockWriter<Block, N>& w, int width, int height, uint32_t argb)
{
    std::vector<uint8_t> line(size_t(std::max(width, 0)) * 4);
    for (size_t i = 0; i < line.size(); i += 4) {
        line[i] = uint8_t(argb >> 16);
        line[i + 1] = uint8_t(argb >> 8);
        line[i + 2] = uint8_t(argb);
        line[i + 3] = uint8_t(argb >> 24);
    }
    w.begin(width, height);
    for (int y = 0; y < height; ++y)
        w.row(y, line.data(), 4);
    w.finish();
}

std::vector<BlockCut> makeBackgroundCuts()
{
    std::vector<BlockCut> cuts;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            cuts.push_back({r * 4 + c, c * kBlockSide, r * kBlockSide, c == 3 ? 32 : kBlockSide, r == 2 ? 88 : kBlockSide, 0});
    return cuts;
}

} // namespace

const std::vector<BlockCut>& backgroundCuts()
{
    static const std::vector<BlockCut> cuts = makeBackgroundCuts();
    return cuts;
}

const std::vector<BlockCut>& characterCuts()
{
    static const std::vector<BlockCut> cuts = {
        {0, 0, 0, 256, 256, 0},   {1, 256, 0, 256, 256, 0}, {2, 0, 256, 256, 256, 0},
        {3, 256, 256, 256, 256, 0}, {4, 0, 512, 256, 96, 0}, {4, 256, 512, 256, 96, 96},
    };
    return cuts;
}

template <class Block, size_t N>
int loadBlocks(std::array<Block, N>& blocks, const std::vector<BlockCut>& cuts, std::string_view entry,
               const CPackArchive& archive, BlockSource& source)
{
    bool damaged = false;
    {
        BlockWriter<Block, N> w(blocks, cuts);
        const int r = LoadPNGRows(entry, archive, w);
        if (r == 0) {
            w.finish();
            source = BlockSource{std::string(entry), 0};
            return 0;
        }
        damaged = w.wrote();
        if (!damaged)
            return r;
    }
    // Part of the new picture is in the blocks: the last one goes back in its place.
    BlockWriter<Block, N> back(blocks, cuts);
    if (!source.entry.empty()) {
        if (LoadPNGRows(source.entry, archive, back) == 0) {
            back.finish();
            return -1;
        }
        back.close();
        // Cleared, as blocks that never had a picture are.
        runLog().appendf(2, "PNG Load failed. -> %s", source.entry.c_str());
        source = BlockSource{};
    }
    int width = 0, height = 0;
    cutExtent(cuts, width, height);
    fillWith(back, width, height, source.fill);
    return -1;
}

template <class Block, size_t N>
void fillBlocks(std::array<Block, N>& blocks, const std::vector<BlockCut>& cuts, int width, int height, uint32_t argb,
                BlockSource& source)
{
    BlockWriter<Block, N> w(blocks, cuts);
    fillWith(w, width, height, argb);
    source = BlockSource{std::string(), argb};
}

template int loadBlocks(std::array<CTEXTURE, 12>&, const std::vector<BlockCut>&, std::string_view,
                        const CPackArchive&, BlockSource&);
template int loadBlocks(std::array<CTEXTURE, 5>&, const std::vector<BlockCut>&, std::string_view, const CPackArchive&,
                        BlockSource&);
template int loadBlocks(std::array<CSystemSurface_R8G8B8, 12>&, const std::vector<BlockCut>&, std::string_view,
                        const CPackArchive&, BlockSource&);
template void fillBlocks(std::array<CTEXTURE, 12>&, const std::vector<BlockCut>&, int, int, uint32_t, BlockSource&);
template void fillBlocks(std::array<CSystemSurface_R8G8B8, 12>&, const std::vector<BlockCut>&, int, int, uint32_t,
                         BlockSource&);
