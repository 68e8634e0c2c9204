#include "payments/chooser_host.h"

#include <QTabBar>
#include <QTabWidget>
#include <QVariant>
#include <QWidget>

#include <string>

#include "framework/control_widgets.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/window_system.h"
#include "payments/instalment_chooser.h"
#include "payments/month_chooser.h"

Hwnd gFormRekBayarWindow = 0;
Hwnd gFormRekBayarBatalButton = 0, gFormRekBayarSisipButton = 0, gFormRekBayarTab = 0;
Hwnd gFormRekBayarMonthPage = 0, gFormRekBayarInstalmentPage = 0;
int gFormRekBayarBatalButtonId = 2, gFormRekBayarSisipButtonId = 1000, gFormRekBayarTabId = 1001;

void FORMREKBAYAR_InitControlIds() {
  gFormRekBayarBatalButtonId = 2;
  gFormRekBayarSisipButtonId = 1000;
  gFormRekBayarTabId = 1001;
}

namespace {

constexpr const char* kButtonFont = "Arial Unicode MS,9,0";

FrmForm gFormRekBayar = {.name = "FORMREKBAYAR",
                         .wndProc = FORMREKBAYAR_WndProc,
                         .window = &gFormRekBayarWindow,
                         .createControls = FORMREKBAYAR_CreateControls,
                         .onCreate = FORMREKBAYAR_OnCreate,
                         .caption = "Form5",
                         .style = WS_POPUP | WS_THICKFRAME | WS_SYSMENU,
                         .width = 648,
                         .height = 322};

// The pages' sizes in pixels, by tab.
constexpr int kPageSize[2][2] = {{390, 462}, {651, 365}};

QTabWidget* Tabs() { return qobject_cast<QTabWidget*>(WinWidget(gFormRekBayarTab)); }

// The tab control of the window layer has no class of its own: a tab widget whose empty pages mark the display
// area, hung on a handle like any control. Its selection changes reach the host as TCN_SELCHANGING (with the tab
// that is being left still current) and TCN_SELCHANGE.
Hwnd MakeTabControl(Hwnd form, int x, int y, int w, int h, int id) {
  QWidget* client = WinClientWidget(form);
  if (!client) return 0;
  auto* tabs = new QTabWidget(client);
  tabs->setGeometry(FrmScaleX(x), FrmScaleY(y), FrmScaleX(w), FrmScaleY(h));
  // Tab items of 40 x 22 with 4 x 4 around each label.
  tabs->setStyleSheet(QString("QTabBar::tab { min-width: %1px; min-height: %2px; padding: %3px %4px; }")
                          .arg(FrmScaleX(40))
                          .arg(FrmScaleY(22))
                          .arg(FrmScaleY(4))
                          .arg(FrmScaleX(4)));
  const Hwnd handle = WinHandle(tabs);
  if (WinInfo* info = WinInfoOf(handle)) {
    info->className = "SysTabControl32";
    info->style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    info->id = id;
  }
  tabs->setProperty("finPreviousTab", -1);
  QObject::connect(tabs, &QTabWidget::currentChanged, tabs, [form, handle, tabs](int now) {
    const int before = tabs->property("finPreviousTab").toInt();
    tabs->setProperty("finPreviousTab", now);
    if (before == now) return;
    NmHdr hdr{handle, WinGetDlgCtrlID(handle), TCN_SELCHANGING};
    hdr.code = TCN_SELCHANGING;
    tabs->setProperty("finLeavingTab", before);
    WinSendMessage(form, WM_NOTIFY, static_cast<WParam>(hdr.idFrom), reinterpret_cast<LParam>(&hdr));
    hdr.code = TCN_SELCHANGE;
    WinSendMessage(form, WM_NOTIFY, static_cast<WParam>(hdr.idFrom), reinterpret_cast<LParam>(&hdr));
  });
  tabs->show();
  return handle;
}

// Adds a tab that carries its page window.
void AddTab(const std::string& caption, Hwnd page) {
  QTabWidget* tabs = Tabs();
  if (!tabs) return;
  const int i = tabs->addTab(new QWidget, ToQ(caption));
  tabs->tabBar()->setTabData(i, QVariant::fromValue<qlonglong>(page));
}

// Both pages at the display area, each at its own size.
void PlacePages() {
  int x = 0, y = 0;
  FORMREKBAYAR_DisplayOrigin(&x, &y);
  for (int t = 0; t < FORMREKBAYAR_TabCount() && t < 2; ++t)
    WinSetWindowPos(FORMREKBAYAR_TabPage(t), 0, x, y, kPageSize[t][0], kPageSize[t][1],
                    SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

int FORMREKBAYAR_TabCount() {
  QTabWidget* tabs = Tabs();
  return tabs ? tabs->count() : 0;
}

int FORMREKBAYAR_CurrentTab() {
  QTabWidget* tabs = Tabs();
  return tabs ? tabs->currentIndex() : -1;
}

std::string FORMREKBAYAR_TabText(int tab) {
  QTabWidget* tabs = Tabs();
  return tabs && tab >= 0 && tab < tabs->count() ? FromQ(tabs->tabText(tab)) : std::string();
}

Hwnd FORMREKBAYAR_TabPage(int tab) {
  QTabWidget* tabs = Tabs();
  if (!tabs || tab < 0 || tab >= tabs->count()) return 0;
  return static_cast<Hwnd>(tabs->tabBar()->tabData(tab).toLongLong());
}

void FORMREKBAYAR_SelectTab(int tab) {
  if (QTabWidget* tabs = Tabs()) tabs->setCurrentIndex(tab);
}

void FORMREKBAYAR_DisplayOrigin(int* x, int* y) {
  *x = *y = 0;
  QTabWidget* tabs = Tabs();
  if (!tabs) return;
  const QWidget* area = tabs->currentWidget();
  const QPoint p = area ? area->mapToGlobal(QPoint(0, 0)) : tabs->mapToGlobal(QPoint(0, 0));
  *x = p.x();
  *y = p.y();
}

std::intptr_t FORMREKBAYAR_Show(Hwnd parent, int modal, int userData) {
  const Hwnd form = FrmCreateForm(gFormRekBayar, parent, userData);
  if (!form) return 0;
  // The display area is where it is on the screen once the host stands where it is shown: the pages go there.
  WinShowWindow(form, SW_SHOWNORMAL);
  PlacePages();
  return FrmShow(modal, form, parent, SW_SHOWNORMAL, 0);
}

void FORMREKBAYAR_CreateControls(Hwnd form) {
  constexpr std::uint32_t kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
  gFormRekBayarBatalButton = FrmAddControl(form, "Button", "Batal", kButton, 0, 460, 278, 80, 26,
                                           gFormRekBayarBatalButtonId, FORMREKBAYAR_CtlSubclassProc, kButtonFont);
  gFormRekBayarSisipButton = FrmAddControl(form, "Button", "Sisip", kButton, 0, 548, 278, 80, 26,
                                           gFormRekBayarSisipButtonId, FORMREKBAYAR_CtlSubclassProc, kButtonFont);
  gFormRekBayarTab = MakeTabControl(form, 4, 4, 632, 266, gFormRekBayarTabId);
}

LResult FORMREKBAYAR_OnCreate(Hwnd form, std::intptr_t) {
  gFormRekBayarMonthPage = static_cast<Hwnd>(FORMREKBAYAR1_Show(form, 0, 0));
  AddTab("Per-Bulan", gFormRekBayarMonthPage);
  gFormRekBayarInstalmentPage = static_cast<Hwnd>(FORMREKBAYAR3_Show(form, 0, 0));
  AddTab("Per-Tahun", gFormRekBayarInstalmentPage);
  WinShowWindow(gFormRekBayarInstalmentPage, SW_HIDE);
  FORMREKBAYAR_SelectTab(0);
  PlacePages();
  WinShowWindow(gFormRekBayarMonthPage, SW_SHOW);
  CtlSetFocus(gFormRekBayarBatalButton);
  return 0;
}

LResult FORMREKBAYAR_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  LResult r = 0;
  if (FrmFormMessage(gFormRekBayar, hwnd, msg, wParam, lParam, &r)) {
    if (msg == WM_DESTROY) gFormRekBayarMonthPage = gFormRekBayarInstalmentPage = 0;
    return r;
  }
  if (msg == WM_NOTIFY && lParam) {
    const auto* hdr = reinterpret_cast<const NmHdr*>(lParam);
    if (hdr->hwndFrom == gFormRekBayarTab && hdr->code == TCN_SELCHANGING) {
      QTabWidget* tabs = Tabs();
      const int leaving = tabs ? tabs->property("finLeavingTab").toInt() : -1;
      WinShowWindow(FORMREKBAYAR_TabPage(leaving), SW_HIDE);
      PlacePages();
      return 0;
    }
    if (hdr->hwndFrom == gFormRekBayarTab && hdr->code == TCN_SELCHANGE) {
      PlacePages();
      WinShowWindow(FORMREKBAYAR_TabPage(FORMREKBAYAR_CurrentTab()), SW_SHOW);
      WinSetFocus(gFormRekBayarTab);
      return 0;
    }
  }
  if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    const int id = static_cast<int>(LOWORD(wParam));
    if (id == gFormRekBayarSisipButtonId) return 0;   // each page inserts with its own "Sisip"
    if (id == gFormRekBayarBatalButtonId) {          // closes the host and, with it, the pages it owns
      FrmClose(hwnd, 0);
      return 0;
    }
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORMREKBAYAR_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
