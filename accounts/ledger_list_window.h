// FORM5 "Data Rekening Keuangan": the maximised MDI child in which the operator keeps the ledger accounts (rekening)
// of the working school year gTapel: add and edit through the entry window FORMREK, delete, export to a workbook and
// to an HTML page, import of pasted rows, copy of the accounts of an earlier school year, refresh. Made of the code
// list window (accounts/code_list_window.h), as the allowance list window FORM4 is.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "framework/win.h"

// The newest ledger list window and its list view (columns KODE, DESKRIPSI, GRUP); 0 / a gone handle when none.
// The entry window reads the row at the list's selection mark and refills the list after each save.
extern Hwnd gForm5Window;
extern Hwnd gForm5List;
extern Hwnd gForm5Rebar, gForm5Toolbar;
extern int gForm5Id;   // its MDI child id
// Control ids, and the toolbar's command ids in button order.
extern int gForm5RebarId, gForm5ToolbarId, gForm5ListId;
extern int gForm5AddId, gForm5EditId, gForm5DeleteId, gForm5ExcelId, gForm5PageId, gForm5ImportId, gForm5CopyId,
    gForm5RefreshId;

// Creates the MDI child "Data Rekening Keuangan" (1020 x 562) under `parent` (gMdiClient), maximised, modeless;
// returns the window (0 when it could not be made). The main window calls it with (gMdiClient, 1, 0).
std::intptr_t FORM5_Show(Hwnd parent, int modal, int userData);
LResult FORM5_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORM5_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORM5_CreateControls(Hwnd form);
// Fills the window's list with the accounts of gTapel ordered by Kode (columns made from the first row); returns 0.
int FORM5_LoadList(Hwnd form);
// Runs a toolbar command of the window; returns 0.
int FORM5_OnCommand(Hwnd form, int id);

// Copies into gTapel each account of `sourceYear` whose Kode does not stand in gTapel yet, in one transaction: all
// rows or none. A failing statement shows its box ("SQL error: ", the read of the working year's codes "SQL error0: ",
// caption "Info") and undoes the copy. True when the copy was written (also when nothing was to copy); `copied` gets
// the rows inserted.
bool FORM5_CopyFromYear(const std::string& sourceYear, int* copied = nullptr);
