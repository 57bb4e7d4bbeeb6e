#pragma once
// The mixture colour scale: four thresholds of the settings image (air-fuel ratio x 10, rising) divide the
// mixture range into rich, good and lean; the lambda colour table gives one colour per mixture step above the
// first threshold, for the scale picture, the mixture gauge and the cells of mixture maps.
#include <array>
#include <string>

#include "pages/pageform.h"

class CAxe;

inline constexpr int kLambdaAnchorCount = 7;

// The table steps of the seven colour anchors for thresholds t0 < t1 < t2 < t3 (products truncated).
[[nodiscard]] std::array<int, kLambdaAnchorCount> LambdaScaleAnchors(int t0, int t1, int t2, int t3);
// Fills the table from the image's thresholds. Does nothing and returns false when the last threshold is not
// above the first (an image that was not repaired).
bool FillLambdaColorTable(const Image& image, LambdaColorTable& table);
// A threshold as the scale labels it: air-fuel ratio ("14.7", "14") or, in lambda notation, lambda ("1.00").
[[nodiscard]] std::string LambdaThresholdText(int value, bool lambdaNotation);

// Fills the table and paints ImageLambdaColor from it.
void PaintLambdaScale(TPageForm& w);
// The scale, the colour of "Programming after change", and the three range bars under the mixture gauge.
void ShowLambdaScale(TPageForm& w);

// A mixture point as a map axis shows it: the image keeps the air-fuel ratio x 10; in lambda notation the axis
// shows lambda x 100 (AFR 14.7 is 1.00), rounded to the nearest. And back, within a byte.
[[nodiscard]] int MixturePointShown(int afrTenths, bool lambdaNotation);
[[nodiscard]] int MixturePointStored(int shown, bool lambdaNotation);
// A mixture as the fields with three decimals show it in lambda notation: lambda x 1000 for an air-fuel ratio x 10,
// rounded to the nearest; and the ratio nearest to such a lambda, not limited to a byte (each field has its limits).
[[nodiscard]] int MixtureThousandthsShown(int afrTenths);
[[nodiscard]] int MixtureThousandthsStored(int lambdaThousandths);
// A mixture axis's title, scale and limits for the notation; true when its scale changed, so that its points stand
// for the other notation and must be shown again.
bool SetMixtureAxis(CAxe& axis, bool lambdaNotation);
