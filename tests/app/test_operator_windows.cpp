// The operator list "Data User" and its editor "User Admin" driven as the super user would: the list of every
// operator but the super user, adding (default password, rights as ticked), editing (rights only), deleting with the
// question, names already present, names and rights holding apostrophes, photos, and the two exports.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QImage>
#include <QLabel>
#include <QMdiArea>
#include <QTableView>
#include <QTest>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/globals.h"
#include "app/operator_editor_window.h"
#include "app/operator_list_window.h"
#include "common/globals.h"
#include "framework/controls.h"
#include "framework/dialogs.h"
#include "framework/fonts.h"
#include "framework/form_runtime.h"
#include "framework/window_system.h"
#include "support/fixtures.h"
#include "support/locked_folder.h"
#include "support/other_program.h"
#include "support/seams_fixture.h"
#include "support/operator.h"

using fintest::Click;
using fintest::Type;

namespace {

namespace fs = std::filesystem;
using Rows = std::vector<std::vector<std::string>>;

constexpr const char* kSqlInfo = "Info";

class OperatorWindowsTest : public fintest::SeamsTest {
 protected:
  void SetUp() override {
    gDb = fintest::CreateDatabase(WorkFile("data.db3"));
    fintest::Exec(gDb,
                  "INSERT INTO useradmin (User, Password, Akses) VALUES "
                  "('budi', 'b', '000000000001'), ('ani', 'rahasia', '101'), ('o''neil', 'pa''ss', '110000000000');");
    gEditMode = -1;
    gPhotoPath.clear();
    gSql.clear();
    gTargetListView = 0;
    area_ = new QMdiArea;
    area_->resize(1200, 700);
    gMdiClient = WinHandle(area_);
    WinWatchWindow(gMdiClient);
    area_->show();
  }
  void TearDown() override {
    if (IsWindow(gFormAdminWindow)) WinDestroyWindow(gFormAdminWindow);
    if (IsWindow(gForm7Window)) WinDestroyWindow(gForm7Window);
    gMdiClient = 0;
    gTargetListView = 0;
    gPhotoPath.clear();
    delete area_;
    sqlite3_close(gDb);
    gDb = nullptr;
    for (const char* v : {"FIN_PLUGIN_RECORD", "FIN_PLUGIN_RECORD_INTS"}) unsetenv(v);
  }

  Hwnd OpenList() {
    const std::intptr_t w = FORM7_Show(gMdiClient, 1, 0);
    EXPECT_TRUE(IsWindow(w));
    return w;
  }
  // The list's rows as texts, column by column.
  static Rows ListRows() {
    Rows rows;
    for (int r = 0; r < LvGetItemCount(gForm7List); ++r) {
      std::vector<std::string> row;
      for (int c = 0; c < LvGetColumnCount(gForm7List); ++c) row.push_back(LvGetItemText(gForm7List, r, c));
      rows.push_back(row);
    }
    return rows;
  }
  static int RowOf(const std::string& name) {
    for (int r = 0; r < LvGetItemCount(gForm7List); ++r)
      if (LvGetItemText(gForm7List, r, 0) == name) return r;
    return -1;
  }
  Rows Table() { return fintest::Query(gDb, "SELECT User, Password, Akses FROM useradmin ORDER BY rowid"); }

  // Presses a toolbar button of the list; when it opens the editor, `drive` runs inside the editor's loop.
  void Press(int id, std::function<void()> drive = nullptr) {
    if (drive) OnModal([drive](QWidget*) { drive(); });
    ASSERT_EQ(TbClickButton(gForm7Toolbar, id), 1);
  }
  // A click of the operator on a row of the editor's access list.
  static void ClickAccessRow(int row) {
    auto* lv = qobject_cast<QTableView*>(WinWidget(gFormAdminAccessList));
    ASSERT_NE(lv, nullptr);
    const QRect r = lv->visualRect(lv->model()->index(row, 1));
    ASSERT_TRUE(r.isValid());
    QTest::mouseClick(lv->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
  }
  static std::string AccessCells() {
    std::string s;
    for (int r = 0; r < LvGetItemCount(gFormAdminAccessList); ++r)
      s += "[" + LvGetItemText(gFormAdminAccessList, r, 2) + "]";
    return s;
  }
  void WriteBitmap(const std::string& path, Qt::GlobalColor color) {
    QImage img(20, 10, QImage::Format_RGB32);
    img.fill(color);
    ASSERT_TRUE(img.save(QString::fromStdString(path), "BMP"));
  }
  void InstallRecorder(const std::string& name) {
    fs::copy_file(std::string(FIN_BINARY_DIR) + "/tests/plugins/libfin_plugin_recorder.so", ProgramFile(name),
                  fs::copy_options::overwrite_existing);
    setenv("FIN_PLUGIN_RECORD", WorkFile("record.txt").c_str(), 1);
  }

  QMdiArea* area_ = nullptr;
};

// ---- the list ------------------------------------------------------------------------------------------------------
TEST_F(OperatorWindowsTest, ListShowsEveryOperatorButTheSuperUserInNameOrder) {
  const Hwnd w = OpenList();
  EXPECT_EQ(w, gForm7Window);
  EXPECT_EQ(WinKindOf(w), WIN_MDI_CHILD);
  EXPECT_EQ(WinGetClassName(w), "FORM_FINANCE_FORM7_CLASS");
  EXPECT_EQ(WinGetWindowText(w), "Data User");
  EXPECT_EQ(WinGetDlgCtrlID(w), 111);
  EXPECT_TRUE(WinIsZoomed(w));
  EXPECT_EQ(LvGetColumnCount(gForm7List), 3);
  EXPECT_EQ(LvGetColumnText(gForm7List, 0), "USER");
  EXPECT_EQ(LvGetColumnText(gForm7List, 1), "OPR");
  EXPECT_EQ(LvGetColumnText(gForm7List, 2), "AKSES");
  EXPECT_EQ(ListRows(), (Rows{{"ani", "OPERATOR", "101"},
                              {"budi", "OPERATOR", "000000000001"},
                              {"o'neil", "OPERATOR", "110000000000"}}));
  EXPECT_EQ(gTargetListView, gForm7List);
  // Toolbar of five buttons in a rebar; the list right below it, with the focus.
  EXPECT_EQ(WinGetDlgCtrlID(gForm7Rebar), 5000);
  EXPECT_EQ(WinGetDlgCtrlID(gForm7Toolbar), 5100);
  EXPECT_EQ(WinGetDlgCtrlID(gForm7List), 1000);
  EXPECT_EQ(TbGetButtonCount(gForm7Toolbar), 5);
  EXPECT_EQ(WinGetWindowRect(gForm7List).top, CtlGetHeight(gForm7Rebar));
  EXPECT_EQ(WinGetWindowRect(gForm7List).left, 0);
  EXPECT_EQ(WinGetFocus(), gForm7List);
  // The rebar spans the window.
  EXPECT_EQ(CtlGetWidth(gForm7Rebar), WinGetClientRect(w).width());
  WinDestroyWindow(w);
  EXPECT_EQ(gForm7Window, 0);
}

TEST_F(OperatorWindowsTest, ListWithOnlyTheSuperUserIsEmpty) {
  fintest::Exec(gDb, "DELETE FROM useradmin WHERE User<>'ketua'");
  OpenList();
  EXPECT_EQ(LvGetItemCount(gForm7List), 0);
}

TEST_F(OperatorWindowsTest, FailingListStatementShowsTheError) {
  fintest::Exec(gDb, "DROP TABLE useradmin");
  ExpectMsgBox("SQL error: no such table: useradmin", kSqlInfo, IDOK, MB_OK);
  OpenList();
  EXPECT_EQ(LvGetItemCount(gForm7List), 0);
}

// ---- adding --------------------------------------------------------------------------------------------------------
TEST_F(OperatorWindowsTest, AddGivesTheDefaultPasswordAndTheTickedRights) {
  OpenList();
  ExpectMsgBox("Data berhasil disimpan..", "Entry Data..", IDOK, MB_OK | MB_ICONINFORMATION);
  bool checked = false;
  Press(gForm7AddId, [&] {
    ASSERT_TRUE(IsWindow(gFormAdminWindow));
    EXPECT_EQ(WinGetWindowText(gFormAdminWindow), "User Admin");
    EXPECT_EQ(WinGetClassName(gFormAdminWindow), "FORM_FINANCE_FORMADMIN_CLASS");
    EXPECT_FALSE(WinIsWindowEnabled(gForm7Window));   // modal over the list
    EXPECT_EQ(gEditMode, 0);
    EXPECT_EQ(CtlGetText(gFormAdminNameEdit), "");
    ASSERT_EQ(LvGetItemCount(gFormAdminAccessList), 12);
    EXPECT_EQ(AccessCells(), "[1][1][1][1][1][1][1][1][1][1][1][1]");
    Type(gFormAdminNameEdit, "Dodi");
    EXPECT_EQ(CtlGetText(gFormAdminNameEdit), "dodi");   // lower case
    ClickAccessRow(1);
    ClickAccessRow(4);
    ClickAccessRow(11);
    ClickAccessRow(4);   // back to "1"
    EXPECT_EQ(AccessCells(), "[1][0][1][1][1][1][1][1][1][1][1][0]");
    checked = true;
    Click(gFormAdminSaveButton);
  });
  EXPECT_TRUE(checked);
  EXPECT_EQ(gFormAdminWindow, 0);
  EXPECT_TRUE(WinIsWindowEnabled(gForm7Window));
  EXPECT_EQ(fintest::Query(gDb, "SELECT Password, Akses FROM useradmin WHERE User='dodi'"),
            (Rows{{"5927", "101111111110"}}));
  // Listed in name order after the save.
  EXPECT_EQ(ListRows()[2], (std::vector<std::string>{"dodi", "OPERATOR", "101111111110"}));
  EXPECT_EQ(LvGetItemCount(gForm7List), 4);
}

TEST_F(OperatorWindowsTest, AddingAnExistingNameUpdatesItsRightsOnly) {
  OpenList();
  ExpectMsgBox("Data berhasil disimpan..", "Entry Data..");
  Press(gForm7AddId, [&] {
    Type(gFormAdminNameEdit, "ani");
    ClickAccessRow(0);
    Click(gFormAdminSaveButton);
  });
  EXPECT_EQ(fintest::Query(gDb, "SELECT Password, Akses FROM useradmin WHERE User='ani'"),
            (Rows{{"rahasia", "011111111111"}}));
  EXPECT_EQ(Table().size(), 4u);   // no second row
  EXPECT_EQ(ListRows()[0], (std::vector<std::string>{"ani", "OPERATOR", "011111111111"}));
}

// Two programs on one file (the program started twice, or two desks on a shared folder): the other program adds the
// same operator right after this editor has counted the name. The editor counts and writes in one transaction, so the
// other program's row cannot come in between: the name stands once.
TEST_F(OperatorWindowsTest, AnOperatorAnotherProgramAddsAfterTheCountStandsOnce) {
  OpenList();
  const std::string path = WorkFile("data.db3");
  fintest::OtherProgram other(path);
  ExpectMsgBox("Data berhasil disimpan..", "Entry Data..", IDOK, MB_OK | MB_ICONINFORMATION);
  Press(gForm7AddId, [&] {
    Type(gFormAdminNameEdit, "eko");
    fintest::WritesAfterCheck between(gDb, other, "Select count(*) From useradmin WHERE User=",
                                      "INSERT INTO useradmin (User, Password, Akses) VALUES ('eko', 'e', '100000000000')");
    Click(gFormAdminSaveButton);
    EXPECT_TRUE(between.fired());
    EXPECT_FALSE(between.written());   // held off until the editor's row is written
  });
  EXPECT_EQ(fintest::RowsInFile(path, "SELECT Password, Akses FROM useradmin WHERE User='eko'"),
            (Rows{{"5927", "111111111111"}}));
}

TEST_F(OperatorWindowsTest, EmptyNameIsRefusedAndNothingIsWritten) {
  OpenList();
  const Rows before = Table();
  ExpectMsgBox("Gagal menyimpan, kolom Kode atau Nama belum terisi..", "Entry Data..", IDOK,
               MB_OK | MB_ICONINFORMATION);
  Press(gForm7AddId, [&] { Click(gFormAdminSaveButton); });
  EXPECT_EQ(gFormAdminWindow, 0);   // the editor closes all the same
  EXPECT_EQ(Table(), before);
  EXPECT_EQ(LvGetItemCount(gForm7List), 3);
}

TEST_F(OperatorWindowsTest, ClosingTheEditorFromItsTitleBarSavesNothing) {
  OpenList();
  const Rows before = Table();
  Press(gForm7AddId, [&] {
    Type(gFormAdminNameEdit, "eko");
    WinWidget(gFormAdminWindow)->close();
  });
  EXPECT_EQ(gFormAdminWindow, 0);
  EXPECT_EQ(Table(), before);
  EXPECT_TRUE(WinIsWindowEnabled(gForm7Window));
}

// ---- editing -------------------------------------------------------------------------------------------------------
TEST_F(OperatorWindowsTest, EditChangesTheRightsAndLeavesThePassword) {
  OpenList();
  LvSelectItem(gForm7List, RowOf("budi"));
  ExpectMsgBox("Data berhasil disimpan..", "Entry Data..");
  Press(gForm7EditId, [&] {
    EXPECT_EQ(gEditMode, 1);
    EXPECT_EQ(CtlGetText(gFormAdminNameEdit), "budi");
    EXPECT_EQ(AccessCells(), "[0][0][0][0][0][0][0][0][0][0][0][1]");
    ClickAccessRow(2);
    Click(gFormAdminSaveButton);
  });
  EXPECT_EQ(Table(), (Rows{{"ketua", "5927", "111111111111"},
                           {"budi", "b", "001000000001"},
                           {"ani", "rahasia", "101"},
                           {"o'neil", "pa'ss", "110000000000"}}));
  EXPECT_EQ(ListRows()[1], (std::vector<std::string>{"budi", "OPERATOR", "001000000001"}));
}

TEST_F(OperatorWindowsTest, ShorterAccessStringShowsEmptyCellsAndIsKeptUnchanged) {
  OpenList();
  LvSelectItem(gForm7List, RowOf("ani"));
  ExpectMsgBox("Data berhasil disimpan..", "Entry Data..");
  Press(gForm7EditId, [&] {
    EXPECT_EQ(AccessCells(), "[1][0][1][][][][][][][][][]");
    ClickAccessRow(5);   // an empty cell does not toggle
    EXPECT_EQ(AccessCells(), "[1][0][1][][][][][][][][][]");
    Click(gFormAdminSaveButton);
  });
  EXPECT_EQ(fintest::Query(gDb, "SELECT Akses FROM useradmin WHERE User='ani'"), (Rows{{"101"}}));
}

TEST_F(OperatorWindowsTest, RenamingInEditModeMakesANewOperator) {
  OpenList();
  LvSelectItem(gForm7List, RowOf("budi"));
  ExpectMsgBox("Data berhasil disimpan..", "Entry Data..");
  Press(gForm7EditId, [&] {
    Type(gFormAdminNameEdit, "budi2");
    Click(gFormAdminSaveButton);
  });
  EXPECT_EQ(fintest::Query(gDb, "SELECT User, Password, Akses FROM useradmin WHERE User LIKE 'budi%' ORDER BY User"),
            (Rows{{"budi", "b", "000000000001"}, {"budi2", "5927", "000000000001"}}));
}

TEST_F(OperatorWindowsTest, EditWithoutAChosenOperatorNeverWritesEmptyRights) {
  OpenList();
  const Rows before = Table();
  struct Case {
    const char* name;
  } cases[] = {{""}, {"ketua"}, {"ani"}, {"baru"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LvSetSelectionMark(gForm7List, -1);
    ExpectMsgBox("Gagal menyimpan, kolom Kode atau Nama belum terisi..", "Entry Data..");
    Press(gForm7EditId, [&] {
      EXPECT_EQ(CtlGetText(gFormAdminNameEdit), "");
      EXPECT_EQ(AccessCells(), "[][][][][][][][][][][][]");
      ClickAccessRow(3);
      EXPECT_EQ(AccessCells(), "[][][][][][][][][][][][]");
      Type(gFormAdminNameEdit, c.name);
      Click(gFormAdminSaveButton);
    });
    EXPECT_EQ(gFormAdminWindow, 0);
    VerifySeams();
  }
  // The super user (and everybody else) keeps a usable access string.
  EXPECT_EQ(Table(), before);
}

TEST_F(OperatorWindowsTest, NamesAndRightsWithApostrophesStayInTheirOwnRow) {
  OpenList();
  // A new name holding apostrophes is stored as typed.
  const std::string tricky = "x' or ''='";
  ExpectMsgBox("Data berhasil disimpan..", "Entry Data..");
  Press(gForm7AddId, [&] {
    Type(gFormAdminNameEdit, tricky);
    Click(gFormAdminSaveButton);
  });
  EXPECT_EQ(fintest::Query(gDb, "SELECT Password, Akses FROM useradmin WHERE User='x'' or ''''='''"),
            (Rows{{"5927", "111111111111"}}));
  // Saving it again finds that row alone: its rights change, no other row does and no second row is made.
  LvSelectItem(gForm7List, RowOf(tricky));
  ExpectMsgBox("Data berhasil disimpan..", "Entry Data..");
  Press(gForm7EditId, [&] {
    EXPECT_EQ(CtlGetText(gFormAdminNameEdit), tricky);
    ClickAccessRow(0);
    Click(gFormAdminSaveButton);
  });
  EXPECT_EQ(Table(), (Rows{{"ketua", "5927", "111111111111"},
                           {"budi", "b", "000000000001"},
                           {"ani", "rahasia", "101"},
                           {"o'neil", "pa'ss", "110000000000"},
                           {tricky, "5927", "011111111111"}}));
  // The statements themselves.
  EXPECT_EQ(FORMADMIN_CountSql("o'neil"), "Select count(*) From useradmin WHERE User='o''neil'");
  EXPECT_EQ(FORMADMIN_UpdateSql("o'neil", "1'1"), "Update useradmin set Akses='1''1' where user='o''neil'");
  EXPECT_EQ(FORMADMIN_InsertSql("o'neil", "1"),
            "Insert Into useradmin (User, Password, Akses) Values('o''neil','5927','1')");
  EXPECT_EQ(FORM7_DeleteSql("a' or '1'='1"), "Delete From useradmin Where User='a'' or ''1''=''1'");
}

TEST_F(OperatorWindowsTest, FailingCountWritesNothingAndTheEditorCloses) {
  OpenList();
  fintest::Exec(gDb, "ALTER TABLE useradmin RENAME TO useradmin_old");
  ExpectMsgBox("SQL error: no such table: useradmin", kSqlInfo, IDOK, MB_OK);   // the count
  ExpectMsgBox("SQL error: no such table: useradmin", kSqlInfo, IDOK, MB_OK);   // the refill
  Press(gForm7AddId, [&] {
    Type(gFormAdminNameEdit, "eko");
    Click(gFormAdminSaveButton);
  });
  EXPECT_EQ(gFormAdminWindow, 0);
  EXPECT_EQ(fintest::Query(gDb, "SELECT count(*) FROM useradmin_old WHERE User='eko'"), (Rows{{"0"}}));
  EXPECT_EQ(LvGetItemCount(gForm7List), 0);   // refilled from a failing statement
}

TEST_F(OperatorWindowsTest, FailingWriteShowsTheErrorAndNoSuccess) {
  OpenList();
  fintest::Exec(gDb, "CREATE TRIGGER no_insert BEFORE INSERT ON useradmin BEGIN SELECT RAISE(ABORT, 'ditolak'); END;");
  ExpectMsgBox("SQL error: ditolak", kSqlInfo, IDOK, MB_OK);
  Press(gForm7AddId, [&] {
    Type(gFormAdminNameEdit, "eko");
    Click(gFormAdminSaveButton);
  });
  EXPECT_EQ(gFormAdminWindow, 0);
  EXPECT_EQ(LvGetItemCount(gForm7List), 3);
}

// ---- deleting ------------------------------------------------------------------------------------------------------
TEST_F(OperatorWindowsTest, EachListWorksOnItsOwnRows) {
  const Hwnd older = OpenList();
  const Hwnd newer = OpenList();
  ASSERT_NE(older, newer);
  const Hwnd olderList = WinGetDlgItem(older, gForm7ListId), newerList = WinGetDlgItem(newer, gForm7ListId);
  const Hwnd olderToolbar = WinGetDlgItem(WinGetDlgItem(older, gForm7RebarId), gForm7ToolbarId);
  const auto rowOf = fintest::RowWithText;
  auto names = [](Hwnd list) {
    std::vector<std::string> out;
    for (int r = 0; r < LvGetItemCount(list); ++r) out.push_back(LvGetItemText(list, r, 0));
    return out;
  };
  LvSelectItem(olderList, rowOf(olderList, "ani"));
  LvSelectItem(newerList, rowOf(newerList, "budi"));

  // Edit in the older window opens the operator chosen there; the save refills that window's list.
  ExpectMsgBox("Data berhasil disimpan..", "Entry Data..");
  OnModal([](QWidget*) {
    EXPECT_EQ(CtlGetText(gFormAdminNameEdit), "ani");
    ClickAccessRow(1);
    Click(gFormAdminSaveButton);
  });
  ASSERT_EQ(TbClickButton(olderToolbar, gForm7EditId), 1);
  EXPECT_EQ(Table()[2], (std::vector<std::string>{"ani", "rahasia", "111"}));
  EXPECT_EQ(LvGetItemText(olderList, rowOf(olderList, "ani"), 2), "111");
  EXPECT_EQ(LvGetItemText(newerList, rowOf(newerList, "ani"), 2), "101");   // the other list is not refilled

  // Delete in the older window deletes the operator chosen there.
  LvSelectItem(olderList, rowOf(olderList, "o'neil"));
  ExpectMsgBox(kForm7DeleteQuestion, kForm7DeleteCaption, IDYES, MB_YESNO | MB_ICONQUESTION);
  ASSERT_EQ(TbClickButton(olderToolbar, gForm7DeleteId), 1);
  EXPECT_EQ(Table(), (Rows{{"ketua", "5927", "111111111111"}, {"budi", "b", "000000000001"},
                           {"ani", "rahasia", "111"}}));
  EXPECT_EQ(names(olderList), (std::vector<std::string>{"ani", "budi"}));
  EXPECT_EQ(names(newerList), (std::vector<std::string>{"ani", "budi", "o'neil"}));
  for (Hwnd w : {older, newer}) WinDestroyWindow(w);
}

TEST_F(OperatorWindowsTest, TheEditorRefillsTheListItWasOpenedFromWhateverIsClickedMeanwhile) {
  const Hwnd older = OpenList();
  const Hwnd newer = OpenList();
  const Hwnd olderList = WinGetDlgItem(older, gForm7ListId), newerList = WinGetDlgItem(newer, gForm7ListId);
  const Hwnd olderToolbar = WinGetDlgItem(WinGetDlgItem(older, gForm7RebarId), gForm7ToolbarId);
  const auto rowOf = fintest::RowWithText;
  LvSelectItem(olderList, rowOf(olderList, "ani"));
  ExpectMsgBox("Data berhasil disimpan..", "Entry Data..");
  OnModal([&](QWidget*) {
    EXPECT_EQ(CtlGetText(gFormAdminNameEdit), "ani");
    ClickAccessRow(1);
    // A click on a row of the newer list makes it the current one.
    fintest::ClickListRow(newerList, 0);
    EXPECT_EQ(gForm7Window, newer);
    Click(gFormAdminSaveButton);
  });
  ASSERT_EQ(TbClickButton(olderToolbar, gForm7EditId), 1);
  EXPECT_EQ(Table()[2], (std::vector<std::string>{"ani", "rahasia", "111"}));
  // The list the editor was opened from shows the new rights; the other one is not refilled.
  EXPECT_EQ(LvGetItemText(olderList, rowOf(olderList, "ani"), 2), "111");
  EXPECT_EQ(LvGetItemText(newerList, rowOf(newerList, "ani"), 2), "101");
  for (Hwnd w : {older, newer}) WinDestroyWindow(w);
}

TEST_F(OperatorWindowsTest, DeleteAsksFirstAndNoKeepsTheOperator) {
  OpenList();
  const char* question =
      "Apakah anda yakin akan menghapus record ini? Cobalah koreksi data yang terkait dengan record ini, mungkin bisa "
      "mengakibatkan perubahan referensi data dan mengakibatkan data menjadi rancu..";
  LvSelectItem(gForm7List, RowOf("o'neil"));
  ExpectMsgBox(question, "Confirm Delete", IDNO, MB_YESNO | MB_ICONQUESTION);
  Press(gForm7DeleteId);
  EXPECT_EQ(Table().size(), 4u);
  EXPECT_EQ(LvGetItemCount(gForm7List), 3);

  ExpectMsgBox(question, "Confirm Delete", IDYES, MB_YESNO | MB_ICONQUESTION);
  Press(gForm7DeleteId);
  EXPECT_EQ(Table(), (Rows{{"ketua", "5927", "111111111111"}, {"budi", "b", "000000000001"},
                           {"ani", "rahasia", "101"}}));
  EXPECT_EQ(ListRows(), (Rows{{"ani", "OPERATOR", "101"}, {"budi", "OPERATOR", "000000000001"}}));
}

TEST_F(OperatorWindowsTest, DeleteOfANameWithApostrophesTouchesNoOtherRow) {
  fintest::Exec(gDb, "INSERT INTO useradmin VALUES ('a'' or ''1''=''1', 'p', '1')");
  OpenList();
  LvSelectItem(gForm7List, RowOf("a' or '1'='1"));
  AnswerMsgBox(IDYES);
  Press(gForm7DeleteId);
  EXPECT_EQ(Table().size(), 4u);
  EXPECT_EQ(RowOf("a' or '1'='1"), -1);
  EXPECT_EQ(fintest::Query(gDb, "SELECT count(*) FROM useradmin WHERE User='a'' or ''1''=''1'"), (Rows{{"0"}}));
}

TEST_F(OperatorWindowsTest, DeleteWithoutSelectionRemovesNoListRow) {
  OpenList();
  LvSetSelectionMark(gForm7List, -1);
  AnswerMsgBox(IDYES);
  Press(gForm7DeleteId);
  EXPECT_EQ(gSql, "Delete From useradmin Where User=''");
  EXPECT_EQ(Table().size(), 4u);
  EXPECT_EQ(LvGetItemCount(gForm7List), 3);
}

TEST_F(OperatorWindowsTest, FailingDeleteLeavesTheList) {
  OpenList();
  LvSelectItem(gForm7List, RowOf("ani"));
  fintest::Exec(gDb, "CREATE TRIGGER no_delete BEFORE DELETE ON useradmin BEGIN SELECT RAISE(ABORT, 'ditolak'); END;");
  AnswerMsgBox(IDYES);
  ExpectMsgBox("SQL error: ditolak", kSqlInfo, IDOK, MB_OK);
  Press(gForm7DeleteId);
  EXPECT_EQ(LvGetItemCount(gForm7List), 3);
  EXPECT_EQ(Table().size(), 4u);
}

// ---- photos --------------------------------------------------------------------------------------------------------
TEST_F(OperatorWindowsTest, ChosenPhotoIsCopiedForTheNewOperator) {
  fs::create_directory(WorkFile("image"));
  WriteBitmap(WorkFile("dipilih.bmp"), Qt::red);
  OpenList();
  AnswerFileDialog(WorkFile("dipilih.bmp"));
  ExpectMsgBox("Data berhasil disimpan..", "Entry Data..");
  Press(gForm7AddId, [&] {
    Click(gFormAdminPhotoButton);
    EXPECT_FALSE(qobject_cast<QLabel*>(WinWidget(gFormAdminPhoto))->pixmap().isNull());
    EXPECT_FALSE(fs::exists(WorkFile("image/dodi.bmp")));   // nothing copied before the save
    Type(gFormAdminNameEdit, "dodi");
    Click(gFormAdminSaveButton);
  });
  EXPECT_EQ(gPhotoPath, "");   // forgotten once saved
  EXPECT_EQ(fintest::ReadFile(WorkFile("image/dodi.bmp")), fintest::ReadFile(WorkFile("dipilih.bmp")));
  ASSERT_EQ(fileDialogs().size(), 1u);
  const platform::FileDialogRequest& r = fileDialogs()[0].request;
  EXPECT_EQ(r.title, "Select Bitmap File");
  EXPECT_EQ(r.filter, "Bitmap files (*.bmp)|*.bmp|All Files (*.*)|*.*");
  EXPECT_EQ(r.folder, fs::current_path().string());
  EXPECT_EQ(r.defaultExt, "bmp");
  EXPECT_EQ(r.flags & (OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR), unsigned(OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR));

  // The photo shows when the operator is edited; another photo chosen then replaces it.
  WriteBitmap(WorkFile("lain.bmp"), Qt::blue);
  LvSelectItem(gForm7List, RowOf("dodi"));
  AnswerFileDialog(WorkFile("lain.bmp"));
  ExpectMsgBox("Data berhasil disimpan..", "Entry Data..");
  Press(gForm7EditId, [&] {
    EXPECT_FALSE(qobject_cast<QLabel*>(WinWidget(gFormAdminPhoto))->pixmap().isNull());
    Click(gFormAdminPhotoButton);
    Click(gFormAdminSaveButton);
  });
  EXPECT_EQ(fintest::ReadFile(WorkFile("image/dodi.bmp")), fintest::ReadFile(WorkFile("lain.bmp")));
  EXPECT_FALSE(fs::exists(WorkFile("image/dodi.bmp.baru")));
}

// A photo belongs to the operator it was chosen for: one chosen earlier in the run (for another operator or in the
// student window) is never saved for the next operator, and a photo chosen later for that operator replaces it.
TEST_F(OperatorWindowsTest, BitmapChosenEarlierInTheRunIsNotTheNewOperatorsPhoto) {
  fs::create_directory(WorkFile("image"));
  WriteBitmap(WorkFile("siswa.bmp"), Qt::green);
  WriteBitmap(WorkFile("andi.bmp"), Qt::red);
  WriteBitmap(WorkFile("budi.bmp"), Qt::blue);
  gPhotoPath = WorkFile("siswa.bmp");   // chosen in another photo dialog
  OpenList();
  struct Step {
    const char* name;
    int command;
    const char* photo;   // chosen in the editor; nullptr: none
  } steps[] = {
      {"eko", gForm7AddId, nullptr},    // after a choice in the student window
      {"andi", gForm7AddId, "andi.bmp"},
      {"budi", gForm7AddId, nullptr},   // after andi's photo
      {"budi", gForm7EditId, "budi.bmp"},
      {"andi", gForm7EditId, nullptr},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(std::string(s.name) + (s.photo ? " with a photo" : ""));
    if (s.command == gForm7EditId) LvSelectItem(gForm7List, RowOf(s.name));
    if (s.photo) AnswerFileDialog(WorkFile(s.photo));
    ExpectMsgBox("Data berhasil disimpan..", "Entry Data..");
    Press(s.command, [&] {
      if (s.command == gForm7AddId) {
        EXPECT_TRUE(qobject_cast<QLabel*>(WinWidget(gFormAdminPhoto))->pixmap().isNull());
        Type(gFormAdminNameEdit, s.name);
      }
      if (s.photo) Click(gFormAdminPhotoButton);
      Click(gFormAdminSaveButton);
    });
    EXPECT_EQ(gPhotoPath, "");
  }
  EXPECT_FALSE(fs::exists(WorkFile("image/eko.bmp")));
  EXPECT_EQ(fintest::ReadFile(WorkFile("image/andi.bmp")), fintest::ReadFile(WorkFile("andi.bmp")));
  EXPECT_EQ(fintest::ReadFile(WorkFile("image/budi.bmp")), fintest::ReadFile(WorkFile("budi.bmp")));
  EXPECT_EQ(fileDialogs().size(), 2u);
}

TEST_F(OperatorWindowsTest, PhotoCopiesThatCannotBeMadeAreSilent) {
  WriteBitmap(WorkFile("foto.bmp"), Qt::red);
  // No "image" folder; no photo chosen; a cancelled dialog.
  EXPECT_FALSE(FORMADMIN_CopyPhoto(WorkFile("foto.bmp"), "ani"));
  fs::create_directory(WorkFile("image"));
  EXPECT_FALSE(FORMADMIN_CopyPhoto("", "ani"));
  EXPECT_FALSE(FORMADMIN_CopyPhoto(WorkFile("tidak-ada.bmp"), "ani"));
  EXPECT_TRUE(FORMADMIN_CopyPhoto(WorkFile("foto.bmp"), "ani"));
  WriteBitmap(WorkFile("baru.bmp"), Qt::blue);
  EXPECT_TRUE(FORMADMIN_CopyPhoto(WorkFile("baru.bmp"), "ani"));   // replaces the photo ani had
  EXPECT_EQ(fintest::ReadFile(WorkFile("image/ani.bmp")), fintest::ReadFile(WorkFile("baru.bmp")));
  EXPECT_TRUE(FORMADMIN_CopyPhoto(WorkFile("image/ani.bmp"), "ani"));   // the own photo chosen again: kept
  EXPECT_EQ(fintest::ReadFile(WorkFile("image/ani.bmp")), fintest::ReadFile(WorkFile("baru.bmp")));
  {
    // A photo folder that takes no file: the old photo stays whole and nothing is left beside it.
    fintest::LockedFolder lock(WorkFile("image"));
    if (lock.locked()) {
      EXPECT_FALSE(FORMADMIN_CopyPhoto(WorkFile("foto.bmp"), "ani"));
      EXPECT_EQ(fintest::ReadFile(WorkFile("image/ani.bmp")), fintest::ReadFile(WorkFile("baru.bmp")));
      EXPECT_FALSE(fs::exists(WorkFile("image/ani.bmp.baru")));
    }
  }
  // A name with a path separator has no photo file: nothing is written outside the photo folder.
  fs::create_directory(WorkFile("image/sub"));
  for (const char* name : {"../keluar", "sub/dalam", "sub\\dalam", "..\\keluar"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(FORMADMIN_PhotoFile(name), "");
    EXPECT_FALSE(FORMADMIN_CopyPhoto(WorkFile("foto.bmp"), name));
  }
  EXPECT_FALSE(fs::exists(WorkFile("keluar.bmp")));
  EXPECT_FALSE(fs::exists(WorkFile("image/sub/dalam.bmp")));
  EXPECT_EQ(FORMADMIN_PhotoFile("ani"), "image/ani.bmp");
  EXPECT_EQ(FORMADMIN_PhotoFile("o'neil"), "image/o'neil.bmp");

  OpenList();
  CancelFileDialog();
  ExpectMsgBox("Data berhasil disimpan..", "Entry Data..");
  Press(gForm7AddId, [&] {
    Click(gFormAdminPhotoButton);
    Type(gFormAdminNameEdit, "eko");
    Click(gFormAdminSaveButton);
  });
  EXPECT_EQ(gPhotoPath, "");
  EXPECT_FALSE(fs::exists(WorkFile("image/eko.bmp")));
}

// ---- exports -------------------------------------------------------------------------------------------------------
TEST_F(OperatorWindowsTest, PageAndSheetExportsOfTheList) {
  gSchoolName = "SD Kelvora";
  gSchoolAddress = "Jl. Mawar 1";
  OpenList();
  InstallRecorder("libtablepage.so");
  Press(gForm7PageId);
  EXPECT_EQ(fintest::ReadFile(WorkFile("record.txt")),
            "LAPORAN ITEM DATA OPERATOR;SD Kelvora;Jl. Mawar 1;lll\n"
            "USER;OPR;AKSES\n"
            "ani,OPERATOR,101;budi,OPERATOR,000000000001;o'neil,OPERATOR,110000000000\n");

  gTargetListView = 0;
  InstallRecorder("libtablesheet.so");
  setenv("FIN_PLUGIN_RECORD_INTS", "1", 1);
  Press(gForm7ExcelId);
  EXPECT_EQ(gTargetListView, gForm7List);
  EXPECT_EQ(fintest::ReadFile(WorkFile("record.txt")),
            "3\n3\nUSER,OPR,AKSES;ani,OPERATOR,101;budi,OPERATOR,000000000001;o'neil,OPERATOR,110000000000\n");
  gSchoolName.clear();
  gSchoolAddress.clear();
}

TEST_F(OperatorWindowsTest, OtherCommandsDoNothing) {
  OpenList();
  const Rows before = Table();
  WinSendMessage(gForm7Window, WM_COMMAND, IDCANCEL, 0);   // Esc
  EXPECT_EQ(FORM7_OnToolbar(gForm7Window, 0, 0, 4242), 0);
  EXPECT_TRUE(IsWindow(gForm7Window));
  EXPECT_EQ(Table(), before);
}

// ---- the editor's layout -------------------------------------------------------------------------------------------
TEST_F(OperatorWindowsTest, EditorControlsAsDesigned) {
  OpenList();
  Press(gForm7AddId, [&] {
    struct Ctl {
      Hwnd* window;
      int id;
      const char* cls;
      const char* text;
      int x, y, w, h;
    } table[] = {
        {&gFormAdminHeader, 1000, "Button", "", 0, 0, 630, 77},
        {&gFormAdminIcon, 1001, "Static", "", 16, 16, 55, 50},
        {&gFormAdminTitle, 1002, "Static", "User Admin", 80, 20, 446, 21},
        {&gFormAdminSubtitle, 1003, "Static", nullptr, 90, 50, 449, 25},
        {&gFormAdminPhotoButton, 1004, "Button", "Ganti Foto", 8, 88, 159, 26},
        {&gFormAdminPhoto, 1005, "Static", "", 16, 120, 159, 199},
        {&gFormAdminNameLabel, 1006, "Static", "Nama User", 240, 88, 81, 19},
        {&gFormAdminNameEdit, 1007, "Edit", "", 328, 88, 277, 20},
        {&gFormAdminAccessList, 1008, "SysListView32", "", 239, 121, 369, 351},
        {&gFormAdminSaveButton, 1009, "Button", "Simpan", 448, 480, 161, 31},
    };
    for (const Ctl& c : table) {
      SCOPED_TRACE(c.id);
      const Hwnd h = *c.window;
      ASSERT_TRUE(IsWindow(h));
      EXPECT_EQ(WinGetDlgCtrlID(h), c.id);
      EXPECT_EQ(WinGetClassName(h), c.cls);
      if (c.text) {
        EXPECT_EQ(CtlGetText(h), c.text);
      }
      const WinRect r = WinGetWindowRect(h);
      EXPECT_EQ(r.left, FrmScaleX(c.x));
      EXPECT_EQ(r.top, FrmScaleY(c.y));
      EXPECT_EQ(r.width(), FrmScaleX(c.w));
      EXPECT_EQ(r.height(), FrmScaleY(c.h));
    }
    EXPECT_FALSE(CtlGetText(gFormAdminSubtitle).empty());
    EXPECT_TRUE(WinGetStyle(gFormAdminNameEdit) & ES_LOWERCASE);
    EXPECT_FALSE(WinGetStyle(gFormAdminSaveButton) & WS_TABSTOP);
    EXPECT_EQ(CtlGetToolTip(gFormAdminAccessList), "Dobel klik untuk mengubahnya..");
    EXPECT_EQ(WinGetFocus(), gFormAdminAccessList);
    EXPECT_FALSE(qobject_cast<QLabel*>(WinWidget(gFormAdminIcon))->pixmap().isNull());
    const QFont title = FontFromHandle(FontCreateFromSpec("Arial,-21,0,0,0,700,0,0,0,0,3,2,1,34"));
    EXPECT_EQ(WinWidget(gFormAdminTitle)->font().bold(), title.bold());
    EXPECT_EQ(FrmDataOf(gFormAdminTitle)->foreColor, WinRgb(255, 0, 0));
    // The access list: three columns, twelve positions with their labels.
    EXPECT_EQ(LvGetColumnCount(gFormAdminAccessList), 3);
    const struct {
      const char* caption;
      int align;
      int width;
    } cols[] = {{"No.", 2, 40}, {"Username", 0, 250}, {"Akses", 2, 50}};
    for (int c = 0; c < 3; ++c) {
      EXPECT_EQ(LvGetColumnText(gFormAdminAccessList, c), cols[c].caption);
      EXPECT_EQ(LvGetColumnAlign(gFormAdminAccessList, c), cols[c].align);
      EXPECT_EQ(LvGetColumnWidth(gFormAdminAccessList, c), cols[c].width);
    }
    const char* labels[] = {"Data Siswa",         "Data Rekening Keuangan", "Data Akun Pembayaran",
                            "Transaksi Pembayaran", "Transaksi Bayar Per Kelas", "Transaksi Tabungan",
                            "Transaksi Jurnal Kas", "Transaksi Jurnal Bank",   "Laporan Keuangan",
                            "Laporan Pembayaran", "Laporan Tunggakan",      "Laporan Tabungan"};
    for (int r = 0; r < 12; ++r) {
      EXPECT_EQ(LvGetItemText(gFormAdminAccessList, r, 0), std::to_string(r + 1));
      EXPECT_EQ(LvGetItemText(gFormAdminAccessList, r, 1), labels[r]);
    }
    FrmClose(gFormAdminWindow, 0);
  });
}

TEST(OperatorEditorCells, AccessCellsAndToggles) {
  EXPECT_EQ(FORMADMIN_AccessCell("101", 0), "1");
  EXPECT_EQ(FORMADMIN_AccessCell("101", 1), "0");
  EXPECT_EQ(FORMADMIN_AccessCell("101", 3), "");
  EXPECT_EQ(FORMADMIN_AccessCell("", 0), "");
  EXPECT_EQ(FORMADMIN_AccessCell("10x", 2), "x");
  EXPECT_EQ(FORMADMIN_ToggledCell("1"), "0");
  EXPECT_EQ(FORMADMIN_ToggledCell("0"), "1");
  EXPECT_EQ(FORMADMIN_ToggledCell(""), "");
  EXPECT_EQ(FORMADMIN_ToggledCell("x"), "x");
}

}  // namespace
