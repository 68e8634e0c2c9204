// Shared state of the form runtime. Defined once in globals.cpp.
#pragma once
#include "framework/win.h"

extern int gFormResult;     // result of the last modal form; FrmShow hands it back and clears it
extern Hwnd gActiveForm;    // the form last activated (0 after its deactivation)
