// The simulated unit's process killed under the window, as a USB adapter pulled out: while idle, in the middle of
// a Read and in the middle of a Program. The window ends in the disconnect, the device image is no longer valid,
// and the port search finds the unit again once it is back.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <system_error>

#include "shell/appsettings.h"
#include "unitlinktest.h"

extern char** environ;

namespace {

class UnitProcessTest : public UnitLinkTest
{
protected:
    void TearDown() override
    {
        UnitLinkTest::TearDown();
        killUnit();
    }
    // The unit's program, on a line whose name stays the same from one start to the next.
    std::string startUnit() override
    {
        const std::string link = (configDir / "unit").string();
        int out[2];
        EXPECT_EQ(::pipe(out), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        std::array<std::string, 3> args{UNITSIM_PROGRAM, "--link", link};
        char* argv[] = {args[0].data(), args[1].data(), args[2].data(), nullptr};
        EXPECT_EQ(::posix_spawn(&m_pid, UNITSIM_PROGRAM, &actions, nullptr, argv, environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        // The unit is ready once it has said where it is.
        pollfd p{out[0], POLLIN, 0};
        char text[256] = {};
        EXPECT_GT(::poll(&p, 1, 10000), 0);
        EXPECT_GT(::read(out[0], text, sizeof text - 1), 0);
        ::close(out[0]);
        return link;
    }
    void killUnit()
    {
        if (m_pid <= 0) return;
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
        m_pid = -1;
        // A pulled adapter's device name goes with it. The dead unit cannot take its name away itself, and the
        // number of its pseudo-terminal is soon given to another process's line, which the name would then lead
        // the search to.
        std::error_code ignored;
        std::filesystem::remove(configDir / "unit", ignored);
    }
    bool connected()
    {
        return runUntil([&] { return form->connectionState == 2 && form->images.deviceValid; }, 30000);
    }

private:
    pid_t m_pid = -1;
};

}  // namespace

TEST_F(UnitProcessTest, KilledUnitEndsInTheDisconnectAndIsFoundAgain)
{
    struct Case
    {
        const char* name;
        void (TMainForm::*click)(TObject*);  // null: the unit is idle
        int stage;                           // the device step's stage during which the unit dies
        const char* error;                   // the operation's own error, on red
    };
    const Case cases[] = {
        {"idle", nullptr, 0, nullptr},
        {"mid-read", &TMainForm::MenuReadClick, 64, "Read error !"},
        {"mid-program", &TMainForm::MenuProgramClick, 98, "Verify error !"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(connected());
        if (c.click == nullptr) saveScreenshot("unit_connected.png");
        form->NEWINSTAL = 0;  // as after an earlier read: Program is allowed
        if (c.click != nullptr) {
            (form.get()->*c.click)(nullptr);
            ASSERT_TRUE(
                runUntil([&] { return form->device->Operation() == c.stage && form->link->Position() >= 600; }));
        }
        killUnit();
        ASSERT_TRUE(runUntil([&] { return !PortInUse(*form); }, 5000));
        EXPECT_TRUE(form->LabelConnection->Visible());
        EXPECT_EQ(form->LabelConnection->Caption(), "No connection with PC...");
        EXPECT_EQ(form->LabelConnection->Color(), clRed);
        if (c.error != nullptr) {
            EXPECT_EQ(form->LabelResult->Caption(), c.error);
            EXPECT_EQ(form->LabelResult->Color(), clRed);
        }
        EXPECT_FALSE(form->images.deviceValid);
        EXPECT_EQ(form->connectionState, 0);
        EXPECT_EQ(form->connectionLine, "not connected");
        EXPECT_FALSE(form->ButtonRead->Enabled());
        // The idle unit's last result expires first, so that the picture shows only the disconnect.
        if (c.error == nullptr) {
            EXPECT_TRUE(runUntil([&] { return !form->LabelResult->Visible(); }, 5000));
        }
        saveScreenshot(std::string("unit_killed_") + c.name + ".png");
        // Plugged in again: the search finds the unit and checks it.
        startUnit();
    }
    ASSERT_TRUE(connected());
}
