// The payment list FORM13 driven as an operator would: the payment rows of the report month, delete with its
// question (the last item of a receipt with its discount and savings withdrawal), reload, exports, the new-payment and
// revision commands, and the reprint of a stored receipt (one stamp and one student).
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <QMdiArea>
#include <QTableView>
#include <QTest>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/globals.h"
#include "common/globals.h"
#include "common/numbers_words.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/window_system.h"
#include "payments/payment_globals.h"
#include "payments/payment_list_window.h"
#include "payments/payment_revision_window.h"
#include "support/fixtures.h"
#include "support/other_program.h"
#include "support/read_denied.h"
#include "support/seams_fixture.h"
#include "support/operator.h"

using fintest::ListRows;

namespace {

using Rows = std::vector<std::vector<std::string>>;

const std::vector<std::string> kCaptions = {"ID",     "TGL",    "SISWAID", "NAMASISWA", "KELASSISWA",
                                            "ACCTID", "URAIAN", "MASUK",   "PETUGAS"};
// Receipts of March 2025 in school year 2024/2025.
const std::string kR1 = "2024202520250305101500";   // Ani: two fees and a discount
const std::string kR2 = "2024202520250310090000";   // Budi: items 1, 2 and 10
const std::string kR3 = "2024202520250312080000";   // Ani: one fee paid partly from savings

std::vector<std::string> ReadLines(const std::string& path) {
  std::istringstream in(fintest::ReadFile(path));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class PaymentListTest : public fintest::SeamsTest {
 protected:
  PaymentListTest() {
    gDb = fintest::CreateDatabase(WorkFile("keuangan.db3"));
    gTapel = "2024/2025";
    gReportMonth = 3;
    gEditMode = -1;
    gStrukFont = "Courier New";
    gStrukLineSpacing = 150;
    gSchoolName = "SD Harapan";
    gSchoolAddress = "Jl. Merdeka 5";
    gSchoolPhone = "022-123";
    gSchoolEmail = "sd@harapan.id";
    area_ = new QMdiArea;
    area_->resize(1300, 850);
    gMdiClient = WinHandle(area_);
    WinWatchWindow(gMdiClient);
    area_->show();
    holder_ = new QWidget;
    gStatusBar = WinCreateControl(0, "msctls_statusbar32", "", WS_CHILD | WS_VISIBLE, 0, 0, 700, 20,
                                  WinHandle(holder_), 4999);
    SbSetParts(gStatusBar, {60, 120, 180, 240, 300, 360, -1});
    SbSetText(gStatusBar, 1, "kasir", 0);
    SbSetText(gStatusBar, 5, "10:15:30", 0);
    setenv("FIN_PLUGIN_RECORD", WorkFile("record.txt").c_str(), 1);
    fintest::Exec(
        gDb,
        "INSERT INTO siswa (Id, Nama) VALUES ('S1','Ani'),('S2','Budi'),('S3','Citra');"
        "INSERT INTO siswakelas (IdSiswa, Kelas, Tapel) VALUES ('S1','TK A','2024/2025'),('S2','VII A','2024/2025'),"
        " ('S1','Play Group','2023/2024'),('S3','TK B','2023/2024');"
        "INSERT INTO transaksi (id,tgl,uraian,acctid,siswaid,masuk,keluar,petugas,sts,jenjang,Ref) VALUES"
        " ('" + kR1 + "1','2025-03-05','SPP Juli','BR-1','S1',150000,0,'ani','p','-','411'),"
        " ('" + kR1 + "2','2025-03-05','Uang Buku','BR-2','S1',100000,0,'ani','p','-','412'),"
        " ('" + kR1 + "3','2025-03-05','Potongan Pembayaran','Disc','S1',-5000,0,'ani','p','-','disc-pembayaran'),"
        " ('" + kR2 + "1','2025-03-10','SPP Juli','BR-3','S2',200000,0,'budi','p','-','411'),"
        " ('" + kR2 + "2','2025-03-10','SPP Agustus','BR-3','S2',200000,0,'budi','p','-','411'),"
        " ('" + kR2 + "10','2025-03-10','SPP April','BR-3','S2',200000,0,'budi','p','-','411'),"
        " ('" + kR3 + "1','2025-03-31','Uang Gedung','BR-4','S1',300000,0,'ani','p','-','413'),"
        " ('" + kR3 + "3','2025-03-31','02-Penarikan utk pembayaran','Tabungan','S1',0,120000,'ani','t','-',NULL),"
        // Outside the month, or not a payment row.
        " ('2024202520250228080000" "1','2025-02-28','SPP Juni','BR-1','S1',150000,0,'ani','p','-','411'),"
        " ('2023202420240305080000" "1','2024-03-05','SPP Lama','BR-0','S1',90000,0,'ani','p','-','411'),"
        " ('2024202520250401000000" "1','2025-04-01','SPP Mei','BR-1','S1',150000,0,'ani','p','-','411'),"
        " ('INC20250306080000','2025-03-06','Sumbangan','-','-',50000,0,'ani','k','-','421'),"
        " ('2024202520240915080000" "1','2024-09-15','Seragam','BR-5','S3',75000,0,'ani','p','-','414');");
  }
  ~PaymentListTest() override {
    if (IsWindow(gFormRevisiWindow)) WinDestroyWindow(gFormRevisiWindow);
    if (IsWindow(gForm13Window)) WinDestroyWindow(gForm13Window);
    gStatusBar = 0;
    delete holder_;
    delete area_;
    gMdiClient = 0;
    gSchoolName.clear();
    gSchoolAddress.clear();
    gSchoolPhone.clear();
    gSchoolEmail.clear();
    gEditMode = 0;
    unsetenv("FIN_PLUGIN_RECORD");
    sqlite3_close(gDb);
    gDb = nullptr;
  }

  Hwnd Open() { return static_cast<Hwnd>(FORM13_Show(gMdiClient, 1, 0)); }
  static void Command(int id) { ASSERT_EQ(TbClickButton(gForm13Toolbar, id), 1); }
  void CommandModal(int id, std::function<void(Hwnd)> drive) {
    bool ran = false;
    OnModal([&](QWidget* w) {
      ran = true;
      drive(WinHandleOfWidget(w));
    });
    Command(id);
    EXPECT_TRUE(ran);
  }
  static std::vector<std::string> Ids(Hwnd list) {
    std::vector<std::string> ids;
    for (int r = 0; r < LvGetItemCount(list); ++r) ids.push_back(LvGetItemText(list, r, 0));
    return ids;
  }
  static int RowOf(const std::string& id) {
    for (int r = 0; r < LvGetItemCount(gForm13List); ++r)
      if (LvGetItemText(gForm13List, r, 0) == id) return r;
    return -1;
  }
  void Install(const std::string& built, const std::string& name) {
    std::filesystem::copy_file(std::string(FIN_BINARY_DIR) + "/" + built, ProgramFile(name),
                               std::filesystem::copy_options::overwrite_existing);
  }
  std::string One(const std::string& sql) {
    Rows r = fintest::Query(gDb, sql);
    return r.empty() || r[0].empty() ? "<none>" : r[0][0];
  }
  // The texts of the one reprinted page.
  std::vector<std::string> Reprint(const std::string& id) {
    LvSelectItem(gForm13List, RowOf(id));
    printed().Clear();
    Command(gForm13ReprintId);
    EXPECT_EQ(printed().Documents().size(), 1u);
    if (printed().Documents().size() != 1u) return {};
    return printed().Documents()[0].pages.at(0).Texts();
  }

  QMdiArea* area_ = nullptr;
  QWidget* holder_ = nullptr;
};

TEST_F(PaymentListTest, OpensOnThePaymentRowsOfTheReportMonth) {
  const Hwnd w = Open();
  ASSERT_TRUE(IsWindow(w));
  EXPECT_EQ(w, gForm13Window);
  EXPECT_EQ(WinKindOf(w), WIN_MDI_CHILD);
  EXPECT_EQ(WinGetClassName(w), "FORM_FINANCE_FORM13_CLASS");
  EXPECT_EQ(WinGetWindowText(w), "Data Pembayaran Siswa");
  EXPECT_EQ(WinGetDlgCtrlID(w), 103);
  EXPECT_TRUE(WinIsZoomed(w));
  EXPECT_EQ(WinWidget(w)->focusWidget(), WinWidget(gForm13List));
  std::vector<std::string> captions;
  for (int c = 0; c < LvGetColumnCount(gForm13List); ++c) captions.push_back(LvGetColumnText(gForm13List, c));
  EXPECT_EQ(captions, kCaptions);
  // Text order of ids: the row ending in "10" stands before the one ending in "2"; the discount row is listed, the
  // savings row of the payment, other months and other kinds of row are not.
  EXPECT_EQ(Ids(gForm13List), (std::vector<std::string>{kR1 + "1", kR1 + "2", kR1 + "3", kR2 + "1", kR2 + "10",
                                                          kR2 + "2", kR3 + "1"}));
  EXPECT_EQ(ListRows(gForm13List)[2], (std::vector<std::string>{kR1 + "3", "2025-03-05", "S1", "Ani", "TK A", "Disc",
                                                                "Potongan Pembayaran", "-5000", "ani"}));
  EXPECT_EQ(ListRows(gForm13List)[3][4], "VII A");
  const std::vector<std::pair<int, const char*>> tips = {
      {gForm13AddId, "Tambah Pembayaran Baru"},
      {gForm13EditId, "Edit / Ubah Data Pembayaran"},
      {gForm13DeleteId, "Hapus Item Data Pembayaran"},
      {gForm13ExcelId, "Export Ke Excel"},
      {gForm13PageId, "Cetak Ke Broswer"},
      {gForm13ReprintId, "Cetak Ulang Struk"},
      {gForm13RefreshId, "Refresh / membaca ulang Data Pembyaran dari database"}};
  for (auto [id, tip] : tips) EXPECT_EQ(TbGetButtonTip(gForm13Toolbar, id), tip);
  EXPECT_EQ(TbGetButtonCount(gForm13Toolbar), 8);   // and the separator
  // A second open shows the same list.
  EXPECT_EQ(Open(), w);
}

TEST_F(PaymentListTest, TheMonthFollowsTheReportMonthAndTheSchoolYear) {
  struct Case {
    int month;
    std::vector<std::string> ids;
    const char* kelas;   // of the first row
  } cases[] = {
      {9, {"2024202520240915080000" "1"}, ""},   // September of the first year; no class in 2024/2025
      {2, {"2024202520250228080000" "1"}, "TK A"},
      {4, {"2024202520250401000000" "1"}, "TK A"},
      {6, {}, ""},
  };
  Open();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.month);
    gReportMonth = c.month;
    Command(gForm13RefreshId);
    EXPECT_EQ(Ids(gForm13List), c.ids);
    if (c.ids.empty()) {
      EXPECT_EQ(LvGetColumnCount(gForm13List), 0);   // no row, no column
    } else {
      EXPECT_EQ(LvGetItemText(gForm13List, 0, 4), c.kelas);
    }
  }
  EXPECT_EQ(FORM13_ReportYear("2024/2025", 6), "2025");
  EXPECT_EQ(FORM13_ReportYear("2024/2025", 7), "2024");
  EXPECT_EQ(FORM13_ReportMonthText(3), "03");
  EXPECT_EQ(FORM13_ReportMonthText(11), "11");
  EXPECT_EQ(FORM13_MonthRangeSql("2024/2025", 3),
            "Tgl between '2025-03-01' and date('2025-03-01','start of month','+1 month','-1 day')");
}

TEST_F(PaymentListTest, ReloadOnlyOnTheRefreshCommand) {
  Open();
  fintest::Exec(gDb, "INSERT INTO transaksi (id,tgl,acctid,siswaid,masuk,sts) VALUES ('" + kR1 +
                         "9','2025-03-20','BR-9','S2',1,'p')");
  gReportMonth = 2;
  EXPECT_EQ(LvGetItemCount(gForm13List), 7);
  gReportMonth = 3;
  Command(gForm13RefreshId);
  EXPECT_EQ(LvGetItemCount(gForm13List), 8);
  EXPECT_EQ(LvGetColumnCount(gForm13List), 9);   // columns made again, not added
}

// The menu command brings back the one list, reading the month's rows as a new list would: a payment another desk
// saved since the list was opened is there, one it deleted is gone, and the list stays the one window.
TEST_F(PaymentListTest, TheMenuCommandBringsTheListBackWithWhatTheFileHoldsNow) {
  const Hwnd w = Open();
  ASSERT_EQ(LvGetItemCount(gForm13List), 7);
  LvSelectItem(gForm13List, RowOf(kR2 + "1"));
  {
    fintest::OtherProgram other(WorkFile("keuangan.db3"));
    ASSERT_EQ(other.Write("INSERT INTO transaksi (id,tgl,uraian,acctid,siswaid,masuk,keluar,petugas,sts,jenjang,Ref) "
                          "VALUES ('2024202520250320110000" "1','2025-03-20','Uang Buku','BR-2','S2',100000,0,'budi',"
                          "'p','-','412'); DELETE FROM transaksi WHERE Id='" + kR2 + "10'"),
              SQLITE_OK);
  }
  EXPECT_EQ(LvGetItemCount(gForm13List), 7);   // nothing reads the file before the command
  EXPECT_EQ(Open(), w);
  EXPECT_EQ(gForm13Window, w);
  EXPECT_EQ(Ids(gForm13List), (std::vector<std::string>{kR1 + "1", kR1 + "2", kR1 + "3", kR2 + "1", kR2 + "2",
                                                          kR3 + "1", "2024202520250320110000" "1"}));
  EXPECT_EQ(LvGetColumnCount(gForm13List), 9);
  EXPECT_EQ(ListRows(gForm13List)[6], (std::vector<std::string>{"2024202520250320110000" "1", "2025-03-20", "S2",
                                                                "Budi", "VII A", "BR-2", "Uang Buku", "100000",
                                                                "budi"}));
  EXPECT_EQ(LvGetSelectionMark(gForm13List), -1);   // as newly opened: no row marked
}

TEST_F(PaymentListTest, DeleteAsksAndRemovesOnlyTheMarkedRow) {
  Open();
  struct Case {
    const char* name;
    int answer;
    bool deleted;
  } cases[] = {{"No", IDNO, false}, {"Yes", IDYES, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int row = RowOf(kR1 + "2");
    LvSelectItem(gForm13List, RowOf(kR1 + "1"));
    LvSelectItem(gForm13List, row);   // several rows selected: the mark decides
    ExpectMsgBox(kForm13DeleteQuestion, "Confirm Delete", c.answer, MB_YESNO | MB_ICONQUESTION);
    Command(gForm13DeleteId);
    VerifySeams();
    EXPECT_EQ(One("select count(*) from transaksi where id='" + kR1 + "2'"), c.deleted ? "0" : "1");
    EXPECT_EQ(RowOf(kR1 + "2") < 0, c.deleted);
  }
  // The receipt's other rows, its discount included, stay and still group under the stamp.
  EXPECT_EQ(One("select count(*) from transaksi where substr(id,1,22)='" + kR1 + "'"), "2");
  EXPECT_EQ(LvGetItemCount(gForm13List), 6);
}

// The operator clicks a row and moves with the keyboard: the focus, the selection mark and the highlighted row move
// together, so that "Hapus" deletes the one row the operator sees highlighted.
TEST_F(PaymentListTest, KeysMoveTheHighlightWithTheMarkAndHapusDeletesTheHighlightedRow) {
  Open();
  auto* view = dynamic_cast<QTableView*>(WinWidget(gForm13List));
  ASSERT_NE(view, nullptr);
  const int last = LvGetItemCount(gForm13List) - 1;
  struct Case {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int row;   // where the keys lead from row 2
  } cases[] = {
      {"Ctrl+End", Qt::Key_End, Qt::ControlModifier, last},
      {"Ctrl+Home", Qt::Key_Home, Qt::ControlModifier, 0},
      {"Ctrl+Down", Qt::Key_Down, Qt::ControlModifier, 3},
      {"Ctrl+Up", Qt::Key_Up, Qt::ControlModifier, 1},
      {"Ctrl+PageDown", Qt::Key_PageDown, Qt::ControlModifier, last},
      {"End", Qt::Key_End, Qt::NoModifier, last},
      {"Home", Qt::Key_Home, Qt::NoModifier, 0},
      {"Down", Qt::Key_Down, Qt::NoModifier, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fintest::ClickListRow(gForm13List, 2);
    ASSERT_EQ(LvGetSelectionMark(gForm13List), 2);
    QTest::keyClick(view, c.key, c.modifiers);
    EXPECT_EQ(LvGetSelectionMark(gForm13List), c.row);
    EXPECT_EQ(view->currentIndex().row(), c.row);   // the focus
    EXPECT_EQ(LvGetSelectedCount(gForm13List), 1);
    EXPECT_EQ(LvIsSelected(gForm13List, c.row), 1);
  }
  // Home and End select the first and the last row also when the focus is on it already.
  fintest::ClickListRow(gForm13List, last);
  QTest::keyClick(view, Qt::Key_Space, Qt::ControlModifier);   // the highlight toggled off; the focus stays
  ASSERT_EQ(LvGetSelectedCount(gForm13List), 0);
  QTest::keyClick(view, Qt::Key_End);
  EXPECT_EQ(LvGetSelectedCount(gForm13List), 1);
  EXPECT_EQ(LvIsSelected(gForm13List, last), 1);
  EXPECT_EQ(LvGetSelectionMark(gForm13List), last);

  // "Hapus" after Ctrl+Home: the row highlighted goes, the row clicked before stays.
  fintest::ClickListRow(gForm13List, 2);
  QTest::keyClick(view, Qt::Key_Home, Qt::ControlModifier);
  ASSERT_EQ(LvGetItemText(gForm13List, 0, 0), kR1 + "1");
  ASSERT_EQ(LvGetSelectedCount(gForm13List), 1);
  ASSERT_EQ(LvIsSelected(gForm13List, 0), 1);
  ExpectMsgBox(kForm13DeleteQuestion, "Confirm Delete", IDYES, MB_YESNO | MB_ICONQUESTION);
  Command(gForm13DeleteId);
  VerifySeams();
  const std::string path = WorkFile("keuangan.db3");
  EXPECT_EQ(fintest::RowsInFile(path, "select count(*) from transaksi where id='" + kR1 + "1'"), (Rows{{"0"}}));
  EXPECT_EQ(fintest::RowsInFile(path, "select count(*) from transaksi where id='" + kR1 + "3'"), (Rows{{"1"}}));
}

TEST_F(PaymentListTest, DeleteWithoutAMarkedRowAsksNothingAndDeletesNothing) {
  fintest::Exec(gDb, "INSERT INTO transaksi (id, sts) VALUES ('', 't')");
  Open();
  Command(gForm13DeleteId);   // an unscripted question would fail the test
  EXPECT_EQ(One("select count(*) from transaksi"), "14");
}

TEST_F(PaymentListTest, DeleteLeavesOtherRowsThatShareTheId) {
  // A savings row that happens to carry the same id is not a payment row of the list (Budi's receipt keeps two other
  // items, so only the marked row goes).
  fintest::Exec(gDb, "INSERT INTO transaksi (id,acctid,siswaid,keluar,sts) VALUES ('" + kR2 +
                         "1','Tabungan','S2',5000,'t')");
  Open();
  LvSelectItem(gForm13List, RowOf(kR2 + "1"));
  ExpectMsgBox(kForm13DeleteQuestion, "Confirm Delete", IDYES);
  Command(gForm13DeleteId);
  EXPECT_EQ(fintest::Query(gDb, "select acctid, sts from transaksi where id='" + kR2 + "1'"),
            (Rows{{"Tabungan", "t"}}));
  EXPECT_LT(RowOf(kR2 + "1"), 0);
}

TEST_F(PaymentListTest, AFailedDeleteKeepsTheRow) {
  Open();
  fintest::Exec(gDb, "CREATE TRIGGER keep BEFORE DELETE ON transaksi BEGIN SELECT RAISE(ABORT, 'dikunci'); END;");
  LvSelectItem(gForm13List, 0);
  ExpectMsgBox(kForm13DeleteQuestion, "Confirm Delete", IDYES);
  ExpectMsgBox("SQL error: dikunci", "Info", IDOK, MB_OK);
  Command(gForm13DeleteId);
  EXPECT_EQ(LvGetItemCount(gForm13List), 7);
}

// Another program holding the file: the row stays in the list and in the file; the retry after the lock is gone
// removes it, also from the file once the program has closed it.
TEST_F(PaymentListTest, ADeleteBlockedByAnotherProgramKeepsTheRow) {
  using fintest::Obstacle;
  const std::string path = WorkFile("keuangan.db3");
  sqlite3_busy_timeout(gDb, 50);
  Open();
  int rows = LvGetItemCount(gForm13List);
  // Items of Budi's receipt of three: each goes alone.
  const std::pair<Obstacle, std::string> cases[] = {{Obstacle::kReadLock, kR2 + "1"},
                                                    {Obstacle::kWriteLock, kR2 + "10"}};
  for (const auto& [obstacle, id] : cases) {
    SCOPED_TRACE(static_cast<int>(obstacle));
    LvSelectItem(gForm13List, RowOf(id));
    const std::string inFile = "select count(*) from transaksi where id='" + id + "'";
    {
      fintest::OtherProgram other(path);
      other.hold(obstacle);
      ExpectMsgBox(kForm13DeleteQuestion, "Confirm Delete", IDYES);
      ExpectMsgBox("SQL error: database is locked", "Info", IDOK, MB_OK);
      Command(gForm13DeleteId);
      VerifySeams();
      EXPECT_TRUE(sqlite3_get_autocommit(gDb));
      EXPECT_EQ(LvGetItemCount(gForm13List), rows);
      EXPECT_GE(RowOf(id), 0);
      EXPECT_EQ(fintest::RowsInFile(path, inFile), (std::vector<std::vector<std::string>>{{"1"}}));
    }
    ExpectMsgBox(kForm13DeleteQuestion, "Confirm Delete", IDYES);
    Command(gForm13DeleteId);
    VerifySeams();
    EXPECT_EQ(LvGetItemCount(gForm13List), --rows);
    EXPECT_EQ(fintest::RowsInFile(path, inFile), (std::vector<std::vector<std::string>>{{"0"}}));
  }
  sqlite3_close(gDb);
  gDb = nullptr;
  EXPECT_EQ(fintest::RowsInFile(path, "select count(*) from transaksi where sts='p' and tgl like '2025-03%'"),
            (std::vector<std::vector<std::string>>{{std::to_string(rows)}}));
}

// The last item of a receipt takes the receipt's discount and savings withdrawal with it, in one go, and the question
// names them: the student gets back the savings that paid for items that no longer exist. An item of several goes
// alone, as does a discount row.
TEST_F(PaymentListTest, DeletingTheLastItemOfAReceiptTakesItsDiscountAndSavingsWithIt) {
  const std::string kR4 = "2024202520250314090000";   // Citra: one fee, a discount and savings
  fintest::Exec(gDb,
                "INSERT INTO siswakelas (IdSiswa, Kelas, Tapel) VALUES ('S3','TK B','2024/2025');"
                "INSERT INTO transaksi (id,tgl,uraian,acctid,siswaid,masuk,keluar,petugas,sts,jenjang,Ref) VALUES"
                " ('S3202409010800','2024-09-01','01-Setoran','Tabungan','S3',500000,0,'ani','-','-','1-1'),"
                " ('" + kR4 + "1','2025-03-14','Uang Gedung','BR-4','S3',700000,0,'ani','p','-','413'),"
                " ('" + kR4 + "2','2025-03-14','Potongan Pembayaran','Disc','S3',-25000,0,'ani','p','-',"
                "'disc-pembayaran'),"
                " ('" + kR4 + "3','2025-03-14','02-Penarikan utk pembayaran','Tabungan','S3',0,300000,'ani','t','-',"
                "NULL)");
  const std::string path = WorkFile("keuangan.db3");
  struct Case {
    const char* name;
    std::string id;          // the marked row
    std::string question;    // what is asked
    int answer;
    std::vector<std::string> gone;   // the rows no longer in the file (and in the list, where listed)
  } cases[] = {
      {"an item of several", kR1 + "1", kForm13DeleteQuestion, IDYES, {kR1 + "1"}},
      {"No keeps all", kR4 + "1",
       "Apakah anda yakin akan menghapus record ini? Record ini item terakhir dari struknya, maka potongan Rp.25.000 "
       "dan pengambilan tabungan Rp.300.000 (kembali ke saldo tabungan siswa) pada struk ini ikut dihapus..",
       IDNO, {}},
      {"the last item with a discount and savings", kR4 + "1",
       "Apakah anda yakin akan menghapus record ini? Record ini item terakhir dari struknya, maka potongan Rp.25.000 "
       "dan pengambilan tabungan Rp.300.000 (kembali ke saldo tabungan siswa) pada struk ini ikut dihapus..",
       IDYES, {kR4 + "1", kR4 + "2", kR4 + "3"}},
      {"the last item with savings only", kR3 + "1",
       "Apakah anda yakin akan menghapus record ini? Record ini item terakhir dari struknya, maka pengambilan "
       "tabungan Rp.120.000 (kembali ke saldo tabungan siswa) pada struk ini ikut dihapus..",
       IDYES, {kR3 + "1", kR3 + "3"}},
      {"the discount row alone", kR1 + "3", kForm13DeleteQuestion, IDYES, {kR1 + "3"}},
      {"then the last item without a discount", kR1 + "2", kForm13DeleteQuestion, IDYES, {kR1 + "2"}},
  };
  Open();
  int rowsInFile = std::stoi(One("select count(*) from transaksi"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int listed = LvGetItemCount(gForm13List);
    LvSelectItem(gForm13List, RowOf(c.id));
    ExpectMsgBox(c.question, "Confirm Delete", c.answer, MB_YESNO | MB_ICONQUESTION);
    Command(gForm13DeleteId);
    VerifySeams();
    rowsInFile -= static_cast<int>(c.gone.size());
    EXPECT_EQ(fintest::RowsInFile(path, "select count(*) from transaksi"),
              (Rows{{std::to_string(rowsInFile)}}));
    int listedGone = 0;
    for (const std::string& id : c.gone) {
      EXPECT_EQ(fintest::RowsInFile(path, "select count(*) from transaksi where id='" + id + "'"), (Rows{{"0"}}))
          << id;
      EXPECT_LT(RowOf(id), 0) << id;
      if (id != kR4 + "3" && id != kR3 + "3") ++listedGone;   // savings rows are not listed
    }
    EXPECT_EQ(LvGetItemCount(gForm13List), listed - listedGone);
  }
  // Citra's savings are whole again; Ani's withdrawal of 120000 is back too.
  EXPECT_EQ(fintest::RowsInFile(path, "select sum(masuk-keluar) from transaksi where acctid='Tabungan' and "
                                      "siswaid='S3'"),
            (Rows{{"500000"}}));
  EXPECT_EQ(fintest::RowsInFile(path, "select count(*) from transaksi where acctid='Tabungan' and siswaid='S1'"),
            (Rows{{"0"}}));
  // Budi's receipt is untouched.
  EXPECT_EQ(fintest::RowsInFile(path, "select count(*) from transaksi where substr(id,1,22)='" + kR2 + "'"),
            (Rows{{"3"}}));
}

// A delete never leaves a receipt with money its items no longer carry: a delete after which the receipt's discount
// would be above its items left, or its savings withdrawal above its net left, is refused with the amounts that stand
// in the way, before anything is asked, and nothing changes in the file; within them the row goes. Whether a delete
// takes the rest of the receipt is decided by the item rows left, not by amounts: a discount revised to 0 goes with
// the last item. The receipt is read again inside the delete: a change made meanwhile that breaks it undoes the
// delete.
TEST_F(PaymentListTest, ADeleteThatWouldLeaveMoneyNothingCarriesIsRefused) {
  const std::string kD = "2024202520250318090000";   // Budi: 100000 + 50000, a discount of 60000
  const std::string kS = "2024202520250319090000";   // Citra: 200000 + 100000, 300000 from savings
  const std::string kT = "2024202520250320090000";   // Citra: 200000 + 100000, 150000 from savings
  const std::string kZ = "2024202520250321090000";   // Budi: one item, its discount revised to 0
  const std::string path = WorkFile("keuangan.db3");
  const std::string stored =
      "DELETE FROM transaksi WHERE substr(id,1,22) in ('" + kD + "','" + kS + "','" + kT + "','" + kZ + "');"
      "INSERT INTO transaksi (id,tgl,uraian,acctid,siswaid,masuk,keluar,petugas,sts,jenjang,Ref) VALUES"
      " ('" + kD + "1','2025-03-18','Uang Gedung','BR-7','S2',100000,0,'ani','p','-','413'),"
      " ('" + kD + "2','2025-03-18','Seragam','BR-8','S2',50000,0,'ani','p','-','414'),"
      " ('" + kD + "3','2025-03-18','Potongan Pembayaran','Disc','S2',-60000,0,'ani','p','-','disc-pembayaran'),"
      " ('" + kS + "1','2025-03-19','Uang Gedung','BR-7','S3',200000,0,'ani','p','-','413'),"
      " ('" + kS + "2','2025-03-19','Seragam','BR-8','S3',100000,0,'ani','p','-','414'),"
      " ('" + kS + "4','2025-03-19','02-Penarikan utk pembayaran','Tabungan','S3',0,300000,'ani','t','-',NULL),"
      " ('" + kT + "1','2025-03-20','Uang Gedung','BR-7','S3',200000,0,'ani','p','-','413'),"
      " ('" + kT + "2','2025-03-20','Seragam','BR-8','S3',100000,0,'ani','p','-','414'),"
      " ('" + kT + "4','2025-03-20','02-Penarikan utk pembayaran','Tabungan','S3',0,150000,'ani','t','-',NULL),"
      " ('" + kZ + "1','2025-03-21','Uang Gedung','BR-7','S2',100000,0,'ani','p','-','413'),"
      " ('" + kZ + "2','2025-03-21','Potongan Pembayaran','Disc','S2',0,0,'ani','p','rev','disc-pembayaran');";
  struct Case {
    const char* name;
    std::string id;                  // the marked row
    std::string refusal;             // the box that refuses
    std::string question;            // asked (answered Yes) unless the refusal comes first
    std::vector<std::string> gone;   // the rows no longer in the file nor in the list
    std::string setup;               // run before the delete
  } cases[] = {
      {"the discount above the items left", kD + "1",
       "Record ini tidak dapat dihapus, potongan Rp.60.000 pada struk ini melebihi total item yang tersisa "
       "Rp.50.000..",
       "", {}, ""},
      {"the discount within the items left", kD + "2", "", kForm13DeleteQuestion, {kD + "2"}, ""},
      {"the withdrawal above the net left", kS + "1",
       "Record ini tidak dapat dihapus, pengambilan tabungan Rp.300.000 pada struk ini melebihi total setelah "
       "potongan yang tersisa Rp.100.000..",
       "", {}, ""},
      {"the withdrawal within the net left", kT + "2", "", kForm13DeleteQuestion, {kT + "2"}, ""},
      {"the last item takes a discount revised to 0", kZ + "1", "",
       "Apakah anda yakin akan menghapus record ini? Record ini item terakhir dari struknya, maka potongan Rp.0 pada "
       "struk ini ikut dihapus..",
       {kZ + "1", kZ + "2"}, ""},
      {"a discount raised meanwhile", kD + "2",
       "Record ini tidak dapat dihapus, potongan Rp.120.000 pada struk ini melebihi total item yang tersisa "
       "Rp.100.000..",
       kForm13DeleteQuestion, {},
       "CREATE TRIGGER meanwhile AFTER DELETE ON transaksi WHEN OLD.id='" + kD + "2' BEGIN UPDATE transaksi SET "
       "masuk=-120000 WHERE id='" + kD + "3'; END;"},
  };
  const std::string everything = "select * from transaksi order by rowid";
  Open();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fintest::Exec(gDb, "DROP TRIGGER IF EXISTS meanwhile;" + stored + c.setup);
    Command(gForm13RefreshId);
    const int listed = LvGetItemCount(gForm13List);
    const Rows before = fintest::RowsInFile(path, everything);
    LvSelectItem(gForm13List, RowOf(c.id));
    if (!c.question.empty()) ExpectMsgBox(c.question, "Confirm Delete", IDYES, MB_YESNO | MB_ICONQUESTION);
    if (!c.refusal.empty()) ExpectMsgBox(c.refusal, "Info", IDOK, MB_OK | MB_ICONINFORMATION);
    Command(gForm13DeleteId);
    VerifySeams();
    EXPECT_TRUE(sqlite3_get_autocommit(gDb));
    if (c.gone.empty()) {
      EXPECT_EQ(fintest::RowsInFile(path, everything), before);   // nothing changed
    }
    EXPECT_EQ(fintest::RowsInFile(path, "select count(*) from transaksi"),
              (Rows{{std::to_string(before.size() - c.gone.size())}}));
    for (const std::string& id : c.gone) {
      EXPECT_EQ(fintest::RowsInFile(path, "select count(*) from transaksi where id='" + id + "'"), (Rows{{"0"}}))
          << id;
      EXPECT_LT(RowOf(id), 0) << id;
    }
    EXPECT_EQ(LvGetItemCount(gForm13List), listed - static_cast<int>(c.gone.size()));
    // Every receipt of the file keeps its discount within its items and its withdrawal within its net.
    EXPECT_EQ(fintest::RowsInFile(path, fintest::kReceiptsAboveTheirItemsSql), (Rows{{"0"}}));
  }
}

// The three rows go together or not at all: a savings row that refuses to go keeps the item and the discount, and the
// failure is shown once the transaction has ended; a receipt that cannot be read is neither asked about nor touched.
TEST_F(PaymentListTest, ALastItemWhoseRestCannotGoOrBeReadStaysWhole) {
  const std::string path = WorkFile("keuangan.db3");
  const std::string receipt = "select count(*) from transaksi where substr(id,1,22)='" + kR3 + "'";
  Open();
  LvSelectItem(gForm13List, RowOf(kR3 + "1"));
  fintest::Exec(gDb, "CREATE TRIGGER keep BEFORE DELETE ON transaksi WHEN OLD.acctid='Tabungan' "
                     "BEGIN SELECT RAISE(ABORT, 'tabungan dikunci'); END;");
  AnswerMsgBox(IDYES);
  ExpectMsgBox("SQL error: tabungan dikunci", "Info", IDOK, MB_OK);
  Command(gForm13DeleteId);
  VerifySeams();
  EXPECT_TRUE(sqlite3_get_autocommit(gDb));
  EXPECT_EQ(fintest::RowsInFile(path, receipt), (Rows{{"2"}}));
  EXPECT_GE(RowOf(kR3 + "1"), 0);
  fintest::Exec(gDb, "DROP TRIGGER keep");

  {
    fintest::ReadDenied denied(gDb, "transaksi", "keluar");
    ExpectMsgBox("SQL error: " + denied.message(), "Info", IDOK, MB_OK);   // and no question
    Command(gForm13DeleteId);
    VerifySeams();
  }
  EXPECT_EQ(fintest::RowsInFile(path, receipt), (Rows{{"2"}}));
  EXPECT_GE(RowOf(kR3 + "1"), 0);
}

TEST_F(PaymentListTest, ExportsGoThroughThePlugIns) {
  Install("tests/plugins/libfin_plugin_recorder.so", "libtablepage.so");
  Open();
  Command(gForm13PageId);
  const std::string record = fintest::ReadFile(WorkFile("record.txt"));
  EXPECT_EQ(record.substr(0, record.find('\n')), "LAPORAN DATA PEMBAYARAN;SD Harapan;Jl. Merdeka 5;lllllllll");
  gTargetListView = 0;
  ExpectMsgBox("tidak dapat membaca library..", "Export To excel..");
  Command(gForm13ExcelId);
  EXPECT_EQ(gTargetListView, gForm13List);
}

TEST_F(PaymentListTest, NewPaymentAndRevisionOpenModallyOverTheList) {
  Open();
  CommandModal(gForm13AddId, [&](Hwnd form) {
    EXPECT_EQ(form, gFormBayarWindow);
    EXPECT_EQ(gEditMode, 0);
    FrmClose(form, 0);
  });
  LvSelectItem(gForm13List, RowOf(kR2 + "2"));
  CommandModal(gForm13EditId, [&](Hwnd form) {
    EXPECT_EQ(form, gFormRevisiWindow);
    EXPECT_EQ(gEditMode, 1);
    EXPECT_EQ(FORMREVISI_Student(), "S2");
    EXPECT_EQ(LvGetItemCount(gFormRevisiList), 3);   // Budi's rows of that fee in March
    FrmClose(form, 0);
  });
  EXPECT_EQ(LvGetItemCount(gForm13List), 7);   // not reloaded
}

TEST_F(PaymentListTest, ReprintOfAReceiptWithADiscount) {
  Open();
  LvSelectItem(gForm13List, RowOf(kR1 + "2"));
  Command(gForm13ReprintId);
  ASSERT_EQ(printed().Documents().size(), 1u);
  const auto& doc = printed().Documents()[0];
  EXPECT_EQ(doc.name, "Struk");
  EXPECT_TRUE(doc.ended);
  ASSERT_EQ(doc.pages.size(), 1u);
  EXPECT_EQ(doc.pages[0].Lines(), ReadLines(FIN_SOURCE_DIR "/tests/payments/expected/reprint_discount.txt"));
  EXPECT_EQ(One("select count(*) from transaksi"), "13");   // nothing stored
}

TEST_F(PaymentListTest, ReprintOfOtherReceipts) {
  Open();
  // Without a discount row: ten asterisks and no digits; the row ending in 10 prints before the one ending in 2
  // only when the database returns it so - here in the order the rows were stored.
  auto t = Reprint(kR2 + "10");
  ASSERT_EQ(t.size(), 6u + 3u + 10u);
  EXPECT_EQ(t[4], "   Nama Siswa : Budi; Kls : VII A");
  EXPECT_EQ(t[6].substr(0, 17), "   1  SPP Juli   ");
  EXPECT_EQ(t[8].substr(0, 18), "   3  SPP April   ");
  EXPECT_EQ(t[10], "   " + std::string(61 - 33, ' ') + "                      Total : Rp.****600000");
  EXPECT_EQ(t[13], "   " + std::string(61 - 36, ' ') + "Penerima              Potongan : Rp.**********");
  EXPECT_EQ(t[14].substr(t[14].size() - 10), "****600000");
}

// What the reprint shows is the receipt's money: the items and their total, the stored discount with its minus, the
// net, and the net split into what was handed over (Dibayar) and what came from the savings (Ambil Tabungan), read
// back from the file. The savings withdrawal is no item.
TEST_F(PaymentListTest, ReprintShowsTheMoneyOfTheReceipt) {
  const std::string kR4 = "2024202520250314090000";   // Budi: two fees, a discount of 25000, 300000 from savings
  fintest::Exec(gDb,
                "INSERT INTO transaksi (id,tgl,uraian,acctid,siswaid,masuk,keluar,petugas,sts,jenjang,Ref) VALUES"
                " ('" + kR4 + "1','2025-03-14','Uang Gedung','BR-4','S2',500000,0,'ani','p','-','413'),"
                " ('" + kR4 + "2','2025-03-14','Seragam','BR-5','S2',200000,0,'ani','p','-','414'),"
                " ('" + kR4 + "3','2025-03-14','Potongan Pembayaran','Disc','S2',-25000,0,'ani','p','-',"
                "'disc-pembayaran'),"
                " ('" + kR4 + "4','2025-03-14','02-Penarikan utk pembayaran','Tabungan','S2',0,300000,'ani','-','-',"
                "NULL)");
  struct Case {
    std::string id;
    std::vector<std::string> items;   // the item lines' descriptions
    std::string total, discount, net, paid, savings;   // as printed ("" : no Ambil Tabungan line)
  } cases[] = {
      {kR4 + "2", {"Uang Gedung", "Seragam"}, "****700000", "****-25000", "****675000", "****375000", "****300000"},
      {kR3 + "1", {"Uang Gedung"}, "****300000", "**********", "****300000", "****180000", "****120000"},
      {kR1 + "1", {"SPP Juli", "Uang Buku"}, "****250000", "*****-5000", "****245000", "****245000", ""},
  };
  Open();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    const auto t = Reprint(c.id);
    const std::size_t n = c.items.size();
    ASSERT_EQ(t.size(), 6u + n + (c.savings.empty() ? 10u : 11u));
    for (std::size_t i = 0; i < n; ++i)
      EXPECT_EQ(t[6 + i].substr(0, 6 + c.items[i].size()), "   " + std::to_string(i + 1) + "  " + c.items[i]);
    const auto value = [&](std::size_t line) { return t[line].substr(t[line].size() - 10); };
    EXPECT_EQ(value(6 + n + 1), c.total);
    EXPECT_EQ(value(6 + n + 4), c.discount);
    EXPECT_EQ(value(6 + n + 5), c.net);
    EXPECT_EQ(t[6 + n + 6], "   " + std::string(61 - 35, ' ') + "                      Dibayar : Rp." + c.paid);
    if (!c.savings.empty()) {
      EXPECT_EQ(t[6 + n + 7], "   " + std::string(61 - 35, ' ') + "               Ambil Tabungan : Rp." + c.savings);
    }
    // Dibayar + Ambil Tabungan = Jml. Bersih, and the net is what the file holds for the receipt's payment rows.
    const auto number = [](const std::string& v) { return std::stoll(v.substr(v.find_first_not_of('*'))); };
    EXPECT_EQ(number(c.paid) + (c.savings.empty() ? 0 : number(c.savings)), number(c.net));
    const std::string stamp = c.id.substr(0, 22);
    EXPECT_EQ(fintest::RowsInFile(WorkFile("keuangan.db3"),
                                  "select sum(masuk) from transaksi where sts='p' and substr(id,1,22)='" + stamp + "'"),
              (Rows{{std::to_string(number(c.net))}}));
  }
}

// A receipt whose rows cannot all be read is not printed: a page with money that is not the stored money would be
// worse than none.
TEST_F(PaymentListTest, AReprintWhoseReadFailsPrintsNothing) {
  Open();
  LvSelectItem(gForm13List, RowOf(kR3 + "1"));
  for (const char* column : {"uraian", "masuk", "keluar"}) {
    SCOPED_TRACE(column);
    fintest::ReadDenied denied(gDb, "transaksi", column);
    ExpectMsgBox("SQL error: " + denied.message(), "Info", IDOK, MB_OK);
    Command(gForm13ReprintId);
    VerifySeams();
    EXPECT_TRUE(printed().Documents().empty());
  }
}

TEST_F(PaymentListTest, ReprintWithoutAMarkedRowPrintsAnEmptyReceipt) {
  Open();
  printed().Clear();
  Command(gForm13ReprintId);
  ASSERT_EQ(printed().Documents().size(), 1u);
  const auto& calls = printed().Documents()[0].pages[0].calls;
  const auto t = printed().Documents()[0].pages[0].Texts();
  EXPECT_EQ(t[4], "   Nama Siswa : ; Kls : ");
  EXPECT_EQ(calls[6].page.y, 7 * 150);   // the closing block directly below line 6
  EXPECT_EQ(t[7], "   " + std::string(61 - 33, ' ') + "                      Total : Rp.*********0");
}

TEST_F(PaymentListTest, ReprintLayoutEdges) {
  Form13Receipt r;
  r.items = {{std::string(56, 'a'), "1"},
             {std::string(61, 'b'), "12345678901"},
             {"SPP; Juli | 1", "5"},
             {"", ""}};
  r.discount = "-7";
  r.savingsUsed = "0";
  const auto lines = FORM13_ReceiptLines(r);
  ASSERT_EQ(lines.size(), 6u + 4u + 12u);
  EXPECT_EQ(lines[6], "   1  " + std::string(56, 'a') + "Rp.*********1");                  // no blanks after it
  EXPECT_EQ(lines[7], "   2  " + std::string(60, 'b') + "Rp.12345678901");                 // cut to 60, no stars
  EXPECT_EQ(lines[8], "   3  SPP; Juli | 1" + std::string(42, ' ') + "Rp.*********5");   // printed whole
  EXPECT_EQ(lines[9], "   4  " + std::string(55, ' ') + "Rp.**********");
  EXPECT_EQ(lines[11].substr(64), "12345678907");   // the total of the amounts
  EXPECT_EQ(lines[15].substr(64), "12345678900");   // net: total plus the discount
  EXPECT_EQ(lines[17], "");                        // no savings used
  // A description beyond ASCII counts its characters.
  r.items = {{"Seragam \xC3\xA9t\xC3\xA9", "10"}};
  EXPECT_EQ(FORM13_ReceiptLines(r)[6], "   1  Seragam \xC3\xA9t\xC3\xA9" + std::string(55 - 11, ' ') + "Rp.********10");
}

// A class run shares one stamp among its students; each student's reprint shows that student's row only, and a delete
// of one student's row leaves the others.
TEST_F(PaymentListTest, ReprintOfAWholeClassPaymentListsTheChosenStudentsRowOnly) {
  const std::string stamp = "2024202520250315090000";
  fintest::Exec(gDb, "INSERT INTO transaksi (id,tgl,uraian,acctid,siswaid,masuk,keluar,petugas,sts,jenjang,Ref) "
                     "VALUES ('" + stamp + "1','2025-03-15','Uang Gedung','BR-7','S1',600000,0,'k','p','-','412'),"
                     "('" + stamp + "2','2025-03-15','Uang Gedung','BR-7','S2',900000,0,'k','p','-','412'),"
                     "('" + stamp + "3','2025-03-15','Uang Gedung','BR-7','S3',650000,0,'k','p','-','412'),"
                     "('" + stamp + "4','2025-03-15','Uang Gedung','BR-7','S4',300000,0,'k','p','-','412')");
  Open();
  struct Case {
    std::string id;
    const char* student;
    const char* amount;
  } cases[] = {{stamp + "1", "   Nama Siswa : Ani; Kls : TK A", "****600000"},
               {stamp + "2", "   Nama Siswa : Budi; Kls : VII A", "****900000"},
               {stamp + "4", "   Nama Siswa : ; Kls : ", "****300000"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    const auto t = Reprint(c.id);
    ASSERT_EQ(t.size(), 6u + 1u + 10u);   // one item line
    EXPECT_EQ(t[4], c.student);
    EXPECT_EQ(t[6], "   1  Uang Gedung" + std::string(55 - 11, ' ') + "Rp." + c.amount);
    for (std::size_t line : {8u, 12u, 13u}) EXPECT_EQ(t[line].substr(t[line].size() - 10), c.amount) << line;
  }
  LvSelectItem(gForm13List, RowOf(stamp + "2"));
  ExpectMsgBox(kForm13DeleteQuestion, "Confirm Delete", IDYES);
  Command(gForm13DeleteId);
  EXPECT_EQ(fintest::RowsInFile(WorkFile("keuangan.db3"),
                                "select siswaid from transaksi where substr(id,1,22)='" + stamp + "' order by id"),
            (Rows{{"S1"}, {"S3"}, {"S4"}}));
}

TEST_F(PaymentListTest, StatementsQuoteTheirValues) {
  EXPECT_EQ(FORM13_DeleteSql("a'1", "B", "S'1"),
            "Delete from transaksi Where Id='a''1' and Sts='p' and AcctId='B' and SiswaId='S''1'");
  EXPECT_NE(FORM13_MonthSql("2024'/2025", 3).find("Tapel='2024''/2025'"), std::string::npos);
}

}  // namespace
