// The window layer Finance's forms stand on: window handles that stay safe after their widget is gone, window
// properties, styles, messages and the constants the forms and wrappers use. Everything is ours, over Qt.
#pragma once
#include <cstdint>
#include <map>
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
// Makes a handle read as gone at once (its widget is being destroyed); its record and properties go with it.
void WinForgetHandle(Hwnd h);
// Counts the handles let go of (a window forgotten or found gone): a wrapper may keep the widget of a handle it
// resolved for as long as this count is unchanged and the widget lives.
unsigned long long WinHandleGeneration();

// What the framework keeps of every window: its class name, styles, control id, window procedure and properties.
struct WinInfo {
  std::string className;            // "FORM_FINANCE_..._CLASS" for forms; "Edit", "Button", ... for controls
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  int id = 0;                        // control id (MDI children: their form's id)
  WndProcFn proc = nullptr;          // form: its window procedure; control: its subclass procedure (nullptr: none)
  std::map<std::string, std::intptr_t> props;   // window properties ("FIN_PTR", "FIN_TAGPROPERTY", ...)
};
// The record of a window; nullptr when the window is gone. Made empty by WinHandle.
WinInfo* WinInfoOf(Hwnd h);

void WinSetProp(Hwnd h, const std::string& name, std::intptr_t value);
std::intptr_t WinGetProp(Hwnd h, const std::string& name);     // 0 when not set or no window
std::intptr_t WinRemoveProp(Hwnd h, const std::string& name);  // the value removed, 0 when none

// Sends a message to a window's procedure (a form's window procedure, a control's subclass procedure, else the
// default handling) and returns its result; 0 when the window does not exist.
LResult WinSendMessage(Hwnd h, unsigned msg, WParam wParam, LParam lParam);

// Message-box styles and answers.
enum : int {
  MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_ABORTRETRYIGNORE = 0x2, MB_YESNOCANCEL = 0x3, MB_YESNO = 0x4, MB_RETRYCANCEL = 0x5,
  MB_ICONERROR = 0x10, MB_ICONHAND = 0x10, MB_ICONQUESTION = 0x20, MB_ICONWARNING = 0x30, MB_ICONEXCLAMATION = 0x30,
  MB_ICONINFORMATION = 0x40, MB_ICONASTERISK = 0x40, MB_DEFBUTTON2 = 0x100, MB_SYSTEMMODAL = 0x1000,
  MB_TASKMODAL = 0x2000, MB_TOPMOST = 0x40000,
};
enum : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

// ---------------------------------------------------------------------------------------------------------------
// Messages. Forms receive them through their window procedure; the framework turns Qt's events and signals into them.
// ---------------------------------------------------------------------------------------------------------------
enum : unsigned {
  WM_NULL = 0x0000, WM_CREATE = 0x0001, WM_DESTROY = 0x0002, WM_MOVE = 0x0003, WM_SIZE = 0x0005,
  WM_ACTIVATE = 0x0006, WM_SETFOCUS = 0x0007, WM_KILLFOCUS = 0x0008, WM_ENABLE = 0x000A, WM_SETTEXT = 0x000C,
  WM_PAINT = 0x000F, WM_CLOSE = 0x0010, WM_QUIT = 0x0012, WM_ERASEBKGND = 0x0014, WM_SYSCOLORCHANGE = 0x0015,
  WM_SHOWWINDOW = 0x0018, WM_GETMINMAXINFO = 0x0024, WM_NOTIFY = 0x004E, WM_KEYDOWN = 0x0100, WM_KEYUP = 0x0101,
  WM_CHAR = 0x0102, WM_SYSKEYDOWN = 0x0104, WM_COMMAND = 0x0111, WM_SYSCOMMAND = 0x0112, WM_TIMER = 0x0113,
  WM_HSCROLL = 0x0114, WM_VSCROLL = 0x0115, WM_CTLCOLOREDIT = 0x0133, WM_CTLCOLORLISTBOX = 0x0134,
  WM_CTLCOLORBTN = 0x0135, WM_CTLCOLORSTATIC = 0x0138, WM_MOUSEMOVE = 0x0200, WM_LBUTTONDOWN = 0x0201,
  WM_LBUTTONUP = 0x0202, WM_LBUTTONDBLCLK = 0x0203, WM_RBUTTONUP = 0x0205, WM_THEMECHANGED = 0x031A,
  WM_USER = 0x0400,
};
enum : unsigned { SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2 };
enum : unsigned { SC_CLOSE = 0xF060 };
enum : unsigned { WA_INACTIVE = 0, WA_ACTIVE = 1, WA_CLICKACTIVE = 2 };

// Notification codes carried in HIWORD(wParam) of WM_COMMAND.
enum : unsigned {
  BN_CLICKED = 0, BN_DBLCLK = 5,
  EN_SETFOCUS = 0x0100, EN_KILLFOCUS = 0x0200, EN_CHANGE = 0x0300, EN_UPDATE = 0x0400,
  CBN_SELCHANGE = 1, CBN_DBLCLK = 2, CBN_SETFOCUS = 3, CBN_KILLFOCUS = 4, CBN_EDITCHANGE = 5, CBN_EDITUPDATE = 6,
  CBN_DROPDOWN = 7, CBN_CLOSEUP = 8, CBN_SELENDOK = 9,
  LBN_SELCHANGE = 1, LBN_DBLCLK = 2,
  STN_CLICKED = 0,
};

// Notification codes carried in NmHdr::code of WM_NOTIFY.
enum : int {
  NM_CLICK = -2, NM_DBLCLK = -3, NM_RETURN = -4, NM_RCLICK = -5, NM_SETFOCUS = -7, NM_KILLFOCUS = -8,
  LVN_ITEMCHANGED = -101, LVN_COLUMNCLICK = -108, LVN_KEYDOWN = -155,
  TVN_SELCHANGED = -402, TVN_ITEMEXPANDED = -406, TVN_KEYDOWN = -412,
  DTN_DATETIMECHANGE = -759, DTN_CLOSEUP = -753,
  TTN_GETDISPINFO = -520, TBN_DROPDOWN = -710,
};

inline unsigned LOWORD(std::uintptr_t v) { return static_cast<unsigned>(v & 0xFFFF); }
inline unsigned HIWORD(std::uintptr_t v) { return static_cast<unsigned>((v >> 16) & 0xFFFF); }
inline WParam MAKEWPARAM(unsigned lo, unsigned hi) { return (WParam(hi & 0xFFFF) << 16) | (lo & 0xFFFF); }
inline LParam MAKELPARAM(unsigned lo, unsigned hi) { return LParam((WParam(hi & 0xFFFF) << 16) | (lo & 0xFFFF)); }

// WM_NOTIFY payloads (lParam points at one of these for the duration of the call).
struct NmHdr {
  Hwnd hwndFrom = 0;
  int idFrom = 0;
  int code = 0;
};
struct NmListView {        // list-view notifications
  NmHdr hdr;
  int iItem = -1;
  int iSubItem = 0;
  unsigned uNewState = 0;
  unsigned uOldState = 0;
  unsigned uChanged = 0;
  LParam lParam = 0;
};
struct NmLvKeyDown {       // LVN_KEYDOWN, TVN_KEYDOWN
  NmHdr hdr;
  int wVKey = 0;
};
struct NmTreeView {        // TVN_SELCHANGED
  NmHdr hdr;
  std::intptr_t itemOld = 0;
  std::intptr_t itemNew = 0;
};
enum : unsigned { LVIS_FOCUSED = 0x1, LVIS_SELECTED = 0x2, LVIS_STATEIMAGEMASK = 0xF000, LVIF_STATE = 0x8 };

// Virtual key codes used by the forms.
enum : int {
  VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_ESCAPE = 0x1B,
  VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26,
  VK_RIGHT = 0x27, VK_DOWN = 0x28, VK_DELETE = 0x2E, VK_F1 = 0x70, VK_F2 = 0x71, VK_F3 = 0x72, VK_F4 = 0x73,
  VK_F5 = 0x74, VK_F6 = 0x75, VK_F7 = 0x76, VK_F8 = 0x77, VK_F9 = 0x78, VK_F10 = 0x79, VK_F11 = 0x7A, VK_F12 = 0x7B,
};

// ---------------------------------------------------------------------------------------------------------------
// Window styles, as the forms' creation code names them. The framework maps them onto Qt widgets and flags.
// ---------------------------------------------------------------------------------------------------------------
enum : std::uint32_t {
  WS_OVERLAPPED = 0x00000000u, WS_POPUP = 0x80000000u, WS_CHILD = 0x40000000u, WS_MINIMIZE = 0x20000000u,
  WS_VISIBLE = 0x10000000u, WS_DISABLED = 0x08000000u, WS_CLIPSIBLINGS = 0x04000000u,
  WS_CLIPCHILDREN = 0x02000000u, WS_MAXIMIZE = 0x01000000u, WS_CAPTION = 0x00C00000u, WS_BORDER = 0x00800000u,
  WS_DLGFRAME = 0x00400000u, WS_VSCROLL = 0x00200000u, WS_HSCROLL = 0x00100000u, WS_SYSMENU = 0x00080000u,
  WS_THICKFRAME = 0x00040000u, WS_SIZEBOX = 0x00040000u, WS_GROUP = 0x00020000u, WS_TABSTOP = 0x00010000u,
  WS_MINIMIZEBOX = 0x00020000u, WS_MAXIMIZEBOX = 0x00010000u,
  WS_OVERLAPPEDWINDOW = 0x00CF0000u,
};
enum : std::uint32_t {
  WS_EX_TOPMOST = 0x00000008u, WS_EX_MDICHILD = 0x00000040u, WS_EX_TOOLWINDOW = 0x00000080u,
  WS_EX_WINDOWEDGE = 0x00000100u, WS_EX_CLIENTEDGE = 0x00000200u, WS_EX_STATICEDGE = 0x00020000u,
  WS_EX_CONTROLPARENT = 0x00010000u,
};
// Edit styles.
enum : std::uint32_t {
  ES_LEFT = 0x0, ES_CENTER = 0x1, ES_RIGHT = 0x2, ES_MULTILINE = 0x4, ES_UPPERCASE = 0x8, ES_LOWERCASE = 0x10,
  ES_PASSWORD = 0x20, ES_AUTOVSCROLL = 0x40, ES_AUTOHSCROLL = 0x80, ES_NOHIDESEL = 0x100, ES_READONLY = 0x800,
  ES_WANTRETURN = 0x1000, ES_NUMBER = 0x2000,
};
// Button styles.
enum : std::uint32_t {
  BS_PUSHBUTTON = 0x0, BS_DEFPUSHBUTTON = 0x1, BS_CHECKBOX = 0x2, BS_AUTOCHECKBOX = 0x3, BS_RADIOBUTTON = 0x4,
  BS_3STATE = 0x5, BS_AUTO3STATE = 0x6, BS_GROUPBOX = 0x7, BS_AUTORADIOBUTTON = 0x9, BS_TYPEMASK = 0xF,
  BS_BITMAP = 0x80, BS_ICON = 0x40, BS_FLAT = 0x8000, BS_CENTER = 0x300, BS_MULTILINE = 0x2000,
};
// Static styles.
enum : std::uint32_t {
  SS_LEFT = 0x0, SS_CENTER = 0x1, SS_RIGHT = 0x2, SS_ICON = 0x3, SS_BITMAP = 0xE, SS_NOTIFY = 0x100,
  SS_CENTERIMAGE = 0x200, SS_SUNKEN = 0x1000, SS_TYPEMASK = 0x1F,
};
// Combo-box and list-box styles.
enum : std::uint32_t {
  CBS_SIMPLE = 0x1, CBS_DROPDOWN = 0x2, CBS_DROPDOWNLIST = 0x3, CBS_SORT = 0x100, CBS_HASSTRINGS = 0x200,
  CBS_AUTOHSCROLL = 0x40, LBS_NOTIFY = 0x1, LBS_SORT = 0x2, LBS_MULTIPLESEL = 0x8, LBS_EXTENDEDSEL = 0x800,
};
// List-view, tree-view and date-picker styles; extended list-view styles.
enum : std::uint32_t {
  LVS_REPORT = 0x1, LVS_SINGLESEL = 0x4, LVS_SHOWSELALWAYS = 0x8, LVS_EDITLABELS = 0x200, LVS_NOSORTHEADER = 0x8000,
  LVS_EX_GRIDLINES = 0x1, LVS_EX_CHECKBOXES = 0x4, LVS_EX_FULLROWSELECT = 0x20,
  TVS_HASBUTTONS = 0x1, TVS_HASLINES = 0x2, TVS_LINESATROOT = 0x4, TVS_SHOWSELALWAYS = 0x20,
  DTS_SHORTDATEFORMAT = 0x0, DTS_UPDOWN = 0x1, DTS_SHOWNONE = 0x2, DTS_LONGDATEFORMAT = 0x4, DTS_TIMEFORMAT = 0x9,
};
// List-view column formats.
enum : int { LVCFMT_LEFT = 0, LVCFMT_RIGHT = 1, LVCFMT_CENTER = 2 };

// Show commands.
enum : int {
  SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_SHOWMINIMIZED = 2, SW_SHOWMAXIMIZED = 3, SW_MAXIMIZE = 3, SW_SHOW = 5,
  SW_MINIMIZE = 6, SW_RESTORE = 9,
};

// System colour indices.
enum : int {
  COLOR_WINDOW = 5, COLOR_WINDOWTEXT = 8, COLOR_BTNFACE = 15, COLOR_BTNTEXT = 18, COLOR_HIGHLIGHT = 13,
  COLOR_GRAYTEXT = 17, COLOR_INFOBK = 24,
};

// ---------------------------------------------------------------------------------------------------------------
// Control messages. The controls answer them in their default handling (WinControlDefProc, control_classes.h), so a
// control's subclass procedure can pass them on and form code may send them through WinSendMessage.
// ---------------------------------------------------------------------------------------------------------------
enum : unsigned {
  WM_SETFONT = 0x0030, WM_GETTEXT = 0x000D, WM_GETTEXTLENGTH = 0x000E,
  EM_GETSEL = 0x00B0, EM_SETSEL = 0x00B1, EM_SETREADONLY = 0x00CF, EM_LIMITTEXT = 0x00C5, EM_SETLIMITTEXT = 0x00C5,
  EM_SETMARGINS = 0x00D3,
  BM_GETCHECK = 0x00F0, BM_SETCHECK = 0x00F1, BM_CLICK = 0x00F5,
  STM_SETIMAGE = 0x0172,
  CB_GETEDITSEL = 0x0140, CB_ADDSTRING = 0x0143, CB_DELETESTRING = 0x0144, CB_GETCOUNT = 0x0146,
  CB_GETCURSEL = 0x0147, CB_GETLBTEXT = 0x0148, CB_GETLBTEXTLEN = 0x0149, CB_INSERTSTRING = 0x014A,
  CB_RESETCONTENT = 0x014B, CB_FINDSTRING = 0x014C, CB_SETCURSEL = 0x014E, CB_SHOWDROPDOWN = 0x014F,
  CB_GETITEMDATA = 0x0150, CB_SETITEMDATA = 0x0151, CB_FINDSTRINGEXACT = 0x0158,
  LB_ADDSTRING = 0x0180, LB_INSERTSTRING = 0x0181, LB_DELETESTRING = 0x0182, LB_RESETCONTENT = 0x0184,
  LB_SETCURSEL = 0x0186, LB_GETCURSEL = 0x0188, LB_GETTEXT = 0x0189, LB_GETTEXTLEN = 0x018A, LB_GETCOUNT = 0x018B,
  LB_FINDSTRING = 0x018F, LB_GETITEMDATA = 0x0199, LB_SETITEMDATA = 0x019A, LB_FINDSTRINGEXACT = 0x01A2,
  PBM_SETRANGE = WM_USER + 1, PBM_SETPOS = WM_USER + 2, PBM_DELTAPOS = WM_USER + 3, PBM_SETSTEP = WM_USER + 4,
  PBM_STEPIT = WM_USER + 5, PBM_SETRANGE32 = WM_USER + 6, PBM_GETPOS = WM_USER + 8,
  SB_SETTEXTA = WM_USER + 1, SB_GETTEXTA = WM_USER + 2, SB_GETTEXTLENGTHA = WM_USER + 3, SB_SETPARTS = WM_USER + 4,
  SB_GETPARTS = WM_USER + 6, SB_SETMINHEIGHT = WM_USER + 8, SB_SETICON = WM_USER + 15,
  DTM_SETSYSTEMTIME = 0x1002, DTM_SETMCFONT = 0x1009,
  LVM_SETEXTENDEDLISTVIEWSTYLE = 0x1036, LVM_GETEXTENDEDLISTVIEWSTYLE = 0x1037,
};
enum : int { CB_OKAY = 0, CB_ERR = -1, CB_ERRSPACE = -2, LB_ERR = -1, LB_ERRSPACE = -2 };
enum : int { BST_UNCHECKED = 0, BST_CHECKED = 1, BST_INDETERMINATE = 2 };
// Status-bar drawing types (high byte of SB_SETTEXTA's wParam).
enum : unsigned { SBT_NOBORDERS = 0x0100, SBT_POPOUT = 0x0200, SBT_RTLREADING = 0x0400, SBT_OWNERDRAW = 0x1000 };
// Styles of the common controls.
enum : std::uint32_t {
  TTS_ALWAYSTIP = 0x01, TTS_NOPREFIX = 0x02, TTS_BALLOON = 0x40,
  CCS_TOP = 0x1, CCS_NOMOVEY = 0x2, CCS_BOTTOM = 0x3, CCS_NORESIZE = 0x4, CCS_NOPARENTALIGN = 0x8, CCS_NODIVIDER = 0x40,
  TBSTYLE_TOOLTIPS = 0x0100, TBSTYLE_WRAPABLE = 0x0200, TBSTYLE_FLAT = 0x0800, TBSTYLE_LIST = 0x1000,
  TBSTYLE_TRANSPARENT = 0x8000,
  SBARS_SIZEGRIP = 0x0100, SBARS_TOOLTIPS = 0x0800,
  RBS_TOOLTIPS = 0x0100, RBS_VARHEIGHT = 0x0200, RBS_BANDBORDERS = 0x0400, RBS_AUTOSIZE = 0x2000,
  PBS_SMOOTH = 0x01, PBS_VERTICAL = 0x04, PBS_MARQUEE = 0x08,
};
