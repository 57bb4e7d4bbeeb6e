#pragma once
// The main menu and its items. An item with sub-items is a sub-menu. Items are owned by their parent item;
// the Qt objects behind them by the form's window.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "vcl/core.h"
#include "vcl/controls.h"

class QAction;
class QMenu;
class QMenuBar;
class QWidget;
class TForm;

class TMenuItem final : public TComponent {
public:
    [[nodiscard]] const char* ClassName() const override { return "TMenuItem"; }
    ~TMenuItem() override;
    // A new sub-item at the end, or at `index` (0 = first).
    TMenuItem* Add(std::string name, std::string_view caption = {});
    TMenuItem* Insert(int index, std::string name, std::string_view caption = {});
    TMenuItem* AddSeparator();
    void Delete(int index);
    void Clear();
    [[nodiscard]] int Count() const { return static_cast<int>(m_items.size()); }
    [[nodiscard]] TMenuItem* Item(int index) const;
    [[nodiscard]] TMenuItem* Parent() const { return m_parent; }
    [[nodiscard]] int MenuIndex() const;

    [[nodiscard]] const std::string& Caption() const { return m_caption; }
    void SetCaption(std::string_view caption);  // '&' marks the accelerator
    [[nodiscard]] bool Checked() const { return m_checked; }
    void SetChecked(bool checked);  // a radio item unchecks the other radio items of its group
    [[nodiscard]] bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    [[nodiscard]] bool Visible() const { return m_visible; }
    void SetVisible(bool visible);
    void SetRadioItem(bool radio) { m_radio = radio; }
    void SetGroupIndex(int group) { m_groupIndex = group; }
    void SetShortCut(std::string_view keys);  // "Ctrl+O", "F9", ...
    void SetHint(std::string_view hint);
    [[nodiscard]] const std::string& Hint() const { return m_hint; }
    void Click();  // as the user choosing it (nothing while disabled)
    [[nodiscard]] QAction* Action() const { return m_action; }
    [[nodiscard]] TMenuItem* FindItem(std::string_view name);

    TNotifyEvent OnClick;
    void ClearEvents() override;

private:
    friend class TMainMenu;
    friend class TPopupMenu;
    TMenuItem(TMenuItem* parent, QWidget* window, QAction* action);
    QMenu* SubMenu();
    TMenuItem* InsertItem(int index, std::unique_ptr<TMenuItem> item);
    void Triggered();

    TMenuItem* m_parent;
    QWidget* m_window;
    QAction* m_action;
    QMenu* m_menu = nullptr;
    QMenuBar* m_bar = nullptr;  // set on the root item of a main menu
    std::vector<std::unique_ptr<TMenuItem>> m_items;
    std::string m_caption;
    std::string m_hint;
    bool m_checked = false;
    bool m_enabled = true;
    bool m_visible = true;
    bool m_radio = false;
    int m_groupIndex = 0;
};

class TMainMenu final : public TComponent {
public:
    explicit TMainMenu(TForm& form);
    [[nodiscard]] const char* ClassName() const override { return "TMainMenu"; }
    [[nodiscard]] TMenuItem& Items() { return *m_root; }
    // The item with this name anywhere in the tree, or null.
    [[nodiscard]] TMenuItem* Find(std::string_view name);

private:
    std::unique_ptr<TMenuItem> m_root;
};

// A context menu, filled anew before each use. Popup shows it and returns at once; the chosen item's OnClick
// runs later from the message loop, never inside the caller.
class TPopupMenu final : public TComponent {
public:
    explicit TPopupMenu(QWidget* owner);
    ~TPopupMenu() override;
    [[nodiscard]] const char* ClassName() const override { return "TPopupMenu"; }
    [[nodiscard]] TMenuItem& Items() { return *m_root; }
    void Popup(int screenX, int screenY);
    [[nodiscard]] bool Visible() const;
    void Close();
    bool AutoPopup = true;
    void ClearEvents() override { m_root->ClearEvents(); }

private:
    std::unique_ptr<TMenuItem> m_root;
    QMenu* m_menu;
};
