#pragma once
// Forms, the application object, page controls and the status bar.
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "vcl/controls.h"
#include "vcl/graphics.h"

class QMainWindow;
class QTabWidget;
class QStatusBar;
class QLabel;
class TForm;
class TPageControl;
class TStatusBar;
class TMainMenu;

enum class TCloseAction { caNone, caHide, caFree, caMinimize };

class TTabSheet final : public TControl {
public:
    explicit TTabSheet(TPageControl* pageControl);
    [[nodiscard]] const char* ClassName() const override { return "TTabSheet"; }
    void SetCaption(std::string_view caption) override;
    // A hidden tab keeps its page number; only its tab is gone.
    [[nodiscard]] bool TabVisible() const { return m_tabVisible; }
    void SetTabVisible(bool visible);
    [[nodiscard]] int PageIndex() const;
    void SetPageIndex(int index);  // moves the sheet to this page number
    [[nodiscard]] TPageControl* PageControl() const { return m_pageControl; }

private:
    TPageControl* m_pageControl;
    bool m_tabVisible = true;
};

class TPageControl final : public TControl {
public:
    explicit TPageControl(QWidget* parent);
    [[nodiscard]] const char* ClassName() const override { return "TPageControl"; }
    [[nodiscard]] int PageCount() const;
    [[nodiscard]] TTabSheet* Page(int index) const;
    [[nodiscard]] int ActivePageIndex() const;
    // From code: fires no OnChange. A hidden sheet cannot become active (the index stays).
    void SetActivePageIndex(int index);
    [[nodiscard]] TTabSheet* ActivePage() const { return Page(ActivePageIndex()); }
    void SetActivePage(TTabSheet* sheet);
    // Sizes the control so that each sheet's client area is width x height (the tab row and frame around it).
    void SetSheetClientSize(int width, int height);
    TNotifyEvent OnChange;  // the user chose another tab
    void ClearEvents() override
    {
        TControl::ClearEvents();
        OnChange = nullptr;
    }

private:
    friend class TTabSheet;
    void Insert(TTabSheet* sheet);
    void Move(TTabSheet* sheet, int index);
    void SetTabVisible(TTabSheet* sheet, bool visible);
    QTabWidget* m_tabs;
    std::vector<TTabSheet*> m_sheets;  // in page order; hidden sheets included
    int m_quiet = 0;                   // changes made by code, which fire no OnChange
};

class TStatusBar final : public TControl {
public:
    explicit TStatusBar(QWidget* parent);
    [[nodiscard]] const char* ClassName() const override { return "TStatusBar"; }
    void AddPanel(int width);
    [[nodiscard]] int PanelCount() const { return static_cast<int>(m_panels.size()); }
    [[nodiscard]] std::string PanelText(int index) const;
    void SetPanelText(int index, std::string_view text);
    [[nodiscard]] int PanelWidth(int index) const;
    [[nodiscard]] QStatusBar* Bar() const;

private:
    std::vector<QLabel*> m_panels;
    std::vector<std::string> m_texts;
};

class TForm : public TControl {
public:
    explicit TForm(QWidget* parent = nullptr);
    ~TForm() override;
    [[nodiscard]] const char* ClassName() const override { return "TForm"; }
    [[nodiscard]] QWidget* ClientWidget() const override;
    [[nodiscard]] QMainWindow* Window() const;

    // Creates a control with this form as its owner; parent null places it on the form itself.
    template <class T>
    T* Make(TControl* parent, std::string name)
    {
        std::unique_ptr<T> control;
        if constexpr (std::is_constructible_v<T, TPageControl*>)
            control = std::make_unique<T>(static_cast<TPageControl*>(parent));
        else
            control = std::make_unique<T>(parent ? parent->ClientWidget() : ClientWidget());
        T* raw = control.get();
        raw->SetName(name);
        SetWidgetName(raw, name);
        if constexpr (std::is_same_v<T, TStatusBar>)
            AttachStatusBar(raw);
        Register(std::move(control));
        return raw;
    }
    // Takes ownership of a non-visual component (menus, timers, dialogs).
    template <class T>
    T* Own(std::unique_ptr<T> component, std::string name)
    {
        T* raw = component.get();
        raw->SetName(std::move(name));
        Register(std::move(component));
        return raw;
    }
    // The first component made with that name, or null.
    [[nodiscard]] TComponent* FindComponent(std::string_view name) const;
    // Components are made and kept for the form's life: a count that did not change means no new names.
    [[nodiscard]] std::size_t ComponentCount() const { return m_components.size(); }
    // Moves the focus to the control after `current` in tab order that can take it; false when there is none.
    bool SelectNext(TControl* current);

    void SetCaption(std::string_view caption) override;
    [[nodiscard]] int ClientWidth() const;
    [[nodiscard]] int ClientHeight() const;
    void SetClientSize(int width, int height);
    void Show();
    void Hide();
    void Close();  // runs OnClose; the window closes unless the action is caNone
    void SetAcceptDrops(bool accept);
    // Moves and shrinks the window so that it lies on the screen nearest to it.
    void FitToScreen();
    // Form style: above the other windows of the desktop, or normal.
    void SetStayOnTop(bool onTop);
    [[nodiscard]] bool StayOnTop() const { return m_stayOnTop; }

    // Runs the form as a modal window until its modal result is set (a button with a modal result sets it) or it
    // is closed (mrCancel), and returns the result. Tests answer through the dialog hook instead.
    int ShowModal();
    [[nodiscard]] int ModalResult() const { return m_modalResult; }
    void SetModalResult(int result);
    // The buttons that Enter and Esc press when the focused control does not use the key.
    void SetDefaultButton(TButton* button) { m_defaultButton = button; }
    void SetCancelButton(TButton* button) { m_cancelButton = button; }

    std::function<void(TObject* Sender, TCloseAction& action)> OnClose;
    TNotifyEvent OnShow;
    TNotifyEvent OnActivate;
    // Runs once while the application creates the form, before it creates the next one.
    TNotifyEvent OnCreate;
    // Files dropped on the window (local paths, in the order dropped).
    std::function<void(const std::vector<std::string>& paths)> OnDropFiles;
    // The window got a new size (from the user, the window system or the program).
    TNotifyEvent OnResize;
    // A new size of the window is about to stay: the handler may change it, or refuse it (resize = false: the old
    // size comes back). Sizes are Width and Height, without the window system's frame.
    std::function<void(TObject* Sender, int& width, int& height, bool& resize)> OnCanResize;
    // Every key pressed in the window, before the control with the focus sees it (virtual-key code); a handler
    // that sets handled keeps the key from the control.
    std::function<void(int key, bool& handled)> OnShortCut;

protected:
    // Deletes the Qt window with every control on it. A derived form calls it first in its destructor, so that
    // no event reaches handlers of a half-destroyed form.
    void DestroyWindow();

private:
    friend class FormWindow;
    static void SetWidgetName(TControl* control, const std::string& name);
    void AttachStatusBar(TStatusBar* bar);
    bool HandleClose();
    void Register(std::unique_ptr<TComponent> component);
    QWidget* m_client;
    bool m_stayOnTop = false;
    int m_modalResult = 0;
    class QEventLoop* m_modalLoop = nullptr;
    TButton* m_defaultButton = nullptr;
    TButton* m_cancelButton = nullptr;
    std::vector<std::unique_ptr<TComponent>> m_components;
    // Names to components, so that the pages' hundreds of look-ups at start stay cheap.
    std::unordered_map<std::string, TComponent*> m_byName;
    bool m_windowAlive = true;
};

class QApplication;

// Modal results.
inline constexpr int mrNone = 0;
inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;
inline constexpr int mrYes = 6;

namespace vcl {
// The form whose window holds the widget, or null.
[[nodiscard]] TForm* FormOf(const QWidget* widget);
// The monitors of the desktop (their whole areas), in the desktop's order.
[[nodiscard]] std::vector<TRect> ScreenMonitors();
}  // namespace vcl

// The application: creates the forms (the first one is the main form), runs the message loop and catches what
// escapes the event handlers.
class TApplication final {
public:
    TApplication(int& argc, char** argv);
    ~TApplication();
    template <class F, class... Args>
    F* CreateForm(Args&&... args)
    {
        auto form = std::make_unique<F>(std::forward<Args>(args)...);
        F* raw = form.get();
        if (!MainForm)
            MainForm = raw;
        m_forms.push_back(std::move(form));
        vcl::Fire(raw->OnCreate, static_cast<TObject*>(raw));
        return raw;
    }
    int Run();  // shows the main form and runs the loop until it closes
    void ProcessMessages();
    void Terminate();
    [[nodiscard]] const std::string& Hint() const { return m_hint; }
    void SetHint(std::string_view hint);
    // The program's arguments, without the program name.
    [[nodiscard]] const std::vector<std::string>& Arguments() const { return m_arguments; }

    TForm* MainForm = nullptr;
    TNotifyEvent OnHint;

private:
    std::unique_ptr<QApplication> m_app;
    std::vector<std::unique_ptr<TForm>> m_forms;
    std::vector<std::string> m_arguments;
    std::string m_hint;
};

// The one application object while it exists (null in tests that make forms without it).
extern TApplication* Application;
