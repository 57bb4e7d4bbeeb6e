#pragma once
// One table of a map editor (`CSheet`) with its three axes (`CAxe`): X (columns), Y (rows) and data (the value
// grid). All values are raw integers, shown as raw * scale. No drawing and no toolkit here: the editor control and
// its views stand on this data.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "mapeditor/sel.h"

class TBitmap;  // window layer; an axis only points at a cached picture, it never owns one

// Visible limits of the texts an axis or sheet keeps.
inline constexpr std::size_t kTitleMax = 255;
inline constexpr std::size_t kLabelMax = 255;
inline constexpr std::size_t kNameMax = 63;
inline constexpr std::size_t kUnitMax = 15;
inline constexpr int kStringViewParts = 9;
inline constexpr int kStepEntries = 5;

// Sheet flags.
inline constexpr int kSheetOperatingPoint = 0x1;
inline constexpr int kSheetSwapXY = 0x2;
inline constexpr int kSheetEnableBox = 0x8;
inline constexpr int kSheetOverlay = 0x10;  // never set by any page; its blocks are not carried
inline constexpr int kSheetNoLeadIn = 0x20;
inline constexpr int kSheetPercentStep = 0x40;
inline constexpr int kSheetNoLeadOut = 0x80;
inline constexpr int kSheetBaseAdvance = 0x100;
inline constexpr int kSheetLimiter = 0x200;
inline constexpr int kSheetStartLimiter = 0x400;
inline constexpr int kSheetFastXHeads = 0x1000;
inline constexpr int kSheetFastYHeads = 0x2000;
inline constexpr int kSheetFastCells = 0x4000;
inline constexpr int kSheetUnitText = 0x8000;
inline constexpr int kSheetLambdaBlock = 0x10000;

// Collapse positions.
inline constexpr int kCollapseFirst = -1;
inline constexpr int kCollapseLast = -2;
inline constexpr int kCollapseMiddle = -3;

inline constexpr int kNoneMoved = -3;  // last moved point: every point counts as changed at the next Arrange

// One span/step entry: span limit, rounding step of the autoscaled range, grid step, (unused), label step.
using StepEntry = std::array<double, 5>;

// Why StringViewText gave no text. The caller logs it once and draws the number or nothing: a message box from
// a paint or tick path would come back on every repaint.
enum class StringViewFault { None, IndexOutsideCount, PartOutsideRange, EmptyPart };
inline constexpr std::string_view kStringViewIndexText = "Spatny index stringview >n";
inline constexpr std::string_view kStringViewPartText = "Spatny index stringview >MAXSV";
inline constexpr std::string_view kStringViewEmptyText = "Spatny stringview (part is NULL)";
// The developer's text of a fault.
[[nodiscard]] constexpr std::string_view StringViewFaultText(StringViewFault fault)
{
    return fault == StringViewFault::EmptyPart          ? kStringViewEmptyText
           : fault == StringViewFault::PartOutsideRange ? kStringViewPartText
                                                        : kStringViewIndexText;
}

class CAxe final
{
public:
    std::uint32_t colour = 0xFFFFFF;  // 0x00BBGGRR, background of the heads or cells in the table view
    const TBitmap* picture = nullptr;
    std::string label;  // long label, may be trilingual; at most kLabelMax
    std::string name;   // short name identifying the quantity ("RPM", "TP", ...); at most kNameMax
    std::string unit;   // at most kUnitMax
    int showUnit = 1;
    int maxCount = 1, minCount = 1, count = 1;
    int collapsed = 0;
    int collapsedIndex = 0;  // worked out at layout from the collapse position (ResolveCollapsedIndex)
    int collapsePos = kCollapseFirst;
    int editable = 1, resizable = 1;
    int collapseOption = 1;  // 0 never collapsed by the user, 1 offered in the popup, 2 fixed as set
    int firstVisible = 0;
    // X: 50 entries, Y: 30, data: the 1500-value grid. Empty until CSheet::Allocate.
    std::vector<std::int32_t> points;
    std::vector<std::uint8_t> pointFlags;  // never set in this program; kept for the views' markers
    std::vector<std::int32_t> prevPoints, pushedFrom, pushedMarks;  // state of Arrange between calls
    double scale = 1.0;
    double scale2 = 1.0;  // second scale, never changed
    std::int32_t min = 0, max = 100;
    std::int32_t minSpacing = 1;
    int lastMoved = kNoneMoved;
    std::array<std::string, 2> labelTexts;               // stringview texts (owned copies)
    std::array<std::vector<std::string>, 2> labelParts;  // their parts after SplitStringView
    std::vector<std::int32_t> comparePoints;             // owned; filled by the page
    int compareCount = 0;
    int numeric = 1;
    std::uint32_t scaleGroup = 0;
    int stepCount = 0;
    std::array<StepEntry, kStepEntries> steps{};
    StepEntry currentStep{};
    std::int32_t displayLow = 0, displayHigh = 0;
    int fullRangeColour = 0;
    int labelFontSize = 0;

    // Points in use that the arrays really hold: count bounded by the storage.
    [[nodiscard]] int usedCount() const;

    void Arrange();
    // Data axis: every value of the first `columns` columns and `rows` rows into min..max.
    void ClampValues(int columns, int rows);
    void SetSteps(std::span<const StepEntry> table);  // stops at the first entry whose third double is 0
    void AddSteps(const StepEntry& entry);
    void PickSteps(double span);
    void SplitStringView();
    [[nodiscard]] bool hasStringView() const { return !labelTexts[0].empty(); }
    // The part of a point's label text (point value mod 1000); nothing with the fault when there is none.
    [[nodiscard]] std::optional<std::string_view> StringViewText(int index, int which,
                                                                 StringViewFault* fault = nullptr) const;
    // The one point used while collapsed: the collapse position clamped into the points in use.
    [[nodiscard]] int resolveCollapsedIndex() const;
};

class CSheet final
{
public:
    CSheet();

    int flags = 0;
    int enabled = 1;
    int hidden = 0;
    int contentShown = 1;  // the page clears it when the sheet has nothing to show (e.g. an unused injector)
    std::uint32_t currentRowColour = 0x0000FF;
    std::uint32_t compareColour = 0x808080;
    std::uint32_t selectionColour = 0xFF0000;
    std::string title;  // trilingual; at most kTitleMax
    int tabWidth = 0;
    int titleFontSize = 13;
    int cellFontSize = 12;
    CAxe x, y, data;
    int opColumn = -2, opRow = -2;  // operating point, -2 none
    int opState = 0;                // 0 none, 1 map in use, 2 shown but not in use, -1 not used in this mode
    std::array<int, 2> labelRows{-1, -1};
    std::int32_t liveValue = 0;
    TSel sel;
    int leaderId = 0;    // insertions and deletions here repeat on every sheet whose followerId equals it
    int followerId = 0;  // takes the repeated insertions and deletions
    std::vector<std::uint8_t> lambdaBlock;  // 1500 bytes with kSheetLambdaBlock

    // Zero-filled storage of the points, the grid and the optional lambda block (after the flags are set).
    void Allocate();
    void Free();
    [[nodiscard]] bool isAllocated() const { return data.points.size() == static_cast<std::size_t>(kGridCells); }

    [[nodiscard]] std::int32_t& value(int column, int row) { return data.points[gridIndex(column, row)]; }
    [[nodiscard]] std::int32_t value(int column, int row) const { return data.points[gridIndex(column, row)]; }

    // The axis part of the limits update: bit 1 arranges X, bit 2 Y (with 0x100 as if every point moved),
    // bit 4 clamps the values.
    void updateAxes(int flags);
};

// Insertion and deletion of one row (which 0) or column (which 1), data only: the points, the grid and the
// selection marks move; the control adds layout, scrolling and notification.
enum class LineEdit {
    Done,
    NotResizable,
    AtMaximum,          // the sheet itself has no room: the message box
    FollowerAtMaximum,  // a linked follower has no room: refused for the whole group
    AtMinimum,
    Collapsed,
    BadIndex,
};
inline constexpr int kLineRows = 0;
inline constexpr int kLineColumns = 1;

inline constexpr std::string_view kColumnsAtMaximumText =
    "###Column count is on maximum !\nDelete some first...##Spaltenanzahl ist auf maximal !\nLöschen einige "
    "erste...##Dosaženo maximálního počtu sloupců !\nNejprve nějaký vymažte...";
inline constexpr std::string_view kRowsAtMaximumText =
    "###Row count is on maximum !\nDelete some first...##Zeilenanzahl ist auf maximal !\nLöschen einige "
    "erste...##Dosaženo maximálního počtu řádků !\nNejprve nějaký vymažte...";

// Whether one more line fits: below the axis maximum and the storage. A check grid keeps one more value than
// points in each direction, so its lines stop one short of the grid.
[[nodiscard]] bool hasRoomForLine(const CSheet& sheet, int which, bool checkGrid = false);

// Inserts at index b (0..count): the line from b on moves one place on, the new point and cells are the mean of
// their neighbours. Marks the new cells picked (drag kind cells) after resetting the selection.
[[nodiscard]] LineEdit insertLineData(CSheet& sheet, int which, int b, bool asFollower, bool checkGrid = false);
[[nodiscard]] LineEdit deleteLineData(CSheet& sheet, int which, int index, bool asFollower, bool checkGrid = false);

// The same insertion on `sheets[current]` and every sheet following its leader id, or on none of them: a group
// that cannot all take the line is left as it was. Followers get updateAxes of the line's axis and the data.
[[nodiscard]] LineEdit insertLinkedLine(std::span<CSheet> sheets, int current, int which, int b,
                                        bool checkGrid = false);
// Deletes on the sheet and repeats on its followers (a follower at its minimum or collapsed keeps its line).
[[nodiscard]] LineEdit deleteLinkedLine(std::span<CSheet> sheets, int current, int which, int index,
                                        bool checkGrid = false);
