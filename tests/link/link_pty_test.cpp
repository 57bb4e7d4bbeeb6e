// The link's threads against the simulated unit on a pseudo-terminal: the search, jobs frame by frame, and the
// faults a unit or a line can show.
#include <gtest/gtest.h>

#include <algorithm>

#include "linkrig.h"

namespace {
unitsim::UnitConfig unit(int protocol, int baud, int key = 309)
{
    unitsim::UnitConfig c;
    c.protocol = protocol;
    c.baud = baud;
    c.key = key;
    return c;
}

std::vector<std::uint8_t> distinctImage(int seed)
{
    std::vector<std::uint8_t> image(5100);
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 31 + seed + (i >> 7));
    return image;
}
}  // namespace

TEST(LinkSearch, FindsAndIdentifiesUnitsOfEachProtocol)
{
    struct Case
    {
        const char* name;
        int protocol;
        int baud;
        int row;
        const char* ident;
    };
    const Case cases[] = {
        {"ign300_115200", IGN300, 115200, 0, "IGN-309 v309"},
        {"wcom_57600", WCOM, 57600, 1, "QV unit v309 (hw:1a2b)"},
        {"wcoms_57600", WCOMS, 57600, 2, "QV unit v309 (hw:1a2b)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LinkRig rig(unit(c.protocol, c.baud));
        ASSERT_TRUE(rig.connect());
        const LinkSlot& slot = rig.link->LinkSlotInUse();
        EXPECT_EQ(slot.row, c.row);  // the first row of this protocol and rate
        EXPECT_EQ(rig.link->ProtocolRow(slot.row).protocol, c.protocol);
        EXPECT_EQ(rig.link->ProtocolRow(slot.row).baud, c.baud);
        EXPECT_EQ(slot.transceiver.protocol, c.protocol);
        EXPECT_EQ(slot.identText, c.ident);
        ASSERT_FALSE(rig.statuses.empty());
        const Status& last = rig.statuses.back();
        EXPECT_EQ(last.slot, 1);
        EXPECT_EQ(last.text,
                  std::string("###") + c.ident + " connected##" + c.ident + " verbunden##" + c.ident + " připojen");
        EXPECT_EQ(last.durationMs, -1);
        EXPECT_EQ(last.priority, 100);
    }
}

TEST(LinkSearch, UnitWithAnotherKeyIsReportedAndLeft)
{
    LinkRig rig(unit(IGN300, 115200, 250));
    ASSERT_TRUE(rig.runUntil([&] { return !rig.statuses.empty(); }));
    const Status& s = rig.statuses.front();
    EXPECT_EQ(s.text,
              "###COM 200:Quorvane 250 (unmatched)##COM 200:Quorvane 250 verbunden (unübertroffen)##COM 200:Quorvane "
              "250 připojen (nekompatibilní)");
    EXPECT_EQ(s.durationMs, 6000);
    EXPECT_EQ(s.back, 0x0000FFu);
    // The port is given up at once with the row that found the unit: closed, not probed with the next row.
    EXPECT_EQ(rig.link->SearchSlot(0).state, kSlotClosing);
    EXPECT_EQ(rig.link->SearchSlot(0).port, 0);
    rig.runUntil([] { return false; }, 500);
    EXPECT_EQ(rig.link->portInUse.load(), 0);
}

TEST(LinkSearch, SilentPortMovesOnAfterOneRepeat)
{
    unitsim::UnitConfig c = unit(IGN300, 115200);
    LinkRig rig(c);
    rig.sim->setSilent(true);
    ASSERT_TRUE(rig.runUntil([&] { return rig.link->SearchSlot(0).state == kSlotSent; }));
    const std::uint32_t sent = rig.tmr.now();
    ASSERT_TRUE(rig.runUntil([&] { return rig.link->SearchSlot(0).row >= 1; }));
    const std::uint32_t gaveUp = rig.tmr.now() - sent;
    // Two waits of 175, each seen over within a few steps of the link clock.
    EXPECT_GT(gaveUp, 350u);
    EXPECT_LE(gaveUp, 400u);
    EXPECT_EQ(rig.sim->requestCount(), 2);  // the request and its one repeat
}

TEST(LinkSearch, LoopBackIsGivenUpAtTheFirstFramedRow)
{
    unitsim::UnitConfig c = unit(WCOM, 57600);
    c.faults.echo = true;
    LinkRig rig(c);
    ASSERT_TRUE(rig.runUntil([&] {
        const LinkSlot& s = rig.link->SearchSlot(0);
        return s.row == 1 && s.state == kSlotSent;
    }));
    // The echoed request gives the port up on this row: a row that merely went unanswered would have moved on
    // to row 2 at the same baud rate without closing the port.
    ASSERT_TRUE(rig.runUntil([&] { return rig.link->SearchSlot(0).state == kSlotClosing; }, 3000));
    EXPECT_EQ(rig.link->SearchSlot(0).row, 1);
}

TEST(LinkJobs, ReadAndProgramTheImageFrameByFrame)
{
    struct Case
    {
        const char* name;
        int protocol;
        int baud;
    };
    for (const Case& c : {Case{"ign300", IGN300, 115200}, Case{"wcom", WCOM, 57600}, Case{"wcoms", WCOMS, 57600}}) {
        SCOPED_TRACE(c.name);
        LinkRig rig(unit(c.protocol, c.baud));
        const auto original = distinctImage(3);
        rig.sim->setWireImage(original);
        ASSERT_TRUE(rig.connect());
        const int before = rig.sim->requestCount();
        const std::int64_t bytesInBefore = rig.sim->bytesIn();
        // The whole image over IGN300; a part of it over the slower framed lines, to keep the test short.
        const int length = c.protocol == IGN300 ? 5100 : 1200;
        const int frames = length / 300;
        ASSERT_EQ(rig.runJob(kJobRead, 0, length, kJobMarkAll | kJobClearData), kJobDone);
        EXPECT_TRUE(std::equal(original.begin(), original.begin() + length, rig.link->receivedData.begin()));
        // Frame by frame in order, each once: a unit that answers every request is never asked twice.
        const auto all = rig.sim->requests();
        const std::vector<unitsim::Request> requests(all.begin() + before, all.end());
        std::string sequence;
        for (const unitsim::Request& r : requests)
            sequence += std::to_string(r.command) + "@" + std::to_string(r.address) + " ";
        ASSERT_EQ(requests.size(), static_cast<std::size_t>(frames)) << sequence;
        for (int k = 0; k < frames; ++k) {
            const unitsim::Request& r = requests[static_cast<std::size_t>(k)];
            if (c.protocol == IGN300) {
                EXPECT_EQ(r.command, 0x41 + k);
            } else {
                EXPECT_EQ(r.command, 0x7010);
                EXPECT_EQ(r.address, 300 * k);
                EXPECT_EQ(r.length, 2);
            }
        }
        if (c.protocol != IGN300) {
            // Each framed read request is 18 bytes on the line, nothing of an earlier, longer frame after it.
            EXPECT_EQ(rig.sim->bytesIn() - bytesInBefore, 18 * static_cast<std::int64_t>(frames));
        }

        auto changed = original;
        const auto fresh = distinctImage(77);
        std::copy_n(fresh.begin(), length, changed.begin());
        std::copy(changed.begin(), changed.end(), rig.link->sendData.begin());
        ASSERT_EQ(rig.runJob(kJobProgram, 0, length, kJobMarkAll), kJobDone);
        EXPECT_EQ(rig.sim->wireImage(), changed);
    }
}

TEST(LinkJobs, ShortAcknowledgementOfAProgramFrame)
{
    // A short answer carries the answered command in its address field and its value as the address: a 2-byte
    // value names any block, a 1-byte value only blocks below address 256.
    struct Case
    {
        const char* name;
        int valueBytes;
        int start;
        int result;
    };
    const Case cases[] = {{"two_bytes_any_block", 2, 300, kJobDone},
                          {"one_byte_low_block", 1, 0, kJobDone},
                          {"one_byte_high_block", 1, 300, kJobFailed}};
    LinkRig rig(unit(WCOM, 57600));
    ASSERT_TRUE(rig.connect());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        unitsim::Faults faults;
        faults.shortProgramAck = c.valueBytes;
        rig.sim->setFaults(faults);
        std::fill_n(rig.link->sendData.begin() + c.start, 100, std::uint8_t{0x5A});
        EXPECT_EQ(rig.runJob(kJobProgram, c.start, 100, kJobMarkAll), c.result);
        EXPECT_EQ(rig.sim->wireImage()[static_cast<std::size_t>(c.start)], 0x5A);
    }
}

TEST(LinkJobs, LostAndCorruptAnswersAreRetriedAndTheThirdFailureFails)
{
    struct Case
    {
        const char* name;
        unitsim::Faults faults;
        int flags;
        int result;
    };
    // The faults aim at the answers to the second block's request (0x42).
    auto aimed = [](int dropCount, int corruptCount, int noise) {
        unitsim::Faults f;
        f.onlyCommand = 0x42;
        f.dropAnswerFrom = dropCount > 0 ? 1 : 0;
        f.dropAnswerCount = dropCount;
        f.corruptCheckFrom = corruptCount > 0 ? 1 : 0;
        f.corruptCheckCount = corruptCount;
        f.noiseBytes = noise;
        return f;
    };
    const Case cases[] = {
        {"one_lost_answer", aimed(1, 0, 0), kJobMarkAll | kJobClearData, kJobDone},
        {"corrupt_check", aimed(0, 1, 0), kJobMarkAll | kJobClearData, kJobDone},
        {"noise_before_every_frame", aimed(0, 0, 9), kJobMarkAll | kJobClearData, kJobDone},
        {"three_lost_answers", aimed(3, 0, 0), kJobMarkAll | kJobClearData, kJobFailed},
    };
    LinkRig rig(unit(IGN300, 115200));
    ASSERT_TRUE(rig.connect());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        rig.sim->setFaults(c.faults);
        ASSERT_EQ(rig.runJob(kJobRead, 0, 600, c.flags), c.result);
        int sent = 0;
        for (const unitsim::Request& r : rig.sim->requests()) sent += r.command == 0x42 ? 1 : 0;
        const int lost = c.faults.dropAnswerCount + c.faults.corruptCheckCount;
        EXPECT_EQ(sent, c.result == kJobDone ? 1 + lost : 3);
        rig.sim->setFaults({});
        rig.sim->clearRequests();
    }
    EXPECT_EQ(rig.runJob(kJobHeader, 0, 300, kJobMarkAll | kJobClearData), kJobDone);
    EXPECT_EQ(rig.link->receivedData[11], 0x01);
    EXPECT_EQ(rig.link->receivedData[12], 0x35);
}

TEST(LinkJobs, UnitGoingSilentEndsTheJob)
{
    LinkRig rig(unit(IGN300, 115200));
    ASSERT_TRUE(rig.connect());
    unitsim::Faults faults;
    faults.silentAfter = 3;
    rig.sim->setFaults(faults);
    EXPECT_EQ(rig.runJob(kJobRead, 0, 5100, kJobMarkAll | kJobClearData), kJobFailed);
    EXPECT_GT(rig.link->Position(), 0);
    EXPECT_LT(rig.link->Position(), 5100);
}

TEST(LinkJobs, PortVanishingMidJobEndsItAndTheSearchResumes)
{
    LinkRig rig(unit(WCOM, 57600));
    ASSERT_TRUE(rig.connect());
    ASSERT_TRUE(rig.link->StartJob(kJobRead, 0, 5100, kJobMarkAll | kJobClearData));
    ASSERT_TRUE(rig.runUntil([&] { return rig.link->Position() >= 600; }));
    rig.sim->closeLine();
    int result = -1;
    EXPECT_TRUE(rig.runUntil([&] {
        result = rig.link->JobField();
        // The protocol thread takes the port change over on its next turn; wait for it too.
        return result != kJobRead && rig.link->portInUse.load() == 0 && rig.link->LinkState() == kLinkNoPort;
    }));
    EXPECT_TRUE(result == 0 || result == kJobFailed);
    EXPECT_EQ(rig.link->LinkState(), kLinkNoPort);
}

TEST(LinkJobs, ClosingThePortDropsTheJobWithoutResult)
{
    LinkRig rig(unit(IGN300, 115200));
    ASSERT_TRUE(rig.connect());
    ASSERT_TRUE(rig.link->StartJob(kJobRead, 0, 5100, kJobMarkAll | kJobClearData));
    ASSERT_TRUE(rig.runUntil([&] { return rig.link->Position() >= 300; }));
    rig.link->ClosePort();
    bool sawResult = false;
    EXPECT_TRUE(rig.runUntil(
        [&] {
            const int field = rig.link->JobField();
            sawResult = sawResult || field == kJobFailed || field == kJobDone;
            return field == 0 && rig.link->LinkState() == kLinkNoPort;
        },
        2000));
    EXPECT_FALSE(sawResult);
    EXPECT_EQ(rig.link->LinkState(), kLinkNoPort);
}

TEST(LinkJobs, LiveAnswerAnnouncingSamplesBringsThePickupBlock)
{
    LinkRig rig(unit(IGN300, 115200));
    std::vector<std::uint8_t> samples(4000);
    for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<std::uint8_t>(i * 5 + 3);
    rig.sim->setPickupSamples(samples, 1);
    ASSERT_TRUE(rig.connect());
    rig.link->sendData[105] = 1;
    ASSERT_EQ(rig.runJob(kJobLive, 0, 300, kJobMarkAll | kJobOneTry), kJobDone);
    EXPECT_EQ(rig.link->receivedData[1], 0x01);
    EXPECT_EQ(rig.link->receivedData[2], 0x35);
    PickupSampleBlock block;
    ASSERT_TRUE(rig.runUntil([&] { return rig.link->TakePickupBlock(block); }, 3000));
    EXPECT_EQ(block.type, 1);
    EXPECT_EQ(block.receivedLength, 4000);
    EXPECT_TRUE(std::equal(samples.begin(), samples.end(), block.data.begin()));
}

TEST(LinkLifetime, DestroyingTheLinkMidJobJoinsItsThreads)
{
    // The port thread may be inside a write and the protocol thread inside a turn when the link goes; both are
    // joined before anything they use is freed (the sanitizer builds check the memory).
    for (int protocol : {IGN300, WCOM}) {
        SCOPED_TRACE(protocol);
        LinkRig rig(unit(protocol, protocol == IGN300 ? 115200 : 57600));
        ASSERT_TRUE(rig.connect());
        ASSERT_TRUE(rig.link->StartJob(kJobProgram, 0, 5100, kJobMarkAll));
        ASSERT_TRUE(rig.runUntil([&] { return rig.link->Position() > 0; }));
        rig.link.reset();
        EXPECT_EQ(rig.link, nullptr);
    }
}
