// The password change "Ubah Password": the operator who is logged in (part 1 of the main status bar) sets a new
// password for the own account. Neither the old password nor a repetition is asked; the new one counts from the next
// login.
#pragma once
#include <cstdint>
#include <string>

#include "framework/win.h"

// The window while it exists, else 0; its controls.
extern Hwnd gPasswordWindow;
extern Hwnd gPasswordLabel, gPasswordEdit, gPasswordSaveButton;
// Control ids (1000 upwards in design order).
extern int gPasswordLabelId, gPasswordEditId, gPasswordSaveButtonId;
void PASSWORD_InitControlIds();

// The statement that sets `password` for the operator `user`, both quoted: the password is stored exactly as typed
// and only the rows of that operator change.
std::string PASSWORD_UpdateSql(const std::string& password, const std::string& user);

// Creates the window (500 x 106, centred) and shows it through FrmShow; modal: returns the form result once it has
// closed. The main window calls it with (gMdiClient, 1, 0).
std::intptr_t PASSWORD_Show(Hwnd parent, int modal, int userData);
LResult PASSWORD_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult PASSWORD_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void PASSWORD_CreateControls(Hwnd form);
// "Simpan": a non-empty password is written for the operator of status part 1 ("SQL error: " box on a failure);
// the window closes with 0 in every case. Returns 0.
LResult PASSWORD_Save(Hwnd form);
