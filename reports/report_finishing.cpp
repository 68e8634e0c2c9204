#include "reports/report_finishing.h"

#include <cctype>
#include <string_view>
#include <vector>

#include "common/numbers_words.h"
#include "framework/controls.h"
#include "framework/numbers.h"
#include "framework/strings.h"
#include "framework/window_system.h"

long long gSubTotal = 0;

const char* const kFinTotalsJumlah = "    JUMLAH ";
const char* const kFinTotalsGrand = "GRAND TOTAL ";
const char* const kFinTotalsAll = "Total Seluruhnya";

namespace {

std::string Upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Adds one to a text of decimal digits.
std::string Increment(std::string digits) {
  int i = static_cast<int>(digits.size()) - 1;
  while (i >= 0 && digits[i] == '9') digits[i--] = '0';
  if (i < 0) return "1" + digits;
  ++digits[i];
  return digits;
}

}  // namespace

bool FinIsAmountCaption(const std::string& caption) {
  if (EndsWith(caption, "+") || EndsWith(caption, "Rp.")) return true;
  const std::string u = Upper(caption);
  for (const char* name : {"JUMLAH SUB", "JUMLAH", "JML", "MASUK", "KELUAR", "SALDO"})
    if (u == name) return true;
  return false;
}

std::string FinWholeNumberCell(std::string_view cell) {
  if (cell.empty()) return std::string();
  // The leading number as Val reads it, kept as text so that no digit is lost to a floating-point value.
  std::size_t i = 0;
  while (i < cell.size() && (cell[i] == ' ' || cell[i] == '\t' || cell[i] == '\r' || cell[i] == '\n')) ++i;
  bool negative = false;
  if (i < cell.size() && (cell[i] == '-' || cell[i] == '+')) negative = cell[i++] == '-';
  const std::size_t digits = i;
  while (i < cell.size() && std::isdigit(static_cast<unsigned char>(cell[i]))) ++i;
  std::string whole(cell.substr(digits, i - digits));
  bool fraction = false;
  if (i < cell.size() && cell[i] == '.') {
    for (++i; i < cell.size() && std::isdigit(static_cast<unsigned char>(cell[i])); ++i)
      if (cell[i] != '0') fraction = true;
  }
  const std::size_t nz = whole.find_first_not_of('0');
  whole = nz == std::string::npos ? "0" : whole.substr(nz);
  if (negative && fraction) whole = Increment(whole);   // rounded down: -0.5 -> -1
  if (whole == "0") return "0";
  return negative ? "-" + whole : whole;
}

void FinFinishCellTo(std::string_view cell, FinFinishVariant variant, std::string& out) {
  if (variant == FinFinishVariant::WholeNumbers)
    FinFormatThousandsTo(FinWholeNumberCell(cell), ".", out);
  else
    FinFormatThousandsTo(cell, ".", out);
}

std::string FinFinishCell(const std::string& cell, FinFinishVariant variant) {
  std::string out;
  FinFinishCellTo(cell, variant, out);
  return out;
}

void FinFinishReportList(Hwnd list, FinFinishVariant variant) {
  if (!IsWindow(list)) return;
  const int columns = LvGetColumnCount(list);
  std::vector<int> amounts;
  for (int c = 0; c < columns; ++c) {
    const bool amount =
        variant == FinFinishVariant::FromThirdColumn ? c >= 2 : FinIsAmountCaption(LvGetColumnText(list, c));
    if (!amount) continue;
    LvSetColumnAlign(list, c, LVCFMT_RIGHT);
    amounts.push_back(c);
  }
  // Every row once, its amount cells rewritten together.
  LvRewriteColumns(list, amounts, [variant](int, std::string_view cell, std::string& out) {
    FinFinishCellTo(cell, variant, out);
  });
}

long long FinReportCellValue(std::string_view cell, bool stripDots) {
  return RoundHalfEven(stripDots ? Val(StrReplace(std::string(cell), ".", "")) : Val(cell));
}

long long FinColumnSum(Hwnd list, int column, int firstRow, int endRow) {
  const int rows = LvGetItemCount(list);
  if (endRow < 0 || endRow > rows) endRow = rows;
  long long sum = 0;
  for (int r = firstRow < 0 ? 0 : firstRow; r < endRow; ++r) sum += FinReportCellValue(LvGetItemText(list, r, column));
  return sum;
}

std::vector<std::string> FinListColumn(Hwnd list, int column) {
  std::vector<std::string> cells;
  const int rows = LvGetItemCount(list);
  cells.reserve(static_cast<std::size_t>(rows));
  for (int r = 0; r < rows; ++r) cells.push_back(LvGetItemText(list, r, column));
  return cells;
}

int FinAppendReportRow(Hwnd list, std::initializer_list<std::string_view> cells) {
  return IsWindow(list) ? LvAppendRow(list, cells.begin(), cells.size()) : -1;
}

int FinAppendReportRow(Hwnd list, const std::vector<std::string>& cells) {
  thread_local std::vector<std::string_view> views;
  views.assign(cells.begin(), cells.end());
  return IsWindow(list) ? LvAppendRow(list, views.data(), views.size()) : -1;
}

int FinAppendTotalsRow(Hwnd list, const std::string& label, int firstSummedColumn, int labelColumn) {
  if (!IsWindow(list)) return -1;
  const int columns = LvGetColumnCount(list);
  std::vector<std::string> cells(static_cast<std::size_t>(columns > labelColumn ? columns : labelColumn + 1));
  if (firstSummedColumn >= 0)
    for (int c = firstSummedColumn; c < columns; ++c) cells[c] = std::to_string(FinColumnSum(list, c));
  cells[0].clear();
  cells[labelColumn] = label;
  return FinAppendReportRow(list, cells);
}
