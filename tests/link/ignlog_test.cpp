#include "link/ignlog.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <cstring>
#include <functional>
#include <vector>

#include "../filefaults.h"
#include "os/files.h"
#include "os/lngtext.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t Le(const Bytes& b, std::size_t at, int size)
{
    std::uint32_t v = 0;
    for (int i = size - 1; i >= 0; --i) v = (v << 8) | b[at + static_cast<std::size_t>(i)];
    return v;
}

void PutLe(Bytes& b, std::size_t at, std::uint32_t v, int size)
{
    for (int i = 0; i < size; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

Bytes FileBytes(const std::filesystem::path& path)
{
    const std::string text = os::readWholeFile(path).value_or("");
    return Bytes(text.begin(), text.end());
}

Bytes Frame(int n)
{
    Bytes frame(kLogFrameBytes);
    for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<std::uint8_t>(n + i);
    return frame;
}

LogHeaderInfo Info()
{
    LogHeaderInfo info;
    info.startSeconds = 1732626425;
    info.osVersion = {6, 1, 112, 0};
    info.monitors[0] = {0, 1920, 0, 1080};
    info.monitors[1] = {-1280, 1280, 0, 1024};
    info.versionLine = "Kelvora_12   RSKEY=309   COMPILE=2024_11_26";
    return info;
}

// A recording as the program makes one: connection and image as start records, then live frames.
class Recording
{
public:
    explicit Recording(std::filesystem::path file) : path(std::move(file))
    {
        EXPECT_TRUE(writer.Create(path, Info()).ok);
        append(kLogConnection, ConnectionRecordPayload(7, "IGN-309 v309 connected"), 0);
        append(kLogSettingsImage, Bytes(RS_LEN_EXE, 0x5A), 0);
        EXPECT_TRUE(writer.SetStartRecords(2).ok);
    }
    LiveLogWriter::Append append(int type, const Bytes& payload, std::uint32_t time)
    {
        std::string error;
        return writer.AppendRecord(type, time, payload, error);
    }
    void frames(int count, int first = 0)
    {
        for (int i = first; i < first + count; ++i)
            ASSERT_EQ(append(kLogLiveFrame, Frame(i), static_cast<std::uint32_t>(385 * (i + 1))),
                      LiveLogWriter::Append::Ok);
    }

    std::filesystem::path path;
    LiveLogWriter writer;
};

}  // namespace

TEST(LiveLog, FinalFileIsTheRecordingByteForByte)
{
    filefaults::TempFolder folder;
    Recording r(folder.path / "ride.ignlog");
    r.frames(3);
    ASSERT_TRUE(r.writer.Finish().ok);
    const Bytes b = FileBytes(r.path);
    const std::size_t header = kLogHeaderFixed + 2 * 5;
    ASSERT_EQ(b.size(), header + 84 + 5108 + 3 * 308);
    EXPECT_EQ(Le(b, 0, 2), header);
    EXPECT_EQ(Le(b, 2, 2), 0u);
    EXPECT_EQ(Le(b, 4, 4), 1732626425u);
    EXPECT_EQ(Le(b, 8, 4), 6u);
    EXPECT_EQ(Le(b, 16, 4), 112u);
    EXPECT_EQ(Le(b, 24 + 2, 2), 1920u);                         // monitor 0 width
    EXPECT_EQ(static_cast<std::int16_t>(Le(b, 32, 2)), -1280);  // monitor 1 left
    EXPECT_EQ(Le(b, 56, 4), 0u);
    EXPECT_EQ(Le(b, 60, 2), 309u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[62])), Info().versionLine);
    EXPECT_EQ(Le(b, 248, 4), 84u + 5108 + 3 * 308);
    EXPECT_EQ(Le(b, 252, 2), 2u);
    EXPECT_EQ(Le(b, 254, 2), 5u);
    const std::uint32_t offsets[] = {0, 84, 84 + 5108, 84 + 5108 + 308, 84 + 5108 + 616};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(Le(b, 256 + 2 * i, 2), offsets[i]) << i;
        EXPECT_EQ(Le(b, 12256 + 2 * i, 2), 0u) << i;
    }
    EXPECT_EQ(Le(b, 256 + 2 * 5, 2), 0u);  // unused entries stay 0
    // The second frame: length, type, 0, time, the block bytes.
    const std::size_t at = header + offsets[3];
    EXPECT_EQ(Le(b, at, 2), 308u);
    EXPECT_EQ(b[at + 2], kLogLiveFrame);
    EXPECT_EQ(b[at + 3], 0);
    EXPECT_EQ(Le(b, at + 4, 4), 770u);
    EXPECT_EQ(Bytes(b.begin() + static_cast<std::ptrdiff_t>(at) + 8, b.begin() + static_cast<std::ptrdiff_t>(at) + 308),
              Frame(1));
    // The connection record: the port, then the line, padded with 0.
    EXPECT_EQ(b[header + 8], 7);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[header + 9])), "IGN-309 v309 connected");

    const LiveLogRead read = ParseLiveLog(b);
    ASSERT_TRUE(read.log) << read.error;
    EXPECT_EQ(read.log->Count(), 5);
    EXPECT_EQ(read.log->startRecords, 2);
    EXPECT_EQ(read.log->info.versionLine, Info().versionLine);
    EXPECT_EQ(read.log->info.monitors[1].left, -1280);
    EXPECT_EQ(read.log->TimeMs(4), 1155u);
    EXPECT_EQ(Bytes(read.log->Payload(4).begin(), read.log->Payload(4).end()), Frame(2));
    EXPECT_EQ(ConnectionLineFromPayload(read.log->Payload(0)), "IGN-309 v309 connected");
}

TEST(LiveLog, OffsetsPast65535UseTheHighTableOrItsWrapArounds)
{
    filefaults::TempFolder folder;
    Recording r(folder.path / "long.ignlog");
    r.frames(400);  // about 128 KB: two wraps of the low offsets
    ASSERT_TRUE(r.writer.Finish().ok);
    const Bytes full = FileBytes(r.path);
    const LiveLogRead read = ParseLiveLog(full);
    ASSERT_TRUE(read.log) << read.error;
    // The first record past 65535 has high offset 1.
    int first = -1;
    for (int i = 0; i < read.log->Count(); ++i)
        if (read.log->offsets[static_cast<std::size_t>(i)] > 65535) {
            first = i;
            break;
        }
    ASSERT_GT(first, 0);
    EXPECT_EQ(Le(full, 12256 + 2 * static_cast<std::size_t>(first), 2), 1u);
    EXPECT_EQ(Le(full, 12256 + 2 * static_cast<std::size_t>(first - 1), 2), 0u);

    // The same file without the high offsets (header length 12256) reads the same.
    const std::size_t header = Le(full, 0, 2);
    Bytes bare(full.begin(), full.begin() + kLogHeaderFixed);
    bare.insert(bare.end(), full.begin() + static_cast<std::ptrdiff_t>(header), full.end());
    PutLe(bare, 0, kLogHeaderFixed, 2);
    const LiveLogRead again = ParseLiveLog(bare);
    ASSERT_TRUE(again.log) << again.error;
    EXPECT_EQ(again.log->offsets, read.log->offsets);
}

TEST(LiveLog, RunningFileReadsAfterEveryRecordAndSurvivesACrash)
{
    filefaults::TempFolder folder;
    const auto path = folder.path / "crash.ignlog";
    {
        Recording r(path);
        for (int i = 0; i < 30; ++i) {
            r.frames(1, i);
            const LiveLogRead read = ParseLiveLog(FileBytes(path));
            ASSERT_TRUE(read.log) << read.error;
            ASSERT_EQ(read.log->Count(), 3 + i);
        }
    }
    // The program dies while recording: what it wrote is all there.
    const pid_t child = ::fork();
    if (child == 0) {
        Recording r(path);
        for (int i = 0; i < 250; ++i) {
            std::string error;
            (void)r.writer.AppendRecord(kLogLiveFrame, static_cast<std::uint32_t>(i), Frame(i), error);
        }
        ::raise(SIGKILL);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    const LiveLogRead read = ReadLiveLog(path);
    ASSERT_TRUE(read.log) << read.error;
    ASSERT_EQ(read.log->Count(), 252);
    EXPECT_EQ(Bytes(read.log->Payload(251).begin(), read.log->Payload(251).end()), Frame(249));
}

TEST(LiveLog, LimitsRefuseTheRecordAndWriteNothingPastThem)
{
    filefaults::TempFolder folder;
    {
        Recording r(folder.path / "count.ignlog");
        std::string error;
        int appended = 2;
        while (r.writer.AppendRecord(kLogConnection, 0, Bytes(76), error) == LiveLogWriter::Append::Ok) ++appended;
        EXPECT_EQ(appended, kLogMaxRecords);
        EXPECT_EQ(r.writer.Count(), kLogMaxRecords);
        EXPECT_EQ(r.writer.AppendRecord(kLogConnection, 0, Bytes(76), error), LiveLogWriter::Append::TooManyRecords);
        ASSERT_TRUE(r.writer.Finish().ok);
        const Bytes b = FileBytes(r.path);
        EXPECT_EQ(Le(b, 0, 2), static_cast<std::uint32_t>(kLogHeaderMax));
        const LiveLogRead read = ParseLiveLog(b);
        ASSERT_TRUE(read.log) << read.error;
        EXPECT_EQ(read.log->Count(), kLogMaxRecords);
    }
    {
        Recording r(folder.path / "data.ignlog");
        std::string error;
        while (r.writer.AppendRecord(kLogSettingsImage, 0, Bytes(RS_LEN_EXE), error) == LiveLogWriter::Append::Ok) {
        }
        const std::uint32_t used = r.writer.DataLength();
        EXPECT_LE(used, kLogDataCapacity);
        EXPECT_GT(used + 5108, kLogDataCapacity);
        EXPECT_EQ(r.writer.AppendRecord(kLogSettingsImage, 0, Bytes(RS_LEN_EXE), error),
                  LiveLogWriter::Append::DataFull);
        EXPECT_EQ(r.writer.AppendRecord(kLogLiveFrame, 0, Frame(0), error), LiveLogWriter::Append::Ok);
        ASSERT_TRUE(r.writer.Finish().ok);
        const LiveLogRead read = ReadLiveLog(r.path);
        ASSERT_TRUE(read.log) << read.error;
        EXPECT_EQ(read.log->data.size(), used + 308);
    }
}

TEST(LiveLog, BadFilesAreRefusedWithAReason)
{
    SetLanguageIndex(LNG_ENGLISH);
    filefaults::TempFolder folder;
    Recording r(folder.path / "good.ignlog");
    r.frames(3);
    ASSERT_TRUE(r.writer.Finish().ok);
    const Bytes good = FileBytes(r.path);
    const std::size_t header = Le(good, 0, 2);
    struct Case
    {
        const char* name;
        std::function<void(Bytes&)> damage;
        const char* reason;
    };
    const Case cases[] = {
        {"empty", [](Bytes& b) { b.clear(); }, "too short"},
        {"a_settings_file", [](Bytes& b) { b.assign(300, ' '); }, "not a live recording"},
        {"a_picture",
         [](Bytes& b) {
             b = Bytes(20000, 0);
             std::memcpy(b.data(), "\x89PNG\r\n\x1a\n", 8);
         },
         "not a live recording"},
        {"header_length_past_the_limit", [](Bytes& b) { PutLe(b, 0, kLogHeaderMax + 2, 2); }, "not a live recording"},
        {"cut_in_the_header", [](Bytes& b) { b.resize(5000); }, "cut short"},
        {"cut_in_the_data", [&](Bytes& b) { b.resize(b.size() - 10); }, "cut short"},
        {"another_key", [](Bytes& b) { PutLe(b, 60, 308, 2); }, "RS keys are not equal (308!=309)"},
        {"no_records", [](Bytes& b) { PutLe(b, 254, 0, 2); }, "impossible"},
        {"more_records_than_a_file_holds", [](Bytes& b) { PutLe(b, 254, 6001, 2); }, "impossible"},
        {"negative_count", [](Bytes& b) { PutLe(b, 254, 0xFFFF, 2); }, "impossible"},
        {"no_start_records", [](Bytes& b) { PutLe(b, 252, 0, 2); }, "impossible"},
        {"more_start_records_than_records", [](Bytes& b) { PutLe(b, 252, 6, 2); }, "impossible"},
        {"data_length_past_the_limit", [](Bytes& b) { PutLe(b, 248, kLogDataCapacity + 1, 4); }, "more than"},
        {"data_length_past_the_file", [](Bytes& b) { PutLe(b, 248, Le(b, 248, 4) + 1, 4); }, "cut short"},
        {"count_past_the_records", [](Bytes& b) { PutLe(b, 254, 6, 2); }, "Record 6"},
        {"offset_past_the_data", [](Bytes& b) { PutLe(b, 256 + 8, 60000, 2); }, "Record 5"},
        {"high_offset_past_the_data", [](Bytes& b) { PutLe(b, 12256 + 8, 3, 2); }, "Record 5"},
        {"record_longer_than_its_type", [&](Bytes& b) { PutLe(b, header + 84 + 5108, 309, 2); }, "Record 3"},
        {"unknown_type", [&](Bytes& b) { b[header + 84 + 5108 + 2] = 9; }, "Record 3"},
        {"record_past_the_data", [&](Bytes& b) { PutLe(b, 248, Le(b, 248, 4) - 100, 4); }, "Record 5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes b = good;
        c.damage(b);
        const LiveLogRead read = ParseLiveLog(b);
        EXPECT_FALSE(read.log);
        EXPECT_NE(read.error.find(c.reason), std::string::npos) << read.error;
        EXPECT_EQ(read.keyMismatch, std::string_view(c.name) == "another_key");
    }
    // Trailing bytes (a record cut by a crash, behind the counts) are not part of the recording.
    Bytes longer = good;
    longer.resize(longer.size() + 100, 0xEE);
    EXPECT_TRUE(ParseLiveLog(longer).log);
    EXPECT_FALSE(ReadLiveLog(folder.path / "missing.ignlog").log);
    EXPECT_NE(ReadLiveLog(folder.path / "missing.ignlog").error.find("missing.ignlog"), std::string::npos);
}

TEST(LiveLog, FullDiskAndReadOnlyFolderKeepWhatWasRecorded)
{
    filefaults::TempFolder folder;
    // Nothing fits on /dev/full: the recording does not start, and says which file failed.
    LiveLogWriter none;
    const os::FileResult created = none.Create("/dev/full", Info());
    EXPECT_FALSE(created.ok);
    EXPECT_NE(created.error.find("/dev/full"), std::string::npos) << created.error;
    EXPECT_FALSE(none.IsOpen());

    // The disk fills while recording: the record that does not fit is reported; the file reads up to the one
    // before.
    Recording r(folder.path / "full.ignlog");
    r.frames(10);
    const std::uint64_t size = std::filesystem::file_size(r.path);
    std::string error;
    const auto result = filefaults::WithFileSizeLimit(
        size + 100, [&] { return r.writer.AppendRecord(kLogLiveFrame, 9999, Frame(99), error); });
    EXPECT_EQ(result, LiveLogWriter::Append::WriteFailed);
    EXPECT_NE(error.find("full.ignlog"), std::string::npos) << error;
    (void)r.writer.Abandon();
    LiveLogRead read = ReadLiveLog(r.path);
    ASSERT_TRUE(read.log) << read.error;
    EXPECT_EQ(read.log->Count(), 12);

    // The final form cannot be written (the disk is full for its copy): the running form stays, complete.
    Recording r2(folder.path / "final.ignlog");
    r2.frames(20);
    const os::FileResult finished =
        filefaults::WithFileSizeLimit(kLogHeaderFixed + 1000, [&] { return r2.writer.Finish(); });
    EXPECT_FALSE(finished.ok);
    EXPECT_NE(finished.error.find("final.ignlog"), std::string::npos) << finished.error;
    read = ReadLiveLog(r2.path);
    ASSERT_TRUE(read.log) << read.error;
    EXPECT_EQ(read.log->Count(), 22);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path), std::filesystem::directory_iterator()),
              2);

    // A read-only folder: a new recording cannot be created there; one over a writable file in it keeps its
    // running form, since the final form cannot replace it.
    const auto kept = folder.path / "kept.ignlog";
    {
        Recording old(kept);
        ASSERT_TRUE(old.writer.Finish().ok);
    }
    std::filesystem::permissions(kept, std::filesystem::perms::all);
    EXPECT_TRUE(filefaults::InReadOnlyFolder(folder.path, [&] {
        LiveLogWriter refused;
        const os::FileResult result = refused.Create(folder.path / "new.ignlog", Info());
        if (result.ok || result.error.find("new.ignlog") == std::string::npos) return false;
        Recording over(kept);
        over.frames(5);
        const os::FileResult finished = over.writer.Finish();
        const LiveLogRead read = ReadLiveLog(kept);
        return !finished.ok && read.log && read.log->Count() == 7;
    }));
}
