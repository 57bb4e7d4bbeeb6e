#pragma once
// The main window's side of the pickup monitor: its button, the hand-over of completed sample blocks from the
// link into the pickup ring, and the monitor's share of the main timer.
class TMainForm;

// The first time, makes the pickup monitor and shows its window; later shows or hides the window.
void ShowPickupMonitor(TMainForm& w);
// Main timer: a completed sample block goes into the ring while the monitor exists (until then it waits in the
// link).
void TakePickupBlockStep(TMainForm& w);
// Main timer, later in the tick: every 16th tick the new samples become points (unless paused); then the monitor
// polls and redraws when asked, and the live request learns whether samples are wanted.
void PickupMonitorStep(TMainForm& w);
