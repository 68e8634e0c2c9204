#include "support/operator.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/window_system.h"

namespace fintest {

void Click(Hwnd button) {
  auto* b = qobject_cast<QAbstractButton*>(WinWidget(button));
  ASSERT_NE(b, nullptr);
  QTest::mouseClick(b, Qt::LeftButton);
}

void ClickListRow(Hwnd list, int row) {
  auto* view = dynamic_cast<QTableView*>(WinWidget(list));
  ASSERT_NE(view, nullptr) << "no list view";
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(row, 1)).center());
}

void Type(Hwnd edit, const std::string& text) {
  auto* e = qobject_cast<QLineEdit*>(WinWidget(edit));
  ASSERT_NE(e, nullptr);
  e->clear();
  QTest::keyClicks(e, QString::fromStdString(text));
}

void Choose(Hwnd combo, const std::string& text) {
  auto* c = qobject_cast<QComboBox*>(WinWidget(combo));
  ASSERT_NE(c, nullptr);
  const int i = CbFindStringExact(combo, -1, text);
  ASSERT_GE(i, 0) << text;
  CbSetCurSel(combo, i);
  emit c->activated(i);
}

std::vector<std::string> ComboItems(Hwnd combo) {
  std::vector<std::string> items;
  for (int i = 0; i < CbGetCount(combo); ++i) items.push_back(CbGetItemText(combo, i));
  return items;
}

int RowWithText(Hwnd list, const std::string& text) {
  for (int r = 0; r < LvGetItemCount(list); ++r)
    if (LvGetItemText(list, r, 0) == text) return r;
  return -1;
}

void PressKeys(const std::vector<Key>& keys) {
  for (const Key& k : keys) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr) << "no widget has the keyboard focus";
    QTest::keyClick(focus, k.key, k.mods);
  }
}

std::vector<std::vector<std::string>> ListRows(Hwnd list) {
  std::vector<std::vector<std::string>> rows;
  for (int r = 0; r < LvGetItemCount(list); ++r) {
    std::vector<std::string> cells;
    for (int c = 0; c < LvGetColumnCount(list); ++c) cells.push_back(LvGetItemText(list, r, c));
    rows.push_back(std::move(cells));
  }
  return rows;
}

}  // namespace fintest

namespace fintest {

void ExpectControl(Hwnd control, int id, const std::string& className, const std::string& text, int x, int y, int w,
                   int h) {
  EXPECT_EQ(WinGetDlgCtrlID(control), id);
  EXPECT_EQ(WinGetClassName(control), className);
  EXPECT_EQ(CtlGetText(control), text);
  const WinRect r = WinGetWindowRect(control);
  EXPECT_EQ(r.left, FrmScaleX(x));
  EXPECT_EQ(r.top, FrmScaleY(y));
  EXPECT_EQ(r.width(), FrmScaleX(w));
  EXPECT_EQ(r.height(), FrmScaleY(h));
}

}  // namespace fintest
