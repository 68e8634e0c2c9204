#include "common/value_aside.h"

#include <sqlite3.h>

#include <thread>

#include "common/database.h"
#include "common/globals.h"
#include "common/query_callbacks.h"
#include "common/session.h"
#include "common/sql.h"

struct FinValueAside::State {
  std::string sql;
  std::thread thread;
  bool done = false;      // value holds the result
  bool ranAside = false;  // the thread's run succeeded
  std::string value;
};

namespace {

void (*gObserver)(const std::string&) = nullptr;

// The statement on a read-only connection of its own; false when anything fails there.
bool RunAside(const std::string& path, const std::string& sql, std::string& value) {
  sqlite3* db = nullptr;
  bool ok = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) == SQLITE_OK;
  if (ok) sqlite3_busy_timeout(db, kFinBusyTimeoutMs);
  if (ok) FinSetConnectionCache(db);
  sqlite3_stmt* st = nullptr;
  const char* tail = nullptr;
  ok = ok && sqlite3_prepare_v2(db, sql.c_str(), -1, &st, &tail) == SQLITE_OK && st;
  // One statement only: a text holding more runs on gDb as sqlite3_exec runs it.
  if (ok && tail)
    for (const char* c = tail; *c; ++c)
      if (*c != ' ' && *c != '\t' && *c != '\r' && *c != '\n' && *c != ';') ok = false;
  value.clear();
  int rc = SQLITE_ROW;
  while (ok && (rc = sqlite3_step(st)) == SQLITE_ROW) {
    const unsigned char* v = sqlite3_column_count(st) > 0 ? sqlite3_column_text(st, 0) : nullptr;
    value = v ? reinterpret_cast<const char*>(v) : "";
  }
  ok = ok && rc == SQLITE_DONE;
  sqlite3_finalize(st);
  sqlite3_close(db);
  return ok;
}

}  // namespace

void FinSetValueAsideObserver(void (*observer)(const std::string& sql)) { gObserver = observer; }

FinValueAside::FinValueAside(std::string sql) : state_(std::make_unique<State>()) {
  state_->sql = std::move(sql);
  // Only when gDb shows nothing a second connection would not see: a file, no transaction of its own open.
  const char* file = gDb ? sqlite3_db_filename(gDb, "main") : nullptr;
  if (!file || !*file || !sqlite3_get_autocommit(gDb)) return;
  if (gObserver) gObserver(state_->sql);
  State* s = state_.get();
  s->thread = std::thread([s, path = std::string(file)] { s->ranAside = RunAside(path, s->sql, s->value); });
}

FinValueAside::~FinValueAside() {
  if (state_->thread.joinable()) state_->thread.join();
}

const std::string& FinValueAside::value() {
  State& s = *state_;
  if (!s.done) {
    if (s.thread.joinable()) s.thread.join();
    if (!s.ranAside) {
      gSqlResult.clear();
      if (FinExec(s.sql, FinCbSingleValue) != 0) gSqlResult.clear();
      s.value = gSqlResult;
    }
    s.done = true;
  }
  gSqlResult = s.value;
  return s.value;
}
