#pragma once
// Time for tests that run the program's link against the simulated unit: the link clock moves with real time,
// but only over spans in which the whole line was quiet. Time that a loaded machine spends carrying, reading or
// answering a request then never makes the unit look late and never costs a try; a unit that stays silent, or
// a fault that delays an answer on purpose, still lets the time-outs run as they would.
#include <chrono>
#include <cstdint>
#include <functional>

#include "link/comcom.h"
#include "unitsim/unitsim.h"

namespace unitsim {

class QuietTime final
{
public:
    // At most this much is counted between two looks, so a test thread that the machine held up for a while
    // does not jump the clock over a request sent meanwhile.
    static constexpr std::int64_t kMaxStepUs = 10'000;

    QuietTime(UnitSim& sim, const CCOMCOM& link, int port) : m_sim(&sim), m_link(link), m_port(port) {}
    // A unit in a process of its own, which cannot tell when it works: the clock then stands while a request of
    // the program waits for its answer, so that no answer is ever late; only a line that goes away ends a wait.
    QuietTime(const CCOMCOM& link, int port) : m_sim(nullptr), m_link(link), m_port(port) {}

    // Nothing on its way between the program and the unit on the port: no port opening or closing, no frame
    // being handed out or written, the unit idle, and nothing received that the link's threads still carry on
    // (without the simulator at hand: no request waiting for its answer).
    [[nodiscard]] bool quiet() const;
    // Quiet milliseconds since the last call.
    [[nodiscard]] std::uint32_t take();
    // Runs step(quiet milliseconds) until done() or until limitMs of quiet time have passed; between steps it
    // waits for the unit to act, at most a few milliseconds. A hang guard of real time ends a line that never
    // gets quiet. False when done() never held.
    bool runUntil(const std::function<void(std::uint32_t quietMs)>& step, const std::function<bool()>& done,
                  int limitMs);

private:
    [[nodiscard]] bool requestWaits() const;

    UnitSim* m_sim;
    const CCOMCOM& m_link;
    int m_port;
    bool m_wasQuiet = false;
    std::chrono::steady_clock::time_point m_lastLook{};
    std::int64_t m_pendingUs = 0;
    std::uint64_t m_seenActivity = 0;
};

}  // namespace unitsim
