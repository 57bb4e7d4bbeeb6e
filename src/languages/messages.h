#pragma once
// The main window's message table: texts shown by number (live display, message boxes, pages), refilled in
// the current language on every language change, beside the input-name table and the language scratch.
#include <array>
#include <span>
#include <string>
#include <string_view>

inline constexpr int kMessageCount = 234;
inline constexpr int kInputNameCount = 30;
inline constexpr int kLanguageCount = 3;

// Entry numbers that other modules quote.
inline constexpr int MSG_UNMATCHED_VERSION = 7;
inline constexpr int MSG_UNMATCHED_SUBVERSION = 8;
inline constexpr int MSG_OPEN_FILE_ERROR = 27;
inline constexpr int MSG_OLDER_IGN_VERSION = 33;
inline constexpr int MSG_UNMATCHED_IGN_VERSION = 34;
inline constexpr int MSG_POSITION = 48;  // written by the caption pass, not by the message fill
inline constexpr int MSG_WARNING = 157;
inline constexpr int MSG_ATTENTION = 158;

// One entry in the three languages (English, German, Czech), UTF-8.
struct MessageRow
{
    int index;
    std::array<std::string_view, kLanguageCount> text;
};

// Every entry that the message fill writes, by index; indexes not listed stay empty.
[[nodiscard]] std::span<const MessageRow> messageRows();

// The caption pass writes this into MSG_POSITION (the same word as the position page's tab).
inline constexpr std::string_view kPositionText = "###Position##Lage##Poloha";

struct LanguageTables
{
    std::array<std::string, kLanguageCount> scratch;  // working slots, one per language
    std::array<std::string, kMessageCount> messages;
    std::array<std::string, kInputNameCount> inputNames;  // 0..6 name multifunction inputs 1..7
};

// Fills every listed message entry with its text in `language` (0 English, 1 German, 2 Czech; any other
// value counts as English). Entry MSG_POSITION and the input names are left to the caption pass.
void FillMessageTable(LanguageTables& tables, int language);
