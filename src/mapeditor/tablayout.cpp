// Side bar, layout, hit tables, button states and the redraw of the map editor.
#include <algorithm>
#include <cmath>

#include "mapeditor/drawing.h"
#include "mapeditor/tab.h"
#include "os/lngtext.h"

namespace {

struct SideButtonRow
{
    int index;
    int style;
    int picture = -1;          // TabBitmap
    int disabledPicture = -1;  // TabBitmap
    std::string_view caption = {};
    std::string_view hint = {};
};

constexpr int kPush = kButtonDrawnDisabled;
constexpr int kToggle = kButtonToggle;

// The side buttons by index (the index is the command they run).
constexpr SideButtonRow kSideButtonRows[] = {
    {kCmdCopy, kPush, kBmpCopy, kBmpCopy0, {}, "###Copy##Kopieren##Kopírovat"},
    {kCmdCopyTable, kPush, kBmpCopySheet, kBmpCopy0, {}, "###Copy table##Tabelle kopieren##Kopírovat tabulku"},
    {kCmdPaste, kPush, kBmpPaste, kBmpPaste0, {}, "###Paste##Einfügen##Vložit"},
    {kCmdPlus, kPush, -1, -1, "+",
     "###Increment selection or actual value##Increment Auswahl oder Istwert##Zvětšit hodnotu vybraných buňek "
     "nebo aktuální hodnotu"},
    {kCmdMinus, kPush, -1, -1, "-",
     "###Decrement selection or actual value##Decrement Auswahl oder Istwert##Zmenšit hodnotu vybraných buňek "
     "nebo aktuální hodnotu"},
    {kCmdViewTable, kToggle, kBmpTable, -1, {}, "###View as table##Als Tabelle anzeigen##Zobrazit jako tabulku"},
    {kCmdView2D, kToggle, kBmp2D, -1, {}, "###View as graph 2D##Als 2D Graph anzeigen##Zobrazit jako 2D graf"},
    {kCmdView3D, kToggle, kBmp3D, -1, {}, "###View as graph 3D##Als 3D Graph anzeigen##Zobrazit jako 3D graf"},
    {kCmdOnlyX,
     kToggle,
     -1,
     -1,
     {},
     "###Use only this parameter for table definition##Verwenden Sie nur diese Parameter für "
     "Tabellendefinition##Použít pouze tento parametr pro definici tabluky"},
    {kCmdOnlyY,
     kToggle,
     -1,
     -1,
     {},
     "###Use only this parameter for table definition##Verwenden Sie nur diese Parameter für "
     "Tabellendefinition##Použít pouze tento parametr pro definici tabluky"},
    {kCmdBothXY,
     kToggle,
     -1,
     -1,
     {},
     "###Use both dimensions for table definition##Benutzen Sie beide Dimensionen für die "
     "Tabellendefinition##Použít oba rozměry pro definici tabluky"},
    {kCmdTop, kToggle, -1, -1, "###TOP##TOP##Seshora",
     "###View graph form top##Ein Blick auf die Tabelle oben##Pohled na graf seshora"},
    {kCmdIso1, kToggle, -1, -1, "ISO1",
     "###View graph as ISO1##Ein Blick auf die Tabelle isometrisch##Pohled na graf izometricky"},
    {kCmdIso2, kToggle, -1, -1, "ISO2",
     "###View graph as ISO2##Ein Blick auf die Tabelle isometrisch##Pohled na graf izometricky"},
    {kCmdBeginning, kToggle, -1, -1, "###Beginning##Beginn##Počátek",
     "###Position of Beginning##Lage für Beginn##Poloha zadána pro Počátek"},
    {kCmdCentre, kToggle, -1, -1, "###Centre##Mitte##Střed",
     "###Position of Centre##Lage für Mitte##Poloha zadána pro Střed"},
    {kCmdEnd, kToggle, -1, -1, "###End##Ende##Konec", "###Position of End##Lage für Ende##Poloha zadána pro Konec"},
    {kCmdAddColumn, 0, -1, -1, "+", "###Add column##Spalte hinzufügen##Přidat sloupec"},
    {kCmdRemoveColumn, 0, -1, -1, "-", "###Remove column##Spalte entfernen##Odstranit sloupec"},
    {kCmdLambda, kPush, kBmpLambda, kBmpLambda0, {}, "###Monitor Lambda##Folge Lambda ##Sleduj Lambdu"},
};

constexpr std::string_view kOnlyText = "###Only##Nur##Jen";
constexpr int kSmallestTitle = 7;  // points
constexpr std::string_view kAndText = "###and##und##a";

// Places for the Only buttons: e = 1 for each axis the user may collapse, none when either is fixed.
int collapsibleAxes(const CSheet& sheet)
{
    if (sheet.x.collapseOption == 2 || sheet.y.collapseOption == 2) return 0;
    return (sheet.x.collapseOption == 1 ? 1 : 0) + (sheet.y.collapseOption == 1 ? 1 : 0);
}

int allowedViews(int flagWord)
{
    return ((flagWord & kTabTableView) ? 1 : 0) + ((flagWord & kTabGraph2D) ? 1 : 0) +
           ((flagWord & kTabGraph3D) ? 1 : 0);
}

int truncInt(double v)
{
    return std::isfinite(v) ? static_cast<int>(std::clamp(std::trunc(v), -1e9, 1e9)) : 0;
}

}  // namespace

void TTab::BuildSideBar()
{
    const int width = backBuffer.Width(), height = backBuffer.Height();
    TabLayout& L = layout;
    L.visibleColumns = std::max(1, L.visibleColumns);
    L.visibleRows = std::max(1, L.visibleRows);

    int reserved = 0;
    if (flagWord & kTabSideBar) {
        int d = 0;
        for (int i = 0; i < sheetCount; ++i) {
            const int e = collapsibleAxes(sheets[i]);
            d = std::max(d, e ? e + 1 : 0);
        }
        int v = allowedViews(flagWord);
        if (v == 1) v = 0;
        reserved = 75 * d + 63 * v + 123;
    }
    L.left = 10 + L.extraLeft;
    L.right = 10 + L.extraRight;
    L.bottom = 10 + L.extraBottom;
    L.top = 10 + L.extraTop;
    int b = 5;
    int c = width - L.right - reserved;
    if (sheetCount > 1) {
        int tabs = 2;
        for (int i = 0; i < sheetCount; ++i) tabs += sheets[i].tabWidth;
        if (c - 10 < tabs) {
            b = 25;  // the buttons move below the sheet tabs
            L.top = b + 20;
        }
    }
    if (flagWord & kTabSideBar)
        L.top = b + 31;
    else if (flagWord & kTabTitleStrip)
        L.top = b + 20;
    L.buttonTop = b;
    L.sideBarLeft = c;
    languageSeen = GetLanguageIndex();

    L.tableLeft = L.left;
    L.tableTop = L.top;
    L.headHeight = (height - L.top - L.gap - L.bottom) / (L.visibleRows + 1);
    L.cellsLeft = L.tableLeft + L.yHeadWidth + L.gap;
    L.cellsTop = L.tableTop + L.headHeight + L.gap;
    L.cellWidth = double(width - L.cellsLeft - L.right) / L.visibleColumns;
    L.cellHeight = double(height - L.cellsTop - L.bottom) / L.visibleRows;
    if (flagWord & kTabCheckGrid) {
        L.cellsLeft = truncInt(L.cellsLeft + L.cellWidth / 2);
        L.cellsTop = truncInt(L.cellsTop + L.cellHeight / 2);
    }
    if (edit.active) LayoutCellEdit();

    const TColor face = Color();
    hBar.face = vBar.face = face;
    hBar.visible = vBar.visible = true;
    for (CTabButton& button : buttons) {
        button.face = face;
        button.style = 0;
        button.state = 0;
    }
    activeButtons = 0;
    for (const SideButtonRow& row : kSideButtonRows) {
        CTabButton& button = buttons[static_cast<std::size_t>(row.index)];
        button.picture = row.picture >= 0 ? &bitmaps[static_cast<std::size_t>(row.picture)] : nullptr;
        button.disabledPicture =
            row.disabledPicture >= 0 ? &bitmaps[static_cast<std::size_t>(row.disabledPicture)] : nullptr;
        if (button.picture && button.picture->Empty()) button.picture = button.disabledPicture = nullptr;
        button.caption = row.caption.empty() ? std::string() : pickText(row.caption);
        button.hint = row.hint;
    }
    auto place = [&](int index, int style, int state, TRect r) {
        CTabButton& button = buttons[static_cast<std::size_t>(index)];
        button.style = style;
        button.state = state;
        button.rect = r;
    };
    const CSheet* sheet = Current();
    if ((flagWord & kTabSideBar) && !(flagWord & kTabSideBarEmpty)) {
        place(kCmdLambda, kPush, buttons[kCmdLambda].state, {c - 40, b, c - 16, b + 24});
        buttons[kCmdLambda].picture = &bitmaps[lambdaMonitoring ? kBmpLambdaActive : kBmpLambda];
        if (buttons[kCmdLambda].picture->Empty())
            buttons[kCmdLambda].picture = buttons[kCmdLambda].disabledPicture = nullptr;
        place(kCmdCopy, kPush, 0, {c, b, c + 24, b + 24});
        place(kCmdCopyTable, kPush, kButtonEnabled, {c + 30, b, c + 54, b + 24});
        place(kCmdPaste, kPush, 0, {c + 60, b, c + 84, b + 24});
        place(kCmdPlus, kPush, 0, {c + 100, b, c + 112, b + 12});
        place(kCmdMinus, kPush, 0, {c + 100, b + 13, c + 112, b + 24});
        if (sheet && collapsibleAxes(*sheet) != 0) {
            int x = c + 128;
            const std::string xLabel = pickText(sheet->x.label), yLabel = pickText(sheet->y.label);
            onlyCaptions[0] = pickText(kOnlyText) + " " + xLabel;
            onlyCaptions[1] = pickText(kOnlyText) + " " + yLabel;
            onlyCaptions[2] = xLabel + " " + pickText(kAndText) + " " + yLabel;
            auto only = [&](int index, const std::string& caption) {
                place(index, kToggle, kButtonEnabled, {x, b + 6, x + 70, b + 24});
                buttons[static_cast<std::size_t>(index)].caption = caption;
                x += 75;
            };
            if (sheet->y.collapseOption == 1) only(kCmdOnlyX, onlyCaptions[0]);
            if (sheet->x.collapseOption == 1) only(kCmdOnlyY, onlyCaptions[1]);
            only(kCmdBothXY, onlyCaptions[2]);
            buttons[kCmdOnlyX].down = !sheet->x.collapsed && sheet->y.collapsed;
            buttons[kCmdOnlyY].down = sheet->x.collapsed && !sheet->y.collapsed;
            buttons[kCmdBothXY].down = !sheet->x.collapsed && !sheet->y.collapsed;
        }
        const int v = allowedViews(flagWord);
        if (v > 1) {
            int x = width - L.right - 63 * v + 5;
            for (int view = 0; view < 3; ++view)
                if (flagWord & (kTabTableView << view)) {
                    place(kCmdViewTable + view, kToggle, kButtonEnabled, {x, b, x + 58, b + 24});
                    x += 63;
                }
        }
        activeButtons = kSideButtons;
    }
    place(kCmdTop, kToggle, buttons[kCmdTop].state, {10, 25, 55, 41});
    place(kCmdIso1, kToggle, buttons[kCmdIso1].state, {60, 25, 95, 41});
    place(kCmdIso2, kToggle, buttons[kCmdIso2].state, {100, 25, 135, 41});
    if (flagWord & kTabPositionButtons) {
        const int o = pixelsPerInch * 220 / 96;
        for (int i = 0; i < 3; ++i)
            place(kCmdBeginning + i, kToggle, kButtonEnabled, {o + 85 * i, b + 2, o + 85 * i + 80, b + 22});
    }
    if (sheet && (flagWord & kTabTableView) && sheet->x.resizable && !sheet->x.collapsed) {
        const int x = truncInt(L.cellsLeft + L.visibleColumns * L.cellWidth + 2 + 3);
        int y = L.tableTop + L.headHeight + 8;
        // Where the vertical scroll bar will stand, the pair ends above the cells instead of covering its arrow.
        if (!sheet->y.collapsed && sheet->y.usedCount() > L.visibleRows) y = std::min(y, L.cellsTop - 36);
        const int addState = kButtonTableOnly | (sheet->x.count >= sheet->x.maxCount ? kButtonInactive : 0);
        const int removeState = kButtonTableOnly | (sheet->x.count <= sheet->x.minCount ? kButtonInactive : 0);
        place(kCmdAddColumn, 0, addState, {x, y, x + 15, y + 15});
        place(kCmdRemoveColumn, 0, removeState, {x, y + 20, x + 15, y + 35});
    }

    UpdateButtonStates(true);
    LayoutTable();
    UpdateHover();
}

void TTab::LayoutTable()
{
    CSheet* sheet = Current();
    if (!sheet) return;
    TabLayout& L = layout;
    CAxe& X = sheet->x;
    CAxe& Y = sheet->y;
    L.shownColumns = std::min(L.visibleColumns, X.usedCount());
    L.shownRows = std::min(L.visibleRows, Y.usedCount());
    if (X.collapsed)
        L.shownColumns = 1;
    else if (Y.collapsed)
        L.shownRows = 1;
    X.collapsedIndex = X.resolveCollapsedIndex();
    Y.collapsedIndex = Y.resolveCollapsedIndex();
    X.firstVisible = std::clamp(X.firstVisible, 0, std::max(0, X.usedCount() - L.shownColumns));
    Y.firstVisible = std::clamp(Y.firstVisible, 0, std::max(0, Y.usedCount() - L.shownRows));

    hBar.visible = L.shownColumns == L.visibleColumns && X.usedCount() > L.visibleColumns;
    const int hTop = truncInt(L.cellsTop + L.shownRows * L.cellHeight + 1);
    hBar.rect = {L.cellsLeft, hTop, truncInt(L.cellsLeft + L.shownColumns * L.cellWidth), hTop + 15};
    hBar.total = X.usedCount();
    hBar.page = L.visibleColumns;
    hBar.position = X.firstVisible;
    vBar.visible = L.shownRows == L.visibleRows && Y.usedCount() > L.visibleRows;
    const int vLeft = truncInt(L.cellsLeft + L.shownColumns * L.cellWidth + 1);
    vBar.rect = {vLeft, L.cellsTop, vLeft + 15, truncInt(L.cellsTop + L.shownRows * L.cellHeight)};
    vBar.total = Y.usedCount();
    vBar.page = L.visibleRows;
    vBar.position = Y.firstVisible;

    BuildHitMaps();
    SetView(0);
}

void TTab::BuildHitMaps()
{
    ResetHitTable(visibleHits);
    ResetHitTable(fullHits);
    const CSheet* sheet = Current();
    if (!sheet) return;
    const TabLayout& L = layout;
    const CAxe& X = sheet->x;
    const CAxe& Y = sheet->y;
    const int columns = std::min(X.usedCount(), kMaxColumns), rows = std::min(Y.usedCount(), kMaxRows);
    for (HitTable* t : {&visibleHits, &fullHits}) {
        t->width = backBuffer.Width();
        t->height = backBuffer.Height();
        t->columns = columns;
        t->rows = rows;
        t->xHeadsOn = t->yHeadsOn = t->columnStripsOn = t->rowStripsOn = t->cellsOn = 1;
    }
    auto xAt = [&](int i) { return truncInt((i - X.firstVisible) * L.cellWidth + L.cellsLeft); };
    auto yAt = [&](int j) { return truncInt((j - Y.firstVisible) * L.cellHeight + L.cellsTop); };
    auto columnShown = [&](int i) {
        return X.collapsed ? i == X.collapsedIndex : i >= X.firstVisible && i < X.firstVisible + L.shownColumns;
    };
    auto rowShown = [&](int j) {
        return Y.collapsed ? j == Y.collapsedIndex : j >= Y.firstVisible && j < Y.firstVisible + L.shownRows;
    };
    auto put = [&](int entry, HitRect r, bool shown) {
        fullHits.rects[static_cast<std::size_t>(entry)] = r;
        if (shown) visibleHits.rects[static_cast<std::size_t>(entry)] = r;
    };
    if (!X.collapsed)
        for (int i = 0; i < columns; ++i) {
            const int x = xAt(i), right = truncInt(x + L.cellWidth);
            put(kHitXHeads + i, {x, L.tableTop, right, L.tableTop + L.headHeight}, columnShown(i));
            put(kHitColumnStrips + i, {x, L.tableTop + L.headHeight, right, L.cellsTop}, columnShown(i));
        }
    if (!Y.collapsed)
        for (int j = 0; j < rows; ++j) {
            const int y = yAt(j), bottom = truncInt(y + L.cellHeight);
            put(kHitYHeads + j, {L.tableLeft, y, L.tableLeft + L.yHeadWidth, bottom}, rowShown(j));
            put(kHitRowStrips + j, {L.tableLeft + L.yHeadWidth, y, L.cellsLeft, bottom}, rowShown(j));
        }
    for (int j = 0; j < rows; ++j) {
        if (Y.collapsed && j != Y.collapsedIndex) continue;
        for (int i = 0; i < columns; ++i) {
            if (X.collapsed && i != X.collapsedIndex) continue;
            const int x = X.collapsed ? L.cellsLeft : xAt(i), y = Y.collapsed ? L.cellsTop : yAt(j);
            put(kHitCells + gridIndex(i, j), {x, y, truncInt(x + L.cellWidth), truncInt(y + L.cellHeight)},
                columnShown(i) && rowShown(j));
        }
    }
}

void TTab::UpdateButtonStates(bool forced)
{
    const CSheet* sheet = Current();
    if (!sheet) return;
    auto setState = [&](int index, int state) {
        CTabButton& button = buttons[static_cast<std::size_t>(index)];
        if (button.state != state) {
            button.state = state;
            dirty |= kDirtyRedraw;
        }
    };
    int kind = 0, selected = 0, editable = 0;
    SelectionSummary(kind, selected, editable);
    const bool stepPart = forced || (tickCount & 2);
    if (stepPart) {
        selectionEditable = editable > 0;
        const bool canStep = editable > 0 || ((sheet->flags & kSheetOperatingPoint) && sheet->opState > 0);
        setState(kCmdPlus, canStep ? kButtonEnabled : 0);
        setState(kCmdMinus, canStep ? kButtonEnabled : 0);
    }
    if (forced || (tickCount & 8)) {
        const int p = PasteAvailability();
        setState(kCmdPaste, p != 0 ? kButtonEnabled : 0);
        const TBitmap* picture = &bitmaps[(p & kClipSheetText) ? kBmpPasteSheet : kBmpPaste];
        if (!picture->Empty() && buttons[kCmdPaste].picture != picture) {
            buttons[kCmdPaste].picture = picture;
            dirty |= kDirtyRedraw;
        }
    }
    if (stepPart) {
        const bool canCopy = edit.active ? edit.markStart != edit.markEnd : sheet->sel.count > 0;
        setState(kCmdCopy, canCopy ? kButtonEnabled : 0);
        setState(kCmdCopyTable, kButtonEnabled);
    }
}

void TTab::PaintStepButtons(TCanvas& c)
{
    if (!step.shown) return;
    for (int which = 0; which < 2; ++which) {
        const TRect& r = which == 0 ? step.up : step.down;
        const bool pressed = which == 0 ? step.upPressed : step.downPressed;
        const int w = r.right - r.left, h = r.bottom - r.top;
        DrawBevel(c, r.left, r.top, w, h, pressed, Color(), colours[2], colours[1]);
        auto at = [](int from, int length, int percent) { return from + (length * percent + 50) / 100; };
        const int shift = pressed ? 1 : 0;
        const int x10 = at(r.left, w, 10) + shift, x30 = at(r.left, w, 30) + shift, x50 = at(r.left, w, 50) + shift;
        const int x70 = at(r.left, w, 70) + shift, x90 = at(r.left, w, 90) + shift;
        const int y10 = at(r.top, h, 10), y50 = at(r.top, h, 50), y90 = at(r.top, h, 90);
        c.Pen.Style = psSolid;
        c.Pen.Width = 1;
        c.Pen.Color = 0x808080;
        c.Brush.Style = bsSolid;
        c.Brush.Color = 0x808080;
        if (which == 0) {
            const TPoint head[] = {{x50, y10}, {x90, y50}, {x10, y50}};
            c.Polygon(head);
            FillBox(c, x30, y50, x70 - x30, y90 - y50, 0x808080);
        } else {
            const TPoint head[] = {{x50, y90}, {x90, y50}, {x10, y50}};
            c.Polygon(head);
            FillBox(c, x30, y10, x70 - x30, y50 - y10, 0x808080);
        }
    }
}

void TTab::PaintSideBar(TCanvas& c)
{
    if (!(flagWord & kTabSideBar) || (flagWord & kTabSideBarEmpty)) return;
    const CSheet* sheet = Current();
    const CTabButton& plus = buttons[kCmdPlus];
    const CTabButton& minus = buttons[kCmdMinus];
    if (plus.state != 0 && activeButtons > 0) {
        const int dx = selectionEditable ? 5 : 7, dy = selectionEditable ? 3 : 5;
        TColor frame = clBlack;
        if (!selectionEditable && sheet)
            frame = sheet->opState == 1 ? colours[10] : sheet->opState == 2 ? colours[11] : clBlack;
        const int l = plus.rect.left - dx, t = plus.rect.top - dy, r = minus.rect.right + dx,
                  b = minus.rect.bottom + dy;
        c.Pen.Style = psSolid;
        c.Pen.Width = 3;
        c.Pen.Color = frame;
        c.Brush.Style = bsClear;
        c.Rectangle(l, t, r + 1, b + 1);
        c.Pen.Width = 1;
        c.Brush.Style = bsSolid;
        if (selectionEditable) FillBox(c, r - 1, b - 1, 2, 2, clWhite);
    }
    for (int i = 0; i < activeButtons; ++i) {
        const CTabButton& button = buttons[static_cast<std::size_t>(i)];
        if ((button.state & kButtonEnabled) || ((button.state >> 4) & 7) == requestedView || button.state == 0)
            button.Paint(c);
    }
}

void TTab::paintSheetTabs(TCanvas& c)
{
    if (sheetCount <= 1) return;
    const int width = backBuffer.Width();
    c.Font.Size = 9;
    c.Font.Color = clBlack;
    c.Brush.Style = bsClear;
    FillBox(c, 0, 0, width, 1, clBlack);
    int x = 2;
    int previousShown = -1;
    std::array<int, kMaxSheets> order{};
    int shown = 0;
    for (int i = 0; i < sheetCount; ++i)
        if (!sheets[i].hidden) order[static_cast<std::size_t>(shown++)] = i;
    for (int k = 0; k < shown; ++k) {
        const int i = order[static_cast<std::size_t>(k)];
        const CSheet& sheet = sheets[i];
        const bool isCurrent = i == current;
        const bool afterCurrent = previousShown == current && previousShown >= 0;
        const bool beforeCurrent = k + 1 < shown && order[static_cast<std::size_t>(k + 1)] == current;
        const int l = isCurrent ? x - 2 : x, r = isCurrent ? x + sheet.tabWidth + 2 : x + sheet.tabWidth;
        const int bottom = isCurrent ? 20 : 18;
        if (isCurrent) FillBox(c, l, 0, r - l + 1, 1, Color());
        if (!afterCurrent) {
            FillBox(c, l, 1, 1, bottom - 2, clWhite);
            FillBox(c, l + 1, bottom - 1, 1, 1, clBlack);
        }
        FillBox(c, l + 2, bottom, std::max(0, r - l - 3), 1, clBlack);
        if (!beforeCurrent) {
            FillBox(c, r, 1, 1, bottom - 2, clBlack);
            FillBox(c, r - 1, 1, 1, bottom - 2, 0x808080);
            FillBox(c, r - 1, bottom - 1, 1, 1, clBlack);
        }
        std::string title = pickText(sheet.title);
        if (title.size() > 127) title.resize(127);
        const bool anyEditable = sheet.x.editable || sheet.y.editable || sheet.data.editable;
        c.Font.Style = (!sheet.enabled || !anyEditable) ? fsItalic : 0;
        c.Font.Color = sheet.enabled ? clBlack : 0x808080;
        c.Brush.Style = bsClear;
        c.TextOut((l + r - c.TextWidth(title)) / 2, bottom - 16, title);
        x += sheet.tabWidth + 1;
        previousShown = i;
    }
    c.Font.Style = 0;
    c.Font.Color = clBlack;
    c.Brush.Style = bsSolid;
}

void TTab::paintTitleStrip(TCanvas& c)
{
    const CSheet* sheet = Current();
    if (sheetCount != 1 || !(flagWord & kTabTitleStrip) || !sheet || !sheet->contentShown) return;
    int x = layout.visibleColumns * layout.cellWidth < 200 ? 0 : 10;
    const int y = (flagWord & kTabSideBar) ? 5 : 1;
    if (sheet->flags & kSheetEnableBox) {
        const TBitmap& box = bitmaps[sheet->enabled ? kBmpCheck1 : kBmpCheck0];
        if (!box.Empty()) c.Draw(x + 3, y + 4, box);
        x += 25;
    }
    c.Brush.Style = bsClear;
    c.Font.Size = std::abs(sheet->titleFontSize);
    c.Font.Color = clBlack;
    // A title longer than the editor is wide (a German one over a half-page table) is written smaller to fit.
    const std::string title = pickText(sheet->title);
    const int room = backBuffer.Width() - x - 2;
    while (c.Font.Size > kSmallestTitle && c.TextWidth(title) > room) --c.Font.Size;
    c.TextOut(x, y - 2, title);
    c.Brush.Style = bsSolid;
}

void TTab::ScaleGraph()
{
    graph.Autoscale(std::span<const CSheet>(sheets.data(), static_cast<std::size_t>(sheetCount)), current, guides,
                    drawnViews & kView2D);
}

void TTab::Redraw()
{
    if (painting) return;
    // Only some cells' values changed with the table drawn alone: their boxes are drawn again (exactly as a
    // whole redraw draws them), the rest of the picture stays.
    const bool partial = dirty == kDirtyCells && cellDamage.right > cellDamage.left &&
                         cellDamage.bottom > cellDamage.top && drawnViews == kViewTable && !printing;
    painting = true;
    TCanvas& c = backBuffer.Canvas();
    if (partial) {
        paintClip = cellDamage;
        c.SetClipRect(paintClip);
    }
    const int fontSize = c.Font.Size;
    const int width = backBuffer.Width(), height = backBuffer.Height();
    c.Pen.Color = Color();
    c.Brush.Style = bsSolid;
    c.Brush.Bitmap = nullptr;
    c.Brush.Color = Color();
    c.FillRect({0, 0, width, height});

    CSheet* sheet = Current();
    if (sheet && sheet->enabled && !sheet->hidden && sheet->contentShown) {
        if (drawnViews & kViewTable) PaintTable(c);
        graph.mode = sheet->y.collapsed ? kGraphCurveX : sheet->x.collapsed ? kGraphCurveY : kGraphStacked;
        const bool recompute = dirty & kDirtyRecompute;
        if (drawnViews & kView2D) {
            if (recompute) {
                ScaleGraph();
                Layout2D();
            }
            Paint2D(c);
        }
        if (drawnViews & kView3D) {
            if (recompute) {
                ScaleGraph();
                Prepare3D();
            }
            Paint3D(c);
        }
        if (drawnViews & kViewCheck) {
            if (recompute) {
                ScaleGraph();
                LayoutCheck();
            }
            PaintCheck(c);
        }
    }
    c.Font.Size = fontSize;
    paintSheetTabs(c);
    c.Font.Size = fontSize;
    paintTitleStrip(c);
    c.Font.Size = fontSize;
    if (sheet && sheet->enabled && sheet->contentShown && !printing) PaintSideBar(c);
    if ((flagWord & kTabSideBar) && sheet && (sheet->flags & kSheetUnitText) && sheet->contentShown) {
        c.Font.Size = std::max(1, static_cast<int>(1.5 * std::abs(sheets[0].titleFontSize)));
        c.Font.Color = clBlack;
        c.Brush.Style = bsClear;
        c.TextOut(10, buttons[kCmdCopy].rect.top + 3, sheet->data.unit);
        c.Brush.Style = bsSolid;
    }
    c.Font.Size = fontSize;
    c.Font.Style = 0;
    painting = false;
    dirty = 0;
    cellDamage = {};
    if (partial) {
        c.ResetClip();
        Invalidate(paintClip);
        paintClip = {};
    } else {
        Invalidate();
    }
}
