#include "pages/mapsheets.h"

#include <map>
#include <memory>
#include <string>

#include "pages/mapside.h"

namespace {

void setAxis(TTab& editor, int index, int mask, AxisSetup setup, std::string_view picture)
{
    if (!picture.empty()) setup.picture = SharedPicture(picture);
    editor.SetAxis(index, mask, setup);
}

}  // namespace

void AddSheets(TTab& editor, std::span<const SheetSpec> sheets)
{
    for (const SheetSpec& spec : sheets) {
        const int index =
            editor.AddSheet(spec.title, spec.xName, spec.yName, spec.dataName, spec.columns, spec.rows, spec.flags);
        if (index < 0) return;
        setAxis(editor, index, 1, spec.x, spec.xPicture);
        setAxis(editor, index, 2, spec.y, spec.yPicture);
        setAxis(editor, index, 4, spec.data, spec.dataPicture);
        CSheet& sheet = editor.sheets[std::size_t(index)];
        if (spec.curveColour != 0) sheet.currentRowColour = spec.curveColour;
        if (spec.compareColour != 0) sheet.compareColour = spec.compareColour;
        if (spec.selectionColour != 0) sheet.selectionColour = spec.selectionColour;
        if (spec.cellFontSize != 0) sheet.cellFontSize = spec.cellFontSize;
        if (spec.unitInCells) sheet.data.showUnit = 1;
        if (spec.xTextSize != 0) sheet.x.labelFontSize = spec.xTextSize;
        if (spec.titleFontSize != 0) {
            sheet.titleFontSize = spec.titleFontSize;
            editor.SetSheetTitle(index, spec.title);  // the title's tab width follows its font size
        }
        editor.UpdateLimits(sheet, 0x107);
    }
}

TTab* BuildMapEditor(TPageForm& w, const MapEditorSpec& spec, TControl* parent)
{
    TTab* editor = CreateMapEditor(w, spec.id, spec.width, spec.height, spec.flagWord, parent);
    if (!editor) return nullptr;
    editor->SetBounds(spec.left, spec.top, spec.width, spec.height);
    AddSheets(*editor, spec.sheets);
    editor->layout.visibleColumns = spec.visibleColumns;
    editor->layout.visibleRows = spec.visibleRows;
    editor->SelectSheet(0);
    return editor;
}

TTab* MapEditor(TPageForm& w, int id)
{
    return id >= 0 && id < kMapEditorIds ? w.mapEditors[std::size_t(id)] : nullptr;
}

const TBitmap* SharedPicture(std::string_view name)
{
    static std::map<std::string, std::unique_ptr<TBitmap>, std::less<>> pictures;
    if (const auto it = pictures.find(name); it != pictures.end()) return it->second.get();
    auto picture = std::make_unique<TBitmap>();
    if (!LoadBitmapResource(*picture, name)) return nullptr;
    return pictures.emplace(std::string(name), std::move(picture)).first->second.get();
}
