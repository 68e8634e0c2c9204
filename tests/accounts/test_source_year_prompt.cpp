// The source-year prompt FORM21 driven as an operator would: the proposed year, "+" and "-", "Lanjut" handing the
// text back in gFormMode, "Batal" and Esc leaving it alone.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QTest>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "accounts/source_year_prompt.h"
#include "app/globals.h"
#include "framework/controls.h"
#include "framework/fonts.h"
#include "framework/form_runtime.h"
#include "framework/window_system.h"
#include "support/seams_fixture.h"
#include "support/operator.h"

using fintest::Click;

namespace {

TEST(SourceYearText, TheYearBeforeTheWorkingYear) {
  struct Case {
    const char* tapel;
    const char* expected;
  } cases[] = {{"2023/2024", "2022/2023"}, {"2024/2025", "2023/2024"}, {"2000/2001", "1999/2000"}, {"", "-1/0"}};
  for (const Case& c : cases) EXPECT_EQ(FORM21_PreviousYear(c.tapel), c.expected) << c.tapel;
}

TEST(SourceYearText, EachHalfStepsOnItsOwn) {
  struct Case {
    const char* text;
    int step;
    const char* expected;
  } cases[] = {
      {"2022/2023", 1, "2023/2024"}, {"2022/2023", -1, "2021/2022"}, {"2021/2022", -1, "2020/2021"},
      {"", 1, "1/1"},               {"", -1, "-1/-1"},              {"2022-2023", 1, "2023/2024"},
      {"2022/2025", 1, "2023/2026"}, {"abcd/2023", 1, "1/2024"},
  };
  for (const Case& c : cases) EXPECT_EQ(FORM21_StepYear(c.text, c.step), c.expected) << c.text << " " << c.step;
}

class SourceYearPromptTest : public fintest::SeamsTest {
 protected:
  SourceYearPromptTest() {
    gTapel = "2024/2025";
    gFormMode = "";
  }
  ~SourceYearPromptTest() override {
    if (IsWindow(gForm21Window)) WinDestroyWindow(gForm21Window);
    gFormMode.clear();
  }
  // Opens the prompt modally; `drive` runs inside its loop and must end it.
  std::intptr_t RunPrompt(std::function<void()> drive) {
    OnModal([drive](QWidget*) { drive(); });
    return FORM21_Show(0, 1, 0);
  }
};

TEST_F(SourceYearPromptTest, ControlsAsDesigned) {
  RunPrompt([] {
    const Hwnd form = gForm21Window;
    ASSERT_TRUE(IsWindow(form));
    EXPECT_EQ(WinGetWindowText(form), "Proses Copy Data");
    EXPECT_EQ(WinGetClassName(form), "FORM_FINANCE_FORM21_CLASS");
    EXPECT_EQ(WinGetStyle(form) & WS_SYSMENU, 0u);   // no close box
    struct Ctl {
      Hwnd window;
      int id;
      const char* cls;
      const char* text;
    };
    const std::vector<Ctl> controls = {
        {gForm21YearEdit, 1000, "Edit", "2023/2024"}, {gForm21NextButton, 1001, "Button", "+"},
        {gForm21PrevButton, 1002, "Button", "-"},      {gForm21Label, 1003, "Static", "Copy Data Dari Tahun Ajaran"},
        {gForm21CancelButton, IDCANCEL, "Button", "Batal"}, {gForm21ContinueButton, 1004, "Button", "Lanjut"},
    };
    for (const Ctl& c : controls) {
      SCOPED_TRACE(c.text);
      ASSERT_TRUE(IsWindow(c.window));
      EXPECT_EQ(WinGetDlgCtrlID(c.window), c.id);
      EXPECT_EQ(WinGetClassName(c.window), c.cls);
      EXPECT_EQ(CtlGetText(c.window), c.text);
    }
    // One line, left to right: label, year edit, "+", "-", "Batal", "Lanjut".
    int lastLeft = -1;
    for (Hwnd h : {gForm21Label, gForm21YearEdit, gForm21NextButton, gForm21PrevButton, gForm21CancelButton,
                   gForm21ContinueButton}) {
      EXPECT_GT(WinGetWindowRect(h).left, lastLeft);
      lastLeft = WinGetWindowRect(h).left;
    }
    EXPECT_EQ(CtlGetToolTip(gForm21YearEdit), "Tahun Pelajaran atau Tahun Buku");
    const WindowData* edit = FrmDataOf(gForm21YearEdit);
    EXPECT_TRUE(edit->colorsOn && !edit->backIsSysColor && edit->backColor == WinRgb(128, 255, 255) &&
                edit->foreIsSysColor && edit->foreColor == COLOR_WINDOWTEXT);
    const WindowData* label = FrmDataOf(gForm21Label);
    EXPECT_TRUE(label->colorsOn && !label->foreIsSysColor && label->foreColor == WinRgb(0, 128, 255));
    EXPECT_EQ(WinWidget(gForm21YearEdit)->font().family(),
              FontFromHandle(FontCreateFromSpec("Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34")).family());
    EXPECT_EQ(WinWidget(form)->focusWidget(), WinWidget(gForm21YearEdit));
    Click(gForm21CancelButton);
  });
  EXPECT_EQ(gForm21Window, 0);
}

TEST_F(SourceYearPromptTest, StepsAndContinueHandBackTheYear) {
  std::intptr_t r = RunPrompt([] {
    Click(gForm21NextButton);
    EXPECT_EQ(CtlGetText(gForm21YearEdit), "2024/2025");
    Click(gForm21PrevButton);
    Click(gForm21PrevButton);
    Click(gForm21PrevButton);
    EXPECT_EQ(CtlGetText(gForm21YearEdit), "2021/2022");
    Click(gForm21ContinueButton);
  });
  EXPECT_EQ(r, 0);
  EXPECT_EQ(gFormMode, "2021/2022");
  EXPECT_EQ(gForm21Window, 0);
}

TEST_F(SourceYearPromptTest, ContinueReturnsTheTypedTextUnchanged) {
  struct Case {
    const char* typed;
    const char* expected;
  } cases[] = {{" 2020/2021 ", " 2020/2021 "}, {"2020-2021", "2020-2021"}, {"", ""}};
  for (const Case& c : cases) {
    gFormMode = "";
    RunPrompt([&] {
      CtlSetText(gForm21YearEdit, c.typed);
      Click(gForm21ContinueButton);
    });
    EXPECT_EQ(gFormMode, c.expected) << c.typed;
  }
}

TEST_F(SourceYearPromptTest, StepsFromZeroWhenTheHalvesAreNoNumbers) {
  RunPrompt([] {
    CtlSetText(gForm21YearEdit, "");
    Click(gForm21NextButton);
    EXPECT_EQ(CtlGetText(gForm21YearEdit), "1/1");
    CtlSetText(gForm21YearEdit, "");
    Click(gForm21PrevButton);
    EXPECT_EQ(CtlGetText(gForm21YearEdit), "-1/-1");
    Click(gForm21CancelButton);
  });
}

TEST_F(SourceYearPromptTest, CancelAndEscapeLeaveTheModeAsTheCallerSetIt) {
  gFormMode = "";
  RunPrompt([] { Click(gForm21CancelButton); });
  EXPECT_EQ(gFormMode, "");
  gFormMode = "kept";
  RunPrompt([] { QTest::keyClick(WinWidget(gForm21YearEdit), Qt::Key_Escape); });
  EXPECT_EQ(gFormMode, "kept");
  EXPECT_EQ(gForm21Window, 0);
}

TEST_F(SourceYearPromptTest, EachOpeningProposesTheYearBeforeTheWorkingYearAgain) {
  RunPrompt([] {
    Click(gForm21NextButton);
    Click(gForm21CancelButton);
  });
  gTapel = "2030/2031";
  RunPrompt([] {
    EXPECT_EQ(CtlGetText(gForm21YearEdit), "2029/2030");
    Click(gForm21ContinueButton);
  });
  EXPECT_EQ(gFormMode, "2029/2030");
}

}  // namespace
