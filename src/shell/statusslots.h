#pragma once
// The logic of the main window's status line: four status slots (labels that show a message for a while, by
// priority), the window caption, and the version and connection lines of the status bar. It works on the
// layer's labels and plain values; the main window's own functions (shell/status.h) hand them over.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "vcl/core.h"

class TLabel;
class TCGauge;
class TStatusBar;

inline constexpr int kStatusSlotCount = 4;
inline constexpr int kSlotMsPerTick = 50;  // a slot duration counts main-timer ticks as 50 ms each

// Priorities the callers use.
inline constexpr int kStatusPriorityAlways = -5;  // shown whatever is there, replaced by anything
inline constexpr int kStatusPriorityNormal = 10;
inline constexpr int kStatusPriorityPortSearch = 100;

struct StatusSlot
{
    TLabel* control = nullptr;        // none for slot 3
    int expiryTick = -1;              // hidden once the tick counter passed it; 0 or -1: never
    std::optional<std::string> text;  // own copy of the trilingual text last shown
    int priority = -1;                // -1: free
};

struct StatusSlots
{
    std::array<StatusSlot, kStatusSlotCount> slot;  // slot n at index n - 1
    TCGauge* progressGauge = nullptr;               // hidden together with slot 2
};

// Slot 1 the connection label, 2 the result label (with the progress gauge), 3 none, 4 the congruence label.
void SetupStatusSlots(StatusSlots& slots, TLabel* connection, TLabel* result, TLabel* congruence, TCGauge* progress);
// Every slot still showing its message shows it again in the current language.
void RepickStatusSlotTexts(StatusSlots& slots);

// Shows a trilingual text in a slot for durationMs (negative: until replaced; 0: keeps the slot's expiry), or
// hides the slot when text is empty. A priority of 0 or more below that of the message still shown is refused.
// Colours are framework colours; kColorUnchanged keeps one.
void SetStatusSlot(StatusSlots& slots, int tickCounter, int slotNumber, std::optional<std::string_view> text,
                   int durationMs, TColor fontColor, TColor backColor, int priority);

// Called every main-timer tick: hides the slots whose time is up.
void ExpireStatusSlots(StatusSlots& slots, int tickCounter);

// Text of the window caption.
[[nodiscard]] std::string BuildCaption(bool isFileShown, std::string_view fileName, bool isReleasedToLoader);

// "2024_11_26" from a build date in the form "Nov 26 2024" (also "Nov  6 2024").
[[nodiscard]] std::string CompileDateText(std::string_view buildDate);
// "2024_11_26" of a file time (100 ns units since 1601-01-01, UTC).
[[nodiscard]] std::string FileTimeDateText(std::int64_t fileTime);
// The greatest date text of the file times, or empty.
[[nodiscard]] std::string NewestDateText(std::span<const std::int64_t> fileTimes);

// The version line of the status bar: program, structure key, build date and the newest archive entry.
[[nodiscard]] std::string GetVersionText(std::string_view compileDate, std::string_view newestArchiveDate);

// What the connection line is made of.
struct ConnectionInfo
{
    int state = 0;  // 0 not connected, 1 the version label only, 2 identified unit
    std::string labelVersion;
    std::string unitText, dateText, timeText;
    std::string firmwareText, serialText, lastUpdateText, noteText;
};
[[nodiscard]] std::string GetConnectionText(const ConnectionInfo& info);
