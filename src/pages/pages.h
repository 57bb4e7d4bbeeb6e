#pragma once
// The page framework: the pages' five entry points for the rest of the program, the build at start, the
// dispatch by page number, and the re-read of image blocks that the unit changed by itself.
#include <string>
#include <string_view>
#include <vector>

#include "pages/commit.h"
#include "pages/pageform.h"
#include "pages/pagemodule.h"

// Makes PageControl1 on the form at (left, top), sized for the design page size, with the design-time sheets
// and their controls, and the page-independent controls beside it. Run once while the form is made; what could
// not be laid out is added to w.pageBuildProblems.
void BuildPageControl(TPageForm& w, int left, int top);
// Lays out one module's form description onto its sheet (or the form, for the page-independent one) and gives
// its edits, up-downs, check boxes, radio groups and lists the shared change handlers.
void LayOutPage(TPageForm& w, int page);
// Builds every page once at start: the run-time sheets at their page numbers, the binding tables, the builders.
void BuildAllPages(TPageForm& w);

// Copies the controls and maps of the current page into the settings image, then the page-independent ones.
void StoreCurrentPage(TPageForm& w);
// Shows the settings image on every page (all != 0) or on the current page only, then the page-independent part.
void ShowImageOnPages(TPageForm& w, int all);
// Commits a page edit: store, repair, show the current page, note the change (and program it when asked).
void RefreshPages(TPageForm& w);
// Shows the image on one page, current or not (a page whose layout follows another page's bytes).
void ShowPage(TPageForm& w, int page);
// Main-timer step of the current page, then of the page-independent controls.
void TickCurrentPage(TPageForm& w);
// The caption pass's part: every page refills its lists that hold language texts.
void RefreshPageCaptions(TPageForm& w);

// The image block (0..16) to read again for a changed-block mask (bit i: block i changed in the unit), or -1
// for none: the advance maps' block first while the advance page is shown, else the lowest flagged block.
[[nodiscard]] int RequestChangedBlock(const TPageForm& w, int mask);
// After image bytes [first, end) were replaced by the unit's: every map sheet that shows some of them takes the
// image's values (editors whose cells changed are redrawn), and pages that show such bytes elsewhere are shown.
// Nothing is committed or noted.
void CopyImageRangeToMaps(TPageForm& w, int first, int end);
// After the user edited a sheet of editor `editorId`: the owning page's map-changed routine, then the commit.
void RefreshPageOfSheet(TPageForm& w, int editorId);
// The page that makes the editor, or -1.
[[nodiscard]] int PageOfMapEditor(const TPageForm& w, int editorId);

// A message that a page's show raises (a model without an item, for example): shown at most once between two
// shows of every page, and never on top of another modal window.
void ShowPageMessage(TPageForm& w, int messageIndex, std::string_view text);
