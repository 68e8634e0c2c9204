// The savings teller "TRANSAKSI TABUNGAN" (FORMTABUNGAN): the operator calls up one student (the "Nasabah", whose
// savings account number "No. Rekening" is the student id), sees the name, photo, balance and the savings history
// with a running balance, books one transaction under a transaction code ("Sandi") and prints it into the passbook,
// onto the savings card or on a receipt (savings/savings_print.h). Every booking is one transaksi row with AcctId
// 'Tabungan' and Sts 't' (not yet printed in passbook or card) carrying its passbook position in Ref.
//
// The window is modal over its owner: the main window's toolbar and the savings list's "new" command open it with
// FORMTABUNGAN_Show(owner, 1, 0). One transaction per lookup: after a save the operator calls the student up again
// to book the next one. Each teller window keeps its own state; the globals below name the newest one.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/win.h"

// The window (gFormTabunganWindow) and its code field (gFormTabunganIdEdit) are declared in savings_globals.h.
// The other controls of the newest teller window (the handles read as gone once it is closed).
extern Hwnd gFormTabunganStudentGroup, gFormTabunganTransactionGroup, gFormTabunganCodeLabel, gFormTabunganHintLabel,
    gFormTabunganBookBalanceLabel, gFormTabunganNameLabel, gFormTabunganSandiLabel, gFormTabunganAmountLabel,
    gFormTabunganNewBalanceLabel, gFormTabunganBrowseButton, gFormTabunganSandiEdit, gFormTabunganAmountEdit,
    gFormTabunganSaveButton, gFormTabunganPrintButton, gFormTabunganDatePicker, gFormTabunganNewBalanceEdit,
    gFormTabunganWordsEdit, gFormTabunganSandiList, gFormTabunganPrintCombo, gFormTabunganDirectionEdit,
    gFormTabunganBookBalanceEdit, gFormTabunganHistoryList, gFormTabunganPhoto, gFormTabunganNameEdit;
// Control ids, 1000 upwards in creation order: the frames and labels first, then the controls that take the focus
// in their tab order.
extern int gFormTabunganStudentGroupId, gFormTabunganTransactionGroupId, gFormTabunganCodeLabelId,
    gFormTabunganHintLabelId, gFormTabunganBookBalanceLabelId, gFormTabunganNameLabelId, gFormTabunganSandiLabelId,
    gFormTabunganAmountLabelId, gFormTabunganNewBalanceLabelId, gFormTabunganBrowseButtonId,
    gFormTabunganCodeEditId, gFormTabunganSandiEditId, gFormTabunganAmountEditId, gFormTabunganSaveButtonId,
    gFormTabunganPrintButtonId, gFormTabunganDatePickerId, gFormTabunganNewBalanceEditId, gFormTabunganWordsEditId,
    gFormTabunganSandiListId, gFormTabunganPrintComboId, gFormTabunganDirectionEditId,
    gFormTabunganBookBalanceEditId, gFormTabunganHistoryListId, gFormTabunganPhotoId, gFormTabunganNameEditId;
void FORMTABUNGAN_InitControlIds();

// History list columns.
enum : int {
  kTabunganColTanggal = 0, kTabunganColSandi, kTabunganColDebet, kTabunganColKredit, kTabunganColSaldo,
  kTabunganColRefId, kTabunganColP, kTabunganColSts, kTabunganColKet
};

// ----- what the window computes -----------------------------------------------------------------------------------
// The transaction codes, in list order, with their direction (1 money in, 0 money out).
struct SavingsSandi {
  const char* text;
  int direction;
};
const std::vector<SavingsSandi>& SavingsSandiItems();
// The first item, from the top, that begins with `text` (no regard to case); -1 for none and for an empty text.
int SavingsFindSandi(const std::string& text);
// An item's code (its text up to the first "-", "01") and its name (from the fourth character, "Setoran Tunai").
std::string SavingsSandiCode(const std::string& item);
std::string SavingsSandiName(const std::string& item);

// The id of a savings row: the student id, today "yyyy-mm-dd" without "-" and the clock "HH:mm:ss" without ":".
std::string SavingsTransactionId(const std::string& code, const std::string& today, const std::string& clock);

// One savings row as the teller writes it.
struct SavingsTellerRow {
  std::string id, tgl, uraian, siswaId;
  long long masuk = 0, keluar = 0;
  std::string petugas, ref;
};
// "INSERT INTO transaksi (id,tgl,uraian,acctid,siswaid,masuk,keluar,petugas,sts,jenjang,ref) VALUES ('...')" with
// AcctId 'Tabungan', Sts 't', Jenjang '-'; every value through SqlQ.
std::string SavingsInsertSql(const SavingsTellerRow& row);
// The statements of the lookup (siswa by id), the balance and the history of one student. The history gives each
// row's rowid last: transaksi has no key (ids may repeat), so the rowid is what names one row. The rows come in the
// order they were booked (rowid): ids do not give it, as the payment window's savings withdrawals carry a receipt
// stamp for their id, not the student's code.
std::string SavingsLookupSql(const std::string& code);
std::string SavingsBalanceSql(const std::string& code);
std::string SavingsHistorySql(const std::string& code);
// Marks printed the student's unprinted savings rows among `rowIds` (the rows a card or passbook run wrote); rows
// the run passed over stay unprinted.
std::string SavingsMarkPrintedSql(const std::string& code, const std::vector<long long>& rowIds);

// One row of the history as the statement gives it.
struct SavingsHistoryRow {
  std::string tgl, sandi, keluar, masuk, id, ref, sts, uraian;
  long long rowId = 0;
};
// The running balance after each row: a row whose Masuk is above 0 adds Masuk, any other row takes Keluar away.
std::vector<long long> SavingsRunningBalances(const std::vector<SavingsHistoryRow>& rows);
// The balance after a transaction: book balance - amount for a direction of 0 or less, else + amount.
long long SavingsNewBalance(long long bookBalance, long long amount, int direction);

// ----- the window -------------------------------------------------------------------------------------------------
// Creates "TRANSAKSI TABUNGAN" (1010 x 562, centred) owned by `owner` and shows it through FrmShow: with `modal` 1
// it returns the form result (0) once the window has closed; otherwise at once with the window.
std::intptr_t FORMTABUNGAN_Show(Hwnd owner, int modal, int userData);
LResult FORMTABUNGAN_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
// Enter released in the code, sandi and amount fields; the left button released over the sandi list.
LResult FORMTABUNGAN_EditProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORMTABUNGAN_CreateControls(Hwnd form);
// Once, when the window is created: history columns, page length 68, shared results emptied, saved flag cleared,
// "Cetak ke Buku Tabungan" chosen; the student picker's hand-over (gFormTabunganLookupStudentHook) set to the lookup.
LResult FORMTABUNGAN_Load(Hwnd form, std::intptr_t userData);

// Handlers, called as (control index, form, control, control id); each returns 0. `form` 0 stands for the newest
// teller window.
// The student of the code field: name, photo "image/<code>.bmp", balance and history; a code that matches no student
// only empties the history.
LResult FORMTABUNGAN_LookupStudent(int index, Hwnd form, Hwnd control, int id);
// What the savings teller hands the student picker it opens: the chosen id written into gFormTabunganIdEdit, then
// gFormTabunganLookupStudentHook (when set) called with (0, gFormTabunganWindow, gFormTabunganIdEdit, 0).
std::function<void(const std::string& id)> FORMTABUNGAN_StudentHandover();
LResult FORMTABUNGAN_OnSandiChange(int index, Hwnd form, Hwnd control, int id);
LResult FORMTABUNGAN_OnAmountChange(int index, Hwnd form, Hwnd control, int id);
// Books the transaction typed. The new row's passbook line follows the student's last history row: when the history
// of the lookup could not be read, "Riwayat tabungan siswa tidak terbaca, transaksi tidak disimpan. Cari ulang
// siswanya.." (caption "Info") and nothing is booked; so is nothing when the balance cannot be read (its "SQL error: "
// box). A withdrawal or charge above the balance is refused ("Saldo tabungan tidak mencukupi..", caption
// "Tabungan.."), before the question and again inside the write, where the balance is counted anew under the write
// lock (another desk may have taken money out while the question stood). Under that lock the balance and the history
// are also read as the file holds them just before the new row: the row takes the line after the student's last row,
// and after the save the book balance and "Saldo Sekarang" fields, the history (the student's rows, this one last)
// and what the slip and the passbook print give the balance the file holds before and after this row.
LResult FORMTABUNGAN_SaveTransaction(int index, Hwnd form, Hwnd control, int id);
LResult FORMTABUNGAN_OnBrowse(int index, Hwnd form, Hwnd control, int id);
// "CETAK": by the print-target combo, passbook (0 and none), card (1) or receipt (2); only after a save.
LResult FORMTABUNGAN_Print(int index, Hwnd form, Hwnd control, int id);
// Key handlers (control index, form, control, key code, key data) and the sandi list's click (index, form, control,
// button state, x, y).
LResult FORMTABUNGAN_OnCodeKeyUp(int index, Hwnd form, Hwnd control, int key, LParam data);
LResult FORMTABUNGAN_OnSandiKeyUp(int index, Hwnd form, Hwnd control, int key, LParam data);
LResult FORMTABUNGAN_OnAmountKeyUp(int index, Hwnd form, Hwnd control, int key, LParam data);
LResult FORMTABUNGAN_OnSandiListClick(int index, Hwnd form, Hwnd control, int buttons, int x, int y);

// Of the newest teller window, on its code field's text.
void FORMTABUNGAN_LoadBalance();
void FORMTABUNGAN_LoadHistory();
// The three prints of the newest teller window.
void FORMTABUNGAN_PrintReceipt();
void FORMTABUNGAN_PrintCard();
void FORMTABUNGAN_PrintPassbook();
