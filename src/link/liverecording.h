#pragma once
// The live recording and its player. Recording keeps every live frame, image change and page change with its
// time in a ".ignlog" file; playing hands the records back at the pace they were recorded, as if the unit were
// connected. The main window drives it from its buttons and its timer and fills in what the records carry.
//
// States: 0 idle, 1 recording, 5 recording paused, 2 playing, 6 playing paused (also at the end of a file).
// Positions of the player: 0 stands for the start records (written when the recording began), p >= 1 for the
// p-th record after them.
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>

#include "link/ignlog.h"
#include "os/clock.h"

inline constexpr int kRecIdle = 0;
inline constexpr int kRecRecording = 1;
inline constexpr int kRecPlaying = 2;
inline constexpr int kRecRecordingPaused = 5;
inline constexpr int kRecPlayingPaused = 6;

// Where played records go. Every hook may stay empty.
struct PlayerHooks
{
    std::function<void(std::span<const std::uint8_t>)> settingsImage;  // 5100 bytes
    std::function<void(std::span<const std::uint8_t>)> deviceImage;    // 5100 bytes
    std::function<void(std::span<const std::uint8_t>)> liveFrame;      // live-data block bytes 0..299
    std::function<void(const LogPage&)> page;
};

// The player's controls as the state wants them.
struct PlayerView
{
    std::array<bool, 4> buttonEnabled{};  // Record, Play, Pause, Stop
    bool fileShown = false;
    bool positionShown = false;
    bool scrollShown = false;
    bool deviceShown = false;
    std::string fileText;
    std::string positionText;
    std::string deviceText;
    int scrollMax = 0;
    int scrollPosition = 0;
};

class LiveRecording final
{
public:
    explicit LiveRecording(os::MsClock msClock = os::steadyMsClock()) : clock(std::move(msClock)) {}

    [[nodiscard]] int State() const { return m_state; }
    [[nodiscard]] bool Recording() const { return m_state == kRecRecording; }
    [[nodiscard]] const std::filesystem::path& FileName() const { return m_fileName; }

    // ---- recording
    // From idle: creates the file (state 1). The caller then logs the start records and calls EndStartRecords.
    [[nodiscard]] os::FileResult Start(const std::filesystem::path& path, const LogHeaderInfo& info);
    // The records logged so far are the start records.
    void EndStartRecords();
    // From recording paused: recording goes on; the pause does not count in the record times.
    void Resume();
    // Appends a record while recording. A record past the file's limits ends the recording (the file is written
    // without it), as does a failed write (the file keeps what was written before); the returned text then tells
    // the user. Empty when nothing needs saying.
    [[nodiscard]] std::string Log(int type, std::span<const std::uint8_t> payload);
    // A page record, only when it differs from the last one of this recording.
    [[nodiscard]] std::string LogPageRecord(const LogPage& page);

    // ---- playing
    // From idle: reads and checks the file, then plays it from the start records on (state 2). On refusal the
    // state stays idle and `refusal` says why (`keyMismatch` when only the structure key differs).
    [[nodiscard]] bool Open(const std::filesystem::path& path, std::string& refusal, bool& keyMismatch);
    // From playing paused: plays on, or from the beginning when the end was reached.
    void Play();
    // Plays the records that are due (state 2). Call it on every main-timer tick.
    void Tick();
    // Moves to a position (states 2 and 6): position 0 plays the start records, p >= 1 that one record only.
    void Seek(int position);

    // ---- both
    // Recording to paused, playing to paused.
    void Pause();
    // Writes a recording (its final form) or ends a playback; back to idle. A text when writing failed.
    [[nodiscard]] std::string Stop();

    [[nodiscard]] PlayerView View() const;
    [[nodiscard]] int Position() const { return m_position; }
    [[nodiscard]] int PositionCount() const { return m_positions; }
    [[nodiscard]] int RecordCount() const;
    // The log being played (valid in states 2 and 6).
    [[nodiscard]] const LiveLog& Played() const { return m_log; }

    os::MsClock clock;
    PlayerHooks hooks;

private:
    void replay(int record);
    void replayRange(int first, int end);
    [[nodiscard]] std::string recordTimeText() const;

    int m_state = kRecIdle;
    std::filesystem::path m_fileName;
    // recording
    LiveLogWriter m_writer;
    LogPage m_lastPage{};
    std::int64_t m_startClock = 0;
    std::int64_t m_pauseClock = 0;
    // playing
    LiveLog m_log;
    int m_position = 0;
    int m_positions = 0;
    std::int64_t m_referenceClock = 0;  // when the last played record was due
    std::int64_t m_recordMs = -1;       // time of the last played record, -1 before the first
    std::string m_deviceText;
    bool m_replaying = false;  // a hook that opens a box lets the timer in again: no nested replay
};
