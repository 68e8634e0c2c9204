// A single value read aside (its own connection and thread) is what FinExec with FinCbSingleValue gives on gDb: the
// last row's first value as text, "" for NULL and no row, what gDb's own open transaction holds, and the box of a
// failing statement.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "app/globals.h"
#include "common/globals.h"
#include "common/query_callbacks.h"
#include "common/sql.h"
#include "common/value_aside.h"
#include "support/fixtures.h"
#include "support/seams_fixture.h"

namespace {

std::vector<std::string> gSeen;
void Seen(const std::string& sql) { gSeen.push_back(sql); }

class ValueAsideTest : public fintest::SeamsTest {
 protected:
  void SetUp() override {
    gDb = fintest::CreateDatabase(WorkFile("data.db3"));
    fintest::Exec(gDb, "INSERT INTO transaksi (id, tgl, masuk, keluar, acctid) VALUES ('1', '2024-09-01', 150000, 0, "
                       "'BR-1'), ('2', '2024-09-02', 0, 25000, 'BR-1'), ('3', '2024-09-03', 1.5, 0, 'X')");
    gSqlResult = "before";
    gSeen.clear();
  }
  void TearDown() override {
    FinSetValueAsideObserver(nullptr);
    sqlite3_close(gDb);
    gDb = nullptr;
  }
  // What the statement gives on gDb through FinExec and FinCbSingleValue.
  static std::string OnGDb(const std::string& sql) {
    gSqlResult.clear();
    FinExec(sql, FinCbSingleValue);
    return gSqlResult;
  }
};

TEST_F(ValueAsideTest, GivesWhatTheStatementGivesOnGDb) {
  const std::vector<std::string> statements = {
      "select Sum(Masuk-Keluar) from transaksi where acctid='BR-1'",   // integer
      "select Sum(Masuk) from transaksi",                               // a fraction: real
      "select Sum(Masuk) from transaksi where acctid='none'",           // NULL
      "select id from transaksi where 0",                               // no row
      "select id, masuk from transaksi order by id",                    // the last row counts
  };
  FinSetValueAsideObserver(Seen);
  for (const std::string& sql : statements) {
    FinValueAside aside(sql);
    const std::string value = aside.value();
    EXPECT_EQ(gSqlResult, value) << sql;
    EXPECT_EQ(value, OnGDb(sql)) << sql;
  }
  EXPECT_EQ(gSeen, statements);   // each ran aside
  FinValueAside cash("select Sum(Masuk-Keluar) from transaksi where acctid='BR-1'");
  EXPECT_EQ(cash.value(), "125000");
  EXPECT_EQ(cash.value(), "125000");   // read once, kept
}

TEST_F(ValueAsideTest, ATransactionOpenOnGDbIsSeen) {
  FinSetValueAsideObserver(Seen);
  fintest::Exec(gDb, "BEGIN; INSERT INTO transaksi (id, masuk, keluar, acctid) VALUES ('4', 1000, 0, 'BR-1')");
  FinValueAside aside("select Sum(Masuk-Keluar) from transaksi where acctid='BR-1'");
  EXPECT_EQ(aside.value(), "126000");
  EXPECT_TRUE(gSeen.empty());   // read on gDb, which holds the row
  fintest::Exec(gDb, "ROLLBACK");
}

TEST_F(ValueAsideTest, AFailingStatementShowsItsBoxAndGivesNothing) {
  ExpectMsgBox("SQL error: no such table: gone", "Info", IDOK);
  FinValueAside aside("select count(*) from gone");
  EXPECT_EQ(aside.value(), "");
  EXPECT_EQ(gSqlResult, "");
}

TEST_F(ValueAsideTest, ADatabaseInMemoryIsReadOnGDb) {
  sqlite3_close(gDb);
  ASSERT_EQ(sqlite3_open(":memory:", &gDb), SQLITE_OK);
  fintest::Exec(gDb, "CREATE TABLE t (v INTEGER); INSERT INTO t VALUES (7), (8)");
  FinSetValueAsideObserver(Seen);
  FinValueAside aside("select sum(v) from t");
  EXPECT_EQ(aside.value(), "15");
  EXPECT_TRUE(gSeen.empty());
}

}  // namespace
