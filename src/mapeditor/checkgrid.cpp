// The check grid view of an on/off map editor: the X and Y points are boundary lines, the cells between them are
// off, on, or on with a second mark. A rubber band toggles the cells it touches; in the proportional layout the
// lines lie at their values and can be dragged or moved with the wheel. Arrows join the lines to the table's heads.
#include <algorithm>
#include <cmath>
#include <string>

#include "mapeditor/cliptext.h"
#include "mapeditor/drawing.h"
#include "mapeditor/graphcommon.h"
#include "mapeditor/numtext.h"
#include "mapeditor/raster.h"
#include "mapeditor/tab.h"
#include "os/lngtext.h"
#include "settings/helpers.h"

namespace {


constexpr TColor kCellOff = 0xE0F0F0;
constexpr TColor kCellOn = 0x008000;
constexpr TColor kWillBeOn = 0x00FF00;
constexpr TColor kWillBeOff = 0x808080;
constexpr TColor kSecondMark = 0x00FF00;
constexpr TColor kLine = 0xFF0000;
constexpr TColor kLineSides = 0xFFFF00;
constexpr TColor kHoveredLine = 0x0000FF;
constexpr TColor kGrid = 0xC0C0C0;
constexpr TColor kLabels = 0x808080;
constexpr TColor kArrows = 0x808080;
constexpr TColor kLiveGreen = 0x00FF00;

constexpr int kXLineTarget = 50;
constexpr int kYLineTarget = 100;

// Lines of an axis the grid draws: none on a collapsed axis, and never more than leave room for the cell beyond
// the last line in the value grid.
int lineCount(const CAxe& axis, int capacity)
{
    return axis.collapsed ? 0 : std::clamp(axis.usedCount(), 0, capacity - 1);
}

struct Geometry
{
    int plotLeft = 0, plotTop = 0, plotRight = 0, plotBottom = 0;
    int columns = 0, rows = 0;  // lines; cells are columns + 1 by rows + 1
};

Geometry geometryOf(const TTabGraph& g, const CSheet& sheet)
{
    Geometry geo;
    geo.plotLeft = g.plotLeft;
    geo.plotBottom = g.plotBottom;
    geo.plotTop = g.plotBottom - g.plotHeight;
    geo.plotRight = g.plotLeft + g.plotWidth;
    geo.columns = lineCount(sheet.x, kMaxColumns);
    geo.rows = lineCount(sheet.y, kMaxRows);
    return geo;
}

// The rectangle of cell (c, r): between the lines c - 1 and c, r - 1 and r (the plot's edges beyond the ends).
TRect cellRect(const TTabGraph& g, const Geometry& geo, int c, int r)
{
    const int left = c == 0 ? geo.plotLeft : g.screenX[static_cast<std::size_t>(c - 1)];
    const int right = c >= geo.columns ? geo.plotRight : g.screenX[static_cast<std::size_t>(c)];
    const int top = r == 0 ? geo.plotTop : g.screenY[static_cast<std::size_t>(r - 1)];
    const int bottom = r >= geo.rows ? geo.plotBottom : g.screenY[static_cast<std::size_t>(r)];
    return {left, top, right, bottom};
}

bool underBand(const TRect& cell, const TSel& sel)
{
    const int left = std::min(sel.anchorX, sel.currentX), right = std::max(sel.anchorX, sel.currentX);
    const int top = std::min(sel.anchorY, sel.currentY), bottom = std::max(sel.anchorY, sel.currentY);
    return cell.left <= right && cell.right >= left && cell.top <= bottom && cell.bottom >= top;
}

void arrow(PixelTarget& px, int x0, int y0, int x1, int y1)
{
    px.Line(x0, y0, x1, y1, kArrows, true);
    const double dx = x1 - x0, dy = y1 - y0, length = std::hypot(dx, dy);
    if (length < 1) return;
    const double ux = dx / length, uy = dy / length;
    const double bx = x1 - 7 * ux, by = y1 - 7 * uy;
    px.Line(x1, y1, TruncPixel(std::lround(bx - 3 * uy)), TruncPixel(std::lround(by + 3 * ux)), kArrows, true);
    px.Line(x1, y1, TruncPixel(std::lround(bx + 3 * uy)), TruncPixel(std::lround(by - 3 * ux)), kArrows, true);
}

}  // namespace

// ---------------------------------------------------------------- layout

void TTab::LayoutCheck()
{
    CSheet* sheet = Current();
    TTabGraph& g = graph;
    ResetHitTable(g.hits);
    g.plotWidth = g.plotHeight = 0;
    g.xScale = g.yScale = 0;
    if (!sheet || !sheet->isAllocated()) return;
    CAxe& X = sheet->x;
    CAxe& Y = sheet->y;
    const int width = backBuffer.Width(), height = backBuffer.Height();
    if (Y.displayHigh > Y.max) Y.displayHigh = Y.max;
    g.plotLeft = g.left;
    g.plotBottom = height - g.bottom - 18;
    g.plotWidth = width - g.left - g.right - 30;
    g.plotHeight = height - g.top - g.bottom - 18;
    const Geometry geo = geometryOf(g, *sheet);
    if (g.proportional) {
        X.displayLow = 0;
        X.displayHigh = X.max;
        Y.displayLow = Y.min;
        Y.displayHigh = Y.max;
        g.xScale = PixelsPerUnit(g.plotWidth, double(X.max));
        g.yScale = PixelsPerUnit(g.plotHeight, double(Y.max) - Y.min);
        X.PickSteps((double(X.displayHigh) - X.displayLow) * SafeScale(X.scale));
        Y.PickSteps((double(Y.displayHigh) - Y.displayLow) * SafeScale(Y.scale));
    } else {
        g.xScale = PixelsPerUnit(g.plotWidth, geo.columns + 1.0);
        g.yScale = PixelsPerUnit(g.plotHeight, geo.rows + 1.0);
    }
    g.hits.width = width;
    g.hits.height = height;
    g.hits.columns = geo.columns;
    g.hits.rows = geo.rows;
    g.hits.cellsOn = 1;
    if (g.plotWidth <= 0 || g.plotHeight <= 0) return;
    const bool byValueX = g.proportional && X.numeric, byValueY = g.proportional && Y.numeric;
    for (int i = 0; i < geo.columns; ++i) {
        const double offset = byValueX ? double(X.points[static_cast<std::size_t>(i)]) - X.displayLow : i + 1.0;
        const int x = TruncPixel(g.plotLeft + offset * g.xScale);
        g.screenX[static_cast<std::size_t>(i)] = x;
        g.hits.xHead(i) = {x - 2, geo.plotTop, x + 2, geo.plotBottom};
    }
    for (int j = 0; j < geo.rows; ++j) {
        const double offset = byValueY ? double(Y.points[static_cast<std::size_t>(j)]) - Y.displayLow : j + 1.0;
        const int y = TruncPixel(geo.plotTop + offset * g.yScale);
        g.screenY[static_cast<std::size_t>(j)] = y;
        g.hits.yHead(j) = {geo.plotLeft, y - 2, geo.plotRight, y + 2};
    }
}

// ---------------------------------------------------------------- paint

void TTab::PaintCheck(TCanvas& c)
{
    CSheet* sheet = Current();
    TTabGraph& g = graph;
    if (!sheet || !sheet->isAllocated()) return;
    const CAxe& X = sheet->x;
    const CAxe& Y = sheet->y;
    const CAxe& D = sheet->data;
    const int width = backBuffer.Width(), height = backBuffer.Height();
    FillBox(c, g.left, g.top, width - g.right - g.left, height - g.bottom - g.top, Color());
    if (g.plotWidth <= 0 || g.plotHeight <= 0 || !(g.xScale > 0) || !(g.yScale > 0)) return;
    const Geometry geo = geometryOf(g, *sheet);
    PixelTarget px(backBuffer, {g.left, g.top, width - g.right, height - g.bottom});
    const TSel& sel = sheet->sel;
    const bool editable = D.editable;
    const TColor off = editable ? kCellOff : ScaleColor(kCellOff, 0.9, 0.9, 0.98);
    const TColor on = editable ? kCellOn : ScaleColor(kCellOn, 0.5, 0.5, 0.5);
    const int fontSize = c.Font.Size;

    // 2. Cells, with what a running band will make of them, and their marks in the index layout.
    if (!g.proportional && checkMark.Empty()) LoadBitmapResource(checkMark, "BTCHK");
    const bool mark = !g.proportional && !checkMark.Empty();
    for (int r = 0; r <= geo.rows; ++r)
        for (int col = 0; col <= geo.columns; ++col) {
            const TRect cell = cellRect(g, geo, col, r);
            const std::int32_t v = sheet->value(col, r);
            TColor colour = v != 0 ? on : off;
            if (g.selecting && underBand(cell, sel)) colour = v == 0 ? kWillBeOn : kWillBeOff;
            px.FillRect(cell.left, cell.top, cell.right, cell.bottom, colour);
            if (v > 1) {
                c.Pen.Color = kSecondMark;
                c.Brush.Style = bsSolid;
                c.Brush.Color = kSecondMark;
                const TPoint t[] = {{cell.left, cell.bottom - 1}, {cell.right - 1, cell.bottom - 1},
                                    {cell.right - 1, cell.top}};
                c.Polygon(t);
            }
            if (g.proportional) continue;
            const int cx = (cell.left + cell.right) / 2, cy = (cell.top + cell.bottom) / 2;
            auto box = [&](int top) {
                c.Pen.Color = clBlack;
                c.Brush.Style = bsSolid;
                c.Brush.Color = colour;
                c.Rectangle(cx - 6, top, cx + 6, top + 12);
            };
            if (v <= 1) {
                box(cy - 6);
                if (v == 1 && mark) c.Draw(cx - 5, cy - 5, checkMark);
            } else {
                box(cy - 16);
                box(cy + 4);
                if (mark) c.Draw(cx - 5, cy + 5, checkMark);
            }
        }

    // 3. Grid and labels of the proportional layout.
    c.Brush.Style = bsClear;
    c.Font.Color = kLabels;
    const int th = c.TextHeight("0");
    if (g.proportional) {
        const double xs = SafeScale(X.scale), ys = SafeScale(Y.scale);
        if (!X.collapsed) {
            int lastRight = -100000;
            ForEachStep(X.displayLow, X.displayHigh, X.currentStep[2] / xs, g.xScale, 3, [&](double v) {
                const int x = TruncPixel(geo.plotLeft + (v - X.displayLow) * g.xScale);
                px.Line(x, geo.plotTop, x, geo.plotBottom, kGrid);
            });
            ForEachStep(X.displayLow, X.displayHigh, X.currentStep[4] / xs, g.xScale, 2, [&](double v) {
                const int x = TruncPixel(geo.plotLeft + (v - X.displayLow) * g.xScale);
                std::string text;
                if (X.numeric) {
                    text = AxisLabelText(X.currentStep[4], v * xs);
                } else {
                    const int i = static_cast<int>(std::lround(v));
                    if (i < 0 || i >= geo.columns) return;
                    text = NumberText(X.points[static_cast<std::size_t>(i)], X.scale);
                }
                const int w = c.TextWidth(text);
                if (x - w / 2 < lastRight + 6) return;
                c.TextOut(x - w / 2, geo.plotBottom + 3, text);
                lastRight = x - w / 2 + w;
            });
        }
        if (!Y.collapsed) {
            int lastY = -100000;
            ForEachStep(Y.displayLow, Y.displayHigh, Y.currentStep[2] / ys, g.yScale, 3, [&](double v) {
                const int y = TruncPixel(geo.plotTop + (v - Y.displayLow) * g.yScale);
                px.Line(geo.plotLeft, y, geo.plotRight, y, kGrid);
            });
            ForEachStep(Y.displayLow, Y.displayHigh, Y.currentStep[4] / ys, g.yScale, th + 2, [&](double v) {
                const int y = TruncPixel(geo.plotTop + (v - Y.displayLow) * g.yScale);
                if (y - lastY < th + 2) return;
                std::string text = AxisLabelText(Y.currentStep[4], v * ys);
                if (!Y.unit.empty()) text += " " + Y.unit;
                c.TextOut(geo.plotRight + 5, y - th / 2, text);
                lastY = y;
            });
        }
    }

    // 4. Axes: left and bottom, a closed frame in the index layout.
    px.Line(geo.plotLeft, geo.plotTop, geo.plotLeft, geo.plotBottom + 2, clBlack);
    px.Line(geo.plotLeft - 1, geo.plotTop, geo.plotLeft - 1, geo.plotBottom + 2, clBlack);
    px.Line(geo.plotLeft - 1, geo.plotBottom, geo.plotRight + 1, geo.plotBottom, clBlack);
    px.Line(geo.plotLeft - 1, geo.plotBottom + 1, geo.plotRight + 1, geo.plotBottom + 1, clBlack);
    if (!g.proportional) {
        px.Line(geo.plotLeft - 1, geo.plotTop, geo.plotRight + 1, geo.plotTop, clBlack);
        px.Line(geo.plotRight, geo.plotTop, geo.plotRight, geo.plotBottom + 2, clBlack);
    }

    // 5. Lines with their hysteresis bands and the arrows from the table's heads.
    PixelTarget all(backBuffer, {0, 0, width, height});
    const TabLayout& L = layout;
    for (int i = 0; i < geo.columns; ++i) {
        const int x = g.screenX[static_cast<std::size_t>(i)];
        if (g.proportional) {
            const int half = TruncPixel(hysteresis * g.xScale / SafeScale(X.scale) + 0.5);
            if (half > 1)
                for (int y = geo.plotTop + 2 * i; y < geo.plotBottom; y += 6) px.Line(x - half, y, x + half, y, kLine);
        }
        px.Line(x - 1, geo.plotTop, x - 1, geo.plotBottom, kLineSides);
        px.Line(x + 1, geo.plotTop, x + 1, geo.plotBottom, kLineSides);
        px.Line(x, geo.plotTop, x, geo.plotBottom, kLine);
        const HitRect& head = visibleHits.rects[static_cast<std::size_t>(kHitXHeads + i)];
        if ((drawnViews & kViewTable) && head.left != 65535)
            arrow(all, (head.left + head.right) / 2, L.tableTop + L.headHeight, x, geo.plotTop);
    }
    for (int j = 0; j < geo.rows; ++j) {
        const int y = g.screenY[static_cast<std::size_t>(j)];
        px.Line(geo.plotLeft, y - 1, geo.plotRight, y - 1, kLineSides);
        px.Line(geo.plotLeft, y + 1, geo.plotRight, y + 1, kLineSides);
        px.Line(geo.plotLeft, y, geo.plotRight, y, kLine);
        const HitRect& head = visibleHits.rects[static_cast<std::size_t>(kHitYHeads + j)];
        if ((drawnViews & kViewTable) && head.left != 65535)
            arrow(all, L.tableLeft + L.yHeadWidth, (head.top + head.bottom) / 2, geo.plotLeft, y);
    }
    const int target = g.hoverTarget;
    const TColor hovered = g.mouseDown ? kLine : kHoveredLine;
    if (target >= kXLineTarget && target < kXLineTarget + geo.columns) {
        const int x = g.screenX[static_cast<std::size_t>(target - kXLineTarget)];
        px.FillRect(x - 1, geo.plotTop, x + 2, geo.plotBottom, hovered);
    } else if (target >= kYLineTarget && target < kYLineTarget + geo.rows) {
        const int y = g.screenY[static_cast<std::size_t>(target - kYLineTarget)];
        px.FillRect(geo.plotLeft, y - 1, geo.plotRight, y + 2, hovered);
    }

    // 6. Live RPM.
    if (g.proportional && X.label == "RPM" && (sheet->flags & kSheetOperatingPoint) &&
        !(live.flags & TabLiveValues::kLiveNone)) {
        const double raw = live.rpm / SafeScale(X.scale);
        if (raw >= X.displayLow && raw <= X.displayHigh) {
            const int x = TruncPixel(geo.plotLeft + (raw - X.displayLow) * g.xScale);
            px.Line(x, geo.plotTop, x, geo.plotBottom, kLiveGreen);
        }
    }

    // 7. The rubber band.
    if (g.selecting) DrawRubberBand(c, sel);
    c.Brush.Style = bsSolid;
    c.Font.Size = fontSize;
    c.Font.Color = clBlack;
    c.Pen.Color = clBlack;
}

// ---------------------------------------------------------------- input

void TTab::MouseMoveCheck()
{
    CSheet* sheet = Current();
    TTabGraph& g = graph;
    if (!sheet || !sheet->isAllocated() || !(g.xScale > 0) || !(g.yScale > 0)) return;
    const Geometry geo = geometryOf(g, *sheet);
    CAxe& X = sheet->x;
    CAxe& Y = sheet->y;
    const int target = g.hoverTarget;
    if (g.mouseDown) {
        if (target >= kXLineTarget && target < kXLineTarget + geo.columns) {
            std::int32_t& p = X.points[static_cast<std::size_t>(target - kXLineTarget)];
            if (X.editable) p = SaturatedRaw(X.displayLow + std::floor((px - g.plotLeft - g.grabOffsetX) / g.xScale + 0.5));
            UpdateLimits(*sheet, kChangedData | kChangedX);
            dirty |= kDirtyRedraw;
            RescaleCheck(p, std::nullopt, true, false);
        } else if (target >= kYLineTarget && target < kYLineTarget + geo.rows) {
            std::int32_t& p = Y.points[static_cast<std::size_t>(target - kYLineTarget)];
            if (Y.editable) p = SaturatedRaw(Y.displayLow + std::floor((py - geo.plotTop - g.grabOffsetY) / g.yScale + 0.5));
            UpdateLimits(*sheet, kChangedData | kChangedY);
            dirty |= kDirtyRedraw;
            RescaleCheck(std::nullopt, p, false, true);
        }
        StatusCheck();
        return;
    }
    if (g.selecting) {
        TSel& sel = sheet->sel;
        sel.currentX = InsidePlot(px, geo.plotLeft, geo.plotRight);
        sel.currentY = InsidePlot(py, geo.plotTop, geo.plotBottom);
        dirty |= kDirtyRedraw;
        StatusCheck();
        return;
    }
    int found = kNoTarget;
    if (overGraph) {
        int best = 1 << 30;
        for (int i = 0; i < geo.columns; ++i) {
            const int d = std::abs(g.screenX[static_cast<std::size_t>(i)] - px);
            if (d < best) {
                best = d;
                found = kXLineTarget + i;
            }
        }
        const int height = backBuffer.Height();
        for (int j = 0; j < geo.rows; ++j) {
            const int y = g.screenY[static_cast<std::size_t>(j)];
            const int d = std::abs(y - py);
            const bool yNearest = found >= kYLineTarget;
            // Lines near the bottom compete with the X labels: a lower Y line needs to be clearly nearer.
            if ((!yNearest && d <= best) || (yNearest && (y > height / 2 ? d <= best - 3 : d <= best))) {
                best = d;
                found = kYLineTarget + j;
            }
        }
        if (!(best < 5 && g.proportional)) found = kNoTarget;
    }
    if (found != target) dirty |= kDirtyRedraw;
    g.hoverTarget = found;
    StatusCheck();
}

bool TTab::MouseDownCheck()
{
    CSheet* sheet = Current();
    TTabGraph& g = graph;
    if (!sheet || !sheet->isAllocated()) return true;
    if (g.mouseDown || g.selecting) return true;
    const Geometry geo = geometryOf(g, *sheet);
    const int target = g.hoverTarget;
    if (target == kNoTarget) {
        if (!sheet->data.editable || geo.plotRight <= geo.plotLeft || geo.plotBottom <= geo.plotTop) return false;
        const int x = InsidePlot(px, geo.plotLeft, geo.plotRight);
        const int y = InsidePlot(py, geo.plotTop, geo.plotBottom);
        sheet->sel.StartGraphDrag(g.hits, x, y, false, false);
        g.selecting = true;
        UpdateHover();
        NotifyChange(0, kChangeBegin);
        dirty |= kDirtyRedraw;
        return true;
    }
    const bool xLine = target < kYLineTarget;
    const CAxe& axis = xLine ? sheet->x : sheet->y;
    if (!axis.editable) return true;
    const int index = target - (xLine ? kXLineTarget : kYLineTarget);
    if (xLine) {
        g.grabOffsetX = px - g.screenX[static_cast<std::size_t>(index)];
        g.grabOffsetY = 0;
    } else {
        g.grabOffsetX = 0;
        g.grabOffsetY = py - g.screenY[static_cast<std::size_t>(index)];
    }
    g.grabHorizontal = axis.points[static_cast<std::size_t>(index)];
    g.mouseDown = 1;
    dirty |= kDirtyRedraw;
    NotifyChange(0, kChangeBegin);
    StatusCheck();
    return true;
}

bool TTab::MouseUpCheck()
{
    CSheet* sheet = Current();
    TTabGraph& g = graph;
    if (!sheet || !sheet->isAllocated()) return false;
    if (g.mouseDown) {
        g.mouseDown = 0;
        dirty |= kDirtyRedraw;
        NotifyChange(kChangedX | kChangedY, kChangeEnd);
        StatusCheck();
        return true;
    }
    if (!g.selecting) return false;
    const Geometry geo = geometryOf(g, *sheet);
    TSel& sel = sheet->sel;
    for (int r = 0; r <= geo.rows; ++r)
        for (int col = 0; col <= geo.columns; ++col)
            if (underBand(cellRect(g, geo, col, r), sel)) {
                std::int32_t& v = sheet->value(col, r);
                v = v == 0 ? 1 : 0;
            }
    NotifyChange(kChangedData, kChangeEnd);
    sel.Commit(g.hits);
    g.selecting = false;
    UpdateHover();
    dirty |= kDirtyRedraw;
    return false;
}

bool TTab::RightClickCheck()
{
    CSheet* sheet = Current();
    if (!sheet) return false;
    if (graph.selecting) dirty |= kDirtyRedraw;
    graph.selecting = false;
    sheet->sel.Reset();
    return false;
}

bool TTab::WheelCheck(int steps)
{
    CSheet* sheet = Current();
    TTabGraph& g = graph;
    if (!sheet || !sheet->isAllocated()) return false;
    if (g.mouseDown) return true;
    const Geometry geo = geometryOf(g, *sheet);
    const int target = g.hoverTarget;
    const bool xLine = target >= kXLineTarget && target < kXLineTarget + geo.columns;
    const bool yLine = target >= kYLineTarget && target < kYLineTarget + geo.rows;
    if (!xLine && !yLine) return false;
    CAxe& axis = xLine ? sheet->x : sheet->y;
    if (!axis.editable) return false;
    const int index = target - (xLine ? kXLineTarget : kYLineTarget);
    // Wheel steps on one line make one change for the owner.
    const int key = 0x140000 + (xLine ? index : 0x100 + index);
    NotifyChange(0, key);
    std::int32_t& p = axis.points[static_cast<std::size_t>(index)];
    p = static_cast<std::int32_t>(std::clamp<std::int64_t>(std::int64_t{p} + (steps > 0 ? 1 : -1), INT32_MIN, INT32_MAX));
    NotifyChange(xLine ? kChangedX : kChangedY, key);
    dirty |= kDirtyRecompute;
    return true;
}

void TTab::StatusCheck()
{
    CSheet* sheet = Current();
    TTabGraph& g = graph;
    g.status.clear();
    if (!sheet || !sheet->isAllocated()) return;
    const Geometry geo = geometryOf(g, *sheet);
    const int target = g.hoverTarget;
    const bool xLine = target >= kXLineTarget && target < kXLineTarget + geo.columns;
    const bool yLine = target >= kYLineTarget && target < kYLineTarget + geo.rows;
    if (!xLine && !yLine) return;
    const CAxe& axis = xLine ? sheet->x : sheet->y;
    const int index = target - (xLine ? kXLineTarget : kYLineTarget);
    g.status = (g.mouseDown ? DraggingPrefix() : std::string()) + pickText(axis.label) + " = " +
               NumberText(axis.points[static_cast<std::size_t>(index)], axis.scale, axis.unit, true);
}

void TTab::RescaleCheck(std::optional<std::int32_t> x, std::optional<std::int32_t> y, bool followX, bool followY)
{
    TTabGraph& g = graph;
    const double oldX = g.xScale, oldY = g.yScale;
    LayoutCheck();
    dirty |= kDirtyRedraw;
    CSheet* sheet = Current();
    if (!sheet || !(g.xScale > 0) || !(g.yScale > 0)) return;
    int mx = px, my = py;
    if (followX && x && g.xScale != oldX)
        mx = TruncPixel((double(*x) - sheet->x.displayLow) * g.xScale + g.plotLeft + g.grabOffsetX);
    if (followY && y && g.yScale != oldY)
        my = TruncPixel((double(*y) - sheet->y.displayLow) * g.yScale + (g.plotBottom - g.plotHeight) + g.grabOffsetY);
    warpPointer(mx, my);
}
