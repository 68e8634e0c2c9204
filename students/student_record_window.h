// The student record window "Siswa Record.." (FORMSISWA): adds students to the class chosen in the student list
// (gForm2ClassCombo) for the working school year gTapel, or edits the student at the student list's selection mark,
// as gEditMode says (0 add, 1 edit). A new student gets, in one transaction, the siswa row, the siswakelas row of gTapel
// and one detail_account billing row per fee of the class and year; the saved values are written back into the
// student list's row. The window also brings the student's photo in ("image/" + id + ".bmp" in the working folder).
#pragma once
#include <QDate>
#include <cstdint>
#include <string>
#include <vector>

#include "common/sql.h"
#include "framework/win.h"

// The window while it exists, else 0; its controls.
extern Hwnd gFormSiswaWindow;
extern Hwnd gFormSiswaHeaderGroup, gFormSiswaHeaderIcon, gFormSiswaTitleLabel, gFormSiswaSubtitleLabel,
    gFormSiswaIdLabel, gFormSiswaIdEdit, gFormSiswaNamaLabel, gFormSiswaNamaEdit, gFormSiswaGenderLabel,
    gFormSiswaGenderCombo, gFormSiswaTmpLahirLabel, gFormSiswaTmpLahirEdit, gFormSiswaTglLahirLabel,
    gFormSiswaTglLahirPicker, gFormSiswaAgamaLabel, gFormSiswaAgamaCombo, gFormSiswaAlamatLabel, gFormSiswaAlamatEdit,
    gFormSiswaKetLabel, gFormSiswaKetEdit, gFormSiswaAccountList, gFormSiswaPhoto, gFormSiswaPhotoButton,
    gFormSiswaSaveButton;
// Control ids (1000 upwards in design order).
extern int gFormSiswaHeaderGroupId, gFormSiswaHeaderIconId, gFormSiswaTitleLabelId, gFormSiswaSubtitleLabelId,
    gFormSiswaIdLabelId, gFormSiswaIdEditId, gFormSiswaNamaLabelId, gFormSiswaNamaEditId, gFormSiswaGenderLabelId,
    gFormSiswaGenderComboId, gFormSiswaTmpLahirLabelId, gFormSiswaTmpLahirEditId, gFormSiswaTglLahirLabelId,
    gFormSiswaTglLahirPickerId, gFormSiswaAgamaLabelId, gFormSiswaAgamaComboId, gFormSiswaAlamatLabelId,
    gFormSiswaAlamatEditId, gFormSiswaKetLabelId, gFormSiswaKetEditId, gFormSiswaAccountListId, gFormSiswaPhotoId,
    gFormSiswaPhotoButtonId, gFormSiswaSaveButtonId;
void FORMSISWA_InitControlIds();

// ----- what the window computes -----------------------------------------------------------------------------------
// A student as the form holds it. `lp` is the gender letter ("L" / "P", or empty), `tglLahir` "yyyy-mm-dd".
struct FormSiswaStudent {
  std::string id, nama, lp, tmpLahir, tglLahir, agama, alamat, ket;
};
// A fee of the class as the payment-account list shows it.
struct FormSiswaAccount {
  std::string id;
  std::string jumlah;   // the amount as listed
  std::string type;     // exactly "Perbulan" for a monthly fee; anything else is yearly
};
// What one student owes on one fee: the year's total and the amount of each of the twelve months.
struct FormSiswaBilling {
  long long total = 0;
  long long month = 0;
};

// A free text ready for the database: every "'" becomes "`".
std::string FORMSISWA_FreeText(const std::string& text);
// The entry date as the window stores it: year, month and day without leading zeros ("2021-3-5").
std::string FORMSISWA_EntryDate(const QDate& date);
// The billing of a fee: a monthly fee 12 x its amount in the year and its amount in every month; a yearly fee its
// amount in the year and 0 in the months. The amount is read as a whole number (an empty amount is 0).
FormSiswaBilling FORMSISWA_Billing(const FormSiswaAccount& account);

// "Select Count(*) From siswa WHERE Id='...'".
std::string FORMSISWA_CountSql(const std::string& id);
// The count of class rows of `tapel` that an id still has (its key, or its id and year): a deleted student leaves
// them, and a new student with that id would get a second class row and a second set of billing rows.
std::string FORMSISWA_ClassRowCountSql(const std::string& id, const std::string& tapel);
// The refusal of a new student whose id still has a class row in the working school year (caption "Info").
extern const char* const kFormSiswaClassRowTaken;
// The refusal of a new student when the class's fees could not be read as the window opened (caption "Info").
extern const char* const kFormSiswaAccountsNotRead;
// The statements that add a student, in order: the siswa row (status 'Aktif', TglMasuk `entryDate`), the siswakelas
// row of `kelas` in `tapel`, then one detail_account row per account. Free texts go through FORMSISWA_FreeText;
// every value through SqlQ.
std::vector<std::string> FORMSISWA_InsertSql(const FormSiswaStudent& s, const std::string& kelas,
                                             const std::string& tapel, const std::string& entryDate,
                                             const std::vector<FormSiswaAccount>& accounts);
// The update of an edited student's siswa row, keyed by its id.
std::string FORMSISWA_UpdateSql(const FormSiswaStudent& s);
// The counts a new student's id must pass, in order, each counting what stands in its way: the siswa rows of the id
// (FORMSISWA_CountSql), its class rows of `tapel` (FORMSISWA_ClassRowCountSql), and the payment, savings and billing
// rows of any year that name it (FinStudentMoneyRowsSql).
std::vector<std::string> FORMSISWA_FreeIdCountSqls(const std::string& id, const std::string& tapel);
// Writes a new student: the counts of FORMSISWA_FreeIdCountSqls, then the statements of FORMSISWA_InsertSql, in one
// transaction (FinInsertIfAllFree), all rows or none. A count that finds rows gives Taken, nothing written and nothing
// shown, with `takenBy` (when given) its place; a failing statement shows "SQL error: " + SQLite's message ("Info")
// and nothing stays written (Failed).
FinInsertResult FORMSISWA_InsertStudent(const FormSiswaStudent& s, const std::string& kelas, const std::string& tapel,
                                        const std::string& entryDate, const std::vector<FormSiswaAccount>& accounts,
                                        int* takenBy = nullptr);
// An edit of a student the file no longer has: nothing changed (caption "Info"). "Data siswa tidak ditemukan, tidak
// ada data yang dirubah.."
extern const char* const kFormSiswaNotFound;
// "image/" + id + ".bmp" under the working folder.
std::string FORMSISWA_PhotoFile(const std::string& id);
// Copies `source` to the student's photo file, in place of the photo the student had (FinReplacePhoto; the folder
// "image" is made when missing). True when the photo file holds the copy; a copy that cannot be made is silent.
bool FORMSISWA_CopyPhoto(const std::string& source, const std::string& id);

// ----- the window -------------------------------------------------------------------------------------------------
// Creates "Siswa Record.." (497 x 514, centred) owned by `parent` and shows it through FrmShow; modal: returns the
// form result once it has closed. The student list calls it with (gForm2Window, 1, 0) after setting gEditMode.
std::intptr_t FORMSISWA_Show(Hwnd parent, int modal, int userData);
LResult FORMSISWA_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORMSISWA_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORMSISWA_CreateControls(Hwnd form);
// Edit mode: the student of the list's row at its selection mark into the fields (the id locked). Both modes: the
// fees of the list's class in gTapel into the payment-account list. The chosen photo of an earlier run is forgotten.
LResult FORMSISWA_OnCreate(Hwnd form, std::intptr_t userData);
// The photo button: a bitmap file chosen into gPhotoPath and shown; nothing copied yet.
LResult FORMSISWA_ChoosePhoto(int index, Hwnd form, Hwnd control, int id);
// "Simpan": edit mode updates the student and closes; add mode refuses a known id, an empty id or name, an id that
// still has a class row in gTapel (kFormSiswaClassRowTaken), an id that payment, savings or billing rows of any year
// still name (FinStudentIdsHaveMoneyText, students/student_ids.h), and any student when the class's fees could not
// be read at opening (kFormSiswaAccountsNotRead); a count that fails writes nothing (its "SQL error: " box). Else it
// writes the student with class row and billing rows, appends the student to the list and clears the form for the
// next one.
LResult FORMSISWA_Save(int index, Hwnd form, Hwnd control, int id);
