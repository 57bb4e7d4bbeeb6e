// The main window as the program creates it: started up while the application creates it, with pictures on its
// tool buttons and hints in the current language.
#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>
#include <QToolButton>

#include "noports.h"
#include "os/lngtext.h"
#include "shell/appsettings.h"
#include "shell/mainform.h"
#include "shell/toolicons.h"
#include "startedform.h"

TEST_F(StartedFormTest, MainWindowStartsUpWhileTheApplicationCreatesIt)
{
    int argc = 1;
    char name[] = "kelvora";
    char* argv[] = {name, nullptr};
    TApplication app(argc, argv);
    auto* main = app.CreateForm<TMainForm>(clock, std::vector<std::string>{}, NoPorts());
    // Every later window finds the main window started: its settings read, its pages built.
    EXPECT_EQ(main->initialised, 1);
    EXPECT_EQ(app.MainForm, main);
}

TEST_F(StartedFormTest, ToolButtonsShowPicturesAndTheHintsOfTheLanguage)
{
    for (TSpeedButton* button : {form->SpeedButtonNew, form->SpeedButtonOpen, form->SpeedButtonSave,
                                 form->SpeedButtonPrint, form->SpeedButtonZpet, form->SpeedButtonZnovu}) {
        SCOPED_TRACE(button->Name());
        const auto* tool = static_cast<const QToolButton*>(button->Widget());
        EXPECT_FALSE(tool->icon().isNull());
        EXPECT_EQ(tool->toolButtonStyle(), Qt::ToolButtonIconOnly);
        EXPECT_FALSE(button->Hint().empty());
    }
    EXPECT_EQ(form->SpeedButtonOpen->Hint(), "Open file with parametrs");
    SetLanguageIndex(LNG_GERMAN);
    ApplyLanguage(*form);
    EXPECT_EQ(form->SpeedButtonOpen->Hint(), "Kenndatendatei öffnen");
    EXPECT_EQ(form->MainMenu1->Find("MenuOpen")->Hint(), "Kenndatendatei öffnen");
    EXPECT_EQ(form->SpeedButtonZpet->Hint(), "Zurück");
    SetLanguageIndex(LNG_ENGLISH);
}

// The pictures drawn for a desktop whose theme lacks an icon: different, non-empty pictures.
TEST(ToolIcons, DrawnFallbacksAreDistinctPictures)
{
    std::vector<QImage> pictures;
    for (ToolPicture picture :
         {ToolPicture::New, ToolPicture::Open, ToolPicture::Save, ToolPicture::Print, ToolPicture::Undo,
          ToolPicture::Redo, ToolPicture::Record, ToolPicture::Play, ToolPicture::Pause, ToolPicture::Stop}) {
        SCOPED_TRACE(ToolIconName(picture));
        const QImage image = DrawToolPicture(picture);
        ASSERT_EQ(image.size(), QSize(20, 20));
        int inked = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) inked += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
        EXPECT_GT(inked, 30);
        for (const QImage& other : pictures) EXPECT_NE(image, other);
        pictures.push_back(image);
    }
}
