// The 3-D graph view of the map editor: the sheet as a surface over its X and Y axes, drawn back to front square
// by square, each square as four triangles to its centre (a wire net, one colour, or coloured by height), with the
// colour scale, the live value and the rotation angles beside it. Dragging and the wheel turn it.
#include "mapeditor/graph3d.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>

#include "mapeditor/drawing.h"
#include "mapeditor/graphcommon.h"
#include "mapeditor/numtext.h"
#include "mapeditor/raster.h"
#include "mapeditor/tab.h"
#include "os/lngtext.h"

namespace {

constexpr std::string_view kSetValueHint =
    "###Set actual value - mouse wheel##Istwert setzen - Mausrad##Nastav aktuální hodnotu - kolečko myši";
// The German part once had "  n" where line breaks were meant; they are line breaks here too.
constexpr std::string_view kRotationHint =
    "###Rotate: drag mouse (X, XY) and wheel (XYZ)   \nGraph quality: CTRL+mouse wheel   \nView values: SHIFT + "
    "mouse wheel##Drehen: Ziehen Sie die Maus (X, XY) und Rad (XYZ)  \nGraph Qualität: STRG + Mausrad  \nView Werte: "
    "SHIFT + Mausrad##Otáčení - tažení myší (X a XY) a kolečkem (XYZ)  \nJemnost vykreslení grafu: CTRL+kolečko myši "
    "  \nZobrazení hodnot: SHIFT+kolečko myši";

constexpr TColor kUpperSide = 0xFF8888;  // #8888FF
constexpr TColor kUnderSide = 0xC0C0C0;
constexpr TColor kSelectedSide = 0xFF0000;  // #0000FF
constexpr TColor kCornerSide = 0x008000;
constexpr TColor kTicks = 0x808080;

// Stops of the height ramp as #RRGGBB.
struct RampStop
{
    int entry;
    std::uint32_t rgb;
};
constexpr RampStop kRampStops[] = {{0, 0x000055},  {10, 0x0000FF}, {20, 0x00FFFF}, {30, 0x00FF00},
                                   {38, 0xFFFF00}, {50, 0xCCCC00}, {61, 0xFF0000}};

// One place along an axis of the surface: its distance from the display low (raw units) and the point whose
// values stand there (-1 before the first, the count after the last); a guide station stands at the height of
// the base advance.
struct Station
{
    double coord = 0;
    int index = 0;
    bool guide = false;
};
constexpr int kMaxStations = kMaxColumns + 3;

struct Stations
{
    std::array<Station, kMaxStations> at{};
    int count = 0;
    void add(double coord, int index, bool guide = false)
    {
        if (count < kMaxStations) at[static_cast<std::size_t>(count++)] = {coord, index, guide};
    }
};

Stations stationsOf(const CAxe& axis, int capacity, bool baseAdvance)
{
    Stations s;
    const int n = std::min(axis.usedCount(), capacity);
    if (n <= 0) return s;
    if (!axis.numeric) {
        for (int i = 0; i < n; ++i) s.add(double(i) - axis.displayLow, i);
        return s;
    }
    const double low = axis.displayLow;
    const double first = double(axis.points[0]) - low;
    if (baseAdvance) {
        s.add(0, -1, true);
        s.add(first, -1, true);
    } else {
        s.add(0, -1);
    }
    for (int i = 0; i < n; ++i) s.add(double(axis.points[static_cast<std::size_t>(i)]) - low, i);
    s.add(double(axis.displayHigh) - low, n);
    return s;
}

std::string anglesText(const std::array<int, 3>& a)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "X:%i\xC2\xB0  XY:%i\xC2\xB0  XYZ:%i\xC2\xB0", a[0] * 5, a[1] * 5, a[2] * 5);
    return buf;
}

void drawValueLabel(TCanvas& c, int x, int y, const std::string& text, std::uint16_t mark, bool operatingPoint)
{
    const int w = c.TextWidth(text), h = c.TextHeight(text);
    const int left = x - w / 2, top = y - h / 2;
    c.Brush.Style = bsClear;
    TColor dark = clBlack, light = clWhite;
    if (mark & kMarkCorner) {
        dark = 0x004400;
        light = 0x00DD00;
    } else if (mark & (kMarkCommitted | kMarkPicked)) {
        dark = 0x440000;
        light = 0xDD0000;
    }
    c.Font.Color = dark;
    c.TextOut(left, top, text);
    if (operatingPoint) return;
    c.Font.Color = light;
    c.TextOut(left - 1, top - 1, text);
}

}  // namespace

// ---------------------------------------------------------------- arithmetic

Rows3D RotatedRows(const std::array<int, 3>& angles)
{
    Rows3D rows{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    const double ax = angles[0] * std::numbers::pi / 36, ay = angles[1] * std::numbers::pi / 36,
                 az = angles[2] * std::numbers::pi / 36;
    for (auto& r : rows) {
        double x = r[0], y = r[1], z = r[2];
        double y2 = std::cos(ax) * y - std::sin(ax) * z, z2 = std::sin(ax) * y + std::cos(ax) * z;
        y = y2;
        z = z2;
        double x2 = std::cos(ay) * x - std::sin(ay) * z;
        z2 = std::sin(ay) * x + std::cos(ay) * z;
        x = x2;
        z = z2;
        x2 = std::cos(az) * x - std::sin(az) * y;
        y2 = std::sin(az) * x + std::cos(az) * y;
        r = {x2, y2, z};
        const double l1 = std::fabs(r[0]) + std::fabs(r[1]) + std::fabs(r[2]);
        if (l1 > 0)
            for (double& e : r) e /= l1;
    }
    return rows;
}

Projection3D MakeProjection(const std::array<int, 3>& angles, int width, int height, int left, int right, int top,
                            int bottom, int scaleSpace, double xSpan, double dataSpan, double ySpan)
{
    Projection3D p;
    p.width = width - left - right - (scaleSpace + 10) - 10;
    p.height = height - top - bottom - 20;
    if (p.width <= 0 || p.height <= 0) return p;
    const double h3 = p.height;
    p.aspect = double(p.width) / h3;
    p.rows = RotatedRows(angles);
    auto k = [&](double span) { return h3 / (span > 0 && std::isfinite(span) ? span : 1.0); };
    const double kx = k(xSpan), kd = k(dataSpan), ky = k(ySpan);
    auto negatives = [](const std::array<double, 3>& r) {
        double s = 0;
        for (double e : r)
            if (e < 0) s -= e;
        return s;
    };
    p.originX = left + scaleSpace + 10;
    p.xOffset = TruncPixel(h3 * negatives(p.rows[0]));
    p.originY = TruncPixel(height - bottom - 10 - h3 * negatives(p.rows[1]));
    for (int i = 0; i < 2; ++i)
        p.draw[static_cast<std::size_t>(i)] = {p.rows[static_cast<std::size_t>(i)][0] * kx,
                                               p.rows[static_cast<std::size_t>(i)][1] * kd,
                                               p.rows[static_cast<std::size_t>(i)][2] * ky};
    p.draw[2] = {p.rows[2][0] * kx, 0, p.rows[2][2] * ky};
    p.aspect *= 0.95;
    if (p.aspect > 0.94 && p.aspect < 1.06) p.aspect = 1.0;
    p.valid = true;
    return p;
}

int WrapAngle(int angle)
{
    while (angle > kAngleHigh) angle -= 72;
    while (angle < kAngleLow) angle += 72;
    return angle;
}

const std::array<TColor, kRampEntries>& HeightRamp()
{
    static const std::array<TColor, kRampEntries> ramp = [] {
        std::array<TColor, kRampEntries> r{};
        auto channel = [](std::uint32_t rgb, int shift) { return int((rgb >> shift) & 0xFF); };
        for (std::size_t s = 0; s + 1 < std::size(kRampStops); ++s) {
            const RampStop a = kRampStops[s], b = kRampStops[s + 1];
            for (int e = a.entry; e <= b.entry; ++e) {
                auto mix = [&](int shift) {
                    const int ca = channel(a.rgb, shift), cb = channel(b.rgb, shift);
                    return ca + (cb - ca) * (e - a.entry) / (b.entry - a.entry);  // toward zero
                };
                r[static_cast<std::size_t>(e)] =
                    static_cast<TColor>(mix(16) | (mix(8) << 8) | (mix(0) << 16));  // to 0x00BBGGRR
            }
        }
        r[62] = r[61];
        return r;
    }();
    return ramp;
}

// ---------------------------------------------------------------- the view

void TTab::Prepare3D()
{
    TTabGraph& g = graph;
    g.projection = {};
    if (!Current() || !g.first || !g.second || !g.data) return;
    const CAxe& X = *g.first;
    const CAxe& Y = *g.second;
    const CAxe& D = *g.data;
    g.projection = MakeProjection(g.angles, backBuffer.Width(), backBuffer.Height(), g.left, g.right, g.top, g.bottom,
                                  g.scaleSpace, double(X.displayHigh) - X.displayLow,
                                  double(D.displayHigh) - D.displayLow, double(Y.displayHigh) - Y.displayLow);
}

void TTab::Project3D(double x, double h, double z, double& sx, double& sy, double& depth) const
{
    graph.projection.Project(x, h, z, sx, sy, depth);
}

void TTab::Paint3D(TCanvas& c)
{
    CSheet* sheetPtr = Current();
    TTabGraph& g = graph;
    if (!sheetPtr || !sheetPtr->isAllocated() || !g.first || !g.second || !g.data) return;
    CSheet& sheet = *sheetPtr;
    const CAxe& X = *g.first;
    const CAxe& Y = *g.second;
    CAxe& D = *g.data;
    const Projection3D& P = g.projection;
    const int width = backBuffer.Width(), height = backBuffer.Height();
    const TColor face = Color();
    const TRect area{g.left, g.top, width - g.right, height - g.bottom};
    FillBox(c, area.left, area.top, area.Width(), area.Height(), face);
    if (!P.valid) return;
    const bool swapped = sheet.flags & kSheetSwapXY;
    const int xCap = swapped ? kMaxRows : kMaxColumns, yCap = swapped ? kMaxColumns : kMaxRows;
    const int nx = std::min(X.usedCount(), xCap), ny = std::min(Y.usedCount(), yCap);
    if (nx <= 0 || ny <= 0) return;
    const double dScale = SafeScale(D.scale);
    const double colourLow = D.fullRangeColour ? D.min : D.displayLow;
    const double colourHigh = D.fullRangeColour ? D.max : D.displayHigh;
    const int fontSize = c.Font.Size;
    PixelTarget px(backBuffer, area);

    struct Screen
    {
        double x = 0, y = 0, depth = 0;
    };
    auto project = [&](double x, double h, double z) {
        Screen s;
        P.Project(x, h, z, s.x, s.y, s.depth);
        return s;
    };
    auto pixel = [](double v) { return TruncPixel(std::floor(v + 0.5)); };

    // 1.-2. Axes from the origin, their directions, and whether the view looks straight down.
    const double xSpan = double(X.displayHigh) - X.displayLow, ySpan = double(Y.displayHigh) - Y.displayLow;
    const double dSpan = double(D.displayHigh) - D.displayLow;
    const Screen O = project(0, 0, 0), Xe = project(xSpan, 0, 0), De = project(0, dSpan, 0), Ye = project(0, 0, ySpan);
    const int xDir = Xe.depth < O.depth ? -1 : 1;
    const int yDir = Ye.depth < O.depth ? -1 : 1;
    const bool topView = std::fabs(De.x - O.x) < 0.001 && std::fabs(De.y - O.y) < 0.001;
    c.Font.Size = fontSize;
    c.Font.Style = 0;
    auto axisLine = [&](const Screen& e) { px.Line(pixel(O.x), pixel(O.y), pixel(e.x), pixel(e.y), clBlack); };
    auto nameBox = [&](const Screen& e, const CAxe& axis) {
        const std::string name = pickText(axis.label);
        const int w = std::max(32, c.TextWidth(name) + 4);
        const int x = pixel(e.x), y = pixel(e.y);
        c.Pen.Color = clBlack;
        c.Pen.Width = 1;
        c.Brush.Style = bsSolid;
        c.Brush.Color = face;
        c.RoundRect(x - w / 2, y - 8, x - w / 2 + w, y + 8, 4, 4);
        c.Brush.Style = bsClear;
        c.Font.Color = clBlack;
        c.TextOut(x - c.TextWidth(name) / 2, y - 7, name);
    };
    axisLine(Xe);
    axisLine(De);
    axisLine(Ye);
    nameBox(Xe, X);
    nameBox(De, D);
    nameBox(Ye, Y);

    // 3.-5. Stations along both axes, heights and the operating point.
    const bool baseX = (sheet.flags & kSheetBaseAdvance) && X.label == "RPM" && X.numeric && !X.collapsed;
    const bool baseY = (sheet.flags & kSheetBaseAdvance) && Y.label == "RPM" && Y.numeric && !Y.collapsed;
    const Stations sx = stationsOf(X, xCap, baseX), sy = stationsOf(Y, yCap, baseY);
    const int xShown = X.collapsed ? X.resolveCollapsedIndex() : -1;
    const int yShown = Y.collapsed ? Y.resolveCollapsedIndex() : -1;
    auto gridValue = [&](int i, int j) {  // view indexes, inside the points
        return swapped ? sheet.value(j, i) : sheet.value(i, j);
    };
    auto gridMark = [&](int i, int j) -> std::uint16_t {
        if (i < 0 || j < 0 || i >= nx || j >= ny) return 0;
        return swapped ? sheet.sel.cellMark(j, i) : sheet.sel.cellMark(i, j);
    };
    auto resolve = [](int i, int n, int shown) { return shown >= 0 ? shown : std::clamp(i, 0, n - 1); };
    const double guideHeight = guides.baseAdvance / dScale - D.displayLow;

    struct Vertex
    {
        Screen s;
        double height = 0;
        double colour = 0;
        int i = -1, j = -1;  // the point it shows, or -1 on an added edge or a guide station
        std::int32_t value = 0;
        bool labelled = false;
        int squaresLeft = 0;  // squares still to draw that have this corner
    };
    std::array<Vertex, kMaxStations * kMaxStations> vertices;
    auto vertexAt = [&](int a, int b) -> Vertex& {
        return vertices[static_cast<std::size_t>(a * kMaxStations + b)];
    };

    int opI = -1, opJ = -1;
    TColor opColour = colours[10];
    if ((sheet.flags & kSheetOperatingPoint) && sheet.opState > 0 && sheet.opColumn >= 0 && sheet.opRow >= 0) {
        opI = swapped ? sheet.opRow : sheet.opColumn;
        opJ = swapped ? sheet.opColumn : sheet.opRow;
        opColour = sheet.opState == 1 ? colours[10] : colours[11];
    }
    const int selectedCount = sheet.sel.count;
    c.Font.Size = g.labelMode <= 2 ? 9 : 7;
    for (int a = 0; a < sx.count; ++a)
        for (int b = 0; b < sy.count; ++b) {
            const Station& u = sx.at[static_cast<std::size_t>(a)];
            const Station& w = sy.at[static_cast<std::size_t>(b)];
            Vertex& v = vertexAt(a, b);
            if (u.guide || w.guide) {
                v.height = guideHeight;
                v.value = static_cast<std::int32_t>(std::clamp(guideHeight + D.displayLow, -2e9, 2e9));
            } else {
                const int i = resolve(u.index, nx, xShown), j = resolve(w.index, ny, yShown);
                v.value = gridValue(i, j);
                v.height = double(v.value) - D.displayLow;
                if (u.index >= 0 && u.index < nx && w.index >= 0 && w.index < ny) {
                    v.i = u.index;
                    v.j = w.index;
                }
            }
            v.s = project(u.coord, v.height, w.coord);
            v.colour = RampIndex(v.height + D.displayLow, colourLow, colourHigh);
            if (v.i >= 0 && g.labelMode > 0) {
                LabelQuery q;
                q.mode = g.labelMode;
                q.column = v.i;
                q.row = v.j;
                q.columns = nx;
                q.rows = ny;
                q.shownColumn = xShown;
                q.shownRow = yShown;
                q.mark = gridMark(v.i, v.j);
                q.selected = selectedCount;
                q.operatingPoint = v.i == opI && v.j == opJ;
                v.labelled = IsLabelledPoint(q, [&](int i, int j) { return gridValue(i, j); });
            }
            v.squaresLeft = (a > 0 ? 1 : 0) + (a + 1 < sx.count ? 1 : 0);
            v.squaresLeft *= (b > 0 ? 1 : 0) + (b + 1 < sy.count ? 1 : 0);
        }
    auto labelText = [&](const Vertex& v) {
        const double s2 = SafeScale(D.scale2);
        return NumberText(static_cast<std::int32_t>(std::trunc(v.value / s2)), s2 * D.scale);
    };

    // 7.-8. Squares from the farthest to the nearest, each as four triangles to its centre.
    const bool outerX = std::fabs(Xe.x - O.x) < std::fabs(Ye.x - O.x);
    const int mode = std::clamp(g.colouring, 0, 5);
    const TColor lineColour = mode == 0 ? clBlack : clWhite;
    auto sideColour = [&](const Vertex& p, const Vertex& q) {
        const std::uint16_t mp = gridMark(p.i, p.j), mq = gridMark(q.i, q.j);
        const auto picked = [](std::uint16_t m) { return (m & (kMarkCommitted | kMarkPicked)) != 0; };
        if (p.i < 0 || q.i < 0 || !picked(mp) || !picked(mq)) return lineColour;
        return ((mp | mq) & kMarkCorner) ? kCornerSide : kSelectedSide;
    };
    auto triangle = [&](const Vertex& p1, const Vertex& p2, const Screen& centre, double centreColour) {
        const double x1 = std::floor(p1.s.x + 0.5), y1 = std::floor(p1.s.y + 0.5);
        const double x2 = std::floor(p2.s.x + 0.5), y2 = std::floor(p2.s.y + 0.5);
        const double x3 = std::floor(centre.x + 0.5), y3 = std::floor(centre.y + 0.5);
        if (mode != 0) {
            const double e = (x1 - x3) * (y2 - y3) - (y1 - y3) * (x2 - x3);
            if (e < 0) {
                if (mode == 1) {
                    px.FillTriangle(x1, y1, x2, y2, x3, y3, kUpperSide);
                } else {
                    auto clampIndex = [](double i) { return std::clamp(std::isfinite(i) ? i : 0.0, 0.0, 61.0); };
                    FillRampTriangle({x1, y1, clampIndex(p1.colour)}, {x2, y2, clampIndex(p2.colour)},
                                     {x3, y3, clampIndex(centreColour)}, mode - 2,
                                     [&](const RampPoint& a, const RampPoint& b, const RampPoint& d, TColor colour) {
                                         px.FillTriangle(a.x, a.y, b.x, b.y, d.x, d.y, colour);
                                     });
                }
            } else if (e > 0) {
                px.FillTriangle(x1, y1, x2, y2, x3, y3, kUnderSide);
            }
        }
        px.Line(TruncPixel(x1), TruncPixel(y1), TruncPixel(x2), TruncPixel(y2), sideColour(p1, p2));
    };
    auto cornerDone = [&](Vertex& v) {
        if (--v.squaresLeft > 0) return;
        // The last square that has this corner is drawn: its label and the live marker go on top of it once.
        std::string text;
        const bool op = v.i >= 0 && v.i == opI && v.j == opJ;
        if (v.labelled) text = labelText(v);
        if (op && v.s.x >= 0 && v.s.y >= 0) {
            const int x = pixel(v.s.x), y = pixel(v.s.y);
            int r = 6;
            if (v.labelled) r = std::max(7, c.TextWidth(text) / 2 + c.TextHeight(text) / 4 + 2);
            c.Pen.Width = 1;
            c.Pen.Color = clWhite;
            c.Brush.Style = bsClear;
            c.Ellipse(x - r, y - r, x + r + 1, y + r + 1);
            c.Pen.Color = clBlack;
            c.Brush.Style = bsSolid;
            c.Brush.Color = opColour;
            c.Ellipse(x - r + 1, y - r + 1, x + r, y + r);
            if (v.labelled) drawValueLabel(c, x, y, text, 0, true);
        } else if (v.labelled) {
            drawValueLabel(c, pixel(v.s.x), pixel(v.s.y), text, gridMark(v.i, v.j), false);
        }
    };
    auto square = [&](int a, int b) {
        Vertex& A = vertexAt(a, b);
        Vertex& B = vertexAt(a, b + 1);
        Vertex& C = vertexAt(a + 1, b);
        Vertex& Dv = vertexAt(a + 1, b + 1);
        const Station& u0 = sx.at[static_cast<std::size_t>(a)];
        const Station& u1 = sx.at[static_cast<std::size_t>(a + 1)];
        const Station& w0 = sy.at[static_cast<std::size_t>(b)];
        const Station& w1 = sy.at[static_cast<std::size_t>(b + 1)];
        const double ch = (A.height + B.height + C.height + Dv.height) / 4;
        const Screen centre = project((u0.coord + u1.coord) / 2, ch, (w0.coord + w1.coord) / 2);
        const double centreColour = RampIndex(ch + D.displayLow, colourLow, colourHigh);
        struct Side
        {
            const Vertex* p;
            const Vertex* q;
            double depth;
        };
        std::array<Side, 4> sides = {Side{&C, &A, 0}, Side{&A, &B, 0}, Side{&Dv, &C, 0}, Side{&B, &Dv, 0}};
        for (Side& s : sides) s.depth = (s.p->s.depth + s.q->s.depth) / 2;
        for (std::size_t i = 1; i < sides.size(); ++i)  // by depth, ties in the order above
            for (std::size_t j = i; j > 0 && sides[j].depth < sides[j - 1].depth; --j) std::swap(sides[j], sides[j - 1]);
        for (const Side& s : sides) triangle(*s.p, *s.q, centre, centreColour);
        for (Vertex* v : {&A, &B, &C, &Dv}) cornerDone(*v);
    };
    const int squaresX = sx.count - 1, squaresY = sy.count - 1;
    auto along = [](int n, int dir, int k) { return dir < 0 ? n - 1 - k : k; };
    if (outerX) {
        for (int ka = 0; ka < squaresX; ++ka)
            for (int kb = 0; kb < squaresY; ++kb) square(along(squaresX, xDir, ka), along(squaresY, yDir, kb));
    } else {
        for (int kb = 0; kb < squaresY; ++kb)
            for (int ka = 0; ka < squaresX; ++ka) square(along(squaresX, xDir, ka), along(squaresY, yDir, kb));
    }
    c.Font.Size = fontSize;

    // 9. The axes that the surface may hide, again in front.
    const bool frontXD = yDir < 0 || topView, frontY = xDir < 0 || topView;
    if (frontXD) {
        axisLine(Xe);
        axisLine(De);
    }
    if (frontY) axisLine(Ye);
    if (frontXD) {
        nameBox(Xe, X);
        nameBox(De, D);
    }
    if (frontY) nameBox(Ye, Y);

    // 10.-12. The colour scale with its ticks and the live value.
    const int scaleLeft = g.left + 30, scaleRight = g.left + 90, scaleMiddle = g.left + 60;
    const int bottom = height - g.bottom, top = g.top + 45;
    const int scaleHeight = bottom - top;
    if (scaleHeight > 0) {
        for (int k = 0; k < kRampBands; ++k)
            px.FillRect(scaleLeft, bottom - scaleHeight * (k + 1) / kRampBands, scaleRight,
                        bottom - scaleHeight * k / kRampBands, HeightRamp()[static_cast<std::size_t>(k)]);
        const double span = colourHigh > colourLow ? colourHigh - colourLow : 1.0;
        auto yOf = [&](double v) { return TruncPixel(bottom - std::floor((v - colourLow) * scaleHeight / span + 0.5)); };
        const StepEntry kept = D.currentStep;
        D.PickSteps((colourHigh - colourLow) * dScale);
        double spacing = D.currentStep[4] / dScale;
        D.PickSteps((double(g.graphTop) - colourLow) * dScale);
        const double formatStep = D.currentStep[4];
        D.currentStep = kept;
        if (2 * spacing > span) spacing *= 0.2;
        c.Font.Color = kTicks;
        c.Brush.Style = bsClear;
        const int th = c.TextHeight("0");
        int lastY = 100000;
        ForEachStep(colourLow, colourHigh, spacing, scaleHeight / span, 2, [&](double v) {
            const int y = yOf(v);
            px.Line(scaleLeft, y, scaleRight, y, kTicks);
            if (lastY - y <= th + 2) return;
            std::string text = AxisLabelText(formatStep, v * dScale);
            if (!D.unit.empty()) text += " " + D.unit;
            if (text.size() > 63) text.resize(63);
            c.TextOut(scaleLeft - 5 - c.TextWidth(text), y - th / 2, text);
            lastY = y;
        });
        if (opI >= 0 && opJ >= 0 && opI < nx && opJ < ny) {
            const std::int32_t value = gridValue(opI, opJ);
            const int y = yOf(value);
            const double s2 = SafeScale(D.scale2);
            const std::string text =
                NumberText(static_cast<std::int32_t>(std::trunc(value / s2)), s2 * D.scale, D.unit, true);
            const int tw = c.TextWidth(text);
            px.FillRect(scaleMiddle, y - 8, scaleRight + tw + 20, y + 9, clWhite);
            constexpr int kFrom[] = {3, 2, 1, 1, 2, 3};
            constexpr int kAt[] = {-3, -2, -1, 2, 3, 4};
            for (int k = 0; k < 6; ++k) px.Line(scaleMiddle + kFrom[k], y + kAt[k], scaleRight + 5, y + kAt[k], opColour);
            px.Line(scaleMiddle, y, scaleRight + 5, y, clBlack);
            px.Line(scaleMiddle, y + 1, scaleRight + 5, y + 1, clBlack);
            px.Line(scaleMiddle, y, scaleMiddle + 8, y - 4, clBlack);
            px.Line(scaleMiddle, y, scaleMiddle + 8, y + 5, clBlack);
            c.Font.Color = clBlack;
            c.TextOut(scaleRight + 10, y - th / 2, text);
        }
    }

    // 13. The angles.
    const std::string angles = anglesText(g.angles);
    c.Font.Color = clBlack;
    c.Brush.Style = bsSolid;
    c.Brush.Color = face;
    c.TextOut((g.left + g.scaleSpace) / 2 - c.TextWidth(angles) / 2, g.top + 25, angles);
    c.Font.Size = fontSize;
    c.Pen.Color = clBlack;
}

// TOP, ISO1 and ISO2 are down exactly while the rotation equals their preset.
void TTab::Sync3DViewButtons()
{
    constexpr std::array<std::array<int, 3>, 3> presets = {{{-18, 0, 0}, {-5, 4, 0}, {-5, 24, 0}}};
    for (int i = 0; i < 3; ++i) {
        CTabButton& button = buttons[static_cast<std::size_t>(kCmdTop + i)];
        const bool down = graph.angles == presets[static_cast<std::size_t>(i)];
        if (button.down != down) dirty |= kDirtyRedraw;
        button.down = down;
    }
}

// ---------------------------------------------------------------- input

void TTab::Graph3DMouseMove()
{
    TTabGraph& g = graph;
    if (g.mouseDown) {
        const std::array<int, 3> before = g.angles;
        g.angles[0] = WrapAngle(g.dragStartAngles[0] - (py - g.dragStartY) / 10);
        g.angles[1] = WrapAngle(g.dragStartAngles[1] + (px - g.dragStartX) / 10);
        if (g.angles != before) {
            dirty |= kDirtyRecompute;
            Sync3DViewButtons();
        }
        g.hintFlags &= ~1;
    }
    g.status.clear();
    if (py > g.top + 45) {
        if (px < g.scaleSpace - 10) {
            const std::string hint = pickText(kSetValueHint);
            g.status = (g.hintFlags & 2) ? hint : "|" + hint;
        } else if (px > g.scaleSpace + 20) {
            const std::string hint = pickText(kRotationHint);
            g.status = (g.hintFlags & 1) ? hint + "|" + hint : "|" + hint;
        }
    }
}

bool TTab::Graph3DMouseDown()
{
    TTabGraph& g = graph;
    if (px <= g.scaleSpace) return false;
    g.mouseDown = 1;
    g.dragStartX = px;
    g.dragStartY = py;
    g.dragStartAngles = g.angles;
    return true;
}

bool TTab::Graph3DMouseUp()
{
    graph.mouseDown = 0;
    return true;
}

bool TTab::Graph3DRightDown()
{
    return false;
}

bool TTab::Graph3DWheel(int direction)
{
    TTabGraph& g = graph;
    const int d = direction > 0 ? 1 : -1;
    CSheet* sheet = Current();
    if (px < g.scaleSpace) {
        if (sheet) {
            // The operating point's value, whatever is selected.
            const TSel kept = sheet->sel;
            sheet->sel.Reset();
            StepSelection(d);
            sheet->sel = kept;
        }
        g.hintFlags &= ~2;
        return true;
    }
    if (ctrlDown) {
        g.colouring = std::clamp(g.colouring + d, 0, 5);
        dirty |= kDirtyRedraw;
    } else if (shiftDown) {
        g.labelMode = std::clamp(g.labelMode + d, 0, 3);
        dirty |= kDirtyRedraw;
    } else {
        g.angles[2] = WrapAngle(g.angles[2] + d);
        Sync3DViewButtons();
        dirty |= kDirtyRecompute;
    }
    g.hintFlags &= ~1;
    return true;
}

bool TTab::Graph3DKey(int code)
{
    if (code != VK_SPACE) return false;
    graph.labelMode = (graph.labelMode + 1) % 4;
    dirty |= kDirtyRecompute;
    return true;
}
