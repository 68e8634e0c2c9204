// The data reset window "Reset Data": empties whole tables of the database (every school year) after the operator
// ticked them, confirmed the reset and confirmed each table once more. Only the built-in super user reaches it (the
// main window checks); operators (useradmin) and the salary master (mastergaji) are never touched.
#pragma once
#include <cstdint>
#include <string>

#include "framework/win.h"

// The tables the reset can empty, in the order of the six check boxes (index 0 = field 1).
inline constexpr const char* kForm20Tables = "siswa,siswakelas,rekening,account,detail_account,transaksi";
inline constexpr int kForm20TableCount = 6;

// The window while it exists, else 0; its controls. The six check boxes are one control array, by index.
extern Hwnd gForm20Window;
extern Hwnd gForm20Check[kForm20TableCount];
extern Hwnd gForm20QuestionLabel, gForm20WarningLabel, gForm20CancelButton, gForm20ContinueButton;
// Control ids: the check boxes and the others 1000 upwards in design order; "Batal" 2 (the cancel command, Esc).
extern int gForm20CheckId[kForm20TableCount];
extern int gForm20QuestionLabelId, gForm20WarningLabelId, gForm20CancelButtonId, gForm20ContinueButtonId;
void FORM20_InitControlIds();

// ----- what the reset runs ------------------------------------------------------------------------------------------
// The table of check box `index` (0..5): field index + 1 of kForm20Tables.
std::string FORM20_TableOf(int index);
// The one statement that empties it: "Delete From " + table.
std::string FORM20_DeleteStatement(int index);

// ----- the window -------------------------------------------------------------------------------------------------
// Creates the window (489 x 310, centred; caption and sizing border, no system menu) and shows it through FrmShow;
// modal: returns the form result (0) once it has closed. The main window calls it with (gMdiClient, 1, 0).
std::intptr_t FORM20_Show(Hwnd parent, int modal, int userData);
LResult FORM20_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORM20_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORM20_CreateControls(Hwnd form);

// Command handlers, called as (control index, form, control, control id); each returns 0.
// "Lanjut": asks once for the whole reset ("Confirm Delete", Yes/No); on Yes, for every ticked box in table order,
// asks "Reset Data " + its caption and on Yes runs that table's delete, reporting "Reset Data " + caption +
// " berhasil di eksekusi.." or the "SQL error: " box; then the window closes with 0 whatever was answered.
LResult FORM20_ResetData(int index, Hwnd form, Hwnd control, int id);
// "Batal" (and Esc): closes with 0, nothing deleted.
LResult FORM20_Cancel(int index, Hwnd form, Hwnd control, int id);
