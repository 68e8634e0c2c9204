#include "payments/payment_globals.h"

Hwnd gFormBayarPrintChoiceCombo = 0;
Hwnd gFormBayarWindow = 0;
Hwnd gFormBayarIdEdit = 0;
LResult (*gFormBayarLoadStudentHook)(int, Hwnd, Hwnd, int) = nullptr;
