// The savings list "Data Penerimaan Tabungan" (FORM14): an MDI child listing the savings rows of the report month
// (gReportMonth of the school year gTapel) that are not printed in a passbook or on a card yet (Sts 't'): the teller's
// deposits and withdrawals and the payment window's savings withdrawals. From it the operator opens the savings
// teller, deletes a row, exports the list as a workbook or an HTML page, and reloads it with the students' balances.
//
// Columns come from the result (FinCbFillList): ID, TGL, SISWAID, NAMASISWA, URAIAN, MASUK, KELUAR, PETUGAS as
// loaded when the window opens, with SALDO (the student's savings balance now) before PETUGAS after a refresh.
// Each window's toolbar works on that window's own list; the globals name the newest window.
#pragma once
#include <cstdint>
#include <string>

#include "framework/win.h"

// The newest savings list window while it exists, else 0; its list (kept after the window is gone, reading as gone).
extern Hwnd gForm14Window;
extern Hwnd gForm14Rebar, gForm14Toolbar, gForm14List;
// Child-window id of the MDI child (104); the rebar 5000, toolbar 5100, its buttons 5101 upwards in button order,
// the list 1000.
extern int gForm14Id;
extern int gForm14ListId, gForm14RebarId, gForm14ToolbarId;
extern int gForm14AddButtonId, gForm14DeleteButtonId, gForm14ExcelButtonId, gForm14BrowserButtonId,
    gForm14RefreshButtonId;
void FORM14_InitControlIds();

// ----- the statements ---------------------------------------------------------------------------------------------
// The calendar year of report month `month` in school year `tapel` (its first year for July to December, its second
// for January to June) and the month as two digits.
std::string FORM14_PeriodYear(const std::string& tapel, int month);
std::string FORM14_PeriodMonth(int month);
// The unprinted savings rows of the month, as loaded when the window opens (eight columns) and after a refresh
// (nine, with the balance).
std::string FORM14_LoadSql(const std::string& tapel, int month);
std::string FORM14_RefreshSql(const std::string& tapel, int month);
std::string FORM14_DeleteSql(const std::string& id);

// ----- the window -------------------------------------------------------------------------------------------------
// Creates "Data Penerimaan Tabungan" (1030 x 561) as a maximised MDI child of `parent` (gMdiClient) and loads it;
// modeless whatever `modal`: returns the window (0 when none was made).
std::intptr_t FORM14_Show(Hwnd parent, int modal, int userData);
LResult FORM14_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORM14_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORM14_CreateControls(Hwnd form);
// Fills the list with FORM14_LoadSql for gTapel and gReportMonth; returns 0.
LResult FORM14_LoadList(Hwnd form, std::intptr_t userData);
// A toolbar command by its id (new, delete, workbook, page, refresh); any other id does nothing. Returns 0.
LResult FORM14_OnToolbar(Hwnd form, Hwnd control, unsigned code, int id);
