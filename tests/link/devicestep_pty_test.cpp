// The device step against the simulated unit on a pseudo-terminal: unit check, read, program, program after a
// change, a unit of another key, unstable reads, a unit lost mid-program, and the live cycle.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "link/devicestep.h"
#include "os/lngtext.h"
#include "settings/helpers.h"
#include "settings/repair.h"
#include "unitsim/quiettime.h"
#include "unitsim/unitsim.h"

namespace {

struct Shown
{
    int slot;
    std::string text;
    std::uint32_t back;
};

// A device step on plain data: the link clock moves while the line is quiet and the tick counter follows it (a
// tick each 50); the step runs every few milliseconds until a condition holds or a generous time-out passes.
class DeviceRig
{
public:
    static constexpr int kCom = 200;

    explicit DeviceRig(unitsim::UnitConfig config, int linkKey = RS_KEY_309)
        : sim(std::make_unique<unitsim::UnitSim>(std::move(config)))
    {
        SetLanguageIndex(LNG_ENGLISH);
        tmr.set(kTmrStart);
        // Read on the test's thread, in the link's tick. A closed line is a pulled adapter: its port is gone.
        link = std::make_unique<CCOMCOM>(tmr, [this] {
            return sim->lineOpen() ? os::ComPortMap{{kCom, sim->slavePath()}} : os::ComPortMap{};
        });
        link->FillProtocolSlots(IGN300, 115200, 175);
        link->RSKEY = linkKey;
        DeviceHooks hooks;
        hooks.showStatus = [this](int slot, const std::string& text, int, std::uint32_t, std::uint32_t back, int) {
            if (!text.empty()) shown.push_back({slot, std::string(GetLngText(text)), back});
        };
        hooks.gauge = [this](int progress, std::uint32_t, bool) {
            if (progress >= 0) gauge = progress;
        };
        hooks.showMessage = [this](const std::string& text) { messages.push_back(text); };
        hooks.liveFrameStored = [this] { ++liveFrames; };
        ops = std::make_unique<DeviceOps>(DeviceContext{*link, images, requestCode, programAll, newInstal,
                                                        connectionState, releasedPort, testCommands, tickCounter},
                                          std::move(hooks));
        time = std::make_unique<unitsim::QuietTime>(*sim, *link, kCom);
    }

    // Steps until done() or timeoutMs of link time.
    bool runUntil(const std::function<bool()>& done, int timeoutMs = 15000)
    {
        return time->runUntil(
            [this](std::uint32_t ms) {
                tmr.advance(ms);
                tickCounter = 100 + static_cast<int>((tmr.now() - kTmrStart) / 50);
                const bool liveBefore = link->JobField() == kJobLive;
                ops->Step();
                if (!liveBefore && link->JobField() == kJobLive) liveCycles.push_back(tmr.now());
            },
            done, timeoutMs);
    }
    [[nodiscard]] bool saw(const std::string& text) const
    {
        return std::any_of(shown.begin(), shown.end(), [&](const Shown& s) { return s.text == text; });
    }
    bool waitFor(const std::string& text, int timeoutMs = 15000)
    {
        return runUntil([&] { return saw(text); }, timeoutMs);
    }
    bool checked(int timeoutMs = 20000) { return waitFor("Checking: OK", timeoutMs) && idle(); }
    bool idle(int timeoutMs = 15000)
    {
        return runUntil([&] { return ops->Operation() == kOpIdle && link->JobField() == 0; }, timeoutMs);
    }
    // Runs a request to the end of its operation.
    bool request(int code, int timeoutMs = 20000)
    {
        requestCode = code;
        return runUntil([&] { return requestCode == 0 && ops->Operation() == kOpIdle; }, timeoutMs);
    }
    // The unit's image as the settings image holds it (words little-endian).
    [[nodiscard]] Image unitImage() const
    {
        Image image{};
        const std::vector<std::uint8_t> wire = sim->wireImage();
        std::copy(wire.begin(), wire.end(), image.begin());
        SwapWordBytes(image, 0, RS_WORD_COUNT - 1);
        return image;
    }
    [[nodiscard]] std::vector<int> programmedBlocks() const
    {
        std::vector<int> blocks;
        for (const unitsim::Request& r : sim->requests())
            if (r.command >= 0x01 && r.command <= 0x11) blocks.push_back(r.command - 1);
        return blocks;
    }

    static constexpr std::uint32_t kTmrStart = 5000;
    os::LinkClock tmr;
    std::unique_ptr<unitsim::UnitSim> sim;
    std::unique_ptr<CCOMCOM> link;
    ImageSet images;
    int requestCode = 0;
    int programAll = 1;
    int newInstal = 1;
    int connectionState = 0;
    int releasedPort = -1;
    int tickCounter = 100;
    std::array<std::uint8_t, 4> testCommands{};
    std::unique_ptr<DeviceOps> ops;
    std::vector<Shown> shown;
    std::vector<std::string> messages;
    std::size_t liveFrames = 0;
    std::vector<std::uint32_t> liveCycles;  // link time at which each live request was started
    int gauge = -1;
    std::unique_ptr<unitsim::QuietTime> time;
};

}  // namespace

TEST(DeviceStep, FoundUnitIsCheckedReadAndIdentified)
{
    DeviceRig rig({});
    ASSERT_TRUE(rig.checked());
    EXPECT_TRUE(rig.images.deviceValid);
    EXPECT_EQ(rig.images.device, rig.unitImage());
    EXPECT_EQ(rig.ops->identity.unit, "QV unit");
    EXPECT_TRUE(rig.messages.empty());
    // The check reads the header twice and the four parts twice, each after a live request.
    std::vector<int> commands;
    for (const unitsim::Request& r : rig.sim->requests()) commands.push_back(r.command);
    EXPECT_EQ(std::count(commands.begin(), commands.end(), 0x40), 2);
    for (int block = 0; block < 17; ++block)
        EXPECT_EQ(std::count(commands.begin(), commands.end(), 0x41 + block), 2) << block;
    ASSERT_TRUE(rig.runUntil([&] { return rig.connectionState == kConnectionOwnKey; }));
    EXPECT_EQ(rig.ops->UnitKeyText(), "RSKEY=309");
    // The settings image is the user's: a check only repairs it.
    Image repaired{};
    NormalizeSettingsImage(repaired);
    EXPECT_EQ(rig.images.image, repaired);
}

TEST(DeviceStep, ReadBringsTheUnitImageAndVerifies)
{
    DeviceRig rig({});
    ASSERT_TRUE(rig.checked());
    rig.images.changeMarks.fill(1);
    ASSERT_TRUE(rig.request(kRequestRead));
    EXPECT_TRUE(rig.saw("Verify: OK"));
    Image expected = rig.unitImage();
    NormalizeSettingsImage(expected);
    EXPECT_EQ(rig.images.image, expected);
    EXPECT_EQ(rig.images.device, rig.unitImage());
    EXPECT_EQ(rig.images.changeMarks, ChangeMarks{});
    EXPECT_EQ(rig.newInstal, 0);
    EXPECT_EQ(rig.gauge, 100);

    // Verify compares the unit with the settings image; a difference is looked at twice, then reported.
    rig.images.image = rig.unitImage();
    rig.shown.clear();
    ASSERT_TRUE(rig.request(kRequestVerify));
    EXPECT_TRUE(rig.saw("Verify: OK"));
    rig.images.image[2600] ^= 1;
    rig.shown.clear();
    rig.sim->clearRequests();
    ASSERT_TRUE(rig.request(kRequestVerify));
    EXPECT_TRUE(rig.saw("Verify error !"));
    EXPECT_FALSE(rig.saw("Verify: OK"));
    EXPECT_TRUE(rig.programmedBlocks().empty());
}

TEST(DeviceStep, ProgramWritesTheImageAndWaitsForTheUnitToSave)
{
    DeviceRig rig({});
    ASSERT_TRUE(rig.checked());
    ASSERT_TRUE(rig.request(kRequestRead));
    Image changed = rig.images.image;
    changed[2 * 10] ^= 0x5A;  // a word: travels byte-swapped
    changed[4000] ^= 0x33;
    rig.images.image = changed;
    rig.sim->clearRequests();
    ASSERT_TRUE(rig.request(kRequestProgram));
    EXPECT_EQ(rig.unitImage(), changed);
    ASSERT_TRUE(rig.waitFor("Saving:"));
    EXPECT_FALSE(rig.images.deviceValid);  // not before the unit has stored it
    ASSERT_TRUE(rig.waitFor("Program device: OK"));
    EXPECT_TRUE(rig.images.deviceValid);
    EXPECT_EQ(rig.images.device, changed);
    EXPECT_EQ(rig.programmedBlocks().size(), 17u);
}

TEST(DeviceStep, ProgramAfterAChangeSendsOnlyTheMarkedBytes)
{
    DeviceRig rig({});
    ASSERT_TRUE(rig.checked());
    ASSERT_TRUE(rig.request(kRequestRead));
    ASSERT_TRUE(rig.runUntil([&] { return rig.connectionState == kConnectionOwnKey; }));
    Image expected = rig.unitImage();
    rig.images.image[1510] ^= 0x11;
    rig.images.changeMarks[1510] = 1;
    expected[1510] = rig.images.image[1510];
    rig.programAll = 0;
    rig.sim->clearRequests();
    ASSERT_TRUE(rig.request(kRequestProgramChanged));
    // Only the block that holds the marked byte goes to the unit.
    const std::vector<int> blocks = rig.programmedBlocks();
    EXPECT_EQ(std::set<int>(blocks.begin(), blocks.end()), std::set<int>{5});
    for (const unitsim::Request& r : rig.sim->requests())
        EXPECT_NE(r.command, 0x40) << "no unit check before programming the changes of a checked unit";
    EXPECT_EQ(rig.unitImage(), expected);
    EXPECT_EQ(rig.images.changeMarks, ChangeMarks{});
    ASSERT_TRUE(rig.waitFor("Program device: OK"));
}

// Programming after a change skips the unit check, so a unit whose check failed gets nothing: the status says
// why once, and further edits stay quiet.
TEST(DeviceStep, ProgramAfterAChangeOfAUnitWhoseCheckFailedSendsNothingAndSaysWhyOnce)
{
    DeviceRig rig({});
    unitsim::Faults faults;
    faults.unstableReads = true;
    rig.sim->setFaults(faults);
    ASSERT_TRUE(rig.waitFor("Checking error !", 30000));
    ASSERT_TRUE(rig.idle());
    EXPECT_FALSE(rig.images.deviceValid);
    rig.images.image = rig.unitImage();
    rig.programAll = 0;
    rig.sim->clearRequests();
    rig.shown.clear();
    const std::string why = "Not programmed after the change: the unit was not checked as one of this version";
    for (int edit = 0; edit < 3; ++edit) {
        SCOPED_TRACE(edit);
        rig.images.image[700 + edit] ^= 1;
        rig.images.changeMarks[700 + edit] = 1;
        ASSERT_TRUE(rig.request(kRequestProgramChanged, 30000));
        ASSERT_TRUE(rig.idle());
    }
    EXPECT_TRUE(rig.programmedBlocks().empty());
    EXPECT_EQ(std::count_if(rig.shown.begin(), rig.shown.end(), [&](const Shown& s) { return s.text == why; }), 1);
    EXPECT_TRUE(rig.messages.empty());
    EXPECT_EQ(rig.images.changeMarks[700], 1);  // the change is still to be programmed
}

TEST(DeviceStep, UnitWithAnotherKeyIsNeverProgrammed)
{
    unitsim::UnitConfig config;
    config.key = 308;
    DeviceRig rig(config, 308);  // a link that accepts it, as a loader's might
    ASSERT_TRUE(rig.runUntil([&] { return !rig.messages.empty() && rig.ops->Operation() == kOpIdle; }, 20000));
    EXPECT_EQ(rig.messages.front(), "Unmatched version of PC and Ignition programs!  PC-309.00, IGN-308.00");
    EXPECT_FALSE(rig.images.deviceValid);
    rig.images.changeMarks[10] = 1;
    rig.programAll = 0;
    for (int request : {kRequestProgramChanged, kRequestProgram}) {
        SCOPED_TRACE(request);
        ASSERT_TRUE(rig.request(request));
        ASSERT_TRUE(rig.idle());
    }
    EXPECT_TRUE(rig.programmedBlocks().empty());
    // The connection's check and the full program's check say so; a change alone asks nothing of the unit.
    EXPECT_EQ(rig.messages.size(), 2u);
    EXPECT_FALSE(rig.saw("Checking: OK"));
    ASSERT_TRUE(rig.runUntil([&] { return rig.connectionState == kConnectionOtherKey; }));
    // Its changed-block mask is not taken as ours.
    rig.sim->setChangedMask(1);
    rig.sim->clearRequests();
    const std::size_t frames = rig.liveFrames;
    ASSERT_TRUE(rig.runUntil([&] { return rig.liveFrames >= frames + 3; }));
    for (const unitsim::Request& r : rig.sim->requests()) EXPECT_NE(r.command, 0x41);
    Image repaired{};
    NormalizeSettingsImage(repaired);
    EXPECT_EQ(rig.images.image, repaired);
}

TEST(DeviceStep, HeaderReadsThatDifferStartTheCheckOverOnce)
{
    struct Case
    {
        int unstable;  // header reads that differ from every other
        const char* outcome;
    };
    const Case cases[] = {{1, "Checking: OK"}, {3, "Checking error !"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.outcome);
        DeviceRig rig({});
        unitsim::Faults faults;
        faults.unstableHeaders = c.unstable;
        rig.sim->setFaults(faults);
        ASSERT_TRUE(rig.waitFor(c.outcome, 30000));
        ASSERT_TRUE(rig.idle());
        EXPECT_EQ(rig.images.deviceValid, std::string(c.outcome) == "Checking: OK");
        int headers = 0;
        for (const unitsim::Request& r : rig.sim->requests()) headers += r.command == 0x40 ? 1 : 0;
        EXPECT_EQ(headers, 4);
    }
}

TEST(DeviceStep, ReadsThatDifferLeaveTheImageUnchanged)
{
    DeviceRig rig({});
    ASSERT_TRUE(rig.checked());
    Image before{};
    before[3] = 42;
    rig.images.image = before;
    unitsim::Faults faults;
    faults.unstableReads = true;
    rig.sim->setFaults(faults);
    ASSERT_TRUE(rig.request(kRequestRead));
    EXPECT_TRUE(rig.saw("Verify error !"));
    EXPECT_FALSE(rig.saw("Verify: OK"));
    EXPECT_EQ(rig.images.image, before);
}

TEST(DeviceStep, UnitLostMidProgramEndsWithAnErrorAndTheImageUnchanged)
{
    DeviceRig rig({});
    ASSERT_TRUE(rig.checked());
    ASSERT_TRUE(rig.request(kRequestRead));
    rig.images.image[4000] ^= 0x77;
    const Image before = rig.images.image;
    rig.sim->clearRequests();
    rig.requestCode = kRequestProgram;
    ASSERT_TRUE(rig.runUntil([&] { return rig.programmedBlocks().size() >= 3; }));
    rig.sim->setSilent(true);
    ASSERT_TRUE(rig.runUntil([&] { return rig.saw("Verify error !") || rig.link->portInUse.load() == 0; }, 30000));
    ASSERT_TRUE(rig.runUntil([&] { return rig.link->portInUse.load() == 0; }, 30000));  // the live cycle gives up
    EXPECT_FALSE(rig.saw("Program device: OK"));
    EXPECT_FALSE(rig.images.deviceValid);
    EXPECT_EQ(rig.images.image, before);
    EXPECT_EQ(rig.connectionState, kConnectionNone);
    // Plugged in again: the failures of the lost connection do not count against the new check, so a header job
    // that fails once is simply started again.
    unitsim::Faults faults;
    faults.dropAnswerFrom = 1;
    faults.dropAnswerCount = 3;  // every try of the first header job
    faults.onlyCommand = 0x40;
    rig.sim->setFaults(faults);
    rig.shown.clear();
    rig.sim->setSilent(false);
    ASSERT_TRUE(rig.checked(30000));
    EXPECT_FALSE(rig.saw("Checking error !"));
    EXPECT_EQ(rig.images.image, before);
}

TEST(DeviceStep, LiveCyclesBeginEverySevenTicksAndEachStoresItsFrame)
{
    DeviceRig rig({});
    ASSERT_TRUE(rig.checked());
    rig.liveCycles.clear();
    const std::size_t frames = rig.liveFrames;
    ASSERT_TRUE(rig.runUntil([&] { return rig.liveCycles.size() >= 7; }, 15000));
    EXPECT_EQ(rig.connectionState, kConnectionOwnKey);
    EXPECT_EQ(rig.ops->live.Monw(2), 3000);  // engine speed
    EXPECT_GE(rig.liveFrames - frames, rig.liveCycles.size() - 1);
    // Seven ticks of 50 apart on the link clock, give or take the clock step at which a cycle is seen due.
    for (std::size_t i = 1; i < rig.liveCycles.size(); ++i) {
        const std::uint32_t gap = rig.liveCycles[i] - rig.liveCycles[i - 1];
        EXPECT_GE(gap, 7u * 50u - 10u) << i;
        EXPECT_LE(gap, 7u * 50u + 10u) << i;
    }
}

TEST(DeviceStep, ChangedBlockOfACheckedUnitIsReadIntoTheSettingsImage)
{
    DeviceRig rig({});
    ASSERT_TRUE(rig.checked());
    const Image unit = rig.unitImage();
    rig.sim->setChangedMask(1 << 2);
    ASSERT_TRUE(rig.runUntil([&] { return rig.images.image[650] == unit[650] && rig.images.image[899] == unit[899]; }));
    EXPECT_EQ(rig.images.image[599], 0);
    EXPECT_EQ(rig.images.image[900], 0);
    ASSERT_TRUE(rig.runUntil([&] { return rig.ops->ChangedBlockMask() == 0; }));
}

TEST(DeviceStep, ResetAndReleaseReleasesThePortEvenWhenTheResetFails)
{
    DeviceRig rig({});
    ASSERT_TRUE(rig.checked());
    rig.sim->setSilent(true);
    rig.requestCode = kRequestResetRelease;
    ASSERT_TRUE(rig.runUntil([&] { return rig.link->linkEnabled.load() == 0; }, 30000));
    EXPECT_TRUE(rig.saw("Reset error !"));
    EXPECT_EQ(rig.releasedPort, DeviceRig::kCom);
    EXPECT_EQ(rig.link->portInUse.load(), 0);
}

// A unit that stops answering is an alarm on red; reads that merely differ end on the button face.
TEST(DeviceStep, ErrorOfAUnitThatStopsAnsweringIsRedAndADifferenceIsNot)
{
    DeviceRig rig({});
    ASSERT_TRUE(rig.checked());
    const auto backOf = [&](const std::string& text) {
        const auto it =
            std::find_if(rig.shown.rbegin(), rig.shown.rend(), [&](const Shown& s) { return s.text == text; });
        return it == rig.shown.rend() ? std::uint32_t{0xDEAD} : it->back;
    };
    unitsim::Faults faults;
    faults.unstableReads = true;
    rig.sim->setFaults(faults);
    ASSERT_TRUE(rig.request(kRequestRead));
    EXPECT_EQ(backOf("Verify error !"), kDevColorFace);

    rig.sim->setFaults({});
    rig.sim->setSilent(true);
    rig.requestCode = kRequestRead;
    ASSERT_TRUE(rig.waitFor("Read error !", 30000));
    EXPECT_EQ(backOf("Read error !"), kDevColorRed);
}

// A unit whose line goes away (USB adapter pulled: hang-up, I/O error) is lost at once: the running operation ends
// with its own error on red, the unit is disconnected ("No connection with PC..." on red), the device image is
// no longer valid and the connection state is 0; the port search looks for a unit again.
TEST(DeviceStep, PulledUnitTakesTheRoadOfALostUnit)
{
    struct Case
    {
        const char* name;
        int request;     // 0: idle
        int firstStage;  // the stage during which the line goes
        const char* error;
    };
    const Case cases[] = {
        {"idle", 0, kOpIdle, nullptr},
        {"mid-read", kRequestRead, kRequestRead, "Read error !"},
        {"mid-program", kRequestProgram, 98, "Verify error !"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceRig rig({});
        ASSERT_TRUE(rig.checked());
        ASSERT_TRUE(rig.runUntil([&] { return rig.connectionState == kConnectionOwnKey; }));
        rig.requestCode = c.request;
        ASSERT_TRUE(rig.runUntil(
            [&] { return c.request == 0 || (rig.ops->Operation() == c.firstStage && rig.link->Position() >= 600); }));
        rig.shown.clear();
        rig.sim->closeLine();
        ASSERT_TRUE(rig.runUntil([&] { return rig.link->portInUse.load() == 0; }, 5000));
        if (c.error != nullptr) {
            ASSERT_TRUE(rig.saw(c.error));
            EXPECT_EQ(
                std::find_if(rig.shown.begin(), rig.shown.end(), [&](const Shown& s) { return s.text == c.error; })
                    ->back,
                kDevColorRed);
        }
        const auto lost = std::find_if(rig.shown.begin(), rig.shown.end(), [](const Shown& s) {
            return s.slot == 1 && s.text == "No connection with PC...";
        });
        ASSERT_NE(lost, rig.shown.end());
        EXPECT_EQ(lost->back, kDevColorRed);
        EXPECT_FALSE(rig.images.deviceValid);
        EXPECT_EQ(rig.connectionState, kConnectionNone);
        EXPECT_EQ(rig.ops->Operation(), kOpNoPort);
        // Plugged in again: the search tries the port again.
        rig.sim->openLine();
        ASSERT_TRUE(rig.runUntil([&] { return rig.link->SearchSlot(0).port == DeviceRig::kCom; }, 5000));
    }
}
