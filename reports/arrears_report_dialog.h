// FORMLAPTUNGGAKAN "Laporan Keuangan Sekolah": the small modal dialog of the arrears report window. The operator picks
// a class of gTapel and runs one of two builders (reports/arrears_reports.h), each of which refills the arrears
// report window's list gForm11List and closes the dialog. "Show Data" hands the class over in gPickClass and keeps
// it for the report window it reports into (FORM11_KeepShownClass) first; the third button, "Rekap Tunggakan Jenis
// Perbulan Per Kelas", stays disabled (no command stands behind it).
#pragma once
#include <cstdint>

#include "framework/win.h"

// The dialog while it exists, else 0 (the builders close it through this), and its controls.
extern Hwnd gFormLapTunggakanWindow;
extern Hwnd gFormLapTunggakanGroup, gFormLapTunggakanClassLabel, gFormLapTunggakanClassCombo,
    gFormLapTunggakanShowDataButton, gFormLapTunggakanRecapButton, gFormLapTunggakanMonthlyButton;
// Control ids, 1000 upwards in creation order.
extern int gFormLapTunggakanGroupId, gFormLapTunggakanClassLabelId, gFormLapTunggakanClassComboId,
    gFormLapTunggakanShowDataButtonId, gFormLapTunggakanRecapButtonId, gFormLapTunggakanMonthlyButtonId;

// Creates the dialog (340 x 208, centred on the screen, the batik pattern behind it) with `owner` and shows it; with
// `modal` 1 the owner is disabled and the dialog's loop runs until it is gone. Returns gFormResult as FrmShow
// leaves it.
std::intptr_t FORMLAPTUNGGAKAN_Show(Hwnd owner, int modal, int userData);
LResult FORMLAPTUNGGAKAN_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORMLAPTUNGGAKAN_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
// The six controls in their order.
void FORMLAPTUNGGAKAN_CreateControls(Hwnd dialog);
// Fills the class combo with the classes of gTapel, selects the first and disables the monthly-recap button.
// Returns 0.
LResult FORMLAPTUNGGAKAN_OnLoad(Hwnd dialog);
// "Show Data": gPickClass = the combo's class, kept as the report window's shown class, then
// FORMLAPTUNGGAKAN_BuildArrears. Returns 0.
LResult FORMLAPTUNGGAKAN_OnShowData(Hwnd dialog);
