// What a student still owes on the fees of one school year, as the arrears window lists it: the rule, the
// statements that compute it in the database and the same rule in plain code, plus the small decisions of the
// window around it (its school years, the posting account of an inserted item).
//
// The rule, per fee of the student's class in the chosen school year that has a billing row for the student:
//   due   = postpaid (gPrepaid < 1) and a monthly fee (Type exactly 'Perbulan'): the sum of its months from July up
//           to the current month when the chosen year is the one running by the clock, all twelve months for any
//           other school year;
//           a yearly fee (any other type), or any fee in prepaid mode: the yearly billed amount jml_pembayaran;
//   paid  = the sum of transaksi.Masuk of the student on that fee (AcctId = the fee id), of every kind and date;
//           discount rows (AcctId 'Disc') and savings rows (AcctId 'Tabungan') name no fee and do not count, and a
//           revised row counts with its revised amount;
//   owed  = due - paid; when nothing was paid on the fee, or no yearly amount is stored, owed = due.
// Settled fees (0) and overpaid ones (negative) are listed too.
#pragma once
#include <array>
#include <optional>
#include <string>
#include <vector>

// ----- months due ------------------------------------------------------------------------------------------------
// How many months of a monthly fee are due, counted from July (1 = July only, 12 = the whole year), in the school
// year `chosenYear` ("2024/2025") on a day of `todayYear`-`todayMonth`: when its first four characters are today's
// year and the month is July or later, the months from July up to it; when its last four characters are today's
// year and the month is June or earlier, the months from July up to it across the turn of the year; else 12.
int FinArrearsMonthsDue(const std::string& chosenYear, int todayYear, int todayMonth);
// The same for the clock's today (platform::Today()).
int FinArrearsMonthsDueToday(const std::string& chosenYear);

// The month-sum expression of `months` months (1..12, clamped): "detail_account.juli",
// "detail_account.juli+detail_account.agustus", ... up to all twelve month columns.
std::string FinArrearsMonthSumSql(int months);

// ----- statements --------------------------------------------------------------------------------------------------
// The student's class in a school year (the last row counts).
std::string FinArrearsClassSql(const std::string& student, const std::string& chosenYear);
// The income accounts of `tapel` that take bookings (code not ending in "0"): Kode, Deskripsi.
std::string FinArrearsRekeningSql(const std::string& tapel);
// The arrears of the student of class `kelas` in `chosenYear`, fee ids descending, six columns: fee id, name text
// (with " Kls:" class " " year when `chosenYear` is not `tapel`), owed, Type, RefRekening, jml_pembayaran.
// `prepaid` is gPrepaid (1 or more: prepaid); `monthsDue` as FinArrearsMonthsDue. Every value is quoted.
std::string FinArrearsSql(const std::string& student, const std::string& kelas, const std::string& chosenYear,
                          const std::string& tapel, int prepaid, int monthsDue);

// ----- the rule in plain code ---------------------------------------------------------------------------------------
// One billing row (detail_account) with its fee's type; a missing value (NULL) is std::nullopt.
struct FinArrearsBilling {
  std::string type;                                   // account.Type
  std::optional<long long> yearly;                    // jml_pembayaran
  std::array<std::optional<long long>, 12> months{};  // juli .. juni
};
// What is due on the billing row (std::nullopt when a month that is due, or the yearly amount, is missing).
std::optional<long long> FinArrearsDue(const FinArrearsBilling& billing, int monthsDue, int prepaid);
// What is still owed, given the paid sum (std::nullopt: no payment row at all).
std::optional<long long> FinArrearsOwed(const FinArrearsBilling& billing, std::optional<long long> paid, int monthsDue,
                                        int prepaid);

// ----- one fee as the file holds it now ------------------------------------------------------------------------------
// What a save reads of one fee of one student inside its write transaction, to take no more than the fee still owes:
// the fee's type and school year, the student's billing row of it and what the student has paid on it.
struct FinFeeStanding {
  bool billed = false;                    // the student has a billing row of the fee
  std::string tapel;                      // the fee's school year (account.Tapel; empty without a fee row)
  FinArrearsBilling billing;              // its type and the billing row's amounts
  std::string yearlyText;                 // jml_pembayaran as stored (NULL as the empty text)
  std::array<std::string, 12> monthTexts; // the month amounts as stored (juli .. juni; NULL as the empty text)
  std::optional<long long> paid;          // the sum of Masuk on the fee (std::nullopt: no payment row at all)
};
// One row: Type and Tapel of the fee, whether a billing row is there, jml_pembayaran, juli .. juni, the paid sum.
std::string FinFeeStandingSql(const std::string& student, const std::string& fee);
// Reads it into `out`; a failed read is reported as FinExec reports it (inside a save's transaction its box waits for
// the transaction's end) and gives false, `out` untouched.
bool FinReadFeeStanding(const std::string& student, const std::string& fee, FinFeeStanding* out);
// What the fee still owes, as the arrears window lists it: FinArrearsOwed with the months due today in the fee's
// school year; a student without a billing row owes 0 less what was paid; an amount the rule leaves unknown (a month
// that is due has no amount) counts as 0 owed, as the arrears window's empty amount does.
long long FinFeeStandingOwed(const FinFeeStanding& standing, int prepaid);

// ----- the window's decisions ---------------------------------------------------------------------------------------
// The six school years of the combo: `tapel` itself, then the five before it, each "Y-1/Y" with four-digit years
// counted from the first year of `tapel`.
std::vector<std::string> FinArrearsSchoolYears(const std::string& tapel);
// True when `chosenYear` begins before `tapel` (an earlier school year: its fees are booked to a chosen account).
bool FinArrearsIsEarlierYear(const std::string& tapel, const std::string& chosenYear);
// The ledger code an inserted item is booked to: the fee's own code for the working year (or a later one); for an
// earlier year the posting-account combo's text up to its first blank (empty when it holds none).
std::string FinArrearsInsertRef(const std::string& tapel, const std::string& chosenYear, const std::string& feeRef,
                                const std::string& rekeningText);
// The name text of a fee in the list: its name, and for another year than `tapel` " Kls:" + class + " " + year.
std::string FinArrearsNameText(const std::string& name, const std::string& kelas, const std::string& feeYear,
                               const std::string& chosenYear, const std::string& tapel);
