// An operation of more than a second shows that it works (the wait cursor, its text in the main window's status bar)
// and cannot be started twice.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QWidget>

#include "app/globals.h"
#include "common/busy.h"
#include "framework/controls.h"
#include "framework/control_classes.h"
#include "framework/win.h"
#include "framework/window_system.h"
#include "support/seams_fixture.h"

namespace {

class BusyTest : public fintest::SeamsTest {
 protected:
  void SetUp() override {
    holder_ = new QWidget;
    gStatusBar = WinCreateControl(0, "msctls_statusbar32", "", WS_CHILD | WS_VISIBLE, 0, 0, 800, 20,
                                  WinHandle(holder_), 1);
    SbSetParts(gStatusBar, {50, 150, 250, 500, 600, -1});
    SbSetText(gStatusBar, kFinBusyStatusPart, "sebelumnya", 0);
  }
  void TearDown() override {
    delete holder_;
    gStatusBar = 0;
  }
  static bool WaitCursor() {
    return QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
  }
  QWidget* holder_ = nullptr;
};

TEST_F(BusyTest, ShowsTheWaitCursorAndItsTextWhileItRuns) {
  const struct {
    FinBusyTask task;
    const char* text;
  } cases[] = {{FinBusyTask::Backup, "Membackup database, mohon tunggu.."},
               {FinBusyTask::Restore, "Merestore database, mohon tunggu.."},
               {FinBusyTask::YearCopy, "Menyalin data tahun ajaran, mohon tunggu.."},
               {FinBusyTask::Import, "Menyimpan data import, mohon tunggu.."},
               {FinBusyTask::Indexes, "Menyiapkan database, mohon tunggu.."}};
  for (const auto& c : cases) {
    ASSERT_FALSE(WaitCursor());
    {
      FinBusy busy(c.task);
      EXPECT_TRUE(busy.started());
      EXPECT_TRUE(FinBusyRunning(c.task));
      EXPECT_TRUE(WaitCursor()) << c.text;
      EXPECT_EQ(SbGetText(gStatusBar, kFinBusyStatusPart), c.text);
    }
    EXPECT_FALSE(FinBusyRunning(c.task));
    EXPECT_FALSE(WaitCursor());
    EXPECT_EQ(SbGetText(gStatusBar, kFinBusyStatusPart), "sebelumnya");
  }
}

TEST_F(BusyTest, TheSameOperationIsRefusedWhileItRunsAndOthersAreNot) {
  FinBusy backup(FinBusyTask::Backup);
  ASSERT_TRUE(backup.started());
  {
    ExpectMsgBox(kFinBusyRefusal, "Info", IDOK, MB_OK);
    FinBusy again(FinBusyTask::Backup);
    EXPECT_FALSE(again.started());
    VerifySeams();
    FinBusy silent(FinBusyTask::Backup, true, "");   // refused without a box
    EXPECT_FALSE(silent.started());
    FinBusy copy(FinBusyTask::YearCopy);
    EXPECT_TRUE(copy.started());
  }
  // The refused ones ended nothing of the running one.
  EXPECT_TRUE(FinBusyRunning(FinBusyTask::Backup));
  EXPECT_FALSE(FinBusyRunning(FinBusyTask::YearCopy));
  EXPECT_TRUE(WaitCursor());
  EXPECT_EQ(SbGetText(gStatusBar, kFinBusyStatusPart), "Membackup database, mohon tunggu..");
  backup.end();
  EXPECT_FALSE(FinBusyRunning(FinBusyTask::Backup));
  EXPECT_FALSE(WaitCursor());
  EXPECT_EQ(SbGetText(gStatusBar, kFinBusyStatusPart), "sebelumnya");
}

// Without the main window (the first start) only the cursor tells; a small import shows nothing but is guarded.
TEST_F(BusyTest, WithoutAStatusBarOrShownNothing) {
  delete holder_;
  holder_ = nullptr;
  gStatusBar = 0;
  {
    FinBusy indexes(FinBusyTask::Indexes);
    EXPECT_TRUE(WaitCursor());
  }
  EXPECT_FALSE(WaitCursor());
  FinBusy import(FinBusyTask::Import, false);
  EXPECT_TRUE(import.started());
  EXPECT_FALSE(WaitCursor());
  EXPECT_TRUE(FinBusyRunning(FinBusyTask::Import));
}

}  // namespace
