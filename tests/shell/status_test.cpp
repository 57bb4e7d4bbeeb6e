// The main window's side of the status line and the language switch.
#include "shell/status.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPixmap>
#include <QStatusTipEvent>
#include <QString>
#include <QWidget>
#include <cstdlib>
#include <filesystem>

#include "noports.h"
#include "os/lngtext.h"
#include "settings/impet.h"
#include "settings/layout.h"
#include "shell/appsettings.h"
#include "shell/lambdagauge.h"
#include "languages/hints.h"
#include "languages/menutexts.h"
#include "shell/mainform.h"
#include "vcl/dialogs.h"
#include "vcl/formlayout.h"

namespace {

// What the window's status bar is told while the pointer rests on a title of the menu bar.
class StatusTipCatcher final : public QObject
{
public:
    std::string tip;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::StatusTip) tip = static_cast<QStatusTipEvent*>(event)->tip().toStdString();
        return false;
    }
};

std::string statusTipOverMenuTitle(TMainForm& form, const TMenuItem& title)
{
    form.Show();
    auto* bar = form.Widget()->findChild<QMenuBar*>();
    if (!bar) return "(no menu bar)";
    StatusTipCatcher catcher;
    bar->window()->installEventFilter(&catcher);
    const QPointF at = bar->actionGeometry(title.Action()).center();
    QMouseEvent move(QEvent::MouseMove, at, bar->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &move);
    bar->window()->removeEventFilter(&catcher);
    // Away again (the status bar is emptied), so that the next look starts from no title.
    QMouseEvent leave(QEvent::MouseMove, QPointF(-5, -5), bar->mapToGlobal(QPointF(-5, -5)), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &leave);
    return catcher.tip;
}

class MainWindowTextsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/kelvora_texts_XXXXXX";
        configDir = mkdtemp(pattern);
        setenv("XDG_CONFIG_HOME", configDir.c_str(), 1);
        SetLanguageIndex(LNG_ENGLISH);
        form = std::make_unique<TMainForm>(clock, std::vector<std::string>{}, NoPorts());
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
        for (int i = 0; i < n; ++i) form->Timer1->Fire();
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

TEST_F(MainWindowTextsTest, MessagesStillShownChangeLanguageWithTheMenu)
{
    SetStatusSlot(*form, 4, "###Unit and PC settings are different##Einrichten der Einheit und der PC sind anders##x",
                  -1, kColorUnchanged, 0x00FFFF, 10);
    SetStatusSlot(*form, 2, "###Checking: OK##Geräteprüfung: OK##Kontrola jednotky: OK", 2000, kColorUnchanged,
                  kColorUnchanged, 10);
    tick(42);  // the check's message has gone; the difference stays
    form->MainMenu1->Find("MenuGerman")->Click();
    EXPECT_EQ(form->LabelCongruence->Caption(), "Einrichten der Einheit und der PC sind anders");
    EXPECT_FALSE(form->LabelResult->Visible());
    EXPECT_EQ(form->LabelResult->Caption(), "Checking: OK");
    form->MainMenu1->Find("MenuEnglish")->Click();
    EXPECT_EQ(form->LabelCongruence->Caption(), "Unit and PC settings are different");
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

TEST_F(MainWindowTextsTest, LanguageMenuSetsEveryMenuCaptionButtonAndHint)
{
    const auto captions = [&] {
        std::vector<std::string> all;
        for (const MenuTextRow& row : menuTextRows()) all.push_back(form->MainMenu1->Find(row.item)->Caption());
        return all;
    };
    for (const char* choice : {"MenuGerman", "MenuCzech", "MenuEnglish"}) {
        SCOPED_TRACE(choice);
        form->MainMenu1->Find(choice)->Click();
        const auto language = static_cast<std::size_t>(GetLanguageIndex());
        const char* pickupButton[] = {"PickUp monitor", "PickUp-Monitor", "Monitor PickUp"};
        EXPECT_EQ(form->ButtonMonPu->Caption(), pickupButton[language]);
        for (const MenuTextRow& row : menuTextRows()) {
            SCOPED_TRACE(row.item);
            TMenuItem* item = form->MainMenu1->Find(row.item);
            ASSERT_NE(item, nullptr);
            EXPECT_EQ(item->Caption(), row.text[language]);
            EXPECT_EQ(item->Action()->text().toStdString(), row.text[language]);  // what the menu shows
            if (!row.button.empty()) {
                EXPECT_EQ(FindControl<TButton>(*form, row.button)->Caption(), row.text[language]);
            }
        }
        for (const HintRow& row : hintRows())
            for (std::string_view name : row.destinations) {
                if (name.empty()) continue;
                SCOPED_TRACE(name);
                const auto* control = static_cast<const TControl*>(form->FindComponent(name));
                const TMenuItem* item = form->MainMenu1->Find(name);
                if (control || item) {
                    EXPECT_EQ(control ? control->Hint() : item->Hint(), row.text[language]);
                } else {
                    // Only labels and boxes of pages still to come may be missing; menus and buttons are there.
                    EXPECT_TRUE(name.starts_with("Label") || name.starts_with("GroupBox"));
                }
            }
        // The device buttons show their captions whole.
        for (const TControl* button : {form->ButtonRead, form->ButtonVerify, form->ButtonProgram})
            EXPECT_EQ(CaptionFault(*button), "");
        // The same language again changes nothing.
        const auto before = captions();
        form->MainMenu1->Find(choice)->Click();
        EXPECT_EQ(captions(), before);
    }
    // Items outside the table keep their one caption.
    EXPECT_EQ(form->MainMenu1->Find("Menu_Jet123Stejny")->Caption(), "1=2=3=4");
    EXPECT_EQ(form->MainMenu1->Find("MenuToolsMinus")->Caption(), "Minus ");
    EXPECT_EQ(form->MainMenu1->Find("MenuStop")->Caption(), "&Stop motor");
    EXPECT_EQ(form->MainMenu1->Find("MenuReset")->Caption(), "Reset");
}

TEST_F(MainWindowTextsTest, MenuTextsOfTheLanguages)
{
    // English: the Language menu's long hint goes to the status bar, its short one is its name.
    TMenuItem* language = form->MainMenu1->Find("MenuLanguage");
    EXPECT_EQ(statusTipOverMenuTitle(*form, *language), "Set English or German or French");
    EXPECT_EQ(form->ButtonProgram->Hint(), "Programing  set parametrs to ignition");

    form->MainMenu1->Find("MenuGerman")->Click();
    EXPECT_EQ(language->Caption(), "&Sprache");
    EXPECT_EQ(form->MainMenu1->Find("MenuEnglish")->Caption(), "&Englisch - English");
    EXPECT_EQ(form->MainMenu1->Find("MenuGerman")->Caption(), "&Deutsch");
    EXPECT_EQ(form->MainMenu1->Find("MenuCzech")->Caption(), "&Tschechisch - Česky");
    EXPECT_FALSE(form->MainMenu1->Find("MenuEnglish")->Checked());
    EXPECT_TRUE(form->MainMenu1->Find("MenuGerman")->Checked());
    EXPECT_FALSE(form->MainMenu1->Find("MenuCzech")->Checked());
    EXPECT_EQ(statusTipOverMenuTitle(*form, *language), "Sprache");
    EXPECT_EQ(form->MainMenu1->Find("MenuMonitorSet0")->Caption(), "Empty...");

    form->MainMenu1->Find("MenuCzech")->Click();
    EXPECT_EQ(form->MainMenu1->Find("MenuRead")->Caption(), "Čí&st");
    EXPECT_EQ(form->ButtonRead->Caption(), "Čí&st");
    EXPECT_EQ(form->MainMenu1->Find("MenuMonitorSet1")->Caption(), "Sada 1");
    EXPECT_EQ(form->MainMenu1->Find("MenuCom")->Hint(), "Nastavení čísla serivého portu (Com) ");
}

TEST_F(MainWindowTextsTest, MalformedLiteralIsReportedOnceInABox)
{
    ResetLngTextErrorReports();
    dialogs.AnswerMessage(IDOK);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(GetLngText("##broken##literal"), "##broken##literal");
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

// Leaves pictures of the status line in English and, after the menu switched the language, in German
// (build/screenshots/texts_en.png and texts_de.png) for a person to look at.
TEST_F(MainWindowTextsTest, Screenshot)
{
    const std::filesystem::path dir = std::filesystem::path(SCREENSHOT_DIR);
    std::filesystem::create_directories(dir);
    form->Show();
    const auto showMessages = [this] {
        SetStatusSlot(*form, 1, "###No connection with PC...##Keine Verbindung zum PC...##Není spojení s PC...", -1,
                      clWhite, clRed, kStatusPriorityAlways);
        SetStatusSlot(*form, 2, "###Read: OK##Lesen: OK##Čtení: OK", 2000, kColorUnchanged, clLime, 10);
        SetStatusSlot(*form, 4, form->languageTables.messages[MSG_OPEN_FILE_ERROR], 2000, kColorUnchanged, clYellow,
                      10);
        form->releasedPort = 3;  // the caption says the unit's port is lent to the loader
        UpdateCaption(*form);
        tick(10);
    };
    showMessages();
    EXPECT_TRUE(form->Widget()->grab().save(QString::fromStdString((dir / "texts_en.png").string())));
    form->MainMenu1->Find("MenuGerman")->Click();
    showMessages();
    EXPECT_TRUE(form->Widget()->grab().save(QString::fromStdString((dir / "texts_de.png").string())));
    tick(40);  // the two 2-second messages are gone, the connection message stays
    EXPECT_FALSE(form->LabelResult->Visible());
    EXPECT_FALSE(form->LabelCongruence->Visible());
    EXPECT_TRUE(form->LabelConnection->Visible());
    EXPECT_TRUE(form->Widget()->grab().save(QString::fromStdString((dir / "texts_de_expired.png").string())));
    form->releasedPort = -1;
}

}  // namespace

namespace {

TEST_F(MainWindowTextsTest, LambdaGaugeFollowsTheBarThresholds)
{
    form->images.image[layoutOffset("LAMBDA_BAR")] = 10;
    form->images.image[layoutOffset("LAMBDA_BAR") + 3] = 20;
    form->lambdaColors[5] = 0x112233;  // 0xRRGGBB
    TCGauge* gauge = form->CGaugeProgram;
    SetLambdaGauge(*form, gauge, 15);
    EXPECT_EQ(gauge->Progress(), 50);
    EXPECT_TRUE(gauge->Visible());
    EXPECT_EQ(gauge->ForeColor(), 0x332211u);
    EXPECT_EQ(LambdaColor(*form, 15), 0x332211u);
    SetLambdaGauge(*form, gauge, 255);
    EXPECT_FALSE(gauge->Visible());
    SetLambdaGauge(*form, nullptr, 15);  // no gauge: nothing happens
}

}  // namespace

namespace {

TEST_F(MainWindowTextsTest, VersionLineNamesTheNewestModelFile)
{
    CImpet& archive = ProgramArchive();
    const CImpet saved = archive;
    archive.Clear();
    ASSERT_EQ(archive.OpenBytes({}), 2);  // no marker: an empty archive whose root is a folder again
    ASSERT_EQ(archive.MakeFolder("", "NEW_309", impetTimeFromUnix(1'700'000'000)), 0);
    const std::uint8_t bytes[] = {'x'};
    ASSERT_EQ(archive.AddBytes("NEW_309", "a.ign", bytes, impetTimeFromUnix(1'709'596'800)), 0);  // 2024-03-05
    ASSERT_EQ(archive.AddBytes("NEW_309", "b.ign", bytes, impetTimeFromUnix(1'600'000'000)), 0);  // 2020-09-13
    InitVersionInfo(*form);
    const std::string line = GetVersionText(*form);
    archive = saved;
    EXPECT_NE(line.find("   NEW=2024_03_05"), std::string::npos) << line;
    EXPECT_EQ(line.rfind("Kelvora_12   RSKEY=309   COMPILE=", 0), 0u) << line;
}

}  // namespace
