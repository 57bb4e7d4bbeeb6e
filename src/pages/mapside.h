#pragma once
// The main window's side of its map editors: the factory through which the pages make them, the live values and
// guide values handed to them on every main-timer tick, the way back from an edit to the page that owns the map,
// the Tools menu's step and interpolation, and the injection editor's copy and re-sampling of its injector maps.
#include <string_view>

#include "pages/pageform.h"

class TControl;
struct LogPage;

inline constexpr std::string_view kTooManyTabsText = "Too many tabs";

// Image bytes behind the map editors' guide values and the modes they follow.
inline constexpr int kImageLimiter = 2660;           // limiter / 100
inline constexpr int kImageInjectionLimiter = 2661;  // the injection maps' limiter / 100
inline constexpr int kImageBaseAdvance = 3095;
inline constexpr int kImageInjectionMode = 3817;  // 0 normal, 1 coupled, 2 one map for all injectors
inline constexpr int kImageInjectionCount1 = 3822;  // RPM point counts of injector maps 1 to 4 (3822..3825)
inline constexpr int kImageStartLimiter = 4628;     // start limiter / 100
inline constexpr int kImageLambdaNotation = 5029;   // 1: maps show lambda x 100, else AFR x 10

// The injector maps are the injection editor's first four sheets; its fifth and sixth follow lambda 1 too.
inline constexpr int kInjectorSheets = 4;
inline constexpr int kInjectorPoints = 20, kInjectorRows = 10;

// A map editor of the given size (0: 500 x 200) and flag word on `parent`, owned by the window, with its pictures,
// clipboard format, follow switch and guide values; none, after a message box, when 75 exist already.
TTab* CreateMapEditor(TPageForm& w, int id, int width, int height, int flagWord, TControl* parent);
// The editor's guide values from the image: base advance, limiter (the injection maps' when the first sheet's data
// is "INJ"), start limiter.
void LoadGuideValues(const TPageForm& w, TTab& editor);
// Main-timer step: every editor renews its points' reference copies, takes the guide values when asked, the live
// values of the last frame (w.liveValues) and then its tick; its Monitor Lambda button follows the live data.
void FeedLiveValuesToMapEditors(TPageForm& w, bool hasLiveData);
// An editor's change was committed (or a sheet tab clicked): its guide values go into the image, then the page that
// owns the map takes the sheet and commits.
void NotifyMapEdited(TPageForm& w, TTab& editor);
void StoreGuideValues(TPageForm& w, TTab& editor);
// Tools > Interpolate and Tools > Plus / Minus: on the advance or injection page that page's editor takes the
// focus first; then the focused editor interpolates or steps its selection (or its operating point).
void InterpolateFocusedTab(TPageForm& w);
void StepFocusedTab(TPageForm& w, int step);
// The injection editor's maps 2 to 4 become copies of map 1 (its 20 RPM points and 10 x 20 values), or keep their
// own values re-sampled onto map 1's points; both give them map 1's RPM point count in the image too.
void CopyInjectionSheets(TPageForm& w);
void AlignInjectionSheets(TPageForm& w);
// The live recording's page record: each editor's id and current sheet, in creation order; and, played back, the
// sheets it names made current.
void FillEditorSheets(const TPageForm& w, LogPage& page);
void SelectRecordedSheets(TPageForm& w, const LogPage& page);
