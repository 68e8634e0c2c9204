// Shared state of the application shell: configuration, the open database, the working school year, the operator
// and the main window. Defined once in globals.cpp.
#pragma once
#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/win.h"

extern sqlite3* gDb;                  // the one open connection
extern std::string gDbPath;           // conn.txt field 1
extern std::string gConnField2;       // conn.txt fields 2 and 3, kept and written back
extern std::string gConnField3;
extern std::string gTapel;            // working school year "YYYY/YYYY"
extern std::string gToday;            // "yyyy-mm-dd", set once after login
extern int gReportMonth;              // 1..12
extern std::string gAkses;            // the operator's access string
extern Hwnd gMainWindow;              // the main frame
extern Hwnd gMdiClient;               // its MDI client
extern Hwnd gStatusBar;               // its status bar; part 1 holds the operator's name
extern Hwnd gForm1Window;             // the welcome window while it exists
extern std::string gSchoolName, gSchoolAddress, gSchoolPhone, gSchoolEmail;   // sekolah.txt
extern int gStrukTopMargin, gStrukLineSpacing, gStrukDefaultType;  // setting_struk.txt fields 1-3
extern std::string gStrukFont;        // setting_struk.txt field 4
extern int gPrepaid;                  // setting_struk.txt field 5: 1 prepaid, 0 postpaid
extern int gEditMode;                 // 0 add, 1 edit
extern std::string gFormMode;         // mode text handed to the next window
extern std::vector<std::string> gMonthNames;  // month names in school-year order: 1 "Juli" .. 12 "Juni" (index 0 unused)
extern std::string gRichEditClass;
extern int gPrinterKind;
extern std::string gPhotoPath;        // bitmap last chosen with a photo dialog
extern std::string gPickClass;        // class chosen in a student picker
extern std::intptr_t gSmallImageList; // small-icon image list made at start-up; the student pickers fill it
extern std::intptr_t gHInstance;      // the program's module handle (stands for the running program)
