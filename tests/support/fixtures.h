// Test harness: temporary folders, a fresh database from db/schema.sql, small fixtures.
#pragma once
#include <sqlite3.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fintest {

// A folder under the system's temporary folder, removed with everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::string str() const { return path_.string(); }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// Path of db/schema.sql in the source tree.
std::string SchemaPath();

// Creates a database file at `path` from db/schema.sql and returns an open connection (the caller closes it).
sqlite3* CreateDatabase(const std::string& path);
// The same without any index: a school's database from before the indexes. The connection is closed.
void CreateDatabaseWithoutIndexes(const std::string& path);
// How many indexes the database file at `path` holds (read through a connection of its own).
int IndexCount(const std::string& path);

// Runs statements on `db`; fails the current test on an error.
void Exec(sqlite3* db, const std::string& sql);

// All rows of a query as texts (NULL reads as "<null>").
std::vector<std::vector<std::string>> Query(sqlite3* db, const std::string& sql);

// Counts the receipts (the rows of one 22-character stamp and one student) whose discount is above their items or
// whose savings withdrawal is above their net (items - discount): one row, "0" in a sound file.
extern const char* const kReceiptsAboveTheirItemsSql;

// Counts the statements run on `db` while it lives (sqlite3_trace_v2): how many a window runs for one command.
class StatementCounter {
 public:
  explicit StatementCounter(sqlite3* db);
  ~StatementCounter();
  StatementCounter(const StatementCounter&) = delete;
  StatementCounter& operator=(const StatementCounter&) = delete;
  int count() const { return count_; }
  void reset() { count_ = 0; }

 private:
  sqlite3* db_;
  int count_ = 0;
};

// Files the program must refuse as a school's database: a database of another program (a table of its own, holding a
// row), and a school's database changed by `sql` after it was made (a table dropped, a column gone).
void WriteForeignDatabase(const std::string& path, const std::string& table = "buku");
void WriteAlteredDatabase(const std::string& path, const std::string& sql);
// The statements that leave the money table without its "masuk" column.
extern const char* const kMoneyWithoutMasuk;

// Writes a text file whole.
void WriteFile(const std::string& path, const std::string& text);
std::string ReadFile(const std::string& path);

}  // namespace fintest
