#pragma once
// The main window's state that the settings pages share with the rest of the program. The shell's main window
// (TMainForm) derives from it and adds the menus, the status line and the start-up; the page modules take this
// part of it, since they sit below the shell.
#include <array>
#include <functional>
#include <string>

#include "settings/helpers.h"
#include "settings/image.h"
#include "settings/repair.h"
#include "settings/undo.h"
#include "vcl/forms.h"

inline constexpr int kPageCount = 22;

// Page numbers of the page control; hidden pages keep theirs.
enum PageNumber : int {
    PAGE_BIKE = 0,
    PAGE_SYNCHRO = 1,
    PAGE_ADVANCE = 2,
    PAGE_INJECTION = 3,
    PAGE_POSITION = 4,
    PAGE_CORRECTIONS = 5,
    PAGE_INPUTS = 6,
    PAGE_SENSORS = 7,
    PAGE_SERVOS = 8,
    PAGE_IDLE = 9,
    PAGE_POWER_OUT = 10,
    PAGE_RACE = 11,
    PAGE_GEAR = 12,
    PAGE_N2O = 13,
    PAGE_TUNING = 14,
    PAGE_KNOCK = 15,
    PAGE_TRACKING = 16,
    PAGE_CRUISE = 17,
    PAGE_MONITOR = 18,
    PAGE_OBD = 19,
    PAGE_TEST = 20,
    PAGE_MAINTENANCE = 21,
};

// What the pages ask of the shell above them; filled by the main window at construction.
struct PageHooks {
    std::function<void()> noteImageChangeAndProgram;
};

class TPageForm : public TForm {
public:
    TPageForm();

    TPageControl* PageControl1 = nullptr;
    // Tab sheets by page number, filled by BuildAllPages.
    std::array<TTabSheet*, kPageCount> tabSheets{};
    // The design-time sheets in their order on the form, before the run-time sheets are inserted.
    std::vector<TTabSheet*> designSheets;

    ImageSet images;          // settings, device and reference images, change marks
    RepairState repairState;  // fields the last repair derived from the image
    LambdaColorTable lambdaColors{};  // one colour (0xRRGGBB) per mixture step, filled by the lambda page
    int currentPage = 0;
    int settingGuard = 0;     // while not 0, control change handlers do nothing
    int pendingChangeTick = 0;  // due tick of a delayed control change, 0 when none
    int tickCounter = 0;      // main-timer ticks
    int initialised = 0;      // 1 once the start-up has finished

    PageHooks pageHooks;
};

// Builds every settings page once at start: enters the design-time sheets into the sheet table and inserts the
// run-time sheets at their page numbers.
void BuildAllPages(TPageForm& w);
// Shows the settings image on every page (all != 0) or on the current page only.
void ShowImageOnPages(TPageForm& w, int all);
// Copies the controls of the current page into the settings image.
void StoreCurrentPage(TPageForm& w);
// Commits a page edit: store, repair, show the current page, note the change.
void RefreshPages(TPageForm& w);
// Drops a pending delayed change and commits at once.
void CommitChangeNow(TPageForm& w);
// Main-timer step: commits a delayed control change whose tick has come.
void CommitDueChange(TPageForm& w);
// Main-timer step of the current page.
void TickCurrentPage(TPageForm& w);
// Handler of the page control: the chosen page becomes current and is shown.
void PageControlChanged(TPageForm& w);
