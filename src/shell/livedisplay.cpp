#include "shell/livedisplay.h"

#include "link/livedata.h"
#include "pages/outputtest.h"
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
}
