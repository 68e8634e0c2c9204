// The control wrappers: small routines through which every form drives its controls. Each takes the control's window
// first and, when that window does not exist, does nothing and returns its "no window" value (noted per routine).
// Texts are UTF-8; indices of items, rows, columns and status-bar parts count from 0.
#pragma once
#include <QIcon>
#include <QPixmap>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/control_classes.h"
#include "framework/win.h"

// ---- Combo boxes and list boxes ------------------------------------------------------------------------------
int CbAddString(Hwnd h, const std::string& text);                       // new index; -1 no window
int CbFindString(Hwnd h, int start, const std::string& text);           // prefix, no case; after item 0, wrapping to it
int CbFindStringExact(Hwnd h, int start, const std::string& text);      // whole text, no case; same order; CB_ERR
int CbGetCount(Hwnd h);                                                  // -1 no window
int CbGetCurSel(Hwnd h);                                                 // index or CB_ERR; -1 no window
std::string CbGetItemText(Hwnd h, int index);                           // empty past the end / no window
int CbResetContent(Hwnd h);                                              // 0 (CB_OKAY); 0 no window
int CbSetCurSel(Hwnd h, int index);                                      // index, or CB_ERR (choice cleared); -1
LParam CbGetItemData(Hwnd h, int index);                                 // CB_ERR past the end; -1 no window
int CbSetItemData(Hwnd h, int index, LParam data);                       // 1, CB_ERR; -1 no window
int LbAddString(Hwnd h, const std::string& text);                       // new index; -1 no window
int LbFindString(Hwnd h, int start, const std::string& text);           // as CbFindString; -1 no window
int LbGetCount(Hwnd h);                                                  // -1 no window
int LbGetCurSel(Hwnd h);                                                 // index or LB_ERR; -1 no window
LParam LbGetItemData(Hwnd h, int index);                                 // data or LB_ERR; -1 no window
int LbSetItemData(Hwnd h, int index, LParam data);                       // 1, LB_ERR; -1 no window
std::string LbGetItemText(Hwnd h, int index);                           // empty on error / no window
int LbSetCurSel(Hwnd h, int index);                                      // index or LB_ERR; -1 no window
int LbResetContent(Hwnd h);                                              // 0; 0 no window

// ---- List views (report view) --------------------------------------------------------------------------------
int LvDeleteAllColumns(Hwnd h);                                          // 0
int LvDeleteAllItems(Hwnd h);                                            // 1; 0 no window
int LvDeleteItem(Hwnd h, int row);                                       // 1, 0 no such row; 0 no window
int LvGetCheck(Hwnd h, int row);          // -1 ticked (or no check boxes / no such row), -2 not ticked; 0 no window
int LvSetCheck(Hwnd h, int row, int on);  // ticks/unticks a row (LVN_ITEMCHANGED follows); 1, 0 no row / window
int LvGetColumnAlign(Hwnd h, int col);    // 1 right, 2 centre, 0 left or failure; 0 no window
int LvGetColumnCount(Hwnd h);                                            // 0 no window
std::string LvGetColumnText(Hwnd h, int col);                            // at most 259 bytes; empty on failure
int LvGetItemCount(Hwnd h);                                              // 0 no window
std::string LvGetItemText(Hwnd h, int row, int col);                    // at most 259 bytes; empty on failure
int LvGetItemImage(Hwnd h, int row, int col);                            // 0 on failure / no window
LParam LvGetItemData(Hwnd h, int row, int col);                          // the row's data; 0 on failure / no window
int LvGetSelectionMark(Hwnd h);                                          // row or -1; 0 no window
int LvSetSelectionMark(Hwnd h, int row);                                 // previous mark; 0 no window
int LvInsertColumn(Hwnd h, int index, const std::string& caption, int format, int width);  // index or -1; 0
// Column 0: inserts a new row at `row` (past the end: appended) and returns its index, -1 on failure; other column:
// sets that cell's text and image of an existing row, 1 / 0. No window: 0.
int LvInsertItem(Hwnd h, int row, int col, const std::string& text, LParam data, int image);
// Rows appended at the end, each from its cells (column 0 first, then columns 1, 2, ...): what LvInsertItem of column
// 0 (data 0, image 0) and of every further non-empty cell would make, at once. 1; 0 no window.
int LvAppendRows(Hwnd h, const std::vector<std::vector<std::string>>& rows);
// One row appended at the end from its `count` cells: what LvInsertItem of column 0 (data 0, image 0) and of every
// further non-empty cell would make. The row's index; 0 no window.
int LvAppendRow(Hwnd h, const std::string_view* cells, std::size_t count);
int LvSelectItem(Hwnd h, int row);           // mark + selected + focused, others keep their state; previous mark; 0
int LvSetColumnAlign(Hwnd h, int col, int format);                      // 1 / 0; 0 no window
int LvSetItemText(Hwnd h, int row, int col, const std::string& text);   // 1 / 0; 0 no window
// Every row's cells of the columns `cols` given anew in one pass: `rewrite(col, text, out)` gets the cell's text as
// LvGetItemText reads it and puts into `out` (empty when called) what LvSetItemText of that cell would set. 1; 0 no
// window.
int LvRewriteColumns(Hwnd h, const std::vector<int>& cols,
                     const std::function<void(int col, std::string_view text, std::string& out)>& rewrite);
int LvSetItemImage(Hwnd h, int row, int col, int image);                 // 1 / 0; 0 no window
int LvSetItemData(Hwnd h, int row, int col, LParam data);                // 1 / 0; 0 no window
// Extras the forms' set-up needs (LVM_SETEXTENDEDLISTVIEWSTYLE, colours, image list, column width).
int LvSetExtendedStyle(Hwnd h, std::uint32_t exStyle);                   // previous extended style; 0 no window
int LvSetColors(Hwnd h, int textRgb, int backRgb);                       // 0x00BBGGRR each, -1 keeps; 1; 0 no window
std::intptr_t LvSetImageList(Hwnd h, std::intptr_t imageList);           // previous list; 0 no window
int LvGetColumnWidth(Hwnd h, int col);                                   // 0 on failure / no window
int LvSetColumnWidth(Hwnd h, int col, int width);                        // 1 / 0
int LvGetSelectedCount(Hwnd h);                                          // 0 no window
int LvIsSelected(Hwnd h, int row);                                       // 1 / 0
int LvGetNextSelected(Hwnd h, int after);   // first selected row after `after` (-1: from the start), -1 none

// ---- Tree views (items are handles) --------------------------------------------------------------------------
int TvExpand(Hwnd h, std::intptr_t item, int expand);                     // 1 / 0; 0 no window
std::intptr_t TvGetSelection(Hwnd h);                                     // item or 0
std::string TvGetItemText(Hwnd h, std::intptr_t item);                    // at most 259 bytes; empty on failure
// Appends a child to `parent` (0 or TVI_ROOT: a root item); new item or 0.
std::intptr_t TvInsertItem(Hwnd h, std::intptr_t parent, const std::string& text, LParam data, int image,
                           int selectedImage);
std::intptr_t TvSetImageList(Hwnd h, std::intptr_t imageList);            // previous normal list; 0 no window
// Extras.
int TvSelectItem(Hwnd h, std::intptr_t item);                             // TVN_SELCHANGED follows; 1 / 0
LParam TvGetItemData(Hwnd h, std::intptr_t item);                         // 0 on failure
std::intptr_t TvGetParent(Hwnd h, std::intptr_t item);                    // 0 for a root item
std::intptr_t TvGetChild(Hwnd h, std::intptr_t item);                     // first child (item 0 / TVI_ROOT: root)
std::intptr_t TvGetNextSibling(Hwnd h, std::intptr_t item);               // 0 when none
int TvDeleteItem(Hwnd h, std::intptr_t item);                             // TVI_ROOT: all; 1 / 0
int TvDeleteAllItems(Hwnd h);                                             // 1; 0 no window

// ---- Image lists ---------------------------------------------------------------------------------------------
std::intptr_t ImlCreate(int cx, int cy);
int ImlAddIcon(std::intptr_t iml, const QIcon& icon);   // new index; -1 when the list does not exist
int ImlGetImageCount(std::intptr_t iml);
bool ImlDestroy(std::intptr_t iml);

// ---- Edits, buttons and any window ---------------------------------------------------------------------------
std::string CtlGetText(Hwnd h);            // a form's caption too; drop-down list combo: the chosen item or empty
std::string TxtGetText(Hwnd h);            // the same routine
int CtlGetTextLength(Hwnd h);              // bytes; 0 no window
int CtlSetText(Hwnd h, const std::string& text);   // 1 / 0 (an edit reports EN_CHANGE even for the same text)
int TxtSetText(Hwnd h, const std::string& text);   // always 0
int TxtSetSel(Hwnd h, int start, int end);          // EM_SETSEL: start -1 removes the selection, end -1 to the end
// The most digits the operator can type or paste into a single-line edit, separators and other characters not counted
// (0: no limit); texts the program sets are taken whole, as with EM_LIMITTEXT. 1 / 0 (no such edit).
int TxtLimitDigits(Hwnd h, int digits);
int CtlEnable(Hwnd h);                     // previous disabled state (1 was disabled); 0 no window
int CtlDisable(Hwnd h);
Hwnd CtlSetFocus(Hwnd h);                  // window that had the focus; 0 no window
int CtlMove(Hwnd h, int x, int y);         // keeps size; 1; 0 no window
int BtnIsChecked(Hwnd h);                  // 1 checked, else 0
int ChkIsChecked(Hwnd h);
int BtnSetChecked(Hwnd h, int on);         // no BN_CLICKED; 0
int BtnCheckRadio(Hwnd dialog, int firstId, int lastId, int checkId);   // 1; 0 no window
int CtlSetBitmapFile(Hwnd h, const std::string& path);   // 130 x 150 picture; 1 when one was replaced, else 0
int DtpSetDate(Hwnd h, const std::string& yyyyMmDd);     // 1 when taken; 0 invalid / no window
void CtlSetTag(Hwnd h, const std::string& text);
void CtlSetTag2(Hwnd h, const std::string& text);
std::string CtlGetTag(Hwnd h);
std::string CtlGetTag2(Hwnd h);
void CtlFreeTags(Hwnd h);                  // drops both tags (a window's destruction does it by itself)
void CtlSetColors(Hwnd h, int textColor, int backColor);   // RGB (0x00BBGGRR); -1 keeps
void CtlGetColors(Hwnd h, int* textColor, int* backColor);

// ---- Status bars (parts from 0) ------------------------------------------------------------------------------
int SbSetText(Hwnd h, int part, const std::string& text, unsigned style);   // SBT_* style; 1 / 0
std::string SbGetText(Hwnd h, int part);
LResult SbGetTextLength(Hwnd h, int part);     // length | drawing type << 16
LResult SbGetTextInfo(Hwnd h, int part);       // the same by SB_GETTEXTA without buffer (a progress bar: sets pos)
// Right edges of the parts in pixels, -1 = to the right border (SB_SETPARTS); 1 / 0.
int SbSetParts(Hwnd h, const std::vector<int>& rightEdges);
std::vector<int> SbGetParts(Hwnd h);
int SbSetIcon(Hwnd h, int part, const QIcon& icon);          // 1 / 0
int SbSetTipText(Hwnd h, int part, const std::string& text);  // 1 / 0

// ---- Progress bars -------------------------------------------------------------------------------------------
int PbSetRange(Hwnd h, int low, int high);   // 1 / 0
int PbSetPos(Hwnd h, int pos);               // previous position; 0 no window
int PbGetPos(Hwnd h);

// ---- Toolbars and rebars -------------------------------------------------------------------------------------
// A toolbar button: a click reaches the toolbar's form as WM_COMMAND, MAKEWPARAM(id, 0), lParam the toolbar.
// `autoSize` 0: the button is as wide as the widest fixed button; 1: as wide as its own text.
int TbAddButton(Hwnd tb, int id, const QIcon& icon, const std::string& text, const std::string& tip,
                int autoSize = 0);          // 1; 0 no window
int TbAddSeparator(Hwnd tb);
int TbSetIconSize(Hwnd tb, int cx, int cy);
int TbGetButtonCount(Hwnd tb);             // separators included
int TbEnableButton(Hwnd tb, int id, int enable);
int TbClickButton(Hwnd tb, int id);        // as the operator's click; 1 when the button exists
std::string TbGetButtonTip(Hwnd tb, int id);
void TbAutoSize(Hwnd tb);
// Puts `child` (a toolbar) into the rebar as a band; the rebar takes the band's height. 1 / 0.
int RbInsertBand(Hwnd rebar, Hwnd child, int minChildHeight, int width, const QPixmap& background = QPixmap());
int CtlGetHeight(Hwnd h);                  // window height in pixels; 0 no window
int CtlGetWidth(Hwnd h);

// ---- Tool tips, scaling, version -----------------------------------------------------------------------------
Hwnd CtlAddToolTip(Hwnd control, const std::string& text, int balloon);   // tool-tip window; 0 for control 0
std::string CtlGetToolTip(Hwnd control);                                   // the text shown
float DpiScaleX(float value);
float DpiScaleY(float value);
float SysWindowsVersion();                 // 10.0: a current Windows (6.0 and later decide "Segoe UI")
