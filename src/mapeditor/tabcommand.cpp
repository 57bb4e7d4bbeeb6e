// Commands of the map editor: the command codes of its buttons, menu and keys, the view switch, the steps and step
// buttons, insertion and deletion of lines, and interpolation.
#include <algorithm>
#include <cmath>

#include "mapeditor/cellstep.h"
#include "mapeditor/numtext.h"
#include "mapeditor/tab.h"

namespace {

bool marked(std::uint16_t mark)
{
    return (mark & (kMarkCommitted | kMarkPicked)) != 0;
}

int truncInt(double v)
{
    return std::isfinite(v) ? static_cast<int>(std::clamp(std::trunc(v), -1e9, 1e9)) : 0;
}

std::int32_t addRaw(std::int32_t v, std::int64_t by)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(std::int64_t{v} + by, INT32_MIN, INT32_MAX));
}

// The cells a selection counts: on a collapsed axis only its one line.
template <typename Fn>
void forSelectedCells(CSheet& sheet, Fn fn)
{
    const int nx = std::min(sheet.x.usedCount(), kMaxColumns), ny = std::min(sheet.y.usedCount(), kMaxRows);
    for (int r = 0; r < ny; ++r) {
        if (sheet.y.collapsed && r != sheet.y.collapsedIndex) continue;
        for (int c = 0; c < nx; ++c) {
            if (sheet.x.collapsed && c != sheet.x.collapsedIndex) continue;
            if (marked(sheet.sel.cellMark(c, r))) fn(c, r);
        }
    }
}

constexpr std::array<std::array<int, 3>, 3> kPresets = {{{-18, 0, 0}, {-5, 4, 0}, {-5, 24, 0}}};

}  // namespace

void TTab::Command(int code)
{
    CSheet* sheet = Current();
    if (!sheet) return;
    CAxe& X = sheet->x;
    CAxe& Y = sheet->y;
    auto reselect = [&](int down) {
        for (int i = kCmdOnlyX; i <= kCmdBothXY; ++i) buttons[static_cast<std::size_t>(i)].down = i == down;
        SelectSheet(current);
        NotifyChange(kChangedX | kChangedY | kChangedData, 0);
    };
    switch (code) {
        case kCmdCopy:
            Copy();
            break;
        case kCmdCopyTable:
            CopyTable();
            break;
        case kCmdPaste:
            Paste();
            break;
        case kCmdPlus:
            StepSelection(1);
            break;
        case kCmdMinus:
            StepSelection(-1);
            break;
        case kCmdViewTable:
            SetView(kViewTable);
            break;
        case kCmdView2D:
            SetView(kView2D);
            break;
        case kCmdView3D:
            SetView(kView3D);
            break;
        case kCmdOnlyX:
            if (X.collapseOption < 2 && Y.collapseOption != 0) {
                NotifyChange(0, kChangeBegin);
                X.collapsed = 0;
                Y.collapsed = 1;
                reselect(kCmdOnlyX);
            }
            break;
        case kCmdOnlyY:
            if (X.collapseOption != 0 && Y.collapseOption < 2) {
                NotifyChange(0, kChangeBegin);
                X.collapsed = 1;
                Y.collapsed = 0;
                reselect(kCmdOnlyY);
            }
            break;
        case kCmdBothXY:
            if (X.collapseOption < 2 && Y.collapseOption < 2) {
                NotifyChange(0, kChangeBegin);
                X.collapsed = Y.collapsed = 0;
                reselect(kCmdBothXY);
            }
            break;
        case kCmdTop:
        case kCmdIso1:
        case kCmdIso2:
            graph.angles = kPresets[static_cast<std::size_t>(code - kCmdTop)];
            Sync3DViewButtons();
            dirty |= kDirtyRecompute;
            break;
        case kCmdEnable:
            NotifyChange(0, kChangeBegin);
            sheet->enabled = (sheet->enabled && sheet->contentShown) ? 0 : 1;
            dirty |= kDirtyRecompute;
            NotifyChange(kChangedX | kChangedY | kChangedData, 0);
            break;
        case kCmdBeginning:
        case kCmdCentre:
        case kCmdEnd:
            if (positionMode != code - kCmdBeginning) {
                NotifyChange(0, kChangeBegin);
                positionMode = code - kCmdBeginning;
                SyncPositionButtons();
                dirty |= kDirtyRedraw;
                NotifyChange(kChangedX | kChangedY | kChangedData, 0);
            }
            break;
        case kCmdAddColumn:
            InsertLine(kLineColumns, X.count);
            sheet->sel.Reset();
            BuildSideBar();
            break;
        case kCmdRemoveColumn:
            DeleteLine(kLineColumns, X.count - 1);
            sheet->sel.Reset();
            BuildSideBar();
            break;
        case kCmdLambda:
            lambdaMonitoring = !lambdaMonitoring;
            if (!lambdaMonitoring)
                for (CSheet& s : sheets) std::fill(s.lambdaBlock.begin(), s.lambdaBlock.end(), 0);
            BuildSideBar();
            break;
        case kCmdCopyGraph:
            CopyGraph();
            break;
        case kCmdInterpolate:
            Interpolate();
            break;
        case kCmdHorizontalBar:
        case kCmdVerticalBar:
            (code == kCmdHorizontalBar ? X : Y).firstVisible = (code == kCmdHorizontalBar ? hBar : vBar).position;
            LayoutTable();
            HideStepButtons();
            dirty |= kDirtyRedraw;
            break;
        default:
            break;
    }
    if (dirty && !painting) Redraw();
}

void TTab::SetView(int mask)
{
    const bool table = flagWord & kTabTableView, twoD = flagWord & kTabGraph2D, threeD = flagWord & kTabGraph3D;
    if (mask != 0)
        requestedView = (mask & kView3D)      ? kView3D
                        : (mask & kView2D)    ? kView2D
                        : (mask & kViewTable) ? kViewTable
                                              : requestedView;
    if (requestedView == kViewTable && !table) requestedView = kView2D;
    if (requestedView == kView2D && !twoD) requestedView = kView3D;
    if (requestedView == kView3D && !threeD) requestedView = kViewCheck;
    if (requestedView == kViewCheck) requestedView = table ? kViewTable : twoD ? kView2D : 0;
    drawnViews = requestedView;
    for (int view = 0; view < 3; ++view)
        buttons[static_cast<std::size_t>(kCmdViewTable + view)].down = requestedView == (kViewTable << view);

    CSheet* sheet = Current();
    if (sheet) {
        const bool swapped = sheet->flags & kSheetSwapXY;
        graph.first = swapped ? &sheet->y : &sheet->x;
        graph.second = swapped ? &sheet->x : &sheet->y;
        graph.data = &sheet->data;
        graph.sel = &sheet->sel;
    }

    const TabLayout& L = layout;
    const int width = backBuffer.Width(), height = backBuffer.Height();
    bool threeDButtons = false;
    if (flagWord & kTabCheckGrid) {
        graph.left = truncInt(L.cellsLeft - L.cellWidth / 2);
        graph.top = truncInt(L.cellsTop - L.cellHeight / 2);
        graph.right = graph.bottom = 0;
        drawnViews |= kViewCheck;
    } else {
        const int a = L.tableLeft, b = L.tableTop, c = L.right, d = L.bottom;
        graph.left = a;
        graph.right = c;
        graph.top = b;
        graph.bottom = d;
        if (requestedView == kViewTable && sheet) {
            const CAxe& X = sheet->x;
            const CAxe& Y = sheet->y;
            const int columns = std::max(1, X.usedCount()), rows = std::max(1, Y.usedCount());
            int f = truncInt(L.cellWidth * (X.collapsed ? 1 : columns) + L.cellsLeft + 5);
            if (!Y.collapsed && L.visibleRows < rows) f += vBar.rect.right - vBar.rect.left;
            int g = truncInt((Y.collapsed ? 1 : rows) * L.cellHeight + L.cellsTop + 5);
            if (!X.collapsed && L.visibleColumns < columns) g += hBar.rect.bottom - hBar.rect.top;
            const int l = width - f - c;
            const int m = X.collapsed ? l : l / columns;
            const int x = height - g - d;
            const int o = Y.collapsed ? truncInt(x * 1.5) : truncInt(x / (rows * 2.0 / 3.0));
            if (o > L.graphBesideTable) {
                graph.top = g;
                drawnViews |= kView2D;
            } else if (m > L.graphBesideTable) {
                graph.left = f;
                drawnViews |= kView2D;
            }
        } else if (requestedView == kView3D) {
            threeDButtons = true;
            const int dx = a - buttons[kCmdTop].rect.left, dy = b - buttons[kCmdTop].rect.top;
            for (int i = kCmdTop; i <= kCmdIso2; ++i) {
                CTabButton& button = buttons[static_cast<std::size_t>(i)];
                button.rect = {button.rect.left + dx, button.rect.top + dy, button.rect.right + dx,
                               button.rect.bottom + dy};
            }
        }
    }
    for (int i = kCmdTop; i <= kCmdIso2; ++i)
        buttons[static_cast<std::size_t>(i)].state = threeDButtons ? kButtonEnabled : 0;
    if (mask != 0) dirty |= kDirtyRecompute;
}

void TTab::SelectionSummary(int& kind, int& selected, int& editable) const
{
    kind = selected = editable = 0;
    const CSheet* sheet = Current();
    if (!sheet) return;
    const TSel& sel = sheet->sel;
    int k = sel.selKind;
    if (k == 0) k = (sel.dragKind & (kHitColumnStrip | kHitRowStrip)) ? kSelCells : sel.dragKind;
    if (k == kSelCells) {
        const int nx = std::min(sheet->x.usedCount(), kMaxColumns), ny = std::min(sheet->y.usedCount(), kMaxRows);
        for (int r = 0; r < ny; ++r)
            for (int c = 0; c < nx; ++c)
                if ((!sheet->y.collapsed || r == sheet->y.collapsedIndex) &&
                    (!sheet->x.collapsed || c == sheet->x.collapsedIndex) && marked(sel.cellMark(c, r)))
                    ++selected;
        if (selected > 0) {
            kind = kSelCells;
            editable = sheet->data.editable ? selected : 0;
        }
    } else if (k == kSelXHeads || k == kSelYHeads) {
        const bool xHeads = k == kSelXHeads;
        const CAxe& axis = xHeads ? sheet->x : sheet->y;
        if (axis.collapsed) return;
        for (int i = 0; i < std::min(axis.usedCount(), xHeads ? kMaxColumns : kMaxRows); ++i)
            if (marked(xHeads ? sel.xMark(i) : sel.yMark(i))) ++selected;
        if (selected > 0) {
            kind = k;
            editable = axis.editable ? selected : 0;
        }
    }
}

void TTab::StepSelection(int n)
{
    CSheet* sheet = Current();
    if (!sheet || !sheet->isAllocated()) return;
    int kind = 0, selected = 0, editable = 0;
    SelectionSummary(kind, selected, editable);
    if (selected > 0) {
        const TSel& sel = sheet->sel;
        int k = 0;
        const int nx = std::min(sheet->x.usedCount(), kMaxColumns), ny = std::min(sheet->y.usedCount(), kMaxRows);
        bool anyX = false, anyY = false, anyCell = false;
        for (int c = 0; c < nx; ++c) anyX |= marked(sel.xMark(c));
        for (int r = 0; r < ny; ++r) anyY |= marked(sel.yMark(r));
        forSelectedCells(*sheet, [&](int, int) { anyCell = true; });
        if (anyX && sheet->x.editable) k = kChangedX;
        if (anyY && sheet->y.editable) k = kChangedY;
        if (anyCell && sheet->data.editable) k = kChangedData;
        if (k == 0) return;
        const int key = 0x600000 + k * 65536 + selected;
        NotifyChange(0, key);
        if (sheet->x.editable && !sheet->x.collapsed)
            for (int c = 0; c < nx; ++c)
                if (marked(sel.xMark(c)))
                    sheet->x.points[static_cast<std::size_t>(c)] =
                        addRaw(sheet->x.points[static_cast<std::size_t>(c)], n);
        if (sheet->y.editable && !sheet->y.collapsed)
            for (int r = 0; r < ny; ++r)
                if (marked(sel.yMark(r)))
                    sheet->y.points[static_cast<std::size_t>(r)] =
                        addRaw(sheet->y.points[static_cast<std::size_t>(r)], n);
        if (sheet->data.editable)
            forSelectedCells(*sheet, [&](int c, int r) {
                sheet->value(c, r) = addRaw(sheet->value(c, r), CellStep(*sheet, c, r, n));
                CellValueChanged(c, r);
            });
        NotifyChange(k, key);
        if (k != kChangedData) dirty |= kDirtyRecompute;
        return;
    } else if ((sheet->flags & kSheetOperatingPoint) && sheet->opState > 0) {
        const int c = sheet->opColumn, r = sheet->opRow;
        if (c == -1 && (sheet->flags & kSheetBaseAdvance)) {
            const double scale = graph.data ? graph.data->scale : sheet->data.scale;
            NotifyChange(0, 0x240000);
            guides.baseAdvance = addRaw(guides.baseAdvance, truncInt(n * scale));
            NotifyChange(kChangedData, 0x240000);
        } else if (c >= 0 && r >= 0 && c < std::min(sheet->x.usedCount(), kMaxColumns) &&
                   r < std::min(sheet->y.usedCount(), kMaxRows) && sheet->data.editable) {
            const int key = 0x240000 + r * 256 + c;
            NotifyChange(0, key);
            sheet->value(c, r) = addRaw(sheet->value(c, r), CellStep(*sheet, c, r, n));
            NotifyChange(kChangedData, key);
            CellValueChanged(c, r);
            return;
        }
    }
    dirty |= kDirtyRecompute;
}

void TTab::StepTarget(int n)
{
    CSheet* sheet = Current();
    if (!step.shown || !sheet || !sheet->isAllocated()) return;
    TSel& sel = sheet->sel;
    const int column = step.column, row = step.row;
    const int nx = std::min(sheet->x.usedCount(), kMaxColumns), ny = std::min(sheet->y.usedCount(), kMaxRows);
    int kind = 0, key = 0;
    if (row == -1 && column >= 0 && column < nx && sheet->x.editable) {
        kind = kChangedX;
        if (marked(sel.xMark(column))) {
            int count = 0;
            for (int c = 0; c < nx; ++c) count += marked(sel.xMark(c)) ? 1 : 0;
            key = 0x510000 + count;
            NotifyChange(0, key);
            for (int c = 0; c < nx; ++c)
                if (marked(sel.xMark(c)))
                    sheet->x.points[static_cast<std::size_t>(c)] =
                        addRaw(sheet->x.points[static_cast<std::size_t>(c)], n);
        } else {
            key = 0x110001 + column;
            NotifyChange(0, key);
            sheet->x.points[static_cast<std::size_t>(column)] =
                addRaw(sheet->x.points[static_cast<std::size_t>(column)], n);
        }
    } else if (column == -1 && row >= 0 && row < ny && sheet->y.editable) {
        kind = kChangedY;
        if (marked(sel.yMark(row))) {
            int count = 0;
            for (int r = 0; r < ny; ++r) count += marked(sel.yMark(r)) ? 1 : 0;
            key = 0x520000 + count;
            NotifyChange(0, key);
            for (int r = 0; r < ny; ++r)
                if (marked(sel.yMark(r)))
                    sheet->y.points[static_cast<std::size_t>(r)] =
                        addRaw(sheet->y.points[static_cast<std::size_t>(r)], n);
        } else {
            key = 0x120000 + row * 256;
            NotifyChange(0, key);
            sheet->y.points[static_cast<std::size_t>(row)] = addRaw(sheet->y.points[static_cast<std::size_t>(row)], n);
        }
    } else if (column >= 0 && row >= 0 && column < nx && row < ny && sheet->data.editable) {
        kind = kChangedData;
        if (marked(sel.cellMark(column, row))) {
            int count = 0;
            forSelectedCells(*sheet, [&](int, int) { ++count; });
            key = 0x540000 + count;
            NotifyChange(0, key);
            forSelectedCells(*sheet, [&](int c, int r) {
                sheet->value(c, r) = addRaw(sheet->value(c, r), CellStep(*sheet, c, r, n));
                CellValueChanged(c, r);
            });
        } else {
            key = 0x140000 + row * 256 + column;
            NotifyChange(0, key);
            sheet->value(column, row) = addRaw(sheet->value(column, row), CellStep(*sheet, column, row, n));
            CellValueChanged(column, row);
        }
    }
    if (kind == 0) return;
    NotifyChange(kind, key);
    if (kind != kChangedData) dirty |= kDirtyRecompute;
}

void TTab::HideStepButtons()
{
    if (step.shown) dirty |= kDirtyRedraw;
    step.shown = false;
    step.upPressed = step.downPressed = step.held = false;
    step.hover = 0;
}

void TTab::PlaceStepButtons(int column, int row)
{
    HideStepButtons();
    const CSheet* sheet = Current();
    if (!sheet) return;
    const TabLayout& L = layout;
    const CAxe& X = sheet->x;
    const CAxe& Y = sheet->y;
    const bool columnShown = column >= X.firstVisible && column < X.firstVisible + L.shownColumns;
    const bool rowShown = row >= Y.firstVisible && row < Y.firstVisible + L.shownRows;
    auto headX = [&] { return truncInt(L.cellsLeft + (column - X.firstVisible + 1) * L.cellWidth - 10); };
    auto rowY = [&] { return truncInt(L.cellsTop + (row - Y.firstVisible) * L.cellHeight); };
    int x = 0, y = 0, h = 0;
    if (row == -1) {
        if (column < 0 || !columnShown) return;
        x = headX();
        y = L.tableTop;
        h = L.headHeight;
    } else if (column == -1) {
        if (row < 0 || !rowShown) return;
        x = L.tableLeft + L.yHeadWidth;
        y = rowY();
        h = truncInt(L.cellHeight);
    } else {
        if (column < 0 || row < 0 || (!X.collapsed && !columnShown) || (!Y.collapsed && !rowShown)) return;
        x = X.collapsed ? truncInt(L.cellsLeft + L.cellWidth - 10) : headX();
        y = Y.collapsed ? L.cellsTop : rowY();
        h = truncInt(L.cellHeight);
    }
    step.up = {x, y, x + 15, y + h / 2};
    step.down = {x, y + h / 2 + 1, x + 15, y + h};
    step.column = column;
    step.row = row;
    step.shown = true;
    dirty |= kDirtyRedraw;
}

void TTab::InsertLine(int which, int index)
{
    CSheet* sheet = Current();
    if (!sheet) return;
    const CAxe& axis = which == kLineColumns ? sheet->x : sheet->y;
    const bool follower = sheet->followerId != 0;
    std::string_view full = which == kLineColumns ? kColumnsAtMaximumText : kRowsAtMaximumText;
    if (!follower && !axis.resizable) return;
    if (!hasRoomForLine(*sheet, which, flagWord & kTabCheckGrid)) {
        if (!follower) showError(full);
        return;
    }
    NotifyChange(0, kChangeBegin);
    const LineEdit result = insertLinkedLine(std::span<CSheet>(sheets.data(), static_cast<std::size_t>(sheetCount)),
                                             current, which, index, flagWord & kTabCheckGrid);
    if (result != LineEdit::Done) {
        // A linked sheet without room refuses the whole insertion.
        if (result == LineEdit::FollowerAtMaximum) showError(full);
        NotifyChange(0, kChangeEnd);
        return;
    }
    LayoutTable();
    ScrollToFocus();
    NotifyChange(which == kLineColumns ? kChangedX | kChangedData : kChangedY | kChangedData, kChangeEnd);
    dirty |= kDirtyRecompute;
}

void TTab::DeleteLine(int which, int index)
{
    CSheet* sheet = Current();
    if (!sheet) return;
    const CAxe& axis = which == kLineColumns ? sheet->x : sheet->y;
    if ((sheet->followerId == 0 && !axis.resizable) || axis.collapsed || axis.count <= axis.minCount || index < 0 ||
        index >= axis.usedCount())
        return;
    NotifyChange(0, kChangeBegin);
    const LineEdit result = deleteLinkedLine(std::span<CSheet>(sheets.data(), static_cast<std::size_t>(sheetCount)),
                                             current, which, index, flagWord & kTabCheckGrid);
    if (result != LineEdit::Done) {
        NotifyChange(0, kChangeEnd);
        return;
    }
    LayoutTable();
    // Left open: the caller may delete more; the tick commits it.
    NotifyChange(which == kLineColumns ? kChangedX | kChangedData : kChangedY | kChangedData, kChangeBegin);
    dirty |= kDirtyRecompute;
}

void TTab::DeleteSelectedLines(int which)
{
    CSheet* sheet = Current();
    if (!sheet) return;
    const bool columns = which == kLineColumns;
    const CAxe& axis = columns ? sheet->x : sheet->y;
    if (!axis.resizable || axis.collapsed) return;
    TSel& sel = sheet->sel;
    const int lastKind = sel.selKind ? sel.selKind : sel.dragKind;
    auto lineSelected = [&](int i) {
        if (sel.selKind == (columns ? kSelXHeads : kSelYHeads)) return marked(columns ? sel.xMark(i) : sel.yMark(i));
        if (sel.selKind != kSelCells) return false;
        const CAxe& other = columns ? sheet->y : sheet->x;
        const int n = std::min(other.usedCount(), columns ? kMaxRows : kMaxColumns);
        bool all = n > 0;
        for (int o = 0; o < n && all; ++o) {
            if (other.collapsed && o != other.collapsedIndex) continue;
            all = marked(columns ? sel.cellMark(i, o) : sel.cellMark(o, i));
        }
        return all;
    };
    for (int i = 0; i < axis.usedCount();) {
        if (!lineSelected(i)) {
            ++i;
            continue;
        }
        const int before = axis.count;
        DeleteLine(which, i);
        if (axis.count == before) break;  // at the minimum
    }
    for (std::uint16_t& mark : sel.marks) mark = marked(mark) ? kMarkPicked : 0;
    sel.selKind = 0;
    sel.dragKind = lastKind;
    sel.UpdateBounds();
    BuildHitMaps();
    NotifyChange(0, kChangeEnd);
    if (dirty) Redraw();
}

void TTab::Interpolate()
{
    CSheet* sheet = Current();
    if (!sheet || !sheet->isAllocated() || sheet->sel.count <= 2) return;
    TSel& sel = sheet->sel;
    const int c0 = sel.minColumn, c1 = sel.maxColumn, r0 = sel.minRow, r1 = sel.maxRow;
    if (sel.selKind == kSelXHeads && sheet->x.editable) {
        NotifyChange(0, kChangeBegin);
        InterpolateRect(sheet->x.points, kGridStride, {}, {}, c0, 0, c1, 0);
        sel.Reset();
        NotifyChange(kChangedX, 0);
    } else if (sel.selKind == kSelYHeads && sheet->y.editable) {
        NotifyChange(0, kChangeBegin);
        InterpolateRect(sheet->y.points, 1, {}, {}, 0, r0, 0, r1);
        sel.Reset();
        NotifyChange(kChangedY, 0);
    } else if (sel.selKind == kSelCells && sheet->data.editable) {
        NotifyChange(0, kChangeBegin);
        InterpolateRect(
            sheet->data.points, kGridStride,
            sheet->x.numeric ? std::span<const std::int32_t>(sheet->x.points) : std::span<const std::int32_t>(),
            sheet->y.numeric ? std::span<const std::int32_t>(sheet->y.points) : std::span<const std::int32_t>(), c0, r0,
            c1, r1);
        sel.Reset();
        NotifyChange(kChangedData, 0);
    } else {
        return;
    }
    dirty |= kDirtyRecompute;
}
