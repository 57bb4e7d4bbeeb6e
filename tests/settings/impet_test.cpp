// The archive reader, lookups, editing and saving, against archives built in the tests.
#include "settings/impet.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "impet_test_util.h"

namespace {

// Byte positions inside a serialized archive (marker included) of: root -> folder "NEW_309" -> file "a.ign".
constexpr std::size_t kRootAt = 32, kFolderAt = kRootAt + 79, kFileAt = kFolderAt + 79, kDataAt = kFileAt + 79;
constexpr std::size_t kOffOffset = 53, kOffSize = 57, kOffPacked = 61, kOffFlags = 73;

void putLe32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::vector<std::uint8_t> oneFileArchive(const std::vector<std::uint8_t>& data)
{
    CImpet impet = fixedClockImpet();
    EXPECT_EQ(impet.MakeFolder("", "NEW_309"), 0);
    EXPECT_EQ(impet.AddBytes("NEW_309", "a.ign", data), 0);
    return impet.SerializeArchive(kFixedTime);
}

TEST(ImpetMarker, IsTheDocumentedBytes)
{
    std::vector<std::uint8_t> expected = bytesOf("##IMPET_HEADER##");
    for (int c = 0x21; c <= 0x2E; ++c) expected.push_back(static_cast<std::uint8_t>(c));
    expected.push_back(0x3A);
    expected.push_back(0x3E);
    const auto marker = ImpetMarker();
    EXPECT_EQ(std::vector<std::uint8_t>(marker.begin(), marker.end()), expected);
}

TEST(ImpetLayout, OneFolderOneRawFile)
{
    const auto bytes = oneFileArchive(bytesOf("0123456789"));
    ASSERT_EQ(bytes.size(), kDataAt + 10);
    // Root: offset 79, one child; folder: its array at 158; file: data at 237, raw.
    EXPECT_EQ(bytes[kRootAt + kOffOffset], 79);
    EXPECT_EQ(bytes[kRootAt + kOffFlags], 1);
    EXPECT_EQ(bytes[kRootAt + kOffFlags + 1], 0x80);
    EXPECT_EQ(bytes[kFolderAt + kOffOffset], 158);
    EXPECT_EQ(bytes[kFolderAt + kOffSize], 79);  // the children array's length, not an in-memory capacity
    EXPECT_EQ(bytes[kFileAt + kOffOffset], 237);
    EXPECT_EQ(bytes[kFileAt + kOffSize], 10);
    EXPECT_EQ(bytes[kFileAt + kOffPacked], 0);
    EXPECT_EQ(std::memcmp(bytes.data() + kFileAt, "a.ign", 6), 0);
    EXPECT_EQ(std::string(bytes.end() - 10, bytes.end()), "0123456789");
}

TEST(ImpetOpen, MarkerScan)
{
    const auto archive = oneFileArchive(bytesOf("0123456789"));
    struct Case
    {
        const char* name;
        std::size_t prefix;  // program bytes before the marker
        std::size_t keep;    // archive bytes kept (npos = all)
        int result;
    };
    const Case cases[] = {
        {"at_zero", 0, std::string::npos, 0},
        {"on_boundary", 512, std::string::npos, 0},
        {"in_last_short_chunk", 0x40000 + 0x1000, std::string::npos, 0},
        {"off_boundary", 300, std::string::npos, 2},
        {"exactly_32_bytes_left", 0x40000 + 256, 32, 3},  // marker found, tree missing
        {"31_bytes_left", 0x40000 + 256, 31, 2},
        {"empty_file", 0, 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::uint8_t> file(c.prefix, 0x55);
        const std::size_t keep = std::min(c.keep, archive.size());
        file.insert(file.end(), archive.begin(), archive.begin() + static_cast<std::ptrdiff_t>(keep));
        CImpet impet;
        EXPECT_EQ(impet.OpenBytes(file), c.result);
        if (c.result == 0) {
            EXPECT_EQ(impet.start(), c.prefix);
            EXPECT_EQ(impet.GetFile("\\NEW_309", "a.ign"), bytesOf("0123456789"));
        } else {
            EXPECT_TRUE(impet.root().isFolder());
            EXPECT_TRUE(impet.root().children.empty());
        }
        if (c.result == 2) {
            EXPECT_EQ(impet.start(), file.size());  // a save appends here
        }
    }
}

TEST(ImpetOpen, DamagedArchivesAreRefused)
{
    const auto good = oneFileArchive(bytesOf("0123456789"));
    std::vector<std::uint8_t> packedGood = oneFileArchive(std::vector<std::uint8_t>(300, 'x'));
    struct Case
    {
        const char* name;
        std::function<void(std::vector<std::uint8_t>&)> damage;
        bool packed;
    };
    const Case cases[] = {
        {"truncated_data", [](auto& b) { b.pop_back(); }, false},
        {"truncated_in_record", [](auto& b) { b.resize(kFileAt + 40); }, false},
        {"count_beyond_file",
         [](auto& b) {
             b[kFolderAt + kOffFlags] = 0xFF;
             b[kFolderAt + kOffFlags + 1] = 0x8F;
         },
         false},
        {"packed_above_size", [](auto& b) { putLe32(b, kFileAt + kOffPacked, 11); }, false},
        {"size_beyond_file", [](auto& b) { putLe32(b, kFileAt + kOffSize, 100000); }, false},
        {"name_without_terminator", [](auto& b) { std::memset(b.data() + kFileAt, 'A', 53); }, false},
        {"folder_contains_itself", [](auto& b) { std::memcpy(b.data() + kFileAt, b.data() + kFolderAt, 79); }, false},
        {"offset_out_of_order", [](auto& b) { putLe32(b, kFileAt + kOffOffset, 79); }, false},
        {"root_is_a_file", [](auto& b) { b[kRootAt + kOffFlags + 1] = 0; }, false},
        {"size_no_stream_can_reach", [](auto& b) { putLe32(b, kFileAt + kOffSize, 0xFFFFFFF0u); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::uint8_t> bytes = c.packed ? packedGood : good;
        c.damage(bytes);
        CImpet impet;
        EXPECT_EQ(impet.OpenBytes(bytes), 3);
        EXPECT_FALSE(impet.error().empty());
        EXPECT_TRUE(impet.root().children.empty());
        EXPECT_EQ(impet.GetFile("NEW_309", "a.ign"), std::nullopt);
    }
}

TEST(ImpetOpen, NestingBeyondTheLimitIsRefused)
{
    for (int depth : {IMPET_MAX_DEPTH, IMPET_MAX_DEPTH + 1}) {
        SCOPED_TRACE(depth);
        CImpet impet = fixedClockImpet();
        std::string path;
        for (int i = 0; i < depth; ++i) {
            ASSERT_EQ(impet.MakeFolder(path, "d"), 0);
            path += "\\d";
        }
        CImpet reader;
        EXPECT_EQ(reader.OpenBytes(impet.SerializeArchive(kFixedTime)), depth <= IMPET_MAX_DEPTH ? 0 : 3);
    }
}

TEST(ImpetGetFile, PackedStreamMustInflateToItsSize)
{
    const std::vector<std::uint8_t> data(300, 'x');
    for (std::uint32_t size : {299u, 300u, 301u}) {
        SCOPED_TRACE(size);
        auto bytes = oneFileArchive(data);
        putLe32(bytes, kFileAt + kOffSize, size);
        CImpet impet;
        ASSERT_EQ(impet.OpenBytes(bytes), 0);
        const auto got = impet.GetFile("NEW_309", "a.ign");
        if (size == 300)
            EXPECT_EQ(got, data);
        else
            EXPECT_EQ(got, std::nullopt);
    }
}

TEST(ImpetLookup, PathsAndCase)
{
    CImpet impet;
    ASSERT_EQ(impet.MakeFolder("", "NEW_309"), 0);
    ASSERT_EQ(impet.MakeFolder("NEW_309", "Sub"), 0);
    ASSERT_EQ(impet.AddBytes("NEW_309", "Model.ign", bytesOf("m")), 0);
    IMPET_FILE* folder = impet.FindFolder(nullptr, "NEW_309");
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(impet.FindFolder(nullptr, "new_309"), folder);
    EXPECT_EQ(impet.FindFolder(nullptr, "\\NEW_309\\"), folder);
    EXPECT_EQ(impet.FindFolder(nullptr, ""), &impet.root());
    EXPECT_EQ(impet.FindFolder(nullptr, "\\"), &impet.root());
    EXPECT_EQ(impet.FindFolder(nullptr, "NEW_309\\model.IGN"), folder);  // a file component: its folder
    EXPECT_EQ(impet.FindFolder(nullptr, "NEW_309\\missing"), nullptr);
    EXPECT_EQ(impet.FindFolder(nullptr, "NEW_309\\sub")->name, "Sub");
    EXPECT_EQ(impet.FindEntry(nullptr, "NEW_309\\MODEL.ign")->name, "Model.ign");
    EXPECT_NE(impet.FindFile("\\new_309", "model.ign"), nullptr);
    EXPECT_EQ(impet.FindFile("NEW_309", "Sub"), nullptr);  // a folder is no file
    EXPECT_EQ(impet.GetFile("new_309", "MODEL.IGN"), bytesOf("m"));
}

TEST(ImpetAdd, StorageAndNames)
{
    struct Case
    {
        const char* name;
        std::vector<std::uint8_t> data;
        bool packed;
    };
    const Case cases[] = {
        {"100_bytes_raw", std::vector<std::uint8_t>(100, 'a'), false},
        {"101_bytes_packed", std::vector<std::uint8_t>(101, 'a'), true},
        {"incompressible_raw", noiseBytes(1000), false},
        {"empty_raw", {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CImpet impet;
        ASSERT_EQ(impet.AddBytes("", "f", c.data), 0);
        const IMPET_FILE* f = impet.FindFile("", "f");
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->packedSize != 0, c.packed);
        EXPECT_EQ(f->size, c.data.size());
        CImpet reread;
        ASSERT_EQ(reread.OpenBytes(impet.SerializeArchive(kFixedTime)), 0);
        EXPECT_EQ(reread.GetFile("", "f"), c.data);
    }
    CImpet impet;
    const std::string longName(60, 'n');
    ASSERT_EQ(impet.AddBytes("", longName, bytesOf("x")), 0);
    EXPECT_EQ(impet.root().children.at(0).name, std::string(52, 'n'));
    EXPECT_EQ(impet.AddBytes("", longName, bytesOf("yy")), 0);  // same cut name: replaced
    EXPECT_EQ(impet.root().children.size(), 1u);
    EXPECT_EQ(impet.GetFile("", longName), bytesOf("yy"));
    ASSERT_EQ(impet.MakeFolder("", "dir"), 0);
    EXPECT_EQ(impet.AddBytes("", "DIR", bytesOf("z")), 1);  // a folder has the name
    EXPECT_EQ(impet.MakeFolder("", longName), 1);           // a file has the name
    EXPECT_EQ(impet.AddBytes("missing", "x", bytesOf("z")), 1);
    EXPECT_EQ(impet.AddBytes("", "big", std::vector<std::uint8_t>(IMPET_MAX_ADD + 1)), 1);
}

TEST(ImpetAdd, FolderHoldsAtMost4095Entries)
{
    CImpet impet;
    ASSERT_EQ(impet.MakeFolder("", "F"), 0);
    for (int i = 0; i < IMPET_MAX_CHILDREN; ++i) ASSERT_EQ(impet.AddEmptyFile("F", std::to_string(i)), 0);
    EXPECT_EQ(impet.AddEmptyFile("F", "one_more"), 1);
    EXPECT_EQ(impet.MakeFolder("F", "one_more"), 1);
    EXPECT_EQ(impet.AddBytes("F", "one_more", bytesOf("x")), 1);
    EXPECT_EQ(impet.AddBytes("F", "7", bytesOf("x")), 0);  // replacing needs no room
    CImpet reread;
    EXPECT_EQ(reread.OpenBytes(impet.SerializeArchive(kFixedTime)), 0);
    EXPECT_EQ(reread.FindFolder(nullptr, "F")->children.size(), 4095u);
}

TEST(ImpetRename, Cases)
{
    auto make = [] {
        CImpet impet;
        EXPECT_EQ(impet.MakeFolder("", "A"), 0);
        EXPECT_EQ(impet.MakeFolder("A", "B"), 0);
        EXPECT_EQ(impet.MakeFolder("", "C"), 0);
        EXPECT_EQ(impet.AddBytes("C", "x", bytesOf("xx")), 0);
        EXPECT_EQ(impet.AddBytes("C", "y", bytesOf("yy")), 0);
        EXPECT_EQ(impet.AddBytes("A", "x", bytesOf("ax")), 0);
        return impet;
    };
    struct Case
    {
        const char* name;
        const char* from;
        const char* to;
        int result;
        const char* check;  // folder and name that must then hold `content`
        const char* content;
    };
    const Case cases[] = {
        {"same_folder", "C\\x", "C\\z", 0, "C\\z", "xx"},
        {"onto_earlier_entry", "C\\y", "C\\x", 0, "C\\x", "yy"},  // the entry before it is removed, then it is renamed
        {"same_name_other_case", "C\\x", "C\\X", 0, "C\\X", "xx"},
        {"move", "C\\y", "A\\B\\y", 0, "A\\B\\y", "yy"},
        {"move_onto_taken", "C\\x", "A\\x", 3, "C\\x", "xx"},
        {"missing_entry", "C\\q", "C\\r", 2, "C\\x", "xx"},
        {"missing_folder", "Q\\x", "C\\r", 1, "C\\x", "xx"},
        {"folder_into_itself", "A", "A\\B\\A2", 4, "A\\x", "ax"},
        {"folder_into_child", "\\A", "A\\B\\A", 4, "A\\x", "ax"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CImpet impet = make();
        EXPECT_EQ(impet.Rename(c.from, c.to), c.result);
        const std::string check = c.check;
        const auto slash = check.rfind('\\');
        EXPECT_EQ(impet.GetFile(check.substr(0, slash), check.substr(slash + 1)), bytesOf(c.content));
        int folders = 0, files = 0;
        impet.CountTree("", "", folders, files);
        EXPECT_EQ(folders, 3);
        EXPECT_EQ(files, std::string(c.name) == "onto_earlier_entry" ? 2 : 3);
    }
}

TEST(ImpetDelete, RemovesSubtree)
{
    CImpet impet;
    ASSERT_EQ(impet.MakeFolder("", "A"), 0);
    ASSERT_EQ(impet.AddBytes("A", "f", bytesOf("1")), 0);
    ASSERT_EQ(impet.MakeFolder("", "B"), 0);
    EXPECT_EQ(impet.Delete("", "a"), 0);
    EXPECT_EQ(impet.Delete("", "A"), 1);
    ASSERT_EQ(impet.root().children.size(), 1u);
    EXPECT_EQ(impet.root().children[0].name, "B");
}

TEST(ImpetImport, CountsFoldersAndFiles)
{
    TempDir dir;
    writeText(dir / "src/one.txt", "1");
    writeText(dir / "src/two.txt", std::string(500, 't'));
    writeText(dir / "src/sub/three.txt", "3");
    writeText(dir / "src/.hidden", "h");
    CImpet impet;
    impet.itemCounter = 0;
    EXPECT_EQ(impet.ImportFolder("", dir / "src", kFixedTime), 0);
    EXPECT_EQ(impet.itemCounter, 5);
    EXPECT_EQ(impet.GetFile("src\\sub", "three.txt"), bytesOf("3"));
    EXPECT_EQ(impet.FindFile("src", ".hidden"), nullptr);
    // The folder name is the disk path's last component, with either separator and a trailing one.
    CImpet again;
    EXPECT_EQ(again.ImportFolder("", (dir.path().string() + "/src/"), kFixedTime), 0);
    EXPECT_NE(again.FindFolder(nullptr, "src"), nullptr);
    EXPECT_EQ(again.ImportFolder("", dir / "missing", kFixedTime), 1);
}

TEST(ImpetSave, PlacesArchiveAndCutsOldBytes)
{
    struct Case
    {
        const char* name;
        std::size_t programLength;
        std::size_t start;
    };
    const Case cases[] = {
        {"length_on_boundary", 512, 512},
        {"length_off_boundary", 513, 768},
        {"empty_program", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const auto program = noiseBytes(c.programLength);
        writeBytes(dir / "prog", program);
        ::chmod((dir / "prog").c_str(), 0755);
        CImpet impet = fixedClockImpet();
        ASSERT_EQ(impet.Open(dir / "prog"), 2);
        ASSERT_EQ(impet.MakeFolder("", "NEW_309"), 0);
        ASSERT_EQ(impet.AddBytes("NEW_309", "big", noiseBytes(5000, 7)), 0);
        ASSERT_EQ(impet.AddBytes("NEW_309", "small", bytesOf("0123456789")), 0);
        ASSERT_EQ(impet.Save(), 0);
        auto saved = readBytes(dir / "prog");
        ASSERT_GE(saved.size(), c.start + 32);
        EXPECT_TRUE(std::equal(program.begin(), program.end(), saved.begin()));
        EXPECT_TRUE(
            std::all_of(saved.begin() + c.programLength, saved.begin() + c.start, [](auto b) { return b == 0; }));
        struct stat st
        {
        };
        ASSERT_EQ(::stat((dir / "prog").c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0755u);  // still a program

        // Reopen and save a smaller archive: nothing of the larger one stays at the end.
        CImpet reopened = fixedClockImpet();
        ASSERT_EQ(reopened.Open(dir / "prog"), 0);
        EXPECT_EQ(reopened.start(), c.start);
        ASSERT_EQ(reopened.Delete("NEW_309", "big"), 0);
        ASSERT_EQ(reopened.Save(), 0);
        saved = readBytes(dir / "prog");
        EXPECT_EQ(saved.size(), c.start + reopened.SerializeArchive(kFixedTime).size());
        EXPECT_EQ(reopened.GetFile("NEW_309", "small"), bytesOf("0123456789"));

        // An archive without entries removes itself: the file is as long as the archive start.
        ASSERT_EQ(reopened.Delete("", "NEW_309"), 0);
        ASSERT_EQ(reopened.Save(), 0);
        EXPECT_EQ(readBytes(dir / "prog").size(), c.start);
    }
}

TEST(ImpetSave, TwoSavesAreByteIdentical)
{
    TempDir dir;
    writeBytes(dir / "prog", noiseBytes(700));
    CImpet impet = fixedClockImpet();
    ASSERT_EQ(impet.Open(dir / "prog"), 2);
    ASSERT_EQ(impet.MakeFolder("", "NEW_309", kFixedTime), 0);
    ASSERT_EQ(impet.AddBytes("NEW_309", "m.ign", std::vector<std::uint8_t>(1000, 'm'), kFixedTime), 0);
    ASSERT_EQ(impet.Save(), 0);
    const auto first = readBytes(dir / "prog");
    CImpet reopened = fixedClockImpet();
    ASSERT_EQ(reopened.Open(dir / "prog", true), 0);  // headers only: the bytes come from the file when saved
    ASSERT_EQ(reopened.Save(), 0);
    EXPECT_EQ(readBytes(dir / "prog"), first);
}

TEST(ImpetOpen, HeadersOnlyReadsDataFromTheFileWhenAsked)
{
    TempDir dir;
    auto bytes = oneFileArchive(std::vector<std::uint8_t>(300, 'x'));
    writeBytes(dir / "prog", bytes);
    CImpet impet;
    ASSERT_EQ(impet.Open(dir / "prog", true), 0);
    EXPECT_FALSE(impet.FindFile("NEW_309", "a.ign")->isLoaded);
    EXPECT_EQ(impet.GetFile("NEW_309", "a.ign"), std::vector<std::uint8_t>(300, 'x'));
    // The file shrank after the open: the read is refused, not run past the end.
    CImpet again;
    ASSERT_EQ(again.Open(dir / "prog", true), 0);
    bytes.resize(bytes.size() - 5);
    writeBytes(dir / "prog", bytes);
    EXPECT_EQ(again.GetFile("NEW_309", "a.ign"), std::nullopt);
}

TEST(ImpetSave, FailsWithoutAFile)
{
    CImpet impet;
    ASSERT_EQ(impet.MakeFolder("", "A"), 0);
    EXPECT_NE(impet.Save(), 0);
    EXPECT_FALSE(impet.error().empty());
    TempDir dir;
    EXPECT_EQ(impet.Open(dir / "missing"), 1);
}

TEST(ImpetExport, WritesBytesAndTime)
{
    TempDir dir;
    CImpet impet;
    ASSERT_EQ(impet.MakeFolder("", "F"), 0);
    ASSERT_EQ(impet.AddBytes("F", "p.bin", std::vector<std::uint8_t>(400, 'p'), kFixedTime), 0);
    ASSERT_EQ(impet.MakeFolder("F", "G"), 0);
    ASSERT_EQ(impet.AddBytes("F\\G", "q.bin", bytesOf("q")), 0);
    impet.itemCounter = 0;
    EXPECT_EQ(impet.ExportFile("F", dir.path(), "P.BIN"), 0);
    EXPECT_EQ(readBytes(dir / "p.bin"), std::vector<std::uint8_t>(400, 'p'));
    struct stat st
    {
    };
    ASSERT_EQ(::stat((dir / "p.bin").c_str(), &st), 0);
    EXPECT_EQ(st.st_mtime, unixFromImpetTime(kFixedTime));
    EXPECT_EQ(impet.ExportFile("F", dir.path(), "none"), 2);
    EXPECT_EQ(impet.ExportFile("F", dir / "no/such/folder", "p.bin"), 3);
    EXPECT_EQ(impet.ExportFolder("F", dir / "out"), 3);  // the parent is missing
    std::filesystem::create_directory(dir / "out");
    impet.itemCounter = 0;
    EXPECT_EQ(impet.ExportFolder("F", dir / "out"), 0);
    EXPECT_EQ(impet.itemCounter, 4);
    EXPECT_EQ(readBytes(dir / "out/F/G/q.bin"), bytesOf("q"));
}

TEST(ImpetClear, RootStopsBeingAFolder)
{
    CImpet impet;
    ASSERT_EQ(impet.MakeFolder("", "A"), 0);
    impet.Clear();
    EXPECT_EQ(impet.MakeFolder("", "B"), 1);
    EXPECT_EQ(impet.AddBytes("", "f", bytesOf("x")), 1);
    int folders = 0, files = 0;
    EXPECT_EQ(impet.CountTree("", "", folders, files), 0u);
}

}  // namespace
