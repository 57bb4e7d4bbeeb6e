#pragma once
// The job engine: the main thread starts a transfer job (header, read, program, live data, raw command); the
// protocol thread carries it out frame by frame over the connected port with an answer time-out and a fixed
// number of tries per frame, and reports 136 (done) or 132 (failed) in the job field.
#include <array>
#include <atomic>
#include <cstdint>
#include <optional>
#include <span>
#include <thread>
#include <utility>

#include "link/comsearch.h"

inline constexpr int COMMAXBUF = 8000;

// Job codes and results.
inline constexpr int kJobHeader = 66;
inline constexpr int kJobRead = 18;
inline constexpr int kJobProgram = 17;
inline constexpr int kJobLive = 35;
inline constexpr int kJobRaw = 65;
inline constexpr int kJobDone = 136;
inline constexpr int kJobFailed = 132;

// StartJob flags.
inline constexpr int kJobMarkAll = 1;
inline constexpr int kJobClearData = 2;
inline constexpr int kJobOneTry = 4;

// Link states.
inline constexpr int kLinkNoPort = 0;
inline constexpr int kLinkReady = 1;
inline constexpr int kLinkSending = 2;
inline constexpr int kLinkWaiting = 3;
inline constexpr int kLinkRetry = 4;

inline constexpr std::uint32_t kAnswerTimeout = 400;  // TMR
// The protocol thread's wait without a job: a job, a port change or the quit wakes it at once; pickup samples,
// which arrive by themselves, are collected every 50 ms.
inline constexpr int kIdleWaitMs = 1000;
// The wait while a frame goes out or its answer comes in; the line's movements end it early.
inline constexpr int kLineWaitMs = 10;

struct JobBlock
{
    int start;
    int length;
};
// The next block of a job from `position`: framed blocks span marked addresses (at most n, gaps of at most 51
// unmarked addresses); fixed-frame blocks are aligned k * n. Nothing when no marked address is left.
[[nodiscard]] std::optional<JobBlock> chooseNextBlock(std::span<const std::uint8_t> marks, int position, int end, int n,
                                                      bool framed);

class CCOMCOM : public CCOMSEARCH
{
public:
    // tmr is the link clock, owned by the caller and set by it. With LinkThreads::Stepped no thread is started:
    // the caller runs ProtocolTurn() and StepPorts() itself.
    explicit CCOMCOM(os::LinkClock& tmr, PortLister lister = {}, LinkThreads threads = LinkThreads::Run);
    ~CCOMCOM();

    // Main thread. Returns false (and does nothing) while a job runs or its result has not been taken.
    bool StartJob(int code, int start, int length, int flags);
    void Tick();
    void ClosePort();
    // Main thread: true once after Tick found the port in use gone by itself (hang-up or I/O error); the port is
    // closed by then and the search starts again.
    [[nodiscard]] bool TakePortLost() { return std::exchange(m_portLost, false); }

    // The job field: 0, a running job's code, 136 or 132. A job dropped by a port change reads as running
    // until the protocol thread has let go of it, so no caller touches the job data while it is still in use.
    [[nodiscard]] int JobField() const;
    // After reading 136 or 132: frees the job field for the next job.
    void TakeJobResult();
    [[nodiscard]] int LastJob() const { return m_lastJob.load(std::memory_order_acquire); }
    [[nodiscard]] int LinkState() const { return m_linkState.load(std::memory_order_acquire); }
    [[nodiscard]] int Position() const { return m_position.load(std::memory_order_relaxed); }
    // Main thread: takes a completed pickup sample block over, if one waits.
    bool TakePickupBlock(PickupSampleBlock& into) { return m_pickup.take(into); }

    // One turn of the protocol thread; returns how long the thread should wait before the next turn (ms).
    int ProtocolTurn();

    // Written by the main thread before StartJob; read by the protocol thread while the job runs.
    int rawCommand = 0;
    int rawAddress = 0;
    int rawLength = 0;
    std::array<std::uint8_t, COMMAXBUF> sendData{};
    std::array<std::uint8_t, COMMAXBUF> sendMarks{};
    // Written by the protocol thread while a job runs; read by the main thread after 136.
    std::array<std::uint8_t, COMMAXBUF> receivedData{};
    std::array<std::uint8_t, COMMAXBUF> receivedFlags{};

private:
    void applyLinkEpoch();
    void beginJob(std::uint32_t job);
    void finishJob(int result);
    void buildRequest(const JobBlock& block);
    void checkAnswer();
    void protocolThreadMain();
    // Publishes how many answer bytes the receiver still waits for, and shortens the wait to their time on the
    // line; false when the line need not be watched meanwhile.
    bool answerWait(int& waitMs);

    // Job parameters (main thread, published by the job field).
    int m_jobStart = 0;
    int m_jobEnd = 0;
    int m_jobFlags = 0;
    std::uint32_t m_generation = 0;  // main thread
    bool m_linkUp = false;           // main thread: the link as the last Tick saw it
    bool m_portLost = false;         // main thread

    // The job field: code in the low byte, a generation above it, so that a dropped job's result can never
    // land on a later job.
    std::atomic<std::uint32_t> m_job{0};
    std::atomic<std::uint32_t> m_activeGeneration{0};  // protocol thread: the job it works on, 0 none
    std::atomic<int> m_activeCode{0};
    std::atomic<int> m_lastJob{kJobDone};
    std::atomic<int> m_linkState{kLinkNoPort};  // protocol thread only
    std::atomic<int> m_position{0};

    // Protocol thread only.
    Transceiver m_t;
    PickupBlocks m_pickup;
    int m_port = 0;
    int m_wantedPort = 0;  // the port whose lineWanted was set last
    int m_n = 0;
    int m_overhead = 0;
    int m_code = 0;
    int m_blockLength = 0;
    int m_expectedAnswer = -1;
    int m_triesDone = 0;
    int m_triesAllowed = 3;
    std::uint32_t m_sendTime = 0;
    std::uint32_t m_seenEpoch = 0;

    std::thread m_protocolThread;
};
