// FORMLAPBAYAR "Laporan Pembayaran": the small modal dialog of the payment report window. It holds the selection
// (class, period, monthly fee) and one button per report; each button runs its builder (reports/payment_reports.h),
// which refills the payment report window's list gForm10List and closes the dialog. The monthly fee report refuses
// without a fee and leaves the dialog open.
#pragma once
#include <cstdint>
#include <string>

#include "framework/win.h"

// The dialog while it exists, else 0 (the builders close it through this), and its controls.
extern Hwnd gFormLapBayarWindow;
extern Hwnd gFormLapBayarMonthlyButton, gFormLapBayarTodayButton, gFormLapBayarAccountLabel,
    gFormLapBayarAccountCombo, gFormLapBayarGroup, gFormLapBayarDailyButton, gFormLapBayarClassLabel,
    gFormLapBayarToDate, gFormLapBayarPeriodLabel, gFormLapBayarMonthButton, gFormLapBayarRecapButton,
    gFormLapBayarFromDate, gFormLapBayarClassCombo, gFormLapBayarShowDataButton;
// Control ids, 1000 upwards in creation order.
extern int gFormLapBayarMonthlyButtonId, gFormLapBayarTodayButtonId, gFormLapBayarAccountLabelId,
    gFormLapBayarAccountComboId, gFormLapBayarGroupId, gFormLapBayarDailyButtonId, gFormLapBayarClassLabelId,
    gFormLapBayarToDateId, gFormLapBayarPeriodLabelId, gFormLapBayarMonthButtonId, gFormLapBayarRecapButtonId,
    gFormLapBayarFromDateId, gFormLapBayarClassComboId, gFormLapBayarShowDataButtonId;

// ----- what the dialog computes ---------------------------------------------------------------------------------
// The classes offered for a school year: in use that year, without 'DO' and graduates, one item per class.
std::string FORMLAPBAYAR_ClassesSql(const std::string& tapel);
// The monthly fees of a class in a school year, each as fee id + "; " + fee name.
std::string FORMLAPBAYAR_MonthlyFeesSql(const std::string& kelas, const std::string& tapel);

// ----- the dialog -----------------------------------------------------------------------------------------------
// Creates the dialog (268 x 411, centred on the screen) with `owner` and shows it; with `modal` 1 the owner is
// disabled and the dialog's loop runs until it is gone. Returns gFormResult as FrmShow leaves it.
std::intptr_t FORMLAPBAYAR_Show(Hwnd owner, int modal, int userData);
LResult FORMLAPBAYAR_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORMLAPBAYAR_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
// The fourteen controls in their order; the focus to "Show Laporan Pembayaran Per Bulan".
void FORMLAPBAYAR_CreateControls(Hwnd dialog);
// Fills the class combo for gTapel, sets both dates to gToday and selects the first class (no selection-change
// notification, so the fee combo stays empty). Returns 0.
LResult FORMLAPBAYAR_OnLoad(Hwnd dialog);
// A class chosen by the operator: the fee combo refilled with that class's monthly fees, the first selected.
// Returns 0.
LResult FORMLAPBAYAR_OnClassChange(Hwnd dialog);
// "Show Data": the payments per student and fee of the class in the period. Returns 0.
LResult FORMLAPBAYAR_OnShowData(Hwnd dialog);
// Row callbacks: a class into the class combo; a fee item into the fee combo.
int FORMLAPBAYAR_CbAddClass(void* user, int columnCount, char** values, char** names);
int FORMLAPBAYAR_CbAddAccount(void* user, int columnCount, char** values, char** names);
