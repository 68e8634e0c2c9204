#include "savings/savings_list_window.h"

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
#include "savings/savings_teller_window.h"

Hwnd gForm14Window = 0;
Hwnd gForm14Rebar = 0, gForm14Toolbar = 0, gForm14List = 0;

int gForm14Id = 104;
int gForm14ListId = 1000, gForm14RebarId = 5000, gForm14ToolbarId = 5100;
int gForm14AddButtonId = 5101, gForm14DeleteButtonId = 5102, gForm14ExcelButtonId = 5103,
    gForm14BrowserButtonId = 5104, gForm14RefreshButtonId = 5105;

void FORM14_InitControlIds() {
  gForm14Id = 104;
  gForm14ListId = 1000;
  gForm14RebarId = 5000;
  gForm14ToolbarId = 5100;
  int id = 5101;
  for (int* g : {&gForm14AddButtonId, &gForm14DeleteButtonId, &gForm14ExcelButtonId, &gForm14BrowserButtonId,
                 &gForm14RefreshButtonId})
    *g = id++;
}

// ----- the statements -----------------------------------------------------------------------------------------------

std::string FORM14_PeriodYear(const std::string& tapel, int month) {
  if (month > 6) return tapel.substr(0, 4);
  return tapel.size() >= 4 ? tapel.substr(tapel.size() - 4) : tapel;
}

std::string FORM14_PeriodMonth(int month) {
  const std::string m = "0" + std::to_string(month);
  return m.substr(m.size() - 2);
}

namespace {

constexpr const char* kSelect =
    "select Id, Tgl, SiswaId, (Select Nama From Siswa Where Id=SiswaId) As NamaSiswa, Uraian, Masuk, Keluar, ";

std::string Period(const std::string& tapel, int month) {
  const std::string first = SqlQ(FORM14_PeriodYear(tapel, month)) + "-" + FORM14_PeriodMonth(month) + "-01";
  return "Tgl between '" + first + "' and date('" + first + "','start of month','+1 month','-1 day') Order By Id";
}

}  // namespace

// The month's rows are taken by date (index on tgl and sts): "+Sts" keeps the status out of the choice of index, which
// would otherwise read the savings rows of every year through the index on sts.
std::string FORM14_LoadSql(const std::string& tapel, int month) {
  return std::string(kSelect) + "Petugas from transaksi as a WHERE +Sts='t' And " + Period(tapel, month);
}

std::string FORM14_RefreshSql(const std::string& tapel, int month) {
  return std::string(kSelect) +
         "(Select Sum(b.Masuk-b.Keluar) From transaksi as b Where b.SiswaId=transaksi.SiswaId And "
         "b.AcctID='Tabungan') As Saldo, Petugas from transaksi WHERE +Sts='t' And " +
         Period(tapel, month);
}

std::string FORM14_DeleteSql(const std::string& id) { return "Delete From Transaksi Where Id='" + SqlQ(id) + "'"; }

// ----- the window ---------------------------------------------------------------------------------------------------
namespace {

constexpr const char* kFont = "Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34";
constexpr const char* kDeleteQuestion =
    "Apakah anda yakin akan menghapus record ini? Cobalah koreksi data yang terkait dengan record ini, mungkin bisa "
    "mengakibatkan perubahan referensi data dan mengakibatkan data menjadi rancu..";

FrmForm gForm14 = {.name = "FORM14",
                   .wndProc = FORM14_WndProc,
                   .window = &gForm14Window,
                   .createControls = FORM14_CreateControls,
                   .onCreate = FORM14_LoadList,
                   .caption = "Data Penerimaan Tabungan",
                   .style = WS_CHILD | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
                   .width = 1030,
                   .height = 561,
                   .kind = FRM_MDICHILD,
                   .mdiId = &gForm14Id};

// The list of a savings list window (its own, whichever window is the newest).
Hwnd ListOf(Hwnd form) {
  const Hwnd list = WinGetDlgItem(form, gForm14ListId);
  return list ? list : gForm14List;
}

void Fill(Hwnd list, const std::string& sql) {
  gSql = sql;
  gTargetListView = list;
  LvDeleteAllColumns(list);
  LvDeleteAllItems(list);
  FinExec(gSql, FinCbFillList);
}

void DeleteSelected(Hwnd list) {
  if (MsgBox(kDeleteQuestion, "Confirm Delete", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  const int row = LvGetSelectionMark(list);
  const std::string id = LvGetItemText(list, row, 0);
  if (FinExec(FORM14_DeleteSql(id)) != 0) return;
  LvDeleteItem(list, row);
}

}  // namespace

std::intptr_t FORM14_Show(Hwnd parent, int modal, int userData) {
  return FrmShowForm(gForm14, parent, modal, userData);
}

void FORM14_CreateControls(Hwnd form) {
  gForm14Rebar = WinCreateWindow(0, "ReBarWindow32", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN |
                                                             RBS_AUTOSIZE | RBS_TOOLTIPS,
                                 0, 0, 0, FrmScaleY(30), form, gForm14RebarId, 0);
  gForm14Toolbar = WinCreateWindow(0, "ToolbarWindow32", "",
                                   WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NORESIZE |
                                       CCS_NOPARENTALIGN,
                                   0, 0, 0, 0, gForm14Rebar, gForm14ToolbarId, 0);
  TbSetIconSize(gForm14Toolbar, 24, 24);
  struct Button {
    int id;
    const char* icon;
    const char* tip;
  };
  const Button buttons[] = {
      {gForm14AddButtonId, "IMAGE_DATA_ADD", "Tambah Data Tabungan Baru"},
      {gForm14DeleteButtonId, "IMAGE_DATA_DELETE", "Hapus Item Data Tabungan"},
      {gForm14ExcelButtonId, "IMAGE_DOCEXCEL", "Export Ke Excel"},
      {gForm14BrowserButtonId, "IMAGE_PRINTER", "Cetak Ke Broswer"},
      {0, nullptr, nullptr},
      {gForm14RefreshButtonId, "IMAGE_REFRESH", "Refresh / membaca ulang Data Tabungan dari database"},
  };
  for (const Button& b : buttons) {
    if (b.id == 0)
      TbAddSeparator(gForm14Toolbar);
    else
      TbAddButton(gForm14Toolbar, b.id, ResLoadIcon(b.icon), "", b.tip);
  }
  TbAutoSize(gForm14Toolbar);
  RbInsertBand(gForm14Rebar, gForm14Toolbar, CtlGetHeight(gForm14Toolbar), FrmScaleX(250));

  // Directly below the rebar: its height in pixels taken as design units.
  gForm14List = FrmAddControl(form, "SysListView32", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT |
                                                             LVS_SHOWSELALWAYS,
                              WS_EX_CLIENTEDGE, 8, CtlGetHeight(gForm14Rebar), 998, 486, gForm14ListId,
                              FORM14_CtlSubclassProc, kFont, "FL,FT,S,S");
  LvSetExtendedStyle(gForm14List, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  LvSetColors(gForm14List, static_cast<int>(WinRgb(0, 0, 0)), static_cast<int>(WinRgb(255, 255, 255)));
  CtlSetFocus(gForm14List);
}

LResult FORM14_LoadList(Hwnd form, std::intptr_t) {
  Fill(ListOf(form), FORM14_LoadSql(gTapel, gReportMonth));
  return 0;
}

LResult FORM14_OnToolbar(Hwnd form, Hwnd, unsigned, int id) {
  const Hwnd list = ListOf(form);
  if (id == gForm14AddButtonId) {
    gEditMode = 0;
    FORMTABUNGAN_Show(form, 1, 0);
  } else if (id == gForm14DeleteButtonId) {
    DeleteSelected(list);
  } else if (id == gForm14ExcelButtonId) {
    gTargetListView = list;
    FinExportToSheet();
  } else if (id == gForm14BrowserButtonId) {
    FinExportToPage("LAPORAN DATA TABUNGAN", list);
  } else if (id == gForm14RefreshButtonId) {
    Fill(list, FORM14_RefreshSql(gTapel, gReportMonth));
  }
  return 0;
}

LResult FORM14_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  LResult r = 0;
  // The rebar takes the new size first, then the resize rules move the list under it.
  if (msg == WM_SIZE) WinSendMessage(WinGetDlgItem(hwnd, gForm14RebarId), WM_SIZE, wParam, lParam);
  if (FrmFormMessage(gForm14, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND && HIWORD(wParam) == 0) {
    const int id = static_cast<int>(LOWORD(wParam));
    if (id >= gForm14AddButtonId && id <= gForm14RefreshButtonId)
      return FORM14_OnToolbar(hwnd, FrmControlOf(msg, lParam), HIWORD(wParam), id);
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORM14_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
