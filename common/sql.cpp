#include "common/sql.h"

#include <sqlite3.h>

#include <set>

#include "common/database.h"
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

const char* const kFinTransactionLost = "transaksi sudah dibatalkan, data tidak disimpan";

// The transaction state of gDb. The outermost level is a real transaction (BEGIN IMMEDIATE: the write lock is taken
// at the start, so a busy file is found before any row is written); inner levels are savepoints. An inner level whose
// undo failed dooms the whole transaction: nothing more is run in it and its outermost level rolls back instead of
// committing. A transaction that SQLite has ended by itself while a level is open (it rolls the whole transaction
// back after an I/O error, a full disk or an interrupted write) is doomed the same way: a later statement of the
// save would otherwise be written on its own, outside any transaction.
namespace {
int gTxDepth = 0;            // levels opened by FinBegin and not yet ended
bool gTxOurs = false;        // the outermost level is ours (not a transaction someone else began on gDb)
bool gTxDoomed = false;      // nothing of the transaction may be run or committed any more
sqlite3* gTxDb = nullptr;    // the connection the open levels are on
// Boxes of statements that failed while a level was open: shown once the outermost level has ended, so that no box
// stands while the file is held for writing (every other desk would wait on it).
struct HeldBox {
  std::string text, caption;
  int style = 0;
};
std::vector<HeldBox> gHeldBoxes;

// A level is open on gDb but its transaction can take nothing more.
bool TxDead() {
  if (gTxDepth == 0 || !gDb || gTxDb != gDb) return false;
  if (sqlite3_get_autocommit(gDb)) gTxDoomed = true;   // the transaction under the levels has ended
  return gTxDoomed;
}

// Resets every statement of the connection that is still running (a ROLLBACK fails while one is).
void ResetStatements(sqlite3* db) {
  for (sqlite3_stmt* st = sqlite3_next_stmt(db, nullptr); st; st = sqlite3_next_stmt(db, st)) sqlite3_reset(st);
}

// Runs a statement of the transaction machinery itself, past the guard of FinExecQuiet.
int RawExec(const char* sql) { return gDb ? sqlite3_exec(gDb, sql, nullptr, nullptr, nullptr) : SQLITE_MISUSE; }

// The connection is closed and the database opened again on gDbPath: a transaction that cannot be ended must not
// stay open (later saves would only be savepoints of it, never written, and the file would stay locked for every
// other program). Closing gives up the transaction and its lock; what it wrote is rolled back, by this close or by
// the next opener of the file. Should the file not open again, gDb stays empty, the operator is told, and every
// statement is refused until a database is opened.
void Reconnect() {
  sqlite3* dead = gDb;
  gDb = nullptr;
  ResetStatements(dead);
  sqlite3_close_v2(dead);
  std::string error;
  gDb = FinOpenDatabase(gDbPath, error);
  if (!gDb) FinReportFailure("Tidak dapat membuka database: " + error);
}

// Ends whatever transaction gDb is in. ROLLBACK can fail while a statement of this connection is still running; it
// is tried once more after the running statements are reset. When the transaction still stands after that (an I/O
// error on the journal, or any second fault), the connection is opened anew.
void RollbackAll() {
  if (!gDb || sqlite3_get_autocommit(gDb)) return;
  if (RawExec("ROLLBACK") == SQLITE_OK && sqlite3_get_autocommit(gDb)) return;
  ResetStatements(gDb);
  if (RawExec("ROLLBACK") == SQLITE_OK && sqlite3_get_autocommit(gDb)) return;
  if (!sqlite3_get_autocommit(gDb)) Reconnect();
}

// No level open; the boxes held back while one was are shown now.
void ResetTx() {
  gTxDepth = 0;
  gTxOurs = false;
  gTxDoomed = false;
  gTxDb = nullptr;
  std::vector<HeldBox> boxes;
  boxes.swap(gHeldBoxes);
  for (const HeldBox& box : boxes) MsgBox(box.text, box.caption, box.style);
}

// Undoes and ends the innermost savepoint; false when either step failed.
bool UndoSavepoint() { return RawExec("ROLLBACK TO fin_tx") == SQLITE_OK && RawExec("RELEASE fin_tx") == SQLITE_OK; }
}  // namespace

int FinExecQuiet(const std::string& sql, FinRowCallback callback) {
  if (!gDb) {
    gSqlErrMsg = sqlite3_errstr(SQLITE_MISUSE);
    return SQLITE_MISUSE;
  }
  if (TxDead()) {
    gSqlErrMsg = kFinTransactionLost;
    return SQLITE_ABORT;
  }
  char* err = nullptr;
  int rc = sqlite3_exec(gDb, sql.c_str(), callback, nullptr, &err);
  if (rc != SQLITE_OK) gSqlErrMsg = err ? err : sqlite3_errstr(rc);
  sqlite3_free(err);
  return rc;
}

int FinExec(const std::string& sql, FinRowCallback callback, const std::string& errorPrefix) {
  int rc = FinExecQuiet(sql, callback);
  if (rc != SQLITE_OK) FinReportFailure(errorPrefix + gSqlErrMsg);
  return rc;
}

void FinReportFailure(const std::string& text, const std::string& caption, int style) {
  if (gTxDepth > 0)
    gHeldBoxes.push_back({text, caption, style});
  else
    MsgBox(text, caption, style);
}

namespace {
std::vector<std::string>* gFirstRow = nullptr;   // where FinReadRow's statement puts its first row
bool gFirstRowFound = false;
int OnFirstRow(void*, int columnCount, char** values, char**) {
  if (gFirstRowFound) return 0;
  gFirstRowFound = true;
  gFirstRow->clear();
  for (int i = 0; i < columnCount; ++i) gFirstRow->push_back(FinCell(values, columnCount, i));
  return 0;
}
}  // namespace

bool FinReadRow(const std::string& sql, std::vector<std::string>& row) {
  std::vector<std::string> first;
  gFirstRow = &first;
  gFirstRowFound = false;
  const int rc = FinExec(sql, OnFirstRow);
  gFirstRow = nullptr;
  if (rc != SQLITE_OK || !gFirstRowFound) return false;
  row = std::move(first);
  return true;
}

int FinBegin() {
  // An inner level of a transaction that can take nothing more is refused (FinExec below says so): begun as a
  // transaction of its own, its rows would be written while the outer level's are not.
  const bool outermost = gTxDepth == 0 || gTxDb != gDb;
  if (outermost) ResetTx();
  // A transaction someone else began on gDb: the outermost level is a savepoint of it.
  const bool ours = outermost && gDb && sqlite3_get_autocommit(gDb);
  int rc = FinExec(ours ? "BEGIN IMMEDIATE" : "SAVEPOINT fin_tx");
  if (rc != SQLITE_OK) return rc;
  if (outermost) {
    gTxOurs = ours;
    gTxDb = gDb;
  }
  ++gTxDepth;
  return rc;
}

void FinRollback() {
  std::string keep = gSqlErrMsg;   // the message of the statement that failed stays the one shown
  if (gTxDepth <= 1) {
    // Not ours: its savepoint is undone; should that fail, half-written rows must not stay behind either.
    if (gTxDb == gDb && (gTxOurs || gTxDoomed || !UndoSavepoint())) RollbackAll();
    ResetTx();
  } else {
    if (TxDead() || !UndoSavepoint()) gTxDoomed = true;
    --gTxDepth;
  }
  gSqlErrMsg = keep;
}

bool FinTransactionLost() { return TxDead(); }

int FinCommit() {
  if (TxDead()) {
    // The failure that doomed it was reported when it happened; what the levels wrote is undone.
    gSqlErrMsg = kFinTransactionLost;
    FinRollback();
    return SQLITE_ABORT;
  }
  if (gTxDepth <= 1) {
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
  return FinInsertIfAllFree({countSql}, statements, nullptr, lastRowId);
}

FinInsertResult FinInsertIfAllFree(const std::vector<std::string>& countSqls, const std::vector<std::string>& statements,
                                   int* takenBy, long long* lastRowId) {
  return FinWriteChecked(
      [&](std::vector<std::string>& out) {
        for (std::size_t i = 0; i < countSqls.size(); ++i) {
          const FinCheck free = FinCheckNone(countSqls[i]);
          if (free == FinCheck::kRefuse && takenBy) *takenBy = static_cast<int>(i);
          if (free != FinCheck::kWrite) return free;
        }
        out = statements;
        return FinCheck::kWrite;
      },
      lastRowId);
}

FinCheck FinCheckNone(const std::string& countSql) {
  gCountResult = 0;
  if (FinExec(countSql, FinCbCount) != SQLITE_OK) return FinCheck::kFailed;
  return gCountResult == 0 ? FinCheck::kWrite : FinCheck::kRefuse;
}

FinInsertResult FinWriteChecked(const std::function<FinCheck(std::vector<std::string>& statements)>& check,
                                long long* lastRowId) {
  FinTransaction tx;
  if (!tx.active()) return FinInsertResult::Failed;   // reported by the helper
  std::vector<std::string> statements;
  switch (check(statements)) {
    case FinCheck::kWrite: break;
    case FinCheck::kRefuse: return FinInsertResult::Taken;    // rolled back on leaving the scope
    case FinCheck::kFailed: return FinInsertResult::Failed;   // the same; its box follows the rollback
  }
  for (const std::string& s : statements)
    if (FinExec(s) != SQLITE_OK) return FinInsertResult::Failed;   // the box waits for the rollback
  const long long rowId = sqlite3_last_insert_rowid(gDb);
  if (!tx.commit()) return FinInsertResult::Failed;   // reported by the helper, rolled back
  if (lastRowId) *lastRowId = rowId;
  return FinInsertResult::Written;
}
