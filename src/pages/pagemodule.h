#pragma once
// One settings page as data and functions: its tab sheet, its form description, its binding tables and the
// functions through which the framework reaches it. Adding a page's code means, in one file src/pages/<page>.cpp:
//
//   constexpr ControlRow kBikeLayout[] = {            // design-time controls, laid out at the design page size
//       {"GroupBoxLimiters", ControlKind::GroupBox, "TabSheet_Bike", 8, 8, 300, 120, "Limiters"},
//       {"EditLimiterA", ControlKind::Edit, "GroupBoxLimiters", 120, 24, 60, 21},
//       {"UpDownLimiterA", ControlKind::UpDown, "GroupBoxLimiters", 0, 0, 16, 21, {}, "EditLimiterA"},
//   };
//   constexpr FieldBinding kBikeBindings[] = {         // control <-> image field, with range and scale
//       {"UpDownLimiterA", Bind::Byte, 2660, 0, 100, 0, 300, 25000, 100},
//   };
//   void StoreBikePage(TPageForm& w) { if (w.settingGuard) return; StoreBindings(w, PAGE_BIKE); ... }
//   void ShowBikePage(TPageForm& w) { ShowBindings(w, PAGE_BIKE); ... }
//   extern const PageModule kBikePage = {.sheetName = "TabSheet_Bike", .caption = "Bike", .layout = kBikeLayout,
//       .bindings = kBikeBindings, .store = StoreBikePage, .show = ShowBikePage};
//
// and pointing the page's row of the module table (pagetable.cpp) at it.
#include <array>
#include <span>
#include <string_view>

#include "pages/binding.h"
#include "pages/mapgrids.h"
#include "vcl/formlayout.h"

class TPageForm;

struct PageModule
{
    std::string_view sheetName = {};  // the page's tab sheet
    std::string_view caption = {};    // its English tab caption, until the caption pass sets it
    bool runTimeSheet = false;        // made by BuildAllPages at its page number, not on the form
    // Controls laid out when the page's sheet is made: on the form for design sheets, at start for run-time ones.
    std::span<const ControlRow> layout = {};
    // Controls bound to image fields; found by name at build, their up-down ranges set from the rows.
    std::span<const FieldBinding> bindings = {};
    // Map sheets bound to image tables; the rows marked for it are refreshed after the unit changed their bytes.
    std::span<const GridBinding> grids = {};
    // Ids of the map editors the page makes; an edit in one of them runs the page's map-changed routine.
    std::span<const int> editorIds = {};
    // Image bytes [first, end) that the page shows outside its grids and that a re-read from the unit must show.
    int rereadShowFirst = 0;
    int rereadShowEnd = 0;

    void (*build)(TPageForm&) = nullptr;                     // once, after the layout and the bindings exist
    void (*store)(TPageForm&) = nullptr;                     // controls and sheets into the image
    void (*show)(TPageForm&) = nullptr;                      // the image into the controls and sheets
    void (*captions)(TPageForm&) = nullptr;                  // refills the lists that hold language texts
    void (*tick)(TPageForm&) = nullptr;                      // live update while the page is current
    void (*mapChanged)(TPageForm&, int editorId) = nullptr;  // after the user edited one of the page's sheets
};

// The modules the program is built with, by page number, then the page-independent one.
extern const std::array<const PageModule*, kPageCount + 1> kPageModules;
