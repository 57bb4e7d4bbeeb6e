// The table view of the map editor: a plain first version that draws the heads, cells, values, selection and step
// buttons and takes the pointer and keys. Its keys follow the table view's full rules; its painting and mouse
// handling are the simple part of them, to be completed in place.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "mapeditor/drawing.h"
#include "mapeditor/numtext.h"
#include "mapeditor/tab.h"
#include "os/lngtext.h"

namespace {

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

}  // namespace

void TTab::PaintTable(TCanvas& c)
{
    CSheet* sheetPtr = Current();
    if (!sheetPtr || !sheetPtr->isAllocated()) return;
    const CSheet& s = *sheetPtr;
    const TabLayout& L = layout;
    const CAxe& X = s.x;
    const CAxe& Y = s.y;
    const bool check = flagWord & kTabCheckGrid;
    const int size = c.Font.Size;
    const int columns = L.shownColumns, rows = L.shownRows;
    const int cellsRight = truncInt(L.cellsLeft + columns * L.cellWidth);
    const int cellsBottom = truncInt(L.cellsTop + rows * L.cellHeight);
    auto columnOf = [&](int k) { return X.collapsed ? X.collapsedIndex : X.firstVisible + k; };
    auto rowOf = [&](int k) { return Y.collapsed ? Y.collapsedIndex : Y.firstVisible + k; };
    auto left = [&](int k) { return truncInt(L.cellsLeft + k * L.cellWidth); };
    auto top = [&](int k) { return truncInt(L.cellsTop + k * L.cellHeight); };

    hBar.Paint(c);
    vBar.Paint(c);

    if (!printing) {
        auto ground = [&](int x, int y, int w, int h, const CAxe& axis, int offsetX, int offsetY) {
            DrawBevel(c, x, y, w, h, true, axis.colour, colours[2], colours[1]);
            if (axis.picture) TileBitmap(c, *axis.picture, x + 1, y + 1, x + w, y + h, offsetX, offsetY);
        };
        const int scrollX = truncInt(X.firstVisible * L.cellWidth), scrollY = truncInt(Y.firstVisible * L.cellHeight);
        if (!X.collapsed) ground(L.cellsLeft, L.tableTop, cellsRight - L.cellsLeft, L.headHeight, X, scrollX, 0);
        if (!Y.collapsed) ground(L.tableLeft, L.cellsTop, L.yHeadWidth, cellsBottom - L.cellsTop, Y, 0, scrollY);
        if (!check)
            ground(L.cellsLeft, L.cellsTop, cellsRight - L.cellsLeft, cellsBottom - L.cellsTop, s.data, scrollX,
                   scrollY);
    }

    for (int k = 1; k < columns; ++k) {
        const int x = left(k);
        if (!X.collapsed) FillBox(c, x, L.tableTop + 1, 1, L.headHeight - 1, colours[3]);
        if (!check) FillBox(c, x, L.cellsTop + 1, 1, cellsBottom - L.cellsTop - 1, colours[3]);
    }
    for (int k = 1; k < rows; ++k) {
        const int y = top(k);
        if (!Y.collapsed) FillBox(c, L.tableLeft + 1, y, L.yHeadWidth - 1, 1, colours[3]);
        if (!check) FillBox(c, L.cellsLeft + 1, y, cellsRight - L.cellsLeft - 1, 1, colours[3]);
    }

    c.Font.Size = size;
    c.Font.Style = fsBold;
    c.Font.Color = clBlack;
    c.Brush.Style = bsClear;
    if (!X.collapsed) {
        const std::string label = pickText(X.label);
        c.TextOut(L.cellsLeft - 3 - c.TextWidth(label), L.tableTop, label);
    }
    if (!Y.collapsed) {
        const std::string label = pickText(Y.label);
        c.TextOut(L.tableLeft + 5, L.cellsTop - 5 - c.TextHeight(label), label);
    }

    // Selected cells and heads: the checkerboard tint and light inner edges, when more than one item is chosen.
    const TSel& sel = s.sel;
    auto tint = [&](int x0, int y0, int x1, int y1) {
        DotFill(backBuffer, x0 + 1, y0 + 1, x1 - x0 - 1, y1 - y0 - 1, colours[4]);
        FillBox(c, x0 + 1, y1 - 2, x1 - x0 - 1, 2, colours[1]);
        FillBox(c, x1 - 2, y0 + 1, 2, y1 - y0 - 1, colours[1]);
    };
    if (sel.count > 1) {
        for (int j = 0; j < rows && !check; ++j)
            for (int k = 0; k < columns; ++k)
                if (marked(sel.cellMark(columnOf(k), rowOf(j)))) tint(left(k), top(j), left(k + 1), top(j + 1));
        for (int k = 0; k < columns && !X.collapsed; ++k)
            if (marked(sel.xMark(columnOf(k)))) tint(left(k), L.tableTop, left(k + 1), L.tableTop + L.headHeight);
        for (int j = 0; j < rows && !Y.collapsed; ++j)
            if (marked(sel.yMark(rowOf(j)))) tint(L.tableLeft, top(j), L.tableLeft + L.yHeadWidth, top(j + 1));
    }

    if ((s.flags & kSheetOperatingPoint) && s.opState != 0) {
        const TColor ring = s.opState == 1 ? colours[10] : colours[11];
        const int k = s.opColumn - (X.collapsed ? X.collapsedIndex : X.firstVisible);
        const int j = s.opRow - (Y.collapsed ? Y.collapsedIndex : Y.firstVisible);
        const bool columnIn = k >= 0 && k < columns, rowIn = j >= 0 && j < rows;
        if (columnIn && !X.collapsed) DrawRing(c, left(k), L.tableTop, left(k + 1) - left(k), L.headHeight, ring);
        if (rowIn && !Y.collapsed) DrawRing(c, L.tableLeft, top(j), L.yHeadWidth, top(j + 1) - top(j), ring);
        if (columnIn && rowIn && s.opState > 0 && !check)
            DrawRing(c, left(k), top(j), left(k + 1) - left(k), top(j + 1) - top(j), ring);
    }

    const int textSize = std::max(1, static_cast<int>(1.4 * size));
    c.Brush.Style = bsClear;
    auto isEdited = [&](int column, int row) { return edit.active && edit.column == column && edit.row == row; };
    // Each group of texts (cells, X heads, Y heads) in one size: the largest, down to 6 points, at which its widest
    // text fits its cells.
    struct Text
    {
        std::string text;
        int x0, y0, x1, y1;
    };
    auto write = [&](const std::vector<Text>& texts, bool editableAxis) {
        c.Font.Style = editableAxis ? fsBold : fsItalic;
        c.Font.Color = editableAxis ? clBlack : 0x808080;
        c.Font.Size = textSize;
        auto fits = [&] {
            for (const Text& t : texts)
                if (c.TextWidth(t.text) > t.x1 - t.x0 - 3) return false;
            return true;
        };
        while (c.Font.Size > 6 && !fits()) --c.Font.Size;
        for (const Text& t : texts)
            c.TextOut((t.x0 + t.x1 - c.TextWidth(t.text)) / 2 + 1, (t.y0 + t.y1 - c.TextHeight(t.text)) / 2, t.text);
    };
    std::vector<Text> cells, xHeads, yHeads;
    for (int j = 0; j < rows && !check; ++j)
        for (int k = 0; k < columns; ++k)
            if (!isEdited(columnOf(k), rowOf(j)))
                cells.push_back({NumberText(s.value(columnOf(k), rowOf(j)), s.data.scale), left(k), top(j), left(k + 1),
                                 top(j + 1)});
    for (int k = 0; k < columns && !X.collapsed; ++k)
        if (!isEdited(columnOf(k), -1)) {
            const auto label = X.hasStringView() ? X.StringViewText(columnOf(k), 0) : std::nullopt;
            xHeads.push_back({label ? pickText(*label) : NumberText(X.points[columnOf(k)], X.scale), left(k),
                              L.tableTop, left(k + 1), L.tableTop + L.headHeight});
        }
    for (int j = 0; j < rows && !Y.collapsed; ++j)
        if (!isEdited(-1, rowOf(j)))
            yHeads.push_back(
                {NumberText(Y.points[rowOf(j)], Y.scale), L.tableLeft, top(j), L.tableLeft + L.yHeadWidth, top(j + 1)});
    write(cells, s.data.editable);
    write(xHeads, X.editable);
    write(yHeads, Y.editable);

    // The frame of the selection's bounds.
    if (sel.count > 0 && sel.minColumn >= -1 && sel.minRow >= -1) {
        auto xAt = [&](int column, bool end) {
            if (column == -1) return end ? L.tableLeft + L.yHeadWidth : L.tableLeft;
            const int k =
                std::clamp(column - (X.collapsed ? X.collapsedIndex : X.firstVisible) + (end ? 1 : 0), 0, columns);
            return left(k);
        };
        auto yAt = [&](int row, bool end) {
            if (row == -1) return end ? L.tableTop + L.headHeight : L.tableTop;
            const int j = std::clamp(row - (Y.collapsed ? Y.collapsedIndex : Y.firstVisible) + (end ? 1 : 0), 0, rows);
            return top(j);
        };
        c.Pen.Style = psSolid;
        c.Pen.Width = Focused() ? 3 : 2;
        c.Pen.Color = s.selectionColour;
        c.Brush.Style = bsClear;
        c.Rectangle(xAt(sel.minColumn, false), yAt(sel.minRow, false), xAt(sel.maxColumn, true) + 1,
                    yAt(sel.maxRow, true) + 1);
        c.Pen.Width = 1;
    }

    if (edit.active) {
        c.Font.Size = textSize;
        c.Font.Style = fsBold;
        c.Font.Color = clBlack;
        const int a = std::min(edit.markStart, edit.markEnd), b = std::max(edit.markStart, edit.markEnd);
        if (a >= 0 && b > a && b < static_cast<int>(edit.offsets.size()))
            FillBox(c, edit.textLeft + edit.offsets[static_cast<std::size_t>(a)], edit.textTop,
                    edit.offsets[static_cast<std::size_t>(b)] - edit.offsets[static_cast<std::size_t>(a)],
                    edit.textHeight, colours[5]);
        c.TextOut(edit.textLeft, edit.textTop, edit.text);
    }

    PaintStepButtons(c);
    c.Font.Size = size;
    c.Font.Style = 0;
    c.Font.Color = clBlack;
    c.Brush.Style = bsSolid;
    c.Pen.Width = 1;
}

void TTab::TableMouseMove()
{
    CSheet* sheet = Current();
    if (!sheet) return;
    const TabLayout& L = layout;
    for (CTabScrollBar* bar : {&hBar, &vBar})
        if (bar->thumbDrag) {
            bar->mouseX = px;
            bar->mouseY = py;
            if (bar->HitTest() == 2) Command(bar == &hBar ? kCmdHorizontalBar : kCmdVerticalBar);
            return;
        }
    if (tableDrag.selecting) {
        HideStepButtons();
        const int right = std::max(L.cellsLeft + 1, truncInt(L.cellsLeft + L.shownColumns * L.cellWidth) - 1);
        const int bottom = std::max(L.cellsTop + 1, truncInt(L.cellsTop + L.shownRows * L.cellHeight) - 1);
        const bool heads = sheet->sel.dragKind & (kHitXHead | kHitYHead | kHitColumnStrip | kHitRowStrip);
        const int x = heads ? px : std::clamp(px, L.cellsLeft + 1, right);
        const int y = heads ? py : std::clamp(py, L.cellsTop + 1, bottom);
        if (sheet->sel.DragTo(fullHits, x, y, false)) dirty |= kDirtyRedraw;
        return;
    }
    int column = -2, row = -2;
    const int kind = TSel::HitCell(visibleHits, px, py, column, row);
    if (edit.active && column == edit.column && row == edit.row) wantIBeam = true;
    step.hover = 0;
    if (step.shown) {
        if (inside(step.up, px, py))
            step.hover = 1;
        else if (inside(step.down, px, py))
            step.hover = 2;
        step.held = (step.hover == 1 && step.upPressed) || (step.hover == 2 && step.downPressed);
    }
    if (step.hover == 0) {
        if (kind == 0) {
            if (step.upPressed || step.downPressed) {
                step.upPressed = step.downPressed = false;
                dirty |= kDirtyRedraw;
            }
        } else if (editableItem(*sheet, column, row)) {
            if (!step.shown || step.column != column || step.row != row) PlaceStepButtons(column, row);
        } else {
            HideStepButtons();
        }
        for (CTabScrollBar* bar : {&hBar, &vBar}) {
            bar->mouseX = px;
            bar->mouseY = py;
            if (bar->HitTest() != 0) dirty |= kDirtyRedraw;
        }
    }
}

bool TTab::TableMouseDown()
{
    CSheet* sheet = Current();
    if (!sheet) return false;
    const TabLayout& L = layout;
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
    if (edit.active) {
        int column = -2, row = -2;
        TSel::HitCell(visibleHits, px, py, column, row);
        if (column == edit.column && row == edit.row) {
            int best = 0;
            for (std::size_t i = 0; i < edit.offsets.size(); ++i)
                if (std::abs(edit.textLeft + edit.offsets[i] - px) <
                    std::abs(edit.textLeft + edit.offsets[static_cast<std::size_t>(best)] - px))
                    best = static_cast<int>(i);
            edit.caret = best;
            edit.markStart = edit.markEnd = best;
            LayoutCellEdit();
            dirty |= kDirtyRedraw;
            return true;
        }
        CommitCellEdit();
    }
    for (CTabScrollBar* bar : {&hBar, &vBar}) {
        bar->mouseX = px;
        bar->mouseY = py;
        bar->HitTest();
        if (const int r = bar->Press(); r != 0) {
            if (r == 6) Command(bar == &hBar ? kCmdHorizontalBar : kCmdVerticalBar);
            dirty |= kDirtyRedraw;
            return true;
        }
    }
    if (px < L.tableLeft || px > L.cellsLeft + L.shownColumns * L.cellWidth || py < L.tableTop ||
        py > L.cellsTop + L.shownRows * L.cellHeight)
        return false;
    sheet->sel.StartTableDrag(visibleHits, px, py, shiftDown, ctrlDown);
    tableDrag.selecting = sheet->sel.dragKind != 0;
    dirty |= kDirtyRedraw;
    return true;
}

bool TTab::TableMouseUp()
{
    CSheet* sheet = Current();
    if (!sheet) return false;
    if (step.upPressed || step.downPressed) {
        step.upPressed = step.downPressed = false;
        step.held = false;
        if (!step.repeatBegan && step.hover != 0) StepTarget(step.hover == 1 ? 1 : -1);
        dirty |= kDirtyRedraw;
        return true;
    }
    if (tableDrag.mode != 0) {
        DragFill();
        tableDrag.mode = 0;
        return true;
    }
    for (CTabScrollBar* bar : {&hBar, &vBar})
        if (bar->Release() == 5) {
            dirty |= kDirtyRedraw;
            return true;
        }
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
    if (!sheet) return false;
    if (tableDrag.selecting) {
        tableDrag.selecting = false;
        sheet->sel.Commit(fullHits);
    }
    int column = -2, row = -2;
    if (TSel::HitCell(visibleHits, px, py, column, row) == 0)
        sheet->sel.Reset();
    else if (!marked(sheet->sel.MarkAt(column, row)))
        sheet->sel.SelectOne(fullHits, column, row);
    dirty |= kDirtyRedraw;
    return false;
}

bool TTab::TableDoubleClick()
{
    CSheet* sheet = Current();
    if (!sheet) return false;
    if (step.shown && step.hover != 0) {
        step.upPressed = step.hover == 1;
        step.downPressed = step.hover == 2;
        step.pressTick = tickCount;
        return true;
    }
    int column = -2, row = -2;
    TSel::HitCell(visibleHits, px, py, column, row);
    if (!editableItem(*sheet, column, row)) return false;
    if (!edit.active || edit.column != column || edit.row != row) BeginCellEdit(column, row, false);
    edit.markStart = 0;
    edit.markEnd = static_cast<int>(edit.text.size());
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

bool TTab::TableKey(int code)
{
    CSheet* sheet = Current();
    if (!sheet) return false;
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
            // fall through to typing below
        } else if (code == VK_BACK || code == VK_DELETE * 256 || code == VK_INSERT * 256) {
            if (focusEditable) BeginCellEdit(column, row, code != VK_INSERT * 256 ? true : false);
            if (edit.active && code == VK_INSERT * 256) edit.markStart = edit.markEnd = -1;
            dirty |= kDirtyRedraw;
            return true;
        } else if (code == VK_RETURN) {
            const bool lastRow = row == std::min(sheet->y.usedCount(), kMaxRows) - 1 || sheet->y.collapsed;
            MoveFocus(lastRow ? 1 : 0, sheet->y.collapsed ? 0 : 1, false);
            return true;
        } else if (code == VK_ESCAPE) {
            if (sheet->sel.count == 0 && sheet->sel.selKind == 0) return false;
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
