// What the report tests share: a fresh database with the working school year 2024/2025 and report month September,
// an MDI area as the main window's client, the school's name and address for the page export, the plug-in
// recorder, and a text dump of a report list (captions with their alignment, then the rows) that the tests compare
// with the expected files under tests/reports/expected/.
#pragma once
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <QMdiArea>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/globals.h"
#include "common/globals.h"
#include "framework/controls.h"
#include "framework/window_system.h"
#include "support/fixtures.h"
#include "support/seams_fixture.h"

namespace fintest {

class ReportTest : public SeamsTest {
 protected:
  ReportTest() {
    gDb = CreateDatabase(WorkFile("data.db3"));
    gTapel = "2024/2025";
    gToday = "2024-09-02";
    gReportMonth = 9;
    gTargetListView = 0;
    gSchoolName = "SD Harapan";
    gSchoolAddress = "Jl. Merdeka 5";
    area_ = new QMdiArea;
    area_->resize(1200, 700);
    gMdiClient = WinHandle(area_);
    WinWatchWindow(gMdiClient);
    area_->show();
  }
  ~ReportTest() override {
    for (Hwnd w : windows_)
      if (IsWindow(w)) WinDestroyWindow(w);
    delete area_;
    gMdiClient = 0;
    sqlite3_close(gDb);
    gDb = nullptr;
    gTargetListView = 0;
    gSchoolName.clear();
    gSchoolAddress.clear();
    for (const char* v : {"FIN_PLUGIN_RECORD", "FIN_PLUGIN_RECORD_INTS"}) unsetenv(v);
  }

  void Keep(Hwnd w) { windows_.push_back(w); }

  // The plug-in recorder under `as` (libtablepage.so, libtablesheet.so) in the program folder; `ints`: the first
  // two arguments are recorded as numbers (the workbook export).
  void InstallRecorder(const std::string& as, bool ints = false) {
    std::filesystem::copy_file(std::string(FIN_BINARY_DIR) + "/tests/plugins/libfin_plugin_recorder.so",
                               ProgramFile(as), std::filesystem::copy_options::overwrite_existing);
    setenv("FIN_PLUGIN_RECORD", WorkFile("record.txt").c_str(), 1);
    if (ints) setenv("FIN_PLUGIN_RECORD_INTS", "1", 1);
    else unsetenv("FIN_PLUGIN_RECORD_INTS");
  }
  std::string Record() { return ReadFile(WorkFile("record.txt")); }

  // The list as text: "caption(l|r|c)" joined by " | ", then each row's cells joined by " | ".
  static std::string Dump(Hwnd list) {
    std::ostringstream out;
    const int columns = LvGetColumnCount(list);
    for (int c = 0; c < columns; ++c) {
      const int a = LvGetColumnAlign(list, c);
      out << (c ? " | " : "") << LvGetColumnText(list, c) << "(" << (a == 1 ? "r" : a == 2 ? "c" : "l") << ")";
    }
    out << "\n";
    for (int r = 0; r < LvGetItemCount(list); ++r) {
      for (int c = 0; c < columns; ++c) out << (c ? " | " : "") << LvGetItemText(list, r, c);
      out << "\n";
    }
    return out.str();
  }
  // The expected file tests/reports/expected/<name>, line by line against `actual` (FIN_WRITE_EXPECTED=1 writes it).
  static void ExpectMatchesFile(const std::string& actual, const std::string& name) {
    const std::string path = std::string(FIN_SOURCE_DIR) + "/tests/reports/expected/" + name;
    if (getenv("FIN_WRITE_EXPECTED")) WriteFile(path, actual);
    std::istringstream a(actual), e(ReadFile(path));
    std::string la, le;
    int line = 0;
    while (true) {
      const bool ga = static_cast<bool>(std::getline(a, la)), ge = static_cast<bool>(std::getline(e, le));
      ++line;
      if (!ga && !ge) break;
      EXPECT_EQ(ga ? la : "<end>", ge ? le : "<end>") << name << " line " << line;
      if (!ga || !ge) break;
    }
  }

  QMdiArea* area_ = nullptr;
  std::vector<Hwnd> windows_;
};

}  // namespace fintest
