// FORMREK "Form Data Rekening": the modal window in which the operator adds a ledger account (rekening) to the
// working school year gTapel, or changes the description and group of an existing code. Opened by the ledger list
// window FORM5 only: its add command sets gEditMode 0, its edit command 1 (the window then works on the row at the
// selection mark of gForm5List). After each successful save the window refills gForm5List and stays open.
#pragma once
#include <cstdint>
#include <string>

#include "framework/win.h"

extern Hwnd gFormRekWindow;
// Its controls in creation order, and their ids (1000 upwards in the same order).
extern Hwnd gFormRekGrupLabel, gFormRekGrupCombo, gFormRekSaveButton, gFormRekDeskripsiEdit, gFormRekKodeEdit,
    gFormRekFrame, gFormRekHintLabel, gFormRekTitleLabel, gFormRekDeskripsiLabel, gFormRekKodeLabel;
extern int gFormRekGrupLabelId, gFormRekGrupComboId, gFormRekSaveButtonId, gFormRekDeskripsiEditId,
    gFormRekKodeEditId, gFormRekFrameId, gFormRekHintLabelId, gFormRekTitleLabelId, gFormRekDeskripsiLabelId,
    gFormRekKodeLabelId;

// Creates the window (414 x 247, centred; caption, system menu with close box, sizing border) owned by `owner` and
// shows it through FrmShow (modal when `modal` is 1). Returns what FrmShow returns. FORM5 calls it with
// (its window, 1, 0).
std::intptr_t FORMREK_Show(Hwnd owner, int modal, int userData);
LResult FORMREK_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORMREK_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORMREK_CreateControls(Hwnd form);
// Selects "Kas Masuk"; in edit mode (gEditMode > 0) loads Kode and the group of the row at the selection mark of
// gForm5List, and the code's description as stored in gTapel, whole (a list cell holds at most 259 characters; the
// row's cell serves only when the file has no such account or the read failed, its box shown). Returns 0.
LResult FORMREK_Init(Hwnd form);
// The save button: updates (edit mode) or inserts (add mode) as the mode says; returns 0.
LResult FORMREK_Save(Hwnd form);

// The group code of a combo index: 0 'Msk', 1 'Klr', 2 'Bms' (field index + 1 of "Msk,Klr,Bms,Pvb"); the empty text
// when no group is chosen (index below 0).
std::string FORMREK_GroupCode(int comboIndex);
// The combo index of a stored group code: 'Msk' 0, 'Klr' 1, 'Bms' 2; -1 (no item) for any other text.
int FORMREK_GroupIndex(const std::string& code);

// An edit whose code no account has: nothing saved (caption "Info"). "Kode rekening tidak ditemukan, tidak ada data
// yang disimpan.."
extern const char* const kFormRekNoSuchCode;
