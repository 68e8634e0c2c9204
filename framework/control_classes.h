// The system's controls over Qt: creation by window class name ("Edit", "Button", "SysListView32", ...), their
// default message handling, and the one place where Qt's signals and events become the WM_COMMAND / WM_NOTIFY
// notifications and control messages the forms expect.
#pragma once
#include <cstdint>
#include <string>

#include "framework/win.h"

// Creates the control of window class `className` (compared without regard to case) at x, y, w, h in the parent's
// client coordinates, sets its WinInfo (className as given, style, exStyle, id) and returns its handle; 0 for a
// class this layer does not know or a child style without a parent. WS_VISIBLE shows it, WS_DISABLED disables it,
// WS_TABSTOP gives it a tab-focus policy.
// Classes: "Edit", "Static", "Button", "ComboBox", "ListBox", "SysListView32", "SysTreeView32", "SysDateTimePick32",
// "RichEdit20A"/"RichEdit20W"/"RICHEDIT50W"/"RichEdit", "msctls_progress32", "msctls_statusbar32",
// "ToolbarWindow32", "ReBarWindow32", "tooltips_class32", "MDICLIENT".
Hwnd WinCreateControl(std::uint32_t exStyle, const std::string& className, const std::string& caption,
                      std::uint32_t style, int x, int y, int w, int h, Hwnd parent, int id);

// True when WinCreateControl knows the class.
bool WinIsControlClass(const std::string& className);

// The default handling of control messages (what a control does with a message its subclass procedure passes on):
// WM_SETTEXT (lParam: const char*), WM_GETTEXT (wParam: buffer size, lParam: char*), WM_GETTEXTLENGTH, EM_SETSEL,
// EM_GETSEL, EM_LIMITTEXT, EM_SETMARGINS, EM_SETREADONLY, BM_GETCHECK, BM_SETCHECK, BM_CLICK, CB_* and LB_* item
// messages (texts as const char*), PBM_*, SB_SETTEXTA/SB_GETTEXTA/SB_GETTEXTLENGTHA/SB_SETPARTS/SB_GETPARTS,
// DTM_SETSYSTEMTIME (lParam: SystemTime*), LVM_SET/GETEXTENDEDLISTVIEWSTYLE, WM_SIZE (status bar, rebar and toolbar
// dock to their parent again). Anything else: 0. 0 too when the window does not exist.
LResult WinControlDefProc(Hwnd h, unsigned msg, WParam wParam, LParam lParam);

// The form a control reports to: the first window up the parent chain (the control included) whose class name begins
// with "FORM_", that is an MDI child, or that is top level.
Hwnd CtlFormOf(Hwnd h);

// Notifications, sent to the control's form: WM_COMMAND with MAKEWPARAM(id, code) and the control as lParam;
// WM_NOTIFY with the header filled in (hwndFrom, idFrom; code as the caller set it). 0 when there is no form.
LResult CtlNotifyCommand(Hwnd ctl, unsigned code);
LResult CtlNotify(Hwnd ctl, NmHdr* hdr);

// Windows virtual-key code of a Qt key (0 for keys without one).
int VkFromQtKey(int qtKey);

struct SystemTime {
  unsigned short wYear = 0, wMonth = 0, wDayOfWeek = 0, wDay = 0, wHour = 0, wMinute = 0, wSecond = 0,
                 wMilliseconds = 0;
};
// DTN_DATETIMECHANGE payload.
struct NmDateTimeChange {
  NmHdr hdr;
  unsigned dwFlags = 0;  // GDT_VALID
  SystemTime st;
};
enum : int { GDT_ERROR = -1, GDT_VALID = 0, GDT_NONE = 1 };

// Tree items are handles; these stand for the root and insertion places.
constexpr std::intptr_t TVI_ROOT = -0x10000;
constexpr std::intptr_t TVI_FIRST = -0x0FFFF;
constexpr std::intptr_t TVI_LAST = -0x0FFFE;
