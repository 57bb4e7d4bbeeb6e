#pragma once
// The state the graph views of a map editor share (`TTabGraph`): which axes they show, their margins and plot
// geometry, the screen positions of the drawn points, the 3-D rotation, the drag state, the status text; and the
// autoscale that works out the shown ranges before a graph is drawn.
#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "mapeditor/sheet.h"

// The guide values of a map editor: base advance in shown data units, limiter and start limiter in RPM.
struct TabGuides
{
    std::int32_t baseAdvance = 0;
    std::int32_t limiter = 0;
    std::int32_t startLimiter = 0;
};

// Graph modes.
inline constexpr int kGraphCurveX = 1;   // Y collapsed: one curve along X
inline constexpr int kGraphCurveY = 2;   // X collapsed: one curve along Y
inline constexpr int kGraphStacked = 3;  // both axes in use: every row a curve, stacked

class TTabGraph final
{
public:
    int mode = 0;
    CAxe* first = nullptr;       // X of the current sheet (Y under sheet flag 0x2)
    CAxe* second = nullptr;      // the other one
    CAxe* data = nullptr;        // the current sheet's data axis
    CAxe* horizontal = nullptr;  // along the 2-D graph's width (set by Autoscale)
    CAxe* curves = nullptr;      // whose points are the 2-D graph's curves
    TSel* sel = nullptr;         // the current sheet's selection
    HitTable hits{};             // one 5 x 5 rectangle around every drawn point, in the cell group
    std::array<std::int32_t, kGridCells> screenX{}, screenY{};  // point i of curve k at k * 50 + i
    std::array<std::int32_t, kGridCells> compareX{}, compareY{};
    std::array<std::int32_t, kMaxColumns> curveStartY{};
    int shiftHeld = 0, ctrlHeld = 0;
    double xScale = 0, yScale = 0;                 // pixels per raw unit
    int left = 0, right = 0, top = 0, bottom = 0;  // margins, set by TTab::SetView
    int plotLeft = 0, plotBottom = 0, plotWidth = 0, plotHeight = 0;
    std::array<int, 3> angles{-5, 24, 0};  // 3-D rotation in 5-degree units (X, XY, XYZ)
    int colouring = 5;                     // 3-D colouring: 0 wire net, 1 one colour, 2..5 height colours
    int scaleSpace = 140;                  // 3-D: width kept for the colour scale; left edge of a copied picture
    int hintFlags = 3;                     // 3-D: which hints are still offered
    int labelMode = 0;                     // 3-D value labels: 0 none .. 3 all
    int proportional = 0;                  // check grid: lines placed by value
    std::int32_t rowOffset = 0;            // raw amount by which each stacked curve lies above the next
    std::int32_t firstRowTop = 0;
    std::int32_t graphTop = 0;
    int stepAlong = 1, stepBetween = kGridStride, curveBase = 0;
    int mouseDown = 0;       // a point, guide line or check-grid line is dragged
    bool selecting = false;  // a selection band is dragged in a graph view
    int dragCurve = 0;
    int grabOffsetX = 0, grabOffsetY = 0;
    std::int32_t grabHorizontal = 0, grabValue = 0;
    int hoverTarget = 0;
    int currentCurve = 0, curveCount = 0;
    std::string status;  // hint text of the graph views (shown as the editor's hint)

    // Range of the first (which 1) or second (which 2) axis over the current sheet and its joined sheets.
    void AxisRange(std::span<const CSheet> sheets, int current, int which, std::int32_t& low, std::int32_t& high) const;
    // Range of the values, the largest row (or column) step and the largest value of the first row.
    void ValueRange(std::span<const CSheet> sheets, int current, std::int32_t& low, std::int32_t& high,
                    std::int32_t& rowStep, std::int32_t& firstRowTop) const;
    // Shown ranges of the first, second and data axes (their display low and high), rounded to the steps of
    // their span/step tables; the 2-D graph's horizontal and curve axes. Needs first, second and data set.
    void Autoscale(std::span<const CSheet> sheets, int current, const TabGuides& guides, bool twoDDrawn);
};

// Whether `other` takes part in the ranges of the current sheet's axis `which` (1 first, 2 second, 4 data).
[[nodiscard]] bool JoinedSheet(const CSheet& current, const CSheet& other, int which);
