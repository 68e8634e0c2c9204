// FORM27 "Pembayaran Per Kelas": the modal window that records the payment of one yearly fee ('Pertahun') of the
// working school year for many students of a class at once. The operator picks a class and one of its yearly fees,
// sees each student with what is still owed on the fee (every student picked at first; a click on a row toggles its
// pick mark "v"), copies the picked students into the chosen list ("Pilih Siswa "), saves one payment row per chosen
// student ("Simpan") - all rows in one transaction under one receipt stamp followed by the row number, so that the
// whole run groups as one receipt - prints one receipt per saved student ("Cetak struk") and prints the student list
// as an HTML page ("Cetak Daftar"). The id of the fee last chosen is left in gFormMode.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "framework/win.h"

// The window while it exists, else 0; its controls (in creation order).
extern Hwnd gForm27Window;
extern Hwnd gForm27Note, gForm27RefLabel, gForm27PrintListButton, gForm27RefCaption, gForm27PrintReceiptsButton,
    gForm27CloseButton, gForm27SaveButton, gForm27KelasCombo, gForm27FeeCombo, gForm27PickButton, gForm27ChosenList,
    gForm27StudentList, gForm27KelasCaption, gForm27TotalEdit, gForm27WordsLabel, gForm27FeeCaption, gForm27Icon,
    gForm27Header, gForm27Title, gForm27Subtitle;
// Control ids (1000 upwards in creation order).
extern int gForm27NoteId, gForm27RefLabelId, gForm27PrintListButtonId, gForm27RefCaptionId,
    gForm27PrintReceiptsButtonId, gForm27CloseButtonId, gForm27SaveButtonId, gForm27KelasComboId, gForm27FeeComboId,
    gForm27PickButtonId, gForm27ChosenListId, gForm27StudentListId, gForm27KelasCaptionId, gForm27TotalEditId,
    gForm27WordsLabelId, gForm27FeeCaptionId, gForm27IconId, gForm27HeaderId, gForm27TitleId, gForm27SubtitleId;

// Columns of the two lists.
enum Form27StudentColumn { kForm27StudentId = 0, kForm27StudentName = 1, kForm27StudentAmount = 2, kForm27Pick = 3 };
enum Form27ChosenColumn { kForm27ChosenId = 0, kForm27ChosenName = 1, kForm27ChosenAmount = 2, kForm27ChosenSts = 3 };

// ----- what the window computes ---------------------------------------------------------------------------------
// A fee item of the fee combo ("<id>; <name>") taken apart: the id is the text before the first ";", the name the
// text from two characters after it. An item without ";" is all id and no name.
struct Form27Fee {
  std::string id;
  std::string name;
};
Form27Fee FORM27_SplitFeeItem(const std::string& item);
// What a student still owes: the yearly amount billed minus what was paid on the fee (texts as the queries return
// them, empty or NULL counting 0), in whole rupiah.
long long FORM27_Owed(const std::string& billed, const std::string& paid);
// What a chosen row pays: what it shows, never above what is still owed; 0 (left out) when nothing is owed.
long long FORM27_Paying(long long shown, long long owed);
// One chosen row: its student, name and the amount it showed when "Simpan" was pressed.
struct Form27Chosen {
  std::string id, name;
  long long amount = 0;
};
// What the clerk is told of the rows a save pays otherwise than shown (`paying` from FORM27_Paying, row by row):
// "Pembayaran siswa berikut tidak sesuai daftar, sisa tagihan sudah berubah:" and one line per such row, "<id> <name> :
// dibayar Rp.X dari Rp.Y.." or "<id> <name> : tidak dibayar, sisa tagihan Rp.0.."; the empty text when every row
// pays what it shows.
std::string FORM27_NotPaidAsShownText(const std::vector<Form27Chosen>& chosen, const std::vector<long long>& paying);
// The sum of the chosen rows' amounts (texts, each read as whole rupiah).
long long FORM27_Total(const std::vector<std::string>& amounts);
// The amount in words as the window shows and prints it: FinSpellNumber for 0 to 999,999,999; the empty text beyond
// that range and below 0.
std::string FORM27_Words(long long amount);
// The receipt stamp of a save, the payment window's (PayReceiptStamp): the school year without "/", the date without
// "-" and the time "HH:mm:ss" without ":" (22 characters for well-formed texts). The row ids are the stamp followed by
// 1, 2, ...
std::string FORM27_Stamp(const std::string& tapel, const std::string& today, const std::string& time);
// One payment row of a save.
struct Form27PaymentRow {
  std::string id, tgl, uraian, acctId, siswaId;
  long long masuk = 0;
  std::string petugas, ref;
};
std::string FORM27_InsertSql(const Form27PaymentRow& row);

// What one class payment receipt shows.
struct Form27Receipt {
  std::string schoolName, schoolAddress, schoolPhone, schoolEmail;
  std::string name, kelas, feeName;
  std::string amount;   // the chosen row's "Jumlah" text
  std::string date;     // printing date "dd-mm-yyyy"
  std::string time;     // the clock text "HH:mm:ss"
  std::string operatorName;
};
// The 18 lines of the receipt; element k - 1 is line k (drawn at x = 10, y = k x step); line 16 is empty.
std::vector<std::string> FORM27_ReceiptLines(const Form27Receipt& receipt);
// The line step of the receipts: 150 page units while gPrinterKind is below 1, else 300.
int FORM27_ReceiptStep(int printerKind);

// ----- the window -----------------------------------------------------------------------------------------------
// Creates the window (1011 x 538, centred) and runs it modally over `parent` (the main window's MDI client; modal
// 1, parameter 0); returns 0 when it closes.
std::intptr_t FORM27_Show(Hwnd parent, int modal, int userData);
LResult FORM27_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
// The controls' subclass procedure: the left button released over the student list runs FORM27_TogglePick.
LResult FORM27_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORM27_CreateControls(Hwnd form);
// The columns of both lists, the classes of gTapel (no 'DO', no graduates), the first class shown; no fee loaded.
LResult FORM27_Init(Hwnd form, std::intptr_t userData);

// Handlers; each returns 0.
LResult FORM27_OnKelasChange(Hwnd form);    // the class's yearly fees into the fee combo; student list emptied
// A fee chosen: its posting account, the students and what they owe. A failing read shows its "SQL error: " box; the
// students whose paid sum was not read show no amount, and the save of this choice stores nothing.
LResult FORM27_LoadStudents(Hwnd form);
LResult FORM27_TogglePick(Hwnd form);       // the marked student's pick mark "v" on or off
// "Pilih Siswa ": the picked students that still owe something (an amount above 0) into the chosen list, "Unsaved",
// and their total; a student owing 0 or less is left out (no row, no receipt), and a student listed twice (two class
// rows in the year) is chosen once.
LResult FORM27_PickStudents(Hwnd form);
// "Simpan": one row per chosen student in one transaction, ids = the stamp (status-bar clock; the computer's clock
// when the status bar shows none) + the row number. All written: every row "Saved", "Simpan" disabled, "Cetak struk"
// enabled, "Proses penyimpanan selesai..". A failing row: its "SQL error: " box, nothing stored, every row "Failed",
// "Simpan" stays for another try. Without a chosen fee (a class change empties the fee combo) nothing is written and
// "Pilih akun pembayaran terlebih dahulu.." (caption "Info") says why. A stamp that already names a stored receipt (a
// run in the same second as an earlier save) is refused as the payment window refuses it:
// "Nomor transaksi sudah dipakai, silahkan simpan ulang.." (caption "Pembayaran.."), nothing written, the rows stay
// "Unsaved". The boxes show once the transaction has ended. When a read of the fee choice failed (the posting code, the
// students, a student's paid sum) nothing is written and kForm27NotRead says so; an empty chosen list (nobody left to
// pay) writes nothing and kForm27NobodyToPay says so (both caption "Info"); the buttons keep their state.
// What each chosen student still owes (the bill less what was paid) is read again inside the write (FinReadFeeStanding): another desk may have taken a
// payment of the fee since the class was loaded. A student is paid at most what is still owed (FORM27_Paying); one who
// owes nothing now is left out (row "Unsaved", amount 0, no receipt). The rows show what was stored, the total
// follows, and after the closing box FORM27_NotPaidAsShownText names the students not paid as shown. When nobody owes
// anything any more nothing is written and kForm27NobodyToPay says so before that list.
LResult FORM27_SavePayments(Hwnd form);
extern const char* const kForm27NotRead;
extern const char* const kForm27NobodyToPay;
// "Cetak struk": one receipt (document "Struk") per chosen row marked "Saved".
LResult FORM27_PrintReceipts(Hwnd form);
LResult FORM27_PrintList(Hwnd form);        // "Cetak Daftar"

// Row callbacks: a class into the class combo; a fee item into the fee combo; a student row into the student list.
int FORM27_OnKelasRow(void* user, int columnCount, char** values, char** names);
int FORM27_OnFeeRow(void* user, int columnCount, char** values, char** names);
int FORM27_OnStudentRow(void* user, int columnCount, char** values, char** names);
