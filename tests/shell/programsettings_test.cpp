// The program settings across a restart: what the settings file holds for parts of the window that are not built
// yet is kept, and the monitor player's menu item follows the stored choice.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "noports.h"
#include "os/files.h"
#include "os/lngtext.h"
#include "shell/mainform.h"
#include "vcl/dialogs.h"

namespace {

class ProgramSettingsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/kelvora_settings_XXXXXX";
        configDir = mkdtemp(pattern);
        setenv("XDG_CONFIG_HOME", configDir.c_str(), 1);
        SetLanguageIndex(LNG_ENGLISH);
        folder = configDir / "Quorvane" / "Kelvora_12" / "309";
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(configDir); }

    std::unique_ptr<TMainForm> start()
    {
        auto form = std::make_unique<TMainForm>(clock, std::vector<std::string>{}, NoPorts());
        form->FormCreate(form.get());
        return form;
    }
    static void close(TMainForm& form)
    {
        TCloseAction action = TCloseAction::caHide;
        form.FormClose(&form, action);
    }
    [[nodiscard]] std::string ini() const { return os::readWholeFile(folder / "application.ini").value_or(""); }
    void storeIni(const std::string& lines) const
    {
        ASSERT_TRUE(os::atomicWriteFile(folder / "application.ini", "[BASIC]\r\n" + lines).ok);
    }

    std::filesystem::path configDir;
    std::filesystem::path folder;
    os::LinkClock clock;
    vcl::ScopedDialogScript dialogs;
};

}  // namespace

TEST_F(ProgramSettingsTest, StoredSheetExternalMonitorFlagAndUpdateNumberSurviveRestarts)
{
    storeIni("PageControl1->ActivePageIndex=1003\r\nCheckBoxExtMonitor->Checked=1\r\nUpdateNumber=7\r\n");
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        auto form = start();
        EXPECT_EQ(form->currentPage, PAGE_POWER_OUT);
        close(*form);
        EXPECT_NE(ini().find("PageControl1->ActivePageIndex=1003\r\n"), std::string::npos) << ini();
        EXPECT_NE(ini().find("CheckBoxExtMonitor->Checked=1\r\n"), std::string::npos) << ini();
        EXPECT_NE(ini().find("UpdateNumber=7\r\n"), std::string::npos) << ini();  // no update check changes it
    }
}

TEST_F(ProgramSettingsTest, MonitorPlayerItemFollowsTheStoredChoiceAndEveryPressChangesWhatIsShown)
{
    storeIni("MONITORPLAYER=1\r\n");
    auto form = start();
    TMenuItem* item = form->MainMenu1->Find("MenuMonitorPlayer");
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->Checked());
    EXPECT_FALSE(form->monitorPlayerShown);  // the box itself starts hidden
    close(*form);
    EXPECT_NE(ini().find("MONITORPLAYER=1\r\n"), std::string::npos);

    item->Click();
    EXPECT_TRUE(form->monitorPlayerShown);
    EXPECT_TRUE(item->Checked());
    item->Click();
    EXPECT_FALSE(form->monitorPlayerShown);
    EXPECT_FALSE(item->Checked());
    EXPECT_NE(ini().find("MONITORPLAYER=0\r\n"), std::string::npos);
    form.reset();
    EXPECT_FALSE(start()->MainMenu1->Find("MenuMonitorPlayer")->Checked());
}
