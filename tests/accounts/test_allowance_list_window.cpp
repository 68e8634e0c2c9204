// The teacher allowance list FORM4 driven as an operator would: the items of gTapel, the commands without action,
// delete with Yes/No, the exports, the import, and the copy of an earlier school year.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <QMdiArea>
#include <QTest>
#include <QWidget>
#include <filesystem>
#include <string>
#include <vector>

#include "accounts/allowance_list_window.h"
#include "accounts/source_year_prompt.h"
#include "app/globals.h"
#include "common/globals.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/window_system.h"
#include "students/import_window.h"
#include "support/fixtures.h"
#include "support/operator.h"
#include "support/seams_fixture.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

constexpr const char* kDeleteQuestion =
    "Apakah anda yakin akan menghapus record ini? Cobalah koreksi data yang terkait dengan record ini, mungkin bisa "
    "mengakibatkan perubahan referensi data dan mengakibatkan data menjadi rancu..";
constexpr const char* kCopyQuestion =
    "Fitur ini berfungsi sebagai penyalin data yang sudah pernah di entry pada tahun ajaran sebelumnya, apakah anda "
    "akan melakukan perintah ini";
constexpr const char* kCopyDone = "Penyalinan data sudah selesai, silahkan refresh..";
constexpr int kQuestion = MB_YESNO | MB_ICONQUESTION;

const Rows kWorkingYear = {{"T01", "Wali kelas", "Guru tetap"}, {"T02", "Piket", "Semua guru"}};

class AllowanceListTest : public fintest::SeamsTest {
 protected:
  AllowanceListTest() {
    gDb = fintest::CreateDatabase(WorkFile("data.db3"));
    gTapel = "2024/2025";
    gFormMode = "";
    area_ = new QMdiArea;
    area_->resize(1200, 700);
    client_ = WinHandle(area_);
    WinWatchWindow(client_);
    area_->show();
    fintest::Exec(gDb,
                  "INSERT INTO mastergaji (Kode, Uraian, Kriteria, Tapel) VALUES"
                  " ('T02', 'Piket', 'Semua guru', '2024/2025'), ('T01', 'Wali kelas', 'Guru tetap', '2024/2025'),"
                  " ('T01', 'Wali kelas lama', 'Guru tetap', '2023/2024'),"
                  " ('T03', 'Pembina', 'Guru''s club', '2023/2024'),"
                  " ('T04', 'Lembur', 'Per jam', '2023/2024');");
  }
  ~AllowanceListTest() override {
    if (IsWindow(window_)) WinDestroyWindow(window_);
    delete area_;
    sqlite3_close(gDb);
    gDb = nullptr;
    gTargetListView = 0;
    gFormMode.clear();
    unsetenv("FIN_PLUGIN_RECORD");
  }
  void Open() { window_ = static_cast<Hwnd>(FORM4_Show(client_, 1, 0)); }
  static Rows ListRows() { return fintest::ListRows(gForm4List); }
  Rows YearRows(const std::string& year) {
    return fintest::Query(gDb,
                          "select Kode, Uraian, Kriteria from mastergaji where Tapel='" + year + "' order by Kode");
  }
  static void Command(int id) { ASSERT_EQ(TbClickButton(gForm4Toolbar, id), 1) << id; }
  void ScriptCopy(const std::string& year) {
    ExpectMsgBox(kCopyQuestion, "Salin Data dari tahun ajaran : ", IDYES, kQuestion);
    OnModal([year](QWidget*) {
      CtlSetText(gForm21YearEdit, year);
      QTest::mouseClick(WinWidget(gForm21ContinueButton), Qt::LeftButton);
    });
  }

  QMdiArea* area_ = nullptr;
  Hwnd client_ = 0;
  Hwnd window_ = 0;
};

TEST_F(AllowanceListTest, ListsTheItemsOfTheWorkingYear) {
  Open();
  ASSERT_TRUE(IsWindow(window_));
  EXPECT_EQ(window_, gForm4Window);
  EXPECT_EQ(WinKindOf(window_), WIN_MDI_CHILD);
  EXPECT_EQ(WinGetClassName(window_), "FORM_FINANCE_FORM4_CLASS");
  EXPECT_EQ(WinGetWindowText(window_), "Data Tunjangan Guru");
  EXPECT_TRUE(WinIsZoomed(window_));
  ASSERT_EQ(LvGetColumnCount(gForm4List), 3);
  EXPECT_EQ(LvGetColumnText(gForm4List, 0), "KODE");
  EXPECT_EQ(LvGetColumnText(gForm4List, 1), "URAIAN");
  EXPECT_EQ(LvGetColumnText(gForm4List, 2), "KRITERIA");
  EXPECT_EQ(ListRows(), kWorkingYear);
  const std::vector<std::pair<int, std::string>> tips = {
      {gForm4AddId, "Tambah Data Tunjangan Baru"},
      {gForm4EditId, "Edit / Ubah Data Tunjangan"},
      {gForm4DeleteId, "Hapus Item Data Tunjangan"},
      {gForm4ExcelId, "Export Ke Excel"},
      {gForm4PageId, "Cetak Ke Broswer"},
      {gForm4ImportId, "Import Data Dari Excel"},
      {gForm4CopyId, "Salin Data Tunjangan dari tahun ajaran sebelumnya"},
      {gForm4RefreshId, "Refresh / membaca ulang Data Tunjangan dari database"},
  };
  EXPECT_EQ(TbGetButtonCount(gForm4Toolbar), 9);
  for (const auto& [id, tip] : tips) EXPECT_EQ(TbGetButtonTip(gForm4Toolbar, id), tip);
  // Add and edit carry no action: no window, no box.
  LvSelectItem(gForm4List, 0);
  Command(gForm4AddId);
  Command(gForm4EditId);
  EXPECT_EQ(ListRows(), kWorkingYear);

  gTapel = "2030/2031";   // a year without items: neither columns nor rows
  Command(gForm4RefreshId);
  EXPECT_EQ(LvGetColumnCount(gForm4List), 0);
  EXPECT_EQ(LvGetItemCount(gForm4List), 0);
}

TEST_F(AllowanceListTest, DeleteAsksAndRemovesTheCodeFromEverySchoolYear) {
  Open();
  LvSelectItem(gForm4List, 0);   // T01
  ExpectMsgBox(kDeleteQuestion, "Confirm Delete", IDNO, kQuestion);
  Command(gForm4DeleteId);
  EXPECT_EQ(ListRows(), kWorkingYear);
  ExpectMsgBox(kDeleteQuestion, "Confirm Delete", IDYES, kQuestion);
  Command(gForm4DeleteId);
  EXPECT_EQ(ListRows(), (Rows{{"T02", "Piket", "Semua guru"}}));
  EXPECT_EQ(fintest::Query(gDb, "select count(*) from mastergaji where Kode='T01'"), Rows{{"0"}});
  EXPECT_EQ(fintest::Query(gDb, "select count(*) from mastergaji"), Rows{{"3"}});
}

TEST_F(AllowanceListTest, EachListWorksOnItsOwnRows) {
  Open();
  const Hwnd older = window_;
  Open();
  const Hwnd newer = window_;
  ASSERT_NE(older, newer);
  const Hwnd olderList = WinGetDlgItem(older, gForm4ListId), newerList = WinGetDlgItem(newer, gForm4ListId);
  const Hwnd olderToolbar = WinGetDlgItem(WinGetDlgItem(older, gForm4RebarId), gForm4ToolbarId);
  LvSelectItem(olderList, 1);   // T02
  LvSelectItem(newerList, 0);   // T01
  ExpectMsgBox(kDeleteQuestion, "Confirm Delete", IDYES, kQuestion);
  ASSERT_EQ(TbClickButton(olderToolbar, gForm4DeleteId), 1);
  EXPECT_EQ(fintest::Query(gDb, "select Kode from mastergaji where Tapel='2024/2025'"), Rows{{"T01"}});
  EXPECT_EQ(LvGetItemCount(olderList), 1);
  EXPECT_EQ(LvGetItemText(olderList, 0, 0), "T01");
  EXPECT_EQ(LvGetItemCount(newerList), 2);
  for (Hwnd w : {older, newer}) WinDestroyWindow(w);
}

TEST_F(AllowanceListTest, CopyBringsTheItemsOfTheEarlierYearOnce) {
  Open();
  const Rows copied = {{"T01", "Wali kelas", "Guru tetap"},
                       {"T02", "Piket", "Semua guru"},
                       {"T03", "Pembina", "Guru's club"},
                       {"T04", "Lembur", "Per jam"}};
  for (int run = 0; run < 2; ++run) {
    ScriptCopy("2023/2024");
    ExpectMsgBox(kCopyDone, "Info", IDOK, MB_OK);
    Command(gForm4CopyId);
    EXPECT_EQ(YearRows("2024/2025"), copied);
    EXPECT_EQ(ListRows(), kWorkingYear);   // not reloaded
  }
  // From the working year itself: nothing.
  ScriptCopy("2024/2025");
  ExpectMsgBox(kCopyDone, "Info", IDOK, MB_OK);
  Command(gForm4CopyId);
  EXPECT_EQ(YearRows("2024/2025"), copied);
  Command(gForm4RefreshId);
  EXPECT_EQ(ListRows(), copied);
}

TEST_F(AllowanceListTest, AFailedInsertUndoesTheWholeCopy) {
  fintest::Exec(gDb,
                "CREATE TRIGGER refuse BEFORE INSERT ON mastergaji WHEN NEW.Kode='T04' "
                "BEGIN SELECT RAISE(ABORT, 'ditolak'); END;");
  Open();
  ScriptCopy("2023/2024");
  ExpectMsgBox("SQL error: ditolak", "Info", IDOK, MB_OK);
  Command(gForm4CopyId);
  EXPECT_EQ(YearRows("2024/2025"), kWorkingYear);
}

TEST_F(AllowanceListTest, ExportAndImport) {
  Open();
  std::filesystem::copy_file(std::string(FIN_BINARY_DIR) + "/tests/plugins/libfin_plugin_recorder.so",
                             ProgramFile("libtablepage.so"));
  setenv("FIN_PLUGIN_RECORD", WorkFile("record.txt").c_str(), 1);
  Command(gForm4PageId);
  EXPECT_EQ(fintest::ReadFile(WorkFile("record.txt")),
            "LAPORAN ITEM DATA TUNJANGAN;;;lll\nKODE;URAIAN;KRITERIA\n"
            "T01,Wali kelas,Guru tetap;T02,Piket,Semua guru\n");
  // No workbook plug-in in the program folder: the export says so and stops.
  gTargetListView = 0;
  ExpectMsgBox("tidak dapat membaca library..", "Export To excel..");
  Command(gForm4ExcelId);
  EXPECT_EQ(gTargetListView, gForm4List);

  const Hwnd w = window_;
  OnModal([w](QWidget*) {
    EXPECT_EQ(gFormMode, "Tunjangan");
    EXPECT_FALSE(WinIsWindowEnabled(w));
    FrmClose(gFormImportWindow, 0);
  });
  Command(gForm4ImportId);
  EXPECT_EQ(YearRows("2024/2025"), kWorkingYear);
}

}  // namespace
