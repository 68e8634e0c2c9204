#include "reports/arrears_report_dialog.h"

#include <QBrush>
#include <QPalette>
#include <QPixmap>
#include <QWidget>

#include "common/handover.h"
#include "common/session.h"
#include "common/sql.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/window_state.h"
#include "framework/resources.h"
#include "framework/window_system.h"
#include "reports/arrears_report_window.h"
#include "reports/arrears_reports.h"

Hwnd gFormLapTunggakanWindow = 0;
Hwnd gFormLapTunggakanGroup = 0, gFormLapTunggakanClassLabel = 0, gFormLapTunggakanClassCombo = 0,
     gFormLapTunggakanShowDataButton = 0, gFormLapTunggakanRecapButton = 0, gFormLapTunggakanMonthlyButton = 0;
int gFormLapTunggakanGroupId = 1000, gFormLapTunggakanClassLabelId = 1001, gFormLapTunggakanClassComboId = 1002,
    gFormLapTunggakanShowDataButtonId = 1003, gFormLapTunggakanRecapButtonId = 1004,
    gFormLapTunggakanMonthlyButtonId = 1005;

namespace {

constexpr const char* kFont = "Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34";
constexpr const char* kShowDataFont = "MS Sans Serif,-11,0,0,0,400,0,0,0,0,1,2,1,34";
constexpr const char* kRecapFont = "Arial Unicode MS,9,0";
constexpr std::uint32_t kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;

FrmForm gFormLapTunggakan = {.name = "FORMLAPTUNGGAKAN",
                             .wndProc = FORMLAPTUNGGAKAN_WndProc,
                             .window = &gFormLapTunggakanWindow,
                             .createControls = FORMLAPTUNGGAKAN_CreateControls,
                             .onCreate = [](Hwnd dialog, std::intptr_t) { return FORMLAPTUNGGAKAN_OnLoad(dialog); },
                             .onDestroy = [](Hwnd dialog) {
                               if (gFormLapTunggakanWindow != dialog) return;
                               for (Hwnd* h : {&gFormLapTunggakanGroup, &gFormLapTunggakanClassLabel,
                                               &gFormLapTunggakanClassCombo, &gFormLapTunggakanShowDataButton,
                                               &gFormLapTunggakanRecapButton, &gFormLapTunggakanMonthlyButton})
                                 *h = 0;
                             },
                             .caption = "Laporan Keuangan Sekolah",
                             // No minimise or maximise box.
                             .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                             .width = 340,
                             .height = 208};

// The class background: the batik bitmap as a pattern over the whole client area.
void PaintPattern(Hwnd dialog) {
  const QPixmap batik = ResLoadImage("IMAGE_BACKBATIK1");
  QWidget* client = WinClientWidget(dialog);
  if (!client || batik.isNull()) return;
  QPalette p = client->palette();
  p.setBrush(QPalette::All, QPalette::Window, QBrush(batik));
  client->setPalette(p);
  client->setAutoFillBackground(true);
}

}  // namespace

std::intptr_t FORMLAPTUNGGAKAN_Show(Hwnd owner, int modal, int userData) {
  return FrmShowForm(gFormLapTunggakan, owner, modal, userData);
}

void FORMLAPTUNGGAKAN_CreateControls(Hwnd dialog) {
  PaintPattern(dialog);
  const WndProcFn sub = FORMLAPTUNGGAKAN_CtlSubclassProc;
  // The frame: transparent, and behind the controls it frames so that it never takes their clicks.
  gFormLapTunggakanGroup = FrmAddControl(dialog, "Button", "Tunggakan", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 10, 0,
                                         310, 87, gFormLapTunggakanGroupId, sub, kFont);
  if (QWidget* g = WinWidget(gFormLapTunggakanGroup)) {
    g->setAutoFillBackground(false);
    g->lower();
  }
  gFormLapTunggakanClassLabel = FrmAddControl(dialog, "Static", "Kelas", WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 16, 28,
                                              61, 15, gFormLapTunggakanClassLabelId, sub, kFont);
  gFormLapTunggakanClassCombo =
      FrmAddControl(dialog, "ComboBox", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0,
                    96, 24, 215, 200, gFormLapTunggakanClassComboId, sub, kFont, "", FrmColors::Window());
  gFormLapTunggakanShowDataButton = FrmAddControl(dialog, "Button", "Show Data", kButton, 0, 200, 56, 113, 28,
                                                  gFormLapTunggakanShowDataButtonId, sub, kShowDataFont);
  gFormLapTunggakanRecapButton =
      FrmAddControl(dialog, "Button", "Rekap Tunggakan Per Kelas", kButton | BS_MULTILINE | BS_CENTER, 0, 10, 90,
                    304, 33, gFormLapTunggakanRecapButtonId, sub, kRecapFont);
  gFormLapTunggakanMonthlyButton =
      FrmAddControl(dialog, "Button", "Rekap Tunggakan Jenis Perbulan Per Kelas", kButton | BS_MULTILINE | BS_CENTER,
                    0, 10, 130, 304, 33, gFormLapTunggakanMonthlyButtonId, sub, kRecapFont);
  CtlSetFocus(gFormLapTunggakanClassCombo);
}

LResult FORMLAPTUNGGAKAN_OnLoad(Hwnd dialog) {
  // The report window whose command opens the dialog is the current one now: the reports are built into its list,
  // whatever report window is clicked meanwhile.
  FrmWindowState st;
  st.owner = gForm11Window;
  FrmKeepWindowState(dialog, st);
  FinExec(FinArrearsReportClassesSql(gTapel), FORMLAPTUNGGAKAN_CbAddClass);
  CbSetCurSel(gFormLapTunggakanClassCombo, 0);
  CtlDisable(gFormLapTunggakanMonthlyButton);
  return 0;
}

LResult FORMLAPTUNGGAKAN_OnShowData(Hwnd) {
  gPickClass = CtlGetText(gFormLapTunggakanClassCombo);
  // The report window the dialog reports into (bound to it for this command) prints and archives for this class.
  FORM11_KeepShownClass(gForm11Window, gPickClass);
  FORMLAPTUNGGAKAN_BuildArrears();
  return 0;
}

LResult FORMLAPTUNGGAKAN_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  LResult r = 0;
  if (FrmFormMessage(gFormLapTunggakan, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND)
    if (const FrmWindowState* st = FrmWindowStateOf(hwnd); st && IsWindow(st->owner)) FORM11_Bind(st->owner);
  if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    const int id = static_cast<int>(LOWORD(wParam));
    if (id == gFormLapTunggakanShowDataButtonId) return FORMLAPTUNGGAKAN_OnShowData(hwnd);
    if (id == gFormLapTunggakanRecapButtonId) return FORMLAPTUNGGAKAN_BuildClassRecap();
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORMLAPTUNGGAKAN_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
