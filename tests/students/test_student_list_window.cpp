// The student list "Data Siswa" driven as an operator would: the opening load, class changes, the search, the refresh,
// deleting ticked students, the exports handed to the plug-ins, the student cards and the windows its toolbar opens.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <QComboBox>
#include <QMdiArea>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/globals.h"
#include "common/globals.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/window_system.h"
#include "students/import_window.h"
#include "students/student_list_window.h"
#include "students/student_record_window.h"
#include "support/fixtures.h"
#include "support/operator.h"
#include "support/seams_fixture.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

const std::vector<std::string> kShortColumns = {"ID",     "NAMA",   "LP",     "TMPLAHIR", "TGLLAHIR",
                                                "AGAMA",  "ALAMAT", "STATUS", "TGLMASUK", "KET"};
const std::vector<std::string> kFullColumns = {"ID",     "NAMA",   "LP",       "TMPLAHIR", "TGLLAHIR", "AGAMA",
                                               "ALAMAT", "STATUS", "TGLMASUK", "KELAS",    "KATEGORI", "KET"};
const char kDeleteQuestion[] =
    "Apakah anda yakin akan menghapus record tercentang / terpilih? Cobalah koreksi data yang terkait dengan "
    "record-record ini, mungkin bisa mengakibatkan perubahan referensi data dan mengakibatkan data menjadi rancu..";

class StudentListTest : public fintest::SeamsTest {
 protected:
  void SetUp() override {
    gDb = fintest::CreateDatabase(WorkFile("data.db3"));
    gTapel = "2024/2025";
    gEditMode = -1;
    gFormMode = "";
    gListRowCount = 0;
    gTargetListView = 0;
    gSchoolName = "SD Harapan";
    gSchoolAddress = "Jl. Merdeka 5";
    area_ = new QMdiArea;
    area_->resize(1200, 700);
    gMdiClient = WinHandle(area_);
    WinWatchWindow(gMdiClient);
    area_->show();
    // Students of the working year 2024/2025 and of 2023/2024: S03 was in VII-A last year and is in VII-B now; S04
    // is no longer active; S05 graduated; S07 dropped out last year.
    fintest::Exec(gDb,
                  "INSERT INTO siswa (Id, Nama, LP, TmpLahir, TglLahir, Agama, Alamat, Ket, Status, TglMasuk, Jenjang)"
                  " VALUES"
                  " ('S01', 'ANI', 'P', 'Bandung', '2012-01-05', 'Islam', 'Jl. Dago 1', 'ketua kelas', 'Aktif',"
                  "  '2023-7-1', '-'),"
                  " ('S02', 'BUDI', 'L', 'Jakarta', '2012-02-06', 'Kristen', 'Jl. Riau 2', '', 'Aktif', '2023-7-1',"
                  "  '-'),"
                  " ('S03', 'CICI', 'P', 'Garut', '2011-03-07', 'Hindu', 'Jl. Asia 3', 'pindahan', 'Aktif',"
                  "  '2022-7-1', '-'),"
                  " ('S04', 'DEDI ANI', 'L', 'Bogor', '2012-04-08', 'Budha', 'Jl. Tol 4', '', 'DeAktif', '2023-7-1',"
                  "  '-'),"
                  " ('S05', 'EKO', 'L', 'Cimahi', '2009-05-09', 'Islam', 'Jl. Baru 5', '', 'DeAktif', '2020-7-1', '-'),"
                  " ('S07', 'GITA', 'P', 'Subang', '2011-07-11', 'Islam', 'Jl. Ani 7', '', 'Aktif', '2022-7-1', '-');"
                  "INSERT INTO siswakelas (Kode, IdSiswa, Kelas, Kategori, Jenjang, Tapel) VALUES"
                  " ('20242025S01', 'S01', 'VII-A', '01', '-', '2024/2025'),"
                  " ('20242025S02', 'S02', 'VII-A', '02', '-', '2024/2025'),"
                  " ('20242025S03', 'S03', 'VII-B', NULL, '-', '2024/2025'),"
                  " ('20242025S04', 'S04', 'VII-A', NULL, '-', '2024/2025'),"
                  " ('20242025S05', 'S05', 'IX Lulus', NULL, '-', '2024/2025'),"
                  " ('20232024S01', 'S01', 'VI-A', NULL, '-', '2023/2024'),"
                  " ('20232024S03', 'S03', 'VII-A', NULL, '-', '2023/2024'),"
                  " ('20232024S07', 'S07', 'DO', NULL, '-', '2023/2024');");
  }
  void TearDown() override {
    if (IsWindow(gFormSiswaWindow)) WinDestroyWindow(gFormSiswaWindow);
    if (IsWindow(gForm2Window)) WinDestroyWindow(gForm2Window);
    delete area_;
    gMdiClient = 0;
    gSchoolName.clear();
    gSchoolAddress.clear();
    for (const char* v : {"FIN_PLUGIN_RECORD", "FIN_PLUGIN_RECORD_INTS"}) unsetenv(v);
    sqlite3_close(gDb);
    gDb = nullptr;
  }

  Hwnd Open() {
    const std::intptr_t w = FORM2_Show(gMdiClient, 1, 0);
    EXPECT_TRUE(IsWindow(w));
    return w;
  }
  static std::vector<std::string> Columns() {
    std::vector<std::string> out;
    for (int c = 0; c < LvGetColumnCount(gForm2List); ++c) out.push_back(LvGetColumnText(gForm2List, c));
    return out;
  }
  // Column `col` of every row of `list` (the newest window's list unless given).
  static std::vector<std::string> Column(int col, Hwnd list = gForm2List) {
    std::vector<std::string> out;
    for (int r = 0; r < LvGetItemCount(list); ++r) out.push_back(LvGetItemText(list, r, col));
    return out;
  }
  static std::vector<std::string> Ids(Hwnd list = gForm2List) { return Column(0, list); }
  static std::vector<std::string> ComboItems() {
    std::vector<std::string> out;
    for (int i = 0; i < CbGetCount(gForm2ClassCombo); ++i) out.push_back(CbGetItemText(gForm2ClassCombo, i));
    return out;
  }
  // The operator picks a class: the item chosen with the keyboard, as the combo reports a choice.
  static void ChooseClass(const std::string& kelas) {
    auto* combo = qobject_cast<QComboBox*>(WinWidget(gForm2ClassCombo));
    ASSERT_NE(combo, nullptr);
    const int target = CbFindStringExact(gForm2ClassCombo, -1, kelas);
    ASSERT_GE(target, 0) << kelas;
    combo->setFocus();
    // Step to the item before (or after) the target without a choice, then one key onto it.
    if (target > 0) {
      CbSetCurSel(gForm2ClassCombo, target - 1);
      QTest::keyClick(combo, Qt::Key_Down);
    } else {
      CbSetCurSel(gForm2ClassCombo, target + 1);
      QTest::keyClick(combo, Qt::Key_Up);
    }
    ASSERT_EQ(CtlGetText(gForm2ClassCombo), kelas);
  }
  static void Search(const std::string& text) {
    CtlSetText(gForm2SearchEdit, text);
    QTest::keyClick(WinWidget(gForm2SearchEdit), Qt::Key_Return);
  }
  // The row of `id` in `list` (the newest window's list unless given); -1 when none.
  static int RowOf(const std::string& id, Hwnd list = gForm2List) { return fintest::RowWithText(list, id); }
  void Install(const std::string& name) {
    std::filesystem::copy_file(std::string(FIN_BINARY_DIR) + "/tests/plugins/libfin_plugin_recorder.so",
                               ProgramFile(name), std::filesystem::copy_options::overwrite_existing);
    setenv("FIN_PLUGIN_RECORD", WorkFile("record.txt").c_str(), 1);
  }

  QMdiArea* area_ = nullptr;
};

// ------------------------------------------------------------------------------------------------------------------
TEST_F(StudentListTest, OpensAsAMaximisedMdiChildWithItsControls) {
  const Hwnd w = Open();
  EXPECT_EQ(w, gForm2Window);
  EXPECT_EQ(WinKindOf(w), WIN_MDI_CHILD);
  EXPECT_EQ(WinGetClassName(w), "FORM_FINANCE_FORM2_CLASS");
  EXPECT_EQ(WinGetWindowText(w), "Data Siswa");
  EXPECT_EQ(WinGetDlgCtrlID(w), 107);
  EXPECT_TRUE(WinIsZoomed(w));

  struct Ctl {
    Hwnd window;
    int id;
    const char* cls;
    const char* text;
  } controls[] = {
      {gForm2CariLabel, 1000, "Static", "Cari"},       {gForm2SearchEdit, 1001, "Edit", ""},
      {gForm2KelasLabel, 1002, "Static", "Kelas"},     {gForm2ClassCombo, 1003, "ComboBox", "VII-A"},
      {gForm2List, 1004, "SysListView32", ""},         {gForm2Rebar, 5000, "ReBarWindow32", ""},
      {gForm2Toolbar, 5100, "ToolbarWindow32", ""},
  };
  for (const Ctl& c : controls) {
    SCOPED_TRACE(c.id);
    ASSERT_TRUE(IsWindow(c.window));
    EXPECT_EQ(WinGetDlgCtrlID(c.window), c.id);
    EXPECT_EQ(WinGetClassName(c.window), c.cls);
    EXPECT_EQ(CtlGetText(c.window), c.text);
  }
  const WinRect list = WinGetWindowRect(gForm2List);
  EXPECT_EQ(list.left, 0);
  EXPECT_EQ(list.top, FrmScaleY(56));
  EXPECT_EQ(WinGetWindowRect(gForm2SearchEdit).left, FrmScaleX(40));
  EXPECT_EQ(WinGetWindowRect(gForm2ClassCombo).left, FrmScaleX(310));

  // The toolbar: ten buttons and one separator, each with its tip.
  EXPECT_EQ(TbGetButtonCount(gForm2Toolbar), 11);
  const std::vector<std::pair<int, std::string>> tips = {
      {5101, "Tambah Data Siswa Baru"},
      {5102, "Edit / Ubah Data Siswa"},
      {5103, "Hapus Item Data Siswa"},
      {5104, "Export Ke Excel"},
      {5105, "Cetak Ke Broswer"},
      {5106, "Cetak Kartu Tanda Pelajar"},
      {5107, "Mutasi Siswa (Naik Kelas atau Lulus)"},
      {5108, "Mutasi Kelas"},
      {5109, "Import Data Dari Excel"},
      {5110, "Refresh / membaca ulang data siswa dari database"},
  };
  for (const auto& [id, tip] : tips) EXPECT_EQ(TbGetButtonTip(gForm2Toolbar, id), tip) << id;
  EXPECT_EQ(WinGetFocus(), gForm2ClassCombo);

  WinDestroyWindow(w);
  EXPECT_EQ(gForm2Window, 0);
  // The loaders are safe once the window is gone.
  FORM2_LoadListByClass();
  FORM2_Search();
  FORM2_Refresh();
}

TEST_F(StudentListTest, OpeningListsTheClassMembersOfTheWorkingYearInTheShortLayout) {
  gListRowCount = 9;
  Open();
  // The working year's classes without the graduates' ('DO' of another year is not offered).
  EXPECT_EQ(ComboItems(), (std::vector<std::string>{"VII-A", "VII-B"}));
  EXPECT_EQ(CtlGetText(gForm2ClassCombo), "VII-A");
  EXPECT_EQ(Columns(), kShortColumns);
  // S03, in VII-A last year and in VII-B now, is not listed; S04 is listed whatever its status.
  EXPECT_EQ(Ids(), (std::vector<std::string>{"S01", "S02", "S04"}));
  EXPECT_EQ(gListRowCount, 3);
  EXPECT_EQ(gTargetListView, gForm2List);
  const int r = RowOf("S01");
  const std::vector<std::string> first = {"S01",   "ANI",      "P",         "Bandung", "2012-01-05",
                                          "Islam", "Jl. Dago 1", "Aktif", "2023-7-1", "ketua kelas"};
  for (int c = 0; c < 10; ++c) EXPECT_EQ(LvGetItemText(gForm2List, r, c), first[static_cast<std::size_t>(c)]) << c;
}

TEST_F(StudentListTest, ClassChangeListsTheWorkingYearsMembersInTheFullLayout) {
  Open();
  ChooseClass("VII-B");
  EXPECT_EQ(Columns(), kFullColumns);
  EXPECT_EQ(Ids(), (std::vector<std::string>{"S03"}));
  EXPECT_EQ(Column(9), (std::vector<std::string>{"VII-B"}));
  EXPECT_EQ(Column(11), (std::vector<std::string>{"pindahan"}));
  EXPECT_EQ(gListRowCount, 4);   // counts on from the opening load

  ChooseClass("VII-A");
  EXPECT_EQ(Ids(), (std::vector<std::string>{"S01", "S02", "S04"}));
  EXPECT_EQ(Column(10), (std::vector<std::string>{"01", "02", ""}));

  // The loader the class move and the promotion call.
  fintest::Exec(gDb, "UPDATE siswakelas SET Kelas='VII-B' WHERE Kode='20242025S02'");
  FORM2_LoadListByClass();
  EXPECT_EQ(Ids(), (std::vector<std::string>{"S01", "S04"}));
}

// S01 had another category last year: every load shows the category of the row it lists, on the screen and in the
// export.
TEST_F(StudentListTest, KategoriIsTheCategoryOfTheListedYearsRow) {
  fintest::Exec(gDb, "UPDATE siswakelas SET Kategori='09' WHERE Kode='20232024S01'");
  Install("libtablepage.so");
  Open();
  const std::pair<const char*, std::function<void()>> loads[] = {
      {"class change", [] {
         ChooseClass("VII-B");
         ChooseClass("VII-A");
       }},
      {"refresh", [] { TbClickButton(gForm2Toolbar, gForm2RefreshButtonId); }},
      {"search", [] { Search("ANI"); }},
  };
  for (const auto& [name, load] : loads) {
    SCOPED_TRACE(name);
    load();
    ASSERT_EQ(Columns(), kFullColumns);
    const int r = RowOf("S01");
    ASSERT_GE(r, 0);
    EXPECT_EQ(LvGetItemText(gForm2List, r, 9), "VII-A");
    EXPECT_EQ(LvGetItemText(gForm2List, r, 10), "01");
  }
  TbClickButton(gForm2Toolbar, gForm2BrowserButtonId);
  EXPECT_EQ(fintest::ReadFile(WorkFile("record.txt")),
            "LAPORAN DATA SISWA;SD Harapan;Jl. Merdeka 5;llllllllllll\n"
            "ID;NAMA;LP;TMPLAHIR;TGLLAHIR;AGAMA;ALAMAT;STATUS;TGLMASUK;KELAS;KATEGORI;KET\n"
            "S01,ANI,P,Bandung,2012-01-05,Islam,Jl. Dago 1,Aktif,2023-7-1,VII-A,01,ketua kelas\n");
}

TEST_F(StudentListTest, SearchListsActiveStudentsOfTheWorkingYear) {
  Open();
  struct Case {
    const char* text;
    std::vector<std::string> ids;
  } cases[] = {
      // Name of S01, once; S04 is not active; S07 (address) has no class row this year.
      {"ANI", {"S01"}},
      {"garut", {"S03"}},                    // place of birth, without regard to case
      {"VII-B", {"S03"}},                    // class
      {"VII-A", {"S01", "S02"}},             // S03 was in VII-A last year only
      {"Kristen", {"S02"}},                  // religion
      {"S0", {"S01", "S02", "S03"}},         // id: every active student of the year once
      {"", {"S01", "S02", "S03"}},
      {"x' or '1'='1", {}},                  // an apostrophe is searched for, never widens the search
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Search(c.text);
    std::vector<std::string> ids = Ids(), want = c.ids;
    std::sort(ids.begin(), ids.end());
    std::sort(want.begin(), want.end());
    EXPECT_EQ(ids, want);
    if (!want.empty()) {
      EXPECT_EQ(Columns(), kFullColumns);
    }
    EXPECT_EQ(CtlGetText(gForm2ClassCombo), "VII-A");   // the combo stays
  }
  // A name that holds an apostrophe is found.
  fintest::Exec(gDb, "INSERT INTO siswa (Id, Nama, Status) VALUES ('S08', 'D''ARCY', 'Aktif');"
                     "INSERT INTO siswakelas (IdSiswa, Kelas, Tapel) VALUES ('S08', 'VII-B', '2024/2025');");
  Search("D'AR");
  EXPECT_EQ(Ids(), (std::vector<std::string>{"S08"}));
  EXPECT_EQ(LvGetItemText(gForm2List, 0, 1), "D'ARCY");

  // Only Enter searches.
  CtlSetText(gForm2SearchEdit, "GITA");
  QTest::keyClick(WinWidget(gForm2SearchEdit), Qt::Key_A);
  EXPECT_EQ(Ids(), (std::vector<std::string>{"S08"}));
  // Names from the record window and the import are stored with "`" in place of "'": typed with "'", they are found.
  fintest::Exec(gDb, "INSERT INTO siswa (Id, Nama, Alamat, Status) VALUES ('S09', 'O`NEIL', 'Jl. Jum`at 1', 'Aktif');"
                     "INSERT INTO siswakelas (IdSiswa, Kelas, Tapel) VALUES ('S09', 'VII-B', '2024/2025');");
  for (const char* text : {"O'NEIL", "o'neil", "Jum'at", "O`NEIL"}) {
    SCOPED_TRACE(text);
    Search(text);
    EXPECT_EQ(Ids(), (std::vector<std::string>{"S09"}));
  }
}

TEST_F(StudentListTest, RefreshOffersEveryClassAndKeepsTheChosenOne) {
  Open();
  ChooseClass("VII-A");   // the working year's members only
  gListRowCount = 7;
  TbClickButton(gForm2Toolbar, gForm2RefreshButtonId);
  EXPECT_EQ(ComboItems(), (std::vector<std::string>{"IX Lulus", "VII-A", "VII-B"}));
  EXPECT_EQ(CtlGetText(gForm2ClassCombo), "VII-A");
  EXPECT_EQ(Columns(), kFullColumns);
  EXPECT_EQ(Ids(), (std::vector<std::string>{"S01", "S02", "S04"}));   // the working year's members
  EXPECT_EQ(gListRowCount, 3);

  // A class that is gone: no class chosen, an empty list without columns.
  ChooseClass("VII-B");
  fintest::Exec(gDb, "DELETE FROM siswakelas WHERE Kelas='VII-B'");
  TbClickButton(gForm2Toolbar, gForm2RefreshButtonId);
  EXPECT_EQ(CbGetCurSel(gForm2ClassCombo), CB_ERR);
  EXPECT_EQ(LvGetItemCount(gForm2List), 0);
  EXPECT_EQ(LvGetColumnCount(gForm2List), 0);
}

TEST_F(StudentListTest, YearWithoutClassesGivesAnEmptyComboAndList) {
  gTapel = "2025/2026";
  Open();
  EXPECT_EQ(CbGetCount(gForm2ClassCombo), 0);
  EXPECT_EQ(LvGetItemCount(gForm2List), 0);
  EXPECT_EQ(LvGetColumnCount(gForm2List), 0);
}

TEST_F(StudentListTest, DeleteRemovesTheTickedStudentsOnly) {
  fintest::Exec(gDb, "INSERT INTO siswa (Id, Nama, Status) VALUES ('S99''', 'ZED', 'Aktif'), ('S99', 'ZOE', 'Aktif');"
                     "INSERT INTO siswakelas (IdSiswa, Kelas, Tapel) VALUES ('S99''', 'VII-A', '2024/2025'),"
                     " ('S99', 'VII-A', '2024/2025');"
                     "INSERT INTO detail_account (id_account, id_siswa, jml_pembayaran) VALUES ('A1', 'S02', 5);"
                     "INSERT INTO transaksi (id, siswaid, masuk) VALUES ('T1', 'S02', 5);");
  Open();
  ASSERT_EQ(Ids(), (std::vector<std::string>{"S01", "S02", "S04", "S99", "S99'"}));
  LvSetCheck(gForm2List, RowOf("S02"), 1);
  LvSetCheck(gForm2List, RowOf("S99'"), 1);
  LvSelectItem(gForm2List, RowOf("S01"));   // selected only: stays
  ExpectMsgBox(kDeleteQuestion, "Confirm Delete", IDYES, MB_YESNO | MB_ICONQUESTION);
  TbClickButton(gForm2Toolbar, gForm2DeleteButtonId);
  EXPECT_EQ(fintest::Query(gDb, "SELECT Id FROM siswa ORDER BY Id"),
            (Rows{{"S01"}, {"S03"}, {"S04"}, {"S05"}, {"S07"}, {"S99"}}));
  // Only the siswa rows go: class rows, billing and payments stay.
  EXPECT_EQ(fintest::Query(gDb, "SELECT count(*) FROM siswakelas WHERE IdSiswa IN ('S02', 'S99''')"), (Rows{{"2"}}));
  EXPECT_EQ(fintest::Query(gDb, "SELECT count(*) FROM detail_account"), (Rows{{"1"}}));
  EXPECT_EQ(fintest::Query(gDb, "SELECT count(*) FROM transaksi"), (Rows{{"1"}}));
  // Reloaded for the class in the working year.
  EXPECT_EQ(Columns(), kFullColumns);
  EXPECT_EQ(Ids(), (std::vector<std::string>{"S01", "S04", "S99"}));
}

TEST_F(StudentListTest, EachListWorksOnItsOwnControls) {
  const Hwnd older = Open();
  ChooseClass("VII-B");
  const Hwnd newer = Open();
  ASSERT_NE(older, newer);
  const Hwnd olderList = WinGetDlgItem(older, gForm2ListId), newerList = WinGetDlgItem(newer, gForm2ListId);
  const Hwnd olderToolbar = WinGetDlgItem(WinGetDlgItem(older, gForm2RebarId), gForm2ToolbarId);
  ASSERT_EQ(Ids(olderList), (std::vector<std::string>{"S03"}));
  ASSERT_EQ(Ids(newerList), (std::vector<std::string>{"S01", "S02", "S04"}));

  // Edit from the older window: the record window shows the student marked there.
  LvSelectItem(olderList, 0);
  LvSelectItem(newerList, RowOf("S02", newerList));
  std::string shown;
  OnModal([&shown](QWidget*) {
    shown = CtlGetText(gFormSiswaIdEdit);
    FrmClose(gFormSiswaWindow, 0);
  });
  TbClickButton(olderToolbar, gForm2EditButtonId);
  EXPECT_EQ(shown, "S03");

  // Delete in the older window removes the student ticked there, and reloads that window's class.
  LvSetCheck(olderList, 0, 1);
  LvSetCheck(newerList, RowOf("S02", newerList), 1);
  ExpectMsgBox(kDeleteQuestion, "Confirm Delete", IDYES, MB_YESNO | MB_ICONQUESTION);
  TbClickButton(olderToolbar, gForm2DeleteButtonId);
  EXPECT_EQ(fintest::Query(gDb, "SELECT Id FROM siswa WHERE Id IN ('S02', 'S03') ORDER BY Id"), (Rows{{"S02"}}));
  EXPECT_TRUE(Ids(olderList).empty());
  EXPECT_EQ(Ids(newerList), (std::vector<std::string>{"S01", "S02", "S04"}));

  // Enter in the older window's search edit fills the older list.
  const Hwnd olderSearch = WinGetDlgItem(older, gForm2SearchEditId);
  CtlSetText(olderSearch, "BUDI");
  QTest::keyClick(WinWidget(olderSearch), Qt::Key_Return);
  EXPECT_EQ(Ids(olderList), (std::vector<std::string>{"S02"}));
  EXPECT_EQ(Ids(newerList), (std::vector<std::string>{"S01", "S02", "S04"}));
  for (Hwnd w : {older, newer}) WinDestroyWindow(w);
}

TEST_F(StudentListTest, AnsweringNoDeletesNothingButReloadsTheWorkingYear) {
  Open();
  LvSetCheck(gForm2List, RowOf("S02"), 1);
  ExpectMsgBox(kDeleteQuestion, "Confirm Delete", IDNO, MB_YESNO | MB_ICONQUESTION);
  TbClickButton(gForm2Toolbar, gForm2DeleteButtonId);
  EXPECT_EQ(fintest::Query(gDb, "SELECT count(*) FROM siswa"), (Rows{{"6"}}));
  EXPECT_EQ(Ids(), (std::vector<std::string>{"S01", "S02", "S04"}));
}

TEST_F(StudentListTest, FailingDeleteGoesOnWithTheNextRow) {
  Open();
  LvSetCheck(gForm2List, RowOf("S01"), 1);
  LvSetCheck(gForm2List, RowOf("S02"), 1);
  fintest::Exec(gDb, "CREATE TRIGGER keep_s01 BEFORE DELETE ON siswa WHEN OLD.Id='S01'"
                     " BEGIN SELECT RAISE(ABORT, 'S01 dijaga'); END;");
  ExpectMsgBox(kDeleteQuestion, "Confirm Delete", IDYES);
  ExpectMsgBox("SQL error: S01 dijaga", "Info", IDOK, MB_OK);
  TbClickButton(gForm2Toolbar, gForm2DeleteButtonId);
  EXPECT_EQ(fintest::Query(gDb, "SELECT Id FROM siswa WHERE Id IN ('S01', 'S02')"), (Rows{{"S01"}}));
}

TEST_F(StudentListTest, FailingStatementsShowTheirErrorAndLeaveTheListAsFilled) {
  fintest::Exec(gDb, "DROP TABLE siswa");
  ExpectMsgBox("SQL error: no such table: siswa", "Info", IDOK, MB_OK);
  Open();
  EXPECT_EQ(ComboItems(), (std::vector<std::string>{"VII-A", "VII-B"}));
  EXPECT_EQ(LvGetItemCount(gForm2List), 0);
}

TEST_F(StudentListTest, PageExportHandsTheListToThePlugin) {
  Install("libtablepage.so");
  Open();
  ChooseClass("VII-B");
  TbClickButton(gForm2Toolbar, gForm2BrowserButtonId);
  EXPECT_EQ(fintest::ReadFile(WorkFile("record.txt")),
            "LAPORAN DATA SISWA;SD Harapan;Jl. Merdeka 5;llllllllllll\n"
            "ID;NAMA;LP;TMPLAHIR;TGLLAHIR;AGAMA;ALAMAT;STATUS;TGLMASUK;KELAS;KATEGORI;KET\n"
            "S03,CICI,P,Garut,2011-03-07,Hindu,Jl. Asia 3,Aktif,2022-7-1,VII-B,,pindahan\n");
}

TEST_F(StudentListTest, SheetExportHandsTheListToThePlugin) {
  Install("libtablesheet.so");
  setenv("FIN_PLUGIN_RECORD_INTS", "1", 1);
  Open();
  ChooseClass("VII-B");
  gTargetListView = 0;
  TbClickButton(gForm2Toolbar, gForm2ExcelButtonId);
  EXPECT_EQ(gTargetListView, gForm2List);
  EXPECT_EQ(fintest::ReadFile(WorkFile("record.txt")),
            "1\n12\nID,NAMA,LP,TMPLAHIR,TGLLAHIR,AGAMA,ALAMAT,STATUS,TGLMASUK,KELAS,KATEGORI,KET;"
            "S03,CICI,P,Garut,2011-03-07,Hindu,Jl. Asia 3,Aktif,2022-7-1,VII-B,,pindahan\n");
}

TEST_F(StudentListTest, CardsOfTheListedStudents) {
  Open();
  TbClickButton(gForm2Toolbar, gForm2CardsButtonId);
  ASSERT_EQ(opened(), (std::vector<std::string>{ProgramFile("Kartu.html")}));
  const std::string page = fintest::ReadFile(ProgramFile("Kartu.html"));
  for (const char* id : {"S01", "S02", "S04"})
    EXPECT_NE(page.find(std::string("image/") + id + ".bmp"), std::string::npos) << id;
  EXPECT_NE(page.find("Bandung, 2012-01-05"), std::string::npos);
}

TEST_F(StudentListTest, CardsThatCannotBeWrittenOrOpenedAreToldOf) {
  Open();
  const std::string page = ProgramFile("Kartu.html");
  const struct {
    const char* name;
    bool folderInTheWay;   // a folder named Kartu.html: the page cannot be written
    std::string told;
    std::vector<std::string> opened;
  } cases[] = {
      {"no program opens the page", false,
       "Tidak ada program yang dapat dijalankan untuk membuka " + page + "..", {page}},
      {"a folder in the page's way", true, "Halaman " + page + " tidak dapat disimpan..", {page}},
  };
  scripted().SetOpenResult(false);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.folderInTheWay) {
      std::filesystem::remove(page);
      std::filesystem::create_directory(page);
    }
    ExpectMsgBox(c.told, "Info");
    TbClickButton(gForm2Toolbar, gForm2CardsButtonId);
    VerifySeams();
    EXPECT_EQ(opened(), c.opened);   // the page that was not written is not opened
  }
}

TEST_F(StudentListTest, AddAndEditOpenTheRecordWindowModally) {
  Open();
  struct Case {
    int button;
    int editMode;
  } cases[] = {{5101, 0}, {5102, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    bool seen = false;
    OnModal([&](QWidget*) {
      seen = IsWindow(gFormSiswaWindow);
      EXPECT_EQ(WinGetWindowText(gFormSiswaWindow), "Siswa Record..");
      EXPECT_EQ(gEditMode, c.editMode);
      EXPECT_FALSE(WinIsWindowEnabled(gForm2Window));   // the list waits
      FrmClose(gFormSiswaWindow, 0);
    });
    TbClickButton(gForm2Toolbar, c.button);
    EXPECT_TRUE(seen);
    EXPECT_EQ(gFormSiswaWindow, 0);
  }
  EXPECT_EQ(Ids(), (std::vector<std::string>{"S01", "S02", "S04"}));   // not reloaded
}

TEST_F(StudentListTest, ImportOpensInStudentMode) {
  Open();
  bool seen = false;
  OnModal([&](QWidget*) {
    seen = IsWindow(gFormImportWindow);
    EXPECT_EQ(gFormMode, "Siswa");
    FrmClose(gFormImportWindow, 0);
  });
  TbClickButton(gForm2Toolbar, gForm2ImportButtonId);
  EXPECT_TRUE(seen);
}

TEST_F(StudentListTest, PromotionAndClassMoveOpenModallyOverTheList) {
  Open();
  struct Case {
    int button;
    std::vector<std::string> captions;   // the promotion without students to promote hands over to the import
  } cases[] = {
      {5107, {"Kenaikan Kelas atau Mutasi", "Copy Paste Data"}},
      {5108, {"Form Mutasi Siswa "}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    std::string caption;
    OnModal([&](QWidget* form) {
      const Hwnd h = WinHandleOfWidget(form);
      caption = WinGetWindowText(h);
      FrmClose(h, 0);
    });
    TbClickButton(gForm2Toolbar, c.button);
    EXPECT_NE(std::find(c.captions.begin(), c.captions.end(), caption), c.captions.end()) << caption;
    EXPECT_TRUE(IsWindow(gForm2Window));
  }
}

TEST_F(StudentListTest, Statements) {
  EXPECT_EQ(FORM2_ClassesSql("2024/2025", false),
            "select Kelas from siswakelas WHERE Tapel='2024/2025' and instr(Kelas,'Lulus')<1 Group By Kelas");
  EXPECT_EQ(FORM2_ClassesSql("2024/2025", true), "select Kelas from siswakelas WHERE Tapel='2024/2025' Group By Kelas");
  EXPECT_EQ(FORM2_ByClassSql("O'A", "2024/'25", false),
            "select Id, Nama, LP, TmpLahir, TglLahir, Agama, Alamat, Status, TglMasuk, Ket from siswa join siswakelas "
            "on siswakelas.idsiswa=siswa.id WHERE Kelas='O''A' and Tapel='2024/''25' Order By Id");
  const std::string full =
      "select Id, Nama, LP, TmpLahir, TglLahir, Agama, Alamat, Status, TglMasuk, Kelas, siswakelas.Kategori As "
      "Kategori, Ket from siswa join siswakelas on siswakelas.idsiswa=siswa.id WHERE ";
  EXPECT_EQ(FORM2_ByClassSql("O'A", "2024/2025"), full + "Kelas='O''A' and Tapel='2024/2025' Order By Id");
  EXPECT_EQ(FORM2_ActiveByClassSql("O'A", "2024/2025"),
            full + "Status='Aktif' and Kelas='O''A' and Tapel='2024/2025' Order By Id");
  EXPECT_EQ(FORM2_DeleteSql("a'b"), "Delete From Siswa Where Id='a''b'");
  EXPECT_EQ(FORM2_SearchSql("Ani", "2024/2025"),
            full + "Status='Aktif' and Tapel='2024/2025' and (Id Like '%Ani%' or Nama Like '%Ani%' or TmpLahir "
                   "Like '%Ani%' or Agama Like '%Ani%' or Alamat Like '%Ani%' or Kelas Like '%Ani%')");
}

}  // namespace
