// What the window tests do as an operator would: press a button, choose an item, read a list back.
#pragma once
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

}  // namespace fintest

namespace fintest {

// A control as designed: its id, class, text, and its rectangle in design units (scaled as the forms scale them).
void ExpectControl(Hwnd control, int id, const std::string& className, const std::string& text, int x, int y, int w,
                   int h);

}  // namespace fintest
