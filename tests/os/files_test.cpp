#include "os/files.h"
#include "os/settingsdir.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

class TempDir : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/kelvora_os_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::permissions(dir, fs::perms::owner_all, ec);
        fs::remove_all(dir, ec);
    }
    fs::path dir;
};

using AtomicWrite = TempDir;

TEST_F(AtomicWrite, ReplacesTheFileAndLeavesNoTemporary)
{
    const fs::path file = dir / "default.ini";
    ASSERT_TRUE(os::atomicWriteFile(file, "old").ok);
    ASSERT_TRUE(os::atomicWriteFile(file, "new\r\ntext").ok);
    EXPECT_EQ(os::readWholeFile(file).value_or(""), "new\r\ntext");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(AtomicWrite, FailureIsReportedAndTheOldFileKept)
{
    const fs::path file = dir / "application.ini";
    ASSERT_TRUE(os::atomicWriteFile(file, "kept").ok);
    // A file-size limit makes the write fail half way, for root too (a full disk looks the same).
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const os::FileResult result = os::atomicWriteFile(file, std::string(100, 'x'));
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("application.ini"), std::string::npos);
    EXPECT_EQ(os::readWholeFile(file).value_or(""), "kept");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);  // no temporary left
}

TEST_F(AtomicWrite, WriteIntoMissingFolderFails)
{
    const os::FileResult result = os::atomicWriteFile(dir / "no" / "such" / "file", "x");
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.empty());
}

TEST_F(AtomicWrite, ReadRefusesFilesOverTheLimit)
{
    ASSERT_TRUE(os::atomicWriteFile(dir / "big", std::string(1000, 'x')).ok);
    std::string error;
    EXPECT_FALSE(os::readWholeFile(dir / "big", 999, &error).has_value());
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(os::readWholeFile(dir / "big", 1000).value_or("").size(), 1000u);
    EXPECT_FALSE(os::readWholeFile(dir / "missing").has_value());
}

using SettingsFolderTest = TempDir;

TEST_F(SettingsFolderTest, CreatedUnderXdgConfigHome)
{
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    const os::SettingsFolder folder = os::openSettingsFolder();
    EXPECT_TRUE(folder.created);
    EXPECT_EQ(folder.path, dir / "Quorvane" / "Kelvora_12" / "309");
    EXPECT_TRUE(fs::is_directory(folder.path));
}

TEST_F(SettingsFolderTest, FallsBackToCurrentFolderWhenItCannotBeMade)
{
    // A file where the folder should be cannot become a folder, for root too.
    ASSERT_TRUE(os::atomicWriteFile(dir / "Quorvane", "in the way").ok);
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    const os::SettingsFolder folder = os::openSettingsFolder();
    EXPECT_FALSE(folder.created);
    EXPECT_FALSE(folder.error.empty());
    EXPECT_EQ(folder.path, fs::current_path());
}
