// The school's identity (sekolah.txt) and the receipt settings (setting_struk.txt) as the run holds them. The shell
// reads both files at start-up; the receipt settings window and the prepaid and postpaid commands change the receipt
// settings. Defined once in settings.cpp.
#pragma once
#include <string>

extern std::string gSchoolName, gSchoolAddress, gSchoolPhone, gSchoolEmail;   // sekolah.txt
extern int gStrukTopMargin, gStrukLineSpacing, gStrukDefaultType;  // setting_struk.txt fields 1-3
extern std::string gStrukFont;        // setting_struk.txt field 4
extern int gPrepaid;                  // setting_struk.txt field 5: 1 prepaid, 0 postpaid
