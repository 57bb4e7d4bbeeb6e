#pragma once
// The sensors page's six map editors: made, shown, stored and laid out by the page (sensorspage.cpp).
#include "pages/pageform.h"

inline constexpr int kTemperatureEditorId = 37;
inline constexpr int kLambdaSensorEditorId = 38;
inline constexpr int kTpsEditorId = 39;
inline constexpr int kApEditorId = 40;
inline constexpr int kIapEditorId = 41;
inline constexpr int kFuelEditorId = 45;

void BuildSensorMaps(TPageForm& w);
void ShowSensorMaps(TPageForm& w);
void StoreSensorMaps(TPageForm& w);
// The maps' part of the page's layout: the pressure and lambda editors' sizes and colours, the temperature
// columns, the lambda notation.
void SensorMapsLayout(TPageForm& w);
// The temperature map shown as sensor voltages (item 0 of the view switch) or as resistances (item 1).
void SensorsViewAsClick(TPageForm& w);
