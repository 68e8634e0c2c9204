// The four printed receipt layouts of a payment: lines as plain functions, and the pages recorded on the printer.
#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "payments/receipt_layouts.h"
#include "platform/print_recording.h"
#include "support/fixtures.h"
#include "support/seams_fixture.h"

namespace {

std::vector<std::string> ReadLines(const std::string& path) {
  std::istringstream in(fintest::ReadFile(path));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string Expected(const std::string& name) { return FIN_SOURCE_DIR "/tests/payments/expected/" + name; }

PaymentReceipt Small() {
  PaymentReceipt r;
  r.studentId = "S001";
  r.name = "Budi Santoso";
  r.kelas = "TK A";
  r.items = {{"1", "BR-TKA20240001", "SPP Bulan : Juli s/d Agustus", 300000},
             {"2", "BR-TKA20240002", "Uang Buku", 1500000}};
  r.total = 1800000;
  r.discount = 50000;
  r.net = 1750000;
  r.paid = 1800000;
  r.change = 50000;
  r.saved = true;
  r.today = "2024-09-02";
  r.tapel = "2024/2025";
  r.lastKey = "101530";
  r.operatorName = "ketua";
  r.clock = "10:15:30";
  r.printDate = "02-09-2024";
  r.monthName = "September";
  r.schoolName = "SD Harapan Bangsa";
  r.schoolAddress = "Jl. Merdeka No. 5";
  r.schoolPhone = "021-555123";
  r.schoolEmail = "tu@harapan.sch.id";
  r.topMargin = 15;
  r.lineSpacing = 150;
  r.font = "Courier New";
  r.logoPath = "/nonexistent/image/Logo.bmp";
  return r;
}

// The text drawn at page height y, or "<none>".
std::string At(const ReceiptPage& page, int y) {
  for (const ReceiptLine& l : page.lines)
    if (l.y == y) return l.text;
  return "<none>";
}

std::string Name(int length) {
  std::string s;
  for (int i = 0; i < length; ++i) s += static_cast<char>('a' + i % 26);
  return s;
}

// ----- notation ------------------------------------------------------------------------------------------------------

TEST(ReceiptNotation, RollAndSheetAmounts) {
  struct Case {
    long long amount;
    std::string roll, sheet;
  } cases[] = {
      {0, "*********0", "*********0"},
      {150000, "***150.000", "***150.000"},
      {1500000, "*1.500.000", "*1.500.000"},
      {99999999, "99.999.999", "99.999.999"},
      {987654321, "987.654.321", "987.654.321"},   // never cut: wider than ten, the line grows
      {-750000, "**-750.000", "**-750.000"},
      {1234567890, "1.234.567.890", "1.234.567.890"},
      {999999999999LL, "999.999.999.999", "999.999.999.999"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RcptRollAmount(c.amount), c.roll) << c.amount;
    EXPECT_EQ(RcptSheetAmount(c.amount), c.sheet) << c.amount;
  }
}

TEST(ReceiptNotation, ItemNumbersAndCharacterColumns) {
  EXPECT_EQ(RcptItemNumber("1"), "001");
  EXPECT_EQ(RcptItemNumber("12"), "012");
  EXPECT_EQ(RcptItemNumber("1234"), "234");
  EXPECT_EQ(RcptItemNumber(""), "000");
  // A letter beyond ASCII is one column and is never cut in half.
  EXPECT_EQ(RcptLength("Café"), 4);
  EXPECT_EQ(RcptPad("Café", 6), "Café  ");
  EXPECT_EQ(RcptLeft("Café au lait", 4), "Café");
  EXPECT_EQ(RcptChars("Café au lait", 4, 6), "é a");
  EXPECT_EQ(RcptRight("xéy", 2), "éy");
  EXPECT_EQ(RcptChars("abc", 5), "");
  EXPECT_EQ(RcptAlignRight("abc", 2), "abc");
  EXPECT_EQ(RcptBlanks(-3), "");
}

// ----- item lines of the roll receipts --------------------------------------------------------------------------------

TEST(ReceiptSlip79, FeeNamesSplitAfter27Characters) {
  PaymentReceiptItem item{"3", "BR-X", Name(27), 1500000};
  EXPECT_EQ(RcptSlip79ItemLines(item), std::vector<std::string>{"003 " + Name(27) + "Rp.*1.500.000"});
  EXPECT_EQ(RcptSlip79ItemLines(item)[0].size(), 44u);

  item.name = Name(28);
  EXPECT_EQ(RcptSlip79ItemLines(item),
            (std::vector<std::string>{"003 " + Name(28), std::string(31, ' ') + "Rp.*1.500.000"}));

  item.name = Name(80);   // 1-40 and 41-67; the rest is dropped
  EXPECT_EQ(RcptSlip79ItemLines(item),
            (std::vector<std::string>{"003 " + Name(80).substr(0, 40),
                                      "    " + Name(80).substr(40, 27) + "Rp.*1.500.000"}));
}

TEST(ReceiptSlip76, FeeNamesTakeOneTwoOrThreeLines) {
  struct Case {
    int length;
    std::vector<std::string> lines;
  } cases[] = {
      {21, {"001 " + Name(21) + "Rp.****10.000"}},
      {22, {"001 " + Name(22), "    " + std::string(21, ' ') + "Rp.****10.000"}},
      {42, {"001 " + Name(34), "    " + Name(42).substr(34) + std::string(13, ' ') + "Rp.****10.000"}},
      {43, {"001 " + Name(21), "    " + Name(43).substr(21, 21), "    " + Name(43).substr(42) +
                                                                       std::string(20, ' ') + "Rp.****10.000"}},
      {70, {"001 " + Name(21), "    " + Name(70).substr(21, 21), "    " + Name(70).substr(42) + "Rp.****10.000"}},
  };
  for (const Case& c : cases) {
    PaymentReceiptItem item{"1", "BR-X", Name(c.length), 10000};
    EXPECT_EQ(RcptSlip76ItemLines(item), c.lines) << c.length;
  }
}

// ----- whole pages as plain functions ---------------------------------------------------------------------------------

TEST(ReceiptLayouts, RollHeaderIsCutAndCentredFromColumn19) {
  PaymentReceipt r = Small();
  r.schoolName = std::string(50, 'S');
  ReceiptPage p79 = ReceiptSlip79(r);
  EXPECT_EQ(p79.lines.at(0).text, std::string(44, 'S'));   // cut to 44, no leading blanks
  EXPECT_EQ(p79.lines.at(0).x, 200);
  EXPECT_EQ(p79.lines.at(0).y, 15);
  ReceiptPage p76 = ReceiptSlip76(r);
  EXPECT_EQ(p76.lines.at(0).text, std::string(38, 'S'));
  // 19 - 17 / 2 = 11 blanks on both rolls.
  EXPECT_EQ(p79.lines.at(1).text, std::string(11, ' ') + "Jl. Merdeka No. 5");
  EXPECT_EQ(p76.lines.at(1).text, std::string(11, ' ') + "Jl. Merdeka No. 5");
}

TEST(ReceiptLayouts, SavingsLineMovesTheRollsAndFillsTheHalfSheet) {
  PaymentReceipt r = Small();
  r.savingsTicked = true;
  r.savingsBalance = 250000;
  r.savingsLeft = 50000;   // 200000 used
  const std::string gap(11, ' ');
  // 7.9 cm: items take lines 7-9, b = 10; the savings line is b + 6, the change b + 7.
  ReceiptPage p79 = ReceiptSlip79(r);
  EXPECT_EQ(At(p79, 15 + 15 * 150), "Dibayar            :" + gap + "Rp.*1.800.000");
  EXPECT_EQ(At(p79, 15 + 16 * 150), "Tabungan           :" + gap + "Rp***200.000");
  EXPECT_EQ(At(p79, 15 + 17 * 150), "Kembali            :" + gap + "Rp.****50.000");
  EXPECT_EQ(At(p79, 15 + 20 * 150), std::string(44, '*'));
  // 7.6 cm: items take lines 7-9 (the first name has 28 characters), b = 10; b + 5 stays empty.
  ReceiptPage p76 = ReceiptSlip76(r);
  EXPECT_EQ(At(p76, 15 + 14 * 150), "Jumlah Bersih:" + gap + "Rp.*1.750.000");
  EXPECT_EQ(At(p76, 15 + 15 * 150), "<none>");
  EXPECT_EQ(At(p76, 15 + 16 * 150), "Dibayar      :" + gap + "Rp.*1.800.000");
  EXPECT_EQ(At(p76, 15 + 17 * 150), "Tabungan     :" + gap + "Rp***200.000");
  EXPECT_EQ(At(p76, 15 + 18 * 150), "Kembali      :" + gap + "Rp.****50.000");
  // Half sheet: items on lines 7 and 8, b = 8; the savings line b + 8 = 16, the change stays on b + 9.
  ReceiptPage half = ReceiptHalfSheet(r);
  EXPECT_EQ(At(half, 16 * 150), "   " + std::string(26, ' ') + "               Ambil Tabungan : Rp.***200.000");
  EXPECT_EQ(At(half, 17 * 150), "   " + std::string(26, ' ') + "(__________)          Kembali : Rp.****50.000");
  EXPECT_EQ(ReceiptHalfSheet(r).lines.size(), ReceiptHalfSheet(Small()).lines.size() + 1);

  r.savingsTicked = false;
  EXPECT_EQ(At(ReceiptHalfSheet(r), 16 * 150), "<none>");
  EXPECT_EQ(At(ReceiptSlip79(r), 15 + 16 * 150), "Kembali            :" + gap + "Rp.****50.000");
}

TEST(ReceiptLayouts, EmptyItemListPutsTheSummaryUnderTheHeader) {
  PaymentReceipt r = Small();
  r.items.clear();
  EXPECT_EQ(At(ReceiptSlip79(r), 15 + 7 * 150), std::string(44, '-'));
  EXPECT_EQ(At(ReceiptSlip79(r), 15 + 8 * 150).substr(0, 5), "Total");
  EXPECT_EQ(At(ReceiptSlip76(r), 15 + 7 * 150), std::string(38, '-'));
  EXPECT_EQ(At(ReceiptHalfSheet(r), 7 * 150), "   " + std::string(71, '-'));
  EXPECT_EQ(At(ReceiptHalfSheet(r), 8 * 150), std::string(31, ' ') + "                      Total : Rp.*1.800.000");
  EXPECT_EQ(At(ReceiptKwitansi(r), 8 * 150), "   " + std::string(71, '='));
  EXPECT_EQ(At(ReceiptKwitansi(r), 9 * 150).substr(0, 11), "   # ketua ");
}

TEST(ReceiptLayouts, HalfSheetWordsAndSummaryColumns) {
  PaymentReceipt r = Small();
  ReceiptPage half = ReceiptHalfSheet(r);
  // b = 8: every summary amount ends in column 74.
  for (int k : {10, 13, 14, 15, 17}) EXPECT_EQ(RcptLength(At(half, k * 150)), 74) << k;
  EXPECT_EQ(At(half, 12 * 150), "    satu juta delapan ratus  ribu ");
  r.paid = -5;   // words of a negative amount: none
  EXPECT_EQ(At(ReceiptHalfSheet(r), 12 * 150), "   ");
  r.paid = 1000000000;
  EXPECT_EQ(At(ReceiptHalfSheet(r), 12 * 150), "   ");
}

TEST(ReceiptLayouts, KwitansiNumberMonthYearAndCentring) {
  PaymentReceipt r = Small();
  r.today = "2025-03-09";
  r.monthName = "Maret";
  ReceiptPage k = ReceiptKwitansi(r);
  const std::string number = "Tgl.: 2025-03-09 No.: S001/20250309101530";
  EXPECT_EQ(At(k, 5 * 150), "   " + std::string(71 - number.size(), ' ') + number);
  EXPECT_EQ(At(k, 6 * 150), "   KWITANSI PEMBAYARAN" + std::string(52 - 30, ' ') + "Nama: Budi Santoso, Klas: TK A");
  EXPECT_EQ(At(k, 8 * 150), "   1  SPP Bulan : Juli s/d Agustus  Maret        2024-2025   Rp.***300.000");
  EXPECT_EQ(At(k, 9 * 150), "   2  Uang Buku                     Maret        2024-2025   Rp.*1.500.000");
  EXPECT_EQ(At(k, 4 * 150), "   ");
  ASSERT_EQ(k.bitmaps.size(), 1u);
  EXPECT_EQ(k.bitmaps[0].path, "/nonexistent/image/Logo.bmp");
  EXPECT_EQ(k.bitmaps[0].y, 150);
  // 35 - T / 2, halves to the even neighbour: T = 17 gives 26.5 -> 26, T = 19 gives 25.5 -> 26.
  EXPECT_EQ(At(k, 150), std::string(3 + 26, ' ') + "SD Harapan Bangsa");
  r.schoolName = "SD Harapan Bangsa 1";
  EXPECT_EQ(At(ReceiptKwitansi(r), 150), std::string(3 + 26, ' ') + "SD Harapan Bangsa 1");
  r.schoolName = std::string(80, 'N');   // wider than the sheet: from the fourth column
  EXPECT_EQ(At(ReceiptKwitansi(r), 150), "   " + std::string(80, 'N'));
  // A fee name is cut to 38 characters there.
  r.items = {{"1", "BR-X", Name(45), 1000}};
  EXPECT_EQ(At(ReceiptKwitansi(r), 8 * 150).substr(6, 39), Name(38) + "M");
}

TEST(ReceiptLayouts, LayoutIndexChoosesThePage) {
  PaymentReceipt r = Small();
  EXPECT_EQ(ReceiptLayoutPage(r, 0).points, 8);
  EXPECT_EQ(ReceiptLayoutPage(r, 1).lines.size(), ReceiptSlip76(r).lines.size());
  EXPECT_EQ(ReceiptLayoutPage(r, 2).points, 12);
  EXPECT_EQ(ReceiptLayoutPage(r, 3).bitmaps.size(), 1u);
  for (int none : {-1, 4, 5, 6}) {
    EXPECT_TRUE(ReceiptLayoutPage(r, none).lines.empty()) << none;
    EXPECT_TRUE(ReceiptLayoutPage(r, none).docName.empty()) << none;
  }
  EXPECT_EQ(PaymentReceiptLayoutNames().size(), 6u);
  EXPECT_EQ(PaymentReceiptLayoutNames()[kReceiptKwitansi], "Cetak Struk 9.5 x 5.5 Inc 2");
}

// ----- recorded pages ---------------------------------------------------------------------------------------------------

class ReceiptLayoutPrintTest : public fintest::SeamsTest {};

TEST_F(ReceiptLayoutPrintTest, EachLayoutPrintsItsExpectedPage) {
  // A logo of 40 x 30 pixels beside the program.
  std::filesystem::create_directories(ProgramFile("image"));
  QImage logo(40, 30, QImage::Format_RGB888);
  logo.fill(Qt::blue);
  ASSERT_TRUE(logo.save(QString::fromStdString(ProgramFile("image/Logo.bmp")), "BMP"));
  PaymentReceipt r = Small();
  r.logoPath = ProgramFile("image/Logo.bmp");

  struct Case {
    int layout;
    std::string file;
  } cases[] = {{0, "slip79_small.txt"}, {1, "slip76_small.txt"}, {2, "half_sheet_small.txt"}, {3, "kwitansi_small.txt"}};
  for (const Case& c : cases) {
    printed().Clear();
    PrintReceiptPage(ReceiptLayoutPage(r, c.layout));
    ASSERT_EQ(printed().Documents().size(), 1u) << c.file;
    const platform::RecordedDocument& doc = printed().Documents()[0];
    EXPECT_EQ(doc.printer, "Printer Uji");
    EXPECT_EQ(doc.name, "Budi Santoso_TK A_2024-09-02");
    EXPECT_TRUE(doc.ended);
    ASSERT_EQ(doc.pages.size(), 1u);
    EXPECT_EQ(doc.pages[0].Lines(), ReadLines(Expected(c.file))) << c.file;
  }
}

// Amounts up to 999.999.999.999 come out whole on both rolls: the field grows and the line with it.
TEST_F(ReceiptLayoutPrintTest, WideAmountsPrintWholeOnTheRolls) {
  PaymentReceipt r = Small();
  r.items = {{"1", "BR-TKA20240001", "SPP", 123456789}, {"2", "BR-TKA20240002", "Uang Gedung", 999876543210LL}};
  r.total = 999999999999LL;
  r.discount = 99999999999LL;
  r.net = 900000000000LL;
  r.paid = 999999999999LL;
  r.change = 99999999999LL;
  r.savingsTicked = true;
  r.savingsBalance = 100000000;
  r.savingsLeft = 0;
  for (const auto& [layout, file] : {std::pair{0, "slip79_wide.txt"}, std::pair{1, "slip76_wide.txt"}}) {
    printed().Clear();
    PrintReceiptPage(ReceiptLayoutPage(r, layout));
    ASSERT_EQ(printed().Documents().size(), 1u) << file;
    const std::vector<std::string> lines = printed().Documents()[0].pages.at(0).Lines();
    EXPECT_EQ(lines, ReadLines(Expected(file))) << file;
  }
}

TEST_F(ReceiptLayoutPrintTest, KwitansiWithoutLogoPrintsTheTextAlone) {
  PaymentReceipt r = Small();
  PrintReceiptPage(ReceiptKwitansi(r));
  ASSERT_EQ(printed().Documents().size(), 1u);
  const auto& page = printed().Documents()[0].pages.at(0);
  std::vector<std::string> expected = ReadLines(Expected("kwitansi_small.txt"));
  ASSERT_FALSE(expected.empty());
  ASSERT_EQ(expected.front().substr(0, 6), "image ");
  expected.erase(expected.begin());   // the image line
  EXPECT_EQ(page.Lines(), expected);
}

TEST_F(ReceiptLayoutPrintTest, WithoutPrinterNothingComesOut) {
  printed().settings().printers = {"Lain"};
  PrintReceiptPage(ReceiptSlip79(Small()));
  EXPECT_TRUE(printed().Documents().empty());
}

}  // namespace
