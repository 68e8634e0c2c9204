// The school financial report FORM8 driven from its toolbar: the report period of the school year, the global and
// the detailed report of a small ledger (opening balance, income, discounts, expenses, closing balance), the edge
// months, a database without movements, failing statements, several windows and the two exports.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/globals.h"
#include "common/globals.h"
#include "framework/controls.h"
#include "framework/window_system.h"
#include "reports/financial_report_window.h"
#include "reports/report_fixture.h"

namespace {

// Ledger accounts of 2024/2025 (two banks, three income, two expense accounts; one of another year) and the
// movements around the report month September 2024.
const char kLedger[] =
    "INSERT INTO rekening (Kode, Deskripsi, Grup, Tapel) VALUES"
    " ('111','Bank BRI','Bms','2024/2025'), ('112','Bank Mandiri','Bms','2024/2025'),"
    " ('411','SPP','Msk','2024/2025'), ('412','Sumbangan','Msk','2024/2025'), ('413','Uang Kegiatan','Msk','2024/2025'),"
    " ('511','Listrik','Klr','2024/2025'), ('512','Gaji Guru','Klr','2024/2025'),"
    " ('419','Lain-lain','Msk','2023/2024');"
    "INSERT INTO transaksi (id, tgl, uraian, acctid, siswaid, masuk, keluar, petugas, sts, jenjang, Ref) VALUES"
    // cash before the report month
    " ('INC0','2024-06-15','Saldo tahun lalu','-','-',2000000,0,'ani','k','-','412'),"
    " ('P1','2024-07-15','SPP Juli','SPP7A','S1',150000,0,'ani','p','-','411'),"
    " ('INC1','2024-08-10','Sumbangan komite','-','-',500000,0,'ani','k','-','412'),"
    " ('D1','2024-08-15','Potongan Pembayaran','Disc','S1',-25000,0,'ani','p','-',''),"
    " ('EXP1','2024-08-20','Listrik Agustus','-','-',0,200000,'ani','k','-','511'),"
    " ('B0','2024-08-31','Setoran bank','-','-',1000000,0,'ani','b','-','111'),"
    // the report month
    " ('P2','2024-09-02','SPP September','SPP7A','S1',150000,0,'ani','p','-','411'),"
    " ('D2','2024-09-02','Potongan Pembayaran','Disc','S1',-20000,0,'ani','p','-',''),"
    " ('P3','2024-09-03','SPP September','SPP7A','S2',175000,0,'ani','p','-','411'),"
    " ('B1','2024-09-05','Transfer masuk','-','-',300000,0,'ani','b','-','111'),"
    " ('B2','2024-09-10','Tarik tunai','-','-',0,80000,'ani','b','-','112'),"
    " ('INC2','2024-09-15','Sumbangan alumni','-','-',40000,10000,'ani','k','-','412'),"
    " ('B3','2024-09-20','Biaya admin','-','-',0,50000,'ani','b','-','111'),"
    " ('EXP2','2024-09-25','Gaji September','-','-',0,1500000,'ani','k','-','512'),"
    " ('EXP3','2024-09-30','Listrik September','-','-',0,250000,'ani','k','-','511'),"
    // after it
    " ('P4','2024-10-01','SPP Oktober','SPP7A','S1',150000,0,'ani','p','-','411'),"
    " ('D3','2024-10-01','Potongan Pembayaran','Disc','S1',-5000,0,'ani','p','-',''),"
    // savings: up to the end of the report month they count, whatever their Sts
    " ('S1a','2024-08-05','01-Setoran Tunai','Tabungan','S1',100000,0,'ani','-','-','1-1'),"
    " ('S1b','2024-09-10','01-Setoran Tunai','Tabungan','S1',50000,0,'ani','-','-','1-2'),"
    " ('S1c','2024-09-12','02-Penarikan Tunai','Tabungan','S1',0,30000,'ani','t','-','1-3'),"
    " ('S1d','2024-10-01','01-Setoran Tunai','Tabungan','S1',70000,0,'ani','t','-','1-4'),"
    " ('S2a','2024-07-20','01-Setoran Tunai','Tabungan','S2',200000,0,'ani','t','-','1-1');";

class FinancialReportTest : public fintest::ReportTest {
 protected:
  FinancialReportTest() {
    gReportMode = 0;
    gForm8List = 0;
    fintest::Exec(gDb, kLedger);
  }
  ~FinancialReportTest() override {
    gReportMode = 0;
    gForm8List = 0;
  }
  Hwnd Open() {
    const Hwnd w = static_cast<Hwnd>(FORM8_Show(gMdiClient, 1, 0));
    Keep(w);
    return w;
  }
  static Hwnd ListOf(Hwnd w) { return WinGetDlgItem(w, gForm8ListId); }
  static Hwnd ToolbarOf(Hwnd w) { return WinGetDlgItem(WinGetDlgItem(w, gForm8RebarId), gForm8ToolbarId); }
  static void Click(Hwnd w, int id) { ASSERT_EQ(TbClickButton(ToolbarOf(w), id), 1) << id; }
  // Column `col` of the first row whose "Uraian" is `label`.
  static std::string Cell(Hwnd list, const std::string& label, int col) {
    for (int r = 0; r < LvGetItemCount(list); ++r)
      if (LvGetItemText(list, r, 1) == label) return LvGetItemText(list, r, col);
    return "<no row " + label + ">";
  }
};

TEST(FinancialReportPeriod, MonthsOfTheSchoolYear) {
  struct Case {
    int month;
    const char *year, *mm, *cashEnd;
  } cases[] = {
      {7, "2024", "07", "2024-06-01"},  {8, "2024", "08", "2024-07-01"},  {9, "2024", "09", "2024-08-01"},
      {12, "2024", "12", "2024-11-01"}, {1, "2025", "01", "2024-12-31"},  {2, "2025", "02", "2025-01-01"},
      {6, "2025", "06", "2025-05-01"},
  };
  for (const Case& c : cases) {
    const FinReportPeriod p = FinFinancialReportPeriod(c.month, "2024/2025");
    EXPECT_EQ(p.year, c.year) << c.month;
    EXPECT_EQ(p.month, c.mm) << c.month;
    EXPECT_EQ(p.monthKey, std::string(c.year) + "-" + c.mm) << c.month;
    EXPECT_EQ(p.cashEnd, c.cashEnd) << c.month;
  }
}

TEST(FinancialReportPeriod, StatementsKeepTheirTextsAndQuoteEveryValue) {
  const FinReportPeriod p = FinFinancialReportPeriod(9, "2024/2025");
  EXPECT_EQ(FinReportCashSql(p),
            "select Sum(Masuk-Keluar)from transaksi where AcctID<>'Tabungan' and Tgl between '1900-07-01' and "
            "date('2024-08-01','start of month','+1 month','-1 day')");
  EXPECT_EQ(FinReportSavingsSql(p),
            "select Sum(Masuk-Keluar)from transaksi where AcctID='Tabungan' and Tgl between '1900-07-01' and "
            "date('2024-09-01','start of month','+1 month','-1 day')");
  // The month's rows: every Tgl beginning with "2024-09", as a range over the indexes on tgl.
  const std::string month = "(Tgl >= '2024-09' AND Tgl < '2024-09\xF4\x8F\xBF\xBF')";
  EXPECT_EQ(FinReportDiscountSql(p), "select Sum(Masuk) As jml from transaksi WHERE AcctId='Disc' and " + month);
  EXPECT_EQ(FinReportAccountsSql("Bms", "2024/2025"),
            "select Kode, Deskripsi, Grup from rekening WHERE Grup='Bms' And Tapel='2024/2025'");
  EXPECT_EQ(FinReportAccountRowsSql("4'1", p),
            "select Tgl, Uraian, Masuk, Keluar, Sts from transaksi WHERE Ref='4''1' and " + month);
  EXPECT_EQ(FinReportAccountNetSql("411", p), "select Sum(Masuk-Keluar)from transaksi where Ref='411' And " + month);
  EXPECT_EQ(FinReportAccountsSql("Msk", "x' or '1'='1"),
            "select Kode, Deskripsi, Grup from rekening WHERE Grup='Msk' And Tapel='x'' or ''1''=''1'");
}

TEST_F(FinancialReportTest, OpensEmptyAndBuildsTheGlobalReport) {
  const Hwnd w = Open();
  ASSERT_NE(w, 0);
  EXPECT_EQ(CtlGetText(w), "Laporan Keuangan Sekolah");
  EXPECT_EQ(gForm8List, ListOf(w));
  EXPECT_EQ(LvGetColumnCount(ListOf(w)), 0);
  EXPECT_EQ(LvGetItemCount(ListOf(w)), 0);
  for (int id : {gForm8GlobalId, gForm8DetailId, gForm8ExcelId, gForm8BrowserId, gForm8RefreshId})
    EXPECT_FALSE(TbGetButtonTip(ToolbarOf(w), id).empty());
  EXPECT_EQ(TbGetButtonTip(ToolbarOf(w), gForm8GlobalId), "Lap. Global");
  EXPECT_EQ(TbGetButtonTip(ToolbarOf(w), gForm8BrowserId), "Print to browser");

  Click(w, gForm8GlobalId);
  EXPECT_EQ(gReportMode, 1);
  EXPECT_EQ(gTargetListView, ListOf(w));
  ExpectMatchesFile(Dump(ListOf(w)), "financial_global_sep.txt");
}

TEST_F(FinancialReportTest, BuildsTheDetailedReport) {
  const Hwnd w = Open();
  Click(w, gForm8GlobalId);
  Click(w, gForm8DetailId);
  EXPECT_EQ(gReportMode, 0);
  ExpectMatchesFile(Dump(ListOf(w)), "financial_detail_sep.txt");
}

TEST_F(FinancialReportTest, RefreshRebuildsInTheModeOfTheReportTheWindowShows) {
  const Hwnd a = Open();
  Click(a, gForm8RefreshId);   // nothing chosen in the run: detailed
  const std::string detailed = Dump(ListOf(a));
  EXPECT_NE(detailed.find("Jumlah Sub SPP"), std::string::npos);
  Click(a, gForm8RefreshId);
  EXPECT_EQ(Dump(ListOf(a)), detailed);   // rebuilt from scratch, nothing piles up

  // Another window's choice leaves the report of this one as it is.
  const Hwnd b = Open();
  Click(b, gForm8GlobalId);
  const std::string global = Dump(ListOf(b));
  Click(a, gForm8RefreshId);
  EXPECT_EQ(Dump(ListOf(a)), detailed);
  EXPECT_EQ(gReportMode, 1);   // the mode chosen last stays
  Click(a, gForm8GlobalId);
  Click(b, gForm8DetailId);
  Click(a, gForm8RefreshId);
  EXPECT_EQ(Dump(ListOf(a)), global);
  EXPECT_EQ(Cell(ListOf(a), "Jumlah Saldo Bank", 3), "170.000");
  // A window that shows no report yet takes the mode chosen last.
  const Hwnd c = Open();
  Click(c, gForm8RefreshId);
  EXPECT_EQ(Dump(ListOf(c)), detailed);
}

TEST_F(FinancialReportTest, EachWindowBuildsIntoItsOwnList) {
  const Hwnd older = Open();
  const Hwnd newer = Open();
  EXPECT_EQ(gForm8List, ListOf(newer));
  Click(older, gForm8GlobalId);
  EXPECT_GT(LvGetItemCount(ListOf(older)), 0);
  EXPECT_EQ(LvGetItemCount(ListOf(newer)), 0);
  EXPECT_EQ(gForm8List, ListOf(older));
  WinDestroyWindow(older);
  EXPECT_EQ(gForm8List, 0);
  Click(newer, gForm8DetailId);
  EXPECT_EQ(gForm8List, ListOf(newer));
  EXPECT_GT(LvGetItemCount(ListOf(newer)), 0);
}

TEST_F(FinancialReportTest, NoMovementsAtAll) {
  fintest::Exec(gDb, "DELETE FROM transaksi");
  const Hwnd w = Open();
  Click(w, gForm8GlobalId);
  ExpectMatchesFile(Dump(ListOf(w)), "financial_global_empty.txt");
  Click(w, gForm8DetailId);
  ExpectMatchesFile(Dump(ListOf(w)), "financial_detail_empty.txt");
}

TEST_F(FinancialReportTest, JanuaryCountsCashToTheEndOfDecemberAndSavingsOfJanuaryItself) {
  fintest::Exec(gDb,
                "DELETE FROM transaksi;"
                "INSERT INTO transaksi (id, tgl, uraian, acctid, siswaid, masuk, keluar, petugas, sts, jenjang, Ref)"
                " VALUES ('a','2024-12-31','Des','-','-',1000,0,'ani','k','-','412'),"
                " ('b','2025-01-01','Jan','-','-',20000,0,'ani','k','-','412'),"
                " ('c','2025-01-31','Jan','Tabungan','S1',300,0,'ani','t','-','1-1'),"
                " ('d','2025-02-01','Feb','Tabungan','S1',4000,0,'ani','t','-','1-2'),"
                " ('e','2024-06-30','Jun','-','-',50000,0,'ani','k','-','412'),"
                " ('f','2024-07-01','Jul','-','-',600000,0,'ani','k','-','412');");
  const Hwnd w = Open();
  struct Case {
    int month;
    const char *cash, *savings;
  } cases[] = {
      {1, "651.000", "300"},   // to 2024-12-31; savings to 2025-01-31
      {2, "671.000", "4.300"},
      {7, "50.000", ""},      // to 2024-06-30: the end of the previous school year
      {8, "650.000", ""},
  };
  for (const Case& c : cases) {
    gReportMonth = c.month;
    Click(w, gForm8GlobalId);
    EXPECT_EQ(Cell(ListOf(w), "Jumlah Saldo Kas", 3), c.cash) << c.month;
    EXPECT_EQ(Cell(ListOf(w), "Jumlah Saldo Tabungan Siswa", 3), c.savings) << c.month;
  }
  gReportMonth = 1;
  Click(w, gForm8GlobalId);
  EXPECT_EQ(Cell(ListOf(w), " - Sumbangan", 2), "20.000");
}

TEST_F(FinancialReportTest, SumsWithADecimalPointAreAddedAsNumbers) {
  // A database written by an earlier program can hold money with a decimal part: SQLite then returns its sums with a
  // ".", which is a decimal point and no thousands separator (1000.25 is no 100025).
  fintest::Exec(gDb,
                "DELETE FROM transaksi;"
                "INSERT INTO transaksi (id, tgl, uraian, acctid, siswaid, masuk, keluar, petugas, sts, jenjang, Ref)"
                " VALUES ('a','2024-08-01','Kas','-','-',3000,0,'ani','k','-','412'),"
                " ('s','2024-08-05','01-Setoran Tunai','Tabungan','S1',1000.25,0,'ani','-','-','1-1'),"
                " ('i','2024-09-02','Sumbangan','-','-',250.25,0,'ani','k','-','412'),"
                " ('e','2024-09-03','Listrik','-','-',0,100.25,'ani','k','-','511');");
  const Hwnd w = Open();
  Click(w, gForm8GlobalId);
  const Hwnd list = ListOf(w);
  EXPECT_EQ(Cell(list, "Jumlah Saldo Kas", 3), "3.000");
  EXPECT_EQ(Cell(list, "Jumlah Saldo Tabungan Siswa", 3), "1.000");
  EXPECT_EQ(Cell(list, "TOTAL SALDO AWAL", 3), "4.000");
  EXPECT_EQ(Cell(list, " - Sumbangan", 2), "250");
  EXPECT_EQ(Cell(list, "TOTAL PENDAPATAN OPERASIONAL", 3), "250");
  EXPECT_EQ(Cell(list, "TOTAL PENDAPATAN BERSIH", 3), "4.250");

  Click(w, gForm8DetailId);
  EXPECT_EQ(Cell(list, "TOTAL SALDO AWAL", 3), "4.000");
  EXPECT_EQ(Cell(list, "   09-03, Listrik", 2), "100");
  EXPECT_EQ(Cell(list, "TOTAL BELANJA", 3), "100");
  EXPECT_EQ(Cell(list, "      SALDO AKHIR", 3), "4.150");
}

TEST_F(FinancialReportTest, FractionalSumsShowTheWholeNumbersTheTotalsCount) {
  // Money with a decimal part, written by an earlier program: each amount shows the whole number the totals add up,
  // rounded to the nearest rupiah (half to even) on its line and in every total alike.
  fintest::Exec(gDb,
                "DELETE FROM transaksi;"
                "INSERT INTO transaksi (id, tgl, uraian, acctid, siswaid, masuk, keluar, petugas, sts, jenjang, Ref)"
                " VALUES ('a','2024-08-01','Kas','-','-',1000.75,0,'ani','k','-','412'),"
                " ('s','2024-08-05','01-Setoran Tunai','Tabungan','S1',2000.5,0,'ani','-','-','1-1'),"
                " ('i','2024-09-02','Sumbangan','-','-',250.75,0,'ani','k','-','412'),"
                " ('d','2024-09-02','Potongan Pembayaran','Disc','S1',-20.5,0,'ani','p','-',''),"
                " ('e','2024-09-03','Listrik','-','-',0,100.75,'ani','k','-','511');");
  const Hwnd w = Open();
  const Hwnd list = ListOf(w);
  struct Line {
    const char* label;
    int column;
    const char* shown;
  };
  const Line common[] = {
      {"Jumlah Saldo Kas", 3, "1.001"},
      {"Jumlah Saldo Tabungan Siswa", 3, "2.000"},
      {"TOTAL SALDO AWAL", 3, "3.001"},
      {"TOTAL PENDAPATAN OPERASIONAL", 3, "251"},
      {"C. Potongan/Bonus/Beasiswa Penerimaan Pembayaran", 3, "-20"},
      {"TOTAL PENDAPATAN BERSIH", 3, "3.232"},
      {"TOTAL BELANJA", 3, "101"},
      {"      SALDO AKHIR", 3, "3.131"},
  };
  const Line global[] = {{" - Sumbangan", 2, "251"}, {" - Listrik", 2, "101"}};
  const Line detailed[] = {
      {"   09-02, Sumbangan", 2, "251"}, {"Jumlah Sub Sumbangan", 3, "251"}, {"   09-03, Listrik", 2, "101"}};
  Click(w, gForm8GlobalId);
  for (const Line& l : common) EXPECT_EQ(Cell(list, l.label, l.column), l.shown) << "global: " << l.label;
  for (const Line& l : global) EXPECT_EQ(Cell(list, l.label, l.column), l.shown) << "global: " << l.label;
  Click(w, gForm8DetailId);
  for (const Line& l : common) EXPECT_EQ(Cell(list, l.label, l.column), l.shown) << "detailed: " << l.label;
  for (const Line& l : detailed) EXPECT_EQ(Cell(list, l.label, l.column), l.shown) << "detailed: " << l.label;
}

TEST_F(FinancialReportTest, AFailingStatementIsShownAndTheBuildGoesOn) {
  fintest::Exec(gDb, "DROP TABLE rekening");
  for (int i = 0; i < 3; ++i) ExpectMsgBox("SQL error: no such table: rekening", "Info", IDOK);
  const Hwnd w = Open();
  Click(w, gForm8GlobalId);
  EXPECT_EQ(Cell(ListOf(w), "Jumlah Saldo Kas", 3), "3.425.000");
  EXPECT_EQ(Cell(ListOf(w), "Jumlah Saldo Bank", 3), "0");
  EXPECT_EQ(Cell(ListOf(w), "TOTAL SALDO AWAL", 3), "3.745.000");
  EXPECT_EQ(Cell(ListOf(w), "C. Potongan/Bonus/Beasiswa Penerimaan Pembayaran", 3), "-20.000");
  EXPECT_EQ(Cell(ListOf(w), "      SALDO AKHIR", 3), "3.725.000");
  VerifySeams();

  // A failing account statement inside the detailed build: once per account, the cell stays empty.
  fintest::Exec(gDb, "CREATE TABLE rekening (Kode TEXT, Deskripsi TEXT, Grup TEXT, Tapel TEXT);"
                     "INSERT INTO rekening VALUES ('111','Bank BRI','Bms','2024/2025');"
                     "ALTER TABLE transaksi RENAME COLUMN Ref TO Ref2;");
  ExpectMsgBox("SQL error: no such column: Ref", "Info", IDOK);
  Click(w, gForm8DetailId);
  EXPECT_EQ(Cell(ListOf(w), " - Bank BRI", 0), "111");
  EXPECT_EQ(Cell(ListOf(w), "TOTAL SALDO AWAL", 3), "3.745.000");
}

TEST_F(FinancialReportTest, ExportsTheListAsShown) {
  const Hwnd w = Open();
  Click(w, gForm8GlobalId);
  InstallRecorder("libtablepage.so");
  Click(w, gForm8BrowserId);
  const std::string page = Record();
  EXPECT_EQ(page.substr(0, page.find('\n')), "LAPORAN KEUANGAN SEKOLAH;SD Harapan;Jl. Merdeka 5;clrr");
  EXPECT_NE(page.find("\nKode;Uraian;Jumlah Sub;Jumlah\n,A. SALDO AWAL,,;,Jumlah Saldo Kas,,3.425.000;"),
            std::string::npos);
  EXPECT_NE(page.find(";,      SALDO AKHIR,,2.500.000\n"), std::string::npos);

  gTargetListView = 0;
  InstallRecorder("libtablesheet.so", true);
  Click(w, gForm8ExcelId);
  EXPECT_EQ(gTargetListView, ListOf(w));
  const std::string sheet = Record();
  EXPECT_EQ(sheet.substr(0, sheet.find(';')), std::to_string(LvGetItemCount(ListOf(w))) +
                                                  "\n4\nKode,Uraian,Jumlah Sub,Jumlah");
  EXPECT_NE(sheet.find(";,Jumlah Saldo Kas,,3425000;"), std::string::npos);
}

TEST_F(FinancialReportTest, AMissingPluginIsReported) {
  const Hwnd w = Open();
  ExpectMsgBox("tidak dapat membaca library..", "Export To excel..", IDOK);
  Click(w, gForm8BrowserId);
  ExpectMsgBox("tidak dapat membaca library..", "Export To excel..", IDOK);
  Click(w, gForm8ExcelId);
}

}  // namespace
