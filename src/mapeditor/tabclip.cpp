// Copy, Copy table, Paste and Copy graph of the map editor, and the system clipboard it uses.
#include <algorithm>

#include "mapeditor/cliptext.h"
#include "mapeditor/tab.h"
#include "os/cp1250.h"
#include "os/lngtext.h"
#include "vcl/clipbrd.h"

namespace {

// Larger clipboard texts are no map (a whole 50 x 30 sheet with long labels stays far below).
constexpr std::size_t kClipboardTextMax = 1 << 20;

class SystemClipboard final : public TabClipboard
{
public:
    int RegisterFormat(std::string_view name) override
    {
        return static_cast<int>(TClipboard::RegisterClipboardFormat(name));
    }
    bool PutClipboardText(std::string_view text) override
    {
        TClipboard& clip = Clipboard();
        if (!clip.Open()) return false;
        clip.Clear();
        clip.SetText(text);
        clip.Close();
        return true;
    }
    bool PutClipboardTexts(std::string_view plain, int format, std::string_view sheet) override
    {
        TClipboard& clip = Clipboard();
        if (!clip.Open()) return false;
        clip.Clear();
        clip.SetText(plain);
        clip.SetFormatData(static_cast<unsigned>(format), os::utf8ToCp1250Lossy(sheet));
        clip.Close();
        return true;
    }
    int GetClipboardTexts(std::string& plain, int format, std::string& sheet) override
    {
        TClipboard& clip = Clipboard();
        if (!clip.Open()) return 0;
        clip.Close();
        int got = 0;
        if (auto text = clip.Text(kClipboardTextMax)) {
            plain = std::move(*text);
            got |= kClipPlainText;
        }
        if (auto bytes = clip.FormatData(static_cast<unsigned>(format), kClipboardTextMax)) {
            sheet = os::cp1250ToUtf8(*bytes);
            got |= kClipSheetText;
        }
        return got;
    }
    int ClipboardFormats(int format) override
    {
        TClipboard& clip = Clipboard();
        if (!clip.Open()) return 0;
        clip.Close();
        return (clip.HasFormat(CF_TEXT) ? kClipPlainText : 0) |
               (clip.HasFormat(static_cast<unsigned>(format)) ? kClipSheetText : 0);
    }
    bool PutClipboardPicture(const TBitmap& picture) override
    {
        TClipboard& clip = Clipboard();
        if (!clip.Open()) return false;
        clip.Clear();
        clip.Assign(picture);
        clip.Close();
        return true;
    }
};

}  // namespace

TabClipboard& SystemTabClipboard()
{
    static SystemClipboard clipboard;
    return clipboard;
}

namespace {

ClipTextOptions clipOptions(int flagWord)
{
    ClipTextOptions options;
    options.language = GetLanguageIndex();
    options.checkGrid = flagWord & kTabCheckGrid;
    options.pickText = [](std::string_view text) { return std::string(GetLngText(text)); };
    return options;
}

}  // namespace

void TTab::Copy()
{
    const CSheet* sheet = Current();
    if (!sheet) return;
    if (edit.active) {
        const int a = std::min(edit.markStart, edit.markEnd), b = std::max(edit.markStart, edit.markEnd);
        if (a >= 0 && b > a && b <= static_cast<int>(edit.text.size()))
            clipboard->PutClipboardText(std::string_view(edit.text).substr(a, b - a));
        return;
    }
    const std::string text = selectionText(*sheet, clipOptions(flagWord));
    if (!text.empty()) clipboard->PutClipboardText(text);
}

void TTab::CopyTable()
{
    const CSheet* sheet = Current();
    if (!sheet) return;
    const ClipTextOptions options = clipOptions(flagWord);
    clipboard->PutClipboardTexts(plainTableText(*sheet, options), clipboardFormat, sheetText(*sheet, options));
}

int TTab::PasteAvailability()
{
    const CSheet* sheet = Current();
    if (!sheet) return 0;
    int p = clipboard->ClipboardFormats(clipboardFormat);
    int kind = 0, selected = 0, editable = 0;
    SelectionSummary(kind, selected, editable);
    if (p == kClipPlainText && editable == 0) p = 0;
    if ((p & kClipSheetText) && !sheet->x.editable && !sheet->y.editable && !sheet->data.editable) p = 0;
    return p;
}

void TTab::Paste()
{
    CSheet* sheet = Current();
    if (!sheet || !sheet->isAllocated()) return;
    const int formats = clipboard->ClipboardFormats(clipboardFormat);
    if (formats == 0) return;
    std::string plain, sheetTextIn;
    const int got = clipboard->GetClipboardTexts(plain, clipboardFormat, sheetTextIn);
    const ClipTextOptions options = clipOptions(flagWord);

    if ((formats & kClipSheetText) && (got & kClipSheetText)) {
        NotifyChange(0, kChangeBegin);
        const SheetPasteResult result = pasteSheetText(*sheet, sheetTextIn, options);
        if (result.status == SheetPaste::Pasted) {
            BuildSideBar();
            NotifyChange(result.changed, kChangeEnd);
            dirty |= kDirtyRecompute;
        } else {
            NotifyChange(0, kChangeEnd);
            if (result.status == SheetPaste::DimensionsRefused) showError(kTableDimensionsText);
        }
        return;
    }
    if (!(got & kClipPlainText)) return;
    if (edit.active) {
        const std::string clean = cleanTextForEdit(plain);
        const int a = std::min(edit.markStart, edit.markEnd), b = std::max(edit.markStart, edit.markEnd);
        if (a >= 0 && b > a && b <= static_cast<int>(edit.text.size())) {
            edit.text.erase(static_cast<std::size_t>(a), static_cast<std::size_t>(b - a));
            edit.caret = a;
        }
        edit.markStart = edit.markEnd = -1;
        const std::size_t room = kEditCharsMax - std::min<std::size_t>(kEditCharsMax, edit.text.size());
        edit.caret = std::clamp(edit.caret, 0, static_cast<int>(edit.text.size()));
        edit.text.insert(static_cast<std::size_t>(edit.caret), clean.substr(0, room));
        edit.caret += static_cast<int>(std::min(room, clean.size()));
        LayoutCellEdit();
        dirty |= kDirtyRedraw;
        return;
    }
    int column = -2, row = -2;
    if (!GetFocusCell(column, row)) return;
    NotifyChange(0, kChangeBegin);
    const TextPasteResult result = pasteText(*sheet, plain, column, row, options);
    NotifyChange(result.changed, kChangeEnd);
    sheet->sel.UpdateBounds();
    sheet->sel.Commit(fullHits);
    dirty |= kDirtyRecompute;
}

void TTab::CopyGraph()
{
    const TColor colour = Color();
    SetColor(clWhite);
    dirty |= kDirtyRedraw;
    Redraw();
    const int width = backBuffer.Width(), height = backBuffer.Height();
    const int left = (drawnViews & kView3D) ? graph.scaleSpace : graph.left;
    const TBitmap picture = backBuffer.CopyInclusive(left, graph.top, width - graph.right, height - graph.bottom);
    if (!picture.Empty()) clipboard->PutClipboardPicture(picture);
    SetColor(colour);
    dirty |= kDirtyRedraw;
    Redraw();
}
