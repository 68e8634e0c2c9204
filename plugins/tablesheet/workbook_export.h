// The workbook plug-in's work, behind its one export sData: start the spreadsheet application through automation,
// open the workbook "Lap.xlt" from the program folder, show the application full screen, write the list's caption
// line and rows into the cells of the active sheet, and let go of the application, which stays for the operator.
//
// Every automation step goes through the automation library; each step's failure is left in the thread's error
// record and the next step runs all the same (a step on a null object fails at once without calling anything).
#pragma once
#include <cstdint>
#include <string>

#include "com/com.h"

// The references held during one export: the application, the opened workbook and the active sheet. All three are
// null before an export and again after it.
extern com::IDispatch* gXlsApplication;
extern com::IDispatch* gXlsWorkbook;
extern com::IDispatch* gXlsSheet;

// Once when the library is loaded, on the loading thread: automation started (wide T), message boxes off.
void XlsModuleInit();
// Starts the application and opens the workbook at `path`: create, Workbooks.Open, DisplayFullScreen, Visible,
// ActiveSheet. Returns the first failure, or S_OK.
com::HRESULT XlsOpenWorkbook(const std::string& path);
// Releases the sheet, workbook and application (each when held), sets them to null and ends automation on the thread.
void XlsRelease();
// Saves the active sheet under `path` as a template (file format 17). Nothing in the system calls it.
com::HRESULT XlsSaveAsTemplate(const std::string& path);

// What sData does: `rowList` (a UTF-8 text, may be null) holds the caption line and the rows separated by ";", the
// cells of each separated by ","; line i, cell j goes to cell (i, j). The two counts are not used. Returns "0".
const char* XlsExport(std::intptr_t rowCount, std::intptr_t columnCount, std::intptr_t rowList);

// The folder of the running program (FIN_PROGRAM_DIR when set), without a trailing "/".
std::string XlsProgramFolder();
