#include "common/export.h"

#include <dlfcn.h>

#include <string_view>

#include "common/globals.h"
#include "common/settings.h"
#include "framework/controls.h"
#include "framework/system_wrappers.h"
#include "platform/seams.h"

namespace {

using SDataFn = const char* (*)(std::intptr_t, std::intptr_t, std::intptr_t);

const char kBoxCaption[] = "Export To excel..";

// Each byte of `text` found in `from` replaced by `to`; `to` == '\0' removes it.
std::string MapChars(const std::string& text, const char* from, char to) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (std::string_view(from).find(c) == std::string_view::npos)
      out += c;
    else if (to != '\0')
      out += to;
  }
  return out;
}

constexpr const char* kCellText =
    " nowrap><span style='font-size: 12px'><span style='font-family: arial,helvetica,sans-serif'>";
constexpr const char* kCellEnd = "</span></span></td>";

}  // namespace

std::string FinAlignLetter(int align) {
  switch (align) {
    case 0: return "l";
    case 1: return "r";
    default: return "c";
  }
}

std::string FinPageCell(const std::string& cell) { return MapChars(cell, ",;", '-'); }

bool FinThousandsNumber(const std::string& cell) {
  std::size_t k = cell.size() > 0 && cell[0] == '-' ? 1 : 0;
  const std::size_t lead = k;
  while (k < cell.size() && cell[k] >= '0' && cell[k] <= '9') ++k;
  const std::size_t digits = k - lead;
  if (digits < 1 || digits > 3 || cell[lead] == '0') return false;
  int groups = 0;
  while (k < cell.size()) {
    if (cell.size() - k < 4 || cell[k] != '.') return false;
    for (std::size_t d = k + 1; d <= k + 3; ++d)
      if (cell[d] < '0' || cell[d] > '9') return false;
    k += 4;
    ++groups;
  }
  return groups > 0;
}

std::string FinSheetCell(const std::string& cell) {
  return MapChars(FinThousandsNumber(cell) ? MapChars(cell, ".", '\0') : cell, ",;", '-');
}

PageExportArgs FinBuildPageArgs(const std::string& title, const std::string& schoolName,
                                const std::string& schoolAddress, const std::vector<ExportColumn>& columns,
                                const ExportRows& rows) {
  PageExportArgs args;
  std::string letters;
  for (std::size_t c = 0; c < columns.size(); ++c) {
    if (c) args.headerList += ';';
    args.headerList += FinPageCell(columns[c].caption);   // a ";" in a caption must not split the header
    letters += FinAlignLetter(columns[c].align);
  }
  if (!columns.empty()) {
    for (std::size_t r = 0; r < rows.size(); ++r) {
      if (r) args.rowList += ';';
      for (std::size_t c = 0; c < columns.size(); ++c) {
        if (c) args.rowList += ',';
        if (c < rows[r].size()) args.rowList += FinPageCell(rows[r][c]);
      }
    }
  }
  args.pageInfo = title + ";" + schoolName + ";" + schoolAddress + ";" + letters;
  return args;
}

SheetExportArgs FinBuildSheetArgs(const std::vector<ExportColumn>& columns, const ExportRows& rows) {
  SheetExportArgs args;
  args.rowCount = static_cast<std::intptr_t>(rows.size());
  args.columnCount = static_cast<std::intptr_t>(columns.size());
  for (std::size_t c = 0; c < columns.size(); ++c) {
    if (c) args.rowList += ',';
    args.rowList += FinSheetCell(columns[c].caption);   // a "," in a caption must not split the caption line
  }
  if (columns.empty()) return args;
  for (const auto& row : rows) {
    args.rowList += ';';
    for (std::size_t c = 0; c < columns.size(); ++c) {
      if (c) args.rowList += ',';
      if (c < row.size()) args.rowList += FinSheetCell(row[c]);
    }
  }
  return args;
}

std::string FinHtmlHeaderCell(const std::string& text, const std::string& width, const std::string& align) {
  std::string cell = "<td class='headeritem'";
  if (width != "-1") cell += " width='" + width + "px'";
  return cell + " align='" + align + "'" + kCellText + text + kCellEnd;
}

std::string FinHtmlItemCell(const std::string& text, const std::string& align) {
  return "<td class='item' align='" + align + "'" + kCellText + text + kCellEnd;
}

std::string FinHtmlEscape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

PluginCallResult FinCallPlugin(const std::string& name, std::intptr_t arg1, std::intptr_t arg2, std::intptr_t arg3,
                               std::string* result) {
  const std::string path = platform::ProgramFolderPath() + "/lib" + name + ".so";
  void* lib = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!lib) {
    MsgBox("tidak dapat membaca library..", kBoxCaption, MB_OK | MB_ICONINFORMATION);
    return PluginCallResult::NoLibrary;
  }
  auto sData = reinterpret_cast<SDataFn>(dlsym(lib, "sData"));
  if (!sData) {
    dlclose(lib);
    MsgBox("tidak dapat membaca data yang dibaca library..", kBoxCaption, MB_OK | MB_ICONINFORMATION);
    return PluginCallResult::NoExport;
  }
  const char* answer = sData(arg1, arg2, arg3);
  std::string copy = answer ? answer : "";  // the text belongs to the plug-in: copy it before unloading
  dlclose(lib);
  if (result) *result = std::move(copy);
  return PluginCallResult::Called;
}

namespace {

// The columns (caption and format) and the cell texts of a list view, through the list-view wrappers.
void ReadList(Hwnd list, std::vector<ExportColumn>& columns, ExportRows& rows) {
  const int columnCount = LvGetColumnCount(list);
  for (int c = 0; c < columnCount; ++c) columns.push_back({LvGetColumnText(list, c), LvGetColumnAlign(list, c)});
  const int rowCount = LvGetItemCount(list);
  rows.reserve(rowCount > 0 ? rowCount : 0);
  for (int r = 0; r < rowCount; ++r) {
    std::vector<std::string> cells;
    cells.reserve(columnCount);
    for (int c = 0; c < columnCount; ++c) cells.push_back(LvGetItemText(list, r, c));
    rows.push_back(std::move(cells));
  }
}

}  // namespace

std::string FinNoOpenerText(const std::string& path) {
  return "Tidak ada program yang dapat dijalankan untuk membuka " + path + "..";
}

bool FinOpenWithDesktop(const std::string& path) {
  if (platform::OpenWithDesktop(path)) return true;
  MsgBox(FinNoOpenerText(path), "Info", MB_OK);
  return false;
}

std::string FinPageNotWrittenText(const std::string& path) {
  return "Halaman " + path + " tidak dapat disimpan..";
}

void FinExportToPage(const std::string& title, Hwnd list) {
  std::vector<ExportColumn> columns;
  ExportRows rows;
  ReadList(list, columns, rows);
  const PageExportArgs args = FinBuildPageArgs(title, gSchoolName, gSchoolAddress, columns, rows);
  std::string result;
  if (FinCallPlugin("tablepage", reinterpret_cast<std::intptr_t>(args.pageInfo.c_str()),
                    reinterpret_cast<std::intptr_t>(args.headerList.c_str()),
                    reinterpret_cast<std::intptr_t>(args.rowList.c_str()), &result) != PluginCallResult::Called)
    return;
  if (result.size() > 1 && result[0] == '!')
    // The page could not be written (nothing was opened): the result names it.
    MsgBox(FinPageNotWrittenText(result.substr(1)), "Info", MB_OK | MB_ICONINFORMATION);
  else if (!result.empty() && result.front() == '/')
    // The page was written, but no program could be started to show it: the result names the page.
    MsgBox(FinNoOpenerText(result), "Info", MB_OK);
}

void FinExportToSheet() {
  std::vector<ExportColumn> columns;
  ExportRows rows;
  ReadList(gTargetListView, columns, rows);
  const SheetExportArgs args = FinBuildSheetArgs(columns, rows);
  FinCallPlugin("tablesheet", args.rowCount, args.columnCount, reinterpret_cast<std::intptr_t>(args.rowList.c_str()));
}
