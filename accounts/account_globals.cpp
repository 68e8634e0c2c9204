#include "accounts/account_globals.h"

Hwnd gForm6KelasCombo = 0;
