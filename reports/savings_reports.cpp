#include "reports/savings_reports.h"

#include <QCalendarWidget>
#include <QColor>
#include <QDate>
#include <QDateTimeEdit>
#include <QPalette>
#include <QTextCharFormat>
#include <QWidget>
#include <initializer_list>
#include <string>
#include <vector>

#include "common/globals.h"
#include "common/numbers_words.h"
#include "common/query_callbacks.h"
#include "common/session.h"
#include "common/sql.h"
#include "framework/control_widgets.h"   // CutUtf8
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/numbers.h"
#include "framework/window_system.h"
#include "platform/seams.h"
#include "reports/report_finishing.h"
#include "reports/savings_report_viewer.h"

Hwnd gForm18Window = 0;
Hwnd gForm18Report[7] = {0, 0, 0, 0, 0, 0, 0};
Hwnd gForm18Frame = 0, gForm18StartLabel = 0, gForm18StartDate = 0, gForm18EndLabel = 0, gForm18EndDate = 0,
     gForm18KelasLabel = 0, gForm18KelasCombo = 0, gForm18CancelButton = 0, gForm18PrintButton = 0;
int gForm18ReportId[7] = {1000, 1001, 1002, 1003, 1004, 1005, 1006};
int gForm18FrameId = 1007, gForm18StartLabelId = 1008, gForm18StartDateId = 1009, gForm18EndLabelId = 1010,
    gForm18EndDateId = 1011, gForm18KelasLabelId = 1012, gForm18KelasComboId = 1013, gForm18CancelId = IDCANCEL,
    gForm18PrintId = 1014;

namespace {

constexpr const char* kFont = "Arial Unicode MS,9,0";
// A student's savings balance: everything ever deposited less everything withdrawn.
constexpr const char* kBalance =
    "(select sum(masuk-keluar) from transaksi where siswaid=siswa.id and AcctID='Tabungan')";

// The balances of the students that `students` (a statement giving their ids) names, each computed once for the
// report: "with saldo(id, sld) as ...", read per row through kSaldoOfRow.
std::string BalancesOnce(const std::string& students) {
  return "with saldo(id, sld) as materialized (select siswaid, sum(masuk-keluar) from transaksi where "
         "AcctID='Tabungan' and siswaid in (" +
         students + ") group by siswaid) ";
}
constexpr const char* kSaldoOfRow = "(select sld from saldo where saldo.id=siswa.id)";

void Form18Destroyed(Hwnd form);

FrmForm gForm18 = {.name = "FORM18",
                   .wndProc = FORM18_WndProc,
                   .window = &gForm18Window,
                   .createControls = FORM18_CreateControls,
                   .onCreate = FORM18_OnLoad,
                   .onDestroy = Form18Destroyed,
                   .caption = "Laporan Tabungan",
                   .style = WS_POPUP | WS_CAPTION | WS_THICKFRAME,
                   .width = 517,
                   .height = 348,
                   .classStyle = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS};

// ----- the build ----------------------------------------------------------------------------------------------------
// The rows of the statement that runs now, each value as text (NULL as empty).
std::vector<std::vector<std::string>> gCollected;

struct Column {
  const char* caption;
  int align;
  int width;
};

void AddColumns(Hwnd list, std::initializer_list<Column> columns) {
  int i = 0;
  for (const Column& c : columns) LvInsertColumn(list, i++, c.caption, c.align, c.width);
}

// Runs a report statement; the rows that arrived are in gCollected (none after a failure, as a rule).
bool Query(const std::string& sql) {
  gCollected.clear();
  gSqlResult.clear();
  gRowCount = 0;
  FinExec(sql, FinSavingsCbCollectRow);
  return !gCollected.empty();
}

// Value n (1-based) of a result row; empty when the row has fewer values.
std::string V(const std::vector<std::string>& row, int n) {
  return n >= 1 && n <= static_cast<int>(row.size()) ? row[n - 1] : "";
}

// The report's rows are made in memory first (numbers, totals, thousands separators) and go into the list at the
// end, so that no cell is written and read back again: a year of savings is tens of thousands of rows.
struct Sheet {
  Hwnd list = 0;
  int columns = 0;
  std::vector<std::vector<std::string>> rows;
};

Sheet gSheet;

void StartSheet(Hwnd list) {
  gSheet.list = list;
  gSheet.columns = LvGetColumnCount(list);
  gSheet.rows.clear();
}

// The most bytes of a cell LvGetItemText gives back (framework/controls.h).
constexpr std::size_t kListCellBytes = 259;

// The cell as the list would give it back: every column of the list, read at most kListCellBytes bytes, as
// LvGetItemText reads.
std::string SheetCell(const std::vector<std::string>& row, int c) {
  if (c < 0 || c >= gSheet.columns || c >= static_cast<int>(row.size())) return "";
  return CutUtf8(row[static_cast<std::size_t>(c)], kListCellBytes);
}

// One numbered list row per result row: column 0 the row number, the others from `cells`.
template <typename CellsOf>
void AddRows(Hwnd list, CellsOf cellsOf) {
  StartSheet(list);
  if (gCollected.empty()) return;
  gSheet.rows.reserve(gCollected.size() + 1);
  for (const auto& row : gCollected) {
    std::vector<std::string> cells = cellsOf(row);
    cells.insert(cells.begin(), std::to_string(gSheet.rows.size() + 1));
    gSheet.rows.push_back(std::move(cells));
  }
}

// The "    JUMLAH " row: label in `labelColumn`, the whole-number sum of each total column over the rows above.
void AddTotals(int labelColumn, std::initializer_list<int> totalColumns) {
  std::vector<std::string> totals(static_cast<std::size_t>(std::max(gSheet.columns, labelColumn + 1)));
  totals[static_cast<std::size_t>(labelColumn)] = kFinTotalsJumlah;
  for (int c : totalColumns) {
    long long sum = 0;
    for (const auto& row : gSheet.rows) sum += FinReportCellValue(SheetCell(row, c));
    if (c >= 0 && c < static_cast<int>(totals.size())) totals[static_cast<std::size_t>(c)] = std::to_string(sum);
  }
  gSheet.rows.push_back(std::move(totals));
}

void Thousands(std::initializer_list<int> columns) {
  for (int c : columns)
    for (auto& row : gSheet.rows)
      if (c >= 0 && c < gSheet.columns) {
        if (static_cast<int>(row.size()) <= c) row.resize(static_cast<std::size_t>(c) + 1);
        row[static_cast<std::size_t>(c)] = FinFormatThousands(SheetCell(row, c), ".");
      }
}

// The rows made go into the list.
void FlushSheet() {
  LvAppendRows(gSheet.list, gSheet.rows);
  gSheet.rows.clear();
  gSheet.rows.shrink_to_fit();
}

long long Whole(const std::string& text) { return RoundHalfEven(Val(text)); }

void BuildDaily(const SavingsReportInputs& in, Hwnd list, Hwnd title) {
  CtlSetText(title, FinSavingsDailyTitle(in.clockDate));
  AddColumns(list, {{"No.", LVCFMT_CENTER, 50}, {"No. Rekening", LVCFMT_CENTER, 100}, {"Nama", LVCFMT_LEFT, 150},
                    {"Transaksi", LVCFMT_LEFT, 120}, {"Saldo Awal Rp.", LVCFMT_RIGHT, 80},
                    {"Nilai Trans Rp.", LVCFMT_RIGHT, 80}, {"Saldo Akhir Rp.", LVCFMT_RIGHT, 80}});
  Query(FinSavingsDailySql(in.today));
  AddRows(list, [](const std::vector<std::string>& r) {
    const SavingsBalanceCells b = FinSavingsBalanceCells(V(r, 4), V(r, 5), V(r, 6), false);
    return std::vector<std::string>{V(r, 1), V(r, 2), V(r, 3), b.saldoAwal, b.nilaiTrans, b.saldoAkhir};
  });
  AddTotals(3, {4, 5});
}

void BuildBalances(Hwnd list, Hwnd title) {
  CtlSetText(title, "LAPORAN SALDO NASABAH");
  gTargetListView = list;
  FinExec(FinSavingsBalancesSql(), FinCbFillList);
  const int above = LvGetItemCount(list);
  const int row = FinAppendTotalsRow(list, kFinTotalsJumlah, -1, 2);
  for (int r = 0; r < above; ++r) LvSetItemText(list, r, 0, std::to_string(r + 1));
  LvSetItemText(list, row, 3, std::to_string(FinColumnSum(list, 3, 0, above)));
  LvSetColumnAlign(list, 3, LVCFMT_CENTER);
}

void BuildRange(const SavingsReportInputs& in, Hwnd list, Hwnd title, bool deposits) {
  AddColumns(list, {{"No.", LVCFMT_CENTER, 50}, {"Tanggal", LVCFMT_CENTER, 80}, {"No. Rekening", LVCFMT_CENTER, 120},
                    {"Nama", LVCFMT_LEFT, 150}, {"Transaksi", LVCFMT_LEFT, 100}, {"Jumlah Rp.", LVCFMT_RIGHT, 80}});
  const bool any = Query(deposits ? FinSavingsDepositsSql(in.start, in.end)
                                  : FinSavingsWithdrawalsSql(in.start, in.end));
  const std::string period = in.start + " S/D " + in.end;
  if (deposits)
    CtlSetText(title, "LAPORAN SALDO MASUK PER TANGGAL : " + period);
  else if (any)
    CtlSetText(title, "LAPORAN SALDO KELUAR PER TANGGAL : " + period);
  AddRows(list, [](const std::vector<std::string>& r) {
    return std::vector<std::string>{V(r, 1), V(r, 2), V(r, 3), V(r, 4), V(r, 5)};
  });
  if (deposits && !any) {
    AddTotals(4, {});
    return;
  }
  AddTotals(4, {5});
  Thousands({5});
}

void BuildRecap(const SavingsReportInputs& in, Hwnd list, Hwnd title) {
  CtlSetText(title, "REKAP TABUNGAN NASABAH PER TANGGAL : " + in.start + " S/D " + in.end);
  AddColumns(list, {{"No.", LVCFMT_CENTER, 50}, {"Kode", LVCFMT_CENTER, 80}, {"Ket. Transaksi", LVCFMT_LEFT, 100},
                    {"Jumlah Rp.", LVCFMT_RIGHT, 80}});
  Query(FinSavingsRecapSql(in.start, in.end));
  AddRows(list, [](const std::vector<std::string>& r) {
    const std::string uraian = V(r, 1);
    return std::vector<std::string>{uraian.substr(0, 2), uraian.size() > 3 ? uraian.substr(3) : "", V(r, 2)};
  });
  AddTotals(2, {3});
  Thousands({3});
}

void BuildHistory(const SavingsReportInputs& in, Hwnd list, Hwnd title) {
  CtlSetText(title, "LAPORAN HISTORY TRANSAKSI PER TANGGAL : " + in.start + " S/D " + in.end);
  AddColumns(list, {{"No.", LVCFMT_CENTER, 50}, {"Tanggal", LVCFMT_CENTER, 80}, {"No. Rekening", LVCFMT_CENTER, 120},
                    {"Nama", LVCFMT_LEFT, 150}, {"Transaksi", LVCFMT_LEFT, 100},
                    {"Saldo Awal Rp.", LVCFMT_RIGHT, 80}, {"Nilai Trans Rp.", LVCFMT_RIGHT, 80},
                    {"Saldo Akhir Rp.", LVCFMT_RIGHT, 80}});
  Query(FinSavingsHistorySql(in.start, in.end));
  AddRows(list, [](const std::vector<std::string>& r) {
    const SavingsBalanceCells b = FinSavingsBalanceCells(V(r, 5), V(r, 6), V(r, 7), true);
    return std::vector<std::string>{V(r, 1), V(r, 2), V(r, 3), V(r, 4), b.saldoAwal, b.nilaiTrans, b.saldoAkhir};
  });
  AddTotals(4, {5, 6});
  Thousands({5, 6, 7});
}

void BuildClass(const SavingsReportInputs& in, Hwnd list, Hwnd title) {
  CtlSetText(title, "LAPORAN TABUNGAN SISWA KELAS : " + in.kelas + " TAPEL : " + in.tapel);
  AddColumns(list, {{"No.", LVCFMT_CENTER, 50}, {"Id. Siswa", LVCFMT_CENTER, 80}, {"Nama", LVCFMT_LEFT, 150},
                    {"Gender?", LVCFMT_CENTER, 80}, {"Kelas", LVCFMT_CENTER, 80},
                    {"Saldo Tabungan", LVCFMT_RIGHT, 100}});
  Query(FinSavingsClassSql(in.kelas, in.tapel));
  AddRows(list, [](const std::vector<std::string>& r) {
    return std::vector<std::string>{V(r, 1), V(r, 2), V(r, 3), V(r, 4), Val(V(r, 5)) > 0 ? V(r, 5) : "0"};
  });
  AddTotals(2, {5});
  Thousands({5});
}

// ----- the chooser --------------------------------------------------------------------------------------------------
void Form18Destroyed(Hwnd form) {
  if (gForm18Window != form) return;
  for (Hwnd& h : gForm18Report) h = 0;
  gForm18Frame = gForm18StartLabel = gForm18StartDate = gForm18EndLabel = gForm18EndDate = 0;
  gForm18KelasLabel = gForm18KelasCombo = gForm18CancelButton = gForm18PrintButton = 0;
}

// The picker shows and gives its date as "yyyy-MM-dd"; its calendar white with black text under a blue title.
void SetUpDatePicker(Hwnd picker, const char* tip) {
  CtlAddToolTip(picker, tip, 1);
  auto* d = qobject_cast<QDateTimeEdit*>(WinWidget(picker));
  if (!d) return;
  d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
  if (QCalendarWidget* c = d->calendarWidget()) {
    QPalette p = c->palette();
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::Text, Qt::black);
    p.setColor(QPalette::Highlight, QColor(0, 120, 215));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::PlaceholderText, QColor(109, 109, 109));
    c->setPalette(p);
    QTextCharFormat header;
    header.setBackground(QColor(0, 120, 215));
    header.setForeground(Qt::white);
    c->setHeaderTextFormat(header);
  }
}

std::string ClockDate() { return platform::Today().toString(QStringLiteral("yyyy-MM-dd")).toStdString(); }

}  // namespace

// ----- what the reports compute -------------------------------------------------------------------------------------
// Rows of one day, date or student: ties are listed in the order the rows were stored (rowid), whichever index
// the database takes them through.
std::string FinSavingsDailySql(const std::string& today) {
  const std::string day = "tgl='" + SqlQ(today) + "'and AcctID='Tabungan'";
  return BalancesOnce("select siswaid from transaksi where " + day) +
         "select siswaid, nama, uraian, masuk, keluar, " + kSaldoOfRow +
         " as sld from transaksi inner join siswa on siswaid=siswa.id where " + day +
         " order by siswaid, transaksi.rowid";
}

std::string FinSavingsBalancesSql() {
  return BalancesOnce("select id from siswa") + "select 1 as n, id, nama, " + kSaldoOfRow +
         " as Saldo from siswa where Saldo > 0 order by id, siswa.rowid";
}

std::string FinSavingsDepositsSql(const std::string& start, const std::string& end) {
  return "select tgl, siswaid, nama, uraian, masuk from transaksi inner join siswa on siswaid=siswa.id where masuk>0 "
         "and AcctID='Tabungan' and tgl between '" + SqlQ(start) + "' and '" + SqlQ(end) +
         "' order by tgl, transaksi.rowid";
}

std::string FinSavingsWithdrawalsSql(const std::string& start, const std::string& end) {
  return "select tgl, siswaid, nama, uraian, keluar from transaksi inner join siswa on siswaid=siswa.id where "
         "keluar>0 and AcctID='Tabungan' and tgl between '" + SqlQ(start) + "' and '" + SqlQ(end) +
         "' order by tgl, transaksi.rowid";
}

std::string FinSavingsRecapSql(const std::string& start, const std::string& end) {
  return "select Uraian, sum(masuk-keluar) from transaksi where AcctID='Tabungan' and tgl between '" + SqlQ(start) +
         "' and '" + SqlQ(end) + "' Group By Uraian order by Uraian ";
}

std::string FinSavingsHistorySql(const std::string& start, const std::string& end) {
  const std::string range = "AcctID='Tabungan' and tgl between '" + SqlQ(start) + "' and '" + SqlQ(end) + "'";
  return BalancesOnce("select siswaid from transaksi where " + range) +
         "select tgl, siswaid, nama, uraian, masuk, keluar, " + kSaldoOfRow +
         " as sld from transaksi inner join siswa on siswaid=siswa.id where " + range + " order by tgl, transaksi.rowid";
}

std::string FinSavingsClassSql(const std::string& kelas, const std::string& tapel) {
  return std::string("select id, nama, lp, kelas, ") + kBalance +
         " as sld from siswa inner join siswakelas on siswakelas.idsiswa=siswa.id where siswakelas.kelas='" +
         SqlQ(kelas) + "' and siswakelas.tapel='" + SqlQ(tapel) + "'";
}

std::string FinSavingsDailyTitle(const std::string& clockDate) {
  const std::string day = clockDate.size() >= 10 ? clockDate.substr(8, 2) : "";
  const std::string month = clockDate.size() >= 7 ? clockDate.substr(5, 2) : "";
  return "LAPORAN TRANSAKSI HARI INI TANGGAL : " + day + "-" + month + "-" + clockDate.substr(0, 4);
}

SavingsBalanceCells FinSavingsBalanceCells(const std::string& masuk, const std::string& keluar,
                                           const std::string& saldo, bool computedEnd) {
  const long long m = Whole(masuk), k = Whole(keluar), s = Whole(saldo);
  SavingsBalanceCells b;
  if (m <= 0) {
    b.saldoAwal = std::to_string(s + k);
    b.nilaiTrans = std::to_string(0 - k);
    b.saldoAkhir = saldo;
  } else {
    b.saldoAwal = s <= m ? "0" : std::to_string(s - m);
    b.nilaiTrans = masuk;
    if (computedEnd)
      b.saldoAkhir = std::to_string(s <= m ? m : s);
    else
      b.saldoAkhir = s <= m ? masuk : saldo;
  }
  return b;
}

int FinSavingsCbCollectRow(void*, int columnCount, char** values, char**) {
  std::vector<std::string> row;
  row.reserve(columnCount > 0 ? columnCount : 0);
  for (int i = 0; i < columnCount; ++i) row.emplace_back(values && values[i] ? values[i] : "");
  gCollected.push_back(std::move(row));
  ++gRowCount;
  return 0;
}

void FinBuildSavingsReport(const SavingsReportInputs& in, Hwnd list, Hwnd title) {
  LvDeleteAllColumns(list);
  LvDeleteAllItems(list);
  CtlSetText(title, "");
  switch (in.report) {
    case 1: BuildDaily(in, list, title); break;
    case 2: BuildBalances(list, title); break;
    case 3: BuildRange(in, list, title, true); break;
    case 4: BuildRange(in, list, title, false); break;
    case 5: BuildRecap(in, list, title); break;
    case 6: BuildHistory(in, list, title); break;
    case 7: BuildClass(in, list, title); break;
    default: break;
  }
  FlushSheet();   // the rows the report made in memory (none for the balances, which go into the list directly)
  gCollected.clear();
  gCollected.shrink_to_fit();
}

// ----- the chooser --------------------------------------------------------------------------------------------------
std::intptr_t FORM18_Show(Hwnd owner, int modal, int userData) {
  return FrmShowForm(gForm18, owner, modal, userData);
}

void FORM18_CreateControls(Hwnd form) {
  const char* captions[7] = {"Laporan 1 : Laporan Harian Tabungan",  "Laporan 2 : Laporan Saldo Nasabah",
                             "Laporan 3 : Laporan Tabungan Masuk",   "Laporan 4 : Laporan Tabungan Keluar",
                             "Laporan 5 : Laporan Rekap Tabungan",   "Laporan 6 : Laporan History Tabungan",
                             "Laporan 7 : Laporan Tabungan Perkelas"};
  const int ys[7] = {16, 48, 112, 144, 176, 208, 240};
  for (int i = 0; i < 7; ++i) {
    const std::uint32_t style =
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP : 0u);
    gForm18Report[i] = FrmAddControl(form, "Button", captions[i], style, 0, 24, ys[i], i == 6 ? 240 : 231,
                                     i == 5 ? 25 : 33, gForm18ReportId[i], FORM18_CtlSubclassProc, kFont);
  }
  gForm18Frame = FrmAddControl(form, "Button", "Filter laporan untuk laporan 3 s/d laporan 6",
                               WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 16, 88, 470, 151,
                               gForm18FrameId, FORM18_CtlSubclassProc, kFont);
  if (QWidget* frame = WinWidget(gForm18Frame)) {
    frame->setAttribute(Qt::WA_TransparentForMouseEvents);   // a frame only: the radio buttons stay clickable
    frame->lower();
  }
  gForm18StartLabel = FrmAddControl(form, "Static", "Dari Tgl.", WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 296, 120, 47,
                                    24, gForm18StartLabelId, FORM18_CtlSubclassProc, kFont);
  gForm18StartDate = FrmAddControl(form, "SysDateTimePick32", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 360, 120,
                                   97, 20, gForm18StartDateId, FORM18_CtlSubclassProc, kFont);
  SetUpDatePicker(gForm18StartDate, "Pilih tanggal awal pelaporan");
  gForm18EndLabel = FrmAddControl(form, "Static", "s/d Tgl.", WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 296, 160, 47, 24,
                                  gForm18EndLabelId, FORM18_CtlSubclassProc, kFont);
  gForm18EndDate = FrmAddControl(form, "SysDateTimePick32", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 360, 160, 97,
                                 20, gForm18EndDateId, FORM18_CtlSubclassProc, kFont);
  SetUpDatePicker(gForm18EndDate, "Pilih tanggal akhir pelaporan");
  DtpSetDate(gForm18EndDate, ClockDate());   // today, as the picker starts
  gForm18KelasLabel = FrmAddControl(form, "Static", "Kelas:", WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 272, 250, 49, 25,
                                    gForm18KelasLabelId, FORM18_CtlSubclassProc, kFont);
  gForm18KelasCombo = FrmAddControl(form, "ComboBox", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL |
                                    CBS_DROPDOWNLIST, WS_EX_CLIENTEDGE, 320, 248, 164, 200, gForm18KelasComboId,
                                    FORM18_CtlSubclassProc, kFont);
  gForm18CancelButton = FrmAddControl(form, "Button", "Batal", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 272, 280, 81,
                                      33, gForm18CancelId, FORM18_CtlSubclassProc, kFont);
  gForm18PrintButton = FrmAddControl(form, "Button", "Cetak", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 368, 280, 106,
                                     33, gForm18PrintId, FORM18_CtlSubclassProc, kFont);
  CtlSetFocus(gForm18KelasCombo);
}

LResult FORM18_OnLoad(Hwnd form, std::intptr_t) {
  BtnCheckRadio(form, gForm18ReportId[0], gForm18ReportId[6], gForm18ReportId[0]);
  DtpSetDate(gForm18StartDate, ClockDate().substr(0, 7) + "-01");
  FinExec("select Kelas from siswakelas Group By Kelas", FORM18_CbAddClass);
  CbSetCurSel(gForm18KelasCombo, 0);
  return 0;
}

int FORM18_CbAddClass(void*, int columnCount, char** values, char**) {
  CbAddString(gForm18KelasCombo, columnCount > 0 && values && values[0] ? values[0] : "");
  return 0;
}

int FORM18_Cancel(Hwnd form) {
  FrmClose(form, 0);
  return 0;
}

int FORM18_Print(Hwnd) {
  if (FORM19_Show(gMdiClient, 1, 0) == 0) {   // no new viewer: an older one keeps its report
    FrmClose(gForm18Window, 0);
    return 0;
  }
  FORM18_BuildReport();
  return 0;
}

void FORM18_BuildReport() {
  SavingsReportInputs in;
  in.start = CtlGetText(gForm18StartDate);
  in.end = CtlGetText(gForm18EndDate);
  in.kelas = CtlGetText(gForm18KelasCombo);
  in.today = gToday;
  in.tapel = gTapel;
  in.clockDate = ClockDate();
  LvDeleteAllColumns(gForm19List);
  LvDeleteAllItems(gForm19List);
  for (int i = 0; i < 7; ++i) {
    if (!BtnIsChecked(gForm18Report[i])) continue;
    in.report = i + 1;
    FinBuildSavingsReport(in, gForm19List, gForm19TitleLabel);
  }
  FrmClose(gForm18Window, 0);
}

LResult FORM18_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  LResult r = 0;
  if (FrmFormMessage(gForm18, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    const int id = static_cast<int>(LOWORD(wParam));
    if (id == gForm18PrintId) return FORM18_Print(hwnd);
    if (id == gForm18CancelId) return FORM18_Cancel(hwnd);
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORM18_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
