// FORMREKBAYAR3 "Pembayaran Per Tahun": the instalment chooser the arrears window opens for its marked row when the
// fee is not monthly. Two ways of paying: "Angsuran" (ten equal numbered instalments of the yearly amount; the paid
// ones show their payment date, the operator ticks open ones) and "Cicilan" (a free amount typed into "Jumlah Cash";
// the list shows the earlier free-amount payments). "Sisip" writes the amount and a name that says the way of paying
// into the arrears row; the payment's description later carries that word, by which the chooser finds earlier
// instalments. It reads transaksi and writes nothing to the database.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "framework/win.h"

// The chooser while it exists, else 0, and its controls.
extern Hwnd gFormRekBayar3Window;
extern Hwnd gFormRekBayar3SisipButton, gFormRekBayar3BatalButton, gFormRekBayar3CashLabel, gFormRekBayar3CashEdit,
    gFormRekBayar3List, gFormRekBayar3WayLabel, gFormRekBayar3AngsuranRadio, gFormRekBayar3CicilanRadio;
// Control ids: "Batal" 2 (Esc acts as "Batal"), the others 1000 upwards in creation order.
extern int gFormRekBayar3SisipButtonId, gFormRekBayar3BatalButtonId, gFormRekBayar3CashLabelId,
    gFormRekBayar3CashEditId, gFormRekBayar3ListId, gFormRekBayar3WayLabelId, gFormRekBayar3AngsuranRadioId,
    gFormRekBayar3CicilanRadioId;
void FORMREKBAYAR3_InitControlIds();

// ----- what the chooser computes ---------------------------------------------------------------------------------
// The most rows the "Angsuran" list shows: payments that would make more (a tiny instalment amount against a large
// payment) stop adding rows there.
constexpr int kInstalmentMaxRows = 1000;

// An earlier payment as the list reads it.
struct InstalmentPayment {
  std::string tgl;     // transaksi.Tgl
  std::string masuk;   // transaksi.Masuk as stored
};
// One row of the list.
struct InstalmentRow {
  std::string number;   // "No."
  std::string date;     // "Tgl. Bayar": the payment date, "-" for an open instalment
  std::string label;    // "Angs-" k / "Cicilan-" k
  std::string amount;   // "Jumlah"
};
// The instalment amount: the yearly amount ("temp") divided by 10, whole rupiah (halves to the even neighbour).
long long FinInstalmentAmount(const std::string& yearly);
// The "Angsuran" rows: each payment covers Masuk / instalment amount instalments (whole, halves to even; none when
// the instalment amount is 0), each a row with the payment's date; then open rows up to row 10 (none when the paid
// rows already reach 10). At most kInstalmentMaxRows rows.
std::vector<InstalmentRow> FinInstalmentAngsuranRows(const std::string& yearly,
                                                      const std::vector<InstalmentPayment>& payments);
// The "Cicilan" rows: one per payment, its date and Masuk as stored.
std::vector<InstalmentRow> FinInstalmentCicilanRows(const std::vector<InstalmentPayment>& payments);
// The "Jumlah Cash" figure shown in "Angsuran" mode: the amount owed divided by 10 with up to 16 significant digits
// and no trailing point ("1234567" -> "123456.7", "1000000" -> "100000").
std::string FinInstalmentTenthText(const std::string& owed);

// What "Sisip" makes of the "Angsuran" list: rows 1 to 10 that are open ("-") and ticked.
struct InstalmentChoice {
  long long sum = 0;
  std::string first, last;   // their row numbers (empty when none)
  int numbers = 0;           // which they are: bit 0 instalment 1 .. bit 9 instalment 10
};
InstalmentChoice FinInstalmentChoose(const std::vector<InstalmentRow>& rows, const std::vector<bool>& ticked);
// The arrears row's new name: "Angsuran " + name + " dari : " + first + " s/d " + last.
std::string FinInstalmentAngsuranName(const std::string& name, const InstalmentChoice& choice);

// What "Sisip" says when `amount` is more than the fee still owes (`owed`, whole rupiah): "Jumlah pembayaran melebihi
// sisa tagihan, sisa tagihan : " + the owed amount with "." separators + ".." (0 when the fee owes nothing or is paid
// above its bill); the empty text when the amount is not above it.
std::string FinInstalmentOverOwedText(long long amount, long long owed);

// The statements: the student's earlier payments on the fee whose description holds `word` ("Angsuran" or
// "Cicilan"): Tgl, Masuk.
std::string FinInstalmentPaymentsSql(const std::string& word, const std::string& student, const std::string& fee);
// Reads them into `out`, in the order the file gives them. A failed read is reported as FinExec reports it (inside a
// save's transaction its box waits for the transaction's end) and gives false, `out` holding what arrived before.
bool FinReadInstalmentPayments(const std::string& word, const std::string& student, const std::string& fee,
                               std::vector<InstalmentPayment>* out);
// Whether a description holds `word` as the statement above finds it (LIKE: letters A to Z in either case).
bool FinInstalmentDescriptionHolds(const std::string& description, const std::string& word);

// ----- the window -----------------------------------------------------------------------------------------------
// Creates the chooser (651 x 365, centred, kept above other windows) owned by `parent`; modal when `modal` is 1 (the
// arrears window), modeless when 0 (the chooser tab host). Opens in "Cicilan" mode.
std::intptr_t FORMREKBAYAR3_Show(Hwnd parent, int modal, int userData);
LResult FORMREKBAYAR3_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORMREKBAYAR3_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORMREKBAYAR3_CreateControls(Hwnd form);
LResult FORMREKBAYAR3_OnCreate(Hwnd form, std::intptr_t userData);
// The two modes: the list rebuilt from the database each time.
LResult FORMREKBAYAR3_ShowAngsuran(int index, Hwnd form, Hwnd control, int id);
LResult FORMREKBAYAR3_ShowCicilan(int index, Hwnd form, Hwnd control, int id);
// "Sisip": the choice into the marked arrears row, then the chooser closes with result 0. In "Cicilan" mode the typed
// amount is read as operators write money (FinPositiveAmount); a text that is not a positive amount shows "Jumlah
// cicilan harus berupa angka lebih dari 0.." (caption "Info"), changes nothing and leaves the chooser open. In either
// mode an amount above what the fee still owes (FORMTUNGGAKAN_RowOwed) is refused the same way, with
// FinInstalmentOverOwedText.
LResult FORMREKBAYAR3_Insert(int index, Hwnd form, Hwnd control, int id);
// Row callback of the payments statement (Tgl, Masuk).
int FORMREKBAYAR3_OnPaymentRow(void* user, int columnCount, char** values, char** names);
