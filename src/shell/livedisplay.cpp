#include "shell/livedisplay.h"

#include "link/livedata.h"
#include "os/lngtext.h"
#include "pages/lambdascale.h"
#include "pages/outputtest.h"
#include "shell/appsettings.h"
#include "shell/mainform.h"
#include "vcl/formlayout.h"
#include "vcl/image.h"

namespace {

// The lambda range bars stand this far under the top of the last lambda gauge shown, the scale under them.
constexpr int kRangeBelowGauge = 17;
constexpr int kScaleBelowRange = 12;

// Controls are looked up by name until a page has made them; the names still missing are looked up again only
// when the window has made new components, not on every frame.
template <class T, std::size_t N>
void FindLiveControls(const TMainForm& w, std::array<T*, N>& controls, const std::string_view (&names)[N])
{
    for (std::size_t i = 0; i < N; ++i)
        if (!controls[i]) controls[i] = FindControl<T>(w, names[i]);
}

void ApplyLiveTexts(TMainForm& w)
{
    if (w.ComponentCount() != w.liveControlsLookedUpAt) {
        FindLiveControls(w, w.liveLabels, kLiveLabelNames);
        FindLiveControls(w, w.liveGauges, kLiveGaugeNames);
        w.liveControlsLookedUpAt = w.ComponentCount();
    }
    for (int i = 0; i < kLiveLabelCount; ++i) {
        TLabel* label = w.liveLabels[static_cast<std::size_t>(i)];
        const LiveLabelView& view = w.liveTexts.Label(i);
        if (!label) continue;
        if (view.fontSize) label->SetFontSize(*view.fontSize);
        if (view.text) label->SetCaption(*view.text);
        if (view.color) label->SetColor(*view.color);
        if (view.enabled) label->SetEnabled(*view.enabled);
        if (view.visible) label->SetVisible(*view.visible);
    }
    for (int i = 0; i < kLiveGaugeCount; ++i) {
        TCGauge* gauge = w.liveGauges[static_cast<std::size_t>(i)];
        const LiveGaugeView& view = w.liveTexts.Gauge(i);
        if (!gauge) continue;
        if (view.height) gauge->SetHeight(*view.height);
        if (view.progress) gauge->SetProgress(*view.progress);
        if (view.color) gauge->SetForeColor(*view.color);
        if (view.visible) gauge->SetVisible(*view.visible);
    }
    const TCGauge* anchor = w.liveGauges[static_cast<std::size_t>(LiveGauge("CGaugeLambda") + w.liveTexts.lambdaRangeGauge)];
    if (anchor && w.LabelLambdaBlue && w.LabelLambdaGreen && w.LabelLambdaRed) {
        const int top = anchor->Top() + kRangeBelowGauge;
        for (TLabel* bar : {w.LabelLambdaBlue, w.LabelLambdaGreen, w.LabelLambdaRed}) bar->SetTop(top);
        if (w.ImageLambdaColor) w.ImageLambdaColor->SetTop(top + kScaleBelowRange);
    }
}

}  // namespace

bool HasLiveData(const TMainForm& w)
{
    return HasLiveData(PortInUse(w) ? 1 : 0, w.recording.State());
}

void ShowLiveData(TMainForm& w)
{
    static const LiveBlock kNoFrame;
    const bool has = HasLiveData(w);
    // Without live data every reader sees zeros.
    if (!has && w.device) w.device->live.Clear();
    const LiveBlock& block = w.device ? w.device->live : kNoFrame;
    w.liveShown = has;
    w.unitModel = w.images.deviceValid ? w.images.device[RS_BIKE_BYTE] : -1;
    w.liveValues = DecodeLiveValues(block, has, w.liveValues);
    ComputeDerivedLiveValues(w.images.image, block, w.derivedLiveValues);
    const LiveTextInputs inputs{.block = block,
                                .values = w.liveValues,
                                .derived = w.derivedLiveValues,
                                .image = w.images.image,
                                .lambdaColors = w.lambdaColors,
                                .messages = w.languageTables.messages,
                                .hasLiveData = has,
                                .extended = w.CheckBoxExtMonitor && w.CheckBoxExtMonitor->Checked(),
                                .czech = GetLanguageIndex() == LNG_CZECH};
    UpdateLiveTexts(w.liveTexts, inputs);
    ApplyLiveTexts(w);
    if (w.device) EnableTestButtons(w, block.Monb(178));
    ShowLambdaScale(w);
    // Last: the external monitor's variables.
    if (w.updateMonitorVariables) w.updateMonitorVariables();
}
