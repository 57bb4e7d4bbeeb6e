#pragma once
// A link object against the simulated unit on a pseudo-terminal (COM 200), with the link clock following real
// milliseconds and the main-thread tick run by the test until a condition holds or a generous time-out passes.
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "link/comcom.h"
#include "unitsim/unitsim.h"

struct Status
{
    int slot;
    std::string text;
    int durationMs;
    std::uint32_t back;
    int priority;
};

class LinkRig
{
public:
    static constexpr int kCom = 200;

    explicit LinkRig(unitsim::UnitConfig config)
        : sim(std::make_unique<unitsim::UnitSim>(std::move(config))), m_start(std::chrono::steady_clock::now())
    {
        const std::string path = sim->slavePath();
        tmr.set(kTmrStart);
        link = std::make_unique<CCOMCOM>(tmr, [path] { return os::ComPortMap{{kCom, path}}; });
        link->FillProtocolSlots(IGN300, 115200, 175);
        link->hooks.showStatus = [this](int slot, const std::string& text, int durationMs, std::uint32_t,
                                        std::uint32_t back, int priority) {
            statuses.push_back({slot, text, durationMs, back, priority});
        };
    }

    // Ticks the link every few milliseconds until done() or timeoutMs of real time; false on the time-out.
    bool runUntil(const std::function<bool()>& done, int timeoutMs = 5000)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (std::chrono::steady_clock::now() < deadline) {
            tmr.set(kTmrStart + static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                               std::chrono::steady_clock::now() - m_start)
                                                               .count()));
            link->Tick();
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }
    bool connect(int timeoutMs = 8000)
    {
        return runUntil([&] { return link->portInUse.load() == kCom && link->LinkState() == kLinkReady; }, timeoutMs);
    }
    // Runs a job to its result (136 or 132) and takes the result; 0 when it never ended.
    int runJob(int code, int start, int length, int flags, int timeoutMs = 8000)
    {
        if (!runUntil([&] { return link->JobField() == 0; }, timeoutMs) || !link->StartJob(code, start, length, flags))
            return -1;
        int result = 0;
        runUntil(
            [&] {
                result = link->JobField();
                return result == kJobDone || result == kJobFailed || result == 0;
            },
            timeoutMs);
        link->TakeJobResult();
        return result;
    }

    static constexpr std::uint32_t kTmrStart = 5000;  // past the first enumeration period
    os::LinkClock tmr;
    std::unique_ptr<unitsim::UnitSim> sim;
    std::unique_ptr<CCOMCOM> link;
    std::vector<Status> statuses;

private:
    std::chrono::steady_clock::time_point m_start;
};
