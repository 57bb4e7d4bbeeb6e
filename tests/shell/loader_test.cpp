#include "shell/loader.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include <gtest/gtest.h>

#include "os/lngtext.h"
#include "settings/settingswriter.h"
#include "shell/mainform.h"
#include "startedform.h"
#include "vcl/dialogs.h"

namespace {

class LoaderTest : public StartedFormTest {
protected:
    bool released() const { return form->Caption().find("(Disconnected by bootloader)") != std::string::npos; }
};

// Runs the event loop, waking on each event, until done() or the limit.
bool processEventsUntil(const std::function<bool()>& done, int limitMs)
{
    const QDeadlineTimer deadline(limitMs);
    QTimer limit;  // wakes the wait below at the latest when the limit is reached
    limit.start(limitMs);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

}  // namespace

TEST_F(LoaderTest, ReleaseAndGiveBackFollowThePortInUse)
{
    form->link->portInUse = 5;
    OnLoaderMessage(*form, 6, kLoaderRelease);  // another port: nothing
    EXPECT_EQ(form->releasedPort, -1);
    OnLoaderMessage(*form, 5, kLoaderGiveBack);  // nothing released: nothing
    EXPECT_EQ(form->link->linkEnabled.load(), 1);

    OnLoaderMessage(*form, 5, kLoaderRelease);
    EXPECT_EQ(form->releasedPort, 5);
    EXPECT_EQ(form->link->linkEnabled.load(), 0);
    EXPECT_EQ(form->link->portInUse.load(), 0);
    EXPECT_TRUE(released());
    OnLoaderMessage(*form, 5, kLoaderGiveBack);
    EXPECT_EQ(form->releasedPort, -1);
    EXPECT_EQ(form->link->linkEnabled.load(), 1);
    EXPECT_FALSE(released());

    form->link->portInUse = 5;
    OnLoaderMessage(*form, 5, kLoaderResetAndRelease);
    EXPECT_EQ(form->requestCode, 129);
    form->link->portInUse = 0;
}

TEST_F(LoaderTest, RequestLines)
{
    struct Case {
        const char* line;
        bool ok;
        int port;
        unsigned code;
    };
    const Case cases[] = {
        {"5 0x7FFFFFA1", true, 5, kLoaderRelease}, {"5 RESET", true, 5, kLoaderResetAndRelease},
        {"7 reclaim", true, 7, kLoaderGiveBack},    {"5 2147483553", true, 5, kLoaderRelease},
        {"0 RELEASE", false, 0, 0},                 {"5", false, 0, 0},
        {"x RELEASE", false, 0, 0},                 {"5 RELEASE now", false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        int port = 0;
        unsigned code = 0;
        EXPECT_EQ(ParseLoaderLine(c.line, port, code), c.ok);
        if (c.ok) {
            EXPECT_EQ(port, c.port);
            EXPECT_EQ(code, c.code);
        }
    }
}

TEST_F(LoaderTest, SocketCarriesTheRequest)
{
    const std::string name = "kelvora-test-" + std::to_string(::getpid());
    LoaderEndpoint endpoint(*form, name);
    ASSERT_TRUE(endpoint.listening());
    form->link->portInUse = 9;
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(name));
    ASSERT_TRUE(socket.waitForConnected(5000));
    socket.write("9 RELEASE\n");
    socket.flush();
    ASSERT_TRUE(processEventsUntil([&] { return form->releasedPort == 9; }, 20000));
    EXPECT_TRUE(released());
}

TEST_F(LoaderTest, DroppedFilesOpenTheFirstIgnFileUnderItsOwnName)
{
    Image image = form->images.image;
    const std::string upper = (dir / "Bike.IGN").string();
    ASSERT_TRUE(SaveSettingsFile(upper, image, {}).ok);
    OnFilesDropped(*form, {(dir / "readme.txt").string(), upper, (dir / "other.ign").string()});
    EXPECT_EQ(form->currentFileName, upper);
    EXPECT_EQ(form->recentFiles.front(), upper);
    EXPECT_TRUE(dialogs.Messages().empty());
}
