#pragma once
// Number texts of raw values, axis label texts, the rounding of typed or pasted numbers to raw values, and
// bilinear interpolation. Locale-free: the decimal point is '.', Czech commas are applied by the clipboard writer.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// Decimals shown for a scale: 0 from 1 up, else enough to tell neighbouring raw values apart (0.1 -> 1,
// 0.05 -> 2, 0.001 -> 3). A zero or non-finite scale shows no decimals.
[[nodiscard]] int scaleDecimals(double scale);

// raw * scale with the scale's decimals, digits grouped in threes by spaces ("12 345.6", "-123 456"), trailing
// zeros and point stripped; " unit" appended when withUnit and the unit is not empty.
[[nodiscard]] std::string NumberText(std::int32_t raw, double scale, std::string_view unit = {}, bool withUnit = false);

// A graph label for the value at the label step ("2.50m", "15", "3k", ...).
[[nodiscard]] std::string AxisLabelText(double step, double value);

// A shown value back to raw: value / scale rounded half away from zero. Nothing for a zero or non-finite scale or
// a result outside the 32-bit range.
[[nodiscard]] std::optional<std::int32_t> roundToRaw(double value, double scale);

// Round half away from zero to an integer, saturating at the 32-bit range.
[[nodiscard]] std::int32_t roundHalfAway(double r);

// z00 at (x0, y0), z01 at (x0, y1), z10 at (x1, y0), z11 at (x1, y1); points outside the cell take the nearest
// edge; a zero span weighs both sides half.
[[nodiscard]] std::int32_t InterpolateBilinear(double x, double y, double x0, double y0, double x1, double y1,
                                               double z00, double z01, double z10, double z11);

// Fills the cells c0..c1 x r0..r1 of grid (index row * stride + column) from its four corners, weighted by the
// points when given, else by index. Corners keep their values. Nothing when the rectangle is negative, reversed
// or does not fit in the grid or the points.
void InterpolateRect(std::span<std::int32_t> grid, int stride, std::span<const std::int32_t> xPoints,
                     std::span<const std::int32_t> yPoints, int c0, int r0, int c1, int r1);
