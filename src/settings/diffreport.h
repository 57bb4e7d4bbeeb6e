#pragma once
// The difference report: parameter by parameter, where the settings image differs from a second image (another
// settings file or the unit's image), named by the parameter layout text "rs309.map". Plain text, no window: the
// shell picks the file, writes the text and shows the messages.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/image.h"

// Shown (caption "Error", stop icon) when the archive has no usable layout; the report file then stays empty.
inline constexpr std::string_view kMapMissingText = "MAP is missing";
// Where the archive keeps the layout.
inline constexpr std::string_view kLayoutMapFolder = "\\MAP_309";
inline constexpr std::string_view kLayoutMapName = "rs309.map";

// One entry line of the layout text as the report reads it.
struct LayoutMapEntry {
    std::string name;
    int offset = 0;
    bool isWord = false;  // the type field starts with 'w'
    int length = 0;       // bytes
};

// The entry lines after the header (the fifth "======" line end), in file order; lines longer than 148
// characters are left out. Nothing when the text has no complete header, which the report treats as a
// missing layout rather than as "no differences".
[[nodiscard]] std::optional<std::vector<LayoutMapEntry>> ReadLayoutMapEntries(std::string_view layoutText);

struct DifferenceReportText {
    bool isLayoutMissing = false;  // show kMapMissingText; write the file empty
    std::string text;              // 8-bit, CR LF line ends; empty when the images agree
};

// The report of `first` (the settings image) against `second`. `layoutText` is the "rs309.map" bytes, or
// nothing when the archive lacks them.
[[nodiscard]] DifferenceReportText BuildDifferenceReport(const Image& first, const Image& second,
                                                         std::optional<std::string_view> layoutText);

// The report file beside a compared settings file: its extension (after the last '.' of the last path part,
// '/' or '\' separated) becomes "-dif.txt"; a name without extension gets "-dif.txt" appended.
// "C:\a\b.ign" -> "C:\a\b-dif.txt", "/home/x/b" -> "/home/x/b-dif.txt".
[[nodiscard]] std::string DifferenceReportFileName(std::string_view comparedFileName);
