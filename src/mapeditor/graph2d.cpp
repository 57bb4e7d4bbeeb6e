// The 2-D graph view of the map editor: every row (or column) of the sheet as a curve, stacked one above the other
// when both axes are in use, with the guide lines, the live lines and the operating point; points are picked with
// a rubber band, dragged to new values and stepped with the wheel.
#include <algorithm>
#include <cmath>
#include <string>

#include "mapeditor/cellstep.h"
#include "mapeditor/drawing.h"
#include "mapeditor/graphcommon.h"
#include "mapeditor/numtext.h"
#include "mapeditor/raster.h"
#include "mapeditor/tab.h"
#include "os/lngtext.h"

namespace {

constexpr std::string_view kBaseAdvanceText = "###Base advance##Base vorrücken##Základní předstih";
constexpr std::string_view kLimiterText = "###Limiter##Limiter##Omezovač";
constexpr std::string_view kStartLimiterText = "###Start limiter##Start limiter##Startovací omezovač";

constexpr TColor kPlotOne = 0xFFFFFF;
constexpr TColor kPlotStacked = 0xF0FBFF;
constexpr TColor kLimiterShade = 0xDDDDDD;
constexpr TColor kLimiterShadeStacked = 0xC0D5DD;
constexpr TColor kStartLimiterBand = 0xC0FFFF;
constexpr TColor kGrid = 0xC0C0C0;
constexpr TColor kLabels = 0x808080;
constexpr TColor kOtherCurves = 0x808080;
constexpr TColor kMarkerFill = 0x808080;
constexpr TColor kCurrentMarkerFill = 0x00FFFF;
constexpr TColor kCornerFill = 0x008000;
constexpr TColor kLiveGreen = 0x00FF00;
constexpr TColor kLiveBlue = 0xFF0000;

constexpr int kHoverDistance = 5;

bool marked(std::uint16_t mark)
{
    return (mark & (kMarkCommitted | kMarkPicked)) != 0;
}

bool labelledRpm(const CAxe* axis)
{
    return axis && axis->label == "RPM";
}

int clampIndex(int v, int n)
{
    return std::clamp(v, 0, std::max(0, n - 1));
}

// The geometry of the curves as the layout left it: which grid value is point i of curve k.
struct Curves
{
    CSheet& sheet;
    TTabGraph& g;
    CAxe& H;  // horizontal axis
    CAxe& D;  // data
    int points = 0;   // along every curve
    int curves = 0;   // how many curves
    bool hIsX = true;

    Curves(CSheet& s, TTabGraph& graph) : sheet(s), g(graph), H(*graph.horizontal), D(*graph.data)
    {
        hIsX = &H == &s.x;
        points = std::min(H.usedCount(), hIsX ? kMaxColumns : kMaxRows);
        curves = std::clamp(g.curveCount, 1, hIsX ? kMaxRows : kMaxColumns);
    }
    [[nodiscard]] int index(int k, int i) const
    {
        const int idx = i * g.stepAlong + k * g.stepBetween + g.curveBase;
        return std::clamp(idx, 0, kGridCells - 1);
    }
    [[nodiscard]] int curveOf(int idx) const
    {
        if (curves <= 1) return 0;
        return hIsX ? idx / kGridStride : idx % kGridStride;
    }
    [[nodiscard]] int pointOf(int idx) const { return hIsX ? idx % kGridStride : idx / kGridStride; }
    [[nodiscard]] double stack(int k) const { return double(curves - k - 1) * g.rowOffset; }
    [[nodiscard]] std::uint16_t mark(int idx) const
    {
        return sheet.sel.cellMark(idx % kGridStride, idx / kGridStride);
    }
    [[nodiscard]] bool hasStart() const { return (sheet.flags & kSheetBaseAdvance) && labelledRpm(&H); }
};

}  // namespace

// ---------------------------------------------------------------- layout

void TTab::Layout2D()
{
    CSheet* sheet = Current();
    TTabGraph& g = graph;
    ResetHitTable(g.hits);
    g.plotWidth = g.plotHeight = 0;
    g.xScale = g.yScale = 0;
    if (!sheet || !sheet->isAllocated() || !g.horizontal || !g.curves || !g.data) return;
    const int width = backBuffer.Width(), height = backBuffer.Height();
    const int curveCount = std::max(1, g.curveCount);
    g.plotLeft = g.left + 45;
    g.plotBottom = height - g.bottom - 18;
    g.plotWidth = width - g.left - g.right - 45 - (curveCount > 1 ? 30 : 15);
    g.plotHeight = height - g.top - g.bottom - 26;
    const CAxe& H = *g.horizontal;
    const CAxe& D = *g.data;
    g.xScale = PixelsPerUnit(g.plotWidth, double(H.displayHigh) - H.displayLow);
    g.yScale = PixelsPerUnit(g.plotHeight, double(g.graphTop) - D.displayLow);
    const bool hIsX = g.horizontal == &sheet->x;
    g.stepAlong = hIsX ? 1 : kGridStride;
    g.stepBetween = hIsX ? kGridStride : 1;
    g.curveBase = g.curves->collapsed ? g.curves->resolveCollapsedIndex() * g.stepBetween : 0;

    g.hits.width = width;
    g.hits.height = height;
    g.hits.columns = std::min(sheet->x.usedCount(), kMaxColumns);
    g.hits.rows = std::min(sheet->y.usedCount(), kMaxRows);
    g.hits.cellsOn = 1;
    if (g.plotWidth <= 0 || g.plotHeight <= 0) return;  // no room: nothing drawn, nothing to hit

    Curves cv(*sheet, g);
    g.currentCurve = cv.curves > 1 ? std::clamp(g.currentCurve, 0, cv.curves - 1) : 0;
    for (int k = 0; k < cv.curves; ++k) {
        const double stack = cv.stack(k);
        auto yOf = [&](double offset) { return TruncPixel(g.plotBottom - (offset + stack) * g.yScale); };
        double start = double(D.points[static_cast<std::size_t>(cv.index(k, 0))]) - D.displayLow;
        if (cv.hasStart()) start = std::trunc(guides.baseAdvance / SafeScale(D.scale) - D.displayLow);
        g.curveStartY[static_cast<std::size_t>(std::min(k, kMaxColumns - 1))] = yOf(start);
        for (int i = 0; i < cv.points; ++i) {
            const int idx = cv.index(k, i);
            const double h = H.numeric ? double(H.points[static_cast<std::size_t>(i)]) - H.displayLow : double(i);
            const int x = TruncPixel(g.plotLeft + h * g.xScale);
            const int y = yOf(double(D.points[static_cast<std::size_t>(idx)]) - D.displayLow);
            g.screenX[static_cast<std::size_t>(idx)] = x;
            g.screenY[static_cast<std::size_t>(idx)] = y;
            g.hits.rects[static_cast<std::size_t>(kHitCells + idx)] = {x - 2, y - 2, x + 2, y + 2};
        }
    }

    // The comparison set, with its own points along the horizontal axis.
    const int compare = std::min(H.compareCount, static_cast<int>(H.comparePoints.size()));
    if (compare > 0 && D.comparePoints.size() >= static_cast<std::size_t>(kGridCells)) {
        for (int k = 0; k < cv.curves; ++k)
            for (int i = 0; i < std::min(compare, cv.points); ++i) {
                const int idx = cv.index(k, i);
                const double h = H.numeric ? double(H.comparePoints[static_cast<std::size_t>(i)]) - H.displayLow : i;
                g.compareX[static_cast<std::size_t>(idx)] = TruncPixel(g.plotLeft + h * g.xScale);
                g.compareY[static_cast<std::size_t>(idx)] = TruncPixel(
                    g.plotBottom -
                    (double(D.comparePoints[static_cast<std::size_t>(idx)]) - D.displayLow + cv.stack(k)) * g.yScale);
            }
    }
}

// ---------------------------------------------------------------- paint

void TTab::Paint2D(TCanvas& c)
{
    CSheet* sheet = Current();
    TTabGraph& g = graph;
    if (!sheet || !sheet->isAllocated() || !g.horizontal || !g.data) return;
    const int width = backBuffer.Width(), height = backBuffer.Height();
    const TColor face = Color();
    FillBox(c, g.left, g.top, width - g.right - g.left, height - g.bottom - g.top, face);
    if (g.plotWidth <= 0 || g.plotHeight <= 0 || !(g.xScale > 0) || !(g.yScale > 0)) return;

    Curves cv(*sheet, g);
    const CAxe& H = cv.H;
    const CAxe& D = cv.D;
    const int plotLeft = g.plotLeft, plotBottom = g.plotBottom;
    const int plotRight = plotLeft + g.plotWidth, plotTop = plotBottom - g.plotHeight;
    const bool stacked = cv.curves > 1;
    const int currentCurve = g.currentCurve;
    const double hScale = SafeScale(H.scale), dScale = SafeScale(D.scale);
    auto xOfRaw = [&](double raw) { return TruncPixel(plotLeft + (raw - H.displayLow) * g.xScale); };
    auto yOfOffset = [&](double offset) { return TruncPixel(plotBottom - offset * g.yScale); };

    // 1. The interpolation preview: the curves come from a copy interpolated over the selection rectangle.
    const std::int32_t* values = D.points.data();
    const TSel& sel = sheet->sel;
    const bool preview = interpHandle && sel.rectangle && sel.rectLeft >= 0 && sel.rectTop >= 0 &&
                         sel.rectRight < kMaxColumns && sel.rectBottom < kMaxRows;
    if (preview) {
        std::copy(D.points.begin(), D.points.end(), previewBuffer.begin());
        const std::span<const std::int32_t> xs =
            sheet->x.numeric ? std::span<const std::int32_t>(sheet->x.points) : std::span<const std::int32_t>();
        const std::span<const std::int32_t> ys =
            sheet->y.numeric ? std::span<const std::int32_t>(sheet->y.points) : std::span<const std::int32_t>();
        InterpolateRect(previewBuffer, kGridStride, xs, ys, sel.rectLeft, sel.rectTop, sel.rectRight, sel.rectBottom);
        values = previewBuffer.data();
    }
    auto screenY = [&](int idx) {
        if (!preview) return g.screenY[static_cast<std::size_t>(idx)];
        return yOfOffset(double(values[idx]) - D.displayLow + cv.stack(cv.curveOf(idx)));
    };
    auto screenX = [&](int idx) { return g.screenX[static_cast<std::size_t>(idx)]; };

    PixelTarget px(backBuffer, {g.left, g.top, width - g.right, height - g.bottom});
    PixelTarget plot(backBuffer, {plotLeft, plotTop, plotRight + 1, plotBottom + 1});

    // 2. Grounds: the plot, and with several curves the current curve's band.
    const int bandBottom = yOfOffset(cv.stack(currentCurve));
    const int bandTop = yOfOffset(double(D.displayHigh) - D.displayLow + cv.stack(currentCurve));
    px.FillRect(plotLeft, plotTop, plotRight, plotBottom, stacked ? kPlotStacked : kPlotOne);
    if (stacked) plot.FillRect(plotLeft, std::max(plotTop, bandTop), plotRight, std::min(plotBottom, bandBottom), kPlotOne);

    // 3. Limiter shading and the start limiter's band.
    const bool rpm = labelledRpm(&H);
    const int limiterX = xOfRaw(guides.limiter / hScale);
    const int startLimiterX = xOfRaw(guides.startLimiter / hScale);
    if (rpm && (sheet->flags & kSheetLimiter)) {
        const int from = std::max(limiterX, plotLeft);
        plot.FillRect(from, plotTop, plotRight, plotBottom, stacked ? kLimiterShadeStacked : kLimiterShade);
        if (stacked)
            plot.FillRect(from, std::max(plotTop, bandTop), plotRight, std::min(plotBottom, bandBottom), kLimiterShade);
    }
    if (rpm && (sheet->flags & kSheetStartLimiter))
        plot.FillRect(startLimiterX - 10, plotTop, startLimiterX + 10, plotBottom, kStartLimiterBand);

    // 4. Grid.
    ForEachStep(H.displayLow, H.displayHigh, H.currentStep[2] / hScale, g.xScale, 3, [&](double v) {
        const int x = xOfRaw(v);
        px.Line(x, plotBottom + 3, x, plotTop, kGrid);
    });
    ForEachStep(D.displayLow, g.graphTop, D.currentStep[2] / dScale, g.yScale, 3, [&](double v) {
        const int y = yOfOffset(v - D.displayLow);
        px.Line(plotLeft - 3, y, plotRight, y, kGrid);
    });
    if (stacked) px.Line(plotLeft - 3, bandBottom, plotRight, bandBottom, kGrid);

    // 5. Labels of the horizontal axis, skipped where they would overlap the previous one.
    c.Brush.Style = bsClear;
    c.Font.Color = kLabels;
    c.Font.Style = 0;
    const int fontSize = c.Font.Size;
    int lastRight = -100000;
    ForEachStep(H.displayLow, H.displayHigh, H.currentStep[4] / hScale, g.xScale, 2, [&](double v) {
        std::string text;
        if (H.numeric) {
            text = AxisLabelText(H.currentStep[4], v * hScale);
        } else {
            const int i = static_cast<int>(std::lround(v));
            if (i < 0 || i >= cv.points) return;
            text = NumberText(H.points[static_cast<std::size_t>(i)], H.scale, H.unit, true);
        }
        const int x = xOfRaw(v), w = c.TextWidth(text);
        if (x - w / 2 < lastRight + 6) return;
        c.TextOut(x - w / 2, plotBottom + 4, text);
        lastRight = x - w / 2 + w;
    });

    // 6. Labels of the values, left of a single curve or right of a stack, on the current curve's scale.
    const int textHeight = c.TextHeight("0");
    int lastY = 100000;
    ForEachStep(D.displayLow, g.graphTop, D.currentStep[4] / dScale, g.yScale, textHeight + 2, [&](double v) {
        const int y = yOfOffset(v - D.displayLow + cv.stack(currentCurve));
        if (y < plotTop || y > plotBottom || lastY - y < textHeight + 2) return;
        std::string text = AxisLabelText(D.currentStep[4], v * dScale);
        if (!D.unit.empty()) text += " " + D.unit;
        const int w = c.TextWidth(text);
        c.TextOut(stacked ? plotRight + 5 : plotLeft - 5 - w, y - textHeight / 2, text);
        lastY = y;
    });

    // 7. Axes, two pixels wide.
    px.Line(plotLeft, plotTop, plotLeft, plotBottom + 2, clBlack);
    px.Line(plotLeft - 1, plotTop, plotLeft - 1, plotBottom + 2, clBlack);
    px.Line(plotLeft - 1, plotBottom, plotRight + 1, plotBottom, clBlack);
    px.Line(plotLeft - 1, plotBottom + 1, plotRight + 1, plotBottom + 1, clBlack);

    // 8. Live lines.
    const bool liveData = !(live.flags & TabLiveValues::kLiveNone);
    if ((sheet->flags & kSheetOperatingPoint) && liveData) {
        auto liveLine = [&](double shown, TColor colour) {
            const double raw = shown / hScale;
            if (raw < H.displayLow || raw > H.displayHigh) return;
            const int x = xOfRaw(raw);
            px.Line(x, plotTop, x, plotBottom, colour);
        };
        if (rpm) liveLine(live.rpm, kLiveGreen);
        if (g.curves && g.curves->hasStringView())
            for (int k = 0; k < std::min(2, g.curves->usedCount()); ++k) {
                const int kind = g.curves->points[static_cast<std::size_t>(k)] / 1000;
                if (kind == 11) liveLine(live.tw, kLiveGreen);
                if (kind == 12) liveLine(live.ta, kLiveBlue);
            }
    }

    // 9.-10. Comparison curves, then the curves: from the curve start through every point, with the level lead-in
    // and lead-out the sheet's flags allow. The current curve is drawn last, over the others.
    auto course = [&](int k, auto xAt, auto yAt, int count, auto colourOf) {
        if (count <= 0) return;
        const int startY = g.curveStartY[static_cast<std::size_t>(std::min(k, kMaxColumns - 1))];
        const int firstX = xAt(0), firstY = yAt(0);
        if (!(sheet->flags & kSheetNoLeadIn)) {
            plot.WideLine(plotLeft, startY, firstX, startY, colourOf(-1), 2);
            plot.WideLine(firstX, startY, firstX, firstY, colourOf(-1), 2);
        }
        for (int i = 1; i < count; ++i) plot.WideLine(xAt(i - 1), yAt(i - 1), xAt(i), yAt(i), colourOf(i), 2);
        if (!(sheet->flags & kSheetNoLeadOut)) {
            const int lastY2 = yAt(count - 1);
            plot.WideLine(xAt(count - 1), lastY2, plotRight, lastY2, colourOf(-1), 2);
        }
    };
    const int compare = std::min({H.compareCount, static_cast<int>(H.comparePoints.size()), cv.points});
    if (compare > 0 && D.comparePoints.size() >= static_cast<std::size_t>(kGridCells))
        for (int k = 0; k < cv.curves; ++k)
            course(
                k, [&](int i) { return g.compareX[static_cast<std::size_t>(cv.index(k, i))]; },
                [&](int i) { return g.compareY[static_cast<std::size_t>(cv.index(k, i))]; }, compare,
                [&](int) { return static_cast<TColor>(sheet->compareColour); });
    auto drawCurve = [&](int k) {
        const TColor colour = k == currentCurve ? sheet->currentRowColour : kOtherCurves;
        course(
            k, [&](int i) { return screenX(cv.index(k, i)); }, [&](int i) { return screenY(cv.index(k, i)); },
            cv.points, [&](int i) {
                if (i >= 1 && marked(cv.mark(cv.index(k, i - 1))) && marked(cv.mark(cv.index(k, i))))
                    return static_cast<TColor>(sheet->selectionColour);
                return colour;
            });
    };
    for (int k = 0; k < cv.curves; ++k)
        if (k != currentCurve) drawCurve(k);
    drawCurve(currentCurve);
    if (stacked && g.curves) {
        for (int k = 0; k < cv.curves; ++k) {
            std::string label;
            const CAxe& B = *g.curves;
            if (B.hasStringView()) {
                if (const auto part = B.StringViewText(k, 1)) label = std::string(GetLngText(*part));
            } else {
                label = NumberText(B.points[static_cast<std::size_t>(k)], B.scale, B.unit, true);
            }
            if (label.size() > 31) label.resize(31);
            const int y = g.curveStartY[static_cast<std::size_t>(std::min(k, kMaxColumns - 1))];
            if (y < plotTop - textHeight || y > plotBottom + textHeight) continue;
            c.Font.Color = k == currentCurve ? static_cast<TColor>(sheet->currentRowColour) : kLabels;
            c.TextOut(plotLeft - 5 - c.TextWidth(label), y - textHeight / 2, label);
        }
        c.Font.Color = kLabels;
    }

    // 11. Markers: rounded squares, selected ones in the selection colour with a second square around them.
    for (int k = 0; k < cv.curves; ++k) {
        const TColor colour = k == currentCurve ? sheet->currentRowColour : kOtherCurves;
        for (int i = 0; i < cv.points; ++i) {
            const int idx = cv.index(k, i);
            const int x = screenX(idx), y = screenY(idx);
            const std::uint16_t m = cv.mark(idx);
            TColor fill = k == currentCurve ? kCurrentMarkerFill : kMarkerFill;
            TColor pen = colour;
            if (marked(m)) {
                pen = sheet->selectionColour;
                fill = (m & kMarkCorner) ? kCornerFill : static_cast<TColor>(sheet->selectionColour);
                px.RoundedBox(x - 5, y - 5, x + 5, y + 5, pen, PixelTarget::clNone);
            }
            if (preview && values[idx] != D.points[static_cast<std::size_t>(idx)]) fill = kCurrentMarkerFill;
            px.RoundedBox(x - 3, y - 3, x + 3, y + 3, pen, fill);
        }
        if (cv.hasStart()) {
            const int y = g.curveStartY[static_cast<std::size_t>(std::min(k, kMaxColumns - 1))];
            px.RoundedBox(plotLeft - 3, y - 3, plotLeft + 3, y + 3, colour,
                          k == currentCurve ? kCurrentMarkerFill : kMarkerFill);
        }
    }

    // 12. The operating point: two rings in the colour of its state; on label sheets the label rows.
    c.Brush.Style = bsClear;
    c.Pen.Width = 1;
    auto rings = [&](int idx, TColor colour) {
        const int x = screenX(idx), y = screenY(idx);
        c.Pen.Color = colour;
        c.Ellipse(x - 7, y - 7, x + 7, y + 7);
        c.Ellipse(x - 8, y - 8, x + 8, y + 8);
    };
    if ((sheet->flags & kSheetOperatingPoint) && sheet->opState > 0 && sheet->opColumn >= 0 && sheet->opRow >= 0 &&
        sheet->opColumn < cv.sheet.x.usedCount() && sheet->opRow < cv.sheet.y.usedCount())
        rings(gridIndex(sheet->opColumn, sheet->opRow), sheet->opState == 1 ? colours[10] : colours[11]);
    if (sheet->x.hasStringView() && g.curves == &sheet->x)
        for (int k = 0; k < 2; ++k) {
            const int row = sheet->labelRows[static_cast<std::size_t>(k)];
            if (row >= 0 && row < sheet->y.usedCount() && k < sheet->x.usedCount())
                rings(gridIndex(k, row), k == 0 ? kLiveGreen : kLiveBlue);
        }

    // 13. Hover marks.
    const TColor hoverColour = g.mouseDown ? sheet->selectionColour : sheet->currentRowColour;
    auto hoverSquare = [&](int x, int y) {
        px.Line(x - 5, y - 5, x + 4, y - 5, hoverColour, true);
        px.Line(x - 5, y + 4, x + 4, y + 4, hoverColour, true);
        px.Line(x - 5, y - 5, x - 5, y + 4, hoverColour, true);
        px.Line(x + 4, y - 5, x + 4, y + 4, hoverColour, true);
    };
    const int target = g.hoverTarget;
    if (target == -1 && cv.hasStart()) {
        for (int k = 0; k < cv.curves; ++k)
            hoverSquare(plotLeft, g.curveStartY[static_cast<std::size_t>(std::min(k, kMaxColumns - 1))]);
    } else if (target >= 0 && target < kGridCells) {
        hoverSquare(screenX(target), screenY(target));
        if (marked(cv.mark(target))) {
            const int grabbedCurve = cv.curveOf(target), grabbedPoint = cv.pointOf(target);
            for (int k = 0; k < cv.curves; ++k)
                for (int i = 0; i < cv.points; ++i) {
                    const int idx = cv.index(k, i);
                    const bool moves = marked(cv.mark(idx)) || (g.shiftHeld && k == grabbedCurve) ||
                                       (g.ctrlHeld && i == grabbedPoint);
                    if (moves && idx != target) hoverSquare(screenX(idx), screenY(idx));
                }
        }
    } else if ((target == -2 || target == -3) && rpm) {
        const int x = target == -2 ? limiterX : startLimiterX;
        plot.WideLine(x, plotTop, x, plotBottom, hoverColour, 2);
    }

    // 14. The rubber band.
    if (g.selecting) DrawRubberBand(c, sel);

    // 15. The way back to the table when the graph is the only view.
    if (drawnViews == kView2D && !(flagWord & kTabSideBar) && sheet->y.usedCount() > 1 &&
        !bitmaps[kBmpGraphSwitch].Empty()) {
        const int rows = sheet->y.collapsed ? 1 : std::min(sheet->y.usedCount(), layout.visibleRows);
        c.Draw(layout.tableLeft - 10, TruncPixel(layout.cellsTop + rows * layout.cellHeight - 2),
               bitmaps[kBmpGraphSwitch]);
    }
    c.Brush.Style = bsSolid;
    c.Font.Size = fontSize;
    c.Font.Color = clBlack;
    c.Pen.Color = clBlack;
}

// ---------------------------------------------------------------- input

void TTab::MouseMove2D()
{
    CSheet* sheet = Current();
    TTabGraph& g = graph;
    if (!sheet || !sheet->isAllocated() || !g.horizontal || !g.data || !(g.xScale > 0) || !(g.yScale > 0)) return;
    Curves cv(*sheet, g);
    CAxe& H = cv.H;
    CAxe& D = cv.D;
    const int plotRight = g.plotLeft + g.plotWidth, plotTop = g.plotBottom - g.plotHeight;

    if (g.mouseDown) {
        const double dx = px - g.plotLeft - g.grabOffsetX, dy = py - g.plotBottom - g.grabOffsetY;
        const int target = g.hoverTarget;
        const int k = target >= 0 ? cv.curveOf(target) : g.dragCurve;
        const double rawH = H.displayLow + std::floor(dx / g.xScale + 0.5);
        const double rawV = D.displayLow + (-std::floor(dy / g.yScale + 0.5) - cv.stack(k));
        if (target >= 0 && target < kGridCells) {
            const int i = cv.pointOf(target);
            std::int32_t& hPoint = H.points[static_cast<std::size_t>(std::min(i, static_cast<int>(H.points.size()) - 1))];
            std::int32_t& value = D.points[static_cast<std::size_t>(target)];
            const std::int32_t oldH = hPoint, oldV = value;
            if (H.editable && H.numeric) hPoint = SaturatedRaw(rawH);
            if (D.editable) value = SaturatedRaw(rawV);
            const int axisFlag = cv.hIsX ? kChangedX : kChangedY;
            UpdateLimits(*sheet, kChangedData | axisFlag);
            const std::int64_t dh = std::int64_t{hPoint} - oldH, dv = std::int64_t{value} - oldV;
            if (dh != 0 || dv != 0) {
                // Everything a drag of this point takes along.
                const bool grabbedSelected = marked(cv.mark(target));
                std::array<bool, kMaxRows + kMaxColumns> curveHasSelected{};
                std::array<bool, kMaxRows + kMaxColumns> pointHasSelected{};
                for (int kk = 0; kk < cv.curves; ++kk)
                    for (int ii = 0; ii < cv.points; ++ii)
                        if (marked(cv.mark(cv.index(kk, ii)))) {
                            curveHasSelected[static_cast<std::size_t>(kk)] = true;
                            pointHasSelected[static_cast<std::size_t>(ii)] = true;
                        }
                std::array<bool, kMaxColumns> columnMoved{};
                for (int kk = 0; kk < cv.curves; ++kk)
                    for (int ii = 0; ii < cv.points; ++ii) {
                        const int idx = cv.index(kk, ii);
                        if (idx == target) continue;
                        bool moves = false;
                        if (grabbedSelected)
                            moves = marked(cv.mark(idx)) ||
                                    (shiftDown && curveHasSelected[static_cast<std::size_t>(kk)]) ||
                                    (ctrlDown && pointHasSelected[static_cast<std::size_t>(ii)]);
                        moves = moves || (shiftDown && kk == k) || (ctrlDown && ii == i);
                        if (!moves) continue;
                        if (D.editable) {
                            std::int32_t& v = D.points[static_cast<std::size_t>(idx)];
                            v = SaturatedRaw(double(v) + dv);
                        }
                        if (ii != i) columnMoved[static_cast<std::size_t>(ii)] = true;
                    }
                if (H.editable && H.numeric && dh != 0)
                    for (int ii = 0; ii < cv.points; ++ii)
                        if (columnMoved[static_cast<std::size_t>(ii)]) {
                            std::int32_t& p = H.points[static_cast<std::size_t>(ii)];
                            p = SaturatedRaw(double(p) + dh);
                        }
                UpdateLimits(*sheet, kChangedData | axisFlag);
                dirty |= kDirtyRedraw;
                RescaleAfterDrag(hPoint, value, k, true, true);
            }
        } else if (target == -1) {
            guides.baseAdvance = SaturatedRaw(std::trunc(rawV * SafeScale(D.scale)));
            UpdateLimits(*sheet, 0);
            dirty |= kDirtyRedraw;
            RescaleAfterDrag(0, SaturatedRaw(std::trunc(guides.baseAdvance / SafeScale(D.scale))), k, false, true);
        } else if (target == -2 || target == -3) {
            std::int32_t& guide = target == -2 ? guides.limiter : guides.startLimiter;
            guide = SaturatedRaw(std::trunc(rawH * SafeScale(H.scale)));
            UpdateLimits(*sheet, 0);
            dirty |= kDirtyRedraw;
            RescaleAfterDrag(SaturatedRaw(std::trunc(guide / SafeScale(H.scale))), 0, k, true, false);
        }
        Status2D();
        return;
    }

    TSel& sel = sheet->sel;
    if (g.selecting) {
        const int x = InsidePlot(px, g.plotLeft, plotRight);
        const int y = InsidePlot(py, plotTop, g.plotBottom);
        sel.DragTo(g.hits, x, y, false);
        dirty |= kDirtyRedraw;  // the band itself moved
        return;
    }

    if (!overGraph) return;
    // The nearest point: its curve becomes current; close enough, it is the target.
    double best = 1e18;
    int nearest = kNoTarget, nearestCurve = g.currentCurve;
    for (int k = 0; k < cv.curves; ++k) {
        for (int i = 0; i < cv.points; ++i) {
            const int idx = cv.index(k, i);
            const double ddx = double(g.screenX[static_cast<std::size_t>(idx)]) - px;
            const double ddy = double(g.screenY[static_cast<std::size_t>(idx)]) - py;
            const double d = ddx * ddx + ddy * ddy;
            if (d < best) {
                best = d;
                nearest = idx;
                nearestCurve = k;
            }
        }
        if (cv.hasStart()) {
            const double ddx = double(g.plotLeft) - px;
            const double ddy = double(g.curveStartY[static_cast<std::size_t>(std::min(k, kMaxColumns - 1))]) - py;
            const double d = ddx * ddx + ddy * ddy;
            if (d < best) {
                best = d;
                nearest = -1;
                nearestCurve = k;
            }
        }
    }
    if (nearestCurve != g.currentCurve) {
        g.currentCurve = nearestCurve;
        dirty |= kDirtyRedraw;
    }
    int target = std::sqrt(best) < kHoverDistance ? nearest : kNoTarget;
    const bool rpm = labelledRpm(&H);
    auto nearLine = [&](std::int32_t guide) {
        const int x = TruncPixel(g.plotLeft + (guide / SafeScale(H.scale) - H.displayLow) * g.xScale);
        return std::abs(x - px) < kHoverDistance;
    };
    if (target == kNoTarget && rpm && (sheet->flags & kSheetLimiter) && nearLine(guides.limiter)) target = -2;
    if (target == kNoTarget && rpm && (sheet->flags & kSheetStartLimiter) && nearLine(guides.startLimiter))
        target = -3;
    if (target >= 0 && (cv.mark(target) & kMarkCorner)) {
        target = kNoTarget;
        interpHandle = true;
    }
    if (target != g.hoverTarget || interpHandle != interpHandlePrev) dirty |= kDirtyRedraw;
    g.hoverTarget = target;
    Status2D();
}

bool TTab::MouseDown2D()
{
    CSheet* sheet = Current();
    TTabGraph& g = graph;
    if (!sheet || !sheet->isAllocated() || !g.horizontal || !g.data) return true;
    if (g.mouseDown) return true;
    Curves cv(*sheet, g);
    const int target = g.hoverTarget;
    if (target == kNoTarget) {
        if (interpHandle) {
            Command(kCmdInterpolate);
            return true;
        }
        const int plotRight = g.plotLeft + g.plotWidth, plotTop = g.plotBottom - g.plotHeight;
        const int x = InsidePlot(px, g.plotLeft, plotRight);
        const int y = InsidePlot(py, plotTop, g.plotBottom);
        sheet->sel.StartGraphDrag(g.hits, x, y, shiftDown, ctrlDown);
        g.selecting = sheet->sel.dragKind != 0;
        dirty |= kDirtyRedraw;
        return true;
    }
    int grabX = 0, grabY = 0;
    if (target >= 0) {
        if (!(cv.H.editable && cv.H.numeric) && !cv.D.editable) return true;
        grabX = g.screenX[static_cast<std::size_t>(target)];
        grabY = g.screenY[static_cast<std::size_t>(target)];
        g.grabHorizontal = cv.H.points[static_cast<std::size_t>(cv.pointOf(target))];
        g.grabValue = cv.D.points[static_cast<std::size_t>(target)];
    } else if (target == -1) {
        grabX = g.plotLeft;
        grabY = g.curveStartY[static_cast<std::size_t>(std::min(g.currentCurve, kMaxColumns - 1))];
        g.grabValue = guides.baseAdvance;
    } else {
        const std::int32_t guide = target == -2 ? guides.limiter : guides.startLimiter;
        grabX = TruncPixel(g.plotLeft + (guide / SafeScale(cv.H.scale) - cv.H.displayLow) * g.xScale);
        grabY = g.plotBottom;
        g.grabHorizontal = guide;
    }
    g.mouseDown = 1;
    g.grabOffsetX = px - grabX;
    g.grabOffsetY = py - grabY;
    g.dragCurve = g.currentCurve;
    dirty |= kDirtyRedraw;
    NotifyChange(0, kChangeBegin);
    Status2D();
    return true;
}

bool TTab::MouseUp2D()
{
    CSheet* sheet = Current();
    TTabGraph& g = graph;
    if (!sheet) return false;
    if (!g.mouseDown) {
        if (g.selecting) {
            sheet->sel.Commit(g.hits);
            g.selecting = false;
            UpdateHover();
            dirty |= kDirtyRedraw;
        }
        return false;
    }
    g.mouseDown = 0;
    dirty |= kDirtyRedraw;
    NotifyChange(kChangedData, kChangeEnd);
    Status2D();
    return true;
}

bool TTab::RightClick2D()
{
    CSheet* sheet = Current();
    if (!sheet) return false;
    TSel& sel = sheet->sel;
    const int target = graph.hoverTarget;
    if (target < 0) {
        if (sel.selKind != 0 || sel.count != 0) dirty |= kDirtyRedraw;
        sel.Reset();
    } else if (target < kGridCells && !marked(sel.cellMark(target % kGridStride, target / kGridStride))) {
        sel.SelectOne(graph.hits, target % kGridStride, target / kGridStride);
        dirty |= kDirtyRedraw;
    }
    return false;
}

bool TTab::Wheel2D(int steps)
{
    CSheet* sheet = Current();
    TTabGraph& g = graph;
    if (!sheet || !sheet->isAllocated()) return false;
    if (g.mouseDown) return true;
    const int target = g.hoverTarget;
    const TSel& sel = sheet->sel;
    if (target >= 0 && target < kGridCells && !marked(sel.cellMark(target % kGridStride, target / kGridStride))) {
        if (!sheet->data.editable) return true;
        const int column = target % kGridStride, row = target / kGridStride;
        const int key = 0x140000 + row * 256 + column;
        NotifyChange(0, key);
        std::int32_t& v = sheet->value(column, row);
        v = static_cast<std::int32_t>(
            std::clamp<std::int64_t>(std::int64_t{v} + CellStep(*sheet, column, row, steps), INT32_MIN, INT32_MAX));
        NotifyChange(kChangedData, key);
        dirty |= kDirtyRecompute;
        return true;
    }
    int kind = 0, selected = 0, editable = 0;
    SelectionSummary(kind, selected, editable);
    if (target >= 0 || (kind == kSelCells && selected > 0)) {
        StepSelection(steps);
        return true;
    }
    return false;
}

void TTab::Status2D()
{
    CSheet* sheet = Current();
    TTabGraph& g = graph;
    g.status.clear();
    if (!sheet || !g.horizontal || !g.data) return;
    Curves cv(*sheet, g);
    const std::string prefix = g.mouseDown ? DraggingPrefix() : std::string();
    const int target = g.hoverTarget;
    auto label = [&](const CAxe& axis) { return pickText(axis.label); };
    if (target >= 0 && target < kGridCells) {
        const int i = cv.pointOf(target), k = cv.curveOf(target);
        std::string text = prefix;
        if (cv.curves > 1 && g.curves) {
            const CAxe& B = *g.curves;
            text += label(B) + " = " + NumberText(B.points[static_cast<std::size_t>(clampIndex(k, B.usedCount()))],
                                                  B.scale, B.unit, true) +
                    "; ";
        }
        text += label(cv.H) + " = " +
                NumberText(cv.H.points[static_cast<std::size_t>(clampIndex(i, cv.points))], cv.H.scale, cv.H.unit,
                           true) +
                "; " + label(cv.D) + " = " +
                NumberText(cv.D.points[static_cast<std::size_t>(target)], cv.D.scale, cv.D.unit, true);
        g.status = text;
    } else if (target == -1) {
        g.status = prefix + pickText(kBaseAdvanceText) + " = " + NumberText(guides.baseAdvance, 1.0, cv.D.unit, true);
    } else if (target == -2) {
        g.status = prefix + pickText(kLimiterText) + " = " + NumberText(guides.limiter, 1.0, cv.H.unit, true);
    } else if (target == -3) {
        g.status =
            prefix + pickText(kStartLimiterText) + " = " + NumberText(guides.startLimiter, 1.0, cv.H.unit, true);
    }
}

void TTab::RescaleAfterDrag(std::int32_t h, std::int32_t v, int k, bool followX, bool followY)
{
    TTabGraph& g = graph;
    const double oldX = g.xScale, oldY = g.yScale;
    ScaleGraph();
    Layout2D();
    dirty |= kDirtyRedraw;
    CSheet* sheet = Current();
    if (!sheet || !g.horizontal || !g.data || !(g.xScale > 0) || !(g.yScale > 0)) return;
    Curves cv(*sheet, g);
    int x = px, y = py;
    if (followX && g.xScale != oldX)
        x = TruncPixel((double(h) - cv.H.displayLow) * g.xScale + g.plotLeft + g.grabOffsetX);
    if (followY && g.yScale != oldY)
        y = TruncPixel(g.plotBottom - (double(v) - cv.D.displayLow + cv.stack(k)) * g.yScale + g.grabOffsetY);
    warpPointer(x, y);
}

void TTab::warpPointer(int x, int y)
{
    if (x == px && y == py) return;
    const TPoint origin = ClientOrigin();
    SetCursorPos(origin.x + x, origin.y + y);
    px = x;
    py = y;
    skipNextHover = true;  // the move this makes is the editor's own
}
