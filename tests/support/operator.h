// What the window tests do as an operator would: press a button, choose an item, read a list back.
#pragma once
#include <QtCore/qnamespace.h>

#include <string>
#include <vector>

#include "framework/win.h"

namespace fintest {

// A mouse click on a push button, check box or radio button (fails the test when the window is none of them).
void Click(Hwnd button);
// Typing into a one-line edit: its text cleared, then `text` typed key by key.
void Type(Hwnd edit, const std::string& text);
// The operator's choice of the item `text` from a drop-down (fails the test when there is no such item).
void Choose(Hwnd combo, const std::string& text);
// The items of a combo box, in order.
std::vector<std::string> ComboItems(Hwnd combo);
// A left click on row `row` of a list view (a real click: the list's window becomes the current one).
void ClickListRow(Hwnd list, int row);
// Every cell of a list view, row by row.
std::vector<std::vector<std::string>> ListRows(Hwnd list);
// The first row of a list view whose first cell reads `text`; -1 when none does.
int RowWithText(Hwnd list, const std::string& text);

// A key as the operator presses it, and the keys that move through a window and change a date's marked part.
struct Key {
  Qt::Key key;
  Qt::KeyboardModifiers mods = Qt::NoModifier;
};
inline const Key kTab{Qt::Key_Tab}, kBackTab{Qt::Key_Backtab, Qt::ShiftModifier}, kUp{Qt::Key_Up}, kDown{Qt::Key_Down};
// The keys pressed one after another, each on the widget that has the keyboard focus by then (fails the test when
// none has it).
void PressKeys(const std::vector<Key>& keys);

}  // namespace fintest

namespace fintest {

// A control as designed: its id, class, text, and its rectangle in design units (scaled as the forms scale them).
void ExpectControl(Hwnd control, int id, const std::string& className, const std::string& text, int x, int y, int w,
                   int h);

}  // namespace fintest
