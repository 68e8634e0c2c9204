// Opening the database (never creating one, the busy timeout, the indexes of db/schema.sql, the soundness check),
// saves that are all-or-nothing while another program holds the file, and the one reader of typed amounts.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <functional>
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
#include "support/rollback_refused.h"
#include "support/seams_fixture.h"

namespace {

namespace fs = std::filesystem;
using Rows = std::vector<std::vector<std::string>>;

using fintest::OtherProgram;
using fintest::RollbackRefused;
using fintest::RowsInFile;

class DatabaseTest : public fintest::SeamsTest {
 protected:
  void SetUp() override {
    path_ = WorkFile("keu.db3");
    gDbPath = path_;
    sqlite3_close(fintest::CreateDatabase(path_));
    std::string error;
    gDb = FinOpenDatabase(path_, error);
    ASSERT_NE(gDb, nullptr) << error;
  }
  void TearDown() override {
    sqlite3_close(gDb);
    gDb = nullptr;
    gDbPath.clear();
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

TEST_F(DatabaseTest, SoundnessCheckWantsEveryColumnOfTheSchema) {
  // Each column of each table of db/schema.sql missing in turn: the check names it.
  sqlite3* mem = nullptr;
  sqlite3_open(":memory:", &mem);
  fintest::Exec(mem, FinSchemaWithoutIndexes());
  const Rows columns = fintest::Query(
      mem, "SELECT m.name, c.name FROM sqlite_master m, pragma_table_info(m.name) c WHERE m.type='table' "
           "ORDER BY m.rowid, c.cid");
  sqlite3_close(mem);
  ASSERT_GT(columns.size(), 60u);
  for (const std::vector<std::string>& missing : columns) {
    const std::string& table = missing[0];
    std::string kept;
    for (const std::vector<std::string>& c : columns)
      if (c[0] == table && c[1] != missing[1]) kept += (kept.empty() ? "" : ", ") + c[1];
    sqlite3* db = nullptr;
    sqlite3_open(":memory:", &db);
    fintest::Exec(db, FinSchemaWithoutIndexes());
    fintest::Exec(db, "CREATE TABLE t2 AS SELECT " + kept + " FROM " + table + "; DROP TABLE " + table +
                          "; ALTER TABLE t2 RENAME TO " + table);
    std::string error;
    EXPECT_FALSE(FinCheckFinanceDatabase(db, error)) << table << "." << missing[1];
    EXPECT_EQ(error, "bukan database keuangan, kolom " + table + "." + missing[1] + " tidak ada");
    sqlite3_close(db);
  }
  // Names are compared as SQLite compares them, without regard to case.
  std::string upper = FinSchemaWithoutIndexes();
  for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  sqlite3* db = nullptr;
  sqlite3_open(":memory:", &db);
  fintest::Exec(db, upper);
  std::string error;
  EXPECT_TRUE(FinCheckFinanceDatabase(db, error)) << error;
  sqlite3_close(db);
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

// Whether another program can take the write lock on `path` at once.
bool AnotherProgramCanWrite(const std::string& path) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  const bool ok = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
  sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  return ok;
}

TEST_F(DatabaseTest, ASaveWhoseRollbackFailsTooLeavesNoTransactionBehind) {
  // Every save goes through one of three routines: the statement list, the scope guard, and the insert of new ids.
  // The first fault is a trigger refusing the second row; the second is the ROLLBACK of the save being refused.
  fintest::Exec(gDb, "CREATE TRIGGER no_r2 BEFORE INSERT ON transaksi WHEN NEW.id='R2' "
                     "BEGIN SELECT RAISE(ABORT, 'ditolak'); END");
  struct Case {
    const char* routine;
    std::function<bool()> save;
  };
  const Case cases[] = {
      {"FinExecAll", [] { return FinExecAll({insert("R1", 1000), insert("R2", 2000)}); }},
      {"FinTransaction",
       [] {
         FinTransaction tx;
         if (!tx.active() || FinExec(insert("R1", 1000)) != SQLITE_OK || FinExec(insert("R2", 2000)) != SQLITE_OK)
           return false;
         return tx.commit();
       }},
      {"FinInsertIfFree",
       [] {
         return FinInsertIfFree("SELECT count(*) FROM transaksi WHERE id='R1'",
                                {insert("R1", 1000), insert("R2", 2000)}) == FinInsertResult::Written;
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.routine);
    {
      RollbackRefused refused;
      ExpectMsgBox("SQL error: ditolak", "Info");
      EXPECT_FALSE(c.save());
      VerifySeams();
    }
    // The transaction is over and its lock given up: the program's connection is in autocommit, another program can
    // write at once, and nothing of the failed save is in the file.
    ASSERT_NE(gDb, nullptr);
    EXPECT_TRUE(sqlite3_get_autocommit(gDb));
    EXPECT_TRUE(AnotherProgramCanWrite(path_));
    EXPECT_EQ(RowsInFile(path_, "SELECT count(*) FROM transaksi WHERE id='R1'"), (Rows{{"0"}}));
    // A later save is really written: it is in the file once the program's connection is closed.
    EXPECT_TRUE(FinExecAll({insert(std::string("L-") + c.routine, 500)}));
    EXPECT_TRUE(sqlite3_get_autocommit(gDb));
  }
  sqlite3_close(gDb);
  gDb = nullptr;
  EXPECT_EQ(RowsInFile(path_, "SELECT id FROM transaksi ORDER BY id"),
            (Rows{{"L-FinExecAll"}, {"L-FinInsertIfFree"}, {"L-FinTransaction"}}));
}

TEST_F(DatabaseTest, ACommitThatFailsWithARollbackThatFailsLeavesNoTransactionBehind) {
  shortTimeout();
  OtherProgram other(path_);
  other.holdReadLock();
  {
    RollbackRefused refused;
    ExpectMsgBox("SQL error: database is locked", "Info");
    EXPECT_FALSE(FinExecAll({insert("R1", 1000)}));
    VerifySeams();
  }
  other.release();
  ASSERT_NE(gDb, nullptr);
  EXPECT_TRUE(sqlite3_get_autocommit(gDb));
  EXPECT_TRUE(AnotherProgramCanWrite(path_));
  EXPECT_TRUE(FinExecAll({insert("R2", 2000)}));
  sqlite3_close(gDb);
  gDb = nullptr;
  EXPECT_EQ(RowsInFile(path_, "SELECT id FROM transaksi"), (Rows{{"R2"}}));
}

TEST_F(DatabaseTest, WhenTheDatabaseCannotBeOpenedAgainEverySaveIsRefused) {
  fintest::Exec(gDb, "CREATE TRIGGER no_r2 BEFORE INSERT ON transaksi WHEN NEW.id='R2' "
                     "BEGIN SELECT RAISE(ABORT, 'ditolak'); END");
  gDbPath = WorkFile("pindah.db3");   // the name the program would open again names no file any more
  {
    RollbackRefused refused;
    ExpectMsgBox("SQL error: ditolak", "Info");
    ExpectMsgBox("Tidak dapat membuka database: unable to open database file", "Info");
    EXPECT_FALSE(FinExecAll({insert("R1", 1000), insert("R2", 2000)}));
    VerifySeams();
  }
  EXPECT_EQ(gDb, nullptr);
  EXPECT_TRUE(AnotherProgramCanWrite(path_));   // the dead transaction's lock is given up
  ExpectMsgBox("SQL error: bad parameter or other API misuse", "Info");
  EXPECT_FALSE(FinExecAll({insert("R3", 3000)}));
  EXPECT_EQ(RowsInFile(path_, "SELECT count(*) FROM transaksi"), (Rows{{"0"}}));
  EXPECT_FALSE(fs::exists(gDbPath));   // no file was made under that name
}

TEST_F(DatabaseTest, AfterAnInnerLevelThatCouldNotBeUndoneNothingOfTheOuterLevelIsWritten) {
  struct Case {
    const char* fault;
    bool interrupt;   // the inner write is interrupted: SQLite rolls the whole transaction back by itself
    bool refuseUndo;  // the inner level's ROLLBACK TO is refused: the transaction stays open
  };
  const Case cases[] = {{"transaction ended by SQLite", true, false}, {"inner undo refused", false, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    AllowMsgBoxes();
    bool interrupting = false;
    sqlite3_progress_handler(gDb, 1, [](void* on) { return *static_cast<bool*>(on) ? 1 : 0; }, &interrupting);
    {
      RollbackRefused refused(false, c.refuseUndo);
      FinTransaction outer;
      ASSERT_TRUE(outer.active());
      EXPECT_EQ(FinExec(insert("R1", 1000)), SQLITE_OK);
      {
        FinTransaction inner;
        ASSERT_TRUE(inner.active());
        interrupting = c.interrupt;
        const int rc = FinExec(insert("R2", 2000));
        interrupting = false;
        EXPECT_EQ(rc == SQLITE_OK, !c.interrupt);
      }   // left without commit: its undo fails
      // The outer level goes on as a save would: nothing it writes may land, and its commit fails.
      EXPECT_NE(FinExec(insert("R3", 3000)), SQLITE_OK);
      {
        FinTransaction another;   // a new inner level is refused as well
        EXPECT_FALSE(another.active());
      }
      EXPECT_FALSE(outer.commit());
    }
    sqlite3_progress_handler(gDb, 0, nullptr, nullptr);
    EXPECT_TRUE(sqlite3_get_autocommit(gDb));
    EXPECT_EQ(RowsInFile(path_, "SELECT count(*) FROM transaksi"), (Rows{{"0"}}));
    // The next save is a transaction of its own again.
    EXPECT_TRUE(FinExecAll({insert("L1", 100)}));
    fintest::Exec(gDb, "DELETE FROM transaksi");
  }
}

// Reading one row: the values of the first row the statement gives (NULL as the empty text); a statement without rows
// or a failing one (its box shown) leaves what the caller had.
TEST_F(DatabaseTest, ReadingARowGivesTheFirstRowOrLeavesWhatWasThere) {
  fintest::Exec(gDb, "INSERT INTO rekening (Kode, Deskripsi, Grup, Tapel) VALUES ('101', 'SPP', NULL, '2024/2025'),"
                     " ('102', 'Gedung', 'Msk', '2024/2025')");
  const struct {
    const char* name;
    const char* sql;
    const char* error;   // the box of a failing statement, else empty
    bool found;
    std::vector<std::string> row;
  } cases[] = {
      {"the first of several rows, NULL empty", "select Kode, Grup from rekening order by Kode", "", true, {"101", ""}},
      {"no row", "select Kode, Grup from rekening where Kode='999'", "", false, {"ada", "sebelumnya"}},
      {"a failing statement", "select Kode, Nomor from rekening", "SQL error: no such column: Nomor", false,
       {"ada", "sebelumnya"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (*c.error) ExpectMsgBox(c.error, "Info", IDOK, MB_OK);
    std::vector<std::string> row = {"ada", "sebelumnya"};
    EXPECT_EQ(FinReadRow(c.sql, row), c.found);
    VerifySeams();
    EXPECT_EQ(row, c.row);
  }
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

namespace {
// The pragmas a connection runs, as its authorizer sees them.
int RecordPragma(void* user, int action, const char* name, const char*, const char*, const char*) {
  if (action == SQLITE_PRAGMA && name) static_cast<std::vector<std::string>*>(user)->push_back(name);
  return SQLITE_OK;
}
}  // namespace

// Every connection the program opens keeps a school's indexes in a page cache of 64 MiB and reads the file without a
// memory map (a mapped page that is gone ends the process); a connection opened aside for one statement gets the same,
// even where SQLite was built to map by default.
TEST_F(DatabaseTest, AnOpenedConnectionHasTheLargeCacheAndNoMappedReads) {
  EXPECT_EQ(fintest::Query(gDb, "PRAGMA cache_size"), (Rows{{"-65536"}}));
  EXPECT_EQ(fintest::Query(gDb, "PRAGMA mmap_size"), (Rows{{"0"}}));

  sqlite3* aside = nullptr;
  ASSERT_EQ(sqlite3_open_v2(path_.c_str(), &aside, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  fintest::Exec(aside, "PRAGMA mmap_size=268435456");   // as a build mapping by default would open it
  FinSetConnectionCache(aside);
  EXPECT_EQ(fintest::Query(aside, "PRAGMA cache_size"), (Rows{{"-65536"}}));
  EXPECT_EQ(fintest::Query(aside, "PRAGMA mmap_size"), (Rows{{"0"}}));
  sqlite3_close(aside);
}

// The soundness check reads the file by quick_check (seconds on a large school, where integrity_check takes minutes)
// and still finds a damaged page.
TEST_F(DatabaseTest, SoundnessCheckUsesTheQuickCheckAndFindsADamagedPage) {
  std::vector<std::string> pragmas;
  sqlite3_set_authorizer(gDb, RecordPragma, &pragmas);
  std::string error;
  EXPECT_TRUE(FinCheckFinanceDatabase(gDb, error)) << error;
  sqlite3_set_authorizer(gDb, nullptr, nullptr);
  // The file is read by quick_check, first; what follows only reads the schema's columns (table_info).
  ASSERT_FALSE(pragmas.empty());
  EXPECT_EQ(pragmas.front(), "quick_check");
  EXPECT_EQ(std::count(pragmas.begin(), pragmas.end(), "integrity_check"), 0);
  EXPECT_EQ(std::count(pragmas.begin(), pragmas.end(), "quick_check"), 1);

  // A file of many money rows whose pages past the first few are overwritten with noise.
  fintest::Exec(gDb, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                     "INSERT INTO transaksi (id, uraian, masuk, sts) SELECT 'R' || i, printf('%.80c', 'x'), i, 'p' FROM n");
  sqlite3_close(gDb);
  gDb = nullptr;
  std::string bytes = fintest::ReadFile(path_);
  const std::size_t page = 4096;
  ASSERT_GT(bytes.size(), 40 * page);
  for (std::size_t i = 20 * page; i < 24 * page; ++i) bytes[i] = static_cast<char>(0xA5 ^ (i * 7));
  fintest::WriteFile(path_, bytes);

  gDb = FinOpenDatabase(path_, error);
  ASSERT_NE(gDb, nullptr) << error;
  error.clear();
  EXPECT_FALSE(FinCheckFinanceDatabase(gDb, error));
  EXPECT_FALSE(error.empty());
}
