// FORMBAYAR "Pembayaran Siswa": the cashier's modal window for one payment of one student. The operator types or
// scans the student's id (or picks the student, F1), brings the items in from the arrears window (F9, its "Sisip"),
// may remove an item, enters a discount and the cash paid, may take money from the savings (F3), saves (F12,
// payments/payment_save.h) and prints (payments/receipt_print.h). The change and the amount in words follow every
// keystroke.
//
// Other windows read and write its controls through the globals below while it is open (they are opened modally
// over it): the arrears window appends rows to gFormBayarItemList and sets the totals; the receipts read the student,
// the items, the totals, the savings fields and the print choices; the revision window and the choosers read the id.
// Every global is 0 while the window does not exist (gFormBayarWindow, gFormBayarIdEdit and
// gFormBayarPrintChoiceCombo live in payments/payment_globals.h).
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "common/receipt_settings_window.h"
#include "framework/win.h"
#include "payments/payment_globals.h"
#include "payments/payment_save.h"   // gPaymentSaved, gLastKey, the save command

// ----- the controls (creation order) -------------------------------------------------------------------------------
extern Hwnd gFormBayarCopy2WACheck;        //  1 "Copy2WA": copy the messaging text when printing
extern Hwnd gFormBayarGearButton;          //  2 receipt settings (IMAGE_GEAR)
extern Hwnd gFormBayarArchiveCheck;        //  3 "Arsip": archive the receipt when printing
extern Hwnd gFormBayarPaymentCombo;        //  4 "CASH", then "Kode Deskripsi" of each bank account of gTapel
extern Hwnd gFormBayarPrintButton;         //  5 print (IMAGE_PRINTER); enabled once the payment is saved
extern Hwnd gFormBayarWordsLabel;          //  6 the amount in words
extern Hwnd gFormBayarRemoveButton;        //  7 remove the marked item (IMAGE_CLOSEBUTTON4)
extern Hwnd gFormBayarIdHintLabel;         //  8 "<= Scan/Ketik Id disini"
//                                              9 gFormBayarPrintChoiceCombo (payment_globals.h): the receipt layout
//                                             10 gFormBayarIdEdit (payment_globals.h): the student id
extern Hwnd gFormBayarPhoto;               // 11 the student's photo, 130 x 150
extern Hwnd gFormBayarKategoriEdit;        // 12 the student's category
extern Hwnd gFormBayarSaveButton;          // 13 save (IMAGE_DISK_BLUE)
extern Hwnd gFormBayarAmountDisplay;       // 14 the large display: the cash paid, or the change when there is one
extern Hwnd gFormBayarPaidEdit;            // 15 "Dibayar Tunai"
extern Hwnd gFormBayarChangeEdit;          // 16 "Kembali"
extern Hwnd gFormBayarNetEdit;             // 17 "Total setelah potongan"
extern Hwnd gFormBayarTotalEdit;           // 18 "Total"
extern Hwnd gFormBayarDiscountEdit;        // 19 "Potongan"
extern Hwnd gFormBayarTotalLabel, gFormBayarChangeLabel;                        // 20, 21
extern Hwnd gFormBayarTotalsFrame;                                              // 22
extern Hwnd gFormBayarPaidLabel, gFormBayarDiscountLabel, gFormBayarNetLabel;   // 23-25
extern Hwnd gFormBayarPickerButton;        // 26 the student picker (IMAGE_CUSTOMERS)
extern Hwnd gFormBayarRevisiButton;        // 27 "REVISI PEMBAYARAN [F11]"
extern Hwnd gFormBayarSavingsCheck;        // 28 "Ambil Tabungan [F3]"
extern Hwnd gFormBayarArrearsButton;       // 29 "TAGIHAN TUNGGAKAN [F9]"
extern Hwnd gFormBayarSavingsBalanceEdit;  // 30 "Saldo Tabungan": the stored balance before the payment
extern Hwnd gFormBayarSavingsLeftLabel, gFormBayarSavingsBalanceLabel;          // 31 "Saldo Sekarang", 32
extern Hwnd gFormBayarItemList;            // 33 the items: Nomer, Kode, Akun Pembayaran, Jumlah, Ref, Type
extern Hwnd gFormBayarSavingsFrame;        // 34 "Tabungan"
extern Hwnd gFormBayarSavingsLeftEdit;     // 35 "Saldo Sekarang": the balance after the payment
extern Hwnd gFormBayarKelasEdit;           // 36 the student's class
extern Hwnd gFormBayarKelasLabel;          // 37
extern Hwnd gFormBayarNamaEdit;            // 38 the student's name
extern Hwnd gFormBayarStudentFrame;        // 39 "Siswa"
extern Hwnd gFormBayarIdLabel, gFormBayarNamaLabel;                             // 40, 41
extern Hwnd gFormBayarSubtitleLabel, gFormBayarHeaderIcon, gFormBayarHeaderFrame, gFormBayarTitleLabel;   // 42-45

// Control ids: 1000 upwards in creation order (gFormBayarPrintChoiceComboId 1008, gFormBayarIdEditId 1009, ...).
extern int gFormBayarCopy2WACheckId, gFormBayarGearButtonId, gFormBayarArchiveCheckId, gFormBayarPaymentComboId,
    gFormBayarPrintButtonId, gFormBayarWordsLabelId, gFormBayarRemoveButtonId, gFormBayarIdHintLabelId,
    gFormBayarPrintChoiceComboId, gFormBayarIdEditId, gFormBayarPhotoId, gFormBayarKategoriEditId,
    gFormBayarSaveButtonId, gFormBayarAmountDisplayId, gFormBayarPaidEditId, gFormBayarChangeEditId,
    gFormBayarNetEditId, gFormBayarTotalEditId, gFormBayarDiscountEditId, gFormBayarTotalLabelId,
    gFormBayarChangeLabelId, gFormBayarTotalsFrameId, gFormBayarPaidLabelId, gFormBayarDiscountLabelId,
    gFormBayarNetLabelId, gFormBayarPickerButtonId, gFormBayarRevisiButtonId, gFormBayarSavingsCheckId,
    gFormBayarArrearsButtonId, gFormBayarSavingsBalanceEditId, gFormBayarSavingsLeftLabelId,
    gFormBayarSavingsBalanceLabelId, gFormBayarItemListId, gFormBayarSavingsFrameId, gFormBayarSavingsLeftEditId,
    gFormBayarKelasEditId, gFormBayarKelasLabelId, gFormBayarNamaEditId, gFormBayarStudentFrameId,
    gFormBayarIdLabelId, gFormBayarNamaLabelId, gFormBayarSubtitleLabelId, gFormBayarHeaderIconId,
    gFormBayarHeaderFrameId, gFormBayarTitleLabelId;
void FORMBAYAR_InitControlIds();

// Menu FORMBAYAR_TOPMENU: "Fungsi Aksi" (6000) with these items; accelerators F8, F9, F11, F12, F1, F3 in this order.
enum : int {
  IDM_FORMBAYAR_FUNGSI = 6000,
  IDM_FORMBAYAR_SETTING_STRUK = 6001,       // "Setting Struk\tF8"
  IDM_FORMBAYAR_TUNGGAKAN = 6002,           // "Tagihan Tunggakan\tF9"
  IDM_FORMBAYAR_REVISI = 6003,              // "Revisi\tF11"
  IDM_FORMBAYAR_SIMPAN = 6004,              // "Simpan\tF12"
  IDM_FORMBAYAR_BROWSE_SISWA = 6005,        // "Browse Siswa\tF1"
  IDM_FORMBAYAR_TABUNGAN = 6006,            // "Tabungan\tF3"
};

// Item list columns.
enum : int {
  kFormBayarColNomer = 0, kFormBayarColKode = 1, kFormBayarColNama = 2, kFormBayarColJumlah = 3,
  kFormBayarColRef = 4, kFormBayarColType = 5,
};

// The six receipt layouts of "Pilihan Cetak", in order (the index is the layout).
extern const char* const kFormBayarPrintChoices[6];

// ----- what the window computes --------------------------------------------------------------------------------------
// The amount in words of the large display: FinSpellNumber of the amount (a single blank for 0, the empty text from
// 1,000,000,000 up); a negative amount (a discount above the total) reads " minus" followed by the words of its size.
std::string FORMBAYAR_Words(long long amount);
// What the large display shows: the cash paid while the change is 0 or below, else the change.
long long FORMBAYAR_DisplayAmount(long long paid, long long change);
// The sum of the "Jumlah" column of the item list, each cell's leading number rounded half to even and added.
long long FORMBAYAR_ItemsTotal();
// The statements of the window.
std::string FORMBAYAR_StudentSql(const std::string& id, const std::string& tapel);
std::string FORMBAYAR_SavingsBalanceSql(const std::string& id);
std::string FORMBAYAR_BankAccountsSql(const std::string& tapel);

// ----- the window ------------------------------------------------------------------------------------------------
// Creates the window (1010 x 539, centred) owned by `parent` and shows it through FrmShow; callers pass (gMdiClient or
// the payment list, 1, 0) and get the form result once it has closed. While the window exists
// gFormBayarLoadStudentHook is FORMBAYAR_LoadStudent.
std::intptr_t FORMBAYAR_Show(Hwnd parent, int modal, int userData);
LResult FORMBAYAR_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORMBAYAR_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORMBAYAR_CreateControls(Hwnd form);
// The item columns, the layout list on gStrukDefaultType, the payment options on "CASH"; returns 0.
LResult FORMBAYAR_Init(Hwnd form, std::intptr_t userData);
// The menu commands 6001-6006 (menu or accelerator); 1 when the id was one of them, else 0.
int FORMBAYAR_OnMenuCommand(Hwnd form, int id);

// Loads the student whose id stands in gFormBayarIdEdit (the text as it is): the item list emptied, name, class and
// category of gTapel, photo "image/<id>.bmp", the savings balance, the save button enabled and the totals "0". An id
// that matches no student of gTapel leaves the fields empty, the balance "0", no photo and the save button disabled.
// Either way a new payment starts: gPaymentSaved = 0, the print button disabled, "Ambil Tabungan [F3]" unticked.
// Handler signature; returns 0.
LResult FORMBAYAR_LoadStudent(int index = 0, Hwnd form = 0, Hwnd control = 0, int id = 0);
// What the payment window hands the student picker it opens: the chosen id written into gFormBayarIdEdit, then
// gFormBayarLoadStudentHook (when set) called with (0, gFormBayarWindow, gFormBayarIdEdit, 0).
std::function<void(const std::string& id)> FORMBAYAR_StudentHandover();
// What it hands the receipt settings window: the entries of gFormBayarPrintChoiceCombo (none while the window is
// closed), and a default layout chosen there selected in that list at once.
Form23LayoutList FORMBAYAR_ReceiptLayoutList();
// Row callback of the student statement.
int FORMBAYAR_OnStudentRow(void* user, int columnCount, char** values, char** names);
// The stored savings balance of the student in the id edit into "Saldo Tabungan" ("0" when none).
void FORMBAYAR_LoadSavingsBalance();
// The stored savings balance of a student (0 when none); false when the statement failed (its box shown).
bool FORMBAYAR_StoredSavingsBalance(const std::string& studentId, long long* balance);

// "Potongan" changed: net := Total - Potongan, "Dibayar Tunai" := net (its handler runs), change, display, words.
LResult FORMBAYAR_OnDiscountChange(int index = 0, Hwnd form = 0, Hwnd control = 0, int id = 0);
// "Dibayar Tunai" changed: the savings used, "Saldo Sekarang", "Kembali", the display with its colours, the words.
LResult FORMBAYAR_OnPaidChange(int index = 0, Hwnd form = 0, Hwnd control = 0, int id = 0);
// "Ambil Tabungan [F3]" clicked. Ticked: "Dibayar Tunai" becomes what the balance does not cover (the focus goes
// there when the balance is short), "Saldo Sekarang" what is left. Unticked: the amounts follow (cash unchanged).
LResult FORMBAYAR_OnSavingsToggle(int index = 0, Hwnd form = 0, Hwnd control = 0, int id = 0);
// The remove button: asks, then deletes the marked item and resets the totals to the remaining items.
LResult FORMBAYAR_RemoveItem(int index = 0, Hwnd form = 0, Hwnd control = 0, int id = 0);
