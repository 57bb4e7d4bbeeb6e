#include <cstdlib>
#include <filesystem>

#include <QPixmap>
#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

#include "os/files.h"
#include "os/lngtext.h"
#include "shell/mainform.h"
#include "noports.h"
#include "shell/settingsfiles.h"
#include "vcl/dialogs.h"

namespace {

class MainFormTest : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/kelvora_shell_XXXXXX";
        configDir = mkdtemp(pattern);
        setenv("XDG_CONFIG_HOME", configDir.c_str(), 1);
        SetLanguageIndex(LNG_ENGLISH);
    }
    void TearDown() override { std::filesystem::remove_all(configDir); }

    std::unique_ptr<TMainForm> makeStarted(std::vector<std::string> args = {})
    {
        auto form = std::make_unique<TMainForm>(clock, std::move(args), NoPorts());
        form->FormCreate(form.get());
        return form;
    }

    std::filesystem::path configDir;
    os::LinkClock clock;
    vcl::ScopedDialogScript dialogs;
};

}  // namespace

TEST_F(MainFormTest, StartsRunsTicksAndCloses)
{
    auto form = makeStarted();
    EXPECT_EQ(form->initialised, 1);
    EXPECT_EQ(form->PageControl1->PageCount(), kPageCount);
    EXPECT_EQ(form->tabSheets[PAGE_ADVANCE]->Name(), "TabSheet_Advance");
    EXPECT_EQ(form->tabSheets[PAGE_SERVOS]->Name(), "TabSheet_Servo");
    EXPECT_EQ(form->tabSheets[PAGE_MONITOR]->Name(), "TabSheet_Monitor");
    EXPECT_EQ(form->tabSheets[PAGE_MAINTENANCE]->Name(), "TabMaintenance");
    EXPECT_FALSE(form->tabSheets[PAGE_KNOCK]->TabVisible());
    EXPECT_FALSE(form->tabSheets[PAGE_OBD]->TabVisible());
    EXPECT_TRUE(std::filesystem::is_directory(configDir / "Quorvane" / "Kelvora_12" / "309"));
    for (int i = 0; i < 300; ++i)
        form->Timer1->Fire();
    EXPECT_EQ(form->tickCounter, 300);
    EXPECT_EQ(clock.now(), 300u * 50u);
    EXPECT_FALSE(form->ButtonRead->Enabled());  // no port in use
    EXPECT_FALSE(form->MenuCompareDevice->Enabled());
    TCloseAction action = TCloseAction::caHide;
    form->FormClose(form.get(), action);
    form.reset();
    EXPECT_TRUE(dialogs.Messages().empty());
}

TEST_F(MainFormTest, TickBeforeStartUpOnlyCounts)
{
    TMainForm form(clock, {}, NoPorts());
    form.Timer1->Fire();
    form.Timer1->Fire();
    EXPECT_EQ(form.tickCounter, 2);
    EXPECT_EQ(clock.now(), 100u);
    EXPECT_EQ(form.initialised, 0);
}

TEST_F(MainFormTest, FirstCommandLineWordChoosesTheLanguage)
{
    struct Case {
        std::vector<std::string> args;
        int language;
    };
    const Case cases[] = {
        {{"DEUTSCH"}, LNG_GERMAN}, {{"CESKY", "ENGLISH"}, LNG_CZECH}, {{"deutsch"}, LNG_ENGLISH},
        {{"x", "DEUTSCH"}, LNG_ENGLISH}, {{}, LNG_ENGLISH},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.empty() ? "none" : c.args.front());
        SetLanguageIndex(LNG_ENGLISH);
        std::filesystem::remove_all(configDir / "Quorvane");  // no stored language
        auto form = makeStarted(c.args);
        EXPECT_EQ(GetLanguageIndex(), c.language);
    }
    SetLanguageIndex(LNG_ENGLISH);
}

TEST_F(MainFormTest, UndoAndRedoFollowTheRing)
{
    auto form = makeStarted();
    EXPECT_FALSE(form->SpeedButtonZpet->Enabled());
    form->images.image[3000] = static_cast<std::uint8_t>(form->images.image[3000] + 42);
    const std::uint8_t changed = form->images.image[3000];
    EXPECT_TRUE(form->NoteImageChange());
    EXPECT_TRUE(form->SpeedButtonZpet->Enabled());
    EXPECT_TRUE(form->MenuZpet->Enabled());
    EXPECT_EQ(form->images.changeMarks[3000], 1);
    EXPECT_FALSE(form->NoteImageChange());  // nothing new

    form->CheckBoxProgHned->SetChecked(true);
    form->requestCode = 0;
    form->SpeedButtonZpetClick(nullptr);
    EXPECT_NE(form->images.image[3000], changed);
    EXPECT_EQ(form->requestCode, 98);  // programming after a change follows the undo too
    EXPECT_FALSE(form->SpeedButtonZpet->Enabled());
    EXPECT_TRUE(form->SpeedButtonZnovu->Enabled());
    form->SpeedButtonZnovuClick(nullptr);
    EXPECT_EQ(form->images.image[3000], changed);
    EXPECT_FALSE(form->MenuZnovu->Enabled());
}

TEST_F(MainFormTest, UndoSwitchesToThePageOfTheUndoneChange)
{
    auto form = makeStarted();
    form->PageControl1->SetActivePageIndex(PAGE_IDLE);
    form->PageControl1Change(nullptr);
    ASSERT_EQ(form->currentPage, PAGE_IDLE);
    form->images.image[4000] ^= 0x5A;
    form->NoteImageChange();
    form->PageControl1->SetActivePageIndex(PAGE_GEAR);
    form->PageControl1Change(nullptr);
    form->images.image[4001] ^= 0x5A;
    form->NoteImageChange();
    form->PageControl1->SetActivePageIndex(PAGE_BIKE);
    form->PageControl1Change(nullptr);
    ASSERT_TRUE(form->undoRing.CanUndo());
    EXPECT_EQ(form->undoRing.SlotPage(form->undoRing.Current()), PAGE_GEAR);
    form->SpeedButtonZpetClick(nullptr);
    EXPECT_EQ(form->currentPage, PAGE_GEAR);
    form->SpeedButtonZpetClick(nullptr);
    EXPECT_EQ(form->currentPage, PAGE_IDLE);
    form->SpeedButtonZnovuClick(nullptr);
    EXPECT_EQ(form->currentPage, PAGE_IDLE);  // redo shows the page stored with the state it restores
}

TEST_F(MainFormTest, CompareShowsUnitAndPcStateInSlot4)
{
    auto form = makeStarted();
    form->images.deviceValid = true;
    form->images.device = form->images.image;
    form->images.device[4920] ^= 0xFF;  // differences here do not count
    form->CompareUnitAndPc();
    EXPECT_TRUE(form->LabelCongruence->Visible());
    EXPECT_EQ(form->LabelCongruence->Caption(), "Unit and PC settings are identical");
    EXPECT_EQ(form->images.identical, 1);
    form->images.device[100] ^= 1;
    form->CompareUnitAndPc();
    EXPECT_EQ(form->LabelCongruence->Caption(), "Unit and PC settings are different");
    form->images.deviceValid = false;
    form->CompareUnitAndPc();
    EXPECT_FALSE(form->LabelCongruence->Visible());
}

// Leaves a picture of the started main window for a person to look at (build/screenshots/mainform.png).
TEST_F(MainFormTest, Screenshot)
{
    auto form = makeStarted();
    for (int i = 0; i < 20; ++i)
        form->Timer1->Fire();
    form->Show();
    const std::filesystem::path dir = std::filesystem::path(SCREENSHOT_DIR);
    std::filesystem::create_directories(dir);
    EXPECT_TRUE(form->Widget()->grab().save(QString::fromStdString((dir / "mainform.png").string())));
}

TEST_F(MainFormTest, EscapedExceptionGoesToTheErrorLog)
{
    auto form = makeStarted();
    form->ButtonRead->SetEnabled(true);
    form->ButtonRead->OnClick = [](TObject*) { throw std::runtime_error("handler fault"); };
    form->ButtonRead->Click();
    const auto log = os::readWholeFile(form->settingsFolder.path / "IGN.err");
    ASSERT_TRUE(log.has_value());
    EXPECT_NE(log->find("handler fault"), std::string::npos);
    EXPECT_EQ(log->rfind("<LOG TIME=", 0), 0u);
}

TEST_F(MainFormTest, RestartRestoresProgramSettingsAndTheLastImage)
{
    std::uint8_t marker = 0;
    {
        auto form = makeStarted();
        SetLanguageIndex(LNG_CZECH);
        form->PageControl1->SetActivePageIndex(PAGE_GEAR);
        form->link->selectedPort = 7;
        form->recentFiles = {"/tmp/a.ign", "/tmp/č.ign"};
        form->currentFileName = "/tmp/a.ign";
        marker = static_cast<std::uint8_t>(form->images.image[3100] + 1);
        form->images.image[3100] = marker;
        TCloseAction action = TCloseAction::caHide;
        form->FormClose(form.get(), action);
    }
    SetLanguageIndex(LNG_ENGLISH);
    auto again = makeStarted();
    EXPECT_EQ(GetLanguageIndex(), LNG_CZECH);
    EXPECT_EQ(again->currentPage, PAGE_GEAR);
    EXPECT_EQ(again->link->selectedPort, 7);
    EXPECT_EQ(again->recentFiles, (std::vector<std::string>{"/tmp/a.ign", "/tmp/č.ign"}));
    EXPECT_EQ(again->images.image[3100], marker);
    SetLanguageIndex(LNG_ENGLISH);
}

TEST_F(MainFormTest, BadStoredValuesFallBackSafely)
{
    const auto folder = configDir / "Quorvane" / "Kelvora_12" / "309";
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(os::atomicWriteFile(folder / "application.ini",
                                    "[BASIC]\r\nPageControl1->ActivePageIndex=1500\r\nLanguage=2\r\n"
                                    "MenuHistory00=/x.ign\r\nMenuHistory01=\r\nMenuHistory02=/stale.ign\r\n")
                    .ok);
    ASSERT_TRUE(os::atomicWriteFile(folder / "default.ini", "1 2 3").ok);
    auto form = makeStarted();
    EXPECT_EQ(form->currentPage, PAGE_BIKE);  // the knock page is hidden
    EXPECT_EQ(GetLanguageIndex(), LNG_ENGLISH);
    EXPECT_EQ(form->recentFiles, std::vector<std::string>{"/x.ign"});
    EXPECT_TRUE(std::filesystem::exists(folder / "default.ini.bad"));  // kept aside, not deleted
    TCloseAction action = TCloseAction::caHide;
    form->FormClose(form.get(), action);
    const std::string ini = os::readWholeFile(folder / "application.ini").value_or("");
    EXPECT_EQ(ini.find("stale"), std::string::npos);  // removed entries do not come back
    EXPECT_EQ(os::readWholeFile(folder / "default.ini").value_or("").size(), DefaultIniText(form->images.image).size());
}

TEST_F(MainFormTest, ArchiveFromTheImportFolderGivesModelSettingsWithoutWarning)
{
    auto form = makeStarted();
    EXPECT_TRUE(form->archiveAttached);
    EXPECT_EQ(form->images.image[RS_BIKE_BYTE], 11);
    EXPECT_TRUE(dialogs.Messages().empty());
}

TEST_F(MainFormTest, NoArchiveAnywhereWarnsOnceAndTheWindowStillWorks)
{
    const auto previous = std::filesystem::current_path();
    std::filesystem::create_directories(configDir / "lonely" / "run");
    std::filesystem::current_path(configDir / "lonely" / "run");
    auto form = makeStarted();
    std::filesystem::current_path(previous);
    EXPECT_FALSE(form->archiveAttached);
    int warnings = 0;
    for (const vcl::MessageBoxCall& call : dialogs.Messages())
        warnings += call.text.rfind("No Impet attached !", 0) == 0;
    EXPECT_EQ(warnings, 1);
    for (int i = 0; i < 20; ++i)
        form->Timer1->Fire();
    EXPECT_EQ(form->initialised, 1);
}

TEST_F(MainFormTest, TickKeepsTheSpecialValuesOfTwoEdits)
{
    auto form = makeStarted();
    auto* channel = FindControl<TEdit>(*form, "EditLadeniKanal");  // on the tuning page
    ASSERT_NE(channel, nullptr);
    // The bike page's pulse count.
    auto* pulses = FindControl<TEdit>(*form, "EditRpmPulsu");
    auto* pulsesUpDown = FindControl<TUpDown>(*form, "UpDownRpmPulsu");
    ASSERT_TRUE(pulses && pulsesUpDown);
    channel->SetText("0");
    form->images.image[4617] = 3;
    pulsesUpDown->SetPosition(-1);
    form->Timer1->Fire();
    EXPECT_EQ(channel->Text(), "ALL");
    EXPECT_EQ(form->images.image[4617], 0);
    EXPECT_EQ(pulses->Text(), "CKPS");
    EXPECT_EQ(form->images.image[2668], 255);
    pulsesUpDown->SetPosition(-2);
    form->Timer1->Fire();
    EXPECT_EQ(pulses->Text(), "CMPS");
    EXPECT_EQ(form->images.image[2668], 254);
}
