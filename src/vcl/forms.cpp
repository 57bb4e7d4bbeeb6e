#include "vcl/forms.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QLabel>
#include <QLocale>
#include <QMainWindow>
#include <QMimeData>
#include <QResizeEvent>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>
#include <QTabWidget>
#include <QUrl>
#include <algorithm>
#include <clocale>

#include "vcl/customcontrol.h"
#include "vcl/qtcolor.h"

using vcl::Q;
using vcl::S;

TApplication* Application = nullptr;

namespace {
// The property of a form's window that leads back to the form.
constexpr const char* kFormProperty = "kelvoraForm";
}  // namespace

TForm* vcl::FormOf(const QWidget* widget)
{
    const QWidget* window = widget ? widget->window() : nullptr;
    return window ? static_cast<TForm*>(window->property(kFormProperty).value<void*>()) : nullptr;
}

std::vector<TRect> vcl::ScreenMonitors()
{
    std::vector<TRect> monitors;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect g = screen->geometry();
        monitors.push_back({g.left(), g.top(), g.left() + g.width(), g.top() + g.height()});
    }
    return monitors;
}

// The Qt window of a form: hands closing, drops and status tips to the form.
class FormWindow final : public QMainWindow {
public:
    explicit FormWindow(TForm* form, QWidget* parent) : QMainWindow(parent), m_form(form)
    {
        if (qApp) qApp->installEventFilter(this);
    }
    void Detach() { m_form = nullptr; }

    // Keys for the form's short-cut handler, before the focused control has them.
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !m_form || !m_form->OnShortCut || !watched->isWidgetType())
            return false;
        // A key no one takes travels up to the parents; the handler sees it once, at its first receiver.
        QWidget* first = focusWidget() ? focusWidget() : this;
        if (watched != first) return false;
        const int vk = vcl::VirtualKeyOf(*static_cast<QKeyEvent*>(event));
        if (vk == 0) return false;
        bool handled = false;
        vcl::Fire(m_form->OnShortCut, vk, handled);
        return handled;
    }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        if (m_form && !m_form->HandleClose()) {
            event->ignore();
            return;
        }
        event->accept();
        // Closing a modal form is its cancel.
        if (m_form && m_form->m_modalLoop && m_form->m_modalResult == mrNone) m_form->SetModalResult(mrCancel);
        // Closing the main form ends the message loop.
        if (m_form && Application && Application->MainForm == m_form)
            QMetaObject::invokeMethod(qApp, &QApplication::quit, Qt::QueuedConnection);
    }
    void resizeEvent(QResizeEvent* event) override
    {
        QMainWindow::resizeEvent(event);
        if (!m_form) return;
        if (m_form->OnCanResize && !m_adjusting) {
            int width = event->size().width(), height = event->size().height();
            bool allow = true;
            vcl::Fire(m_form->OnCanResize, m_form, width, height, allow);
            if (!allow && event->oldSize().isValid()) {
                width = event->oldSize().width();
                height = event->oldSize().height();
            }
            if (m_form && (width != this->width() || height != this->height())) {
                // The corrected size comes back here as a resize of its own.
                m_adjusting = true;
                resize(width, height);
                m_adjusting = false;
                return;
            }
        }
        if (m_form) vcl::Fire(m_form->OnResize, m_form);
    }
    void keyPressEvent(QKeyEvent* event) override
    {
        // Enter and Esc that no control used press the form's default and cancel buttons.
        if (m_form && event->modifiers() == Qt::NoModifier) {
            TButton* button = nullptr;
            if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) button = m_form->m_defaultButton;
            if (event->key() == Qt::Key_Escape) button = m_form->m_cancelButton;
            if (button && button->Enabled() && button->Widget()->isVisible()) {
                button->Click();
                return;
            }
        }
        QMainWindow::keyPressEvent(event);
    }
    void showEvent(QShowEvent* event) override
    {
        QMainWindow::showEvent(event);
        if (m_form)
            vcl::Fire(m_form->OnShow, m_form);
    }
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::StatusTip && Application && m_form && Application->MainForm == m_form) {
            Application->SetHint(S(static_cast<QStatusTipEvent*>(event)->tip()));
            return true;
        }
        if (event->type() == QEvent::WindowActivate && m_form)
            vcl::Fire(m_form->OnActivate, m_form);
        return QMainWindow::event(event);
    }
    void dragEnterEvent(QDragEnterEvent* event) override
    {
        if (m_form && m_form->OnDropFiles && event->mimeData()->hasUrls())
            event->acceptProposedAction();
    }
    void dropEvent(QDropEvent* event) override
    {
        if (!m_form || !m_form->OnDropFiles)
            return;
        std::vector<std::string> paths;
        for (const QUrl& url : event->mimeData()->urls())
            if (url.isLocalFile())
                paths.push_back(S(url.toLocalFile()));
        event->acceptProposedAction();
        vcl::Fire(m_form->OnDropFiles, paths);
    }

private:
    TForm* m_form;
    bool m_adjusting = false;
};

// ---------------------------------------------------------------- TForm

TForm::TForm(QWidget* parent) : TControl(new FormWindow(this, parent)), m_client(new QWidget(m_widget))
{
    m_widget->setProperty(kFormProperty, QVariant::fromValue(static_cast<void*>(this)));
    Window()->setCentralWidget(m_client);
    m_client->setAutoFillBackground(true);
    m_widget->resize(640, 480);
}

TForm::~TForm()
{
    DestroyWindow();
}

void TForm::DestroyWindow()
{
    if (!m_windowAlive)
        return;
    m_windowAlive = false;
    static_cast<FormWindow*>(m_widget)->Detach();
    // Handlers must not run while the controls go away.
    for (auto& component : m_components)
        component->ClearEvents();
    m_widget->blockSignals(true);
    delete m_widget;
}

QWidget* TForm::ClientWidget() const { return m_client; }
QMainWindow* TForm::Window() const { return static_cast<QMainWindow*>(m_widget); }

void TForm::SetWidgetName(TControl* control, const std::string& name)
{
    control->Widget()->setObjectName(Q(name));
}

void TForm::AttachStatusBar(TStatusBar* bar)
{
    Window()->setStatusBar(bar->Bar());
}

void TForm::Register(std::unique_ptr<TComponent> component)
{
    m_byName.emplace(component->Name(), component.get());
    m_components.push_back(std::move(component));
}

TComponent* TForm::FindComponent(std::string_view name) const
{
    const auto it = m_byName.find(std::string(name));
    return it == m_byName.end() ? nullptr : it->second;
}

bool TForm::SelectNext(TControl* current)
{
    QWidget* start = current ? current->Widget() : m_client;
    for (QWidget* next = start->nextInFocusChain(); next && next != start; next = next->nextInFocusChain()) {
        if (!m_widget->isAncestorOf(next) || !(next->focusPolicy() & Qt::TabFocus))
            continue;
        if (!next->isVisibleTo(m_widget) || !next->isEnabled())
            continue;
        next->setFocus(Qt::TabFocusReason);
        return true;
    }
    return false;
}

void TForm::SetCaption(std::string_view caption)
{
    m_caption = caption;
    m_widget->setWindowTitle(Q(caption));
}

int TForm::ClientWidth() const { return m_client->width(); }
int TForm::ClientHeight() const { return m_client->height(); }

void TForm::SetClientSize(int width, int height)
{
    // The client area lies between the menu bar and the status bar.
    int extra = 0;
    if (QWidget* bar = Window()->menuWidget())
        extra += bar->sizeHint().height();
    if (QStatusBar* bar = Window()->findChild<QStatusBar*>(QString(), Qt::FindDirectChildrenOnly))
        extra += bar->sizeHint().height();
    m_widget->resize(width, height + extra);
}

void TForm::Show() { m_widget->show(); }
void TForm::Hide() { m_widget->hide(); }
void TForm::Close() { m_widget->close(); }
void TForm::SetAcceptDrops(bool accept) { m_widget->setAcceptDrops(accept); }

void TForm::FitToScreen()
{
    const QScreen* screen = QGuiApplication::screenAt(m_widget->geometry().center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const int width = std::min(m_widget->width(), area.width());
    const int height = std::min(m_widget->height(), area.height());
    const int left = std::clamp(m_widget->x(), area.left(), area.right() + 1 - width);
    const int top = std::clamp(m_widget->y(), area.top(), area.bottom() + 1 - height);
    m_widget->setGeometry(left, top, width, height);
}

void TForm::SetStayOnTop(bool onTop)
{
    if (onTop == m_stayOnTop) return;
    m_stayOnTop = onTop;
    const bool shown = m_widget->isVisible();
    // Changing the flag hides a shown window; it comes back where it was.
    const QPoint place = m_widget->pos();
    m_widget->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (shown) {
        m_widget->move(place);
        m_widget->show();
    }
}

void TForm::SetModalResult(int result)
{
    m_modalResult = result;
    if (m_modalLoop && result != mrNone) m_modalLoop->quit();
}

bool TForm::HandleClose()
{
    TCloseAction action = TCloseAction::caHide;
    if (OnClose) {
        try {
            OnClose(this, action);
        } catch (...) {
            vcl::ReportCurrentException("OnClose");
        }
    }
    return action != TCloseAction::caNone;
}

// ---------------------------------------------------------------- TPageControl, TTabSheet

TPageControl::TPageControl(QWidget* parent) : TControl(new QTabWidget(parent)), m_tabs(static_cast<QTabWidget*>(m_widget))
{
    m_tabs->resize(289, 193);
    m_tabs->setUsesScrollButtons(true);
    QObject::connect(m_tabs, &QTabWidget::currentChanged, m_tabs, [this] {
        if (m_quiet == 0)
            vcl::Fire(OnChange, this);
    });
}

int TPageControl::PageCount() const { return static_cast<int>(m_sheets.size()); }

TTabSheet* TPageControl::Page(int index) const
{
    return index >= 0 && index < PageCount() ? m_sheets[std::size_t(index)] : nullptr;
}

int TPageControl::ActivePageIndex() const
{
    QWidget* current = m_tabs->currentWidget();
    for (std::size_t i = 0; i < m_sheets.size(); ++i)
        if (m_sheets[i]->Widget() == current)
            return int(i);
    return -1;
}

void TPageControl::SetActivePageIndex(int index)
{
    TTabSheet* sheet = Page(index);
    if (!sheet || !sheet->TabVisible())
        return;
    ++m_quiet;
    m_tabs->setCurrentWidget(sheet->Widget());
    --m_quiet;
}

void TPageControl::SetSheetClientSize(int width, int height)
{
    // The style puts the sheets inside the frame of the pane below the tab row. Qt lays the control out only once
    // it is shown, so ask the style what it will give the sheets at a trial size, as the tab widget will ask it.
    m_tabs->ensurePolished();
    QStyleOptionTabWidgetFrame option;
    option.initFrom(m_tabs);
    option.rect = QRect(0, 0, width + 100, height + 100);
    option.lineWidth = m_tabs->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, m_tabs);
    option.shape = m_tabs->tabBar()->shape();
    option.tabBarSize = m_tabs->tabBar()->sizeHint();
    const QRect contents = m_tabs->style()->subElementRect(QStyle::SE_TabWidgetTabContents, &option, m_tabs);
    m_tabs->resize(width + option.rect.width() - contents.width(), height + option.rect.height() - contents.height());
}

void TPageControl::SetActivePage(TTabSheet* sheet)
{
    if (sheet)
        SetActivePageIndex(sheet->PageIndex());
}

void TPageControl::Insert(TTabSheet* sheet)
{
    ++m_quiet;
    m_sheets.push_back(sheet);
    m_tabs->addTab(sheet->Widget(), QString());
    --m_quiet;
}

void TPageControl::Move(TTabSheet* sheet, int index)
{
    const auto it = std::find(m_sheets.begin(), m_sheets.end(), sheet);
    if (it == m_sheets.end())
        return;
    index = std::clamp(index, 0, PageCount() - 1);
    ++m_quiet;
    QWidget* current = m_tabs->currentWidget();
    m_sheets.erase(it);
    m_sheets.insert(m_sheets.begin() + index, sheet);
    // Qt's tab index equals the page number, since hidden tabs stay in the tab widget.
    m_tabs->removeTab(m_tabs->indexOf(sheet->Widget()));
    m_tabs->insertTab(index, sheet->Widget(), Q(sheet->Caption()));
    m_tabs->setTabVisible(index, sheet->TabVisible());
    m_tabs->setCurrentWidget(current);
    --m_quiet;
}

void TPageControl::SetTabVisible(TTabSheet* sheet, bool visible)
{
    ++m_quiet;
    m_tabs->setTabVisible(m_tabs->indexOf(sheet->Widget()), visible);
    --m_quiet;
}

TTabSheet::TTabSheet(TPageControl* pageControl) : TControl(new QWidget(pageControl->Widget())), m_pageControl(pageControl)
{
    m_pageControl->Insert(this);
}

void TTabSheet::SetCaption(std::string_view caption)
{
    m_caption = caption;
    auto* tabs = static_cast<QTabWidget*>(m_pageControl->Widget());
    tabs->setTabText(tabs->indexOf(m_widget), Q(caption));
}

void TTabSheet::SetTabVisible(bool visible)
{
    if (visible == m_tabVisible)
        return;
    m_tabVisible = visible;
    m_pageControl->SetTabVisible(this, visible);
}

int TTabSheet::PageIndex() const
{
    for (int i = 0; i < m_pageControl->PageCount(); ++i)
        if (m_pageControl->Page(i) == this)
            return i;
    return -1;
}

void TTabSheet::SetPageIndex(int index) { m_pageControl->Move(this, index); }

// ---------------------------------------------------------------- TStatusBar

TStatusBar::TStatusBar(QWidget* parent) : TControl(new QStatusBar(parent))
{
    Bar()->setSizeGripEnabled(false);
}

QStatusBar* TStatusBar::Bar() const { return static_cast<QStatusBar*>(m_widget); }

void TStatusBar::AddPanel(int width)
{
    auto* label = new QLabel(m_widget);
    label->setFixedWidth(width);
    label->setFrameShape(QFrame::StyledPanel);
    label->setTextFormat(Qt::PlainText);
    Bar()->addWidget(label);
    m_panels.push_back(label);
    m_texts.emplace_back();
}

std::string TStatusBar::PanelText(int index) const
{
    return index >= 0 && index < PanelCount() ? m_texts[std::size_t(index)] : std::string();
}

void TStatusBar::SetPanelText(int index, std::string_view text)
{
    if (index < 0 || index >= PanelCount())
        return;
    m_texts[std::size_t(index)] = text;
    m_panels[std::size_t(index)]->setText(Q(text));
}

int TStatusBar::PanelWidth(int index) const
{
    return index >= 0 && index < PanelCount() ? m_panels[std::size_t(index)]->width() : 0;
}

// ---------------------------------------------------------------- TApplication

namespace {

// Qt must never see an exception cross an event: whatever a handler lets escape ends here.
class GuardedApplication final : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (...) {
            vcl::ReportCurrentException("message loop");
            return false;
        }
    }
};

}  // namespace

TApplication::TApplication(int& argc, char** argv)
{
    if (!QApplication::instance())
        m_app = std::make_unique<GuardedApplication>(argc, argv);
    // Numbers in files are written and read in the C locale, whatever the desktop's language.
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());
    for (int i = 1; i < argc; ++i)
        m_arguments.emplace_back(argv[i]);
    Application = this;
}

TApplication::~TApplication()
{
    // Forms go in reverse order of creation, the main form last.
    while (!m_forms.empty())
        m_forms.pop_back();
    if (Application == this)
        Application = nullptr;
}

int TApplication::Run()
{
    if (!MainForm)
        return 0;
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(MainForm->Widget(), &QObject::destroyed, qApp, [] { QApplication::quit(); });
    MainForm->Show();
    QApplication::exec();
    return 0;
}

void TApplication::ProcessMessages() { QApplication::processEvents(); }
void TApplication::Terminate() { QApplication::quit(); }

void TApplication::SetHint(std::string_view hint)
{
    m_hint = hint;
    vcl::Fire(OnHint, static_cast<TObject*>(nullptr));
}
