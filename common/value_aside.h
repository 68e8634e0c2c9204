// A single value read aside: a statement that sums much of the file (an opening balance over every year) runs on a
// connection of its own to the file of gDb, in a thread of its own, while the window goes on with its other
// statements on gDb; value() waits for it.
//
//   FinValueAside cash(FinReportCashSql(p));        // starts at once
//   ... other statements on gDb ...
//   AddLine("", "Jumlah Saldo Kas", "", cash.value());
//
// The value is what FinExec(sql, FinCbSingleValue) leaves in gSqlResult: column 0 of the last row as SQLite gives it
// as text, "" for NULL and when no row comes; value() leaves it in gSqlResult too. Where the statement cannot run
// aside (a database in memory, a transaction open on gDb, a connection or statement that fails there), it runs on gDb
// when value() is called, through FinExec, which shows the box of a failure as it always does; "" then.
#pragma once
#include <memory>
#include <string>

class FinValueAside {
 public:
  explicit FinValueAside(std::string sql);
  ~FinValueAside();   // waits for the thread
  FinValueAside(const FinValueAside&) = delete;
  FinValueAside& operator=(const FinValueAside&) = delete;

  const std::string& value();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// For measuring (the benchmark records the statements an operation runs): `observer` is called on the caller's
// thread with every statement read aside. nullptr (the default): none.
void FinSetValueAsideObserver(void (*observer)(const std::string& sql));
