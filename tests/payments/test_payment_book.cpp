// The payment book on a text printer: the entry line, the position on the page from the student's rows, the filler
// lines, the question before a fresh page and the failures.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/globals.h"
#include "payments/payment_book.h"
#include "platform/text_printer.h"
#include "support/fixtures.h"
#include "support/no_print_queue.h"
#include "support/seams_fixture.h"

namespace {

std::vector<std::string> ReadLines(const std::string& path) {
  std::istringstream in(fintest::ReadFile(path));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

const std::string kAsk = "Pergantian halaman baru, apakah sudah siap untuk cetak?";
const std::string kAskCaption = "Cetak ke Buku Administrasi";

TEST(PaymentBookLine, EntryColumns) {
  PaymentReceiptItem item{"1", "BR-TKA20240001", "SPP Bulan : Juli s/d Juli", 150000};
  EXPECT_EQ(BookEntryLine("2024-09-02", item),
            " 2024-09-02   01          150000       150000   SPP Bulan : Juli s/d Juli");
  // An amount wider than its column is printed whole and shifts the rest.
  item.amount = 12345678901234LL;
  item.code = "7";
  EXPECT_EQ(BookEntryLine("2024-09-02", item),
            " 2024-09-02   7    1234567890123412345678901234   SPP Bulan : Juli s/d Juli");
}

TEST(PaymentBookLine, PagePositionAndFillers) {
  struct Case {
    long long counted, items;
    int position, fillers;
  } cases[] = {
      {3, 3, 0, 2},     // nothing before this payment: a fresh page
      {29, 3, 0, 2},    // 26 used: a fresh page again
      {8, 3, 5, 6},     // 5 used: two plus four fillers
      {4, 3, 1, 2},     // 1 used: the two fillers only
      {56, 2, 2, 3},    // 54 used: the third page, line 2
      {0, 3, 0, 2},     // fewer rows than items (a failed count)
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BookPagePosition(c.counted, c.items), c.position) << c.counted;
    EXPECT_EQ(BookFillerCount(c.position), c.fillers) << c.counted;
  }
}

TEST(PaymentBookLine, CountStatementQuotesItsValues) {
  EXPECT_EQ(BookCountSql("S'01", "2024/2025", "2024-09-02"),
            "Select Count(*) From transaksi WHERE Sts<>'t' and  SiswaID='S''01'and Tgl between '2024-07-01' and "
            "'2024-09-02'");
}

class PaymentBookTest : public fintest::SeamsTest {
 protected:
  PaymentBookTest() {
    gDb = fintest::CreateDatabase(WorkFile("t.db3"));
    r.studentId = "S001";
    r.name = "Budi Santoso";
    r.kelas = "TK A";
    r.today = "2024-09-02";
    r.tapel = "2024/2025";
    r.items = {{"1", "BR-TKA20240001", "SPP Bulan : Juli s/d Agustus", 300000},
               {"2", "BR-TKA20240002", "Uang Buku", 150000},
               {"3", "BR-TKA20240003", "Seragam", 75000}};
  }
  ~PaymentBookTest() override {
    sqlite3_close(gDb);
    gDb = nullptr;
  }

  // `count` rows of the student that the book counts, dated this school year.
  void AddRows(int count, const std::string& student = "S001", const std::string& sts = "p",
               const std::string& date = "2024-08-01") {
    for (int i = 0; i < count; ++i)
      fintest::Exec(gDb, "INSERT INTO transaksi (id,tgl,uraian,acctid,siswaid,masuk,keluar,petugas,sts,jenjang) "
                         "VALUES ('x','" + date + "','u','a','" + student + "',1,0,'ketua','" + sts + "','-')");
  }
  // The rows of the payment just saved.
  void AddThisPayment() { AddRows(static_cast<int>(r.items.size()), "S001", "p", "2024-09-02"); }

  std::vector<std::string> PrintedLines() {
    EXPECT_EQ(textPrinted().Jobs().size(), 1u);
    if (textPrinted().Jobs().empty()) return {};
    EXPECT_EQ(textPrinted().Jobs()[0].printer, "Epson_LX");
    EXPECT_TRUE(textPrinted().Jobs()[0].closed);
    return textPrinted().Jobs()[0].Lines();
  }

  std::vector<std::string> Fillers(int n) { return std::vector<std::string>(n, "`"); }
  std::vector<std::string> Entries(std::size_t from = 0) {
    std::vector<std::string> out;
    for (std::size_t i = from; i < r.items.size(); ++i) out.push_back(BookEntryLine(r.today, r.items[i]));
    return out;
  }
  static std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  }

  // This payment's book printed on a fresh page with no printer getting it: the operator is told that its text is
  // kept in `kept`, which holds the two fillers and the three entries.
  void PrintBookKeptIn(const std::string& kept) {
    AddThisPayment();
    ExpectMsgBox(kAsk, kAskCaption, IDYES);
    ExpectMsgBox("Tidak ada yang tercetak ke printer. Teks cetakan disimpan di " + kept + "..", "Info", IDOK,
                 MB_OK | MB_ICONINFORMATION);
    PrintPaymentBook(r);
    VerifySeams();
    std::string text;
    for (const std::string& line : Join(Fillers(2), Entries())) text += line + "\r\n";
    EXPECT_EQ(fintest::ReadFile(kept), text);
  }

  PaymentReceipt r;
};

TEST_F(PaymentBookTest, FreshStudentAsksAndPrintsThreeEntries) {
  AddThisPayment();
  AnswerPrinter("Epson_LX");
  ExpectMsgBox(kAsk, kAskCaption, IDYES, MB_YESNO | MB_ICONQUESTION);
  PrintPaymentBook(r);
  EXPECT_EQ(PrintedLines(), ReadLines(FIN_SOURCE_DIR "/tests/payments/expected/book_fresh_page.txt"));
  // Every line ends in CR LF.
  EXPECT_EQ(textPrinted().Jobs()[0].data.substr(0, 6), "`\r\n`\r\n");
  EXPECT_EQ(textPrinted().Jobs()[0].data.substr(textPrinted().Jobs()[0].data.size() - 2), "\r\n");
}

TEST_F(PaymentBookTest, PositionFollowsTheRowsCountedThisYear) {
  struct Case {
    int earlier;
    bool asks;
    int fillers;
  } cases[] = {{26, true, 2}, {5, false, 6}, {1, false, 2}, {27, false, 2}, {30, false, 5}};
  for (const Case& c : cases) {
    fintest::Exec(gDb, "DELETE FROM transaksi");
    textPrinted().Clear();
    AddRows(c.earlier);
    AddThisPayment();
    AnswerPrinter("Epson_LX");
    if (c.asks) ExpectMsgBox(kAsk, kAskCaption, IDYES);
    PrintPaymentBook(r);
    EXPECT_EQ(PrintedLines(), Join(Fillers(c.fillers), Entries())) << c.earlier;
    VerifySeams();
  }
}

TEST_F(PaymentBookTest, CountSkipsUnprintedSavingsOtherStudentsAndOtherYears) {
  AddRows(2, "S001", "t");                       // savings not yet printed: not counted
  AddRows(2, "S001", "-");                       // printed savings: counted
  AddRows(1, "S001", "p", "2024-06-30");         // last school year
  AddRows(1, "S001", "p", "2024-09-03");         // after today
  AddRows(4, "S002");                            // another student
  AddRows(1, "S001", "p", "2024-07-01");         // the first day counts
  AddThisPayment();
  AnswerPrinter("Epson_LX");
  PrintPaymentBook(r);   // U = 3: two fillers and two more, no question
  EXPECT_EQ(PrintedLines(), Join(Fillers(4), Entries()));
}

TEST_F(PaymentBookTest, NoOnTheQuestionLeavesTheFirstEntryOut) {
  AddThisPayment();
  AnswerPrinter("Epson_LX");
  ExpectMsgBox(kAsk, kAskCaption, IDNO);
  PrintPaymentBook(r);
  EXPECT_EQ(PrintedLines(), Join(Fillers(2), Entries(1)));
}

TEST_F(PaymentBookTest, CancelledPrinterChoicePrintsNothing) {
  AddThisPayment();
  AnswerPrinter(std::nullopt);
  ExpectMsgBox("Tidak ada printer yang dipilih..", "Transaksi..", IDOK, MB_ICONINFORMATION);
  PrintPaymentBook(r);
  EXPECT_TRUE(textPrinted().Jobs().empty());
}

TEST_F(PaymentBookTest, PrinterThatCannotOpenSaysGagalCetak) {
  AddThisPayment();
  textPrinted().Refuse("Epson_LX");
  AnswerPrinter("Epson_LX");
  ExpectMsgBox("Gagal Cetak..", "Transaksi..", IDOK, MB_ICONINFORMATION);
  PrintPaymentBook(r);
  EXPECT_TRUE(textPrinted().Jobs().empty());
}

TEST_F(PaymentBookTest, ABookThatReachesNoPrinterTellsWhereItsTextIsKept) {
  fintest::NoPrintQueue noQueue;   // the text goes to a file
  AnswerPrinter("Epson_LX");
  PrintBookKeptIn(WorkFile("cetak/Epson_LX_20240902_101530.txt"));
}

TEST_F(PaymentBookTest, ABookPrintedToAFileInThePrinterDialogIsKeptUnderCetakAndSaysWhere) {
  // No print queue: the real printer dialog offers "Print to File (PDF)" alone, and the clerk takes it.
  fintest::NoPrintQueue noQueue;
  PrintToFileInThePrinterDialog();
  PrintBookKeptIn(WorkFile("cetak/cetak_20240902_101530.txt"));
}

TEST_F(PaymentBookTest, FailedCountIsReportedAndTheBookStartsAFreshPage) {
  fintest::Exec(gDb, "DROP TABLE transaksi");
  ExpectMsgBox("SQL error: no such table: transaksi", "Info");
  AnswerPrinter("Epson_LX");
  ExpectMsgBox(kAsk, kAskCaption, IDYES);
  PrintPaymentBook(r);
  EXPECT_EQ(PrintedLines(), Join(Fillers(2), Entries()));
}

TEST_F(PaymentBookTest, AnApostropheInTheIdCannotWidenTheCount) {
  r.studentId = "S001' or '1'='1";
  AddRows(5, "S002");
  AnswerPrinter("Epson_LX");
  ExpectMsgBox(kAsk, kAskCaption, IDYES);   // nothing counted: a fresh page
  PrintPaymentBook(r);
  EXPECT_EQ(PrintedLines(), Join(Fillers(2), Entries()));
}

}  // namespace
