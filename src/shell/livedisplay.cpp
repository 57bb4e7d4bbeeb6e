#include "shell/livedisplay.h"

#include "link/livedata.h"
#include "pages/outputtest.h"
#include "monitors/cidlist.h"
#include "monitors/extmon.h"
#include "monitors/monvars.h"
#include "settings/errorlog.h"
#include "shell/appsettings.h"
#include "shell/mainform.h"

bool HasLiveData(const TMainForm& w)
{
    return HasLiveData(PortInUse(w) ? 1 : 0, w.recording.State());
}

void ShowLiveData(TMainForm& w)
{
    if (!HasLiveData(w) && w.device) w.device->live.Clear();
    w.liveValues = w.device ? DecodeLiveValues(w.device->live) : LiveValues{};
    if (w.device) EnableTestButtons(w, w.device->live.Monb(178));
    UpdateMonitorVariables(w);
}

void UpdateMonitorVariables(TMainForm& w)
{
    static const LiveBlock kNoData;
    const LiveBlock& live = w.device ? w.device->live : kNoData;
    ComputeDerivedLiveValues(w.images.image, live, w.derivedLive);
    if (UpdateMonitorVariables(w.images.image, live, w.derivedLive)) MarkMonitorValuesChanged(w.externalMonitor);
}

void AttachMonitorWindows(TMainForm& w, TFormEM* monitor, TFormCIDList* picker)
{
    w.externalMonitor = monitor;
    w.watchPicker = picker;
    w.externalMonitorVisible = [monitor] { return monitor && monitor->Visible() ? 1 : 0; };
    if (!monitor) return;
    monitor->watchPicker = picker;
    monitor->monitorIni = w.monitorPath;
    monitor->hasLiveData = [&w] { return HasLiveData(w); };
    monitor->enableStoreItem = [&w] {
        if (TMenuItem* item = w.MainMenu1->Find("MenuMonitorStore")) item->SetEnabled(true);
    };
    monitor->logError = [&w](const std::string& text) { LogError(w.settingsFolder.path, text); };
}
