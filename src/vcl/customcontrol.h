#pragma once
// An owner-drawn control: the framework's custom control. Qt's events reach it as the old framework's window
// messages (focus, keys as virtual-key codes and characters, pointer, buttons, wheel, leave, size) through one
// entry, DefaultHandler; Paint draws it on its Canvas. Also here: key and button state, cursors, the cursor warp
// and the hint (tool tip) of an owner-drawn control.
#include <functional>
#include <memory>

#include "vcl/controls.h"
#include "vcl/graphics.h"

// Messages of DefaultHandler.
enum class TMsg {
    FocusIn,
    FocusOut,
    KeyDown,  // key = virtual-key code
    Char,     // key = character code (control characters 1..31 for Ctrl+letter, Backspace, Return, Escape)
    MouseMove,
    LButtonDown,
    LButtonUp,
    LButtonDblClk,
    RButtonDown,
    RButtonUp,
    MouseWheel,  // wheelDelta: +120 per notch away from the user
    MouseLeave,  // x and y are 0
    Size,        // the control got a new width and height
    MButtonDown,
    MButtonUp,
};

// Shift state bits (keys and buttons held during a message).
inline constexpr unsigned ssShift = 0x1;
inline constexpr unsigned ssAlt = 0x2;
inline constexpr unsigned ssCtrl = 0x4;
inline constexpr unsigned ssLeft = 0x8;
inline constexpr unsigned ssRight = 0x10;
inline constexpr unsigned ssMiddle = 0x20;

struct TMessage
{
    TMsg msg = TMsg::MouseMove;
    int key = 0;
    int x = 0, y = 0;  // client coordinates
    int wheelDelta = 0;
    unsigned shift = 0;
    // Set by the handler. Keys: non-zero when the control used the key; a used key-down is then not followed by
    // its character message and does not move the focus on (Tab).
    int result = 0;
};

// Virtual-key codes of the old framework.
inline constexpr int VK_BACK = 8;
inline constexpr int VK_TAB = 9;
inline constexpr int VK_RETURN = 13;
inline constexpr int VK_SHIFT = 16;
inline constexpr int VK_CONTROL = 17;
inline constexpr int VK_ESCAPE = 27;
inline constexpr int VK_SPACE = 32;
inline constexpr int VK_PRIOR = 33;
inline constexpr int VK_NEXT = 34;
inline constexpr int VK_END = 35;
inline constexpr int VK_HOME = 36;
inline constexpr int VK_LEFT = 37;
inline constexpr int VK_UP = 38;
inline constexpr int VK_RIGHT = 39;
inline constexpr int VK_DOWN = 40;
inline constexpr int VK_INSERT = 45;
inline constexpr int VK_DELETE = 46;
inline constexpr int VK_ADD = 107;
inline constexpr int VK_SUBTRACT = 109;
inline constexpr int VK_F1 = 112;

// Cursors.
enum TCursor {
    crDefault = 0,
    crArrow = -2,
    crCross = -3,
    crIBeam = -4,
    crSizeNESW = -6,
    crSizeNS = -7,
    crSizeNWSE = -8,
    crSizeWE = -9,
    crSizeAll = -22
};

namespace vcl {

// Keys and buttons held (ss bits) as the input events this program has taken so far report them, unless a test
// set its own source.
[[nodiscard]] unsigned KeyboardShiftState();
void SetKeyStateSource(std::function<unsigned()> source);

}  // namespace vcl

class QKeyEvent;
namespace vcl {
// The virtual-key code of a Qt key event (0 when it has none).
[[nodiscard]] int VirtualKeyOf(const QKeyEvent& event);
}  // namespace vcl

// Moves the mouse pointer to a screen position.
void SetCursorPos(int x, int y);

class ControlWidget;

class TCustomControl : public TControl
{
public:
    explicit TCustomControl(QWidget* parent);
    ~TCustomControl() override;
    [[nodiscard]] const char* ClassName() const override { return "TCustomControl"; }

    // Every message of the control, in arrival order.
    virtual void DefaultHandler(TMessage& message);
    // Draws the control on Canvas; called when the window system asks (after Invalidate).
    virtual void Paint() {}
    // The canvas of the control's window; draws only inside Paint.
    [[nodiscard]] TCanvas& Canvas() { return m_canvas; }
    // Asks for a Paint soon.
    void Invalidate();
    void Invalidate(const TRect& part);  // only this part needs painting again

    [[nodiscard]] TCursor Cursor() const { return m_cursor; }
    void SetCursor(TCursor cursor);             // shown at once while the pointer is over the control
    [[nodiscard]] TPoint ClientOrigin() const;  // screen position of the client's top-left corner
    [[nodiscard]] TPoint ClientToScreen(TPoint p) const;
    [[nodiscard]] bool CanFocus() const;
    // A control that takes no focus leaves it where it is when clicked (a picture with no keys of its own).
    void SetTakesFocus(bool takes);

    // The hint shows the part of Hint() before '|' while ShowHint is on; a changed hint replaces a shown one.
    void SetShowHint(bool show);
    [[nodiscard]] bool ShowHint() const { return m_showHint; }
    void SetHintText(std::string_view hint);
    // The text of the tool tip this control shows now, empty when none (for tests).
    [[nodiscard]] std::string ShownHint() const;

    // Runs a message as if the window system sent it (tests and callers that synthesise messages).
    void Perform(TMessage& message);

private:
    friend class ControlWidget;
    void showHintNow();
    ControlWidget* m_control;
    TCanvas m_canvas;
    TCursor m_cursor = crDefault;
    bool m_showHint = false;
};
