// The student list "Data Siswa" (FORM2): an MDI child that lists the students of one class with check boxes, filters
// them by class or by a search text, and is the hub from which the student record window, the promotion, the class
// move, the import, the two list exports and the student cards start. Its class combo and its list are shared state:
// the windows it opens read the chosen class and the selected or ticked rows from them and write rows back.
//
// Two column layouts occur in the list (columns are created from the result, FinCbFillList):
//   short (opening load): ID, NAMA, LP, TMPLAHIR, TGLLAHIR, AGAMA, ALAMAT, STATUS, TGLMASUK, KET
//   full (every other load): ID, NAMA, LP, TMPLAHIR, TGLLAHIR, AGAMA, ALAMAT, STATUS, TGLMASUK, KELAS, KATEGORI, KET
// In both, column 0 is the student id and the last column the remark.
#pragma once
#include <cstdint>
#include <string>

#include "framework/win.h"

// The window while it exists, else 0 (the parent of every window it opens); its controls. The control globals keep
// their (safe, dead) handles after the window is gone.
extern Hwnd gForm2Window;
extern Hwnd gForm2Rebar, gForm2Toolbar, gForm2CariLabel, gForm2SearchEdit, gForm2KelasLabel, gForm2ClassCombo,
    gForm2List;
// Child-window id of the MDI child (107) and the control ids (1000 upwards in design order; rebar 5000, toolbar
// 5100, its buttons 5101 upwards in button order).
extern int gForm2Id;
extern int gForm2CariLabelId, gForm2SearchEditId, gForm2KelasLabelId, gForm2ClassComboId, gForm2ListId,
    gForm2RebarId, gForm2ToolbarId;
extern int gForm2AddButtonId, gForm2EditButtonId, gForm2DeleteButtonId, gForm2ExcelButtonId, gForm2BrowserButtonId,
    gForm2CardsButtonId, gForm2PromotionButtonId, gForm2ClassMoveButtonId, gForm2ImportButtonId,
    gForm2RefreshButtonId;
void FORM2_InitControlIds();

// ----- the statements the window runs (every value quoted with SqlQ) ----------------------------------------------
// The classes of a school year for the combo: graduates' classes (containing "Lulus") left out when `withGraduates`
// is false (opening), kept when true (refresh); 'DO' always kept.
std::string FORM2_ClassesSql(const std::string& tapel, bool withGraduates);
// Every load keeps to one school year (the working year gTapel): a student is listed once, through the class row of
// that year, whose class and category the row shows (a class move or an edit acts on the year it shows).
// Members of `kelas` in `tapel`: full layout (class change, refresh, after a delete and a class move) or short layout
// (opening).
std::string FORM2_ByClassSql(const std::string& kelas, const std::string& tapel, bool fullLayout = true);
// Active members of `kelas` in `tapel`, full layout (the promotion's reload of the list).
std::string FORM2_ActiveByClassSql(const std::string& kelas, const std::string& tapel);
// Active students of `tapel` whose id, name, place of birth, religion, address or class contains `text`. Names and
// the other free texts are stored with each "'" as "`": a text holding "'" is looked for in both forms.
std::string FORM2_SearchSql(const std::string& text, const std::string& tapel);
// The delete of one student: the siswa row only.
std::string FORM2_DeleteSql(const std::string& id);

// ----- the window -------------------------------------------------------------------------------------------------
// Creates "Data Siswa" (1010 x 551) as a maximised MDI child of `parent` (gMdiClient); modeless whatever `modal`:
// returns the window at once (0 when none was made). The main window's "Data Siswa" calls it with (gMdiClient, 1, 0).
std::intptr_t FORM2_Show(Hwnd parent, int modal, int userData);
LResult FORM2_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
// Enter released in the search edit runs FORM2_Search.
LResult FORM2_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORM2_CreateControls(Hwnd form);
// Opening: the working year's classes (graduates' left out) into the combo, the first chosen, gListRowCount = 0 and
// that class's members of the working year in the short layout.
LResult FORM2_OnCreate(Hwnd form, std::intptr_t userData);
// A toolbar command by its id; returns 0.
LResult FORM2_OnCommand(Hwnd form, int id);
// Several student lists may be open: the window and control globals are pointed at `form` (a student list), the
// window a command comes from, so that it and the windows it opens work on its own combo and list. The form's bind
// routine: the form runtime runs it when the window is activated and before each of its commands.
void FORM2_Bind(Hwnd form);

// Row callback: column 0 appended to gForm2ClassCombo (the promotion window uses it too when it reloads this window).
int FORM2_AddClassItem(void* user, int columnCount, char** values, char** names);
// Empties the combo and fills it with FORM2_ClassesSql(gTapel, withGraduates); the selection is left to the caller.
void FORM2_FillClassCombo(bool withGraduates);
// Reloads the list: the members of the combo's class in gTapel, full layout. Nothing when the window is gone. The
// class move and the promotion call it after they changed classes.
void FORM2_LoadListByClass();
// The search edit's text as a search over the active students of gTapel, full layout; the combo stays.
void FORM2_Search();
// The refresh command: the combo refilled with every class of gTapel (graduates' included), the class it showed chosen
// again (none when it is gone), gListRowCount = 0 and that class's members of gTapel, full layout.
void FORM2_Refresh();
