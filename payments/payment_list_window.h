// FORM13 "Data Pembayaran Siswa": the maximised MDI child that lists the payment rows (Sts 'p') of transaksi in the
// report month gReportMonth of the working school year gTapel, one line per stored row, so that a receipt shows as
// its item lines and its discount line. From its toolbar the operator takes a new payment (the payment window),
// revises a row's amount (the revision window, which reads the marked row of gForm13List), deletes one row, exports
// the list to a workbook or an HTML page, prints the receipt of the marked row again from the stored rows, and
// reloads the list. Commands act on the row that holds the list's selection mark.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "framework/win.h"

// The window while it exists, else 0; its list (read by the revision window), rebar and toolbar.
extern Hwnd gForm13Window;
extern Hwnd gForm13List, gForm13Rebar, gForm13Toolbar;
extern int gForm13Id;   // its MDI child id (103)
// Control ids (list 1000; rebar 5000, toolbar 5100) and the toolbar's command ids in button order.
extern int gForm13ListId, gForm13RebarId, gForm13ToolbarId;
extern int gForm13AddId, gForm13EditId, gForm13DeleteId, gForm13ExcelId, gForm13PageId, gForm13ReprintId,
    gForm13RefreshId;

// ----- what the window computes ---------------------------------------------------------------------------------
// The calendar year of report month `reportMonth` (1..12) of the school year `tapel` ("2024/2025"): its last four
// characters for months 1 to 6, its first four for 7 to 12; and the month as two digits ("03", "11").
std::string FORM13_ReportYear(const std::string& tapel, int reportMonth);
std::string FORM13_ReportMonthText(int reportMonth);
// "Tgl between '<year>-<mm>-01' and date('<year>-<mm>-01','start of month','+1 month','-1 day')".
std::string FORM13_MonthRangeSql(const std::string& tapel, int reportMonth);
// The month query: Id, Tgl, SiswaId, NamaSiswa, KelasSiswa (of `tapel`), AcctId, Uraian, Masuk, Petugas of the 'p'
// rows of the month, ordered by Id.
std::string FORM13_MonthSql(const std::string& tapel, int reportMonth);
// The reprint's statements: the receipt's rows but its discount (Uraian, Masuk), its discount, its savings used.
std::string FORM13_ReceiptItemsSql(const std::string& stamp);
std::string FORM13_ReceiptDiscountSql(const std::string& stamp);
std::string FORM13_ReceiptSavingsSql(const std::string& stamp);
// The delete of one listed row: its id, limited to the payment row of that fee and student.
std::string FORM13_DeleteSql(const std::string& id, const std::string& acctId, const std::string& siswaId);

// One stored row of a receipt as the reprint reads it.
struct Form13ReceiptItem {
  std::string uraian;
  std::string masuk;
};
// What the reprint prints: the school identity, the student of the marked row, the receipt's rows (discount rows
// left out), the discount and savings-used texts as the sums return them (empty when the receipt has no such row),
// the printing date "dd-mm-yyyy", the clock text and the operator.
struct Form13Receipt {
  std::string schoolName, schoolAddress, schoolPhone, schoolEmail;
  std::string name, kelas;
  std::vector<Form13ReceiptItem> items;
  std::string discount;
  std::string savingsUsed;
  std::string date, time, operatorName;
};
// The lines of the reprinted half-sheet receipt; element k - 1 is line k (drawn at y = k x gStrukLineSpacing), an
// empty element an empty line. Amounts print as stored or computed, without thousands separators.
std::vector<std::string> FORM13_ReceiptLines(const Form13Receipt& receipt);
// The receipt of the stamp `stamp` (the first 22 characters of an id) read from the database, with the student's
// name and class as the list shows them. A failing query shows its "SQL error: " box; what was read is kept.
Form13Receipt FORM13_ReadReceipt(const std::string& stamp, const std::string& name, const std::string& kelas);

// ----- the window -----------------------------------------------------------------------------------------------
// Creates the MDI child "Data Pembayaran Siswa" (1025 x 562) under `parent` (gMdiClient), maximised and modeless,
// and returns its window (0 when it could not be made). The main window calls it with (gMdiClient, 1, 0).
std::intptr_t FORM13_Show(Hwnd parent, int modal, int userData);
LResult FORM13_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORM13_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORM13_CreateControls(Hwnd form);
// Fills the list with the month query (every column and row removed first); returns 0.
LResult FORM13_LoadPayments(Hwnd form);
// Runs a toolbar command (the ids above); always 0.
int FORM13_OnCommand(Hwnd form, Hwnd control, int notification, int id);
// Prints the receipt of the marked row again on the default printer (document "Struk").
void FORM13_ReprintReceipt(Hwnd form);
// Row callback of the reprint's item query: one (Uraian, Masuk) row.
int FORM13_OnReceiptRow(void* user, int columnCount, char** values, char** names);

// The question of the delete command.
extern const char* const kForm13DeleteQuestion;
