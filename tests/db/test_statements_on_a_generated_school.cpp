// The statements of the financial report, the payment list and its reprint, the payment save's stamp check, the
// savings reports and the class reports read only what they show, through the indexes of db/schema.sql. Each must
// give exactly what the statement it replaces gave: on a generated school of four years (bench/school_generator.h)
// with a few dozen students and some rows of the odd kinds a school's file holds, every replaced statement's rows
// (in the order they come) are compared with the new statement's rows, on the same file: the replaced one as the
// file was before its indexes (the indexes the new statements brought are dropped inside a transaction that is then
// undone), the new one with them.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/globals.h"
#include "bench/school_generator.h"
#include "accounts/fee_rules.h"
#include "common/globals.h"
#include "common/sql.h"
#include "payments/arrears.h"
#include "payments/instalment_chooser.h"
#include "payments/payment_list_window.h"
#include "payments/payment_revision_window.h"
#include "payments/payment_save.h"
#include "reports/arrears_reports.h"
#include "reports/financial_report_window.h"
#include "reports/payment_reports.h"
#include "reports/savings_reports.h"
#include "savings/journal_list_window.h"
#include "savings/savings_list_window.h"
#include "savings/savings_teller_window.h"
#include "support/fixtures.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;
using fintest::Query;

// The indexes the new statements read through; the replaced statements ran without them.
const char* const kNewIndexes[] = {"transaksi_cash_tgl", "transaksi_savings_tgl", "transaksi_savings_siswa",
                                   "transaksi_acct_paid", "detail_account_billed"};


// ----- the statements as they were -----------------------------------------------------------------------------------
std::string OldMonth(const std::string& monthKey) { return "Substr(Tgl,1,7)='" + SqlQ(monthKey) + "'"; }
std::string OldDiscountSql(const FinReportPeriod& p) {
  return "select Sum(Masuk) As jml from transaksi WHERE AcctId='Disc' and " + OldMonth(p.monthKey);
}
std::string OldAccountRowsSql(const std::string& kode, const FinReportPeriod& p) {
  return "select Tgl, Uraian, Masuk, Keluar, Sts from transaksi WHERE Ref='" + SqlQ(kode) + "' and " +
         OldMonth(p.monthKey);
}
std::string OldAccountNetSql(const std::string& kode, const FinReportPeriod& p) {
  return "select Sum(Masuk-Keluar)from transaksi where Ref='" + SqlQ(kode) + "' And " + OldMonth(p.monthKey);
}
std::string OldStampCountSql(const std::string& stamp) {
  return "Select Count(*) From transaksi Where substr(Id,1,22)='" + SqlQ(stamp) + "'";
}
// A receipt is the rows of one stamp and one student (a class run shares its stamp among its students).
std::string OldReceiptItemsSql(const std::string& stamp, const std::string& siswaId) {
  return "select Uraian, Masuk from transaksi WHERE substr(Id,1,22)= '" + SqlQ(stamp) + "' and SiswaId='" +
         SqlQ(siswaId) + "' and AcctId<>'Disc' and AcctId<>'Tabungan'";
}
std::string OldReceiptDiscountSql(const std::string& stamp, const std::string& siswaId) {
  return "Select sum(Masuk) From Transaksi WHERE substr(Id,1,22)='" + SqlQ(stamp) + "' and SiswaId='" +
         SqlQ(siswaId) + "' and AcctId='Disc'";
}
std::string OldReceiptSavingsSql(const std::string& stamp, const std::string& siswaId) {
  return "Select sum(Keluar) From Transaksi WHERE substr(Id,1,22)='" + SqlQ(stamp) + "' and SiswaId='" +
         SqlQ(siswaId) + "' and AcctId='Tabungan'";
}
std::string OldPaymentMonthSql(const std::string& tapel, int month) {
  return "select Id, Tgl, SiswaId, (Select Nama From Siswa Where Siswa.Id=Transaksi.SiswaId) As NamaSiswa, (Select "
         "Kelas From SiswaKelas Where SiswaKelas.IdSiswa=Transaksi.SiswaId and Tapel='" +
         SqlQ(tapel) + "') As KelasSiswa, AcctId, Uraian, Masuk, Petugas from transaksi WHERE Sts='p' And " +
         FORM13_MonthRangeSql(tapel, month) + " Order By Id";
}
const std::string kOldBalance =
    "(select sum(masuk-keluar) from transaksi where siswaid=siswa.id and AcctID='Tabungan')";
std::string OldSavingsDailySql(const std::string& today) {
  return "select siswaid, nama, uraian, masuk, keluar, " + kOldBalance +
         " as sld from transaksi inner join siswa on siswaid=siswa.id where tgl='" + SqlQ(today) +
         "'and AcctID='Tabungan' order by siswaid";
}
std::string OldSavingsBalancesSql() {
  return "select 1 as n, id, nama, " + kOldBalance + " as Saldo from siswa where Saldo > 0 order by id";
}
std::string OldSavingsDepositsSql(const std::string& start, const std::string& end) {
  return "select tgl, siswaid, nama, uraian, masuk from transaksi inner join siswa on siswaid=siswa.id where masuk>0 "
         "and AcctID='Tabungan' and tgl between '" + SqlQ(start) + "' and '" + SqlQ(end) + "' order by tgl";
}
std::string OldSavingsWithdrawalsSql(const std::string& start, const std::string& end) {
  return "select tgl, siswaid, nama, uraian, keluar from transaksi inner join siswa on siswaid=siswa.id where "
         "keluar>0 and AcctID='Tabungan' and tgl between '" + SqlQ(start) + "' and '" + SqlQ(end) + "' order by tgl";
}
std::string OldSavingsHistorySql(const std::string& start, const std::string& end) {
  return "select tgl, siswaid, nama, uraian, masuk, keluar, " + kOldBalance +
         " as sld from transaksi inner join siswa on siswaid=siswa.id where AcctID='Tabungan' and tgl between '" +
         SqlQ(start) + "' and '" + SqlQ(end) + "' order by tgl";
}
std::string OldArrearsCellSql(const std::string& feeId, const std::string& studentId, int prepaid, int monthsDue) {
  const std::string fee = SqlQ(feeId), student = SqlQ(studentId);
  const std::string paid =
      "(Select Sum(Masuk) From transaksi Where AcctId='" + fee + "' And SiswaId='" + student + "')";
  const std::string from = " from detail_account where id_account='" + fee + "' and id_siswa='" + student + "'";
  if (prepaid >= 1) return "Select jml_pembayaran, " + paid + from;
  return "Select (Select case when account.type='Perbulan' then " + FinArrearsMonthSumSql(monthsDue) +
         " else detail_account.jml_pembayaran end from account where account.id=detail_account.id_account), " + paid +
         from;
}
std::string OldPaidInPeriodSql(const std::string& acctId, const std::string& siswaId, const std::string& from,
                               const std::string& to) {
  return "Select Sum(Masuk) as jm From transaksi Where AcctId='" + SqlQ(acctId) + "' And SiswaId='" + SqlQ(siswaId) +
         "' And Tgl Between '" + SqlQ(from) + "' and '" + SqlQ(to) + "'";
}
std::string OldPaidOnFeeSql(const std::string& siswaId, const std::string& acctId) {
  return "Select CAST(Sum(Masuk) as integer) From transaksi Where SiswaId='" + SqlQ(siswaId) + "' and AcctId='" +
         SqlQ(acctId) + "'";
}
std::string OldBilledMonthSql(const std::string& month, const std::string& siswaId, const std::string& acctId) {
  return "Select " + month + " From detail_account Where id_siswa='" + SqlQ(siswaId) + "' and id_account='" +
         SqlQ(acctId) + "'";
}
std::string OldArrearsRecapSql(const std::string& tapel) {
  return "select account.Id, account.Pembayaran, account.Kelas, (Select Sum(detail_account.jml_pembayaran) from "
         "detail_account where detail_account.id_account=account.id), (Select Sum(transaksi.Masuk) From transaksi "
         "Where AcctId=account.id And +SiswaID In(Select IdSiswa From siswakelas Where siswakelas.Kelas<>'DO' and "
         "instr(siswakelas.Kelas,'Lulus')<1)) from account WHERE account.Tapel='" +
         SqlQ(tapel) + "' Order by account.Kelas";
}
std::string OldPaymentRecapSql(const std::string& tapel) {
  return "select Id, Pembayaran, Kelas, cast((Select Sum(Masuk) From transaksi Where AcctId=account.id) as Integer) "
         "from account WHERE Tapel='" +
         SqlQ(tapel) + "' Order by Kelas";
}
std::string OldFeeIdsNamedUnderSql(const std::string& prefix) {
  return "Select Id From account WHERE " + SqlPrefixRange("Id", prefix) +
         " Union Select id_account From detail_account WHERE " + SqlPrefixRange("id_account", prefix) +
         " Union Select acctid From transaksi WHERE " + SqlPrefixRange("acctid", prefix);
}
std::string OldJournalListSql(bool cash, int month, const std::string& tapel) {
  const std::string first = FinJournalReportMonth(month, tapel) + "-01";
  return std::string("select Id, Tgl, Ref, Uraian, Masuk, Keluar, Petugas from transaksi WHERE Sts='") +
         (cash ? "k" : "b") + "' And Tgl between '" + first + "' and date('" + first +
         "','start of month','+1 month','-1 day') Order By Id";
}
std::string OldSavingsListPeriod(const std::string& tapel, int month) {
  const std::string first = FORM14_PeriodYear(tapel, month) + "-" + FORM14_PeriodMonth(month) + "-01";
  return "Tgl between '" + first + "' and date('" + first + "','start of month','+1 month','-1 day') Order By Id";
}
std::string OldSavingsListLoadSql(const std::string& tapel, int month) {
  return "select Id, Tgl, SiswaId, (Select Nama From Siswa Where Id=SiswaId) As NamaSiswa, Uraian, Masuk, Keluar, "
         "Petugas from transaksi as a WHERE Sts='t' And " + OldSavingsListPeriod(tapel, month);
}
std::string OldSavingsListRefreshSql(const std::string& tapel, int month) {
  return "select Id, Tgl, SiswaId, (Select Nama From Siswa Where Id=SiswaId) As NamaSiswa, Uraian, Masuk, Keluar, "
         "(Select Sum(b.Masuk-b.Keluar) From transaksi as b Where b.SiswaId=transaksi.SiswaId And "
         "b.AcctID='Tabungan') As Saldo, Petugas from transaksi WHERE Sts='t' And " +
         OldSavingsListPeriod(tapel, month);
}

// ----- the school ------------------------------------------------------------------------------------------------------
class GeneratedSchool : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new fintest::TempDir;
    SchoolSettings settings;
    settings.students = 56;
    settings.years = 4;
    settings.fees = 4;
    settings.parallels = 2;
    settings.today = "2025-03-14";
    settings.seed = 7;
    std::string error;
    ASSERT_TRUE(FinGenerateSchool(dir_->file("school.db3"), settings, facts_, error)) << error;
    ASSERT_EQ(sqlite3_open(dir_->file("school.db3").c_str(), &db_), SQLITE_OK);
    // Rows of the odd kinds: a second billing row of one student on one fee (the last stored counts), a student
    // without a billing row on a fee, ids shorter than a stamp, a receipt of eleven items, a student listed twice,
    // savings of a student who is in no class, a payment and a savings row on the same day and second, amounts
    // NULL.
    const std::string fee = One("select id_account from detail_account where id_account in (select Id from account "
                                "where Type='Perbulan' and Tapel='2024/2025') order by rowid limit 1");
    const std::string student = One("select id_siswa from detail_account where id_account='" + fee + "' order by "
                                    "rowid limit 1");
    fintest::Exec(db_,
                  "INSERT INTO detail_account (id_account, id_siswa, jml_pembayaran, juli, agustus, september, oktober,"
                  " nopember, desember, januari, februari, maret, april, mei, juni) VALUES ('" + fee + "', '" +
                  student + "', 777, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22);"
                  "DELETE FROM detail_account WHERE rowid = (SELECT max(rowid) FROM detail_account WHERE id_siswa <> '" +
                  student + "' AND id_account IN (SELECT Id FROM account WHERE Tapel='2024/2025'));"
                  "INSERT INTO transaksi (id,tgl,uraian,acctid,siswaid,masuk,keluar,petugas,sts,jenjang,Ref) VALUES"
                  " ('X1','2025-03-03','Pendek','" + fee + "','" + student + "',5000,0,'ketua','p','-','101'),"
                  " ('2024202520250303','2025-03-03','Tanpa jam','" + fee + "','" + student + "',6000,0,'ketua','p',"
                  "'-','101'),"
                  " ('','2025-03-03','Kosong','" + fee + "','" + student + "',NULL,0,'ketua','p','-','101'),"
                  " ('990001' || '20250303070000','2025-03-03','01-Setoran Tunai','Tabungan','990001',70000,0,'ketua',"
                  "'t','-','1-1'),"
                  " ('" + student + "20250303080000','2025-03-03','01-Setoran Tunai','Tabungan','" + student + "',"
                  "NULL,0,'ketua','t','-','1-9'),"
                  " ('2024202520250303080000' || '3','2025-03-03','Potongan Pembayaran','Disc','" + student + "',"
                  "-2500,0,'ketua','p','-','disc-pembayaran'),"
                  " ('2024202520250303080000' || '4','2025-03-03','02-Penarikan utk pembayaran','Tabungan','" +
                  student + "',0,1500,'ketua','t','-',NULL);"
                  "INSERT INTO siswa (Id, Nama) SELECT Id, Nama || ' (2)' FROM siswa WHERE Id='" + student + "';"
                  "INSERT INTO siswa (Id, Nama) VALUES ('990001', 'TANPA KELAS');");
    for (int i = 1; i <= 11; ++i)
      fintest::Exec(db_, "INSERT INTO transaksi (id,tgl,uraian,acctid,siswaid,masuk,keluar,petugas,sts,jenjang,Ref) "
                         "VALUES ('2024202520250303080000" + std::to_string(i == 3 ? 12 : i == 4 ? 13 : i) +
                         "','2025-03-03','Item " + std::to_string(i) + "','" + fee + "','" + student + "'," +
                         std::to_string(1000 * i) + ",0,'ketua','p','-','101')");
    student_ = student;
  }
  static void TearDownTestSuite() {
    sqlite3_close(db_);
    db_ = nullptr;
    delete dir_;
    dir_ = nullptr;
  }

  static std::string One(const std::string& sql) {
    const Rows r = Query(db_, sql);
    return r.empty() || r[0].empty() ? std::string() : r[0][0];
  }
  static std::vector<std::string> Column(const std::string& sql) {
    std::vector<std::string> out;
    for (const auto& r : Query(db_, sql)) out.push_back(r[0]);
    return out;
  }

  // Runs `old` as the file was before the new indexes, then each of `now` with them.
  template <typename F>
  static void Compare(F statements) {
    std::vector<std::pair<std::string, std::string>> pairs;
    statements(pairs);
    ASSERT_FALSE(pairs.empty());
    std::vector<Rows> before;
    fintest::Exec(db_, "BEGIN");
    for (const char* index : kNewIndexes) fintest::Exec(db_, std::string("DROP INDEX ") + index);
    for (const auto& p : pairs) before.push_back(Query(db_, p.first));
    fintest::Exec(db_, "ROLLBACK");
    for (std::size_t i = 0; i < pairs.size(); ++i) {
      EXPECT_EQ(Query(db_, pairs[i].second), before[i]) << pairs[i].first << "\n" << pairs[i].second;
      if (::testing::Test::HasFailure()) return;
    }
  }

  static fintest::TempDir* dir_;
  static sqlite3* db_;
  static SchoolFacts facts_;
  static std::string student_;
};

fintest::TempDir* GeneratedSchool::dir_ = nullptr;
sqlite3* GeneratedSchool::db_ = nullptr;
SchoolFacts GeneratedSchool::facts_;
std::string GeneratedSchool::student_;

using Pairs = std::vector<std::pair<std::string, std::string>>;
const char* const kTapels[] = {"2024/2025", "2023/2024"};

TEST_F(GeneratedSchool, IsASchoolOfSeveralYears) {
  EXPECT_EQ(facts_.tapel, "2024/2025");
  EXPECT_GT(facts_.transactions, 3000);
  EXPECT_EQ(One("select count(distinct Tapel) from siswakelas"), "4");
  EXPECT_GT(std::stoi(One("select count(*) from transaksi where AcctID='Tabungan'")), 300);
  EXPECT_GT(std::stoi(One("select count(*) from transaksi where AcctID='Disc'")), 5);
}

// Each statement reads what it shows through an index: the month by a range on tgl, a receipt by a range on its id,
// the opening balances and the savings balances from an index alone, each balance once.
TEST_F(GeneratedSchool, StatementsReadThroughTheirIndexes) {
  const FinReportPeriod march = FinFinancialReportPeriod(3, "2024/2025");
  const std::string stamp = "2024202520250303080000";
  struct Case {
    std::string sql, plan;
  } cases[] = {
      {FinReportCashSql(march), "transaksi_cash_tgl (tgl>? AND tgl<?)"},
      {FinReportSavingsSql(march), "COVERING INDEX transaksi_savings_tgl (acctid=? AND tgl>? AND tgl<?)"},
      {FinReportDiscountSql(march), "(acctid=? AND tgl>? AND tgl<?)"},
      {FinReportAccountRowsSql("101", march), "transaksi_ref_tgl (Ref=? AND tgl>? AND tgl<?)"},
      {FinReportAccountNetSql("101", march), "transaksi_ref_tgl (Ref=? AND tgl>? AND tgl<?)"},
      {PayStampCountSql(stamp), "transaksi_id (id>? AND id<?)"},
      {FORM13_ReceiptItemsSql(stamp, "S1"), "transaksi_id (id>? AND id<?)"},
      {FORM13_ReceiptDiscountSql(stamp, "S1"), "transaksi_id (id>? AND id<?)"},
      {FORM13_ReceiptSavingsSql(stamp, "S1"), "transaksi_id (id>? AND id<?)"},
      {FORM13_ReceiptMoneySql(stamp, "S1"), "transaksi_id (id>? AND id<?)"},
      {FORM13_ReceiptMoneySql(stamp, "S1", stamp + "1", "BR-1"), "transaksi_id (id>? AND id<?)"},
      {FORM13_DeleteReceiptRestSql(stamp, "S1"), "transaksi_id (id>? AND id<?)"},
      {FORMREVISI_FeeMoneySql("S1", "BR-1"), "detail_account_siswa_account (id_siswa=? AND id_account=?)"},
      {FORM13_MonthSql("2024/2025", 3), "transaksi_tgl_sts (tgl>? AND tgl<?)"},
      {FinSavingsHistorySql("2024-07-01", "2025-06-30"), "MATERIALIZE saldo"},
      {FinSavingsHistorySql("2024-07-01", "2025-06-30"),
       "COVERING INDEX transaksi_savings_siswa (siswaid=? AND acctid=?)"},
      {FinSavingsDailySql("2025-03-03"), "MATERIALIZE saldo"},
      {FinSavingsBalancesSql(), "MATERIALIZE saldo"},
      // What the payment and the teller read again inside their write: one student's rows of one fee or savings.
      {FinInstalmentPaymentsSql("Angsuran", "S1", "BR-1"), "(siswaid=? AND acctid=?)"},
      {SavingsBalanceSql("S1"), "(siswaid=? AND acctid=?)"},
      {SavingsHistorySql("S1"), "(siswaid=? AND acctid=?)"},
  };
  for (const Case& c : cases) {
    std::string plan;
    for (const auto& row : Query(db_, "EXPLAIN QUERY PLAN " + c.sql)) plan += row.back() + "\n";
    EXPECT_NE(plan.find(c.plan), std::string::npos) << c.sql << "\n" << plan;
    EXPECT_EQ(plan.find("SCAN transaksi"), std::string::npos) << c.sql << "\n" << plan;
    // A receipt is read by its id alone, never through every payment row.
    EXPECT_EQ(plan.find("INDEX transaksi_sts "), std::string::npos) << c.sql << "\n" << plan;
  }
}

TEST_F(GeneratedSchool, FinancialReportOfEveryMonth) {
  Compare([](Pairs& p) {
    for (const char* tapel : kTapels) {
      const std::vector<std::string> codes = Column(std::string("select Kode from rekening where Tapel='") + tapel +
                                                    "'");
      for (int month = 1; month <= 12; ++month) {
        const FinReportPeriod period = FinFinancialReportPeriod(month, tapel);
        p.push_back({FinReportCashSql(period), FinReportCashSql(period)});
        p.push_back({FinReportSavingsSql(period), FinReportSavingsSql(period)});
        p.push_back({OldDiscountSql(period), FinReportDiscountSql(period)});
        for (const std::string& kode : codes) {
          p.push_back({OldAccountRowsSql(kode, period), FinReportAccountRowsSql(kode, period)});
          p.push_back({OldAccountNetSql(kode, period), FinReportAccountNetSql(kode, period)});
        }
      }
    }
  });
}

TEST_F(GeneratedSchool, StampsOfReceiptsAndTheReprint) {
  Compare([](Pairs& p) {
    std::vector<std::string> stamps =
        Column("select distinct substr(id,1,22) from transaksi where sts='p' and rowid % 11 = 0");
    for (const char* odd : {"X1", "", "2024202520250303", "20242025202503030800001", "2024202520250303080000",
                            "x'y", "20242025202503030800"})
      stamps.push_back(odd);
    for (const std::string& stamp : stamps) {
      p.push_back({OldStampCountSql(stamp), PayStampCountSql(stamp)});
      std::vector<std::string> students =
          Column("select distinct siswaid from transaksi where substr(id,1,22)='" + SqlQ(stamp) + "'");
      students.push_back("x'y");
      for (const std::string& siswa : students) {
        p.push_back({OldReceiptItemsSql(stamp, siswa), FORM13_ReceiptItemsSql(stamp, siswa)});
        p.push_back({OldReceiptDiscountSql(stamp, siswa), FORM13_ReceiptDiscountSql(stamp, siswa)});
        p.push_back({OldReceiptSavingsSql(stamp, siswa), FORM13_ReceiptSavingsSql(stamp, siswa)});
      }
    }
  });
}

TEST_F(GeneratedSchool, PaymentListOfEveryMonth) {
  Compare([](Pairs& p) {
    for (const char* tapel : kTapels)
      for (int month = 1; month <= 12; ++month) p.push_back({OldPaymentMonthSql(tapel, month), FORM13_MonthSql(tapel, month)});
  });
}

TEST_F(GeneratedSchool, SavingsReports) {
  Compare([](Pairs& p) {
    for (const std::string& day : Column("select distinct tgl from transaksi where AcctID='Tabungan' order by tgl "
                                         "desc limit 40"))
      p.push_back({OldSavingsDailySql(day), FinSavingsDailySql(day)});
    p.push_back({OldSavingsDailySql("2031-01-01"), FinSavingsDailySql("2031-01-01")});
    p.push_back({OldSavingsBalancesSql(), FinSavingsBalancesSql()});
    const std::vector<std::pair<std::string, std::string>> ranges = {
        {"2024-07-01", "2025-06-30"}, {"2025-03-01", "2025-03-14"}, {"2024-09-01", "2024-09-30"},
        {"1900-01-01", "2099-12-31"}, {"2025-03-03", "2025-03-03"}, {"2025-01-01", "2024-01-01"}};
    for (const auto& [start, end] : ranges) {
      p.push_back({OldSavingsDepositsSql(start, end), FinSavingsDepositsSql(start, end)});
      p.push_back({OldSavingsWithdrawalsSql(start, end), FinSavingsWithdrawalsSql(start, end)});
      p.push_back({OldSavingsHistorySql(start, end), FinSavingsHistorySql(start, end)});
    }
  });
}

// The recaps of the whole school year sum each fee from an index alone, the fee ids under a prefix are read one
// distinct id at a time through the ids' indexes, and the journal and savings lists take their month by date.
TEST_F(GeneratedSchool, LargeSchoolStatementsReadThroughTheirIndexes) {
  struct Case {
    std::string sql;
    std::vector<std::string> plan;   // each must stand in the plan
  } cases[] = {
      {FinArrearsReportRecapSql("2024/2025"),
       {"COVERING INDEX detail_account_billed (id_account=?", "COVERING INDEX transaksi_acct_paid (acctid=?)"}},
      {PayRepRecapAccountsSql("2024/2025"), {"COVERING INDEX transaksi_acct_paid (acctid=?)"}},
      {FinFeeIdsNamedUnderSql("BR-"),
       {"account USING COVERING INDEX account_id (Id>? AND Id<?)",
        "detail_account USING COVERING INDEX detail_account_account",
        "transaksi USING COVERING INDEX transaksi_acct"}},
      {FORM15_ListSql(true, 3, "2024/2025"), {"transaksi_tgl_sts (tgl>? AND tgl<?)"}},
      {FORM15_ListSql(false, 9, "2023/2024"), {"transaksi_tgl_sts (tgl>? AND tgl<?)"}},
      {FORM14_LoadSql("2024/2025", 3), {"transaksi_tgl_sts (tgl>? AND tgl<?)"}},
      {FORM14_RefreshSql("2024/2025", 3), {"transaksi_tgl_sts (tgl>? AND tgl<?)"}},
      // What the payment and class payment saves read of each fee they pay, inside their write transaction: one
      // student's billing row and payments.
      {FinFeeStandingSql("S1", "BR-1"),
       {"detail_account_siswa_account (id_siswa=? AND id_account=?)", "transaksi_siswa_acct_tgl (siswaid=? AND acctid=?)",
        "account_id (Id=?)"}},
  };
  for (const Case& c : cases) {
    std::string plan;
    for (const auto& row : Query(db_, "EXPLAIN QUERY PLAN " + c.sql)) plan += row.back() + "\n";
    for (const std::string& part : c.plan) EXPECT_NE(plan.find(part), std::string::npos) << c.sql << "\n" << plan;
    EXPECT_EQ(plan.find("SCAN transaksi"), std::string::npos) << c.sql << "\n" << plan;
    EXPECT_EQ(plan.find("SCAN detail_account"), std::string::npos) << c.sql << "\n" << plan;
  }
}

TEST_F(GeneratedSchool, RecapsOfEveryYear) {
  // A fee whose billing rows and payments hold no amount at all, and one with amounts beside empty ones.
  const std::string fee = One("select Id from account where Tapel='2024/2025' order by Id limit 1");
  const std::string student = One("select IdSiswa from siswakelas where Tapel='2024/2025' order by IdSiswa limit 1");
  fintest::Exec(db_, "INSERT INTO account (Id, Pembayaran, Kelas, Jumlah, Type, Tapel) VALUES ('BR-KOSONG', "
                     "'Kosong', 'I A', 0, 'Pertahun', '2024/2025');"
                     "INSERT INTO detail_account (id_account, id_siswa, jml_pembayaran) VALUES ('BR-KOSONG', '" +
                         student + "', NULL), ('" + fee + "', '" + student + "', NULL);"
                     "INSERT INTO transaksi (id, acctid, siswaid, masuk, sts) VALUES ('N1', 'BR-KOSONG', '" + student +
                         "', NULL, 'p'), ('N2', '" + fee + "', '" + student + "', NULL, 'p')");
  Compare([](Pairs& p) {
    for (const std::string& tapel : Column("select distinct Tapel from account order by Tapel")) {
      p.push_back({OldArrearsRecapSql(tapel), FinArrearsReportRecapSql(tapel)});
      p.push_back({OldPaymentRecapSql(tapel), PayRepRecapAccountsSql(tapel)});
    }
  });
  fintest::Exec(db_, "DELETE FROM account WHERE Id='BR-KOSONG'; DELETE FROM detail_account WHERE id_account="
                     "'BR-KOSONG' OR (id_account='" + fee + "' AND jml_pembayaran IS NULL); DELETE FROM transaksi "
                     "WHERE id IN ('N1','N2')");
}

TEST_F(GeneratedSchool, JournalAndSavingsListsOfEveryMonth) {
  EXPECT_GT(std::stoi(One("select count(*) from transaksi where sts='b'")), 0);
  EXPECT_GT(std::stoi(One("select count(*) from transaksi where sts='k'")), 0);
  Compare([](Pairs& p) {
    for (const char* tapel : kTapels)
      for (int month = 1; month <= 12; ++month) {
        p.push_back({OldJournalListSql(true, month, tapel), FORM15_ListSql(true, month, tapel)});
        p.push_back({OldJournalListSql(false, month, tapel), FORM15_ListSql(false, month, tapel)});
        p.push_back({OldSavingsListLoadSql(tapel, month), FORM14_LoadSql(tapel, month)});
        p.push_back({OldSavingsListRefreshSql(tapel, month), FORM14_RefreshSql(tapel, month)});
      }
  });
}

// Each id once, whatever the prefix: every id, a class's ids of one year, ids that only old billing rows or payments
// still name, and prefixes no id has.
TEST_F(GeneratedSchool, FeeIdsNamedUnderAPrefix) {
  const std::string fee = One("select Id from account where Tapel='2024/2025' order by Id limit 1");
  fintest::Exec(db_, "INSERT INTO detail_account (id_account, id_siswa, jml_pembayaran) VALUES ('" + fee +
                         "9', 'S1', 1), ('BR-ONLYBILLED', 'S2', 2), ('BR-ONLYBILLED', 'S3', 3), (NULL, 'S4', 4);"
                         "INSERT INTO transaksi (id, acctid, siswaid, masuk, sts) VALUES ('P1', 'BR-ONLYPAID', 'S1', 1, "
                         "'p'), ('P2', 'BR-ONLYPAID', 'S2', 1, 'p'), ('P3', 'BR-\xF4\x8F\xBF\xBF', 'S3', 1, 'p'),"
                         " ('P4', x'42522d', 'S4', 1, 'p')");
  std::vector<std::string> prefixes = {"BR-", "", "BR-ONLY", "BR-ONLYPAID", "x'y", "BR-\xF4", "Tab", "Z"};
  for (const std::string& id : Column("select distinct Id from account where Id like 'BR-%' order by Id limit 20")) {
    prefixes.push_back(id.substr(0, id.size() - 4));
    prefixes.push_back(id);
  }
  for (const std::string& prefix : prefixes) {
    std::vector<std::string> before = Column(OldFeeIdsNamedUnderSql(prefix));
    std::vector<std::string> now = Column(FinFeeIdsNamedUnderSql(prefix));
    std::sort(before.begin(), before.end());
    std::sort(now.begin(), now.end());
    EXPECT_EQ(now, before) << prefix;
    if (prefix == "BR-") {
      EXPECT_GT(before.size(), 40u);
    }
  }
  std::set<std::string> named;
  gDb = db_;
  EXPECT_TRUE(FinFeeIdsNamedUnder("BR-ONLY", named));
  gDb = nullptr;
  EXPECT_EQ(named, (std::set<std::string>{"BR-ONLYBILLED", "BR-ONLYPAID"}));
  fintest::Exec(db_, "DELETE FROM detail_account WHERE id_account IS NULL OR id_account='" + fee +
                         "9' OR id_account='BR-ONLYBILLED'; DELETE FROM transaksi WHERE id IN ('P1','P2','P3','P4')");
}

// The class reports read a class in one statement; each cell must hold what the statement per cell gave.
class ClassCells : public GeneratedSchool {
 protected:
  static std::vector<std::string> Classes(const std::string& tapel) {
    return Column("select Kelas from siswakelas where tapel='" + tapel +
                  "' and kelas<>'DO' and instr(kelas,'Lulus')<1 Group By Kelas");
  }
  static std::vector<std::string> Students(const std::string& kelas, const std::string& tapel) {
    return Column(FinArrearsReportStudentsSql(kelas, tapel));
  }
};

TEST_F(ClassCells, ArrearsReport) {
  int cells = 0;
  for (const char* tapel : kTapels) {
    for (const std::string& kelas : Classes(tapel)) {
      const std::vector<std::string> students = Students(kelas, tapel);
      const std::vector<std::string> fees = Column(FinArrearsReportFeesSql(kelas, tapel));
      for (const int prepaid : {0, 1}) {
        for (const int months : {1, 9, 12}) {
          std::map<std::pair<std::string, std::string>, std::string> now;
          for (const auto& r : Query(db_, FinArrearsReportClassCellsSql(fees, students, prepaid, months)))
            now[{r[0], r[1]}] = r[2] + "|" + r[3];   // the last billing row stored wins
          for (const std::string& s : students)
            for (const std::string& f : fees) {
              const Rows old = Query(db_, OldArrearsCellSql(f, s, prepaid, months));
              const auto it = now.find({s, f});
              EXPECT_EQ(it == now.end() ? std::string("none") : it->second,
                        old.empty() ? std::string("none") : old.back()[0] + "|" + old.back()[1])
                  << kelas << " " << s << " " << f << " " << prepaid << " " << months;
              ++cells;
            }
        }
      }
    }
  }
  EXPECT_GT(cells, 1000);
}

TEST_F(ClassCells, PaymentReportOfAClassAndAPeriod) {
  int cells = 0;
  for (const char* tapel : kTapels) {
    for (const std::string& kelas : Classes(tapel)) {
      const std::vector<std::string> students = Students(kelas, tapel);
      std::vector<std::string> keys = Column(PayRepClassFeesSql(kelas, tapel));
      keys.push_back("Disc");
      const std::vector<std::pair<std::string, std::string>> periods = {
          {std::string(tapel).substr(0, 4) + "-07-01", std::string(tapel).substr(5, 4) + "-06-30"},
          {"2024-09-01", "2024-12-31"}, {"2025-03-03", "2025-03-03"}};
      for (const auto& [from, to] : periods) {
        std::map<std::pair<std::string, std::string>, std::string> now;
        for (const auto& r : Query(db_, PayRepClassPaidInPeriodSql(keys, students, from, to))) now[{r[0], r[1]}] = r[2];
        for (const std::string& s : students)
          for (const std::string& k : keys) {
            const auto it = now.find({s, k});
            EXPECT_EQ(it == now.end() ? std::string("<null>") : it->second,
                      Query(db_, OldPaidInPeriodSql(k, s, from, to))[0][0])
                << kelas << " " << s << " " << k;
            ++cells;
          }
      }
    }
  }
  EXPECT_GT(cells, 500);
}

TEST_F(ClassCells, PaymentReportPerMonthOfAFee) {
  int cells = 0;
  for (const char* tapel : kTapels) {
    for (const std::string& kelas : Classes(tapel)) {
      const std::vector<std::string> students = Students(kelas, tapel);
      for (const std::string& fee : Column(PayRepClassFeesSql(kelas, tapel))) {
        std::map<std::string, std::string> paid;
        for (const auto& r : Query(db_, PayRepClassPaidOnFeeSql(students, fee))) paid[r[0]] = r[1];
        std::map<std::string, std::vector<std::string>> billed;
        for (const auto& r : Query(db_, PayRepClassBilledMonthsSql(students, fee)))
          billed[r[0]] = std::vector<std::string>(r.begin() + 1, r.end());
        for (const std::string& s : students) {
          EXPECT_EQ(paid.count(s) ? paid[s] : "<null>", Query(db_, OldPaidOnFeeSql(s, fee))[0][0]) << s << " " << fee;
          for (int m = 0; m < 12; ++m) {
            const Rows old = Query(db_, OldBilledMonthSql(kFinMonthColumns[m], s, fee));
            EXPECT_EQ(billed.count(s) ? billed[s][static_cast<std::size_t>(m)] : "none",
                      old.empty() ? "none" : old.back()[0])
                << s << " " << fee << " " << kFinMonthColumns[m];
            ++cells;
          }
        }
      }
    }
  }
  EXPECT_GT(cells, 1000);
}

}  // namespace
