#pragma once
#include "graphics/Textures.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CPackArchive;

inline constexpr int kBlockSide = 256;

// One part of a picture in a 256x256 block: the w x h region at (sx, sy) of the picture
// lands at column 0, row dy of block `block`. Whatever of a block no part covers is clear.
struct BlockCut {
    int block, sx, sy, w, h, dy;
};

// What a set of blocks shows, so that a load that fails half-way can put it back: the
// archive entry of its picture or, where none is named, one colour over the cut parts.
struct BlockSource {
    std::string entry;
    uint32_t fill = 0;
};

// An 800x600 background in 4 x 3 blocks, column 3 keeping 32 columns and row 2 88 rows.
const std::vector<BlockCut>& backgroundCuts();
// A 512x608 character: four 256 quarters of the top 512x512 and the bottom 512x96 strip as
// two 256x96 halves stacked in the fifth block.
const std::vector<BlockCut>& characterCuts();

// The entry's picture cut into the blocks as it is decoded, row by row, with no picture in
// between. The result is LoadPNG's; a load that fails after writing rows puts the source
// back (black, logged, when that picture cannot be read any more). On success the entry
// becomes the source.
template <class Block, size_t N>
int loadBlocks(std::array<Block, N>& blocks, const std::vector<BlockCut>& cuts, std::string_view entry,
               const CPackArchive& archive, BlockSource& source);
// A picture of width x height in one colour, cut into the blocks; it becomes the source.
template <class Block, size_t N>
void fillBlocks(std::array<Block, N>& blocks, const std::vector<BlockCut>& cuts, int width, int height, uint32_t argb,
                BlockSource& source);
