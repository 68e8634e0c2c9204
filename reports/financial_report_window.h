// FORM8 "Laporan Keuangan Sekolah": the MDI child that shows the school financial report of the report month
// gReportMonth of the school year gTapel: opening balance (cash, bank accounts, student savings), operating income
// per income ledger account, discounts, net income, expenses per expense ledger account and the closing balance.
// Two modes: global (one line per ledger account with its net of the month) and detailed (each ledger account with
// its transactions of the month and its sub-total). The report reads rekening and transaksi and writes nothing.
#pragma once
#include <cstdint>
#include <string>

#include "framework/win.h"

// 1 global, 0 (or anything below 1) detailed; set by the toolbar, 0 at start.
extern int gReportMode;
// The list of the financial report window that ran a command last (at creation: the window created last); 0 when
// that window is gone.
extern Hwnd gForm8List;
extern Hwnd gForm8Window, gForm8Rebar, gForm8Toolbar;
extern int gForm8Id;   // its MDI child id (112)
// Control ids: list 1000, rebar 5000, toolbar 5100; toolbar commands in button order.
extern int gForm8ListId, gForm8RebarId, gForm8ToolbarId;
extern int gForm8GlobalId, gForm8DetailId, gForm8ExcelId, gForm8BrowserId, gForm8RefreshId;

// ----- what the report computes -----------------------------------------------------------------------------------
// The report period of month `reportMonth` (1..12) of school year `tapel` ("YYYY/YYYY").
struct FinReportPeriod {
  std::string year;      // the second year of tapel for months 1..6, the first for 7..12
  std::string month;     // two digits
  std::string monthKey;  // year + "-" + month: compared with the first seven characters of Tgl
  std::string cashEnd;   // first day of the month before (month 1: first year + "-12-31"); cash runs to its month end
};
FinReportPeriod FinFinancialReportPeriod(int reportMonth, const std::string& tapel);

// The statements of the report (every value quoted).
std::string FinReportCashSql(const FinReportPeriod& p);                               // S1 cash up to the month before
std::string FinReportAccountsSql(const std::string& grup, const std::string& tapel);   // S2/S4/S6 ledger accounts
std::string FinReportSavingsSql(const FinReportPeriod& p);                            // S3 savings up to month end
std::string FinReportDiscountSql(const FinReportPeriod& p);                           // S5 discounts of the month
std::string FinReportAccountRowsSql(const std::string& kode, const FinReportPeriod& p);  // S7 an account's rows
std::string FinReportAccountNetSql(const std::string& kode, const FinReportPeriod& p);   // S8 an account's net

// Rebuilds the list in gTargetListView from scratch for gReportMonth, gTapel and gReportMode, ending with the
// finishing pass (whole numbers). A failing statement shows "SQL error: " + message (caption "Info") and the build
// goes on; the cell it should have filled stays empty.
void FinBuildFinancialReport();

// Row callbacks of the build (sqlite3_exec signature, each returns 0).
int FinReportCbAccountDetail(void* user, int columnCount, char** values, char** names);   // Kode, Deskripsi, Grup
int FinReportCbTransactionRow(void* user, int columnCount, char** values, char** names);  // Tgl, Uraian, Masuk, ...
int FinReportCbAccountTotal(void* user, int columnCount, char** values, char** names);    // Kode, Deskripsi, Grup

// ----- the window -------------------------------------------------------------------------------------------------
// Creates "Laporan Keuangan Sekolah" (1027 x 560) as a maximised MDI child of `parent` (gMdiClient), modeless, with
// an empty list; returns its window (0 when it could not be made).
std::intptr_t FORM8_Show(Hwnd parent, int modal, int userData);
LResult FORM8_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORM8_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORM8_CreateControls(Hwnd form);
LResult FORM8_OnCreate(Hwnd form, std::intptr_t userData);   // does nothing
// A toolbar command of `form` (the ids above): "Lap. Global", "Lap. Rinci", "Print to Excel", "Print to browser",
// "Refresh" (the report again in the mode of the report the window shows; the mode chosen last when it shows none
// yet). Always 0.
int FORM8_OnToolbar(Hwnd form, int id);
