#pragma once
#include <array>
#include <string>
#include <string_view>

// The voices attached to the current message: a ring of 16 names that the voice player
// walks one per text segment.
struct VoiceQueue {
    static constexpr size_t kSlots = 16;
    static constexpr size_t kNameBytes = 63;

    std::array<std::string, kSlots> names;
    int count = 0;
    int readIndex = 0;
    bool pending = false;

    void clear()
    {
        for (auto& n : names)
            n.clear();
        count = 0;
        readIndex = 0;
        pending = false;
    }
    // A 17th name wraps to the first slot; names are cut to 63 bytes.
    void add(std::string_view name)
    {
        names[size_t(count) % kSlots].assign(name.substr(0, kNameBytes));
        count = (count + 1) % int(kSlots);
    }
};
