// An owner-drawn control receives Qt's input as the old framework's messages, in order.
#include "vcl/customcontrol.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "vcl/menus.h"

namespace {

class RecordingControl final : public TCustomControl
{
public:
    explicit RecordingControl(QWidget* parent) : TCustomControl(parent) {}
    void DefaultHandler(TMessage& m) override
    {
        std::ostringstream s;
        s << names[static_cast<int>(m.msg)];
        if (m.msg == TMsg::KeyDown || m.msg == TMsg::Char) s << " " << m.key;
        if (m.msg >= TMsg::MouseMove && m.msg <= TMsg::MouseLeave) s << " " << m.x << "," << m.y;
        if (m.msg == TMsg::MouseWheel) s << " d" << m.wheelDelta;
        if (m.msg == TMsg::Size) s << " " << m.x << "x" << m.y;
        if (m.shift & ssShift) s << " shift";
        if (m.shift & ssCtrl) s << " ctrl";
        if (m.shift & ssLeft) s << " left";
        log.push_back(s.str());
        if (m.msg == TMsg::KeyDown && (m.key == VK_RETURN || (m.key == VK_TAB && takeTab))) m.result = 1;
        if (throwOnWheel && m.msg == TMsg::MouseWheel) throw std::runtime_error("wheel fault");
    }
    void Paint() override
    {
        Canvas().Brush.Color = 0x0000FF;
        Canvas().FillRect({0, 0, Width(), Height()});
        ++paints;
    }
    std::vector<std::string> log;
    bool takeTab = false;
    bool throwOnWheel = false;
    int paints = 0;
    static constexpr const char* names[] = {"FocusIn", "FocusOut", "KeyDown", "Char",  "MouseMove", "LDown", "LUp",
                                            "LDbl",    "RDown",    "RUp",     "Wheel", "Leave",     "Size"};
};

class CustomControlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        window->resize(300, 200);
        control = std::make_unique<RecordingControl>(window.get());
        control->SetBounds(10, 10, 120, 80);
        other = new QLineEdit(window.get());
        other->move(10, 120);
        window->show();
        QApplication::setActiveWindow(window.get());
        other->setFocus();
        control->log.clear();
    }
    void send(QEvent& e) { QApplication::sendEvent(control->Widget(), &e); }
    void mouse(QEvent::Type type, Qt::MouseButton button, QPoint p, Qt::MouseButtons held)
    {
        QMouseEvent e(type, p, control->Widget()->mapToGlobal(p), button, held, Qt::NoModifier);
        send(e);
    }
    std::unique_ptr<QWidget> window;
    std::unique_ptr<RecordingControl> control;
    QLineEdit* other = nullptr;
};

}  // namespace

TEST_F(CustomControlTest, ScriptedInputArrivesAsMessages)
{
    QWidget* w = control->Widget();
    control->SetFocus();
    QTest::keyClick(w, Qt::Key_Right);
    QTest::keyClick(w, Qt::Key_5);
    QTest::keyClick(w, Qt::Key_Return);  // used by the control: no character follows
    QTest::keyClick(w, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(w, Qt::Key_Backspace);
    QTest::keyClick(w, Qt::Key_Insert, Qt::ShiftModifier);
    QTest::keyClick(w, Qt::Key_Backtab, Qt::ShiftModifier);  // not used: focus moves on
    mouse(QEvent::MouseMove, Qt::NoButton, {10, 12}, Qt::NoButton);
    mouse(QEvent::MouseButtonPress, Qt::LeftButton, {10, 12}, Qt::LeftButton);
    QWheelEvent held({10, 12}, w->mapToGlobal(QPoint(10, 12)), {}, {0, 120}, Qt::LeftButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    send(held);
    mouse(QEvent::MouseButtonRelease, Qt::LeftButton, {11, 12}, Qt::NoButton);
    mouse(QEvent::MouseButtonDblClick, Qt::LeftButton, {11, 12}, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, Qt::LeftButton, {11, 12}, Qt::NoButton);
    mouse(QEvent::MouseButtonPress, Qt::RightButton, {-3, 40}, Qt::RightButton);
    mouse(QEvent::MouseButtonRelease, Qt::RightButton, {-3, 40}, Qt::NoButton);
    QWheelEvent down({5, 6}, w->mapToGlobal(QPoint(5, 6)), {}, {0, -240}, Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    send(down);
    QEvent leave(QEvent::Leave);
    send(leave);
    control->SetBounds(10, 10, 150, 90);

    const std::vector<std::string> expected = {
        "FocusIn",          "KeyDown 39",       "KeyDown 53",
        "Char 53",          "KeyDown 13",       "KeyDown 17 ctrl",
        "KeyDown 67 ctrl",  "Char 3 ctrl",      "KeyDown 8",
        "Char 8",           "KeyDown 16 shift", "KeyDown 45 shift",
        "KeyDown 16 shift", "KeyDown 9 shift",  "FocusOut",
        "MouseMove 10,12",  "LDown 10,12 left", "Wheel 10,12 d120 left",
        "LUp 11,12",        "LDbl 11,12 left",  "LUp 11,12",
        "RDown -3,40",      "RUp -3,40",        "Wheel 5,6 d-240",
        "Leave 0,0",        "Size 150x90",
    };
    EXPECT_EQ(control->log, expected);
    EXPECT_TRUE(other->hasFocus());
}

TEST_F(CustomControlTest, UsedTabKeepsTheFocus)
{
    control->takeTab = true;
    control->SetFocus();
    QTest::keyClick(control->Widget(), Qt::Key_Tab);
    EXPECT_TRUE(control->Focused());
    EXPECT_EQ(control->log.back(), "KeyDown 9");
}

TEST_F(CustomControlTest, AnExceptionInTheHandlerStaysInTheLayer)
{
    std::string reported;
    vcl::SetExceptionHook([&](const std::string& text) { reported = text; });
    control->throwOnWheel = true;
    QWheelEvent wheel({5, 6}, {5, 6}, {}, {0, 120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    send(wheel);
    vcl::SetExceptionHook(nullptr);
    EXPECT_NE(reported.find("wheel fault"), std::string::npos);
}

TEST_F(CustomControlTest, PaintDrawsOnTheWidgetCanvas)
{
    const QImage shot = control->Widget()->grab().toImage();
    EXPECT_GE(control->paints, 1);
    EXPECT_EQ(shot.pixel(5, 5), qRgb(255, 0, 0));
}

TEST_F(CustomControlTest, HintShowsItsShortPartOnlyWhileSwitchedOn)
{
    control->SetHintText("Copy|Copies the selection");
    QHelpEvent off(QEvent::ToolTip, {5, 5}, control->Widget()->mapToGlobal(QPoint(5, 5)));
    send(off);
    EXPECT_EQ(control->ShownHint(), "");
    control->SetShowHint(true);
    QHelpEvent on(QEvent::ToolTip, {5, 5}, control->Widget()->mapToGlobal(QPoint(5, 5)));
    send(on);
    EXPECT_EQ(control->ShownHint(), "Copy");
    control->SetShowHint(false);
    EXPECT_EQ(control->ShownHint(), "");
}

TEST_F(CustomControlTest, CursorAndKeyState)
{
    control->SetCursor(crIBeam);
    EXPECT_EQ(control->Widget()->cursor().shape(), Qt::IBeamCursor);
    control->SetCursor(crDefault);
    EXPECT_EQ(control->Widget()->cursor().shape(), Qt::ArrowCursor);
    vcl::SetKeyStateSource([] { return ssShift | ssCtrl; });
    EXPECT_EQ(vcl::KeyboardShiftState(), ssShift | ssCtrl);
    vcl::SetKeyStateSource(nullptr);
    // Without a source the keys follow the input events the program took: pressed, both, released.
    QWidget* w = control->Widget();
    QTest::keyPress(w, Qt::Key_Shift, Qt::ShiftModifier);
    EXPECT_EQ(vcl::KeyboardShiftState() & (ssShift | ssCtrl), ssShift);
    QTest::keyPress(w, Qt::Key_Control, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(vcl::KeyboardShiftState() & (ssShift | ssCtrl), ssShift | ssCtrl);
    QTest::keyRelease(w, Qt::Key_Control, Qt::ShiftModifier);
    QTest::keyRelease(w, Qt::Key_Shift, Qt::NoModifier);
    EXPECT_EQ(vcl::KeyboardShiftState() & (ssShift | ssCtrl), 0u);
}

TEST(PopupMenu, ItemsAreBuiltAnewAndClickedLater)
{
    TPopupMenu menu(nullptr);
    int clicked = -1;
    for (int round = 0; round < 2; ++round) {
        menu.Items().Clear();
        menu.Items().Add("a", "Copy")->OnClick = [&](TObject*) { clicked = 0; };
        menu.Items().AddSeparator();
        TMenuItem* b = menu.Items().Add("b", "Paste");
        b->OnClick = [&](TObject*) { clicked = 1; };
        b->SetChecked(true);
    }
    EXPECT_EQ(menu.Items().Count(), 3);
    menu.Popup(20, 20);
    EXPECT_TRUE(menu.Visible());
    EXPECT_EQ(clicked, -1);  // showing runs nothing
    menu.Items().Item(2)->Action()->trigger();
    EXPECT_EQ(clicked, 1);
    EXPECT_TRUE(menu.Items().Item(2)->Checked());
    menu.Close();
}

TEST(CustomControlLifetime, TheParentWindowMayGoFirst)
{
    auto window = std::make_unique<QWidget>();
    auto control = std::make_unique<RecordingControl>(window.get());
    window.reset();   // takes the control's widget with it
    control.reset();  // and the control does not delete it again
    auto kept = std::make_unique<QWidget>();
    auto first = std::make_unique<RecordingControl>(kept.get());
    first.reset();  // the other way round: the widget goes with the control
    EXPECT_TRUE(kept->findChildren<QWidget*>().isEmpty());
}
