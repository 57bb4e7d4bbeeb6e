#include "shell/player.h"

#include <sys/utsname.h>

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cstdio>

#include "link/csvlog.h"
#include "os/lngtext.h"
#include "pages/mapside.h"
#include "shell/appsettings.h"
#include "shell/livedisplay.h"
#include "shell/mainform.h"
#include "shell/status.h"
#include "shell/toolicons.h"

namespace {

// file, cause
constexpr const char* kTextCannotPlay =
    "###%s cannot be played:\n%s##%s kann nicht abgespielt werden:\n%s##%s nelze přehrát:\n%s";
// cause
constexpr const char* kTextCannotRecord =
    "###The live recording cannot be started: %s##Die Live-Aufzeichnung kann nicht beginnen: %s##Živý záznam nelze "
    "zahájit: %s";
constexpr const char* kTextCsvCannotStart =
    "###The CSV log cannot be started: %s##Das CSV-Protokoll kann nicht beginnen: %s##CSV záznam nelze zahájit: %s";
constexpr const char* kTextCsvStopped =
    "###The CSV log was stopped: %s. The lines written before stay in the file.##Das CSV-Protokoll wurde beendet: "
    "%s. Die zuvor geschriebenen Zeilen bleiben in der Datei.##CSV záznam byl ukončen: %s. Dříve zapsané řádky "
    "zůstávají v souboru.";
constexpr const char* kTextCsvNotClosed =
    "###The CSV log could not be closed properly: %s##Das CSV-Protokoll konnte nicht richtig geschlossen werden: "
    "%s##CSV záznam nelze řádně uzavřít: %s";

constexpr const char* kCsvCaptionOff = "CSV output monitor";
constexpr const char* kCsvCaptionOn = "Stop CSV recording";

LogHeaderInfo RecordingHeader(const TMainForm& w)
{
    LogHeaderInfo info;
    info.startSeconds = w.wallClockMs() / 1000;
    utsname name{};
    if (::uname(&name) == 0)
        std::sscanf(name.release, "%d.%d.%d", &info.osVersion[0], &info.osVersion[1], &info.osVersion[2]);
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (qsizetype i = 0; i < std::min<qsizetype>(screens.size(), 4); ++i) {
        const QRect r = screens[i]->geometry();
        auto s16 = [](int v) { return static_cast<std::int16_t>(std::clamp(v, -32768, 32767)); };
        info.monitors[static_cast<std::size_t>(i)] = {s16(r.left()), s16(r.width()), s16(r.top()), s16(r.height())};
    }
    info.versionLine = w.versionLine;
    return info;
}

void ApplyReplayedPage(TMainForm& w, const LogPage& page)
{
    // A page that is not there (another build's file) is left alone; so is a sheet, by the editors.
    if (page.page != w.currentPage && page.page >= 0 && page.page < w.PageControl1->PageCount()) {
        w.PageControl1->SetActivePageIndex(page.page);
        if (w.PageControl1->ActivePageIndex() == page.page) w.PageControl1Change(w.PageControl1);
    }
    SelectRecordedSheets(w, page);
}

}  // namespace

// ---------------------------------------------------------------- the player box

void BuildPlayerBox(TMainForm& w)
{
    w.GroupBoxPlayer = w.Make<TGroupBox>(nullptr, "GroupBoxPlayer");
    w.GroupBoxPlayer->SetCaption("Monitor player");
    w.GroupBoxPlayer->SetBounds(0, kFormHeight, kFormWidth, kPlayerBoxHeight);
    struct ButtonRow
    {
        TSpeedButton* TMainForm::*member;
        const char* name;
        const char* hint;
        ToolPicture picture;
    };
    const ButtonRow buttons[] = {
        {&TMainForm::SpeedButtonPlay1, "SpeedButtonPlay1", "Record|Start to record all events and monitor",
         ToolPicture::Record},
        {&TMainForm::SpeedButtonPlay2, "SpeedButtonPlay2", "Play|Play stored events and monitor", ToolPicture::Play},
        {&TMainForm::SpeedButtonPlay3, "SpeedButtonPlay3", "Pause|Pause Play or Record", ToolPicture::Pause},
        {&TMainForm::SpeedButtonPlay4, "SpeedButtonPlay4", "Stop|Stop Play or Record", ToolPicture::Stop},
    };
    int x = 8;
    for (const ButtonRow& b : buttons) {
        TSpeedButton* button = w.Make<TSpeedButton>(w.GroupBoxPlayer, b.name);
        button->SetBounds(x, 20, 30, 30);
        button->SetHint(b.hint);
        button->SetIcon(ToolIconName(b.picture), DrawToolPicture(b.picture));
        button->OnClick = [&w](TObject* sender) { w.SpeedButtonPlay(sender); };
        w.*b.member = button;
        x += 32;
    }
    w.ScrollBarPlay = w.Make<TScrollBar>(w.GroupBoxPlayer, "ScrollBarPlay");
    w.ScrollBarPlay->SetBounds(144, 20, 420, 17);
    w.ScrollBarPlay->SetLargeChange(10);
    w.ScrollBarPlay->OnChange = [&w](TObject* sender) { w.PlayPosChange(sender); };
    w.LabelPlayFile = w.Make<TLabel>(w.GroupBoxPlayer, "LabelPlayFile");
    w.LabelPlayFile->SetBounds(144, 39, 420, 16);
    w.LabelPlayPos = w.Make<TLabel>(w.GroupBoxPlayer, "LabelPlayPos");
    w.LabelPlayPos->SetBounds(576, 20, 486, 16);
    w.LabelPlayDevice = w.Make<TLabel>(w.GroupBoxPlayer, "LabelPlayDevice");
    w.LabelPlayDevice->SetBounds(576, 39, 486, 16);
    w.GroupBoxPlayer->SetVisible(false);

    w.OpenDialog2 = w.Own(std::make_unique<TOpenDialog>(), "OpenDialog2");
    w.SaveDialog2 = w.Own(std::make_unique<TSaveDialog>(), "SaveDialog2");
}

void ShowPlayerBox(TMainForm& w, bool shown)
{
    w.GroupBoxPlayer->SetVisible(shown);
    w.SetClientSize(kFormWidth, kFormHeight + (shown ? kPlayerBoxHeight : 0));
}

void TMainForm::SpeedButtonPlay(TObject* Sender)
{
    if (settingGuard) return;
    if (Sender == SpeedButtonPlay1)
        StartRecording(*this);
    else if (Sender == SpeedButtonPlay2)
        OpenAndPlayLiveRecording(*this);
    else if (Sender == SpeedButtonPlay3)
        recording.Pause();
    else if (Sender == SpeedButtonPlay4)
        StopLiveRecording(*this);
    ShowLiveRecordingState(*this);
    ShowPendingMessages(*this);
}

void TMainForm::PlayPosChange(TObject*)
{
    const int state = recording.State();
    if (settingGuard || (state != kRecPlaying && state != kRecPlayingPaused)) return;
    recording.Seek(ScrollBarPlay->Position());
    ShowLiveRecordingState(*this);
}

void ShowLiveRecordingState(TMainForm& w)
{
    const PlayerView v = w.recording.View();
    TSpeedButton* buttons[] = {w.SpeedButtonPlay1, w.SpeedButtonPlay2, w.SpeedButtonPlay3, w.SpeedButtonPlay4};
    for (std::size_t i = 0; i < 4; ++i) buttons[i]->SetEnabled(v.buttonEnabled[i]);
    w.ScrollBarPlay->SetVisible(v.scrollShown);
    w.LabelPlayFile->SetVisible(v.fileShown);
    w.LabelPlayPos->SetVisible(v.positionShown);
    w.LabelPlayDevice->SetVisible(v.deviceShown);
    w.LabelPlayFile->SetCaption(v.fileText);
    w.LabelPlayPos->SetCaption(v.positionText);
    w.LabelPlayDevice->SetCaption(v.deviceText);
    if (v.scrollShown) {
        // Set under the guard, so that the player's own move is not taken for the user's.
        ++w.settingGuard;
        w.ScrollBarPlay->SetMax(v.scrollMax);
        w.ScrollBarPlay->SetPosition(v.scrollPosition);
        --w.settingGuard;
    }
}

// ---------------------------------------------------------------- recording and playing

void InitLiveRecording(TMainForm& w)
{
    (void)w.recording.Stop();
    PlayerHooks& hooks = w.recording.hooks;
    hooks.settingsImage = [&w](std::span<const std::uint8_t> image) {
        std::copy_n(image.begin(), RS_LEN_EXE, w.images.image.begin());
        ShowImageOnPages(w, 0);
        // As with a file opened, the image that was there before stays one undo step away.
        w.NoteImageChange();
    };
    hooks.deviceImage = [&w](std::span<const std::uint8_t> image) {
        std::copy_n(image.begin(), RS_LEN_EXE, w.images.device.begin());
        w.images.deviceValid = true;
        w.deviceImageFromRecording = true;
        w.CompareUnitAndPc();
    };
    hooks.liveFrame = [&w](std::span<const std::uint8_t> block) { ReplayLiveFrame(w, block); };
    hooks.page = [&w](const LogPage& page) { ApplyReplayedPage(w, page); };
    ShowLiveRecordingState(w);
}

void StartRecording(TMainForm& w)
{
    if (w.recording.State() == kRecRecordingPaused) {
        w.recording.Resume();
        return;
    }
    if (w.recording.State() != kRecIdle) return;
    w.SaveDialog2->Filter = "IGN log file|*.ignlog";
    w.SaveDialog2->DefaultExt = "ignlog";
    if (!w.SaveDialog2->Execute()) return;
    const os::FileResult started = w.recording.Start(w.SaveDialog2->FileName, RecordingHeader(w));
    if (!started.ok) {
        MsgBoxError(FormatLngText(kTextCannotRecord, started.error.c_str()), MB_OK);
        return;
    }
    LogConnectionRecord(w);
    LogImageRecord(w, 0);
    LogImageRecord(w, 1);
    LogPageRecord(w);
    w.recording.EndStartRecords();
}

void OpenAndPlayLiveRecording(TMainForm& w)
{
    if (w.recording.State() == kRecPlayingPaused) {
        w.recording.Play();
        return;
    }
    if (w.recording.State() != kRecIdle) return;
    w.OpenDialog2->Filter = "IGN log file|*.ignlog";
    w.OpenDialog2->DefaultExt = "ignlog";
    if (!w.OpenDialog2->Execute()) return;
    std::string refusal;
    bool keyMismatch = false;
    w.deviceImageFromRecording = false;
    if (w.recording.Open(w.OpenDialog2->FileName, refusal, keyMismatch)) return;
    if (keyMismatch)
        MsgBoxError(refusal, MB_OK);
    else
        MsgBoxError(FormatLngText(kTextCannotPlay, w.OpenDialog2->FileName.c_str(), refusal.c_str()), MB_OK);
}

void StopLiveRecording(TMainForm& w)
{
    const bool playing = w.recording.State() == kRecPlaying || w.recording.State() == kRecPlayingPaused;
    ReportLater(w, w.recording.Stop());
    // A device image played from a file is not the unit's: the unit's image is unknown again.
    if (playing && w.deviceImageFromRecording) {
        w.deviceImageFromRecording = false;
        w.images.deviceValid = false;
        w.CompareUnitAndPc();
    }
    ShowLiveRecordingState(w);
}

namespace {
void Logged(TMainForm& w, std::string message)
{
    ReportLater(w, std::move(message));
    ShowLiveRecordingState(w);
}
}  // namespace

void LogConnectionRecord(TMainForm& w)
{
    if (!w.recording.Recording()) return;
    const int port = w.link->portInUse.load(std::memory_order_relaxed);
    Logged(w, w.recording.Log(kLogConnection, ConnectionRecordPayload(port, w.connectionLine)));
}

void LogImageRecord(TMainForm& w, int which)
{
    if (!w.recording.Recording() || (which == 1 && !w.images.deviceValid)) return;
    Logged(w, w.recording.Log(which == 0 ? kLogSettingsImage : kLogDeviceImage,
                              which == 0 ? w.images.image : w.images.device));
}

void LogMonitorRecord(TMainForm& w)
{
    if (!w.recording.Recording() || !w.device) return;
    Logged(w, w.recording.Log(kLogLiveFrame, w.device->live.Bytes().first(kLogFrameBytes)));
}

void LogPageRecord(TMainForm& w)
{
    if (!w.recording.Recording()) return;
    LogPage page;
    page.page = w.currentPage;
    FillEditorSheets(w, page);
    Logged(w, w.recording.LogPageRecord(page));
}

void PlaybackTick(TMainForm& w)
{
    if (w.recording.State() != kRecPlaying) return;
    w.recording.Tick();
    ShowLiveRecordingState(w);
}

// ---------------------------------------------------------------- the CSV log

void TMainForm::MenuCSVoutClick(TObject*)
{
    ToggleCsvLog(*this);
}

void ToggleCsvLog(TMainForm& w)
{
    if (w.csvLog.IsOn()) {
        const os::FileResult closed = w.csvLog.Close();
        UpdateCaption(w);
        w.MenuCSVout->SetCaption(kCsvCaptionOff);
        if (!closed.ok) MsgBoxError(FormatLngText(kTextCsvNotClosed, closed.error.c_str()), MB_OK);
        return;
    }
    w.SaveDialog2->Filter = "CSV log file|*.csv";
    w.SaveDialog2->DefaultExt = "csv";
    if (!w.SaveDialog2->Execute()) return;
    const os::FileResult opened = w.csvLog.Open(w.SaveDialog2->FileName);
    if (!opened.ok) {
        MsgBoxError(FormatLngText(kTextCsvCannotStart, opened.error.c_str()), MB_OK);
        return;
    }
    UpdateCaption(w);
    w.MenuCSVout->SetCaption(kCsvCaptionOn);
}

void WriteCsvLine(TMainForm& w)
{
    if (!w.csvLog.IsOn() || !w.device || !HasLiveData(w)) return;
    CsvFrameContext context;
    const auto& header = w.device->UnitHeader();
    context.unitHeaderKey = header[11] | (header[12] << 8);
    context.model = w.images.deviceValid ? w.images.device[RS_BIKE_BYTE] : -1;
    const os::FileResult written = w.csvLog.WriteLine(FormatCsvLine(w.device->live, context, w.wallClockMs()));
    if (written.ok) return;
    w.MenuCSVout->SetCaption(kCsvCaptionOff);
    UpdateCaption(w);
    ReportLater(w, FormatLngText(kTextCsvStopped, written.error.c_str()));
}

// ---------------------------------------------------------------- messages

void ReportLater(TMainForm& w, std::string text)
{
    if (!text.empty()) w.pendingMessages.push_back(std::move(text));
}

void ShowPendingMessages(TMainForm& w)
{
    // The timer keeps running inside a box; a tick that comes meanwhile leaves the rest to this loop.
    if (w.showingMessages) return;
    w.showingMessages = true;
    while (!w.pendingMessages.empty()) {
        const std::string text = std::move(w.pendingMessages.front());
        w.pendingMessages.erase(w.pendingMessages.begin());
        MsgBoxError(text, MB_OK);
    }
    w.showingMessages = false;
}
