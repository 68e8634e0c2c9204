// Operators and their rights: the login check against useradmin, the access string of the twelve working windows,
// the super user's privileges, and the required-data check of the main window's start-up.
#pragma once
#include <string>

// The built-in super user and the rights it always gets.
inline constexpr const char* kSuperUser = "ketua";
inline constexpr const char* kFullAccess = "111111111111";

// Box texts of the login window (captioned "Login User..").
inline constexpr const char* kLoginFailedText = "Gagal Login, coba isi Username dan Password dengan benar..";
std::string AppLoginWelcomeText(const std::string& user);

// Looks the operator up: "Select Akses From UserAdmin WHERE User='" + user + "' And Password='" + password + "'",
// both values through the quoting helper, with FinCbSingleValue (gSqlResult emptied first; a failed statement shows
// the "SQL error: " box). Succeeds when a row with a non-empty Akses was found: gAkses becomes that Akses, or twelve
// "1" for the super user "ketua". On failure gAkses is left as it was. gTapel, the status bar and the boxes are the
// login window's business.
bool AppLoginCheck(const std::string& user, const std::string& password);

// The login window's "+" and "-": both years of "YYYY/YYYY" stepped by `step` (VAL of the first and of the last four
// characters, written in their shortest decimal form): "2023/2024" +1 -> "2024/2025"; "" +1 -> "1/1".
std::string AppStepSchoolYear(const std::string& yearText, int step);

// The access positions (characters of the access string, 1-based) of the twelve working windows.
inline constexpr int kAccessStudents = 1, kAccessLedger = 2, kAccessFees = 3, kAccessPayments = 4,
                     kAccessClassPayments = 5, kAccessSavings = 6, kAccessCashJournal = 7, kAccessBankJournal = 8,
                     kAccessFinancialReport = 9, kAccessPaymentReport = 10, kAccessArrearsReport = 11,
                     kAccessSavingsReport = 12;

// True when character `position` (1-based) of `akses` is "1"; any other character, and a position beyond the end
// (or below 1), refuses.
bool AppHasAccess(const std::string& akses, int position);
bool AppHasAccess(int position);   // of gAkses

// operatorName + " tidak punya akses untuk form ini.."
std::string AppAccessRefusalText(const std::string& operatorName);

// The guard of a working window: true when gAkses grants `position`; otherwise the refusal box (caption "Info") with
// `operatorName` and false.
bool AppCheckAccess(int position, const std::string& operatorName);
// The same with the operator of the main window's status bar (part 1).
bool AppCheckAccess(int position);

// The name of the operator logged in: part 1 of gStatusBar.
std::string AppOperatorName();

// Operator management and data reset belong to the super user alone.
bool AppIsSuperUser(const std::string& operatorName);

// The required-data check: counts the students (all school years), the ledger accounts of gTapel and the fees of
// gTapel, each with FinCbSingleValue; each count below 1 (and each count statement that fails, after its "SQL error: "
// box) adds 1. Returns that number (0 to 3) and leaves it in gCountResult; the caller opens the guide when it is
// above 0.
int AppCountMissingRequiredData();
