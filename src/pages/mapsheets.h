#pragma once
// The map editors of the pages as data: each sheet with its title, names, size, flags, colours and the setups of
// its X axis, Y axis and data, added to an editor in table order; an editor with its place, views and sheets as
// one row. The step tables that several maps share are here once.
#include <span>
#include <string_view>

#include "mapeditor/tab.h"
#include "pages/pageform.h"

class TControl;

// Span limit, rounding step of the autoscaled range, grid step, (unused), label step.
inline constexpr StepEntry kRpmSteps[] = {
    {4000, 2000, 1000, 200, 1000}, {10000, 2000, 1000, 500, 1000}, {25000, 2000, 1000, 1000, 2000}};
inline constexpr StepEntry kAdvanceSteps[] = {{10, 5, 1, 1, 2}, {30, 5, 5, 5, 5}};
inline constexpr StepEntry kPercentSteps[] = {
    {10, 5, 1, 1, 2}, {30, 5, 5, 5, 5}, {100, 20, 10, 5, 20}, {500, 100, 50, 25, 100}};

inline constexpr StepEntry kVoltageSteps[] = {{2, 1, 0.2, 0.2, 1}, {5, 1, 0.5, 0.5, 1}};
inline constexpr StepEntry kTemperatureSteps[] = {{100, 10, 10, 10, 20}};
inline constexpr StepEntry kInjectionTimeSteps[] = {{2.5, 1, 0.5, 0.5, 0.5}, {10, 2, 1, 1, 1}, {30, 5, 5, 5, 5}};
inline constexpr StepEntry kVoltageTimeSteps[] = {
    {10, 2, 1, 1, 2}, {100, 20, 20, 20, 20}, {500, 100, 100, 100, 100}, {1000, 200, 200, 200, 200}};
inline constexpr StepEntry kIdleRpmSteps[] = {{200, 100, 50, 20, 100},
                                              {4000, 2000, 500, 200, 1000},
                                              {10000, 2000, 1000, 500, 1000},
                                              {25000, 2000, 1000, 1000, 2000}};

// The fixed throttle axis of the advance and injection maps (%), kept in no image byte.
inline constexpr int kTpAxis[] = {0, 2, 5, 10, 20, 30, 40, 60, 80, 100};

struct SheetSpec
{
    std::string_view title;  // trilingual
    std::string_view xName, yName, dataName;
    int columns, rows;
    int flags;
    AxisSetup x, y, data;
    // Curve, comparison curve and selection colours (0x00BBGGRR); 0 keeps the sheet's own.
    std::uint32_t curveColour = 0, compareColour = 0, selectionColour = 0;
    // Background pictures of the program's own (SharedPicture) behind the X heads, Y heads and cells; empty: none.
    std::string_view xPicture = {}, yPicture = {}, dataPicture = {};
    int titleFontSize = 0, cellFontSize = 0;  // 0 keeps the sheet's own
    bool unitInCells = false;                 // every cell shows the data unit after its value
    int xTextSize = 0;                        // the X heads' text size; 0 keeps the canvas's
};

// Adds the sheets in table order, each with its axes and colours, its limits applied once (0x107).
void AddSheets(TTab& editor, std::span<const SheetSpec> sheets);

struct MapEditorSpec
{
    int id;
    int flagWord;
    int left, top, width, height;
    int visibleColumns = 15, visibleRows = 10;  // what the table view shows at a time
    std::span<const SheetSpec> sheets = {};
};

// Makes the editor on `parent` (CreateMapEditor), places it, adds its sheets and selects sheet 0. Null when the
// window has no room for another editor.
TTab* BuildMapEditor(TPageForm& w, const MapEditorSpec& spec, TControl* parent);

// The editor of that id when the pages made it.
[[nodiscard]] TTab* MapEditor(TPageForm& w, int id);

// One of the program's pictures as the map editors draw it (a sheet's background), made once and kept for the
// whole run; null when the program has none. Main thread only.
[[nodiscard]] const TBitmap* SharedPicture(std::string_view name);
