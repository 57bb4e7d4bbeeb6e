// The main window's side of the status line and the language switch.
#include "shell/status.h"

#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "os/lngtext.h"
#include "shell/mainform.h"
#include "vcl/dialogs.h"

namespace {

class MainWindowTextsTest : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/kelvora_texts_XXXXXX";
        configDir = mkdtemp(pattern);
        setenv("XDG_CONFIG_HOME", configDir.c_str(), 1);
        SetLanguageIndex(LNG_ENGLISH);
        form = std::make_unique<TMainForm>(clock, std::vector<std::string>{});
        form->FormCreate(form.get());
    }
    void TearDown() override
    {
        form.reset();
        SetLanguageIndex(LNG_ENGLISH);
        std::filesystem::remove_all(configDir);
    }

    void tick(int n)
    {
        for (int i = 0; i < n; ++i)
            form->Timer1->Fire();
    }

    std::filesystem::path configDir;
    os::LinkClock clock;
    vcl::ScopedDialogScript dialogs;
    std::unique_ptr<TMainForm> form;
};

TEST_F(MainWindowTextsTest, SlotMessagesExpireWithTheMainTimer)
{
    SetStatusSlot(*form, 2, "###Read: OK##Lesen: OK##Čtení: OK", 2000, kColorUnchanged, clLime, 10);
    EXPECT_TRUE(form->LabelResult->Visible());
    EXPECT_EQ(form->LabelResult->Caption(), "Read: OK");
    tick(40);
    EXPECT_TRUE(form->LabelResult->Visible());
    tick(2);
    EXPECT_FALSE(form->LabelResult->Visible());
    EXPECT_FALSE(form->CGaugeProgram->Visible());
}

TEST_F(MainWindowTextsTest, LanguageMenuRefillsTheMessageTable)
{
    EXPECT_EQ(form->languageTables.messages[MSG_OPEN_FILE_ERROR], "Open file error!");
    EXPECT_TRUE(form->MainMenu1->Find("MenuEnglish")->Checked());

    form->MainMenu1->Find("MenuGerman")->Click();
    EXPECT_EQ(GetLanguageIndex(), LNG_GERMAN);
    EXPECT_EQ(form->languageTables.messages[MSG_OPEN_FILE_ERROR], "Fehler beim Öffnen der Datei!");
    EXPECT_EQ(form->languageTables.messages[116], "Lambdawärmung - 0%");
    EXPECT_EQ(form->languageTables.messages[MSG_POSITION], "Lage");
    EXPECT_TRUE(form->MainMenu1->Find("MenuGerman")->Checked());
    EXPECT_FALSE(form->MainMenu1->Find("MenuEnglish")->Checked());

    const auto german = form->languageTables.messages;
    const std::string caption = form->Caption();
    form->MainMenu1->Find("MenuGerman")->Click();
    EXPECT_EQ(form->languageTables.messages, german);
    EXPECT_EQ(form->Caption(), caption);

    form->MainMenu1->Find("MenuCzech")->Click();
    EXPECT_EQ(form->languageTables.messages[102], "malé TP nebo IAP - před prvním bodem");
    EXPECT_EQ(form->languageTables.messages[70], "Tacho/Lambda");
}

TEST_F(MainWindowTextsTest, MalformedLiteralIsReportedOnceInABox)
{
    ResetLngTextErrorReports();
    dialogs.AnswerMessage(IDOK);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(GetLngText("##broken##literal"), "##broken##literal");
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].caption, "Error");
    EXPECT_EQ(dialogs.Messages()[0].text.rfind("Chybi ### na zacatku", 0), 0u);
}

TEST_F(MainWindowTextsTest, MessageBoxesGoThroughTheHook)
{
    dialogs.AnswerMessage(IDOK);
    dialogs.AnswerMessage(IDYES);
    SetLanguageIndex(LNG_CZECH);
    EXPECT_EQ(MsgBoxError("###Open file error!##Fehler beim Öffnen der Datei!##Chyba při otevírání souboru!", MB_OK),
              IDOK);
    EXPECT_EQ(MsgBox("Sure?", "###Warning##Warnung##Varování", MB_YESNO), IDYES);
    ASSERT_EQ(dialogs.Messages().size(), 2u);
    EXPECT_EQ(dialogs.Messages()[0].text, "Chyba při otevírání souboru!");
    EXPECT_EQ(dialogs.Messages()[0].caption, "Error");
    EXPECT_EQ(dialogs.Messages()[0].flags, MB_OK | MB_ICONSTOP);
    EXPECT_EQ(dialogs.Messages()[1].caption, "Varování");
}

}  // namespace
