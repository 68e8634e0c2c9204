// Shared state of the savings windows that other windows read. Defined once in savings_globals.cpp.
#pragma once
#include "framework/win.h"

// The savings teller window "TRANSAKSI TABUNGAN" while it exists, else 0, and its student code edit: the teller's
// student picker writes the chosen id into the edit and then runs the teller's student lookup.
extern Hwnd gFormTabunganWindow;
extern Hwnd gFormTabunganIdEdit;
// The teller's student lookup FORMTABUNGAN_LookupStudent (called as (0, gFormTabunganWindow, gFormTabunganIdEdit,
// 0); it takes the code from gFormTabunganIdEdit). The teller sets it; while it is nullptr the picker only writes
// the id.
extern LResult (*gFormTabunganLookupStudentHook)(int index, Hwnd form, Hwnd control, int id);
