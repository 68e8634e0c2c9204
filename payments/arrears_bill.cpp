#include "payments/arrears_bill.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "common/numbers_words.h"
#include "framework/numbers.h"
#include "framework/strings.h"
#include "payments/receipt_layouts.h"

namespace {

constexpr int kLeft = 10;                      // page units from the left edge

std::string Hyphens71() { return "   " + std::string(60, '-') + "-----------"; }

std::string Separated(const std::string& amount) { return FinFormatThousands(amount, "."); }

// The amount in words as the payment window writes it: the words routine for 0 to 999,999,999 (the empty text
// beyond), a negative amount (overpaid fees) " minus" followed by the words of its size.
std::string Words(long long total) {
  const long long size = total < 0 ? -total : total;
  const std::string words =
      size > std::numeric_limits<std::int32_t>::max() ? std::string() : FinSpellNumber(static_cast<std::int32_t>(size));
  return total < 0 ? " minus" + words : words;
}

}  // namespace

std::string FinBillStarPrefix(const std::string& amount, int width) { return RcptStarFill(amount, width); }

std::string FinBillStarField(const std::string& amount, int width) { return RcptStarFill(amount, width); }

long long FinArrearsBillTotal(const std::vector<ArrearsBillRow>& rows) {
  long long total = 0;
  for (const ArrearsBillRow& r : rows) total = RoundHalfEven(static_cast<double>(total) + Val(r.amount));
  return total;
}

std::vector<ReceiptLine> FinArrearsBillLines(const ArrearsBill& bill) {
  std::vector<std::string> text;   // text[k - 1] stands at y = k x line step
  text.push_back("   " + bill.schoolName);
  text.push_back("   " + bill.schoolAddress);
  text.push_back("   Telp. " + bill.schoolPhone + " Email. " + bill.schoolEmail);
  text.push_back(Hyphens71());
  text.push_back("   Nama Siswa : " + bill.studentName + "; Kls : " + bill.kelas);
  text.push_back(Hyphens71());
  text.push_back("    Tagihan Tunggakan " + std::string(52, '-'));
  for (const ArrearsBillRow& r : bill.rows)
    text.push_back("    " + Utf8PadRight(r.number, 3) + Utf8PadRight(Utf8Left(r.name, 60), 44) + "Rp." +
                   RcptStarFill(r.amount, 10));
  const long long total = FinArrearsBillTotal(bill.rows);
  text.push_back(std::string(27, ' ') + "                Total : Rp." + RcptStarFill(std::to_string(total), 10));
  text.push_back(Hyphens71());
  text.push_back("   " + Words(total));
  text.push_back("");
  text.push_back("   Dicetak tanggal " + bill.printDate + " pukul : " + bill.printTime);
  text.push_back("   Oleh Operator : " + bill.operatorName);

  std::vector<ReceiptLine> lines;
  for (std::size_t i = 0; i < text.size(); ++i) {
    long long y = static_cast<long long>(i + 1) * bill.lineSpacing;
    y = std::clamp<long long>(y, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    lines.push_back(ReceiptLine{kLeft, static_cast<int>(y), text[i]});
  }
  return lines;
}

std::string FinArrearsArchiveFileName(const std::string& studentName, const std::string& kelas,
                                      const std::string& today) {
  // A class such as "VII/A" must not name a folder: "/" and "\" become "_" as blanks do.
  auto part = [](const std::string& s) { return StrReplaceAnyChar(s, " /\\", "_"); };
  return "tunggakan_" + part(studentName) + "_" + part(kelas) + "_" + part(today) + ".txt";
}

std::vector<std::string> FinArrearsArchiveHead(const std::string& schoolName, const std::string& schoolAddress,
                                               const std::string& schoolPhone, const std::string& studentName,
                                               const std::string& kelas) {
  const std::string rule(38, '-');
  return {RcptRollCentred(schoolName, 38),
          RcptRollCentred(schoolAddress, 38),
          RcptRollCentred("Telp. " + schoolPhone, 38),
          rule,
          "Nama : " + studentName,
          "Kelas: " + kelas,
          rule};
}

std::vector<std::string> FinArrearsArchiveLines(const ArrearsBill& bill) {
  const std::string rule(38, '-');
  std::vector<std::string> lines =
      FinArrearsArchiveHead(bill.schoolName, bill.schoolAddress, bill.schoolPhone, bill.studentName, bill.kelas);
  for (const ArrearsBillRow& r : bill.rows) {
    const std::string n = Utf8Right("000" + r.number, 3);
    const std::string a = "Rp." + RcptStarFill(Separated(r.amount), 10);
    const long long len = Utf8Length(r.name);
    if (len <= 21) {
      lines.push_back(n + " " + Utf8PadRight(r.name, 21) + a);
    } else if (len <= 42) {
      lines.push_back(n + " " + Utf8Left(r.name, 34));
      lines.push_back("    " + Utf8PadRight(Utf8Mid(r.name, 34), 21) + a);
    } else {
      lines.push_back(n + " " + Utf8Left(r.name, 21));
      lines.push_back("    " + Utf8Mid(r.name, 21, 21));
      lines.push_back("    " + Utf8PadRight(Utf8Mid(r.name, 42), 21) + a);
    }
  }
  lines.push_back(rule);
  lines.push_back("Total        :" + std::string(11, ' ') + "Rp." +
                  RcptStarFill(Separated(std::to_string(FinArrearsBillTotal(bill.rows))), 10));
  return lines;
}

std::string FinArrearsArchiveText(const ArrearsBill& bill) {
  std::string text;
  for (const std::string& line : FinArrearsArchiveLines(bill)) text += line + "\r\n";
  return text;
}

std::string FinArrearsChatText(const ArrearsBill& bill) {
  std::vector<std::string> lines = {Utf8Left(bill.schoolName, 24),
                                    Utf8Left(bill.schoolAddress, 24),
                                    Utf8Left("Telp. " + bill.schoolPhone, 24),
                                    std::string(11, '-') + "Tagihan Siswa",
                                    Utf8Left("Nama : " + bill.studentName, 24),
                                    Utf8Left("Kelas: " + bill.kelas, 24),
                                    std::string(24, '-')};
  for (const ArrearsBillRow& r : bill.rows)
    lines.push_back(Utf8PadRight(Utf8Left(r.name, 12), 12) + "Rp." + RcptStarFill(Separated(r.amount), 9));
  lines.push_back(std::string(24, '-'));
  lines.push_back("Total      :Rp." + RcptStarFill(Separated(std::to_string(FinArrearsBillTotal(bill.rows))), 9));
  std::string text = "```";
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i) text += "\r";
    text += lines[i];
  }
  return text + "```";
}
