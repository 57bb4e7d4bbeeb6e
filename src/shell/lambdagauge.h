#pragma once
// The main window's mixture gauge and the lambda colours of mixture values, from the window's lambda colour
// table and the lambda bar thresholds of the settings image.
#include <cstdint>

class TMainForm;
class TCGauge;

// Progress, visibility and bar colour of a gauge for a mixture value (air-fuel ratio x 10; 255 hides it).
void SetLambdaGauge(TMainForm& w, TCGauge* gauge, int value);
// The framework colour of a mixture value (map cells of lambda tables).
[[nodiscard]] std::uint32_t LambdaColor(const TMainForm& w, int value);
