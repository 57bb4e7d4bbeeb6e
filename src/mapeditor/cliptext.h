#pragma once
// The two clipboard texts of a sheet and their readers.
//
// Sheet text (the private format): header lines "Label:", "LabelX:", "LabelY:", "LabelData:", "SizeX:", "SizeY:",
// "OnlyXY:", each key followed by a tab and its value, then the table: a row of a tab and the X heads, and per Y
// point its head, a tab and the values. Plain text: the same table without the header, reduced to what a collapsed
// sheet shows. Tabs between fields, line feeds between rows, no final line feed. Texts are whole: no length cut.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "mapeditor/sheet.h"

struct ClipTextOptions
{
    int language = 0;        // 0 English, 1 German, 2 Czech: Czech writes decimal commas in numeric fields
    bool checkGrid = false;  // check-grid editor: one more value than points in each direction
    // The current language's form of a trilingual label part; empty: the part as it stands.
    std::function<std::string(std::string_view)> pickText{};
};

// Values per direction: the count, one more in a check grid, never past the grid's 50 x 30.
[[nodiscard]] int valueColumns(const CSheet& sheet, bool checkGrid);
[[nodiscard]] int valueRows(const CSheet& sheet, bool checkGrid);

// ---- Reading fields -----------------------------------------------------------------------------------------

enum class FieldMode {
    Text,   // pasted text: brace form, runs of spaces separate columns, ',' is the decimal point
    Sheet,  // sheet table: only tabs separate, ',' is the decimal point
};

// The number a field holds: an optional sign, digits, an optional decimal part, with digits grouped in threes
// by single spaces allowed (not in the brace form), and text without digits before or after (a unit). Anything
// else ("1e5", "x86_64", "1.2.3", more than 64 number characters) is no number.
[[nodiscard]] std::optional<double> readFieldNumber(std::string_view field, bool braceForm);

// Calls fn(row, column, field, number) for every field of the text. In the sheet mode rows and columns start
// at -1 (the head row and the head column).
void forEachField(
    std::string_view text, FieldMode mode,
    const std::function<void(int row, int column, std::string_view field, std::optional<double> number)>& fn);

// ---- Writers ------------------------------------------------------------------------------------------------

[[nodiscard]] std::string sheetText(const CSheet& sheet, const ClipTextOptions& options);
[[nodiscard]] std::string plainTableText(const CSheet& sheet, const ClipTextOptions& options);
// Copy of the selection: cells over the bounding box of the marks (empty fields for unselected cells), or the
// heads from the first to the last selected one. Empty when nothing is selected.
[[nodiscard]] std::string selectionText(const CSheet& sheet, const ClipTextOptions& options);

// ---- Paste --------------------------------------------------------------------------------------------------

// Clipboard text for the in-place edit: ',' as '.', only digits, '-', '.' and spaces, up to the first tab or
// line feed.
[[nodiscard]] std::string cleanTextForEdit(std::string_view text);

struct TextPasteResult
{
    int changed = 0;  // 1 X points, 2 Y points, 4 values
    int stored = 0;   // elements written (each marked picked in the selection)
};

// Pastes from the focus: row -1 into the X heads (one line), column -1 into the Y heads (one per line), else
// into the cells. Fields past the sheet's counts are dropped; a value above 5 x the data max is read as
// thousandths. The caller brackets the change and commits the selection.
[[nodiscard]] TextPasteResult pasteText(CSheet& sheet, std::string_view text, int focusColumn, int focusRow,
                                        const ClipTextOptions& options);

struct SheetTextHeader
{
    bool hasTable = false;  // a line beginning with a tab was found
    std::size_t tableStart = 0;
    std::string title, xName, yName, dataName;
    bool hasXName = false, hasYName = false, hasDataName = false;
    int sizeX = 0, sizeY = 0;
    bool onlyX = false, onlyY = false;
};
[[nodiscard]] SheetTextHeader readSheetHeader(std::string_view text);

enum class SheetPaste {
    NotSheetText,       // no table or a zero size: ignored
    NoNameMatch,        // ignored, silently
    DimensionsRefused,  // the sizes differ and cannot be changed: kTableDimensionsText
    Incomplete,         // the table lacks heads or values its sizes claim: nothing pasted
    Pasted,
};
struct SheetPasteResult
{
    SheetPaste status = SheetPaste::NotSheetText;
    int changed = 0;  // 1 X (points or count), 2 Y, 4 values
};

inline constexpr std::string_view kTableDimensionsText =
    "###Table dimensions are not eqal and there is unable to change it !\nInsertion canceled...##Gleichen Sie die "
    "Dimensionen der Tabelle und kann nicht geändert werden !\nInsertion abgesagt...##Neshodují se rozměry "
    "tabulky a nelze je změnit !\nVkládání zrušeno...";

// Pastes a sheet text where its names match; sizes may change within the axes' limits. Resets the selection.
[[nodiscard]] SheetPasteResult pasteSheetText(CSheet& sheet, std::string_view text, const ClipTextOptions& options);
