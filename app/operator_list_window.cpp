#include "app/operator_list_window.h"

#include <string>

#include "app/globals.h"
#include "app/operator_editor_window.h"
#include "common/export.h"
#include "common/globals.h"
#include "common/query_callbacks.h"
#include "common/sql.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/resources.h"
#include "framework/system_wrappers.h"
#include "framework/window_system.h"

Hwnd gForm7Window = 0;
Hwnd gForm7Rebar = 0, gForm7Toolbar = 0, gForm7List = 0;

int gForm7Id = 111;
int gForm7ListId = 1000, gForm7RebarId = 5000, gForm7ToolbarId = 5100, gForm7AddId = 5101, gForm7EditId = 5102,
    gForm7DeleteId = 5103, gForm7ExcelId = 5104, gForm7PageId = 5105;

void FORM7_InitControlIds() {
  gForm7Id = 111;
  gForm7ListId = 1000;
  gForm7RebarId = 5000;
  gForm7ToolbarId = 5100;
  int id = 5101;
  for (int* g : {&gForm7AddId, &gForm7EditId, &gForm7DeleteId, &gForm7ExcelId, &gForm7PageId}) *g = id++;
}

// ----- statements ---------------------------------------------------------------------------------------------------
std::string FORM7_ListSql() {
  return "select User, 'OPERATOR' as OPR, Akses from useradmin WHERE user<>'ketua' Order By User";
}

std::string FORM7_DeleteSql(const std::string& name) {
  return "Delete From useradmin Where User='" + SqlQ(name) + "'";
}

// ----- the window ---------------------------------------------------------------------------------------------------
namespace {

// Extended list-view styles beyond the ones the framework names.
constexpr std::uint32_t kLvsExOneClickActivate = 0x40;
constexpr std::uint32_t kLvsExInfoTip = 0x400;
constexpr std::uint32_t kLvsExLabelTip = 0x4000;

constexpr const char* kListFont = "Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34";

FrmForm gForm7 = {.name = "FORM7",
                  .wndProc = FORM7_WndProc,
                  .window = &gForm7Window,
                  .createControls = FORM7_CreateControls,
                  .onCreate = FORM7_LoadUsers,
                  .bind = FORM7_Bind,
                  .caption = "Data User",
                  .style = WS_CHILD | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
                  .width = 1028,
                  .height = 560,
                  .kind = FRM_MDICHILD,
                  .mdiId = &gForm7Id};

}  // namespace

std::intptr_t FORM7_Show(Hwnd parent, int modal, int userData) { return FrmShowForm(gForm7, parent, modal, userData); }

void FORM7_CreateControls(Hwnd form) {
  gForm7Rebar = WinCreateWindow(0, "ReBarWindow32", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0,
                                0, 0, FrmScaleY(30), form, gForm7RebarId, 0);
  gForm7Toolbar = WinCreateWindow(0, "ToolbarWindow32", "",
                                  WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NORESIZE |
                                      CCS_NOPARENTALIGN | CCS_NODIVIDER,
                                  0, 0, 0, 0, gForm7Rebar, gForm7ToolbarId, 0);
  TbSetIconSize(gForm7Toolbar, 24, 24);
  const struct {
    int id;
    const char* icon;
  } buttons[] = {{gForm7AddId, "IMAGE_DATA_ADD"},
                 {gForm7EditId, "IMAGE_DATA_EDIT"},
                 {gForm7DeleteId, "IMAGE_DATA_DELETE"},
                 {gForm7ExcelId, "IMAGE_DOCEXCEL"},
                 {gForm7PageId, "IMAGE_PRINTER"}};
  for (const auto& b : buttons) TbAddButton(gForm7Toolbar, b.id, ResLoadIcon(b.icon), "", "", 0);
  TbAutoSize(gForm7Toolbar);
  RbInsertBand(gForm7Rebar, gForm7Toolbar, CtlGetHeight(gForm7Toolbar), FrmScaleX(250));

  gForm7List = FrmAddControl(form, "SysListView32", "",
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE, 0,
                             0, 1007, 485, gForm7ListId, FORM7_CtlSubclassProc, kListFont, "FL,FT,S,S");
  // Directly below the rebar (its height is known only now that the band is in).
  WinSetWindowPos(gForm7List, 0, 0, CtlGetHeight(gForm7Rebar), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  LvSetExtendedStyle(gForm7List, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | kLvsExInfoTip | kLvsExLabelTip |
                                     kLvsExOneClickActivate);
  LvSetColors(gForm7List, WinRgb(0, 0, 0), WinRgb(255, 255, 255));
  CtlSetFocus(gForm7List);
}

void FORM7_Bind(Hwnd form) {
  if (!IsWindow(form) || WinGetClassName(form) != FrmClassName(gForm7)) return;
  gForm7Window = form;
  gForm7List = WinGetDlgItem(form, gForm7ListId);
  gForm7Rebar = WinGetDlgItem(form, gForm7RebarId);
  gForm7Toolbar = WinGetDlgItem(gForm7Rebar, gForm7ToolbarId);   // the toolbar lives in the rebar
}

LResult FORM7_LoadUsers(Hwnd, std::intptr_t) {
  gSql = FORM7_ListSql();
  gTargetListView = gForm7List;
  LvDeleteAllColumns(gForm7List);
  LvDeleteAllItems(gForm7List);
  FinExec(gSql, FinCbFillList);
  return 0;
}

LResult FORM7_OnToolbar(Hwnd form, Hwnd, int, int id) {
  if (id == gForm7AddId || id == gForm7EditId) {
    gEditMode = id == gForm7AddId ? 0 : 1;
    const int mark = LvGetSelectionMark(gForm7List);
    FORMADMIN_Show(form, 1, 0, {LvGetItemText(gForm7List, mark, 0), LvGetItemText(gForm7List, mark, 2),
                                [form] {   // this list is reloaded, whatever list is clicked meanwhile
                                  if (!IsWindow(form)) return;
                                  FORM7_Bind(form);
                                  FORM7_LoadUsers(form, 0);
                                }});
  } else if (id == gForm7DeleteId) {
    if (MsgBox(kForm7DeleteQuestion, kForm7DeleteCaption, MB_YESNO | MB_ICONQUESTION) == IDYES) {
      const int mark = LvGetSelectionMark(gForm7List);
      const std::string name = LvGetItemText(gForm7List, mark, 0);
      gSql = FORM7_DeleteSql(name);
      if (FinExec(gSql) == 0) LvDeleteItem(gForm7List, mark);   // the list is not reloaded
    }
  } else if (id == gForm7ExcelId) {
    gTargetListView = gForm7List;
    FinExportToSheet();
  } else if (id == gForm7PageId) {
    FinExportToPage(kForm7PageTitle, gForm7List);
  }
  return 0;
}

LResult FORM7_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  // The rebar follows the new width before the resize rules move the list.
  if (msg == WM_SIZE && wParam != SIZE_MINIMIZED) {
    const Hwnd rebar = WinGetDlgItem(hwnd, gForm7RebarId);
    if (IsWindow(rebar)) WinSendMessage(rebar, WM_SIZE, wParam, lParam);
  }
  LResult r = 0;
  if (FrmFormMessage(gForm7, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND) {
    const Hwnd control = FrmControlOf(msg, lParam);
    if (LResult h = FORM7_OnToolbar(hwnd, control, HIWORD(wParam), static_cast<int>(LOWORD(wParam)))) return h;
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORM7_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
