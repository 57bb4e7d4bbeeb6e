// The link with its thread bodies stepped by the test and a link clock that moves only when the test moves it:
// time-outs are then exact, whatever the load of the machine. The simulated unit still answers on its pty.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

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
    // One main tick, one turn of the port threads and of the protocol thread, then a short wait for the unit to
    // act on what was sent; only the bytes on the pty take real time.
    void step()
    {
        link->Tick();
        link->StepPorts();
        link->ProtocolTurn();
        link->StepPorts();
        m_seen = sim.waitForActivity(m_seen, std::chrono::milliseconds(2));
    }
    // Steps until done(), at most for a generous span of real time.
    bool stepUntil(const std::function<bool()>& done)
    {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < limit) {
            step();
            if (done()) return true;
        }
        return false;
    }

    unitsim::UnitSim sim;
    os::LinkClock tmr;
    std::unique_ptr<CCOMCOM> link;

private:
    std::uint64_t m_seen = 0;
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

TEST(SteppedLink, LateAnswerIsTakenForItsOwnBlockOnly)
{
    // The unit answers the first block's request only after the link has given up waiting and asked again. The
    // late answer and the answer to the repeat both arrive; each is taken for the first block or refused, never
    // for the second, so the job holds exactly the unit's bytes.
    SteppedLink s;
    std::vector<std::uint8_t> image(5100);
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 13 + (i >> 5));
    s.sim.setWireImage(image);
    ASSERT_TRUE(s.stepUntil([&] { return s.link->LinkState() == kLinkReady; }));
    s.sim.clearRequests();
    s.sim.holdAnswers(true);
    ASSERT_TRUE(s.link->StartJob(kJobRead, 0, 600, kJobMarkAll | kJobClearData));
    ASSERT_TRUE(s.stepUntil([&] { return s.sim.holdsAnAnswer(); }));
    s.tmr.advance(401);
    ASSERT_TRUE(s.stepUntil([&] { return s.sim.busy(); }));  // the repeat reached the line
    s.sim.holdAnswers(false);
    ASSERT_TRUE(s.stepUntil([&] { return s.link->JobField() == kJobDone || s.link->JobField() == kJobFailed; }));
    EXPECT_EQ(s.link->JobField(), kJobDone);
    EXPECT_TRUE(std::equal(image.begin(), image.begin() + 600, s.link->receivedData.begin()));
    const std::vector<unitsim::Request> requests = s.sim.requests();
    ASSERT_GE(requests.size(), 3u);
    EXPECT_EQ(requests[0].command, 0x41);
    EXPECT_EQ(requests[1].command, 0x41);  // the repeat after the time-out
    EXPECT_EQ(requests[2].command, 0x42);
}
