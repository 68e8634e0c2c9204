#include "payments/payment_queries.h"

#include <sqlite3.h>

#include "common/numbers_words.h"
#include "common/query_callbacks.h"
#include "common/sql.h"
#include "framework/numbers.h"

namespace {

Form13ReceiptMoney* gMoneyRead = nullptr;   // where FORM13_ReadReceiptMoney's statement puts its row

int OnReceiptMoney(void*, int columnCount, char** values, char**) {
  const auto number = [&](int i) { return RoundHalfEven(Val(FinCell(values, columnCount, i))); };
  *gMoneyRead = {number(0), number(1), -number(2), number(3), number(4), number(5)};
  return 0;
}

int ReadMoney(const std::string& sql, Form13ReceiptMoney* out, int (*run)(const std::string&, FinRowCallback)) {
  Form13ReceiptMoney money;
  gMoneyRead = &money;
  const int rc = run(sql, OnReceiptMoney);
  gMoneyRead = nullptr;
  if (rc == SQLITE_OK) *out = money;
  return rc;
}

int RunWithBox(const std::string& sql, FinRowCallback callback) { return FinExec(sql, callback); }
int RunQuiet(const std::string& sql, FinRowCallback callback) { return FinExecQuiet(sql, callback); }

}  // namespace

std::string FORM13_ReportYear(const std::string& tapel, int reportMonth) {
  if (reportMonth < 7) return tapel.size() >= 4 ? tapel.substr(tapel.size() - 4) : tapel;
  return tapel.substr(0, 4);
}

std::string FORM13_ReportMonthText(int reportMonth) {
  const std::string m = "0" + std::to_string(reportMonth);
  return m.substr(m.size() - 2);
}

std::string FORM13_MonthRangeSql(const std::string& tapel, int reportMonth) {
  const std::string first = SqlQ(FORM13_ReportYear(tapel, reportMonth)) + "-" + FORM13_ReportMonthText(reportMonth) +
                            "-01";
  return "Tgl between '" + first + "' and date('" + first + "','start of month','+1 month','-1 day')";
}

// The rows of one receipt: its stamp (the first 22 characters of the ids) and its student. A class run shares one
// stamp among all its students; each student's rows of it are that student's receipt, and every row of a receipt of
// the payment window names the same student. The rows are taken by their id through the id index; "+SiswaId",
// "+AcctId" and "+Sts" (where the callers add them) keep the student, the fee and the status out of the choice of
// index.
std::string FORM13_ReceiptWhere(const std::string& stamp, const std::string& siswaId) {
  return SqlLeftEquals("Id", 22, stamp) + " and +SiswaId='" + SqlQ(siswaId) + "'";
}

std::string FORM13_ReceiptMoneySql(const std::string& stamp, const std::string& siswaId, const std::string& exceptId,
                                   const std::string& exceptAcctId) {
  std::string where = FORM13_ReceiptWhere(stamp, siswaId);
  if (!exceptId.empty())
    where += " and not (Id='" + SqlQ(exceptId) + "' and Sts is 'p' and AcctId is '" + SqlQ(exceptAcctId) + "')";
  const std::string items = "From transaksi WHERE " + where + " and +Sts='p' and AcctId not in ('Disc','Tabungan')";
  const std::string discount = "From transaksi WHERE " + where + " and +AcctId='Disc'";
  const std::string savings = "From transaksi WHERE " + where + " and +AcctId='Tabungan'";
  return "Select (Select Count(*) " + items + "), (Select sum(Masuk) " + items + "), (Select sum(Masuk) " + discount +
         "), (Select Count(*) " + discount + "), (Select sum(Keluar) " + savings + "), (Select Count(*) " + savings +
         ")";
}

bool FORM13_ReadReceiptMoney(const std::string& stamp, const std::string& siswaId, Form13ReceiptMoney* out,
                             const std::string& exceptId, const std::string& exceptAcctId) {
  return ReadMoney(FORM13_ReceiptMoneySql(stamp, siswaId, exceptId, exceptAcctId), out, RunWithBox) == SQLITE_OK;
}

int FORM13_ReadReceiptMoneyQuiet(const std::string& stamp, const std::string& siswaId, Form13ReceiptMoney* out) {
  return ReadMoney(FORM13_ReceiptMoneySql(stamp, siswaId), out, RunQuiet);
}

std::string FORM13_Rupiah(long long amount) { return "Rp." + FinFormatThousands(std::to_string(amount), "."); }

Form13ReceiptBreach FORM13_ReceiptBreach(const Form13ReceiptMoney& m) {
  if (m.discountRows > 0 && m.discount > m.itemsTotal) return Form13ReceiptBreach::kDiscountAboveItems;
  if (m.savingsRows > 0 && m.savingsUsed > m.itemsTotal - m.discount) return Form13ReceiptBreach::kSavingsAboveNet;
  return Form13ReceiptBreach::kNone;
}
