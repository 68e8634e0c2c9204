// FORM4 "Data Tunjangan Guru": the maximised MDI child that lists the teacher allowance items (mastergaji) of the
// working school year gTapel, with delete, export to a workbook and to an HTML page, import, copy of the items of an
// earlier school year and refresh. Made of the code list window (accounts/code_list_window.h), as the ledger list
// window FORM5 is. No command of the main window opens it.
#pragma once
#include <cstdint>
#include <string>

#include "framework/win.h"

// The newest allowance list window and its list view (columns KODE, URAIAN, KRITERIA).
extern Hwnd gForm4Window;
extern Hwnd gForm4List;
extern Hwnd gForm4Rebar, gForm4Toolbar;
extern int gForm4Id;   // its MDI child id
// Control ids, and the toolbar's command ids in button order.
extern int gForm4RebarId, gForm4ToolbarId, gForm4ListId;
extern int gForm4AddId, gForm4EditId, gForm4DeleteId, gForm4ExcelId, gForm4PageId, gForm4ImportId, gForm4CopyId,
    gForm4RefreshId;

// Creates the MDI child "Data Tunjangan Guru" (1017 x 561) under `parent`, maximised, modeless; returns the window.
std::intptr_t FORM4_Show(Hwnd parent, int modal, int userData);
LResult FORM4_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORM4_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORM4_CreateControls(Hwnd form);
// Fills the window's list with the items of gTapel ordered by Kode; returns 0.
int FORM4_LoadList(Hwnd form);
// Runs a toolbar command of the window (add and edit carry no action); returns 0.
int FORM4_OnCommand(Hwnd form, int id);

// Copies into gTapel each item of `sourceYear` whose Kode does not stand in gTapel yet, in one transaction: all rows
// or none. A failing statement shows its box ("SQL error: ", the read of the working year's codes "SQL error0: ",
// caption "Info") and undoes the copy. True when the copy was written (also when nothing was to copy); `copied` gets
// the rows inserted.
bool FORM4_CopyFromYear(const std::string& sourceYear, int* copied = nullptr);
