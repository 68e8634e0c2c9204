#include "app/access.h"

#include <sqlite3.h>

#include <charconv>

#include "app/globals.h"
#include "common/globals.h"
#include "common/query_callbacks.h"
#include "common/sql.h"
#include "framework/controls.h"
#include "framework/numbers.h"
#include "framework/system_wrappers.h"

std::string AppLoginWelcomeText(const std::string& user) {
  return "Selamat datang di Kelvora, " + user + " diperkenankan menjalankan aplikasi ini..";
}

bool AppLoginCheck(const std::string& user, const std::string& password) {
  gSqlResult.clear();
  FinExec("Select Akses From UserAdmin WHERE User='" + SqlQ(user) + "' And Password='" + SqlQ(password) + "'",
          FinCbSingleValue);
  if (gSqlResult.empty()) return false;
  gAkses = user == kSuperUser ? kFullAccess : gSqlResult;
  return true;
}

int AppCountMissingRequiredData() {
  const std::string statements[] = {
      "Select Count(*) From siswa",
      "Select Count(*) From rekening WHERE tapel='" + SqlQ(gTapel) + "'",
      "Select Count(*) From account WHERE tapel='" + SqlQ(gTapel) + "'",
  };
  int missing = 0;
  for (const std::string& sql : statements) {
    gSqlResult.clear();   // a failed statement must not reuse the count of the one before
    const int rc = FinExec(sql, FinCbSingleValue);
    if (rc != SQLITE_OK || Val(gSqlResult) < 1) ++missing;
  }
  gCountResult = missing;
  return missing;
}
