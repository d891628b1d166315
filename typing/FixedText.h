#pragma once
// A NUL-terminated byte string in a fixed buffer: the typing line's texts live in these so
// that nothing is allocated while the player types.
#include "platform/Text.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

template <size_t N>
class FixedText {
public:
    static constexpr size_t kCapacity = N - 1;

    void clear()
    {
        size_ = 0;
        data_[0] = '\0';
    }
    // False when the buffer is full; the text is then unchanged.
    bool push(char c)
    {
        if (size_ >= kCapacity)
            return false;
        data_[size_++] = c;
        data_[size_] = '\0';
        return true;
    }
    void pop()
    {
        if (size_ > 0)
            data_[--size_] = '\0';
    }
    // Drops the first n bytes (all of them when n is larger).
    void eraseFront(size_t n)
    {
        n = n < size_ ? n : size_;
        std::memmove(data_, data_ + n, size_ - n + 1);
        size_ -= n;
    }
    // Puts text before the current contents, as far as it fits.
    void prepend(std::string_view text)
    {
        size_t n = text.size() < kCapacity - size_ ? text.size() : kCapacity - size_;
        std::memmove(data_ + n, data_, size_ + 1);
        std::memcpy(data_, text.data(), n);
        size_ += n;
    }
    // Takes text, cut at the last whole Shift-JIS character that fits (never between a lead
    // byte and its trail byte). True when something was cut off.
    bool assign(std::string_view text)
    {
        size_t n = 0;
        while (n < text.size()) {
            const size_t len = platform::isSjisLead(uint8_t(text[n])) && n + 1 < text.size() ? 2 : 1;
            if (n + len > kCapacity)
                break;
            n += len;
        }
        std::memcpy(data_, text.data(), n);
        size_ = n;
        data_[size_] = '\0';
        return n < text.size();
    }

    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    char operator[](size_t i) const { return data_[i]; }
    char back() const { return size_ ? data_[size_ - 1] : '\0'; }
    const char* c_str() const { return data_; }
    std::string_view view() const { return std::string_view(data_, size_); }

private:
    char data_[N] = {};
    size_t size_ = 0;
};
