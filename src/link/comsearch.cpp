#include "link/comsearch.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {
// Identification requests are probed in this order; placeholder rows take the program's own protocol.
constexpr std::array<ProtocolProbe, kProtocolRows + 1> kProtocolTable{{
    {-1, 0, 0},
    {WCOM, 57600, 75},
    {WCOMS, 57600, 125},
    {-1, 0, 0},
    {IGN50, 57600, 125},
    {-1, 0, 0},
    {IGN100, 57600, 175},
    {-1, 0, 0},
    {IGN150, 57600, 175},
    {-1, 0, 0},
    {WCOM, 115200, 75},
    {WCOMS, 115200, 325},
    {-1, 0, 0},
    {IGN300, 115200, 175},
    {0, 0, 0},
}};

// The device types by key: ranges of codes, each named by a pattern with the code.
struct DeviceTypeRange
{
    int first;
    int last;
    const char* pattern;
};
constexpr DeviceTypeRange kDeviceTypes[] = {
    {1, 26, "QV-%03i"}, {28, 61, "QV-%03i"}, {63, 111, "QV-%03i"}, {301, 313, "IGN-%i"}, {1000, 1001, "QV-L%i"},
};

std::string formatText(const char* format, auto... args)
{
    char buf[256];
    std::snprintf(buf, sizeof buf, format, args...);
    return buf;
}

std::string bounded(std::string text)
{
    if (text.size() > static_cast<std::size_t>(kIdentTextMax)) text.resize(static_cast<std::size_t>(kIdentTextMax));
    return text;
}
}  // namespace

std::optional<std::string> findDeviceTypeName(int code)
{
    for (const DeviceTypeRange& range : kDeviceTypes)
        if (code >= range.first && code <= range.last) return formatText(range.pattern, code);
    return std::nullopt;
}

bool IdentifyIgnAnswer(int protocol, std::span<const std::uint8_t> frame, int& deviceKey, int& frameSize,
                       std::string& text)
{
    const int n = fixedDataLength(protocol);
    if (n == 0 || frame.size() < static_cast<std::size_t>(n + kFixedOverhead) || frame[0] != 0xB0) return false;
    frameSize = n + kFixedOverhead;
    deviceKey = protocol == IGN300 ? GetBigEndianWord(frame, 1) : frame[static_cast<std::size_t>(n)];
    text = bounded(formatText("Quorvane %i", deviceKey));
    if (const auto name = findDeviceTypeName(deviceKey)) text = bounded(formatText("%s v%i", name->c_str(), deviceKey));
    return true;
}

void IdentifyWcomAnswer(std::span<const std::uint8_t> data, LinkSlot& slot)
{
    // The name ends at its NUL or at the end of the data, whichever comes first.
    const auto nul = std::find(data.begin(), data.end(), std::uint8_t{0});
    std::string name(data.begin(), nul);
    name = bounded(name);
    slot.frameOverhead = kFramedOverhead;
    slot.frameSize = 48;
    slot.hardwareCode = -1;
    slot.deviceKey = -1;
    std::size_t at = nul == data.end() ? data.size() : static_cast<std::size_t>(nul - data.begin()) + 1;
    auto take = [&](int& into) {
        if (at + 2 <= data.size()) {
            into = data[at] | (data[at + 1] << 8);
            at += 2;
        }
    };
    take(slot.frameSize);
    take(slot.hardwareCode);
    take(slot.deviceKey);
    slot.identText =
        bounded(formatText("%s v%i (hw:%x)", name.c_str(), slot.deviceKey, static_cast<unsigned>(slot.hardwareCode)));
    // A frame size the job engine cannot work with makes the unit one that does not match.
    if (slot.frameSize < kMinFramedFrame || slot.frameSize > kMaxFramedFrame) slot.deviceKey = -1;
}

CCOMSEARCH::CCOMSEARCH(os::LinkClock& tmr, PortLister lister, LinkThreads threads)
    : CCOMIOSYS(tmr, std::move(lister), threads),
      protocolTable(kProtocolTable),
      m_linkWake(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
{
}

void CCOMSEARCH::wakeLink()
{
    if (m_linkWake.isOpen()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(m_linkWake.get(), &one, sizeof one);
    }
}

void CCOMSEARCH::FillProtocolSlots(int protocol, int baud, int timeout)
{
    for (ProtocolProbe& row : protocolTable) {
        if (row.protocol == 0) break;
        if (row.protocol == -1) row = {protocol, baud, timeout};
    }
}

void CCOMSEARCH::showStatus(int slot, const std::string& text, int durationMs, std::uint32_t font, std::uint32_t back,
                            int priority)
{
    if (hooks.showStatus) hooks.showStatus(slot, text, durationMs, font, back, priority);
}

void CCOMSEARCH::sendPieceTo(Transceiver& t, int port)
{
    if (port <= 0 || port >= kPortCount) return;
    const int before = t.remaining;
    const int positionBefore = t.sendPosition;
    SendPiece(t, Port(port).tx);
    if (t.remaining != before || t.sendPosition != positionBefore) WakePort(port);
}

bool CCOMSEARCH::probedBySlot(int port) const
{
    return std::any_of(m_slots.begin(), m_slots.end(), [port](const LinkSlot& s) { return s.port == port; });
}

void CCOMSEARCH::buildIdentifyRequest(LinkSlot& slot)
{
    Transceiver& t = slot.transceiver;
    const int protocol = protocolTable[static_cast<std::size_t>(slot.row)].protocol;
    const int value = subVersion.load(std::memory_order_relaxed) * 256 + RSKEY.load(std::memory_order_relaxed);
    if (protocol == WCOM)
        t.sendLength = BuildWcomFrame(t.sendFrame, 0xFEEE, 0, 0, nullptr);
    else if (protocol == WCOMS)
        t.sendLength = BuildWcomFrame(t.sendFrame, 0xFEEE | kFrameSum, 0, 0, nullptr);
    else if (protocol == IGN300)
        t.sendLength = BuildIgn300Frame(t.sendFrame, 0x30, 0, nullptr);
    else
        t.sendLength = BuildIgnFrame(t.sendFrame, protocol, 0x30, 0, nullptr, value);
    t.sendPosition = -1;
}

void CCOMSEARCH::connect(int s)
{
    LinkSlot& slot = m_slots[static_cast<std::size_t>(s)];
    const int p = slot.port;
    m_linkSlot = slot;
    for (int other = 0; other < 3; ++other)
        if (other != s && m_slots[static_cast<std::size_t>(other)].port != 0)
            RequestClose(m_slots[static_cast<std::size_t>(other)].port);
    for (LinkSlot& each : m_slots) {
        each.port = 0;
        each.state = kSlotIdle;
    }
    portTableChanged = 1;
    nextPort = p;
    linkEnabled.store(1, std::memory_order_release);
    bumpLinkEpoch();
    portInUse.store(p, std::memory_order_release);
    const char* id = m_linkSlot.identText.c_str();
    showStatus(1, formatText("###%s connected##%s verbunden##%s připojen", id, id, id), -1, 0x000000, 0xFFFFFF, 100);
}

bool CCOMSEARCH::stepSlot(int s, bool& again)
{
    again = false;
    LinkSlot& slot = m_slots[static_cast<std::size_t>(s)];
    const int p = slot.port;
    const std::uint32_t now = m_tmr.now();
    const ProtocolProbe& row = protocolTable[static_cast<std::size_t>(slot.row)];

    if (slot.state == kSlotClosing) {
        if (os::LinkClock::elapsed(now, slot.stamp) > 300) {
            slot.port = 0;
            slot.state = kSlotIdle;
        } else if (IsPortClosed(p)) {
            slot.state = kSlotIdle;
        }
    }
    if (selectedPort > 0 && slot.port != 0 && slot.port != selectedPort) {
        RequestClose(p);
        slot.port = 0;
        slot.stamp = now;
        slot.state = kSlotClosing;
    }
    if (slot.state == kSlotOpening) {
        if (os::LinkClock::elapsed(now, slot.stamp) > 600) {
            slot.state = kSlotPortFailed;
        } else if (IsPortOpen(p)) {
            SetLinkProtocol(slot.transceiver, row.protocol, row.timeout);
            buildIdentifyRequest(slot);
            sendPieceTo(slot.transceiver, p);
            slot.stamp = now;
            slot.state = kSlotSent;
        }
    }
    if (slot.state == kSlotSent || slot.state == kSlotSentAgain) {
        Transceiver& t = slot.transceiver;
        if (os::LinkClock::elapsed(now, slot.stamp) > static_cast<std::uint32_t>(row.timeout)) {
            if (slot.state == kSlotSent) {
                if (sendDone(t)) t.sendPosition = -1;
                slot.stamp = now;
                slot.state = kSlotSentAgain;
            } else {
                slot.state = kSlotProtocolFailed;
            }
        }
        if (slot.state == kSlotSent || slot.state == kSlotSentAgain) {
            sendPieceTo(t, p);
            while (slot.state != kSlotAnswered && slot.state != kSlotPortFailed &&
                   ReceiveFrame(t, Port(p).ring, now, nullptr)) {
                const int length = isFramedProtocol(t.protocol) ? kFramedOverhead + framedLength(t.receiveFrame)
                                                                : fixedDataLength(t.protocol) + kFixedOverhead;
                if (length == t.sendLength &&
                    std::equal(t.receiveFrame.begin(), t.receiveFrame.begin() + length, t.sendFrame.begin())) {
                    slot.state = kSlotPortFailed;  // the line loops our request back
                } else if (isFixedProtocol(t.protocol)) {
                    if (t.receiveFrame[0] == 0xB0) {
                        slot.hardwareCode = -1;
                        slot.frameOverhead = kFixedOverhead;
                        IdentifyIgnAnswer(
                            t.protocol,
                            std::span<const std::uint8_t>(t.receiveFrame.data(), static_cast<std::size_t>(length)),
                            slot.deviceKey, slot.frameSize, slot.identText);
                        slot.state = kSlotAnswered;
                    }
                } else if ((framedType(t.receiveFrame) & 0x0F) == 0xC && framedCommand(t.receiveFrame) == 0xFEEE) {
                    IdentifyWcomAnswer(
                        std::span<const std::uint8_t>(t.receiveFrame.data() + kFramedDataOffset,
                                                      static_cast<std::size_t>(length - kFramedOverhead)),
                        slot);
                    slot.state = kSlotAnswered;
                }
            }
        }
    }
    if (slot.state == kSlotAnswered) {
        if (slot.deviceKey == RSKEY.load(std::memory_order_relaxed)) {
            connect(s);
            return false;
        }
        const char* id = slot.identText.c_str();
        showStatus(1,
                   formatText("###COM %i:%s (unmatched)##COM %i:%s verbunden (unübertroffen)##COM %i:%s připojen "
                              "(nekompatibilní)",
                              p, id, p, id, p, id),
                   6000, 0x000000, 0x0000FF, 10);
        slot.state = kSlotPortFailed;
    }
    if (slot.state == kSlotPortFailed) {
        RequestClose(p);
        slot.port = 0;
        slot.stamp = now;
        slot.state = kSlotClosing;
    }
    if (slot.state == kSlotProtocolFailed) {
        const ProtocolProbe& next = protocolTable[static_cast<std::size_t>(slot.row) + 1];
        if (slot.port != 0 && next.protocol != 0 && next.baud == row.baud) {
            slot.state = kSlotIdle;
        } else {
            RequestClose(p);
            slot.stamp = now;
            slot.state = kSlotClosing;
        }
    }
    if (slot.state == kSlotIdle) {
        if (slot.port != 0) {
            ++slot.row;
            if (protocolTable[static_cast<std::size_t>(slot.row)].protocol == 0) slot.port = 0;
        }
        if (slot.port == 0) {
            int candidate = 0;
            if (selectedPort > 0) {
                if (s != 0) return false;
                candidate = selectedPort;
            } else {
                int port = nextPort;
                for (int tries = 0; tries < kPortCount; ++tries) {
                    if (port < 1 || port > 255) port = 1;
                    if (Port(port).presence != 0 && !probedBySlot(port)) {
                        candidate = port;
                        break;
                    }
                    ++port;
                }
                if (candidate == 0) return true;
            }
            nextPort = candidate + 1 > 255 ? 1 : candidate + 1;
            slot.port = candidate;
            slot.row = 0;
        }
        const ProtocolProbe& probe = protocolTable[static_cast<std::size_t>(slot.row)];
        SetLinkProtocol(slot.transceiver, probe.protocol, probe.timeout);
        slot.stamp = now;
        slot.state = kSlotOpening;
        if (IsPortOpen(slot.port))
            again = true;
        else
            RequestOpen(slot.port, probe.baud);
    }
    return true;
}

void CCOMSEARCH::SearchStep()
{
    ManagePorts();
    if (portListSeen == 0 || portInUse.load(std::memory_order_relaxed) != 0 ||
        linkEnabled.load(std::memory_order_relaxed) == 0 || !linkEpochAcknowledged())
        return;
    if (selectedPort == -1) {
        for (LinkSlot& slot : m_slots) {
            if (slot.port != 0) RequestClose(slot.port);
            slot.port = 0;
            slot.state = kSlotIdle;
        }
        return;
    }
    for (int s = 0; s < 3; ++s) {
        bool again = false;
        if (!stepSlot(s, again)) return;
        if (again && !stepSlot(s, again)) return;
    }
}
