#include "shell/appsettings.h"

#include <QCoreApplication>

#include "shell/mainform.h"
#include "vcl/qtcolor.h"

bool OpenArchive(TMainForm&) { return true; }

void NewBikeSettings(TMainForm&) {}

void LoadAppSettings(TMainForm&) {}

void SaveAppSettings(TMainForm&) {}

void LoadLambdaFile(TMainForm&) {}

void BuildComMenu(TMainForm&) {}

void ApplyLanguage(TMainForm& w)
{
    UpdateCaption(w);
}

std::string ProgramFolder()
{
    return QCoreApplication::instance() ? vcl::S(QCoreApplication::applicationDirPath()) : std::string(".");
}

void DeviceStep(TMainForm&) {}

void DisconnectUnit(TMainForm& w)
{
    w.connectionState = 0;
}

void CloseAllPorts(TMainForm&) {}

bool PortInUse(const TMainForm&) { return false; }
