// The save of one payment of the payment window: the receipt stamp and row ids, the money a receipt moves (net,
// savings used, change) and the transaksi rows of one receipt, written in one transaction: every row or none.
//
// A receipt in transaksi:
//   stamp + 1 .. stamp + n   one row per item, in the order of the item list       Sts 'p'
//   stamp + (n+1)            the discount, when there is one: Masuk = 0 - discount  Sts 'p', AcctId 'Disc'
//   stamp + (n+2)            the savings used, when there are any: Keluar = amount  Sts 't', AcctId 'Tabungan', no Ref
// The stamp is 22 digits (school year without "/", gToday without "-", the status-bar clock without ":"), so
// substr(Id,1,22) names one receipt.
#pragma once
#include <string>
#include <vector>

#include "common/handover.h"
#include "common/sql.h"   // FinInsertResult
#include "framework/win.h"

// 1 once the payment shown in the payment window has been saved; loading a student sets it back to 0. The print
// command acts only while it is 1.
extern int gPaymentSaved;

// ----- stamps and ids ------------------------------------------------------------------------------------------------
// The clock text without its ":" ("10:15:30" -> "101530").
std::string PayTimeDigits(const std::string& clock);
// School year without "/" + date without "-" + clock without ":" ("2024/2025", "2024-09-02", "10:15:30" ->
// "2024202520240902101530").
std::string PayReceiptStamp(const std::string& tapel, const std::string& today, const std::string& clock);
// The id of row `rowNumber` (from 1) of a receipt: the stamp and the number in decimal without leading zeros.
std::string PayRowId(const std::string& stamp, int rowNumber);
// The count of stored rows whose id begins with the receipt stamp (the first 22 characters), read through the id index.
std::string PayStampCountSql(const std::string& stamp);

// ----- the money of a receipt (whole rupiah) -------------------------------------------------------------------------
// What the student owes: the items' total less the discount (negative when the discount exceeds the total).
long long PayNet(long long total, long long discount);
// What is taken from the savings: nothing unless "Ambil Tabungan" is ticked; then what the cash does not cover
// (net - paid), never below 0 and never above the balance (a balance below 0 gives nothing).
long long PaySavingsUsed(bool ticked, long long balance, long long net, long long paid);
// The change: cash - (net - savings used). Below 0 the payment falls short.
long long PayChange(long long paid, long long net, long long savingsUsed);
// The savings left after the payment: balance - savings used.
long long PaySavingsLeft(long long balance, long long savingsUsed);
// The amount of a list cell or an edit: its leading number rounded half to even (0 for an empty text).
long long PayAmount(const std::string& text);

// ----- the rows ----------------------------------------------------------------------------------------------------
// One item of the payment window's item list (columns 1 to 4, and its data).
struct PayItem {
  std::string feeId;        // column 1 "Kode"
  std::string name;         // column 2 "Akun Pembayaran"
  long long amount = 0;     // column 3 "Jumlah"
  std::string ledgerCode;   // column 4 "Ref"
  int months = 0;           // the months of a monthly fee it pays (PayItemMonths)
  int instalments = 0;      // the numbered instalments of a yearly fee it pays (PayItemInstalments)
                            // both 0: an amount of what the fee owes
};

// What an item of the payment window's list keeps as its data (LvGetItemData): for months of a monthly fee taken in
// the month chooser, those months (bit 0 July .. bit 11 June) with a mark above them (PayItemData); for numbered
// instalments ("Angsuran") taken in the instalment chooser, their numbers (bit 0 instalment 1 .. bit 9 instalment 10)
// with another mark (PayInstalmentItemData); 0 for an item that pays an amount of what its fee owes (the whole arrears
// or a free amount, "Cicilan"). PayItemMonths and PayItemInstalments give them back (0: none).
LParam PayItemData(int months);
LParam PayInstalmentItemData(int numbers);
int PayItemMonths(LParam data);
int PayItemInstalments(LParam data);

struct PaySaveInput;
// What the items of a receipt take against their fees, as the file holds it at the moment of the save: an item that
// pays an amount may pay no more than its fee still owes (FinFeeStandingOwed, payments/arrears.h); an item of months
// may pay none of its months that the student's payments on the fee now cover (the month chooser's walk,
// FinMonthChooserWalk) and no more than those months now bill; an item of numbered instalments may pay none that the
// instalment chooser would now show paid (FinInstalmentAngsuranRows over the stored payments whose description holds
// "Angsuran") and no more than those instalments bill, nor more than the fee still owes. Items of one fee are counted
// in list order, each after those before it (as a stored row: its amount paid on the fee, and an instalment payment
// when its description would hold "Angsuran"). A failed read is reported as FinExec reports it (its box waits for the
// end of the save's transaction) and gives false. `refusal` gets one line per item beyond its fee ("<name> : Jumlah
// pembayaran melebihi sisa tagihan, sisa tagihan : X..", "<name> : Bulan Juli, Agustus sudah lunas.." or "<name> :
// Angsuran 1, 2, 3 sudah lunas.."), lines joined by "\r"; empty when every item is within.
bool PayItemsWithinTheirFees(const PaySaveInput& in, int prepaid, std::string* refusal);
// The box of a payment refused for PayItemsWithinTheirFees: "Pembayaran tidak disimpan, sisa tagihan sudah berubah:"
// and the lines, each on a line of its own.
std::string PayBeyondTheFeesText(const std::string& lines);

// Everything one save needs.
struct PaySaveInput {
  std::string stamp;          // PayReceiptStamp
  std::string today;          // gToday
  std::string studentId;      // the id edit
  std::string studentName;    // the name edit
  std::string paymentOption;  // "CASH" or a bank account's "Kode Deskripsi"
  std::string operatorName;   // status-bar part 1
  std::vector<PayItem> items; // in list order
  long long discount = 0;     // "Potongan"
  long long savingsUsed = 0;  // PaySavingsUsed
};

// One transaksi row; `hasRef` false leaves Ref out of the INSERT (NULL).
struct PayRow {
  std::string id, tgl, uraian, acctid, siswaid;
  long long masuk = 0, keluar = 0;
  std::string petugas, sts, jenjang, ref;
  bool hasRef = true;
};

// The description (transaksi.Uraian) an item is stored with: its name, followed directly by "An. " + the student's
// name when the option is not "CASH".
std::string PayItemDescription(const PaySaveInput& in, const PayItem& item);

// The rows of one receipt in the order they are written: the items from the last to the first (ids stamp+n down to
// stamp+1), the discount row when the discount is above 0 (stamp+(n+1)), the savings row when savings are used
// (stamp+(n+2)). An item's Uraian is its name, followed directly by "An. " + the student's name when the option is
// not "CASH"; its Ref the first 15 characters of its ledger code for "CASH", else the first 3 characters of the option
// (the bank account's Kode). Without items there are no rows at all (no discount or savings row of nothing).
std::vector<PayRow> PayReceiptRows(const PaySaveInput& in);
// The INSERT of a row, every value quoted.
std::string PayInsertSql(const PayRow& row);

// The first `n` characters of a UTF-8 text (a character is never cut in half).
std::string PayLeftChars(const std::string& text, std::size_t n);

// The INSERTs of the rows, in order.
std::vector<std::string> PayInsertStatements(const std::vector<PayRow>& rows);

// Writes the rows in one transaction. The first failing statement shows "SQL error: " + SQLite's message (caption
// "Info") and undoes everything written before it. True when every row was written.
bool PayWriteRows(const std::vector<PayRow>& rows);

// What a receipt's save says when its stamp already names a stored receipt (PayStampCountSql counted rows inside the
// write: a save in the same second): "Nomor transaksi sudah dipakai, silahkan simpan ulang.." (caption
// "Pembayaran..").
void PayRefuseTakenStamp();

// ----- the save command ------------------------------------------------------------------------------------------
// The payment window's save ("Simpan Pembayaran", menu "Simpan", F12); acts only while the window's save button is
// enabled. Reads the window: the items, the student, the option, "Potongan", "Dibayar Tunai", "Ambil Tabungan" and
// the student's stored savings balance. An empty item list shows "Belum ada item pembayaran, tidak ada yang
// disimpan.." and a discount above the items' total "Potongan melebihi total pembayaran.." (both caption "Info"); both
// write nothing. A payment that the cash and the savings do not cover shows "Nilai pembayaran tidak mencukupi.."
// (caption "Pembayaran..") and writes nothing; so does one whose savings taken are no longer covered by the balance
// read again inside the write (another desk took money out after the read); a saved payment shows that balance. A stamp that already names a stored
// receipt (a save in the same second) shows "Nomor transaksi sudah dipakai, silahkan simpan ulang.." and writes
// nothing; so does, with PayBeyondTheFeesText (caption "Info"), a receipt whose items another desk's payment has left
// beyond what their fees owe (PayItemsWithinTheirFees, counted inside the write); the items stay in the window. A
// failing statement shows "SQL error: " and writes nothing. Otherwise the rows are written, gLastKey set,
// the save button disabled, the print button enabled, gPaymentSaved = 1 and "Pembayaran berhasil disimpan.." shown.
// Returns 0.
LResult FORMBAYAR_SavePayment(int index = 0, Hwnd form = 0, Hwnd control = 0, int id = 0);
