#pragma once
// The sensors page's functions that other pages and the tests call.
#include <cstdint>

#include "pages/pageform.h"

inline constexpr int kLambdaNotationByte = 5029;  // 1: mixtures shown as lambda, else as air-fuel ratio
inline constexpr int kTpsMinMillivolts = 100;     // the calibration buttons take live voltages in this range
inline constexpr int kTpsMaxMillivolts = 4990;

void ShowSensorsPage(TPageForm& w);
void StoreSensorsPage(TPageForm& w);
// Which controls and maps show, and their captions, by the sensors chosen, the inputs' functions and the
// synchronisation; then the inputs page's layout.
void SensorsPageLayout(TPageForm& w);

// The resistance of a sensor on a 2.2 kOhm pull-up at 5 V for its voltage, and back; 20,000,000 Ohm stands for
// an open input (5000 mV).
[[nodiscard]] std::int64_t VoltageToResistance(int millivolts);
[[nodiscard]] int ResistanceToVoltage(std::int64_t ohms);

// The throttle sensor's calibration from the live sensor voltage (the last live frame's): 0 % (the first row),
// 100 % (the last) or the middle point of a 3-point characteristic. A voltage outside 100..4990 mV changes nothing.
enum class TpsPoint { Closed, Open, Middle };
void CalibrateTps(TPageForm& w, TpsPoint point);
// The lambda sensor type chosen: its characteristic's defaults are written and shown, and committed with it.
void RadioGroupCidloLambdaModeClick(TPageForm& w);
