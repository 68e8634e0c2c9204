// The arrears bill of the arrears window in its three forms, as plain functions from what the window shows to the
// text: the printed page (lines at x = 10, y = k x line step), the archive file (38 columns, CR LF lines) and the
// messaging text (24 columns, CR between lines, enclosed in "```").
//
// Columns count characters (a letter beyond ASCII is one column and is never cut in half), so that the amounts line
// up in the fixed-pitch receipt font.
//
// Star filling of an amount to width w: "*" in front up to w characters; an amount of w characters or more is never
// cut (the line grows), on paper, in the file and in the messaging text alike.
#pragma once
#include <string>
#include <vector>

#include "common/receipt.h"   // ReceiptLine: x, y in page units and the text

// One row of the arrears list as the bill reads it.
struct ArrearsBillRow {
  std::string number;   // column 0 "No."
  std::string name;     // column 2 "Pembayaran" (as a chooser may have rewritten it)
  std::string amount;   // column 3 "Jumlah", digits as the list shows them
};

// Everything the bill prints.
struct ArrearsBill {
  std::string schoolName, schoolAddress, schoolPhone, schoolEmail;   // gSchool*
  std::string studentName, kelas;        // the payment window's name and class edits
  std::vector<ArrearsBillRow> rows;      // the arrears list, in list order
  std::string printDate, printTime;      // status-bar parts 4 and 5
  std::string operatorName;              // status-bar part 1
  int lineSpacing = 150;                 // gStrukLineSpacing, page units between lines
};

// ----- building blocks ------------------------------------------------------------------------------------------------------
// The star fill of the printed bill, of the file and of the messaging text: RcptStarFill (payments/receipt_layouts.h),
// "*" in front up to `width` characters; a longer text stays whole.
std::string FinBillStarPrefix(const std::string& amount, int width);
std::string FinBillStarField(const std::string& amount, int width);
// The sum of the rows' amounts (each read as a number, rounded to whole rupiah after each addition).
long long FinArrearsBillTotal(const std::vector<ArrearsBillRow>& rows);

// ----- the printed bill --------------------------------------------------------------------------------------------
// The lines of the page, top to bottom (empty texts included where the bill has them):
//   1-3 school name, address, "Telp. ... Email. ..." (three blanks in front); 4 and 6 a line of 71 hyphens;
//   5 "   Nama Siswa : " name "; Kls : " class; 7 "    Tagihan Tunggakan " + 52 hyphens;
//   8.. one line per row: four blanks, the number filled to 3, the name (60 at most) filled to 44, "Rp." and the
//   amount star-filled to 10; then the total ("Rp." under the rows' "Rp."), the hyphens, the amount in words, an
//   empty line, "   Dicetak tanggal " date " pukul : " time and "   Oleh Operator : " operator.
// The total is the sum of the rows as they stand now (FinArrearsBillTotal).
std::vector<ReceiptLine> FinArrearsBillLines(const ArrearsBill& bill);

// ----- the archive file ----------------------------------------------------------------------------------------------
// "tunggakan_" + name + "_" + class + "_" + today + ".txt", every blank, "/" and "\" of the parts replaced by "_" (a
// class "VII/A" is written as "VII_A", never as a folder).
std::string FinArrearsArchiveFileName(const std::string& studentName, const std::string& kelas,
                                      const std::string& today);
// The file's lines (without line ends): the centred school lines, the student, one to three lines per row by the
// length of its name, and the total of those rows (FinArrearsBillTotal, "." separated), as the printed bill has it.
std::vector<std::string> FinArrearsArchiveLines(const ArrearsBill& bill);

// The head of an arrears archive, 38 characters wide: the school centred (name, address, "Telp. " + phone), a rule,
// "Nama : " + the student, "Kelas: " + the class, a rule. The arrears reports' notes share it.
std::vector<std::string> FinArrearsArchiveHead(const std::string& schoolName, const std::string& schoolAddress,
                                               const std::string& schoolPhone, const std::string& studentName,
                                               const std::string& kelas);
// The whole file: every line followed by CR LF.
std::string FinArrearsArchiveText(const ArrearsBill& bill);

// ----- the messaging text ----------------------------------------------------------------------------------------------
// "```" + the lines joined by CR (no line feed, none after the last) + "```". Its total is the total of its rows
// (FinArrearsBillTotal, "." separated).
std::string FinArrearsChatText(const ArrearsBill& bill);
