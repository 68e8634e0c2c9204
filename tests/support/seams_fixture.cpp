#include "support/seams_fixture.h"

#include <QCoreApplication>
#include <QLocale>
#include <filesystem>

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
  printed_ = platform::InstallRecordingPrintBackend();
  textPrinted_ = platform::InstallRecordingTextPrinterBackend();
  // A death test's child ends in AppExit without running destructors: leave nothing behind all the same.
  scripted_->SetBeforeExit([this] {
    std::error_code ec2;
    if (!previousDir_.empty()) std::filesystem::current_path(previousDir_, ec2);
    std::filesystem::remove_all(programTemp_.path(), ec2);
    std::filesystem::remove_all(workTemp_.path(), ec2);
  });
}

void SeamsTest::VerifySeams() {
  for (const auto& e : scripted_->errors()) ADD_FAILURE() << e;
  for (const auto& u : scripted_->Unconsumed()) ADD_FAILURE() << u;
  scripted_->ClearScript();
}

SeamsTest::~SeamsTest() {
  // Drivers of modal forms still queued must not run after the test is gone.
  if (QCoreApplication::instance()) QCoreApplication::removePostedEvents(QCoreApplication::instance());
  VerifySeams();
  scripted_.reset();
  platform::SetPrintBackendForTests(nullptr);
  platform::SetTextPrinterBackendForTests(nullptr);
  QLocale::setDefault(previousLocale_);
  std::error_code ec;
  if (!previousDir_.empty()) std::filesystem::current_path(previousDir_, ec);
}

}  // namespace fintest
