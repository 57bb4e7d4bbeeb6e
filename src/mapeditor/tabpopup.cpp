// The popup menu of the map editor, built anew for every right click from the place under the pointer, the
// selection, the clipboard and the views shown, so that it offers only what applies there.
#include <algorithm>
#include <cmath>
#include <string>

#include "mapeditor/tab.h"
#include "os/lngtext.h"

namespace {

constexpr std::string_view kDisableText = "###Disable ##Deaktivieren ##Zakázat ";
constexpr std::string_view kEnableText = "###Enable ##Aktivieren ##Povolit ";
constexpr std::string_view kCopyText = "###Copy##Kopieren##Kopírovat";
constexpr std::string_view kCopyTableText = "###Copy the entire table##Tabelle kopieren##Kopírovat celou tabulku";
constexpr std::string_view kCopyGraphText = "###Copy graph##Chart kopieren##Kopírovat graf";
constexpr std::string_view kPasteTableText = "###Paste table##Tabelle einfügen##Vložit tabulku";
constexpr std::string_view kPasteText = "###Paste##Einfügen##Vložit";
constexpr std::string_view kInterpolateText = "###Interpolate##Interpolieren##Interpolovat";
constexpr std::string_view kInsertRowText = "###Insert row here##Einfügen einer Zeile##Vložit řádek (zde)";
constexpr std::string_view kInsertColumnText = "###Insert column here##Einfügen hier Spalte##Vložit sloupec (zde)";
constexpr std::string_view kDeleteRowText = "###Delete row##Klare Zeile##Vymazat řádek";
constexpr std::string_view kDeleteRowsText = "###Delete rows##Klare Linien##Vymazat řádky";
constexpr std::string_view kDeleteColumnText = "###Delete column##Spalte löschen##Vymazat sloupec";
constexpr std::string_view kDeleteColumnsText = "###Delete columns##Löschen von Spalten##Vymazat sloupce";
constexpr std::string_view kAutoscrollText =
    "###Autoscroll actual position##Autoscroll aktuelle Position##Automaticky posunovat na aktuální polohu";
constexpr std::string_view kNoAutoscrollText =
    "###Disable autoscroll##Deaktivieren Autoscroll##Zakázat automatické posunování";
constexpr std::string_view kPresetTexts[] = {"###Top view##Aufsicht##Pohled seshora",
                                             "###ISO1 view##ISO1 Ansicht##Pohled ISO1",
                                             "###ISO2 view##ISO2 Ansicht##Pohled ISO2"};
constexpr std::string_view kColouringTexts[] = {
    "###Wire model##Draht-Modell##Drátěný model",
    "###One color graph##Ein Farb-Kurve##Jednobarevný graf",
    "###Height colors (grain 0)##Höhe Farben (Korn 0)##Výškové barvy (zrno 0)",
    "###Height colors (grain 1)##Höhe Farben (Korn 1)##Výškové barvy (zrno 1)",
    "###Height colors (grain 2)##Höhe Farben (Korn 2)##Výškové barvy (zrno 2)",
    "###Height colors (grain 3)##Höhe Farben (Korn 3)##Výškové barvy (zrno 3)"};
constexpr std::string_view kLabelTexts[] = {"###No values##Keinen Wert##Žádné hodnoty",
                                            "###Only active value##Nur aktiven Wert##Jen aktivní honota",
                                            "###Only interresting values##Nur interresanten Werte##Jen zajímavé honoty",
                                            "###All values##Alle Werte##Všechny honoty"};
constexpr std::string_view kViewTexts[] = {"###View as table##Als Tabelle anzeigen##Zbrazit jako tabulku",
                                           "###View as graph 2D##Als 2D-Graph anzeigen##Zobrazit jako 2D graf",
                                           "###View as graph 3D##Als 3D-Graph anzeigen##Zobrazit jako 3D graf"};
constexpr std::string_view kUseOnlyText = "###Use only##Nur##Použij jen";
constexpr std::string_view kUseText = "###Use##Verwenden##Použij";
constexpr std::string_view kAndText = "###and##und##a";

bool marked(std::uint16_t mark)
{
    return (mark & (kMarkCommitted | kMarkPicked)) != 0;
}

// A menu caption shows '&' as the accelerator's mark; titles and labels mean the character.
std::string literal(std::string text)
{
    for (std::size_t i = 0; (i = text.find('&', i)) != std::string::npos; i += 2) text.insert(i, 1, '&');
    return text;
}

// Whether every cell of a column (which 1) or row (which 0) counts as selected: on a collapsed other axis only its
// one cell.
bool lineFull(const CSheet& s, bool column, int index)
{
    const CAxe& other = column ? s.y : s.x;
    const int n = std::min(other.usedCount(), column ? kMaxRows : kMaxColumns);
    if (n <= 0) return false;
    for (int o = 0; o < n; ++o) {
        if (other.collapsed && o != other.collapsedIndex) continue;
        if (!marked(column ? s.sel.cellMark(index, o) : s.sel.cellMark(o, index))) return false;
    }
    return true;
}

}  // namespace

void TTab::BuildPopupMenu()
{
    TMenuItem& items = popup.Items();
    items.Clear();
    CSheet* sheet = Current();
    if (!sheet) return;
    const CAxe& X = sheet->x;
    const CAxe& Y = sheet->y;
    const TabLayout& L = layout;
    const int x = popupX = px, y = popupY = py;

    int kind = 0, s = 0, e = 0;
    SelectionSummary(kind, s, e);
    int K = 0;
    if (edit.active)
        K = edit.markStart >= 0 && edit.markEnd >= 0 && edit.markStart != edit.markEnd ? 1 : 0;
    else
        K = s > 0 ? 1 : 0;
    int P = PasteAvailability();
    int I = e > 0 && sheet->sel.rectangle ? 1 : 0;
    const int h = TSel::HitTest(visibleHits, x, y);
    const bool T = (drawnViews & kViewTable) && L.tableLeft < x && L.tableTop < y &&
                   x < L.shownColumns * L.cellWidth + L.cellsLeft + 16 &&
                   y < L.shownRows * L.cellHeight + L.cellsTop + 16;

    int IC = 0, IR = 0, DC = 0, DR = 0;
    if (h != 0 && requestedView == kViewTable) {
        const TSel& sel = sheet->sel;
        const int nx = std::min(X.usedCount(), kMaxColumns), ny = std::min(Y.usedCount(), kMaxRows);
        if (h & kHitCell) {
            IC = !X.collapsed && lineFull(*sheet, true, visibleHits.hitColumn) ? 1 : 0;
            IR = !Y.collapsed && lineFull(*sheet, false, visibleHits.hitRow) ? 1 : 0;
        }
        if (h & kHitColumnStrip) IC = 1;
        if (h & kHitRowStrip) IR = 1;
        if (sel.selKind == kSelXHeads) IC = 1;
        if (sel.selKind == kSelYHeads) IR = 1;
        if (sel.selKind == kSelCells) {
            for (int c = 0; c < nx && !X.collapsed; ++c) DC += lineFull(*sheet, true, c) ? 1 : 0;
            for (int r = 0; r < ny && !Y.collapsed; ++r) DR += lineFull(*sheet, false, r) ? 1 : 0;
        }
        if (h & kHitColumnStrip) DR = 0;
        if (h & kHitRowStrip) DC = 0;
        if (sel.selKind == kSelXHeads) DC = s;
        if (sel.selKind == kSelYHeads) DR = s;
        if (DC == X.count) DC = 0;
        if (DR == Y.count) DR = 0;
    }
    if (!X.resizable) IC = DC = 0;
    if (!Y.resizable) IR = DR = 0;
    if (popupTab > 0) {
        const CSheet& tabSheet = sheets[static_cast<std::size_t>(popupTab - 1)];
        K = 2;
        if (!(P & kClipSheetText) || !(tabSheet.x.editable || tabSheet.y.editable || tabSheet.data.editable)) P = 0;
        I = IC = IR = DC = DR = 0;
    }
    if (K == 1) K = 3;
    const int V =
        ((flagWord & kTabTableView) ? 1 : 0) + ((flagWord & kTabGraph2D) ? 1 : 0) + ((flagWord & kTabGraph3D) ? 1 : 0);
    int O = (X.collapseOption == 1 ? 1 : 0) + (Y.collapseOption == 1 ? 1 : 0);
    if (X.collapseOption == 2 || Y.collapseOption == 2) O = 0;
    const int width = backBuffer.Width(), height = backBuffer.Height();
    const bool G = graph.left <= x && x < width - graph.right && graph.top <= y && y < height - graph.bottom;
    if ((drawnViews & (kView2D | kView3D | kViewCheck)) && G) K |= 6;
    int views = V, options = O;
    if (!sheetShowsContent()) K = P = I = IC = IR = DC = DR = views = options = 0;

    auto add = [&](std::string caption, std::function<void()> action, bool checked = false) {
        TMenuItem* item = items.Add({}, caption);
        item->SetChecked(checked);
        item->OnClick = [action = std::move(action)](TObject*) { action(); };
        return item;
    };
    auto command = [this](int code) { return [this, code] { Command(code); }; };
    auto redrawAfter = [this](auto change) {
        return [this, change] {
            change();
            if (dirty && !painting) Redraw();
        };
    };

    if (sheet->flags & kSheetEnableBox) {
        const bool on = sheet->enabled && sheet->contentShown;
        add(pickText(on ? kDisableText : kEnableText) + " " + literal(pickText(sheet->title)), command(kCmdEnable));
        items.AddSeparator();
    }
    if (K & 1) add(pickText(kCopyText), command(kCmdCopy));
    if (K & 2) add(pickText(kCopyTableText), command(kCmdCopyTable));
    if (K & 4) add(pickText(kCopyGraphText), command(kCmdCopyGraph));
    if (P) add(pickText((P & kClipSheetText) ? kPasteTableText : kPasteText), command(kCmdPaste));
    if (K || P) items.AddSeparator();
    if (I) {
        add(pickText(kInterpolateText), command(kCmdInterpolate));
        items.AddSeparator();
    }
    if (IR)
        add(pickText(kInsertRowText), redrawAfter([this, y, h] {
                CSheet* current = Current();
                if (!current || current->y.collapsed || h == 0 || layout.cellHeight <= 0) return;
                InsertLine(kLineRows, current->y.firstVisible +
                                          static_cast<int>(std::trunc((y - layout.cellsTop + layout.cellHeight / 2) /
                                                                      layout.cellHeight)));
            }));
    if (IC)
        add(pickText(kInsertColumnText), redrawAfter([this, x, h] {
                CSheet* current = Current();
                if (!current || current->x.collapsed || h == 0 || layout.cellWidth <= 0) return;
                InsertLine(kLineColumns, current->x.firstVisible +
                                             static_cast<int>(std::trunc((x - layout.cellsLeft + layout.cellWidth / 2) /
                                                                         layout.cellWidth)));
            }));
    auto plural = [&](std::string_view one, std::string_view many, int n) {
        return n > 1 ? pickText(many) + " (" + std::to_string(n) + ")" : pickText(one);
    };
    if (DR) add(plural(kDeleteRowText, kDeleteRowsText, DR), [this] { DeleteSelectedLines(kLineRows); });
    if (DC) add(plural(kDeleteColumnText, kDeleteColumnsText, DC), [this] { DeleteSelectedLines(kLineColumns); });

    const bool tooBig =
        (!X.collapsed && X.usedCount() > L.shownColumns) || (!Y.collapsed && Y.usedCount() > L.shownRows);
    if (followSwitch && T && (flagWord & kTabSideBar) && tooBig) {
        items.AddSeparator();
        add(
            pickText(kAutoscrollText), [this] { *followSwitch = 1; }, *followSwitch != 0);
        add(
            pickText(kNoAutoscrollText), [this] { *followSwitch = 0; }, *followSwitch == 0);
    }
    if ((drawnViews & kView3D) && G) {
        items.AddSeparator();
        for (int i = 0; i < 3; ++i)
            add(pickText(kPresetTexts[i]), command(kCmdTop + i), buttons[static_cast<std::size_t>(kCmdTop + i)].down);
        items.AddSeparator();
        for (int i = 0; i < 6; ++i)
            add(pickText(kColouringTexts[i]), redrawAfter([this, i] {
                    graph.colouring = i;
                    dirty |= kDirtyRecompute;
                }),
                graph.colouring == i);
        items.AddSeparator();
        for (int i = 0; i < 4; ++i)
            add(pickText(kLabelTexts[i]), redrawAfter([this, i] {
                    graph.labelMode = i;
                    dirty |= kDirtyRecompute;
                }),
                graph.labelMode == i);
    }
    if (views > 1) {
        items.AddSeparator();
        for (int view = 0; view < 3; ++view)
            if (flagWord & (kTabTableView << view))
                add(pickText(kViewTexts[view]), redrawAfter([this, view] { SetView(kViewTable << view); }),
                    requestedView == (kViewTable << view));
    }
    if (options) {
        items.AddSeparator();
        const std::string xLabel = literal(pickText(X.label)), yLabel = literal(pickText(Y.label));
        if (Y.collapseOption == 1)
            add(pickText(kUseOnlyText) + " " + xLabel, command(kCmdOnlyX), !X.collapsed && Y.collapsed);
        if (X.collapseOption == 1)
            add(pickText(kUseOnlyText) + " " + yLabel, command(kCmdOnlyY), X.collapsed && !Y.collapsed);
        add(pickText(kUseText) + " " + xLabel + " " + pickText(kAndText) + " " + yLabel, command(kCmdBothXY),
            !X.collapsed && !Y.collapsed);
    }
}
