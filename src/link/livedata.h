#pragma once
// The live-data request sent about every 0.4 s and the live-data block that holds the unit's last answer.
#include <array>
#include <cstdint>
#include <span>

#include "settings/image.h"

inline constexpr int kLiveFrameLength = 300;  // request and answer
inline constexpr int kLiveBlockLength = 301;  // the answer stored one byte on
inline constexpr int kLiveWordCount = 86;     // answer bytes 1..172 are big-endian words
inline constexpr int kLiveWordKey = 1;        // the unit's structure key
inline constexpr int kLiveWordSaveCounter = 50;
inline constexpr int kLiveWordChangedBlocks = 56;

// Request positions.
inline constexpr int kLiveReqTuning = 0;
inline constexpr int kLiveReqTestCommands = 99;  // four one-shot bytes
inline constexpr int kLiveReqTestRpm = 103;
inline constexpr int kLiveReqTestServo = 104;
inline constexpr int kLiveReqPickup = 105;
inline constexpr int kImageTestRpm = 4876;
inline constexpr int kImageTestServo = 4877;

class LiveBlock final
{
public:
    // Byte k of the block (0..300); 0 outside.
    [[nodiscard]] std::uint8_t Monb(int k) const
    {
        return k >= 0 && k < kLiveBlockLength ? m_bytes[static_cast<std::size_t>(k)] : 0;
    }
    // Word w: the little-endian value of block bytes 2w and 2w + 1 (w = 0..149); 0 outside.
    [[nodiscard]] std::uint16_t Monw(int w) const
    {
        return static_cast<std::uint16_t>(Monb(2 * w) | (Monb(2 * w + 1) << 8));
    }
    // Stores a 300-byte answer: its 86 words from byte 1 turned to the host order, byte i to block byte i + 1.
    void StoreAnswer(std::span<const std::uint8_t> answer);
    void Clear() { m_bytes.fill(0); }
    [[nodiscard]] std::span<const std::uint8_t, kLiveBlockLength> Bytes() const { return m_bytes; }
    // For the live player, which copies recorded blocks over it.
    [[nodiscard]] std::span<std::uint8_t, kLiveBlockLength> MutableBytes() { return m_bytes; }

private:
    std::array<std::uint8_t, kLiveBlockLength> m_bytes{};
};

// The main window's decoded copy of the last live frame (b = Monb byte, w = Monw word). The map editors take their
// operating points from it, the pages their live marks, the live display its texts.
inline constexpr int kLiveTimeUnknown = 2147483647;  // hour meter or overvoltage time not (yet) reported
struct LiveValues
{
    int rpm = 0;             // w2
    int tps = 0;             // 0.1 %, w47
    int tps2 = 0;            // 0.1 %, second throttle sensor, w83 (0xFFFF: none, taken as 0)
    int gasHandle = 0;       // 0.1 %, w57
    int iap = 0;             // 0.1 kPa: w69, or w46 x 10 while w69 is 0
    int ap = 0;              // 0.1 kPa, w4
    int coolant = 0;         // deg C + 100, b195 (0: none; 180 while its sensor reports an error)
    int air = 0;             // deg C + 100, b196 (0: none)
    int startChoke = 0;      // 0.1 s, w25
    int tpShare = 0;         // %, b198: how much of the injection load comes from TP
    int gear = 0;            // b197 (255: none)
    int gearVoltage = 0;     // mV, w37
    int gearRatio = 0;       // w38
    int lambdaVoltage = 0;   // mV, w7 (0xFFFF: not reported)
    int saveCounter = 0;     // w50
    // 0.1 AFR, b203..b206; a channel byte of 255 (channel missing) takes lambda 1 (channels 2 and 3) or lambda 2
    // (channel 4), and the count is 1 plus the channels 2 to 4 that are present.
    std::array<int, 4> lambda{};
    int lambdaCount = 1;
    bool limiterIgn = false, limiterJet = false, limiterRetard = false;                    // b176 bits 2, 3, 4
    bool tpsError = false, iapError = false, pressureError = false, engineRunning = false;  // b178 bits 0..3
    bool baseAdvance = false;                                                              // b177 bit 3
    bool throttleByServo = false;                                                          // b179 bit 0
    bool secondTps = false;                                                                // b182 bit 0
    bool idleTpsRange = false, idleControlBand = false;  // b180 bits 3, 4: the idle regulation's state
    bool map0UsesIap = false, map1UsesIap = false, secondAdvanceMap = false;               // b180 bits 5, 6, 7
    bool launchBySpeed = false;  // b211 not 0: the launch and acceleration-limit values are speed-based
    int tpsMillivolts = 0;  // the throttle sensor's voltage, w6: the TP calibration takes it
    // The knob in launch-control mode: acceleration threshold (b212, x 100 while b211 is 0), proportional effect
    // (b213), speed of return (b214), and its offsets to the threshold, effect, return and minimum advance
    // (b215..b218, signed).
    int potiThreshold = 0, potiEffect = 0, potiReturn = 0;
    std::array<int, 4> potiOffsets{};
    int accMinAdvance = 0;     // the acceleration limit's minimum advance in degrees, b219 - 60
    int changedBlockMask = 0;  // w56
    // Minutes; kLiveTimeUnknown until a frame reports them. A frame reports one of the two (b176 bit 5 chooses);
    // the other keeps its value.
    int hourMeter = kLiveTimeUnknown;
    int lastOvervoltage = kLiveTimeUnknown;
};

// The values of one frame; the hour meter and the overvoltage time as this frame reports them (the other unknown).
[[nodiscard]] LiveValues DecodeLiveValues(const LiveBlock& block);
// The values of a live display pass: the frame's, with the coolant taken as 80 deg C while its sensor (not switched
// off) reports an error, and the hour meter or overvoltage time that the frame does not report kept from
// `previous`. Without live data both times are unknown.
[[nodiscard]] LiveValues DecodeLiveValues(const LiveBlock& block, bool hasLiveData, const LiveValues& previous);

// Values derived from the block for the monitor variables, by position: 4 fall sensor, 5 blocking, 7 retard
// limiter, 8 and 25 duty of injectors A and B [%], 10 and 11 mean injection times A and B [us], 20 mean advance,
// 21..24 advance per cylinder. Positions no one fills stay 0.
inline constexpr int kDerivedLiveCount = 30;
using DerivedLiveValues = std::array<double, kDerivedLiveCount>;

// Fills the derived values from the block; `image` gives the cylinder count (byte 2680) and the base advance
// (byte 3095) that replaces the advance while the unit reports it fixed.
void ComputeDerivedLiveValues(const Image& image, const LiveBlock& live, DerivedLiveValues& derived);

struct LiveRequestInputs
{
    bool tuningOn = false;      // lambda tuning switched on
    bool pickupWanted = false;  // the pickup monitor is shown and not paused
};

// Builds the 300-byte live request into `sendData`; sends the test-command bytes once and clears them.
void BuildLiveRequest(std::span<std::uint8_t> sendData, const Image& image, std::array<std::uint8_t, 4>& testCommands,
                      const LiveRequestInputs& inputs);

// The block is current while a port is in use or the live player plays or is paused in playing (states 2, 6).
[[nodiscard]] inline bool HasLiveData(int portInUse, int playerState)
{
    return portInUse != 0 || playerState == 2 || playerState == 6;
}
