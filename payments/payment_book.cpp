#include "payments/payment_book.h"

#include "common/globals.h"
#include "common/query_callbacks.h"
#include "common/receipt.h"
#include "common/sql.h"
#include "common/text_print_notice.h"
#include "framework/numbers.h"
#include "framework/system_wrappers.h"
#include "framework/win.h"
#include "platform/text_printer.h"

std::string BookEntryLine(const std::string& today, const PaymentReceiptItem& item) {
  const std::string amount = std::to_string(item.amount);
  return " " + today + RcptBlanks(3) + RcptRight(item.code, 2) + RcptBlanks(4) + RcptAlignRight(amount, 12) +
         RcptAlignRight(amount, 13) + RcptBlanks(3) + item.name;
}

std::string BookCountSql(const std::string& studentId, const std::string& tapel, const std::string& today) {
  return "Select Count(*) From transaksi WHERE Sts<>'t' and  SiswaID='" + SqlQ(studentId) + "'and Tgl between '" +
         SqlQ(RcptLeft(tapel, 4)) + "-07-01' and '" + SqlQ(today) + "'";
}

int BookPagePosition(long long countedRows, long long itemCount) {
  long long used = countedRows - itemCount;
  return used > 0 ? static_cast<int>(used % kBookLinesPerPage) : 0;
}

int BookFillerCount(int position) { return 2 + (position > 0 ? position - 1 : 0); }

void PrintPaymentBook(const PaymentReceipt& r) {
  // A count that fails leaves the page taken as fresh: the operator is asked before the first entry.
  gSqlResult = "0";
  if (FinExec(BookCountSql(r.studentId, r.tapel, r.today), FinCbSingleValue) != 0) gSqlResult = "0";
  const int position =
      BookPagePosition(RoundHalfEven(Val(gSqlResult)), static_cast<long long>(r.items.size()));

  const std::string printer = FinChoosePrinter();
  if (printer.empty()) {
    MsgBox("Tidak ada printer yang dipilih..", "Transaksi..", MB_ICONINFORMATION);
    return;
  }
  platform::TextPrinter book;
  if (!book.Open(platform::TextPrinterDevice(printer))) {
    MsgBox("Gagal Cetak..", "Transaksi..", MB_ICONINFORMATION);
    return;
  }
  for (int i = 0, n = BookFillerCount(position); i < n; ++i) book.WriteLine(kBookFillerLine);
  for (std::size_t row = 0; row < r.items.size(); ++row) {
    if (row == 0 && position == 0 &&
        MsgBox("Pergantian halaman baru, apakah sudah siap untuk cetak?", "Cetak ke Buku Administrasi",
               MB_YESNO | MB_ICONQUESTION) != IDYES)
      continue;
    book.WriteLine(BookEntryLine(r.today, r.items[row]));
  }
  book.Close();
  FinTellTextKeptInFile(book);   // no printer got the book's lines: the operator learns where they are
}
