#include "app/globals.h"

std::string gConnField2;
std::string gConnField3;
Hwnd gMainWindow = 0;
Hwnd gForm1Window = 0;
std::string gRichEditClass;
std::intptr_t gHInstance = 0;
