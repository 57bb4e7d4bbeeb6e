#include "monitors/cidlist.h"

#include <algorithm>

#include "monitors/monvars.h"
#include "os/lngtext.h"

namespace {

constexpr int kIndent = 10;
constexpr int kBase = 10;
constexpr TColor kHighlightFocused = 0xFF8888;
constexpr TColor kDarkGray = 0x808080;
// The check pictures are whole 13 x 13 boxes; the tree draws its own box and puts their inside into it.
constexpr TRect kCheckInside{1, 1, 11, 11};

bool within(int v, int low, int high)
{
    return v >= low && v <= high;
}

}  // namespace

// ---------------------------------------------------------------- CID

CID::CID(int variableId) : id(variableId) {}

CID* CID::AddChild(std::unique_ptr<CID> child)
{
    children.push_back(std::move(child));
    return children.back().get();
}

void CID::Set(int column, int value)
{
    if (column < 0 || column > 3) return;
    if (runMark == 0 || column == kColRow)
        for (int c = kColLabel; c <= kColIndicator; ++c) marks[static_cast<std::size_t>(c)] = value;
    marks[static_cast<std::size_t>(column)] = value;
    for (const auto& child : children) child->Set(column, value);
}

void CID::Toggle(int column)
{
    if (column < 0 || column > 3) return;
    int next = marks[static_cast<std::size_t>(column)] + 1;
    if (next > kMarkSet) next = kMarkClear;
    Set(column, next);
    runMark = 1;
}

int CID::Aggregate(int column)
{
    if (column < 0 || column > 3) return kMarkClear;
    if (column == kColLabel || children.empty()) return marks[static_cast<std::size_t>(column)];
    int result = -1;
    for (const auto& child : children) {
        const int state = child->Aggregate(column);
        if (result == -1)
            result = state;
        else if (state == kMarkPartly || state != result)
            result = kMarkPartly;
    }
    marks[static_cast<std::size_t>(column)] = result;
    return result;
}

void CID::ClearRunMarks()
{
    runMark = 0;
    for (const auto& child : children) child->ClearRunMarks();
}

void CID::NumberFrom(int& next, bool all)
{
    for (const auto& child : children) {
        child->row = next++;
        if (all || child->expanded) child->NumberFrom(next, all);
    }
}

void CID::Number(bool all)
{
    int next = 0;
    NumberFrom(next, all);
}

int CID::CountRows(bool all) const
{
    int n = 0;
    for (const auto& child : children) {
        ++n;
        if (!child->children.empty() && (all || child->expanded)) n += child->CountRows(all);
    }
    return n;
}

CID* CID::FindByRow(int number)
{
    for (const auto& child : children) {
        if (child->row == number) return child.get();
        if (child->expanded)
            if (CID* found = child->FindByRow(number)) return found;
    }
    return nullptr;
}

CID* CID::Move(CID* from, int delta)
{
    if (children.empty()) return nullptr;
    const auto first = [&] {
        children.front()->row = 0;
        return children.front().get();
    };
    const auto last = [&] {
        CID* n = children.back().get();
        while (!n->children.empty() && n->expanded) n = n->children.back().get();
        return n;
    };
    if (!from) return delta <= 0 ? first() : last();
    Number(false);
    const int target = from->row + delta;
    if (target < 0) return first();
    if (target >= CountRows(false)) return last();
    CID* found = FindByRow(target);
    return found ? found : from;
}

void CID::RefreshNames()
{
    for (const auto& child : children) {
        child->name = GetDef(child->id)->name;
        child->RefreshNames();
    }
}

CID* CID::FindById(int variableId)
{
    if (id == variableId) return this;
    for (const auto& child : children)
        if (CID* found = child->FindById(variableId)) return found;
    return nullptr;
}

// ---------------------------------------------------------------- TCIDList

TCIDList::TCIDList(QWidget* parent) : TCustomControl(parent), m_bitmap(600, 800)
{
    // Rows of the table join their parent group, found by identifier; the first of two equal identifiers wins.
    const auto& rows = MonitorVariables();
    for (int i = 1; i < kMonVarCount; ++i) {
        const CLngStr& r = rows[static_cast<std::size_t>(i)];
        auto node = std::make_unique<CID>(r.id);
        node->name = r.name;
        CID* parentNode = r.parent != 0 ? root.FindById(r.parent) : nullptr;
        (parentNode && parentNode != &root ? parentNode : &root)->AddChild(std::move(node));
    }
    SetTabStop(true);
}

template <class Visit>
bool TCIDList::Walk(CID& node, int depth, int& y, Visit&& visit)
{
    for (const auto& child : node.children) {
        if (visit(*child, depth, y)) return true;
        y += rowHeight;
        if (child->expanded && Walk(*child, depth + 1, y, visit)) return true;
    }
    return false;
}

void TCIDList::DrawRow(const CID& node, int depth, int y, const std::vector<bool>& laterSiblings)
{
    TCanvas& c = m_bitmap.Canvas();
    const int x = kIndent * depth + kBase;
    const int m = y + rowHeight / 2;
    c.Pen.Style = psSolid;
    c.Brush.Style = bsSolid;
    if (&node == current) {
        const TColor highlight = Focused() ? kHighlightFocused : clSilver;
        c.Pen.Color = highlight;
        c.Brush.Color = highlight;
        c.Rectangle(x, y + 1, highlightRight, y + rowHeight - 1);
    } else {
        c.Brush.Color = clWhite;
    }
    c.Font.Color = GetDef(node.id)->flags == 0 ? clSilver : clBlack;
    c.TextOut(x + 15, y + (rowHeight - c.TextHeight("Q")) / 2, std::string(GetLngText(node.name)));

    c.Pen.Color = kDarkGray;
    c.Pen.Style = psDot;
    for (int level = 0; level < depth; ++level)
        if (laterSiblings[static_cast<std::size_t>(level)]) {
            c.MoveTo(kIndent * level + 15, y);
            c.LineTo(kIndent * level + 15, y + rowHeight);
        }
    c.MoveTo(x + 5, y);
    c.LineTo(x + 5, laterSiblings[static_cast<std::size_t>(depth)] ? y + rowHeight : m);
    c.MoveTo(x + 5, m);
    c.LineTo(x + 13, m);
    c.Pen.Style = psSolid;

    const bool group = !node.children.empty();
    if (group) {
        c.Brush.Color = clWhite;
        c.Pen.Color = kDarkGray;
        c.Rectangle(x, m - 5, x + 11, m + 6);
        c.Pen.Color = clBlack;
        c.MoveTo(x + 2, m);
        c.LineTo(x + 9, m);
        if (!node.expanded) {
            c.MoveTo(x + 5, m - 3);
            c.LineTo(x + 5, m + 4);
        }
    }
    int columnLeft = 0;
    for (int col = kColLabel; col <= kColIndicator; ++col) {
        columnLeft += widths[static_cast<std::size_t>(col - 1)];
        const int cx = kIndent * depth + columnLeft + kBase;
        c.Brush.Color = clWhite;
        c.Pen.Color = clBlack;
        if (!group || col == kColLabel) c.Rectangle(cx - 7, m - 7, cx + 7, m + 7);
        c.Rectangle(cx - 6, m - 6, cx + 6, m + 6);
        const int mark = node.marks[static_cast<std::size_t>(col)];
        if (mark == kMarkSet && !checked.Empty()) c.DrawPart(cx - 5, m - 5, checked, kCheckInside);
        if (mark == kMarkPartly && !partly.Empty()) c.DrawPart(cx - 5, m - 5, partly, kCheckInside);
    }
}

void TCIDList::Redraw()
{
    repaint = 0;
    const int w = Width(), h = Height();
    TCanvas& c = m_bitmap.Canvas();
    c.Pen.Style = psSolid;
    c.Pen.Width = 1;
    c.Brush.Style = bsSolid;
    c.Pen.Color = clWhite;
    c.Brush.Color = clWhite;
    c.Rectangle(0, headerHeight + 1, w, h);

    // Rows, with for each level whether a later sibling follows (the tree line goes on below).
    std::vector<bool> laterSiblings;
    const auto rows = [&](auto& self, CID& node, int depth, int& y) -> void {
        for (std::size_t i = 0; i < node.children.size(); ++i) {
            CID& child = *node.children[i];
            laterSiblings.resize(static_cast<std::size_t>(depth) + 1);
            laterSiblings[static_cast<std::size_t>(depth)] = i + 1 < node.children.size();
            if (y > 0 && y < h) DrawRow(child, depth, y, laterSiblings);
            y += rowHeight;
            if (child.expanded) self(self, child, depth + 1, y);
        }
    };
    int y = firstRowOffset - topRow * rowHeight;
    rows(rows, root, 0, y);

    c.Pen.Color = clBtnFace;
    c.Brush.Color = clBtnFace;
    c.Rectangle(1, 1, w - 2, headerHeight);
    c.Font.Color = clBlack;
    int x = 0;
    for (std::size_t col = 0; col < titles.size(); ++col) {
        const int width = widths[col];
        c.TextOut(x + width / 2 - c.TextWidth(titles[col]) / 2, 4, titles[col]);
        c.Pen.Color = clSilver;
        c.MoveTo(x, 2);
        c.LineTo(x, headerHeight - 1);
        c.Pen.Color = clWhite;
        c.MoveTo(x + 1, 2);
        c.LineTo(x + 1, headerHeight - 1);
        c.Pen.Color = clBtnFace;
        c.MoveTo(x, headerHeight + 1);
        c.LineTo(x, h - 3);
        x += width;
    }

    const auto polyline = [&](TColor colour, std::initializer_list<TPoint> points) {
        c.Pen.Color = colour;
        c.Polyline(std::vector<TPoint>(points));
    };
    polyline(kDarkGray, {{w - 2, 1}, {1, 1}, {1, h - 2}});
    polyline(clBtnFace, {{w - 2, 1}, {w - 2, h - 2}, {1, h - 2}});
    polyline(clSilver, {{w - 1, 0}, {0, 0}, {0, h - 1}});
    polyline(clWhite, {{w - 1, 0}, {w - 1, h - 1}, {0, h - 1}});
    polyline(clWhite, {{1, headerHeight}, {1, 1}, {w - 2, 1}});
    polyline(clSilver, {{1, headerHeight}, {w - 1, headerHeight}});
    Invalidate();
}

void TCIDList::Paint()
{
    Canvas().Draw(0, 0, m_bitmap);
}

void TCIDList::UpdateScrollBar()
{
    if (!scrollBar) return;
    scrollBar->SetMin(0);
    const int n = root.CountRows(false);
    if (n < 1) {
        scrollBar->SetPosition(0);
        scrollBar->SetEnabled(false);
        return;
    }
    const int visible = VisibleRows();
    scrollBar->SetPageSize(0);
    scrollBar->SetMax(n - 1);
    scrollBar->SetPageSize(visible);
    scrollBar->SetPosition(topRow);
    scrollBar->SetSmallChange(1);
    scrollBar->SetLargeChange(visible > 0 ? visible : 1);
    scrollBar->SetEnabled(true);
}

void TCIDList::Click()
{
    int y = firstRowOffset - topRow * rowHeight;
    Walk(root, 0, y, [&](CID& node, int depth, int rowY) {
        const int x = kIndent * depth + kBase;
        const int m = rowY + rowHeight / 2;
        if (within(pointerY, rowY, rowY + rowHeight - 1) && &node != current) {
            current = &node;
            repaint = 1;
            UpdateScrollBar();
        }
        if (!node.children.empty() && within(pointerX, x, x + 11) && within(pointerY, m - 5, m + 6)) {
            node.expanded = !node.expanded;
            repaint = 1;
            UpdateScrollBar();
            return true;
        }
        int columnLeft = 0;
        for (int col = kColLabel; col <= kColIndicator; ++col) {
            columnLeft += widths[static_cast<std::size_t>(col - 1)];
            const int cx = kIndent * depth + columnLeft + kBase;
            if (within(pointerX, cx - 7, cx + 7) && within(pointerY, m - 7, m + 7)) {
                node.Toggle(col);
                for (int c = kColLabel; c <= kColIndicator; ++c) root.Aggregate(c);
                repaint = 1;
                return true;
            }
        }
        return false;
    });
}

void TCIDList::Key(int vk)
{
    const int visible = VisibleRows();
    root.Number(false);
    if (!current) current = root.Move(nullptr, 0);
    if (!current) return;
    repaint = 1;
    switch (vk) {
        case VK_SPACE:
            current->expanded = !current->expanded;
            if (!current->children.empty()) UpdateScrollBar();
            break;
        case VK_PRIOR:
            current = root.Move(current, -visible);
            break;
        case VK_NEXT:
            current = root.Move(current, visible);
            break;
        case VK_END:
            current = root.Move(nullptr, 1);
            break;
        case VK_HOME:
            current = root.Move(nullptr, 0);
            break;
        case VK_LEFT:
        case VK_UP:
            current = root.Move(current, -1);
            break;
        case VK_RIGHT:
        case VK_DOWN:
            current = root.Move(current, 1);
            break;
        case VK_INSERT:
        case VK_DELETE:
            current->Set(kColRow, vk == VK_INSERT ? kMarkClear : kMarkSet);
            current->Toggle(kColRow);
            for (int c = kColLabel; c <= kColIndicator; ++c) root.Aggregate(c);
            break;
        default:
            return;
    }
    root.Number(false);
    if (current->row < topRow) topRow = current->row;
    if (current->row >= topRow + visible) topRow = current->row - visible + 1;
    if (scrollBar) scrollBar->SetPosition(topRow);
}

void TCIDList::DefaultHandler(TMessage& message)
{
    switch (message.msg) {
        case TMsg::MouseMove:
        case TMsg::LButtonUp:
        case TMsg::LButtonDblClk:
            pointerX = message.x;
            pointerY = message.y;
            break;
        case TMsg::LButtonDown:
            pointerX = message.x;
            pointerY = message.y;
            if (!Focused() && CanFocus()) SetFocus();
            Click();
            break;
        case TMsg::MouseWheel: {
            // Scrolling while a button is held would fight a drag.
            if ((message.shift & (ssLeft | ssRight | ssMiddle)) != 0 || !scrollBar) break;
            const int next = scrollBar->Position() + (message.wheelDelta > 0 ? -1 : 1);
            if (next >= 0 && next <= std::max(0, scrollBar->Max() - std::max(0, scrollBar->PageSize() - 1)))
                scrollBar->SetPosition(next);
            break;
        }
        case TMsg::KeyDown:
            switch (message.key) {
                case VK_SPACE:
                case VK_PRIOR:
                case VK_NEXT:
                case VK_END:
                case VK_HOME:
                case VK_LEFT:
                case VK_UP:
                case VK_RIGHT:
                case VK_DOWN:
                case VK_INSERT:
                case VK_DELETE:
                    Key(message.key);
                    message.result = 1;
                    break;
                default:
                    break;
            }
            break;
        case TMsg::FocusIn:
        case TMsg::FocusOut:
            repaint = 1;
            break;
        default:
            break;
    }
}

// ---------------------------------------------------------------- TFormCIDList

TFormCIDList::TFormCIDList()
{
    SetCaption("FormCIDList");
    SetClientSize(426, 216);
    TimerCIDList = Own(std::make_unique<TTimer>(*this), "TimerCIDList");
    TimerCIDList->SetInterval(100);
    TimerCIDList->OnTimer = [this](TObject* s) { OnTimer(s); };
    OnShow = [this](TObject*) { TimerCIDList->SetEnabled(true); };  // the timer rests while the picker is hidden
    OnResize = [this](TObject* s) { OnResizeForm(s); };
    OnCanResize = [this](TObject*, int& w, int& h, bool& allow) { CanResize(w, h, allow); };
    // Arrows belong to the tree when it has the focus, and never move the focus between the buttons.
    OnShortCut = [this](int vk, bool& handled) {
        if (vk < VK_LEFT || vk > VK_DOWN) return;
        if (tree && tree->Focused()) tree->Key(vk);
        handled = true;
    };
    OnFormCreate(this);
}

void TFormCIDList::OnFormCreate(TObject*)
{
    tree = Make<TCIDList>(nullptr, "CIDList");
    tree->SetBounds(10, 10, 300, 150);
    LoadBitmapResource(tree->checked, "BTCHK");
    LoadBitmapResource(tree->partly, "BTCHKSOME");
    ButtonCancel = Make<TButton>(nullptr, "ButtonCancel");
    ButtonCancel->SetBounds(10, 0, 75, 20);
    ButtonCancel->SetCaption("Cancel");
    ButtonCancel->SetModalResult(mrCancel);
    ButtonCancel->SetCancel(true);
    ButtonOK = Make<TButton>(nullptr, "ButtonOK");
    ButtonOK->SetBounds(100, 0, 75, 20);
    ButtonOK->SetCaption("OK");
    ButtonOK->SetModalResult(mrYes);
    ButtonOK->SetDefault(true);
    scrollBar = Make<TScrollBar>(nullptr, "ScrollBarCIDList");
    scrollBar->SetVertical(true);
    tree->scrollBar = scrollBar;
    maxClientWidth = std::max(maxClientWidth, Width());
    maxClientHeight = std::max(maxClientHeight, Height());
    OnResizeForm(this);
}

void TFormCIDList::OnResizeForm(TObject*)
{
    if (!tree) return;
    const int cw = Width(), ch = Height();
    m_shownWidth = cw;
    m_shownHeight = ch;
    tree->SetBounds(10, 10, std::min(600, cw - 40), std::min(800, ch - 58));
    tree->repaint = 1;
    tree->firstRowOffset = tree->headerHeight + 3;
    tree->highlightRight = tree->Width() - 14;
    tree->rowsHeight = tree->Height() - tree->firstRowOffset - 2;
    scrollBar->SetBounds(tree->Left() + tree->Width(), tree->Top() + 1, 18, tree->Height() - 1);
    tree->UpdateScrollBar();
    ButtonCancel->SetBounds(10, ch - 30, 75, 20);
    ButtonOK->SetBounds(100, ch - 30, 75, 20);
}

void TFormCIDList::OnTimer(TObject*)
{
    if (!tree) return;
    if (scrollBar->Position() != tree->topRow) {
        tree->topRow = scrollBar->Position();
        tree->repaint = 1;
        tree->SetFocus();
    }
    if (tree->repaint) tree->Redraw();
    if (!Visible()) TimerCIDList->SetEnabled(false);
}

void TFormCIDList::CanResize(int& nw, int& nh, bool& allow)
{
    const int cw = m_shownWidth, ch = m_shownHeight;
    if (nw >= minClientWidth && nw <= maxClientWidth && nh >= minClientHeight && nh <= maxClientHeight) return;
    const bool refuse = (cw >= maxClientWidth && nw >= maxClientWidth && nh == ch) ||
                        (ch >= maxClientHeight && nh >= maxClientHeight && nw == cw) ||
                        (cw >= maxClientWidth && ch >= maxClientHeight && nw > cw && nh > ch) ||
                        (cw <= minClientWidth && nw <= minClientWidth && nh == ch) ||
                        (ch <= minClientHeight && nh <= minClientHeight && nw == cw) ||
                        (cw <= minClientWidth && ch <= minClientHeight && nw < cw && nh < ch);
    if (refuse) {
        allow = false;
        return;
    }
    nw = std::clamp(nw, minClientWidth, maxClientWidth);
    nh = std::clamp(nh, minClientHeight, maxClientHeight);
}
