// The main window against the simulated unit: found, checked, read and programmed from the window; a person's
// walk through the menus; a loader taking the port.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLocalSocket>
#include <set>

#include "settings/repair.h"
#include "settings/settingswriter.h"
#include "shell/appsettings.h"
#include "shell/loader.h"
#include "shell/mainform.h"
#include "../pages/testpage.h"
#include "unitlinktest.h"
#include "unitsim/unitsim.h"
#include "vcl/dialogs.h"

TEST_F(UnitLinkTest, UnitIsFoundCheckedAndShown)
{
    ASSERT_TRUE(resultShows("Checking: OK"));
    EXPECT_EQ(form->LabelCom->Caption(), "COM=200");
    EXPECT_TRUE(form->LabelCom->Visible());
    EXPECT_EQ(form->identity.unit, "QV unit");
    EXPECT_TRUE(form->images.deviceValid);
    ASSERT_TRUE(runUntil([&] { return form->connectionState == 2; }));
    EXPECT_TRUE(form->ButtonRead->Enabled());
    EXPECT_NE(form->connectionLine.find("QV unit"), std::string::npos) << form->connectionLine;
    EXPECT_TRUE(dialogs.Messages().empty());
}

TEST_F(UnitLinkTest, ReadThenProgramFromTheWindow)
{
    ASSERT_TRUE(resultShows("Checking: OK"));
    ASSERT_TRUE(runUntil([&] { return form->ButtonRead->Enabled(); }));
    form->MenuReadClick(nullptr);
    ASSERT_TRUE(resultShows("Verify: OK"));
    Image expected = unitImage();
    NormalizeSettingsImage(expected);
    EXPECT_EQ(form->images.image, expected);
    EXPECT_EQ(form->NEWINSTAL, 0);
    EXPECT_EQ(form->CGaugeProgram->Progress(), 100);

    saveScreenshot("unit_read.png");

    // Programming writes the (repaired) settings image into the unit and waits until the unit has stored it.
    form->MenuProgramClick(nullptr);
    ASSERT_EQ(form->requestCode, 96);
    ASSERT_TRUE(resultShows("Saving:"));
    ASSERT_TRUE(resultShows("Program device: OK"));
    EXPECT_EQ(unitImage(), form->images.image);
    EXPECT_TRUE(form->images.deviceValid);
    EXPECT_TRUE(dialogs.Messages().empty());
}

// With "Programming after change" checked, a person's change on a page reaches the unit at once, and only the blocks
// that hold changed bytes travel: the unit's image then differs from before exactly in the changed byte.
TEST_F(UnitLinkTest, ProgramAfterChangeSendsExactlyTheChangedBytes)
{
    // The unit and the program start with the same repaired settings, whose test-page fields hold values the
    // page's lists have items for, so that a Read changes nothing and marks nothing.
    Image start = form->images.image;
    start[2516] = 11;
    std::fill(start.begin() + 2517, start.begin() + 2520, 0);
    start[240] = 125;
    start[241] = 0;
    NormalizeSettingsImage(start);
    Image wire = start;
    SwapWordBytes(wire, 0, RS_WORD_COUNT - 1);
    sim->setWireImage(std::vector<std::uint8_t>(wire.begin(), wire.end()));
    form->images.image = start;
    form->ResetUndo();
    InstallTestPage(*form);
    ASSERT_TRUE(resultShows("Checking: OK"));
    ASSERT_TRUE(runUntil([&] { return form->ButtonRead->Enabled(); }));
    form->MenuReadClick(nullptr);
    ASSERT_TRUE(resultShows("Verify: OK"));
    ASSERT_TRUE(runUntil([&] { return form->connectionState == kConnectionOwnKey; }));
    form->PageControl1->SetActivePageIndex(PAGE_GEAR);
    form->PageControl1Change(form->PageControl1);
    form->CheckBoxProgHned->SetChecked(true);
    const Image before = unitImage();
    ASSERT_EQ(before, start);
    sim->clearRequests();

    auto* edit = FindControl<TEdit>(*form, "EditByteOffset");
    const int shown = std::stoi(edit->Text());
    edit->SetText(std::to_string(shown + 7));
    vcl::Fire(edit->OnExit, static_cast<TObject*>(edit));
    EXPECT_EQ(form->requestCode, kRequestProgramChanged);
    Image expected = before;
    expected[2511] = static_cast<std::uint8_t>(before[2511] + 7);
    ASSERT_TRUE(runUntil([&] { return unitImage() == expected; }));
    // The marks of the programmed bytes go once the unit has them.
    ASSERT_TRUE(runUntil([&] { return form->images.changeMarks == ChangeMarks{}; }));
    EXPECT_EQ(form->images.image, expected);
    // The blocks that travelled (a slow answer may have the link send one again; it is still that block).
    std::set<int> programmed;
    for (const unitsim::Request& r : sim->requests())
        if (r.command >= 0x01 && r.command <= 0x11) programmed.insert(r.command - 1);
    EXPECT_EQ(programmed, std::set<int>{2511 / RS_BLOCK});
    EXPECT_TRUE(dialogs.Messages().empty());
}

// A person's day with the program: open a settings file from the File menu, switch the language, choose the
// unit's port from the Com menu and read the unit.
TEST_F(UnitLinkTest, WalkthroughOpenSwitchLanguageChoosePortAndRead)
{
    form->link->selectedPort = -1;  // offline until the port is chosen from the menu
    Image image = form->images.image;
    image[3000] = static_cast<std::uint8_t>(image[3000] ^ 0x21);
    const std::string file = (configDir / "my bike.ign").string();
    ASSERT_TRUE(SaveSettingsFile(file, image, {}).ok);
    dialogs.AnswerFile(file);
    form->MainMenu1->Find("MenuOpen")->Click();
    ASSERT_EQ(form->currentFileName, file);
    EXPECT_NE(form->Caption().find("my bike.ign"), std::string::npos);
    saveScreenshot("walkthrough_1_opened.png");

    form->MainMenu1->Find("MenuGerman")->Click();
    EXPECT_EQ(GetLanguageIndex(), LNG_GERMAN);
    saveScreenshot("walkthrough_2_german.png");
    form->MainMenu1->Find("MenuCzech")->Click();
    EXPECT_EQ(GetLanguageIndex(), LNG_CZECH);
    saveScreenshot("walkthrough_3_czech.png");
    form->MainMenu1->Find("MenuEnglish")->Click();

    // The Com menu lists the simulated unit's port once the port list was read.
    TMenuItem* portItem = nullptr;
    ASSERT_TRUE(runUntil([&] {
        for (TMenuItem* item : form->comItems)
            if (item->Visible() && item->Caption().rfind("COM&" + std::to_string(kCom), 0) == 0)
                portItem = item;
        return portItem != nullptr;
    }));
    portItem->Click();
    EXPECT_EQ(form->link->selectedPort, kCom);
    ASSERT_TRUE(resultShows("Checking: OK"));
    ASSERT_TRUE(runUntil([&] { return form->ButtonRead->Enabled(); }));
    form->ButtonRead->Click();
    ASSERT_TRUE(resultShows("Verify: OK"));
    saveScreenshot("walkthrough_4_read.png");
    EXPECT_TRUE(dialogs.Messages().empty());
}

// A loader takes the unit's port over the socket and gives it back; the link finds the unit again.
TEST_F(UnitLinkTest, LoaderReleasesAndTakesBackThePort)
{
    ASSERT_TRUE(resultShows("Checking: OK"));
    const std::string name = "kelvora-pty-test-" + std::to_string(::getpid());
    LoaderEndpoint endpoint(*form, name);
    ASSERT_TRUE(endpoint.listening());
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(name));
    ASSERT_TRUE(socket.waitForConnected(5000));
    socket.write((std::to_string(kCom) + " RELEASE\n").c_str());
    socket.flush();
    ASSERT_TRUE(runUntil([&] {
        QCoreApplication::processEvents();
        return form->releasedPort == kCom;
    }));
    EXPECT_FALSE(PortInUse(*form));
    EXPECT_NE(form->Caption().find("(Disconnected by bootloader)"), std::string::npos);
    // While released the port stays closed for the loader.
    EXPECT_FALSE(runUntil([&] { return PortInUse(*form); }, 1500));
    socket.write((std::to_string(kCom) + " RECLAIM\n").c_str());
    socket.flush();
    ASSERT_TRUE(runUntil([&] {
        QCoreApplication::processEvents();
        return form->releasedPort == -1 && PortInUse(*form);
    }));
    EXPECT_EQ(form->Caption().find("(Disconnected by bootloader)"), std::string::npos);
}
