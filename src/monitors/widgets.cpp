#include "monitors/widgets.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "os/lngtext.h"
#include "vcl/customcontrol.h"

namespace {

constexpr int kHandleSize = 5;

bool within(int v, int low, int high)
{
    return v >= low && v <= high;
}

int toInt(double v)
{
    return static_cast<int>(v);
}

}  // namespace

TColor BlendColor(TColor a, TColor b)
{
    const TColor x = ColorToRgb(a), y = ColorToRgb(b);
    TColor out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const TColor channel = (((x >> shift) & 0xFF) + 3 * ((y >> shift) & 0xFF)) / 4;
        out |= channel << shift;
    }
    return out;
}

// ---------------------------------------------------------------- CMyComponent

CMyComponent::CMyComponent() : s(GetDef(0)) {}

void CMyComponent::Paint()
{
    if (!canvas) return;
    TCanvas& c = *canvas;
    c.Pen.Style = psSolid;
    c.Pen.Width = 1;
    c.Brush.Style = bsSolid;
    c.Pen.Color = Color;
    c.Brush.Color = Color;
    c.Rectangle(Scaled(Left), Scaled(Top), Scaled(Left + Width), Scaled(Top + Height));
    c.Pen.Color = Down ? dkframe : ltframe;
    c.MoveTo(Scaled(Left), Scaled(Top));
    c.LineTo(Scaled(Left + Width - 1), Scaled(Top));
    c.MoveTo(Scaled(Left), Scaled(Top));
    c.LineTo(Scaled(Left), Scaled(Top + Height - 1));
    c.Pen.Color = Down ? ltframe : dkframe;
    c.MoveTo(Scaled(Left), Scaled(Top + Height));
    c.LineTo(Scaled(Left + Width), Scaled(Top + Height));
    c.MoveTo(Scaled(Left + Width), Scaled(Top));
    c.LineTo(Scaled(Left + Width), Scaled(Top + Height));
}

bool CMyComponent::IsFocused() const
{
    return !parent || (parent->focused == this && parent->IsFocused());
}

void CMyComponent::MarkDirty(int bits)
{
    if (!parent) {
        dirty |= kDirtyAll;
        return;
    }
    dirty |= bits;
    parent->dirty |= bits;
}

// ---------------------------------------------------------------- CMyGroup

CMyGroup::CMyGroup() = default;

CMyGroup::~CMyGroup()
{
    FreeAll();
}

int CMyGroup::IndexOf(const CMyComponent* widget) const
{
    for (std::size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].get() == widget) return static_cast<int>(i);
    return -1;
}

CMyComponent* CMyGroup::Insert(std::unique_ptr<CMyComponent> widget)
{
    CMyComponent* raw = widget.get();
    raw->parent = this;
    raw->SetCanvas(canvas);
    raw->selected = 0;
    m_items.push_back(std::move(widget));
    return raw;
}

void CMyGroup::Remove(CMyComponent* widget)
{
    const int i = IndexOf(widget);
    if (i < 0) return;
    if (focused == widget) focused = nullptr;
    widget->parent = nullptr;
    m_items.erase(m_items.begin() + i);
    CountSelected();
}

void CMyGroup::FreeAll()
{
    focused = nullptr;
    m_items.clear();
    selectedCount = 0;
}

void CMyGroup::BringToFront(CMyComponent* widget)
{
    const int i = IndexOf(widget);
    if (i < 0 || i == Count() - 1) return;
    auto owned = std::move(m_items[static_cast<std::size_t>(i)]);
    m_items.erase(m_items.begin() + i);
    m_items.push_back(std::move(owned));
}

void CMyGroup::SendToBack(CMyComponent* widget)
{
    const int i = IndexOf(widget);
    if (i <= 0) return;
    auto owned = std::move(m_items[static_cast<std::size_t>(i)]);
    m_items.erase(m_items.begin() + i);
    m_items.insert(m_items.begin(), std::move(owned));
}

void CMyGroup::Focus(CMyComponent* widget)
{
    if (widget == focused) return;
    if (focused) focused->FocusLost();
    focused = widget;
    if (!widget) return;
    if (edit) widget->selected = 1;
    CountSelected();
    BringToFront(widget);
    // An indicator must never cover its own label and value.
    if (widget->kind == kKindIndicator) {
        for (int k : {kKindLabel, kKindValue}) {
            std::vector<CMyComponent*> raise;
            for (const auto& item : m_items)
                if (item->kind == k && item->id == widget->id && item.get() != widget) raise.push_back(item.get());
            for (CMyComponent* w : raise) BringToFront(w);
        }
    }
    widget->FocusGained();
}

void CMyGroup::SelectNone()
{
    for (const auto& item : m_items) item->selected = 0;
    selectedCount = 0;
}

void CMyGroup::CountSelected()
{
    selectedCount =
        static_cast<int>(std::count_if(m_items.begin(), m_items.end(), [](const auto& w) { return w->selected != 0; }));
}

void CMyGroup::HandModifiers(CMyComponent& widget) const
{
    widget.shiftDown = shiftDown;
    widget.ctrlDown = ctrlDown;
}

void CMyGroup::StartResize(CMyComponent& w)
{
    w.startTop = w.Top;
    w.startLeft = w.Left;
    w.startWidth = w.Width;
    w.startHeight = w.Height;
    if (w.ow == 0 || w.oh == 0) {
        w.ow = std::max(1, w.Width);
        w.oh = std::max(1, w.Height);
    }
}

void CMyGroup::ResizeByHandle(CMyComponent& w, int handleNumber, int dx, int dy)
{
    static constexpr std::array<std::array<int, 2>, 9> kSigns{
        {{0, 0}, {0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}}};
    if (handleNumber < 1 || handleNumber > 8) return;
    int dw = kSigns[static_cast<std::size_t>(handleNumber)][0] * dx;
    int dh = kSigns[static_cast<std::size_t>(handleNumber)][1] * dy;
    const int sw = w.startWidth, sh = w.startHeight;
    if (sw + dw < w.minw) dw = w.minw - sw;
    if (sw + dw > w.maxw) dw = w.maxw - sw;
    if (sh + dh < w.minh) dh = w.minh - sh;
    if (sh + dh > w.maxh) dh = w.maxh - sh;
    const bool movesLeft = handleNumber >= 6;
    const bool movesRight = handleNumber >= 2 && handleNumber <= 4;
    const bool movesTop = handleNumber == 1 || handleNumber == 2 || handleNumber == 8;
    const bool movesBottom = handleNumber >= 4 && handleNumber <= 6;
    if (movesLeft && w.startLeft - dw < Left) dw = w.startLeft - Left;
    if (movesRight && w.startLeft + sw + dw > Left + Width) dw = Left + Width - w.startLeft - sw;
    if (movesTop && w.startTop - dh < Top) dh = w.startTop - Top;
    if (movesBottom && w.startTop + sh + dh > Top + Height) dh = Top + Height - w.startTop - sh;
    if (w.nprable == 0) {
        const double ow = std::max(1, w.ow), oh = std::max(1, w.oh);
        const double rw = (sw + dw) / ow, rh = (sh + dh) / oh;
        if (rw > rh)
            dw = toInt(rh * ow - sw);
        else if (rh > rw)
            dh = toInt(rw * oh - sh);
        if (sw + dw < w.minw) {
            dw = w.minw - sw;
            dh = toInt(oh * (sw + dw) / ow - sh);
        }
        if (sh + dh < w.minh) {
            dh = w.minh - sh;
            dw = toInt(ow * (sh + dh) / oh - sw);
        }
    }
    dw += sw - w.Width;
    dh += sh - w.Height;
    w.AdjustResize(dw, dh);
    if (dw == 0 && dh == 0) return;
    if (movesLeft) w.Left -= dw;
    if (movesTop) w.Top -= dh;
    w.Width += dw;
    w.Height += dh;
    MarkDirty(kDirtySelf);
}

void CMyGroup::ClampSelectionStep(int& dx, int& dy) const
{
    for (const auto& c : m_items) {
        if (!c->selected) continue;
        if (c->Left + dx < Left) dx = Left - c->Left;
        if (c->Top + dy < Top) dy = Top - c->Top;
        if (c->Left + c->Width + dx > Left + Width) dx = Left + Width - c->Left - c->Width;
        if (c->Top + c->Height + dy > Top + Height) dy = Top + Height - c->Top - c->Height;
    }
}

void CMyGroup::MoveSelection(int dx, int dy)
{
    for (const auto& c : m_items)
        if (c->selected) {
            c->Left += dx;
            c->Top += dy;
        }
}

void CMyGroup::PaintSizeGrip()
{
    if (!canvas) return;
    TCanvas& c = *canvas;
    c.Pen.Style = psSolid;
    c.Pen.Width = 1;
    for (int i = 1; i <= 12; ++i) {
        c.Pen.Color = i % 4 == 0 ? Color : i % 4 == 3 ? clWhite : clSilver;
        c.MoveTo(Scaled(Left + Width - 2), Scaled(Top + Height - i - 3));
        c.LineTo(Scaled(Left + Width - i - 3), Scaled(Top + Height - 2));
    }
}

void CMyGroup::Paint()
{
    if (!canvas) return;
    CMyComponent::Paint();
    for (const auto& item : m_items) {
        item->Paint();
        item->dirty = 0;
    }
    dirty = 0;
    TCanvas& c = *canvas;
    if (rubberBand) {
        c.Brush.Style = bsClear;
        c.Pen.Color = clBlack;
        c.Pen.Width = 1;
        c.Pen.Style = psDash;
        c.Rectangle(bandX1, bandY1, bandX2, bandY2);
        c.Pen.Style = psSolid;
        c.Brush.Style = bsSolid;
        c.Brush.Color = Color;
    }
    if (sizeGrip) PaintSizeGrip();
}

void CMyGroup::PaintDirty()
{
    if (!canvas) {
        dirty = 0;
        return;
    }
    if (dirty & kDirtyAll) {
        Paint();
        return;
    }
    if (dirty) {
        // Texts and marks are drawn without a background of their own, so a widget repainted alone gets the group's
        // face behind it first, and whatever else lies over that place is drawn again above it, in order.
        std::vector<TRect> areas;
        for (const auto& item : m_items)
            if (item->dirty)
                areas.push_back({item->Scaled(item->Left), item->Scaled(item->Top),
                                 item->Scaled(item->Left + item->Width) + 1,
                                 item->Scaled(item->Top + item->Height) + 1});
        TCanvas& c = *canvas;
        for (const TRect& area : areas) {
            c.SetClipRect(area);
            c.Pen.Style = psClear;
            c.Brush.Style = bsSolid;
            c.Brush.Color = Color;
            c.FillRect(area);
            c.Pen.Style = psSolid;
            for (const auto& item : m_items) {
                const TRect r{item->Scaled(item->Left), item->Scaled(item->Top),
                              item->Scaled(item->Left + item->Width) + 1, item->Scaled(item->Top + item->Height) + 1};
                if (r.left < area.right && area.left < r.right && r.top < area.bottom && area.top < r.bottom)
                    item->Paint();
            }
            c.ResetClip();
        }
        for (const auto& item : m_items) item->dirty = 0;
        if (!areas.empty() && sizeGrip) PaintSizeGrip();
    }
    dirty = 0;
}

void CMyGroup::Press()
{
    if (clickKind == kClickLeft && edit && focused && focused->hover && focused->handle != 0 && selectedCount == 1) {
        focused->activeHandle = focused->handle;
        focused->grabX = pointerX;
        focused->grabY = pointerY;
        StartResize(*focused);
        return;
    }
    if (clickKind == kClickLeft && edit) {
        for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) {
            CMyComponent& c = **it;
            if (c.hover && c.selected) {
                c.moving = 1;
                c.grabX = pointerX - c.Left;
                c.grabY = pointerY - c.Top;
                return;
            }
        }
    }
    CMyComponent* hit = nullptr;
    for (auto it = m_items.rbegin(); it != m_items.rend(); ++it)
        if ((*it)->hover && (*it)->focusable) {
            hit = it->get();
            break;
        }
    bool wasSelected = false;
    if (hit) {
        wasSelected = hit->selected != 0;
        if (edit) hit->selected = 1;
        Focus(hit);
    }
    if (!ctrlDown && !wasSelected)
        for (const auto& c : m_items)
            if (c->selected && c.get() != focused) {
                c->selected = 0;
                c->MarkDirty(kDirtySelf);
            }
    CountSelected();
    if (hit && focused) {
        HandModifiers(*focused);
        if (clickKind == kClickLeft) {
            focused->Press();
            if (edit) {
                focused->moving = 1;
                focused->grabX = pointerX - focused->Left;
                focused->grabY = pointerY - focused->Top;
            }
            PointerMove();
        }
        if (clickKind == kClickRight) dirty |= kDirtyAll;
        return;
    }
    Focus(nullptr);
    if (clickKind == kClickRight) dirty |= kDirtyAll;
    if (clickKind == kClickLeft && edit) {
        if (!ctrlDown) SelectNone();
        rubberBand = 1;
        bandX1 = bandX2 = pointerX;
        bandY1 = bandY2 = pointerY;
        PointerMove();
    }
}

void CMyGroup::Release()
{
    if (edit) {
        for (const auto& c : m_items)
            if (c->activeHandle) {
                c->activeHandle = 0;
                MarkDirty(kDirtySelf);
                PointerMove();
                return;
            }
        bool wasMoving = false;
        for (const auto& c : m_items)
            if (c->moving) {
                c->moving = 0;
                wasMoving = true;
            }
        if (wasMoving) {
            MarkDirty(kDirtySelf);
            PointerMove();
            return;
        }
        if (rubberBand) {
            rubberBand = 0;
            if (bandX1 > bandX2) std::swap(bandX1, bandX2);
            if (bandY1 > bandY2) std::swap(bandY1, bandY2);
            CMyComponent* last = nullptr;
            for (const auto& c : m_items) {
                if (c->Left >= bandX1 && c->Left + c->Width <= bandX2 && c->Top >= bandY1 &&
                    c->Top + c->Height <= bandY2)
                    c->selected = 1;
                if (c->selected) last = c.get();
            }
            if (!focused && last) Focus(last);
            CountSelected();
            MarkDirty(kDirtySelf);
            PointerMove();
            return;
        }
    }
    if (focused) {
        HandModifiers(*focused);
        focused->Release();
    }
}

void CMyGroup::PointerMove()
{
    if (edit) {
        for (const auto& c : m_items)
            if (c->activeHandle) {
                ResizeByHandle(*c, c->activeHandle, pointerX - c->grabX, pointerY - c->grabY);
                return;
            }
        for (const auto& c : m_items)
            if (c->moving) {
                int dx = pointerX - c->Left - c->grabX;
                int dy = pointerY - c->Top - c->grabY;
                ClampSelectionStep(dx, dy);
                if (dx != 0 || dy != 0) {
                    MoveSelection(dx, dy);
                    MarkDirty(kDirtySelf);
                }
                wantedCursor = kCursorSizeAll;
                return;
            }
        if (rubberBand) {
            bandX2 = std::clamp(pointerX, Left, Left + Width);
            bandY2 = std::clamp(pointerY, Top, Top + Height);
            MarkDirty(kDirtySelf);
            wantedCursor = kCursorCross;
            return;
        }
    }
    for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) {
        CMyComponent& c = **it;
        HandModifiers(c);
        if (!c.Contains(pointerX, pointerY)) {
            if (c.hover) {
                c.hover = 0;
                c.PointerLeave();
            }
            if (&c == focused) {
                c.pointerX = pointerX;
                c.pointerY = pointerY;
                c.PointerMove();
            }
        } else {
            c.hover = 1;
            c.pointerX = pointerX;
            c.pointerY = pointerY;
            c.PointerMove();
        }
    }
    if (edit) {
        static constexpr std::array<int, 9> kHandleCursor{kCursorSizeAll,  kCursorSizeNS,   kCursorSizeNESW,
                                                          kCursorSizeWE,   kCursorSizeNWSE, kCursorSizeNS,
                                                          kCursorSizeNESW, kCursorSizeWE,   kCursorSizeNWSE};
        wantedCursor = kCursorDefault;
        for (const auto& c : m_items)
            if (c->hover && c->selected)
                wantedCursor = c->handle == 0 || selectedCount != 1
                                   ? kCursorSizeAll
                                   : kHandleCursor[static_cast<std::size_t>(std::clamp(c->handle, 0, 8))];
    }
}

void CMyGroup::PointerLeave()
{
    for (const auto& c : m_items)
        if (c->hover) {
            HandModifiers(*c);
            c->PointerLeave();
            c->hover = 0;
        }
}

void CMyGroup::Wheel(int delta)
{
    if (!focused) return;
    HandModifiers(*focused);
    focused->Wheel(delta);
}

void CMyGroup::DblClick()
{
    if (!focused) return;
    HandModifiers(*focused);
    focused->DblClick();
}

void CMyGroup::Key(int vk)
{
    if (vk == VK_TAB) {
        for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) {
            CMyComponent* c = it->get();
            if (!c->focusable || c == focused) continue;
            if (edit && focused) focused->selected = 0;
            Focus(c);
            if (edit) c->selected = 1;
            CountSelected();
            break;
        }
        MarkDirty(kDirtySelf);
        return;
    }
    if (edit && vk >= VK_LEFT && vk <= VK_DOWN) {
        const int dx = vk == VK_LEFT ? -1 : vk == VK_RIGHT ? 1 : 0;
        const int dy = vk == VK_UP ? -1 : vk == VK_DOWN ? 1 : 0;
        if (!shiftDown) {
            int mx = dx, my = dy;
            ClampSelectionStep(mx, my);
            if (mx == 0 && my == 0) return;
            MoveSelection(mx, my);
            MarkDirty(kDirtySelf);
            return;
        }
        if (!focused) return;
        StartResize(*focused);
        int dw = dx, dh = dy;
        if (focused->nprable == 0) {
            if (dw != 0)
                dh = dw;
            else
                dw = dh;
        }
        ResizeByHandle(*focused, 4, dw, dh);
        return;
    }
    if (focused) {
        HandModifiers(*focused);
        focused->Key(vk);
    }
}

void CMyGroup::SetCanvas(TCanvas* c)
{
    canvas = c;
    for (const auto& item : m_items) item->canvas = c;
}

void CMyGroup::SetColor(TColor c)
{
    Color = c;
    for (const auto& item : m_items) item->SetColor(c);
}

void CMyGroup::SetScale(float f)
{
    for (const auto& item : m_items) item->SetScale(f);
}

// ---------------------------------------------------------------- CMyButt, CMyPin

CMyButt::CMyButt()
{
    focusable = 1;
}

void CMyButt::Press()
{
    if (!hover || mode == kButtPassive) return;
    Down = mode == kButtPush ? 1 : !latched;
    MarkDirty(kDirtySelf);
}

void CMyButt::Release()
{
    if (!hover || mode == kButtPassive) return;
    if (mode == kButtPush)
        Down = 0;
    else
        latched = Down;
    MarkDirty(kDirtySelf);
}

void CMyButt::PointerLeave()
{
    if (mode != kButtToggle) return;
    Down = latched;
    MarkDirty(kDirtySelf);
}

void CMyButt::Paint()
{
    if (!canvas) return;
    CMyComponent::Paint();
    TCanvas& c = *canvas;
    c.Font.Color = TextColor;
    const std::string text(GetLngText(caption ? caption : s->name));
    const int tw = c.TextWidth(text), th = c.TextHeight(text);
    int x = AlignV == 0 ? Left + (Width - tw) / 2 : AlignV < 0 ? Left + 3 : Left + Width - tw - 2;
    const int y = AlignH == 0 ? Top + (Height - th) / 2 : AlignH < 0 ? Top : Top + Height - th;
    if (Down) ++x;
    c.Brush.Style = bsClear;
    c.TextOut(toInt(x * scale), toInt(y * scale), text);
    c.Brush.Style = bsSolid;
}

void CMyPin::Paint()
{
    if (!canvas) return;
    CMyComponent::Paint();
    TCanvas& c = *canvas;
    const int ox = Left + (Down ? 1 : 0), oy = Top;
    const auto line = [&](int x0, int y0, int x1, int y1) {
        c.MoveTo(ox + x0, oy + y0);
        c.LineTo(ox + x1, oy + y1);
    };
    c.Pen.Color = clBlack;
    line(3, 8, 10, 8);
    line(5, 2, 7, 2);
    line(4, 2, 4, 8);
    line(7, 2, 7, 8);
    line(8, 2, 8, 8);
    line(6, 8, 6, 13);
    if (latched) {
        c.Pen.Color = clRed;
        line(5, 3, 5, 8);
        line(6, 3, 6, 8);
    }
}

// ---------------------------------------------------------------- CMyObj

CMyObj::CMyObj()
{
    focusable = 1;
    moving = 0;
}

void CMyObj::PointerMove()
{
    handle = 0;
    if (!IsFocused() || rszable != 1) return;
    const int x = pointerX, y = pointerY, k = kHandleSize;
    if (nprable == 1) {
        const bool midX = within(x, Left + (Width - k) / 2, Left + (Width + k) / 2);
        const bool midY = within(y, Top + (Height - k) / 2, Top + (Height + k) / 2);
        if (midX && within(y, Top, Top + k)) handle = 1;
        if (midX && within(y, Top + Height - k, Top + Height)) handle = 5;
        if (within(x, Left, Left + k) && midY) handle = 7;
        if (within(x, Left + Width - k, Left + Width) && midY) handle = 3;
    }
    const bool left = within(x, Left, Left + k), right = within(x, Left + Width - k, Left + Width);
    const bool top = within(y, Top, Top + k), bottom = within(y, Top + Height - k, Top + Height);
    if (left && top) handle = 8;
    if (right && top) handle = 2;
    if (right && bottom) handle = 4;
    if (left && bottom) handle = 6;
}

void CMyObj::PointerLeave()
{
    handle = 0;
}

void CMyObj::FocusGained()
{
    MarkDirty(kDirtySelf);
}

void CMyObj::FocusLost()
{
    MarkDirty(kDirtySelf);
}

void CMyObj::Paint()
{
    if (!canvas || !selected) return;
    TCanvas& c = *canvas;
    c.Brush.Style = bsClear;
    c.Pen.Color = clBlack;
    c.Pen.Width = 1;
    c.Pen.Style = psDot;
    c.Rectangle(Scaled(Left), Scaled(Top), Scaled(Left + Width), Scaled(Top + Height));
    c.Pen.Style = psSolid;
    c.Brush.Style = bsSolid;
    c.Pen.Color = clBlack;
    c.Brush.Color = IsFocused() ? clBlack : Color;
    if (!rszable) return;
    const int k = kHandleSize;
    const auto box = [&](int x, int y) { c.Rectangle(x, y, x + k, y + k); };
    box(Left, Top);
    box(Left + Width - k, Top);
    box(Left + Width - k, Top + Height - k);
    box(Left, Top + Height - k);
    if (nprable) {
        box(Left + (Width - k) / 2, Top);
        box(Left + (Width - k) / 2, Top + Height - k);
        box(Left, Top + (Height - k) / 2);
        box(Left + Width - k, Top + (Height - k) / 2);
    }
}

int FittedFontSize(TCanvas& canvas, int height, float scale)
{
    const int th = std::max(1, canvas.TextHeight("Q"));
    // A tiny height or scale would give 0, which no font takes.
    return std::max(1, toInt(static_cast<double>(canvas.Font.Size * height / th) * scale));
}

void CMyObj::PaintFitted(const std::string& text, TColor colour)
{
    TCanvas& c = *canvas;
    const int saved = c.Font.Size;
    c.Font.Color = colour;
    c.Font.Size = FittedFontSize(c, Height, scale);
    const int tw = c.TextWidth(text), th = c.TextHeight(text);
    const double s = scale;
    double x = AlignV == 0  ? (Width * s - tw) / 2 + Left * s
               : AlignV < 0 ? Left * s + 3
                            : Left * s + Width * s - tw - 2;
    const double y = AlignH == 0 ? (Height * s - th) / 2 + Top * s : AlignH < 0 ? Top * s : Top * s + Height * s - th;
    if (Down) x += 1;
    c.Brush.Style = bsClear;
    c.TextOut(toInt(x), toInt(y), text);
    c.Font.Color = clBlack;
    c.Brush.Style = bsSolid;
    c.Font.Size = saved;
    c.Brush.Color = Color;
    CMyObj::Paint();
}

int CMyObj::FittedWidth(const std::string& text) const
{
    TCanvas& c = *canvas;
    const int saved = c.Font.Size;
    c.Font.Size = FittedFontSize(c, Height, 1.0f);
    const int tw = c.TextWidth(text);
    c.Font.Size = saved;
    return tw;
}

// ---------------------------------------------------------------- value, label, text, picture

namespace {

constexpr const char* kYes = "###YES##JA##ANO";
constexpr const char* kNo = "###NO##NEIN##NE";
constexpr const char* kRunning = "###is running##läuft##pracuje";
constexpr const char* kNoSignal = "###no signal##kein Signal##bez signálu";

std::string kindText(int displayKind, bool nonZero, int language)
{
    if (displayKind == kMonShowYesNo) return std::string(GetLngText(nonZero ? kYes : kNo, language));
    if (displayKind == kMonShowRunning) return std::string(GetLngText(nonZero ? kRunning : kNoSignal, language));
    return " ";
}

TColor objColour(const CMyComponent& w, TColor colour)
{
    return w.s->flags == 0 ? BlendColor(colour, clWhite) : colour;
}

}  // namespace

std::string ValueText(const CLngStr& row, bool valuesArrived)
{
    if (row.displayKind != kMonShowNumber) return kindText(row.displayKind, row.value != 0, LNG_CURRENT);
    if (valuesArrived) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%*.*lf", std::clamp(row.width, 0, 30), std::clamp(row.decimals, 0, 10),
                      row.value);
        return buffer;
    }
    const int n = row.width < 1 ? 4 : row.width;
    std::string text(static_cast<std::size_t>(n), 'x');
    const int d = std::min(row.decimals, n - 1);
    if (d > 0) text[static_cast<std::size_t>(n - d - 1)] = '.';
    return text;
}

std::string LabelText(const CLngStr& row, bool withUnits, int language)
{
    const std::string_view name = GetLngText(row.name, language);
    std::string text(name.empty() ? std::string_view(" ") : name);
    if (withUnits && row.units) text.append(" ").append(row.units);
    return text;
}

CMyValue::CMyValue()
{
    nprable = 0;
    kind = kKindValue;
}

void CMyValue::Paint()
{
    if (!canvas) return;
    const bool arrived = MonitorValuesArrived();
    PaintFitted(ValueText(*s, arrived), objColour(*this, arrived ? TextColor : clRed));
}

void CMyValue::FitWidth()
{
    if (!canvas) return;
    if (s->displayKind == kMonShowNumber) {
        Width = FittedWidth(ValueText(*s, MonitorValuesArrived()));
        return;
    }
    int widest = 0;
    for (int language : {LNG_ENGLISH, LNG_GERMAN, LNG_CZECH})
        for (bool nonZero : {false, true})
            widest = std::max(widest, FittedWidth(kindText(s->displayKind, nonZero, language)));
    Width = widest;
}

CMyLabel::CMyLabel()
{
    nprable = 0;
    minh = 12;
    kind = kKindLabel;
}

void CMyLabel::Paint()
{
    if (!canvas) return;
    PaintFitted(LabelText(*s, units == 1), objColour(*this, TextColor));
}

void CMyLabel::FitWidth()
{
    if (!canvas) return;
    int widest = 0;
    for (int language : {LNG_ENGLISH, LNG_GERMAN, LNG_CZECH})
        widest = std::max(widest, FittedWidth(LabelText(*s, units == 1, language)));
    Width = widest;
}

CMyText::CMyText()
{
    kind = kKindText;
}

void CMyText::SetStr(std::string_view text)
{
    m_text = text.empty() ? std::string(" ") : std::string(text);
}

void CMyText::Paint()
{
    if (!canvas) return;
    PaintFitted(m_text, TextColor);
}

void CMyText::FitWidth()
{
    if (!canvas) return;
    Width = FittedWidth(m_text);
}

CMyImage::CMyImage()
{
    kind = kKindPicture;
}

void CMyImage::Paint()
{
    if (!canvas) return;
    if (picture && !picture->Empty())
        canvas->StretchDraw({Scaled(Left), Scaled(Top), Scaled(Left + Width), Scaled(Top + Height)}, *picture);
    CMyObj::Paint();
}
