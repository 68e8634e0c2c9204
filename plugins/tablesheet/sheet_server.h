// The spreadsheet server stand-in: an automation server registered under the ProgID "Excel.Application" that keeps
// its workbooks in memory. What the operator would see of it is written out: when the last reference on an
// application goes while it is visible (and it was not told to Quit), every workbook it holds open is written as a
// real .xlsx file into the folder "cetak" of the working folder (created when missing), named by the workbook and the
// time ("Lap1_20240902_101530.xlsx", "_2", "_3", ... when that name is taken), and opened with the desktop's default
// program (the desktop opener "xdg-open", found along PATH, left to run on its own). When that folder cannot be made,
// the file cannot be written, or no opener can be started for it, the operator gets a box captioned "Info" that says so. An application released while hidden, or after
// Quit, writes and opens nothing.
//
// Object model (names compared without regard to case):
//   Application  Workbooks, ActiveWorkbook, ActiveSheet (a null object without a workbook), Visible,
//                DisplayFullScreen, WindowState (-4143 normal, -4137 maximised, -4140 minimised), Quit
//   Workbooks    Open(file) (a template opens as a new workbook: "Lap.xlt" gives "Lap1"), Add([template]), Count,
//                Item(index or name) (the default member), _NewEnum
//   Workbook     Name, ActiveSheet, Save, SaveAs(file[, format]), Saved, Close
//   Worksheet    Name, Cells(row, column) (a put writes the cell's value), SaveAs(file[, format])
//   Range        Value (the default member), Text, Row, Column
//
// A value put into a cell is stored as the server decides: a text that is a plain decimal number ("1250000",
// "-75000", "12.5"; no leading zero, at most 15 digits before the point) becomes a number, any other text stays text
// ("0012", "-", "1-5"); an empty text or an empty value clears the cell; booleans, dates and numbers keep their kind.
// A text of more than 32767 characters, a row outside 1 to 1048576 or a column outside 1 to 16384 is refused with an
// exception (code 1004). Failures to open a workbook are exceptions with code 1004 and the source "Excel".
//
// The workbook template ("Lap.xlt") is a UTF-8 text (a byte-order mark before its first line is ignored): the first
// line "FinanceWorkbookTemplate 1", then lines "key = value" ("#" starts a comment line): sheet (the sheet's name),
// font, font size, column width (0: the default), header bold (yes or no: row 1 in bold type), and the page set-up
// of the written workbook: orientation (portrait or landscape), fit to pages wide (all columns printed across that
// many pages, as many pages down as the rows need; 0: no fitting), print title rows (that many top rows printed on
// every page; 0: none). A missing file, an empty one, one that cannot be read, or one without the first line (a
// binary workbook among them) cannot be opened.
#pragma once
#include <string>

#include "com/com.h"

extern const com::CLSID kSheetApplicationClsid;

// Registers the application class (ProgID "Excel.Application", a local server) in the class table; Revoke takes it
// out again.
com::HRESULT SheetServerRegister();
void SheetServerRevoke();

// Applications alive now.
int SheetApplicationsAlive();

// Tells the operator what became of an export: a box captioned "Info".
void SheetTellOperator(const std::string& text);

// What a workbook template says.
struct SheetTemplate {
  std::string sheet = "Sheet1";
  std::string font = "Calibri";
  double fontSize = 11;
  double columnWidth = 0;
  bool headerBold = false;
  bool landscape = false;
  int fitPagesWide = 0;
  int titleRows = 0;
};
// Reads a template; false with the reason in `problem` when it cannot be opened.
bool SheetReadTemplate(const std::string& path, SheetTemplate* look, std::string* problem);
