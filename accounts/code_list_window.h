// The code list window both FORM4 "Data Tunjangan Guru" (mastergaji) and FORM5 "Data Rekening Keuangan" (rekening)
// are made of: a maximised MDI child over the rows (Kode and two more columns) of one table for the working school
// year gTapel, with a toolbar for add, edit, delete, export to a workbook and to an HTML page, import of pasted rows,
// copy of the rows of an earlier school year, and refresh. Each window keeps its own names, globals and texts and
// hands them over in a CodeListWindow.
#pragma once
#include <cstdint>
#include <string>

#include "framework/form_runtime.h"
#include "framework/win.h"

struct CodeListWindow {
  FrmForm* form = nullptr;   // the window's form record (its procedure ends in CodeListWndProc)
  // The window's globals: the newest window, its list, rebar and toolbar.
  Hwnd* window = nullptr;
  Hwnd* list = nullptr;
  Hwnd* rebar = nullptr;
  Hwnd* toolbar = nullptr;
  // The control ids and the toolbar's command ids (read at each use).
  const int* rebarId = nullptr;
  const int* toolbarId = nullptr;
  const int* listId = nullptr;
  const int* addId = nullptr;
  const int* editId = nullptr;
  const int* deleteId = nullptr;
  const int* excelId = nullptr;
  const int* pageId = nullptr;
  const int* importId = nullptr;
  const int* copyId = nullptr;
  const int* refreshId = nullptr;
  WndProcFn ctlSubclassProc = nullptr;   // the list's subclass procedure
  const char* table = "";     // "rekening"
  const char* columns = "";   // the listed columns, Kode first: "Kode, Deskripsi, Grup"
  // Tooltips of the buttons whose text names the window's data.
  const char* addTip = "";
  const char* editTip = "";
  const char* deleteTip = "";
  const char* copyTip = "";
  const char* pageTitle = "";    // title of the HTML page export
  const char* importMode = "";   // gFormMode for the import window
  bool currentBeforeImport = false;   // the import makes this window the current one first
  // The entry window that add (gEditMode 0) and edit (gEditMode 1) open modally over the current window; nullptr:
  // add and edit carry no action.
  std::intptr_t (*entryShow)(Hwnd owner, int modal, int userData) = nullptr;
};

// The window's parts, as its FORMn_ routines run them.
void CodeListCreateControls(const CodeListWindow& w, Hwnd form);
// Fills the window's list with the rows of gTapel ordered by Kode (columns made from the first row); returns 0.
int CodeListLoadList(const CodeListWindow& w, Hwnd form);
// Runs a toolbar command of the window; returns 0.
int CodeListOnCommand(const CodeListWindow& w, Hwnd form, int id);
// The form's extra clean-up: the list global lets go of the list of the window that goes.
void CodeListDestroyed(const CodeListWindow& w, Hwnd form);
LResult CodeListWndProc(const CodeListWindow& w, Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);

// Copies into gTapel each row of `sourceYear` whose Kode does not stand in gTapel yet, in one transaction: all rows or
// none. A failing statement shows its box ("SQL error: ", the read of the working year's codes "SQL error0: ", caption
// "Info") and undoes the copy. True when the copy was written (also when nothing was to copy); `copied` gets the rows
// inserted, gRowCount the rows of `sourceYear`.
bool CodeListCopyFromYear(const CodeListWindow& w, const std::string& sourceYear, int* copied);
