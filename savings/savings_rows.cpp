#include "savings/savings_rows.h"

#include <sqlite3.h>

#include "app/globals.h"
#include "common/globals.h"
#include "common/query_callbacks.h"
#include "common/sql.h"
#include "framework/system_wrappers.h"

std::string SavingsIdCountSql(const std::string& id) {
  return "Select Count(*) From transaksi Where Id='" + SqlQ(id) + "'";
}

SavingsNewRowResult SavingsInsertNewRow(const std::string& id, const std::string& insertSql, long long* rowId) {
  bool failed = false;
  bool taken = false;
  std::string error;
  long long newRow = 0;
  {
    FinTransaction tx;
    if (!tx.active()) return SavingsNewRowResult::Failed;   // the helper has reported it
    gCountResult = 0;
    if (FinExecQuiet(SavingsIdCountSql(id), FinCbCount) != SQLITE_OK) {
      failed = true;
    } else if (gCountResult != 0) {
      taken = true;
    } else if (FinExecQuiet(insertSql) != SQLITE_OK) {
      failed = true;
    } else {
      newRow = sqlite3_last_insert_rowid(gDb);
      if (!tx.commit()) return SavingsNewRowResult::Failed;   // reported by the helper, rolled back
    }
    if (failed) error = gSqlErrMsg;
  }   // anything not committed is rolled back here
  if (failed) {
    MsgBox("SQL error: " + error, "Info", MB_OK);
    return SavingsNewRowResult::Failed;
  }
  if (taken) return SavingsNewRowResult::IdTaken;
  if (rowId) *rowId = newRow;
  return SavingsNewRowResult::Written;
}
