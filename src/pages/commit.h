#pragma once
// The shared change handlers of the page controls and the commit of a change: a control's change is noted as
// pending and committed by storing the whole current page (RefreshPages), at once or, for up-down clicks, a few
// main-timer ticks after the last click on the same up-down.
#include <span>

#include "pages/pageform.h"
#include "vcl/formlayout.h"

// The single entry for every change: kind kChangeNow commits at once, kChangeUpDownClick after the delay.
void NotePendingChange(TPageForm& w, TObject* control, int kind);
// Main-timer step: commits a pending change whose due tick has come.
void CommitDueChange(TPageForm& w);
// Commits at once, taking any pending delayed change with it.
void CommitChangeNow(TPageForm& w);

// The page control's change: the shown page becomes current and is shown (a change still pending on the page
// left is committed first, so that it is stored with its own page).
void PageControl1Change(TPageForm& w);
// Enter in an edit: swallowed, the focus moves on, the change is committed.
void FormKeyPress(TPageForm& w, TObject* sender, char& key);
void FormKeyPressW(TPageForm& w, TObject* sender, char& key);
// Leaving a visible edit commits.
void FormEditLooseFocus(TPageForm& w, TObject* sender);
// An up-down arrow: committed after the delay.
void FormUpDownClick(TPageForm& w, TObject* sender);
// Radio groups, lists and check boxes: committed at once.
void FormRadioGroupClick(TPageForm& w, TObject* sender);
void FormCheckBoxClick(TPageForm& w, TObject* sender);
// The decimal pair: the up-down about to move shows its new value in its edit; a typed value moves the up-down.
void UpDnDeciChg(TPageForm& w, TObject* sender, bool& allowChange, int newValue);
void EditDeciChg(TPageForm& w, TObject* sender);
// The number a decimal edit's text holds (comma or point; blanks before it and anything after it ignored).
[[nodiscard]] bool ParseDeciText(std::string_view text, double& value);

// Gives the controls a layout table made the shared handlers by their class.
void WireSharedHandlers(TPageForm& w, std::span<const ControlRow> rows);
