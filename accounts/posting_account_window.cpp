#include "accounts/posting_account_window.h"

#include <sqlite3.h>

#include <string>

#include "accounts/fee_rules.h"
#include "common/session.h"
#include "common/sql.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/system_wrappers.h"
#include "framework/window_system.h"

Hwnd gForm17Window = 0;
Hwnd gForm17CancelButton = 0, gForm17SaveButton = 0, gForm17InfoLabel = 0, gForm17RekeningCombo = 0,
     gForm17RekeningLabel = 0;
int gForm17CancelButtonId = 1000, gForm17SaveButtonId = 1001, gForm17InfoLabelId = 1002,
    gForm17RekeningComboId = 1003, gForm17RekeningLabelId = 1004;

const char* const kForm17InfoText =
    "Fitur ini berfungsi sebagai penge-set-an Rekening ke Akun Pembayaran secara masal, dikarenakan hasil import data "
    "dari excel kolom referensi rekening RefRekening) masih dikosongi.";
const char* const kForm17DoneText =
    "Rekening berhasil di set ke Akun Pembayaran secara masal, untuk selanjutnya silahkan Refresh untuk mereload "
    "data..";
const char* const kForm17NoFeeText =
    "Akun Pembayaran tahun ajaran ini tidak ditemukan, tidak ada rekening yang di set..";

void FORM17_InitControlIds() {
  int id = 1000;
  for (int* g : {&gForm17CancelButtonId, &gForm17SaveButtonId, &gForm17InfoLabelId, &gForm17RekeningComboId,
                 &gForm17RekeningLabelId})
    *g = id++;
}

namespace {

constexpr const char* kFont = "Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34";
constexpr std::uint32_t kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;

FrmForm gForm17 = {.name = "FORM17",
                   .wndProc = FORM17_WndProc,
                   .window = &gForm17Window,
                   .createControls = FORM17_CreateControls,
                   .onCreate = FORM17_LoadRekening,
                   .caption = "Set Rekening Secara Masal",
                   .style = WS_POPUP | WS_CAPTION | WS_SYSMENU,
                   .width = 500,
                   .height = 191};

}  // namespace

bool FORM17_SetRekening(const std::string& code, const std::string& tapel, long long* fees) {
  FinTransaction tx;
  if (!tx.active()) return false;
  if (FinExec("Update account Set RefRekening='" + SqlQ(code) + "' WHERE Tapel='" + SqlQ(tapel) + "'") != 0)
    return false;
  const long long changed = sqlite3_changes(gDb);
  if (!tx.commit()) return false;
  if (fees) *fees = changed;
  return true;
}

std::intptr_t FORM17_Show(Hwnd parent, int modal, int userData) { return FrmShowForm(gForm17, parent, modal, userData); }

void FORM17_CreateControls(Hwnd form) {
  gForm17CancelButton = FrmAddControl(form, "Button", "Batal", kButton, 0, 300, 148, 88, 28, gForm17CancelButtonId,
                                      FORM17_CtlSubclassProc, kFont);
  gForm17SaveButton = FrmAddControl(form, "Button", "Simpan", kButton | WS_DISABLED, 0, 396, 148, 88, 28,
                                    gForm17SaveButtonId, FORM17_CtlSubclassProc, kFont);
  gForm17InfoLabel = FrmAddControl(form, "Static", kForm17InfoText, WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 16, 48, 468,
                                   90, gForm17InfoLabelId, FORM17_CtlSubclassProc, kFont, "", FrmColors::Face());
  gForm17RekeningCombo = FrmAddControl(form, "ComboBox", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL |
                                       CBS_DROPDOWNLIST, 0, 120, 14, 364, 200, gForm17RekeningComboId,
                                       FORM17_CtlSubclassProc, kFont);
  gForm17RekeningLabel = FrmAddControl(form, "Static", "Pilih Rekening", WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 16, 17,
                                       100, 20, gForm17RekeningLabelId, FORM17_CtlSubclassProc, kFont);
  CtlSetFocus(gForm17CancelButton);
}

LResult FORM17_LoadRekening(Hwnd, std::intptr_t) {
  FinExec(FinPostingAccountsSql(gTapel), FORM17_OnRekeningRow);
  return 0;
}

int FORM17_OnRekeningRow(void*, int columnCount, char** values, char**) {
  auto cell = [&](int i) { return i < columnCount && values && values[i] ? std::string(values[i]) : std::string(); };
  CbAddString(gForm17RekeningCombo, cell(0) + " " + cell(1));
  return 0;
}

LResult FORM17_SetRekeningAll(Hwnd) {
  if (CbGetCurSel(gForm17RekeningCombo) < 0) return 0;
  long long fees = 0;
  if (!FORM17_SetRekening(FinCodeOfItem(CtlGetText(gForm17RekeningCombo)), gTapel, &fees)) return 0;
  // A year without fees (none entered yet, or deleted meanwhile): no fee got the account, and no success is claimed.
  if (fees < 1) MsgBox(kForm17NoFeeText, "Info", MB_OK | MB_ICONINFORMATION);
  else MsgBox(kForm17DoneText, "Info", MB_OK);
  return 0;
}

LResult FORM17_OnCancel(Hwnd form) {
  FrmClose(form, 0);
  return 0;
}

LResult FORM17_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  LResult r = 0;
  if (FrmFormMessage(gForm17, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND) {
    const int id = static_cast<int>(LOWORD(wParam));
    const unsigned code = HIWORD(wParam);
    if (code == BN_CLICKED && id == gForm17CancelButtonId) return FORM17_OnCancel(hwnd);
    if (code == BN_CLICKED && id == gForm17SaveButtonId) return FORM17_SetRekeningAll(hwnd);
    if (code == CBN_SELCHANGE && id == gForm17RekeningComboId) {
      if (CbGetCurSel(gForm17RekeningCombo) >= 0) CtlEnable(gForm17SaveButton);
      return 0;
    }
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORM17_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
