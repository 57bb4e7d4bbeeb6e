#pragma once
// Controls of the window framework, each wrapping one Qt widget that its parent widget owns. The wrapper objects
// are owned by their form (TForm::Make), so both live exactly as long as the form.
//
// Events fire by the old framework's rules, which the page code relies on:
//  - setting Checked of a check box or radio button, or ItemIndex of a radio group, from code fires OnClick
//    (when the value changes), like a click by the user;
//  - setting Text of an edit fires OnChange (when the text changes), like typing;
//  - setting ItemIndex of a combo box or Position of an up-down from code fires nothing of their own (an
//    up-down still rewrites its buddy edit, whose OnChange then fires).
#include <string>
#include <string_view>
#include <vector>

#include "vcl/core.h"

class QWidget;
class QLabel;
class QPushButton;
class QToolButton;
class QLineEdit;
class QPlainTextEdit;
class QCheckBox;
class QRadioButton;
class QGroupBox;
class QButtonGroup;
class QComboBox;
class QFrame;
class QImage;
class QScrollBar;
class QPalette;

class TComponent : public TObject {
public:
    [[nodiscard]] const std::string& Name() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }
    int Tag = 0;
    // Drops the event handlers, so that none runs while the form goes away.
    virtual void ClearEvents() {}
    // False for the non-visual components (menus, timers, dialogs).
    [[nodiscard]] virtual bool IsControl() const { return false; }

private:
    std::string m_name;
};

class TControl : public TComponent {
public:
    [[nodiscard]] const char* ClassName() const override { return "TControl"; }
    [[nodiscard]] bool IsControl() const override { return true; }
    [[nodiscard]] QWidget* Widget() const { return m_widget; }
    // The widget inside which children of this control are placed.
    [[nodiscard]] virtual QWidget* ClientWidget() const { return m_widget; }
    // The controls directly inside this one (the nearest ones below its widget), in the order of their windows:
    // the order they were made in, as the old framework keeps its child controls.
    [[nodiscard]] std::vector<TControl*> Controls() const;

    [[nodiscard]] bool Visible() const;
    void SetVisible(bool visible);
    [[nodiscard]] bool Enabled() const;
    void SetEnabled(bool enabled);
    [[nodiscard]] int Left() const;
    [[nodiscard]] int Top() const;
    [[nodiscard]] int Width() const;
    [[nodiscard]] int Height() const;
    void SetLeft(int left);
    void SetTop(int top);
    void SetWidth(int width);
    void SetHeight(int height);
    void SetBounds(int left, int top, int width, int height);
    [[nodiscard]] virtual std::string Caption() const { return m_caption; }
    virtual void SetCaption(std::string_view caption) { m_caption = caption; }
    [[nodiscard]] const std::string& Hint() const { return m_hint; }
    void SetHint(std::string_view hint);  // "short|long": the short part is the tool tip, the long one the status
    [[nodiscard]] TColor Color() const { return m_color; }
    virtual void SetColor(TColor color);
    // Whether the colour was set on this control, rather than coming from its parent.
    [[nodiscard]] bool ColorSet() const { return m_colorSet; }
    // Puts a colour back exactly as it was, palette included (taken from Widget()->palette() before a change).
    void RestoreColor(TColor color, bool set, const QPalette& palette);
    [[nodiscard]] TColor FontColor() const { return m_fontColor; }
    virtual void SetFontColor(TColor color);
    // At least kSmallestReadablePoints: smaller text in the desktop's sans font is not legible on a 96-dpi screen.
    void SetFontSize(int points);
    static constexpr int kSmallestReadablePoints = 7;
    [[nodiscard]] bool FontBold() const;
    void SetFontBold(bool bold);
    [[nodiscard]] bool TabStop() const;
    void SetTabStop(bool tabStop);
    // False when the control cannot take the focus (hidden or disabled), as the old framework's SetFocus failing.
    bool SetFocus();
    [[nodiscard]] bool Focused() const;
    // True when this control or one inside it has the focus.
    [[nodiscard]] bool ContainsFocus() const;
    void Repaint();
    // Moves the control into another control's client area at the same left and top, keeping its Visible flag.
    void SetParent(TControl& parent);
    [[nodiscard]] bool HasParent(const TControl& parent) const;

    TNotifyEvent OnClick;
    TNotifyEvent OnExit;
    TNotifyEvent OnEnter;
    void ClearEvents() override
    {
        OnClick = nullptr;
        OnExit = nullptr;
        OnEnter = nullptr;
    }

protected:
    explicit TControl(QWidget* widget);
    void ApplyPalette();
    QWidget* m_widget;
    std::string m_caption;
    std::string m_hint;
    TColor m_color = clBtnFace;
    TColor m_fontColor = clWindowText;
    bool m_colorSet = false;
    bool m_fontColorSet = false;

private:
    void InstallFocusFilter();
};

class TLabel final : public TControl {
public:
    explicit TLabel(QWidget* parent);
    [[nodiscard]] const char* ClassName() const override { return "TLabel"; }
    void SetCaption(std::string_view caption) override;
    void SetColor(TColor color) override;  // also makes the label opaque
    void SetTransparent(bool transparent);
    [[nodiscard]] bool Transparent() const { return m_transparent; }
    void SetAlignment(int alignment);  // 0 left, 1 right, 2 centre
    enum class Layout { Top, Center, Bottom };
    void SetLayout(Layout layout);  // where the text stands in a label taller than it
    void SetWordWrap(bool wrap);
    // While on, the label's width follows its caption (set now and at every caption change), so that controls
    // placed after its right edge never cover its text.
    void SetAutoSize(bool autoSize);

private:
    QLabel* m_label;
    bool m_transparent = true;
    bool m_autoSize = false;
    Layout m_layout = Layout::Center;
};

class TButton final : public TControl {
public:
    explicit TButton(QWidget* parent);
    [[nodiscard]] const char* ClassName() const override { return "TButton"; }
    void SetCaption(std::string_view caption) override;
    void Click();  // as if the user clicked it (nothing while disabled)
    // A click (after OnClick) sets this modal result on the button's form; 0 sets none.
    [[nodiscard]] int ModalResult() const { return m_modalResult; }
    void SetModalResult(int result) { m_modalResult = result; }
    // Enter (Default) or Esc (Cancel) on the button's form presses it.
    void SetDefault(bool isDefault);
    void SetCancel(bool isCancel);

private:
    void Clicked();
    QPushButton* m_button;
    int m_modalResult = 0;
};

class TSpeedButton final : public TControl {
public:
    explicit TSpeedButton(QWidget* parent);
    [[nodiscard]] const char* ClassName() const override { return "TSpeedButton"; }
    void SetCaption(std::string_view caption) override;
    void SetGlyphFile(const std::string& path);
    // The desktop icon theme's picture of that name (freedesktop naming), or the drawn one when the theme has
    // none; shown without the caption.
    void SetIcon(std::string_view themeName, const QImage& fallback);
    void Click();

private:
    QToolButton* m_button;
};

class TEdit : public TControl {
public:
    explicit TEdit(QWidget* parent);
    [[nodiscard]] const char* ClassName() const override { return "TEdit"; }
    [[nodiscard]] std::string Text() const;
    void SetText(std::string_view text);  // fires OnChange when the text changes
    void SetReadOnly(bool readOnly);
    void SetMaxLength(int maxLength);
    TNotifyEvent OnChange;
    // A key typed into the edit: Enter arrives as 13; a handler that sets the key to 0 swallows it.
    std::function<void(TObject* Sender, char& key)> OnKeyPress;
    void ClearEvents() override
    {
        TControl::ClearEvents();
        OnChange = nullptr;
        OnKeyPress = nullptr;
    }

private:
    QLineEdit* m_edit;
};

class TMemo final : public TControl {
public:
    explicit TMemo(QWidget* parent);
    [[nodiscard]] const char* ClassName() const override { return "TMemo"; }
    [[nodiscard]] std::vector<std::string> Lines() const;
    void SetLines(const std::vector<std::string>& lines);  // fires OnChange
    void SetMaxLength(int maxLength);
    TNotifyEvent OnChange;
    void ClearEvents() override
    {
        TControl::ClearEvents();
        OnChange = nullptr;
    }

private:
    QPlainTextEdit* m_memo;
    int m_maxLength = 0;
    bool m_limiting = false;
};

class TCheckBox final : public TControl {
public:
    explicit TCheckBox(QWidget* parent);
    [[nodiscard]] const char* ClassName() const override { return "TCheckBox"; }
    void SetCaption(std::string_view caption) override;
    [[nodiscard]] bool Checked() const;
    void SetChecked(bool checked);  // fires OnClick when the state changes

private:
    QCheckBox* m_box;
};

class TRadioButton final : public TControl {
public:
    explicit TRadioButton(QWidget* parent);
    [[nodiscard]] const char* ClassName() const override { return "TRadioButton"; }
    void SetCaption(std::string_view caption) override;
    [[nodiscard]] bool Checked() const;
    void SetChecked(bool checked);  // fires OnClick when the state changes

private:
    QRadioButton* m_button;
};

class TGroupBox : public TControl {
public:
    explicit TGroupBox(QWidget* parent);
    [[nodiscard]] const char* ClassName() const override { return "TGroupBox"; }
    void SetCaption(std::string_view caption) override;

protected:
    QGroupBox* m_box;
};

class TRadioGroup final : public TControl {
public:
    explicit TRadioGroup(QWidget* parent);
    [[nodiscard]] const char* ClassName() const override { return "TRadioGroup"; }
    void SetCaption(std::string_view caption) override;
    [[nodiscard]] int ItemIndex() const { return m_itemIndex; }
    void SetItemIndex(int index);  // fires OnClick when the index changes
    [[nodiscard]] int ItemCount() const { return static_cast<int>(m_items.size()); }
    [[nodiscard]] const std::string& Item(int index) const { return m_items.at(static_cast<std::size_t>(index)); }
    void SetItems(const std::vector<std::string>& items);  // keeps the index where it still exists; tags 0
    void SetItem(int index, std::string_view text);
    // An item with its object tag; the index stays as it was.
    void AddItem(std::string_view text, int tag = 0);
    [[nodiscard]] int ItemTag(int index) const;
    void Clear();  // no items, nothing selected, no event
    void SetColumns(int columns);

private:
    void Relayout();
    QRadioButton* MakeButton(int index);
    QGroupBox* m_box;
    QButtonGroup* m_group;
    std::vector<QRadioButton*> m_buttons;
    std::vector<std::string> m_items;
    std::vector<int> m_tags;
    int m_itemIndex = -1;
    int m_columns = 1;
};

class TComboBox final : public TControl {
public:
    explicit TComboBox(QWidget* parent);
    [[nodiscard]] const char* ClassName() const override { return "TComboBox"; }
    [[nodiscard]] int ItemIndex() const;
    void SetItemIndex(int index);  // fires nothing
    [[nodiscard]] int ItemCount() const;
    void Clear();
    // An item with its object tag (the model number of the bike list, for example).
    void AddItem(std::string_view text, int tag = 0);
    [[nodiscard]] std::string ItemText(int index) const;
    void SetItemText(int index, std::string_view text);
    [[nodiscard]] int ItemTag(int index) const;
    [[nodiscard]] std::string Text() const;
    TNotifyEvent OnChange;  // the user chose an item
    void ClearEvents() override
    {
        TControl::ClearEvents();
        OnChange = nullptr;
    }

private:
    QComboBox* m_combo;
};

class TUpDown : public TControl {
public:
    explicit TUpDown(QWidget* parent);
    [[nodiscard]] const char* ClassName() const override { return "TUpDown"; }
    [[nodiscard]] int Min() const { return m_min; }
    [[nodiscard]] int Max() const { return m_max; }
    void SetMin(int min);
    void SetMax(int max);
    void SetRange(int min, int max);
    [[nodiscard]] int Increment() const { return m_increment; }
    void SetIncrement(int increment) { m_increment = increment; }
    // Read from the buddy edit's text when there is one, as the old control did.
    [[nodiscard]] int Position() const;
    // Clamps, rewrites the buddy edit (with a thousands separator from 1000 on) and fires no event of its own.
    void SetPosition(int position);
    void SetThousands(bool thousands) { m_thousands = thousands; }
    [[nodiscard]] TEdit* Associate() const { return m_associate; }
    void SetAssociate(TEdit* edit);  // the edit stands beside the up-down and shows its position
    void Step(int direction);        // an arrow click: +1 up, -1 down; fires OnChanging, then OnClick
    // Text of a position in the buddy edit; and the position a buddy text stands for (separators ignored).
    [[nodiscard]] std::string PositionText(int position) const;
    [[nodiscard]] static bool ParsePosition(std::string_view text, int& position);

    std::function<void(TObject* Sender, bool& allowChange)> OnChanging;
    // As OnChanging, with the position an arrow click is about to set.
    std::function<void(TObject* Sender, bool& allowChange, int newValue, int direction)> OnChangingEx;
    void ClearEvents() override
    {
        TControl::ClearEvents();
        OnChanging = nullptr;
        OnChangingEx = nullptr;
    }

private:
    void WriteBuddy();
    QToolButton* m_up;
    QToolButton* m_down;
    TEdit* m_associate = nullptr;
    int m_min = 0;
    int m_max = 100;
    int m_position = 0;
    int m_increment = 1;
    bool m_thousands = true;
};

class TPanel final : public TControl {
public:
    explicit TPanel(QWidget* parent);
    [[nodiscard]] const char* ClassName() const override { return "TPanel"; }
    void SetCaption(std::string_view caption) override;

private:
    QFrame* m_frame;
    QLabel* m_text;
};

// A scroll bar, horizontal unless made vertical. Setting Position (or a range that moves it) from code fires
// OnChange when the position changes, as a move by the user does. With a page size the position runs from Min to
// Max - PageSize + 1, as the old framework's did.
class TScrollBar final : public TControl
{
public:
    explicit TScrollBar(QWidget* parent);
    [[nodiscard]] const char* ClassName() const override { return "TScrollBar"; }
    [[nodiscard]] int Min() const;
    [[nodiscard]] int Max() const { return m_max; }
    [[nodiscard]] int Position() const;
    void SetMin(int min);
    void SetMax(int max);
    void SetPosition(int position);
    void SetLargeChange(int step);
    void SetSmallChange(int step);
    [[nodiscard]] int PageSize() const { return m_pageSize; }
    void SetPageSize(int size);
    void SetVertical(bool vertical);
    TNotifyEvent OnChange;
    void ClearEvents() override
    {
        TControl::ClearEvents();
        OnChange = nullptr;
    }

private:
    void ApplyRange();
    QScrollBar* m_bar;
    int m_max = 100;
    int m_pageSize = 0;
    int m_largeChange = 10;
};

// A drop-down list of colours, each item a swatch and its name.
class TColorBox final : public TControl
{
public:
    explicit TColorBox(QWidget* parent);
    [[nodiscard]] const char* ClassName() const override { return "TColorBox"; }
    void Clear();
    void AddItem(std::string_view name, TColor colour);
    [[nodiscard]] int ItemCount() const;
    [[nodiscard]] int ItemIndex() const;
    void SetItemIndex(int index);  // fires nothing
    [[nodiscard]] TColor ItemColor(int index) const;
    [[nodiscard]] std::string ItemText(int index) const;
    // The colour of the chosen item; nothing chosen when no item has the colour.
    [[nodiscard]] bool HasSelection() const { return ItemIndex() >= 0; }
    [[nodiscard]] TColor Selected() const;
    void SetSelected(TColor colour);
    TNotifyEvent OnChange;  // the user chose an item
    void ClearEvents() override
    {
        TControl::ClearEvents();
        OnChange = nullptr;
    }

private:
    QComboBox* m_combo;
    std::vector<TColor> m_colours;
};

// A bar gauge painted by hand: progress between MinValue and MaxValue, with the percentage in the middle.
class TCGauge final : public TControl {
public:
    explicit TCGauge(QWidget* parent);
    [[nodiscard]] const char* ClassName() const override { return "TCGauge"; }
    [[nodiscard]] int MinValue() const { return m_min; }
    [[nodiscard]] int MaxValue() const { return m_max; }
    [[nodiscard]] int Progress() const { return m_progress; }
    void SetMinValue(int value);
    void SetMaxValue(int value);
    void SetProgress(int value);
    [[nodiscard]] int PercentDone() const;
    [[nodiscard]] TColor ForeColor() const { return m_foreColor; }
    [[nodiscard]] TColor BackColor() const { return m_backColor; }
    void SetForeColor(TColor color);
    void SetBackColor(TColor color);
    void SetShowText(bool show);
    [[nodiscard]] bool ShowText() const { return m_showText; }
    void SetVertical(bool vertical);
    [[nodiscard]] bool Vertical() const { return m_vertical; }

private:
    int m_min = 0;
    int m_max = 100;
    int m_progress = 0;
    TColor m_foreColor = clBlack;
    TColor m_backColor = clWhite;
    bool m_showText = true;
    bool m_vertical = false;
};
