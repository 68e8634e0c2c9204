// The operator editor "User Admin": the modal editor of one operator over the operator list: the login name, the
// twelve access rights of the access string and a photo. A new operator gets the default password "5927"; an
// existing one keeps its password (only the password window changes it).
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "framework/win.h"

// The window while it exists, else 0; its controls.
extern Hwnd gFormAdminWindow;
extern Hwnd gFormAdminHeader, gFormAdminIcon, gFormAdminTitle, gFormAdminSubtitle, gFormAdminPhotoButton,
    gFormAdminPhoto, gFormAdminNameLabel, gFormAdminNameEdit, gFormAdminAccessList, gFormAdminSaveButton;
// Control ids (1000 upwards in design order).
extern int gFormAdminHeaderId, gFormAdminIconId, gFormAdminTitleId, gFormAdminSubtitleId, gFormAdminPhotoButtonId,
    gFormAdminPhotoId, gFormAdminNameLabelId, gFormAdminNameEditId, gFormAdminAccessListId, gFormAdminSaveButtonId;
void FORMADMIN_InitControlIds();

// ----- what the editor computes -------------------------------------------------------------------------------------
// The labels of the twelve access positions, in access-string order ("Data Siswa" .. "Laporan Tabungan").
inline constexpr int kAccessPositions = 12;
extern const char* const kAccessLabels[kAccessPositions];
inline constexpr const char* kDefaultPassword = "5927";

// The rights cell of row `row` (0..11): the character at position row + 1 of `akses`, "" past its end.
std::string FORMADMIN_AccessCell(const std::string& akses, int row);
// "1" <-> "0"; any other cell text is returned unchanged.
std::string FORMADMIN_ToggledCell(const std::string& cell);

// The operator's photo file, relative to the working folder: "image/" + name + ".bmp". A name that holds a path
// separator ("/" or "\") would name a file outside the photo folder and has no photo file (the empty text).
std::string FORMADMIN_PhotoFile(const std::string& name);
// Copies `source` to the photo file of `name`, in place of the photo the operator had (FinReplacePhoto). A copy
// that cannot be made (no source, missing "image" folder, a name without photo file) is silent. True when the photo
// file holds the copy.
bool FORMADMIN_CopyPhoto(const std::string& source, const std::string& name);

// The statements of the save; every value quoted (a name or rights text cannot reach another row).
std::string FORMADMIN_CountSql(const std::string& name);
std::string FORMADMIN_UpdateSql(const std::string& name, const std::string& akses);
std::string FORMADMIN_InsertSql(const std::string& name, const std::string& akses);

// Box texts (caption "Entry Data..").
inline constexpr const char* kFormAdminCaption = "Entry Data..";
inline constexpr const char* kFormAdminSaved = "Data berhasil disimpan..";
inline constexpr const char* kFormAdminMissing = "Gagal menyimpan, kolom Kode atau Nama belum terisi..";

// ----- the window -------------------------------------------------------------------------------------------------
// Creates the editor (645 x 561, centred) owned by `owner` and shows it through FrmShow; modal: returns the form
// result once it has closed. The operator list calls it with (gForm7Window, 1, 0) and its marked row after setting
// gEditMode (0 add, 1 edit that row).
// What the operator list hands the editor it opens: the marked operator's name and access string (used in edit mode)
// and what to call once "Simpan" has run (its reload).
struct FormAdminOwner {
  std::string name, akses;
  std::function<void()> reload;
};
std::intptr_t FORMADMIN_Show(Hwnd owner, int modal, int userData, FormAdminOwner from);
LResult FORMADMIN_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
// A left-button release over the access list toggles the right of the row at the list's selection mark.
LResult FORMADMIN_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORMADMIN_CreateControls(Hwnd form);
// The access list's columns and twelve rows; add mode: every right "1"; edit mode: name, rights and photo of the
// operator the list handed over (its row at the selection mark when it opened the editor). A photo chosen earlier
// (for another operator or a student) is forgotten: only a photo chosen in this editor is saved. Returns 0.
LResult FORMADMIN_OnLoad(Hwnd form, std::intptr_t userData);
// "Simpan": updates the rights of an existing name or inserts a new operator with the default password, copies the
// photo chosen in this editor over the operator's photo, forgets it, runs the list's reload (the operator list
// refilled) and closes the editor (on every path). Returns 0.
LResult FORMADMIN_Save(Hwnd form);
// "Ganti Foto": the open-file dialog for a bitmap; the chosen file becomes gPhotoPath and is shown. Returns 0.
LResult FORMADMIN_ChoosePhoto(Hwnd form);
// Toggles "1" / "0" in the rights column of the row at `list`'s selection mark. Returns 0.
LResult FORMADMIN_ToggleAccess(Hwnd list);
