// FORM19 "Laporan Tabungan": the MDI child that shows one savings report, a title line above a list. The savings
// report chooser (reports/savings_reports.h) creates a new viewer for every "Cetak" and fills it through the shared
// handles below; the viewer never queries the database. "Print" writes the list as an HTML page headed by the title
// (tablepage), "Xls" sends it to the workbook plug-in (tablesheet).
#pragma once
#include <cstdint>

#include "framework/win.h"

// The list and the title label of the viewer created last (the chooser's builder writes into them); nothing clears
// them when a viewer goes (their handles are safe: a gone window reads as empty).
extern Hwnd gForm19List, gForm19TitleLabel;
// The viewer's window while it exists (the newest one).
extern Hwnd gForm19Window;
extern int gForm19Id;   // its MDI child id (106)
// Control ids in design order.
extern int gForm19PrintId, gForm19XlsId, gForm19TitleId, gForm19ListId;

// Creates the viewer (998 x 559) as a maximised MDI child of `parent` (gMdiClient), modeless, and returns its
// window; 0 when it could not be made.
std::intptr_t FORM19_Show(Hwnd parent, int modal, int userData);
LResult FORM19_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORM19_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORM19_CreateControls(Hwnd form);
// "Print": FinExportToPage with the title and the list of the viewer `form` (the viewer whose button was pressed;
// with form 0, the shared handles). Returns 0.
int FORM19_PrintToBrowser(Hwnd form);
// "Xls": gTargetListView = the list of the viewer `form` (form 0: gForm19List), then FinExportToSheet. Returns 0.
int FORM19_ExportXls(Hwnd form);
