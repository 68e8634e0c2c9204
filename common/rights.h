// The operator's rights: the access string of the operator logged in, the positions of the twelve working windows in
// it, the guard every working window passes and the super user's privileges.
#pragma once
#include <string>

extern std::string gAkses;            // the operator's access string

// The built-in super user and the rights it always gets.
inline constexpr const char* kSuperUser = "ketua";
inline constexpr const char* kFullAccess = "111111111111";

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
