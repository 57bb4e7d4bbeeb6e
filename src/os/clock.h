#pragma once
// Clocks of the program. Both are injectable: the link clock is set by whoever drives it (the main timer in the
// program, the test itself in tests), and the millisecond clock is a function the owner can replace.
#include <atomic>
#include <cstdint>
#include <functional>

namespace os {

// The link clock TMR: nominal milliseconds, 50 for each tick of the main timer. Written by one thread (the
// main timer), read by the link threads. It is unsigned and wraps; measure spans with elapsed().
class LinkClock final {
public:
    [[nodiscard]] std::uint32_t now() const noexcept { return m_tmr.load(std::memory_order_acquire); }
    void set(std::uint32_t tmr) noexcept { m_tmr.store(tmr, std::memory_order_release); }
    void advance(std::uint32_t by) noexcept { set(now() + by); }
    // Time since `then`, correct across the wrap as long as the span is under 2^31.
    [[nodiscard]] static std::uint32_t elapsed(std::uint32_t now, std::uint32_t then) noexcept { return now - then; }

private:
    std::atomic<std::uint32_t> m_tmr{0};
};

// Milliseconds of a monotonic clock.
using MsClock = std::function<std::int64_t()>;
[[nodiscard]] std::int64_t steadyMs();
[[nodiscard]] MsClock steadyMsClock();
// Milliseconds since 1970 (the wall clock, for times of day that files show).
[[nodiscard]] std::int64_t wallMs();

}  // namespace os
