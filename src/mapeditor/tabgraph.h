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

// The 3-D view's projection, worked out by TTab::Prepare3D: the rotated unit rows (each normalised by the sum of
// its entries' magnitudes, so that the projected box is as wide and high as the surface area), the same rows
// scaled by the axes for drawing, and where the origin lies.
struct Projection3D
{
    bool valid = false;  // false while the surface area has no room (a control shrunk to a few pixels)
    std::array<std::array<double, 3>, 3> rows{};
    std::array<std::array<double, 3>, 3> draw{};
    double aspect = 1.0;
    int width = 0, height = 0;  // of the surface area
    int originX = 0, originY = 0, xOffset = 0;

    // Screen point and depth (larger is nearer) of x along the view's X axis, h up, z along its Y axis, each
    // measured from its axis's display low in raw units.
    void Project(double x, double h, double z, double& sx, double& sy, double& depth) const
    {
        sx = originX + (xOffset + draw[0][0] * x + draw[0][1] * h + draw[0][2] * z) * aspect;
        sy = originY - (draw[1][0] * x + draw[1][1] * h + draw[1][2] * z);
        depth = draw[2][0] * x + draw[2][1] * h + draw[2][2] * z;
    }
};

inline constexpr int kNoTarget = -100;  // hover target: nothing

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
    Projection3D projection;               // 3-D
    int dragStartX = 0, dragStartY = 0;    // 3-D rotation drag: where it began
    std::array<int, 3> dragStartAngles{};
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
    // 2-D: a point's grid index, -1 a curve start (base advance), -2 the limiter, -3 the start limiter;
    // check grid: 50 + i an X line, 100 + j a Y line; -100 nothing in both.
    int hoverTarget = kNoTarget;
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
