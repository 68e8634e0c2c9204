// The arrears bill's three layouts as plain functions: the printed page, the archive file and the messaging text,
// compared line by line with the expected files, and the star filling, columns and name wrapping they rest on.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "payments/arrears_bill.h"
#include "support/fixtures.h"

namespace {

const std::string kExpected = FIN_SOURCE_DIR "/tests/payments/expected/";

// Lines of a file split at `eol` (the last line has one too unless `last` says otherwise).
std::vector<std::string> SplitAt(const std::string& text, const std::string& eol) {
  std::vector<std::string> lines;
  std::size_t from = 0;
  while (from <= text.size()) {
    const std::size_t at = text.find(eol, from);
    if (at == std::string::npos) {
      if (from < text.size()) lines.push_back(text.substr(from));
      break;
    }
    lines.push_back(text.substr(from, at - from));
    from = at + eol.size();
  }
  return lines;
}

long long Columns(const std::string& s) {
  long long n = 0;
  for (unsigned char c : s)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

ArrearsBill Sample() {
  ArrearsBill b;
  b.schoolName = "SMP Harapan Bangsa";
  b.schoolAddress = "Jl. Merdeka No. 5, Bandung";
  b.schoolPhone = "022-555123";
  b.schoolEmail = "tu@harapan.sch.id";
  b.studentName = "ANI RAHMA";
  b.kelas = "VII A";
  b.rows = {{"1", "SPP Bulan : Juli s/d September", "450000"},
            {"2", "Uang Buku", "1250000"},
            {"3", "Angsuran Uang Gedung Tahun Pelajaran 2024 dari : 3 s/d 5", "300000"},
            {"4", "Kegiatan", "-50000"}};
  b.printDate = "Sep 02, 2024";
  b.printTime = "10:15:30";
  b.operatorName = "kasir";
  b.lineSpacing = 150;
  return b;
}

TEST(ArrearsBillParts, StarFilling) {
  struct Case {
    std::string amount;
    int width;
    std::string prefix, field;
  } cases[] = {
      {"1250000", 10, "***1250000", "***1250000"},
      {"1.250.000", 10, "*1.250.000", "*1.250.000"},
      {"1.250.000", 9, "1.250.000", "1.250.000"},
      {"", 10, "**********", "**********"},
      {"0", 9, "********0", "********0"},
      {"12.345.678.901", 10, "12.345.678.901", "12.345.678.901"},   // longer: whole on paper and in the file
      {"-50.000", 9, "**-50.000", "**-50.000"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FinBillStarPrefix(c.amount, c.width), c.prefix) << c.amount;
    EXPECT_EQ(FinBillStarField(c.amount, c.width), c.field) << c.amount;
  }
  EXPECT_EQ(FinArrearsBillTotal({{"1", "a", "450000"}, {"2", "b", "-50000"}, {"3", "c", ""}, {"4", "d", "x"},
                                 {"5", "e", "2.5"}, {"6", "f", "0.5"}}),
            400002);   // 400000 + 2.5 -> 400002 (halves to even), + 0.5 -> 400002
  EXPECT_EQ(FinArrearsBillTotal({}), 0);
}

TEST(ArrearsBillPrint, LinesOfTheSampleBill) {
  const std::vector<ReceiptLine> lines = FinArrearsBillLines(Sample());
  std::vector<std::string> texts;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].x, 10) << i;
    EXPECT_EQ(lines[i].y, static_cast<int>(i + 1) * 150) << i;   // one line step each, from 1 x s
    texts.push_back(lines[i].text);
  }
  EXPECT_EQ(texts, SplitAt(fintest::ReadFile(kExpected + "arrears_bill_print.txt"), "\n"));
  // Four rows: items at 8 to 11 x s, the total at 12 x s; "Rp." at column 52 on both (the third name is longer
  // than 44 characters and pushes it out).
  ASSERT_EQ(lines.size(), 17u);
  for (int k : {8, 9, 11, 12}) EXPECT_EQ(lines[k - 1].text.find("Rp."), 51u) << k;
  EXPECT_EQ(lines[9].text.find("Rp."), 63u);
  EXPECT_EQ(lines[11].text, std::string(43, ' ') + "Total : Rp.***1950000");
}

TEST(ArrearsBillPrint, EmptyListAndOddRows) {
  ArrearsBill b = Sample();
  b.rows.clear();
  std::vector<ReceiptLine> lines = FinArrearsBillLines(b);
  ASSERT_EQ(lines.size(), 13u);
  EXPECT_EQ(lines[6].text, "    Tagihan Tunggakan " + std::string(52, '-'));
  EXPECT_EQ(lines[7].y, 8 * 150);   // the total block from 8 x s on
  EXPECT_EQ(lines[7].text, std::string(43, ' ') + "Total : Rp.*********0");
  EXPECT_EQ(lines[9].text, "    ");   // the words of 0: a single blank
  EXPECT_EQ(lines[10].text, "");

  // A name over 44 characters pushes "Rp." out; over 60 it is cut; a number of three or more is not filled; a
  // letter beyond ASCII is one column; a negative total reads " minus" and its words.
  b.rows = {{"100", std::string(50, 'N'), "5"},
            {"7", std::string(70, 'M'), "10"},
            {"8", "Seragam Olahraga Élan", "-100"}};
  lines = FinArrearsBillLines(b);
  EXPECT_EQ(lines[7].text, "    100" + std::string(50, 'N') + "Rp.*********5");
  EXPECT_EQ(lines[8].text, "    7  " + std::string(60, 'M') + "Rp.********10");
  EXPECT_EQ(Columns(lines[9].text.substr(0, lines[9].text.find("Rp."))), 51);
  EXPECT_EQ(lines[10].text, std::string(43, ' ') + "Total : Rp.*******-85");
  EXPECT_EQ(lines[12].text, "    minus delapan puluh lima");

  // Line step 0 puts every line at the top; a big step stays in range.
  b.lineSpacing = 0;
  for (const ReceiptLine& l : FinArrearsBillLines(b)) EXPECT_EQ(l.y, 0);
}

TEST(ArrearsBillArchive, FileOfTheSampleBill) {
  EXPECT_EQ(FinArrearsArchiveText(Sample()), fintest::ReadFile(kExpected + "arrears_archive.txt"));
  for (const std::string& line : FinArrearsArchiveLines(Sample())) EXPECT_LE(Columns(line), 38) << line;
}

TEST(ArrearsBillArchive, NamesTakeOneTwoOrThreeLines) {
  ArrearsBill b = Sample();
  struct Case {
    std::string name;
    std::vector<std::string> lines;
  } cases[] = {
      {std::string(21, 'a'), {"001 " + std::string(21, 'a') + "Rp.*1.250.000"}},
      {"", {"001 " + std::string(21, ' ') + "Rp.*1.250.000"}},
      {std::string(22, 'b'), {"001 " + std::string(22, 'b'), "    " + std::string(21, ' ') + "Rp.*1.250.000"}},
      {std::string(30, 'c'), {"001 " + std::string(30, 'c'), "    " + std::string(21, ' ') + "Rp.*1.250.000"}},
      {std::string(34, 'd') + "EFGHIJKL",
       {"001 " + std::string(34, 'd'), "    EFGHIJKL" + std::string(13, ' ') + "Rp.*1.250.000"}},
      {std::string(21, 'e') + std::string(21, 'f') + "ghijklmn",
       {"001 " + std::string(21, 'e'), "    " + std::string(21, 'f'),
        "    ghijklmn" + std::string(13, ' ') + "Rp.*1.250.000"}},
      {std::string(21, 'e') + std::string(21, 'f') + std::string(25, 'g'),
       {"001 " + std::string(21, 'e'), "    " + std::string(21, 'f'), "    " + std::string(25, 'g') + "Rp.*1.250.000"}},
      {"Biaya Wisuda Élan", {"001 Biaya Wisuda Élan" + std::string(4, ' ') + "Rp.*1.250.000"}},
  };
  for (const Case& c : cases) {
    b.rows = {{"1", c.name, "1250000"}};
    std::vector<std::string> lines = FinArrearsArchiveLines(b);
    ASSERT_EQ(lines.size(), 7u + c.lines.size() + 2u) << c.name;
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 7, lines.begin() + 7 + c.lines.size()), c.lines) << c.name;
  }
  // Row numbers as three digits (the last three of "000" + number).
  b.rows = {{"12", "x", "0"}, {"1234", "y", ""}};
  std::vector<std::string> lines = FinArrearsArchiveLines(b);
  EXPECT_EQ(lines[7], "012 x" + std::string(20, ' ') + "Rp.*********0");
  EXPECT_EQ(lines[8], "234 y" + std::string(20, ' ') + "Rp.**********");
}

TEST(ArrearsBillArchive, HeaderCentringAndEmptyList) {
  ArrearsBill b = Sample();
  b.rows.clear();
  b.schoolName = std::string(50, 'S');
  b.schoolAddress = "";
  const std::vector<std::string> lines = FinArrearsArchiveLines(b);
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[0], std::string(38, 'S'));                 // 19 - 38 / 2 = 0 blanks, cut to 38
  EXPECT_EQ(lines[1], std::string(19, ' '));                 // nothing to centre
  EXPECT_EQ(lines[2], std::string(11, ' ') + "Telp. 022-555123");   // 16 characters: 19 - 8
  EXPECT_EQ(lines[3], std::string(38, '-'));
  EXPECT_EQ(lines[7], std::string(38, '-'));
  EXPECT_EQ(lines[8], "Total        :" + std::string(11, ' ') + "Rp.*********0");
}

TEST(ArrearsBillArchive, FileName) {
  EXPECT_EQ(FinArrearsArchiveFileName("ANI RAHMA PUTRI", "VII A", "2024-09-02"),
            "tunggakan_ANI_RAHMA_PUTRI_VII_A_2024-09-02.txt");
  EXPECT_EQ(FinArrearsArchiveFileName("", "", "2024-09-02"), "tunggakan___2024-09-02.txt");
  // "/" and "\\" would name folders: they become "_" as blanks do.
  EXPECT_EQ(FinArrearsArchiveFileName("ANI/RAHMA", "VII/A", "2024-09-02"),
            "tunggakan_ANI_RAHMA_VII_A_2024-09-02.txt");
  EXPECT_EQ(FinArrearsArchiveFileName("B\\C", "X A/1", "2024/09/02"), "tunggakan_B_C_X_A_1_2024_09_02.txt");
}

// The archive and the messaging text show the total of the rows they print, as the printed bill does, whatever the
// rows became after a chooser changed them.
TEST(ArrearsBillTotals, TheFileAndTheTextAddUpTheirRows) {
  struct Case {
    const char* name;
    std::vector<ArrearsBillRow> rows;
    std::string file, text;   // the total line of each
  } cases[] = {
      {"an instalment lowered a row",
       {{"1", "Les", "0"}, {"2", "Cicilan Buku", "250000"}, {"3", "SPP", "300000"}},
       "Rp.***550.000", "Rp.**550.000"},
      {"an overpaid fee", {{"1", "Les", "-150000"}, {"2", "Buku", "100000"}}, "Rp.***-50.000", "Rp.**-50.000"},
      {"no row", {}, "Rp.*********0", "Rp.********0"},
      {"amounts as typed", {{"1", "a", "1000000"}, {"2", "b", "x"}, {"3", "c", "2.5"}}, "Rp.*1.000.002",
       "Rp.1.000.002"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ArrearsBill b = Sample();
    b.rows = c.rows;
    const std::vector<std::string> file = FinArrearsArchiveLines(b);
    EXPECT_EQ(file.back(), "Total        :" + std::string(11, ' ') + c.file);
    const std::string text = FinArrearsChatText(b);
    EXPECT_EQ(text.substr(text.rfind('\r') + 1), "Total      :" + c.text + "```");
    // The printed bill says the same figure (without separators).
    const long long total = FinArrearsBillTotal(c.rows);
    EXPECT_NE(FinArrearsBillLines(b)[7 + c.rows.size()].text.find(std::to_string(total)), std::string::npos);
  }
}

TEST(ArrearsBillChat, TextOfTheSampleBill) {
  const std::string text = FinArrearsChatText(Sample());
  EXPECT_EQ(text, fintest::ReadFile(kExpected + "arrears_chat.txt"));
  EXPECT_EQ(text.find('\n'), std::string::npos);
  EXPECT_EQ(text.substr(0, 3), "```");
  EXPECT_EQ(text.substr(text.size() - 3), "```");
  const std::vector<std::string> lines = SplitAt(text.substr(3, text.size() - 6), "\r");
  ASSERT_EQ(lines.size(), 13u);
  for (std::size_t i = 7; i < 11; ++i) EXPECT_EQ(Columns(lines[i]), 24) << lines[i];
  EXPECT_EQ(lines.back(), "Total      :Rp.1.950.000");
}

TEST(ArrearsBillChat, EmptyListAndLongTexts) {
  ArrearsBill b = Sample();
  b.rows = {{"1", "Uang Kegiatan Ekstrakurikuler", "12345678"}};
  b.schoolName = std::string(30, 'S');
  b.studentName = "MUHAMMAD RIZKY PRATAMA PUTRA";
  const std::string text = FinArrearsChatText(b);
  const std::vector<std::string> lines = SplitAt(text.substr(3, text.size() - 6), "\r");
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[0], std::string(24, 'S'));
  EXPECT_EQ(lines[4], "Nama : MUHAMMAD RIZKY PR");
  EXPECT_EQ(lines[7], "Uang KegiataRp.12.345.678");   // a longer amount stays whole: the line grows
  EXPECT_EQ(lines[9], "Total      :Rp.12.345.678");

  b.rows.clear();
  const std::string empty = FinArrearsChatText(b);
  EXPECT_EQ(SplitAt(empty.substr(3, empty.size() - 6), "\r").size(), 9u);
}

}  // namespace
