// The live display sets every label and gauge on every frame: setting what a control already shows must not draw
// it again, and a change must.
#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QWidget>

#include <gtest/gtest.h>

#include "vcl/controls.h"
#include "vcl/forms.h"

namespace {

class PaintCounter final : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// Runs what the event loop has queued, paints included, until nothing is left.
void Settle()
{
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

// Settles until `counter` saw a paint; false after a generous number of rounds.
bool PaintedOnce(PaintCounter& counter)
{
    for (int i = 0; i < 200 && counter.paints == 0; ++i) Settle();
    return counter.paints > 0;
}

TEST(VclRedraw, ControlsSetToWhatTheyShowDrawNothingAndAChangeDraws)
{
    TForm form;
    form.SetClientSize(300, 120);
    auto* label = form.Make<TLabel>(nullptr, "LabelRpm");
    label->SetBounds(10, 10, 200, 20);
    auto* gauge = form.Make<TCGauge>(nullptr, "CGaugeRpm");
    gauge->SetBounds(10, 40, 200, 15);
    PaintCounter labelPaints, gaugePaints;
    label->Widget()->installEventFilter(&labelPaints);
    gauge->Widget()->installEventFilter(&gaugePaints);

    auto frame = [&](const char* text, TColor color, int progress) {
        label->SetCaption(text);
        label->SetColor(color);
        label->SetFontSize(12);
        label->SetVisible(true);
        label->SetEnabled(true);
        gauge->SetProgress(progress);
        gauge->SetForeColor(clBlue);
        gauge->SetVisible(true);
    };
    frame("RPM= 4200", clLime, 40);
    form.Show();
    ASSERT_TRUE(PaintedOnce(labelPaints));
    ASSERT_TRUE(PaintedOnce(gaugePaints));
    Settle();

    // Ten frames that bring the same values.
    labelPaints.paints = gaugePaints.paints = 0;
    for (int i = 0; i < 10; ++i) {
        frame("RPM= 4200", clLime, 40);
        Settle();
    }
    EXPECT_EQ(labelPaints.paints, 0);
    EXPECT_EQ(gaugePaints.paints, 0);

    // A new text draws the label; the gauge whose value stayed is left alone.
    frame("RPM= 4321", clLime, 40);
    EXPECT_TRUE(PaintedOnce(labelPaints));
    Settle();
    EXPECT_EQ(gaugePaints.paints, 0);
    // A new colour and a new position draw too.
    labelPaints.paints = 0;
    frame("RPM= 4321", clRed, 41);
    EXPECT_TRUE(PaintedOnce(labelPaints));
    EXPECT_TRUE(PaintedOnce(gaugePaints));
}

}  // namespace
