// The two student pickers "Browse Siswa": the operator finds a student of the working school year (gTapel) by class
// (a tree of the year's classes) or by name, and "Sisip" hands the student's id to the window that opened the picker
// through the hand-over that window gave when it opened the picker (it writes the id into its student id edit and
// runs its own student loader); then the picker closes. FORMCRSISWA serves the payment window, FORMCRSISWA1 the
// savings teller. The pickers write nothing to the database.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "framework/win.h"

// What "Sisip" calls with the chosen student's id ("" when no row is marked); given by the window that opens the
// picker. An empty hand-over takes nothing.
using StudentHandover = std::function<void(const std::string& id)>;

// The root item "Siswa Kelas" of the open picker's class tree (stale once the picker is gone).
extern std::intptr_t gTreeRoot;

// ----- FORMCRSISWA: the payment window's picker -------------------------------------------------------------------
// The window while it exists, else 0; its controls and their ids ("Batal" is the cancel command, id 2).
extern Hwnd gFormCrSiswaWindow;
extern Hwnd gFormCrSiswaGoButton, gFormCrSiswaSearchEdit, gFormCrSiswaCariLabel, gFormCrSiswaBatalButton,
    gFormCrSiswaSisipButton, gFormCrSiswaTree, gFormCrSiswaList;
extern int gFormCrSiswaGoButtonId, gFormCrSiswaSearchEditId, gFormCrSiswaCariLabelId, gFormCrSiswaBatalButtonId,
    gFormCrSiswaSisipButtonId, gFormCrSiswaTreeId, gFormCrSiswaListId;

// Creates "Browse Siswa" (645 x 329, centred) owned by `parent` and shows it through FrmShow; modal: returns the form
// result (always 0) once it has closed. The payment window calls it with (its window, 1, 0) and its hand-over.
std::intptr_t FORMCRSISWA_Show(Hwnd parent, int modal, int userData, StudentHandover handOver);
LResult FORMCRSISWA_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
// Enter released in the search edit searches; a left click released over the student list first tells the operator
// to use "Sisip".
LResult FORMCRSISWA_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORMCRSISWA_CreateControls(Hwnd form);
// Tree icons, the root "Siswa Kelas" with the working year's classes ('DO' and graduates' classes left out) under
// it, expanded; the focus in the search edit.
LResult FORMCRSISWA_OnCreate(Hwnd form, std::intptr_t userData);
// Row callback: column 0 as the last child of gTreeRoot.
int FORMCRSISWA_AddClassNode(void* user, int columnCount, char** values, char** names);
// Handlers, called as (control index, form, control, control id); each returns 0.
LResult FORMCRSISWA_OnClassSelect(int index, Hwnd form, Hwnd control, int id);   // gPickClass, then the class list
LResult FORMCRSISWA_ListByClass(int index, Hwnd form, Hwnd control, int id);     // members of gPickClass in gTapel
LResult FORMCRSISWA_SearchByName(int index, Hwnd form, Hwnd control, int id);    // names like the search text
LResult FORMCRSISWA_Insert(int index, Hwnd form, Hwnd control, int id);          // "Sisip": the hand-over, closes
// Row callback of the student list: as FinCbFillList, into the picker's own list, columns 70, 170, 100, 50 wide,
// rows not counted in gListRowCount.
int FORMCRSISWA_AddRowCallback(void* user, int columnCount, char** values, char** names);

// ----- FORMCRSISWA1: the savings teller's picker -----------------------------------------------------------------
extern Hwnd gFormCrSiswa1Window;
extern Hwnd gFormCrSiswa1CariLabel, gFormCrSiswa1SearchEdit, gFormCrSiswa1GoButton, gFormCrSiswa1BatalButton,
    gFormCrSiswa1SisipButton, gFormCrSiswa1List, gFormCrSiswa1Tree;
extern int gFormCrSiswa1CariLabelId, gFormCrSiswa1SearchEditId, gFormCrSiswa1GoButtonId, gFormCrSiswa1BatalButtonId,
    gFormCrSiswa1SisipButtonId, gFormCrSiswa1ListId, gFormCrSiswa1TreeId;

// As FORMCRSISWA, 645 x 330; every class of the working year in the tree ('DO' and graduates' classes included);
// list columns 100 wide each. The savings teller calls it with (the savings window, 1, 0) and its hand-over.
std::intptr_t FORMCRSISWA1_Show(Hwnd parent, int modal, int userData, StudentHandover handOver);
LResult FORMCRSISWA1_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORMCRSISWA1_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORMCRSISWA1_CreateControls(Hwnd form);
LResult FORMCRSISWA1_OnCreate(Hwnd form, std::intptr_t userData);
int FORMCRSISWA1_AddClassNode(void* user, int columnCount, char** values, char** names);
LResult FORMCRSISWA1_OnClassSelect(int index, Hwnd form, Hwnd control, int id);
LResult FORMCRSISWA1_ListByClass(int index, Hwnd form, Hwnd control, int id);
LResult FORMCRSISWA1_SearchByName(int index, Hwnd form, Hwnd control, int id);
LResult FORMCRSISWA1_Insert(int index, Hwnd form, Hwnd control, int id);
int FORMCRSISWA1_AddRowCallback(void* user, int columnCount, char** values, char** names);

// ----- the statements ---------------------------------------------------------------------------------------------
// The classes of the tree: of `tapel`; with `workingOnly` 'DO' and classes containing "Lulus" are left out.
std::string StudentPickerClassSql(const std::string& tapel, bool workingOnly);
// The members of class `kelas` in `tapel`, newest id first.
std::string StudentPickerClassListSql(const std::string& kelas, const std::string& tapel);
// The students of `tapel` whose name contains `text`, newest id first. A "'" in the text is searched as the grave
// accent, which is how names hold it.
std::string StudentPickerSearchSql(const std::string& text, const std::string& tapel);
