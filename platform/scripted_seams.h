// Scripted back ends of every seam, for tests. Each records every call with its exact texts and answers from a queue
// of answers the test scripted beforehand.
//
// A question nobody scripted (a message box, a file dialog, a picker, a modal form) is not answered with an error:
// it is recorded in errors() and gets the "cancel" answer (for a message box the button that cancels: IDCANCEL,
// IDNO for Yes/No, IDABORT for Abort/Retry/Ignore, IDOK for OK alone), so the code under test runs on. The test
// fixture (tests/support/seams_fixture.h) fails the test on any recorded error and on answers left unconsumed.
#pragma once
#include <QPointer>
#include <QWidget>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/seams.h"

namespace platform {

// Thrown by the scripted process exit when ThrowOnExit(true) was asked for.
struct ExitCalled : std::runtime_error {
  explicit ExitCalled(int c) : std::runtime_error("AppExit(" + std::to_string(c) + ")"), code(c) {}
  int code;
};

struct MsgBoxCall {
  std::string text;
  std::string caption;
  int style = 0;
  int answer = 0;
  QPointer<QWidget> owner;     // the window the box was shown for (null: none; also once that window is gone)
  std::string ownerTitle;      // that window's caption when the box was shown (empty without owner)
};

struct FileDialogCall {
  FileDialogRequest request;
  std::optional<std::string> answer;   // nothing: cancelled
};

struct PickerCall {
  enum Kind { Color, Font, PageSetup, Printer } kind = Color;
  FontChoice initialFont;              // Font: where the dialog started
  int minPoints = 0, maxPoints = 0;    // Font: the size range offered
};

class ScriptedSeams {
 public:
  // Installs the scripted back ends into platform::seams(); the destructor puts the real ones back.
  ScriptedSeams();
  ~ScriptedSeams();
  ScriptedSeams(const ScriptedSeams&) = delete;
  ScriptedSeams& operator=(const ScriptedSeams&) = delete;

  // ----- message boxes -----
  // The next box must show exactly `text` under `caption` (and `style` when given); it is answered `answer`.
  void ExpectMsgBox(const std::string& text, const std::string& caption, int answer,
                    std::optional<int> style = std::nullopt);
  // The next box, whatever it says, is answered `answer`.
  void AnswerMsgBox(int answer);
  // From now on every box is shown by the real back end (a real QMessageBox, owned as the system owns it) and still
  // recorded with the button pressed; `answer` gets each box from inside its loop, once it is shown, and must end it
  // (press a button). An empty function goes back to scripted boxes.
  void UseRealMessageBoxes(std::function<void(QWidget* box)> answer);
  // From now on boxes nobody scripted are no error: they are answered `answer` (0: the box's first button:
  // IDOK, IDYES, IDABORT or IDRETRY). std::nullopt makes them errors again.
  void AllowMsgBoxes(std::optional<int> answer = 0);
  const std::vector<MsgBoxCall>& msgBoxes() const { return msgBoxes_; }
  // Looked at whenever a box is about to show: a text it returns (empty: nothing wrong) is recorded in errors() with
  // the box's text, so that a box shown at the wrong moment fails the test. An empty function watches nothing.
  void WatchMsgBoxes(std::function<std::string()> watch) { boxWatch_ = std::move(watch); }

  // ----- file dialogs -----
  void AnswerFileDialog(const std::string& path);   // the next file dialog returns `path`
  void CancelFileDialog();                           // the next file dialog is cancelled
  const std::vector<FileDialogCall>& fileDialogs() const { return fileDialogs_; }

  // ----- printer, font, colour, page set-up -----
  void AnswerColor(std::optional<std::uint32_t> colour);          // nothing: cancelled
  void AnswerFont(std::optional<FontChoice> font);
  void AnswerPageSetup(bool confirmed);
  void AnswerPrinter(std::optional<std::string> printerName);
  // From now on the printer dialog is the real one (platform's real back end, as on the desktop), still recorded in
  // pickerCalls(); `answer` gets the dialog from inside its loop, once it is shown, and must end it. An empty
  // function goes back to scripted answers.
  void UseRealPrinterDialog(std::function<void(QWidget* dialog)> answer) { realPrinterAnswer_ = std::move(answer); }
  const std::vector<PickerCall>& pickerCalls() const { return pickerCalls_; }

  // ----- desktop opener -----
  const std::vector<std::string>& opened() const { return opened_; }   // every path or URL opened, in order
  void SetOpenResult(bool ok) { openResult_ = ok; }

  // ----- clock -----
  void SetNow(const QDateTime& now) { now_ = now; }
  void Advance(qint64 seconds) { now_ = now_.addSecs(seconds); }
  QDateTime now() const { return now_; }

  // ----- program folder -----
  void SetProgramFolder(const std::string& path) { programFolder_ = path; }

  // ----- clipboard -----
  void SetClipboard(std::optional<std::string> text) { clipboard_ = std::move(text); }   // nothing: holds no text
  const std::optional<std::string>& clipboard() const { return clipboard_; }
  const std::vector<std::string>& clipboardWrites() const { return clipboardWrites_; }
  void SetClipboardFails(bool fails) { clipboardFails_ = fails; }

  // ----- process exit -----
  // Every AppExit is recorded; then, by default, the process really ends (flush and _Exit) so that death tests see
  // the exit code. With ThrowOnExit(true) platform::ExitCalled is thrown instead: for code called directly by the
  // test, never from inside an event loop.
  void ThrowOnExit(bool on) { throwOnExit_ = on; }
  // Runs just before the process really ends (the test fixture removes its temporary folders there).
  void SetBeforeExit(std::function<void()> f) { beforeExit_ = std::move(f); }
  const std::vector<int>& exits() const { return exits_; }

  // ----- modal forms -----
  // The next modal form to start its loop is handed to `drive`, called from inside that loop (posted, so the
  // loop runs); `drive` must end the form. A modal form nobody scripted is an error and is closed.
  void OnModal(std::function<void(QWidget*)> drive);
  int modalCount() const { return modalCount_; }

  // ----- checking -----
  // Questions nobody scripted and answers that did not match their expectation, as readable lines.
  const std::vector<std::string>& errors() const { return errors_; }
  // Scripted answers not used yet, as readable lines.
  std::vector<std::string> Unconsumed() const;
  // Forgets the errors and every answer not used yet (the records stay).
  void ClearScript();

 private:
  friend class ScriptedMessageBoxes;
  friend class ScriptedFileDialogs;
  friend class ScriptedPickers;
  friend class ScriptedDesktop;
  friend class ScriptedClock;
  friend class ScriptedProgramFolder;
  friend class ScriptedClipboard;
  friend class ScriptedProcessExit;
  friend class ScriptedModalHook;

  struct MsgBoxExpect {
    std::optional<std::string> text, caption;
    std::optional<int> style;
    int answer = 0;
  };

  std::deque<MsgBoxExpect> msgBoxScript_;
  std::unique_ptr<MessageBoxes> realBoxes_;
  std::function<void(QWidget*)> realBoxAnswer_;
  std::optional<int> msgBoxDefault_;
  std::vector<MsgBoxCall> msgBoxes_;
  std::function<std::string()> boxWatch_;

  std::deque<std::optional<std::string>> fileScript_;
  std::vector<FileDialogCall> fileDialogs_;

  std::deque<std::optional<std::uint32_t>> colorScript_;
  std::deque<std::optional<FontChoice>> fontScript_;
  std::deque<bool> pageSetupScript_;
  std::deque<std::optional<std::string>> printerScript_;
  std::function<void(QWidget*)> realPrinterAnswer_;
  std::vector<PickerCall> pickerCalls_;

  std::vector<std::string> opened_;
  bool openResult_ = true;

  QDateTime now_;
  std::string programFolder_;

  std::optional<std::string> clipboard_;
  std::vector<std::string> clipboardWrites_;
  bool clipboardFails_ = false;

  bool throwOnExit_ = false;
  std::function<void()> beforeExit_;
  std::vector<int> exits_;

  std::deque<std::function<void(QWidget*)>> modalScript_;
  int modalCount_ = 0;

  std::vector<std::string> errors_;
};

}  // namespace platform
