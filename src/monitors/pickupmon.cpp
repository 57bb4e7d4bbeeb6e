#include "monitors/pickupmon.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <tuple>

namespace {

// Rows of the picture (pixels from the top).
constexpr int kArrowTop = 10;
constexpr int kArrowBottom = 100;
constexpr int kInput1High = 200;
constexpr int kInput1Low = 250;
constexpr int kInput2High = 300;
constexpr int kInput2Low = 350;
constexpr int kFrameBottomGap = 80;
constexpr int kGridTop = 180;
constexpr int kGridBottom = 370;
constexpr int kLabelPitch = 15;

constexpr TColor kFrameGray = 0x808080;

// The legend beside the choosers, in chooser order.
constexpr std::array<const char*, kPickupColorCount> kLegend{
    "Curve 1", "1 RISE", "1 FALL", "Curve 2", "2 RISE", "2 FALL", "Ignition", "grid", "dimensions"};

// Default colours as chooser indexes: white, red, blue, yellow, purple, fuchsia, white, gray, aqua.
constexpr std::array<int, kPickupColorCount> kDefaultColors{15, 9, 12, 11, 5, 13, 15, 7, 14};

std::string format(const char* pattern, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

std::string format(const char* pattern, int n, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, pattern, n, value);
    return text;
}

bool isClosing(const PickupPoint& p)
{
    return (p.flags & kPointClosing) != 0;
}

// The input levels of a point (bits 2-3); a closing point carries none.
std::uint32_t levels(const PickupPoint& p)
{
    return isClosing(p) ? 0 : p.flags & (kPointInput1 | kPointInput2);
}

void line(TCanvas& c, int x0, int y0, int x1, int y1)
{
    c.MoveTo(x0, y0);
    c.LineTo(x1, y1);
}

}  // namespace

std::string PickupDimensionText(const PickupDimension& d, bool angleMode)
{
    const bool negative = (d.flagsB & kPointClosing) && !(d.flagsA & kPointClosing);
    const double length = d.positionB - d.positionA;
    return angleMode ? format(negative ? "-%.1lf" : "%.1lf ", length)
                     : format(negative ? "-%.1lfms" : "%.1lfms", length);
}

CMonPickup::CMonPickup() = default;

CMonPickup::~CMonPickup() = default;

void CMonPickup::OpenWindow()
{
    window = std::make_unique<TFormMon>("PickUp monitor");
    window->Create(window.get());
    window->SetWidth(800);
    window->SetHeight(600);
    window->originPercent = 8;
    window->sideMargin = 20;
    window->bottomOffset = -35;
    window->onClearDimensions = [this] {
        ClearDimensions();
        Redraw();
    };
    ShowKeepingPlace(*window, true);
    for (int i = 0; i < kPickupColorCount; ++i)
        window->colors[static_cast<std::size_t>(i)] = ChooserIndexToColor(kDefaultColors[static_cast<std::size_t>(i)]);
    window->displayMode = kPickupModeAngle;
    window->WriteColorChoosers();
    // The focus starts on a button: a chooser holding it would keep the wheel from zooming.
    window->ButtonPause->SetFocus();
}

void CMonPickup::Toggle()
{
    if (!window) return;
    const bool show = !window->Visible();
    ShowKeepingPlace(*window, show);
    if (show) {
        window->paused = 0;
        window->ButtonPause->SetCaption("Pause");
    }
}

void CMonPickup::Poll()
{
    if (!window) return;
    if (window->displayMode != lastMode) {
        lastMode = window->displayMode;
        pointCount = 0;
        dimensionCount = 0;
    }
    // Each pointer action asks once; a picture that does not change is not painted again at every tick.
    if (window->repaintRequest) {
        window->repaintRequest = 0;
        redraw = 1;
    }
}

bool CMonPickup::IsVisible() const
{
    return window && window->Visible();
}

bool CMonPickup::WantsSamples() const
{
    return IsVisible() && !window->paused;
}

void CMonPickup::ClearDimensions()
{
    dimensionCount = 0;
}

void CMonPickup::Redraw()
{
    redraw = 0;
    if (!IsVisible()) return;
    TCanvas* canvas = window->PrepareCanvas();
    if (!canvas) return;
    PaintCurves(*canvas);
    window->ShowBuffer();
}

int CMonPickup::pixelOf(double position) const
{
    // Damaged data or a deep zoom must not overflow the pixel type.
    const double x = std::clamp(m_origin + position * m_scale, -1.0e8, 1.0e8);
    return static_cast<int>(std::trunc(x));
}

void CMonPickup::PaintCurves(TCanvas& c)
{
    if (pointCount <= 0 || !window || xMax <= xMin) return;
    TFormMon& w = *window;
    const int W = w.bufferWidth, H = w.bufferHeight, M = w.sideMargin;
    m_scale = W / (xMax - xMin) * w.zoom;
    m_origin = w.origin;
    const bool angleMode = w.displayMode != kPickupModeTime;
    const auto inside = [&](int x) { return x >= M && x <= W - M; };
    const auto& color = w.colors;
    const std::span<const PickupPoint> pts(points.data(), static_cast<std::size_t>(pointCount));

    // 1. One reference period.
    c.Pen.Color = kFrameGray;
    c.Pen.Width = 1;
    c.Brush.Style = bsClear;
    c.Rectangle(m_origin, 0, pixelOf(span), H - kFrameBottomGap);

    // 2. Ignition outputs: an arrow with the angle (or time) of each output that fires.
    c.Pen.Color = color[kColorIgnition];
    c.Font.Color = color[kColorIgnition];
    for (const PickupPoint& p : pts) {
        if (!(p.flags & kPointIgnitions)) continue;
        const int x = pixelOf(p.position);
        if (!inside(x)) continue;
        c.Pen.Width = 3;
        line(c, x, kArrowTop, x, kArrowBottom);
        line(c, x, kArrowBottom, x - 8, kArrowBottom - 16);
        line(c, x, kArrowBottom, x + 8, kArrowBottom - 16);
        c.Brush.Style = bsClear;
        c.Pen.Width = 1;
        for (int n = 1; n <= 4; ++n) {
            if (!(p.flags & (1u << (3 + n)))) continue;
            if (angleMode) {
                const std::string text = format("CH%i=%.1lf", n, p.position);
                const int y = kArrowTop + kLabelPitch * (n - 1);
                c.TextOut(x + 10, y, text);
                const int cx = x + c.TextWidth(text) + 12;
                c.Ellipse(cx, y + 2, cx + 4, y + 6);
            } else {
                c.TextOut(x + 10, kArrowTop, format("%.1lfms", p.position));
            }
        }
    }

    // The pairs of neighbouring sample points; the closing points only mark the period.
    std::size_t pairs = 0;
    while (pairs + 1 < pts.size() && !isClosing(pts[pairs + 1])) ++pairs;

    // 3. The two inputs as logic curves, cut at the margins.
    c.Pen.Width = 2;
    for (std::size_t i = 0; i < pairs; ++i) {
        const int x1 = std::clamp(pixelOf(pts[i].position), M, W - M);
        const int x2 = std::clamp(pixelOf(pts[i + 1].position), M, W - M);
        if (x1 == x2) continue;
        const int y1 = pts[i].flags & kPointInput1 ? kInput1High : kInput1Low;
        const int y2 = pts[i].flags & kPointInput2 ? kInput2High : kInput2Low;
        c.Pen.Color = color[kColorCurve1];
        line(c, x1, y1, x2, y1);
        c.Pen.Color = color[kColorCurve2];
        line(c, x1, y2, x2, y2);
    }

    // 4. Grid lines at every change of an input and after every firing.
    c.Pen.Width = 1;
    c.Pen.Color = color[kColorGrid];
    for (std::size_t i = 0; i < pairs; ++i) {
        const int x = pixelOf(pts[i + 1].position);
        if (!inside(x)) continue;
        if (levels(pts[i]) != levels(pts[i + 1])) line(c, x, kGridTop, x, kGridBottom);
        if (pts[i].flags & kPointIgnitions) line(c, x, kArrowBottom, x, kGridBottom);
    }

    // 5. Rising and falling edges.
    c.Pen.Width = 5;
    for (std::size_t i = 0; i < pairs; ++i) {
        const int x = pixelOf(pts[i + 1].position);
        if (!inside(x)) continue;
        const std::uint32_t before = pts[i].flags, after = pts[i + 1].flags;
        if ((before ^ after) & kPointInput1) {
            c.Pen.Color = color[after & kPointInput1 ? kColorRise1 : kColorFall1];
            line(c, x, kInput1High, x, kInput1Low);
        }
        if ((before ^ after) & kPointInput2) {
            c.Pen.Color = color[after & kPointInput2 ? kColorRise2 : kColorFall2];
            line(c, x, kInput2High, x, kInput2Low);
        }
    }

    // 6.-7. A dimension being measured, and the stored ones.
    int shown = dimensionCount;
    if (w.buttonsLatched & kMonLeft) measure(c, shown);
    paintDimensions(c, shown);

    // 8. The speed.
    c.Pen.Color = color[kColorGrid];
    c.Font.Color = clWhite;
    c.Brush.Style = bsSolid;
    c.Brush.Color = w.displayMode == kPickupModeAngle ? clBlack : clRed;
    c.TextOut(1, 1, format(w.displayMode == kPickupModeAngle ? "RPM=%.1lf (synchro)" : "RPM=%.1lf (no synchro)", rpm));

    // 9. The legend beside the choosers.
    c.Pen.Color = clWhite;
    c.Font.Color = clWhite;
    c.Brush.Style = bsClear;
    for (int i = 0; i < kPickupColorCount; ++i) {
        const TComboBox* box = w.colorChoosers[static_cast<std::size_t>(i)];
        c.TextOut(box->Left() + box->Width() + 10, box->Top() + 3, kLegend[static_cast<std::size_t>(i)]);
    }
}

void CMonPickup::measure(TCanvas&, int& shown)
{
    TFormMon& w = *window;
    const std::span<const PickupPoint> pts(points.data(), static_cast<std::size_t>(pointCount));
    // Which marks the press snaps to follows the row it was made on.
    bool input2Changes = false;
    for (std::size_t i = 1; i < pts.size(); ++i)
        if ((levels(pts[i]) ^ levels(pts[i - 1])) & kPointInput2) input2Changes = true;
    std::uint32_t pressClass = 0x300;
    if (w.pressY < kInput1High * 8 / 10)
        pressClass = 0x3F0;
    else if (w.pressY < kInput1Low)
        pressClass = kPointInput1;
    else if (w.pressY < kInput2High)
        pressClass = kPointInput1 | kPointInput2;
    else if (w.pressY < kInput2Low * 12 / 10)
        pressClass = input2Changes ? kPointInput1 | kPointInput2 : kPointInput2;

    const auto belongs = [&](std::size_t i, std::uint32_t cls) {
        const std::uint32_t previous = i > 0 ? levels(pts[i - 1]) : 0;
        return (pts[i].flags & cls & 0x3F0) != 0 || ((levels(pts[i]) ^ previous) & cls) != 0;
    };
    // The nearest mark of a class to a pixel column; ties go to the first.
    const auto nearest = [&](std::uint32_t cls, int x, auto&& allowed) {
        int best = -1, bestDistance = 0;
        for (std::size_t i = 0; i < pts.size(); ++i) {
            if (!belongs(i, cls) || !allowed(pts[i])) continue;
            const int d = std::abs(pixelOf(pts[i].position) - x);
            if (best < 0 || d < bestDistance) {
                best = static_cast<int>(i);
                bestDistance = d;
            }
        }
        return best;
    };
    const auto any = [](const PickupPoint&) { return true; };
    const int a = nearest(pressClass, w.pressX, any);
    if (a < 0) return;
    const PickupPoint pa = pts[static_cast<std::size_t>(a)];
    int b = nearest(kDimensionMarks, w.currentX, any);
    if (b >= 0 && pts[static_cast<std::size_t>(b)].position == pa.position) {
        const bool right = w.currentX > pixelOf(pa.position);
        b = nearest(kDimensionMarks, w.currentX, [&](const PickupPoint& p) {
            return right ? p.position > pa.position : p.position < pa.position;
        });
    }
    if (b >= 0) {
        PickupPoint pb = pts[static_cast<std::size_t>(b)];
        PickupPoint first = pa;
        if (pb.position < first.position) std::swap(first, pb);
        if (pixelOf(first.position) != pixelOf(pb.position)) {
            dimensions[static_cast<std::size_t>(dimensionCount)] = {first.position, pb.position, w.currentY,
                                                                    first.flags & kDimensionMarks,
                                                                    pb.flags & kDimensionMarks};
            if (w.buttonsDown & kMonRight) {
                w.buttonsLatched = 0;  // the right button abandons the measurement
                return;
            }
            shown = dimensionCount + 1;
        }
    }
    if (!(w.buttonsDown & kMonLeft)) {
        if (shown > dimensionCount) dimensionCount = std::min(shown, kMaxDimensions);
        shown = dimensionCount;
        w.buttonsLatched = 0;
    }
}

void CMonPickup::paintDimensions(TCanvas& c, int shown)
{
    TFormMon& w = *window;
    const bool angleMode = w.displayMode != kPickupModeTime;
    const std::span<const PickupPoint> pts(points.data(), static_cast<std::size_t>(pointCount));
    c.Pen.Width = 1;
    c.Pen.Color = w.colors[kColorDimensions];
    c.Font.Color = w.colors[kColorDimensions];
    c.Brush.Style = bsClear;
    // An end follows the data: to the nearest point with the same marks.
    const auto follow = [&](double& position, std::uint32_t flags) {
        int best = -1;
        double bestDistance = 0;
        for (std::size_t i = 0; i < pts.size(); ++i) {
            if ((pts[i].flags & kDimensionMarks) != flags) continue;
            const double d = std::trunc(std::abs(pts[i].position - position));
            if (best < 0 || d < bestDistance) {
                best = static_cast<int>(i);
                bestDistance = d;
            }
        }
        if (best >= 0) position = pts[static_cast<std::size_t>(best)].position;
    };
    for (int k = 0; k < shown; ++k) {
        PickupDimension& d = dimensions[static_cast<std::size_t>(k)];
        follow(d.positionA, d.flagsA);
        follow(d.positionB, d.flagsB);
        const int xa = pixelOf(d.positionA), xb = pixelOf(d.positionB), y = d.y;
        line(c, xa, y, xb, y);
        for (const auto& [x, flags, dir] : {std::tuple{xa, d.flagsA, 1}, std::tuple{xb, d.flagsB, -1}}) {
            const bool closing = (flags & kPointClosing) != 0;
            if (!(flags & 0x3F0) && y < kInput1High) line(c, x, y - 5, x, kInput1High);
            if (!closing && y > kInput2Low) line(c, x, y - 5, x, kInput2Low);
            if (closing) {
                line(c, x, y - 5, x, y + 5);
            } else {
                line(c, x + 10 * dir, y - 3, x, y);
                line(c, x + 10 * dir, y + 3, x, y);
            }
        }
        const std::string text = PickupDimensionText(d, angleMode);
        const int tw = c.TextWidth(text);
        const int left = (xa + xb - tw) / 2;
        c.TextOut(left, y - 20, text);
        if (angleMode) c.Ellipse(left + tw + 2, y - 18, left + tw + 6, y - 14);
        // The right button on a value deletes its dimension.
        if (k < dimensionCount && (w.buttonsDown & kMonRight) && w.currentX >= left && w.currentX < left + tw &&
            w.currentY >= y - 20 && w.currentY <= y) {
            std::copy(dimensions.begin() + k + 1, dimensions.begin() + dimensionCount, dimensions.begin() + k);
            --dimensionCount;
            --shown;
            --k;
        }
    }
}
