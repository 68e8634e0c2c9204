#include "reports/payment_report_dialog.h"

#include <QCalendarWidget>
#include <QColor>
#include <QDateTimeEdit>
#include <QPalette>
#include <QTextCharFormat>
#include <QWidget>

#include "common/globals.h"
#include "common/query_callbacks.h"
#include "common/session.h"
#include "common/sql.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/window_state.h"
#include "framework/window_system.h"
#include "reports/payment_report_window.h"
#include "reports/payment_reports.h"

Hwnd gFormLapBayarWindow = 0;
Hwnd gFormLapBayarMonthlyButton = 0, gFormLapBayarTodayButton = 0, gFormLapBayarAccountLabel = 0,
     gFormLapBayarAccountCombo = 0, gFormLapBayarGroup = 0, gFormLapBayarDailyButton = 0,
     gFormLapBayarClassLabel = 0, gFormLapBayarToDate = 0, gFormLapBayarPeriodLabel = 0,
     gFormLapBayarMonthButton = 0, gFormLapBayarRecapButton = 0, gFormLapBayarFromDate = 0,
     gFormLapBayarClassCombo = 0, gFormLapBayarShowDataButton = 0;
int gFormLapBayarMonthlyButtonId = 1000, gFormLapBayarTodayButtonId = 1001, gFormLapBayarAccountLabelId = 1002,
    gFormLapBayarAccountComboId = 1003, gFormLapBayarGroupId = 1004, gFormLapBayarDailyButtonId = 1005,
    gFormLapBayarClassLabelId = 1006, gFormLapBayarToDateId = 1007, gFormLapBayarPeriodLabelId = 1008,
    gFormLapBayarMonthButtonId = 1009, gFormLapBayarRecapButtonId = 1010, gFormLapBayarFromDateId = 1011,
    gFormLapBayarClassComboId = 1012, gFormLapBayarShowDataButtonId = 1013;

namespace {

constexpr const char* kButtonFont = "MS Sans Serif,-11,0,0,0,400,0,0,0,0,1,2,1,34";
constexpr const char* kFont = "Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34";
constexpr std::uint32_t kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER;
constexpr std::uint32_t kDropList = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
constexpr std::uint32_t kLabel = WS_CHILD | WS_VISIBLE | SS_LEFT;

FrmForm gFormLapBayar = {.name = "FORMLAPBAYAR",
                         .wndProc = FORMLAPBAYAR_WndProc,
                         .window = &gFormLapBayarWindow,
                         .createControls = FORMLAPBAYAR_CreateControls,
                         .onCreate = [](Hwnd dialog, std::intptr_t) { return FORMLAPBAYAR_OnLoad(dialog); },
                         .onDestroy = [](Hwnd dialog) {
                           if (gFormLapBayarWindow != dialog) return;
                           for (Hwnd* h : {&gFormLapBayarMonthlyButton, &gFormLapBayarTodayButton,
                                           &gFormLapBayarAccountLabel, &gFormLapBayarAccountCombo,
                                           &gFormLapBayarGroup, &gFormLapBayarDailyButton, &gFormLapBayarClassLabel,
                                           &gFormLapBayarToDate, &gFormLapBayarPeriodLabel,
                                           &gFormLapBayarMonthButton, &gFormLapBayarRecapButton,
                                           &gFormLapBayarFromDate, &gFormLapBayarClassCombo,
                                           &gFormLapBayarShowDataButton})
                             *h = 0;
                         },
                         .caption = "Laporan Pembayaran",
                         .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,   // no minimise or maximise
                         .width = 268,
                         .height = 411};

// A date picker showing "yyyy-MM-dd", its drop-down calendar white with black text, the title in RGB(0, 120, 215)
// with white text and the days of the neighbouring months in RGB(109, 109, 109).
void SetUpDatePicker(Hwnd picker) {
  auto* d = qobject_cast<QDateTimeEdit*>(WinWidget(picker));
  if (!d) return;
  d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
  QCalendarWidget* c = d->calendarWidget();
  if (!c) return;
  QPalette p = c->palette();
  p.setColor(QPalette::Base, Qt::white);
  p.setColor(QPalette::Text, Qt::black);
  p.setColor(QPalette::Disabled, QPalette::Text, QColor(109, 109, 109));
  p.setColor(QPalette::Highlight, QColor(0, 120, 215));
  p.setColor(QPalette::HighlightedText, Qt::white);
  c->setPalette(p);
  QTextCharFormat header;
  header.setBackground(QColor(0, 120, 215));
  header.setForeground(Qt::white);
  c->setHeaderTextFormat(header);
  if (QWidget* bar = c->findChild<QWidget*>(QStringLiteral("qt_calendar_navigationbar"))) {
    QPalette b = bar->palette();
    b.setColor(QPalette::Window, QColor(0, 120, 215));
    b.setColor(QPalette::Button, QColor(0, 120, 215));
    b.setColor(QPalette::WindowText, Qt::white);
    b.setColor(QPalette::ButtonText, Qt::white);
    bar->setPalette(b);
    bar->setAutoFillBackground(true);
  }
}

Hwnd AddButton(Hwnd dialog, const char* caption, int x, int y, int w, int h, int id) {
  return FrmAddControl(dialog, "Button", caption, kButton, 0, x, y, w, h, id, FORMLAPBAYAR_CtlSubclassProc,
                       kButtonFont);
}

Hwnd AddLabel(Hwnd dialog, const char* caption, int x, int y, int w, int h, int id) {
  return FrmAddControl(dialog, "Static", caption, kLabel, 0, x, y, w, h, id, FORMLAPBAYAR_CtlSubclassProc, kFont, "",
                       FrmColors::Face());
}

Hwnd AddCombo(Hwnd dialog, int x, int y, int w, int id) {
  return FrmAddControl(dialog, "ComboBox", "", kDropList, 0, x, y, w, 200, id, FORMLAPBAYAR_CtlSubclassProc, kFont,
                       "", FrmColors::Window());
}

Hwnd AddDate(Hwnd dialog, int x, int y, int w, int h, int id) {
  const Hwnd picker = FrmAddControl(dialog, "SysDateTimePick32", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, x, y, w,
                                    h, id, FORMLAPBAYAR_CtlSubclassProc, kFont);
  SetUpDatePicker(picker);
  return picker;
}

}  // namespace

// ----- what the dialog computes -------------------------------------------------------------------------------------
std::string FORMLAPBAYAR_ClassesSql(const std::string& tapel) {
  return "select Kelas from siswakelas WHERE Tapel='" + SqlQ(tapel) +
         "' and kelas<>'DO' and instr(kelas,'Lulus')<1 Group By Kelas";
}

std::string FORMLAPBAYAR_MonthlyFeesSql(const std::string& kelas, const std::string& tapel) {
  return "select Id||'; '||Pembayaran from account WHERE Type='Perbulan' and Kelas='" + SqlQ(kelas) +
         "' and Tapel='" + SqlQ(tapel) + "'";
}

// ----- the dialog ---------------------------------------------------------------------------------------------------
std::intptr_t FORMLAPBAYAR_Show(Hwnd owner, int modal, int userData) {
  return FrmShowForm(gFormLapBayar, owner, modal, userData);
}

void FORMLAPBAYAR_CreateControls(Hwnd dialog) {
  gFormLapBayarMonthlyButton = AddButton(dialog, "Show Laporan Pembayaran Per Bulan", 16, 328, 211, 28,
                                         gFormLapBayarMonthlyButtonId);
  gFormLapBayarTodayButton = AddButton(dialog, "Show Pembayaran Hari Ini", 15, 151, 217, 28,
                                       gFormLapBayarTodayButtonId);
  gFormLapBayarAccountLabel = AddLabel(dialog, "Rekap Pembayaran Per Bulan", 24, 288, 200, 15,
                                       gFormLapBayarAccountLabelId);
  gFormLapBayarAccountCombo = AddCombo(dialog, 16, 304, 212, gFormLapBayarAccountComboId);
  gFormLapBayarGroup = FrmAddControl(dialog, "Button", "", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 8, 0, 236, 277,
                                     gFormLapBayarGroupId, FORMLAPBAYAR_CtlSubclassProc, kFont, "",
                                     FrmColors::Face());
  // A frame drawn behind the controls it frames (they were made before it), so that it never takes their clicks.
  if (QWidget* g = WinWidget(gFormLapBayarGroup)) g->lower();
  gFormLapBayarDailyButton = AddButton(dialog, "Show Rekap Pembayaran Harian Per Kelas", 15, 208, 217, 28,
                                       gFormLapBayarDailyButtonId);
  gFormLapBayarClassLabel = AddLabel(dialog, "Kelas", 23, 24, 61, 15, gFormLapBayarClassLabelId);
  gFormLapBayarToDate = AddDate(dialog, 104, 72, 113, 20, gFormLapBayarToDateId);
  gFormLapBayarPeriodLabel = AddLabel(dialog, "Dari Tanggal s/d Tanggal", 20, 52, 71, 37,
                                      gFormLapBayarPeriodLabelId);
  if (auto* l = WinWidget(gFormLapBayarPeriodLabel)) l->setProperty("wordWrap", true);   // two lines
  gFormLapBayarMonthButton = AddButton(dialog, "Show Pembayaran Per Tanggal", 15, 179, 217, 28,
                                       gFormLapBayarMonthButtonId);
  gFormLapBayarRecapButton = AddButton(dialog, "Show Rekap Pembayaran Per Kelas", 16, 235, 211, 28,
                                       gFormLapBayarRecapButtonId);
  gFormLapBayarFromDate = AddDate(dialog, 104, 52, 114, 20, gFormLapBayarFromDateId);
  gFormLapBayarClassCombo = AddCombo(dialog, 104, 20, 117, gFormLapBayarClassComboId);
  gFormLapBayarShowDataButton = AddButton(dialog, "Show Data", 104, 100, 113, 28, gFormLapBayarShowDataButtonId);
  CtlSetFocus(gFormLapBayarMonthlyButton);
}

int FORMLAPBAYAR_CbAddClass(void*, int columnCount, char** values, char**) {
  CbAddString(gFormLapBayarClassCombo, FinCell(values, columnCount, 0));
  return 0;
}

int FORMLAPBAYAR_CbAddAccount(void*, int columnCount, char** values, char**) {
  CbAddString(gFormLapBayarAccountCombo, FinCell(values, columnCount, 0));
  return 0;
}

LResult FORMLAPBAYAR_OnLoad(Hwnd dialog) {
  // The report window whose command opens the dialog is the current one now: the reports are built into its list,
  // whatever report window is clicked meanwhile.
  FrmWindowState st;
  st.owner = gForm10Window;
  FrmKeepWindowState(dialog, st);
  FinExec(FORMLAPBAYAR_ClassesSql(gTapel), FORMLAPBAYAR_CbAddClass);
  DtpSetDate(gFormLapBayarFromDate, gToday);
  DtpSetDate(gFormLapBayarToDate, gToday);
  CbSetCurSel(gFormLapBayarClassCombo, 0);
  return 0;
}

LResult FORMLAPBAYAR_OnClassChange(Hwnd) {
  CbResetContent(gFormLapBayarAccountCombo);
  gSql = FORMLAPBAYAR_MonthlyFeesSql(CtlGetText(gFormLapBayarClassCombo), gTapel);
  FinExec(gSql, FORMLAPBAYAR_CbAddAccount);
  CbSetCurSel(gFormLapBayarAccountCombo, 0);
  return 0;
}

LResult FORMLAPBAYAR_OnShowData(Hwnd) {
  FORMLAPBAYAR_BuildClassPeriodReport();
  return 0;
}

LResult FORMLAPBAYAR_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  LResult r = 0;
  if (FrmFormMessage(gFormLapBayar, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND)
    if (const FrmWindowState* st = FrmWindowStateOf(hwnd); st && IsWindow(st->owner)) FORM10_Bind(st->owner);
  if (msg == WM_COMMAND) {
    const int id = static_cast<int>(LOWORD(wParam));
    const int code = static_cast<int>(HIWORD(wParam));
    if (id == gFormLapBayarClassComboId && code == CBN_SELCHANGE) return FORMLAPBAYAR_OnClassChange(hwnd);
    if (code == BN_CLICKED) {
      if (id == gFormLapBayarShowDataButtonId) return FORMLAPBAYAR_OnShowData(hwnd);
      if (id == gFormLapBayarRecapButtonId) return FORMLAPBAYAR_BuildClassRecap();
      if (id == gFormLapBayarMonthButtonId) return FORMLAPBAYAR_BuildMonthPayments();
      if (id == gFormLapBayarDailyButtonId) return FORMLAPBAYAR_BuildDailyRecap();
      if (id == gFormLapBayarTodayButtonId) return FORMLAPBAYAR_BuildTodayPayments();
      if (id == gFormLapBayarMonthlyButtonId) return FORMLAPBAYAR_BuildMonthlyAccountReport();
    }
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORMLAPBAYAR_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
