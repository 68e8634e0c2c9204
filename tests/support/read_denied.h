// A read that fails: an SQLite authorizer on a connection refuses reading one column of one table (or every column of
// it), as a damaged or foreign file would make a read fail. While the object lives, every statement prepared on the
// connection that reads that column fails with SQLite's "access to <table>.<column> is prohibited"; statements that do
// not read it (inserts, other tables) run as before. The authorizer goes when the object goes.
#pragma once
#include <sqlite3.h>
#include <strings.h>

#include <string>

namespace fintest {

class ReadDenied {
 public:
  // `column` empty: every column of `table`.
  ReadDenied(sqlite3* db, std::string table, std::string column = "")
      : db_(db), table_(std::move(table)), column_(std::move(column)) {
    sqlite3_set_authorizer(db_, &ReadDenied::Authorize, this);
  }
  ~ReadDenied() { release(); }
  ReadDenied(const ReadDenied&) = delete;
  ReadDenied& operator=(const ReadDenied&) = delete;

  // Reads work again from now on.
  void release() {
    if (db_) sqlite3_set_authorizer(db_, nullptr, nullptr);
    db_ = nullptr;
  }
  // SQLite's message of a statement refused by this object.
  std::string message() const { return "access to " + table_ + "." + column_ + " is prohibited"; }

 private:
  static int Authorize(void* self, int action, const char* table, const char* column, const char*, const char*) {
    const auto* d = static_cast<const ReadDenied*>(self);
    if (action != SQLITE_READ || !table || strcasecmp(table, d->table_.c_str()) != 0) return SQLITE_OK;
    return d->column_.empty() || (column && strcasecmp(column, d->column_.c_str()) == 0) ? SQLITE_DENY : SQLITE_OK;
  }

  sqlite3* db_;
  std::string table_, column_;
};

}  // namespace fintest
