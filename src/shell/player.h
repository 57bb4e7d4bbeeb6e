#pragma once
// The main window's side of the live recording, the monitor player and the CSV log: the player box with its
// buttons, the dialogs, what each record carries from the window and where a played record goes.
#include <span>
#include <string>

#include "link/ignlog.h"

class TMainForm;
class TObject;

// Height of the player box under the pages; the window grows by it while the box is shown.
inline constexpr int kPlayerBoxHeight = 58;

// Builds the player box (hidden) and the CSV menu's dialog; once, with the form.
void BuildPlayerBox(TMainForm& w);
// Shows or hides the player box and makes room for it.
void ShowPlayerBox(TMainForm& w, bool shown);

// Idle, nothing recorded or played, the controls shown as for idle; where played records go.
void InitLiveRecording(TMainForm& w);
void StartRecording(TMainForm& w);
void OpenAndPlayLiveRecording(TMainForm& w);
void StopLiveRecording(TMainForm& w);
// One record each, while recording (which: 0 the settings image, 1 the device image while valid).
void LogConnectionRecord(TMainForm& w);
void LogImageRecord(TMainForm& w, int which);
void LogMonitorRecord(TMainForm& w);
void LogPageRecord(TMainForm& w);
// Main-timer step while playing: the records that are due.
void PlaybackTick(TMainForm& w);
void ShowLiveRecordingState(TMainForm& w);

// The CSV log: on with a file chosen, or off. One line per live frame.
void ToggleCsvLog(TMainForm& w);
void WriteCsvLine(TMainForm& w);

// Messages that a recording or a log raised inside a timer step or a page edit: shown once the step is done,
// so that no box opens in the middle of the device step.
void ReportLater(TMainForm& w, std::string text);
void ShowPendingMessages(TMainForm& w);
