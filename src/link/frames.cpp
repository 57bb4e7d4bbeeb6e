#include "link/frames.h"

#include <algorithm>
#include <cstring>

bool isFramedProtocol(int protocol)
{
    return protocol == WCOM || protocol == WCOMS;
}
bool isFixedProtocol(int protocol)
{
    return fixedDataLength(protocol) != 0;
}

int fixedDataLength(int protocol)
{
    switch (protocol) {
        case IGN50:
            return 50;
        case IGN100:
            return 100;
        case IGN150:
            return 150;
        case IGN300:
            return 300;
        default:
            return 0;
    }
}

std::uint16_t crcStep(std::uint16_t reg, std::uint8_t byte)
{
    for (int bit = 0; bit < 8; ++bit) {
        const bool top = (reg & 0x8000) != 0;
        reg = static_cast<std::uint16_t>((reg << 1) | ((byte >> bit) & 1));
        if (top) reg ^= 0x1083;
    }
    return reg;
}

std::uint16_t wcomCrc(std::span<const std::uint8_t> bytes)
{
    std::uint16_t reg = 0x0001;
    for (std::uint8_t b : bytes) reg = crcStep(reg, b);
    return reg;
}

std::uint16_t wcomsSum(std::span<const std::uint8_t> bytes)
{
    std::uint16_t sum = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        sum = static_cast<std::uint16_t>(sum + ((i & 1) ? bytes[i] << 8 : bytes[i]));
    return sum;
}

namespace {
void putLe16(FrameBuffer& f, int at, int value)
{
    f[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(value & 0xFF);
    f[static_cast<std::size_t>(at) + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}
int getLe16(const FrameBuffer& f, int at)
{
    return f[static_cast<std::size_t>(at)] | (f[static_cast<std::size_t>(at) + 1] << 8);
}
}  // namespace

int BuildWcomFrame(FrameBuffer& frame, std::uint32_t commandAndFlags, int address, int length, const std::uint8_t* data)
{
    length = std::clamp(length, 0, kMaxFramedData);
    std::copy(kPreamble.begin(), kPreamble.end(), frame.begin());
    const bool sum = (commandAndFlags & kFrameSum) != 0;
    const int kind = (commandAndFlags & kFrameKindC) ? 0xC : (commandAndFlags & kFrameKindD) ? 0xD : 0xB;
    frame[7] = static_cast<std::uint8_t>((sum ? 0xF0 : 0xB0) | kind);
    putLe16(frame, 8, static_cast<int>(commandAndFlags & 0xFFFF));
    putLe16(frame, 10, address);
    putLe16(frame, 12, length);
    if (data != nullptr)
        std::memcpy(frame.data() + kFramedDataOffset, data, static_cast<std::size_t>(length));
    else
        std::memset(frame.data() + kFramedDataOffset, 0, static_cast<std::size_t>(length));
    const auto body = std::span<const std::uint8_t>(frame.data(), static_cast<std::size_t>(14 + length));
    if (!sum) {
        putLe16(frame, 14 + length, wcomCrc(body));
    } else {
        const int check = 0xFFFF - wcomsSum(body);
        // The check's bytes follow the same even/odd rule as the data, so an odd L puts the high byte first.
        if (length % 2 == 0)
            putLe16(frame, 14 + length, check);
        else
            putLe16(frame, 14 + length, ((check >> 8) & 0xFF) | ((check & 0xFF) << 8));
    }
    return length + kFramedOverhead;
}

int BuildIgnFrame(FrameBuffer& frame, int protocol, int base, int number, const std::uint8_t* data, int value)
{
    const int n = fixedDataLength(protocol);
    if (n == 0) return 0;
    frame[0] = static_cast<std::uint8_t>(base + number);
    if (data != nullptr)
        std::memcpy(frame.data() + 1, data, static_cast<std::size_t>(n));
    else
        std::memset(frame.data() + 1, 0, static_cast<std::size_t>(n));
    if (protocol != IGN300) {
        if (value != 0) frame[static_cast<std::size_t>(n)] = static_cast<std::uint8_t>(value & 0xFF);
        if (value >= 256) frame[static_cast<std::size_t>(n) - 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
    }
    std::uint8_t x = 0xFF;
    for (int i = 0; i <= n; ++i) x ^= frame[static_cast<std::size_t>(i)];
    frame[static_cast<std::size_t>(n) + 1] = x;
    return n + kFixedOverhead;
}

int BuildIgn50Frame(FrameBuffer& f, int base, int number, const std::uint8_t* data, int value)
{
    return BuildIgnFrame(f, IGN50, base, number, data, value);
}
int BuildIgn100Frame(FrameBuffer& f, int base, int number, const std::uint8_t* data, int value)
{
    return BuildIgnFrame(f, IGN100, base, number, data, value);
}
int BuildIgn150Frame(FrameBuffer& f, int base, int number, const std::uint8_t* data, int value)
{
    return BuildIgnFrame(f, IGN150, base, number, data, value);
}
int BuildIgn300Frame(FrameBuffer& f, int base, int number, const std::uint8_t* data)
{
    return BuildIgnFrame(f, IGN300, base, number, data, 0);
}

int GetBigEndianWord(std::span<const std::uint8_t> frame, int p)
{
    if (p < 0 || static_cast<std::size_t>(p) + 2 >= frame.size()) return 0;
    return frame[static_cast<std::size_t>(p) + 1] * 256 + frame[static_cast<std::size_t>(p) + 2];
}

int framedType(const FrameBuffer& f)
{
    return f[7];
}
int framedCommand(const FrameBuffer& f)
{
    return getLe16(f, 8);
}
int framedAddress(const FrameBuffer& f)
{
    return getLe16(f, 10);
}
int framedLength(const FrameBuffer& f)
{
    return getLe16(f, 12);
}

void PickupBlocks::arm(std::uint8_t type, int expectedLength, std::uint8_t expectedXor, std::uint8_t expectedSum,
                       std::uint8_t cycleDivisor)
{
    filling.type = type;
    filling.expectedLength = static_cast<std::uint16_t>(std::clamp(expectedLength, 0, 0xFFFF));
    filling.receivedLength = 0;
    filling.expectedXor = expectedXor;
    filling.expectedSum = expectedSum;
    filling.cycleDivisor = cycleDivisor;
}

bool PickupBlocks::take(PickupSampleBlock& into)
{
    const std::uint8_t type = completedType.load(std::memory_order_acquire);
    if (type == 0) return false;
    into = completed;
    into.type = type;
    completedType.store(0, std::memory_order_release);
    return true;
}

void ResetTransceiver(Transceiver& t)
{
    t.position = 0;
    t.accumulator = 0;
    t.lastByteTime = 0;
    t.gapTimeout = 0;
    t.frameLength = 0;
    t.sendLength = 0;
    t.remaining = 0;
    t.sendPosition = -1;
}

void SetLinkProtocol(Transceiver& t, int protocol, int gapTimeout)
{
    ResetTransceiver(t);
    int length = 0;
    if (protocol == PROTOCOL_NONE)
        length = 0;
    else if (isFramedProtocol(protocol))
        length = kFramedOverhead;
    else if (isFixedProtocol(protocol))
        length = fixedDataLength(protocol) + kFixedOverhead;
    else
        return;
    t.protocol = protocol;
    t.gapTimeout = gapTimeout;
    t.frameLength = length;
}

void SendPiece(Transceiver& t, TransmitBuffer& tx)
{
    if (t.sendPosition < 0) {
        t.sendPosition = 0;
        t.remaining = std::clamp(t.sendLength, 0, kMaxFrame);
    }
    if (t.remaining == 0 || tx.count.load(std::memory_order_acquire) != 0) return;
    const int n = std::min(t.remaining, kMaxPiece);
    if (tx.put(std::span<const std::uint8_t>(t.sendFrame.data() + t.sendPosition, static_cast<std::size_t>(n)))) {
        t.sendPosition += n;
        t.remaining -= n;
    }
}

namespace {
// Returns true when the byte completed the pickup block (it then goes no further).
bool feedPickup(PickupBlocks& pickup, std::uint8_t b)
{
    PickupSampleBlock& block = pickup.filling;
    block.data[block.receivedLength] = b;
    ++block.receivedLength;
    if (block.receivedLength != block.expectedLength) return false;
    std::uint8_t x = 0, s = 0;
    for (int i = 0; i < block.receivedLength; ++i) {
        x ^= block.data[static_cast<std::size_t>(i)];
        s = static_cast<std::uint8_t>(s + block.data[static_cast<std::size_t>(i)]);
    }
    // A completed block still waiting to be taken is kept; the new one is lost rather than torn.
    if (x == block.expectedXor && s == block.expectedSum && pickup.completedType.load(std::memory_order_acquire) == 0) {
        pickup.completed = block;
        pickup.completedType.store(block.type, std::memory_order_release);
    }
    block.type = 0;
    block.receivedLength = 0;
    return true;
}

bool receiveFramedByte(Transceiver& t, std::uint8_t b)
{
    if (t.position >= kMaxFrame) t.position = 0;
    if (t.position == 0) t.checkMode = 255;
    t.receiveFrame[static_cast<std::size_t>(t.position)] = b;
    const int p = t.position + 1;
    t.position = p;
    if (t.checkMode == 0)
        t.accumulator = crcStep(t.accumulator, b);
    else if (t.checkMode == 1)
        t.accumulator = static_cast<std::uint16_t>(t.accumulator + ((p % 2 == 1) ? b : b << 8));
    if (p == 8) {
        t.checkMode = 255;
        if (std::equal(kPreamble.begin(), kPreamble.end(), t.receiveFrame.begin())) {
            if ((t.receiveFrame[7] & 0xF0) == 0xB0)
                t.checkMode = 0;
            else if ((t.receiveFrame[7] & 0xF0) == 0xF0)
                t.checkMode = 1;
        }
        if (t.checkMode == 255) {
            // Slide over the stream one byte at a time until a preamble lines up.
            std::memmove(t.receiveFrame.data(), t.receiveFrame.data() + 1, 7);
            t.position = 7;
            return false;
        }
        if (t.checkMode == 0)
            t.accumulator = crcStep(kCrcAfterPreamble, t.receiveFrame[7]);
        else
            t.accumulator = static_cast<std::uint16_t>(kSumAfterPreamble + (t.receiveFrame[7] << 8));
    }
    if (p < 14 || t.checkMode == 255) return false;
    t.frameLength = kFramedOverhead + framedLength(t.receiveFrame);
    if (p == t.frameLength - 2) t.capturedCheck = t.accumulator;
    if (p != t.frameLength) return false;
    t.position = 0;
    const bool ok = t.checkMode == 0 ? getLe16(t.receiveFrame, p - 2) == t.capturedCheck : t.accumulator == 0xFFFF;
    if (!ok) return false;
    const int command = framedCommand(t.receiveFrame);
    if (command == 0xFFFF || command == 0xFFFE) {
        // A short answer: the answered command rides in the address field, a value of 1 or 2 bytes as data.
        const int kind = command == 0xFFFF ? 0xC : 0xD;
        t.receiveFrame[7] = static_cast<std::uint8_t>((t.receiveFrame[7] & 0xF0) | kind);
        const int answered = framedAddress(t.receiveFrame);
        const int length = framedLength(t.receiveFrame);
        int address = 0;
        if (length == 1)
            address = t.receiveFrame[kFramedDataOffset];
        else if (length == 2)
            address = getLe16(t.receiveFrame, kFramedDataOffset);
        putLe16(t.receiveFrame, 8, answered);
        putLe16(t.receiveFrame, 10, address);
        if (length == 1 || length == 2) putLe16(t.receiveFrame, 12, 0);
    }
    return true;
}

bool receiveFixedByte(Transceiver& t, std::uint8_t b)
{
    if (t.frameLength <= 0 || t.frameLength > kMaxFrame) return false;
    if (t.position >= t.frameLength) t.position = 0;
    if (t.position == 0) {
        t.accumulator = 0xFF;
        if ((b & 0x80) == 0) return false;  // only answers are received
    }
    t.accumulator ^= b;
    t.receiveFrame[static_cast<std::size_t>(t.position)] = b;
    ++t.position;
    if (t.position < t.frameLength) return false;
    t.position = 0;
    return t.accumulator == 0;
}
}  // namespace

int BytesStillNeeded(const Transceiver& t)
{
    if (isFixedProtocol(t.protocol)) {
        if (t.frameLength <= 0 || t.frameLength > kMaxFrame) return 1;
        return t.frameLength - (t.position < t.frameLength ? t.position : 0);
    }
    if (isFramedProtocol(t.protocol)) {
        constexpr int kHeader = kFramedDataOffset;  // the length is known once the header is in
        if (t.position < kHeader || t.checkMode == 255) return std::max(1, kHeader - t.position);
        return std::max(1, t.frameLength - t.position);
    }
    return 1;
}

int WireTimeMs(int bytes, int baud)
{
    if (bytes <= 0) return 0;
    if (baud <= 0) baud = 115200;
    return static_cast<int>((static_cast<std::int64_t>(bytes) * 10 * 1000 + baud - 1) / baud);
}

bool ReceiveFrame(Transceiver& t, ReceiveRing& ring, std::uint32_t tmr, PickupBlocks* pickup)
{
    std::uint8_t b = 0;
    while (ring.pop(b)) {
        if (pickup != nullptr && pickup->filling.type != 0) {
            PickupSampleBlock& block = pickup->filling;
            if (block.receivedLength >= kPickupMaxBytes) {
                block.type = 0;
                block.receivedLength = 0;
                return false;
            }
            if (feedPickup(*pickup, b)) return false;
        }
        if (t.position > 0 && tmr - t.lastByteTime > static_cast<std::uint32_t>(t.gapTimeout))
            t.position = 0;  // an unfinished frame is dropped after a pause
        t.lastByteTime = tmr;
        if (t.protocol == PROTOCOL_NONE) {
            ring.dropAll();
            return false;
        }
        if (isFramedProtocol(t.protocol)) {
            if (receiveFramedByte(t, b)) return true;
        } else if (isFixedProtocol(t.protocol)) {
            if (receiveFixedByte(t, b)) return true;
        }
    }
    return false;
}
