#include "vcl/dialogs.h"

#include <QApplication>
#include <QEventLoop>
#include <QMainWindow>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <cstdio>

#include "vcl/forms.h"
#include "vcl/qtcolor.h"

using vcl::Q;
using vcl::S;

namespace {

vcl::DialogHook& hook()
{
    static vcl::DialogHook h;
    return h;
}

int openBoxes = 0;
int openModals = 0;  // file dialogs and other modal windows

bool headless()
{
    const QString platform = QGuiApplication::platformName();
    return platform == "offscreen" || platform == "minimal" || !QApplication::instance();
}

int defaultAnswer(unsigned flags)
{
    switch (flags & 0xF) {
        case MB_OKCANCEL: return (flags & MB_DEFBUTTON2) ? IDCANCEL : IDOK;
        case MB_YESNOCANCEL:
        case MB_YESNO: return (flags & MB_DEFBUTTON2) ? IDNO : IDYES;
        default: return IDOK;
    }
}

int realMessageBox(const vcl::MessageBoxCall& call)
{
    QMessageBox box;
    box.setText(Q(call.text));
    box.setWindowTitle(Q(call.caption));
    switch (call.flags & 0xF0) {
        case MB_ICONSTOP: box.setIcon(QMessageBox::Critical); break;
        case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
        case MB_ICONWARNING: box.setIcon(QMessageBox::Warning); break;
        case MB_ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
        default: break;
    }
    QMessageBox::StandardButtons buttons;
    switch (call.flags & 0xF) {
        case MB_OKCANCEL: buttons = QMessageBox::Ok | QMessageBox::Cancel; break;
        case MB_YESNOCANCEL: buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
        case MB_YESNO: buttons = QMessageBox::Yes | QMessageBox::No; break;
        default: buttons = QMessageBox::Ok; break;
    }
    box.setStandardButtons(buttons);
    const int def = defaultAnswer(call.flags);
    box.setDefaultButton(def == IDCANCEL ? QMessageBox::Cancel
                         : def == IDNO   ? QMessageBox::No
                         : def == IDYES  ? QMessageBox::Yes
                                         : QMessageBox::Ok);
    switch (box.exec()) {
        case QMessageBox::Ok: return IDOK;
        case QMessageBox::Yes: return IDYES;
        case QMessageBox::No: return IDNO;
        default: return IDCANCEL;
    }
}

std::optional<std::string> realFileDialog(const vcl::FileDialogCall& call)
{
    // "IGN file|*.ign|TXT file|*.txt" becomes "IGN file (*.ign);;TXT file (*.txt)".
    QStringList parts = Q(call.filter).split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        filters << parts[i] + " (" + QString(parts[i + 1]).replace(';', ' ') + ")";
    QFileDialog dialog(nullptr, Q(call.title), Q(call.initialDir));
    dialog.setNameFilters(filters);
    dialog.setAcceptMode(call.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(call.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(Q(call.defaultExt));
    if (!call.fileName.empty())
        dialog.selectFile(Q(call.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return S(dialog.selectedFiles().first());
}

}  // namespace

namespace vcl {

DialogHook SetDialogHook(DialogHook h)
{
    DialogHook old = std::move(hook());
    hook() = std::move(h);
    return old;
}

bool MessageBoxOpen() { return openBoxes > 0; }
bool ModalOpen() { return openBoxes > 0 || openModals > 0; }
ModalScope::ModalScope() { ++openModals; }
ModalScope::~ModalScope() { --openModals; }

ScopedDialogScript::ScopedDialogScript()
{
    DialogHook scripted;
    scripted.messageBox = [this](const MessageBoxCall& call) {
        m_messages.push_back(call);
        if (m_messageAnswers.empty())
            return defaultAnswer(call.flags);
        const int answer = m_messageAnswers.front();
        m_messageAnswers.erase(m_messageAnswers.begin());
        return answer;
    };
    // The next scripted file answer; none left is a cancelled dialog.
    const auto next = [](std::vector<std::optional<std::string>>& answers) -> std::optional<std::string> {
        if (answers.empty())
            return std::nullopt;
        auto answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    };
    scripted.fileDialog = [this, next](const FileDialogCall& call) {
        m_files.push_back(call);
        return next(m_fileAnswers);
    };
    scripted.printDialog = [this, next](const PrintDialogCall& call) {
        m_prints.push_back(call);
        return next(m_printAnswers);
    };
    scripted.modalForm = [this](TForm& form) {
        m_forms.push_back(form.Caption());
        if (m_formAnswers.empty()) return;
        auto act = std::move(m_formAnswers.front());
        m_formAnswers.erase(m_formAnswers.begin());
        act(form);
    };
    m_previous = SetDialogHook(std::move(scripted));
}

ScopedDialogScript::~ScopedDialogScript() { SetDialogHook(std::move(m_previous)); }

}  // namespace vcl

int MessageBox(std::string_view text, std::string_view caption, unsigned flags)
{
    const vcl::MessageBoxCall call{std::string(text), std::string(caption), flags};
    ++openBoxes;
    int result = IDCANCEL;
    try {
        if (hook().messageBox) {
            result = hook().messageBox(call);
        } else if (headless()) {
            std::fprintf(stderr, "kelvora message [%s]: %s\n", call.caption.c_str(), call.text.c_str());
            result = defaultAnswer(flags);
        } else {
            result = realMessageBox(call);
        }
    } catch (...) {
        --openBoxes;
        throw;
    }
    --openBoxes;
    return result;
}

void ShowMessage(std::string_view text)
{
    MessageBox(text, QApplication::instance() ? S(QApplication::applicationName()) : std::string(), MB_OK);
}

bool TOpenDialog::Execute()
{
    vcl::FileDialogCall call;
    call.save = m_save;
    call.title = Title;
    call.filter = Filter;
    call.initialDir = InitialDir;
    call.fileName = FileName;
    call.defaultExt = DefaultExt;
    std::optional<std::string> chosen;
    const vcl::ModalScope modal;
    if (hook().fileDialog) {
        chosen = hook().fileDialog(call);
    } else if (headless()) {
        std::fprintf(stderr, "kelvora: file dialog \"%s\" cancelled (no display)\n", call.title.c_str());
    } else {
        chosen = realFileDialog(call);
    }
    if (!chosen)
        return false;
    FileName = *chosen;
    return true;
}

bool ExecutePrintDialog(QPrinter& printer, int pages)
{
    vcl::PrintDialogCall call;
    call.pages = pages;
    if (hook().printDialog) {
        const std::optional<std::string> pdf = hook().printDialog(call);
        if (!pdf)
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(Q(*pdf));
        return true;
    }
    if (headless()) {
        std::fprintf(stderr, "kelvora: print dialog cancelled (no display)\n");
        return false;
    }
    QPrintDialog dialog(&printer);
    dialog.setMinMax(1, pages);
    return dialog.exec() == QDialog::Accepted;
}

int TForm::ShowModal()
{
    m_modalResult = mrNone;
    const vcl::ModalScope modal;
    if (hook().modalForm) {
        // Shown, so that the script meets the window laid out as a person would.
        Show();
        hook().modalForm(*this);
        Hide();
    } else if (headless()) {
        std::fprintf(stderr, "kelvora: modal window \"%s\" closed (no display)\n", Caption().c_str());
    } else {
        QEventLoop loop;
        m_modalLoop = &loop;
        Window()->setWindowModality(Qt::ApplicationModal);
        Show();
        loop.exec();
        m_modalLoop = nullptr;
        Hide();
        Window()->setWindowModality(Qt::NonModal);
    }
    if (m_modalResult == mrNone) m_modalResult = mrCancel;
    return m_modalResult;
}
