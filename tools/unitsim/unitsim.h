#pragma once
// A simulated control unit on a pseudo-terminal. It answers the link protocols as a unit would (IGN300, WCOM
// and WCOMS in full; identification for IGN50/100/150), only at its own baud rate as the program set it on the
// line, paced at the wire time of that rate (10 bits a byte), and injects faults on request. Its live answers
// count themselves in answer bytes 240-241 (big-endian), a place of the block that no reader uses.
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "os/serial.h"

namespace unitsim {

struct Faults
{
    int dropAnswerFrom = 0;  // 1-based number of the first answer not sent; 0 none
    int dropAnswerCount = 0;
    int corruptCheckFrom = 0;  // answers whose check gets one bit flipped
    int corruptCheckCount = 0;
    int noiseBytes = 0;          // bytes of garbage before every answer
    int pauseInsideMs = 0;       // a pause in the middle of every answer (the line is quiet meanwhile)
    int delayAnswerMs = 0;       // extra time before every answer starts (the line is quiet meanwhile)
    bool echo = false;           // the line loops every request back instead of answering
    int silentAfter = -1;        // answers sent before the unit goes silent; -1 never
    int shortProgramAck = 0;     // framed: acknowledge a program request with a short answer of this many value bytes
                                 // (1 or 2) carrying the block address; 0 answers in full
    bool unstableReads = false;  // every read of the first image block carries a different byte 5
    int unstableHeaders = 0;     // this many header reads carry a different byte 200 each
    int onlyCommand = -1;        // when set, the answer numbers above count only answers to requests of this command
};

struct UnitConfig
{
    int protocol = 3300;  // protocol number as the link numbers them
    int baud = 115200;
    int key = 309;
    int subVersion = 0;
    int hardwareCode = 0x1A2B;
    std::string name = "QV unit";
    int frameSize = 316;  // framed: announced frame size; 0 announces none
    // Identity fields of the header; all-zero fields are left out (the name may run over them).
    std::array<std::uint8_t, 4> firmwareTag{};   // header bytes 30..33
    std::uint32_t lastUpdate = 0;                // bytes 34..37, seconds since 1970, little-endian
    std::array<std::uint8_t, 8> serialNumber{};  // bytes 38..45
    std::string note;                            // from byte 46, at most 100 bytes
    Faults faults;
    int pickupDelayMs = 120;  // pause between a live answer and the pickup samples it announces
    bool wirePaced = true;    // false: answers leave at once, for tests that need many frames quickly
};

struct Request
{
    int command = 0;
    int address = 0;
    int length = 0;
    std::vector<std::uint8_t> data;
};

class UnitSim final
{
public:
    explicit UnitSim(UnitConfig config);
    ~UnitSim();
    UnitSim(const UnitSim&) = delete;
    UnitSim& operator=(const UnitSim&) = delete;

    [[nodiscard]] const std::string& slavePath() const { return m_slavePath; }
    // The 5100-byte image as it travels on the wire (bytes 0..2499 as big-endian words) and the 300-byte header.
    void setWireImage(const std::vector<std::uint8_t>& image);
    [[nodiscard]] std::vector<std::uint8_t> wireImage() const;
    void setFaults(const Faults& faults);
    void setSilent(bool silent) { m_silent.store(silent); }
    void setChangedMask(int mask);
    // Bytes every live answer carries from answer position `at` on (answer byte k is live-block byte k + 1; words
    // are big-endian), over what the unit puts there itself.
    void setLiveBytes(int at, const std::vector<std::uint8_t>& bytes);
    // Live values of an engine on the road, as setLiveBytes puts them; `step` moves speed, throttle and mixture
    // along (the demonstration program steps it twice a second).
    void setRunningEngine(int step);
    // Samples sent after a live answer whose request asks for them (request byte 105 = 1).
    void setPickupSamples(std::vector<std::uint8_t> samples, std::uint8_t type);
    // The other end of the line goes away, as when a USB adapter is pulled. The pseudo-terminal's name may then
    // soon be another process's line: a test's port list leaves the port out while the line is closed.
    void closeLine();
    // Plugged in again, on a new line (slavePath() changes).
    void openLine();
    [[nodiscard]] bool lineOpen() const { return m_lineOpen.load(); }

    [[nodiscard]] std::vector<Request> requests() const;
    void clearRequests();
    [[nodiscard]] int answersSent() const { return m_answers.load(); }
    [[nodiscard]] int requestCount() const;
    // Bytes that crossed the line in each direction, for wire-time comparisons.
    [[nodiscard]] std::int64_t bytesIn() const { return m_bytesIn.load(); }
    [[nodiscard]] std::int64_t bytesOut() const { return m_bytesOut.load(); }

    // What a test's clock needs to know of the line. busy(): the program's bytes wait for the unit, or the unit
    // holds part of a request or works on or sends an answer; a fault's deliberate pause and a held answer do
    // not count, so that the program sees them late. answerOnLine(): the unit's bytes wait for the program.
    [[nodiscard]] bool busy() const;
    [[nodiscard]] bool answerOnLine() const;
    // The count of the unit's steps (bytes read, an answer sent or dropped, a request given up); waits until it
    // differs from `seen`, at most `limit`, and returns it.
    std::uint64_t waitForActivity(std::uint64_t seen, std::chrono::milliseconds limit);
    // While held, each answer waits before it goes out, as a late unit's would; release sends them in order.
    void holdAnswers(bool hold);
    [[nodiscard]] bool holdsAnAnswer() const;

private:
    void makeLine();
    void run();
    void stopThread();
    void noteActivity();
    void pauseQuietly(std::chrono::milliseconds pause);
    void feed(std::uint8_t b, std::chrono::steady_clock::time_point at);
    void handleFramed(const std::vector<std::uint8_t>& frame);
    void handleFixed(const std::vector<std::uint8_t>& frame);
    void answer(std::vector<std::uint8_t> frame, std::size_t requestBytes, int requestCommand);
    void sendPaced(const std::vector<std::uint8_t>& bytes);
    std::vector<std::uint8_t> liveAnswer(bool wantsSamples);
    [[nodiscard]] int lineBaud() const;

    UnitConfig m_config;
    os::UniqueFd m_master;
    os::UniqueFd m_slave;  // kept open so the line survives the program closing and reopening its end
    std::string m_slavePath;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_lineOpen{false};
    std::atomic<bool> m_silent{false};
    std::atomic<bool> m_working{false};  // simulator thread writes
    std::atomic<int> m_answers{0};
    std::atomic<std::int64_t> m_bytesIn{0};
    std::atomic<std::int64_t> m_bytesOut{0};

    mutable std::mutex m_mutex;  // guards what the test reads and sets
    std::vector<std::uint8_t> m_image;
    std::vector<std::uint8_t> m_header;
    std::vector<std::uint8_t> m_liveSnapshot;
    std::vector<Request> m_requests;
    std::vector<std::uint8_t> m_samples;
    std::uint8_t m_sampleType = 0;
    int m_changedMask = 0;
    std::vector<std::pair<int, std::uint8_t>> m_liveBytes;  // set by setLiveBytes
    int m_saveCounter = 0;
    int m_answerNumber = 0;
    int m_liveFrames = 0;
    int m_unstableRead = 0;
    std::uint64_t m_activity = 0;
    bool m_hold = false;
    bool m_holding = false;
    std::condition_variable m_changed;  // activity and the release of held answers

    // Request parser (simulator thread only).
    std::vector<std::uint8_t> m_rx;
    std::chrono::steady_clock::time_point m_firstByte{};
    std::chrono::steady_clock::time_point m_lastByte{};
};

}  // namespace unitsim
