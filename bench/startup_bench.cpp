// Start-up benchmark: from process start to the login window shown, and from "Log in" to the main window shown.
//
//   QT_QPA_PLATFORM=offscreen build/bench/startup_bench SCHOOL.db3
//
// SCHOOL.db3: any school database, as the school finance_bench builds (its path heads the table it prints).
//
// The program starts itself once more and takes the moment just before that start as the process start. The run
// folder is a temporary folder holding conn.txt; message boxes are answered OK.
#include <QApplication>
#include <QTest>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "app/config.h"
#include "app/globals.h"
#include "app/login_window.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/window_system.h"
#include "platform/seams.h"

namespace {

long long NowMicros() {
  return std::chrono::duration_cast<std::chrono::microseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

class AnswerOk final : public platform::MessageBoxes {
 public:
  int Show(const std::string&, const std::string&, int, QWidget*) override { return IDOK; }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s DATABASE.db3\n", argv[0]);
    return 2;
  }
  if (!std::getenv("FIN_BENCH_T0")) {
    setenv("FIN_BENCH_T0", std::to_string(NowMicros()).c_str(), 1);
    execv("/proc/self/exe", argv);
    std::perror("execv");
    return 1;
  }
  const long long t0 = std::atoll(std::getenv("FIN_BENCH_T0"));
  const std::string db = std::filesystem::absolute(argv[1]).string();
  const std::filesystem::path run = std::filesystem::temp_directory_path() / ("fin-startup-" + std::to_string(getpid()));
  std::filesystem::create_directories(run);
  std::filesystem::current_path(run);
  std::ofstream(run / "conn.txt") << db << ";-;-\r\n";
  std::ofstream(run / "setting_struk.txt") << "15;150;0;Courier New;0\r\n";

  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  platform::seams().setMessageBoxes(std::make_unique<AnswerOk>());

  long long loginShown = 0, loginPressed = 0, mainShown = 0;
  FrmSetModalHook([&](Hwnd form) {
    if (form == gFormLoginWindow) {
      loginShown = NowMicros();
      CtlSetText(gFormLoginUserEdit, "ketua");
      CtlSetText(gFormLoginPasswordEdit, "5927");
      loginPressed = NowMicros();
      QTest::mouseClick(WinWidget(gFormLoginLoginButton), Qt::LeftButton);
    } else if (form == gMainWindow) {
      mainShown = NowMicros();
      WinSendMessage(gMainWindow, WM_CLOSE, 0, 0);
    } else {
      FrmClose(form, 0);   // the guide, should the database lack required data
    }
  });
  AppInitRun();
  AppRunGui(1, 0, "", 1);

  std::printf("process start -> login window shown: %.1f ms\n", (loginShown - t0) / 1000.0);
  std::printf("\"Log in\" -> main window shown:      %.1f ms\n", (mainShown - loginPressed) / 1000.0);
  std::error_code ec;
  std::filesystem::current_path("/", ec);
  std::filesystem::remove_all(run, ec);
  std::fflush(stdout);
  std::_Exit(loginShown && mainShown ? 0 : 1);
}
