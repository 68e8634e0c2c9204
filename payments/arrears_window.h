// FORMTUNGGAKAN "Tagihan Tunggakan Pembayaran": the modal window over the payment window that lists, fee by fee, what
// the student of the payment window's id edit still owes in one school year, lets the cashier turn a fee into chosen
// months or instalments (payments/month_chooser.h, payments/instalment_chooser.h), prints, archives or copies the
// bill (payments/arrears_bill.h), and puts the ticked rows into the payment window's item list ("Sisip"), the only
// way items get there. The arrears themselves are computed by payments/arrears.h.
#pragma once
#include <cstdint>
#include <string>

#include "framework/win.h"

// The window while it exists, else 0, and its controls (valid while it exists).
extern Hwnd gFormTunggakanWindow;
extern Hwnd gFormTunggakanList;           // the arrears list (eight columns, see below)
extern Hwnd gFormTunggakanTapelCombo;     // "Tahun Ajaran": gTapel and the five school years before it
extern Hwnd gFormTunggakanRekeningCombo;  // "Di pos kan ke rekening": income accounts, for an earlier school year
extern Hwnd gFormTunggakanTotalLabel;     // "Jumlah Tunggakan : " + the loaded total with "." separators
extern Hwnd gFormTunggakanCopyButton, gFormTunggakanArchiveButton, gFormTunggakanChangeButton,
    gFormTunggakanRekeningLabel, gFormTunggakanPrintButton, gFormTunggakanTapelLabel, gFormTunggakanSisipButton,
    gFormTunggakanBatalButton, gFormTunggakanHeading, gFormTunggakanHeaderGroup, gFormTunggakanIcon,
    gFormTunggakanSubHeading;
// Control ids, 1000 upwards in creation order; "Batal" is 2, so that Esc acts as "Batal".
extern int gFormTunggakanCopyButtonId, gFormTunggakanArchiveButtonId, gFormTunggakanChangeButtonId,
    gFormTunggakanRekeningComboId, gFormTunggakanRekeningLabelId, gFormTunggakanTotalLabelId,
    gFormTunggakanPrintButtonId, gFormTunggakanTapelComboId, gFormTunggakanTapelLabelId, gFormTunggakanSisipButtonId,
    gFormTunggakanListId, gFormTunggakanBatalButtonId, gFormTunggakanHeadingId, gFormTunggakanHeaderGroupId,
    gFormTunggakanIconId, gFormTunggakanSubHeadingId;
void FORMTUNGGAKAN_InitControlIds();

// Columns of the arrears list. Hidden columns (width 0) still carry what the choosers, "Sisip" and the bill read. Each
// row's data (LvGetItemData) is what the fee still owed when the list was loaded, in whole rupiah: the choosers
// rewrite "Jumlah" but never pay above it (FORMTUNGGAKAN_RowOwed).
enum FormTunggakanColumn : int {
  kTunggakanColNo = 0,         // "No."         row number
  kTunggakanColId = 1,         // "Id"          account.Id
  kTunggakanColName = 2,       // "Pembayaran"  the fee's name (+ " Kls:" class " " year for an earlier year)
  kTunggakanColAmount = 3,     // "Jumlah"      what is still owed, as the statement gives it
  kTunggakanColType = 4,       // "Type"        'Perbulan' / 'Pertahun'
  kTunggakanColRef = 5,        // "RefRekening" the fee's ledger code
  kTunggakanColMonths = 6,     // "nBln"        always "0"
  kTunggakanColYearly = 7,     // "temp"        detail_account.jml_pembayaran
};

// What the fee of arrears row `row` still owed when the list was loaded (whole rupiah; 0 for no such row).
long long FORMTUNGGAKAN_RowOwed(int row);
// What a chooser took for arrears row `row`, as the payment item's data: the months of a monthly fee (PayItemData) or
// the numbered instalments of a yearly one (PayInstalmentItemData); 0 when the row pays an amount of what the fee
// owes. "Sisip" hands it on with the item, so that the save pays no month or instalment that another desk has paid
// since the chooser offered it. Forgotten when the list loads again.
void FORMTUNGGAKAN_SetRowItemData(int row, LParam data);
LParam FORMTUNGGAKAN_RowItemData(int row);

// ----- the window -----------------------------------------------------------------------------------------------
// Creates the window ("Form4", 637 x 527, a popup without title bar, centred) owned by `parent` and shows it, modal
// when `modal` is 1 (the payment window always asks that, passing itself and user data 0). Returns the form
// runtime's result (the result word when modal); 0 when no window was made.
std::intptr_t FORMTUNGGAKAN_Show(Hwnd parent, int modal, int userData);
LResult FORMTUNGGAKAN_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORMTUNGGAKAN_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORMTUNGGAKAN_CreateControls(Hwnd form);
// Fills the school-year combo (gTapel selected), makes the list's columns, fills the posting-account combo (last
// item selected, disabled) and loads the arrears. Returns 0.
LResult FORMTUNGGAKAN_Init(Hwnd form, std::intptr_t userData);

// Rebuilds the list and the total label for the chosen school year and the student of gFormBayarIdEdit.
void FORMTUNGGAKAN_LoadArrears();
// Row callbacks: a posting account into its combo; an arrears row into the list (adding to the running total).
int FORMTUNGGAKAN_OnRekeningRow(void* user, int columnCount, char** values, char** names);
int FORMTUNGGAKAN_OnArrearsRow(void* user, int columnCount, char** values, char** names);

// Handlers (control-array index, form, control, control id). Each returns 0.
// A school year chosen: the posting-account combo is enabled (last item selected) only for an earlier year; reload.
LResult FORMTUNGGAKAN_OnTapelChange(int index, Hwnd form, Hwnd control, int id);
// "Ubah Nilai Pembayaran": the marked row, when its amount is above 0, goes to the month chooser (Type "Perbulan")
// or to the instalment chooser (any other type), modally over this window.
LResult FORMTUNGGAKAN_ChangeAmount(int index, Hwnd form, Hwnd control, int id);
// "Sisip": the ticked rows appended to gFormBayarItemList, the payment window's totals set, this window closed. A fee
// already in the item list is not appended again ("Tagihan yang sudah ada di daftar pembayaran tidak disisipkan
// lagi..") and a row owing 0 or less is not appended ("Tagihan dengan nilai 0 atau kurang tidak dapat disisipkan..");
// each box (caption "Info") shows once, before the window closes.
LResult FORMTUNGGAKAN_InsertIntoPayment(int index, Hwnd form, Hwnd control, int id);
// "Cetak": FORMTUNGGAKAN_PrintBill.
LResult FORMTUNGGAKAN_OnPrint(int index, Hwnd form, Hwnd control, int id);
// "Batal": closes with result 0.
LResult FORMTUNGGAKAN_OnCancel(int index, Hwnd form, Hwnd control, int id);

// The three outputs of the bill (payments/arrears_bill.h has their layouts).
// Prints the bill on the default printer (document "Struk", gStrukFont 12 points, one page).
void FORMTUNGGAKAN_PrintBill();
// Writes <program folder>/arsip/tunggakan_<name>_<class>_<gToday>.txt and confirms "File arsip tunggakan berhasil
// dibuat.." (caption "Info") once it is written. Returns 0.
LResult FORMTUNGGAKAN_ArchiveBill(int index, Hwnd form, Hwnd control, int id);
// Puts the messaging text on the clipboard. Returns 0.
LResult FORMTUNGGAKAN_CopyToWhatsApp(int index, Hwnd form, Hwnd control, int id);

