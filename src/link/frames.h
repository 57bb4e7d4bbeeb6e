#pragma once
// Link frames of the six protocols: the framed WCOM (CRC) and WCOMS (complemented sum) with a preamble, and
// the fixed frames IGN50/100/150/300 (command, N data bytes, XOR check). Builders, the sender that hands a
// frame to a port in pieces, and the receiver that assembles and checks answers byte by byte.
#include <array>
#include <atomic>
#include <cstdint>
#include <span>

#include "link/ring.h"

inline constexpr int PROTOCOL_NONE = 0;
inline constexpr int WCOM = 1;
inline constexpr int WCOMS = 2;
inline constexpr int IGN50 = 3050;
inline constexpr int IGN100 = 3100;
inline constexpr int IGN150 = 3150;
inline constexpr int IGN300 = 3300;

inline constexpr int kMaxFrame = 1040;      // longest frame received or sent
inline constexpr int kMaxFramedData = 512;  // data bytes the program sends in one framed frame
inline constexpr int kFramedOverhead = 16;  // preamble, type, command, address, length, check
inline constexpr int kFixedOverhead = 2;    // command and check

// Flags in the command argument of BuildWcomFrame.
inline constexpr std::uint32_t kFrameSum = 0x10000;    // WCOMS: sum check
inline constexpr std::uint32_t kFrameKindC = 0x20000;  // an answer
inline constexpr std::uint32_t kFrameKindD = 0x40000;  // the second answer kind

inline constexpr std::array<std::uint8_t, 7> kPreamble{0xFF, 0xFF, 0xFF, 0xFF, 0xA5, 0x5A, 0xBB};
inline constexpr std::uint16_t kCrcAfterPreamble = 0xB797;
inline constexpr std::uint16_t kSumAfterPreamble = 0x5B5E;

using FrameBuffer = std::array<std::uint8_t, kMaxFrame>;

[[nodiscard]] bool isFramedProtocol(int protocol);
[[nodiscard]] bool isFixedProtocol(int protocol);
// N of a fixed-frame protocol (50, 100, 150, 300), else 0.
[[nodiscard]] int fixedDataLength(int protocol);

// One step of the WCOM CRC: the byte's bits enter lowest first.
[[nodiscard]] std::uint16_t crcStep(std::uint16_t reg, std::uint8_t byte);
[[nodiscard]] std::uint16_t wcomCrc(std::span<const std::uint8_t> bytes);  // register starts at 0x0001
// The WCOMS sum: bytes at even offsets as low bytes, at odd offsets as high bytes.
[[nodiscard]] std::uint16_t wcomsSum(std::span<const std::uint8_t> bytes);

// Builds a framed frame into `frame` and returns its length (16 + the data length actually used, at most 512).
int BuildWcomFrame(FrameBuffer& frame, std::uint32_t commandAndFlags, int address, int length,
                   const std::uint8_t* data);
// Fixed frames; data may be null (zeros). V goes big-endian into the last two data bytes (IGN50/100/150 only).
// Each returns the frame length N + 2.
int BuildIgn50Frame(FrameBuffer& frame, int base, int number, const std::uint8_t* data, int value);
int BuildIgn100Frame(FrameBuffer& frame, int base, int number, const std::uint8_t* data, int value);
int BuildIgn150Frame(FrameBuffer& frame, int base, int number, const std::uint8_t* data, int value);
int BuildIgn300Frame(FrameBuffer& frame, int base, int number, const std::uint8_t* data);
int BuildIgnFrame(FrameBuffer& frame, int protocol, int base, int number, const std::uint8_t* data, int value);
// frame byte p+1 * 256 + frame byte p+2
[[nodiscard]] int GetBigEndianWord(std::span<const std::uint8_t> frame, int p);

// Fields of a received framed frame.
[[nodiscard]] int framedType(const FrameBuffer& f);
[[nodiscard]] int framedCommand(const FrameBuffer& f);
[[nodiscard]] int framedAddress(const FrameBuffer& f);
[[nodiscard]] int framedLength(const FrameBuffer& f);
inline constexpr int kFramedDataOffset = 14;

// The pickup sample block: a stream of samples the unit sends after a live frame that announces it.
inline constexpr int kPickupMaxBytes = 15000;
struct PickupSampleBlock
{
    std::uint8_t type = 0;  // 0 = none
    std::uint16_t expectedLength = 0;
    std::uint16_t receivedLength = 0;
    std::uint8_t expectedXor = 0;
    std::uint8_t expectedSum = 0;
    std::uint8_t cycleDivisor = 0;
    std::array<std::uint8_t, kPickupMaxBytes> data{};
};

// The block being filled belongs to the receiver's thread alone; the completed copy is handed to the main
// thread through completedType: the receiver fills it only while that is 0 and then publishes the type, the
// taker copies it out and stores 0.
struct PickupBlocks
{
    PickupSampleBlock filling;
    PickupSampleBlock completed;
    std::atomic<std::uint8_t> completedType{0};

    // Receiver's thread: expect a block as a live answer announced it.
    void arm(std::uint8_t type, int expectedLength, std::uint8_t expectedXor, std::uint8_t expectedSum,
             std::uint8_t cycleDivisor);
    // Main thread: takes a completed block over, if one waits.
    [[nodiscard]] bool take(PickupSampleBlock& into);
};

// The frame state of one search slot or of the link slot; used by one thread at a time.
struct Transceiver
{
    int protocol = PROTOCOL_NONE;
    std::uint16_t accumulator = 0;
    std::uint16_t capturedCheck = 0;
    std::uint32_t lastByteTime = 0;
    int gapTimeout = 0;
    int frameLength = 0;
    int position = 0;
    int checkMode = 255;  // framed: 0 CRC, 1 sum, 255 not yet synchronised
    FrameBuffer receiveFrame{};
    int sendLength = 0;
    FrameBuffer sendFrame{};
    int remaining = 0;
    int sendPosition = -1;  // next byte of the send frame; -1 = a new frame is to be started
};

void SetLinkProtocol(Transceiver& t, int protocol, int gapTimeout);
void ResetTransceiver(Transceiver& t);
// Hands the next piece (at most 330 bytes) of the send frame to the port when its transmit buffer is free.
void SendPiece(Transceiver& t, TransmitBuffer& tx);
// Whether the whole send frame has been handed to the port.
[[nodiscard]] inline bool sendDone(const Transceiver& t)
{
    return t.sendPosition >= 0 && t.remaining == 0;
}
// Takes bytes from the ring until a frame with a correct check is complete in receiveFrame (returns true), or
// the ring is empty. tmr is the link clock, for the gap time-out. pickup may be null.
[[nodiscard]] bool ReceiveFrame(Transceiver& t, ReceiveRing& ring, std::uint32_t tmr, PickupBlocks* pickup);
// Bytes the receiver has still to take before the frame it assembles can be complete, at least 1. Never more
// than the truth: a fixed-protocol frame's rest, a framed one's header until the header tells the length.
[[nodiscard]] int BytesStillNeeded(const Transceiver& t);
// Milliseconds the line needs to carry `bytes` bytes (10 bits each) at `baud`, rounded up; 0 for no bytes.
[[nodiscard]] int WireTimeMs(int bytes, int baud);
