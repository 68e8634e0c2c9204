// The data reset window driven as an operator would: its controls, the two rounds of questions, the tables emptied
// (ticked ones only, every school year, one statement each), a failing delete, and the tables it never touches.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QTest>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "app/access.h"
#include "app/data_reset_window.h"
#include "app/globals.h"
#include "common/globals.h"
#include "framework/controls.h"
#include "framework/fonts.h"
#include "framework/form_runtime.h"
#include "framework/window_data.h"
#include "framework/window_system.h"
#include "support/fixtures.h"
#include "support/seams_fixture.h"
#include "support/operator.h"

using fintest::Click;

namespace {

using Rows = std::vector<std::vector<std::string>>;

constexpr const char* kQuestion =
    "Apakah anda yakin akan reset data?\rPERINGATAN, RESET DATA DAPAT MENGAKIBATKAN HILANGNYA ARSIP PENTING MENGENAI "
    "INFORMASI REKAMAN DATABASE..";
constexpr int kAsk = MB_YESNO | MB_ICONQUESTION;
const char* const kTables[] = {"siswa", "siswakelas", "rekening", "account", "detail_account", "transaksi"};
const char* const kCaptions[] = {"Data Siswa",           "Data Siswa Kelas",            "Data Rekening",
                                 "Data Akun Pembayaran", "Data Detail Akun Pembayaran", "Data Transaksi"};

class DataResetWindowTest : public fintest::SeamsTest {
 protected:
  void SetUp() override {
    gDb = fintest::CreateDatabase(WorkFile("data.db3"));
    gTapel = "2024/2025";
    FORM20_InitControlIds();
    FillTables();
    // Two operators and the salary master.
    fintest::Exec(gDb,
                  "INSERT INTO useradmin (User, Password, Akses) VALUES ('budi', 'rahasia', '111111111111');"
                  "INSERT INTO mastergaji (Kode, Uraian, Kriteria, Tapel) VALUES ('G1', 'Gaji Pokok', 'x', '2024/2025');");
  }
  // Rows of two school years in every table the window can empty (emptied first).
  static void FillTables() {
    for (const char* t : kTables) fintest::Exec(gDb, std::string("DELETE FROM ") + t);
    fintest::Exec(gDb,
                  "INSERT INTO siswa (Id, Nama) VALUES ('1', 'Ani'), ('2', 'Budi');"
                  "INSERT INTO siswakelas (Kode, IdSiswa, Kelas, Tapel) VALUES ('k1', '1', 'VII-A', '2024/2025'),"
                  " ('k2', '1', 'VI-A', '2023/2024');"
                  "INSERT INTO rekening (Kode, Deskripsi, Grup, Tapel) VALUES ('4.1', 'SPP', 'Msk', '2024/2025'),"
                  " ('4.1', 'SPP', 'Msk', '2023/2024');"
                  "INSERT INTO account (Id, Pembayaran, Kelas, Jumlah, Type, Tapel) VALUES"
                  " ('A1', 'SPP', 'VII-A', 150000, 'Perbulan', '2024/2025'),"
                  " ('A0', 'SPP', 'VI-A', 140000, 'Perbulan', '2023/2024');"
                  "INSERT INTO detail_account (id_account, id_siswa, jml_pembayaran) VALUES ('A1', '1', 1800000),"
                  " ('A0', '1', 1680000);"
                  "INSERT INTO transaksi (id, tgl, siswaid, masuk, keluar, sts) VALUES"
                  " ('T1', '2024-08-01', '1', 150000, 0, 'k'), ('T0', '2023-08-01', '1', 140000, 0, 'b');");
  }
  void TearDown() override {
    if (IsWindow(gForm20Window)) WinDestroyWindow(gForm20Window);
    sqlite3_close(gDb);
    gDb = nullptr;
  }

  std::intptr_t RunWindow(std::function<void()> drive, int parameter = 0) {
    OnModal([drive](QWidget*) { drive(); });
    return FORM20_Show(0, 1, parameter);
  }
  // Ticks the boxes of `indexes` as the operator does, then presses "Lanjut"; the window must be gone afterwards.
  std::intptr_t TickAndContinue(const std::vector<int>& indexes) {
    return RunWindow([indexes] {
      for (int i : indexes) Click(gForm20Check[i]);
      for (int i : indexes) EXPECT_TRUE(BtnIsChecked(gForm20Check[i]));
      Click(gForm20ContinueButton);
      EXPECT_FALSE(IsWindow(gForm20Window));
    });
  }
  static long long Count(const std::string& table) {
    return std::stoll(fintest::Query(gDb, "SELECT count(*) FROM " + table)[0][0]);
  }
  // Row counts of the six tables, in list order.
  static std::vector<long long> Counts() {
    std::vector<long long> c;
    for (const char* t : kTables) c.push_back(Count(t));
    return c;
  }
  static void ExpectUntouchedOthers() {
    EXPECT_EQ(fintest::Query(gDb, "SELECT User, Password FROM useradmin ORDER BY User"),
              (Rows{{"budi", "rahasia"}, {"ketua", "5927"}}));
    EXPECT_EQ(Count("mastergaji"), 1);
  }
};

// ------------------------------------------------------------------------------------------------------------------
TEST_F(DataResetWindowTest, ControlsAsDesigned) {
  struct Ctl {
    Hwnd window;
    int id;
    const char* cls;
    std::string text;
    int x, y, w, h;
    const char* font;
  };
  const char* nine = "Arial Unicode MS,9,0";
  const char* ten = "Arial Unicode MS,10,1";
  const std::intptr_t r = RunWindow(
      [&] {
        const Hwnd form = gForm20Window;
        ASSERT_TRUE(IsWindow(form));
        EXPECT_EQ(WinGetWindowText(form), "Reset Data");
        EXPECT_EQ(WinGetClassName(form), "FORM_FINANCE_FORM20_CLASS");
        EXPECT_EQ(WinGetStyle(form) & WS_SYSMENU, 0u);   // no close box
        EXPECT_EQ(WinGetClientRect(form).width(), FrmScaleX(489));
        EXPECT_EQ(WinGetClientRect(form).height(), FrmScaleY(310));
        const std::vector<Ctl> table = {
            {gForm20Check[0], 1000, "Button", "Data Siswa", 48, 72, 81, 33, nine},
            {gForm20Check[1], 1001, "Button", "Data Siswa Kelas", 48, 104, 120, 33, nine},
            {gForm20Check[2], 1002, "Button", "Data Rekening", 48, 139, 150, 33, nine},
            {gForm20Check[3], 1003, "Button", "Data Akun Pembayaran", 208, 72, 150, 33, nine},
            {gForm20Check[4], 1004, "Button", "Data Detail Akun Pembayaran", 208, 104, 200, 33, nine},
            {gForm20Check[5], 1005, "Button", "Data Transaksi", 208, 139, 150, 33, nine},
            {gForm20QuestionLabel, 1006, "Static", "Apakah anda yakin akan reset data?", 0, 0, 500, 18, ten},
            {gForm20WarningLabel, 1007, "Static",
             "PERINGATAN, RESET DATA DAPAT MENGAKIBATKAN HILANGNYA ARSIP PENTING MENGENAI INFORMASI REKAMAN "
             "DATABASE..",
             0, 16, 480, 45, ten},
            {gForm20CancelButton, IDCANCEL, "Button", "Batal", 320, 224, 71, 27, nine},
            {gForm20ContinueButton, 1008, "Button", "Lanjut", 392, 224, 71, 27, nine},
        };
        for (const Ctl& c : table) {
          SCOPED_TRACE(c.text);
          ASSERT_TRUE(IsWindow(c.window));
          EXPECT_EQ(WinGetDlgCtrlID(c.window), c.id);
          EXPECT_EQ(WinGetClassName(c.window), c.cls);
          EXPECT_EQ(CtlGetText(c.window), c.text);
          const WinRect rc = WinGetWindowRect(c.window);
          EXPECT_EQ(rc.left, FrmScaleX(c.x));
          EXPECT_EQ(rc.top, FrmScaleY(c.y));
          EXPECT_EQ(rc.width(), FrmScaleX(c.w));
          EXPECT_EQ(rc.height(), FrmScaleY(c.h));
          const QFont expected = FontFromHandle(FontCreateFromSpec(c.font));
          EXPECT_EQ(WinWidget(c.window)->font().family(), expected.family());
          EXPECT_EQ(WinWidget(c.window)->font().pointSize(), expected.pointSize());
          EXPECT_EQ(WinWidget(c.window)->font().bold(), expected.bold());
        }
        for (int i = 0; i < kForm20TableCount; ++i) {
          EXPECT_EQ(FrmIndexOf(gForm20Check[i]), i);   // the control array, by index
          EXPECT_FALSE(BtnIsChecked(gForm20Check[i]));
          const WindowData* d = FrmDataOf(gForm20Check[i]);
          EXPECT_TRUE(d->colorsOn && d->foreIsSysColor && d->foreColor == COLOR_WINDOWTEXT && d->backIsSysColor &&
                      d->backColor == COLOR_BTNFACE);
        }
        const WindowData* q = FrmDataOf(gForm20QuestionLabel);
        EXPECT_TRUE(q->foreIsSysColor && !q->backIsSysColor && q->backColor == WinRgb(255, 0, 0));
        const WindowData* w = FrmDataOf(gForm20WarningLabel);
        EXPECT_TRUE(w->foreIsSysColor && !w->backIsSysColor && w->backColor == WinRgb(255, 255, 128));
        EXPECT_EQ(WinWidget(form)->focusWidget(), WinWidget(gForm20Check[4]));
        Click(gForm20Check[1]);   // ticked, then "Batal": nothing happens to the table
        Click(gForm20CancelButton);
        EXPECT_FALSE(IsWindow(gForm20Window));
      },
      3);
  EXPECT_EQ(r, 0);
  EXPECT_EQ(gForm20Window, 0);
  EXPECT_EQ(Counts(), (std::vector<long long>{2, 2, 2, 2, 2, 2}));
  EXPECT_TRUE(msgBoxes().empty());
}

TEST_F(DataResetWindowTest, TicksAreNotKeptBetweenOpenings) {
  RunWindow([] {
    Click(gForm20Check[0]);
    Click(gForm20CancelButton);
  });
  RunWindow([] {
    for (Hwnd box : gForm20Check) EXPECT_FALSE(BtnIsChecked(box));
    Click(gForm20CancelButton);
  });
}

TEST_F(DataResetWindowTest, EmptiesOnlyTheTickedTablesOfEverySchoolYear) {
  ExpectMsgBox(kQuestion, "Confirm Delete", IDYES, kAsk);
  ExpectMsgBox("Reset Data Data Siswa", "Confirm Delete", IDYES, kAsk);
  ExpectMsgBox("Reset Data Data Siswa berhasil di eksekusi..", "Info", IDOK, MB_OK);
  ExpectMsgBox("Reset Data Data Transaksi", "Confirm Delete", IDYES, kAsk);
  ExpectMsgBox("Reset Data Data Transaksi berhasil di eksekusi..", "Info", IDOK, MB_OK);
  EXPECT_EQ(TickAndContinue({5, 0}), 0);
  // No cascade: the class rows, billing rows of the removed students stay.
  EXPECT_EQ(Counts(), (std::vector<long long>{0, 2, 2, 2, 2, 0}));
  ExpectUntouchedOthers();
}

TEST_F(DataResetWindowTest, AnswersDecideWhatGoes) {
  struct Case {
    const char* name;
    std::vector<int> ticked;
    std::vector<int> answers;             // first the whole reset, then one per ticked table in list order
    std::vector<long long> counts;        // afterwards
  } cases[] = {
      {"No to the reset", {0, 2, 4}, {IDNO}, {2, 2, 2, 2, 2, 2}},
      {"No to one table", {0, 2, 4}, {IDYES, IDYES, IDNO, IDYES}, {0, 2, 2, 2, 0, 2}},
      {"No to every table", {1, 3}, {IDYES, IDNO, IDNO}, {2, 2, 2, 2, 2, 2}},
      {"nothing ticked", {}, {IDYES}, {2, 2, 2, 2, 2, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FillTables();   // each case starts from the full tables
    const std::size_t before = msgBoxes().size();
    ExpectMsgBox(kQuestion, "Confirm Delete", c.answers[0], kAsk);
    std::size_t a = 1;
    for (int i : c.ticked) {
      if (c.answers[0] != IDYES) break;
      ExpectMsgBox(std::string("Reset Data ") + kCaptions[i], "Confirm Delete", c.answers[a], kAsk);
      if (c.answers[a] == IDYES)
        ExpectMsgBox(std::string("Reset Data ") + kCaptions[i] + " berhasil di eksekusi..", "Info");
      ++a;
    }
    EXPECT_EQ(TickAndContinue(c.ticked), 0);
    VerifySeams();
    EXPECT_EQ(Counts(), c.counts);
    ExpectUntouchedOthers();
    if (c.ticked.empty()) {
      EXPECT_EQ(msgBoxes().size(), before + 1);   // the one question, nothing more
    }
  }
}

TEST_F(DataResetWindowTest, EverythingTickedGoesInListOrderAndOperatorsStay) {
  ExpectMsgBox(kQuestion, "Confirm Delete", IDYES, kAsk);
  for (const char* caption : kCaptions) {
    ExpectMsgBox(std::string("Reset Data ") + caption, "Confirm Delete", IDYES, kAsk);
    ExpectMsgBox(std::string("Reset Data ") + caption + " berhasil di eksekusi..", "Info", IDOK, MB_OK);
  }
  EXPECT_EQ(TickAndContinue({4, 0, 5, 1, 3, 2}), 0);
  EXPECT_EQ(Counts(), (std::vector<long long>{0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(msgBoxes().back().text, "Reset Data Data Transaksi berhasil di eksekusi..");
  ExpectUntouchedOthers();
  EXPECT_TRUE(AppLoginCheck("ketua", "5927"));   // the super user can still log in
}

TEST_F(DataResetWindowTest, FailingDeleteIsShownAndTheResetGoesOn) {
  fintest::Exec(gDb, "DROP TABLE rekening");
  ExpectMsgBox(kQuestion, "Confirm Delete", IDYES, kAsk);
  ExpectMsgBox("Reset Data Data Siswa", "Confirm Delete", IDYES, kAsk);
  ExpectMsgBox("Reset Data Data Siswa berhasil di eksekusi..", "Info");
  ExpectMsgBox("Reset Data Data Rekening", "Confirm Delete", IDYES, kAsk);
  ExpectMsgBox("SQL error: no such table: rekening", "Info", IDOK, MB_OK);
  ExpectMsgBox("Reset Data Data Akun Pembayaran", "Confirm Delete", IDYES, kAsk);
  ExpectMsgBox("Reset Data Data Akun Pembayaran berhasil di eksekusi..", "Info");
  EXPECT_EQ(TickAndContinue({0, 2, 3}), 0);
  EXPECT_EQ(gSqlErrMsg, "no such table: rekening");
  EXPECT_EQ(Count("siswa"), 0);
  EXPECT_EQ(Count("account"), 0);
  EXPECT_EQ(Count("siswakelas"), 2);
}

TEST_F(DataResetWindowTest, EscapeIsBatal) {
  RunWindow([] {
    Click(gForm20Check[0]);
    QTest::keyClick(WinWidget(gForm20Check[0]), Qt::Key_Escape);
    EXPECT_FALSE(IsWindow(gForm20Window));
  });
  EXPECT_EQ(Count("siswa"), 2);
  EXPECT_TRUE(msgBoxes().empty());
}

TEST_F(DataResetWindowTest, CloseRequestIsBatal) {
  const std::intptr_t r = RunWindow(
      [] {
        Click(gForm20Check[0]);
        WinWidget(gForm20Window)->close();
        EXPECT_FALSE(IsWindow(gForm20Window));
      },
      9);
  EXPECT_EQ(r, 0);
  EXPECT_EQ(Count("siswa"), 2);
}

TEST(DataResetStatements, OneDeletePerTableInListOrder) {
  const char* expected[] = {"Delete From siswa",   "Delete From siswakelas",     "Delete From rekening",
                            "Delete From account", "Delete From detail_account", "Delete From transaksi"};
  for (int i = 0; i < kForm20TableCount; ++i) {
    EXPECT_EQ(FORM20_TableOf(i), kTables[i]);
    EXPECT_EQ(FORM20_DeleteStatement(i), expected[i]);
  }
}

}  // namespace
