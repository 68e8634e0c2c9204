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
  // Runs `sql` at once, as this program's own save (no busy wait): SQLITE_OK when it was written, SQLITE_BUSY when a
  // write of another connection holds the file.
  int Write(const std::string& sql) { return sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr); }

 private:
  sqlite3* db_ = nullptr;
};

// Another program saves while a window of ours is between a check and the statement after it: once `db` (the window's
// connection) has begun a statement whose text begins with `check`, `other` writes `sql` the moment `db` begins its
// next statement (before that statement takes any lock). Once only; the watch ends with the object. written() tells
// whether the other program's save went in (a window that holds the write lock from its check on keeps it out).
class WritesAfterCheck {
 public:
  WritesAfterCheck(sqlite3* db, OtherProgram& other, std::string check, std::string sql)
      : db_(db), other_(other), check_(std::move(check)), sql_(std::move(sql)) {
    sqlite3_trace_v2(db_, SQLITE_TRACE_STMT, &WritesAfterCheck::OnStatement, this);
  }
  ~WritesAfterCheck() { sqlite3_trace_v2(db_, 0, nullptr, nullptr); }
  WritesAfterCheck(const WritesAfterCheck&) = delete;
  WritesAfterCheck& operator=(const WritesAfterCheck&) = delete;

  bool fired() const { return state_ == State::kDone; }
  bool written() const { return fired() && rc_ == SQLITE_OK; }

 private:
  enum class State { kWaiting, kChecked, kDone };
  static int OnStatement(unsigned, void* self, void*, void* text) {
    auto* w = static_cast<WritesAfterCheck*>(self);
    const std::string sql = text ? static_cast<const char*>(text) : "";
    if (w->state_ == State::kChecked) {
      w->state_ = State::kDone;
      w->rc_ = w->other_.Write(w->sql_);
    } else if (w->state_ == State::kWaiting && sql.rfind(w->check_, 0) == 0) {
      w->state_ = State::kChecked;
    }
    return 0;
  }

  sqlite3* db_;
  OtherProgram& other_;
  std::string check_, sql_;
  State state_ = State::kWaiting;
  int rc_ = SQLITE_OK;
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
