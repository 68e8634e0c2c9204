// What Finance asks of the desktop it runs on, each behind one small interface: message boxes, file dialogs, the
// printer / font / colour / page-setup dialogs, opening a file or page with the desktop's default program, the clock,
// the program folder, the clipboard, the end of the process and the start of a modal form's loop.
//
// Every interface has a real back end over Qt (installed by default) and a scripted back end for tests
// (platform/scripted_seams.h). Code of the system calls the free functions at the bottom of this header (or the
// framework's wrappers over them: MsgBox, ClipGetText, DlgOpenFile, ...), never Qt's dialogs directly.
#pragma once
#include <QDateTime>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QWidget;

namespace platform {

// ----- message boxes -------------------------------------------------------------------------------------------
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Shows `text` under `caption` with the buttons and icon of `style` (MB_* bits) and returns the button pressed
  // (IDOK, IDCANCEL, IDYES, IDNO, ...). `owner` is the window the box speaks for (nullptr: the active window, if
  // any): the box belongs to that window, is modal, stands in front of it (also when it stays on top of others)
  // and is centred over it.
  virtual int Show(const std::string& text, const std::string& caption, int style, QWidget* owner) = 0;
};

// ----- file open / save dialogs --------------------------------------------------------------------------------
struct FileDialogRequest {
  enum Kind { Open, Save } kind = Open;
  std::string title;        // empty: the dialog's own title
  std::string fileName;     // proposed file name (may be empty)
  std::string folder;       // initial folder
  std::string filter;       // "Text Files (*.txt)|*.txt|All Files (*.*)|*.*" form: pairs of label and patterns
  std::string defaultExt;   // without the dot, may be empty
  unsigned flags = 0;       // the caller's OFN_* flags, kept for the record
  bool centre = false;      // centre the dialog on the screen (CentreOnScreen)
  QWidget* owner = nullptr; // owner window, may be nullptr
};

// Where a window of `size` stands centred on `desktop`: x = (left + right - width) / 2 with right = left + width of
// the desktop (the edge past its last pixel), y likewise; halves go to the even neighbour.
QPoint CentredPosition(const QRect& desktop, const QSize& size);
// Moves a window there on the primary screen and keeps it above other windows (the file dialog's centring option).
void CentreOnScreen(QWidget* window);
// The "label|patterns|label|patterns" filter as Qt's name filters: "label (patterns)", the patterns separated by
// blanks; a label that already ends with its patterns in brackets is kept as it is.
QStringList QtNameFilters(const std::string& filter);

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // The chosen path, or nothing when the operator cancelled.
  virtual std::optional<std::string> Ask(const FileDialogRequest& request) = 0;
};

// ----- printer, font, colour and page-setup dialogs -------------------------------------------------------------
struct FontChoice {
  std::string face;
  double points = 0;        // the size chosen, in points (may have a fraction)
};
class PickerDialogs {
 public:
  virtual ~PickerDialogs() = default;
  // A colour as 0x00BBGGRR, or nothing when cancelled.
  virtual std::optional<std::uint32_t> ChooseColor() = 0;
  // Starts from `initial` and offers sizes minPoints..maxPoints; nothing when cancelled.
  virtual std::optional<FontChoice> ChooseFont(const FontChoice& initial, int minPoints, int maxPoints) = 0;
  // True when the operator confirmed the page set-up.
  virtual bool PageSetup() = 0;
  // The chosen printer's name, or nothing when cancelled. Printing to a file rather than to a printer (the print
  // dialog's "Print to File (PDF)") is the pseudo-printer kPdfPrinterName of platform/print_backend.h: its pages
  // and its text go to files under "cetak/".
  virtual std::optional<std::string> SelectPrinter() = 0;
};

// ----- desktop opener ------------------------------------------------------------------------------------------
class DesktopOpener {
 public:
  virtual ~DesktopOpener() = default;
  // Opens a file (a path) or a page (a URL with a scheme) with the desktop's default program. No shell is involved.
  virtual bool Open(const std::string& pathOrUrl) = 0;
};

// ----- clock ---------------------------------------------------------------------------------------------------
class Clock {
 public:
  virtual ~Clock() = default;
  virtual QDateTime Now() = 0;   // local date and time
};

// ----- program folder ------------------------------------------------------------------------------------------
class ProgramFolder {
 public:
  virtual ~ProgramFolder() = default;
  virtual std::string Path() = 0;   // the running program's folder, "/" separators, no trailing "/"
};

// ----- clipboard -----------------------------------------------------------------------------------------------
class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // The clipboard's text as it is (UTF-8); nothing when it holds no text.
  virtual std::optional<std::string> GetText() = 0;
  // Replaces the clipboard's contents by `text`; true on success.
  virtual bool SetText(const std::string& text) = 0;
};

// ----- process exit --------------------------------------------------------------------------------------------
class ProcessExit {
 public:
  virtual ~ProcessExit() = default;
  // Ends the process with `code`. Must not return (a test back end may throw instead).
  [[noreturn]] virtual void Exit(int code) = 0;
};

// ----- modal loops ---------------------------------------------------------------------------------------------
// Called by the form runtime once a modal form's loop is about to run. The real back end does nothing; the scripted
// one lets a test drive the form (fill it, press its buttons, close it) from inside the loop.
class ModalHook {
 public:
  virtual ~ModalHook() = default;
  virtual void Started(QWidget* form) = 0;
};

// ----- the registry --------------------------------------------------------------------------------------------
// One set of back ends for the whole process. Each getter gives the back end installed, the real one when none was.
// The setters take ownership; passing nullptr puts the real back end back.
class Seams {
 public:
  MessageBoxes& messageBoxes();
  FileDialogs& fileDialogs();
  PickerDialogs& pickers();
  DesktopOpener& desktop();
  Clock& clock();
  ProgramFolder& programFolder();
  Clipboard& clipboard();
  ProcessExit& processExit();
  ModalHook& modalHook();

  void setMessageBoxes(std::unique_ptr<MessageBoxes> b);
  void setFileDialogs(std::unique_ptr<FileDialogs> b);
  void setPickers(std::unique_ptr<PickerDialogs> b);
  void setDesktop(std::unique_ptr<DesktopOpener> b);
  void setClock(std::unique_ptr<Clock> b);
  void setProgramFolder(std::unique_ptr<ProgramFolder> b);
  void setClipboard(std::unique_ptr<Clipboard> b);
  void setProcessExit(std::unique_ptr<ProcessExit> b);
  void setModalHook(std::unique_ptr<ModalHook> b);

  // Every seam back to its real back end.
  void resetAll();

 private:
  std::unique_ptr<MessageBoxes> messageBoxes_;
  std::unique_ptr<FileDialogs> fileDialogs_;
  std::unique_ptr<PickerDialogs> pickers_;
  std::unique_ptr<DesktopOpener> desktop_;
  std::unique_ptr<Clock> clock_;
  std::unique_ptr<ProgramFolder> programFolder_;
  std::unique_ptr<Clipboard> clipboard_;
  std::unique_ptr<ProcessExit> processExit_;
  std::unique_ptr<ModalHook> modalHook_;
};
Seams& seams();

// The real back ends (over Qt).
std::unique_ptr<MessageBoxes> MakeRealMessageBoxes();
std::unique_ptr<FileDialogs> MakeRealFileDialogs();
std::unique_ptr<PickerDialogs> MakeRealPickers();
std::unique_ptr<DesktopOpener> MakeRealDesktop();
std::unique_ptr<Clock> MakeRealClock();
std::unique_ptr<ProgramFolder> MakeRealProgramFolder();
std::unique_ptr<Clipboard> MakeRealClipboard();
std::unique_ptr<ProcessExit> MakeRealProcessExit();
std::unique_ptr<ModalHook> MakeRealModalHook();

// ----- what the system calls -----------------------------------------------------------------------------------
QDateTime Now();                      // the clock's local date and time
QDate Today();                        // its date
std::string ProgramFolderPath();      // the program folder, no trailing "/"
bool OpenWithDesktop(const std::string& pathOrUrl);
void ModalLoopStarted(QWidget* form); // the form runtime calls this just before a modal form's loop runs

}  // namespace platform

// Ends the process with `code` after flushing the standard streams: login cancelled, "Keluar", a database that
// cannot be opened.
[[noreturn]] void AppExit(int code);
