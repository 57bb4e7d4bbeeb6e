#pragma once
// The main window's calls into work that stands in other places of the program: the archive, new settings for a
// model, program settings files, the COM menu, the language switch and the unit link. Each does the least the
// start-up, the timer and the shut-down need until its own part of the program is there.
#include <filesystem>
#include <string>

#include "settings/image.h"
#include "settings/keytable.h"
#include "settings/settingsreader.h"
#include "settings/settingswriter.h"

class TMainForm;

// Opens the archive of model settings; false when it holds nothing.
bool OpenArchive(TMainForm& w);
// New settings for the model in the image's model byte, on every page (-1) or on one page.
void NewBikeSettings(TMainForm& w, int page = -1);
// The model tag of the bike list's chosen item; 0xFFFF for "no model".
[[nodiscard]] int SelectedBikeTag(const TMainForm& w);
// The sheet the injection page's map editor shows.
[[nodiscard]] int InjectionEditorSheet(const TMainForm& w);
// Which keys of a settings file belong to the current page.
[[nodiscard]] PageImportFlags CurrentPageImportFlags(const TMainForm& w);
// Reader hooks without messages (the first pass of an open) and with them.
[[nodiscard]] ReaderHooks SilentReaderHooks(TMainForm& w);
[[nodiscard]] ReaderHooks ReaderHooksFor(TMainForm& w);
// What a settings file carries besides the image.
[[nodiscard]] SettingsFileTexts SettingsTextsFor(const TMainForm& w);
// "x/b.ign" -> "x/b-dif.txt".
[[nodiscard]] std::string ReportNameFor(const std::string& fileName);
// The difference report of the settings image against a second image, into the report file.
void DifferenceReport(TMainForm& w, const Image& second);
// The injection mode of injectors 1 to 4 (0 normal, 1 coupled, 2 one map for all) with what it does to the maps.
void SetInjectionMode(TMainForm& w, int mode);
void ShowExternalMonitorWindow(TMainForm& w, int set);
void StoreExternalMonitorSet(TMainForm& w);
// Hands the monitor windows made at start their side of the main window (monitor.ini, the Store monitor item, the
// live-data state, the error log, the watch picker) and lets every live display pass update the monitor variables.
void AttachMonitorWindows(TMainForm& w, class TFormEM* monitor, class TFormCIDList* picker);
void ShowAboutWindow(TMainForm& w);
// Makes the settings folder and its file paths and opens application.ini.
void InitSettingsFolder(TMainForm& w);
void LoadAppSettings(TMainForm& w);
void SaveAppSettings(TMainForm& w);
void LoadLambdaFile(TMainForm& w);
// Puts the whole window into the current language.
void ApplyLanguage(TMainForm& w);
// The folder of the program file, and the file itself.
std::string ProgramFolder();
[[nodiscard]] std::filesystem::path ProgramFile();
class CImpet;
// The archive of model settings and the parameter layout.
[[nodiscard]] CImpet& ProgramArchive();

// The unit link.
void DeviceStep(TMainForm& w);
void DisconnectUnit(TMainForm& w);
void CloseAllPorts(TMainForm& w);
bool PortInUse(const TMainForm& w);
// Takes a port back that was released to a loader program.
void ReclaimPort(TMainForm& w);
// Hands the port in use to a loader program.
void ReleasePort(TMainForm& w);
