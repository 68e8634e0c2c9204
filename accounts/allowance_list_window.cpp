#include "accounts/allowance_list_window.h"

#include <sqlite3.h>

#include <string>
#include <vector>

#include "accounts/source_year_prompt.h"
#include "app/globals.h"
#include "common/export.h"
#include "common/globals.h"
#include "common/query_callbacks.h"
#include "common/sql.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/resources.h"
#include "framework/system_wrappers.h"
#include "framework/window_system.h"
#include "students/import_window.h"

Hwnd gForm4Window = 0;
Hwnd gForm4List = 0;
Hwnd gForm4Rebar = 0, gForm4Toolbar = 0;
int gForm4Id = 108;
int gForm4RebarId = 1000, gForm4ToolbarId = 1001, gForm4ListId = 1002;
int gForm4AddId = 1003, gForm4EditId = 1004, gForm4DeleteId = 1005, gForm4ExcelId = 1006, gForm4PageId = 1007,
    gForm4ImportId = 1008, gForm4CopyId = 1009, gForm4RefreshId = 1010;

namespace {

constexpr const char* kListFont = "Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34";
constexpr const char* kDeleteQuestion =
    "Apakah anda yakin akan menghapus record ini? Cobalah koreksi data yang terkait dengan record ini, mungkin bisa "
    "mengakibatkan perubahan referensi data dan mengakibatkan data menjadi rancu..";
constexpr const char* kCopyQuestion =
    "Fitur ini berfungsi sebagai penyalin data yang sudah pernah di entry pada tahun ajaran sebelumnya, apakah anda "
    "akan melakukan perintah ini";
constexpr const char* kCopyCaption = "Salin Data dari tahun ajaran : ";
constexpr const char* kCopyDone = "Penyalinan data sudah selesai, silahkan refresh..";

void Form4Destroyed(Hwnd form);

FrmForm gForm4 = {.name = "FORM4",
                  .wndProc = FORM4_WndProc,
                  .window = &gForm4Window,
                  .createControls = FORM4_CreateControls,
                  .onCreate = [](Hwnd form, std::intptr_t) -> LResult { return FORM4_LoadList(form); },
                  .onDestroy = Form4Destroyed,
                  .caption = "Data Tunjangan Guru",
                  .style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                           WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
                  .width = 1017,
                  .height = 561,
                  .kind = FRM_MDICHILD,
                  .mdiId = &gForm4Id};

// The source rows of the running copy, kept by FORM4_OnCopyRow.
std::vector<std::vector<std::string>> gCopyRows;

// The list of an allowance window (each window works on its own list).
Hwnd ListOf(Hwnd form) { return WinGetDlgItem(form, gForm4ListId); }

void Form4Destroyed(Hwnd form) {
  if (gForm4List && gForm4List == ListOf(form)) gForm4List = 0;
}

// The windows it opens are owned by gForm4Window: point it (and gForm4List) at the window whose command opens them.
void MakeCurrent(Hwnd form) {
  gForm4Window = form;
  gForm4List = ListOf(form);
}

void DeleteSelected(Hwnd form) {
  const Hwnd list = ListOf(form);
  const int row = LvGetSelectionMark(list);
  const std::string kode = LvGetItemText(list, row, 0);
  if (MsgBox(kDeleteQuestion, "Confirm Delete", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  // Every school year's row of the code goes.
  if (FinExec("Delete From mastergaji Where Kode='" + SqlQ(kode) + "'") != SQLITE_OK) return;
  LvDeleteItem(list, row);
}

void CopyFromEarlierYear(Hwnd form) {
  if (MsgBox(kCopyQuestion, kCopyCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  gFormMode = "";
  FORM21_Show(form, 1, 0);
  if (gFormMode.empty()) return;
  if (FORM4_CopyFromYear(gFormMode)) MsgBox(kCopyDone, "Info", MB_OK);
}

}  // namespace

std::intptr_t FORM4_Show(Hwnd parent, int modal, int userData) { return FrmShowForm(gForm4, parent, modal, userData); }

void FORM4_CreateControls(Hwnd form) {
  gForm4Rebar = WinCreateWindow(0, "ReBarWindow32", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0,
                                0, 0, FrmScaleY(30), form, gForm4RebarId, 0);
  gForm4Toolbar = WinCreateWindow(0, "ToolbarWindow32", "",
                                  WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | TBSTYLE_FLAT |
                                      TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NOPARENTALIGN,
                                  0, 0, 0, 0, gForm4Rebar, gForm4ToolbarId, 0);
  TbSetIconSize(gForm4Toolbar, 24, 24);
  struct Button {
    int id;
    const char* icon;
    const char* tip;
  };
  const Button buttons[] = {
      {gForm4AddId, "IMAGE_DATA_ADD", "Tambah Data Tunjangan Baru"},
      {gForm4EditId, "IMAGE_DATA_EDIT", "Edit / Ubah Data Tunjangan"},
      {gForm4DeleteId, "IMAGE_DATA_DELETE", "Hapus Item Data Tunjangan"},
      {gForm4ExcelId, "IMAGE_DOCEXCEL", "Export Ke Excel"},
      {gForm4PageId, "IMAGE_PRINTER", "Cetak Ke Broswer"},
      {0, nullptr, nullptr},
      {gForm4ImportId, "IMAGE_SHEETIMPORT", "Import Data Dari Excel"},
      {gForm4CopyId, "IMAGE_COPY", "Salin Data Tunjangan dari tahun ajaran sebelumnya"},
      {gForm4RefreshId, "IMAGE_REFRESH", "Refresh / membaca ulang Data Tunjangan dari database"},
  };
  for (const Button& b : buttons) {
    if (b.id == 0)
      TbAddSeparator(gForm4Toolbar);
    else
      TbAddButton(gForm4Toolbar, b.id, ResLoadIcon(b.icon), "", b.tip);
  }
  TbAutoSize(gForm4Toolbar);
  RbInsertBand(gForm4Rebar, gForm4Toolbar, CtlGetHeight(gForm4Toolbar), FrmScaleX(250));

  gForm4List = FrmAddControl(form, "SysListView32", "",
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE, 0,
                             30, 1000, 500, gForm4ListId, FORM4_CtlSubclassProc, kListFont, "FL,FT,S,S");
  LvSetExtendedStyle(gForm4List, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  LvSetColors(gForm4List, 0x000000, 0xFFFFFF);
  // The list fills the client area under the rebar; its resize rule keeps it so.
  const WinRect client = WinGetClientRect(form);
  const int top = CtlGetHeight(gForm4Rebar);
  WinMoveWindow(gForm4List, 0, top, client.width(), client.height() - top);
  CtlSetFocus(gForm4List);
}

int FORM4_LoadList(Hwnd form) {
  const Hwnd list = ListOf(form);
  gTargetListView = list;
  LvDeleteAllColumns(list);
  LvDeleteAllItems(list);
  FinExec("select Kode, Uraian, Kriteria from mastergaji WHERE Tapel='" + SqlQ(gTapel) + "' Order By Kode",
          FinCbFillList);
  return 0;
}

int FORM4_OnCommand(Hwnd form, int id) {
  if (id == gForm4AddId || id == gForm4EditId) {
    // No entry window keeps allowance items: add and edit carry no action.
  } else if (id == gForm4DeleteId) {
    DeleteSelected(form);
  } else if (id == gForm4ExcelId) {
    gTargetListView = ListOf(form);
    FinExportToSheet();
  } else if (id == gForm4PageId) {
    FinExportToPage("LAPORAN ITEM DATA TUNJANGAN", ListOf(form));
  } else if (id == gForm4ImportId) {
    gFormMode = "Tunjangan";
    MakeCurrent(form);
    FORMIMPORT_Show(form, 1, 0);
  } else if (id == gForm4CopyId) {
    CopyFromEarlierYear(form);
  } else if (id == gForm4RefreshId) {
    FORM4_LoadList(form);
  }
  return 0;
}

int FORM4_OnCopyRow(void*, int columnCount, char** values, char**) {
  std::vector<std::string> row;
  for (int i = 0; i < columnCount; ++i) row.push_back(values && values[i] ? values[i] : "");
  row.resize(4);
  gCopyRows.push_back(std::move(row));
  return 0;
}

bool FORM4_CopyFromYear(const std::string& sourceYear, int* copied) {
  if (copied) *copied = 0;
  gCountResult = 0;
  FinExec("select count(*) from mastergaji WHERE Tapel='" + SqlQ(sourceYear) + "'", FinCbCount);
  gRowCount = static_cast<int>(gCountResult);

  // The source rows are read first and written afterwards, so the select never reads the rows it adds.
  gCopyRows.clear();
  const int rc = FinExec("select Kode, Uraian, Kriteria, Tapel from mastergaji WHERE Tapel='" + SqlQ(sourceYear) + "'",
                         FORM4_OnCopyRow);
  std::vector<std::vector<std::string>> rows;
  rows.swap(gCopyRows);
  if (rc != SQLITE_OK) return false;

  FinTransaction tx;
  if (!tx.active()) return false;
  int inserted = 0;
  for (const std::vector<std::string>& r : rows) {
    const std::string& kode = r[0];
    gCountResult = 0;
    if (FinExec("Select Count(*) From mastergaji WHERE kode='" + SqlQ(kode) + "' and tapel='" + SqlQ(gTapel) + "'",
                FinCbCount, "SQL error0: ") != SQLITE_OK)
      return false;   // the transaction undoes the rows written so far
    if (gCountResult >= 1) continue;   // the code stands in the working year already
    if (FinExec("Insert Into mastergaji (Kode, Uraian, Kriteria, Tapel) Values('" + SqlQ(kode) + "','" + SqlQ(r[1]) +
                "','" + SqlQ(r[2]) + "','" + SqlQ(gTapel) + "')") != SQLITE_OK)
      return false;
    ++inserted;
  }
  if (!tx.commit()) return false;
  if (copied) *copied = inserted;
  return true;
}

LResult FORM4_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  LResult r = 0;
  if (FrmFormMessage(gForm4, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_SIZE && wParam != SIZE_MINIMIZED)
    WinSendMessage(WinGetDlgItem(hwnd, gForm4RebarId), WM_SIZE, wParam, lParam);
  if (msg == WM_COMMAND) {
    FORM4_OnCommand(hwnd, static_cast<int>(LOWORD(wParam)));
    return 0;
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORM4_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
