// The class move "Form Mutasi Siswa ": moves the students ticked in the student list to another class and payment
// category of the working school year (gTapel). It lists the ticked students, offers the target class (the student
// list's classes, then "DO" and "Lulus") and category (the year's categories), lets the operator add a class name and
// a category for this one move, and on "Terapkan" rewrites Kelas and Kategori of each listed student's class row of
// the working year that still holds the class the list showed, all students or none, reloads the student list and
// closes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "framework/win.h"

// The window while it exists, else 0; its controls and their ids (1000 upwards in design order; "Batal" is the cancel
// command, id 2).
extern Hwnd gForm16Window;
extern Hwnd gForm16AddButton, gForm16JurusanEdit, gForm16GradeCombo, gForm16CategoryCombo, gForm16NewCategoryEdit,
    gForm16PlusButton, gForm16HintLabel, gForm16ListLabel, gForm16ClassCombo, gForm16BatalButton,
    gForm16TerapkanButton, gForm16List, gForm16TujuanLabel;
extern int gForm16AddButtonId, gForm16JurusanEditId, gForm16GradeComboId, gForm16CategoryComboId,
    gForm16NewCategoryEditId, gForm16PlusButtonId, gForm16HintLabelId, gForm16ListLabelId, gForm16ClassComboId,
    gForm16BatalButtonId, gForm16TerapkanButtonId, gForm16ListId, gForm16TujuanLabelId;

// ----- what the move computes and writes --------------------------------------------------------------------------
// The grades offered for a new class name, in order.
const std::vector<std::string>& FORM16_Grades();
// A new class name: the grade, one blank, the further part ("VII" + "A" = "VII A"; "VII" + "" = "VII ").
std::string FORM16_NewClassName(const std::string& grade, const std::string& further);
// The categories of a school year, one row per distinct Kategori.
std::string FORM16_CategorySql(const std::string& tapel);
// A student to move: the id and the class the student list showed the student in.
struct Form16Student {
  std::string id;
  std::string kelas;
};
// The move of one student: Kelas and Kategori of the student's class row of `tapel`, while that row holds the class
// the list showed (a row of another class, changed since the list was loaded, is left alone).
std::string FORM16_MoveSql(const std::string& kelas, const std::string& kategori, const Form16Student& student,
                           const std::string& tapel);
// Moves every student of `students` to `kelas` / `kategori` in school year `tapel` in one transaction: all of them or
// none. A failure is shown ("SQL error: " + message, caption "Info") and undoes the whole move. True when the move is
// written.
bool FORM16_MoveStudents(const std::vector<Form16Student>& students, const std::string& kelas,
                         const std::string& kategori, const std::string& tapel);
// The class row `row` of the student list `list` shows: its KELAS cell, or `listClass` (the class the list was loaded
// for) where the list has no class column (the short layout).
std::string FORM16_ShownClass(Hwnd list, int row, const std::string& listClass);

// ----- the window -------------------------------------------------------------------------------------------------
// Creates the window (477 x 362, centred) owned by `parent` and shows it through FrmShow; modal: returns the form
// result (always 0) once it has closed. The student list calls it with (gForm2Window, 1, 0).
std::intptr_t FORM16_Show(Hwnd parent, int modal, int userData);
LResult FORM16_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORM16_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORM16_CreateControls(Hwnd form);
// New-class fields out of view; the ticked rows of the student list; the target classes and the categories, the
// first of each chosen.
LResult FORM16_OnCreate(Hwnd form, std::intptr_t userData);
// Row callback: column 0 appended to the category list (NULL as the empty text).
int FORM16_AddCategoryItem(void* user, int columnCount, char** values, char** names);

// Command handlers, called as (control index, form, control, control id); each returns 0.
LResult FORM16_ShowNewClassFields(int index, Hwnd form, Hwnd control, int id);   // "+"
LResult FORM16_AddClass(int index, Hwnd form, Hwnd control, int id);             // "Add": choices for this move
// "Terapkan": the move of every listed student (all or none); once written, the student list reloaded and the window
// closed with 0. A failed move leaves the window open and nothing changed.
LResult FORM16_Apply(int index, Hwnd form, Hwnd control, int id);
