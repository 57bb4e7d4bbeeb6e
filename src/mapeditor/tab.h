#pragma once
// The map editor control (`TTab`): up to eight sheets of one map shown as a table, a 2-D or a 3-D graph or an on/off
// grid, with its own side bar of buttons, step buttons, scroll bars, sheet tabs and popup menu, all drawn into a
// back buffer. The main window creates it, the pages add sheets and axes, the main timer drives it through Tick,
// and every edit leaves it through the hooks (the page copies the sheet arrays back into the image).
//
// The operations are spread over several files, one theme each: tab.cpp (construction, paint, message entry),
// tabinput.cpp (hover, buttons, wheel, keys, tick), tablayout.cpp (side bar, layout, hit tables, redraw),
// tabsheet.cpp (sheet interface, change notification, operating point, in-place edit, focus, scrolling, fill),
// tabcommand.cpp (commands, view switch, steps), tabclip.cpp (clipboard commands) and one file per view
// (tableview.cpp, graph2d.cpp, graph3d.cpp, checkgrid.cpp; the graphs draw their many small shapes through
// raster.h). The main window's side of the editors (factory, live values, guide values) is pages/mapside.h.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "mapeditor/clipboard.h"
#include "mapeditor/sel.h"
#include "mapeditor/sheet.h"
#include "mapeditor/tabbutton.h"
#include "mapeditor/tabgraph.h"
#include "vcl/customcontrol.h"
#include "vcl/graphics.h"
#include "vcl/menus.h"

// Flag word bits.
inline constexpr int kTabSideBar = 0x1;
inline constexpr int kTabSideBarEmpty = 0x2;  // with kTabSideBar: keep its width, place no buttons
inline constexpr int kTabTableView = 0x10;
inline constexpr int kTabGraph2D = 0x20;
inline constexpr int kTabGraph3D = 0x40;
inline constexpr int kTabTitleStrip = 0x100;
inline constexpr int kTabPositionButtons = 0x1000;
inline constexpr int kTabCheckGrid = 0x2000;

// Views (requested and drawn).
inline constexpr int kViewTable = 1;
inline constexpr int kView2D = 2;
inline constexpr int kView3D = 4;
inline constexpr int kViewCheck = 8;

// Dirty flags.
inline constexpr int kDirtyRedraw = 1;
inline constexpr int kDirtyRecompute = 2;
inline constexpr int kDirtyCells = 4;  // only cell values inside cellDamage changed

// Change kinds and keys of NotifyChange.
inline constexpr int kChangedX = 1;
inline constexpr int kChangedY = 2;
inline constexpr int kChangedData = 4;
inline constexpr int kChangeBegin = 0x8000000;
inline constexpr int kChangeEnd = 0x9000000;

// Command codes (also the indexes of the side buttons that run them).
enum TabCommand : int {
    kCmdCopy = 0,
    kCmdCopyTable = 1,
    kCmdPaste = 2,
    kCmdPlus = 3,
    kCmdMinus = 4,
    kCmdViewTable = 5,
    kCmdView2D = 6,
    kCmdView3D = 7,
    kCmdOnlyX = 13,
    kCmdOnlyY = 14,
    kCmdBothXY = 15,
    kCmdTop = 16,
    kCmdIso1 = 17,
    kCmdIso2 = 18,
    kCmdEnable = 19,
    kCmdBeginning = 20,
    kCmdCentre = 21,
    kCmdEnd = 22,
    kCmdAddColumn = 23,
    kCmdRemoveColumn = 24,
    kCmdLambda = 25,
    kCmdCopyGraph = 40,
    kCmdInterpolate = 101,
    kCmdHorizontalBar = 1001,
    kCmdVerticalBar = 1002,
};

inline constexpr int kMaxSheets = 8;
inline constexpr int kSideButtons = 30;
inline constexpr int kEditCharsMax = 16;

// The pictures of a map editor, in the order of kTabBitmapNames.
enum TabBitmap : int {
    kBmpCopy,
    kBmpPaste,
    kBmpCopy0,
    kBmpPaste0,
    kBmpCopySheet,
    kBmpPasteSheet,
    kBmpTable,
    kBmp2D,
    kBmp3D,
    kBmpCheck0,
    kBmpCheck1,
    kBmpLambda,
    kBmpLambda0,
    kBmpLambdaActive,
    kBmpViewSwitch,
    kBmpGraphSwitch,
    kBmpProportional,
    kBmpNotProportional,
    kTabBitmapCount,
};
inline constexpr std::array<std::string_view, kTabBitmapCount> kTabBitmapNames = {
    "CLBRD_COPY", "CLBRD_PAST", "CLBRD_COPY0", "CLBRD_PAST0", "CLBRD_COPYSHEET", "CLBRD_PASTSHEET", "BTTAB",
    "BT2D",       "BT3D",       "BTCHK0",      "BTCHK1",      "LAMBDA",          "LAMBDA0",         "LAMBDA_ACT",
    "BT_G",       "BT_T",       "BT_P",        "BT_nP"};

// The colour set of a map editor (index 1..12; 0 unused).
inline constexpr std::array<TColor, 13> kTabColours = {0,        0xFFFFFF, 0xC0C0C0, 0xE4D6D4, 0xF4EEEC,
                                                       0xFF8844, 0xC0C0C0, 0x808080, 0x88F444, 0x00AAAA,
                                                       0x44F444, 0x44F4F4, 0xDDDDDD};

class TTab;

// What the map editor asks of the program above it; the main window fills it when it creates the editor.
struct TabHooks
{
    // A change was committed, or a sheet tab was clicked: the owning page copies the sheet back.
    std::function<void(TTab&)> mapEdited;
    // A message to the user (insert at the maximum, a sheet paste that cannot fit); trilingual text. Empty: a
    // message box through the window layer.
    std::function<void(std::string_view text)> errorBox;
    // A developer fault found while painting or ticking (a bad label index): written to the error log once, never
    // shown in a box. Empty: the debug output.
    std::function<void(std::string_view text)> logFault;
    // The colour (0x00BBGGRR) of a lambda-learning value, as the mixture gauge shows it. Empty: a neutral grey.
    std::function<TColor(int value)> lambdaColour;
};

// Everything SetAxis applies to the axes named by its mask.
struct AxisSetup
{
    std::string_view name = {};
    std::string_view unit = {};
    std::int32_t min = 0, max = 100;
    double scale = 1.0;
    std::int32_t minSpacing = 1;
    std::span<const StepEntry> steps{};
    int editable = 1;
    int options = 1;  // value 1: numeric (X and Y); value 2: full-range colouring
    int minCount = 1, count = 1;
    int collapseOption = 1, collapsed = 0, resizable = 1, collapsePos = kCollapseFirst;
    std::uint32_t scaleGroup = 0;
    TColor colour = 0xFFFFFF;
    const TBitmap* picture = nullptr;  // not owned
};

// Layout metrics (pixels; BuildSideBar sets most of them).
struct TabLayout
{
    int visibleColumns = 15, visibleRows = 10;  // the pages may change them
    int shownColumns = 0, shownRows = 0;
    int extraLeft = 0, extraTop = 0, extraRight = 17, extraBottom = 17;
    int left = 10, right = 10, top = 10, bottom = 10;  // margins
    int gap = 15;                                      // between heads and cells
    int yHeadWidth = 65;                               // the Y-head column
    int tableLeft = 0, tableTop = 0, headHeight = 0;
    int cellsLeft = 0, cellsTop = 0;
    double cellWidth = 0, cellHeight = 0;
    int graphBesideTable = 100;  // threshold for a 2-D graph beside or below the table
    int sideBarLeft = 0;         // left edge of the side bar's buttons
    int buttonTop = 5;           // top of the side bar's button row
};

struct TabStepButtons
{
    bool shown = false;
    int column = -2, row = -2;  // -1 for a head
    TRect up{}, down{};         // edges included
    bool upPressed = false, downPressed = false;
    bool held = false;
    int pressTick = 0;
    bool repeatBegan = false;
    int hover = 0;  // 1 the up button, 2 the down button
};

struct TabCellEdit
{
    bool active = false;
    int column = -2, row = -2;  // -1 for a head
    std::string text;           // at most kEditCharsMax typed characters
    int caret = 0;              // index into text
    int markStart = -1, markEnd = -1;
    TRect caretRect{};
    int textLeft = 0, textTop = 0, textWidth = 0, textHeight = 0;
    std::vector<int> offsets;  // x offset of every character boundary, 0..length
    int blink = 0;
    int caretPenWidth = 2;
    TColor caretColour = clBlack;
};

struct TabNotify
{
    int flags = 0;    // accumulated change kinds
    int pending = 0;  // group code
    int dueTick = 0;
};

// Written by the main window before every tick.
struct TabLiveValues
{
    int rpm = 0, previousRpm = 0;
    int tp = 0, iap = 0;
    int tpShare = 0;  // 0..100: how much of the injection load comes from TP
    int mapMode = 0;  // bit 0 advance map in use; 0x10 map 0 uses IAP; 0x20 map 1 uses IAP
    int ta = 0, previousTa = 0, tw = 0, previousTw = 0;
    int tst = 0;
    int flags = kLiveNone;  // 2 TP not available, 4 IAP not available, 0x100 no live data
    static constexpr int kLiveNoTp = 2;
    static constexpr int kLiveNoIap = 4;
    static constexpr int kLiveNone = 0x100;
};

// The table view's drag of a selection handle or frame.
struct TabTableDrag
{
    int mode = 0;  // 1 extend (resize), 2 move
    int startX = 0, startY = 0;
    int firstColumn = -2, firstRow = -2, lastColumn = -2, lastRow = -2;  // target range
    bool selecting = false;  // a selection band is being dragged with the button held
    // Hover: the selection frame's edge under the pointer (1 top, 2 left, 4 right, 8 bottom, 0 none) and the drag
    // handle at its bottom right corner.
    int frameEdge = 0;
    bool onHandle = false;
    bool caretDrag = false;  // the button went down in the in-place edit: moving marks text
};

class TTab final : public TCustomControl
{
public:
    // A map editor of the given size (0 gives 500 x 200) and flag word at `ppi` pixels per inch, its widget a
    // child of `parent`.
    TTab(QWidget* parent, int width, int height, int flagWord, int ppi = 96);
    ~TTab() override;
    [[nodiscard]] const char* ClassName() const override { return "TTab"; }

    // ---- Control (message entry, paint, printing) --------------------------------------------------------
    void DefaultHandler(TMessage& message) override;
    void Paint() override;
    void BeginPrint();
    void EndPrint();
    // The 18 pictures from the program's resources, the button ones recoloured to the control's face.
    void LoadBitmaps();
    [[nodiscard]] TBitmap& BackBuffer() { return backBuffer; }
    [[nodiscard]] CSheet* Current() { return current >= 0 ? &sheets[current] : nullptr; }
    [[nodiscard]] const CSheet* Current() const { return current >= 0 ? &sheets[current] : nullptr; }

    // ---- Input and tick --------------------------------------------------------------------------------
    void Tick();
    void TrackPointer(int x, int y);
    void TakeFocus();
    void OnFocusGained();
    void OnFocusLost();
    void UpdateHover();
    void UpdateHint();
    void ApplyCursor();
    void LeftButtonDown();
    void LeftButtonUp();
    void DoubleClick();
    void RightButtonDown();
    void WheelTurn(int delta);
    // Whether the key was used: key-down virtual key, or a character (vk 0).
    bool KeyInput(int vk, int ch);
    bool CommonKey(int code);

    // ---- Side bar, layout, redraw ----------------------------------------------------------------------
    void BuildSideBar();
    void LayoutTable();
    void BuildHitMaps();
    void UpdateButtonStates(bool forced);
    void PaintStepButtons(TCanvas& c);
    void PaintSideBar(TCanvas& c);
    void Redraw();

    // ---- Sheet interface -------------------------------------------------------------------------------
    int AddSheet(std::string_view title, std::string_view labelX, std::string_view labelY, std::string_view labelData,
                 int columns, int rows, int sheetFlags);
    void SetSheetTitle(int index, std::string_view title);
    void SetAxis(int index, int mask, const AxisSetup& setup);
    void SelectSheet(int index);
    void UpdateLimits(CSheet& sheet, int flags);

    // ---- Change notification and operating point ---------------------------------------------------------
    void NotifyChange(int flags, int code);
    void CheckNotifyDue();
    [[nodiscard]] int AxisLivePosition(const CAxe& axis);
    void UpdateOperatingPoint();
    void SyncPositionButtons();

    // ---- In-place edit, focus, scrolling, fill ---------------------------------------------------------
    void BeginCellEdit(int column, int row, bool empty);
    void CommitCellEdit();
    void LayoutCellEdit();
    void ClearEditMark(bool repaint);
    // The selection's first column and row; false with (-2, -2) when nothing is selected.
    bool GetFocusCell(int& column, int& row) const;
    bool MoveFocus(int columns, int rows, bool extend);
    void ScrollBy(int columns, int rows);
    void ScrollToShow(int column, int row);
    void ScrollToFocus();
    void DragFill();

    // ---- Commands -------------------------------------------------------------------------------------
    void Command(int code);
    void SetView(int mask);
    // (kind, selected count, editable count) of the current selection.
    void SelectionSummary(int& kind, int& selected, int& editable) const;
    void StepSelection(int n);
    void StepTarget(int n);
    void PlaceStepButtons(int column, int row);
    void HideStepButtons();
    // which: kLineRows or kLineColumns.
    void InsertLine(int which, int index);
    void DeleteLine(int which, int index);
    void DeleteSelectedLines(int which);
    void Interpolate();

    // ---- Clipboard -----------------------------------------------------------------------------------------
    void Copy();
    void CopyTable();
    void Paste();
    void CopyGraph();
    // kClipPlainText and kClipSheetText that the paste can use now (0 when nothing applies).
    [[nodiscard]] int PasteAvailability();

    // ---- Views (each in its own file) --------------------------------------------------------------------
    void PaintTable(TCanvas& c);
    // A cell's value changed: with the table drawn alone only its box is drawn again, else everything.
    void CellValueChanged(int column, int row);
    void TableMouseMove();
    bool TableMouseDown();
    bool TableMouseUp();
    bool TableRightDown();
    bool TableDoubleClick();
    bool TableWheel(int direction);
    bool TableKey(int code);
    // The autoscale of the graph views over the current sheet and the sheets scaled with it.
    void ScaleGraph();
    void Layout2D();
    void Paint2D(TCanvas& c);
    void MouseMove2D();
    bool MouseDown2D();
    bool MouseUp2D();
    bool RightClick2D();
    bool Wheel2D(int steps);
    void Status2D();
    // After a drag moved a point or guide: new scales, and the pointer kept on the dragged point (h, v of curve k).
    void RescaleAfterDrag(std::int32_t h, std::int32_t v, int k, bool followX, bool followY);
    void Prepare3D();
    void Project3D(double x, double h, double z, double& sx, double& sy, double& depth) const;
    void Paint3D(TCanvas& c);
    void Graph3DMouseMove();
    bool Graph3DMouseDown();
    bool Graph3DMouseUp();
    bool Graph3DRightDown();
    bool Graph3DWheel(int direction);
    bool Graph3DKey(int code);
    void Sync3DViewButtons();
    void LayoutCheck();
    void PaintCheck(TCanvas& c);
    void MouseMoveCheck();
    bool MouseDownCheck();
    bool MouseUpCheck();
    bool RightClickCheck();
    bool WheelCheck(int steps);
    void StatusCheck();
    // After a line drag: new scales, the pointer kept on the line (an X or a Y value, or nothing).
    void RescaleCheck(std::optional<std::int32_t> x, std::optional<std::int32_t> y, bool followX, bool followY);
    void BuildPopupMenu();

    // ---- State (plain data, as the views and pages use it) -------------------------------------------------
    // Identity and options
    int id = 0;
    const int flagWord;
    const int pixelsPerInch;
    bool ready = false;
    int languageSeen = -1;
    // Views
    int requestedView = kViewTable;
    int drawnViews = kViewTable;
    // Sheets
    int sheetCount = 0;
    int current = -1;
    int previous = 0;
    std::array<CSheet, kMaxSheets> sheets;
    // Pointer and keys
    int px = 0, py = 0;
    int popupX = 0, popupY = 0;
    bool overTable = false, overGraph = false;
    bool skipNextHover = false;
    int hoveredTab = 0;  // index + 1
    int popupTab = 0;
    bool wantCross = false, wantSizeAll = false, wantIBeam = false;
    bool interpHandle = false, interpHandlePrev = false;
    bool shiftDown = false, ctrlDown = false;
    // Drawing
    TBitmap backBuffer;
    bool painting = false;
    bool buttonsStale = false;  // the button states were not followed while the editor's page was hidden
    int dirty = 0;
    TRect cellDamage{};  // what kDirtyCells asks to draw again
    TRect paintClip{};   // while a redraw draws only this part (empty: all)
    bool printing = false;
    int tickCount = 0;
    TTabGraph graph;
    HitTable visibleHits{};
    HitTable fullHits{};
    TabLayout layout;
    std::array<TColor, 13> colours = kTabColours;
    std::array<TBitmap, kTabBitmapCount> bitmaps;
    TBitmap checkMark;  // "BTCHK" of the check grid, loaded on first use
    // Side bar, step buttons, scroll bars, popup
    std::array<CTabButton, kSideButtons> buttons;
    int activeButtons = 0;
    bool selectionEditable = false;  // the selection has editable items: the +/- frame is black
    std::array<std::string, 3> onlyCaptions;
    TabStepButtons step;
    CTabScrollBar hBar, vBar;
    TPopupMenu popup;
    // Editing and live data
    TabCellEdit edit;
    TabNotify notify;
    TabGuides guides;
    TabLiveValues live;
    TabTableDrag tableDrag;
    int positionMode = 0;  // 0 Beginning, 1 Centre, 2 End
    bool lambdaMonitoring = false;
    int* followSwitch = nullptr;  // shared by the main window's editors; not owned
    int hysteresis = 0;           // check grid: in shown X units
    int clipboardFormat = 0;
    std::array<std::int32_t, kGridCells> previewBuffer{};
    // The hint as the hover pass left it.
    std::string hintText;
    bool hintOn = false;
    // Seams
    TabHooks hooks;
    TabClipboard* clipboard;  // the system clipboard unless a test gives its own; not owned
    std::vector<std::string> loggedFaults;

private:
    bool dispatchMessage(TMessage& m);
    bool pressHotButton();
    void paintSheetTabs(TCanvas& c);
    void paintTitleStrip(TCanvas& c);
    void showError(std::string_view trilingual);
    void logOnce(std::string_view text);
    void repeatStepButtons();
    void autoScrollDrag();
    // Puts the system pointer at (x, y) of the control, after a drag rescaled the graph under it.
    void warpPointer(int x, int y);
    [[nodiscard]] bool onViewSwitchSpot() const;
    [[nodiscard]] bool onProportionalSpot() const;
    [[nodiscard]] bool tableDragging() const;
    [[nodiscard]] std::string pickText(std::string_view trilingual) const;
    [[nodiscard]] bool sheetShowsContent() const;
};

// The system clipboard as the map editor uses it: the sheet text in its own format (Windows-1250 bytes, as the
// program's texts travel), the plain table as text/plain for spreadsheets.
[[nodiscard]] TabClipboard& SystemTabClipboard();
