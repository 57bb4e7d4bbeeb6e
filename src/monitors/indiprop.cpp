#include "monitors/indiprop.h"

#include <string>

#include "monitors/indicator.h"
#include "os/lngtext.h"
#include "vcl/formlayout.h"

namespace {

// The design-time controls; the texts are set in the current language at each use.
constexpr ControlRow kIndiPropLayout[] = {
    // name          kind                  parent left top width height caption
    {"LabelType", ControlKind::Label, "", 8, 8, 350, 16, "Indicator of parameter:"},
    {"LabelColor", ControlKind::Label, "", 8, 42, 127, 16, "Color of indicator"},
    {"ColorBox1", ControlKind::ColorBox, "", 141, 39, 177, 22},
    {"TypeOfIndi", ControlKind::RadioGroup, "", 8, 67, 350, 46, "Type of indicator"},
    {"btCancel", ControlKind::Button, "", 24, 119, 75, 25, "Cancel"},
    {"btOK", ControlKind::Button, "", 264, 119, 75, 25, "OK"},
};

}  // namespace

TTFormIndiProp::TTFormIndiProp()
{
    SetCaption("Indicator properties");
    SetClientSize(366, 157);
    (void)BuildFormLayout(*this, nullptr, kIndiPropLayout);
    TypeOfIndi = FindControl<TRadioGroup>(*this, "TypeOfIndi");
    btOK = FindControl<TButton>(*this, "btOK");
    btCancel = FindControl<TButton>(*this, "btCancel");
    ColorBox1 = FindControl<TColorBox>(*this, "ColorBox1");
    LabelColor = FindControl<TLabel>(*this, "LabelColor");
    LabelType = FindControl<TLabel>(*this, "LabelType");
    LabelColor->SetAlignment(1);
    TypeOfIndi->SetColumns(3);
    btOK->SetModalResult(mrOk);
    btOK->SetDefault(true);
    btCancel->SetModalResult(mrCancel);
    btCancel->SetCancel(true);
}

bool EditIndicatorProperties(CMyIndicator& indicator)
{
    const CLngStr* row = GetDef(indicator.id);
    TTFormIndiProp dialog;
    dialog.SetCaption(GetLngText("###Set indicator####Nastav ukazatel"));
    dialog.btCancel->SetCaption(GetLngText("###Cancel####Zpět"));
    dialog.btOK->SetCaption(GetLngText("###OK####Nastav"));
    const bool hasType = row->displayKind == kMonShowNumber;
    if (!hasType) {
        dialog.TypeOfIndi->SetVisible(false);
    } else {
        dialog.TypeOfIndi->SetCaption(GetLngText("###Type of indicator####Typ ukazatele"));
        dialog.TypeOfIndi->SetColumns(3);
        dialog.TypeOfIndi->SetItems({std::string(GetLngText("###Horizontal####Horizontální")),
                                     std::string(GetLngText("###Vertical####Vertikální")),
                                     std::string(GetLngText("###Round####Ciferník"))});
        dialog.TypeOfIndi->SetItemIndex(indicator.Style);
        dialog.TypeOfIndi->Repaint();
    }
    std::string path(GetLngText("###Indicator of parameter:####Ukazatel parametru:"));
    path += ' ';
    GetDefPath(path, indicator.id, true);
    dialog.LabelType->SetCaption(path);
    dialog.LabelColor->SetCaption(GetLngText("###Color of indicator####Barva ukazatele"));
    dialog.ColorBox1->Clear();
    for (const MarkerColour& m : kMarkerColours) dialog.ColorBox1->AddItem(GetLngText(m.name), m.colour);
    dialog.ColorBox1->SetSelected(indicator.ColorMk);
    if (dialog.ShowModal() != mrOk) return false;
    if (hasType && dialog.TypeOfIndi->ItemIndex() >= 0) indicator.Style = dialog.TypeOfIndi->ItemIndex();
    // A colour from a file that the list does not offer stays unless the user picks another.
    if (dialog.ColorBox1->HasSelection()) indicator.ColorMk = dialog.ColorBox1->Selected();
    return true;
}
