// FORM21 "Proses Copy Data": the small modal window in which the operator names the school year that a list window
// copies its rows from into the working school year gTapel.
//
// How a caller uses it (the ledger account, fee and teacher allowance lists):
//
//   gFormMode = "";                              // empty before the prompt
//   FORM21_Show(listWindow, 1, 0);               // modal; returns once the prompt is gone
//   if (gFormMode.empty()) return;               // "Batal" (or an empty year): the copy is cancelled
//   const std::string sourceYear = gFormMode;    // "Lanjut": the year text exactly as typed ("2023/2024")
//
// The chosen year comes back in gFormMode (app/globals.h): "Lanjut" sets it to the year edit's text unchanged (no
// test of form, range or emptiness); "Batal" and Esc leave it as the caller set it. The returned value of FORM21_Show
// carries nothing (0).
#pragma once
#include <cstdint>
#include <string>

#include "framework/win.h"

// Opens the prompt (507 x 80, centred, caption and sizing border, no system menu) owned by `owner`; modal when
// `modal` is 1. Proposes the school year before gTapel. Returns what FrmShow returns.
std::intptr_t FORM21_Show(Hwnd owner, int modal, int userData);

// The window while it exists, else 0; its controls and their ids ("Batal" has the cancel id 2, so Esc cancels).
extern Hwnd gForm21Window;
extern Hwnd gForm21YearEdit, gForm21NextButton, gForm21PrevButton, gForm21Label, gForm21CancelButton,
    gForm21ContinueButton;
extern int gForm21YearEditId, gForm21NextButtonId, gForm21PrevButtonId, gForm21LabelId, gForm21CancelButtonId,
    gForm21ContinueButtonId;

LResult FORM21_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORM21_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORM21_CreateControls(Hwnd form);
// Fills the year edit with the year before gTapel; returns 0.
LResult FORM21_Init(Hwnd form);
// Button handlers; each returns 0.
LResult FORM21_OnContinue(Hwnd form);   // "Lanjut": gFormMode = the year text, closes with 0
LResult FORM21_OnCancel(Hwnd form);     // "Batal": closes with 0, gFormMode untouched
LResult FORM21_OnYearUp(Hwnd form);     // "+": both years one later
LResult FORM21_OnYearDown(Hwnd form);   // "-": both years one earlier

// What the prompt computes. The year before a working year: Y = the first four characters of `workingYear` read as
// a number; gives (Y - 1) + "/" + Y ("2023/2024" -> "2022/2023"; "" -> "-1/0").
std::string FORM21_PreviousYear(const std::string& workingYear);
// Both halves stepped: (first four characters as a number + step) + "/" + (last four characters as a number + step),
// in their shortest decimal form ("2022/2023" +1 -> "2023/2024"; "" +1 -> "1/1", -1 -> "-1/-1").
std::string FORM21_StepYear(const std::string& yearText, int step);
