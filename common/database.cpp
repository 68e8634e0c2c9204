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
  // A school of tens of thousands of students keeps its recaps' indexes in memory, and reads pages from the mapped
  // file rather than copying each one (SQLite caps the mapping at what it was built for).
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
  const std::set<std::string> tables = TableNames(db);
  for (const char* table : {"siswa", "siswakelas", "rekening", "account", "detail_account", "transaksi", "useradmin"}) {
    if (!tables.count(Upper(table))) {
      error = std::string("bukan database keuangan, tabel ") + table + " tidak ada";
      return false;
    }
  }
  return true;
}
