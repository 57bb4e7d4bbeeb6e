#pragma once
// Batch tools over all motorcycle models, for the people who maintain the archive: "Save All New" writes the
// new settings of every model as a settings file into ./new_ign/, and "Compare All New" compares those files
// line by line with the ones of an earlier run kept in ./new_ign_old/. Relative paths are from the current folder.
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "settings/impet.h"
#include "settings/settingswriter.h"

inline constexpr std::string_view kNewIgnFolder = "./new_ign";
inline constexpr std::string_view kNewIgnOldFolder = "./new_ign_old";
inline constexpr std::string_view kCompareResultName = "compare_all_new.txt";

struct SaveAllNewResult
{
    int written = 0;
    std::vector<std::string> errors;  // one per model that got no file: a missing archive file or a failed write
};

// Writes "<folder>/<model file name>.ign" for every model, each from new settings of a zeroed image with only
// the model number set. Works on images of its own: the caller's image, page and undo state are not touched.
// A model whose new settings fail is skipped (no file of zeros). `onWriteError` gets the file of a failed write
// (the caller shows "Open file error!" in the current language) and the batch goes on.
SaveAllNewResult SaveAllNew(CImpet& impet, const std::filesystem::path& folder, const SettingsFileTexts& texts,
                            const std::function<void(const std::filesystem::path& file)>& onWriteError = {});

// Writes "<newFolder>/compare_all_new.txt": per model a name line, then every line that differs between the
// old and the new file (the old line with the characters both share blanked). Lines of the "EXE" build line
// and lines past the shorter file are not reported. False when the result file cannot be written.
bool CompareAllNew(const std::filesystem::path& newFolder, const std::filesystem::path& oldFolder);

// The message shown after a comparison.
[[nodiscard]] std::string CompareAllNewMessage(const std::filesystem::path& newFolder);
