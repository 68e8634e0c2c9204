#include "common/receipt.h"

#include <QString>

#include <limits>

#include "common/numbers_words.h"
#include "common/settings.h"
#include "framework/dialogs.h"
#include "framework/printer.h"
#include "framework/strings.h"
#include "framework/system_wrappers.h"

namespace {

constexpr int kLeft = 10;           // page units from the left edge
constexpr int kLines = 20;
constexpr int kCentre = 33;         // half of the 66 columns of the receipt

std::string Upper(const std::string& s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())).toUpper().toStdString();
}

// Characters, not bytes: a name with letters beyond ASCII centres as it reads.
std::string Centred(const std::string& text) {
  long long blanks = kCentre - Utf8Length(text) / 2;
  return std::string(blanks > 0 ? static_cast<std::size_t>(blanks) : 0, ' ') + text;
}

}  // namespace

std::vector<ReceiptLine> FinReceiptLayout(const ReceiptData& d) {
  const std::string rule(66, '-');
  const std::string indent(30, ' ');
  std::string text[kLines + 1];
  text[1] = Centred(Upper(d.schoolName));
  text[2] = Centred(d.schoolAddress);
  text[3] = Centred("Telp. " + d.schoolPhone);
  text[4] = rule;
  text[5] = " No.              : " + d.number;
  text[7] = " Terima dari.     : " + d.receivedFrom;
  text[9] = " Untuk Pembayaran : " + d.purpose;
  text[10] = "                  : " + d.purpose2;
  text[11] = rule;
  text[12] = " Terbilang        : " + FinSpellNumber(d.amount) + " rupiah";
  text[13] = rule;
  text[14] = "                  : Rp. " + FinPadLeft10(std::to_string(d.amount));
  text[15] = indent + "_______________, " + d.date;
  text[16] = indent + "Penerima";
  text[20] = indent + Upper(d.signer);

  std::vector<ReceiptLine> lines;
  for (int k = 1; k <= kLines; ++k) {
    if (text[k].empty()) continue;
    long long y = static_cast<long long>(k) * d.lineSpacing;
    if (y > std::numeric_limits<int>::max()) y = std::numeric_limits<int>::max();
    if (y < std::numeric_limits<int>::min()) y = std::numeric_limits<int>::min();
    lines.push_back(ReceiptLine{kLeft, static_cast<int>(y), text[k]});
  }
  return lines;
}

std::string FinPrintReceipt(const std::string& number, const std::string& receivedFrom, const std::string& purpose,
                     std::int32_t amount, const std::string& purpose2, const std::string& signer) {
  ReceiptData d;
  d.number = number;
  d.receivedFrom = receivedFrom;
  d.purpose = purpose;
  d.amount = amount;
  d.purpose2 = purpose2;
  d.signer = signer;
  d.schoolName = gSchoolName;
  d.schoolAddress = gSchoolAddress;
  d.schoolPhone = gSchoolPhone;
  d.lineSpacing = gStrukLineSpacing;
  d.date = FmtDateNow("dd MMMM yyyy");

  PrinterContext ctx;
  PrnInit(ctx);
  PrnStartDoc(ctx, "Struk");
  PrnStartPage(ctx);
  PrnSetFont(ctx, gStrukFont, 10, 0x000000);
  for (const ReceiptLine& line : FinReceiptLayout(d)) PrnText(ctx, line.x, line.y, line.text);
  PrnEndPage(ctx);
  PrnEndDoc(ctx);
  return PrnKeptIn(ctx);
}

std::string FinChoosePrinter() { return DlgSelectPrinter(); }
