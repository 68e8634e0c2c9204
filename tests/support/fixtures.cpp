#include "support/fixtures.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace fintest {

TempDir::TempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "fintest-XXXXXX").string();
  std::vector<char> buf(tmpl.begin(), tmpl.end());
  buf.push_back('\0');
  char* made = mkdtemp(buf.data());
  if (!made) throw std::runtime_error("mkdtemp failed");
  path_ = made;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string SchemaPath() { return std::string(FIN_SOURCE_DIR) + "/db/schema.sql"; }

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

void Exec(sqlite3* db, const std::string& sql) {
  char* err = nullptr;
  int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err);
  EXPECT_EQ(rc, SQLITE_OK) << (err ? err : "") << "\n" << sql;
  sqlite3_free(err);
}

const char* const kMoneyWithoutMasuk =
    "DROP TABLE transaksi; CREATE TABLE transaksi (id TEXT, tgl TEXT, uraian TEXT, acctid TEXT, siswaid TEXT, "
    "keluar INTEGER, petugas TEXT, sts TEXT, jenjang TEXT, Ref TEXT)";

void WriteForeignDatabase(const std::string& path, const std::string& table) {
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  Exec(db, "CREATE TABLE " + table + " (judul TEXT); INSERT INTO " + table + " VALUES ('Laskar Pelangi');");
  sqlite3_close(db);
}

void WriteAlteredDatabase(const std::string& path, const std::string& sql) {
  sqlite3* db = CreateDatabase(path);
  Exec(db, sql);
  sqlite3_close(db);
}

sqlite3* CreateDatabase(const std::string& path) {
  sqlite3* db = nullptr;
  if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) {
    ADD_FAILURE() << "cannot open " << path;
    return db;
  }
  Exec(db, ReadFile(SchemaPath()));
  return db;
}

void CreateDatabaseWithoutIndexes(const std::string& path) {
  sqlite3* db = CreateDatabase(path);
  for (const std::vector<std::string>& r : Query(db, "SELECT name FROM sqlite_master WHERE type='index'"))
    Exec(db, "DROP INDEX \"" + r[0] + "\"");
  sqlite3_close(db);
}

int IndexCount(const std::string& path) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  const std::vector<std::vector<std::string>> rows =
      Query(db, "SELECT count(*) FROM sqlite_master WHERE type='index'");
  sqlite3_close(db);
  return rows.empty() ? -1 : std::stoi(rows[0][0]);
}

const char* const kReceiptsAboveTheirItemsSql =
    "select count(*) from (select sum(case when acctid not in ('Disc','Tabungan') and sts='p' then masuk else 0 "
    "end) as items, -sum(case when acctid='Disc' then masuk else 0 end) as disc, sum(case when acctid='Tabungan' "
    "then keluar else 0 end) as taken from transaksi where length(id)>22 group by substr(id,1,22), siswaid) "
    "where disc>items or taken>items-disc";

std::vector<std::vector<std::string>> Query(sqlite3* db, const std::string& sql) {
  std::vector<std::vector<std::string>> rows;
  char* err = nullptr;
  int rc = sqlite3_exec(
      db, sql.c_str(),
      [](void* p, int n, char** v, char**) {
        auto* out = static_cast<std::vector<std::vector<std::string>>*>(p);
        std::vector<std::string> row;
        for (int i = 0; i < n; ++i) row.emplace_back(v[i] ? v[i] : "<null>");
        out->push_back(std::move(row));
        return 0;
      },
      &rows, &err);
  EXPECT_EQ(rc, SQLITE_OK) << (err ? err : "") << "\n" << sql;
  sqlite3_free(err);
  return rows;
}

StatementCounter::StatementCounter(sqlite3* db) : db_(db) {
  sqlite3_trace_v2(
      db_, SQLITE_TRACE_STMT,
      [](unsigned, void* self, void*, void*) {
        ++static_cast<StatementCounter*>(self)->count_;
        return 0;
      },
      this);
}

StatementCounter::~StatementCounter() { sqlite3_trace_v2(db_, 0, nullptr, nullptr); }

}  // namespace fintest
