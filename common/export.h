// List export to the two plug-ins: tablepage (a printable HTML page) and tablesheet (a workbook), and the HTML cell
// builders the page plug-in carries in its own copy.
//
// Each export loads the plug-in from the program folder by full path (<program folder>/libtablepage.so or
// libtablesheet.so), calls its one export sData(intptr_t, intptr_t, intptr_t) once and unloads it. The argument
// texts are built by the pure functions below from the list's captions, alignments and cell texts; the export
// routines only read the list view and hand the texts over.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "framework/win.h"

// One column of an exported list: its caption and its format (0 left, 1 right, 2 centred).
struct ExportColumn {
  std::string caption;
  int align = 0;
};
// The list's rows, each holding the cell texts in column order (a missing cell reads as empty).
using ExportRows = std::vector<std::vector<std::string>>;

// The three texts of tablepage's sData.
struct PageExportArgs {
  std::string pageInfo;    // title ";" school name ";" school address ";" one alignment letter per column
  std::string headerList;  // the captions joined by ";", each mapped as a cell (FinPageCell)
  std::string rowList;     // the rows joined by ";", the cells of a row joined by ","
};
// The arguments of tablesheet's sData.
struct SheetExportArgs {
  std::intptr_t rowCount = 0;     // rows of the list (the caption line not counted)
  std::intptr_t columnCount = 0;  // columns of the list
  std::string rowList;            // the caption line, then the rows, joined by ";"; cells (captions too) joined by ","
};

// "l" for a left-aligned column, "r" for a right-aligned one, "c" for any other format.
std::string FinAlignLetter(int align);

// A cell as the page plug-in receives it: every "," and every ";" becomes "-" (neither may split the cell).
std::string FinPageCell(const std::string& cell);
// True for a whole number written with thousands dots: an optional "-", one to three digits (not starting with 0),
// then one or more groups of "." and three digits ("1.250.000", "-75.000"; not "2.5", "0.500" or "1250000").
bool FinThousandsNumber(const std::string& cell);
// A cell as the workbook plug-in receives it: a number written with thousands dots loses its dots (so it still
// arrives as a number); any other text keeps them ("Potongan 2.5%", "Jl. Merdeka No. 5"). Then every "," and every
// ";" becomes "-".
std::string FinSheetCell(const std::string& cell);

// The arguments of tablepage. The captions are mapped as the cells are (FinPageCell); the title, school name and
// address are joined with ";" unchanged.
PageExportArgs FinBuildPageArgs(const std::string& title, const std::string& schoolName,
                                const std::string& schoolAddress, const std::vector<ExportColumn>& columns,
                                const ExportRows& rows);
// The arguments of tablesheet. The captions of the caption line are mapped as the cells are (FinSheetCell): a fee
// named "Seragam, Batik" heads its own column as "Seragam- Batik".
SheetExportArgs FinBuildSheetArgs(const std::vector<ExportColumn>& columns, const ExportRows& rows);

// One header cell and one data cell of the HTML page. A width of "-1" leaves the width attribute out. Neither
// builder escapes its texts: the caller passes text that is already HTML.
std::string FinHtmlHeaderCell(const std::string& text, const std::string& width, const std::string& align);
std::string FinHtmlItemCell(const std::string& text, const std::string& align);

// The text with "&", "<", ">" and both quote characters written as character references.
std::string FinHtmlEscape(const std::string& text);

// How a call into a plug-in ended.
enum class PluginCallResult { Called, NoLibrary, NoExport };

// Loads <program folder>/lib<name>.so, looks up sData, calls it once with the three arguments, copies the text it
// returns into `result` (when given) and unloads the library. A library that cannot be loaded shows
// "tidak dapat membaca library..", a library without sData "tidak dapat membaca data yang dibaca library.."
// (caption "Export To excel..", information icon, OK); nothing is called then.
PluginCallResult FinCallPlugin(const std::string& name, std::intptr_t arg1, std::intptr_t arg2, std::intptr_t arg3,
                               std::string* result = nullptr);

// What the operator is told when no program could be started to open the written file `path`:
// "Tidak ada program yang dapat dijalankan untuk membuka " + path + "..".
std::string FinNoOpenerText(const std::string& path);

// Opens the file `path` with the desktop's default program (platform::OpenWithDesktop); when no program could be
// started to open it, the operator is told so (FinNoOpenerText, caption "Info"). True when one was started.
bool FinOpenWithDesktop(const std::string& path);

// What the operator is told when the page `path` could not be written: "Halaman " + path + " tidak dapat disimpan..".
std::string FinPageNotWrittenText(const std::string& path);

// Exports the list view `list` through tablepage under the report title `title`. The plug-in leaves the page's
// viewer to run on its own. Its result is "0" when all went well; the page's absolute path when it could start no
// viewer, which the operator is told (FinNoOpenerText, caption "Info"); "!" + that path when it could not write the
// page, which the operator is told too (FinPageNotWrittenText, caption "Info").
void FinExportToPage(const std::string& title, Hwnd list);
// Exports the list view in gTargetListView through tablesheet; callers set gTargetListView first.
void FinExportToSheet();
