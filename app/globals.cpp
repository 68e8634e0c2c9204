#include "app/globals.h"

sqlite3* gDb = nullptr;
std::string gDbPath;
std::string gConnField2;
std::string gConnField3;
std::string gTapel;
std::string gToday;
int gReportMonth = 0;
std::string gAkses;
Hwnd gMainWindow = 0;
Hwnd gMdiClient = 0;
Hwnd gStatusBar = 0;
Hwnd gForm1Window = 0;
std::string gSchoolName, gSchoolAddress, gSchoolPhone, gSchoolEmail;
int gStrukTopMargin = 0, gStrukLineSpacing = 0, gStrukDefaultType = 0;
std::string gStrukFont;
int gPrepaid = 0;
int gEditMode = 0;
std::string gFormMode;
std::vector<std::string> gMonthNames;
std::string gRichEditClass;
int gPrinterKind = 0;
std::string gPhotoPath;
std::string gPickClass;
std::intptr_t gSmallImageList = 0;
std::intptr_t gHInstance = 0;
