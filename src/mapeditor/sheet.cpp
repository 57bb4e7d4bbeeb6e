#include "mapeditor/sheet.h"

#include <algorithm>
#include <limits>

namespace {

using i64 = std::int64_t;

std::int32_t toInt32(i64 v)
{
    return static_cast<std::int32_t>(
        std::clamp<i64>(v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// Mean of two raw values, toward zero, without overflow.
std::int32_t mean(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>((i64{a} + i64{b}) / 2);
}

CAxe& lineAxis(CSheet& sheet, int which)
{
    return which == kLineColumns ? sheet.x : sheet.y;
}
const CAxe& lineAxis(const CSheet& sheet, int which)
{
    return which == kLineColumns ? sheet.x : sheet.y;
}
int capacity(int which)
{
    return which == kLineColumns ? kMaxColumns : kMaxRows;
}

}  // namespace

// ---- CAxe ---------------------------------------------------------------------------------------------------

int CAxe::usedCount() const
{
    return std::clamp<int>(count, 0, static_cast<int>(points.size()));
}

void CAxe::Arrange()
{
    const int n = usedCount();
    const auto held = static_cast<std::size_t>(n);
    if (n <= 0 || prevPoints.size() < held || pushedFrom.size() < held || pushedMarks.size() < held) return;
    const i64 s = minSpacing;
    std::vector<i64> p(points.begin(), points.begin() + n);
    auto clearPushes = [&] {
        std::fill_n(pushedMarks.begin(), n, 0);
        std::fill_n(pushedFrom.begin(), n, 0);
    };
    auto push = [&](int k, i64 to) {
        if (!pushedMarks[k]) {
            pushedFrom[k] = static_cast<std::int32_t>(p[k]);
            pushedMarks[k] = 1;
        }
        p[k] = to;
    };

    int changed = 0;
    int first = -1;
    if (lastMoved == kNoneMoved) {
        changed = n;
        first = 0;
        clearPushes();
    } else {
        for (int k = 0; k < n; ++k)
            if (points[k] != prevPoints[k]) {
                if (changed++ == 0) first = k;
            }
        if (first != -1 && first != lastMoved) clearPushes();
    }

    if (changed == 1) {
        const int f = first;
        p[f] = std::max(p[f], i64{min} + f * s);
        for (int k = f - 1; k >= 0 && p[k] > p[k + 1] - s; --k) push(k, p[k + 1] - s);
        p[f] = std::min(p[f], i64{max} - (n - f - 1) * s);
        for (int k = f + 1; k < n && p[k] < p[k - 1] + s; ++k) push(k, p[k - 1] + s);
        // Points pushed away return towards their own places as far as their neighbours allow.
        for (int pass = 0; pass < n; ++pass)
            for (int k = 0; k < n; ++k) {
                if (!pushedMarks[k]) continue;
                const i64 home = pushedFrom[k];
                if (p[k] < home) {
                    i64 to = home;
                    if (k < n - 1) to = std::min(to, p[k + 1] - s);
                    p[k] = std::max(p[k], to);
                } else if (p[k] > home) {
                    i64 to = home;
                    if (k > 0) to = std::max(to, p[k - 1] + s);
                    p[k] = std::min(p[k], to);
                }
                if (p[k] == home) pushedMarks[k] = 0;
            }
    } else {
        for (int j = 0; j < n; ++j) {
            p[j] = std::max(p[j], i64{min} + j * s);
            p[j] = std::min(p[j], i64{max} - (n - j - 1) * s);
        }
        for (int j = std::max(first, 0); j >= 1; --j) p[j - 1] = std::min(p[j - 1], p[j] - s);
        for (int j = 1; j < n; ++j) p[j] = std::max(p[j], p[j - 1] + s);
    }

    for (int k = 0; k < n; ++k) points[k] = prevPoints[k] = toInt32(p[k]);
    if (first != -1) lastMoved = first;
}

void CAxe::ClampValues(int columns, int rows)
{
    if (points.size() < static_cast<std::size_t>(kGridCells)) return;
    columns = std::clamp(columns, 0, kMaxColumns);
    rows = std::clamp(rows, 0, kMaxRows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            std::int32_t& v = points[gridIndex(c, r)];
            v = std::max(min, std::min(max, v));
        }
}

void CAxe::SetSteps(std::span<const StepEntry> table)
{
    stepCount = 0;
    for (const StepEntry& entry : table) {
        if (entry[2] == 0) break;
        AddSteps(entry);
    }
}

void CAxe::AddSteps(const StepEntry& entry)
{
    if (stepCount < kStepEntries) ++stepCount;
    steps[stepCount - 1] = entry;
}

void CAxe::PickSteps(double span)
{
    if (numeric && stepCount > 0) {
        currentStep = steps[stepCount - 1];
        for (int i = 0; i < stepCount; ++i)
            if (steps[i][0] >= span) {
                currentStep = steps[i];
                break;
            }
        return;
    }
    for (int i = 1; i < 5; ++i) currentStep[i] = 1.0;
}

void CAxe::SplitStringView()
{
    for (int which = 0; which < 2; ++which) {
        std::vector<std::string>& parts = labelParts[which];
        parts.clear();
        const std::string& text = labelTexts[which];
        if (text.empty()) continue;
        parts.emplace_back();
        for (char ch : text) {
            if (ch == '\r') continue;  // a carriage return ends nothing, it is only dropped
            if ((ch == '\n' || ch == ',') && parts.size() < kStringViewParts) {
                parts.emplace_back();
                continue;
            }
            parts.back().push_back(ch);
        }
    }
}

std::optional<std::string_view> CAxe::StringViewText(int index, int which, StringViewFault* fault) const
{
    auto fail = [&](StringViewFault f) -> std::optional<std::string_view> {
        if (fault) *fault = f;
        return std::nullopt;
    };
    if (fault) *fault = StringViewFault::None;
    const std::vector<std::string>& parts = (which == 1 && !labelParts[1].empty()) ? labelParts[1] : labelParts[0];
    if (index < 0 || index >= usedCount()) return fail(StringViewFault::IndexOutsideCount);
    const int part = points[index] % 1000;
    if (part < 0 || part >= kStringViewParts) return fail(StringViewFault::PartOutsideRange);
    if (part >= static_cast<int>(parts.size()) || parts[part].empty()) return fail(StringViewFault::EmptyPart);
    return std::string_view(parts[part]);
}

int CAxe::resolveCollapsedIndex() const
{
    const int n = std::max(1, usedCount());
    switch (collapsePos) {
        case kCollapseFirst:
            return 0;
        case kCollapseLast:
            return n - 1;
        case kCollapseMiddle:
            return n / 2;
        default:
            return std::clamp(collapsePos, 0, n - 1);
    }
}

// ---- CSheet -------------------------------------------------------------------------------------------------

CSheet::CSheet()
{
    x.maxCount = x.count = kMaxColumns;
    y.maxCount = y.count = kMaxRows;
    data.showUnit = 0;
}

void CSheet::Allocate()
{
    auto axis = [](CAxe& a, std::size_t n) {
        a.points.assign(n, 0);
        a.pointFlags.assign(n, 0);
        a.prevPoints.assign(n, 0);
        a.pushedFrom.assign(n, 0);
        a.pushedMarks.assign(n, 0);
    };
    axis(x, kMaxColumns);
    axis(y, kMaxRows);
    data.points.assign(kGridCells, 0);
    data.pointFlags.assign(kGridCells, 0);
    if (flags & kSheetLambdaBlock) lambdaBlock.assign(kGridCells, 0);
}

void CSheet::Free()
{
    for (CAxe* a : {&x, &y, &data}) {
        a->points = {};
        a->pointFlags = {};
        a->prevPoints = {};
        a->pushedFrom = {};
        a->pushedMarks = {};
        a->comparePoints = {};
        a->compareCount = 0;
        a->labelTexts = {};
        a->labelParts = {};
    }
    lambdaBlock = {};
}

void CSheet::updateAxes(int updateFlags)
{
    if (updateFlags & 1) {
        if (updateFlags & 0x100) x.lastMoved = kNoneMoved;
        x.Arrange();
    }
    if (updateFlags & 2) {
        if (updateFlags & 0x100) y.lastMoved = kNoneMoved;
        y.Arrange();
    }
    if (updateFlags & 4) data.ClampValues(x.count, y.count);
}

// ---- Lines --------------------------------------------------------------------------------------------------

bool hasRoomForLine(const CSheet& sheet, int which, bool checkGrid)
{
    const CAxe& axis = lineAxis(sheet, which);
    return axis.count >= 0 && axis.count < std::min(axis.maxCount, capacity(which) - (checkGrid ? 1 : 0)) &&
           axis.points.size() >= static_cast<std::size_t>(capacity(which));
}

LineEdit insertLineData(CSheet& sheet, int which, int b, bool asFollower, bool checkGrid)
{
    CAxe& axis = lineAxis(sheet, which);
    if (!asFollower && !axis.resizable) return LineEdit::NotResizable;
    if (!sheet.isAllocated() || !hasRoomForLine(sheet, which, checkGrid)) return LineEdit::AtMaximum;
    if (b < 0 || b > axis.count) return LineEdit::BadIndex;

    sheet.sel.Reset();
    const int n = axis.count + 1;
    axis.count = n;
    std::vector<std::int32_t>& pts = axis.points;
    const bool columns = which == kLineColumns;
    const int across = columns ? kMaxRows : kMaxColumns;  // the other direction, whole grid
    auto cell = [&](int along, int other) -> std::int32_t& {
        return columns ? sheet.value(along, other) : sheet.value(other, along);
    };
    const int lastValue = n - 1 + (checkGrid ? 1 : 0);  // a check grid's extra value moves along
    for (int k = lastValue; k > b; --k) {
        if (k < n) pts[k] = pts[k - 1];
        for (int o = 0; o < across; ++o) cell(k, o) = cell(k - 1, o);
    }
    const int lo = b == 0 ? b + 1 : b - 1;
    const int hi = b + 1 < n ? b + 1 : b - 1;
    // A new last point already above its neighbour (left there by an earlier deletion) is kept.
    if (!(b == n - 1 && pts[b] > pts[b - 1])) pts[b] = mean(pts[lo], pts[hi]);
    for (int o = 0; o < across; ++o) cell(b, o) = mean(cell(lo, o), cell(hi, o));

    // The new cells become the change marks of the selection.
    const CAxe& other = columns ? sheet.y : sheet.x;
    sheet.sel.dragKind = kHitCell;
    const int otherCount = std::clamp(other.count + (checkGrid ? 1 : 0), 0, across);
    for (int o = 0; o < otherCount; ++o) {
        if (other.collapsed && o != other.collapsedIndex) continue;
        (columns ? sheet.sel.cellMark(b, o) : sheet.sel.cellMark(o, b)) = kMarkPicked;
    }
    sheet.sel.UpdateBounds();
    return LineEdit::Done;
}

LineEdit deleteLineData(CSheet& sheet, int which, int index, bool asFollower, bool checkGrid)
{
    CAxe& axis = lineAxis(sheet, which);
    if (!asFollower && !axis.resizable) return LineEdit::NotResizable;
    if (axis.collapsed) return LineEdit::Collapsed;
    if (axis.count <= axis.minCount || axis.count <= 1) return LineEdit::AtMinimum;
    if (!sheet.isAllocated() || index < 0 || index >= axis.usedCount()) return LineEdit::BadIndex;

    const bool columns = which == kLineColumns;
    const int across = columns ? kMaxRows : kMaxColumns;
    TSel& sel = sheet.sel;
    auto cell = [&](int along, int other) -> std::int32_t& {
        return columns ? sheet.value(along, other) : sheet.value(other, along);
    };
    auto mark = [&](int along, int other) -> std::uint16_t& {
        return columns ? sel.cellMark(along, other) : sel.cellMark(other, along);
    };
    auto headMark = [&](int along) -> std::uint16_t& { return columns ? sel.xMark(along) : sel.yMark(along); };
    const int n = axis.count;
    const int values = std::min(n + (checkGrid ? 1 : 0), capacity(which));
    for (int k = index; k + 1 < values; ++k) {
        if (k + 1 < n) {
            axis.points[k] = axis.points[k + 1];
            headMark(k) = headMark(k + 1);
        }
        for (int o = 0; o < across; ++o) {
            cell(k, o) = cell(k + 1, o);
            mark(k, o) = mark(k + 1, o);
        }
    }
    headMark(n - 1) = 0;
    for (int o = 0; o < across; ++o) mark(values - 1, o) = 0;
    axis.count = n - 1;
    return LineEdit::Done;
}

namespace {

template <typename Fn>
void forFollowers(std::span<CSheet> sheets, int current, Fn fn)
{
    const int leader = sheets[current].leaderId;
    if (leader == 0) return;
    for (int i = 0; i < static_cast<int>(sheets.size()); ++i)
        if (i != current && sheets[i].followerId == leader) fn(sheets[i]);
}

int axisFlag(int which)
{
    return which == kLineColumns ? 1 : 2;
}

}  // namespace

LineEdit insertLinkedLine(std::span<CSheet> sheets, int current, int which, int b, bool checkGrid)
{
    if (current < 0 || current >= static_cast<int>(sheets.size())) return LineEdit::BadIndex;
    CSheet& sheet = sheets[current];
    const bool asFollower = sheet.followerId != 0;
    if (!asFollower && !lineAxis(sheet, which).resizable) return LineEdit::NotResizable;
    if (!sheet.isAllocated() || !hasRoomForLine(sheet, which, checkGrid)) return LineEdit::AtMaximum;
    if (b < 0 || b > lineAxis(sheet, which).count) return LineEdit::BadIndex;
    bool followersFit = true;
    forFollowers(sheets, current, [&](CSheet& f) {
        followersFit &= f.isAllocated() && hasRoomForLine(f, which, checkGrid) && b <= lineAxis(f, which).count;
    });
    if (!followersFit) return LineEdit::FollowerAtMaximum;

    LineEdit result = insertLineData(sheet, which, b, asFollower, checkGrid);
    if (result != LineEdit::Done) return result;
    forFollowers(sheets, current, [&](CSheet& f) {
        if (insertLineData(f, which, b, true, checkGrid) == LineEdit::Done) f.updateAxes(axisFlag(which) | 4);
    });
    return LineEdit::Done;
}

LineEdit deleteLinkedLine(std::span<CSheet> sheets, int current, int which, int index, bool checkGrid)
{
    if (current < 0 || current >= static_cast<int>(sheets.size())) return LineEdit::BadIndex;
    CSheet& sheet = sheets[current];
    LineEdit result = deleteLineData(sheet, which, index, sheet.followerId != 0, checkGrid);
    if (result != LineEdit::Done) return result;
    forFollowers(sheets, current, [&](CSheet& f) {
        f.sel.Reset();
        if (deleteLineData(f, which, index, true, checkGrid) == LineEdit::Done) f.updateAxes(axisFlag(which) | 4);
    });
    return LineEdit::Done;
}
