// The rows of one receipt: the stamp and ids, the money (net, savings used, change), the rows and statements, and
// the write in one transaction, with the way readers find the rows again.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/globals.h"
#include "common/globals.h"
#include "payments/payment_save.h"
#include "support/fixtures.h"
#include "support/other_program.h"
#include "support/rollback_refused.h"
#include "support/seams_fixture.h"

namespace {

using Table = std::vector<std::vector<std::string>>;

// ----- stamps and ids ------------------------------------------------------------------------------------------------
TEST(PaymentStamp, TwentyTwoDigitsFromYearDateAndClock) {
  struct Case {
    const char *tapel, *today, *clock, *stamp;
  };
  const Case cases[] = {
      {"2024/2025", "2024-09-02", "10:15:30", "2024202520240902101530"},
      {"2023/2024", "2024-01-31", "00:00:00", "2023202420240131000000"},
      {"2024/2025", "2025-06-30", "23:59:59", "2024202520250630235959"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stamp);
    const std::string stamp = PayReceiptStamp(c.tapel, c.today, c.clock);
    EXPECT_EQ(stamp, c.stamp);
    EXPECT_EQ(stamp.size(), 22u);
  }
  EXPECT_EQ(PayTimeDigits("09:05:07"), "090507");
  EXPECT_EQ(PayRowId("2024202520240902101530", 1), "20242025202409021015301");
  EXPECT_EQ(PayRowId("2024202520240902101530", 10), "202420252024090210153010");
}

// ----- money -------------------------------------------------------------------------------------------------------
TEST(PaymentMoney, SavingsUsedChangeAndWhatIsLeft) {
  struct Case {
    bool ticked;
    long long balance, net, paid;
    long long used, change, left;
  };
  const Case cases[] = {
      {false, 600, 1000, 1000, 0, 0, 600},     // no savings: cash only
      {false, 600, 1000, 1200, 0, 200, 600},   // change
      {false, 600, 1000, 300, 0, -700, 600},   // short
      {true, 600, 1000, 400, 600, 0, 0},       // the box ticked: cash 400, the balance covers the rest
      {true, 1500, 1000, 0, 1000, 0, 500},     // the savings cover everything
      {true, 600, 1000, 500, 500, 0, 100},     // only what the cash does not cover is taken
      {true, 600, 1000, 300, 600, -100, 0},    // short even with the whole balance
      {true, 1500, 1000, 1000, 0, 0, 1500},    // cash covers: nothing taken, nothing paid twice
      {true, 1500, 1000, 1200, 0, 200, 1500},  // cash above net: change, savings untouched
      {true, 0, 1000, 1000, 0, 0, 0},          // nothing to take
      {true, -200, 1000, 1000, 0, 0, -200},    // a balance below 0 gives nothing
      {true, 1500, -500, -500, 0, 0, 1500},    // a discount above the total: nothing taken
      {true, 600, 0, 0, 0, 0, 600},            // nothing owed
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.ticked << " " << c.balance << " " << c.net << " " << c.paid);
    const long long used = PaySavingsUsed(c.ticked, c.balance, c.net, c.paid);
    EXPECT_EQ(used, c.used);
    EXPECT_EQ(PayChange(c.paid, c.net, used), c.change);
    EXPECT_EQ(PaySavingsLeft(c.balance, used), c.left);
  }
  // Whatever the amounts: never below 0, never above the balance, never more than the cash leaves open.
  for (long long balance : {-100LL, 0LL, 1LL, 999LL, 1000LL, 5000LL})
    for (long long net : {-300LL, 0LL, 1000LL, 2500LL})
      for (long long paid : {-300LL, 0LL, 400LL, 1000LL, 3000LL}) {
        const long long used = PaySavingsUsed(true, balance, net, paid);
        EXPECT_GE(used, 0);
        EXPECT_LE(used, balance < 0 ? 0 : balance);
        EXPECT_LE(used, net - paid < 0 ? 0 : net - paid);
        EXPECT_EQ(PayChange(paid, net, used), paid - (net - used));
      }
  EXPECT_EQ(PayNet(1000000, 5000), 995000);
  EXPECT_EQ(PayNet(1000, 5000), -4000);
  EXPECT_EQ(PayAmount(""), 0);
  EXPECT_EQ(PayAmount("abc"), 0);
  EXPECT_EQ(PayAmount("150000"), 150000);
  EXPECT_EQ(PayAmount("2.5"), 2);
  EXPECT_EQ(PayAmount("3.5"), 4);
  EXPECT_EQ(PayAmount("9999999999"), 9999999999LL);
}

// ----- rows --------------------------------------------------------------------------------------------------------
PaySaveInput ThreeItems() {
  PaySaveInput in;
  in.stamp = "2024202520240902101530";
  in.today = "2024-09-02";
  in.studentId = "12";
  in.studentName = "ANI RAHMA";
  in.paymentOption = "CASH";
  in.operatorName = "kasir";
  in.items = {{"BR-VIIA20240001", "SPP Bulan : Juli s/d Agustus", 300000, "411"},
              {"BR-VIIA20240002", "Uang Buku", 450000, "412"},
              {"BR-VIIA20240003", "Seragam", 250000, "413"}};
  return in;
}

std::vector<std::string> Ids(const std::vector<PayRow>& rows) {
  std::vector<std::string> ids;
  for (const PayRow& r : rows) ids.push_back(r.id.substr(22));
  return ids;
}

TEST(PaymentRows, ItemsLastFirstThenDiscountThenSavings) {
  struct Case {
    long long discount, savings;
    std::vector<std::string> idEnds;
  };
  const Case cases[] = {
      {0, 0, {"3", "2", "1"}},
      {5000, 0, {"3", "2", "1", "4"}},
      {0, 600, {"3", "2", "1", "5"}},   // no discount row: nothing ends in 4
      {5000, 600, {"3", "2", "1", "4", "5"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.discount << " " << c.savings);
    PaySaveInput in = ThreeItems();
    in.discount = c.discount;
    in.savingsUsed = c.savings;
    const std::vector<PayRow> rows = PayReceiptRows(in);
    EXPECT_EQ(Ids(rows), c.idEnds);
    for (const PayRow& r : rows) EXPECT_EQ(r.id.substr(0, 22), in.stamp);
  }
}

TEST(PaymentRows, EveryColumnOfEveryKind) {
  PaySaveInput in = ThreeItems();
  in.discount = 5000;
  in.savingsUsed = 600;
  const std::vector<PayRow> rows = PayReceiptRows(in);
  ASSERT_EQ(rows.size(), 5u);
  const PayRow& item = rows[2];   // the first item, written third
  EXPECT_EQ(item.id, "20242025202409021015301");
  EXPECT_EQ(item.tgl, "2024-09-02");
  EXPECT_EQ(item.uraian, "SPP Bulan : Juli s/d Agustus");
  EXPECT_EQ(item.acctid, "BR-VIIA20240001");
  EXPECT_EQ(item.siswaid, "12");
  EXPECT_EQ(item.masuk, 300000);
  EXPECT_EQ(item.keluar, 0);
  EXPECT_EQ(item.petugas, "kasir");
  EXPECT_EQ(item.sts, "p");
  EXPECT_EQ(item.jenjang, "-");
  EXPECT_EQ(item.ref, "411");
  EXPECT_TRUE(item.hasRef);
  const PayRow& disc = rows[3];
  EXPECT_EQ(disc.uraian, "Potongan Pembayaran");
  EXPECT_EQ(disc.acctid, "Disc");
  EXPECT_EQ(disc.masuk, -5000);
  EXPECT_EQ(disc.keluar, 0);
  EXPECT_EQ(disc.sts, "p");
  EXPECT_EQ(disc.ref, "disc-pembayaran");
  const PayRow& sav = rows[4];
  EXPECT_EQ(sav.uraian, "02-Penarikan utk pembayaran");
  EXPECT_EQ(sav.acctid, "Tabungan");
  EXPECT_EQ(sav.masuk, 0);
  EXPECT_EQ(sav.keluar, 600);
  EXPECT_EQ(sav.sts, "t");
  EXPECT_EQ(sav.jenjang, "-");
  EXPECT_FALSE(sav.hasRef);
}

TEST(PaymentRows, CashOrBankOption) {
  struct Case {
    const char* option;
    const char* ledger;
    const char* uraian;
    const char* ref;
  };
  const Case cases[] = {
      {"CASH", "411", "Uang Buku", "411"},
      {"CASH", "4110-0001-0002-0003", "Uang Buku", "4110-0001-0002-"},   // at most 15 characters
      {"CASH", "4110-0001-00é-0003", "Uang Buku", "4110-0001-00é-0"},    // characters, not bytes
      {"112 Bank BRI", "411", "Uang BukuAn. ANI RAHMA", "112"},
      {"cash", "411", "Uang BukuAn. ANI RAHMA", "cas"},                  // only "CASH" exactly is cash
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.option);
    PaySaveInput in = ThreeItems();
    in.items = {{"BR-VIIA20240002", "Uang Buku", 450000, c.ledger}};
    in.paymentOption = c.option;
    const std::vector<PayRow> rows = PayReceiptRows(in);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].uraian, c.uraian);
    EXPECT_EQ(rows[0].ref, c.ref);
  }
}

TEST(PaymentRows, TenItemsAndMore) {
  PaySaveInput in = ThreeItems();
  in.items.clear();
  for (int i = 1; i <= 11; ++i) in.items.push_back({"BR-" + std::to_string(i), "Item", 1000, "411"});
  in.discount = 500;
  in.savingsUsed = 100;
  const std::vector<PayRow> rows = PayReceiptRows(in);
  EXPECT_EQ(Ids(rows), (std::vector<std::string>{"11", "10", "9", "8", "7", "6", "5", "4", "3", "2", "1", "12",
                                                 "13"}));
}

TEST(PaymentRows, NoItemsNoRows) {
  PaySaveInput in = ThreeItems();
  in.items.clear();
  EXPECT_TRUE(PayReceiptRows(in).empty());
  in.discount = 5000;   // no discount or savings row stands alone
  in.savingsUsed = 600;
  EXPECT_TRUE(PayReceiptRows(in).empty());
}

TEST(PaymentRows, StatementsQuoteEveryValue) {
  PayRow r;
  r.id = "20242025202409021015301";
  r.tgl = "2024-09-02";
  r.uraian = "Buku O'Neil";
  r.acctid = "BR-1";
  r.siswaid = "12";
  r.masuk = -5000;
  r.keluar = 0;
  r.petugas = "kasir";
  r.sts = "p";
  r.jenjang = "-";
  r.ref = "411";
  EXPECT_EQ(PayInsertSql(r),
            "INSERT INTO transaksi (id,tgl,uraian,acctid,siswaid,masuk,keluar,petugas,sts,jenjang,Ref) VALUES "
            "('20242025202409021015301','2024-09-02','Buku O''Neil','BR-1','12','-5000','0','kasir','p','-','411')");
  r.hasRef = false;
  EXPECT_EQ(PayInsertSql(r),
            "INSERT INTO transaksi (id,tgl,uraian,acctid,siswaid,masuk,keluar,petugas,sts,jenjang) VALUES "
            "('20242025202409021015301','2024-09-02','Buku O''Neil','BR-1','12','-5000','0','kasir','p','-')");
}

// ----- the table -------------------------------------------------------------------------------------------------
class PaymentTableTest : public fintest::SeamsTest {
 protected:
  PaymentTableTest() { gDb = fintest::CreateDatabase(WorkFile("t.db3")); }
  ~PaymentTableTest() override {
    sqlite3_close(gDb);
    gDb = nullptr;
  }
  Table Q(const std::string& sql) { return fintest::Query(gDb, sql); }
};

TEST_F(PaymentTableTest, AReceiptIsWrittenAndReadBackByItsStamp) {
  PaySaveInput in = ThreeItems();
  in.discount = 5000;
  in.savingsUsed = 600;
  ASSERT_TRUE(PayWriteRows(PayReceiptRows(in)));
  EXPECT_EQ(Q("select id, masuk, keluar, sts, Ref from transaksi order by rowid"),
            (Table{{"20242025202409021015303", "250000", "0", "p", "413"},
                   {"20242025202409021015302", "450000", "0", "p", "412"},
                   {"20242025202409021015301", "300000", "0", "p", "411"},
                   {"20242025202409021015304", "-5000", "0", "p", "disc-pembayaran"},
                   {"20242025202409021015305", "0", "600", "t", "<null>"}}));
  const std::string stamp = "substr(Id,1,22)='2024202520240902101530'";
  // The reprint: items without the discount, the discount, the savings used.
  EXPECT_EQ(Q("select Uraian, Masuk from transaksi where " + stamp + " and AcctId<>'Disc' and Sts='p' order by Id"),
            (Table{{"SPP Bulan : Juli s/d Agustus", "300000"}, {"Uang Buku", "450000"}, {"Seragam", "250000"}}));
  EXPECT_EQ(Q("select sum(Masuk) from transaksi where " + stamp + " and AcctId='Disc'"), (Table{{"-5000"}}));
  EXPECT_EQ(Q("select sum(Keluar) from transaksi where " + stamp + " and AcctId='Tabungan'"), (Table{{"600"}}));
  // The receipt's 'p' rows sum to the net amount; the savings row lowers the balance and stays out of the cash.
  EXPECT_EQ(Q("select sum(Masuk) from transaksi where Sts='p'"), (Table{{"995000"}}));
  EXPECT_EQ(Q("select Sum(Masuk-Keluar) from transaksi where AcctID='Tabungan' and SiswaID='12'"), (Table{{"-600"}}));
  EXPECT_EQ(Q("select Sum(Masuk-Keluar) from transaksi where AcctID<>'Tabungan'"), (Table{{"995000"}}));
  // A student without savings rows has no balance at all.
  EXPECT_EQ(Q("select Sum(Masuk-Keluar) from transaksi where AcctID='Tabungan' and SiswaID='99'"),
            (Table{{"<null>"}}));
}

// Numbered instalments are counted as the instalment chooser counts them, from the stored payments whose description
// holds "Angsuran" (any case), each covering its amount over a tenth of the year rounded half to even, and from the
// items before in the same receipt: an instalment paid by now refuses its item, naming the fee and the instalments.
TEST_F(PaymentTableTest, AnItemOfInstalmentsPaidByNowIsRefusedAsTheChooserCountsThem) {
  fintest::Exec(gDb,
                "INSERT INTO account (Id, Pembayaran, Kelas, Jumlah, Type, Tapel) VALUES ('BR-2', 'Buku', 'VII A', "
                "1000000, 'Pertahun', '2024/2025');"
                "INSERT INTO detail_account (id_account, id_siswa, jml_pembayaran) VALUES ('BR-2', '12', 1000000);");
  auto item = [](std::vector<int> numbers, long long amount) {
    int bits = 0;
    for (int k : numbers) bits |= 1 << (k - 1);
    PayItem it{"BR-2", "Angsuran Buku", amount, "412"};
    it.instalments = PayItemInstalments(PayInstalmentItemData(bits));
    return it;
  };
  struct Case {
    const char* name;
    const char* stored;   // uraian, masuk of a stored payment on the fee (nullptr: none)
    std::vector<PayItem> items;
    const char* refusal;
  } const cases[] = {
      {"nothing paid yet", nullptr, {item({1, 2, 3}, 300000)}, ""},
      {"instalments 1 to 3 paid", "'Angsuran Buku dari : 1 s/d 3', 300000", {item({3, 4}, 200000)},
       "Angsuran Buku : Angsuran 3 sudah lunas.."},
      {"one and a half instalments count as two, the word in any case", "'angsuran buku', 150000",
       {item({2}, 100000)}, "Angsuran Buku : Angsuran 2 sudah lunas.."},
      {"the next one is open", "'angsuran buku', 150000", {item({3}, 100000)}, ""},
      {"two and a half count as two", "'Angsuran Buku', 250000", {item({3}, 100000)}, ""},
      {"a free amount is no instalment", "'Cicilan Buku', 300000", {item({1, 2, 3}, 300000)}, ""},
      {"a free amount leaves less owed than the instalments", "'Cicilan Buku', 900000", {item({1, 2}, 200000)},
       "Angsuran Buku : Jumlah pembayaran melebihi sisa tagihan, sisa tagihan : 100.000.."},
      {"more than the instalments bill", nullptr, {item({1}, 150000)},
       "Angsuran Buku : Jumlah pembayaran melebihi sisa tagihan, sisa tagihan : 100.000.."},
      {"an item before in the receipt", nullptr, {item({1, 2}, 200000), item({2, 3}, 200000)},
       "Angsuran Buku : Angsuran 2 sudah lunas.."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fintest::Exec(gDb, "DELETE FROM transaksi");
    if (c.stored)
      fintest::Exec(gDb, std::string("INSERT INTO transaksi (id, tgl, uraian, masuk, acctid, siswaid, keluar, sts) "
                                     "VALUES ('X1', '2024-08-01', ") + c.stored + ", 'BR-2', '12', 0, 'p')");
    PaySaveInput in = ThreeItems();
    in.items = c.items;
    std::string refusal = "unset";
    ASSERT_TRUE(PayItemsWithinTheirFees(in, 0, &refusal));
    EXPECT_EQ(refusal, c.refusal);
  }
  // What an item keeps: months and instalments apart, nothing beyond the tenth instalment.
  EXPECT_EQ(PayInstalmentItemData(0), 0);
  EXPECT_EQ(PayItemInstalments(PayInstalmentItemData(0x7FF)), 0x3FF);
  EXPECT_EQ(PayItemMonths(PayInstalmentItemData(0x5)), 0);
  EXPECT_EQ(PayItemInstalments(PayItemData(0x5)), 0);
  EXPECT_EQ(PayItemMonths(PayItemData(0x5)), 0x5);
}

TEST_F(PaymentTableTest, AFailureInTheMiddleWritesNothing) {
  fintest::Exec(gDb,
                "CREATE TRIGGER no_disc BEFORE INSERT ON transaksi WHEN NEW.acctid='Disc' "
                "BEGIN SELECT RAISE(ABORT, 'potongan ditolak'); END;");
  PaySaveInput in = ThreeItems();
  in.discount = 5000;
  in.savingsUsed = 600;
  ExpectMsgBox("SQL error: potongan ditolak", "Info");
  EXPECT_FALSE(PayWriteRows(PayReceiptRows(in)));
  EXPECT_EQ(Q("select count(*) from transaksi"), (Table{{"0"}}));
  // The next receipt is written as usual.
  fintest::Exec(gDb, "DROP TRIGGER no_disc;");
  EXPECT_TRUE(PayWriteRows(PayReceiptRows(in)));
  EXPECT_EQ(Q("select count(*) from transaksi"), (Table{{"5"}}));
}

TEST_F(PaymentTableTest, AReceiptWhoseUndoFailsLeavesTheNextReceiptsWrittenForReal) {
  // The receipt is refused half-way and its ROLLBACK fails too: the program opens its connection anew, so that the
  // next receipts are real transactions and no write lock stays on the file.
  gDbPath = WorkFile("t.db3");
  fintest::Exec(gDb,
                "CREATE TRIGGER no_disc BEFORE INSERT ON transaksi WHEN NEW.acctid='Disc' AND NEW.id LIKE '2024%' "
                "BEGIN SELECT RAISE(ABORT, 'potongan ditolak'); END;");
  PaySaveInput in = ThreeItems();
  in.discount = 5000;
  {
    fintest::RollbackRefused refused;
    ExpectMsgBox("SQL error: potongan ditolak", "Info");
    EXPECT_EQ(FinInsertIfFree(PayStampCountSql(in.stamp), PayInsertStatements(PayReceiptRows(in))),
              FinInsertResult::Failed);
    VerifySeams();
  }
  ASSERT_NE(gDb, nullptr);
  EXPECT_TRUE(sqlite3_get_autocommit(gDb));
  for (const char* stamp : {"2025202620250902101530", "2025202620250902101531"}) {
    in.stamp = stamp;
    EXPECT_EQ(FinInsertIfFree(PayStampCountSql(in.stamp), PayInsertStatements(PayReceiptRows(in))),
              FinInsertResult::Written);
  }
  sqlite3_close(gDb);
  gDb = nullptr;
  EXPECT_EQ(fintest::RowsInFile(WorkFile("t.db3"), "select substr(id,1,22), count(*) from transaksi group by 1"),
            (Table{{"2025202620250902101530", "4"}, {"2025202620250902101531", "4"}}));
  gDbPath.clear();
}

}  // namespace
