#include "shell/about.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QWidget>
#include <regex>

#include <gtest/gtest.h>

#include "os/lngtext.h"
#include "vcl/image.h"

namespace {

class AboutTest : public testing::Test {
protected:
    void TearDown() override { SetLanguageIndex(LNG_ENGLISH); }
    TFormAbout form;
};

}  // namespace

TEST_F(AboutTest, CaptionFollowsTheLanguageChosenBeforeActivation)
{
    struct Case {
        int language;
        const char* caption;
    };
    constexpr Case kCases[] = {
        {LNG_ENGLISH, "About Kelvora_12"},
        {LNG_GERMAN, "Über Programm Kelvora_12"},
        {LNG_CZECH, "O programu Kelvora_12"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.caption);
        SetLanguageIndex(c.language);
        ASSERT_TRUE(form.OnActivate);
        form.OnActivate(&form);
        EXPECT_EQ(form.Caption(), c.caption);
    }
}

TEST_F(AboutTest, ActivationResetsSizeAndPictures)
{
    form.SetWidth(600);
    form.SetHeight(120);
    form.Image1->SetVisible(false);
    form.Image2->SetVisible(true);
    form.Image5->SetVisible(true);
    form.OnActivate(&form);
    EXPECT_EQ(form.Width(), 256);
    EXPECT_EQ(form.Height(), 309);
    // Visibility as the window would show it: Image1 shown, the larger pictures hidden.
    EXPECT_FALSE(form.Image1->Widget()->isHidden());
    EXPECT_TRUE(form.Image2->Widget()->isHidden());
    EXPECT_TRUE(form.Image5->Widget()->isHidden());
    EXPECT_TRUE(form.Image1->HasPicture());
}

TEST_F(AboutTest, CreateShowsVersionAndBuildTimeAndCentres)
{
    EXPECT_EQ(form.LabelRsKey->Caption(), "Version - 309");
    EXPECT_TRUE(std::regex_match(form.LabelDate->Caption(), std::regex("[A-Z][a-z]{2} [ 1-3][0-9] [0-9]{4}")))
        << form.LabelDate->Caption();
    EXPECT_TRUE(std::regex_match(form.LabelTime->Caption(), std::regex("[0-2][0-9]:[0-5][0-9]:[0-5][0-9]")))
        << form.LabelTime->Caption();
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(form.Left(), screen->geometry().width() / 2 - form.Width() / 2);
    EXPECT_EQ(form.Top(), screen->geometry().height() / 2 - form.Height() / 2);
    EXPECT_EQ(form.Color(), clWhite);
}

TEST_F(AboutTest, ClickOnTheExitLabelClosesTheWindow)
{
    form.ShowModal();
    ASSERT_TRUE(form.Widget()->isVisible());
    EXPECT_EQ(form.LabelExit->Caption(), "OK");
    QWidget* exit = form.LabelExit->Widget();
    const QPointF centre(exit->width() / 2.0, exit->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, centre, exit->mapToGlobal(centre), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, exit->mapToGlobal(centre), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(exit, &press);
    QApplication::sendEvent(exit, &release);
    EXPECT_FALSE(form.Widget()->isVisible());
}
