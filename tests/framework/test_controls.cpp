// The controls and their wrappers: creation, "no window" values, list-view semantics, notifications.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QHeaderView>
#include <QTableView>
#include <QTest>
#include <QRegularExpressionValidator>
#include <QRegularExpression>
#include <QToolButton>
#include <QTreeWidget>
#include <functional>

#include <gtest/gtest.h>

#include "framework/control_widgets.h"
#include "framework/controls.h"
#include "framework/window_system.h"
#include "support/fixtures.h"

namespace {

// What the test form heard.
struct Heard {
  unsigned msg = 0;
  int id = 0;
  int code = 0;
  Hwnd from = 0;
  int item = -1;
  unsigned newState = 0, oldState = 0;
  int vk = 0;
  std::intptr_t itemNew = 0;
  LParam data = 0;   // a list-view notification's row data
  int subItem = 0;
};
std::vector<Heard> gHeard;

LResult TestFormProc(Hwnd h, unsigned msg, WParam wParam, LParam lParam) {
  if (msg == WM_COMMAND) {
    gHeard.push_back({msg, static_cast<int>(LOWORD(wParam)), static_cast<int>(HIWORD(wParam)),
                      static_cast<Hwnd>(lParam)});
    return 0;
  }
  if (msg == WM_NOTIFY) {
    auto* hdr = reinterpret_cast<NmHdr*>(lParam);
    Heard r{msg, hdr->idFrom, hdr->code, hdr->hwndFrom};
    if (hdr->code == LVN_ITEMCHANGED || hdr->code == NM_CLICK || hdr->code == NM_DBLCLK) {
      auto* nm = reinterpret_cast<NmListView*>(lParam);
      if (WinGetClassName(hdr->hwndFrom) == "SysListView32") {
        r.item = nm->iItem;
        r.newState = nm->uNewState;
        r.oldState = nm->uOldState;
        r.data = nm->lParam;
      }
    }
    if (hdr->code == LVN_COLUMNCLICK) r.subItem = reinterpret_cast<NmListView*>(lParam)->iSubItem;
    if (hdr->code == LVN_KEYDOWN) r.vk = reinterpret_cast<NmLvKeyDown*>(lParam)->wVKey;
    if (hdr->code == TVN_SELCHANGED) r.itemNew = reinterpret_cast<NmTreeView*>(lParam)->itemNew;
    gHeard.push_back(r);
    return 0;
  }
  return WinDefWindowProc(h, msg, wParam, lParam);
}

std::vector<Heard> Commands(int code) {
  std::vector<Heard> out;
  for (auto& h : gHeard)
    if (h.msg == WM_COMMAND && h.code == code) out.push_back(h);
  return out;
}
std::vector<Heard> Notes(int code) {
  std::vector<Heard> out;
  for (auto& h : gHeard)
    if (h.msg == WM_NOTIFY && h.code == code) out.push_back(h);
  return out;
}

class Controls : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!WinClassExists("FORM_FINANCE_CTLTEST_CLASS")) {
      ASSERT_TRUE(WinRegisterClass("FORM_FINANCE_CTLTEST_CLASS", TestFormProc));
    }
    form = WinCreateWindow(WS_EX_CONTROLPARENT, "FORM_FINANCE_CTLTEST_CLASS", "Uji", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                           10, 10, 640, 480, 0, 0, 0);
    ASSERT_NE(form, 0);
    gHeard.clear();
  }
  void TearDown() override {
    if (IsWindow(form)) WinDestroyWindow(form);
    QApplication::processEvents();
    gHeard.clear();
  }
  Hwnd Make(const std::string& cls, std::uint32_t style, int id, const std::string& caption = "",
            int w = 300, int h = 200) {
    Hwnd c = WinCreateWindow(0, cls, caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 5, 5, w, h, form, id, 0);
    EXPECT_NE(c, 0) << cls;
    return c;
  }
  Hwnd MakeList(std::uint32_t style, int rows, int cols = 2) {
    Hwnd lv = Make("SysListView32", LVS_REPORT | style, 300);
    for (int c = 0; c < cols; ++c) LvInsertColumn(lv, c, "K" + std::to_string(c), LVCFMT_LEFT, 80);
    for (int r = 0; r < rows; ++r) {
      LvInsertItem(lv, r, 0, "r" + std::to_string(r), 100 + r, 0);
      for (int c = 1; c < cols; ++c) LvInsertItem(lv, r, c, "c" + std::to_string(r) + std::to_string(c), 0, 0);
    }
    return lv;
  }
  // Point at the centre of a list row's first cell, in viewport coordinates.
  static QPoint RowPoint(Hwnd lv, int row) {
    auto* v = dynamic_cast<QTableView*>(WinWidget(lv));
    return v->visualRect(v->model()->index(row, 0)).center();
  }
  Hwnd form = 0;
};

// ---- Check boxes of list views ---------------------------------------------------------------------------------
TEST_F(Controls, LvGetCheckTickedUntickedNoBoxesAndGone) {
  Hwnd lv = MakeList(0, 3);
  LvSetExtendedStyle(lv, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  EXPECT_EQ(LvGetCheck(lv, 0), -2);
  EXPECT_EQ(LvSetCheck(lv, 1, 1), 1);
  EXPECT_EQ(LvGetCheck(lv, 1), -1);
  EXPECT_EQ(LvGetCheck(lv, 0), -2);
  EXPECT_EQ(LvGetCheck(lv, 7), -1);   // no such row: state 0, an even image index

  Hwnd plain = MakeList(0, 2);
  EXPECT_EQ(LvGetCheck(plain, 0), -1);   // without check boxes every row reads as ticked

  WinDestroyWindow(lv);
  EXPECT_EQ(LvGetCheck(lv, 1), 0);
}

TEST_F(Controls, TickingARowByClickReportsTheStateImageChange) {
  Hwnd lv = MakeList(0, 2);
  LvSetExtendedStyle(lv, LVS_EX_CHECKBOXES);
  auto* v = dynamic_cast<QTableView*>(WinWidget(lv));
  QStyleOptionViewItem opt;
  opt.rect = v->visualRect(v->model()->index(1, 0));
  opt.features = QStyleOptionViewItem::HasCheckIndicator;
  QRect box = v->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, v);
  gHeard.clear();
  QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, box.center());
  EXPECT_EQ(LvGetCheck(lv, 1), -1);
  bool sawTick = false;
  for (auto& h : Notes(LVN_ITEMCHANGED))
    if (h.item == 1 && (h.newState & LVIS_STATEIMAGEMASK) == 0x2000 && (h.oldState & LVIS_STATEIMAGEMASK) == 0x1000)
      sawTick = true;
  EXPECT_TRUE(sawTick);
  EXPECT_FALSE(Notes(NM_CLICK).empty());
}

// ---- Combo boxes -----------------------------------------------------------------------------------------------
TEST_F(Controls, CbResetContentGivesZeroAndEmptiesTheBox) {
  Hwnd cb = Make("ComboBox", CBS_DROPDOWNLIST, 304);
  CbAddString(cb, "VII-A");
  CbSetCurSel(cb, 0);
  EXPECT_EQ(CbResetContent(cb), 0);
  EXPECT_EQ(CbGetCount(cb), 0);
  EXPECT_EQ(CbGetCurSel(cb), -1);
  EXPECT_EQ(CbResetContent(cb), 0);   // an empty box as well
}

TEST_F(Controls, CbFindStringSearchesAfterItemZeroAndWraps) {
  struct Case {
    std::vector<std::string> items;
    std::string find;
    int found, exact;
  };
  const Case cases[] = {
      {{"abc", "x", "y", "ABd"}, "ab", 3, -1},   // match in items 0 and 3: 3
      {{"abc", "x", "y"}, "AB", 0, -1},          // only item 0: 0, after wrapping
      {{"abc", "x", "abc"}, "abc", 2, 2},
      {{"abc", "x"}, "zz", -1, -1},
      {{}, "a", -1, -1},
  };
  Hwnd cb = Make("ComboBox", CBS_DROPDOWNLIST, 301);
  for (const auto& c : cases) {
    CbResetContent(cb);
    for (auto& i : c.items) CbAddString(cb, i);
    EXPECT_EQ(CbFindString(cb, 2, c.find), c.found) << c.find;
    EXPECT_EQ(CbFindStringExact(cb, -1, c.find), c.exact) << c.find;
  }
}

TEST_F(Controls, CbItemTextsSelectionAndDropDownListText) {
  Hwnd cb = Make("ComboBox", CBS_DROPDOWNLIST, 302);
  EXPECT_EQ(CbAddString(cb, "VII-A"), 0);
  EXPECT_EQ(CbAddString(cb, "VIII-B"), 1);
  EXPECT_EQ(CbGetCount(cb), 2);
  EXPECT_EQ(CbGetCurSel(cb), CB_ERR);
  EXPECT_EQ(CtlGetText(cb), "");
  EXPECT_EQ(CbGetItemText(cb, 1), "VIII-B");
  EXPECT_EQ(CbGetItemText(cb, 2), "");
  EXPECT_EQ(CbGetItemText(cb, -1), "");
  EXPECT_EQ(CbSetCurSel(cb, 1), 1);
  EXPECT_EQ(CtlGetText(cb), "VIII-B");
  EXPECT_EQ(CbSetCurSel(cb, 5), CB_ERR);   // outside the items: choice cleared
  EXPECT_EQ(CbGetCurSel(cb), CB_ERR);
  EXPECT_EQ(CtlGetText(cb), "");
}

TEST_F(Controls, CbnSelChangeOnlyOnTheOperatorsChoice) {
  Hwnd cb = Make("ComboBox", CBS_DROPDOWNLIST, 303);
  CbAddString(cb, "a");
  CbAddString(cb, "b");
  CbAddString(cb, "c");
  gHeard.clear();
  CbSetCurSel(cb, 0);
  CbSetCurSel(cb, 2);
  EXPECT_TRUE(Commands(CBN_SELCHANGE).empty());
  auto* combo = dynamic_cast<QComboBox*>(WinWidget(cb));
  combo->setFocus();
  QTest::keyClick(combo, Qt::Key_Up);
  ASSERT_EQ(Commands(CBN_SELCHANGE).size(), 1u);
  EXPECT_EQ(Commands(CBN_SELCHANGE)[0].id, 303);
  EXPECT_EQ(Commands(CBN_SELCHANGE)[0].from, cb);
  EXPECT_EQ(CbGetCurSel(cb), 1);
}

// ---- Edits -----------------------------------------------------------------------------------------------------
TEST_F(Controls, EnChangeOnEveryTextSetEvenTheSameText) {
  for (std::uint32_t style : {0u, static_cast<std::uint32_t>(ES_MULTILINE)}) {
    Hwnd ed = Make("Edit", style, 304);
    gHeard.clear();
    CtlSetText(ed, "Rp 5.000");
    EXPECT_EQ(Commands(EN_CHANGE).size(), 1u);
    TxtSetText(ed, "Rp 5.000");   // unchanged text: still one notification
    EXPECT_EQ(Commands(EN_CHANGE).size(), 2u);
    EXPECT_EQ(CtlGetText(ed), "Rp 5.000");
    EXPECT_EQ(CtlGetTextLength(ed), 8);
    WinDestroyWindow(ed);
  }
  Hwnd ed = Make("Edit", 0, 305);
  gHeard.clear();
  QTest::keyClicks(WinWidget(ed), "12");
  EXPECT_EQ(Commands(EN_CHANGE).size(), 2u);
  EXPECT_EQ(Commands(EN_CHANGE)[0].id, 305);
}

TEST_F(Controls, EditCaseDigitsAndMultiLineEnds) {
  Hwnd lower = Make("Edit", ES_LOWERCASE, 306);
  QTest::keyClicks(WinWidget(lower), "KeTua");
  EXPECT_EQ(CtlGetText(lower), "ketua");
  CtlSetText(lower, "ADMIN");
  EXPECT_EQ(CtlGetText(lower), "admin");
  Hwnd upper = Make("Edit", ES_UPPERCASE, 307);
  gHeard.clear();
  QTest::keyClicks(WinWidget(upper), "vii-a");
  EXPECT_EQ(CtlGetText(upper), "VII-A");
  EXPECT_EQ(Commands(EN_CHANGE).size(), 5u);   // one per character typed
  Hwnd num = Make("Edit", ES_NUMBER, 308);
  QTest::keyClicks(WinWidget(num), "1a2");
  EXPECT_EQ(CtlGetText(num), "12");
  Hwnd multi = Make("Edit", ES_MULTILINE, 309);
  CtlSetText(multi, "baris 1\r\nbaris 2");
  EXPECT_EQ(CtlGetText(multi), "baris 1\r\nbaris 2");
  TxtSetSel(multi, 0, -1);
  Hwnd pass = Make("Edit", ES_PASSWORD, 310);
  EXPECT_EQ(dynamic_cast<QLineEdit*>(WinWidget(pass))->echoMode(), QLineEdit::Password);
}

// EM_LIMITTEXT limits what the operator types, not what the program sets: a computed amount longer than the limit is
// shown whole, never cut, and can still be shortened.
TEST_F(Controls, TheTextLimitHoldsForTypingNotForTextsTheProgramSets) {
  Hwnd amount = Make("Edit", ES_NUMBER, 311);
  WinSendMessage(amount, EM_LIMITTEXT, 12, 0);
  QTest::keyClicks(WinWidget(amount), std::string(20, '9').c_str());
  EXPECT_EQ(CtlGetText(amount), std::string(12, '9'));
  CtlSetText(amount, "11999999999988");   // 12 x 999999999999
  EXPECT_EQ(CtlGetText(amount), "11999999999988");
  QTest::keyClick(WinWidget(amount), Qt::Key_End);
  QTest::keyClick(WinWidget(amount), Qt::Key_5);
  EXPECT_EQ(CtlGetText(amount), "11999999999988");
  QTest::keyClick(WinWidget(amount), Qt::Key_Backspace);
  EXPECT_EQ(CtlGetText(amount), "1199999999998");
  Hwnd code = Make("Edit", 0, 312);
  WinSendMessage(code, EM_LIMITTEXT, 3, 0);
  QTest::keyClicks(WinWidget(code), "1012");
  EXPECT_EQ(CtlGetText(code), "101");
  WinSendMessage(code, EM_LIMITTEXT, 0, 0);   // no limit again
  QTest::keyClicks(WinWidget(code), "23");
  EXPECT_EQ(CtlGetText(code), "10123");
}

// A money edit's limit counts digits, not the separators typed with them; a validator of the window's own still
// decides which characters the edit takes; texts the program sets are taken whole.
TEST_F(Controls, TheDigitLimitCountsDigitsNotSeparators) {
  Hwnd amount = Make("Edit", 0, 313);
  EXPECT_EQ(TxtLimitDigits(amount, 12), 1);
  QTest::keyClicks(WinWidget(amount), "Rp 999.999.999.999");
  EXPECT_EQ(CtlGetText(amount), "Rp 999.999.999.999");
  QTest::keyClicks(WinWidget(amount), "9");
  EXPECT_EQ(CtlGetText(amount), "Rp 999.999.999.999");
  CtlSetText(amount, "");
  QTest::keyClicks(WinWidget(amount), std::string(20, '9').c_str());
  EXPECT_EQ(CtlGetText(amount), std::string(12, '9'));
  CtlSetText(amount, "11999999999988");   // set by the program: whole, and can be shortened
  EXPECT_EQ(CtlGetText(amount), "11999999999988");
  QTest::keyClick(WinWidget(amount), Qt::Key_End);
  QTest::keyClick(WinWidget(amount), Qt::Key_Backspace);
  EXPECT_EQ(CtlGetText(amount), "1199999999998");
  EXPECT_EQ(TxtLimitDigits(amount, 0), 1);   // no limit again
  QTest::keyClicks(WinWidget(amount), "77");
  EXPECT_EQ(CtlGetText(amount), "119999999999877");

  Hwnd own = Make("Edit", 0, 314);
  auto* e = qobject_cast<QLineEdit*>(WinWidget(own));
  ASSERT_NE(e, nullptr);
  e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9.]*")), e));
  TxtLimitDigits(own, 12);
  QTest::keyClicks(e, "1.000.000.000.000x");
  EXPECT_EQ(CtlGetText(own), "1.000.000.000.00");   // the 13th digit and the letter are not taken
  WinSendMessage(own, EM_LIMITTEXT, 5, 0);          // both limits hold
  CtlSetText(own, "");
  QTest::keyClicks(e, "1.2345");
  EXPECT_EQ(CtlGetText(own), "1.234");
  EXPECT_EQ(TxtLimitDigits(0, 12), 0);
}

// ---- Buttons and statics ---------------------------------------------------------------------------------------
TEST_F(Controls, ButtonsClickCheckAndRadioRanges) {
  Hwnd btn = Make("Button", BS_PUSHBUTTON, 311, "Simpan", 80, 24);
  gHeard.clear();
  QTest::mouseClick(WinWidget(btn), Qt::LeftButton);
  ASSERT_EQ(Commands(BN_CLICKED).size(), 1u);
  EXPECT_EQ(Commands(BN_CLICKED)[0].id, 311);

  Hwnd chk = Make("Button", BS_AUTOCHECKBOX, 312, "Default", 80, 24);
  gHeard.clear();
  BtnSetChecked(chk, 1);
  EXPECT_EQ(BtnIsChecked(chk), 1);
  EXPECT_TRUE(Commands(BN_CLICKED).empty());   // no click notification for the program's tick
  QTest::mouseClick(WinWidget(chk), Qt::LeftButton);
  EXPECT_EQ(ChkIsChecked(chk), 0);
  EXPECT_EQ(Commands(BN_CLICKED).size(), 1u);

  Hwnd r1 = Make("Button", static_cast<std::uint32_t>(BS_AUTORADIOBUTTON) | WS_GROUP, 320, "Prabayar", 80, 24);
  Hwnd r2 = Make("Button", BS_AUTORADIOBUTTON, 321, "Pasca", 80, 24);
  Hwnd r3 = Make("Button", BS_AUTORADIOBUTTON, 322, "Lain", 80, 24);
  EXPECT_EQ(BtnCheckRadio(form, 322, 320, 321), 1);   // range given backwards
  EXPECT_EQ(BtnIsChecked(r1), 0);
  EXPECT_EQ(BtnIsChecked(r2), 1);
  EXPECT_EQ(BtnIsChecked(r3), 0);
  BtnCheckRadio(form, 320, 322, 320);
  EXPECT_EQ(BtnIsChecked(r1), 1);
  EXPECT_EQ(BtnIsChecked(r2), 0);
}

TEST_F(Controls, NotifyingStaticReportsClicksAndShowsPictures) {
  fintest::TempDir dir;
  Hwnd st = Make("Static", SS_NOTIFY | SS_BITMAP, 313, "", 130, 150);
  gHeard.clear();
  QTest::mouseClick(WinWidget(st), Qt::LeftButton);
  ASSERT_EQ(Commands(0).size(), 1u);   // STN_CLICKED
  EXPECT_EQ(Commands(0)[0].id, 313);

  QImage img(20, 10, QImage::Format_RGB32);
  img.fill(Qt::red);
  ASSERT_TRUE(img.save(QString::fromStdString(dir.file("foto.bmp")), "BMP"));
  EXPECT_EQ(CtlSetBitmapFile(st, dir.file("foto.bmp")), 0);
  auto* label = dynamic_cast<QLabel*>(WinWidget(st));
  EXPECT_EQ(label->pixmap().size(), QSize(130, 150));
  EXPECT_EQ(CtlSetBitmapFile(st, dir.file("tidak-ada.bmp")), 1);   // replaced: the picture is cleared
  EXPECT_TRUE(label->pixmap().isNull());
  EXPECT_EQ(CtlSetBitmapFile(st, ""), 0);
}

// ---- Date picker -----------------------------------------------------------------------------------------------
TEST_F(Controls, DtpSetDateReadsYearMonthDay) {
  Hwnd dt = Make("SysDateTimePick32", DTS_SHORTDATEFORMAT, 314, "", 120, 24);
  gHeard.clear();
  EXPECT_NE(DtpSetDate(dt, "2021-03-05"), 0);
  auto* d = dynamic_cast<QDateTimeEdit*>(WinWidget(dt));
  EXPECT_EQ(d->date(), QDate(2021, 3, 5));
  EXPECT_EQ(d->time(), QTime(0, 0));
  EXPECT_TRUE(Notes(DTN_DATETIMECHANGE).empty());   // the program's date is not a change by the operator
  EXPECT_EQ(DtpSetDate(dt, "2021-02-30"), 0);        // no such day: the date stays
  EXPECT_EQ(d->date(), QDate(2021, 3, 5));
  EXPECT_EQ(CtlGetText(dt), d->text().toStdString());
  d->setFocus();
  QTest::keyClick(d, Qt::Key_Up);
  EXPECT_FALSE(Notes(DTN_DATETIMECHANGE).empty());
}

// ---- Status bar ------------------------------------------------------------------------------------------------
TEST_F(Controls, StatusBarPartsTextsAndLengths) {
  Hwnd sb = Make("msctls_statusbar32", 0, 4999);
  EXPECT_EQ(SbSetParts(sb, {50, 150, 225, -1}), 1);
  EXPECT_EQ(SbGetParts(sb), (std::vector<int>{50, 150, 225, -1}));
  EXPECT_EQ(SbSetText(sb, 0, "User:", SBT_POPOUT), 1);
  EXPECT_EQ(SbSetText(sb, 1, "ketua", 0), 1);
  EXPECT_EQ(SbSetText(sb, 4, "no part", 0), 0);
  EXPECT_EQ(SbGetText(sb, 1), "ketua");
  EXPECT_EQ(SbGetText(sb, 0), "User:");
  EXPECT_EQ(SbGetText(sb, 3), "");
  EXPECT_EQ(SbGetText(sb, 9), "");
  EXPECT_EQ(LOWORD(SbGetTextLength(sb, 0)), 5u);
  EXPECT_EQ(HIWORD(SbGetTextLength(sb, 0)), static_cast<unsigned>(SBT_POPOUT));
  EXPECT_EQ(SbGetTextInfo(sb, 1), 5);
  auto* bar = dynamic_cast<FinStatusBar*>(WinWidget(sb));
  EXPECT_EQ(bar->partRect(1).left(), 50);
  EXPECT_EQ(bar->partRect(1).width(), 100);
  EXPECT_EQ(bar->partRect(3).right() + 1, bar->width());   // the last part reaches the right border
  QWidget* parent = bar->parentWidget();
  EXPECT_EQ(bar->geometry().bottom() + 1, parent->height());   // docked at the bottom

  // The same message sent to a progress bar sets its position.
  Hwnd pb = Make("msctls_progress32", 0, 315, "", 200, 20);
  PbSetRange(pb, 1, 100);
  EXPECT_EQ(SbGetTextInfo(pb, 25), 1);
  EXPECT_EQ(PbGetPos(pb), 25);
  EXPECT_EQ(SbGetTextInfo(pb, 50), 25);
}

// ---- Toolbar ---------------------------------------------------------------------------------------------------
TEST_F(Controls, ToolbarButtonClickReachesTheFormAsCommand) {
  Hwnd rb = Make("ReBarWindow32", CCS_TOP | RBS_AUTOSIZE | RBS_TOOLTIPS, 5000, "", 600, 30);
  Hwnd tb = WinCreateWindow(0, "ToolbarWindow32", "",
                            WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS | CCS_NORESIZE |
                                CCS_NOPARENTALIGN,
                            0, 0, 0, 0, form, 5100, 0);
  ASSERT_NE(tb, 0);
  TbSetIconSize(tb, 48, 48);
  EXPECT_EQ(TbAddButton(tb, 5101, QIcon(), "Pembayaran", "Pembayaran Siswa"), 1);
  TbAddSeparator(tb);
  EXPECT_EQ(TbAddButton(tb, 5108, QIcon(), "Lap. Pembayaran", "Laporan Penerimaan Pembayaran", 1), 1);
  TbAutoSize(tb);
  EXPECT_EQ(RbInsertBand(rb, tb, 30, 250), 1);
  EXPECT_EQ(TbGetButtonCount(tb), 3);
  EXPECT_EQ(TbGetButtonTip(tb, 5108), "Laporan Penerimaan Pembayaran");
  EXPECT_GE(CtlGetHeight(rb), CtlGetHeight(tb));
  gHeard.clear();
  auto* bar = dynamic_cast<QToolBar*>(WinWidget(tb));
  QAction* act = nullptr;
  for (QAction* a : bar->actions())
    if (a->data().toInt() == 5108) act = a;
  ASSERT_NE(act, nullptr);
  QTest::mouseClick(bar->widgetForAction(act), Qt::LeftButton);
  ASSERT_EQ(gHeard.size(), 1u);
  EXPECT_EQ(gHeard[0].msg, static_cast<unsigned>(WM_COMMAND));
  EXPECT_EQ(gHeard[0].id, 5108);
  EXPECT_EQ(gHeard[0].code, 0);
  EXPECT_EQ(gHeard[0].from, tb);
  EXPECT_EQ(TbClickButton(tb, 5101), 1);
  EXPECT_EQ(gHeard.back().id, 5101);
}

// ---- List views ------------------------------------------------------------------------------------------------
TEST_F(Controls, LvInsertItemOnALaterColumnSetsTheImageEvenWhenItIsZero) {
  Hwnd lv = MakeList(0, 1, 3);
  EXPECT_EQ(LvInsertItem(lv, 0, 1, "x", 0, 5), 1);
  EXPECT_EQ(LvGetItemImage(lv, 0, 1), 5);
  EXPECT_EQ(LvInsertItem(lv, 0, 1, "y", 0, 0), 1);   // the cell's image goes back to 0
  EXPECT_EQ(LvGetItemText(lv, 0, 1), "y");
  EXPECT_EQ(LvGetItemImage(lv, 0, 1), 0);
  EXPECT_EQ(LvInsertItem(lv, 0, 2, "z", 0, 0), 1);   // a cell that had none
  EXPECT_EQ(LvGetItemImage(lv, 0, 2), 0);
}

TEST_F(Controls, RowsGoIntoAListWithoutColumns) {
  Hwnd lv = MakeList(0, 0, 0);
  EXPECT_EQ(LvInsertItem(lv, 0, 0, "Total", 3, 0), 0);
  EXPECT_EQ(LvInsertItem(lv, 5, 0, "Total", 3, 0), 1);
  EXPECT_EQ(LvGetItemCount(lv), 2);
  EXPECT_EQ(LvGetItemText(lv, 0, 0), "");   // no cell holds the text
  LvInsertColumn(lv, 0, "K0", LVCFMT_LEFT, 80);
  EXPECT_EQ(LvInsertItem(lv, 2, 0, "Jumlah", 0, 0), 2);
  EXPECT_EQ(LvGetItemText(lv, 2, 0), "Jumlah");
}

TEST_F(Controls, LvInsertReadAndDeleteRows) {
  Hwnd lv = MakeList(0, 3, 3);
  EXPECT_EQ(LvGetItemCount(lv), 3);
  EXPECT_EQ(LvGetColumnCount(lv), 3);
  EXPECT_EQ(LvGetColumnText(lv, 2), "K2");
  EXPECT_EQ(LvInsertColumn(lv, 9, "tersembunyi", LVCFMT_LEFT, 0), 3);   // past the end: appended; width 0 hides it
  EXPECT_EQ(LvGetColumnWidth(lv, 3), 0);
  EXPECT_EQ(LvGetColumnCount(lv), 4);
  EXPECT_EQ(LvInsertItem(lv, 99, 0, "akhir", 7, 0), 3);   // past the end: appended
  EXPECT_EQ(LvInsertItem(lv, 1, 0, "sisip", 8, 0), 1);
  EXPECT_EQ(LvGetItemText(lv, 1, 0), "sisip");
  EXPECT_EQ(LvGetItemText(lv, 2, 1), "c11");   // the row that was row 1
  EXPECT_EQ(LvGetItemData(lv, 4, 0), 7);
  EXPECT_EQ(LvInsertItem(lv, 9, 1, "x", 0, 0), 0);   // no such row
  EXPECT_EQ(LvInsertItem(lv, 0, 5, "x", 0, 0), 0);   // no such column
  EXPECT_EQ(LvSetItemText(lv, 0, 2, "Rp 1.000"), 1);
  EXPECT_EQ(LvGetItemText(lv, 0, 2), "Rp 1.000");
  EXPECT_EQ(LvGetItemText(lv, 0, 3), "");
  EXPECT_EQ(LvGetItemText(lv, 8, 0), "");
  EXPECT_EQ(LvDeleteItem(lv, -1), 0);
  EXPECT_EQ(LvDeleteItem(lv, 1), 1);
  EXPECT_EQ(LvGetItemText(lv, 1, 0), "r1");
  EXPECT_EQ(LvSetColumnAlign(lv, 1, LVCFMT_RIGHT), 1);
  EXPECT_EQ(LvGetColumnAlign(lv, 1), 1);
  LvSetColumnAlign(lv, 2, LVCFMT_CENTER);
  EXPECT_EQ(LvGetColumnAlign(lv, 2), 2);
  EXPECT_EQ(LvGetColumnAlign(lv, 0), 0);
  EXPECT_EQ(LvGetColumnAlign(lv, 7), 0);
  EXPECT_EQ(LvDeleteAllItems(lv), 1);
  EXPECT_EQ(LvGetItemCount(lv), 0);
  EXPECT_EQ(LvGetSelectionMark(lv), -1);
  EXPECT_EQ(LvDeleteAllColumns(lv), 0);
  EXPECT_EQ(LvGetColumnCount(lv), 0);
}

// A report rebuilt in the same list: the columns go while the rows are still there. The rows stay (without cells),
// the selection mark too, and new columns start empty with their own alignment.
TEST_F(Controls, LvDeleteAllColumnsWithRowsKeepsTheRows) {
  Hwnd lv = MakeList(0, 4, 3);
  LvSetColumnAlign(lv, 1, LVCFMT_RIGHT);
  LvSetSelectionMark(lv, 2);
  EXPECT_EQ(LvDeleteAllColumns(lv), 0);
  EXPECT_EQ(LvGetColumnCount(lv), 0);
  EXPECT_EQ(LvGetItemCount(lv), 4);
  EXPECT_EQ(LvGetSelectionMark(lv), 2);
  EXPECT_EQ(LvGetColumnText(lv, 0), "");
  EXPECT_EQ(LvInsertColumn(lv, 0, "Baru", LVCFMT_LEFT, 80), 0);
  EXPECT_EQ(LvInsertColumn(lv, 1, "Jumlah", LVCFMT_CENTER, 80), 1);
  EXPECT_EQ(LvGetColumnAlign(lv, 1), 2);
  EXPECT_EQ(LvGetItemText(lv, 0, 0), "");
  EXPECT_EQ(LvGetItemText(lv, 3, 1), "");
  EXPECT_EQ(LvSetItemText(lv, 3, 1, "5.000"), 1);
  EXPECT_EQ(LvGetItemText(lv, 3, 1), "5.000");
  EXPECT_EQ(LvDeleteAllColumns(lv), 0);
  EXPECT_EQ(LvDeleteAllColumns(lv), 0);   // none left: nothing happens
  EXPECT_EQ(LvGetColumnCount(lv), 0);
  EXPECT_EQ(LvDeleteAllItems(lv), 1);
  EXPECT_EQ(LvGetItemCount(lv), 0);
}

// A large report cleared and rebuilt: the same, and its old cells are freed once the program is idle again.
TEST_F(Controls, LargeListsClearAndFillAtOnce) {
  Hwnd lv = MakeList(LVS_SHOWSELALWAYS, 0, 8);
  std::vector<std::vector<std::string>> rows;
  for (int r = 0; r < 3000; ++r)
    rows.push_back({"r" + std::to_string(r), "", "c" + std::to_string(r), "", "", "", "", "akhir"});
  rows[5].resize(2);   // a short row: its other cells stay empty
  rows[6].push_back("lebih");   // a cell beyond the last column is not kept
  EXPECT_EQ(LvInsertItem(lv, 0, 0, "ada", 9, 0), 0);
  EXPECT_EQ(LvAppendRows(lv, rows), 1);
  ASSERT_EQ(LvGetItemCount(lv), 3001);
  EXPECT_EQ(LvGetItemText(lv, 0, 0), "ada");
  EXPECT_EQ(LvGetItemData(lv, 0, 0), 9);
  EXPECT_EQ(LvGetItemText(lv, 3000, 0), "r2999");
  EXPECT_EQ(LvGetItemText(lv, 3000, 2), "c2999");
  EXPECT_EQ(LvGetItemText(lv, 3000, 7), "akhir");
  EXPECT_EQ(LvGetItemData(lv, 3000, 0), 0);
  EXPECT_EQ(LvGetItemText(lv, 6, 1), "");
  EXPECT_EQ(LvGetItemText(lv, 6, 7), "");
  EXPECT_EQ(LvGetItemText(lv, 7, 7), "akhir");

  LvSetSelectionMark(lv, 1);
  EXPECT_EQ(LvDeleteAllColumns(lv), 0);
  EXPECT_EQ(LvGetColumnCount(lv), 0);
  EXPECT_EQ(LvGetItemCount(lv), 3001);
  EXPECT_EQ(LvGetSelectionMark(lv), 1);
  LvInsertColumn(lv, 0, "Baru", LVCFMT_LEFT, 80);
  EXPECT_EQ(LvGetItemText(lv, 3000, 0), "");
  QApplication::processEvents();   // the old cells go
  EXPECT_EQ(LvDeleteAllItems(lv), 1);
  EXPECT_EQ(LvGetItemCount(lv), 0);
  LvSetSelectionMark(lv, 0);
  EXPECT_EQ(LvAppendRows(lv, {{"satu"}, {"dua"}}), 1);
  EXPECT_EQ(LvGetItemText(lv, 1, 0), "dua");
  EXPECT_EQ(LvGetSelectionMark(lv), 2);   // the mark moves on with every row added, as LvInsertItem moves it
  QApplication::processEvents();
  EXPECT_EQ(LvAppendRows(0, {{"x"}}), 0);
}

// A row appended in one call is the row LvInsertItem of column 0 and of each further cell makes, cell by cell.
TEST_F(Controls, LvAppendRowMakesWhatInsertingCellByCellMakes) {
  const std::vector<std::vector<std::string>> table = {
      {"satu", "dua", "tiga", "empat"},
      {"", "", "", ""},                       // every cell empty
      {"awal", "", "", "akhir"},              // empty cells in between
      {"", "x"},                              // a short row, column 0 empty
      {"a", "b", "c", "d", "lebih", "lagi"},  // cells beyond the last column are not kept
      {},                                     // no cells at all
      {std::string(300, 'p'), "q"}};          // a long text reads back cut as before
  for (int cols : {4, 1, 0}) {
    SCOPED_TRACE(cols);
    Hwnd byCells = MakeList(0, 2, cols), byRow = MakeList(0, 2, cols);
    LvSetSelectionMark(byCells, 5);   // a mark past the rows moves on with every row added, as before
    LvSetSelectionMark(byRow, 5);
    for (const auto& cells : table) {
      const int at = LvInsertItem(byCells, LvGetItemCount(byCells), 0, cells.empty() ? "" : cells[0], 0, 0);
      for (std::size_t c = 1; c < cells.size(); ++c) LvInsertItem(byCells, at, static_cast<int>(c), cells[c], 0, 0);
      const std::vector<std::string_view> views(cells.begin(), cells.end());
      EXPECT_EQ(LvAppendRow(byRow, views.data(), views.size()), at);
    }
    ASSERT_EQ(LvGetItemCount(byRow), LvGetItemCount(byCells));
    EXPECT_EQ(LvGetSelectionMark(byRow), LvGetSelectionMark(byCells));
    for (int r = 0; r < LvGetItemCount(byRow); ++r)
      for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(LvGetItemText(byRow, r, c), LvGetItemText(byCells, r, c)) << r << "," << c;
        EXPECT_EQ(LvGetItemImage(byRow, r, c), LvGetItemImage(byCells, r, c)) << r << "," << c;
        EXPECT_EQ(LvGetItemData(byRow, r, c), LvGetItemData(byCells, r, c)) << r << "," << c;
      }
    if (cols == 4) {
      EXPECT_EQ(LvGetItemText(byRow, 4, 3), "akhir");
      EXPECT_EQ(LvGetItemText(byRow, 6, 3), "d");
      EXPECT_EQ(LvGetItemText(byRow, 8, 0).size(), 259u);
    }
    QApplication::processEvents();   // the rows reach the view
    auto* v = dynamic_cast<QTableView*>(WinWidget(byRow));
    EXPECT_EQ(v->model()->rowCount(), LvGetItemCount(byRow));
  }
  const std::string_view one[] = {"x"};
  EXPECT_EQ(LvAppendRow(0, one, 1), 0);
}

// Rewriting columns in one pass gives what reading and setting each of their cells gives, on rows the view already
// shows (their painted text changes too) and on rows it does not know yet.
TEST_F(Controls, LvRewriteColumnsGivesWhatEachCellReadAndSetGives) {
  const std::vector<std::vector<std::string>> table = {
      {"1", "Ani", "1500000", ""},
      {"", "", "", "-25000"},
      {"x"},                                    // cells missing at the end
      {"2", "Budi", std::string(300, '7'), "9"}};   // a long cell is read cut, as LvGetItemText reads it
  auto rewrite = [](int col, std::string_view text, std::string& out) {
    out = "[" + std::to_string(col) + ":" + std::string(text) + "]";
    if (col == 3 && text.empty()) out += std::string("\0hidden", 7);   // a text ends at its first NUL
  };
  Hwnd byCells = MakeList(0, 0, 4), byPass = MakeList(0, 0, 4);
  for (Hwnd lv : {byCells, byPass})
    for (const auto& cells : table) {
      const std::vector<std::string_view> views(cells.begin(), cells.end());
      LvAppendRow(lv, views.data(), views.size());
    }
  QApplication::processEvents();   // the first rows reach the view
  for (Hwnd lv : {byCells, byPass}) {
    const std::string_view more[] = {"3", "Citra", "0"};
    LvAppendRow(lv, more, 3);   // one row the view does not know yet
  }
  const std::vector<int> cols = {3, 2, 7, -1};   // columns that do not exist are passed over
  for (int r = 0; r < LvGetItemCount(byCells); ++r)
    for (int c : {2, 3}) {
      std::string out;
      rewrite(c, LvGetItemText(byCells, r, c), out);
      LvSetItemText(byCells, r, c, out);
    }
  EXPECT_EQ(LvRewriteColumns(byPass, cols, rewrite), 1);
  ASSERT_EQ(LvGetItemCount(byPass), 5);
  for (int r = 0; r < 5; ++r)
    for (int c = 0; c < 5; ++c) EXPECT_EQ(LvGetItemText(byPass, r, c), LvGetItemText(byCells, r, c)) << r << "," << c;
  EXPECT_EQ(LvGetItemText(byPass, 1, 3), "[3:-25000]");
  EXPECT_EQ(LvGetItemText(byPass, 2, 3), "[3:]");
  EXPECT_EQ(LvGetItemText(byPass, 3, 2).size(), 259u);
  EXPECT_EQ(LvGetItemText(byPass, 3, 2).substr(0, 7), "[2:7777");
  auto* v = dynamic_cast<QTableView*>(WinWidget(byPass));
  EXPECT_EQ(v->model()->index(0, 2).data().toString(), "[2:1500000]");
  EXPECT_EQ(v->model()->index(0, 1).data().toString(), "Ani");
  EXPECT_EQ(LvRewriteColumns(0, cols, rewrite), 0);
}

TEST_F(Controls, LvSelectItemKeepsEarlierSelectionOnMultiSelectLists) {
  Hwnd multi = MakeList(0, 5);
  EXPECT_EQ(LvGetSelectionMark(multi), -1);
  gHeard.clear();
  EXPECT_EQ(LvSelectItem(multi, 1), -1);
  ASSERT_FALSE(Notes(LVN_ITEMCHANGED).empty());   // the program's selection is reported as the operator's is
  EXPECT_EQ(Notes(LVN_ITEMCHANGED)[0].item, 1);
  EXPECT_EQ(LvSelectItem(multi, 3), 1);   // previous mark
  EXPECT_EQ(LvGetSelectionMark(multi), 3);
  EXPECT_EQ(LvIsSelected(multi, 1), 1);
  EXPECT_EQ(LvIsSelected(multi, 3), 1);
  EXPECT_EQ(LvGetSelectedCount(multi), 2);

  Hwnd single = MakeList(LVS_SINGLESEL, 5);
  LvSelectItem(single, 1);
  LvSelectItem(single, 3);
  EXPECT_EQ(LvIsSelected(single, 1), 0);
  EXPECT_EQ(LvIsSelected(single, 3), 1);
}

TEST_F(Controls, LvClicksKeysAndSelectionNotifications) {
  Hwnd lv = MakeList(LVS_SINGLESEL, 4);
  auto* v = dynamic_cast<QTableView*>(WinWidget(lv));
  gHeard.clear();
  QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, RowPoint(lv, 2));
  EXPECT_EQ(LvGetSelectionMark(lv), 2);
  bool selected2 = false;
  for (auto& h : Notes(LVN_ITEMCHANGED))
    if (h.item == 2 && (h.newState & LVIS_SELECTED) && !(h.oldState & LVIS_SELECTED)) selected2 = true;
  EXPECT_TRUE(selected2);
  ASSERT_EQ(Notes(NM_CLICK).size(), 1u);
  EXPECT_EQ(Notes(NM_CLICK)[0].item, 2);
  EXPECT_EQ(Notes(NM_CLICK)[0].id, 300);

  gHeard.clear();
  QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, RowPoint(lv, 2));
  ASSERT_EQ(Notes(NM_DBLCLK).size(), 1u);
  EXPECT_EQ(Notes(NM_DBLCLK)[0].item, 2);

  gHeard.clear();
  v->setFocus();
  QTest::keyClick(v, Qt::Key_Down);
  ASSERT_FALSE(Notes(LVN_KEYDOWN).empty());
  EXPECT_EQ(Notes(LVN_KEYDOWN)[0].vk, VK_DOWN);
  EXPECT_EQ(LvGetSelectionMark(lv), 3);
  QTest::keyClick(v, Qt::Key_Return);
  EXPECT_EQ(Notes(NM_RETURN).size(), 1u);

  gHeard.clear();
  LvDeleteAllItems(lv);   // clearing the list tells nothing
  EXPECT_TRUE(Notes(LVN_ITEMCHANGED).empty());
}

// The keys move the focus, the selection mark and the highlighted selection together, in single- and multi-select
// lists alike: Ctrl with an arrow, Home or End selects the row it goes to as the key alone does; Home and End go to
// the first and the last row; Shift still extends a multi-select list's selection.
TEST_F(Controls, LvKeysMoveFocusMarkAndSelectionTogether) {
  struct Case {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int row;        // focus and mark afterwards, from row 1 of 5
    int selected;   // rows highlighted afterwards
  } cases[] = {
      {"Ctrl+End", Qt::Key_End, Qt::ControlModifier, 4, 1},   {"Ctrl+Home", Qt::Key_Home, Qt::ControlModifier, 0, 1},
      {"Ctrl+Down", Qt::Key_Down, Qt::ControlModifier, 2, 1}, {"Ctrl+Up", Qt::Key_Up, Qt::ControlModifier, 0, 1},
      {"End", Qt::Key_End, Qt::NoModifier, 4, 1},              {"Home", Qt::Key_Home, Qt::NoModifier, 0, 1},
      {"Shift+End", Qt::Key_End, Qt::ShiftModifier, 4, 4},
  };
  for (std::uint32_t style : {std::uint32_t(LVS_SINGLESEL), std::uint32_t(0)}) {
    Hwnd lv = MakeList(style, 5);
    LvSetExtendedStyle(lv, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    auto* v = dynamic_cast<QTableView*>(WinWidget(lv));
    ASSERT_NE(v, nullptr);
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (style ? " single" : " multi"));
      QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, RowPoint(lv, 1));
      ASSERT_EQ(LvGetSelectionMark(lv), 1);
      gHeard.clear();
      QTest::keyClick(v, c.key, c.modifiers);
      EXPECT_EQ(LvGetSelectionMark(lv), c.row);
      EXPECT_EQ(v->currentIndex().row(), c.row);
      EXPECT_EQ(LvIsSelected(lv, c.row), 1);
      EXPECT_EQ(LvGetSelectedCount(lv), style ? 1 : c.selected);
      bool told = c.row == 1;   // a row selected by a key is told as a click's is
      for (auto& h : Notes(LVN_ITEMCHANGED))
        if (h.item == c.row && (h.newState & LVIS_SELECTED) && !(h.oldState & LVIS_SELECTED)) told = true;
      EXPECT_TRUE(told);
    }
    // Home and End on an empty list do nothing.
    LvDeleteAllItems(lv);
    QTest::keyClick(v, Qt::Key_End);
    QTest::keyClick(v, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(LvGetSelectedCount(lv), 0);
    EXPECT_EQ(LvGetSelectionMark(lv), -1);
  }
}

// A big list filled row by row, as the shared fill callback does: every cell reads back at once, and the view knows
// every row as soon as anything asks it (a click on the last row works before the program is back in its loop).
TEST_F(Controls, LvBigListReadsBackBeforeAndAfterTheViewShowsIt) {
  Hwnd lv = MakeList(LVS_SHOWSELALWAYS, 0, 4);
  auto* v = dynamic_cast<QTableView*>(WinWidget(lv));
  ASSERT_NE(v, nullptr);
  const int n = 20000;
  for (int r = 0; r < n; ++r) {
    EXPECT_EQ(LvInsertItem(lv, LvGetItemCount(lv), 0, "S" + std::to_string(r), r, 0), r);
    for (int c = 1; c < 4; ++c) LvInsertItem(lv, LvGetItemCount(lv) - 1, c, std::to_string(r * 10 + c), 0, 0);
  }
  ASSERT_EQ(LvGetItemCount(lv), n);
  EXPECT_EQ(LvGetItemText(lv, n - 1, 0), "S19999");
  EXPECT_EQ(LvGetItemText(lv, n - 1, 3), "199993");
  EXPECT_EQ(LvGetItemData(lv, 12345, 0), 12345);
  EXPECT_EQ(v->model()->rowCount(), n);
  EXPECT_EQ(v->model()->data(v->model()->index(n - 1, 2)).toString(), QStringLiteral("199992"));
  v->scrollToBottom();
  gHeard.clear();
  QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, RowPoint(lv, n - 1));
  EXPECT_EQ(LvGetSelectionMark(lv), n - 1);
  ASSERT_EQ(Notes(NM_CLICK).size(), 1u);
  EXPECT_EQ(Notes(NM_CLICK)[0].item, n - 1);
  QApplication::processEvents();
  EXPECT_EQ(LvGetItemText(lv, 0, 1), "1");
  EXPECT_EQ(LvGetItemCount(lv), n);
}

// The wrappers keep the list they last found only while its handle stands: a handle let go of reads as no window.
TEST_F(Controls, LvWrappersLetGoOfAListWhoseHandleIsForgotten) {
  Hwnd lv = MakeList(0, 3);
  Hwnd other = MakeList(0, 1);
  EXPECT_EQ(LvGetItemCount(lv), 3);
  EXPECT_EQ(LvGetItemCount(other), 1);
  EXPECT_EQ(LvGetItemCount(lv), 3);   // the last list found is this one
  WinForgetHandle(lv);
  EXPECT_EQ(LvGetItemCount(lv), 0);
  EXPECT_EQ(LvInsertItem(lv, 0, 0, "x", 0, 0), 0);
  EXPECT_EQ(LvGetItemText(lv, 0, 0), "");
  EXPECT_EQ(LvGetItemCount(other), 1);
}

// A list rebuilt in its window: the old selection goes without a word, the mark reads -1, and a row selected in the
// new rows is told with that row's own data.
TEST_F(Controls, LvSelectionAfterARebuild) {
  Hwnd lv = MakeList(0, 6);
  LvSelectItem(lv, 4);
  ASSERT_EQ(LvGetSelectedCount(lv), 1);
  gHeard.clear();
  EXPECT_EQ(LvDeleteAllItems(lv), 1);
  EXPECT_TRUE(Notes(LVN_ITEMCHANGED).empty());
  EXPECT_EQ(LvGetSelectionMark(lv), -1);
  EXPECT_EQ(LvGetSelectedCount(lv), 0);
  for (int r = 0; r < 3; ++r) LvInsertItem(lv, r, 0, "baru" + std::to_string(r), 500 + r, 0);
  EXPECT_EQ(LvGetSelectedCount(lv), 0);
  EXPECT_EQ(LvIsSelected(lv, 1), 0);
  EXPECT_EQ(LvGetNextSelected(lv, -1), -1);
  gHeard.clear();
  EXPECT_EQ(LvSelectItem(lv, 2), -1);
  EXPECT_EQ(LvGetSelectionMark(lv), 2);
  EXPECT_EQ(LvGetNextSelected(lv, -1), 2);
  ASSERT_EQ(Notes(LVN_ITEMCHANGED).size(), 1u);
  EXPECT_EQ(Notes(LVN_ITEMCHANGED)[0].item, 2);
  EXPECT_EQ(Notes(LVN_ITEMCHANGED)[0].data, 502);
  // A row inserted above the mark moves it down; the row deleted under it clears it.
  LvInsertItem(lv, 0, 0, "atas", 0, 0);
  EXPECT_EQ(LvGetSelectionMark(lv), 3);
  EXPECT_EQ(LvGetItemText(lv, 3, 0), "baru2");
  EXPECT_EQ(LvIsSelected(lv, 3), 1);
  LvDeleteItem(lv, 3);
  EXPECT_EQ(LvGetSelectionMark(lv), -1);
  EXPECT_EQ(LvGetItemCount(lv), 3);
}

// Check states set every way there is read back the same, each change told once with the row's data, none for a
// state that does not change; a rebuild starts unticked, and check boxes turned off and on again start unticked.
TEST_F(Controls, LvCheckStatesRoundTrip) {
  Hwnd lv = MakeList(0, 4);
  LvSetExtendedStyle(lv, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  auto* v = dynamic_cast<QTableView*>(WinWidget(lv));
  ASSERT_NE(v, nullptr);
  struct Case {
    const char* how;
    int row;
    bool on;
    std::function<void(int, bool)> set;
  };
  const std::vector<Case> cases = {
      {"LvSetCheck", 1, true, [&](int r, bool on) { LvSetCheck(lv, r, on); }},
      {"the view's model", 2, true,
       [&](int r, bool on) { v->model()->setData(v->model()->index(r, 0), on ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole); }},
      {"the space key", 3, true,
       [&](int r, bool) {
         v->setCurrentIndex(v->model()->index(r, 0));
         QTest::keyClick(v, Qt::Key_Space);
       }},
      {"LvSetCheck off", 1, false, [&](int r, bool on) { LvSetCheck(lv, r, on); }},
      {"the space key off", 3, false,
       [&](int r, bool) {
         v->setCurrentIndex(v->model()->index(r, 0));
         QTest::keyClick(v, Qt::Key_Space);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    gHeard.clear();
    c.set(c.row, c.on);
    EXPECT_EQ(LvGetCheck(lv, c.row), c.on ? -1 : -2);
    EXPECT_EQ(v->model()->data(v->model()->index(c.row, 0), Qt::CheckStateRole).toInt(),
              c.on ? Qt::Checked : Qt::Unchecked);
    int told = 0;
    for (auto& h : Notes(LVN_ITEMCHANGED))
      if (h.item == c.row && (h.newState & LVIS_STATEIMAGEMASK) != (h.oldState & LVIS_STATEIMAGEMASK)) {
        ++told;
        EXPECT_EQ(h.newState & LVIS_STATEIMAGEMASK, c.on ? 0x2000u : 0x1000u);
        EXPECT_EQ(h.oldState & LVIS_STATEIMAGEMASK, c.on ? 0x1000u : 0x2000u);
        EXPECT_EQ(h.data, 100 + c.row);
      }
    EXPECT_EQ(told, 1);
  }
  gHeard.clear();
  LvSetCheck(lv, 2, 1);   // already ticked: nothing to tell
  EXPECT_TRUE(Notes(LVN_ITEMCHANGED).empty());
  EXPECT_EQ(LvGetCheck(lv, 0), -2);
  EXPECT_EQ(LvGetCheck(lv, 2), -1);

  LvDeleteAllItems(lv);
  for (int r = 0; r < 3; ++r) LvInsertItem(lv, r, 0, "r", 0, 0);
  for (int r = 0; r < 3; ++r) EXPECT_EQ(LvGetCheck(lv, r), -2) << r;
  LvSetCheck(lv, 0, 1);
  LvSetExtendedStyle(lv, LVS_EX_FULLROWSELECT);   // no check boxes: every row reads as ticked, as Windows gives it
  EXPECT_EQ(LvGetCheck(lv, 1), -1);
  EXPECT_EQ(LvSetCheck(lv, 1, 1), 0);
  EXPECT_FALSE(v->model()->data(v->model()->index(0, 0), Qt::CheckStateRole).isValid());
  LvSetExtendedStyle(lv, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  EXPECT_EQ(LvGetCheck(lv, 0), -2);
}

// A column inserted between others while rows are there: the later cells, captions, alignments and widths move right
// with their columns; a click on a header tells the column clicked.
TEST_F(Controls, LvColumnInsertedBetweenOthersAndColumnClicks) {
  Hwnd lv = Make("SysListView32", LVS_REPORT, 300);
  LvInsertColumn(lv, 0, "Id", LVCFMT_LEFT, 60);
  LvInsertColumn(lv, 1, "Nama", LVCFMT_LEFT, 150);
  LvInsertColumn(lv, 2, "Jumlah", LVCFMT_RIGHT, 90);
  for (int r = 0; r < 3; ++r) {
    LvInsertItem(lv, r, 0, "S" + std::to_string(r), 0, 0);
    LvInsertItem(lv, r, 1, "Nama " + std::to_string(r), 0, 0);
    LvInsertItem(lv, r, 2, std::to_string(1000 * (r + 1)), 0, 0);
  }
  EXPECT_EQ(LvInsertColumn(lv, 1, "Kelas", LVCFMT_CENTER, 70), 1);
  EXPECT_EQ(LvGetColumnCount(lv), 4);
  const std::vector<std::string> captions = {"Id", "Kelas", "Nama", "Jumlah"};
  const std::vector<int> widths = {60, 70, 150, 90};
  const std::vector<int> aligns = {0, 2, 0, 1};
  for (int c = 0; c < 4; ++c) {
    SCOPED_TRACE(c);
    EXPECT_EQ(LvGetColumnText(lv, c), captions[static_cast<size_t>(c)]);
    EXPECT_EQ(LvGetColumnWidth(lv, c), widths[static_cast<size_t>(c)]);
    EXPECT_EQ(LvGetColumnAlign(lv, c), aligns[static_cast<size_t>(c)]);
  }
  EXPECT_EQ(LvGetItemText(lv, 2, 0), "S2");
  EXPECT_EQ(LvGetItemText(lv, 2, 1), "");
  EXPECT_EQ(LvGetItemText(lv, 2, 2), "Nama 2");
  EXPECT_EQ(LvGetItemText(lv, 2, 3), "3000");
  EXPECT_EQ(LvSetItemText(lv, 2, 1, "TK A"), 1);
  EXPECT_EQ(LvGetItemText(lv, 2, 1), "TK A");
  EXPECT_EQ(LvGetItemText(lv, 2, 2), "Nama 2");

  auto* v = dynamic_cast<QTableView*>(WinWidget(lv));
  ASSERT_NE(v, nullptr);
  QHeaderView* header = v->horizontalHeader();
  for (int c : {2, 0, 3}) {
    SCOPED_TRACE(c);
    gHeard.clear();
    const QPoint at(header->sectionViewportPosition(c) + header->sectionSize(c) / 2, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    ASSERT_EQ(Notes(LVN_COLUMNCLICK).size(), 1u);
    EXPECT_EQ(Notes(LVN_COLUMNCLICK)[0].subItem, c);
  }
  auto* list = dynamic_cast<FinListView*>(WinWidget(lv));
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(list->deleteColumnAt(1));
  EXPECT_EQ(LvGetItemText(lv, 2, 1), "Nama 2");
  EXPECT_EQ(LvGetColumnText(lv, 1), "Nama");
  EXPECT_EQ(LvGetColumnWidth(lv, 1), 150);
}

// The colours a window gives its list show in the rows it paints.
TEST_F(Controls, LvColoursShowInThePaintedRows) {
  Hwnd lv = MakeList(0, 3);
  auto* v = dynamic_cast<QTableView*>(WinWidget(lv));
  ASSERT_NE(v, nullptr);
  struct Case {
    int text, back;
  };
  for (const Case& c : {Case{0x0000FF, 0xFF0000}, Case{0x000000, 0xFFFFFF}, Case{0x00FF00, 0x000000}}) {
    SCOPED_TRACE(c.back);
    EXPECT_EQ(LvSetColors(lv, c.text, c.back), 1);
    const QImage img = v->viewport()->grab().toImage();
    const QRect cell = v->visualRect(v->model()->index(1, 1));
    auto rgb = [](int colorref) { return qRgb(colorref & 0xFF, (colorref >> 8) & 0xFF, (colorref >> 16) & 0xFF); };
    // Below the last row is the back colour; the row's cell holds pixels of the text colour.
    EXPECT_EQ(img.pixel(5, img.height() - 3) & 0xFFFFFF, rgb(c.back) & 0xFFFFFF);
    auto near = [](QRgb a, QRgb b) {   // the glyphs' edges are smoothed into the back colour
      return std::abs(qRed(a) - qRed(b)) < 64 && std::abs(qGreen(a) - qGreen(b)) < 64 && std::abs(qBlue(a) - qBlue(b)) < 64;
    };
    bool textSeen = false;
    for (int y = cell.top(); y <= cell.bottom() && !textSeen; ++y)
      for (int x = cell.left(); x <= cell.right() && !textSeen; ++x)
        textSeen = near(img.pixel(x, y), rgb(c.text));
    EXPECT_TRUE(textSeen);
  }
  EXPECT_EQ(LvSetColors(0, 0, 0), 0);
}

TEST_F(Controls, TextsReadThroughTheItemBufferAreCutAt259Bytes) {
  Hwnd lv = MakeList(0, 1, 2);
  const std::string ascii(300, 'a');
  std::string accents;
  for (int i = 0; i < 200; ++i) accents += "\xC3\xA9";   // 400 bytes of two-byte characters
  LvSetItemText(lv, 0, 0, ascii);
  LvSetItemText(lv, 0, 1, accents);
  EXPECT_EQ(LvGetItemText(lv, 0, 0), std::string(259, 'a'));
  std::string cut = LvGetItemText(lv, 0, 1);
  EXPECT_EQ(cut.size(), 258u);   // never inside a character
  EXPECT_EQ(cut, accents.substr(0, 258));
  LvInsertColumn(lv, 2, ascii, LVCFMT_LEFT, 50);
  EXPECT_EQ(LvGetColumnText(lv, 2).size(), 259u);

  Hwnd tv = Make("SysTreeView32", TVS_HASLINES | TVS_LINESATROOT, 316);
  std::intptr_t item = TvInsertItem(tv, TVI_ROOT, ascii, 0, 1, 0);
  EXPECT_EQ(TvGetItemText(tv, item).size(), 259u);

  // Window, combo, list-box and status texts come whole.
  Hwnd ed = Make("Edit", 0, 317);
  CtlSetText(ed, ascii);
  EXPECT_EQ(CtlGetText(ed), ascii);
  Hwnd cb = Make("ComboBox", CBS_DROPDOWN, 318);
  CbAddString(cb, ascii);
  EXPECT_EQ(CbGetItemText(cb, 0), ascii);
  Hwnd sb = Make("msctls_statusbar32", 0, 319);
  SbSetText(sb, 0, ascii, 0);
  EXPECT_EQ(SbGetText(sb, 0), ascii);
}

// ---- Tree views ------------------------------------------------------------------------------------------------
TEST_F(Controls, TreeItemsAreHandlesAndSelectionIsReported) {
  Hwnd tv = Make("SysTreeView32", TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT, 330);
  std::intptr_t iml = ImlCreate(16, 16);
  QPixmap px(16, 16);
  px.fill(Qt::blue);
  ImlAddIcon(iml, QIcon(px));
  ImlAddIcon(iml, QIcon(px));
  EXPECT_EQ(TvSetImageList(tv, iml), 0);
  std::intptr_t root = TvInsertItem(tv, TVI_ROOT, "Siswa Kelas", 0, 1, 0);
  std::intptr_t a = TvInsertItem(tv, root, "VII-A", 11, 1, 0);
  std::intptr_t b = TvInsertItem(tv, root, "VII-B", 12, 1, 0);
  ASSERT_NE(root, 0);
  EXPECT_EQ(TvInsertItem(tv, 123456, "x", 0, 0, 0), 0);   // no such parent
  EXPECT_EQ(TvExpand(tv, root, 1), 1);
  EXPECT_EQ(TvGetParent(tv, b), root);
  EXPECT_EQ(TvGetChild(tv, root), a);
  EXPECT_EQ(TvGetNextSibling(tv, a), b);
  EXPECT_EQ(TvGetItemData(tv, b), 12);
  EXPECT_EQ(TvGetSelection(tv), 0);
  gHeard.clear();
  EXPECT_EQ(TvSelectItem(tv, b), 1);
  EXPECT_EQ(TvGetSelection(tv), b);
  ASSERT_EQ(Notes(TVN_SELCHANGED).size(), 1u);
  EXPECT_EQ(Notes(TVN_SELCHANGED)[0].itemNew, b);
  EXPECT_EQ(TvGetItemText(tv, b), "VII-B");
  TvDeleteAllItems(tv);
  EXPECT_EQ(TvGetItemText(tv, b), "");   // the handle reads as gone
  EXPECT_EQ(TvSetImageList(tv, 0), iml);
  ImlDestroy(iml);
}

// ---- Tool tips, tags, scaling ----------------------------------------------------------------------------------
TEST_F(Controls, ToolTipTextIsCutTo79Characters) {
  Hwnd ed = Make("Edit", 0, 340);
  std::string text;
  for (int i = 0; i < 100; ++i) text += static_cast<char>('a' + i % 26);
  Hwnd tt = CtlAddToolTip(ed, text, 1);
  ASSERT_NE(tt, 0);
  EXPECT_EQ(WinGetClassName(tt), "tooltips_class32");
  EXPECT_EQ(CtlGetToolTip(ed), text.substr(0, 79));
  EXPECT_EQ(CtlAddToolTip(ed, "Dobel klik untuk mengubahnya..", 0), tt);   // one tool-tip window per control
  EXPECT_EQ(CtlGetToolTip(ed), "Dobel klik untuk mengubahnya..");
  EXPECT_EQ(CtlAddToolTip(0, "x", 0), 0);
}

TEST_F(Controls, TagsLiveWithTheirWindow) {
  Hwnd ed = Make("Edit", 0, 341);
  CtlSetTag(ed, "");
  CtlSetTag2(ed, "");
  EXPECT_EQ(CtlGetTag(ed), "");
  CtlSetTag(ed, "kode");
  CtlSetTag2(ed, "nama");
  CtlSetTag(form, "form");
  EXPECT_EQ(CtlGetTag(ed), "kode");
  EXPECT_EQ(CtlGetTag2(ed), "nama");
  EXPECT_EQ(CtlGetTag(form), "form");
  WinDestroyWindow(ed);
  EXPECT_EQ(CtlGetTag(ed), "");
  EXPECT_EQ(CtlGetTag2(ed), "");
  CtlSetTag(ed, "x");   // nothing for a window that is gone
  EXPECT_EQ(CtlGetTag(ed), "");
}

TEST(ControlScaling, DesignUnitsFollowTheScreensLogicalDpi) {
  const double dpiX = QGuiApplication::primaryScreen()->logicalDotsPerInchX();
  EXPECT_FLOAT_EQ(DpiScaleX(1002.0f), static_cast<float>(1002.0 * dpiX / 96.0));
  if (dpiX == 96.0) {
    EXPECT_FLOAT_EQ(DpiScaleX(250.0f), 250.0f);
  }
  EXPECT_FLOAT_EQ(SysWindowsVersion(), 10.0f);
}

// ---- Every wrapper on a window that is gone --------------------------------------------------------------------
TEST_F(Controls, EveryWrapperReturnsItsNoWindowValue) {
  Hwnd cb = Make("ComboBox", CBS_DROPDOWNLIST, 350);
  Hwnd lb = Make("ListBox", LBS_NOTIFY, 351);
  Hwnd lv = MakeList(0, 2);
  Hwnd tv = Make("SysTreeView32", 0, 352);
  Hwnd ed = Make("Edit", 0, 353);
  Hwnd bt = Make("Button", BS_AUTOCHECKBOX, 354);
  Hwnd st = Make("Static", SS_BITMAP, 355);
  Hwnd dt = Make("SysDateTimePick32", 0, 356);
  Hwnd sb = Make("msctls_statusbar32", 0, 357);
  Hwnd tb = Make("ToolbarWindow32", 0, 358);
  CbAddString(cb, "a");
  LbAddString(lb, "a");
  std::intptr_t item = TvInsertItem(tv, TVI_ROOT, "a", 0, 0, 0);
  SbSetText(sb, 0, "a", 0);
  for (Hwnd h : {cb, lb, lv, tv, ed, bt, st, dt, sb, tb}) WinDestroyWindow(h);

  struct Case {
    const char* name;
    std::function<long long()> call;
    long long expected;
  };
  const Case ints[] = {
      {"CbAddString", [&] { return CbAddString(cb, "x"); }, -1},
      {"CbFindString", [&] { return CbFindString(cb, 0, "a"); }, -1},
      {"CbFindStringExact", [&] { return CbFindStringExact(cb, 0, "a"); }, -1},
      {"CbGetCount", [&] { return CbGetCount(cb); }, -1},
      {"CbGetCurSel", [&] { return CbGetCurSel(cb); }, -1},
      {"CbResetContent", [&] { return CbResetContent(cb); }, 0},
      {"CbSetCurSel", [&] { return CbSetCurSel(cb, 0); }, -1},
      {"LbFindString", [&] { return LbFindString(lb, 0, "a"); }, -1},
      {"LbGetCurSel", [&] { return LbGetCurSel(lb); }, -1},
      {"LbGetItemData", [&] { return LbGetItemData(lb, 0); }, -1},
      {"LbSetCurSel", [&] { return LbSetCurSel(lb, 0); }, -1},
      {"LvDeleteAllColumns", [&] { return LvDeleteAllColumns(lv); }, 0},
      {"LvDeleteAllItems", [&] { return LvDeleteAllItems(lv); }, 0},
      {"LvDeleteItem", [&] { return LvDeleteItem(lv, 0); }, 0},
      {"LvGetCheck", [&] { return LvGetCheck(lv, 0); }, 0},
      {"LvGetColumnAlign", [&] { return LvGetColumnAlign(lv, 0); }, 0},
      {"LvGetColumnCount", [&] { return LvGetColumnCount(lv); }, 0},
      {"LvGetItemCount", [&] { return LvGetItemCount(lv); }, 0},
      {"LvGetItemImage", [&] { return LvGetItemImage(lv, 0, 0); }, 0},
      {"LvGetItemData", [&] { return LvGetItemData(lv, 0, 0); }, 0},
      {"LvGetSelectionMark", [&] { return LvGetSelectionMark(lv); }, 0},
      {"LvInsertColumn", [&] { return LvInsertColumn(lv, 0, "x", 0, 10); }, 0},
      {"LvInsertItem", [&] { return LvInsertItem(lv, 0, 0, "x", 0, 0); }, 0},
      {"LvSelectItem", [&] { return LvSelectItem(lv, 0); }, 0},
      {"LvSetColumnAlign", [&] { return LvSetColumnAlign(lv, 0, 1); }, 0},
      {"LvSetItemText", [&] { return LvSetItemText(lv, 0, 0, "x"); }, 0},
      {"LvSetItemImage", [&] { return LvSetItemImage(lv, 0, 0, 1); }, 0},
      {"LvSetItemData", [&] { return LvSetItemData(lv, 0, 0, 1); }, 0},
      {"TvExpand", [&] { return TvExpand(tv, item, 1); }, 0},
      {"TvGetSelection", [&] { return TvGetSelection(tv); }, 0},
      {"TvInsertItem", [&] { return TvInsertItem(tv, 0, "x", 0, 0, 0); }, 0},
      {"TvSetImageList", [&] { return TvSetImageList(tv, 5); }, 0},
      {"CtlGetTextLength", [&] { return CtlGetTextLength(ed); }, 0},
      {"CtlSetText", [&] { return CtlSetText(ed, "x"); }, 0},
      {"TxtSetText", [&] { return TxtSetText(ed, "x"); }, 0},
      {"TxtSetSel", [&] { return TxtSetSel(ed, 0, -1); }, 0},
      {"CtlEnable", [&] { return CtlEnable(ed); }, 0},
      {"CtlDisable", [&] { return CtlDisable(ed); }, 0},
      {"CtlSetFocus", [&] { return CtlSetFocus(ed); }, 0},
      {"CtlMove", [&] { return CtlMove(ed, 1, 1); }, 0},
      {"BtnIsChecked", [&] { return BtnIsChecked(bt); }, 0},
      {"ChkIsChecked", [&] { return ChkIsChecked(bt); }, 0},
      {"BtnSetChecked", [&] { return BtnSetChecked(bt, 1); }, 0},
      {"BtnCheckRadio", [&] { return BtnCheckRadio(bt, 1, 2, 1); }, 0},
      {"CtlSetBitmapFile", [&] { return CtlSetBitmapFile(st, "/tmp/x.bmp"); }, 0},
      {"DtpSetDate", [&] { return DtpSetDate(dt, "2021-03-05"); }, 0},
      {"SbSetText", [&] { return SbSetText(sb, 0, "x", 0); }, 0},
      {"SbGetTextLength", [&] { return SbGetTextLength(sb, 0); }, 0},
      {"SbGetTextInfo", [&] { return SbGetTextInfo(sb, 0); }, 0},
      {"TbAddButton", [&] { return TbAddButton(tb, 1, QIcon(), "x", "x"); }, 0},
      {"CtlAddToolTip", [&] { return CtlAddToolTip(ed, "x", 0); }, 0},
  };
  for (const auto& c : ints) EXPECT_EQ(c.call(), c.expected) << c.name;

  const std::pair<const char*, std::function<std::string()>> texts[] = {
      {"CbGetItemText", [&] { return CbGetItemText(cb, 0); }},
      {"LbGetItemText", [&] { return LbGetItemText(lb, 0); }},
      {"LvGetColumnText", [&] { return LvGetColumnText(lv, 0); }},
      {"LvGetItemText", [&] { return LvGetItemText(lv, 0, 0); }},
      {"TvGetItemText", [&] { return TvGetItemText(tv, item); }},
      {"CtlGetText", [&] { return CtlGetText(ed); }},
      {"TxtGetText", [&] { return TxtGetText(ed); }},
      {"CtlGetTag", [&] { return CtlGetTag(ed); }},
      {"CtlGetTag2", [&] { return CtlGetTag2(ed); }},
      {"SbGetText", [&] { return SbGetText(sb, 0); }},
  };
  for (const auto& t : texts) EXPECT_EQ(t.second(), "") << t.first;

  // Handle 0 behaves the same.
  EXPECT_EQ(CbGetCount(0), -1);
  EXPECT_EQ(LvGetItemCount(0), 0);
  EXPECT_EQ(CtlGetText(0), "");
  int fg = 7, bg = 7;
  CtlSetColors(ed, 255, 0);
  CtlGetColors(ed, &fg, &bg);
  EXPECT_EQ(fg, 7);
  EXPECT_EQ(bg, 7);
}

TEST_F(Controls, FormCaptionReadsThroughCtlGetText) {
  EXPECT_EQ(CtlGetText(form), "Uji");
  EXPECT_EQ(CtlSetText(form, "Data Siswa"), 1);
  EXPECT_EQ(TxtGetText(form), "Data Siswa");
  EXPECT_EQ(CtlFormOf(Make("Edit", 0, 360)), form);
}

}  // namespace

namespace {
LResult FrameProc(Hwnd h, unsigned msg, WParam wParam, LParam lParam) { return WinDefWindowProc(h, msg, wParam, lParam); }

// The main window's furniture: MDI client, rebar with a toolbar, status bar at the bottom.
TEST(ControlFrame, MdiClientRebarAndStatusBarTakeTheirPlaces) {
  if (!WinClassExists("FORM_FINANCE_CTLFRAME_CLASS")) {
    ASSERT_TRUE(WinRegisterClass("FORM_FINANCE_CTLFRAME_CLASS", FrameProc,
                                 CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS | CS_FIN_MDIFRAME));
  }
  Hwnd frame = WinCreateWindow(WS_EX_CONTROLPARENT, "FORM_FINANCE_CTLFRAME_CLASS", "Kelvora",
                               WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 1002, 558, 0, 0, 0);
  ASSERT_NE(frame, 0);
  Hwnd client = WinCreateWindow(0, "MDICLIENT", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, frame, 1000, 0);
  ASSERT_NE(WinMdiArea(client), nullptr);
  Hwnd rb = WinCreateWindow(0, "ReBarWindow32", "", WS_CHILD | WS_VISIBLE | RBS_AUTOSIZE | RBS_TOOLTIPS | CCS_TOP, 0,
                            0, 0, 30, frame, 5000, 0);
  Hwnd tb = WinCreateWindow(0, "ToolbarWindow32", "",
                            WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST | CCS_NORESIZE | CCS_NOPARENTALIGN, 0,
                            0, 0, 0, frame, 5100, 0);
  TbSetIconSize(tb, 48, 48);
  QPixmap px(48, 48);
  px.fill(Qt::darkGreen);
  TbAddButton(tb, 5101, QIcon(px), "Pembayaran", "Pembayaran Siswa");
  TbAutoSize(tb);
  RbInsertBand(rb, tb, CtlGetHeight(tb), 250);
  Hwnd sb = WinCreateWindow(0, "msctls_statusbar32", "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, frame,
                            4999, 0);
  ASSERT_NE(sb, 0);
  WinSendMessage(rb, WM_SIZE, 0, 0);
  WinSendMessage(sb, WM_SIZE, 0, 0);
  WinRect fr = WinGetClientRect(frame);
  WinRect r = WinGetWindowRect(rb);
  WinRect s = WinGetWindowRect(sb);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.width(), fr.width());
  EXPECT_GE(r.height(), 48);
  EXPECT_EQ(s.bottom, fr.bottom);
  EXPECT_EQ(s.width(), fr.width());
  EXPECT_GT(s.height(), 0);
  WinDestroyWindow(frame);
  QApplication::processEvents();
}
}  // namespace
