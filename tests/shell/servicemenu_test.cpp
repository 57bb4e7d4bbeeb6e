// The Service menu's batch tools run from the window, as a person runs them: the files they leave in the
// working folder, the messages in the current language, and a folder or a file that cannot be written.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "settings/batch.h"
#include "settings/newbike.h"
#include "settings/settingsreader.h"
#include "shell/mainform.h"
#include "startedform.h"

namespace {

// The tools write relative to the working folder: each test runs in its own.
class ServiceMenuTest : public StartedFormTest {
protected:
    void SetUp() override
    {
        StartedFormTest::SetUp();
        m_previous = std::filesystem::current_path();
        std::filesystem::current_path(dir);
    }
    void TearDown() override
    {
        std::filesystem::current_path(m_previous);
        StartedFormTest::TearDown();
    }
    void click(const char* name) { form->MainMenu1->Find(name)->Click(); }
    [[nodiscard]] std::set<std::string> entries(const std::filesystem::path& folder) const
    {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename());
        return names;
    }

private:
    std::filesystem::path m_previous;
};

std::filesystem::path modelFile(const std::filesystem::path& folder, int model)
{
    return folder / (ModelFileName(BikeModelEnglishName(model)) + ".ign");
}

std::string fileText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeText(const std::filesystem::path& path, const std::string& text)
{
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

}  // namespace

TEST_F(ServiceMenuTest, ItemsAreEnabledInAMenuHiddenUnlessAskedFor)
{
    EXPECT_TRUE(form->MainMenu1->Find("MenuSaveAllNew")->Enabled());
    EXPECT_TRUE(form->MainMenu1->Find("MenuCompareAll")->Enabled());
    EXPECT_FALSE(form->MainMenu1->Find("MenuServis")->Visible());

    form.reset();
    setenv("KELVORA_SERVICE_MENU", "1", 1);
    form = std::make_unique<TMainForm>(clock, std::vector<std::string>{}, NoPorts());
    form->FormCreate(form.get());
    unsetenv("KELVORA_SERVICE_MENU");
    EXPECT_TRUE(form->MainMenu1->Find("MenuServis")->Visible());
}

TEST_F(ServiceMenuTest, SaveAllNewWritesEveryModelAndLeavesTheWindowAsItWas)
{
    form->images.image[3000] = static_cast<std::uint8_t>(form->images.image[3000] ^ 0x21);  // the user's edit
    form->images.changeMarks[3000] = 1;
    const ImageSet before = form->images;
    const int page = form->PageControl1->ActivePageIndex();

    click("MenuSaveAllNew");
    EXPECT_TRUE(dialogs.Messages().empty());
    EXPECT_EQ(entries("new_ign").size(), 69u);
    for (int model = 0; model < RS_MODEL_COUNT; ++model) {
        SCOPED_TRACE(model);
        Image image{};
        const LoadResult read = LoadSettingsFile(image, modelFile("new_ign", model));
        ASSERT_TRUE(read.accepted()) << read.error;
        EXPECT_EQ(image[RS_BIKE_BYTE], model);
    }
    EXPECT_EQ(form->images.image, before.image);
    EXPECT_EQ(form->images.reference, before.reference);
    EXPECT_EQ(form->images.changeMarks, before.changeMarks);
    EXPECT_EQ(form->PageControl1->ActivePageIndex(), page);
}

TEST_F(ServiceMenuTest, CompareAllNewWritesTheDifferencesAndSaysWhere)
{
    click("MenuSaveAllNew");
    std::filesystem::copy("new_ign", "new_ign_old");
    // An earlier run that had another value on the seventh line of one model's file.
    const std::filesystem::path old11 = modelFile("new_ign_old", 11);
    std::string text = fileText(old11);
    const std::size_t at = text.find("AP_SOURCE          0 ");
    ASSERT_NE(at, std::string::npos);
    text[at + 19] = '1';
    writeText(old11, text);

    click("MenuCompareAll");
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text, "Results in file \"./new_ign/compare_all_new.txt\"");
    const std::string result = fileText("new_ign/compare_all_new.txt");
    std::size_t names = 0;
    for (std::size_t p = result.find("------------------------------------------------------   ");
         p != std::string::npos; p = result.find("------------------------------------------------------   ", p + 1))
        ++names;
    EXPECT_EQ(names, 69u);
    // The old line with what both lines share blanked (its line end too), then the new line.
    EXPECT_NE(result.find("....line:7\r\n" + std::string(19, ' ') + "1  \r\nAP_SOURCE          0 \r\n\r\n"),
              std::string::npos)
        << result;
    EXPECT_EQ(result.find("....line:", result.find("....line:7") + 1), std::string::npos) << "one difference only";
}

TEST_F(ServiceMenuTest, FolderThatCannotBeWrittenIsSaidInTheCurrentLanguageAndNothingIsWritten)
{
    struct Case {
        const char* menu;
        int language;
        const char* text;
    };
    const Case cases[] = {
        {"MenuEnglish", LNG_ENGLISH, "Open file error!"},
        {"MenuGerman", LNG_GERMAN, "Fehler beim Öffnen der Datei!"},
        {"MenuCzech", LNG_CZECH, "Chyba při otevírání souboru!"},
    };
    writeText("new_ign", "a file where the folder belongs");
    const std::set<std::string> entriesBefore = entries(".");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.menu);
        click(c.menu);
        ASSERT_EQ(GetLanguageIndex(), c.language);
        for (const char* tool : {"MenuSaveAllNew", "MenuCompareAll"}) {
            SCOPED_TRACE(tool);
            const std::size_t shown = dialogs.Messages().size();
            click(tool);
            ASSERT_EQ(dialogs.Messages().size(), shown + 1);
            const std::string& message = dialogs.Messages().back().text;
            EXPECT_EQ(message.rfind(std::string(c.text) + "\n", 0), 0u) << message;
            EXPECT_NE(message.find("new_ign"), std::string::npos) << message;
        }
    }
    EXPECT_EQ(entries("."), entriesBefore);
    EXPECT_EQ(fileText("new_ign"), "a file where the folder belongs");
}

TEST_F(ServiceMenuTest, FileThatCannotBeReplacedIsNamedAndKeepsWhatStoodThere)
{
    click("MenuSaveAllNew");
    const std::filesystem::path file11 = modelFile("new_ign", 11);
    std::filesystem::remove(file11);
    writeText(file11 / "kept.txt", "an earlier run's leftovers");
    const std::string file12 = fileText(modelFile("new_ign", 12));

    click("MenuSaveAllNew");
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    const std::string& message = dialogs.Messages()[0].text;
    EXPECT_EQ(message.rfind("Open file error!\n", 0), 0u) << message;
    EXPECT_NE(message.find(file11.filename().string()), std::string::npos) << message;
    EXPECT_EQ(fileText(file11 / "kept.txt"), "an earlier run's leftovers");
    EXPECT_EQ(fileText(modelFile("new_ign", 12)), file12);
    EXPECT_EQ(entries("new_ign").size(), 69u) << "no half-written file beside them";
}
