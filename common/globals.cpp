#include "common/globals.h"

std::string gSql;
std::string gSqlErrMsg;
std::string gSqlResult;
long long gCountResult = 0;
int gRowCount = 0;
int gListRowCount = 0;
Hwnd gTargetListView = 0;
