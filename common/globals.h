// Shared state of the query callbacks and output routines. Defined once in globals.cpp.
#pragma once
#include <string>

#include "framework/win.h"

extern std::string gSql;            // the statement most routines build and run
extern std::string gSqlErrMsg;      // SQLite's text of the last failed statement
extern std::string gSqlResult;      // text left by the single-value, row-append and list-fill callbacks
extern long long gCountResult;      // value of the last count statement
extern int gRowCount;               // rows appended by the row-append callback
extern int gListRowCount;           // rows added by the list-fill callback
extern Hwnd gTargetListView;        // the list view the list-fill callback fills
