#include "framework/form_runtime.h"

#include "framework/window_state.h"

#include "framework/numbers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <new>
#include <vector>

#include "framework/controls.h"
#include "framework/fonts.h"
#include "framework/strings.h"
#include "platform/seams.h"

namespace {

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::function<void(Hwnd)>& ModalHook() {
  static std::function<void(Hwnd)> h;
  return h;
}

// The forms whose modal loops are running, innermost last.
std::vector<Hwnd>& ModalForms() {
  static std::vector<Hwnd> v;
  return v;
}

bool IsMultiLineEdit(Hwnd h) {
  QWidget* w = WinWidget(h);
  if (!w) return false;
  std::string cls = Upper(WinGetClassName(h));
  std::uint32_t style = WinGetStyle(h);
  if (cls == "EDIT" || cls.rfind("RICHEDIT", 0) == 0) return (style & ES_MULTILINE) != 0;
  return qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QTextEdit*>(w);
}

// Moves the focus from `from` to the next (or previous) tab stop of its form.
void MoveFocus(QWidget* from, bool forward) {
  Hwnd form = FrmGetFormOf(WinHandleOfWidget(from));
  QWidget* area = WinClientWidget(form);
  if (!area) return;
  QWidget* c = from;
  for (int guard = 0; guard < 10000; ++guard) {
    c = forward ? c->nextInFocusChain() : c->previousInFocusChain();
    if (!c || c == from) return;
    if (!area->isAncestorOf(c)) continue;
    if (c->focusProxy() || !c->isEnabled() || !c->isVisibleTo(area->window())) continue;
    if ((c->focusPolicy() & Qt::TabFocus) != Qt::TabFocus) continue;
    c->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return;
  }
}

// A control that would keep Tab for itself: a multi-line edit (a tab character) and a date field (its day, month and
// year parts). In a form Tab moves the focus on from them as from every control.
bool KeepsTab(Hwnd h) {
  if (IsMultiLineEdit(h)) return true;
  QWidget* w = WinWidget(h);
  return w && (Upper(WinGetClassName(h)) == "SYSDATETIMEPICK32" || qobject_cast<QDateTimeEdit*>(w));
}

// The window the desktop activated is greyed under the modal form whose loop runs (a click on it, say): the form in
// front of it takes the activation back, so that the keys go on reaching it. A message box up meanwhile is the
// window system's own to give the activation to.
void GiveActivationToModalForm(QWidget* activated) {
  const Hwnd modal = FrmModalForm();
  if (!modal || QApplication::activeModalWidget()) return;
  for (Hwnd form = modal; WindowData* d = FrmDataOf(form); form = d->owner) {
    QWidget* owner = WinWidget(d->owner);
    if (!owner || !d->isModal) return;
    if (owner->window() != activated) continue;
    QMetaObject::invokeMethod(
        qApp,
        [modal] {
          QWidget* w = WinWidget(modal);
          if (w && modal == FrmModalForm() && w->isVisible() && w->isEnabled() && !w->isActiveWindow())
            WinSetActiveWindow(modal);
        },
        Qt::QueuedConnection);
    return;
  }
}

// What each form's message loop does with a key before the window gets it: accelerators, Esc as the cancel
// command, Tab in a multi-line edit or a date field as focus movement, Enter on a push button as its click. And an
// activation of a window greyed under a modal form goes to that form.
class MessagePump : public QObject {
 public:
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::WindowActivate && o->isWidgetType()) {
      auto* w = static_cast<QWidget*>(o);
      if (w->isWindow() && !w->isEnabled()) GiveActivationToModalForm(w);
      return false;
    }
    if (e->type() != QEvent::KeyPress || !o->isWidgetType()) return false;
    if (QApplication::activePopupWidget()) return false;
    auto* w = static_cast<QWidget*>(o);
    Hwnd h = WinHandleOfWidget(w);
    if (!h) return false;
    Hwnd form = FrmGetFormOf(h);
    if (!WinIsForm(form)) return false;
    auto* k = static_cast<QKeyEvent*>(e);
    const int vk = WinVirtualKey(k->key());
    const Qt::KeyboardModifiers mods = k->modifiers();
    const bool shift = (mods & Qt::ShiftModifier) || k->key() == Qt::Key_Backtab;
    const bool ctrl = (mods & Qt::ControlModifier) != 0;
    const bool alt = (mods & Qt::AltModifier) != 0;

    // The accelerators of the form whose loop runs (of the key's form when no loop runs).
    Hwnd loopForm = 0;
    for (auto it = ModalForms().rbegin(); it != ModalForms().rend() && !loopForm; ++it)
      if (IsWindow(*it)) loopForm = *it;
    Hwnd accForm = loopForm ? loopForm : form;
    if (WindowData* d = FrmDataOf(accForm); d && d->accel)
      if (WinTranslateAccelerator(accForm, d->accel, vk, shift, ctrl, alt)) return true;

    // Ctrl+F4 closes the active MDI child, Ctrl+F6 moves to the next one.
    if (ctrl && (vk == VK_F4 || vk == VK_F6)) {
      Hwnd child = (WinGetExStyle(form) & WS_EX_MDICHILD) ? form : 0;
      if (child) {
        if (vk == VK_F4) {
          WinSendMessage(child, WM_SYSCOMMAND, SC_CLOSE, 0);
        } else if (QMdiArea* a = WinMdiArea(WinGetParent(child))) {
          a->activateNextSubWindow();
        }
        return true;
      }
    }
    if (vk == VK_ESCAPE && !ctrl && !alt) {
      // From a multi-line edit the command names no control; elsewhere it names the form's cancel button (id 2),
      // when it has one.
      LParam cancel = IsMultiLineEdit(h) ? 0 : static_cast<LParam>(WinGetDlgItem(form, IDCANCEL));
      WinSendMessage(form, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), cancel);
      return true;
    }
    if (vk == VK_TAB && !ctrl && !alt && KeepsTab(h)) {
      if (QWidget* hw = WinWidget(h)) MoveFocus(hw, !shift);
      return true;
    }
    if (vk == VK_RETURN && !ctrl && !alt) {
      if (auto* b = qobject_cast<QPushButton*>(WinWidget(h)); b && b->isEnabled()) {
        b->click();
        return true;
      }
    }
    return false;
  }
};

void EnsurePump() {
  static MessagePump* pump = nullptr;
  if (pump || !qApp) return;
  pump = new MessagePump;
  qApp->installEventFilter(pump);
}

// Leading number of a text, held as a single-precision number; 0 when it begins with none.
float LeadingNumber(const std::string& s) { return static_cast<float>(Val(s)); }

// Field n (0-based) of a text split at ","; empty when missing.
std::string RuleField(const std::string& rule, int n) {
  size_t start = 0;
  for (int i = 0; i < n; ++i) {
    size_t p = rule.find(',', start);
    if (p == std::string::npos) return std::string();
    start = p + 1;
  }
  size_t end = rule.find(',', start);
  return rule.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

enum class ColorClass { Edit, Other, None };
ColorClass ColorClassOf(Hwnd h, QWidget* w) {
  std::string cls = Upper(WinGetClassName(h));
  if (cls == "EDIT") return ColorClass::Edit;
  if (cls == "STATIC" || cls == "BUTTON" || cls == "COMBOBOX" || cls == "LISTBOX") return ColorClass::Other;
  if (!cls.empty()) return ColorClass::None;
  if (qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w)) return ColorClass::Edit;
  if (qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) ||
      qobject_cast<QListWidget*>(w))
    return ColorClass::Other;
  return ColorClass::None;
}

WindowData* NewRecord() { return new (std::nothrow) WindowData(); }

// The MDI child the operator worked in behind a modal form's owner: the owner itself when it is an MDI child, the
// active child of the owner's MDI client when the owner is the frame; 0 otherwise.
Hwnd MdiChildBehind(Hwnd owner) {
  if (WinKindOf(owner) == WIN_MDI_CHILD) return owner;
  if (WinKindOf(owner) != WIN_MDI_FRAME) return 0;
  for (Hwnd c : WinChildWindows(owner))
    if (WinMdiArea(c) && WinGetParent(c) == owner) return WinMdiActiveChild(c);
  return 0;
}

// A modal form that goes: the window it disabled (which may differ from the window it was created for) is enabled and
// activated again. Returns the MDI child behind that window, for GiveMdiChildBack once the form is out of the way.
Hwnd GiveOwnerBack(Hwnd form) {
  WindowData* d = FrmDataOf(form);
  if (!d || !d->isModal || !IsWindow(d->owner)) return 0;
  const Hwnd child = MdiChildBehind(d->owner);
  WinEnableWindow(d->owner, true);
  WinSetActiveWindow(d->owner);
  return child;
}

// After a modal form is gone: the MDI child it was opened over stays in front and has the focus again (giving the
// frame back may have activated another child).
void GiveMdiChildBack(Hwnd child) {
  if (!IsWindow(child) || !WinIsWindowEnabled(child)) return;
  if (WinMdiActiveChild(WinGetParent(child)) != child) WinSetActiveWindow(child);
  WinSetFocus(child);
}

// Makes `hwnd` the current window of a form that binds its globals: the window global names it, then the form's
// bind routine points the other globals at it.
void MakeCurrent(const FrmForm& form, Hwnd hwnd) {
  if (!form.bind || !IsWindow(hwnd)) return;
  if (form.window) *form.window = hwnd;
  form.bind(hwnd);
}

}  // namespace

// =================================================================================================================
// Controls
// =================================================================================================================
WindowData* FrmInitControl(Hwnd hwnd, int subclass, int setFont, std::string& fontText, int index, int colorsOn,
                           int foreIsSysColor, int backIsSysColor, unsigned foreColor, unsigned backColor,
                           std::intptr_t brush, WndProcFn newWndProc, const std::string& resizeRule,
                           int useUiFont) {
  if (!IsWindow(hwnd)) return nullptr;
  EnsurePump();
  WindowData* d = NewRecord();
  if (!d) return nullptr;
  WinSetProp(hwnd, "FIN_PTR", reinterpret_cast<std::intptr_t>(d));
  if (subclass == 1) d->prevWndProc = WinSetWindowProc(hwnd, newWndProc);
  WinWatchWindow(hwnd);
  if (setFont == 1) {
    if (useUiFont != 0)
      fontText = std::string(SysWindowsVersion() >= 6.0f ? "Segoe UI," : "Tahoma,") + StrAfterFirst(fontText, ",");
    d->font = FontCreateFromSpec(fontText);
    if (d->font) {
      QWidget* w = WinWidget(hwnd);
      QFont f = FontFromHandle(d->font);
      w->setFont(f);
      if (auto* dt = qobject_cast<QDateTimeEdit*>(w))
        if (dt->calendarWidget()) dt->calendarWidget()->setFont(f);
    }
  }
  d->index = index;
  d->isForm = 0;
  d->hwnd = hwnd;
  std::string rule = resizeRule.substr(0, 30);
  std::copy(rule.begin(), rule.end(), d->resizeRule);
  d->resizeRule[rule.size()] = '\0';
  d->colorsOn = colorsOn;
  if (colorsOn) {
    d->foreIsSysColor = foreIsSysColor;
    d->backIsSysColor = backIsSysColor;
    d->foreColor = foreColor;
    d->backColor = backColor;
    if (brush != -1)
      d->backBrush = brush;
    else if (backIsSysColor)
      d->backBrush = WinGetSysColorBrush(static_cast<int>(backColor));
    else
      d->backBrush = WinCreateSolidBrush(backColor);
    FrmApplyColors(hwnd);
  }
  return d;
}

WindowData* FrmInitControl(Hwnd hwnd, int subclass, int setFont, const std::string& fontText, int index,
                           int colorsOn, int foreIsSysColor, int backIsSysColor, unsigned foreColor,
                           unsigned backColor, std::intptr_t brush, WndProcFn newWndProc,
                           const std::string& resizeRule, int useUiFont) {
  std::string copy = fontText;
  return FrmInitControl(hwnd, subclass, setFont, copy, index, colorsOn, foreIsSysColor, backIsSysColor, foreColor,
                        backColor, brush, newWndProc, resizeRule, useUiFont);
}

void FrmApplyColors(Hwnd control) {
  WindowData* d = FrmDataOf(control);
  QWidget* w = WinWidget(control);
  if (!d || !w || !d->colorsOn) return;
  ColorClass cc = ColorClassOf(control, w);
  if (cc == ColorClass::None) return;
  QColor fore = d->foreIsSysColor ? WinSysColor(static_cast<int>(d->foreColor)) : WinColorFromRgb(d->foreColor);
  QColor back = d->backBrush ? WinColorFromRgb(WinBrushColor(d->backBrush))
                : d->backIsSysColor ? WinSysColor(static_cast<int>(d->backColor))
                                    : WinColorFromRgb(d->backColor);
  QPalette p = w->palette();
  for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) {
    p.setColor(g, QPalette::Text, fore);
    p.setColor(g, QPalette::WindowText, fore);
    p.setColor(g, QPalette::ButtonText, fore);
  }
  if (cc == ColorClass::Edit) {
    // Opaque: the edit's own back colour, the button face while disabled.
    p.setColor(QPalette::Active, QPalette::Base, back);
    p.setColor(QPalette::Inactive, QPalette::Base, back);
    p.setColor(QPalette::Disabled, QPalette::Base, WinSysColor(COLOR_BTNFACE));
  } else {
    p.setColor(QPalette::All, QPalette::Window, back);
    p.setColor(QPalette::All, QPalette::Base, back);
    if (!qobject_cast<QPushButton*>(w)) w->setAutoFillBackground(true);
  }
  w->setPalette(p);
}

// =================================================================================================================
// Showing and closing
// =================================================================================================================
std::intptr_t FrmShow(int modal, Hwnd form, Hwnd parent, int showCommand, int isMdiFrame) {
  WindowData* d = FrmDataOf(form);
  if (!d) return 0;
  EnsurePump();
  if (WinGetExStyle(form) & WS_EX_MDICHILD) modal = 0;
  if (modal != 1) {
    WinShowWindow(form, showCommand);
    return form;
  }
  // The owner: up through child windows, stopping at an MDI child.
  Hwnd owner = parent;
  for (int guard = 0; owner && guard < 64 && (WinGetStyle(owner) & WS_CHILD); ++guard) {
    Hwnd up = WinGetParent(owner);
    if (!up) break;
    owner = up;
    if (WinGetExStyle(owner) & WS_EX_MDICHILD) break;
  }
  if (!IsWindow(owner)) owner = 0;
  d->isModal = 1;
  d->owner = owner;
  if (owner) WinEnableWindow(owner, false);
  WinShowWindow(form, showCommand);
  WinUpdateWindow(form);
  (void)isMdiFrame;   // Ctrl+F4 / Ctrl+F6 work for every MDI child (MessagePump)

  if (ModalHook()) {
    auto hook = ModalHook();
    QMetaObject::invokeMethod(
        qApp, [hook, form]() { if (IsWindow(form)) hook(form); }, Qt::QueuedConnection);
  }
  if (QWidget* w = WinWidget(form)) platform::ModalLoopStarted(w);
  ModalForms().push_back(form);
  WinRunLoopWhileWindow(form);
  ModalForms().erase(std::find(ModalForms().begin(), ModalForms().end(), form));
  // The form it was opened from is current again: a window opened meanwhile may have made another one current.
  const Hwnd from = FrmGetFormOf(parent);
  if (WindowData* fd = FrmDataOf(from); fd && fd->form) MakeCurrent(*fd->form, from);
  int r = gFormResult;
  gFormResult = 0;
  return r;
}

void FrmClose(Hwnd form, int result) {
  if (!IsWindow(form)) return;
  const Hwnd child = GiveOwnerBack(form);
  WinDestroyWindow(form);
  gFormResult = result;
  GiveMdiChildBack(child);
}

Hwnd FrmGetFormOf(Hwnd hwnd) {
  for (int guard = 0; guard < 64; ++guard) {
    if (!IsWindow(hwnd)) return 0;
    if (!(WinGetStyle(hwnd) & WS_CHILD) || (WinGetExStyle(hwnd) & WS_EX_MDICHILD) ||
        WinGetClassName(hwnd).substr(0, 5) == "FORM_")
      return hwnd;
    hwnd = WinGetParent(hwnd);
  }
  return 0;
}

int FrmSetClientSize(Hwnd hwnd, int width, int height) {
  if (width == 0 || height == 0 || !IsWindow(hwnd)) return 0;
  int dx = 0, dy = 0;
  WinNonClientExtent(hwnd, &dx, &dy);
  std::uint32_t style = WinGetStyle(hwnd);
  QWidget* w = WinWidget(hwnd);
  int bar = w->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, w);
  if (style & WS_VSCROLL) dx += bar;
  if (style & WS_HSCROLL) dy += bar;
  WinSetWindowPos(hwnd, 0, 0, 0, width + dx, height + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return 0;
}

Hwnd FrmModalForm() {
  for (auto it = ModalForms().rbegin(); it != ModalForms().rend(); ++it)
    if (IsWindow(*it)) return *it;
  return 0;
}

void FrmSetModalHook(std::function<void(Hwnd)> hook) { ModalHook() = std::move(hook); }

// =================================================================================================================
// Enumeration callbacks and resize rules
// =================================================================================================================
int FrmSysColorProc(Hwnd hwnd, LParam lParam) {
  if (lParam && FrmGetFormOf(hwnd) != static_cast<Hwnd>(lParam)) return 1;   // another form's: it hears of it itself
  WindowData* d = FrmDataOf(hwnd);
  if (d && d->colorsOn && d->backIsSysColor) {
    WinDeleteBrush(d->backBrush);
    d->backBrush = WinGetSysColorBrush(static_cast<int>(d->backColor));
  }
  if (d && d->colorsOn) FrmApplyColors(hwnd);
  return 1;
}

int FrmCaptureLayoutProc(Hwnd hwnd, LParam) {
  WindowData* d = FrmDataOf(hwnd);
  if (d && d->layoutCaptured != 1) {
    WinRect pr = WinGetClientRect(WinGetParent(hwnd));
    WinRect own = WinGetWindowRect(hwnd);
    d->parentRectAtCapture[0] = pr.left;
    d->parentRectAtCapture[1] = pr.top;
    d->parentRectAtCapture[2] = pr.right;
    d->parentRectAtCapture[3] = pr.bottom;
    d->ownRectAtCapture[0] = own.left;
    d->ownRectAtCapture[1] = own.top;
    d->ownRectAtCapture[2] = own.right;
    d->ownRectAtCapture[3] = own.bottom;
    d->layoutCaptured = 1;
  }
  return 1;
}

int FrmRoundHalfEven(long double v) { return static_cast<int>(std::nearbyintl(v)); }

bool FrmLayoutEdges(const std::string& rule, const int own[4], int oldW, int oldH, int width, int height,
                    const int ownNow[4], int out[4]) {
  if (rule.size() < 7) return false;
  for (int i = 0; i < 4; ++i) {
    const std::string f = RuleField(rule, i);
    const bool horizontal = (i % 2) == 0;
    const long double oldExt = horizontal ? oldW : oldH;
    const long double ext = horizontal ? width : height;
    const long double edge = own[i];
    if (!f.empty() && f[0] == 'S') {
      // A parent that had no extent when captured gives nothing to scale by: the edge stays where it is.
      out[i] = oldExt == 0 ? ownNow[i] : FrmRoundHalfEven(edge * ext / oldExt);
    } else if (!f.empty() && f[0] == 'F') {
      const std::string rest = f.substr(1);
      float p = (rest == "L" || rest == "T") ? 0.0f : (rest == "R" || rest == "B") ? 100.0f : LeadingNumber(rest);
      const long double lp = p;
      out[i] = FrmRoundHalfEven(edge - oldExt * lp / 100 + ext * lp / 100);
    } else {
      out[i] = 0;
    }
  }
  return true;
}

int FrmApplyLayoutProc(Hwnd hwnd, LParam) {
  WindowData* d = FrmDataOf(hwnd);
  if (!d || !d->layoutCaptured) return 1;
  std::string rule = Upper(std::string(d->resizeRule));
  if (rule.size() < 7) return 1;
  WinRect pr = WinGetClientRect(WinGetParent(hwnd));
  WinRect now = WinGetWindowRect(hwnd);
  int ownNow[4] = {now.left, now.top, now.right, now.bottom};
  int out[4];
  if (!FrmLayoutEdges(rule, d->ownRectAtCapture, d->parentRectAtCapture[2], d->parentRectAtCapture[3], pr.right,
                      pr.bottom, ownNow, out))
    return 1;
  WinSetWindowPos(hwnd, 0, out[0], out[1], out[2] - out[0], out[3] - out[1], SWP_NOZORDER);
  return 1;
}

// =================================================================================================================
// Design units
// =================================================================================================================
int FrmScaleX(double v) { return FrmRoundHalfEven(static_cast<long double>(DpiScaleX(static_cast<float>(v)))); }
int FrmScaleY(double v) { return FrmRoundHalfEven(static_cast<long double>(DpiScaleY(static_cast<float>(v)))); }

// =================================================================================================================
// The form pattern
// =================================================================================================================
std::string FrmClassName(const FrmForm& form) { return std::string("FORM_FINANCE_") + form.name + "_CLASS"; }

bool FrmRegisterForm(FrmForm& form) {
  const std::string cls = FrmClassName(form);
  if (!WinClassExists(cls)) {
    unsigned style = form.classStyle | (form.kind == FRM_MDIFRAME ? CS_FIN_MDIFRAME : 0u);
    if (WinRegisterClass(cls, form.wndProc, style)) {
      form.registered = true;
      if (form.background >= 0) WinSetClassBackground(cls, static_cast<unsigned>(form.background));
    }
  }
  return WinClassExists(cls);
}

Hwnd FrmCreateForm(FrmForm& form, Hwnd parent, int userData) {
  FrmRegisterForm(form);
  gFormResult = userData;
  const int w = FrmScaleX(form.width), h = FrmScaleY(form.height);
  int x, y;
  if (form.kind == FRM_MDICHILD) {
    x = FrmScaleX(form.x);
    y = FrmScaleY(form.y);
  } else {
    x = (WinScreenWidth() - w) / 2;
    y = (WinScreenHeight() - h) / 2;
  }
  std::uint32_t ex = WS_EX_CONTROLPARENT | WS_EX_WINDOWEDGE | form.exStyle;
  if (form.kind == FRM_MDICHILD) ex |= WS_EX_MDICHILD;
  std::intptr_t id = (form.kind == FRM_MDICHILD && form.mdiId) ? *form.mdiId : 0;
  Hwnd hw = WinCreateWindow(ex, FrmClassName(form), form.caption, form.style, x, y, w, h, parent, id, userData);
  return IsWindow(hw) ? hw : 0;
}

std::intptr_t FrmShowForm(FrmForm& form, Hwnd parent, int modal, int userData) {
  Hwnd hw = FrmCreateForm(form, parent, userData);
  if (!hw) return 0;
  if (form.kind == FRM_MDICHILD) {
    WinShowWindow(hw, SW_SHOWMAXIMIZED);
    return FrmShow(modal, hw, parent, SW_SHOW, 0);
  }
  if (form.kind == FRM_MDIFRAME) return FrmShow(modal, hw, parent, SW_SHOWMAXIMIZED, 1);
  return FrmShow(modal, hw, parent, SW_SHOWNORMAL, 0);
}

LResult FrmFormCreate(FrmForm& form, Hwnd hwnd, LParam lParam) {
  EnsurePump();
  WindowData* d = NewRecord();
  if (!d) return -1;
  WinSetProp(hwnd, "FIN_PTR", reinterpret_cast<std::intptr_t>(d));
  d->isForm = 1;
  d->form = &form;
  if (form.window) *form.window = hwnd;
  CtlSetTag(hwnd, "");
  CtlSetTag2(hwnd, "");
  if (form.createControls) form.createControls(hwnd);
  if (form.onCreate && IsWindow(hwnd)) {
    auto* cs = reinterpret_cast<const WinCreateStruct*>(lParam);
    if (LResult r = form.onCreate(hwnd, cs ? cs->createParams : 0)) return r;
  }
  return WinDefWindowProc(hwnd, WM_CREATE, 0, lParam);
}

void FrmFormSize(Hwnd hwnd, WParam wParam) {
  WinEnumChildWindows(hwnd, FrmCaptureLayoutProc, 0);
  if (wParam != SIZE_MINIMIZED) WinEnumChildWindows(hwnd, FrmApplyLayoutProc, 0);
}

void FrmFormActivate(Hwnd hwnd, WParam wParam) { gActiveForm = LOWORD(wParam) != WA_INACTIVE ? hwnd : 0; }

void FrmFormSetFocus(Hwnd hwnd) {
  WindowData* d = FrmDataOf(hwnd);
  if (d && IsWindow(d->lastFocus)) WinSetFocus(d->lastFocus);
}

void FrmFormClose(Hwnd hwnd) {
  WindowData* d = FrmDataOf(hwnd);
  if (d && d->isModal) {
    const Hwnd child = GiveOwnerBack(hwnd);
    WinShowWindow(hwnd, SW_HIDE);
    GiveMdiChildBack(child);
  }
}

void FrmFormDestroy(Hwnd hwnd, Hwnd* window) {
  if (window && *window == hwnd) *window = 0;
  if (gActiveForm == hwnd) gActiveForm = 0;
  if (WindowData* d = FrmDataOf(hwnd)) {
    // A modal form that goes without being closed still gives its owner back.
    if (d->isModal && IsWindow(d->owner) && !WinIsWindowEnabled(d->owner)) WinEnableWindow(d->owner, true);
    if (d->backBrush) WinDeleteBrush(d->backBrush);
    if (d->accel) WinDestroyAcceleratorTable(d->accel);
    if (d->timerId) WinKillTimer(0, d->timerId);
    delete d;
  }
  CtlFreeTags(hwnd);
  WinRemoveProp(hwnd, "FIN_TAGPROPERTY");
  WinRemoveProp(hwnd, "FIN_TAGPROPERTY2");
  WinRemoveProp(hwnd, "FIN_PTR");
}

bool FrmFormMessage(FrmForm& form, Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam, LResult* result) {
  LResult dummy = 0;
  if (!result) result = &dummy;
  switch (msg) {
    case WM_CREATE:
      *result = FrmFormCreate(form, hwnd, lParam);
      return true;
    case WM_SIZE:
      FrmFormSize(hwnd, wParam);
      return false;
    case WM_ACTIVATE:
      FrmFormActivate(hwnd, wParam);
      if (LOWORD(wParam) != WA_INACTIVE) MakeCurrent(form, hwnd);
      return false;
    case WM_COMMAND:
    case WM_NOTIFY:
      MakeCurrent(form, hwnd);
      return false;
    case WM_SETFOCUS:
      FrmFormSetFocus(hwnd);
      return false;
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
      WinEnumChildWindows(hwnd, FrmSysColorProc, static_cast<LParam>(hwnd));
      return false;
    case WM_CLOSE:
      FrmFormClose(hwnd);
      return false;
    case WM_DESTROY:
      if (form.onDestroy) form.onDestroy(hwnd);
      FrmForgetWindowState(hwnd);
      FrmFormDestroy(hwnd, form.window);
      *result = 0;
      return true;
    default:
      return false;
  }
}

LResult FrmControlMessage(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  WindowData* d = FrmDataOf(hwnd);
  if (!d) return WinCallWindowProc(nullptr, hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_SETFOCUS: {
      if (d->selectAllOnFocus)
        WinSendMessage(hwnd, EM_SETSEL, 0, -1);
      else
        WinSendMessage(hwnd, EM_SETSEL, static_cast<WParam>(-1), 0);
      d = FrmDataOf(hwnd);
      if (WindowData* fd = FrmDataOf(FrmGetFormOf(WinGetParent(hwnd)))) fd->lastFocus = hwnd;
      return d ? WinCallWindowProc(d->prevWndProc, hwnd, msg, wParam, lParam) : 0;
    }
    case WM_DESTROY: {
      WndProcFn prev = d->prevWndProc;
      std::intptr_t font = d->font;
      if (d->backBrush) WinDeleteBrush(d->backBrush);
      if (font) FontDelete(font);
      delete d;
      WinRemoveProp(hwnd, "FIN_PTR");
      CtlFreeTags(hwnd);
      WinRemoveProp(hwnd, "FIN_TAGPROPERTY");
      WinRemoveProp(hwnd, "FIN_TAGPROPERTY2");
      WinSetWindowProc(hwnd, prev);
      WinCallWindowProc(prev, hwnd, WM_DESTROY, wParam, lParam);
      return 0;
    }
    default:
      return WinCallWindowProc(d->prevWndProc, hwnd, msg, wParam, lParam);
  }
}

int FrmIndexOf(Hwnd control) {
  WindowData* d = FrmDataOf(control);
  return d ? d->index : -1;
}

Hwnd FrmControlOf(unsigned msg, LParam lParam) {
  if (msg == WM_NOTIFY) return lParam ? reinterpret_cast<const NmHdr*>(lParam)->hwndFrom : 0;
  return static_cast<Hwnd>(lParam);
}

Hwnd FrmAddControl(Hwnd form, const std::string& className, const std::string& caption, std::uint32_t style,
                   std::uint32_t exStyle, int x, int y, int w, int h, int id, WndProcFn subclass,
                   const std::string& font, const std::string& resizeRule, FrmColors colors, int selectAllOnFocus) {
  Hwnd c = WinCreateWindow(exStyle, className, caption, style, FrmScaleX(x), FrmScaleY(y), FrmScaleX(w),
                           FrmScaleY(h), form, id, 0);
  if (!IsWindow(c)) return 0;
  std::string fontText = font;
  WindowData* d = FrmInitControl(c, 1, font.empty() ? 0 : 1, fontText, 0, colors.on, colors.foreIsSys,
                                 colors.backIsSys, colors.fore, colors.back, colors.brush, subclass, resizeRule, 0);
  CtlSetTag(c, "");
  CtlSetTag2(c, "");
  if (Upper(className) == "EDIT") {
    WinSendMessage(c, EM_LIMITTEXT, 0, 0);
    WinSendMessage(c, EM_SETMARGINS, 0x0001 | 0x0002, 0);
    if (d) d->selectAllOnFocus = selectAllOnFocus;
  }
  return c;
}
