// FORM13 "Data Pembayaran Siswa": the maximised MDI child that lists the payment rows (Sts 'p') of transaksi in the
// report month gReportMonth of the working school year gTapel, one line per stored row, so that a receipt shows as
// its item lines and its discount line. From its toolbar the operator takes a new payment (the payment window),
// revises a row's amount (the revision window, which reads the marked row of gForm13List), deletes one row, exports
// the list to a workbook or an HTML page, prints the receipt of the marked row again from the stored rows, and
// reloads the list. Commands act on the row that holds the list's selection mark; a receipt is the rows of one stamp
// and one student.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "framework/win.h"
#include "payments/payment_queries.h"

// The window while it exists, else 0; its list (read by the revision window), rebar and toolbar.
extern Hwnd gForm13Window;
extern Hwnd gForm13List, gForm13Rebar, gForm13Toolbar;
extern int gForm13Id;   // its MDI child id (103)
// Control ids (list 1000; rebar 5000, toolbar 5100) and the toolbar's command ids in button order.
extern int gForm13ListId, gForm13RebarId, gForm13ToolbarId;
extern int gForm13AddId, gForm13EditId, gForm13DeleteId, gForm13ExcelId, gForm13PageId, gForm13ReprintId,
    gForm13RefreshId;

// ----- what the window computes ---------------------------------------------------------------------------------
// The month query: Id, Tgl, SiswaId, NamaSiswa, KelasSiswa (of `tapel`), AcctId, Uraian, Masuk, Petugas of the 'p'
// rows of the month, ordered by Id.
std::string FORM13_MonthSql(const std::string& tapel, int reportMonth);
// The reprint's statements: the receipt's items (Uraian, Masuk; its discount and savings withdrawal are no items),
// its discount (the stored negative sum), its savings used.
std::string FORM13_ReceiptItemsSql(const std::string& stamp, const std::string& siswaId);
std::string FORM13_ReceiptDiscountSql(const std::string& stamp, const std::string& siswaId);
std::string FORM13_ReceiptSavingsSql(const std::string& stamp, const std::string& siswaId);
// The delete of one listed row: its id, limited to the payment row of that fee and student.
std::string FORM13_DeleteSql(const std::string& id, const std::string& acctId, const std::string& siswaId);
// The receipt's discount and savings withdrawal rows, deleted only when no item of the receipt is left.
std::string FORM13_DeleteReceiptRestSql(const std::string& stamp, const std::string& siswaId);
// The question before deleting the last item of a receipt that has a discount row or a savings withdrawal row
// (`rest`: the receipt without that item): it names what goes with the item, by the rows, whatever their amounts.
std::string FORM13_DeleteLastItemQuestion(const Form13ReceiptMoney& rest);
// Why a delete is refused when `rest` (the receipt as the delete would leave it) breaks the receipt's rules
// (FORM13_ReceiptBreach): its discount above the items left, or its savings withdrawal above the net left, with the
// amounts; empty when it keeps them.
std::string FORM13_DeleteRefusal(const Form13ReceiptMoney& rest);

// One stored row of a receipt as the reprint reads it.
struct Form13ReceiptItem {
  std::string uraian;
  std::string masuk;
};
// What the reprint prints: the school identity, the student of the marked row, the receipt's items (its discount
// and savings withdrawal left out), the discount and savings-used texts as the sums return them (empty when the
// receipt has no such row), the printing date "dd-mm-yyyy", the clock text and the operator.
struct Form13Receipt {
  std::string schoolName, schoolAddress, schoolPhone, schoolEmail;
  std::string name, kelas;
  std::vector<Form13ReceiptItem> items;
  std::string discount;
  std::string savingsUsed;
  std::string date, time, operatorName;
};
// The lines of the reprinted half-sheet receipt; element k - 1 is line k (drawn at y = k x gStrukLineSpacing), an
// empty element an empty line. Amounts print as stored or computed, without thousands separators: "Total" the
// items' sum, "Potongan" the stored (negative) discount, "Jml. Bersih" the total plus the discount, "Ambil
// Tabungan" (only when above 0) what came from the savings and "Dibayar" the rest of the net, so that Dibayar and
// Ambil Tabungan add up to Jml. Bersih.
std::vector<std::string> FORM13_ReceiptLines(const Form13Receipt& receipt);
// The receipt of the stamp `stamp` (the first 22 characters of an id) and the student `siswaId` read from the
// database into `out`, with the student's name and class as the list shows them. A failing query shows its "SQL
// error: " box and gives false (`out` untouched).
bool FORM13_ReadReceipt(const std::string& stamp, const std::string& siswaId, const std::string& name,
                        const std::string& kelas, Form13Receipt* out);

// ----- the window -----------------------------------------------------------------------------------------------
// Creates the MDI child "Data Pembayaran Siswa" (1025 x 562) under `parent` (gMdiClient), maximised and modeless,
// and returns its window (0 when it could not be made). The main window calls it with (gMdiClient, 1, 0). There is one
// payment list: when it is open already, it reads the month's rows again (FORM13_LoadPayments) and comes to the front.
std::intptr_t FORM13_Show(Hwnd parent, int modal, int userData);
LResult FORM13_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORM13_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORM13_CreateControls(Hwnd form);
// Fills the list with the month query (every column and row removed first); returns 0.
LResult FORM13_LoadPayments(Hwnd form);
// Runs a toolbar command (the ids above); always 0.
int FORM13_OnCommand(Hwnd form, Hwnd control, int notification, int id);
// Prints the receipt of the marked row (its stamp and its student) again on the default printer (document "Struk");
// prints nothing when a read of it fails (the failure shown).
void FORM13_ReprintReceipt(Hwnd form);
// Row callback of the reprint's item query: one (Uraian, Masuk) row.
int FORM13_OnReceiptRow(void* user, int columnCount, char** values, char** names);

// The question of the delete command. A row after which no item of its receipt is left, while the receipt has a
// discount row or a savings withdrawal row, asks FORM13_DeleteLastItemQuestion instead, and its yes deletes the row,
// the discount and the withdrawal in one transaction (a failure: nothing deleted, "SQL error: " shown once the
// transaction has ended). A row whose delete would leave the receipt breaking its rules is refused with
// FORM13_DeleteRefusal (caption "Info") before anything is asked, and the receipt is read again inside the delete's
// transaction: what another program changed meanwhile is refused the same way, nothing deleted. A failing read of the
// receipt asks nothing and deletes nothing.
extern const char* const kForm13DeleteQuestion;
