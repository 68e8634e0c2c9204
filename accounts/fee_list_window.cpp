#include "accounts/fee_list_window.h"

#include <set>
#include <string>
#include <vector>

#include "accounts/account_globals.h"
#include "accounts/billing_editor_window.h"
#include "accounts/fee_copy_window.h"
#include "accounts/fee_entry_window.h"
#include "accounts/fee_rules.h"
#include "accounts/posting_account_window.h"
#include "accounts/source_year_prompt.h"
#include "common/export.h"
#include "common/busy.h"
#include "common/globals.h"
#include "common/handover.h"
#include "common/query_callbacks.h"
#include "common/session.h"
#include "common/sql.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/numbers.h"
#include "framework/resources.h"
#include "framework/system_wrappers.h"
#include "framework/window_system.h"
#include "students/import_window.h"

Hwnd gForm6Window = 0;
Hwnd gForm6List = 0, gForm6SearchEdit = 0, gForm6Rebar = 0, gForm6Toolbar = 0, gForm6KelasLabel = 0,
     gForm6CariLabel = 0;
int gForm6Id = 110;

int gForm6KelasComboId = 1000, gForm6KelasLabelId = 1001, gForm6CariLabelId = 1002, gForm6SearchEditId = 1003,
    gForm6ListId = 1004, gForm6RebarId = 5000, gForm6ToolbarId = 5100;
int gForm6AddId = 5101, gForm6EditId = 5102, gForm6DeleteId = 5103, gForm6DetailId = 5104, gForm6RekeningId = 5105,
    gForm6ExcelId = 5106, gForm6PageId = 5107, gForm6ImportId = 5108, gForm6CopyYearId = 5109,
    gForm6CopyClassId = 5110, gForm6RefreshId = 5111;

const char* const kForm6DeleteQuestion =
    "Apakah anda yakin akan menghapus record ini? Cobalah koreksi data yang terkait dengan record ini, mungkin bisa "
    "mengakibatkan perubahan referensi data dan mengakibatkan data menjadi rancu..";
const char* const kForm6PaymentsQuestion =
    "Ada beberapa item data pembayaran ini terhubung dengan tabel transaksi pembayaran, apakah anda akan "
    "melanjutkannya untuk menghapus?";
const char* const kForm6CopyQuestion =
    "Fitur ini berfungsi sebagai penyalin data yang sudah pernah di entry pada tahun ajaran sebelumnya, apakah anda "
    "akan melakukan perintah ini";

void FORM6_InitControlIds() {
  int id = 1000;
  for (int* g : {&gForm6KelasComboId, &gForm6KelasLabelId, &gForm6CariLabelId, &gForm6SearchEditId, &gForm6ListId})
    *g = id++;
  gForm6RebarId = 5000;
  gForm6ToolbarId = 5100;
  id = 5101;
  for (int* g : {&gForm6AddId, &gForm6EditId, &gForm6DeleteId, &gForm6DetailId, &gForm6RekeningId, &gForm6ExcelId,
                 &gForm6PageId, &gForm6ImportId, &gForm6CopyYearId, &gForm6CopyClassId, &gForm6RefreshId})
    *g = id++;
}

namespace {

constexpr const char* kFont = "Arial Unicode MS,9,0";
constexpr const char* kPageTitle = "LAPORAN ITEM DATA AKUN PEMBAYARAN";

FrmForm gForm6 = {.name = "FORM6",
                  .wndProc = FORM6_WndProc,
                  .window = &gForm6Window,
                  .createControls = FORM6_CreateControls,
                  .onCreate = FORM6_Init,
                  .bind = FORM6_Bind,
                  .caption = "Data Akun Pembayaran",
                  .style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_OVERLAPPEDWINDOW,
                  .width = 1015,
                  .height = 564,
                  .kind = FRM_MDICHILD,
                  .mdiId = &gForm6Id};

struct ToolButton {
  const int* id;
  const char* icon;
  const char* tip;
};
const ToolButton kToolButtons[] = {
    {&gForm6AddId, "IMAGE_DATA_ADD", "Tambah Data Baru"},
    {&gForm6EditId, "IMAGE_DATA_EDIT", "Edit / Ubah Data"},
    {&gForm6DeleteId, "IMAGE_DATA_DELETE", "Hapus Item Data"},
    {&gForm6DetailId, "IMAGE_USERS", "Detail Akun Pembayaran Persiswa"},
    {&gForm6RekeningId, "IMAGE_PROPERTIES", "Set Rekening ke Akun secara masal"},
    {&gForm6ExcelId, "IMAGE_DOCEXCEL", "Export Ke Excel"},
    {&gForm6PageId, "IMAGE_PRINTER", "Cetak Ke Broswer"},
    {nullptr, nullptr, nullptr},   // separator
    {&gForm6ImportId, "IMAGE_SHEETIMPORT", "Import Data Dari Excel"},
    {&gForm6CopyYearId, "IMAGE_COPY", "Salin Data dari tahun ajaran sebelumnya"},
    {&gForm6CopyClassId, "IMAGE_ARROWFORWARD", "Salin Data dari kelas yang lain"},
    {&gForm6RefreshId, "IMAGE_REFRESH", "Refresh / membaca ulang Data dari database"},
};

bool IsFeeList(Hwnd form) { return IsWindow(form) && WinGetClassName(form) == FrmClassName(gForm6); }

// The source fees of a year copy, kept by FORM6_OnCopyRow while the source select runs.
std::vector<Form6CopyRow> gCopyRows;

// The working year's fees as class, name, amount and type: what an earlier copy left.
std::set<std::string> gExistingFees;
std::set<std::string> gExistingFeeIds;
std::string Signature(const std::string& kelas, const std::string& pembayaran, const std::string& jumlah,
                      const std::string& type) {
  return kelas + '\x1f' + pembayaran + '\x1f' + std::to_string(FinFeeAmount(jumlah)) + '\x1f' + type;
}
int OnExistingFeeRow(void*, int columnCount, char** values, char**) {
  gExistingFees.insert(Signature(FinCell(values, columnCount, 0), FinCell(values, columnCount, 1),
                                 FinCell(values, columnCount, 2), FinCell(values, columnCount, 3)));
  gExistingFeeIds.insert(FinCell(values, columnCount, 4));
  return 0;
}

// What both texts begin with, in whole UTF-8 characters.
std::string CommonStart(const std::string& a, const std::string& b) {
  std::size_t n = 0;
  while (n < a.size() && n < b.size() && a[n] == b[n]) ++n;
  while (n > 0 && n < a.size() && (static_cast<unsigned char>(a[n]) & 0xC0) == 0x80) --n;   // not inside a character
  return a.substr(0, n);
}

void DeleteSelected(Hwnd) {
  if (MsgBox(kForm6DeleteQuestion, "Confirm Delete", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  const int row = LvGetSelectionMark(gForm6List);
  const std::string id = LvGetItemText(gForm6List, row, 0);
  gSqlResult.clear();
  // Without a count the payments of the fee are unknown: nothing is deleted.
  if (FinExec("Select Count(*) from transaksi Where acctid='" + SqlQ(id) + "'", FinCbSingleValue) != 0) return;
  if (Val(gSqlResult) > 0 && MsgBox(kForm6PaymentsQuestion, "Confirm Delete", MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  if (FinExec("delete from account Where id='" + SqlQ(id) + "'") == 0) LvDeleteItem(gForm6List, row);
}

void CopyFromYearCommand(Hwnd form) {
  if (MsgBox(kForm6CopyQuestion, "Salin Data dari tahun ajaran : ", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  gFormMode = "";
  FORM21_Show(form, 1, 0);
  if (gFormMode.empty()) return;
  int copied = 0;
  {
    FinBusy busy(FinBusyTask::YearCopy);
    if (!busy.started() || !FORM6_CopyFromYear(gFormMode, &copied)) return;
  }
  if (copied > 0)
    CtlSetText(gForm6SearchEdit, std::to_string(RoundHalfEven(Val(CtlGetText(gForm6SearchEdit))) + copied));
  MsgBox("Penyalinan data sudah selesai, silahkan refresh..", "Info", MB_OK);
}

void Refresh() {
  const std::string keep = CtlGetText(gForm6KelasCombo);
  CbResetContent(gForm6KelasCombo);
  FinExec(FinFeeClassesSql(gTapel), FORM6_OnKelasRow);
  CbSetCurSel(gForm6KelasCombo, CbFindStringExact(gForm6KelasCombo, -1, keep));
  FORM6_FillList(CtlGetText(gForm6KelasCombo));
}

}  // namespace

// ----- what the window computes -------------------------------------------------------------------------------------
std::string FORM6_SearchSql(const std::string& text, const std::string& tapel) {
  const std::string t = SqlQ(text);
  return "select Id, Pembayaran, Jumlah, Kelas, Type, RefRekening, (Select count(*) from detail_account where "
         "detail_account.id_account=account.id) as N from account WHERE Tapel='" +
         SqlQ(tapel) + "' and (Id Like '%" + t + "%' or Pembayaran Like '%" + t + "%' or Jumlah Like '%" + t +
         "%' or Kelas Like '%" + t + "%' or Type Like '%" + t + "%' or RefRekening Like '%" + t + "%')";
}

int FORM6_OnCopyRow(void*, int columnCount, char** values, char**) {
  gCopyRows.push_back({FinCell(values, columnCount, 0), FinCell(values, columnCount, 1), FinCell(values, columnCount, 2),
                       FinCell(values, columnCount, 3), FinCell(values, columnCount, 4)});
  return 0;
}

bool FORM6_CopyFromYear(const std::string& sourceYear, int* copied) {
  gEditMode = 0;
  if (copied) *copied = 0;
  FinTransaction tx;
  if (!tx.active()) return false;
  gCopyRows.clear();
  if (FinExec("select Id, Pembayaran, Kelas, Jumlah, Type, Jenjang, RefRekening, Tapel from account WHERE Tapel='" +
                  SqlQ(sourceYear) + "'",
              FORM6_OnCopyRow) != 0)
    return false;
  const std::vector<Form6CopyRow> rows = std::move(gCopyRows);
  gCopyRows.clear();
  // The fees of the working year, read once: their signatures (a fee copied by an earlier run) and their ids (a fee
  // that stands in the year already).
  gExistingFees.clear();
  gExistingFeeIds.clear();
  if (FinExec("select Kelas, Pembayaran, Jumlah, Type, Id from account WHERE Tapel='" + SqlQ(gTapel) + "'",
              OnExistingFeeRow, "SQL error0: ") != 0)
    return false;
  const std::set<std::string> existing = std::move(gExistingFees);
  std::set<std::string> existingIds = std::move(gExistingFeeIds);
  gExistingFees.clear();
  gExistingFeeIds.clear();

  const std::string ref = FinYearCopyRefRekening(gTapel);
  // A counter value whose id a fee, a billing row or a payment still names is passed over: ids stay unique and never
  // bring old money with them. The names are read once, under what every id of the copy begins with, when the first
  // fee needs an id.
  const auto prefixOf = [](const Form6CopyRow& r) {
    return FinYearCopyFeeIdPrefix(r.kelas, std::to_string(FinFeeAmount(r.jumlah)), gTapel);
  };
  std::string prefix = rows.empty() ? std::string() : prefixOf(rows.front());
  for (const Form6CopyRow& r : rows) prefix = CommonStart(prefix, prefixOf(r));
  std::set<std::string> named;
  bool namesRead = false;
  int inserted = 0;
  long long counter = 0;
  for (const Form6CopyRow& r : rows) {
    if (existingIds.count(r.id)) continue;                                   // the fee stands in the year already
    if (existing.count(Signature(r.kelas, r.pembayaran, r.jumlah, r.type))) continue;   // copied by an earlier run
    if (!namesRead && !FinFeeIdsNamedUnder(prefix, named, "SQL error0: ")) return false;
    namesRead = true;
    const std::string amount = std::to_string(FinFeeAmount(r.jumlah));
    const auto idOf = [&](long long k) { return FinYearCopyFeeId(r.kelas, amount, gTapel, k); };
    const long long free = FinFreeFeeNumber(named, idOf, counter + 1);
    if (free == 0) {
      // told once the transaction has ended
      FinReportFailure("Gagal menyimpan, Id/Kode Sudah Tersedia..", "Entry Data..", MB_OK | MB_ICONINFORMATION);
      return false;
    }
    counter = free;
    const std::string id = idOf(counter);
    if (FinExec("Insert Into account (Id, Pembayaran, Kelas, Jumlah, Type, Jenjang, RefRekening, Tapel) Values('" +
                SqlQ(id) + "','" + SqlQ(r.pembayaran) + "','" + SqlQ(r.kelas) + "','" + amount + "','" +
                SqlQ(r.type) + "','ins','" + SqlQ(ref) + "','" + SqlQ(gTapel) + "')") != 0)
      return false;
    named.insert(id);
    existingIds.insert(id);
    ++inserted;
  }
  if (!tx.commit()) return false;
  gEditMode = inserted;
  if (copied) *copied = inserted;
  return true;
}

// ----- the window ---------------------------------------------------------------------------------------------------
std::intptr_t FORM6_Show(Hwnd parent, int modal, int userData) { return FrmShowForm(gForm6, parent, modal, userData); }

void FORM6_CreateControls(Hwnd form) {
  gForm6Rebar = WinCreateWindow(0, "ReBarWindow32", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                0, 0, 0, FrmScaleY(30), form, gForm6RebarId, 0);
  gForm6Toolbar = WinCreateWindow(0, "ToolbarWindow32", "",
                                  WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | TBSTYLE_FLAT |
                                      TBSTYLE_LIST | TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NOPARENTALIGN,
                                  0, 0, 0, 0, gForm6Rebar, gForm6ToolbarId, 0);
  TbSetIconSize(gForm6Toolbar, 24, 24);
  for (const ToolButton& b : kToolButtons) {
    if (!b.id) {
      TbAddSeparator(gForm6Toolbar);
      continue;
    }
    TbAddButton(gForm6Toolbar, *b.id, ResLoadIcon(b.icon), "", b.tip, 0);
  }
  TbAutoSize(gForm6Toolbar);
  RbInsertBand(gForm6Rebar, gForm6Toolbar, CtlGetHeight(gForm6Toolbar), FrmScaleX(250));

  gForm6KelasCombo = FrmAddControl(form, "ComboBox", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL |
                                   CBS_DROPDOWNLIST, 0, 56, 48, 200, 300, gForm6KelasComboId, FORM6_CtlSubclassProc,
                                   kFont);
  gForm6KelasLabel = FrmAddControl(form, "Static", "Kelas", WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 10, 51, 44, 20,
                                   gForm6KelasLabelId, FORM6_CtlSubclassProc, kFont);
  gForm6CariLabel = FrmAddControl(form, "Static", "Cari", WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 280, 51, 36, 20,
                                  gForm6CariLabelId, FORM6_CtlSubclassProc, kFont);
  gForm6SearchEdit = FrmAddControl(form, "Edit", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL,
                                   WS_EX_CLIENTEDGE, 320, 48, 260, 22, gForm6SearchEditId, FORM6_CtlSubclassProc,
                                   kFont, "", FrmColors::Window(), 1);
  gForm6List = FrmAddControl(form, "SysListView32", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT |
                             LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE, 5, 78, 1000, 476, gForm6ListId,
                             FORM6_CtlSubclassProc, kFont, "FL,FT,S,S");
  LvSetExtendedStyle(gForm6List, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  LvSetColors(gForm6List, -1, static_cast<int>(WinRgb(255, 255, 255)));
  CtlSetFocus(gForm6KelasCombo);
}

void FORM6_Bind(Hwnd form) {
  if (!IsFeeList(form)) return;
  gForm6Window = form;
  gForm6KelasCombo = WinGetDlgItem(form, gForm6KelasComboId);
  gForm6KelasLabel = WinGetDlgItem(form, gForm6KelasLabelId);
  gForm6CariLabel = WinGetDlgItem(form, gForm6CariLabelId);
  gForm6SearchEdit = WinGetDlgItem(form, gForm6SearchEditId);
  gForm6List = WinGetDlgItem(form, gForm6ListId);
  gForm6Rebar = WinGetDlgItem(form, gForm6RebarId);
  gForm6Toolbar = WinGetDlgItem(gForm6Rebar, gForm6ToolbarId);   // the toolbar lives in the rebar
}

LResult FORM6_Init(Hwnd, std::intptr_t) {
  FinExec(FinFeeClassesSql(gTapel), FORM6_OnKelasRow);
  CbSetCurSel(gForm6KelasCombo, 0);
  FORM6_FillList(CtlGetText(gForm6KelasCombo));
  return 0;
}

int FORM6_OnKelasRow(void*, int columnCount, char** values, char**) {
  CbAddString(gForm6KelasCombo, FinCell(values, columnCount, 0));
  return 0;
}

int FORM6_FillList(const std::string& kelas) {
  gTargetListView = gForm6List;
  LvDeleteAllColumns(gForm6List);
  LvDeleteAllItems(gForm6List);
  return FinExec(FinFeeListSql(kelas, gTapel), FinCbFillList);
}

void FORM6_OnKelasChange(Hwnd) {
  FORM6_FillList(CtlGetText(gForm6KelasCombo));
}

void FORM6_Search(Hwnd form) {
  FORM6_Bind(form);
  gTargetListView = gForm6List;
  LvDeleteAllColumns(gForm6List);
  LvDeleteAllItems(gForm6List);
  FinExec(FORM6_SearchSql(CtlGetText(gForm6SearchEdit), gTapel), FinCbFillList);
}

int FORM6_OnCommand(Hwnd form, Hwnd, int notification, int id) {
  if (notification != 0 || !IsFeeList(form)) return 0;
  FORM6_Bind(form);   // also run from outside the window's procedure (the class-to-class copy)
  if (id == gForm6AddId) {
    if (CbGetCount(gForm6KelasCombo) < 1) return 0;
    gEditMode = 0;
    FORMAKUNBAYAR_Show(form, 1, 0);
  } else if (id == gForm6EditId) {
    gEditMode = 1;
    FORMAKUNBAYAR_Show(form, 1, 0);
  } else if (id == gForm6DeleteId) {
    DeleteSelected(form);
  } else if (id == gForm6DetailId) {
    FORM28_Show(form, 1, 0);
  } else if (id == gForm6RekeningId) {
    FORM17_Show(form, 1, 0);
  } else if (id == gForm6ExcelId) {
    gTargetListView = gForm6List;
    FinExportToSheet();
  } else if (id == gForm6PageId) {
    FinExportToPage(kPageTitle, gForm6List);
  } else if (id == gForm6ImportId) {
    gFormMode = "Akun";
    FORMIMPORT_Show(form, 1, 0);
  } else if (id == gForm6CopyYearId) {
    CopyFromYearCommand(form);
  } else if (id == gForm6CopyClassId) {
    // The copy goes into this list's class and year, and this list is refreshed after it.
    FORM25_Show(form, 1, 0, {CtlGetText(gForm6KelasCombo), gTapel, [form] {
                  if (IsWindow(form)) FORM6_OnCommand(form, 0, 0, gForm6RefreshId);
                }});
  } else if (id == gForm6RefreshId) {
    Refresh();
  }
  return 0;
}

LResult FORM6_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  if (msg == WM_DESTROY && gForm6Window == hwnd) {
    gForm6KelasCombo = gForm6List = gForm6SearchEdit = gForm6Rebar = gForm6Toolbar = 0;
    gForm6KelasLabel = gForm6CariLabel = 0;
  }
  if (msg == WM_SIZE && wParam != SIZE_MINIMIZED) WinSendMessage(WinGetDlgItem(hwnd, gForm6RebarId), WM_SIZE, 0, 0);
  LResult r = 0;
  if (FrmFormMessage(gForm6, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND) {
    const int id = static_cast<int>(LOWORD(wParam));
    const int code = static_cast<int>(HIWORD(wParam));
    if (id == gForm6KelasComboId && code == CBN_SELCHANGE) FORM6_OnKelasChange(hwnd);
    FORM6_OnCommand(hwnd, FrmControlOf(msg, lParam), code, id);
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORM6_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  if (msg == WM_KEYUP && wParam == WParam(VK_RETURN) && WinGetDlgCtrlID(hwnd) == gForm6SearchEditId)
    FORM6_Search(FrmGetFormOf(hwnd));
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
