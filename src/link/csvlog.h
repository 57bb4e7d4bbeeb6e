#pragma once
// The CSV log of the live data: a semicolon-separated text that spreadsheets and log viewers read. Two header
// lines (names, units), then one line per live frame: the local time of day and 170 raw values of the live-data
// block. Lines end with a line feed only and every field, the last included, is followed by ";". Texts are
// Windows-1250.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "link/livedata.h"
#include "os/files.h"

// How a column takes its value from the block.
enum class CsvKind : std::uint8_t {
    Bit,           // bit `bit` of byte `position`
    Byte,          // byte `position`, 0..255
    Word,          // word `position`, 0..65535
    HardwareKey,   // bytes 296-297, "0x%x"
    StructureKey,  // bytes 299-300 (or the unit header's key when 0), then the sub-version of byte 298: "%i.%i"
    Model,         // the unit's motorcycle model: device-image byte 2500 while the device image is valid, else -1
};

struct CsvColumn
{
    CsvKind kind;
    int position = 0;
    int bit = 0;
    std::string_view name;
    std::string_view unit;  // UTF-8 here; written as Windows-1250
};

inline constexpr int kCsvColumnCount = 170;  // besides the time column
[[nodiscard]] std::span<const CsvColumn, kCsvColumnCount> CsvColumns();

// The two header lines, Windows-1250.
[[nodiscard]] std::string CsvHeaderLines();

// What a line needs besides the block.
struct CsvFrameContext
{
    int unitHeaderKey = 0;  // the key from the unit's header, used when the block carries none
    int model = -1;         // the unit's motorcycle model, -1 without a valid device image
};

// One data line for `block`, stamped with the local time of day of `epochMs` (milliseconds since 1970).
[[nodiscard]] std::string FormatCsvLine(const LiveBlock& block, const CsvFrameContext& context, std::int64_t epochMs);

// The open log. Every line goes to the system in one write, so a crash of the program loses no written line;
// a failed write closes the log and cuts it back to its last whole line.
class CsvLog final
{
public:
    // Creates the file and writes the header lines. On failure the log stays off and the result says why.
    [[nodiscard]] os::FileResult Open(const std::filesystem::path& path);
    // Appends one line while the log is on. On failure the log is off afterwards.
    [[nodiscard]] os::FileResult WriteLine(std::string_view line);
    // Closes the log; a close that fails is reported.
    [[nodiscard]] os::FileResult Close();
    [[nodiscard]] bool IsOn() const { return m_file.isOpen(); }
    [[nodiscard]] const std::filesystem::path& FileName() const { return m_file.path(); }

private:
    os::OutputFile m_file;
};
