// Export of a 5,000-row, 8-column list through the page plug-in: the argument texts built from the list, the
// plug-in loaded from the program folder, the page written; the desktop opener is one that does nothing (a script
// "xdg-open" first in PATH).
// Measured twice: from prepared cell texts (argument texts, then the plug-in call), and end to end with
// FinExportToPage reading a filled list view through the list-view wrappers. Prints the median and worst time of
// each over several runs. Target: the whole export under 300 ms.
#include <stdlib.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/export.h"
#include "framework/controls.h"
#include "framework/window_system.h"
#include "platform/seams.h"
#include "silent_opener.h"

namespace {

class FixedFolder : public platform::ProgramFolder {
 public:
  explicit FixedFolder(std::string p) : path_(std::move(p)) {}
  std::string Path() override { return path_; }

 private:
  std::string path_;
};

using Clock = std::chrono::steady_clock;
double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

struct Stats {
  std::vector<double> runs;
  void add(double ms) { runs.push_back(ms); }
  double median() {
    std::sort(runs.begin(), runs.end());
    return runs[runs.size() / 2];
  }
  double worst() { return *std::max_element(runs.begin(), runs.end()); }
};

}  // namespace

int main(int argc, char** argv) {
  if (!getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);

  const int kRows = 5000, kCols = 8, kRuns = 15;
  auto tmp = std::filesystem::temp_directory_path() / ("fin-export-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(tmp);
  std::filesystem::copy_file(std::string(FIN_BINARY_DIR) + "/libtablepage.so", tmp / "libtablepage.so",
                             std::filesystem::copy_options::overwrite_existing);
  platform::seams().setProgramFolder(std::make_unique<FixedFolder>(tmp.string()));
  InstallSilentOpener(tmp);

  std::vector<ExportColumn> columns;
  const char* captions[kCols] = {"NIS", "NAMA", "KELAS", "TGL", "URAIAN", "MASUK", "KELUAR", "SALDO"};
  for (int c = 0; c < kCols; ++c) columns.push_back({captions[c], (c >= 5) ? 1 : 0});
  ExportRows rows;
  rows.reserve(kRows);
  for (int r = 0; r < kRows; ++r) {
    std::string id = std::to_string(10000 + r);
    rows.push_back({id, "Siswa Nomor " + id + ", Putra", "VII-A", "2024-09-02", "SPP Bulan Juli; Agustus",
                    "1.250.000", "0", "-75.000"});
  }

  Stats build, call, total;
  std::size_t pageBytes = 0;
  for (int i = 0; i < kRuns; ++i) {
    auto t0 = Clock::now();
    PageExportArgs args = FinBuildPageArgs("LAPORAN DATA SISWA", "SD Harapan Bangsa", "Jl. Merdeka No. 5", columns,
                                           rows);
    auto t1 = Clock::now();
    FinCallPlugin("tablepage", reinterpret_cast<std::intptr_t>(args.pageInfo.c_str()),
                  reinterpret_cast<std::intptr_t>(args.headerList.c_str()),
                  reinterpret_cast<std::intptr_t>(args.rowList.c_str()));
    auto t2 = Clock::now();
    build.add(Ms(t1 - t0));
    call.add(Ms(t2 - t1));
    total.add(Ms(t2 - t0));
    pageBytes = std::filesystem::file_size(tmp / "Lap.html");
  }
  // End to end from a list view.
  Hwnd list = WinCreateControl(0, "SysListView32", "", LVS_REPORT, 0, 0, 800, 600, 0, 1);
  for (int c = 0; c < kCols; ++c) LvInsertColumn(list, c, columns[c].caption, columns[c].align, 80);
  for (int r = 0; r < kRows; ++r) {
    LvInsertItem(list, r, 0, rows[r][0], 0, 0);
    for (int c = 1; c < kCols; ++c) LvSetItemText(list, r, c, rows[r][c]);
  }
  Stats fromList;
  for (int i = 0; i < kRuns; ++i) {
    auto t0 = Clock::now();
    FinExportToPage("LAPORAN DATA SISWA", list);
    fromList.add(Ms(Clock::now() - t0));
  }
  WinDestroyWindow(list);

  std::printf("export of %d rows x %d columns through tablepage, %d runs, page %zu bytes\n", kRows, kCols, kRuns,
              pageBytes);
  std::printf("  argument texts      median %7.2f ms  worst %7.2f ms\n", build.median(), build.worst());
  std::printf("  load, sData, unload median %7.2f ms  worst %7.2f ms\n", call.median(), call.worst());
  std::printf("  whole export        median %7.2f ms  worst %7.2f ms  (target < 300 ms)\n", total.median(),
              total.worst());
  std::printf("  FinExportToPage from a list view (cells read through the wrappers)\n");
  std::printf("                      median %7.2f ms  worst %7.2f ms  (target < 300 ms)\n", fromList.median(),
              fromList.worst());

  std::filesystem::remove_all(tmp);
  platform::seams().resetAll();
  return (total.median() < 300.0 && fromList.median() < 300.0) ? 0 : 1;
}
