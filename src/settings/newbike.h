#pragma once
// New settings for a motorcycle model: the model's settings file from the archive folder NEW_309, completed by
// fixed defaults that the model files may lack; the per-model defaults, the lambda sensor and synchronisation
// defaults, and the page import flags that restrict a parse to one settings page.
#include <span>
#include <string>
#include <string_view>

#include "settings/image.h"
#include "settings/impet.h"
#include "settings/keytable.h"
#include "settings/repair.h"

// One item of the bike list: the model number (stored in byte 2500) and its display name. Two names are
// trilingual texts ("###English##German##Czech").
struct BikeModel
{
    int tag;
    std::string_view displayName;
};
// The bike list in the order the bike page shows it (the separator item is the page's own).
[[nodiscard]] std::span<const BikeModel> BikeModels();
// The English display name of a model, from which its archive file name is made; empty when there is no such model.
[[nodiscard]] std::string_view BikeModelEnglishName(int model);

// Archive file name (without ".ign") of a display name: runs of blanks become one, leading and trailing blanks
// go, and a number after a wide gap is put in brackets: "Honda CBR 600 F      01-02" -> "Honda CBR 600 F (01-02)".
[[nodiscard]] std::string ModelFileName(std::string_view displayName);

inline constexpr std::string_view kNewSettingsFolder = "\\NEW_309";

// Settings pages as the main window numbers them: -1 all, 0 bike ... 21 maintenance (15 and 18 have no flag).
struct NewBikePage
{
    int page = -1;
    int injectionSheet = 0;  // the sheet the injection page's map editor shows (0-based)
    int servoSheet = 0;      // the sheet the servo page's map editor shows (0-based)
};

// The flags of a parse for one page. Injection sheets 1 to 3 count only while INJ_MODE_1234 (b3817) is 0.
[[nodiscard]] PageImportFlags SetPageImportFlags(const Image& image, const NewBikePage& page);

// Bytes 2503-2507 for model m; SUCTION_THROAT follows the model in byte 2500.
void SetBikeDefaults(Image& image, int model);
void SetLambdaSensorDefaults(Image& image, int wideBandFlag);
// Synchronisation defaults for the trigger type in SYNCHRO1 (b2681).
void SetSyncDefaults(Image& image);

struct NewBikeResult
{
    bool done = false;
    std::string error;   // "NEW for Motocycle ... is missing": the caller shows it in an error box
    RepairState repair;  // of the repaired image, for the main window
};

// New settings for the model in byte 2500, for all pages or for one. For one page only the fields of that
// page's keys change: the whole procedure runs on a copy and that page's fields are copied back. When the
// model or its file is missing the image stays as it was.
NewBikeResult NewBikeSettings(Image& image, CImpet& impet, const NewBikePage& page = {});

// The settings text of a model's file as the program's own writer makes it from the defaults alone (every
// default of a new setting, the model number, repaired). This is what resources/impet/NEW_309 holds: a
// working start for each model, not a calibration of the real motorcycle.
[[nodiscard]] std::string DefaultModelSettingsText(int model);
