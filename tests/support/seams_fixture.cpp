#include "support/seams_fixture.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QWindow>
#include <QLocale>
#include <filesystem>

#include <sqlite3.h>

#include "common/session.h"

namespace fintest {

namespace {
std::string Canonical(const std::filesystem::path& p) {
  std::error_code ec;
  auto c = std::filesystem::canonical(p, ec);
  return (ec ? p : c).string();
}
}  // namespace

SeamsTest::SeamsTest() {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  programDir_ = Canonical(programTemp_.path());
  workDir_ = Canonical(workTemp_.path());
  std::error_code ec;
  previousDir_ = std::filesystem::current_path(ec).string();
  std::filesystem::current_path(workDir_, ec);
  previousLocale_ = QLocale();
  QLocale::setDefault(QLocale(QLocale::Indonesian, QLocale::Indonesia));
  scripted_ = std::make_unique<platform::ScriptedSeams>();
  scripted_->SetNow(QDateTime(QDate(2024, 9, 2), QTime(10, 15, 30)));
  scripted_->SetProgramFolder(programDir_);
  // A box never stands while the program's connection holds the file in a transaction: every other desk would wait
  // on it until the operator answers.
  scripted_->WatchMsgBoxes([] {
    return gDb && !sqlite3_get_autocommit(gDb) ? std::string("while the database file is held in a transaction")
                                               : std::string();
  });
  printed_ = platform::InstallRecordingPrintBackend();
  textPrinted_ = platform::InstallRecordingTextPrinterBackend();
  coveredLabels_ = std::make_unique<WatchCoveredLabels>();
  // A death test's child ends in AppExit without running destructors: leave nothing behind all the same.
  scripted_->SetBeforeExit([this] {
    std::error_code ec2;
    if (!previousDir_.empty()) std::filesystem::current_path(previousDir_, ec2);
    std::filesystem::remove_all(programTemp_.path(), ec2);
    std::filesystem::remove_all(workTemp_.path(), ec2);
  });
}

void SeamsTest::ShowRealMsgBoxes() {
  scripted_->UseRealMessageBoxes([this](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    if (!box) {
      ADD_FAILURE() << "the modal window is no message box: " << w->metaObject()->className();
      w->close();
      return;
    }
    ShownBox seen;
    seen.text = box->text().toStdString();
    seen.caption = box->windowTitle().toStdString();
    seen.parent = box->parentWidget();
    QWidget* parent = box->parentWidget();
    if (parent) seen.parentTitle = parent->windowTitle().toStdString();
    seen.transientForParent = parent && box->windowHandle() && parent->window()->windowHandle() &&
                              box->windowHandle()->transientParent() == parent->window()->windowHandle();
    seen.onTop = box->windowFlags() & Qt::WindowStaysOnTopHint;
    seen.modal = box->isModal();
    seen.enabled = box->isEnabled();
    seen.visible = box->isVisible();
    if (parent) {
      const QPoint d = box->frameGeometry().center() - parent->window()->frameGeometry().center();
      seen.centredOnParent = d.manhattanLength() <= 8;
    }
    shownBoxes_.push_back(seen);
    const auto buttons = box->buttons();
    if (!buttons.isEmpty()) buttons.first()->click();
    else box->reject();
  });
}

void SeamsTest::PrintToFileInThePrinterDialog() {
  scripted_->UseRealPrinterDialog([this](QWidget* w) {
    auto* dialog = qobject_cast<QPrintDialog*>(w);
    if (!dialog) {
      ADD_FAILURE() << "the modal window is no printer dialog: " << w->metaObject()->className();
      w->close();
      return;
    }
    bool offered = false;
    for (QComboBox* printers : dialog->findChildren<QComboBox*>()) {
      const int file = printers->findText(QStringLiteral("Print to File (PDF)"));
      if (file < 0) continue;
      printers->setCurrentIndex(file);
      offered = true;
    }
    EXPECT_TRUE(offered) << "the printer dialog offers no printing to a file";
    // The file the dialog proposes (in the home folder) may be there already, and the dialog would ask whether to
    // replace it: it proposes one in the test's folder instead.
    for (QLineEdit* edit : dialog->findChildren<QLineEdit*>())
      if (edit->text().endsWith(QStringLiteral(".pdf"))) edit->setText(QString::fromStdString(WorkFile("print.pdf")));
    dialog->accept();
  });
}

void SeamsTest::VerifySeams() {
  for (const auto& e : scripted_->errors()) ADD_FAILURE() << e;
  for (const auto& u : scripted_->Unconsumed()) ADD_FAILURE() << u;
  for (const auto& c : coveredLabels_->found()) ADD_FAILURE() << "a later sibling covers it: " << c;
  scripted_->ClearScript();
  coveredLabels_->clear();
}

SeamsTest::~SeamsTest() {
  // Drivers of modal forms still queued must not run after the test is gone.
  if (QCoreApplication::instance()) QCoreApplication::removePostedEvents(QCoreApplication::instance());
  VerifySeams();
  scripted_.reset();
  coveredLabels_.reset();
  platform::SetPrintBackendForTests(nullptr);
  platform::SetTextPrinterBackendForTests(nullptr);
  QLocale::setDefault(previousLocale_);
  std::error_code ec;
  if (!previousDir_.empty()) std::filesystem::current_path(previousDir_, ec);
}

}  // namespace fintest
