#include "reports/savings_report_viewer.h"

#include <string>

#include "common/export.h"
#include "common/globals.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/window_system.h"

Hwnd gForm19List = 0, gForm19TitleLabel = 0;
Hwnd gForm19Window = 0;
int gForm19Id = 106;
int gForm19PrintId = 1000, gForm19XlsId = 1001, gForm19TitleId = 1002, gForm19ListId = 1003;

namespace {

constexpr const char* kButtonFont = "Arial Unicode MS,9,0";

FrmForm gForm19 = {.name = "FORM19",
                   .wndProc = FORM19_WndProc,
                   .window = &gForm19Window,
                   .createControls = FORM19_CreateControls,
                   .caption = "Laporan Tabungan",
                   .style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                            WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
                   .width = 998,
                   .height = 559,
                   .kind = FRM_MDICHILD,
                   .mdiId = &gForm19Id};

bool IsViewer(Hwnd form) { return IsWindow(form) && WinGetClassName(form) == FrmClassName(gForm19); }

// The list and title of the viewer whose button was pressed; the shared handles when no viewer is given.
Hwnd ListOf(Hwnd form) { return IsViewer(form) ? WinGetDlgItem(form, gForm19ListId) : gForm19List; }
Hwnd TitleOf(Hwnd form) { return IsViewer(form) ? WinGetDlgItem(form, gForm19TitleId) : gForm19TitleLabel; }

}  // namespace

std::intptr_t FORM19_Show(Hwnd parent, int modal, int userData) {
  return FrmShowForm(gForm19, parent, modal, userData);
}

void FORM19_CreateControls(Hwnd form) {
  FrmAddControl(form, "Button", "Print", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 8, 36, 33, gForm19PrintId,
                FORM19_CtlSubclassProc, kButtonFont);
  const Hwnd xls = FrmAddControl(form, "Button", "Xls", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 35, 8, 34, 33,
                                 gForm19XlsId, FORM19_CtlSubclassProc, kButtonFont);
  gForm19TitleLabel = FrmAddControl(form, "Static", "", WS_CHILD | WS_VISIBLE | SS_CENTER, 0, 68, 6, 907, 33,
                                    gForm19TitleId, FORM19_CtlSubclassProc, "Times New Roman,14,1", "FL,FT,S,FT",
                                    FrmColors::TextOnRgb(WinRgb(255, 255, 128)));
  gForm19List = FrmAddControl(form, "SysListView32", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT |
                              LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE, 0, 40, 974, 472, gForm19ListId,
                              FORM19_CtlSubclassProc, "Times New Roman,10,0", "FL,FT,S,S");
  LvSetColors(gForm19List, static_cast<int>(WinRgb(0, 0, 0)), static_cast<int>(WinRgb(255, 255, 255)));
  CtlSetFocus(xls);
}

int FORM19_PrintToBrowser(Hwnd form) {
  FinExportToPage(CtlGetText(TitleOf(form)), ListOf(form));
  return 0;
}

int FORM19_ExportXls(Hwnd form) {
  gTargetListView = ListOf(form);
  FinExportToSheet();
  return 0;
}

LResult FORM19_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  LResult r = 0;
  if (FrmFormMessage(gForm19, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    const int id = static_cast<int>(LOWORD(wParam));
    if (id == gForm19PrintId) return FORM19_PrintToBrowser(hwnd);
    if (id == gForm19XlsId) return FORM19_ExportXls(hwnd);
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORM19_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
