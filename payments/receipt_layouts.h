// The printed receipts of a saved payment: what the payment window shows, gathered in one record, and the four
// layouts drawn on the default printer (two paper rolls and two 9.5 x 5.5 inch sheets) as plain functions from that
// record to page lines. Nothing here reads a window or a global: the payment window's print command fills the record
// (payments/receipt_print.h) and hands it over.
//
// Receipts are lines of a fixed-pitch font aligned with blanks; a column counts characters (a letter beyond ASCII is
// one column, never cut in half). Amounts carry "." as thousands separator and are padded on the left with "*".
#pragma once
#include <string>
#include <vector>

#include "common/receipt.h"   // ReceiptLine: x, y in page units and the text

// One row of the payment window's item list.
struct PaymentReceiptItem {
  std::string number;        // column 0 "Nomer": the item's number as added
  std::string code;          // column 1 "Kode": the fee id
  std::string name;          // column 2 "Akun Pembayaran": the fee name as the arrears window wrote it
  long long amount = 0;      // column 3 "Jumlah": whole rupiah
};

// Everything a receipt, the payment book, the archive and the messaging text print, as the payment window shows it
// at the moment of printing.
struct PaymentReceipt {
  // The student and the items.
  std::string studentId;     // the id edit
  std::string name;          // the name edit
  std::string kelas;         // the class edit
  std::vector<PaymentReceiptItem> items;   // in list order

  // The totals (whole rupiah).
  long long total = 0;       // "Total"
  long long discount = 0;    // "Potongan"
  long long net = 0;         // "Total setelah potongan"
  long long paid = 0;        // "Dibayar Tunai"
  long long change = 0;      // "Kembali"
  bool savingsTicked = false;        // "Ambil Tabungan [F3]"
  long long savingsBalance = 0;      // "Saldo Tabungan": before the payment
  long long savingsLeft = 0;         // "Saldo Sekarang": after it
  long long SavingsUsed() const { return savingsBalance - savingsLeft; }

  // The print command.
  bool saved = false;        // the payment shown has been saved
  int layout = -1;           // index chosen in "Pilihan Cetak" (PaymentReceiptLayout), -1 none
  bool archive = false;      // "Arsip" ticked
  bool copyToChat = false;   // "Copy2WA" ticked

  // The moment and who prints.
  std::string today;         // gToday "yyyy-mm-dd"
  std::string tapel;         // gTapel "2024/2025"
  std::string lastKey;       // gLastKey: HHmmss of the save
  std::string operatorName;  // status-bar part 1
  std::string clock;         // status-bar part 5 "HH:mm:ss"
  std::string printDate;     // the printing date "dd-mm-yyyy"
  std::string monthName;     // the full name of the printing date's month in the user's language

  // The school and the receipt settings.
  std::string schoolName, schoolAddress, schoolPhone, schoolEmail;
  int topMargin = 15;        // gStrukTopMargin, page units
  int lineSpacing = 150;     // gStrukLineSpacing, page units
  std::string font = "Courier New";   // gStrukFont
  std::string logoPath;      // the program folder + "/image/Logo.bmp"
  std::string programFolder; // where the archive folder "arsip" lives
};

// The items of "Pilihan Cetak", in order; the index is the layout.
enum PaymentReceiptLayout : int {
  kReceiptSlip79 = 0,        // "Cetak Struk Lebar 7,9 Cm"
  kReceiptSlip76 = 1,        // "Cetak Struk Lebar 7,6 Cm"
  kReceiptHalfSheet = 2,     // "Cetak Struk 9.5 x 5.5 Inc 1"
  kReceiptKwitansi = 3,      // "Cetak Struk 9.5 x 5.5 Inc 2"
  kReceiptBook = 4,          // "Cetak Ke Buku"
  kReceiptNone = 5,          // "Tanpa Cetak"
};
// The six item texts above, in order.
const std::vector<std::string>& PaymentReceiptLayoutNames();

// A bitmap file drawn stretched into a rectangle of page units.
struct ReceiptBitmap {
  std::string path;
  int x = 0, y = 0, width = 0, height = 0;
};

// One printed page: the document name, the font, the bitmaps drawn before the text and the lines that draw something
// (empty lines keep their place but are not drawn).
struct ReceiptPage {
  std::string docName;
  std::string font;
  int points = 0;
  std::vector<ReceiptBitmap> bitmaps;
  std::vector<ReceiptLine> lines;
};

// ----- the layouts -----------------------------------------------------------------------------------------------------
// Roll receipts: line k (from 0) at y = top margin + k x line spacing; sheets: line k (from 1) at y = k x line
// spacing. Document name: name + "_" + class + "_" + today.
ReceiptPage ReceiptSlip79(const PaymentReceipt& r);     // 7.9 cm roll, 44 columns, 8 points
ReceiptPage ReceiptSlip76(const PaymentReceipt& r);     // 7.6 cm roll, 38 columns, 8 points
ReceiptPage ReceiptHalfSheet(const PaymentReceipt& r);  // 9.5 x 5.5 inch sheet, 74 columns, 12 points
ReceiptPage ReceiptKwitansi(const PaymentReceipt& r);   // the same sheet with the school logo, 12 points
// The page of layout 0 to 3; an empty page (no lines, no document name) for any other index.
ReceiptPage ReceiptLayoutPage(const PaymentReceipt& r, int layout);

// Draws the page on the default printer: one job, one page. Without a printer nothing comes out and nothing is said.
void PrintReceiptPage(const ReceiptPage& page);

// ----- the notation shared by the receipts, the archive and the messaging text -----------------------------------------
long long RcptLength(const std::string& s);                        // characters
std::string RcptLeft(const std::string& s, long long n);           // the first n characters
std::string RcptRight(const std::string& s, long long n);          // the last n characters
std::string RcptChars(const std::string& s, long long a, long long b = -1);   // characters a..b (1-based), b<0: to the end
std::string RcptBlanks(long long n);                               // n blanks, none when n <= 0
std::string RcptRepeat(char c, long long n);                       // n copies of c
std::string RcptPad(const std::string& s, long long n);            // s + blanks(n - length)
std::string RcptAlignRight(const std::string& s, long long n);     // blanks(n - length) + s
std::string RcptThousands(long long amount);                       // "1.500.000", "-750.000"
// "*" in front of the text up to `width` characters; a text of `width` characters or more stays whole (the line
// grows). Every star-filled amount of the receipts, the bills, the archives and the messaging texts.
std::string RcptStarFill(const std::string& text, long long width);
std::string RcptRollAmount(long long amount);                      // RcptStarFill(RcptThousands(amount), 10)
std::string RcptSheetAmount(long long amount);                     // the same on the sheets
std::string RcptItemNumber(const std::string& number);             // the last three characters of "000" + number
// A roll receipt's centred header line: blanks(19 - T / 2) + the text cut to `width` characters (T its length).
std::string RcptRollCentred(const std::string& text, int width);
// The item lines of the 7.9 cm and 7.6 cm roll receipts for one item.
std::vector<std::string> RcptSlip79ItemLines(const PaymentReceiptItem& item);
std::vector<std::string> RcptSlip76ItemLines(const PaymentReceiptItem& item);
// The item line of the half sheet: three blanks, the number filled to 3, the name filled to 55, "Rp." and the amount.
std::string RcptHalfSheetItemLine(const PaymentReceiptItem& item);
// The item line of the KWITANSI: three blanks, `position` (from 1) filled to 3, the name's first 38 characters filled
// to 30, the month's name filled to 10, three blanks, the school year with "-" for "/", "   Rp." and the amount.
std::string RcptKwitansiItemLine(const PaymentReceiptItem& item, int position, const std::string& monthName,
                                 const std::string& tapel);
