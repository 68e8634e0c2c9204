#include "platform/scripted_seams.h"

#include <QApplication>
#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace platform {

namespace {
constexpr int IdOk = 1, IdCancel = 2, IdAbort = 3, IdRetry = 4, IdYes = 6, IdNo = 7;

// The answer of a box that was not scripted: the button that cancels it.
int CancelAnswer(int style) {
  switch (style & 0xF) {
    case 1: case 3: case 5: return IdCancel;   // OK/Cancel, Yes/No/Cancel, Retry/Cancel
    case 2: return IdAbort;                    // Abort/Retry/Ignore
    case 4: return IdNo;                       // Yes/No
    default: return IdOk;
  }
}
int FirstButton(int style) {
  switch (style & 0xF) {
    case 2: return IdAbort;
    case 3: case 4: return IdYes;
    case 5: return IdRetry;
    default: return IdOk;
  }
}
std::string Quote(const std::string& s) { return "\"" + s + "\""; }
// Hands the modal window about to be shown to `handler`, from inside that window's loop.
void PostToModal(const std::function<void(QWidget*)>& handler) {
  QMetaObject::invokeMethod(
      QCoreApplication::instance(),
      [handler]() {
        if (QWidget* modal = QApplication::activeModalWidget()) handler(modal);
      },
      Qt::QueuedConnection);
}
}  // namespace

class ScriptedMessageBoxes : public MessageBoxes {
 public:
  explicit ScriptedMessageBoxes(ScriptedSeams* s) : s_(s) {}
  int Show(const std::string& text, const std::string& caption, int style, QWidget* owner) override {
    const QPointer<QWidget> kept(owner);   // the owner can close while its box is open
    if (s_->boxWatch_) {
      const std::string wrong = s_->boxWatch_();
      if (!wrong.empty()) s_->errors_.push_back("message box " + Quote(text) + " shown " + wrong);
    }
    int answer;
    if (s_->realBoxes_) {
      // Handed to the test from inside the box's loop: the box is the modal window then.
      PostToModal(s_->realBoxAnswer_);
      answer = s_->realBoxes_->Show(text, caption, style, owner);
    } else if (!s_->msgBoxScript_.empty()) {
      ScriptedSeams::MsgBoxExpect e = s_->msgBoxScript_.front();
      s_->msgBoxScript_.pop_front();
      answer = e.answer;
      bool ok = (!e.text || *e.text == text) && (!e.caption || *e.caption == caption) && (!e.style || *e.style == style);
      if (!ok) {
        std::string msg = "message box " + Quote(text) + " / " + Quote(caption) + " style " + std::to_string(style) +
                          " does not match the expected " + (e.text ? Quote(*e.text) : "(any)") + " / " +
                          (e.caption ? Quote(*e.caption) : "(any)");
        if (e.style) msg += " style " + std::to_string(*e.style);
        s_->errors_.push_back(msg);
      }
    } else if (s_->msgBoxDefault_) {
      answer = *s_->msgBoxDefault_ ? *s_->msgBoxDefault_ : FirstButton(style);
    } else {
      answer = CancelAnswer(style);
      s_->errors_.push_back("unexpected message box " + Quote(text) + " / " + Quote(caption) + " style " +
                            std::to_string(style));
    }
    QWidget* window = kept ? kept->window() : nullptr;
    s_->msgBoxes_.push_back(
        {text, caption, style, answer, window, window ? window->windowTitle().toStdString() : std::string()});
    return answer;
  }

 private:
  ScriptedSeams* s_;
};

class ScriptedFileDialogs : public FileDialogs {
 public:
  explicit ScriptedFileDialogs(ScriptedSeams* s) : s_(s) {}
  std::optional<std::string> Ask(const FileDialogRequest& r) override {
    std::optional<std::string> answer;
    if (!s_->fileScript_.empty()) {
      answer = s_->fileScript_.front();
      s_->fileScript_.pop_front();
    } else {
      s_->errors_.push_back(std::string("unexpected ") + (r.kind == FileDialogRequest::Save ? "save" : "open") +
                            " file dialog " + Quote(r.title) + " in " + Quote(r.folder));
    }
    s_->fileDialogs_.push_back({r, answer});
    return answer;
  }

 private:
  ScriptedSeams* s_;
};

class ScriptedPickers : public PickerDialogs {
 public:
  explicit ScriptedPickers(ScriptedSeams* s) : s_(s) {}
  std::optional<std::uint32_t> ChooseColor() override {
    s_->pickerCalls_.push_back({PickerCall::Color, {}, 0, 0});
    return Take(s_->colorScript_, "colour dialog", std::optional<std::uint32_t>());
  }
  std::optional<FontChoice> ChooseFont(const FontChoice& initial, int minPoints, int maxPoints) override {
    s_->pickerCalls_.push_back({PickerCall::Font, initial, minPoints, maxPoints});
    return Take(s_->fontScript_, "font dialog", std::optional<FontChoice>());
  }
  bool PageSetup() override {
    s_->pickerCalls_.push_back({PickerCall::PageSetup, {}, 0, 0});
    return Take(s_->pageSetupScript_, "page set-up dialog", false);
  }
  std::optional<std::string> SelectPrinter() override {
    s_->pickerCalls_.push_back({PickerCall::Printer, {}, 0, 0});
    if (s_->realPrinterAnswer_) {
      PostToModal(s_->realPrinterAnswer_);
      return MakeRealPickers()->SelectPrinter();
    }
    return Take(s_->printerScript_, "printer dialog", std::optional<std::string>());
  }

 private:
  template <class T>
  T Take(std::deque<T>& q, const char* what, T cancelled) {
    if (q.empty()) {
      s_->errors_.push_back(std::string("unexpected ") + what);
      return cancelled;
    }
    T v = q.front();
    q.pop_front();
    return v;
  }
  ScriptedSeams* s_;
};

class ScriptedDesktop : public DesktopOpener {
 public:
  explicit ScriptedDesktop(ScriptedSeams* s) : s_(s) {}
  bool Open(const std::string& pathOrUrl) override {
    s_->opened_.push_back(pathOrUrl);
    return s_->openResult_;
  }

 private:
  ScriptedSeams* s_;
};

class ScriptedClock : public Clock {
 public:
  explicit ScriptedClock(ScriptedSeams* s) : s_(s) {}
  QDateTime Now() override { return s_->now_; }

 private:
  ScriptedSeams* s_;
};

class ScriptedProgramFolder : public ProgramFolder {
 public:
  explicit ScriptedProgramFolder(ScriptedSeams* s) : s_(s) {}
  std::string Path() override { return s_->programFolder_; }

 private:
  ScriptedSeams* s_;
};

class ScriptedClipboard : public Clipboard {
 public:
  explicit ScriptedClipboard(ScriptedSeams* s) : s_(s) {}
  std::optional<std::string> GetText() override { return s_->clipboardFails_ ? std::nullopt : s_->clipboard_; }
  bool SetText(const std::string& text) override {
    if (s_->clipboardFails_) return false;
    s_->clipboard_ = text;
    s_->clipboardWrites_.push_back(text);
    return true;
  }

 private:
  ScriptedSeams* s_;
};

class ScriptedProcessExit : public ProcessExit {
 public:
  explicit ScriptedProcessExit(ScriptedSeams* s) : s_(s) {}
  [[noreturn]] void Exit(int code) override {
    s_->exits_.push_back(code);
    if (s_->throwOnExit_) throw ExitCalled(code);
    if (s_->beforeExit_) s_->beforeExit_();
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::_Exit(code);
  }

 private:
  ScriptedSeams* s_;
};

class ScriptedModalHook : public ModalHook {
 public:
  explicit ScriptedModalHook(ScriptedSeams* s) : s_(s) {}
  void Started(QWidget* form) override {
    ++s_->modalCount_;
    QPointer<QWidget> guard(form);
    std::function<void(QWidget*)> drive;
    if (!s_->modalScript_.empty()) {
      drive = std::move(s_->modalScript_.front());
      s_->modalScript_.pop_front();
    } else {
      s_->errors_.push_back("unexpected modal form " +
                            Quote(form ? form->windowTitle().toStdString() : std::string("(none)")) +
                            (form && !form->objectName().isEmpty() ? " (" + form->objectName().toStdString() + ")"
                                                                   : std::string()));
      drive = [](QWidget* w) {
        if (w) w->close();
      };
    }
    // Posted: it runs once the form's loop is running, so that ending the form also ends the loop.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [guard, drive = std::move(drive)]() {
          if (guard) drive(guard.data());
        },
        Qt::QueuedConnection);
  }

 private:
  ScriptedSeams* s_;
};

ScriptedSeams::ScriptedSeams() {
  now_ = QDateTime(QDate(2024, 9, 2), QTime(10, 15, 30));
  Seams& s = seams();
  s.setMessageBoxes(std::make_unique<ScriptedMessageBoxes>(this));
  s.setFileDialogs(std::make_unique<ScriptedFileDialogs>(this));
  s.setPickers(std::make_unique<ScriptedPickers>(this));
  s.setDesktop(std::make_unique<ScriptedDesktop>(this));
  s.setClock(std::make_unique<ScriptedClock>(this));
  s.setProgramFolder(std::make_unique<ScriptedProgramFolder>(this));
  s.setClipboard(std::make_unique<ScriptedClipboard>(this));
  s.setProcessExit(std::make_unique<ScriptedProcessExit>(this));
  s.setModalHook(std::make_unique<ScriptedModalHook>(this));
}

ScriptedSeams::~ScriptedSeams() { seams().resetAll(); }

void ScriptedSeams::ExpectMsgBox(const std::string& text, const std::string& caption, int answer,
                                 std::optional<int> style) {
  msgBoxScript_.push_back({text, caption, style, answer});
}
void ScriptedSeams::UseRealMessageBoxes(std::function<void(QWidget*)> answer) {
  realBoxAnswer_ = std::move(answer);
  if (realBoxAnswer_) realBoxes_ = MakeRealMessageBoxes();
  else realBoxes_.reset();
}

void ScriptedSeams::AnswerMsgBox(int answer) { msgBoxScript_.push_back({std::nullopt, std::nullopt, std::nullopt, answer}); }
void ScriptedSeams::AllowMsgBoxes(std::optional<int> answer) { msgBoxDefault_ = answer; }

void ScriptedSeams::AnswerFileDialog(const std::string& path) { fileScript_.push_back(path); }
void ScriptedSeams::CancelFileDialog() { fileScript_.push_back(std::nullopt); }

void ScriptedSeams::AnswerColor(std::optional<std::uint32_t> colour) { colorScript_.push_back(colour); }
void ScriptedSeams::AnswerFont(std::optional<FontChoice> font) { fontScript_.push_back(std::move(font)); }
void ScriptedSeams::AnswerPageSetup(bool confirmed) { pageSetupScript_.push_back(confirmed); }
void ScriptedSeams::AnswerPrinter(std::optional<std::string> printerName) { printerScript_.push_back(std::move(printerName)); }

void ScriptedSeams::OnModal(std::function<void(QWidget*)> drive) { modalScript_.push_back(std::move(drive)); }

std::vector<std::string> ScriptedSeams::Unconsumed() const {
  std::vector<std::string> out;
  for (const auto& e : msgBoxScript_)
    out.push_back("message box " + (e.text ? Quote(*e.text) : std::string("(any)")) + " / " +
                  (e.caption ? Quote(*e.caption) : std::string("(any)")) + " answered " + std::to_string(e.answer) +
                  " was never shown");
  for (const auto& a : fileScript_) out.push_back("file dialog answer " + (a ? Quote(*a) : "(cancel)") + " never asked");
  if (!colorScript_.empty()) out.push_back(std::to_string(colorScript_.size()) + " colour answer(s) never asked");
  if (!fontScript_.empty()) out.push_back(std::to_string(fontScript_.size()) + " font answer(s) never asked");
  if (!pageSetupScript_.empty()) out.push_back(std::to_string(pageSetupScript_.size()) + " page set-up answer(s) never asked");
  for (const auto& p : printerScript_) out.push_back("printer answer " + (p ? Quote(*p) : "(cancel)") + " never asked");
  if (!modalScript_.empty()) out.push_back(std::to_string(modalScript_.size()) + " modal form driver(s) never used");
  return out;
}

void ScriptedSeams::ClearScript() {
  msgBoxScript_.clear();
  fileScript_.clear();
  colorScript_.clear();
  fontScript_.clear();
  pageSetupScript_.clear();
  printerScript_.clear();
  modalScript_.clear();
  errors_.clear();
}

}  // namespace platform
