// Running statements on the one connection gDb: the quoting helper every value goes through, the runner that reports
// a failed statement, and a transaction for saves that write several rows of money.
#pragma once
#include <functional>
#include <string>
#include <vector>

// SQLite's row callback.
using FinRowCallback = int (*)(void* user, int columnCount, char** values, char** names);

// The text with every "'" doubled (sqlite3_mprintf "%q"), ready to stand between apostrophes in a statement:
// "Select ... WHERE User='" + SqlQ(name) + "'". Typed text can never end the literal.
std::string SqlQ(const std::string& text);

// "'" + SqlQ(text) + "'".
std::string SqlQuoted(const std::string& text);

// The texts quoted and joined by ",", each once, in their first order: the list of "column in (...)".
std::string SqlQuotedList(const std::vector<std::string>& texts);

// A condition that `column` starts with `prefix`, written as a range so that an index on the column is used:
// "(column >= 'prefix' AND column < 'prefix' + the highest character)". Selects the same rows as
// "substr(column,1,n)='prefix'" (n the prefix's length) for texts of valid UTF-8.
std::string SqlPrefixRange(const std::string& column, const std::string& prefix);

// A condition selecting the same rows as "substr(column,1,n)='text'" (characters counted as SQLite counts them), through
// the index: the prefix range when `text` has n characters, "column='text'" when it has fewer (only a value that short
// can equal it), and "0" when it has more (no value's first n characters can).
std::string SqlLeftEquals(const std::string& column, long long n, const std::string& text);

// Runs `sql` on gDb with `callback` (may be nullptr). On failure gSqlErrMsg holds SQLite's message and a box captioned
// "Info" shows `errorPrefix` + that message ("SQL error: " unless the caller numbers it), through FinReportFailure.
// Returns sqlite3_exec's code (SQLITE_OK = 0 on success); gSqlErrMsg is left as it was when the statement succeeds.
int FinExec(const std::string& sql, FinRowCallback callback = nullptr, const std::string& errorPrefix = "SQL error: ");

// Shows `text` in a box (captioned "Info", an OK button, unless told otherwise); while a transaction of FinBegin is
// open the box waits until its outermost level has ended (committed or rolled back), so that no box stands while the
// file is held for writing.
void FinReportFailure(const std::string& text, const std::string& caption = "Info", int style = 0);

// Runs `sql` on gDb and puts the values of the first row it gives into `row` (NULL as the empty text). True when it
// gave a row; false, `row` untouched, when it gave none or failed (reported as FinExec reports it).
bool FinReadRow(const std::string& sql, std::vector<std::string>& row);

// As FinExec, without any box: for statements whose failure the caller reports in its own words.
int FinExecQuiet(const std::string& sql, FinRowCallback callback = nullptr);

// A transaction on gDb (a savepoint, so that it nests). FinBegin returns SQLITE_OK when it started; FinCommit makes
// the rows since FinBegin permanent; FinRollback undoes them. Failures of FinBegin and FinCommit are reported like
// FinExec's; FinRollback reports nothing. After gDb's transaction has ended while a level is open (SQLite rolled it
// back after an I/O error, a full disk or an interrupted write), or an inner level could not be undone, every
// statement, inner level and commit of it is refused ("transaksi sudah dibatalkan, data tidak disimpan") and the
// outermost level undoes it all. A transaction that no ROLLBACK can end closes gDb and opens it again on gDbPath,
// which gives up the transaction and its lock; when the file does not open again the operator is told
// ("Tidak dapat membuka database: " + SQLite's reason, caption "Info") and gDb stays empty, so that every later
// statement fails.
int FinBegin();
int FinCommit();
void FinRollback();
// True while a level of the transaction is open on gDb and the transaction can take nothing more (SQLite ended it,
// or an inner level could not be undone): every further statement of it would only be refused. A save of many rows
// stops at the first row once this holds, instead of refusing each row that follows.
bool FinTransactionLost();
// The text every statement and commit of such a transaction is refused with.
extern const char* const kFinTransactionLost;

// Runs the statements in order inside one transaction: all of them or none. The first failing statement is reported
// ("SQL error: " + message, caption "Info"), everything before it is undone and the rest is not run. True when all
// were written.
bool FinExecAll(const std::vector<std::string>& statements, const std::string& errorPrefix = "SQL error: ");

// Scope guard over FinBegin/FinCommit/FinRollback: rolls back on leaving the scope unless commit() succeeded.
class FinTransaction {
 public:
  FinTransaction();
  ~FinTransaction();
  FinTransaction(const FinTransaction&) = delete;
  FinTransaction& operator=(const FinTransaction&) = delete;
  bool active() const { return active_; }   // false when FinBegin failed
  bool commit();                             // true when the rows are written

 private:
  bool active_ = false;
};

// What FinInsertIfFree did.
enum class FinInsertResult {
  Written,   // every statement ran and the commit succeeded
  Taken,     // the count found rows in the way: nothing written, nothing shown (the caller refuses in its own words)
  Failed,    // a statement, the begin or the commit failed: nothing written, the failure reported
};

// Writing rows whose ids must be new (ids made of the clock's second: two saves in one second would make the same
// ids). In one transaction: runs `countSql` (a "Select Count(*) ..." of the rows the new ones would collide with)
// and, when it counts none, runs `statements` in order; then commits. A failing statement is reported ("SQL error: "
// + SQLite's message, caption "Info") once the transaction has ended, so that no box stands while the file is held
// for writing; a failing begin or commit is reported by the transaction helper. With Written, `lastRowId` (when
// given) holds the rowid of the last row inserted.
FinInsertResult FinInsertIfFree(const std::string& countSql, const std::vector<std::string>& statements,
                                long long* lastRowId = nullptr);

// As FinInsertIfFree, for rows whose ids must pass several counts: they run in order inside the transaction, the first
// that counts rows ends it (Taken, nothing written) and `takenBy` (when given) holds its place in `countSqls`.
FinInsertResult FinInsertIfAllFree(const std::vector<std::string>& countSqls, const std::vector<std::string>& statements,
                                   int* takenBy = nullptr, long long* lastRowId = nullptr);

// What a save's check inside its write transaction decided.
enum class FinCheck {
  kWrite,    // the statements it gave are to be written
  kRefuse,   // nothing is written; the caller tells the operator why, once FinWriteChecked has returned
  kFailed,   // a read failed: nothing is written; its box (FinExec, FinReportFailure) shows once the transaction ended
};

// A save whose rows depend on what the file holds at the moment they are written (a free id, a savings balance, what
// a fee still owes): in one write transaction (BEGIN IMMEDIATE, so no other desk writes in between), `check` reads
// what the rows depend on and puts the statements to write into its argument (empty when called); with kWrite they run
// in order and the transaction commits. kRefuse gives Taken, kFailed and any failing statement or commit give Failed,
// nothing written. A failing statement is reported ("SQL error: " + SQLite's message, caption "Info") once the
// transaction has ended. With Written, `lastRowId` (when given) holds the rowid of the last row inserted.
FinInsertResult FinWriteChecked(const std::function<FinCheck(std::vector<std::string>& statements)>& check,
                                long long* lastRowId = nullptr);
// A check of FinWriteChecked: kWrite when `countSql` (a "Select Count(*) ...") counts no row, kRefuse when it counts
// some, kFailed when it fails (its box shows once the transaction has ended).
FinCheck FinCheckNone(const std::string& countSql);
