#include "shell/pickupmonitor.h"

#include "monitors/pickupmon.h"
#include "shell/mainform.h"

void TMainForm::ButtonMonPuClick(TObject*) { ShowPickupMonitor(*this); }

void ShowPickupMonitor(TMainForm& w)
{
    if (!w.pickupMonitor) {
        w.pickupMonitor = std::make_unique<CMonPickup>();
        w.pickupMonitor->OpenWindow();
    } else {
        w.pickupMonitor->Toggle();
    }
    w.pickupWanted = w.pickupMonitor->WantsSamples();
}

void TakePickupBlockStep(TMainForm& w)
{
    CMonPickup* monitor = w.pickupMonitor.get();
    if (!monitor || !monitor->window || !w.link) return;
    // The link hands a block over once and is free to fill the next one; a type other than angle or time samples
    // is dropped here.
    if (w.link->TakePickupBlock(w.pickupBlock))
        (void)TakePickupBlock(w.pickupRing, monitor->window->displayMode, w.pickupBlock);
}

void PickupMonitorStep(TMainForm& w)
{
    CMonPickup* monitor = w.pickupMonitor.get();
    if (!monitor || !monitor->window) {
        w.pickupWanted = false;
        return;
    }
    if ((w.tickCounter & 15) == 0 && !monitor->window->paused) {
        if (monitor->window->displayMode != kPickupModeTime)
            AnalysePickupEdges(w.pickupRing, *monitor);
        else
            BuildPickupCurve(w.pickupRing, *monitor);
    }
    monitor->Poll();
    if (monitor->redraw) monitor->Redraw();
    w.pickupWanted = monitor->WantsSamples();
}
