#include "shell/status.h"

#include <vector>

#include "os/lngtext.h"
#include "settings/impet.h"
#include "shell/appsettings.h"
#include "shell/mainform.h"
#include "vcl/dialogs.h"

void InitStatusSlots(TMainForm& w)
{
    SetupStatusSlots(w.statusSlots, w.LabelConnection, w.LabelResult, w.LabelCongruence, w.CGaugeProgram);
}

void SetStatusSlot(TMainForm& w, int slot, std::string_view text, int ms, TColor fontColor, TColor backColor,
                   int priority)
{
    std::optional<std::string_view> shown;
    if (!text.empty()) shown = text;
    SetStatusSlot(w.statusSlots, w.tickCounter, slot, shown, ms, fontColor, backColor, priority);
}

void ExpireStatusSlots(TMainForm& w)
{
    ExpireStatusSlots(w.statusSlots, w.tickCounter);
}

void ReleaseStatusSlots(TMainForm& w)
{
    for (StatusSlot& s : w.statusSlots.slot) s.text.reset();
}

void UpdateCaption(TMainForm& w)
{
    w.SetCaption(BuildCaption(w.fileShown != 0, w.currentFileName, w.releasedPort >= 0));
}

void InitVersionInfo(TMainForm& w)
{
    w.connectionState = 0;
    w.versionLine.clear();
    w.connectionLine.clear();
    w.newestArchiveDate.clear();
    // The model settings folder is the archive's first entry; its newest file dates the shipped settings.
    const IMPET_FILE& root = ProgramArchive().root();
    if (root.isFolder() && !root.children.empty() && root.children.front().isFolder()) {
        std::vector<std::int64_t> times;
        for (const IMPET_FILE& entry : root.children.front().children)
            times.push_back(static_cast<std::int64_t>(entry.time));
        w.newestArchiveDate = NewestDateText(times);
    }
    w.compileDate = CompileDateText(__DATE__);
}

std::string GetVersionText(const TMainForm& w)
{
    return GetVersionText(w.compileDate, w.newestArchiveDate);
}

std::string GetConnectionText(const TMainForm& w)
{
    ConnectionInfo info;
    info.state = w.connectionState;
    info.labelVersion = w.LabelVersion ? w.LabelVersion->Caption() : std::string();
    info.unitText = w.identity.unit;
    info.dateText = w.identity.date;
    info.timeText = w.identity.time;
    info.firmwareText = w.identity.firmware;
    info.serialText = w.identity.serialNumber;
    info.lastUpdateText = w.identity.lastUpdate;
    info.noteText = w.identity.note;
    return GetConnectionText(info);
}

int MsgBox(std::string_view text, std::string_view caption, unsigned type)
{
    return MessageBox(GetLngText(text), GetLngText(caption), type);
}

int MsgBoxError(std::string_view text, unsigned type)
{
    return MessageBox(GetLngText(text), "Error", type | MB_ICONSTOP);
}
