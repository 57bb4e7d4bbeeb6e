#include "mapeditor/cellstep.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

const std::array<float, kPercentSteps>& percentStepTable()
{
    static const std::array<float, kPercentSteps> table = [] {
        std::array<float, kPercentSteps> t{};
        double v = 100.0;
        for (float& entry : t) {
            entry = static_cast<float>(v);
            v *= 1.01;
        }
        return t;
    }();
    return table;
}

namespace {

// The percent step of a value's magnitude; a negative value mirrors the step, so + grows its magnitude too.
std::int32_t percentStep(std::int64_t v, int n, double scale2)
{
    if (v < 0) {
        n = -n;
        v = -v;
    }
    const auto plain = static_cast<std::int32_t>(n * scale2);
    const auto& table = percentStepTable();
    if (v <= 100 || v > table.back()) return plain;
    // table[i - 1] <= v < table[i]; v == last entry falls into the last interval.
    const int i = std::clamp(
        static_cast<int>(std::upper_bound(table.begin(), table.end(), static_cast<float>(v)) - table.begin()), 1,
        kPercentSteps - 1);
    const double lo = table[i - 1], hi = table[i];
    const double f = (static_cast<double>(v) - lo) / (hi - lo);
    // Near either end of the table a fast step (n = +-10) would index outside it: hold the indexes inside.
    const auto entry = [&](int k) { return static_cast<double>(table[std::clamp(k, 0, kPercentSteps - 1)]); };
    const double x = (1 - f) * entry(i - 1 + n) + f * entry(i + n);
    const std::int64_t r = static_cast<std::int64_t>(std::trunc(x + 5)) / 10 * 10;
    const std::int64_t delta = r - v;
    // Below a few hundred 1 % is less than the rounding to tens, and the rounded target can fall on or behind
    // the value: then step by n instead of standing still or going back.
    if (delta == 0 || (delta > 0) != (n > 0)) return plain;
    return static_cast<std::int32_t>(delta);
}

}  // namespace

std::int32_t CellStep(const CSheet& sheet, int column, int row, int n)
{
    if (n == 0) return 0;
    if (!(sheet.flags & kSheetPercentStep)) return n;
    const double scale2 = std::isfinite(sheet.data.scale2) ? sheet.data.scale2 : 1.0;
    if (column < 0 || column >= kMaxColumns || row < 0 || row >= kMaxRows || !sheet.isAllocated())
        return static_cast<std::int32_t>(n * scale2);
    const std::int64_t v = sheet.value(column, row);
    // A step works on the magnitude: - shrinks it and stops at zero. Crossing zero would mirror the next step
    // back, and a held - would swing the value around zero.
    if (v == 0 && n < 0) return 0;
    const std::int64_t to = v + percentStep(v, n, scale2);
    if ((v > 0 && to < 0) || (v < 0 && to > 0)) return static_cast<std::int32_t>(-v);
    return static_cast<std::int32_t>(to - v);
}
