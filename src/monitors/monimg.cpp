#include "monitors/monimg.h"

#include <algorithm>
#include <cstdio>

#include "monitors/builtinsets.h"
#include "monitors/cidlist.h"
#include "monitors/extmon.h"
#include "monitors/indicator.h"
#include "monitors/indiprop.h"
#include "os/cp1250.h"
#include "os/files.h"
#include "os/lngtext.h"
#include "vcl/formlayout.h"
#include "vcl/menus.h"

namespace {

constexpr TColor kImageColor = clBtnFace;
constexpr const char* kSetFilter = "###Quorvane external monitor|*.qem####Quorvane - externí monitor|*.qem";
constexpr const char* kCancel = "###Cancel####Zpět";
constexpr const char* kOk = "###OK####Nastav";

// A text as a monitor-set file can keep it: characters without a Windows-1250 form become '?', as they would
// in the file, so that what the monitor shows is what is stored.
std::string storableText(std::string_view text)
{
    return os::cp1250ToUtf8(os::utf8ToCp1250Lossy(text));
}

// A small dialog built at run time: a table of controls and the two buttons.
struct SmallDialog
{
    TForm form;
    explicit SmallDialog(const char* caption, int width, int height, std::span<const ControlRow> rows)
    {
        form.SetCaption(GetLngText(caption));
        form.SetClientSize(width - kFrameWidth, height - kFrameHeight);
        (void)BuildFormLayout(form, nullptr, rows);
        for (const ControlRow& row : rows) {
            if (row.kind == ControlKind::Label || row.kind == ControlKind::CheckBox)
                static_cast<TControl*>(form.FindComponent(row.name))->SetCaption(GetLngText(row.caption));
        }
        auto* cancel = FindControl<TButton>(form, "ButtonCancel");
        auto* ok = FindControl<TButton>(form, "ButtonOK");
        cancel->SetCaption(GetLngText(kCancel));
        cancel->SetModalResult(mrCancel);
        cancel->SetCancel(true);
        ok->SetCaption(GetLngText(kOk));
        ok->SetDefault(true);
    }
};

constexpr ControlRow kTextDialog[] = {
    {"EditText", ControlKind::Edit, "", 20, 20, 260, 20},
    {"ButtonCancel", ControlKind::Button, "", 20, 60, 80, 20},
    {"ButtonOK", ControlKind::Button, "", 120, 60, 80, 20},
};
constexpr ControlRow kLabelDialog[] = {
    {"LabelPath", ControlKind::Label, "", 20, 20, 460, 20, "###Label of parameter:####Popiska parametru:"},
    {"CheckBoxUnits", ControlKind::CheckBox, "", 20, 40, 460, 20, "###Use units####Použít jednotky"},
    {"ButtonCancel", ControlKind::Button, "", 20, 70, 80, 20},
    {"ButtonOK", ControlKind::Button, "", 120, 70, 80, 20},
};
constexpr ControlRow kValueDialog[] = {
    {"LabelPath", ControlKind::Label, "", 20, 20, 460, 20, "###Value of parameter:####Hodnota parametru:"},
    {"ButtonCancel", ControlKind::Button, "", 20, 60, 80, 20},
    {"ButtonOK", ControlKind::Button, "", 120, 60, 80, 20},
};

std::string pathText(const char* lead, int id)
{
    std::string text(GetLngText(lead));
    text += ' ';
    GetDefPath(text, id, true);
    return text;
}

std::string upper(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

}  // namespace

TMonImg::TMonImg(QWidget* parent) : TCustomControl(parent)
{
    place = std::make_unique<CMyGroup>();
    bar = std::make_unique<CMyGroup>();
    bar->sizeGrip = 1;
    auto newPin = std::make_unique<CMyPin>();
    newPin->mode = kButtToggle;
    pin = bar->Insert(std::move(newPin));
    auto edit = std::make_unique<CMyButt>();
    edit->mode = kButtToggle;
    edit->caption = "###Edit##Edieren##Úpravy";
    editButton = bar->Insert(std::move(edit));
    auto status = std::make_unique<CMyButt>();
    status->AlignV = -1;
    status->TextColor = clSilver;
    status->caption = "###Read only##nur Lese##Úpravy uzamčeny";
    statusButton = bar->Insert(std::move(status));
    m_picture.SetSize(1, 1);
    // The sets were laid out for a narrow face; the condensed face keeps their labels beside their values.
    m_picture.Canvas().Font.Stretch = 87;
}

TMonImg::~TMonImg() = default;

void TMonImg::UpdateModifiers()
{
    const unsigned state = vcl::KeyboardShiftState();
    shiftDown = (state & ssShift) ? 1 : 0;
    ctrlDown = (state & ssCtrl) ? 1 : 0;
}

void TMonImg::ReservePicture(int width, int height)
{
    if (m_picture.Width() >= width && m_picture.Height() >= height) return;
    m_picture.SetSize(std::max(width, m_picture.Width()), std::max(height, m_picture.Height()));
    place->SetCanvas(&m_picture.Canvas());
    bar->SetCanvas(&m_picture.Canvas());
}

void TMonImg::RepaintAll()
{
    ReservePicture(Width(), Height());
    TCanvas& c = m_picture.Canvas();
    c.Pen.Style = psSolid;
    c.Brush.Style = bsSolid;
    c.Pen.Color = kImageColor;
    c.Brush.Color = kImageColor;
    c.Rectangle(0, 0, m_picture.Width(), m_picture.Height());
    if (!place->canvas) place->SetCanvas(&c);
    if (!bar->canvas) bar->SetCanvas(&c);
    place->Paint();
    bar->Paint();
    Invalidate();
}

bool TMonImg::PaintDirty()
{
    bool any = false;
    for (const CMyGroup* g : {place.get(), bar.get()}) {
        any = any || g->dirty != 0;
        for (int i = 0; i < g->Count(); ++i) any = any || g->Item(i)->dirty != 0;
    }
    place->PaintDirty();
    bar->PaintDirty();
    if (any) Invalidate();
    return any;
}

void TMonImg::Layout()
{
    const int w = Width(), h = Height();
    place->Left = 0;
    place->Top = 0;
    place->Width = w;
    place->Height = h - kBarHeight;
    place->SetColor(kImageColor);
    if (mode == kModeEdit) {
        place->origWidth = place->Width;
        place->origHeight = place->Height;
    } else if (mode == kModeReadOnly) {
        if (place->origWidth <= 0) place->origWidth = place->Width;
        if (place->origHeight <= 0) place->origHeight = place->Height;
        const float scale = place->origWidth > 0 ? static_cast<float>(place->Width) / place->origWidth : 1.0f;
        place->SetScale(std::max(0.1f, scale));
    }
    bar->Left = 0;
    bar->Top = h - 15;
    bar->Width = w;
    bar->Height = kBarHeight;
    bar->SetColor(kImageColor);
    const auto setButton = [&](CMyComponent* b, int left, int width) {
        b->Left = left;
        b->Width = width;
        b->Top = bar->Top;
        b->Height = kBarHeight;
    };
    setButton(pin, 0, 13);
    setButton(editButton, 14, 40);
    setButton(statusButton, 55, w - 56);
    RepaintAll();
}

void TMonImg::ShowStatus()
{
    if (!place->hover) {
        if (Cursor() != crDefault) SetCursor(crDefault);
        return;
    }
    if (Cursor() != place->wantedCursor) SetCursor(static_cast<TCursor>(place->wantedCursor));
    if (mode != kModeEdit) return;
    TCanvas& c = m_picture.Canvas();
    const int w = Width(), h = Height();
    c.Pen.Style = psClear;
    c.Brush.Style = bsSolid;
    c.Brush.Color = kImageColor;
    c.FillRect({w - 120, h - 14, w - 15, h});
    c.Pen.Style = psSolid;
    if (const CMyComponent* f = place->focused) {
        char text[64];
        std::snprintf(text, sizeof text, "%3i,%3i %3ix%3i", f->Left, f->Top, f->Width, f->Height);
        c.Font.Color = clBlack;
        c.TextOut(w - 120, h - 14, text);
    }
    Invalidate();
}

void TMonImg::MouseMove(int x, int y)
{
    pointerInside = x >= 0 && x <= Width() && y >= 0 && y <= Height();
    if (x == mouseX && y == mouseY) return;
    mouseX = x;
    mouseY = y;
    for (CMyGroup* g : {place.get(), bar.get()}) {
        g->shiftDown = shiftDown;
        g->ctrlDown = ctrlDown;
        g->pointerX = x;
        g->pointerY = y;
        if (pointerInside && g->Contains(x, y)) {
            g->hover = 1;
        } else if (g->hover) {
            g->hover = 0;
            g->PointerLeave();
        }
        g->PointerMove();
    }
    ShowStatus();
}

void TMonImg::MouseDown(bool left, int x, int y)
{
    MouseMove(x, y);
    for (CMyGroup* g : {place.get(), bar.get()}) {
        g->shiftDown = shiftDown;
        g->ctrlDown = ctrlDown;
    }
    if (left) {
        leftDown = 1;
        if (skipNextPress) {
            skipNextPress = 0;
            return;
        }
        for (CMyGroup* g : {place.get(), bar.get()}) {
            if (!g->hover || (g == place.get() && mode != kModeEdit)) continue;
            g->clickKind = kClickLeft;
            g->Press();
        }
        ShowStatus();
        return;
    }
    insertX = x;
    insertY = y;
    for (CMyGroup* g : {place.get(), bar.get()}) {
        if (!g->hover || (g == place.get() && mode != kModeEdit)) continue;
        g->clickKind = kClickRight;
        g->Press();
    }
    ShowStatus();
    BuildContextMenu();
    if (contextMenu) {
        const TPoint screen = ClientToScreen({x, y});
        contextMenu->Popup(screen.x, screen.y);
    }
}

void TMonImg::MouseUp(bool left, int x, int y)
{
    MouseMove(x, y);
    if (!left) return;
    for (CMyGroup* g : {place.get(), bar.get()}) {
        g->shiftDown = shiftDown;
        g->ctrlDown = ctrlDown;
        if (g->hover || leftDown) g->Release();
    }
    leftDown = 0;
    ShowStatus();
}

void TMonImg::DoubleClick()
{
    for (CMyGroup* g : {place.get(), bar.get()}) {
        g->shiftDown = shiftDown;
        g->ctrlDown = ctrlDown;
        if (g->hover) g->DblClick();
    }
    ShowStatus();
    if (place->focused) EditProperties();
    skipNextPress = 1;
}

void TMonImg::WheelTurned(int delta)
{
    for (CMyGroup* g : {place.get(), bar.get()}) {
        g->shiftDown = shiftDown;
        g->ctrlDown = ctrlDown;
        if (g->hover) g->Wheel(delta);
    }
}

void TMonImg::KeyPressed(int vk)
{
    if (vk == VK_INSERT) AddWatch();
    if (vk == VK_DELETE) DeleteSelected();
    for (CMyGroup* g : {place.get(), bar.get()}) {
        g->shiftDown = shiftDown;
        g->ctrlDown = ctrlDown;
        g->Key(vk);
    }
    if (mode == kModeEdit) ShowStatus();
}

void TMonImg::DefaultHandler(TMessage& m)
{
    switch (m.msg) {
        case TMsg::MouseMove:
            MouseMove(m.x, m.y);
            break;
        case TMsg::LButtonDown:
            MouseDown(true, m.x, m.y);
            break;
        case TMsg::RButtonDown:
            MouseDown(false, m.x, m.y);
            break;
        case TMsg::LButtonUp:
            MouseUp(true, m.x, m.y);
            break;
        case TMsg::RButtonUp:
            MouseUp(false, m.x, m.y);
            break;
        case TMsg::LButtonDblClk:
            // The window system sends no press for the second click of a pair; its place is taken by this one,
            // which the double click swallows.
            DoubleClick();
            MouseDown(true, m.x, m.y);
            break;
        case TMsg::MouseLeave:
            MouseMove(-1, -1);
            break;
        case TMsg::MouseWheel:
            if (form) form->OnMouseWheel(m.wheelDelta);
            break;
        case TMsg::KeyDown:
            UpdateModifiers();
            KeyPressed(m.key);
            if (m.key == VK_TAB || m.key == VK_INSERT || m.key == VK_DELETE || (m.key >= VK_LEFT && m.key <= VK_DOWN))
                m.result = 1;
            break;
        default:
            break;
    }
}

void TMonImg::Paint()
{
    Canvas().Draw(0, 0, m_picture);
}

void TMonImg::BuildContextMenu()
{
    if (!contextMenu) return;
    TMenuItem& items = contextMenu->Items();
    items.Clear();
    const auto add = [&](const char* name, const char* caption, std::function<void()> action) {
        TMenuItem* item = items.Add(name, GetLngText(caption));
        item->OnClick = [action = std::move(action)](TObject*) { action(); };
    };
    add("MenuStoreSource", "***Store source***", [this] { ExportSource(); });
    add("MenuOnTop", pin->Down ? "###Normal window####Normální okno" : "###Always on the top####Vždy nahoře", [this] {
        pin->latched = !pin->latched;
        pin->Down = pin->latched;
        pin->MarkDirty(kDirtySelf);
    });
    add("MenuEditMode", editButton->Down ? "###End edit mode####Konec úprav" : "###Enter edit mode####Mód úprav",
        [this] {
            editButton->latched = !editButton->latched;
            editButton->Down = editButton->latched;
            editButton->MarkDirty(kDirtySelf);
        });
    if (!editButton->Down) return;
    items.AddSeparator();
    add("MenuLoadSet", "###Load monitor set####Načti nastavení monitoru", [this] { LoadSetDialog(); });
    add("MenuStoreSet", "###Store monitor set####Ulož nastavení monitoru", [this] { StoreSet(); });
    items.AddSeparator();
    add("MenuInsertText", "###Insert text####Vlož text", [this] { InsertText(); });
    add("MenuAddImage", "###Add image####Vlož obrázek", [this] { AddImage(); });
    add("MenuAddWatch", "###Add watch####Vlož sledování", [this] { AddWatch(); });
    const CMyComponent* focused = place->focused;
    if (!focused) return;
    items.AddSeparator();
    add("MenuDelete", "###Delete####Smaž", [this] { DeleteSelected(); });
    add("MenuBackwards", "###Backwards####Na pozadí", [this] { SendBackwards(); });
    if (focused->kind != kKindPicture)
        add("MenuProperties", "###Properties####Vlastnosti", [this] { EditProperties(); });
}

void TMonImg::MoveInside(CMyComponent& w)
{
    if (w.Left + w.Width > place->Width) w.Left = place->Width - w.Width;
    if (w.Top + w.Height > place->Height) w.Top = place->Height - w.Height;
    w.Left = std::max(0, w.Left);
    w.Top = std::max(0, w.Top);
}

void TMonImg::InsertText()
{
    SmallDialog dialog("###Insert text####Vlož text", 300, 120, kTextDialog);
    FindControl<TButton>(dialog.form, "ButtonOK")->SetModalResult(mrYes);
    if (dialog.form.ShowModal() != mrYes) return;
    auto text = std::make_unique<CMyText>();
    text->SetStr(storableText(FindControl<TEdit>(dialog.form, "EditText")->Text()));
    text->Left = insertX;
    text->Top = insertY;
    text->Height = 35;
    CMyText* raw = place->Insert(std::move(text));
    raw->FitWidth();
    MoveInside(*raw);
    place->MarkDirty(kDirtyAll);
}

void TMonImg::AddImage()
{
    if (mode != kModeEdit) return;
    // The desktop's file names keep their case, so both cases are offered.
    openDialog.Filter = "Image files|*.JPG;*.JPEG;*.BMP;*.jpg;*.jpeg;*.bmp";
    openDialog.DefaultExt.clear();
    if (!openDialog.Execute()) return;
    const std::string& file = openDialog.FileName;
    const std::size_t dot = file.rfind('.');
    const std::string extension = dot == std::string::npos ? std::string() : upper(file.substr(dot + 1));
    if (extension != "BMP" && extension != "JPG" && extension != "JPEG") return;
    auto bitmap = std::make_unique<TBitmap>();
    if (!bitmap->LoadFromFile(file)) return;
    auto picture = std::make_unique<CMyImage>();
    picture->Left = insertX;
    picture->Top = insertY;
    picture->Width = bitmap->Width();
    picture->Height = bitmap->Height();
    picture->picture = std::move(bitmap);
    MoveInside(*picture);
    picture->Width = std::min(picture->Width, place->Width - picture->Left);
    picture->Height = std::min(picture->Height, place->Height - picture->Top);
    place->SelectNone();
    CMyImage* raw = place->Insert(std::move(picture));
    place->Focus(raw);
    place->MarkDirty(kDirtyAll);
}

void TMonImg::DeleteSelected()
{
    if (place->selectedCount == 0) return;
    std::vector<CMyComponent*> doomed;
    for (int i = 0; i < place->Count(); ++i)
        if (place->Item(i)->selected) doomed.push_back(place->Item(i));
    for (CMyComponent* w : doomed) place->Remove(w);
    place->MarkDirty(kDirtyAll);
}

void TMonImg::SendBackwards()
{
    for (int i = 0; i < place->Count(); ++i) {
        CMyComponent* w = place->Item(i);
        if (!w->selected) continue;
        place->SendToBack(w);
        w->selected = 0;
    }
    place->CountSelected();
    place->MarkDirty(kDirtyAll);
}

void TMonImg::EditProperties()
{
    CMyComponent* w = place->focused;
    if (!w) return;
    switch (w->kind) {
        case kKindText: {
            auto& text = static_cast<CMyText&>(*w);
            SmallDialog dialog("###Edit text####Uprav text", 300, 120, kTextDialog);
            FindControl<TButton>(dialog.form, "ButtonOK")->SetModalResult(mrYes);
            FindControl<TEdit>(dialog.form, "EditText")->SetText(text.Str());
            if (dialog.form.ShowModal() != mrYes) return;
            text.SetStr(storableText(FindControl<TEdit>(dialog.form, "EditText")->Text()));
            text.FitWidth();
            text.ow = text.Width;
            text.oh = text.Height;
            MoveInside(text);
            place->MarkDirty(kDirtyAll);
            return;
        }
        case kKindLabel: {
            auto& label = static_cast<CMyLabel&>(*w);
            SmallDialog dialog("###Properties####Vlastnosti", 500, 130, kLabelDialog);
            FindControl<TButton>(dialog.form, "ButtonOK")->SetModalResult(mrOk);
            FindControl<TLabel>(dialog.form, "LabelPath")
                ->SetCaption(pathText("###Label of parameter:####Popiska parametru:", label.id));
            auto* units = FindControl<TCheckBox>(dialog.form, "CheckBoxUnits");
            const bool hasUnits = GetDef(label.id)->units != nullptr;
            units->SetVisible(hasUnits);
            units->SetChecked(label.units == 1);
            if (dialog.form.ShowModal() != mrOk || !hasUnits) return;
            label.units = units->Checked() ? 1 : 0;
            label.FitWidth();
            place->MarkDirty(kDirtyAll);
            return;
        }
        case kKindValue: {
            SmallDialog dialog("###Properties####Vlastnosti", 500, 120, kValueDialog);
            FindControl<TButton>(dialog.form, "ButtonOK")->SetModalResult(mrOk);
            FindControl<TLabel>(dialog.form, "LabelPath")
                ->SetCaption(pathText("###Value of parameter:####Hodnota parametru:", w->id));
            (void)dialog.form.ShowModal();
            return;
        }
        case kKindIndicator:
            if (EditIndicatorProperties(static_cast<CMyIndicator&>(*w))) place->MarkDirty(kDirtyAll);
            return;
        default:
            return;
    }
}

void TMonImg::AddWatch()
{
    TFormCIDList* picker = form ? form->watchPicker : nullptr;
    if (!picker || !picker->tree) return;
    picker->SetClientSize(600 - kFrameWidth, 400 - kFrameHeight);
    CID& root = picker->tree->root;
    root.ClearRunMarks();
    if (root.children.empty()) return;
    root.RefreshNames();
    place->SelectNone();

    // Every node takes part, collapsed ones too: marks set or cleared on a closed group must still count.
    const auto walk = [](auto& self, CID& node, int depth, const auto& visit) -> void {
        for (const auto& child : node.children) {
            visit(*child, depth);
            self(self, *child, depth + 1, visit);
        }
    };
    walk(walk, root, 0, [&](CID& node, int) {
        node.marks = {};
        for (int i = 0; i < place->Count(); ++i) {
            const CMyComponent& w = *place->Item(i);
            if (w.id != node.id) continue;
            if (w.kind == kKindLabel) node.marks[kColLabel] = kMarkSet;
            if (w.kind == kKindValue) node.marks[kColValue] = kMarkSet;
            if (w.kind == kKindIndicator) node.marks[kColIndicator] = kMarkSet;
        }
        node.initial = node.marks;
    });
    picker->tree->repaint = 1;
    if (picker->ShowModal() == mrYes) {
        int rowOffset = 0;
        int blockWidth = 0;
        walk(walk, root, 0, [&](CID& node, int depth) {
            const bool leaf = node.children.empty();
            bool added[4] = {}, removed[4] = {};
            for (int c = kColLabel; c <= kColIndicator; ++c) {
                if (c != kColLabel && !leaf) continue;
                const int now = node.marks[static_cast<std::size_t>(c)];
                if (now == node.initial[static_cast<std::size_t>(c)]) continue;
                if (now == kMarkSet) added[c] = true;
                if (now == kMarkClear) removed[c] = true;
            }
            for (int c = kColLabel; c <= kColIndicator; ++c) {
                if (!removed[c]) continue;
                const int kind = c == kColLabel ? kKindLabel : c == kColValue ? kKindValue : kKindIndicator;
                std::vector<CMyComponent*> doomed;
                for (int i = 0; i < place->Count(); ++i)
                    if (place->Item(i)->id == node.id && place->Item(i)->kind == kind) doomed.push_back(place->Item(i));
                for (CMyComponent* w : doomed) place->Remove(w);
                place->MarkDirty(kDirtyAll);
            }
            if (!(added[kColLabel] || added[kColValue] || added[kColIndicator])) return;
            if (rowOffset + 20 >= place->Height) return;
            const int rowLeft = insertX + 10 * depth, rowTop = insertY + rowOffset;
            int labelWidth = 0, valueWidth = 0, width = 0;
            if (added[kColLabel]) {
                auto label = std::make_unique<CMyLabel>();
                label->id = node.id;
                label->s = GetDef(node.id);
                label->Left = rowLeft;
                label->Top = rowTop;
                label->Height = 35;
                label->AlignV = -1;
                CMyLabel* raw = place->Insert(std::move(label));
                raw->FitWidth();
                raw->selected = 1;
                labelWidth = raw->Width;
                width = std::max(width, 10 * depth + labelWidth);
            }
            if (added[kColValue]) {
                auto value = std::make_unique<CMyValue>();
                value->id = node.id;
                value->s = GetDef(node.id);
                value->Left = rowLeft + labelWidth + 10;
                value->Top = rowTop;
                value->Height = 35;
                CMyValue* raw = place->Insert(std::move(value));
                raw->FitWidth();
                raw->selected = 1;
                valueWidth = raw->Width;
                width = std::max(width, 10 * depth + labelWidth + valueWidth + 10);
            }
            if (added[kColIndicator]) {
                auto indicator = std::make_unique<CMyIndicator>();
                indicator->id = node.id;
                indicator->s = GetDef(node.id);
                indicator->Left = rowLeft + labelWidth + valueWidth + 20;
                indicator->Top = rowTop + 4;
                indicator->Width = 80;
                indicator->Height = 32;
                if (indicator->s->displayKind != kMonShowNumber) {
                    // A yes/no variable has no scale: its indicator frames its label and value instead.
                    CMyComponent* label = nullptr;
                    CMyComponent* value = nullptr;
                    for (int i = 0; i < place->Count(); ++i) {
                        CMyComponent* w = place->Item(i);
                        if (w->id != node.id) continue;
                        if (!label && w->kind == kKindLabel) label = w;
                        if (!value && w->kind == kKindValue) value = w;
                    }
                    if (label || value) {
                        int left = 1 << 30, top = 1 << 30, right = -(1 << 30), bottom = -(1 << 30);
                        for (CMyComponent* w : {label, value}) {
                            if (!w) continue;
                            place->BringToFront(w);
                            left = std::min(left, w->Left);
                            top = std::min(top, w->Top);
                            right = std::max(right, w->Left + w->Width);
                            bottom = std::max(bottom, w->Top + w->Height);
                        }
                        indicator->Left = left - 10;
                        indicator->Top = top;
                        indicator->Width = right - left + 20;
                        indicator->Height = bottom - top;
                    }
                }
                CMyIndicator* raw = place->Insert(std::move(indicator));
                raw->selected = 1;
                width = std::max(width, 10 * depth + labelWidth + valueWidth + raw->Width + 20);
            }
            blockWidth = std::max(blockWidth, width);
            rowOffset += 35;
            place->MarkDirty(kDirtyAll);
        });
        // The new block is moved into the layout as a whole.
        int dx = 0, dy = 0;
        if (insertX + blockWidth > place->Width) dx = place->Width - insertX - blockWidth;
        if (insertY + rowOffset > place->Height) dy = place->Height - insertY - rowOffset;
        if (insertX + dx < 0) dx = -insertX;
        if (insertY + dy < 0) dy = -insertY;
        for (int i = 0; i < place->Count(); ++i)
            if (place->Item(i)->selected) {
                place->Item(i)->Left += dx;
                place->Item(i)->Top += dy;
            }
    }
    CMyComponent* last = nullptr;
    for (int i = 0; i < place->Count(); ++i)
        if (place->Item(i)->selected) last = place->Item(i);
    place->CountSelected();
    place->focused = last;
    place->MarkDirty(kDirtyAll);
}

MonSetPlace TMonImg::CurrentPlace() const
{
    MonSetPlace p;
    if (form) {
        p.left = form->Left();
        p.top = form->Top();
        p.outerWidth = form->OuterWidth();
        p.outerHeight = form->OuterHeight();
    }
    p.designWidth = place->origWidth;
    p.designHeight = place->origHeight;
    return p;
}

int TMonImg::WriteSet(const std::filesystem::path& file)
{
    const os::FileResult written = os::atomicWriteFile(file, SerializeMonitorSet(CurrentPlace(), *place));
    if (!written.ok) {
        if (form && form->logError) form->logError(written.error);
        return kSetOpenFailed;
    }
    return kSetOk;
}

int TMonImg::ReadSet(const std::filesystem::path& file)
{
    std::string why;
    const auto bytes = os::readWholeFile(file, std::size_t(64) << 20, &why);
    if (!bytes) return kSetOpenFailed;
    ParsedSet parsed = ParseMonitorSet(std::span(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()));
    if (parsed.result != kSetOk) {
        if (form && form->logError) form->logError("Monitor set " + file.string() + " not loaded: " + parsed.detail);
        return parsed.result;
    }
    if (form) {
        form->SetOuterBounds(parsed.place.left, parsed.place.top, parsed.place.outerWidth, parsed.place.outerHeight);
        place->origWidth = form->Width();
        place->origHeight = form->Height() - kBarHeight;
    }
    if (parsed.place.designWidth != 0) place->origWidth = parsed.place.designWidth;
    if (parsed.place.designHeight != 0) place->origHeight = parsed.place.designHeight;
    if (form) form->OnResizeForm(form);
    place->FreeAll();
    for (auto& w : parsed.widgets) place->Insert(std::move(w));
    place->SetColor(kImageColor);
    place->MarkDirty(kDirtyAll);
    return kSetOk;
}

bool TMonImg::LoadBuiltInSet(int set)
{
    const auto where = BuiltInSetPlace(set);
    if (!where) return false;
    if (form) form->SetOuterBounds(where->left, where->top, where->outerWidth, where->outerHeight);
    if (set != 1000) {
        place->origWidth = form ? form->Width() : Width();
        place->origHeight = (form ? form->Height() : Height()) - kBarHeight;
    }
    place->FreeAll();
    for (auto& w : BuiltInSetWidgets(set, &emblem)) place->Insert(std::move(w));
    place->MarkDirty(kDirtyAll);
    return true;
}

void TMonImg::StoreSet()
{
    saveDialog.Filter = std::string(GetLngText(kSetFilter));
    saveDialog.DefaultExt = "qem";
    if (!saveDialog.Execute()) return;
    if (WriteSet(saveDialog.FileName) != kSetOk)
        MessageBox(GetLngText("###Open file error...####Chyba při otevírání soboru..."),
                   GetLngText("###Error####Chyba"), MB_OK | MB_ICONERROR);
}

void TMonImg::LoadSetDialog()
{
    openDialog.Filter = std::string(GetLngText(kSetFilter));
    openDialog.DefaultExt = "qem";
    lastReadResult = -1;
    if (!openDialog.Execute()) return;
    lastReadResult = ReadSet(openDialog.FileName);
    if (lastReadResult == kSetOk) return;
    static constexpr const char* kTexts[] = {
        "###Unspecific error...####Nespecifikovaná chyba...",
        "###Open file error...####Chyba při otevírání soboru...",
        "###Invalid format or version of file...####Neplatný formát nebo verze souboru...",
        "###Invalid string storage...####Chybné uložení řetězce...",
        "###Invalid picture storage...####Chybné uložení obrázku...",
    };
    const int index = lastReadResult >= kSetOpenFailed && lastReadResult <= kSetBadPicture ? lastReadResult : 0;
    MessageBox(GetLngText(kTexts[index]), GetLngText("###Error####Chyba"), MB_OK | MB_ICONERROR);
}

void TMonImg::ExportSource()
{
    saveDialog.Filter = "C++ file|*.cpp";
    saveDialog.DefaultExt = "cpp";
    if (!saveDialog.Execute()) return;
    // Like the set itself the text keeps the Windows-1250 code page; a file that cannot be written is passed over.
    (void)os::atomicWriteFile(saveDialog.FileName, ExportSetSource(CurrentPlace(), *place));
}
