// FORMREKBAYAR1 "Pembayaran Per Bulan": the month chooser the arrears window opens for its marked row when the fee is
// monthly. It lists the twelve months of the school year with the student's billed amount of each, marks the months
// that the student's payments on the fee already cover as "Lunas", and on "Sisip" writes the sum of the ticked
// months and " Bulan : " first " s/d " last month into that arrears row (columns "Pembayaran" and "Jumlah"). It reads
// the fee from the arrears list and the student from gFormBayarIdEdit, and writes nothing to the database.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/win.h"

// The chooser while it exists, else 0, and its controls.
extern Hwnd gFormRekBayar1Window;
extern Hwnd gFormRekBayar1BatalButton, gFormRekBayar1SisipButton, gFormRekBayar1List;
// Control ids: "Batal" 2 (Esc acts as "Batal"), then 1000 upwards in creation order.
extern int gFormRekBayar1BatalButtonId, gFormRekBayar1SisipButtonId, gFormRekBayar1ListId;
void FORMREKBAYAR1_InitControlIds();

// ----- what the chooser computes ---------------------------------------------------------------------------------
// One month of the list.
struct MonthChooserRow {
  std::string amount;   // "Jumlah": "0" for a paid month, else the billed amount as stored
  bool paid = false;    // "Keterangan" "Lunas"
};
// Walks one billing row's twelve months (juli .. juni, as stored) with what remains of the paid sum: while the
// remainder is above 0 the month is paid ("0", "Lunas") and its billed amount is taken off the remainder (which may
// go below 0; whole rupiah after each step), else the month shows its billed amount. A month the remainder covers
// only in part is paid all the same, and the rest of it is not carried on.
void FinMonthChooserWalk(const std::array<std::string, 12>& months, long long& remaining,
                         std::array<MonthChooserRow, 12>& rows);

// What "Sisip" makes of the ticked months.
struct MonthChoice {
  long long sum = 0;        // the ticked months' amounts above 0, whole rupiah
  std::string first, last;  // their first and last month names in list order (empty when none)
  int months = 0;           // which they are, as bits: bit 0 July .. bit 11 June
};
// `amounts` and `ticked` in list order (Juli first), `names` the month names.
MonthChoice FinMonthChooserChoose(const std::vector<std::string>& amounts, const std::vector<bool>& ticked,
                                  const std::vector<std::string>& names);
// The name of month n (1 July .. 12 June) as the chooser lists it (gMonthNames, else the built-in name).
std::string FinMonthChooserMonthName(int n);
// The arrears row's new name: the current text + " Bulan : " + first + " s/d " + last.
std::string FinMonthChooserName(const std::string& name, const MonthChoice& choice);

// The statements: the student's paid sum on the fee; the student's billing row of the fee (every column, so that
// juli is the fifth value and juni the sixteenth).
std::string FinMonthChooserPaidSql(const std::string& student, const std::string& fee);
std::string FinMonthChooserBillingSql(const std::string& student, const std::string& fee);

// ----- the window -----------------------------------------------------------------------------------------------
// Creates the chooser (390 x 462, centred, kept above other windows) owned by `parent`; modal when `modal` is 1 (the
// arrears window, with itself as owner and user data 0), modeless when 0 (the chooser tab host). Returns the form
// runtime's result (modal) or the window (modeless); 0 when no window was made.
std::intptr_t FORMREKBAYAR1_Show(Hwnd parent, int modal, int userData);
LResult FORMREKBAYAR1_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORMREKBAYAR1_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORMREKBAYAR1_CreateControls(Hwnd form);
// The four columns and twelve months; the months of the marked arrears row's fee for the student, paid ones marked.
LResult FORMREKBAYAR1_LoadMonths(Hwnd form, std::intptr_t userData);
// Row callback of the billing row: walks its months (FinMonthChooserWalk) into the list.
int FORMREKBAYAR1_OnBillingRow(void* user, int columnCount, char** values, char** names);
// "Sisip": the ticked months into the marked arrears row (and which they are, FORMTUNGGAKAN_SetRowItemData, so that the
// save takes none that another desk has paid meanwhile), then the chooser closes with result 0. Returns 0.
LResult FORMREKBAYAR1_Insert(int index, Hwnd form, Hwnd control, int id);
