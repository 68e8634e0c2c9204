// What only the application shell owns: conn.txt's fields 2 and 3 (field 1 is gDbPath, in common/session.h), the
// main frame, the welcome window, the rich edit class and the module handle. The state that every subsystem reads lives
// in common/ (session.h, handover.h, settings.h, rights.h); it is included here for the shell's own files. Defined once
// in globals.cpp.
#pragma once
#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/handover.h"
#include "common/rights.h"
#include "common/session.h"
#include "common/settings.h"
#include "framework/win.h"

extern std::string gConnField2;       // conn.txt fields 2 and 3, kept and written back
extern std::string gConnField3;
extern Hwnd gMainWindow;              // the main frame
extern Hwnd gForm1Window;             // the welcome window while it exists
extern std::string gRichEditClass;
extern std::intptr_t gHInstance;      // the program's module handle (stands for the running program)
