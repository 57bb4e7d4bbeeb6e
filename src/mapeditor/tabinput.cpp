// Input and tick of the map editor: the hover pass with its hint and cursor, the mouse buttons, the wheel, the keys
// and the periodic work of the main timer's tick.
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "mapeditor/tab.h"
#include "os/lngtext.h"

namespace {

constexpr std::string_view kInterpolationHint = "###Interpolation####Interpolace";
constexpr std::string_view kViewSwitchHint = "###2D Graph / Table view####2D Graf / Tabulkové zobrazení";
constexpr std::string_view kProportionalHint =
    "###Proporcional / nonproporcional view####Proporcionální / neproporcionální zobrazení";

// Distance of a coordinate outside [from, to): negative before, positive after, 0 inside.
int outside(int v, double from, double to)
{
    if (v < from) return static_cast<int>(v - from);
    if (v > to) return static_cast<int>(v - to);
    return 0;
}

int autoScrollPeriod(int distance)
{
    return std::max(1, (100 - std::abs(distance)) / 10);
}

}  // namespace

bool TTab::tableDragging() const
{
    return tableDrag.mode != 0 || tableDrag.selecting;
}

bool TTab::onViewSwitchSpot() const
{
    const CSheet* sheet = Current();
    if (!sheet) return false;
    const TabLayout& L = layout;
    const int r = sheet->y.collapsed ? 1 : std::min(sheet->y.usedCount(), L.visibleRows);
    const double c = L.cellsTop + r * L.cellHeight - 2;
    return L.tableLeft - 10 <= px && px < L.tableLeft + 2 && c <= py && py <= c + 12;
}

bool TTab::onProportionalSpot() const
{
    const CSheet* sheet = Current();
    if (!sheet) return false;
    const TabLayout& L = layout;
    const int r = sheet->y.collapsed ? 0 : std::min(sheet->y.usedCount(), L.visibleRows);
    const double c = L.cellsTop + r * L.cellHeight + 5;
    const int x0 = L.tableLeft + L.yHeadWidth;
    return x0 - 10 <= px && px < x0 + 6 && c <= py && py <= c + 16;
}

// ---------------------------------------------------------------- hover, hint, cursor

void TTab::UpdateHover()
{
    if (skipNextHover) {
        skipNextHover = false;
        return;
    }
    CSheet* sheet = Current();
    if (!ready || !sheet) return;
    wantCross = wantSizeAll = wantIBeam = false;
    step.held = false;
    hoveredTab = 0;
    overTable = overGraph = false;
    graph.status.clear();
    interpHandlePrev = interpHandle;
    interpHandle = false;

    const TabLayout& L = layout;
    const int width = backBuffer.Width(), height = backBuffer.Height();
    if (sheetShowsContent()) {
        overTable = (drawnViews & kViewTable) && L.tableLeft <= px &&
                    px <= L.cellsLeft + L.shownColumns * L.cellWidth + 15 && L.tableTop <= py &&
                    py <= L.cellsTop + L.shownRows * L.cellHeight + 15;
        if ((flagWord & kTabCheckGrid) && px > L.cellsLeft - L.cellWidth / 2 && py > L.tableTop + L.headHeight)
            overTable = false;
        overGraph = (drawnViews & (kView2D | kView3D | kViewCheck)) && graph.left <= px && px <= width - graph.right &&
                    graph.top <= py && py <= height - graph.bottom;
        if ((drawnViews & kViewTable) && tableDragging()) {
            TableMouseMove();
            return;
        }
        if ((drawnViews & kView2D) && (graph.mouseDown || graph.selecting)) {
            MouseMove2D();
            if (graph.mouseDown) UpdateHint();
            return;
        }
        if ((drawnViews & kView3D) && graph.mouseDown) {
            Graph3DMouseMove();
            return;
        }
        if ((drawnViews & kViewCheck) && (graph.mouseDown || graph.selecting)) {
            MouseMoveCheck();
            if (graph.mouseDown) UpdateHint();
            return;
        }
        if (drawnViews & kViewTable) TableMouseMove();
        if (drawnViews & kView2D) MouseMove2D();
        if (drawnViews & kView3D) Graph3DMouseMove();
        if (drawnViews & kViewCheck) MouseMoveCheck();
    }

    if (sheetCount > 1 && px >= 2 && py >= 0 && py < 20) {
        int right = 2;
        for (int i = 0; i < sheetCount; ++i) {
            if (sheets[i].hidden) continue;
            right += sheets[i].tabWidth;
            if (right + (i == current ? 2 : 0) > px) {
                hoveredTab = i + 1;
                break;
            }
        }
    }

    if (sheetShowsContent()) {
        bool found = false;
        for (int i = 0; i < activeButtons; ++i) {
            CTabButton& button = buttons[static_cast<std::size_t>(i)];
            const bool hot = !found && button.Active() && button.Contains(px, py);
            found |= hot;
            button.hot = hot;
            if (!hot && button.down && !(button.style & kButtonToggle)) {
                button.down = false;
                dirty |= kDirtyRedraw;
            }
        }
    }
    UpdateHint();
    ApplyCursor();
}

void TTab::UpdateHint()
{
    const CTabButton* hot = nullptr;
    for (int i = 0; i < activeButtons && !hot; ++i)
        if (buttons[static_cast<std::size_t>(i)].hot) hot = &buttons[static_cast<std::size_t>(i)];
    if (graph.status.empty() && !hot && !interpHandle) hintOn = false;
    if (hot && !hot->hint.empty()) {
        hintText = pickText(hot->hint);
        hintOn = true;
    }
    if (interpHandle != interpHandlePrev) {
        hintText = pickText(kInterpolationHint);
        hintOn = true;
    }
    if (!graph.status.empty()) {
        hintText = graph.status;
        hintOn = true;
    }
    if (!hintOn) hintText.clear();
    if (!(flagWord & kTabSideBar) && (drawnViews == kViewTable || drawnViews == kView2D) && onViewSwitchSpot()) {
        hintText = pickText(kViewSwitchHint);
        hintOn = true;
    }
    if ((flagWord & kTabCheckGrid) && onProportionalSpot()) {
        hintText = pickText(kProportionalHint);
        hintOn = true;
    }
    SetHintText(hintText);
    SetShowHint(hintOn);
}

void TTab::ApplyCursor()
{
    TCursor wanted = crDefault;
    if (wantCross) wanted = crCross;
    if (wantSizeAll) wanted = crSizeAll;
    if (wantIBeam) wanted = crIBeam;
    if (wanted != Cursor()) SetCursor(wanted);
}

// ---------------------------------------------------------------- mouse buttons and wheel

// A toggle button under the pointer flips and runs its command at once; a push button goes down and runs on release.
bool TTab::pressHotButton()
{
    for (int i = 0; i < activeButtons; ++i) {
        CTabButton& button = buttons[static_cast<std::size_t>(i)];
        if (!button.hot || !button.Active()) continue;
        dirty |= kDirtyRedraw;
        if (button.style & kButtonToggle) {
            button.down = !button.down;
            Command(i);
        } else {
            button.down = true;
        }
        return true;
    }
    return false;
}

void TTab::LeftButtonDown()
{
    CSheet* sheet = Current();
    if (!sheet) return;
    if (hoveredTab > 0) {
        SelectSheet(hoveredTab - 1);
        UpdateHover();
        if (hooks.mapEdited) hooks.mapEdited(*this);
        return;
    }
    if (sheetCount == 1 && (flagWord & kTabTitleStrip) && (sheet->flags & kSheetEnableBox)) {
        const bool side = flagWord & kTabSideBar;
        const int a = layout.visibleColumns * layout.cellWidth >= 200 ? 10 : 0;
        const int b = side ? 5 : 1;
        const int stripWidth = side ? 15 : backBuffer.Width() - a;
        if (a <= px && px <= a + stripWidth && b <= py && py <= b + 15) {
            Command(kCmdEnable);
            UpdateHover();
            return;
        }
    }
    if (!sheetShowsContent()) return;
    if (pressHotButton()) return;
    if (!(flagWord & kTabSideBar) && onViewSwitchSpot()) {
        if (drawnViews == kViewTable) {
            SetView(kView2D);
            return;
        }
        if (drawnViews == kView2D) {
            SetView(kViewTable);
            return;
        }
    }
    if ((flagWord & kTabCheckGrid) && onProportionalSpot()) {
        graph.proportional = !graph.proportional;
        graph.hoverTarget = kNoTarget;
        dirty |= kDirtyRecompute;
        return;
    }
    if ((drawnViews & kViewTable) && tableDragging()) {
        TableMouseDown();
        return;
    }
    if ((drawnViews & kView2D) && (graph.mouseDown || graph.selecting)) {
        MouseDown2D();
        return;
    }
    if ((drawnViews & kView3D) && graph.mouseDown) {
        Graph3DMouseDown();
        return;
    }
    if ((drawnViews & kViewCheck) && (graph.mouseDown || graph.selecting)) {
        MouseDownCheck();
        return;
    }
    if (overTable && (drawnViews & kViewTable) && TableMouseDown()) return;
    if (overGraph) {
        if (drawnViews & kView2D) {
            const bool handled = MouseDown2D();
            UpdateHint();
            if (handled) return;
        }
        if ((drawnViews & kView3D) && Graph3DMouseDown()) return;
        if ((drawnViews & kViewCheck) && MouseDownCheck()) return;
    }
    if (sheet->sel.selKind != 0 || sheet->sel.dragKind != 0) {
        sheet->sel.Reset();
        UpdateHover();
        dirty |= kDirtyRedraw;
    }
}

void TTab::LeftButtonUp()
{
    if (!sheetShowsContent()) return;
    for (int i = 0; i < activeButtons; ++i) {
        CTabButton& button = buttons[static_cast<std::size_t>(i)];
        if (button.down && !(button.style & kButtonToggle)) {
            button.down = false;
            dirty |= kDirtyRedraw;
            Command(i);
            return;
        }
    }
    if ((drawnViews & kViewTable) && (overTable || tableDragging()) && TableMouseUp()) return;
    if ((drawnViews & kView2D) && (overGraph || graph.mouseDown || graph.selecting)) {
        const bool handled = MouseUp2D();
        UpdateHint();
        if (handled) return;
    }
    if ((drawnViews & kView3D) && (overGraph || graph.mouseDown) && Graph3DMouseUp()) return;
    if ((drawnViews & kViewCheck) && (overGraph || graph.mouseDown || graph.selecting)) MouseUpCheck();
}

void TTab::DoubleClick()
{
    if (!sheetShowsContent()) return;
    if (pressHotButton()) return;
    if (overTable && (drawnViews & kViewTable)) TableDoubleClick();
}

void TTab::RightButtonDown()
{
    if (!Current()) return;
    auto showPopup = [&] {
        popupX = px;
        popupY = py;
        BuildPopupMenu();
        if (popup.Items().Count() > 0) {
            const TPoint origin = ClientOrigin();
            popup.Popup(origin.x + px, origin.y + py);
        }
    };
    if (hoveredTab > 0) {
        SelectSheet(hoveredTab - 1);
        popupTab = hoveredTab;
        dirty |= kDirtyRedraw;
        showPopup();
        return;
    }
    popupTab = 0;
    if (sheetShowsContent()) {
        if (overTable && (drawnViews & kViewTable) && TableRightDown()) return;
        if (overGraph) {
            if ((drawnViews & kView2D) && RightClick2D()) return;
            if ((drawnViews & kView3D) && Graph3DRightDown()) return;
            if ((drawnViews & kViewCheck) && RightClickCheck()) return;
        }
    }
    showPopup();
}

void TTab::WheelTurn(int delta)
{
    if (!ready || !sheetShowsContent()) return;
    const int d = delta > 0 ? 1 : -1;
    if (overTable && (drawnViews & kViewTable) && TableWheel(d)) return;
    if (overGraph) {
        if ((drawnViews & kView2D) && Wheel2D(d)) return;
        if ((drawnViews & kView3D) && Graph3DWheel(d)) return;
        if ((drawnViews & kViewCheck) && WheelCheck(d)) return;
    }
    if (drawnViews & kViewTable) {
        if (vBar.visible)
            ScrollBy(0, -d);
        else if (hBar.visible)
            ScrollBy(-d, 0);
    }
}

// ---------------------------------------------------------------- keys

bool TTab::KeyInput(int vk, int ch)
{
    int code = 0;
    if (vk != 0) {
        if (vk == VK_TAB || vk == VK_RETURN || vk == VK_SPACE)
            code = vk;
        else if ((vk >= VK_PRIOR && vk <= VK_DOWN) || vk == VK_INSERT || vk == VK_DELETE)
            code = vk * 256;
    } else {
        code = ch;
    }
    if (code == 0 || !Current()) return false;
    if (CommonKey(code)) return true;
    if ((drawnViews & kViewTable) && TableKey(code)) return true;
    if ((drawnViews & kView3D) && Graph3DKey(code)) return true;
    return false;
}

bool TTab::CommonKey(int code)
{
    CSheet* sheet = Current();
    if (!sheet) return false;
    if (code == '+' || code == '-') {
        if ((drawnViews & kViewTable) && edit.active) return false;
        StepSelection(code == '+' ? 1 : -1);
        return true;
    }
    if ((code == VK_INSERT * 256 && ctrlDown) || code == 3) {
        Command(kCmdCopy);
        return true;
    }
    if ((code == VK_INSERT * 256 && shiftDown) || code == 22) {
        Command(kCmdPaste);
        return true;
    }
    if (code == VK_TAB && sheetCount > 1) {
        int target = current;
        if (ctrlDown) {
            if (previous >= 0 && previous < sheetCount && !sheets[previous].hidden) target = previous;
        } else {
            const int direction = shiftDown ? -1 : 1;
            for (int k = 1; k < sheetCount; ++k) {
                const int i = ((current + direction * k) % sheetCount + sheetCount) % sheetCount;
                if (!sheets[i].hidden) {
                    target = i;
                    break;
                }
            }
        }
        SelectSheet(target);
        return true;
    }
    return false;
}

// ---------------------------------------------------------------- tick

void TTab::repeatStepButtons()
{
    if (!step.shown || !step.held || !(step.upPressed || step.downPressed)) return;
    const int t = tickCount - step.pressTick;
    if (t < 16) return;
    step.repeatBegan = true;
    const CSheet* sheet = Current();
    const int fast = step.row == -1 ? kSheetFastXHeads : step.column == -1 ? kSheetFastYHeads : kSheetFastCells;
    int by = 1;
    if (t >= 36 && sheet && (sheet->flags & fast)) {
        if (t % 2 != 0) return;
        by = 10;
    }
    StepTarget(step.upPressed ? by : -by);
}

void TTab::autoScrollDrag()
{
    CSheet* sheet = Current();
    if (!sheet || !(drawnViews & kViewTable)) return;
    const TabLayout& L = layout;
    const double right = L.cellsLeft + L.shownColumns * L.cellWidth;
    const double bottom = L.cellsTop + L.shownRows * L.cellHeight;
    const int a = outside(px, L.cellsLeft, right), b = outside(py, L.cellsTop, bottom);
    TSel& sel = sheet->sel;
    const bool selecting = tableDrag.selecting && sel.dragKind != 0;
    const bool dragging = tableDrag.mode != 0;
    if (!selecting && !dragging) return;
    bool horizontal, vertical;
    if (selecting) {
        horizontal = sel.dragKind & (kHitCell | kHitXHead | kHitColumnStrip);
        vertical = sel.dragKind & (kHitCell | kHitYHead | kHitRowStrip);
    } else {
        horizontal = tableDrag.firstColumn >= 0 && !sheet->x.collapsed;
        vertical = tableDrag.firstRow >= 0 && !sheet->y.collapsed;
    }
    int columns = 0, rows = 0;
    if (horizontal && a != 0 && tickCount % autoScrollPeriod(a) == 0) columns = a < 0 ? -1 : 1;
    if (vertical && b != 0 && tickCount % autoScrollPeriod(b) == 0) rows = b < 0 ? -1 : 1;
    if (columns == 0 && rows == 0) return;
    const int firstColumn = sheet->x.firstVisible, firstRow = sheet->y.firstVisible;
    ScrollBy(columns, rows);
    const int dx = static_cast<int>((sheet->x.firstVisible - firstColumn) * L.cellWidth);
    const int dy = static_cast<int>((sheet->y.firstVisible - firstRow) * L.cellHeight);
    if (dx == 0 && dy == 0) return;
    if (selecting) {
        sel.anchorX -= dx;
        sel.anchorY -= dy;
        const int x = std::clamp(px, L.cellsLeft + 1, std::max(L.cellsLeft + 1, static_cast<int>(right) - 1));
        const int y = std::clamp(py, L.cellsTop + 1, std::max(L.cellsTop + 1, static_cast<int>(bottom) - 1));
        if (sel.DragTo(fullHits, x, y, true)) dirty |= kDirtyRedraw;
    } else {
        tableDrag.startX -= dx;
        tableDrag.startY -= dy;
        UpdateHover();
    }
}

void TTab::Tick()
{
    ++tickCount;
    CSheet* sheet = Current();
    if (!sheet || !ready) return;
    const unsigned keys = vcl::KeyboardShiftState();
    shiftDown = keys & ssShift;
    ctrlDown = keys & ssCtrl;
    if (requestedView == kView2D && (graph.shiftHeld != shiftDown || graph.ctrlHeld != ctrlDown)) dirty |= kDirtyRedraw;
    graph.shiftHeld = shiftDown;
    graph.ctrlHeld = ctrlDown;

    repeatStepButtons();
    if (edit.active && !Focused()) CommitCellEdit();
    if (edit.active) {
        if (edit.blink == 0 || edit.blink == 8) Invalidate();
        edit.blink = (edit.blink + 1) % 16;
    }
    // An editor on a page that is not shown (its window is) follows the operating point, which may switch its
    // sheet, but neither draws nor keeps its buttons' states while the point moves: both are brought up to date
    // when the page comes up and paints.
    int hidden = -1;  // asked once, and only when needed: the editors of hidden pages are many
    auto hiddenInShownWindow = [&] {
        if (hidden < 0) {
            const QWidget* widget = Widget();
            hidden = !widget->isVisible() && widget->window()->isVisible() ? 1 : 0;
        }
        return hidden == 1;
    };
    if (tickCount & 2) {
        UpdateOperatingPoint();
        if (hiddenInShownWindow())
            buttonsStale = true;
        else
            UpdateButtonStates(false);
    }
    if (lambdaMonitoring) {
        // Each lambda sheet is current for the moment, without the side effects of selecting it; the table does
        // not follow the other sheets' points meanwhile.
        const int realCurrent = current;
        int* follow = followSwitch;
        followSwitch = nullptr;
        for (int i = 0; i < sheetCount; ++i) {
            CSheet& s = sheets[i];
            if (!(s.flags & kSheetLambdaBlock) || s.lambdaBlock.size() < static_cast<std::size_t>(kGridCells)) continue;
            current = i;
            UpdateOperatingPoint();
            if (s.opRow >= 0 && s.opRow < kMaxRows && s.opColumn >= 0 && s.opColumn < kMaxColumns) {
                std::uint8_t& cell = s.lambdaBlock[static_cast<std::size_t>(gridIndex(s.opColumn, s.opRow))];
                const auto low = static_cast<std::uint8_t>(s.liveValue & 0xFF);
                if (cell != low) {
                    cell = low;
                    dirty |= kDirtyRedraw;
                }
            }
        }
        current = realCurrent;
        followSwitch = follow;
    }
    autoScrollDrag();
    for (CTabScrollBar* bar : {&hBar, &vBar}) {
        const int r = bar->RepeatTick();
        if (r == 2)
            Command(bar == &hBar ? kCmdHorizontalBar : kCmdVerticalBar);
        else if (r == 1)
            dirty |= kDirtyRedraw;
    }
    if (GetLanguageIndex() != languageSeen) {
        BuildSideBar();
        dirty |= kDirtyRedraw;
    }
    CheckNotifyDue();
    if (dirty && !painting && !hiddenInShownWindow()) Redraw();
}
