// Sheet interface, change notification, operating point, in-place edit, focus, scrolling and fill of the map
// editor.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "mapeditor/numtext.h"
#include "mapeditor/tab.h"
#include "os/lngtext.h"

namespace {

// At most n characters of UTF-8 text, never splitting a character.
std::string limited(std::string_view s, std::size_t n)
{
    std::size_t i = 0, chars = 0;
    while (i < s.size() && chars < n) {
        ++i;
        while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
        ++chars;
    }
    return std::string(s.substr(0, i));
}

std::int32_t toInt32(std::int64_t v)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

std::int32_t truncGuide(double v)
{
    if (!std::isfinite(v)) return 0;
    return static_cast<std::int32_t>(std::clamp(std::trunc(v), -2147483647.0, 2147483647.0));
}

double safeScale(double s)
{
    return std::isfinite(s) && s != 0 ? s : 1.0;
}

// Linear continuation of the source s[a..b] to index i (inside it, the source value).
std::int64_t extend(const std::int32_t* s, int stride, int a, int b, int i)
{
    auto at = [&](int k) { return std::int64_t{s[static_cast<std::ptrdiff_t>(k) * stride]}; };
    if (a == b) return at(a);
    if (i < a) return at(a) + std::int64_t{i - a} * (at(a + 1) - at(a));
    if (i > b) return at(b) + std::int64_t{i - b} * (at(b) - at(b - 1));
    return at(i);
}

}  // namespace

// ---------------------------------------------------------------- sheet interface

int TTab::AddSheet(std::string_view title, std::string_view labelX, std::string_view labelY, std::string_view labelData,
                   int columns, int rows, int sheetFlags)
{
    if (sheetCount >= kMaxSheets) return -1;
    const int index = sheetCount++;
    CSheet& sheet = sheets[static_cast<std::size_t>(index)];
    sheet = CSheet();
    sheet.flags = sheetFlags;
    sheet.Allocate();
    SetSheetTitle(index, title);
    sheet.x.label = limited(labelX, kLabelMax);
    sheet.y.label = limited(labelY, kLabelMax);
    sheet.data.label = limited(labelData, kLabelMax);
    sheet.x.showUnit = sheet.y.showUnit = 1;
    sheet.data.showUnit = 0;
    sheet.x.maxCount = sheet.x.count = std::clamp(columns, 1, kMaxColumns);
    sheet.y.maxCount = sheet.y.count = std::clamp(rows, 1, kMaxRows);
    UpdateLimits(sheet, 7);
    if (flagWord & kTabCheckGrid) {
        sheet.cellFontSize = -10;
        sheet.x.labelFontSize = sheet.y.labelFontSize = sheet.data.labelFontSize = -9;
    }
    return index;
}

void TTab::SetSheetTitle(int index, std::string_view title)
{
    if (index < 0 || index >= sheetCount) return;
    CSheet& sheet = sheets[static_cast<std::size_t>(index)];
    sheet.title = limited(title, kTitleMax);
    TCanvas& c = backBuffer.Canvas();
    const int size = c.Font.Size;
    const unsigned style = c.Font.Style;
    c.Font.Size = std::max(1, std::abs(sheet.titleFontSize));
    c.Font.Style = 0;
    int widest = 0;
    for (int language : {LNG_ENGLISH, LNG_GERMAN, LNG_CZECH})
        widest = std::max(widest, c.TextWidth(GetLngText(sheet.title, language)));
    c.Font.Size = size;
    c.Font.Style = style;
    sheet.tabWidth = widest + 15;
}

void TTab::SetAxis(int index, int mask, const AxisSetup& a)
{
    if (index < 0 || index >= sheetCount) return;
    CSheet& sheet = sheets[static_cast<std::size_t>(index)];
    for (int bit : {1, 2, 4}) {
        if (!(mask & bit)) continue;
        CAxe& axis = bit == 1 ? sheet.x : bit == 2 ? sheet.y : sheet.data;
        axis.name = limited(a.name, kNameMax);
        axis.unit = limited(a.unit, kUnitMax);
        axis.min = a.min;
        axis.max = a.max;
        axis.scale = a.scale;
        axis.editable = a.editable;
        axis.scaleGroup = a.scaleGroup;
        axis.colour = a.colour;
        axis.picture = a.picture;
        axis.SetSteps(a.steps);
        axis.fullRangeColour = (a.options & 2) ? 1 : 0;
        if (bit == 4) {
            axis.numeric = 1;
            continue;
        }
        axis.numeric = (a.options & 1) ? 1 : 0;
        axis.minSpacing = a.minSpacing;
        axis.minCount = a.minCount <= 0 ? 1 : std::min(a.minCount, axis.maxCount);
        axis.count = std::clamp(a.count, axis.minCount, std::max(axis.minCount, axis.maxCount));
        axis.collapseOption = a.collapseOption;
        axis.collapsed = a.collapsed;
        axis.resizable = a.resizable;
        axis.collapsePos = a.collapsePos;
    }
}

void TTab::SelectSheet(int index)
{
    if (index < 0 || index >= sheetCount) return;
    CommitCellEdit();
    previous = current;
    current = index;
    BuildSideBar();
    dirty |= kDirtyRecompute;
    SetView(0);
    UpdateOperatingPoint();
}

void TTab::UpdateLimits(CSheet& sheet, int flags)
{
    if (sheet.x.label == "RPM") {
        if (sheet.flags & kSheetBaseAdvance)
            guides.baseAdvance = std::clamp(
                guides.baseAdvance, truncGuide(sheet.data.min * sheet.data.scale),
                std::max(truncGuide(sheet.data.min * sheet.data.scale), truncGuide(sheet.data.max * sheet.data.scale)));
        const std::int32_t lo = truncGuide(sheet.x.min * sheet.x.scale);
        const std::int32_t hi = std::max(lo, truncGuide(sheet.x.max * sheet.x.scale));
        if (sheet.flags & kSheetLimiter) guides.limiter = std::clamp(guides.limiter, lo, hi);
        if (sheet.flags & kSheetStartLimiter) guides.startLimiter = std::clamp(guides.startLimiter, lo, hi);
    }
    sheet.updateAxes(flags);
}

// ---------------------------------------------------------------- change notification

void TTab::NotifyChange(int flags, int code)
{
    if (code == kChangeEnd && notify.pending != kChangeBegin) return;
    notify.flags |= flags;
    if (CSheet* sheet = Current()) UpdateLimits(*sheet, flags);
    if (code == notify.pending || notify.pending == 0) {
        notify.dueTick = tickCount + 5;
        notify.pending = code;
    } else {
        notify.pending = 0;
    }
    if (notify.pending != 0) return;
    const int told = notify.flags;
    notify = TabNotify{};
    if (told != 0 && hooks.mapEdited) hooks.mapEdited(*this);
}

void TTab::CheckNotifyDue()
{
    if (notify.flags != 0 && tickCount >= notify.dueTick) NotifyChange(notify.flags, 0);
}

// ---------------------------------------------------------------- operating point

int TTab::AxisLivePosition(const CAxe& axis)
{
    const CSheet* sheet = Current();
    if (!sheet || (live.flags & TabLiveValues::kLiveNone)) return -2;
    const std::string& name = axis.name;
    const double scale = safeScale(axis.scale);
    double v = 0;
    if (name == "RPM") {
        v = live.rpm / scale;
        if ((drawnViews & (kView2D | kViewCheck)) && &axis == graph.first && live.rpm != live.previousRpm)
            dirty |= kDirtyRedraw;
    } else if (name == "TP") {
        if (live.flags & TabLiveValues::kLiveNoTp) return -2;
        v = live.tp / scale;
    } else if (name == "IAP") {
        if (live.flags & TabLiveValues::kLiveNoIap) return -2;
        v = live.iap / scale;
    } else if (name == "TA") {
        v = live.ta / scale;
    } else if (name == "TW") {
        v = live.tw / scale;
    } else if (name == "Tst") {
        v = live.tst / scale;
    } else if (name == "AFR") {
        v = sheet->liveValue;
    } else {
        return -2;
    }
    const int n = axis.usedCount();
    if (n <= 0) return -2;
    if (v < axis.points[0]) return (sheet->flags & kSheetBaseAdvance) && name == "RPM" ? -1 : 0;
    if (name == "Tst")
        for (int i = 1; i < n; ++i)
            if (axis.points[i] > v) return i - 1;
    for (int i = 0; i + 1 < n; ++i)
        if ((double(axis.points[i]) + axis.points[i + 1]) / 2 > v) return i;
    return n - 1;
}

void TTab::UpdateOperatingPoint()
{
    CSheet* sheetPtr = Current();
    if (!sheetPtr || !sheetPtr->isAllocated()) return;
    CSheet& sheet = *sheetPtr;
    const bool noLive = live.flags & TabLiveValues::kLiveNone;

    if (sheet.x.hasStringView()) {
        for (int k = 0; k < std::min(2, sheet.x.usedCount()); ++k) {
            StringViewFault fault = StringViewFault::None;
            const auto part = sheet.x.StringViewText(k, 0, &fault);
            if (!part) {
                logOnce(StringViewFaultText(fault));
                continue;
            }
            const std::string_view english = GetLngText(*part, LNG_ENGLISH);
            const bool coolant = english == "Coolant", air = english == "Inlet Air";
            if (!coolant && !air) continue;
            const int value = truncGuide((coolant ? live.tw : live.ta) / safeScale(sheet.x.scale) + 0.5);
            int row = -1;
            const int n = sheet.y.usedCount();
            if (!noLive && n > 0) {
                row = n - 1;
                if (value <= sheet.y.points[0]) {
                    row = 0;
                } else {
                    for (int i = 0; i + 1 < n; ++i)
                        if (value < (std::int64_t{sheet.y.points[i]} + sheet.y.points[i + 1]) / 2) {
                            row = i;
                            break;
                        }
                }
            }
            if (sheet.labelRows[static_cast<std::size_t>(k)] != row) {
                sheet.labelRows[static_cast<std::size_t>(k)] = row;
                dirty |= kDirtyRedraw;
            }
            if ((drawnViews & kView2D) && (coolant ? live.tw != live.previousTw : live.ta != live.previousTa))
                dirty |= kDirtyRedraw;
        }
        live.previousTw = live.tw;
        live.previousTa = live.ta;
        return;
    }

    const int oldState = sheet.opState, oldColumn = sheet.opColumn, oldRow = sheet.opRow;
    sheet.opState = 0;
    sheet.opColumn = sheet.opRow = -2;
    if (sheet.flags & kSheetOperatingPoint) {
        int column = AxisLivePosition(sheet.x), row = AxisLivePosition(sheet.y);
        live.previousRpm = live.rpm;
        int state = 1;
        if ((column == -2 && !sheet.x.collapsed) || (row == -2 && !sheet.y.collapsed)) state = 0;
        if (state == 1) {
            if (sheet.x.collapsed) column = sheet.x.collapsedIndex;
            if (sheet.y.collapsed) row = sheet.y.collapsedIndex;
            const int mode = live.mapMode;
            if (sheet.data.name == "ADV") {
                state = (mode & 1) == current ? 1 : 2;
                const bool usesIap = (current == 0 && (mode & 0x10)) || (current == 1 && (mode & 0x20));
                const bool usesTp = (current == 0 && !(mode & 0x10)) || (current == 1 && !(mode & 0x20));
                if (sheet.y.name == "TP" && usesIap) state = -1;
                if (sheet.y.name == "IAP" && usesTp) state = -1;
            } else if (sheet.data.name == "INJ") {
                const int share = live.tpShare;
                if (sheet.y.name == "TP")
                    state = share == 0 ? -1 : share == 100 ? 1 : 2;
                else if (sheet.y.name == "IAP")
                    state = share == 100 ? -1 : share == 0 ? 1 : 2;
            }
            if (sheet.x.name == "RPM" && live.rpm == 0) state = 0;
        }
        if (state != 0) {
            sheet.opState = state;
            sheet.opColumn = column;
            sheet.opRow = row;
            if (state != oldState || column != oldColumn || row != oldRow) {
                if (followSwitch && *followSwitch) ScrollToShow(column, row);
                dirty |= kDirtyRedraw;
            }
        }
    }
    if (sheet.opState == 0 && oldState != 0) dirty |= kDirtyRedraw;
}

void TTab::SyncPositionButtons()
{
    const int wanted = kCmdBeginning + std::clamp(positionMode, 0, 2);
    int down = -1;
    for (int i = kCmdEnd; i >= kCmdBeginning; --i)
        if (buttons[static_cast<std::size_t>(i)].down) {
            down = i;
            break;
        }
    if (down == wanted) return;
    for (int i = kCmdBeginning; i <= kCmdEnd; ++i) buttons[static_cast<std::size_t>(i)].down = i == wanted;
    dirty |= kDirtyRedraw;
}

// ---------------------------------------------------------------- in-place edit

void TTab::BeginCellEdit(int column, int row, bool empty)
{
    CSheet* sheet = Current();
    if (!sheet || !sheet->isAllocated() || (column < 0 && row < 0) || column < -1 || row < -1 ||
        column >= std::min(sheet->x.usedCount(), kMaxColumns) || row >= std::min(sheet->y.usedCount(), kMaxRows))
        return;
    edit.column = column;
    edit.row = row;
    edit.text.clear();
    if (!empty) {
        if (row == -1)
            edit.text = NumberText(sheet->x.points[column], sheet->x.scale);
        else if (column == -1)
            edit.text = NumberText(sheet->y.points[row], sheet->y.scale);
        else
            edit.text = NumberText(sheet->value(column, row), sheet->data.scale);
    }
    edit.caret = static_cast<int>(edit.text.size());
    edit.markStart = edit.markEnd = 0;
    edit.active = true;
    LayoutCellEdit();
}

void TTab::CommitCellEdit()
{
    if (!edit.active) return;
    std::string text;
    bool commaDone = false;
    for (char ch : edit.text) {
        if (ch == ',' && !commaDone) {
            ch = '.';
            commaDone = true;
        }
        if (ch != ' ' && ch != '\t') text.push_back(ch);
    }
    edit.active = false;
    dirty |= kDirtyRedraw;
    CSheet* sheet = Current();
    if (!sheet || !sheet->isAllocated()) return;
    double v = 0;
    const char* end = text.data() + text.size();
    const auto res = std::from_chars(text.data(), end, v);
    if (text.empty() || res.ec != std::errc() || res.ptr != end || !std::isfinite(v))
        return;  // not a number: the value stays
    const int column = edit.column, row = edit.row;
    CAxe& axis = row == -1 ? sheet->x : column == -1 ? sheet->y : sheet->data;
    if (!axis.editable) return;
    const auto raw = roundToRaw(v, axis.scale);
    if (!raw) return;
    NotifyChange(0, kChangeBegin);
    if (row == -1)
        sheet->x.points[column] = *raw;
    else if (column == -1)
        sheet->y.points[row] = *raw;
    else
        sheet->value(column, row) = *raw;
    NotifyChange(row == -1 ? kChangedX : column == -1 ? kChangedY : kChangedData, 0);
    dirty |= kDirtyRecompute;
}

void TTab::LayoutCellEdit()
{
    const CSheet* sheet = Current();
    if (!edit.active || !sheet) return;
    const TabLayout& L = layout;
    TCanvas& c = backBuffer.Canvas();
    const int size = c.Font.Size;
    const unsigned style = c.Font.Style;
    c.Font.Size = std::max(1, static_cast<int>(1.4 * size));
    c.Font.Style = fsBold;
    auto columnLeft = [&](int i) { return static_cast<int>(L.cellsLeft + (i - sheet->x.firstVisible) * L.cellWidth); };
    auto rowTop = [&](int j) { return static_cast<int>(L.cellsTop + (j - sheet->y.firstVisible) * L.cellHeight); };
    int left, right, top, bottom;
    if (edit.column == -1) {
        left = L.tableLeft;
        right = L.tableLeft + L.yHeadWidth;
    } else if (sheet->x.collapsed) {
        left = L.cellsLeft;
        right = static_cast<int>(L.cellsLeft + L.cellWidth) - 1;
    } else {
        left = columnLeft(edit.column);
        right = columnLeft(edit.column + 1) - 1;
    }
    if (edit.row == -1) {
        top = L.tableTop;
        bottom = L.tableTop + L.headHeight;
    } else if (sheet->y.collapsed) {
        top = L.cellsTop;
        bottom = static_cast<int>(L.cellsTop + L.cellHeight) - 1;
    } else {
        top = rowTop(edit.row);
        bottom = rowTop(edit.row + 1) - 1;
    }
    edit.textWidth = c.TextWidth(edit.text);
    edit.textHeight = c.TextHeight("X");
    edit.textLeft = (left + right - edit.textWidth) / 2;
    edit.textTop = (top + bottom - edit.textHeight) / 2;
    edit.offsets.assign(1, 0);
    for (std::size_t i = 0; i < edit.text.size(); ++i)
        edit.offsets.push_back(edit.offsets.back() + c.TextWidth(std::string_view(edit.text).substr(i, 1)));
    edit.caret = std::clamp(edit.caret, 0, static_cast<int>(edit.text.size()));
    const int caretX = edit.textLeft + edit.offsets[static_cast<std::size_t>(edit.caret)];
    edit.caretRect = {caretX, edit.textTop, caretX + 2, edit.textTop + edit.textHeight};
    c.Font.Size = size;
    c.Font.Style = style;
    edit.blink = 0;
}

void TTab::ClearEditMark(bool repaint)
{
    if (edit.markStart == edit.markEnd) return;
    edit.markStart = edit.markEnd = -1;
    if (repaint) dirty |= kDirtyRedraw;
}

// ---------------------------------------------------------------- focus and scrolling

bool TTab::GetFocusCell(int& column, int& row) const
{
    const CSheet* sheet = Current();
    if (!sheet || sheet->sel.count == 0) {
        column = row = -2;
        return false;
    }
    column = sheet->sel.minColumn;
    row = sheet->sel.minRow;
    return true;
}

bool TTab::MoveFocus(int columns, int rows, bool extend)
{
    CSheet* sheet = Current();
    if (!sheet) return false;
    const CAxe& X = sheet->x;
    const CAxe& Y = sheet->y;
    const int nx = std::min(X.usedCount(), kMaxColumns), ny = std::min(Y.usedCount(), kMaxRows);
    int column = -2, row = -2;
    const bool hasFocus = GetFocusCell(column, row);
    if (!hasFocus && !(columns > 9000 && rows > 9000)) return false;
    if (extend && hasFocus) {
        column = sheet->sel.endColumn;
        row = sheet->sel.endRow;
    }
    const int oldColumn = column, oldRow = row;
    auto move = [&](int& index, int stepBy, int n, const CAxe& axis, int lowest) {
        if (stepBy == 0) return;
        if (stepBy > 9000) {
            index = std::clamp(stepBy - 10000, lowest, n - 1);
            if (axis.collapsed && index >= 0) index = axis.collapsedIndex;
            return;
        }
        if (extend) {
            if (index < 0) return;
            index = std::clamp(index + stepBy, 0, n - 1);
            if (axis.collapsed) index = axis.collapsedIndex;
            return;
        }
        if (axis.collapsed) {
            index = index == axis.collapsedIndex ? lowest : axis.collapsedIndex;
            return;
        }
        index += stepBy;
        if (index < lowest)
            index = n - 1;
        else if (index >= n)
            index = lowest;
    };
    move(column, columns, nx, X, (row == -1 || Y.collapsed) ? 0 : -1);
    move(row, rows, ny, Y, (column == -1 || X.collapsed) ? 0 : -1);
    if (column == oldColumn && row == oldRow) return false;
    if (extend) {
        sheet->sel.SelectTo(fullHits, column, row);
        ScrollToShow(column, row);
    } else {
        sheet->sel.SelectOne(fullHits, column, row);
        ScrollToFocus();
    }
    dirty |= kDirtyRedraw;
    return true;
}

void TTab::ScrollBy(int columns, int rows)
{
    CSheet* sheet = Current();
    if (!sheet) return;
    CAxe& X = sheet->x;
    CAxe& Y = sheet->y;
    const int oldColumn = X.firstVisible, oldRow = Y.firstVisible;
    if (!X.collapsed)
        X.firstVisible = std::max(0, std::min(X.firstVisible + columns, X.usedCount() - layout.visibleColumns));
    if (!Y.collapsed) Y.firstVisible = std::max(0, std::min(Y.firstVisible + rows, Y.usedCount() - layout.visibleRows));
    if (X.firstVisible == oldColumn && Y.firstVisible == oldRow) return;
    hBar.position = X.firstVisible;
    vBar.position = Y.firstVisible;
    LayoutTable();
    step.held = step.upPressed = step.downPressed = false;
    CommitCellEdit();
    dirty |= kDirtyRedraw;
}

void TTab::ScrollToShow(int column, int row)
{
    CSheet* sheet = Current();
    if (!sheet) return;
    auto first = [](int old, int index, int visible) {
        int f = old;
        if (index >= 0 && index < f) f = index;
        if (index >= f + visible) f = index - visible + 1;
        return f;
    };
    const int columnsBy =
        sheet->x.collapsed ? 0 : first(sheet->x.firstVisible, column, layout.visibleColumns) - sheet->x.firstVisible;
    const int rowsBy =
        sheet->y.collapsed ? 0 : first(sheet->y.firstVisible, row, layout.visibleRows) - sheet->y.firstVisible;
    ScrollBy(columnsBy, rowsBy);
}

void TTab::ScrollToFocus()
{
    int column = -2, row = -2;
    if (GetFocusCell(column, row)) ScrollToShow(column, row);
}

// ---------------------------------------------------------------- fill by drag

void TTab::DragFill()
{
    CSheet* sheetPtr = Current();
    if (!sheetPtr || !sheetPtr->isAllocated()) return;
    CSheet& sheet = *sheetPtr;
    TSel& sel = sheet.sel;
    const int kind = sel.selKind;
    const int c0 = std::min(sel.minColumn, sel.maxColumn), c1 = std::max(sel.minColumn, sel.maxColumn);
    const int r0 = std::min(sel.minRow, sel.maxRow), r1 = std::max(sel.minRow, sel.maxRow);
    const TabTableDrag& d = tableDrag;
    const int fc = std::min(d.firstColumn, d.lastColumn), lc = std::max(d.firstColumn, d.lastColumn);
    const int fr = std::min(d.firstRow, d.lastRow), lr = std::max(d.firstRow, d.lastRow);
    const int nx = std::min(sheet.x.usedCount(), kMaxColumns), ny = std::min(sheet.y.usedCount(), kMaxRows);
    CAxe& part = kind == kSelXHeads ? sheet.x : kind == kSelYHeads ? sheet.y : sheet.data;
    if (!part.editable || (d.mode != 1 && d.mode != 2)) return;

    int flags = 0;
    if (kind == kSelXHeads || kind == kSelYHeads) {
        const bool xHeads = kind == kSelXHeads;
        const int n = xHeads ? nx : ny;
        const int a = xHeads ? c0 : r0, b = xHeads ? c1 : r1;
        const int from = std::max(0, xHeads ? fc : fr), to = std::min(n - 1, xHeads ? lc : lr);
        if (a < 0 || b < a || b >= n) return;
        const std::vector<std::int32_t> S(part.points.begin(), part.points.end());
        NotifyChange(0, kChangeBegin);
        sel.Reset();
        sel.dragKind = xHeads ? kHitXHead : kHitYHead;
        for (int i = from; i <= to; ++i) {
            std::int64_t v = 0;
            if (d.mode == 1) {
                v = extend(S.data(), 1, a, b, i);
            } else {
                const int k = a + i - from;
                if (k < a || k > b) continue;
                v = S[static_cast<std::size_t>(k)];
            }
            part.points[static_cast<std::size_t>(i)] = toInt32(v);
            (xHeads ? sel.xMark(i) : sel.yMark(i)) |= kMarkPicked;
        }
        flags = xHeads ? kChangedX : kChangedY;
    } else {
        if (c0 < 0 || r0 < 0 || c1 >= nx || r1 >= ny) return;
        const std::vector<std::int32_t> S(sheet.data.points.begin(), sheet.data.points.end());
        const std::int32_t* s = S.data();
        NotifyChange(0, kChangeBegin);
        sel.Reset();
        sel.dragKind = kHitCell;
        for (int j = std::max(0, fr); j <= std::min(ny - 1, lr); ++j)
            for (int i = std::max(0, fc); i <= std::min(nx - 1, lc); ++i) {
                std::int64_t v = 0;
                if (d.mode == 2) {
                    const int sc = c0 + i - fc, sr = r0 + j - fr;
                    if (sc < c0 || sc > c1 || sr < r0 || sr > r1) continue;
                    v = s[gridIndex(sc, sr)];
                } else if (r0 == r1) {
                    // One row (or one cell): continued along the row, copied to every row.
                    v = extend(s + gridIndex(0, r0), 1, c0, c1, i);
                } else if (c0 == c1) {
                    v = extend(s + gridIndex(c0, 0), kGridStride, r0, r1, j);
                } else if (j >= r0 && j <= r1) {
                    v = extend(s + gridIndex(0, j), 1, c0, c1, i);
                } else if (i >= c0 && i <= c1) {
                    v = extend(s + gridIndex(i, 0), kGridStride, r0, r1, j);
                } else {
                    // Outer corners: from the nearest corner cell by both slopes.
                    const int ci = i < c0 ? c0 : c1, cj = j < r0 ? r0 : r1;
                    const int ni = i < c0 ? c0 + 1 : c1 - 1, nj = j < r0 ? r0 + 1 : r1 - 1;
                    const std::int64_t corner = s[gridIndex(ci, cj)];
                    const std::int64_t slopeX = i < c0 ? s[gridIndex(ni, cj)] - corner : corner - s[gridIndex(ni, cj)];
                    const std::int64_t slopeY = j < r0 ? s[gridIndex(ci, nj)] - corner : corner - s[gridIndex(ci, nj)];
                    v = corner + std::int64_t{i - ci} * slopeX + std::int64_t{j - cj} * slopeY;
                }
                sheet.value(i, j) = toInt32(v);
                sel.cellMark(i, j) |= kMarkPicked;
            }
        flags = kChangedData;
    }
    NotifyChange(flags, 0);
    sel.UpdateBounds();
    sel.Commit(fullHits);
    dirty |= kDirtyRecompute;
}
