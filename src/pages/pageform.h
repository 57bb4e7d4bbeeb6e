#pragma once
// The main window's state that the settings pages share with the rest of the program. The shell's main window
// (TMainForm) derives from it and adds the menus, the status line and the start-up; the page modules take this
// part of it, since they sit below the shell.
#include <array>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "link/livedata.h"
#include "link/identity.h"
#include "settings/helpers.h"
#include "settings/image.h"
#include "settings/repair.h"
#include "settings/undo.h"
#include "vcl/forms.h"

class TImage;
class TTab;
struct LeaderMemory;
struct PageModule;

inline constexpr int kPageCount = 22;
// Index of the page-independent controls' module in the module table, after the 22 pages.
inline constexpr int kIndependentPage = kPageCount;
// Map editor ids run from 0 to 64.
inline constexpr int kMapEditorIds = 65;
// Every page is laid out for a sheet of this client size; page contents do not follow a window resize.
inline constexpr int kDesignPageWidth = 860;
inline constexpr int kDesignPageHeight = 600;
// The window's width for the page control and the column of live values beside it.
inline constexpr int kDesignFormWidth = 1128;

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

// Kinds of a pending control change: committed at once, or a few ticks after the last up-down click.
inline constexpr int kChangeNow = 0;
inline constexpr int kChangeUpDownClick = 1;
inline constexpr int kUpDownCommitTicks = 5;

// What the pages ask of the shell above them; filled by the main window at construction. Any may stay empty.
struct PageHooks
{
    std::function<void()> noteImageChangeAndProgram;
    std::function<void()> showLiveData;   // the live display, redrawn with the settings just stored
    std::function<void()> logPageRecord;  // a running live recording notes the page shown
    // LabelVersion is shown while a serial port is in use or the link is switched off.
    std::function<bool()> versionLabelShown;
    // New settings of the model in the image for every page (page -1) or one page, after asking (mode 0: Yes,
    // No or Cancel; mode 1: OK or Cancel). 1 when the user cancelled or the choice was refused, else 0.
    std::function<int(int page, int mode)> newSettings;
    std::function<void()> applyLanguage;
    std::function<std::string(int index)> message;  // the message table's text in the current language
    // The unit's identity texts as the link keeps them ("Unit = --" and so on until a unit is identified).
    std::function<const IdentityTexts&()> unitIdentity;
    // Whether a unit answers live requests now (connected and checked, not a recording played back).
    std::function<bool()> unitAnswers;
    // Puts the check mark of a main-menu item (by name) on or off.
    std::function<void(std::string_view item, bool checked)> checkMenuItem;
    // Whether live data is present (a unit's frames, or a recording played back).
    std::function<bool()> hasLiveData;
};

// The map editors as the main window keeps them: at most 75, in creation order, destroyed with the window.
inline constexpr int kMaxMapEditors = 75;
struct TabList
{
    std::vector<std::unique_ptr<TTab>> editors;
    // Bit 0: the image bytes behind the editors' guide values may have changed (the factory, pages, New settings,
    // the injection modes); bit 1: an editor changed a guide value. The next live-value pass reloads them.
    int guideRefresh = 0;
    // Raised by the factory and by every show of the image; never lowered: from the first editor on, every live
    // pass renews the editors' reference copies of their points.
    bool axisRefresh = false;
    // Whether the tables scroll to show the live operating point; shared by all editors, not saved.
    int followSwitch = 1;
    // Where an editor's developer faults go (once each); the window sends them to the error log.
    std::function<void(std::string_view)> logFault;
};

class TPageForm : public TForm
{
public:
    TPageForm();
    ~TPageForm() override;

    TPageControl* PageControl1 = nullptr;
    // Tab sheets by page number, filled by BuildAllPages.
    std::array<TTabSheet*, kPageCount> tabSheets{};
    // The module of each page by page number, and of the page-independent controls last. Tests may put a module
    // of their own into a slot before the pages are built.
    std::array<const PageModule*, kPageCount + 1> pageModules{};
    // The controls of each module's binding table, row by row, found by name when the pages are built.
    std::array<std::vector<TControl*>, kPageCount + 1> boundControls;

    // Controls beside the page control that belong to no page.
    TCheckBox* CheckBoxProgHned = nullptr;
    TLabel* LabelVersion = nullptr;
    TCGauge* CGaugeLambda = nullptr;
    TImage* ImageLambdaColor = nullptr;
    TLabel* LabelLambdaBlue = nullptr;
    TLabel* LabelLambdaGreen = nullptr;
    TLabel* LabelLambdaRed = nullptr;
    TLabel* LabelSnimacCkps = nullptr;
    TLabel* LabelSnimacCmps = nullptr;
    TLabel* LabelEeDataErr = nullptr;
    TCheckBox* CheckBoxExtMonitor = nullptr;
    // Test-value labels LabelTest1..12, which the live display writes.
    std::array<TLabel*, 12> testLabels{};
    // Monitor page labels: LabelAdvance1..4 (advance per cylinder), then LabelMonPOut1..12 (power outputs).
    std::array<TLabel*, 16> monitorLabels{};
    // The output tests asked for since the last live request, which carries them to the unit once (request
    // bytes 99..102) and clears them.
    std::array<std::uint8_t, 4> testCommands{};

    // Map editors by id (null where none was made), and the main window's side of them (pages/mapside.h): the
    // list that owns them, the request that they take the image's guide values, the follow switch.
    std::array<TTab*, kMapEditorIds> mapEditors{};
    TabList tabList;
    // The first injector map's values and counts as the coupled maps last took them.
    std::unique_ptr<LeaderMemory> injectionMemory;
    // The decoded copy of the last live frame (the live display keeps it).
    LiveValues liveValues;

    ImageSet images;                  // settings, device and reference images, change marks
    RepairState repairState;          // fields the last repair derived from the image
    LambdaColorTable lambdaColors{};  // one colour (0xRRGGBB) per mixture step, filled by the lambda scale
    // What the scale picture was last painted for (thresholds, notation, size): the same picture is not painted
    // again on every live frame.
    std::array<int, 7> lambdaScalePainted{-1};
    int currentPage = 0;
    int settingGuard = 0;               // while not 0, control change handlers and most page stores do nothing
    TObject* pendingControl = nullptr;  // the control whose change waits for its commit
    int pendingKind = kChangeNow;
    int dueTick = 0;
    int tickCounter = 0;  // main-timer ticks
    int initialised = 0;  // 1 once the start-up has finished
    // Page messages shown since the image was last shown on every page: each at most once per image.
    std::set<int> pageMessagesShown;
    // Rows of the form descriptions and binding tables that could not be made (empty in a sound build).
    std::vector<std::string> pageBuildProblems;

    PageHooks pageHooks;
};

// Raises the setting-controls guard while the program itself sets controls, and puts back what was there before,
// so that a show inside another show does not lower the outer one's guard.
class SettingGuard final
{
public:
    explicit SettingGuard(TPageForm& w) : m_w(w), m_previous(w.settingGuard) { w.settingGuard = 1; }
    ~SettingGuard() { m_w.settingGuard = m_previous; }
    SettingGuard(const SettingGuard&) = delete;
    SettingGuard& operator=(const SettingGuard&) = delete;

private:
    TPageForm& m_w;
    int m_previous;
};
