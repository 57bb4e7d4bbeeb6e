#include "mapeditor/numtext.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

// Fixed notation with the given decimals, independent of the process locale.
std::string fixed(double v, int decimals)
{
    if (!std::isfinite(v)) return "0";
    std::array<char, 400> buf{};  // |v| < 1e309 and at most 20 decimals
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::fixed, decimals);
    std::string s(buf.data(), res.ptr);
    // A value that rounds to zero is written without a sign.
    if (!s.empty() && s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
    return s;
}

}  // namespace

int scaleDecimals(double scale)
{
    if (!std::isfinite(scale) || scale == 0 || std::fabs(scale) >= 1 || scale >= 1) return 0;
    const double d = std::trunc(0.99 - std::log10(std::fabs(scale)));
    return static_cast<int>(std::clamp(d, 0.0, 20.0));
}

std::string NumberText(std::int32_t raw, double scale, std::string_view unit, bool withUnit)
{
    const int decimals = scaleDecimals(scale);
    const double shown = std::isfinite(scale) ? raw * scale : 0.0;
    const std::string s = fixed(shown, decimals);

    const std::size_t signLen = (!s.empty() && s[0] == '-') ? 1 : 0;
    const std::size_t point = s.find('.');
    const std::size_t intEnd = point == std::string::npos ? s.size() : point;
    std::string out = s.substr(0, signLen);
    const std::size_t digits = intEnd - signLen;
    for (std::size_t i = 0; i < digits; ++i) {
        if (i > 0 && (digits - i) % 3 == 0) out.push_back(' ');
        out.push_back(s[signLen + i]);
    }
    if (point != std::string::npos) {
        std::string frac = s.substr(point + 1);
        while (!frac.empty() && frac.back() == '0') frac.pop_back();
        if (!frac.empty()) out += "." + frac;
    }
    if (withUnit && !unit.empty()) {
        out.push_back(' ');
        out.append(unit);
    }
    return out;
}

std::string AxisLabelText(double step, double value)
{
    if (step < 0.001) return fixed(value * 1000, 2) + "m";
    if (step < 0.01) return fixed(value * 1000, 0) + "m";
    if (step < 0.1) return fixed(value, 2);
    if (step < 1) return fixed(value, 1);
    if (step < 1000) return fixed(value, 0);
    if (step < 1000000) return fixed(value * 0.001, 0) + "k";
    return fixed(value * 0.000001, 0) + "M";
}

std::optional<std::int32_t> roundToRaw(double value, double scale)
{
    if (!std::isfinite(value) || !std::isfinite(scale) || scale == 0) return std::nullopt;
    const double q = value / scale;
    // A decimal half such as 0.05 at scale 0.1 comes out one unit in the last place short of 0.5 in binary;
    // the tolerance lets it round away from zero as the decimal text meant.
    const double a = std::fabs(q) + 0.5 + 1e-12 * std::max(1.0, std::fabs(q));
    const double t = std::copysign(std::trunc(a), q);
    if (!(t >= std::numeric_limits<std::int32_t>::min() && t <= std::numeric_limits<std::int32_t>::max()))
        return std::nullopt;
    return static_cast<std::int32_t>(t);
}

std::int32_t roundHalfAway(double r)
{
    if (std::isnan(r)) return 0;
    const double t = std::trunc(r > 0 ? r + 0.5 : r < 0 ? r - 0.5 : r);
    return static_cast<std::int32_t>(
        std::clamp<double>(t, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::int32_t InterpolateBilinear(double x, double y, double x0, double y0, double x1, double y1, double z00, double z01,
                                 double z10, double z11)
{
    auto weight = [](double v, double v0, double v1) {
        if (v1 == v0) return 0.5;
        const double t = (v - v0) / (v1 - v0);
        return std::isfinite(t) ? std::clamp(t, 0.0, 1.0) : 0.5;
    };
    const double tx = weight(x, x0, x1), ty = weight(y, y0, y1);
    const double a = ty * z01 + (1 - ty) * z00;
    const double b = ty * z11 + (1 - ty) * z10;
    return roundHalfAway(tx * b + (1 - tx) * a);
}

void InterpolateRect(std::span<std::int32_t> grid, int stride, std::span<const std::int32_t> xPoints,
                     std::span<const std::int32_t> yPoints, int c0, int r0, int c1, int r1)
{
    if (c0 < 0 || r0 < 0 || c1 < 0 || r1 < 0 || c1 < c0 || r1 < r0 || stride <= 0 || c1 >= stride) return;
    if (static_cast<std::size_t>(r1) * stride + c1 >= grid.size()) return;
    if ((!xPoints.empty() && static_cast<std::size_t>(c1) >= xPoints.size()) ||
        (!yPoints.empty() && static_cast<std::size_t>(r1) >= yPoints.size()))
        return;
    auto at = [&](int c, int r) -> std::int32_t& { return grid[static_cast<std::size_t>(r) * stride + c]; };
    const double A = at(c0, r0), B = at(c1, r0), C = at(c0, r1), D = at(c1, r1);
    auto weight = [](std::span<const std::int32_t> pts, int i, int i0, int i1) {
        const double num = pts.empty() ? double(i - i0) : double(pts[i]) - pts[i0];
        const double den = pts.empty() ? double(i1 - i0) : double(pts[i1]) - pts[i0];
        return den == 0 ? 0.5 : num / den;
    };
    for (int r = r0; r <= r1; ++r) {
        const double h = weight(yPoints, r, r0, r1);
        for (int c = c0; c <= c1; ++c) {
            if ((c == c0 || c == c1) && (r == r0 || r == r1)) continue;
            const double g = weight(xPoints, c, c0, c1);
            at(c, r) = roundHalfAway(g * (h * D + (1 - h) * B) + (1 - g) * (h * C + (1 - h) * A));
        }
    }
}
