#pragma once
// Map sheets bound to tables of the settings image. One row names a sheet of a map editor and the image table
// that one part of it shows: its cells (row r, column c is element r x columns + c), its X points or its Y
// points. The pages show and store their sheets through these rows, and the refresh after the unit changed image
// blocks by itself is derived from the same rows, so the two cannot disagree on where a map lies.
#include <span>

class TPageForm;
class CSheet;

enum class Cell {
    Byte,        // one unsigned byte per element, at byte addresses
    Word,        // one unsigned 16-bit word per element, at word indexes
    SignedByte,  // one byte per element read as -128..127
};

enum class GridPart {
    Cells,    // the value grid: `rows` x `columns`
    XPoints,  // `columns` X points
    YPoints,  // `rows` Y points
};

struct GridBinding
{
    int editorId;
    int sheet;
    Cell cell;
    int address;  // first element: byte address (Byte) or word index (Word)
    int rows;
    int columns;
    // shown = element x scale + offset; the store takes (shown - offset) / scale, truncating, to the low 8 or 16
    // bits. A scale of -1 shows a stored positive amount as a negative one.
    int scale = 1;
    bool refreshedOnReread = false;  // the unit may change this table by itself
    GridPart part = GridPart::Cells;
    int offset = 0;
    int first = 0;  // the first row (Cells) or point (XPoints, YPoints) the table fills
};

// First image byte and one past the last byte of the table.
[[nodiscard]] int GridFirstByte(const GridBinding& grid);
[[nodiscard]] int GridEndByte(const GridBinding& grid);

// The sheet a row names, when its editor exists and has that sheet.
[[nodiscard]] CSheet* GridSheet(TPageForm& w, const GridBinding& grid);

// Marks the editor for a redraw at its next tick (its grid changed behind its back).
void RequestMapRedraw(TPageForm& w, int editorId);

// Writes the image table into the sheet; true when a cell or point changed.
bool ShowGrid(TPageForm& w, const GridBinding& grid);
// Writes the sheet back into the image table.
void StoreGrid(TPageForm& w, const GridBinding& grid);
// In the image table, every column from `usedColumns` on repeats the last used column, row by row (the unit reads
// whole rows).
void PadGridColumns(TPageForm& w, const GridBinding& grid, int usedColumns);
// Every row of a table.
void ShowGrids(TPageForm& w, std::span<const GridBinding> grids);
void StoreGrids(TPageForm& w, std::span<const GridBinding> grids);

// Puts fixed points (an axis the image does not store) into the X (xAxis true) or Y points of a sheet.
void SetFixedPoints(CSheet& sheet, bool xAxis, std::span<const int> points);

// The tables of the maps whose pages are still to come, kept here so that their pages and the refresh of
// unit-changed blocks use the same rows. Editor ids: advance 0, injection 5, servos 1, injection position A 3
// and B 4, lambda tuning 42, the bike page's lambda map 43.
inline constexpr int kAdvanceEditorId = 0;
inline constexpr int kServoEditorId = 1;
inline constexpr int kPositionAEditorId = 3;
inline constexpr int kPositionBEditorId = 4;
inline constexpr int kInjectionEditorId = 5;
inline constexpr int kTuningEditorId = 42;
inline constexpr int kBikeEditorId = 43;

inline constexpr GridBinding kAdvanceGrids[] = {
    {kAdvanceEditorId, 0, Cell::Byte, 2785, 10, 15, 1, true},
    {kAdvanceEditorId, 1, Cell::Byte, 2935, 10, 15, 1, true},
};
inline constexpr GridBinding kInjectionGrids[] = {
    {kInjectionEditorId, 0, Cell::Word, 0, 10, 20, 10, true},
    {kInjectionEditorId, 1, Cell::Word, 200, 10, 20, 10, true},
    {kInjectionEditorId, 2, Cell::Word, 400, 10, 20, 10, true},
    {kInjectionEditorId, 3, Cell::Word, 600, 10, 20, 10, true},
    {kInjectionEditorId, 4, Cell::Byte, 3417, 10, 20, 1, true},
    {kInjectionEditorId, 5, Cell::Byte, 3217, 10, 20, 1, true},
    {kInjectionEditorId, 6, Cell::Word, 800, 10, 20, 10, true},
    {kInjectionEditorId, 7, Cell::Byte, 3617, 10, 20, 1, true},
};
inline constexpr GridBinding kPositionGrids[] = {
    {kPositionAEditorId, 0, Cell::Byte, 3860, 1, 15, 1, true},
    {kPositionBEditorId, 0, Cell::Byte, 3890, 1, 15, 1, true},
};
inline constexpr GridBinding kServoGrids[] = {
    {kServoEditorId, 0, Cell::Byte, 4258, 10, 15, 1, true},
    {kServoEditorId, 1, Cell::Byte, 4108, 10, 15, 1, true},
};
