// The import window "Copy Paste Data": rows copied from one of the prepared spreadsheet templates are pasted into a
// list and saved into the database. The mode text in gFormMode, set by the opener, decides what the rows are:
// "Siswa" (students and their class in gTapel), "Rekening" (ledger accounts of gTapel) or "Akun" (fees of the fee
// list's class in gTapel); any other mode imports nothing. Every row is checked against the database first; its
// result is shown in the list's last column.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "framework/win.h"

// The window while it exists, else 0; its controls.
extern Hwnd gFormImportWindow;
extern Hwnd gFormImportRekeningCombo, gFormImportRekeningLabel, gFormImportTutupButton, gFormImportKategoriLabel,
    gFormImportKategoriEdit, gFormImportSimpanButton, gFormImportJurusanLabel, gFormImportJurusanEdit,
    gFormImportKelasCombo, gFormImportKelasLabel, gFormImportList, gFormImportPasteButton, gFormImportFormatLabel;
// Control ids (1000 upwards in design order).
extern int gFormImportRekeningComboId, gFormImportRekeningLabelId, gFormImportTutupButtonId,
    gFormImportKategoriLabelId, gFormImportKategoriEditId, gFormImportSimpanButtonId, gFormImportJurusanLabelId,
    gFormImportJurusanEditId, gFormImportKelasComboId, gFormImportKelasLabelId, gFormImportListId,
    gFormImportPasteButtonId, gFormImportFormatLabelId;
// Gives the control-id globals their numbers (part of the start-up's id assignment).
void FORMIMPORT_InitControlIds();

// ----- what the import computes ---------------------------------------------------------------------------------
// The rows of pasted spreadsheet text: each row ends with a carriage return; the line feed that follows a carriage
// return is not part of the next row; the text after the last carriage return is a row too (a copy without a final
// line break loses no row). A cell in double quotes
// (as a spreadsheet puts a cell that holds a line break) is part of its row whatever it holds, a carriage return
// included. A row that is empty or holds only TABs and blanks is left out; NUL bytes are dropped first.
std::vector<std::string> FORMIMPORT_PastedRows(const std::string& clipboardText);
// Cell k (1-based) of a pasted row, cells separated by TAB; the empty text when the row has fewer cells. A cell that
// begins with a double quote and ends with one (right before its TAB or the end of the row) is given without them,
// "" read as one quote: "O""Neil" -> O"Neil; TABs and line breaks between its quotes belong to the cell.
std::string FORMIMPORT_Cell(const std::string& row, int k);
// Every "'" replaced by "`", so that no quote of a pasted or typed text ends up in the database.
std::string FORMIMPORT_Clean(const std::string& text);
// A birth-date cell as "yyyy-mm-dd". Accepted: yyyy-mm-dd and yyyy/mm/dd; day, month, year separated by "/", "-" or
// "." (day first; month first when the day-first reading is no date), two-digit years 00-29 as 20xx, 30-99 as 19xx;
// "12 Januari 2010" / "12 Jan 2010" with Indonesian or English month names; a time after the date is ignored.
// Any other text is the date number 0: "1899-12-30", so is a text longer than any date with its time can be.
std::string FORMIMPORT_DateText(const std::string& cell);
// A ledger-account code as the import stores it: the last three characters of "000" + cell ("7" -> "007").
std::string FORMIMPORT_KodeText(const std::string& cell);
// The number the "Akun" list shows for the n-th pasted fee: "BR-" + the first four characters of gTapel + n in four
// digits ("BR-20240003").
std::string FORMIMPORT_AkunDisplayId(const std::string& tapel, int n);
// The id an imported fee is stored with: "BR-" + the class without blanks + the first four characters of the school
// year + number in (at least) four digits ("X IPA", "2023/2024", 3 -> "BR-XIPA20230003").
std::string FORMIMPORT_AkunId(const std::string& kelas, const std::string& tapel, int number);
// A pasted fee amount in whole rupiah, read as every typed or pasted amount is (FinReadAmount: "150.000",
// "1,500,000", "Rp 75.000"); an empty or blank cell is 0. False (amount 0) for a text that is no amount of whole
// rupiah ("abc", "12.5", "Rp 1.250.000,50"): the save refuses that row.
bool FORMIMPORT_Amount(const std::string& cell, long long& amount);
// The box of an "Akun" save in which some row's amount was no positive amount of whole rupiah (those rows are not
// written; their result reads "Gagal di input, Jumlah tidak valid..").
extern const char* const kFormImportBadAmounts;
// The box of a "Rekening" save that refused `refused` rows because their code already names an account of the school
// year `tapel` (stored before, or saved from a row above them): "3 rekening tidak disimpan, Kode sudah dipakai
// rekening lain di tahun ajaran 2024/2025..".
std::string FORMIMPORT_CodeTakenText(int refused, const std::string& tapel);
// The summary box texts of the "Siswa" save: `what` is "siswa" or "siswa kelas".
std::string FORMIMPORT_SummaryText(const std::string& what, int total, int notSaved);

// ----- the window -----------------------------------------------------------------------------------------------
// Creates the window (1031 x 589, centred, no system menu) for the mode in gFormMode and shows it through FrmShow
// with `modal`; returns what FrmShow returns (modal: the form result once the window is gone, 0 after "Tutup").
std::intptr_t FORMIMPORT_Show(Hwnd parent, int modal, int userData);
LResult FORMIMPORT_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORMIMPORT_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORMIMPORT_CreateControls(Hwnd form);
// The list's columns and the controls the mode does not use (disabled); "Akun" also fills the ledger-account combo.
LResult FORMIMPORT_SetupColumns(Hwnd form, std::intptr_t userData);

// Handlers, called as (control index, form, control, control id); each returns 0.
LResult FORMIMPORT_Paste(int index, Hwnd form, Hwnd control, int id);          // "Paste disini"
LResult FORMIMPORT_OnClassChange(int index, Hwnd form, Hwnd control, int id);  // class chosen: Jurusan proposed
// "Simpan Data Ke Database". In "Siswa" a new student whose id payment, savings or billing rows of any year still name
// is not written, nor is its class row: the row reads "Gagal di input, Id masih tercatat di data keuangan lama", counts
// as not saved in both summaries, and a last box (FinStudentIdsHaveMoneyText, caption "Info") names those ids.
LResult FORMIMPORT_Save(int index, Hwnd form, Hwnd control, int id);
LResult FORMIMPORT_OnClose(int index, Hwnd form, Hwnd control, int id);        // "Tutup"
// Row callback (Kode, Deskripsi): adds "Kode Deskripsi" to the ledger-account combo.
int FORMIMPORT_AddRekeningItem(void* user, int columnCount, char** values, char** names);
