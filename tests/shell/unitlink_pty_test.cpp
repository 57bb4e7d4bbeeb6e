// The main window against the simulated unit on a pseudo-terminal, offscreen, its main timer fired by the test
// so that the tick counter (and with it the link clock) follows real time.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLocalSocket>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>

#include "os/lngtext.h"
#include "settings/helpers.h"
#include "settings/repair.h"
#include "settings/settingswriter.h"
#include "shell/appsettings.h"
#include "shell/loader.h"
#include "shell/mainform.h"
#include "unitsim/unitsim.h"
#include "vcl/dialogs.h"

namespace {

constexpr int kCom = 200;

class UnitLinkTest : public testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/kelvora_unitlink_XXXXXX";
        configDir = mkdtemp(pattern);
        setenv("XDG_CONFIG_HOME", configDir.c_str(), 1);
        SetLanguageIndex(LNG_ENGLISH);
        sim = std::make_unique<unitsim::UnitSim>(unitsim::UnitConfig{});
        const std::string path = sim->slavePath();
        form = std::make_unique<TMainForm>(clock, std::vector<std::string>{}, [path] {
            return os::ComPortMap{{kCom, path}};
        });
        form->FormCreate(form.get());
        form->link->selectedPort = kCom;
        start = std::chrono::steady_clock::now();
        firstTick = form->tickCounter + 100;  // past the link's first port enumeration
    }
    void TearDown() override
    {
        TCloseAction action = TCloseAction::caHide;
        form->FormClose(form.get(), action);
        form.reset();
        sim.reset();
        std::filesystem::remove_all(configDir);
    }

    // Fires the main timer so that one tick passes each 50 ms of real time, until done() or the time-out.
    bool runUntil(const std::function<bool()>& done, int timeoutMs = 20000)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (std::chrono::steady_clock::now() < deadline) {
            const auto ms =
                std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
            while (form->tickCounter < firstTick + static_cast<int>(ms / 50)) form->Timer1->Fire();
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }
    bool resultShows(const std::string& text, int timeoutMs = 20000)
    {
        return runUntil([&] { return form->LabelResult->Visible() && form->LabelResult->Caption() == text; },
                        timeoutMs);
    }
    [[nodiscard]] Image unitImage() const
    {
        Image image{};
        const std::vector<std::uint8_t> wire = sim->wireImage();
        std::copy(wire.begin(), wire.end(), image.begin());
        SwapWordBytes(image, 0, RS_WORD_COUNT - 1);
        return image;
    }

    std::filesystem::path configDir;
    os::LinkClock clock;
    vcl::ScopedDialogScript dialogs;
    std::unique_ptr<unitsim::UnitSim> sim;
    std::unique_ptr<TMainForm> form;
    std::chrono::steady_clock::time_point start;
    int firstTick = 0;
};

}  // namespace

TEST_F(UnitLinkTest, UnitIsFoundCheckedAndShown)
{
    ASSERT_TRUE(resultShows("Checking: OK"));
    EXPECT_EQ(form->comText, "COM=200");
    EXPECT_EQ(form->identityTexts[0], "QV unit");
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

    // The picture for a person to look at. Not under ThreadSanitizer: Qt converts the grabbed image on its own
    // pooled threads, which the sanitizer cannot see into.
#if !defined(__SANITIZE_THREAD__)
    form->Show();
    const std::filesystem::path dir = std::filesystem::path(SCREENSHOT_DIR);
    std::filesystem::create_directories(dir);
    EXPECT_TRUE(form->Widget()->grab().save(QString::fromStdString((dir / "unit_read.png").string())));
#endif

    // Programming writes the (repaired) settings image into the unit and waits until the unit has stored it.
    form->MenuProgramClick(nullptr);
    ASSERT_EQ(form->requestCode, 96);
    ASSERT_TRUE(resultShows("Saving:"));
    ASSERT_TRUE(resultShows("Program device: OK"));
    EXPECT_EQ(unitImage(), form->images.image);
    EXPECT_TRUE(form->images.deviceValid);
    EXPECT_TRUE(dialogs.Messages().empty());
}

namespace {

// Leaves a picture of the window for a person to look at (build/screenshots/walkthrough_<name>.png).
void snapshot(TMainForm& form, const std::string& name)
{
#if !defined(__SANITIZE_THREAD__)
    form.Show();
    const std::filesystem::path dir = std::filesystem::path(SCREENSHOT_DIR);
    std::filesystem::create_directories(dir);
    EXPECT_TRUE(form.Widget()->grab().save(QString::fromStdString((dir / ("walkthrough_" + name + ".png")).string())));
#else
    (void)form;
    (void)name;
#endif
}

}  // namespace

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
    snapshot(*form, "1_opened");

    form->MainMenu1->Find("MenuGerman")->Click();
    EXPECT_EQ(GetLanguageIndex(), LNG_GERMAN);
    snapshot(*form, "2_german");
    form->MainMenu1->Find("MenuCzech")->Click();
    EXPECT_EQ(GetLanguageIndex(), LNG_CZECH);
    snapshot(*form, "3_czech");
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
    snapshot(*form, "4_read");
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
