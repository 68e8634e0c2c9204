#include "common/session.h"

sqlite3* gDb = nullptr;
std::string gDbPath;
std::string gTapel;
std::string gToday;
int gReportMonth = 0;
Hwnd gMdiClient = 0;
Hwnd gStatusBar = 0;
std::vector<std::string> gMonthNames;
int gPrinterKind = 0;
std::intptr_t gSmallImageList = 0;
