// What the savings teller prints on a text printer: the passbook ("BUKU TABUNGAN"), the savings card ("KARTU
// TABUNGAN") and the receipt of one transaction ("STRUK TABUNGAN"). The layouts are plain functions of their inputs;
// SavingsPrintLines asks for the printer, opens the text device "LPT:" + name + ",EMU=TTY", writes and closes it.
//
// Passbook and card carry every savings row of a student on its own line, in the order the rows were booked. A
// row's position (page "-" line) is kept in transaksi.Ref when the teller books it, numbered on the card's pages of
// 68 lines; a print run starts at the position of the student's oldest unprinted row (SavingsRowPosition) and gives
// the rows after it the following lines by count. The card prints on those 68-line pages; the passbook has 25 lines
// to a page, so a stored position is carried over to its pages when the passbook is printed
// (SavingsPassbookPosition).
#pragma once
#include <functional>
#include <string>
#include <vector>

// Lines to a page of the teller's numbering and of the card, and of the passbook.
constexpr int kSavingsCardPageLines = 68;
constexpr int kSavingsPassbookPageLines = 25;

// ----- passbook positions ---------------------------------------------------------------------------------------
struct SavingsPosition {
  long long page = 0;
  long long line = 0;
};
// "P-L": the part before the first "-" and the part after it, each read as a number (Val); a missing part reads 0.
SavingsPosition SavingsParsePosition(const std::string& text);
// page + "-" + line, decimal integers without leading zeros.
std::string SavingsFormatPosition(const SavingsPosition& p);
// True for a position that names a place in the book: page and line 1 or more.
bool SavingsIsPosition(const std::string& text);
// The line after `last`: line + 1 while that is at most `pageLines`, else line 1 of the next page. A position
// without a page (an empty text, page 0) is the start of the book, so the next line is 1-1.
SavingsPosition SavingsNextPosition(const std::string& last, int pageLines = kSavingsCardPageLines);
// The position of row `index` of a student's savings rows in the order they were booked, given each row's stored
// position. Each row comes after the row booked before it: it keeps its stored position when that lies after the
// line of the row before; otherwise (no position stored, or a line the row before took already) it takes the next
// line. The first row without a position takes 1-1. Rows booked elsewhere, such as the payment window's savings
// withdrawals, carry no position; a row booked after one of them may hold a line counted without it.
SavingsPosition SavingsRowPosition(const std::vector<std::string>& positions, int index,
                                   int pageLines = kSavingsCardPageLines);

// A stored position (68-line pages) on the passbook's 25-line pages: the row's line in the book is
// n = (page - 1) x 68 + line; it prints on passbook page ceil(n / 25) at line (n - 1) mod 25 + 1. 1-26 is passbook
// 2-1, 2-1 (line 69 of the book) is 3-19. A position before the book's first line is returned as it is.
SavingsPosition SavingsPassbookPosition(const SavingsPosition& stored);

// ----- pieces of the layouts ------------------------------------------------------------------------------------
// Three blanks and 58 "-".
std::string SavingsRuleLine();
// Blanks in front of the value up to `width` characters; a value at or above the width unchanged.
std::string SavingsPadLeft(const std::string& value, std::size_t width);
// One "*" in front of the value for each character it lacks to 10; a value of 10 or more characters unchanged.
std::string SavingsReceiptAmount(const std::string& value);

// ----- the receipt ----------------------------------------------------------------------------------------------
struct SavingsSchool {
  std::string name, address, phone, email;   // gSchoolName, gSchoolAddress, gSchoolPhone, gSchoolEmail
};
struct SavingsReceiptData {
  SavingsSchool school;
  std::string customerName;    // "Nama Nasabah"
  std::string number;          // "STRUK TABUNGAN NO."
  std::string transaction;     // the transaction code line, "01-Setoran Tunai"
  std::string balanceBefore;   // plain decimal numbers
  std::string amount;
  std::string balanceAfter;
  std::string words;           // the amount in words (FinSpellNumber: every word with a blank in front)
  std::string printDate;       // status-bar part 4, "MMM dd, yyyy"
  std::string printTime;       // status-bar part 5, "HH:mm:ss"
  std::string operatorName;    // status-bar part 1
};
// The twenty lines of the receipt.
std::vector<std::string> SavingsReceiptLines(const SavingsReceiptData& d);

// ----- card and passbook ----------------------------------------------------------------------------------------
// One row of the teller's history list as the book prints it (columns Tanggal, Sandi, Debet, Kredit, Saldo, P, Sts,
// Ket).
struct SavingsBookRow {
  std::string tanggal, sandi, debet, kredit, saldo, position, sts, ket;
};
enum class SavingsBook { Card, Passbook };

// The oldest unprinted row: the first row whose Sts is "t", also when printed rows follow it (a row passed over at a
// declined page); the row count when every row is printed (nothing to print).
int SavingsFirstUnprintedRow(const std::vector<SavingsBookRow>& rows);

// The ten heading lines of card page `page`.
std::vector<std::string> SavingsCardHeading(long long page, const SavingsSchool& school, const std::string& code,
                                            const std::string& name);
// A row's line on the card: 3 blanks, date, 3 blanks, code, 4 blanks, Debet in 12, Kredit in 13, Saldo in 13.
std::string SavingsCardRowLine(const SavingsBookRow& row);
// A row's line in the passbook: 1 blank, date, 3 blanks, code, 4 blanks, the three amounts as on the card, 1 blank,
// the transaction's name.
std::string SavingsPassbookRowLine(const SavingsBookRow& row);
// The question before a new page of `book`, and its caption.
std::string SavingsPageQuestion(SavingsBook book, long long page);
std::string SavingsPageCaption(SavingsBook book);

// What a card or passbook run writes: its lines, the rows written and the rows passed over because the operator
// declined the page.
struct SavingsBookRun {
  std::vector<std::string> lines;
  std::vector<int> written;
  std::vector<int> declined;
};
// The run over `rows` from the oldest unprinted row to the last unprinted one. It starts at that row's position, on
// the card as stored, in the passbook carried over to the passbook's pages (SavingsPassbookPosition). The paper is
// brought to the start line with lines of "`" (line + 10 on the card, below its heading; line + 2 in the passbook)
// when it is past line 1; each row takes the next line, a new page starting past the page length (68 on the card,
// 25 in the passbook). At line 1 of a page `askPage(page)` is
// asked: yes writes the card heading (card only) and the row, no passes the row over. A row printed already keeps
// its line on the paper: a line of "`" stands in for it and it is neither written nor declined.
SavingsBookRun SavingsBookLayout(SavingsBook book, const std::vector<SavingsBookRow>& rows, const SavingsSchool& school,
                                 const std::string& code, const std::string& name,
                                 const std::function<bool(long long page)>& askPage);

// ----- the text device ------------------------------------------------------------------------------------------
enum class SavingsPrintResult {
  Printed,      // every line written and the job handed to the printer
  NoPrinter,    // the print dialog was cancelled
  OpenFailed,   // the device could not be opened
  Failed,       // writing or handing the job over failed
  KeptInFile,   // no printer got the job (no such print queue, or the queue refused it): its text is in a file
};
// Asks for the printer (FinChoosePrinter), opens "LPT:" + name + ",EMU=TTY", then calls `compose` for the lines (a
// run may ask its page questions there, while the device is open), writes each line and closes the device. A job
// kept in a file is told to the operator here (FinTellTextKeptInFile) before KeptInFile is returned.
SavingsPrintResult SavingsPrintLines(const std::function<std::vector<std::string>()>& compose);
