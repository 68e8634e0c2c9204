// tablepage: writes a list handed over by Finance as the printable page "Lap.html" in the program folder and opens
// it with the desktop's default program.
//
// One export, sData(pageInfo, headerList, rowList):
//   pageInfo   title ";" school name ";" school address ";" alignment letters (the letters are not used here)
//   headerList column captions joined by ";"
//   rowList    rows joined by ";", the cells of a row joined by ","
// A null pointer reads as an empty text. The result is the text "0"; when the page was written but no program could
// be started to open it, the page's path; when the page could not be written (a folder of that name, a folder that
// cannot be written), "!" followed by the page's path. The caller copies it and tells the operator of the last two.
//
// The plug-in carries its own copies of the string routines and HTML cell builders it uses and links nothing of
// Finance. Every text taken from the data (title, school name and address, captions, cells) is escaped before it
// goes into the page, so markup in a name shows as text. The page is UTF-8 and starts with a byte-order mark, so a
// browser reads it as UTF-8 however far down its first accented letter stands.
//
// The program folder is the folder this library was loaded from (the plug-in ships beside the program); the page is
// opened with the desktop opener "xdg-open", looked up along PATH, which is left to run on its own.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "plugin_host.h"


namespace {

// ---- string routines (this plug-in's own copies) ------------------------------------------------------------------

// Splits `source` at `delimiter`. fields[0] receives the number of pieces n as decimal text, fields[1..n] the pieces;
// the array holds exactly n + 1 elements. An empty source (or a delimiter longer than the source) gives n = 0; a
// delimiter at the very end closes the last piece without adding an empty one; an empty delimiter, or a source
// without the delimiter, gives the whole source as its one piece.
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

// Every occurrence of `find` in `source`, scanned from the left without overlap, replaced by `replacement`; an
// empty replacement removes the occurrences and nothing else. An empty source or find text gives the source back.
std::string StrReplaceFast(const std::string& source, const std::string& find, const std::string& replacement) {
  if (source.empty() || find.empty()) return source;
  if (source.find('\0') != std::string::npos) return "Erreur";
  std::string out;
  out.reserve(source.size());
  std::size_t pos = 0;
  for (;;) {
    std::size_t at = source.find(find, pos);
    if (at == std::string::npos) break;
    out.append(source, pos, at - pos);
    out += replacement;
    pos = at + find.size();
  }
  out.append(source, pos, std::string::npos);
  return out;
}

// The text with "&", "<", ">" and both quote characters written as character references.
std::string HtmlEscape(const std::string& text) {
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

// ---- HTML cell builders (this plug-in's own copies) ---------------------------------------------------------------

constexpr const char* kCellText =
    " nowrap><span style='font-size: 12px'><span style='font-family: arial,helvetica,sans-serif'>";
constexpr const char* kCellEnd = "</span></span></td>";

std::string FinHtmlHeaderCell(const std::string& text, const std::string& width, const std::string& align) {
  std::string cell = "<td class='headeritem'";
  if (width != "-1") cell += " width='" + width + "px'";
  return cell + " align='" + align + "'" + kCellText + text + kCellEnd;
}

std::string FinHtmlItemCell(const std::string& text, const std::string& align) {
  return "<td class='item' align='" + align + "'" + kCellText + text + kCellEnd;
}

// ---- page ---------------------------------------------------------------------------------------------------------

constexpr const char* kHead1 =
    "<html><head><title>@kop</title><style>body{margin:0px; padding:0px; font-family:verdana; font-size:7px; "
    "cursor:default;} table{font-size:7px;} .fixpage{width:180mm;} .pageheader{background-color:#e6f2e7; "
    "width:100%;";
constexpr const char* kHead2 =
    "height:70px; border-bottom:solid 3px #6bb372;} .headerrow{background-color:#cccccc; font-size:9px; "
    "font-weight:bold; height:20px;} .headeritem{padding:2px 5px 2px 5px;} .item{border-bottom:solid 1px #cccccc; "
    "padding:2px 5px 2px 5px;}</style></head>";
constexpr const char* kBodyOpen =
    "<body><table class='fixpage' cellpadding='0' cellspacing='0'><tr><td><table class='pageheader' "
    "cellpadding='0' cellspacing='0' border='0'><tr><td width='120px' align='center'><img style='width: 68px; "
    "height: 78px;' src='image/Logo.bmp'/></td><td>";
constexpr const char* kSchool =
    "<font style='font-size:16px;'>@Sekolah</font><br/><font style='Font-size:8px;'>@Alamat</font></td></tr></table>";
constexpr const char* kPeriod =
    "<br/><table cellpadding='2' cellspacing='0'><tr><td><b>Periode:</b></td><td>@Tapel</td></tr></table><br/>";
constexpr const char* kTableOpen = "<table cellpadding='2' cellspacing='0'><tr class='headerrow'>";
constexpr const char* kPageEnd = "</td></tr></table></td></tr></table><br/><br/></body></html>";

// A data cell aligns right when its text begins with a digit or "-", left otherwise (an empty cell too).
const char* CellAlign(const std::string& cell) {
  if (cell.empty()) return "left";
  const char c = cell[0];
  return ((c >= '0' && c <= '9') || c == '-') ? "right" : "left";
}

// Today's local date as "mm-dd-yyyy".
std::string PeriodText() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::snprintf(text, sizeof text, "%02d-%02d-%04d", local.tm_mon + 1, local.tm_mday, local.tm_year + 1900);
  return text;
}

std::string BuildPage(const std::string& pageInfo, const std::string& headerList, const std::string& rowList) {
  std::vector<std::string> info, headers, rows, cells;
  StrSplit(pageInfo, ";", info);
  auto field = [&info](std::size_t k) { return k < info.size() ? HtmlEscape(info[k]) : std::string(); };

  std::string page = "\xEF\xBB\xBF";  // UTF-8 byte-order mark
  page.reserve(512 + headerList.size() * 2 + rowList.size() * 5);
  auto line = [&page](const std::string& text) {
    page += text;
    page += "\r\n";
  };
  line("<script language=javascript>");
  line("window.print()");
  line("</script>");
  line(StrReplaceFast(kHead1, "@kop", field(1)));
  line(kHead2);
  line(kBodyOpen);
  line(StrReplaceFast(StrReplaceFast(kSchool, "@Sekolah", field(2)), "@Alamat", field(3)));
  line(StrReplaceFast(kPeriod, "@Tapel", PeriodText()));
  line(kTableOpen);
  const int headerCount = StrSplit(headerList, ";", headers);
  std::string headerLine;
  for (int k = 1; k <= headerCount; ++k) headerLine += FinHtmlHeaderCell(HtmlEscape(headers[k]), "100", "left");
  line(headerLine);
  line("</tr>");
  // Every row gets a cell for each column of the header, at least one: an empty row, or a row whose last cells are
  // empty (the splitting drops an empty piece at the end), still draws its rule across the whole table.
  const int rowCount = StrSplit(rowList, ";", rows);
  for (int r = 1; r <= rowCount; ++r) {
    line("<tr>");
    const int cellCount = StrSplit(rows[r], ",", cells);
    const int width = std::max({cellCount, headerCount, 1});
    cells.resize(static_cast<std::size_t>(width) + 1);
    std::string cellLine;
    for (int c = 1; c <= width; ++c) cellLine += FinHtmlItemCell(HtmlEscape(cells[c]), CellAlign(cells[c]));
    line(cellLine);
    line("</tr>");
  }
  line(kPageEnd);
  return page;
}

// The text sData hands back; it stays valid until the next call or the library's unloading.
std::string gResult;

bool WritePage(const std::string& path, const std::string& page) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(page.data(), 1, page.size(), f) == page.size();
  ok = (std::fclose(f) == 0) && ok;
  return ok;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) const char* sData(intptr_t pageInfo, intptr_t headerList,
                                                                    intptr_t rowList) {
  auto text = [](intptr_t p) { return p ? std::string(reinterpret_cast<const char*>(p)) : std::string(); };
  const std::string page = BuildPage(text(pageInfo), text(headerList), text(rowList));
  const std::string path = PluginFile(PluginFolder(), "Lap.html");
  // A page that could not be written is not opened: the file there would be an earlier export's. The opener runs on
  // its own; when none can be started, the result names the page. Either way the caller tells the operator.
  gResult = "0";
  if (!WritePage(path, page)) {
    gResult = "!";
    gResult += path;
  } else if (!PluginOpenWithDesktop(path)) {
    gResult = path;
  }
  return gResult.c_str();
}
