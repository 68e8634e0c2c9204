#include "app/data_reset_window.h"

#include <sqlite3.h>

#include <string>

#include "common/sql.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/strings.h"
#include "framework/system_wrappers.h"
#include "framework/window_data.h"
#include "framework/window_system.h"

Hwnd gForm20Window = 0;
Hwnd gForm20Check[kForm20TableCount] = {0, 0, 0, 0, 0, 0};
Hwnd gForm20QuestionLabel = 0, gForm20WarningLabel = 0, gForm20CancelButton = 0, gForm20ContinueButton = 0;

int gForm20CheckId[kForm20TableCount] = {1000, 1001, 1002, 1003, 1004, 1005};
int gForm20QuestionLabelId = 1006, gForm20WarningLabelId = 1007, gForm20CancelButtonId = IDCANCEL,
    gForm20ContinueButtonId = 1008;

void FORM20_InitControlIds() {
  int id = 1000;
  for (int& g : gForm20CheckId) g = id++;
  gForm20QuestionLabelId = id++;
  gForm20WarningLabelId = id++;
  gForm20ContinueButtonId = id++;
  gForm20CancelButtonId = IDCANCEL;
}

// ----- what the reset runs ------------------------------------------------------------------------------------------
std::string FORM20_TableOf(int index) { return StrParse(kForm20Tables, ",", index + 1); }

std::string FORM20_DeleteStatement(int index) { return "Delete From " + FORM20_TableOf(index); }

// ----- the window ---------------------------------------------------------------------------------------------------
namespace {

constexpr const char* kQuestion = "Apakah anda yakin akan reset data?";
constexpr const char* kWarning =
    "PERINGATAN, RESET DATA DAPAT MENGAKIBATKAN HILANGNYA ARSIP PENTING MENGENAI INFORMASI REKAMAN DATABASE..";
constexpr const char* kConfirmCaption = "Confirm Delete";
constexpr const char* kLabelFont = "Arial Unicode MS,10,1";
constexpr const char* kFont = "Arial Unicode MS,9,0";
constexpr std::uint32_t kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER;
constexpr std::uint32_t kCheck = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;

struct CheckDesign {
  const char* caption;
  int x, y, w, h;
};
constexpr CheckDesign kChecks[kForm20TableCount] = {
    {"Data Siswa", 48, 72, 81, 33},
    {"Data Siswa Kelas", 48, 104, 120, 33},
    {"Data Rekening", 48, 139, 150, 33},
    {"Data Akun Pembayaran", 208, 72, 150, 33},
    {"Data Detail Akun Pembayaran", 208, 104, 200, 33},
    {"Data Transaksi", 208, 139, 150, 33},
};

FrmForm gForm20 = {.name = "FORM20",
                   .wndProc = FORM20_WndProc,
                   .window = &gForm20Window,
                   .createControls = FORM20_CreateControls,
                   .caption = "Reset Data",
                   .style = WS_POPUP | WS_CAPTION | WS_THICKFRAME,
                   .width = 489,
                   .height = 310};

bool AskYes(const std::string& text) {
  return MsgBox(text, kConfirmCaption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

}  // namespace

std::intptr_t FORM20_Show(Hwnd parent, int modal, int userData) {
  return FrmShowForm(gForm20, parent, modal, userData);
}

void FORM20_CreateControls(Hwnd form) {
  for (int i = 0; i < kForm20TableCount; ++i) {
    const CheckDesign& c = kChecks[i];
    gForm20Check[i] = FrmAddControl(form, "Button", c.caption, kCheck, 0, c.x, c.y, c.w, c.h, gForm20CheckId[i],
                                    FORM20_CtlSubclassProc, kFont, "", FrmColors::Face());
    if (WindowData* d = FrmDataOf(gForm20Check[i])) d->index = i;
  }
  gForm20QuestionLabel = FrmAddControl(form, "Static", kQuestion, WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0, 0, 500, 18,
                                       gForm20QuestionLabelId, FORM20_CtlSubclassProc, kLabelFont, "",
                                       FrmColors::TextOnRgb(WinRgb(255, 0, 0)));
  gForm20WarningLabel = FrmAddControl(form, "Static", kWarning, WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0, 16, 480, 45,
                                      gForm20WarningLabelId, FORM20_CtlSubclassProc, kLabelFont, "",
                                      FrmColors::TextOnRgb(WinRgb(255, 255, 128)));
  gForm20CancelButton = FrmAddControl(form, "Button", "Batal", kButton, 0, 320, 224, 71, 27, gForm20CancelButtonId,
                                      FORM20_CtlSubclassProc, kFont);
  gForm20ContinueButton = FrmAddControl(form, "Button", "Lanjut", kButton, 0, 392, 224, 71, 27,
                                        gForm20ContinueButtonId, FORM20_CtlSubclassProc, kFont);
  CtlSetFocus(gForm20Check[4]);
}

LResult FORM20_ResetData(int, Hwnd form, Hwnd, int) {
  if (AskYes(std::string(kQuestion) + "\r" + kWarning)) {
    for (int i = 0; i < kForm20TableCount; ++i) {
      const Hwnd box = gForm20Check[i];
      if (!BtnIsChecked(box)) continue;
      const std::string caption = CtlGetText(box);
      if (!AskYes("Reset Data " + caption)) continue;
      // Each table is its own statement: an earlier delete stays done whatever happens to a later one. A failure
      // shows "SQL error: " + SQLite's message and the reset goes on.
      if (FinExec(FORM20_DeleteStatement(i)) == SQLITE_OK)
        MsgBox("Reset Data " + caption + " berhasil di eksekusi..", "Info", MB_OK);
    }
  }
  FrmClose(form, 0);
  return 0;
}

LResult FORM20_Cancel(int, Hwnd form, Hwnd, int) {
  FrmClose(form, 0);
  return 0;
}

LResult FORM20_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  if (msg == WM_CLOSE) {   // no close box; a close request from the desktop all the same counts as "Batal"
    FrmClose(hwnd, 0);
    return 0;
  }
  LResult r = 0;
  if (FrmFormMessage(gForm20, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    using Handler = LResult (*)(int, Hwnd, Hwnd, int);
    const int id = static_cast<int>(LOWORD(wParam));
    Handler handler = id == gForm20ContinueButtonId ? FORM20_ResetData
                      : id == gForm20CancelButtonId ? FORM20_Cancel
                                                    : nullptr;
    if (handler) {
      const Hwnd control = FrmControlOf(msg, lParam);
      if (LResult h = handler(FrmIndexOf(control), hwnd, control, id)) return h;
    }
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORM20_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
