// The output test page against the simulated unit: a press on each test button reaches the unit in exactly one
// live request, in exactly its request bit; nothing is sent again by itself, and a test not yet sent is dropped
// when the page is left or the unit goes away.
#include <gtest/gtest.h>

#include <array>

#include "pages/outputtest.h"
#include "unitlinktest.h"

namespace {

constexpr int kLiveCommand = 0x30;
using TestBytes = std::array<std::uint8_t, 4>;

class OutputTestPty : public UnitLinkTest
{
protected:
    void SetUp() override
    {
        UnitLinkTest::SetUp();
        ASSERT_TRUE(resultShows("Checking: OK"));
        ASSERT_TRUE(runUntil([&] { return form->connectionState == kConnectionOwnKey; }));
        open(PAGE_TEST);
    }
    void open(int page)
    {
        form->PageControl1->SetActivePageIndex(page);
        form->PageControl1Change(form->PageControl1);
    }
    // The test bytes of the live requests the unit logged since the last clear.
    std::vector<TestBytes> liveTests() const
    {
        std::vector<TestBytes> out;
        for (const unitsim::Request& r : sim->requests())
            if (r.command == kLiveCommand && r.data.size() > 102)
                out.push_back({r.data[99], r.data[100], r.data[101], r.data[102]});
        return out;
    }
    // Runs until the unit has logged `count` live requests after the last clear.
    bool liveRequests(std::size_t count)
    {
        return runUntil([&] { return liveTests().size() >= count; });
    }
    void press(std::string_view name) { FindControl<TButton>(*form, name)->Click(); }
    [[nodiscard]] unitsim::UnitConfig unitConfig() const override
    {
        unitsim::UnitConfig config;
        config.wirePaced = false;  // many live cycles
        return config;
    }
};

}  // namespace

TEST_F(OutputTestPty, EachButtonReachesTheUnitOnceInItsBit)
{
    // One button after the other, each once the unit has logged the test before it: the log then holds every
    // test exactly once, in order, and nothing else but empty requests.
    std::vector<TestBytes> expected;
    sim->clearRequests();
    for (const TestCommandBit& bit : kTestCommandBits) {
        if (bit.button == "ButtonDCTest") continue;  // on the race page
        SCOPED_TRACE(bit.button);
        press(bit.button);
        TestBytes bytes{};
        bytes[std::size_t(bit.command)] = bit.mask;
        expected.push_back(bytes);
        ASSERT_TRUE(runUntil([&] {
            const std::vector<TestBytes> seen = liveTests();
            return std::count_if(seen.begin(), seen.end(), [](const TestBytes& t) { return t != TestBytes{}; }) ==
                   std::ptrdiff_t(expected.size());
        }));
    }
    ASSERT_TRUE(liveRequests(liveTests().size() + 2));
    std::vector<TestBytes> sent;
    for (const TestBytes& t : liveTests())
        if (t != TestBytes{}) sent.push_back(t);
    EXPECT_EQ(sent, expected);
    EXPECT_EQ(expected.size(), 31u);
    EXPECT_EQ(form->testCommands, TestBytes{});
}

TEST_F(OutputTestPty, TwoPressesBeforeOneRequestTravelTogether)
{
    sim->holdAnswers(true);  // the unit works on an answer: no request is built meanwhile
    ASSERT_TRUE(runUntil([&] { return sim->holdsAnAnswer(); }));
    sim->clearRequests();
    press("ButtonTestJet1A");
    press("ButtonTestIgn2");
    press("ButtonTestJet1A");
    sim->holdAnswers(false);
    ASSERT_TRUE(liveRequests(3));
    const std::vector<TestBytes> seen = liveTests();
    EXPECT_EQ(seen[0], (TestBytes{0x01, 0x02, 0, 0}));
    EXPECT_EQ(seen[1], TestBytes{});
    EXPECT_EQ(seen[2], TestBytes{});
}

TEST_F(OutputTestPty, LeavingThePageOrLosingTheUnitDropsWhatWasNotSent)
{
    sim->holdAnswers(true);
    ASSERT_TRUE(runUntil([&] { return sim->holdsAnAnswer(); }));
    sim->clearRequests();
    press("ButtonTestJet3B");
    open(PAGE_BIKE);
    sim->holdAnswers(false);
    ASSERT_TRUE(liveRequests(3));
    for (const TestBytes& sent : liveTests()) EXPECT_EQ(sent, TestBytes{});

    // The unit goes silent with a test pending: the link gives it up, and the test with it.
    open(PAGE_TEST);
    sim->setSilent(true);
    press("ButtonTestIgn1");
    EXPECT_EQ(form->testCommands, (TestBytes{0, 0x01, 0, 0}));
    ASSERT_TRUE(runUntil([&] { return form->connectionState != kConnectionOwnKey; }, 60000));
    EXPECT_EQ(form->testCommands, TestBytes{});
    // Without a unit a press is not taken at all.
    press("ButtonTestIgn1");
    EXPECT_EQ(form->testCommands, TestBytes{});
    // The unit back: nothing pending reaches it.
    sim->clearRequests();
    sim->setSilent(false);
    ASSERT_TRUE(runUntil([&] { return form->connectionState == kConnectionOwnKey; }, 60000));
    ASSERT_TRUE(liveRequests(2));
    for (const TestBytes& sent : liveTests()) EXPECT_EQ(sent, TestBytes{});
}
