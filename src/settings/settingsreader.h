#pragma once
// The settings file reader: ".ign" text into the settings image, for all pages or for one.
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "settings/image.h"
#include "settings/keytable.h"

// Messages of a parse; the caller shows them in the current language.
enum class ReaderMessage {
    OlderVersion,      // "Older version of *.ign file! ..." (message-table text 33)
    UnmatchedVersion,  // "Unmatched version of *.ign file!" (text 34); number: the version read
    UnsupportedModel,  // "Motocycle #%i is not supported" in an error box; number: the model read
};

// What a parse needs from the layers above. Every member may be empty.
struct ReaderHooks {
    // Empty: no messages (the silent first pass of Open, and new settings for a model).
    std::function<void(ReaderMessage message, int number)> showMessage;
    // The lambda sensor characteristic for the sensor mode just read (b4060), before the file's own rows.
    std::function<void(Image& image, int sensorMode)> setLambdaSensorDefaults;
    // For files below version 305 without their own synchronisation: the model's new settings for the
    // synchronisation page. Runs after this parse has ended; its own parse cannot change this result.
    std::function<void(Image& image)> newSynchronisationSettings;
};

struct ParseResult {
    int version = 0;               // structure version of this text; 0: not a settings text, or refused
    bool modelRead = false;        // BIKE was stored
    bool unsupportedModel = false;  // BIKE named a model this program does not know: nothing was read
    [[nodiscard]] bool accepted() const { return version != 0 && !unsupportedModel; }
};

// Parses a settings text into the image. A text that is not accepted leaves the image unchanged: a text without
// an accepted version, and a file for a model this program does not know, whose settings would belong to no
// model (the message says so; the file is not taken as opened).
[[nodiscard]] ParseResult ParseSettingsText(Image& image, std::string_view text,
                                            PageImportFlags pages = PageImportFlags::all(),
                                            const ReaderHooks& hooks = {});

inline constexpr std::size_t kMaxSettingsFileBytes = 10485760;

struct LoadResult {
    ParseResult parse;
    std::string error;  // why the file was not read; empty when it was
    [[nodiscard]] bool accepted() const { return parse.accepted(); }
};

// Reads a whole file of at most 10 MB and parses it. A file that cannot be read is not accepted and leaves the
// image unchanged; `error` says why.
[[nodiscard]] LoadResult LoadSettingsFile(Image& image, const std::filesystem::path& path,
                                          PageImportFlags pages = PageImportFlags::all(),
                                          const ReaderHooks& hooks = {});
