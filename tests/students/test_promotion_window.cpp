// The promotion window driven as an operator would: last year's students listed with their proposed class, "Proses"
// writing the class rows of the working year (graduates marked 'DeAktif', students with a class already skipped, a
// class written whole or not at all), the progress bar, the hand-over to the import when last year is empty, and the
// reload of the student list when the window is closed through its close box.
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
#include "students/import_window.h"
#include "students/promotion_window.h"
#include "students/student_list_window.h"
#include "support/fixtures.h"
#include "support/seams_fixture.h"
#include "support/operator.h"
#include "support/other_program.h"
#include "support/read_denied.h"

using fintest::Click;

namespace {

using Rows = std::vector<std::vector<std::string>>;

// Last year (2023/2024) as the promotion sees it; S8 has a class in 2024/2025 already, S11 has no student row.
constexpr const char* kSchool =
    "INSERT INTO siswa (Id, Nama, Status) VALUES ('S1', 'Ani', 'Aktif'), ('S2', 'Budi', 'Aktif'),"
    " ('S3', 'Citra', 'Aktif'), ('S4', 'Dodi', 'Aktif'), ('S5', 'Eka', 'DeAktif'), ('S6', 'Fajar', 'Aktif'),"
    " ('S7', 'Gita', 'Aktif'), ('S8', 'Hadi', 'Aktif'), ('S9', 'Indah', 'Aktif'), ('S10', 'Joko', 'DeAktif');"
    "INSERT INTO siswakelas (Kode, IdSiswa, Kelas, Kategori, Tapel) VALUES"
    " ('20232024S1', 'S1', 'I General', '01', '2023/2024'),"
    " ('20232024S2', 'S2', 'VI General', '02', '2023/2024'),"
    " ('20232024S3', 'S3', 'XII IPA', '01', '2023/2024'),"
    " ('20232024S4', 'S4', 'DO', '01', '2023/2024'),"
    " ('20232024S5', 'S5', 'SD Lulus General', '01', '2023/2024'),"
    " ('20232024S6', 'S6', 'VII lulus', '01', '2023/2024'),"
    " ('20232024S7', 'S7', 'X ', '01', '2023/2024'),"
    " ('20232024S8', 'S8', 'I General', '03', '2023/2024'),"
    " ('20242025S8', 'S8', 'III General', '03', '2024/2025'),"
    " ('20232024S9', 'S9', 'TK A General', '01', '2023/2024'),"
    " ('20232024S10', 'S10', 'II General', NULL, '2023/2024'),"
    " ('20232024S11', 'S11', 'I General', '01', '2023/2024'),"
    " ('20222023S1', 'S1', 'TK B General', '01', '2022/2023');";

std::vector<int> gProbed;   // the progress bar's position each time a class row is written

void Probe(sqlite3_context* ctx, int, sqlite3_value**) {
  gProbed.push_back(PbGetPos(gForm9Progress));
  sqlite3_result_null(ctx);
}

class PromotionWindowTest : public fintest::SeamsTest {
 protected:
  void SetUp() override {
    gDb = fintest::CreateDatabase(WorkFile("data.db3"));
    gTapel = "2024/2025";
    gFormMode = "";
    gPickClass = "";
    gProbed.clear();
    keepCombo_ = gForm2ClassCombo;
    keepList_ = gForm2List;
  }
  void TearDown() override {
    if (IsWindow(gForm9Window)) WinDestroyWindow(gForm9Window);
    if (IsWindow(gFormImportWindow)) WinDestroyWindow(gFormImportWindow);
    gForm2ClassCombo = keepCombo_;
    gForm2List = keepList_;
    delete holder_;
    sqlite3_close(gDb);
    gDb = nullptr;
  }

  // Opens the promotion modally; `drive` runs inside its loop and must end it.
  std::intptr_t RunPromotion(std::function<void()> drive) {
    OnModal([drive](QWidget*) { drive(); });
    return FORM9_Show(0, 1, 0);
  }
  void Process() {
    ExpectMsgBox("Selesai", "Info", IDOK, MB_OK);
    Click(gForm9ProcessButton);
    VerifySeams();
  }
  // The rows of a list, sorted by student id (the load asks for no order).
  static Rows Sorted(Hwnd list) {
    Rows rows;
    for (int r = 0; r < LvGetItemCount(list); ++r) {
      rows.emplace_back();
      for (int c = 0; c < LvGetColumnCount(list); ++c) rows.back().push_back(LvGetItemText(list, r, c));
    }
    std::sort(rows.begin(), rows.end());
    return rows;
  }
  // Stand-ins for the student list's class combo and list.
  void StudentListStandIns() {
    holder_ = new QWidget;
    gForm2ClassCombo = WinCreateControl(0, "ComboBox", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 0, 0, 100, 20,
                                        WinHandle(holder_), 1003);
    gForm2List = WinCreateControl(0, "SysListView32", "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 30, 400, 200,
                                  WinHandle(holder_), 1004);
    CbAddString(gForm2ClassCombo, "as it was");
    CbSetCurSel(gForm2ClassCombo, 0);
  }
  Rows Db(const std::string& sql) { return fintest::Query(gDb, sql); }

  QWidget* holder_ = nullptr;
  Hwnd keepCombo_ = 0, keepList_ = 0;
};

// ----- what the promotion computes ---------------------------------------------------------------------------------
TEST(PromotionRoutines, PreviousYear) {
  EXPECT_EQ(FORM9_PreviousYear("2024/2025"), "2023/2024");
  EXPECT_EQ(FORM9_PreviousYear("2000/2001"), "1999/2000");
}

TEST(PromotionRoutines, ProposedClasses) {
  struct Case {
    const char* kelas;
    const char* grade;
    const char* proposed;
  } cases[] = {
      {"I General", "I", "II General"},
      {"VI General", "VI", "SD Lulus General"},
      {"IX General", "IX", "SMP Lulus General"},
      {"XII IPA", "XII", "SMA Lulus IPA"},
      {"X IPA 1", "X", "XI IPA 1"},
      {"X ", "X", "XI "},
      {"VII", "VII", "VIII"},                     // no parallel: the next grade alone
      {"TK A General", "TK A", "TK B General"},   // grades of two words
      {"TK B", "TK B", "TK Lulus"},
      {"Play Group General", "Play Group", "TK A General"},
      {"PAUD A", "PAUD", "PAUD Lulus A"},
      {"TKA General", "TKA", "TKA General"},      // a grade the ladder does not know keeps its class
      {"vii a", "vii", "vii a"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kelas);
    EXPECT_EQ(FORM9_GradeOf(c.kelas), c.grade);
    EXPECT_EQ(FORM9_ProposedClass(c.kelas), c.proposed);
  }
}

// ----- the window --------------------------------------------------------------------------------------------------
TEST_F(PromotionWindowTest, ControlsAsDesignedAndLastYearListed) {
  fintest::Exec(gDb, kSchool);
  struct Ctl {
    Hwnd* window;
    int id;
    const char* cls;
    std::string text;
    int x, y, w, h;
  };
  const std::vector<Ctl> table = {
      {&gForm9NextList, 1000, "SysListView32", "", 488, 60, 464, 460},
      {&gForm9SelesaiButton, 1001, "Button", "Selesai", 856, 524, 95, 28},
      {&gForm9NextTitle, 1002, "Static", "Data Siswa Kelas Tahun Sekarang", 488, 36, 213, 22},
      {&gForm9PrevList, 1003, "SysListView32", "", 8, 60, 464, 460},
      {&gForm9PrevTitle, 1004, "Static", "Data Siswa Kelas Tahun Sebelumnya", 12, 36, 219, 21},
      {&gForm9ProcessButton, 1005, "Button", "Proses", 780, 524, 74, 28},
      {&gForm9InfoLabel, 1006, "Static",
       "Dengan Utilitas ini, membantu anda untuk merubah data kelas meng-entry data siswa kelas dari tahun pelajaran "
       "sebelumnya. Klik tombol Proses untuk selanjutnya",
       12, 12, 944, 18},
      {&gForm9Progress, 1007, "msctls_progress32", "", 8, 528, 770, 23},
  };
  const std::intptr_t r = RunPromotion([&] {
    const Hwnd form = gForm9Window;
    ASSERT_TRUE(IsWindow(form));
    EXPECT_EQ(WinGetWindowText(form), "Kenaikan Kelas atau Mutasi");
    EXPECT_EQ(WinGetClassName(form), "FORM_FINANCE_FORM9_CLASS");
    EXPECT_NE(WinGetStyle(form) & WS_SYSMENU, 0u);
    for (const Ctl& c : table) {
      SCOPED_TRACE(c.id);
      const Hwnd h = *c.window;
      ASSERT_TRUE(IsWindow(h));
      EXPECT_EQ(WinGetDlgCtrlID(h), c.id);
      EXPECT_EQ(WinGetClassName(h), c.cls);
      EXPECT_EQ(CtlGetText(h), c.text);
      const WinRect rc = WinGetWindowRect(h);
      EXPECT_EQ(rc.left, FrmScaleX(c.x));
      EXPECT_EQ(rc.top, FrmScaleY(c.y));
      EXPECT_EQ(rc.width(), FrmScaleX(c.w));
      EXPECT_EQ(rc.height(), FrmScaleY(c.h));
    }
    const WindowData* red = FrmDataOf(gForm9InfoLabel);
    EXPECT_TRUE(red->colorsOn && !red->foreIsSysColor && red->foreColor == WinRgb(196, 0, 0));
    EXPECT_EQ(WinWidget(form)->focusWidget(), WinWidget(gForm9NextList));
    EXPECT_EQ(PbGetPos(gForm9Progress), 1);   // position 0 held in the range 1 to 100

    const std::vector<std::tuple<std::string, int, int>> columns = {
        {"Id Siswa", 2, 80}, {"Nama Siswa", 0, 250}, {"Kelas", 2, 100}, {"Ktg", 2, 50}, {"Sts", 2, 100}};
    ASSERT_EQ(LvGetColumnCount(gForm9PrevList), 4);
    ASSERT_EQ(LvGetColumnCount(gForm9NextList), 5);
    for (int c = 0; c < 5; ++c) {
      EXPECT_EQ(LvGetColumnText(gForm9NextList, c), std::get<0>(columns[c]));
      EXPECT_EQ(LvGetColumnAlign(gForm9NextList, c), std::get<1>(columns[c]));
      EXPECT_EQ(LvGetColumnWidth(gForm9NextList, c), std::get<2>(columns[c]));
      if (c < 4) {
        EXPECT_EQ(LvGetColumnText(gForm9PrevList, c), std::get<0>(columns[c]));
      }
    }
    // 'DO', graduates' classes and a class row without a student are left out; "lulus" in lower case is listed.
    EXPECT_EQ(Sorted(gForm9PrevList), (Rows{{"S1", "Ani", "I General", "01"},
                                            {"S10", "Joko", "II General", ""},
                                            {"S2", "Budi", "VI General", "02"},
                                            {"S3", "Citra", "XII IPA", "01"},
                                            {"S6", "Fajar", "VII lulus", "01"},
                                            {"S7", "Gita", "X ", "01"},
                                            {"S8", "Hadi", "I General", "03"},
                                            {"S9", "Indah", "TK A General", "01"}}));
    EXPECT_EQ(Sorted(gForm9NextList), (Rows{{"S1", "Ani", "II General", "01", "Belum tersimpan"},
                                            {"S10", "Joko", "III General", "", "Belum tersimpan"},
                                            {"S2", "Budi", "SD Lulus General", "02", "Belum tersimpan"},
                                            {"S3", "Citra", "SMA Lulus IPA", "01", "Belum tersimpan"},
                                            {"S6", "Fajar", "VIII lulus", "01", "Belum tersimpan"},
                                            {"S7", "Gita", "XI ", "01", "Belum tersimpan"},
                                            {"S8", "Hadi", "II General", "03", "Belum tersimpan"},
                                            {"S9", "Indah", "TK B General", "01", "Belum tersimpan"}}));
    // Row for row the same students.
    for (int row = 0; row < LvGetItemCount(gForm9PrevList); ++row)
      EXPECT_EQ(LvGetItemText(gForm9PrevList, row, 0), LvGetItemText(gForm9NextList, row, 0));
    Click(gForm9SelesaiButton);
  });
  EXPECT_EQ(r, 0);
  EXPECT_EQ(gForm9Window, 0);
}

TEST_F(PromotionWindowTest, ProcessWritesTheNewYearsClasses) {
  fintest::Exec(gDb, kSchool);
  RunPromotion([&] {
    Process();
    EXPECT_TRUE(WinIsWindowEnabled(gForm9ProcessButton));
    EXPECT_EQ(PbGetPos(gForm9Progress), 100);
    Rows status;
    for (const auto& row : Sorted(gForm9NextList)) status.push_back({row[0], row[4]});
    EXPECT_EQ(status, (Rows{{"S1", "Sukses disimpan"},
                            {"S10", "Sukses disimpan"},
                            {"S2", "Sukses disimpan"},
                            {"S3", "Sukses disimpan"},
                            {"S6", "Sukses disimpan"},
                            {"S7", "Sukses disimpan"},
                            {"S8", "Belum tersimpan"},   // has a class in 2024/2025 already
                            {"S9", "Sukses disimpan"}}));
    // A second run finds everything written and writes nothing.
    Process();
    Click(gForm9SelesaiButton);
  });
  EXPECT_EQ(Db("SELECT Kode, IdSiswa, Kelas, Kategori FROM siswakelas WHERE Tapel='2024/2025' ORDER BY IdSiswa"),
            (Rows{{"20242025S1", "S1", "II General", "01"},
                  {"20242025S10", "S10", "III General", ""},
                  {"20242025S2", "S2", "SD Lulus General", "02"},
                  {"20242025S3", "S3", "SMA Lulus IPA", "01"},
                  {"20242025S6", "S6", "VIII lulus", "01"},
                  {"20242025S7", "S7", "XI ", "01"},
                  {"20242025S8", "S8", "III General", "03"},
                  {"20242025S9", "S9", "TK B General", "01"}}));
  // Graduates become inactive; "lulus" in lower case is no graduation; S10's status is left as it was.
  EXPECT_EQ(Db("SELECT Id, Status FROM siswa ORDER BY Id"),
            (Rows{{"S1", "Aktif"}, {"S10", "DeAktif"}, {"S2", "DeAktif"}, {"S3", "DeAktif"}, {"S4", "Aktif"},
                  {"S5", "DeAktif"}, {"S6", "Aktif"}, {"S7", "Aktif"}, {"S8", "Aktif"}, {"S9", "Aktif"}}));
}

TEST_F(PromotionWindowTest, ProgressAfterEachRowAndTheLastGrade) {
  fintest::Exec(gDb,
                "INSERT INTO siswa (Id, Nama, Status) VALUES ('A', 'a', 'Aktif'), ('B', 'b', 'Aktif'),"
                " ('C', 'c', 'Aktif'), ('D', 'd', 'Aktif');"
                "INSERT INTO siswakelas (IdSiswa, Kelas, Tapel) VALUES ('A', 'IV A', '2023/2024'),"
                " ('B', 'IV A', '2023/2024'), ('C', 'IV A', '2023/2024'), ('D', 'IV A', '2023/2024');"
                "CREATE TRIGGER probe AFTER INSERT ON siswakelas BEGIN SELECT probe(); END;");
  ASSERT_EQ(sqlite3_create_function(gDb, "probe", 0, SQLITE_UTF8, nullptr, Probe, nullptr, nullptr), SQLITE_OK);
  RunPromotion([&] {
    EXPECT_EQ(gPickClass, "IV");
    Process();
    EXPECT_EQ(gProbed, (std::vector<int>{1, 25, 50, 75}));   // seen while each row is written
    EXPECT_EQ(PbGetPos(gForm9Progress), 100);
    Click(gForm9SelesaiButton);
  });
}

TEST_F(PromotionWindowTest, TheRunIsWrittenWholeOrNotAtAll) {
  fintest::Exec(gDb, kSchool);
  struct Case {
    const char* name;
    const char* setup;
    const char* error;
  } cases[] = {
      {"a class row refused", "CREATE TRIGGER refuse BEFORE INSERT ON siswakelas WHEN NEW.IdSiswa='S9' "
                              "BEGIN SELECT RAISE(ABORT, 'ditolak'); END;",
       "SQL error1: ditolak"},
      {"a graduate's status refused", "CREATE TRIGGER refuse BEFORE UPDATE ON siswa WHEN NEW.Id='S3' "
                                      "BEGIN SELECT RAISE(ABORT, 'status terkunci'); END;",
       "SQL error2: status terkunci"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fintest::Exec(gDb, std::string("DROP TRIGGER IF EXISTS refuse;") + c.setup);
    RunPromotion([&] {
      ExpectMsgBox(c.error, "Info", IDOK, MB_OK);
      ExpectMsgBox(kForm9Failed, "Info", IDOK, MB_OK | MB_ICONINFORMATION);   // and no "Selesai"
      Click(gForm9ProcessButton);
      VerifySeams();
      EXPECT_TRUE(WinIsWindowEnabled(gForm9ProcessButton));
      for (const auto& row : Sorted(gForm9NextList)) EXPECT_EQ(row[4], "Belum tersimpan") << row[0];
      Click(gForm9SelesaiButton);
    });
    // Every class as it was: no class row of the new year but S8's, no graduate made inactive.
    EXPECT_EQ(Db("SELECT IdSiswa FROM siswakelas WHERE Tapel='2024/2025'"), (Rows{{"S8"}}));
    EXPECT_EQ(Db("SELECT Id FROM siswa WHERE Status='DeAktif' ORDER BY Id"), (Rows{{"S10"}, {"S5"}}));
  }
}

TEST_F(PromotionWindowTest, ARunDuringAnotherProgramsReadFailsWholeAndTheRetryLands) {
  fintest::Exec(gDb, kSchool);
  fintest::OtherProgram other(WorkFile("data.db3"));
  other.holdReadLock();   // a read in progress
  RunPromotion([&] {
    ExpectMsgBox("SQL error: database is locked", "Info", IDOK, MB_OK);
    ExpectMsgBox(kForm9Failed, "Info", IDOK, MB_OK | MB_ICONINFORMATION);
    Click(gForm9ProcessButton);
    VerifySeams();
    EXPECT_TRUE(sqlite3_get_autocommit(gDb));
    other.release();
    EXPECT_EQ(other.Query("SELECT count(*) FROM siswakelas WHERE Tapel='2024/2025'"), (Rows{{"1"}}));
    Process();   // again, the file free
    Click(gForm9SelesaiButton);
  });
  EXPECT_EQ(other.Query("SELECT count(*) FROM siswakelas WHERE Tapel='2024/2025'"), (Rows{{"8"}}));
}

TEST_F(PromotionWindowTest, EmptyLastYearOpensTheImportInstead) {
  // Students of the working year only, and last year's graduates: nobody to promote.
  fintest::Exec(gDb,
                "INSERT INTO siswa (Id, Nama, Status) VALUES ('S1', 'Ani', 'Aktif');"
                "INSERT INTO siswakelas (IdSiswa, Kelas, Tapel) VALUES ('S1', 'I General', '2024/2025'),"
                " ('S1', 'SD Lulus General', '2023/2024');");
  bool driven = false;
  OnModal([&](QWidget*) {
    driven = true;
    EXPECT_EQ(WinGetWindowText(gFormImportWindow), "Copy Paste Data");
    EXPECT_EQ(gFormMode, "Siswa");
    EXPECT_EQ(LvGetColumnCount(gFormImportList), 8);
    EXPECT_EQ(gForm9Window, 0);   // the promotion window was never shown
    Click(gFormImportTutupButton);
  });
  EXPECT_EQ(FORM9_Show(0, 1, 0), 0);
  EXPECT_TRUE(driven);
  EXPECT_EQ(gForm9Window, 0);
  EXPECT_EQ(gFormImportWindow, 0);
}

// Last year's students that cannot be read are no empty year: the failure is shown, nobody is promoted from a part of
// them, and no import is offered in their place (an unscripted window would fail the test).
TEST_F(PromotionWindowTest, ALastYearThatCannotBeReadPromotesNobodyAndOpensNoImport) {
  fintest::Exec(gDb, kSchool);
  {
    fintest::ReadDenied denied(gDb, "siswa", "Nama");
    ExpectMsgBox("SQL error: " + denied.message(), "Info", IDOK, MB_OK);
    EXPECT_EQ(FORM9_Show(0, 1, 0), 0);
    VerifySeams();
  }
  EXPECT_EQ(gForm9Window, 0);
  EXPECT_EQ(gFormImportWindow, 0);
  EXPECT_EQ(fintest::RowsInFile(WorkFile("data.db3"), "SELECT count(*) FROM siswakelas WHERE Tapel='2024/2025'"),
            (Rows{{"1"}}));
  // Read whole, the promotion opens as ever.
  RunPromotion([&] {
    EXPECT_EQ(LvGetItemCount(gForm9PrevList), 8);
    Click(gForm9SelesaiButton);
  });
}

TEST_F(PromotionWindowTest, CloseBoxReloadsTheStudentList) {
  fintest::Exec(gDb, kSchool);
  fintest::Exec(gDb, "INSERT INTO siswakelas (IdSiswa, Kelas, Tapel) VALUES ('S4', 'DO', '2024/2025');");
  StudentListStandIns();
  RunPromotion([&] {
    Process();
    WinWidget(gForm9Window)->close();
  });
  EXPECT_EQ(gForm9Window, 0);
  std::vector<std::string> classes;
  for (int i = 0; i < CbGetCount(gForm2ClassCombo); ++i) classes.push_back(CbGetItemText(gForm2ClassCombo, i));
  // Classes of 2024/2025 but 'DO'; graduates' classes are kept.
  EXPECT_EQ(classes, (std::vector<std::string>{"II General", "III General", "SD Lulus General", "SMA Lulus IPA",
                                               "TK B General", "VIII lulus", "XI "}));
  EXPECT_EQ(CtlGetText(gForm2ClassCombo), "II General");
  EXPECT_EQ(gTargetListView, gForm2List);
  ASSERT_EQ(LvGetColumnCount(gForm2List), 12);
  EXPECT_EQ(LvGetColumnText(gForm2List, 9), "KELAS");
  EXPECT_EQ(LvGetColumnText(gForm2List, 11), "KET");
  // Active students of that class in any year (S10, in II General last year, is no longer active).
  std::vector<std::string> ids;
  for (int r = 0; r < LvGetItemCount(gForm2List); ++r) ids.push_back(LvGetItemText(gForm2List, r, 0));
  EXPECT_EQ(ids, (std::vector<std::string>{"S1"}));
}

TEST_F(PromotionWindowTest, CloseBoxReloadsTheStudentListItWasOpenedFromWhateverIsClickedMeanwhile) {
  fintest::Exec(gDb, kSchool);
  // S1 is in II General this year with another category than in the years before; S12, active, was in II General
  // two years ago.
  fintest::Exec(gDb, "INSERT INTO siswakelas (Kode, IdSiswa, Kelas, Kategori, Tapel) VALUES"
                     " ('20242025S1', 'S1', 'II General', '05', '2024/2025'),"
                     " ('20222023S12', 'S12', 'II General', '07', '2022/2023');"
                     "INSERT INTO siswa (Id, Nama, Status) VALUES ('S12', 'Lia', 'Aktif');");
  auto* area = new QMdiArea;
  area->resize(1200, 700);
  gMdiClient = WinHandle(area);
  WinWatchWindow(gMdiClient);
  area->show();
  auto ids = [](Hwnd list) {
    std::vector<std::string> out;
    for (int r = 0; r < LvGetItemCount(list); ++r) out.push_back(LvGetItemText(list, r, 0));
    std::sort(out.begin(), out.end());
    return out;
  };
  // The first student list shows II General of the working year, the second III General.
  const Hwnd first = static_cast<Hwnd>(FORM2_Show(gMdiClient, 1, 0));
  const Hwnd firstList = gForm2List, firstCombo = gForm2ClassCombo, firstToolbar = gForm2Toolbar;
  ASSERT_EQ(ids(firstList), (std::vector<std::string>{"S1"}));
  const Hwnd second = static_cast<Hwnd>(FORM2_Show(gMdiClient, 1, 0));
  fintest::Choose(gForm2ClassCombo, "III General");
  const Hwnd secondList = gForm2List, secondCombo = gForm2ClassCombo;
  ASSERT_EQ(ids(secondList), (std::vector<std::string>{"S8"}));
  bool ran = false;
  OnModal([&](QWidget*) {
    ran = true;
    fintest::ClickListRow(secondList, 0);
    EXPECT_EQ(gForm2Window, second);
    WinWidget(gForm9Window)->close();
  });
  ASSERT_EQ(TbClickButton(firstToolbar, gForm2PromotionButtonId), 1);
  EXPECT_TRUE(ran);
  EXPECT_EQ(gForm9Window, 0);
  // The first list is reloaded: its first class, active students of the working year; the second is left as it was.
  EXPECT_EQ(CtlGetText(firstCombo), "II General");
  EXPECT_EQ(ids(firstList), (std::vector<std::string>{"S1"}));
  ASSERT_EQ(LvGetColumnText(firstList, 10), "KATEGORI");
  EXPECT_EQ(LvGetItemText(firstList, 0, 10), "05");   // the category of the year listed
  EXPECT_EQ(CtlGetText(secondCombo), "III General");
  EXPECT_EQ(ids(secondList), (std::vector<std::string>{"S8"}));
  for (Hwnd w : {first, second}) WinDestroyWindow(w);
  delete area;
  gMdiClient = 0;
}

TEST_F(PromotionWindowTest, SelesaiClosesWithoutTheReload) {
  fintest::Exec(gDb, kSchool);
  StudentListStandIns();
  RunPromotion([&] { Click(gForm9SelesaiButton); });
  EXPECT_EQ(gForm9Window, 0);
  EXPECT_EQ(CbGetCount(gForm2ClassCombo), 1);
  EXPECT_EQ(CtlGetText(gForm2ClassCombo), "as it was");
  EXPECT_EQ(LvGetColumnCount(gForm2List), 0);
}

TEST_F(PromotionWindowTest, ReloadWithTheStudentListGone) {
  fintest::Exec(gDb, kSchool);
  gForm2ClassCombo = 0;
  gForm2List = 0;
  RunPromotion([&] { WinSendMessage(gForm9Window, WM_SYSCOMMAND, SC_CLOSE, 0); });   // the statements still run
  EXPECT_EQ(gForm9Window, 0);
  EXPECT_EQ(gTargetListView, 0);
}

}  // namespace
