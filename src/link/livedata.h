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
