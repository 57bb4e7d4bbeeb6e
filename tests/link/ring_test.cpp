#include "link/ring.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
std::size_t fillFrom(ReceiveRing& ring, std::vector<std::uint8_t>& source, std::size_t waiting)
{
    std::size_t at = 0;
    const std::size_t got = ring.fill(waiting, [&](std::span<std::uint8_t> into) {
        const std::size_t n = std::min(into.size(), source.size() - at);
        std::copy_n(source.begin() + static_cast<long>(at), n, into.begin());
        at += n;
        return n;
    });
    source.erase(source.begin(), source.begin() + static_cast<long>(got));
    return got;
}
}  // namespace

TEST(ReceiveRing, HoldsAtMost329AndWrapsAfterPartialConsumption)
{
    ReceiveRing ring;
    std::vector<std::uint8_t> source(1000);
    for (std::size_t i = 0; i < source.size(); ++i) source[i] = static_cast<std::uint8_t>(i);
    EXPECT_EQ(fillFrom(ring, source, 1000), 329u);
    EXPECT_EQ(fillFrom(ring, source, 1000), 0u);  // full: unread bytes are never overwritten
    std::uint8_t b = 0;
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(ring.pop(b));
        EXPECT_EQ(b, static_cast<std::uint8_t>(i));
    }
    EXPECT_EQ(fillFrom(ring, source, 1000), 100u);  // across the wrap: 1 byte at the end, 99 from the start
    EXPECT_EQ(ring.unread(), 329);
    for (int i = 100; i < 429; ++i) {
        ASSERT_TRUE(ring.pop(b));
        EXPECT_EQ(b, static_cast<std::uint8_t>(i));
    }
    EXPECT_FALSE(ring.pop(b));
}

TEST(ReceiveRing, ShortReadStopsThePass)
{
    ReceiveRing ring;
    const std::size_t got = ring.fill(50, [](std::span<std::uint8_t> into) { return into.size() / 2; });
    EXPECT_EQ(got, 25u);
    EXPECT_EQ(ring.unread(), 25);
}

TEST(ReceiveRing, DiscardLeavesTheReaderIndexAlone)
{
    ReceiveRing ring;
    std::vector<std::uint8_t> source(40, 7);
    fillFrom(ring, source, 40);
    std::uint8_t b = 0;
    ASSERT_TRUE(ring.pop(b));
    const int r = ring.readIndex.load();
    ring.discardUnread();
    EXPECT_EQ(ring.readIndex.load(), r);
    EXPECT_FALSE(ring.pop(b));
}
