#include "monitors/indicator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace {

int toInt(double v)
{
    return static_cast<int>(v);
}

}  // namespace

double TickBudget(int length)
{
    double t = length / 5.0;
    if (t > 10) t = (t - 10) * 0.5 + 10;
    return std::min(t, 20.0);
}

double TickUnit(double range, double budget)
{
    // A reversed range (from an unrepaired image) or a scale too short for one tick would never end the search.
    if (!(range > 0) || !(budget > 0) || !std::isfinite(range)) return 0;
    double r = range, u = 1;
    for (int i = 0; i < 400 && 0.1 * budget > r; ++i) {
        r *= 10;
        u *= 10;
    }
    for (int i = 0; i < 400 && r > budget; ++i) {
        r *= 0.1;
        u *= 0.1;
    }
    if (r > 0.5 * budget) u *= 0.5;
    return u;
}

std::vector<DialTick> DialTicks(double min, double max, int width, int height, double budget)
{
    std::vector<DialTick> ticks;
    const double u = TickUnit(max - min, budget);
    if (u <= 0) return ticks;
    const int size = std::min(toInt(width * 0.04), toInt(height / 15.0));
    for (int i = 0; i < budget; ++i) {
        const double label = (min * u + i) / u;
        const double value = std::floor(min * u + i + 0.5) / u;
        if (value > max) break;
        int f = size;
        bool labelled = f > 6;
        if (f > 2 && f <= 6) {
            // Small dials label only the first, the middle and the last tick, at a readable size.
            const double middle = (min + max) / 2;
            const bool last = max * u < label * u + 0.5;
            const bool centre = middle > label - 0.5 / u && middle < label + 0.5 / u;
            labelled = i == 0 || last || centre;
            f = 8;
        }
        ticks.push_back({value, label, labelled, f});
    }
    return ticks;
}

CMyIndicator::CMyIndicator()
{
    minw = 10;
    minh = 4;
    ColorMk = clRed;
    kind = kKindIndicator;
}

void CMyIndicator::Paint()
{
    if (!canvas) return;
    const CLngStr& r = *s;
    // A range of no width (or a reversed one) shows nothing at all, not even the selection marks.
    if (!(r.max > r.min)) return;
    TColor face = clWhite;
    if (r.flags & kMonFlagWarning) face = clYellow;
    if (r.flags & kMonFlagLimiter) face = clFuchsia;
    if (r.flags & kMonFlagAlarm) face = clRed;
    TCanvas& c = *canvas;
    const int savedSize = c.Font.Size;
    const double v = MonitorValuesArrived() ? std::clamp(r.value, r.min, r.max) : r.min;
    const int length = Style == kStyleHorizontal ? Width - 2
                       : Style == kStyleVertical ? Height - 2
                                                 : 4 * ((Width + Height) / 2);
    const double budget = TickBudget(toInt(length * scale));
    if (Style == kStyleDial)
        PaintDial(v, face, budget);
    else
        PaintBar(v, face);
    c.Pen.Style = psSolid;
    c.Pen.Width = 1;
    c.Brush.Style = bsSolid;
    c.Brush.Color = clWhite;
    c.Font.Size = savedSize;
    c.Font.Color = clBlack;
    CMyObj::Paint();
}

void CMyIndicator::PaintBar(double v, TColor face)
{
    const CLngStr& r = *s;
    TCanvas& c = *canvas;
    const bool arrived = MonitorValuesArrived();
    c.Pen.Style = psSolid;
    c.Pen.Width = 1;
    c.Brush.Style = bsSolid;
    c.Pen.Color = r.flags == 0 ? clSilver : clBlack;
    c.Brush.Color = face;
    const int left = Scaled(Left), top = Scaled(Top), right = Scaled(Left + Width), bottom = Scaled(Top + Height);
    if (r.displayKind == kMonShowNumber || !arrived) c.Rectangle(left, top, right, bottom);
    const TColor marker = r.flags == 0 ? BlendColor(TextColor, clWhite) : ColorMk;
    const double part = (v - r.min) / (r.max - r.min);
    if (Style == kStyleHorizontal) {
        const int p = arrived ? toInt(part * (Width * scale - 2)) : 2;
        if (face == clWhite) {
            c.Pen.Color = marker;
            c.Brush.Color = marker;
            c.Rectangle(left + 1, top + 1, left + 1 + p, bottom - 1);
        } else {
            c.Pen.Color = clBlack;
            c.MoveTo(left + 1 + p, top + 1);
            c.LineTo(left + 1 + p, bottom - 1);
        }
        return;
    }
    const int p = arrived ? toInt(part * (Height * scale - 2)) : 2;
    if (face == clWhite) {
        c.Pen.Color = marker;
        c.Brush.Color = marker;
        c.Rectangle(left + 1, bottom - 1 - p, right - 1, bottom - 1);
    } else {
        c.Pen.Color = clBlack;
        c.MoveTo(left + 1, bottom - 1 - p);
        c.LineTo(right - 1, bottom - 1 - p);
    }
}

void CMyIndicator::PaintDial(double v, TColor face, double budget)
{
    const CLngStr& r = *s;
    TCanvas& c = *canvas;
    const double ws = Width * scale, hs = Height * scale;
    int n = toInt(hs);
    if (n > ws) n = toInt(ws);
    const int cx = toInt((Left + Width / 2) * scale), cy = toInt((Top + Height / 2) * scale);
    const int w1 = n / 50;
    const int rx = (toInt(ws) - w1) / 2, ry = (toInt(hs) - w1) / 2;
    // A dial scaled down to nothing has no face to draw on.
    if (rx <= 0 || ry <= 0) return;
    const TColor outline = r.flags == 0 ? clSilver : clBlack;
    c.Pen.Style = psSolid;
    c.Pen.Color = outline;
    c.Pen.Width = w1;
    c.Font.Color = outline;
    c.Brush.Style = bsSolid;
    c.Brush.Color = face;
    c.Ellipse(cx - rx, cy - ry, cx + rx, cy + ry);

    // The vertical squeeze of the face, as a fraction: dials are seldom exactly round.
    const double k = static_cast<double>(ry) / rx;
    const double r0 = rx, ri = std::min(0.9 * r0, r0 - 3);
    const auto angle = [&](double x) {
        return 5 * std::numbers::pi / 4 - (x - r.min) / (r.max - r.min) * 3 * std::numbers::pi / 2;
    };
    const auto point = [&](double a, double radius) {
        return TPoint{cx + toInt(std::cos(a) * radius), cy - toInt(std::sin(a) * radius * k)};
    };
    c.Brush.Style = bsClear;
    const double u = TickUnit(r.max - r.min, budget);
    for (const DialTick& tick : DialTicks(r.min, r.max, toInt(ws), toInt(hs), budget)) {
        const double a = angle(tick.value);
        const TPoint outer = point(a, r0), inner = point(a, ri);
        c.Pen.Color = outline;
        c.Pen.Width = w1;
        c.MoveTo(outer.x, outer.y);
        c.LineTo(inner.x, inner.y);
        if (!tick.labelled) continue;
        char text[32];
        std::snprintf(text, sizeof text, u > 10 ? "%.2lf" : u > 1 ? "%.1lf" : "%.0lf", tick.label);
        c.Font.Size = tick.fontSize;
        const int tw = c.TextWidth(text), th = c.TextHeight(text);
        double dx = 0, dy = 0;
        const double tau = std::tan(a);
        if (std::fabs(tau) < 0.01) {
            dx = -std::cos(a) * (tw / 2 + 2);
            dy = -std::sin(a) * (tw / 2 + 2);
        } else if (std::fabs(tau) > 100) {
            dx = -std::cos(a) * (th / 2 + 2);
            dy = -std::sin(a) * (th / 2 + 2);
        } else {
            dx = tw / 2 + 4;
            if (std::cos(a) > 0) dx = -dx;
            dy = tau * dx;
            double e = th / 2 + 1;
            if (std::sin(a) > 0) e = -e;
            const double g = e / tau;
            if (std::fabs(g) < std::fabs(dx) || std::fabs(e) < std::fabs(dy)) {
                dx = g;
                dy = e;
            }
        }
        c.TextOut(toInt(inner.x + dx - tw / 2), toInt(inner.y - dy - th / 2), text);
    }

    c.Brush.Style = bsSolid;
    TColor needle = r.flags == 0 ? BlendColor(TextColor, clWhite) : ColorMk;
    if (face != clWhite) needle = clBlack;
    const int w2 = n / 12;
    const double rn = std::min(0.85 * r0, r0 - 3), rm = rn / 2;
    const double a = angle(v);
    const TPoint tail = point(a, -2.0 * w2), middle = point(a, rm), tip = point(a, rn);
    c.Pen.Color = needle;
    c.Pen.Width = w2;
    c.MoveTo(tail.x, tail.y);
    c.LineTo(middle.x, middle.y);
    c.Pen.Width = w2 / 2;
    c.LineTo(tip.x, tip.y);
    c.Pen.Width = 1;
    c.Pen.Color = face;
    c.Brush.Color = face;
    c.Ellipse(tail.x - w2, tail.y - w2, tail.x + w2, tail.y + w2);
    c.Pen.Color = outline;
    c.Brush.Color = outline;
    c.Ellipse(cx - w2 / 3, cy - w2 / 3, cx + w2 / 3, cy + w2 / 3);
}
