#include "app/login_window.h"

#include <QLabel>
#include <QWidget>
#include <string>

#include "app/access.h"
#include "app/globals.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/resources.h"
#include "framework/system_wrappers.h"
#include "framework/window_system.h"
#include "platform/seams.h"

Hwnd gFormLoginWindow = 0;
Hwnd gFormLoginIcon = 0, gFormLoginTitleLabel = 0, gFormLoginPromptLabel = 0, gFormLoginUserLabel = 0,
     gFormLoginUserEdit = 0, gFormLoginPasswordLabel = 0, gFormLoginPasswordEdit = 0, gFormLoginYearLabel = 0,
     gFormLoginYearEdit = 0, gFormLoginNextYearButton = 0, gFormLoginPrevYearButton = 0, gFormLoginCancelButton = 0,
     gFormLoginLoginButton = 0, gFormLoginDefaultUserLabel = 0;

int gFormLoginIconId = 1000, gFormLoginTitleLabelId = 1001, gFormLoginPromptLabelId = 1002,
    gFormLoginUserLabelId = 1003, gFormLoginUserEditId = 1004, gFormLoginPasswordLabelId = 1005,
    gFormLoginPasswordEditId = 1006, gFormLoginYearLabelId = 1007, gFormLoginYearEditId = 1008,
    gFormLoginNextYearButtonId = 1009, gFormLoginPrevYearButtonId = 1010, gFormLoginCancelButtonId = 1011,
    gFormLoginLoginButtonId = 1012, gFormLoginDefaultUserLabelId = 1013;

void FORMLOGIN_InitControlIds() {
  int id = 1000;
  for (int* g : {&gFormLoginIconId, &gFormLoginTitleLabelId, &gFormLoginPromptLabelId, &gFormLoginUserLabelId,
                 &gFormLoginUserEditId, &gFormLoginPasswordLabelId, &gFormLoginPasswordEditId,
                 &gFormLoginYearLabelId, &gFormLoginYearEditId, &gFormLoginNextYearButtonId,
                 &gFormLoginPrevYearButtonId, &gFormLoginCancelButtonId, &gFormLoginLoginButtonId,
                 &gFormLoginDefaultUserLabelId})
    *g = id++;
}

namespace {

constexpr const char* kLoginCaption = "Login User..";
constexpr const char* kSansSerif = "MS Sans Serif,-11,0,0,0,400,0,0,0,0,1,2,1,34";
constexpr const char* kArial12 = "Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34";

FrmForm gFormLogin = {.name = "FORMLOGIN",
                      .wndProc = FORMLOGIN_WndProc,
                      .window = &gFormLoginWindow,
                      .createControls = FORMLOGIN_CreateControls,
                      .onCreate = FORMLOGIN_OnCreate,
                      .caption = "Login",
                      .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                      .exStyle = WS_EX_TOPMOST,
                      .width = 418,
                      .height = 233};

constexpr std::uint32_t kStatic = WS_CHILD | WS_VISIBLE | SS_NOTIFY;
constexpr std::uint32_t kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER;
constexpr std::uint32_t kEdit = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;

// The people icon, at its own size, centred in the picture control.
void ShowLoginIcon(Hwnd picture) {
  if (auto* label = qobject_cast<QLabel*>(WinWidget(picture))) {
    label->setAlignment(Qt::AlignCenter);
    label->setPixmap(ResLoadImage("IMAGE_LOGINPEOPLE"));
  }
}

}  // namespace

std::intptr_t FORMLOGIN_Show(Hwnd owner, int modal, int userData) {
  Hwnd form = FrmCreateForm(gFormLogin, owner, userData);
  if (!form) return 0;
  return FrmShow(modal, form, owner, SW_SHOWNORMAL, 0);
}

void FORMLOGIN_CreateControls(Hwnd form) {
  const FrmColors blue = FrmColors::RgbOnFace(WinRgb(0, 128, 255));
  gFormLoginIcon = FrmAddControl(form, "Static", "", WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_ICON | SS_CENTERIMAGE, 0,
                                 20, 20, 68, 71, gFormLoginIconId, FORMLOGIN_CtlSubclassProc, "");
  ShowLoginIcon(gFormLoginIcon);
  gFormLoginTitleLabel = FrmAddControl(form, "Static", "Login pengguna..", kStatic, 0, 96, 16, 290, 25,
                                       gFormLoginTitleLabelId, FORMLOGIN_CtlSubclassProc,
                                       "Arial,-19,0,0,0,700,0,0,0,0,3,2,1,34", "",
                                       FrmColors::RgbOnFace(WinRgb(255, 0, 0)));
  gFormLoginPromptLabel = FrmAddControl(form, "Static", "Silahkan masukan username dan password anda!", kStatic, 0,
                                        104, 44, 277, 21, gFormLoginPromptLabelId, FORMLOGIN_CtlSubclassProc,
                                        kSansSerif, "", blue);
  gFormLoginUserLabel = FrmAddControl(form, "Static", "Username", kStatic, 0, 100, 72, 73, 21, gFormLoginUserLabelId,
                                      FORMLOGIN_CtlSubclassProc, kSansSerif, "", blue);
  gFormLoginUserEdit = FrmAddControl(form, "Edit", "", kEdit | ES_LOWERCASE, WS_EX_CLIENTEDGE, 176, 72, 211, 20,
                                     gFormLoginUserEditId, FORMLOGIN_CtlSubclassProc, kArial12, "",
                                     FrmColors::TextOnRgb(WinRgb(255, 255, 0)), 1);
  CtlAddToolTip(gFormLoginUserEdit, "Isikan nama pengguna disini", 1);
  gFormLoginPasswordLabel = FrmAddControl(form, "Static", "Password", kStatic, 0, 100, 96, 73, 21,
                                          gFormLoginPasswordLabelId, FORMLOGIN_CtlSubclassProc, kSansSerif, "",
                                          blue);
  gFormLoginPasswordEdit = FrmAddControl(form, "Edit", "", kEdit | ES_PASSWORD, WS_EX_CLIENTEDGE, 176, 96, 211, 20,
                                         gFormLoginPasswordEditId, FORMLOGIN_CtlSubclassProc, kArial12, "",
                                         FrmColors::TextOnRgb(WinRgb(255, 255, 0)), 1);
  CtlAddToolTip(gFormLoginPasswordEdit, "Password Pengguna", 1);
  gFormLoginYearLabel = FrmAddControl(form, "Static", "Tahun Ajaran", kStatic, 0, 100, 120, 73, 21,
                                      gFormLoginYearLabelId, FORMLOGIN_CtlSubclassProc, kSansSerif, "", blue);
  gFormLoginYearEdit = FrmAddControl(form, "Edit", "", kEdit, WS_EX_CLIENTEDGE, 176, 120, 100, 20,
                                     gFormLoginYearEditId, FORMLOGIN_CtlSubclassProc, kArial12, "",
                                     FrmColors::TextOnRgb(WinRgb(128, 255, 255)), 1);
  CtlAddToolTip(gFormLoginYearEdit, "Tahun Pelajaran atau Tahun Buku", 1);
  gFormLoginNextYearButton = FrmAddControl(form, "Button", "+", kButton, 0, 279, 122, 17, 19,
                                           gFormLoginNextYearButtonId, FORMLOGIN_CtlSubclassProc, kArial12);
  gFormLoginPrevYearButton = FrmAddControl(form, "Button", "-", kButton, 0, 296, 122, 17, 19,
                                           gFormLoginPrevYearButtonId, FORMLOGIN_CtlSubclassProc, kArial12);
  gFormLoginCancelButton = FrmAddControl(form, "Button", "Cancel", kButton, 0, 200, 152, 81, 33,
                                         gFormLoginCancelButtonId, FORMLOGIN_CtlSubclassProc, kArial12);
  gFormLoginLoginButton = FrmAddControl(form, "Button", "Log in", kButton, 0, 304, 152, 81, 33,
                                        gFormLoginLoginButtonId, FORMLOGIN_CtlSubclassProc, kArial12);
  gFormLoginDefaultUserLabel = FrmAddControl(form, "Static", "Default User: ketua Pass: 5927", kStatic, 0, 3, 172, 185,
                                             16, gFormLoginDefaultUserLabelId, FORMLOGIN_CtlSubclassProc,
                                             "Arial Unicode MS,9,0", "", FrmColors::TextOnRgb(WinRgb(255, 255, 128)));
  CtlSetFocus(gFormLoginPrevYearButton);
}

LResult FORMLOGIN_OnCreate(Hwnd, std::intptr_t) {
  CtlSetText(gFormLoginYearEdit, gTapel);
  return 0;
}

LResult FORMLOGIN_Login(int, Hwnd form, Hwnd, int) {
  const std::string user = CtlGetText(gFormLoginUserEdit);
  const std::string password = CtlGetText(gFormLoginPasswordEdit);
  // Name and password go into the statement through the quoting helper: typed text cannot widen the lookup.
  if (AppLoginCheck(user, password)) {
    gTapel = CtlGetText(gFormLoginYearEdit);
    SbSetText(gStatusBar, 1, user, 0);
    MsgBox(form, AppLoginWelcomeText(user), kLoginCaption, MB_OK | MB_ICONINFORMATION);
    FrmClose(form, 0);
  } else {
    MsgBox(form, kLoginFailedText, kLoginCaption, MB_OK | MB_ICONINFORMATION);
  }
  return 0;
}

LResult FORMLOGIN_NextYear(int, Hwnd, Hwnd, int) {
  CtlSetText(gFormLoginYearEdit, AppStepSchoolYear(CtlGetText(gFormLoginYearEdit), 1));
  return 0;
}

LResult FORMLOGIN_PrevYear(int, Hwnd, Hwnd, int) {
  CtlSetText(gFormLoginYearEdit, AppStepSchoolYear(CtlGetText(gFormLoginYearEdit), -1));
  return 0;
}

LResult FORMLOGIN_Cancel(int, Hwnd, Hwnd, int) { AppExit(1); }

LResult FORMLOGIN_OnClose(Hwnd) { AppExit(1); }

LResult FORMLOGIN_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  if (msg == WM_CLOSE) return FORMLOGIN_OnClose(hwnd);
  LResult r = 0;
  if (FrmFormMessage(gFormLogin, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND && HIWORD(wParam) == 0) {
    const int id = static_cast<int>(LOWORD(wParam));
    const Hwnd control = FrmControlOf(msg, lParam);
    const int index = FrmIndexOf(control);
    LResult h = 0;
    if (id == gFormLoginCancelButtonId)
      h = FORMLOGIN_Cancel(index, hwnd, control, id);
    else if (id == gFormLoginLoginButtonId)
      h = FORMLOGIN_Login(index, hwnd, control, id);
    else if (id == gFormLoginNextYearButtonId)
      h = FORMLOGIN_NextYear(index, hwnd, control, id);
    else if (id == gFormLoginPrevYearButtonId)
      h = FORMLOGIN_PrevYear(index, hwnd, control, id);
    if (h) return h;
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORMLOGIN_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
