// The form runtime: what every form of the system shares. The record (WindowData) hung on every form and control,
// the set-up of a control (FrmInitControl), showing a form modeless or modal with its own loop (FrmShow), closing it
// with a result (FrmClose), resize rules, colours, and the helpers that keep each form's four routines short.
//
// A form X is written as four routines plus its handlers:
//
//   static FrmForm gFormX = {.name = "FORMX", .wndProc = FORMX_WndProc, .window = &gFormXWindow,
//                            .createControls = FORMX_CreateControls, .caption = "Data",
//                            .style = WS_OVERLAPPEDWINDOW, .width = 400, .height = 300};
//   std::intptr_t FORMX_Show(Hwnd parent, int modal, int userData) { return FrmShowForm(gFormX, parent, modal, userData); }
//   void FORMX_CreateControls(Hwnd form) {
//     gFormXNameEdit = FrmAddControl(form, "Edit", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, WS_EX_CLIENTEDGE,
//                                    10, 10, 200, 22, gFormXNameEditId, FORMX_CtlSubclassProc, "Arial,9,0",
//                                    "FL,FT,S,FT", FrmColors::Window(), 1);
//   }
//   LResult FORMX_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
//     LResult r = 0;
//     if (FrmFormMessage(gFormX, hwnd, msg, wParam, lParam, &r)) return r;
//     if (msg == WM_COMMAND && LOWORD(wParam) == gFormXOkId && HIWORD(wParam) == BN_CLICKED)
//       if (LResult h = FORMX_OnOk(FrmIndexOf(reinterpret_cast<Hwnd>(lParam)), hwnd, lParam, LOWORD(wParam))) return h;
//     return WinDefWindowProc(hwnd, msg, wParam, lParam);
//   }
//   LResult FORMX_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
//     return FrmControlMessage(hwnd, msg, wParam, lParam);
//   }
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "framework/globals.h"
#include "framework/win.h"
#include "framework/window_data.h"
#include "framework/window_system.h"

// ----- controls -------------------------------------------------------------------------------------------------
// Sets up a newly created control: a zero-filled record under "FIN_PTR"; when `subclass` is 1 the control's window
// procedure becomes `newWndProc` (the old one kept in prevWndProc); when `setFont` is 1 a font made from `fontText`
// (with `useUiFont` the face becomes "Segoe UI" and `fontText` is rewritten); index, resize rule (cut to 30
// characters) and, when `colorsOn`, the colours and brush (`brush` -1: one of the back colour). Returns the record.
WindowData* FrmInitControl(Hwnd hwnd, int subclass, int setFont, std::string& fontText, int index, int colorsOn,
                           int foreIsSysColor, int backIsSysColor, unsigned foreColor, unsigned backColor,
                           std::intptr_t brush, WndProcFn newWndProc, const std::string& resizeRule, int useUiFont);
WindowData* FrmInitControl(Hwnd hwnd, int subclass, int setFont, const std::string& fontText, int index,
                           int colorsOn, int foreIsSysColor, int backIsSysColor, unsigned foreColor,
                           unsigned backColor, std::intptr_t brush, WndProcFn newWndProc,
                           const std::string& resizeRule, int useUiFont);

// Applies a control's colours from its record to its widget: an edit's background (the button face while it is
// disabled) and text; any other control's background and text. Controls without own colours keep the desktop's.
// List views, tree views, date pickers, rich edits and the common controls do not take them.
void FrmApplyColors(Hwnd control);

// ----- showing and closing --------------------------------------------------------------------------------------
// Shows a form that has a record (0 when it has none). An MDI child, or `modal` other than 1: shown with
// `showCommand`, the window is returned. Modal: the owner is found from `parent` (up through child windows, stopping
// at an MDI child), disabled, the form shown and a loop run until the form is gone; then gFormResult is returned and
// cleared. In every loop: Esc in a form reaches it as WM_COMMAND IDCANCEL; Tab / Shift+Tab in a multi-line edit or a
// date field move the focus to the next / previous control (the arrows still change the date's marked part); the
// loop's form's accelerators turn keys into WM_COMMAND with HIWORD 1. The form stands in front of its owner on the
// desktop (a form created with an owner is a dialog window, WinCreateWindow), and when the desktop activates the
// greyed owner (a click on it) the innermost modal form takes the activation back.
std::intptr_t FrmShow(int modal, Hwnd form, Hwnd parent, int showCommand, int isMdiFrame);
// Closes a form: the owner of a modal form is enabled and activated, the form destroyed, gFormResult = result; the MDI
// child the modal form was opened over (the owner itself, or the frame's active child) stays in front and gets the
// focus back. Nothing when the window does not exist.
void FrmClose(Hwnd form, int result);
// The form of a window: itself when it is not a child window, is an MDI child or its class begins with "FORM_";
// else the form of its parent. 0 when the window does not exist.
Hwnd FrmGetFormOf(Hwnd hwnd);
// Resizes a window (no move) so that its client area is width x height; nothing when either is 0. Returns 0.
int FrmSetClientSize(Hwnd hwnd, int width, int height);
// The innermost modal form whose loop still runs (the one opened last), 0 when none runs.
Hwnd FrmModalForm();
// Tests: `hook` runs each time a modal form starts its loop (from inside the loop); an empty function removes it.
void FrmSetModalHook(std::function<void(Hwnd)> hook);

// ----- child-window enumeration callbacks (WinEnumChildWindows) -------------------------------------------------
// Brushes of system back colours renewed, colours re-applied; with `lParam` a form, only for the controls of that form.
int FrmSysColorProc(Hwnd hwnd, LParam lParam);
int FrmCaptureLayoutProc(Hwnd hwnd, LParam lParam);  // the first layout of each child kept
int FrmApplyLayoutProc(Hwnd hwnd, LParam lParam);    // each child moved by its resize rule

// The resize rule arithmetic: the new edges (left, top, right, bottom) of a child from its rule (upper case), its
// captured rectangle, the parent's captured client size and current client size, and its current rectangle (used
// where a scaling edge has a captured parent extent of 0). False when the rule is shorter than 7 characters (the
// child stays).
bool FrmLayoutEdges(const std::string& rule, const int ownAtCapture[4], int oldWidth, int oldHeight, int width,
                    int height, const int ownNow[4], int out[4]);

// ----- design units ---------------------------------------------------------------------------------------------
int FrmScaleX(double designUnits);   // DpiScaleX, nearest integer (ties to even)
int FrmScaleY(double designUnits);
int FrmRoundHalfEven(long double v);

// ----- the form pattern -----------------------------------------------------------------------------------------
enum FrmKind { FRM_TOPLEVEL = 0, FRM_MDICHILD = 1, FRM_MDIFRAME = 2 };
struct FrmForm {
  const char* name = "";                            // "FORMBAYAR": class "FORM_FINANCE_FORMBAYAR_CLASS"
  WndProcFn wndProc = nullptr;
  Hwnd* window = nullptr;                           // the form's window global (set on creation, 0 on destruction)
  void (*createControls)(Hwnd form) = nullptr;
  LResult (*onCreate)(Hwnd form, std::intptr_t userData) = nullptr;   // the form's creation handler, if any
  void (*onDestroy)(Hwnd form) = nullptr;           // extra clean-up before the standard one, if any
  // A form that can be open more than once and whose globals name one window of it: points the globals at `form`.
  // The runtime makes the window current (window global, then this) when it is activated, before each WM_COMMAND
  // and WM_NOTIFY of it goes on to the form, and when a modal form opened from it is gone.
  void (*bind)(Hwnd form) = nullptr;
  const char* caption = "";
  std::uint32_t style = WS_OVERLAPPEDWINDOW;
  std::uint32_t exStyle = 0;                        // beyond WS_EX_CONTROLPARENT | WS_EX_WINDOWEDGE (| WS_EX_MDICHILD)
  int width = 0, height = 0;                        // design units
  int x = 0, y = 0;                                 // design position (MDI children)
  int kind = FRM_TOPLEVEL;
  const int* mdiId = nullptr;                       // MDI child: its id global
  unsigned classStyle = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  long long background = -1;                        // RGB of the class background; -1: the button face
  bool registered = false;                          // the class-registered flag
};
std::string FrmClassName(const FrmForm& form);
// Registers the form's class once; true when it exists afterwards.
bool FrmRegisterForm(FrmForm& form);
// Registers, sets gFormResult = userData, places (top level: centred on the screen; MDI child: its design position)
// and creates the window; 0 when it could not be made.
Hwnd FrmCreateForm(FrmForm& form, Hwnd parent, int userData);
// The whole Show routine: FrmCreateForm, then FrmShow (an MDI child shown maximised first, modeless; a top-level
// form SW_SHOWNORMAL; the frame SW_SHOWMAXIMIZED as the MDI frame). Returns FrmShow's result, 0 on failure.
std::intptr_t FrmShowForm(FrmForm& form, Hwnd parent, int modal, int userData);

// Standard handling of a form's messages. Returns true when the message is done and `*result` is to be returned:
// WM_CREATE (record, window global, controls, creation handler), WM_DESTROY (clean-up). WM_SYSCOMMAND SC_CLOSE goes on
// to WinDefWindowProc, which sends WM_CLOSE (nothing for a class without a Close command). Does its part and returns false (the form goes on, ending in WinDefWindowProc) for WM_SIZE
// (resize rules unless minimised), WM_ACTIVATE (gActiveForm; an activated form made current), WM_COMMAND and
// WM_NOTIFY (the form made current), WM_SETFOCUS (focus to the last focused control),
// WM_SYSCOLORCHANGE / WM_THEMECHANGED (the colours of the form's own controls; a form inside it hears of it itself) and WM_CLOSE (a modal form's owner enabled and activated, the form
// hidden, the MDI child behind it given the focus back as FrmClose does).
bool FrmFormMessage(FrmForm& form, Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam, LResult* result);
// The standard parts alone, for forms that write their own procedure around them.
LResult FrmFormCreate(FrmForm& form, Hwnd hwnd, LParam lParam);   // WM_CREATE; -1 when the record cannot be made
void FrmFormSize(Hwnd hwnd, WParam wParam);
void FrmFormActivate(Hwnd hwnd, WParam wParam);
void FrmFormSetFocus(Hwnd hwnd);
void FrmFormClose(Hwnd hwnd);
void FrmFormDestroy(Hwnd hwnd, Hwnd* window);

// Standard handling of a control's messages (the end of every X_CtlSubclassProc): WM_SETFOCUS selects the whole
// text or none (selectAllOnFocus) and records the control as its form's lastFocus; WM_DESTROY frees the record, the
// font and the tags and puts the previous procedure back; everything goes on to the previous procedure.
LResult FrmControlMessage(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);

// The control-array index of a control (its record), -1 when it has none.
int FrmIndexOf(Hwnd control);
// The control a WM_COMMAND / WM_HSCROLL / WM_VSCROLL (lParam) or WM_NOTIFY (NmHdr::hwndFrom) concerns.
Hwnd FrmControlOf(unsigned msg, LParam lParam);

// Colours of a control as FrmAddControl takes them.
struct FrmColors {
  int on = 0, foreIsSys = 0, backIsSys = 0;
  unsigned fore = 0, back = 0;
  std::intptr_t brush = -1;
  static FrmColors None() { return {}; }
  static FrmColors Window() { return {1, 1, 1, COLOR_WINDOWTEXT, COLOR_WINDOW, -1}; }   // text 8 on 5
  static FrmColors Face() { return {1, 1, 1, COLOR_WINDOWTEXT, COLOR_BTNFACE, -1}; }    // text 8 on 15
  static FrmColors RgbOnFace(unsigned rgb) { return {1, 0, 1, rgb, COLOR_BTNFACE, -1}; }
  static FrmColors TextOnRgb(unsigned rgb) { return {1, 1, 0, COLOR_WINDOWTEXT, rgb, -1}; }
};
// One control of X_CreateControls: created at the scaled design rectangle with the form as parent, set up with
// FrmInitControl (subclass 1, font when `font` is not empty, index 0), tags set empty; an edit also gets no text
// limit, no margins and `selectAllOnFocus`. Returns the control, 0 when it could not be made.
Hwnd FrmAddControl(Hwnd form, const std::string& className, const std::string& caption, std::uint32_t style,
                   std::uint32_t exStyle, int x, int y, int w, int h, int id, WndProcFn subclass,
                   const std::string& font, const std::string& resizeRule = "", FrmColors colors = {},
                   int selectAllOnFocus = 0);
