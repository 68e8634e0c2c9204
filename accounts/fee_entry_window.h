// FORMAKUNBAYAR "Akun Pembayaran": the modal window in which the operator adds a fee to the class the fee list
// (FORM6) shows, or edits the fee selected there. An add also bills the fee: one detail_account row for every student
// of the class in gTapel, written in the same transaction as the fee. An edit rewrites the fee and every billing row
// of it, in one transaction.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "common/sql.h"
#include "framework/win.h"

// The window while it exists, else 0; its controls.
extern Hwnd gFormAkunBayarWindow;
extern Hwnd gFormAkunBayarDefaultCheck, gFormAkunBayarReferensiCombo, gFormAkunBayarIdEdit,
    gFormAkunBayarDeskripsiCombo, gFormAkunBayarPembayaranEdit, gFormAkunBayarJumlahEdit, gFormAkunBayarJenisCombo,
    gFormAkunBayarSimpanButton, gFormAkunBayarJenisLabel, gFormAkunBayarReferensiLabel, gFormAkunBayarJumlahLabel,
    gFormAkunBayarIdLabel, gFormAkunBayarDeskripsiLabel, gFormAkunBayarIcon, gFormAkunBayarGroup,
    gFormAkunBayarTitle, gFormAkunBayarSubtitle;
// Control ids (1000 upwards in design order).
extern int gFormAkunBayarDefaultCheckId, gFormAkunBayarReferensiComboId, gFormAkunBayarIdEditId,
    gFormAkunBayarDeskripsiComboId, gFormAkunBayarPembayaranEditId, gFormAkunBayarJumlahEditId,
    gFormAkunBayarJenisComboId, gFormAkunBayarSimpanButtonId, gFormAkunBayarJenisLabelId,
    gFormAkunBayarReferensiLabelId, gFormAkunBayarJumlahLabelId, gFormAkunBayarIdLabelId,
    gFormAkunBayarDeskripsiLabelId, gFormAkunBayarIconId, gFormAkunBayarGroupId, gFormAkunBayarTitleId,
    gFormAkunBayarSubtitleId;
void FORMAKUNBAYAR_InitControlIds();

// The last item of the Deskripsi combo: choosing it empties the Pembayaran field for a new name.
extern const char* const kFormAkunBayarNewName;   // "Tambah Deskripsi Baru"

// The identifier proposed for a new fee of the class the open fee entry window took from its fee list (the current
// fee list's class when none is open): FinFeeId with the next number of the sequence, or the first number after it
// whose id no fee, billing row or payment still names (FinFreeFeeNumber).
std::string FORMAKUNBAYAR_ProposedId();

// Writes a new fee of school year `tapel` and its billing rows in one transaction: the account row (Semester '0',
// Jenjang 'ins'), then one billing row per student of `kelas` in `tapel`. All or nothing; a failing statement shows
// "SQL error: " + message (caption "Info"). The transaction first counts what names `id` (FinFeeIdNamed): an id named
// by then is Taken, nothing written and nothing shown (the caller refuses in its own words).
FinInsertResult FORMAKUNBAYAR_InsertFee(const std::string& id, const std::string& pembayaran,
                                        const std::string& kelas, long long amount, const std::string& type,
                                        const std::string& refRekening, const std::string& tapel);
// Rewrites a fee (its amount only when `withAmount`) and every billing row of it with `amount`, in one transaction.
// True when written. When no fee has `id`, nothing is written and `found` (when given) is set false.
bool FORMAKUNBAYAR_UpdateFee(const std::string& id, const std::string& pembayaran, const std::string& kelas,
                             long long amount, bool withAmount, const std::string& type,
                             const std::string& refRekening, bool* found = nullptr);
// An edit of a fee the file no longer has: nothing saved (caption "Info"). "Akun pembayaran tidak ditemukan, tidak ada
// data yang disimpan.."
extern const char* const kFormAkunBayarNotFound;

// Creates the window (407 x 329, centred) owned by `owner` (the fee list window) and runs it modally when `modal`
// is 1; returns the form result.
std::intptr_t FORMAKUNBAYAR_Show(Hwnd owner, int modal, int userData);
LResult FORMAKUNBAYAR_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORMAKUNBAYAR_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORMAKUNBAYAR_CreateControls(Hwnd form);
// Fills the combos; proposes an id (add, gEditMode below 1) or takes the fee list's marked row (edit: its class is
// the one the save writes, so that an edit keeps the fee in its own class). Returns 0.
LResult FORMAKUNBAYAR_Init(Hwnd form, std::intptr_t userData);
// "Simpan". Returns 0.
LResult FORMAKUNBAYAR_Save(Hwnd form);
// A name chosen in the Deskripsi combo.
void FORMAKUNBAYAR_OnDeskripsiChange(Hwnd form);

// Row callbacks: an income account (Kode, Deskripsi) into Referensi; a fee name into Deskripsi; a student id of the
// class (IdSiswa) kept for the billing rows of an add.
int FORMAKUNBAYAR_OnRekeningRow(void* user, int columnCount, char** values, char** names);
int FORMAKUNBAYAR_OnPembayaranRow(void* user, int columnCount, char** values, char** names);
int FORMAKUNBAYAR_OnStudentRow(void* user, int columnCount, char** values, char** names);
