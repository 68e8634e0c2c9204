// The statements on stored payments that the payment list and the revision window share: the date range of a report
// month and the money of one receipt.
#pragma once
#include <string>

// The calendar year of report month `reportMonth` (1..12) of the school year `tapel` ("2024/2025"): its last four
// characters for months 1 to 6, its first four for 7 to 12; and the month as two digits ("03", "11").
std::string FORM13_ReportYear(const std::string& tapel, int reportMonth);
std::string FORM13_ReportMonthText(int reportMonth);

// "Tgl between '<year>-<mm>-01' and date('<year>-<mm>-01','start of month','+1 month','-1 day')".
std::string FORM13_MonthRangeSql(const std::string& tapel, int reportMonth);

// The rows of one receipt: the rows whose ids begin with `stamp` (22 characters) and that name the student `siswaId`
// (a class run shares one stamp among its students: each student's rows are that student's receipt).
std::string FORM13_ReceiptWhere(const std::string& stamp, const std::string& siswaId);

// The money of one receipt (the rows of `stamp` and `siswaId`).
struct Form13ReceiptMoney {
  long long items = 0;          // how many item rows it has (its discount and savings withdrawal are no items)
  long long itemsTotal = 0;     // their sum
  long long discount = 0;       // the size of its discount (0 without a discount row)
  long long discountRows = 0;   // how many discount rows it has
  long long savingsUsed = 0;    // what its savings withdrawal took (0 without one)
  long long savingsRows = 0;    // how many savings withdrawal rows it has
};

// One row of: the count of its items, their sum, its discount (the stored negative sum), the count of its discount
// rows, its savings used, the count of its savings rows. With `exceptId`, the payment row (Sts 'p') of that id and of
// the fee `exceptAcctId` is left out: the receipt as the delete of that row would leave it.
std::string FORM13_ReceiptMoneySql(const std::string& stamp, const std::string& siswaId,
                                   const std::string& exceptId = std::string(),
                                   const std::string& exceptAcctId = std::string());

// Reads it into `out`; a failing read shows its "SQL error: " box and gives false (`out` untouched).
bool FORM13_ReadReceiptMoney(const std::string& stamp, const std::string& siswaId, Form13ReceiptMoney* out,
                             const std::string& exceptId = std::string(),
                             const std::string& exceptAcctId = std::string());
// The same without a box, for a read inside a transaction that reports its failure once the transaction has ended:
// SQLite's code (gSqlErrMsg holds its message on failure).
int FORM13_ReadReceiptMoneyQuiet(const std::string& stamp, const std::string& siswaId, Form13ReceiptMoney* out);

// An amount as the questions and refusals about a receipt name it: "Rp." and "." between thousands ("Rp.60.000").
std::string FORM13_Rupiah(long long amount);

// The rules every receipt keeps, after a save and after every correction (delete, revision): its discount is never
// above its items, and what it took from the savings never above its net (items - discount). Which one a receipt
// breaks, the discount first.
enum class Form13ReceiptBreach { kNone, kDiscountAboveItems, kSavingsAboveNet };
Form13ReceiptBreach FORM13_ReceiptBreach(const Form13ReceiptMoney& money);
