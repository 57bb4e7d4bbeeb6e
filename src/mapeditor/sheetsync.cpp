#include "mapeditor/sheetsync.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "mapeditor/cellstep.h"
#include "mapeditor/numtext.h"

namespace {

// The lower of the two points of the axis that enclose v: it stops one before the last point, so that the upper
// one is still a point in use (and both are point 0 on an axis of one point).
int lowerPoint(const CAxe& axis, int n, double v)
{
    int i = 0;
    while (i < n - 2 && axis.points[static_cast<std::size_t>(i + 1)] < v) ++i;
    return i;
}

void takeAxis(const CAxe& from, CAxe& to)
{
    to.count = from.count;
    to.points = from.points;
    to.prevPoints = from.prevPoints;
    to.pushedFrom = from.pushedFrom;
    to.pushedMarks = from.pushedMarks;
    to.lastMoved = from.lastMoved;
}

}  // namespace

void CopyLeaderPart(const CSheet& leader, CSheet& follower, int points, int rows)
{
    if (!leader.isAllocated() || !follower.isAllocated()) return;
    points = std::clamp(points, 0, kMaxColumns);
    rows = std::clamp(rows, 0, kMaxRows);
    std::copy_n(leader.x.points.begin(), points, follower.x.points.begin());
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < points; ++c) follower.value(c, r) = leader.value(c, r);
    follower.x.count = leader.x.count;
}

void ResampleOntoLeader(const CSheet& leader, CSheet& follower)
{
    if (!leader.isAllocated() || !follower.isAllocated()) return;
    const int leaderColumns = std::min(leader.x.usedCount(), kMaxColumns);
    const int leaderRows = std::min(leader.y.usedCount(), kMaxRows);
    const int columns = std::min(follower.x.usedCount(), kMaxColumns);
    const int rows = std::min(follower.y.usedCount(), kMaxRows);
    if (columns <= 0 || rows <= 0) return;
    std::array<std::int32_t, kGridCells> values{};
    for (int s = 0; s < leaderRows; ++s) {
        const double y = leader.y.points[static_cast<std::size_t>(s)];
        const int j = lowerPoint(follower.y, rows, y), j1 = std::min(j + 1, rows - 1);
        for (int p = 0; p < leaderColumns; ++p) {
            const double x = leader.x.points[static_cast<std::size_t>(p)];
            const int i = lowerPoint(follower.x, columns, x), i1 = std::min(i + 1, columns - 1);
            values[static_cast<std::size_t>(gridIndex(p, s))] = InterpolateBilinear(
                x, y, follower.x.points[static_cast<std::size_t>(i)], follower.y.points[static_cast<std::size_t>(j)],
                follower.x.points[static_cast<std::size_t>(i1)], follower.y.points[static_cast<std::size_t>(j1)],
                follower.value(i, j), follower.value(i, j1), follower.value(i1, j), follower.value(i1, j1));
        }
    }
    for (int s = 0; s < leaderRows; ++s)
        for (int p = 0; p < leaderColumns; ++p) follower.value(p, s) = values[static_cast<std::size_t>(gridIndex(p, s))];
    takeAxis(leader.x, follower.x);
    takeAxis(leader.y, follower.y);
}

void RememberLeader(const CSheet& leader, LeaderMemory& memory)
{
    if (!leader.isAllocated()) return;
    memory.xCount = leader.x.count;
    memory.yCount = leader.y.count;
    for (int r = 0; r < std::min(leader.y.usedCount(), kMaxRows); ++r)
        for (int c = 0; c < std::min(leader.x.usedCount(), kMaxColumns); ++c)
            memory.cells[static_cast<std::size_t>(gridIndex(c, r))] = leader.value(c, r);
}

namespace {

// The follower's cell after the leader's cell went from d to v.
std::int32_t followedValue(const CSheet& follower, int column, int row, std::int32_t d, std::int32_t v)
{
    const std::int32_t h = follower.value(column, row);
    if (h == d) return v;
    if (d == 0) return h;
    const double x = static_cast<double>((static_cast<std::int64_t>(v) - d) * 100) / d;
    const double whole = std::ceil(x - 0.15);
    const int steps = std::abs(x - whole) <= 0.15 ? static_cast<int>(std::clamp(whole, -1e6, 1e6)) : 0;
    std::int64_t next = h;
    if (steps != 0) {
        next += CellStep(follower, column, row, steps);
    } else {
        // The product may pass 32 bits for the largest injection times.
        const double m = std::trunc(static_cast<double>(h) * (x + 100));
        const auto mm = static_cast<std::int64_t>(std::clamp(m, -9e15, 9e15));
        next = x > 0 ? (mm + 50) / 100 : (mm - 50) / 100;
    }
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(next, std::numeric_limits<std::int32_t>::min(),
                                                               std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

void FollowLeaderChange(const CSheet& leader, const LeaderMemory& memory, CSheet& follower)
{
    if (!leader.isAllocated() || !follower.isAllocated()) return;
    takeAxis(leader.x, follower.x);
    takeAxis(leader.y, follower.y);
    if (memory.xCount != leader.x.count || memory.yCount != leader.y.count) return;
    for (int r = 0; r < std::min(leader.y.usedCount(), kMaxRows); ++r)
        for (int c = 0; c < std::min(leader.x.usedCount(), kMaxColumns); ++c) {
            const std::int32_t d = memory.cells[static_cast<std::size_t>(gridIndex(c, r))];
            const std::int32_t v = leader.value(c, r);
            if (v != d) follower.value(c, r) = followedValue(follower, c, r, d, v);
        }
}
