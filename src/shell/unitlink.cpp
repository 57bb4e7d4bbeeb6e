// The main window's side of the unit link: the device step of each tick, and taking the port from and giving it
// to the link. The step itself works on plain data (link/devicestep.h); here its hooks reach the window.
#include "os/lngtext.h"
#include "settings/repair.h"
#include "shell/appsettings.h"
#include "shell/livedisplay.h"
#include "shell/mainform.h"
#include "shell/player.h"
#include "vcl/dialogs.h"
#include "vcl/formlayout.h"

namespace {

void ShowConnectionLine(TMainForm& w)
{
    w.connectionLine = GetConnectionText(w);
    w.StatusBar1->SetPanelText(4, w.connectionLine);
}

DeviceOps& Device(TMainForm& w)
{
    if (w.device) return *w.device;
    DeviceContext context{*w.link,           w.images,       w.requestCode,  w.programAll, w.NEWINSTAL,
                          w.connectionState, w.releasedPort, w.testCommands, w.tickCounter};
    DeviceHooks hooks;
    hooks.showStatus = [&w](int slot, const std::string& text, int ms, std::uint32_t font, std::uint32_t back,
                            int priority) { SetStatusSlot(w, slot, text, ms, font, back, priority); };
    hooks.gauge = [&w](int progress, std::uint32_t color, bool show) {
        if (progress >= 0) w.CGaugeProgram->SetProgress(progress);
        if (color != kDevColorKept) w.CGaugeProgram->SetForeColor(color);
        if (show) w.CGaugeProgram->SetVisible(true);
    };
    hooks.portText = [&w](const std::string& text) { w.LabelCom->SetCaption(text); };
    hooks.showImageOnPages = [&w] { ShowImageOnPages(w, 0); };
    hooks.normalizeImage = [&w] { w.repairState = NormalizeSettingsImage(w.images.image); };
    hooks.compareUnitAndPc = [&w] { w.CompareUnitAndPc(); };
    hooks.noteImageChange = [&w] { w.NoteImageChange(); };
    hooks.saveAppSettings = [&w] { SaveAppSettings(w); };
    hooks.chooseChangedBlock = [&w](int mask) { return RequestChangedBlock(w, mask); };
    hooks.copyImageRangeToMaps = [&w](int first, int end) { CopyImageRangeToMaps(w, first, end); };
    hooks.showMessage = [](const std::string& text) { ShowMessage(text); };
    hooks.message = [&w](int index) { return w.Message(index); };
    hooks.identityChanged = [&w] {
        w.identity = w.device->identity;
        ShowConnectionLine(w);
    };
    hooks.liveFrameStored = [&w] { LiveFrameStored(w); };
    // Lambda tuning switched on (the tuning page's check box) and the pickup monitor asking for samples.
    hooks.liveInputs = [&w] {
        const TCheckBox* tuning = FindControl<TCheckBox>(w, "CheckBoxLadeniPovoleno");
        return LiveRequestInputs{.tuningOn = tuning && tuning->Checked(), .pickupWanted = w.pickupWanted};
    };
    hooks.updateCaption = [&w] { UpdateCaption(w); };
    // While the live player plays (or is paused in playing), the unit's answers are not taken.
    hooks.playerPlaying = [&w] { return (w.recording.State() & 3) == kRecPlaying; };
    hooks.unitDisconnected = [&w] {
        InitVersionInfo(w);
        ShowConnectionLine(w);
    };
    w.device = std::make_unique<DeviceOps>(context, std::move(hooks));
    return *w.device;
}

}  // namespace

void LiveFrameStored(TMainForm& w)
{
    ShowConnectionLine(w);
    LogMonitorRecord(w);
    WriteCsvLine(w);
    ShowLiveData(w);
}

void ReplayLiveFrame(TMainForm& w, std::span<const std::uint8_t> blockBytes)
{
    Device(w).ReplayLiveFrame(blockBytes);
}

void DeviceStep(TMainForm& w)
{
    Device(w).Step();
}

void DisconnectUnit(TMainForm& w)
{
    Device(w).DisconnectUnit();
}

void CloseAllPorts(TMainForm& w)
{
    w.link->CloseAll();
}

bool PortInUse(const TMainForm& w)
{
    return w.link->portInUse.load(std::memory_order_relaxed) != 0;
}

void ReleasePort(TMainForm& w)
{
    Device(w).ReleasePort();
}

void ReclaimPort(TMainForm& w)
{
    Device(w).ReclaimPort();
}
