#pragma once
// The unit's identity texts, taken from the header that the unit check reads: type and firmware build, the
// firmware tag, serial number, time of the last settings update and the note. Texts are UTF-8; the unit's own
// 8-bit characters are read as Windows-1250.
#include <cstdint>
#include <span>
#include <string>

inline constexpr int kUnitHeaderKept = 299;  // header bytes the main window keeps

struct IdentityTexts
{
    std::string unit = "Unit = --";
    std::string date = "Date = --";
    std::string time = "--:--";
    std::string firmware;
    std::string serialNumber;
    std::string lastUpdate;
    std::string note;
};

// Fills every text from the header (at least 146 bytes are read; missing bytes count as 0).
void BuildIdentityTexts(std::span<const std::uint8_t> header, IdentityTexts& texts);
// "ddmmyyL+" (flag set) or "ddmmyyL_"; empty when tag[3] is 0xFF.
[[nodiscard]] std::string FormatFirmwareTag(std::span<const std::uint8_t, 4> tag);
// "yymmdd-hhmmss-nnnXX"; "none SN" when s[7] is 0xFF.
[[nodiscard]] std::string FormatSerialNumber(std::span<const std::uint8_t, 8> serial);
// "(last update: dd.mm.yyyy-hh:mm:ss)" in local time; empty for -1 or a time with no local form.
[[nodiscard]] std::string FormatLastUpdate(std::int32_t time);
