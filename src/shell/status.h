#pragma once
// Status slots, the caption, the version and connection lines and the message boxes of the main window.
#include <string>
#include <string_view>

#include "vcl/core.h"

class TMainForm;
class TLabel;
class TCGauge;

inline constexpr int kStatusSlots = 4;

struct StatusSlot {
    TLabel* control = nullptr;  // slot 3 has none
    int expiryTick = 0;         // 0 or -1: never expires
    std::string text;           // the trilingual text shown
    int priority = -1;          // -1: free
};

// Shows a trilingual text in slot 1..4 for `ms` milliseconds (-1: until replaced, 0: expiry unchanged) with
// the colours (kColorUnchanged keeps one); refused while the slot holds a text of higher priority.
void SetStatusSlot(TMainForm& w, int slot, std::string_view text, int ms, TColor fontColor, TColor backColor,
                   int priority);
void InitStatusSlots(TMainForm& w);
// Main-timer step: hides the slots whose time is up.
void ExpireStatusSlots(TMainForm& w);
void ReleaseStatusSlots(TMainForm& w);
void UpdateCaption(TMainForm& w);
void InitVersionInfo(TMainForm& w);
[[nodiscard]] std::string GetVersionText(const TMainForm& w);
[[nodiscard]] std::string GetConnectionText(const TMainForm& w);

int MsgBox(std::string_view text, std::string_view caption, unsigned type);
int MsgBoxError(std::string_view text, unsigned type);
