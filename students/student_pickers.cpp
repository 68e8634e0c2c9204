#include "students/student_pickers.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QWidget>
#include <string>
#include <utility>

#include "common/globals.h"
#include "common/handover.h"
#include "common/session.h"
#include "common/sql.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/system_wrappers.h"
#include "framework/window_system.h"
#include "students/student_record_window.h"

std::intptr_t gTreeRoot = 0;

Hwnd gFormCrSiswaWindow = 0;
Hwnd gFormCrSiswaGoButton = 0, gFormCrSiswaSearchEdit = 0, gFormCrSiswaCariLabel = 0, gFormCrSiswaBatalButton = 0,
     gFormCrSiswaSisipButton = 0, gFormCrSiswaTree = 0, gFormCrSiswaList = 0;
int gFormCrSiswaGoButtonId = 1000, gFormCrSiswaSearchEditId = 1001, gFormCrSiswaCariLabelId = 1002,
    gFormCrSiswaBatalButtonId = IDCANCEL, gFormCrSiswaSisipButtonId = 1003, gFormCrSiswaTreeId = 1004,
    gFormCrSiswaListId = 1005;

Hwnd gFormCrSiswa1Window = 0;
Hwnd gFormCrSiswa1CariLabel = 0, gFormCrSiswa1SearchEdit = 0, gFormCrSiswa1GoButton = 0, gFormCrSiswa1BatalButton = 0,
     gFormCrSiswa1SisipButton = 0, gFormCrSiswa1List = 0, gFormCrSiswa1Tree = 0;
int gFormCrSiswa1CariLabelId = 1000, gFormCrSiswa1SearchEditId = 1001, gFormCrSiswa1GoButtonId = 1002,
    gFormCrSiswa1BatalButtonId = IDCANCEL, gFormCrSiswa1SisipButtonId = 1003, gFormCrSiswa1ListId = 1004,
    gFormCrSiswa1TreeId = 1005;

// ----- the statements -------------------------------------------------------------------------------------------
std::string StudentPickerClassSql(const std::string& tapel, bool workingOnly) {
  return "select Kelas from siswakelas WHERE Tapel='" + SqlQ(tapel) + "'" +
         (workingOnly ? " and kelas<>'DO' and instr(kelas,'Lulus')<1" : "") + " Group By Kelas";
}

std::string StudentPickerClassListSql(const std::string& kelas, const std::string& tapel) {
  return "select siswakelas.Idsiswa, siswa.Nama, siswakelas.Kelas, siswakelas.Kategori from siswakelas INNER JOIN "
         "siswa ON siswakelas.IdSiswa=siswa.Id WHERE siswakelas.Kelas = '" +
         SqlQ(kelas) + "' and siswakelas.Tapel='" + SqlQ(tapel) + "' Order By siswakelas.Idsiswa DESC";
}

std::string StudentPickerSearchSql(const std::string& text, const std::string& tapel) {
  // Names keep a "'" as the grave accent: search for it the same way.
  return "select siswakelas.Idsiswa, siswa.Nama, siswakelas.Kelas, siswakelas.Kategori from siswakelas INNER JOIN "
         "siswa ON siswakelas.IdSiswa=siswa.Id WHERE siswa.nama like '%" +
         SqlQ(FORMSISWA_FreeText(text)) + "%' and siswakelas.Tapel='" + SqlQ(tapel) +
         "' Order By siswakelas.Idsiswa DESC";
}

// ----- what both pickers share ----------------------------------------------------------------------------------
namespace {

constexpr const char* kCaption = "Browse Siswa";
constexpr const char* kUnicodeFont = "Arial Unicode MS,9,0";
constexpr const char* kArial12 = "Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34";
constexpr const char* kClickHint = "Untuk menyisipkan item, silahkan tekan tombol sisip..";

constexpr std::uint32_t kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
constexpr std::uint32_t kEdit = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
constexpr std::uint32_t kLabel = WS_CHILD | WS_VISIBLE | SS_LEFT;
constexpr std::uint32_t kTree =
    WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
constexpr std::uint32_t kList = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS;

using Handler = LResult (*)(int, Hwnd, Hwnd, int);

// One picker: its form, controls, classes, column widths and the caller it hands the student to.
struct Picker {
  FrmForm* form;
  Hwnd* window;
  Hwnd* searchEdit;
  Hwnd* tree;
  Hwnd* list;
  int* goId;
  int* batalId;
  int* sisipId;
  bool workingClassesOnly;   // 'DO' and graduates' classes left out of the tree
  int widths[4];             // list columns 0..3
  StudentHandover handOver;   // given by the window that opened the picker
  FinRowCallback addClassNode;
  FinRowCallback addRow;
  Handler onClassSelect, listByClass, searchByName, insert;
};

FrmForm gFormCrSiswa = {.name = "FORMCRSISWA",
                        .wndProc = FORMCRSISWA_WndProc,
                        .window = &gFormCrSiswaWindow,
                        .createControls = FORMCRSISWA_CreateControls,
                        .onCreate = FORMCRSISWA_OnCreate,
                        .caption = kCaption,
                        .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                        .width = 645,
                        .height = 329};

FrmForm gFormCrSiswa1 = {.name = "FORMCRSISWA1",
                         .wndProc = FORMCRSISWA1_WndProc,
                         .window = &gFormCrSiswa1Window,
                         .createControls = FORMCRSISWA1_CreateControls,
                         .onCreate = FORMCRSISWA1_OnCreate,
                         .caption = kCaption,
                         .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                         .exStyle = WS_EX_WINDOWEDGE,
                         .width = 645,
                         .height = 330};

Picker gPayPicker = {&gFormCrSiswa,
                     &gFormCrSiswaWindow,
                     &gFormCrSiswaSearchEdit,
                     &gFormCrSiswaTree,
                     &gFormCrSiswaList,
                     &gFormCrSiswaGoButtonId,
                     &gFormCrSiswaBatalButtonId,
                     &gFormCrSiswaSisipButtonId,
                     true,
                     {70, 170, 100, 50},
                     {},
                     FORMCRSISWA_AddClassNode,
                     FORMCRSISWA_AddRowCallback,
                     FORMCRSISWA_OnClassSelect,
                     FORMCRSISWA_ListByClass,
                     FORMCRSISWA_SearchByName,
                     FORMCRSISWA_Insert};

Picker gSavingsPicker = {&gFormCrSiswa1,
                         &gFormCrSiswa1Window,
                         &gFormCrSiswa1SearchEdit,
                         &gFormCrSiswa1Tree,
                         &gFormCrSiswa1List,
                         &gFormCrSiswa1GoButtonId,
                         &gFormCrSiswa1BatalButtonId,
                         &gFormCrSiswa1SisipButtonId,
                         false,
                         {100, 100, 100, 100},
                         {},
                         FORMCRSISWA1_AddClassNode,
                         FORMCRSISWA1_AddRowCallback,
                         FORMCRSISWA1_OnClassSelect,
                         FORMCRSISWA1_ListByClass,
                         FORMCRSISWA1_SearchByName,
                         FORMCRSISWA1_Insert};

// Tree items: image 1, and image 0 while selected.
constexpr int kTreeImage = 1, kTreeSelectedImage = 0;

// The two folder pictures of the tree: image 0 (selected) and image 1. The shared small-icon list gets them once per
// run; the pickers are the only code that adds to it.
void EnsureTreeImages() {
  if (!gSmallImageList || ImlGetImageCount(gSmallImageList) < 0) gSmallImageList = ImlCreate(16, 16);
  if (ImlGetImageCount(gSmallImageList) >= 2) return;
  QStyle* style = QApplication::style();
  ImlAddIcon(gSmallImageList, style->standardIcon(QStyle::SP_DirOpenIcon));
  ImlAddIcon(gSmallImageList, style->standardIcon(QStyle::SP_DirClosedIcon));
}

void BlackOnWhite(Hwnd control) {
  QWidget* w = WinWidget(control);
  if (!w) return;
  QPalette pal = w->palette();
  pal.setColor(QPalette::Base, Qt::white);
  pal.setColor(QPalette::Text, Qt::black);
  w->setPalette(pal);
}

Hwnd AddTree(Hwnd form, int x, int y, int id, WndProcFn sub) {
  Hwnd tree = FrmAddControl(form, "SysTreeView32", "", kTree, WS_EX_CLIENTEDGE, x, y, 200, 256, id, sub, kArial12);
  BlackOnWhite(tree);
  return tree;
}

Hwnd AddList(Hwnd form, int x, int y, int id, WndProcFn sub) {
  Hwnd list = FrmAddControl(form, "SysListView32", "", kList, WS_EX_CLIENTEDGE, x, y, 425, 256, id, sub, kArial12);
  LvSetExtendedStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  LvSetColors(list, WinRgb(0, 0, 0), WinRgb(255, 255, 255));
  return list;
}

Hwnd AddSearchEdit(Hwnd form, int x, int y, int id, WndProcFn sub) {
  Hwnd edit = FrmAddControl(form, "Edit", "", kEdit, WS_EX_CLIENTEDGE, x, y, 250, 20, id, sub, kUnicodeFont, "",
                            FrmColors::Window(), /*selectAllOnFocus*/ 0);
  CtlAddToolTip(edit, "Masukan pencarian nama disini.. kemudian enter..", 1);
  return edit;
}

Hwnd AddGoButton(Hwnd form, int x, int y, int id, WndProcFn sub) {
  Hwnd go = FrmAddControl(form, "Button", "Go", kButton, 0, x, y, 30, 33, id, sub, kUnicodeFont);
  CtlAddToolTip(go, "Jalankan pencarian..", 1);
  return go;
}

Hwnd AddCariLabel(Hwnd form, int x, int y, int w, int id, WndProcFn sub) {
  return FrmAddControl(form, "Static", "Cari", kLabel, 0, x, y, w, 33, id, sub, kUnicodeFont, "", FrmColors::Face());
}

Hwnd AddWideButton(Hwnd form, const char* text, int x, int y, int id, WndProcFn sub) {
  return FrmAddControl(form, "Button", text, kButton, 0, x, y, 105, 33, id, sub, kArial12);
}

LResult OnCreate(Picker& p) {
  EnsureTreeImages();
  const Hwnd tree = *p.tree;
  TvSetImageList(tree, gSmallImageList);
  gTreeRoot = TvInsertItem(tree, TVI_ROOT, "Siswa Kelas", 0, kTreeImage, kTreeSelectedImage);
  gSql = StudentPickerClassSql(gTapel, p.workingClassesOnly);
  FinExec(gSql, p.addClassNode);   // a failure leaves the classes added so far
  TvExpand(tree, gTreeRoot, 1);
  CtlSetFocus(*p.searchEdit);
  return 0;
}

int AddClassNode(Picker& p, int columnCount, char** values) {
  const std::string kelas = columnCount > 0 && values && values[0] ? values[0] : "";
  TvInsertItem(*p.tree, gTreeRoot, kelas, 0, kTreeImage, kTreeSelectedImage);
  return 0;
}

LResult OnClassSelect(Picker& p) {
  const std::intptr_t item = TvGetSelection(*p.tree);
  if (!item) return 0;   // the tree emptied as the picker goes: the last choice stays
  gPickClass = TvGetItemText(*p.tree, item);
  return p.listByClass(0, *p.window, *p.list, 0);
}

LResult ListByClass(Picker& p) {
  LvDeleteAllItems(*p.list);
  FinExec(StudentPickerClassListSql(gPickClass, gTapel), p.addRow);
  return 0;
}

LResult SearchByName(Picker& p) {
  const Hwnd list = *p.list;
  LvDeleteAllItems(list);
  FinExec(StudentPickerSearchSql(CtlGetText(*p.searchEdit), gTapel), p.addRow);
  if (LvGetItemCount(list) > 0) LvSelectItem(list, 0);
  CtlSetFocus(list);
  return 0;
}

int AddRow(Picker& p, int columnCount, char** values, char** names) {
  gSqlResult.clear();
  const Hwnd list = *p.list;
  if (LvGetColumnCount(list) < columnCount) {
    for (int i = 0; i < columnCount; ++i) {
      std::string caption = names && names[i] ? names[i] : "";
      for (char& c : caption)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
      LvInsertColumn(list, i, caption, LVCFMT_LEFT, i < 4 ? p.widths[i] : 100);
    }
  }
  for (int i = 0; i < columnCount; ++i) {
    const std::string text = values && values[i] ? values[i] : "";
    if (i == 0)
      LvInsertItem(list, LvGetItemCount(list), 0, text, 0, 0);
    else
      LvInsertItem(list, LvGetItemCount(list) - 1, i, text, 0, 0);
    gSqlResult += text + ";";
  }
  return 0;
}

LResult Insert(Picker& p, Hwnd form) {
  const Hwnd list = *p.list;
  const int mark = LvGetSelectionMark(list);
  const std::string id = mark >= 0 && mark < LvGetItemCount(list) ? LvGetItemText(list, mark, 0) : "";
  if (p.handOver) p.handOver(id);
  FrmClose(form, 0);
  return 0;
}

LResult WndProc(Picker& p, Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  if (msg == WM_CLOSE) {   // the close box and the system menu's Close: nothing handed over
    FrmClose(hwnd, 0);
    return 0;
  }
  LResult r = 0;
  if (FrmFormMessage(*p.form, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    const int id = static_cast<int>(LOWORD(wParam));
    const Hwnd control = FrmControlOf(msg, lParam);
    if (id == *p.batalId) {   // "Batal" and Esc
      FrmClose(hwnd, 0);
      return 0;
    }
    Handler handler = id == *p.sisipId ? p.insert : id == *p.goId ? p.searchByName : nullptr;
    if (handler) {
      if (LResult h = handler(FrmIndexOf(control), hwnd, control, id)) return h;
      return 0;
    }
  }
  if (msg == WM_NOTIFY && lParam) {
    const auto* hdr = reinterpret_cast<const NmHdr*>(lParam);
    if (hdr->hwndFrom == *p.tree && hdr->code == TVN_SELCHANGED) {
      p.onClassSelect(FrmIndexOf(hdr->hwndFrom), hwnd, hdr->hwndFrom, hdr->idFrom);
      return 0;
    }
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult CtlSubclassProc(Picker& p, Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  if (msg == WM_KEYUP && wParam == static_cast<WParam>(VK_RETURN) && hwnd == *p.searchEdit)
    p.searchByName(FrmIndexOf(hwnd), *p.window, hwnd, WinGetDlgCtrlID(hwnd));
  else if (msg == WM_LBUTTONUP && hwnd == *p.list)
    MsgBox(kClickHint, "Info", MB_OK);   // the click then goes to the list as usual
  if (!IsWindow(hwnd)) return 0;
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}

}  // namespace

// ----- FORMCRSISWA ----------------------------------------------------------------------------------------------
std::intptr_t FORMCRSISWA_Show(Hwnd parent, int modal, int userData, StudentHandover handOver) {
  gPayPicker.handOver = std::move(handOver);
  return FrmShowForm(gFormCrSiswa, parent, modal, userData);
}

void FORMCRSISWA_CreateControls(Hwnd form) {
  const WndProcFn sub = FORMCRSISWA_CtlSubclassProc;
  gFormCrSiswaGoButton = AddGoButton(form, 320, 257, gFormCrSiswaGoButtonId, sub);
  gFormCrSiswaSearchEdit = AddSearchEdit(form, 64, 262, gFormCrSiswaSearchEditId, sub);
  gFormCrSiswaCariLabel = AddCariLabel(form, 6, 263, 50, gFormCrSiswaCariLabelId, sub);
  gFormCrSiswaBatalButton = AddWideButton(form, "Batal", 405, 257, gFormCrSiswaBatalButtonId, sub);
  gFormCrSiswaSisipButton = AddWideButton(form, "Sisip", 520, 257, gFormCrSiswaSisipButtonId, sub);
  gFormCrSiswaTree = AddTree(form, 0, 1, gFormCrSiswaTreeId, sub);
  gFormCrSiswaList = AddList(form, 200, 1, gFormCrSiswaListId, sub);
}

LResult FORMCRSISWA_OnCreate(Hwnd, std::intptr_t) { return OnCreate(gPayPicker); }
int FORMCRSISWA_AddClassNode(void*, int columnCount, char** values, char**) {
  return AddClassNode(gPayPicker, columnCount, values);
}
LResult FORMCRSISWA_OnClassSelect(int, Hwnd, Hwnd, int) { return OnClassSelect(gPayPicker); }
LResult FORMCRSISWA_ListByClass(int, Hwnd, Hwnd, int) { return ListByClass(gPayPicker); }
LResult FORMCRSISWA_SearchByName(int, Hwnd, Hwnd, int) { return SearchByName(gPayPicker); }
int FORMCRSISWA_AddRowCallback(void*, int columnCount, char** values, char** names) {
  return AddRow(gPayPicker, columnCount, values, names);
}
LResult FORMCRSISWA_Insert(int, Hwnd form, Hwnd, int) { return Insert(gPayPicker, form); }
LResult FORMCRSISWA_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return WndProc(gPayPicker, hwnd, msg, wParam, lParam);
}
LResult FORMCRSISWA_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return CtlSubclassProc(gPayPicker, hwnd, msg, wParam, lParam);
}

// ----- FORMCRSISWA1 ---------------------------------------------------------------------------------------------
std::intptr_t FORMCRSISWA1_Show(Hwnd parent, int modal, int userData, StudentHandover handOver) {
  gSavingsPicker.handOver = std::move(handOver);
  return FrmShowForm(gFormCrSiswa1, parent, modal, userData);
}

void FORMCRSISWA1_CreateControls(Hwnd form) {
  const WndProcFn sub = FORMCRSISWA1_CtlSubclassProc;
  gFormCrSiswa1CariLabel = AddCariLabel(form, 0, 264, 30, gFormCrSiswa1CariLabelId, sub);
  gFormCrSiswa1SearchEdit = AddSearchEdit(form, 48, 264, gFormCrSiswa1SearchEditId, sub);
  gFormCrSiswa1GoButton = AddGoButton(form, 304, 256, gFormCrSiswa1GoButtonId, sub);
  gFormCrSiswa1BatalButton = AddWideButton(form, "Batal", 404, 256, gFormCrSiswa1BatalButtonId, sub);
  gFormCrSiswa1SisipButton = AddWideButton(form, "Sisip", 520, 256, gFormCrSiswa1SisipButtonId, sub);
  gFormCrSiswa1List = AddList(form, 200, 0, gFormCrSiswa1ListId, sub);
  gFormCrSiswa1Tree = AddTree(form, 0, 0, gFormCrSiswa1TreeId, sub);
}

LResult FORMCRSISWA1_OnCreate(Hwnd, std::intptr_t) { return OnCreate(gSavingsPicker); }
int FORMCRSISWA1_AddClassNode(void*, int columnCount, char** values, char**) {
  return AddClassNode(gSavingsPicker, columnCount, values);
}
LResult FORMCRSISWA1_OnClassSelect(int, Hwnd, Hwnd, int) { return OnClassSelect(gSavingsPicker); }
LResult FORMCRSISWA1_ListByClass(int, Hwnd, Hwnd, int) { return ListByClass(gSavingsPicker); }
LResult FORMCRSISWA1_SearchByName(int, Hwnd, Hwnd, int) { return SearchByName(gSavingsPicker); }
int FORMCRSISWA1_AddRowCallback(void*, int columnCount, char** values, char** names) {
  return AddRow(gSavingsPicker, columnCount, values, names);
}
LResult FORMCRSISWA1_Insert(int, Hwnd form, Hwnd, int) { return Insert(gSavingsPicker, form); }
LResult FORMCRSISWA1_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return WndProc(gSavingsPicker, hwnd, msg, wParam, lParam);
}
LResult FORMCRSISWA1_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return CtlSubclassProc(gSavingsPicker, hwnd, msg, wParam, lParam);
}
