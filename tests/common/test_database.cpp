// Opening the database (never creating one, the busy timeout, the indexes of db/schema.sql, the soundness check),
// saves that are all-or-nothing while another program holds the file, and the one reader of typed amounts.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "app/globals.h"
#include "common/amounts.h"
#include "common/database.h"
#include "common/globals.h"
#include "common/sql.h"
#include "support/fixtures.h"
#include "support/other_program.h"
#include "support/seams_fixture.h"

namespace {

namespace fs = std::filesystem;
using Rows = std::vector<std::vector<std::string>>;

using fintest::OtherProgram;
using fintest::RowsInFile;

class DatabaseTest : public fintest::SeamsTest {
 protected:
  void SetUp() override {
    path_ = WorkFile("keu.db3");
    sqlite3_close(fintest::CreateDatabase(path_));
    std::string error;
    gDb = FinOpenDatabase(path_, error);
    ASSERT_NE(gDb, nullptr) << error;
  }
  void TearDown() override {
    sqlite3_close(gDb);
    gDb = nullptr;
  }
  // The lock tests fail after a short wait instead of the program's few seconds.
  void shortTimeout() { sqlite3_busy_timeout(gDb, 100); }
  static std::string insert(const std::string& id, int masuk) {
    return "INSERT INTO transaksi (id, masuk, sts) VALUES ('" + id + "', " + std::to_string(masuk) + ", 'p')";
  }
  std::string path_;
};

TEST_F(DatabaseTest, OpeningNeverCreatesAFile) {
  for (const std::string& missing : {WorkFile("typo.db3"), std::string(""), WorkFile("nofolder/keu.db3")}) {
    std::string error;
    EXPECT_EQ(FinOpenDatabase(missing, error), nullptr) << missing;
    EXPECT_EQ(error, "unable to open database file");
    if (!missing.empty()) {
      EXPECT_FALSE(fs::exists(missing));
    }
  }
  fintest::WriteFile(WorkFile("notes.db3"), "this is not a database, only some text that is long enough............");
  std::string error;
  EXPECT_EQ(FinOpenDatabase(WorkFile("notes.db3"), error), nullptr);
  EXPECT_EQ(error, "file is not a database");
}

TEST_F(DatabaseTest, OpeningWritesNothingAndEnsuringMakesEveryIndexOfTheSchema) {
  const std::vector<std::string>& list = FinIndexStatements();
  ASSERT_GE(list.size(), 10u);
  for (const std::string& s : list) EXPECT_EQ(s.rfind("CREATE INDEX IF NOT EXISTS ", 0), 0u) << s;

  // An existing school database without any of them: the tables only.
  sqlite3_close(gDb);
  gDb = nullptr;
  fs::remove(path_);
  sqlite3* raw = nullptr;
  sqlite3_open(path_.c_str(), &raw);
  fintest::Exec(raw, FinSchemaWithoutIndexes());
  sqlite3_close(raw);
  ASSERT_EQ(fintest::IndexCount(path_), 0);
  EXPECT_EQ(RowsInFile(path_, "SELECT count(*) FROM sqlite_master WHERE type='table'"), (Rows{{"8"}}));
  EXPECT_EQ(RowsInFile(path_, "SELECT User FROM useradmin"), (Rows{{"ketua"}}));
  const std::string bytes = fintest::ReadFile(path_);

  std::string error;
  gDb = FinOpenDatabase(path_, error);
  ASSERT_NE(gDb, nullptr) << error;
  EXPECT_EQ(fintest::ReadFile(path_), bytes);   // opening alone writes nothing
  EXPECT_EQ(FinEnsureIndexes(gDb, error), SQLITE_OK) << error;
  EXPECT_EQ(fintest::IndexCount(path_), static_cast<int>(list.size()));
  // The financial report's lookup per ledger account uses its index, not a scan.
  Rows plan = fintest::Query(gDb, "EXPLAIN QUERY PLAN SELECT sum(masuk) FROM transaksi WHERE Ref='101' AND "
                                  "tgl >= '2024-09-01' AND tgl < '2024-09-32'");
  ASSERT_FALSE(plan.empty());
  EXPECT_NE(plan.back().back().find("USING INDEX"), std::string::npos) << plan.back().back();
}

TEST_F(DatabaseTest, SoundnessCheckWantsTheSystemsTablesAndAnUndamagedFile) {
  std::string error;
  EXPECT_TRUE(FinCheckFinanceDatabase(gDb, error)) << error;

  sqlite3* foreign = nullptr;
  sqlite3_open(WorkFile("foreign.db3").c_str(), &foreign);
  fintest::Exec(foreign, "CREATE TABLE siswa (Id TEXT); CREATE TABLE notes (t TEXT)");
  EXPECT_FALSE(FinCheckFinanceDatabase(foreign, error));
  EXPECT_EQ(error, "bukan database keuangan, tabel siswakelas tidak ada");
  sqlite3_close(foreign);

  sqlite3* empty = nullptr;
  fintest::WriteFile(WorkFile("empty.db3"), "");
  sqlite3_open(WorkFile("empty.db3").c_str(), &empty);
  EXPECT_FALSE(FinCheckFinanceDatabase(empty, error));
  EXPECT_EQ(error, "bukan database keuangan, tabel siswa tidak ada");
  sqlite3_close(empty);
}

TEST_F(DatabaseTest, StatementFailingHalfWayLeavesNothing) {
  fintest::Exec(gDb, "CREATE TRIGGER no_third BEFORE INSERT ON transaksi WHEN NEW.id='R3' "
                     "BEGIN SELECT RAISE(ABORT, 'ditolak'); END");
  ExpectMsgBox("SQL error: ditolak", "Info");
  EXPECT_FALSE(FinExecAll({insert("R1", 1000), insert("R2", 2000), insert("R3", 3000)}));
  EXPECT_TRUE(sqlite3_get_autocommit(gDb));
  EXPECT_EQ(RowsInFile(path_, "SELECT count(*) FROM transaksi"), (Rows{{"0"}}));
}

TEST_F(DatabaseTest, CommitAgainstAReadLockFailsWholeAndTheRetryLands) {
  shortTimeout();
  OtherProgram other(path_);
  other.holdReadLock();

  AllowMsgBoxes();
  EXPECT_FALSE(FinExecAll({insert("R1", 1000), insert("R2", 2000)}));
  EXPECT_TRUE(sqlite3_get_autocommit(gDb));   // never left inside the transaction
  ASSERT_EQ(msgBoxes().size(), 1u);
  EXPECT_EQ(msgBoxes()[0].text, "SQL error: database is locked");

  // While the reader stays, a save through the guard fails the same way and leaves nothing behind.
  {
    FinTransaction tx;
    ASSERT_TRUE(tx.active());
    EXPECT_EQ(FinExec(insert("R9", 9000)), SQLITE_OK);
    EXPECT_FALSE(tx.commit());
  }
  EXPECT_TRUE(sqlite3_get_autocommit(gDb));

  other.release();
  EXPECT_TRUE(FinExecAll({insert("R1", 1000), insert("R2", 2000)}));
  sqlite3_close(gDb);
  gDb = nullptr;
  EXPECT_EQ(RowsInFile(path_, "SELECT id, masuk FROM transaksi ORDER BY id"), (Rows{{"R1", "1000"}, {"R2", "2000"}}));
}

TEST_F(DatabaseTest, SaveAgainstAWriteLockFailsBeforeAnyRow) {
  shortTimeout();
  OtherProgram other(path_);
  other.holdWriteLock();
  AllowMsgBoxes();
  EXPECT_FALSE(FinExecAll({insert("R1", 1000), insert("R2", 2000)}));
  EXPECT_TRUE(sqlite3_get_autocommit(gDb));
  ASSERT_EQ(msgBoxes().size(), 1u);
  EXPECT_EQ(msgBoxes()[0].text, "SQL error: database is locked");
  other.release();
  EXPECT_EQ(RowsInFile(path_, "SELECT count(*) FROM transaksi"), (Rows{{"0"}}));
  EXPECT_TRUE(FinExecAll({insert("R1", 1000)}));
  sqlite3_close(gDb);
  gDb = nullptr;
  EXPECT_EQ(RowsInFile(path_, "SELECT count(*) FROM transaksi"), (Rows{{"1"}}));
}

TEST_F(DatabaseTest, AShortReadByAnotherProgramIsWaitedFor) {
  // The program's own timeout: another program's read of a moment ends while the save waits.
  OtherProgram other(path_);
  other.holdReadLock();
  std::thread reader([&other] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    other.release();
  });
  EXPECT_TRUE(FinExecAll({insert("R1", 1000)}));
  reader.join();
  EXPECT_EQ(RowsInFile(path_, "SELECT count(*) FROM transaksi"), (Rows{{"1"}}));
}

TEST_F(DatabaseTest, InnerLevelFailureUndoesOnlyItsRowsAndTheOuterCommits) {
  {
    FinTransaction outer;
    EXPECT_EQ(FinExec(insert("R1", 1000)), SQLITE_OK);
    {
      FinTransaction inner;
      EXPECT_EQ(FinExec(insert("R2", 2000)), SQLITE_OK);
    }   // inner undone
    EXPECT_FALSE(sqlite3_get_autocommit(gDb));
    EXPECT_TRUE(outer.commit());
  }
  EXPECT_TRUE(sqlite3_get_autocommit(gDb));
  EXPECT_EQ(RowsInFile(path_, "SELECT id FROM transaksi"), (Rows{{"R1"}}));
}

TEST(AmountTest, ReadsWhatOperatorsTypeAndPaste) {
  struct Case {
    const char* text;
    bool ok;
    long long amount;
  };
  const Case cases[] = {
      {"1500000", true, 1500000},      {"1.500.000", true, 1500000},   {"1,500,000", true, 1500000},
      {"Rp 75.000", true, 75000},      {"Rp.75.000", true, 75000},     {"rp75000", true, 75000},
      {" 150.000 ", true, 150000},     {"1.500", true, 1500},          {"1,500", true, 1500},
      {"1.500.000,00", true, 1500000}, {"1,500,000.00", true, 1500000}, {"150000.00", true, 150000},
      {"-75.000", true, -75000},       {"0", true, 0},                 {"999.999.999.999", true, 999999999999LL},
      {"", false, 0},                  {"abc", false, 0},              {"12abc", false, 0},
      {"1,5", false, 0},               {"1.50", false, 0},             {"1.5000", false, 0},
      {"1.000.000.000.000", false, 0}, {"99999999999999999999", false, 0}, {"1.500,50", false, 0},
      {"Rp", false, 0},                {"--5", false, 0},
      // A TAB ends an amount: a line of several cells is no amount, never the cells glued together; so is a line break.
      {"1\t150000", false, 0},         {"12345\t150000", false, 0},   {"150000\t", false, 0},
      {"\t150.000", false, 0},         {"150\n000", false, 0},         {"150000\r", false, 0},
      // Spaces: as many as an amount can carry; a text longer than any amount is refused before it is read.
      {"Rp. 999.999.999.999,00", true, 999999999999LL},
      {"   Rp.  999.999.999.999,00      ", true, 999999999999LL},   // 32 characters
      {"   Rp.  999.999.999.999,00       ", false, 0},               // 33
      {"000000000000000000000000000001", true, 1},
  };
  for (const Case& c : cases) {
    long long amount = -1;
    EXPECT_EQ(FinReadAmount(c.text, amount), c.ok) << c.text;
    EXPECT_EQ(amount, c.amount) << c.text;
  }
  EXPECT_EQ(FinPositiveAmount("1.500.000"), 1500000);
  EXPECT_EQ(FinPositiveAmount("-5"), 0);
  EXPECT_EQ(FinPositiveAmount("0"), 0);
  EXPECT_EQ(FinPositiveAmount("abc"), 0);
  // Tens of thousands of digits, pasted by mistake, are refused and end no program.
  for (const std::string& huge : {std::string(50000, '9'), std::string(20000, '1') + ".000", "Rp " +
                                  std::string(100000, '0')}) {
    long long amount = -1;
    EXPECT_FALSE(FinReadAmount(huge, amount));
    EXPECT_EQ(amount, 0);
  }
}

}  // namespace

namespace {

TEST_F(DatabaseTest, PrefixRangeSelectsWhatTheSubstringSelectsThroughTheIndex) {
  fintest::Exec(gDb, "INSERT INTO transaksi (id) VALUES ('2024202520240902101530'), ('20242025202409021015301'), "
                     "('20242025202409021015302x'), ('20242025202409021015310'), ('2024202520240902101529'), "
                     "('2024202520240902101530é'), ('202420252024090210153'), ('')");
  for (const std::string stamp : {"2024202520240902101530", "202420252024090210153", "x'y"}) {
    SCOPED_TRACE(stamp);
    const std::string n = std::to_string(stamp.size());
    EXPECT_EQ(fintest::Query(gDb, "SELECT id FROM transaksi WHERE " + SqlPrefixRange("id", stamp) + " ORDER BY id"),
              fintest::Query(gDb, "SELECT id FROM transaksi WHERE substr(id,1," + n + ")=" + SqlQuoted(stamp) +
                                      " ORDER BY id"));
  }
  Rows plan = fintest::Query(gDb, "EXPLAIN QUERY PLAN SELECT count(*) FROM transaksi WHERE " +
                                      SqlPrefixRange("Id", "2024202520240902101530"));
  EXPECT_NE(plan.back().back().find("transaksi_id"), std::string::npos) << plan.back().back();
}

}  // namespace
