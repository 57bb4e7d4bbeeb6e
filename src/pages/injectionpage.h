#pragma once
// The injection page's functions that the menus, other pages and the tests call.
#include <string_view>

#include "pages/pageform.h"

// The injection editor's sheets.
inline constexpr int kInjSheetCompTp = 4;
inline constexpr int kInjSheetB = 5;
inline constexpr int kInjSheetIap = 6;
inline constexpr int kInjSheetCompIap = 7;

void ShowInjectionPage(TPageForm& w);
void StoreInjectionPage(TPageForm& w);
// Visibility of the page's controls by the sheet shown, the compensation range, and what the injection mode does to
// the injector sheets (hidden sheets, the first sheet's title, the followers' link and edit rights, the mode
// picture, the menu's check marks).
void InjectionPageLayout(TPageForm& w);
// The point counts of every table from the image (a count of 0 or above 20 counts as 20); the RPM points beyond
// a table's count continue its last point in steps of 100 rpm, and its values beyond the count repeat the last
// used column.
void PadInjectionTables(TPageForm& w);
// Flag bit 0: the throttle compensation table, bit 1: the pressure one. Both end with a show and a commit.
void ResetInjectionCorrections(TPageForm& w, int flags);
// The compensation percentages multiplied into the injection maps (the pressure map only while the compensation
// does not correct the resulting time), then reset to 100.
void MoveCorrectionsToMaps(TPageForm& w, int flags);
// The mode picture's text in the current mode for the channel count; empty where the picture is hidden.
[[nodiscard]] std::string_view InjectionModeText(int mode, int channels);
