#include "link/livedata.h"

#include <algorithm>

void LiveBlock::StoreAnswer(std::span<const std::uint8_t> answer)
{
    std::array<std::uint8_t, kLiveFrameLength> a{};
    std::copy_n(answer.begin(), std::min<std::size_t>(answer.size(), a.size()), a.begin());
    for (int w = 0; w < kLiveWordCount; ++w)
        std::swap(a[static_cast<std::size_t>(2 * w + 1)], a[static_cast<std::size_t>(2 * w + 2)]);
    std::copy(a.begin(), a.end(), m_bytes.begin() + 1);
}

void BuildLiveRequest(std::span<std::uint8_t> sendData, const Image& image, std::array<std::uint8_t, 4>& testCommands,
                      const LiveRequestInputs& inputs)
{
    if (sendData.size() < static_cast<std::size_t>(kLiveFrameLength)) return;
    std::fill_n(sendData.begin(), kLiveFrameLength, std::uint8_t{0});
    sendData[kLiveReqTuning] = inputs.tuningOn ? 1 : 0;
    sendData[kLiveReqTestRpm] = image[kImageTestRpm];
    sendData[kLiveReqTestServo] = image[kImageTestServo];
    for (std::size_t i = 0; i < testCommands.size(); ++i) {
        sendData[kLiveReqTestCommands + i] = testCommands[i];
        testCommands[i] = 0;
    }
    sendData[kLiveReqPickup] = inputs.pickupWanted ? 1 : 0;
}

LiveValues DecodeLiveValues(const LiveBlock& b)
{
    LiveValues v;
    auto bit = [&](int byte, int n) { return (b.Monb(byte) >> n & 1) != 0; };
    auto signedByte = [&](int byte) { return static_cast<int>(static_cast<std::int8_t>(b.Monb(byte))); };
    v.rpm = b.Monw(2);
    v.tps = b.Monw(47);
    v.tps2 = b.Monw(83) == 0xFFFF ? 0 : b.Monw(83);
    v.gasHandle = b.Monw(57);
    v.iap = b.Monw(69) != 0 ? b.Monw(69) : b.Monw(46) * 10;
    v.ap = b.Monw(4);
    v.coolant = b.Monb(195);
    v.air = b.Monb(196);
    v.startChoke = b.Monw(25);
    v.tpShare = b.Monb(198);
    v.gear = b.Monb(197);
    v.gearVoltage = b.Monw(37);
    v.gearRatio = b.Monw(38);
    v.lambdaVoltage = b.Monw(7);
    v.saveCounter = b.Monw(50);
    constexpr int kMissing = 255;
    const int channel[4] = {b.Monb(203), b.Monb(204), b.Monb(205), b.Monb(206)};
    v.lambda[0] = channel[0];
    v.lambda[1] = channel[1] == kMissing ? v.lambda[0] : channel[1];
    v.lambda[2] = channel[2] == kMissing ? v.lambda[0] : channel[2];
    v.lambda[3] = channel[3] == kMissing ? v.lambda[1] : channel[3];
    v.lambdaCount = 1 + (channel[1] != kMissing) + (channel[2] != kMissing) + (channel[3] != kMissing);
    v.limiterIgn = bit(176, 2);
    v.limiterJet = bit(176, 3);
    v.limiterRetard = bit(176, 4);
    v.tpsError = bit(178, 0);
    v.iapError = bit(178, 1);
    v.pressureError = bit(178, 2);
    v.engineRunning = bit(178, 3);
    v.baseAdvance = bit(177, 3);
    v.throttleByServo = bit(179, 0);
    v.secondTps = bit(182, 0);
    v.idleTpsRange = bit(180, 3);
    v.idleControlBand = bit(180, 4);
    v.map0UsesIap = bit(180, 5);
    v.map1UsesIap = bit(180, 6);
    v.secondAdvanceMap = bit(180, 7);
    v.launchBySpeed = b.Monb(211) != 0;
    v.tpsMillivolts = b.Monw(6);
    v.potiThreshold = v.launchBySpeed ? b.Monb(212) : b.Monb(212) * 100;
    v.potiEffect = b.Monb(213);
    v.potiReturn = b.Monb(214);
    for (int i = 0; i < 4; ++i) v.potiOffsets[static_cast<std::size_t>(i)] = signedByte(215 + i);
    v.accMinAdvance = b.Monb(219) - 60;
    v.changedBlockMask = b.Monw(56);
    const int minutes = b.Monb(223) * 65536 + b.Monw(68);
    (bit(176, 5) ? v.lastOvervoltage : v.hourMeter) = minutes;
    return v;
}

LiveValues DecodeLiveValues(const LiveBlock& block, bool hasLiveData, const LiveValues& previous)
{
    LiveValues v = DecodeLiveValues(block);
    if (!hasLiveData) {
        v.hourMeter = kLiveTimeUnknown;
        v.lastOvervoltage = kLiveTimeUnknown;
        return v;
    }
    const bool coolantSensorOff = (block.Monb(179) >> 4 & 1) != 0;
    if (!coolantSensorOff && v.coolant == 0) v.coolant = 180;
    if ((block.Monb(176) >> 5 & 1) != 0)
        v.hourMeter = previous.hourMeter;
    else
        v.lastOvervoltage = previous.lastOvervoltage;
    return v;
}

void ComputeDerivedLiveValues(const Image& image, const LiveBlock& live, DerivedLiveValues& derived)
{
    const auto bit = [&](int k, int b) { return (live.Monb(k) >> b) & 1; };
    derived[4] = bit(175, 1);
    derived[5] = bit(175, 3);
    derived[7] = bit(176, 4);
    // Cylinder 1's values always count; the repair keeps the count at 1..4, and a count from an unrepaired image
    // must not reach past the four per-cylinder bytes of each group.
    const int cylinders = std::clamp<int>(image[2680], 0, 4);
    const int used = std::max(cylinders, 1);
    int advanceSum = 0, sumA = 0, sumB = 0, maxA = 0, maxB = 0;
    for (int c = 0; c < 4; ++c) {
        const int advance = c < used ? live.Monb(183 + c) : 0;
        derived[static_cast<std::size_t>(21 + c)] = advance;
        advanceSum += advance;
        if (c >= used) continue;
        sumA += live.Monb(187 + c);
        sumB += live.Monb(191 + c);
        maxA = std::max<int>(maxA, live.Monb(187 + c));
        maxB = std::max<int>(maxB, live.Monb(191 + c));
    }
    derived[20] = cylinders > 0 ? advanceSum / cylinders : 0;
    if (bit(177, 3)) {
        derived[20] = image[3095];
        for (int c = 0; c < cylinders; ++c) derived[static_cast<std::size_t>(21 + c)] = image[3095];
    }
    derived[10] = cylinders > 0 ? 100 * sumA / cylinders : 0;
    derived[11] = cylinders > 0 ? 100 * sumB / cylinders : 0;
    const int rpm = live.Monw(2);
    derived[8] = rpm * maxA / 12000;
    derived[25] = rpm * maxB / 12000;
    if (live.Monb(228) != 0 || live.Monb(229) != 0) {
        derived[8] = live.Monb(228);
        derived[25] = live.Monb(229);
    }
}
