#pragma once
// The pickup sample path: completed sample blocks from the link go into the main window's pickup ring, and the
// ring's new samples become the points that the pickup monitor draws, over crank angle (synchronised blocks) or
// over time. Plain data and functions of the main thread; no window is needed here.
#include <array>
#include <cstdint>

#include "link/frames.h"

// A sample word: bits 0-23 timer ticks (wrapping at 2^24), 24-25 the reference phase (it steps at every reference
// edge), 26 and 27 the levels of pickup inputs 1 and 2, 28-31 ignition outputs 1 to 4 firing.
inline constexpr std::uint32_t kSampleTickMask = 0xFFFFFF;
inline constexpr std::int64_t kSampleTickWrap = 0x1000000;
inline constexpr int kSamplePhaseShift = 24;
inline constexpr std::uint32_t kSampleInput1 = 1u << 26;
inline constexpr std::uint32_t kSampleInput2 = 1u << 27;
inline constexpr std::uint32_t kSampleIgnition1 = 1u << 28;

// Point flags: the sample's bits 24-31 as bits 0-7, and the two closing points of angle mode, which mark one
// reference period (0 to span).
inline constexpr std::uint32_t kPointPhase = 0x3;
inline constexpr std::uint32_t kPointInput1 = 0x4;
inline constexpr std::uint32_t kPointInput2 = 0x8;
inline constexpr std::uint32_t kPointIgnitions = 0xF0;  // outputs 1-4: bits 4-7
inline constexpr std::uint32_t kPointAtZero = 0x100;
inline constexpr std::uint32_t kPointAtSpan = 0x200;
inline constexpr std::uint32_t kPointClosing = kPointAtZero | kPointAtSpan;

// The unit's timer: angle blocks are timed in 0.7234 us ticks, time blocks in 0.5 us ticks.
inline constexpr double kAngleTickSeconds = 7.234e-7;
inline constexpr double kTimeTickMs = 0.0005;

// Block types of the link's pickup block, and the display modes they select.
inline constexpr int kPickupTypeAngle = 1;
inline constexpr int kPickupTypeTime = 2;
inline constexpr int kPickupModeTime = 0;
inline constexpr int kPickupModeAngle = 1;

inline constexpr int kPickupRingSize = 10000;
inline constexpr int kPickupPointCount = 600;

// The main window's ring of sample words. read == write: nothing unread. Indexes wrap from 9999 to 0.
struct PickupRing
{
    std::array<std::uint32_t, kPickupRingSize> words{};
    int read = 0;
    int write = 0;
    int cycleDivisor = 0;  // of the last block taken: reference periods in 720 degrees
};

struct PickupPoint
{
    double position = 0;  // degrees in angle mode, milliseconds in time mode
    std::uint32_t flags = 0;
};

// What the analysis hands to the painter: the pickup monitor object's picture data.
struct PickupTrace
{
    int redraw = 0;   // set when the picture must be painted again
    double rpm = 0;   // from the last angle analysis; 0 in time mode
    double xMin = 0;  // axis range, degrees or milliseconds
    double xMax = 0;
    int span = 0;     // degrees of one reference period
    std::array<PickupPoint, kPickupPointCount> points{};
    int pointCount = 0;
};

// Takes a completed block into the ring: type 1 selects angle mode, type 2 time mode; what was not analysed yet is
// dropped, the block's samples are appended (the oldest dropped when the ring is full). Other types change
// nothing. Returns whether the block was taken in.
bool TakePickupBlock(PickupRing& ring, int& displayMode, const PickupSampleBlock& block);

// Angle mode: finds the reference edges among the unread samples and places every sample by crank angle, each
// reference period scaled by its own measured duration. Without two edges the samples stay unread and the
// previous points stay.
void AnalysePickupEdges(PickupRing& ring, PickupTrace& trace);

// Time mode: places the unread samples in milliseconds from the first rise of pickup input 2 (or from the first
// sample when it never rises).
void BuildPickupCurve(PickupRing& ring, PickupTrace& trace);
