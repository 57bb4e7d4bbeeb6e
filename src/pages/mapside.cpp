#include "pages/mapside.h"

#include <algorithm>

#include "link/ignlog.h"
#include "mapeditor/sheetsync.h"
#include "mapeditor/tab.h"
#include "pages/lambdascale.h"
#include "pages/mapgrids.h"
#include "pages/pages.h"
#include "settings/helpers.h"
#include "vcl/dialogs.h"

namespace {

bool injectionData(const TTab& editor)
{
    return editor.sheetCount > 0 && editor.sheets[0].data.name.find("INJ") != std::string::npos;
}

TTab* editorWithId(TPageForm& w, int id)
{
    return id >= 0 && id < kMapEditorIds ? w.mapEditors[static_cast<std::size_t>(id)] : nullptr;
}

// On the advance and injection pages, the page's own editor is the one the Tools menu works on.
TTab* focusedEditor(TPageForm& w)
{
    TTab* pageEditor = w.currentPage == PAGE_ADVANCE     ? editorWithId(w, kAdvanceEditorId)
                       : w.currentPage == PAGE_INJECTION ? editorWithId(w, kInjectionEditorId)
                                                         : nullptr;
    if (pageEditor) pageEditor->TakeFocus();
    for (const auto& editor : w.tabList.editors)
        if (editor->Focused()) return editor.get();
    return nullptr;
}

void copyInjectorCounts(Image& image)
{
    for (int k = 1; k < kInjectorSheets; ++k) image[static_cast<std::size_t>(kImageInjectionCount1 + k)] = image[kImageInjectionCount1];
}

}  // namespace

TTab* CreateMapEditor(TPageForm& w, int id, int width, int height, int flagWord, TControl* parent)
{
    TabList& list = w.tabList;
    if (static_cast<int>(list.editors.size()) >= kMaxMapEditors) {
        MessageBox(kTooManyTabsText, "Error", MB_OK | MB_ICONERROR);
        return nullptr;
    }
    auto editor = std::make_unique<TTab>(parent ? parent->ClientWidget() : nullptr, width, height, flagWord);
    TTab& tab = *editor;
    tab.id = id;
    tab.followSwitch = &list.followSwitch;
    tab.clipboardFormat = tab.clipboard->RegisterFormat(kSheetFormatName);
    tab.LoadBitmaps();
    tab.graph.colouring = 4;
    tab.hooks.mapEdited = [&w](TTab& t) { NotifyMapEdited(w, t); };
    tab.hooks.logFault = list.logFault;
    // Lambda-learning circles in the colours of the mixture gauge, from the image's thresholds and the colour table
    // as they are when drawn.
    tab.hooks.lambdaColour = [&w](int value) { return TColor{LambdaColor(w.images.image, w.lambdaColors, value)}; };
    LoadGuideValues(w, tab);
    if (id >= 0 && id < kMapEditorIds) w.mapEditors[static_cast<std::size_t>(id)] = &tab;
    list.editors.push_back(std::move(editor));
    list.guideRefresh = 1;
    list.axisRefresh = true;
    return &tab;
}

void LoadGuideValues(const TPageForm& w, TTab& editor)
{
    const Image& image = w.images.image;
    editor.guides.baseAdvance = image[kImageBaseAdvance];
    editor.guides.limiter = image[injectionData(editor) ? kImageInjectionLimiter : kImageLimiter] * 100;
    editor.guides.startLimiter = image[kImageStartLimiter] * 100;
}

void FeedLiveValuesToMapEditors(TPageForm& w, bool hasLiveData)
{
    const LiveValues& v = w.liveValues;
    TabLiveValues live;
    live.rpm = v.rpm;
    live.tp = v.tps / 10;
    const int gas = v.gasHandle / 10;
    live.iap = (v.iap + 5) / 10;
    live.tpShare = v.tpShare;
    live.tw = v.coolant == 0 ? 80 : v.coolant - 100;
    live.ta = v.air == 0 ? 50 : v.air - 100;
    live.tst = v.startChoke / 10;
    live.flags = (v.tpsError ? TabLiveValues::kLiveNoTp : 0) | (v.iapError ? TabLiveValues::kLiveNoIap : 0) |
                 (hasLiveData ? 0 : TabLiveValues::kLiveNone);
    live.mapMode = (v.map0UsesIap ? 0x10 : 0) | (v.map1UsesIap ? 0x20 : 0) | (v.secondAdvanceMap ? 0x01 : 0);
    const Image& image = w.images.image;
    const int lambda1 = image[kImageLambdaNotation] == 1 ? MixturePointShown(v.lambda[0], true) : v.lambda[0];

    TabList& list = w.tabList;
    for (const auto& editorPtr : list.editors) {
        TTab& editor = *editorPtr;
        if (list.axisRefresh)
            for (int i = 0; i < editor.sheetCount; ++i) {
                CSheet& sheet = editor.sheets[static_cast<std::size_t>(i)];
                if (!sheet.isAllocated()) continue;
                sheet.x.prevPoints = sheet.x.points;
                sheet.y.prevPoints = sheet.y.points;
            }
        if (list.guideRefresh != 0) {
            LoadGuideValues(w, editor);
            editor.dirty |= list.guideRefresh & (kDirtyRedraw | kDirtyRecompute);
        }
        if (editor.ready) {
            // Each editor keeps what it saw last (the previous RPM, TW and TA), so only the new values go in.
            TabLiveValues& e = editor.live;
            e.rpm = live.rpm;
            e.tp = live.tp;
            if (editor.id == kServoEditorId &&
                ((editor.current == 0 && v.throttleByServo) || (editor.current == 1 && v.secondTps)))
                e.tp = gas;
            e.iap = live.iap;
            e.tpShare = live.tpShare;
            e.mapMode = live.mapMode;
            e.ta = live.ta;
            e.tw = live.tw;
            e.tst = live.tst;
            e.flags = live.flags;
            if (CSheet* sheet = editor.Current()) sheet->liveValue = lambda1;
            if (editor.id == kInjectionEditorId) {
                const bool coupled = image[kImageInjectionMode] == 1;
                for (int i = 0; i < std::min(editor.sheetCount, kInjectorSheets + 2); ++i)
                    editor.sheets[static_cast<std::size_t>(i)].liveValue =
                        i < kInjectorSheets && !coupled ? v.lambda[static_cast<std::size_t>(i)] : v.lambda[0];
            }
            editor.Tick();
        }
        const CSheet* sheet = editor.Current();
        const int lambdaState = hasLiveData && sheet && (sheet->flags & kSheetLambdaBlock) ? kButtonEnabled : 0;
        CTabButton& button = editor.buttons[kCmdLambda];
        if (button.state != lambdaState) {
            button.state = lambdaState;
            editor.dirty |= kDirtyRedraw;
        }
    }
    list.guideRefresh = 0;
}

void StoreGuideValues(TPageForm& w, TTab& editor)
{
    Image& image = w.images.image;
    auto store = [&](int byte, std::int32_t value) {
        const auto low = static_cast<std::uint8_t>(value & 0xFF);
        if (image[static_cast<std::size_t>(byte)] == low) return;
        image[static_cast<std::size_t>(byte)] = low;
        w.tabList.guideRefresh |= 2;
    };
    store(kImageBaseAdvance, editor.guides.baseAdvance);
    store(kImageStartLimiter, editor.guides.startLimiter / 100);
    store(injectionData(editor) ? kImageInjectionLimiter : kImageLimiter, editor.guides.limiter / 100);
}

void NotifyMapEdited(TPageForm& w, TTab& editor)
{
    StoreGuideValues(w, editor);
    RefreshPageOfSheet(w, editor.id);
}

void InterpolateFocusedTab(TPageForm& w)
{
    if (TTab* editor = focusedEditor(w)) editor->Command(kCmdInterpolate);
}

void StepFocusedTab(TPageForm& w, int step)
{
    TTab* editor = focusedEditor(w);
    if (!editor) return;
    editor->StepSelection(step);
    if (editor->dirty) editor->Redraw();
}

void CopyInjectionSheets(TPageForm& w)
{
    copyInjectorCounts(w.images.image);
    TTab* editor = editorWithId(w, kInjectionEditorId);
    if (!editor) return;
    for (int k = 1; k < std::min(editor->sheetCount, kInjectorSheets); ++k)
        CopyLeaderPart(editor->sheets[0], editor->sheets[static_cast<std::size_t>(k)], kInjectorPoints, kInjectorRows);
    editor->dirty |= kDirtyRecompute;
}

void AlignInjectionSheets(TPageForm& w)
{
    copyInjectorCounts(w.images.image);
    TTab* editor = editorWithId(w, kInjectionEditorId);
    if (!editor) return;
    for (int k = 1; k < std::min(editor->sheetCount, kInjectorSheets); ++k) {
        CSheet& follower = editor->sheets[static_cast<std::size_t>(k)];
        ResampleOntoLeader(editor->sheets[0], follower);
        editor->UpdateLimits(follower, kChangedData);
    }
    editor->dirty |= kDirtyRecompute;
}

void FillEditorSheets(const TPageForm& w, LogPage& page)
{
    const auto& editors = w.tabList.editors;
    for (std::size_t j = 0; j < editors.size() && j < page.editorIds.size(); ++j) {
        page.editorIds[j] = static_cast<std::uint8_t>(editors[j]->id);
        page.sheets[j] = editors[j]->current >= 0 ? static_cast<std::uint8_t>(editors[j]->current) : 255;
    }
}

void SelectRecordedSheets(TPageForm& w, const LogPage& page)
{
    // The record's places follow the editors' order and its unused places read id 0, sheet 0: only an editor's
    // first place is its own, or the editor with id 0 would be put back on sheet 0 by every unused place.
    for (const auto& editor : w.tabList.editors)
        for (std::size_t j = 0; j < page.editorIds.size(); ++j)
            if (page.editorIds[j] == editor->id) {
                if (page.sheets[j] != editor->current && page.sheets[j] != 255) editor->SelectSheet(page.sheets[j]);
                break;
            }
}
