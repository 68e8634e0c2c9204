#include "payments/month_chooser.h"

#include <QWidget>

#include "common/globals.h"
#include "common/query_callbacks.h"
#include "common/session.h"
#include "common/sql.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/numbers.h"
#include "framework/window_system.h"
#include "payments/arrears_window.h"
#include "payments/payment_globals.h"
#include "payments/payment_save.h"

Hwnd gFormRekBayar1Window = 0;
Hwnd gFormRekBayar1BatalButton = 0, gFormRekBayar1SisipButton = 0, gFormRekBayar1List = 0;
int gFormRekBayar1BatalButtonId = 2, gFormRekBayar1SisipButtonId = 1000, gFormRekBayar1ListId = 1001;

void FORMREKBAYAR1_InitControlIds() {
  gFormRekBayar1BatalButtonId = 2;
  gFormRekBayar1SisipButtonId = 1000;
  gFormRekBayar1ListId = 1001;
}

namespace {

constexpr const char* kButtonFont = "Arial Unicode MS,9,0";
constexpr const char* kListFont = "Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34";
const char* const kMonths[12] = {"Juli",    "Agustus",  "September", "Oktober", "Nopember", "Desember",
                                 "Januari", "Februari", "Maret",     "April",   "Mei",      "Juni"};

FrmForm gFormRekBayar1 = {.name = "FORMREKBAYAR1",
                          .wndProc = FORMREKBAYAR1_WndProc,
                          .window = &gFormRekBayar1Window,
                          .createControls = FORMREKBAYAR1_CreateControls,
                          .onCreate = FORMREKBAYAR1_LoadMonths,
                          .caption = "Pembayaran Per Bulan",
                          .style = WS_POPUP | WS_CAPTION | WS_SYSMENU,
                          .exStyle = WS_EX_TOPMOST,
                          .width = 390,
                          .height = 462};

// What remains of the student's paid sum while the billing row arrives.
long long gRemaining = 0;

// Month n (1..12) of the school year, as gMonthNames names it.
std::string MonthName(int n) {
  if (n < static_cast<int>(gMonthNames.size()) && !gMonthNames[n].empty()) return gMonthNames[n];
  return kMonths[n - 1];
}

// The arrears row the chooser works on: the arrears list's selection mark.
int ArrearsRow() { return LvGetSelectionMark(gFormTunggakanList); }

}  // namespace

// ----- what the chooser computes -------------------------------------------------------------------------------------
void FinMonthChooserWalk(const std::array<std::string, 12>& months, long long& remaining,
                         std::array<MonthChooserRow, 12>& rows) {
  for (int i = 0; i < 12; ++i) {
    if (remaining > 0) {
      rows[i] = {"0", true};
      remaining = RoundHalfEven(static_cast<double>(remaining) - Val(months[i]));
    } else {
      rows[i] = {months[i], false};
    }
  }
}

std::string FinMonthChooserMonthName(int n) { return MonthName(n); }

MonthChoice FinMonthChooserChoose(const std::vector<std::string>& amounts, const std::vector<bool>& ticked,
                                  const std::vector<std::string>& names) {
  MonthChoice c;
  bool any = false;
  for (std::size_t i = 0; i < amounts.size(); ++i) {
    if (i >= ticked.size() || !ticked[i] || Val(amounts[i]) <= 0) continue;
    c.sum = RoundHalfEven(static_cast<double>(c.sum) + Val(amounts[i]));
    const std::string name = i < names.size() ? names[i] : std::string();
    if (!any) c.first = name;
    c.last = name;
    if (i < 12) c.months |= 1 << i;
    any = true;
  }
  return c;
}

std::string FinMonthChooserName(const std::string& name, const MonthChoice& choice) {
  return name + " Bulan : " + choice.first + " s/d " + choice.last;
}

std::string FinMonthChooserPaidSql(const std::string& student, const std::string& fee) {
  return "SELECT sum(Masuk) as jm FROM transaksi where SiswaID='" + SqlQ(student) + "' and AcctId='" + SqlQ(fee) + "'";
}

std::string FinMonthChooserBillingSql(const std::string& student, const std::string& fee) {
  return "SELECT * FROM detail_account WHERE id_account='" + SqlQ(fee) + "' and id_siswa='" + SqlQ(student) + "'";
}

// ----- the window ---------------------------------------------------------------------------------------------------
std::intptr_t FORMREKBAYAR1_Show(Hwnd parent, int modal, int userData) {
  Hwnd form = FrmCreateForm(gFormRekBayar1, parent, userData);
  if (!form) return 0;
  if (QWidget* w = WinWidget(form)) w->setWindowFlag(Qt::WindowStaysOnTopHint, true);   // kept above other windows
  return FrmShow(modal, form, parent, SW_SHOWNORMAL, 0);
}

void FORMREKBAYAR1_CreateControls(Hwnd form) {
  constexpr std::uint32_t kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
  gFormRekBayar1BatalButton = FrmAddControl(form, "Button", "Batal", kButton, 0, 196, 392, 80, 26,
                                            gFormRekBayar1BatalButtonId, FORMREKBAYAR1_CtlSubclassProc, kButtonFont);
  gFormRekBayar1SisipButton = FrmAddControl(form, "Button", "Sisip", kButton, 0, 284, 392, 80, 26,
                                            gFormRekBayar1SisipButtonId, FORMREKBAYAR1_CtlSubclassProc, kButtonFont);
  gFormRekBayar1List = FrmAddControl(form, "SysListView32", "",
                                     WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS,
                                     WS_EX_CLIENTEDGE, 6, 6, 360, 378, gFormRekBayar1ListId,
                                     FORMREKBAYAR1_CtlSubclassProc, kListFont);
  LvSetExtendedStyle(gFormRekBayar1List, LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES);
  LvSetColors(gFormRekBayar1List, 0x000000, 0xFFFFFF);
  CtlSetFocus(gFormRekBayar1BatalButton);
}

LResult FORMREKBAYAR1_LoadMonths(Hwnd, std::intptr_t) {
  Hwnd list = gFormRekBayar1List;
  LvInsertColumn(list, 0, "No.", LVCFMT_CENTER, 50);
  LvInsertColumn(list, 1, "Bulan", LVCFMT_LEFT, 100);
  LvInsertColumn(list, 2, "Jumlah", LVCFMT_RIGHT, 100);
  LvInsertColumn(list, 3, "Keterangan", LVCFMT_CENTER, 100);
  for (int n = 1; n <= 12; ++n) {
    const int r = LvInsertItem(list, LvGetItemCount(list), 0, std::to_string(n), 0, 0);
    LvInsertItem(list, r, 1, MonthName(n), 0, 0);
    LvInsertItem(list, r, 2, "0", 0, 0);
    LvInsertItem(list, r, 3, "", 0, 0);
  }

  const std::string fee = LvGetItemText(gFormTunggakanList, ArrearsRow(), kTunggakanColId);
  const std::string student = CtlGetText(gFormBayarIdEdit);
  gSqlResult.clear();
  // Without the paid sum no month is known to be open: every month stays at 0 and nothing can be paid (its box told
  // the operator). A failed read is never taken as "nothing paid".
  if (FinExec(FinMonthChooserPaidSql(student, fee), FinCbSingleValue) != 0) return 0;
  gRemaining = RoundHalfEven(Val(gSqlResult));
  FinExec(FinMonthChooserBillingSql(student, fee), FORMREKBAYAR1_OnBillingRow);
  return 0;
}

int FORMREKBAYAR1_OnBillingRow(void*, int columnCount, char** values, char**) {
  std::array<std::string, 12> months;
  for (int i = 0; i < 12; ++i) {
    const int col = 4 + i;   // juli is the fifth value of the row, juni the sixteenth
    months[i] = col < columnCount && values && values[col] ? values[col] : "";
  }
  std::array<MonthChooserRow, 12> rows;
  FinMonthChooserWalk(months, gRemaining, rows);
  for (int i = 0; i < 12; ++i) {
    LvSetItemText(gFormRekBayar1List, i, 2, rows[i].amount);
    if (rows[i].paid) LvSetItemText(gFormRekBayar1List, i, 3, "Lunas");
  }
  return 0;
}

LResult FORMREKBAYAR1_Insert(int, Hwnd form, Hwnd, int) {
  std::vector<std::string> amounts, names;
  std::vector<bool> ticked;
  for (int r = 0; r < 12 && r < LvGetItemCount(gFormRekBayar1List); ++r) {
    amounts.push_back(LvGetItemText(gFormRekBayar1List, r, 2));
    names.push_back(LvGetItemText(gFormRekBayar1List, r, 1));
    ticked.push_back(LvGetCheck(gFormRekBayar1List, r) == -1);
  }
  const MonthChoice choice = FinMonthChooserChoose(amounts, ticked, names);
  const int row = ArrearsRow();
  if (row >= 0) {
    LvSetItemText(gFormTunggakanList, row, kTunggakanColName,
                  FinMonthChooserName(LvGetItemText(gFormTunggakanList, row, kTunggakanColName), choice));
    LvSetItemText(gFormTunggakanList, row, kTunggakanColAmount, std::to_string(choice.sum));
    FORMTUNGGAKAN_SetRowItemData(row, PayItemData(choice.months));
  }
  FrmClose(form, 0);
  return 0;
}

LResult FORMREKBAYAR1_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  LResult r = 0;
  if (FrmFormMessage(gFormRekBayar1, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    const int id = static_cast<int>(LOWORD(wParam));
    Hwnd control = reinterpret_cast<Hwnd>(lParam);
    if (id == gFormRekBayar1SisipButtonId) return FORMREKBAYAR1_Insert(FrmIndexOf(control), hwnd, control, id);
    if (id == gFormRekBayar1BatalButtonId) {
      FrmClose(hwnd, 0);
      return 0;
    }
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORMREKBAYAR1_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
