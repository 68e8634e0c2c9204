// The savings reports: the modal chooser FORM18 "Laporan Tabungan" and the builders of its seven reports, each into
// a new savings report viewer (reports/savings_report_viewer.h). Savings rows are the transaksi rows with AcctID
// 'Tabungan', whatever their Sts; a student's balance is the sum of Masuk - Keluar over all of them.
//
//   1 today's savings transactions          2 every saver with a positive balance
//   3 deposits in a date range              4 withdrawals in a date range
//   5 net per transaction text in a range   6 every savings row in a range
//   7 the balances of one class in gTapel
//
// The savings reports take no finishing pass: their columns carry their own alignment, and only the columns named
// for each report get "." thousands separators.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "framework/win.h"

// The chooser's window while it exists, and its controls.
extern Hwnd gForm18Window;
extern Hwnd gForm18Report[7];   // the radio buttons "Laporan 1" .. "Laporan 7"
extern Hwnd gForm18Frame, gForm18StartLabel, gForm18StartDate, gForm18EndLabel, gForm18EndDate, gForm18KelasLabel,
    gForm18KelasCombo, gForm18CancelButton, gForm18PrintButton;
// Control ids in design order: the radio buttons 1000..1006, the frame, the labels, pickers and combo after them;
// "Batal" is the cancel id 2 (Esc closes the chooser like it), "Cetak" follows the combo.
extern int gForm18ReportId[7];
extern int gForm18FrameId, gForm18StartLabelId, gForm18StartDateId, gForm18EndLabelId, gForm18EndDateId,
    gForm18KelasLabelId, gForm18KelasComboId, gForm18CancelId, gForm18PrintId;

// ----- what the reports compute -----------------------------------------------------------------------------------
// What a build reads of the chooser.
struct SavingsReportInputs {
  int report = 1;           // 1..7
  std::string start, end;   // "yyyy-MM-dd" as the pickers show them
  std::string kelas;        // the class combo's text
  std::string today;        // gToday: the rows of report 1
  std::string tapel;        // gTapel: report 7
  std::string clockDate;    // the clock's date "yyyy-MM-dd" when the build runs: report 1's title
};

// The statements of the reports (every value quoted).
std::string FinSavingsDailySql(const std::string& today);                              // report 1
std::string FinSavingsBalancesSql();                                                    // report 2
std::string FinSavingsDepositsSql(const std::string& start, const std::string& end);   // report 3
std::string FinSavingsWithdrawalsSql(const std::string& start, const std::string& end);  // report 4
std::string FinSavingsRecapSql(const std::string& start, const std::string& end);      // report 5
std::string FinSavingsHistorySql(const std::string& start, const std::string& end);    // report 6
std::string FinSavingsClassSql(const std::string& kelas, const std::string& tapel);    // report 7

// Report 1's title: "LAPORAN TRANSAKSI HARI INI TANGGAL : " + dd-mm-yyyy of `clockDate` ("yyyy-MM-dd").
std::string FinSavingsDailyTitle(const std::string& clockDate);

// The balance columns of reports 1 and 6 ("Saldo Awal Rp.", "Nilai Trans Rp.", "Saldo Akhir Rp.") of one row with
// Masuk m, Keluar k and the student's current balance s (texts as read). A withdrawal (m <= 0): s + k, 0 - k, the
// balance text. A deposit: 0 when s <= m else s - m; the Masuk text; the last cell m when s <= m else s, written
// as the text read (report 1, `computedEnd` false) or as a computed number (report 6).
struct SavingsBalanceCells {
  std::string saldoAwal, nilaiTrans, saldoAkhir;
};
SavingsBalanceCells FinSavingsBalanceCells(const std::string& masuk, const std::string& keluar,
                                           const std::string& saldo, bool computedEnd);

// Builds report `in.report` into `list` and `title` (both cleared first: every column and row of the list): title,
// columns, the statement, one numbered row per result row, the "    JUMLAH " totals row, the thousands columns.
// A failing statement shows "SQL error: " + message (caption "Info") and the report is completed without rows.
void FinBuildSavingsReport(const SavingsReportInputs& in, Hwnd list, Hwnd title);

// Row callback of reports 1 and 3 to 7: keeps the row's values (NULL as empty) for the build, counts gRowCount.
int FinSavingsCbCollectRow(void* user, int columnCount, char** values, char** names);

// ----- the chooser ------------------------------------------------------------------------------------------------
// Shows the chooser (517 x 348, centred, owned by `owner`'s form chain) modally when `modal` is 1; returns what
// FrmShow returns (gFormResult), 0 when the window could not be made. The main window calls it with
// (gMdiClient, 1, 0).
std::intptr_t FORM18_Show(Hwnd owner, int modal, int userData);
LResult FORM18_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORM18_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORM18_CreateControls(Hwnd form);
// Selects "Laporan 1", sets the start date to the first day of the clock's month, fills the class combo from
// siswakelas (FORM18_CbAddClass) and selects its first item. Returns 0.
LResult FORM18_OnLoad(Hwnd form, std::intptr_t userData);
int FORM18_CbAddClass(void* user, int columnCount, char** values, char** names);
// "Batal": closes the chooser with result 0. Returns 0.
int FORM18_Cancel(Hwnd form);
// "Cetak": opens a new viewer (FORM19_Show(gMdiClient, 1, 0)), then FORM18_BuildReport. Returns 0.
int FORM18_Print(Hwnd form);
// Builds the selected report into the newest viewer (gForm19List, gForm19TitleLabel) and closes the chooser.
void FORM18_BuildReport();
