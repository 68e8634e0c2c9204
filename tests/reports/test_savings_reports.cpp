// The savings reports: the chooser FORM18 driven as the operator does (report, dates, class, "Cetak" / "Batal"),
// each of the seven reports built into a new viewer FORM19 from savings rows across two months, the balance rule,
// the statements, failing statements, and the viewer's two exports.
#include <gtest/gtest.h>

#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/globals.h"
#include "common/globals.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/window_system.h"
#include "reports/report_fixture.h"
#include "reports/savings_report_viewer.h"
#include "reports/savings_reports.h"
#include "support/operator.h"

namespace {

// Four students (three in 7A, one in 8A of 2024/2025; one class of the year before) and their savings in August
// and September 2024, printed ('-') and not ('t'); a payment row that is no savings row.
const char kSavings[] =
    "INSERT INTO siswa (Id, Nama, LP) VALUES ('S1','Ani','P'), ('S2','Budi','L'), ('S3','Citra','P'),"
    " ('S4','Dodi','L');"
    "INSERT INTO siswakelas (Kode, IdSiswa, Kelas, Tapel) VALUES ('k1','S1','7A','2024/2025'),"
    " ('k2','S2','7A','2024/2025'), ('k3','S3','7A','2024/2025'), ('k4','S4','8A','2024/2025'),"
    " ('k5','S1','6A','2023/2024');"
    "INSERT INTO transaksi (id, tgl, uraian, acctid, siswaid, masuk, keluar, petugas, sts, jenjang, Ref) VALUES"
    " ('S1a','2024-08-05','01-Setoran Tunai','Tabungan','S1',100000,0,'ani','-','-','1-1'),"
    " ('S2a','2024-07-20','01-Setoran Tunai','Tabungan','S2',800000,0,'ani','-','-','1-1'),"
    " ('S1b','2024-09-02','01-Setoran Tunai','Tabungan','S1',50000,0,'ani','t','-','1-2'),"
    " ('S1c','2024-09-02','02-Penarikan Tunai','Tabungan','S1',0,30000,'ani','t','-','1-3'),"
    " ('S2b','2024-09-02','01-Setoran Tunai','Tabungan','S2',200000,0,'ani','t','-','1-2'),"
    " ('P1','2024-09-02','SPP September','SPP7A','S1',150000,0,'ani','p','-','411'),"
    " ('S4a','2024-09-03','04-Biaya Rupa-Rupa','Tabungan','S4',0,5000,'ani','t','-','1-1'),"
    " ('S4b','2024-09-04','05','Tabungan','S4',1000,0,'ani','t','-','1-2'),"
    " ('S2c','2024-09-05','02-Penarikan utk pembayaran','Tabungan','S2',0,900000,'ani','t','-',NULL),"
    " ('S1d','2024-09-10','03-Hadiah','Tabungan','S1',1500000,0,'ani','t','-','1-4');";

class SavingsReportTest : public fintest::ReportTest {
 protected:
  SavingsReportTest() {
    gForm19List = gForm19TitleLabel = 0;
    fintest::Exec(gDb, kSavings);
  }
  ~SavingsReportTest() override {
    if (IsWindow(gForm18Window)) WinDestroyWindow(gForm18Window);
    gForm19List = gForm19TitleLabel = 0;
  }

  // Opens the chooser and, inside its loop, picks report `n`, the dates (empty: as loaded) and the class, then
  // presses "Cetak". Returns the new viewer's list; its title is in `title`.
  Hwnd Build(int n, const std::string& start = "2024-09-01", const std::string& end = "2024-09-30",
             const std::string& kelas = "7A") {
    OnModal([&](QWidget*) {
      QTest::mouseClick(WinWidget(gForm18Report[n - 1]), Qt::LeftButton);
      if (!start.empty()) DtpSetDate(gForm18StartDate, start);
      if (!end.empty()) DtpSetDate(gForm18EndDate, end);
      CbSetCurSel(gForm18KelasCombo, CbFindStringExact(gForm18KelasCombo, -1, kelas));
      QTest::mouseClick(WinWidget(gForm18PrintButton), Qt::LeftButton);
    });
    EXPECT_EQ(FORM18_Show(gMdiClient, 1, 0), 0);
    EXPECT_FALSE(IsWindow(gForm18Window));
    Keep(gForm19Window);
    return gForm19List;
  }
  static std::string Title() { return CtlGetText(gForm19TitleLabel); }
};

TEST(SavingsReportRules, BalanceColumns) {
  struct Case {
    const char *masuk, *keluar, *saldo;
    const char *awal, *nilai, *akhirTexts, *akhirComputed;
  } cases[] = {
      {"50000", "0", "1620000", "1570000", "50000", "1620000", "1620000"},   // deposit
      {"0", "30000", "1620000", "1650000", "-30000", "1620000", "1620000"},  // withdrawal
      {"200000", "0", "100000", "0", "200000", "200000", "200000"},          // deposit above the balance
      {"1000", "0", "1000", "0", "1000", "1000", "1000"},                    // s = m
      {"0", "5000", "-4000", "1000", "-5000", "-4000", "-4000"},
      {"0", "0", "", "0", "0", "", ""},
      {"-20000", "", "300", "300", "0", "300", "300"},   // a negative Masuk counts as a withdrawal
      {"000050", "0", "80", "30", "000050", "80", "80"},
  };
  for (const Case& c : cases) {
    const SavingsBalanceCells t = FinSavingsBalanceCells(c.masuk, c.keluar, c.saldo, false);
    const SavingsBalanceCells n = FinSavingsBalanceCells(c.masuk, c.keluar, c.saldo, true);
    EXPECT_EQ(t.saldoAwal, c.awal) << c.masuk << "/" << c.keluar << "/" << c.saldo;
    EXPECT_EQ(t.nilaiTrans, c.nilai) << c.masuk;
    EXPECT_EQ(t.saldoAkhir, c.akhirTexts) << c.masuk;
    EXPECT_EQ(n.saldoAwal, c.awal) << c.masuk;
    EXPECT_EQ(n.saldoAkhir, c.akhirComputed) << c.masuk;
  }
}

TEST(SavingsReportRules, StatementsAndTitle) {
  // Each listed student's balance is computed once, before the rows.
  EXPECT_EQ(FinSavingsDailySql("2024-09-02"),
            "with saldo(id, sld) as materialized (select siswaid, sum(masuk-keluar) from transaksi where "
            "AcctID='Tabungan' and siswaid in (select siswaid from transaksi where tgl='2024-09-02'and "
            "AcctID='Tabungan') group by siswaid) select siswaid, nama, uraian, masuk, keluar, (select sld from saldo "
            "where saldo.id=siswa.id) as sld from transaksi inner join siswa on siswaid=siswa.id where "
            "tgl='2024-09-02'and AcctID='Tabungan' order by siswaid, transaksi.rowid");
  EXPECT_EQ(FinSavingsRecapSql("2024-09-01", "2024-09-30"),
            "select Uraian, sum(masuk-keluar) from transaksi where AcctID='Tabungan' and tgl between '2024-09-01' "
            "and '2024-09-30' Group By Uraian order by Uraian ");
  EXPECT_EQ(FinSavingsClassSql("7'A", "2024/2025"),
            "select id, nama, lp, kelas, (select sum(masuk-keluar) from transaksi where siswaid=siswa.id and "
            "AcctID='Tabungan') as sld from siswa inner join siswakelas on siswakelas.idsiswa=siswa.id where "
            "siswakelas.kelas='7''A' and siswakelas.tapel='2024/2025'");
  EXPECT_NE(FinSavingsDepositsSql("a'", "b").find("between 'a''' and 'b'"), std::string::npos);
  EXPECT_NE(FinSavingsWithdrawalsSql("a", "b'").find("between 'a' and 'b'''"), std::string::npos);
  EXPECT_NE(FinSavingsHistorySql("x'", "y").find("between 'x''' and 'y'"), std::string::npos);
  EXPECT_EQ(FinSavingsDailyTitle("2025-01-07"), "LAPORAN TRANSAKSI HARI INI TANGGAL : 07-01-2025");
}

TEST_F(SavingsReportTest, ChooserAsLoaded) {
  OnModal([](QWidget*) {
    EXPECT_EQ(CtlGetText(gForm18Window), "Laporan Tabungan");
    EXPECT_EQ(BtnIsChecked(gForm18Report[0]), 1);
    for (int i = 1; i < 7; ++i) EXPECT_EQ(BtnIsChecked(gForm18Report[i]), 0) << i;
    EXPECT_EQ(CtlGetText(gForm18Report[6]), "Laporan 7 : Laporan Tabungan Perkelas");
    EXPECT_EQ(CtlGetText(gForm18StartDate), "2024-09-01");   // first day of the clock's month
    EXPECT_EQ(CtlGetText(gForm18EndDate), "2024-09-02");     // today
    EXPECT_EQ(CtlGetToolTip(gForm18StartDate), "Pilih tanggal awal pelaporan");
    EXPECT_EQ(CtlGetToolTip(gForm18EndDate), "Pilih tanggal akhir pelaporan");
    EXPECT_EQ(CbGetCount(gForm18KelasCombo), 3);
    EXPECT_EQ(CtlGetText(gForm18KelasCombo), "6A");
    EXPECT_EQ(CbGetItemText(gForm18KelasCombo, 2), "8A");
    EXPECT_EQ(WinGetFocus(), gForm18KelasCombo);
    QTest::mouseClick(WinWidget(gForm18CancelButton), Qt::LeftButton);
  });
  EXPECT_EQ(FORM18_Show(gMdiClient, 1, 0), 0);
  EXPECT_FALSE(IsWindow(gForm18Window));
  EXPECT_EQ(gForm19Window, 0);   // "Batal" opens no viewer
}

// The two date fields one after the other: Tab and Shift+Tab go from one to the other and on at once, whichever part
// of a date is marked; Up and Down change the marked part of the field that has the focus.
TEST_F(SavingsReportTest, TabGoesFromDateFieldToDateFieldAndTheArrowsChangeTheMarkedPart) {
  using fintest::kBackTab, fintest::kDown, fintest::kTab, fintest::kUp;
  struct Case {
    const char* what;
    Hwnd* from;
    std::vector<fintest::Key> keys;
    Hwnd* to;
    const char *start, *end;
  } cases[] = {
      {"Tab from the first date", &gForm18StartDate, {kTab}, &gForm18EndDate, "2024-09-01", "2024-09-02"},
      {"Tab over both dates", &gForm18StartDate, {kTab, kTab}, &gForm18KelasCombo, "2024-09-01", "2024-09-02"},
      {"Shift+Tab over both dates", &gForm18KelasCombo, {kBackTab, kBackTab}, &gForm18StartDate, "2024-09-01",
       "2024-09-02"},
      {"arrows in each date", &gForm18StartDate, {kUp, kTab, kDown}, &gForm18EndDate, "2025-09-01", "2023-09-02"},
      {"arrows on the last parts", &gForm18KelasCombo, {kBackTab, kUp, kBackTab, kUp}, &gForm18StartDate,
       "2024-09-02", "2024-09-03"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    OnModal([&](QWidget*) {
      CtlSetFocus(*c.from);
      fintest::PressKeys(c.keys);
      EXPECT_EQ(WinGetFocus(), *c.to);
      EXPECT_EQ(CtlGetText(gForm18StartDate), c.start);
      EXPECT_EQ(CtlGetText(gForm18EndDate), c.end);
      QTest::mouseClick(WinWidget(gForm18CancelButton), Qt::LeftButton);
    });
    EXPECT_EQ(FORM18_Show(gMdiClient, 1, 0), 0);
    EXPECT_FALSE(IsWindow(gForm18Window));
  }
}

TEST_F(SavingsReportTest, Report1TodaysTransactions) {
  SetClock(2024, 9, 3, 0, 5, 0);   // run past midnight since login: the title shows the clock's day
  const Hwnd list = Build(1);
  EXPECT_EQ(Title(), "LAPORAN TRANSAKSI HARI INI TANGGAL : 03-09-2024");
  ExpectMatchesFile(Dump(list), "savings_1_today.txt");
}

TEST_F(SavingsReportTest, Report1WithoutRowsToday) {
  gToday = "2024-09-20";
  const Hwnd list = Build(1);
  EXPECT_EQ(Dump(list),
            "No.(c) | No. Rekening(c) | Nama(l) | Transaksi(l) | Saldo Awal Rp.(r) | Nilai Trans Rp.(r) | "
            "Saldo Akhir Rp.(r)\n"
            " |  |  |     JUMLAH  | 0 | 0 | \n");
}

TEST_F(SavingsReportTest, Report2BalancesOfTheSavers) {
  const Hwnd list = Build(2);
  EXPECT_EQ(Title(), "LAPORAN SALDO NASABAH");
  EXPECT_EQ(Dump(list),
            "N(l) | ID(l) | NAMA(l) | SALDO(c)\n"
            "1 | S1 | Ani | 1620000\n"
            "2 | S2 | Budi | 100000\n"
            " |  |     JUMLAH  | 1720000\n");
}

TEST_F(SavingsReportTest, Report2WithoutSavers) {
  fintest::Exec(gDb, "DELETE FROM transaksi WHERE acctid='Tabungan'");
  const Hwnd list = Build(2);
  EXPECT_EQ(LvGetColumnCount(list), 0);
  EXPECT_EQ(LvGetItemCount(list), 1);   // the totals row exists but shows nothing
  EXPECT_EQ(LvGetItemText(list, 0, 0), "");
}

TEST_F(SavingsReportTest, Report3DepositsInTheRange) {
  const Hwnd list = Build(3);
  EXPECT_EQ(Title(), "LAPORAN SALDO MASUK PER TANGGAL : 2024-09-01 S/D 2024-09-30");
  ExpectMatchesFile(Dump(list), "savings_3_deposits.txt");
}

TEST_F(SavingsReportTest, Report4WithdrawalsInTheRange) {
  const Hwnd list = Build(4);
  EXPECT_EQ(Title(), "LAPORAN SALDO KELUAR PER TANGGAL : 2024-09-01 S/D 2024-09-30");
  ExpectMatchesFile(Dump(list), "savings_4_withdrawals.txt");
}

TEST_F(SavingsReportTest, Reports3And4WithoutRows) {
  Hwnd list = Build(3, "2024-09-30", "2024-09-01");   // start after end: no rows
  EXPECT_EQ(Title(), "LAPORAN SALDO MASUK PER TANGGAL : 2024-09-30 S/D 2024-09-01");
  EXPECT_EQ(LvGetItemCount(list), 1);
  EXPECT_EQ(Dump(list).substr(Dump(list).find('\n') + 1), " |  |  |  |     JUMLAH  | \n");
  list = Build(4, "2024-06-01", "2024-06-30");
  EXPECT_EQ(Title(), "");
  EXPECT_EQ(Dump(list).substr(Dump(list).find('\n') + 1), " |  |  |  |     JUMLAH  | 0\n");
}

TEST_F(SavingsReportTest, Report5RecapPerTransactionText) {
  const Hwnd list = Build(5, "2024-08-01", "2024-09-30");
  EXPECT_EQ(Title(), "REKAP TABUNGAN NASABAH PER TANGGAL : 2024-08-01 S/D 2024-09-30");
  ExpectMatchesFile(Dump(list), "savings_5_recap.txt");
}

TEST_F(SavingsReportTest, Report6History) {
  const Hwnd list = Build(6);
  EXPECT_EQ(Title(), "LAPORAN HISTORY TRANSAKSI PER TANGGAL : 2024-09-01 S/D 2024-09-30");
  ExpectMatchesFile(Dump(list), "savings_6_history.txt");
}

TEST_F(SavingsReportTest, Report7PerClass) {
  Hwnd list = Build(7, "", "", "7A");
  EXPECT_EQ(Title(), "LAPORAN TABUNGAN SISWA KELAS : 7A TAPEL : 2024/2025");
  ExpectMatchesFile(Dump(list), "savings_7_class.txt");
  list = Build(7, "", "", "8A");   // a negative balance shows 0
  EXPECT_EQ(Dump(list).substr(Dump(list).find('\n') + 1), "1 | S4 | Dodi | L | 8A | 0\n |  |     JUMLAH  |  |  | 0\n");
  list = Build(7, "", "", "6A");   // a class of another school year: no students in gTapel
  EXPECT_EQ(Title(), "LAPORAN TABUNGAN SISWA KELAS : 6A TAPEL : 2024/2025");
  EXPECT_EQ(LvGetItemCount(list), 1);
}

TEST_F(SavingsReportTest, EveryCetakOpensANewViewer) {
  const Hwnd first = Build(2);
  const Hwnd firstViewer = gForm19Window;
  const Hwnd second = Build(5);
  EXPECT_NE(first, second);
  EXPECT_TRUE(IsWindow(firstViewer));
  EXPECT_EQ(LvGetColumnText(first, 3), "SALDO");   // the older viewer keeps its report
  EXPECT_EQ(LvGetColumnText(second, 3), "Jumlah Rp.");
}

TEST_F(SavingsReportTest, AFailingStatementLeavesTheReportWithoutRows) {
  fintest::Exec(gDb, "DROP TABLE siswa");
  ExpectMsgBox("SQL error: no such table: siswa", "Info", IDOK);
  Hwnd list = Build(6);
  EXPECT_EQ(Dump(list).substr(Dump(list).find('\n') + 1), " |  |  |  |     JUMLAH  | 0 | 0 | \n");
  ExpectMsgBox("SQL error: no such table: siswa", "Info", IDOK);
  list = Build(2);
  EXPECT_EQ(LvGetItemCount(list), 1);
}

TEST_F(SavingsReportTest, ViewerExportsItsOwnReport) {
  const Hwnd older = Build(4);
  const Hwnd olderViewer = gForm19Window;
  Build(7, "", "", "7A");
  const Hwnd newerViewer = gForm19Window;
  EXPECT_EQ(CtlGetText(newerViewer), "Laporan Tabungan");

  InstallRecorder("libtablepage.so");
  QTest::mouseClick(WinWidget(WinGetDlgItem(olderViewer, gForm19PrintId)), Qt::LeftButton);
  EXPECT_EQ(Record(),
            "LAPORAN SALDO KELUAR PER TANGGAL : 2024-09-01 S/D 2024-09-30;SD Harapan;Jl. Merdeka 5;cccllr\n"
            "No.;Tanggal;No. Rekening;Nama;Transaksi;Jumlah Rp.\n"
            "1,2024-09-02,S1,Ani,02-Penarikan Tunai,30.000;2,2024-09-03,S4,Dodi,04-Biaya Rupa-Rupa,5.000;"
            "3,2024-09-05,S2,Budi,02-Penarikan utk pembayaran,900.000;,,,,    JUMLAH ,935.000\n");

  InstallRecorder("libtablesheet.so", true);
  QTest::mouseClick(WinWidget(WinGetDlgItem(newerViewer, gForm19XlsId)), Qt::LeftButton);
  EXPECT_EQ(gTargetListView, gForm19List);
  EXPECT_EQ(Record(),
            "4\n6\nNo.,Id. Siswa,Nama,Gender?,Kelas,Saldo Tabungan;1,S1,Ani,P,7A,1620000;2,S2,Budi,L,7A,100000;"
            "3,S3,Citra,P,7A,0;,,    JUMLAH ,,,1720000\n");

  // The newest viewer gone, the older one still exports its own list.
  WinDestroyWindow(newerViewer);
  InstallRecorder("libtablesheet.so", true);
  QTest::mouseClick(WinWidget(WinGetDlgItem(olderViewer, gForm19XlsId)), Qt::LeftButton);
  EXPECT_EQ(gTargetListView, older);
  EXPECT_EQ(Record().substr(0, 5), "4\n6\nN");
}

TEST_F(SavingsReportTest, EmptyTitleGivesAPageWithAnEmptyTitle) {
  Build(4, "2024-06-01", "2024-06-30");
  InstallRecorder("libtablepage.so");
  FORM19_PrintToBrowser(0);
  EXPECT_EQ(Record().substr(0, Record().find('\n')), ";SD Harapan;Jl. Merdeka 5;cccllr");
}

}  // namespace
