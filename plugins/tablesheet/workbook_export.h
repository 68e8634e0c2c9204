// The workbook plug-in's work, behind its one export sData: start the spreadsheet application through automation,
// open the workbook "Lap.xlt" from the program folder, show the application full screen, write the list's caption
// line and rows into the cells of the active sheet, and let go of the application, which stays for the operator.
//
// Every automation step goes through the automation library; each step's failure is left in the thread's error
// record and the next step runs all the same (a step on a null object fails at once without calling anything). An
// export whose cells have nowhere to go (no application, or a template that cannot be opened) is not lost in
// silence: the operator gets a box saying so.
#pragma once
#include <cstdint>
#include <string>

#include "com/com.h"

// The references held during one export: the application, the opened workbook and the active sheet. All three are
// null before an export and again after it.
extern com::IDispatch* gXlsApplication;
extern com::IDispatch* gXlsWorkbook;
extern com::IDispatch* gXlsSheet;

// Once when the library is loaded, on the loading thread, and again at the start of an export on a thread where
// automation is not running (the end of every export ends it): automation started (wide T), message boxes off.
void XlsModuleInit();
// True while automation runs on the calling thread: from XlsModuleInit to XlsRelease.
bool XlsAutomationRunning();
// Starts the application and opens the workbook at `path`: create, Workbooks.Open, DisplayFullScreen, Visible,
// ActiveSheet. Returns the first failure, or S_OK.
com::HRESULT XlsOpenWorkbook(const std::string& path);
// Releases the sheet, workbook and application (each when held), sets them to null and ends automation on the thread.
void XlsRelease();
// Saves the active sheet under `path` as a template (file format 17). Nothing in the system calls it.
com::HRESULT XlsSaveAsTemplate(const std::string& path);

// What sData does, with the template "Lap.xlt" taken from `programFolder`: `rowList` (a UTF-8 text, may be null)
// holds the caption line and the rows separated by ";", the cells of each separated by ","; line i, cell j goes to
// cell (i, j). The two counts are not used. When the application cannot be started or the template cannot be opened
// the operator is told so in a box captioned "Info" (kXlsNoApplication, kXlsTemplateUnreadable) and no cell is
// written. Returns "0".
const char* XlsExport(const std::string& programFolder, std::intptr_t rowCount, std::intptr_t columnCount,
                      std::intptr_t rowList);

// The operator's messages: the first as it stands, the second with the template's path before it.
extern const char kXlsNoApplication[];     // "Excel tidak dapat dijalankan, data tidak dapat diexport.."
extern const char kXlsTemplateUnreadable[];  // " tidak dapat dibaca, data tidak dapat diexport.."
