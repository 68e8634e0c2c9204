#include "workbook_export.h"


#include <vector>

#include "automation/automation.h"
#include "plugin_host.h"
#include "sheet_server.h"

using namespace com;

com::IDispatch* gXlsApplication = nullptr;
com::IDispatch* gXlsWorkbook = nullptr;
com::IDispatch* gXlsSheet = nullptr;

const char kXlsNoApplication[] = "Excel tidak dapat dijalankan, data tidak dapat diexport..";
const char kXlsTemplateUnreadable[] = " tidak dapat dibaca, data tidak dapat diexport..";

namespace {

// Automation started on this thread by XlsModuleInit and not yet ended by XlsRelease.
thread_local bool tAutomationRunning = false;

// Splits `source` at `delimiter` (this plug-in's own copy). fields[0] receives the number of pieces n as decimal
// text, fields[1..n] the pieces; the array holds exactly n + 1 elements, so a loop to the last element never meets a
// piece that is not there. An empty source (or a delimiter longer than the source) gives n = 0; a delimiter at the
// very end closes the last piece without adding an empty one; an empty delimiter, or a source without the
// delimiter, gives the whole source as its one piece.
int StrSplit(const std::string& source, const std::string& delimiter, std::vector<std::string>& fields) {
  fields.clear();
  const std::size_t len = source.size(), dlen = delimiter.size();
  if (len == 0 || dlen > len) {
    fields.push_back("0");
    return 0;
  }
  if (dlen == 0) {
    fields.push_back("1");
    fields.push_back(source);
    return 1;
  }
  fields.push_back("");
  std::size_t start = 0;
  for (;;) {
    std::size_t at = source.find(delimiter, start);
    if (at == std::string::npos) {
      fields.push_back(source.substr(start));
      break;
    }
    fields.push_back(source.substr(start, at - start));
    start = at + dlen;
    if (start == len) break;  // trailing delimiter: no empty piece after it
  }
  const int n = static_cast<int>(fields.size() - 1);
  fields[0] = std::to_string(n);
  return n;
}

void ReleaseAndClear(IDispatch*& object) {
  if (object) object->Release();
  object = nullptr;
}

}  // namespace

void XlsModuleInit() {
  AutoInitialize(1, 1);
  AutoToggleErrors(0);
  tAutomationRunning = true;
}

bool XlsAutomationRunning() { return tAutomationRunning; }

HRESULT XlsOpenWorkbook(const std::string& path) {
  HRESULT first = S_OK;
  auto note = [&first](HRESULT hr) {
    if (Failed(hr) && Succeeded(first)) first = hr;
  };
  note(AutoCreateObject(u"Excel.Application", nullptr, &gXlsApplication));
  note(AutoGetValue(u"%o", &gXlsWorkbook, gXlsApplication, u".Workbooks.Open(%s)", path.c_str()));
  note(AutoPutValue(gXlsApplication, u".DisplayFullScreen = %b", 1));
  note(AutoPutValue(gXlsApplication, u".Visible = %b", 1));
  note(AutoGetValue(u"%o", &gXlsSheet, gXlsApplication, u"ActiveSheet"));
  return first;
}

void XlsRelease() {
  ReleaseAndClear(gXlsSheet);
  ReleaseAndClear(gXlsWorkbook);
  ReleaseAndClear(gXlsApplication);
  AutoUninitialize(1);
  tAutomationRunning = false;
}

HRESULT XlsSaveAsTemplate(const std::string& path) {
  HRESULT first = S_OK;
  auto note = [&first](HRESULT hr) {
    if (Failed(hr) && Succeeded(first)) first = hr;
  };
  note(AutoCallMethod(gXlsApplication, u"activesheet.SaveAs(%s, %d)", path.c_str(), 17));
  note(AutoPutValue(gXlsApplication, u".ActiveWorkbook.Save"));
  note(AutoPutValue(gXlsApplication, u".ActiveWorkbook.Saved = %b", 1));
  return first;
}

const char* XlsExport(const std::string& programFolder, std::intptr_t rowCount, std::intptr_t columnCount,
                      std::intptr_t rowList) {
  const std::string rows = rowList ? std::string(reinterpret_cast<const char*>(rowList)) : std::string();
  if (!XlsAutomationRunning()) XlsModuleInit();
  const std::string templatePath = PluginFile(programFolder, "Lap.xlt");
  XlsOpenWorkbook(templatePath);
  if (!gXlsApplication) {
    SheetTellOperator(kXlsNoApplication);
  } else if (!gXlsWorkbook || !gXlsSheet) {
    SheetTellOperator("Template " + templatePath + kXlsTemplateUnreadable);
  } else {
    std::vector<std::string> lines, cells;
    const int lineCount = StrSplit(rows, ";", lines);
    for (int i = 1; i <= lineCount; ++i) {
      const int cellCount = StrSplit(lines[i], ",", cells);
      for (int j = 1; j <= cellCount; ++j)
        AutoPutValue(gXlsSheet, u"cells(%u,%u)=%s", static_cast<unsigned>(i), static_cast<unsigned>(j),
                     cells[j].c_str());
    }
  }
  XlsRelease();
  return "0";
}
