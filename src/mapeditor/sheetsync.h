#pragma once
// Sheets that their page keeps alike: a leading sheet's part copied into a follower, and a follower's values
// re-sampled onto its leader's points before it takes the leader's axes (the injection modes). Data only; the
// caller clamps the values afterwards (TTab::UpdateLimits with 4) and tells the page.
#include <array>
#include <cstdint>

#include "mapeditor/sheet.h"

// The leader's first `points` X points, the values of its rows 0..rows-1 and columns 0..points-1, and its X count.
void CopyLeaderPart(const CSheet& leader, CSheet& follower, int points, int rows);

// Each of the leader's points gets the follower's value there, interpolated between the follower's own points
// (beyond its first or last point: its edge values); then the follower takes the leader's counts and points, with
// their arrange state, on both axes.
void ResampleOntoLeader(const CSheet& leader, CSheet& follower);

// A leading sheet's values and counts as its followers last took them.
struct LeaderMemory
{
    std::array<std::int32_t, kGridCells> cells{};
    int xCount = 0, yCount = 0;
};
// The leader's cells in use and its counts.
void RememberLeader(const CSheet& leader, LeaderMemory& memory);

// The follower takes the leader's axes (counts, points and their arrange state). Then, only while the leader's
// counts are still the memory's, every cell in use that the leader changed since the memory (from d to v) moves the
// follower's cell h the same way: h = d becomes v; a change within 0.15 of a whole percent moves h by that many
// steps of the follower's own stepping (1 % on percent-stepping sheets); any other change scales h by the same
// percentage (h x (100 + percent), then + 50 for a rise or - 50 for a fall, divided by 100 toward zero). A cell
// whose old value was 0 has no percentage: only a follower that was 0 too takes the new value.
void FollowLeaderChange(const CSheet& leader, const LeaderMemory& memory, CSheet& follower);
