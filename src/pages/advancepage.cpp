// The advance page: the two ignition advance maps over RPM and a load axis (throttle or intake pressure), the base
// advance in force below a map's first RPM point, a correction per cylinder and the pickup correction.
#include <string>

#include "os/lngtext.h"
#include "mapeditor/tab.h"
#include "pages/captions.h"
#include "pages/creators.h"
#include "pages/mapgrids.h"
#include "pages/mapside.h"
#include "pages/mapsheets.h"
#include "pages/modules.h"
#include "pages/pages.h"
#include "pages/pagetext.h"

namespace {

constexpr int kXBase = 2755;       // RPM points of advance 1, then 15 on those of advance 2
constexpr int kLoadKind = 3085;    // per map: 0 throttle, 1 intake pressure
constexpr int kLoadUsed = 3087;    // per map: 1 the map uses its load axis
constexpr int kPointCount = 3089;  // per map: RPM points in use
constexpr int kBaseAdvance = 3095;
constexpr int kIapWords = 1001;  // per map 10 words of intake pressure points, advance 2 from word 1011
constexpr int kChannels = 2680;
constexpr int kColumns = 15, kRows = 10;

constexpr CaptionRow kAdvanceCaptions[] = {
    {"TabSheet_Advance", {"Advance", "Vorzündung", "Předstih"}},
};
constexpr std::string_view kPickupText = "###Advance PickUp correction####PickUp korekce předstihu";
constexpr std::string_view kBaseText = "###Base advance (°)##Base advance (°)##Základní předstih (°)";

// Two rows under the map: the base advance and the pickup correction, then the cylinder corrections; labels 4 px
// lower than their pairs. The load-axis group stands right of both rows.
constexpr int kRowTop = kDesignPageHeight - 52;
constexpr int kRow2Top = kDesignPageHeight - 26;
constexpr int kMapHeight = kDesignPageHeight - 56;

// clang-format off
constexpr ControlRow kAdvanceLayout[] = {
    // name                  kind                     parent              left top       width height caption
    {"EditAdvBase",          ControlKind::Edit,       "TabSheet_Advance",  10, kRowTop,    30, 21},
    {"UpDownAdvBase",        ControlKind::UpDown,     "TabSheet_Advance",   0, 0,          16, 21, {}, "EditAdvBase"},
    {"LabelAdvBase",         ControlKind::Label,      "TabSheet_Advance",  60, kRowTop + 4, 100, 17, "Base advance (°)"},
    {"EditAdvPickup",        ControlKind::Edit,       "TabSheet_Advance",   0, kRowTop,    30, 21},
    {"UpDownAdvPickup",      ControlKind::UpDown,     "TabSheet_Advance",   0, 0,          16, 21, {}, "EditAdvPickup"},
    {"LabelAdvPickup",       ControlKind::Label,      "TabSheet_Advance",   0, kRowTop + 4, 100, 17, "Advance PickUp correction"},
    {"EditAdvCyl1",          ControlKind::Edit,       "TabSheet_Advance",   0, kRow2Top,   30, 21},
    {"UpDownAdvCyl1",        ControlKind::UpDown,     "TabSheet_Advance",   0, 0,          16, 21, {}, "EditAdvCyl1"},
    {"EditAdvCyl2",          ControlKind::Edit,       "TabSheet_Advance",   0, kRow2Top,   30, 21},
    {"UpDownAdvCyl2",        ControlKind::UpDown,     "TabSheet_Advance",   0, 0,          16, 21, {}, "EditAdvCyl2"},
    {"EditAdvCyl3",          ControlKind::Edit,       "TabSheet_Advance",   0, kRow2Top,   30, 21},
    {"UpDownAdvCyl3",        ControlKind::UpDown,     "TabSheet_Advance",   0, 0,          16, 21, {}, "EditAdvCyl3"},
    {"EditAdvCyl4",          ControlKind::Edit,       "TabSheet_Advance",   0, kRow2Top,   30, 21},
    {"UpDownAdvCyl4",        ControlKind::UpDown,     "TabSheet_Advance",   0, 0,          16, 21, {}, "EditAdvCyl4"},
    {"LabelAdvCylinders",    ControlKind::Label,      "TabSheet_Advance",   0, kRow2Top + 4, 100, 17, "Correction for cylinder 1,2,3,4"},
    {"RadioGroupAdvLoad",    ControlKind::RadioGroup, "TabSheet_Advance", kDesignPageWidth - 120, kDesignPageHeight - 50, 110, 44},
};

constexpr FieldBinding kAdvanceBindings[] = {
    // control          kind        address index scale offset  min  max
    {"UpDownAdvBase",   Bind::Byte, 3095,   0,    1,      0,    0,  60},
    {"UpDownAdvCyl1",   Bind::Byte, 3091,   0,    1,   -100,  -15,  15},
    {"UpDownAdvCyl2",   Bind::Byte, 3092,   0,    1,   -100,  -15,  15},
    {"UpDownAdvCyl3",   Bind::Byte, 3093,   0,    1,   -100,  -15,  15},
    {"UpDownAdvCyl4",   Bind::Byte, 3094,   0,    1,   -100,  -15,  15},
    {"UpDownAdvPickup", Bind::Byte, 3096,   0,    1,      0,    0,  24},
};

constexpr AxisSetup kRpmAxis{.name = "RPM", .min = 3, .max = 250, .scale = 100.0, .steps = kRpmSteps, .count = kColumns,
                             .collapseOption = 0, .collapsePos = kCollapseFirst, .scaleGroup = 0x100,
                             .colour = 0xFCE2F4};
constexpr AxisSetup kTpLoadAxis{.name = "TP", .unit = "%", .min = 0, .max = 100, .editable = 0, .count = kRows,
                                .collapseOption = 1, .resizable = 0, .collapsePos = kCollapseLast,
                                .scaleGroup = 0x100, .colour = 0xFCE2F4};
constexpr AxisSetup kAdvanceData{.name = "ADV", .unit = "°", .min = 0, .max = 60, .steps = kAdvanceSteps,
                                 .options = 2, .scaleGroup = 0x100, .colour = 0xFCE2F4};

constexpr SheetSpec kAdvanceSheets[] = {
    {"###Advance 1##Vorzündung 1##Předstih 1", "RPM", "TP", "###Advance##Vorzündung##Předstih", kColumns, kRows,
     0x701, kRpmAxis, kTpLoadAxis, kAdvanceData, 0x0000FF, 0xFFC0C0, 0xFF00C0},
    {"###Advance 2##Vorzündung 2##Předstih 2", "RPM", "TP", "###Advance##Vorzündung##Předstih", kColumns, kRows,
     0x701, kRpmAxis, kTpLoadAxis, kAdvanceData, 0xFF0000, 0xA0C0FF, 0xC000FF},
};
// clang-format on

constexpr int kAdvanceEditors[] = {kAdvanceEditorId};

TTab* editor(TPageForm& w)
{
    return MapEditor(w, kAdvanceEditorId);
}

int pointCount(int stored)
{
    return stored == 0 || stored > kColumns ? kColumns : stored;
}

int currentSheet(TPageForm& w)
{
    TTab* tab = editor(w);
    return tab && tab->current == 1 ? 1 : 0;
}

// The x of each control follows the captions before it, so that no control covers a longer caption: after a
// label the next control starts 20 px on; the cylinder pairs stand 50 px apart.
void placeRow(TPageForm& w)
{
    int x = 10;
    auto pair = [&](std::string_view upDownName, int top) {
        if (auto* upDown = FindControl<TUpDown>(w, upDownName)) {
            PlaceEditPair(upDown, x, top, upDown->Min(), upDown->Max(), upDown->Increment(), 30);
            x += 50;
        }
    };
    auto label = [&](std::string_view name) {
        if (auto* l = FindControl<TLabel>(w, name)) {
            l->SetLeft(x);
            x = l->Left() + l->Width() + 20;
        }
    };
    pair("UpDownAdvBase", kRowTop);
    label("LabelAdvBase");
    x += 20;
    pair("UpDownAdvPickup", kRowTop);
    label("LabelAdvPickup");
    x = 10;
    for (const char* cylinder : {"UpDownAdvCyl1", "UpDownAdvCyl2", "UpDownAdvCyl3", "UpDownAdvCyl4"})
        pair(cylinder, kRow2Top);
    label("LabelAdvCylinders");
}

void AdvancePageCaptions(TPageForm& w)
{
    ApplyCaptions(w, kAdvanceCaptions);
    if (auto* l = FindControl<TLabel>(w, "LabelAdvCylinders")) l->SetCaption(CylinderCorrectionText(w.images.image));
    if (auto* l = FindControl<TLabel>(w, "LabelAdvPickup")) l->SetCaption(GetLngText(kPickupText));
    if (auto* l = FindControl<TLabel>(w, "LabelAdvBase")) l->SetCaption(GetLngText(kBaseText));
    placeRow(w);
}

// A map's load axis: intake pressure points from the image, editable, or the fixed throttle axis.
void setLoadAxis(CSheet& sheet, bool iap)
{
    sheet.y.name = iap ? "IAP" : "TP";
    sheet.y.label = sheet.y.name;
    sheet.y.unit = iap ? "kPa" : "%";
    sheet.y.min = 0;
    sheet.y.max = iap ? 999 : 100;
    sheet.y.editable = iap ? 1 : 0;
}

void AdvancePageLayout(TPageForm& w)
{
    const Image& image = w.images.image;
    for (const char* name : {"EditAdvBase", "UpDownAdvBase", "LabelAdvBase", "LabelAdvCylinders"})
        if (auto* c = FindControl<TControl>(w, name)) c->SetVisible(true);
    for (int n = 1; n <= 4; ++n)
        for (const std::string& name : {"EditAdvCyl" + std::to_string(n), "UpDownAdvCyl" + std::to_string(n)})
            if (auto* c = FindControl<TControl>(w, name)) c->SetVisible(image[kChannels] >= n);
    // The cylinder label lists the cylinders in use.
    if (auto* l = FindControl<TLabel>(w, "LabelAdvCylinders")) l->SetCaption(CylinderCorrectionText(image));
    if (TTab* tab = editor(w))
        for (int s = 0; s < 2; ++s) setLoadAxis(tab->sheets[std::size_t(s)], image[kLoadKind + s] != 0);
}

void showRadio(TPageForm& w)
{
    ShowRadio(w, FindControl<TRadioGroup>(w, "RadioGroupAdvLoad"), kLoadKind, currentSheet(w));
}

void ShowAdvancePage(TPageForm& w)
{
    const Image& image = w.images.image;
    ShowBindings(w, PAGE_ADVANCE);
    showRadio(w);
    TTab* tab = editor(w);
    if (!tab || tab->sheetCount < 2) return;
    tab->guides.baseAdvance = image[kBaseAdvance];
    for (int s = 0; s < 2; ++s) {
        const int other = 1 - s;
        CSheet& sheet = tab->sheets[std::size_t(s)];
        // The 2-D graph draws the other map as a comparison curve.
        sheet.x.comparePoints.resize(kMaxColumns);
        sheet.data.comparePoints.resize(kGridCells);
        sheet.x.count = kColumns;
        sheet.y.count = kRows;
        sheet.x.collapsed = 0;
        sheet.y.collapsed = image[kLoadUsed + s] == 0 ? 1 : 0;
        for (int j = 0; j < kColumns; ++j) {
            sheet.x.points[std::size_t(j)] = image[std::size_t(kXBase + kColumns * s + j)];
            sheet.x.comparePoints[std::size_t(j)] = image[std::size_t(kXBase + kColumns * other + j)];
        }
        ShowGrid(w, kAdvanceGrids[s]);
        const GridBinding& otherGrid = kAdvanceGrids[other];
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kColumns; ++c)
                sheet.data.comparePoints[std::size_t(gridIndex(c, r))] =
                    image[std::size_t(otherGrid.address + kColumns * r + c)];
        sheet.x.count = pointCount(image[kPointCount + s]);
        sheet.x.compareCount = pointCount(image[kPointCount + other]);
        for (int j = 0; j < kRows; ++j)
            sheet.y.points[std::size_t(j)] =
                image[kLoadKind + s] != 0 ? imageWord(image, kIapWords + 10 * s + j) : kTpAxis[j];
    }
    AdvancePageLayout(w);
    tab->BuildSideBar();
    tab->dirty |= kDirtyRedraw | kDirtyRecompute;
}

void StoreAdvancePage(TPageForm& w)
{
    if (w.settingGuard != 0) return;
    Image& image = w.images.image;
    StoreBindings(w, PAGE_ADVANCE);
    if (TTab* tab = editor(w); tab && tab->sheetCount >= 2) {
        for (int s = 0; s < 2; ++s) {
            const CSheet& sheet = tab->sheets[std::size_t(s)];
            const int n = pointCount(sheet.x.count);
            for (int j = 0; j < kColumns; ++j)
                image[std::size_t(kXBase + kColumns * s + j)] = static_cast<std::uint8_t>(sheet.x.points[std::size_t(j)]);
            StoreGrid(w, kAdvanceGrids[s]);
            PadGridColumns(w, kAdvanceGrids[s], n);
            image[std::size_t(kPointCount + s)] = static_cast<std::uint8_t>(n);
            image[std::size_t(kLoadUsed + s)] = sheet.y.collapsed ? 0 : 1;
            // The pressure points are kept only while the map uses them; the kind byte as it was before this store.
            if (image[std::size_t(kLoadKind + s)] != 0)
                for (int j = 0; j < kRows; ++j)
                    setImageWord(image, kIapWords + 10 * s + j, static_cast<std::uint16_t>(sheet.y.points[std::size_t(j)]));
        }
        if (tab->guides.baseAdvance != image[kBaseAdvance]) w.tabList.guideRefresh |= 1;
    }
    StoreRadio(w, FindControl<TRadioGroup>(w, "RadioGroupAdvLoad"), kLoadKind, currentSheet(w));
}

void BuildAdvancePage(TPageForm& w)
{
    if (auto* group = FindControl<TRadioGroup>(w, "RadioGroupAdvLoad")) {
        group->SetItems(SplitItemList("TP,IAP"));
        group->SetColumns(2);
        group->OnClick = [&w](TObject* s) { FormCheckBoxClick(w, s); };
    }
    for (const char* name : {"LabelAdvBase", "LabelAdvCylinders", "LabelAdvPickup"})
        if (auto* l = FindControl<TLabel>(w, name)) l->SetAutoSize(true);
    TTabSheet* page = w.tabSheets[PAGE_ADVANCE];
    TTab* tab = CreateMapEditor(w, kAdvanceEditorId, kDesignPageWidth, kMapHeight,
                                kTabSideBar | kTabTableView | kTabGraph2D | kTabGraph3D, page);
    if (tab) {
        tab->SetBounds(0, 0, kDesignPageWidth, kMapHeight);
        AddSheets(*tab, kAdvanceSheets);
        tab->SelectSheet(0);
        if (tab->sheetCount > 1) tab->UpdateLimits(tab->sheets[1], 0x107);
        tab->SelectSheet(0);
    }
    AdvancePageCaptions(w);
    ShowAdvancePage(w);
}

void TickAdvancePage(TPageForm& w)
{
    TTab* tab = editor(w);
    auto* label = FindControl<TLabel>(w, "LabelAdvBase");
    const CSheet* sheet = tab ? tab->Current() : nullptr;
    if (!label || !sheet) return;
    // Below the map's first RPM point the base advance is in force.
    const TColor colour = sheet->x.points[0] * 100 > w.liveValues.rpm ? clLime : clBtnFace;
    if (label->Color() != colour) label->SetColor(colour);
}

void AdvanceMapChanged(TPageForm& w, int)
{
    ShowBinding(w, kAdvanceBindings[0], w.boundControls[PAGE_ADVANCE].empty() ? nullptr : w.boundControls[PAGE_ADVANCE][0]);
    showRadio(w);
    CommitChangeNow(w);
}

}  // namespace

extern const PageModule kAdvancePage{
    .sheetName = "TabSheet_Advance",
    .caption = "Advance",
    .runTimeSheet = true,
    .layout = kAdvanceLayout,
    .bindings = kAdvanceBindings,
    .grids = kAdvanceGrids,
    .editorIds = kAdvanceEditors,
    .build = BuildAdvancePage,
    .store = StoreAdvancePage,
    .show = ShowAdvancePage,
    .captions = AdvancePageCaptions,
    .tick = TickAdvancePage,
    .mapChanged = AdvanceMapChanged,
};
