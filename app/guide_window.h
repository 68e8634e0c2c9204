// The required-data guide "Data yang wajib terisi": tells the operator which of the required data (students and
// their classes, ledger accounts, fees of the working school year) are still missing, and leads to the spreadsheet
// templates, the import of pasted rows, the fee list and the promotion to the new school year.
#pragma once
#include <cstdint>
#include <string>

#include "framework/win.h"

// The window while it exists, else 0; its controls.
extern Hwnd gForm24Window;
extern Hwnd gForm24Picture, gForm24IntroLabel, gForm24SiswaTitle, gForm24SiswaCountLabel, gForm24KelasCountLabel,
    gForm24SiswaInfoLabel, gForm24FormatSiswaButton, gForm24ImportSiswaButton, gForm24KenaikanButton,
    gForm24RekeningTitle, gForm24RekeningCountLabel, gForm24RekeningInfoLabel, gForm24FormatRekeningButton,
    gForm24ImportRekeningButton, gForm24AkunTitle, gForm24AkunCountLabel, gForm24AkunInfoLabel, gForm24AkunButton,
    gForm24SelesaiButton;
// Control ids (1000 upwards in design order).
extern int gForm24PictureId, gForm24IntroLabelId, gForm24SiswaTitleId, gForm24SiswaCountLabelId,
    gForm24KelasCountLabelId, gForm24SiswaInfoLabelId, gForm24FormatSiswaButtonId, gForm24ImportSiswaButtonId,
    gForm24KenaikanButtonId, gForm24RekeningTitleId, gForm24RekeningCountLabelId, gForm24RekeningInfoLabelId,
    gForm24FormatRekeningButtonId, gForm24ImportRekeningButtonId, gForm24AkunTitleId, gForm24AkunCountLabelId,
    gForm24AkunInfoLabelId, gForm24AkunButtonId, gForm24SelesaiButtonId;
void FORM24_InitControlIds();

// ----- what the guide computes ------------------------------------------------------------------------------------
// One count statement run with FinCbSingleValue. A statement that fails (its "SQL error: " box shown) counts as 0
// and so as missing; it never takes the value an earlier statement left.
struct Form24Count {
  long long count = 0;
  bool failed = false;
  bool missing() const { return count < 1; }
};
Form24Count FORM24_Count(const std::string& sql);

// The four counts of the guide, in the order it takes them: students (all school years), class rows, ledger
// accounts and fees of gTapel (quoted).
struct Form24Counts {
  Form24Count siswa, siswaKelas, rekening, account;
};
Form24Counts FORM24_TakeCounts();

// A count label: prefix + count + " Data" ("Keterangan:" + 0 + " Data", "Siswa Kelas:" + 0 + " Data").
std::string FORM24_CountText(const std::string& prefix, long long count);

// Where the two spreadsheet templates lie: program folder + "/CopyPaste dari Excel/" + file name.
std::string FORM24_TemplatePath(const std::string& fileName);

// ----- the window -------------------------------------------------------------------------------------------------
// Creates the guide (886 x 609, centred) owned by `parent` and shows it through FrmShow; modal: returns the form
// result once it has closed. The start-up check calls it with (gMdiClient, 1, 0).
std::intptr_t FORM24_Show(Hwnd parent, int modal, int userData);
LResult FORM24_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORM24_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORM24_CreateControls(Hwnd form);
// Takes the four counts and marks what is missing: count labels, yellow instructions, "KENAIKAN KELAS" enabled.
LResult FORM24_OnLoad(Hwnd form, std::intptr_t userData);

// Command handlers, called as (control index, form, control, control id); each returns 0.
LResult FORM24_FormatSiswa(int index, Hwnd form, Hwnd control, int id);       // opens "Data Siswa.xlsx"
LResult FORM24_FormatRekening(int index, Hwnd form, Hwnd control, int id);    // opens "Data Rekening.xlsx"
LResult FORM24_ImportSiswa(int index, Hwnd form, Hwnd control, int id);       // gFormMode "Siswa", the import
LResult FORM24_ImportRekening(int index, Hwnd form, Hwnd control, int id);    // gFormMode "Rekening", the import
LResult FORM24_DataAkun(int index, Hwnd form, Hwnd control, int id);          // the fee list, then closes (0)
LResult FORM24_KenaikanKelas(int index, Hwnd form, Hwnd control, int id);     // the promotion, then closes (0)
LResult FORM24_Selesai(int index, Hwnd form, Hwnd control, int id);           // closes with 0
