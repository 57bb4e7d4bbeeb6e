#pragma once
// The map editor's own controls, drawn into its back buffer: the side-bar button (`CTabButton`) and the table's
// scroll bar (`CTabScrollBar`).
#include <string>
#include <string_view>

#include "vcl/graphics.h"

// Button style bits.
inline constexpr int kButtonToggle = 1;
inline constexpr int kButtonDrawnDisabled = 2;
// Button state: 0 disabled; bit 0 enabled in every view; bits 4 to 6 the one view it belongs to; bit 7 inactive.
inline constexpr int kButtonEnabled = 0x1;
inline constexpr int kButtonTableOnly = 0x10;
inline constexpr int kButtonInactive = 0x80;

class CTabButton final
{
public:
    int style = 0;
    int state = 0;
    TRect rect{};  // edges included
    bool down = false;
    bool hot = false;
    bool checked = false;
    const TBitmap* picture = nullptr;
    const TBitmap* checkedPicture = nullptr;
    const TBitmap* downPicture = nullptr;  // drawn without the shift of a pressed picture
    const TBitmap* disabledPicture = nullptr;
    TColor face = clBtnFace;
    std::string caption;    // "+" and "-" are drawn as symbols
    std::string_view hint;  // trilingual, picked when shown

    [[nodiscard]] bool Active() const { return state != 0 && !(state & kButtonInactive); }
    [[nodiscard]] bool Contains(int x, int y) const
    {
        return rect.left <= x && x <= rect.right && rect.top <= y && y <= rect.bottom;
    }
    void Paint(TCanvas& c) const;
};

// Scroll-bar parts.
inline constexpr int kBarFirstArrow = 1;
inline constexpr int kBarSecondArrow = 2;
inline constexpr int kBarThumb = 4;
inline constexpr int kBarTrackBefore = 8;
inline constexpr int kBarTrackAfter = 0x10;

class CTabScrollBar final
{
public:
    bool horizontal = true;
    bool visible = false;
    TRect rect{};  // edges included
    int pressed = 0;
    int hover = 0;
    bool thumbDrag = false;
    TColor face = clBtnFace;
    int total = 0;
    int page = 0;
    int position = 0;
    int mouseX = 0, mouseY = 0;  // set by the caller before HitTest and Press
    int grabX = 0, grabY = 0, grabPosition = 0;
    int pressTick = 0;
    int tickCounter = 0;

    [[nodiscard]] int Thickness() const;
    [[nodiscard]] int TrackLength() const;  // between the arrows
    [[nodiscard]] int ThumbLength() const;
    [[nodiscard]] int ThumbOffset() const;
    void Paint(TCanvas& c);
    // 0 nothing to do, 1 repaint, 2 position changed.
    int HitTest();
    // 0 nothing under the mouse, 5 pressed without moving, 6 position changed.
    int Press();
    // 5 a press or thumb drag ended, 4 nothing pressed but a part hovered, 0 otherwise.
    int Release();
    // Once per editor tick: 0, 1 repaint (the press ended) or 2 position changed.
    int RepeatTick();

private:
    [[nodiscard]] int maxPosition() const;
    int step(int part);
};
