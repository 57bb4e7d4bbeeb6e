// The controls beside the page control that belong to no page: the mixture gauge with its colour scale and range
// bars, the pickup labels, the external monitor switch and the test-value labels. Their builder, store, show and
// tick run with every page.
#include <string>

#include "pages/lambdascale.h"
#include "pages/modules.h"
#include "vcl/image.h"

namespace {

// A column right of the page control, level with the top of its sheets.
constexpr int kLeft = 874;
constexpr int kWidth = 190;
constexpr int kHalf = 92;

// clang-format off
constexpr ControlRow kIndependentLayout[] = {
    // name               kind                   parent left        top  width   height caption
    {"ImageLambdaColor",  ControlKind::Image,    "", kLeft,             92, kWidth,  14},
    {"CGaugeLambda",      ControlKind::Gauge,    "", kLeft,            108, kWidth,  20},
    {"LabelLambdaBlue",   ControlKind::Label,    "", kLeft,            130,     63,   5},
    {"LabelLambdaGreen",  ControlKind::Label,    "", kLeft + 63,       130,     63,   5},
    {"LabelLambdaRed",    ControlKind::Label,    "", kLeft + 126,      130,     64,   5},
    {"LabelSnimacCkps",   ControlKind::Label,    "", kLeft,            142,  kHalf,  17, "CKPS"},
    {"LabelSnimacCmps",   ControlKind::Label,    "", kLeft + kHalf + 6, 142, kHalf,  17, "CMPS"},
    {"CheckBoxExtMonitor", ControlKind::CheckBox, "", kLeft,            164, kWidth,  19, "External monitor"},
    {"LabelEeDataErr",    ControlKind::Label,    "", kLeft,            164, kWidth,  19, "EEPROM data error!"},
    {"LabelTest1",        ControlKind::Label,    "", kLeft,            192, kWidth,  17, "Test1= ---"},
    {"LabelTest2",        ControlKind::Label,    "", kLeft,            209, kWidth,  17, "Test2= ---"},
    {"LabelTest3",        ControlKind::Label,    "", kLeft,            226, kWidth,  17, "Test3= ---"},
    {"LabelTest4",        ControlKind::Label,    "", kLeft,            243, kWidth,  17, "Test4= ---"},
    {"LabelTest5",        ControlKind::Label,    "", kLeft,            260, kWidth,  17, "Test5= ---"},
    {"LabelTest6",        ControlKind::Label,    "", kLeft,            277, kWidth,  17, "Test6= ---"},
    {"LabelTest7",        ControlKind::Label,    "", kLeft,            294, kWidth,  17, "Test7= ---"},
    {"LabelTest8",        ControlKind::Label,    "", kLeft,            311, kWidth,  17, "Test8= ---"},
    {"LabelTest9",        ControlKind::Label,    "", kLeft,            328, kWidth,  17, "Test9= ---"},
    {"LabelTest10",       ControlKind::Label,    "", kLeft,            345, kWidth,  17, "Test10= ---"},
    {"LabelTest11",       ControlKind::Label,    "", kLeft,            362, kWidth,  17, "Test11= ---"},
    {"LabelTest12",       ControlKind::Label,    "", kLeft,            379, kWidth,  17, "Test12= ---"},
};
// clang-format on

template <class T>
void find(TPageForm& w, T*& slot, std::string_view name)
{
    slot = FindControl<T>(w, name);
    if (!slot) w.pageBuildProblems.push_back(std::string(name) + ": missing beside the page control");
}

void BuildIndependent(TPageForm& w)
{
    find(w, w.ImageLambdaColor, "ImageLambdaColor");
    find(w, w.CGaugeLambda, "CGaugeLambda");
    find(w, w.LabelLambdaBlue, "LabelLambdaBlue");
    find(w, w.LabelLambdaGreen, "LabelLambdaGreen");
    find(w, w.LabelLambdaRed, "LabelLambdaRed");
    find(w, w.LabelSnimacCkps, "LabelSnimacCkps");
    find(w, w.LabelSnimacCmps, "LabelSnimacCmps");
    find(w, w.CheckBoxExtMonitor, "CheckBoxExtMonitor");
    find(w, w.LabelEeDataErr, "LabelEeDataErr");
    for (std::size_t i = 0; i < w.testLabels.size(); ++i) find(w, w.testLabels[i], "LabelTest" + std::to_string(i + 1));
    if (w.LabelLambdaBlue && w.LabelLambdaGreen && w.LabelLambdaRed) {
        w.LabelLambdaBlue->SetColor(clBlue);
        w.LabelLambdaGreen->SetColor(clLime);
        w.LabelLambdaRed->SetColor(clRed);
    }
    if (w.LabelEeDataErr) w.LabelEeDataErr->SetFontColor(clRed);
    if (w.CGaugeLambda) w.CGaugeLambda->SetShowText(false);
}

void StoreIndependent(TPageForm& w)
{
    if (w.pageHooks.showLiveData) w.pageHooks.showLiveData();
}

void TickIndependent(TPageForm& w)
{
    if (w.LabelVersion && w.pageHooks.versionLabelShown) w.LabelVersion->SetVisible(w.pageHooks.versionLabelShown());
    if (w.CheckBoxExtMonitor && w.LabelEeDataErr) w.CheckBoxExtMonitor->SetVisible(!w.LabelEeDataErr->Visible());
}

}  // namespace

extern const PageModule kIndependentModule{
    .layout = kIndependentLayout,
    .build = BuildIndependent,
    .store = StoreIndependent,
    .show = ShowLambdaScale,
    .tick = TickIndependent,
};
