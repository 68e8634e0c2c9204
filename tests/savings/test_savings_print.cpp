// The savings prints as plain functions: passbook positions, the receipt, the card heading and row lines, and the
// card and passbook runs (start line, page breaks, page questions), compared with small expected files.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "savings/savings_print.h"
#include "support/fixtures.h"

namespace {

std::vector<std::string> Expected(const std::string& name) {
  std::istringstream in(fintest::ReadFile(FIN_SOURCE_DIR "/tests/savings/expected/" + name));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> Repeat(const std::string& line, int n) { return std::vector<std::string>(n, line); }

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const SavingsSchool kSchool = {"SD HARAPAN BANGSA", "Jl. Merdeka No. 5", "022-555123", "tu@harapan.sch.id"};

SavingsBookRow Row(const std::string& date, const std::string& sandi, const std::string& debet,
                   const std::string& kredit, const std::string& saldo, const std::string& pos, const std::string& sts,
                   const std::string& ket) {
  return {date, sandi, debet, kredit, saldo, pos, sts, ket};
}

// A run that records the page questions and answers them from a list (yes when the list runs out).
struct Answers {
  std::vector<bool> answers;
  std::vector<long long> asked;
  std::function<bool(long long)> Fn() {
    return [this](long long page) {
      asked.push_back(page);
      const std::size_t i = asked.size() - 1;
      return i < answers.size() ? answers[i] : true;
    };
  }
};

// ----- positions --------------------------------------------------------------------------------------------------

TEST(SavingsPositions, NextLineAndPageBreak) {
  const struct {
    const char* last;
    const char* next;
  } cases[] = {
      {"2-67", "2-68"}, {"2-68", "3-1"}, {"1-5", "1-6"}, {"1-1", "1-2"},
      // no place in the book yet: its first line
      {"", "1-1"}, {"0-0", "1-1"}, {"-", "1-1"}, {"0-7", "1-1"},
      // a page without a line: its first line; a line past the page: the next page
      {"3", "3-1"}, {"1-70", "2-1"},
  };
  for (const auto& c : cases) EXPECT_EQ(SavingsFormatPosition(SavingsNextPosition(c.last)), c.next) << c.last;
  EXPECT_EQ(SavingsFormatPosition(SavingsNextPosition("1-25", kSavingsPassbookPageLines)), "2-1");
}

TEST(SavingsPositions, ParseAndCheck) {
  EXPECT_EQ(SavingsParsePosition("12-34").page, 12);
  EXPECT_EQ(SavingsParsePosition("12-34").line, 34);
  EXPECT_EQ(SavingsParsePosition("7").line, 0);
  EXPECT_TRUE(SavingsIsPosition("1-1"));
  for (const char* bad : {"", "1", "0-5", "3-0", "-", "x-y"}) EXPECT_FALSE(SavingsIsPosition(bad)) << bad;
}

TEST(SavingsPositions, RowsWithoutPositionAreCountedOn) {
  const std::vector<std::string> positions = {"1-1", "", "", "1-4", ""};
  const char* expected[] = {"1-1", "1-2", "1-3", "1-4", "1-5"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(SavingsFormatPosition(SavingsRowPosition(positions, i)), expected[i]) << i;
  // none stored: from 1-1
  EXPECT_EQ(SavingsFormatPosition(SavingsRowPosition({"", ""}, 1)), "1-2");
  // across the page end
  EXPECT_EQ(SavingsFormatPosition(SavingsRowPosition({"1-68", ""}, 1)), "2-1");
}

TEST(SavingsPositions, ARowNeverTakesALineOfARowBookedBeforeIt) {
  // Rows in the order they were booked, with their stored positions ("" : booked by the payment window, none).
  const struct {
    std::vector<std::string> stored;
    std::vector<std::string> expected;
  } cases[] = {
      // a withdrawal of the payment window between two teller rows that did not count it
      {{"1-1", "", "1-2"}, {"1-1", "1-2", "1-3"}},
      // a withdrawal booked after an unprinted teller row comes after it
      {{"1-1", "1-2", "", "1-4"}, {"1-1", "1-2", "1-3", "1-4"}},
      // the first row without a position takes line 1; the teller row after it that counted from nothing moves on
      {{"", "1-1", "1-2"}, {"1-1", "1-2", "1-3"}},
      // a stored line before the line of the row booked before it
      {{"1-5", "1-3", ""}, {"1-5", "1-6", "1-7"}},
      {{"2-1", "1-68"}, {"2-1", "2-2"}},
      // the same line twice; across the page end
      {{"1-68", "1-68", ""}, {"1-68", "2-1", "2-2"}},
      // stored lines further on are kept (a gap stays a gap)
      {{"1-2", "1-9", "3-1"}, {"1-2", "1-9", "3-1"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> got;
    for (int i = 0; i < static_cast<int>(c.stored.size()); ++i)
      got.push_back(SavingsFormatPosition(SavingsRowPosition(c.stored, i)));
    EXPECT_EQ(got, c.expected) << ::testing::PrintToString(c.stored);
  }
}

TEST(SavingsBookRun, ARowNeverPrintsOverTheLineOfARowBookedBeforeIt) {
  // The payment window's withdrawal, printed on line 1 by count; then two deposits that the teller numbered without
  // it (1-1, 1-2), not printed yet. They come on lines 2 and 3.
  const std::vector<SavingsBookRow> rows = {
      Row("2021-03-01", "02", "40", "0", "60", "", "-", "Penarikan utk pembayaran"),
      Row("2021-03-02", "01", "0", "50", "110", "1-1", "t", "Setoran Tunai"),
      Row("2021-03-04", "01", "0", "5", "115", "1-2", "t", "Setoran Tunai"),
  };
  Answers a;
  const SavingsBookRun run = SavingsBookLayout(SavingsBook::Passbook, rows, kSchool, "30017", "CICI", a.Fn());
  EXPECT_TRUE(a.asked.empty());   // line 2: no page question
  EXPECT_EQ(run.lines, Concat(Repeat("`", 4), {SavingsPassbookRowLine(rows[1]), SavingsPassbookRowLine(rows[2])}));
  EXPECT_EQ(run.written, (std::vector<int>{1, 2}));
}

// ----- pieces -----------------------------------------------------------------------------------------------------

TEST(SavingsPieces, RuleAndAmounts) {
  EXPECT_EQ(SavingsRuleLine(), "   " + std::string(58, '-'));
  EXPECT_EQ(SavingsPadLeft("50000", 12), "       50000");
  EXPECT_EQ(SavingsPadLeft("1234567890123", 13), "1234567890123");
  EXPECT_EQ(SavingsPadLeft("12345678901234", 13), "12345678901234");
  EXPECT_EQ(SavingsReceiptAmount("500"), "*******500");
  EXPECT_EQ(SavingsReceiptAmount("50000"), "*****50000");
  EXPECT_EQ(SavingsReceiptAmount("1234567890"), "1234567890");
  EXPECT_EQ(SavingsReceiptAmount("12345678901"), "12345678901");
}

TEST(SavingsPieces, FirstUnprintedRow) {
  auto rows = [](std::vector<std::string> sts) {
    std::vector<SavingsBookRow> out;
    for (const std::string& s : sts) out.push_back(Row("2021-03-05", "01", "0", "1", "1", "1-1", s, "x"));
    return out;
  };
  EXPECT_EQ(SavingsFirstUnprintedRow(rows({"-", "-", "t", "t"})), 2);
  EXPECT_EQ(SavingsFirstUnprintedRow(rows({"t", "t"})), 0);
  // The oldest unprinted row, also when printed rows follow it (a row passed over at a declined page).
  EXPECT_EQ(SavingsFirstUnprintedRow(rows({"t", "-"})), 0);
  EXPECT_EQ(SavingsFirstUnprintedRow(rows({"-", "t", "-", "t", "-"})), 1);
  EXPECT_EQ(SavingsFirstUnprintedRow(rows({"-", "-"})), 2);
  EXPECT_EQ(SavingsFirstUnprintedRow(rows({})), 0);
}

TEST(SavingsPieces, RowLines) {
  const SavingsBookRow r = Row("2021-03-05", "02", "50000", "0", "100000", "1-2", "t", "Penarikan Tunai");
  EXPECT_EQ(SavingsCardRowLine(r), "   2021-03-05   02           50000            0       100000");
  EXPECT_EQ(SavingsCardRowLine(r).size(), 60u);
  EXPECT_EQ(SavingsPassbookRowLine(r), " 2021-03-05   02           50000            0       100000 Penarikan Tunai");
}

// ----- receipt ----------------------------------------------------------------------------------------------------

TEST(SavingsReceipt, LinesMatchTheExpectedFile) {
  SavingsReceiptData d;
  d.school = kSchool;
  d.customerName = "BUDI SANTOSO";
  d.number = "2001520210305090507";
  d.transaction = "01-Setoran Tunai";
  d.balanceBefore = "150000";
  d.amount = "50000";
  d.balanceAfter = "200000";
  d.words = " lima puluh  ribu";
  d.printDate = "Mar 05, 2021";
  d.printTime = "09:06:00";
  d.operatorName = "ani";
  const auto lines = SavingsReceiptLines(d);
  EXPECT_EQ(lines.size(), 20u);
  EXPECT_EQ(lines, Expected("receipt_deposit.txt"));
}

// ----- card and passbook runs -------------------------------------------------------------------------------------

std::vector<SavingsBookRow> History(const std::string& firstUnprinted, int unprinted, int printedBefore = 1) {
  std::vector<SavingsBookRow> rows;
  for (int i = 0; i < printedBefore; ++i)
    rows.push_back(Row("2021-03-01", "01", "0", "100000", "100000", "1-1", "-", "Setoran Tunai"));
  for (int i = 0; i < unprinted; ++i)
    rows.push_back(Row("2021-03-0" + std::to_string(2 + i), i % 2 ? "02" : "01", i % 2 ? "20000" : "0",
                       i % 2 ? "0" : "50000", std::to_string(150000 - i * 10000), i == 0 ? firstUnprinted : "", "t",
                       i % 2 ? "Penarikan Tunai" : "Setoran Tunai"));
  return rows;
}

TEST(SavingsBookRun, CardFromLine5BringsThePaperDownWithoutAQuestion) {
  const auto rows = History("1-5", 3);
  Answers a;
  const SavingsBookRun run = SavingsBookLayout(SavingsBook::Card, rows, kSchool, "20015", "BUDI", a.Fn());
  EXPECT_TRUE(a.asked.empty());
  std::vector<std::string> expected = Repeat("`", 15);
  for (int i = 1; i <= 3; ++i) expected.push_back(SavingsCardRowLine(rows[i]));
  EXPECT_EQ(run.lines, expected);
  EXPECT_EQ(run.written, (std::vector<int>{1, 2, 3}));
  EXPECT_TRUE(run.declined.empty());
}

TEST(SavingsBookRun, CardAtTheTopOfPage2AsksAndWritesTheHeading) {
  const auto rows = History("2-1", 2);
  Answers a;
  const SavingsBookRun run = SavingsBookLayout(SavingsBook::Card, rows, kSchool, "20015", "BUDI SANTOSO", a.Fn());
  EXPECT_EQ(a.asked, (std::vector<long long>{2}));
  EXPECT_EQ(run.lines, Expected("card_page2.txt"));
  EXPECT_EQ(run.lines[1], "                   KARTU TABUNGAN HAL :2");
  EXPECT_EQ(run.written, (std::vector<int>{1, 2}));
}

TEST(SavingsBookRun, CardLine69StartsTheNextPage) {
  const auto rows = History("1-68", 2);
  Answers a;
  const SavingsBookRun run = SavingsBookLayout(SavingsBook::Card, rows, kSchool, "20015", "BUDI", a.Fn());
  EXPECT_EQ(a.asked, (std::vector<long long>{2}));
  auto expected = Repeat("`", 78);
  expected.push_back(SavingsCardRowLine(rows[1]));
  expected = Concat(expected, SavingsCardHeading(2, kSchool, "20015", "BUDI"));
  expected.push_back(SavingsCardRowLine(rows[2]));
  EXPECT_EQ(run.lines, expected);
}

TEST(SavingsPositions, StoredPositionsOnThePassbooksPages) {
  // Stored on 68-line pages; the passbook has 25 lines to a page.
  const struct {
    const char* stored;
    const char* passbook;
  } cases[] = {
      {"1-1", "1-1"},   {"1-25", "1-25"}, {"1-26", "2-1"},  {"1-27", "2-2"},  {"1-28", "2-3"},
      {"1-50", "2-25"}, {"1-51", "3-1"},  {"1-68", "3-18"}, {"2-1", "3-19"},  {"2-7", "3-25"},
      {"2-8", "4-1"},   {"3-64", "8-25"}, {"26-1", "69-1"},
      // before the book's first line: as it is
      {"0-0", "0-0"},   {"1-0", "1-0"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SavingsFormatPosition(SavingsPassbookPosition(SavingsParsePosition(c.stored))), c.passbook) << c.stored;
}

TEST(SavingsBookRun, PassbookRowsPastLine25OfAStoredPageGoOnToTheNextPassbookPages) {
  // Rows stored at 1-26, 1-27, 1-28 print on passbook page 2 at lines 1, 2, 3; the question names page 2 for line 1
  // only. Stored 2-1 is the book's line 69: passbook page 3, line 19.
  const struct {
    const char* stored;
    std::vector<long long> asked;
    int paperLines;   // lines of "`" before the row
  } cases[] = {
      {"1-26", {2}, 0}, {"1-27", {}, 4}, {"1-28", {}, 5}, {"2-1", {}, 21}, {"1-51", {3}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    const auto rows = History(c.stored, 1);
    Answers a;
    const SavingsBookRun run = SavingsBookLayout(SavingsBook::Passbook, rows, kSchool, "20015", "BUDI", a.Fn());
    EXPECT_EQ(a.asked, c.asked);
    EXPECT_EQ(run.lines, Concat(Repeat("`", c.paperLines), {SavingsPassbookRowLine(rows[1])}));   // no heading
    EXPECT_EQ(run.written, (std::vector<int>{1}));
  }
  // Rows of one run take the next passbook lines by count, across the passbook's page end.
  const auto rows = History("1-24", 3);
  Answers a;
  const SavingsBookRun run = SavingsBookLayout(SavingsBook::Passbook, rows, kSchool, "20015", "BUDI", a.Fn());
  EXPECT_EQ(a.asked, (std::vector<long long>{2}));
  EXPECT_EQ(run.lines, Concat(Repeat("`", 26), {SavingsPassbookRowLine(rows[1]), SavingsPassbookRowLine(rows[2]),
                                                SavingsPassbookRowLine(rows[3])}));
}

TEST(SavingsBookRun, TheCardKeepsItsPagesOf68Lines) {
  const auto rows = History("1-26", 1);
  Answers a;
  const SavingsBookRun run = SavingsBookLayout(SavingsBook::Card, rows, kSchool, "20015", "BUDI", a.Fn());
  EXPECT_TRUE(a.asked.empty());
  EXPECT_EQ(run.lines, Concat(Repeat("`", 36), {SavingsCardRowLine(rows[1])}));
}

TEST(SavingsBookRun, PassbookLinesMatchTheExpectedFile) {
  const auto rows = History("1-3", 3);
  Answers a;
  const SavingsBookRun run = SavingsBookLayout(SavingsBook::Passbook, rows, kSchool, "20015", "BUDI", a.Fn());
  EXPECT_TRUE(a.asked.empty());
  EXPECT_EQ(run.lines, Expected("passbook_from_line3.txt"));
}

TEST(SavingsBookRun, DecliningAPageSkipsThatRowOnly) {
  const auto rows = History("1-1", 3, 0);
  Answers a;
  a.answers = {false};
  const SavingsBookRun run = SavingsBookLayout(SavingsBook::Card, rows, kSchool, "20015", "BUDI", a.Fn());
  EXPECT_EQ(a.asked, (std::vector<long long>{1}));
  EXPECT_EQ(run.lines, (std::vector<std::string>{SavingsCardRowLine(rows[1]), SavingsCardRowLine(rows[2])}));
  EXPECT_EQ(run.written, (std::vector<int>{1, 2}));
  EXPECT_EQ(run.declined, (std::vector<int>{0}));
}

TEST(SavingsBookRun, ARowPassedOverAtADeclinedPageComesOutOnTheNextRun) {
  // 1-24 and 1-25 printed, 1-26 (passbook page 2, line 1) passed over when page 2 was declined, 1-27 printed after
  // it without a question, 1-28 new. The run starts at 1-26: page 2 is asked for, the row printed already only takes
  // its line.
  std::vector<SavingsBookRow> rows = {
      Row("2021-03-01", "01", "0", "100", "100", "1-24", "-", "Setoran Tunai"),
      Row("2021-03-02", "01", "0", "50", "150", "1-25", "-", "Setoran Tunai"),
      Row("2021-03-03", "02", "30", "0", "120", "1-26", "t", "Penarikan Tunai"),
      Row("2021-03-04", "01", "0", "5", "125", "1-27", "-", "Setoran Tunai"),
      Row("2021-03-05", "03", "0", "7", "132", "1-28", "t", "Hadiah"),
      Row("2021-03-06", "01", "0", "9", "141", "1-29", "-", "Setoran Tunai"),
  };
  Answers a;
  SavingsBookRun run = SavingsBookLayout(SavingsBook::Passbook, rows, kSchool, "20015", "BUDI", a.Fn());
  EXPECT_EQ(a.asked, (std::vector<long long>{2}));
  EXPECT_EQ(run.lines, (std::vector<std::string>{SavingsPassbookRowLine(rows[2]), "`",
                                                 SavingsPassbookRowLine(rows[4])}));
  EXPECT_EQ(run.written, (std::vector<int>{2, 4}));
  EXPECT_TRUE(run.declined.empty());

  // Declined again: that row stays unprinted, the rows after it print on their lines.
  Answers no;
  no.answers = {false};
  run = SavingsBookLayout(SavingsBook::Passbook, rows, kSchool, "20015", "BUDI", no.Fn());
  EXPECT_EQ(run.lines, (std::vector<std::string>{"`", SavingsPassbookRowLine(rows[4])}));
  EXPECT_EQ(run.written, (std::vector<int>{4}));
  EXPECT_EQ(run.declined, (std::vector<int>{2}));

  // On the card the same happens at the top of its page 2, which starts with its heading.
  const char* cardPositions[] = {"1-67", "1-68", "2-1", "2-2", "2-3", "2-4"};
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i].position = cardPositions[i];
  Answers card;
  run = SavingsBookLayout(SavingsBook::Card, rows, kSchool, "20015", "BUDI", card.Fn());
  EXPECT_EQ(card.asked, (std::vector<long long>{2}));
  EXPECT_EQ(run.lines, Concat(SavingsCardHeading(2, kSchool, "20015", "BUDI"),
                              {SavingsCardRowLine(rows[2]), "`", SavingsCardRowLine(rows[4])}));
  EXPECT_EQ(run.written, (std::vector<int>{2, 4}));
}

TEST(SavingsBookRun, NothingUnprintedWritesNothing) {
  auto rows = History("1-2", 1);
  rows.back().sts = "-";
  Answers a;
  const SavingsBookRun run = SavingsBookLayout(SavingsBook::Card, rows, kSchool, "20015", "BUDI", a.Fn());
  EXPECT_TRUE(run.lines.empty());
  EXPECT_TRUE(a.asked.empty());
}

TEST(SavingsBookRun, QuestionsAndCaptions) {
  EXPECT_EQ(SavingsPageQuestion(SavingsBook::Card, 3),
            "Persiapkan KARTU TABUNGAN untuk HALAMAN No. 3 dengan kertas yang bisa untuk mencetak 30 baris data..");
  EXPECT_EQ(SavingsPageQuestion(SavingsBook::Passbook, 1),
            "Persiapkan BUKU TABUNGAN untuk HALAMAN No. 1 dengan kertas yang bisa untuk mencetak 25 baris data..");
  EXPECT_EQ(SavingsPageCaption(SavingsBook::Card), "Cetak ke KARTU TABUNGAN");
  EXPECT_EQ(SavingsPageCaption(SavingsBook::Passbook), "Cetak ke BUKU TABUNGAN");
}

}  // namespace
