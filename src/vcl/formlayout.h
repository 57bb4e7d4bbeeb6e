#pragma once
// Form descriptions: the design-time controls of a window or page as one table of rows (name, class, parent,
// bounds, caption), read once when the window is made. The tables live beside the code that uses the controls;
// the language tables later replace the captions by control name.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "vcl/controls.h"

class TForm;

enum class ControlKind {
    Label,
    Edit,
    UpDown,
    DeciEdit,
    DeciUpDown,
    Memo,
    Button,
    SpeedButton,
    CheckBox,
    RadioButton,
    RadioGroup,
    ComboBox,
    GroupBox,
    Panel,
    Image,
    Gauge,
    ColorBox,
};

struct ControlRow
{
    std::string_view name;
    ControlKind kind;
    // A control made by an earlier row or already on the form; empty: the root the table is read onto.
    std::string_view parent;
    int left, top, width, height;
    std::string_view caption = {};  // English design caption; an edit's text
    // Up-downs: the edit that shows the position. The up-down then stands glued to the edit's right edge, as tall
    // as the edit, and its own left, top and height are not used.
    std::string_view buddy = {};
};

// The class name ("TLabel", ...) of the controls a kind makes.
[[nodiscard]] const char* ClassNameOf(ControlKind kind);

// Makes the rows' controls, owned by the form, in table order. Returns one text per row it could not make
// (unknown parent, a name already on the form, an up-down whose buddy is missing); such a row is skipped.
std::vector<std::string> BuildFormLayout(TForm& form, TControl* root, std::span<const ControlRow> rows);

// The control of that name when it is a T (or derived from it, for the decimal pair), else null.
template <class T>
[[nodiscard]] T* FindControl(const TForm& form, std::string_view name);

// Empty when the control shows its caption whole at its present size and font (a label's text, a button's or
// check box's box and text, a group box's title, each item of a radio group); else what is cut off.
[[nodiscard]] std::string CaptionFault(const TControl& control);

// What is wrong with the layout of the controls inside `root` (its children, and theirs): a shown control that
// overlaps a shown sibling, lies outside its parent's client area, or cuts off its caption. Controls hidden by
// their own Visible flag are left out, with their children.
[[nodiscard]] std::vector<std::string> LayoutFaults(const TControl& root);

// Whether an object is a T or derived from it; defined for the layer's control classes.
template <class T>
[[nodiscard]] bool IsA(const TComponent& component);
class TDeciEdit;
class TDeciUpDown;
class TImage;
class TTabSheet;
// clang-format off
template <> bool IsA<TControl>(const TComponent&);
template <> bool IsA<TLabel>(const TComponent&);
template <> bool IsA<TEdit>(const TComponent&);
template <> bool IsA<TDeciEdit>(const TComponent&);
template <> bool IsA<TUpDown>(const TComponent&);
template <> bool IsA<TDeciUpDown>(const TComponent&);
template <> bool IsA<TMemo>(const TComponent&);
template <> bool IsA<TButton>(const TComponent&);
template <> bool IsA<TSpeedButton>(const TComponent&);
template <> bool IsA<TCheckBox>(const TComponent&);
template <> bool IsA<TRadioButton>(const TComponent&);
template <> bool IsA<TRadioGroup>(const TComponent&);
template <> bool IsA<TComboBox>(const TComponent&);
template <> bool IsA<TGroupBox>(const TComponent&);
template <> bool IsA<TPanel>(const TComponent&);
template <> bool IsA<TImage>(const TComponent&);
template <> bool IsA<TCGauge>(const TComponent&);
template <> bool IsA<TColorBox>(const TComponent&);
template <> bool IsA<TTabSheet>(const TComponent&);
// clang-format on

namespace vcl {
[[nodiscard]] TComponent* FindNamed(const TForm& form, std::string_view name);
}

template <class T>
T* FindControl(const TForm& form, std::string_view name)
{
    TComponent* component = vcl::FindNamed(form, name);
    return component && IsA<T>(*component) ? static_cast<T*>(component) : nullptr;
}
