#include "savings/journal_list_window.h"

#include <sqlite3.h>

#include <string>

#include "common/export.h"
#include "common/globals.h"
#include "common/handover.h"
#include "common/query_callbacks.h"
#include "common/session.h"
#include "common/sql.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/resources.h"
#include "framework/system_wrappers.h"
#include "framework/window_system.h"
#include "savings/journal_entry_windows.h"

Hwnd gForm15Window = 0;
Hwnd gForm15List = 0;
Hwnd gForm15Rebar = 0, gForm15Toolbar = 0;
int gForm15Id = 105;
int gForm15ListId = 1000, gForm15RebarId = 5000, gForm15ToolbarId = 5100;
int gForm15IncomeId = 5101, gForm15ExpenseId = 5102, gForm15DeleteId = 5103, gForm15ExcelId = 5104,
    gForm15PageId = 5105, gForm15RefreshId = 5106;

const char* const kForm15DeleteQuestion =
    "Apakah anda yakin akan menghapus record ini? Cobalah koreksi data yang terkait dengan record ini, mungkin bisa "
    "mengakibatkan perubahan referensi data dan mengakibatkan data menjadi rancu..";

void FORM15_InitControlIds() {
  gForm15ListId = 1000;
  gForm15RebarId = 5000;
  gForm15ToolbarId = 5100;
  int id = 5101;
  for (int* g : {&gForm15IncomeId, &gForm15ExpenseId, &gForm15DeleteId, &gForm15ExcelId, &gForm15PageId,
                 &gForm15RefreshId})
    *g = id++;
}

namespace {

constexpr const char* kListFont = "Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34";
constexpr const char* kPageTitle = "LAPORAN DATA JURNAL";
// The window property that keeps a journal list's kind: 1 cash, 2 bank.
constexpr const char* kKindProperty = "FIN_JOURNAL_KIND";

void Form15Destroyed(Hwnd form);
LResult Form15Created(Hwnd form, std::intptr_t param);
void MakeCurrent(Hwnd form);

FrmForm gForm15 = {.name = "FORM15",
                   .wndProc = FORM15_WndProc,
                   .window = &gForm15Window,
                   .createControls = FORM15_CreateControls,
                   .onCreate = Form15Created,
                   .onDestroy = Form15Destroyed,
                   .bind = MakeCurrent,
                   .caption = "Jurnal Kas",
                   .style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                            WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
                   .width = 1024,
                   .height = 559,
                   .kind = FRM_MDICHILD,
                   .mdiId = &gForm15Id};

bool IsJournalList(Hwnd form) { return IsWindow(form) && WinGetClassName(form) == FrmClassName(gForm15); }

Hwnd ListOf(Hwnd form) { return WinGetDlgItem(form, gForm15ListId); }

// Points the form globals at `form`, the window activated or whose command runs now (the form's bind routine).
void MakeCurrent(Hwnd form) {
  if (!IsJournalList(form)) return;
  gForm15Window = form;
  gForm15List = ListOf(form);
  gForm15Rebar = WinGetDlgItem(form, gForm15RebarId);
  gForm15Toolbar = WinGetDlgItem(gForm15Rebar, gForm15ToolbarId);
}

LResult Form15Created(Hwnd form, std::intptr_t param) {
  WinSetProp(form, kKindProperty, FinJournalIsCash(gFormMode) ? 1 : 2);
  return FORM15_LoadList(form, param);
}

void Form15Destroyed(Hwnd form) {
  if (gForm15Window != form) return;
  gForm15List = gForm15Rebar = gForm15Toolbar = 0;
}

// The entry windows read the journal kind from gFormMode: this window's kind is handed to them.
void HandKindOn(Hwnd form) { gFormMode = FORM15_IsCash(form) ? "JURNAL KAS" : "JURNAL BANK"; }

void DeleteSelected(Hwnd form) {
  if (MsgBox(kForm15DeleteQuestion, "Confirm Delete", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  const Hwnd list = ListOf(form);
  const int row = LvGetSelectionMark(list);
  if (row < 0 || row >= LvGetItemCount(list)) return;   // no entry chosen: nothing to delete
  const std::string id = LvGetItemText(list, row, 0);
  if (FinExec("Delete From Transaksi Where Id='" + SqlQ(id) + "'") != SQLITE_OK) return;
  LvDeleteItem(list, row);
}

}  // namespace

// ----- what the window computes -------------------------------------------------------------------------------------
bool FinJournalIsCash(const std::string& mode) { return mode == "JURNAL KAS"; }

std::string FinJournalReportMonth(int reportMonth, const std::string& tapel) {
  const std::string year = reportMonth > 6 ? tapel.substr(0, 4) : (tapel.size() >= 4 ? tapel.substr(tapel.size() - 4)
                                                                                      : tapel);
  const std::string mm = "0" + std::to_string(reportMonth);
  return year + "-" + mm.substr(mm.size() - 2);
}

// The month's rows are taken by date (index on tgl and sts): "+Sts" keeps the status out of the choice of index, which
// would otherwise read the journal rows of every year through the index on sts.
std::string FORM15_ListSql(bool cash, int reportMonth, const std::string& tapel) {
  const std::string first = SqlQ(FinJournalReportMonth(reportMonth, tapel)) + "-01";
  return std::string("select Id, Tgl, Ref, Uraian, Masuk, Keluar, Petugas from transaksi WHERE +Sts='") +
         (cash ? "k" : "b") + "' And Tgl between '" + first + "' and date('" + first +
         "','start of month','+1 month','-1 day') Order By Id";
}

// ----- the window ---------------------------------------------------------------------------------------------------
std::intptr_t FORM15_Show(Hwnd parent, int modal, int userData) {
  return FrmShowForm(gForm15, parent, modal, userData);
}

bool FORM15_IsCash(Hwnd form) { return IsJournalList(form) && WinGetProp(form, kKindProperty) == 1; }

void FORM15_CreateControls(Hwnd form) {
  gForm15Rebar = WinCreateWindow(0, "ReBarWindow32", "",
                                 WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | RBS_AUTOSIZE |
                                     RBS_TOOLTIPS,
                                 0, 0, 0, FrmScaleY(30), form, gForm15RebarId, 0);
  gForm15Toolbar = WinCreateWindow(0, "ToolbarWindow32", "",
                                   WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | TBSTYLE_FLAT |
                                       TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NOPARENTALIGN,
                                   0, 0, 0, 0, gForm15Rebar, gForm15ToolbarId, 0);
  TbSetIconSize(gForm15Toolbar, 24, 24);
  struct Button {
    int id;
    const char* icon;
    const char* tip;
  };
  const Button buttons[] = {
      {gForm15IncomeId, "IMAGE_DOWN", "Jurnal Kas Masuk"},
      {gForm15ExpenseId, "IMAGE_UP", "Jurnal Kas Keluar"},
      {gForm15DeleteId, "IMAGE_DATA_DELETE", "Hapus Item Data Jurnal"},
      {gForm15ExcelId, "IMAGE_DOCEXCEL", "Export Ke Excel"},
      {gForm15PageId, "IMAGE_PRINTER", "Cetak Ke Broswer"},
      {0, nullptr, nullptr},
      {gForm15RefreshId, "IMAGE_REFRESH", "Refresh / membaca ulang Data Jurnal dari database"},
  };
  for (const Button& b : buttons) {
    if (b.id == 0)
      TbAddSeparator(gForm15Toolbar);
    else
      TbAddButton(gForm15Toolbar, b.id, ResLoadIcon(b.icon), "", b.tip);
  }
  TbAutoSize(gForm15Toolbar);
  RbInsertBand(gForm15Rebar, gForm15Toolbar, CtlGetHeight(gForm15Toolbar), FrmScaleX(250));

  // Directly below the rebar: its height in pixels taken as design units.
  gForm15List = FrmAddControl(form, "SysListView32", "",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE,
                              0, CtlGetHeight(gForm15Rebar), 1000, 486, gForm15ListId, FORM15_CtlSubclassProc,
                              kListFont, "FL,FT,S,S");
  LvSetExtendedStyle(gForm15List, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  LvSetColors(gForm15List, 0x000000, 0xFFFFFF);
  CtlSetFocus(gForm15List);
}

int FORM15_LoadList(Hwnd form, std::intptr_t) {
  const Hwnd list = ListOf(form);
  gTargetListView = list;
  LvDeleteAllColumns(list);
  LvDeleteAllItems(list);
  gSql = FORM15_ListSql(FORM15_IsCash(form), gReportMonth, gTapel);
  FinExec(gSql, FinCbFillList);
  return 0;
}

int FORM15_OnToolbar(Hwnd form, Hwnd, int notification, int id) {
  if (notification != 0 || !IsJournalList(form)) return 0;
  MakeCurrent(form);   // also run from outside the window's procedure
  if (id == gForm15IncomeId) {
    HandKindOn(form);
    FORMREKMASUK_Show(form, 1, 0);
  } else if (id == gForm15ExpenseId) {
    HandKindOn(form);
    FORMREKKELUAR_Show(form, 1, 0);
  } else if (id == gForm15DeleteId) {
    DeleteSelected(form);
  } else if (id == gForm15ExcelId) {
    gTargetListView = ListOf(form);
    FinExportToSheet();
  } else if (id == gForm15PageId) {
    FinExportToPage(kPageTitle, ListOf(form));
  } else if (id == gForm15RefreshId) {
    FORM15_LoadList(form, 0);
  }
  return 0;
}

LResult FORM15_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  // The rebar takes the new width before the resize rules move the list.
  if (msg == WM_SIZE && wParam != SIZE_MINIMIZED)
    WinSendMessage(WinGetDlgItem(hwnd, gForm15RebarId), WM_SIZE, wParam, lParam);
  LResult r = 0;
  if (FrmFormMessage(gForm15, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND) {
    FORM15_OnToolbar(hwnd, FrmControlOf(msg, lParam), static_cast<int>(HIWORD(wParam)),
                     static_cast<int>(LOWORD(wParam)));
    return 0;
  }
  // The list's own notifications (click, double click, key) are not handled.
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORM15_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
