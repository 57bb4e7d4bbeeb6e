#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "os/files.h"
#include "os/lngtext.h"
#include "settings/settingswriter.h"
#include "shell/appsettings.h"
#include "shell/loader.h"
#include "shell/mainform.h"
#include "startedform.h"
#include "vcl/dialogs.h"

using FileMenuTest = StartedFormTest;

TEST_F(FileMenuTest, SaveThenOpenGivesTheSameImageAndOneRecentEntry)
{
    const std::string path = (dir / "bike.ign").string();
    form->images.image[3000] = static_cast<std::uint8_t>(form->images.image[3000] ^ 1);
    dialogs.AnswerFile(path);
    form->MenuSaveClick(nullptr);
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(form->currentFileName, path);
    EXPECT_EQ(form->fileShown, 1);
    // The first open settles the values a settings file derives when read.
    ASSERT_TRUE(form->OpenSettingsFile(path, true));
    const Image saved = form->images.image;

    form->images.image[3000] ^= 1;  // an edit that the reopen must undo
    dialogs.AnswerFile(path);
    form->MenuOpenClick(nullptr);
    EXPECT_EQ(form->images.image, saved);
    EXPECT_EQ(form->images.reference, saved);
    EXPECT_EQ(form->NEWINSTAL, 0);
    EXPECT_EQ(std::count(form->recentFiles.begin(), form->recentFiles.end(), path), 1);
    EXPECT_EQ(form->recentFiles.front(), path);
    EXPECT_NE(form->Caption().find("bike.ign"), std::string::npos);
    EXPECT_TRUE(dialogs.Messages().empty());
}

TEST_F(FileMenuTest, MissingFileIsReportedAndDroppedFromTheRecentList)
{
    const std::string missing = (dir / "gone.ign").string();
    form->recentFiles = {"/a.ign", missing, "/b.ign"};
    form->RefreshRecentMenu();
    EXPECT_FALSE(form->OpenSettingsFile(missing, true));
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text, "Open file error!");
    EXPECT_EQ(form->recentFiles, (std::vector<std::string>{"/a.ign", "/b.ign"}));
}

TEST_F(FileMenuTest, RefusedFileChangesNoBookkeeping)
{
    const std::string path = (dir / "notes.ign").string();
    ASSERT_TRUE(os::atomicWriteFile(path, "this is not a settings file\r\n").ok);
    const Image before = form->images.image;
    const Image reference = form->images.reference;
    form->currentFileName = "/kept.ign";
    EXPECT_FALSE(form->OpenSettingsFile(path, true));
    EXPECT_EQ(form->images.image, before);
    EXPECT_EQ(form->images.reference, reference);
    EXPECT_EQ(form->currentFileName, "/kept.ign");
    EXPECT_TRUE(std::find(form->recentFiles.begin(), form->recentFiles.end(), path) == form->recentFiles.end());
}

// A file the reader refuses is told with the reader's own text and stays in the recent list, whichever way it was
// opened; only a file that cannot be read at all is an open error.
TEST_F(FileMenuTest, RefusedFileShowsTheReaderTextAndStaysInTheRecentList)
{
    struct Case
    {
        const char* name;
        const char* text;
    };
    const Case cases[] = {
        {"version_400.ign", "QUORVANE_KEY     400 \r\nBIKE              11 \r\n"},
        {"letter.ign", "Dear rider,\r\nthis is not a settings file.\r\n"},
    };
    struct Way
    {
        const char* name;
        std::function<void(const std::string&)> open;
    };
    const Way ways[] = {
        {"menu",
         [&](const std::string& path) {
             dialogs.AnswerFile(path);
             form->MenuOpenClick(nullptr);
         }},
        {"dropped", [&](const std::string& path) { OnFilesDropped(*form, {path}); }},
        {"recent", [&](const std::string&) { form->MenuHistoryClick(form->historyItems[1]); }},
        {"compare",
         [&](const std::string& path) {
             dialogs.AnswerFile(path);
             form->MenuOpenCompareClick(nullptr);
         }},
    };
    for (const Case& c : cases) {
        const std::string path = (dir / c.name).string();
        ASSERT_TRUE(os::atomicWriteFile(path, c.text).ok);
        for (const Way& way : ways) {
            SCOPED_TRACE(std::string(c.name) + " " + way.name);
            form->recentFiles = {"/current.ign", path, "/older.ign"};
            form->RefreshRecentMenu();
            const Image before = form->images.image;
            const std::size_t shown = dialogs.Messages().size();
            way.open(path);
            ASSERT_EQ(dialogs.Messages().size(), shown + 1);
            EXPECT_EQ(dialogs.Messages().back().text, "Unmatched version of *.ign file!");
            EXPECT_EQ(form->recentFiles, (std::vector<std::string>{"/current.ign", path, "/older.ign"}));
            EXPECT_EQ(form->images.image, before);
        }
        EXPECT_FALSE(std::filesystem::exists(dir / (std::filesystem::path(c.name).stem().string() + "-dif.txt")));
    }
}

// Names whose inspection fails (a loop of links, a name too long, a folder) are open errors, not exceptions.
TEST_F(FileMenuTest, NamesThatCannotBeReadAreOpenErrors)
{
    std::filesystem::create_symlink(dir / "loop_b.ign", dir / "loop_a.ign");
    std::filesystem::create_symlink(dir / "loop_a.ign", dir / "loop_b.ign");
    std::filesystem::create_directory(dir / "folder.ign");
    const std::string names[] = {
        (dir / "loop_a.ign").string(),
        (dir / (std::string(300, 'x') + ".ign")).string(),
        (dir / "folder.ign").string(),
    };
    for (const std::string& name : names) {
        SCOPED_TRACE(name.substr(0, 80));
        form->recentFiles = {"/current.ign", name};
        dialogs.AnswerFile(name);
        const std::size_t shown = dialogs.Messages().size();
        EXPECT_NO_THROW(form->MenuOpenClick(nullptr));
        ASSERT_EQ(dialogs.Messages().size(), shown + 1);
        EXPECT_EQ(dialogs.Messages().back().text, "Open file error!");
        EXPECT_EQ(form->recentFiles, std::vector<std::string>{"/current.ign"});
    }
}

TEST_F(FileMenuTest, FailedSaveKeepsTheOldFileAndReportsIt)
{
    const std::string path = (dir / "no_such_folder" / "x.ign").string();
    dialogs.AnswerFile(path);
    form->MenuSaveClick(nullptr);
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_NE(dialogs.Messages()[0].text.find("Open file error!"), std::string::npos);
    EXPECT_EQ(form->fileShown, 0);
    EXPECT_TRUE(form->currentFileName.empty());
}

TEST_F(FileMenuTest, RecentListRules)
{
    form->recentFiles.clear();
    for (int i = 0; i < 11; ++i)
        form->AddRecentFile("/f" + std::to_string(i) + ".ign");
    EXPECT_EQ(form->recentFiles.size(), 10u);
    EXPECT_EQ(form->recentFiles.front(), "/f10.ign");
    EXPECT_EQ(form->recentFiles.back(), "/f1.ign");  // the oldest fell off
    form->AddRecentFile("/f5.ign");
    EXPECT_EQ(form->recentFiles.front(), "/f5.ign");
    EXPECT_EQ(std::count(form->recentFiles.begin(), form->recentFiles.end(), "/f5.ign"), 1);
    form->AddRecentFile("");  // New puts an empty entry on top...
    EXPECT_EQ(form->recentFiles.front(), "");
    form->AddRecentFile("/next.ign");  // ...which the next opened file removes
    EXPECT_EQ(std::count(form->recentFiles.begin(), form->recentFiles.end(), ""), 0);
    form->recentFiles = {"/x/cur.ign", "/some/bike.old.ign"};
    form->RefreshRecentMenu();
    EXPECT_EQ(form->historyItems[1]->Caption(), "1 bike.old");
    EXPECT_TRUE(form->historyItems[1]->Visible());
    EXPECT_FALSE(form->historyItems[2]->Visible());
}

TEST_F(FileMenuTest, ReportNameReplacesTheExtension)
{
    EXPECT_EQ(ReportNameFor("/a/b.ign"), "/a/b-dif.txt");
    EXPECT_EQ(ReportNameFor("/a.x/b"), "/a.x/b-dif.txt");
    EXPECT_EQ(ReportNameFor("b.old.ign"), "b.old-dif.txt");
}

TEST_F(FileMenuTest, DeviceRequestsNeedAPortButResetDoesNot)
{
    form->MenuReadClick(nullptr);
    form->MenuProgramClick(nullptr);
    EXPECT_EQ(form->requestCode, 0);
    form->MenuResetClick(nullptr);
    EXPECT_EQ(form->requestCode, 128);
    form->MenuStopClick(nullptr);
    EXPECT_EQ(form->testCommands[2] & 0x20, 0x20);
}

TEST_F(FileMenuTest, CompareWithFileWritesTheReportBesideIt)
{
    const std::string path = (dir / "b.ign").string();
    dialogs.AnswerFile(path);
    form->MenuSaveClick(nullptr);
    form->images.image[2600] = static_cast<std::uint8_t>(form->images.image[2600] ^ 0x10);
    const Image edited = form->images.image;
    dialogs.AnswerFile(path);
    form->MenuOpenCompareClick(nullptr);
    EXPECT_EQ(form->images.image, edited);  // the settings image is kept
    const auto report = os::readWholeFile(dir / "b-dif.txt");
    ASSERT_TRUE(report.has_value());
    EXPECT_FALSE(report->empty());
}

TEST_F(FileMenuTest, CompareWithUnitNeedsAValidDeviceImage)
{
    form->MenuCompareDeviceClick(nullptr);
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text, "Device reference in not valid");
    form->images.deviceValid = true;
    form->images.device = form->images.image;
    dialogs.AnswerFile((dir / "unit.txt").string());
    form->MenuCompareDeviceClick(nullptr);
    EXPECT_EQ(os::readWholeFile(dir / "unit.txt").value_or("x"), "");  // identical: an empty report
}

TEST_F(FileMenuTest, ProgramIsRefusedOnANewInstallationAndAsksForAnotherModel)
{
    form->link->portInUse = 5;  // as if a unit were connected
    form->NEWINSTAL = 1;
    form->MenuProgramClick(nullptr);
    EXPECT_EQ(form->requestCode, 0);
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_NE(dialogs.Messages()[0].text.find("new installation"), std::string::npos);

    form->NEWINSTAL = 0;
    form->unitModel = 20;  // the unit reports another model than the image's 11
    dialogs.AnswerMessage(IDCANCEL);
    form->MenuProgramClick(nullptr);
    EXPECT_EQ(form->requestCode, 0);
    ASSERT_EQ(dialogs.Messages().size(), 2u);
    EXPECT_EQ(dialogs.Messages()[1].flags & MB_DEFBUTTON2, MB_DEFBUTTON2);

    dialogs.AnswerMessage(IDOK);
    form->MenuProgramClick(nullptr);
    EXPECT_EQ(form->requestCode, 96);
    EXPECT_EQ(form->programAll, 1);

    form->unitModel = -1;  // no model reported yet: no question
    form->requestCode = 0;
    form->MenuProgramClick(nullptr);
    EXPECT_EQ(form->requestCode, 96);
    EXPECT_EQ(dialogs.Messages().size(), 3u);
    form->link->portInUse = 0;
}
