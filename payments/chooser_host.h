// FORMREKBAYAR "Form5": a host that shows the month chooser (FORMREKBAYAR1) and the instalment chooser (FORMREKBAYAR3)
// as the two pages "Per-Bulan" and "Per-Tahun" of one tab control. Nothing in the system opens it (the arrears window
// opens the two choosers directly); it is a complete form all the same. Both pages are made when the host is made, so
// both load for the arrears row marked at that moment; each page keeps its own "Sisip" and "Batal", which close that
// page only.
#pragma once
#include <cstdint>

#include "framework/win.h"

// The host while it exists, else 0; its controls; the two pages as created (each page's own window global reads 0
// once that page is closed).
extern Hwnd gFormRekBayarWindow;
extern Hwnd gFormRekBayarBatalButton, gFormRekBayarSisipButton, gFormRekBayarTab;
extern Hwnd gFormRekBayarMonthPage, gFormRekBayarInstalmentPage;
// Control ids: "Batal" 2, "Sisip" 1000, the tab control 1001.
extern int gFormRekBayarBatalButtonId, gFormRekBayarSisipButtonId, gFormRekBayarTabId;
void FORMREKBAYAR_InitControlIds();

// Tab-control notifications (WM_NOTIFY codes): the selection is about to change / has changed.
enum : int { TCN_SELCHANGE = -551, TCN_SELCHANGING = -552 };

// Creates the host (648 x 322, centred, sizing frame without caption bar) owned by `parent` and shows it, modal when
// `modal` is 1. Returns the form runtime's result (modal) or the window; 0 when no window was made.
std::intptr_t FORMREKBAYAR_Show(Hwnd parent, int modal, int userData);
LResult FORMREKBAYAR_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORMREKBAYAR_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORMREKBAYAR_CreateControls(Hwnd form);
// Creates the two pages modeless (owned by the host) as the tabs "Per-Bulan" (selected, shown) and "Per-Tahun".
LResult FORMREKBAYAR_OnCreate(Hwnd form, std::intptr_t userData);

// The tab control: its number of tabs, the selected tab (-1 none), a tab's caption and page window; selecting a tab
// as the operator's click does (TCN_SELCHANGING, the change, TCN_SELCHANGE).
int FORMREKBAYAR_TabCount();
int FORMREKBAYAR_CurrentTab();
std::string FORMREKBAYAR_TabText(int tab);
Hwnd FORMREKBAYAR_TabPage(int tab);
void FORMREKBAYAR_SelectTab(int tab);
// Where the pages stand: the tab control's display area in screen coordinates (left, top).
void FORMREKBAYAR_DisplayOrigin(int* x, int* y);
