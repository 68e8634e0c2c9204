// The two student pickers "Browse Siswa" driven as an operator would: the class tree of the working school year, the
// class list, the name search, and "Sisip" handing the student to the calling window (its id edit and its loader).
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QAbstractButton>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/globals.h"
#include "common/globals.h"
#include "framework/controls.h"
#include "framework/fonts.h"
#include "framework/form_runtime.h"
#include "framework/window_system.h"
#include "payments/payment_globals.h"
#include "payments/payment_window.h"
#include "savings/savings_globals.h"
#include "savings/savings_teller_window.h"
#include "students/student_pickers.h"
#include "support/fixtures.h"
#include "support/seams_fixture.h"
#include "support/operator.h"

using fintest::Click;

namespace {

constexpr const char* kHint = "Untuk menyisipkan item, silahkan tekan tombol sisip..";

// ----- a stand-in caller: a window with a student id edit, and a loader that records its calls ------------------------
Hwnd gCallerWindow = 0, gCallerEdit = 0;
LResult CallerWndProc(Hwnd, unsigned, WParam, LParam);
LResult CallerSub(Hwnd h, unsigned m, WParam w, LParam l) { return FrmControlMessage(h, m, w, l); }
void CallerControls(Hwnd form) {
  gCallerEdit = FrmAddControl(form, "Edit", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, WS_EX_CLIENTEDGE, 10, 10, 120, 22,
                              1000, CallerSub, "Arial,9,0");
}
FrmForm gCaller = {.name = "TESTCALLER",
                   .wndProc = CallerWndProc,
                   .window = &gCallerWindow,
                   .createControls = CallerControls,
                   .caption = "Caller",
                   .style = WS_POPUP | WS_CAPTION | WS_SYSMENU,
                   .width = 300,
                   .height = 120};
LResult CallerWndProc(Hwnd h, unsigned m, WParam w, LParam l) {
  LResult r = 0;
  if (FrmFormMessage(gCaller, h, m, w, l, &r)) return r;
  return WinDefWindowProc(h, m, w, l);
}

struct LoaderCall {
  int index;
  Hwnd form, control;
  int id;
  std::string editText;   // what the loader reads from the id edit
  bool pickerOpen;        // the picker is still open while the loader runs
};
std::vector<LoaderCall> gLoaderCalls;
Hwnd* gOpenPicker = nullptr;
LResult RecordLoader(int index, Hwnd form, Hwnd control, int id) {
  gLoaderCalls.push_back({index, form, control, id, CtlGetText(control), gOpenPicker && IsWindow(*gOpenPicker)});
  return 0;
}

// ----- the two pickers, side by side ----------------------------------------------------------------------------------
struct PickerCase {
  const char* name;
  std::intptr_t (*show)(Hwnd, int, int);
  Hwnd* window;
  Hwnd *tree, *list, *search, *go, *batal, *sisip, *cari;
  std::string windowClass;
  int height;
  bool workingClassesOnly;
  std::vector<int> widths;
  Hwnd *callerWindow, *callerEdit;
  LResult (**hook)(int, Hwnd, Hwnd, int);
};

const std::vector<PickerCase>& Pickers() {
  static const std::vector<PickerCase> cases = {
      {"FORMCRSISWA",
       [](Hwnd parent, int modal, int userData) {   // as the payment window opens it
         return FORMCRSISWA_Show(parent, modal, userData, FORMBAYAR_StudentHandover());
       },
       &gFormCrSiswaWindow, &gFormCrSiswaTree, &gFormCrSiswaList,
       &gFormCrSiswaSearchEdit, &gFormCrSiswaGoButton, &gFormCrSiswaBatalButton, &gFormCrSiswaSisipButton,
       &gFormCrSiswaCariLabel, "FORM_FINANCE_FORMCRSISWA_CLASS", 329, true, {70, 170, 100, 50}, &gFormBayarWindow,
       &gFormBayarIdEdit, &gFormBayarLoadStudentHook},
      {"FORMCRSISWA1",
       [](Hwnd parent, int modal, int userData) {   // as the savings teller opens it
         return FORMCRSISWA1_Show(parent, modal, userData, FORMTABUNGAN_StudentHandover());
       },
       &gFormCrSiswa1Window, &gFormCrSiswa1Tree, &gFormCrSiswa1List,
       &gFormCrSiswa1SearchEdit, &gFormCrSiswa1GoButton, &gFormCrSiswa1BatalButton, &gFormCrSiswa1SisipButton,
       &gFormCrSiswa1CariLabel, "FORM_FINANCE_FORMCRSISWA1_CLASS", 330, false, {100, 100, 100, 100},
       &gFormTabunganWindow, &gFormTabunganIdEdit, &gFormTabunganLookupStudentHook},
  };
  return cases;
}

class StudentPickerTest : public fintest::SeamsTest {
 protected:
  void SetUp() override {
    gDb = fintest::CreateDatabase(WorkFile("data.db3"));
    gTapel = "2024/2025";
    gPickClass = "";
    gLoaderCalls.clear();
    gOpenPicker = nullptr;
    fintest::Exec(gDb,
                  "INSERT INTO siswa (Id, Nama, Status) VALUES ('9', 'ANI RAHMA', 'Aktif'), ('10', 'BUDI', 'Aktif'),"
                  " ('12', 'CANDRA', 'Aktif'), ('20', 'DANI', 'Aktif'), ('21', 'EKA', 'DeAktif'),"
                  " ('22', 'FANI', 'Aktif'), ('30', 'O`BRIEN', 'Aktif'), ('40', 'HANA', 'Aktif');"
                  "INSERT INTO siswakelas (Kode, IdSiswa, Kelas, Kategori, Tapel) VALUES"
                  " ('2024202510', '10', 'VII A', '01', '2024/2025'), ('202420259', '9', 'VII A', '02', '2024/2025'),"
                  " ('2024202512', '12', 'VII A', NULL, '2024/2025'), ('2024202520', '20', 'VIII B', '01', '2024/2025'),"
                  " ('2024202521', '21', 'DO', '01', '2024/2025'), ('2024202522', '22', 'SMA Lulus', '01', '2024/2025'),"
                  " ('2024202530', '30', 'lulus x', '01', '2024/2025'), ('2024202599', '99', 'IX C', '01', '2024/2025'),"
                  " ('2024202520b', '20', 'VII A', '03', '2024/2025'),"
                  " ('2023202440', '40', 'VII A', '01', '2023/2024'), ('202320249', '9', 'VI A', '01', '2023/2024');");
    FrmShowForm(gCaller, 0, 0, 0);
    ASSERT_TRUE(IsWindow(gCallerWindow));
    gFormBayarWindow = gFormTabunganWindow = gCallerWindow;
    gFormBayarIdEdit = gFormTabunganIdEdit = gCallerEdit;
    gFormBayarLoadStudentHook = gFormTabunganLookupStudentHook = RecordLoader;
  }
  void TearDown() override {
    for (Hwnd h : {gFormCrSiswaWindow, gFormCrSiswa1Window, gCallerWindow})
      if (IsWindow(h)) WinDestroyWindow(h);
    gFormBayarWindow = gFormTabunganWindow = gFormBayarIdEdit = gFormTabunganIdEdit = 0;
    gFormBayarLoadStudentHook = gFormTabunganLookupStudentHook = nullptr;
    sqlite3_close(gDb);
    gDb = nullptr;
  }

  // Opens the picker modally over the caller; `drive` runs inside its loop. A picker `drive` left open is closed
  // (and reported through `leftOpen`).
  std::intptr_t Run(const PickerCase& p, std::function<void()> drive, bool* leftOpen = nullptr) {
    gOpenPicker = p.window;
    OnModal([&p, drive, leftOpen](QWidget*) {
      drive();
      const bool open = IsWindow(*p.window);
      if (leftOpen) *leftOpen = open;
      if (open) FrmClose(*p.window, 0);
    });
    const std::intptr_t r = p.show(gCallerWindow, 1, 0);
    gOpenPicker = nullptr;
    return r;
  }

  static void ClickRow(Hwnd list, int row) {
    auto* t = qobject_cast<QTableView*>(WinWidget(list));
    ASSERT_NE(t, nullptr);
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, t->visualRect(t->model()->index(row, 1)).center());
  }
  static std::vector<std::string> Children(Hwnd tree, std::intptr_t item) {
    std::vector<std::string> out;
    for (std::intptr_t c = TvGetChild(tree, item); c; c = TvGetNextSibling(tree, c)) out.push_back(TvGetItemText(tree, c));
    return out;
  }
  static std::intptr_t Child(Hwnd tree, const std::string& text) {
    for (std::intptr_t c = TvGetChild(tree, gTreeRoot); c; c = TvGetNextSibling(tree, c))
      if (TvGetItemText(tree, c) == text) return c;
    return 0;
  }
  static std::vector<std::vector<std::string>> Rows(Hwnd list) {
    std::vector<std::vector<std::string>> out;
    for (int r = 0; r < LvGetItemCount(list); ++r) {
      std::vector<std::string> row;
      for (int c = 0; c < LvGetColumnCount(list); ++c) row.push_back(LvGetItemText(list, r, c));
      out.push_back(row);
    }
    return out;
  }
  static std::vector<std::string> Ids(Hwnd list) {
    std::vector<std::string> out;
    for (int r = 0; r < LvGetItemCount(list); ++r) out.push_back(LvGetItemText(list, r, 0));
    return out;
  }
  static void TypeAndEnter(Hwnd edit, const std::string& text) {
    CtlSetText(edit, text);
    QTest::keyClick(WinWidget(edit), Qt::Key_Return);
  }
};

using Strings = std::vector<std::string>;

// ------------------------------------------------------------------------------------------------------------------
TEST_F(StudentPickerTest, ControlsAsDesigned) {
  struct Ctl {
    Hwnd* window;
    const char* cls;
    const char* text;
    int x, y, w, h;
    const char* font;
    const char* tip;
  };
  const char* uni = "Arial Unicode MS,9,0";
  const char* arial = "Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34";
  const char* goTip = "Jalankan pencarian..";
  const char* searchTip = "Masukan pencarian nama disini.. kemudian enter..";
  // In creation (Tab) order.
  const std::vector<std::vector<Ctl>> layouts = {
      {{&gFormCrSiswaGoButton, "Button", "Go", 320, 257, 30, 33, uni, goTip},
       {&gFormCrSiswaSearchEdit, "Edit", "", 64, 262, 250, 20, uni, searchTip},
       {&gFormCrSiswaCariLabel, "Static", "Cari", 6, 263, 50, 33, uni, ""},
       {&gFormCrSiswaBatalButton, "Button", "Batal", 405, 257, 105, 33, arial, ""},
       {&gFormCrSiswaSisipButton, "Button", "Sisip", 520, 257, 105, 33, arial, ""},
       {&gFormCrSiswaTree, "SysTreeView32", "", 0, 1, 200, 256, arial, ""},
       {&gFormCrSiswaList, "SysListView32", "", 200, 1, 425, 256, arial, ""}},
      {{&gFormCrSiswa1CariLabel, "Static", "Cari", 0, 264, 30, 33, uni, ""},
       {&gFormCrSiswa1SearchEdit, "Edit", "", 48, 264, 250, 20, uni, searchTip},
       {&gFormCrSiswa1GoButton, "Button", "Go", 304, 256, 30, 33, uni, goTip},
       {&gFormCrSiswa1BatalButton, "Button", "Batal", 404, 256, 105, 33, arial, ""},
       {&gFormCrSiswa1SisipButton, "Button", "Sisip", 520, 256, 105, 33, arial, ""},
       {&gFormCrSiswa1List, "SysListView32", "", 200, 0, 425, 256, arial, ""},
       {&gFormCrSiswa1Tree, "SysTreeView32", "", 0, 0, 200, 256, arial, ""}},
  };
  for (size_t i = 0; i < Pickers().size(); ++i) {
    const PickerCase& p = Pickers()[i];
    SCOPED_TRACE(p.name);
    Run(p, [&] {
      const Hwnd form = *p.window;
      ASSERT_TRUE(IsWindow(form));
      EXPECT_EQ(WinGetWindowText(form), "Browse Siswa");
      EXPECT_EQ(WinGetClassName(form), p.windowClass);
      EXPECT_NEAR(WinGetWindowRect(form).width(), FrmScaleX(645), 8);   // the design size, give or take the frame
      EXPECT_NEAR(WinGetWindowRect(form).height(), FrmScaleY(p.height), 8);
      EXPECT_FALSE(WinIsWindowEnabled(gCallerWindow));   // modal over its caller
      std::vector<Hwnd> order;
      for (const Ctl& c : layouts[i]) {
        SCOPED_TRACE(c.text);
        const Hwnd h = *c.window;
        ASSERT_TRUE(IsWindow(h));
        EXPECT_EQ(WinGetClassName(h), c.cls);
        EXPECT_EQ(CtlGetText(h), c.text);
        const WinRect r = WinGetWindowRect(h);
        EXPECT_EQ(r.left, FrmScaleX(c.x));
        EXPECT_EQ(r.top, FrmScaleY(c.y));
        EXPECT_EQ(r.width(), FrmScaleX(c.w));
        EXPECT_EQ(r.height(), FrmScaleY(c.h));
        const QFont expected = FontFromHandle(FontCreateFromSpec(c.font));
        EXPECT_EQ(WinWidget(h)->font().family(), expected.family());
        EXPECT_EQ(CtlGetToolTip(h), c.tip);
        order.push_back(h);
      }
      std::vector<Hwnd> created;   // the controls in creation order
      for (Hwnd h : WinChildWindows(form))
        if (std::find(order.begin(), order.end(), h) != order.end()) created.push_back(h);
      EXPECT_EQ(created, order);
      EXPECT_EQ(WinGetDlgCtrlID(*p.batal), IDCANCEL);
      EXPECT_EQ(WinGetFocus(), *p.search);
      EXPECT_EQ(LvGetItemCount(*p.list), 0);
      EXPECT_EQ(LvGetColumnCount(*p.list), 0);   // columns come with the first row
      Click(*p.batal);
    });
  }
}

TEST_F(StudentPickerTest, TreeHoldsTheClassesOfTheWorkingYear) {
  for (const PickerCase& p : Pickers()) {
    SCOPED_TRACE(p.name);
    Run(p, [&] {
      const Hwnd tree = *p.tree;
      ASSERT_NE(gTreeRoot, 0);
      EXPECT_EQ(TvGetChild(tree, TVI_ROOT), gTreeRoot);
      EXPECT_EQ(TvGetNextSibling(tree, gTreeRoot), 0);
      EXPECT_EQ(TvGetItemText(tree, gTreeRoot), "Siswa Kelas");
      // Group By order; "lulus x" stays (the test for graduates is case-sensitive); IX C has a class row only.
      const Strings expected = p.workingClassesOnly
                                   ? Strings{"IX C", "VII A", "VIII B", "lulus x"}
                                   : Strings{"DO", "IX C", "SMA Lulus", "VII A", "VIII B", "lulus x"};
      EXPECT_EQ(Children(tree, gTreeRoot), expected);
      auto* tw = qobject_cast<QTreeWidget*>(WinWidget(tree));
      ASSERT_NE(tw, nullptr);
      EXPECT_TRUE(tw->topLevelItem(0)->isExpanded());
      EXPECT_EQ(TvGetSelection(tree), 0);
      EXPECT_EQ(gPickClass, "");
      // Both pictures are in the shared list once, whatever the number of openings.
      EXPECT_EQ(ImlGetImageCount(gSmallImageList), 2);
      Click(*p.batal);
    });
  }
}

TEST_F(StudentPickerTest, WorkingYearWithoutClassesShowsTheRootAlone) {
  gTapel = "2030/2031";
  for (const PickerCase& p : Pickers()) {
    SCOPED_TRACE(p.name);
    Run(p, [&] {
      EXPECT_EQ(TvGetItemText(*p.tree, gTreeRoot), "Siswa Kelas");
      EXPECT_TRUE(Children(*p.tree, gTreeRoot).empty());
      Click(*p.batal);
    });
  }
  // Only 'DO' and graduates' classes: the payment picker's tree is empty as well.
  fintest::Exec(gDb, "INSERT INTO siswakelas (IdSiswa, Kelas, Tapel) VALUES ('21', 'DO', '2030/2031'),"
                     " ('22', 'SMA Lulus', '2030/2031')");
  Run(Pickers()[0], [&] {
    EXPECT_TRUE(Children(gFormCrSiswaTree, gTreeRoot).empty());
    Click(gFormCrSiswaBatalButton);
  });
}

TEST_F(StudentPickerTest, ChoosingAClassListsItsMembers) {
  for (const PickerCase& p : Pickers()) {
    SCOPED_TRACE(p.name);
    Run(p, [&] {
      const Hwnd tree = *p.tree, list = *p.list;
      TvSelectItem(tree, Child(tree, "VII A"));
      EXPECT_EQ(gPickClass, "VII A");
      // Members in gTapel, ids descending as text ('9' before '12' before '10'); 40 is of another year; 20 has two
      // class rows in the year and is a member through one of them.
      EXPECT_EQ(Rows(list), (std::vector<Strings>{{"9", "ANI RAHMA", "VII A", "02"},
                                                  {"20", "DANI", "VII A", "03"},
                                                  {"12", "CANDRA", "VII A", ""},
                                                  {"10", "BUDI", "VII A", "01"}}));
      const Strings captions = {"IDSISWA", "NAMA", "KELAS", "KATEGORI"};
      for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(LvGetColumnText(list, c), captions[c]);
        EXPECT_EQ(LvGetColumnWidth(list, c), p.widths[c]);
        EXPECT_EQ(LvGetColumnAlign(list, c), 0);
      }
      EXPECT_EQ(LvGetSelectionMark(list), -1);
      EXPECT_EQ(gSqlResult, "10;BUDI;VII A;01;");   // left as the list-fill callback leaves it

      // Another class replaces the rows; the columns stay.
      TvSelectItem(tree, Child(tree, "IX C"));   // its only member has no siswa row
      EXPECT_EQ(gPickClass, "IX C");
      EXPECT_EQ(LvGetItemCount(list), 0);
      EXPECT_EQ(LvGetColumnCount(list), 4);
      TvSelectItem(tree, gTreeRoot);
      EXPECT_EQ(gPickClass, "Siswa Kelas");
      EXPECT_EQ(LvGetItemCount(list), 0);
      Click(*p.batal);
    });
    EXPECT_EQ(gPickClass, "Siswa Kelas");   // the last choice outlives the picker
  }
}

TEST_F(StudentPickerTest, ClickingTheTreeChoosesTheClass) {
  Run(Pickers()[0], [&] {
    auto* tw = qobject_cast<QTreeWidget*>(WinWidget(gFormCrSiswaTree));
    ASSERT_NE(tw, nullptr);
    QTreeWidgetItem* vii = tw->topLevelItem(0)->child(1);
    ASSERT_EQ(vii->text(0).toStdString(), "VII A");
    QTest::mouseClick(tw->viewport(), Qt::LeftButton, {}, tw->visualItemRect(vii).center());
    EXPECT_EQ(gPickClass, "VII A");
    EXPECT_EQ(LvGetItemCount(gFormCrSiswaList), 4);
    QTest::keyClick(tw, Qt::Key_Down);   // the keyboard moves the choice as well
    EXPECT_EQ(gPickClass, "VIII B");
    EXPECT_EQ(Ids(gFormCrSiswaList), Strings{"20"});
    Click(gFormCrSiswaBatalButton);
  });
}

TEST_F(StudentPickerTest, SisipHandsTheClickedStudentToTheCaller) {
  for (const PickerCase& p : Pickers()) {
    SCOPED_TRACE(p.name);
    gLoaderCalls.clear();
    CtlSetText(gCallerEdit, "old");
    ExpectMsgBox(kHint, "Info", IDOK, MB_OK);   // every click on the list tells the operator about "Sisip"
    bool leftOpen = true;
    const std::intptr_t r = Run(
        p,
        [&] {
          TvSelectItem(*p.tree, Child(*p.tree, "VII A"));
          ClickRow(*p.list, 2);
          EXPECT_EQ(LvGetSelectionMark(*p.list), 2);   // the click still went to the list
          EXPECT_EQ(CtlGetText(gCallerEdit), "old");
          Click(*p.sisip);
        },
        &leftOpen);
    EXPECT_FALSE(leftOpen);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(CtlGetText(gCallerEdit), "12");
    ASSERT_EQ(gLoaderCalls.size(), 1u);
    const LoaderCall& c = gLoaderCalls[0];
    EXPECT_EQ(c.index, 0);
    EXPECT_EQ(c.form, gCallerWindow);
    EXPECT_EQ(c.control, gCallerEdit);
    EXPECT_EQ(c.id, 0);
    EXPECT_EQ(c.editText, "12");   // the id is in the edit before the loader runs
    EXPECT_TRUE(c.pickerOpen);     // and the picker closes after it
    EXPECT_EQ(*p.window, 0);
    EXPECT_TRUE(WinIsWindowEnabled(gCallerWindow));
  }
}

TEST_F(StudentPickerTest, SearchFindsNamesOfEveryClassOfTheYear) {
  struct Case {
    const char* text;
    Strings ids;
  } cases[] = {
      {"ani", {"9", "22", "20", "20"}},   // any case; FANI is a graduate; DANI once for each of his two class rows
      {"", {"9", "30", "22", "21", "20", "20", "12", "10"}},   // every class row of the year with a student row
      {"o'brien", {"30"}},              // a "'" is searched as the grave accent names keep
      {"x' or '1'='1", {}},             // typed text never widens the search
      {"HANA", {}},                     // a student of another year only
  };
  for (const PickerCase& p : Pickers()) {
    SCOPED_TRACE(p.name);
    for (const Case& c : cases) {
      SCOPED_TRACE(c.text);
      Run(p, [&] {
        TvSelectItem(*p.tree, Child(*p.tree, "VIII B"));
        TypeAndEnter(*p.search, c.text);
        const Strings ids = Ids(*p.list);
        EXPECT_EQ(ids, c.ids);
        EXPECT_EQ(gPickClass, "VIII B");   // the tree's choice stays
        EXPECT_EQ(TvGetItemText(*p.tree, TvGetSelection(*p.tree)), "VIII B");
        if (!ids.empty()) {
          EXPECT_EQ(LvGetSelectionMark(*p.list), 0);
          EXPECT_EQ(LvIsSelected(*p.list, 0), 1);
          EXPECT_EQ(WinGetFocus(), *p.list);
        } else {
          EXPECT_EQ(LvGetSelectionMark(*p.list), -1);
        }
        Click(*p.batal);
      });
    }
  }
}

TEST_F(StudentPickerTest, GoSearchesAndSisipTakesTheFirstFound) {
  for (const PickerCase& p : Pickers()) {
    SCOPED_TRACE(p.name);
    gLoaderCalls.clear();
    Run(p, [&] {
      CtlSetText(*p.search, "bud");
      Click(*p.go);
      EXPECT_EQ(Ids(*p.list), Strings{"10"});
      Click(*p.sisip);   // no click on the list: the row the search selected
    });
    EXPECT_EQ(CtlGetText(gCallerEdit), "10");
    ASSERT_EQ(gLoaderCalls.size(), 1u);
    EXPECT_EQ(gLoaderCalls[0].editText, "10");
  }
}

TEST_F(StudentPickerTest, SisipWithoutARowHandsOverAnEmptyId) {
  for (const PickerCase& p : Pickers()) {
    SCOPED_TRACE(p.name);
    gLoaderCalls.clear();
    CtlSetText(gCallerEdit, "10");
    Run(p, [&] {
      TvSelectItem(*p.tree, Child(*p.tree, "VII A"));   // rows, but none at the selection mark
      Click(*p.sisip);
    });
    EXPECT_EQ(CtlGetText(gCallerEdit), "");
    ASSERT_EQ(gLoaderCalls.size(), 1u);
    EXPECT_EQ(gLoaderCalls[0].editText, "");
  }
}

TEST_F(StudentPickerTest, WithoutALoaderTheIdIsStillWritten) {
  gFormBayarLoadStudentHook = nullptr;
  Run(Pickers()[0], [&] {
    TypeAndEnter(gFormCrSiswaSearchEdit, "candra");
    Click(gFormCrSiswaSisipButton);
  });
  EXPECT_EQ(CtlGetText(gCallerEdit), "12");
  EXPECT_FALSE(IsWindow(gFormCrSiswaWindow));
}

TEST_F(StudentPickerTest, LeavingWithoutSisipHandsNothingOver) {
  const std::vector<std::pair<const char*, std::function<void(const PickerCase&)>>> ways = {
      {"Batal", [](const PickerCase& p) { Click(*p.batal); }},
      {"Esc", [](const PickerCase& p) { QTest::keyClick(WinWidget(*p.search), Qt::Key_Escape); }},
      {"close box", [](const PickerCase& p) { WinWidget(*p.window)->close(); }},
      {"system menu Close", [](const PickerCase& p) { WinSendMessage(*p.window, WM_SYSCOMMAND, SC_CLOSE, 0); }},
  };
  for (const PickerCase& p : Pickers()) {
    for (const auto& [name, leave] : ways) {
      SCOPED_TRACE(std::string(p.name) + " " + name);
      CtlSetText(gCallerEdit, "7");
      bool leftOpen = true;
      const std::intptr_t r = Run(
          p,
          [&] {
            TypeAndEnter(*p.search, "");
            leave(p);
          },
          &leftOpen);
      EXPECT_FALSE(leftOpen);
      EXPECT_EQ(r, 0);
      EXPECT_EQ(CtlGetText(gCallerEdit), "7");
      EXPECT_TRUE(gLoaderCalls.empty());
      EXPECT_TRUE(WinIsWindowEnabled(gCallerWindow));
    }
  }
}

TEST_F(StudentPickerTest, FailingStatementsAreShownAndThePickerStays) {
  fintest::Exec(gDb, "DROP TABLE siswa");
  for (const PickerCase& p : Pickers()) {
    SCOPED_TRACE(p.name);
    bool leftOpen = false;
    Run(
        p,
        [&] {
          // The tree needs siswakelas alone.
          EXPECT_EQ(Children(*p.tree, gTreeRoot).size(), p.workingClassesOnly ? 4u : 6u);
          ExpectMsgBox("SQL error: no such table: siswa", "Info", IDOK, MB_OK);
          TvSelectItem(*p.tree, Child(*p.tree, "VII A"));
          EXPECT_EQ(LvGetItemCount(*p.list), 0);
          ExpectMsgBox("SQL error: no such table: siswa", "Info", IDOK, MB_OK);
          TypeAndEnter(*p.search, "a");
          EXPECT_TRUE(IsWindow(*p.window));
        },
        &leftOpen);
    EXPECT_TRUE(leftOpen);
  }
  fintest::Exec(gDb, "DROP TABLE siswakelas");
  ExpectMsgBox("SQL error: no such table: siswakelas", "Info", IDOK, MB_OK);
  Run(Pickers()[1], [&] {
    EXPECT_EQ(TvGetItemText(gFormCrSiswa1Tree, gTreeRoot), "Siswa Kelas");
    EXPECT_TRUE(Children(gFormCrSiswa1Tree, gTreeRoot).empty());
    Click(gFormCrSiswa1BatalButton);
  });
}

TEST(StudentPickerSql, ValuesAreQuoted) {
  EXPECT_EQ(StudentPickerClassSql("2024/2025", true),
            "select Kelas from siswakelas WHERE Tapel='2024/2025' and kelas<>'DO' and instr(kelas,'Lulus')<1 Group "
            "By Kelas");
  EXPECT_EQ(StudentPickerClassSql("x'y", false), "select Kelas from siswakelas WHERE Tapel='x''y' Group By Kelas");
  EXPECT_EQ(StudentPickerClassListSql("VII 'A'", "2024/2025"),
            "select siswakelas.Idsiswa, siswa.Nama, siswakelas.Kelas, siswakelas.Kategori from siswakelas INNER JOIN "
            "siswa ON siswakelas.IdSiswa=siswa.Id WHERE siswakelas.Kelas = 'VII ''A''' and "
            "siswakelas.Tapel='2024/2025' Order By siswakelas.Idsiswa DESC");
  EXPECT_EQ(StudentPickerSearchSql("d'Arc", "2024/2025"),
            "select siswakelas.Idsiswa, siswa.Nama, siswakelas.Kelas, siswakelas.Kategori from siswakelas INNER JOIN "
            "siswa ON siswakelas.IdSiswa=siswa.Id WHERE siswa.nama like '%d`Arc%' and siswakelas.Tapel='2024/2025' "
            "Order By siswakelas.Idsiswa DESC");
}

}  // namespace
