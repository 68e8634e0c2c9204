#include "app/confirm_window.h"

#include <QAbstractButton>
#include <QSize>

#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/resources.h"
#include "framework/window_system.h"

Hwnd gForm26Window = 0;
Hwnd gForm26PictureButton = 0, gForm26PasswordEdit = 0, gForm26Label = 0;

int gForm26PictureButtonId = 1000, gForm26PasswordEditId = 1001, gForm26LabelId = 1002;

void FORM26_InitControlIds() {
  int id = 1000;
  for (int* g : {&gForm26PictureButtonId, &gForm26PasswordEditId, &gForm26LabelId}) *g = id++;
}

namespace {

FrmForm gForm26 = {.name = "FORM26",
                   .wndProc = FORM26_WndProc,
                   .window = &gForm26Window,
                   .createControls = FORM26_CreateControls,
                   .caption = "Konfirmasi",
                   .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                   .width = 426,
                   .height = 105};

// The people icon at 32 x 32 on the picture button, which has no caption.
void ShowButtonIcon(Hwnd button) {
  if (auto* b = qobject_cast<QAbstractButton*>(WinWidget(button))) {
    b->setIcon(ResLoadIcon("IMAGE_LOGINPEOPLE"));
    b->setIconSize(QSize(32, 32));
  }
}

}  // namespace

std::intptr_t FORM26_Show(Hwnd parent, int modal, int userData) {
  return FrmShowForm(gForm26, parent, modal, userData);
}

void FORM26_CreateControls(Hwnd form) {
  gForm26PictureButton = FrmAddControl(form, "Button", "",
                                       WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_ICON, 0, 344, 12, 58,
                                       41, gForm26PictureButtonId, FORM26_CtlSubclassProc, "");
  ShowButtonIcon(gForm26PictureButton);
  gForm26PasswordEdit = FrmAddControl(form, "Edit", "",
                                      WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_PASSWORD | ES_AUTOHSCROLL,
                                      WS_EX_CLIENTEDGE, 144, 12, 191, 37, gForm26PasswordEditId,
                                      FORM26_CtlSubclassProc, "Arial Unicode MS,12,1", "", FrmColors::Window());
  gForm26Label = FrmAddControl(form, "Static", "Password Keputusan ", WS_CHILD | WS_VISIBLE, 0, 8, 16, 132, 27,
                               gForm26LabelId, FORM26_CtlSubclassProc, "Arial Unicode MS,9,0", "", FrmColors::Face());
  CtlSetFocus(gForm26PictureButton);
}

// No command handler and no load step: the standard form handling only.
LResult FORM26_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  LResult r = 0;
  if (FrmFormMessage(gForm26, hwnd, msg, wParam, lParam, &r)) return r;
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

LResult FORM26_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
