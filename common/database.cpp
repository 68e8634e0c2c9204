#include "common/database.h"

#include <QFile>

#include <filesystem>

#include "framework/resources.h"

namespace {

std::string SchemaText() {
  ResEnsureLoaded();
  QFile f(QStringLiteral(":/db/schema.sql"));
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll().toStdString();
}

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

bool HasTable(sqlite3* db, const std::string& table) {
  sqlite3_stmt* st = nullptr;
  bool found = false;
  if (sqlite3_prepare_v2(db, "SELECT 1 FROM sqlite_master WHERE type='table' AND name=?1 COLLATE NOCASE", -1, &st,
                         nullptr) == SQLITE_OK) {
    sqlite3_bind_text(st, 1, table.c_str(), -1, SQLITE_TRANSIENT);
    found = sqlite3_step(st) == SQLITE_ROW;
  }
  sqlite3_finalize(st);
  return found;
}

// The table an index statement is on: the word after " ON ".
std::string IndexTable(const std::string& statement) {
  std::string upper;
  for (char c : statement) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  std::size_t on = upper.find(" ON ");
  if (on == std::string::npos) return {};
  std::size_t a = statement.find_first_not_of(' ', on + 4);
  std::size_t b = statement.find_first_of(" (", a);
  return a == std::string::npos ? std::string() : statement.substr(a, b - a);
}

}  // namespace

const std::vector<std::string>& FinIndexStatements() {
  static const std::vector<std::string> list = [] {
    std::vector<std::string> out;
    for (const std::string& s : Statements(SchemaText())) {
      std::string head;
      for (char c : s.substr(0, 27)) head += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      if (head.rfind("CREATE INDEX IF NOT EXISTS ", 0) == 0) out.push_back(s);
    }
    return out;
  }();
  return list;
}

int FinEnsureIndexes(sqlite3* db, std::string& error) {
  for (const std::string& s : FinIndexStatements()) {
    if (!HasTable(db, IndexTable(s))) continue;
    char* err = nullptr;
    int rc = sqlite3_exec(db, s.c_str(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
      error = err ? err : sqlite3_errstr(rc);
      sqlite3_free(err);
      return rc;
    }
  }
  return SQLITE_OK;
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
    // SQLite opens lazily: a file that is not a database opens "successfully" and fails on the first statement.
    rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
  }
  if (rc == SQLITE_OK) {
    std::string indexError;
    // A database that cannot take an index (read-only file, locked for long) still opens; it is only slower.
    FinEnsureIndexes(db, indexError);
    return db;
  }
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
  int rc = sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr);
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
  for (const char* table : {"siswa", "siswakelas", "rekening", "account", "detail_account", "transaksi", "useradmin"}) {
    if (!HasTable(db, table)) {
      error = std::string("bukan database keuangan, tabel ") + table + " tidak ada";
      return false;
    }
  }
  return true;
}
