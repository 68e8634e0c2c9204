// The window system the forms stand on: a small user32 of our own over Qt. Window classes, creation of forms and
// controls by class name, messages with default handling, destruction, showing, enabling, focus, activation,
// positions and sizes, window texts and styles, timers, key state, menus and keyboard accelerators.
//
// Forms are of four kinds:
//   - a top-level form: a plain top-level QWidget (no QDialog), optionally with a menu bar; the desktop draws its
//     title bar and frame when its styles give a caption (or it is an overlapped window), else it has no title bar
//     and the border its styles ask for is drawn here around its client area (WS_THICKFRAME: a sizing border the
//     operator drags to resize it);
//   - an MDI child (WS_EX_MDICHILD, parent = the MDI client): a QMdiSubWindow of the QMdiArea behind that client;
//   - the MDI frame: a QMainWindow, for a class registered with CS_FIN_MDIFRAME;
//   - a child form (WS_CHILD without WS_EX_MDICHILD): a plain QWidget inside its parent.
// Every form has a client widget (WinClientWidget) in which its children live; the client widget reports the form's
// handle through WinHandle, so walking up Qt parents from a control lands on the form. Rectangles are in the parent's
// client coordinates (top-level forms: the screen).
//
// Qt's events become messages: a resize of a form's client area -> WM_SIZE (SIZE_MINIMIZED when minimised), a close
// request -> WM_CLOSE (the default handling destroys the form; a form of a class without a Close command ignores the
// request), activation -> WM_ACTIVATE (then WM_SETFOCUS to the form), a change of the desktop's palette or theme ->
// WM_SYSCOLORCHANGE / WM_THEMECHANGED to every form (a top-level window and the forms inside it); for a control that
// has a window procedure (a subclassed control): focus in/out -> WM_SETFOCUS/WM_KILLFOCUS (after Qt handled the focus
// change), key press/release -> WM_KEYDOWN/WM_KEYUP and the left and right mouse button ->
// WM_LBUTTONDOWN/WM_LBUTTONUP/WM_LBUTTONDBLCLK/WM_RBUTTONUP (before Qt; Qt handles the event only when the message
// was passed on to the default handling, as a control sees only what its subclass procedure passes on). No WM_CHAR
// is made: typed characters reach the widgets as Qt delivers them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "framework/win.h"

class QWidget;
class QMdiArea;
class QColor;

// ----- window classes -------------------------------------------------------------------------------------------
enum : unsigned {
  CS_VREDRAW = 0x0001, CS_HREDRAW = 0x0002, CS_DBLCLKS = 0x0008, CS_NOCLOSE = 0x0200,
  CS_FIN_MDIFRAME = 0x10000000,   // ours: windows of the class are the MDI frame (a QMainWindow)
};
// Registers a form class; false when the name is empty, `proc` is nullptr or the class exists already.
bool WinRegisterClass(const std::string& className, WndProcFn proc, unsigned classStyle = CS_HREDRAW | CS_VREDRAW |
                                                                                             CS_DBLCLKS);
bool WinClassExists(const std::string& className);
// True for a window of a class without a Close command (CS_NOCLOSE): the system menu's Close does nothing.
bool WinHasNoCloseCommand(Hwnd h);
// The background of the class's forms: an RGB value (0x00BBGGRR); default the button face.
void WinSetClassBackground(const std::string& className, unsigned rgb);

// ----- creation and destruction ---------------------------------------------------------------------------------
// lParam of WM_CREATE points at this for the duration of the call.
struct WinCreateStruct {
  std::intptr_t createParams = 0;   // the creation data given to WinCreateWindow
  Hwnd parent = 0;
  std::intptr_t idOrMenu = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  std::uint32_t style = 0, exStyle = 0;
  std::string className, caption;
};

// Creates a window. A registered form class makes a form (kind by exStyle / style / class style, see above): its
// WinInfo is filled (proc = the class's procedure, id = idOrMenu for MDI children and child forms), WM_CREATE is
// sent (a result of -1 destroys the window again and gives 0), then WM_SIZE with the client size. Any other class
// name goes to the controls (WinCreateControl). WS_VISIBLE shows the window, WS_DISABLED disables it. For a
// top-level form, `parent` is the owner (its top-level window is used): an owned form is a dialog window that the
// window manager keeps in front of its owner. 0 when the window cannot be made.
Hwnd WinCreateWindow(std::uint32_t exStyle, const std::string& className, const std::string& caption,
                     std::uint32_t style, int x, int y, int w, int h, Hwnd parent, std::intptr_t idOrMenu,
                     std::intptr_t createData);

// Destroys a window at once: owned top-level forms first, then WM_DESTROY to the window and to every window inside
// it (parents before children), its timers killed, its handles read as gone; the widget is deleted later. False
// when the window does not exist.
bool WinDestroyWindow(Hwnd h);

// Default handling of a message: WM_CLOSE destroys a form; WM_SYSCOMMAND SC_CLOSE sends WM_CLOSE, SC_MINIMIZE /
// SC_MAXIMIZE / SC_RESTORE change the form's state; WM_SETTEXT / WM_GETTEXT / WM_GETTEXTLENGTH on a form use its
// caption; WM_ACTIVATE (active, not minimised) sends WM_SETFOCUS to the form; WM_SIZE of the MDI frame fills its
// client area with the MDI client. Everything else: 0. Form procedures end with it (it stands for DefWindowProc,
// DefMDIChildProc and DefFrameProc alike).
LResult WinDefWindowProc(Hwnd h, unsigned msg, WParam wParam, LParam lParam);
// Calls a previous window procedure (nullptr: the window's default handling: the control's own handling for a
// control, WinDefWindowProc for a form).
LResult WinCallWindowProc(WndProcFn prev, Hwnd h, unsigned msg, WParam wParam, LParam lParam);
// Replaces the window's procedure; returns the previous one (nullptr when it had none or the window is gone).
WndProcFn WinSetWindowProc(Hwnd h, WndProcFn proc);
// Queues a message for the window; it is sent when the event loop next runs, if the window still exists.
bool WinPostMessage(Hwnd h, unsigned msg, WParam wParam, LParam lParam);
// Ends the innermost modal loop (FrmShow) when the event loop next runs; `code` is kept (WinQuitCode).
void WinPostQuitMessage(int code);
int WinQuitCode();

// Runs a nested event loop until the window is gone or a quit message ends it; true when ended by a quit message.
// Nested loops end innermost first.
bool WinRunLoopWhileWindow(Hwnd h);

// ----- kinds, parents, children ---------------------------------------------------------------------------------
enum WinKind { WIN_NONE = 0, WIN_CONTROL, WIN_TOPLEVEL_FORM, WIN_MDI_CHILD, WIN_MDI_FRAME, WIN_CHILD_FORM };
WinKind WinKindOf(Hwnd h);
bool WinIsForm(Hwnd h);                 // one of the four form kinds
QWidget* WinClientWidget(Hwnd h);       // where the window's children live: a form's client widget, else the widget
QMdiArea* WinMdiArea(Hwnd mdiClient);   // the QMdiArea of an MDI client; nullptr when it is none
Hwnd WinMdiActiveChild(Hwnd mdiClient); // the active MDI child form; 0 when none

// Handle of the nearest window at or above a widget (0 when none).
Hwnd WinHandleOfWidget(QWidget* w);
// Turns the Qt events of a window into messages (see the top of this header). WinCreateWindow does it for every
// window it makes; FrmInitControl does it for the controls it sets up. A scroll area's viewport and a widget's
// focus proxy report as the window itself.
void WinWatchWindow(Hwnd h);
// Parent window: a control's form (or parent window), an MDI child's MDI client, a child form's parent; for a
// top-level form its owner when it has the WS_POPUP style, else 0.
Hwnd WinGetParent(Hwnd h);
Hwnd WinGetOwner(Hwnd h);               // the owner a top-level form was created with (a top-level window), else 0
// All windows inside `h` (children, their children, ...), parents before children, in creation order.
std::vector<Hwnd> WinChildWindows(Hwnd h);
// EnumChildWindows: calls `fn` for every window inside `h` until it returns 0.
using WinEnumProc = int (*)(Hwnd, LParam);
void WinEnumChildWindows(Hwnd h, WinEnumProc fn, LParam lParam);
Hwnd WinGetDlgItem(Hwnd parent, int id);   // a window inside `parent` with that id; 0 when none
int WinGetDlgCtrlID(Hwnd h);

// ----- showing, enabling, focus, activation ---------------------------------------------------------------------
// SW_HIDE, SW_SHOW, SW_SHOWNORMAL, SW_RESTORE, SW_SHOWMAXIMIZED / SW_MAXIMIZE, SW_SHOWMINIMIZED / SW_MINIMIZE.
// Returns whether the window was visible before.
bool WinShowWindow(Hwnd h, int showCommand);
bool WinIsWindowVisible(Hwnd h);
bool WinIsIconic(Hwnd h);                // minimised form
bool WinIsZoomed(Hwnd h);                // maximised form
// Enables or disables a window; returns whether it was disabled before.
bool WinEnableWindow(Hwnd h, bool enable);
bool WinIsWindowEnabled(Hwnd h);
// Gives the keyboard focus to a window (a form: the form is activated and gets WM_SETFOCUS); 0 does nothing.
// Returns the window that had the focus.
Hwnd WinSetFocus(Hwnd h);
Hwnd WinGetFocus();                      // the window with the focus (the nearest window at or above Qt's focus)
Hwnd WinGetActiveWindow();               // the active top-level form or frame
Hwnd WinSetActiveWindow(Hwnd h);         // activates (and raises) the form; an MDI child becomes the active child
void WinUpdateWindow(Hwnd h);            // repaints now
void WinInvalidate(Hwnd h);              // repaints later

// ----- positions and sizes --------------------------------------------------------------------------------------
struct WinRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
};
WinRect WinGetClientRect(Hwnd h);        // {0, 0, client width, client height}
WinRect WinGetWindowRect(Hwnd h);        // in the parent's client coordinates (top-level forms: the screen)
enum : unsigned {
  SWP_NOSIZE = 0x0001, SWP_NOMOVE = 0x0002, SWP_NOZORDER = 0x0004, SWP_NOREDRAW = 0x0008, SWP_NOACTIVATE = 0x0010,
  SWP_SHOWWINDOW = 0x0040, SWP_HIDEWINDOW = 0x0080,
};
// Moves / sizes a window (x, y in the parent's client coordinates; cx, cy the window's size). Negative sizes count
// as 0. `insertAfter` is not used (no z-order changes).
bool WinSetWindowPos(Hwnd h, Hwnd insertAfter, int x, int y, int cx, int cy, unsigned flags);
bool WinMoveWindow(Hwnd h, int x, int y, int cx, int cy, bool repaint = true);
// Extra width and height of the window around its client area (frame, menu bar).
void WinNonClientExtent(Hwnd h, int* dx, int* dy);
int WinScreenWidth();
int WinScreenHeight();

// ----- texts, class names, styles -------------------------------------------------------------------------------
void WinSetWindowText(Hwnd h, const std::string& text);   // a form's caption; a control through WM_SETTEXT
std::string WinGetWindowText(Hwnd h);                     // a form's caption; a control's text; "" when gone
std::string WinGetClassName(Hwnd h);                      // "" when gone or unknown
std::uint32_t WinGetStyle(Hwnd h);                        // WS_CHILD is reported for every child widget
std::uint32_t WinGetExStyle(Hwnd h);                      // WS_EX_MDICHILD for MDI children
void WinSetStyle(Hwnd h, std::uint32_t style);            // kept in the record; a top-level form takes the frame of
                                                          // its new styles at once, its client area kept in place
void WinSetExStyle(Hwnd h, std::uint32_t exStyle);

// ----- colours --------------------------------------------------------------------------------------------------
QColor WinSysColor(int index);                // COLOR_* of the desktop's palette
unsigned WinGetSysColor(int index);           // as 0x00BBGGRR
QColor WinColorFromRgb(unsigned rgb);          // 0x00BBGGRR
unsigned WinRgb(int r, int g, int b);
// Brushes are colours here: a brush handle is the colour (0x00BBGGRR) + 1; 0 = none.
std::intptr_t WinCreateSolidBrush(unsigned rgb);
std::intptr_t WinGetSysColorBrush(int index);
void WinDeleteBrush(std::intptr_t brush);     // nothing to free
unsigned WinBrushColor(std::intptr_t brush);

// ----- timers ---------------------------------------------------------------------------------------------------
// Timer procedure: (window, WM_TIMER, timer id, milliseconds since start).
using WinTimerProc = void (*)(Hwnd, unsigned, std::uintptr_t, std::uint32_t);
// Starts (or restarts) a timer. With a window: id `id`, WM_TIMER(id, proc) to the window when `proc` is nullptr,
// else `proc` is called; 0 when the window does not exist. Without a window (0): a thread timer with a new id, which
// is returned; `proc` is called. Timers of a window end with it.
unsigned WinSetTimer(Hwnd h, unsigned id, unsigned milliseconds, WinTimerProc proc);
bool WinKillTimer(Hwnd h, unsigned id);
// Tests: runs the timer's tick now, as if it had elapsed; false when there is no such timer.
bool WinFireTimer(Hwnd h, unsigned id);

// ----- keys -----------------------------------------------------------------------------------------------------
int WinVirtualKey(int qtKey);                 // VK_* of a Qt key; 0 when none
bool WinShiftDown();                          // the Shift key is held now
short WinGetAsyncKeyState(int vk);            // bit 15 set while VK_SHIFT / VK_CONTROL / VK_MENU(0x12) is held

// ----- menus ----------------------------------------------------------------------------------------------------
using HMenu = std::intptr_t;
enum : unsigned {
  MF_STRING = 0x0000, MF_ENABLED = 0x0000, MF_UNCHECKED = 0x0000, MF_GRAYED = 0x0001, MF_DISABLED = 0x0002,
  MF_CHECKED = 0x0008, MF_POPUP = 0x0010, MF_SEPARATOR = 0x0800, MF_BYCOMMAND = 0x0000, MF_BYPOSITION = 0x0400,
};
enum : unsigned { TPM_LEFTALIGN = 0x0000, TPM_RETURNCMD = 0x0100, TPM_NONOTIFY = 0x0080 };
HMenu WinCreateMenu();                        // a menu bar
HMenu WinCreatePopupMenu();                   // a drop-down or context menu
// Appends an item: MF_STRING with a command id, MF_POPUP with a popup menu as idOrPopup (the popup then belongs to
// the menu), MF_SEPARATOR; MF_CHECKED and MF_GRAYED mark it. "\t" in the text starts the shortcut label.
bool WinAppendMenu(HMenu menu, unsigned flags, std::uintptr_t idOrPopup, const std::string& text);
// Sets the menu bar of a form (top-level form or frame); 0 removes it. A chosen item reaches the form as
// WM_COMMAND with MAKEWPARAM(id, 0) and lParam 0.
bool WinSetMenu(Hwnd form, HMenu menu);
HMenu WinGetMenu(Hwnd form);
HMenu WinGetSubMenu(HMenu menu, int position);
void WinDrawMenuBar(Hwnd form);               // shows changes made to the form's menu
// Old state (MF_CHECKED / MF_GRAYED), -1 when there is no such item. Searched in sub-menus too.
int WinCheckMenuItem(HMenu menu, unsigned idOrPosition, unsigned flags);
int WinEnableMenuItem(HMenu menu, unsigned idOrPosition, unsigned flags);
unsigned WinGetMenuState(HMenu menu, unsigned idOrPosition, unsigned flags);   // 0xFFFFFFFF when none
int WinGetMenuItemCount(HMenu menu);          // -1 when the menu does not exist
std::string WinGetMenuString(HMenu menu, unsigned idOrPosition, unsigned flags);
bool WinDestroyMenu(HMenu menu);              // with its popups; a menu set on a form is taken off first
// Shows a popup menu at screen position x, y. TPM_RETURNCMD: returns the chosen id (0 when none) and sends
// nothing; otherwise the command goes to `owner` as WM_COMMAND and the result is non-zero when one was chosen.
int WinTrackPopupMenu(HMenu menu, unsigned flags, int x, int y, Hwnd owner);
// The QAction of a menu item (tests use it to choose an item); nullptr when none or the menu is not shown.
class QAction;
QAction* WinMenuAction(Hwnd form, unsigned id);

// ----- keyboard accelerators ------------------------------------------------------------------------------------
enum : unsigned char { FVIRTKEY = 0x01, FSHIFT = 0x04, FCONTROL = 0x08, FALT = 0x10 };
struct WinAccel {
  unsigned char fVirt = FVIRTKEY;
  unsigned short key = 0;   // virtual key code
  unsigned short cmd = 0;   // command id
};
std::intptr_t WinCreateAcceleratorTable(const WinAccel* entries, int count);
bool WinDestroyAcceleratorTable(std::intptr_t table);
// When (vk, shift, ctrl, alt) is in the table: sends WM_COMMAND with MAKEWPARAM(cmd, 1) and lParam 0 to the form and
// returns true.
bool WinTranslateAccelerator(Hwnd form, std::intptr_t table, int vk, bool shift, bool ctrl, bool alt);
