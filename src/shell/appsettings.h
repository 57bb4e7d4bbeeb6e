#pragma once
// The main window's calls into work that stands in other places of the program: the archive, new settings for a
// model, program settings files, the COM menu, the language switch and the unit link. Each does the least the
// start-up, the timer and the shut-down need until its own part of the program is there.
#include <string>

class TMainForm;

// Opens the archive of model settings; false when it holds nothing.
bool OpenArchive(TMainForm& w);
// New settings for the model in the image's model byte, on every page.
void NewBikeSettings(TMainForm& w);
// Makes the settings folder and its file paths and opens application.ini.
void InitSettingsFolder(TMainForm& w);
void LoadAppSettings(TMainForm& w);
void SaveAppSettings(TMainForm& w);
void LoadLambdaFile(TMainForm& w);
void BuildComMenu(TMainForm& w);
// Puts the whole window into the current language.
void ApplyLanguage(TMainForm& w);
// The folder of the program file.
std::string ProgramFolder();

// The unit link.
void DeviceStep(TMainForm& w);
void DisconnectUnit(TMainForm& w);
void CloseAllPorts(TMainForm& w);
bool PortInUse(const TMainForm& w);
