// Reading back a workbook (.xlsx) that an export wrote: a member of the file (through `unzip -p`) and its cells.
#pragma once
#include <string>

namespace fintest {

// The member `member` of the zip file `zip` ("xl/workbook.xml"); empty when it cannot be read.
std::string Unzip(const std::string& zip, const std::string& member);

// Cells of a written .xlsx, one line each: "A1 s \"text\"", "B2 n 1250000", "C3 b 1" in the sheet's order; the
// first line names the sheet.
std::string SheetCells(const std::string& xlsx);

}  // namespace fintest
