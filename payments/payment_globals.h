// Shared state of the student payments windows that other windows read. Defined once in payment_globals.cpp.
#pragma once
#include "framework/win.h"

// The payment window's "Pilihan Cetak" drop-down list of receipt layouts while that window exists, else 0 (every list
// operation on it then does nothing and reports "no window"). The receipt settings window copies its entries and
// sets its selection.
extern Hwnd gFormBayarPrintChoiceCombo;

// The payment window while it exists, else 0, and its student id edit: the payment window's student picker writes the
// chosen id into the edit and then runs the window's student loader.
extern Hwnd gFormBayarWindow;
extern Hwnd gFormBayarIdEdit;
// The payment window's student loader FORMBAYAR_LoadStudent (called as (0, gFormBayarWindow, gFormBayarIdEdit, 0);
// it takes the id from gFormBayarIdEdit). The payment window sets it; while it is nullptr the picker only writes
// the id.
extern LResult (*gFormBayarLoadStudentHook)(int index, Hwnd form, Hwnd control, int id);
