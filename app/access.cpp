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

namespace {

std::string ShortestNumber(double v) {
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, res.ptr);
}

}  // namespace

std::string AppStepSchoolYear(const std::string& yearText, int step) {
  const std::string first = yearText.substr(0, 4);
  const std::string last = yearText.size() > 4 ? yearText.substr(yearText.size() - 4) : yearText;
  return ShortestNumber(Val(first) + step) + "/" + ShortestNumber(Val(last) + step);
}

bool AppHasAccess(const std::string& akses, int position) {
  if (position < 1 || static_cast<std::size_t>(position) > akses.size()) return false;
  return akses[position - 1] == '1';
}

bool AppHasAccess(int position) { return AppHasAccess(gAkses, position); }

std::string AppAccessRefusalText(const std::string& operatorName) {
  return operatorName + " tidak punya akses untuk form ini..";
}

bool AppCheckAccess(int position, const std::string& operatorName) {
  if (AppHasAccess(position)) return true;
  MsgBox(AppAccessRefusalText(operatorName), "Info", MB_OK);
  return false;
}

std::string AppOperatorName() { return SbGetText(gStatusBar, 1); }

bool AppCheckAccess(int position) { return AppCheckAccess(position, AppOperatorName()); }

bool AppIsSuperUser(const std::string& operatorName) { return operatorName == kSuperUser; }

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
