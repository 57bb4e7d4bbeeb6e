#include "link/comcom.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>

std::optional<JobBlock> chooseNextBlock(std::span<const std::uint8_t> marks, int position, int end, int n, bool framed)
{
    end = std::min(end, static_cast<int>(marks.size()));
    position = std::max(position, 0);
    if (n <= 0 || position >= end) return std::nullopt;
    if (framed) {
        int first = position;
        while (first < end && marks[static_cast<std::size_t>(first)] == 0) ++first;
        if (first >= end) return std::nullopt;
        int last = first;
        // Up to 51 unmarked addresses between marks travel along rather than costing a frame of their own.
        for (int a = first + 1; a < end && a < first + n && a - last - 1 <= 51; ++a)
            if (marks[static_cast<std::size_t>(a)] != 0 && a - last - 1 <= 51) last = a;
        return JobBlock{first, last - first + 1};
    }
    for (int k = position / n; k * n < end; ++k) {
        const int from = k * n;
        const int to = std::min(from + n, static_cast<int>(marks.size()));
        for (int a = from; a < to; ++a)
            if (marks[static_cast<std::size_t>(a)] != 0) return JobBlock{from, n};
    }
    return std::nullopt;
}

CCOMCOM::CCOMCOM(os::LinkClock& tmr, PortLister lister, LinkThreads threads)
    : CCOMSEARCH(tmr, std::move(lister), threads)
{
    if (!isStepped()) m_protocolThread = std::thread([this] { protocolThreadMain(); });
}

CCOMCOM::~CCOMCOM()
{
    // The protocol thread uses this object and the port records: it ends first; the port threads are joined by
    // the port set's destructor before the records go.
    m_quit.store(true, std::memory_order_release);
    wakeLink();
    if (m_protocolThread.joinable()) m_protocolThread.join();
}

int CCOMCOM::JobField() const
{
    const int code = static_cast<int>(m_job.load(std::memory_order_acquire) & 0xFF);
    if (code == 0 && m_activeGeneration.load(std::memory_order_acquire) != 0)
        return m_activeCode.load(std::memory_order_relaxed);
    return code;
}

void CCOMCOM::TakeJobResult()
{
    const std::uint32_t job = m_job.load(std::memory_order_acquire);
    const int code = static_cast<int>(job & 0xFF);
    if (code == kJobDone || code == kJobFailed) {
        std::uint32_t expected = job;
        m_job.compare_exchange_strong(expected, 0, std::memory_order_acq_rel);
    }
}

bool CCOMCOM::StartJob(int code, int start, int length, int flags)
{
    if (JobField() != 0) return false;
    start = std::clamp(start, 0, COMMAXBUF);
    const int end = std::clamp(start + std::max(length, 0), start, COMMAXBUF);
    m_jobStart = start;
    m_jobEnd = end;
    m_jobFlags = flags;
    for (int a = start; a < end; ++a) {
        const auto i = static_cast<std::size_t>(a);
        if (flags & kJobClearData) sendData[i] = 0;
        if (flags & kJobMarkAll) sendMarks[i] = 1;
        receivedData[i] = 0;
        receivedFlags[i] = 0;
    }
    m_generation = (m_generation + 1) & 0xFFFFFF;
    if (m_generation == 0) m_generation = 1;
    m_job.store(static_cast<std::uint32_t>(code & 0xFF) | (m_generation << 8), std::memory_order_release);
    wakeLink();
    return true;
}

void CCOMCOM::Tick()
{
    SearchStep();
    int port = portInUse.load(std::memory_order_relaxed);
    // A port that closed by itself (adapter pulled, the other end gone) is given up, and the unit on it is lost.
    if (port != 0 && m_linkUp && IsPortClosed(port) && Port(port).request == 0 &&
        Port(port).runState.load(std::memory_order_acquire) == 0) {
        ClosePort();
        m_portLost = true;
    }
    port = portInUse.load(std::memory_order_relaxed);
    const bool up = port != 0 && linkEnabled.load(std::memory_order_relaxed) != 0;
    if (up != m_linkUp) {
        m_linkUp = up;
        m_job.store(0, std::memory_order_release);
        bumpLinkEpoch();
    }
    if (!up) m_job.store(0, std::memory_order_release);  // a job started without a link is dropped
}

void CCOMCOM::ClosePort()
{
    const int port = portInUse.load(std::memory_order_relaxed);
    if (port == 0) return;
    m_job.store(0, std::memory_order_release);
    RequestClose(port);
    portInUse.store(0, std::memory_order_release);
    portTableChanged = 1;
    m_linkUp = false;
    bumpLinkEpoch();
}

void CCOMCOM::applyLinkEpoch()
{
    const std::uint32_t epoch = m_linkEpoch.load(std::memory_order_acquire);
    if (epoch == m_seenEpoch) return;
    const int port = portInUse.load(std::memory_order_acquire);
    const bool up = port != 0 && linkEnabled.load(std::memory_order_acquire) != 0;
    m_port = up ? port : 0;
    if (up) {
        // Bytes still unread belong to the search (a late answer to a repeated probe), not to the first job.
        Port(port).ring.dropAll();
        SetLinkProtocol(m_t, m_linkSlot.transceiver.protocol, m_linkSlot.transceiver.gapTimeout);
        m_overhead = m_linkSlot.frameOverhead;
        m_n = std::clamp(m_linkSlot.frameSize - m_linkSlot.frameOverhead, 0, kMaxFramedData);
    } else {
        SetLinkProtocol(m_t, PROTOCOL_NONE, 0);
        m_n = 0;
    }
    m_linkState.store(up ? kLinkReady : kLinkNoPort, std::memory_order_release);
    m_activeGeneration.store(0, std::memory_order_release);
    m_pickup.filling.type = 0;
    m_pickup.filling.receivedLength = 0;
    m_seenEpoch = epoch;
    m_linkEpochSeen.store(epoch, std::memory_order_release);
}

void CCOMCOM::beginJob(std::uint32_t job)
{
    m_code = static_cast<int>(job & 0xFF);
    m_triesDone = 0;
    m_triesAllowed = (m_jobFlags & kJobOneTry) ? 1 : 3;
    m_position.store(m_jobStart, std::memory_order_relaxed);
    m_t.sendLength = 0;
    m_t.sendPosition = -1;
    m_t.remaining = 0;
    m_activeCode.store(m_code, std::memory_order_relaxed);
    m_activeGeneration.store(job >> 8, std::memory_order_release);
    if (m_linkState.load(std::memory_order_relaxed) != kLinkNoPort)
        m_linkState.store(kLinkReady, std::memory_order_release);
}

void CCOMCOM::finishJob(int result)
{
    const std::uint32_t generation = m_activeGeneration.load(std::memory_order_relaxed);
    if (m_code == kJobLive && result == kJobDone) {
        // The answer announces the pickup samples that follow it; expect them from here on.
        const auto& d = receivedData;
        if (receivedFlags[283] && d[283] != 0) m_pickup.arm(d[283], d[169] * 256 + d[170], d[284], d[285], d[286]);
    }
    m_lastJob.store(m_code, std::memory_order_release);
    m_activeGeneration.store(0, std::memory_order_release);
    std::uint32_t expected = static_cast<std::uint32_t>(m_code) | (generation << 8);
    m_job.compare_exchange_strong(expected, static_cast<std::uint32_t>(result) | (generation << 8),
                                  std::memory_order_acq_rel);
    m_linkState.store(kLinkReady, std::memory_order_release);
}

void CCOMCOM::buildRequest(const JobBlock& block)
{
    const int pos = block.start;
    if (isFramedProtocol(m_t.protocol)) {
        const std::uint32_t sum = m_t.protocol == WCOMS ? kFrameSum : 0;
        const std::uint8_t lengthBytes[2] = {static_cast<std::uint8_t>(block.length & 0xFF),
                                             static_cast<std::uint8_t>(block.length >> 8)};
        int command = 0;
        int length = 0;
        const std::uint8_t* data = nullptr;
        switch (m_code) {
            case kJobHeader:
                command = 0x701F;
                length = 2;
                data = lengthBytes;
                break;
            case kJobRead:
                command = 0x7010;
                length = 2;
                data = lengthBytes;
                break;
            case kJobProgram:
                command = 0x7020;
                length = block.length;
                data = sendData.data() + pos;
                break;
            case kJobLive:
                command = 0x7050;
                length = block.length;
                data = sendData.data() + pos;
                break;
            default:
                command = rawCommand & 0xFFFF;
                length = std::clamp(rawLength, 0, kMaxFramedData);
                break;
        }
        m_expectedAnswer = command;
        // The send length is that of the frame actually built, so no stale bytes of a longer frame go out.
        m_t.sendLength = BuildWcomFrame(m_t.sendFrame, static_cast<std::uint32_t>(command) | sum, pos, length, data);
    } else {
        const int j = pos / m_n;
        int command = 0;
        switch (m_code) {
            case kJobRaw:
                command = 0x00;
                break;
            case kJobHeader:
                command = 0x40;
                break;
            case kJobProgram:
                command = 0x00 + j + 1;
                break;
            case kJobRead:
                command = 0x40 + j + 1;
                break;
            default:
                command = 0x30 + j;
                break;
        }
        m_expectedAnswer = (command | 0x80) & 0xFF;
        const int value = m_code == kJobLive
                              ? subVersion.load(std::memory_order_relaxed) * 256 + RSKEY.load(std::memory_order_relaxed)
                              : 0;
        // A block may reach past the end of the send data near its top: the missing bytes go out as zeros.
        std::array<std::uint8_t, 300> data{};
        const int available = std::clamp(COMMAXBUF - pos, 0, m_n);
        std::copy_n(sendData.begin() + pos, available, data.begin());
        m_t.sendLength = BuildIgnFrame(m_t.sendFrame, m_t.protocol, command, 0, data.data(), value);
    }
    m_t.sendPosition = -1;
}

void CCOMCOM::checkAnswer()
{
    const FrameBuffer& f = m_t.receiveFrame;
    const int pos = m_position.load(std::memory_order_relaxed);
    const bool stores = m_code == kJobHeader || m_code == kJobRead || m_code == kJobLive;
    int address = 0;
    int length = 0;
    const std::uint8_t* data = nullptr;
    if (isFramedProtocol(m_t.protocol)) {
        if ((framedType(f) & 0x0F) != 0xC || framedCommand(f) != m_expectedAnswer) return;  // not ours: keep waiting
        address = framedAddress(f);
        length = framedLength(f);
        data = f.data() + kFramedDataOffset;
        if (address != pos || (stores && length != m_blockLength)) {
            m_linkState.store(kLinkRetry, std::memory_order_release);
            return;
        }
    } else {
        if (f[0] != m_expectedAnswer) {
            m_linkState.store(kLinkRetry, std::memory_order_release);
            return;
        }
        int i = m_expectedAnswer & 0x3F;
        if (i >= 0x30) i &= 0x0F;
        address = m_n * i - ((m_code == kJobProgram || m_code == kJobRead) ? m_n : 0);
        length = m_n;
        data = f.data() + 1;
        if (address != pos) {
            m_linkState.store(kLinkRetry, std::memory_order_release);
            return;
        }
        if (m_code == kJobProgram) {
            for (int k = 0; k < m_n && address + k < COMMAXBUF; ++k) {
                if (data[k] != sendData[static_cast<std::size_t>(address + k)]) {
                    m_linkState.store(kLinkRetry, std::memory_order_release);
                    return;
                }
            }
        }
    }
    if (stores) {
        for (int k = 0; k < length && address + k < COMMAXBUF; ++k) {
            receivedData[static_cast<std::size_t>(address + k)] = data[k];
            receivedFlags[static_cast<std::size_t>(address + k)] = 1;
        }
    }
    m_position.store(pos + m_blockLength, std::memory_order_relaxed);
    m_triesDone = 0;
    m_linkState.store(kLinkReady, std::memory_order_release);
}

int CCOMCOM::ProtocolTurn()
{
    applyLinkEpoch();
    const std::uint32_t now = m_tmr.now();
    ReceiveRing* ring = m_port != 0 ? &Port(m_port).ring : nullptr;

    // Pickup samples keep arriving between jobs.
    if (ring != nullptr && m_pickup.filling.type != 0 && m_linkState.load(std::memory_order_relaxed) != kLinkWaiting)
        (void)ReceiveFrame(m_t, *ring, now, &m_pickup);

    const std::uint32_t job = m_job.load(std::memory_order_acquire);
    const int code = static_cast<int>(job & 0xFF);
    const std::uint32_t active = m_activeGeneration.load(std::memory_order_relaxed);
    if (code == 0 || code == kJobDone || code == kJobFailed) {
        if (active != 0) {
            // The job was dropped: let go of it and of the frame in flight.
            m_activeGeneration.store(0, std::memory_order_release);
            m_t.sendPosition = -1;
            m_t.sendLength = 0;
            if (m_linkState.load(std::memory_order_relaxed) != kLinkNoPort)
                m_linkState.store(kLinkReady, std::memory_order_release);
        }
        return m_pickup.filling.type != 0 ? 50 : kIdleWaitMs;
    }
    if ((job >> 8) != active) {
        // A job published after a link change that this turn has not taken over waits for the next turn. Begun
        // on the old link it would be begun again on the new one, and the answer to its first request would
        // then arrive ahead of every later answer, each one a frame late.
        if (m_linkEpoch.load(std::memory_order_acquire) != m_seenEpoch) return 1;
        beginJob(job);
    }
    int state = m_linkState.load(std::memory_order_relaxed);
    if (state == kLinkNoPort || ring == nullptr) return kIdleWaitMs;

    if (state == kLinkWaiting) {
        while (m_linkState.load(std::memory_order_relaxed) == kLinkWaiting && ReceiveFrame(m_t, *ring, now, &m_pickup))
            checkAnswer();
        state = m_linkState.load(std::memory_order_relaxed);
        // The time-out is judged here, by the one writer of the link state, so it can never undo an answer
        // accepted at the same moment.
        if (state == kLinkWaiting && os::LinkClock::elapsed(now, m_sendTime) > kAnswerTimeout) {
            state = kLinkRetry;
            m_linkState.store(state, std::memory_order_release);
        }
    }
    if (state == kLinkRetry) {
        ++m_triesDone;
        if (m_triesDone >= m_triesAllowed) {
            finishJob(kJobFailed);
            return 1;
        }
        m_t.sendPosition = -1;
        m_sendTime = now;
        state = kLinkSending;
        m_linkState.store(state, std::memory_order_release);
    }
    if (state == kLinkSending) {
        sendPieceTo(m_t, m_port);
        if (sendDone(m_t)) {
            state = kLinkWaiting;
            m_linkState.store(state, std::memory_order_release);
        }
    }
    if (state == kLinkReady) {
        const auto block = chooseNextBlock(sendMarks, m_position.load(std::memory_order_relaxed), m_jobEnd, m_n,
                                           isFramedProtocol(m_t.protocol));
        if (!block) {
            finishJob(kJobDone);
            return 1;
        }
        m_position.store(block->start, std::memory_order_relaxed);
        m_blockLength = block->length;
        buildRequest(*block);
        m_sendTime = now;
        m_linkState.store(kLinkSending, std::memory_order_release);
        sendPieceTo(m_t, m_port);
        if (sendDone(m_t)) m_linkState.store(kLinkWaiting, std::memory_order_release);
    }
    // A piece going out or an answer coming in moves the line, which wakes the wait; without that, the next
    // look judges the answer's time-out.
    state = m_linkState.load(std::memory_order_relaxed);
    return state == kLinkSending || state == kLinkWaiting ? kLineWaitMs : 1;
}

namespace {
constexpr int kMaxAnswerGatherMs = 50;
}  // namespace

bool CCOMCOM::answerWait(int& waitMs)
{
    const bool waiting = m_port != 0 && m_linkState.load(std::memory_order_relaxed) == kLinkWaiting;
    if (m_wantedPort != 0 && m_wantedPort != m_port) Port(m_wantedPort).lineWanted.store(0, std::memory_order_relaxed);
    m_wantedPort = m_port;
    if (m_port == 0) return true;
    CCOM& com = Port(m_port);
    const int need = waiting ? BytesStillNeeded(m_t) : 0;
    com.lineWanted.store(need, std::memory_order_relaxed);
    const int missing = need - com.ring.unread();
    if (missing <= 0 || waitMs <= 0) return true;
    // The answer's time-out is judged on the link clock, which moves once a main-timer tick (55 ms): looking
    // again once the missing bytes can be there, and within 50 ms, judges it no later.
    waitMs = std::clamp(WireTimeMs(missing, com.baud.load(std::memory_order_relaxed)), 1, kMaxAnswerGatherMs);
    return false;
}

void CCOMCOM::protocolThreadMain()
{
    while (!m_quit.load(std::memory_order_acquire)) {
        int waitMs = kIdleWaitMs;
        try {
            waitMs = ProtocolTurn();
        } catch (...) {
            // Nothing in a turn is expected to throw; a failure ends the job rather than the program.
            finishJob(kJobFailed);
        }
        // A new job, a port change, the quit and bytes moving on a line wake the wait early; while an answer
        // comes in, the line is left alone until the bytes still missing can have arrived.
        const bool watchLine = answerWait(waitMs);
        pollfd p[2]{{m_linkWake.get(), POLLIN, 0}, {watchLine ? lineWakeFd() : -1, POLLIN, 0}};
        if (::poll(p, 2, waitMs) > 0) {
            for (const pollfd& woken : p) {
                if (!(woken.revents & POLLIN)) continue;
                std::uint64_t drained = 0;
                [[maybe_unused]] const ssize_t n = ::read(woken.fd, &drained, sizeof drained);
            }
        }
    }
}
