// Shared state of the ledger and payment accounts windows. Defined once in account_globals.cpp.
#pragma once
#include "framework/win.h"

// The fee list window's class combo (the classes of gTapel); 0 while that window does not exist. The import of fees
// reads its text as the class of the fees it pastes and saves; the text of a window that does not exist is empty.
extern Hwnd gForm6KelasCombo;
