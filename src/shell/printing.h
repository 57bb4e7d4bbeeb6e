#pragma once
// Printing the main window as it looks. For the paper it is made white and plain first (buttons, spin controls,
// gauges and scroll bars hidden, labels transparent, map editors in their print look); every change is recorded
// and undone as soon as the page images are taken, whatever becomes of the print job.
#include <QImage>
#include <QPalette>
#include <vector>

#include "shell/clist.h"
#include "vcl/core.h"

class TControl;
class TMainForm;

// Kinds of recorded change.
inline constexpr int kPrintMapEditor = 0;
inline constexpr int kPrintTransparentLabel = 1;
inline constexpr int kPrintColour = 2;
inline constexpr int kPrintHidden = 3;

// A control's colour as it was before printing changed it: the colour, whether it was the control's own or its
// parent's, and the palette it was drawn with, so that it looks exactly as before once put back.
struct ColourMemo
{
    TColor color = clBtnFace;
    bool set = false;
    QPalette palette;
};

class CPrintObj final : public COBJ
{
public:
    CPrintObj(TControl* changed, int code, int changeKind, TColor old)
        : control(changed), classCode(code), kind(changeKind), oldValue(old)
    {
    }

    TControl* control;
    int classCode;  // 0 for the fixed controls hidden first
    int kind;
    TColor oldValue;  // the former colour for a colour change; the button face otherwise
    ColourMemo colour;  // a colour change: the whole former colour
};

// The printing module's lists, made at start and kept to the end; both are empty outside a print.
struct PrintLists
{
    CLISTOBJ records{50, 50};  // CPrintObj, in the order the changes were made
    CLIST sheets{20, 20};      // TTabSheet* whose tab is shown, not owned
    // The colours of the window and of its status bar before the print made them white.
    ColourMemo window;
    ColourMemo statusBar;
    bool coloursKept = false;
};

// The code of a control's class for printing (Label 1, UpDown 2, ... ScrollBar 27); 0 for any other class.
[[nodiscard]] int PrintClassCode(const TControl& control);
// Makes the window (container null) or one container paper-friendly, recording every change.
void PrepareForPrint(TMainForm& w, TControl* container = nullptr);
// Undoes every recorded change and empties both lists.
void RestoreAfterPrint(TMainForm& w);
// The images of the pages a print makes: the window as it shows the current page, or one image per listed sheet
// (Print All). The window is in its print look only while they are taken.
[[nodiscard]] std::vector<QImage> PrintPageImages(TMainForm& w, bool allSheets);
