#include "vcl/controls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolButton>
#include <algorithm>
#include <charconv>

#include "vcl/forms.h"
#include "vcl/qtcolor.h"

using vcl::Q;
using vcl::S;

namespace {

// The name by which a control's widget marks the control it belongs to.
constexpr const char* kControlTag = "vcl_control";

// Turns Qt's focus events into the control's OnEnter and OnExit; being a child of the control's widget, it also
// tells which control a widget belongs to.
class FocusFilter final : public QObject {
public:
    FocusFilter(QObject* parent, TControl* control) : QObject(parent), m_control(control)
    {
        setObjectName(kControlTag);
    }
    [[nodiscard]] TControl* control() const { return m_control; }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusOut)
            vcl::Fire(m_control->OnExit, m_control);
        else if (event->type() == QEvent::FocusIn)
            vcl::Fire(m_control->OnEnter, m_control);
        return QObject::eventFilter(watched, event);
    }

private:
    TControl* m_control;
};

class GaugeWidget final : public QWidget {
public:
    GaugeWidget(QWidget* parent, TCGauge* gauge) : QWidget(parent), m_gauge(gauge) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        const QRect r = rect();
        p.fillRect(r, vcl::ToQColor(m_gauge->BackColor()));
        const int range = m_gauge->MaxValue() - m_gauge->MinValue();
        const long long done = std::clamp<long long>(m_gauge->Progress() - m_gauge->MinValue(), 0, range);
        if (range > 0 && done > 0) {
            QRect bar = r;
            if (m_gauge->Vertical()) {
                const int h = int(done * r.height() / range);
                bar.setTop(r.bottom() + 1 - h);
            } else {
                bar.setWidth(int(done * r.width() / range));
            }
            p.fillRect(bar, vcl::ToQColor(m_gauge->ForeColor()));
        }
        p.setPen(Qt::black);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        if (m_gauge->ShowText()) {
            p.setPen(vcl::ToQColor(m_gauge->FontColor()));
            p.drawText(r, Qt::AlignCenter, QString::number(m_gauge->PercentDone()) + "%");
        }
    }

private:
    TCGauge* m_gauge;
};

TControl* controlOf(const QObject* widget)
{
    for (QObject* child : widget->children())
        if (child->objectName() == QLatin1String(kControlTag)) return static_cast<FocusFilter*>(child)->control();
    return nullptr;
}

void collectControls(const QObject* widget, std::vector<TControl*>& out)
{
    for (QObject* child : widget->children()) {
        if (!child->isWidgetType()) continue;
        if (TControl* control = controlOf(child))
            out.push_back(control);
        else
            collectControls(child, out);
    }
}

}  // namespace

// ---------------------------------------------------------------- TControl

TControl::TControl(QWidget* widget) : m_widget(widget)
{
    // Marks the widgets that stand for controls, for the layout checks.
    m_widget->setProperty("kelvoraControl", true);
    InstallFocusFilter();
}

void TControl::InstallFocusFilter()
{
    m_widget->installEventFilter(new FocusFilter(m_widget, this));
}

std::vector<TControl*> TControl::Controls() const
{
    std::vector<TControl*> controls;
    collectControls(m_widget, controls);
    return controls;
}

bool TControl::Visible() const { return !m_widget->isHidden(); }
void TControl::SetVisible(bool visible) { m_widget->setVisible(visible); }
bool TControl::Enabled() const { return m_widget->isEnabled(); }
void TControl::SetEnabled(bool enabled) { m_widget->setEnabled(enabled); }
int TControl::Left() const { return m_widget->x(); }
int TControl::Top() const { return m_widget->y(); }
int TControl::Width() const { return m_widget->width(); }
int TControl::Height() const { return m_widget->height(); }
void TControl::SetLeft(int left) { m_widget->move(left, m_widget->y()); }
void TControl::SetTop(int top) { m_widget->move(m_widget->x(), top); }
void TControl::SetWidth(int width) { m_widget->resize(std::max(0, width), m_widget->height()); }
void TControl::SetHeight(int height) { m_widget->resize(m_widget->width(), std::max(0, height)); }

void TControl::SetBounds(int left, int top, int width, int height)
{
    m_widget->setGeometry(left, top, std::max(0, width), std::max(0, height));
}

void TControl::SetHint(std::string_view hint)
{
    m_hint = hint;
    const auto bar = hint.find('|');
    const std::string_view shortHint = hint.substr(0, bar);
    const std::string_view longHint = bar == std::string_view::npos ? hint : hint.substr(bar + 1);
    m_widget->setToolTip(Q(shortHint));
    m_widget->setStatusTip(Q(longHint));
}

void TControl::ApplyPalette()
{
    QPalette pal = m_widget->palette();
    if (m_colorSet) {
        pal.setColor(QPalette::Window, vcl::ToQColor(m_color));
        pal.setColor(QPalette::Button, vcl::ToQColor(m_color));
        pal.setColor(QPalette::Base, vcl::ToQColor(m_color));
    }
    if (m_fontColorSet) {
        pal.setColor(QPalette::WindowText, vcl::ToQColor(m_fontColor));
        pal.setColor(QPalette::Text, vcl::ToQColor(m_fontColor));
        pal.setColor(QPalette::ButtonText, vcl::ToQColor(m_fontColor));
    }
    m_widget->setPalette(pal);
}

// Setting what a control already shows changes nothing and draws nothing: the live display sets every value on
// every frame.
void TControl::SetColor(TColor color)
{
    if (m_colorSet && m_color == color) return;
    m_color = color;
    m_colorSet = true;
    ApplyPalette();
}

void TControl::RestoreColor(TColor color, bool set, const QPalette& palette)
{
    m_color = color;
    m_colorSet = set;
    m_widget->setPalette(palette);
}

void TControl::SetFontColor(TColor color)
{
    if (m_fontColorSet && m_fontColor == color) return;
    m_fontColor = color;
    m_fontColorSet = true;
    ApplyPalette();
}

void TControl::SetFontSize(int points)
{
    QFont font = m_widget->font();
    points = std::max(kSmallestReadablePoints, points);
    if (font.pointSize() == points) return;
    font.setPointSize(points);
    m_widget->setFont(font);
}

bool TControl::FontBold() const { return m_widget->font().bold(); }

void TControl::SetFontBold(bool bold)
{
    QFont font = m_widget->font();
    if (font.bold() == bold) return;
    font.setBold(bold);
    m_widget->setFont(font);
}

bool TControl::TabStop() const { return m_widget->focusPolicy() & Qt::TabFocus; }
void TControl::SetTabStop(bool tabStop) { m_widget->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus); }

bool TControl::SetFocus()
{
    if (!m_widget->isVisibleTo(m_widget->window()) || !m_widget->isEnabled())
        return false;
    m_widget->setFocus(Qt::OtherFocusReason);
    return true;
}

bool TControl::Focused() const { return m_widget->hasFocus(); }

bool TControl::ContainsFocus() const
{
    QWidget* focus = QApplication::focusWidget();
    return focus && (focus == m_widget || m_widget->isAncestorOf(focus));
}
void TControl::Repaint() { m_widget->update(); }

void TControl::SetParent(TControl& parent)
{
    if (HasParent(parent)) return;
    const bool hidden = m_widget->isHidden();
    const QPoint place = m_widget->pos();
    m_widget->setParent(parent.ClientWidget());
    m_widget->move(place);
    // Qt hides a widget that changes its parent; the old framework's control stays as it was.
    m_widget->setVisible(!hidden);
}

bool TControl::HasParent(const TControl& parent) const
{
    return m_widget->parentWidget() == parent.ClientWidget();
}

// ---------------------------------------------------------------- TLabel

TLabel::TLabel(QWidget* parent) : TControl(new QLabel(parent)), m_label(static_cast<QLabel*>(m_widget))
{
    m_label->setTextFormat(Qt::PlainText);
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_label->resize(60, 16);
}

void TLabel::SetCaption(std::string_view caption)
{
    if (caption == m_caption) return;
    m_caption = caption;
    // '&' marks an accelerator in captions; a label shows "&&" as one '&'.
    QString text = Q(caption);
    text.replace("&&", "\x01").remove('&').replace('\x01', '&');
    m_label->setText(text);
    if (m_autoSize) m_label->resize(m_label->sizeHint().width(), m_label->height());
}

void TLabel::SetAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    if (m_autoSize) m_label->resize(m_label->sizeHint().width(), m_label->height());
}

void TLabel::SetColor(TColor color)
{
    TControl::SetColor(color);
    SetTransparent(false);
}

void TLabel::SetTransparent(bool transparent)
{
    if (transparent == m_transparent) return;
    m_transparent = transparent;
    m_label->setAutoFillBackground(!transparent);
}

namespace {
Qt::Alignment verticalAlignment(TLabel::Layout layout)
{
    return layout == TLabel::Layout::Top ? Qt::AlignTop : layout == TLabel::Layout::Bottom ? Qt::AlignBottom : Qt::AlignVCenter;
}
}  // namespace

void TLabel::SetAlignment(int alignment)
{
    const Qt::Alignment h = alignment == 1 ? Qt::AlignRight : alignment == 2 ? Qt::AlignHCenter : Qt::AlignLeft;
    m_label->setAlignment(h | verticalAlignment(m_layout));
}

void TLabel::SetLayout(Layout layout)
{
    m_layout = layout;
    m_label->setAlignment((m_label->alignment() & Qt::AlignHorizontal_Mask) | verticalAlignment(layout));
}

void TLabel::SetWordWrap(bool wrap) { m_label->setWordWrap(wrap); }

// ---------------------------------------------------------------- buttons

TButton::TButton(QWidget* parent) : TControl(new QPushButton(parent)), m_button(static_cast<QPushButton*>(m_widget))
{
    m_button->resize(75, 25);
    QObject::connect(m_button, &QPushButton::clicked, m_button, [this] { Clicked(); });
}

void TButton::Clicked()
{
    vcl::Fire(OnClick, this);
    if (m_modalResult != 0)
        if (TForm* form = vcl::FormOf(m_button)) form->SetModalResult(m_modalResult);
}

void TButton::SetDefault(bool isDefault)
{
    if (TForm* form = vcl::FormOf(m_button)) form->SetDefaultButton(isDefault ? this : nullptr);
    m_button->setDefault(isDefault);
}

void TButton::SetCancel(bool isCancel)
{
    if (TForm* form = vcl::FormOf(m_button)) form->SetCancelButton(isCancel ? this : nullptr);
}

void TButton::SetCaption(std::string_view caption)
{
    m_caption = caption;
    m_button->setText(Q(caption));
}

void TButton::Click()
{
    if (m_button->isEnabled())
        Clicked();
}

TSpeedButton::TSpeedButton(QWidget* parent)
    : TControl(new QToolButton(parent)), m_button(static_cast<QToolButton*>(m_widget))
{
    m_button->resize(25, 25);
    m_button->setAutoRaise(true);
    m_button->setFocusPolicy(Qt::NoFocus);
    QObject::connect(m_button, &QToolButton::clicked, m_button, [this] { vcl::Fire(OnClick, this); });
}

void TSpeedButton::SetCaption(std::string_view caption)
{
    m_caption = caption;
    m_button->setText(Q(caption));
}

void TSpeedButton::SetGlyphFile(const std::string& path)
{
    m_button->setIcon(QIcon(Q(path)));
    m_button->setToolButtonStyle(Qt::ToolButtonIconOnly);
}

void TSpeedButton::SetIcon(std::string_view themeName, const QImage& fallback)
{
    m_button->setIcon(QIcon::fromTheme(Q(themeName), QIcon(QPixmap::fromImage(fallback))));
    m_button->setIconSize(fallback.size());
    m_button->setToolButtonStyle(Qt::ToolButtonIconOnly);
}

void TSpeedButton::Click()
{
    if (m_button->isEnabled())
        vcl::Fire(OnClick, this);
}

// ---------------------------------------------------------------- TEdit, TMemo

namespace {

// Hands typed keys to the edit's OnKeyPress before the line edit sees them.
class KeyPressFilter final : public QObject {
public:
    KeyPressFilter(QObject* parent, TEdit* edit) : QObject(parent), m_edit(edit) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !m_edit->OnKeyPress)
            return QObject::eventFilter(watched, event);
        const auto* key = static_cast<QKeyEvent*>(event);
        char c = 0;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            c = 13;
        else if (key->text().size() == 1 && key->text()[0].unicode() < 128)
            c = static_cast<char>(key->text()[0].unicode());
        if (c == 0)
            return QObject::eventFilter(watched, event);
        vcl::Fire(m_edit->OnKeyPress, m_edit, c);
        return c == 0;
    }

private:
    TEdit* m_edit;
};

}  // namespace

TEdit::TEdit(QWidget* parent) : TControl(new QLineEdit(parent)), m_edit(static_cast<QLineEdit*>(m_widget))
{
    m_edit->resize(121, 21);
    m_edit->installEventFilter(new KeyPressFilter(m_edit, this));
    // textChanged comes for the user's typing and for setText alike, only when the text really changes.
    QObject::connect(m_edit, &QLineEdit::textChanged, m_edit, [this] { vcl::Fire(OnChange, this); });
}

std::string TEdit::Text() const { return S(m_edit->text()); }
void TEdit::SetText(std::string_view text) { m_edit->setText(Q(text)); }
void TEdit::SetReadOnly(bool readOnly) { m_edit->setReadOnly(readOnly); }
void TEdit::SetMaxLength(int maxLength) { m_edit->setMaxLength(maxLength > 0 ? maxLength : 32767); }

TMemo::TMemo(QWidget* parent) : TControl(new QPlainTextEdit(parent)), m_memo(static_cast<QPlainTextEdit*>(m_widget))
{
    m_memo->resize(185, 89);
    QObject::connect(m_memo, &QPlainTextEdit::textChanged, m_memo, [this] {
        if (m_limiting)
            return;
        if (m_maxLength > 0 && m_memo->toPlainText().size() > m_maxLength) {
            m_limiting = true;
            QTextCursor cursor = m_memo->textCursor();
            m_memo->setPlainText(m_memo->toPlainText().left(m_maxLength));
            cursor.setPosition(std::min<int>(cursor.position(), m_maxLength));
            m_memo->setTextCursor(cursor);
            m_limiting = false;
        }
        vcl::Fire(OnChange, this);
    });
}

std::vector<std::string> TMemo::Lines() const
{
    std::vector<std::string> lines;
    const QString text = m_memo->toPlainText();
    if (text.isEmpty())
        return lines;
    for (const QString& line : text.split('\n'))
        lines.push_back(S(line));
    return lines;
}

void TMemo::SetLines(const std::vector<std::string>& lines)
{
    QStringList list;
    for (const std::string& line : lines)
        list << Q(line);
    m_memo->setPlainText(list.join('\n'));
}

void TMemo::SetMaxLength(int maxLength) { m_maxLength = std::max(0, maxLength); }

// ---------------------------------------------------------------- check and radio buttons

TCheckBox::TCheckBox(QWidget* parent) : TControl(new QCheckBox(parent)), m_box(static_cast<QCheckBox*>(m_widget))
{
    m_box->resize(97, 17);
    // clicked comes only from the user; a change from code fires OnClick in SetChecked.
    QObject::connect(m_box, &QCheckBox::clicked, m_box, [this] { vcl::Fire(OnClick, this); });
}

void TCheckBox::SetCaption(std::string_view caption)
{
    m_caption = caption;
    m_box->setText(Q(caption));
}

bool TCheckBox::Checked() const { return m_box->isChecked(); }

void TCheckBox::SetChecked(bool checked)
{
    if (m_box->isChecked() == checked)
        return;
    {
        const QSignalBlocker block(m_box);
        m_box->setChecked(checked);
    }
    vcl::Fire(OnClick, this);
}

TRadioButton::TRadioButton(QWidget* parent)
    : TControl(new QRadioButton(parent)), m_button(static_cast<QRadioButton*>(m_widget))
{
    m_button->resize(113, 17);
    QObject::connect(m_button, &QRadioButton::clicked, m_button, [this] { vcl::Fire(OnClick, this); });
}

void TRadioButton::SetCaption(std::string_view caption)
{
    m_caption = caption;
    m_button->setText(Q(caption));
}

bool TRadioButton::Checked() const { return m_button->isChecked(); }

void TRadioButton::SetChecked(bool checked)
{
    if (m_button->isChecked() == checked)
        return;
    {
        const QSignalBlocker block(m_button);
        m_button->setChecked(checked);
    }
    vcl::Fire(OnClick, this);
}

// ---------------------------------------------------------------- group boxes

TGroupBox::TGroupBox(QWidget* parent) : TControl(new QGroupBox(parent)), m_box(static_cast<QGroupBox*>(m_widget))
{
    m_box->resize(185, 105);
}

void TGroupBox::SetCaption(std::string_view caption)
{
    m_caption = caption;
    m_box->setTitle(Q(caption));
}

TRadioGroup::TRadioGroup(QWidget* parent)
    : TControl(new QGroupBox(parent)), m_box(static_cast<QGroupBox*>(m_widget)), m_group(new QButtonGroup(m_box))
{
    m_box->resize(185, 105);
    m_group->setExclusive(true);
    QObject::connect(m_group, &QButtonGroup::idClicked, m_box, [this](int id) {
        if (id == m_itemIndex)
            return;
        m_itemIndex = id;
        vcl::Fire(OnClick, this);
    });
}

void TRadioGroup::SetCaption(std::string_view caption)
{
    m_caption = caption;
    m_box->setTitle(Q(caption));
}

void TRadioGroup::SetItemIndex(int index)
{
    if (index < -1 || index >= ItemCount())
        index = -1;
    if (index == m_itemIndex)
        return;
    m_itemIndex = index;
    {
        m_group->setExclusive(false);
        for (std::size_t i = 0; i < m_buttons.size(); ++i) {
            const QSignalBlocker block(m_buttons[i]);
            m_buttons[i]->setChecked(int(i) == index);
        }
        m_group->setExclusive(true);
    }
    vcl::Fire(OnClick, this);
}

QRadioButton* TRadioGroup::MakeButton(int index)
{
    auto* b = new QRadioButton(Q(m_items[std::size_t(index)]), m_box);
    m_group->addButton(b, index);
    b->show();
    return b;
}

void TRadioGroup::SetItems(const std::vector<std::string>& items)
{
    for (QRadioButton* b : m_buttons) {
        m_group->removeButton(b);
        delete b;
    }
    m_buttons.clear();
    m_items = items;
    m_tags.assign(m_items.size(), 0);
    for (std::size_t i = 0; i < m_items.size(); ++i)
        m_buttons.push_back(MakeButton(int(i)));
    if (m_itemIndex >= ItemCount())
        m_itemIndex = -1;
    if (m_itemIndex >= 0) {
        const QSignalBlocker block(m_buttons[std::size_t(m_itemIndex)]);
        m_buttons[std::size_t(m_itemIndex)]->setChecked(true);
    }
    Relayout();
}

void TRadioGroup::SetItem(int index, std::string_view text)
{
    if (index < 0 || index >= ItemCount())
        return;
    m_items[std::size_t(index)] = text;
    m_buttons[std::size_t(index)]->setText(Q(text));
}

void TRadioGroup::AddItem(std::string_view text, int tag)
{
    m_items.emplace_back(text);
    m_tags.push_back(tag);
    m_buttons.push_back(MakeButton(ItemCount() - 1));
    Relayout();
}

int TRadioGroup::ItemTag(int index) const
{
    return index >= 0 && index < ItemCount() ? m_tags[std::size_t(index)] : 0;
}

void TRadioGroup::Clear()
{
    m_itemIndex = -1;
    SetItems({});
}

void TRadioGroup::SetColumns(int columns)
{
    m_columns = std::max(1, columns);
    Relayout();
}

void TRadioGroup::Relayout()
{
    if (m_buttons.empty())
        return;
    // Like the old control: buttons fill the box top to bottom, column by column, below the caption.
    const int rows = int((m_buttons.size() + std::size_t(m_columns) - 1) / std::size_t(m_columns));
    const int top = 16;
    const int rowHeight = std::max(16, (m_box->height() - top - 4) / std::max(1, rows));
    const int colWidth = (m_box->width() - 8) / m_columns;
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        const int col = int(i) / rows;
        const int row = int(i) % rows;
        m_buttons[i]->setGeometry(8 + col * colWidth, top + row * rowHeight, colWidth - 4, std::min(rowHeight, 20));
    }
}

// ---------------------------------------------------------------- TComboBox

TComboBox::TComboBox(QWidget* parent) : TControl(new QComboBox(parent)), m_combo(static_cast<QComboBox*>(m_widget))
{
    m_combo->resize(145, 21);
    // activated comes only from the user's choice; setCurrentIndex from code fires nothing.
    QObject::connect(m_combo, &QComboBox::activated, m_combo, [this] { vcl::Fire(OnChange, this); });
}

int TComboBox::ItemIndex() const { return m_combo->currentIndex(); }

void TComboBox::SetItemIndex(int index)
{
    const QSignalBlocker block(m_combo);
    m_combo->setCurrentIndex(index >= -1 && index < m_combo->count() ? index : -1);
}

int TComboBox::ItemCount() const { return m_combo->count(); }

void TComboBox::Clear()
{
    const QSignalBlocker block(m_combo);
    m_combo->clear();
}

void TComboBox::AddItem(std::string_view text, int tag)
{
    const QSignalBlocker block(m_combo);
    const int current = m_combo->currentIndex();
    m_combo->addItem(Q(text), tag);
    // The old list kept "nothing selected" when items were added.
    m_combo->setCurrentIndex(current);
}

std::string TComboBox::ItemText(int index) const { return S(m_combo->itemText(index)); }

void TComboBox::SetItemText(int index, std::string_view text)
{
    if (index >= 0 && index < m_combo->count())
        m_combo->setItemText(index, Q(text));
}

int TComboBox::ItemTag(int index) const
{
    return index >= 0 && index < m_combo->count() ? m_combo->itemData(index).toInt() : 0;
}

std::string TComboBox::Text() const { return S(m_combo->currentText()); }

// ---------------------------------------------------------------- TUpDown

TUpDown::TUpDown(QWidget* parent)
    : TControl(new QWidget(parent)), m_up(new QToolButton(m_widget)), m_down(new QToolButton(m_widget))
{
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    m_up->setAutoRepeat(true);
    m_down->setAutoRepeat(true);
    m_up->setFocusPolicy(Qt::NoFocus);
    m_down->setFocusPolicy(Qt::NoFocus);
    m_widget->resize(17, 21);
    auto relayout = [this] {
        const int h = m_widget->height();
        m_up->setGeometry(0, 0, m_widget->width(), h / 2);
        m_down->setGeometry(0, h / 2, m_widget->width(), h - h / 2);
    };
    relayout();
    class ResizeFilter final : public QObject {
    public:
        ResizeFilter(QObject* parent, std::function<void()> fn) : QObject(parent), m_fn(std::move(fn)) {}
        bool eventFilter(QObject* o, QEvent* e) override
        {
            if (e->type() == QEvent::Resize)
                m_fn();
            return QObject::eventFilter(o, e);
        }

    private:
        std::function<void()> m_fn;
    };
    m_widget->installEventFilter(new ResizeFilter(m_widget, relayout));
    QObject::connect(m_up, &QToolButton::clicked, m_widget, [this] { Step(+1); });
    QObject::connect(m_down, &QToolButton::clicked, m_widget, [this] { Step(-1); });
}

void TUpDown::SetMin(int min) { SetRange(min, m_max); }
void TUpDown::SetMax(int max) { SetRange(m_min, max); }

void TUpDown::SetRange(int min, int max)
{
    m_min = min;
    m_max = max;
    const int lo = std::min(m_min, m_max);
    const int hi = std::max(m_min, m_max);
    if (m_position < lo || m_position > hi)
        SetPosition(std::clamp(m_position, lo, hi));
}

bool TUpDown::ParsePosition(std::string_view text, int& position)
{
    std::string digits;
    for (char c : text)
        if (c != ' ' && c != ',' && c != '\xA0')
            digits.push_back(c);
    // A non-breaking space arrives as two UTF-8 bytes.
    std::string cleaned;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (digits[i] == '\xC2' && i + 1 < digits.size() && digits[i + 1] == '\xA0') {
            ++i;
            continue;
        }
        cleaned.push_back(digits[i]);
    }
    if (cleaned.empty())
        return false;
    const char* first = cleaned.data();
    if (*first == '+')
        ++first;
    const char* last = cleaned.data() + cleaned.size();
    int value = 0;
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last)
        return false;
    position = value;
    return true;
}

int TUpDown::Position() const
{
    if (!m_associate)
        return m_position;
    int value = 0;
    if (!ParsePosition(m_associate->Text(), value))
        return m_position;
    return std::clamp(value, std::min(m_min, m_max), std::max(m_min, m_max));
}

std::string TUpDown::PositionText(int position) const
{
    std::string digits = std::to_string(position < 0 ? -static_cast<long long>(position) : position);
    if (m_thousands && digits.size() > 3) {
        std::string grouped;
        const std::size_t lead = digits.size() % 3;
        for (std::size_t i = 0; i < digits.size(); ++i) {
            if (i != 0 && i >= lead && (i - lead) % 3 == 0)
                grouped.push_back(' ');
            grouped.push_back(digits[i]);
        }
        digits = grouped;
    }
    return position < 0 ? "-" + digits : digits;
}

void TUpDown::SetPosition(int position)
{
    m_position = std::clamp(position, std::min(m_min, m_max), std::max(m_min, m_max));
    WriteBuddy();
}

void TUpDown::WriteBuddy()
{
    if (m_associate)
        m_associate->SetText(PositionText(m_position));
}

void TUpDown::SetAssociate(TEdit* edit)
{
    m_associate = edit;
    if (!edit)
        return;
    // The old control glued itself to the right edge of its buddy.
    m_widget->setGeometry(edit->Left() + edit->Width(), edit->Top(), m_widget->width(), edit->Height());
    WriteBuddy();
}

void TUpDown::Step(int direction)
{
    if (!m_widget->isEnabled())
        return;
    const int current = Position();
    const long long wanted = static_cast<long long>(current) + static_cast<long long>(direction) * m_increment;
    const int next = static_cast<int>(std::clamp<long long>(wanted, std::min(m_min, m_max), std::max(m_min, m_max)));
    if (next == current)
        return;
    bool allow = true;
    try {
        if (OnChanging)
            OnChanging(this, allow);
        if (allow && OnChangingEx)
            OnChangingEx(this, allow, next, direction);
    } catch (...) {
        vcl::ReportCurrentException("event handler");
        allow = false;
    }
    if (!allow)
        return;
    m_position = next;
    WriteBuddy();
    vcl::Fire(OnClick, this);
}

// ---------------------------------------------------------------- TPanel

TPanel::TPanel(QWidget* parent)
    : TControl(new QFrame(parent)), m_frame(static_cast<QFrame*>(m_widget)), m_text(new QLabel(m_frame))
{
    m_frame->resize(185, 41);
    m_frame->setFrameShape(QFrame::Panel);
    m_frame->setFrameShadow(QFrame::Raised);
    m_text->setAlignment(Qt::AlignCenter);
    m_text->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_text->lower();
}

void TPanel::SetCaption(std::string_view caption)
{
    m_caption = caption;
    m_text->setText(Q(caption));
    m_text->setGeometry(0, 0, m_frame->width(), m_frame->height());
}

// ---------------------------------------------------------------- TScrollBar

TScrollBar::TScrollBar(QWidget* parent)
    : TControl(new QScrollBar(Qt::Horizontal, parent)), m_bar(static_cast<QScrollBar*>(m_widget))
{
    m_bar->resize(121, 17);
    m_bar->setRange(0, 100);
    QObject::connect(m_bar, &QScrollBar::valueChanged, m_bar, [this] { vcl::Fire(OnChange, this); });
}

int TScrollBar::Min() const
{
    return m_bar->minimum();
}
int TScrollBar::Position() const
{
    return m_bar->value();
}
void TScrollBar::SetMin(int min)
{
    m_bar->setMinimum(min);
}
void TScrollBar::SetMax(int max)
{
    m_max = max;
    ApplyRange();
}

void TScrollBar::ApplyRange()
{
    m_bar->setMaximum(std::max(m_bar->minimum(), m_pageSize > 0 ? m_max - m_pageSize + 1 : m_max));
    m_bar->setPageStep(m_pageSize > 0 ? m_pageSize : m_largeChange);
}

void TScrollBar::SetPageSize(int size)
{
    m_pageSize = std::max(0, size);
    ApplyRange();
}

void TScrollBar::SetSmallChange(int step)
{
    m_bar->setSingleStep(step);
}

void TScrollBar::SetVertical(bool vertical)
{
    m_bar->setOrientation(vertical ? Qt::Vertical : Qt::Horizontal);
}
void TScrollBar::SetPosition(int position)
{
    m_bar->setValue(position);
}
void TScrollBar::SetLargeChange(int step)
{
    m_largeChange = step;
    ApplyRange();
}

// ---------------------------------------------------------------- TColorBox

TColorBox::TColorBox(QWidget* parent) : TControl(new QComboBox(parent)), m_combo(static_cast<QComboBox*>(m_widget))
{
    m_combo->resize(145, 22);
    QObject::connect(m_combo, &QComboBox::activated, m_combo, [this] { vcl::Fire(OnChange, this); });
}

void TColorBox::Clear()
{
    const QSignalBlocker block(m_combo);
    m_combo->clear();
    m_colours.clear();
}

void TColorBox::AddItem(std::string_view name, TColor colour)
{
    const QSignalBlocker block(m_combo);
    const int current = m_combo->currentIndex();
    QPixmap swatch(22, 12);
    swatch.fill(vcl::ToQColor(colour));
    {
        QPainter p(&swatch);
        p.setPen(Qt::black);
        p.drawRect(0, 0, swatch.width() - 1, swatch.height() - 1);
    }
    m_combo->addItem(QIcon(swatch), Q(name));
    m_colours.push_back(colour);
    m_combo->setCurrentIndex(current);
}

int TColorBox::ItemCount() const { return m_combo->count(); }
int TColorBox::ItemIndex() const { return m_combo->currentIndex(); }

void TColorBox::SetItemIndex(int index)
{
    const QSignalBlocker block(m_combo);
    m_combo->setCurrentIndex(index >= -1 && index < m_combo->count() ? index : -1);
}

TColor TColorBox::ItemColor(int index) const
{
    return index >= 0 && index < static_cast<int>(m_colours.size()) ? m_colours[static_cast<std::size_t>(index)]
                                                                      : clBlack;
}

std::string TColorBox::ItemText(int index) const { return S(m_combo->itemText(index)); }

TColor TColorBox::Selected() const { return ItemColor(ItemIndex()); }

void TColorBox::SetSelected(TColor colour)
{
    const auto it = std::find(m_colours.begin(), m_colours.end(), colour);
    SetItemIndex(it == m_colours.end() ? -1 : static_cast<int>(it - m_colours.begin()));
}

// ---------------------------------------------------------------- TCGauge

TCGauge::TCGauge(QWidget* parent) : TControl(new GaugeWidget(parent, this))
{
    m_widget->resize(100, 20);
}

void TCGauge::SetMinValue(int value)
{
    if (value == m_min) return;
    m_min = value;
    Repaint();
}

void TCGauge::SetMaxValue(int value)
{
    if (value == m_max) return;
    m_max = value;
    Repaint();
}

void TCGauge::SetProgress(int value)
{
    if (value == m_progress)
        return;
    m_progress = value;
    Repaint();
}

int TCGauge::PercentDone() const
{
    const long long range = static_cast<long long>(m_max) - m_min;
    if (range <= 0)
        return 0;
    const long long done = std::clamp<long long>(static_cast<long long>(m_progress) - m_min, 0, range);
    return static_cast<int>(done * 100 / range);
}

void TCGauge::SetForeColor(TColor color)
{
    if (color == m_foreColor) return;
    m_foreColor = color;
    Repaint();
}

void TCGauge::SetBackColor(TColor color)
{
    if (color == m_backColor) return;
    m_backColor = color;
    Repaint();
}

void TCGauge::SetShowText(bool show)
{
    if (show == m_showText) return;
    m_showText = show;
    Repaint();
}

void TCGauge::SetVertical(bool vertical)
{
    m_vertical = vertical;
    Repaint();
}
