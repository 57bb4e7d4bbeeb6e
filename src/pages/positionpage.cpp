// The injection position page: for injector A and injector B, where in the engine cycle the injection pulse lies
// (crank angle over engine speed), and which point of the pulse that angle names (its beginning, centre or end).
#include "mapeditor/tab.h"
#include "pages/captions.h"
#include "pages/mapgrids.h"
#include "pages/mapsheets.h"
#include "pages/mapside.h"
#include "pages/modules.h"
#include "pages/pages.h"

namespace {

constexpr int kPoints = 15;
// Per injector: RPM points, then the positions (degrees / 5); A from 3845, B from 3875. Then the reference points.
constexpr int kRpmA = 3845, kRpmB = 3875;
constexpr int kReferenceA = 3905;  // 0 beginning, 1 centre, 2 end of the pulse; B at 3906
constexpr int kMapHeight = 210;

constexpr StepEntry kPositionSteps[] = {{45, 15, 5, 5, 15}, {180, 45, 45, 15, 45}, {360, 45, 45, 45, 90}, {720, 90, 90, 90, 180}};

constexpr AxisSetup kRpmAxis{.name = "RPM", .min = 3, .max = 250, .scale = 100.0, .steps = kRpmSteps,
                             .count = kPoints, .collapseOption = 0, .resizable = 0, .collapsePos = kCollapseFirst,
                             .colour = 0xFCE2F4};
// One row only, always collapsed.
constexpr AxisSetup kNoAxis{.name = "no", .min = 0, .max = 100, .editable = 0, .options = 0, .count = 1,
                            .collapseOption = 2, .collapsed = 1, .resizable = 0, .collapsePos = kCollapseLast,
                            .colour = 0xFCE2F4};
constexpr AxisSetup kPositionData{.name = "Position", .unit = "°", .min = 0, .max = 150, .scale = 5.0,
                                  .steps = kPositionSteps, .options = 2, .colour = 0xFCE2F4};

constexpr SheetSpec kSheetA[] = {
    {"Position of Injection A", "RPM", "TP", "Position", kPoints, 1, 0x4601, kRpmAxis, kNoAxis, kPositionData}};
constexpr SheetSpec kSheetB[] = {
    {"Position of Injection B", "RPM", "TP", "Position", kPoints, 1, 0x4601, kRpmAxis, kNoAxis, kPositionData}};

constexpr int kPositionEditors[] = {kPositionAEditorId, kPositionBEditorId};

struct Injector
{
    int editorId;
    int rpm;
    int reference;
    const GridBinding& grid;
};
const Injector kInjectors[] = {
    {kPositionAEditorId, kRpmA, kReferenceA, kPositionGrids[0]},
    {kPositionBEditorId, kRpmB, kReferenceA + 1, kPositionGrids[1]},
};

CSheet* sheetOf(TPageForm& w, const Injector& injector)
{
    TTab* tab = MapEditor(w, injector.editorId);
    return tab && tab->sheetCount > 0 ? &tab->sheets[0] : nullptr;
}

void ShowInjPositionPage(TPageForm& w)
{
    const Image& image = w.images.image;
    for (const Injector& injector : kInjectors) {
        TTab* tab = MapEditor(w, injector.editorId);
        CSheet* sheet = sheetOf(w, injector);
        if (!sheet) continue;
        tab->positionMode = image[std::size_t(injector.reference)];
        tab->SyncPositionButtons();
        sheet->x.count = kPoints;
        sheet->y.collapsed = 1;
        for (int j = 0; j < kPoints; ++j) sheet->x.points[std::size_t(j)] = image[std::size_t(injector.rpm + j)];
        ShowGrid(w, injector.grid);
        tab->UpdateLimits(*sheet, 0x107);
        tab->dirty |= kDirtyRedraw | kDirtyRecompute;
    }
}

void StoreInjPositionPage(TPageForm& w)
{
    if (w.settingGuard != 0) return;
    Image& image = w.images.image;
    for (const Injector& injector : kInjectors) {
        TTab* tab = MapEditor(w, injector.editorId);
        const CSheet* sheet = sheetOf(w, injector);
        if (!sheet) continue;
        image[std::size_t(injector.reference)] = static_cast<std::uint8_t>(tab->positionMode);
        for (int j = 0; j < kPoints; ++j)
            image[std::size_t(injector.rpm + j)] = static_cast<std::uint8_t>(sheet->x.points[std::size_t(j)]);
        StoreGrid(w, injector.grid);
    }
}

void BuildInjPositionPage(TPageForm& w)
{
    TTabSheet* page = w.tabSheets[PAGE_POSITION];
    const int width = kDesignPageWidth;
    int top = 0;
    for (const auto& [id, sheets] : {std::pair{kPositionAEditorId, std::span<const SheetSpec>(kSheetA)},
                                     std::pair{kPositionBEditorId, std::span<const SheetSpec>(kSheetB)}}) {
        TTab* tab = CreateMapEditor(w, id, width, kMapHeight,
                                    kTabSideBar | kTabTableView | kTabTitleStrip | kTabPositionButtons, page);
        if (!tab) continue;
        tab->SetBounds(0, top, width, kMapHeight);
        tab->layout.visibleRows = 5;
        AddSheets(*tab, sheets);
        tab->SelectSheet(0);
        top += kMapHeight;
    }
}

constexpr CaptionRow kPositionCaptions[] = {
    {"TabSheet_Position", {"Position", "Lage", "Poloha"}},
};

void InjPositionPageCaptions(TPageForm& w)
{
    ApplyCaptions(w, kPositionCaptions);
}

void InjPositionMapChanged(TPageForm& w, int)
{
    CommitChangeNow(w);
}

}  // namespace

extern const PageModule kPositionPage{
    .sheetName = "TabSheet_Position",
    .caption = "Position",
    .runTimeSheet = true,
    .grids = kPositionGrids,
    .editorIds = kPositionEditors,
    .build = BuildInjPositionPage,
    .store = StoreInjPositionPage,
    .show = ShowInjPositionPage,
    .captions = InjPositionPageCaptions,
    .mapChanged = InjPositionMapChanged,
};
