// FORM10 "Laporan Pembayaran": the maximised MDI child that shows one payment report at a time in a single list
// view. Its first toolbar button opens the selection dialog FORMLAPBAYAR (reports/payment_report_dialog.h), whose
// buttons build a report into the list (reports/payment_reports.h); the other two send whatever the list holds to
// the workbook plug-in and to the printable HTML page. The window keeps no report state of its own: the list's
// columns, rows and alignment are the whole report.
#pragma once
#include <cstdint>

#include "framework/win.h"

// The payment report window created last (0 when it is gone) and its report list. Each command of a payment report
// window first points both at its own window and list, so the dialog it opens fills its list and its exports read
// its list; when the window goes they become 0.
extern Hwnd gForm10Window;
extern Hwnd gForm10List, gForm10Rebar, gForm10Toolbar;
extern int gForm10Id;   // its MDI child id (101)
// Control ids: the list 1000, the rebar 5000, the toolbar 5100; the toolbar's commands in button order.
extern int gForm10ListId, gForm10RebarId, gForm10ToolbarId;
extern int gForm10ReportId, gForm10ExcelId, gForm10PageId;

// The title of the HTML page of the list.
extern const char* const kForm10PageTitle;   // "LAPORAN PEMBAYARAN SISWA"

// Creates a further payment report window (1023 x 560) under `parent` (gMdiClient), maximised and modeless, and
// returns it (0 when it could not be made). The main window calls it with (gMdiClient, 1, 0).
std::intptr_t FORM10_Show(Hwnd parent, int modal, int userData);
LResult FORM10_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORM10_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
// The rebar with its toolbar of three 32 x 32 buttons, and the report list under it (empty, focused).
void FORM10_CreateControls(Hwnd form);
// The creation handler: nothing to load; returns 0.
LResult FORM10_OnCreate(Hwnd form, std::intptr_t userData);
// Points gForm10Window and the control globals at `form` (a payment report window); nothing for another window.
// The form's bind routine: the form runtime runs it when the window is activated and before each of its commands.
void FORM10_Bind(Hwnd form);
// A toolbar command: the report button opens the selection dialog (owner this window, modal); the workbook button
// sets gTargetListView to the list and runs FinExportToSheet; the page button runs FinExportToPage with
// kForm10PageTitle and the list. Returns 0.
LResult FORM10_OnToolbar(Hwnd form, Hwnd control, int notification, int id);
