// FORM28 "Detail Akun Pembayaran": the modal billing detail editor over the fee list. It shows what each student of
// the class is billed for the fee marked in the fee list (its detail_account rows), creates the rows of the students
// of the fee's class who have none, lets the operator change one student's amounts month by month (an amount
// entered in a month is carried into the later months) or as one yearly amount, takes a column of amounts pasted
// from a spreadsheet, writes every row back, and deletes all billing rows of the fee. The list is the editor's working copy: nothing reaches the
// database before "Buat Detail Account" or "Update Data", each of which writes all its rows in one transaction.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "framework/win.h"

// The window while it exists, else 0; its controls. The twelve month edits and their labels are arrays indexed by
// the month of the school year, 1 (Juli) to 12 (Juni); index 0 is not used.
extern Hwnd gForm28Window;
extern Hwnd gForm28FeeGroup, gForm28AkunLabel, gForm28AkunEdit, gForm28PembayaranLabel, gForm28PembayaranEdit,
    gForm28JenisLabel, gForm28JenisEdit, gForm28PaguLabel, gForm28PaguEdit, gForm28StudentGroup,
    gForm28IdSiswaLabel, gForm28IdSiswaEdit, gForm28NamaLabel, gForm28NamaEdit, gForm28TotalLabel,
    gForm28PasteButton, gForm28TotalEdit, gForm28List, gForm28Progress, gForm28CreateButton, gForm28DeleteButton,
    gForm28UpdateButton, gForm28CloseButton;
extern Hwnd gForm28MonthLabel[13], gForm28MonthEdit[13];
// Control ids (1000 upwards in design order).
extern int gForm28FeeGroupId, gForm28AkunLabelId, gForm28AkunEditId, gForm28PembayaranLabelId,
    gForm28PembayaranEditId, gForm28JenisLabelId, gForm28JenisEditId, gForm28PaguLabelId, gForm28PaguEditId,
    gForm28StudentGroupId, gForm28IdSiswaLabelId, gForm28IdSiswaEditId, gForm28NamaLabelId, gForm28NamaEditId,
    gForm28TotalLabelId, gForm28PasteButtonId, gForm28TotalEditId, gForm28ListId, gForm28ProgressId,
    gForm28CreateButtonId, gForm28DeleteButtonId, gForm28UpdateButtonId, gForm28CloseButtonId;
extern int gForm28MonthLabelId[13], gForm28MonthEditId[13];
void FORM28_InitControlIds();

// ----- what the editor computes ---------------------------------------------------------------------------------
// One line of pasted amounts: the amount it holds, read as every typed or pasted amount is (FinReadAmount:
// "150.000", "1,500,000", "Rp 75.000"); none for a blank line (spaces and TABs only) or for a text that is no amount
// of whole rupiah (`refused`, as letters, "1,5" or a negative amount). A line without an amount leaves its row as it
// was. A line of more than one cell (a TAB beside a text, as "1<TAB>150000") is no amount either (`severalCells`): the
// operator copied more than the amount column, and the whole paste is refused.
struct Form28PastedAmount {
  std::optional<long long> amount;
  bool refused = false;
  bool severalCells = false;
  bool operator==(const Form28PastedAmount&) const = default;
};
// The lines of pasted spreadsheet text, one per list row from the top: the text split at CR (the LF of a CR LF pair
// dropped, NUL bytes dropped); the last line counts also without a line break after it. The empty text gives none.
std::vector<Form28PastedAmount> FORM28_PasteValues(const std::string& clipboardText);
// The box of a paste in which some line held no amount.
extern const char* const kForm28PasteRefused;
// The box of a paste refused whole because its line `line` (from 1) holds more than one cell.
std::string FORM28_PasteSeveralCellsText(int line);
// The box of a "Buat Detail Account" refused because Default Pagu is no amount of whole rupiah.
extern const char* const kForm28PaguRefused;
// The box of an "Update Data" that found none of its rows in the file (deleted meanwhile): nothing was saved.
extern const char* const kForm28NothingSaved;
// The students of `kelas` in `tapel` (idsiswa, nama; each once) who have no billing row of fee `akun` yet.
std::string FORM28_MissingStudentsSql(const std::string& akun, const std::string& kelas, const std::string& tapel);
// The sum of amount texts, each read as whole rupiah (FinFeeAmount); it stops at the largest (or smallest) whole number
// rather than wrap around.
long long FORM28_Sum(const std::vector<std::string>& amounts);
// The progress bar's position after row i (from 0) of n: (i + 1) / n x 100, rounded to the nearest whole number.
int FORM28_Progress(int i, int n);
// The statements of one list row. Monthly: the row's twelve month amounts (texts, read as whole rupiah); yearly: its
// yearly amount.
std::string FORM28_InsertMonthlySql(const std::string& akun, const std::string& idSiswa, long long defaultAmount,
                                    const std::array<std::string, 12>& months);
std::string FORM28_InsertYearlySql(const std::string& akun, const std::string& idSiswa, long long amount);
std::string FORM28_UpdateMonthlySql(const std::string& akun, const std::string& idSiswa,
                                    const std::array<std::string, 12>& months);
std::string FORM28_UpdateYearlySql(const std::string& akun, const std::string& idSiswa, const std::string& amount);

// ----- the window -----------------------------------------------------------------------------------------------
// Creates the editor (1021 x 711, centred) over `owner` (the fee list window) and runs it modally when `modal` is 1;
// returns the form result (0 however it closes).
std::intptr_t FORM28_Show(Hwnd owner, int modal, int userData);
LResult FORM28_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
// The controls' subclass procedure: Enter released in month edit k runs FORM28_OnMonthEnter(k), in the Jumlah
// Tagihan edit FORM28_OnTotalEnter; the left button released over the list runs FORM28_OnListClick.
LResult FORM28_EditSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORM28_CreateControls(Hwnd form);
// Takes the fee (its class included) from the fee list's marked row, lays out the monthly or yearly form and loads
// the fee's billing rows. Without a marked fee every command that writes stays disabled. Returns 0.
LResult FORM28_Init(Hwnd form, std::intptr_t userData);
// True when the editor was laid out for a yearly fee (Jenis "Pertahun" when it opened); the commands go by it.
bool FORM28_IsYearly();

// Commands; each returns 0.
// "Buat Detail Account": a billing row, with the Default Pagu amount, for each student of the fee's own class in
// gTapel who has none yet (rows that exist stay as they are), all in one transaction; then the command is closed
// until the editor is opened again.
LResult FORM28_CreateDetail(Hwnd form);
// "Update Data": every list row written back in one transaction, then "Update data telah selesai dijalankan..";
// when no row of the list is in the file any more, kForm28NothingSaved (caption "Info") instead.
LResult FORM28_UpdateDetail(Hwnd form);
LResult FORM28_DeleteDetail(Hwnd form);   // "Hapus Detail Account" (then "Buat Detail Account" is open again)
LResult FORM28_PasteAmounts(Hwnd form);   // the icon button
LResult FORM28_OnClose(Hwnd form);        // "Selesai"
LResult FORM28_OnListClick(Hwnd form);
LResult FORM28_OnMonthEnter(Hwnd form, int month);
LResult FORM28_OnTotalEnter(Hwnd form);
LResult FORM28_OnListNotify(Hwnd form, LParam notification);   // nothing

// Row callbacks: a billing row of the load (15 columns); a student of the class (idsiswa, nama) for the create.
int FORM28_OnDetailRow(void* user, int columnCount, char** values, char** names);
int FORM28_OnStudentRow(void* user, int columnCount, char** values, char** names);

extern const char* const kForm28DeleteQuestion;   // "Apakah anda yakin akan menghapus detail account ini? ..."
