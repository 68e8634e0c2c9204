// Operators and their rights: the login check against useradmin, the access string of the twelve working windows,
// the super user's privileges, and the required-data check of the main window's start-up.
#pragma once
#include <string>

#include "common/rights.h"
#include "common/school_year.h"

// Box texts of the login window (captioned "Login User..").
inline constexpr const char* kLoginFailedText = "Gagal Login, coba isi Username dan Password dengan benar..";
std::string AppLoginWelcomeText(const std::string& user);

// Looks the operator up: "Select Akses From UserAdmin WHERE User='" + user + "' And Password='" + password + "'",
// both values through the quoting helper, with FinCbSingleValue (gSqlResult emptied first; a failed statement shows
// the "SQL error: " box). Succeeds when a row with a non-empty Akses was found: gAkses becomes that Akses, or twelve
// "1" for the super user "ketua". On failure gAkses is left as it was. gTapel, the status bar and the boxes are the
// login window's business.
bool AppLoginCheck(const std::string& user, const std::string& password);

// The required-data check: counts the students (all school years), the ledger accounts of gTapel and the fees of
// gTapel, each with FinCbSingleValue; each count below 1 (and each count statement that fails, after its "SQL error: "
// box) adds 1. Returns that number (0 to 3) and leaves it in gCountResult; the caller opens the guide when it is
// above 0.
int AppCountMissingRequiredData();
