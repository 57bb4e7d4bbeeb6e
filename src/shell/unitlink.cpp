// The main window's side of the unit link: the device step of each tick, and taking the port from and giving it
// to the link.
#include "shell/appsettings.h"
#include "shell/mainform.h"

void DeviceStep(TMainForm& w)
{
    w.link->Tick();
}

void DisconnectUnit(TMainForm& w)
{
    w.link->ClosePort();
    w.connectionState = 0;
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
    w.releasedPort = w.link->portInUse.load(std::memory_order_relaxed);
    w.link->linkEnabled = 0;
    DisconnectUnit(w);
}

void ReclaimPort(TMainForm& w)
{
    w.releasedPort = -1;
    w.link->linkEnabled = 1;
}
