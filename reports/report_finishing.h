// Finishing a report list: the one pass every report builder (except the savings reports) ends with, and the
// totals-row conventions the builders share.
//
// Before the pass an amount cell holds whole rupiah as plain digits ("-" in front when negative) or is empty; the
// pass right-aligns the amount columns and gives each of their cells "." as thousands separator (2750000 becomes
// 2.750.000). What the list then shows is what the exports take.
//
//   LvDeleteAllColumns(list); ... columns ...; LvDeleteAllItems(list);
//   gSubTotal = 0;
//   ... rows through the builder's own callbacks ...
//   FinAppendTotalsRow(list, kFinTotalsJumlah, 3);        // "    JUMLAH " in column 1, sums of columns 3..last
//   FinFinishReportList(list, FinFinishVariant::Plain);
#pragma once
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "framework/win.h"

// The running sub-total a report builder and its row callbacks keep while they fill a list (an item number in the
// payment lists). Every builder sets it before its first statement.
extern long long gSubTotal;

// How the pass treats the cells of the amount columns.
enum class FinFinishVariant {
  Plain,            // formatted from the text unchanged (payment and arrears reports)
  WholeNumbers,     // a non-empty cell first becomes its value rounded down, as plain digits (financial report)
  FromThirdColumn,  // no caption test: every column from the third (index 2) on is an amount column; text unchanged
};

// Labels of the totals rows (exact texts).
extern const char* const kFinTotalsJumlah;   // "    JUMLAH "  (four blanks before, one after)
extern const char* const kFinTotalsGrand;    // "GRAND TOTAL " (one blank after)
extern const char* const kFinTotalsAll;      // "Total Seluruhnya"

// True for the caption of an amount column: it ends in "+", or ends in "Rp." (as written), or in upper case it is
// one of "JUMLAH SUB", "JUMLAH", "JML", "MASUK", "KELUAR", "SALDO".
bool FinIsAmountCaption(const std::string& caption);

// The whole-number form of a cell: its leading decimal number (as Val reads it: blanks, sign, digits, one point)
// rounded down, as plain digits with "-" when negative ("2750000.6" -> "2750000", "-0.5" -> "-1", "abc" -> "0").
// Exact for any number of digits. An empty cell stays empty.
std::string FinWholeNumberCell(std::string_view cell);

// One amount cell as the pass leaves it: FinWholeNumberCell first for WholeNumbers, then FinFormatThousands(., ".").
std::string FinFinishCell(const std::string& cell, FinFinishVariant variant);
// The same, added to the end of `out`.
void FinFinishCellTo(std::string_view cell, FinFinishVariant variant, std::string& out);

// The pass over `list`: for each amount column (by caption, or from the third column on) the alignment becomes
// right and every cell of every row (the totals row too) becomes FinFinishCell; other columns stay as they are.
// Nothing for a list that does not exist.
void FinFinishReportList(Hwnd list, FinFinishVariant variant = FinFinishVariant::Plain);

// A cell read as a whole number: its leading number (Val) rounded half to even; with `stripDots` every "." is
// removed first (a cell that already carries thousands separators). Empty or non-numeric text gives 0.
long long FinReportCellValue(std::string_view cell, bool stripDots = false);

// The sum of FinReportCellValue over rows [firstRow, endRow) of one column (endRow -1: to the last row).
long long FinColumnSum(Hwnd list, int column, int firstRow = 0, int endRow = -1);

// The cells of one column, row by row (the ids of a report's rows, to put in one statement).
std::vector<std::string> FinListColumn(Hwnd list, int column);

// Appends a row at the end of the list with the given cells (cell 0 starts the row; missing cells stay empty);
// returns the new row's index, -1 when the list does not exist.
int FinAppendReportRow(Hwnd list, const std::vector<std::string>& cells);
int FinAppendReportRow(Hwnd list, std::initializer_list<std::string_view> cells);

// Appends the totals row: column 0 empty, `label` in `labelColumn`, and in every column from `firstSummedColumn` to
// the last the whole-number sum of that column over all rows above it (raw cells, before the pass). A
// `firstSummedColumn` of -1 sums nothing. Returns the row's index, -1 when the list does not exist.
int FinAppendTotalsRow(Hwnd list, const std::string& label, int firstSummedColumn, int labelColumn = 1);
