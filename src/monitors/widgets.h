#pragma once
// The external monitor's widgets: plain objects painted on one canvas, not window controls. CMyComponent holds the
// geometry, colours, frame, dirty bits and the selection and resize state; CMyGroup holds widgets, paints them,
// routes pointer and key events to them and lets the user move and resize them while the layout is edited. The
// concrete widgets: buttons of the button bar (CMyButt, CMyPin) and the widgets bound to a monitor variable
// (CMyValue, CMyLabel, CMyText, CMyImage; the indicator is in indicator.h).
//
// Coordinates are layout pixels of the set's design size; painting multiplies each by the widget's scale and
// truncates. Pointer positions handed in are image pixels, which agree with layout pixels because editing always
// runs at scale 1.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "monitors/monvars.h"
#include "vcl/graphics.h"

class CMyGroup;

// Widget kinds as monitor-set files store them.
inline constexpr int kKindPicture = 0;
inline constexpr int kKindText = 1;
inline constexpr int kKindLabel = 2;
inline constexpr int kKindValue = 4;
inline constexpr int kKindIndicator = 8;

// Dirty bits.
inline constexpr int kDirtySelf = 1;
inline constexpr int kDirtyAll = 2;

// Click kinds handed in before a press.
inline constexpr int kClickLeft = 1;
inline constexpr int kClickRight = 2;

// Cursors a group asks its owner for (the old framework's cursor numbers).
inline constexpr int kCursorDefault = 0;
inline constexpr int kCursorCross = -3;
inline constexpr int kCursorSizeNESW = -6;
inline constexpr int kCursorSizeNS = -7;
inline constexpr int kCursorSizeNWSE = -8;
inline constexpr int kCursorSizeWE = -9;
inline constexpr int kCursorSizeAll = -22;

// A quarter of a and three quarters of b per channel: with b white, the faded look of an unavailable variable.
[[nodiscard]] TColor BlendColor(TColor a, TColor b);

class CMyComponent
{
public:
    CMyComponent();
    virtual ~CMyComponent() = default;
    CMyComponent(const CMyComponent&) = delete;
    CMyComponent& operator=(const CMyComponent&) = delete;

    int Left = 0, Top = 0, Width = 0, Height = 0;
    int focusable = 0;
    TColor Color = clWhite;
    TColor ltframe = clWhite;   // top and left edges when not Down
    TColor dkframe = clSilver;  // bottom and right edges when not Down
    int Down = 0;               // pressed look: the frame colours swap and texts move 1 pixel right
    int hover = 0;              // the pointer lies within the rectangle, edges included
    int pointerX = 0, pointerY = 0;
    int clickKind = 0;
    int shiftDown = 0, ctrlDown = 0;
    CMyGroup* parent = nullptr;
    TCanvas* canvas = nullptr;
    int dirty = 0;
    TColor TextColor = clBlack;
    int AlignV = 0;                 // horizontal text place: < 0 left, 0 centred, > 0 right
    int AlignH = 0;                 // vertical text place: < 0 top, 0 centred, > 0 bottom
    CLngStr* s;                     // the monitor variable shown; row 0 until bound
    const char* caption = nullptr;  // a button's own trilingual caption
    int selected = 0;
    int rszable = 1;  // shows and obeys resize handles
    int nprable = 1;  // 1: width and height resize apart; 0: the proportion ow:oh is kept
    int handle = 0;   // handle under the pointer: 0 none, 1 top, then clockwise to 8 top-left
    int moving = 0;
    int activeHandle = 0;
    int grabX = 0, grabY = 0;
    int startTop = 0, startLeft = 0, startWidth = 0, startHeight = 0;
    int ow = 0, oh = 0;  // reference size of proportional resizing and font fitting
    int minw = 4, minh = 4, maxw = 1000, maxh = 1000;
    int id = 0;
    int kind = kKindPicture;
    float scale = 1.0f;

    virtual void Paint();
    virtual void Press() {}
    virtual void Release() {}
    virtual void PointerMove() {}
    virtual void PointerLeave() {}
    virtual void Wheel(int /*delta*/) {}
    virtual void DblClick() {}
    virtual void Key(int /*virtualKey*/) {}
    virtual void SetCanvas(TCanvas* c) { canvas = c; }
    virtual void SetColor(TColor c) { Color = c; }
    [[nodiscard]] virtual bool IsFocused() const;
    virtual void FocusGained() {}
    virtual void FocusLost() {}
    virtual void AdjustResize(int& /*dw*/, int& /*dh*/) {}
    virtual void SetScale(float f) { scale = f; }

    // Or-s the bits into the widget and its group; a widget without a group repaints whole.
    void MarkDirty(int bits);
    // A layout coordinate on the canvas.
    [[nodiscard]] int Scaled(int v) const { return static_cast<int>(static_cast<float>(v) * scale); }
    [[nodiscard]] bool Contains(int x, int y) const
    {
        return x >= Left && x <= Left + Width && y >= Top && y <= Top + Height;
    }
};

class CMyGroup final : public CMyComponent
{
public:
    CMyGroup();
    ~CMyGroup() override;

    [[nodiscard]] int Count() const { return static_cast<int>(m_items.size()); }
    [[nodiscard]] CMyComponent* Item(int index) const { return m_items[static_cast<std::size_t>(index)].get(); }
    [[nodiscard]] int IndexOf(const CMyComponent* widget) const;

    CMyComponent* focused = nullptr;
    int origWidth = 0, origHeight = 0;  // the set's design size; 0 = not yet known
    int edit = 0;                       // edit mode: presses select, drag and resize; keys edit
    int rubberBand = 0;
    int bandX1 = 0, bandY1 = 0, bandX2 = 0, bandY2 = 0;
    int selectedCount = 0;
    int wantedCursor = kCursorDefault;
    int sizeGrip = 0;

    // Appends the widget on top of the drawing order and takes it over.
    CMyComponent* Insert(std::unique_ptr<CMyComponent> widget);
    template <class T>
    T* Insert(std::unique_ptr<T> widget)
    {
        T* raw = widget.get();
        Insert(std::unique_ptr<CMyComponent>(std::move(widget)));
        return raw;
    }
    // Deletes the widget; one not in the group is ignored.
    void Remove(CMyComponent* widget);
    void FreeAll();
    void Focus(CMyComponent* widget);
    void BringToFront(CMyComponent* widget);
    // Moves the widget to the back (index 0).
    void SendToBack(CMyComponent* widget);
    void SelectNone();
    void CountSelected();
    void ResizeByHandle(CMyComponent& widget, int handleNumber, int dx, int dy);
    // The 100 ms repaint: the whole group when bit 2 is set, else only the widgets marked dirty.
    void PaintDirty();

    void Paint() override;
    void Press() override;
    void Release() override;
    void PointerMove() override;
    void PointerLeave() override;
    void Wheel(int delta) override;
    void DblClick() override;
    void Key(int virtualKey) override;
    void SetCanvas(TCanvas* c) override;
    void SetColor(TColor c) override;
    void SetScale(float f) override;

private:
    void PaintSizeGrip();
    void HandModifiers(CMyComponent& widget) const;
    // (dx, dy) cut so that every selected widget stays inside the group.
    void ClampSelectionStep(int& dx, int& dy) const;
    void MoveSelection(int dx, int dy);
    void StartResize(CMyComponent& widget);

    std::vector<std::unique_ptr<CMyComponent>> m_items;
};

// Button modes.
inline constexpr int kButtPassive = 0;
inline constexpr int kButtPush = 1;
inline constexpr int kButtToggle = 2;

class CMyButt : public CMyComponent
{
public:
    CMyButt();
    int mode = kButtPassive;
    int latched = 0;  // a toggle's committed state

    void Paint() override;
    void Press() override;
    void Release() override;
    void PointerLeave() override;
};

class CMyPin final : public CMyButt
{
public:
    void Paint() override;
};

// The base of the widgets bound to a monitor variable.
class CMyObj : public CMyComponent
{
public:
    CMyObj();
    TColor ColorMk = clBlack;  // marker colour; the indicator draws with it, the others carry it

    void Paint() override;  // the selection marks
    void PointerMove() override;
    void PointerLeave() override;
    void FocusGained() override;
    void FocusLost() override;

protected:
    // Draws a text fitted to the widget's height and placed by AlignV and AlignH, in `colour`.
    void PaintFitted(const std::string& text, TColor colour);
    // The width of a text at the font size that fills `height`, unscaled.
    [[nodiscard]] int FittedWidth(const std::string& text) const;
};

class CMyValue final : public CMyObj
{
public:
    CMyValue();
    void Paint() override;
    // Width := the widest text the value can show at the font size that fills the height.
    void FitWidth();
};

class CMyLabel : public CMyObj
{
public:
    CMyLabel();
    int units = 1;  // append the variable's units
    void Paint() override;
    virtual void FitWidth();
};

class CMyText final : public CMyLabel
{
public:
    CMyText();
    // Stores a copy; a missing or empty text becomes a single blank.
    void SetStr(std::string_view text);
    [[nodiscard]] const std::string& Str() const { return m_text; }
    void Paint() override;
    void FitWidth() override;

private:
    std::string m_text = " ";
};

class CMyImage final : public CMyObj
{
public:
    CMyImage();
    std::unique_ptr<TBitmap> picture;  // may be none
    void Paint() override;
};

// Texts of a value widget and a label widget for a row, in the current language. Before live values arrived a
// number shows a placeholder of x's.
[[nodiscard]] std::string ValueText(const CLngStr& row, bool valuesArrived);
[[nodiscard]] std::string LabelText(const CLngStr& row, bool withUnits, int language = -1);
// The font size that makes the canvas's text `height` pixels high at the given scale (at least 1).
[[nodiscard]] int FittedFontSize(TCanvas& canvas, int height, float scale);
