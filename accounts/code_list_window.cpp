#include "accounts/code_list_window.h"

#include <sqlite3.h>

#include <set>
#include <string>
#include <vector>

#include "accounts/source_year_prompt.h"
#include "common/export.h"
#include "common/globals.h"
#include "common/handover.h"
#include "common/query_callbacks.h"
#include "common/session.h"
#include "common/sql.h"
#include "framework/controls.h"
#include "framework/resources.h"
#include "framework/system_wrappers.h"
#include "framework/window_system.h"
#include "students/import_window.h"

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

// The source rows of the running copy (Kode and the two other columns), kept by OnCopyRow.
std::vector<std::vector<std::string>> gCopyRows;
int OnCopyRow(void*, int columnCount, char** values, char**) {
  std::vector<std::string> row;
  for (int i = 0; i < columnCount; ++i) row.push_back(values && values[i] ? values[i] : "");
  row.resize(3);
  gCopyRows.push_back(std::move(row));
  return 0;
}

// The working year's codes, kept by OnCode while the copy reads them.
std::set<std::string> gCodes;
int OnCode(void*, int columnCount, char** values, char**) {
  if (columnCount > 0 && values && values[0]) gCodes.insert(values[0]);
  return 0;
}

// The list of a window (each window works on its own list).
Hwnd ListOf(const CodeListWindow& w, Hwnd form) { return WinGetDlgItem(form, *w.listId); }

// The windows it opens read and refill the list global and are owned by the window global: point both at the window
// whose command opens them.
void MakeCurrent(const CodeListWindow& w, Hwnd form) {
  *w.window = form;
  *w.list = ListOf(w, form);
}

void DeleteSelected(const CodeListWindow& w, Hwnd form) {
  const Hwnd list = ListOf(w, form);
  const int row = LvGetSelectionMark(list);
  const std::string kode = LvGetItemText(list, row, 0);
  if (MsgBox(kDeleteQuestion, "Confirm Delete", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  // Every school year's row of the code goes; rows of other tables naming it (fees, transactions) stay.
  if (FinExec("Delete From " + std::string(w.table) + " Where Kode='" + SqlQ(kode) + "'") != SQLITE_OK) return;
  LvDeleteItem(list, row);
}

void CopyFromEarlierYear(const CodeListWindow& w, Hwnd form) {
  if (MsgBox(kCopyQuestion, kCopyCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  gFormMode = "";
  FORM21_Show(form, 1, 0);
  if (gFormMode.empty()) return;
  if (CodeListCopyFromYear(w, gFormMode, nullptr)) MsgBox(kCopyDone, "Info", MB_OK);
}

}  // namespace

void CodeListCreateControls(const CodeListWindow& w, Hwnd form) {
  *w.rebar = WinCreateWindow(0, "ReBarWindow32", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                             0, FrmScaleY(30), form, *w.rebarId, 0);
  *w.toolbar = WinCreateWindow(0, "ToolbarWindow32", "",
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | TBSTYLE_FLAT |
                                   TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NOPARENTALIGN,
                               0, 0, 0, 0, *w.rebar, *w.toolbarId, 0);
  const Hwnd toolbar = *w.toolbar;
  TbSetIconSize(toolbar, 24, 24);
  struct Button {
    int id;
    const char* icon;
    const char* tip;
  };
  const Button buttons[] = {
      {*w.addId, "IMAGE_DATA_ADD", w.addTip},
      {*w.editId, "IMAGE_DATA_EDIT", w.editTip},
      {*w.deleteId, "IMAGE_DATA_DELETE", w.deleteTip},
      {*w.excelId, "IMAGE_DOCEXCEL", "Export Ke Excel"},
      {*w.pageId, "IMAGE_PRINTER", "Cetak Ke Broswer"},
      {0, nullptr, nullptr},
      {*w.importId, "IMAGE_SHEETIMPORT", "Import Data Dari Excel"},
      {*w.copyId, "IMAGE_COPY", w.copyTip},
      {*w.refreshId, "IMAGE_REFRESH", "Refresh / membaca ulang Data Tunjangan dari database"},
  };
  for (const Button& b : buttons) {
    if (b.id == 0)
      TbAddSeparator(toolbar);
    else
      TbAddButton(toolbar, b.id, ResLoadIcon(b.icon), "", b.tip);
  }
  TbAutoSize(toolbar);
  RbInsertBand(*w.rebar, toolbar, CtlGetHeight(toolbar), FrmScaleX(250));

  *w.list = FrmAddControl(form, "SysListView32", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS,
                          WS_EX_CLIENTEDGE, 0, 30, 1000, 500, *w.listId, w.ctlSubclassProc, kListFont, "FL,FT,S,S");
  const Hwnd list = *w.list;
  LvSetExtendedStyle(list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  LvSetColors(list, 0x000000, 0xFFFFFF);
  // The list fills the client area under the rebar; its resize rule keeps it so.
  const WinRect client = WinGetClientRect(form);
  const int top = CtlGetHeight(*w.rebar);
  WinMoveWindow(list, 0, top, client.width(), client.height() - top);
  CtlSetFocus(list);
}

int CodeListLoadList(const CodeListWindow& w, Hwnd form) {
  const Hwnd list = ListOf(w, form);
  gTargetListView = list;
  LvDeleteAllColumns(list);
  LvDeleteAllItems(list);
  FinExec("select " + std::string(w.columns) + " from " + w.table + " WHERE Tapel='" + SqlQ(gTapel) + "' Order By Kode",
          FinCbFillList);
  return 0;
}

int CodeListOnCommand(const CodeListWindow& w, Hwnd form, int id) {
  if (id == *w.addId || id == *w.editId) {
    if (w.entryShow) {
      gEditMode = id == *w.addId ? 0 : 1;
      MakeCurrent(w, form);
      w.entryShow(form, 1, 0);
    }
  } else if (id == *w.deleteId) {
    DeleteSelected(w, form);
  } else if (id == *w.excelId) {
    gTargetListView = ListOf(w, form);
    FinExportToSheet();
  } else if (id == *w.pageId) {
    FinExportToPage(w.pageTitle, ListOf(w, form));
  } else if (id == *w.importId) {
    gFormMode = w.importMode;
    if (w.currentBeforeImport) MakeCurrent(w, form);
    FORMIMPORT_Show(form, 1, 0);
  } else if (id == *w.copyId) {
    CopyFromEarlierYear(w, form);
  } else if (id == *w.refreshId) {
    CodeListLoadList(w, form);
  }
  return 0;
}

void CodeListDestroyed(const CodeListWindow& w, Hwnd form) {
  if (*w.list && *w.list == ListOf(w, form)) *w.list = 0;
}

LResult CodeListWndProc(const CodeListWindow& w, Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  LResult r = 0;
  if (FrmFormMessage(*w.form, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_SIZE && wParam != SIZE_MINIMIZED)
    WinSendMessage(WinGetDlgItem(hwnd, *w.rebarId), WM_SIZE, wParam, lParam);
  if (msg == WM_COMMAND) {
    CodeListOnCommand(w, hwnd, static_cast<int>(LOWORD(wParam)));
    return 0;
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

bool CodeListCopyFromYear(const CodeListWindow& w, const std::string& sourceYear, int* copied) {
  const std::string table = w.table;
  if (copied) *copied = 0;

  // The source rows are read first and written afterwards, so the select never reads the rows it adds.
  gCopyRows.clear();
  const int rc = FinExec("select " + std::string(w.columns) + " from " + table + " WHERE Tapel='" + SqlQ(sourceYear) +
                             "'",
                         OnCopyRow);
  std::vector<std::vector<std::string>> rows;
  rows.swap(gCopyRows);
  gRowCount = static_cast<int>(rows.size());
  if (rc != SQLITE_OK) return false;

  FinTransaction tx;
  if (!tx.active()) return false;
  // The codes that stand in the working year already (each copied row joins them).
  gCodes.clear();
  if (!rows.empty() &&
      FinExec("Select Kode From " + table + " WHERE tapel='" + SqlQ(gTapel) + "'", OnCode, "SQL error0: ") != SQLITE_OK)
    return false;
  std::set<std::string> codes;
  codes.swap(gCodes);
  int inserted = 0;
  for (const std::vector<std::string>& r : rows) {
    const std::string& kode = r[0];
    if (codes.count(kode)) continue;   // the code stands in the working year already
    if (FinExec("Insert Into " + table + " (" + w.columns + ", Tapel) Values('" + SqlQ(kode) + "','" + SqlQ(r[1]) +
                "','" + SqlQ(r[2]) + "','" + SqlQ(gTapel) + "')") != SQLITE_OK)
      return false;   // the transaction undoes the rows written so far
    codes.insert(kode);
    ++inserted;
  }
  if (!tx.commit()) return false;
  if (copied) *copied = inserted;
  return true;
}
