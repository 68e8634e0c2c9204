// The confirmation window "Konfirmasi": registered and built like every form (picture button with focus, masked
// password edit, label), without a command of its own; the close box ends it with the result given at the Show.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <string>

#include "app/confirm_window.h"
#include "framework/controls.h"
#include "framework/fonts.h"
#include "framework/form_runtime.h"
#include "framework/window_system.h"
#include "support/seams_fixture.h"
#include "support/operator.h"

using fintest::ExpectControl;

namespace {

class ConfirmWindowTest : public fintest::SeamsTest {
 protected:
  void TearDown() override {
    if (IsWindow(gForm26Window)) WinDestroyWindow(gForm26Window);
  }
};

TEST_F(ConfirmWindowTest, RegistersAndBuildsItsControls) {
  const std::intptr_t w = FORM26_Show(0, 0, 5);   // modeless: the window at once
  ASSERT_TRUE(IsWindow(w));
  EXPECT_EQ(w, gForm26Window);
  EXPECT_TRUE(WinClassExists("FORM_FINANCE_FORM26_CLASS"));
  EXPECT_EQ(WinGetClassName(w), "FORM_FINANCE_FORM26_CLASS");
  EXPECT_EQ(WinGetWindowText(w), "Konfirmasi");
  EXPECT_EQ(WinGetStyle(w) & (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME),
            WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME);
  struct Ctl {
    Hwnd* window;
    int id;
    const char* cls;
    const char* text;
    int x, y, w, h;
    const char* font;
  } table[] = {{&gForm26PictureButton, 1000, "Button", "", 344, 12, 58, 41, ""},
               {&gForm26PasswordEdit, 1001, "Edit", "", 144, 12, 191, 37, "Arial Unicode MS,12,1"},
               {&gForm26Label, 1002, "Static", "Password Keputusan ", 8, 16, 132, 27, "Arial Unicode MS,9,0"}};
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
    EXPECT_EQ(CtlGetToolTip(h), "");
  }
  auto* button = qobject_cast<QAbstractButton*>(WinWidget(gForm26PictureButton));
  ASSERT_NE(button, nullptr);
  EXPECT_FALSE(button->icon().isNull());
  EXPECT_EQ(button->iconSize(), QSize(32, 32));
  EXPECT_EQ(qobject_cast<QLineEdit*>(WinWidget(gForm26PasswordEdit))->echoMode(), QLineEdit::Password);
  const WindowData* edit = FrmDataOf(gForm26PasswordEdit);
  EXPECT_TRUE(edit->colorsOn && edit->foreColor == COLOR_WINDOWTEXT && edit->backColor == COLOR_WINDOW);
  const WindowData* label = FrmDataOf(gForm26Label);
  EXPECT_TRUE(label->colorsOn && label->foreColor == COLOR_WINDOWTEXT && label->backColor == COLOR_BTNFACE);
  EXPECT_EQ(WinGetFocus(), gForm26PictureButton);

  // Neither the button nor a typed password does anything.
  QTest::keyClicks(WinWidget(gForm26PasswordEdit), "rahasia");
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_TRUE(IsWindow(w));
  WinDestroyWindow(w);
  EXPECT_EQ(gForm26Window, 0);
}

TEST_F(ConfirmWindowTest, CloseBoxEndsTheModalWindowWithTheGivenResult) {
  bool seen = false;
  OnModal([&](QWidget*) {
    seen = IsWindow(gForm26Window);
    QTest::mouseClick(WinWidget(gForm26PictureButton), Qt::LeftButton);
    EXPECT_TRUE(IsWindow(gForm26Window));   // no command handler
    WinWidget(gForm26Window)->close();
  });
  EXPECT_EQ(FORM26_Show(0, 1, 9), 9);
  EXPECT_TRUE(seen);
  EXPECT_EQ(gForm26Window, 0);
}

}  // namespace
