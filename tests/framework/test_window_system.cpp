// The window system under the forms: creation by class, messages and their default handling, destruction order,
// menus, accelerators, timers, posted and quit messages, the MDI frame.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QTest>
#include <QWindow>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/window_system.h"

namespace {

struct Msg {
  Hwnd h;
  unsigned msg;
  WParam wp;
  LParam lp;
};
std::vector<Msg> gLog;
std::function<bool(Hwnd, unsigned, WParam, LParam, LResult*)> gHandler;

LResult Proc(Hwnd h, unsigned msg, WParam wp, LParam lp) {
  gLog.push_back({h, msg, wp, lp});
  LResult r = 0;
  if (gHandler && gHandler(h, msg, wp, lp, &r)) return r;
  return WinDefWindowProc(h, msg, wp, lp);
}
const Msg* Last(Hwnd h, unsigned msg) {
  for (auto it = gLog.rbegin(); it != gLog.rend(); ++it)
    if (it->h == h && it->msg == msg) return &*it;
  return nullptr;
}
int Count(Hwnd h, unsigned msg) {
  int n = 0;
  for (const Msg& m : gLog) n += (m.h == h && m.msg == msg);
  return n;
}

class WindowSystem : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WinRegisterClass("FORM_WS_TOP", Proc);
    WinRegisterClass("FORM_WS_FRAME", Proc, CS_HREDRAW | CS_VREDRAW | CS_FIN_MDIFRAME);
    WinRegisterClass("FORM_WS_CHILD", Proc);
  }
  void SetUp() override {
    gLog.clear();
    gHandler = nullptr;
  }
  void TearDown() override {
    gHandler = nullptr;
    for (Hwnd h : made)
      if (IsWindow(h)) WinDestroyWindow(h);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  Hwnd Top(const std::string& caption = "Top", Hwnd owner = 0, std::intptr_t data = 0) {
    Hwnd h = WinCreateWindow(WS_EX_CONTROLPARENT, "FORM_WS_TOP", caption, WS_OVERLAPPEDWINDOW, 10, 20, 300, 200,
                             owner, 0, data);
    made.push_back(h);
    return h;
  }
  std::vector<Hwnd> made;
};

TEST_F(WindowSystem, ClassesRegisterOnce) {
  EXPECT_TRUE(WinClassExists("FORM_WS_TOP"));
  EXPECT_FALSE(WinRegisterClass("FORM_WS_TOP", Proc));
  EXPECT_FALSE(WinRegisterClass("", Proc));
  EXPECT_FALSE(WinRegisterClass("FORM_WS_NOPROC", nullptr));
  EXPECT_FALSE(WinClassExists("FORM_WS_NOPROC"));
}

TEST_F(WindowSystem, CreationSendsCreateWithTheDataThenSize) {
  std::intptr_t seen = 0;
  gHandler = [&](Hwnd, unsigned msg, WParam, LParam lp, LResult*) {
    if (msg == WM_CREATE) seen = reinterpret_cast<const WinCreateStruct*>(lp)->createParams;
    return false;
  };
  Hwnd h = Top("Judul", 0, 4242);
  ASSERT_TRUE(IsWindow(h));
  EXPECT_EQ(seen, 4242);
  ASSERT_GE(gLog.size(), 2u);
  EXPECT_EQ(gLog[0].msg, WM_CREATE);
  const Msg* size = Last(h, WM_SIZE);
  ASSERT_NE(size, nullptr);
  EXPECT_EQ(size->wp, static_cast<WParam>(SIZE_RESTORED));
  EXPECT_EQ(size->lp, MAKELPARAM(300, 200));
  EXPECT_EQ(WinGetWindowText(h), "Judul");
  WinSetWindowText(h, "Baru");
  EXPECT_EQ(WinGetWindowText(h), "Baru");
  EXPECT_EQ(WinGetClassName(h), "FORM_WS_TOP");
  EXPECT_EQ(WinKindOf(h), WIN_TOPLEVEL_FORM);
  EXPECT_FALSE(WinGetStyle(h) & WS_CHILD);
  EXPECT_FALSE(WinIsWindowVisible(h));
}

TEST_F(WindowSystem, CreateAnswerMinusOneFailsTheCreation) {
  gHandler = [&](Hwnd, unsigned msg, WParam, LParam, LResult* r) {
    if (msg != WM_CREATE) return false;
    *r = -1;
    return true;
  };
  Hwnd h = Top();
  EXPECT_EQ(h, 0);
  EXPECT_EQ(Count(gLog.empty() ? 0 : gLog[0].h, WM_DESTROY), 1);
}

TEST_F(WindowSystem, ControlsLiveInTheFormAndReportToIt) {
  Hwnd form = Top();
  Hwnd edit = WinCreateWindow(WS_EX_CLIENTEDGE, "Edit", "teks", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 5, 6, 100, 20,
                              form, 77, 0);
  ASSERT_TRUE(IsWindow(edit));
  EXPECT_EQ(WinWidget(edit)->parentWidget(), WinClientWidget(form));
  EXPECT_EQ(WinGetParent(edit), form);
  EXPECT_EQ(WinGetDlgItem(form, 77), edit);
  EXPECT_EQ(WinGetDlgCtrlID(edit), 77);
  EXPECT_TRUE(WinGetStyle(edit) & WS_CHILD);
  EXPECT_EQ(WinGetWindowText(edit), "teks");
  WinRect r = WinGetWindowRect(edit);
  EXPECT_EQ(r.left, 5);
  EXPECT_EQ(r.top, 6);
  EXPECT_EQ(r.width(), 100);
  EXPECT_EQ(WinChildWindows(form), std::vector<Hwnd>{edit});
  EXPECT_EQ(WinCreateWindow(0, "NoSuchClass", "", WS_CHILD, 0, 0, 1, 1, form, 1, 0), 0);
}

TEST_F(WindowSystem, DestroySendsDestroyParentFirstThenHandlesAreGone) {
  Hwnd form = Top();
  Hwnd owned = Top("Owned", form);
  EXPECT_EQ(WinGetOwner(owned), form);
  auto* e = new QLineEdit(WinClientWidget(form));
  Hwnd edit = WinHandle(e);
  WinSetWindowProc(edit, Proc);
  gLog.clear();
  EXPECT_TRUE(WinDestroyWindow(form));
  std::vector<Hwnd> order;
  for (const Msg& m : gLog)
    if (m.msg == WM_DESTROY) order.push_back(m.h);
  EXPECT_EQ(order, (std::vector<Hwnd>{owned, form, edit}));
  for (Hwnd h : {form, owned, edit}) EXPECT_FALSE(IsWindow(h));
  EXPECT_FALSE(WinDestroyWindow(form));
}

TEST_F(WindowSystem, CloseEventAsksTheFormWhichMayRefuse) {
  Hwnd form = Top();
  WinShowWindow(form, SW_SHOW);
  gHandler = [&](Hwnd, unsigned msg, WParam, LParam, LResult* r) {
    if (msg != WM_CLOSE) return false;
    *r = 0;   // refused: not passed to the default handling
    return true;
  };
  WinWidget(form)->close();
  EXPECT_TRUE(IsWindow(form));
  EXPECT_EQ(Count(form, WM_CLOSE), 1);
  gHandler = nullptr;
  WinWidget(form)->close();
  EXPECT_FALSE(IsWindow(form));
}

TEST_F(WindowSystem, ActivationIsReported) {
  Hwnd a = Top("A"), b = Top("B");
  WinShowWindow(a, SW_SHOW);
  WinShowWindow(b, SW_SHOW);
  QCoreApplication::processEvents();
  gLog.clear();
  QApplication::setActiveWindow(WinWidget(a));
  const Msg* act = Last(a, WM_ACTIVATE);
  ASSERT_NE(act, nullptr);
  EXPECT_EQ(act->wp, static_cast<WParam>(WA_ACTIVE));
  EXPECT_NE(Last(a, WM_SETFOCUS), nullptr);
  const Msg* deact = Last(b, WM_ACTIVATE);
  ASSERT_NE(deact, nullptr);
  EXPECT_EQ(deact->wp, static_cast<WParam>(WA_INACTIVE));
  EXPECT_EQ(WinGetActiveWindow(), a);
}

TEST_F(WindowSystem, FrameMenuCommandsAndStates) {
  Hwnd frame = WinCreateWindow(0, "FORM_WS_FRAME", "Kelvora", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, 0, 0, 0);
  made.push_back(frame);
  ASSERT_EQ(WinKindOf(frame), WIN_MDI_FRAME);
  HMenu bar = WinCreateMenu();
  HMenu file = WinCreatePopupMenu();
  HMenu month = WinCreatePopupMenu();
  EXPECT_TRUE(WinAppendMenu(file, MF_STRING, 6001, "Rubah Password"));
  EXPECT_TRUE(WinAppendMenu(file, MF_SEPARATOR, 0, ""));
  EXPECT_TRUE(WinAppendMenu(file, MF_STRING | MF_GRAYED, 6002, "BackUp"));
  EXPECT_TRUE(WinAppendMenu(month, MF_STRING | MF_CHECKED, 6025, "Juli"));
  EXPECT_TRUE(WinAppendMenu(file, MF_POPUP, static_cast<std::uintptr_t>(month), "Bulan"));
  EXPECT_TRUE(WinAppendMenu(bar, MF_POPUP, static_cast<std::uintptr_t>(file), "File"));
  EXPECT_TRUE(WinSetMenu(frame, bar));
  EXPECT_EQ(WinGetMenu(frame), bar);
  EXPECT_EQ(WinGetMenuItemCount(file), 4);
  EXPECT_EQ(WinGetSubMenu(bar, 0), file);
  EXPECT_NE(static_cast<QMainWindow*>(WinWidget(frame))->menuBar(), nullptr);

  QAction* a = WinMenuAction(frame, 6001);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->text(), "Rubah Password");
  a->trigger();
  const Msg* cmd = Last(frame, WM_COMMAND);
  ASSERT_NE(cmd, nullptr);
  EXPECT_EQ(cmd->wp, MAKEWPARAM(6001, 0));
  EXPECT_EQ(cmd->lp, 0);

  EXPECT_FALSE(WinMenuAction(frame, 6002)->isEnabled());
  EXPECT_TRUE(WinMenuAction(frame, 6025)->isChecked());
  EXPECT_EQ(WinCheckMenuItem(bar, 6025, MF_UNCHECKED), static_cast<int>(MF_CHECKED));
  EXPECT_FALSE(WinMenuAction(frame, 6025)->isChecked());
  EXPECT_EQ(WinEnableMenuItem(bar, 6002, MF_ENABLED), static_cast<int>(MF_GRAYED));
  EXPECT_TRUE(WinMenuAction(frame, 6002)->isEnabled());
  EXPECT_EQ(WinGetMenuString(bar, 6025, MF_BYCOMMAND), "Juli");
  EXPECT_EQ(WinCheckMenuItem(bar, 9999, MF_CHECKED), -1);
  EXPECT_TRUE(WinDestroyMenu(bar));
  EXPECT_EQ(WinGetMenu(frame), 0);
  EXPECT_EQ(WinGetMenuItemCount(month), -1);
}

TEST_F(WindowSystem, TopLevelMenuBarSitsAboveTheClientArea) {
  Hwnd form = Top();
  HMenu bar = WinCreateMenu();
  HMenu pop = WinCreatePopupMenu();
  WinAppendMenu(pop, MF_STRING, 6001, "Setting Struk\tF8");
  WinAppendMenu(bar, MF_POPUP, static_cast<std::uintptr_t>(pop), "Fungsi Aksi");
  WinSetMenu(form, bar);
  int dx = 0, dy = 0;
  WinNonClientExtent(form, &dx, &dy);
  EXPECT_GT(dy, 0);
  EXPECT_EQ(WinGetClientRect(form).bottom, 200 - dy);
  EXPECT_EQ(WinClientWidget(form)->y(), dy);
}

TEST_F(WindowSystem, AcceleratorTableTranslatesMatchingKeys) {
  Hwnd form = Top();
  WinAccel table[] = {{FVIRTKEY, VK_F9, 6002}, {FVIRTKEY | FSHIFT, VK_F1, 6005}};
  std::intptr_t acc = WinCreateAcceleratorTable(table, 2);
  EXPECT_TRUE(WinTranslateAccelerator(form, acc, VK_F9, false, false, false));
  EXPECT_EQ(Last(form, WM_COMMAND)->wp, MAKEWPARAM(6002, 1));
  EXPECT_FALSE(WinTranslateAccelerator(form, acc, VK_F1, false, false, false));
  EXPECT_TRUE(WinTranslateAccelerator(form, acc, VK_F1, true, false, false));
  EXPECT_TRUE(WinDestroyAcceleratorTable(acc));
  EXPECT_FALSE(WinTranslateAccelerator(form, acc, VK_F9, false, false, false));
}

std::vector<std::pair<Hwnd, std::uintptr_t>> gTicks;
void OnTick(Hwnd h, unsigned msg, std::uintptr_t id, std::uint32_t) {
  EXPECT_EQ(msg, WM_TIMER);
  gTicks.emplace_back(h, id);
}

TEST_F(WindowSystem, TimersTickAsMessagesOrCallbacksAndEndWithTheirWindow) {
  gTicks.clear();
  Hwnd form = Top();
  EXPECT_EQ(WinSetTimer(form, 7, 500, nullptr), 7u);
  EXPECT_TRUE(WinFireTimer(form, 7));
  EXPECT_EQ(Last(form, WM_TIMER)->wp, 7u);
  unsigned thread = WinSetTimer(0, 0, 200, OnTick);
  EXPECT_NE(thread, 0u);
  EXPECT_TRUE(WinFireTimer(0, thread));
  ASSERT_EQ(gTicks.size(), 1u);
  EXPECT_EQ(gTicks[0], std::make_pair(Hwnd(0), std::uintptr_t(thread)));
  EXPECT_TRUE(WinKillTimer(0, thread));
  EXPECT_FALSE(WinFireTimer(0, thread));
  WinDestroyWindow(form);
  EXPECT_FALSE(WinFireTimer(form, 7));
  EXPECT_EQ(WinSetTimer(form, 8, 10, nullptr), 0u);
}

TEST_F(WindowSystem, PostedMessagesArriveLaterIfTheWindowLives) {
  Hwnd a = Top(), b = Top();
  EXPECT_TRUE(WinPostMessage(a, WM_USER + 5, 1, 2));
  EXPECT_TRUE(WinPostMessage(b, WM_USER + 5, 3, 4));
  WinDestroyWindow(b);
  EXPECT_EQ(Count(a, WM_USER + 5), 0);
  QCoreApplication::processEvents();
  EXPECT_EQ(Count(a, WM_USER + 5), 1);
  EXPECT_EQ(Count(b, WM_USER + 5), 0);
}

TEST_F(WindowSystem, QuitEndsTheInnermostLoopOnly) {
  Hwnd outer = Top(), inner = Top();
  bool innerEndedByQuit = false;
  QMetaObject::invokeMethod(
      qApp, [&]() {
        QMetaObject::invokeMethod(
            qApp, [&]() { WinPostQuitMessage(5); }, Qt::QueuedConnection);
        innerEndedByQuit = WinRunLoopWhileWindow(inner);
        EXPECT_TRUE(IsWindow(inner));
        WinDestroyWindow(outer);   // ends the outer loop
      },
      Qt::QueuedConnection);
  EXPECT_FALSE(WinRunLoopWhileWindow(outer));
  EXPECT_TRUE(innerEndedByQuit);
  EXPECT_EQ(WinQuitCode(), 5);
}

TEST_F(WindowSystem, MdiChildrenInTheFrameClient) {
  Hwnd frame = WinCreateWindow(0, "FORM_WS_FRAME", "Kelvora", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, 0, 0, 0);
  made.push_back(frame);
  Hwnd client = WinCreateWindow(0, "MDICLIENT", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, frame,
                                1000, 0);
  ASSERT_NE(WinMdiArea(client), nullptr);
  EXPECT_EQ(WinGetParent(client), frame);
  WinShowWindow(frame, SW_SHOWMAXIMIZED);
  // The frame's default size handling fills its client area with the MDI client.
  WinSendMessage(frame, WM_SIZE, SIZE_RESTORED, 0);
  EXPECT_EQ(WinGetWindowRect(client).width(), WinGetClientRect(frame).right);
  Hwnd child = WinCreateWindow(WS_EX_MDICHILD, "FORM_WS_TOP", "Data Siswa", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                               client, 55, 0);
  ASSERT_EQ(WinKindOf(child), WIN_MDI_CHILD);
  EXPECT_EQ(WinGetDlgCtrlID(child), 55);
  EXPECT_EQ(WinGetParent(child), client);
  EXPECT_EQ(WinGetClientRect(child).right, WinClientWidget(child)->width());
  WinShowWindow(child, SW_SHOWMAXIMIZED);
  QCoreApplication::processEvents();
  EXPECT_TRUE(WinIsZoomed(child));
  EXPECT_EQ(WinMdiActiveChild(client), child);
  const Msg* size = Last(child, WM_SIZE);
  ASSERT_NE(size, nullptr);
  EXPECT_EQ(size->wp, static_cast<WParam>(SIZE_MAXIMIZED));
  EXPECT_EQ(Last(child, WM_ACTIVATE)->wp, static_cast<WParam>(WA_ACTIVE));
  // The sub-window's close button asks the form.
  WinWidget(child)->close();
  EXPECT_FALSE(IsWindow(child));
  // The frame takes its MDI children with it.
  Hwnd second = WinCreateWindow(WS_EX_MDICHILD, "FORM_WS_TOP", "Two", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, client, 56,
                                0);
  gLog.clear();
  WinDestroyWindow(frame);
  EXPECT_EQ(Count(second, WM_DESTROY), 1);
  EXPECT_FALSE(IsWindow(second));
  EXPECT_FALSE(IsWindow(client));
}

TEST_F(WindowSystem, EnableShowAndFocus) {
  Hwnd form = Top();
  auto* e = new QLineEdit(WinClientWidget(form));
  Hwnd edit = WinHandle(e);
  EXPECT_FALSE(WinEnableWindow(form, false));
  EXPECT_FALSE(WinIsWindowEnabled(form));
  EXPECT_FALSE(WinIsWindowEnabled(edit));
  EXPECT_TRUE(WinEnableWindow(form, true));
  EXPECT_FALSE(WinShowWindow(form, SW_SHOWNORMAL));
  EXPECT_TRUE(WinIsWindowVisible(form));
  QCoreApplication::processEvents();
  WinSetFocus(edit);
  EXPECT_EQ(WinGetFocus(), edit);
  EXPECT_TRUE(WinShowWindow(form, SW_HIDE));
  EXPECT_FALSE(WinIsWindowVisible(form));
}

bool SameRect(const WinRect& r, int left, int top, int right, int bottom) {
  return r.left == left && r.top == top && r.right == right && r.bottom == bottom;
}
// The left button pressed at a point of the screen, the pointer moved to another and let go there.
void DragOnScreen(QWidget* window, QPoint from, QPoint to) {
  QWindow* w = window->windowHandle();
  QTest::mousePress(w, Qt::LeftButton, {}, from - window->geometry().topLeft());
  QTest::mouseMove(w, to - window->geometry().topLeft());
  QTest::mouseRelease(w, Qt::LeftButton, {}, to - window->geometry().topLeft());
  QCoreApplication::processEvents();
}

// A form whose styles give no caption gets no title bar from the desktop (an undecorated window, still a dialog of
// its owner). The sizing border its styles ask for is drawn around its client area, which keeps the size and place
// it was given, and a drag of that border resizes the window as the operator drags it.
TEST_F(WindowSystem, AFormWithoutCaptionHasASizingBorderOfItsOwn) {
  Hwnd owner = Top();
  Hwnd form = WinCreateWindow(WS_EX_CONTROLPARENT, "FORM_WS_TOP", "Form4", WS_POPUP | WS_THICKFRAME | WS_SYSMENU, 40,
                              50, 300, 200, owner, 0, 0);
  made.push_back(form);
  QWidget* window = WinWidget(form);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(window->windowType(), Qt::Dialog);
  EXPECT_FALSE(WinWidget(owner)->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(SameRect(WinGetClientRect(form), 0, 0, 300, 200));
  EXPECT_TRUE(SameRect(WinGetWindowRect(form), 36, 46, 344, 254));
  EXPECT_EQ(WinClientWidget(form)->mapToGlobal(QPoint(0, 0)), QPoint(40, 50));
  WinShowWindow(owner, SW_SHOWNORMAL);
  WinShowWindow(form, SW_SHOWNORMAL);
  QCoreApplication::processEvents();
  EXPECT_EQ(window->windowHandle()->transientParent(), WinWidget(owner)->windowHandle());

  // The bottom right corner, 40 to the right and 30 down.
  DragOnScreen(window, QPoint(342, 252), QPoint(382, 282));
  EXPECT_TRUE(SameRect(WinGetWindowRect(form), 36, 46, 384, 284));
  EXPECT_TRUE(SameRect(WinGetClientRect(form), 0, 0, 340, 230));
  ASSERT_NE(Last(form, WM_SIZE), nullptr);
  EXPECT_EQ(Last(form, WM_SIZE)->lp, MAKELPARAM(340, 230));
  // The left edge, 20 to the left: the window grows that way.
  DragOnScreen(window, QPoint(37, 150), QPoint(17, 150));
  EXPECT_TRUE(SameRect(WinGetWindowRect(form), 16, 46, 384, 284));
  EXPECT_EQ(Last(form, WM_SIZE)->lp, MAKELPARAM(360, 230));
  // Inside the border the client area has the mouse: a drag there resizes nothing.
  DragOnScreen(window, QPoint(45, 150), QPoint(25, 150));
  EXPECT_TRUE(SameRect(WinGetWindowRect(form), 16, 46, 384, 284));
}

// Styles changed later change the frame at once, as the window system redraws a window's frame for new styles: the
// caption taken away takes the desktop's title bar with it and leaves the border the styles give (a dialog frame,
// not for sizing); given back, the title bar is there again. The client area stays where it is, at its size.
TEST_F(WindowSystem, ChangedStylesChangeTheFrame) {
  Hwnd form = Top();
  WinShowWindow(form, SW_SHOWNORMAL);
  QCoreApplication::processEvents();
  QWidget* window = WinWidget(form);
  const QPoint client = WinClientWidget(form)->mapToGlobal(QPoint(0, 0));
  EXPECT_FALSE(window->windowFlags() & Qt::FramelessWindowHint);

  WinSetStyle(form, WS_POPUP | WS_DLGFRAME | WS_SYSMENU);
  QCoreApplication::processEvents();
  EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(WinIsWindowVisible(form));
  EXPECT_EQ(WinClientWidget(form)->mapToGlobal(QPoint(0, 0)), client);
  EXPECT_TRUE(SameRect(WinGetClientRect(form), 0, 0, 300, 200));
  const WinRect framed = WinGetWindowRect(form);
  EXPECT_TRUE(SameRect(framed, client.x() - 3, client.y() - 3, client.x() + 303, client.y() + 203));
  DragOnScreen(window, QPoint(framed.left + 1, client.y() + 100), QPoint(framed.left - 29, client.y() + 100));
  EXPECT_TRUE(SameRect(WinGetWindowRect(form), framed.left, framed.top, framed.right, framed.bottom));

  WinSetStyle(form, WS_POPUP | WS_CAPTION | WS_SYSMENU);
  QCoreApplication::processEvents();
  EXPECT_FALSE(window->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(WinIsWindowVisible(form));
  EXPECT_EQ(WinClientWidget(form)->mapToGlobal(QPoint(0, 0)), client);
  EXPECT_TRUE(SameRect(WinGetClientRect(form), 0, 0, 300, 200));
}

}  // namespace
