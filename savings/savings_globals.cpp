#include "savings/savings_globals.h"

Hwnd gFormTabunganWindow = 0;
Hwnd gFormTabunganIdEdit = 0;
LResult (*gFormTabunganLookupStudentHook)(int, Hwnd, Hwnd, int) = nullptr;
