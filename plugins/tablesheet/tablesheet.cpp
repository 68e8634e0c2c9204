// tablesheet: fills a workbook with a list handed over by Finance. Finance loads the library from its own folder for
// one export, calls sData once and unloads it.
//
// One export, sData(rowCount, columnCount, rowList):
//   rowCount, columnCount  the list's rows and columns (not used)
//   rowList                the caption line, then the rows, joined by ";"; the cells of each joined by ","
// The result is the constant text "0"; the caller copies it.
//
// The program folder, which holds the template "Lap.xlt", is the folder this library was loaded from: the plug-in
// ships beside the program. Loading the library registers the spreadsheet server stand-in ("Excel.Application", see
// sheet_server.h) and starts automation on the loading thread; unloading it, or the end of a process that still
// holds it, takes the stand-in's registration out again.
#include <cstdint>

#include "plugin_host.h"
#include "sheet_server.h"
#include "workbook_export.h"

namespace {

// The registration lives in a static object made after the substrate's class table (registering makes the table),
// so it is undone before the table goes: at unloading and equally at the end of a process that never unloads the
// library, where the library's static objects go before its unload routines run.
struct Attachment {
  Attachment() {
    SheetServerRegister();
    XlsModuleInit();
  }
  ~Attachment() { SheetServerRevoke(); }
};

__attribute__((constructor)) void Attach() { static Attachment attachment; }

}  // namespace

extern "C" __attribute__((visibility("default"))) const char* sData(intptr_t rowCount, intptr_t columnCount,
                                                                    intptr_t rowList) {
  return XlsExport(PluginFolder(), rowCount, columnCount, rowList);
}
