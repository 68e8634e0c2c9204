// The login window "Login": the first window an operator sees. A successful login sets the access string gAkses,
// the working school year gTapel (from the year field) and the operator's name in part 1 of the main status bar;
// "Cancel" or closing the window ends the process with exit code 1.
#pragma once
#include <cstdint>

#include "framework/win.h"

// The window while it exists, else 0; its controls.
extern Hwnd gFormLoginWindow;
extern Hwnd gFormLoginIcon, gFormLoginTitleLabel, gFormLoginPromptLabel, gFormLoginUserLabel, gFormLoginUserEdit,
    gFormLoginPasswordLabel, gFormLoginPasswordEdit, gFormLoginYearLabel, gFormLoginYearEdit,
    gFormLoginNextYearButton, gFormLoginPrevYearButton, gFormLoginCancelButton, gFormLoginLoginButton,
    gFormLoginDefaultUserLabel;
// Control ids (1000 upwards in design order).
extern int gFormLoginIconId, gFormLoginTitleLabelId, gFormLoginPromptLabelId, gFormLoginUserLabelId,
    gFormLoginUserEditId, gFormLoginPasswordLabelId, gFormLoginPasswordEditId, gFormLoginYearLabelId,
    gFormLoginYearEditId, gFormLoginNextYearButtonId, gFormLoginPrevYearButtonId, gFormLoginCancelButtonId,
    gFormLoginLoginButtonId, gFormLoginDefaultUserLabelId;
// Gives the control-id globals their numbers (part of the start-up's id assignment; they hold them from the start).
void FORMLOGIN_InitControlIds();

// Creates the window (418 x 233, centred, top-most) and shows it through FrmShow with `modal`; returns what FrmShow
// returns (modal: the form result once the window is gone). The main window calls it with (its window, 1, 0).
std::intptr_t FORMLOGIN_Show(Hwnd owner, int modal, int userData);
LResult FORMLOGIN_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORMLOGIN_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORMLOGIN_CreateControls(Hwnd form);
// Puts gTapel into the year field.
LResult FORMLOGIN_OnCreate(Hwnd form, std::intptr_t userData);

// Command handlers, called as (control index, form, control, control id); each returns 0.
// "Log in": checks name and password against useradmin; on success gAkses, gTapel, status part 1, the welcome box
// and the window closes with 0; otherwise the failed-login box and the window stays.
LResult FORMLOGIN_Login(int index, Hwnd form, Hwnd control, int id);
LResult FORMLOGIN_NextYear(int index, Hwnd form, Hwnd control, int id);   // "+": both years one up
LResult FORMLOGIN_PrevYear(int index, Hwnd form, Hwnd control, int id);   // "-": both years one down
LResult FORMLOGIN_Cancel(int index, Hwnd form, Hwnd control, int id);     // ends the process, exit code 1
// The close box, the system menu's Close and Alt+F4: ends the process, exit code 1.
LResult FORMLOGIN_OnClose(Hwnd form);
