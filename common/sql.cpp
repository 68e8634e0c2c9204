#include "common/sql.h"

#include <sqlite3.h>

#include "app/globals.h"
#include "common/globals.h"
#include "framework/system_wrappers.h"

std::string SqlQ(const std::string& text) {
  // %q works on zero-terminated text: a NUL inside the value would cut it, so it is passed through in pieces.
  std::string out;
  std::size_t start = 0;
  while (true) {
    std::size_t nul = text.find('\0', start);
    std::string piece = text.substr(start, nul == std::string::npos ? std::string::npos : nul - start);
    char* q = sqlite3_mprintf("%q", piece.c_str());
    if (q) {
      out += q;
      sqlite3_free(q);
    }
    if (nul == std::string::npos) break;
    out += '\0';
    start = nul + 1;
  }
  return out;
}

std::string SqlQuoted(const std::string& text) { return "'" + SqlQ(text) + "'"; }

int FinExecQuiet(const std::string& sql, FinRowCallback callback) {
  if (!gDb) {
    gSqlErrMsg = sqlite3_errstr(SQLITE_MISUSE);
    return SQLITE_MISUSE;
  }
  char* err = nullptr;
  int rc = sqlite3_exec(gDb, sql.c_str(), callback, nullptr, &err);
  if (rc != SQLITE_OK) gSqlErrMsg = err ? err : sqlite3_errstr(rc);
  sqlite3_free(err);
  return rc;
}

int FinExec(const std::string& sql, FinRowCallback callback, const std::string& errorPrefix) {
  int rc = FinExecQuiet(sql, callback);
  if (rc != SQLITE_OK) MsgBox(errorPrefix + gSqlErrMsg, "Info", MB_OK);
  return rc;
}

int FinBegin() { return FinExec("SAVEPOINT fin_tx"); }

void FinRollback() {
  std::string keep = gSqlErrMsg;   // the message of the statement that failed stays the one shown
  FinExecQuiet("ROLLBACK TO fin_tx");
  FinExecQuiet("RELEASE fin_tx");
  gSqlErrMsg = keep;
}

int FinCommit() {
  int rc = FinExec("RELEASE fin_tx");
  if (rc != SQLITE_OK) FinRollback();
  return rc;
}

bool FinExecAll(const std::vector<std::string>& statements, const std::string& errorPrefix) {
  if (FinBegin() != SQLITE_OK) return false;
  for (const std::string& s : statements) {
    if (FinExec(s, nullptr, errorPrefix) != SQLITE_OK) {
      FinRollback();
      return false;
    }
  }
  return FinCommit() == SQLITE_OK;
}

FinTransaction::FinTransaction() : active_(FinBegin() == SQLITE_OK) {}

FinTransaction::~FinTransaction() {
  if (active_) FinRollback();
}

bool FinTransaction::commit() {
  if (!active_) return false;
  active_ = false;
  return FinCommit() == SQLITE_OK;
}
