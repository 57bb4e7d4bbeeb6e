#include "mapeditor/tab.h"

#include <algorithm>
#include <cstdio>

#include "mapeditor/drawing.h"
#include "os/lngtext.h"
#include "vcl/dialogs.h"

namespace {

// One guard for every map editor: a message that reaches any of them while one is handling a message (a focus
// change from its own click, a message box's loop) is dropped, so no handler runs inside another.
bool g_inHandler = false;

class HandlerGuard final
{
public:
    HandlerGuard() { g_inHandler = true; }
    ~HandlerGuard() { g_inHandler = false; }
    HandlerGuard(const HandlerGuard&) = delete;
    HandlerGuard& operator=(const HandlerGuard&) = delete;
};

// Pictures whose background takes the control's face colour.
constexpr std::array<bool, kTabBitmapCount> kRecoloured = {true,  true,  true, true, true, true,  true,  true,  true,
                                                           false, false, true, true, true, false, false, false, false};
constexpr TColor kPictureFace = 0xCCD2D4;

}  // namespace

TTab::TTab(QWidget* parent, int width, int height, int flags, int ppi)
    : TCustomControl(parent),
      flagWord(flags),
      pixelsPerInch(ppi > 0 ? ppi : 96),
      popup(Widget()),
      clipboard(&SystemTabClipboard())
{
    width = width > 0 ? width : 500;
    height = height > 0 ? height : 200;
    SetBounds(0, 0, width, height);
    SetTabStop(true);
    backBuffer.SetSize(width, height);
    backBuffer.Canvas().Font.Size = 8;
    layout.gap = pixelsPerInch * 15 / 96;
    layout.yHeadWidth = pixelsPerInch * ((flagWord & kTabCheckGrid) ? 45 : 65) / 96;
    hBar.horizontal = true;
    vBar.horizontal = false;
    clipboardFormat = clipboard->RegisterFormat(kSheetFormatName);
    languageSeen = GetLanguageIndex();
    Sync3DViewButtons();
    ready = true;
}

TTab::~TTab()
{
    for (CSheet& sheet : sheets) sheet.Free();
}

void TTab::LoadBitmaps()
{
    const TColor face = ColorToRgb(clBtnFace);
    for (int i = 0; i < kTabBitmapCount; ++i) {
        TBitmap& bitmap = bitmaps[static_cast<std::size_t>(i)];
        if (LoadBitmapResource(bitmap, kTabBitmapNames[static_cast<std::size_t>(i)]) && kRecoloured[i])
            RecolorBitmap(&bitmap, kPictureFace, face);
    }
    dirty |= kDirtyRedraw;
}

std::string TTab::pickText(std::string_view trilingual) const
{
    return std::string(GetLngText(trilingual));
}

void TTab::showError(std::string_view trilingual)
{
    if (hooks.errorBox)
        hooks.errorBox(trilingual);
    else
        MessageBox(GetLngText(trilingual), "Error", MB_OK | MB_ICONERROR);
}

void TTab::logOnce(std::string_view text)
{
    if (std::find(loggedFaults.begin(), loggedFaults.end(), text) != loggedFaults.end()) return;
    loggedFaults.emplace_back(text);
    if (hooks.logFault)
        hooks.logFault(text);
    else
        std::fprintf(stderr, "kelvora: map editor: %.*s\n", static_cast<int>(text.size()), text.data());
}

bool TTab::sheetShowsContent() const
{
    const CSheet* sheet = Current();
    return sheet && sheet->enabled && sheet->contentShown;
}

// ---------------------------------------------------------------- paint and printing

void TTab::Paint()
{
    if (painting) return;
    // Changes made while the editor was on a hidden page were left for now.
    if (buttonsStale && !printing) {
        buttonsStale = false;
        UpdateButtonStates(true);
    }
    if (dirty && !printing) Redraw();
    TCanvas& c = Canvas();
    c.Draw(0, 0, backBuffer);
    if (Focused() && edit.active && edit.blink < 8 && !printing) {
        c.Pen.Style = psSolid;
        c.Pen.Width = edit.caretPenWidth;
        c.Pen.Color = edit.caretColour;
        c.MoveTo(edit.caretRect.left, edit.caretRect.top);
        c.LineTo(edit.caretRect.left, edit.caretRect.top + edit.caretRect.Height());
        c.Pen.Width = 1;
    }
}

void TTab::BeginPrint()
{
    printing = true;
    Redraw();
}

void TTab::EndPrint()
{
    printing = false;
    Redraw();
}

// ---------------------------------------------------------------- message entry

void TTab::DefaultHandler(TMessage& m)
{
    if (m.msg == TMsg::MouseWheel && (m.shift & (ssLeft | ssRight))) {
        m.result = 1;
        return;
    }
    if (g_inHandler) return;
    HandlerGuard guard;
    TCustomControl::DefaultHandler(m);
    dispatchMessage(m);
}

bool TTab::dispatchMessage(TMessage& m)
{
    auto keys = [&] {
        shiftDown = m.shift & ssShift;
        ctrlDown = m.shift & ssCtrl;
    };
    switch (m.msg) {
        case TMsg::FocusIn:
            OnFocusGained();
            break;
        case TMsg::FocusOut:
            OnFocusLost();
            break;
        case TMsg::KeyDown:
            keys();
            m.result = KeyInput(m.key, 0) ? 1 : 0;
            break;
        case TMsg::Char:
            keys();
            m.result = KeyInput(0, m.key) ? 1 : 0;
            break;
        case TMsg::MouseMove:
            TrackPointer(m.x, m.y);
            break;
        case TMsg::LButtonDown:
            keys();
            TrackPointer(m.x, m.y);
            TakeFocus();
            LeftButtonDown();
            break;
        case TMsg::LButtonUp:
            TrackPointer(m.x, m.y);
            LeftButtonUp();
            break;
        case TMsg::LButtonDblClk:
            TrackPointer(m.x, m.y);
            DoubleClick();
            break;
        case TMsg::RButtonDown:
            keys();
            TrackPointer(m.x, m.y);
            TakeFocus();
            RightButtonDown();
            break;
        case TMsg::RButtonUp:
            TrackPointer(m.x, m.y);
            break;
        case TMsg::MouseWheel:
            keys();
            WheelTurn(m.wheelDelta > 0 ? 1 : -1);
            m.result = 1;
            break;
        case TMsg::MouseLeave:
            TrackPointer(0, 0);
            break;
        case TMsg::MButtonDown:
        case TMsg::MButtonUp:
            break;  // the editor has no use for the middle button
        case TMsg::Size:
            // The back buffer follows the control's size; the layout is made for it anew.
            if (m.x != backBuffer.Width() || m.y != backBuffer.Height()) {
                backBuffer.SetSize(std::max(1, m.x), std::max(1, m.y));
                if (current >= 0) BuildSideBar();
                dirty |= kDirtyRedraw | kDirtyRecompute;
                Redraw();
            }
            break;
    }
    return m.result != 0;
}

void TTab::TrackPointer(int x, int y)
{
    if (x == px && y == py) return;
    px = x;
    py = y;
    UpdateHover();
}

void TTab::TakeFocus()
{
    if (!Focused() && CanFocus()) SetFocus();
}

void TTab::OnFocusGained()
{
    dirty |= kDirtyRedraw;
}

void TTab::OnFocusLost()
{
    CommitCellEdit();
    dirty |= kDirtyRedraw;
    SetTabStop(false);
    const CSheet* sheet = Current();
    if (sheet && sheet->sel.count > 0 && requestedView == kViewTable) SetTabStop(true);
}
