// The class payment window FORM27 driven as an operator would: classes and their yearly fees, the students with what
// each still owes, the pick marks, the chosen list and its total, the save of the whole class under one stamp in one
// transaction (nothing stored when a row fails), the receipts and the printed list.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <QAbstractButton>
#include <QMdiArea>
#include <QTableView>
#include <QTest>
#include <QWidget>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/globals.h"
#include "common/globals.h"
#include "common/numbers_words.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/window_system.h"
#include "payments/class_payment_window.h"
#include "support/fixtures.h"
#include "support/other_program.h"
#include "support/read_denied.h"
#include "support/seams_fixture.h"
#include "support/two_desks.h"
#include "support/operator.h"

using fintest::Choose;
using fintest::ComboItems;
using fintest::ListRows;

namespace {

using Rows = std::vector<std::vector<std::string>>;

const std::string kStamp = "20202021" "20210305" "140309";
const std::string kFee = "BR-TKA20200001";

std::vector<std::string> ReadLines(const std::string& path) {
  std::istringstream in(fintest::ReadFile(path));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class ClassPaymentTest : public fintest::SeamsTest {
 protected:
  ClassPaymentTest() {
    gDb = fintest::CreateDatabase(WorkFile("keuangan.db3"));
    gTapel = "2020/2021";
    gToday = "2021-03-05";
    gFormMode.clear();
    gSqlResult.clear();
    gPrinterKind = 0;
    gSchoolName = "SD Harapan";
    gSchoolAddress = "Jl. Merdeka 5";
    gSchoolPhone = "022-123";
    gSchoolEmail = "sd@harapan.id";
    SetClock(2021, 3, 5, 14, 3, 9);
    area_ = new QMdiArea;
    gMdiClient = WinHandle(area_);
    WinWatchWindow(gMdiClient);
    // A status bar standing in for the main window's: part 1 the operator, part 5 the clock.
    holder_ = new QWidget;
    gStatusBar = WinCreateControl(0, "msctls_statusbar32", "", WS_CHILD | WS_VISIBLE, 0, 0, 700, 20,
                                  WinHandle(holder_), 4999);
    SbSetParts(gStatusBar, {60, 120, 180, 240, 300, 360, -1});
    SbSetText(gStatusBar, 1, "kasir", 0);
    SbSetText(gStatusBar, 5, "14:03:09", 0);
    fintest::Exec(gDb,
                  "INSERT INTO siswa (Id, Nama) VALUES ('S1','Ani'),('S2','Budi'),('S3','Citra'),('S4','Dedi'),"
                  "('S5','Eka');"
                  "INSERT INTO siswakelas (IdSiswa, Kelas, Tapel) VALUES ('S1','TK A','2020/2021'),"
                  " ('S2','TK A','2020/2021'),('S3','TK A','2020/2021'),('S4','VII A','2020/2021'),"
                  " ('S5','DO','2020/2021'),('S4','Lulus 2020','2019/2020'),('S1','Play Group','2019/2020');"
                  "INSERT INTO account (Id, Pembayaran, Kelas, Jumlah, Type, Tapel, RefRekening) VALUES"
                  " ('BR-TKA20200001','Uang Gedung','TK A',900000,'Pertahun','2020/2021','412'),"
                  " ('BR-TKA20200002','SPP','TK A',150000,'Perbulan','2020/2021','411'),"
                  " ('BR-TKA20190003','Gedung Lama','TK A',800000,'Pertahun','2019/2020','401'),"
                  " ('BR-VIIA20200004','SPP VII','VII A',200000,'Perbulan','2020/2021','411');"
                  // S3 has no billing row; S1 paid part, S2 all, S3 something.
                  "INSERT INTO detail_account (id_account, id_siswa, jml_pembayaran) VALUES"
                  " ('BR-TKA20200001','S1',900000),('BR-TKA20200001','S2',900000);"
                  "INSERT INTO transaksi (id, tgl, acctid, siswaid, masuk, keluar, sts) VALUES"
                  " ('A1','2020-08-01','BR-TKA20200001','S1',200000,0,'p'),"
                  " ('A2','2020-09-01','BR-TKA20200001','S1',100000,0,'p'),"
                  " ('A3','2020-08-01','BR-TKA20200001','S2',900000,0,'p'),"
                  " ('A4','2020-08-01','BR-TKA20200001','S3',100000,0,'p'),"
                  " ('A5','2020-08-01','BR-TKA20200002','S1',150000,0,'p');");
  }
  ~ClassPaymentTest() override {
    if (IsWindow(gForm27Window)) WinDestroyWindow(gForm27Window);
    gStatusBar = 0;
    delete holder_;
    delete area_;
    gMdiClient = 0;
    gSchoolName.clear();
    gSchoolAddress.clear();
    gSchoolPhone.clear();
    gSchoolEmail.clear();
    gPrinterKind = 0;
    unsetenv("FIN_PLUGIN_RECORD");
    sqlite3_close(gDb);
    gDb = nullptr;
  }

  // The window shown without its modal loop, so that the test drives it step by step.
  Hwnd Open() {
    const Hwnd w = static_cast<Hwnd>(FORM27_Show(gMdiClient, 0, 0));
    EXPECT_TRUE(IsWindow(w));
    return w;
  }
  static void Click(Hwnd button) {
    auto* b = qobject_cast<QAbstractButton*>(WinWidget(button));
    ASSERT_NE(b, nullptr);
    ASSERT_TRUE(b->isEnabled());
    QTest::mouseClick(b, Qt::LeftButton);
  }
  static void ClickRow(Hwnd list, int row) {
    auto* v = dynamic_cast<QTableView*>(WinWidget(list));
    ASSERT_NE(v, nullptr);
    const QRect r = v->visualRect(v->model()->index(row, 1));
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, r.center());
  }
  static bool Enabled(Hwnd h) { return WinIsWindowEnabled(h); }
  Rows Query(const std::string& sql) { return fintest::Query(gDb, sql); }

  // Class TK A and its yearly fee chosen.
  void ChooseFee() {
    Choose(gForm27KelasCombo, "TK A");
    Choose(gForm27FeeCombo, kFee + "; Uang Gedung");
  }
  // Citra gets a billing row of 400000, so that she owes 300000 beside Ani's 600000 (Budi owes nothing).
  void CitraOwes() {
    fintest::Exec(gDb, "INSERT INTO detail_account (id_account, id_siswa, jml_pembayaran) VALUES"
                       " ('BR-TKA20200001','S3',400000)");
  }
  Rows StoredRows() {
    return Query("select id, tgl, uraian, acctid, siswaid, masuk, keluar, petugas, sts, jenjang, Ref from transaksi "
                 "where substr(id,1,22)='" + kStamp + "' order by id");
  }

  QMdiArea* area_ = nullptr;
  QWidget* holder_ = nullptr;
};

TEST_F(ClassPaymentTest, OpensModallyOnTheFirstClassWithoutFees) {
  bool ran = false;
  OnModal([&](QWidget* form) {
    ran = true;
    const Hwnd w = WinHandleOfWidget(form);
    EXPECT_EQ(w, gForm27Window);
    EXPECT_EQ(WinGetClassName(w), "FORM_FINANCE_FORM27_CLASS");
    EXPECT_EQ(WinGetWindowText(w), "Pembayaran Per Kelas");
    // 'DO', graduates and other years are not offered; the first class is shown but its fees are not loaded.
    EXPECT_EQ(ComboItems(gForm27KelasCombo), (std::vector<std::string>{"TK A", "VII A"}));
    EXPECT_EQ(CtlGetText(gForm27KelasCombo), "TK A");
    EXPECT_EQ(CbGetCount(gForm27FeeCombo), 0);
    EXPECT_EQ(LvGetItemCount(gForm27StudentList), 0);
    EXPECT_EQ(LvGetItemCount(gForm27ChosenList), 0);
    const std::vector<std::pair<Hwnd, std::vector<std::string>>> captions = {
        {gForm27StudentList, {"Id", "Nama Siswa", "Jumlah", "Pilih"}},
        {gForm27ChosenList, {"Id", "Nama Siswa", "Jumlah", "Sts"}}};
    for (const auto& [list, want] : captions) {
      std::vector<std::string> got;
      for (int c = 0; c < LvGetColumnCount(list); ++c) got.push_back(LvGetColumnText(list, c));
      EXPECT_EQ(got, want);
    }
    EXPECT_EQ(LvGetColumnAlign(gForm27StudentList, 2), LVCFMT_RIGHT);
    EXPECT_EQ(LvGetColumnAlign(gForm27StudentList, 3), LVCFMT_CENTER);
    EXPECT_TRUE(Enabled(gForm27SaveButton));
    EXPECT_FALSE(Enabled(gForm27PrintReceiptsButton));
    EXPECT_EQ(CtlGetText(gForm27RefLabel), "0");
    EXPECT_EQ(CtlGetText(gForm27WordsLabel), "0");
    EXPECT_EQ(CtlGetText(gForm27TotalEdit), "");
    EXPECT_EQ(CtlGetText(gForm27Note), "Hanya berlaku untuk pembayaran yang sifatnya pertahun");
    EXPECT_EQ(CtlGetText(gForm27PickButton), "Pilih Siswa ");
    EXPECT_EQ(CtlGetText(gForm27Title), "Pembayaran Siswa Per Kelas ");
    Click(gForm27CloseButton);
    EXPECT_FALSE(IsWindow(gForm27Window));
  });
  EXPECT_EQ(FORM27_Show(gMdiClient, 1, 0), 0);
  EXPECT_TRUE(ran);
  EXPECT_EQ(gForm27Window, 0);
}

TEST_F(ClassPaymentTest, AClassOffersOnlyItsYearlyFeesOfTheWorkingYear) {
  Open();
  Choose(gForm27KelasCombo, "TK A");
  EXPECT_EQ(ComboItems(gForm27FeeCombo), std::vector<std::string>{kFee + "; Uang Gedung"});
  EXPECT_EQ(CbGetCurSel(gForm27FeeCombo), -1);
  Choose(gForm27FeeCombo, kFee + "; Uang Gedung");
  ASSERT_EQ(LvGetItemCount(gForm27StudentList), 3);
  // A class without a yearly fee: nothing to choose, the students go, the chosen list and Referensi stay.
  Click(gForm27PickButton);
  Choose(gForm27KelasCombo, "VII A");
  EXPECT_EQ(CbGetCount(gForm27FeeCombo), 0);
  EXPECT_EQ(LvGetItemCount(gForm27StudentList), 0);
  EXPECT_EQ(LvGetItemCount(gForm27ChosenList), 1);   // Ani; the others owe nothing
  EXPECT_EQ(CtlGetText(gForm27RefLabel), "412");
}

TEST_F(ClassPaymentTest, AFeeListsEveryStudentPickedWithWhatIsStillOwed) {
  Open();
  ChooseFee();
  EXPECT_EQ(CtlGetText(gForm27RefLabel), "412");
  EXPECT_EQ(gFormMode, kFee);
  // Ani: 900000 - 300000; Budi paid all; Citra has no billing row and paid 100000. Other fees do not count.
  EXPECT_EQ(ListRows(gForm27StudentList), (Rows{{"S1", "Ani", "600000", "v"},
                                                {"S2", "Budi", "0", "v"},
                                                {"S3", "Citra", "-100000", "v"}}));
  EXPECT_EQ(LvGetItemCount(gForm27ChosenList), 0);
  EXPECT_TRUE(Enabled(gForm27SaveButton));
  EXPECT_FALSE(Enabled(gForm27PrintReceiptsButton));
}

TEST_F(ClassPaymentTest, ClicksTogglePickMarksAndPickCopiesThePickedRowsWithTheirTotal) {
  Open();
  ChooseFee();
  ClickRow(gForm27StudentList, 1);
  EXPECT_EQ(LvGetItemText(gForm27StudentList, 1, 3), "");
  ClickRow(gForm27StudentList, 1);
  EXPECT_EQ(LvGetItemText(gForm27StudentList, 1, 3), "v");   // twice restores the mark
  ClickRow(gForm27StudentList, 2);
  Click(gForm27PickButton);
  // Budi is picked but owes nothing: he is not taken (no row, no receipt for him).
  EXPECT_EQ(ListRows(gForm27ChosenList), (Rows{{"S1", "Ani", "600000", "Unsaved"}}));
  EXPECT_EQ(CtlGetText(gForm27TotalEdit), "600000");
  EXPECT_EQ(CtlGetText(gForm27WordsLabel), FinSpellNumber(600000));
  // Picking again rebuilds the list: Budi (0) and Citra (overpaid, -100000) alone give an empty list.
  ClickRow(gForm27StudentList, 2);
  ClickRow(gForm27StudentList, 0);
  Click(gForm27PickButton);
  EXPECT_EQ(LvGetItemCount(gForm27ChosenList), 0);
  EXPECT_EQ(CtlGetText(gForm27TotalEdit), "0");
}

TEST_F(ClassPaymentTest, SaveWritesOneRowPerChosenStudentUnderOneStamp) {
  CitraOwes();
  Open();
  ChooseFee();
  Click(gForm27PickButton);
  SetClock(2021, 3, 5, 14, 3, 12);   // the status bar's clock is what stamps the save
  ExpectMsgBox("Proses penyimpanan selesai..", "Info");
  Click(gForm27SaveButton);
  VerifySeams();
  // Budi owes nothing: no row of 0 for him.
  EXPECT_EQ(StoredRows(),
            (Rows{{kStamp + "1", "2021-03-05", "Uang Gedung", kFee, "S1", "600000", "0", "kasir", "p", "-", "412"},
                  {kStamp + "2", "2021-03-05", "Uang Gedung", kFee, "S3", "300000", "0", "kasir", "p", "-", "412"}}));
  EXPECT_EQ(Query("select typeof(masuk) from transaksi where id='" + kStamp + "1'")[0][0], "integer");
  for (int r = 0; r < 2; ++r) EXPECT_EQ(LvGetItemText(gForm27ChosenList, r, 3), "Saved");
  EXPECT_FALSE(Enabled(gForm27SaveButton));
  EXPECT_TRUE(Enabled(gForm27PrintReceiptsButton));
  // Picking again does not open the save; a new fee choice does.
  Click(gForm27PickButton);
  EXPECT_EQ(LvGetItemText(gForm27ChosenList, 0, 3), "Unsaved");
  EXPECT_FALSE(Enabled(gForm27SaveButton));
  Choose(gForm27FeeCombo, kFee + "; Uang Gedung");
  EXPECT_TRUE(Enabled(gForm27SaveButton));
  EXPECT_FALSE(Enabled(gForm27PrintReceiptsButton));
  EXPECT_EQ(LvGetItemText(gForm27StudentList, 0, 2), "0");   // Ani has paid now
}

// A student with two class rows in the year is listed twice, owing the same 600,000 on each: the run charges that
// once, so the fee is paid exactly and never above what it owes.
TEST_F(ClassPaymentTest, AStudentListedTwiceIsChargedOnce) {
  CitraOwes();
  fintest::Exec(gDb, "INSERT INTO siswakelas (IdSiswa, Kelas, Tapel) VALUES ('S1','TK A','2020/2021')");
  Open();
  ChooseFee();
  EXPECT_EQ(ListRows(gForm27StudentList), (Rows{{"S1", "Ani", "600000", "v"},
                                                {"S2", "Budi", "0", "v"},
                                                {"S3", "Citra", "300000", "v"},
                                                {"S1", "Ani", "600000", "v"}}));
  Click(gForm27PickButton);
  EXPECT_EQ(ListRows(gForm27ChosenList), (Rows{{"S1", "Ani", "600000", "Unsaved"}, {"S3", "Citra", "300000",
                                                                                    "Unsaved"}}));
  EXPECT_EQ(CtlGetText(gForm27TotalEdit), "900000");
  ExpectMsgBox("Proses penyimpanan selesai..", "Info");
  Click(gForm27SaveButton);
  VerifySeams();
  EXPECT_EQ(Query("select siswaid, masuk from transaksi where substr(id,1,22)='" + kStamp + "' order by id"),
            (Rows{{"S1", "600000"}, {"S3", "300000"}}));
  // What each has paid on the fee is now what it bills.
  EXPECT_EQ(Query("select siswaid, sum(masuk) from transaksi where acctid='" + kFee +
                  "' and siswaid in ('S1','S3') group by siswaid order by siswaid"),
            (Rows{{"S1", "900000"}, {"S3", "400000"}}));
}

TEST_F(ClassPaymentTest, ARowThatFailsLeavesNothingStoredAndSaysSo) {
  CitraOwes();
  Open();
  ChooseFee();
  Click(gForm27PickButton);
  fintest::Exec(gDb, "CREATE TRIGGER boom BEFORE INSERT ON transaksi WHEN NEW.siswaid='S3' "
                     "BEGIN SELECT RAISE(ABORT, 'ditolak'); END;");
  const auto before = Query("select count(*) from transaksi")[0][0];
  ExpectMsgBox("SQL error: ditolak", "Info");   // and no "Proses penyimpanan selesai.."
  Click(gForm27SaveButton);
  VerifySeams();
  EXPECT_EQ(Query("select count(*) from transaksi")[0][0], before);   // the row of Ani before it is gone too
  for (int r = 0; r < 2; ++r) EXPECT_EQ(LvGetItemText(gForm27ChosenList, r, 3), "Failed");
  EXPECT_TRUE(Enabled(gForm27SaveButton));             // another try is possible
  EXPECT_FALSE(Enabled(gForm27PrintReceiptsButton));   // no receipt for money not stored
  FORM27_PrintReceipts(gForm27Window);
  EXPECT_TRUE(printed().Documents().empty());
  // Once the cause is gone the same rows save.
  fintest::Exec(gDb, "DROP TRIGGER boom");
  ExpectMsgBox("Proses penyimpanan selesai..", "Info");
  Click(gForm27SaveButton);
  EXPECT_EQ(StoredRows().size(), 2u);
}

// A run in the same second as a stored receipt would give its rows ids that are already there: refused, as the payment
// window refuses it, until the clock has moved on.
TEST_F(ClassPaymentTest, AStampAlreadyStoredIsNotUsedAgain) {
  CitraOwes();
  fintest::Exec(gDb, "INSERT INTO transaksi (id, tgl, uraian, acctid, siswaid, masuk, keluar, petugas, sts, jenjang,"
                     " Ref) VALUES ('" + kStamp + "1', '2021-03-05', 'SPP', 'BR-TKA20200002', 'S1', 150000, 0,"
                     " 'kasir2', 'p', '-', '411');");
  Open();
  ChooseFee();
  Click(gForm27PickButton);
  ExpectMsgBox("Nomor transaksi sudah dipakai, silahkan simpan ulang..", "Pembayaran..", IDOK,
               MB_OK | MB_ICONINFORMATION);   // and no "Proses penyimpanan selesai.."
  Click(gForm27SaveButton);
  VerifySeams();
  EXPECT_EQ(Query("select id, siswaid, masuk from transaksi where substr(id,1,22)='" + kStamp + "'"),
            (Rows{{kStamp + "1", "S1", "150000"}}));
  for (int r = 0; r < 2; ++r) EXPECT_EQ(LvGetItemText(gForm27ChosenList, r, 3), "Unsaved");
  EXPECT_TRUE(Enabled(gForm27SaveButton));
  EXPECT_FALSE(Enabled(gForm27PrintReceiptsButton));

  SbSetText(gStatusBar, 5, "14:03:10", 0);
  ExpectMsgBox("Proses penyimpanan selesai..", "Info");
  Click(gForm27SaveButton);
  EXPECT_EQ(Query("select id, siswaid, masuk from transaksi where substr(id,1,22)='2020202120210305140310' "
                  "order by id"),
            (Rows{{"20202021202103051403101", "S1", "600000"}, {"20202021202103051403102", "S3", "300000"}}));
}

// Another program holding the file across the save: the failure is shown, nothing of the run is in the file, no
// receipt can be printed; the retry after the lock is gone stores the run, which is in the file once it is closed.
TEST_F(ClassPaymentTest, ASaveBlockedByAnotherProgramStoresNothingAndTheRetryLands) {
  using fintest::Obstacle;
  const std::string path = WorkFile("keuangan.db3");
  sqlite3_busy_timeout(gDb, 50);
  CitraOwes();
  Open();
  int second = 20;
  for (Obstacle obstacle : {Obstacle::kReadLock, Obstacle::kWriteLock}) {
    SCOPED_TRACE(static_cast<int>(obstacle));
    const std::string clock = "14:03:" + std::to_string(second++);
    const std::string stamp = FORM27_Stamp(gTapel, gToday, clock);
    const std::string inFile = "select count(*) from transaksi where substr(id,1,22)='" + stamp + "'";
    SbSetText(gStatusBar, 5, clock, 0);
    ChooseFee();
    Click(gForm27PickButton);
    const int chosen = LvGetItemCount(gForm27ChosenList);
    ASSERT_GE(chosen, 2);
    {
      fintest::OtherProgram other(path);
      other.hold(obstacle);
      ExpectMsgBox("SQL error: database is locked", "Info");   // and no "Proses penyimpanan selesai.."
      Click(gForm27SaveButton);
      VerifySeams();
      EXPECT_TRUE(sqlite3_get_autocommit(gDb));
      EXPECT_EQ(fintest::RowsInFile(path, inFile), (Rows{{"0"}}));
      for (int r = 0; r < chosen; ++r) EXPECT_EQ(LvGetItemText(gForm27ChosenList, r, 3), "Failed");
      EXPECT_FALSE(Enabled(gForm27PrintReceiptsButton));
      FORM27_PrintReceipts(gForm27Window);
      EXPECT_TRUE(printed().Documents().empty());
    }
    ExpectMsgBox("Proses penyimpanan selesai..", "Info");
    Click(gForm27SaveButton);
    VerifySeams();
    EXPECT_EQ(fintest::RowsInFile(path, inFile), (Rows{{std::to_string(chosen)}}));
    Click(gForm27PrintReceiptsButton);
    EXPECT_EQ(printed().Documents().size(), static_cast<std::size_t>(chosen));
    printed().Clear();
    fintest::Exec(gDb, "UPDATE detail_account SET jml_pembayaran = jml_pembayaran * 2");   // owed again, next run
  }
  sqlite3_close(gDb);
  gDb = nullptr;
  // Ani 600000 and Citra 300000; then, billed twice over, Ani 900000, Budi 900000 and Citra 400000.
  EXPECT_EQ(fintest::RowsInFile(path, "select substr(id,1,22), count(*), sum(masuk) from transaksi where "
                                      "substr(id,1,16)='2020202120210305' group by 1 order by 1"),
            (Rows{{"2020202120210305140320", "2", "900000"}, {"2020202120210305140321", "3", "2200000"}}));
}

// Another desk takes a payment of the fee between the class's load and "Simpan": what each student still owes is
// read again inside the write, so no student pays above the bill. A student paid in full meanwhile is left out, one
// paid in part pays the rest; the clerk is told which, the list and the receipts show what was stored.
TEST_F(ClassPaymentTest, AStudentAnotherDeskPaidMeanwhileIsPaidOnlyWhatIsStillOwed) {
  // The cells of `cols` of every row of `list`.
  const auto Cells = [](Hwnd list, const std::vector<int>& cols) {
    Rows rows;
    for (int r = 0; r < LvGetItemCount(list); ++r) {
      rows.emplace_back();
      for (int c : cols) rows.back().push_back(LvGetItemText(list, r, c));
    }
    return rows;
  };
  CitraOwes();   // Ani owes 600000 of 900000, Citra 300000 of 400000, Budi nothing
  struct Case {
    const char* name;
    const char* otherDesk;          // the other desk's rows: (id, acctid, siswaid, masuk)
    Rows chosen;                    // the chosen list afterwards: id, amount, Sts
    std::vector<std::string> boxes; // what the clerk is told
    Rows paidInFile;                // what Ani and Citra have paid on the fee, read from the file
  } cases[] = {
      {"Ani paid in full",
       "('D1','BR-TKA20200001','S1',600000)",
       {{"S1", "0", "Unsaved"}, {"S3", "300000", "Saved"}},
       {"Proses penyimpanan selesai..",
        "Pembayaran siswa berikut tidak sesuai daftar, sisa tagihan sudah berubah:\rS1 Ani : tidak dibayar, sisa "
        "tagihan Rp.0.."},
       {{"S1", "900000"}, {"S3", "400000"}}},
      {"Ani paid in part",
       "('D1','BR-TKA20200001','S1',400000)",
       {{"S1", "200000", "Saved"}, {"S3", "300000", "Saved"}},
       {"Proses penyimpanan selesai..",
        "Pembayaran siswa berikut tidak sesuai daftar, sisa tagihan sudah berubah:\rS1 Ani : dibayar Rp.200.000 dari "
        "Rp.600.000.."},
       {{"S1", "900000"}, {"S3", "400000"}}},
      {"both paid in full",
       "('D1','BR-TKA20200001','S1',600000),('D2','BR-TKA20200001','S3',300000)",
       {{"S1", "0", "Unsaved"}, {"S3", "0", "Unsaved"}},
       {kForm27NobodyToPay,
        "Pembayaran siswa berikut tidak sesuai daftar, sisa tagihan sudah berubah:\rS1 Ani : tidak dibayar, sisa "
        "tagihan Rp.0..\rS3 Citra : tidak dibayar, sisa tagihan Rp.0.."},
       {{"S1", "900000"}, {"S3", "400000"}}},
      {"another fee paid",
       "('D1','BR-TKA20200002','S1',150000)",
       {{"S1", "600000", "Saved"}, {"S3", "300000", "Saved"}},
       {"Proses penyimpanan selesai.."},
       {{"S1", "900000"}, {"S3", "400000"}}},
  };
  const std::string path = WorkFile("keuangan.db3");
  const std::string paid = "select siswaid, sum(masuk) from transaksi where acctid='" + kFee +
                           "' and siswaid in ('S1','S3') group by siswaid order by siswaid";
  const std::string receipt = "select count(*) from transaksi where substr(id,1,22)='" + kStamp + "'";
  Open();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fintest::Exec(gDb, "DELETE FROM transaksi WHERE id like 'D%' or substr(id,1,22)='" + kStamp + "'");
    ChooseFee();
    Click(gForm27PickButton);
    ASSERT_EQ(Cells(gForm27ChosenList, {0, 2}), (Rows{{"S1", "600000"}, {"S3", "300000"}}));
    fintest::OtherProgram desk(path);
    ASSERT_EQ(desk.Write(std::string("INSERT INTO transaksi (id, acctid, siswaid, masuk) VALUES ") + c.otherDesk),
              SQLITE_OK);
    for (const std::string& box : c.boxes) ExpectMsgBox(box, "Info", IDOK, MB_OK | MB_ICONINFORMATION);
    printed().Clear();
    Click(gForm27SaveButton);
    VerifySeams();
    EXPECT_TRUE(sqlite3_get_autocommit(gDb));
    EXPECT_EQ(Cells(gForm27ChosenList, {0, 2, 3}), c.chosen);
    EXPECT_EQ(fintest::RowsInFile(path, paid), c.paidInFile);
    long long stored = 0, total = 0;
    for (const auto& row : c.chosen) {
      if (row[2] == "Saved") ++stored;
      if (row[2] == "Saved") total += std::stoll(row[1]);
    }
    EXPECT_EQ(fintest::RowsInFile(path, receipt), (Rows{{std::to_string(stored)}}));
    EXPECT_EQ(CtlGetText(gForm27TotalEdit), std::to_string(total));
    EXPECT_EQ(Enabled(gForm27SaveButton), stored == 0);
    EXPECT_EQ(Enabled(gForm27PrintReceiptsButton), stored > 0);
    if (stored > 0) {   // one receipt per stored student, for what was stored
      Click(gForm27PrintReceiptsButton);
      ASSERT_EQ(printed().Documents().size(), static_cast<std::size_t>(stored));
      const std::string& last = c.chosen.back()[1];
      EXPECT_EQ(printed().Documents().back().pages[0].Texts()[6],
                "   01 Uang Gedung" + std::string(44, ' ') + "Rp." + std::string(10 - last.size(), '*') + last);
    }
  }
}

// ----- two programs on one file ------------------------------------------------------------------------------------
// Two desks run the class payment of the same class on one file, each in a process of its own: for every yearly fee
// both load the class (every student owing the whole bill), wait until the other has loaded too, and then both save.
// Whichever saves second finds nothing owed any more: every fee is paid once, never above its bill.
constexpr int kDeskFees = 12;
constexpr int kDeskStudents = 10;
std::string DeskFee(int k) { return "BR-TKA2020" + std::string(k < 10 ? "000" : "00") + std::to_string(k); }

class ClassPaymentDeskChild : public ClassPaymentTest {
 protected:
  void SetUp() override {
    if (!fintest::IsDesk()) GTEST_SKIP() << "runs as one of the two desks of ClassPaymentTwoDesks";
  }
};

TEST_F(ClassPaymentDeskChild, PaysEveryFeeOfTheClass) {
  ASSERT_TRUE(fintest::UseDeskDatabase());
  AllowMsgBoxes();
  Open();
  Choose(gForm27KelasCombo, "TK A");
  for (int k = 1; k <= kDeskFees; ++k) {
    Choose(gForm27FeeCombo, DeskFee(k) + "; Iuran " + std::to_string(k));
    Click(gForm27PickButton);
    // A clock of its own per desk and fee: the two receipts never share a stamp.
    SbSetText(gStatusBar, 5, "14:" + std::string(k < 10 ? "0" : "") + std::to_string(k) + ":0" +
                                 std::to_string(fintest::DeskNumber()), 0);
    ASSERT_TRUE(fintest::MeetOtherDesk("loaded-" + std::to_string(k)));
    Click(gForm27SaveButton);
  }
}

TEST(ClassPaymentTwoDesks, TwoProgramsPayingTheSameClassPayEachFeeOnce) {
  if (fintest::IsDesk()) GTEST_SKIP() << "a desk runs no desks of its own";
  fintest::TempDir folder;
  const std::string path = folder.file("keuangan.db3");
  {
    sqlite3* db = fintest::CreateDatabase(path);
    std::string sql;
    for (int i = 1; i <= kDeskStudents; ++i) {
      const std::string id = "S" + std::to_string(i);
      sql += "INSERT INTO siswa (Id, Nama) VALUES ('" + id + "','Siswa " + std::to_string(i) + "');"
             "INSERT INTO siswakelas (IdSiswa, Kelas, Tapel) VALUES ('" + id + "','TK A','2020/2021');";
    }
    for (int k = 1; k <= kDeskFees; ++k) {
      sql += "INSERT INTO account (Id, Pembayaran, Kelas, Jumlah, Type, Tapel, RefRekening) VALUES ('" + DeskFee(k) +
             "','Iuran " + std::to_string(k) + "','TK A'," + std::to_string(100000 * k) +
             ",'Pertahun','2020/2021','412');";
      for (int i = 1; i <= kDeskStudents; ++i)
        sql += "INSERT INTO detail_account (id_account, id_siswa, jml_pembayaran) VALUES ('" + DeskFee(k) + "','S" +
               std::to_string(i) + "'," + std::to_string(100000 * k) + ");";
    }
    fintest::Exec(db, sql);
    sqlite3_close(db);
  }
  EXPECT_TRUE(fintest::RunTwoDesks(path, "ClassPaymentDeskChild.PaysEveryFeeOfTheClass"));
  // Every student has paid every fee exactly once: its bill, never more.
  EXPECT_EQ(fintest::RowsInFile(path, fintest::kBillsNotPaidExactlySql), (Rows{{"0"}}));
  EXPECT_EQ(fintest::RowsInFile(path, "select count(*), sum(masuk) from transaksi"),
            (Rows{{std::to_string(kDeskFees * kDeskStudents),
                   std::to_string(100000LL * kDeskStudents * kDeskFees * (kDeskFees + 1) / 2)}}));
}

TEST_F(ClassPaymentTest, SaveWithoutAFeeWritesNothing) {
  Open();
  ChooseFee();
  Click(gForm27PickButton);
  Choose(gForm27KelasCombo, "VII A");   // the fee combo is emptied, the chosen rows stay
  ExpectMsgBox("Pilih akun pembayaran terlebih dahulu..", "Info");
  Click(gForm27SaveButton);
  VerifySeams();
  EXPECT_TRUE(StoredRows().empty());
  EXPECT_EQ(LvGetItemText(gForm27ChosenList, 0, 3), "Unsaved");
}

TEST_F(ClassPaymentTest, WithoutAClockInTheStatusBarTheComputersClockStamps) {
  CitraOwes();
  SbSetText(gStatusBar, 5, "", 0);
  SetClock(2021, 3, 5, 9, 8, 7);
  Open();
  ChooseFee();
  Click(gForm27PickButton);
  ExpectMsgBox("Proses penyimpanan selesai..", "Info");
  Click(gForm27SaveButton);
  EXPECT_EQ(Query("select count(*) from transaksi where id like '2020202120210305090807_'")[0][0], "2");
}

// A run in which nobody is left to pay stores nothing and says so; "Simpan" stays for a real run.
TEST_F(ClassPaymentTest, ARunWithNobodyToPaySaysNothingWasSaved) {
  struct Case {
    const char* name;
    bool pick;           // "Pilih Siswa " pressed
    int unpick;          // a row whose pick mark is taken off first (-1: none)
  } cases[] = {{"nobody chosen", false, -1}, {"only students who owe nothing picked", true, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Open();
    ChooseFee();
    if (c.unpick >= 0) ClickRow(gForm27StudentList, c.unpick);   // Ani, who owes 600000
    if (c.pick) Click(gForm27PickButton);
    ASSERT_EQ(LvGetItemCount(gForm27ChosenList), 0);
    ExpectMsgBox("Tidak ada siswa yang dibayar, tidak ada yang disimpan..", "Info", IDOK,
                 MB_OK | MB_ICONINFORMATION);   // and no "Proses penyimpanan selesai.."
    Click(gForm27SaveButton);
    VerifySeams();
    EXPECT_EQ(fintest::RowsInFile(WorkFile("keuangan.db3"), "select count(*) from transaksi"), (Rows{{"5"}}));
    EXPECT_TRUE(Enabled(gForm27SaveButton));
    EXPECT_FALSE(Enabled(gForm27PrintReceiptsButton));
    WinDestroyWindow(gForm27Window);
  }
}

// What the save writes comes from what the fee choice read: the posting code, the students' billed amounts and what
// each has paid. A read that fails is shown, is never taken as "paid 0" or "no code", and nothing of that run is
// stored; choosing the fee again once the reads work stores the right amounts.
TEST_F(ClassPaymentTest, AFailedReadStoresNothingOfTheRunAndSaysSo) {
  CitraOwes();
  const std::string path = WorkFile("keuangan.db3");
  struct Case {
    const char* name;
    const char* table;
    const char* column;
    Rows students;   // the student list after the failed read
    const char* ref;
  } cases[] = {
      {"a student's paid sum", "transaksi", "masuk", {{"S1", "Ani", "", "v"}, {"S2", "Budi", "", "v"},
                                                      {"S3", "Citra", "", "v"}}, "412"},
      {"the fee's posting code", "account", "RefRekening", {}, ""},
      {"the billed amounts", "detail_account", "jml_pembayaran", {}, "412"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Open();
    Choose(gForm27KelasCombo, "TK A");
    {
      fintest::ReadDenied denied(gDb, c.table, c.column);
      ExpectMsgBox("SQL error: " + denied.message(), "Info", IDOK, MB_OK);   // once
      Choose(gForm27FeeCombo, kFee + "; Uang Gedung");
      VerifySeams();
    }
    EXPECT_EQ(ListRows(gForm27StudentList), c.students);
    EXPECT_EQ(CtlGetText(gForm27RefLabel), c.ref);
    Click(gForm27PickButton);
    ExpectMsgBox("Data pembayaran siswa kelas ini tidak terbaca lengkap, tidak ada yang disimpan. Pilih ulang akun "
                 "pembayarannya..",
                 "Info", IDOK, MB_OK | MB_ICONINFORMATION);   // and no "Proses penyimpanan selesai.."
    Click(gForm27SaveButton);
    VerifySeams();
    EXPECT_EQ(fintest::RowsInFile(path, "select count(*) from transaksi"), (Rows{{"5"}}));
    EXPECT_FALSE(Enabled(gForm27PrintReceiptsButton));

    // Read again, whole: Ani owes 600000, Citra 300000, with the fee's code.
    Choose(gForm27FeeCombo, kFee + "; Uang Gedung");
    Click(gForm27PickButton);
    ExpectMsgBox("Proses penyimpanan selesai..", "Info");
    Click(gForm27SaveButton);
    VerifySeams();
    EXPECT_EQ(fintest::RowsInFile(path, "select siswaid, masuk, Ref from transaksi where substr(id,1,22)='" + kStamp +
                                            "' order by id"),
              (Rows{{"S1", "600000", "412"}, {"S3", "300000", "412"}}));
    fintest::Exec(gDb, "DELETE FROM transaksi WHERE substr(id,1,22)='" + kStamp + "'");   // the next case anew
    WinDestroyWindow(gForm27Window);
  }
}

TEST_F(ClassPaymentTest, TypedTextCannotWidenTheStatements) {
  fintest::Exec(gDb, "INSERT INTO siswakelas (IdSiswa, Kelas, Tapel) VALUES ('S9','O''Neil','2020/2021');"
                     "INSERT INTO siswa (Id, Nama) VALUES ('S9','Odi');"
                     "INSERT INTO detail_account (id_account, id_siswa, jml_pembayaran) VALUES"
                     " ('BR-O''Neil1','S9',5000);"
                     "INSERT INTO account (Id, Pembayaran, Kelas, Jumlah, Type, Tapel, RefRekening) VALUES"
                     " ('BR-O''Neil1','Buku ''Baru''','O''Neil',5000,'Pertahun','2020/2021','4''1');");
  Open();
  Choose(gForm27KelasCombo, "O'Neil");
  Choose(gForm27FeeCombo, "BR-O'Neil1; Buku 'Baru'");
  EXPECT_EQ(CtlGetText(gForm27RefLabel), "4'1");
  EXPECT_EQ(ListRows(gForm27StudentList), (Rows{{"S9", "Odi", "5000", "v"}}));
  Click(gForm27PickButton);
  ExpectMsgBox("Proses penyimpanan selesai..", "Info");
  Click(gForm27SaveButton);
  EXPECT_EQ(Query("select uraian, acctid, Ref from transaksi where siswaid='S9'"),
            (Rows{{"Buku 'Baru'", "BR-O'Neil1", "4'1"}}));
}

TEST_F(ClassPaymentTest, ReceiptsOnePerSavedStudent) {
  CitraOwes();
  Open();
  ChooseFee();
  Click(gForm27PickButton);
  ExpectMsgBox("Proses penyimpanan selesai..", "Info");
  Click(gForm27SaveButton);
  Click(gForm27PrintReceiptsButton);
  const auto& docs = printed().Documents();
  ASSERT_EQ(docs.size(), 2u);   // Ani and Citra; Budi owes nothing and gets no receipt
  for (const auto& d : docs) {
    EXPECT_EQ(d.name, "Struk");
    EXPECT_TRUE(d.ended);
    EXPECT_EQ(d.pages.size(), 1u);
  }
  EXPECT_EQ(docs[0].pages[0].Lines(), ReadLines(FIN_SOURCE_DIR "/tests/payments/expected/class_receipt_ani.txt"));
  const auto citra = docs[1].pages[0].Texts();
  EXPECT_EQ(citra[4], "   Nama Siswa : Citra; Kls : TK A");
  EXPECT_EQ(citra[6], "   01 Uang Gedung" + std::string(44, ' ') + "Rp.****300000");
  EXPECT_EQ(citra[10], "   " + FinSpellNumber(300000));
  // Another printer kind takes a step of 300.
  gPrinterKind = 1;
  printed().Clear();
  Click(gForm27PrintReceiptsButton);
  ASSERT_EQ(printed().Documents().size(), 2u);
  EXPECT_EQ(printed().Documents()[0].pages[0].calls.back().page.y, 18 * 300);
}

TEST_F(ClassPaymentTest, ReceiptLayoutFunctions) {
  EXPECT_EQ(FORM27_ReceiptStep(0), 150);
  EXPECT_EQ(FORM27_ReceiptStep(-1), 150);
  EXPECT_EQ(FORM27_ReceiptStep(1), 300);
  Form27Receipt r;
  r.feeName = std::string(60, 'x');   // longer than its column: no blanks
  r.amount = "12345678901";           // more than ten characters: no stars
  const auto lines = FORM27_ReceiptLines(r);
  ASSERT_EQ(lines.size(), 18u);
  EXPECT_EQ(lines[6], "   01 " + std::string(60, 'x') + "Rp.12345678901");
  EXPECT_EQ(lines[15], "");
}

TEST_F(ClassPaymentTest, ComputationsOnTheirOwn) {
  struct Split {
    const char* item;
    const char* id;
    const char* name;
  } splits[] = {{"BR-1; Uang Gedung", "BR-1", "Uang Gedung"},
                {"BR-1;", "BR-1", ""},
                {"BR-1", "BR-1", ""},
                {"", "", ""},
                {"BR-1; a; b", "BR-1", "a; b"}};
  for (const Split& s : splits) {
    EXPECT_EQ(FORM27_SplitFeeItem(s.item).id, s.id) << s.item;
    EXPECT_EQ(FORM27_SplitFeeItem(s.item).name, s.name) << s.item;
  }
  EXPECT_EQ(FORM27_Owed("900000", "300000"), 600000);
  EXPECT_EQ(FORM27_Owed("", "100000"), -100000);
  EXPECT_EQ(FORM27_Owed("900000", ""), 900000);
  EXPECT_EQ(FORM27_Owed("9000000000000", "1"), 8999999999999LL);
  EXPECT_EQ(FORM27_Total({"600000", "0", "-100000", ""}), 500000);
  EXPECT_EQ(FORM27_Stamp("2020/2021", "2021-03-05", "14:03:09"), kStamp);
  EXPECT_EQ(kStamp.size(), 22u);
  EXPECT_EQ(FORM27_Words(0), FinSpellNumber(0));
  EXPECT_EQ(FORM27_Words(999999999), FinSpellNumber(999999999));
  EXPECT_EQ(FORM27_Words(1000000000), "");
  EXPECT_EQ(FORM27_Words(-1000000000), "");
  Form27PaymentRow row{"X1", "2021-03-05", "a'b", "F", "S", 5, "o'p", "r"};
  EXPECT_EQ(FORM27_InsertSql(row),
            "INSERT INTO transaksi (id,tgl,uraian,acctid,siswaid,masuk,keluar,petugas,sts,jenjang,Ref) VALUES "
            "('X1','2021-03-05','a''b','F','S','5','0','o''p','p','-','r')");
}

TEST_F(ClassPaymentTest, CetakDaftarPrintsTheStudentListUnderTheFeeName) {
  std::filesystem::copy_file(std::string(FIN_BINARY_DIR) + "/tests/plugins/libfin_plugin_recorder.so",
                             ProgramFile("libtablepage.so"));
  setenv("FIN_PLUGIN_RECORD", WorkFile("record.txt").c_str(), 1);
  Open();
  ChooseFee();
  ClickRow(gForm27StudentList, 1);
  Click(gForm27PrintListButton);
  EXPECT_EQ(fintest::ReadFile(WorkFile("record.txt")),
            "DAFTAR PEMBAYARAN UANG GEDUNG;SD Harapan;Jl. Merdeka 5;clrc\n"
            "Id;Nama Siswa;Jumlah;Pilih\n"
            "S1,Ani,600000,v;S2,Budi,0,;S3,Citra,-100000,v\n");
}

}  // namespace
