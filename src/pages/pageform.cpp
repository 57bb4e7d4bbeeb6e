#include "pages/pageform.h"

namespace {

struct RunTimeSheet {
    int page;
    const char* name;
    const char* caption;
};

// Sheets the page builders add at run time, in the order that gives them these page numbers.
constexpr RunTimeSheet kRunTimeSheets[] = {
    {PAGE_ADVANCE, "TabSheet_Advance", "Advance"},
    {PAGE_INJECTION, "TabSheet_Injection", "Injection"},
    {PAGE_POSITION, "TabSheet_Position", "Position"},
    {PAGE_SERVOS, "TabSheet_Servo", "Servo"},
};

}  // namespace

TPageForm::TPageForm() = default;

void BuildAllPages(TPageForm& w)
{
    for (const RunTimeSheet& sheet : kRunTimeSheets) {
        TTabSheet* tab = w.Make<TTabSheet>(w.PageControl1, sheet.name);
        tab->SetCaption(sheet.caption);
        tab->SetPageIndex(sheet.page);
    }
    for (int page = 0; page < kPageCount; ++page)
        w.tabSheets[std::size_t(page)] = w.PageControl1->Page(page);
}

void ShowImageOnPages(TPageForm&, int) {}

void StoreCurrentPage(TPageForm&) {}

void RefreshPages(TPageForm& w)
{
    StoreCurrentPage(w);
    w.repairState = NormalizeSettingsImage(w.images.image);
    ShowImageOnPages(w, 0);
    if (w.pageHooks.noteImageChangeAndProgram)
        w.pageHooks.noteImageChangeAndProgram();
}

void CommitChangeNow(TPageForm& w)
{
    w.pendingChangeTick = 0;
    RefreshPages(w);
}

void CommitDueChange(TPageForm& w)
{
    if (w.pendingChangeTick != 0 && w.tickCounter >= w.pendingChangeTick)
        CommitChangeNow(w);
}

void TickCurrentPage(TPageForm&) {}

void PageControlChanged(TPageForm& w)
{
    w.currentPage = w.PageControl1->ActivePageIndex();
    ShowImageOnPages(w, 0);
}
