#pragma once
// The serial port set: one record per COM number 0..255, the list of ports present, and one I/O thread per
// open port. Everything else opens and closes ports by request and exchanges bytes only through a record's
// transmit buffer and receive ring.
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "link/ring.h"
#include "os/clock.h"
#include "os/ports.h"
#include "os/serial.h"

inline constexpr int kPortCount = 256;

// Port states, written by the port thread only.
inline constexpr std::uint8_t kPortClosed = 0;
inline constexpr std::uint8_t kPortOpening = 16;
inline constexpr std::uint8_t kPortOpen = 32;
inline constexpr std::uint8_t kPortClosing = 48;

// Port errors.
inline constexpr std::uint8_t kPortErrorNone = 0;
inline constexpr std::uint8_t kPortErrorOpen = 1;     // could not be opened
inline constexpr std::uint8_t kPortErrorTimeout = 2;  // opening took too long
inline constexpr std::uint8_t kPortErrorThread = 3;   // no thread could be started
inline constexpr std::uint8_t kPortErrorLost = 4;     // the open port went away (hang-up or I/O error)

struct CCOM
{
    int index = 0;
    std::string deviceName;  // "COM%i"
    std::string modeText;    // "%i,N,8,1", main thread
    std::atomic<std::uint8_t> state{kPortClosed};
    std::atomic<std::uint8_t> error{kPortErrorNone};
    std::atomic<int> baud{115200};
    int presence = 0;        // main thread
    std::string devicePath;  // main thread; read by the port thread only while an open command is pending
    std::thread thread;      // main thread
    os::SerialPort file;     // port thread
    std::string lastError;   // port thread, published by error 1
    std::atomic<std::uint8_t> runState{0};  // 0 no thread, 1 running, 2 ended (to be reaped)
    int request = 0;                        // main: bit 0 open, bit 1 close
    std::atomic<std::uint8_t> command{0};   // 0 none, 1 open, 2 close; the port thread clears it
    std::uint32_t commandTime = 0;          // main thread
    TransmitBuffer tx;
    ReceiveRing ring;
    // Port thread: set from before bytes leave the driver until the ring shows them, so that someone watching the
    // line from outside (a test's clock) never finds the bytes in neither place.
    std::atomic<bool> receiving{false};
    // Written by the link's protocol thread while it waits for an answer on this port: the bytes its receiver
    // still needs (0: no answer awaited). Only a hint: the port thread lets that many bytes gather in the driver
    // for about their time on the line instead of waking for every few of them.
    std::atomic<int> lineWanted{0};
    int holdMs = 0;  // port thread: the next wait leaves the line alone for this long
};

// The ports present now; nothing when the list cannot be read.
using PortLister = std::function<std::optional<os::ComPortMap>()>;

enum class LinkThreads {
    Run,      // the program: real threads
    Stepped,  // tests: no threads; the test runs the thread bodies turn by turn
};

class CCOMIOSYS
{
public:
    explicit CCOMIOSYS(os::LinkClock& tmr, PortLister lister = {}, LinkThreads threads = LinkThreads::Run);
    ~CCOMIOSYS();
    CCOMIOSYS(const CCOMIOSYS&) = delete;
    CCOMIOSYS& operator=(const CCOMIOSYS&) = delete;

    void RequestOpen(int port, int baud);
    void RequestClose(int port);
    void CloseAll();
    // The port manager: enumeration, reaping ended threads, carrying out requests. Main thread, once per tick.
    void ManagePorts();
    // True when the presence of any port changed.
    bool EnumeratePorts();

    // One turn of a port's I/O thread; false when the thread ends. waitMs bounds the wait for data or a command.
    bool PortTurn(CCOM& com, int waitMs);
    // Stepped mode: one turn of every running port thread, without waiting.
    void StepPorts();

    [[nodiscard]] CCOM& Port(int port) { return *m_ports[static_cast<std::size_t>(port)]; }
    [[nodiscard]] const CCOM& Port(int port) const { return *m_ports[static_cast<std::size_t>(port)]; }
    [[nodiscard]] bool IsPortOpen(int port) const;
    [[nodiscard]] bool IsPortClosed(int port) const;
    // Sender side of a port: hands a piece to its transmit buffer and wakes its thread.
    void WakePort(int port);

    int portListSeen = 0;      // main thread
    int portTableChanged = 0;  // main thread

protected:
    os::LinkClock& m_tmr;
    std::atomic<bool> m_quit{false};
    // Readable whenever a port thread moved bytes on the line (received some, or wrote a piece), so that the
    // link's protocol thread waits for an answer without looking every millisecond.
    [[nodiscard]] int lineWakeFd() const { return m_lineWake.get(); }
    [[nodiscard]] bool isStepped() const { return m_threads == LinkThreads::Stepped; }

private:
    void portThreadMain(CCOM& com);
    bool startThread(CCOM& com);
    void closeNow(CCOM& com);
    void lineMoved();

    std::array<std::unique_ptr<CCOM>, kPortCount> m_ports;
    std::array<os::UniqueFd, kPortCount> m_wake;  // eventfd per port, made on the first open, kept to the end
    os::UniqueFd m_lineWake;                      // eventfd, made by the constructor
    PortLister m_lister;
    LinkThreads m_threads;
    std::uint32_t m_lastEnumeration = 0;
};
