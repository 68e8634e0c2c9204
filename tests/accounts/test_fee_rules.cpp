// The fee rules: identifiers and their one sequence, amounts in whole rupiah, billing values, shared statements.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <set>
#include <string>

#include "accounts/fee_rules.h"
#include "app/globals.h"
#include "common/globals.h"
#include "common/sql.h"
#include "support/fixtures.h"
#include "support/seams_fixture.h"

namespace {

TEST(FeeRules, SuffixIsTheLastFourOfZerosAndNumber) {
  const std::pair<long long, const char*> cases[] = {{1, "0001"}, {7, "0007"}, {42, "0042"}, {9999, "9999"},
                                                     {10000, "0000"}, {10013, "0013"}, {0, "0000"}};
  for (auto [n, s] : cases) EXPECT_EQ(FinFeeSuffix(n), s) << n;
}

TEST(FeeRules, Identifiers) {
  EXPECT_EQ(FinFeeClassKey("TK A"), "TKA");
  EXPECT_EQ(FinFeeClassKey(" Play  Group "), "PlayGroup");
  EXPECT_EQ(FinFeeId("TK A", "2023/2024", 7), "BR-TKA20230007");
  EXPECT_EQ(FinFeeId("X IPA", "2023/2024", 42), "BR-XIPA20230042");
  EXPECT_EQ(FinFeeId("Play Group", "2024/2025", 10000), "BR-PlayGroup20240000");
  EXPECT_EQ(FinFeeIdPrefix("X IPA", "2023/2024"), "BR-XIPA2023");
  EXPECT_EQ(FinYearCopyFeeId("VII A", "150000", "2024/2025", 3), "BR-VIIA15000020240003");
  EXPECT_EQ(FinYearCopyFeeIdPrefix("VII A", "150000", "2024/2025"), "BR-VIIA1500002024");
  EXPECT_EQ(FinYearCopyRefRekening("2024/2025"), "AM-20242025");
}

TEST(FeeRules, AmountsAreWholeRupiahNeverEmpty) {
  const std::pair<const char*, long long> cases[] = {
      {"150000", 150000}, {"", 0}, {"abc", 0}, {"50000.6", 50001}, {"2.5", 2}, {"3.5", 4}, {" 12x", 12},
      {"150.000", 150}, {"9000000000000", 9000000000000LL}};
  for (auto [t, v] : cases) EXPECT_EQ(FinFeeAmount(t), v) << t;
}

TEST(FeeRules, BillingOfMonthlyAndYearlyFees) {
  const FinBilling monthly = FinFeeBilling("Perbulan", 150000);
  EXPECT_EQ(monthly.total, 1800000);
  for (long long m : monthly.months) EXPECT_EQ(m, 150000);
  const FinBilling yearly = FinFeeBilling("Pertahun", 900000);
  EXPECT_EQ(yearly.total, 900000);
  for (long long m : yearly.months) EXPECT_EQ(m, 0);
  // Only the exact text marks a yearly fee; an empty or other type bills monthly.
  for (const char* t : {"", "pertahun", "Pertahun ", "Perhari"}) EXPECT_EQ(FinFeeBilling(t, 10).total, 120) << t;
  // 64-bit totals.
  EXPECT_EQ(FinFeeBilling("Perbulan", 3000000000LL).total, 36000000000LL);
}

TEST(FeeRules, CodeOfAnItem) {
  EXPECT_EQ(FinCodeOfItem("411 SPP Bulanan"), "411");
  EXPECT_EQ(FinCodeOfItem(" Tanpa kode"), "");
  EXPECT_EQ(FinCodeOfItem("411"), "");
  EXPECT_EQ(FinCodeOfItem(""), "");
}

TEST(FeeRules, StatementsQuoteTheirValues) {
  EXPECT_EQ(FinFeeListSql("TK'A", "2023/2024"),
            "select Id, Pembayaran, Jumlah, Kelas, Type, RefRekening, (Select count(*) from detail_account where "
            "detail_account.id_account=account.id) as N from account WHERE Kelas='TK''A' and Tapel='2023/2024' "
            "Order By Id");
  EXPECT_EQ(FinFeeClassesSql("2023/2024"),
            "select Kelas from siswakelas WHERE Tapel='2023/2024' and Kelas<>'DO' and instr(Kelas,'Lulus')<1 Group "
            "By Kelas");
  FinBilling b = FinFeeBilling("Perbulan", 5);
  EXPECT_EQ(FinBillingInsertSql("BR-1", "S'1", b),
            "Insert Into detail_account (id_account, id_siswa, jml_pembayaran, juli, agustus, september, oktober, "
            "nopember, desember, januari, februari, maret, april, mei, juni) Values('BR-1','S''1','60','5','5','5',"
            "'5','5','5','5','5','5','5','5','5')");
  EXPECT_EQ(FinBillingUpdateAllSql("BR-'1", FinFeeBilling("Pertahun", 9)),
            "Update detail_account Set jml_pembayaran='9',juli='0',agustus='0',september='0',oktober='0',"
            "nopember='0',desember='0',januari='0',februari='0',maret='0',april='0',mei='0',juni='0' WHERE "
            "id_account='BR-''1'");
}

class FeeSequenceTest : public fintest::SeamsTest {
 protected:
  FeeSequenceTest() { gDb = fintest::CreateDatabase(WorkFile("k.db3")); }
  ~FeeSequenceTest() override {
    sqlite3_close(gDb);
    gDb = nullptr;
  }
};

TEST_F(FeeSequenceTest, OneSequenceOverEveryClassAndYear) {
  EXPECT_EQ(FinNextFeeNumber(), 1);   // empty table
  fintest::Exec(gDb, "INSERT INTO account (Id, Kelas, Tapel) VALUES ('BR-VII20220041','VII','2022/2023'),"
                     "('BR-TKA20230006','TK A','2023/2024'),('BR-X20230012','X','2023/2024')");
  EXPECT_EQ(FinNextFeeNumber(), 42);   // the highest suffix of any class and year
  EXPECT_EQ(FinFeeId("X IPA", "2023/2024", FinNextFeeNumber()), "BR-XIPA20230042");
  // Text order: "9999" stays the highest once it exists, so every later number is 10000 ("0000").
  fintest::Exec(gDb, "INSERT INTO account (Id) VALUES ('BR-A20239999'),('BR-A20230000')");
  EXPECT_EQ(FinNextFeeNumber(), 10000);
  EXPECT_EQ(FinFeeSuffix(FinNextFeeNumber()), "0000");
}

TEST_F(FeeSequenceTest, AnIdStillNamedByABillingRowOrAPaymentIsNotFree) {
  // BR-TKA20230006 was deleted: its billing row and its payment stay. 0007 is a fee; 0008 only a payment's.
  fintest::Exec(gDb, "INSERT INTO account (Id, Kelas, Tapel) VALUES ('BR-TKA20230005','TK A','2023/2024'),"
                     "('BR-TKA20230007','TK A','2023/2024');"
                     "INSERT INTO detail_account (id_account, id_siswa) VALUES ('BR-TKA20230006','S1');"
                     "INSERT INTO transaksi (id, acctid, siswaid, masuk) VALUES ('T1','BR-TKA20230006','S1',5),"
                     "('T2','BR-TKA20230008','S2',5),('T3','Disc','S2',-1)");
  struct Case {
    const char* id;
    bool named;
  } cases[] = {{"BR-TKA20230005", true}, {"BR-TKA20230006", true}, {"BR-TKA20230008", true},
               {"BR-TKA20230009", false}, {"BR-VIIA20230006", false}, {"", false}};
  for (const Case& c : cases) EXPECT_EQ(FinFeeIdNamed(c.id), c.named) << c.id;

  const auto tka = [](long long n) { return FinFeeId("TK A", "2023/2024", n); };
  std::set<std::string> named = {"left over"};
  ASSERT_TRUE(FinFeeIdsNamedUnder(FinFeeIdPrefix("TK A", "2023/2024"), named));
  EXPECT_EQ(named, (std::set<std::string>{"BR-TKA20230005", "BR-TKA20230006", "BR-TKA20230007", "BR-TKA20230008"}));
  EXPECT_EQ(FinFreeFeeNumber(named, tka, 5), 9);   // 0005 to 0008 are named
  EXPECT_EQ(FinFreeFeeNumber(named, tka, 1), 1);
  // Every suffix of a class and year named: none is free.
  fintest::Exec(gDb, "WITH RECURSIVE n(k) AS (SELECT 0 UNION ALL SELECT k+1 FROM n WHERE k<9999) "
                     "INSERT INTO detail_account (id_account) SELECT 'BR-X2023' || substr('000' || k, -4) FROM n");
  ASSERT_TRUE(FinFeeIdsNamedUnder(FinFeeIdPrefix("X", "2023/2024"), named));
  EXPECT_EQ(FinFreeFeeNumber(named, [](long long n) { return FinFeeId("X", "2023/2024", n); }, 42), 0);
}

TEST_F(FeeSequenceTest, AFailedNameCountIsReportedAndCountsAsNamed) {
  fintest::Exec(gDb, "DROP TABLE transaksi");
  ExpectMsgBox("SQL error0: no such table: transaksi", "Info", IDOK, MB_OK);
  bool failed = false;
  EXPECT_TRUE(FinFeeIdNamed("BR-TKA20230001", "SQL error0: ", &failed));
  EXPECT_TRUE(failed);
  ExpectMsgBox("SQL error: no such table: transaksi", "Info", IDOK, MB_OK);
  std::set<std::string> named;
  EXPECT_FALSE(FinFeeIdsNamedUnder(FinFeeIdPrefix("X", "2023/2024"), named));
}

TEST_F(FeeSequenceTest, AFailedSequenceQueryIsReported) {
  fintest::Exec(gDb, "DROP TABLE account");
  ExpectMsgBox("SQL error: no such table: account", "Info", IDOK, MB_OK);
  bool failed = false;
  gSqlResult = "0041";   // what an earlier statement left is never read
  EXPECT_EQ(FinNextFeeNumber(&failed), 1);
  EXPECT_TRUE(failed);
}

}  // namespace
