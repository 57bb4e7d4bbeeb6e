// Pasted clipboard texts, both forms, into a sheet: never past the 50 x 30 grid, counts inside their limits, and a
// sheet written after a paste pastes back to the same table.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "mapeditor/cliptext.h"

namespace {

CSheet makeSheet(int columns, int rows, bool resizable)
{
    CSheet s;
    s.Allocate();
    s.x.name = "RPM";
    s.y.name = "TP";
    s.data.name = "ADV";
    s.x.maxCount = kMaxColumns;
    s.y.maxCount = kMaxRows;
    s.x.count = columns;
    s.y.count = rows;
    s.x.resizable = s.y.resizable = resizable ? 1 : 0;
    s.x.scale = 100;
    s.y.scale = 0.1;
    s.data.scale = 0.05;
    s.data.max = 1000;
    return s;
}

void check(bool ok)
{
    if (!ok) std::abort();
}

void checkCounts(const CSheet& s)
{
    check(s.x.count >= 1 && s.x.count <= s.x.maxCount && s.x.count <= kMaxColumns);
    check(s.y.count >= 1 && s.y.count <= s.y.maxCount && s.y.count <= kMaxRows);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) return 0;
    const std::uint8_t mode = data[0], focus = data[1];
    const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);
    ClipTextOptions options;
    options.language = (mode & 1) ? 2 : 0;
    options.checkGrid = (mode & 2) != 0;

    // Text paste from a focus anywhere on or beside the sheet.
    CSheet plain = makeSheet(1 + (mode >> 3) % kMaxColumns, 1 + (focus >> 3) % kMaxRows, true);
    plain.x.collapsed = (mode & 4) ? 1 : 0;
    const TextPasteResult t = pasteText(plain, text, (focus & 7) - 1, ((focus >> 3) & 7) - 1, options);
    check(t.stored <= kGridCells);
    checkCounts(plain);

    // Sheet paste, then the written sheet pastes back to the same table.
    CSheet sheet = makeSheet(4, 3, (mode & 8) == 0);
    const SheetPasteResult r = pasteSheetText(sheet, text, options);
    checkCounts(sheet);
    if (r.status == SheetPaste::Pasted) {
        CSheet again = makeSheet(1, 1, true);
        check(pasteSheetText(again, sheetText(sheet, options), options).status == SheetPaste::Pasted);
        check(again.x.count == sheet.x.count && again.y.count == sheet.y.count);
        for (int c = 0; c < sheet.x.count; ++c) check(again.x.points[c] == sheet.x.points[c]);
        for (int r2 = 0; r2 < sheet.y.count; ++r2) check(again.y.points[r2] == sheet.y.points[r2]);
        for (int r2 = 0; r2 < valueRows(sheet, options.checkGrid); ++r2)
            for (int c = 0; c < valueColumns(sheet, options.checkGrid); ++c)
                check(again.value(c, r2) == sheet.value(c, r2));
    }
    return 0;
}
