// Base fixture for every test of the system: the scripted back ends of all seams (platform/scripted_seams.h), a
// fixed clock (2024-09-02 10:15:30), the Indonesian default locale, a fresh temporary program folder and a fresh
// temporary working folder that is the current folder for the test (the previous one comes back afterwards).
//
// When the test ends (in the fixture's destructor, so after any TearDown of a derived fixture) it fails on every
// question nobody scripted (message box, file dialog, picker, modal form), every expectation that did not match and
// every scripted answer left unused; then the real back ends come back.
//
//   class PaymentTest : public fintest::SeamsTest {};
//   TEST_F(PaymentTest, AsksBeforeDeleting) {
//     ExpectMsgBox("Yakin hapus data ini?", "Confirm Delete", IDYES);
//     ... run the code ...
//     EXPECT_EQ(opened(), std::vector<std::string>{ProgramFile("Lap.html")});
//   }
#pragma once
#include <gtest/gtest.h>

#include <QDateTime>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "framework/win.h"
#include "platform/print_recording.h"
#include "platform/scripted_seams.h"
#include "platform/text_printer.h"
#include "support/covered_labels.h"
#include "support/fixtures.h"

namespace fintest {

class SeamsTest : public ::testing::Test {
 protected:
  SeamsTest();
  ~SeamsTest() override;

  platform::ScriptedSeams& scripted() { return *scripted_; }

  // Message boxes. ExpectMsgBox: the next box must show exactly this text and caption (and style when given).
  void ExpectMsgBox(const std::string& text, const std::string& caption, int answer = IDOK,
                    std::optional<int> style = std::nullopt) {
    scripted_->ExpectMsgBox(text, caption, answer, style);
  }
  void AnswerMsgBox(int answer) { scripted_->AnswerMsgBox(answer); }
  // Real boxes from now on (platform's real back end, as on the desktop): each is looked at once it is shown (what
  // shownBoxes() keeps) and answered with its first button. Still recorded in msgBoxes().
  void ShowRealMsgBoxes();
  struct ShownBox {
    std::string text, caption;
    QPointer<QWidget> parent;        // the window the box belongs to (its parent widget)
    std::string parentTitle;         // that window's caption while the box was shown
    bool transientForParent = false; // the window system keeps it in front of that window
    bool onTop = false;              // stays on top of other windows
    bool modal = false, enabled = false, visible = false;
    bool centredOnParent = false;    // its centre within a few pixels of its parent's
  };
  const std::vector<ShownBox>& shownBoxes() const { return shownBoxes_; }
  // Unscripted boxes are no error from now on; answered `answer` (0: the box's first button).
  void AllowMsgBoxes(std::optional<int> answer = 0) { scripted_->AllowMsgBoxes(answer); }
  const std::vector<platform::MsgBoxCall>& msgBoxes() const { return scripted_->msgBoxes(); }

  // File dialogs.
  void AnswerFileDialog(const std::string& path) { scripted_->AnswerFileDialog(path); }
  void CancelFileDialog() { scripted_->CancelFileDialog(); }
  const std::vector<platform::FileDialogCall>& fileDialogs() const { return scripted_->fileDialogs(); }

  // Printer, font, colour and page-setup dialogs.
  void AnswerColor(std::optional<std::uint32_t> c) { scripted_->AnswerColor(c); }
  void AnswerFont(std::optional<platform::FontChoice> f) { scripted_->AnswerFont(std::move(f)); }
  void AnswerPageSetup(bool ok) { scripted_->AnswerPageSetup(ok); }
  void AnswerPrinter(std::optional<std::string> name) { scripted_->AnswerPrinter(std::move(name)); }
  // The real printer dialog from now on (as on the desktop), answered each time by choosing "Print to File (PDF)"
  // (without a print queue the one choice it offers) and confirming it.
  void PrintToFileInThePrinterDialog();

  // Files and pages opened with the desktop's default program, in order.
  const std::vector<std::string>& opened() const { return scripted_->opened(); }

  // Clock.
  void SetClock(const QDateTime& now) { scripted_->SetNow(now); }
  void SetClock(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    scripted_->SetNow(QDateTime(QDate(y, mo, d), QTime(h, mi, s)));
  }
  void AdvanceClock(qint64 seconds) { scripted_->Advance(seconds); }

  // Clipboard (std::nullopt: holds no text).
  void SetClipboard(std::optional<std::string> text) { scripted_->SetClipboard(std::move(text)); }
  std::optional<std::string> clipboard() const { return scripted_->clipboard(); }

  // Modal forms: the next modal form is handed to `drive` from inside its loop; `drive` must end it.
  void OnModal(std::function<void(QWidget*)> drive) { scripted_->OnModal(std::move(drive)); }

  // AppExit codes seen. By default AppExit really ends the process (use EXPECT_EXIT; death tests run "threadsafe");
  // ThrowOnExit() makes it throw platform::ExitCalled instead, for code the test calls directly.
  const std::vector<int>& exits() const { return scripted_->exits(); }
  void ThrowOnExit(bool on = true) { scripted_->ThrowOnExit(on); }

  // A system without a printer from now on: what the printer drawing prints goes to PDF files under "cetak/" of the
  // working folder (the PDF pseudo-printer), no longer to printed().
  void NoPrinter() { platform::SetPrintBackendForTests(platform::MakePdfPrintBackend()); }

  // Printing: pages (printer drawing) and text printer jobs go to recording back ends for the whole test.
  platform::RecordingPrintBackend& printed() { return *printed_; }
  platform::RecordingTextPrinterBackend& textPrinted() { return *textPrinted_; }

  // Folders (absolute, no trailing "/").
  const std::string& programDir() const { return programDir_; }
  const std::string& workDir() const { return workDir_; }
  std::string ProgramFile(const std::string& name) const { return programDir_ + "/" + name; }
  std::string WorkFile(const std::string& name) const { return workDir_ + "/" + name; }

  // Fails the test now on unscripted questions, mismatches and unused answers, and on labels of a window shown that a
  // sibling made after them covers (support/covered_labels.h); then forgets them.
  void VerifySeams();

 private:
  TempDir programTemp_;
  TempDir workTemp_;
  std::string programDir_;
  std::string workDir_;
  std::string previousDir_;
  QLocale previousLocale_;
  std::unique_ptr<platform::ScriptedSeams> scripted_;
  std::shared_ptr<platform::RecordingPrintBackend> printed_;
  std::shared_ptr<platform::RecordingTextPrinterBackend> textPrinted_;
  // Every window shown during the test has its labels checked: none may lie under a sibling made after it.
  std::unique_ptr<WatchCoveredLabels> coveredLabels_;
  std::vector<ShownBox> shownBoxes_;
};

}  // namespace fintest
