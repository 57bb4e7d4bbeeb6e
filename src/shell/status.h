#pragma once
// The main window's status line, caption and message boxes: thin wrappers that hand the window's fields to
// the status logic (shell/statusslots.h).
#include <string>
#include <string_view>

#include "shell/statusslots.h"
#include "vcl/core.h"

class TMainForm;

// Shows a trilingual text in slot 1..4 for `ms` milliseconds (-1: until replaced, 0: expiry unchanged);
// an empty text hides the slot.
void SetStatusSlot(TMainForm& w, int slot, std::string_view text, int ms, TColor fontColor, TColor backColor,
                   int priority);
void InitStatusSlots(TMainForm& w);
void ExpireStatusSlots(TMainForm& w);
void ReleaseStatusSlots(TMainForm& w);
void UpdateCaption(TMainForm& w);
void InitVersionInfo(TMainForm& w);
[[nodiscard]] std::string GetVersionText(const TMainForm& w);
[[nodiscard]] std::string GetConnectionText(const TMainForm& w);

int MsgBox(std::string_view text, std::string_view caption, unsigned type);
int MsgBoxError(std::string_view text, unsigned type);
