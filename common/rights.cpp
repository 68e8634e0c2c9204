#include "common/rights.h"

#include "common/session.h"
#include "framework/controls.h"
#include "framework/system_wrappers.h"

std::string gAkses;

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
