#include "common/savings_balance.h"

#include "common/sql.h"

std::string FinSavingsShortCountSql(const std::string& studentId, long long amount) {
  return "Select ifnull(Sum(Masuk-Keluar),0) < " + std::to_string(amount) +
         " From transaksi Where AcctID='Tabungan' and SiswaID='" + SqlQ(studentId) + "'";
}
