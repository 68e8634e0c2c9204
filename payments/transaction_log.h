// The transaction log record of a saved payment: one line of text in the folder "CatatTransaksi" of the program folder,
// written after each successful save of the payment window when that folder exists (create the folder to keep the
// log; nothing is written, and nothing is said, while it is missing).
//
// File:  <program folder>/CatatTransaksi/<name>_<class>_<gToday>_<HHmmss>.txt (blanks kept; "/" and "\" become "_")
// Line:  item part + "<>" + header part, ended by CR LF.
//   item part   each item's text (lines joined by "|") followed by ";", as the chosen receipt layout prints it:
//               1 the 7.6 cm roll, 2 the half sheet, 3 the KWITANSI; 0, 4 and 5 give an empty item part.
//   header part fifteen fields joined by "|": layout index, name, class, gToday without "-", "Rp." + roll amount of
//               the total, the discount, the net and the cash, "Rp" + roll amount of the savings used, "Rp." + roll
//               amount of the change, "dd-mm-yyyy By : " + operator, gPrinterKind, the student id,
//               "# " + operator + " / " + clock, the cash as typed.
#pragma once
#include <string>
#include <vector>

// One item of the item list.
struct TxLogItem {
  std::string number;     // "Nomer"
  std::string name;       // "Akun Pembayaran"
  long long amount = 0;   // "Jumlah"
};

// What the record holds, as the payment window shows it.
struct TxLogRecord {
  int layout = -1;                 // index chosen in "Pilihan Cetak" (-1 none)
  std::string name, kelas, studentId;
  std::string today;               // gToday "yyyy-mm-dd"
  std::string tapel;               // gTapel
  std::vector<TxLogItem> items;
  long long total = 0, discount = 0, net = 0, paid = 0, savingsUsed = 0, change = 0;
  std::string paidText;            // "Dibayar Tunai" as typed
  std::string printDate;           // today as "dd-mm-yyyy"
  std::string monthName;           // the current month's full name
  std::string operatorName;        // status-bar part 1
  std::string clock;               // status-bar part 5 "HH:mm:ss"
  int printerKind = 0;             // gPrinterKind
};

// Amount forms: the receipts' (RcptRollAmount and RcptSheetAmount of payments/receipt_layouts.h), the digits with "."
// every three from the right, padded on the left with "*" to 10 characters; a longer amount is never cut.
std::string TxLogRollAmount(long long amount);
std::string TxLogSheetAmount(long long amount);
// The text of one item (its lines joined by "|") in layout `layout`; `position` counts the items from 1.
std::string TxLogItemText(int layout, const TxLogItem& item, int position, const std::string& monthName,
                          const std::string& tapel);
// The record's line, without its line end.
std::string TxLogLine(const TxLogRecord& r);
// The record's file.
std::string TxLogPath(const std::string& programFolder, const std::string& name, const std::string& kelas,
                      const std::string& today, const std::string& clock);
// Writes the line with CR LF into the file (replacing it). The folder is not made: false when the file could not be
// written.
bool TxLogWrite(const std::string& path, const std::string& line);

// The record of what the payment window shows now (gTargetListView is left on the item list).
TxLogRecord FORMBAYAR_TransactionLogRecord();
// Writes that record; nothing is reported.
void FORMBAYAR_WriteTransactionLog();
