// Typing allocates nothing: the program's allocations are counted around a whole line.
#include "TypingTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t n)
{
    ++allocations;
    if (void* p = std::malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t n)
{
    return operator new(n);
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete[](void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}

TEST(TypingEngine, TypingALineAllocatesNothing)
{
    using namespace typingtest;
    TypingLine l = line("きょうはいいてんきっしゃじゃんな○", "KYOUHAIITENKISSYAZYANNNA?");
    // The tables are built on first use, before the line starts.
    prepareKanaTables();
    const char* keys = "KYOUHAIITENNKISSHAJANNNAQ";
    const long before = allocations.load();
    for (const char* k = keys; *k; ++k) {
        ProcessTypingKeys(l, keyBit(*k));
        TickTypingLine(l, 16);
    }
    const long after = allocations.load();
    EXPECT_TRUE(l.LineDone);
    EXPECT_EQ(l.MistypeCount, 0);
    EXPECT_EQ(after - before, 0);
}
