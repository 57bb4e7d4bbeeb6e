#include "mapeditor/tabgraph.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr std::int32_t kNone = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kNoneHigh = -std::numeric_limits<std::int32_t>::max();

std::int32_t toInt32(double v)
{
    if (std::isnan(v)) return 0;
    return static_cast<std::int32_t>(std::clamp<double>(std::trunc(v), std::numeric_limits<std::int32_t>::min(),
                                                        std::numeric_limits<std::int32_t>::max()));
}

// A scale of zero or worse would divide by zero below; such an axis is drawn as if unscaled.
double scaleOf(const CAxe& axis)
{
    return std::isfinite(axis.scale) && axis.scale != 0 ? axis.scale : 1.0;
}

const CAxe& matchingAxis(const CSheet& sheet, int which)
{
    const bool swapped = sheet.flags & kSheetSwapXY;
    if (which == 1) return swapped ? sheet.y : sheet.x;
    if (which == 2) return swapped ? sheet.x : sheet.y;
    return sheet.data;
}

bool labelledRpm(const CAxe* axis)
{
    return axis && axis->label == "RPM";
}

template <typename Fn>
void forSheets(std::span<const CSheet> sheets, int current, int which, Fn fn)
{
    if (current < 0 || current >= static_cast<int>(sheets.size())) return;
    fn(sheets[current]);
    for (int i = 0; i < static_cast<int>(sheets.size()); ++i)
        if (i != current && JoinedSheet(sheets[current], sheets[i], which)) fn(sheets[i]);
}

// The outward rounding of a range to whole steps with a margin of a fifth of a step, never crossing zero.
void roundOutward(std::int32_t& low, std::int32_t& high, double s, double t)
{
    if (!(t > 0) || !std::isfinite(t)) t = s;
    double e = low * s - 0.2 * t;
    if (low * s >= 0 && e < 0) e = 0;
    double f = high * s + 0.2 * t;
    if (high * s <= 0 && f > 0) f = 0;
    low = toInt32(std::floor(t * std::floor(e / t) / s + 0.5));
    high = toInt32(std::floor(t * std::ceil(f / t) / s + 0.5));
}

double roundingStep(const CAxe& axis)
{
    const double t = axis.currentStep[1];
    return std::isfinite(t) && t > 0 ? t : 1.0;
}

}  // namespace

bool JoinedSheet(const CSheet& current, const CSheet& other, int which)
{
    if (&current == &other || !other.enabled || other.hidden || !other.isAllocated()) return false;
    const CAxe& a = matchingAxis(current, which);
    const CAxe& b = matchingAxis(other, which);
    if ((a.scaleGroup & b.scaleGroup) == 0) return false;
    return which == 4 || a.numeric == b.numeric;
}

void TTabGraph::AxisRange(std::span<const CSheet> sheets, int current, int which, std::int32_t& low,
                          std::int32_t& high) const
{
    low = kNone;
    high = kNoneHigh;
    forSheets(sheets, current, which, [&](const CSheet& sheet) {
        const CAxe& axis = matchingAxis(sheet, which);
        const int n = axis.usedCount();
        if (axis.numeric) {
            for (int i = 0; i < n; ++i) {
                low = std::min(low, axis.points[i]);
                high = std::max(high, axis.points[i]);
            }
        } else {
            low = 0;
            if (high <= axis.count) high = std::max(0, axis.count - 1);
        }
    });
}

void TTabGraph::ValueRange(std::span<const CSheet> sheets, int current, std::int32_t& low, std::int32_t& high,
                           std::int32_t& rowStep, std::int32_t& firstRowTop) const
{
    low = kNone;
    high = kNoneHigh;
    std::int64_t rowStepMax = 0, columnStepMax = 0;
    std::int32_t firstRowMax = kNoneHigh, firstColumnMax = kNoneHigh;
    forSheets(sheets, current, 4, [&](const CSheet& sheet) {
        if (!sheet.isAllocated()) return;
        const int columns = std::min(sheet.x.usedCount(), kMaxColumns), rows = std::min(sheet.y.usedCount(), kMaxRows);
        const int c0 = sheet.x.collapsed ? sheet.x.resolveCollapsedIndex() : 0;
        const int c1 = sheet.x.collapsed ? c0 + 1 : columns;
        const int r0 = sheet.y.collapsed ? sheet.y.resolveCollapsedIndex() : 0;
        const int r1 = sheet.y.collapsed ? r0 + 1 : rows;
        for (int r = r0; r < r1 && r < kMaxRows; ++r)
            for (int c = c0; c < c1 && c < kMaxColumns; ++c) {
                const std::int32_t v = sheet.value(c, r);
                low = std::min(low, v);
                high = std::max(high, v);
                if (c == 0) firstColumnMax = std::max(firstColumnMax, v);
                if (r == 0) firstRowMax = std::max(firstRowMax, v);
                if (!sheet.x.collapsed && c > 0)
                    columnStepMax = std::max<std::int64_t>(columnStepMax, std::int64_t{v} - sheet.value(c - 1, r));
                if (!sheet.y.collapsed && r > 0)
                    rowStepMax = std::max<std::int64_t>(rowStepMax, std::int64_t{v} - sheet.value(c, r - 1));
            }
    });
    const bool swapped =
        current >= 0 && current < static_cast<int>(sheets.size()) && (sheets[current].flags & kSheetSwapXY);
    rowStep = toInt32(static_cast<double>(swapped ? columnStepMax : rowStepMax));
    firstRowTop = swapped ? firstColumnMax : firstRowMax;
}

void TTabGraph::Autoscale(std::span<const CSheet> sheets, int current, const TabGuides& guides, bool twoDDrawn)
{
    if (!first || !second || !data || current < 0 || current >= static_cast<int>(sheets.size())) return;
    CAxe& A = *first;
    CAxe& B = *second;
    CAxe& D = *data;
    const CSheet& sheet = sheets[current];

    AxisRange(sheets, current, 1, A.displayLow, A.displayHigh);
    AxisRange(sheets, current, 2, B.displayLow, B.displayHigh);
    ValueRange(sheets, current, D.displayLow, D.displayHigh, rowOffset, firstRowTop);
    // Axes without points skip the arithmetic and get their indexes (step 9 below).
    const bool hasA = A.displayLow != kNone, hasB = B.displayLow != kNone, hasD = D.displayLow != kNone;

    auto minimumSpan = [](const CAxe& axis) {
        const double m = axis.steps[0][1] / scaleOf(axis);
        return std::isfinite(m) ? std::max(m, 2.0) : 2.0;
    };
    for (CAxe* axis : {&A, &B})
        if (axis->displayLow != kNone) {
            const double m = minimumSpan(*axis);
            if (axis->displayHigh <= axis->displayLow + m) axis->displayHigh = toInt32(axis->displayLow + m);
        }
    if (hasD) {
        const double m = minimumSpan(D);
        if (D.displayHigh <= D.displayLow + m) {
            D.displayHigh = toInt32(D.displayLow + m);
            if (firstRowTop <= D.displayLow + m) firstRowTop = toInt32(D.displayLow + m);
        }
    }

    // Guide values widen the ranges so that their lines stay in the picture.
    auto widen = [](CAxe& axis, std::int32_t v) {
        axis.displayLow = std::min(axis.displayLow, v);
        axis.displayHigh = std::max(axis.displayHigh, v);
    };
    if (hasD && (sheet.flags & kSheetBaseAdvance)) {
        const double h = guides.baseAdvance / scaleOf(D);
        if (labelledRpm(&A) && hasA) {
            A.displayLow = std::min(A.displayLow, 0);
            widen(D, toInt32(h));
            if (h > firstRowTop) firstRowTop = toInt32(h);
        }
        if (labelledRpm(&B) && hasB) {
            B.displayLow = std::min(B.displayLow, 0);
            widen(D, toInt32(h));
        }
    }
    for (CAxe* axis : {&A, &B}) {
        if (!labelledRpm(axis) || axis->displayLow == kNone) continue;
        if (sheet.flags & kSheetLimiter) widen(*axis, toInt32(guides.limiter / scaleOf(*axis)));
        if (sheet.flags & kSheetStartLimiter) widen(*axis, toInt32(guides.startLimiter / scaleOf(*axis)));
    }

    for (CAxe* axis : {&A, &B}) {
        if (axis->displayLow == kNone) continue;
        const double s = scaleOf(*axis);
        axis->PickSteps(std::trunc((double(axis->displayHigh) - axis->displayLow) * s));
        if (!axis->numeric) continue;
        const double t = roundingStep(*axis);
        roundOutward(axis->displayLow, axis->displayHigh, s, t);
        if (axis->displayHigh <= axis->displayLow) axis->displayHigh = toInt32(axis->displayLow + t / s);
    }

    if (mode == kGraphStacked && twoDDrawn) {
        B.displayLow = 0;
        B.displayHigh = std::max(0, B.count - 1);
    }
    const auto stackedTop = [&] { return toInt32((double(B.count) - 1) * rowOffset + firstRowTop); };
    if (hasD) {
        graphTop = mode == kGraphStacked ? stackedTop() : D.displayHigh;
        const double s = scaleOf(D);
        D.PickSteps(std::trunc(s * (double(graphTop) - D.displayLow)));
        const double t = roundingStep(D);
        roundOutward(D.displayLow, D.displayHigh, s, t);
        if (D.max != 0) {
            D.displayHigh = std::max(D.displayHigh, toInt32(D.displayLow + t / s));
        } else if (D.displayHigh < D.displayLow + t / s) {
            D.displayLow = toInt32(D.displayHigh - t / s);  // such axes grow downward from 0
        }
        rowOffset = toInt32(std::floor(t * std::ceil((s * rowOffset + 0.5 * t) / t) / s + 0.5));
        firstRowTop = toInt32(std::floor(t * std::ceil((0.2 * t + s * firstRowTop) / t) / s + 0.5));
        firstRowTop = std::max(firstRowTop, toInt32(D.displayLow + t / s));
        firstRowTop = std::min(firstRowTop, D.displayHigh);
        graphTop = mode == kGraphStacked ? stackedTop() : D.displayHigh;
    }

    for (CAxe* axis : {&A, &B, &D})
        if (axis->displayLow == kNone) {
            axis->displayLow = 0;
            axis->displayHigh = std::max(0, axis->count - 1);
        }

    horizontal = &A;
    curves = &B;
    curveCount = 1;
    if (mode == kGraphCurveX && A.collapsed) {
        horizontal = &B;
        curves = &A;
    } else if (mode == kGraphCurveY && !B.collapsed) {
        horizontal = &B;
        curves = &A;
    } else if (mode == kGraphStacked) {
        curveCount = B.count;
    }
}
