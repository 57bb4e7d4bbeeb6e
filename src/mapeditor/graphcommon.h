#pragma once
// What the graph views share: pixel positions from scaled values, and the walk over grid and label steps.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "mapeditor/sel.h"
#include "os/lngtext.h"
#include "vcl/graphics.h"

// A pixel position from a computed one: truncated toward zero, kept within a range no drawing call chokes on.
[[nodiscard]] inline int TruncPixel(double v)
{
    if (!std::isfinite(v)) return 0;
    return static_cast<int>(std::clamp(std::trunc(v), -100000.0, 100000.0));
}

// A raw value from a computed one, saturated at the 32-bit range (never undefined, whatever was dragged).
[[nodiscard]] inline std::int32_t SaturatedRaw(double v)
{
    if (std::isnan(v)) return 0;
    return static_cast<std::int32_t>(std::clamp(v, -2147483647.0, 2147483647.0));
}

// A pointer coordinate held strictly inside from..to: where a rubber band's corner may go in a plot.
[[nodiscard]] inline int InsidePlot(int v, int from, int to)
{
    return std::clamp(v, from + 1, std::max(from + 1, to - 1));
}

// The rubber band of a graph view: a red frame from where the drag began to where the pointer is.
inline void DrawRubberBand(TCanvas& c, const TSel& sel)
{
    c.Pen.Color = 0x0000FF;
    c.Pen.Width = 1;
    c.Brush.Style = bsClear;
    c.Rectangle(std::min(sel.anchorX, sel.currentX), std::min(sel.anchorY, sel.currentY),
                std::max(sel.anchorX, sel.currentX) + 1, std::max(sel.anchorY, sel.currentY) + 1);
}

// A scale of zero (or worse) is taken as 1, so that no view divides by it.
[[nodiscard]] inline double SafeScale(double scale)
{
    return std::isfinite(scale) && scale != 0 ? scale : 1.0;
}

// Pixels per raw unit over a span; a span of zero counts as one unit, and a plot without room gets no scale.
[[nodiscard]] inline double PixelsPerUnit(double pixels, double span)
{
    if (!(pixels > 0) || !std::isfinite(span)) return 0;
    return pixels / (span > 0 ? span : 1.0);
}

// Calls fn(v) for v = low, low + step, ... while v <= high (raw units), the step widened so that two calls lie at
// least minPixels apart: a step table made for another range, or a plot of a few pixels, never makes thousands of
// lines or a loop without end.
template <typename Fn>
void ForEachStep(double low, double high, double step, double pixelsPerUnit, double minPixels, Fn fn)
{
    if (!std::isfinite(low) || !std::isfinite(high) || !(step > 0) || !std::isfinite(step) || !(pixelsPerUnit > 0))
        return;
    // Widened in the steps 1, 2, 5, 10, 20, 50, ... of the given step, so that labels stay round numbers.
    const double base = step;
    for (int k = 1; step * pixelsPerUnit < minPixels && k < 60; ++k)
        step = base * (k % 3 == 0 ? 1.0 : k % 3 == 1 ? 2.0 : 5.0) * std::pow(10.0, k / 3);
    if (step * pixelsPerUnit < minPixels) return;
    const double count = std::floor((high - low) / step + 1e-9);
    if (!(count >= 0) || count > 10000) return;
    for (int i = 0; i <= static_cast<int>(count); ++i) fn(low + i * step);
}

// "Dragging: " in the current language, before the status text while a point or line is dragged. The picker drops
// the trailing blank of all but the last language's text; the prefix keeps it apart from the label all the same.
[[nodiscard]] inline std::string DraggingPrefix()
{
    std::string prefix(GetLngText("###Dragging: ##Ziehen: ##Tažení: "));
    if (!prefix.empty() && prefix.back() != ' ') prefix += ' ';
    return prefix;
}
