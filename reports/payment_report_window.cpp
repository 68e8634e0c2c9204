#include "reports/payment_report_window.h"

#include "common/export.h"
#include "common/globals.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/resources.h"
#include "framework/window_system.h"
#include "reports/payment_report_dialog.h"

Hwnd gForm10Window = 0;
Hwnd gForm10List = 0, gForm10Rebar = 0, gForm10Toolbar = 0;
int gForm10Id = 101;
int gForm10ListId = 1000, gForm10RebarId = 5000, gForm10ToolbarId = 5100;
int gForm10ReportId = 5101, gForm10ExcelId = 5102, gForm10PageId = 5103;

const char* const kForm10PageTitle = "LAPORAN PEMBAYARAN SISWA";

namespace {

constexpr const char* kListFont = "Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34";

FrmForm gForm10 = {.name = "FORM10",
                   .wndProc = FORM10_WndProc,
                   .window = &gForm10Window,
                   .createControls = FORM10_CreateControls,
                   .onCreate = FORM10_OnCreate,
                   .bind = FORM10_Bind,
                   .caption = "Laporan Pembayaran",
                   .style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_OVERLAPPEDWINDOW,
                   .width = 1023,
                   .height = 560,
                   .kind = FRM_MDICHILD,
                   .mdiId = &gForm10Id};

bool IsPaymentReport(Hwnd form) { return IsWindow(form) && WinGetClassName(form) == FrmClassName(gForm10); }

}  // namespace

std::intptr_t FORM10_Show(Hwnd parent, int modal, int userData) {
  return FrmShowForm(gForm10, parent, modal, userData);
}

void FORM10_CreateControls(Hwnd form) {
  gForm10Rebar = WinCreateWindow(0, "ReBarWindow32", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                 0, 0, 0, FrmScaleY(30), form, gForm10RebarId, 0);
  gForm10Toolbar = WinCreateWindow(0, "ToolbarWindow32", "",
                                   WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | TBSTYLE_FLAT |
                                       TBSTYLE_LIST | TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NOPARENTALIGN,
                                   0, 0, 0, 0, gForm10Rebar, gForm10ToolbarId, 0);
  TbSetIconSize(gForm10Toolbar, 32, 32);
  TbAddButton(gForm10Toolbar, gForm10ReportId, ResLoadIcon("IMAGE_REPORT"), "", "", 0);
  TbAddButton(gForm10Toolbar, gForm10ExcelId, ResLoadIcon("IMAGE_DOCEXCEL"), "", "", 0);
  TbAddButton(gForm10Toolbar, gForm10PageId, ResLoadIcon("IMAGE_PRINTER"), "", "", 0);
  TbAutoSize(gForm10Toolbar);
  RbInsertBand(gForm10Rebar, gForm10Toolbar, CtlGetHeight(gForm10Toolbar), FrmScaleX(250));

  gForm10List = FrmAddControl(form, "SysListView32", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT |
                              LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE, 0, 0, 996, 470, gForm10ListId,
                              FORM10_CtlSubclassProc, kListFont, "FL,FT,S,S");
  CtlMove(gForm10List, 0, CtlGetHeight(gForm10Rebar));   // directly under the rebar
  LvSetColors(gForm10List, static_cast<int>(WinRgb(0, 0, 0)), static_cast<int>(WinRgb(255, 255, 255)));
  CtlSetFocus(gForm10List);
}

LResult FORM10_OnCreate(Hwnd, std::intptr_t) { return 0; }

void FORM10_Bind(Hwnd form) {
  if (!IsPaymentReport(form)) return;
  gForm10Window = form;
  gForm10List = WinGetDlgItem(form, gForm10ListId);
  gForm10Rebar = WinGetDlgItem(form, gForm10RebarId);
  gForm10Toolbar = WinGetDlgItem(gForm10Rebar, gForm10ToolbarId);   // the toolbar lives in the rebar
}

LResult FORM10_OnToolbar(Hwnd form, Hwnd, int notification, int id) {
  if (notification != 0 || !IsPaymentReport(form)) return 0;
  if (id == gForm10ReportId) {
    FORMLAPBAYAR_Show(form, 1, 0);
  } else if (id == gForm10ExcelId) {
    gTargetListView = gForm10List;
    FinExportToSheet();
  } else if (id == gForm10PageId) {
    FinExportToPage(kForm10PageTitle, gForm10List);
  }
  return 0;
}

LResult FORM10_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  if (msg == WM_DESTROY && gForm10Window == hwnd) gForm10List = gForm10Rebar = gForm10Toolbar = 0;
  if (msg == WM_SIZE && wParam != SIZE_MINIMIZED) WinSendMessage(WinGetDlgItem(hwnd, gForm10RebarId), WM_SIZE, 0, 0);
  LResult r = 0;
  if (FrmFormMessage(gForm10, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND)
    return FORM10_OnToolbar(hwnd, FrmControlOf(msg, lParam), static_cast<int>(HIWORD(wParam)),
                            static_cast<int>(LOWORD(wParam)));
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORM10_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
