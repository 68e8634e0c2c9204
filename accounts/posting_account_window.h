// FORM17 "Set Rekening Secara Masal": the small modal window over the fee list that gives every fee of the working
// school year gTapel, of every class, one posting account: the operator picks an income ledger account and saves,
// and RefRekening of every fee of the year becomes that account's code. It serves fees imported from a spreadsheet
// whose posting-account column was left empty, and the fees of a year copy.
#pragma once
#include <cstdint>
#include <string>

#include "framework/win.h"

// The window while it exists, else 0; its controls.
extern Hwnd gForm17Window;
extern Hwnd gForm17CancelButton, gForm17SaveButton, gForm17InfoLabel, gForm17RekeningCombo, gForm17RekeningLabel;
// Control ids (1000 upwards in creation order).
extern int gForm17CancelButtonId, gForm17SaveButtonId, gForm17InfoLabelId, gForm17RekeningComboId,
    gForm17RekeningLabelId;
void FORM17_InitControlIds();

extern const char* const kForm17InfoText;      // the explanatory label
extern const char* const kForm17DoneText;      // "Rekening berhasil di set ke Akun Pembayaran secara masal, ..."
extern const char* const kForm17NoFeeText;     // the year has no fee: no account was set

// Sets RefRekening of every fee of `tapel` to `code` (one statement, in one transaction). A failure shows
// "SQL error: " + message (caption "Info"). True when written; `fees` (when given) then holds how many fees got it.
bool FORM17_SetRekening(const std::string& code, const std::string& tapel, long long* fees = nullptr);

// Creates the window (500 x 191, centred) over `parent` (the fee list window) and shows it modally when `modal` is
// 1; returns the form result.
std::intptr_t FORM17_Show(Hwnd parent, int modal, int userData);
LResult FORM17_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORM17_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORM17_CreateControls(Hwnd form);
// Fills the drop-down list with the income accounts of gTapel ("Kode Deskripsi"), none chosen; returns 0.
LResult FORM17_LoadRekening(Hwnd form, std::intptr_t userData);
int FORM17_OnRekeningRow(void* user, int columnCount, char** values, char** names);
// "Simpan": the chosen account's code on every fee of the year, then kForm17DoneText; kForm17NoFeeText (caption
// "Info") instead when the year has no fee. The window stays open. Returns 0. "Simpan" is enabled only while an
// account is chosen, so the posting accounts are never wiped by a save without a choice.
LResult FORM17_SetRekeningAll(Hwnd form);
// "Batal": closes with 0. Returns 0.
LResult FORM17_OnCancel(Hwnd form);
