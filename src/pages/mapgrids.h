#pragma once
// Map sheets bound to tables of the settings image. One row names a sheet of a map editor and the image table
// its grid shows (row r, column c is element r x columns + c); the pages show and store their sheets through
// these rows, and the refresh after the unit changed image blocks by itself is derived from the same rows, so
// the two cannot disagree on where a map lies.
#include <span>

class TPageForm;
class CSheet;

enum class Cell {
    Byte,  // one unsigned byte per cell, at byte addresses
    Word,  // one unsigned 16-bit word per cell, at word indexes
};

struct GridBinding
{
    int editorId;
    int sheet;
    Cell cell;
    int address;  // first element: byte address (Byte) or word index (Word)
    int rows;
    int columns;
    int scale = 1;                   // cell = element x scale; the store divides again (truncating)
    bool refreshedOnReread = false;  // the unit may change this table by itself
};

// First image byte and one past the last byte of the table.
[[nodiscard]] int GridFirstByte(const GridBinding& grid);
[[nodiscard]] int GridEndByte(const GridBinding& grid);

// The sheet a row names, when its editor exists and has that sheet.
[[nodiscard]] CSheet* GridSheet(TPageForm& w, const GridBinding& grid);

// Marks the editor for a redraw at its next tick (its grid changed behind its back).
void RequestMapRedraw(TPageForm& w, int editorId);

// Writes the image table into the sheet's grid; true when a cell changed.
bool ShowGrid(TPageForm& w, const GridBinding& grid);
// Writes the sheet's grid back into the image table (the low 8 or 16 bits of cell / scale).
void StoreGrid(TPageForm& w, const GridBinding& grid);
// In the image table, every column from `usedColumns` on repeats the last used column, row by row (the unit reads
// whole rows).
void PadGridColumns(TPageForm& w, const GridBinding& grid, int usedColumns);

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
