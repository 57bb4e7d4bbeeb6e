#include "pages/mapgrids.h"

#include <algorithm>

#include "mapeditor/tab.h"
#include "pages/pageform.h"

namespace {

int elementBytes(const GridBinding& grid)
{
    return grid.cell == Cell::Word ? 2 : 1;
}

int elementCount(const GridBinding& grid)
{
    switch (grid.part) {
        case GridPart::XPoints:
            return grid.columns;
        case GridPart::YPoints:
            return grid.rows;
        case GridPart::Cells:
            break;
    }
    return grid.rows * grid.columns;
}

// Whether every element lies inside the image and inside the sheet's grid or axis.
bool fits(const GridBinding& grid)
{
    if (grid.address < 0 || grid.first < 0 || GridEndByte(grid) > RS_LEN_EXE) return false;
    switch (grid.part) {
        case GridPart::XPoints:
            return grid.columns > 0 && grid.first + grid.columns <= kMaxColumns;
        case GridPart::YPoints:
            return grid.rows > 0 && grid.first + grid.rows <= kMaxRows;
        case GridPart::Cells:
            break;
    }
    return grid.rows > 0 && grid.columns > 0 && grid.first + grid.rows <= kMaxRows && grid.columns <= kMaxColumns;
}

int readElement(const TPageForm& w, const GridBinding& grid, int element)
{
    switch (grid.cell) {
        case Cell::Word:
            return imageWord(w.images.image, element);
        case Cell::SignedByte:
            return static_cast<std::int8_t>(w.images.image[std::size_t(element)]);
        case Cell::Byte:
            break;
    }
    return w.images.image[std::size_t(element)];
}

void writeElement(TPageForm& w, const GridBinding& grid, int element, std::int32_t shown)
{
    const int scale = grid.scale == 0 ? 1 : grid.scale;
    const int value = (shown - grid.offset) / scale;
    if (grid.cell == Cell::Word)
        setImageWord(w.images.image, element, static_cast<std::uint16_t>(value));
    else
        w.images.image[std::size_t(element)] = static_cast<std::uint8_t>(value);
}

// The points of the row's axis, or the value of cell (c, r) of the table.
std::int32_t& target(CSheet& sheet, const GridBinding& grid, int r, int c)
{
    switch (grid.part) {
        case GridPart::XPoints:
            return sheet.x.points[std::size_t(grid.first + c)];
        case GridPart::YPoints:
            return sheet.y.points[std::size_t(grid.first + r)];
        case GridPart::Cells:
            break;
    }
    return sheet.value(c, grid.first + r);
}

int rowsOf(const GridBinding& grid)
{
    return grid.part == GridPart::XPoints ? 1 : grid.rows;
}

int columnsOf(const GridBinding& grid)
{
    return grid.part == GridPart::YPoints ? 1 : grid.columns;
}

}  // namespace

int GridFirstByte(const GridBinding& grid)
{
    return grid.address * elementBytes(grid);
}

int GridEndByte(const GridBinding& grid)
{
    return GridFirstByte(grid) + elementCount(grid) * elementBytes(grid);
}

CSheet* GridSheet(TPageForm& w, const GridBinding& grid)
{
    if (grid.editorId < 0 || grid.editorId >= kMapEditorIds) return nullptr;
    TTab* editor = w.mapEditors[std::size_t(grid.editorId)];
    if (!editor || grid.sheet < 0 || grid.sheet >= editor->sheetCount) return nullptr;
    CSheet& sheet = editor->sheets[std::size_t(grid.sheet)];
    return sheet.isAllocated() ? &sheet : nullptr;
}

bool ShowGrid(TPageForm& w, const GridBinding& grid)
{
    CSheet* sheet = GridSheet(w, grid);
    if (!sheet || !fits(grid)) return false;
    bool changed = false;
    const int columns = columnsOf(grid);
    for (int r = 0; r < rowsOf(grid); ++r)
        for (int c = 0; c < columns; ++c) {
            const std::int32_t shown = readElement(w, grid, grid.address + r * columns + c) * grid.scale + grid.offset;
            std::int32_t& slot = target(*sheet, grid, r, c);
            if (slot != shown) {
                slot = shown;
                changed = true;
            }
        }
    return changed;
}

void StoreGrid(TPageForm& w, const GridBinding& grid)
{
    CSheet* sheet = GridSheet(w, grid);
    if (!sheet || !fits(grid)) return;
    const int columns = columnsOf(grid);
    for (int r = 0; r < rowsOf(grid); ++r)
        for (int c = 0; c < columns; ++c)
            writeElement(w, grid, grid.address + r * columns + c, target(*sheet, grid, r, c));
}

void ShowGrids(TPageForm& w, std::span<const GridBinding> grids)
{
    for (const GridBinding& grid : grids) ShowGrid(w, grid);
}

void StoreGrids(TPageForm& w, std::span<const GridBinding> grids)
{
    for (const GridBinding& grid : grids) StoreGrid(w, grid);
}

void SetFixedPoints(CSheet& sheet, bool xAxis, std::span<const int> points)
{
    CAxe& axis = xAxis ? sheet.x : sheet.y;
    const std::size_t n = std::min(points.size(), axis.points.size());
    std::copy_n(points.begin(), n, axis.points.begin());
}

void PadGridColumns(TPageForm& w, const GridBinding& grid, int usedColumns)
{
    if (!fits(grid) || usedColumns < 1) return;
    Image& image = w.images.image;
    for (int r = 0; r < grid.rows; ++r) {
        const int last = grid.address + r * grid.columns + std::min(usedColumns, grid.columns) - 1;
        for (int c = usedColumns; c < grid.columns; ++c) {
            const int element = grid.address + r * grid.columns + c;
            if (grid.cell == Cell::Word)
                setImageWord(image, element, imageWord(image, last));
            else
                image[std::size_t(element)] = image[std::size_t(last)];
        }
    }
}

void RequestMapRedraw(TPageForm& w, int editorId)
{
    if (editorId >= 0 && editorId < kMapEditorIds && w.mapEditors[std::size_t(editorId)])
        w.mapEditors[std::size_t(editorId)]->dirty |= kDirtyRedraw;
}
