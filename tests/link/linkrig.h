#pragma once
// A link object against the simulated unit on a pseudo-terminal (COM 200). The test runs the main-thread tick;
// the link clock moves only while the line is quiet, so the unit is never late for a loaded machine's sake.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/comcom.h"
#include "unitsim/quiettime.h"
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

    explicit LinkRig(unitsim::UnitConfig config) : sim(std::make_unique<unitsim::UnitSim>(std::move(config)))
    {
        tmr.set(kTmrStart);
        // Read on the test's thread, in the link's tick. A closed line is a pulled adapter: its port is gone.
        link = std::make_unique<CCOMCOM>(tmr, [this] {
            return sim->lineOpen() ? os::ComPortMap{{kCom, sim->slavePath()}} : os::ComPortMap{};
        });
        link->FillProtocolSlots(IGN300, 115200, 175);
        link->hooks.showStatus = [this](int slot, const std::string& text, int durationMs, std::uint32_t,
                                        std::uint32_t back, int priority) {
            statuses.push_back({slot, text, durationMs, back, priority});
        };
        time = std::make_unique<unitsim::QuietTime>(*sim, *link, kCom);
    }

    // Ticks the link until done() or limitMs of link time; false on the limit.
    bool runUntil(const std::function<bool()>& done, int limitMs = 5000)
    {
        return time->runUntil(
            [this](std::uint32_t ms) {
                tmr.advance(ms);
                link->Tick();
            },
            done, limitMs);
    }
    bool connect(int limitMs = 8000)
    {
        return runUntil([&] { return link->portInUse.load() == kCom && link->LinkState() == kLinkReady; }, limitMs);
    }
    // Runs a job to its result (136 or 132) and takes the result; 0 when it never ended.
    int runJob(int code, int start, int length, int flags, int limitMs = 8000)
    {
        if (!runUntil([&] { return link->JobField() == 0; }, limitMs) || !link->StartJob(code, start, length, flags))
            return -1;
        int result = 0;
        runUntil(
            [&] {
                result = link->JobField();
                return result == kJobDone || result == kJobFailed || result == 0;
            },
            limitMs);
        link->TakeJobResult();
        return result;
    }

    static constexpr std::uint32_t kTmrStart = 5000;  // past the first enumeration period
    os::LinkClock tmr;
    std::unique_ptr<unitsim::UnitSim> sim;
    std::unique_ptr<CCOMCOM> link;
    std::unique_ptr<unitsim::QuietTime> time;
    std::vector<Status> statuses;
};
