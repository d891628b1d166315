// Arbitrary strips, states and textures into the rasteriser: it never writes outside the
// back buffer (AddressSanitizer watches) and never hangs on absurd coordinates.
#include "platform/Rasteriser.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

template <class T>
bool take(const uint8_t*& p, size_t& n, T& out)
{
    if (n < sizeof(T))
        return false;
    std::memcpy(&out, p, sizeof(T));
    p += sizeof(T);
    n -= sizeof(T);
    return true;
}

constexpr platform::BlendFactor kFactors[] = {platform::BlendFactor::Zero, platform::BlendFactor::One,
                                              platform::BlendFactor::SrcAlpha, platform::BlendFactor::InvSrcAlpha};
constexpr platform::PixelFormat kFormats[] = {platform::PixelFormat::A8R8G8B8, platform::PixelFormat::X8R8G8B8,
                                              platform::PixelFormat::A4R4G4B4, platform::PixelFormat::R5G6B5};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static platform::Surface target(64, 48, platform::PixelFormat::X8R8G8B8);
    uint8_t cfg[4];
    if (!take(data, size, cfg))
        return 0;
    platform::RenderStates st;
    st.alphaBlend = cfg[0] & 1;
    st.textureBlend = (cfg[0] & 2) ? platform::TextureBlend::Modulate : platform::TextureBlend::ModulateAlpha;
    st.srcBlend = kFactors[cfg[1] & 3];
    st.dstBlend = kFactors[(cfg[1] >> 2) & 3];
    const int tw = 1 + (cfg[2] & 15), th = 1 + (cfg[2] >> 4);
    platform::Surface tex(tw, th, kFormats[cfg[3] & 3]);
    const bool textured = cfg[3] & 4;
    const size_t texBytes = std::min(size, size_t(tex.pitch()) * size_t(th));
    std::memcpy(tex.data(), data, texBytes);
    tex.touch();
    data += texBytes;
    size -= texBytes;
    platform::Vertex v[8];
    int count = 0;
    while (count < 8 && take(data, size, v[count]))
        ++count;
    platform::raster::drawStrip(target, textured ? &tex : nullptr, st, v, count);
    platform::Rect r{int(cfg[1]) - 128, int(cfg[2]) - 128, int(cfg[3]) - 100, int(cfg[0]) - 100};
    platform::raster::blit(target, r, tex, platform::Rect{0, 0, tw, th});
    platform::raster::fill(target, r, 0x12345678u);
    return 0;
}
