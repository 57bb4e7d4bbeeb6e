#pragma once
// Selection of a sheet (cells, X heads or Y heads) and the hit table of screen rectangles through which the
// views start and extend it. Plain data and functions; the views fill the hit table, the selection never draws.
#include <array>
#include <cstdint>

// Sheet capacity: 50 columns by 30 rows, every per-cell array indexed row * 50 + column whatever the counts.
inline constexpr int kMaxColumns = 50;
inline constexpr int kMaxRows = 30;
inline constexpr int kGridStride = kMaxColumns;
inline constexpr int kGridCells = kMaxColumns * kMaxRows;

[[nodiscard]] constexpr int gridIndex(int column, int row)
{
    return row * kGridStride + column;
}

// One screen rectangle, edges inclusive.
struct HitRect
{
    std::int32_t left = 65535, top = 65535, right = 65535, bottom = 65535;
};

// Rectangle groups of a hit table, first index of each.
inline constexpr int kHitXHeads = 0;         // 50 column heads
inline constexpr int kHitYHeads = 50;        // 30 row heads
inline constexpr int kHitColumnStrips = 80;  // one per column: the whole-column buttons
inline constexpr int kHitRowStrips = 130;    // one per row
inline constexpr int kHitCells = 160;        // 160 + row * 50 + column
inline constexpr int kHitRects = kHitCells + kGridCells;

// Hit bits, also the drag kinds.
inline constexpr int kHitCell = 1;
inline constexpr int kHitXHead = 2;
inline constexpr int kHitYHead = 4;
inline constexpr int kHitColumnStrip = 8;
inline constexpr int kHitRowStrip = 0x10;

struct HitTable
{
    std::int32_t width = 0, height = 0;  // drag points are held inside 0..width-1, 0..height-1
    std::int32_t columns = 0, rows = 0;  // how many columns and rows the rectangles describe (at most 50 and 30)
    std::int32_t xHeadsOn = 0, yHeadsOn = 0, columnStripsOn = 0, rowStripsOn = 0, cellsOn = 0;
    std::int32_t hitColumn = -2, hitRow = -2;  // result of the last HitTest
    std::array<HitRect, kHitRects> rects{};

    HitRect& xHead(int column) { return rects[kHitXHeads + column]; }
    HitRect& yHead(int row) { return rects[kHitYHeads + row]; }
    HitRect& columnStrip(int column) { return rects[kHitColumnStrips + column]; }
    HitRect& rowStrip(int row) { return rects[kHitRowStrips + row]; }
    HitRect& cell(int column, int row) { return rects[kHitCells + gridIndex(column, row)]; }
    const HitRect& cell(int column, int row) const { return rects[kHitCells + gridIndex(column, row)]; }
};

// Empties every rectangle (no point hits it) and switches every group off.
void ResetHitTable(HitTable& table);

// Mark word bits.
inline constexpr std::uint16_t kMarkCommitted = 1;
inline constexpr std::uint16_t kMarkPicked = 2;  // picked by the current action: drag band, keys, paste, fill
inline constexpr std::uint16_t kMarkCorner = 4;  // corner handle of a clean rectangle

// Selection kinds.
inline constexpr int kSelCells = 1;
inline constexpr int kSelXHeads = 2;
inline constexpr int kSelYHeads = 4;

class TSel final
{
public:
    TSel() { Reset(); }

    std::int32_t dragKind = 0;  // 1 cells, 2 X heads, 4 Y heads, 8 whole columns, 0x10 whole rows, 0 no drag
    std::int32_t selKind = 0;   // committed selection: 1 cells, 2 X heads, 4 Y heads, 0 nothing
    // X head marks, Y head marks and cell marks in one array, in that order.
    std::array<std::uint16_t, kMaxColumns + kMaxRows + kGridCells> marks{};
    std::int32_t rectangle = 0;  // 1: the committed selection is a clean rectangle with handles
    std::int32_t rectLeft = -2, rectRight = -2, rectTop = -2, rectBottom = -2;
    std::int32_t anchorX = -1, anchorY = -1;  // screen point where the drag started; Shift keeps it
    std::int32_t currentX = -1, currentY = -1;
    // Bounds of what the last action picked; -1 for the dimension heads do not have; -2 nothing.
    std::int32_t minColumn = -2, minRow = -2, maxColumn = -2, maxRow = -2;
    std::int32_t startColumn = -2, startRow = -2;  // element where the selection started (-1 head dimension)
    std::int32_t endColumn = -2, endRow = -2;      // other end of a keyboard range
    std::int32_t count = 0;                        // marked elements

    std::uint16_t& xMark(int column) { return marks[column]; }
    std::uint16_t& yMark(int row) { return marks[kMaxColumns + row]; }
    std::uint16_t& cellMark(int column, int row) { return marks[kMaxColumns + kMaxRows + gridIndex(column, row)]; }
    std::uint16_t xMark(int column) const { return marks[column]; }
    std::uint16_t yMark(int row) const { return marks[kMaxColumns + row]; }
    std::uint16_t cellMark(int column, int row) const { return marks[kMaxColumns + kMaxRows + gridIndex(column, row)]; }

    // Clears marks, kinds, rectangle, anchor and bounds; the start and end cells are kept.
    void Reset();
    // Bits of the groups whose first rectangle holds (x, y), in the order cells, X heads, Y heads, column
    // strips, row strips; the hit column and row go into the table.
    static int HitTest(HitTable& table, int x, int y);
    // 1 cell (column, row), 2 X head (column, -1), 4 Y head (-1, row), 0 nothing (-2, -2).
    static int HitCell(const HitTable& table, int x, int y, int& column, int& row);

    void StartGraphDrag(const HitTable& table, int x, int y, bool shift, bool ctrl);
    void StartTableDrag(HitTable& table, int x, int y, bool shift, bool ctrl);
    // Picks the elements under the band from the anchor to (x, y); whether a mark changed.
    bool DragTo(const HitTable& table, int x, int y, bool force);
    void UpdateBounds();
    // Picked marks become committed; finds the clean rectangle and its handles; ends the drag.
    void Commit(const HitTable& table);
    void SelectOne(const HitTable& table, int column, int row);
    void SelectTo(const HitTable& table, int column, int row);
    [[nodiscard]] int CornerFlags(int column, int row, bool wholeRow, bool wholeColumn) const;
    // The Y head mark for column -1, the X head mark for row -1, else the cell mark; 0 outside the sheet.
    [[nodiscard]] std::uint16_t MarkAt(int column, int row) const;

private:
    void commitCells(const HitTable& table);
    void commitHeads(const HitTable& table, bool columns);
};
