#include "vcl/customcontrol.h"

#include <QCursor>
#include <QEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QToolTip>
#include <QWheelEvent>
#include <QWidget>
#include <algorithm>
#include <array>
#include <utility>

#include "vcl/qtcolor.h"

namespace {

struct KeyRow
{
    int qtKey;
    int vk;
};

// Qt keys that have a virtual-key code of their own; letters and digits map to their capital ASCII code.
constexpr std::array<KeyRow, 23> kKeys{{
    {Qt::Key_Backspace, VK_BACK},  {Qt::Key_Tab, VK_TAB},       {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Return, VK_RETURN},   {Qt::Key_Enter, VK_RETURN},  {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL}, {Qt::Key_Escape, VK_ESCAPE}, {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR},    {Qt::Key_PageDown, VK_NEXT}, {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME},       {Qt::Key_Left, VK_LEFT},     {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},     {Qt::Key_Down, VK_DOWN},     {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},   {Qt::Key_Plus, 0xBB},        {Qt::Key_Minus, 0xBD},
    {Qt::Key_Comma, 0xBC},         {Qt::Key_Period, 0xBE},
}};

int virtualKey(const QKeyEvent& e)
{
    const int key = e.key();
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return key;  // Qt's codes of letters and digits are their ASCII capitals, as the virtual keys
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return VK_F1 + (key - Qt::Key_F1);
    if (e.modifiers() & Qt::KeypadModifier) {
        if (key == Qt::Key_Plus) return VK_ADD;
        if (key == Qt::Key_Minus) return VK_SUBTRACT;
    }
    for (const KeyRow& row : kKeys)
        if (row.qtKey == key) return row.vk;
    return 0;
}

// The character message of a key press: control characters as the old framework made them, else the text.
int characterCode(const QKeyEvent& e)
{
    const int key = e.key();
    const bool ctrl = e.modifiers() & Qt::ControlModifier;
    if (ctrl && key >= Qt::Key_A && key <= Qt::Key_Z) return key - Qt::Key_A + 1;
    switch (key) {
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return 9;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Escape:
            return 27;
        default:
            break;
    }
    if (ctrl) return 0;
    const QString text = e.text();
    if (text.isEmpty()) return 0;
    const char16_t c = text.at(0).unicode();
    return c >= 32 && c != 127 ? c : 0;
}

unsigned shiftOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons)
{
    unsigned s = 0;
    if (modifiers & Qt::ShiftModifier) s |= ssShift;
    if (modifiers & Qt::ControlModifier) s |= ssCtrl;
    if (modifiers & Qt::AltModifier) s |= ssAlt;
    if (buttons & Qt::LeftButton) s |= ssLeft;
    if (buttons & Qt::RightButton) s |= ssRight;
    if (buttons & Qt::MiddleButton) s |= ssMiddle;
    return s;
}

// Keys an owner-drawn control takes before the window's short cuts: typing, navigation, Tab, and the clipboard
// keys Ctrl+C, Ctrl+V, Ctrl+Insert and Shift+Insert. Other Ctrl and Alt combinations and function keys stay
// the menus'.
bool overridesShortcut(const QKeyEvent& e)
{
    const Qt::KeyboardModifiers m = e.modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    const int key = e.key();
    if (m == Qt::ControlModifier) return key == Qt::Key_C || key == Qt::Key_V || key == Qt::Key_Insert;
    if (m != Qt::NoModifier) return false;
    const int vk = virtualKey(e);
    return (vk >= VK_BACK && vk <= VK_RETURN) || vk == VK_ESCAPE || (vk >= VK_SPACE && vk <= VK_DELETE) ||
           characterCode(e) >= 32;
}

std::function<unsigned()>& keyStateSource()
{
    static std::function<unsigned()> source;
    return source;
}

Qt::CursorShape shapeOf(TCursor cursor)
{
    switch (cursor) {
        case crCross:
            return Qt::CrossCursor;
        case crIBeam:
            return Qt::IBeamCursor;
        case crSizeAll:
            return Qt::SizeAllCursor;
        case crSizeNESW:
            return Qt::SizeBDiagCursor;
        case crSizeNS:
            return Qt::SizeVerCursor;
        case crSizeNWSE:
            return Qt::SizeFDiagCursor;
        case crSizeWE:
            return Qt::SizeHorCursor;
        default:
            return Qt::ArrowCursor;
    }
}

}  // namespace

namespace vcl {

unsigned KeyboardShiftState()
{
    if (keyStateSource()) return keyStateSource()();
    // The keys as of the last input event this program took from its queue, the way a message-driven program
    // sees them: asking the display server instead costs a round trip on every timer tick of every control.
    return shiftOf(QGuiApplication::keyboardModifiers(), QGuiApplication::mouseButtons());
}

void SetKeyStateSource(std::function<unsigned()> source)
{
    keyStateSource() = std::move(source);
}

}  // namespace vcl

int vcl::VirtualKeyOf(const QKeyEvent& event)
{
    return virtualKey(event);
}

void SetCursorPos(int x, int y)
{
    QCursor::setPos(x, y);
}

// The Qt widget of a custom control: turns Qt's events into the control's messages.
class ControlWidget final : public QWidget
{
public:
    ControlWidget(QWidget* parent, TCustomControl* control) : QWidget(parent), m_control(control)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMouseTracking(true);
        setFocusPolicy(Qt::StrongFocus);
    }
    ~ControlWidget() override
    {
        if (m_control)
            m_control->m_control = nullptr;  // the parent window went first: the control must not delete us again
    }
    void Detach() { m_control = nullptr; }

protected:
    bool event(QEvent* event) override
    {
        if (!m_control) return QWidget::event(event);
        switch (event->type()) {
            case QEvent::ShortcutOverride: {
                // The control sees its keys before the window's menu short cuts and before the focus chain.
                if (overridesShortcut(*static_cast<QKeyEvent*>(event))) event->accept();
                return QWidget::event(event);
            }
            case QEvent::KeyPress: {
                if (keyPress(*static_cast<QKeyEvent*>(event))) return true;
                // An unused key goes on as usual: Tab moves the focus, others go to the parent.
                return QWidget::event(event);
            }
            case QEvent::ToolTip: {
                auto* help = static_cast<QHelpEvent*>(event);
                const std::string& hint = m_control->Hint();
                const std::string_view shortHint = std::string_view(hint).substr(0, hint.find('|'));
                if (m_control->ShowHint() && !shortHint.empty())
                    QToolTip::showText(help->globalPos(), vcl::Q(shortHint), this);
                else
                    QToolTip::hideText();
                return true;
            }
            case QEvent::Leave:
                send(TMsg::MouseLeave, 0, 0, 0, Qt::NoModifier, Qt::NoButton);
                return QWidget::event(event);
            default:
                return QWidget::event(event);
        }
    }
    void paintEvent(QPaintEvent*) override
    {
        if (!m_control) return;
        TCanvas& canvas = m_control->Canvas();
        canvas.SetDevice(this);
        try {
            m_control->Paint();
        } catch (...) {
            vcl::ReportCurrentException("Paint");
        }
        canvas.SetDevice(nullptr);
    }
    void focusInEvent(QFocusEvent* e) override
    {
        QWidget::focusInEvent(e);
        send(TMsg::FocusIn, 0, 0, 0, Qt::NoModifier, Qt::NoButton);
    }
    void focusOutEvent(QFocusEvent* e) override
    {
        QWidget::focusOutEvent(e);
        send(TMsg::FocusOut, 0, 0, 0, Qt::NoModifier, Qt::NoButton);
    }
    void mouseMoveEvent(QMouseEvent* e) override { mouse(TMsg::MouseMove, *e); }
    void mousePressEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton)
            mouse(TMsg::LButtonDown, *e);
        else if (e->button() == Qt::RightButton)
            mouse(TMsg::RButtonDown, *e);
        else if (e->button() == Qt::MiddleButton)
            mouse(TMsg::MButtonDown, *e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton)
            mouse(TMsg::LButtonUp, *e);
        else if (e->button() == Qt::RightButton)
            mouse(TMsg::RButtonUp, *e);
        else if (e->button() == Qt::MiddleButton)
            mouse(TMsg::MButtonUp, *e);
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton)
            mouse(TMsg::LButtonDblClk, *e);
        else if (e->button() == Qt::RightButton)
            mouse(TMsg::RButtonDown, *e);
        else if (e->button() == Qt::MiddleButton)
            mouse(TMsg::MButtonDown, *e);
    }
    void wheelEvent(QWheelEvent* e) override
    {
        const QPoint angle = e->angleDelta();
        const int delta = angle.y() != 0 ? angle.y() : angle.x();
        if (delta == 0) return;
        const QPoint p = e->position().toPoint();
        send(TMsg::MouseWheel, 0, p.x(), p.y(), e->modifiers(), e->buttons(), delta);
        e->accept();
    }
    void resizeEvent(QResizeEvent* e) override
    {
        QWidget::resizeEvent(e);
        send(TMsg::Size, 0, width(), height(), Qt::NoModifier, Qt::NoButton);
    }

private:
    void mouse(TMsg msg, const QMouseEvent& e)
    {
        const QPoint p = e.position().toPoint();
        send(msg, 0, p.x(), p.y(), e.modifiers(), e.buttons());
    }
    // The key-down message, then, unless the control used it, the character message.
    bool keyPress(const QKeyEvent& e)
    {
        const QPointer<ControlWidget> alive(this);
        int used = 0;
        if (const int vk = virtualKey(e); vk != 0)
            used = send(TMsg::KeyDown, vk, 0, 0, e.modifiers(), QGuiApplication::mouseButtons());
        if (!alive || !m_control) return true;
        // Tab's character would only repeat its key-down; an unused Tab moves the focus instead.
        if (used == 0)
            if (const int ch = characterCode(e); ch != 0 && ch != 9)
                used = send(TMsg::Char, ch, 0, 0, e.modifiers(), QGuiApplication::mouseButtons());
        return used != 0;
    }
    int send(TMsg msg, int key, int x, int y, Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons,
             int wheelDelta = 0)
    {
        TMessage m;
        m.msg = msg;
        m.key = key;
        m.x = x;
        m.y = y;
        m.wheelDelta = wheelDelta;
        m.shift = shiftOf(modifiers, buttons);
        if (m_control) m_control->Perform(m);
        return m.result;
    }

    TCustomControl* m_control;
};

TCustomControl::TCustomControl(QWidget* parent)
    : TControl(new ControlWidget(parent, this)), m_control(static_cast<ControlWidget*>(m_widget))
{
}

TCustomControl::~TCustomControl()
{
    m_canvas.SetDevice(nullptr);
    if (m_control) {
        m_control->Detach();
        delete m_control;
    }
}

void TCustomControl::DefaultHandler(TMessage&) {}

void TCustomControl::Perform(TMessage& message)
{
    try {
        DefaultHandler(message);
    } catch (...) {
        vcl::ReportCurrentException("message handler");
    }
}

void TCustomControl::Invalidate()
{
    m_widget->update();
}

void TCustomControl::Invalidate(const TRect& part)
{
    m_widget->update(QRect(part.left, part.top, part.Width(), part.Height()));
}

void TCustomControl::SetCursor(TCursor cursor)
{
    m_cursor = cursor;
    m_widget->setCursor(shapeOf(cursor));
}

TPoint TCustomControl::ClientOrigin() const
{
    const QPoint p = m_widget->mapToGlobal(QPoint(0, 0));
    return {p.x(), p.y()};
}

TPoint TCustomControl::ClientToScreen(TPoint p) const
{
    const QPoint s = m_widget->mapToGlobal(QPoint(p.x, p.y));
    return {s.x(), s.y()};
}

bool TCustomControl::CanFocus() const
{
    return m_widget->isVisible() && m_widget->isEnabled() && m_widget->focusPolicy() != Qt::NoFocus;
}

void TCustomControl::SetTakesFocus(bool takes)
{
    m_widget->setFocusPolicy(takes ? Qt::StrongFocus : Qt::NoFocus);
}

void TCustomControl::SetShowHint(bool show)
{
    if (show == m_showHint) return;
    m_showHint = show;
    showHintNow();
}

void TCustomControl::SetHintText(std::string_view hint)
{
    if (hint == Hint()) return;
    SetHint(hint);
    showHintNow();
}

void TCustomControl::showHintNow()
{
    // A tip on the screen follows the hint at once; a new one appears when the pointer rests.
    if (!QToolTip::isVisible()) return;
    const std::string_view shortHint = std::string_view(Hint()).substr(0, Hint().find('|'));
    if (m_showHint && !shortHint.empty() && m_widget->underMouse())
        QToolTip::showText(QCursor::pos(), vcl::Q(shortHint), m_widget);
    else
        QToolTip::hideText();
}

std::string TCustomControl::ShownHint() const
{
    return m_showHint && QToolTip::isVisible() ? vcl::S(QToolTip::text()) : std::string();
}
