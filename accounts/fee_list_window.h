// FORM6 "Data Akun Pembayaran": the maximised MDI child that lists the fees (account rows) of one class in the
// working school year gTapel, with the count of billing rows of each, and the hub from which fees are added, edited,
// deleted, billed per student, posted to a ledger account in bulk, exported, printed, imported, copied from an
// earlier school year or from another class. Every window it opens is modal and owned by it; they read its class
// combo gForm6KelasCombo (accounts/account_globals.h) and its list gForm6List.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "framework/win.h"

// The fee list window the commands act on (the one last activated or commanded), else 0; its controls. Every
// command of a fee list window points these globals at its own window and controls first, so the windows it opens
// read its class and its list; when that window goes they become 0.
extern Hwnd gForm6Window;
extern Hwnd gForm6List, gForm6SearchEdit, gForm6Rebar, gForm6Toolbar, gForm6KelasLabel, gForm6CariLabel;
extern int gForm6Id;   // its MDI child id (110)
// Control ids (1000 upwards in design order; rebar 5000, toolbar 5100) and the toolbar's command ids in button order.
extern int gForm6KelasComboId, gForm6KelasLabelId, gForm6CariLabelId, gForm6SearchEditId, gForm6ListId,
    gForm6RebarId, gForm6ToolbarId;
extern int gForm6AddId, gForm6EditId, gForm6DeleteId, gForm6DetailId, gForm6RekeningId, gForm6ExcelId,
    gForm6PageId, gForm6ImportId, gForm6CopyYearId, gForm6CopyClassId, gForm6RefreshId;
void FORM6_InitControlIds();

// ----- what the window computes ---------------------------------------------------------------------------------
// The search over every fee of a school year: Id, Pembayaran, Jumlah, Kelas, Type or RefRekening containing the text
// (quoted; the alternatives grouped so that only fees of `tapel` are found); no ordering.
std::string FORM6_SearchSql(const std::string& text, const std::string& tapel);

// One fee of the source year of a year copy, as the source select gives it.
struct Form6CopyRow {
  std::string id, pembayaran, kelas, jumlah, type;
};
// Copies into gTapel every fee of `sourceYear` (every class), in one transaction: all rows or none. A fee is left
// out when its own Id stands in gTapel, or when gTapel already holds a fee of the same class, name, amount and type
// (a copy made by an earlier run). New ids as FinYearCopyFeeId with the run counter; a counter value whose id a fee,
// a billing row or a payment still names is passed over. gEditMode counts the rows inserted. A failing statement shows its box (the existence tests
// "SQL error0: ", the inserts "SQL error: ", caption "Info") and undoes the copy. True when the copy was written
// (also when nothing was to copy); `copied` gets the rows inserted.
bool FORM6_CopyFromYear(const std::string& sourceYear, int* copied = nullptr);

// ----- the window -----------------------------------------------------------------------------------------------
// Creates the MDI child "Data Akun Pembayaran" (1015 x 564) under `parent` (gMdiClient), maximised and modeless,
// and returns its window (0 when it could not be made). The main window and the required-data guide call it with
// (gMdiClient, 1, 0).
std::intptr_t FORM6_Show(Hwnd parent, int modal, int userData);
LResult FORM6_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORM6_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORM6_CreateControls(Hwnd form);
// Fills the Kelas combo with the classes of gTapel, selects the first and fills the list for it; returns 0.
LResult FORM6_Init(Hwnd form, std::intptr_t userData);
// Points gForm6Window and the control globals at `form` (a fee list window); nothing for another window. The form's
// bind routine: the form runtime runs it when the window is activated and before each of its commands.
void FORM6_Bind(Hwnd form);

// Fills the list with the fees of `kelas` in gTapel (all rows and columns removed first); returns the statement's
// result code.
int FORM6_FillList(const std::string& kelas);
// Runs a toolbar command of the window (the ids above); the class-to-class copy runs the refresh through it.
// Always 0.
int FORM6_OnCommand(Hwnd form, Hwnd control, int notification, int id);
// A class chosen in the Kelas combo: the list for it.
void FORM6_OnKelasChange(Hwnd form);
// Enter released in the "Cari" edit: the search.
void FORM6_Search(Hwnd form);

// Row callbacks: a class into the Kelas combo; a source fee of the year copy kept for the copy.
int FORM6_OnKelasRow(void* user, int columnCount, char** values, char** names);
int FORM6_OnCopyRow(void* user, int columnCount, char** values, char** names);

// The confirmation texts of the window.
extern const char* const kForm6DeleteQuestion;       // "Apakah anda yakin akan menghapus record ini? ..."
extern const char* const kForm6PaymentsQuestion;     // "Ada beberapa item data pembayaran ini terhubung ..."
extern const char* const kForm6CopyQuestion;         // "Fitur ini berfungsi sebagai penyalin data ..."
