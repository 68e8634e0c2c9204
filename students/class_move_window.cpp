#include "students/class_move_window.h"

#include <string>
#include <vector>

#include "common/globals.h"
#include "common/session.h"
#include "common/sql.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/window_state.h"
#include "framework/window_system.h"
#include "students/student_list_window.h"

Hwnd gForm16Window = 0;
Hwnd gForm16AddButton = 0, gForm16JurusanEdit = 0, gForm16GradeCombo = 0, gForm16CategoryCombo = 0,
     gForm16NewCategoryEdit = 0, gForm16PlusButton = 0, gForm16HintLabel = 0, gForm16ListLabel = 0,
     gForm16ClassCombo = 0, gForm16BatalButton = 0, gForm16TerapkanButton = 0, gForm16List = 0,
     gForm16TujuanLabel = 0;
int gForm16AddButtonId = 1000, gForm16JurusanEditId = 1001, gForm16GradeComboId = 1002, gForm16CategoryComboId = 1003,
    gForm16NewCategoryEditId = 1004, gForm16PlusButtonId = 1005, gForm16HintLabelId = 1006,
    gForm16ListLabelId = 1007, gForm16ClassComboId = 1008, gForm16BatalButtonId = IDCANCEL,
    gForm16TerapkanButtonId = 1009, gForm16ListId = 1010, gForm16TujuanLabelId = 1011;

// ----- what the move computes and writes ----------------------------------------------------------------------------
const std::vector<std::string>& FORM16_Grades() {
  static const std::vector<std::string> grades = {"Play Group", "TK A", "TK B", "I",   "II",   "III", "IV", "V",
                                                  "VI",         "VII",  "VIII", "IX", "X",    "XI",  "XII"};
  return grades;
}

std::string FORM16_NewClassName(const std::string& grade, const std::string& further) {
  return grade + " " + further;
}

std::string FORM16_CategorySql(const std::string& tapel) {
  return "select Kategori from siswakelas WHERE Tapel='" + SqlQ(tapel) + "' Group By Kategori";
}

std::string FORM16_MoveSql(const std::string& kelas, const std::string& kategori, const Form16Student& student,
                           const std::string& tapel) {
  return "Update siswakelas set kelas='" + SqlQ(kelas) + "', kategori='" + SqlQ(kategori) + "' where idsiswa='" +
         SqlQ(student.id) + "' and Tapel='" + SqlQ(tapel) + "' and Kelas='" + SqlQ(student.kelas) + "'";
}

bool FORM16_MoveStudents(const std::vector<Form16Student>& students, const std::string& kelas,
                         const std::string& kategori, const std::string& tapel) {
  std::vector<std::string> statements;
  statements.reserve(students.size());
  for (const Form16Student& s : students) {
    gSql = FORM16_MoveSql(kelas, kategori, s, tapel);
    statements.push_back(gSql);
  }
  return FinExecAll(statements);
}

std::string FORM16_ShownClass(Hwnd list, int row, const std::string& listClass) {
  const int columns = LvGetColumnCount(list);
  for (int c = 0; c < columns; ++c)
    if (LvGetColumnText(list, c) == "KELAS") return LvGetItemText(list, row, c);
  return listClass;
}

// ----- the window ---------------------------------------------------------------------------------------------------
namespace {

constexpr const char* kUnicodeFont = "Arial Unicode MS,9,0";
constexpr const char* kArial12 = "Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34";
constexpr const char* kSansSerif11 = "MS Sans Serif,-11,0,0,0,400,0,0,0,0,1,2,1,34";

constexpr std::uint32_t kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
constexpr std::uint32_t kEdit = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
constexpr std::uint32_t kDropList = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
constexpr std::uint32_t kLabel = WS_CHILD | WS_VISIBLE | SS_LEFT;

FrmForm gForm16 = {.name = "FORM16",
                   .wndProc = FORM16_WndProc,
                   .window = &gForm16Window,
                   .createControls = FORM16_CreateControls,
                   .onCreate = FORM16_OnCreate,
                   .caption = "Form Mutasi Siswa ",
                   .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                   .exStyle = WS_EX_WINDOWEDGE,
                   .width = 477,
                   .height = 362};

// The four new-class fields and their design positions on the row at 232.
struct NewClassField {
  Hwnd* window;
  int x;
};
const NewClassField kNewClassFields[] = {
    {&gForm16GradeCombo, 248}, {&gForm16JurusanEdit, 296}, {&gForm16NewCategoryEdit, 352}, {&gForm16AddButton, 408}};
constexpr int kFieldRowY = 232;

void HideNewClassFields() {
  for (const NewClassField& f : kNewClassFields) WinShowWindow(*f.window, SW_HIDE);
}

void SelectLast(Hwnd combo) {
  const int n = CbGetCount(combo);
  if (n > 0) CbSetCurSel(combo, n - 1);
}

}  // namespace

std::intptr_t FORM16_Show(Hwnd parent, int modal, int userData) {
  return FrmShowForm(gForm16, parent, modal, userData);
}

void FORM16_CreateControls(Hwnd form) {
  const WndProcFn sub = FORM16_CtlSubclassProc;
  const FrmColors window = FrmColors::Window();
  gForm16AddButton =
      FrmAddControl(form, "Button", "Add", kButton, 0, 408, 232, 40, 23, gForm16AddButtonId, sub, kSansSerif11);
  gForm16JurusanEdit = FrmAddControl(form, "Edit", "", kEdit, WS_EX_CLIENTEDGE, 296, 232, 54, 22, gForm16JurusanEditId,
                                     sub, kArial12, "", window);
  CtlAddToolTip(gForm16JurusanEdit, "Jurusan", 1);
  gForm16GradeCombo = FrmAddControl(form, "ComboBox", "", kDropList, WS_EX_CLIENTEDGE, 248, 232, 46, 23,
                                    gForm16GradeComboId, sub, kArial12, "", window);
  for (const std::string& g : FORM16_Grades()) CbAddString(gForm16GradeCombo, g);
  gForm16CategoryCombo = FrmAddControl(form, "ComboBox", "", kDropList, WS_EX_CLIENTEDGE, 150, 232, 73, 24,
                                       gForm16CategoryComboId, sub, kUnicodeFont, "", window);
  CtlAddToolTip(gForm16CategoryCombo, "Kategori", 1);
  gForm16NewCategoryEdit = FrmAddControl(form, "Edit", "", kEdit, WS_EX_CLIENTEDGE, 352, 232, 54, 22,
                                         gForm16NewCategoryEditId, sub, kArial12, "", window);
  CtlAddToolTip(gForm16NewCategoryEdit, "Kategori", 1);
  gForm16PlusButton =
      FrmAddControl(form, "Button", "+", kButton, 0, 224, 232, 22, 23, gForm16PlusButtonId, sub, kSansSerif11);
  gForm16HintLabel = FrmAddControl(form, "Static", "Jika belum tersedia, bisa ditambahkan dengan menekan tombol +",
                                   kLabel, 0, 16, 256, 429, 21, gForm16HintLabelId, sub, kUnicodeFont, "",
                                   FrmColors::TextOnRgb(WinRgb(255, 255, 0)));
  gForm16ListLabel = FrmAddControl(form, "Static",
                                   "Daftar Nama Siswa yang dipilih (centang) dan akan dipindah ruang kelas", kLabel, 0,
                                   16, 8, 341, 21, gForm16ListLabelId, sub, kUnicodeFont, "", FrmColors::Face());
  gForm16ClassCombo = FrmAddControl(form, "ComboBox", "", kDropList, WS_EX_CLIENTEDGE, 16, 232, 134, 24,
                                    gForm16ClassComboId, sub, kUnicodeFont, "", window);
  CtlAddToolTip(gForm16ClassCombo, "Kelas Jurusan", 1);
  gForm16BatalButton =
      FrmAddControl(form, "Button", "Batal", kButton, 0, 248, 288, 88, 33, gForm16BatalButtonId, sub, kUnicodeFont);
  gForm16TerapkanButton = FrmAddControl(form, "Button", "Terapkan", kButton, 0, 350, 288, 96, 32,
                                        gForm16TerapkanButtonId, sub, kUnicodeFont);
  gForm16List = FrmAddControl(form, "SysListView32", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT |
                                                             LVS_SHOWSELALWAYS,
                              WS_EX_CLIENTEDGE, 16, 32, 434, 170, gForm16ListId, sub, kUnicodeFont);
  LvSetColors(gForm16List, WinRgb(0, 0, 0), WinRgb(255, 255, 255));
  gForm16TujuanLabel = FrmAddControl(form, "Static", "Kelas Tujuan", kLabel, 0, 16, 208, 341, 21, gForm16TujuanLabelId,
                                     sub, kUnicodeFont, "", FrmColors::Face());
}

LResult FORM16_OnCreate(Hwnd form, std::intptr_t) {
  HideNewClassFields();
  // The student list whose command opens the window is the current one now: the window takes its students and
  // classes here, and moves in this school year and reloads that list, whatever list is clicked meanwhile.
  FrmWindowState st;
  st.owner = gForm2Window;
  st.list = gForm2List;
  st.kelas = CtlGetText(gForm2ClassCombo);
  st.tapel = gTapel;

  LvInsertColumn(gForm16List, 0, "Id Siswa", LVCFMT_CENTER, 100);
  LvInsertColumn(gForm16List, 1, "Nama Siswa", LVCFMT_LEFT, 250);
  // The ticked rows of the student list, in list order; rows only selected are not taken. Each keeps the class the
  // list showed it in: a student whose class row of the year no longer holds that class is not moved.
  const int rows = LvGetItemCount(gForm2List);
  for (int r = 0; r < rows; ++r) {
    if (LvGetCheck(gForm2List, r) != -1) continue;
    const int row = LvInsertItem(gForm16List, LvGetItemCount(gForm16List), 0, LvGetItemText(gForm2List, r, 0), 0, 0);
    LvInsertItem(gForm16List, row, 1, LvGetItemText(gForm2List, r, 1), 0, 0);
    st.listedClasses.push_back(FORM16_ShownClass(gForm2List, r, st.kelas));
  }
  FrmKeepWindowState(form, st);

  const int classes = CbGetCount(gForm2ClassCombo);
  for (int i = 0; i < classes; ++i) CbAddString(gForm16ClassCombo, CbGetItemText(gForm2ClassCombo, i));
  CbAddString(gForm16ClassCombo, "DO");
  CbAddString(gForm16ClassCombo, "Lulus");

  gSql = FORM16_CategorySql(st.tapel);
  FinExec(gSql, FORM16_AddCategoryItem);   // a failure leaves the categories added so far

  CbSetCurSel(gForm16ClassCombo, 0);
  CbSetCurSel(gForm16CategoryCombo, 0);
  return 0;
}

int FORM16_AddCategoryItem(void*, int columnCount, char** values, char**) {
  CbAddString(gForm16CategoryCombo, columnCount > 0 && values && values[0] ? values[0] : "");
  return 0;
}

LResult FORM16_ShowNewClassFields(int, Hwnd, Hwnd, int) {
  for (const NewClassField& f : kNewClassFields) {
    CtlMove(*f.window, FrmScaleX(f.x), FrmScaleY(kFieldRowY));
    WinShowWindow(*f.window, SW_SHOW);
  }
  return 0;
}

LResult FORM16_AddClass(int, Hwnd, Hwnd, int) {
  CbAddString(gForm16ClassCombo, FORM16_NewClassName(CtlGetText(gForm16GradeCombo), CtlGetText(gForm16JurusanEdit)));
  CbAddString(gForm16CategoryCombo, CtlGetText(gForm16NewCategoryEdit));
  SelectLast(gForm16ClassCombo);
  SelectLast(gForm16CategoryCombo);
  HideNewClassFields();   // the edits and the grade keep their contents for a further "+"
  return 0;
}

LResult FORM16_Apply(int, Hwnd form, Hwnd, int) {
  FrmWindowState st;
  if (const FrmWindowState* kept = FrmWindowStateOf(form)) {
    st = *kept;
  } else {   // not opened as a window of its own: the current student list
    st.owner = gForm2Window;
    st.kelas = CtlGetText(gForm2ClassCombo);
    st.tapel = gTapel;
  }
  std::vector<Form16Student> students;
  const int rows = LvGetItemCount(gForm16List);
  for (int r = 0; r < rows; ++r) {
    const auto at = static_cast<std::size_t>(r);
    const std::string& kelas = at < st.listedClasses.size() ? st.listedClasses[at] : st.kelas;
    students.push_back({LvGetItemText(gForm16List, r, 0), kelas});
  }
  if (!FORM16_MoveStudents(students, CtlGetText(gForm16ClassCombo), CtlGetText(gForm16CategoryCombo), st.tapel))
    return 0;   // the failure was shown; nobody moved and the choices stay for another try or "Batal"
  if (IsWindow(st.owner)) {   // the list it was opened from shows its class anew
    FORM2_Bind(st.owner);
    FORM2_LoadListByClass();
  }
  FrmClose(form, 0);
  return 0;
}

LResult FORM16_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  if (msg == WM_CLOSE) {   // the close box and the system menu's Close: nothing changes
    FrmClose(hwnd, 0);
    return 0;
  }
  LResult r = 0;
  if (FrmFormMessage(gForm16, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    const int id = static_cast<int>(LOWORD(wParam));
    if (id == gForm16BatalButtonId) {   // "Batal" and Esc
      FrmClose(hwnd, 0);
      return 0;
    }
    using Handler = LResult (*)(int, Hwnd, Hwnd, int);
    Handler handler = id == gForm16TerapkanButtonId ? FORM16_Apply
                      : id == gForm16AddButtonId    ? FORM16_AddClass
                      : id == gForm16PlusButtonId   ? FORM16_ShowNewClassFields
                                                    : nullptr;
    if (handler) {
      const Hwnd control = FrmControlOf(msg, lParam);
      if (LResult h = handler(FrmIndexOf(control), hwnd, control, id)) return h;
      return 0;
    }
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORM16_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
