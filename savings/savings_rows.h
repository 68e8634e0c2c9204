// Writing a savings or journal row whose id must be new. The teller's ids are the student number and the clock's
// second, the journal's a prefix and the clock's second: two saves in one second would make the same id, and one
// delete by that id would take both rows. Such a save is refused instead: the row is written through
// FinInsertIfFree (common/sql.h) with this count, and a taken id is refused by the caller in its own words.
#pragma once
#include <string>

// "Select Count(*) From transaksi Where Id='" + id + "'", the id quoted.
std::string SavingsIdCountSql(const std::string& id);
