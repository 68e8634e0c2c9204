// What a window opened from a list works on, kept per window.
//
// An entry, copy or import window is opened modally from one list window; only that list window is disabled while
// it runs. Other windows of the same kind stay usable, and a click in one of them points the list globals at it. So
// the window takes, when it opens, the class, school year, marked row and list of the window it was opened from, and
// saves into and reloads that list from what it took, whatever is clicked meanwhile. The state is dropped when the
// window is destroyed.
#pragma once
#include <string>
#include <vector>

#include "framework/win.h"

struct FrmWindowState {
  Hwnd owner = 0;          // the list window it was opened from
  Hwnd list = 0;           // that window's list
  std::string kelas;       // the class that window showed
  std::string tapel;       // the school year
  int markedRow = -1;      // the list's marked row (-1: none)
  std::string markedId;    // the first cell of that row
  int editMode = 0;        // add (0) or edit (1 or more), as the list's command set it
  std::string mode;        // the kind of work, where the list names it (the import's mode), or the kind of report a
                           // report window shows (the financial report's "1" global or "0" detailed)
  std::string rowClass;    // the class of the marked row, where the window keeps a row in its own class
  std::vector<std::string> listedClasses;   // row for row of the window's own list, the class each row was listed in
                                            // where it was taken from (the class move's students)
};

// Keeps `state` for `form` (replacing what was kept).
void FrmKeepWindowState(Hwnd form, const FrmWindowState& state);
// What `form` keeps; nullptr when it keeps nothing or is gone.
const FrmWindowState* FrmWindowStateOf(Hwnd form);
// Drops what `form` keeps (the form runtime does so when a form is destroyed).
void FrmForgetWindowState(Hwnd form);

// The row of `state.list` that was marked when the window opened, while it still holds the same first cell; -1
// otherwise (no row was marked, the list is gone or was filled anew).
int FrmMarkedRowOf(const FrmWindowState& state);
// The marked row of `list` and its first cell, as FrmWindowState keeps them.
void FrmTakeMarkedRow(Hwnd list, FrmWindowState& state);
// What an entry window takes from the list window `owner` that opens it: that window, its `list` with the marked row,
// the class it shows, the school year and add or edit.
FrmWindowState FrmTakeFromList(Hwnd owner, Hwnd list, const std::string& kelas, const std::string& tapel,
                               int editMode);
