#include "pages/mappoints.h"

#include "mapeditor/tab.h"
#include "pages/mapsheets.h"

namespace {

CSheet* firstSheet(TPageForm& w, int editorId)
{
    TTab* editor = MapEditor(w, editorId);
    if (!editor || editor->sheetCount < 1) return nullptr;
    CSheet& sheet = editor->sheets[0];
    return sheet.isAllocated() ? &sheet : nullptr;
}

bool fits(const PointBinding& b)
{
    const int bytes = b.field == PointField::Byte ? 1 : 2;
    return b.address >= 0 && (b.address + 1) * bytes <= RS_LEN_EXE && b.column >= 0 && b.row >= 0 &&
           b.column < kMaxColumns && b.row < kMaxRows;
}

}  // namespace

int ShownPointValue(const Image& image, const PointBinding& b)
{
    const int factor = b.factor == 0 ? 1 : b.factor;
    switch (b.field) {
        case PointField::Word:
            return imageWord(image, b.address) / factor;
        case PointField::SignedWord:
            return static_cast<std::int16_t>(imageWord(image, b.address)) / factor;
        case PointField::Byte:
            break;
    }
    return image[std::size_t(b.address)] / factor;
}

void StorePointValue(Image& image, const PointBinding& b, std::int64_t shown)
{
    const std::int64_t value = shown * (b.factor == 0 ? 1 : b.factor);
    if (b.field == PointField::Byte)
        image[std::size_t(b.address)] = static_cast<std::uint8_t>(value);
    else
        setImageWord(image, b.address, static_cast<std::uint16_t>(value));
}

std::int32_t* PointSlot(TPageForm& w, const PointBinding& b)
{
    CSheet* sheet = firstSheet(w, b.editorId);
    if (!sheet || !fits(b)) return nullptr;
    switch (b.part) {
        case PointPart::XPoint:
            return &sheet->x.points[std::size_t(b.column)];
        case PointPart::YPoint:
            return &sheet->y.points[std::size_t(b.row)];
        case PointPart::Cell:
            break;
    }
    return &sheet->value(b.column, b.row);
}

bool ShowPoints(TPageForm& w, std::span<const PointBinding> bindings)
{
    bool changed = false;
    for (const PointBinding& b : bindings)
        if (std::int32_t* slot = PointSlot(w, b)) {
            const int shown = ShownPointValue(w.images.image, b);
            changed = changed || *slot != shown;
            *slot = shown;
        }
    return changed;
}

void StorePoints(TPageForm& w, std::span<const PointBinding> bindings)
{
    for (const PointBinding& b : bindings)
        if (const std::int32_t* slot = PointSlot(w, b); slot && *slot != ShownPointValue(w.images.image, b))
            StorePointValue(w.images.image, b, *slot);
}

void ShowSheetSwitch(TPageForm& w, int editorId, int offByte)
{
    if (CSheet* sheet = firstSheet(w, editorId)) sheet->enabled = w.images.image[std::size_t(offByte)] == 0 ? 1 : 0;
}

void StoreSheetSwitch(TPageForm& w, int editorId, int offByte)
{
    const CSheet* sheet = firstSheet(w, editorId);
    std::uint8_t& off = w.images.image[std::size_t(offByte)];
    if (sheet && (sheet->enabled != 0) != (off == 0)) off = sheet->enabled != 0 ? 0 : 1;
}
