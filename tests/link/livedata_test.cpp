#include "link/livedata.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(LiveData, AnswerIsStoredOneByteOnWithItsWordsInHostOrder)
{
    std::array<std::uint8_t, kLiveFrameLength> answer{};
    for (std::size_t i = 0; i < answer.size(); ++i) answer[i] = static_cast<std::uint8_t>(i * 3 + 1);
    answer[1] = 0x01;  // word 1 big-endian: 309
    answer[2] = 0x35;
    LiveBlock block;
    block.StoreAnswer(answer);
    EXPECT_EQ(block.Monb(0), 0);  // never filled from the unit
    EXPECT_EQ(block.Monw(1), 309);
    for (int w = 2; w <= kLiveWordCount; ++w) ASSERT_EQ(block.Monw(w), (answer[2 * w - 1] << 8) | answer[2 * w]) << w;
    for (int k = 174; k <= 300; ++k) ASSERT_EQ(block.Monb(k), answer[static_cast<std::size_t>(k - 1)]) << k;
    EXPECT_EQ(block.Monb(301), 0);
}

TEST(LiveData, RequestSendsTheTestCommandsOnceAndTheTestValues)
{
    Image image{};
    image[kImageTestRpm] = 55;
    image[kImageTestServo] = 7;
    std::array<std::uint8_t, 4> commands{0x01, 0x00, 0x20, 0x80};
    std::array<std::uint8_t, 400> send;
    send.fill(0xEE);
    BuildLiveRequest(send, image, commands, {.tuningOn = true, .pickupWanted = true});
    EXPECT_EQ(send[0], 1);
    EXPECT_EQ(send[99], 0x01);
    EXPECT_EQ(send[101], 0x20);
    EXPECT_EQ(send[102], 0x80);
    EXPECT_EQ(send[103], 55);
    EXPECT_EQ(send[104], 7);
    EXPECT_EQ(send[105], 1);
    EXPECT_EQ(send[98], 0);
    EXPECT_EQ(send[299], 0);
    EXPECT_EQ(send[300], 0xEE);  // only the request's 300 bytes are written
    EXPECT_EQ(commands, (std::array<std::uint8_t, 4>{}));
    BuildLiveRequest(send, image, commands, {});
    EXPECT_EQ(send[0], 0);
    EXPECT_EQ(send[99], 0);
    EXPECT_EQ(send[101], 0);
    EXPECT_EQ(send[105], 0);
}

TEST(LiveData, HasLiveDataWhileAPortIsInUseOrThePlayerPlays)
{
    struct Case
    {
        int port;
        int player;
        bool expected;
    };
    const Case cases[] = {{0, 0, false}, {3, 0, true}, {0, 2, true}, {0, 6, true}, {0, 1, false}, {0, 4, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.port << "/" << c.player);
        EXPECT_EQ(HasLiveData(c.port, c.player), c.expected);
    }
}

TEST(LiveData, DecodedValuesWithMissingLambdaChannelsAndTheOldPressureWord)
{
    // A frame as the unit sends it: words big-endian from answer byte 1, block position = answer position + 1.
    std::array<std::uint8_t, kLiveFrameLength> answer{};
    auto word = [&](int w, int v) {
        answer[static_cast<std::size_t>(2 * w - 1)] = static_cast<std::uint8_t>(v >> 8);
        answer[static_cast<std::size_t>(2 * w)] = static_cast<std::uint8_t>(v);
    };
    auto byte = [&](int b, int v) { answer[static_cast<std::size_t>(b - 1)] = static_cast<std::uint8_t>(v); };
    word(2, 4321);
    word(47, 575);
    word(46, 98);  // kPa, used while word 69 is 0
    word(25, 123);
    byte(195, 190);
    byte(198, 40);
    byte(178, 0x0A);
    byte(180, 0xA0);
    word(6, 4321 - 4000);  // the throttle sensor, millivolts
    byte(212, 15);         // the knob's threshold, hundreds of rpm/s while byte 211 is 0
    byte(213, 7);
    byte(215, 5);
    byte(216, 0xFB);  // -5
    byte(218, 0x80);  // -128
    const std::array<int, 4> channels = {140, 255, 130, 255};
    for (int k = 0; k < 4; ++k) byte(203 + k, channels[static_cast<std::size_t>(k)]);
    LiveBlock block;
    block.StoreAnswer(answer);
    LiveValues v = DecodeLiveValues(block);
    EXPECT_EQ(v.rpm, 4321);
    EXPECT_EQ(v.tps, 575);
    EXPECT_EQ(v.iap, 980);
    EXPECT_EQ(v.startChoke, 123);
    EXPECT_EQ(v.coolant, 190);
    EXPECT_EQ(v.air, 0);
    EXPECT_EQ(v.tpShare, 40);
    EXPECT_EQ(v.lambda, (std::array<int, 4>{140, 140, 130, 140}));
    EXPECT_EQ(v.lambdaCount, 2);
    EXPECT_TRUE(v.iapError && v.engineRunning && !v.tpsError);
    EXPECT_TRUE(v.map0UsesIap && v.secondAdvanceMap && !v.map1UsesIap);
    EXPECT_EQ(v.tpsMillivolts, 321);
    EXPECT_EQ(v.potiThreshold, 1500);
    EXPECT_EQ(v.potiEffect, 7);
    EXPECT_EQ(v.potiReturn, 0);
    EXPECT_EQ(v.potiOffsets, (std::array<int, 4>{5, -5, 0, -128}));
    byte(211, 1);  // launch control by speed: km/h/s as they are
    word(69, 1005);  // tenths of kPa, when the unit sends them
    block.StoreAnswer(answer);
    v = DecodeLiveValues(block);
    EXPECT_EQ(v.iap, 1005);
    EXPECT_EQ(v.potiThreshold, 15);
}

TEST(LiveData, DerivedValuesPerCylinderCount)
{
    // Block bytes through a stored answer (block byte k is answer byte k - 1); RPM word 2 = 6000.
    std::array<std::uint8_t, kLiveFrameLength> answer{};
    answer[3] = 6000 >> 8;
    answer[4] = 6000 & 0xFF;
    const std::uint8_t advance[4] = {30, 32, 34, 40};
    const std::uint8_t injA[4] = {40, 50, 60, 70};  // 0.1 ms
    const std::uint8_t injB[4] = {10, 20, 30, 40};
    for (int c = 0; c < 4; ++c) {
        answer[static_cast<std::size_t>(182 + c)] = advance[c];
        answer[static_cast<std::size_t>(186 + c)] = injA[c];
        answer[static_cast<std::size_t>(190 + c)] = injB[c];
    }
    answer[174] = 0x0A;  // block byte 175: fall sensor (bit 1) and blocking (bit 3)
    answer[175] = 0x10;  // block byte 176: retard limiter (bit 4)
    LiveBlock block;
    block.StoreAnswer(answer);
    struct Case
    {
        int cylinders;
        double advance, timeA, timeB, dutyA, dutyB;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 20, 5},  // cylinder 1 still counts for the advance and the duties, not for the means
        {1, 30, 4000, 1000, 20, 5},
        {2, 31, 4500, 1500, 25, 10},
        {4, 34, 5500, 2500, 35, 20},
        {9, 34, 5500, 2500, 35, 20},  // an unrepaired count reads no further than four cylinders
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cylinders);
        Image image{};
        image[2680] = static_cast<std::uint8_t>(c.cylinders);
        DerivedLiveValues derived;
        derived.fill(-1);
        ComputeDerivedLiveValues(image, block, derived);
        EXPECT_EQ(derived[20], c.advance);
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(derived[static_cast<std::size_t>(21 + k)], k < std::clamp(c.cylinders, 1, 4) ? advance[k] : 0);
        EXPECT_EQ(derived[10], c.timeA);
        EXPECT_EQ(derived[11], c.timeB);
        EXPECT_EQ(derived[8], c.dutyA);
        EXPECT_EQ(derived[25], c.dutyB);
        EXPECT_EQ(derived[4], 1);
        EXPECT_EQ(derived[5], 1);
        EXPECT_EQ(derived[7], 1);
    }
    // Advance fixed by the unit (block byte 177 bit 3): the base advance everywhere; duties as the unit reports them.
    answer[176] = 0x08;
    answer[227] = 77;
    block.StoreAnswer(answer);
    Image image{};
    image[2680] = 2;
    image[3095] = 12;
    DerivedLiveValues derived{};
    ComputeDerivedLiveValues(image, block, derived);
    EXPECT_EQ(derived[20], 12);
    EXPECT_EQ(derived[21], 12);
    EXPECT_EQ(derived[22], 12);
    EXPECT_EQ(derived[23], 0);
    EXPECT_EQ(derived[8], 77);
    EXPECT_EQ(derived[25], 0);
}
