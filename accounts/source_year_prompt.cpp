#include "accounts/source_year_prompt.h"

#include <string>

#include "common/handover.h"
#include "common/school_year.h"
#include "common/session.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/numbers.h"
#include "framework/window_system.h"

Hwnd gForm21Window = 0;
Hwnd gForm21YearEdit = 0, gForm21NextButton = 0, gForm21PrevButton = 0, gForm21Label = 0, gForm21CancelButton = 0,
     gForm21ContinueButton = 0;
int gForm21YearEditId = 1000, gForm21NextButtonId = 1001, gForm21PrevButtonId = 1002, gForm21LabelId = 1003,
    gForm21CancelButtonId = IDCANCEL, gForm21ContinueButtonId = 1004;

// ----- what the prompt computes -------------------------------------------------------------------------------------
std::string FORM21_PreviousYear(const std::string& workingYear) {
  const double y = Val(workingYear.substr(0, 4));
  return AppYearNumber(y - 1) + "/" + AppYearNumber(y);
}

std::string FORM21_StepYear(const std::string& yearText, int step) { return AppStepSchoolYear(yearText, step); }

// ----- the window ---------------------------------------------------------------------------------------------------
namespace {

constexpr const char* kArial12 = "Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34";
constexpr const char* kSansSerif = "MS Sans Serif,-11,0,0,0,400,0,0,0,0,1,2,1,34";
constexpr std::uint32_t kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER;

FrmForm gForm21 = {.name = "FORM21",
                   .wndProc = FORM21_WndProc,
                   .window = &gForm21Window,
                   .createControls = FORM21_CreateControls,
                   .onCreate = [](Hwnd form, std::intptr_t) { return FORM21_Init(form); },
                   .caption = "Proses Copy Data",
                   .style = WS_POPUP | WS_CAPTION | WS_THICKFRAME,   // no system menu: no close box
                   .width = 507,
                   .height = 80};

}  // namespace

std::intptr_t FORM21_Show(Hwnd owner, int modal, int userData) {
  return FrmShowForm(gForm21, owner, modal, userData);
}

void FORM21_CreateControls(Hwnd form) {
  // Left to right on one line: label, year edit, "+", "-", "Batal", "Lanjut".
  gForm21YearEdit = FrmAddControl(form, "Edit", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL,
                                  WS_EX_CLIENTEDGE, 168, 14, 100, 20, gForm21YearEditId, FORM21_CtlSubclassProc,
                                  kArial12, "", FrmColors::TextOnRgb(WinRgb(128, 255, 255)), 1);
  CtlAddToolTip(gForm21YearEdit, "Tahun Pelajaran atau Tahun Buku", 1);
  gForm21NextButton = FrmAddControl(form, "Button", "+", kButton, 0, 271, 15, 17, 19, gForm21NextButtonId,
                                    FORM21_CtlSubclassProc, kArial12);
  gForm21PrevButton = FrmAddControl(form, "Button", "-", kButton, 0, 288, 15, 17, 19, gForm21PrevButtonId,
                                    FORM21_CtlSubclassProc, kArial12);
  gForm21Label = FrmAddControl(form, "Static", "Copy Data Dari Tahun Ajaran", WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 12,
                               17, 150, 18, gForm21LabelId, FORM21_CtlSubclassProc, kSansSerif, "",
                               FrmColors::RgbOnFace(WinRgb(0, 128, 255)));
  gForm21CancelButton = FrmAddControl(form, "Button", "Batal", kButton, 0, 320, 8, 81, 33, gForm21CancelButtonId,
                                      FORM21_CtlSubclassProc, kArial12);
  gForm21ContinueButton = FrmAddControl(form, "Button", "Lanjut", kButton, 0, 408, 8, 81, 33,
                                        gForm21ContinueButtonId, FORM21_CtlSubclassProc, kArial12);
  CtlSetFocus(gForm21YearEdit);
}

LResult FORM21_Init(Hwnd) {
  CtlSetText(gForm21YearEdit, FORM21_PreviousYear(gTapel));
  return 0;
}

LResult FORM21_OnContinue(Hwnd form) {
  gFormMode = CtlGetText(gForm21YearEdit);
  FrmClose(form, 0);
  return 0;
}

LResult FORM21_OnCancel(Hwnd form) {
  FrmClose(form, 0);
  return 0;
}

LResult FORM21_OnYearUp(Hwnd) {
  CtlSetText(gForm21YearEdit, FORM21_StepYear(CtlGetText(gForm21YearEdit), 1));
  return 0;
}

LResult FORM21_OnYearDown(Hwnd) {
  CtlSetText(gForm21YearEdit, FORM21_StepYear(CtlGetText(gForm21YearEdit), -1));
  return 0;
}

LResult FORM21_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  LResult r = 0;
  if (FrmFormMessage(gForm21, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    const int id = static_cast<int>(LOWORD(wParam));
    if (id == gForm21CancelButtonId) return FORM21_OnCancel(hwnd);   // "Batal", and Esc (the cancel command)
    if (id == gForm21ContinueButtonId) return FORM21_OnContinue(hwnd);
    if (id == gForm21NextButtonId) return FORM21_OnYearUp(hwnd);
    if (id == gForm21PrevButtonId) return FORM21_OnYearDown(hwnd);
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORM21_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
