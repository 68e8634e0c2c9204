#include "framework/window_system.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTextEdit>
#include <QTimer>
#include <QVariant>
#include <QWindow>
#include <qdrawutil.h>
#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <unordered_map>

#include "framework/control_classes.h"

namespace {

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
std::string U(const QString& s) {
  QByteArray b = s.toUtf8();
  return std::string(b.constData(), static_cast<size_t>(b.size()));
}

constexpr const char* kHandleProperty = "fin_hwnd";
constexpr const char* kWatchedProperty = "fin_watched";

struct ClassRec {
  WndProcFn proc = nullptr;
  unsigned style = 0;
  bool hasBackground = false;
  unsigned background = 0;
};
// A class without a Close command (CS_NOCLOSE): no close button on the sub-window's frame and no Close in its window
// menu.
void RemoveCloseCommand(QMdiSubWindow* sub) {
  sub->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                      Qt::WindowMinMaxButtonsHint);
  if (QMenu* menu = sub->systemMenu()) {
    for (QAction* a : menu->actions()) {
      if (a->shortcut() == QKeySequence(QKeySequence::Close) || a->text().remove('&') == QStringLiteral("Close")) {
        a->setEnabled(false);
        menu->removeAction(a);
      }
    }
  }
}

// ----- the frame of a top-level form ----------------------------------------------------------------------------
// The desktop decorates a window with a title bar whatever else it draws, so a form whose styles give no title bar is
// left undecorated by it, and this layer draws the border those styles ask for around the form's client area, as the
// window system draws the non-client area of a window: a sizing border (WS_THICKFRAME) that the operator drags to
// resize the window, a dialog frame (WS_DLGFRAME) or a line (WS_BORDER).
constexpr int kSizingBorder = 4, kDialogFrame = 3, kLineBorder = 1;
constexpr int kCornerReach = 16;   // how far from a corner along an edge a drag sizes the window both ways
constexpr std::uint32_t kFrameStyles = WS_POPUP | WS_CAPTION | WS_THICKFRAME;

// A caption is both bits of WS_CAPTION; an overlapped window (not WS_POPUP) always has one.
bool HasTitleBar(std::uint32_t style) { return !(style & WS_POPUP) || (style & WS_CAPTION) == WS_CAPTION; }
int OwnBorder(std::uint32_t style) {
  if (HasTitleBar(style)) return 0;
  if (style & WS_THICKFRAME) return kSizingBorder;
  if (style & WS_DLGFRAME) return kDialogFrame;
  if (style & WS_BORDER) return kLineBorder;
  return 0;
}

// One side of a sizing border: a drag on it resizes its window from that side (and from the next one near a corner).
class SizingEdge : public QWidget {
 public:
  SizingEdge(QWidget* window, Qt::Edge side) : QWidget(window), side_(side) { setMouseTracking(true); }

 protected:
  void mousePressEvent(QMouseEvent* e) override {
    if (e->button() != Qt::LeftButton) return;
    dragging_ = EdgesAt(e->position().toPoint());
    from_ = e->globalPosition().toPoint();
    start_ = window()->geometry();
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    if (!dragging_) {
      setCursor(CursorFor(EdgesAt(e->position().toPoint())));
      return;
    }
    const QPoint d = e->globalPosition().toPoint() - from_;
    QRect g = start_;
    constexpr int kLeast = 2 * kCornerReach;
    if (dragging_ & Qt::LeftEdge) g.setLeft(std::min(g.left() + d.x(), g.right() + 1 - kLeast));
    if (dragging_ & Qt::RightEdge) g.setRight(std::max(g.right() + d.x(), g.left() + kLeast - 1));
    if (dragging_ & Qt::TopEdge) g.setTop(std::min(g.top() + d.y(), g.bottom() + 1 - kLeast));
    if (dragging_ & Qt::BottomEdge) g.setBottom(std::max(g.bottom() + d.y(), g.top() + kLeast - 1));
    window()->setGeometry(g);
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton) dragging_ = {};
  }

 private:
  Qt::Edges EdgesAt(QPoint p) const {
    const QPoint at = mapTo(window(), p);
    const QSize size = window()->size();
    Qt::Edges edges = side_;
    if (side_ == Qt::TopEdge || side_ == Qt::BottomEdge) {
      if (at.x() < kCornerReach) edges |= Qt::LeftEdge;
      else if (at.x() >= size.width() - kCornerReach) edges |= Qt::RightEdge;
    } else {
      if (at.y() < kCornerReach) edges |= Qt::TopEdge;
      else if (at.y() >= size.height() - kCornerReach) edges |= Qt::BottomEdge;
    }
    return edges;
  }
  static Qt::CursorShape CursorFor(Qt::Edges e) {
    if (e == (Qt::LeftEdge | Qt::TopEdge) || e == (Qt::RightEdge | Qt::BottomEdge)) return Qt::SizeFDiagCursor;
    if (e == (Qt::RightEdge | Qt::TopEdge) || e == (Qt::LeftEdge | Qt::BottomEdge)) return Qt::SizeBDiagCursor;
    return (e & (Qt::LeftEdge | Qt::RightEdge)) ? Qt::SizeHorCursor : Qt::SizeVerCursor;
  }
  Qt::Edge side_;
  Qt::Edges dragging_;
  QPoint from_;
  QRect start_;
};

// The window of a top-level form: decorated by the desktop when its styles give a title bar, else framed here.
class TopLevelWindow : public QWidget {
 public:
  TopLevelWindow() : QWidget(nullptr, Qt::Window) {}
  int border() const { return border_; }
  // Takes the frame `style` gives. A change between the desktop's frame and ours hides a shown window.
  void SetFrame(std::uint32_t style) {
    const bool undecorated = !HasTitleBar(style);
    if (undecorated != windowFlags().testFlag(Qt::FramelessWindowHint))
      setWindowFlag(Qt::FramelessWindowHint, undecorated);
    border_ = OwnBorder(style);
    const bool sizing = border_ == kSizingBorder;
    if (sizing && edges_.empty())
      for (Qt::Edge side : {Qt::LeftEdge, Qt::TopEdge, Qt::RightEdge, Qt::BottomEdge})
        edges_.push_back(new SizingEdge(this, side));
    for (SizingEdge* e : edges_) e->setVisible(sizing);
    PlaceEdges();
    update();
  }

 protected:
  void resizeEvent(QResizeEvent* e) override {
    PlaceEdges();
    QWidget::resizeEvent(e);
  }
  void paintEvent(QPaintEvent*) override {
    if (border_ == 0) return;
    QPainter p(this);
    if (border_ == kLineBorder) {
      p.setPen(WinSysColor(6));   // COLOR_WINDOWFRAME
      p.drawRect(rect().adjusted(0, 0, -1, -1));
      return;
    }
    p.fillRect(rect(), WinSysColor(COLOR_BTNFACE));
    qDrawWinPanel(&p, rect(), palette(), false);
  }

 private:
  void PlaceEdges() {
    if (edges_.size() != 4) return;
    const int b = border_, w = width(), h = height();
    edges_[0]->setGeometry(0, b, b, std::max(0, h - 2 * b));       // left
    edges_[1]->setGeometry(0, 0, w, b);                             // top
    edges_[2]->setGeometry(w - b, b, b, std::max(0, h - 2 * b));   // right
    edges_[3]->setGeometry(0, h - b, w, b);                         // bottom
  }
  int border_ = 0;
  std::vector<SizingEdge*> edges_;
};
int BorderOf(const QWidget* w) {
  auto* top = dynamic_cast<const TopLevelWindow*>(w);
  return top ? top->border() : 0;
}

std::unordered_map<std::string, ClassRec>& Classes() {
  static std::unordered_map<std::string, ClassRec> c;
  return c;
}

struct FormWin {
  WinKind kind = WIN_NONE;
  QPointer<QWidget> outer;
  QPointer<QWidget> client;
  QPointer<QMenuBar> menuBar;
  HMenu menu = 0;
  Hwnd owner = 0;
  unsigned lastSizeType = 0xFFFFFFFFu;
  int lastW = -1, lastH = -1;
  bool minimized = false;
};
std::unordered_map<Hwnd, FormWin>& Forms() {
  static std::unordered_map<Hwnd, FormWin> f;
  return f;
}
FormWin* FormOf(Hwnd h) {
  auto& f = Forms();
  auto it = f.find(h);
  if (it == f.end()) return nullptr;
  if (!IsWindow(h)) return nullptr;
  return &it->second;
}

std::set<Hwnd>& Destroying() {
  static std::set<Hwnd> d;
  return d;
}

// Qt events turned into messages: did the message reach the default handling (so Qt should handle the event)?
struct QtDispatch {
  Hwnd h;
  unsigned msg;
  bool reached;
};
std::vector<QtDispatch>& DispatchStack() {
  static std::vector<QtDispatch> s;
  return s;
}
void MarkDefaultReached(Hwnd h, unsigned msg) {
  auto& s = DispatchStack();
  if (!s.empty() && s.back().h == h && s.back().msg == msg) s.back().reached = true;
}
// Sends a message made from a Qt event; true when it was passed on to the default handling.
bool DispatchFromQt(Hwnd h, unsigned msg, WParam wParam, LParam lParam) {
  DispatchStack().push_back({h, msg, false});
  WinSendMessage(h, msg, wParam, lParam);
  bool reached = DispatchStack().back().reached;
  DispatchStack().pop_back();
  return reached;
}

// Handle a widget carries, without making one.
Hwnd PropertyHandle(const QObject* o) {
  QVariant v = o->property(kHandleProperty);
  return v.isValid() ? static_cast<Hwnd>(v.toLongLong()) : 0;
}

// A control's own handling of a message (the controls layer), then the generic one.
LResult ControlDefault(Hwnd h, unsigned msg, WParam wParam, LParam lParam) {
  MarkDefaultReached(h, msg);
  if (WinIsControlClass(WinGetClassName(h))) return WinControlDefProc(h, msg, wParam, lParam);
  return WinDefWindowProc(h, msg, wParam, lParam);
}

// ----- modal loops ----------------------------------------------------------------------------------------------
struct LoopRec {
  Hwnd h = 0;
  QEventLoop* loop = nullptr;
  bool quit = false;
};
std::vector<LoopRec*>& Loops() {
  static std::vector<LoopRec*> l;
  return l;
}
int gQuitCode = 0;

// ----- timers ---------------------------------------------------------------------------------------------------
struct TimerRec {
  Hwnd h = 0;
  unsigned id = 0;
  WinTimerProc proc = nullptr;
  QTimer* timer = nullptr;
  QElapsedTimer since;
};
std::map<std::pair<Hwnd, unsigned>, std::unique_ptr<TimerRec>>& Timers() {
  static std::map<std::pair<Hwnd, unsigned>, std::unique_ptr<TimerRec>> t;
  return t;
}
unsigned gNextThreadTimer = 0;

void TimerTick(Hwnd h, unsigned id) {
  auto& t = Timers();
  auto it = t.find({h, id});
  if (it == t.end()) return;
  if (h != 0 && !IsWindow(h)) {
    WinKillTimer(h, id);
    return;
  }
  WinTimerProc proc = it->second->proc;
  auto ms = static_cast<std::uint32_t>(it->second->since.elapsed());
  if (proc)
    proc(h, WM_TIMER, id, ms);
  else
    WinSendMessage(h, WM_TIMER, id, 0);
}

void KillTimersOf(Hwnd h) {
  std::vector<unsigned> ids;
  for (auto& [key, rec] : Timers())
    if (key.first == h) ids.push_back(key.second);
  for (unsigned id : ids) WinKillTimer(h, id);
}

// ----- menus ----------------------------------------------------------------------------------------------------
struct MenuItem {
  unsigned flags = 0;
  unsigned id = 0;
  std::string text;
  HMenu popup = 0;
  QPointer<QAction> action;
};
struct MenuRec {
  bool bar = false;
  HMenu parent = 0;
  std::vector<MenuItem> items;
};
std::map<HMenu, std::unique_ptr<MenuRec>>& Menus() {
  static std::map<HMenu, std::unique_ptr<MenuRec>> m;
  return m;
}
HMenu gNextMenu = 0x6000;
MenuRec* MenuOf(HMenu m) {
  auto it = Menus().find(m);
  return it == Menus().end() ? nullptr : it->second.get();
}

// ----- accelerators ---------------------------------------------------------------------------------------------
std::map<std::intptr_t, std::vector<WinAccel>>& Accels() {
  static std::map<std::intptr_t, std::vector<WinAccel>> a;
  return a;
}
std::intptr_t gNextAccel = 0x7000;

// ----- geometry of forms ----------------------------------------------------------------------------------------
// Places the menu bar and the client widget of a top-level form inside it.
void LayoutTopLevel(FormWin& f) {
  if (f.kind != WIN_TOPLEVEL_FORM || !f.outer || !f.client) return;
  const int b = BorderOf(f.outer);   // the frame this layer draws, if any
  int w = std::max(0, f.outer->width() - 2 * b), h = std::max(0, f.outer->height() - 2 * b);
  int mh = 0;
  if (f.menuBar) {
    mh = f.menuBar->heightForWidth(w);
    if (mh <= 0) mh = f.menuBar->sizeHint().height();
    f.menuBar->setGeometry(b, b, w, mh);
  }
  f.client->setGeometry(b, b + mh, w, std::max(0, h - mh));
}
// The frame's QMainWindow lays its central widget out when shown; before that we do it.
void LayoutFrame(FormWin& f) {
  if (f.kind != WIN_MDI_FRAME || !f.outer || !f.client) return;
  if (f.outer->isVisible()) return;
  int w = f.outer->width(), h = f.outer->height();
  int mh = 0;
  if (f.menuBar) {
    mh = f.menuBar->heightForWidth(w);
    if (mh <= 0) mh = f.menuBar->sizeHint().height();
    f.menuBar->setGeometry(0, 0, w, mh);
  }
  f.client->setGeometry(0, mh, w, std::max(0, h - mh));
}
void LayoutMdiChild(FormWin& f) {
  if (f.kind != WIN_MDI_CHILD || !f.outer) return;
  if (QLayout* l = f.outer->layout()) {
    l->invalidate();
    l->activate();
  }
}
void LayoutForm(FormWin& f) {
  LayoutTopLevel(f);
  LayoutFrame(f);
  LayoutMdiChild(f);
}

unsigned SizeTypeOf(const FormWin& f) {
  if (f.outer && f.outer->isMinimized()) return SIZE_MINIMIZED;
  if (f.outer && f.outer->isMaximized()) return SIZE_MAXIMIZED;
  return SIZE_RESTORED;
}
// Sends WM_SIZE with the client size when the size or the state changed since the last one (or when forced).
void SendSize(Hwnd h, bool force) {
  FormWin* f = FormOf(h);
  if (!f || !f->client) return;
  unsigned type = SizeTypeOf(*f);
  int w = f->client->width(), ht = f->client->height();
  if (type == SIZE_MINIMIZED) w = ht = 0;
  if (!force && type == f->lastSizeType && w == f->lastW && ht == f->lastH) return;
  f->lastSizeType = type;
  f->lastW = w;
  f->lastH = ht;
  WinSendMessage(h, WM_SIZE, type, MAKELPARAM(static_cast<unsigned>(w), static_cast<unsigned>(ht)));
}

void SendActivate(Hwnd h, bool active) {
  if (!IsWindow(h) || Destroying().count(h)) return;
  WinSendMessage(h, WM_ACTIVATE, active ? WA_ACTIVE : WA_INACTIVE, 0);
}

// ----- Qt events -> messages ------------------------------------------------------------------------------------
class EventFilter : public QObject {
 public:
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  bool formEvent(Hwnd h, FormWin& f, QWidget* w, QEvent* e);
  bool controlEvent(Hwnd h, QWidget* control, QWidget* w, QEvent* e);
};
EventFilter* Filter() {
  static EventFilter* f = new EventFilter;
  return f;
}

bool EventFilter::eventFilter(QObject* o, QEvent* e) {
  if (!o->isWidgetType()) return false;
  switch (e->type()) {
    case QEvent::Close: case QEvent::Resize: case QEvent::WindowStateChange: case QEvent::WindowActivate:
    case QEvent::WindowDeactivate: case QEvent::FocusIn: case QEvent::FocusOut: case QEvent::KeyPress:
    case QEvent::KeyRelease: case QEvent::MouseButtonPress: case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: case QEvent::ApplicationPaletteChange: case QEvent::ThemeChange:
      break;
    default:
      return false;
  }
  auto* w = static_cast<QWidget*>(o);
  Hwnd h = PropertyHandle(w);
  if (!h || Destroying().count(h)) return false;
  QWidget* own = WinWidget(h);
  if (!own) return false;
  if (FormWin* f = FormOf(h)) return formEvent(h, *f, w, e);
  return controlEvent(h, own, w, e);
}

// A change of the desktop's colours or theme: the message to the form and to every form inside it (MDI children,
// child forms), as the desktop tells every window.
void TellForms(Hwnd h, unsigned msg) {
  std::vector<Hwnd> forms{h};
  for (Hwnd c : WinChildWindows(h))
    if (FormOf(c)) forms.push_back(c);
  for (Hwnd form : forms)
    if (IsWindow(form) && !Destroying().count(form)) WinSendMessage(form, msg, 0, 0);
}

bool EventFilter::formEvent(Hwnd h, FormWin& f, QWidget* w, QEvent* e) {
  if (w == f.outer) {
    switch (e->type()) {
      case QEvent::Close:
        e->ignore();
        // A form of a class without a Close command cannot be closed from its frame (the close button of a
        // maximised MDI child in the menu bar included).
        if (!WinHasNoCloseCommand(h)) WinSendMessage(h, WM_CLOSE, 0, 0);
        return true;
      case QEvent::ApplicationPaletteChange:
      case QEvent::ThemeChange:
        // Top-level windows hear of it; the forms inside them through TellForms.
        if (w->isWindow()) TellForms(h, e->type() == QEvent::ThemeChange ? WM_THEMECHANGED : WM_SYSCOLORCHANGE);
        break;
      case QEvent::Resize:
        if (f.kind == WIN_TOPLEVEL_FORM) LayoutTopLevel(f);
        break;
      case QEvent::WindowStateChange: {
        bool minimized = w->isMinimized();
        if (minimized != f.minimized) {
          f.minimized = minimized;
          SendSize(h, true);
        } else {
          SendSize(h, false);
        }
        break;
      }
      case QEvent::WindowActivate:
      case QEvent::WindowDeactivate:
        if (w->isWindow()) SendActivate(h, e->type() == QEvent::WindowActivate);
        break;
      case QEvent::FocusIn:
        if (f.client == f.outer) WinSendMessage(h, WM_SETFOCUS, 0, 0);
        break;
      default:
        break;
    }
  }
  if (w == f.client && FormOf(h)) {
    if (e->type() == QEvent::Resize) SendSize(h, false);
    if (e->type() == QEvent::FocusIn && f.client != f.outer) WinSendMessage(h, WM_SETFOCUS, 0, 0);
  }
  return false;
}

bool EventFilter::controlEvent(Hwnd h, QWidget* control, QWidget* w, QEvent* e) {
  WinInfo* info = WinInfoOf(h);
  if (!info || !info->proc) return false;
  switch (e->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      auto* k = static_cast<QKeyEvent*>(e);
      int vk = WinVirtualKey(k->key());
      if (vk == 0) return false;
      bool press = e->type() == QEvent::KeyPress;
      if (!press && k->isAutoRepeat()) return false;
      LParam lp = press ? (1 | (k->isAutoRepeat() ? (LParam(1) << 30) : 0)) : LParam(0xC0000001u);
      bool passed = DispatchFromQt(h, press ? WM_KEYDOWN : WM_KEYUP, static_cast<WParam>(vk), lp);
      if (!IsWindow(h)) return true;
      return !passed;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
      auto* m = static_cast<QMouseEvent*>(e);
      unsigned msg = 0;
      if (m->button() == Qt::LeftButton)
        msg = e->type() == QEvent::MouseButtonPress     ? WM_LBUTTONDOWN
              : e->type() == QEvent::MouseButtonRelease ? WM_LBUTTONUP
                                                        : WM_LBUTTONDBLCLK;
      else if (m->button() == Qt::RightButton && e->type() == QEvent::MouseButtonRelease)
        msg = WM_RBUTTONUP;
      if (!msg) return false;
      QPoint p = m->position().toPoint();
      if (w != control && control->isAncestorOf(w)) p = w->mapTo(control, p);
      WParam keys = 0;
      if (m->buttons() & Qt::LeftButton) keys |= 0x0001;
      if (m->buttons() & Qt::RightButton) keys |= 0x0002;
      if (m->modifiers() & Qt::ShiftModifier) keys |= 0x0004;
      if (m->modifiers() & Qt::ControlModifier) keys |= 0x0008;
      bool passed = DispatchFromQt(h, msg, keys,
                                   MAKELPARAM(static_cast<unsigned>(p.x()), static_cast<unsigned>(p.y())));
      if (!IsWindow(h)) return true;
      return !passed;
    }
    default:
      return false;
  }
}

// A control that has a window procedure, named by a focus widget (the control or one of its parts); 0 otherwise.
Hwnd FocusTarget(QWidget* w) {
  if (!w) return 0;
  Hwnd h = PropertyHandle(w);
  if (!h || Destroying().count(h) || !IsWindow(h) || FormOf(h)) return 0;
  WinInfo* i = WinInfoOf(h);
  return i && i->proc ? h : 0;
}
// Focus messages come after Qt handled the change (an edit has placed its cursor and selection by then).
void OnFocusChanged(QWidget* old, QWidget* now) {
  Hwnd ho = FocusTarget(old), hn = FocusTarget(now);
  if (ho == hn) return;
  if (ho) WinSendMessage(ho, WM_KILLFOCUS, static_cast<WParam>(hn), 0);
  if (hn && IsWindow(hn)) WinSendMessage(hn, WM_SETFOCUS, static_cast<WParam>(ho), 0);
}

void Watch(QWidget* w) {
  static bool focusConnected = false;
  if (!focusConnected && qApp) {
    focusConnected = true;
    QObject::connect(qApp, &QApplication::focusChanged, Filter(), &OnFocusChanged);
  }
  if (!w || w->property(kWatchedProperty).toBool()) return;
  w->setProperty(kWatchedProperty, true);
  w->installEventFilter(Filter());
}

// MDI children hear of their activation through their area.
void ConnectArea(QMdiArea* area) {
  if (area->property("fin_mdi_connected").toBool()) return;
  area->setProperty("fin_mdi_connected", true);
  QObject::connect(area, &QMdiArea::subWindowActivated, area, [area](QMdiSubWindow* sub) {
    Hwnd before = static_cast<Hwnd>(area->property("fin_mdi_active").toLongLong());
    Hwnd now = sub ? PropertyHandle(sub) : 0;
    if (before == now) return;
    area->setProperty("fin_mdi_active", QVariant::fromValue<qlonglong>(now));
    if (before) SendActivate(before, false);
    if (now) SendActivate(now, true);
  });
}

// Keeps a top-level form above its owner without making it a Qt child (which the owner's disabling would reach): an
// owned form is a dialog window (WinCreateWindow), which the window manager keeps in front of its transient parent.
void KeepAboveOwner(const FormWin& f) {
  if (f.kind != WIN_TOPLEVEL_FORM || !f.owner || !f.outer) return;
  if (QWidget* ow = WinWidget(f.owner)) {
    f.outer->winId();
    ow->winId();
    if (f.outer->windowHandle() && ow->windowHandle())
      f.outer->windowHandle()->setTransientParent(ow->windowHandle());
  }
}

Hwnd TopLevelOf(Hwnd h) {
  for (int guard = 0; h && guard < 64; ++guard) {
    WinKind k = WinKindOf(h);
    if (k == WIN_TOPLEVEL_FORM || k == WIN_MDI_FRAME) return h;
    if (k == WIN_NONE) return 0;
    h = WinGetParent(h);
  }
  return 0;
}

void CollectChildren(QObject* o, Hwnd self, std::vector<Hwnd>& out, std::set<Hwnd>& seen) {
  for (QObject* c : o->children()) {
    if (!c->isWidgetType()) continue;
    Hwnd ch = PropertyHandle(c);
    if (ch && ch != self && !seen.count(ch) && IsWindow(ch) && WinWidget(ch) == c) {
      seen.insert(ch);
      out.push_back(ch);
      CollectChildren(c, ch, out, seen);
    } else {
      CollectChildren(c, self, out, seen);
    }
  }
}

// Generic text of a widget without a control layer.
std::string WidgetText(QWidget* w) {
  if (auto* e = qobject_cast<QLineEdit*>(w)) return U(e->text());
  if (auto* e = qobject_cast<QPlainTextEdit*>(w)) return U(e->toPlainText());
  if (auto* e = qobject_cast<QTextEdit*>(w)) return U(e->toPlainText());
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return U(b->text());
  if (auto* l = qobject_cast<QLabel*>(w)) return U(l->text());
  if (auto* c = qobject_cast<QComboBox*>(w)) return U(c->currentText());
  if (auto* g = qobject_cast<QGroupBox*>(w)) return U(g->title());
  return U(w->windowTitle());
}
bool SetWidgetText(QWidget* w, const std::string& text) {
  if (auto* e = qobject_cast<QLineEdit*>(w)) e->setText(Q(text));
  else if (auto* e = qobject_cast<QPlainTextEdit*>(w)) e->setPlainText(Q(text));
  else if (auto* e = qobject_cast<QTextEdit*>(w)) e->setPlainText(Q(text));
  else if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setText(Q(text));
  else if (auto* l = qobject_cast<QLabel*>(w)) l->setText(Q(text));
  else if (auto* c = qobject_cast<QComboBox*>(w); c && c->isEditable()) c->setEditText(Q(text));
  else if (auto* g = qobject_cast<QGroupBox*>(w)) g->setTitle(Q(text));
  else w->setWindowTitle(Q(text));
  return true;
}

void SetSelection(QWidget* w, long long start, long long end) {
  if (auto* e = qobject_cast<QLineEdit*>(w)) {
    int n = static_cast<int>(e->text().size());
    if (start == -1) {
      e->deselect();
    } else if (start == 0 && end == -1) {
      e->selectAll();
    } else {
      int s = static_cast<int>(std::clamp<long long>(start, 0, n));
      int t = end < 0 ? n : static_cast<int>(std::clamp<long long>(end, 0, n));
      e->setSelection(s, t - s);
    }
    return;
  }
  QTextCursor c;
  QPlainTextEdit* p = qobject_cast<QPlainTextEdit*>(w);
  QTextEdit* t = qobject_cast<QTextEdit*>(w);
  if (!p && !t) return;
  c = p ? p->textCursor() : t->textCursor();
  int n = c.document()->characterCount() - 1;
  if (start == -1) {
    c.clearSelection();
  } else {
    int s = static_cast<int>(std::clamp<long long>(start, 0, n));
    int e2 = end < 0 ? n : static_cast<int>(std::clamp<long long>(end, 0, n));
    c.setPosition(s);
    c.setPosition(e2, QTextCursor::KeepAnchor);
  }
  if (p) p->setTextCursor(c);
  else t->setTextCursor(c);
}

// Builds the Qt menu items of `menu` into `target` (a QMenuBar or a QMenu); commands go to `form`.
template <class Target>
void BuildMenu(Target* target, HMenu menu, Hwnd form) {
  MenuRec* m = MenuOf(menu);
  if (!m) return;
  for (MenuItem& it : m->items) {
    if (it.flags & MF_SEPARATOR) {
      it.action = target->addSeparator();
    } else if (it.flags & MF_POPUP) {
      QMenu* sub = target->addMenu(Q(it.text));
      it.action = sub->menuAction();
      BuildMenu(sub, it.popup, form);
    } else {
      QAction* a = target->addAction(Q(it.text));
      unsigned id = it.id;
      a->setData(id);
      QObject::connect(a, &QAction::triggered, a, [form, id]() {
        if (IsWindow(form)) WinSendMessage(form, WM_COMMAND, MAKEWPARAM(id, 0), 0);
      });
      it.action = a;
    }
    it.action->setEnabled(!(it.flags & (MF_GRAYED | MF_DISABLED)));
    if (it.flags & MF_CHECKED) {
      it.action->setCheckable(true);
      it.action->setChecked(true);
    }
  }
}

MenuItem* FindItem(HMenu menu, unsigned idOrPos, unsigned flags) {
  MenuRec* m = MenuOf(menu);
  if (!m) return nullptr;
  if (flags & MF_BYPOSITION) return idOrPos < m->items.size() ? &m->items[idOrPos] : nullptr;
  for (MenuItem& it : m->items) {
    if (!(it.flags & (MF_POPUP | MF_SEPARATOR)) && it.id == idOrPos) return &it;
    if (it.flags & MF_POPUP)
      if (MenuItem* found = FindItem(it.popup, idOrPos, flags)) return found;
  }
  return nullptr;
}

void ApplyItemState(MenuItem& it) {
  if (!it.action) return;
  it.action->setEnabled(!(it.flags & (MF_GRAYED | MF_DISABLED)));
  it.action->setCheckable((it.flags & MF_CHECKED) != 0 || it.action->isCheckable());
  it.action->setChecked((it.flags & MF_CHECKED) != 0);
}

}  // namespace

// =================================================================================================================
// Window classes
// =================================================================================================================
bool WinRegisterClass(const std::string& className, WndProcFn proc, unsigned classStyle) {
  if (className.empty() || !proc || Classes().count(className)) return false;
  ClassRec r;
  r.proc = proc;
  r.style = classStyle;
  Classes().emplace(className, r);
  return true;
}
bool WinHasNoCloseCommand(Hwnd h) {
  const WinInfo* info = WinInfoOf(h);
  if (!info) return false;
  auto it = Classes().find(info->className);
  return it != Classes().end() && (it->second.style & CS_NOCLOSE);
}

bool WinClassExists(const std::string& className) { return Classes().count(className) != 0; }
void WinSetClassBackground(const std::string& className, unsigned rgb) {
  auto it = Classes().find(className);
  if (it == Classes().end()) return;
  it->second.hasBackground = true;
  it->second.background = rgb;
}

// =================================================================================================================
// Creation and destruction
// =================================================================================================================
Hwnd WinCreateWindow(std::uint32_t exStyle, const std::string& className, const std::string& caption,
                     std::uint32_t style, int x, int y, int w, int h, Hwnd parent, std::intptr_t idOrMenu,
                     std::intptr_t createData) {
  auto cit = Classes().find(className);
  if (cit == Classes().end()) {
    Hwnd c = WinCreateControl(exStyle, className, caption, style, x, y, w, h, parent, static_cast<int>(idOrMenu));
    QWidget* cw = WinWidget(c);
    if (!cw) return 0;
    // A control belongs in its form's client widget.
    QWidget* pw = WinWidget(parent);
    QWidget* pc = WinClientWidget(parent);
    if (pc && pw && pc != pw && cw->parentWidget() == pw && !cw->isWindow()) {
      QRect g = cw->geometry();
      bool visible = !cw->isHidden();
      cw->setParent(pc);
      cw->setGeometry(g);
      if (visible) cw->show();
    }
    WinWatchWindow(c);
    return c;
  }
  const ClassRec cls = cit->second;
  FormWin f;
  QWidget* outer = nullptr;
  QWidget* client = nullptr;
  if (exStyle & WS_EX_MDICHILD) {
    QMdiArea* area = WinMdiArea(parent);
    if (!area) return 0;
    ConnectArea(area);
    client = new QWidget;
    QMdiSubWindow* sub = area->addSubWindow(client);
    sub->setAttribute(Qt::WA_DeleteOnClose, false);
    if (cls.style & CS_NOCLOSE) RemoveCloseCommand(sub);
    outer = sub;
    f.kind = WIN_MDI_CHILD;
  } else if (cls.style & CS_FIN_MDIFRAME) {
    auto* mw = new QMainWindow;
    client = new QWidget;
    mw->setCentralWidget(client);
    outer = mw;
    f.kind = WIN_MDI_FRAME;
  } else if (style & WS_CHILD) {
    QWidget* pc = WinClientWidget(parent);
    if (!pc) return 0;
    outer = client = new QWidget(pc);
    f.kind = WIN_CHILD_FORM;
  } else {
    f.owner = TopLevelOf(parent);
    // An owned form is a dialog window to the desktop: the window manager keeps a dialog in front of the window it is
    // transient for (WinShowWindow names the owner), as message boxes stand in front of theirs. A plain window would
    // go behind its owner at the first click on the owner. The buttons of its title bar stay those of a window; a
    // form whose styles give no title bar has none, and the border its styles ask for is ours (TopLevelWindow).
    auto* top = new TopLevelWindow;
    outer = top;
    if (f.owner) outer->setWindowFlags((outer->windowFlags() & ~Qt::WindowType_Mask) | Qt::Dialog);
    if (exStyle & WS_EX_TOPMOST) outer->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    if (cls.style & CS_NOCLOSE) outer->setWindowFlag(Qt::WindowCloseButtonHint, false);
    top->SetFrame(style);
    client = new QWidget(outer);
    f.kind = WIN_TOPLEVEL_FORM;
  }
  Hwnd hw = WinHandle(outer);
  if (client != outer) client->setProperty(kHandleProperty, QVariant::fromValue<qlonglong>(hw));
  f.outer = outer;
  f.client = client;
  WinInfo* info = WinInfoOf(hw);
  info->className = className;
  info->style = style;
  info->exStyle = exStyle;
  info->id = (f.kind == WIN_MDI_CHILD || f.kind == WIN_CHILD_FORM) ? static_cast<int>(idOrMenu) : 0;
  info->proc = cls.proc;
  Forms()[hw] = f;

  QPalette pal = client->palette();
  pal.setColor(QPalette::Window, cls.hasBackground ? WinColorFromRgb(cls.background) : WinSysColor(COLOR_BTNFACE));
  client->setPalette(pal);
  client->setAutoFillBackground(true);
  outer->setWindowTitle(Q(caption));
  if (style & WS_DISABLED) outer->setEnabled(false);
  Watch(outer);
  Watch(client);
  // The size given is that of what lies inside the window's frame, whoever draws the frame.
  const int b = BorderOf(outer);
  outer->setGeometry(x - b, y - b, std::max(0, w) + 2 * b, std::max(0, h) + 2 * b);
  if ((f.kind == WIN_TOPLEVEL_FORM || f.kind == WIN_MDI_FRAME) && idOrMenu && MenuOf(idOrMenu))
    WinSetMenu(hw, idOrMenu);
  if (FormWin* fw = FormOf(hw)) LayoutForm(*fw);

  WinCreateStruct cs;
  cs.createParams = createData;
  cs.parent = parent;
  cs.idOrMenu = idOrMenu;
  cs.x = x;
  cs.y = y;
  cs.cx = w;
  cs.cy = h;
  cs.style = style;
  cs.exStyle = exStyle;
  cs.className = className;
  cs.caption = caption;
  LResult r = WinSendMessage(hw, WM_CREATE, 0, reinterpret_cast<LParam>(&cs));
  if (r == -1 || !IsWindow(hw)) {
    if (IsWindow(hw)) WinDestroyWindow(hw);
    return 0;
  }
  SendSize(hw, true);
  if (IsWindow(hw) && (style & WS_VISIBLE)) WinShowWindow(hw, SW_SHOW);
  return IsWindow(hw) ? hw : 0;
}

bool WinDestroyWindow(Hwnd h) {
  if (!IsWindow(h) || Destroying().count(h)) return false;
  Destroying().insert(h);
  // Owned forms go first.
  std::vector<Hwnd> owned;
  for (auto& [fh, f] : Forms())
    if (f.owner == h && fh != h) owned.push_back(fh);
  for (Hwnd o : owned) WinDestroyWindow(o);

  std::vector<Hwnd> all{h};
  {
    std::vector<Hwnd> kids = WinChildWindows(h);
    all.insert(all.end(), kids.begin(), kids.end());
  }
  for (Hwnd c : all) Destroying().insert(c);
  for (Hwnd c : all)
    if (IsWindow(c)) WinSendMessage(c, WM_DESTROY, 0, 0);

  QPointer<QWidget> widget = WinWidget(h);
  for (Hwnd c : all) {
    KillTimersOf(c);
    for (LoopRec* l : Loops())
      if (l->h == c) l->loop->exit(0);
    auto fit = Forms().find(c);
    if (fit != Forms().end()) {
      if (fit->second.menuBar) fit->second.menuBar->deleteLater();
      Forms().erase(fit);
    }
    WinForgetHandle(c);
  }
  for (Hwnd c : all) Destroying().erase(c);
  if (widget) {
    widget->hide();
    widget->deleteLater();
  }
  return true;
}

LResult WinDefWindowProc(Hwnd h, unsigned msg, WParam wParam, LParam lParam) {
  MarkDefaultReached(h, msg);
  QWidget* w = WinWidget(h);
  if (!w) return 0;
  FormWin* f = FormOf(h);
  switch (msg) {
    case WM_CLOSE:
      if (f) WinDestroyWindow(h);
      return 0;
    case WM_SYSCOMMAND:
      if (!f) return 0;
      switch (wParam & 0xFFF0) {
        case SC_CLOSE:
          if (!WinHasNoCloseCommand(h)) WinSendMessage(h, WM_CLOSE, 0, 0);   // CS_NOCLOSE: the command does nothing
          break;
        case 0xF020: WinShowWindow(h, SW_MINIMIZE); break;          // SC_MINIMIZE
        case 0xF030: WinShowWindow(h, SW_SHOWMAXIMIZED); break;     // SC_MAXIMIZE
        case 0xF120: WinShowWindow(h, SW_RESTORE); break;           // SC_RESTORE
        default: break;
      }
      return 0;
    case WM_SETTEXT:
      if (lParam) {
        if (f) w->setWindowTitle(Q(reinterpret_cast<const char*>(lParam)));
        else SetWidgetText(w, reinterpret_cast<const char*>(lParam));
      }
      return 1;
    case WM_GETTEXT: {
      if (!lParam || wParam == 0) return 0;
      std::string t = f ? U(w->windowTitle()) : WidgetText(w);
      size_t n = std::min<size_t>(t.size(), wParam - 1);
      std::copy(t.begin(), t.begin() + static_cast<std::ptrdiff_t>(n), reinterpret_cast<char*>(lParam));
      reinterpret_cast<char*>(lParam)[n] = '\0';
      return static_cast<LResult>(n);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LResult>(f ? U(w->windowTitle()).size() : WidgetText(w).size());
    case WM_ACTIVATE:
      if (f && LOWORD(wParam) != WA_INACTIVE && !w->isMinimized()) WinSendMessage(h, WM_SETFOCUS, 0, 0);
      return 0;
    case WM_SIZE:
      if (f && f->kind == WIN_MDI_FRAME && wParam != SIZE_MINIMIZED) {
        for (Hwnd c : WinChildWindows(h))
          if (WinMdiArea(c) && WinGetParent(c) == h) {
            WinRect r = WinGetClientRect(h);
            WinSetWindowPos(c, 0, 0, 0, r.right, r.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
            break;
          }
      }
      return 0;
    case EM_SETSEL:
      if (!f) SetSelection(w, static_cast<long long>(static_cast<std::intptr_t>(wParam)),
                           static_cast<long long>(lParam));
      return 0;
    case WM_GETMINMAXINFO:
    default:
      return 0;
  }
}

LResult WinCallWindowProc(WndProcFn prev, Hwnd h, unsigned msg, WParam wParam, LParam lParam) {
  MarkDefaultReached(h, msg);
  if (prev) return prev(h, msg, wParam, lParam);
  if (WinIsForm(h)) return WinDefWindowProc(h, msg, wParam, lParam);
  return ControlDefault(h, msg, wParam, lParam);
}

LResult WinSendMessage(Hwnd h, unsigned msg, WParam wParam, LParam lParam) {
  WinInfo* info = WinInfoOf(h);
  if (!info) return 0;
  if (info->proc) return info->proc(h, msg, wParam, lParam);
  if (FormOf(h)) return WinDefWindowProc(h, msg, wParam, lParam);
  return ControlDefault(h, msg, wParam, lParam);
}

WndProcFn WinSetWindowProc(Hwnd h, WndProcFn proc) {
  WinInfo* info = WinInfoOf(h);
  if (!info) return nullptr;
  WndProcFn old = info->proc;
  info->proc = proc;
  WinWatchWindow(h);
  return old;
}

bool WinPostMessage(Hwnd h, unsigned msg, WParam wParam, LParam lParam) {
  if (!IsWindow(h)) return false;
  QMetaObject::invokeMethod(
      qApp, [h, msg, wParam, lParam]() {
        if (IsWindow(h)) WinSendMessage(h, msg, wParam, lParam);
      },
      Qt::QueuedConnection);
  return true;
}

void WinPostQuitMessage(int code) {
  gQuitCode = code;
  QMetaObject::invokeMethod(
      qApp, []() {
        if (Loops().empty()) return;
        Loops().back()->quit = true;
        Loops().back()->loop->exit(0);
      },
      Qt::QueuedConnection);
}
int WinQuitCode() { return gQuitCode; }

bool WinRunLoopWhileWindow(Hwnd h) {
  if (!IsWindow(h)) return false;
  QEventLoop loop;
  LoopRec rec;
  rec.h = h;
  rec.loop = &loop;
  Loops().push_back(&rec);
  if (IsWindow(h)) loop.exec(QEventLoop::AllEvents);
  Loops().erase(std::find(Loops().begin(), Loops().end(), &rec));
  return rec.quit;
}

// =================================================================================================================
// Kinds, parents, children
// =================================================================================================================
WinKind WinKindOf(Hwnd h) {
  if (!IsWindow(h)) return WIN_NONE;
  if (FormWin* f = FormOf(h)) return f->kind;
  return WIN_CONTROL;
}
bool WinIsForm(Hwnd h) { return FormOf(h) != nullptr; }
QWidget* WinClientWidget(Hwnd h) {
  if (FormWin* f = FormOf(h)) return f->client ? f->client.data() : f->outer.data();
  return WinWidget(h);
}
QMdiArea* WinMdiArea(Hwnd mdiClient) { return qobject_cast<QMdiArea*>(WinWidget(mdiClient)); }
Hwnd WinMdiActiveChild(Hwnd mdiClient) {
  QMdiArea* a = WinMdiArea(mdiClient);
  if (!a || !a->activeSubWindow()) return 0;
  Hwnd h = PropertyHandle(a->activeSubWindow());
  return IsWindow(h) ? h : 0;
}

Hwnd WinHandleOfWidget(QWidget* w) {
  for (; w; w = w->parentWidget()) {
    Hwnd h = PropertyHandle(w);
    if (h && IsWindow(h)) return h;
  }
  return 0;
}

void WinWatchWindow(Hwnd h) {
  QWidget* w = WinWidget(h);
  if (!w) return;
  Watch(w);
  auto adopt = [h](QWidget* part) {
    if (!part) return;
    if (!part->property(kHandleProperty).isValid())
      part->setProperty(kHandleProperty, QVariant::fromValue<qlonglong>(h));
    if (PropertyHandle(part) == h) Watch(part);
  };
  if (auto* sa = qobject_cast<QAbstractScrollArea*>(w)) adopt(sa->viewport());
  if (w->focusProxy()) adopt(w->focusProxy());
  if (auto* c = qobject_cast<QComboBox*>(w)) adopt(c->lineEdit());
}

Hwnd WinGetParent(Hwnd h) {
  QWidget* w = WinWidget(h);
  if (!w) return 0;
  if (FormWin* f = FormOf(h)) {
    if (f->kind == WIN_TOPLEVEL_FORM || f->kind == WIN_MDI_FRAME)
      return (WinGetStyle(h) & WS_POPUP) && IsWindow(f->owner) ? f->owner : 0;
  }
  for (QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
    Hwnd ph = PropertyHandle(p);
    if (ph && ph != h && IsWindow(ph)) return ph;
  }
  return 0;
}
Hwnd WinGetOwner(Hwnd h) {
  FormWin* f = FormOf(h);
  return f && IsWindow(f->owner) ? f->owner : 0;
}

std::vector<Hwnd> WinChildWindows(Hwnd h) {
  std::vector<Hwnd> out;
  QWidget* w = WinWidget(h);
  if (!w) return out;
  std::set<Hwnd> seen{h};
  CollectChildren(w, h, out, seen);
  return out;
}
void WinEnumChildWindows(Hwnd h, WinEnumProc fn, LParam lParam) {
  if (!fn) return;
  for (Hwnd c : WinChildWindows(h))
    if (IsWindow(c) && !fn(c, lParam)) break;
}
Hwnd WinGetDlgItem(Hwnd parent, int id) {
  for (Hwnd c : WinChildWindows(parent))
    if (WinGetParent(c) == parent && WinGetDlgCtrlID(c) == id) return c;
  return 0;
}
int WinGetDlgCtrlID(Hwnd h) {
  WinInfo* i = WinInfoOf(h);
  return i ? i->id : 0;
}

// =================================================================================================================
// Showing, enabling, focus, activation
// =================================================================================================================
bool WinShowWindow(Hwnd h, int cmd) {
  QWidget* w = WinWidget(h);
  if (!w) return false;
  bool was = w->isVisible();
  FormWin* f = FormOf(h);
  if (f && cmd != SW_HIDE) KeepAboveOwner(*f);
  switch (cmd) {
    case SW_HIDE:
      w->hide();
      return was;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
      if (f) w->showMinimized();
      else w->show();
      break;
    case SW_SHOWMAXIMIZED:
      if (f) w->showMaximized();
      else w->show();
      break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
      if (f) w->showNormal();
      else w->show();
      break;
    default:
      w->show();
      break;
  }
  if (f) {
    LayoutForm(*f);
    if (cmd != SW_SHOWMINIMIZED && cmd != SW_MINIMIZE) WinSetActiveWindow(h);
  }
  return was;
}
bool WinIsWindowVisible(Hwnd h) {
  QWidget* w = WinWidget(h);
  return w && w->isVisible();
}
bool WinIsIconic(Hwnd h) {
  FormWin* f = FormOf(h);
  return f && f->outer && f->outer->isMinimized();
}
bool WinIsZoomed(Hwnd h) {
  FormWin* f = FormOf(h);
  return f && f->outer && f->outer->isMaximized();
}
bool WinEnableWindow(Hwnd h, bool enable) {
  QWidget* w = WinWidget(h);
  if (!w) return false;
  bool wasDisabled = !w->isEnabled();
  w->setEnabled(enable);
  return wasDisabled;
}
bool WinIsWindowEnabled(Hwnd h) {
  QWidget* w = WinWidget(h);
  return w && w->isEnabled();
}

Hwnd WinSetFocus(Hwnd h) {
  Hwnd before = WinGetFocus();
  QWidget* w = WinWidget(h);
  if (!w) return before;
  if (FormOf(h)) {
    if (!Destroying().count(h)) {
      QWidget* top = w->window();
      if (top->isVisible() && !top->isActiveWindow()) WinSetActiveWindow(h);
      WinSendMessage(h, WM_SETFOCUS, static_cast<WParam>(before), 0);
    }
    return before;
  }
  QWidget* top = w->window();
  if (top->isVisible() && !top->isActiveWindow()) {
    top->activateWindow();
    QApplication::setActiveWindow(top);
  }
  w->setFocus(Qt::OtherFocusReason);
  return before;
}
Hwnd WinGetFocus() { return WinHandleOfWidget(QApplication::focusWidget()); }
Hwnd WinGetActiveWindow() { return WinHandleOfWidget(QApplication::activeWindow()); }
Hwnd WinSetActiveWindow(Hwnd h) {
  Hwnd before = WinGetActiveWindow();
  QWidget* w = WinWidget(h);
  if (!w) return before;
  FormWin* f = FormOf(h);
  QWidget* top = w->window();
  QMdiSubWindow* sub = nullptr;   // the MDI child that is to be the active one
  if (f && f->kind == WIN_MDI_CHILD) {
    sub = qobject_cast<QMdiSubWindow*>(w);
    if (sub && sub->mdiArea())
      sub->mdiArea()->setActiveSubWindow(sub);
    else
      sub = nullptr;
  } else if (w == top && !top->isActiveWindow() && !top->focusWidget()) {
    if (auto* area = top->findChild<QMdiArea*>()) sub = area->activeSubWindow();
  }
  // The frame, made active next, gives the focus back to its focus widget; a frame that was disabled meanwhile (under a
  // modal form) has none, and would give it to the first child of the MDI area, which swaps the maximized child for
  // that one and back. The active child's own focus widget (or the child) is that widget.
  if (sub && !top->isActiveWindow()) {
    QWidget* fw = top->focusWidget();
    if (!fw || !sub->isAncestorOf(fw)) {
      QWidget* inner = sub->focusWidget();
      (inner && inner->isEnabled() && inner->isVisible() ? inner : static_cast<QWidget*>(sub))
          ->setFocus(Qt::ActiveWindowFocusReason);
    }
  }
  if (top->isVisible() && !top->isMinimized()) {
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) top->raise();
    top->activateWindow();
    if (!top->isActiveWindow()) QApplication::setActiveWindow(top);
  }
  return before;
}
void WinUpdateWindow(Hwnd h) {
  if (QWidget* w = WinWidget(h)) w->repaint();
}
void WinInvalidate(Hwnd h) {
  if (QWidget* w = WinWidget(h)) w->update();
}

// =================================================================================================================
// Positions and sizes
// =================================================================================================================
WinRect WinGetClientRect(Hwnd h) {
  WinRect r;
  QWidget* c = WinClientWidget(h);
  if (!c) return r;
  if (FormWin* f = FormOf(h); f && f->outer && f->outer->isMinimized()) return r;
  r.right = c->width();
  r.bottom = c->height();
  return r;
}
WinRect WinGetWindowRect(Hwnd h) {
  WinRect r;
  QWidget* w = WinWidget(h);
  if (!w) return r;
  QRect g = w->isWindow() ? w->frameGeometry() : w->geometry();
  r.left = g.x();
  r.top = g.y();
  r.right = g.x() + g.width();
  r.bottom = g.y() + g.height();
  return r;
}
void WinNonClientExtent(Hwnd h, int* dx, int* dy) {
  int x = 0, y = 0;
  QWidget* w = WinWidget(h);
  QWidget* c = WinClientWidget(h);
  if (w && c && w != c) {
    QRect outer = w->isWindow() ? w->frameGeometry() : w->geometry();
    x = outer.width() - c->width();
    y = outer.height() - c->height();
  }
  if (dx) *dx = x;
  if (dy) *dy = y;
}
bool WinSetWindowPos(Hwnd h, Hwnd, int x, int y, int cx, int cy, unsigned flags) {
  QWidget* w = WinWidget(h);
  if (!w) return false;
  cx = std::max(0, cx);
  cy = std::max(0, cy);
  FormWin* f = FormOf(h);
  if (!(flags & SWP_NOSIZE)) {
    if (w->isWindow()) {
      // The window size includes the frame the desktop draws around it.
      QSize extra = w->frameGeometry().size() - w->geometry().size();
      w->resize(std::max(0, cx - extra.width()), std::max(0, cy - extra.height()));
    } else {
      w->resize(cx, cy);
    }
  }
  if (!(flags & SWP_NOMOVE)) w->move(x, y);
  if (flags & SWP_SHOWWINDOW) WinShowWindow(h, SW_SHOW);
  if (flags & SWP_HIDEWINDOW) WinShowWindow(h, SW_HIDE);
  if (f && !(flags & SWP_NOSIZE)) {
    LayoutForm(*f);
    SendSize(h, false);
  }
  return true;
}
bool WinMoveWindow(Hwnd h, int x, int y, int cx, int cy, bool) {
  return WinSetWindowPos(h, 0, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
}
int WinScreenWidth() {
  QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->geometry().width() : 0;
}
int WinScreenHeight() {
  QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->geometry().height() : 0;
}

// =================================================================================================================
// Texts, class names, styles
// =================================================================================================================
void WinSetWindowText(Hwnd h, const std::string& text) {
  if (!IsWindow(h)) return;
  WinSendMessage(h, WM_SETTEXT, 0, reinterpret_cast<LParam>(text.c_str()));
}
std::string WinGetWindowText(Hwnd h) {
  QWidget* w = WinWidget(h);
  if (!w) return "";
  if (FormOf(h)) return U(w->windowTitle());
  LResult n = WinSendMessage(h, WM_GETTEXTLENGTH, 0, 0);
  if (n <= 0) return WidgetText(w);
  std::string buf(static_cast<size_t>(n) + 1, '\0');
  LResult got = WinSendMessage(h, WM_GETTEXT, buf.size(), reinterpret_cast<LParam>(buf.data()));
  buf.resize(static_cast<size_t>(std::max<LResult>(0, std::min<LResult>(got, n))));
  return buf;
}
std::string WinGetClassName(Hwnd h) {
  WinInfo* i = WinInfoOf(h);
  return i ? i->className : std::string();
}
std::uint32_t WinGetStyle(Hwnd h) {
  WinInfo* i = WinInfoOf(h);
  if (!i) return 0;
  std::uint32_t s = i->style;
  QWidget* w = WinWidget(h);
  if (w && !w->isWindow()) s |= WS_CHILD;
  if (w && w->isVisible()) s |= WS_VISIBLE;
  if (w && !w->isEnabled()) s |= WS_DISABLED;
  else s &= ~WS_DISABLED;
  if (FormWin* f = FormOf(h); f && f->kind == WIN_TOPLEVEL_FORM) s &= ~WS_CHILD;
  return s;
}
std::uint32_t WinGetExStyle(Hwnd h) {
  WinInfo* i = WinInfoOf(h);
  if (!i) return 0;
  std::uint32_t s = i->exStyle;
  if (FormWin* f = FormOf(h); f && f->kind == WIN_MDI_CHILD) s |= WS_EX_MDICHILD;
  return s;
}
void WinSetStyle(Hwnd h, std::uint32_t style) {
  WinInfo* i = WinInfoOf(h);
  if (!i) return;
  const std::uint32_t before = i->style;
  i->style = style;
  FormWin* f = FormOf(h);
  if (!f || f->kind != WIN_TOPLEVEL_FORM || ((before ^ style) & kFrameStyles) == 0) return;
  // A top-level form takes the frame of its new styles at once; what lies inside the frame stays where it is.
  auto* top = dynamic_cast<TopLevelWindow*>(f->outer.data());
  if (!top) return;
  const bool shown = top->isVisible();
  const int was = top->border();
  const QRect inside = top->geometry().adjusted(was, was, -was, -was);
  top->SetFrame(style);
  const int b = top->border();
  top->setGeometry(inside.adjusted(-b, -b, b, b));
  LayoutTopLevel(*f);
  if (shown && !top->isVisible()) {
    KeepAboveOwner(*f);
    top->show();
  }
}
void WinSetExStyle(Hwnd h, std::uint32_t exStyle) {
  if (WinInfo* i = WinInfoOf(h)) i->exStyle = exStyle;
}

// =================================================================================================================
// Colours
// =================================================================================================================
QColor WinSysColor(int index) {
  QPalette p = QApplication::palette();
  switch (index) {
    case 0: return p.color(QPalette::Mid);                              // COLOR_SCROLLBAR
    case 1: return p.color(QPalette::Dark);                             // COLOR_BACKGROUND
    case 2: return p.color(QPalette::Highlight);                        // COLOR_ACTIVECAPTION
    case 4: return p.color(QPalette::Window);                           // COLOR_MENU
    case COLOR_WINDOW: return p.color(QPalette::Base);
    case 6: return p.color(QPalette::Shadow);                           // COLOR_WINDOWFRAME
    case 7: return p.color(QPalette::WindowText);                       // COLOR_MENUTEXT
    case COLOR_WINDOWTEXT: return p.color(QPalette::Text);
    case 9: return p.color(QPalette::HighlightedText);                  // COLOR_CAPTIONTEXT
    case 12: return p.color(QPalette::Dark);                            // COLOR_APPWORKSPACE
    case COLOR_HIGHLIGHT: return p.color(QPalette::Highlight);
    case 14: return p.color(QPalette::HighlightedText);                 // COLOR_HIGHLIGHTTEXT
    case COLOR_BTNFACE: return p.color(QPalette::Button);
    case 16: return p.color(QPalette::Mid);                             // COLOR_BTNSHADOW
    case COLOR_GRAYTEXT: return p.color(QPalette::Disabled, QPalette::Text);
    case COLOR_BTNTEXT: return p.color(QPalette::ButtonText);
    case 20: return p.color(QPalette::Light);                           // COLOR_BTNHIGHLIGHT
    case 21: return p.color(QPalette::Shadow);                          // COLOR_3DDKSHADOW
    case 22: return p.color(QPalette::Midlight);                        // COLOR_3DLIGHT
    case 23: return p.color(QPalette::ToolTipText);                     // COLOR_INFOTEXT
    case COLOR_INFOBK: return p.color(QPalette::ToolTipBase);
    default: return p.color(QPalette::Button);
  }
}
unsigned WinRgb(int r, int g, int b) {
  return static_cast<unsigned>(r & 0xFF) | (static_cast<unsigned>(g & 0xFF) << 8) |
         (static_cast<unsigned>(b & 0xFF) << 16);
}
unsigned WinGetSysColor(int index) {
  QColor c = WinSysColor(index);
  return WinRgb(c.red(), c.green(), c.blue());
}
QColor WinColorFromRgb(unsigned rgb) { return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF); }
std::intptr_t WinCreateSolidBrush(unsigned rgb) { return static_cast<std::intptr_t>(rgb & 0xFFFFFFu) + 1; }
std::intptr_t WinGetSysColorBrush(int index) { return WinCreateSolidBrush(WinGetSysColor(index)); }
void WinDeleteBrush(std::intptr_t) {}
unsigned WinBrushColor(std::intptr_t brush) { return brush > 0 ? static_cast<unsigned>(brush - 1) : 0; }

// =================================================================================================================
// Timers
// =================================================================================================================
unsigned WinSetTimer(Hwnd h, unsigned id, unsigned milliseconds, WinTimerProc proc) {
  if (h != 0 && !IsWindow(h)) return 0;
  if (h == 0) {
    if (id == 0 || !Timers().count({0, id})) id = ++gNextThreadTimer;
  }
  if (h != 0 && id == 0) return 0;
  auto key = std::make_pair(h, id);
  auto& rec = Timers()[key];
  if (!rec) {
    rec = std::make_unique<TimerRec>();
    rec->h = h;
    rec->id = id;
    rec->timer = new QTimer;
    QObject::connect(rec->timer, &QTimer::timeout, rec->timer, [h, id]() { TimerTick(h, id); });
    rec->since.start();
  }
  rec->proc = proc;
  rec->timer->start(static_cast<int>(milliseconds));
  return id;
}
bool WinKillTimer(Hwnd h, unsigned id) {
  auto it = Timers().find({h, id});
  if (it == Timers().end()) return false;
  it->second->timer->stop();
  it->second->timer->deleteLater();
  Timers().erase(it);
  return true;
}
bool WinFireTimer(Hwnd h, unsigned id) {
  if (!Timers().count({h, id})) return false;
  TimerTick(h, id);
  return true;
}

// =================================================================================================================
// Keys
// =================================================================================================================
int WinVirtualKey(int qtKey) { return VkFromQtKey(qtKey); }
bool WinShiftDown() { return (QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier) != 0; }
short WinGetAsyncKeyState(int vk) {
  Qt::KeyboardModifiers m = QGuiApplication::queryKeyboardModifiers();
  bool down = (vk == VK_SHIFT && (m & Qt::ShiftModifier)) || (vk == VK_CONTROL && (m & Qt::ControlModifier)) ||
              (vk == 0x12 && (m & Qt::AltModifier));
  return down ? static_cast<short>(0x8000) : 0;
}

// =================================================================================================================
// Menus
// =================================================================================================================
HMenu WinCreateMenu() {
  HMenu h = ++gNextMenu;
  auto m = std::make_unique<MenuRec>();
  m->bar = true;
  Menus()[h] = std::move(m);
  return h;
}
HMenu WinCreatePopupMenu() {
  HMenu h = ++gNextMenu;
  Menus()[h] = std::make_unique<MenuRec>();
  return h;
}
bool WinAppendMenu(HMenu menu, unsigned flags, std::uintptr_t idOrPopup, const std::string& text) {
  MenuRec* m = MenuOf(menu);
  if (!m) return false;
  MenuItem it;
  it.flags = flags;
  it.text = text;
  if (flags & MF_POPUP) {
    MenuRec* sub = MenuOf(static_cast<HMenu>(idOrPopup));
    if (!sub) return false;
    sub->parent = menu;
    it.popup = static_cast<HMenu>(idOrPopup);
  } else if (!(flags & MF_SEPARATOR)) {
    it.id = static_cast<unsigned>(idOrPopup & 0xFFFF);
  }
  m->items.push_back(std::move(it));
  return true;
}
bool WinSetMenu(Hwnd form, HMenu menu) {
  FormWin* f = FormOf(form);
  if (!f || !(f->kind == WIN_TOPLEVEL_FORM || f->kind == WIN_MDI_FRAME)) return false;
  if (menu && !MenuOf(menu)) return false;
  f->menu = menu;
  WinDrawMenuBar(form);
  return true;
}
HMenu WinGetMenu(Hwnd form) {
  FormWin* f = FormOf(form);
  return f ? f->menu : 0;
}
HMenu WinGetSubMenu(HMenu menu, int position) {
  MenuRec* m = MenuOf(menu);
  if (!m || position < 0 || position >= static_cast<int>(m->items.size())) return 0;
  return m->items[static_cast<size_t>(position)].popup;
}
void WinDrawMenuBar(Hwnd form) {
  FormWin* f = FormOf(form);
  if (!f) return;
  // A new bar replaces the old one (the old one may be showing a menu right now: it goes later).
  if (f->menuBar) {
    f->menuBar->hide();
    f->menuBar->deleteLater();
    f->menuBar = nullptr;
  }
  if (f->menu) {
    QMenuBar* bar = nullptr;
    if (f->kind == WIN_MDI_FRAME) {
      bar = new QMenuBar;
      static_cast<QMainWindow*>(f->outer.data())->setMenuBar(bar);
    } else {
      bar = new QMenuBar(f->outer);
      bar->show();
    }
    f->menuBar = bar;
    BuildMenu(bar, f->menu, form);
  } else if (f->kind == WIN_MDI_FRAME) {
    static_cast<QMainWindow*>(f->outer.data())->setMenuBar(nullptr);
  }
  LayoutForm(*f);
  SendSize(form, false);
}
int WinCheckMenuItem(HMenu menu, unsigned idOrPos, unsigned flags) {
  MenuItem* it = FindItem(menu, idOrPos, flags);
  if (!it) return -1;
  int old = (it->flags & MF_CHECKED) ? MF_CHECKED : MF_UNCHECKED;
  it->flags = (it->flags & ~MF_CHECKED) | (flags & MF_CHECKED);
  ApplyItemState(*it);
  return old;
}
int WinEnableMenuItem(HMenu menu, unsigned idOrPos, unsigned flags) {
  MenuItem* it = FindItem(menu, idOrPos, flags);
  if (!it) return -1;
  int old = static_cast<int>(it->flags & (MF_GRAYED | MF_DISABLED));
  it->flags = (it->flags & ~(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
  ApplyItemState(*it);
  return old;
}
unsigned WinGetMenuState(HMenu menu, unsigned idOrPos, unsigned flags) {
  MenuItem* it = FindItem(menu, idOrPos, flags);
  return it ? it->flags : 0xFFFFFFFFu;
}
int WinGetMenuItemCount(HMenu menu) {
  MenuRec* m = MenuOf(menu);
  return m ? static_cast<int>(m->items.size()) : -1;
}
std::string WinGetMenuString(HMenu menu, unsigned idOrPos, unsigned flags) {
  MenuItem* it = FindItem(menu, idOrPos, flags);
  return it ? it->text : std::string();
}
bool WinDestroyMenu(HMenu menu) {
  MenuRec* m = MenuOf(menu);
  if (!m) return false;
  for (auto& [h, f] : Forms())
    if (f.menu == menu) WinSetMenu(h, 0);
  std::vector<HMenu> subs;
  for (MenuItem& it : m->items)
    if (it.popup) subs.push_back(it.popup);
  Menus().erase(menu);
  for (HMenu s : subs) WinDestroyMenu(s);
  return true;
}
int WinTrackPopupMenu(HMenu menu, unsigned flags, int x, int y, Hwnd owner) {
  if (!MenuOf(menu)) return 0;
  QMenu popup;
  BuildMenu(&popup, menu, 0);   // commands are sent below, not by the actions
  QAction* chosen = popup.exec(QPoint(x, y));
  if (!chosen || !chosen->data().isValid()) return 0;
  unsigned id = chosen->data().toUInt();
  if (flags & TPM_RETURNCMD) return static_cast<int>(id);
  if (IsWindow(owner)) WinPostMessage(owner, WM_COMMAND, MAKEWPARAM(id, 0), 0);
  return 1;
}
QAction* WinMenuAction(Hwnd form, unsigned id) {
  FormWin* f = FormOf(form);
  if (!f || !f->menu) return nullptr;
  MenuItem* it = FindItem(f->menu, id, MF_BYCOMMAND);
  return it ? it->action.data() : nullptr;
}

// =================================================================================================================
// Keyboard accelerators
// =================================================================================================================
std::intptr_t WinCreateAcceleratorTable(const WinAccel* entries, int count) {
  if (!entries || count <= 0) return 0;
  std::intptr_t h = ++gNextAccel;
  Accels()[h] = std::vector<WinAccel>(entries, entries + count);
  return h;
}
bool WinDestroyAcceleratorTable(std::intptr_t table) { return Accels().erase(table) != 0; }
bool WinTranslateAccelerator(Hwnd form, std::intptr_t table, int vk, bool shift, bool ctrl, bool alt) {
  auto it = Accels().find(table);
  if (it == Accels().end() || !IsWindow(form) || vk == 0) return false;
  for (const WinAccel& a : it->second) {
    if (a.key != vk) continue;
    if (((a.fVirt & FSHIFT) != 0) != shift || ((a.fVirt & FCONTROL) != 0) != ctrl || ((a.fVirt & FALT) != 0) != alt)
      continue;
    WinSendMessage(form, WM_COMMAND, MAKEWPARAM(a.cmd, 1), 0);
    return true;
  }
  return false;
}
