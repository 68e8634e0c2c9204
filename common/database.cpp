#include "common/database.h"

#include <QFile>

#include <cctype>
#include <filesystem>
#include <set>

#include "framework/resources.h"

namespace {

// The statements of an SQL text, split at ";" outside quotes and comments.
std::vector<std::string> Statements(const std::string& sql) {
  std::vector<std::string> out;
  std::string cur;
  for (std::size_t i = 0; i < sql.size(); ++i) {
    const char c = sql[i];
    if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
      while (i < sql.size() && sql[i] != '\n') ++i;
      cur += '\n';
      continue;
    }
    if (c == '\'') {
      std::size_t close = sql.find('\'', i + 1);
      if (close == std::string::npos) close = sql.size() - 1;
      cur += sql.substr(i, close - i + 1);
      i = close;
      continue;
    }
    if (c == ';') {
      out.push_back(cur);
      cur.clear();
      continue;
    }
    cur += c;
  }
  if (cur.find_first_not_of(" \t\r\n") != std::string::npos) out.push_back(cur);
  for (std::string& s : out) {
    const std::size_t a = s.find_first_not_of(" \t\r\n");
    const std::size_t b = s.find_last_not_of(" \t\r\n");
    s = a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
  }
  return out;
}

std::string Upper(const std::string& text) {
  std::string out;
  for (char c : text) out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

bool IsIndexStatement(const std::string& statement) {
  return Upper(statement.substr(0, 27)).rfind("CREATE INDEX IF NOT EXISTS ", 0) == 0;
}

// The table an index statement is on: the word after " ON ", in upper case.
std::string IndexTable(const std::string& statement) {
  const std::string upper = Upper(statement);
  std::size_t on = upper.find(" ON ");
  if (on == std::string::npos) return {};
  std::size_t a = upper.find_first_not_of(' ', on + 4);
  std::size_t b = upper.find_first_of(" (", a);
  return a == std::string::npos ? std::string() : upper.substr(a, b - a);
}

struct IndexStatement {
  std::string sql;
  std::string table;   // upper case
};

// The index statements of the schema with the table each is on, in the order they stand there.
const std::vector<IndexStatement>& Indexes() {
  static const std::vector<IndexStatement> list = [] {
    std::vector<IndexStatement> out;
    for (const std::string& s : Statements(FinSchemaText()))
      if (IsIndexStatement(s)) out.push_back({s, IndexTable(s)});
    return out;
  }();
  return list;
}

// The names of the tables of `db`, in upper case.
std::set<std::string> TableNames(sqlite3* db) {
  std::set<std::string> names;
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type='table'", -1, &st, nullptr) == SQLITE_OK)
    while (sqlite3_step(st) == SQLITE_ROW)
      if (const unsigned char* t = sqlite3_column_text(st, 0)) names.insert(Upper(reinterpret_cast<const char*>(t)));
  sqlite3_finalize(st);
  return names;
}

// The names of `db`'s columns of `table`, in their order.
std::vector<std::string> Columns(sqlite3* db, const std::string& table) {
  std::vector<std::string> names;
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, "SELECT name FROM pragma_table_info(?1) ORDER BY cid", -1, &st, nullptr) == SQLITE_OK) {
    sqlite3_bind_text(st, 1, table.c_str(), -1, SQLITE_TRANSIENT);
    while (sqlite3_step(st) == SQLITE_ROW)
      if (const unsigned char* t = sqlite3_column_text(st, 0)) names.push_back(reinterpret_cast<const char*>(t));
  }
  sqlite3_finalize(st);
  return names;
}

// The same in upper case, as a set.
std::set<std::string> ColumnNames(sqlite3* db, const std::string& table) {
  std::set<std::string> names;
  for (const std::string& name : Columns(db, table)) names.insert(Upper(name));
  return names;
}

// A table of db/schema.sql with its columns, named as written there.
struct SchemaTable {
  std::string name;
  std::vector<std::string> columns;
};

// The tables of db/schema.sql in the order they stand there, each with its columns in their order: what the program
// reads, taken from the schema itself (built in a database in memory).
const std::vector<SchemaTable>& SchemaTables() {
  static const std::vector<SchemaTable> list = [] {
    std::vector<SchemaTable> out;
    sqlite3* mem = nullptr;
    if (sqlite3_open(":memory:", &mem) == SQLITE_OK &&
        sqlite3_exec(mem, FinSchemaWithoutIndexes().c_str(), nullptr, nullptr, nullptr) == SQLITE_OK) {
      sqlite3_stmt* st = nullptr;
      if (sqlite3_prepare_v2(mem, "SELECT name FROM sqlite_master WHERE type='table' ORDER BY rowid", -1, &st,
                             nullptr) == SQLITE_OK)
        while (sqlite3_step(st) == SQLITE_ROW)
          if (const unsigned char* t = sqlite3_column_text(st, 0))
            out.push_back({reinterpret_cast<const char*>(t), {}});
      sqlite3_finalize(st);
      for (SchemaTable& table : out) table.columns = Columns(mem, table.name);
    }
    sqlite3_close(mem);
    return out;
  }();
  return list;
}

}  // namespace

const std::string& FinSchemaText() {
  static const std::string text = [] {
    ResEnsureLoaded();
    QFile f(QStringLiteral(":/db/schema.sql"));
    if (!f.open(QIODevice::ReadOnly)) return std::string();
    return f.readAll().toStdString();
  }();
  return text;
}

std::string FinSchemaWithoutIndexes() {
  std::string out;
  for (const std::string& s : Statements(FinSchemaText()))
    if (!IsIndexStatement(s)) out += s + ";\n";
  return out;
}

const std::vector<std::string>& FinIndexStatements() {
  static const std::vector<std::string> list = [] {
    std::vector<std::string> out;
    for (const IndexStatement& i : Indexes()) out.push_back(i.sql);
    return out;
  }();
  return list;
}

int FinEnsureIndexes(sqlite3* db, std::string& error) {
  const std::set<std::string> tables = TableNames(db);
  for (const IndexStatement& i : Indexes()) {
    if (!tables.count(i.table)) continue;
    char* err = nullptr;
    int rc = sqlite3_exec(db, i.sql.c_str(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
      error = err ? err : sqlite3_errstr(rc);
      sqlite3_free(err);
      return rc;
    }
  }
  return SQLITE_OK;
}

void FinSetConnectionCache(sqlite3* db) {
  // A school of tens of thousands of students keeps its recaps' indexes in memory. Pages are read into that cache,
  // never through a map of the file: a read of a mapped page that is no longer there raises a signal that ends the
  // program, where a read through the file fails the statement with SQLite's message.
  static const std::string pragmas = "PRAGMA cache_size=" + std::to_string(kFinCacheSizePragma) +
                                     "; PRAGMA mmap_size=" + std::to_string(kFinMmapSizeBytes);
  if (db) sqlite3_exec(db, pragmas.c_str(), nullptr, nullptr, nullptr);
}

sqlite3* FinOpenDatabase(const std::string& path, std::string& error) {
  std::error_code ec;
  if (path.empty() || !std::filesystem::is_regular_file(path, ec)) {
    error = sqlite3_errstr(SQLITE_CANTOPEN);   // "unable to open database file", as SQLite says it
    return nullptr;
  }
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  if (rc == SQLITE_OK) {
    sqlite3_busy_timeout(db, kFinBusyTimeoutMs);
    FinSetConnectionCache(db);
    // SQLite opens lazily: a file that is not a database opens "successfully" and fails on the first statement.
    rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
  }
  if (rc == SQLITE_OK) return db;
  error = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  sqlite3_close(db);
  return nullptr;
}

bool FinCheckFinanceDatabase(sqlite3* db, std::string& error) {
  if (!db) {
    error = sqlite3_errstr(SQLITE_MISUSE);
    return false;
  }
  sqlite3_stmt* st = nullptr;
  // quick_check finds what integrity_check finds but a mismatch between a table and its indexes, in a fraction of the
  // time on a large file; the tables the system needs are checked below.
  int rc = sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &st, nullptr);
  std::string first;
  if (rc == SQLITE_OK) {
    rc = sqlite3_step(st);
    if (rc == SQLITE_ROW) {
      const unsigned char* t = sqlite3_column_text(st, 0);
      first = t ? reinterpret_cast<const char*>(t) : "";
      rc = SQLITE_OK;
    }
  }
  if (rc != SQLITE_OK && rc != SQLITE_DONE) {
    error = sqlite3_errmsg(db);
    sqlite3_finalize(st);
    return false;
  }
  sqlite3_finalize(st);
  if (first != "ok") {
    error = "database rusak (" + first + ")";
    return false;
  }
  // Every table and column the program reads, as db/schema.sql gives them: all tables first, then their columns.
  const std::vector<SchemaTable>& schema = SchemaTables();
  if (schema.empty()) {
    error = "skema database tidak tersedia";
    return false;
  }
  const std::set<std::string> tables = TableNames(db);
  for (const SchemaTable& table : schema) {
    if (!tables.count(Upper(table.name))) {
      error = "bukan database keuangan, tabel " + table.name + " tidak ada";
      return false;
    }
  }
  for (const SchemaTable& table : schema) {
    const std::set<std::string> columns = ColumnNames(db, table.name);
    for (const std::string& column : table.columns) {
      if (!columns.count(Upper(column))) {
        error = "bukan database keuangan, kolom " + table.name + "." + column + " tidak ada";
        return false;
      }
    }
  }
  return true;
}

int FinUseRollbackJournal(sqlite3* db, std::string& error) {
  auto mode = [db, &error](const char* sql, std::string& result) {
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
    if (rc == SQLITE_OK) {
      rc = sqlite3_step(st);
      if (rc == SQLITE_ROW) {
        const unsigned char* t = sqlite3_column_text(st, 0);
        result = t ? Upper(reinterpret_cast<const char*>(t)) : "";
        rc = SQLITE_OK;
      }
    }
    if (rc != SQLITE_OK) error = sqlite3_errmsg(db);
    sqlite3_finalize(st);
    return rc;
  };
  if (!db) {
    error = sqlite3_errstr(SQLITE_MISUSE);
    return SQLITE_MISUSE;
  }
  std::string current;
  int rc = mode("PRAGMA journal_mode", current);
  if (rc != SQLITE_OK || current != "WAL") return rc;
  // Leaving the write-ahead log writes its pages into the file and removes the -wal file; it needs the file to
  // itself, so another program that has it open makes it fail.
  rc = mode("PRAGMA journal_mode=DELETE", current);
  if (rc != SQLITE_OK) return rc;
  if (current == "WAL") {
    error = sqlite3_errstr(SQLITE_BUSY);
    return SQLITE_BUSY;
  }
  return SQLITE_OK;
}

bool FinPrepareFinanceDatabase(sqlite3* db, std::string& error) {
  if (!FinCheckFinanceDatabase(db, error)) return false;
  if (FinUseRollbackJournal(db, error) != SQLITE_OK) return false;
  std::string indexError;
  FinEnsureIndexes(db, indexError);   // without them the database is only slower
  return true;
}
