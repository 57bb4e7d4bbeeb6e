#include "vcl/formlayout.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

#include "vcl/deciedit.h"
#include "vcl/forms.h"
#include "vcl/image.h"
#include "vcl/qtcolor.h"

namespace {

struct KindRow
{
    ControlKind kind;
    const char* className;
};
constexpr KindRow kKinds[] = {
    {ControlKind::Label, "TLabel"},           {ControlKind::Edit, "TEdit"},
    {ControlKind::UpDown, "TUpDown"},         {ControlKind::DeciEdit, "TDeciEdit"},
    {ControlKind::DeciUpDown, "TDeciUpDown"}, {ControlKind::Memo, "TMemo"},
    {ControlKind::Button, "TButton"},         {ControlKind::SpeedButton, "TSpeedButton"},
    {ControlKind::CheckBox, "TCheckBox"},     {ControlKind::RadioButton, "TRadioButton"},
    {ControlKind::RadioGroup, "TRadioGroup"}, {ControlKind::ComboBox, "TComboBox"},
    {ControlKind::GroupBox, "TGroupBox"},     {ControlKind::Panel, "TPanel"},
    {ControlKind::Image, "TImage"},           {ControlKind::Gauge, "TCGauge"},
    {ControlKind::ColorBox, "TColorBox"},
};

bool hasClass(const TObject& object, std::initializer_list<std::string_view> names)
{
    const std::string_view name = object.ClassName();
    for (std::string_view n : names)
        if (n == name) return true;
    return false;
}

TControl* makeControl(TForm& form, TControl* parent, const ControlRow& row)
{
    const std::string name(row.name);
    switch (row.kind) {
        case ControlKind::Label:
            return form.Make<TLabel>(parent, name);
        case ControlKind::Edit:
            return form.Make<TEdit>(parent, name);
        case ControlKind::UpDown:
            return form.Make<TUpDown>(parent, name);
        case ControlKind::DeciEdit:
            return form.Make<TDeciEdit>(parent, name);
        case ControlKind::DeciUpDown:
            return form.Make<TDeciUpDown>(parent, name);
        case ControlKind::Memo:
            return form.Make<TMemo>(parent, name);
        case ControlKind::Button:
            return form.Make<TButton>(parent, name);
        case ControlKind::SpeedButton:
            return form.Make<TSpeedButton>(parent, name);
        case ControlKind::CheckBox:
            return form.Make<TCheckBox>(parent, name);
        case ControlKind::RadioButton:
            return form.Make<TRadioButton>(parent, name);
        case ControlKind::RadioGroup:
            return form.Make<TRadioGroup>(parent, name);
        case ControlKind::ComboBox:
            return form.Make<TComboBox>(parent, name);
        case ControlKind::GroupBox:
            return form.Make<TGroupBox>(parent, name);
        case ControlKind::Panel:
            return form.Make<TPanel>(parent, name);
        case ControlKind::Image:
            return form.Make<TImage>(parent, name);
        case ControlKind::Gauge:
            return form.Make<TCGauge>(parent, name);
        case ControlKind::ColorBox:
            return form.Make<TColorBox>(parent, name);
    }
    return nullptr;
}

void applyCaption(TControl& control, const ControlRow& row)
{
    if (row.caption.empty()) return;
    switch (row.kind) {
        case ControlKind::Edit:
        case ControlKind::DeciEdit:
            static_cast<TEdit&>(control).SetText(row.caption);
            break;
        case ControlKind::Memo:
            static_cast<TMemo&>(control).SetLines({std::string(row.caption)});
            break;
        case ControlKind::ComboBox:
        case ControlKind::UpDown:
        case ControlKind::DeciUpDown:
        case ControlKind::Image:
        case ControlKind::Gauge:
        case ControlKind::ColorBox:
            break;
        default:
            control.SetCaption(row.caption);
            break;
    }
}

// Glues an up-down to the right edge of its edit; the decimal pair points at each other instead.
bool attachBuddy(TForm& form, TControl& control, const ControlRow& row)
{
    if (row.buddy.empty()) return true;
    if (row.kind == ControlKind::DeciUpDown) {
        auto* edit = FindControl<TDeciEdit>(form, row.buddy);
        if (!edit) return false;
        auto& upDown = static_cast<TDeciUpDown&>(control);
        PairDeci(*edit, upDown);
        upDown.SetBounds(edit->Left() + edit->Width(), edit->Top(), row.width, edit->Height());
        return true;
    }
    auto* edit = FindControl<TEdit>(form, row.buddy);
    if (!edit || row.kind != ControlKind::UpDown) return false;
    static_cast<TUpDown&>(control).SetAssociate(edit);
    return true;
}

}  // namespace

const char* ClassNameOf(ControlKind kind)
{
    for (const KindRow& row : kKinds)
        if (row.kind == kind) return row.className;
    return "TControl";
}

std::vector<std::string> BuildFormLayout(TForm& form, TControl* root, std::span<const ControlRow> rows)
{
    std::vector<std::string> problems;
    for (const ControlRow& row : rows) {
        const std::string name(row.name);
        if (form.FindComponent(row.name)) {
            problems.push_back(name + ": the name is taken");
            continue;
        }
        TControl* parent = root;
        if (!row.parent.empty()) {
            TComponent* found = form.FindComponent(row.parent);
            parent = found && found->IsControl() ? static_cast<TControl*>(found) : nullptr;
            if (!parent) {
                problems.push_back(name + ": no parent " + std::string(row.parent));
                continue;
            }
        }
        TControl* control = makeControl(form, parent, row);
        control->SetBounds(row.left, row.top, row.width, row.height);
        applyCaption(*control, row);
        if (!attachBuddy(form, *control, row))
            problems.push_back(name + ": no edit " + std::string(row.buddy) + " to stand beside");
    }
    return problems;
}

TComponent* vcl::FindNamed(const TForm& form, std::string_view name)
{
    return form.FindComponent(name);
}

// clang-format off
template <> bool IsA<TControl>(const TComponent& o) { return o.IsControl(); }
template <> bool IsA<TLabel>(const TComponent& o) { return hasClass(o, {"TLabel"}); }
template <> bool IsA<TEdit>(const TComponent& o) { return hasClass(o, {"TEdit", "TDeciEdit"}); }
template <> bool IsA<TDeciEdit>(const TComponent& o) { return hasClass(o, {"TDeciEdit"}); }
template <> bool IsA<TUpDown>(const TComponent& o) { return hasClass(o, {"TUpDown", "TDeciUpDown"}); }
template <> bool IsA<TDeciUpDown>(const TComponent& o) { return hasClass(o, {"TDeciUpDown"}); }
template <> bool IsA<TMemo>(const TComponent& o) { return hasClass(o, {"TMemo"}); }
template <> bool IsA<TButton>(const TComponent& o) { return hasClass(o, {"TButton"}); }
template <> bool IsA<TSpeedButton>(const TComponent& o) { return hasClass(o, {"TSpeedButton"}); }
template <> bool IsA<TCheckBox>(const TComponent& o) { return hasClass(o, {"TCheckBox"}); }
template <> bool IsA<TRadioButton>(const TComponent& o) { return hasClass(o, {"TRadioButton"}); }
template <> bool IsA<TRadioGroup>(const TComponent& o) { return hasClass(o, {"TRadioGroup"}); }
template <> bool IsA<TComboBox>(const TComponent& o) { return hasClass(o, {"TComboBox"}); }
template <> bool IsA<TGroupBox>(const TComponent& o) { return hasClass(o, {"TGroupBox"}); }
template <> bool IsA<TPanel>(const TComponent& o) { return hasClass(o, {"TPanel"}); }
template <> bool IsA<TImage>(const TComponent& o) { return hasClass(o, {"TImage"}); }
template <> bool IsA<TCGauge>(const TComponent& o) { return hasClass(o, {"TCGauge"}); }
template <> bool IsA<TColorBox>(const TComponent& o) { return hasClass(o, {"TColorBox"}); }
template <> bool IsA<TTabSheet>(const TComponent& o) { return hasClass(o, {"TTabSheet"}); }
// clang-format on

namespace {

bool isControlWidget(const QWidget* widget)
{
    return widget->property("kelvoraControl").toBool();
}

std::string nameOf(const QWidget* widget)
{
    const std::string name = vcl::S(widget->objectName());
    if (!name.empty()) return name;
    const auto* label = qobject_cast<const QLabel*>(widget);
    const auto* button = qobject_cast<const QAbstractButton*>(widget);
    const QString text = label ? label->text() : button ? button->text() : QString();
    return std::string(widget->metaObject()->className()) + " \"" + vcl::S(text) + "\"";
}

std::string captionFault(const QWidget* widget)
{
    auto cut = [&](const std::string& what, int need, int have) {
        return nameOf(widget) + ": " + what + " needs " + std::to_string(need) + " px, has " + std::to_string(have);
    };
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        if (label->text().isEmpty()) return {};
        if (label->wordWrap()) {
            const int height = label->heightForWidth(label->width());
            return height > label->height() ? cut("the height of its text", height, label->height()) : std::string();
        }
        const QSize need = label->sizeHint();
        if (need.width() > label->width()) return cut("the width of its text", need.width(), label->width());
        if (label->fontMetrics().height() > label->height())
            return cut("the height of its text", label->fontMetrics().height(), label->height());
        return {};
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        if (button->text().isEmpty()) return {};
        // A push button's size hint holds a minimum width of the style's; only its text and margins must fit.
        const bool boxed = qobject_cast<const QRadioButton*>(widget) || button->inherits("QCheckBox");
        // The accelerator's '&' is not drawn ("&&" draws one).
        QString shown = button->text();
        shown.replace(QLatin1String("&&"), QLatin1String("\x01")).remove(QLatin1Char('&'));
        shown.replace(QLatin1Char('\x01'), QLatin1Char('&'));
        const int need = boxed ? button->sizeHint().width() : button->fontMetrics().horizontalAdvance(shown) + 8;
        return need > button->width() ? cut("the width of its caption", need, button->width()) : std::string();
    }
    if (const auto* box = qobject_cast<const QGroupBox*>(widget)) {
        if (!box->title().isEmpty()) {
            const int need = box->fontMetrics().horizontalAdvance(box->title()) + 16;
            if (need > box->width()) return cut("the width of its title", need, box->width());
        }
        // The items of a radio group.
        for (const QRadioButton* item : box->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (item->sizeHint().width() > item->width())
                return cut("the width of item \"" + vcl::S(item->text()) + "\"", item->sizeHint().width(),
                           item->width());
            if (item->geometry().bottom() >= box->height())
                return nameOf(widget) + ": item \"" + vcl::S(item->text()) + "\" lies below its frame";
        }
    }
    return {};
}

// The shown control widgets directly inside `parent`.
std::vector<const QWidget*> shownChildren(const QWidget* parent)
{
    std::vector<const QWidget*> children;
    for (const QObject* object : parent->children()) {
        const auto* child = qobject_cast<const QWidget*>(object);
        if (child && !child->isHidden() && !child->isWindow() && isControlWidget(child)) children.push_back(child);
    }
    return children;
}

void checkTree(const QWidget* parent, std::vector<std::string>& faults)
{
    const std::vector<const QWidget*> children = shownChildren(parent);
    const QRect area = parent->contentsRect();
    for (std::size_t i = 0; i < children.size(); ++i) {
        const QWidget* a = children[i];
        if (!area.contains(a->geometry())) faults.push_back(nameOf(a) + ": outside " + nameOf(parent));
        for (std::size_t j = i + 1; j < children.size(); ++j)
            if (a->geometry().intersects(children[j]->geometry()))
                faults.push_back(nameOf(a) + " overlaps " + nameOf(children[j]));
        if (std::string fault = captionFault(a); !fault.empty()) faults.push_back(std::move(fault));
        checkTree(a, faults);
    }
}

}  // namespace

std::string CaptionFault(const TControl& control)
{
    return captionFault(control.Widget());
}

std::vector<std::string> LayoutFaults(const TControl& root)
{
    std::vector<std::string> faults;
    checkTree(root.ClientWidget(), faults);
    return faults;
}
