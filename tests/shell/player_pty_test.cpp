// A ride recorded from the simulated unit and played back in the main window: the frames the live display gets
// while playing are the recorded ones, in order, at the recorded pace. The clocks of the recording and of the
// main timer are the test's; the unit answers on its pty as fast as it can.
#include <gtest/gtest.h>

#include <QString>
#include <QWidget>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "os/files.h"
#include "os/lngtext.h"
#include "shell/mainform.h"
#include "shell/player.h"
#include "unitsim/quiettime.h"
#include "unitsim/unitsim.h"
#include "vcl/dialogs.h"

namespace {

constexpr int kCom = 200;
// Fewer frames under ThreadSanitizer, whose every tick is many times slower; the same paths run.
#if defined(__SANITIZE_THREAD__)
constexpr int kFrames = 150;
#else
constexpr int kFrames = 1000;
#endif

struct Seen
{
    std::vector<std::uint8_t> block;  // bytes 0..299
    std::int64_t at;                  // the recording's clock
};

class PlayerPtyTest : public testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/kelvora_player_XXXXXX";
        dir = mkdtemp(pattern);
        setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
        setenv("TZ", "UTC", 1);
        tzset();
        SetLanguageIndex(LNG_ENGLISH);
        unitsim::UnitConfig config;
        config.wirePaced = false;
        sim = std::make_unique<unitsim::UnitSim>(config);
        const std::string path = sim->slavePath();
        form = std::make_unique<TMainForm>(clock, std::vector<std::string>{}, [path] {
            return os::ComPortMap{{kCom, path}};
        });
        form->FormCreate(form.get());
        form->link->selectedPort = kCom;
        form->recording.clock = [this] { return now; };
        form->wallClockMs = [this] { return 1732626425000 + now; };
    }
    void TearDown() override
    {
        TCloseAction action = TCloseAction::caHide;
        form->FormClose(form.get(), action);
        form.reset();
        sim.reset();
        std::filesystem::remove_all(dir);
    }

    // Until the unit is found and checked, the main timer fires once for every 50 ms that the line was quiet,
    // as the port search needs time-outs that only a silent line lets run.
    bool connect()
    {
        form->link->selectedPort = -1;  // offline while the clock is brought past the first port enumeration
        for (int i = 0; i < 100; ++i) form->Timer1->Fire();
        form->link->selectedPort = kCom;
        unitsim::QuietTime time(*sim, *form->link, kCom);
        std::uint32_t quietMs = 0;
        return time.runUntil(
            [&](std::uint32_t ms) {
                for (quietMs += ms; quietMs >= 50; quietMs -= 50) form->Timer1->Fire();
            },
            [&] { return form->connectionState == 2 && form->device->Operation() == kOpIdle; }, 30000);
    }
    // One main-timer tick of 55 ms on the test's clocks; a job it starts may finish before time moves on, so no
    // answer time-out falls on the quick ticks.
    void tick()
    {
        now += kMainTimerMs;
        form->Timer1->Fire();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        for (;;) {
            const int job = form->link->JobField();
            if (job == 0 || job == kJobDone || job == kJobFailed) return;
            ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "job " << job << " does not end";
            m_seen = sim->waitForActivity(m_seen, std::chrono::milliseconds(1));
        }
    }
    void watchFrames()
    {
        auto stored = form->device->hooks.liveFrameStored;
        form->device->hooks.liveFrameStored = [this, stored] {
            const auto bytes = form->device->live.Bytes();
            seen.push_back({std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + kLogFrameBytes), now});
            stored();
        };
    }
    void screenshot(const std::string& name)
    {
#if !defined(__SANITIZE_THREAD__)
        const std::filesystem::path shots(SCREENSHOT_DIR);
        std::filesystem::create_directories(shots);
        EXPECT_TRUE(form->Widget()->grab().save(QString::fromStdString((shots / name).string())));
#else
        (void)name;
#endif
    }

    std::filesystem::path dir;
    os::LinkClock clock;
    vcl::ScopedDialogScript dialogs;
    std::unique_ptr<unitsim::UnitSim> sim;
    std::unique_ptr<TMainForm> form;
    std::int64_t now = 0;
    std::vector<Seen> seen;

private:
    std::uint64_t m_seen = 0;
};

}  // namespace

TEST_F(PlayerPtyTest, RideRecordedFromTheUnitPlaysBackInOrderAtTheRecordedPace)
{
    ASSERT_TRUE(connect());
    watchFrames();
    form->MenuMonitorPlayerClick(nullptr);

    // CSV log and recording on; the unit's frames arrive every 7 ticks.
    const auto csv = dir / "ride.csv";
    const auto ride = dir / "ride.ignlog";
    dialogs.AnswerFile(csv.string());
    form->MenuCSVoutClick(nullptr);
    ASSERT_TRUE(form->csvLog.IsOn());
    dialogs.AnswerFile(ride.string());
    form->SpeedButtonPlay1->Click();
    ASSERT_EQ(form->recording.State(), kRecRecording);
    const int startRecords = form->recording.RecordCount();
    // Connection, settings image, device image, and the page shown with its editor's sheet (the bike page's map).
    EXPECT_EQ(startRecords, 4);
    const std::size_t before = seen.size();
    while (form->recording.RecordCount() < startRecords + kFrames) ASSERT_NO_FATAL_FAILURE(tick());
    form->SpeedButtonPlay4->Click();
    form->MenuCSVoutClick(nullptr);
    ASSERT_EQ(form->recording.State(), kRecIdle);
    const std::vector<Seen> recorded(seen.begin() + static_cast<std::ptrdiff_t>(before), seen.end());
    ASSERT_EQ(recorded.size(), static_cast<std::size_t>(kFrames));
    // Every frame is its own (the unit counts its frames in block bytes 241-242) and has one CSV line.
    for (std::size_t i = 1; i < recorded.size(); ++i)
        ASSERT_GT(recorded[i].block[241] << 8 | recorded[i].block[242],
                  recorded[i - 1].block[241] << 8 | recorded[i - 1].block[242]);
    const std::string text = os::readWholeFile(csv).value_or("");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2 + kFrames);

    // The file holds those frames, with their times.
    const LiveLogRead read = ReadLiveLog(ride);
    ASSERT_TRUE(read.log) << read.error;
    ASSERT_EQ(read.log->Count(), startRecords + kFrames);
    const std::int64_t recordingStart = recorded.front().at - read.log->TimeMs(startRecords);
    for (int i = 0; i < kFrames; ++i) {
        const int record = startRecords + i;
        ASSERT_EQ(read.log->Type(record), kLogLiveFrame);
        const auto payload = read.log->Payload(record);
        ASSERT_TRUE(std::equal(payload.begin(), payload.end(), recorded[static_cast<std::size_t>(i)].block.begin()));
        ASSERT_EQ(read.log->TimeMs(record), recorded[static_cast<std::size_t>(i)].at - recordingStart);
    }

    // Played back with the unit still connected: the live display gets the recorded frames only.
    seen.clear();
    dialogs.AnswerFile(ride.string());
    form->SpeedButtonPlay2->Click();
    ASSERT_EQ(form->recording.State(), kRecPlaying);
    const std::int64_t playStart = now;
    while (form->recording.State() == kRecPlaying) {
        ASSERT_NO_FATAL_FAILURE(tick());
        if (seen.size() == static_cast<std::size_t>(kFrames / 2) && seen.back().at == now)
            screenshot("player_playing.png");
        ASSERT_LT(now - playStart, 400 * kFrames + 5000);
    }
    ASSERT_EQ(seen.size(), recorded.size());
    for (std::size_t i = 0; i < seen.size(); ++i) {
        SCOPED_TRACE(i);
        ASSERT_EQ(seen[i].block, recorded[i].block);
        const std::int64_t due = playStart + read.log->TimeMs(startRecords + static_cast<int>(i));
        ASSERT_GE(seen[i].at, due);
        ASSERT_LT(seen[i].at, due + kMainTimerMs);
    }
    EXPECT_EQ(form->recording.Position(), kFrames);
    EXPECT_EQ(form->LabelPlayPos->Caption().rfind("Play (" + std::to_string(kFrames) + ") - pause 2024_11_26", 0), 0u)
        << form->LabelPlayPos->Caption();
    form->SpeedButtonPlay4->Click();
    EXPECT_TRUE(dialogs.Messages().empty());
}
