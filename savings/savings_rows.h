// Writing a savings or journal row whose id must be new. The teller's ids are the student number and the clock's
// second, the journal's a prefix and the clock's second: two saves in one second would make the same id, and one
// delete by that id would take both rows. Such a save is refused instead.
#pragma once
#include <string>

enum class SavingsNewRowResult {
  Written,   // the row is in the file: the commit succeeded
  IdTaken,   // a row of transaksi is named `id` already: nothing written, nothing shown (the caller refuses)
  Failed,    // a statement or the commit failed: reported ("SQL error: " + SQLite's message, caption "Info")
};

// "Select Count(*) From transaksi Where Id='" + id + "'", the id quoted.
std::string SavingsIdCountSql(const std::string& id);

// In one transaction: counts the transaksi rows named `id` and, when there are none, runs `insertSql`; then commits.
// A failing statement is reported once the transaction has ended (no box while the file is locked for writing). With
// Written, `rowId` (when given) holds the new row's rowid.
SavingsNewRowResult SavingsInsertNewRow(const std::string& id, const std::string& insertSql,
                                        long long* rowId = nullptr);
