#include "app/main_window.h"

#include <QDate>
#include <QWidget>

#include "accounts/fee_list_window.h"
#include "accounts/ledger_list_window.h"
#include "app/access.h"
#include "app/backup.h"
#include "app/config.h"
#include "app/data_reset_window.h"
#include "app/database_window.h"
#include "app/globals.h"
#include "app/guide_window.h"
#include "app/login_window.h"
#include "app/operator_list_window.h"
#include "app/password_window.h"
#include "app/welcome_window.h"
#include "common/globals.h"
#include "common/receipt_settings_window.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/resources.h"
#include "framework/system_wrappers.h"
#include "payments/class_payment_window.h"
#include "payments/payment_list_window.h"
#include "payments/payment_window.h"
#include "platform/seams.h"
#include "reports/arrears_report_window.h"
#include "reports/financial_report_window.h"
#include "reports/payment_report_window.h"
#include "reports/savings_reports.h"
#include "savings/journal_list_window.h"
#include "savings/savings_list_window.h"
#include "savings/savings_teller_window.h"
#include "students/student_list_window.h"

Hwnd gMdiForm1Toolbar = 0;
Hwnd gMdiForm1Rebar = 0;
std::intptr_t gMdiForm1Menu = 0;

namespace {

FrmForm gMdiForm1 = {
    .name = "MDIFORM1",
    .wndProc = MDIFORM1_WndProc,
    .window = &gMainWindow,
    .createControls = MDIFORM1_CreateControls,
    .onCreate = MDIFORM1_OnCreate,
    .caption = "Kelvora",
    .style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
    .width = 1002,
    .height = 558,
    .kind = FRM_MDIFRAME,
};

// Design widths of the status parts 0 to 7; part 8 takes the rest.
constexpr int kPartWidths[8] = {50, 100, 75, 250, 100, 80, 200, 300};
constexpr int kPartsDesignWidth = 1155;

struct ToolButton {
  int id;
  const char* icon;
  const char* text;
  const char* tip;
  int autoSize;
};
constexpr ToolButton kToolButtons[] = {
    {IDT_PEMBAYARAN, "IMAGE_MONEY", "Pembayaran", "Pembayaran Siswa", 0},
    {IDT_BAYAR_PER_KELAS, "IMAGE_CUSTOMERS", "Bayar Per Kelas", "Pembayaran Akun Per Kelas", 1},
    {IDT_TABUNGAN, "IMAGE_DOLLAR", "Tabungan", "Tabungan", 0},
    {IDT_JURNAL_KAS, "IMAGE_MONEY", "Jurnal Kas", "Jurnal Kas", 0},
    {IDT_JURNAL_BANK, "IMAGE_MONEY", "Jurnal Bank", "Jurnal Bank", 1},
    {0, nullptr, nullptr, nullptr, 0},
    {IDT_LAP_KEUANGAN, "IMAGE_REPORT", "Lap. Keuangan", "Laporan Keuangan", 0},
    {IDT_LAP_PEMBAYARAN, "IMAGE_REPORTS", "Lap. Pembayaran", "Laporan Penerimaan Pembayaran", 0},
    {IDT_LAP_TUNGGAKAN, "IMAGE_FOLDERA31", "Lap. Tunggakan", "Laporan Tunggakan", 0},
    {0, nullptr, nullptr, nullptr, 0},
    {IDT_LAP_TABUNGAN, "IMAGE_REPORT", "Lap. Tabungan", "Laporan Tabungan Nasabah", 1},
};

void BuildMenu(Hwnd form) {
  HMenu bar = WinCreateMenu();
  auto popup = [&](const char* text, std::initializer_list<std::pair<int, const char*>> items) {
    HMenu p = WinCreatePopupMenu();
    for (const auto& [id, t] : items) WinAppendMenu(p, MF_STRING, static_cast<std::uintptr_t>(id), t);
    WinAppendMenu(bar, MF_POPUP, static_cast<std::uintptr_t>(p), text);
    return p;
  };
  popup("File", {{IDM_RUBAH_PASSWORD, "Rubah Password"}, {IDM_BACKUP, "BackUp"}, {IDM_RESTORE, "Restore"},
                 {IDM_KONEKSI_DATABASE, "Koneksi Database"}, {IDM_KELUAR, "Keluar"}});
  popup("Data", {{IDM_DATA_SISWA, "Data Siswa"}, {IDM_DATA_REKENING, "Data Rekening"},
                 {IDM_DATA_AKUN_PEMBAYARAN, "Data Akun Pembayaran"}, {IDM_DATA_USER, "Data User"},
                 {IDM_RESET_DATA, "Reset Data"}});
  popup("Transaksi", {{IDM_PEMBAYARAN, "Pembayaran"}, {IDM_BAYAR_PER_KELAS, "Bayar Per Kelas"},
                      {IDM_TABUNGAN, "Tabungan"}, {IDM_JURNAL_KAS, "Jurnal Kas"}, {IDM_JURNAL_BANK, "Jurnal Bank"}});
  HMenu laporan = popup("Laporan", {{IDM_LAP_KEUANGAN, "Laporan Keuangan Sekolah"},
                                    {IDM_LAP_PEMBAYARAN, "Laporan Pembayaran"},
                                    {IDM_LAP_TUNGGAKAN, "Laporan Tunggakan"}, {IDM_LAP_TABUNGAN, "Laporan Tabungan"}});
  HMenu bulan = WinCreatePopupMenu();
  static const char* const kMonths[12] = {"Juli", "Agustus", "September", "Oktober", "Nopember", "Desember",
                                          "Januari", "Februari", "Maret", "April", "Mei", "Juni"};
  for (int i = 0; i < 12; ++i) WinAppendMenu(bulan, MF_STRING, static_cast<std::uintptr_t>(IDM_JULI + i), kMonths[i]);
  WinAppendMenu(laporan, MF_POPUP, static_cast<std::uintptr_t>(bulan), "Bulan");
  HMenu setting = popup("Setting", {{IDM_SETTING_STRUK, "Setting Struk"}});
  HMenu jenis = WinCreatePopupMenu();
  WinAppendMenu(jenis, MF_STRING, IDM_PRABAYAR, "Prabayar");
  WinAppendMenu(jenis, MF_STRING, IDM_PASCA_BAYAR, "Pasca Bayar");
  WinAppendMenu(setting, MF_POPUP, static_cast<std::uintptr_t>(jenis), "Jenis Pembayaran Per Bulan");
  gMdiForm1Menu = bar;
  WinSetMenu(form, bar);
  WinDrawMenuBar(form);
}

void SetStatusParts() {
  if (!IsWindow(gStatusBar)) return;
  SbSetParts(gStatusBar, MDIFORM1_StatusPartEdges(WinGetClientRect(gStatusBar).width()));
}

void Layout(Hwnd form) {
  WinRect client = WinGetClientRect(form);
  int rebarHeight = CtlGetHeight(gMdiForm1Rebar);
  int statusHeight = CtlGetHeight(gStatusBar);
  if (statusHeight <= 0)
    if (QWidget* w = WinWidget(gStatusBar)) statusHeight = w->sizeHint().height();
  WinSetWindowPos(gMdiForm1Rebar, 0, 0, 0, client.width(), rebarHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  WinSetWindowPos(gStatusBar, 0, 0, client.bottom - statusHeight, client.width(), statusHeight,
                  SWP_NOZORDER | SWP_NOACTIVATE);
  WinMoveWindow(gMdiClient, client.left, client.top + rebarHeight, client.right,
                client.bottom - rebarHeight - statusHeight, true);
}

// The twelve working windows, each behind its access position. The menu and the toolbar open different windows
// under the same position for "Pembayaran" (list / payment window) and "Tabungan" (list / teller).
using ShowRoutine = std::intptr_t (*)(Hwnd, int, int);
struct GuardedCommand {
  int id;
  int position;
  ShowRoutine show;
};
const GuardedCommand kGuardedCommands[] = {
    {IDM_DATA_SISWA, kAccessStudents, FORM2_Show},
    {IDM_DATA_REKENING, kAccessLedger, FORM5_Show},
    {IDM_DATA_AKUN_PEMBAYARAN, kAccessFees, FORM6_Show},
    {IDM_PEMBAYARAN, kAccessPayments, FORM13_Show},
    {IDT_PEMBAYARAN, kAccessPayments, FORMBAYAR_Show},
    {IDM_BAYAR_PER_KELAS, kAccessClassPayments, FORM27_Show},
    {IDT_BAYAR_PER_KELAS, kAccessClassPayments, FORM27_Show},
    {IDM_TABUNGAN, kAccessSavings, FORM14_Show},
    {IDT_TABUNGAN, kAccessSavings, FORMTABUNGAN_Show},
    {IDM_JURNAL_KAS, kAccessCashJournal, FORM15_Show},
    {IDT_JURNAL_KAS, kAccessCashJournal, FORM15_Show},
    {IDM_JURNAL_BANK, kAccessBankJournal, FORM15_Show},
    {IDT_JURNAL_BANK, kAccessBankJournal, FORM15_Show},
    {IDM_LAP_KEUANGAN, kAccessFinancialReport, FORM8_Show},
    {IDT_LAP_KEUANGAN, kAccessFinancialReport, FORM8_Show},
    {IDM_LAP_PEMBAYARAN, kAccessPaymentReport, FORM10_Show},
    {IDT_LAP_PEMBAYARAN, kAccessPaymentReport, FORM10_Show},
    {IDM_LAP_TUNGGAKAN, kAccessArrearsReport, FORM11_Show},
    {IDT_LAP_TUNGGAKAN, kAccessArrearsReport, FORM11_Show},
    {IDM_LAP_TABUNGAN, kAccessSavingsReport, FORM18_Show},
    {IDT_LAP_TABUNGAN, kAccessSavingsReport, FORM18_Show},
};

}  // namespace

std::vector<int> MDIFORM1_StatusPartEdges(int clientWidth) {
  std::vector<int> edges;
  int edge = 0;
  for (int w : kPartWidths) {
    edge += FrmScaleX(w);
    edges.push_back(edge);
  }
  edges.push_back(edge + FrmScaleX(clientWidth - kPartsDesignWidth));
  return edges;
}

int MDIFORM1_MonthOfCommand(int id) {
  if (id < IDM_JULI || id > IDM_JUNI) return 0;
  int k = id - IDM_JULI;   // 0 = Juli
  return k < 6 ? k + 7 : k - 5;
}

std::intptr_t MDIFORM1_Show(Hwnd parent, int modal, int userData) {
  return FrmShowForm(gMdiForm1, parent, modal, userData);
}

void MDIFORM1_CreateControls(Hwnd form) {
  gMdiClient = WinCreateWindow(0, "MDICLIENT", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL,
                               0, 0, 0, 0, form, IDC_MDIFORM1_CLIENT, 0);
  FrmInitControl(gMdiClient, 1, 0, "", 0, 0, 0, 0, 0, 0, -1, MDIFORM1_ClientSubclassProc, "", 0);
  CtlSetTag(form, "");
  CtlSetTag2(form, "");

  BuildMenu(form);
  if (QWidget* w = WinWidget(form)) w->window()->setWindowIcon(ResLoadIcon("IMAGE_GRAPH"));

  gMdiForm1Rebar = WinCreateWindow(0, "ReBarWindow32", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                   0, 0, 0, FrmScaleY(30), form, IDC_MDIFORM1_REBAR, 0);
  gMdiForm1Toolbar = WinCreateWindow(0, "ToolbarWindow32", "",
                                     WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER |
                                         TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TRANSPARENT | TBSTYLE_TOOLTIPS |
                                         CCS_NORESIZE | CCS_NOPARENTALIGN,
                                     0, 0, 0, 0, gMdiForm1Rebar, IDC_MDIFORM1_TOOLBAR, 0);
  TbSetIconSize(gMdiForm1Toolbar, 48, 48);
  for (const ToolButton& b : kToolButtons) {
    if (b.id == 0) {
      TbAddSeparator(gMdiForm1Toolbar);
      continue;
    }
    TbAddButton(gMdiForm1Toolbar, b.id, ResLoadIcon(b.icon), b.text, b.tip, b.autoSize);
  }
  TbAutoSize(gMdiForm1Toolbar);
  RbInsertBand(gMdiForm1Rebar, gMdiForm1Toolbar, CtlGetHeight(gMdiForm1Toolbar), FrmScaleX(250),
               ResLoadImage("IMAGE_BACKBATIK6"));

  gStatusBar = WinCreateWindow(0, "msctls_statusbar32", "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, form,
                               IDC_MDIFORM1_STATUSBAR, 0);
  std::string font = "MS Sans Serif,8,0";
  FrmInitControl(gStatusBar, 1, 1, font, 0, 0, 0, 0, 0, 0, -1, MDIFORM1_ClientSubclassProc, "", 0);
  SetStatusParts();
  SbSetText(gStatusBar, 0, "User:", SBT_POPOUT);
  SbSetIcon(gStatusBar, 0, ResLoadIcon("IMAGE_LOGINPEOPLE"));
  SbSetText(gStatusBar, 1, "ketua", 0);
  SbSetTipText(gStatusBar, 1, "Pengguna aplikasi saat ini");
  SbSetText(gStatusBar, 4, FmtDateNow("MMM dd, yyyy"), 0);
  SbSetIcon(gStatusBar, 4, ResLoadIcon("IMAGE_TIMETOGETUP"));
  SbSetText(gStatusBar, 5, FmtTimeNow("HH:mm:ss"), 0);
  SbSetText(gStatusBar, 6, "", 0);
  SbSetText(gStatusBar, 7, "", 0);
  SbSetText(gStatusBar, 8, "", SBT_POPOUT);
  SbSetTipText(gStatusBar, 8, "Jenis Printer yang digunakan");

  unsigned timer = WinSetTimer(0, 0, 200, MDIFORM1_OnClockTimer);
  if (WindowData* d = FrmDataOf(form)) d->timerId = timer;
  Layout(form);
}

void MDIFORM1_OnClockTimer(Hwnd, unsigned, std::uintptr_t, std::uint32_t) {
  SbSetText(gStatusBar, 4, FmtDateNow("MMM dd, yyyy"), 0);
  SbSetText(gStatusBar, 5, FmtTimeNow("HH:mm:ss"), 0);
}

LResult MDIFORM1_OnCreate(Hwnd form, std::intptr_t userData) {
  AppSetSchoolYearFromToday();
  FORMLOGIN_Show(gMainWindow, 1, 0);
  FORM1_Show(gMdiClient, 1, 0);
  gToday = AppTodayText();
  gReportMonth = platform::Today().month();
  SbSetText(gStatusBar, 7, AppPeriodText(gReportMonth), 0);
  AppReadSchoolFile();
  MDIFORM1_CheckRequiredData();
  gCountResult = 0;
  SbSetText(gStatusBar, 6, "Tahun Ajaran : " + gTapel, 0);
  return 0;
}

void MDIFORM1_CheckRequiredData() {
  if (AppCountMissingRequiredData() > 0) FORM24_Show(gMdiClient, 1, 0);
}

int MDIFORM1_OnCommand(Hwnd form, Hwnd control, int notification, int id) {
  if (id == IDM_JURNAL_KAS || id == IDT_JURNAL_KAS) gFormMode = "JURNAL KAS";   // handed over even when refused
  if (id == IDM_JURNAL_BANK || id == IDT_JURNAL_BANK) gFormMode = "JURNAL BANK";
  for (const GuardedCommand& g : kGuardedCommands) {
    if (g.id != id) continue;
    if (AppCheckAccess(g.position) && g.show) g.show(gMdiClient, 1, 0);
    return 0;
  }
  switch (id) {
    case IDM_BACKUP: AppBackup(); break;
    case IDM_RESTORE: AppRestore(form); break;
    case IDM_KELUAR: AppExit(1); break;
    case IDM_RUBAH_PASSWORD: PASSWORD_Show(gMdiClient, 1, 0); break;
    case IDM_KONEKSI_DATABASE: FORM12_Show(gMainWindow, 1, 0); break;
    case IDM_DATA_USER:
      if (AppIsSuperUser(AppOperatorName())) FORM7_Show(gMdiClient, 1, 0);
      break;
    case IDM_RESET_DATA:
      if (AppIsSuperUser(AppOperatorName()))
        FORM20_Show(gMdiClient, 1, 0);
      else
        MsgBox("Hanya user ketua yang diperbolehkan menggunakan fitur ini..", "Info", MB_OK);
      break;
    case IDM_SETTING_STRUK: FORM23_Show(gMainWindow, 1, 0, FORMBAYAR_ReceiptLayoutList()); break;
    case IDM_PRABAYAR: AppSetPrepaid(1); break;
    case IDM_PASCA_BAYAR: AppSetPrepaid(0); break;
    default:
      if (int month = MDIFORM1_MonthOfCommand(id)) {
        gReportMonth = month;
        std::string period = AppPeriodText(month);
        SbSetText(gStatusBar, 7, period, 0);
        MsgBox(period, "Info", MB_OK);
      }
      break;
  }
  return 0;
}

LResult MDIFORM1_ClientSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}

LResult MDIFORM1_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  switch (msg) {
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) SetStatusParts();
      Layout(hwnd);
      return 0;
    case WM_COMMAND:
      if (LResult r = MDIFORM1_OnCommand(hwnd, static_cast<Hwnd>(lParam), static_cast<int>(HIWORD(wParam)),
                                         static_cast<int>(LOWORD(wParam))))
        return r;
      break;
    case WM_DESTROY: {
      LResult r = 0;
      FrmFormMessage(gMdiForm1, hwnd, msg, wParam, lParam, &r);
      gMainWindow = 0;
      WinPostQuitMessage(0);
      return 0;
    }
    default: {
      LResult r = 0;
      if (FrmFormMessage(gMdiForm1, hwnd, msg, wParam, lParam, &r)) return r;
      break;
    }
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}
