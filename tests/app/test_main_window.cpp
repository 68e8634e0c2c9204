// The main window: start-up (login, welcome window, period and school-year texts, the guide), the status bar, the
// access checks of every guarded command, the report month, prepaid and postpaid, and "Keluar".
#include <QLocale>
#include <QMainWindow>
#include <QMenuBar>
#include <QTest>
#include <gtest/gtest.h>

#include "app/access.h"
#include "app/config.h"
#include "app/globals.h"
#include "app/guide_window.h"
#include "app/login_window.h"
#include "app/main_window.h"
#include "app/data_reset_window.h"
#include "app/database_window.h"
#include "accounts/fee_list_window.h"
#include "app/operator_editor_window.h"
#include "app/operator_list_window.h"
#include "app/welcome_window.h"
#include "app/password_window.h"
#include "common/receipt_settings_window.h"
#include "app/startup.h"
#include "common/globals.h"
#include "students/import_window.h"
#include "students/promotion_window.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/window_system.h"
#include "support/fixtures.h"
#include "support/operator.h"
#include "support/seams_fixture.h"

namespace {

class MainWindowTest : public fintest::SeamsTest {
 protected:
  MainWindowTest() {
    gDbPath = WorkFile("keuangan.db3");
    gDb = fintest::CreateDatabase(gDbPath);
    gAkses.clear();
    gFormMode.clear();
    gStrukTopMargin = 15;
    gStrukLineSpacing = 150;
    gStrukDefaultType = 0;
    gStrukFont = "Courier New";
    gPrepaid = 0;
    AppInitControlIds();
  }
  ~MainWindowTest() override {
    if (IsWindow(gMainWindow)) WinDestroyWindow(gMainWindow);
    sqlite3_close(gDb);
    gDb = nullptr;
  }

  // Logs in as `user` inside the login window's loop.
  void LogInAs(const std::string& user, const std::string& password) {
    OnModal([user, password](QWidget*) {
      CtlSetText(gFormLoginUserEdit, user);
      CtlSetText(gFormLoginPasswordEdit, password);
      QTest::mouseClick(WinWidget(gFormLoginLoginButton), Qt::LeftButton);
    });
    ExpectMsgBox(AppLoginWelcomeText(user), "Login User..");
  }

  // Runs the whole start-up; `inFrame` runs inside the main window's own loop, then the window is closed.
  void Start(std::function<void()> inFrame) {
    OnModal([inFrame](QWidget*) {
      inFrame();
      WinSendMessage(gMainWindow, WM_CLOSE, 0, 0);
    });
    MDIFORM1_Show(0, 1, 0);
  }

  void FillRequiredData() {
    fintest::Exec(gDb,
                  "insert into siswa (Id, Nama, Status) values ('0001','ANI','Aktif');"
                  "insert into rekening (Kode, Deskripsi, Grup, Tapel) values ('101','Kas','Msk','2021/2022');"
                  "insert into account (Id, Pembayaran, Kelas, Jumlah, Type, Tapel) values "
                  "('BR-I20210001','SPP','I','150000','Perbulan','2021/2022');");
  }
};

TEST(MainWindowLayout, StatusPartEdgesAt96Dpi) {
  EXPECT_EQ(MDIFORM1_StatusPartEdges(1300), (std::vector<int>{50, 150, 225, 475, 575, 655, 855, 1155, 1300}));
  EXPECT_EQ(MDIFORM1_StatusPartEdges(1155).back(), 1155);
}

TEST(MainWindowLayout, MonthMenuItemsStandForJulyToJune) {
  const int expected[12] = {7, 8, 9, 10, 11, 12, 1, 2, 3, 4, 5, 6};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(MDIFORM1_MonthOfCommand(IDM_JULI + i), expected[i]);
  EXPECT_EQ(MDIFORM1_MonthOfCommand(IDM_BULAN), 0);
  EXPECT_EQ(MDIFORM1_MonthOfCommand(IDM_PRABAYAR), 0);
}

TEST_F(MainWindowTest, StartUpWithAnEmptyDatabaseLogsInWelcomesAndGuides) {
  SetClock(2022, 1, 15, 9, 30, 0);
  fintest::WriteFile(WorkFile("sekolah.txt"), "SD KELVORA;Jl. Mawar 1;022-1;sd@kelvora.id\r\n");
  LogInAs("ketua", "5927");
  bool guided = false;
  OnModal([&](QWidget*) {
    guided = IsWindow(gForm24Window);
    FrmClose(gForm24Window, 0);
  });
  Start([&] {
    EXPECT_EQ(WinGetWindowText(gMainWindow).substr(0, 7), "Kelvora");   // with "- [Welcome]" while it is maximised
    EXPECT_TRUE(IsWindow(gForm1Window));
    EXPECT_EQ(SbGetText(gStatusBar, 0), "User:");
    EXPECT_EQ(SbGetText(gStatusBar, 1), "ketua");
    EXPECT_EQ(SbGetText(gStatusBar, 6), "Tahun Ajaran : 2021/2022");
    EXPECT_EQ(SbGetText(gStatusBar, 7), "Setting Laporan Sekarang : Bulan Januari Tahun 2022");
    EXPECT_EQ(SbGetText(gStatusBar, 5), "09:30:00");
    EXPECT_EQ(gToday, "2022-01-15");
    EXPECT_EQ(gReportMonth, 1);
    EXPECT_EQ(gAkses, "111111111111");
    EXPECT_EQ(gSchoolName, "SD KELVORA");
    EXPECT_EQ(gSchoolEmail, "sd@kelvora.id");
    EXPECT_EQ(gCountResult, 0);
    EXPECT_EQ(TbGetButtonTip(gMdiForm1Toolbar, IDT_LAP_PEMBAYARAN), "Laporan Penerimaan Pembayaran");
    EXPECT_EQ(TbGetButtonCount(gMdiForm1Toolbar), 11);
    // The clock runs: a later tick writes the later time.
    AdvanceClock(5);
    MDIFORM1_OnClockTimer(0, WM_TIMER, 0, 0);
    EXPECT_EQ(SbGetText(gStatusBar, 5), "09:30:05");
  });
  EXPECT_TRUE(guided);
  EXPECT_EQ(gMainWindow, 0);
}

TEST_F(MainWindowTest, NoGuideWhenTheRequiredDataIsThereAndTheLoginYearDecidesThePeriod) {
  SetClock(2022, 10, 3);
  FillRequiredData();
  fintest::Exec(gDb, "update rekening set Tapel='2023/2024'; update account set Tapel='2023/2024';");
  // Step the login's school year up twice: 2022/2023 -> 2024/2025 -> back to 2023/2024.
  OnModal([](QWidget*) {
    QTest::mouseClick(WinWidget(gFormLoginNextYearButton), Qt::LeftButton);
    EXPECT_EQ(CtlGetText(gFormLoginYearEdit), "2023/2024");
    CtlSetText(gFormLoginUserEdit, "ketua");
    CtlSetText(gFormLoginPasswordEdit, "5927");
    QTest::mouseClick(WinWidget(gFormLoginLoginButton), Qt::LeftButton);
  });
  ExpectMsgBox(AppLoginWelcomeText("ketua"), "Login User..");
  Start([] {
    EXPECT_EQ(gTapel, "2023/2024");
    EXPECT_EQ(SbGetText(gStatusBar, 7), "Setting Laporan Sekarang : Bulan Oktober Tahun 2023");
  });
}

TEST_F(MainWindowTest, EnglishRegionalSettingsGiveEnglishMonthNames) {
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  SetClock(2022, 1, 15);
  FillRequiredData();
  LogInAs("ketua", "5927");
  Start([&] {
    EXPECT_EQ(SbGetText(gStatusBar, 7), "Setting Laporan Sekarang : Bulan January Tahun 2022");
    ExpectMsgBox("Setting Laporan Sekarang : Bulan March Tahun 2022", "Info");
    MDIFORM1_OnCommand(gMainWindow, 0, 0, IDM_JULI + 8);   // "Maret"
    EXPECT_EQ(SbGetText(gStatusBar, 7), "Setting Laporan Sekarang : Bulan March Tahun 2022");
  });
  QLocale::setDefault(QLocale(QLocale::Indonesian, QLocale::Indonesia));
}

// Every guarded command, by menu and by toolbar, against an operator who holds every position but its own.
TEST_F(MainWindowTest, EveryGuardedCommandChecksItsAccessPosition) {
  SetClock(2022, 1, 15);
  FillRequiredData();
  fintest::Exec(gDb, "insert into useradmin (User, Password, Akses) values ('budi','rahasia','111111111111')");
  LogInAs("budi", "rahasia");
  struct Command {
    int id;
    int position;
    bool modal;   // the window it opens runs its own loop
  };
  const std::vector<Command> commands = {
      {IDM_DATA_SISWA, 1, false},      {IDM_DATA_REKENING, 2, false},   {IDM_DATA_AKUN_PEMBAYARAN, 3, false},
      {IDM_PEMBAYARAN, 4, false},      {IDT_PEMBAYARAN, 4, true},       {IDM_BAYAR_PER_KELAS, 5, true},
      {IDT_BAYAR_PER_KELAS, 5, true},  {IDM_TABUNGAN, 6, false},        {IDT_TABUNGAN, 6, true},
      {IDM_JURNAL_KAS, 7, false},      {IDT_JURNAL_KAS, 7, false},      {IDM_JURNAL_BANK, 8, false},
      {IDT_JURNAL_BANK, 8, false},     {IDM_LAP_KEUANGAN, 9, false},    {IDT_LAP_KEUANGAN, 9, false},
      {IDM_LAP_PEMBAYARAN, 10, false}, {IDT_LAP_PEMBAYARAN, 10, false}, {IDM_LAP_TUNGGAKAN, 11, false},
      {IDT_LAP_TUNGGAKAN, 11, false},  {IDM_LAP_TABUNGAN, 12, true},    {IDT_LAP_TABUNGAN, 12, true}};
  Start([&] {
    for (const Command& c : commands) {
      SCOPED_TRACE(c.id);
      std::string akses(12, '1');
      akses[c.position - 1] = '0';
      gAkses = akses;
      ExpectMsgBox("budi tidak punya akses untuk form ini..", "Info");
      MDIFORM1_OnCommand(gMainWindow, 0, 0, c.id);
      VerifySeams();
      gAkses = std::string(12, '1');   // granted: no box; the window opens
      bool opened = false;
      if (c.modal)
        OnModal([&opened](QWidget* w) {
          opened = true;
          FrmClose(WinHandleOfWidget(w), 0);
        });
      MDIFORM1_OnCommand(gMainWindow, 0, 0, c.id);
      EXPECT_EQ(opened, c.modal);
      VerifySeams();
    }
    // The journal commands hand their mode over even when refused.
    gAkses = "1";
    ExpectMsgBox("budi tidak punya akses untuk form ini..", "Info");
    MDIFORM1_OnCommand(gMainWindow, 0, 0, IDT_JURNAL_BANK);
    EXPECT_EQ(gFormMode, "JURNAL BANK");
    // The toolbar reaches the same dispatch as the menu.
    ExpectMsgBox("budi tidak punya akses untuk form ini..", "Info");
    TbClickButton(gMdiForm1Toolbar, IDT_PEMBAYARAN);
    // Data reset is the super user's alone; the operator list stays silent for others.
    ExpectMsgBox("Hanya user ketua yang diperbolehkan menggunakan fitur ini..", "Info");
    MDIFORM1_OnCommand(gMainWindow, 0, 0, IDM_RESET_DATA);
    MDIFORM1_OnCommand(gMainWindow, 0, 0, IDM_DATA_USER);
  });
}

TEST_F(MainWindowTest, PrepaidAndPostpaidRewriteTheReceiptSettings) {
  SetClock(2022, 1, 15);
  FillRequiredData();
  LogInAs("ketua", "5927");
  Start([&] {
    MDIFORM1_OnCommand(gMainWindow, 0, 0, IDM_PRABAYAR);
    EXPECT_EQ(gPrepaid, 1);
    EXPECT_EQ(fintest::ReadFile(ProgramFile("setting_struk.txt")), "15;150;0;Courier New;1\r\n");
    MDIFORM1_OnCommand(gMainWindow, 0, 0, IDM_PASCA_BAYAR);
    EXPECT_EQ(gPrepaid, 0);
    EXPECT_EQ(fintest::ReadFile(ProgramFile("setting_struk.txt")), "15;150;0;Courier New;0\r\n");
  });
}

TEST_F(MainWindowTest, ReportMonthOfTheSecondHalfTakesTheSecondYear) {
  SetClock(2021, 9, 1);
  FillRequiredData();
  LogInAs("ketua", "5927");
  Start([&] {
    ExpectMsgBox("Setting Laporan Sekarang : Bulan Januari Tahun 2022", "Info");
    MDIFORM1_OnCommand(gMainWindow, 0, 0, IDM_JULI + 6);
    EXPECT_EQ(gReportMonth, 1);
    EXPECT_EQ(SbGetText(gStatusBar, 7), "Setting Laporan Sekarang : Bulan Januari Tahun 2022");
  });
}

// The management commands open for every operator, whatever the access string; operator management and data reset
// only for the super user.
TEST_F(MainWindowTest, ManagementCommandsOpenTheirWindows) {
  SetClock(2022, 1, 15);
  FillRequiredData();
  fintest::Exec(gDb, "insert into useradmin (User, Password, Akses) values ('budi','rahasia','000000000000')");
  LogInAs("budi", "rahasia");
  Start([&] {
    const std::vector<std::pair<int, Hwnd*>> modal = {
        {IDM_RUBAH_PASSWORD, &gPasswordWindow}, {IDM_KONEKSI_DATABASE, &gForm12Window},
        {IDM_SETTING_STRUK, &gForm23Window}};
    for (const auto& [id, window] : modal) {
      bool shown = false;
      OnModal([&shown, window](QWidget*) {
        shown = IsWindow(*window);
        FrmClose(*window, 0);
      });
      MDIFORM1_OnCommand(gMainWindow, 0, 0, id);
      EXPECT_TRUE(shown) << id;
    }
    MDIFORM1_OnCommand(gMainWindow, 0, 0, IDM_DATA_USER);   // not the super user: nothing
    EXPECT_FALSE(IsWindow(gForm7Window));
  });
}

TEST_F(MainWindowTest, SuperUserOpensOperatorManagementAndDataReset) {
  SetClock(2022, 1, 15);
  FillRequiredData();
  LogInAs("ketua", "5927");
  Start([&] {
    MDIFORM1_OnCommand(gMainWindow, 0, 0, IDM_DATA_USER);
    EXPECT_TRUE(IsWindow(gForm7Window));
    bool shown = false;
    OnModal([&shown](QWidget*) {
      shown = IsWindow(gForm20Window);
      FrmClose(gForm20Window, 0);
    });
    MDIFORM1_OnCommand(gMainWindow, 0, 0, IDM_RESET_DATA);
    EXPECT_TRUE(shown);
  });
}

TEST_F(MainWindowTest, TheGuideOpensOnlyTheWindowsTheOperatorsRightsAllow) {
  SetClock(2022, 1, 15);   // an empty school year: the guide opens
  struct Case {
    const char* akses;
    Hwnd* button;
    Hwnd* opens;   // the window opened when allowed
  } const cases[] = {
      {"011111111111", &gForm24ImportSiswaButton, &gFormImportWindow},
      {"101111111111", &gForm24ImportRekeningButton, &gFormImportWindow},
      {"110111111111", &gForm24AkunButton, &gForm6Window},
      {"011111111111", &gForm24KenaikanButton, &gForm9Window},
      {"000000001111", &gForm24ImportSiswaButton, &gFormImportWindow},
  };
  for (const Case& c : cases) {
    fintest::Exec(gDb, std::string("delete from useradmin where User='budi';"
                                   "insert into useradmin (User, Password, Akses) values ('budi','b','") +
                           c.akses + "')");
    LogInAs("budi", "b");
    bool guideStayed = false;
    OnModal([&](QWidget*) {
      ExpectMsgBox("budi tidak punya akses untuk form ini..", "Info", IDOK, MB_OK);
      fintest::Click(*c.button);
      EXPECT_FALSE(IsWindow(*c.opens)) << c.akses;
      guideStayed = IsWindow(gForm24Window);
      FrmClose(gForm24Window, 0);
    });
    Start([] {});
    EXPECT_TRUE(guideStayed) << c.akses;
    EXPECT_EQ(gForm6Window, 0);
    VerifySeams();
  }
}

TEST_F(MainWindowTest, TheWelcomeWindowCannotBeClosedByAnyControl) {
  SetClock(2022, 1, 15);
  FillRequiredData();
  LogInAs("ketua", "5927");
  Start([&] {
    const Hwnd welcome = gForm1Window;
    ASSERT_TRUE(IsWindow(welcome));
    ASSERT_TRUE(WinIsZoomed(welcome));
    // The close button of the maximised child, which stands at the right end of the menu bar.
    auto* frame = qobject_cast<QMainWindow*>(WinWidget(gMainWindow));
    ASSERT_NE(frame, nullptr);
    QWidget* controls = frame->menuBar()->cornerWidget(Qt::TopRightCorner);
    ASSERT_NE(controls, nullptr);
    QTest::mouseClick(controls, Qt::LeftButton, Qt::NoModifier, QPoint(controls->width() - 5, controls->height() / 2));
    QCoreApplication::processEvents();
    ASSERT_TRUE(IsWindow(welcome));
    WinWidget(welcome)->close();                                 // any other close request of its frame
    WinSendMessage(welcome, WM_SYSCOMMAND, SC_CLOSE, 0);         // its window menu, Ctrl+F4
    QTest::keyClick(WinClientWidget(welcome), Qt::Key_F4, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_TRUE(IsWindow(welcome));
    EXPECT_EQ(gForm1Window, welcome);
  });
}

TEST_F(MainWindowTest, ClosingTheOperatorEditorGivesTheOperatorListTheFocusBack) {
  SetClock(2022, 1, 15);
  FillRequiredData();
  LogInAs("ketua", "5927");
  Start([&] {
    MDIFORM1_OnCommand(gMainWindow, 0, 0, IDM_DATA_USER);
    const Hwnd list = gForm7Window;
    ASSERT_TRUE(IsWindow(list));
    const std::vector<std::pair<const char*, std::function<void()>>> closers = {
        {"close box", [] { WinWidget(gFormAdminWindow)->close(); }},
        {"Simpan", [this] {
           ExpectMsgBox("Gagal menyimpan, kolom Kode atau Nama belum terisi..", "Entry Data..");
           fintest::Click(gFormAdminSaveButton);
         }},
    };
    for (const auto& [name, close] : closers) {
      OnModal([&close](QWidget*) { close(); });
      ASSERT_EQ(TbClickButton(gForm7Toolbar, gForm7EditId), 1);
      QCoreApplication::processEvents();
      EXPECT_EQ(WinMdiActiveChild(gMdiClient), list) << name;
      EXPECT_EQ(WinGetFocus(), gForm7List) << name;
    }
  });
}

using MainWindowDeathTest = MainWindowTest;

TEST_F(MainWindowDeathTest, KeluarEndsTheRunWithExitCodeOne) {
  EXPECT_EXIT(MDIFORM1_OnCommand(0, 0, 0, IDM_KELUAR), ::testing::ExitedWithCode(1), "");
}

}  // namespace
