#include "monitors/pickup.h"

#include <algorithm>

namespace {

// Walks the unread samples in order, with their tick counts unwrapped past 2^24. Positions are virtual indexes:
// when the unread run wraps past the ring's end, the walk starts below 0 (read - ring size).
class UnreadWalk final
{
public:
    explicit UnreadWalk(const PickupRing& ring)
        : m_ring(ring), m_index(ring.read > ring.write ? ring.read - kPickupRingSize : ring.read)
    {
    }
    [[nodiscard]] bool done() const { return m_index >= m_ring.write; }
    [[nodiscard]] int index() const { return m_index; }
    [[nodiscard]] std::uint32_t word() const
    {
        return m_ring.words[static_cast<std::size_t>(m_index < 0 ? m_index + kPickupRingSize : m_index)];
    }
    // The unwrapped ticks of the current sample; call once per sample, in order.
    std::int64_t ticks()
    {
        std::int64_t t = (word() & kSampleTickMask) + m_wraps;
        // A count below the previous one has wrapped; samples far apart may have wrapped more than once.
        while (m_started && t < m_previous) {
            m_wraps += kSampleTickWrap;
            t += kSampleTickWrap;
        }
        m_started = true;
        m_previous = t;
        return t;
    }
    void next() { ++m_index; }

private:
    const PickupRing& m_ring;
    int m_index;
    std::int64_t m_wraps = 0;
    std::int64_t m_previous = 0;
    bool m_started = false;
};

std::uint32_t pointFlags(std::uint32_t word)
{
    return word >> kSamplePhaseShift;
}

int phaseOf(std::uint32_t word)
{
    return static_cast<int>(pointFlags(word) & kPointPhase);
}

// Room for sample points while the two closing points still fit.
bool roomForSample(const PickupTrace& trace)
{
    return trace.pointCount < kPickupPointCount - 2;
}

void addPoint(PickupTrace& trace, double position, std::uint32_t flags)
{
    if (trace.pointCount >= kPickupPointCount) return;
    trace.points[static_cast<std::size_t>(trace.pointCount++)] = {position, flags};
}

struct Edge
{
    int index = 0;             // virtual ring index of the sample where the phase changed
    std::int64_t ticks = 0;    // its unwrapped ticks
    std::int64_t period = 0;   // ticks since the edge before it (meaningless for the first)
};

}  // namespace

bool TakePickupBlock(PickupRing& ring, int& displayMode, const PickupSampleBlock& block)
{
    if (block.type == kPickupTypeAngle)
        displayMode = kPickupModeAngle;
    else if (block.type == kPickupTypeTime)
        displayMode = kPickupModeTime;
    else
        return false;
    ring.read = ring.write;
    // The count comes from the unit: never more than the block holds.
    const int bytes = std::min<int>(block.receivedLength, kPickupMaxBytes);
    for (int i = 0; i + 4 <= bytes; i += 4) {
        const auto at = static_cast<std::size_t>(i);
        const std::uint32_t word = block.data[at] | (block.data[at + 1] << 8) | (block.data[at + 2] << 16) |
                                   (static_cast<std::uint32_t>(block.data[at + 3]) << 24);
        ring.words[static_cast<std::size_t>(ring.write)] = word;
        ring.write = (ring.write + 1) % kPickupRingSize;
        if (ring.write == ring.read) ring.read = (ring.read + 1) % kPickupRingSize;
    }
    ring.cycleDivisor = block.cycleDivisor;
    return true;
}

void AnalysePickupEdges(PickupRing& ring, PickupTrace& trace)
{
    ring.cycleDivisor = std::clamp(ring.cycleDivisor, 1, 16);
    const int span = 720 / ring.cycleDivisor;
    trace.span = span;
    trace.xMin = -(span / 6);
    trace.xMax = span + span / 6;
    if (ring.read == ring.write) return;

    std::array<Edge, 4> edges{};
    int edgeCount = 0;
    {
        UnreadWalk walk(ring);
        int previousPhase = -1;
        for (; !walk.done() && edgeCount < 4; walk.next()) {
            const std::int64_t t = walk.ticks();
            const int phase = phaseOf(walk.word());
            if (previousPhase >= 0 && phase != previousPhase) {
                const std::int64_t period = edgeCount > 0 ? t - edges[static_cast<std::size_t>(edgeCount - 1)].ticks : 0;
                edges[static_cast<std::size_t>(edgeCount++)] = {walk.index(), t, period};
            }
            previousPhase = phase;
        }
    }
    if (edgeCount < 2) return;

    // Equal tick counts at two edges (damaged data) would give an endless speed: shown as 0 instead.
    const std::int64_t period = edges[edgeCount >= 3 ? 2 : 1].period;
    trace.rpm = period > 0 ? 60.0 / (static_cast<double>(period) * kAngleTickSeconds) * span / 360.0 : 0.0;

    trace.pointCount = 0;
    UnreadWalk walk(ring);
    int count = 0;
    int next = 0;  // the next edge to meet
    std::int64_t lastEdge = edges[0].ticks;
    std::int64_t divisor = edges[1].period;
    for (; !walk.done() && roomForSample(trace); walk.next()) {
        const std::int64_t t = walk.ticks();
        if (next < edgeCount && walk.index() == edges[static_cast<std::size_t>(next)].index) {
            count = ++next;
            lastEdge = t;
            if (edgeCount >= 3) {
                // Each period is scaled by its own duration; after the last edge with a known period, stop.
                if (count == 4 || (count == 3 && edgeCount == 3)) break;
                divisor = edges[static_cast<std::size_t>(count)].period;
            }
        }
        if (divisor == 0) continue;
        double position = static_cast<double>(t - lastEdge) / static_cast<double>(divisor) * span;
        if (edgeCount >= 3) {
            if (count == 0) continue;  // before the first edge
            position += (count - 2) * span;
        } else if (count >= 2) {
            position += span;
        }
        addPoint(trace, position, pointFlags(walk.word()));
    }
    ring.read = ring.write;
    addPoint(trace, 0, kPointAtZero);
    addPoint(trace, span, kPointAtSpan);
    trace.redraw = 1;
}

void BuildPickupCurve(PickupRing& ring, PickupTrace& trace)
{
    // Without new samples the range stays: the words at the indexes are then no samples of the last block.
    if (ring.read == ring.write) return;
    const int last = (ring.write + kPickupRingSize - 1) % kPickupRingSize;
    std::int64_t ticksSpan = static_cast<std::int64_t>(ring.words[static_cast<std::size_t>(last)] & kSampleTickMask) -
                             (ring.words[static_cast<std::size_t>(ring.read)] & kSampleTickMask);
    if (ticksSpan < 0) ticksSpan += kSampleTickWrap;
    trace.xMin = 0;
    trace.xMax = static_cast<double>(ticksSpan * 2 / 2000 + 1);

    std::int64_t trigger = 0;
    {
        UnreadWalk walk(ring);
        trigger = walk.ticks();
        bool previousHigh = (walk.word() & kSampleInput2) != 0;
        for (walk.next(); !walk.done(); walk.next()) {
            const std::int64_t t = walk.ticks();
            const bool high = (walk.word() & kSampleInput2) != 0;
            if (high && !previousHigh) {
                trigger = t;
                break;
            }
            previousHigh = high;
        }
    }

    trace.rpm = 0;
    trace.pointCount = 0;
    for (UnreadWalk walk(ring); !walk.done() && trace.pointCount < kPickupPointCount; walk.next())
        addPoint(trace, static_cast<double>(walk.ticks() - trigger) * kTimeTickMs, pointFlags(walk.word()));
    ring.read = ring.write;
    trace.redraw = 1;
}
