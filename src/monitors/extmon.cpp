#include "monitors/extmon.h"

#include <algorithm>

#include "monitors/cidlist.h"
#include "os/lngtext.h"

namespace {

constexpr const char* kCaptionOffline =
    "###External monitor   (!!! No connection with PC !!!)##External monitor   (!!! Keine Verbindung zum PC !!!)"
    "##External monitor   (!!! Není spojení s PC !!!)";
constexpr const char* kCaptionOnline =
    "###External monitor   (Connected)##External monitor   (Verbindung)##Externí monitor   (Spojeno)";

}  // namespace

TFormEM::TFormEM()
{
    SetClientSize(453, 312);
    SetCaption(GetLngText(kCaptionOffline));
    PopupMenu1 = Own(std::make_unique<TPopupMenu>(Widget()), "PopupMenu1");
    TimerMonitor = Own(std::make_unique<TTimer>(*this), "TimerMonitor");
    TimerMonitor->SetInterval(100);
    TimerMonitor->OnTimer = [this](TObject* s) { OnTimer(s); };
    // A hidden monitor has nothing to show: its timer rests until the window comes up, so that a program without
    // the monitor open is not woken ten times a second for it.
    OnShow = [this](TObject*) { TimerMonitor->SetEnabled(true); };
    OnResize = [this](TObject* s) { OnResizeForm(s); };
    OnCanResize = [this](TObject*, int& w, int& h, bool& allow) { CanResize(w, h, allow); };
    OnFormCreate(this);
}

TFormEM::~TFormEM()
{
    // The picture's handlers reach into the window; no event may arrive while the window goes.
    DestroyWindow();
}

void TFormEM::OnFormCreate(TObject*)
{
    stayOnTop = 0;
    SetStayOnTop(false);
    image = Make<TMonImg>(nullptr, "Image");
    image->form = this;
    minClientWidth = 200;
    minClientHeight = 35;
    maxClientWidth = std::max(1280, Width());
    maxClientHeight = std::max(1024, Height());
    image->SetBounds(0, 0, maxClientWidth, maxClientHeight);
    image->ReservePicture(maxClientWidth, maxClientHeight);
    image->RepaintAll();
    image->SetBounds(0, 0, Width(), Height());
    image->Layout();
    image->contextMenu = PopupMenu1;
    lastFreeWidth = Width();
    lastFreeHeight = Height();
}

void TFormEM::SetOuterBounds(int left, int top, int outerWidth, int outerHeight)
{
    SetLeft(left);
    SetTop(top);
    SetWidth(std::max(1, outerWidth - kFrameWidth));
    SetHeight(std::max(1, outerHeight - kFrameHeight));
    // A hidden window hears of its new size only when it is shown; the picture follows at once.
    OnResizeForm(this);
}

void TFormEM::OnResizeForm(TObject*)
{
    if (!image) return;
    image->SetBounds(0, 0, Width(), Height());
    image->Layout();
}

void TFormEM::OnMouseWheel(int delta)
{
    // At most one wheel step per timer period: a fast wheel would otherwise flood the widgets.
    if (wheelBusy || !image) return;
    wheelBusy = 1;
    image->WheelTurned(delta);
}

void TFormEM::OnTimer(TObject*)
{
    if (!image) return;
    wheelBusy = 0;
    if ((vcl::KeyboardShiftState() & ssLeft) == 0) {
        lastFreeWidth = Width();
        lastFreeHeight = Height();
    }
    image->UpdateModifiers();
    if (image->pin->Down && stayOnTop == 0) {
        SetStayOnTop(true);
        stayOnTop = 1;
    } else if (!image->pin->Down && stayOnTop == 1) {
        SetStayOnTop(false);
        stayOnTop = 0;
    }
    if (image->editButton->Down && image->mode == kModeReadOnly)
        SetEditMode(true);
    else if (!image->editButton->Down && image->mode != kModeReadOnly)
        SetEditMode(false);
    image->PaintDirty();
    // The caption follows the link and the language; it is compared rather than remembered, so that whoever else
    // retitles the window is corrected at the next tick.
    const bool live = hasLiveData && hasLiveData();
    const std::string_view wanted = GetLngText(live ? kCaptionOnline : kCaptionOffline);
    if (Caption() != wanted) SetCaption(wanted);
    if (!Visible()) TimerMonitor->SetEnabled(false);
}

void TFormEM::SetEditMode(bool on)
{
    if (!image) return;
    CMyGroup& place = *image->place;
    if (on) {
        image->editButton->TextColor = clRed;
        image->statusButton->caption = "";
        image->editButton->Down = 1;
        image->editButton->latched = 1;
        image->mode = kModeResizing;
        SetWidth(place.origWidth > 0 ? place.origWidth : Width());
        SetHeight((place.origHeight > 0 ? place.origHeight : Height() - kBarHeight) + kBarHeight);
        OnResizeForm(this);
        image->mode = kModeEdit;
        place.edit = 1;
        place.Focus(nullptr);
        place.SetScale(1.0f);
    } else {
        image->editButton->TextColor = clBlack;
        image->statusButton->caption = "###Read only##nur Lese##Úpravy uzamčeny";
        image->editButton->Down = 0;
        image->editButton->latched = 0;
        image->mode = kModeReadOnly;
        place.edit = 0;
        place.SelectNone();
        place.Focus(nullptr);
    }
    image->bar->MarkDirty(kDirtyAll);
    place.MarkDirty(kDirtyAll);
}

void TFormEM::CanResize(int& width, int& height, bool& allow)
{
    if (!image) return;
    ResizeState state;
    state.mode = image->mode;
    state.minWidth = minClientWidth;
    state.minHeight = minClientHeight;
    state.maxWidth = maxClientWidth;
    state.maxHeight = maxClientHeight;
    const CMyGroup& place = *image->place;
    for (int i = 0; i < place.Count(); ++i) {
        state.extentWidth = std::max(state.extentWidth, place.Item(i)->Left + place.Item(i)->Width);
        state.extentHeight = std::max(state.extentHeight, place.Item(i)->Top + place.Item(i)->Height);
    }
    // The picture still has the size the window had before this proposal.
    state.clientWidth = image->Width();
    state.clientHeight = image->Height();
    state.lastFreeWidth = lastFreeWidth;
    state.lastFreeHeight = lastFreeHeight;
    state.designWidth = place.origWidth;
    state.designHeight = place.origHeight;
    allow = ExternalMonitorResize(state, width, height);
}

bool ExternalMonitorResize(const ResizeState& s, int& width, int& height)
{
    if (s.mode == kModeResizing) return true;
    int minW = s.minWidth, minH = s.minHeight;
    if (s.mode == kModeEdit) {
        minW = std::max(minW, s.extentWidth);
        minH = std::max(minH, s.extentHeight + kBarHeight);
    }
    const bool sameWidth = width == s.clientWidth || width == s.lastFreeWidth;
    const bool sameHeight = height == s.clientHeight || height == s.lastFreeHeight;
    if (sameWidth && sameHeight) return false;
    if (s.mode == kModeReadOnly) {
        if (s.designWidth <= 0 || s.designHeight <= 0) return true;
        int w = std::max(1, width), h = std::max(1, height - kBarHeight);
        // A drag of the bottom edge changes only the height: then the height leads and the width follows.
        const bool heightLeads = width == s.clientWidth && height != s.clientHeight;
        if (heightLeads) {
            h = std::max(std::min(h, s.maxHeight - kBarHeight), minH - kBarHeight);
            w = static_cast<int>(static_cast<float>(s.designWidth) * (static_cast<float>(h) / s.designHeight));
            w = std::max(std::min(w, s.maxWidth), minW);
        } else {
            w = std::max(std::min(w, s.maxWidth), minW);
            h = static_cast<int>(static_cast<float>(s.designHeight) * (static_cast<float>(w) / s.designWidth));
            h = std::max(std::min(h, s.maxHeight - kBarHeight), minH - kBarHeight);
        }
        width = w;
        height = h + kBarHeight;
        return true;
    }
    const bool inside = width >= minW && width <= s.maxWidth && height >= minH && height <= s.maxHeight;
    if (inside) return true;
    const bool widthPresses = width < minW || width > s.maxWidth;
    const bool heightPresses = height < minH || height > s.maxHeight;
    if ((widthPresses && height == s.clientHeight) || (heightPresses && width == s.clientWidth)) return false;
    width = std::max(std::min(width, s.maxWidth), minW);
    height = std::max(std::min(height, s.maxHeight), minH);
    return true;
}

void FitRectToMonitor(TRect& r, const std::vector<TRect>& monitors)
{
    long long best = 1000000000;
    const TRect* winner = nullptr;
    for (const TRect& m : monitors) {
        const long long out = std::max(0, m.left - r.left) + std::max(0, r.right - m.right) +
                              std::max(0, m.top - r.top) + std::max(0, r.bottom - m.bottom);
        if (out < best) {
            best = out;
            winner = &m;
        }
    }
    if (!winner || best == 0) return;
    const TRect& m = *winner;
    if (r.Width() > m.Width()) {
        r.left = m.left;
        r.right = m.right;
    }
    if (r.Height() > m.Height()) {
        r.top = m.top;
        r.bottom = m.bottom;
    }
    const auto shiftX = [&](int d) {
        r.left += d;
        r.right += d;
    };
    const auto shiftY = [&](int d) {
        r.top += d;
        r.bottom += d;
    };
    if (r.right > m.right) shiftX(m.right - r.right);
    if (r.bottom > m.bottom) shiftY(m.bottom - r.bottom);
    if (r.left < m.left) shiftX(m.left - r.left);
    if (r.top < m.top) shiftY(m.top - r.top);
    r.right = std::min(r.right, m.right);
    r.bottom = std::min(r.bottom, m.bottom);
}

void FitFormToMonitor(TForm& form)
{
    TRect r{form.Left(), form.Top(), form.Left() + form.Width(), form.Top() + form.Height()};
    FitRectToMonitor(r, vcl::ScreenMonitors());
    form.SetBounds(r.left, r.top, r.Width(), r.Height());
}

namespace {

// The window's outer rectangle onto a monitor, applied, shown, and applied again (showing may move it).
void fitAndShow(TFormEM& form)
{
    TRect r{form.Left(), form.Top(), form.Left() + form.OuterWidth(), form.Top() + form.OuterHeight()};
    FitRectToMonitor(r, vcl::ScreenMonitors());
    form.SetOuterBounds(r.left, r.top, r.Width(), r.Height());
    form.Show();
    form.SetOuterBounds(r.left, r.top, r.Width(), r.Height());
}

}  // namespace

void ShowExternalMonitor(TFormEM& form, int set)
{
    TMonImg& image = *form.image;
    (void)LoadBitmapResource(image.emblem, "LOGO_QUORVANE160x80");
    if (set < 0) {
        const int remembered = image.mode;
        image.mode = kModeLoading;
        if (!image.LoadBuiltInSet(-set)) {
            image.mode = remembered;
            return;
        }
        form.monitorSetLoaded = 1;
        fitAndShow(form);
        form.SetEditMode(set == -1000);
        form.Show();
        image.Layout();
        return;
    }
    if (set == 0) {
        // monitor.ini is read once per run. One that exists but cannot be read is left as it is: the program
        // settings then do not overwrite it until the user chooses a set.
        if (form.monitorSetLoaded == 0 && !form.monitorIniTried) {
            form.monitorIniTried = true;
            image.mode = kModeLoading;
            const int result = image.ReadSet(form.monitorIni);
            if (result == kSetOk || result == kSetOpenFailed) {
                form.monitorSetLoaded = 1;
                if (form.enableStoreItem) form.enableStoreItem();
            }
            form.SetEditMode(false);
        }
        fitAndShow(form);
        return;
    }
    if (set == 1) {
        const int remembered = image.mode;
        image.mode = kModeLoading;
        image.LoadSetDialog();
        if (image.lastReadResult != kSetOk) {
            image.mode = remembered;
            return;
        }
        form.monitorSetLoaded = 1;
        if (form.enableStoreItem) form.enableStoreItem();
        fitAndShow(form);
        form.SetEditMode(false);
        form.Show();
    }
}

void MarkMonitorValuesChanged(TFormEM* form)
{
    if (!form || !form->image) return;
    SetMonitorValuesArrived();
    form->image->place->MarkDirty(kDirtyAll);
}
