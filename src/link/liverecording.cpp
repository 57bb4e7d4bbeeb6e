#include "link/liverecording.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "os/lngtext.h"

namespace {

// records
constexpr const char* kTextFull =
    "###The live recording is full (%d records). It was stopped and saved in %s.##Die Live-Aufzeichnung ist voll "
    "(%d Sätze). Sie wurde beendet und in %s gespeichert.##Živý záznam je plný (%d záznamů). Byl ukončen a uložen "
    "do %s.";
// cause, file
constexpr const char* kTextWriteFailed =
    "###The live recording was stopped: %s. What was recorded before stays readable in %s.##Die Live-Aufzeichnung "
    "wurde beendet: %s. Das bisher Aufgezeichnete bleibt in %s lesbar.##Živý záznam byl ukončen: %s. Co bylo "
    "zaznamenáno předtím, zůstává čitelné v %s.";
// cause, file
constexpr const char* kTextNotFinished =
    "###The live recording could not be completed: %s. Everything recorded stays readable in %s.##Die "
    "Live-Aufzeichnung konnte nicht abgeschlossen werden: %s. Alles Aufgezeichnete bleibt in %s lesbar.##Živý "
    "záznam nelze dokončit: %s. Vše zaznamenané zůstává čitelné v %s.";

}  // namespace

// ---------------------------------------------------------------- recording

os::FileResult LiveRecording::Start(const std::filesystem::path& path, const LogHeaderInfo& info)
{
    if (m_state != kRecIdle) return {false, "busy"};
    os::FileResult result = m_writer.Create(path, info);
    if (!result.ok) return result;
    m_fileName = path;
    m_lastPage = LogPage{};
    m_position = 0;
    m_recordMs = -1;
    m_startClock = clock();
    m_state = kRecRecording;
    return result;
}

void LiveRecording::EndStartRecords()
{
    // A failure here meets the next record's write again, which ends the recording with a message.
    if (m_state == kRecRecording) (void)m_writer.SetStartRecords(m_writer.Count());
}

void LiveRecording::Resume()
{
    if (m_state != kRecRecordingPaused) return;
    m_startClock += clock() - m_pauseClock;
    m_state = kRecRecording;
}

std::string LiveRecording::Log(int type, std::span<const std::uint8_t> payload)
{
    if (m_state != kRecRecording || !m_writer.IsOpen()) return {};
    const auto timeMs = static_cast<std::uint32_t>(std::max<std::int64_t>(0, clock() - m_startClock));
    std::string error;
    switch (m_writer.AppendRecord(type, timeMs, payload, error)) {
        case LiveLogWriter::Append::Ok:
            m_position = m_writer.Count();
            return {};
        case LiveLogWriter::Append::TooManyRecords:
        case LiveLogWriter::Append::DataFull: {
            const int count = m_writer.Count();
            std::string text = Stop();
            if (text.empty()) text = FormatLngText(kTextFull, count, m_fileName.c_str());
            return text;
        }
        case LiveLogWriter::Append::WriteFailed:
            (void)m_writer.Abandon();
            m_state = kRecIdle;
            return FormatLngText(kTextWriteFailed, error.c_str(), m_fileName.c_str());
    }
    return {};
}

std::string LiveRecording::LogPageRecord(const LogPage& page)
{
    if (m_state != kRecRecording || page == m_lastPage) return {};
    m_lastPage = page;
    return Log(kLogPage, PageRecordPayload(page));
}

// ---------------------------------------------------------------- playing

bool LiveRecording::Open(const std::filesystem::path& path, std::string& refusal, bool& keyMismatch)
{
    if (m_state != kRecIdle) return false;
    LiveLogRead read = ReadLiveLog(path);
    if (!read.log) {
        refusal = std::move(read.error);
        keyMismatch = read.keyMismatch;
        return false;
    }
    m_log = std::move(*read.log);
    m_fileName = path;
    m_positions = m_log.Count() - m_log.startRecords + 1;
    m_position = 0;
    m_recordMs = -1;
    m_deviceText.clear();
    m_startClock = m_referenceClock = m_pauseClock = clock();
    m_state = kRecPlaying;
    replayRange(0, m_log.startRecords);
    return true;
}

void LiveRecording::Play()
{
    if (m_state != kRecPlayingPaused) return;
    const std::int64_t now = clock();
    if (m_log.startRecords + m_position >= m_log.Count()) {
        m_recordMs = -1;
        m_startClock = m_referenceClock = now;
        m_state = kRecPlaying;
        Seek(0);
        return;
    }
    m_referenceClock += now - m_pauseClock;
    m_state = kRecPlaying;
}

void LiveRecording::Tick()
{
    if (m_state != kRecPlaying || m_replaying) return;
    const std::int64_t now = clock();
    const int first = m_log.startRecords + m_position;
    // Each record is due its time difference after the last played one; the reference is the moment that one
    // was due, so the pace of the recording is kept however the ticks fall. After the program was held up, what
    // fell due meanwhile plays at once and the rest keeps its times.
    const std::int64_t last = m_log.TimeMs(first - 1);
    int end = first;
    while (end < m_log.Count() && now - m_referenceClock >= static_cast<std::int64_t>(m_log.TimeMs(end)) - last) ++end;
    if (end > first) {
        m_referenceClock += static_cast<std::int64_t>(m_log.TimeMs(end - 1)) - last;
        m_position = end - m_log.startRecords;
        replayRange(first, end);
    }
    if (m_state == kRecPlaying && m_log.startRecords + m_position >= m_log.Count()) {
        m_state = kRecPlayingPaused;
        m_pauseClock = now;
    }
}

void LiveRecording::Seek(int position)
{
    if ((m_state != kRecPlaying && m_state != kRecPlayingPaused) || m_replaying) return;
    m_position = std::clamp(position, 0, m_positions - 1);
    m_referenceClock = m_pauseClock = clock();
    if (m_position == 0)
        replayRange(0, m_log.startRecords);
    else
        replay(m_log.startRecords + m_position - 1);
}

void LiveRecording::replayRange(int first, int end)
{
    // A hook may end the playback (Stop from a box it opened); nothing is played after that.
    for (int record = first; record < end && (m_state == kRecPlaying || m_state == kRecPlayingPaused); ++record)
        replay(record);
}

void LiveRecording::replay(int record)
{
    if (record < 0 || record >= m_log.Count()) return;
    m_replaying = true;
    m_recordMs = m_log.TimeMs(record);
    const std::span<const std::uint8_t> payload = m_log.Payload(record);
    auto call = [&](const auto& hook, const auto& value) {
        if (hook) hook(value);
    };
    switch (m_log.Type(record)) {
        case kLogConnection:
            m_deviceText = ConnectionLineFromPayload(payload);
            break;
        case kLogSettingsImage:
            call(hooks.settingsImage, payload);
            break;
        case kLogDeviceImage:
            call(hooks.deviceImage, payload);
            break;
        case kLogLiveFrame:
            call(hooks.liveFrame, payload);
            break;
        case kLogPage:
            call(hooks.page, PageFromPayload(payload));
            break;
        default:
            break;
    }
    m_replaying = false;
}

// ---------------------------------------------------------------- both

void LiveRecording::Pause()
{
    if (m_state == kRecRecording)
        m_state = kRecRecordingPaused;
    else if (m_state == kRecPlaying)
        m_state = kRecPlayingPaused;
    else
        return;
    m_pauseClock = clock();
}

std::string LiveRecording::Stop()
{
    std::string text;
    if (m_state == kRecRecording || m_state == kRecRecordingPaused) {
        if (const os::FileResult result = m_writer.Finish(); !result.ok)
            text = FormatLngText(kTextNotFinished, result.error.c_str(), m_fileName.c_str());
    }
    m_log = LiveLog{};
    m_positions = 0;
    m_position = 0;
    m_recordMs = -1;
    m_state = kRecIdle;
    return text;
}

int LiveRecording::RecordCount() const
{
    return m_state == kRecRecording || m_state == kRecRecordingPaused ? m_writer.Count() : m_log.Count();
}

std::string LiveRecording::recordTimeText() const
{
    if (m_recordMs < 0) return {};
    const std::time_t t = static_cast<std::time_t>(m_log.info.startSeconds + m_recordMs / 1000);
    std::tm local{};
    localtime_r(&t, &local);
    char text[64];
    std::snprintf(text, sizeof text, "%04i_%02i_%02i %02i:%02i:%02i.%02i", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(m_recordMs % 1000 / 10));
    return text;
}

PlayerView LiveRecording::View() const
{
    PlayerView v;
    char text[128];
    switch (m_state) {
        case kRecIdle:
            v.buttonEnabled = {true, true, false, false};
            return v;
        case kRecRecording:
            v.buttonEnabled = {false, false, false, true};
            std::snprintf(text, sizeof text, "Recording (%i) %i seconds", m_writer.Count(),
                          static_cast<int>((clock() - m_startClock) / 1000));
            break;
        case kRecRecordingPaused:
            v.buttonEnabled = {true, false, false, true};
            std::snprintf(text, sizeof text, "Recording (%i) - pause", m_writer.Count());
            break;
        case kRecPlaying:
            v.buttonEnabled = {false, false, true, true};
            std::snprintf(text, sizeof text, "Play (%i) %s", m_position, recordTimeText().c_str());
            break;
        default:
            v.buttonEnabled = {false, true, false, true};
            std::snprintf(text, sizeof text, "Play (%i) - pause %s", m_position, recordTimeText().c_str());
            break;
    }
    const bool playing = m_state == kRecPlaying || m_state == kRecPlayingPaused;
    v.fileShown = v.positionShown = true;
    v.scrollShown = v.deviceShown = playing;
    v.fileText = m_fileName.string();
    v.positionText = text;
    v.deviceText = playing ? m_deviceText : std::string();
    v.scrollMax = playing ? std::max(0, m_positions - 1) : 0;
    v.scrollPosition = playing ? m_position : 0;
    return v;
}
