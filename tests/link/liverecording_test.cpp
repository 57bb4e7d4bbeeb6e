#include "link/liverecording.h"

#include <gtest/gtest.h>

#include <vector>

#include "../filefaults.h"
#include "os/lngtext.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Frame(int n)
{
    Bytes frame(kLogFrameBytes, 0);
    frame[4] = static_cast<std::uint8_t>(n);
    frame[5] = static_cast<std::uint8_t>(n >> 8);
    return frame;
}

int FrameNumber(std::span<const std::uint8_t> frame)
{
    return frame[4] | (frame[5] << 8);
}

// A recording and its player on a clock that moves only when the test moves it.
class Player : public testing::Test
{
protected:
    void SetUp() override
    {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
        SetLanguageIndex(LNG_ENGLISH);
        rec.clock = [this] { return now; };
        rec.hooks.settingsImage = [this](std::span<const std::uint8_t> image) {
            played.push_back({'S', image[0], now});
        };
        rec.hooks.deviceImage = [this](std::span<const std::uint8_t> image) { played.push_back({'D', image[0], now}); };
        rec.hooks.liveFrame = [this](std::span<const std::uint8_t> frame) {
            played.push_back({'F', FrameNumber(frame), now});
        };
        rec.hooks.page = [this](const LogPage& page) { played.push_back({'P', page.page, now}); };
    }

    // Records the start records, then `count` frames, one every `gap` ms plus a jitter of up to 30 ms.
    std::vector<std::int64_t> record(int count, int gap = 385, bool deviceImage = true)
    {
        EXPECT_TRUE(rec.Start(path, LogHeaderInfo{.startSeconds = 1732626425}).ok);
        EXPECT_EQ(rec.Log(kLogConnection, ConnectionRecordPayload(3, "IGN-309 connected")), "");
        EXPECT_EQ(rec.Log(kLogSettingsImage, Bytes(RS_LEN_EXE, 1)), "");
        if (deviceImage) {
            EXPECT_EQ(rec.Log(kLogDeviceImage, Bytes(RS_LEN_EXE, 2)), "");
        }
        EXPECT_EQ(rec.LogPageRecord(LogPage{.page = 4}), "");
        rec.EndStartRecords();
        std::vector<std::int64_t> times;
        const std::int64_t start = now;
        for (int i = 0; i < count; ++i) {
            now = start + static_cast<std::int64_t>(gap) * (i + 1) + (i * 7919) % 31;
            times.push_back(now - start);
            EXPECT_EQ(rec.Log(kLogLiveFrame, Frame(i)), "");
        }
        EXPECT_EQ(rec.Stop(), "");
        return times;
    }
    void open()
    {
        std::string refusal;
        bool keyMismatch = false;
        played.clear();
        ASSERT_TRUE(rec.Open(path, refusal, keyMismatch)) << refusal;
    }
    // Ticks of the main timer until the player stops by itself or `ms` pass.
    void run(std::int64_t ms, int tickMs = 55)
    {
        const std::int64_t end = now + ms;
        while (now < end && rec.State() == kRecPlaying) {
            now += tickMs;
            rec.Tick();
        }
    }
    std::vector<int> framesPlayed() const
    {
        std::vector<int> frames;
        for (const Played& p : played)
            if (p.kind == 'F') frames.push_back(p.value);
        return frames;
    }

    struct Played
    {
        char kind;
        int value;
        std::int64_t at;
    };
    filefaults::TempFolder folder;
    std::filesystem::path path = folder.path / "ride.ignlog";
    std::int64_t now = 100000;
    LiveRecording rec;
    std::vector<Played> played;
};

}  // namespace

TEST_F(Player, OpenPlaysTheStartRecordsThenEveryFrameInOrderAtTheRecordedPace)
{
    const std::vector<std::int64_t> times = record(200);
    open();
    // Start records: image, device image, page (the connection only names the unit).
    ASSERT_EQ(played.size(), 3u);
    EXPECT_EQ(played[0].kind, 'S');
    EXPECT_EQ(played[1].kind, 'D');
    EXPECT_EQ(played[2].kind, 'P');
    EXPECT_EQ(played[2].value, 4);
    EXPECT_EQ(rec.View().deviceText, "IGN-309 connected");
    EXPECT_EQ(rec.PositionCount(), 201);
    const std::int64_t start = now;
    played.clear();
    run(200 * 385 + 2000);
    ASSERT_EQ(rec.State(), kRecPlayingPaused);  // the end
    ASSERT_EQ(played.size(), 200u);
    for (int i = 0; i < 200; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(played[static_cast<std::size_t>(i)].value, i);
        // Each frame comes at the first tick at or after its recorded time: never early, never a tick late,
        // and no drift over the whole recording.
        const std::int64_t due = start + times[static_cast<std::size_t>(i)];
        EXPECT_GE(played[static_cast<std::size_t>(i)].at, due);
        EXPECT_LT(played[static_cast<std::size_t>(i)].at, due + 55);
    }
    EXPECT_EQ(rec.Position(), 200);
}

TEST_F(Player, PauseDoesNotBurstAndPlayAtTheEndStartsOver)
{
    record(20);
    open();
    run(5 * 385);
    const std::size_t before = framesPlayed().size();
    rec.Pause();
    EXPECT_EQ(rec.State(), kRecPlayingPaused);
    now += 10000;
    rec.Tick();
    EXPECT_EQ(framesPlayed().size(), before);
    rec.Play();
    run(55);
    EXPECT_LE(framesPlayed().size(), before + 1);  // the next frame only, not the 10 s that passed
    run(30000);
    EXPECT_EQ(rec.State(), kRecPlayingPaused);
    EXPECT_EQ(framesPlayed().size(), 20u);
    const std::vector<int> frames = framesPlayed();
    for (int i = 0; i < 20; ++i) EXPECT_EQ(frames[static_cast<std::size_t>(i)], i);
    // Play at the end: from position 0, the start records again, then the frames.
    played.clear();
    rec.Play();
    EXPECT_EQ(rec.State(), kRecPlaying);
    EXPECT_EQ(rec.Position(), 0);
    ASSERT_GE(played.size(), 3u);
    EXPECT_EQ(played[0].kind, 'S');
    run(385 + 100);
    EXPECT_EQ(framesPlayed(), std::vector<int>{0});
}

TEST_F(Player, SeekPlaysThatRecordOnlyAndGoesOnFromThere)
{
    record(20);
    open();
    played.clear();
    rec.Seek(5);
    ASSERT_EQ(played.size(), 1u);
    EXPECT_EQ(played[0].kind, 'F');
    EXPECT_EQ(played[0].value, 4);  // position 5 is the start records' count + 4
    run(400);
    EXPECT_EQ(framesPlayed(), (std::vector<int>{4, 5}));
    played.clear();
    rec.Seek(0);
    EXPECT_EQ(played.size(), 3u);
    rec.Seek(999);
    EXPECT_EQ(rec.Position(), 20);
    EXPECT_EQ(framesPlayed(), std::vector<int>{19});
}

TEST_F(Player, StatesAndTheirTexts)
{
    EXPECT_EQ(rec.View().buttonEnabled, (std::array<bool, 4>{true, true, false, false}));
    EXPECT_FALSE(rec.View().scrollShown);
    ASSERT_TRUE(rec.Start(path, LogHeaderInfo{.startSeconds = 1732626425}).ok);
    EXPECT_EQ(rec.Log(kLogSettingsImage, Bytes(RS_LEN_EXE)), "");
    rec.EndStartRecords();
    now += 12500;
    PlayerView v = rec.View();
    EXPECT_EQ(v.buttonEnabled, (std::array<bool, 4>{false, false, false, true}));
    EXPECT_EQ(v.positionText, "Recording (1) 12 seconds");
    EXPECT_TRUE(v.fileShown && v.positionShown && !v.scrollShown && !v.deviceShown);
    rec.Pause();
    EXPECT_EQ(rec.View().positionText, "Recording (1) - pause");
    EXPECT_EQ(rec.View().buttonEnabled, (std::array<bool, 4>{true, false, false, true}));
    // The pause does not count in the record times.
    now += 60000;
    rec.Resume();
    now += 1000;
    EXPECT_EQ(rec.Log(kLogLiveFrame, Frame(1)), "");
    EXPECT_EQ(rec.Stop(), "");

    open();
    v = rec.View();
    EXPECT_EQ(v.buttonEnabled, (std::array<bool, 4>{false, false, true, true}));
    EXPECT_EQ(v.positionText, "Play (0) 2024_11_26 13:07:05.00");
    EXPECT_TRUE(v.scrollShown && v.deviceShown);
    EXPECT_EQ(v.scrollMax, 1);
    run(13500 - 55);
    EXPECT_TRUE(framesPlayed().empty());
    run(110);
    EXPECT_EQ(framesPlayed(), std::vector<int>{1});
    v = rec.View();
    EXPECT_EQ(v.positionText, "Play (1) - pause 2024_11_26 13:07:18.50");
    EXPECT_EQ(v.buttonEnabled, (std::array<bool, 4>{false, true, false, true}));
    EXPECT_EQ(v.scrollPosition, 1);
    EXPECT_EQ(rec.Stop(), "");
    EXPECT_EQ(rec.State(), kRecIdle);
}

TEST_F(Player, PageRecordsOnlyWhenThePageChanges)
{
    ASSERT_TRUE(rec.Start(path, LogHeaderInfo{}).ok);
    EXPECT_EQ(rec.Log(kLogConnection, ConnectionRecordPayload(0, "")), "");
    EXPECT_EQ(rec.Log(kLogSettingsImage, Bytes(RS_LEN_EXE)), "");
    EXPECT_EQ(rec.LogPageRecord(LogPage{}), "");  // a zero page record equals the cleared last one: not written
    rec.EndStartRecords();
    EXPECT_EQ(rec.RecordCount(), 2);
    EXPECT_EQ(rec.LogPageRecord(LogPage{.page = 7}), "");
    EXPECT_EQ(rec.LogPageRecord(LogPage{.page = 7}), "");
    LogPage sheets{.page = 7};
    sheets.editorIds[0] = 12;
    sheets.sheets[0] = 2;
    EXPECT_EQ(rec.LogPageRecord(sheets), "");
    EXPECT_EQ(rec.RecordCount(), 4);
    EXPECT_EQ(rec.Stop(), "");
    open();
    EXPECT_EQ(rec.Played().startRecords, 2);
    rec.Seek(2);
    EXPECT_EQ(PageFromPayload(rec.Played().Payload(3)), sheets);
}

TEST_F(Player, ReachingTheLimitStopsTheRecordingAndSavesIt)
{
    ASSERT_TRUE(rec.Start(path, LogHeaderInfo{}).ok);
    EXPECT_EQ(rec.Log(kLogSettingsImage, Bytes(RS_LEN_EXE)), "");
    rec.EndStartRecords();
    std::string message;
    int frames = 0;
    while (message.empty() && frames < 7000) {
        now += 385;
        message = rec.Log(kLogLiveFrame, Frame(frames++));
    }
    // 6000 records, about 38 minutes of frames: the frame after them is not recorded.
    EXPECT_EQ(frames, 6000);
    EXPECT_EQ(rec.State(), kRecIdle);
    EXPECT_NE(message.find("full (6000 records)"), std::string::npos) << message;
    EXPECT_NE(message.find(path.string()), std::string::npos) << message;
    EXPECT_EQ(rec.Log(kLogLiveFrame, Frame(0)), "");  // nothing more once stopped
    open();
    EXPECT_EQ(rec.Played().Count(), 6000);
    EXPECT_LE(rec.Played().data.size(), kLogDataCapacity);
}

TEST_F(Player, AFailedWriteStopsTheRecordingAndSaysWhatIsKept)
{
    ASSERT_TRUE(rec.Start(path, LogHeaderInfo{}).ok);
    EXPECT_EQ(rec.Log(kLogSettingsImage, Bytes(RS_LEN_EXE)), "");
    rec.EndStartRecords();
    const std::string message = filefaults::WithFileSizeLimit(kLogHeaderFixed + 5200, [&] {
        std::string text;
        for (int i = 0; i < 10 && text.empty(); ++i) text = rec.Log(kLogLiveFrame, Frame(i));
        return text;
    });
    EXPECT_NE(message.find("stopped"), std::string::npos) << message;
    EXPECT_NE(message.find("ride.ignlog"), std::string::npos) << message;
    EXPECT_EQ(rec.State(), kRecIdle);
    open();
    EXPECT_EQ(rec.Played().Count(), 1);
}

TEST_F(Player, RefusedFileLeavesThePlayerIdle)
{
    std::string refusal;
    bool keyMismatch = true;
    EXPECT_FALSE(rec.Open(folder.path / "none.ignlog", refusal, keyMismatch));
    EXPECT_FALSE(keyMismatch);
    EXPECT_NE(refusal.find("none.ignlog"), std::string::npos);
    EXPECT_EQ(rec.State(), kRecIdle);
    EXPECT_TRUE(played.empty());
}

TEST_F(Player, AHoldUpPlaysWhatFellDueThenKeepsTheRecordedTimes)
{
    const std::vector<std::int64_t> times = record(30);
    open();
    const std::int64_t start = now;
    run(2 * 385);
    now += 5000;  // the program was held up for 5 s
    rec.Tick();
    const std::vector<int> frames = framesPlayed();
    ASSERT_FALSE(frames.empty());
    const int last = frames.back();
    EXPECT_EQ(static_cast<std::size_t>(last) + 1, frames.size());  // everything due, in order, nothing skipped
    EXPECT_LE(start + times[static_cast<std::size_t>(last)], now);
    EXPECT_GT(start + times[static_cast<std::size_t>(last) + 1], now);
    // The next frame comes at its own time, not at once with them.
    const std::int64_t due = start + times[static_cast<std::size_t>(last) + 1];
    while (framesPlayed().size() == frames.size()) {
        now += 5;
        rec.Tick();
    }
    EXPECT_GE(now, due);
    EXPECT_LT(now, due + 5);
}
