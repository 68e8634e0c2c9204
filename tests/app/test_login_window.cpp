// The login window driven as an operator would: its controls, the login against useradmin (quoting included), the
// lower-case name field, the school-year buttons and the end of the process on Cancel or close.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <string>

#include "app/access.h"
#include "app/globals.h"
#include "app/login_window.h"
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

constexpr const char* kCaption = "Login User..";

class LoginWindowTest : public fintest::SeamsTest {
 protected:
  void SetUp() override {
    gDb = fintest::CreateDatabase(WorkFile("data.db3"));
    fintest::Exec(gDb,
                  "UPDATE useradmin SET Akses='000000000000' WHERE User='ketua';"
                  "INSERT INTO useradmin (User, Password, Akses) VALUES "
                  "('ani', 'rahasia', '101'), ('o''neil', 'pa''ss', '110000000000'), ('kosong', '1', '');");
    gAkses = "unchanged";
    gTapel = "2024/2025";
    // A status bar of four parts standing in for the main window's.
    holder_ = new QWidget;
    gStatusBar = WinCreateControl(0, "msctls_statusbar32", "", WS_CHILD | WS_VISIBLE, 0, 0, 400, 20,
                                  WinHandle(holder_), 4999);
    SbSetParts(gStatusBar, {100, 200, 300, -1});
  }
  void TearDown() override {
    if (IsWindow(gFormLoginWindow)) WinDestroyWindow(gFormLoginWindow);
    gStatusBar = 0;
    delete holder_;
    sqlite3_close(gDb);
    gDb = nullptr;
  }

  // Shows the login modally; `drive` runs inside its loop.
  std::intptr_t RunLogin(std::function<void()> drive) {
    OnModal([drive](QWidget*) { drive(); });
    return FORMLOGIN_Show(0, 1, 0);
  }


  QWidget* holder_ = nullptr;
};

// ------------------------------------------------------------------------------------------------------------------
TEST_F(LoginWindowTest, ControlsAsDesigned) {
  struct Ctl {
    Hwnd* window;
    int id;
    const char* cls;
    const char* text;
    int x, y, w, h;
    const char* font;
  };
  const char* sans = "MS Sans Serif,-11,0,0,0,400,0,0,0,0,1,2,1,34";
  const char* arial = "Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34";
  const Ctl table[] = {
      {&gFormLoginIcon, 1000, "Static", "", 20, 20, 68, 71, ""},
      {&gFormLoginTitleLabel, 1001, "Static", "Login pengguna..", 96, 16, 290, 25,
       "Arial,-19,0,0,0,700,0,0,0,0,3,2,1,34"},
      {&gFormLoginPromptLabel, 1002, "Static", "Silahkan masukan username dan password anda!", 104, 44, 277, 21,
       sans},
      {&gFormLoginUserLabel, 1003, "Static", "Username", 100, 72, 73, 21, sans},
      {&gFormLoginUserEdit, 1004, "Edit", "", 176, 72, 211, 20, arial},
      {&gFormLoginPasswordLabel, 1005, "Static", "Password", 100, 96, 73, 21, sans},
      {&gFormLoginPasswordEdit, 1006, "Edit", "", 176, 96, 211, 20, arial},
      {&gFormLoginYearLabel, 1007, "Static", "Tahun Ajaran", 100, 120, 73, 21, sans},
      {&gFormLoginYearEdit, 1008, "Edit", "2024/2025", 176, 120, 100, 20, arial},
      {&gFormLoginNextYearButton, 1009, "Button", "+", 279, 122, 17, 19, arial},
      {&gFormLoginPrevYearButton, 1010, "Button", "-", 296, 122, 17, 19, arial},
      {&gFormLoginCancelButton, 1011, "Button", "Cancel", 200, 152, 81, 33, arial},
      {&gFormLoginLoginButton, 1012, "Button", "Log in", 304, 152, 81, 33, arial},
      {&gFormLoginDefaultUserLabel, 1013, "Static", "Default User: ketua Pass: 5927", 3, 172, 185, 16,
       "Arial Unicode MS,9,0"},
  };
  RunLogin([&] {
    const Hwnd form = gFormLoginWindow;
    ASSERT_TRUE(IsWindow(form));
    EXPECT_EQ(WinGetWindowText(form), "Login");
    EXPECT_EQ(WinGetClassName(form), "FORM_FINANCE_FORMLOGIN_CLASS");
    EXPECT_EQ(WinGetStyle(form) & (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME),
              WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME);
    EXPECT_TRUE(WinGetExStyle(form) & WS_EX_TOPMOST);
    EXPECT_TRUE(WinWidget(form)->windowFlags() & Qt::WindowStaysOnTopHint);
    for (const Ctl& c : table) {
      SCOPED_TRACE(c.id);
      const Hwnd h = *c.window;
      ASSERT_TRUE(IsWindow(h));
      ExpectControl(h, c.id, c.cls, c.text, c.x, c.y, c.w, c.h);
      if (*c.font) {
        const QFont expected = FontFromHandle(FontCreateFromSpec(c.font));
        EXPECT_EQ(WinWidget(h)->font().family(), expected.family());
        EXPECT_EQ(WinWidget(h)->font().bold(), expected.bold());
      }
    }
    // Colours: red title, blue captions, yellow / light cyan / pale yellow backgrounds, buttons with none.
    auto rgbOnFace = [](Hwnd h, unsigned rgb) {
      const WindowData* d = FrmDataOf(h);
      return d && d->colorsOn && !d->foreIsSysColor && d->foreColor == rgb && d->backIsSysColor &&
             d->backColor == COLOR_BTNFACE;
    };
    auto textOnRgb = [](Hwnd h, unsigned rgb) {
      const WindowData* d = FrmDataOf(h);
      return d && d->colorsOn && d->foreIsSysColor && d->foreColor == COLOR_WINDOWTEXT && !d->backIsSysColor &&
             d->backColor == rgb;
    };
    EXPECT_TRUE(rgbOnFace(gFormLoginTitleLabel, WinRgb(255, 0, 0)));
    for (Hwnd h : {gFormLoginPromptLabel, gFormLoginUserLabel, gFormLoginPasswordLabel, gFormLoginYearLabel})
      EXPECT_TRUE(rgbOnFace(h, WinRgb(0, 128, 255)));
    EXPECT_TRUE(textOnRgb(gFormLoginUserEdit, WinRgb(255, 255, 0)));
    EXPECT_TRUE(textOnRgb(gFormLoginPasswordEdit, WinRgb(255, 255, 0)));
    EXPECT_TRUE(textOnRgb(gFormLoginYearEdit, WinRgb(128, 255, 255)));
    EXPECT_TRUE(textOnRgb(gFormLoginDefaultUserLabel, WinRgb(255, 255, 128)));
    EXPECT_EQ(qobject_cast<QLineEdit*>(WinWidget(gFormLoginUserEdit))->palette().color(QPalette::Base),
              QColor(255, 255, 0));
    for (Hwnd h : {gFormLoginNextYearButton, gFormLoginPrevYearButton, gFormLoginCancelButton, gFormLoginLoginButton})
      EXPECT_EQ(FrmDataOf(h)->colorsOn, 0);
    // Name lower case, password masked, year free; balloon tips on the three fields.
    EXPECT_TRUE(WinGetStyle(gFormLoginUserEdit) & ES_LOWERCASE);
    EXPECT_FALSE(WinGetStyle(gFormLoginPasswordEdit) & ES_LOWERCASE);
    EXPECT_FALSE(WinGetStyle(gFormLoginYearEdit) & ES_LOWERCASE);
    EXPECT_EQ(qobject_cast<QLineEdit*>(WinWidget(gFormLoginPasswordEdit))->echoMode(), QLineEdit::Password);
    EXPECT_EQ(CtlGetToolTip(gFormLoginUserEdit), "Isikan nama pengguna disini");
    EXPECT_EQ(CtlGetToolTip(gFormLoginPasswordEdit), "Password Pengguna");
    EXPECT_EQ(CtlGetToolTip(gFormLoginYearEdit), "Tahun Pelajaran atau Tahun Buku");
    EXPECT_FALSE(qobject_cast<QLabel*>(WinWidget(gFormLoginIcon))->pixmap().isNull());
    // "-" has the focus; no button is the default one.
    EXPECT_EQ(WinWidget(form)->focusWidget(), WinWidget(gFormLoginPrevYearButton));
    EXPECT_FALSE(WinGetStyle(gFormLoginLoginButton) & BS_DEFPUSHBUTTON);
    FrmClose(gFormLoginWindow, 0);
  });
  EXPECT_EQ(gFormLoginWindow, 0);
  for (const Ctl& c : table) EXPECT_FALSE(IsWindow(*c.window));
}

TEST_F(LoginWindowTest, LoginTable) {
  struct Case {
    const char* typedUser;
    const char* password;
    bool ok;
    const char* user;   // as the field and the status bar show it
    const char* akses;
  } cases[] = {
      {"ketua", "5927", true, "ketua", "111111111111"},   // the super user, whatever its row holds
      {"ani", "rahasia", true, "ani", "101"},
      {"ANI", "rahasia", true, "ani", "101"},             // typed capitals become lower case
      {"O'Neil", "pa'ss", true, "o'neil", "110000000000"},   // an apostrophe really in the table
      {"ani", "salah", false, "ani", "unchanged"},
      {"ketua", "' or ''='", false, "ketua", "unchanged"},
      {"' or ''='", "' or ''='", false, "' or ''='", "unchanged"},
      {"ketua' --", "x", false, "ketua' --", "unchanged"},
      {"kosong", "1", false, "kosong", "unchanged"},       // empty access string
      {"", "", false, "", "unchanged"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.typedUser) + " / " + c.password);
    gAkses = "unchanged";
    gTapel = "2024/2025";
    SbSetText(gStatusBar, 1, "", 0);
    if (c.ok)
      ExpectMsgBox(AppLoginWelcomeText(c.user), kCaption, IDOK, MB_OK | MB_ICONINFORMATION);
    else
      ExpectMsgBox(kLoginFailedText, kCaption, IDOK, MB_OK | MB_ICONINFORMATION);
    bool stayed = false;
    std::intptr_t r = RunLogin([&] {
      Type(gFormLoginUserEdit, c.typedUser);
      Type(gFormLoginPasswordEdit, c.password);
      Type(gFormLoginYearEdit, "2030/2031");
      EXPECT_EQ(CtlGetText(gFormLoginUserEdit), c.user);
      Click(gFormLoginLoginButton);
      if (IsWindow(gFormLoginWindow)) {
        stayed = true;
        // The fields keep their text after a failed attempt.
        EXPECT_EQ(CtlGetText(gFormLoginUserEdit), c.user);
        EXPECT_EQ(CtlGetText(gFormLoginPasswordEdit), c.password);
        FrmClose(gFormLoginWindow, 0);
      }
    });
    EXPECT_EQ(r, 0);
    EXPECT_EQ(stayed, !c.ok);
    EXPECT_EQ(gAkses, c.akses);
    EXPECT_EQ(gTapel, c.ok ? "2030/2031" : "2024/2025");
    EXPECT_EQ(SbGetText(gStatusBar, 1), c.ok ? c.user : "");
    VerifySeams();
  }
}

TEST_F(LoginWindowTest, SuperUserWithEmptyAccessStringIsRefused) {
  fintest::Exec(gDb, "UPDATE useradmin SET Akses='' WHERE User='ketua'");
  ExpectMsgBox(kLoginFailedText, kCaption, IDOK, MB_OK | MB_ICONINFORMATION);
  RunLogin([&] {
    Type(gFormLoginUserEdit, "ketua");
    Type(gFormLoginPasswordEdit, "5927");
    Click(gFormLoginLoginButton);
    ASSERT_TRUE(IsWindow(gFormLoginWindow));
    FrmClose(gFormLoginWindow, 0);
  });
  EXPECT_EQ(gAkses, "unchanged");
  EXPECT_EQ(SbGetText(gStatusBar, 1), "");
}

TEST_F(LoginWindowTest, FailingStatementShowsTheErrorThenTheFailedLogin) {
  fintest::Exec(gDb, "DROP TABLE useradmin");
  ExpectMsgBox("SQL error: no such table: UserAdmin", "Info", IDOK, MB_OK);
  ExpectMsgBox(kLoginFailedText, kCaption, IDOK, MB_OK | MB_ICONINFORMATION);
  RunLogin([&] {
    Type(gFormLoginUserEdit, "ketua");
    Type(gFormLoginPasswordEdit, "5927");
    Click(gFormLoginLoginButton);
    ASSERT_TRUE(IsWindow(gFormLoginWindow));
    FrmClose(gFormLoginWindow, 0);
  });
  EXPECT_EQ(gAkses, "unchanged");
}

// The login stays on top of every other window: its boxes (a wrong pair, the welcome) are its own, shown in front
// of it and on top as well, so the operator can read and answer them.
TEST_F(LoginWindowTest, ItsBoxesStandInFrontOfTheAlwaysOnTopLogin) {
  ShowRealMsgBoxes();
  RunLogin([&] {
    Type(gFormLoginUserEdit, "ani");
    Type(gFormLoginPasswordEdit, "salah");
    Click(gFormLoginLoginButton);
    ASSERT_TRUE(IsWindow(gFormLoginWindow));
    Type(gFormLoginPasswordEdit, "rahasia");
    Click(gFormLoginLoginButton);
  });
  ASSERT_EQ(shownBoxes().size(), 2u);
  const std::string texts[] = {kLoginFailedText, AppLoginWelcomeText("ani")};
  for (std::size_t i = 0; i < 2; ++i) {
    SCOPED_TRACE(texts[i]);
    const auto& box = shownBoxes()[i];
    EXPECT_EQ(box.text, texts[i]);
    EXPECT_EQ(box.caption, kCaption);
    EXPECT_EQ(box.parentTitle, "Login");
    EXPECT_EQ(msgBoxes()[i].ownerTitle, "Login");
    EXPECT_TRUE(box.transientForParent);
    EXPECT_TRUE(box.onTop);
    EXPECT_TRUE(box.modal);
    EXPECT_TRUE(box.enabled);
    EXPECT_TRUE(box.visible);
  }
  // Both boxes belonged to the login window itself (closed now that the operator is in).
  EXPECT_FALSE(IsWindow(gFormLoginWindow));
  EXPECT_EQ(gAkses, "101");
}

TEST_F(LoginWindowTest, SchoolYearButtons) {
  struct Case {
    const char* start;
    bool plus;
    const char* expected;
  } cases[] = {
      {"2023/2024", true, "2024/2025"}, {"2023/2024", false, "2022/2023"}, {"", true, "1/1"},
      {"", false, "-1/-1"},             {"abcd", true, "1/1"},             {"1999/2000", true, "2000/2001"},
  };
  RunLogin([&] {
    EXPECT_EQ(CtlGetText(gFormLoginYearEdit), "2024/2025");   // gTapel when the window opened
    for (const Case& c : cases) {
      CtlSetText(gFormLoginYearEdit, c.start);
      Click(c.plus ? gFormLoginNextYearButton : gFormLoginPrevYearButton);
      EXPECT_EQ(CtlGetText(gFormLoginYearEdit), c.expected) << c.start << (c.plus ? " +" : " -");
    }
    // "+" then "-" comes back to the start.
    CtlSetText(gFormLoginYearEdit, "2023/2024");
    Click(gFormLoginNextYearButton);
    Click(gFormLoginPrevYearButton);
    EXPECT_EQ(CtlGetText(gFormLoginYearEdit), "2023/2024");
    FrmClose(gFormLoginWindow, 0);
  });
  EXPECT_EQ(gTapel, "2024/2025");   // only a login takes the field
}

TEST_F(LoginWindowTest, YearFieldIsTakenUncheckedOnLogin) {
  ExpectMsgBox(AppLoginWelcomeText("ani"), kCaption, IDOK, MB_OK | MB_ICONINFORMATION);
  RunLogin([&] {
    Type(gFormLoginUserEdit, "ani");
    Type(gFormLoginPasswordEdit, "rahasia");
    Type(gFormLoginYearEdit, "abcd");
    Click(gFormLoginLoginButton);
  });
  EXPECT_EQ(gTapel, "abcd");
  EXPECT_FALSE(IsWindow(gFormLoginWindow));
}

TEST_F(LoginWindowTest, LoginWithoutStatusBarStillWorks) {
  gStatusBar = 0;
  ExpectMsgBox(AppLoginWelcomeText("ketua"), kCaption, IDOK, MB_OK | MB_ICONINFORMATION);
  EXPECT_EQ(RunLogin([&] {
              Type(gFormLoginUserEdit, "ketua");
              Type(gFormLoginPasswordEdit, "5927");
              Click(gFormLoginLoginButton);
            }),
            0);
  EXPECT_EQ(gAkses, "111111111111");
}

using LoginWindowDeathTest = LoginWindowTest;

TEST_F(LoginWindowDeathTest, CancelEndsTheProcessWithCodeOne) {
  EXPECT_EXIT(RunLogin([&] {
                Type(gFormLoginUserEdit, "ketua");
                Type(gFormLoginPasswordEdit, "5927");
                Click(gFormLoginCancelButton);
                if (IsWindow(gFormLoginWindow)) FrmClose(gFormLoginWindow, 0);   // no exit: the test fails
              }),
              ::testing::ExitedWithCode(1), "");
  EXPECT_EQ(gAkses, "unchanged");
}

TEST_F(LoginWindowDeathTest, CloseBoxEndsTheProcessWithCodeOne) {
  EXPECT_EXIT(RunLogin([&] { WinWidget(gFormLoginWindow)->close(); }), ::testing::ExitedWithCode(1), "");
}

TEST_F(LoginWindowDeathTest, SystemMenuCloseEndsTheProcessWithCodeOne) {
  EXPECT_EXIT(RunLogin([&] {
                WinSendMessage(gFormLoginWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
                if (IsWindow(gFormLoginWindow)) FrmClose(gFormLoginWindow, 0);
              }),
              ::testing::ExitedWithCode(1), "");
}

TEST_F(LoginWindowTest, CancelAndCloseHandlersCallExitWithOne) {
  ThrowOnExit();
  EXPECT_THROW(FORMLOGIN_Cancel(0, 0, 0, 0), platform::ExitCalled);
  EXPECT_THROW(FORMLOGIN_OnClose(0), platform::ExitCalled);
  EXPECT_EQ(exits(), (std::vector<int>{1, 1}));
}

}  // namespace
