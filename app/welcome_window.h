// The welcome window "Welcome": the first document window, a maximised MDI child with a patterned background and
// nothing else. It stays open for the whole run and offers no Close command. gForm1Window (app/globals.h) holds it.
#pragma once
#include <cstdint>

#include "framework/win.h"

extern int gForm1Id;   // its child-window id: 100

// Creates the window as a maximised MDI child of `parent` (the MDI client); an MDI child is shown modeless whatever
// `modal` says, so the window is returned at once (0 when none was made). The main window calls it with
// (gMdiClient, 1, 0).
std::intptr_t FORM1_Show(Hwnd parent, int modal, int userData);
LResult FORM1_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
