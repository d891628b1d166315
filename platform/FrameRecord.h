#pragma once
#include "platform/Video.h"

#include <cstdint>
#include <vector>

namespace platform {

// One drawing call into the back buffer, as the device was asked for it: enough to draw it
// again and to tell whether a later call would draw exactly the same. Pictures are named by
// their address and their content stamp, which no other content of any surface ever gets.
struct DrawCommand {
    enum class Kind : uint8_t { Strip, Fill, Blit };
    Kind kind = Kind::Strip;
    RenderStates states;           // strips
    const Surface* source = nullptr; // the strip's texture or the blit's source; null untextured
    uint64_t sourceStamp = 0;
    uint32_t firstVertex = 0, vertexCount = 0;
    Rect dst, src;                 // fills and blits
    uint32_t value = 0;            // fills
};

// Pixel rows [top, bottom) of the back buffer.
struct RowBand {
    int top = 0, bottom = 0;
    bool empty() const { return bottom <= top; }
};

// The drawing of one frame, in order.
class FrameRecord {
public:
    void clear();
    bool empty() const { return commands_.empty(); }
    size_t size() const { return commands_.size(); }

    void addStrip(const RenderStates& states, const Surface* texture, const Vertex* v, int count);
    void addFill(const Rect& r, uint32_t value);
    void addBlit(const Rect& dst, const Surface& src, const Rect& srcRect);

    const DrawCommand& command(size_t i) const { return commands_[i]; }
    const Vertex* vertices(const DrawCommand& c) const { return vertices_.data() + c.firstVertex; }
    bool references(const Surface* s) const;

    // True when the first call paints every pixel of a width x height target with one
    // opaque colour, so the frame's picture does not depend on what was there before.
    bool startsWithCover(int width, int height) const;

    // Same calls in the same order with the same pictures.
    bool sameAs(const FrameRecord& other) const;

    // The rows where this frame's picture may differ from other's (both drawn from a
    // cover): the rows any call outside their common beginning and end can reach.
    RowBand changedRows(const FrameRecord& other, int height) const;

    // The rows a call may write, clamped to [0, height); empty for a call that cannot draw.
    RowBand rowsOf(const DrawCommand& c, int height) const;

private:
    bool sameCommand(const DrawCommand& a, const FrameRecord& otherRecord, const DrawCommand& b) const;

    std::vector<DrawCommand> commands_;
    std::vector<Vertex> vertices_;
};

} // namespace platform
