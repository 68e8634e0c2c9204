// The confirmation window "Konfirmasi": a small form asking for a decision password ("Password Keputusan "). It is
// built and registered like every form, but nothing opens it and it reads neither its edit nor its button.
#pragma once
#include <cstdint>

#include "framework/win.h"

// The window while it exists, else 0; its controls.
extern Hwnd gForm26Window;
extern Hwnd gForm26PictureButton, gForm26PasswordEdit, gForm26Label;
// Control ids (1000 upwards in design order).
extern int gForm26PictureButtonId, gForm26PasswordEditId, gForm26LabelId;
void FORM26_InitControlIds();

// Creates the window (426 x 105, centred) owned by `parent` and shows it through FrmShow; modal: returns the form
// result once it has closed (the close box leaves the result given here).
std::intptr_t FORM26_Show(Hwnd parent, int modal, int userData);
LResult FORM26_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORM26_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORM26_CreateControls(Hwnd form);
