// The table view of the map editor: the current sheet as a table of X heads, Y heads and cells with its axis
// labels, selection buttons, selection (tint, frame, outline, drag handle, interpolation corners and their preview),
// live point, lambda-learning circles, in-place edit and counts; and the pointer, wheel and keys that work on it.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "mapeditor/drawing.h"
#include "mapeditor/numtext.h"
#include "mapeditor/tab.h"
#include "os/lngtext.h"

namespace {

constexpr TColor kGrey = 0x808080;
constexpr TColor kYellow = 0x00FFFF;
constexpr TColor kNeutralLambda = 0xC0C0C0;
constexpr std::string_view kColumnsCaption = "###Number of columns##Anzahl der Spalten##Počet sloupců";
// Texts that do not fit their cells at the asked size are drawn smaller, down to this size.
constexpr int kSmallestText = 6;

int truncInt(double v)
{
    return std::isfinite(v) ? static_cast<int>(std::clamp(std::trunc(v), -1e9, 1e9)) : 0;
}

bool inside(const TRect& r, int x, int y)
{
    return r.left <= x && x <= r.right && r.top <= y && y <= r.bottom;
}

bool marked(std::uint16_t mark)
{
    return (mark & (kMarkCommitted | kMarkPicked)) != 0;
}

bool editableItem(const CSheet& sheet, int column, int row)
{
    if (column < -1 || row < -1 || (column < 0 && row < 0)) return false;
    return row == -1 ? sheet.x.editable != 0 : column == -1 ? sheet.y.editable != 0 : sheet.data.editable != 0;
}

bool typedCharacter(int code)
{
    return code == ' ' || code == ',' || code == '-' || code == '.' || (code >= '0' && code <= '9');
}

// Font of an axis's numbers: its label font size, else 1.4 times the canvas size; bold unless the size is negative.
void numberFont(TFont& font, int labelFontSize, int entrySize)
{
    font.Size = labelFontSize != 0 ? std::abs(labelFontSize) : std::max(1, truncInt(1.4 * entrySize));
    font.Style = labelFontSize < 0 ? 0 : fsBold;
}

// Where the shown part of the current sheet lies on the control. Shown column k (0 = the first shown, or the one
// column of a collapsed X axis) is sheet column firstColumn + k; rows likewise.
struct Geometry
{
    const TabLayout& L;
    const CSheet& s;
    int columns, rows;
    int firstColumn, firstRow;
    int headLeft, headRight, headTop, headBottom;
    int cellsRight, cellsBottom;

    Geometry(const TabLayout& layout, const CSheet& sheet)
        : L(layout),
          s(sheet),
          columns(sheet.x.collapsed ? 1 : std::max(0, layout.shownColumns)),
          rows(sheet.y.collapsed ? 1 : std::max(0, layout.shownRows)),
          firstColumn(sheet.x.collapsed ? sheet.x.collapsedIndex : sheet.x.firstVisible),
          firstRow(sheet.y.collapsed ? sheet.y.collapsedIndex : sheet.y.firstVisible),
          headLeft(layout.tableLeft),
          headRight(layout.tableLeft + layout.yHeadWidth),
          headTop(layout.tableTop),
          headBottom(layout.tableTop + layout.headHeight),
          cellsRight(left(columns)),
          cellsBottom(top(rows))
    {
    }
    [[nodiscard]] int left(int k) const { return truncInt(L.cellsLeft + k * L.cellWidth); }
    [[nodiscard]] int top(int k) const { return truncInt(L.cellsTop + k * L.cellHeight); }
    [[nodiscard]] int shownColumn(int column) const
    {
        const int k = column - firstColumn;
        return k >= 0 && k < columns ? k : -1;
    }
    [[nodiscard]] int shownRow(int row) const
    {
        const int k = row - firstRow;
        return k >= 0 && k < rows ? k : -1;
    }
    [[nodiscard]] int usedColumns() const { return std::min(s.x.usedCount(), kMaxColumns); }
    [[nodiscard]] int usedRows() const { return std::min(s.y.usedCount(), kMaxRows); }
};

// The pixel rectangle of a range of columns and rows (-1: the heads), clamped to the part of the table it lies in
// (the cell area, or the head row or head column for heads). Each clamped edge remembers its side: -1 it lay
// before the area, +1 after it.
struct Frame
{
    bool valid = false;
    int l = 0, t = 0, r = 0, b = 0;
    int clampL = 0, clampT = 0, clampR = 0, clampB = 0;
    TRect area{};  // edges included

    // An edge is drawn when it was not clamped itself and the edges across it were not both pushed to one side.
    [[nodiscard]] bool top() const { return clampT == 0 && !(clampL != 0 && clampL == clampR); }
    [[nodiscard]] bool bottom() const { return clampB == 0 && !(clampL != 0 && clampL == clampR); }
    [[nodiscard]] bool left() const { return clampL == 0 && !(clampT != 0 && clampT == clampB); }
    [[nodiscard]] bool right() const { return clampR == 0 && !(clampT != 0 && clampT == clampB); }
    [[nodiscard]] bool handle() const { return clampR == 0 && clampB == 0 && right() && bottom(); }
};

// The pixel span of lines i0..i1 along one axis (-1: its heads, from headLo to headHi); false when the axis is
// collapsed and its one line is not among them.
template <typename Edge>
bool spanOf(int i0, int i1, const CAxe& axis, int headLo, int headHi, int first, Edge edge, int& lo, int& hi)
{
    if (i0 == -1) {
        lo = headLo;
        hi = headHi;
    } else if (axis.collapsed) {
        if (axis.collapsedIndex < i0 || axis.collapsedIndex > i1) return false;
        lo = edge(0);
        hi = edge(1);
    } else {
        lo = edge(i0 - first);
        hi = edge(i1 + 1 - first);
    }
    return true;
}

Frame frameOf(const Geometry& g, int c0, int r0, int c1, int r1, bool clamp = true)
{
    Frame f;
    const CAxe& X = g.s.x;
    const CAxe& Y = g.s.y;
    if (c0 < -1 || r0 < -1 || (c0 == -1 && r0 == -1) || c1 < c0 || r1 < r0) return f;
    if (r0 == -1) {
        if (X.collapsed) return f;  // the heads of a collapsed axis are not shown
        f.area = {g.L.cellsLeft, g.headTop, g.cellsRight, g.headBottom};
    } else if (c0 == -1) {
        if (Y.collapsed) return f;
        f.area = {g.headLeft, g.L.cellsTop, g.headRight, g.cellsBottom};
    } else {
        f.area = {g.L.cellsLeft, g.L.cellsTop, g.cellsRight, g.cellsBottom};
    }
    if (!spanOf(
            c0, c1, X, g.headLeft, g.headRight, g.firstColumn, [&](int k) { return g.left(k); }, f.l, f.r) ||
        !spanOf(
            r0, r1, Y, g.headTop, g.headBottom, g.firstRow, [&](int k) { return g.top(k); }, f.t, f.b))
        return f;
    if (clamp) {
        // A first edge at the area's far end (or a last edge at its near end) shows nothing either.
        auto hold = [](int& v, int lo, int hi, bool first, int& side) {
            if (first ? v < lo : v <= lo) {
                v = lo;
                side = -1;
            } else if (first ? v >= hi : v > hi) {
                v = hi;
                side = 1;
            }
        };
        hold(f.l, f.area.left, f.area.right, true, f.clampL);
        hold(f.r, f.area.left, f.area.right, false, f.clampR);
        hold(f.t, f.area.top, f.area.bottom, true, f.clampT);
        hold(f.b, f.area.top, f.area.bottom, false, f.clampB);
    }
    f.valid = true;
    return f;
}

void drawFrame(TCanvas& c, const Frame& f, TColor colour, int width)
{
    if (!f.valid) return;
    c.Pen.Style = psSolid;
    c.Pen.Width = width;
    c.Pen.Color = colour;
    auto line = [&](int x0, int y0, int x1, int y1) {
        c.MoveTo(x0, y0);
        c.LineTo(x1, y1);
    };
    if (f.top()) line(f.l, f.t, f.r, f.t);
    if (f.bottom()) line(f.l, f.b, f.r, f.b);
    if (f.left()) line(f.l, f.t, f.l, f.b);
    if (f.right()) line(f.r, f.t, f.r, f.b);
    c.Pen.Width = 1;
}

// How many of the items are selected: 0 none, 1 some, 2 all.
int selectionState(int selected, int total)
{
    return selected == 0 ? 0 : selected >= total ? 2 : 1;
}

// Selected cells of a sheet column (or row), and how many count: on a collapsed other axis only its one cell.
void lineCells(const Geometry& g, bool column, int index, int& selected, int& total)
{
    const CAxe& other = column ? g.s.y : g.s.x;
    selected = total = 0;
    for (int o = 0; o < (column ? g.usedRows() : g.usedColumns()); ++o) {
        if (other.collapsed && o != other.collapsedIndex) continue;
        ++total;
        selected += marked(column ? g.s.sel.cellMark(index, o) : g.s.sel.cellMark(o, index)) ? 1 : 0;
    }
}

int countSelectedCells(const CSheet& s, int columns, int rows)
{
    int n = 0;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) n += marked(s.sel.cellMark(c, r)) ? 1 : 0;
    return n;
}

// One text of a group drawn in one font: its box (edges included), its colour and an optional marked span.
struct Text
{
    std::string text;
    int x0, y0, x1, y1;
    TColor colour = clBlack;
    std::size_t unitAt = std::string::npos;  // where " unit" begins in the text
    int width = 0;                           // at the group's asked size
};

// Draws a group of texts centred in their boxes (2 px right of centre), all at the font's size or, when the
// widest does not fit its box with a gap to the next, without their units (the axis label names them) and, if that is not enough, at the
// largest smaller size at which every one fits.
void writeGroup(TCanvas& c, std::vector<Text>& texts, const TRect& clip)
{
    if (texts.empty()) return;
    // A text is written 2 px right of centre; it fits when it still ends 3 px inside its box, so that the texts
    // of neighbouring cells never run together (bold digits reach a pixel or two past their advance).
    auto room = [](const Text& t) { return t.x1 - t.x0 - 10; };
    std::size_t widest = 0;
    double worst = 0;
    const int asked = c.Font.Size;
    auto measure = [&] {
        widest = 0;
        worst = 0;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const int w = texts[i].width = c.TextWidth(texts[i].text);
            const double over = w / static_cast<double>(std::max(1, room(texts[i])));
            if (over > worst) {
                worst = over;
                widest = i;
            }
        }
    };
    measure();
    if (worst > 1) {
        bool cut = false;
        for (Text& t : texts)
            if (t.unitAt < t.text.size()) {
                t.text.resize(t.unitAt);
                cut = true;
            }
        if (cut) measure();
    }
    if (worst > 1 && c.Font.Size > kSmallestText) {
        c.Font.Size = std::max(kSmallestText, std::min(c.Font.Size - 1, truncInt(c.Font.Size / worst)));
        while (c.Font.Size > kSmallestText && c.TextWidth(texts[widest].text) > room(texts[widest])) --c.Font.Size;
    }
    const int h = c.TextHeight("X");
    c.Brush.Style = bsClear;
    const bool clipped = clip.right > clip.left;
    for (const Text& t : texts) {
        if (clipped && (t.x1 < clip.left || t.x0 >= clip.right || t.y1 < clip.top || t.y0 >= clip.bottom)) continue;
        c.Font.Color = t.colour;
        const int w = c.Font.Size == asked ? t.width : c.TextWidth(t.text);
        c.TextOut((t.x0 + t.x1 - w) / 2 + 2, (t.y0 + t.y1 - h) / 2, t.text);
    }
}

// An axis label centred in its box, shrunk when wider than the box less 4 px.
void writeFitted(TCanvas& c, const std::string& text, int x0, int x1, int centreY)
{
    const int size = c.Font.Size;
    const int w = c.TextWidth(text);
    if (w > x1 - x0 - 4 && w > 0) c.Font.Size = std::max(1, truncInt(size * double(x1 - x0 - 4) / w));
    c.TextOut((x0 + x1 - c.TextWidth(text)) / 2, centreY - c.TextHeight(text) / 2, text);
    c.Font.Size = size;
}

}  // namespace

// ---------------------------------------------------------------- painting

void TTab::PaintTable(TCanvas& c)
{
    CSheet* sheetPtr = Current();
    if (!sheetPtr || !sheetPtr->isAllocated()) return;
    const CSheet& s = *sheetPtr;
    const TabLayout& L = layout;
    const Geometry g(L, s);
    const CAxe& X = s.x;
    const CAxe& Y = s.y;
    const TSel& sel = s.sel;
    const bool check = flagWord & kTabCheckGrid;
    const int entrySize = c.Font.Size;
    const int nx = g.usedColumns(), ny = g.usedRows();
    const TColor face = Color();

    // 1. The values an interpolation from the rectangle's corners would give, read while the pointer rests on a
    // corner.
    if (sel.minRow == -1 && sel.minColumn >= 0) {
        std::copy(X.points.begin(), X.points.end(), previewBuffer.begin());
        if (sel.rectangle) InterpolateRect(previewBuffer, kGridStride, {}, {}, sel.rectLeft, 0, sel.rectRight, 0);
    } else if (sel.minColumn == -1 && sel.minRow >= 0) {
        for (int r = 0; r < kMaxRows; ++r) previewBuffer[static_cast<std::size_t>(gridIndex(0, r))] = Y.points[r];
        if (sel.rectangle) InterpolateRect(previewBuffer, kGridStride, {}, {}, 0, sel.rectTop, 0, sel.rectBottom);
    } else {
        std::copy(s.data.points.begin(), s.data.points.end(), previewBuffer.begin());
        if (sel.rectangle)
            InterpolateRect(previewBuffer, kGridStride,
                            X.numeric ? std::span<const std::int32_t>(X.points) : std::span<const std::int32_t>(),
                            Y.numeric ? std::span<const std::int32_t>(Y.points) : std::span<const std::int32_t>(),
                            sel.rectLeft, sel.rectTop, sel.rectRight, sel.rectBottom);
    }
    auto previewShown = [&](std::uint16_t mark) { return interpHandle && marked(mark) && !(mark & kMarkCorner); };

    // 2. Scroll bars.
    hBar.Paint(c);
    vBar.Paint(c);

    // 3. Grounds: pressed strips in the axis colours, their pictures moving with the scroll position.
    if (!printing) {
        auto ground = [&](int x0, int y0, int x1, int y1, const CAxe& axis, int scrollX, int scrollY) {
            DrawBevel(c, x0, y0, x1 - x0, y1 - y0, true, axis.colour, colours[2], colours[1]);
            if (axis.picture)
                TileBitmap(c, *axis.picture, x0 + 1, y0 + 1, x1, y1, x0 + 1 - L.cellsLeft + scrollX,
                           y0 + 1 - L.cellsTop + scrollY);
        };
        const int scrollX = truncInt(X.firstVisible * L.cellWidth), scrollY = truncInt(Y.firstVisible * L.cellHeight);
        if (!X.collapsed) ground(L.cellsLeft, g.headTop, g.cellsRight, g.headBottom, X, scrollX, 0);
        if (!Y.collapsed) ground(g.headLeft, L.cellsTop, g.headRight, g.cellsBottom, Y, 0, scrollY);
        if (!check) ground(L.cellsLeft, L.cellsTop, g.cellsRight, g.cellsBottom, s.data, scrollX, scrollY);
    }

    // 4. Grid lines.
    for (int k = 1; k < g.columns; ++k) {
        const int x = g.left(k);
        FillBox(c, x, g.headTop + 1, 1, L.headHeight - 1, colours[3]);
        if (!check) FillBox(c, x, L.cellsTop + 1, 1, g.cellsBottom - L.cellsTop - 1, colours[3]);
    }
    for (int k = 1; k < g.rows; ++k) {
        const int y = g.top(k);
        FillBox(c, g.headLeft + 1, y, L.yHeadWidth - 1, 1, colours[3]);
        if (!check) FillBox(c, L.cellsLeft + 1, y, g.cellsRight - L.cellsLeft - 1, 1, colours[3]);
    }

    // 5. Axis labels in the sheet's label font, on grounds that tell how many of their items are selected.
    auto stateFill = [&](int state) { return printing || state == 0 ? face : state == 1 ? colours[6] : colours[7]; };
    auto pressedState = [&](int state) { return state == 2 && !printing; };
    auto labelFont = [&](int state) {
        c.Font.Size = std::max(1, std::abs(s.cellFontSize));
        c.Font.Style = s.cellFontSize < 0 ? 0 : fsBold;
        c.Font.Color = pressedState(state) ? clWhite : clBlack;
        c.Brush.Style = bsClear;
    };
    auto outlined = [&](std::span<const TPoint> polygon, int state) {
        c.Pen.Style = psSolid;
        c.Pen.Width = 1;
        c.Pen.Color = colours[2];
        c.Brush.Style = bsSolid;
        c.Brush.Color = stateFill(state);
        c.Polygon(polygon);
    };
    auto lightLine = [&](TPoint a, TPoint b) {
        c.Pen.Color = colours[1];
        c.Pen.Width = 1;
        c.MoveTo(a.x, a.y);
        c.LineTo(b.x, b.y);
    };
    int allSelected = 0;
    if (!X.collapsed || !Y.collapsed) allSelected = countSelectedCells(s, nx, ny);
    if (X.collapsed) {
        if (!check) {
            int selected = 0, total = 0;
            lineCells(g, true, X.collapsedIndex, selected, total);
            const int state = selectionState(selected, total);
            const int x0 = g.headRight + 2, x1 = g.left(1), y0 = L.cellsTop - 30;
            DrawBevel(c, x0, y0, x1 - x0, 27, pressedState(state), stateFill(state), colours[2], colours[1]);
            labelFont(state);
            const int shift = pressedState(state) ? 1 : 0;
            writeFitted(c, pickText(s.data.label), x0 + shift, x1 + shift, y0 + 14 + shift);
        }
    } else {
        int selected = 0;
        for (int i = 0; i < nx; ++i) selected += marked(sel.xMark(i)) ? 1 : 0;
        const int state = selectionState(selected, nx);
        const int l = g.headLeft + (Y.collapsed ? 1 : 2), cl = L.cellsLeft - 1;
        const TPoint polygon[] = {{l, g.headTop},
                                  {Y.collapsed ? l : g.headRight + 1, g.headBottom - 1},
                                  {cl, g.headBottom - 1},
                                  {cl, g.headTop}};
        if (!check) {
            outlined(polygon, state);
            if (state != 2) {
                lightLine({l, g.headTop}, {cl, g.headTop});
                if (Y.collapsed) lightLine({l, g.headTop}, {l, g.headBottom - 1});
            } else {
                lightLine({cl, g.headTop}, {cl, g.headBottom - 1});
                lightLine({polygon[1].x, g.headBottom - 1}, {cl + 1, g.headBottom - 1});
            }
        }
        labelFont(state);
        const int shift = pressedState(state) ? 1 : 0;
        const std::string label = pickText(X.label);
        if (Y.collapsed)  // a box of its own, which a long name over a narrow head column must not leave
            writeFitted(c, label, l + shift, cl + shift, (g.headTop + g.headBottom) / 2 + shift);
        else
            c.TextOut(L.cellsLeft - 3 - c.TextWidth(label) + shift, g.headTop + shift, label);
    }
    if (Y.collapsed) {
        if (!check) {
            int selected = 0, total = 0;
            lineCells(g, false, Y.collapsedIndex, selected, total);
            const int state = selectionState(selected, total);
            const int y0 = g.headBottom + 2, y1 = g.top(1);
            DrawBevel(c, g.headLeft, y0, L.cellsLeft - 2 - g.headLeft, y1 - y0, pressedState(state), stateFill(state),
                      colours[2], colours[1]);
            labelFont(state);
            const int shift = pressedState(state) ? 1 : 0;
            writeFitted(c, pickText(s.data.label), g.headLeft + shift, L.cellsLeft + shift,
                        (g.top(0) + g.top(1)) / 2 + shift);
        }
    } else {
        int selected = 0;
        for (int j = 0; j < ny; ++j) selected += marked(sel.yMark(j)) ? 1 : 0;
        const int state = selectionState(selected, ny);
        const int r = g.headRight - 1, t = X.collapsed ? L.cellsTop - 30 : g.headTop + 2, ct = L.cellsTop - 1;
        const TPoint polygon[] = {{g.headLeft, t}, {r, X.collapsed ? t : g.headBottom + 1}, {r, ct}, {g.headLeft, ct}};
        if (!check) {
            outlined(polygon, state);
            if (state != 2) {
                lightLine({g.headLeft, t}, {g.headLeft, ct});
                if (X.collapsed) lightLine({g.headLeft, t}, {r, t});
            } else {
                lightLine({g.headLeft, ct}, {r + 1, ct});
                lightLine({r, polygon[1].y}, {r, ct});
            }
        }
        labelFont(state);
        const int shift = pressedState(state) ? 1 : 0;
        const std::string label = pickText(Y.label);
        if (X.collapsed)  // a box of its own over the head column, beside the data label's
            writeFitted(c, label, g.headLeft + shift, r + shift, (t + ct) / 2 + shift);
        else
            c.TextOut(g.headLeft + 5 + shift, L.cellsTop - 5 - c.TextHeight(label) + shift, label);
    }

    // 6. Buttons in the gap strips that show and take the whole table, a column or a row.
    if (!check) {
        auto button = [&](int x0, int y0, int x1, int y1, int state) {
            if (x1 < x0 || y1 < y0) return;
            DrawBevel(c, x0, y0, x1 - x0, y1 - y0, pressedState(state), stateFill(state), colours[2], colours[1]);
        };
        if (!X.collapsed && !Y.collapsed)
            button(g.headRight + 2, g.headBottom + 2, L.cellsLeft - 2, L.cellsTop - 2,
                   selectionState(allSelected, nx * ny));
        if (!X.collapsed)
            for (int k = 0; k < g.columns; ++k) {
                int selected = 0, total = 0;
                lineCells(g, true, g.firstColumn + k, selected, total);
                button(g.left(k) + 1, g.headBottom + 2, g.left(k + 1) - 1, L.cellsTop - 2,
                       selectionState(selected, total));
            }
        if (!Y.collapsed)
            for (int j = 0; j < g.rows; ++j) {
                int selected = 0, total = 0;
                lineCells(g, false, g.firstRow + j, selected, total);
                button(g.headRight + 2, g.top(j) + 1, L.cellsLeft - 2, g.top(j + 1) - 1,
                       selectionState(selected, total));
            }
    }

    // Drawing outside a partial redraw's part is left out (the canvas would clip it anyway); the tint is written
    // into the pixels directly, so it is clipped here.
    const TRect& clip = paintClip;
    const bool clipped = clip.right > clip.left;
    auto touches = [&](int x0, int y0, int x1, int y1) {
        return !clipped || (x0 < clip.right && clip.left <= x1 && y0 < clip.bottom && clip.top <= y1);
    };
    auto tint = [&](int x, int y, int w, int h) {
        if (clipped) {
            const int x1 = std::min(x + w, clip.right), y1 = std::min(y + h, clip.bottom);
            const int x0 = std::max(x, clip.left), y0 = std::max(y, clip.top);
            if (x1 <= x0 || y1 <= y0) return;
            // Row by row, keeping the checkerboard's phase from the box's corner.
            for (int row = y0; row < y1; ++row) {
                const int first = x0 + ((x0 - x) + (row - y)) % 2;
                if (first < x1) DotFill(backBuffer, first, row, x1 - first, 1, colours[4]);
            }
            return;
        }
        DotFill(backBuffer, x, y, w, h, colours[4]);
    };

    // 7. and 8. Cells and heads: flagged ones yellow; when more than one item is selected, the selected ones get
    // the checkerboard tint with light inner edges, and the corners of the selection rectangle their triangles.
    const TColor cornerColour = interpHandle ? colours[9] : colours[8];
    auto itemGround = [&](int x0, int y0, int x1, int y1, bool flagged, std::uint16_t mark, int corners) {
        const int w = x1 - x0 - 1, h = y1 - y0 - 1;
        if (w <= 0 || h <= 0 || !touches(x0, y0, x1, y1)) return;
        if (flagged) FillBox(c, x0 + 1, y0 + 1, w, h, kYellow);
        if (sel.count <= 1 || !marked(mark)) return;
        tint(x0 + 1, y0 + 1, w, h);
        FillBox(c, x0 + 1, y1 - 2, w, 2, colours[1]);
        FillBox(c, x1 - 2, y0 + 1, 2, h, colours[1]);
        if (corners) DrawCornerMarks(c, x0 + 1, y0 + 1, w, h, corners, cornerColour);
    };
    auto flagOf = [](const CAxe& axis, int index) {
        return index >= 0 && index < static_cast<int>(axis.pointFlags.size()) && axis.pointFlags[index] != 0;
    };
    if (!check)
        for (int j = 0; j < g.rows; ++j)
            for (int k = 0; k < g.columns; ++k) {
                const int col = g.firstColumn + k, row = g.firstRow + j;
                const std::uint16_t mark = sel.cellMark(col, row);
                itemGround(g.left(k), g.top(j), g.left(k + 1), g.top(j + 1), flagOf(s.data, gridIndex(col, row)), mark,
                           s.data.editable && (mark & kMarkCorner) ? sel.CornerFlags(col, row, false, false) : 0);
            }
    if (!X.collapsed)
        for (int k = 0; k < g.columns; ++k) {
            const int col = g.firstColumn + k;
            const std::uint16_t mark = sel.xMark(col);
            itemGround(g.left(k), g.headTop, g.left(k + 1), g.headBottom, flagOf(X, col), mark,
                       X.editable && (mark & kMarkCorner) ? sel.CornerFlags(col, -1, false, false) : 0);
        }
    if (!Y.collapsed)
        for (int j = 0; j < g.rows; ++j) {
            const int row = g.firstRow + j;
            const std::uint16_t mark = sel.yMark(row);
            itemGround(g.headLeft, g.top(j), g.headRight, g.top(j + 1), flagOf(Y, row), mark,
                       Y.editable && (mark & kMarkCorner) ? sel.CornerFlags(-1, row, false, false) : 0);
        }

    // 9. Lambda-learning circles.
    const bool lambda = (s.flags & kSheetLambdaBlock) && s.lambdaBlock.size() == static_cast<std::size_t>(kGridCells);
    auto lambdaColourOf = [&](int value) { return hooks.lambdaColour ? hooks.lambdaColour(value) : kNeutralLambda; };
    if (lambda && !check)
        for (int j = 0; j < g.rows; ++j)
            for (int k = 0; k < g.columns; ++k) {
                const int v = s.lambdaBlock[static_cast<std::size_t>(gridIndex(g.firstColumn + k, g.firstRow + j))];
                if (v == 0 || !touches(g.left(k), g.top(j), g.left(k + 1), g.top(j + 1))) continue;
                const TColor colour = lambdaColourOf(v);
                c.Pen.Style = psSolid;
                c.Pen.Width = 1;
                c.Pen.Color = colour;
                c.Brush.Style = bsSolid;
                c.Brush.Color = colour;
                const int cx = truncInt(g.left(k) + 1 + L.cellWidth / 2),
                          cy = truncInt(g.top(j) + 1 + L.cellHeight / 2);
                const int rx = truncInt(L.cellWidth * 4 / 9), ry = truncInt(L.cellHeight * 4 / 9);
                c.Ellipse(cx - rx, cy - ry, cx + rx, cy + ry);
            }

    // 10. The live operating point; 11. the label rows of a sheet whose columns are named.
    if ((s.flags & kSheetOperatingPoint) && s.opState != 0) {
        const TColor ring = s.opState == 1 ? colours[10] : colours[11];
        const int k = g.shownColumn(s.opColumn), j = g.shownRow(s.opRow);
        if (k >= 0 && !X.collapsed) DrawRing(c, g.left(k), g.headTop, g.left(k + 1) - g.left(k), L.headHeight, ring);
        if (j >= 0 && !Y.collapsed) DrawRing(c, g.headLeft, g.top(j), L.yHeadWidth, g.top(j + 1) - g.top(j), ring);
        if (k >= 0 && j >= 0 && s.opState > 0 && !check)
            DrawRing(c, g.left(k), g.top(j), g.left(k + 1) - g.left(k), g.top(j + 1) - g.top(j), ring);
    }
    if ((s.flags & kSheetOperatingPoint) && X.hasStringView())
        for (int i = 0; i < std::min(2, nx); ++i) {
            if (X.points[i] < 0 || X.points[i] > 31) continue;
            const int k = g.shownColumn(i), j = g.shownRow(s.labelRows[static_cast<std::size_t>(i)]);
            if (k >= 0 && j >= 0)
                DrawRing(c, g.left(k), g.top(j), g.left(k + 1) - g.left(k), g.top(j + 1) - g.top(j), colours[10]);
        }

    // 12. The selection frame with its drag handle.
    if (sel.count > 0 && (!check || sel.minColumn == -1 || sel.minRow == -1)) {
        const Frame f = frameOf(g, sel.minColumn, sel.minRow, sel.maxColumn, sel.maxRow);
        drawFrame(c, f, clBlack, Focused() ? 3 : 2);
        if (f.valid && f.handle()) {
            const int x = f.r, y = f.b;
            FillBox(c, x - 3, y - 1, 1, 3, colours[1]);
            FillBox(c, x - 1, y - 3, 3, 1, colours[1]);
            FillBox(c, x - 2, y - 2, 5, 5, clBlack);
        }
    }

    // 13. A one-pixel outline around the selected region.
    if (sel.count > 1) {
        auto cellSelected = [&](int col, int row) {
            return col >= 0 && row >= 0 && col < nx && row < ny && marked(sel.cellMark(col, row));
        };
        if (!check)
            for (int j = 0; j < g.rows; ++j)
                for (int k = 0; k < g.columns; ++k) {
                    const int col = g.firstColumn + k, row = g.firstRow + j;
                    if (!marked(sel.cellMark(col, row))) continue;
                    const int x0 = g.left(k), x1 = g.left(k + 1), y0 = g.top(j), y1 = g.top(j + 1);
                    if (!touches(x0, y0, x1, y1)) continue;
                    if (X.collapsed || !cellSelected(col - 1, row)) FillBox(c, x0 + 1, y0 + 1, 1, y1 - y0 - 1, clBlack);
                    if (X.collapsed || !cellSelected(col + 1, row)) FillBox(c, x1 - 1, y0 + 1, 1, y1 - y0 - 1, clBlack);
                    if (Y.collapsed || !cellSelected(col, row - 1)) FillBox(c, x0 + 1, y0 + 1, x1 - x0 - 1, 1, clBlack);
                    if (Y.collapsed || !cellSelected(col, row + 1)) FillBox(c, x0 + 1, y1 - 1, x1 - x0 - 1, 1, clBlack);
                }
        if (!X.collapsed)
            for (int k = 0; k < g.columns; ++k) {
                const int col = g.firstColumn + k;
                if (!marked(sel.xMark(col))) continue;
                const int x0 = g.left(k), x1 = g.left(k + 1), y0 = g.headTop, y1 = g.headBottom;
                if (col == 0 || !marked(sel.xMark(col - 1))) FillBox(c, x0 + 1, y0 + 1, 1, y1 - y0 - 1, clBlack);
                if (col + 1 >= nx || !marked(sel.xMark(col + 1))) FillBox(c, x1 - 1, y0 + 1, 1, y1 - y0 - 1, clBlack);
                FillBox(c, x0 + 1, y0 + 1, x1 - x0 - 1, 1, clBlack);
                FillBox(c, x0 + 1, y1 - 1, x1 - x0 - 1, 1, clBlack);
            }
        if (!Y.collapsed)
            for (int j = 0; j < g.rows; ++j) {
                const int row = g.firstRow + j;
                if (!marked(sel.yMark(row))) continue;
                const int x0 = g.headLeft, x1 = g.headRight, y0 = g.top(j), y1 = g.top(j + 1);
                if (row == 0 || !marked(sel.yMark(row - 1))) FillBox(c, x0 + 1, y0 + 1, x1 - x0 - 1, 1, clBlack);
                if (row + 1 >= ny || !marked(sel.yMark(row + 1))) FillBox(c, x0 + 1, y1 - 1, x1 - x0 - 1, 1, clBlack);
                FillBox(c, x0 + 1, y0 + 1, 1, y1 - y0 - 1, clBlack);
                FillBox(c, x1 - 1, y0 + 1, 1, y1 - y0 - 1, clBlack);
            }
    }

    // 14. The rectangle a running drag will fill.
    if (tableDrag.mode != 0)
        drawFrame(c,
                  frameOf(g, std::min(tableDrag.firstColumn, tableDrag.lastColumn),
                          std::min(tableDrag.firstRow, tableDrag.lastRow),
                          std::max(tableDrag.firstColumn, tableDrag.lastColumn),
                          std::max(tableDrag.firstRow, tableDrag.lastRow)),
                  kGrey, 3);

    // 15. to 17. Texts of the cells and heads.
    auto isEdited = [&](int column, int row) { return edit.active && edit.column == column && edit.row == row; };
    auto axisFont = [&](const CAxe& axis) {
        numberFont(c.Font, axis.labelFontSize, entrySize);
        if (!axis.editable) {
            c.Font.Size = std::max(1, truncInt(c.Font.Size * 1.2 * 5 / 7));
            c.Font.Style |= fsItalic;
        }
    };
    const TColor ink = s.data.editable ? clBlack : kGrey;
    std::vector<Text> texts;
    texts.reserve(static_cast<std::size_t>(g.columns * g.rows));
    if (!check) {
        const double scale2 = std::isfinite(s.data.scale2) && s.data.scale2 != 0 ? s.data.scale2 : 1.0;
        for (int j = 0; j < g.rows; ++j)
            for (int k = 0; k < g.columns; ++k) {
                const int col = g.firstColumn + k, row = g.firstRow + j;
                if (isEdited(col, row)) continue;
                const std::int32_t own = s.value(col, row);
                std::int32_t v = own;
                TColor colour = ink;
                if (lambda) {
                    const int byte = s.lambdaBlock[static_cast<std::size_t>(gridIndex(col, row))];
                    const TColor lc = ColorToRgb(lambdaColourOf(byte));
                    if (byte != 0 && (lc & 0xFF) < 128 && ((lc >> 8) & 0xFF) < 128) colour = clWhite;
                }
                if (previewShown(sel.cellMark(col, row))) {
                    v = previewBuffer[static_cast<std::size_t>(gridIndex(col, row))];
                    if (v != own) colour = colours[9];
                }
                Text t{NumberText(truncInt(v / scale2), scale2 * s.data.scale, s.data.unit, s.data.showUnit != 0),
                       g.left(k),
                       g.top(j),
                       g.left(k + 1) - 1,
                       g.top(j + 1) - 1,
                       colour};
                if (s.data.showUnit && !s.data.unit.empty()) t.unitAt = t.text.size() - s.data.unit.size() - 1;
                texts.push_back(std::move(t));
            }
        axisFont(s.data);
        writeGroup(c, texts, paintClip);
    }
    if (!X.collapsed) {
        texts.clear();
        axisFont(X);
        const int size = c.Font.Size;
        for (int k = 0; k < g.columns; ++k) {
            const int col = g.firstColumn + k;
            if (isEdited(col, -1)) continue;
            const int x0 = g.left(k), x1 = g.left(k + 1) - 1;
            if (X.hasStringView()) {
                StringViewFault fault = StringViewFault::None;
                const auto part = X.StringViewText(col, 0, &fault);
                if (!part) {
                    logOnce(StringViewFaultText(fault));
                    continue;
                }
                // A name is shrunk on its own to its column's width.
                const std::string text = pickText(*part);
                c.Font.Size = size;
                const int w = c.TextWidth(text);
                if (w > L.cellWidth && w > 0) c.Font.Size = std::max(1, truncInt((size * L.cellWidth + w / 2.0) / w));
                c.Font.Color = X.editable ? clBlack : kGrey;
                c.Brush.Style = bsClear;
                c.TextOut((x0 + x1 - c.TextWidth(text)) / 2 + 2, (g.headTop + g.headBottom - 1 - c.TextHeight("X")) / 2,
                          text);
                continue;
            }
            TColor colour = X.editable ? clBlack : kGrey;
            std::int32_t v = X.points[col];
            if (previewShown(sel.xMark(col))) {
                v = previewBuffer[static_cast<std::size_t>(col)];
                if (v != X.points[col]) colour = colours[9];
            }
            Text t{NumberText(v, X.scale, X.unit, X.showUnit != 0), x0, g.headTop, x1, g.headBottom - 1, colour};
            if (X.showUnit && !X.unit.empty()) t.unitAt = t.text.size() - X.unit.size() - 1;
            texts.push_back(std::move(t));
        }
        c.Font.Size = size;
        writeGroup(c, texts, paintClip);
    }
    if (!Y.collapsed) {
        texts.clear();
        axisFont(Y);
        for (int j = 0; j < g.rows; ++j) {
            const int row = g.firstRow + j;
            if (isEdited(-1, row)) continue;
            TColor colour = Y.editable ? clBlack : kGrey;
            std::int32_t v = Y.points[row];
            if (previewShown(sel.yMark(row))) {
                v = previewBuffer[static_cast<std::size_t>(gridIndex(0, row))];
                if (v != Y.points[row]) colour = colours[9];
            }
            Text t{NumberText(v, Y.scale, Y.unit, Y.showUnit != 0),
                   g.headLeft,
                   g.top(j),
                   g.headRight - 1,
                   g.top(j + 1) - 1,
                   colour};
            if (Y.showUnit && !Y.unit.empty()) t.unitAt = t.text.size() - Y.unit.size() - 1;
            texts.push_back(std::move(t));
        }
        writeGroup(c, texts, paintClip);
    }
    if (edit.active) {
        // In the font the edit was laid out in, so that the caret stands between the right characters.
        c.Font.Size = std::max(1, truncInt(1.4 * entrySize));
        c.Font.Style = fsBold;
        c.Font.Color = clBlack;
        const int a = std::min(edit.markStart, edit.markEnd), b = std::max(edit.markStart, edit.markEnd);
        if (a >= 0 && b > a && b < static_cast<int>(edit.offsets.size()))
            FillBox(c, edit.textLeft + edit.offsets[static_cast<std::size_t>(a)], edit.textTop,
                    edit.offsets[static_cast<std::size_t>(b)] - edit.offsets[static_cast<std::size_t>(a)],
                    edit.textHeight, colours[5]);
        c.Brush.Style = bsClear;
        c.TextOut(edit.textLeft, edit.textTop, edit.text);
    }

    // 18. Counts of resizable axes.
    c.Font.Size = 10;
    c.Font.Style = fsBold;
    c.Font.Color = clBlack;
    c.Brush.Style = bsClear;
    char count[16];
    if (Y.resizable && !Y.collapsed) {
        std::snprintf(count, sizeof count, "(%i)", Y.count);
        c.TextOut((g.headLeft + g.headRight - c.TextWidth(count)) / 2, g.cellsBottom + 2, count);
    }
    if (X.resizable && !X.collapsed) {
        std::snprintf(count, sizeof count, "(%i)", X.count);
        // Written upward right of the cells; where the vertical scroll bar stands, right of it when there is room.
        int x = truncInt(L.cellsLeft + L.visibleColumns * L.cellWidth + 2);
        if (vBar.visible && vBar.total > vBar.page) x = std::max(x, vBar.rect.right + 2);
        if (x + c.TextHeight(count) <= backBuffer.Width()) {
            c.Font.Orientation = 900;
            c.TextOut(x, (g.headTop + g.headBottom + c.TextWidth(count)) / 2, count);
            const std::string caption = pickText(kColumnsCaption);
            c.TextOut(x, g.headBottom + 55 + c.TextWidth(caption), caption);
            c.Font.Orientation = 0;
        }
    }

    // 19. Step buttons; 20. the view switch spot; 21. the check grid's spacing switch.
    PaintStepButtons(c);
    if (drawnViews == kViewTable && !(flagWord & kTabSideBar) && !bitmaps[kBmpViewSwitch].Empty())
        c.Draw(g.headLeft - 10, truncInt(L.cellsTop + (Y.collapsed ? 1 : g.rows) * L.cellHeight - 2),
               bitmaps[kBmpViewSwitch]);
    if (check) {
        const TBitmap& spot = bitmaps[graph.proportional ? kBmpNotProportional : kBmpProportional];
        if (!spot.Empty())
            c.Draw(g.headRight - 10, truncInt(L.cellsTop + (Y.collapsed ? 0 : g.rows) * L.cellHeight + 5), spot);
    }

    c.Font.Size = entrySize;
    c.Font.Style = 0;
    c.Font.Orientation = 0;
    c.Font.Color = clBlack;
    c.Brush.Style = bsSolid;
    c.Pen.Width = 1;
}

void TTab::CellValueChanged(int column, int row)
{
    const CSheet* sheet = Current();
    if (!sheet || drawnViews != kViewTable || interpHandle || printing) {
        // A graph, or the interpolation preview that depends on every corner, is drawn again as a whole.
        dirty |= kDirtyRecompute;
        return;
    }
    const Geometry g(layout, *sheet);
    const int k = g.shownColumn(column), j = g.shownRow(row);
    if (k < 0 || j < 0) return;  // not in view: nothing on the screen changes
    // The box with a margin for the selection frame's wide pen on its edges.
    const TRect box{g.left(k) - 3, g.top(j) - 3, g.left(k + 1) + 4, g.top(j + 1) + 4};
    if (cellDamage.right <= cellDamage.left)
        cellDamage = box;
    else
        cellDamage = {std::min(cellDamage.left, box.left), std::min(cellDamage.top, box.top),
                      std::max(cellDamage.right, box.right), std::max(cellDamage.bottom, box.bottom)};
    dirty |= kDirtyCells;
}

// ---------------------------------------------------------------- pointer

namespace {

// The pointer moved with a resize or move drag running: the drag rectangle follows by whole cells.
bool followDrag(TabTableDrag& d, const CSheet& s, const TabLayout& L, int x, int y)
{
    const TSel& sel = s.sel;
    const int dx = L.cellWidth > 0 ? truncInt((x - d.startX) / L.cellWidth) : 0;
    const int dy = L.cellHeight > 0 ? truncInt((y - d.startY) / L.cellHeight) : 0;
    const int nx = std::min(s.x.usedCount(), kMaxColumns), ny = std::min(s.y.usedCount(), kMaxRows);
    auto span = [&](int lo, int hi, int by, int n, bool heads, bool collapsed, int& first, int& last) {
        if (heads) {
            first = last = -1;
            return;
        }
        lo = std::min(lo, hi), hi = std::max(lo, hi);
        if (collapsed || n <= 0) by = 0;
        if (d.mode == 1) {
            first = lo;
            last = hi + by;
            if (last < first) std::swap(first, last);
            first = std::clamp(first, 0, std::max(0, n - 1));
            last = std::clamp(last, 0, std::max(0, n - 1));
        } else {
            const int size = hi - lo;
            first = lo + by;
            if (first < 0) first = 0;
            if (first + size > n - 1) first = std::max(0, n - 1 - size);
            last = first + size;
        }
    };
    int fc = 0, lc = 0, fr = 0, lr = 0;
    span(sel.minColumn, sel.maxColumn, dx, nx, sel.minColumn == -1, s.x.collapsed, fc, lc);
    span(sel.minRow, sel.maxRow, dy, ny, sel.minRow == -1, s.y.collapsed, fr, lr);
    if (fc == d.firstColumn && lc == d.lastColumn && fr == d.firstRow && lr == d.lastRow) return false;
    d.firstColumn = fc;
    d.lastColumn = lc;
    d.firstRow = fr;
    d.lastRow = lr;
    return true;
}

// Whether the items of a selection of this kind may be changed.
bool selectedItemsEditable(const CSheet& s)
{
    const TSel& sel = s.sel;
    if (sel.minRow == -1) return s.x.editable != 0;
    if (sel.minColumn == -1) return s.y.editable != 0;
    return s.data.editable != 0;
}

// The caret position nearest to x.
int nearestBoundary(const TabCellEdit& e, int x)
{
    int best = 0;
    for (std::size_t i = 0; i < e.offsets.size(); ++i)
        if (std::abs(e.textLeft + e.offsets[i] - x) <
            std::abs(e.textLeft + e.offsets[static_cast<std::size_t>(best)] - x))
            best = static_cast<int>(i);
    return best;
}

// The select-all box where the two gap strips cross (only while neither axis is collapsed).
bool onSelectAll(const Geometry& g, int x, int y)
{
    return !g.s.x.collapsed && !g.s.y.collapsed && g.headRight + 2 <= x && x < g.L.cellsLeft && g.headBottom + 2 <= y &&
           y < g.L.cellsTop;
}

// Which axis label of the corner cell is at (x, y): kSelXHeads above its diagonal (the test is strict), kSelYHeads
// on and below it, 0 outside the corner. With one axis collapsed the other's label takes the corner.
int cornerLabel(const Geometry& g, int x, int y)
{
    const CAxe& X = g.s.x;
    const CAxe& Y = g.s.y;
    const int left = g.headLeft + (Y.collapsed ? 1 : 0), top = X.collapsed ? g.L.cellsTop - 30 : g.headTop;
    const int bottom = Y.collapsed ? g.headBottom : g.L.cellsTop;
    if (x < left || x >= g.L.cellsLeft || y < top || y >= bottom) return 0;
    if (X.collapsed) return Y.collapsed ? 0 : kSelYHeads;
    if (Y.collapsed) return kSelXHeads;
    return std::int64_t{y - g.headTop} * g.L.yHeadWidth < std::int64_t{x - g.headLeft} * g.L.headHeight ? kSelXHeads
                                                                                                        : kSelYHeads;
}

// The scroll bars take a press at the pointer, a moved bar scrolling the table; whether one took it.
bool pressScrollBars(TTab& tab)
{
    for (CTabScrollBar* bar : {&tab.hBar, &tab.vBar}) {
        bar->mouseX = tab.px;
        bar->mouseY = tab.py;
        bar->HitTest();
        if (const int r = bar->Press(); r != 0) {
            if (r == 6) tab.Command(bar == &tab.hBar ? kCmdHorizontalBar : kCmdVerticalBar);
            tab.dirty |= kDirtyRedraw;
            return true;
        }
    }
    return false;
}

}  // namespace

void TTab::TableMouseMove()
{
    CSheet* sheet = Current();
    if (!sheet || !sheet->isAllocated()) return;
    const TabLayout& L = layout;
    const Geometry g(L, *sheet);
    TSel& sel = sheet->sel;

    // 1. A resize or move drag follows the pointer.
    if (tableDrag.mode != 0) {
        wantCross = tableDrag.mode == 1;
        wantSizeAll = tableDrag.mode == 2;
        if (followDrag(tableDrag, *sheet, L, px, py)) dirty |= kDirtyRedraw;
        return;
    }
    // 2. A held scroll-bar thumb.
    for (CTabScrollBar* bar : {&hBar, &vBar})
        if (bar->thumbDrag) {
            bar->mouseX = px;
            bar->mouseY = py;
            if (const int r = bar->HitTest(); r == 2)
                Command(bar == &hBar ? kCmdHorizontalBar : kCmdVerticalBar);
            else if (r == 1)
                dirty |= kDirtyRedraw;
            return;
        }

    // 3. Hover analysis.
    int column = -2, row = -2;
    const int kind = TSel::HitCell(visibleHits, px, py, column, row);
    if (edit.active && column == edit.column && row == edit.row) wantIBeam = true;
    if (edit.active && tableDrag.caretDrag) {
        const int caret = nearestBoundary(edit, px);
        if (caret != edit.caret) {
            if (edit.markStart < 0) edit.markStart = edit.caret;
            edit.caret = caret;
            edit.markEnd = caret;
            LayoutCellEdit();
            dirty |= kDirtyRedraw;
        }
        return;
    }
    const int oldEdge = tableDrag.frameEdge;
    const bool oldHandle = tableDrag.onHandle;
    tableDrag.frameEdge = 0;
    tableDrag.onHandle = false;
    if (!tableDrag.selecting && sel.count > 0 && selectedItemsEditable(*sheet) &&
        (!(flagWord & kTabCheckGrid) || sel.minColumn == -1 || sel.minRow == -1)) {
        const Frame f = frameOf(g, sel.minColumn, sel.minRow, sel.maxColumn, sel.maxRow);
        const TRect& a = f.area;
        if (f.valid && a.left - 2 <= px && px <= a.right + 2 && a.top - 2 <= py && py <= a.bottom + 2) {
            if (f.handle() && std::abs(px - f.r) <= 5 && std::abs(py - f.b) <= 5) {
                tableDrag.onHandle = true;
            } else {
                const bool acrossX = f.l - 2 <= px && px <= f.r + 2, acrossY = f.t - 2 <= py && py <= f.b + 2;
                if (f.top() && acrossX && std::abs(py - f.t) <= 2) tableDrag.frameEdge = 1;
                if (f.left() && acrossY && std::abs(px - f.l) <= 2) tableDrag.frameEdge = 2;
                if (f.right() && acrossY && std::abs(px - f.r) <= 2) tableDrag.frameEdge = 4;
                if (f.bottom() && acrossX && std::abs(py - f.b) <= 2) tableDrag.frameEdge = 8;
            }
        }
    }
    // Corners of the selection rectangle: a click there interpolates; meanwhile the preview shows.
    if (sel.rectangle && !tableDrag.selecting) {
        const int c0 = sel.rectLeft, c1 = sel.rectRight, r0 = sel.rectTop, r1 = sel.rectBottom;
        const Frame f = frameOf(g, c0, r0, c1, r1, false);
        const bool itemsEditable = r0 == -1 ? sheet->x.editable : c0 == -1 ? sheet->y.editable : sheet->data.editable;
        const int t = truncInt(L.cellHeight);
        if (f.valid && itemsEditable && inside(f.area, px, py) && f.l <= px && px <= f.r - 1 && f.t <= py &&
            py <= f.b - 1)
            for (const TPoint corner :
                 {TPoint{f.l, f.t}, TPoint{f.r - 1, f.t}, TPoint{f.l, f.b - 1}, TPoint{f.r - 1, f.b - 1}})
                if (std::abs(px - corner.x) + std::abs(py - corner.y) <= t) interpHandle = true;
    }
    if (interpHandle) {
        tableDrag.frameEdge = 0;
        tableDrag.onHandle = false;
    }
    wantCross = tableDrag.onHandle;
    wantSizeAll = tableDrag.frameEdge != 0;
    if (tableDrag.frameEdge != oldEdge || tableDrag.onHandle != oldHandle || interpHandle != interpHandlePrev)
        dirty |= kDirtyRedraw;

    // A selection band made with the button held follows the pointer, kept inside the shown cells.
    if (tableDrag.selecting) {
        HideStepButtons();
        const int right = std::max(L.cellsLeft + 1, g.cellsRight - 1),
                  bottom = std::max(L.cellsTop + 1, g.cellsBottom - 1);
        if (sel.DragTo(fullHits, std::clamp(px, L.cellsLeft + 1, right), std::clamp(py, L.cellsTop + 1, bottom), false))
            dirty |= kDirtyRedraw;
        return;
    }

    // Step buttons: shown beside the editable item under the pointer.
    // The step buttons of the corner cell would cover the drag handle whenever the pointer comes near it: the
    // handle goes first.
    step.hover = 0;
    if (step.shown && !tableDrag.onHandle) {
        if (inside(step.up, px, py))
            step.hover = 1;
        else if (inside(step.down, px, py))
            step.hover = 2;
        step.held = (step.hover == 1 && step.upPressed) || (step.hover == 2 && step.downPressed);
    }
    if (step.hover != 0) {
        tableDrag.frameEdge = 0;
        tableDrag.onHandle = false;
        interpHandle = false;
        wantCross = wantSizeAll = false;
        return;
    }
    if (kind == 0 && tableDrag.frameEdge == 0 && !tableDrag.onHandle && !interpHandle) {
        if (step.upPressed || step.downPressed) {
            step.upPressed = step.downPressed = false;
            dirty |= kDirtyRedraw;
        }
    } else if (kind != 0) {
        if (editableItem(*sheet, column, row)) {
            if (!step.shown || step.column != column || step.row != row) PlaceStepButtons(column, row);
        } else {
            HideStepButtons();
        }
    }
    for (CTabScrollBar* bar : {&hBar, &vBar}) {
        bar->mouseX = px;
        bar->mouseY = py;
        if (bar->HitTest() != 0) dirty |= kDirtyRedraw;
    }
}

bool TTab::TableMouseDown()
{
    CSheet* sheet = Current();
    if (!sheet || !sheet->isAllocated()) return false;
    const TabLayout& L = layout;
    const Geometry g(L, *sheet);
    TSel& sel = sheet->sel;
    const CAxe& X = sheet->x;
    const CAxe& Y = sheet->y;
    const bool check = flagWord & kTabCheckGrid;

    // 1. A step button.
    if (step.shown && step.hover != 0) {
        CommitCellEdit();
        step.upPressed = step.hover == 1;
        step.downPressed = step.hover == 2;
        step.repeatBegan = false;
        step.pressTick = tickCount;
        step.held = true;
        dirty |= kDirtyRedraw;
        return true;
    }
    // 2. A corner of the selection rectangle.
    if (interpHandle) {
        Command(kCmdInterpolate);
        return true;
    }
    // 3. The in-place edit: a click on its own item places the caret, elsewhere ends it.
    if (edit.active) {
        int column = -2, row = -2;
        TSel::HitCell(visibleHits, px, py, column, row);
        if (column == edit.column && row == edit.row) {
            edit.caret = nearestBoundary(edit, px);
            edit.markStart = edit.markEnd = edit.caret;
            tableDrag.caretDrag = true;
            LayoutCellEdit();
            dirty |= kDirtyRedraw;
            return true;
        }
        CommitCellEdit();
    }
    // 5. The drag handle stretches the selection, its frame moves it.
    if (tableDrag.onHandle || tableDrag.frameEdge != 0) {
        tableDrag.mode = tableDrag.onHandle ? 1 : 2;
        tableDrag.startX = px;
        tableDrag.startY = py;
        tableDrag.firstColumn = std::min(sel.minColumn, sel.maxColumn);
        tableDrag.lastColumn = std::max(sel.minColumn, sel.maxColumn);
        tableDrag.firstRow = std::min(sel.minRow, sel.maxRow);
        tableDrag.lastRow = std::max(sel.minRow, sel.maxRow);
        HideStepButtons();
        dirty |= kDirtyRedraw;
        return true;
    }
    // 4. The buttons of the whole table, the axis labels, the scroll bars, then the items themselves.
    const int nx = g.usedColumns(), ny = g.usedRows();
    auto selectHeads = [&](int label) {
        const bool xHeads = label == kSelXHeads;
        const int n = xHeads ? nx : ny;
        if (n > 0) {
            sel.SelectOne(fullHits, xHeads ? 0 : -1, xHeads ? -1 : 0);
            sel.SelectTo(fullHits, xHeads ? n - 1 : -1, xHeads ? -1 : n - 1);
        }
        dirty |= kDirtyRedraw;
    };
    auto selectAllCells = [&] {
        if (countSelectedCells(*sheet, nx, ny) < nx * ny) {
            sel.SelectOne(fullHits, 0, 0);
            sel.SelectTo(fullHits, nx - 1, ny - 1);
        } else {
            sel.Reset();
        }
        dirty |= kDirtyRedraw;
        return true;
    };
    if (!check) {
        if (onSelectAll(g, px, py)) return selectAllCells();
        if (X.collapsed && g.headRight + 2 <= px && px <= g.left(1) && L.cellsTop - 30 <= py && py < L.cellsTop)
            return selectAllCells();
        if (Y.collapsed && g.headLeft <= px && px < L.cellsLeft && g.headBottom + 2 <= py && py <= g.top(1))
            return selectAllCells();
    }
    if (const int label = cornerLabel(g, px, py); label != 0) {
        selectHeads(label);
        return true;
    }
    if (pressScrollBars(*this)) return true;
    if (px < g.headLeft || px > g.cellsRight || py < g.headTop || py > g.cellsBottom) return false;
    sel.StartTableDrag(visibleHits, px, py, shiftDown, ctrlDown);
    tableDrag.selecting = sel.dragKind != 0;
    if (tableDrag.selecting) HideStepButtons();
    dirty |= kDirtyRedraw;
    return true;
}

bool TTab::TableMouseUp()
{
    CSheet* sheet = Current();
    if (!sheet) return false;
    tableDrag.caretDrag = false;
    // 1. A pressed step button steps once, unless it has been repeating.
    if (step.upPressed || step.downPressed) {
        step.upPressed = step.downPressed = false;
        step.held = false;
        if (!step.repeatBegan && step.hover != 0) StepTarget(step.hover == 1 ? 1 : -1);
        dirty |= kDirtyRedraw;
        return true;
    }
    // 2. A drag fills or moves its rectangle, which becomes the selection.
    if (tableDrag.mode != 0) {
        DragFill();
        tableDrag.mode = 0;
        dirty |= kDirtyRedraw;
        UpdateHover();
        return true;
    }
    // 3. Scroll bars.
    for (CTabScrollBar* bar : {&hBar, &vBar})
        if (bar->Release() == 5) {
            dirty |= kDirtyRedraw;
            return true;
        }
    // 4. A selection being made is complete.
    if (tableDrag.selecting) {
        tableDrag.selecting = false;
        sheet->sel.Commit(fullHits);
        dirty |= kDirtyRedraw;
        UpdateHover();
    }
    return false;
}

bool TTab::TableRightDown()
{
    CSheet* sheet = Current();
    if (!sheet || !sheet->isAllocated()) return false;
    TSel& sel = sheet->sel;
    if (tableDrag.selecting) {
        tableDrag.selecting = false;
        sel.Commit(fullHits);
    }
    const TabLayout& L = layout;
    const Geometry g(L, *sheet);
    const CAxe& X = sheet->x;
    const CAxe& Y = sheet->y;
    const int nx = g.usedColumns(), ny = g.usedRows();
    dirty |= kDirtyRedraw;
    auto selectRange = [&](int c0, int r0, int c1, int r1) {
        sel.SelectOne(fullHits, c0, r0);
        sel.SelectTo(fullHits, c1, r1);
    };
    if (!(flagWord & kTabCheckGrid) && onSelectAll(g, px, py)) {
        if (nx > 0 && ny > 0) selectRange(0, 0, nx - 1, ny - 1);
        return false;
    }
    if (const int label = cornerLabel(g, px, py); label != 0) {
        if (label == kSelXHeads && nx > 0) selectRange(0, -1, nx - 1, -1);
        if (label == kSelYHeads && ny > 0) selectRange(-1, 0, -1, ny - 1);
        return false;
    }
    int column = -2, row = -2;
    if (TSel::HitCell(visibleHits, px, py, column, row) != 0) {
        if (!marked(sel.MarkAt(column, row))) sel.SelectOne(fullHits, column, row);
        return false;
    }
    const int bits = TSel::HitTest(visibleHits, px, py);
    if (bits & kHitColumnStrip) {
        const int c = visibleHits.hitColumn;
        int selected = 0, total = 0;
        lineCells(g, true, c, selected, total);
        if (selected < total) {
            if (Y.collapsed)
                sel.SelectOne(fullHits, c, Y.collapsedIndex);
            else
                selectRange(c, 0, c, ny - 1);
        }
        return false;
    }
    if (bits & kHitRowStrip) {
        const int r = visibleHits.hitRow;
        int selected = 0, total = 0;
        lineCells(g, false, r, selected, total);
        if (selected < total) {
            if (X.collapsed)
                sel.SelectOne(fullHits, X.collapsedIndex, r);
            else
                selectRange(0, r, nx - 1, r);
        }
        return false;
    }
    sel.Reset();
    return false;
}

bool TTab::TableDoubleClick()
{
    CSheet* sheet = Current();
    if (!sheet || !sheet->isAllocated()) return false;
    if (step.shown && step.hover != 0) {
        step.upPressed = step.hover == 1;
        step.downPressed = step.hover == 2;
        step.pressTick = tickCount;
        step.repeatBegan = false;
        step.held = true;
        return true;
    }
    int column = -2, row = -2;
    TSel::HitCell(visibleHits, px, py, column, row);
    if (!editableItem(*sheet, column, row)) {
        if (!pressScrollBars(*this)) return false;
        ApplyCursor();
        return true;
    }
    if (!edit.active || edit.column != column || edit.row != row) BeginCellEdit(column, row, false);
    if (!edit.active) return false;
    edit.markStart = 0;
    edit.markEnd = static_cast<int>(edit.text.size());
    edit.caret = nearestBoundary(edit, px);
    LayoutCellEdit();
    dirty |= kDirtyRedraw;
    return true;
}

bool TTab::TableWheel(int direction)
{
    if (!step.shown) return false;
    StepTarget(direction);
    return true;
}

// ---------------------------------------------------------------- keys

bool TTab::TableKey(int code)
{
    CSheet* sheet = Current();
    if (!sheet || !sheet->isAllocated()) return false;
    int column = -2, row = -2;
    const bool hasFocus = GetFocusCell(column, row);
    const bool focusEditable = hasFocus && editableItem(*sheet, column, row);
    auto relayout = [&] {
        LayoutCellEdit();
        dirty |= kDirtyRedraw;
    };
    auto deleteMarked = [&] {
        const int a = std::min(edit.markStart, edit.markEnd), b = std::max(edit.markStart, edit.markEnd);
        if (a < 0 || b <= a || b > static_cast<int>(edit.text.size())) return false;
        edit.text.erase(static_cast<std::size_t>(a), static_cast<std::size_t>(b - a));
        edit.caret = a;
        edit.markStart = edit.markEnd = -1;
        return true;
    };

    if (!edit.active) {
        if (code == ' ' || code == ',' || code == '.' || (code >= '0' && code <= '9')) {
            if (!focusEditable) return false;
            BeginCellEdit(column, row, true);
            if (!edit.active) return false;
            // and typed below
        } else if (code == VK_BACK || code == VK_DELETE * 256 || code == VK_INSERT * 256) {
            if (focusEditable) BeginCellEdit(column, row, code != VK_INSERT * 256);
            if (edit.active && code == VK_INSERT * 256) edit.markStart = edit.markEnd = -1;
            dirty |= kDirtyRedraw;
            return true;
        } else if (code == VK_RETURN) {
            const bool lastRow = sheet->y.collapsed || row == std::min(sheet->y.usedCount(), kMaxRows) - 1;
            MoveFocus(lastRow ? 1 : 0, sheet->y.collapsed ? 0 : 1, false);
            return true;
        } else if (code == VK_ESCAPE) {
            if (sheet->sel.count == 0) return false;
            sheet->sel.Reset();
            dirty |= kDirtyRedraw;
            return true;
        } else {
            const int nx = std::min(sheet->x.usedCount(), kMaxColumns), ny = std::min(sheet->y.usedCount(), kMaxRows);
            const int firstColumn = sheet->x.collapsed ? sheet->x.collapsedIndex : 0;
            const int lastColumn = sheet->x.collapsed ? sheet->x.collapsedIndex : nx - 1;
            const int firstRow = sheet->y.collapsed ? sheet->y.collapsedIndex : 0;
            const int lastRow = sheet->y.collapsed ? sheet->y.collapsedIndex : ny - 1;
            switch (code) {
                case VK_LEFT * 256:
                    MoveFocus(-1, 0, shiftDown);
                    return hasFocus;
                case VK_RIGHT * 256:
                    MoveFocus(1, 0, shiftDown);
                    return hasFocus;
                case VK_UP * 256:
                    MoveFocus(0, -1, shiftDown);
                    return hasFocus;
                case VK_DOWN * 256:
                    MoveFocus(0, 1, shiftDown);
                    return hasFocus;
                case VK_HOME * 256:
                    MoveFocus(10000 + firstColumn, 0, shiftDown);
                    return hasFocus;
                case VK_END * 256:
                    MoveFocus(10000 + lastColumn, 0, shiftDown);
                    return hasFocus;
                case VK_PRIOR * 256:
                    MoveFocus(0, 10000 + firstRow, shiftDown);
                    return hasFocus;
                case VK_NEXT * 256:
                    MoveFocus(0, 10000 + lastRow, shiftDown);
                    return hasFocus;
                default:
                    return false;
            }
        }
    }

    if (typedCharacter(code)) {
        if (static_cast<int>(edit.text.size()) < kEditCharsMax) {
            deleteMarked();
            edit.markStart = edit.markEnd = -1;
            edit.caret = std::clamp(edit.caret, 0, static_cast<int>(edit.text.size()));
            edit.text.insert(edit.text.begin() + edit.caret, static_cast<char>(code));
            ++edit.caret;
            relayout();
        }
        return true;
    }
    const int length = static_cast<int>(edit.text.size());
    switch (code) {
        case VK_BACK:
            if (!deleteMarked() && edit.caret > 0) edit.text.erase(static_cast<std::size_t>(--edit.caret), 1);
            relayout();
            return true;
        case VK_DELETE * 256:
            if (!deleteMarked() && edit.caret < length) edit.text.erase(static_cast<std::size_t>(edit.caret), 1);
            relayout();
            return true;
        case VK_RETURN:
        case VK_PRIOR * 256:
        case VK_NEXT * 256:
        case VK_UP * 256:
        case VK_DOWN * 256:
            CommitCellEdit();
            return true;
        case VK_ESCAPE:
            edit.active = false;
            dirty |= kDirtyRedraw;
            return true;
        case VK_HOME * 256:
        case VK_END * 256:
        case VK_LEFT * 256:
        case VK_RIGHT * 256: {
            const int old = edit.caret;
            if (code == VK_HOME * 256)
                edit.caret = 0;
            else if (code == VK_END * 256)
                edit.caret = length;
            else if (code == VK_LEFT * 256)
                edit.caret = std::max(0, edit.caret - 1);
            else
                edit.caret = std::min(length, edit.caret + 1);
            if (!shiftDown) {
                edit.markStart = edit.markEnd = -1;
            } else {
                if (edit.markStart == edit.markEnd) edit.markStart = old;
                edit.markEnd = edit.caret;
            }
            relayout();
            return true;
        }
        default:
            return false;
    }
}
