// The rules every writer of fees and billing rows keeps: fee identifiers and their one sequence, amounts as whole
// rupiah, the billing values of a monthly or yearly fee, and the statements the fee windows share. Free of widgets.
#pragma once
#include <array>
#include <functional>
#include <set>
#include <string>

// ----- amounts --------------------------------------------------------------------------------------------------
// The amount a text stands for: its leading number (Val), rounded half to even to whole rupiah; 0 for an empty or
// non-numeric text. Every amount the fee windows write goes through it, so no amount is ever written empty.
long long FinFeeAmount(const std::string& text);

// What one student is billed on a fee: the total of the school year and the amount of each month (Juli .. Juni).
// A 'Pertahun' fee (exact text) bills its amount as the total and 0 in every month; any other type is monthly and
// bills the amount in each month and 12 x the amount as the total.
struct FinBilling {
  long long total = 0;
  std::array<long long, 12> months{};
};
FinBilling FinFeeBilling(const std::string& type, long long amount);

// The twelve month columns of detail_account in school-year order.
extern const std::array<const char*, 12> kFinMonthColumns;

// ----- identifiers ----------------------------------------------------------------------------------------------
// The last four characters of "0000" followed by n: 7 -> "0007", 10000 -> "0000".
std::string FinFeeSuffix(long long n);
// The class with every blank removed ("TK A" -> "TKA").
std::string FinFeeClassKey(const std::string& kelas);
// "BR-" + class key + first four characters of the school year ("BR-TKA2023"): what every fee id of the class and
// year begins with.
std::string FinFeeIdPrefix(const std::string& kelas, const std::string& tapel);
// The prefix followed by the suffix of n ("BR-TKA20230007").
std::string FinFeeId(const std::string& kelas, const std::string& tapel, long long n);
// What the year copy's identifiers of a class and amount begin with: "BR-" + class key + amount + first year
// ("BR-VIIA1500002024").
std::string FinYearCopyFeeIdPrefix(const std::string& kelas, const std::string& jumlah, const std::string& tapel);
// The year copy's identifier: that prefix followed by the suffix of the run counter ("BR-VIIA15000020240003").
std::string FinYearCopyFeeId(const std::string& kelas, const std::string& jumlah, const std::string& tapel,
                             long long counter);
// The posting account the year copy gives its fees: "AM-" + first year + second year ("AM-20242025").
std::string FinYearCopyRefRekening(const std::string& tapel);

// The next number of the one sequence over every fee of every class and year: the highest last-four-characters
// (compared as text) read as a number, plus 1; 1 when the table has no fee. `failed` (when given) tells whether the
// statement failed (its "SQL error: " box shown; the number is then 1).
long long FinNextFeeNumber(bool* failed = nullptr);
extern const char* const kFinNextFeeNumberSql;

// Whether any fee (account), billing row (detail_account) or money row (transaksi) still names `id`: an id that comes
// back would bring the old billing rows and payments with it. A failing count shows its box (`errorPrefix` + SQLite's
// message, caption "Info") and counts as named, with `failed` (when given) set.
bool FinFeeIdNamed(const std::string& id, const std::string& errorPrefix = "SQL error: ", bool* failed = nullptr);
// The ids beginning with `prefix` that any fee, billing row or money row names (as FinFeeIdNamed), read in one
// statement into `ids` (emptied first). A failing read shows its box (`errorPrefix` + SQLite's message, caption
// "Info") and returns false.
bool FinFeeIdsNamedUnder(const std::string& prefix, std::set<std::string>& ids,
                         const std::string& errorPrefix = "SQL error: ");
// The statement FinFeeIdsNamedUnder runs: each id once (in no particular order).
std::string FinFeeIdsNamedUnderSql(const std::string& prefix);
// How many numbers a search for a free fee id tries: one for each four-digit suffix.
constexpr long long kFinFeeNumbers = 10000;
// The first number from `n` on whose id (`idOf(number)`) is not in `named` (ids read by FinFeeIdsNamedUnder under a
// prefix every id of `idOf` begins with), trying at most kFinFeeNumbers numbers; 0 when every one tried is named.
long long FinFreeFeeNumber(const std::set<std::string>& named, const std::function<std::string(long long)>& idOf,
                           long long n);

// The code of a posting-account item (Kode + " " + Deskripsi): the text before the first blank; empty when the
// text has no blank.
std::string FinCodeOfItem(const std::string& item);

// ----- statements -----------------------------------------------------------------------------------------------
// The fee list of one class in a school year, with the count of billing rows of each fee (columns Id, Pembayaran,
// Jumlah, Kelas, Type, RefRekening, N). Values are quoted.
std::string FinFeeListSql(const std::string& kelas, const std::string& tapel);
// The classes of a school year fees are kept for: no 'DO', no class containing "Lulus".
std::string FinFeeClassesSql(const std::string& tapel);
// The income ledger accounts of a school year (Kode, Deskripsi).
std::string FinPostingAccountsSql(const std::string& tapel);
// One billing row of a fee for a student, every month column written.
std::string FinBillingInsertSql(const std::string& idAccount, const std::string& idSiswa, const FinBilling& b);
// Every billing row of a fee rewritten with the same values.
std::string FinBillingUpdateAllSql(const std::string& idAccount, const FinBilling& b);
