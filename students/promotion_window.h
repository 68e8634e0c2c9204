// The promotion window "Kenaikan Kelas atau Mutasi" (FORM9): lists the students of the school year before gTapel
// with the class each is proposed for in gTapel (the next grade, same parallel), and on "Proses" writes those class
// rows; a student whose new class is a graduates' class ("... Lulus ...") becomes 'DeAktif'. When the year before has
// no student to promote, the import of students opens instead and this window is never shown.
#pragma once
#include <cstdint>
#include <string>

#include "framework/win.h"

// The window while it exists, else 0; its controls.
extern Hwnd gForm9Window;
extern Hwnd gForm9NextList, gForm9SelesaiButton, gForm9NextTitle, gForm9PrevList, gForm9PrevTitle,
    gForm9ProcessButton, gForm9InfoLabel, gForm9Progress;
// Control ids (1000 upwards in design order).
extern int gForm9NextListId, gForm9SelesaiButtonId, gForm9NextTitleId, gForm9PrevListId, gForm9PrevTitleId,
    gForm9ProcessButtonId, gForm9InfoLabelId, gForm9ProgressId;
// Gives the control-id globals their numbers (part of the start-up's id assignment).
void FORM9_InitControlIds();

// ----- what the promotion computes --------------------------------------------------------------------------------
// The school year before `tapel`: both years one down ("2024/2025" -> "2023/2024").
std::string FORM9_PreviousYear(const std::string& tapel);
// The grade of a class name: the two-word grades "TK A", "TK B" and "Play Group" when the name begins with one
// (followed by a blank or nothing); otherwise the text before the first blank, or the whole name when it has none.
std::string FORM9_GradeOf(const std::string& className);
// The class proposed for the new year: the next grade (FinNextClass; "Play Group" moves to "TK A") followed by the
// rest of the name from the blank after the grade (a single blank when that rest is shorter than two characters;
// nothing when the name has no blank). A grade the ladder does not know keeps its class name unchanged.
// "I General" -> "II General", "VI General" -> "SD Lulus General", "X " -> "XI ", "TK A General" -> "TK B General".
std::string FORM9_ProposedClass(const std::string& className);

// ----- the window -------------------------------------------------------------------------------------------------
// Creates the window (987 x 596, centred) and loads last year's students. When there are none: gFormMode = "Siswa",
// the promotion window is closed unshown and the import opens modally over `parent`; returns 0. When they could not
// be read (the "SQL error: " box shown) the window is closed unshown and nothing else opens; returns 0. Otherwise
// shows it through FrmShow with `modal` and returns what FrmShow returns.
std::intptr_t FORM9_Show(Hwnd parent, int modal, int userData);
LResult FORM9_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORM9_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORM9_CreateControls(Hwnd form);
// The columns of both lists and one row per class row of last year (students in 'DO' or a graduates' class left
// out); gPickClass keeps the grade of the last row. Returns the number of rows listed, -1 when the read failed.
int FORM9_LoadPreviousYear(Hwnd form, std::intptr_t userData);
// Row callback of the load (IdSiswa, Nama, Kelas, Kategori).
int FORM9_AddRowCallback(void* user, int columnCount, char** values, char** names);
// On closing through the close box: the student list's combo (classes of gTapel but 'DO') and its list (active
// students of the combo's class in gTapel) are reloaded, whether or not that window is open. Returns 0.
LResult FORM9_RefreshStudentList(Hwnd form);

// Handlers, called as (control index, form, control, control id); each returns 0.
// "Proses": the proposed class rows for gTapel (graduates made 'DeAktif'), the whole run in one transaction: a failure
// anywhere (its box shown) leaves every class as it was, the rows show "Belum tersimpan" again and the box
// kForm9Failed follows in place of "Selesai". Students that already have a class in gTapel are left alone.
LResult FORM9_Process(int index, Hwnd form, Hwnd control, int id);
extern const char* const kForm9Failed;
LResult FORM9_OnClose(int index, Hwnd form, Hwnd control, int id);   // "Selesai": closed without the reload
