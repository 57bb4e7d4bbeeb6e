#include "pages/mapgrids.h"

#include "mapeditor/tab.h"
#include "pages/pageform.h"

namespace {

int elementBytes(const GridBinding& grid)
{
    return grid.cell == Cell::Word ? 2 : 1;
}

// Whether every cell lies inside the image and inside the sheet's grid.
bool fits(const GridBinding& grid)
{
    return grid.rows > 0 && grid.columns > 0 && grid.rows <= kMaxRows && grid.columns <= kMaxColumns &&
           grid.address >= 0 && GridEndByte(grid) <= RS_LEN_EXE;
}

}  // namespace

int GridFirstByte(const GridBinding& grid)
{
    return grid.address * elementBytes(grid);
}

int GridEndByte(const GridBinding& grid)
{
    return GridFirstByte(grid) + grid.rows * grid.columns * elementBytes(grid);
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
    for (int r = 0; r < grid.rows; ++r)
        for (int c = 0; c < grid.columns; ++c) {
            const int element = grid.address + r * grid.columns + c;
            const int raw =
                grid.cell == Cell::Word ? imageWord(w.images.image, element) : w.images.image[std::size_t(element)];
            std::int32_t& cell = sheet->value(c, r);
            if (cell != raw * grid.scale) {
                cell = raw * grid.scale;
                changed = true;
            }
        }
    return changed;
}

void StoreGrid(TPageForm& w, const GridBinding& grid)
{
    CSheet* sheet = GridSheet(w, grid);
    if (!sheet || !fits(grid)) return;
    const int scale = grid.scale == 0 ? 1 : grid.scale;
    for (int r = 0; r < grid.rows; ++r)
        for (int c = 0; c < grid.columns; ++c) {
            const int element = grid.address + r * grid.columns + c;
            const int value = sheet->value(c, r) / scale;
            if (grid.cell == Cell::Word)
                setImageWord(w.images.image, element, static_cast<std::uint16_t>(value));
            else
                w.images.image[std::size_t(element)] = static_cast<std::uint8_t>(value);
        }
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
