#include "payments/receipt_layouts.h"

#include <climits>
#include <cstdint>

#include "common/numbers_words.h"
#include "common/text_print_notice.h"
#include "framework/numbers.h"
#include "framework/printer.h"
#include "framework/strings.h"

// ----- notation ----------------------------------------------------------------------------------------------------------

namespace {

// A page coordinate that stays inside int whatever the settings hold.
int PageUnit(long long v) {
  if (v > INT_MAX) return INT_MAX;
  if (v < INT_MIN) return INT_MIN;
  return static_cast<int>(v);
}

// FinSpellNumber over the full range of an amount: outside 0..999,999,999 it gives the empty text.
std::string SpellAmount(long long amount) {
  if (amount < 0 || amount > 999999999LL) return FinSpellNumber(-1);
  return FinSpellNumber(static_cast<std::int32_t>(amount));
}

// The lines of one page, numbered as the layout numbers them; empty texts keep their place and are not drawn.
class PageLines {
 public:
  PageLines(long long top, long long step) : top_(top), step_(step) {}
  void Set(long long k, const std::string& text, int x = 10) {
    if (text.empty()) return;
    lines_.push_back(ReceiptLine{x, PageUnit(top_ + k * step_), text});
  }
  std::vector<ReceiptLine> Take() { return std::move(lines_); }

 private:
  long long top_, step_;
  std::vector<ReceiptLine> lines_;
};

ReceiptPage NewPage(const PaymentReceipt& r, int points) {
  ReceiptPage page;
  page.docName = r.name + "_" + r.kelas + "_" + r.today;
  page.font = r.font;
  page.points = points;
  return page;
}

// The summary label of the half sheet: three blanks, the label right-aligned in 61 columns, the sheet amount.
std::string SheetSummary(const std::string& label, long long amount) {
  return RcptBlanks(3) + RcptAlignRight(label, 61) + RcptSheetAmount(amount);
}

// A centred line of the KWITANSI: three blanks, then 35 - T / 2 blanks (halves to the even neighbour), then the text.
std::string KwitansiCentred(const std::string& text) {
  long long r = RoundHalfEven(35.0 - static_cast<double>(RcptLength(text)) / 2.0);
  return RcptBlanks(3) + RcptBlanks(r) + text;
}

std::string Without(const std::string& s, char c) {
  std::string out;
  for (char ch : s)
    if (ch != c) out += ch;
  return out;
}

std::string Replaced(std::string s, char from, char to) {
  for (char& ch : s)
    if (ch == from) ch = to;
  return s;
}

}  // namespace

// The character helpers of the layouts are the shared UTF-8 column routines under the layouts' own names.
long long RcptLength(const std::string& s) { return Utf8Length(s); }

std::string RcptLeft(const std::string& s, long long n) { return Utf8Left(s, n); }

std::string RcptRight(const std::string& s, long long n) { return Utf8Right(s, n); }

std::string RcptChars(const std::string& s, long long a, long long b) {
  if (a < 1) a = 1;
  if (b < 0) return Utf8Mid(s, a - 1);
  return b < a ? std::string() : Utf8Mid(s, a - 1, b - a + 1);
}

std::string RcptBlanks(long long n) { return RcptRepeat(' ', n); }

std::string RcptRepeat(char c, long long n) { return n > 0 ? std::string(static_cast<std::size_t>(n), c) : ""; }

std::string RcptPad(const std::string& s, long long n) { return Utf8PadRight(s, n); }

std::string RcptAlignRight(const std::string& s, long long n) { return Utf8PadLeft(s, n); }

std::string RcptThousands(long long amount) { return FinFormatThousands(std::to_string(amount), "."); }

std::string RcptStarFill(const std::string& text, long long width) {
  return RcptRepeat('*', width - RcptLength(text)) + text;
}

std::string RcptRollAmount(long long amount) { return RcptStarFill(RcptThousands(amount), 10); }

std::string RcptSheetAmount(long long amount) { return RcptRollAmount(amount); }

std::string RcptItemNumber(const std::string& number) { return RcptRight("000" + number, 3); }

std::string RcptRollCentred(const std::string& text, int width) {
  std::string cut = RcptLeft(text, width);
  return RcptBlanks(19 - RcptLength(cut) / 2) + cut;
}

std::vector<std::string> RcptSlip79ItemLines(const PaymentReceiptItem& item) {
  const std::string n = RcptItemNumber(item.number);
  const std::string& f = item.name;
  const std::string amount = "Rp." + RcptRollAmount(item.amount);
  if (RcptLength(f) <= 27) return {n + " " + RcptPad(f, 27) + amount};
  return {n + " " + RcptLeft(f, 40), RcptBlanks(4) + RcptPad(RcptChars(f, 41, 67), 27) + amount};
}

std::vector<std::string> RcptSlip76ItemLines(const PaymentReceiptItem& item) {
  const std::string n = RcptItemNumber(item.number);
  const std::string& f = item.name;
  const long long len = RcptLength(f);
  const std::string amount = "Rp." + RcptRollAmount(item.amount);
  if (len <= 21) return {n + " " + RcptPad(f, 21) + amount};
  if (len <= 42) return {n + " " + RcptLeft(f, 34), RcptBlanks(4) + RcptPad(RcptChars(f, 35), 21) + amount};
  return {n + " " + RcptLeft(f, 21), RcptBlanks(4) + RcptChars(f, 22, 42),
          RcptBlanks(4) + RcptPad(RcptChars(f, 43), 21) + amount};
}

std::string RcptHalfSheetItemLine(const PaymentReceiptItem& item) {
  return RcptBlanks(3) + RcptPad(item.number, 3) + RcptPad(item.name, 55) + "Rp." + RcptSheetAmount(item.amount);
}

std::string RcptKwitansiItemLine(const PaymentReceiptItem& item, int position, const std::string& monthName,
                                 const std::string& tapel) {
  return RcptBlanks(3) + RcptPad(std::to_string(position), 3) + RcptPad(RcptLeft(item.name, 38), 30) +
         RcptPad(monthName, 10) + RcptBlanks(3) + Replaced(tapel, '/', '-') + "   Rp." + RcptSheetAmount(item.amount);
}

const std::vector<std::string>& PaymentReceiptLayoutNames() {
  static const std::vector<std::string> names = {"Cetak Struk Lebar 7,9 Cm",    "Cetak Struk Lebar 7,6 Cm",
                                                 "Cetak Struk 9.5 x 5.5 Inc 1", "Cetak Struk 9.5 x 5.5 Inc 2",
                                                 "Cetak Ke Buku",               "Tanpa Cetak"};
  return names;
}

// ----- the roll receipts -----------------------------------------------------------------------------------------------

namespace {

// What tells the two roll widths apart.
struct RollLayout {
  int width;                                                   // characters across the roll
  int labelWidth;                                              // the labels are padded to this, then ":"
  std::vector<std::string> (*itemLines)(const PaymentReceiptItem&);
  bool blankBeforePaid;                                        // the 7,6 cm roll leaves a line before "Dibayar"
};

ReceiptPage RollReceipt(const PaymentReceipt& r, const RollLayout& l) {
  ReceiptPage page = NewPage(r, 8);
  PageLines out(r.topMargin, r.lineSpacing);
  out.Set(0, RcptRollCentred(r.schoolName, l.width), 200);
  out.Set(1, RcptRollCentred(r.schoolAddress, l.width), 200);
  out.Set(2, RcptRollCentred("Telp. " + r.schoolPhone, l.width), 200);
  out.Set(3, RcptRepeat('-', l.width));
  out.Set(4, "Nama : " + r.name);
  out.Set(5, "Kelas: " + r.kelas);
  out.Set(6, RcptRepeat('-', l.width));
  long long k = 7;
  for (const PaymentReceiptItem& item : r.items)
    for (const std::string& line : l.itemLines(item)) out.Set(k++, line);
  const std::string gap = RcptBlanks(11);
  auto label = [&](const std::string& text) { return RcptPad(text, l.labelWidth) + ":"; };
  out.Set(k++, RcptRepeat('-', l.width));
  out.Set(k++, label("Total") + gap + "Rp." + RcptRollAmount(r.total));
  out.Set(k++, RcptRepeat('=', l.width));
  out.Set(k++, label("Potongan") + gap + "Rp." + RcptRollAmount(r.discount));
  out.Set(k++, label("Jumlah Bersih") + gap + "Rp." + RcptRollAmount(r.net));
  if (l.blankBeforePaid) k++;
  out.Set(k++, label("Dibayar") + gap + "Rp." + RcptRollAmount(r.paid));
  if (r.savingsTicked) out.Set(k++, label("Tabungan") + gap + "Rp" + RcptRollAmount(r.SavingsUsed()));
  out.Set(k++, label("Kembali") + gap + "Rp." + RcptRollAmount(r.change));
  out.Set(k++, "[HARAP DISIMPAN DENGAN BAIK]");
  out.Set(k++, label("Dicetak") + " " + r.printDate + " By : " + r.operatorName);
  out.Set(k++, RcptRepeat('*', l.width));
  page.lines = out.Take();
  return page;
}

}  // namespace

ReceiptPage ReceiptSlip79(const PaymentReceipt& r) { return RollReceipt(r, {44, 19, RcptSlip79ItemLines, false}); }

ReceiptPage ReceiptSlip76(const PaymentReceipt& r) { return RollReceipt(r, {38, 13, RcptSlip76ItemLines, true}); }

// ----- the sheets --------------------------------------------------------------------------------------------------------

ReceiptPage ReceiptHalfSheet(const PaymentReceipt& r) {
  ReceiptPage page = NewPage(r, 12);
  PageLines out(0, r.lineSpacing);
  const std::string rule = RcptBlanks(3) + RcptRepeat('-', 71);
  out.Set(1, RcptBlanks(11) + r.schoolName);
  out.Set(2, RcptBlanks(11) + r.schoolAddress);
  out.Set(3, RcptBlanks(11) + "Telp. " + r.schoolPhone + " Email. " + r.schoolEmail);
  out.Set(4, rule);
  out.Set(5, "   Nama Siswa : " + r.name + "; Kls : " + r.kelas);
  out.Set(6, rule);
  long long b = 6;   // the last item line, or the last header line without items
  for (const PaymentReceiptItem& item : r.items) {
    ++b;
    out.Set(b, RcptHalfSheetItemLine(item));
  }
  out.Set(b + 1, rule);
  out.Set(b + 2, SheetSummary("                      Total : Rp.", r.total));
  out.Set(b + 3, rule);
  out.Set(b + 4, RcptBlanks(3) + SpellAmount(r.paid));
  out.Set(b + 5, SheetSummary("Penerima              Potongan : Rp.", r.discount));
  out.Set(b + 6, SheetSummary("                      Jml. Bersih : Rp.", r.net));
  out.Set(b + 7, SheetSummary("                      Dibayar : Rp.", r.paid));
  if (r.savingsTicked) out.Set(b + 8, SheetSummary("               Ambil Tabungan : Rp.", r.SavingsUsed()));
  out.Set(b + 9, SheetSummary("(__________)          Kembali : Rp.", r.change));
  out.Set(b + 11, "   Dicetak tanggal " + r.printDate + " " + r.clock);
  out.Set(b + 12, "   Oleh operator : " + r.operatorName);
  page.lines = out.Take();
  return page;
}

ReceiptPage ReceiptKwitansi(const PaymentReceipt& r) {
  ReceiptPage page = NewPage(r, 12);
  page.bitmaps.push_back(ReceiptBitmap{r.logoPath, 400, r.lineSpacing, 800, 600});
  PageLines out(0, r.lineSpacing);
  const std::string rule = RcptBlanks(3) + RcptRepeat('=', 71);
  out.Set(1, KwitansiCentred(r.schoolName));
  out.Set(2, KwitansiCentred(r.schoolAddress));
  out.Set(3, KwitansiCentred("Telp. " + r.schoolPhone + " Email. " + r.schoolEmail));
  out.Set(4, RcptBlanks(3));
  out.Set(5, RcptBlanks(3) + RcptAlignRight("Tgl.: " + r.today + " No.: " + r.studentId + "/" + Without(r.today, '-') +
                                                r.lastKey,
                                            71));
  out.Set(6, "   KWITANSI PEMBAYARAN" + RcptAlignRight("Nama: " + r.name + ", Klas: " + r.kelas, 52));
  out.Set(7, rule);
  long long b = 7;
  for (std::size_t i = 0; i < r.items.size(); ++i) {
    ++b;
    out.Set(b, RcptKwitansiItemLine(r.items[i], static_cast<int>(i + 1), r.monthName, r.tapel));
  }
  out.Set(b + 1, rule);
  out.Set(b + 2, RcptBlanks(3) + RcptPad("# " + r.operatorName + " / " + r.clock, 50) + "Total : Rp." +
                     RcptSheetAmount(r.total));
  page.lines = out.Take();
  return page;
}

ReceiptPage ReceiptLayoutPage(const PaymentReceipt& r, int layout) {
  switch (layout) {
    case kReceiptSlip79: return ReceiptSlip79(r);
    case kReceiptSlip76: return ReceiptSlip76(r);
    case kReceiptHalfSheet: return ReceiptHalfSheet(r);
    case kReceiptKwitansi: return ReceiptKwitansi(r);
    default: return ReceiptPage{};
  }
}

void PrintReceiptPage(const ReceiptPage& page) {
  PrinterContext ctx;
  PrnInit(ctx);
  PrnStartDoc(ctx, page.docName);
  PrnStartPage(ctx);
  PrnSetFont(ctx, page.font, page.points, 0x000000);
  for (const ReceiptBitmap& b : page.bitmaps) PrnDrawBitmapFile(ctx, b.path, b.x, b.y, b.width, b.height);
  for (const ReceiptLine& line : page.lines) PrnText(ctx, line.x, line.y, line.text);
  PrnEndPage(ctx);
  PrnEndDoc(ctx);
  FinTellPrintKeptInFiles({PrnKeptIn(ctx)});   // no printer: the clerk learns where the receipt went
}
