#pragma once
// Batch tools over all motorcycle models, for the people who maintain the archive: "Save All New" writes the
// new settings of every model as a settings file into ./new_ign/, and "Compare All New" compares those files
// line by line with the ones of an earlier run kept in ./new_ign_old/. Relative paths are from the current folder.
#include <filesystem>
#include <string>
#include <vector>

#include "os/files.h"
#include "settings/impet.h"
#include "settings/settingswriter.h"

inline constexpr std::string_view kNewIgnFolder = "./new_ign";
inline constexpr std::string_view kNewIgnOldFolder = "./new_ign_old";
inline constexpr std::string_view kCompareResultName = "compare_all_new.txt";

struct SaveAllNewResult
{
    int written = 0;
    std::string folderError;               // the folder could not be made: nothing was written
    std::vector<std::string> modelErrors;  // models whose new settings could not be made (no file of zeros)
    std::vector<std::string> writeErrors;  // files that could not be written, each error naming its file
};

// Writes "<folder>/<model file name>.ign" for every model, each from new settings of a zeroed image with only
// the model number set. Works on images of its own: the caller's image, page and undo state are not touched.
// The folder is made first (one level); when that fails no model is tried. Every file is replaced only once it
// is whole, so a failed write (the caller shows "Open file error!" in the current language) leaves that file
// as an earlier run wrote it, and the batch goes on with the next model.
SaveAllNewResult SaveAllNew(CImpet& impet, const std::filesystem::path& folder, const SettingsFileTexts& texts);

// Writes "<newFolder>/compare_all_new.txt": per model a name line, then every line that differs between the
// old and the new file (the old line with the characters both share blanked). Lines of the "EXE" build line
// and lines past the shorter file are not reported. The error names the result file when it cannot be written.
[[nodiscard]] os::FileResult CompareAllNew(const std::filesystem::path& newFolder,
                                           const std::filesystem::path& oldFolder);

// The message shown after a comparison.
[[nodiscard]] std::string CompareAllNewMessage(const std::filesystem::path& newFolder);
