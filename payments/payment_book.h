// The payment book: a booklet fed into a text printer, two skipped lines at the top of a page and 26 entry lines, one
// printed line per item paid. The position on the current page is worked out from the student's rows of this school
// year at every print.
#pragma once
#include <string>
#include <vector>

#include "payments/receipt_layouts.h"

constexpr int kBookLinesPerPage = 26;

// The line that only moves the paper: one backquote.
inline const std::string kBookFillerLine = "`";

// One entry: " " + today + 3 blanks + the last two characters of the fee code + 4 blanks + the amount right-aligned in
// 12 columns + the same amount right-aligned in 13 + 3 blanks + the fee name (an amount wider than its column is
// printed whole and shifts the rest).
std::string BookEntryLine(const std::string& today, const PaymentReceiptItem& item);

// The count of the book lines used this school year: the student's rows other than unprinted savings rows (Sts 't')
// from 1 July of the first year of `tapel` up to `today`.
std::string BookCountSql(const std::string& studentId, const std::string& tapel, const std::string& today);

// The position on the page: U = counted rows - the items of this payment; U mod 26 when U > 0, else 0.
int BookPagePosition(long long countedRows, long long itemCount);

// Filler lines before the first entry at position p: 2, and p - 1 more when p > 0.
int BookFillerCount(int position);

// Prints the payment's items into the book: counts the lines used ("SQL error: " box on failure, the page then
// taken as fresh), lets the operator choose a printer ("Tidak ada printer yang dipilih.." when cancelled), opens
// "LPT:" + name + ",EMU=TTY" ("Gagal Cetak.." when it cannot), writes the filler lines and one entry per item; on a
// fresh page asks "Pergantian halaman baru, apakah sudah siap untuk cetak?" before the first entry, which No leaves
// out. A book that reached no printer (its text kept in a file) is told to the operator (FinTellTextKeptInFile).
void PrintPaymentBook(const PaymentReceipt& r);
