#include "framework/globals.h"

int gFormResult = 0;
Hwnd gActiveForm = 0;
