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
    static const LiveBlock kNoFrame;
    if (!HasLiveData(w) && w.device) w.device->live.Clear();
    const LiveBlock& block = w.device ? w.device->live : kNoFrame;
    w.liveValues = DecodeLiveValues(block);
    if (w.device) EnableTestButtons(w, w.device->live.Monb(178));
    ComputeDerivedLiveValues(w.images.image, block, w.derivedLiveValues);
    // Last: the external monitor's variables.
    if (w.updateMonitorVariables) w.updateMonitorVariables();
}
