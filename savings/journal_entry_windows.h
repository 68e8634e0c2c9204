// The journal entry windows: FORMREKMASUK "Jurnal Penerimaan" (income, money received) and FORMREKKELUAR "Jurnal
// Pengeluaran" (expense, money paid out). Twins: modal windows opened from the journal list that write one
// transaksi row per save (Sts 'k' in the cash journal "JURNAL KAS", 'b' in the bank journal), offer a cash receipt
// after each save and stay open, emptied, for the next entry. They only add rows: an entry is never changed in place.
#pragma once
#include <cstdint>
#include <string>

#include "framework/win.h"

// ----- what the windows compute ---------------------------------------------------------------------------------
// The journal id: `prefix` ("INC" or "EXP") + `today` ("yyyy-mm-dd") without "-" + `clock` ("HH:mm:ss") without
// ":": "INC20240902101530".
std::string FinJournalId(const std::string& prefix, const std::string& today, const std::string& clock);
// The amount of the "Jumlah" text in whole rupiah, read as every typed amount is (FinPositiveAmount of
// common/amounts.h: "1.500.000" -> 1500000, at most 12 digits); 0 when the text is not a positive amount.
long long FinJournalAmount(const std::string& text);
// The ledger code of an account item ("411 Uang Sekolah"): the text up to its first blank.
std::string FinJournalAccountCode(const std::string& item);
// The account query of an entry window: the accounts of `tapel` whose code does not end in "0", of group 'Msk'
// (cash journal, income), 'Klr' (cash journal, expense) or 'Bms' (bank journal, both).
std::string FinJournalAccountsSql(bool income, bool cash, const std::string& tapel);

// One journal entry as a save writes it.
struct JournalEntry {
  std::string id;            // the "Kode Jurnal" text
  std::string date;          // "yyyy-MM-dd"
  std::string description;
  long long amount = 0;      // whole rupiah
  std::string operatorName;  // status-bar part 1
  bool cash = true;          // row kind 'k' (cash) or 'b' (bank)
  std::string code;          // the ledger code (Ref)
};
// The insert of a new entry: the amount in masuk (income) or keluar (expense), '0' in the other; every text quoted.
std::string FinJournalInsertSql(bool income, const JournalEntry& e);

// ----- the windows ----------------------------------------------------------------------------------------------
// The controls of one entry window, and their ids (1000 upwards in design order).
struct JournalEntryControls {
  Hwnd frame = 0, title = 0, note = 0, icon = 0;
  Hwnd dateLabel = 0, date = 0, accountLabel = 0, account = 0, idLabel = 0, idEdit = 0, descLabel = 0, desc = 0,
       amountLabel = 0, amount = 0, save = 0;
};
struct JournalEntryIds {
  int frame = 1000, title = 1001, note = 1002, icon = 1003, dateLabel = 1004, date = 1005, accountLabel = 1006,
      account = 1007, idLabel = 1008, idEdit = 1009, descLabel = 1010, desc = 1011, amountLabel = 1012,
      amount = 1013, save = 1014;
};
extern Hwnd gFormRekMasukWindow, gFormRekKeluarWindow;   // the window while it exists, else 0
extern JournalEntryControls gFormRekMasuk, gFormRekKeluar;
extern JournalEntryIds gFormRekMasukIds, gFormRekKeluarIds;
void FORMREKMASUK_InitControlIds();
void FORMREKKELUAR_InitControlIds();

// Shows the window modally (owned by the window above `parent`), centred on the screen, for new entries of the
// journal named by gFormMode; returns gFormResult when it closes (`userData`, which nothing here changes).
std::intptr_t FORMREKMASUK_Show(Hwnd parent, int modal, int userData);
std::intptr_t FORMREKKELUAR_Show(Hwnd parent, int modal, int userData);

LResult FORMREKMASUK_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORMREKKELUAR_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORMREKMASUK_CreateControls(Hwnd form);
void FORMREKKELUAR_CreateControls(Hwnd form);
LResult FORMREKMASUK_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORMREKKELUAR_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
// Fills the account list (SQL error report on failure, keeping what arrived) and makes the first journal id.
// Returns 0.
LResult FORMREKMASUK_Load(Hwnd form, std::intptr_t userData);
LResult FORMREKKELUAR_Load(Hwnd form, std::intptr_t userData);
// Row callbacks of the account query: value 1 + " " + value 2 appended to the window's account list; 0.
int FORMREKMASUK_CbAddAccount(void* user, int columnCount, char** values, char** names);
int FORMREKKELUAR_CbAddAccount(void* user, int columnCount, char** values, char** names);
// The "Simpan" command: the id checked and the row written in one transaction; "Data berhasil disimpan.." and the
// receipt question only once it is committed. Returns 0.
LResult FORMREKMASUK_Save(int index, Hwnd form, Hwnd control, int id);
LResult FORMREKKELUAR_Save(int index, Hwnd form, Hwnd control, int id);

// The texts of the windows' boxes (captions "Entry Data.." and "Print?").
extern const char* const kJournalRefused;        // "Gagal menyimpan, kolom Kode atau Nama belum terisi.."
extern const char* const kJournalNoAmount;       // "Gagal menyimpan, kolom Jumlah belum terisi.."
extern const char* const kJournalIdTaken;        // "Gagal menyimpan, Kode Jurnal sudah dipakai.."
extern const char* const kJournalSaved;          // "Data berhasil disimpan.."
extern const char* const kJournalPrintQuestion;  // "Cetak Kwitansi?"
extern const char* const kJournalTooLarge;       // "Jumlah terlalu besar untuk dicetak pada kwitansi.."
