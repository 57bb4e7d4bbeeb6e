// The monitor player box, the live recording and the CSV log as a person uses them from the main window, without
// a unit: the recordings played here are made by the test or by the window itself.
#include "shell/player.h"

#include <gtest/gtest.h>

#include <QToolButton>
#include <sstream>

#include "../filefaults.h"
#include "link/ignlog.h"
#include "os/files.h"
#include "shell/livedisplay.h"
#include "shell/mainform.h"
#include "startedform.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Frame(int n)
{
    Bytes frame(kLogFrameBytes, 0);
    frame[2] = 0x35;  // key word 309
    frame[3] = 0x01;
    frame[4] = static_cast<std::uint8_t>(n);
    frame[5] = static_cast<std::uint8_t>(n >> 8);
    frame[299] = 0x35;
    return frame;
}

std::size_t LineCount(const std::filesystem::path& path)
{
    const std::string text = os::readWholeFile(path).value_or("");
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

class PlayerTest : public StartedFormTest
{
protected:
    void SetUp() override
    {
        StartedFormTest::SetUp();
        ::setenv("TZ", "UTC", 1);
        ::tzset();
        form->recording.clock = [this] { return now; };
        form->wallClockMs = [this] { return 1732626425000 + now; };
    }
    // A recording of `frames` live frames 385 ms apart, made as the program writes them.
    std::filesystem::path writeRecording(const std::string& name, int frames)
    {
        const auto path = dir / name;
        LiveLogWriter writer;
        EXPECT_TRUE(writer.Create(path, LogHeaderInfo{}).ok);
        std::string error;
        (void)writer.AppendRecord(kLogConnection, 0, ConnectionRecordPayload(200, "QV unit   RSKEY=309"), error);
        (void)writer.AppendRecord(kLogSettingsImage, 0, form->images.image, error);
        EXPECT_TRUE(writer.SetStartRecords(2).ok);
        for (int i = 0; i < frames; ++i)
            (void)writer.AppendRecord(kLogLiveFrame, static_cast<std::uint32_t>(385 * (i + 1)), Frame(i), error);
        EXPECT_TRUE(writer.Finish().ok);
        return path;
    }
    void play(const std::filesystem::path& path)
    {
        dialogs.AnswerFile(path.string());
        form->SpeedButtonPlay2->Click();
    }
    void ticks(int count)
    {
        for (int i = 0; i < count; ++i) {
            now += kMainTimerMs;
            form->Timer1->Fire();
        }
    }
    // The frames that reach the live display, by their number.
    void watchFrames()
    {
        auto stored = form->device->hooks.liveFrameStored;
        form->device->hooks.liveFrameStored = [this, stored] {
            framesShown.push_back(form->device->live.Monw(2));
            stored();
        };
    }

    std::int64_t now = 500000;
    std::vector<int> framesShown;
};

}  // namespace

TEST_F(PlayerTest, TheMenuShowsTheBoxWithRoomForItAndItsButtonsWithPicturesAndHints)
{
    EXPECT_FALSE(form->GroupBoxPlayer->Visible());
    const int height = form->Height();
    form->MenuMonitorPlayerClick(nullptr);
    ASSERT_TRUE(form->GroupBoxPlayer->Visible());
    EXPECT_EQ(form->Height(), height + kPlayerBoxHeight);
    EXPECT_GE(form->GroupBoxPlayer->Top(), form->PageControl1->Top() + form->PageControl1->Height());
    const struct
    {
        TSpeedButton* button;
        const char* hint;
        bool enabled;
    } buttons[] = {
        {form->SpeedButtonPlay1, "Record|Start to record all events and monitor", true},
        {form->SpeedButtonPlay2, "Play|Play stored events and monitor", true},
        {form->SpeedButtonPlay3, "Pause|Pause Play or Record", false},
        {form->SpeedButtonPlay4, "Stop|Stop Play or Record", false},
    };
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.hint);
        EXPECT_EQ(b.button->Hint(), b.hint);
        EXPECT_EQ(b.button->Enabled(), b.enabled);
        EXPECT_FALSE(static_cast<QToolButton*>(b.button->Widget())->icon().isNull());
        EXPECT_LE(b.button->Left() + b.button->Width(), form->ScrollBarPlay->Left());
    }
    for (TControl* c : std::initializer_list<TControl*>{form->ScrollBarPlay, form->LabelPlayFile, form->LabelPlayPos,
                                                        form->LabelPlayDevice}) {
        EXPECT_FALSE(c->Visible());  // nothing to show while idle
        EXPECT_LE(c->Left() + c->Width(), form->GroupBoxPlayer->Width());
        EXPECT_LE(c->Top() + c->Height(), form->GroupBoxPlayer->Height());
    }
    form->MenuMonitorPlayerClick(nullptr);
    EXPECT_FALSE(form->GroupBoxPlayer->Visible());
    EXPECT_EQ(form->Height(), height);
}

TEST_F(PlayerTest, CsvLogHasOneLinePerFrameAndNoneForOtherDisplayPasses)
{
    const auto recording = writeRecording("ride.ignlog", 12);
    const auto csv = dir / "ride.csv";
    EXPECT_EQ(form->MenuCSVout->Caption(), "CSV output monitor");
    dialogs.AnswerFile(csv.string());
    form->MenuCSVoutClick(nullptr);
    ASSERT_TRUE(form->csvLog.IsOn());
    EXPECT_EQ(form->MenuCSVout->Caption(), "Stop CSV recording");
    EXPECT_EQ(dialogs.FileDialogs().back().filter, "CSV log file|*.csv");
    EXPECT_EQ(LineCount(csv), 2u);

    watchFrames();
    play(recording);
    ticks(5 * 7 + 1);  // five frames
    ASSERT_EQ(framesShown.size(), 5u);
    // Passes of the display that bring no frame: the display itself, a language change, a page change.
    ShowLiveData(*form);
    form->MenuGermanClick(nullptr);
    form->MenuEnglishClick(nullptr);
    form->PageControl1->SetActivePageIndex(3);
    form->PageControl1Change(form->PageControl1);
    EXPECT_EQ(LineCount(csv), 2u + 5u);
    ticks(12 * 7);
    EXPECT_EQ(form->recording.State(), kRecPlayingPaused);
    EXPECT_EQ(framesShown.size(), 12u);
    EXPECT_EQ(LineCount(csv), 2u + 12u);

    form->MenuCSVoutClick(nullptr);
    EXPECT_FALSE(form->csvLog.IsOn());
    EXPECT_EQ(form->MenuCSVout->Caption(), "CSV output monitor");
    // The lines: the time of day, then the frame's values (RPM is its number; the key from bytes 299-300).
    std::istringstream lines(os::readWholeFile(csv).value_or(""));
    std::string line;
    for (int i = -2; std::getline(lines, line); ++i) {
        if (i < 0) continue;
        EXPECT_EQ(std::count(line.begin(), line.end(), ';'), 171) << line;
        EXPECT_NE(line.find(";0x0;309.0;-1;" + std::to_string(i) + ";"), std::string::npos) << line;
    }
    EXPECT_TRUE(dialogs.Messages().empty());
}

TEST_F(PlayerTest, CsvWriteFailuresAreReportedWithTheFileName)
{
    dialogs.AnswerFile("/dev/full");
    form->MenuCSVoutClick(nullptr);
    EXPECT_FALSE(form->csvLog.IsOn());
    EXPECT_EQ(form->MenuCSVout->Caption(), "CSV output monitor");
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_NE(dialogs.Messages()[0].text.find("/dev/full"), std::string::npos) << dialogs.Messages()[0].text;
    EXPECT_EQ(dialogs.Messages()[0].caption, "Error");

    // The disk fills while the log runs: the next tick reports it, the lines before stay whole.
    const auto recording = writeRecording("ride.ignlog", 10);
    const auto csv = dir / "ride.csv";
    dialogs.AnswerFile(csv.string());
    form->MenuCSVoutClick(nullptr);
    play(recording);
    ticks(3 * 7 + 1);
    const std::uint64_t size = std::filesystem::file_size(csv);
    filefaults::WithFileSizeLimit(size + 100, [&] {
        ticks(7);
        return 0;
    });
    EXPECT_FALSE(form->csvLog.IsOn());
    EXPECT_EQ(form->MenuCSVout->Caption(), "CSV output monitor");
    ASSERT_EQ(dialogs.Messages().size(), 2u);
    EXPECT_NE(dialogs.Messages()[1].text.find(csv.string()), std::string::npos) << dialogs.Messages()[1].text;
    EXPECT_EQ(std::filesystem::file_size(csv), size);
    EXPECT_EQ(LineCount(csv), 5u);
}

TEST_F(PlayerTest, RecordInTheWindowThenPlayItBack)
{
    form->PageControl1->SetActivePageIndex(5);
    form->PageControl1Change(form->PageControl1);
    ASSERT_EQ(form->currentPage, 5);
    ASSERT_FALSE(form->images.deviceValid);
    const auto path = dir / "session.ignlog";
    dialogs.AnswerFile(path.string());
    form->SpeedButtonPlay1->Click();
    ASSERT_EQ(form->recording.State(), kRecRecording);
    EXPECT_EQ(dialogs.FileDialogs().back().filter, "IGN log file|*.ignlog");
    // Connection, settings image and page: no device image while it is not valid.
    EXPECT_EQ(form->recording.RecordCount(), 3);
    EXPECT_EQ(form->LabelPlayPos->Caption(), "Recording (3) 0 seconds");
    EXPECT_FALSE(form->SpeedButtonPlay1->Enabled());
    EXPECT_TRUE(form->SpeedButtonPlay4->Enabled());

    const Image recorded = form->images.image;
    now += 1000;
    form->images.image[3000] ^= 0x55;  // an edit, noted as every committed edit is
    form->NoteImageChange();
    const Image edited = form->images.image;
    form->PageControl1->SetActivePageIndex(7);
    form->PageControl1Change(form->PageControl1);
    form->PageControl1Change(form->PageControl1);  // the same page again: no second record
    for (int i = 0; i < 3; ++i) {
        now += 385;
        std::ranges::copy(Frame(40 + i), form->device->live.MutableBytes().begin());
        form->device->hooks.liveFrameStored();  // the road of a frame stored from the unit
    }
    EXPECT_EQ(form->recording.RecordCount(), 8);
    EXPECT_EQ(form->LabelPlayPos->Caption(), "Recording (8) 2 seconds");
    form->SpeedButtonPlay4->Click();
    ASSERT_EQ(form->recording.State(), kRecIdle);
    EXPECT_TRUE(dialogs.Messages().empty());

    // Another image and page, then play: the start records bring back the recorded ones.
    form->images.image[3001] ^= 0xFF;
    form->NoteImageChange();
    const Image beforePlay = form->images.image;
    form->PageControl1->SetActivePageIndex(0);
    form->PageControl1Change(form->PageControl1);
    watchFrames();
    play(path);
    ASSERT_EQ(form->recording.State(), kRecPlaying);
    EXPECT_EQ(form->images.image, recorded);
    EXPECT_EQ(form->currentPage, 5);
    EXPECT_EQ(form->LabelPlayDevice->Caption().substr(0, 20), form->connectionLine.substr(0, 20));
    EXPECT_TRUE(form->ScrollBarPlay->Visible());
    EXPECT_EQ(form->ScrollBarPlay->Max(), 5);
    ticks(20);  // the edit at 1 s
    EXPECT_EQ(form->images.image, edited);
    EXPECT_EQ(form->currentPage, 7);
    ticks(30);
    EXPECT_EQ(framesShown, (std::vector<int>{40, 41, 42}));
    EXPECT_EQ(form->recording.State(), kRecPlayingPaused);
    EXPECT_EQ(form->LabelPlayPos->Caption(), "Play (5) - pause 2024_11_26 13:15:27.15");
    // The scroll bar moves the player: position 4 plays the second frame only.
    framesShown.clear();
    form->ScrollBarPlay->SetPosition(4);
    EXPECT_EQ(framesShown, std::vector<int>{41});
    form->SpeedButtonPlay4->Click();
    EXPECT_EQ(form->recording.State(), kRecIdle);
    EXPECT_FALSE(form->ScrollBarPlay->Visible());
    // What the user had before playing is one undo step back.
    form->SpeedButtonZpetClick(nullptr);
    form->SpeedButtonZpetClick(nullptr);
    EXPECT_EQ(form->images.image, beforePlay);
}

TEST_F(PlayerTest, BadRecordingsAreRefusedWithAClearMessage)
{
    const Image image = form->images.image;
    const auto good = writeRecording("good.ignlog", 3);
    const std::string bytes = os::readWholeFile(good).value_or("");
    struct Case
    {
        const char* name;
        std::string content;
        const char* expected;
    };
    std::string counts = bytes;
    counts[254] = static_cast<char>(0x71);  // 6001 records
    counts[255] = static_cast<char>(0x17);
    std::string otherKey = bytes;
    otherKey[60] = static_cast<char>(308 & 0xFF);
    const Case cases[] = {
        {"empty.ignlog", "", "too short"},
        {"cut.ignlog", bytes.substr(0, bytes.size() - 100), "cut short"},
        {"counts.ignlog", counts, "record counts are impossible"},
        {"settings.ignlog", "\r\nQUORVANE_KEY     309 \r\n" + std::string(20000, ' '), "not a live recording"},
        {"other_key.ignlog", otherKey, "RS keys are not equal (308!=309)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto path = dir / c.name;
        ASSERT_TRUE(os::atomicWriteFile(path, c.content).ok);
        const std::size_t before = dialogs.Messages().size();
        play(path);
        EXPECT_EQ(form->recording.State(), kRecIdle);
        ASSERT_EQ(dialogs.Messages().size(), before + 1);
        const vcl::MessageBoxCall& box = dialogs.Messages().back();
        EXPECT_EQ(box.caption, "Error");
        EXPECT_NE(box.text.find(c.expected), std::string::npos) << box.text;
        if (std::string_view(c.name) != "other_key.ignlog") {
            EXPECT_NE(box.text.find(path.string()), std::string::npos);
        }
    }
    EXPECT_EQ(form->images.image, image);
    EXPECT_TRUE(form->SpeedButtonPlay2->Enabled());
}

TEST_F(PlayerTest, RecordingWriteFailuresAreReportedAndKeepWhatWasRecorded)
{
    dialogs.AnswerFile("/dev/full");
    form->SpeedButtonPlay1->Click();
    EXPECT_EQ(form->recording.State(), kRecIdle);
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_NE(dialogs.Messages()[0].text.find("/dev/full"), std::string::npos) << dialogs.Messages()[0].text;

    // The disk fills during the ride: the next tick says so, and the file plays up to the last frame written.
    const auto path = dir / "ride.ignlog";
    dialogs.AnswerFile(path.string());
    form->SpeedButtonPlay1->Click();
    ASSERT_EQ(form->recording.State(), kRecRecording);
    auto frame = [&](int n) {
        now += 385;
        std::ranges::copy(Frame(n), form->device->live.MutableBytes().begin());
        form->device->hooks.liveFrameStored();
    };
    frame(1);
    frame(2);
    filefaults::WithFileSizeLimit(std::filesystem::file_size(path) + 400, [&] {
        for (int n = 3; n < 6; ++n) frame(n);
        return 0;
    });
    EXPECT_EQ(form->recording.State(), kRecIdle);
    EXPECT_EQ(dialogs.Messages().size(), 1u);  // not in the middle of the frame's road
    form->Timer1->Fire();
    ASSERT_EQ(dialogs.Messages().size(), 2u);
    EXPECT_NE(dialogs.Messages()[1].text.find(path.string()), std::string::npos) << dialogs.Messages()[1].text;
    EXPECT_TRUE(form->SpeedButtonPlay1->Enabled());
    const LiveLogRead read = ReadLiveLog(path);
    ASSERT_TRUE(read.log) << read.error;
    EXPECT_EQ(read.log->Count() - read.log->startRecords, 3);
}
