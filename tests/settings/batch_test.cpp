// Save All New and Compare All New over the models.
#include "settings/batch.h"

#include <gtest/gtest.h>

#include "impet_test_util.h"
#include "settings/newbike.h"

namespace {

std::string fileText(const std::filesystem::path& path)
{
    const auto bytes = readBytes(path);
    return {bytes.begin(), bytes.end()};
}

std::string modelFile(int model)
{
    return ModelFileName(BikeModelEnglishName(model)) + ".ign";
}

CImpet shippedArchive()
{
    CImpet impet;
    EXPECT_EQ(impet.ImportFolder("", std::filesystem::path(TEST_DATA_DIR) / "../../../resources/impet/NEW_309", 0), 0);
    return impet;
}

std::string nameLine(int model)
{
    std::string_view display;
    for (const BikeModel& m : BikeModels())
        if (m.tag == model) display = m.displayName.starts_with("###") ? BikeModelEnglishName(model) : m.displayName;
    return "------------------------------------------------------   " + std::string(display) + "\r\n";
}

TEST(SaveAllNew, WritesEveryModelAndSkipsMissingOnes)
{
    TempDir dir;
    CImpet impet = shippedArchive();
    ASSERT_EQ(impet.Delete("NEW_309", modelFile(5)), 0);
    SettingsFileTexts texts;
    texts.buildDate = "Nov 26 2024";
    texts.buildTime = "00:00:00";
    const SaveAllNewResult result = SaveAllNew(impet, dir / "new_ign", texts);
    EXPECT_EQ(result.written, 68);
    ASSERT_EQ(result.modelErrors.size(), 1u);
    EXPECT_EQ(result.modelErrors[0], "NEW for Motocycle Honda VTR 1000 SP-1 (01-02) is missing");
    EXPECT_TRUE(result.writeErrors.empty());
    EXPECT_TRUE(result.folderError.empty());
    EXPECT_FALSE(std::filesystem::exists(dir / "new_ign" / modelFile(5)));  // no file of zeros
    // New settings of a shipped model file give that file again.
    EXPECT_EQ(fileText(dir / "new_ign" / modelFile(11)),
              fileText(std::filesystem::path(TEST_DATA_DIR) / "../../../resources/impet/NEW_309" / modelFile(11)));
}

TEST(SaveAllNew, FolderThatCannotBeMadeIsReportedOnceAndNothingIsWritten)
{
    TempDir dir;
    writeText(dir / "new_ign", "a file, not a folder");
    CImpet impet = shippedArchive();
    const SaveAllNewResult result = SaveAllNew(impet, dir / "new_ign", {});
    EXPECT_EQ(result.written, 0);
    EXPECT_NE(result.folderError.find((dir / "new_ign").string()), std::string::npos) << result.folderError;
    EXPECT_TRUE(result.writeErrors.empty());
    EXPECT_EQ(fileText(dir / "new_ign"), "a file, not a folder");
}

TEST(SaveAllNew, FileThatCannotBeReplacedKeepsItsEarlierSelfAndTheOthersAreWritten)
{
    TempDir dir;
    CImpet impet = shippedArchive();
    // Where model 11's file belongs stands a folder of an earlier run's leftovers.
    writeText(dir / "new_ign" / modelFile(11) / "kept.txt", "kept");
    const SaveAllNewResult result = SaveAllNew(impet, dir / "new_ign", {});
    EXPECT_EQ(result.written, 68);
    ASSERT_EQ(result.writeErrors.size(), 1u);
    EXPECT_NE(result.writeErrors[0].find(modelFile(11)), std::string::npos) << result.writeErrors[0];
    EXPECT_EQ(fileText(dir / "new_ign" / modelFile(11) / "kept.txt"), "kept");
    // Nothing half-written is left behind: the folder holds the 68 files and the leftovers' folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "new_ign"), {}), 69);
}

TEST(CompareAllNew, ReportsDifferingLinesOnly)
{
    TempDir dir;
    const auto oldDir = dir / "new_ign_old", newDir = dir / "new_ign";
    const std::string common = "\r\nQUORVANE_KEY     309 \r\nBIKE              11 \r\n";
    for (const BikeModel& m : BikeModels()) {
        if (m.tag == 3) continue;  // no files for model 3
        writeText(oldDir / modelFile(m.tag), common + "EXE    Nov 26 2024\t00:00:00\r\n");
        writeText(newDir / modelFile(m.tag), common + "EXE    Dec 11 2026\t03:00:00\r\n");
    }
    // Model 11: the same length, differing in the last digit; and one extra line at the end of the new file.
    writeText(oldDir / modelFile(11), common + "COOLING           97 \r\n");
    writeText(newDir / modelFile(11), common + "COOLING           98 \r\nEXTRA 1 \r\n");
    writeText(oldDir / modelFile(12), common);  // no new file for model 12
    std::filesystem::remove(newDir / modelFile(12));

    ASSERT_TRUE(CompareAllNew(newDir, oldDir).ok);
    std::string expected;
    for (int model = 0; model < RS_MODEL_COUNT; ++model) {
        expected += nameLine(model);
        if (model == 3) expected += "!!!!!!!!!soubor \"old\" se nepodarilo otevrit \r\n";
        if (model == 11)
            expected += "....line:4\r\n" + std::string(19, ' ') +
                        "7  \r\nCOOLING           98 \r\n\r\n";  // line ends blanked too
        if (model == 12) expected += "!!!!!!!!!soubor \"akt\" se nepodarilo otevrit !!!!!!!!!!!!!!\r\n";
    }
    EXPECT_EQ(fileText(newDir / "compare_all_new.txt"), expected);
    EXPECT_EQ(CompareAllNewMessage("./new_ign"), "Results in file \"./new_ign/compare_all_new.txt\"");
    const os::FileResult missing = CompareAllNew(dir / "missing", oldDir);
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(missing.error.find("compare_all_new.txt"), std::string::npos) << missing.error;
}

TEST(CompareAllNew, LongLinesComeInPieces)
{
    TempDir dir;
    const auto oldDir = dir / "old", newDir = dir / "new";
    std::filesystem::create_directories(newDir);
    const std::string longOld = std::string(299, 'a') + "b\r\n", longNew = std::string(299, 'a') + "c\r\n";
    writeText(oldDir / modelFile(0), longOld);
    writeText(newDir / modelFile(0), longNew);
    ASSERT_TRUE(CompareAllNew(newDir, oldDir).ok);
    const std::string text = fileText(newDir / "compare_all_new.txt");
    // The first 299 characters are one equal line; the rest ("b\n" against "c\n") is line 2.
    EXPECT_NE(text.find("....line:2\r\nb \r\nc\r\n\r\n"), std::string::npos);
    EXPECT_EQ(text.find("....line:1"), std::string::npos);
}

}  // namespace
