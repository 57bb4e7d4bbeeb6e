#pragma once
// Message boxes and file dialogs. Every one goes through one hook, so tests script the answers and nothing ever
// waits on a modal window in a test or in CI.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "vcl/controls.h"

class QPrinter;

// Button sets, icons and results of the classic message box.
inline constexpr unsigned MB_OK = 0x0;
inline constexpr unsigned MB_OKCANCEL = 0x1;
inline constexpr unsigned MB_YESNOCANCEL = 0x3;
inline constexpr unsigned MB_YESNO = 0x4;
inline constexpr unsigned MB_ICONSTOP = 0x10;
inline constexpr unsigned MB_ICONERROR = 0x10;
inline constexpr unsigned MB_ICONQUESTION = 0x20;
inline constexpr unsigned MB_ICONWARNING = 0x30;
inline constexpr unsigned MB_ICONINFORMATION = 0x40;
inline constexpr unsigned MB_DEFBUTTON2 = 0x100;
inline constexpr unsigned MB_SYSTEMMODAL = 0x1000;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

class TForm;

namespace vcl {

struct MessageBoxCall {
    std::string text;
    std::string caption;
    unsigned flags = 0;
};

struct FileDialogCall {
    bool save = false;
    std::string title;
    std::string filter;      // "IGN file|*.ign|TXT file|*.txt"
    std::string initialDir;
    std::string fileName;    // offered name
    std::string defaultExt;  // without the dot
};

struct PrintDialogCall {
    int pages = 1;  // pages the job will have
};

struct DialogHook {
    std::function<int(const MessageBoxCall&)> messageBox;
    // The chosen file, or nothing when the user cancelled.
    std::function<std::optional<std::string>(const FileDialogCall&)> fileDialog;
    // The PDF file to print into, or nothing when the user cancelled.
    std::function<std::optional<std::string>(const PrintDialogCall&)> printDialog;
    // A form shown modally: the hook acts on its controls as the user would (a click on OK sets the form's modal
    // result); a form left without a result counts as closed (mrCancel).
    std::function<void(TForm&)> modalForm;
};

// Replaces the hook; returns the old one. An empty member falls back to the real dialog, except on the offscreen
// and minimal platforms, where no one could answer: there a message box returns its default button and a file
// dialog is cancelled, and both are written to stderr.
DialogHook SetDialogHook(DialogHook hook);

// True while a message box is shown (timers keep running inside it).
[[nodiscard]] bool MessageBoxOpen();
// True while any modal window is open: a message box, a file dialog, or a window inside a ModalScope. Timers keep
// running in the nested event loop, so timer steps that could re-enter what opened the window ask this first.
[[nodiscard]] bool ModalOpen();

// Counts a modal window for ModalOpen while it lives.
class ModalScope final {
public:
    ModalScope();
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;
};

// A scripted hook for tests: answers in order, records every call, restores the previous hook when it ends.
class ScopedDialogScript final {
public:
    ScopedDialogScript();
    ~ScopedDialogScript();
    ScopedDialogScript(const ScopedDialogScript&) = delete;
    ScopedDialogScript& operator=(const ScopedDialogScript&) = delete;
    void AnswerMessage(int result) { m_messageAnswers.push_back(result); }
    void AnswerFile(std::optional<std::string> path) { m_fileAnswers.push_back(std::move(path)); }
    // A print dialog answered with a PDF file, or cancelled with nothing (also when no answer is left).
    void AnswerPrint(std::optional<std::string> pdfPath) { m_printAnswers.push_back(std::move(pdfPath)); }
    // What the user does in the next modal form; with none left, forms are closed.
    void AnswerForm(std::function<void(TForm&)> act) { m_formAnswers.push_back(std::move(act)); }
    // Captions of the modal forms shown.
    [[nodiscard]] const std::vector<std::string>& Forms() const { return m_forms; }
    [[nodiscard]] const std::vector<MessageBoxCall>& Messages() const { return m_messages; }
    [[nodiscard]] const std::vector<FileDialogCall>& FileDialogs() const { return m_files; }
    [[nodiscard]] const std::vector<PrintDialogCall>& PrintDialogs() const { return m_prints; }

private:
    DialogHook m_previous;
    std::vector<int> m_messageAnswers;
    std::vector<std::optional<std::string>> m_fileAnswers;
    std::vector<std::optional<std::string>> m_printAnswers;
    std::vector<std::function<void(TForm&)>> m_formAnswers;
    std::vector<std::string> m_forms;
    std::vector<MessageBoxCall> m_messages;
    std::vector<FileDialogCall> m_files;
    std::vector<PrintDialogCall> m_prints;
};

}  // namespace vcl

// The classic message box without owner; returns IDOK, IDCANCEL, IDYES or IDNO.
int MessageBox(std::string_view text, std::string_view caption, unsigned flags);
void ShowMessage(std::string_view text);
// The print dialog: true, with the printer set up for the chosen printer or PDF file, when the user confirmed.
bool ExecutePrintDialog(QPrinter& printer, int pages);

class TOpenDialog : public TComponent {
public:
    [[nodiscard]] const char* ClassName() const override { return "TOpenDialog"; }
    std::string Filter;
    int FilterIndex = 1;
    std::string FileName;  // kept between uses
    std::string InitialDir;
    std::string DefaultExt;
    std::string Title;
    // True with FileName set when the user chose a file.
    bool Execute();

protected:
    bool m_save = false;
};

class TSaveDialog final : public TOpenDialog {
public:
    TSaveDialog() { m_save = true; }
    [[nodiscard]] const char* ClassName() const override { return "TSaveDialog"; }
};
