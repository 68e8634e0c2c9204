#include "app/password_window.h"

#include <string>

#include "app/globals.h"
#include "common/globals.h"
#include "common/sql.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/window_system.h"

Hwnd gPasswordWindow = 0;
Hwnd gPasswordLabel = 0, gPasswordEdit = 0, gPasswordSaveButton = 0;

int gPasswordLabelId = 1000, gPasswordEditId = 1001, gPasswordSaveButtonId = 1002;

void PASSWORD_InitControlIds() {
  int id = 1000;
  for (int* g : {&gPasswordLabelId, &gPasswordEditId, &gPasswordSaveButtonId}) *g = id++;
}

std::string PASSWORD_UpdateSql(const std::string& password, const std::string& user) {
  return "Update useradmin Set Password='" + SqlQ(password) + "' where User='" + SqlQ(user) + "'";
}

namespace {

constexpr const char* kArial12 = "Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34";

FrmForm gPassword = {.name = "PASSWORD",
                     .wndProc = PASSWORD_WndProc,
                     .window = &gPasswordWindow,
                     .createControls = PASSWORD_CreateControls,
                     .caption = "Ubah Password",
                     .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                     .width = 500,
                     .height = 106};

}  // namespace

std::intptr_t PASSWORD_Show(Hwnd parent, int modal, int userData) {
  return FrmShowForm(gPassword, parent, modal, userData);
}

void PASSWORD_CreateControls(Hwnd form) {
  gPasswordLabel = FrmAddControl(form, "Static", "Password Baru", WS_CHILD | WS_VISIBLE, 0, 16, 24, 100, 20,
                                 gPasswordLabelId, PASSWORD_CtlSubclassProc, kArial12, "", FrmColors::Face());
  gPasswordEdit = FrmAddControl(form, "Edit", "",
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_PASSWORD | ES_AUTOHSCROLL,
                                WS_EX_CLIENTEDGE, 116, 22, 215, 24, gPasswordEditId, PASSWORD_CtlSubclassProc,
                                kArial12);
  gPasswordSaveButton = FrmAddControl(form, "Button", "Simpan",
                                      WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER, 0, 344, 20, 126,
                                      30, gPasswordSaveButtonId, PASSWORD_CtlSubclassProc, kArial12);
  CtlSetFocus(gPasswordEdit);
}

LResult PASSWORD_Save(Hwnd form) {
  const std::string password = CtlGetText(gPasswordEdit);
  if (!password.empty()) {
    gSql = PASSWORD_UpdateSql(password, SbGetText(gStatusBar, 1));
    FinExec(gSql);
  }
  FrmClose(form, 0);
  return 0;
}

LResult PASSWORD_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  LResult r = 0;
  if (FrmFormMessage(gPassword, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && static_cast<int>(LOWORD(wParam)) == gPasswordSaveButtonId)
    if (LResult h = PASSWORD_Save(hwnd)) return h;
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult PASSWORD_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
