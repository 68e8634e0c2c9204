// Another program on the same database file (a second cashier, a backup tool): its own real connection, which can hold
// a read lock or a write lock while a window of ours saves, and a look at the file itself through a fresh connection.
#pragma once
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "support/fixtures.h"

namespace fintest {

// How another program gets in the way of a save: a read lock across the commit, a write lock from the start, or (no
// other program) a trigger that refuses a row half-way through, which the test sets up itself.
enum class Obstacle { kReadLock, kWriteLock, kTrigger };

class OtherProgram {
 public:
  explicit OtherProgram(const std::string& path) {
    EXPECT_EQ(sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
  }
  ~OtherProgram() {
    release();
    sqlite3_close(db_);
  }
  OtherProgram(const OtherProgram&) = delete;
  OtherProgram& operator=(const OtherProgram&) = delete;

  // A read in progress: BEGIN and one row read keep a shared lock until release().
  void holdReadLock() {
    Exec(db_, "BEGIN");
    fintest::Query(db_, "SELECT count(*) FROM sqlite_master");
  }
  // A write in progress: the reserved lock of an open write transaction.
  void holdWriteLock() { Exec(db_, "BEGIN IMMEDIATE"); }
  // The lock the obstacle names; nothing for kTrigger.
  void hold(Obstacle obstacle) {
    if (obstacle == Obstacle::kReadLock) holdReadLock();
    if (obstacle == Obstacle::kWriteLock) holdWriteLock();
  }
  void release() {
    if (db_ && !sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  }
  // What this program reads (inside its read, when one is held).
  std::vector<std::vector<std::string>> Query(const std::string& sql) { return fintest::Query(db_, sql); }

 private:
  sqlite3* db_ = nullptr;
};

// What a query finds in the file, read through a connection of its own.
inline std::vector<std::vector<std::string>> RowsInFile(const std::string& path, const std::string& sql) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  std::vector<std::vector<std::string>> rows = fintest::Query(db, sql);
  sqlite3_close(db);
  return rows;
}

}  // namespace fintest
