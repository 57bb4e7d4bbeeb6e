// The pickup sample path: byte-exact sample blocks into the ring, and the ring's samples into points over crank
// angle or time. Expected positions are worked out by hand from the tick counts.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "monitors/pickup.h"

namespace {

// A sample word: ticks, reference phase, input levels, ignition outputs (bit n-1 for output n).
std::uint32_t W(std::uint32_t ticks, std::uint32_t phase, std::uint32_t in1 = 0, std::uint32_t in2 = 0,
                std::uint32_t ignitions = 0)
{
    return (ticks & 0xFFFFFF) | phase << 24 | in1 << 26 | in2 << 27 | ignitions << 28;
}

constexpr std::size_t kBlockBytes = kPickupMaxBytes;

std::unique_ptr<PickupSampleBlock> Block(int type, int divisor, const std::vector<std::uint32_t>& words)
{
    EXPECT_LE(4 * words.size(), kBlockBytes);
    auto block = std::make_unique<PickupSampleBlock>();
    block->type = static_cast<std::uint8_t>(type);
    block->cycleDivisor = static_cast<std::uint8_t>(divisor);
    for (std::size_t i = 0; i < words.size(); ++i)
        for (std::size_t b = 0; b < 4; ++b) block->data[4 * i + b] = static_cast<std::uint8_t>(words[i] >> (8 * b));
    block->expectedLength = block->receivedLength = static_cast<std::uint16_t>(4 * words.size());
    return block;
}

std::vector<double> Positions(const PickupTrace& t)
{
    std::vector<double> out;
    for (int i = 0; i < t.pointCount; ++i) out.push_back(t.points[static_cast<std::size_t>(i)].position);
    return out;
}

double Rpm(double periodTicks, int span)
{
    return 60.0 / (periodTicks * 7.234e-7) * span / 360.0;
}

struct Analysed
{
    std::unique_ptr<PickupRing> ring = std::make_unique<PickupRing>();
    PickupTrace trace;
    int mode = -1;
};

Analysed TakeAndAnalyse(int type, int divisor, const std::vector<std::uint32_t>& words, int writeAt = 0)
{
    Analysed a;
    a.ring->read = a.ring->write = writeAt;
    EXPECT_TRUE(TakePickupBlock(*a.ring, a.mode, *Block(type, divisor, words)));
    if (a.mode == kPickupModeAngle)
        AnalysePickupEdges(*a.ring, a.trace);
    else
        BuildPickupCurve(*a.ring, a.trace);
    return a;
}

}  // namespace

TEST(PickupBlock, TakenIntoTheRing)
{
    struct Case
    {
        const char* name;
        int type;
        int bytes;  // received length (samples are its fourths)
        int read, write;
        bool taken;
        int mode;  // after; was -1
        int readAfter, writeAfter;
    };
    const Case cases[] = {
        {"angle", 1, 12, 5, 7, true, kPickupModeAngle, 7, 10},
        {"time", 2, 12, 5, 7, true, kPickupModeTime, 7, 10},
        {"type_3_left_out", 3, 12, 5, 7, false, -1, 5, 7},
        {"no_block", 0, 12, 5, 7, false, -1, 5, 7},
        {"partial_word_dropped", 1, 10, 0, 0, true, kPickupModeAngle, 0, 2},
        {"empty", 1, 0, 3, 3, true, kPickupModeAngle, 3, 3},
        // Across the ring's end: three samples at 9998, 9999 and 0.
        {"wraps_past_the_end", 2, 12, 9998, 9998, true, kPickupModeTime, 9998, 1},
        // A count beyond the block's room is cut at its 15000 bytes.
        {"count_beyond_the_block", 1, 65535, 0, 0, true, kPickupModeAngle, 0, 3750},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto ring = std::make_unique<PickupRing>();
        ring->read = c.read;
        ring->write = c.write;
        auto block = Block(c.type, 4, {W(1, 0), W(2, 1, 1), W(3, 2, 0, 1, 0xF)});
        block->receivedLength = static_cast<std::uint16_t>(c.bytes);
        int mode = -1;
        EXPECT_EQ(TakePickupBlock(*ring, mode, *block), c.taken);
        EXPECT_EQ(mode, c.mode);
        EXPECT_EQ(ring->read, c.readAfter);
        EXPECT_EQ(ring->write, c.writeAfter);
        if (c.taken && c.bytes == 12) {
            // Little-endian words: ticks 3, phase 2, input 2 high, all four outputs firing.
            EXPECT_EQ(ring->words[static_cast<std::size_t>(c.write)], 0x00000001u);
            EXPECT_EQ(ring->words[static_cast<std::size_t>((c.write + 2) % kPickupRingSize)], 0xFA000003u);
            EXPECT_EQ(ring->cycleDivisor, 4);
        }
    }
}

TEST(PickupBlock, ANewBlockDropsWhatWasNotAnalysed)
{
    // Two blocks between two analyses: only the later one is seen. A ring nearly full keeps it whole.
    auto ring = std::make_unique<PickupRing>();
    ring->read = 100;
    ring->write = 9990;
    int mode = -1;
    ASSERT_TRUE(TakePickupBlock(*ring, mode, *Block(1, 4, {W(10, 0), W(20, 1), W(30, 2)})));
    ASSERT_TRUE(TakePickupBlock(*ring, mode, *Block(1, 4, {W(0, 0), W(100, 1), W(200, 2), W(300, 2)})));
    EXPECT_EQ(ring->read, 9993);
    EXPECT_EQ(ring->write, 9997);
    PickupTrace trace;
    AnalysePickupEdges(*ring, trace);
    // Two edges, period 100: the later block alone.
    EXPECT_EQ(Positions(trace), (std::vector<double>{-180, 0, 180, 360, 0, 180}));
}

TEST(PickupAngle, PointsOverCrankAngle)
{
    constexpr int kSpan = 180;  // cycle divisor 4
    struct Case
    {
        const char* name;
        std::vector<std::uint32_t> words;
        std::vector<double> positions;  // the closing points 0 and span included
        double rpm;
    };
    const Case cases[] = {
        // Edges at 100, 200 (period 100), 400 (200), 500 (100): each period scaled by its own duration, from edge
        // 1 (-span) to before edge 4; the speed from the third edge's period.
        {"four_edges",
         {W(50, 0), W(100, 1), W(150, 1), W(200, 2), W(300, 2), W(400, 3), W(450, 3), W(500, 0), W(600, 0)},
         {-180, -90, 0, 90, 180, 270, 0, kSpan},
         Rpm(200, kSpan)},
        // Without a fourth edge the walk ends at the third.
        {"three_edges",
         {W(50, 0), W(100, 1), W(150, 1), W(200, 2), W(300, 2), W(400, 3), W(450, 3)},
         {-180, -90, 0, 90, 0, kSpan},
         Rpm(200, kSpan)},
        // Two edges: from the first sample, the second edge's period for all; the first edge lies at 0.
        {"two_edges",
         {W(50, 0), W(100, 1), W(150, 1), W(200, 2), W(250, 2)},
         {-90, 0, 90, 180, 270, 0, kSpan},
         Rpm(100, kSpan)},
        // The timer wraps past 2^24 inside the block: the same picture as without the wrap.
        {"ticks_wrap",
         {W(0xFFFFFF - 49, 0), W(0xFFFFFF, 1), W(50 - 1, 1), W(100 - 1, 2), W(200 - 1, 2), W(300 - 1, 3),
          W(350 - 1, 3), W(400 - 1, 0)},
         {-180, -90, 0, 90, 180, 270, 0, kSpan},
         Rpm(200, kSpan)},
        // Damaged data: two edges at the same tick count. No endless speed, and no points from a zero period.
        {"equal_ticks_at_the_edges",
         {W(50, 0), W(100, 1), W(100, 2), W(150, 2)},
         {0, kSpan},
         0},
        // Flags carry the sample's bits 24-31.
        {"ignition_and_inputs",
         {W(0, 0), W(100, 1, 1, 0, 0b0101), W(200, 2, 0, 1)},
         {-180, 0, 180, 0, kSpan},
         Rpm(100, kSpan)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Analysed a = TakeAndAnalyse(1, 4, c.words);
        EXPECT_EQ(Positions(a.trace), c.positions);
        EXPECT_DOUBLE_EQ(a.trace.rpm, c.rpm);
        EXPECT_EQ(a.trace.span, kSpan);
        EXPECT_EQ(a.trace.redraw, 1);
        EXPECT_EQ(a.ring->read, a.ring->write);
        const int n = a.trace.pointCount;
        ASSERT_GE(n, 2);
        EXPECT_EQ(a.trace.points[static_cast<std::size_t>(n - 2)].flags, kPointAtZero);
        EXPECT_EQ(a.trace.points[static_cast<std::size_t>(n - 1)].flags, kPointAtSpan);
    }
    Analysed a = TakeAndAnalyse(1, 4, cases[5].words);
    EXPECT_EQ(a.trace.points[1].flags, 1u | kPointInput1 | 0x50u);
    EXPECT_EQ(a.trace.points[2].flags, 2u | kPointInput2);
}

TEST(PickupAngle, CycleDivisorAndRange)
{
    struct Case
    {
        int divisor;
        int span;
        double xMin, xMax;
    };
    // 0 is taken as 1 and above 16 as 16; the range is a sixth of the span beyond each end.
    for (const Case& c : {Case{0, 720, -120, 840}, Case{2, 360, -60, 420}, Case{4, 180, -30, 210},
                          Case{16, 45, -7, 52}, Case{20, 45, -7, 52}}) {
        SCOPED_TRACE(c.divisor);
        auto ring = std::make_unique<PickupRing>();
        ring->cycleDivisor = c.divisor;
        PickupTrace trace;
        AnalysePickupEdges(*ring, trace);  // no samples: the range is set all the same
        EXPECT_EQ(trace.span, c.span);
        EXPECT_EQ(trace.xMin, c.xMin);
        EXPECT_EQ(trace.xMax, c.xMax);
        EXPECT_EQ(trace.redraw, 0);
        EXPECT_EQ(ring->cycleDivisor, std::clamp(c.divisor, 1, 16));
    }
}

TEST(PickupAngle, WithoutTwoEdgesThePreviousPointsStay)
{
    Analysed a = TakeAndAnalyse(1, 4, {W(50, 0), W(100, 1), W(200, 2)});
    const std::vector<double> before = Positions(a.trace);
    a.trace.redraw = 0;
    int mode = 0;
    ASSERT_TRUE(TakePickupBlock(*a.ring, mode, *Block(1, 4, {W(300, 2), W(400, 3), W(500, 3)})));
    AnalysePickupEdges(*a.ring, a.trace);
    EXPECT_EQ(Positions(a.trace), before);
    EXPECT_EQ(a.trace.redraw, 0);
    EXPECT_NE(a.ring->read, a.ring->write);  // left unread
}

TEST(PickupAngle, PointTableKeepsRoomForTheClosingPoints)
{
    // 900 samples in each period: far more than the table holds.
    std::vector<std::uint32_t> words;
    for (std::uint32_t phase = 0; phase < 4; ++phase)
        for (std::uint32_t i = 0; i < 900; ++i) words.push_back(W(phase * 900 + i, phase));
    // The unread run starts near the ring's end and wraps.
    Analysed a = TakeAndAnalyse(1, 4, words, 9000);
    ASSERT_EQ(a.trace.pointCount, kPickupPointCount);
    EXPECT_EQ(a.trace.points[0].position, -180);  // edge 1
    EXPECT_NEAR(a.trace.points[597].position, -180 + 597 * 0.2, 1e-9);
    EXPECT_EQ(a.trace.points[598].flags, kPointAtZero);
    EXPECT_EQ(a.trace.points[599].flags, kPointAtSpan);
}

TEST(PickupTime, PointsOverTimeFromTheRiseOfInput2)
{
    struct Case
    {
        const char* name;
        std::vector<std::uint32_t> words;
        std::vector<double> positions;  // ms, 0.5 us ticks
        double xMax;                    // ms: twice the span of the data, plus 1
    };
    const Case cases[] = {
        {"rise_of_input_2", {W(1000, 0), W(3000, 0, 0, 1), W(4000, 0), W(5000, 0, 0, 1), W(9000, 0)},
         {-1.0, 0, 0.5, 1.0, 3.0}, 9},
        // High from the first sample: that is no rise; the next one is.
        {"high_at_the_start", {W(1000, 0, 0, 1), W(2000, 0), W(4000, 0, 0, 1)}, {-1.5, -1.0, 0}, 4},
        {"no_rise", {W(1000, 0), W(3000, 0, 1), W(5000, 0)}, {0, 1.0, 2.0}, 5},
        {"ticks_wrap", {W(0xFFFFFF - 999, 0), W(1000, 0, 0, 1), W(2000, 0)}, {-1.0, 0, 0.5}, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Analysed a = TakeAndAnalyse(2, 4, c.words);
        EXPECT_EQ(a.mode, kPickupModeTime);
        EXPECT_EQ(Positions(a.trace), c.positions);
        EXPECT_EQ(a.trace.xMin, 0);
        EXPECT_EQ(a.trace.xMax, c.xMax);
        EXPECT_EQ(a.trace.rpm, 0);
        EXPECT_EQ(a.trace.redraw, 1);
        EXPECT_EQ(a.ring->read, a.ring->write);
    }
}

TEST(PickupTime, NothingNewLeavesThePicture)
{
    Analysed a = TakeAndAnalyse(2, 4, {W(1000, 0), W(3000, 0, 0, 1)});
    a.trace.redraw = 0;
    const double xMax = a.trace.xMax;
    BuildPickupCurve(*a.ring, a.trace);
    EXPECT_EQ(a.trace.xMax, xMax);
    EXPECT_EQ(a.trace.pointCount, 2);
    EXPECT_EQ(a.trace.redraw, 0);
}
