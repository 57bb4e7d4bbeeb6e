#pragma once
// The port search: three slots probe ports side by side, each walking the protocol table (protocol, baud rate,
// time-out) on its port until a unit answers with the program's structure key; that slot becomes the link slot.
#include <array>
#include <atomic>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "link/comiosys.h"
#include "link/frames.h"
#include "link/linkhooks.h"

struct ProtocolProbe
{
    int protocol;  // -1 = placeholder, filled by FillProtocolSlots; 0 = end of the table
    int baud;
    int timeout;  // TMR: the probe's answer time-out and the receiver's gap time-out
};
inline constexpr int kProtocolRows = 14;

// Slot states.
inline constexpr int kSlotIdle = 0;
inline constexpr int kSlotOpening = 1;
inline constexpr int kSlotSent = 2;
inline constexpr int kSlotClosing = 3;
inline constexpr int kSlotSentAgain = 4;
inline constexpr int kSlotAnswered = 5;
inline constexpr int kSlotProtocolFailed = 6;
inline constexpr int kSlotPortFailed = 7;

inline constexpr int kIdentTextMax = 31;     // characters of an identification text
inline constexpr int kMinFramedFrame = 17;   // a frame must carry at least one data byte
inline constexpr int kMaxFramedFrame = 528;  // 512 data bytes and the overhead

struct LinkSlot
{
    int port = 0;
    int row = 0;
    std::uint32_t stamp = 0;
    int state = kSlotIdle;
    int hardwareCode = -1;
    int deviceKey = -1;
    std::string identText;
    int frameSize = 0;
    int frameOverhead = 0;
    Transceiver transceiver;
};

// The name of a device type by its key, if the table has one.
[[nodiscard]] std::optional<std::string> findDeviceTypeName(int code);
// Reads a fixed-frame identification answer: key, frame size and text. False when it is none.
bool IdentifyIgnAnswer(int protocol, std::span<const std::uint8_t> frame, int& deviceKey, int& frameSize,
                       std::string& text);
// Reads the data of a framed identification answer into the slot; the name is bounded by the data length.
void IdentifyWcomAnswer(std::span<const std::uint8_t> data, LinkSlot& slot);

class CCOMSEARCH : public CCOMIOSYS
{
public:
    explicit CCOMSEARCH(os::LinkClock& tmr, PortLister lister = {}, LinkThreads threads = LinkThreads::Run);

    void FillProtocolSlots(int protocol, int baud, int timeout);
    void SearchStep();

    [[nodiscard]] const LinkSlot& SearchSlot(int s) const { return m_slots[static_cast<std::size_t>(s)]; }
    [[nodiscard]] const LinkSlot& LinkSlotInUse() const { return m_linkSlot; }
    [[nodiscard]] const ProtocolProbe& ProtocolRow(int row) const
    {
        return protocolTable[static_cast<std::size_t>(row)];
    }

    std::array<ProtocolProbe, kProtocolRows + 1> protocolTable;
    std::atomic<int> portInUse{0};    // written by the main thread; read by the protocol thread
    std::atomic<int> linkEnabled{1};  // written by the main thread
    std::atomic<int> RSKEY{309};
    std::atomic<int> subVersion{0};
    int selectedPort = 0;  // -1 offline, 0 automatic, n only COMn
    int nextPort = 1;
    LinkHooks hooks;

protected:
    // The link slot changes only when its reader (the protocol thread) has taken the previous change over:
    // the main thread writes the slot, then bumps the epoch; the reader copies what it needs and acknowledges.
    LinkSlot m_linkSlot;
    std::atomic<std::uint32_t> m_linkEpoch{0};
    std::atomic<std::uint32_t> m_linkEpochSeen{0};
    void bumpLinkEpoch()
    {
        m_linkEpoch.fetch_add(1, std::memory_order_acq_rel);
        wakeLink();
    }
    // Wakes the link slot's reader (the protocol thread) from its idle wait.
    void wakeLink();
    os::UniqueFd m_linkWake;  // eventfd, made by the constructor
    [[nodiscard]] bool linkEpochAcknowledged() const
    {
        return m_linkEpochSeen.load(std::memory_order_acquire) == m_linkEpoch.load(std::memory_order_acquire);
    }
    // Hands the next piece of a transceiver's frame to a port and wakes the port's thread.
    void sendPieceTo(Transceiver& t, int port);

private:
    // Runs the handlers of one slot; returns false when the whole step ends.
    bool stepSlot(int s, bool& again);
    void buildIdentifyRequest(LinkSlot& slot);
    void connect(int s);
    void showStatus(int slot, const std::string& text, int durationMs, std::uint32_t font, std::uint32_t back,
                    int priority);
    [[nodiscard]] bool probedBySlot(int port) const;

    std::array<LinkSlot, 3> m_slots;
};
