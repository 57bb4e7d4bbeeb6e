#pragma once
// Sheets that their page keeps alike: a leading sheet's part copied into a follower, and a follower's values
// re-sampled onto its leader's points before it takes the leader's axes (the injection modes). Data only; the
// caller clamps the values afterwards (TTab::UpdateLimits with 4) and tells the page.
#include "mapeditor/sheet.h"

// The leader's first `points` X points, the values of its rows 0..rows-1 and columns 0..points-1, and its X count.
void CopyLeaderPart(const CSheet& leader, CSheet& follower, int points, int rows);

// Each of the leader's points gets the follower's value there, interpolated between the follower's own points
// (beyond its first or last point: its edge values); then the follower takes the leader's counts and points, with
// their arrange state, on both axes.
void ResampleOntoLeader(const CSheet& leader, CSheet& follower);
