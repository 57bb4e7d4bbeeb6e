// The link with its thread bodies stepped by the test and a link clock that moves only when the test moves it:
// time-outs are then exact, whatever the load of the machine. The simulated unit still answers on its pty.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "link/comcom.h"
#include "unitsim/unitsim.h"

namespace {
class SteppedLink
{
public:
    SteppedLink() : sim(unitsim::UnitConfig{})
    {
        const std::string path = sim.slavePath();
        tmr.set(2000);
        link = std::make_unique<CCOMCOM>(
            tmr,
            [path] {
                return os::ComPortMap{{200, path}};
            },
            LinkThreads::Stepped);
        link->FillProtocolSlots(IGN300, 115200, 175);
    }
    // One main tick, one turn of the port threads and of the protocol thread; real time passes only for the
    // bytes on the pty.
    void step()
    {
        link->Tick();
        link->StepPorts();
        link->ProtocolTurn();
        link->StepPorts();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    bool stepUntil(const std::function<bool()>& done, int maxSteps = 5000)
    {
        for (int i = 0; i < maxSteps; ++i) {
            step();
            if (done()) return true;
        }
        return false;
    }

    unitsim::UnitSim sim;
    os::LinkClock tmr;
    std::unique_ptr<CCOMCOM> link;
};
}  // namespace

TEST(SteppedLink, LostAnswerCostsExactlyTheTimeOutPerTry)
{
    struct Case
    {
        const char* name;
        int flags;
        int tries;
    };
    const Case cases[] = {{"one_try_live_job", kJobMarkAll | kJobOneTry, 1},
                          {"normal_job", kJobMarkAll | kJobClearData, 3}};
    SteppedLink s;
    ASSERT_TRUE(s.stepUntil([&] { return s.link->LinkState() == kLinkReady; }));
    s.sim.setSilent(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s.sim.clearRequests();
        ASSERT_TRUE(s.link->StartJob(kJobLive, 0, 300, c.flags));
        for (int t = 0; t < c.tries; ++t) {
            ASSERT_TRUE(s.stepUntil([&] { return s.link->LinkState() == kLinkWaiting; }));
            ASSERT_TRUE(s.stepUntil([&] { return s.sim.requestCount() == t + 1; }));
            s.tmr.advance(400);
            for (int i = 0; i < 20; ++i) s.step();
            EXPECT_EQ(s.link->LinkState(), kLinkWaiting);  // 400 is not yet above the time-out
            s.tmr.advance(1);
            s.step();
        }
        EXPECT_EQ(s.link->JobField(), kJobFailed);
        EXPECT_EQ(s.link->LastJob(), kJobLive);
        EXPECT_EQ(s.sim.requestCount(), c.tries);
        EXPECT_FALSE(s.link->StartJob(kJobLive, 0, 300, c.flags));  // the result is still to be taken
        s.link->TakeJobResult();
        EXPECT_EQ(s.link->JobField(), 0);
    }
}

TEST(SteppedLink, JobWithoutMarksEndsAtOnceWithoutAFrame)
{
    SteppedLink s;
    ASSERT_TRUE(s.stepUntil([&] { return s.link->LinkState() == kLinkReady; }));
    s.sim.clearRequests();
    s.link->sendMarks.fill(0);
    ASSERT_TRUE(s.link->StartJob(kJobProgram, 0, 5100, 0));
    s.step();
    EXPECT_EQ(s.link->JobField(), kJobDone);
    EXPECT_EQ(s.link->LastJob(), kJobProgram);
    for (int i = 0; i < 30; ++i) s.step();
    EXPECT_EQ(s.sim.requestCount(), 0);
}

TEST(SteppedLink, JobWithoutPortIsDropped)
{
    SteppedLink s;
    s.sim.setSilent(true);
    s.tmr.set(1000);  // the port list is not seen yet, so nothing connects
    EXPECT_TRUE(s.link->StartJob(kJobRead, 0, 300, 3));
    s.step();
    EXPECT_EQ(s.link->JobField(), 0);
    EXPECT_EQ(s.link->LinkState(), kLinkNoPort);
}
