#pragma once
// The monitor-set file (".qem", and monitor.ini in the same layout): the external monitor's window place and size,
// the set's design size and every widget of the layout with its texts and pictures. All numbers are 32-bit
// little-endian words: a 24-byte header, one 108-byte record per widget in drawing order, then the text blocks
// (index, length, the Windows-1250 bytes and a zero) and the picture blocks (index, a BMP picture).
//
// The reader checks every count and length against the file before it builds anything, and builds the whole set
// apart from the window: a damaged file changes nothing.
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "monitors/widgets.h"

inline constexpr std::int32_t kMonSetMagic = 0x1001;
inline constexpr int kMonSetHeaderBytes = 24;
inline constexpr int kMonRecordWords = 27;
inline constexpr int kMonRecordBytes = 4 * kMonRecordWords;
inline constexpr int kMonSetMaxTexts = 256;
inline constexpr int kMonSetMaxPictures = 256;

// Results of reading and writing a set.
inline constexpr int kSetOk = 0;
inline constexpr int kSetOpenFailed = 1;  // also: creating or writing the file failed
inline constexpr int kSetBadFormat = 2;   // wrong magic, or counts and sizes the file cannot hold
inline constexpr int kSetBadText = 3;     // a text block that does not match its record or runs past the end
inline constexpr int kSetBadPicture = 4;  // a picture block that does not match its record or cannot be read

// The window's place and outer size, and the set's design size (0 = not stored).
struct MonSetPlace
{
    int left = 0, top = 0, outerWidth = 0, outerHeight = 0;
    int designWidth = 0, designHeight = 0;
};

using MonItemRecord = std::array<std::int32_t, kMonRecordWords>;

// The common fields of a widget into and out of its record (the kind-specific words are the set's business).
void CopyToRecord(const CMyComponent& widget, MonItemRecord& record);
void CopyFromRecord(CMyComponent& widget, const MonItemRecord& record);

struct ParsedSet
{
    int result = kSetOk;
    std::string detail;  // what was wrong, for the error log
    MonSetPlace place;
    std::vector<std::unique_ptr<CMyComponent>> widgets;  // bound to their variables, in drawing order
};

[[nodiscard]] ParsedSet ParseMonitorSet(std::span<const std::uint8_t> bytes);
// The file's bytes for the group's widgets (at most 256 texts and 256 pictures; the rest are left out).
[[nodiscard]] std::string SerializeMonitorSet(const MonSetPlace& place, const CMyGroup& group);
// Program source text that rebuilds the layout with the widgets' own field names; CR LF line ends.
[[nodiscard]] std::string ExportSetSource(const MonSetPlace& place, const CMyGroup& group);
