// The row callbacks every window runs its statements with (sqlite3_exec's callback signature). Each returns 0, so
// every row is delivered; a NULL value reads as the empty text. All state is in the shared globals of
// common/globals.h (and gFormMode of app/globals.h).
#pragma once
#include <string>
#include <string_view>

// Value `i` of a row a callback is given: empty for SQL NULL and for a value the row does not have.
std::string_view FinCellView(char** values, int columnCount, int i);
std::string FinCell(char** values, int columnCount, int i);

// gSqlResult := column 0 of the row. After the statement it holds column 0 of the last row; a statement without rows
// leaves it as it was (set it first where that matters).
int FinCbSingleValue(void* user, int columnCount, char** values, char** names);

// Same effect as FinCbSingleValue.
int FinCbFirstValue(void* user, int columnCount, char** values, char** names);

// Per row: gFormMode := column 0; then every value is appended to gSqlResult followed by ";", the last one by "|"
// (a;b;c|); gRowCount += 1. The caller empties gSqlResult and sets gRowCount to 0 first.
int FinCbAppendRow(void* user, int columnCount, char** values, char** names);

// Per row, into the list view gTargetListView: gSqlResult := ""; when the list has fewer columns than the row has
// values, one column per result column is inserted at positions 0..n-1 (caption the column name in upper case,
// left-aligned, 100 wide; columns already there end up after them); the row is appended at the end (a NULL or empty
// value gives an empty cell, image 0, item data 0); each cell text is appended to gSqlResult followed by ";";
// gListRowCount += 1.
int FinCbFillList(void* user, int columnCount, char** values, char** names);

// gCountResult := column 0 read as a number (Val) and rounded half to even. Used with "Select Count(*)" statements,
// which give exactly one row; a statement that fails or gives no row leaves gCountResult as it was.
int FinCbCount(void* user, int columnCount, char** values, char** names);

// Writes `text` as the only line of "Catatan Error SQL.txt" in the working folder (replacing it) and opens that file
// with the desktop's default program (FinOpenWithDesktop: the operator is told when no program can open it).
void FinShowSqlErrorLog(const std::string& text);
