// The page framework's dispatch: the changed block to read again, the sheets a re-read refreshes, the order of
// the shows, what a store on a page without settings does, and page messages at most once per image.
#include <gtest/gtest.h>

#include "mapeditor/tab.h"
#include "pagefixture.h"
#include "pages/mapside.h"
#include "vcl/dialogs.h"

namespace {

// A map editor with sheets of the page's shapes, as its page will make it.
std::unique_ptr<TTab> editor(TPageForm& w, int page, std::initializer_list<std::pair<int, int>> shapes)
{
    auto tab = std::make_unique<TTab>(w.tabSheets[std::size_t(page)]->ClientWidget(), 500, 300, 0x71);
    for (const auto& [columns, rows] : shapes) tab->AddSheet("###Sheet", "X", "Y", "V", columns, rows, 0);
    tab->dirty = 0;
    return tab;
}

std::vector<int> g_calls;  // pages whose recorded function ran, in order

template <int Page>
void record(TPageForm&)
{
    g_calls.push_back(Page);
}

// Every page's module as built, with its show and store recorded.
template <std::size_t... P>
std::array<PageModule, kPageCount + 1> recordingModules(std::index_sequence<P...>)
{
    std::array<PageModule, kPageCount + 1> modules{*kPageModules[P]...};
    ((modules[P].show = record<int(P)>, modules[P].store = record<int(P)>), ...);
    return modules;
}
const std::array<PageModule, kPageCount + 1> kRecording = recordingModules(std::make_index_sequence<kPageCount + 1>());

class Framework : public PagesTest
{
protected:
    void useRecordingModules()
    {
        for (std::size_t p = 0; p < kRecording.size(); ++p) w.pageModules[p] = &kRecording[p];
        g_calls.clear();
    }
};

}  // namespace

TEST_F(Framework, ChangedBlockToReadAgain)
{
    Build();
    struct Case
    {
        int mask;
        int page;
        int block;  // 0-based; -1: the live request instead
    };
    const Case cases[] = {
        {0x0201, PAGE_ADVANCE, 9},  {0x0201, PAGE_BIKE, 0},     {0x0200, PAGE_INJECTION, 9},
        {0x8000, PAGE_ADVANCE, 15}, {0x0000, PAGE_ADVANCE, -1}, {0x0006, PAGE_IDLE, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mask);
        w.currentPage = c.page;
        EXPECT_EQ(RequestChangedBlock(w, c.mask), c.block);
    }
}

TEST_F(Framework, ReReadRefreshesTheSheetsOverItsBytesOnly)
{
    Build();
    auto advance = editor(w, PAGE_ADVANCE, {{15, 10}, {15, 10}});
    auto servo = editor(w, PAGE_SERVOS, {{15, 10}, {15, 10}});
    auto positionA = editor(w, PAGE_POSITION, {{15, 1}});
    auto positionB = editor(w, PAGE_POSITION, {{15, 1}});
    auto injection =
        editor(w, PAGE_INJECTION, {{20, 10}, {20, 10}, {20, 10}, {20, 10}, {20, 10}, {20, 10}, {20, 10}, {20, 10}});
    auto tuning = editor(w, PAGE_TUNING, {{5, 5}});
    w.mapEditors[kAdvanceEditorId] = advance.get();
    w.mapEditors[kServoEditorId] = servo.get();
    w.mapEditors[kPositionAEditorId] = positionA.get();
    w.mapEditors[kPositionBEditorId] = positionB.get();
    w.mapEditors[kInjectionEditorId] = injection.get();
    w.mapEditors[kTuningEditorId] = tuning.get();
    for (int i = 0; i < RS_LEN_EXE; ++i) w.images.image[std::size_t(i)] = std::uint8_t(i * 7 + 3);
    w.images.image[kImageLambdaNotation] = 0;  // the tuning map shows the stored AFR
    // Which editors were marked for a redraw since the last look.
    auto redraws = [&] {
        std::vector<int> marked;
        for (TTab* tab :
             {advance.get(), servo.get(), positionA.get(), positionB.get(), injection.get(), tuning.get()}) {
            marked.push_back(tab->dirty & kDirtyRedraw ? 1 : 0);
            tab->dirty = 0;
        }
        return marked;
    };
    auto cell = [](TTab& tab, int sheet, int column, int row) {
        return tab.sheets[std::size_t(sheet)].value(column, row);
    };

    // Block 10 (bytes 2700-2999) holds both advance maps.
    CopyImageRangeToMaps(w, 2700, 3000);
    EXPECT_EQ(redraws(), (std::vector<int>{1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(cell(*advance, 0, 0, 0), w.images.image[2785]);
    EXPECT_EQ(cell(*advance, 1, 14, 9), w.images.image[2935 + 149]);
    // Block 14 (bytes 3900-4199): injection position map B and servo sheet 1, nothing else.
    CopyImageRangeToMaps(w, 3900, 4200);
    EXPECT_EQ(redraws(), (std::vector<int>{0, 1, 0, 1, 0, 0}));
    EXPECT_EQ(cell(*servo, 1, 3, 2), w.images.image[4108 + 2 * 15 + 3]);
    EXPECT_EQ(cell(*servo, 0, 3, 2), 0);
    EXPECT_EQ(cell(*positionB, 0, 14, 0), w.images.image[3904]);
    // Block 1 (bytes 0-299): injection map 1 in words, shown times 10; the whole sheet takes the image, the part
    // in the next block too.
    CopyImageRangeToMaps(w, 0, 300);
    EXPECT_EQ(redraws(), (std::vector<int>{0, 0, 0, 0, 1, 0}));
    EXPECT_EQ(cell(*injection, 0, 1, 0), imageWord(w.images.image, 1) * 10);
    EXPECT_EQ(cell(*injection, 0, 19, 9), imageWord(w.images.image, 199) * 10);
    EXPECT_EQ(cell(*injection, 1, 0, 0), 0);
    // A re-read that brings the bytes the sheets show already marks no editor for redraw.
    CopyImageRangeToMaps(w, 2700, 3000);
    EXPECT_EQ(redraws(), (std::vector<int>{0, 0, 0, 0, 0, 0}));
    // Block 17's bytes: the tuning page shows its map again.
    CopyImageRangeToMaps(w, 4500, 4800);
    EXPECT_EQ(redraws(), (std::vector<int>{0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(cell(*tuning, 0, 4, 4), w.images.image[4587 + 24]);
}

TEST_F(Framework, ReReadOfTheLimitersShowsTheBikePage)
{
    useRecordingModules();
    Build();
    g_calls.clear();
    CopyImageRangeToMaps(w, 2400, 2700);  // block 9
    EXPECT_EQ(g_calls, std::vector<int>{PAGE_BIKE});
    g_calls.clear();
    CopyImageRangeToMaps(w, 2100, 2400);
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(Framework, ShowsRunInTheirOrderAndStoresOnTheCurrentPage)
{
    useRecordingModules();
    Build();
    g_calls.clear();
    ShowImageOnPages(w, 1);
    const std::vector<int> order = {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 9, 13, 14, 16, 17, 20, 21, kIndependentPage};
    EXPECT_EQ(g_calls, order);  // the idle page after the gear page, so that its layout of the clutch page wins

    g_calls.clear();
    SetPage(PAGE_MONITOR);
    StoreCurrentPage(w);
    ShowImageOnPages(w, 0);
    // The Monitor page keeps no settings: its real module has no store or show, so with it only the
    // page-independent ones run (recorded here through stand-ins).
    EXPECT_EQ(kPageModules[PAGE_MONITOR]->store, nullptr);
    EXPECT_EQ(kPageModules[PAGE_MONITOR]->show, nullptr);
    EXPECT_EQ(g_calls, (std::vector<int>{PAGE_MONITOR, kIndependentPage, PAGE_MONITOR, kIndependentPage}));
}

TEST_F(Framework, MapEditsReachTheirPageAndCommit)
{
    Build();
    EXPECT_EQ(PageOfMapEditor(w, 43), PAGE_BIKE);
    EXPECT_EQ(PageOfMapEditor(w, 18), PAGE_CORRECTIONS);
    EXPECT_EQ(PageOfMapEditor(w, 64), PAGE_POWER_OUT);
    EXPECT_EQ(PageOfMapEditor(w, 47), PAGE_MAINTENANCE);
    EXPECT_EQ(PageOfMapEditor(w, 30), -1);
    // Every editor id belongs to one page only.
    for (int id = 0; id < kMapEditorIds; ++id) {
        int owners = 0;
        for (int page = 0; page < kPageCount; ++page)
            for (int owned : kPageModules[std::size_t(page)]->editorIds) owners += owned == id;
        EXPECT_LE(owners, 1) << id;
    }
    // An edit in an editor whose page has no routine of its own is committed all the same.
    RefreshPageOfSheet(w, 23);
    EXPECT_EQ(commits, 1);
    w.initialised = 0;
    RefreshPageOfSheet(w, 23);
    EXPECT_EQ(commits, 1);
}

TEST_F(Framework, PageMessageAppearsOncePerImage)
{
    Build();
    vcl::ScopedDialogScript dialogs;
    ShowPageMessage(w, 43, "Settings not for required bike!");
    ShowPageMessage(w, 43, "Settings not for required bike!");
    EXPECT_EQ(dialogs.Messages().size(), 1u);
    ShowImageOnPages(w, 0);  // the same image on the current page
    ShowPageMessage(w, 43, "Settings not for required bike!");
    EXPECT_EQ(dialogs.Messages().size(), 1u);
    ShowImageOnPages(w, 1);  // an image shown on every page: a new one
    ShowPageMessage(w, 43, "Settings not for required bike!");
    EXPECT_EQ(dialogs.Messages().size(), 2u);
    // Never on top of a window that is open already.
    const vcl::ModalScope open;
    ShowImageOnPages(w, 1);
    ShowPageMessage(w, 43, "Settings not for required bike!");
    EXPECT_EQ(dialogs.Messages().size(), 2u);
}
