// The six payment reports built as the operator builds them (the payment report window, its dialog, a button), on a
// small school: exact rows, totals and alignments against the expected files; the edge cases of each report; the
// computations beside the builders on their own.
#include <cstdio>
#include <cstdlib>

#include "reports/payment_report_fixture.h"

namespace {

using payreptest::PaymentReportTest;
using payreptest::Rows;

// ----- the computations ---------------------------------------------------------------------------------------------
TEST(PaymentReportComputations, MonthYearAndRange) {
  struct Case {
    int month;
    int year;
  } cases[] = {{7, 2024}, {12, 2024}, {1, 2025}, {6, 2025}};
  for (const Case& c : cases) EXPECT_EQ(PayRepMonthYear("2024/2025", c.month), c.year) << c.month;
  EXPECT_EQ(PayRepMonthBetween("2024/2025", 2),
            "between '2025-02-01' and date('2025-02-01','start of month','+1 month','-1 day')");
  EXPECT_EQ(PayRepMonthBetween("2024/2025", 9),
            "between '2024-09-01' and date('2024-09-01','start of month','+1 month','-1 day')");
}

TEST(PaymentReportComputations, DaysUpToToday) {
  EXPECT_EQ(PayRepDaysUpTo("2024-09-01"), std::vector<std::string>{"2024-09-01"});
  EXPECT_EQ(PayRepDaysUpTo("2024-09-03"), (std::vector<std::string>{"2024-09-01", "2024-09-02", "2024-09-03"}));
  EXPECT_EQ(PayRepDaysUpTo("2025-01-31").size(), 31u);
  EXPECT_EQ(PayRepDaysUpTo("2025-01-31").back(), "2025-01-31");
  EXPECT_TRUE(PayRepDaysUpTo("").empty());
}

TEST(PaymentReportComputations, ItemNumbers) {
  EXPECT_EQ(PayRepItemNumber(1), "    1");
  EXPECT_EQ(PayRepItemNumber(42), "   42");
  EXPECT_EQ(PayRepItemNumber(12345), "12345");
  EXPECT_EQ(PayRepItemNumber(123456), "123456");
}

TEST(PaymentReportComputations, PaidTotalFillsTheMonthsInOrder) {
  const std::vector<long long> hundred(12, 100000);
  auto cells = [](std::initializer_list<const char*> first) {
    std::vector<std::string> v(first.begin(), first.end());
    v.resize(12, "0");
    return v;
  };
  struct Case {
    const char* name;
    long long paid;
    std::vector<long long> billed;
    std::vector<std::string> expected;
  } cases[] = {
      {"250.000 over 100.000 a month", 250000, hundred, cells({"100000", "100000", "100000"})},
      {"exactly three months", 300000, hundred, cells({"100000", "100000", "100000"})},
      {"less than one month", 20000, hundred, cells({"100000"})},
      {"nothing paid", 0, hundred, cells({})},
      {"more refunded than paid", -5000, hundred, cells({})},
      {"no billed month", 30000, std::vector<long long>(12, 0), cells({})},
      {"the whole year", 1200000, hundred, std::vector<std::string>(12, "100000")},
  };
  for (const Case& c : cases) EXPECT_EQ(PayRepSpreadPaid(c.paid, c.billed), c.expected) << c.name;
}

TEST(PaymentReportComputations, TypedTextIsQuoted) {
  EXPECT_EQ(PayRepClassFeesSql("VII 'A'", "2024/2025"),
            "select Id, Pembayaran from account WHERE Kelas='VII ''A''' And Tapel='2024/2025'");
  EXPECT_EQ(PayRepClassPaidInPeriodSql({"F'1", "Disc"}, {"S'1", "S2", "S'1"}, "2024-01-01", "x' or '1'='1"),
            "Select SiswaId, AcctId, Sum(Masuk) as jm From transaksi Where AcctId in ('F''1','Disc') And SiswaId in "
            "('S''1','S2') And Tgl Between '2024-01-01' and 'x'' or ''1''=''1' Group By SiswaId, AcctId");
  EXPECT_EQ(PayRepClassPaidOnFeeSql({"S'1"}, "F'1"),
            "Select SiswaId, CAST(Sum(Masuk) as integer) From transaksi Where SiswaId in ('S''1') and AcctId='F''1' "
            "Group By SiswaId");
  EXPECT_EQ(PayRepClassBilledMonthsSql({"S'1", "S2"}, "F'1"),
            "Select id_siswa, juli, agustus, september, oktober, nopember, desember, januari, februari, maret, april, "
            "mei, juni From detail_account Where id_siswa in ('S''1','S2') and id_account='F''1' Order By "
            "detail_account.rowid");
  EXPECT_EQ(PayRepPaymentsOfDateSql("2024-09-0'2"),
            "select transaksi.siswaid, siswa.Nama, transaksi.AcctId, transaksi.Uraian, transaksi.masuk, "
            "transaksi.tgl From transaksi Join siswa On transaksi.siswaid=siswa.Id Where transaksi.Tgl='2024-09-0''2' "
            "And transaksi.sts='p' Order By transaksi.tgl");
  EXPECT_EQ(PayRepRecapDiscountSql("2024/2025", 3),
            "Select cast(Sum(Masuk) as Integer) From transaksi Where AcctId='Disc' and Tgl between '2024-07-01' and "
            "date('2025-03-01','start of month','+1 month','-1 day')");
}

// ----- the reports per student --------------------------------------------------------------------------------------
class PaymentReportsTest : public PaymentReportTest {
 protected:
  void SetUp() override {
    Seed();
    Open();
  }
  void Dates(const std::string& from, const std::string& to) {
    ASSERT_EQ(DtpSetDate(gFormLapBayarFromDate, from), 1);
    ASSERT_EQ(DtpSetDate(gFormLapBayarToDate, to), 1);
  }
};

TEST_F(PaymentReportsTest, ShowDataListsWhatEachStudentPaidPerFeeInThePeriod) {
  ASSERT_TRUE(Build(&gFormLapBayarShowDataButton, [&] {
    Choose(gFormLapBayarClassCombo, "VII A");
    Dates("2024-07-01", "2024-09-30");
  }));
  // Citra paid nothing and Fajar's discount cancels his payment: both are left out.
  EXPECT_EQ(Dump(gForm10List), Expected("payment_show_data.txt"));
  EXPECT_EQ(gFormMode, "VII-SPP,VII-BUKU,Disc");
  EXPECT_FALSE(IsWindow(gFormLapBayarWindow));   // the builder closed the dialog
  EXPECT_TRUE(WinIsWindowEnabled(gForm10Window));
}

// A class's sums come in one statement (the monthly report: one for the payments, one for the billing), after the
// class's fees and students, whatever their numbers.
TEST_F(PaymentReportsTest, TheClassReportsReadTheClassInOneStatement) {
  for (Hwnd* button : {&gFormLapBayarShowDataButton, &gFormLapBayarMonthlyButton}) {
    fintest::StatementCounter statements(gDb);
    int run = -1;
    WithDialog([&] {
      Choose(gFormLapBayarClassCombo, "VII A");
      if (button == &gFormLapBayarShowDataButton) Dates("2024-07-01", "2024-09-30");
      statements.reset();
      Click(*button);
      run = statements.count();
    });
    EXPECT_EQ(run, 3);   // fees, students, paid / students, paid, billed
    EXPECT_GT(LvGetItemCount(gForm10List), 2);
  }
}

TEST_F(PaymentReportsTest, ShowDataPeriodsWithoutPaymentsShowOnlyTheTotalsRow) {
  const Rows onlyTotals = {{"", "    JUMLAH ", "", "0", "0", "0", "0"}};
  struct Case {
    const char* name;
    const char* from;
    const char* to;
  } cases[] = {
      {"both dates today, as the dialog opens", nullptr, nullptr},
      {"from after to", "2024-09-30", "2024-07-01"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(Build(&gFormLapBayarShowDataButton, [&] {
      Choose(gFormLapBayarClassCombo, "VII A");
      if (c.from) Dates(c.from, c.to);
    }));
    EXPECT_EQ(ListRows(gForm10List), onlyTotals);
  }
}

TEST_F(PaymentReportsTest, ShowDataOfAClassWithoutFeesHasTheFixedColumnsOnly) {
  fintest::Exec(gDb, "INSERT INTO siswakelas (Kode, IdSiswa, Kelas, Tapel) VALUES ('k','S05','VIII C','2024/2025')");
  ASSERT_TRUE(Build(&gFormLapBayarShowDataButton, [&] { Choose(gFormLapBayarClassCombo, "VIII C"); }));
  EXPECT_EQ(Captions(gForm10List),
            (std::vector<std::string>{"Id", "Nama Siswa", "Kelas", "Potongan Rp.", "Jumlah Rp."}));
  EXPECT_EQ(ListRows(gForm10List), (Rows{{"", "    JUMLAH ", "", "0", "0"}}));
}

TEST_F(PaymentReportsTest, ShowDataOfAClassWithAQuoteInItsName) {
  fintest::Exec(gDb,
                "INSERT INTO siswakelas (Kode, IdSiswa, Kelas, Tapel) VALUES ('k','S05','X ''Unggulan''','2024/2025');"
                "INSERT INTO account (Id, Pembayaran, Kelas, Type, Tapel) VALUES"
                " ('X''1','Uang ''Kas''','X ''Unggulan''','Pertahun','2024/2025');"
                "INSERT INTO transaksi (id, tgl, acctid, siswaid, masuk, sts) VALUES"
                " ('t','2024-09-03','X''1','S05',125000,'p')");
  ASSERT_TRUE(Build(&gFormLapBayarShowDataButton, [&] { Choose(gFormLapBayarClassCombo, "X 'Unggulan'"); }));
  EXPECT_EQ(Captions(gForm10List)[3], "Uang 'Kas' Rp.");
  EXPECT_EQ(ListRows(gForm10List), (Rows{{"S05", "Eka", "X 'Unggulan'", "125.000", "0", "125.000"},
                                         {"", "    JUMLAH ", "", "125.000", "0", "125.000"}}));
}

TEST_F(PaymentReportsTest, MonthlyFeeReportSpreadsEachPaidTotalOverTheMonths) {
  ASSERT_TRUE(Build(&gFormLapBayarMonthlyButton, [&] {
    Choose(gFormLapBayarClassCombo, "VII A");
    EXPECT_EQ(CtlGetText(gFormLapBayarAccountCombo), "VII-SPP; SPP VII");
  }));
  // Gita has no billing row on the fee: her months show 0, her paid total stands in "Jumlah".
  EXPECT_EQ(Dump(gForm10List), Expected("payment_monthly_fee.txt"));
  EXPECT_EQ(gFormMode, "VII-SPP");
}

TEST_F(PaymentReportsTest, MonthlyFeeReportWithoutAFeeRefusesAndKeepsTheDialogOpen) {
  ASSERT_TRUE(Build(&gFormLapBayarRecapButton));
  const Rows before = ListRows(gForm10List);
  // Right after the dialog opened a class shows as chosen, but the fee list is still empty.
  WithDialog([&] {
    EXPECT_EQ(CtlGetText(gFormLapBayarClassCombo), "IX B");
    ExpectMsgBox("Pilih Kelas, Kategori dan Akun Pembayaran Per Bulan terlebih dahulu, sebelum menjalankan perintah "
                 "ini..",
                 "Info", IDOK, MB_OK);
    Click(gFormLapBayarMonthlyButton);
    VerifySeams();
    EXPECT_TRUE(IsWindow(gFormLapBayarWindow));
  });
  EXPECT_EQ(ListRows(gForm10List), before);
}

// ----- recaps and payment lists -------------------------------------------------------------------------------------
TEST_F(PaymentReportsTest, ClassRecapSumsEveryFeeByClassAndTheDiscountsUpToTheReportMonth) {
  ASSERT_TRUE(Build(&gFormLapBayarRecapButton));
  // "IX B" comes before "VII A" (text order); the fee amounts cover every payment ever made (October's and the one
  // of the student missing from siswa too), the discounts 1 July to 30 September only.
  EXPECT_EQ(Dump(gForm10List), Expected("payment_class_recap.txt"));
}

TEST_F(PaymentReportsTest, ClassRecapDiscountsFollowTheReportMonth) {
  struct Case {
    int month;
    const char* discount;
    const char* total;
  } cases[] = {{7, "-50.000", "1.375.000"}, {8, "-50.000", "1.375.000"}, {10, "-85.000", "1.340.000"},
               {6, "-85.000", "1.340.000"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.month);
    gReportMonth = c.month;
    ASSERT_TRUE(Build(&gFormLapBayarRecapButton));
    const Rows rows = ListRows(gForm10List);
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(rows[6], (std::vector<std::string>{"", "Potongan Pembayaran", c.discount}));
    EXPECT_EQ(rows[7], (std::vector<std::string>{"", "Jumlah", c.total}));
    EXPECT_EQ(rows[8], (std::vector<std::string>{"", "Total Seluruhnya", c.total}));
  }
}

TEST_F(PaymentReportsTest, DailyRecapHasAColumnPerDayUpToToday) {
  gReportMonth = 3;   // the daily recap follows today, not the report month
  ASSERT_TRUE(Build(&gFormLapBayarDailyButton));
  EXPECT_EQ(Dump(gForm10List), Expected("payment_daily_recap.txt"));
}

TEST_F(PaymentReportsTest, DailyRecapOnTheFirstOfTheMonthHasOneDateColumn) {
  gToday = "2024-09-01";
  ASSERT_TRUE(Build(&gFormLapBayarDailyButton));
  EXPECT_EQ(Captions(gForm10List), (std::vector<std::string>{"-", "Akun Rekening", "2024-09-01"}));
  const Rows rows = ListRows(gForm10List);
  ASSERT_EQ(rows.size(), 9u);
  EXPECT_EQ(rows[4], (std::vector<std::string>{"", "VII-SPP | SPP VII", "150.000"}));
  EXPECT_EQ(rows[6], (std::vector<std::string>{"", "Potongan Pembayaran", "0"}));
  EXPECT_EQ(rows[8], (std::vector<std::string>{"", "Total Seluruhnya", "150.000"}));
}

TEST_F(PaymentReportsTest, PaymentsOfTheReportMonthGroupedByDateAndStudent) {
  // Dates holding savings or journal rows only add nothing; the student missing from siswa is not listed; Dedi's
  // payment of the 3rd continues his group of the 2nd.
  ASSERT_TRUE(Build(&gFormLapBayarMonthButton));
  EXPECT_EQ(Dump(gForm10List), Expected("payment_month_list.txt"));
}

TEST_F(PaymentReportsTest, PaymentsOfToday) {
  ASSERT_TRUE(Build(&gFormLapBayarTodayButton));
  EXPECT_EQ(Dump(gForm10List), Expected("payment_today_list.txt"));
}

TEST_F(PaymentReportsTest, ABuilderReplacesTheReportBefore) {
  ASSERT_TRUE(Build(&gFormLapBayarMonthButton));
  ASSERT_TRUE(Build(&gFormLapBayarTodayButton));
  EXPECT_EQ(Dump(gForm10List), Expected("payment_today_list.txt"));
  ASSERT_TRUE(Build(&gFormLapBayarRecapButton));
  EXPECT_EQ(Dump(gForm10List), Expected("payment_class_recap.txt"));
}

TEST_F(PaymentReportsTest, SumsBeyondThirtyTwoBitsStayExact) {
  fintest::Exec(gDb, "INSERT INTO transaksi (id, tgl, acctid, siswaid, masuk, sts) VALUES"
                     " ('b1','2024-09-03','IX-BUKU','S04',2000000000,'p'),('b2','2024-09-03','IX-BUKU','S04',"
                     "2000000000,'p')");
  ASSERT_TRUE(Build(&gFormLapBayarRecapButton));
  Rows rows = ListRows(gForm10List);
  ASSERT_EQ(rows.size(), 9u);
  EXPECT_EQ(rows[2][2], "4.000.000.000");
  EXPECT_EQ(rows[8][2], "4.001.345.000");
  ASSERT_TRUE(Build(&gFormLapBayarTodayButton));
  rows = ListRows(gForm10List);
  EXPECT_EQ(rows.back(), (std::vector<std::string>{"", "GRAND TOTAL ", "", "4.000.150.000"}));
  ASSERT_TRUE(Build(&gFormLapBayarShowDataButton, [&] { Choose(gFormLapBayarClassCombo, "IX B"); }));
  EXPECT_EQ(ListRows(gForm10List).front(),
            (std::vector<std::string>{"S04", "Dedi", "IX B", "150.000", "4.000.000.000", "0", "4.000.150.000"}));
}

// ----- an empty school and failing statements -----------------------------------------------------------------------
class PaymentReportEmptySchoolTest : public PaymentReportTest {
 protected:
  void SetUp() override { Open(); }
};

TEST_F(PaymentReportEmptySchoolTest, RecapsShowTheirClosingRowsAndListsTheGrandTotal) {
  ASSERT_TRUE(Build(&gFormLapBayarRecapButton));
  EXPECT_EQ(ListRows(gForm10List), (Rows{{"", "Potongan Pembayaran", "0"}, {"", "Jumlah", "0"},
                                         {"", "Total Seluruhnya", "0"}}));
  ASSERT_TRUE(Build(&gFormLapBayarDailyButton));
  EXPECT_EQ(ListRows(gForm10List), (Rows{{"", "Potongan Pembayaran", "0", "", ""}, {"", "Jumlah", "0", "0", "0"},
                                         {"", "Total Seluruhnya", "", "", "0"}}));
  ASSERT_TRUE(Build(&gFormLapBayarMonthButton));
  EXPECT_EQ(ListRows(gForm10List), (Rows{{"", "GRAND TOTAL ", "", "0"}}));
  ASSERT_TRUE(Build(&gFormLapBayarTodayButton));
  EXPECT_EQ(ListRows(gForm10List), (Rows{{"", "GRAND TOTAL ", "", "0"}}));
}

TEST_F(PaymentReportsTest, AFailingStatementIsShownAndTheReportGoesOn) {
  // Without siswa the payments of each date cannot be read: one box per date, and the list closes with 0.
  fintest::Exec(gDb, "DROP TABLE siswa");
  for (int i = 0; i < 4; ++i) ExpectMsgBox("SQL error: no such table: siswa", "Info", IDOK, MB_OK);
  ASSERT_TRUE(Build(&gFormLapBayarMonthButton));
  EXPECT_EQ(ListRows(gForm10List), (Rows{{"", "GRAND TOTAL ", "", "0"}}));
}

TEST_F(PaymentReportsTest, AFailingSumIsShownAndCountsAsNothing) {
  // The class's billing is read in one statement: one box, every month of every student counted as nothing.
  fintest::Exec(gDb, "DROP TABLE detail_account");
  ExpectMsgBox("SQL error: no such table: detail_account", "Info", IDOK, MB_OK);
  ASSERT_TRUE(Build(&gFormLapBayarMonthlyButton, [&] { Choose(gFormLapBayarClassCombo, "VII A"); }));
  const Rows rows = ListRows(gForm10List);
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_EQ(rows[0][3], "0");
  EXPECT_EQ(rows[0][15], "250.000");
  EXPECT_EQ(rows[5][15], "750.000");
}

}  // namespace
