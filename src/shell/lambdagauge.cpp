#include "shell/lambdagauge.h"

#include "settings/helpers.h"
#include "shell/mainform.h"
#include "vcl/controls.h"

void SetLambdaGauge(TMainForm& w, TCGauge* gauge, int value)
{
    if (gauge == nullptr) return;
    const LambdaGaugeView view = LambdaGaugeFor(w.images.image, w.lambdaColors, value);
    gauge->SetProgress(view.progress);
    gauge->SetVisible(view.isVisible);
    gauge->SetForeColor(view.color);
}

std::uint32_t LambdaColor(const TMainForm& w, int value)
{
    return LambdaColor(w.images.image, w.lambdaColors, value);
}
