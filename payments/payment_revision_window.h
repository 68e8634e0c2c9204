// FORMREVISI "Revisi Pembayaran": the small modal window that changes the amount (Masuk) of a payment row already
// stored in transaksi and marks the row revised (jenjang 'rev'). What it lists depends on its opener, told by
// gEditMode:
//   0 (the payment window): every payment row (Sts 'p') of the student in gFormBayarIdEdit, of every school year,
//     newest receipt first;
//   1 (the payment list): the payment rows of the student of the list's marked row, on that row's fee, in the
//     report month (the list hands the row over when it opens the window); the first is selected and its amount put into the edit.
// Only the one row changes: the receipt's other rows and the lists behind the window stay as they are; a revision
// that would leave the receipt's discount above its items or its savings withdrawal above its net, or the student's
// payments on a fee above its bill, is refused.
#pragma once
#include <cstdint>
#include <string>

#include "framework/win.h"
#include "payments/payment_queries.h"

// The window while it exists, else 0; its controls.
extern Hwnd gFormRevisiWindow;
extern Hwnd gFormRevisiCloseButton, gFormRevisiUpdateButton, gFormRevisiAmountEdit, gFormRevisiAmountLabel,
    gFormRevisiIcon, gFormRevisiList, gFormRevisiHint, gFormRevisiHeader, gFormRevisiTitle;
// Control ids (1000 upwards in creation order).
extern int gFormRevisiCloseButtonId, gFormRevisiUpdateButtonId, gFormRevisiAmountEditId, gFormRevisiAmountLabelId,
    gFormRevisiIconId, gFormRevisiListId, gFormRevisiHintId, gFormRevisiHeaderId, gFormRevisiTitleId;

// ----- what the window computes ---------------------------------------------------------------------------------
// The rows listed when opened from the payment window: every 'p' row of the student, ids descending.
std::string FORMREVISI_StudentRowsSql(const std::string& siswaId);
// The rows listed when opened from the payment list: the student's 'p' rows on the fee within the report month
// `reportMonth` (1..12) of the school year `tapel`.
std::string FORMREVISI_MonthRowsSql(const std::string& siswaId, const std::string& acctId, const std::string& tapel,
                                    int reportMonth);
// The revision of one row: Masuk := amount (whole rupiah), jenjang := 'rev', matched by id, fee and student.
std::string FORMREVISI_UpdateSql(long long amount, const std::string& id, const std::string& acctId,
                                 const std::string& siswaId);

// What the student has paid on a fee (the sum of Masuk of every row of that student and fee, 0 without one) and what
// the fee bills the student (jml_pembayaran of the billing row, 0 without one), whole rupiah.
struct FormRevisiFeeMoney {
  long long paid = 0;
  long long billed = 0;
};
std::string FORMREVISI_FeeMoneySql(const std::string& siswaId, const std::string& acctId);
// Reads it into `out`; a failing read shows its "SQL error: " box and gives false.
bool FORMREVISI_ReadFeeMoney(const std::string& siswaId, const std::string& acctId, FormRevisiFeeMoney* out);
// Why a revision is refused when the receipt as it leaves it (`money`) breaks the receipt's rules: "Potongan melebihi
// total pembayaran.." for a discount above the items, "Pengambilan tabungan Rp.<withdrawal> pada struk ini melebihi
// total setelah potongan Rp.<net>.." for a withdrawal above the net; empty when it keeps them.
std::string FORMREVISI_ReceiptRefusal(const Form13ReceiptMoney& money);
// Why a revision of a fee row to `amount` is refused when it raises what is paid on the fee (`paidBefore` to
// `paidAfter`) above the bill `billed`: the instalment chooser's "Jumlah pembayaran melebihi sisa tagihan, sisa
// tagihan : X.." with X what the fee owed before this row (the bill less what the fee's other rows paid). Empty when
// the fee stays within its bill, and whenever the revision does not raise what is paid.
std::string FORMREVISI_OverBillText(long long paidBefore, long long paidAfter, long long billed, long long amount);

// ----- the window -----------------------------------------------------------------------------------------------
// What the payment list hands the window it opens (gEditMode 1): the student and the fee of its marked row.
struct FormRevisiRow {
  std::string siswaId, acctId;
};
// Creates the window (652 x 308, centred, no title bar) and runs it modally over `parent` (the payment window or the
// payment list, each passing itself, modal 1, user data 0; the payment list also its marked row); returns 0 when it
// closes.
std::intptr_t FORMREVISI_Show(Hwnd parent, int modal, int userData, FormRevisiRow row = {});
LResult FORMREVISI_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
// The controls' subclass procedure: the left button released over the list runs FORMREVISI_OnListClick first.
LResult FORMREVISI_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORMREVISI_CreateControls(Hwnd form);

// Inserts the six columns and loads the rows as gEditMode says (the student is kept for the updates); opened from
// the payment list, selects row 0 and puts its amount into the edit. Returns 0.
LResult FORMREVISI_LoadPayments(Hwnd form);
// Row callback of the load: one list row of Id, Tgl, AcctId, Uraian, Masuk, Petugas (NULL as empty).
int FORMREVISI_OnPaymentRow(void* user, int columnCount, char** values, char** names);
// "Update": writes the edit's amount (whole rupiah; an empty edit writes 0) to the selected row in one transaction,
// with the row's own sign: a discount row ('Disc', or any row stored below 0) is shown and typed as a positive amount
// and stored negative, every other row stays positive;
// on success the row's Masuk cell shows the amount written and "Revisi transaksi berhasil disimpan.." (caption
// "Revisi..") shows. Without a selected row nothing is written and nothing is reported. A revision that leaves the
// receipt (the rows of its stamp and student) breaking its rules (FORMREVISI_ReceiptRefusal), or that raises a fee
// row so that the student pays more than the fee bills (FORMREVISI_OverBillText), is undone and its refusal shown
// (caption "Info"); one whose read of the receipt's or the fee's sums fails is undone with its "SQL error: " box.
// A row the file no longer holds (another desk deleted it since the list was read) changes nothing: it leaves the
// list and kFormRevisiRowGone is shown (caption "Info"). Every box shows once the transaction has ended. Returns 0.
LResult FORMREVISI_SaveRevision(Hwnd form);
extern const char* const kFormRevisiRowGone;   // "Transaksi tidak ditemukan, tidak ada data yang disimpan.."

// "Selesai": closes the window with result 0. Returns 0.
LResult FORMREVISI_OnClose(Hwnd form);
// A click in the list: the selected row's Masuk into the edit (a discount without its "-"). Returns 0.
LResult FORMREVISI_OnListClick(Hwnd form);

// The student whose rows the window lists (the one its updates name).
const std::string& FORMREVISI_Student();
