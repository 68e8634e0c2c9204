// The record every form and control carries under the window property "FIN_PTR".
#pragma once
#include <cstdint>

#include "framework/win.h"

struct FrmForm;

struct WindowData {
  WndProcFn prevWndProc = nullptr;  // the control's procedure before subclassing; nullptr for forms
  Hwnd hwnd = 0;                    // the control's own window; 0 for forms
  Hwnd owner = 0;                   // the window disabled while this form is shown modally
  int isForm = 0;                   // 1 for a form, 0 for a control
  int isModal = 0;                  // 1 once the form is shown modally
  std::intptr_t font = 0;           // font made from the control's font text; 0 = none
  std::intptr_t accel = 0;          // the form's keyboard accelerators; 0 = none
  unsigned timerId = 0;             // timer killed when the form is destroyed; 0 = none
  int index = 0;                    // control-array index handed to the control's event handlers
  Hwnd lastFocus = 0;               // the control of this form that last had the focus
  int selectAllOnFocus = 0;         // an edit selects its whole text when it gets the focus
  int colorsOn = 0;                 // the control's own text and back colours apply
  int foreIsSysColor = 0;           // foreColor is a system colour index
  int backIsSysColor = 0;           // backColor is a system colour index
  std::intptr_t backBrush = 0;      // brush for the control's background (a colour value here: 0x00BBGGRR + 1)
  unsigned foreColor = 0;           // text colour: RGB value (0x00BBGGRR), or system colour index
  unsigned backColor = 0;           // back colour: RGB value, or system colour index
  int layoutCaptured = 0;           // 1 once the rectangles below were captured
  int parentRectAtCapture[4] = {0, 0, 0, 0};  // left, top, right, bottom
  int ownRectAtCapture[4] = {0, 0, 0, 0};
  char resizeRule[31] = {0};        // at most 30 characters
  FrmForm* form = nullptr;          // a form made by FrmFormCreate: its form record
};

// The record of a window (property "FIN_PTR"); nullptr when it has none or the window is gone.
inline WindowData* FrmDataOf(Hwnd h) { return reinterpret_cast<WindowData*>(WinGetProp(h, "FIN_PTR")); }
