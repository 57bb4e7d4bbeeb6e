#pragma once
// A small settings page for the framework's tests, in the slot of the gear page: one bound control of every
// kind, laid out and bound as a real page's controls are. Its fields lie where the image repair leaves bytes
// alone (column 0 of the first injection map, the notes area).
#include "pages/pages.h"

// clang-format off
inline constexpr ControlRow kTestPageLayout[] = {
    {"GroupBoxTest",        ControlKind::GroupBox,   "TabSheet_Gear", 8,   8, 420, 330, "Test fields"},
    {"EditWordSigned",      ControlKind::Edit,       "GroupBoxTest", 150,  24, 70, 21},
    {"UpDownWordSigned",    ControlKind::UpDown,     "GroupBoxTest",   0,   0, 16, 21, {}, "EditWordSigned"},
    {"EditByteScaled",      ControlKind::Edit,       "GroupBoxTest", 150,  50, 70, 21},
    {"UpDownByteScaled",    ControlKind::UpDown,     "GroupBoxTest",   0,   0, 16, 21, {}, "EditByteScaled"},
    {"EditByteOffset",      ControlKind::Edit,       "GroupBoxTest", 150,  76, 70, 21},
    {"UpDownByteOffset",    ControlKind::UpDown,     "GroupBoxTest",   0,   0, 16, 21, {}, "EditByteOffset"},
    {"EditByteSigned",      ControlKind::Edit,       "GroupBoxTest", 150, 102, 70, 21},
    {"UpDownByteSigned",    ControlKind::UpDown,     "GroupBoxTest",   0,   0, 16, 21, {}, "EditByteSigned"},
    {"EditSignedScaled",    ControlKind::Edit,       "GroupBoxTest", 150, 128, 70, 21},
    {"UpDownSignedScaled",  ControlKind::UpDown,     "GroupBoxTest",   0,   0, 16, 21, {}, "EditSignedScaled"},
    {"EditTruncated",       ControlKind::Edit,       "GroupBoxTest", 150, 154, 70, 21},
    {"UpDownTruncated",     ControlKind::UpDown,     "GroupBoxTest",   0,   0, 16, 21, {}, "EditTruncated"},
    {"EditDeci",            ControlKind::DeciEdit,   "GroupBoxTest", 150, 180, 70, 21},
    {"UpDownDeci",          ControlKind::DeciUpDown, "GroupBoxTest",   0,   0, 16, 21, {}, "EditDeci"},
    {"CheckBoxFlag",        ControlKind::CheckBox,   "GroupBoxTest",  10, 210, 140, 19, "Flag"},
    {"ComboBoxTagged",      ControlKind::ComboBox,   "GroupBoxTest",  10, 236, 140, 23},
    {"ComboBoxIndexed",     ControlKind::ComboBox,   "GroupBoxTest", 160, 236, 140, 23},
    {"RadioGroupIndexed",   ControlKind::RadioGroup, "GroupBoxTest",  10, 266, 140, 58, "Mode"},
    {"RadioGroupTagged",    ControlKind::RadioGroup, "GroupBoxTest", 160, 266, 140, 58, "Source"},
};
inline constexpr FieldBinding kTestPageBindings[] = {
    // control              kind            address index          scale offset  min     max    incr  divisor
    {"UpDownWordSigned",    Bind::Word,      100,  kSignedIndex,    1,    0,   -32768, 32767,  1},
    {"UpDownByteScaled",    Bind::Byte,      2510, 0,             100,    0,      0,   25500, 100},
    {"UpDownByteOffset",    Bind::Byte,      2511, 0,               1, -100,   -100,    155,   1},
    {"UpDownByteSigned",    Bind::Byte,      2512, kSignedIndex,    1,    0,   -128,    127,   1},
    {"UpDownSignedScaled",  Bind::Byte,      2513, kSignedIndex,    2,    0,   -200,    200,   1},
    {"UpDownTruncated",     Bind::Byte,      2514, kSignedIndex,  100,    0, -12800,  12700,   1},
    {"UpDownDeci",          Bind::Word,      120,  0,               1,    0,      0,   1000,   1,   10},
    {"CheckBoxFlag",        Bind::Check,     2515},
    {"ComboBoxTagged",      Bind::ComboTag,  2516},
    {"ComboBoxIndexed",     Bind::ItemIndex, 2517},
    {"RadioGroupIndexed",   Bind::Radio,     2518},
    {"RadioGroupTagged",    Bind::RadioTag,  2519},
};
// clang-format on

inline void BuildTestPage(TPageForm& w)
{
    auto* tagged = FindControl<TComboBox>(w, "ComboBoxTagged");
    tagged->AddItem("Model 11", 11);
    tagged->AddItem("Model 22", 22);
    tagged->AddItem("Model 7", 7);
    auto* indexed = FindControl<TComboBox>(w, "ComboBoxIndexed");
    indexed->AddItem("First", 0);
    indexed->AddItem("Second", 0);
    FindControl<TRadioGroup>(w, "RadioGroupIndexed")->SetItems({"A", "B"});
    auto* source = FindControl<TRadioGroup>(w, "RadioGroupTagged");
    source->AddItem("TP", 0);
    source->AddItem("IAP", 5);
}
inline void StoreTestPage(TPageForm& w)
{
    if (w.settingGuard == 0) StoreBindings(w, PAGE_GEAR);
}
inline void ShowTestPage(TPageForm& w)
{
    ShowBindings(w, PAGE_GEAR);
}

inline constexpr PageModule kTestPage{.sheetName = "TabSheet_Gear",
                                      .caption = "Gear",
                                      .layout = kTestPageLayout,
                                      .bindings = kTestPageBindings,
                                      .build = BuildTestPage,
                                      .store = StoreTestPage,
                                      .show = ShowTestPage};

// Puts the test page into the gear page's slot of a window whose pages are built already, as its start would have.
inline void InstallTestPage(TPageForm& w)
{
    w.pageModules[PAGE_GEAR] = &kTestPage;
    LayOutPage(w, PAGE_GEAR);
    for (std::string& problem : ResolveBindings(w, PAGE_GEAR))
        w.pageBuildProblems.push_back(std::move(problem));
    BuildTestPage(w);
    ShowImageOnPages(w, 1);
}
