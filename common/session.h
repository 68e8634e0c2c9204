// The run's shared state that every subsystem reads: the open connection, the working school year, today, the report
// month and the month names, the main window's MDI client and status bar, the printer kind and the small-icon image
// list. The shell sets them at start-up and after login; defined once in session.cpp.
#pragma once
#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/win.h"

extern sqlite3* gDb;                  // the one open connection
extern std::string gDbPath;           // the file it is open on (conn.txt field 1)
extern std::string gTapel;            // working school year "YYYY/YYYY"
extern std::string gToday;            // "yyyy-mm-dd", set once after login
extern int gReportMonth;              // 1..12
extern Hwnd gMdiClient;               // the main window's MDI client
extern Hwnd gStatusBar;               // the main window's status bar; part 1 holds the operator's name
extern std::vector<std::string> gMonthNames;  // month names in school-year order: 1 "Juli" .. 12 "Juni" (index 0 unused)
extern int gPrinterKind;
extern std::intptr_t gSmallImageList; // small-icon image list made at start-up; the student pickers fill it
