// FORM25 "Form Penyalinan Data Akun Pembayaran dari Kelas lainnya.": the modal window over the fee list in which the
// operator picks another class of gTapel, views its fees, ticks some and copies them into the class the fee list
// shows: each ticked fee becomes a new account row (new id from the one fee sequence; same name, amount, type and
// posting account) in gTapel. Billing rows are not made here (the billing detail editor makes them). The copy writes
// all ticked fees in one transaction.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/win.h"

// The window while it exists, else 0; its controls.
extern Hwnd gForm25Window;
extern Hwnd gForm25CopyButton, gForm25ViewButton, gForm25CancelButton, gForm25List, gForm25KelasCombo,
    gForm25KelasLabel;
// Control ids (1000 upwards in creation order).
extern int gForm25CopyButtonId, gForm25ViewButtonId, gForm25CancelButtonId, gForm25ListId, gForm25KelasComboId,
    gForm25KelasLabelId;
void FORM25_InitControlIds();

// One fee to copy, as the list shows it.
struct Form25Fee {
  std::string pembayaran, jumlah, type, refRekening;
};
// Copies `fees` into `targetClass` of gTapel in one transaction, numbering from the next number of the fee sequence:
// an id that a fee, a billing row or a payment still names is passed over (the next number is tried). All or nothing; a failing statement shows
// "SQL error: " + message (caption "Info"). True when written; `ids` (when given) gets the ids written.
bool FORM25_Copy(const std::vector<Form25Fee>& fees, const std::string& targetClass,
                 std::vector<std::string>* ids = nullptr);
// The same into `targetClass` of school year `tapel`.
bool FORM25_CopyInto(const std::vector<Form25Fee>& fees, const std::string& targetClass, const std::string& tapel,
                     std::vector<std::string>* ids = nullptr);

// What the fee list hands the copy window it opens: the class and school year the checked fees are copied into (the
// list's own, as it shows them when it opens the window, whatever another list shows meanwhile) and what to call after
// a copy (that list's refresh).
struct Form25Owner {
  std::string targetClass;
  std::string tapel;
  std::function<void()> refresh;
};

// Creates the window (939 x 414, centred) over `owner` (the fee list window) and runs it modally when `modal` is 1;
// returns the form result (0 however it closes).
std::intptr_t FORM25_Show(Hwnd owner, int modal, int userData, Form25Owner from);
LResult FORM25_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORM25_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORM25_CreateControls(Hwnd form);
// Fills the class box (no class chosen) and the empty list; returns 0.
LResult FORM25_Init(Hwnd form, std::intptr_t userData);
// Commands; each returns 0.
LResult FORM25_OnView(Hwnd form);         // "View": the fees of the chosen class
// "Salin Data": the ticked fees into the class (and school year) of the fee list the window was opened from, as it
// showed them when the window opened; that fee list is then refreshed.
LResult FORM25_CopyChecked(Hwnd form);
LResult FORM25_OnCancel(Hwnd form);       // "Batal"
LResult FORM25_OnKelasChange(Hwnd form);  // nothing: the list changes on "View" only
// Row callback: a class into the class box.
int FORM25_OnKelasRow(void* user, int columnCount, char** values, char** names);
