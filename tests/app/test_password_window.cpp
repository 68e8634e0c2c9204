// The password change "Ubah Password" driven as an operator would: only the logged-in operator's row (status part 1)
// changes, passwords are stored exactly as typed (apostrophes and capitals included), an empty field and the close
// box change nothing, a failing statement is reported and the window closes all the same.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QLineEdit>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "app/globals.h"
#include "app/password_window.h"
#include "common/globals.h"
#include "framework/control_classes.h"
#include "framework/controls.h"
#include "framework/fonts.h"
#include "framework/form_runtime.h"
#include "framework/window_system.h"
#include "support/fixtures.h"
#include "support/seams_fixture.h"
#include "support/operator.h"

using fintest::Click;
using fintest::Type;
using fintest::ExpectControl;

namespace {

using Rows = std::vector<std::vector<std::string>>;

class PasswordWindowTest : public fintest::SeamsTest {
 protected:
  void SetUp() override {
    gDb = fintest::CreateDatabase(WorkFile("data.db3"));
    fintest::Exec(gDb,
                  "INSERT INTO useradmin (User, Password, Akses) VALUES "
                  "('ani', 'lama', '101'), ('ani2', 'lama', '1'), ('o''neil', 'pa''ss', '110000000000');");
    // A status bar standing in for the main window's; part 1 holds the operator who logged in.
    holder_ = new QWidget;
    gStatusBar = WinCreateControl(0, "msctls_statusbar32", "", WS_CHILD | WS_VISIBLE, 0, 0, 400, 20,
                                  WinHandle(holder_), 4999);
    SbSetParts(gStatusBar, {100, 200, 300, -1});
    SbSetText(gStatusBar, 1, "ani", 0);
  }
  void TearDown() override {
    if (IsWindow(gPasswordWindow)) WinDestroyWindow(gPasswordWindow);
    gStatusBar = 0;
    delete holder_;
    sqlite3_close(gDb);
    gDb = nullptr;
  }

  std::intptr_t Run(std::function<void()> drive, int parameter = 0) {
    OnModal([drive](QWidget*) { drive(); });
    return PASSWORD_Show(0, 1, parameter);
  }
  Rows Table() { return fintest::Query(gDb, "SELECT User, Password FROM useradmin ORDER BY rowid"); }

  QWidget* holder_ = nullptr;
};

TEST_F(PasswordWindowTest, ControlsAsDesigned) {
  Run([&] {
    const Hwnd form = gPasswordWindow;
    ASSERT_TRUE(IsWindow(form));
    EXPECT_EQ(WinGetWindowText(form), "Ubah Password");
    EXPECT_EQ(WinGetClassName(form), "FORM_FINANCE_PASSWORD_CLASS");
    EXPECT_EQ(WinGetClientRect(form).width(), FrmScaleX(500));
    EXPECT_EQ(WinGetClientRect(form).height(), FrmScaleY(106));
    EXPECT_EQ(WinGetStyle(form) & (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME),
              WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME);
    struct Ctl {
      Hwnd* window;
      int id;
      const char* cls;
      const char* text;
      int x, y, w, h;
    } table[] = {{&gPasswordLabel, 1000, "Static", "Password Baru", 16, 24, 100, 20},
                 {&gPasswordEdit, 1001, "Edit", "", 116, 22, 215, 24},
                 {&gPasswordSaveButton, 1002, "Button", "Simpan", 344, 20, 126, 30}};
    for (const Ctl& c : table) {
      SCOPED_TRACE(c.id);
      const Hwnd h = *c.window;
      ASSERT_TRUE(IsWindow(h));
      ExpectControl(h, c.id, c.cls, c.text, c.x, c.y, c.w, c.h);
      const QFont expected = FontFromHandle(FontCreateFromSpec("Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34"));
      EXPECT_EQ(WinWidget(h)->font().family(), expected.family());
    }
    EXPECT_EQ(qobject_cast<QLineEdit*>(WinWidget(gPasswordEdit))->echoMode(), QLineEdit::Password);
    EXPECT_FALSE(WinGetStyle(gPasswordEdit) & ES_LOWERCASE);
    EXPECT_TRUE(WinGetStyle(gPasswordSaveButton) & WS_TABSTOP);
    const WindowData* d = FrmDataOf(gPasswordLabel);
    EXPECT_TRUE(d->colorsOn && d->foreIsSysColor && d->foreColor == COLOR_WINDOWTEXT && d->backIsSysColor &&
                d->backColor == COLOR_BTNFACE);
    EXPECT_EQ(WinGetFocus(), gPasswordEdit);
    FrmClose(form, 0);
  });
  EXPECT_EQ(gPasswordWindow, 0);
}

TEST_F(PasswordWindowTest, OnlyTheLoggedInOperatorsPasswordChanges) {
  struct Case {
    const char* operatorName;
    const char* typed;
    Rows expected;
  } cases[] = {
      {"ani", "Baru123",
       {{"ketua", "5927"}, {"ani", "Baru123"}, {"ani2", "lama"}, {"o'neil", "pa'ss"}}},
      // An apostrophe is stored as typed and cannot reach other rows.
      {"ani", "x' , Password='y",
       {{"ketua", "5927"}, {"ani", "x' , Password='y"}, {"ani2", "lama"}, {"o'neil", "pa'ss"}}},
      {"ani", "' where ''='",
       {{"ketua", "5927"}, {"ani", "' where ''='"}, {"ani2", "lama"}, {"o'neil", "pa'ss"}}},
      // An operator whose name holds an apostrophe.
      {"o'neil", "rahasia'ku",
       {{"ketua", "5927"}, {"ani", "lama"}, {"ani2", "lama"}, {"o'neil", "rahasia'ku"}}},
      // The super user changes its own password here.
      {"ketua", "  Spasi  ", {{"ketua", "  Spasi  "}, {"ani", "lama"}, {"ani2", "lama"}, {"o'neil", "pa'ss"}}},
      // A name in the status bar that matches no row changes nothing and reports nothing.
      {"' or ''='", "z", {{"ketua", "5927"}, {"ani", "lama"}, {"ani2", "lama"}, {"o'neil", "pa'ss"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.operatorName) + " / " + c.typed);
    fintest::Exec(gDb, "UPDATE useradmin SET Password='lama' WHERE User IN ('ani','ani2');"
                       "UPDATE useradmin SET Password='pa''ss' WHERE User='o''neil';"
                       "UPDATE useradmin SET Password='5927' WHERE User='ketua';");
    SbSetText(gStatusBar, 1, c.operatorName, 0);
    const std::intptr_t r = Run(
        [&] {
          Type(gPasswordEdit, c.typed);
          Click(gPasswordSaveButton);
          EXPECT_FALSE(IsWindow(gPasswordWindow));
        },
        7);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(Table(), c.expected);
    VerifySeams();
  }
}

TEST_F(PasswordWindowTest, EmptyFieldAndCloseBoxChangeNothing) {
  const Rows before = Table();
  EXPECT_EQ(Run([&] { Click(gPasswordSaveButton); }, 3), 0);   // closes with 0
  EXPECT_EQ(gPasswordWindow, 0);
  EXPECT_EQ(Table(), before);

  EXPECT_EQ(Run(
                [&] {
                  Type(gPasswordEdit, "baru");
                  WinWidget(gPasswordWindow)->close();
                },
                3),
            3);   // the result given at the Show
  EXPECT_EQ(gPasswordWindow, 0);
  EXPECT_EQ(Table(), before);
}

TEST_F(PasswordWindowTest, FailingStatementIsReportedAndTheWindowCloses) {
  fintest::Exec(gDb, "CREATE TRIGGER no_update BEFORE UPDATE ON useradmin BEGIN SELECT RAISE(ABORT, 'ditolak'); END;");
  const Rows before = Table();
  ExpectMsgBox("SQL error: ditolak", "Info", IDOK, MB_OK);
  EXPECT_EQ(Run([&] {
              Type(gPasswordEdit, "baru");
              Click(gPasswordSaveButton);
            }),
            0);
  EXPECT_EQ(gPasswordWindow, 0);
  EXPECT_EQ(Table(), before);   // the old password stays valid
}

TEST(PasswordStatement, QuotesBothValues) {
  EXPECT_EQ(PASSWORD_UpdateSql("a'b", "o'neil"), "Update useradmin Set Password='a''b' where User='o''neil'");
  EXPECT_EQ(PASSWORD_UpdateSql("Baru", "ani"), "Update useradmin Set Password='Baru' where User='ani'");
}

}  // namespace
