// The ledger account entry window FORMREK, opened from the ledger list FORM5 as an operator opens it: add with its
// refusals, edit of the marked row in every school year, apostrophes, the group choice and the list refill.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QAbstractButton>
#include <QMdiArea>
#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "accounts/ledger_entry_window.h"
#include "accounts/ledger_list_window.h"
#include "app/globals.h"
#include "common/globals.h"
#include "common/sql.h"
#include "framework/controls.h"
#include "framework/fonts.h"
#include "framework/form_runtime.h"
#include "framework/window_system.h"
#include "support/fixtures.h"
#include "support/other_program.h"
#include "support/seams_fixture.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

constexpr const char* kSaved = "Data berhasil disimpan..";
constexpr const char* kTaken = "Gagal menyimpan, Id/Kode Sudah Tersedia..";
constexpr const char* kMissing = "Gagal menyimpan, kolom Kode atau Nama belum terisi..";
constexpr const char* kEntry = "Entry Data..";
constexpr int kInfo = MB_OK | MB_ICONINFORMATION;

class LedgerEntryTest : public fintest::SeamsTest {
 protected:
  LedgerEntryTest() {
    gDb = fintest::CreateDatabase(WorkFile("data.db3"));
    gTapel = "2024/2025";
    gFormMode = "";
    gEditMode = 0;
    area_ = new QMdiArea;
    area_->resize(1200, 700);
    client_ = WinHandle(area_);
    WinWatchWindow(client_);
    area_->show();
    fintest::Exec(gDb,
                  "INSERT INTO rekening (Kode, Deskripsi, Grup, Tapel) VALUES"
                  " ('101', 'SPP', 'Msk', '2024/2025'), ('201', 'Gaji Guru', 'Klr', '2024/2025'),"
                  " ('301', 'Bank BRI', 'Bms', '2024/2025'), ('101', 'SPP lama', 'Msk', '2023/2024'),"
                  " ('401', 'Ekskul', 'Msk', '2023/2024');");
  }
  ~LedgerEntryTest() override {
    if (IsWindow(gFormRekWindow)) WinDestroyWindow(gFormRekWindow);
    if (IsWindow(list_)) WinDestroyWindow(list_);
    delete area_;
    sqlite3_close(gDb);
    gDb = nullptr;
    gTargetListView = 0;
  }

  // Opens the ledger list, marks row `row` (-1: none) and runs its add or edit command; `drive` runs inside the
  // entry window's loop, which the fixture ends afterwards.
  void Run(int command, int row, std::function<void()> drive) {
    if (!IsWindow(list_)) list_ = static_cast<Hwnd>(FORM5_Show(client_, 1, 0));
    if (row >= 0) LvSelectItem(gForm5List, row);
    OnModal([drive](QWidget*) {
      drive();
      FrmClose(gFormRekWindow, 0);
    });
    ASSERT_EQ(TbClickButton(gForm5Toolbar, command), 1);
    EXPECT_EQ(gFormRekWindow, 0);
  }
  static void Save() { QTest::mouseClick(WinWidget(gFormRekSaveButton), Qt::LeftButton); }
  static void Fill(const std::string& kode, const std::string& deskripsi, int group) {
    CtlSetText(gFormRekKodeEdit, kode);
    CtlSetText(gFormRekDeskripsiEdit, deskripsi);
    CbSetCurSel(gFormRekGrupCombo, group);
  }
  static Rows ListRows() {
    Rows rows;
    for (int r = 0; r < LvGetItemCount(gForm5List); ++r)
      rows.push_back(
          {LvGetItemText(gForm5List, r, 0), LvGetItemText(gForm5List, r, 1), LvGetItemText(gForm5List, r, 2)});
    return rows;
  }
  Rows Db(const std::string& sql) { return fintest::Query(gDb, sql); }
  Rows All() { return Db("select Kode, Deskripsi, Grup, Tapel from rekening order by Tapel, Kode"); }

  QMdiArea* area_ = nullptr;
  Hwnd client_ = 0;
  Hwnd list_ = 0;
};

TEST_F(LedgerEntryTest, ControlsAsDesigned) {
  Run(gForm5AddId, -1, [this] {
    const Hwnd form = gFormRekWindow;
    ASSERT_TRUE(IsWindow(form));
    EXPECT_EQ(WinGetWindowText(form), "Form Data Rekening");
    EXPECT_EQ(WinGetClassName(form), "FORM_FINANCE_FORMREK_CLASS");
    EXPECT_NE(WinGetStyle(form) & WS_SYSMENU, 0u);
    struct Ctl {
      Hwnd window;
      const char* cls;
      const char* text;
    };
    const std::vector<Ctl> controls = {
        {gFormRekGrupLabel, "Static", "Grup"},
        {gFormRekGrupCombo, "ComboBox", "Kas Masuk"},
        {gFormRekSaveButton, "Button", ""},
        {gFormRekDeskripsiEdit, "Edit", ""},
        {gFormRekKodeEdit, "Edit", ""},
        {gFormRekFrame, "Button", ""},
        {gFormRekHintLabel, "Static", "Buatlah rekening pemasukan/pengeluaran sebagai sumber pendapatan sekolah"},
        {gFormRekTitleLabel, "Static", "Master Rekening"},
        {gFormRekDeskripsiLabel, "Static", "Deskripsi"},
        {gFormRekKodeLabel, "Static", "Kode"},
    };
    int id = 1000;
    for (const Ctl& c : controls) {
      SCOPED_TRACE(c.text);
      ASSERT_TRUE(IsWindow(c.window));
      EXPECT_EQ(WinGetDlgCtrlID(c.window), id++);
      EXPECT_EQ(WinGetClassName(c.window), c.cls);
      EXPECT_EQ(CtlGetText(c.window), c.text);
    }
    // The groups with their index as item data; "Kas Masuk" chosen for a new account.
    ASSERT_EQ(CbGetCount(gFormRekGrupCombo), 3);
    const char* groups[] = {"Kas Masuk", "Kas Keluar", "Bank"};
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(CbGetItemText(gFormRekGrupCombo, i), groups[i]);
      EXPECT_EQ(CbGetItemData(gFormRekGrupCombo, i), i);
    }
    EXPECT_EQ(CbGetCurSel(gFormRekGrupCombo), 0);
    EXPECT_FALSE(qobject_cast<QPushButton*>(WinWidget(gFormRekSaveButton))->icon().isNull());
    // Colours and fonts: blue labels and hint, red title, all on the dialog face.
    for (Hwnd h : {gFormRekGrupLabel, gFormRekHintLabel, gFormRekDeskripsiLabel, gFormRekKodeLabel}) {
      const WindowData* d = FrmDataOf(h);
      EXPECT_TRUE(d->colorsOn && !d->foreIsSysColor && d->foreColor == WinRgb(0, 128, 255) && d->backIsSysColor &&
                  d->backColor == COLOR_BTNFACE);
    }
    const WindowData* title = FrmDataOf(gFormRekTitleLabel);
    EXPECT_TRUE(title->colorsOn && title->foreColor == WinRgb(255, 0, 0) && title->backColor == COLOR_BTNFACE);
    const QFont titleFont = FontFromHandle(FontCreateFromSpec("Arial,-19,0,0,0,700,0,0,0,0,3,2,1,34"));
    EXPECT_EQ(WinWidget(gFormRekTitleLabel)->font().family(), titleFont.family());
    EXPECT_TRUE(WinWidget(gFormRekTitleLabel)->font().bold());
    EXPECT_EQ(WinWidget(form)->focusWidget(), WinWidget(gFormRekGrupCombo));
    // The code takes three characters at most.
    QTest::keyClicks(WinWidget(gFormRekKodeEdit), "1234");
    EXPECT_EQ(CtlGetText(gFormRekKodeEdit), "123");
    // The frame does not stand between the operator and the fields.
    QTest::mouseClick(WinWidget(gFormRekDeskripsiEdit), Qt::LeftButton);
    EXPECT_EQ(WinGetFocus(), gFormRekDeskripsiEdit);
  });
}

TEST_F(LedgerEntryTest, AddSavesIntoTheWorkingYearAndStaysReadyForTheNext) {
  Run(gForm5AddId, -1, [this] {
    Fill("105", "Dana BOS", 2);
    ExpectMsgBox(kSaved, kEntry, IDOK, kInfo);
    Save();
    EXPECT_EQ(Db("select Kode, Deskripsi, Grup, Tapel from rekening where Kode='105'"),
              (Rows{{"105", "Dana BOS", "Bms", "2024/2025"}}));
    // The list shows the new account; the window stays with the code and group, the description emptied.
    EXPECT_EQ(ListRows(), (Rows{{"101", "SPP", "Msk"}, {"105", "Dana BOS", "Bms"}, {"201", "Gaji Guru", "Klr"},
                                {"301", "Bank BRI", "Bms"}}));
    EXPECT_TRUE(IsWindow(gFormRekWindow));
    EXPECT_EQ(CtlGetText(gFormRekDeskripsiEdit), "");
    EXPECT_EQ(CtlGetText(gFormRekKodeEdit), "105");
    EXPECT_EQ(CbGetCurSel(gFormRekGrupCombo), 2);
    // The same code again is refused.
    CtlSetText(gFormRekDeskripsiEdit, "Dana BOS 2");
    ExpectMsgBox(kTaken, kEntry, IDOK, kInfo);
    Save();
  });
  EXPECT_EQ(Db("select count(*) from rekening where Kode='105'"), Rows{{"1"}});
}

TEST_F(LedgerEntryTest, AddRefusals) {
  struct Case {
    const char* name;
    const char* setup;
    const char* kode;
    const char* deskripsi;
    const char* message;
  } cases[] = {
      {"code of another school year", "", "401", "Ekskul baru", kTaken},
      {"code of the working year", "", "201", "Gaji", kTaken},
      {"no code", "", "", "Tanpa kode", kMissing},
      {"no description", "", "777", "", kMissing},
      {"no code when a row has an empty code", "INSERT INTO rekening VALUES ('', 'Kosong', 'Msk', '2020/2021')", "",
       "Tanpa kode", kTaken},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (*c.setup) fintest::Exec(gDb, c.setup);
    const Rows before = All();
    Run(gForm5AddId, -1, [&] {
      Fill(c.kode, c.deskripsi, 0);
      ExpectMsgBox(c.message, kEntry, IDOK, kInfo);
      Save();
      EXPECT_EQ(CtlGetText(gFormRekDeskripsiEdit), c.deskripsi);   // nothing changes in the window either
    });
    EXPECT_EQ(All(), before);
    EXPECT_EQ(LvGetItemCount(gForm5List), 3);
  }
}

// Two programs on one file (the program started twice, or two desks on a shared folder): the code the window counted
// as free is added by the other program before the insert. The save counts again under its write lock and refuses:
// one code names one account.
TEST_F(LedgerEntryTest, ACodeAnotherProgramAddsBetweenTheCheckAndTheSaveIsRefused) {
  const std::string path = WorkFile("data.db3");
  fintest::OtherProgram other(path);
  Run(gForm5AddId, -1, [&] {
    Fill("105", "Dana BOS", 0);
    fintest::WritesAfterCheck between(gDb, other, "Select count(*) From rekening WHERE Kode=",
                                      "INSERT INTO rekening VALUES ('105', 'Sumbangan', 'Klr', '2024/2025')");
    ExpectMsgBox(kTaken, kEntry, IDOK, kInfo);   // and no "berhasil"
    Save();
    VerifySeams();
    EXPECT_TRUE(between.written());
    EXPECT_EQ(CtlGetText(gFormRekDeskripsiEdit), "Dana BOS");   // nothing of the window's was saved
    // The list shows the account that has the code now.
    EXPECT_EQ(ListRows(), (Rows{{"101", "SPP", "Msk"}, {"105", "Sumbangan", "Klr"}, {"201", "Gaji Guru", "Klr"},
                                {"301", "Bank BRI", "Bms"}}));
  });
  EXPECT_EQ(fintest::RowsInFile(path, "select Deskripsi, Grup, Tapel from rekening where Kode='105'"),
            (Rows{{"Sumbangan", "Klr", "2024/2025"}}));
}

TEST_F(LedgerEntryTest, ApostrophesAreSavedAsTyped) {
  struct Case {
    const char* kode;
    const char* quoted;   // the code as a literal of the test's own query
    const char* deskripsi;
  } cases[] = {{"7'1", "7''1", "Ma'arif"}, {"x'y", "x''y", "'); DELETE FROM rekening; --"}};
  for (const Case& c : cases) {
    Run(gForm5AddId, -1, [&] {
      Fill(c.kode, c.deskripsi, 1);
      ExpectMsgBox(kSaved, kEntry, IDOK, kInfo);
      Save();
    });
    EXPECT_EQ(Db(std::string("select Deskripsi, Grup, Tapel from rekening where Kode='") + c.quoted + "'"),
              (Rows{{c.deskripsi, "Klr", "2024/2025"}}));
  }
  EXPECT_EQ(Db("select count(*) from rekening"), Rows{{"7"}});
  // Editing such a row matches it exactly.
  int row = -1;
  for (int r = 0; r < LvGetItemCount(gForm5List); ++r)
    if (LvGetItemText(gForm5List, r, 0) == "7'1") row = r;
  ASSERT_GE(row, 0);
  Run(gForm5EditId, row, [this] {
    EXPECT_EQ(CtlGetText(gFormRekDeskripsiEdit), "Ma'arif");
    CtlSetText(gFormRekDeskripsiEdit, "Ma'arif NU");
    ExpectMsgBox(kSaved, kEntry, IDOK, kInfo);
    Save();
  });
  EXPECT_EQ(Db("select Deskripsi from rekening where Kode='7''1'"), Rows{{"Ma'arif NU"}});
}

TEST_F(LedgerEntryTest, EditLoadsTheMarkedRowAndChangesTheCodeInEverySchoolYear) {
  Run(gForm5EditId, 0, [this] {   // 101
    EXPECT_EQ(CtlGetText(gFormRekKodeEdit), "101");
    EXPECT_EQ(CtlGetText(gFormRekDeskripsiEdit), "SPP");
    EXPECT_EQ(CbGetCurSel(gFormRekGrupCombo), 0);
    EXPECT_TRUE(WinIsWindowEnabled(gFormRekKodeEdit));
    CtlSetText(gFormRekDeskripsiEdit, "SPP Bulanan");
    CbSetCurSel(gFormRekGrupCombo, 1);
    ExpectMsgBox(kSaved, kEntry, IDOK, kInfo);
    Save();
    EXPECT_EQ(ListRows(),
              (Rows{{"101", "SPP Bulanan", "Klr"}, {"201", "Gaji Guru", "Klr"}, {"301", "Bank BRI", "Bms"}}));
    EXPECT_EQ(CtlGetText(gFormRekDeskripsiEdit), "");
    EXPECT_EQ(CtlGetText(gFormRekKodeEdit), "101");
  });
  EXPECT_EQ(Db("select Deskripsi, Grup, Tapel from rekening where Kode='101' order by Tapel"),
            (Rows{{"SPP Bulanan", "Klr", "2023/2024"}, {"SPP Bulanan", "Klr", "2024/2025"}}));
}

TEST_F(LedgerEntryTest, EditOpensWithTheStoredGroupAndKeepsIt) {
  fintest::Exec(gDb, "INSERT INTO rekening VALUES ('501', 'Pindahan', 'Pvb', '2024/2025')");
  struct Case {
    int row;
    const char* kode;
    int index;
    const char* grup;
  } cases[] = {{2, "301", 2, "Bms"}, {1, "201", 1, "Klr"}, {3, "501", -1, "Pvb"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kode);
    Run(gForm5EditId, c.row, [&] {
      EXPECT_EQ(CtlGetText(gFormRekKodeEdit), c.kode);
      EXPECT_EQ(CbGetCurSel(gFormRekGrupCombo), c.index);
      CtlSetText(gFormRekDeskripsiEdit, CtlGetText(gFormRekDeskripsiEdit) + " baru");
      ExpectMsgBox(kSaved, kEntry, IDOK, kInfo);
      Save();
    });
    EXPECT_EQ(Db(std::string("select Grup from rekening where Kode='") + c.kode + "'"), Rows{{c.grup}});
  }
}

// An edit whose code no account has changes nothing, and the window says that nothing was saved (no "berhasil").
TEST_F(LedgerEntryTest, EditOfACodeNoRowHasChangesNothingAndSaysNothingWasSaved) {
  struct Case {
    const char* name;
    int row;                 // the row marked in the list (-1: none)
    const char* kode;        // typed over the Kode field; nullptr keeps the marked row's code
    const char* meanwhile;   // what another program on the file does while the window is open
  } cases[] = {
      {"a code typed into the empty fields", -1, "999", ""},
      {"an account another program deleted after the window opened", 1, nullptr,
       "DELETE FROM rekening WHERE Kode='201'"},
  };
  const std::string path = WorkFile("data.db3");
  fintest::OtherProgram other(path);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Run(gForm5EditId, c.row, [&] {
      if (*c.meanwhile) {
        ASSERT_EQ(other.Write(c.meanwhile), SQLITE_OK);
      }
      const Rows before = fintest::RowsInFile(path, "select Kode, Deskripsi, Grup, Tapel from rekening order by rowid");
      if (c.kode) CtlSetText(gFormRekKodeEdit, c.kode);
      CtlSetText(gFormRekDeskripsiEdit, "Tidak ada");
      ExpectMsgBox(kFormRekNoSuchCode, "Info", IDOK, kInfo);
      Save();
      VerifySeams();
      EXPECT_EQ(fintest::RowsInFile(path, "select Kode, Deskripsi, Grup, Tapel from rekening order by rowid"), before);
      EXPECT_EQ(CtlGetText(gFormRekDeskripsiEdit), "Tidak ada");   // the window keeps what was not saved
    });
  }
}

TEST_F(LedgerEntryTest, AFailedInsertReportsAndLeavesTheListEmptyUntilRefreshed) {
  fintest::Exec(gDb,
                "CREATE TRIGGER refuse BEFORE INSERT ON rekening BEGIN SELECT RAISE(ABORT, 'ditolak'); END;");
  const Rows before = All();
  Run(gForm5AddId, -1, [this] {
    Fill("106", "Kantin", 0);
    ExpectMsgBox("SQL error: ditolak", "Info", IDOK, MB_OK);
    Save();
    EXPECT_EQ(LvGetItemCount(gForm5List), 0);
    EXPECT_EQ(CtlGetText(gFormRekDeskripsiEdit), "Kantin");
  });
  EXPECT_EQ(All(), before);
  ASSERT_EQ(TbClickButton(gForm5Toolbar, gForm5RefreshId), 1);
  EXPECT_EQ(LvGetItemCount(gForm5List), 3);
}

// A description longer than a list cell (259 characters) comes into the edit whole, from the file: an edit of the
// group alone keeps it whole in every school year of the code.
TEST_F(LedgerEntryTest, AnEditOfTheGroupKeepsALongDescriptionWholeInEverySchoolYear) {
  std::string accented;
  for (int i = 0; i < 120; ++i) accented += "\xC3\xA9";   // é
  const struct {
    const char* name;
    std::string text;
  } cases[] = {
      {"300 letters", std::string(300, 'a')},
      {"two-byte letters and apostrophes", "Dana 'BOS' " + std::string(140, 'x') + accented},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fintest::Exec(gDb, "DELETE FROM rekening WHERE Kode='201' AND Tapel='2023/2024';"
                       "INSERT INTO rekening VALUES ('201', 'lama', 'Klr', '2023/2024');"
                       "UPDATE rekening SET Deskripsi=" + SqlQuoted(c.text) + ", Grup='Klr' WHERE Kode='201'");
    if (IsWindow(list_)) {
      ASSERT_EQ(TbClickButton(gForm5Toolbar, gForm5RefreshId), 1);
    }
    Run(gForm5EditId, 1, [&] {
      EXPECT_LT(LvGetItemText(gForm5List, 1, 1).size(), c.text.size());   // the list cell gives it cut
      EXPECT_EQ(CtlGetText(gFormRekDeskripsiEdit), c.text);
      CbSetCurSel(gFormRekGrupCombo, 2);   // the group alone is changed
      ExpectMsgBox(kSaved, kEntry, IDOK, kInfo);
      Save();
    });
    EXPECT_EQ(fintest::RowsInFile(WorkFile("data.db3"),
                                  "select Deskripsi, Grup, Tapel from rekening where Kode='201' order by Tapel"),
              (Rows{{c.text, "Bms", "2023/2024"}, {c.text, "Bms", "2024/2025"}}));
  }
}

TEST(LedgerGroupCodes, IndexAndCodeBothWays) {
  EXPECT_EQ(FORMREK_GroupCode(0), "Msk");
  EXPECT_EQ(FORMREK_GroupCode(1), "Klr");
  EXPECT_EQ(FORMREK_GroupCode(2), "Bms");
  EXPECT_EQ(FORMREK_GroupCode(-1), "");
  EXPECT_EQ(FORMREK_GroupIndex("Msk"), 0);
  EXPECT_EQ(FORMREK_GroupIndex("Klr"), 1);
  EXPECT_EQ(FORMREK_GroupIndex("Bms"), 2);
  EXPECT_EQ(FORMREK_GroupIndex("Pvb"), -1);
  EXPECT_EQ(FORMREK_GroupIndex("msk"), -1);
}

}  // namespace
