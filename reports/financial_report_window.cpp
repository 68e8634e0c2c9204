#include "reports/financial_report_window.h"

#include <string>
#include <vector>

#include "common/export.h"
#include "common/globals.h"
#include "common/query_callbacks.h"
#include "common/session.h"
#include "common/sql.h"
#include "common/value_aside.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/numbers.h"
#include "framework/resources.h"
#include "framework/window_state.h"
#include "framework/window_system.h"
#include "reports/report_finishing.h"

int gReportMode = 0;
Hwnd gForm8List = 0;
Hwnd gForm8Window = 0, gForm8Rebar = 0, gForm8Toolbar = 0;
int gForm8Id = 112;
int gForm8ListId = 1000, gForm8RebarId = 5000, gForm8ToolbarId = 5100;
int gForm8GlobalId = 5101, gForm8DetailId = 5102, gForm8ExcelId = 5103, gForm8BrowserId = 5104,
    gForm8RefreshId = 5105;

namespace {

constexpr const char* kPageTitle = "LAPORAN KEUANGAN SEKOLAH";
constexpr int kColKode = 0, kColUraian = 1, kColSub = 2, kColJumlah = 3;

void Form8Destroyed(Hwnd form);
void Bind(Hwnd form);

// The mode each window's report was built in (1 global, 0 detailed) is kept with the window (FrmWindowState's mode):
// its "Refresh" rebuilds the report it shows, whatever mode another financial report window chose since.
void KeepShownMode(Hwnd form, int mode) {
  FrmWindowState st;
  st.mode = std::to_string(mode);
  FrmKeepWindowState(form, st);
}

FrmForm gForm8 = {.name = "FORM8",
                  .wndProc = FORM8_WndProc,
                  .window = &gForm8Window,
                  .createControls = FORM8_CreateControls,
                  .onCreate = FORM8_OnCreate,
                  .onDestroy = Form8Destroyed,
                  .bind = Bind,
                  .caption = "Laporan Keuangan Sekolah",
                  .style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_OVERLAPPEDWINDOW,
                  .width = 1027,
                  .height = 560,
                  .kind = FRM_MDICHILD,
                  .mdiId = &gForm8Id};

// The period of the build that runs now (the callbacks read it).
FinReportPeriod gPeriod;

// One report line at the end of the list being built.
int AddLine(const std::string& kode, const std::string& uraian = "", const std::string& sub = "",
            const std::string& jumlah = "") {
  return FinAppendReportRow(gTargetListView, {kode, uraian, sub, jumlah});
}

// A single value (a sum): empty when the statement fails or the sum covers no rows.
std::string SingleValue(const std::string& sql) {
  gSqlResult.clear();
  if (FinExec(sql, FinCbSingleValue) != 0) gSqlResult.clear();
  return gSqlResult;
}

// Money is whole rupiah, but a sum over amounts written by an earlier program can have a decimal part. Every amount
// SQLite gives is taken as one whole number (rounded to the nearest, half to even: 1000.75 is 1001, -100.75 is -101),
// the same on its line and in every total, so that the lines shown always add up to the totals shown.
long long Whole(const std::string& text) { return FinReportCellValue(text); }
std::string Shown(const std::string& text) { return text.empty() ? text : std::to_string(Whole(text)); }

bool IsFinancialReport(Hwnd form) { return IsWindow(form) && WinGetClassName(form) == FrmClassName(gForm8); }

// Points the window globals at `form`, the window activated or whose command runs now (the form's bind routine: each
// window works on its own list, whichever window was created last).
void Bind(Hwnd form) {
  if (!IsFinancialReport(form)) return;
  gForm8Window = form;
  gForm8List = WinGetDlgItem(form, gForm8ListId);
  gForm8Rebar = WinGetDlgItem(form, gForm8RebarId);
  gForm8Toolbar = WinGetDlgItem(gForm8Rebar, gForm8ToolbarId);
}

void Form8Destroyed(Hwnd form) {
  if (WinGetDlgItem(form, gForm8ListId) == gForm8List) gForm8List = 0;
  if (gForm8Window == form) gForm8Rebar = gForm8Toolbar = 0;
}

}  // namespace

// ----- what the report computes -----------------------------------------------------------------------------------
FinReportPeriod FinFinancialReportPeriod(int reportMonth, const std::string& tapel) {
  const std::string firstYear = tapel.substr(0, 4);
  const std::string secondYear = tapel.size() >= 4 ? tapel.substr(tapel.size() - 4) : tapel;
  auto twoDigits = [](int m) {
    const std::string t = "0" + std::to_string(m);
    return t.substr(t.size() - 2);
  };
  FinReportPeriod p;
  p.year = reportMonth >= 1 && reportMonth <= 6 ? secondYear : firstYear;
  p.month = twoDigits(reportMonth);
  p.monthKey = p.year + "-" + p.month;
  p.cashEnd = reportMonth == 1 ? firstYear + "-12-31" : p.year + "-" + twoDigits(reportMonth - 1) + "-01";
  return p;
}

std::string FinReportCashSql(const FinReportPeriod& p) {
  return "select Sum(Masuk-Keluar)from transaksi where AcctID<>'Tabungan' and Tgl between '1900-07-01' and date('" +
         SqlQ(p.cashEnd) + "','start of month','+1 month','-1 day')";
}

std::string FinReportAccountsSql(const std::string& grup, const std::string& tapel) {
  return "select Kode, Deskripsi, Grup from rekening WHERE Grup='" + SqlQ(grup) + "' And Tapel='" + SqlQ(tapel) + "'";
}

std::string FinReportSavingsSql(const FinReportPeriod& p) {
  return "select Sum(Masuk-Keluar)from transaksi where AcctID='Tabungan' and Tgl between '1900-07-01' and date('" +
         SqlQ(p.monthKey) + "-01','start of month','+1 month','-1 day')";
}

// The rows of the report month: every Tgl that begins with the month key, as a range over the indexes on tgl.
static std::string FinReportMonthCondition(const FinReportPeriod& p) { return SqlLeftEquals("Tgl", 7, p.monthKey); }

std::string FinReportDiscountSql(const FinReportPeriod& p) {
  return "select Sum(Masuk) As jml from transaksi WHERE AcctId='Disc' and " + FinReportMonthCondition(p);
}

std::string FinReportAccountRowsSql(const std::string& kode, const FinReportPeriod& p) {
  return "select Tgl, Uraian, Masuk, Keluar, Sts from transaksi WHERE Ref='" + SqlQ(kode) + "' and " +
         FinReportMonthCondition(p);
}

std::string FinReportAccountNetSql(const std::string& kode, const FinReportPeriod& p) {
  return "select Sum(Masuk-Keluar)from transaksi where Ref='" + SqlQ(kode) + "' And " + FinReportMonthCondition(p);
}

int FinReportCbAccountDetail(void*, int columnCount, char** values, char**) {
  const std::string kode = FinCell(values, columnCount, 0);
  const std::string deskripsi = FinCell(values, columnCount, 1);
  AddLine(kode, " - " + deskripsi);
  gSubTotal = 0;
  FinExec(FinReportAccountRowsSql(kode, gPeriod), FinReportCbTransactionRow);
  if (gSubTotal > 0) {
    AddLine("", "Jumlah Sub " + deskripsi, "", std::to_string(gSubTotal));
    AddLine("", std::string(26, '`'));
  }
  return 0;
}

int FinReportCbTransactionRow(void*, int columnCount, char** values, char**) {
  const std::string tgl = FinCell(values, columnCount, 0);
  const std::string masuk = FinCell(values, columnCount, 2);
  const std::string keluar = FinCell(values, columnCount, 3);
  const std::string monthDay = tgl.size() > 5 ? tgl.substr(5, 5) : "";
  std::string amount;
  if (Val(masuk) > 0) {
    amount = Shown(masuk);
    gSubTotal += Whole(masuk);
  } else {
    amount = Shown(keluar);
    gSubTotal -= Whole(keluar);
  }
  AddLine("", "   " + monthDay + ", " + FinCell(values, columnCount, 1), amount);
  return 0;
}

int FinReportCbAccountTotal(void*, int columnCount, char** values, char**) {
  const std::string kode = FinCell(values, columnCount, 0);
  const int row = AddLine(kode, " - " + FinCell(values, columnCount, 1));
  const std::string net = SingleValue(FinReportAccountNetSql(kode, gPeriod));
  const long long value = Whole(net);
  LvSetItemText(gTargetListView, row, kColSub, value < 0 ? std::to_string(-value) : Shown(net));
  gCountResult += value;
  return 0;
}

void FinBuildFinancialReport() {
  const Hwnd list = gTargetListView;
  gPeriod = FinFinancialReportPeriod(gReportMonth, gTapel);
  const bool global = gReportMode >= 1;
  const FinRowCallback accountLine = global ? FinReportCbAccountTotal : FinReportCbAccountDetail;
  // The two opening balances sum every year up to the month: both are read aside at once, while the rest is built.
  FinValueAside cash(FinReportCashSql(gPeriod));
  FinValueAside savings(FinReportSavingsSql(gPeriod));

  // 1. columns and rows
  LvDeleteAllColumns(list);
  LvInsertColumn(list, kColKode, "Kode", LVCFMT_CENTER, 100);
  LvInsertColumn(list, kColUraian, "Uraian", LVCFMT_LEFT, 350);
  LvInsertColumn(list, kColSub, "Jumlah Sub", LVCFMT_RIGHT, 100);
  LvInsertColumn(list, kColJumlah, "Jumlah", LVCFMT_RIGHT, 100);
  LvDeleteAllItems(list);
  gSubTotal = 0;

  // 2-7. opening balance
  AddLine("", "A. SALDO AWAL");
  gCountResult = 0;
  AddLine("", "Jumlah Saldo Kas", "", Shown(cash.value()));
  AddLine("", "Saldo Bank");
  FinExec(FinReportAccountsSql("Bms", gTapel), accountLine);
  if (global) AddLine("", "Jumlah Saldo Bank", "", std::to_string(gCountResult));
  AddLine("", "Jumlah Saldo Tabungan Siswa", "", Shown(savings.value()));
  // Until the finishing pass the cells hold whole numbers as plain digits (Shown): they are added as numbers.
  const long long opening = FinColumnSum(list, kColJumlah, 0, -1);
  AddLine("", "TOTAL SALDO AWAL", "", std::to_string(opening));

  // 8-9. operating income
  AddLine("");
  AddLine("", "B. PENDAPATAN OPERASIONAL");
  int first = LvGetItemCount(list);
  FinExec(FinReportAccountsSql("Msk", gTapel), accountLine);
  const long long income = FinColumnSum(list, global ? kColSub : kColJumlah, first, -1);
  AddLine("", "TOTAL PENDAPATAN OPERASIONAL", "", std::to_string(income));

  // 10-11. discounts and net income
  AddLine("");
  const std::string discount = SingleValue(FinReportDiscountSql(gPeriod));
  AddLine("", "C. Potongan/Bonus/Beasiswa Penerimaan Pembayaran", "", Shown(discount));
  const long long net = opening + income + Whole(discount);
  AddLine("D.", "TOTAL PENDAPATAN BERSIH", "", std::to_string(net));

  // 12-13. expenses
  AddLine("");
  AddLine("", "E. BELANJA");
  first = LvGetItemCount(list);
  FinExec(FinReportAccountsSql("Klr", gTapel), accountLine);
  const long long expenses = FinColumnSum(list, kColSub, first, -1);
  AddLine("", "TOTAL BELANJA", "", std::to_string(expenses));

  // 14-17. the reckoning
  AddLine("");
  AddLine("", "PERHITUNGAN : ");
  AddLine("", "      TOTAL SALDO AWAL + PENDAPATAN BERSIH", std::to_string(net));
  AddLine("", "      TOTAL BELANJA", "-" + std::to_string(expenses));
  AddLine("", "      SALDO AKHIR", "", std::to_string(net - expenses));

  // 18. finishing
  FinFinishReportList(list, FinFinishVariant::WholeNumbers);
}

// ----- the window -------------------------------------------------------------------------------------------------
std::intptr_t FORM8_Show(Hwnd parent, int modal, int userData) { return FrmShowForm(gForm8, parent, modal, userData); }

void FORM8_CreateControls(Hwnd form) {
  gForm8Rebar = WinCreateWindow(0, "ReBarWindow32", "",
                                WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | RBS_AUTOSIZE |
                                    RBS_TOOLTIPS,
                                0, 0, 0, FrmScaleY(30), form, gForm8RebarId, 0);
  gForm8Toolbar = WinCreateWindow(0, "ToolbarWindow32", "",
                                  WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | TBSTYLE_FLAT |
                                      TBSTYLE_LIST | TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NOPARENTALIGN,
                                  0, 0, 0, 0, gForm8Rebar, gForm8ToolbarId, 0);
  TbSetIconSize(gForm8Toolbar, 32, 32);
  struct Button {
    int id;
    const char* icon;
    const char* caption;
  };
  const Button buttons[] = {
      {gForm8GlobalId, "IMAGE_REPORTS", "Lap. Global"},
      {gForm8DetailId, "IMAGE_REPORT", "Lap. Rinci"},
      {gForm8ExcelId, "IMAGE_DOCEXCEL", "Print to Excel"},
      {gForm8BrowserId, "IMAGE_PRINTER", "Print to browser"},
      {gForm8RefreshId, "IMAGE_REFRESH", "Refresh"},
  };
  for (const Button& b : buttons) TbAddButton(gForm8Toolbar, b.id, ResLoadIcon(b.icon), b.caption, b.caption, 1);
  TbAutoSize(gForm8Toolbar);
  RbInsertBand(gForm8Rebar, gForm8Toolbar, CtlGetHeight(gForm8Toolbar), FrmScaleX(250));

  gForm8List = FrmAddControl(form, "SysListView32", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT |
                             LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE, 5, 52, 1007, 471, gForm8ListId,
                             FORM8_CtlSubclassProc, "Consolas,9,0", "FL,FT,S,S");
  LvSetExtendedStyle(gForm8List, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  LvSetColors(gForm8List, static_cast<int>(WinRgb(0, 0, 0)), static_cast<int>(WinRgb(255, 255, 255)));
  CtlSetFocus(gForm8List);
}

LResult FORM8_OnCreate(Hwnd, std::intptr_t) { return 0; }

int FORM8_OnToolbar(Hwnd form, int id) {
  if (!IsFinancialReport(form)) return 0;
  if (id == gForm8GlobalId) {
    gReportMode = 1;
    KeepShownMode(form, 1);
    gTargetListView = gForm8List;
    FinBuildFinancialReport();
  } else if (id == gForm8DetailId) {
    gTargetListView = gForm8List;
    gReportMode = 0;
    KeepShownMode(form, 0);
    FinBuildFinancialReport();
  } else if (id == gForm8ExcelId) {
    gTargetListView = gForm8List;
    FinExportToSheet();
  } else if (id == gForm8BrowserId) {
    FinExportToPage(kPageTitle, gForm8List);
  } else if (id == gForm8RefreshId) {
    // In the mode of the report the window shows; a window that shows none yet takes the mode chosen last.
    const FrmWindowState* shown = FrmWindowStateOf(form);
    const int chosen = gReportMode;
    const int mode = shown && !shown->mode.empty() ? (shown->mode == "1" ? 1 : 0) : chosen;
    KeepShownMode(form, mode);
    gTargetListView = gForm8List;
    gReportMode = mode;
    FinBuildFinancialReport();
    gReportMode = chosen;
  }
  return 0;
}

LResult FORM8_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  if (msg == WM_SIZE && wParam != SIZE_MINIMIZED) WinSendMessage(WinGetDlgItem(hwnd, gForm8RebarId), WM_SIZE, 0, 0);
  LResult r = 0;
  if (FrmFormMessage(gForm8, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND && HIWORD(wParam) == 0) FORM8_OnToolbar(hwnd, static_cast<int>(LOWORD(wParam)));
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORM8_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
