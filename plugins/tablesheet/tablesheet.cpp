// tablesheet: fills a workbook with a list handed over by Finance. Finance loads the library from its own folder for
// one export, calls sData once and unloads it.
//
// One export, sData(rowCount, columnCount, rowList):
//   rowCount, columnCount  the list's rows and columns (not used)
//   rowList                the caption line, then the rows, joined by ";"; the cells of each joined by ","
// The result is the constant text "0"; the caller copies it.
//
// Loading the library registers the spreadsheet server stand-in ("Excel.Application", see sheet_server.h) and starts
// automation on the loading thread; unloading takes the stand-in's registration out again.
//
// Environment, for tests and tools:
//   FIN_PROGRAM_DIR  folder holding "Lap.xlt" instead of the folder of the running program
//   FIN_OPENER_LOG   file to which each written workbook's path is appended instead of opening it
#include <cstdint>

#include "sheet_server.h"
#include "workbook_export.h"

namespace {

__attribute__((constructor)) void Attach() {
  SheetServerRegister();
  XlsModuleInit();
}

__attribute__((destructor)) void Detach() { SheetServerRevoke(); }

}  // namespace

extern "C" __attribute__((visibility("default"))) const char* sData(intptr_t rowCount, intptr_t columnCount,
                                                                    intptr_t rowList) {
  return XlsExport(rowCount, columnCount, rowList);
}
