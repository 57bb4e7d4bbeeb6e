#pragma once
// Small sheets for the map editor's data tests.
#include <string>

#include "mapeditor/sheet.h"

struct SheetSpec
{
    int columns = 4, rows = 3;
    double xScale = 1, yScale = 1, dataScale = 1;
    int dataMin = -1000000, dataMax = 1000000;
    std::string xName = "RPM", yName = "TP", dataName = "ADV";
};

// An allocated sheet as the page builders leave it: counts, names, scales, ascending heads.
inline CSheet MakeSheet(const SheetSpec& spec = {})
{
    CSheet s;
    s.Allocate();
    s.x.maxCount = s.x.count = spec.columns;
    s.y.maxCount = s.y.count = spec.rows;
    s.x.name = spec.xName;
    s.y.name = spec.yName;
    s.data.name = spec.dataName;
    s.x.scale = spec.xScale;
    s.y.scale = spec.yScale;
    s.data.scale = spec.dataScale;
    s.x.min = s.y.min = 0;
    s.x.max = s.y.max = 1000000;
    s.data.min = spec.dataMin;
    s.data.max = spec.dataMax;
    for (int c = 0; c < kMaxColumns; ++c) s.x.points[c] = s.x.prevPoints[c] = 10 * (c + 1);
    for (int r = 0; r < kMaxRows; ++r) s.y.points[r] = s.y.prevPoints[r] = 5 * (r + 1);
    return s;
}
