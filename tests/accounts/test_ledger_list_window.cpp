// The ledger account list FORM5 driven as an operator would: the list of gTapel, refresh, delete with Yes/No, the
// exports, the import, and the copy of an earlier school year through the source-year prompt.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <QAbstractButton>
#include <QMdiArea>
#include <QTest>
#include <QWidget>
#include <filesystem>
#include <string>
#include <vector>

#include "accounts/ledger_entry_window.h"
#include "accounts/ledger_list_window.h"
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
constexpr const char* kCopyCaption = "Salin Data dari tahun ajaran : ";
constexpr const char* kCopyDone = "Penyalinan data sudah selesai, silahkan refresh..";
constexpr int kQuestion = MB_YESNO | MB_ICONQUESTION;

class LedgerListTest : public fintest::SeamsTest {
 protected:
  LedgerListTest() {
    gDb = fintest::CreateDatabase(WorkFile("data.db3"));
    gTapel = "2024/2025";
    gFormMode = "";
    gEditMode = 0;
    gSchoolName = "SD Harapan";
    gSchoolAddress = "Jl. Merdeka 5";
    area_ = new QMdiArea;
    area_->resize(1200, 700);
    client_ = WinHandle(area_);
    WinWatchWindow(client_);
    area_->show();
    fintest::Exec(gDb,
                  "INSERT INTO rekening (Kode, Deskripsi, Grup, Tapel) VALUES"
                  " ('102', 'Uang Gedung', 'Msk', '2024/2025'), ('101', 'SPP', 'Msk', '2024/2025'),"
                  " ('301', 'Bank BRI', 'Bms', '2024/2025'), ('201', 'Gaji Guru', 'Klr', '2024/2025'),"
                  " ('101', 'SPP lama', 'Msk', '2023/2024'), ('401', 'Ekskul', 'Msk', '2023/2024'),"
                  " ('501', 'Ma''arif', 'Klr', '2023/2024'), ('601', 'Lain', 'Bms', '2022/2023');");
  }
  ~LedgerListTest() override {
    for (Hwnd w : windows_)
      if (IsWindow(w)) WinDestroyWindow(w);
    delete area_;
    sqlite3_close(gDb);
    gDb = nullptr;
    gTargetListView = 0;
    gFormMode.clear();
    gSchoolName.clear();
    gSchoolAddress.clear();
    for (const char* v : {"FIN_PLUGIN_RECORD", "FIN_PLUGIN_RECORD_INTS"}) unsetenv(v);
  }

  Hwnd Open() {
    const Hwnd w = static_cast<Hwnd>(FORM5_Show(client_, 1, 0));
    windows_.push_back(w);
    return w;
  }
  static std::vector<std::string> Columns(Hwnd list) {
    std::vector<std::string> cols;
    for (int c = 0; c < LvGetColumnCount(list); ++c) cols.push_back(LvGetColumnText(list, c));
    return cols;
  }
  Rows Db(const std::string& sql) { return fintest::Query(gDb, sql); }
  Rows YearRows(const std::string& year) {
    return Db("select Kode, Deskripsi, Grup from rekening where Tapel='" + year + "' order by Kode, Deskripsi");
  }
  static void Command(int id) { ASSERT_EQ(TbClickButton(gForm5Toolbar, id), 1) << id; }
  // Answers the copy question with Yes and the prompt with `year` ("" : Batal).
  void ScriptCopy(const std::string& year, bool cancel = false) {
    ExpectMsgBox(kCopyQuestion, kCopyCaption, IDYES, kQuestion);
    OnModal([year, cancel](QWidget*) {
      EXPECT_EQ(CtlGetText(gForm21YearEdit), "2023/2024");
      CtlSetText(gForm21YearEdit, year);
      QTest::mouseClick(WinWidget(cancel ? gForm21CancelButton : gForm21ContinueButton), Qt::LeftButton);
    });
  }
  void InstallRecorder(const std::string& as) {
    std::filesystem::copy_file(std::string(FIN_BINARY_DIR) + "/tests/plugins/libfin_plugin_recorder.so",
                               ProgramFile(as), std::filesystem::copy_options::overwrite_existing);
    setenv("FIN_PLUGIN_RECORD", WorkFile("record.txt").c_str(), 1);
  }

  QMdiArea* area_ = nullptr;
  Hwnd client_ = 0;
  std::vector<Hwnd> windows_;
};

const Rows kWorkingYear = {{"101", "SPP", "Msk"}, {"102", "Uang Gedung", "Msk"}, {"201", "Gaji Guru", "Klr"},
                           {"301", "Bank BRI", "Bms"}};

TEST_F(LedgerListTest, ListsTheAccountsOfTheWorkingYearInCodeOrder) {
  const Hwnd w = Open();
  ASSERT_TRUE(IsWindow(w));
  EXPECT_EQ(w, gForm5Window);
  EXPECT_EQ(WinKindOf(w), WIN_MDI_CHILD);
  EXPECT_EQ(WinGetClassName(w), "FORM_FINANCE_FORM5_CLASS");
  EXPECT_EQ(WinGetWindowText(w), "Data Rekening Keuangan");
  EXPECT_TRUE(WinIsZoomed(w));
  EXPECT_EQ(Columns(gForm5List), (std::vector<std::string>{"KODE", "DESKRIPSI", "GRUP"}));
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(LvGetColumnWidth(gForm5List, c), 100);
    EXPECT_EQ(LvGetColumnAlign(gForm5List, c), LVCFMT_LEFT);
  }
  EXPECT_EQ(fintest::ListRows(gForm5List), kWorkingYear);
  EXPECT_EQ(gTargetListView, gForm5List);

  // The toolbar: eight commands with their tips, a separator after the fifth.
  const std::vector<std::pair<int, std::string>> tips = {
      {gForm5AddId, "Tambah Data Rekening Baru"},
      {gForm5EditId, "Edit / Ubah Data Rekening"},
      {gForm5DeleteId, "Hapus Item Data Rekening"},
      {gForm5ExcelId, "Export Ke Excel"},
      {gForm5PageId, "Cetak Ke Broswer"},
      {gForm5ImportId, "Import Data Dari Excel"},
      {gForm5CopyId, "Salin Data Rekening dari tahun ajaran sebelumnya"},
      {gForm5RefreshId, "Refresh / membaca ulang Data Tunjangan dari database"},
  };
  EXPECT_EQ(TbGetButtonCount(gForm5Toolbar), 9);
  for (const auto& [id, tip] : tips) EXPECT_EQ(TbGetButtonTip(gForm5Toolbar, id), tip);

  // The list fills the client area under the rebar, now and after a resize.
  auto fills = [&] {
    const WinRect client = WinGetClientRect(w);
    const WinRect list = WinGetWindowRect(gForm5List);
    const int top = CtlGetHeight(gForm5Rebar);
    EXPECT_GT(top, 0);
    EXPECT_EQ(list.left, 0);
    EXPECT_EQ(list.top, top);
    EXPECT_EQ(list.right, client.right);
    EXPECT_EQ(list.bottom, client.bottom);
  };
  fills();
  area_->resize(900, 500);
  QCoreApplication::processEvents();
  fills();
}

TEST_F(LedgerListTest, AYearWithoutAccountsShowsNeitherColumnsNorRows) {
  gTapel = "2030/2031";
  Open();
  EXPECT_EQ(LvGetColumnCount(gForm5List), 0);
  EXPECT_EQ(LvGetItemCount(gForm5List), 0);
}

TEST_F(LedgerListTest, RefreshReadsTheDatabaseAgain) {
  Open();
  fintest::Exec(gDb, "INSERT INTO rekening VALUES ('100', 'Kas', 'Msk', '2024/2025')");
  EXPECT_EQ(LvGetItemCount(gForm5List), 4);
  Command(gForm5RefreshId);
  Rows expected = kWorkingYear;
  expected.insert(expected.begin(), {"100", "Kas", "Msk"});
  EXPECT_EQ(fintest::ListRows(gForm5List), expected);
}

TEST_F(LedgerListTest, DeleteAsksAndRemovesTheCodeFromEverySchoolYear) {
  Open();
  LvSelectItem(gForm5List, 0);   // 101
  ExpectMsgBox(kDeleteQuestion, "Confirm Delete", IDNO, kQuestion);
  Command(gForm5DeleteId);
  EXPECT_EQ(fintest::ListRows(gForm5List), kWorkingYear);
  EXPECT_EQ(Db("select count(*) from rekening where Kode='101'"), Rows{{"2"}});

  ExpectMsgBox(kDeleteQuestion, "Confirm Delete", IDYES, kQuestion);
  Command(gForm5DeleteId);
  EXPECT_EQ(fintest::ListRows(gForm5List), Rows(kWorkingYear.begin() + 1, kWorkingYear.end()));
  EXPECT_EQ(Db("select count(*) from rekening where Kode='101'"), Rows{{"0"}});
  EXPECT_EQ(Db("select count(*) from rekening"), Rows{{"6"}});
}

TEST_F(LedgerListTest, DeleteOfACodeWithApostrophesRemovesThatCodeOnly) {
  for (const char* kode : {"1'2", "x' or 'a'='a"}) {
    SCOPED_TRACE(kode);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(gDb, "INSERT INTO rekening VALUES (?, 'Aneh', 'Msk', '2024/2025')", -1, &st, nullptr);
    sqlite3_bind_text(st, 1, kode, -1, SQLITE_TRANSIENT);
    ASSERT_EQ(sqlite3_step(st), SQLITE_DONE);
    sqlite3_finalize(st);
    const Hwnd w = Open();
    int row = -1;
    for (int r = 0; r < LvGetItemCount(gForm5List); ++r)
      if (LvGetItemText(gForm5List, r, 0) == kode) row = r;
    ASSERT_GE(row, 0);
    LvSelectItem(gForm5List, row);
    ExpectMsgBox(kDeleteQuestion, "Confirm Delete", IDYES, kQuestion);
    Command(gForm5DeleteId);
    EXPECT_EQ(fintest::ListRows(gForm5List), kWorkingYear);
    EXPECT_EQ(Db("select count(*) from rekening"), Rows{{"8"}});
    WinDestroyWindow(w);
  }
}

TEST_F(LedgerListTest, CopyBringsTheAccountsOfTheEarlierYearOnce) {
  Open();
  ScriptCopy("2023/2024");
  ExpectMsgBox(kCopyDone, "Info", IDOK, MB_OK);
  Command(gForm5CopyId);
  const Rows copied = {{"101", "SPP", "Msk"},      {"102", "Uang Gedung", "Msk"}, {"201", "Gaji Guru", "Klr"},
                       {"301", "Bank BRI", "Bms"}, {"401", "Ekskul", "Msk"},      {"501", "Ma'arif", "Klr"}};
  EXPECT_EQ(YearRows("2024/2025"), copied);   // 101 stood already; the apostrophe copies as it is
  EXPECT_EQ(gRowCount, 3);                      // the source year's count
  EXPECT_EQ(fintest::ListRows(gForm5List), kWorkingYear);   // not reloaded until refresh
  Command(gForm5RefreshId);
  EXPECT_EQ(fintest::ListRows(gForm5List), copied);

  // Again from the same year: every code is there already.
  ScriptCopy("2023/2024");
  ExpectMsgBox(kCopyDone, "Info", IDOK, MB_OK);
  Command(gForm5CopyId);
  EXPECT_EQ(YearRows("2024/2025"), copied);
  EXPECT_EQ(YearRows("2023/2024"),
            (Rows{{"101", "SPP lama", "Msk"}, {"401", "Ekskul", "Msk"}, {"501", "Ma'arif", "Klr"}}));
}

TEST_F(LedgerListTest, ACodeTheSourceYearHoldsTwiceIsCopiedOnce) {
  fintest::Exec(gDb, "INSERT INTO rekening (Kode, Deskripsi, Grup, Tapel) VALUES ('401', 'Ekskul lagi', 'Msk', "
                     "'2023/2024')");
  Open();
  ScriptCopy("2023/2024");
  ExpectMsgBox(kCopyDone, "Info", IDOK, MB_OK);
  Command(gForm5CopyId);
  EXPECT_EQ(Db("select count(*) from rekening where Kode='401' and Tapel='2024/2025'"), Rows{{"1"}});
  EXPECT_EQ(gRowCount, 4);   // the source year's rows
}

TEST_F(LedgerListTest, CopyFromAYearWithoutRowsOrFromTheWorkingYearCopiesNothing) {
  Open();
  for (const char* year : {"2023-2024", "2024/2025", "1999/2000"}) {
    SCOPED_TRACE(year);
    ScriptCopy(year);
    ExpectMsgBox(kCopyDone, "Info", IDOK, MB_OK);
    Command(gForm5CopyId);
    EXPECT_EQ(YearRows("2024/2025"), kWorkingYear);
  }
}

TEST_F(LedgerListTest, CopyEndsQuietlyWhenRefusedOrCancelled) {
  Open();
  ExpectMsgBox(kCopyQuestion, kCopyCaption, IDNO, kQuestion);   // no prompt follows
  Command(gForm5CopyId);
  ScriptCopy("2023/2024", /*cancel*/ true);                       // Batal: no statement, no box
  Command(gForm5CopyId);
  ScriptCopy("");                                                  // Lanjut on an empty year: cancelled too
  Command(gForm5CopyId);
  ASSERT_EQ(msgBoxes().size(), 3u);   // the three questions and nothing else
  for (const auto& box : msgBoxes()) EXPECT_EQ(box.caption, kCopyCaption);
  EXPECT_EQ(YearRows("2024/2025"), kWorkingYear);
  EXPECT_EQ(gFormMode, "");
}

TEST_F(LedgerListTest, AFailedInsertUndoesTheWholeCopy) {
  fintest::Exec(gDb,
                "CREATE TRIGGER refuse BEFORE INSERT ON rekening WHEN NEW.Kode='501' "
                "BEGIN SELECT RAISE(ABORT, 'ditolak'); END;");
  Open();
  ScriptCopy("2023/2024");
  ExpectMsgBox("SQL error: ditolak", "Info", IDOK, MB_OK);   // and no "selesai" box: nothing was copied
  Command(gForm5CopyId);
  EXPECT_EQ(YearRows("2024/2025"), kWorkingYear);   // 401 went in before 501 failed, and was taken back
  // Without the refusal the same copy goes through.
  fintest::Exec(gDb, "DROP TRIGGER refuse");
  ScriptCopy("2023/2024");
  ExpectMsgBox(kCopyDone, "Info", IDOK, MB_OK);
  Command(gForm5CopyId);
  EXPECT_EQ(YearRows("2024/2025").size(), 6u);
}

TEST_F(LedgerListTest, ExportsHandTheListToThePlugins) {
  Open();
  InstallRecorder("libtablepage.so");
  Command(gForm5PageId);
  EXPECT_EQ(fintest::ReadFile(WorkFile("record.txt")),
            "LAPORAN ITEM DATA REKENING KEUANGAN;SD Harapan;Jl. Merdeka 5;lll\n"
            "KODE;DESKRIPSI;GRUP\n"
            "101,SPP,Msk;102,Uang Gedung,Msk;201,Gaji Guru,Klr;301,Bank BRI,Bms\n");

  gTargetListView = 0;
  InstallRecorder("libtablesheet.so");
  setenv("FIN_PLUGIN_RECORD_INTS", "1", 1);
  Command(gForm5ExcelId);
  EXPECT_EQ(gTargetListView, gForm5List);
  EXPECT_EQ(fintest::ReadFile(WorkFile("record.txt")),
            "4\n3\nKODE,DESKRIPSI,GRUP;101,SPP,Msk;102,Uang Gedung,Msk;201,Gaji Guru,Klr;301,Bank BRI,Bms\n");
}

TEST_F(LedgerListTest, ImportOpensTheImportWindowForLedgerAccounts) {
  const Hwnd w = Open();
  OnModal([w](QWidget*) {
    EXPECT_EQ(gFormMode, "Rekening");
    EXPECT_FALSE(WinIsWindowEnabled(w));   // owned by the list window
    FrmClose(gFormImportWindow, 0);
  });
  Command(gForm5ImportId);
  EXPECT_EQ(fintest::ListRows(gForm5List), kWorkingYear);
}

TEST_F(LedgerListTest, AddAndEditOpenTheEntryWindowInTheirMode) {
  const Hwnd w = Open();
  struct Case {
    int command;
    int mode;
    const char* kode;
  } cases[] = {{gForm5AddId, 0, ""}, {gForm5EditId, 1, "201"}};
  LvSelectItem(gForm5List, 2);
  for (const Case& c : cases) {
    gEditMode = 7;
    OnModal([&](QWidget*) {
      EXPECT_EQ(gEditMode, c.mode);
      EXPECT_EQ(CtlGetText(gFormRekKodeEdit), c.kode);
      EXPECT_FALSE(WinIsWindowEnabled(w));
      FrmClose(gFormRekWindow, 0);
    });
    Command(c.command);
    EXPECT_TRUE(WinIsWindowEnabled(w));
  }
}

TEST_F(LedgerListTest, EachWindowWorksOnItsOwnList) {
  const Hwnd first = Open();
  const Hwnd firstList = gForm5List;
  const Hwnd firstToolbar = gForm5Toolbar;
  fintest::Exec(gDb, "INSERT INTO rekening VALUES ('100', 'Kas', 'Msk', '2024/2025')");
  const Hwnd second = Open();
  EXPECT_EQ(gForm5Window, second);
  EXPECT_NE(gForm5List, firstList);
  EXPECT_EQ(LvGetItemCount(gForm5List), 5);
  EXPECT_EQ(LvGetItemCount(firstList), 4);
  // Edit in the first window loads the row marked in the first window's list.
  LvSelectItem(firstList, 3);   // 301
  LvSelectItem(gForm5List, 0);  // 100
  OnModal([](QWidget*) {
    EXPECT_EQ(CtlGetText(gFormRekKodeEdit), "301");
    EXPECT_EQ(CbGetCurSel(gFormRekGrupCombo), 2);
    FrmClose(gFormRekWindow, 0);
  });
  ASSERT_EQ(TbClickButton(firstToolbar, gForm5EditId), 1);
  EXPECT_EQ(gForm5Window, first);
  // A window that goes clears the globals that name it.
  WinDestroyWindow(first);
  EXPECT_EQ(gForm5Window, 0);
  EXPECT_EQ(gForm5List, 0);
  EXPECT_TRUE(IsWindow(second));
}

}  // namespace
