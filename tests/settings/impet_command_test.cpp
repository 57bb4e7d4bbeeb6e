// Archive command lines: parsing, result codes and the notes they print.
#include <gtest/gtest.h>

#include <sstream>

#include "impet_test_util.h"
#include "settings/impetcmd.h"

namespace {

struct Session
{
    std::unique_ptr<CImpet> impet;
    std::ostringstream out, err;

    // Runs one line; returns what it printed after the echoed line.
    std::string run(const std::string& line, int* result = nullptr)
    {
        out.str({});
        const int r = ImpetCommand(impet, line, out, err);
        if (result) *result = r;
        const std::string text = out.str();
        EXPECT_EQ(text.substr(0, line.size() + 1), line + "\n");
        return text.substr(line.size() + 1);
    }
};

TEST(ImpetCommand, SaveReportsStoredBytesAndItems)
{
    TempDir dir;
    writeBytes(dir / "prog", noiseBytes(256));
    writeText(dir / "NEW_309/a.ign", "0123456789");
    Session s;
    int result = 0;
    EXPECT_EQ(s.run("OPEN " + (dir / "prog").string(), &result), " (opened)\n");
    EXPECT_EQ(result, 5);
    EXPECT_EQ(s.run("IMPORT " + (dir / "NEW_309").string()), " (2 files added)\n");
    EXPECT_EQ(s.run("SAVE", &result), " (stored 168 bytes - 2 items)\n");
    EXPECT_EQ(result, 9);
    EXPECT_EQ(readBytes(dir / "prog").size(), 256u + 32 + 79 + 168);
}

TEST(ImpetCommand, KeywordsArgumentsAndResults)
{
    TempDir dir;
    writeBytes(dir / "prog", noiseBytes(100));
    writeText(dir / "with blanks/NEW_309/m.ign", std::string(500, 'm'));
    writeText(dir / "MAP_309/rs309.map", "map");
    Session s;
    struct Row
    {
        std::string line;
        std::string printed;
        int result;
    };
    const Row rows[] = {
        {"SAVE", "", 0},  // no archive object yet
        {"open " + (dir / "prog").string(), " (opened)\n", 5},
        {"\t IMPORT \"" + (dir / "with blanks/NEW_309").string() + "\" \"\"  ", " (2 files added)\n", 1},
        {"IMPORT " + dir.path().string() + "\\MAP_309", " (2 files added)\n", 1},  // a Windows separator
        {"IMPORT " + (dir / "missing").string(), "", 1},
        {"IMPORT \"unclosed", "", 1},
        {"set NEW_309\\m.ign hello", " (file rewritten)\n", 1},
        {"EXPORT NEW_309\\m.ign " + dir.path().string(), " (1 files extracted)\n", 2},
        {"EXPORT NEW_309\\nothing.ign " + dir.path().string(), "", 0},
        {"SETUP.", " (file rewritten)\n", 1},  // a prefix test: SET with the argument "UP."
        {"MKDIR NEW_309\\Sub", " (directory created)\n", 1},
        {"MKDIR Missing\\Sub", " (error)\n", 1},
        {"RENAME NEW_309\\m.ign NEW_309\\Sub\\m2.ign", " (1 file renamed)\n", 1},
        {"RENAME NEW_309\\m.ign NEW_309\\x.ign", " (error)\n", 1},
        {"DELETE NEW_309\\Sub\\m2.ign", " (1 files deleted)\n", 1},
        {"DELETE NEW_309\\nothing.ign", " (error)\n", 1},
        {"FROBNICATE", "", 0},
        {"CLEAR", " (cleared)\n", 5},
        {"MKDIR again", " (error)\n", 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        int result = -1;
        EXPECT_EQ(s.run(row.line, &result), row.printed);
        EXPECT_EQ(result, row.result);
    }
    // The SET text replaced the packed file by 5 raw bytes, and the export wrote exactly those.
    EXPECT_EQ(readBytes(dir / "m.ign"), bytesOf("hello"));
}

TEST(ImpetCommand, SetMakesRawFile)
{
    Session s;
    s.impet = std::make_unique<CImpet>();
    ASSERT_EQ(s.impet->MakeFolder("", "NEW_309"), 0);
    ASSERT_EQ(s.impet->AddBytes("NEW_309", "m.ign", std::vector<std::uint8_t>(500, 'm')), 0);
    ASSERT_NE(s.impet->FindFile("NEW_309", "m.ign")->packedSize, 0u);
    EXPECT_EQ(s.run("SET \"NEW_309\\m.ign\" hello"), " (file rewritten)\n");
    const IMPET_FILE* f = s.impet->FindFile("NEW_309", "m.ign");
    EXPECT_EQ(f->packedSize, 0u);
    EXPECT_EQ(f->size, 5u);
    int result = -1;
    EXPECT_EQ(s.run("SET NoFolder\\x.txt hi", &result), " (error)\n");
    EXPECT_EQ(result, 0);
}

TEST(ImpetCommand, ClearThenSaveRemovesTheArchive)
{
    TempDir dir;
    writeBytes(dir / "prog", noiseBytes(300));
    Session s;
    s.run("OPEN " + (dir / "prog").string());
    s.run("MKDIR A");
    EXPECT_EQ(s.run("SAVE"), " (stored 79 bytes - 1 items)\n");
    EXPECT_EQ(readBytes(dir / "prog").size(), 512u + 32 + 79 + 79);
    s.run("CLEAR");
    EXPECT_EQ(s.run("MKDIR B"), " (error)\n");
    EXPECT_EQ(s.run("SAVE"), " (stored 0 bytes - 0 items)\n");
    EXPECT_EQ(readBytes(dir / "prog").size(), 512u);  // cut to the archive start
    EXPECT_EQ(s.run("OPEN " + (dir / "prog").string()), " (opened)\n");
    EXPECT_EQ(s.run("MKDIR B"), " (directory created)\n");
}

TEST(ImpetCommand, DamagedArchiveIsDroppedWithAReason)
{
    TempDir dir;
    CImpet impet;
    ASSERT_EQ(impet.MakeFolder("", "A"), 0);
    auto bytes = impet.SerializeArchive(kFixedTime);
    bytes.resize(bytes.size() - 10);  // the children array is cut short
    writeBytes(dir / "prog", bytes);
    Session s;
    EXPECT_EQ(s.run("OPEN " + (dir / "prog").string()), " (error)\n");
    EXPECT_EQ(s.impet, nullptr);
    EXPECT_NE(s.err.str().find("damaged"), std::string::npos);
    EXPECT_EQ(s.run("OPEN " + (dir / "missing").string()), " (error)\n");
}

TEST(AttachProgramArchive, ImportsFromTheFirstRootThatHoldsTheFolders)
{
    TempDir dir;
    writeBytes(dir / "kelvora", noiseBytes(1000));
    writeText(dir / "installed/NEW_309/Model.ign", "text");
    writeText(dir / "installed/MAP_309/rs309.map", "map");
    std::ostringstream out;
    const std::vector<std::filesystem::path> roots{dir / "beside", dir / "installed"};
    CImpet impet;
    EXPECT_TRUE(AttachProgramArchive(impet, dir / "kelvora", roots, dir.path(), out));
    EXPECT_EQ(impet.GetFile("\\NEW_309", "model.ign"), bytesOf("text"));
    EXPECT_NE(impet.FindFile("MAP_309", "rs309.map"), nullptr);

    CImpet none;
    const std::vector<std::filesystem::path> nowhere{dir / "beside"};
    EXPECT_FALSE(AttachProgramArchive(none, dir / "kelvora", nowhere, dir.path(), out));
    EXPECT_FALSE(std::filesystem::exists(dir / "IGN.err"));  // no archive is no fault
}

TEST(AttachProgramArchive, UsesTheAppendedArchiveAndLogsADamagedOne)
{
    TempDir dir;
    writeBytes(dir / "kelvora", noiseBytes(1000));
    writeText(dir / "beside/NEW_309/Model.ign", "from disk");
    std::unique_ptr<CImpet> tool;
    std::ostringstream out, err;
    ImpetCommand(tool, "OPEN " + (dir / "kelvora").string(), out, err);
    ImpetCommand(tool, "MKDIR NEW_309", out, err);
    ImpetCommand(tool, "SET NEW_309\\Model.ign appended", out, err);
    ImpetCommand(tool, "SAVE", out, err);
    const std::vector<std::filesystem::path> roots{dir / "beside"};

    CImpet impet;
    EXPECT_TRUE(AttachProgramArchive(impet, dir / "kelvora", roots, dir.path(), out));
    EXPECT_EQ(impet.GetFile("NEW_309", "Model.ign"), bytesOf("appended"));

    auto bytes = readBytes(dir / "kelvora");
    bytes.pop_back();
    writeBytes(dir / "kelvora", bytes);
    CImpet damaged;
    EXPECT_TRUE(AttachProgramArchive(damaged, dir / "kelvora", roots, dir.path(), out));
    EXPECT_EQ(damaged.GetFile("NEW_309", "Model.ign"), bytesOf("from disk"));
    const auto log = readBytes(dir / "IGN.err");
    EXPECT_NE(std::string(log.begin(), log.end()).find("damaged"), std::string::npos);
}

TEST(DefaultArchiveImportRoots, BesideTheCurrentFolderThenTheInstalledDataFolder)
{
    TempDir dir;
    writeBytes(dir / "prefix/bin/kelvora", noiseBytes(10));
    std::filesystem::create_symlink(dir / "prefix/bin/kelvora", dir / "link");
    const auto roots = DefaultArchiveImportRoots(dir / "link");
    ASSERT_EQ(roots.size(), 2u);
    EXPECT_EQ(roots[0], std::filesystem::path("../IMPET"));
    EXPECT_EQ(roots[1], std::filesystem::canonical(dir.path()) / "prefix/share/kelvora/IMPET");
}

}  // namespace
