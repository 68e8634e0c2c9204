#include "accounts/ledger_list_window.h"

#include <sqlite3.h>

#include <string>
#include <vector>

#include "accounts/ledger_entry_window.h"
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

Hwnd gForm5Window = 0;
Hwnd gForm5List = 0;
Hwnd gForm5Rebar = 0, gForm5Toolbar = 0;
int gForm5Id = 109;
int gForm5RebarId = 1000, gForm5ToolbarId = 1001, gForm5ListId = 1002;
int gForm5AddId = 1003, gForm5EditId = 1004, gForm5DeleteId = 1005, gForm5ExcelId = 1006, gForm5PageId = 1007,
    gForm5ImportId = 1008, gForm5CopyId = 1009, gForm5RefreshId = 1010;

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

void Form5Destroyed(Hwnd form);

FrmForm gForm5 = {.name = "FORM5",
                  .wndProc = FORM5_WndProc,
                  .window = &gForm5Window,
                  .createControls = FORM5_CreateControls,
                  .onCreate = [](Hwnd form, std::intptr_t) -> LResult { return FORM5_LoadList(form); },
                  .onDestroy = Form5Destroyed,
                  .caption = "Data Rekening Keuangan",
                  .style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                           WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
                  .width = 1020,
                  .height = 562,
                  .kind = FRM_MDICHILD,
                  .mdiId = &gForm5Id};

// The source rows of the running copy, kept by FORM5_OnCopyRow.
std::vector<std::vector<std::string>> gCopyRows;

// The list of a ledger window (each window works on its own list).
Hwnd ListOf(Hwnd form) { return WinGetDlgItem(form, gForm5ListId); }

void Form5Destroyed(Hwnd form) {
  if (gForm5List && gForm5List == ListOf(form)) gForm5List = 0;
}

// The entry window reads and refills gForm5List and is owned by gForm5Window: point both at the window whose
// command opens it.
void MakeCurrent(Hwnd form) {
  gForm5Window = form;
  gForm5List = ListOf(form);
}

void DeleteSelected(Hwnd form) {
  const Hwnd list = ListOf(form);
  const int row = LvGetSelectionMark(list);
  const std::string kode = LvGetItemText(list, row, 0);
  if (MsgBox(kDeleteQuestion, "Confirm Delete", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  // Every school year's row of the code goes; fees and transactions naming it stay.
  if (FinExec("Delete From rekening Where Kode='" + SqlQ(kode) + "'") != SQLITE_OK) return;
  LvDeleteItem(list, row);
}

void CopyFromEarlierYear(Hwnd form) {
  if (MsgBox(kCopyQuestion, kCopyCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  gFormMode = "";
  FORM21_Show(form, 1, 0);
  if (gFormMode.empty()) return;
  if (FORM5_CopyFromYear(gFormMode)) MsgBox(kCopyDone, "Info", MB_OK);
}

}  // namespace

std::intptr_t FORM5_Show(Hwnd parent, int modal, int userData) { return FrmShowForm(gForm5, parent, modal, userData); }

void FORM5_CreateControls(Hwnd form) {
  gForm5Rebar = WinCreateWindow(0, "ReBarWindow32", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0,
                                0, 0, FrmScaleY(30), form, gForm5RebarId, 0);
  gForm5Toolbar = WinCreateWindow(0, "ToolbarWindow32", "",
                                  WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | TBSTYLE_FLAT |
                                      TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NOPARENTALIGN,
                                  0, 0, 0, 0, gForm5Rebar, gForm5ToolbarId, 0);
  TbSetIconSize(gForm5Toolbar, 24, 24);
  struct Button {
    int id;
    const char* icon;
    const char* tip;
  };
  const Button buttons[] = {
      {gForm5AddId, "IMAGE_DATA_ADD", "Tambah Data Rekening Baru"},
      {gForm5EditId, "IMAGE_DATA_EDIT", "Edit / Ubah Data Rekening"},
      {gForm5DeleteId, "IMAGE_DATA_DELETE", "Hapus Item Data Rekening"},
      {gForm5ExcelId, "IMAGE_DOCEXCEL", "Export Ke Excel"},
      {gForm5PageId, "IMAGE_PRINTER", "Cetak Ke Broswer"},
      {0, nullptr, nullptr},
      {gForm5ImportId, "IMAGE_SHEETIMPORT", "Import Data Dari Excel"},
      {gForm5CopyId, "IMAGE_COPY", "Salin Data Rekening dari tahun ajaran sebelumnya"},
      {gForm5RefreshId, "IMAGE_REFRESH", "Refresh / membaca ulang Data Tunjangan dari database"},
  };
  for (const Button& b : buttons) {
    if (b.id == 0)
      TbAddSeparator(gForm5Toolbar);
    else
      TbAddButton(gForm5Toolbar, b.id, ResLoadIcon(b.icon), "", b.tip);
  }
  TbAutoSize(gForm5Toolbar);
  RbInsertBand(gForm5Rebar, gForm5Toolbar, CtlGetHeight(gForm5Toolbar), FrmScaleX(250));

  gForm5List = FrmAddControl(form, "SysListView32", "",
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE, 0,
                             30, 1000, 500, gForm5ListId, FORM5_CtlSubclassProc, kListFont, "FL,FT,S,S");
  LvSetExtendedStyle(gForm5List, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  LvSetColors(gForm5List, 0x000000, 0xFFFFFF);
  // The list fills the client area under the rebar; its resize rule keeps it so.
  const WinRect client = WinGetClientRect(form);
  const int top = CtlGetHeight(gForm5Rebar);
  WinMoveWindow(gForm5List, 0, top, client.width(), client.height() - top);
  CtlSetFocus(gForm5List);
}

int FORM5_LoadList(Hwnd form) {
  const Hwnd list = ListOf(form);
  gTargetListView = list;
  LvDeleteAllColumns(list);
  LvDeleteAllItems(list);
  FinExec("select Kode, Deskripsi, Grup from rekening WHERE Tapel='" + SqlQ(gTapel) + "' Order By Kode",
          FinCbFillList);
  return 0;
}

int FORM5_OnCommand(Hwnd form, int id) {
  if (id == gForm5AddId || id == gForm5EditId) {
    gEditMode = id == gForm5AddId ? 0 : 1;
    MakeCurrent(form);
    FORMREK_Show(form, 1, 0);
  } else if (id == gForm5DeleteId) {
    DeleteSelected(form);
  } else if (id == gForm5ExcelId) {
    gTargetListView = ListOf(form);
    FinExportToSheet();
  } else if (id == gForm5PageId) {
    FinExportToPage("LAPORAN ITEM DATA REKENING KEUANGAN", ListOf(form));
  } else if (id == gForm5ImportId) {
    gFormMode = "Rekening";
    FORMIMPORT_Show(form, 1, 0);
  } else if (id == gForm5CopyId) {
    CopyFromEarlierYear(form);
  } else if (id == gForm5RefreshId) {
    FORM5_LoadList(form);
  }
  return 0;
}

int FORM5_OnCopyRow(void*, int columnCount, char** values, char**) {
  std::vector<std::string> row;
  for (int i = 0; i < columnCount; ++i) row.push_back(values && values[i] ? values[i] : "");
  row.resize(4);
  gCopyRows.push_back(std::move(row));
  return 0;
}

bool FORM5_CopyFromYear(const std::string& sourceYear, int* copied) {
  if (copied) *copied = 0;
  gCountResult = 0;
  FinExec("select count(*) from rekening WHERE Tapel='" + SqlQ(sourceYear) + "'", FinCbCount);
  gRowCount = static_cast<int>(gCountResult);

  // The source rows are read first and written afterwards, so the select never reads the rows it adds.
  gCopyRows.clear();
  const int rc = FinExec("select Kode, Deskripsi, Grup, Tapel from rekening WHERE Tapel='" + SqlQ(sourceYear) + "'",
                         FORM5_OnCopyRow);
  std::vector<std::vector<std::string>> rows;
  rows.swap(gCopyRows);
  if (rc != SQLITE_OK) return false;

  FinTransaction tx;
  if (!tx.active()) return false;
  int inserted = 0;
  for (const std::vector<std::string>& r : rows) {
    const std::string& kode = r[0];
    gCountResult = 0;
    if (FinExec("Select Count(*) From rekening WHERE kode='" + SqlQ(kode) + "' and tapel='" + SqlQ(gTapel) + "'",
                FinCbCount, "SQL error0: ") != SQLITE_OK)
      return false;   // the transaction undoes the rows written so far
    if (gCountResult >= 1) continue;   // the code stands in the working year already
    if (FinExec("Insert Into rekening (Kode, Deskripsi, Grup, Tapel) Values('" + SqlQ(kode) + "','" + SqlQ(r[1]) +
                "','" + SqlQ(r[2]) + "','" + SqlQ(gTapel) + "')") != SQLITE_OK)
      return false;
    ++inserted;
  }
  if (!tx.commit()) return false;
  if (copied) *copied = inserted;
  return true;
}

LResult FORM5_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  LResult r = 0;
  if (FrmFormMessage(gForm5, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_SIZE && wParam != SIZE_MINIMIZED)
    WinSendMessage(WinGetDlgItem(hwnd, gForm5RebarId), WM_SIZE, wParam, lParam);
  if (msg == WM_COMMAND) {
    FORM5_OnCommand(hwnd, static_cast<int>(LOWORD(wParam)));
    return 0;
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORM5_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
