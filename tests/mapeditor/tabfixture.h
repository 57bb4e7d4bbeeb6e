#pragma once
// Map editors for the control's tests and the clipboard peer: an advance-like editor with the side bar and two
// linked sheets (the second follows the first's insertions), filled as a page would fill them.
#include <algorithm>
#include <memory>
#include <string>

#include "mapeditor/tab.h"

inline constexpr int kFixtureFlags = kTabSideBar | kTabTableView | kTabGraph2D | kTabGraph3D;  // 113
inline constexpr int kFixtureLink = 7;

inline const StepEntry kRpmSteps[] = {{4000, 2000, 1000, 200, 1000}, {25000, 2000, 1000, 1000, 2000}};
inline const StepEntry kTpSteps[] = {{100, 20, 10, 10, 20}};
inline const StepEntry kAdvanceSteps[] = {{10, 5, 1, 1, 2}, {100, 10, 5, 5, 10}};

// Sheet `index` of the editor given a columns x rows table (room for up to 20 x 15) with RPM heads from 1000 on,
// TP heads and values that are negative, decimal and grouped by thousands once shown.
inline void FillFixtureSheet(TTab& tab, int index, int columns, int rows, int seed = 0)
{
    tab.SetAxis(index, 1,
                {.name = "RPM",
                 .unit = "rpm",
                 .min = 1,
                 .max = 250,
                 .scale = 100,
                 .steps = kRpmSteps,
                 .minCount = 3,
                 .count = columns,
                 .scaleGroup = 1,
                 .colour = 0xFCF2E4});
    tab.SetAxis(index, 2,
                {.name = "TP",
                 .unit = "%",
                 .min = 0,
                 .max = 100,
                 .scale = 1,
                 .steps = kTpSteps,
                 .minCount = 2,
                 .count = rows,
                 .scaleGroup = 2,
                 .colour = 0xECD2F4});
    tab.SetAxis(index, 4,
                {.name = "ADV",
                 .unit = "deg",
                 .min = -200000,
                 .max = 200000,
                 .scale = 0.1,
                 .steps = kAdvanceSteps,
                 .options = 0,
                 .scaleGroup = 4,
                 .colour = 0xFFFFFF});
    CSheet& s = tab.sheets[static_cast<std::size_t>(index)];
    for (int c = 0; c < kMaxColumns; ++c) s.x.points[c] = s.x.prevPoints[c] = 10 + 5 * c;
    for (int r = 0; r < kMaxRows; ++r) s.y.points[r] = s.y.prevPoints[r] = 5 * r;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            s.value(c, r) = (c * 1371 + r * 593 + seed) % 30000 - 3000 + (c == 3 && r == 2 ? 123456 : 0);
    tab.UpdateLimits(s, 0x107);
}

// An editor with two linked sheets of columns x rows (room for at least 20 x 15), the first one current, drawn once.
inline std::unique_ptr<TTab> MakeFixtureTab(QWidget* parent, int width = 760, int height = 380,
                                            TabClipboard* clipboard = nullptr, int columns = 16, int rows = 12)
{
    auto tab = std::make_unique<TTab>(parent, width, height, kFixtureFlags);
    if (clipboard) tab->clipboard = clipboard;
    tab->clipboardFormat = tab->clipboard->RegisterFormat(kSheetFormatName);
    tab->LoadBitmaps();
    for (int i = 0; i < 2; ++i) {
        const int index = tab->AddSheet(
            i == 0 ? "###Advance 1##Vorzündung 1##Předstih 1" : "###Advance 2##Vorzündung 2##Předstih 2", "RPM", "TP",
            "ADV", std::max(columns, 20), std::max(rows, 15), kSheetOperatingPoint | kSheetFastCells);
        FillFixtureSheet(*tab, index, columns, rows, 40 * i);
    }
    tab->sheets[0].leaderId = kFixtureLink;
    tab->sheets[1].followerId = kFixtureLink;
    tab->SelectSheet(0);
    tab->Redraw();
    return tab;
}
