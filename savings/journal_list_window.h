// FORM15 "Jurnal Kas": the maximised MDI child that lists one month of the cash journal (transaksi rows with Sts
// 'k') or of the bank journal (Sts 'b'): the report month gReportMonth of the working school year gTapel, ordered by
// Id. From it the operator opens the income and expense entry windows, deletes an entry, exports the list to a
// workbook or an HTML page and reloads it. Entries are added and deleted, never changed: the list handles no click,
// double click or key of its own.
//
// The journal kind comes from gFormMode when the window is created: exactly "JURNAL KAS" is the cash journal, any
// other text the bank journal. Each window keeps the kind it was opened with (gFormMode is rewritten by many other
// windows and callbacks) for its refreshes, and hands it to the entry windows it opens.
#pragma once
#include <cstdint>
#include <string>

#include "framework/win.h"

// The journal list window created last (0 once it is gone) and its list view; a command of any journal list
// window points both at that window first.
extern Hwnd gForm15Window;
extern Hwnd gForm15List;
extern Hwnd gForm15Rebar, gForm15Toolbar;
extern int gForm15Id;   // its MDI child id (105)
// Control ids (list 1000, rebar 5000, toolbar 5100) and the toolbar's command ids in button order.
extern int gForm15ListId, gForm15RebarId, gForm15ToolbarId;
extern int gForm15IncomeId, gForm15ExpenseId, gForm15DeleteId, gForm15ExcelId, gForm15PageId, gForm15RefreshId;
void FORM15_InitControlIds();

// ----- what the window computes ---------------------------------------------------------------------------------
// True for the cash journal: the mode text is exactly "JURNAL KAS" (case-sensitive); any other text is the bank
// journal.
bool FinJournalIsCash(const std::string& mode);
// The month of report month `reportMonth` (1..12) of the school year `tapel` ("2024/2025") as "yyyy-MM": months 7
// to 12 lie in the first year, 1 to 6 in the second.
std::string FinJournalReportMonth(int reportMonth, const std::string& tapel);
// The list statement: "select Id, Tgl, Ref, Uraian, Masuk, Keluar, Petugas from transaksi WHERE Sts='k' And Tgl
// between '<yyyy-MM>-01' and date('<yyyy-MM>-01','start of month','+1 month','-1 day') Order By Id" ('b' for the
// bank journal); the period's texts quoted.
std::string FORM15_ListSql(bool cash, int reportMonth, const std::string& tapel);

// ----- the window -----------------------------------------------------------------------------------------------
// Creates the MDI child "Jurnal Kas" (1024 x 559) under `parent` (gMdiClient), maximised and modeless, takes the
// journal kind from gFormMode and lists the month; returns the window (0 when it could not be made). The main window
// calls it with (gMdiClient, 1, 0).
std::intptr_t FORM15_Show(Hwnd parent, int modal, int userData);
LResult FORM15_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORM15_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORM15_CreateControls(Hwnd form);
// Fills the window's list (all columns and rows removed first; columns come with the first row) with the month of
// the window's journal kind; a failing statement shows "SQL error: " + message (caption "Info"). Returns 0.
int FORM15_LoadList(Hwnd form, std::intptr_t param);
// Runs the toolbar command `id` of the window (any other id does nothing); returns 0.
int FORM15_OnToolbar(Hwnd form, Hwnd control, int notification, int id);
// Whether the window lists the cash journal (false for the bank journal or a window that is not a journal list).
bool FORM15_IsCash(Hwnd form);

// The delete question, caption "Confirm Delete".
extern const char* const kForm15DeleteQuestion;
