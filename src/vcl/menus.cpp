#include "vcl/menus.h"

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "vcl/forms.h"
#include "vcl/qtcolor.h"

using vcl::Q;

TMenuItem::TMenuItem(TMenuItem* parent, QWidget* window, QAction* action)
    : m_parent(parent), m_window(window), m_action(action)
{
    if (m_action)
        QObject::connect(m_action, &QAction::triggered, m_action, [this] { Triggered(); });
}

TMenuItem::~TMenuItem() = default;

void TMenuItem::ClearEvents()
{
    OnClick = nullptr;
    for (auto& item : m_items)
        item->ClearEvents();
}

QMenu* TMenuItem::SubMenu()
{
    if (!m_menu && !m_bar) {
        m_menu = new QMenu(m_window);
        m_action->setMenu(m_menu);
    }
    return m_menu;
}

TMenuItem* TMenuItem::InsertItem(int index, std::unique_ptr<TMenuItem> item)
{
    index = std::clamp(index, 0, Count());
    QAction* before = index < Count() ? m_items[std::size_t(index)]->m_action : nullptr;
    if (m_bar)
        m_bar->insertAction(before, item->m_action);
    else
        SubMenu()->insertAction(before, item->m_action);
    TMenuItem* raw = item.get();
    m_items.insert(m_items.begin() + index, std::move(item));
    return raw;
}

TMenuItem* TMenuItem::Insert(int index, std::string name, std::string_view caption)
{
    QObject* owner = m_bar ? static_cast<QObject*>(m_bar) : static_cast<QObject*>(SubMenu());
    auto* action = new QAction(owner);
    std::unique_ptr<TMenuItem> item(new TMenuItem(this, m_window, action));
    item->SetName(std::move(name));
    action->setObjectName(Q(item->Name()));
    item->SetCaption(caption);
    return InsertItem(index, std::move(item));
}

TMenuItem* TMenuItem::Add(std::string name, std::string_view caption) { return Insert(Count(), std::move(name), caption); }

TMenuItem* TMenuItem::AddSeparator()
{
    TMenuItem* item = Add("", "-");
    item->m_action->setSeparator(true);
    return item;
}

void TMenuItem::Delete(int index)
{
    if (index < 0 || index >= Count())
        return;
    auto& item = m_items[std::size_t(index)];
    item->ClearEvents();
    delete item->m_action;  // also takes it out of the menu
    m_items.erase(m_items.begin() + index);
}

void TMenuItem::Clear()
{
    while (Count() > 0)
        Delete(Count() - 1);
}

TMenuItem* TMenuItem::Item(int index) const
{
    return index >= 0 && index < Count() ? m_items[std::size_t(index)].get() : nullptr;
}

int TMenuItem::MenuIndex() const
{
    if (!m_parent)
        return -1;
    for (int i = 0; i < m_parent->Count(); ++i)
        if (m_parent->Item(i) == this)
            return i;
    return -1;
}

void TMenuItem::SetCaption(std::string_view caption)
{
    m_caption = caption;
    if (!m_action)
        return;
    if (caption == "-") {
        m_action->setSeparator(true);
        return;
    }
    m_action->setText(Q(caption));
}

void TMenuItem::SetChecked(bool checked)
{
    m_checked = checked;
    if (m_action) {
        m_action->setCheckable(checked || m_radio || m_action->isCheckable());
        m_action->setChecked(checked);
    }
    if (checked && m_radio && m_parent) {
        for (auto& sibling : m_parent->m_items)
            if (sibling.get() != this && sibling->m_radio && sibling->m_groupIndex == m_groupIndex && sibling->m_checked)
                sibling->SetChecked(false);
    }
}

void TMenuItem::SetEnabled(bool enabled)
{
    m_enabled = enabled;
    if (m_action)
        m_action->setEnabled(enabled);
}

void TMenuItem::SetVisible(bool visible)
{
    m_visible = visible;
    if (m_action)
        m_action->setVisible(visible);
}

void TMenuItem::SetShortCut(std::string_view keys)
{
    if (m_action) {
        m_action->setShortcut(QKeySequence(Q(keys)));
        // Shortcuts of the menu work wherever the focus is in the window.
        m_action->setShortcutContext(Qt::WindowShortcut);
        if (m_window && !m_window->actions().contains(m_action))
            m_window->addAction(m_action);
    }
}

void TMenuItem::SetHint(std::string_view hint)
{
    m_hint = hint;
    // "short|long": a menu item shows no tool tip; the status bar gets the long part.
    const auto bar = hint.find('|');
    if (m_action)
        m_action->setStatusTip(Q(bar == std::string_view::npos ? hint : hint.substr(bar + 1)));
}

void TMenuItem::Triggered()
{
    // The old menus did not toggle a check mark by themselves: the handler decides.
    if (m_action->isCheckable() && m_action->isChecked() != m_checked)
        m_action->setChecked(m_checked);
    vcl::Fire(OnClick, this);
}

void TMenuItem::Click()
{
    if (m_enabled)
        vcl::Fire(OnClick, this);
}

TMenuItem* TMenuItem::FindItem(std::string_view name)
{
    if (Name() == name)
        return this;
    for (auto& item : m_items)
        if (TMenuItem* found = item->FindItem(name))
            return found;
    return nullptr;
}

TMainMenu::TMainMenu(TForm& form)
{
    auto* bar = new QMenuBar(form.Window());
    form.Window()->setMenuBar(bar);
    m_root.reset(new TMenuItem(nullptr, form.Window(), nullptr));
    m_root->m_bar = bar;
}

TMenuItem* TMainMenu::Find(std::string_view name)
{
    return m_root->FindItem(name);
}

// The menu has no parent widget, so that it lives exactly as long as this object whatever happens to the owner's
// window; its sub-menus are its children.
TPopupMenu::TPopupMenu(QWidget*) : m_menu(new QMenu())
{
    m_root.reset(new TMenuItem(nullptr, m_menu, nullptr));
    m_root->m_menu = m_menu;
}

TPopupMenu::~TPopupMenu()
{
    m_root->ClearEvents();
    m_root->Clear();
    delete m_menu;
}

void TPopupMenu::Popup(int screenX, int screenY)
{
    m_menu->popup(QPoint(screenX, screenY));
}

bool TPopupMenu::Visible() const
{
    return m_menu->isVisible();
}

void TPopupMenu::Close()
{
    m_menu->close();
}
