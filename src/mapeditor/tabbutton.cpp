#include "mapeditor/tabbutton.h"

#include <algorithm>

#include "mapeditor/drawing.h"

namespace {

constexpr TColor kShadow = 0x808080;
constexpr TColor kLight = 0xFFFFFF;

// Percent of a length, rounded half up.
int percentOf(int length, int percent)
{
    return (length * percent + 50) / 100;
}

}  // namespace

void CTabButton::Paint(TCanvas& c) const
{
    const bool enabled = state != 0;
    if (!enabled && !(style & kButtonDrawnDisabled)) return;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    DrawBevel2(c, rect.left, rect.top, w, h, down, face, kShadow, kLight);
    if (picture) {
        const TBitmap* shown = picture;
        bool shifted = down;
        if (checked && checkedPicture) shown = checkedPicture;
        if (down) {
            if (downPicture) {
                shown = downPicture;
                shifted = false;
            } else if (checkedPicture) {
                shown = checkedPicture;
            }
        }
        if (!enabled) shown = disabledPicture ? disabledPicture : picture;
        c.Draw(rect.left + 1 + (shifted ? 1 : 0), rect.top + 1 + (shifted ? 1 : 0), *shown);
        return;
    }
    if (caption == "+" || caption == "-") {
        c.Pen.Style = psSolid;
        c.Pen.Width = std::min(w, h) / 10 + 1;
        c.Pen.Color = !enabled ? kShadow : down ? clWhite : (state & kButtonInactive) ? 0xC0C0C0 : clBlack;
        const int midY = rect.top + percentOf(h, 50), midX = rect.left + percentOf(w, 50);
        c.MoveTo(rect.left + percentOf(w, 80), midY);
        c.LineTo(rect.left + percentOf(w, 20), midY);
        if (caption == "+") {
            c.MoveTo(midX, rect.top + percentOf(h, 20));
            c.LineTo(midX, rect.top + percentOf(h, 80));
        }
        c.Pen.Width = 1;
        return;
    }
    if (caption.empty()) return;
    const int shift = down ? 1 : 0;
    c.Brush.Style = bsClear;
    const TColor old = c.Font.Color;
    c.Font.Color = enabled ? clBlack : kShadow;
    c.TextOut((rect.left + rect.right - c.TextWidth(caption)) / 2 + shift,
              (rect.top + rect.bottom - c.TextHeight(caption)) / 2 + shift, caption);
    c.Font.Color = old;
    c.Brush.Style = bsSolid;
}

// ---------------------------------------------------------------- CTabScrollBar

int CTabScrollBar::Thickness() const
{
    return horizontal ? rect.bottom - rect.top : rect.right - rect.left;
}

int CTabScrollBar::TrackLength() const
{
    const int length = horizontal ? rect.right - rect.left : rect.bottom - rect.top;
    return std::max(0, length - 2 * Thickness());
}

int CTabScrollBar::ThumbLength() const
{
    const int L = TrackLength();
    return total > 0 ? std::max(10, static_cast<int>(static_cast<long long>(L) * page / total)) : 10;
}

int CTabScrollBar::ThumbOffset() const
{
    const int L = TrackLength(), f = ThumbLength();
    if (total <= page) return 0;
    const long long g = static_cast<long long>(L - f) * position / (total - page);
    return static_cast<int>(std::clamp<long long>(g, 0, std::max(0, L - f)));
}

int CTabScrollBar::maxPosition() const
{
    return std::max(0, total - page);
}

void CTabScrollBar::Paint(TCanvas& c)
{
    if (total == 0 || !visible || page >= total) return;
    position = std::min(position, maxPosition());
    const int b = Thickness(), L = TrackLength(), f = ThumbLength(), g = ThumbOffset();
    const int x = rect.left, y = rect.top;
    // Track between the arrows, then the pressed part of it, the arrows and the thumb.
    if (horizontal)
        FillHatched(c, x + b, y, L, b);
    else
        FillHatched(c, x, y + b, b, L);
    auto along = [&](int from, int length) {
        if (length <= 0) return;
        if (horizontal)
            FillBox(c, x + b + from, y, length, b, clBlack);
        else
            FillBox(c, x, y + b + from, b, length, clBlack);
    };
    if (pressed & kBarTrackBefore) along(0, g);
    if (pressed & kBarTrackAfter) along(g + f, L - g - f);
    for (int arrow = 0; arrow < 2; ++arrow) {
        const bool isPressed = pressed & (arrow == 0 ? kBarFirstArrow : kBarSecondArrow);
        const int ax = horizontal ? (arrow == 0 ? x : x + b + L) : x;
        const int ay = horizontal ? y : (arrow == 0 ? y : y + b + L);
        DrawBevel(c, ax, ay, b - 1, b - 1, isPressed, face, kShadow, kLight);
        // b/2 strokes across the bar, from the point outward, one pixel longer on each side every second
        // stroke; the first arrow points to the bar's start, the second to its end.
        const int shift = isPressed ? 1 : 0;
        const int n = b / 2, mid = (b - 1) / 2, first = (b - n) / 2;
        for (int k = 0; k < n; ++k) {
            const int half = k / 2;
            const int pos = arrow == 0 ? first + k : b - 1 - first - k;
            if (horizontal)
                FillBox(c, ax + pos + shift, ay + mid - half + shift, 1, 2 * half + 1, clBlack);
            else
                FillBox(c, ax + mid - half + shift, ay + pos + shift, 2 * half + 1, 1, clBlack);
        }
    }
    if (horizontal)
        DrawBevel(c, x + b + g, y, f - 1, b - 1, false, face, kShadow, kLight);
    else
        DrawBevel(c, x, y + b + g, b - 1, f - 1, false, face, kShadow, kLight);
}

int CTabScrollBar::HitTest()
{
    const int L = TrackLength();
    if (thumbDrag) {
        const int delta = horizontal ? mouseX - grabX : mouseY - grabY;
        const int to =
            L > 0 ? static_cast<int>(static_cast<long long>(total) * delta / L) + grabPosition : grabPosition;
        const int clamped = std::clamp(to, 0, maxPosition());
        if (clamped == position) return 0;
        position = clamped;
        return 2;
    }
    const int old = hover;
    hover = 0;
    const bool inside =
        visible && rect.left <= mouseX && mouseX <= rect.right && rect.top <= mouseY && mouseY <= rect.bottom;
    if (inside) {
        const int b = Thickness(), f = ThumbLength(), g = ThumbOffset();
        const int d = horizontal ? mouseX - (rect.left + b) : mouseY - (rect.top + b);
        if (d < 0)
            hover = kBarFirstArrow;
        else if (d >= L)
            hover = kBarSecondArrow;
        else if (d < g)
            hover = kBarTrackBefore;
        else if (d >= g + f)
            hover = kBarTrackAfter;
        else
            hover = kBarThumb;
        return hover != old ? 1 : 0;
    }
    if (pressed) {
        pressed = 0;
        return 1;
    }
    return hover != old ? 1 : 0;
}

int CTabScrollBar::step(int part)
{
    const int pageStep = page < 2 ? 1 : page - 1;
    const int old = position;
    switch (part) {
        case kBarFirstArrow:
            position -= 1;
            break;
        case kBarSecondArrow:
            position += 1;
            break;
        case kBarTrackBefore:
            position -= pageStep;
            break;
        case kBarTrackAfter:
            position += pageStep;
            break;
        default:
            break;
    }
    position = std::clamp(position, 0, maxPosition());
    return position != old ? 6 : 5;
}

int CTabScrollBar::Press()
{
    if (hover == 0) return 0;
    pressed = hover;
    pressTick = tickCounter;
    if (pressed == kBarThumb) {
        thumbDrag = true;
        grabX = mouseX;
        grabY = mouseY;
        grabPosition = position;
        return 5;
    }
    return step(pressed);
}

int CTabScrollBar::Release()
{
    if (thumbDrag || pressed) {
        thumbDrag = false;
        pressed = 0;
        return 5;
    }
    return hover ? 4 : 0;
}

int CTabScrollBar::RepeatTick()
{
    ++tickCounter;
    if (pressed == 0 || pressed == kBarThumb || tickCounter - pressTick < 3) return 0;
    if (pressed & (kBarTrackBefore | kBarTrackAfter)) {
        const int part = pressed;
        HitTest();
        if (hover != part) {
            // The thumb has reached the pointer (or the pointer left the track part).
            pressed = 0;
            return 1;
        }
    }
    return step(pressed) == 6 ? 2 : 0;
}
