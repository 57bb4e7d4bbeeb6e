// Frames against golden byte sequences computed by hand from the frame rules (preamble, type, LE fields, CRC
// fed LSB first with 0x1083, or the complemented even/odd sum), and the receiver fed byte by byte.
#include "link/frames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {
using Bytes = std::vector<std::uint8_t>;

Bytes framedBytes(std::initializer_list<std::uint8_t> tail)
{
    Bytes b(kPreamble.size() + tail.size());
    std::copy(kPreamble.begin(), kPreamble.end(), b.begin());
    std::copy(tail.begin(), tail.end(), b.begin() + static_cast<long>(kPreamble.size()));
    return b;
}

Bytes built(const FrameBuffer& f, int length)
{
    return Bytes(f.begin(), f.begin() + length);
}

// Feeds bytes through a ring in chunks, the way a port thread would, and collects the frames received.
struct Feeder
{
    ReceiveRing ring;
    Transceiver t;
    PickupBlocks* pickup = nullptr;
    std::uint32_t tmr = 1000;
    std::vector<Bytes> frames;

    int frameLen() const
    {
        return isFramedProtocol(t.protocol) ? kFramedOverhead + framedLength(t.receiveFrame) : t.frameLength;
    }
    void feed(const Bytes& bytes, std::size_t chunk = 7)
    {
        std::size_t at = 0;
        while (at < bytes.size()) {
            const std::size_t want = std::min(chunk, bytes.size() - at);
            const std::size_t got = ring.fill(want, [&](std::span<std::uint8_t> into) {
                std::copy_n(bytes.begin() + static_cast<long>(at), into.size(), into.begin());
                at += into.size();
                return into.size();
            });
            (void)got;
            while (ReceiveFrame(t, ring, tmr, pickup))
                frames.push_back(Bytes(t.receiveFrame.begin(), t.receiveFrame.begin() + frameLen()));
        }
    }
};
}  // namespace

TEST(Frames, ChecksMatchTheirAnchors)
{
    EXPECT_EQ(wcomCrc(kPreamble), kCrcAfterPreamble);
    EXPECT_EQ(wcomsSum(kPreamble), kSumAfterPreamble);
}

TEST(Frames, BuildersMatchGoldenFrames)
{
    struct Case
    {
        const char* name;
        Bytes expected;
        std::function<int(FrameBuffer&)> build;
    };
    const std::uint8_t readData[] = {0x2C, 0x01};
    const std::uint8_t oddData[] = {0x42};
    Bytes ign300(302, 0);
    ign300[0] = 0x30;
    ign300[301] = 0xCF;
    Bytes ign50(52, 0);
    ign50[0] = 0x30;
    ign50[49] = 0x01;
    ign50[50] = 0x35;
    ign50[51] = 0xFB;
    const Case cases[] = {
        {"wcom_read_0x7010", framedBytes({0xBB, 0x10, 0x70, 0x00, 0x00, 0x02, 0x00, 0x2C, 0x01, 0x4D, 0x32}),
         [&](FrameBuffer& f) { return BuildWcomFrame(f, 0x7010, 0, 2, readData); }},
        {"wcom_identify", framedBytes({0xBB, 0xEE, 0xFE, 0x00, 0x00, 0x00, 0x00, 0xD8, 0x69}),
         [](FrameBuffer& f) { return BuildWcomFrame(f, 0xFEEE, 0, 0, nullptr); }},
        {"wcoms_identify", framedBytes({0xFB, 0xEE, 0xFE, 0x00, 0x00, 0x00, 0x00, 0xB3, 0xAA}),
         [](FrameBuffer& f) { return BuildWcomFrame(f, 0xFEEE | kFrameSum, 0, 0, nullptr); }},
        {"wcoms_odd_length_high_byte_first", framedBytes({0xFB, 0x20, 0x70, 0x10, 0x00, 0x01, 0x00, 0x42, 0x39, 0x2E}),
         [&](FrameBuffer& f) { return BuildWcomFrame(f, 0x7020 | kFrameSum, 0x10, 1, oddData); }},
        {"ign300_identify", ign300, [](FrameBuffer& f) { return BuildIgn300Frame(f, 0x30, 0, nullptr); }},
        {"ign50_identify_with_key", ign50, [](FrameBuffer& f) { return BuildIgn50Frame(f, 0x30, 0, nullptr, 309); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FrameBuffer f{};
        const int length = c.build(f);
        EXPECT_EQ(built(f, length), c.expected);
    }
}

TEST(Frames, WcomsFrameSumsToAllOnes)
{
    for (int length : {0, 1, 2, 7, 512}) {
        SCOPED_TRACE(length);
        std::vector<std::uint8_t> data(static_cast<std::size_t>(length));
        for (int i = 0; i < length; ++i) data[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 37 + 5);
        FrameBuffer f{};
        const int n = BuildWcomFrame(f, 0x7020 | kFrameSum, 0x1234, length, data.data());
        EXPECT_EQ(n, length + 16);
        EXPECT_EQ(wcomsSum(std::span<const std::uint8_t>(f.data(), static_cast<std::size_t>(n))), 0xFFFF);
    }
}

TEST(Frames, LengthAbove512IsCut)
{
    FrameBuffer f{};
    std::vector<std::uint8_t> data(600, 1);
    EXPECT_EQ(BuildWcomFrame(f, 0x7020, 0, 600, data.data()), 528);
    EXPECT_EQ(framedLength(f), 512);
}

TEST(FrameReceiver, AcceptsGoldenFramesAfterNoiseInAnySplit)
{
    const Bytes wcom = framedBytes({0xBB, 0x10, 0x70, 0x00, 0x00, 0x02, 0x00, 0x2C, 0x01, 0x4D, 0x32});
    const Bytes wcoms = framedBytes({0xFB, 0x20, 0x70, 0x10, 0x00, 0x01, 0x00, 0x42, 0x39, 0x2E});
    const Bytes noise{0x00, 0xFF, 0xFF, 0xA5, 0x5A, 0x13, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xA5};
    for (std::size_t chunk : {1u, 2u, 5u, 64u}) {
        SCOPED_TRACE(chunk);
        for (const Bytes* frame : {&wcom, &wcoms}) {
            Feeder feeder;
            SetLinkProtocol(feeder.t, WCOM, 75);
            Bytes stream = noise;
            stream.insert(stream.end(), frame->begin(), frame->end());
            stream.insert(stream.end(), frame->begin(), frame->end());
            feeder.feed(stream, chunk);
            ASSERT_EQ(feeder.frames.size(), 2u);
            EXPECT_EQ(feeder.frames[0], *frame);
            EXPECT_EQ(feeder.frames[1], *frame);
        }
    }
}

TEST(FrameReceiver, RejectsEverySingleBitFlip)
{
    const Bytes good = framedBytes({0xBB, 0x10, 0x70, 0x00, 0x00, 0x02, 0x00, 0x2C, 0x01, 0x4D, 0x32});
    const Bytes goodSum = framedBytes({0xFB, 0x20, 0x70, 0x10, 0x00, 0x01, 0x00, 0x42, 0x39, 0x2E});
    for (const Bytes* frame : {&good, &goodSum}) {
        for (std::size_t bit = 0; bit < frame->size() * 8; ++bit) {
            Bytes bad = *frame;
            bad[bit / 8] ^= static_cast<std::uint8_t>(1u << (bit % 8));
            Feeder feeder;
            SetLinkProtocol(feeder.t, WCOM, 75);
            feeder.feed(bad, 1);
            // A flip in the length field may leave the frame incomplete; it must never be accepted either way.
            EXPECT_TRUE(feeder.frames.empty()) << "bit " << bit;
            // The receiver recovers: the good frame sent again after the answer time-out is received (a flip in
            // the length field makes the receiver wait for more bytes until the gap time-out drops them).
            feeder.tmr += 400;
            feeder.feed(*frame);
            EXPECT_EQ(feeder.frames.size(), 1u) << "bit " << bit;
        }
    }
}

TEST(FrameReceiver, ShortAnswerIsRewritten)
{
    FrameBuffer f{};
    const std::uint8_t value = 0x2A;
    const int n = BuildWcomFrame(f, 0xFFFF | kFrameKindC, 0x7050, 1, &value);
    Feeder feeder;
    SetLinkProtocol(feeder.t, WCOM, 75);
    feeder.feed(built(f, n));
    ASSERT_EQ(feeder.frames.size(), 1u);
    EXPECT_EQ(framedType(feeder.t.receiveFrame) & 0x0F, 0xC);
    EXPECT_EQ(framedCommand(feeder.t.receiveFrame), 0x7050);
    EXPECT_EQ(framedAddress(feeder.t.receiveFrame), 0x2A);
    EXPECT_EQ(framedLength(feeder.t.receiveFrame), 0);
}

TEST(FrameReceiver, HugeLengthFieldIsDroppedWithoutOverflow)
{
    Bytes huge = framedBytes({0xBC, 0x10, 0x70, 0x00, 0x00, 0xFF, 0xFF});
    huge.resize(3000, 0x11);
    FrameBuffer f{};
    const std::uint8_t data[] = {1, 2};
    const int n = BuildWcomFrame(f, 0x7010 | kFrameKindC, 0, 2, data);
    Feeder feeder;
    SetLinkProtocol(feeder.t, WCOM, 75);
    feeder.feed(huge, 64);
    EXPECT_TRUE(feeder.frames.empty());
    feeder.feed(built(f, n));
    EXPECT_EQ(feeder.frames.size(), 1u);
}

TEST(FrameReceiver, PauseLongerThanGapDropsTheFrame)
{
    FrameBuffer f{};
    const int n = BuildWcomFrame(f, 0xFEEE | kFrameKindC, 0, 0, nullptr);
    const Bytes frame = built(f, n);
    Feeder feeder;
    SetLinkProtocol(feeder.t, WCOM, 75);
    feeder.feed(Bytes(frame.begin(), frame.begin() + 10));
    feeder.tmr += 76;
    feeder.feed(Bytes(frame.begin() + 10, frame.end()));
    EXPECT_TRUE(feeder.frames.empty());
    feeder.tmr += 75;  // a pause of exactly the time-out is still inside the frame
    feeder.feed(Bytes(frame.begin(), frame.begin() + 10));
    feeder.tmr += 75;
    feeder.feed(Bytes(frame.begin() + 10, frame.end()));
    EXPECT_EQ(feeder.frames.size(), 1u);
}

TEST(FrameReceiver, FixedFrames)
{
    FrameBuffer f{};
    const int n = BuildIgn300Frame(f, 0xC0, 1, nullptr);
    Bytes good = built(f, n);
    Bytes bad = good;
    bad[100] ^= 0x04;
    Feeder feeder;
    SetLinkProtocol(feeder.t, IGN300, 175);
    Bytes stream{0x30, 0x00, 0x7F};  // bytes with bit 7 clear never start a frame
    stream.insert(stream.end(), bad.begin(), bad.end());
    stream.insert(stream.end(), good.begin(), good.end());
    feeder.feed(stream, 33);
    ASSERT_EQ(feeder.frames.size(), 1u);
    EXPECT_EQ(feeder.frames[0], good);
}

TEST(FrameSender, LongFrameLeavesInPiecesWhenTheBufferIsFree)
{
    Transceiver t;
    std::vector<std::uint8_t> data(512, 0x5A);
    t.sendLength = BuildWcomFrame(t.sendFrame, 0x7020, 0, 512, data.data());
    ASSERT_EQ(t.sendLength, 528);
    TransmitBuffer tx;
    SendPiece(t, tx);
    EXPECT_EQ(tx.count.load(), 330);
    SendPiece(t, tx);  // still busy: nothing moves
    EXPECT_EQ(t.remaining, 198);
    EXPECT_FALSE(sendDone(t));
    tx.count.store(0);
    SendPiece(t, tx);
    EXPECT_EQ(tx.count.load(), 198);
    EXPECT_TRUE(sendDone(t));
    EXPECT_EQ(tx.bytes[197], t.sendFrame[527]);
}

TEST(Pickup, BlockIsCollectedCheckedAndBounded)
{
    struct Case
    {
        const char* name;
        int announced;
        bool sumRight;
        bool completes;
    };
    const Case cases[] = {{"full_block", 15000, true, true},
                          {"wrong_sum", 400, false, false},
                          {"announced_too_long", 20000, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto pickup = std::make_unique<PickupBlocks>();
        const int len = std::min(c.announced, 15000);
        Bytes samples(static_cast<std::size_t>(len));
        std::uint8_t x = 0, s = 0;
        for (int i = 0; i < len; ++i) {
            samples[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 7 + 1);
            x ^= samples[static_cast<std::size_t>(i)];
            s = static_cast<std::uint8_t>(s + samples[static_cast<std::size_t>(i)]);
        }
        pickup->arm(2, c.announced, x, static_cast<std::uint8_t>(c.sumRight ? s : s + 1), 4);
        Feeder feeder;
        feeder.pickup = pickup.get();
        SetLinkProtocol(feeder.t, IGN300, 175);
        feeder.feed(samples, 330);
        Bytes extra{0x01};
        feeder.feed(extra);  // one byte past 15000 ends an over-long block
        PickupSampleBlock out;
        EXPECT_EQ(pickup->take(out), c.completes);
        if (c.completes) {
            EXPECT_EQ(out.type, 2);
            EXPECT_EQ(out.receivedLength, len);
            EXPECT_EQ(out.data[14999], samples[14999]);
        }
        EXPECT_EQ(pickup->filling.type, 0);
        EXPECT_FALSE(pickup->take(out));
    }
}

// The port and protocol threads let an answer gather for as long as the receiver says it still needs bytes; an
// estimate above the truth would hold a complete frame back. Fed byte by byte through noise, broken frames and
// good ones, the estimate never passes the bytes up to the next frame's end, and is exact within a fixed frame.
TEST(FrameReceiver, BytesStillNeededNeverOvershootsTheNextFrame)
{
    FrameBuffer f{};
    const Bytes ign = built(f, BuildIgn300Frame(f, 0xC0, 1, nullptr));
    Bytes ignBad = ign;
    ignBad[100] ^= 0x04;
    const Bytes wcom = framedBytes({0xBB, 0x10, 0x70, 0x00, 0x00, 0x02, 0x00, 0x2C, 0x01, 0x4D, 0x32});
    const Bytes wcoms = framedBytes({0xFB, 0x20, 0x70, 0x10, 0x00, 0x01, 0x00, 0x42, 0x39, 0x2E});
    const Bytes noise{0x00, 0xFF, 0xFF, 0xA5, 0x5A, 0x13, 0xFF, 0x30, 0x7F};
    struct Case {
        int protocol;
        Bytes stream;
    };
    auto join = [](std::initializer_list<const Bytes*> parts) {
        Bytes all;
        for (const Bytes* p : parts) all.insert(all.end(), p->begin(), p->end());
        return all;
    };
    for (const Case& c : {Case{IGN300, join({&noise, &ignBad, &ign, &ign})}, Case{WCOM, join({&noise, &wcom, &wcoms})}}) {
        SCOPED_TRACE(c.protocol);
        Feeder feeder;
        SetLinkProtocol(feeder.t, c.protocol, 100);
        std::vector<std::size_t> frameEnds;
        std::vector<int> estimates;
        for (std::size_t i = 0; i < c.stream.size(); ++i) {
            estimates.push_back(BytesStillNeeded(feeder.t));
            const std::size_t before = feeder.frames.size();
            feeder.feed(Bytes{c.stream[i]}, 1);
            if (feeder.frames.size() != before) frameEnds.push_back(i);
        }
        ASSERT_FALSE(frameEnds.empty());
        for (std::size_t i = 0; i < estimates.size(); ++i) {
            const auto next = std::lower_bound(frameEnds.begin(), frameEnds.end(), i);
            if (next == frameEnds.end()) break;
            EXPECT_GE(estimates[i], 1);
            EXPECT_LE(static_cast<std::size_t>(estimates[i]), *next - i + 1) << "byte " << i;
        }
        if (c.protocol == IGN300) {
            const std::size_t lastStart = c.stream.size() - ign.size();
            EXPECT_EQ(estimates[lastStart], static_cast<int>(ign.size()));
            EXPECT_EQ(estimates[lastStart + 100], static_cast<int>(ign.size()) - 100);
        }
    }
    Transceiver none;
    EXPECT_EQ(BytesStillNeeded(none), 1);
}

TEST(FrameReceiver, WireTimeOfBytes)
{
    struct Case {
        int bytes, baud, ms;
    };
    for (const Case& c : {Case{0, 115200, 0}, Case{1, 115200, 1}, Case{302, 115200, 27}, Case{115, 115200, 10},
                          Case{302, 9600, 315}, Case{10, 0, 1}}) {
        EXPECT_EQ(WireTimeMs(c.bytes, c.baud), c.ms) << c.bytes << " at " << c.baud;
    }
}
