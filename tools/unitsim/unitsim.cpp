#include "unitsim/unitsim.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>

#include "link/frames.h"

namespace unitsim {

namespace {
using Clock = std::chrono::steady_clock;
// A pause that ends an unfinished request: well above a real unit's, still below the program's shortest retry
// period.
constexpr auto kFrameGap = std::chrono::milliseconds(200);

// Whether bytes wait to be read at this end of the pty. poll() rather than FIONREAD: written bytes reach the
// reading end through a kernel work item that a loaded machine may delay for a long time, and only poll()
// waits for that hand-over to finish before it answers.
bool bytesWaiting(int fd)
{
    pollfd p{fd, POLLIN, 0};
    return fd >= 0 && ::poll(&p, 1, 0) > 0 && (p.revents & POLLIN) != 0;
}

int speedToBaud(speed_t speed)
{
    for (int baud : {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400})
        if (os::baudToSpeed(baud) == speed) return baud;
    return 0;
}

Clock::duration wireTime(std::size_t bytes, int baud)
{
    return std::chrono::microseconds(static_cast<std::int64_t>(bytes) * 10'000'000 / std::max(baud, 1));
}

std::vector<std::uint8_t> frameBytes(const FrameBuffer& f, int length)
{
    return std::vector<std::uint8_t>(f.begin(), f.begin() + length);
}
}  // namespace

UnitSim::UnitSim(UnitConfig config) : m_config(std::move(config)), m_image(5100), m_header(300)
{
    makeLine();
    for (std::size_t i = 0; i < m_image.size(); ++i) m_image[i] = static_cast<std::uint8_t>(i * 7 + (i >> 8));
    const std::string type = "QVI";
    std::copy(type.begin(), type.end(), m_header.begin());
    m_header[3] = 7;
    m_header[10] = static_cast<std::uint8_t>(m_config.subVersion);
    m_header[11] = static_cast<std::uint8_t>(m_config.key >> 8);
    m_header[12] = static_cast<std::uint8_t>(m_config.key & 0xFF);
    std::copy_n(m_config.name.begin(), std::min<std::size_t>(m_config.name.size(), 29), m_header.begin() + 17);
    const auto any = [](const auto& bytes) {
        return std::any_of(bytes.begin(), bytes.end(), [](auto b) { return b != 0; });
    };
    if (any(m_config.firmwareTag))
        std::copy(m_config.firmwareTag.begin(), m_config.firmwareTag.end(), m_header.begin() + 30);
    if (m_config.lastUpdate != 0)
        for (int i = 0; i < 4; ++i)
            m_header[34 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(m_config.lastUpdate >> (8 * i));
    if (any(m_config.serialNumber))
        std::copy(m_config.serialNumber.begin(), m_config.serialNumber.end(), m_header.begin() + 38);
    std::copy_n(m_config.note.begin(), std::min<std::size_t>(m_config.note.size(), 100), m_header.begin() + 46);
    m_thread = std::thread([this] { run(); });
}

void UnitSim::makeLine()
{
    m_master.reset(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (!m_master.isOpen() || ::grantpt(m_master.get()) != 0 || ::unlockpt(m_master.get()) != 0)
        throw std::runtime_error("unitsim: cannot create a pseudo-terminal");
    m_slavePath = ::ptsname(m_master.get());
    m_slave.reset(::open(m_slavePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (!m_slave.isOpen()) throw std::runtime_error("unitsim: cannot open " + m_slavePath);
    // Raw from the start: an echoing line would hand the unit its own answers back.
    termios tio{};
    ::tcgetattr(m_slave.get(), &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(m_slave.get(), TCSANOW, &tio);
    ::fcntl(m_master.get(), F_SETFL, ::fcntl(m_master.get(), F_GETFL) | O_NONBLOCK);
    m_lineOpen.store(true);
}

UnitSim::~UnitSim()
{
    stopThread();
}

void UnitSim::stopThread()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop.store(true);
    }
    m_changed.notify_all();  // a held answer lets go
    if (m_thread.joinable()) m_thread.join();
    m_working.store(false);
}

void UnitSim::setWireImage(const std::vector<std::uint8_t>& image)
{
    std::lock_guard lock(m_mutex);
    std::copy_n(image.begin(), std::min(image.size(), m_image.size()), m_image.begin());
}

std::vector<std::uint8_t> UnitSim::wireImage() const
{
    std::lock_guard lock(m_mutex);
    return m_image;
}

void UnitSim::setFaults(const Faults& faults)
{
    std::lock_guard lock(m_mutex);
    m_config.faults = faults;
    m_answerNumber = 0;
}

void UnitSim::setChangedMask(int mask)
{
    std::lock_guard lock(m_mutex);
    m_changedMask = mask;
}

void UnitSim::setPickupSamples(std::vector<std::uint8_t> samples, std::uint8_t type)
{
    std::lock_guard lock(m_mutex);
    m_samples = std::move(samples);
    m_sampleType = type;
}

void UnitSim::closeLine()
{
    m_lineOpen.store(false);
    stopThread();
    m_slave.reset();
    m_master.reset();
}

void UnitSim::openLine()
{
    if (m_lineOpen.load()) return;
    makeLine();
    m_stop.store(false);
    m_thread = std::thread([this] { run(); });
}

std::vector<Request> UnitSim::requests() const
{
    std::lock_guard lock(m_mutex);
    return m_requests;
}

void UnitSim::clearRequests()
{
    std::lock_guard lock(m_mutex);
    m_requests.clear();
}

int UnitSim::requestCount() const
{
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_requests.size());
}

bool UnitSim::busy() const
{
    // The program's bytes first, then the unit's work: bytes the simulator takes between the two looks are seen
    // at the second, since it is working from before it reads.
    return bytesWaiting(m_master.get()) || m_working.load();
}

bool UnitSim::answerOnLine() const
{
    return bytesWaiting(m_slave.get());
}

std::uint64_t UnitSim::waitForActivity(std::uint64_t seen, std::chrono::milliseconds limit)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, limit, [&] { return m_activity != seen; });
    return m_activity;
}

void UnitSim::holdAnswers(bool hold)
{
    {
        std::lock_guard lock(m_mutex);
        m_hold = hold;
    }
    m_changed.notify_all();
}

bool UnitSim::holdsAnAnswer() const
{
    std::lock_guard lock(m_mutex);
    return m_holding;
}

void UnitSim::noteActivity()
{
    {
        std::lock_guard lock(m_mutex);
        ++m_activity;
    }
    m_changed.notify_all();
}

void UnitSim::pauseQuietly(std::chrono::milliseconds pause)
{
    m_working.store(false);
    noteActivity();
    std::this_thread::sleep_for(pause);
    m_working.store(true);
}

int UnitSim::lineBaud() const
{
    termios tio{};
    if (::tcgetattr(m_master.get(), &tio) != 0) return 0;
    return speedToBaud(::cfgetospeed(&tio));
}

void UnitSim::run()
{
    std::uint8_t buf[512];
    while (!m_stop.load()) {
        // Working from before the read, and reading only what poll() announced, so that no byte is taken and
        // answered while the unit still looks idle.
        pollfd p{m_master.get(), POLLIN, 0};
        ssize_t n = 0;
        if (::poll(&p, 1, 5) > 0 && (p.revents & POLLIN) != 0) {
            m_working.store(true);
            n = ::read(m_master.get(), buf, sizeof buf);
        }
        const auto now = Clock::now();
        if (n <= 0) {
            // A request broken off by a pause is forgotten, as a unit's receiver would. The pause is judged only
            // while no bytes wait, so a simulator that a loaded machine starves never splits a request that
            // arrived whole.
            if (!m_rx.empty() && now - m_lastByte > kFrameGap) m_rx.clear();
            if (m_rx.empty() && m_working.exchange(false)) noteActivity();
            continue;
        }
        m_bytesIn += n;
        bool echo = false;
        {
            std::lock_guard lock(m_mutex);
            echo = m_config.faults.echo;
        }
        if (echo) {
            // A loop-back plug: every byte comes straight back, whatever the baud rate.
            sendPaced(std::vector<std::uint8_t>(buf, buf + n));
        } else if (lineBaud() != m_config.baud) {
            // Bytes sent at another baud rate arrive as garbage at a real unit; this one ignores them.
            m_rx.clear();
        } else {
            for (ssize_t i = 0; i < n && !m_stop.load(); ++i) feed(buf[i], now);
        }
        if (m_rx.empty()) m_working.store(false);
        noteActivity();
    }
}

void UnitSim::feed(std::uint8_t b, Clock::time_point at)
{
    if (m_rx.empty()) m_firstByte = at;
    m_lastByte = at;
    m_rx.push_back(b);
    if (isFramedProtocol(m_config.protocol)) {
        if (m_rx.size() <= kPreamble.size()) {
            if (m_rx.back() != kPreamble[m_rx.size() - 1]) {
                // Slide: keep the longest tail that is still a preamble start.
                while (!m_rx.empty() && !std::equal(m_rx.begin(), m_rx.end(), kPreamble.begin()))
                    m_rx.erase(m_rx.begin());
            }
            return;
        }
        if (m_rx.size() < 14) return;
        const std::size_t total = 16u + static_cast<std::size_t>(m_rx[12] | (m_rx[13] << 8));
        if (total > 1040) {
            m_rx.clear();
            return;
        }
        if (m_rx.size() < total) return;
        std::vector<std::uint8_t> frame;
        frame.swap(m_rx);
        handleFramed(frame);
        return;
    }
    const int n = fixedDataLength(m_config.protocol);
    if (m_rx.size() == 1 && (b & 0x80) != 0) {
        m_rx.clear();  // requests start with bit 7 clear
        return;
    }
    if (static_cast<int>(m_rx.size()) < n + 2) return;
    std::vector<std::uint8_t> frame;
    frame.swap(m_rx);
    std::uint8_t x = 0;
    for (std::uint8_t v : frame) x ^= v;
    if (x == 0xFF) handleFixed(frame);
}

void UnitSim::handleFramed(const std::vector<std::uint8_t>& frame)
{
    const std::size_t l = frame.size() - 16;
    const auto body = std::span<const std::uint8_t>(frame.data(), frame.size() - 2);
    const int type = frame[7];
    const bool sum = (type & 0xF0) == 0xF0;
    if ((type & 0x0F) != 0x0B || sum != (m_config.protocol == WCOMS)) return;
    if (sum ? wcomsSum(std::span<const std::uint8_t>(frame.data(), frame.size())) != 0xFFFF
            : wcomCrc(body) != (frame[14 + l] | (frame[15 + l] << 8)))
        return;
    Request req;
    req.command = frame[8] | (frame[9] << 8);
    req.address = frame[10] | (frame[11] << 8);
    req.length = static_cast<int>(l);
    req.data.assign(frame.begin() + 14, frame.begin() + 14 + static_cast<long>(l));
    std::vector<std::uint8_t> data;
    std::uint32_t command = static_cast<std::uint32_t>(req.command) | kFrameKindC | (sum ? kFrameSum : 0);
    int address = req.address;
    const int lengthAsked = l >= 2 ? (req.data[0] | (req.data[1] << 8)) : 0;
    {
        std::lock_guard lock(m_mutex);
        m_requests.push_back(req);
        auto slice = [&](const std::vector<std::uint8_t>& from, int at, int len) {
            at = std::clamp(at, 0, static_cast<int>(from.size()));
            len = std::clamp(len, 0, static_cast<int>(from.size()) - at);
            return std::vector<std::uint8_t>(from.begin() + at, from.begin() + at + len);
        };
        switch (req.command) {
            case 0xFEEE:
                data.assign(m_config.name.begin(), m_config.name.end());
                data.push_back(0);
                if (m_config.frameSize != 0) {
                    for (int v : {m_config.frameSize, m_config.hardwareCode, m_config.key}) {
                        data.push_back(static_cast<std::uint8_t>(v & 0xFF));
                        data.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
                    }
                }
                break;
            case 0x701F:
                data = slice(m_header, req.address, lengthAsked);
                break;
            case 0x7010:
                data = slice(m_image, req.address, lengthAsked);
                if (m_config.faults.unstableReads && req.address <= 5 && req.address + lengthAsked > 5)
                    data[static_cast<std::size_t>(5 - req.address)] ^=
                        static_cast<std::uint8_t>(1 + (m_unstableRead++ & 0x3F));
                break;
            case 0x7020:
                for (std::size_t i = 0; i < req.data.size() && req.address + i < m_image.size(); ++i)
                    m_image[req.address + i] = req.data[i];
                m_saveCounter = 10200;
                if (m_config.faults.shortProgramAck) {
                    command = 0xFFFF | kFrameKindC | (sum ? kFrameSum : 0);
                    address = 0x7020;
                    data = {static_cast<std::uint8_t>(req.address & 0xFF), static_cast<std::uint8_t>(req.address >> 8)};
                    data.resize(m_config.faults.shortProgramAck == 1 ? 1 : 2);
                }
                break;
            case 0x7050:
                break;
            default:
                break;  // reset and unknown raw commands: an empty acknowledgement
        }
    }
    if (req.command == 0x7050) {
        // One live cycle arrives as several slices; all are served from one snapshot taken at its start.
        if (req.address == 0 || m_liveSnapshot.empty())
            m_liveSnapshot = liveAnswer(req.data.size() > 105 && req.data[105] == 1);
        const int at = std::clamp(req.address, 0, 300);
        const int len = std::clamp(req.length, 0, 300 - at);
        data.assign(m_liveSnapshot.begin() + at, m_liveSnapshot.begin() + at + len);
    }
    FrameBuffer f{};
    const int n = BuildWcomFrame(f, command, address, static_cast<int>(data.size()), data.data());
    answer(frameBytes(f, n), frame.size(), req.command);
}

void UnitSim::setLiveBytes(int at, const std::vector<std::uint8_t>& bytes)
{
    std::lock_guard lock(m_mutex);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const int k = at + static_cast<int>(i);
        if (k < 0 || k >= 300) continue;
        std::erase_if(m_liveBytes, [k](const auto& entry) { return entry.first == k; });
        m_liveBytes.emplace_back(k, bytes[i]);
    }
}

void UnitSim::setRunningEngine(int step)
{
    // Block positions as the program reads them: word w is answer bytes 2w - 1 (high) and 2w, byte k answer
    // byte k - 1.
    auto word = [this](int w, int value) {
        setLiveBytes(2 * w - 1, {static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value & 0xFF)});
    };
    auto byte = [this](int k, int value) { setLiveBytes(k - 1, {static_cast<std::uint8_t>(value)}); };
    const double phase = std::sin(step * 0.35);
    const int rpm = 4200 + static_cast<int>(1800 * phase);
    const int tps = 240 + static_cast<int>(160 * phase);  // 0.1 %
    // Sensors: AP, IAP, gas handle, lambda, coolant, air, battery (mV and their values).
    word(2, rpm);
    word(3, 4080);
    word(4, 1008);
    word(5, 2140);
    word(6, 900 + tps * 3);
    word(7, 450 + static_cast<int>(60 * phase));
    word(8, 1320);
    word(9, 2480);
    word(10, 13900 + (step % 3) * 100);
    word(13, 1210);
    word(14, 1200);
    word(11, 2500);
    word(12, 2500);
    word(15, 2470);
    word(16, 12);  // programmings
    word(26, 350);
    word(27, 350);
    word(28, 35);
    word(29, 12);
    word(30, 8);
    word(32, 1040);
    word(33, 1025);
    word(34, 1000);
    word(45, 1000);
    word(51, 1010);
    word(36, rpm / 48);  // speed rear, km/h
    word(65, rpm / 48 - 1);
    word(37, 2730);      // gear sensor
    word(38, 46);
    for (int g = 0; g < 6; ++g) word(39 + g, std::array{120, 85, 64, 52, 46, 41}[static_cast<std::size_t>(g)]);
    word(46, 64);
    word(47, tps);
    word(49, 40);
    word(57, tps);
    word(58, 32);  // dwell 3.2 ms
    for (int c = 0; c < 4; ++c) word(59 + c, 38);
    word(66, 116);                           // slip 1.16 %
    word(68, 12345);                         // hour meter, minutes
    word(69, 640 + static_cast<int>(90 * phase));
    word(79, 1830);
    word(83, 0xFFFF);                        // no second throttle sensor
    byte(175, 0x55);                         // no fall, blocking, start limiter or shift switch active
    byte(176, 0xC1);                         // both servos ready, tacho input quiet
    byte(177, 0x60);                         // crank and cam pickups see their signals
    byte(178, 0x08);                         // the engine runs
    byte(181, 0x01);                         // input 1 grounded
    for (int c = 0; c < 4; ++c) byte(183 + c, 26 + static_cast<int>(4 * phase));
    for (int c = 0; c < 4; ++c) byte(187 + c, 38 + static_cast<int>(12 * phase));  // 0.1 ms
    byte(195, 188);                          // coolant 88 deg C
    byte(196, 124);                          // air 24 deg C
    byte(197, rpm > 5000 ? 4 : 3);           // gear
    byte(198, 60);
    byte(199, step % 5 == 0 ? 14 : 16);      // tuning: adding, then OK
    for (int ch = 1; ch < 4; ++ch) byte(199 + ch, 255);
    byte(203, 140 + static_cast<int>(8 * phase));  // AFR x 10
    for (int ch = 1; ch < 4; ++ch) byte(203 + ch, 255);
    byte(208, 3);   // power out 1: lambda heating full
    byte(209, 18);  // 2: cooling off
    byte(220, 40);  // 3: fuel pump on
    byte(222, 2);   // synchronised
    byte(230, 62);  // fuel %
}

std::vector<std::uint8_t> UnitSim::liveAnswer(bool wantsSamples)
{
    std::lock_guard lock(m_mutex);
    std::vector<std::uint8_t> a(300, 0);
    a[1] = static_cast<std::uint8_t>(m_config.key >> 8);
    a[2] = static_cast<std::uint8_t>(m_config.key & 0xFF);
    a[3] = 0x0B;  // 3000 rpm
    a[4] = 0xB8;
    ++m_liveFrames;
    a[240] = static_cast<std::uint8_t>(m_liveFrames >> 8);
    a[241] = static_cast<std::uint8_t>(m_liveFrames & 0xFF);
    a[99] = static_cast<std::uint8_t>(m_saveCounter >> 8);
    a[100] = static_cast<std::uint8_t>(m_saveCounter & 0xFF);
    m_saveCounter = std::max(0, m_saveCounter - 1020);
    a[111] = static_cast<std::uint8_t>(m_changedMask >> 8);
    a[112] = static_cast<std::uint8_t>(m_changedMask & 0xFF);
    if (wantsSamples && m_sampleType != 0 && !m_samples.empty()) {
        std::uint8_t x = 0, s = 0;
        for (std::uint8_t v : m_samples) {
            x ^= v;
            s = static_cast<std::uint8_t>(s + v);
        }
        a[169] = static_cast<std::uint8_t>(m_samples.size() >> 8);
        a[170] = static_cast<std::uint8_t>(m_samples.size() & 0xFF);
        a[283] = m_sampleType;
        a[284] = x;
        a[285] = s;
        a[286] = 4;
    }
    for (const auto& [at, value] : m_liveBytes) a[static_cast<std::size_t>(at)] = value;
    a[295] = static_cast<std::uint8_t>(m_config.hardwareCode & 0xFF);
    a[296] = static_cast<std::uint8_t>(m_config.hardwareCode >> 8);
    a[297] = static_cast<std::uint8_t>(m_config.subVersion);
    a[298] = static_cast<std::uint8_t>(m_config.key & 0xFF);
    a[299] = static_cast<std::uint8_t>(m_config.key >> 8);
    return a;
}

void UnitSim::handleFixed(const std::vector<std::uint8_t>& frame)
{
    const int n = fixedDataLength(m_config.protocol);
    const int command = frame[0];
    Request req;
    req.command = command;
    req.length = n;
    req.data.assign(frame.begin() + 1, frame.begin() + 1 + n);
    std::vector<std::uint8_t> data(static_cast<std::size_t>(n), 0);
    bool known = true;
    bool sendSamples = false;
    if (command == 0x30 && m_config.protocol != IGN300) {
        data[static_cast<std::size_t>(n) - 1] = static_cast<std::uint8_t>(m_config.key & 0xFF);
    } else if (command == 0x30) {
        sendSamples = req.data[105] == 1;
        data = liveAnswer(sendSamples);
        std::lock_guard lock(m_mutex);
        sendSamples = sendSamples && m_sampleType != 0 && !m_samples.empty();
    } else if (m_config.protocol != IGN300) {
        known = false;  // the small units are simulated as far as their identification only
    } else {
        std::lock_guard lock(m_mutex);
        if (command == 0x40) {
            data = m_header;
            if (m_config.faults.unstableHeaders > 0) {
                --m_config.faults.unstableHeaders;
                data[200] = static_cast<std::uint8_t>(data[200] ^ (1 + (m_unstableRead++ & 0x3F)));
            }
        } else if (command >= 0x41 && command <= 0x51) {
            const int k = command - 0x40;
            std::copy_n(m_image.begin() + 300 * (k - 1), 300, data.begin());
            if (m_config.faults.unstableReads && k == 1)
                data[5] = static_cast<std::uint8_t>(data[5] ^ (1 + (m_unstableRead++ & 0x3F)));
            m_changedMask &= ~(1 << (k - 1));
        } else if (command >= 0x01 && command <= 0x11) {
            const int k = command;
            std::copy_n(req.data.begin(), 300, m_image.begin() + 300 * (k - 1));
            data = req.data;
            m_saveCounter = 10200;
        } else if (command == 0x00) {
            data = req.data;  // reset
        } else {
            known = false;
        }
    }
    {
        std::lock_guard lock(m_mutex);
        m_requests.push_back(req);
    }
    if (!known) return;
    FrameBuffer f{};
    const int len = BuildIgnFrame(f, m_config.protocol, command | 0x80, 0, data.data(), 0);
    answer(frameBytes(f, len), frame.size(), command);
    if (sendSamples) {
        std::vector<std::uint8_t> samples;
        {
            std::lock_guard lock(m_mutex);
            samples = m_samples;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(m_config.pickupDelayMs));
        sendPaced(samples);
    }
}

void UnitSim::answer(std::vector<std::uint8_t> frame, std::size_t requestBytes, int requestCommand)
{
    // A real unit sees the request only once its last byte has crossed the line.
    if (m_config.wirePaced) std::this_thread::sleep_until(m_firstByte + wireTime(requestBytes, m_config.baud));
    Faults faults;
    int number = 0;
    {
        std::lock_guard lock(m_mutex);
        faults = m_config.faults;
        if (faults.onlyCommand >= 0 && faults.onlyCommand != requestCommand)
            number = -1;  // not counted, never a target of the faults
        else
            number = ++m_answerNumber;
    }
    if (faults.delayAnswerMs > 0) pauseQuietly(std::chrono::milliseconds(faults.delayAnswerMs));
    if (m_silent.load()) return;
    if (number >= 0) {
        if (faults.silentAfter >= 0 && number > faults.silentAfter) {
            m_silent.store(true);
            return;
        }
        if (number >= faults.dropAnswerFrom && number < faults.dropAnswerFrom + faults.dropAnswerCount) return;
        if (number >= faults.corruptCheckFrom && number < faults.corruptCheckFrom + faults.corruptCheckCount)
            frame.back() ^= 0x01;
    }
    {
        std::unique_lock lock(m_mutex);
        if (m_hold && !m_stop.load()) {
            m_holding = true;
            m_working.store(false);
            ++m_activity;
            m_changed.notify_all();
            m_changed.wait(lock, [&] { return !m_hold || m_stop.load(); });
            m_holding = false;
            m_working.store(true);
        }
    }
    if (faults.noiseBytes > 0) {
        std::vector<std::uint8_t> noise(static_cast<std::size_t>(faults.noiseBytes));
        for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<std::uint8_t>(0x11 + (i * 13) % 0x60);
        frame.insert(frame.begin(), noise.begin(), noise.end());
    }
    if (faults.pauseInsideMs > 0) {
        const std::size_t half = frame.size() / 2;
        sendPaced(std::vector<std::uint8_t>(frame.begin(), frame.begin() + static_cast<long>(half)));
        pauseQuietly(std::chrono::milliseconds(faults.pauseInsideMs));
        sendPaced(std::vector<std::uint8_t>(frame.begin() + static_cast<long>(half), frame.end()));
    } else {
        sendPaced(frame);
    }
    ++m_answers;
}

void UnitSim::sendPaced(const std::vector<std::uint8_t>& bytes)
{
    // Bytes leave no faster than the line carries them at the set baud rate.
    const auto start = Clock::now();
    std::size_t sent = 0;
    while (sent < bytes.size() && !m_stop.load()) {
        const std::size_t chunk = std::min<std::size_t>(32, bytes.size() - sent);
        const ssize_t n = ::write(m_master.get(), bytes.data() + sent, chunk);
        if (n < 0) {
            pollfd p{m_master.get(), POLLOUT, 0};
            ::poll(&p, 1, 5);
            continue;
        }
        sent += static_cast<std::size_t>(n);
        m_bytesOut += n;
        if (m_config.wirePaced) std::this_thread::sleep_until(start + wireTime(sent, m_config.baud));
    }
}

}  // namespace unitsim
