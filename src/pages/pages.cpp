#include "pages/pages.h"

#include "mapeditor/sheetsync.h"
#include "mapeditor/tab.h"
#include "vcl/dialogs.h"

namespace {

// The builders run in this order: it puts each run-time sheet at its page number (the sheets before it exist
// by then) and fixes the order of the map editors in the main window's list.
constexpr int kBuildOrder[] = {
    kIndependentPage, PAGE_BIKE,    PAGE_SYNCHRO,  PAGE_ADVANCE,   PAGE_INJECTION, PAGE_POSITION, PAGE_CORRECTIONS,
    PAGE_INPUTS,      PAGE_SENSORS, PAGE_SERVOS,   PAGE_POWER_OUT, PAGE_RACE,      PAGE_GEAR,     PAGE_IDLE,
    PAGE_N2O,         PAGE_TUNING,  PAGE_TRACKING, PAGE_CRUISE,    PAGE_MONITOR,   PAGE_TEST,     PAGE_MAINTENANCE};
// The servo and idle pages' shows also lay out the clutch page; with this order the idle page's layout of it
// comes last.
constexpr int kShowOrder[] = {PAGE_BIKE,        PAGE_SYNCHRO, PAGE_ADVANCE, PAGE_INJECTION,  PAGE_POSITION,
                              PAGE_CORRECTIONS, PAGE_INPUTS,  PAGE_SENSORS, PAGE_SERVOS,     PAGE_POWER_OUT,
                              PAGE_RACE,        PAGE_GEAR,    PAGE_IDLE,    PAGE_N2O,        PAGE_TUNING,
                              PAGE_TRACKING,    PAGE_CRUISE,  PAGE_TEST,    PAGE_MAINTENANCE};

const PageModule* moduleOf(const TPageForm& w, int page)
{
    return page >= 0 && page <= kPageCount ? w.pageModules[std::size_t(page)] : nullptr;
}

template <class F>
void run(TPageForm& w, int page, F PageModule::*function)
{
    const PageModule* module = moduleOf(w, page);
    if (module && module->*function) (module->*function)(w);
}

void enterSheets(TPageForm& w)
{
    for (int page = 0; page < kPageCount; ++page) w.tabSheets[std::size_t(page)] = w.PageControl1->Page(page);
}

void note(TPageForm& w, std::vector<std::string> problems)
{
    for (std::string& p : problems) w.pageBuildProblems.push_back(std::move(p));
}

}  // namespace

TPageForm::TPageForm() : pageModules(kPageModules), injectionMemory(std::make_unique<LeaderMemory>()) {}

TPageForm::~TPageForm() = default;  // here, where the map editor control is a whole type

void LayOutPage(TPageForm& w, int page)
{
    const PageModule* module = moduleOf(w, page);
    if (!module) return;
    TControl* root = nullptr;
    if (page < kPageCount) {
        root = FindControl<TTabSheet>(w, module->sheetName);
        if (!root) {
            w.pageBuildProblems.push_back(std::string(module->sheetName) + ": no such sheet");
            return;
        }
    }
    note(w, BuildFormLayout(w, root, module->layout));
    if (page < kPageCount) WireSharedHandlers(w, module->layout);
}

void BuildPageControl(TPageForm& w, int left, int top)
{
    w.PageControl1 = w.Make<TPageControl>(nullptr, "PageControl1");
    w.PageControl1->SetLeft(left);
    w.PageControl1->SetTop(top);
    for (int page = 0; page < kPageCount; ++page) {
        const PageModule* module = moduleOf(w, page);
        if (!module || module->runTimeSheet) continue;
        TTabSheet* sheet = w.Make<TTabSheet>(w.PageControl1, std::string(module->sheetName));
        sheet->SetCaption(module->caption);
        // By page number; the run-time sheets between them come with BuildAllPages.
        w.tabSheets[std::size_t(page)] = sheet;
        LayOutPage(w, page);
    }
    // Sized once the tab row holds its tabs, whose height the sheets' size depends on.
    w.PageControl1->SetSheetClientSize(kDesignPageWidth, kDesignPageHeight);
    LayOutPage(w, kIndependentPage);
}

void BuildAllPages(TPageForm& w)
{
    enterSheets(w);
    for (int page : kBuildOrder) {
        const PageModule* module = moduleOf(w, page);
        if (!module) continue;
        if (module->runTimeSheet && !FindControl<TTabSheet>(w, module->sheetName)) {
            TTabSheet* sheet = w.Make<TTabSheet>(w.PageControl1, std::string(module->sheetName));
            sheet->SetCaption(module->caption);
            sheet->SetPageIndex(page);
            enterSheets(w);
            LayOutPage(w, page);
        }
        note(w, ResolveBindings(w, page));
        run(w, page, &PageModule::build);
    }
    enterSheets(w);
}

void StoreCurrentPage(TPageForm& w)
{
    run(w, w.currentPage, &PageModule::store);
    run(w, kIndependentPage, &PageModule::store);
}

void ShowPage(TPageForm& w, int page)
{
    run(w, page, &PageModule::show);
}

void ShowImageOnPages(TPageForm& w, int all)
{
    w.tabList.axisRefresh = true;
    if (all != 0) {
        w.pageMessagesShown.clear();
        for (int page : kShowOrder) run(w, page, &PageModule::show);
    } else {
        run(w, w.currentPage, &PageModule::show);
    }
    run(w, kIndependentPage, &PageModule::show);
}

void RefreshPages(TPageForm& w)
{
    StoreCurrentPage(w);
    w.repairState = NormalizeSettingsImage(w.images.image);
    ShowImageOnPages(w, 0);
    if (w.pageHooks.noteImageChangeAndProgram) w.pageHooks.noteImageChangeAndProgram();
}

void TickCurrentPage(TPageForm& w)
{
    run(w, w.currentPage, &PageModule::tick);
    run(w, kIndependentPage, &PageModule::tick);
}

void RefreshPageCaptions(TPageForm& w)
{
    for (int page = 0; page <= kPageCount; ++page) run(w, page, &PageModule::captions);
}

int RequestChangedBlock(const TPageForm& w, int mask)
{
    constexpr int kAdvanceBlock = 9;  // image bytes 2700-2999 hold both advance maps
    if (w.currentPage == PAGE_ADVANCE && (mask & (1 << kAdvanceBlock)) != 0) return kAdvanceBlock;
    for (int block = 0; block < 16; ++block)
        if ((mask & (1 << block)) != 0) return block;
    return -1;
}

void CopyImageRangeToMaps(TPageForm& w, int first, int end)
{
    for (int page = 0; page < kPageCount; ++page) {
        const PageModule* module = moduleOf(w, page);
        if (!module) continue;
        for (const GridBinding& grid : module->grids) {
            if (!grid.refreshedOnReread || GridEndByte(grid) <= first || end <= GridFirstByte(grid)) continue;
            if (ShowGrid(w, grid)) RequestMapRedraw(w, grid.editorId);
        }
        if (module->rereadShowFirst < module->rereadShowEnd && module->rereadShowFirst < end &&
            first < module->rereadShowEnd && module->show)
            module->show(w);
    }
}

int PageOfMapEditor(const TPageForm& w, int editorId)
{
    for (int page = 0; page < kPageCount; ++page)
        if (const PageModule* module = moduleOf(w, page))
            for (int id : module->editorIds)
                if (id == editorId) return page;
    return -1;
}

void RefreshPageOfSheet(TPageForm& w, int editorId)
{
    const PageModule* module = moduleOf(w, PageOfMapEditor(w, editorId));
    if (module && module->mapChanged) module->mapChanged(w, editorId);
    if (!w.initialised) return;
    RefreshPages(w);
    if (w.pageHooks.logPageRecord) w.pageHooks.logPageRecord();
}

void ShowPageMessage(TPageForm& w, int messageIndex, std::string_view text)
{
    if (vcl::ModalOpen() || w.pageMessagesShown.count(messageIndex) != 0) return;
    w.pageMessagesShown.insert(messageIndex);
    ShowMessage(text);
}
