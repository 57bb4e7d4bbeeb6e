#include "mapeditor/sel.h"

#include <algorithm>

namespace {

// A hit table filled by a view may claim any counts; the mark arrays hold 50 x 30.
int tableColumns(const HitTable& table)
{
    return std::clamp<int>(table.columns, 0, kMaxColumns);
}
int tableRows(const HitTable& table)
{
    return std::clamp<int>(table.rows, 0, kMaxRows);
}

bool contains(const HitRect& r, int x, int y)
{
    return r.left <= x && x <= r.right && r.top <= y && y <= r.bottom;
}
bool overlapsX(const HitRect& r, int left, int right)
{
    return r.left <= right && r.right >= left;
}
bool overlapsY(const HitRect& r, int top, int bottom)
{
    return r.top <= bottom && r.bottom >= top;
}

// One kind out of the hit bits, in the order HitTest tests them.
int firstKind(int bits)
{
    for (int kind : {kHitCell, kHitXHead, kHitYHead, kHitColumnStrip, kHitRowStrip})
        if (bits & kind) return kind;
    return 0;
}

// Whole columns and rows select cells.
int selGroup(int dragKind)
{
    return (dragKind & (kHitColumnStrip | kHitRowStrip)) ? kSelCells : dragKind;
}

bool setPicked(std::uint16_t& mark, bool inBand)
{
    const std::uint16_t before = mark;
    mark = inBand ? (mark | kMarkPicked) : (mark & ~kMarkPicked);
    return mark != before;
}

}  // namespace

void ResetHitTable(HitTable& table)
{
    table.columns = table.rows = 0;
    table.xHeadsOn = table.yHeadsOn = table.columnStripsOn = table.rowStripsOn = table.cellsOn = 0;
    table.rects.fill(HitRect{});
}

void TSel::Reset()
{
    marks.fill(0);
    dragKind = selKind = 0;
    rectangle = 0;
    anchorX = anchorY = currentX = currentY = -1;
    minColumn = minRow = maxColumn = maxRow = -2;
    count = 0;
}

int TSel::HitTest(HitTable& table, int x, int y)
{
    const int columns = tableColumns(table), rows = tableRows(table);
    int bits = 0;
    if (table.cellsOn) {
        for (int r = 0; r < rows && !(bits & kHitCell); ++r)
            for (int c = 0; c < columns; ++c)
                if (contains(table.cell(c, r), x, y)) {
                    bits |= kHitCell;
                    table.hitColumn = c;
                    table.hitRow = r;
                    break;
                }
    }
    auto scan = [&](bool on, int n, int first, int bit, bool isColumn) {
        if (!on) return;
        for (int i = 0; i < n; ++i)
            if (contains(table.rects[first + i], x, y)) {
                bits |= bit;
                (isColumn ? table.hitColumn : table.hitRow) = i;
                return;
            }
    };
    scan(table.xHeadsOn, columns, kHitXHeads, kHitXHead, true);
    scan(table.yHeadsOn, rows, kHitYHeads, kHitYHead, false);
    scan(table.columnStripsOn, columns, kHitColumnStrips, kHitColumnStrip, true);
    scan(table.rowStripsOn, rows, kHitRowStrips, kHitRowStrip, false);
    return bits;
}

int TSel::HitCell(const HitTable& table, int x, int y, int& column, int& row)
{
    const int columns = tableColumns(table), rows = tableRows(table);
    if (table.cellsOn)
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c)
                if (contains(table.cell(c, r), x, y)) {
                    column = c;
                    row = r;
                    return kHitCell;
                }
    if (table.xHeadsOn)
        for (int c = 0; c < columns; ++c)
            if (contains(table.rects[kHitXHeads + c], x, y)) {
                column = c;
                row = -1;
                return kHitXHead;
            }
    if (table.yHeadsOn)
        for (int r = 0; r < rows; ++r)
            if (contains(table.rects[kHitYHeads + r], x, y)) {
                column = -1;
                row = r;
                return kHitYHead;
            }
    column = row = -2;
    return 0;
}

void TSel::StartGraphDrag(const HitTable& table, int x, int y, bool shift, bool ctrl)
{
    if (shift && ctrl) shift = ctrl = false;
    if (!shift && !ctrl) Reset();
    currentX = x;
    currentY = y;
    if (!shift || (anchorX == -1 && anchorY == -1)) {
        anchorX = x;
        anchorY = y;
    }
    if (selKind != kSelCells) {
        Reset();
        anchorX = currentX = x;
        anchorY = currentY = y;
    }
    dragKind = kHitCell;
    DragTo(table, x, y, true);
    HitCell(table, x, y, startColumn, startRow);
    endColumn = startColumn;
    endRow = startRow;
}

void TSel::StartTableDrag(HitTable& table, int x, int y, bool shift, bool ctrl)
{
    if (shift && ctrl) shift = ctrl = false;
    if (!shift && !ctrl) Reset();
    currentX = x;
    currentY = y;
    if (!shift || (anchorX == -1 && anchorY == -1)) {
        anchorX = x;
        anchorY = y;
    }
    const int kind = firstKind(HitTest(table, x, y));
    if (kind == 0) return;
    dragKind = kind;
    if (selGroup(kind) != selKind) {
        Reset();
        dragKind = kind;
        anchorX = currentX = x;
        anchorY = currentY = y;
    }
    DragTo(table, x, y, true);
    HitCell(table, x, y, startColumn, startRow);
    endColumn = startColumn;
    endRow = startRow;
}

bool TSel::DragTo(const HitTable& table, int x, int y, bool force)
{
    if (dragKind == 0 || (x == currentX && y == currentY && !force)) return false;
    currentX = std::clamp(x, 0, std::max(0, table.width - 1));
    currentY = std::clamp(y, 0, std::max(0, table.height - 1));
    const int left = std::min(anchorX, currentX), right = std::max(anchorX, currentX);
    const int top = std::min(anchorY, currentY), bottom = std::max(anchorY, currentY);
    const int columns = tableColumns(table), rows = tableRows(table);
    bool changed = false;
    switch (dragKind) {
        case kHitCell:
            for (int r = 0; r < rows; ++r)
                for (int c = 0; c < columns; ++c) {
                    const HitRect& rect = table.cell(c, r);
                    changed |= setPicked(cellMark(c, r), overlapsX(rect, left, right) && overlapsY(rect, top, bottom));
                }
            break;
        case kHitXHead:
            for (int c = 0; c < columns; ++c)
                changed |= setPicked(xMark(c), overlapsX(table.rects[kHitXHeads + c], left, right));
            break;
        case kHitYHead:
            for (int r = 0; r < rows; ++r)
                changed |= setPicked(yMark(r), overlapsY(table.rects[kHitYHeads + r], top, bottom));
            break;
        case kHitColumnStrip:
            for (int c = 0; c < columns; ++c) {
                const bool in = overlapsX(table.rects[kHitColumnStrips + c], left, right);
                for (int r = 0; r < rows; ++r) changed |= setPicked(cellMark(c, r), in);
            }
            break;
        case kHitRowStrip:
            for (int r = 0; r < rows; ++r) {
                const bool in = overlapsY(table.rects[kHitRowStrips + r], top, bottom);
                for (int c = 0; c < columns; ++c) changed |= setPicked(cellMark(c, r), in);
            }
            break;
        default:
            break;
    }
    UpdateBounds();
    return changed;
}

void TSel::UpdateBounds()
{
    const int group = selGroup(dragKind);
    if (group == kSelCells) {
        count = 0;
        minColumn = minRow = maxColumn = maxRow = -2;
        for (int r = 0; r < kMaxRows; ++r)
            for (int c = 0; c < kMaxColumns; ++c) {
                const std::uint16_t m = cellMark(c, r);
                if (m != 0) ++count;
                if (m & kMarkPicked) {
                    if (minColumn == -2) {
                        minColumn = maxColumn = c;
                        minRow = maxRow = r;
                    }
                    minColumn = std::min(minColumn, c);
                    maxColumn = std::max(maxColumn, c);
                    minRow = std::min(minRow, r);
                    maxRow = std::max(maxRow, r);
                }
            }
    } else if (group == kSelXHeads || group == kSelYHeads) {
        const bool columns = group == kSelXHeads;
        const int n = columns ? kMaxColumns : kMaxRows;
        int lo = -2, hi = -2;
        count = 0;
        for (int i = 0; i < n; ++i)
            if ((columns ? xMark(i) : yMark(i)) & kMarkPicked) {
                ++count;
                if (lo == -2) lo = i;
                hi = i;
            }
        const int other = count > 0 ? -1 : -2;
        if (columns) {
            minColumn = lo, maxColumn = hi, minRow = maxRow = other;
        } else {
            minRow = lo, maxRow = hi, minColumn = maxColumn = other;
        }
    }
}

void TSel::commitCells(const HitTable& table)
{
    const int columns = tableColumns(table), rows = tableRows(table);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            std::uint16_t& m = cellMark(c, r);
            if (m & kMarkPicked) m |= kMarkCommitted;
            m &= ~(kMarkPicked | kMarkCorner);
        }
    count = 0;
    int left = -1, top = -1;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            if (cellMark(c, r) != 0) {
                if (count++ == 0) {
                    left = c;
                    top = r;
                }
            }
    rectangle = 0;
    if (count > 0) {
        int right = left;
        while (right + 1 < columns && cellMark(right + 1, top) != 0) ++right;
        int bottom = top;
        for (bool full = true; full && bottom + 1 < rows;) {
            for (int c = left; c <= right && full; ++c) full = cellMark(c, bottom + 1) != 0;
            if (full) ++bottom;
        }
        // Every cell inside is marked by construction, so the marks form the rectangle exactly when the count
        // equals its area.
        const bool clean = count == (right - left + 1) * (bottom - top + 1);
        if (clean && (right - left > 1 || bottom - top > 1)) {
            rectangle = 1;
            for (int c : {left, right})
                for (int r : {top, bottom}) cellMark(c, r) |= kMarkCorner;
            rectLeft = left, rectRight = right, rectTop = top, rectBottom = bottom;
        }
    }
    selKind = count != 0 ? kSelCells : 0;
}

void TSel::commitHeads(const HitTable& table, bool columns)
{
    const int n = columns ? tableColumns(table) : tableRows(table);
    auto mark = [&](int i) -> std::uint16_t& { return columns ? xMark(i) : yMark(i); };
    count = 0;
    int lo = -1, hi = -1;
    for (int i = 0; i < n; ++i) {
        std::uint16_t& m = mark(i);
        if (m & kMarkPicked) m |= kMarkCommitted;
        m &= ~(kMarkPicked | kMarkCorner);
        if (m != 0) {
            if (count++ == 0) lo = i;
            hi = i;
        }
    }
    rectangle = 0;
    if (count > 0 && count == hi - lo + 1 && hi - lo > 1) {
        rectangle = 1;
        mark(lo) |= kMarkCorner;
        mark(hi) |= kMarkCorner;
        if (columns)
            rectLeft = lo, rectRight = hi, rectTop = rectBottom = -1;
        else
            rectLeft = rectRight = -1, rectTop = lo, rectBottom = hi;
    }
    selKind = count != 0 ? (columns ? kSelXHeads : kSelYHeads) : 0;
}

void TSel::Commit(const HitTable& table)
{
    const int group = selGroup(dragKind);
    if (group == kSelCells)
        commitCells(table);
    else if (group == kSelXHeads)
        commitHeads(table, true);
    else if (group == kSelYHeads)
        commitHeads(table, false);
    dragKind = 0;
}

void TSel::SelectOne(const HitTable& table, int column, int row)
{
    Reset();
    if (column < -1 || row < -1 || column >= kMaxColumns || row >= kMaxRows || (column == -1 && row == -1)) return;
    if (row == -1) {
        dragKind = kHitXHead;
        xMark(column) = kMarkPicked;
    } else if (column == -1) {
        dragKind = kHitYHead;
        yMark(row) = kMarkPicked;
    } else {
        dragKind = kHitCell;
        cellMark(column, row) = kMarkPicked;
    }
    UpdateBounds();
    Commit(table);
    startColumn = endColumn = minColumn;
    startRow = endRow = minRow;
}

void TSel::SelectTo(const HitTable& table, int column, int row)
{
    Reset();
    endColumn = column;
    endRow = row;
    if (startColumn == -1) endColumn = -1;
    if (startRow == -1) endRow = -1;
    if (startColumn != -1 && endColumn == -1) endColumn = 0;
    if (startRow != -1 && endRow == -1) endRow = 0;
    auto inRange = [](int v, int n) { return v >= -1 && v < n; };
    if (!inRange(startColumn, kMaxColumns) || !inRange(startRow, kMaxRows) || !inRange(endColumn, kMaxColumns) ||
        !inRange(endRow, kMaxRows))
        return;
    const int c0 = std::min(startColumn, endColumn), c1 = std::max(startColumn, endColumn);
    const int r0 = std::min(startRow, endRow), r1 = std::max(startRow, endRow);
    if (startRow == -1) {
        if (startColumn == -1) return;
        dragKind = kHitXHead;
        for (int c = c0; c <= c1; ++c) xMark(c) = kMarkPicked;
    } else if (startColumn == -1) {
        dragKind = kHitYHead;
        for (int r = r0; r <= r1; ++r) yMark(r) = kMarkPicked;
    } else {
        dragKind = kHitCell;
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c) cellMark(c, r) = kMarkPicked;
    }
    UpdateBounds();
    Commit(table);
}

int TSel::CornerFlags(int column, int row, bool wholeRow, bool wholeColumn) const
{
    if (rectangle != 1) return 0;
    int flags = 0;
    if (selKind == kSelCells) {
        if (column == rectLeft && row == rectTop) flags |= 1;
        if (column == rectRight && row == rectTop) flags |= 2;
        if (column == rectLeft && row == rectBottom) flags |= 4;
        if (column == rectRight && row == rectBottom) flags |= 8;
        if (wholeColumn) {
            if (column == rectLeft) flags += 5;
            if (column == rectRight) flags += 10;
        }
        if (wholeRow) {
            if (row == rectTop) flags += 3;
            if (row == rectBottom) flags += 12;
        }
    } else if (selKind == kSelXHeads && row == -1) {
        if (column == rectLeft) flags += 5;
        if (column == rectRight) flags += 10;
    } else if (selKind == kSelYHeads && column == -1) {
        if (row == rectTop) flags += 3;
        if (row == rectBottom) flags += 12;
    }
    return flags;
}

std::uint16_t TSel::MarkAt(int column, int row) const
{
    if (column < -1 || row < -1 || (column < 0 && row < 0) || column >= kMaxColumns || row >= kMaxRows) return 0;
    if (column == -1) return yMark(row);
    if (row == -1) return xMark(column);
    return cellMark(column, row);
}
