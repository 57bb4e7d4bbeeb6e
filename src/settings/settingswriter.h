#pragma once
// The settings file writer: the image as ".ign" text, Windows-1250 with CR LF line ends, numbers in the C locale.
#include <filesystem>
#include <string>

#include "os/files.h"
#include "settings/image.h"

// What the file carries besides the image, taken from the main window by the caller. Texts are UTF-8; the writer
// converts them to Windows-1250 ('?' for characters without a byte) and turns line ends inside them into blanks,
// so that no text can start a line of its own.
struct SettingsFileTexts {
    // Captions of the version labels LabelVerze2, LabelVerze3 and LabelVerze1 (the unit program's date, time and
    // version), written in this order on the "HEX" line.
    std::string versionDate;
    std::string versionTime;
    std::string versionName;
    // The unit identity texts of the "HW/FW" line. `key` is the unit key text ("RSKEY=309", or the unmatched
    // version with both keys).
    std::string firmware;
    std::string key;
    std::string serialNumber;
    std::string lastUpdate;
    std::string unit;
    // The "EXE" line: "Nov 26 2024" and "hh:mm:ss"; empty means this program's build date and time.
    std::string buildDate;
    std::string buildTime;
};

// The whole settings text. The notes are those of the image's notes area. With injection mode 2 (b3817 = 2)
// tables 2A to 4A of the image become copies of 1A first, as the unit expects in that mode.
[[nodiscard]] std::string WriteSettingsText(Image& image, const SettingsFileTexts& texts);

// Writes the text to `path` through a temporary file and a rename, so a failed write leaves the old file. The
// result says whether the file was saved; when not, `error` names the file and the cause.
[[nodiscard]] os::FileResult SaveSettingsFile(const std::filesystem::path& path, Image& image,
                                              const SettingsFileTexts& texts);
