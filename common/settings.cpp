#include "common/settings.h"

std::string gSchoolName, gSchoolAddress, gSchoolPhone, gSchoolEmail;
int gStrukTopMargin = 0, gStrukLineSpacing = 0, gStrukDefaultType = 0;
std::string gStrukFont;
int gPrepaid = 0;
