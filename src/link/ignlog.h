#pragma once
// The live recording file (".ignlog"), all numbers little-endian: a header whose first field is its own length,
// then the records back to back. The header holds the recording's start, the machine it was made on, the
// structure key, the version line, the data length, the number of start records and of records, and the offset
// of every record in two tables (low and high 16 bits).
//
// A record: length (with its 8 head bytes), type, 0, milliseconds since the start (pauses not counted), payload.
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "os/files.h"
#include "settings/image.h"

inline constexpr int kLogHeaderFixed = 12256;  // the header up to the high offsets
inline constexpr int kLogHeaderMax = 24256;    // with the high offsets of the most records a recording holds
inline constexpr int kLogMaxRecords = 6000;
inline constexpr std::uint32_t kLogDataCapacity = 2'000'000;
inline constexpr int kLogRecordHead = 8;
inline constexpr int kLogConnectionTextBytes = 75;
inline constexpr int kLogEditorPlaces = 75;
inline constexpr int kLogFrameBytes = 300;  // live-data block bytes 0..299; byte 300 is not recorded

// Header fields.
inline constexpr int kLogOffLength = 0;
inline constexpr int kLogOffStart = 4;
inline constexpr int kLogOffOsVersion = 8;
inline constexpr int kLogOffMonitors = 24;
inline constexpr int kLogOffKey = 60;
inline constexpr int kLogOffVersionLine = 62;
inline constexpr int kLogVersionLineBytes = 186;
inline constexpr int kLogOffDataLength = 248;
inline constexpr int kLogOffStartRecords = 252;
inline constexpr int kLogOffCount = 254;
inline constexpr int kLogOffLowOffsets = 256;
inline constexpr int kLogOffHighOffsets = 12256;

enum LogRecordType : int {
    kLogConnection = 1,     // port in use, then the connection line
    kLogSettingsImage = 2,  // the settings image
    kLogDeviceImage = 3,    // the device image (only while valid)
    kLogLiveFrame = 4,      // live-data block bytes 0..299
    kLogPage = 5,           // the page shown and the sheets of the map editors
};

// The length of a record of that type, head included; 0 for a type that does not exist.
[[nodiscard]] int LogRecordLength(int type);

struct LogMonitorRect
{
    std::int16_t left = 0, width = 0, top = 0, height = 0;
};

struct LogHeaderInfo
{
    std::int64_t startSeconds = 0;            // since 1970
    std::array<std::int32_t, 4> osVersion{};  // major, minor, build, platform; 0 when unknown
    std::array<LogMonitorRect, 4> monitors{};
    int key = RS_KEY_309;
    std::string versionLine{};  // UTF-8; written as Windows-1250
};

// The payload of a page record.
struct LogPage
{
    int page = 0;
    std::array<std::uint8_t, kLogEditorPlaces> editorIds{};
    std::array<std::uint8_t, kLogEditorPlaces> sheets{};  // 255: the editor has no sheet
    bool operator==(const LogPage&) const = default;
};
[[nodiscard]] std::vector<std::uint8_t> PageRecordPayload(const LogPage& page);
[[nodiscard]] LogPage PageFromPayload(std::span<const std::uint8_t> payload);
// The payload of a connection record: the port (low byte) and the first 75 bytes of the connection line.
[[nodiscard]] std::vector<std::uint8_t> ConnectionRecordPayload(int port, const std::string& connectionLine);
[[nodiscard]] std::string ConnectionLineFromPayload(std::span<const std::uint8_t> payload);

// A recording being made. It keeps the file in memory and writes every record to the file as it comes, in a
// form that can be read at every moment: the header without high offsets (readers take those from the
// wrap-arounds of the low offsets), with the counts updated after each record's bytes. A crash of the program
// thus leaves a readable file that ends at the last record. Finish replaces it with the final form, whose header
// carries the high offsets too.
class LiveLogWriter final
{
public:
    enum class Append { Ok, TooManyRecords, DataFull, WriteFailed };

    // Creates the file with an empty header. On failure nothing is open.
    [[nodiscard]] os::FileResult Create(const std::filesystem::path& path, const LogHeaderInfo& info);
    // Books one record. A record past the limits is refused (TooManyRecords, DataFull) and nothing is written.
    // On WriteFailed, `error` says why; the file still reads up to the record before.
    [[nodiscard]] Append AppendRecord(int type, std::uint32_t timeMs, std::span<const std::uint8_t> payload,
                                      std::string& error);
    [[nodiscard]] os::FileResult SetStartRecords(int count);
    // Writes the final form over the file and closes it. When that fails, the file keeps its running form
    // (readable, every record in it) and the result says why.
    [[nodiscard]] os::FileResult Finish();
    // Closes the running file as it is (after a failed write: what it holds stays readable).
    [[nodiscard]] os::FileResult Abandon();

    [[nodiscard]] bool IsOpen() const { return m_file.isOpen(); }
    [[nodiscard]] int Count() const { return m_count; }
    [[nodiscard]] std::uint32_t DataLength() const { return static_cast<std::uint32_t>(m_data.size()); }
    [[nodiscard]] const std::filesystem::path& Path() const { return m_file.path(); }
    // The file as Finish writes it.
    [[nodiscard]] std::vector<std::uint8_t> FinalBytes() const;

private:
    [[nodiscard]] os::FileResult writeCounts();
    os::OutputFile m_file;
    std::vector<std::uint8_t> m_header;  // kLogHeaderMax bytes
    std::vector<std::uint8_t> m_data;
    int m_count = 0;
};

// A recording read from a file, every offset and length checked.
class LiveLog final
{
public:
    LogHeaderInfo info;
    int startRecords = 0;
    std::vector<std::uint32_t> offsets;  // of each record in the data
    std::vector<std::uint8_t> data;

    [[nodiscard]] int Count() const { return static_cast<int>(offsets.size()); }
    [[nodiscard]] int Type(int record) const;
    [[nodiscard]] std::uint32_t TimeMs(int record) const;
    [[nodiscard]] std::span<const std::uint8_t> Payload(int record) const;
};

struct LiveLogRead
{
    std::optional<LiveLog> log;
    std::string error;         // why the file was refused, in the current language
    bool keyMismatch = false;  // refused only for another structure key
};

// Checks the bytes of a file: header length, key, counts, data length and every record's place, type and length
// against what the file holds. A file that fails any check is refused with a text that says what is wrong.
[[nodiscard]] LiveLogRead ParseLiveLog(std::span<const std::uint8_t> bytes);
[[nodiscard]] LiveLogRead ReadLiveLog(const std::filesystem::path& path);
