// The arrears rule: months due by the day, the month-sum expression, the statement run on a real database for a table
// of cases (monthly fees in the running school year up to the current month, other years all twelve months, yearly
// fees, prepaid mode, partial and excess payments, discount and savings rows, revisions, missing amounts), checked
// against the same rule in plain code; the window's small decisions.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QDateTime>

#include <optional>
#include <tuple>
#include <string>
#include <vector>

#include "app/globals.h"
#include "common/session.h"
#include "payments/arrears.h"
#include "support/fixtures.h"
#include "support/seams_fixture.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

TEST(ArrearsMonths, MonthsDueByTheDay) {
  struct Case {
    const char* year;
    int y, m;
    int months;
  } cases[] = {
      {"2024/2025", 2024, 7, 1},   {"2024/2025", 2024, 8, 2},   {"2024/2025", 2024, 9, 3},
      {"2024/2025", 2024, 12, 6},  {"2024/2025", 2025, 1, 7},   {"2024/2025", 2025, 3, 9},
      {"2024/2025", 2025, 5, 11},  {"2024/2025", 2025, 6, 12},  // 30 June: the whole year
      {"2024/2025", 2024, 6, 12},  // before the year begins: another school year, all twelve
      {"2024/2025", 2025, 7, 12},  // after it ended
      {"2023/2024", 2024, 9, 12},  {"2023/2024", 2024, 3, 9},   {"2025/2026", 2024, 9, 12},
      {"", 2024, 9, 12},           {"2024", 2024, 9, 3},        // the first four characters alone decide July on
      {"x/2025", 2025, 2, 8},      // the last four characters alone decide January to June
  };
  for (const Case& c : cases)
    EXPECT_EQ(FinArrearsMonthsDue(c.year, c.y, c.m), c.months) << c.year << " " << c.y << "-" << c.m;
}

TEST(ArrearsMonths, MonthSumExpressions) {
  EXPECT_EQ(FinArrearsMonthSumSql(1), "detail_account.juli");
  EXPECT_EQ(FinArrearsMonthSumSql(2), "detail_account.juli+detail_account.agustus");
  EXPECT_EQ(FinArrearsMonthSumSql(3), "detail_account.juli+detail_account.agustus+detail_account.september");
  EXPECT_EQ(FinArrearsMonthSumSql(7),
            "detail_account.juli+detail_account.agustus+detail_account.september+detail_account.oktober+"
            "detail_account.nopember+detail_account.desember+detail_account.januari");
  const std::string all =
      "detail_account.juli+detail_account.agustus+detail_account.september+detail_account.oktober+"
      "detail_account.nopember+detail_account.desember+detail_account.januari+detail_account.februari+"
      "detail_account.maret+detail_account.april+detail_account.mei+detail_account.juni";
  EXPECT_EQ(FinArrearsMonthSumSql(12), all);
  EXPECT_EQ(FinArrearsMonthSumSql(40), all);
  EXPECT_EQ(FinArrearsMonthSumSql(0), "detail_account.juli");
}

TEST(ArrearsWindowRules, SchoolYearsRefAndNames) {
  EXPECT_EQ(FinArrearsSchoolYears("2024/2025"), (std::vector<std::string>{"2024/2025", "2023/2024", "2022/2023",
                                                                          "2021/2022", "2020/2021", "2019/2020"}));
  EXPECT_EQ(FinArrearsSchoolYears("2000/2001")[5], "1995/1996");

  EXPECT_FALSE(FinArrearsIsEarlierYear("2024/2025", "2024/2025"));
  EXPECT_TRUE(FinArrearsIsEarlierYear("2024/2025", "2023/2024"));
  EXPECT_FALSE(FinArrearsIsEarlierYear("2024/2025", "2025/2026"));

  struct Case {
    const char* chosen;
    const char* rekening;
    const char* ref;
  } cases[] = {
      {"2024/2025", "421 Tunggakan SPP", "411"},   // the working year: the fee's own code
      {"2025/2026", "421 Tunggakan SPP", "411"},
      {"2023/2024", "421 Tunggakan SPP", "421"},   // an earlier year: the chosen account's code
      {"2019/2020", "421 Tunggakan SPP", "421"},
      {"2023/2024", "421", ""},                    // no blank: no code
      {"2023/2024", "", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FinArrearsInsertRef("2024/2025", c.chosen, "411", c.rekening), c.ref) << c.chosen << " " << c.rekening;

  EXPECT_EQ(FinArrearsNameText("SPP", "VI A", "2023/2024", "2024/2025", "2024/2025"), "SPP");
  EXPECT_EQ(FinArrearsNameText("SPP", "VI A", "2023/2024", "2023/2024", "2024/2025"), "SPP Kls:VI A 2023/2024");
}

TEST(ArrearsStatements, TextsAndQuoting) {
  EXPECT_EQ(FinArrearsClassSql("12", "2024/2025"),
            "SELECT Kelas FROM siswakelas where idsiswa='12' and tapel='2024/2025'");
  EXPECT_EQ(FinArrearsClassSql("O'Neil", "2024/2025"),
            "SELECT Kelas FROM siswakelas where idsiswa='O''Neil' and tapel='2024/2025'");
  EXPECT_EQ(FinArrearsRekeningSql("2024/2025"),
            "Select Kode, Deskripsi From rekening Where substr(kode,-1)<>'0' and Grup='Msk' and Tapel='2024/2025'");

  const std::string postpaid = FinArrearsSql("12", "VII A", "2024/2025", "2024/2025", 0, 2);
  EXPECT_EQ(postpaid,
            "SELECT account.Id, account.Pembayaran, case when cast(detail_account.jml_pembayaran as int)-cast((SELECT "
            "sum(transaksi.Masuk) FROM transaksi where transaksi.SiswaID=detail_account.id_siswa and "
            "transaksi.AcctId=account.id) as int) is null then case when account.Type='Perbulan' then "
            "cast(detail_account.juli+detail_account.agustus as int) else cast(detail_account.jml_pembayaran as int) "
            "end else case when account.Type='Perbulan' then cast(detail_account.juli+detail_account.agustus as int) "
            "else cast(detail_account.jml_pembayaran as int)  end - cast((SELECT sum(transaksi.Masuk) FROM transaksi "
            "where transaksi.SiswaID=detail_account.id_siswa and transaksi.AcctId=account.id) as int) end, "
            "account.Type, account.RefRekening, detail_account.jml_pembayaran FROM account inner join detail_account "
            "on detail_account.id_account=account.id WHERE detail_account.id_siswa='12' and account.Kelas='VII A' "
            "AND account.Tapel='2024/2025' Order By account.Id Desc");
  const std::string prepaid = FinArrearsSql("12", "VII A", "2023/2024", "2024/2025", 1, 2);
  EXPECT_EQ(prepaid,
            "SELECT account.Id, account.Pembayaran||' Kls:'||Kelas||' '|| Tapel, case when "
            "cast(detail_account.jml_pembayaran as int)-cast((SELECT sum(transaksi.Masuk) FROM transaksi where "
            "transaksi.SiswaID=detail_account.id_siswa and transaksi.AcctId=account.id) as int) is null then "
            "cast(detail_account.jml_pembayaran as int) else cast(detail_account.jml_pembayaran as int) - "
            "cast((SELECT sum(transaksi.Masuk) FROM transaksi where transaksi.SiswaID=detail_account.id_siswa and "
            "transaksi.AcctId=account.id) as int) end, account.Type, account.RefRekening, "
            "detail_account.jml_pembayaran FROM account inner join detail_account on "
            "detail_account.id_account=account.id WHERE detail_account.id_siswa='12' and account.Kelas='VII A' AND "
            "account.Tapel='2023/2024' Order By account.Id Desc");
  // Typed text stays inside its literal.
  const std::string quoted = FinArrearsSql("1' or '1'='1", "VII' A", "2024'/2025", "2024/2025", 0, 3);
  EXPECT_NE(quoted.find("id_siswa='1'' or ''1''=''1'"), std::string::npos);
  EXPECT_NE(quoted.find("account.Kelas='VII'' A'"), std::string::npos);
  EXPECT_NE(quoted.find("account.Tapel='2024''/2025'"), std::string::npos);
}

// ----- the rule on a real database ------------------------------------------------------------------------------------

class ArrearsRuleTest : public fintest::SeamsTest {
 protected:
  void SetUp() override {
    db_ = fintest::CreateDatabase(WorkFile("arrears.db3"));
  }
  void TearDown() override { sqlite3_close(db_); }

  Rows Run(const std::string& sql) { return fintest::Query(db_, sql); }

  sqlite3* db_ = nullptr;
};

// One billing row, the student's rows in transaksi, and what the list shows.
struct RuleCase {
  const char* what;
  const char* type;                    // account.Type
  const char* yearly;                  // jml_pembayaran ("NULL" for none)
  const char* months;                  // twelve values, or "NULL" for months not written
  std::vector<std::string> payments;   // extra transaksi rows as "acctid,siswaid,masuk,sts,jenjang"
  const char* chosen;                  // the school year chosen (the fee's own year)
  int y, m;                            // today
  int prepaid;
  const char* owed;                    // the "Jumlah" cell ("<null>": empty)
};

std::optional<long long> Num(const std::string& s) {
  if (s == "NULL" || s == "<null>") return std::nullopt;
  return std::stoll(s);
}

TEST_F(ArrearsRuleTest, OwedPerFeeAsTheListShowsIt) {
  // Months of 100, 200, ... 1200 (July first): every sum names the months it took. The year: 7800.
  const char* kMonths = "100,200,300,400,500,600,700,800,900,1000,1100,1200";
  const std::vector<RuleCase> cases = {
      {"monthly, 2 Sep: July to September", "Perbulan", "7800", kMonths, {}, "2024/2025", 2024, 9, 0, "600"},
      {"monthly, 15 Aug: July and August", "Perbulan", "7800", kMonths, {}, "2024/2025", 2024, 8, 0, "300"},
      {"monthly, 1 July: July alone", "Perbulan", "7800", kMonths, {}, "2024/2025", 2024, 7, 0, "100"},
      {"monthly, 10 Mar: July to March", "Perbulan", "7800", kMonths, {}, "2024/2025", 2025, 3, 0, "4500"},
      {"monthly, 30 Jun: the whole year", "Perbulan", "7800", kMonths, {}, "2024/2025", 2025, 6, 0, "7800"},
      {"monthly, last school year: twelve", "Perbulan", "7800", kMonths, {}, "2023/2024", 2024, 9, 0, "7800"},
      {"monthly, next school year: twelve", "Perbulan", "7800", kMonths, {}, "2025/2026", 2024, 9, 0, "7800"},
      {"monthly, prepaid: the year", "Perbulan", "7800", kMonths, {}, "2024/2025", 2024, 9, 1, "7800"},
      {"monthly, prepaid 2: the year", "Perbulan", "7800", kMonths, {}, "2024/2025", 2024, 9, 2, "7800"},
      {"yearly: the yearly amount", "Pertahun", "1200000", "0,0,0,0,0,0,0,0,0,0,0,0", {}, "2024/2025", 2024, 9, 0,
       "1200000"},
      {"yearly without months", "Pertahun", "1200000", "NULL", {}, "2024/2025", 2024, 9, 0, "1200000"},
      {"yearly, prepaid", "Pertahun", "1200000", "NULL", {}, "2024/2025", 2024, 9, 1, "1200000"},
      {"another type counts as yearly", "perbulan", "7800", kMonths, {}, "2024/2025", 2024, 9, 0, "7800"},
      {"partial payment", "Perbulan", "7800", kMonths, {"F,S,250,p,-"}, "2024/2025", 2024, 9, 0, "350"},
      {"two payments", "Perbulan", "7800", kMonths, {"F,S,250,p,-", "F,S,100,p,-"}, "2024/2025", 2024, 9, 0,
       "250"},
      {"settled", "Perbulan", "7800", kMonths, {"F,S,600,p,-"}, "2024/2025", 2024, 9, 0, "0"},
      {"overpaid: negative", "Perbulan", "7800", kMonths, {"F,S,1000,p,-"}, "2024/2025", 2024, 9, 0, "-400"},
      {"prepaid less what was paid", "Perbulan", "7800", kMonths, {"F,S,1000,p,-"}, "2024/2025", 2024, 9, 1,
       "6800"},
      {"yearly less what was paid", "Pertahun", "1200000", "NULL", {"F,S,300000,p,-"}, "2024/2025", 2024, 9, 0,
       "900000"},
      {"discount and savings rows name no fee", "Perbulan", "7800", kMonths,
       {"F,S,600,p,-", "Disc,S,-50,p,-", "Tabungan,S,0,t,-"}, "2024/2025", 2024, 9, 0, "0"},
      {"a revised row counts with its new amount", "Perbulan", "7800", kMonths, {"F,S,450,p,rev"}, "2024/2025",
       2024, 9, 0, "150"},
      {"rows of every kind on the fee count", "Pertahun", "1000", "NULL", {"F,S,100,t,-", "F,S,200,-,-"},
       "2024/2025", 2024, 9, 0, "700"},
      {"another student's payment does not", "Perbulan", "7800", kMonths, {"F,OTHER,600,p,-"}, "2024/2025", 2024, 9,
       0, "600"},
      {"no yearly amount: nothing subtracted", "Perbulan", "NULL", kMonths, {"F,S,250,p,-"}, "2024/2025", 2024, 9, 0,
       "600"},
      {"a missing month due: no amount", "Perbulan", "7800", "NULL", {}, "2024/2025", 2024, 9, 0, "<null>"},
      {"a missing month not yet due is no matter", "Perbulan", "7800",
       "100,200,300,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL", {"F,S,50,p,-"}, "2024/2025", 2024, 9, 0, "550"},
  };
  int n = 0;
  for (const RuleCase& c : cases) {
    ++n;
    SCOPED_TRACE(c.what);
    const std::string fee = "BR-VIIA" + std::to_string(1000 + n);
    const std::string student = "S" + std::to_string(n);
    std::string months = c.months;
    std::string columns = "id_account, id_siswa, jml_pembayaran";
    std::string values = "'" + fee + "','" + student + "'," + c.yearly;
    if (months != "NULL") {
      columns += ", juli, agustus, september, oktober, nopember, desember, januari, februari, maret, april, mei, juni";
      values += "," + months;
    }
    fintest::Exec(db_, "INSERT INTO account (Id, Pembayaran, Kelas, Jumlah, Type, Tapel, RefRekening) VALUES ('" + fee +
                           "','Fee " + std::to_string(n) + "','VII A',0,'" + c.type + "','" + c.chosen + "','411');"
                           "INSERT INTO detail_account (" + columns + ") VALUES (" + values + ")");
    for (const std::string& p : c.payments) {
      std::vector<std::string> f;
      std::string cur;
      for (char ch : p + ",") {
        if (ch == ',') {
          f.push_back(cur);
          cur.clear();
        } else {
          cur += ch;
        }
      }
      const std::string acct = f[0] == "F" ? fee : f[0];
      const std::string who = f[1] == "S" ? student : f[1];
      fintest::Exec(db_, "INSERT INTO transaksi (id, tgl, uraian, acctid, siswaid, masuk, keluar, sts, jenjang) "
                         "VALUES ('x','2024-08-01','u','" + acct + "','" + who + "'," + f[2] + ",0,'" + f[3] + "','" +
                         f[4] + "')");
    }

    const int due = FinArrearsMonthsDue(c.chosen, c.y, c.m);
    const Rows rows = Run(FinArrearsSql(student, "VII A", c.chosen, "2024/2025", c.prepaid, due));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], fee);
    EXPECT_EQ(rows[0][2], c.owed);
    EXPECT_EQ(rows[0][3], c.type);
    EXPECT_EQ(rows[0][4], "411");
    EXPECT_EQ(rows[0][5], std::string(c.yearly) == "NULL" ? "<null>" : c.yearly);

    // The same rule in plain code.
    FinArrearsBilling b;
    b.type = c.type;
    b.yearly = Num(c.yearly);
    if (months != "NULL") {
      std::vector<std::string> m;
      std::string cur;
      for (char ch : months + ",") {
        if (ch == ',') {
          m.push_back(cur);
          cur.clear();
        } else {
          cur += ch;
        }
      }
      for (int i = 0; i < 12; ++i) b.months[i] = Num(m[i]);
    }
    const Rows paid = Run("select sum(masuk) from transaksi where siswaid='" + student + "' and acctid='" + fee + "'");
    const std::optional<long long> owed = FinArrearsOwed(b, Num(paid[0][0]), due, c.prepaid);
    EXPECT_EQ(owed ? std::to_string(*owed) : "<null>", c.owed);

    // What a save reads of the fee inside its write, on the same day: what the list shows (an empty amount owes 0).
    scripted().SetNow(QDateTime(QDate(c.y, c.m, 1), QTime(10, 0)));
    gDb = db_;
    FinFeeStanding standing;
    EXPECT_TRUE(FinReadFeeStanding(student, fee, &standing));
    gDb = nullptr;
    EXPECT_TRUE(standing.billed);
    EXPECT_EQ(standing.tapel, c.chosen);
    EXPECT_EQ(std::to_string(FinFeeStandingOwed(standing, c.prepaid)), owed ? std::to_string(*owed) : "0");
  }
}

// A fee the student has no billing row of owes 0 less what was paid (nothing to pay); one no fee row names either.
TEST_F(ArrearsRuleTest, AFeeWithoutABillingRowOwesNothing) {
  fintest::Exec(db_, "INSERT INTO account (Id, Pembayaran, Kelas, Type, Tapel) VALUES ('BR-1','SPP','VII A',"
                     "'Pertahun','2024/2025');"
                     "INSERT INTO transaksi (id, acctid, siswaid, masuk) VALUES ('x','BR-1','S1',300),('y','BR-2','S1',"
                     "200)");
  gDb = db_;
  for (const auto& [fee, student, owed] : std::vector<std::tuple<std::string, std::string, long long>>{
           {"BR-1", "S1", -300}, {"BR-1", "S2", 0}, {"BR-2", "S1", -200}, {"BR-'3", "S'1", 0}}) {
    SCOPED_TRACE(fee + " " + student);
    FinFeeStanding standing;
    EXPECT_TRUE(FinReadFeeStanding(student, fee, &standing));
    EXPECT_FALSE(standing.billed);
    EXPECT_EQ(FinFeeStandingOwed(standing, 0), owed);
  }
  gDb = nullptr;
}

TEST_F(ArrearsRuleTest, ListsTheBilledFeesOfTheClassNewestIdFirst) {
  fintest::Exec(db_,
                "INSERT INTO account (Id, Pembayaran, Kelas, Type, Tapel, RefRekening) VALUES"
                " ('BR-VIIA20240001','SPP','VII A','Perbulan','2024/2025','411'),"
                " ('BR-VIIA20240003','Buku','VII A','Pertahun','2024/2025','412'),"
                " ('BR-VIIA20240002','Les','VII A','Perbulan','2024/2025','411'),"
                " ('BR-VIIA20240009','Tidak ditagih','VII A','Pertahun','2024/2025','411'),"
                " ('BR-VIIB20240004','Kelas lain','VII B','Pertahun','2024/2025','411'),"
                " ('BR-VIA20230001','SPP','VI A','Perbulan','2023/2024','401'),"
                " ('BR-VIIA20230001','Tahun lalu','VII A','Pertahun','2023/2024','401');"
                "INSERT INTO detail_account (id_account, id_siswa, jml_pembayaran, juli, agustus, september) VALUES"
                " ('BR-VIIA20240001','O''Neil',1800000,150000,150000,150000),"
                " ('BR-VIIA20240003','O''Neil',500000,0,0,0),"
                " ('BR-VIIA20240002','O''Neil',600000,50000,50000,50000),"
                " ('BR-VIIB20240004','O''Neil',1000,0,0,0),"
                " ('BR-VIIA20230001','O''Neil',900,0,0,0),"
                " ('BR-VIIA20240001','Lain',1800000,150000,150000,150000);"
                "INSERT INTO detail_account (id_account, id_siswa, jml_pembayaran, juli, agustus, september, oktober,"
                " nopember, desember, januari, februari, maret, april, mei, juni) VALUES"
                " ('BR-VIA20230001','O''Neil',1200,100,100,100,100,100,100,100,100,100,100,100,100);");
  // An apostrophe in the student id finds the student's rows: the id is quoted, not spliced.
  Rows rows = Run(FinArrearsSql("O'Neil", "VII A", "2024/2025", "2024/2025", 0, 3));
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"BR-VIIA20240003", "Buku", "500000", "Pertahun", "412", "500000"}));
  EXPECT_EQ(rows[1], (std::vector<std::string>{"BR-VIIA20240002", "Les", "150000", "Perbulan", "411", "600000"}));
  EXPECT_EQ(rows[2], (std::vector<std::string>{"BR-VIIA20240001", "SPP", "450000", "Perbulan", "411", "1800000"}));

  // A fee without a billing row for the student, and the fees of another class or year, are not listed. Another
  // year: the class of that year, the names with class and year, all twelve months.
  rows = Run(FinArrearsSql("O'Neil", "VI A", "2023/2024", "2024/2025", 0, 12));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][1], "SPP Kls:VI A 2023/2024");
  EXPECT_EQ(rows[0][2], "1200");
}

}  // namespace
