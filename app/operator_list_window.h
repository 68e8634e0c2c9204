// The operator list "Data User": an MDI child that lists every operator of useradmin except the built-in super user,
// with a toolbar to add, edit and delete operators (through the editor "User Admin") and to export the list as a
// workbook or a printable page. The main window opens it for the super user alone.
#pragma once
#include <cstdint>
#include <string>

#include "framework/win.h"

// The window while it exists, else 0 (the editor's owner); its rebar, toolbar and list view. With several lists open
// they name the one a command last came from (FORM7_Bind).
extern Hwnd gForm7Window;
extern Hwnd gForm7Rebar, gForm7Toolbar, gForm7List;
// Its child-window id (111), the list's id and the toolbar's ids: rebar 5000, toolbar 5100, buttons 5101-5105
// (add, edit, delete, spreadsheet export, HTML page).
extern int gForm7Id;
extern int gForm7ListId, gForm7RebarId, gForm7ToolbarId, gForm7AddId, gForm7EditId, gForm7DeleteId,
    gForm7ExcelId, gForm7PageId;
void FORM7_InitControlIds();

// ----- statements -------------------------------------------------------------------------------------------------
// Every operator but the built-in super user, in name order: columns USER, OPR ("OPERATOR"), AKSES.
std::string FORM7_ListSql();
// Deletes the operator rows of `name` (quoted: only rows whose User equals the text).
std::string FORM7_DeleteSql(const std::string& name);

// Box texts.
inline constexpr const char* kForm7DeleteQuestion =
    "Apakah anda yakin akan menghapus record ini? Cobalah koreksi data yang terkait dengan record ini, mungkin bisa "
    "mengakibatkan perubahan referensi data dan mengakibatkan data menjadi rancu..";
inline constexpr const char* kForm7DeleteCaption = "Confirm Delete";
inline constexpr const char* kForm7PageTitle = "LAPORAN ITEM DATA OPERATOR";

// ----- the window -------------------------------------------------------------------------------------------------
// Creates the list as a maximised MDI child of `parent` (the MDI client) and returns its window at once (MDI
// children are modeless). The main window calls it with (gMdiClient, 1, 0).
std::intptr_t FORM7_Show(Hwnd parent, int modal, int userData);
LResult FORM7_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
LResult FORM7_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void FORM7_CreateControls(Hwnd form);
// Fills the list: every column and row removed, then the operators through FinCbFillList ("SQL error: " box on a
// failure). Also the refill after every save of the editor. Returns 0.
LResult FORM7_LoadUsers(Hwnd form, std::intptr_t userData);
// Every command of the window: the five toolbar buttons by id; any other id does nothing. Returns 0.
LResult FORM7_OnToolbar(Hwnd form, Hwnd control, int notification, int id);
// Several operator lists may be open: the window and control globals are pointed at `form` (an operator list), the
// window a command comes from, so that its buttons and the editor they open work on its own list. The form's bind
// routine: the form runtime runs it when the window is activated and before each of its commands.
void FORM7_Bind(Hwnd form);
