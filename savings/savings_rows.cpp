#include "savings/savings_rows.h"

#include "common/sql.h"

std::string SavingsIdCountSql(const std::string& id) {
  return "Select Count(*) From transaksi Where Id='" + SqlQ(id) + "'";
}
