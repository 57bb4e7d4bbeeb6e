// The test program is not the program file with the archive appended, so every main window of these tests
// starts as the program does with an empty archive: it imports the model settings and the parameter layout
// from ../IMPET beside the current folder. This environment lays that folder out once for the whole run.
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

namespace {

class ArchiveFolderEnvironment final : public testing::Environment {
public:
    void SetUp() override
    {
        char pattern[] = "/tmp/kelvora_impet_XXXXXX";
        m_root = mkdtemp(pattern);
        const std::filesystem::path impet = m_root / "IMPET";
        std::filesystem::create_directories(impet);
        std::filesystem::create_directories(m_root / "run");
        for (const char* folder : {"NEW_309", "MAP_309"})
            std::filesystem::create_directory_symlink(std::filesystem::path(SOURCE_DIR) / "resources/impet" / folder,
                                                      impet / folder);
        m_previous = std::filesystem::current_path();
        std::filesystem::current_path(m_root / "run");
    }
    void TearDown() override
    {
        std::filesystem::current_path(m_previous);
        std::filesystem::remove_all(m_root);
    }

private:
    std::filesystem::path m_root;
    std::filesystem::path m_previous;
};

const auto* const registered = testing::AddGlobalTestEnvironment(new ArchiveFolderEnvironment);

}  // namespace
