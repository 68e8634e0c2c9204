// The database connection window "Koneksi Database": switches the running program to another SQLite database file
// and remembers the choice in conn.txt (program folder) for the next start. Every logged-in operator may open it.
#pragma once
#include <cstdint>
#include <string>

#include "framework/win.h"

// The window while it exists, else 0; its controls.
extern Hwnd gForm12Window;
extern Hwnd gForm12SaveButton, gForm12BrowseButton, gForm12SourceLabel, gForm12PathEdit;
// Control ids (1000 upwards in design order).
extern int gForm12SaveButtonId, gForm12BrowseButtonId, gForm12SourceLabelId, gForm12PathEditId;
void FORM12_InitControlIds();

// ----- the switch itself --------------------------------------------------------------------------------------------
// Opens `path` (a "\" separator read as "/") as a new connection (FinOpenDatabase: never a new file) and prepares it
// (FinPrepareFinanceDatabase: a sound Finance database with every table and column of the schema, returned from a
// write-ahead log to the rollback journal, with its indexes). On success the new connection becomes gDb (the previous
// one is closed), the path becomes gDbPath and conn.txt is rewritten in the program folder as path ";" gConnField2
// ";" gConnField3; `remembered` (when given) tells whether it was written (when not, the switch holds for this run
// only). On failure `error` holds SQLite's reason and gDb, gDbPath and conn.txt stay as they were.
bool FORM12_SwitchDatabase(const std::string& path, std::string& error, bool* remembered = nullptr);
// The box of a switch whose conn.txt (`connFile`, its full path) could not be written: "database dikoneksikan hanya
// sampai program ditutup, file <connFile> tidak dapat ditulis sehingga program yang dijalankan berikutnya tidak
// membuka database ini..".
std::string FORM12_NotRememberedText(const std::string& connFile);

// ----- the window -------------------------------------------------------------------------------------------------
// Creates the window (500 x 122, centred) owned by `parent` and shows it through FrmShow; modal: returns the form
// result (0) once it has closed. The main window's "Koneksi Database" calls it with (gMainWindow, 1, 0).
std::intptr_t FORM12_Show(Hwnd parent, int modal, int userData);
LResult FORM12_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORM12_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORM12_CreateControls(Hwnd form);
// Puts gDbPath into the path edit.
LResult FORM12_OnCreate(Hwnd form, std::intptr_t userData);

// Command handlers, called as (control index, form, control, control id); each returns 0.
// "Cari Database": the path edit takes the file chosen in an open-file dialog; a cancel leaves it.
LResult FORM12_BrowseDatabase(int index, Hwnd form, Hwnd control, int id);
// "Simpan dan Keluar": FORM12_SwitchDatabase on the path edit's text; on success "database berhasil dikoneksikan.."
// (FORM12_NotRememberedText instead when conn.txt could not be written) and the window closes with 0; otherwise
// "Tidak dapat membuka database: " + SQLite's reason and the window stays.
LResult FORM12_SaveConnection(int index, Hwnd form, Hwnd control, int id);
