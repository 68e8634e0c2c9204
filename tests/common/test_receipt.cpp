// The cash receipt (layout and recorded print) and the printer choice.
#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/globals.h"
#include "common/receipt.h"
#include "platform/print_recording.h"
#include "platform/text_printer.h"
#include "support/fixtures.h"
#include "support/seams_fixture.h"

namespace {

std::vector<std::string> ReadLines(const std::string& path) {
  std::istringstream in(fintest::ReadFile(path));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

ReceiptData Sample() {
  ReceiptData d;
  d.number = "K-01";
  d.receivedFrom = "Budi";
  d.purpose = "SPP Juli";
  d.amount = 150000;
  d.purpose2 = "Kas";
  d.signer = "Ani";
  d.schoolName = "Sd Harapan Bangsa";
  d.schoolAddress = "Jl. Merdeka No. 5";
  d.schoolPhone = "021-555123";
  d.lineSpacing = 150;
  d.date = "02 September 2024";
  return d;
}

TEST(ReceiptLayout, LinesOfA150000Receipt) {
  const std::string blanks25(25, ' ');
  const std::string blanks30(30, ' ');
  const std::string rule(66, '-');
  std::vector<ReceiptLine> expected = {
      {10, 150, blanks25 + "SD HARAPAN BANGSA"},
      {10, 300, blanks25 + "Jl. Merdeka No. 5"},
      {10, 450, blanks25 + "Telp. 021-555123"},
      {10, 600, rule},
      {10, 750, " No.              : K-01"},
      {10, 1050, " Terima dari.     : Budi"},
      {10, 1350, " Untuk Pembayaran : SPP Juli"},
      {10, 1500, "                  : Kas"},
      {10, 1650, rule},
      {10, 1800, " Terbilang        :  seratus lima puluh  ribu  rupiah"},
      {10, 1950, rule},
      {10, 2100, "                  : Rp.     150000"},
      {10, 2250, blanks30 + "_______________, 02 September 2024"},
      {10, 2400, blanks30 + "Penerima"},
      {10, 3000, blanks30 + "ANI"},
  };
  std::vector<ReceiptLine> got = FinReceiptLayout(Sample());
  ASSERT_EQ(got.size(), expected.size());
  for (std::size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(got[i].x, expected[i].x) << i;
    EXPECT_EQ(got[i].y, expected[i].y) << i;
    EXPECT_EQ(got[i].text, expected[i].text) << i;
  }
}

TEST(ReceiptLayout, CentringOfTheHeaderLines) {
  struct Case {
    std::string name;
    std::size_t blanks;
  } cases[] = {
      {"", 33},                       // nothing to centre: 33 blanks
      {"A", 33},                      // 33 - 1 / 2
      {"AB", 32},
      {std::string(65, 'N'), 1},
      {std::string(66, 'N'), 0},
      {std::string(67, 'N'), 0},      // longer than the receipt: from the left edge
      {std::string(90, 'N'), 0},
      {"Sekolah Bintang Ceria Élan", 20},   // 26 characters (27 bytes)
  };
  for (const Case& c : cases) {
    ReceiptData d = Sample();
    d.schoolName = c.name;
    std::string line = FinReceiptLayout(d).at(0).text;
    std::size_t lead = line.find_first_not_of(' ');
    if (lead == std::string::npos) lead = line.size();
    EXPECT_EQ(lead, c.blanks) << c.name;
  }
  ReceiptData d = Sample();
  d.schoolName = "sekolah élan";
  EXPECT_EQ(FinReceiptLayout(d).at(0).text, std::string(27, ' ') + "SEKOLAH ÉLAN");
}

TEST(ReceiptLayout, LineSpacingAmountsAndEmptyTexts) {
  struct Case {
    int spacing;
    int lastY;
  } spacings[] = {{150, 3000}, {500, 10000}, {520, 10400}, {0, 0}, {-10, -200}};
  for (const Case& c : spacings) {
    ReceiptData d = Sample();
    d.lineSpacing = c.spacing;
    EXPECT_EQ(FinReceiptLayout(d).back().y, c.lastY) << c.spacing;
  }

  struct Amount {
    std::int32_t amount;
    std::string words, digits;
  } amounts[] = {
      {150000, " Terbilang        :  seratus lima puluh  ribu  rupiah", "                  : Rp.     150000"},
      {0, " Terbilang        :   rupiah", "                  : Rp.          0"},
      {1250500, " Terbilang        :  satu juta dua ratus lima puluh  ribu lima ratus  rupiah",
       "                  : Rp.    1250500"},
      {999999999, "", "                  : Rp.  999999999"},
      {-150000, " Terbilang        :  rupiah", "                  : Rp.    -150000"},
  };
  for (const Amount& a : amounts) {
    ReceiptData d = Sample();
    d.amount = a.amount;
    auto lines = FinReceiptLayout(d);
    if (!a.words.empty()) {
      EXPECT_EQ(lines.at(9).text, a.words) << a.amount;
    }
    EXPECT_EQ(lines.at(11).text, a.digits) << a.amount;
  }

  // Empty texts of the entry still draw their labels; the signer line keeps its indent.
  ReceiptData empty = Sample();
  empty.number = empty.receivedFrom = empty.purpose = empty.purpose2 = empty.signer = "";
  auto lines = FinReceiptLayout(empty);
  ASSERT_EQ(lines.size(), 15u);
  EXPECT_EQ(lines.at(4).text, " No.              : ");
  EXPECT_EQ(lines.at(7).text, "                  : ");
  EXPECT_EQ(lines.back().text, std::string(30, ' '));
}

// ----- printing ------------------------------------------------------------------------------------------------------

class ReceiptTest : public fintest::SeamsTest {
 protected:
  ReceiptTest()
      : rec(&printed()),   // "Printer Uji", 4800 x 6400 pixels
        saved_{gSchoolName, gSchoolAddress, gSchoolPhone, gSchoolEmail, gStrukFont},
        savedSpacing_(gStrukLineSpacing) {
    gSchoolName = "Sd Harapan Bangsa";
    gSchoolAddress = "Jl. Merdeka No. 5";
    gSchoolPhone = "021-555123";
    gSchoolEmail = "tu@harapan.sch.id";
    gStrukLineSpacing = 150;
    gStrukFont = "Courier New";
  }
  ~ReceiptTest() override {
    gSchoolName = saved_[0];
    gSchoolAddress = saved_[1];
    gSchoolPhone = saved_[2];
    gSchoolEmail = saved_[3];
    gStrukFont = saved_[4];
    gStrukLineSpacing = savedSpacing_;
  }

  platform::RecordingPrintBackend* rec;

 private:
  std::string saved_[5];
  int savedSpacing_;
};

TEST_F(ReceiptTest, PrintsOneStrukPageOnTheDefaultPrinter) {
  FinPrintReceipt("K-01", "Budi", "SPP Juli", 150000, "Kas", "Ani");
  ASSERT_EQ(rec->Documents().size(), 1u);
  const auto& doc = rec->Documents()[0];
  EXPECT_EQ(doc.printer, "Printer Uji");
  EXPECT_EQ(doc.name, "Struk");
  EXPECT_TRUE(doc.ended);
  ASSERT_EQ(doc.pages.size(), 1u);
  EXPECT_EQ(doc.pages[0].Lines(), ReadLines(FIN_SOURCE_DIR "/tests/common/expected/receipt_150000.txt"));
}

TEST_F(ReceiptTest, DateFollowsTheClockAndTheLocale) {
  SetClock(2025, 3, 7, 8, 0, 0);
  FinPrintReceipt("K-02", "_____", "Uang Gedung", 75000, "", "_____");
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  FinPrintReceipt("K-03", "_____", "Uang Gedung", 75000, "", "_____");
  ASSERT_EQ(rec->Documents().size(), 2u);
  EXPECT_EQ(rec->Documents()[0].pages.at(0).Texts().at(12), std::string(30, ' ') + "_______________, 07 Maret 2025");
  EXPECT_EQ(rec->Documents()[1].pages.at(0).Texts().at(12), std::string(30, ' ') + "_______________, 07 March 2025");
}

TEST_F(ReceiptTest, WithoutPrinterNothingComesOutAndNothingIsSaid) {
  rec->settings().printers = {"Lain"};
  FinPrintReceipt("K-01", "Budi", "SPP Juli", 150000, "Kas", "Ani");
  EXPECT_TRUE(rec->Documents().empty());
}

TEST_F(ReceiptTest, ChoosePrinterGivesTheChosenNameOrNothing) {
  AnswerPrinter("Epson_LX");
  EXPECT_EQ(FinChoosePrinter(), "Epson_LX");
  AnswerPrinter(std::nullopt);
  EXPECT_EQ(FinChoosePrinter(), "");
  ASSERT_EQ(scripted().pickerCalls().size(), 2u);
  EXPECT_EQ(scripted().pickerCalls()[0].kind, platform::PickerCall::Printer);
}

// How the text printer callers use the choice: "LPT:" + name + ",EMU=TTY", one line at a time.
TEST_F(ReceiptTest, ChosenPrinterTakesTheTextLines) {
  platform::RecordingTextPrinterBackend* text = &textPrinted();
  AnswerPrinter("Epson_LX");
  std::string name = FinChoosePrinter();
  platform::TextPrinter prn;
  ASSERT_TRUE(prn.Open("LPT:" + name + ",EMU=TTY"));
  prn.WriteLine("   " + gSchoolName);
  prn.Close();
  ASSERT_EQ(text->Jobs().size(), 1u);
  EXPECT_EQ(text->Jobs()[0].printer, "Epson_LX");
  EXPECT_EQ(text->Jobs()[0].Lines(), std::vector<std::string>{"   Sd Harapan Bangsa"});
}

}  // namespace
