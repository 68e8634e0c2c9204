#include "savings/savings_print.h"

#include <limits>

#include "common/receipt.h"
#include "common/text_print_notice.h"
#include "framework/numbers.h"
#include "platform/text_printer.h"

// ----- passbook positions -----------------------------------------------------------------------------------------

SavingsPosition SavingsParsePosition(const std::string& text) {
  SavingsPosition p;
  const std::size_t dash = text.find('-');
  p.page = RoundHalfEven(Val(text.substr(0, dash)));
  p.line = dash == std::string::npos ? 0 : RoundHalfEven(Val(text.substr(dash + 1)));
  return p;
}

std::string SavingsFormatPosition(const SavingsPosition& p) {
  return std::to_string(p.page) + "-" + std::to_string(p.line);
}

bool SavingsIsPosition(const std::string& text) {
  if (text.find('-') == std::string::npos) return false;
  const SavingsPosition p = SavingsParsePosition(text);
  return p.page >= 1 && p.line >= 1;
}

namespace {

SavingsPosition Next(SavingsPosition p, int pageLines) {
  if (p.page < 1) {   // no place in the book yet: the next line is its first
    p.page = 1;
    p.line = 0;
  }
  if (p.line < 0) p.line = 0;
  if (p.line + 1 <= pageLines) {
    ++p.line;
  } else {
    ++p.page;
    p.line = 1;
  }
  return p;
}

}  // namespace

SavingsPosition SavingsNextPosition(const std::string& last, int pageLines) {
  return Next(SavingsParsePosition(last), pageLines);
}

SavingsPosition SavingsRowPosition(const std::vector<std::string>& positions, int index, int pageLines) {
  if (index < 0 || index >= static_cast<int>(positions.size())) return {};
  SavingsPosition p;   // before the book's first line
  for (int k = 0; k <= index; ++k) {
    const SavingsPosition next = Next(p, pageLines);
    if (!SavingsIsPosition(positions[k])) {
      p = next;
      continue;
    }
    // A stored line at or above the line of a row booked before it is taken already: the row comes after it.
    const SavingsPosition stored = SavingsParsePosition(positions[k]);
    const bool after = stored.page > p.page || (stored.page == p.page && stored.line > p.line);
    p = after ? stored : next;
  }
  return p;
}

SavingsPosition SavingsPassbookPosition(const SavingsPosition& stored) {
  if (stored.page < 1 || stored.line < 1) return stored;
  constexpr long long kMax = std::numeric_limits<long long>::max() / 2;
  if (stored.page > kMax / kSavingsCardPageLines || stored.line > kMax) return stored;   // no book is that long
  const long long n = (stored.page - 1) * kSavingsCardPageLines + stored.line;   // the row's line in the book
  return {(n - 1) / kSavingsPassbookPageLines + 1, (n - 1) % kSavingsPassbookPageLines + 1};
}

// ----- pieces -----------------------------------------------------------------------------------------------------

std::string SavingsRuleLine() { return "   " + std::string(50, '-') + "--------"; }

std::string SavingsPadLeft(const std::string& value, std::size_t width) {
  return value.size() >= width ? value : std::string(width - value.size(), ' ') + value;
}

std::string SavingsReceiptAmount(const std::string& value) {
  return value.size() >= 10 ? value : std::string(10 - value.size(), '*') + value;
}

// ----- the receipt ------------------------------------------------------------------------------------------------

std::vector<std::string> SavingsReceiptLines(const SavingsReceiptData& d) {
  const std::string signer(47, ' ');
  return {
      "",
      "   " + d.school.name,
      "   " + d.school.address,
      "   Telp. " + d.school.phone + " Email. " + d.school.email,
      SavingsRuleLine(),
      "   Nama Nasabah           : " + d.customerName,
      "   STRUK TABUNGAN NO.     : " + d.number,
      "   Transaksi Id / Sandi   : " + d.transaction,
      SavingsRuleLine(),
      "   Jumlah Saldo yang lalu : Rp." + SavingsReceiptAmount(d.balanceBefore),
      "   Jumlah Tunai           : Rp." + SavingsReceiptAmount(d.amount),
      "   Jumlah Saldo Terakhir  : Rp." + SavingsReceiptAmount(d.balanceAfter),
      SavingsRuleLine(),
      "   Terbilang " + d.words + " rupiah",
      signer + "Disetujui oleh",
      "",
      "",
      "",
      signer + "( __________ )",
      "   Print : " + d.printDate + " - " + d.printTime + " by : " + d.operatorName,
  };
}

// ----- card and passbook ------------------------------------------------------------------------------------------

int SavingsFirstUnprintedRow(const std::vector<SavingsBookRow>& rows) {
  const int count = static_cast<int>(rows.size());
  int i = 0;
  while (i < count && rows[i].sts != "t") ++i;
  return i;
}

std::vector<std::string> SavingsCardHeading(long long page, const SavingsSchool& school, const std::string& code,
                                            const std::string& name) {
  const std::string indent(19, ' ');
  return {
      "",
      indent + "KARTU TABUNGAN HAL :" + std::to_string(page),
      indent + std::string(25, '='),
      "   " + school.name,
      "   " + school.address + " Telp. " + school.phone + " Email. " + school.email,
      SavingsRuleLine(),
      "   No. Rekening           : " + code,
      "   Nama Nasabah           : " + name,
      SavingsRuleLine(),
      "    Tanggal  | Sandi |   Debit    |   Kredit   |   Saldo   |",
  };
}

namespace {

std::string Amounts(const SavingsBookRow& row) {
  return SavingsPadLeft(row.debet, 12) + SavingsPadLeft(row.kredit, 13) + SavingsPadLeft(row.saldo, 13);
}

}  // namespace

std::string SavingsCardRowLine(const SavingsBookRow& row) {
  return "   " + row.tanggal + "   " + row.sandi + "    " + Amounts(row);
}

std::string SavingsPassbookRowLine(const SavingsBookRow& row) {
  return " " + row.tanggal + "   " + row.sandi + "    " + Amounts(row) + " " + row.ket;
}

std::string SavingsPageQuestion(SavingsBook book, long long page) {
  return book == SavingsBook::Card
             ? "Persiapkan KARTU TABUNGAN untuk HALAMAN No. " + std::to_string(page) +
                   " dengan kertas yang bisa untuk mencetak 30 baris data.."
             : "Persiapkan BUKU TABUNGAN untuk HALAMAN No. " + std::to_string(page) +
                   " dengan kertas yang bisa untuk mencetak 25 baris data..";
}

std::string SavingsPageCaption(SavingsBook book) {
  return book == SavingsBook::Card ? "Cetak ke KARTU TABUNGAN" : "Cetak ke BUKU TABUNGAN";
}

SavingsBookRun SavingsBookLayout(SavingsBook book, const std::vector<SavingsBookRow>& rows, const SavingsSchool& school,
                                 const std::string& code, const std::string& name,
                                 const std::function<bool(long long page)>& askPage) {
  const bool card = book == SavingsBook::Card;
  const int pageLines = card ? kSavingsCardPageLines : kSavingsPassbookPageLines;
  SavingsBookRun run;
  const int first = SavingsFirstUnprintedRow(rows);
  int count = static_cast<int>(rows.size());
  while (count > first && rows[count - 1].sts != "t") --count;   // printed rows after the last unprinted one
  SavingsPosition at;   // no unprinted row: nothing is written
  if (first < count) {
    std::vector<std::string> positions;
    for (const SavingsBookRow& r : rows) positions.push_back(r.position);
    at = SavingsRowPosition(positions, first, kSavingsCardPageLines);
    if (!card) at = SavingsPassbookPosition(at);
  }
  long long page = at.page, line = at.line;
  if (line > 1) run.lines.insert(run.lines.end(), static_cast<std::size_t>(line + (card ? 10 : 2)), "`");
  for (int i = first; i < count; ++i) {
    if (line > pageLines) {
      ++page;
      line = 1;
    }
    const bool printed = rows[i].sts != "t";   // on the paper already: its line is only passed
    const std::string rowLine = printed ? "`" : card ? SavingsCardRowLine(rows[i]) : SavingsPassbookRowLine(rows[i]);
    bool write = true;
    if (line < 2) {
      write = askPage && askPage(page);
      if (write && card) {
        const auto heading = SavingsCardHeading(page, school, code, name);
        run.lines.insert(run.lines.end(), heading.begin(), heading.end());
      }
    }
    if (write) run.lines.push_back(rowLine);
    if (!printed) (write ? run.written : run.declined).push_back(i);
    ++line;
  }
  return run;
}

// ----- the text device --------------------------------------------------------------------------------------------

SavingsPrintResult SavingsPrintLines(const std::function<std::vector<std::string>()>& compose) {
  const std::string printer = FinChoosePrinter();
  if (printer.empty()) return SavingsPrintResult::NoPrinter;
  platform::TextPrinter device;
  if (!device.Open(platform::TextPrinterDevice(printer))) return SavingsPrintResult::OpenFailed;
  bool ok = true;
  for (const std::string& line : compose ? compose() : std::vector<std::string>{}) ok = device.WriteLine(line) && ok;
  ok = device.Close() && ok;
  if (FinTellTextKeptInFile(device)) return SavingsPrintResult::KeptInFile;   // written, but to a file
  return ok ? SavingsPrintResult::Printed : SavingsPrintResult::Failed;
}
