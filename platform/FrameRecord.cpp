#include "platform/FrameRecord.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace platform {

namespace {

bool sameStates(const RenderStates& a, const RenderStates& b)
{
    return a.alphaBlend == b.alphaBlend && a.textureBlend == b.textureBlend && a.srcBlend == b.srcBlend &&
           a.dstBlend == b.dstBlend && a.magFilter == b.magFilter && a.minFilter == b.minFilter &&
           a.zEnable == b.zEnable;
}

bool sameRect(const Rect& a, const Rect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

RowBand unite(RowBand a, RowBand b)
{
    if (a.empty())
        return b;
    if (b.empty())
        return a;
    return RowBand{std::min(a.top, b.top), std::max(a.bottom, b.bottom)};
}

} // namespace

void FrameRecord::clear()
{
    commands_.clear();
    vertices_.clear();
}

void FrameRecord::addStrip(const RenderStates& states, const Surface* texture, const Vertex* v, int count)
{
    // A frame records hundreds of these (every background tile is one): copied from a blank
    // and filled in place, which costs less than building one and clearing it first.
    static const DrawCommand kBlank;
    DrawCommand& c = commands_.emplace_back(kBlank);
    c.kind = DrawCommand::Kind::Strip;
    c.states = states;
    c.source = texture;
    c.sourceStamp = texture ? texture->version() : 0;
    c.firstVertex = uint32_t(vertices_.size());
    c.vertexCount = uint32_t(count);
    vertices_.insert(vertices_.end(), v, v + count);
}

void FrameRecord::addFill(const Rect& r, uint32_t value)
{
    DrawCommand c;
    c.kind = DrawCommand::Kind::Fill;
    c.dst = r;
    c.value = value;
    commands_.push_back(c);
}

void FrameRecord::addBlit(const Rect& dst, const Surface& src, const Rect& srcRect)
{
    DrawCommand c;
    c.kind = DrawCommand::Kind::Blit;
    c.dst = dst;
    c.src = srcRect;
    c.source = &src;
    c.sourceStamp = src.version();
    commands_.push_back(c);
}

bool FrameRecord::references(const Surface* s) const
{
    return std::any_of(commands_.begin(), commands_.end(), [s](const DrawCommand& c) { return c.source == s; });
}

bool FrameRecord::startsWithCover(int width, int height) const
{
    if (commands_.empty())
        return false;
    const DrawCommand& c = commands_.front();
    if (c.kind == DrawCommand::Kind::Fill)
        return c.dst.left <= 0 && c.dst.top <= 0 && c.dst.right >= width && c.dst.bottom >= height;
    if (c.kind != DrawCommand::Kind::Strip || c.source || c.vertexCount != 4)
        return false;
    const Vertex* v = vertices(c);
    if ((v[0].diffuse >> 24) != 255)
        return false;
    for (int i = 1; i < 4; ++i)
        if (v[i].diffuse != v[0].diffuse)
            return false;
    const RenderStates& st = c.states;
    const bool opaque = !st.alphaBlend ||
                        (st.srcBlend == BlendFactor::SrcAlpha && st.dstBlend == BlendFactor::InvSrcAlpha) ||
                        (st.srcBlend == BlendFactor::One && st.dstBlend == BlendFactor::Zero);
    // An upright rectangle: corners top-left, top-right, bottom-left, bottom-right. A pixel
    // belongs to it when its centre is inside or on the left or top edge.
    const bool upright = v[0].y == v[1].y && v[2].y == v[3].y && v[0].x == v[2].x && v[1].x == v[3].x;
    return opaque && upright && v[0].x <= 0 && v[0].y <= 0 && v[1].x > float(width - 1) &&
           v[2].y > float(height - 1);
}

bool FrameRecord::sameCommand(const DrawCommand& a, const FrameRecord& otherRecord, const DrawCommand& b) const
{
    if (a.kind != b.kind || a.source != b.source || a.sourceStamp != b.sourceStamp)
        return false;
    switch (a.kind) {
    case DrawCommand::Kind::Strip:
        return a.vertexCount == b.vertexCount && sameStates(a.states, b.states) &&
               std::memcmp(vertices(a), otherRecord.vertices(b), sizeof(Vertex) * a.vertexCount) == 0;
    case DrawCommand::Kind::Fill:
        return sameRect(a.dst, b.dst) && a.value == b.value;
    case DrawCommand::Kind::Blit:
        return sameRect(a.dst, b.dst) && sameRect(a.src, b.src);
    }
    return false;
}

bool FrameRecord::sameAs(const FrameRecord& other) const
{
    if (commands_.size() != other.commands_.size())
        return false;
    for (size_t i = 0; i < commands_.size(); ++i)
        if (!sameCommand(commands_[i], other, other.commands_[i]))
            return false;
    return true;
}

RowBand FrameRecord::rowsOf(const DrawCommand& c, int height) const
{
    auto clamped = [height](double top, double bottom) {
        RowBand b{int(std::clamp(top, 0.0, double(height))), int(std::clamp(bottom, 0.0, double(height)))};
        return b;
    };
    switch (c.kind) {
    case DrawCommand::Kind::Strip: {
        if (c.vertexCount < 3)
            return RowBand{};
        const Vertex* v = vertices(c);
        double lo = v[0].y, hi = v[0].y;
        for (uint32_t i = 0; i < c.vertexCount; ++i) {
            if (!std::isfinite(v[i].y) || !std::isfinite(v[i].x))
                return RowBand{0, height};
            lo = std::min(lo, double(v[i].y));
            hi = std::max(hi, double(v[i].y));
        }
        // A row belongs to a shape when its centre does; one row more each way is safe.
        return clamped(std::floor(lo) - 1, std::ceil(hi) + 1);
    }
    case DrawCommand::Kind::Fill:
    case DrawCommand::Kind::Blit:
        return clamped(c.dst.top, c.dst.bottom);
    }
    return RowBand{};
}

RowBand FrameRecord::changedRows(const FrameRecord& other, int height) const
{
    const size_t n = commands_.size(), m = other.commands_.size();
    size_t head = 0;
    while (head < n && head < m && sameCommand(commands_[head], other, other.commands_[head]))
        ++head;
    size_t tail = 0;
    while (tail < n - head && tail < m - head &&
           sameCommand(commands_[n - 1 - tail], other, other.commands_[m - 1 - tail]))
        ++tail;
    RowBand band;
    for (size_t i = head; i < n - tail; ++i)
        band = unite(band, rowsOf(commands_[i], height));
    for (size_t i = head; i < m - tail; ++i)
        band = unite(band, other.rowsOf(other.commands_[i], height));
    return band;
}

} // namespace platform
