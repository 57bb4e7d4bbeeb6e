#pragma once
// The map editors of the pages as data: each sheet with its title, names, size, flags, colours and the setups of
// its X axis, Y axis and data, added to an editor in table order. The step tables that several maps share are
// here once.
#include <span>
#include <string_view>

#include "mapeditor/tab.h"
#include "pages/pageform.h"

// Span limit, rounding step of the autoscaled range, grid step, (unused), label step.
inline constexpr StepEntry kRpmSteps[] = {
    {4000, 2000, 1000, 200, 1000}, {10000, 2000, 1000, 500, 1000}, {25000, 2000, 1000, 1000, 2000}};
inline constexpr StepEntry kAdvanceSteps[] = {{10, 5, 1, 1, 2}, {30, 5, 5, 5, 5}};
inline constexpr StepEntry kPercentSteps[] = {
    {10, 5, 1, 1, 2}, {30, 5, 5, 5, 5}, {100, 20, 10, 5, 20}, {500, 100, 50, 25, 100}};

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
};

// Adds the sheets in table order, each with its axes and colours, its limits applied once (0x107).
void AddSheets(TTab& editor, std::span<const SheetSpec> sheets);

// The editor of that id when the pages made it.
[[nodiscard]] TTab* MapEditor(TPageForm& w, int id);

// One of the program's pictures as the map editors draw it (a sheet's background), made once and kept for the
// whole run; null when the program has none. Main thread only.
[[nodiscard]] const TBitmap* SharedPicture(std::string_view name);
