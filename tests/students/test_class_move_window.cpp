// The class move "Form Mutasi Siswa " driven as an operator would, over an open student list: the ticked students
// it lists, the target classes and categories it offers, classes and categories added for one move, and "Terapkan"
// moving the listed students (all of them or none) in the working school year only.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QAbstractButton>
#include <QMdiArea>
#include <QTableView>
#include <QTest>
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
#include "students/class_move_window.h"
#include "students/student_list_window.h"
#include "support/fixtures.h"
#include "support/seams_fixture.h"
#include "support/operator.h"

using fintest::Click;

namespace {

using Strings = std::vector<std::string>;
using Rows = std::vector<Strings>;

class ClassMoveTest : public fintest::SeamsTest {
 protected:
  void SetUp() override {
    gDb = fintest::CreateDatabase(WorkFile("data.db3"));
    gTapel = "2024/2025";
    gListRowCount = 0;
    gTargetListView = 0;
    area_ = new QMdiArea;
    area_->resize(1200, 700);
    gMdiClient = WinHandle(area_);
    WinWatchWindow(gMdiClient);
    area_->show();
    // VII A of the working year: 1, 2, 3; 4 was in VII A last year and has no class row this year.
    fintest::Exec(gDb,
                  "INSERT INTO siswa (Id, Nama, Status) VALUES ('1', 'ANI', 'Aktif'), ('2', 'BUDI', 'Aktif'),"
                  " ('3', 'CITRA', 'Aktif'), ('4', 'DEDI', 'Aktif'), ('5', 'EKO', 'Aktif');"
                  "INSERT INTO siswakelas (Kode, IdSiswa, Kelas, Kategori, Tapel) VALUES"
                  " ('202420251', '1', 'VII A', '01', '2024/2025'), ('202420252', '2', 'VII A', '02', '2024/2025'),"
                  " ('202420253', '3', 'VII A', NULL, '2024/2025'), ('202420255', '5', 'VIII B', '01', '2024/2025'),"
                  " ('202320241', '1', 'VI A', '01', '2023/2024'), ('202320244', '4', 'VII A', '01', '2023/2024');");
  }
  void TearDown() override {
    for (Hwnd h : {gForm16Window, gForm2Window})
      if (IsWindow(h)) WinDestroyWindow(h);
    delete area_;
    gMdiClient = 0;
    sqlite3_close(gDb);
    gDb = nullptr;
  }

  // The student list, open on its first class (VII A, the working year's members: 1, 2, 3) with `ticked` rows ticked.
  void OpenStudentList(std::initializer_list<int> ticked) {
    ASSERT_TRUE(IsWindow(FORM2_Show(gMdiClient, 1, 0)));
    ASSERT_EQ(CtlGetText(gForm2ClassCombo), "VII A");
    ASSERT_EQ(ListIds(gForm2List), (Strings{"1", "2", "3"}));
    for (int r : ticked) LvSetCheck(gForm2List, r, 1);
  }

  // Opens the class move modally over the student list (or over nothing); `drive` runs inside its loop. A window
  // `drive` left open is closed and reported through `leftOpen`.
  std::intptr_t Run(std::function<void()> drive, bool* leftOpen = nullptr) {
    OnModal([drive, leftOpen](QWidget*) {
      drive();
      const bool open = IsWindow(gForm16Window);
      if (leftOpen) *leftOpen = open;
      if (open) FrmClose(gForm16Window, 0);
    });
    return FORM16_Show(gForm2Window, 1, 0);
  }

  static Strings ListIds(Hwnd list) {
    Strings out;
    for (int r = 0; r < LvGetItemCount(list); ++r) out.push_back(LvGetItemText(list, r, 0));
    return out;
  }
  static Rows MovedRows() {
    Rows out;
    for (int r = 0; r < LvGetItemCount(gForm16List); ++r)
      out.push_back({LvGetItemText(gForm16List, r, 0), LvGetItemText(gForm16List, r, 1)});
    return out;
  }
  static Strings Items(Hwnd combo) {
    Strings out;
    for (int i = 0; i < CbGetCount(combo); ++i) out.push_back(CbGetItemText(combo, i));
    return out;
  }
  static void Choose(Hwnd combo, const std::string& text) {
    const int i = CbFindStringExact(combo, -1, text);
    ASSERT_GE(i, 0) << text;
    CbSetCurSel(combo, i);
  }
  Rows ClassRows() {
    return fintest::Query(gDb, "SELECT IdSiswa, Kelas, ifnull(Kategori, '<null>'), Tapel FROM siswakelas ORDER BY "
                               "Tapel, IdSiswa");
  }
  static Rows Unmoved() {
    return {{"1", "VI A", "01", "2023/2024"},    {"4", "VII A", "01", "2023/2024"}, {"1", "VII A", "01", "2024/2025"},
            {"2", "VII A", "02", "2024/2025"},   {"3", "VII A", "<null>", "2024/2025"},
            {"5", "VIII B", "01", "2024/2025"}};
  }
  static bool FieldsVisible() {
    for (Hwnd h : {gForm16GradeCombo, gForm16JurusanEdit, gForm16NewCategoryEdit, gForm16AddButton})
      if (!WinIsWindowVisible(h)) return false;
    return true;
  }
  static bool FieldsHidden() {
    for (Hwnd h : {gForm16GradeCombo, gForm16JurusanEdit, gForm16NewCategoryEdit, gForm16AddButton})
      if (WinIsWindowVisible(h)) return false;
    return true;
  }

  QMdiArea* area_ = nullptr;
};

// ------------------------------------------------------------------------------------------------------------------
TEST_F(ClassMoveTest, ControlsAsDesigned) {
  OpenStudentList({});
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
  const char* sans = "MS Sans Serif,-11,0,0,0,400,0,0,0,0,1,2,1,34";
  const std::vector<Ctl> table = {   // creation (Tab) order
      {&gForm16AddButton, "Button", "Add", 408, 232, 40, 23, sans, ""},
      {&gForm16JurusanEdit, "Edit", "", 296, 232, 54, 22, arial, "Jurusan"},
      {&gForm16GradeCombo, "ComboBox", "", 248, 232, 46, 0, arial, ""},
      {&gForm16CategoryCombo, "ComboBox", "", 150, 232, 73, 0, uni, "Kategori"},
      {&gForm16NewCategoryEdit, "Edit", "", 352, 232, 54, 22, arial, "Kategori"},
      {&gForm16PlusButton, "Button", "+", 224, 232, 22, 23, sans, ""},
      {&gForm16HintLabel, "Static", "Jika belum tersedia, bisa ditambahkan dengan menekan tombol +", 16, 256, 429, 21,
       uni, ""},
      {&gForm16ListLabel, "Static", "Daftar Nama Siswa yang dipilih (centang) dan akan dipindah ruang kelas", 16, 8,
       341, 21, uni, ""},
      {&gForm16ClassCombo, "ComboBox", "VII A", 16, 232, 134, 0, uni, "Kelas Jurusan"},
      {&gForm16BatalButton, "Button", "Batal", 248, 288, 88, 33, uni, ""},
      {&gForm16TerapkanButton, "Button", "Terapkan", 350, 288, 96, 32, uni, ""},
      {&gForm16List, "SysListView32", "", 16, 32, 434, 170, uni, ""},
      {&gForm16TujuanLabel, "Static", "Kelas Tujuan", 16, 208, 341, 21, uni, ""},
  };
  Run([&] {
    const Hwnd form = gForm16Window;
    ASSERT_TRUE(IsWindow(form));
    EXPECT_EQ(WinGetWindowText(form), "Form Mutasi Siswa ");
    EXPECT_EQ(WinGetClassName(form), "FORM_FINANCE_FORM16_CLASS");
    EXPECT_NEAR(WinGetWindowRect(form).width(), FrmScaleX(477), 8);
    EXPECT_NEAR(WinGetWindowRect(form).height(), FrmScaleY(362), 8);
    EXPECT_FALSE(WinIsWindowEnabled(gForm2Window));   // modal over the student list
    std::vector<Hwnd> order;
    for (const Ctl& c : table) {
      SCOPED_TRACE(c.text);
      const Hwnd h = *c.window;
      ASSERT_TRUE(IsWindow(h));
      EXPECT_EQ(WinGetClassName(h), c.cls);
      EXPECT_EQ(CtlGetText(h), c.text);
      const WinRect r = WinGetWindowRect(h);
      EXPECT_EQ(r.left, FrmScaleX(c.x));
      EXPECT_EQ(r.top, FrmScaleY(c.y));
      EXPECT_EQ(r.width(), FrmScaleX(c.w));
      if (c.h) {   // a combo box takes the height its font needs
        EXPECT_EQ(r.height(), FrmScaleY(c.h));
      }
      EXPECT_EQ(WinWidget(h)->font().family(), FontFromHandle(FontCreateFromSpec(c.font)).family());
      EXPECT_EQ(CtlGetToolTip(h), c.tip);
      order.push_back(h);
    }
    std::vector<Hwnd> created;
    for (Hwnd h : WinChildWindows(form))
      if (std::find(order.begin(), order.end(), h) != order.end()) created.push_back(h);
    EXPECT_EQ(created, order);
    EXPECT_EQ(WinGetDlgCtrlID(gForm16BatalButton), IDCANCEL);
    const WindowData* hint = FrmDataOf(gForm16HintLabel);
    EXPECT_TRUE(hint->colorsOn && !hint->backIsSysColor && hint->backColor == WinRgb(255, 255, 0));
    EXPECT_EQ(Items(gForm16GradeCombo), (Strings{"Play Group", "TK A", "TK B", "I", "II", "III", "IV", "V", "VI", "VII",
                                                 "VIII", "IX", "X", "XI", "XII"}));
    EXPECT_EQ(CbGetCurSel(gForm16GradeCombo), CB_ERR);
    EXPECT_TRUE(FieldsHidden());
    EXPECT_EQ(LvGetColumnCount(gForm16List), 2);
    EXPECT_EQ(LvGetColumnText(gForm16List, 0), "Id Siswa");
    EXPECT_EQ(LvGetColumnAlign(gForm16List, 0), 2);
    EXPECT_EQ(LvGetColumnWidth(gForm16List, 0), 100);
    EXPECT_EQ(LvGetColumnText(gForm16List, 1), "Nama Siswa");
    EXPECT_EQ(LvGetColumnAlign(gForm16List, 1), 0);
    EXPECT_EQ(LvGetColumnWidth(gForm16List, 1), 250);
    Click(gForm16BatalButton);
  });
}

TEST_F(ClassMoveTest, OpensWithTheTickedStudentsAndTheChoices) {
  OpenStudentList({0, 2});
  LvSelectItem(gForm2List, 1);   // selected, not ticked: not taken
  Run([&] {
    EXPECT_EQ(MovedRows(), (Rows{{"1", "ANI"}, {"3", "CITRA"}}));
    EXPECT_EQ(Items(gForm16ClassCombo), (Strings{"VII A", "VIII B", "DO", "Lulus"}));
    EXPECT_EQ(CtlGetText(gForm16ClassCombo), "VII A");
    // The year's categories; rows without one give the empty choice, which comes first and is chosen.
    EXPECT_EQ(Items(gForm16CategoryCombo), (Strings{"", "01", "02"}));
    EXPECT_EQ(CbGetCurSel(gForm16CategoryCombo), 0);
    Click(gForm16BatalButton);
  });
  EXPECT_TRUE(WinIsWindowEnabled(gForm2Window));
  EXPECT_EQ(ClassRows(), Unmoved());
}

TEST_F(ClassMoveTest, TerapkanMovesTheListedStudentsInTheWorkingYear) {
  OpenStudentList({0, 2});
  bool leftOpen = true;
  const std::intptr_t r = Run(
      [&] {
        Choose(gForm16ClassCombo, "VIII B");
        Choose(gForm16CategoryCombo, "02");
        Click(gForm16TerapkanButton);
      },
      &leftOpen);
  EXPECT_FALSE(leftOpen);
  EXPECT_EQ(r, 0);
  // 1 and 3 moved in 2024/2025; last year's rows and 2 keep theirs.
  EXPECT_EQ(ClassRows(), (Rows{{"1", "VI A", "01", "2023/2024"},
                               {"4", "VII A", "01", "2023/2024"},
                               {"1", "VIII B", "02", "2024/2025"},
                               {"2", "VII A", "02", "2024/2025"},
                               {"3", "VIII B", "02", "2024/2025"},
                               {"5", "VIII B", "01", "2024/2025"}}));
  // The student list shows its class's members of the working year again (full layout).
  EXPECT_TRUE(WinIsWindowEnabled(gForm2Window));
  EXPECT_EQ(LvGetColumnCount(gForm2List), 12);
  EXPECT_EQ(ListIds(gForm2List), Strings{"2"});
  EXPECT_EQ(gForm16Window, 0);
}

// 4 was in VII A last year and is in VIII A now; while the class move is open, another program moves 2 to VIII B.
// Every ticked student is moved out of the class the list showed for the student in the working year, and only
// while the student's class row of that year still holds it.
TEST_F(ClassMoveTest, OnlyStudentsStillInTheClassTheListShowsAreMoved) {
  struct Case {
    const char* load;
    std::function<void()> list;   // the list the students are ticked in
    Rows expected;                // siswakelas of the working year afterwards
  } cases[] = {
      {"opening", [] {},
       {{"1", "DO", "01"}, {"2", "VIII B", "02"}, {"3", "DO", "01"}, {"4", "VIII A", "01"}, {"5", "VIII B", "01"}}},
      {"search",
       [] {
         CtlSetText(gForm2SearchEdit, "");
         QTest::keyClick(WinWidget(gForm2SearchEdit), Qt::Key_Return);
         Strings ids = ListIds(gForm2List);
         std::sort(ids.begin(), ids.end());
         ASSERT_EQ(ids, (Strings{"1", "2", "3", "4", "5"}));
       },
       {{"1", "DO", "01"}, {"2", "VIII B", "02"}, {"3", "DO", "01"}, {"4", "DO", "01"}, {"5", "DO", "01"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.load);
    fintest::Exec(gDb, "DELETE FROM siswakelas WHERE IdSiswa='4' AND Tapel='2024/2025';"
                       "INSERT INTO siswakelas (Kode, IdSiswa, Kelas, Kategori, Tapel) VALUES"
                       " ('202420254', '4', 'VIII A', '01', '2024/2025');"
                       "UPDATE siswakelas SET Kelas='VII A', Kategori='02' WHERE IdSiswa='2' AND Tapel='2024/2025';");
    OpenStudentList({});
    c.list();
    for (int r = 0; r < LvGetItemCount(gForm2List); ++r) LvSetCheck(gForm2List, r, 1);
    Run([&] {
      sqlite3* other = nullptr;
      ASSERT_EQ(sqlite3_open(WorkFile("data.db3").c_str(), &other), SQLITE_OK);
      fintest::Exec(other, "UPDATE siswakelas SET Kelas='VIII B' WHERE IdSiswa='2' AND Tapel='2024/2025'");
      sqlite3_close(other);
      Choose(gForm16ClassCombo, "DO");
      Choose(gForm16CategoryCombo, "01");
      Click(gForm16TerapkanButton);
    });
    EXPECT_FALSE(IsWindow(gForm16Window));
    EXPECT_EQ(fintest::Query(gDb, "SELECT IdSiswa, Kelas, Kategori FROM siswakelas WHERE Tapel='2024/2025'"
                                  " ORDER BY IdSiswa"),
              c.expected);
    // Last year's rows keep their classes.
    EXPECT_EQ(fintest::Query(gDb, "SELECT IdSiswa, Kelas FROM siswakelas WHERE Tapel='2023/2024' ORDER BY IdSiswa"),
              (Rows{{"1", "VI A"}, {"4", "VII A"}}));
    WinDestroyWindow(gForm2Window);
    fintest::Exec(gDb, "UPDATE siswakelas SET Kelas='VII A' WHERE IdSiswa IN ('1', '3') AND Tapel='2024/2025';"
                       "UPDATE siswakelas SET Kelas='VIII B' WHERE IdSiswa='5' AND Tapel='2024/2025'");
  }
}

TEST_F(ClassMoveTest, TheListItWasOpenedFromIsReloadedWhateverIsClickedMeanwhile) {
  // The first student list shows VII A with 1 and 2 ticked; a second one shows VIII B.
  OpenStudentList({0, 1});
  const Hwnd first = gForm2Window;
  const Hwnd firstList = gForm2List, firstToolbar = gForm2Toolbar;
  const Hwnd second = static_cast<Hwnd>(FORM2_Show(gMdiClient, 1, 0));
  ASSERT_TRUE(IsWindow(second));
  fintest::Choose(gForm2ClassCombo, "VIII B");
  const Hwnd secondList = gForm2List;
  ASSERT_EQ(ListIds(secondList), Strings{"5"});
  bool ran = false;
  OnModal([&](QWidget*) {
    ran = true;
    EXPECT_EQ(MovedRows(), (Rows{{"1", "ANI"}, {"2", "BUDI"}}));
    // A click on a row of the second list makes it the current one.
    fintest::ClickListRow(secondList, 0);
    EXPECT_EQ(gForm2Window, second);
    Choose(gForm16ClassCombo, "VIII B");
    Choose(gForm16CategoryCombo, "02");
    Click(gForm16TerapkanButton);
  });
  ASSERT_EQ(TbClickButton(firstToolbar, gForm2ClassMoveButtonId), 1);
  EXPECT_TRUE(ran);
  EXPECT_FALSE(IsWindow(gForm16Window));
  EXPECT_EQ(fintest::Query(gDb, "SELECT IdSiswa, Kelas, Kategori FROM siswakelas WHERE Tapel='2024/2025'"
                                " ORDER BY IdSiswa"),
            (Rows{{"1", "VIII B", "02"}, {"2", "VIII B", "02"}, {"3", "VII A", "<null>"}, {"5", "VIII B", "01"}}));
  // The list it was opened from shows its class anew; the other list is left as it was.
  EXPECT_EQ(ListIds(firstList), Strings{"3"});
  EXPECT_EQ(ListIds(secondList), Strings{"5"});
  WinDestroyWindow(second);
  EXPECT_TRUE(IsWindow(first));
}

TEST_F(ClassMoveTest, DroppedOutAndGraduatedChangeOnlyTheClassRow) {
  for (const char* target : {"DO", "Lulus"}) {
    SCOPED_TRACE(target);
    OpenStudentList({1});
    Run([&] {
      Choose(gForm16ClassCombo, target);
      Click(gForm16TerapkanButton);   // the first category (the empty one) goes with it
    });
    EXPECT_EQ(fintest::Query(gDb, "SELECT Kelas, Kategori FROM siswakelas WHERE IdSiswa='2' AND Tapel='2024/2025'"),
              (Rows{{target, ""}}));
    EXPECT_EQ(fintest::Query(gDb, "SELECT Status FROM siswa WHERE Id='2'"), (Rows{{"Aktif"}}));
    WinDestroyWindow(gForm2Window);
    fintest::Exec(gDb, "UPDATE siswakelas SET Kelas='VII A', Kategori='02' WHERE IdSiswa='2' AND Tapel='2024/2025'");
  }
}

TEST_F(ClassMoveTest, AddOffersANewClassAndCategoryForThisMove) {
  struct Case {
    const char* grade;   // nullptr: none chosen
    const char* further;
    const char* category;
    const char* kelas;
  } cases[] = {
      {"VII", "A", "05", "VII A"},
      {"VII", "", "05", "VII "},   // one blank, unlike VII
      {nullptr, "", "", " "},
      {"Play Group", "Pagi", "", "Play Group Pagi"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kelas);
    OpenStudentList({0});
    Run([&] {
      EXPECT_TRUE(FieldsHidden());
      Click(gForm16PlusButton);
      EXPECT_TRUE(FieldsVisible());
      const std::pair<Hwnd, int> places[] = {
          {gForm16GradeCombo, 248}, {gForm16JurusanEdit, 296}, {gForm16NewCategoryEdit, 352}, {gForm16AddButton, 408}};
      for (const auto& [h, x] : places) {
        EXPECT_EQ(WinGetWindowRect(h).left, FrmScaleX(x));
        EXPECT_EQ(WinGetWindowRect(h).top, FrmScaleY(232));
      }
      Click(gForm16PlusButton);   // again: nothing changes
      EXPECT_TRUE(FieldsVisible());
      if (c.grade) Choose(gForm16GradeCombo, c.grade);
      CtlSetText(gForm16JurusanEdit, c.further);
      CtlSetText(gForm16NewCategoryEdit, c.category);
      Click(gForm16AddButton);
      EXPECT_TRUE(FieldsHidden());
      EXPECT_EQ(Items(gForm16ClassCombo), (Strings{"VII A", "VIII B", "DO", "Lulus", c.kelas}));
      EXPECT_EQ(CbGetCurSel(gForm16ClassCombo), 4);
      EXPECT_EQ(Items(gForm16CategoryCombo), (Strings{"", "01", "02", c.category}));
      EXPECT_EQ(CbGetCurSel(gForm16CategoryCombo), 3);
      // The fields keep their contents for a further "+".
      EXPECT_EQ(CtlGetText(gForm16JurusanEdit), c.further);
      EXPECT_EQ(CtlGetText(gForm16GradeCombo), c.grade ? c.grade : "");
      // Nothing is stored before "Terapkan".
      EXPECT_EQ(ClassRows(), Unmoved());
      Click(gForm16TerapkanButton);
    });
    EXPECT_EQ(fintest::Query(gDb, "SELECT Kelas, Kategori FROM siswakelas WHERE IdSiswa='1' AND Tapel='2024/2025'"),
              (Rows{{c.kelas, c.category}}));
    WinDestroyWindow(gForm2Window);
    fintest::Exec(gDb, "UPDATE siswakelas SET Kelas='VII A', Kategori='01' WHERE IdSiswa='1' AND Tapel='2024/2025'");
  }
}

TEST_F(ClassMoveTest, TypedApostrophesStayInsideTheirValues) {
  OpenStudentList({0});
  Run([&] {
    Click(gForm16PlusButton);
    Choose(gForm16GradeCombo, "X");
    CtlSetText(gForm16JurusanEdit, "IPA' , kategori='x' where ''='");
    CtlSetText(gForm16NewCategoryEdit, "0'1");
    Click(gForm16AddButton);
    Click(gForm16TerapkanButton);
  });
  Rows expected = Unmoved();
  expected[2] = {"1", "X IPA' , kategori='x' where ''='", "0'1", "2024/2025"};
  EXPECT_EQ(ClassRows(), expected);
}

TEST_F(ClassMoveTest, AFailedMoveMovesNobody) {
  OpenStudentList({0, 1, 2});
  // The second student's row refuses the change.
  fintest::Exec(gDb, "CREATE TRIGGER refuse BEFORE UPDATE ON siswakelas WHEN OLD.IdSiswa='2' BEGIN"
                     " SELECT RAISE(ABORT, 'ditolak'); END;");
  bool leftOpen = false;
  Run(
      [&] {
        Choose(gForm16ClassCombo, "VIII B");
        ExpectMsgBox("SQL error: ditolak", "Info", IDOK, MB_OK);
        Click(gForm16TerapkanButton);
        // Nobody moved; the window stays with its choices for another try or "Batal".
        EXPECT_TRUE(IsWindow(gForm16Window));
        EXPECT_EQ(CtlGetText(gForm16ClassCombo), "VIII B");
        EXPECT_EQ(LvGetItemCount(gForm16List), 3);
      },
      &leftOpen);
  EXPECT_TRUE(leftOpen);
  EXPECT_EQ(ClassRows(), Unmoved());
  EXPECT_EQ(LvGetColumnCount(gForm2List), 10);   // the student list was not reloaded
  EXPECT_EQ(ListIds(gForm2List), (Strings{"1", "2", "3"}));
}

TEST_F(ClassMoveTest, LeavingWithoutTerapkanChangesNothing) {
  const std::vector<std::pair<const char*, std::function<void()>>> ways = {
      {"Batal", [] { Click(gForm16BatalButton); }},
      {"Esc", [] { QTest::keyClick(WinWidget(gForm16ClassCombo), Qt::Key_Escape); }},
      {"close box", [] { WinWidget(gForm16Window)->close(); }},
      {"system menu Close", [] { WinSendMessage(gForm16Window, WM_SYSCOMMAND, SC_CLOSE, 0); }},
  };
  OpenStudentList({0, 1});
  for (const auto& [name, leave] : ways) {
    SCOPED_TRACE(name);
    bool leftOpen = true;
    const std::intptr_t r = Run(
        [&] {
          Choose(gForm16ClassCombo, "DO");
          leave();
        },
        &leftOpen);
    EXPECT_FALSE(leftOpen);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(ClassRows(), Unmoved());
    EXPECT_TRUE(WinIsWindowEnabled(gForm2Window));
    EXPECT_EQ(LvGetColumnCount(gForm2List), 10);   // no reload
  }
}

TEST_F(ClassMoveTest, NothingTickedMovesNobodyButReloadsTheList) {
  OpenStudentList({});
  LvSelectItem(gForm2List, 0);
  Run([&] {
    EXPECT_EQ(LvGetItemCount(gForm16List), 0);
    Click(gForm16TerapkanButton);
  });
  EXPECT_FALSE(IsWindow(gForm16Window));
  EXPECT_EQ(ClassRows(), Unmoved());
  EXPECT_EQ(LvGetColumnCount(gForm2List), 12);   // the working year's members of VII A
  EXPECT_EQ(ListIds(gForm2List), (Strings{"1", "2", "3"}));
}

TEST_F(ClassMoveTest, DoOfferedTwiceWhenTheListHasIt) {
  fintest::Exec(gDb, "UPDATE siswakelas SET Kelas='DO' WHERE IdSiswa='5'");
  ASSERT_TRUE(IsWindow(FORM2_Show(gMdiClient, 1, 0)));
  Run([&] {
    EXPECT_EQ(Items(gForm16ClassCombo), (Strings{"DO", "VII A", "DO", "Lulus"}));
    Click(gForm16BatalButton);
  });
}

TEST_F(ClassMoveTest, WithoutTheStudentListItListsNobody) {
  Run([&] {
    EXPECT_EQ(LvGetItemCount(gForm16List), 0);
    EXPECT_EQ(Items(gForm16ClassCombo), (Strings{"DO", "Lulus"}));
    Click(gForm16TerapkanButton);
  });
  EXPECT_FALSE(IsWindow(gForm16Window));
  EXPECT_EQ(ClassRows(), Unmoved());
}

TEST_F(ClassMoveTest, FailingCategoryStatementStillOpensTheWindow) {
  OpenStudentList({0});
  fintest::Exec(gDb, "ALTER TABLE siswakelas RENAME TO siswakelas_lama");
  ExpectMsgBox("SQL error: no such table: siswakelas", "Info", IDOK, MB_OK);
  Run([&] {
    EXPECT_EQ(CbGetCount(gForm16CategoryCombo), 0);
    EXPECT_EQ(MovedRows(), (Rows{{"1", "ANI"}}));
    EXPECT_EQ(CtlGetText(gForm16ClassCombo), "VII A");
    Click(gForm16BatalButton);
  });
}

TEST(ClassMoveSql, Statements) {
  EXPECT_EQ(FORM16_CategorySql("2024/2025"),
            "select Kategori from siswakelas WHERE Tapel='2024/2025' Group By Kategori");
  EXPECT_EQ(FORM16_MoveSql("VII A", "01", {"12", "VI B"}, "2024/2025"),
            "Update siswakelas set kelas='VII A', kategori='01' where idsiswa='12' and Tapel='2024/2025' and "
            "Kelas='VI B'");
  EXPECT_EQ(FORM16_MoveSql("a'b", "c'd", {"e'f", "i'j"}, "g'h"),
            "Update siswakelas set kelas='a''b', kategori='c''d' where idsiswa='e''f' and Tapel='g''h' and "
            "Kelas='i''j'");
  EXPECT_EQ(FORM16_NewClassName("VII", "A"), "VII A");
  EXPECT_EQ(FORM16_NewClassName("", ""), " ");
}

}  // namespace
