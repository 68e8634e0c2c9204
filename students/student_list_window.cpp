#include "students/student_list_window.h"

#include <string>

#include "common/export.h"
#include "common/globals.h"
#include "common/handover.h"
#include "common/query_callbacks.h"
#include "common/session.h"
#include "common/sql.h"
#include "common/student_cards.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/resources.h"
#include "framework/system_wrappers.h"
#include "framework/window_system.h"
#include "students/class_move_window.h"
#include "students/import_window.h"
#include "students/promotion_window.h"
#include "students/student_record_window.h"

Hwnd gForm2Window = 0;
Hwnd gForm2Rebar = 0, gForm2Toolbar = 0, gForm2CariLabel = 0, gForm2SearchEdit = 0, gForm2KelasLabel = 0,
     gForm2ClassCombo = 0, gForm2List = 0;

int gForm2Id = 107;
int gForm2CariLabelId = 1000, gForm2SearchEditId = 1001, gForm2KelasLabelId = 1002, gForm2ClassComboId = 1003,
    gForm2ListId = 1004, gForm2RebarId = 5000, gForm2ToolbarId = 5100;
int gForm2AddButtonId = 5101, gForm2EditButtonId = 5102, gForm2DeleteButtonId = 5103, gForm2ExcelButtonId = 5104,
    gForm2BrowserButtonId = 5105, gForm2CardsButtonId = 5106, gForm2PromotionButtonId = 5107,
    gForm2ClassMoveButtonId = 5108, gForm2ImportButtonId = 5109, gForm2RefreshButtonId = 5110;

void FORM2_InitControlIds() {
  int id = 1000;
  for (int* g : {&gForm2CariLabelId, &gForm2SearchEditId, &gForm2KelasLabelId, &gForm2ClassComboId, &gForm2ListId})
    *g = id++;
  gForm2RebarId = 5000;
  gForm2ToolbarId = 5100;
  id = 5101;
  for (int* g : {&gForm2AddButtonId, &gForm2EditButtonId, &gForm2DeleteButtonId, &gForm2ExcelButtonId,
                 &gForm2BrowserButtonId, &gForm2CardsButtonId, &gForm2PromotionButtonId, &gForm2ClassMoveButtonId,
                 &gForm2ImportButtonId, &gForm2RefreshButtonId})
    *g = id++;
  gForm2Id = 107;
}

// ----- the statements -----------------------------------------------------------------------------------------------
namespace {

constexpr const char* kShortSelect =
    "select Id, Nama, LP, TmpLahir, TglLahir, Agama, Alamat, Status, TglMasuk, Ket from siswa";
// KATEGORI is the category of the joined class row, the one that gives KELAS: a student whose category changed
// from one year to the next shows the category of the year listed.
constexpr const char* kFullSelect =
    "select Id, Nama, LP, TmpLahir, TglLahir, Agama, Alamat, Status, TglMasuk, Kelas, siswakelas.Kategori As "
    "Kategori, Ket from siswa";
constexpr const char* kJoin = " join siswakelas on siswakelas.idsiswa=siswa.id";

constexpr const char* kDeleteQuestion =
    "Apakah anda yakin akan menghapus record tercentang / terpilih? Cobalah koreksi data yang terkait dengan "
    "record-record ini, mungkin bisa mengakibatkan perubahan referensi data dan mengakibatkan data menjadi rancu..";

}  // namespace

std::string FORM2_ClassesSql(const std::string& tapel, bool withGraduates) {
  return "select Kelas from siswakelas WHERE Tapel='" + SqlQ(tapel) + "'" +
         (withGraduates ? "" : " and instr(Kelas,'Lulus')<1") + " Group By Kelas";
}

std::string FORM2_ByClassSql(const std::string& kelas, const std::string& tapel, bool fullLayout) {
  return std::string(fullLayout ? kFullSelect : kShortSelect) + kJoin + " WHERE Kelas='" + SqlQ(kelas) +
         "' and Tapel='" + SqlQ(tapel) + "' Order By Id";
}

std::string FORM2_ActiveByClassSql(const std::string& kelas, const std::string& tapel) {
  return std::string(kFullSelect) + kJoin + " WHERE Status='Aktif' and Kelas='" + SqlQ(kelas) + "' and Tapel='" +
         SqlQ(tapel) + "' Order By Id";
}

std::string FORM2_SearchSql(const std::string& text, const std::string& tapel) {
  // The record window and the import keep a "'" of a name as "`"; ids and a class typed in the class move keep it.
  const std::string stored = FORMSISWA_FreeText(text);
  auto like = [&](const char* column) {
    const std::string raw = std::string(column) + " Like '%" + SqlQ(text) + "%'";
    if (stored == text) return raw;
    return "(" + raw + " or " + column + " Like '%" + SqlQ(stored) + "%')";
  };
  return std::string(kFullSelect) + kJoin + " WHERE Status='Aktif' and Tapel='" + SqlQ(tapel) + "' and (" +
         like("Id") + " or " + like("Nama") + " or " + like("TmpLahir") + " or " + like("Agama") + " or " +
         like("Alamat") + " or " + like("Kelas") + ")";
}

std::string FORM2_DeleteSql(const std::string& id) { return "Delete From Siswa Where Id='" + SqlQ(id) + "'"; }

// ----- the window ---------------------------------------------------------------------------------------------------
namespace {

constexpr const char* kFont = "Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34";

FrmForm gForm2 = {.name = "FORM2",
                  .wndProc = FORM2_WndProc,
                  .window = &gForm2Window,
                  .createControls = FORM2_CreateControls,
                  .onCreate = FORM2_OnCreate,
                  .bind = FORM2_Bind,
                  .caption = "Data Siswa",
                  .style = WS_CHILD | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
                  .width = 1010,
                  .height = 551,
                  .kind = FRM_MDICHILD,
                  .mdiId = &gForm2Id};

struct ToolButton {
  int* id;
  const char* icon;
  const char* tip;
  int autoSize;
};
const ToolButton kButtons[] = {
    {&gForm2AddButtonId, "IMAGE_DATA_ADD", "Tambah Data Siswa Baru", 0},
    {&gForm2EditButtonId, "IMAGE_DATA_EDIT", "Edit / Ubah Data Siswa", 0},
    {&gForm2DeleteButtonId, "IMAGE_DATA_DELETE", "Hapus Item Data Siswa", 0},
    {&gForm2ExcelButtonId, "IMAGE_DOCEXCEL", "Export Ke Excel", 0},
    {&gForm2BrowserButtonId, "IMAGE_PRINTER", "Cetak Ke Broswer", 0},
    {&gForm2CardsButtonId, "IMAGE_CONTACT", "Cetak Kartu Tanda Pelajar", 0},
    {nullptr, nullptr, nullptr, 0},
    {&gForm2PromotionButtonId, "IMAGE_ARROWFORWARD", "Mutasi Siswa (Naik Kelas atau Lulus)", 0},
    {&gForm2ClassMoveButtonId, "IMAGE_USERS", "Mutasi Kelas", 1},
    {&gForm2ImportButtonId, "IMAGE_SHEETIMPORT", "Import Data Dari Excel", 0},
    {&gForm2RefreshButtonId, "IMAGE_REFRESH", "Refresh / membaca ulang data siswa dari database", 0},
};

// Every list load: the list emptied of rows and columns, then filled from `sql` (columns from the first row).
void LoadList(const std::string& sql) {
  if (!IsWindow(gForm2List)) return;
  gTargetListView = gForm2List;
  LvDeleteAllItems(gForm2List);
  LvDeleteAllColumns(gForm2List);
  FinExec(sql, FinCbFillList);
}

// The windows the toolbar opens, each modal over this window.
void OpenClassMove(Hwnd form) { FORM16_Show(form, 1, 0); }
void OpenImport(Hwnd form) { FORMIMPORT_Show(form, 1, 0); }
// Closed through its close box, the promotion window reloads this window's combo and list itself.
void OpenPromotion(Hwnd form) { FORM9_Show(form, 1, 0); }

void DeleteTicked() {
  if (MsgBox(kDeleteQuestion, "Confirm Delete", MB_YESNO | MB_ICONQUESTION) == IDYES) {
    const int rows = LvGetItemCount(gForm2List);
    for (int row = 0; row < rows; ++row)
      if (LvGetCheck(gForm2List, row) == -1) FinExec(FORM2_DeleteSql(LvGetItemText(gForm2List, row, 0)));
  }
  FORM2_LoadListByClass();
}

}  // namespace

std::intptr_t FORM2_Show(Hwnd parent, int modal, int userData) { return FrmShowForm(gForm2, parent, modal, userData); }

void FORM2_CreateControls(Hwnd form) {
  gForm2Rebar = WinCreateWindow(0, "ReBarWindow32", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0,
                                0, 0, FrmScaleY(30), form, gForm2RebarId, 0);
  gForm2Toolbar = WinCreateWindow(0, "ToolbarWindow32", "",
                                  WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NORESIZE |
                                      CCS_NOPARENTALIGN,
                                  0, 0, 0, 0, gForm2Rebar, gForm2ToolbarId, 0);
  TbSetIconSize(gForm2Toolbar, 24, 24);
  for (const ToolButton& b : kButtons) {
    if (!b.id) {
      TbAddSeparator(gForm2Toolbar);
      continue;
    }
    TbAddButton(gForm2Toolbar, *b.id, ResLoadIcon(b.icon), "", b.tip, b.autoSize);
  }
  TbAutoSize(gForm2Toolbar);
  RbInsertBand(gForm2Rebar, gForm2Toolbar, CtlGetHeight(gForm2Toolbar), FrmScaleX(250));

  const int top = 30 + 2;
  gForm2CariLabel = FrmAddControl(form, "Static", "Cari", WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 8, top + 2, 30, 18,
                                  gForm2CariLabelId, FORM2_CtlSubclassProc, kFont);
  gForm2SearchEdit = FrmAddControl(form, "Edit", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL,
                                   WS_EX_CLIENTEDGE, 40, top, 221, 20, gForm2SearchEditId, FORM2_CtlSubclassProc,
                                   kFont);
  gForm2KelasLabel = FrmAddControl(form, "Static", "Kelas", WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 272, top + 2, 35, 18,
                                   gForm2KelasLabelId, FORM2_CtlSubclassProc, kFont);
  gForm2ClassCombo = FrmAddControl(form, "ComboBox", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL |
                                                             CBS_DROPDOWNLIST,
                                   0, 310, top, 250, 200, gForm2ClassComboId, FORM2_CtlSubclassProc, kFont);
  gForm2List = FrmAddControl(form, "SysListView32", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT |
                                                            LVS_SHOWSELALWAYS,
                             WS_EX_CLIENTEDGE, 0, 30 + 26, 989, 449, gForm2ListId, FORM2_CtlSubclassProc, "",
                             "FL,FT,S,S");
  LvSetExtendedStyle(gForm2List, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  LvSetColors(gForm2List, static_cast<int>(WinRgb(0, 0, 0)), static_cast<int>(WinRgb(255, 255, 255)));
  CtlSetFocus(gForm2ClassCombo);
}

int FORM2_AddClassItem(void*, int columnCount, char** values, char**) {
  CbAddString(gForm2ClassCombo, columnCount > 0 && values && values[0] ? values[0] : "");
  return 0;
}

void FORM2_FillClassCombo(bool withGraduates) {
  CbResetContent(gForm2ClassCombo);
  FinExec(FORM2_ClassesSql(gTapel, withGraduates), FORM2_AddClassItem);
}

LResult FORM2_OnCreate(Hwnd, std::intptr_t) {
  FORM2_FillClassCombo(false);
  CbSetCurSel(gForm2ClassCombo, 0);
  gListRowCount = 0;
  LoadList(FORM2_ByClassSql(CtlGetText(gForm2ClassCombo), gTapel, false));
  return 0;
}

void FORM2_LoadListByClass() {
  if (!IsWindow(gForm2Window)) return;
  LoadList(FORM2_ByClassSql(CtlGetText(gForm2ClassCombo), gTapel));
}

void FORM2_Search() {
  if (!IsWindow(gForm2Window)) return;
  LoadList(FORM2_SearchSql(CtlGetText(gForm2SearchEdit), gTapel));
}

void FORM2_Refresh() {
  if (!IsWindow(gForm2Window)) return;
  gSqlResult = CtlGetText(gForm2ClassCombo);
  const std::string kept = gSqlResult;
  FORM2_FillClassCombo(true);
  CbSetCurSel(gForm2ClassCombo, CbFindStringExact(gForm2ClassCombo, -1, kept));
  gListRowCount = 0;
  LoadList(FORM2_ByClassSql(kept, gTapel));
}

void FORM2_Bind(Hwnd form) {
  if (!IsWindow(form) || WinGetClassName(form) != FrmClassName(gForm2)) return;
  gForm2Window = form;
  gForm2CariLabel = WinGetDlgItem(form, gForm2CariLabelId);
  gForm2SearchEdit = WinGetDlgItem(form, gForm2SearchEditId);
  gForm2KelasLabel = WinGetDlgItem(form, gForm2KelasLabelId);
  gForm2ClassCombo = WinGetDlgItem(form, gForm2ClassComboId);
  gForm2List = WinGetDlgItem(form, gForm2ListId);
  gForm2Rebar = WinGetDlgItem(form, gForm2RebarId);
  gForm2Toolbar = WinGetDlgItem(gForm2Rebar, gForm2ToolbarId);   // the toolbar lives in the rebar
}

LResult FORM2_OnCommand(Hwnd form, int id) {
  if (id == gForm2AddButtonId) {
    gEditMode = 0;
    FORMSISWA_Show(form, 1, 0);
  } else if (id == gForm2EditButtonId) {
    gEditMode = 1;
    FORMSISWA_Show(form, 1, 0);
  } else if (id == gForm2DeleteButtonId) {
    DeleteTicked();
  } else if (id == gForm2ExcelButtonId) {
    gTargetListView = gForm2List;
    FinExportToSheet();
  } else if (id == gForm2BrowserButtonId) {
    FinExportToPage("LAPORAN DATA SISWA", gForm2List);
  } else if (id == gForm2CardsButtonId) {
    FinPrintStudentCards(gForm2List);
  } else if (id == gForm2PromotionButtonId) {
    OpenPromotion(form);
  } else if (id == gForm2ClassMoveButtonId) {
    OpenClassMove(form);
  } else if (id == gForm2ImportButtonId) {
    gFormMode = "Siswa";
    OpenImport(form);
  } else if (id == gForm2RefreshButtonId) {
    FORM2_Refresh();
  }
  return 0;
}

LResult FORM2_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  LResult r = 0;
  if (FrmFormMessage(gForm2, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND) {
    const int id = static_cast<int>(LOWORD(wParam));
    if (id == gForm2ClassComboId && HIWORD(wParam) == CBN_SELCHANGE) {
      FORM2_LoadListByClass();
      return 0;
    }
    if (id >= gForm2AddButtonId && id <= gForm2RefreshButtonId && HIWORD(wParam) == 0)
      return FORM2_OnCommand(hwnd, id);
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORM2_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  if (msg == WM_KEYUP && wParam == WParam(VK_RETURN) && WinGetDlgCtrlID(hwnd) == gForm2SearchEditId) {
    FORM2_Bind(FrmGetFormOf(hwnd));
    FORM2_Search();
  }
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
