#include "shell/status.h"

#include "os/lngtext.h"
#include "shell/mainform.h"
#include "vcl/dialogs.h"

void InitStatusSlots(TMainForm& w)
{
    w.statusSlots[0].control = w.LabelConnection;
    w.statusSlots[1].control = w.LabelResult;
    w.statusSlots[2].control = nullptr;
    w.statusSlots[3].control = w.LabelCongruence;
}

void SetStatusSlot(TMainForm& w, int slot, std::string_view text, int ms, TColor fontColor, TColor backColor,
                   int priority)
{
    if (slot < 1 || slot > kStatusSlots || slot == 3)
        return;
    StatusSlot& s = w.statusSlots[std::size_t(slot - 1)];
    if (!s.control)
        return;
    if (priority >= 0 && priority < s.priority)
        return;
    s.priority = priority;
    if (text.empty()) {
        s.text.clear();
        s.control->SetVisible(false);
        if (slot == 2 && w.CGaugeProgram)
            w.CGaugeProgram->SetVisible(false);
        return;
    }
    s.text = text;
    s.control->SetCaption(GetLngText(s.text));
    if (fontColor != kColorUnchanged)
        s.control->SetFontColor(fontColor);
    if (backColor != kColorUnchanged)
        s.control->SetColor(backColor);
    s.control->SetVisible(true);
    if (ms > 0)
        s.expiryTick = ms / 50 + w.tickCounter;
    else if (ms < 0)
        s.expiryTick = -1;
}

void ExpireStatusSlots(TMainForm& w)
{
    for (int i = 0; i < kStatusSlots; ++i) {
        StatusSlot& s = w.statusSlots[std::size_t(i)];
        if (s.control && s.expiryTick > 0 && s.expiryTick < w.tickCounter) {
            s.expiryTick = 0;
            s.control->SetVisible(false);
            if (i == 1 && w.CGaugeProgram)
                w.CGaugeProgram->SetVisible(false);
        }
    }
}

void ReleaseStatusSlots(TMainForm& w)
{
    for (StatusSlot& s : w.statusSlots)
        s.text.clear();
}

void UpdateCaption(TMainForm& w)
{
    std::string caption = "  Kelvora_12 (v309)       ";
    if (w.fileShown)
        caption += w.currentFileName;
    w.SetCaption(caption);
}

void InitVersionInfo(TMainForm& w)
{
    w.versionLine.clear();
    w.connectionLine.clear();
}

std::string GetVersionText(const TMainForm&)
{
    return "Kelvora_12   RSKEY=309";
}

std::string GetConnectionText(const TMainForm&)
{
    return "not connected";
}

int MsgBox(std::string_view text, std::string_view caption, unsigned type)
{
    return MessageBox(GetLngText(text), GetLngText(caption), type);
}

int MsgBoxError(std::string_view text, unsigned type)
{
    return MessageBox(GetLngText(text), "Error", type | MB_ICONSTOP);
}
