#include "common/sql.h"

#include <sqlite3.h>

#include <set>

#include "common/globals.h"
#include "common/query_callbacks.h"
#include "common/session.h"
#include "framework/strings.h"
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

std::string SqlQuotedList(const std::vector<std::string>& texts) {
  std::set<std::string> seen;
  std::string out;
  for (const std::string& t : texts) {
    if (!seen.insert(t).second) continue;
    if (!out.empty()) out += ",";
    out += SqlQuoted(t);
  }
  return out;
}

std::string SqlPrefixRange(const std::string& column, const std::string& prefix) {
  // U+10FFFF (F4 8F BF BF) sorts after every other character SQLite's binary comparison can meet in valid UTF-8.
  return "(" + column + " >= '" + SqlQ(prefix) + "' AND " + column + " < '" + SqlQ(prefix) + "\xF4\x8F\xBF\xBF')";
}

std::string SqlLeftEquals(const std::string& column, long long n, const std::string& text) {
  const long long length = Utf8Length(text);
  if (length == n) return SqlPrefixRange(column, text);
  if (length < n) return column + "=" + SqlQuoted(text);
  return "0";
}

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

// The transaction state of gDb. The outermost level is a real transaction (BEGIN IMMEDIATE: the write lock is taken
// at the start, so a busy file is found before any row is written); inner levels are savepoints. An inner level whose
// undo failed dooms the whole transaction: its outermost level then rolls back instead of committing.
namespace {
int gTxDepth = 0;          // levels opened by FinBegin and not yet ended
bool gTxOurs = false;      // the outermost level is ours (not a transaction someone else began on gDb)
bool gTxDoomed = false;    // an inner level could not be undone: nothing of the transaction may be committed

// Ends whatever transaction gDb is in. ROLLBACK can only fail while a statement of this connection is still running;
// it is tried once more after the running statements are reset.
void RollbackAll() {
  if (!gDb || sqlite3_get_autocommit(gDb)) return;
  if (sqlite3_exec(gDb, "ROLLBACK", nullptr, nullptr, nullptr) == SQLITE_OK) return;
  for (sqlite3_stmt* st = sqlite3_next_stmt(gDb, nullptr); st; st = sqlite3_next_stmt(gDb, st)) sqlite3_reset(st);
  sqlite3_exec(gDb, "ROLLBACK", nullptr, nullptr, nullptr);
}

// No level open.
void ResetTx() {
  gTxDepth = 0;
  gTxOurs = false;
  gTxDoomed = false;
}

// Undoes and ends the innermost savepoint; false when either step failed.
bool UndoSavepoint() {
  return FinExecQuiet("ROLLBACK TO fin_tx") == SQLITE_OK && FinExecQuiet("RELEASE fin_tx") == SQLITE_OK;
}
}  // namespace

int FinBegin() {
  // With gDb in autocommit whatever was open before has ended (or never was ours): a new outermost level.
  const bool outermost = gDb && sqlite3_get_autocommit(gDb);
  if (outermost) ResetTx();
  int rc = FinExec(outermost ? "BEGIN IMMEDIATE" : "SAVEPOINT fin_tx");
  if (rc != SQLITE_OK) return rc;
  if (gTxDepth == 0) gTxOurs = outermost;
  ++gTxDepth;
  return rc;
}

void FinRollback() {
  std::string keep = gSqlErrMsg;   // the message of the statement that failed stays the one shown
  if (gTxDepth <= 1) {
    // Not ours: its savepoint is undone; should that fail, half-written rows must not stay behind either.
    if (gTxOurs || !UndoSavepoint()) RollbackAll();
    ResetTx();
  } else {
    if (!UndoSavepoint()) gTxDoomed = true;
    --gTxDepth;
  }
  gSqlErrMsg = keep;
}

int FinCommit() {
  if (gTxDepth <= 1) {
    if (gTxDoomed) {
      FinRollback();   // the failure that doomed it was reported when it happened
      return SQLITE_ABORT;
    }
    int rc = FinExec(gTxOurs ? "COMMIT" : "RELEASE fin_tx");
    if (rc != SQLITE_OK) {
      FinRollback();
      return rc;
    }
    ResetTx();
    return rc;
  }
  int rc = FinExec("RELEASE fin_tx");
  if (rc != SQLITE_OK) {
    FinRollback();
    return rc;
  }
  --gTxDepth;
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

FinInsertResult FinInsertIfFree(const std::string& countSql, const std::vector<std::string>& statements,
                                long long* lastRowId) {
  bool failed = false;
  std::string error;
  {
    FinTransaction tx;
    if (!tx.active()) return FinInsertResult::Failed;   // reported by the helper
    gCountResult = 0;
    if (FinExecQuiet(countSql, FinCbCount) != SQLITE_OK) {
      failed = true;
    } else if (gCountResult != 0) {
      return FinInsertResult::Taken;   // rolled back on leaving the scope
    } else {
      for (const std::string& s : statements) {
        if (FinExecQuiet(s) != SQLITE_OK) {
          failed = true;
          break;
        }
      }
    }
    if (failed) {
      error = gSqlErrMsg;
    } else {
      const long long rowId = sqlite3_last_insert_rowid(gDb);
      if (!tx.commit()) return FinInsertResult::Failed;   // reported by the helper, rolled back
      if (lastRowId) *lastRowId = rowId;
      return FinInsertResult::Written;
    }
  }   // the rows written so far are rolled back here
  MsgBox("SQL error: " + error, "Info", MB_OK);
  return FinInsertResult::Failed;
}
