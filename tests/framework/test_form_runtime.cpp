// The form runtime: modal and modeless showing, owners, closing, Esc and Tab in the loop, resize rules, the control
// subclass behaviour and the clean-up on destruction.
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <map>
#include <vector>

#include <gtest/gtest.h>

#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/globals.h"
#include "framework/window_system.h"

namespace {

struct Msg {
  Hwnd h;
  unsigned msg;
  WParam wp;
  LParam lp;
};
std::vector<Msg> gLog;        // messages that reached the test forms
std::vector<Msg> gCtlLog;     // messages that reached the test controls' subclass procedure
std::function<bool(Hwnd, unsigned, WParam, LParam, LResult*)> gHandler;     // a test's own form handling
std::function<bool(Hwnd, unsigned, WParam, LParam, LResult*)> gCtlHandler;  // a test's own control handling
std::function<void(Hwnd)> gCreateControls;
std::map<std::string, FrmForm*> gByClass;

LResult TestWndProc(Hwnd h, unsigned msg, WParam wp, LParam lp) {
  gLog.push_back({h, msg, wp, lp});
  LResult r = 0;
  if (gHandler && gHandler(h, msg, wp, lp, &r)) return r;
  FrmForm* f = gByClass[WinGetClassName(h)];
  if (f && FrmFormMessage(*f, h, msg, wp, lp, &r)) return r;
  return WinDefWindowProc(h, msg, wp, lp);
}
LResult TestCtlProc(Hwnd h, unsigned msg, WParam wp, LParam lp) {
  gCtlLog.push_back({h, msg, wp, lp});
  LResult r = 0;
  if (gCtlHandler && gCtlHandler(h, msg, wp, lp, &r)) return r;
  return FrmControlMessage(h, msg, wp, lp);
}
void TestCreateControls(Hwnd form) {
  if (gCreateControls) gCreateControls(form);
}

Hwnd gTopWin = 0, gModalWin = 0, gInnerWin = 0, gFrameWin = 0, gMdiWin = 0;
int gMdiId = 1234;
FrmForm gTop = {.name = "TTOP", .wndProc = TestWndProc, .window = &gTopWin, .createControls = TestCreateControls,
                .caption = "Top", .style = WS_OVERLAPPEDWINDOW, .width = 300, .height = 200};
FrmForm gModal = {.name = "TMODAL", .wndProc = TestWndProc, .window = &gModalWin,
                  .createControls = TestCreateControls, .caption = "Modal", .style = WS_OVERLAPPEDWINDOW,
                  .width = 200, .height = 100};
FrmForm gInner = {.name = "TINNER", .wndProc = TestWndProc, .window = &gInnerWin,
                  .createControls = TestCreateControls, .caption = "Inner", .style = WS_OVERLAPPEDWINDOW,
                  .width = 150, .height = 80};
FrmForm gFrame = {.name = "TFRAME", .wndProc = TestWndProc, .window = &gFrameWin, .caption = "Frame",
                  .style = WS_OVERLAPPEDWINDOW, .width = 600, .height = 400, .kind = FRM_MDIFRAME};
FrmForm gMdi = {.name = "TMDI", .wndProc = TestWndProc, .window = &gMdiWin, .createControls = TestCreateControls,
                .caption = "List", .style = WS_OVERLAPPEDWINDOW | WS_CHILD, .width = 300, .height = 200,
                .x = 0, .y = 0, .kind = FRM_MDICHILD, .mdiId = &gMdiId};
// An MDI child without a Close command, as the welcome window.
Hwnd gFixedWin = 0;
FrmForm gFixed = {.name = "TFIXED", .wndProc = TestWndProc, .window = &gFixedWin, .caption = "Tetap",
                  .style = WS_CHILD, .width = 300, .height = 200, .x = 0, .y = 0, .kind = FRM_MDICHILD,
                  .mdiId = &gMdiId, .classStyle = CS_DBLCLKS | CS_NOCLOSE};

void ProcessEvents() {
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

void Activate(Hwnd form) {
  QWidget* w = WinWidget(form)->window();
  w->show();
  QApplication::setActiveWindow(w);
  QCoreApplication::processEvents();
}

// A widget of ours made a control of `form`: handle, id, record and the test subclass procedure.
Hwnd AddControl(Hwnd form, QWidget* w, int id, QRect r, const std::string& rule = "", int selectAll = 0) {
  w->setParent(WinClientWidget(form));
  w->setGeometry(r);
  w->show();
  Hwnd h = WinHandle(w);
  WinInfoOf(h)->id = id;
  WindowData* d = FrmInitControl(h, 1, 0, std::string(), 0, 0, 0, 0, 0, 0, -1, TestCtlProc, rule, 0);
  d->selectAllOnFocus = selectAll;
  return h;
}

int Count(const std::vector<Msg>& log, Hwnd h, unsigned msg) {
  int n = 0;
  for (const Msg& m : log)
    if (m.h == h && m.msg == msg) ++n;
  return n;
}
const Msg* Last(const std::vector<Msg>& log, Hwnd h, unsigned msg) {
  for (auto it = log.rbegin(); it != log.rend(); ++it)
    if (it->h == h && it->msg == msg) return &*it;
  return nullptr;
}

class FormRuntime : public ::testing::Test {
 protected:
  void SetUp() override {
    for (FrmForm* f : {&gTop, &gModal, &gInner, &gFrame, &gMdi, &gFixed}) gByClass[FrmClassName(*f)] = f;
    gLog.clear();
    gCtlLog.clear();
    gHandler = nullptr;
    gCtlHandler = nullptr;
    gCreateControls = nullptr;
    gFormResult = 0;
  }
  void TearDown() override {
    FrmSetModalHook({});
    gHandler = nullptr;
    gCtlHandler = nullptr;
    for (Hwnd* w : {&gInnerWin, &gModalWin, &gMdiWin, &gFixedWin, &gTopWin, &gFrameWin})
      if (IsWindow(*w)) WinDestroyWindow(*w);
    ProcessEvents();
    EXPECT_EQ(gTopWin, 0);
    EXPECT_EQ(gFrameWin, 0);
    gFormResult = 0;
  }
  // A frame with an MDI client (a QMdiArea of ours) filling it.
  Hwnd MakeFrame() {
    Hwnd frame = FrmCreateForm(gFrame, 0, 0);
    auto* area = new QMdiArea(WinClientWidget(frame));
    Hwnd client = WinHandle(area);
    WinInfoOf(client)->id = 1000;
    WinWatchWindow(client);
    WinShowWindow(frame, SW_SHOWMAXIMIZED);
    area->setGeometry(WinClientWidget(frame)->rect());
    area->show();
    mdiClient = client;
    return frame;
  }
  Hwnd mdiClient = 0;
};

// ---------------------------------------------------------------------------------------------------------------
TEST_F(FormRuntime, ModalFormDisablesOwnerAndReturnsResultOnce) {
  std::intptr_t top = FrmShowForm(gTop, 0, 0, 77);
  ASSERT_EQ(top, gTopWin);
  EXPECT_EQ(gFormResult, 77);   // the Show routine set it; a modeless show leaves it
  bool ownerDisabledDuringLoop = false;
  FrmSetModalHook([&](Hwnd form) {
    ASSERT_EQ(form, gModalWin);
    ownerDisabledDuringLoop = !WinIsWindowEnabled(gTopWin);
    EXPECT_EQ(FrmDataOf(form)->owner, gTopWin);
    EXPECT_EQ(FrmDataOf(form)->isModal, 1);
    FrmClose(form, 42);
  });
  std::intptr_t r = FrmShowForm(gModal, gTopWin, 1, 5);
  EXPECT_EQ(r, 42);
  EXPECT_EQ(gFormResult, 0);
  EXPECT_TRUE(ownerDisabledDuringLoop);
  EXPECT_TRUE(WinIsWindowEnabled(gTopWin));
  EXPECT_EQ(gModalWin, 0);
}

TEST_F(FormRuntime, NestedModalFormsEachDisableTheirOwner) {
  FrmShowForm(gTop, 0, 0, 0);
  std::vector<std::string> steps;
  std::intptr_t innerResult = -1;
  FrmSetModalHook([&](Hwnd form) {
    if (form == gModalWin) {
      steps.push_back("outer");
      EXPECT_FALSE(WinIsWindowEnabled(gTopWin));
      innerResult = FrmShowForm(gInner, gModalWin, 1, 0);
      EXPECT_TRUE(WinIsWindowEnabled(gModalWin));   // given back when the inner form closed
      EXPECT_FALSE(WinIsWindowEnabled(gTopWin));    // still held by the outer form
      FrmClose(gModalWin, 9);
    } else if (form == gInnerWin) {
      steps.push_back("inner");
      EXPECT_FALSE(WinIsWindowEnabled(gModalWin));
      EXPECT_FALSE(WinIsWindowEnabled(gTopWin));
      EXPECT_EQ(FrmDataOf(form)->owner, gModalWin);
      FrmClose(form, 7);
    }
  });
  std::intptr_t r = FrmShowForm(gModal, gTopWin, 1, 0);
  EXPECT_EQ(innerResult, 7);
  EXPECT_EQ(r, 9);
  EXPECT_EQ(gFormResult, 0);
  EXPECT_EQ(steps, (std::vector<std::string>{"outer", "inner"}));
  EXPECT_TRUE(WinIsWindowEnabled(gTopWin));
}

TEST_F(FormRuntime, ClosingThroughTheWindowGivesTheShowParameterBack) {
  FrmShowForm(gTop, 0, 0, 0);
  Hwnd modal = 0;
  FrmSetModalHook([&](Hwnd form) {
    modal = form;
    EXPECT_FALSE(WinIsWindowEnabled(gTopWin));
    WinWidget(form)->close();   // the close box: WM_CLOSE, owner given back, form destroyed
  });
  std::intptr_t r = FrmShowForm(gModal, gTopWin, 1, 11);
  EXPECT_EQ(r, 11);
  EXPECT_EQ(gFormResult, 0);
  EXPECT_TRUE(WinIsWindowEnabled(gTopWin));
  EXPECT_FALSE(IsWindow(modal));
  EXPECT_EQ(gModalWin, 0);
  EXPECT_EQ(Count(gLog, modal, WM_CLOSE), 1);
}

TEST_F(FormRuntime, SystemCloseCommandClosesTheForm) {
  FrmShowForm(gTop, 0, 0, 0);
  Hwnd modal = 0;
  FrmSetModalHook([&](Hwnd form) {
    modal = form;
    WinSendMessage(form, WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  FrmShowForm(gModal, gTopWin, 1, 0);
  EXPECT_EQ(Count(gLog, modal, WM_CLOSE), 1);
  EXPECT_EQ(Count(gLog, modal, WM_DESTROY), 1);
  EXPECT_TRUE(WinIsWindowEnabled(gTopWin));
}

TEST_F(FormRuntime, FormClosedFromInsideItsOwnHandler) {
  FrmShowForm(gTop, 0, 0, 0);
  bool afterClose = false;
  gHandler = [&](Hwnd h, unsigned msg, WParam wp, LParam, LResult* r) {
    if (h == gModalWin && msg == WM_COMMAND && LOWORD(wp) == 500) {
      FrmClose(h, 3);
      // The clean-up ran at once; the widget is still there until the loop deletes it.
      afterClose = !IsWindow(h) && gModalWin == 0;
      *r = 1;
      return true;
    }
    return false;
  };
  FrmSetModalHook([&](Hwnd form) { WinSendMessage(form, WM_COMMAND, MAKEWPARAM(500, BN_CLICKED), 0); });
  EXPECT_EQ(FrmShowForm(gModal, gTopWin, 1, 0), 3);
  EXPECT_TRUE(afterClose);
  EXPECT_TRUE(WinIsWindowEnabled(gTopWin));
}

TEST_F(FormRuntime, DestroyingAModalFormOtherwiseStillGivesTheOwnerBack) {
  FrmShowForm(gTop, 0, 0, 0);
  FrmSetModalHook([&](Hwnd form) { WinDestroyWindow(form); });
  FrmShowForm(gModal, gTopWin, 1, 0);
  EXPECT_TRUE(WinIsWindowEnabled(gTopWin));
}

TEST_F(FormRuntime, ShowWithoutRecordOrWindowDoesNothing) {
  QWidget plain;
  Hwnd h = WinHandle(&plain);
  EXPECT_EQ(FrmShow(1, h, 0, SW_SHOW, 0), 0);
  EXPECT_FALSE(plain.isVisible());
  gFormResult = 12;
  FrmClose(h + 4000, 99);   // no such window: nothing, not even the result
  EXPECT_EQ(gFormResult, 12);
}

TEST_F(FormRuntime, MdiChildShownModalReturnsItsWindowAtOnce) {
  MakeFrame();
  bool hookRan = false;
  FrmSetModalHook([&](Hwnd) { hookRan = true; });
  std::intptr_t r = FrmShowForm(gMdi, mdiClient, 1, 5);
  ASSERT_NE(r, 0);
  EXPECT_EQ(r, gMdiWin);
  ProcessEvents();
  EXPECT_FALSE(hookRan);
  EXPECT_TRUE(WinIsWindowEnabled(gFrameWin));
  EXPECT_EQ(WinGetParent(gMdiWin), mdiClient);
  EXPECT_EQ(WinGetParent(mdiClient), gFrameWin);
  EXPECT_TRUE(WinGetExStyle(gMdiWin) & WS_EX_MDICHILD);
  EXPECT_EQ(WinGetDlgCtrlID(gMdiWin), 1234);
  EXPECT_TRUE(WinIsZoomed(gMdiWin));
  EXPECT_EQ(FrmGetFormOf(gMdiWin), gMdiWin);
  EXPECT_EQ(WinMdiActiveChild(mdiClient), gMdiWin);
  EXPECT_EQ(gActiveForm, gMdiWin);
  EXPECT_EQ(FrmDataOf(gMdiWin)->isModal, 0);
}

TEST_F(FormRuntime, OwnerWalkStopsAtTheFrameOrAtTheMdiChildOfAControl) {
  MakeFrame();
  Hwnd edit = 0;
  gCreateControls = [&](Hwnd form) {
    if (WinGetClassName(form) == FrmClassName(gMdi)) edit = AddControl(form, new QLineEdit, 10, {5, 5, 100, 20});
  };
  FrmShowForm(gMdi, mdiClient, 0, 0);
  ASSERT_TRUE(IsWindow(edit));
  struct Case {
    Hwnd parent;
    Hwnd expectedOwner;
  };
  for (Case c : {Case{edit, gMdiWin}, Case{gMdiWin, gFrameWin}, Case{mdiClient, gFrameWin}}) {
    Hwnd seenOwner = 0;
    bool disabled = false, frameEnabled = true;
    FrmSetModalHook([&](Hwnd form) {
      seenOwner = FrmDataOf(form)->owner;
      disabled = !WinIsWindowEnabled(seenOwner);
      frameEnabled = WinIsWindowEnabled(gFrameWin);
      FrmClose(form, 1);
    });
    EXPECT_EQ(FrmShowForm(gModal, c.parent, 1, 0), 1);
    EXPECT_EQ(seenOwner, c.expectedOwner);
    EXPECT_TRUE(disabled);
    EXPECT_EQ(frameEnabled, c.expectedOwner != gFrameWin);
    EXPECT_TRUE(WinIsWindowEnabled(c.expectedOwner));   // exactly that window is given back
    EXPECT_TRUE(WinIsWindowEnabled(gMdiWin));
  }
}

TEST_F(FormRuntime, FormOfTopLevelWindowAndOfItsControls) {
  QLineEdit* inner = nullptr;
  Hwnd edit = 0, nested = 0;
  gCreateControls = [&](Hwnd form) {
    auto* box = new QWidget;
    edit = AddControl(form, box, 10, {0, 0, 100, 50});
    inner = new QLineEdit(box);
    nested = WinHandle(inner);
  };
  FrmShowForm(gTop, 0, 0, 0);
  EXPECT_EQ(FrmGetFormOf(gTopWin), gTopWin);
  EXPECT_EQ(FrmGetFormOf(edit), gTopWin);
  EXPECT_EQ(FrmGetFormOf(nested), gTopWin);
  EXPECT_EQ(WinGetParent(nested), edit);
  EXPECT_EQ(WinGetParent(edit), gTopWin);
  EXPECT_EQ(FrmGetFormOf(0), 0);
  QWidget loose;
  EXPECT_EQ(FrmGetFormOf(WinHandle(&loose)), WinHandle(&loose));
}

// ---------------------------------------------------------------------------------------------------------------
// Keys in the loop.
// ---------------------------------------------------------------------------------------------------------------
TEST_F(FormRuntime, EscInAnEditReachesTheFormAsCancelCommand) {
  Hwnd memo = 0, line = 0;
  gCreateControls = [&](Hwnd form) {
    memo = AddControl(form, new QPlainTextEdit, 20, {5, 5, 150, 60});
    line = AddControl(form, new QLineEdit, 21, {5, 70, 150, 20});
  };
  FrmShowForm(gTop, 0, 0, 0);
  Activate(gTopWin);
  for (Hwnd target : {memo, line}) {
    gLog.clear();
    gCtlLog.clear();
    WinSetFocus(target);
    QTest::keyClick(WinWidget(target), Qt::Key_Escape);
    const Msg* m = Last(gLog, gTopWin, WM_COMMAND);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->wp, static_cast<WParam>(IDCANCEL));
    EXPECT_EQ(m->lp, 0);
    EXPECT_EQ(Count(gCtlLog, target, WM_KEYDOWN), 0);   // the control never saw the key
  }
  EXPECT_TRUE(static_cast<QPlainTextEdit*>(WinWidget(memo))->toPlainText().isEmpty());
}

TEST_F(FormRuntime, EscNamesTheCancelButtonWhenTheFormHasOne) {
  Hwnd memo = 0, line = 0, cancel = 0;
  gCreateControls = [&](Hwnd form) {
    memo = AddControl(form, new QPlainTextEdit, 1000, {5, 5, 150, 60});
    line = AddControl(form, new QLineEdit, 1001, {5, 70, 150, 20});
    cancel = AddControl(form, new QPushButton("Batal"), IDCANCEL, {5, 95, 60, 20});
  };
  FrmShowForm(gTop, 0, 0, 0);
  Activate(gTopWin);
  struct Case {
    Hwnd from;
    LParam named;
  };
  for (Case c : {Case{line, static_cast<LParam>(cancel)}, Case{memo, 0}}) {
    gLog.clear();
    WinSetFocus(c.from);
    QTest::keyClick(WinWidget(c.from), Qt::Key_Escape);
    const Msg* m = Last(gLog, gTopWin, WM_COMMAND);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->wp, static_cast<WParam>(IDCANCEL));
    EXPECT_EQ(m->lp, c.named);
  }
}

TEST_F(FormRuntime, TabInAMultiLineEditMovesTheFocus) {
  Hwnd first = 0, memo = 0, last = 0;
  gCreateControls = [&](Hwnd form) {
    first = AddControl(form, new QLineEdit, 30, {5, 5, 150, 20});
    memo = AddControl(form, new QPlainTextEdit, 31, {5, 30, 150, 60});
    last = AddControl(form, new QLineEdit, 32, {5, 95, 150, 20});
  };
  FrmShowForm(gTop, 0, 0, 0);
  Activate(gTopWin);
  auto* m = static_cast<QPlainTextEdit*>(WinWidget(memo));
  WinSetFocus(memo);
  ASSERT_EQ(WinGetFocus(), memo);
  QTest::keyClick(m, Qt::Key_Tab);
  EXPECT_EQ(WinGetFocus(), last);
  WinSetFocus(memo);
  QTest::keyClick(m, Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(WinGetFocus(), first);
  EXPECT_TRUE(m->toPlainText().isEmpty());
  // A single-line edit keeps the usual behaviour.
  QTest::keyClick(WinWidget(first), Qt::Key_Tab);
  EXPECT_EQ(WinGetFocus(), memo);
}

TEST_F(FormRuntime, AcceleratorsOfTheFormBecomeCommands) {
  Hwnd edit = 0;
  gCreateControls = [&](Hwnd form) { edit = AddControl(form, new QLineEdit, 40, {5, 5, 150, 20}); };
  FrmShowForm(gTop, 0, 0, 0);
  WinAccel table[] = {{FVIRTKEY, VK_F8, 6001}, {FVIRTKEY | FCONTROL, 'S', 6002}};
  FrmDataOf(gTopWin)->accel = WinCreateAcceleratorTable(table, 2);
  Activate(gTopWin);
  WinSetFocus(edit);
  QTest::keyClick(WinWidget(edit), Qt::Key_F8);
  const Msg* m = Last(gLog, gTopWin, WM_COMMAND);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->wp, MAKEWPARAM(6001, 1));
  EXPECT_EQ(m->lp, 0);
  QTest::keyClick(WinWidget(edit), Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(Last(gLog, gTopWin, WM_COMMAND)->wp, MAKEWPARAM(6002, 1));
  QTest::keyClick(WinWidget(edit), Qt::Key_S);   // without Ctrl: typed
  EXPECT_EQ(static_cast<QLineEdit*>(WinWidget(edit))->text(), "s");
}

// ---------------------------------------------------------------------------------------------------------------
// Control subclass behaviour.
// ---------------------------------------------------------------------------------------------------------------
TEST_F(FormRuntime, FocusSelectsAllOrNothingAndIsRemembered) {
  Hwnd all = 0, none = 0;
  gCreateControls = [&](Hwnd form) {
    all = AddControl(form, new QLineEdit("alpha"), 50, {5, 5, 150, 20}, "", 1);
    none = AddControl(form, new QLineEdit("beta"), 51, {5, 30, 150, 20}, "", 0);
  };
  FrmShowForm(gTop, 0, 0, 0);
  Activate(gTopWin);
  auto* a = static_cast<QLineEdit*>(WinWidget(all));
  auto* n = static_cast<QLineEdit*>(WinWidget(none));
  WinSetFocus(all);
  EXPECT_EQ(a->selectedText(), "alpha");
  EXPECT_EQ(FrmDataOf(gTopWin)->lastFocus, all);
  QTest::keyClick(a, Qt::Key_Tab);   // Qt selects on tab focus; the record says no
  EXPECT_EQ(WinGetFocus(), none);
  EXPECT_EQ(n->selectedText(), "");
  EXPECT_EQ(FrmDataOf(gTopWin)->lastFocus, none);
  // The form getting the focus hands it to the control that had it last.
  WinSetFocus(all);
  FrmDataOf(gTopWin)->lastFocus = none;
  WinSendMessage(gTopWin, WM_SETFOCUS, 0, 0);
  EXPECT_EQ(WinGetFocus(), none);
}

TEST_F(FormRuntime, ControlSeesMouseAndKeysBeforeQtAndMayKeepThem) {
  Hwnd edit = 0;
  gCreateControls = [&](Hwnd form) { edit = AddControl(form, new QLineEdit, 60, {5, 5, 150, 20}); };
  FrmShowForm(gTop, 0, 0, 0);
  Activate(gTopWin);
  WinSetFocus(edit);
  gCtlHandler = [&](Hwnd, unsigned msg, WParam wp, LParam, LResult* r) {
    if (msg == WM_KEYDOWN && wp == 'X') {
      *r = 1;   // handled: the edit never gets it
      return true;
    }
    return false;
  };
  QTest::keyClicks(WinWidget(edit), "axb");
  EXPECT_EQ(static_cast<QLineEdit*>(WinWidget(edit))->text(), "ab");
  EXPECT_EQ(Count(gCtlLog, edit, WM_KEYUP), 3);
  QTest::mouseClick(WinWidget(edit), Qt::LeftButton, {}, QPoint(7, 9));
  const Msg* up = Last(gCtlLog, edit, WM_LBUTTONUP);
  ASSERT_NE(up, nullptr);
  EXPECT_EQ(LOWORD(static_cast<WParam>(up->lp)), 7u);
  EXPECT_EQ(HIWORD(static_cast<WParam>(up->lp)), 9u);
}

TEST_F(FormRuntime, DestructionFreesRecordsAndLeavesHandlesGone) {
  Hwnd edit = 0;
  bool controlRecordGone = false, procPutBack = false, formRecordGone = false, globalCleared = false;
  gCreateControls = [&](Hwnd form) { edit = AddControl(form, new QLineEdit, 70, {5, 5, 150, 20}); };
  gCtlHandler = [&](Hwnd h, unsigned msg, WParam wp, LParam lp, LResult* r) {
    if (msg != WM_DESTROY) return false;
    *r = FrmControlMessage(h, msg, wp, lp);
    controlRecordGone = FrmDataOf(h) == nullptr && WinGetProp(h, "FIN_PTR") == 0;
    procPutBack = WinInfoOf(h)->proc == nullptr;
    return true;
  };
  gHandler = [&](Hwnd h, unsigned msg, WParam wp, LParam lp, LResult* r) {
    if (msg != WM_DESTROY) return false;
    FrmFormMessage(gTop, h, msg, wp, lp, r);
    formRecordGone = FrmDataOf(h) == nullptr && WinGetProp(h, "FIN_PTR") == 0;
    globalCleared = gTopWin == 0;
    return true;
  };
  FrmShowForm(gTop, 0, 0, 0);
  Hwnd form = gTopWin;
  ASSERT_NE(FrmDataOf(form), nullptr);
  EXPECT_EQ(FrmDataOf(form)->isForm, 1);
  EXPECT_EQ(FrmDataOf(edit)->hwnd, edit);
  unsigned timer = WinSetTimer(form, 3, 1000, nullptr);
  EXPECT_EQ(timer, 3u);
  FrmClose(form, 0);
  EXPECT_TRUE(controlRecordGone);
  EXPECT_TRUE(procPutBack);
  EXPECT_TRUE(formRecordGone);
  EXPECT_TRUE(globalCleared);
  // Gone at once, before Qt deletes the widgets.
  EXPECT_FALSE(IsWindow(form));
  EXPECT_FALSE(IsWindow(edit));
  EXPECT_EQ(WinSendMessage(edit, WM_SETFOCUS, 0, 0), 0);
  EXPECT_EQ(WinGetWindowText(form), "");
  EXPECT_EQ(FrmDataOf(edit), nullptr);
  EXPECT_FALSE(WinFireTimer(form, 3));
  ProcessEvents();
  EXPECT_FALSE(IsWindow(form));
  EXPECT_EQ(WinWidget(edit), nullptr);
}

// ---------------------------------------------------------------------------------------------------------------
// Resize rules.
// ---------------------------------------------------------------------------------------------------------------
struct RuleCase {
  const char* rule;
  int own[4];
  int oldW, oldH, w, h;
  bool moves;
  int out[4];
};

TEST(ResizeRules, EdgesFollowTheRule) {
  const RuleCase cases[] = {
      {"FL,FT", {10, 20, 110, 70}, 200, 100, 400, 300, false, {}},
      {"FR,FB,", {10, 20, 110, 70}, 200, 100, 400, 300, false, {}},   // 6 characters: never moves
      {"FL,FT,S", {10, 20, 110, 70}, 200, 100, 400, 300, true, {10, 20, 220, 0}},   // bottom 0
      {"FL,FT,S,S", {10, 20, 110, 70}, 200, 100, 400, 300, true, {10, 20, 220, 210}},
      {"FL,FT,S,FT", {10, 20, 110, 70}, 200, 100, 400, 300, true, {10, 20, 220, 70}},
      {"FR,FB,FR,FB", {10, 20, 110, 70}, 200, 100, 400, 300, true, {210, 220, 310, 270}},
      {"F50,F50,F50,F50", {10, 20, 110, 70}, 200, 100, 400, 300, true, {110, 120, 210, 170}},
      {"F33,FT,FR,X", {10, 20, 110, 70}, 200, 100, 400, 300, true, {76, 20, 310, 0}},
      {"FQ,FT,S,S", {10, 20, 110, 70}, 200, 100, 400, 300, true, {10, 20, 220, 210}},   // no number: p = 0
      // Halves go to the even neighbour: 0.5 -> 0, 1.5 -> 2, 2.5 -> 2, 3.5 -> 4.
      {"S,S,S,S", {1, 3, 5, 7}, 2, 2, 1, 1, true, {0, 2, 2, 4}},
      // Nothing captured to scale by: those edges stay where they are now.
      {"S,S,S,S", {1, 3, 5, 7}, 0, 0, 100, 100, true, {11, 13, 15, 17}},
      {"FL,FT,S,S", {1, 3, 5, 7}, 0, 50, 100, 100, true, {1, 3, 15, 14}},
  };
  for (const RuleCase& c : cases) {
    int now[4] = {11, 13, 15, 17};
    int out[4] = {-99, -99, -99, -99};
    bool moved = FrmLayoutEdges(c.rule, c.own, c.oldW, c.oldH, c.w, c.h, now, out);
    EXPECT_EQ(moved, c.moves) << c.rule;
    if (!c.moves) continue;
    for (int i = 0; i < 4; ++i) EXPECT_EQ(out[i], c.out[i]) << c.rule << " edge " << i;
  }
}

TEST_F(FormRuntime, ResizingAppliesRulesAndMinimisingMovesNothing) {
  Hwnd grow = 0, wide = 0, fixed = 0, lower = 0, flat = 0;
  gCreateControls = [&](Hwnd form) {
    grow = AddControl(form, new QLineEdit, 80, {10, 20, 100, 50}, "fl,ft,s,s");   // rules are read in upper case
    wide = AddControl(form, new QLineEdit, 81, {10, 80, 100, 20}, "FL,FT,S,FT");
    fixed = AddControl(form, new QLineEdit, 82, {5, 5, 30, 10}, "FR,FB,");
    lower = AddControl(form, new QLineEdit, 83, {150, 80, 40, 15}, "FR,FB,FR,FB");
    flat = AddControl(form, new QLineEdit, 84, {10, 110, 50, 15}, "FL,FT,S");
  };
  Hwnd form = FrmCreateForm(gTop, 0, 0);
  ASSERT_TRUE(IsWindow(form));
  // The form was created at 300 x 200 and sized once with its controls in place: that is the captured layout.
  WinSetWindowPos(form, 0, 0, 0, 200, 100, SWP_NOMOVE | SWP_NOZORDER);
  // Captured at creation (300 x 200): back at 200 x 100 the edges scale by 2/3 and 1/2.
  auto rect = [](Hwnd h) {
    WinRect r = WinGetWindowRect(h);
    return std::vector<int>{r.left, r.top, r.right, r.bottom};
  };
  EXPECT_EQ(WinGetClientRect(form).right, 200);
  EXPECT_EQ(rect(grow), (std::vector<int>{10, 20, 73, 35}));   // 110*200/300 = 73.3, 70*100/200 = 35
  EXPECT_EQ(rect(wide), (std::vector<int>{10, 80, 73, 100}));
  EXPECT_EQ(rect(fixed), (std::vector<int>{5, 5, 35, 15}));
  EXPECT_EQ(rect(lower), (std::vector<int>{50, -20, 90, -5}));
  EXPECT_EQ(rect(flat)[1], 110);
  EXPECT_EQ(rect(flat)[3] - rect(flat)[1], 0);   // bottom edge 0: no height left
  WinSetWindowPos(form, 0, 0, 0, 600, 400, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(rect(grow), (std::vector<int>{10, 20, 220, 140}));
  EXPECT_EQ(rect(lower), (std::vector<int>{450, 280, 490, 295}));
  // Minimised: captured again (nothing new) but nothing moves.
  WinSendMessage(form, WM_SIZE, SIZE_MINIMIZED, 0);
  EXPECT_EQ(rect(grow), (std::vector<int>{10, 20, 220, 140}));
  // Back to the creation size: exactly where they started, no drift.
  WinSetWindowPos(form, 0, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(rect(grow), (std::vector<int>{10, 20, 110, 70}));
  EXPECT_EQ(rect(lower), (std::vector<int>{150, 80, 190, 95}));
  EXPECT_EQ(rect(fixed), (std::vector<int>{5, 5, 35, 15}));
}

TEST_F(FormRuntime, RealMinimiseSendsSizeMinimizedAndKeepsControls) {
  Hwnd grow = 0;
  gCreateControls = [&](Hwnd form) { grow = AddControl(form, new QLineEdit, 90, {10, 20, 100, 50}, "FL,FT,S,S"); };
  FrmShowForm(gTop, 0, 0, 0);
  ProcessEvents();
  QRect before = WinWidget(grow)->geometry();
  gLog.clear();
  WinShowWindow(gTopWin, SW_MINIMIZE);
  ProcessEvents();
  const Msg* m = Last(gLog, gTopWin, WM_SIZE);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->wp, static_cast<WParam>(SIZE_MINIMIZED));
  EXPECT_TRUE(WinIsIconic(gTopWin));
  EXPECT_EQ(WinWidget(grow)->geometry(), before);
}

// ---------------------------------------------------------------------------------------------------------------
// Colours and client size.
// ---------------------------------------------------------------------------------------------------------------
TEST_F(FormRuntime, EditColoursAndButtonFaceWhenDisabled) {
  Hwnd edit = 0;
  gCreateControls = [&](Hwnd form) {
    auto* e = new QLineEdit;
    e->setParent(WinClientWidget(form));
    edit = WinHandle(e);
    FrmInitControl(edit, 1, 0, std::string(), 0, 1, 0, 1, 0x0000FF, COLOR_WINDOW, -1, TestCtlProc, "", 0);
  };
  FrmShowForm(gTop, 0, 0, 0);
  WindowData* d = FrmDataOf(edit);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->foreColor, 0x0000FFu);
  EXPECT_EQ(d->backBrush, WinGetSysColorBrush(COLOR_WINDOW));
  QPalette p = WinWidget(edit)->palette();
  EXPECT_EQ(p.color(QPalette::Active, QPalette::Text), QColor(255, 0, 0));
  EXPECT_EQ(p.color(QPalette::Active, QPalette::Base), WinSysColor(COLOR_WINDOW));
  EXPECT_EQ(p.color(QPalette::Disabled, QPalette::Base), WinSysColor(COLOR_BTNFACE));
}

TEST_F(FormRuntime, ARecolouredEditPaintsTheButtonFaceWhileDisabled) {
  Hwnd edit = 0;
  gCreateControls = [&](Hwnd form) {
    edit = FrmAddControl(form, "Edit", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, WS_EX_CLIENTEDGE, 10, 10, 120, 24, 90,
                         TestCtlProc, "", "", FrmColors::TextOnRgb(WinRgb(255, 255, 0)));
  };
  FrmShowForm(gTop, 0, 0, 0);
  ASSERT_TRUE(IsWindow(edit));
  QWidget* w = WinWidget(edit);
  auto middle = [w] {
    const QImage img = w->grab().toImage();
    return img.pixelColor(img.width() / 2, img.height() / 2);
  };
  CtlSetColors(edit, -1, static_cast<int>(WinRgb(255, 255, 255)));
  EXPECT_EQ(middle(), QColor(255, 255, 255));
  CtlDisable(edit);
  EXPECT_EQ(w->palette().color(QPalette::Disabled, QPalette::Base), WinSysColor(COLOR_BTNFACE));
  EXPECT_EQ(middle(), WinSysColor(COLOR_BTNFACE));
  CtlEnable(edit);
  EXPECT_EQ(middle(), QColor(255, 255, 255));
}

TEST_F(FormRuntime, AChangeOfTheDesktopColoursOrThemeReachesEveryForm) {
  MakeFrame();
  Hwnd edit = 0;
  gCreateControls = [&](Hwnd form) {
    if (WinGetClassName(form) == FrmClassName(gMdi))
      edit = FrmAddControl(form, "Edit", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, WS_EX_CLIENTEDGE, 10, 10, 120, 24,
                           90, TestCtlProc, "", "", FrmColors::Window());
  };
  FrmShowForm(gMdi, mdiClient, 0, 0);
  FrmShowForm(gTop, 0, 0, 0);
  ASSERT_TRUE(IsWindow(edit));
  ProcessEvents();
  gLog.clear();
  const QPalette before = QApplication::palette();
  QPalette changed = before;
  changed.setColor(QPalette::Base, QColor(1, 2, 3));
  QApplication::setPalette(changed);
  ProcessEvents();
  for (Hwnd form : {gFrameWin, gMdiWin, gTopWin}) EXPECT_EQ(Count(gLog, form, WM_SYSCOLORCHANGE), 1) << form;
  EXPECT_EQ(WinWidget(edit)->palette().color(QPalette::Active, QPalette::Base), QColor(1, 2, 3));
  QApplication::setPalette(before);
  ProcessEvents();
  EXPECT_EQ(WinWidget(edit)->palette().color(QPalette::Active, QPalette::Base), before.color(QPalette::Base));

  gLog.clear();
  QEvent theme(QEvent::ThemeChange);   // what the desktop sends each top-level window
  QCoreApplication::sendEvent(WinWidget(gFrameWin), &theme);
  EXPECT_EQ(Count(gLog, gFrameWin, WM_THEMECHANGED), 1);
  EXPECT_EQ(Count(gLog, gMdiWin, WM_THEMECHANGED), 1);
  EXPECT_EQ(Count(gLog, gTopWin, WM_THEMECHANGED), 0);   // it hears of it from its own event
}

TEST_F(FormRuntime, ClosingAModalFormGivesTheMdiChildBehindItTheFocusBack) {
  MakeFrame();
  const Hwnd first = FrmShowForm(gFixed, mdiClient, 0, 0);   // as the welcome window
  Hwnd edit = 0;
  gCreateControls = [&](Hwnd form) {
    if (WinGetClassName(form) == FrmClassName(gMdi)) edit = AddControl(form, new QLineEdit, 10, {5, 5, 100, 20});
  };
  const Hwnd list = FrmShowForm(gMdi, mdiClient, 0, 0);
  ASSERT_TRUE(IsWindow(first));
  ASSERT_TRUE(IsWindow(edit));
  const std::function<void(Hwnd)> closers[] = {
      [](Hwnd form) { FrmClose(form, 0); },
      [](Hwnd form) { WinWidget(form)->close(); },   // the close box
      [](Hwnd form) { WinSendMessage(form, WM_SYSCOMMAND, SC_CLOSE, 0); },
  };
  for (const auto& close : closers) {
    Activate(gFrameWin);
    WinSetFocus(edit);
    ASSERT_EQ(WinMdiActiveChild(mdiClient), list);
    FrmSetModalHook([&](Hwnd form) { close(form); });
    for (Hwnd parent : {list, edit, mdiClient}) {   // from the child, from a control of it, from the main menu
      FrmShowForm(gModal, parent, 1, 0);
      ProcessEvents();
      EXPECT_TRUE(WinIsWindowEnabled(gFrameWin));
      EXPECT_EQ(WinMdiActiveChild(mdiClient), list) << parent;
      EXPECT_EQ(WinGetFocus(), edit) << parent;
    }
  }
  EXPECT_TRUE(IsWindow(first));
}

// Over maximized children, as the program keeps them: the frame taken back from a modal form must not give the focus
// to another child first, which would swap the maximized child for it and back (two changes of each window's state,
// seen on a desktop as the other window flashing up).
TEST_F(FormRuntime, ClosingAModalFormLeavesTheMaximizedChildrenAsTheyAre) {
  MakeFrame();
  const Hwnd first = FrmShowForm(gFixed, mdiClient, 0, 0);   // as the welcome window
  WinShowWindow(first, SW_MAXIMIZE);
  Hwnd edit = 0;
  gCreateControls = [&](Hwnd form) {
    if (WinGetClassName(form) == FrmClassName(gMdi)) edit = AddControl(form, new QLineEdit, 10, {5, 5, 100, 20});
  };
  const Hwnd list = FrmShowForm(gMdi, mdiClient, 0, 0);
  WinShowWindow(list, SW_MAXIMIZE);
  Activate(gFrameWin);
  WinSetFocus(edit);
  ProcessEvents();
  ASSERT_EQ(WinMdiActiveChild(mdiClient), list);
  std::vector<std::string> changes;
  QObject watching;   // the watch ends with the test
  for (Hwnd child : {first, list}) {
    auto* sub = qobject_cast<QMdiSubWindow*>(WinWidget(child));
    ASSERT_NE(sub, nullptr);
    QObject::connect(sub, &QMdiSubWindow::windowStateChanged, &watching,
                     [&changes, child, first](Qt::WindowStates, Qt::WindowStates now) {
                       changes.push_back(std::string(child == first ? "first " : "list ") +
                                         std::to_string(static_cast<int>(now)));
                     });
  }
  FrmSetModalHook([](Hwnd form) { FrmClose(form, 0); });
  FrmShowForm(gModal, list, 1, 0);
  ProcessEvents();
  auto* sub = qobject_cast<QMdiSubWindow*>(WinWidget(list));
  EXPECT_TRUE(sub->isMaximized());
  EXPECT_EQ(WinMdiActiveChild(mdiClient), list);
  EXPECT_EQ(WinGetFocus(), edit);
  for (const std::string& c : changes) EXPECT_EQ(c.rfind("first ", 0), std::string::npos) << c;
  EXPECT_LE(changes.size(), 2u);   // the list inactive while the form is open and active again at most
}

// A list that can be open more than once: its window global and bind routine, and what the command handler saw.
Hwnd gBoundWin = 0;
std::vector<Hwnd> gBinds;          // the windows the bind routine was run for
std::vector<Hwnd> gCommandSawWin;  // the window global when a command or notification reached the form's own code
void BoundBind(Hwnd form) { gBinds.push_back(form); }
LResult BoundWndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
FrmForm gBound = {.name = "TBOUND", .wndProc = BoundWndProc, .window = &gBoundWin, .bind = BoundBind,
                  .caption = "Daftar", .style = WS_OVERLAPPEDWINDOW | WS_CHILD, .width = 300, .height = 200,
                  .kind = FRM_MDICHILD, .mdiId = &gMdiId};
LResult BoundWndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  LResult r = 0;
  if (FrmFormMessage(gBound, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND || msg == WM_NOTIFY) gCommandSawWin.push_back(gBoundWin);
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

TEST_F(FormRuntime, AWindowThatBindsIsMadeCurrentForItsActivationCommandsAndModalForms) {
  MakeFrame();
  const Hwnd first = FrmShowForm(gBound, mdiClient, 0, 0);
  const Hwnd second = FrmShowForm(gBound, mdiClient, 0, 0);
  ASSERT_NE(first, second);
  EXPECT_EQ(gBoundWin, second);   // the newest, from its creation
  gBinds.clear();
  gCommandSawWin.clear();

  // A command or a notification of a window: it is current before its own code sees the message.
  WinSendMessage(first, WM_COMMAND, MAKEWPARAM(7, 0), 0);
  EXPECT_EQ(gBoundWin, first);
  NmHdr hdr{};
  hdr.hwndFrom = second;
  WinSendMessage(second, WM_NOTIFY, 0, reinterpret_cast<LParam>(&hdr));
  EXPECT_EQ(gBoundWin, second);
  EXPECT_EQ(gCommandSawWin, (std::vector<Hwnd>{first, second}));
  EXPECT_EQ(gBinds, (std::vector<Hwnd>{first, second}));

  // Activation makes a window current; losing it does not.
  gBinds.clear();
  WinSendMessage(first, WM_ACTIVATE, WA_ACTIVE, 0);
  WinSendMessage(second, WM_ACTIVATE, WA_INACTIVE, 0);
  EXPECT_EQ(gBoundWin, first);
  EXPECT_EQ(gBinds, (std::vector<Hwnd>{first}));

  // A modal form opened from a window: once it is gone, that window is current again, whatever was meanwhile.
  FrmSetModalHook([&](Hwnd form) {
    WinSendMessage(first, WM_COMMAND, MAKEWPARAM(7, 0), 0);
    EXPECT_EQ(gBoundWin, first);
    FrmClose(form, 0);
  });
  gBinds.clear();
  FrmShowForm(gModal, second, 1, 0);
  EXPECT_EQ(gBoundWin, second);
  ASSERT_FALSE(gBinds.empty());
  EXPECT_EQ(gBinds.back(), second);

  // A form without a bind routine keeps its window global as it was.
  const Hwnd top = FrmShowForm(gTop, 0, 0, 0);
  const Hwnd other = FrmCreateForm(gTop, 0, 0);
  EXPECT_EQ(gTopWin, other);
  WinSendMessage(top, WM_COMMAND, MAKEWPARAM(7, 0), 0);
  WinSendMessage(top, WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(gTopWin, other);
  for (Hwnd w : {first, second, top}) WinDestroyWindow(w);
}

TEST_F(FormRuntime, ClientSizeAndWindowRectangles) {
  Hwnd form = FrmCreateForm(gTop, 0, 0);
  WinRect c = WinGetClientRect(form);
  EXPECT_EQ(c.right, 300);
  EXPECT_EQ(c.bottom, 200);
  WinRect w = WinGetWindowRect(form);
  EXPECT_EQ(w.left, (WinScreenWidth() - 300) / 2);
  EXPECT_EQ(w.top, (WinScreenHeight() - 200) / 2);
  const Msg* size = Last(gLog, form, WM_SIZE);
  ASSERT_NE(size, nullptr);
  EXPECT_EQ(size->lp, MAKELPARAM(300, 200));
  FrmSetClientSize(form, 250, 120);
  EXPECT_EQ(WinGetClientRect(form).right, 250);
  EXPECT_EQ(WinGetClientRect(form).bottom, 120);
  FrmSetClientSize(form, 0, 50);   // nothing
  EXPECT_EQ(WinGetClientRect(form).bottom, 120);
}

// ---------------------------------------------------------------------------------------------------------------
// A whole form as later forms write it, on the system's control classes.
// ---------------------------------------------------------------------------------------------------------------
Hwnd gPatWin = 0, gPatName = 0, gPatOk = 0;
int gPatNameId = 1000, gPatOkId = 1001;
std::vector<std::string> gPatEvents;
LResult PAT_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  if (msg == WM_KEYUP && wParam == static_cast<WParam>(VK_RETURN) && WinGetDlgCtrlID(hwnd) == gPatNameId)
    gPatEvents.push_back("enter:" + CtlGetText(hwnd));
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}
void PAT_CreateControls(Hwnd form) {
  gPatName = FrmAddControl(form, "Edit", "awal", WS_CHILD | WS_VISIBLE | WS_TABSTOP, WS_EX_CLIENTEDGE, 10, 10, 200,
                           22, gPatNameId, PAT_CtlSubclassProc, "Arial Unicode MS,9,0", "FL,FT,S,FT",
                           FrmColors::Window(), 1);
  gPatOk = FrmAddControl(form, "Button", "Simpan", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 10, 40, 80, 25, gPatOkId,
                         PAT_CtlSubclassProc, "Arial Unicode MS,9,0");
  WinSetFocus(gPatName);
}
LResult PAT_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
FrmForm gPat = {.name = "TPATTERN", .wndProc = PAT_WndProc, .window = &gPatWin,
                .createControls = PAT_CreateControls, .caption = "Pola", .style = WS_OVERLAPPEDWINDOW,
                .width = 300, .height = 120};
LResult PAT_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  LResult r = 0;
  if (FrmFormMessage(gPat, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_COMMAND && static_cast<int>(LOWORD(wParam)) == gPatOkId && HIWORD(wParam) == BN_CLICKED) {
    Hwnd control = FrmControlOf(msg, lParam);
    gPatEvents.push_back("ok:" + std::to_string(FrmIndexOf(control)) + ":" + CtlGetText(gPatName));
    FrmClose(hwnd, 8);
    return 1;
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

TEST_F(FormRuntime, AFormOnTheSystemsControlsRunsModally) {
  gPatEvents.clear();
  FrmShowForm(gTop, 0, 0, 0);
  std::string fontAfter;
  FrmSetModalHook([&](Hwnd form) {
    ASSERT_EQ(form, gPatWin);
    EXPECT_EQ(WinGetParent(gPatName), form);
    EXPECT_EQ(FrmDataOf(gPatName)->hwnd, gPatName);
    EXPECT_NE(FrmDataOf(gPatName)->font, 0);
    EXPECT_STREQ(FrmDataOf(gPatName)->resizeRule, "FL,FT,S,FT");
    auto* edit = static_cast<QLineEdit*>(WinWidget(gPatName));
    EXPECT_EQ(edit->selectedText(), "awal");   // focused on creation, whole text selected
    edit->setText("Budi");
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::mouseClick(WinWidget(gPatOk), Qt::LeftButton);
  });
  EXPECT_EQ(FrmShowForm(gPat, gTopWin, 1, 0), 8);
  EXPECT_EQ(gPatEvents, (std::vector<std::string>{"enter:Budi", "ok:0:Budi"}));
  EXPECT_EQ(gPatWin, 0);
  EXPECT_TRUE(WinIsWindowEnabled(gTopWin));
}

TEST_F(FormRuntime, UiFontReplacesTheFaceAndKeepsTheRest) {
  Hwnd edit = 0;
  std::string font = "Arial Unicode MS,9,0";
  gCreateControls = [&](Hwnd form) {
    auto* e = new QLineEdit(WinClientWidget(form));
    edit = WinHandle(e);
    FrmInitControl(edit, 1, 1, font, 0, 0, 0, 0, 0, 0, -1, TestCtlProc, "", 1);
  };
  FrmShowForm(gTop, 0, 0, 0);
  EXPECT_EQ(font, "Segoe UI,9,0");
  EXPECT_EQ(WinWidget(edit)->font().family(), "Segoe UI");
  EXPECT_EQ(QFontInfo(WinWidget(edit)->font()).pixelSize(), 12);   // 9 points at 96 dpi
  EXPECT_NE(FrmDataOf(edit)->font, 0);
}

}  // namespace
