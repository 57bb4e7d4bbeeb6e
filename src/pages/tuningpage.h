#pragma once
// The lambda tuning page: the unit's automatic mixture tuning (the map of desired mixtures over RPM and throttle,
// tolerances, step, limits, which maps it tunes) and the switch that asks the unit to tune now.
#include "pages/pageform.h"

// Image bytes of the page that other code names.
inline constexpr int kImageTuningMode = 4580;
inline constexpr int kImageTuningSource = 4581;  // 0 basic maps, 1 compensation maps, 2 compensation maps for good
inline constexpr int kImageTuningRpmPoints = 4582;
inline constexpr int kImageTuningCells = 4587;  // 5 x 5, row r (throttle) and column c (RPM) at 4587 + 5r + c
inline constexpr int kTuningPoints = 5;

// The page's state on screen: the tuning switch mirrored in the Tools menu, the warning colours, which controls
// the tuning mode, the injection mode and the source call for, and the map's units (AFR or lambda); then the
// captions that name them. Run by the page's show, by the sensors page's store and by the Tools menu's switch.
void ShowTuningState(TPageForm& w);

// The tuning source chosen by the user (the OnClick of RadioGroupTunningSource).
void TuningSourceClick(TPageForm& w, TObject* sender);

// The byte to store for one of the mixture pairs (tolerance, minimum, maximum) shown as lambda x 1000: any change
// of the shown value moves the stored AFR at least one step the same way; kept inside 0..250.
[[nodiscard]] int TuningPairByte(int shownThousandths, int storedByte);
