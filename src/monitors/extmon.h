#pragma once
// The external monitor: a free-standing window whose picture (TMonImg) shows the user's monitor set with live
// values. The window keeps its size within limits and, while read-only, in the proportions of the set; it switches
// between read-only and edit mode, repaints changed widgets every 100 ms and tells in its caption whether live
// data arrive.
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "monitors/monimg.h"
#include "vcl/forms.h"
#include "vcl/menus.h"
#include "vcl/timer.h"

class TFormCIDList;

// Monitor-set files count the window's outer size; on this desktop the window system draws the frame, so the
// program reckons with the frame the stored sizes were made with: 4 pixels each side, a caption of 18.
inline constexpr int kFrameWidth = 8;
inline constexpr int kFrameHeight = 26;

class TFormEM final : public TForm
{
public:
    TFormEM();
    ~TFormEM() override;

    void OnFormCreate(TObject* Sender);
    void OnResizeForm(TObject* Sender);
    void OnTimer(TObject* Sender);
    void OnMouseWheel(int delta);
    void SetEditMode(bool on);

    // The window has neither menu nor status bar: its Width and Height are its client area. The outer place and
    // size count the frame too.
    [[nodiscard]] int OuterWidth() const { return Width() + kFrameWidth; }
    [[nodiscard]] int OuterHeight() const { return Height() + kFrameHeight; }
    void SetOuterBounds(int left, int top, int outerWidth, int outerHeight);

    int minClientWidth = 200;
    int minClientHeight = 35;
    int maxClientWidth = 1280;
    int maxClientHeight = 1024;
    int stayOnTop = 0;
    TMonImg* image = nullptr;
    int wheelBusy = 0;
    int lastFreeWidth = 0, lastFreeHeight = 0;  // the window's size while no mouse button is held
    TPopupMenu* PopupMenu1 = nullptr;
    TTimer* TimerMonitor = nullptr;

    // The main window's side: whether a monitor set was loaded in this run (the program settings then store it
    // into monitor.ini), where monitor.ini lives, and how to enable its Store monitor item.
    int monitorSetLoaded = 0;
    bool monitorIniTried = false;
    std::filesystem::path monitorIni;
    std::function<void()> enableStoreItem;
    // Whether live data arrive (the caption says so).
    std::function<bool()> hasLiveData;
    // Faults the user is not told of (a set file that could not be written or read) go to the error log.
    std::function<void(const std::string&)> logError;
    // The program-wide watch picker, created at start.
    TFormCIDList* watchPicker = nullptr;

private:
    void CanResize(int& width, int& height, bool& resize);
};

// Shows the external monitor: set 0 with the last monitor set (monitor.ini, read on the first show of a run),
// 1 with a set chosen from a file, -1, -2, -3 with a built-in set, -1000 with the empty set.
void ShowExternalMonitor(TFormEM& form, int set);
// New live values: every value widget and indicator repaints on the next tick (nothing before the window exists).
void MarkMonitorValuesChanged(TFormEM* form);

// Moves and cuts a rectangle so that it lies on the monitor it sticks out of least; a rectangle that lies wholly
// on a monitor is left alone.
void FitRectToMonitor(TRect& rect, const std::vector<TRect>& monitors);
void FitFormToMonitor(TForm& form);

// The resize rule of the window, on client sizes: read-only keeps the set's proportions, edit mode keeps every
// widget inside. False: the proposal is refused.
struct ResizeState
{
    int mode = kModeReadOnly;
    int minWidth = 200, minHeight = 35, maxWidth = 1280, maxHeight = 1024;
    int extentWidth = 0, extentHeight = 0;  // right and bottom edges of the widgets (edit mode)
    int clientWidth = 0, clientHeight = 0;  // now
    int lastFreeWidth = 0, lastFreeHeight = 0;
    int designWidth = 0, designHeight = 0;
};
[[nodiscard]] bool ExternalMonitorResize(const ResizeState& state, int& width, int& height);
