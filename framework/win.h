// The window layer Finance's forms stand on: window handles that stay safe after their widget is gone, window
// properties, styles, messages and the constants the forms and wrappers use. Everything is ours, over Qt.
#pragma once
#include <cstdint>
#include <string>

class QWidget;

using Hwnd = std::intptr_t;      // 0 = no window
using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;
using WndProcFn = LResult (*)(Hwnd, unsigned, WParam, LParam);

// Handle table: a handle names one widget for the whole run and is never reused; it reads as gone (nullptr) once the
// widget is destroyed.
QWidget* WinWidget(Hwnd h);
Hwnd WinHandle(QWidget* w);      // the widget's handle, made on first use; 0 for nullptr
bool IsWindow(Hwnd h);

// Message-box styles and answers.
enum : int {
  MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_ABORTRETRYIGNORE = 0x2, MB_YESNOCANCEL = 0x3, MB_YESNO = 0x4, MB_RETRYCANCEL = 0x5,
  MB_ICONERROR = 0x10, MB_ICONHAND = 0x10, MB_ICONQUESTION = 0x20, MB_ICONWARNING = 0x30, MB_ICONEXCLAMATION = 0x30,
  MB_ICONINFORMATION = 0x40, MB_ICONASTERISK = 0x40, MB_DEFBUTTON2 = 0x100, MB_SYSTEMMODAL = 0x1000,
  MB_TASKMODAL = 0x2000, MB_TOPMOST = 0x40000,
};
enum : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };
