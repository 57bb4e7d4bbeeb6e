#include "unitsim/pickupsignal.h"

#include <algorithm>
#include <cmath>

namespace unitsim {

namespace {

struct Event
{
    double degrees;  // from the first reference edge
    int input1;      // new level, or -1 unchanged
    int input2;
    int ignition;  // output 1..4 firing at this sample, or 0
};

constexpr double kStartDegrees = -20;

}  // namespace

std::vector<std::uint8_t> PickupSamples(const PickupSignal& s)
{
    const double span = 720.0 / std::max(1, s.cycleDivisor);
    const double end = s.periods * span;
    std::vector<Event> events;
    events.push_back({kStartDegrees, 0, 0, 0});
    for (int k = 0; k < s.periods; ++k) {
        events.push_back({k * span, 1, -1, 0});
        events.push_back({k * span + s.lobeDegrees, 0, -1, 0});
    }
    for (double cycle = span; cycle < end; cycle += 720) {
        events.push_back({cycle + s.camDegrees, -1, 1, 0});
        events.push_back({cycle + s.camDegrees + s.camLobeDegrees, -1, 0, 0});
    }
    for (int n = 0; 180.0 * n - s.advanceDegrees < end; ++n) {
        const double at = 180.0 * n - s.advanceDegrees;
        if (at < kStartDegrees) continue;
        events.push_back({at, -1, -1, n % 4 + 1});
        // The firing is a moment: the next sample, soon after, has the output off again.
        events.push_back({at + 2, -1, -1, 0});
    }
    std::erase_if(events, [end](const Event& e) { return e.degrees >= end; });
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.degrees < b.degrees; });

    const double ticksPerDegree = 60.0 / (s.rpm * 360.0) / s.tickSeconds;
    std::vector<std::uint8_t> bytes;
    int in1 = 0, in2 = 0;
    for (const Event& e : events) {
        if (e.input1 >= 0) in1 = e.input1;
        if (e.input2 >= 0) in2 = e.input2;
        const auto ticks =
            static_cast<std::uint32_t>(s.startTicks + std::llround((e.degrees - kStartDegrees) * ticksPerDegree)) &
            0xFFFFFF;
        // The phase steps at each reference edge: it counts the periods.
        const auto phase = static_cast<std::uint32_t>(static_cast<int>(std::floor(e.degrees / span))) & 3;
        std::uint32_t word = ticks | phase << 24 | static_cast<std::uint32_t>(in1) << 26 |
                             static_cast<std::uint32_t>(in2) << 27;
        if (e.ignition > 0) word |= 1u << (27 + e.ignition);
        for (int b = 0; b < 4; ++b) bytes.push_back(static_cast<std::uint8_t>(word >> (8 * b)));
    }
    return bytes;
}

}  // namespace unitsim
