#include "unitsim/quiettime.h"

#include <algorithm>
#include <thread>

namespace unitsim {

bool QuietTime::requestWaits() const
{
    if (m_link.portInUse.load() == m_port && m_link.LinkState() == kLinkWaiting) return true;
    // A probe of the search waits until its answer has begun to arrive: the test's own tick reads it from there.
    if (m_link.Port(m_port).ring.unread() > 0) return false;
    for (int s = 0; s < 3; ++s) {
        const LinkSlot& slot = m_link.SearchSlot(s);
        if (slot.port == m_port && (slot.state == kSlotSent || slot.state == kSlotSentAgain)) return true;
    }
    return false;
}

bool QuietTime::quiet() const
{
    // Looked at from the program towards the unit and back, so that bytes moving on between two looks are seen
    // at their next place.
    const CCOM& com = m_link.Port(m_port);
    const std::uint8_t state = com.state.load();
    if (com.command.load() != 0 || state == kPortOpening || state == kPortClosing) return false;
    if (state != kPortOpen) return true;  // nothing moves on a closed port, whatever waits for it
    const bool linkOnPort = m_link.portInUse.load() == m_port;
    const int linkState = m_link.LinkState();
    if (linkOnPort && (linkState == kLinkSending || linkState == kLinkRetry)) return false;
    if (com.tx.count.load() != 0) return false;
    if (m_sim == nullptr) return !requestWaits();
    if (m_sim->busy()) return false;
    // Received bytes count while a thread of the link takes them on by itself: the port thread into a ring with
    // room, the protocol thread out of the ring while it waits for an answer. What waits for the test's own
    // tick (the search's answers), or for no one (a full ring between jobs), stops no clock: the tick reads
    // it before the clock moves on by more than a step.
    const bool protocolWaits = linkOnPort && linkState == kLinkWaiting;
    if (m_sim->answerOnLine() && (protocolWaits || com.ring.unread() < kRingSize - 1)) return false;
    if (com.receiving.load()) return false;  // taken off the line, not yet in the ring
    return !(protocolWaits && com.ring.unread() > 0);
}

std::uint32_t QuietTime::take()
{
    const auto now = std::chrono::steady_clock::now();
    const bool isQuiet = quiet();
    if (isQuiet && m_wasQuiet)
        m_pendingUs += std::min(std::chrono::duration_cast<std::chrono::microseconds>(now - m_lastLook).count(),
                                kMaxStepUs);
    m_wasQuiet = isQuiet;
    m_lastLook = now;
    const auto ms = static_cast<std::uint32_t>(m_pendingUs / 1000);
    m_pendingUs %= 1000;
    return ms;
}

bool QuietTime::runUntil(const std::function<void(std::uint32_t quietMs)>& step, const std::function<bool()>& done,
                         int limitMs)
{
    const auto guard = std::chrono::steady_clock::now() +
                       std::max<std::chrono::milliseconds>(std::chrono::seconds(120), std::chrono::milliseconds(limitMs) * 4);
    std::int64_t passed = 0;
    for (;;) {
        const std::uint32_t ms = take();
        passed += ms;
        step(ms);
        if (done()) return true;
        if (passed >= limitMs || std::chrono::steady_clock::now() > guard) return false;
        if (m_sim != nullptr)
            m_seenActivity = m_sim->waitForActivity(m_seenActivity, std::chrono::milliseconds(2));
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(2));  // the timer's pace: no unit here to wake it
    }
}

}  // namespace unitsim
