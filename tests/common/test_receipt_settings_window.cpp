// The receipt settings window driven as an operator would: its controls, what it loads from the receipt globals and
// the payment window's layout list, the save into setting_struk.txt and the globals, and closing without a save.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QTest>
#include <QWidget>
#include <climits>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/config.h"
#include "app/globals.h"
#include "common/receipt_settings_window.h"
#include "framework/control_classes.h"
#include "framework/controls.h"
#include "framework/fonts.h"
#include "framework/form_runtime.h"
#include "framework/window_system.h"
#include "payments/payment_globals.h"
#include "payments/payment_window.h"
#include "support/fixtures.h"
#include "support/seams_fixture.h"
#include "support/operator.h"

using fintest::Click;
using fintest::Type;

namespace {

class ReceiptSettingsWindowTest : public fintest::SeamsTest {
 protected:
  void SetUp() override {
    gStrukTopMargin = 15;
    gStrukLineSpacing = 150;
    gStrukDefaultType = 0;
    gStrukFont = "Courier New";
    gPrepaid = 0;
    gFormBayarPrintChoiceCombo = 0;
    FORM23_InitControlIds();
  }
  void TearDown() override {
    if (IsWindow(gForm23Window)) WinDestroyWindow(gForm23Window);
    gFormBayarPrintChoiceCombo = 0;
    delete payment_;
  }

  // A stand-in for the payment window's "Pilihan Cetak" list with three layouts.
  void OpenPaymentLayouts(int selected) {
    payment_ = new QWidget;
    gFormBayarPrintChoiceCombo = WinCreateControl(0, "ComboBox", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 0, 0,
                                                  200, 200, WinHandle(payment_), 1000);
    for (const char* s : {"Struk Kecil", "Struk Besar", "Kwitansi"}) CbAddString(gFormBayarPrintChoiceCombo, s);
    CbSetCurSel(gFormBayarPrintChoiceCombo, selected);
  }

  std::intptr_t RunWindow(std::function<void()> drive, int parameter = 0) {
    OnModal([drive](QWidget*) { drive(); });
    return FORM23_Show(0, 1, parameter, FORMBAYAR_ReceiptLayoutList());   // as the payment window opens it
  }
  // The operator moves a drop-down list's choice down by one with the keyboard.
  static void ChooseNext(Hwnd list) {
    auto* c = qobject_cast<QComboBox*>(WinWidget(list));
    ASSERT_NE(c, nullptr);
    QTest::keyClick(c, Qt::Key_Down);
  }
  static std::vector<std::string> Items(Hwnd list) {
    std::vector<std::string> items;
    for (int i = 0; i < CbGetCount(list); ++i) items.push_back(CbGetItemText(list, i));
    return items;
  }
  std::string Settings() const { return fintest::ReadFile(ProgramFile("setting_struk.txt")); }
  bool SettingsWritten() const { return std::filesystem::exists(ProgramFile("setting_struk.txt")); }

  QWidget* payment_ = nullptr;
};

// ------------------------------------------------------------------------------------------------------------------
TEST_F(ReceiptSettingsWindowTest, ControlsAsDesigned) {
  struct Ctl {
    Hwnd* window;
    int id;
    const char* cls;
    std::string text;
    int x, y, w, h;   // h 0: a drop-down list, which keeps its own height
  };
  const std::vector<Ctl> table = {
      {&gForm23FontCombo, 1000, "ComboBox", "Courier New", 128, 92, 170, 0},
      {&gForm23LineSpacingEdit, 1001, "Edit", "150", 128, 40, 136, 21},
      {&gForm23SaveButton, 1002, "Button", "Tutup dan Simpan", 160, 128, 138, 29},
      {&gForm23DefaultTypeCombo, 1003, "ComboBox", "", 128, 64, 170, 0},
      {&gForm23FontLabel, 1004, "Static", "Pilihan Font", 24, 96, 97, 17},
      {&gForm23TopMarginEdit, 1005, "Edit", "15", 128, 16, 136, 21},
      {&gForm23DefaultTypeLabel, 1006, "Static", "Default Struk", 24, 68, 97, 17},
      {&gForm23LineSpacingLabel, 1007, "Static", "Jarak Per Baris", 24, 40, 97, 17},
      {&gForm23TopMarginLabel, 1008, "Static", "Marjin Atas", 24, 16, 97, 17},
  };
  const std::intptr_t r = RunWindow(
      [&] {
        const Hwnd form = gForm23Window;
        ASSERT_TRUE(IsWindow(form));
        EXPECT_EQ(WinGetWindowText(form), "Setting Struk");
        EXPECT_EQ(WinGetClassName(form), "FORM_FINANCE_FORM23_CLASS");
        EXPECT_EQ(WinGetClientRect(form).width(), FrmScaleX(329));
        EXPECT_EQ(WinGetClientRect(form).height(), FrmScaleY(207));
        const QFont expected = FontFromHandle(FontCreateFromSpec("Arial Unicode MS,9,0"));
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
          if (c.h) {
            EXPECT_EQ(rc.height(), FrmScaleY(c.h));
          }
          EXPECT_EQ(WinWidget(h)->font().family(), expected.family());
          EXPECT_EQ(WinWidget(h)->font().pointSize(), expected.pointSize());
        }
        EXPECT_EQ(Items(gForm23FontCombo), (std::vector<std::string>{"Courier New", "Lucida Sans Typewriter",
                                                                     "Lucida Console", "Courier", "Monaco",
                                                                     "Consolas"}));
        EXPECT_FALSE(qobject_cast<QComboBox*>(WinWidget(gForm23FontCombo))->isEditable());
        EXPECT_FALSE(qobject_cast<QComboBox*>(WinWidget(gForm23DefaultTypeCombo))->isEditable());
        EXPECT_EQ(CtlGetToolTip(gForm23TopMarginEdit), "Marjin Atas Struk");
        EXPECT_EQ(CtlGetToolTip(gForm23LineSpacingEdit), "Marjin Atas Struk");
        // The margins take digits only.
        Type(gForm23TopMarginEdit, "1a-2;");
        EXPECT_EQ(CtlGetText(gForm23TopMarginEdit), "12");
        // Esc is no command here; the close box saves nothing.
        QTest::keyClick(WinWidget(gForm23TopMarginEdit), Qt::Key_Escape);
        EXPECT_TRUE(IsWindow(gForm23Window));
        WinWidget(form)->close();
        EXPECT_FALSE(IsWindow(gForm23Window));
      },
      6);
  EXPECT_EQ(r, 0);
  EXPECT_EQ(gForm23Window, 0);
  EXPECT_FALSE(SettingsWritten());
  EXPECT_EQ(gStrukTopMargin, 15);
}

TEST_F(ReceiptSettingsWindowTest, LoadsTheGlobals) {
  gStrukTopMargin = 20;
  gStrukLineSpacing = 170;
  gStrukFont = "Consolas";
  RunWindow([] {
    EXPECT_EQ(CtlGetText(gForm23TopMarginEdit), "20");
    EXPECT_EQ(CtlGetText(gForm23LineSpacingEdit), "170");
    EXPECT_EQ(CbGetCurSel(gForm23FontCombo), 5);
    // The payment window is closed: no layouts to choose from.
    EXPECT_EQ(CbGetCount(gForm23DefaultTypeCombo), 0);
    EXPECT_EQ(CbGetCurSel(gForm23DefaultTypeCombo), CB_ERR);
    WinSendMessage(gForm23Window, WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  EXPECT_FALSE(SettingsWritten());
}

TEST_F(ReceiptSettingsWindowTest, FontFoundByTheListsOwnSearch) {
  struct Case {
    const char* font;
    int selected;
    const char* text;
  } cases[] = {
      {"Courier New", 0, "Courier New"},
      {"Courier", 3, "Courier"},            // the search begins after entry 0
      {"courier new", 0, "Courier New"},    // without regard to case
      {"Lucida", 1, "Lucida Sans Typewriter"},
      {"Arial", CB_ERR, ""},                // none of the six
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.font);
    gStrukFont = c.font;
    RunWindow([&] {
      EXPECT_EQ(CbGetCurSel(gForm23FontCombo), c.selected);
      EXPECT_EQ(CtlGetText(gForm23FontCombo), c.text);
      WinWidget(gForm23Window)->close();
    });
  }
}

TEST_F(ReceiptSettingsWindowTest, SaveWritesTheFileAndTheGlobals) {
  gStrukDefaultType = 2;
  gPrepaid = 1;
  const std::intptr_t r = RunWindow(
      [] {
        Type(gForm23TopMarginEdit, "12");
        Type(gForm23LineSpacingEdit, "140");
        ChooseNext(gForm23FontCombo);   // Courier New -> Lucida Sans Typewriter
        ChooseNext(gForm23FontCombo);   // -> Lucida Console
        Click(gForm23SaveButton);
        EXPECT_FALSE(IsWindow(gForm23Window));
      },
      3);
  EXPECT_EQ(r, 0);
  // The payment window was closed: the default layout held so far is kept.
  EXPECT_EQ(Settings(), "12;140;2;Lucida Console;1\r\n");
  EXPECT_EQ(gStrukTopMargin, 12);
  EXPECT_EQ(gStrukLineSpacing, 140);
  EXPECT_EQ(gStrukDefaultType, 2);
  EXPECT_EQ(gStrukFont, "Lucida Console");
  EXPECT_EQ(gPrepaid, 1);
  // What start-up reads back is what was saved.
  gStrukTopMargin = gStrukLineSpacing = gStrukDefaultType = gPrepaid = 0;
  AppParseStrukLine("12;140;2;Lucida Console;1");
  EXPECT_EQ(gStrukLineSpacing, 140);
}

TEST_F(ReceiptSettingsWindowTest, DefaultSettingsSavedUnchanged) {
  RunWindow([] { Click(gForm23SaveButton); });
  EXPECT_EQ(Settings(), "15;150;0;Courier New;0\r\n");
  EXPECT_EQ(gStrukDefaultType, 0);
}

TEST_F(ReceiptSettingsWindowTest, EmptyMarginsAndUnknownFontAreSavedEmpty) {
  gStrukFont = "Fixedsys";   // typed into the file by hand: none of the six
  RunWindow([] {
    Type(gForm23TopMarginEdit, "");
    Type(gForm23LineSpacingEdit, "");
    Click(gForm23SaveButton);
  });
  EXPECT_EQ(Settings(), ";;0;;0\r\n");
  EXPECT_EQ(gStrukTopMargin, 0);
  EXPECT_EQ(gStrukLineSpacing, 0);
  EXPECT_EQ(gStrukFont, "");
}

TEST_F(ReceiptSettingsWindowTest, PaymentWindowLayoutsAreCopiedAndFollowTheChoice) {
  OpenPaymentLayouts(1);
  gStrukDefaultType = 1;
  RunWindow([] {
    EXPECT_EQ(Items(gForm23DefaultTypeCombo), (std::vector<std::string>{"Struk Kecil", "Struk Besar", "Kwitansi"}));
    EXPECT_EQ(CbGetCurSel(gForm23DefaultTypeCombo), 1);
    ChooseNext(gForm23DefaultTypeCombo);
    EXPECT_EQ(CbGetCurSel(gForm23DefaultTypeCombo), 2);
    EXPECT_EQ(CbGetCurSel(gFormBayarPrintChoiceCombo), 2);   // at once, before any save
    // A font choice changes nothing outside the window.
    ChooseNext(gForm23FontCombo);
    EXPECT_EQ(CbGetCurSel(gFormBayarPrintChoiceCombo), 2);
    WinWidget(gForm23Window)->close();   // no save
  });
  EXPECT_EQ(CbGetCurSel(gFormBayarPrintChoiceCombo), 2);
  EXPECT_EQ(gStrukDefaultType, 1);
  EXPECT_FALSE(SettingsWritten());

  RunWindow([] {
    ChooseNext(gForm23DefaultTypeCombo);   // 1 -> 2 again, then saved
    Click(gForm23SaveButton);
  });
  EXPECT_EQ(Settings(), "15;150;2;Courier New;0\r\n");
  EXPECT_EQ(gStrukDefaultType, 2);
}

TEST_F(ReceiptSettingsWindowTest, NoLayoutSelectedInThePaymentListSavesMinusOne) {
  OpenPaymentLayouts(0);
  gStrukDefaultType = 7;   // no such layout: nothing selected
  RunWindow([] {
    EXPECT_EQ(CbGetCount(gForm23DefaultTypeCombo), 3);
    EXPECT_EQ(CbGetCurSel(gForm23DefaultTypeCombo), CB_ERR);
    Click(gForm23SaveButton);
  });
  EXPECT_EQ(Settings(), "15;150;-1;Courier New;0\r\n");
  EXPECT_EQ(gStrukDefaultType, -1);
}

TEST_F(ReceiptSettingsWindowTest, ClosedPaymentWindowLeavesTheLayoutListEmpty) {
  // The payment window has gone; its list global still names the destroyed list.
  OpenPaymentLayouts(1);
  delete payment_;
  payment_ = nullptr;
  ASSERT_FALSE(IsWindow(gFormBayarPrintChoiceCombo));
  gStrukDefaultType = 1;
  RunWindow([] {
    EXPECT_EQ(CbGetCount(gForm23DefaultTypeCombo), 0);
    Click(gForm23SaveButton);
  });
  EXPECT_EQ(Settings(), "15;150;1;Courier New;0\r\n");
  EXPECT_EQ(gStrukDefaultType, 1);
}

TEST(ReceiptSettingsValues, Numbers) {
  struct Case {
    const char* text;
    int value;
  } cases[] = {{"12", 12}, {"", 0}, {"007", 7}, {"12.5", 12}, {"13.5", 14}, {"99999999999", INT_MAX}};
  for (const Case& c : cases) EXPECT_EQ(FORM23_Number(c.text), c.value) << c.text;
}

TEST(ReceiptSettingsValues, LineAndDefaultLayout) {
  EXPECT_EQ(FORM23_StrukLine("15", "150", 0, "Courier New", 0), "15;150;0;Courier New;0");
  EXPECT_EQ(FORM23_StrukLine("", "", -1, "", 1), ";;-1;;1");
  EXPECT_EQ(FORM23_DefaultTypeToSave(3, 2, 0), 2);
  EXPECT_EQ(FORM23_DefaultTypeToSave(3, -1, 0), -1);
  EXPECT_EQ(FORM23_DefaultTypeToSave(0, -1, 2), 2);
  EXPECT_EQ(FORM23_DefaultTypeToSave(-1, -1, 2), 2);
}

}  // namespace
