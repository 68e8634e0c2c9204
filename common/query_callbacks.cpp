#include "common/query_callbacks.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "common/export.h"
#include "common/globals.h"
#include "common/handover.h"
#include "framework/controls.h"
#include "framework/numbers.h"
#include "platform/seams.h"

namespace {

inline std::string Cell(char** values, int i) { return values && values[i] ? values[i] : ""; }

}  // namespace

int FinCbSingleValue(void*, int columnCount, char** values, char**) {
  gSqlResult = columnCount > 0 ? Cell(values, 0) : "";
  return 0;
}

int FinCbFirstValue(void* user, int columnCount, char** values, char** names) {
  return FinCbSingleValue(user, columnCount, values, names);
}

int FinCbAppendRow(void*, int columnCount, char** values, char**) {
  gFormMode = columnCount > 0 ? Cell(values, 0) : "";
  for (int i = 0; i < columnCount; ++i) {
    gSqlResult += Cell(values, i);
    gSqlResult += (i == columnCount - 1) ? "|" : ";";
  }
  ++gRowCount;
  return 0;
}

int FinCbFillList(void*, int columnCount, char** values, char** names) {
  gSqlResult.clear();
  const Hwnd list = gTargetListView;
  if (LvGetColumnCount(list) < columnCount) {
    for (int i = 0; i < columnCount; ++i) {
      std::string caption = names && names[i] ? names[i] : "";
      for (char& c : caption)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
      LvInsertColumn(list, i, caption, LVCFMT_LEFT, 100);
    }
  }
  // The row's cells go to the list in one call; gSqlResult gets each text followed by ";".
  thread_local std::vector<std::string_view> cells;
  cells.clear();
  std::size_t bytes = 0;
  for (int i = 0; i < columnCount; ++i) {
    cells.emplace_back(values && values[i] ? values[i] : "");
    bytes += cells.back().size() + 1;
  }
  gSqlResult.reserve(bytes);
  for (const std::string_view text : cells) {
    gSqlResult.append(text);
    gSqlResult.push_back(';');
  }
  if (columnCount > 0) LvAppendRow(list, cells.data(), cells.size());
  ++gListRowCount;
  return 0;
}

int FinCbCount(void*, int columnCount, char** values, char**) {
  gCountResult = RoundHalfEven(Val(columnCount > 0 ? Cell(values, 0) : ""));
  return 0;
}

void FinShowSqlErrorLog(const std::string& text) {
  const std::string name = "Catatan Error SQL.txt";
  {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out << text << "\r\n";
  }
  std::error_code ec;
  FinOpenWithDesktop((std::filesystem::current_path(ec) / name).string());
}

std::string_view FinCellView(char** values, int columnCount, int i) {
  return i >= 0 && i < columnCount && values && values[i] ? std::string_view(values[i]) : std::string_view();
}
std::string FinCell(char** values, int columnCount, int i) { return std::string(FinCellView(values, columnCount, i)); }
