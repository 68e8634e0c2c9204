// The cash receipt ("kwitansi") of the cash and bank journal entries and the print-request poller, and the choice of
// a text printer for payment books, passbooks, cards and savings receipts.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// One drawn line of a page: its top-left corner in page units and its text.
struct ReceiptLine {
  int x = 0;
  int y = 0;
  std::string text;
};

// What the cash receipt shows.
struct ReceiptData {
  std::string number;          // the entry's id
  std::string receivedFrom;
  std::string purpose;
  std::int32_t amount = 0;     // whole rupiah
  std::string purpose2;
  std::string signer;
  std::string schoolName;      // gSchoolName
  std::string schoolAddress;   // gSchoolAddress
  std::string schoolPhone;     // gSchoolPhone
  int lineSpacing = 0;         // gStrukLineSpacing: page units between lines
  std::string date;            // the printing date "dd MMMM yyyy" with the locale's full month name
};

// The lines of the cash receipt that draw something, top to bottom: line k at x = 10, y = k x line spacing. Lines 6, 8, 17, 18 and 19 stay empty and keep their place.
//   1-3   school name in capitals, address, "Telp. " + phone, each centred on 66 columns (33 - length / 2 blanks)
//   4     66 x "-"
//   5     " No.              : " + number
//   7     " Terima dari.     : " + received from
//   9-10  " Untuk Pembayaran : " + purpose, "                  : " + purpose 2
//   11    66 x "-"
//   12    " Terbilang        : " + amount in words + " rupiah"
//   13    66 x "-"
//   14    "                  : Rp. " + the amount's digits right-aligned in 10 columns
//   15    30 blanks + "_______________, " + date
//   16    30 blanks + "Penerima"
//   20    30 blanks + signer in capitals
std::vector<ReceiptLine> FinReceiptLayout(const ReceiptData& data);

// Prints the cash receipt on the default printer: document "Struk", font gStrukFont at 10 points in black, the
// lines of FinReceiptLayout with the school of sekolah.txt, the line spacing of setting_struk.txt and today's date.
// Reports nothing itself: returns the file the receipt went to when the system has no printer (a PDF under
// "cetak/", which the caller tells the operator of, FinTellPrintKeptInFiles); empty when it went to a printer.
std::string FinPrintReceipt(const std::string& number, const std::string& receivedFrom, const std::string& purpose,
                     std::int32_t amount, const std::string& purpose2, const std::string& signer);

// The name of the printer the operator chose in the print dialog, or the empty text when cancelled. Callers open the
// text printer "LPT:" + name + ",EMU=TTY" with it (platform/text_printer.h).
std::string FinChoosePrinter();
