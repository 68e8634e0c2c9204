#include "students/promotion_window.h"

#include <sqlite3.h>

#include <string>
#include <vector>

#include "common/class_names.h"
#include "common/globals.h"
#include "common/handover.h"
#include "common/query_callbacks.h"
#include "common/session.h"
#include "common/sql.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/window_state.h"
#include "framework/numbers.h"
#include "framework/strings.h"
#include "framework/system_wrappers.h"
#include "framework/window_system.h"
#include "students/import_window.h"
#include "students/student_list_window.h"

Hwnd gForm9Window = 0;
Hwnd gForm9NextList = 0, gForm9SelesaiButton = 0, gForm9NextTitle = 0, gForm9PrevList = 0, gForm9PrevTitle = 0,
     gForm9ProcessButton = 0, gForm9InfoLabel = 0, gForm9Progress = 0;

int gForm9NextListId = 1000, gForm9SelesaiButtonId = 1001, gForm9NextTitleId = 1002, gForm9PrevListId = 1003,
    gForm9PrevTitleId = 1004, gForm9ProcessButtonId = 1005, gForm9InfoLabelId = 1006, gForm9ProgressId = 1007;

void FORM9_InitControlIds() {
  int id = 1000;
  for (int* g : {&gForm9NextListId, &gForm9SelesaiButtonId, &gForm9NextTitleId, &gForm9PrevListId,
                 &gForm9PrevTitleId, &gForm9ProcessButtonId, &gForm9InfoLabelId, &gForm9ProgressId})
    *g = id++;
}

// ----- what the promotion computes --------------------------------------------------------------------------------
std::string FORM9_PreviousYear(const std::string& tapel) {
  const long long first = RoundHalfEven(Val(tapel.substr(0, 4))) - 1;
  const long long last = RoundHalfEven(Val(tapel.size() >= 4 ? tapel.substr(tapel.size() - 4) : tapel)) - 1;
  return std::to_string(first) + "/" + std::to_string(last);
}

namespace {

// Grades of two words: their classes read "TK A General", "Play Group General".
constexpr const char* kTwoWordGrades[] = {"TK A", "TK B", "Play Group"};

// Where the grade of a class name ends (the blank after it, or the end of the name).
std::size_t GradeEnd(const std::string& c) {
  for (const char* g : kTwoWordGrades) {
    const std::string grade = g;
    if (c.compare(0, grade.size(), grade) == 0 && (c.size() == grade.size() || c[grade.size()] == ' '))
      return grade.size();
  }
  const std::size_t blank = c.find(' ');
  return blank == std::string::npos ? c.size() : blank;
}

std::string TrimBlanks(const std::string& s) {
  const std::size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return std::string();
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

}  // namespace

std::string FORM9_GradeOf(const std::string& className) {
  return TrimBlanks(className.substr(0, GradeEnd(className)));
}

std::string FORM9_ProposedClass(const std::string& className) {
  const std::size_t end = GradeEnd(className);
  const std::string grade = TrimBlanks(className.substr(0, end));
  const std::string next = grade == "Play Group" ? "TK A" : FinNextClass(grade);
  if (next.empty()) return className;   // a grade the ladder does not know: the class stays as it is
  if (end == className.size()) return next;
  std::string rest = className.substr(end);
  if (rest.size() < 2) rest = " ";
  return next + rest;
}

// ----- the window -------------------------------------------------------------------------------------------------
namespace {

constexpr const char* kListFont = "Arial Unicode MS,9,0";
constexpr const char* kFont = "Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34";
constexpr const char* kNotSaved = "Belum tersimpan";
constexpr const char* kSaved = "Sukses disimpan";

// Whether the last load read last year's class rows whole. A failed read is no empty year: nothing is promoted from
// what was not read, and no import is offered in its place.
bool gPrevYearRead = false;

LResult FORM9_OnCreate(Hwnd form, std::intptr_t userData) {
  FORM9_LoadPreviousYear(form, userData);
  return 0;
}

FrmForm gForm9 = {.name = "FORM9",
                  .wndProc = FORM9_WndProc,
                  .window = &gForm9Window,
                  .createControls = FORM9_CreateControls,
                  .onCreate = FORM9_OnCreate,
                  .caption = "Kenaikan Kelas atau Mutasi",
                  .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                  .width = 987,
                  .height = 596};

constexpr std::uint32_t kLabel = WS_CHILD | WS_VISIBLE | SS_LEFT;
constexpr std::uint32_t kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER;
constexpr std::uint32_t kList = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS;

Hwnd AddList(Hwnd form, int x, int id) {
  Hwnd lv = FrmAddControl(form, "SysListView32", "", kList, WS_EX_CLIENTEDGE, x, 60, 464, 460, id,
                          FORM9_CtlSubclassProc, kListFont);
  LvSetExtendedStyle(lv, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  LvSetColors(lv, static_cast<int>(WinRgb(0, 0, 0)), static_cast<int>(WinRgb(255, 255, 255)));
  return lv;
}

std::string Value(char** values, int columnCount, int i) {
  return i < columnCount && values[i] ? values[i] : "";
}

}  // namespace

std::intptr_t FORM9_Show(Hwnd parent, int modal, int userData) {
  // The student list current now (the one whose command opens the window) is the one reloaded when it closes,
  // whatever list is clicked meanwhile.
  const Hwnd studentList = gForm2Window;
  const Hwnd form = FrmCreateForm(gForm9, parent, userData);
  if (!form) return 0;
  FrmWindowState st;
  st.owner = studentList;
  FrmKeepWindowState(form, st);
  if (!gPrevYearRead) {   // the failure was shown: no promotion from a part of last year
    FrmClose(form, 0);
    gFormResult = 0;
    return 0;
  }
  if (LvGetItemCount(gForm9PrevList) == 0) {
    // Nobody to promote: the students are imported instead. The promotion window goes before the import opens, so
    // that the import is modal over the window the promotion was asked from.
    FrmClose(form, 0);
    gFormMode = "Siswa";
    FORMIMPORT_Show(parent, 1, 0);
    gFormResult = 0;
    return 0;
  }
  return FrmShow(modal, form, parent, SW_SHOWNORMAL, 0);
}

void FORM9_CreateControls(Hwnd form) {
  gForm9NextList = AddList(form, 488, gForm9NextListId);
  gForm9SelesaiButton = FrmAddControl(form, "Button", "Selesai", kButton, 0, 856, 524, 95, 28, gForm9SelesaiButtonId,
                                      FORM9_CtlSubclassProc, kFont);
  gForm9NextTitle = FrmAddControl(form, "Static", "Data Siswa Kelas Tahun Sekarang", kLabel, 0, 488, 36, 213, 22,
                                  gForm9NextTitleId, FORM9_CtlSubclassProc, kListFont, "", FrmColors::Face());
  gForm9PrevList = AddList(form, 8, gForm9PrevListId);
  gForm9PrevTitle = FrmAddControl(form, "Static", "Data Siswa Kelas Tahun Sebelumnya", kLabel, 0, 12, 36, 219, 21,
                                  gForm9PrevTitleId, FORM9_CtlSubclassProc, kListFont, "", FrmColors::Face());
  gForm9ProcessButton = FrmAddControl(form, "Button", "Proses", kButton, 0, 780, 524, 74, 28, gForm9ProcessButtonId,
                                      FORM9_CtlSubclassProc, kFont);
  gForm9InfoLabel = FrmAddControl(form, "Static",
                                  "Dengan Utilitas ini, membantu anda untuk merubah data kelas meng-entry data siswa "
                                  "kelas dari tahun pelajaran sebelumnya. Klik tombol Proses untuk selanjutnya",
                                  kLabel, 0, 12, 12, 944, 18, gForm9InfoLabelId, FORM9_CtlSubclassProc, kFont, "",
                                  FrmColors::RgbOnFace(WinRgb(196, 0, 0)));
  gForm9Progress = FrmAddControl(form, "msctls_progress32", "", WS_CHILD | WS_VISIBLE, 0, 8, 528, 770, 23,
                                 gForm9ProgressId, FORM9_CtlSubclassProc, "");
  PbSetRange(gForm9Progress, 1, 100);
  PbSetPos(gForm9Progress, 0);
  CtlSetFocus(gForm9NextList);
}

int FORM9_LoadPreviousYear(Hwnd, std::intptr_t) {
  struct Column {
    const char* caption;
    int format, width;
  };
  const Column columns[] = {{"Id Siswa", LVCFMT_CENTER, 80},
                            {"Nama Siswa", LVCFMT_LEFT, 250},
                            {"Kelas", LVCFMT_CENTER, 100},
                            {"Ktg", LVCFMT_CENTER, 50},
                            {"Sts", LVCFMT_CENTER, 100}};
  for (int i = 0; i < 4; ++i) LvInsertColumn(gForm9PrevList, i, columns[i].caption, columns[i].format, columns[i].width);
  for (int i = 0; i < 5; ++i) LvInsertColumn(gForm9NextList, i, columns[i].caption, columns[i].format, columns[i].width);
  gPrevYearRead =
      FinExec("Select IdSiswa, Nama, Kelas, Kategori From SiswaKelas inner join Siswa on SiswaKelas.IdSiswa=Siswa.Id "
              "Where Tapel='" + SqlQ(FORM9_PreviousYear(gTapel)) + "' and Kelas<>'DO' and instr(Kelas,'Lulus')<1",
              FORM9_AddRowCallback) == 0;
  return gPrevYearRead ? LvGetItemCount(gForm9PrevList) : -1;
}

int FORM9_AddRowCallback(void*, int columnCount, char** values, char**) {
  const std::string id = Value(values, columnCount, 0), nama = Value(values, columnCount, 1),
                    kelas = Value(values, columnCount, 2), kategori = Value(values, columnCount, 3);
  int r = LvInsertItem(gForm9PrevList, LvGetItemCount(gForm9PrevList), 0, id, 0, 0);
  LvInsertItem(gForm9PrevList, r, 1, nama, 0, 0);
  LvInsertItem(gForm9PrevList, r, 2, kelas, 0, 0);
  LvInsertItem(gForm9PrevList, r, 3, kategori, 0, 0);
  r = LvInsertItem(gForm9NextList, LvGetItemCount(gForm9NextList), 0, id, 0, 0);
  LvInsertItem(gForm9NextList, r, 1, nama, 0, 0);
  LvInsertItem(gForm9NextList, r, 2, FORM9_ProposedClass(kelas), 0, 0);
  LvInsertItem(gForm9NextList, r, 3, kategori, 0, 0);
  LvInsertItem(gForm9NextList, r, 4, kNotSaved, 0, 0);
  gPickClass = FORM9_GradeOf(kelas);
  return 0;
}

const char* const kForm9Failed = "Proses kenaikan kelas gagal, tidak ada data kelas yang disimpan..";

LResult FORM9_Process(int, Hwnd, Hwnd, int) {
  CtlDisable(gForm9ProcessButton);
  const int total = LvGetItemCount(gForm9NextList);
  const std::string kodeYear = StrReplace(gTapel, "/", "");
  // The whole run is one transaction: every class row of it, or none.
  std::vector<int> saved;
  bool ok = false;
  {
    FinTransaction tx;
    ok = tx.active();
    for (int r = 0; r < total && ok; ++r) {
      const std::string id = LvGetItemText(gForm9NextList, r, 0);
      const std::string kelas = LvGetItemText(gForm9NextList, r, 2);
      const std::string kategori = LvGetItemText(gForm9NextList, r, 3);
      if (FinExec("Select Count(*) From siswakelas WHERE IdSiswa='" + SqlQ(id) + "' and Tapel='" + SqlQ(gTapel) + "'",
                  FinCbCount, "SQL error0: ") != SQLITE_OK) {
        ok = false;
      } else if (gCountResult < 1) {
        if (FinExec("INSERT INTO siswakelas (Kode,IdSiswa,Kelas,Kategori,Tapel) VALUES ('" + SqlQ(kodeYear + id) +
                        "','" + SqlQ(id) + "','" + SqlQ(kelas) + "','" + SqlQ(kategori) + "','" + SqlQ(gTapel) + "')",
                    nullptr, "SQL error1: ") != SQLITE_OK) {
          ok = false;
        } else {
          LvSetItemText(gForm9NextList, r, 4, kSaved);
          saved.push_back(r);
          if (kelas.find("Lulus") != std::string::npos &&
              FinExec("Update siswa set Status='DeAktif' where id='" + SqlQ(id) + "'", nullptr, "SQL error2: ") !=
                  SQLITE_OK)
            ok = false;
        }
      }
      PbSetPos(gForm9Progress, static_cast<int>(RoundHalfEven((r + 1) * 100.0 / total)));
    }
    if (ok) ok = tx.commit();
  }
  CtlEnable(gForm9ProcessButton);
  if (!ok) {   // undone: nothing of the run stays
    for (int r : saved) LvSetItemText(gForm9NextList, r, 4, kNotSaved);
    MsgBox(kForm9Failed, "Info", MB_OK | MB_ICONINFORMATION);
    return 0;
  }
  MsgBox("Selesai", "Info", MB_OK);
  return 0;
}

LResult FORM9_RefreshStudentList(Hwnd form) {
  if (const FrmWindowState* st = FrmWindowStateOf(form); st && st->owner) {
    if (!IsWindow(st->owner)) return 0;   // the list it was opened from is gone: no other list is reloaded
    FORM2_Bind(st->owner);
  }
  CbResetContent(gForm2ClassCombo);
  FinExec("select Kelas from siswakelas WHERE Tapel='" + SqlQ(gTapel) + "' and Kelas<>'DO' Group By Kelas",
          FORM2_AddClassItem);
  CbSetCurSel(gForm2ClassCombo, 0);
  // The active members of the chosen class in the working year, as the list's own loads keep to that year.
  gSql = FORM2_ActiveByClassSql(CtlGetText(gForm2ClassCombo), gTapel);
  gTargetListView = gForm2List;
  LvDeleteAllColumns(gForm2List);
  LvDeleteAllItems(gForm2List);
  FinExec(gSql, FinCbFillList);
  return 0;
}

LResult FORM9_OnClose(int, Hwnd form, Hwnd, int) {
  FrmClose(form, 0);
  return 0;
}

LResult FORM9_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  if (msg == WM_CLOSE) {   // the close box or the system menu: the student list is reloaded first
    FORM9_RefreshStudentList(hwnd);
    FrmClose(hwnd, 0);
    return 0;
  }
  LResult r = 0;
  if (FrmFormMessage(gForm9, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    using Handler = LResult (*)(int, Hwnd, Hwnd, int);
    const int id = static_cast<int>(LOWORD(wParam));
    Handler handler = id == gForm9ProcessButtonId   ? FORM9_Process
                      : id == gForm9SelesaiButtonId ? FORM9_OnClose
                                                    : nullptr;
    if (handler) {
      const Hwnd control = FrmControlOf(msg, lParam);
      if (LResult h = handler(FrmIndexOf(control), hwnd, control, id)) return h;
    }
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORM9_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
