#include "pages/mapsheets.h"

#include <map>
#include <memory>
#include <string>

void AddSheets(TTab& editor, std::span<const SheetSpec> sheets)
{
    for (const SheetSpec& spec : sheets) {
        const int index = editor.AddSheet(spec.title, spec.xName, spec.yName, spec.dataName, spec.columns, spec.rows,
                                          spec.flags);
        if (index < 0) return;
        editor.SetAxis(index, 1, spec.x);
        editor.SetAxis(index, 2, spec.y);
        editor.SetAxis(index, 4, spec.data);
        CSheet& sheet = editor.sheets[std::size_t(index)];
        if (spec.curveColour != 0) sheet.currentRowColour = spec.curveColour;
        if (spec.compareColour != 0) sheet.compareColour = spec.compareColour;
        if (spec.selectionColour != 0) sheet.selectionColour = spec.selectionColour;
        editor.UpdateLimits(sheet, 0x107);
    }
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
