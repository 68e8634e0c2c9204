// The print command of a saved payment: the layout dispatch, the receipt archive under arsip/ and the messaging text
// on the clipboard.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/globals.h"
#include "payments/payment_book.h"
#include "payments/receipt_print.h"
#include "platform/print_recording.h"
#include "platform/text_printer.h"
#include "support/fixtures.h"
#include "support/seams_fixture.h"
#include "tests/payments/payment_window_fixture.h"

namespace {

std::vector<std::string> ReadLines(const std::string& path) {
  std::istringstream in(fintest::ReadFile(path));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string Expected(const std::string& name) { return FIN_SOURCE_DIR "/tests/payments/expected/" + name; }

std::string Joined(const std::vector<std::string>& lines, const std::string& end) {
  std::string out;
  for (const std::string& l : lines) out += l + end;
  return out;
}

class ReceiptPrintTest : public fintest::SeamsTest {
 protected:
  ReceiptPrintTest() {
    gDb = fintest::CreateDatabase(WorkFile("t.db3"));
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
    r.layout = kReceiptNone;
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
    r.programFolder = programDir();
    r.logoPath = ProgramFile("image/Logo.bmp");
  }
  ~ReceiptPrintTest() override {
    sqlite3_close(gDb);
    gDb = nullptr;
  }

  std::string ArchiveFile() const { return ProgramFile("arsip/pembayaran_Budi_Santoso_TK_A_2024-09-02.txt"); }

  PaymentReceipt r;
};

// The expected chat text: the lines separated (not ended) by CR.
std::string ChatOf(const std::vector<std::string>& lines) {
  std::string text = "```";
  for (std::size_t i = 0; i < lines.size(); ++i) text += (i ? "\r" : "") + lines[i];
  return text + "```";
}

TEST_F(ReceiptPrintTest, NotSavedDoesNothingAtAll) {
  r.saved = false;
  r.archive = r.copyToChat = true;
  SetClipboard("lama");
  for (int layout = -1; layout <= 5; ++layout) {
    r.layout = layout;
    EXPECT_EQ(PrintPaymentReceipt(r), 0);
  }
  EXPECT_TRUE(printed().Documents().empty());
  EXPECT_TRUE(textPrinted().Jobs().empty());
  EXPECT_FALSE(std::filesystem::exists(ProgramFile("arsip")));
  EXPECT_EQ(clipboard(), std::optional<std::string>("lama"));
}

TEST_F(ReceiptPrintTest, NoPrintChoiceStillArchivesAndCopies) {
  r.archive = r.copyToChat = true;
  for (int layout : {int(kReceiptNone), -1}) {
    r.layout = layout;
    std::filesystem::remove_all(ProgramFile("arsip"));
    SetClipboard(std::nullopt);
    EXPECT_EQ(PrintPaymentReceipt(r), 0);
    EXPECT_TRUE(printed().Documents().empty()) << layout;
    EXPECT_TRUE(textPrinted().Jobs().empty()) << layout;
    EXPECT_EQ(fintest::ReadFile(ArchiveFile()), Joined(ReadLines(Expected("archive_small.txt")), "\r\n")) << layout;
    EXPECT_EQ(clipboard(), std::optional<std::string>(ChatOf(ReadLines(Expected("chat_small.txt"))))) << layout;
  }
}

TEST_F(ReceiptPrintTest, BoxesUntickedPrintOnly) {
  SetClipboard("lama");
  r.layout = kReceiptSlip79;
  PrintPaymentReceipt(r);
  ASSERT_EQ(printed().Documents().size(), 1u);
  EXPECT_FALSE(std::filesystem::exists(ProgramFile("arsip")));
  EXPECT_EQ(clipboard(), std::optional<std::string>("lama"));
}

TEST_F(ReceiptPrintTest, LayoutIndexChoosesTheOutput) {
  struct Case {
    int layout;
    std::string firstText;
    int points;
  } cases[] = {
      {kReceiptSlip79, std::string(11, ' ') + "SD Harapan Bangsa", 8},
      {kReceiptSlip76, std::string(11, ' ') + "SD Harapan Bangsa", 8},
      {kReceiptHalfSheet, std::string(11, ' ') + "SD Harapan Bangsa", 12},
      {kReceiptKwitansi, std::string(29, ' ') + "SD Harapan Bangsa", 12},
  };
  for (const Case& c : cases) {
    printed().Clear();
    r.layout = c.layout;
    PrintPaymentReceipt(r);
    ASSERT_EQ(printed().Documents().size(), 1u) << c.layout;
    const platform::RecordedDocument& doc = printed().Documents()[0];
    EXPECT_EQ(doc.name, "Budi Santoso_TK A_2024-09-02");
    EXPECT_EQ(doc.pages.at(0).Texts(), [&] {
      std::vector<std::string> t;
      for (const ReceiptLine& l : ReceiptLayoutPage(r, c.layout).lines) t.push_back(l.text);
      return t;
    }()) << c.layout;
    EXPECT_EQ(doc.pages.at(0).Texts().at(0), c.firstText) << c.layout;
    EXPECT_EQ(doc.pages.at(0).calls.at(0).points, c.points) << c.layout;
    EXPECT_TRUE(textPrinted().Jobs().empty());
  }
}

TEST_F(ReceiptPrintTest, BookChoiceWritesTheTextPrinter) {
  r.layout = kReceiptBook;
  r.archive = true;
  AnswerPrinter("Epson_LX");
  ExpectMsgBox("Pergantian halaman baru, apakah sudah siap untuk cetak?", "Cetak ke Buku Administrasi", IDYES);
  PrintPaymentReceipt(r);
  EXPECT_TRUE(printed().Documents().empty());
  ASSERT_EQ(textPrinted().Jobs().size(), 1u);
  EXPECT_EQ(textPrinted().Jobs()[0].Lines(),
            (std::vector<std::string>{"`", "`", BookEntryLine(r.today, r.items[0]), BookEntryLine(r.today, r.items[1])}));
  EXPECT_TRUE(std::filesystem::exists(ArchiveFile()));
}

TEST_F(ReceiptPrintTest, CancelledBookStillArchivesAndCopies) {
  r.layout = kReceiptBook;
  r.archive = r.copyToChat = true;
  AnswerPrinter(std::nullopt);
  ExpectMsgBox("Tidak ada printer yang dipilih..", "Transaksi..");
  PrintPaymentReceipt(r);
  EXPECT_TRUE(textPrinted().Jobs().empty());
  EXPECT_TRUE(std::filesystem::exists(ArchiveFile()));
  EXPECT_TRUE(clipboard().has_value());
}

TEST_F(ReceiptPrintTest, ArchiveNamesStayInsideTheArchiveFolder) {
  struct Case {
    std::string name, kelas, file;
  } cases[] = {
      {"Budi Santoso", "TK A", "pembayaran_Budi_Santoso_TK_A_2024-09-02.txt"},
      {"Siti Nur Aini", "Kelas 1 B", "pembayaran_Siti_Nur_Aini_Kelas_1_B_2024-09-02.txt"},
      {"../../x", "1/A", "pembayaran_.._.._x_1_A_2024-09-02.txt"},
      {"a\\b", "", "pembayaran_a_b__2024-09-02.txt"},
  };
  for (const Case& c : cases) {
    r.name = c.name;
    r.kelas = c.kelas;
    EXPECT_EQ(ReceiptArchivePath(r), ProgramFile("arsip/" + c.file)) << c.name;
    EXPECT_TRUE(WriteReceiptArchive(r)) << c.name;
    EXPECT_TRUE(std::filesystem::exists(ProgramFile("arsip/" + c.file))) << c.name;
  }
  // Nothing was written outside the archive folder.
  std::vector<std::string> top;
  for (const auto& e : std::filesystem::directory_iterator(programDir())) top.push_back(e.path().filename().string());
  EXPECT_EQ(top, std::vector<std::string>{"arsip"});
}

TEST_F(ReceiptPrintTest, SecondArchiveOfTheDayReplacesTheFirst) {
  ASSERT_TRUE(WriteReceiptArchive(r));
  r.items.pop_back();
  r.total = 300000;
  ASSERT_TRUE(WriteReceiptArchive(r));
  std::vector<std::string> lines = ReadLines(Expected("archive_small.txt"));
  lines.erase(lines.begin() + 9);   // the second item
  lines.back() = "Total        :" + std::string(11, ' ') + "Rp.***300.000";
  EXPECT_EQ(fintest::ReadFile(ArchiveFile()), Joined(lines, "\r\n"));
}

TEST_F(ReceiptPrintTest, ArchiveThatCannotBeWrittenIsQuiet) {
  fintest::WriteFile(ProgramFile("arsip"), "a file, not a folder");
  r.archive = true;
  r.layout = kReceiptNone;
  EXPECT_FALSE(WriteReceiptArchive(r));
  EXPECT_EQ(PrintPaymentReceipt(r), 0);   // no box: the fixture fails on any
}

TEST_F(ReceiptPrintTest, ChatTextCutsNamesAmountsAndOperator) {
  r.items = {{"1", "BR-1", "Uang Kegiatan A", 1500000}, {"2", "BR-2", "Gedung", 10000000}, {"3", "BR-3", "Buku", -5000}};
  r.net = 123;
  r.operatorName = "Administrator Utama";
  r.name = "Muhammad Rizky Ramadhan Putra";
  std::string text = ReceiptChatText(r);
  ASSERT_EQ(text.substr(0, 3 + 17), "```SD Harapan Bangsa");
  ASSERT_EQ(text.substr(text.size() - 3 - 11 - 13), "Admin      : Administrat```");
  std::vector<std::string> lines;
  std::istringstream in(text.substr(3, text.size() - 6));
  for (std::string l; std::getline(in, l, '\r');) lines.push_back(l);
  ASSERT_EQ(lines.size(), 16u);
  EXPECT_EQ(lines[4], "Nama : Muhammad Rizky Ra");
  EXPECT_EQ(lines[7], "Uang KegiataRp.1.500.000");
  EXPECT_EQ(lines[8], "Gedung      Rp.10.000.000");   // never cut: the line grows
  EXPECT_EQ(lines[9], "Buku        Rp.***-5.000");
  EXPECT_EQ(lines[11], "Total      :Rp.******123");
  for (const std::string& l : lines) {
    if (l != lines[8]) {
      EXPECT_LE(RcptLength(l), 24) << l;   // only an amount wider than its field widens a line
    }
  }
  EXPECT_EQ(text.find('\n'), std::string::npos);
}

// ----- from the payment window ------------------------------------------------------------------------------------------

class ReceiptFromWindowTest : public paytest::PaymentWindowTest {
 protected:
  void SetUp() override {
    paytest::PaymentWindowTest::SetUp();
    gSchoolName = "SMP Harapan Bangsa";
    gSchoolAddress = "Jl. Merdeka No. 5";
    gSchoolPhone = "021-555123";
    gSchoolEmail = "tu@harapan.sch.id";
    gStrukTopMargin = 15;
    gStrukLineSpacing = 150;
    gStrukFont = "Courier New";
  }

  // Student 12 (600 in savings) pays three items with a discount of 5000, the savings ticked, and saves.
  void SavedPayment() {
    Open();
    Load("12");
    Insert(ThreeItems());
    Type(gFormBayarDiscountEdit, "5000");
    Click(gFormBayarSavingsCheck);
    ExpectMsgBox("Pembayaran berhasil disimpan..", "Pembayaran..");
    Key(Qt::Key_F12);
    VerifySeams();
    ASSERT_EQ(gPaymentSaved, 1);
  }

  static std::vector<std::string> Texts(const ReceiptPage& page) {
    std::vector<std::string> t;
    for (const ReceiptLine& l : page.lines) t.push_back(l.text);
    return t;
  }
};

TEST_F(ReceiptFromWindowTest, ReadsWhatTheWindowShows) {
  SavedPayment();
  CbSetCurSel(gFormBayarPrintChoiceCombo, kReceiptKwitansi);
  Click(gFormBayarArchiveCheck);
  PaymentReceipt r = PaymentReceiptFromWindow();
  EXPECT_EQ(r.studentId, "12");
  EXPECT_EQ(r.name, "ANI RAHMA");
  EXPECT_EQ(r.kelas, "VII A");
  ASSERT_EQ(r.items.size(), 3u);
  EXPECT_EQ(r.items[0].number, "1");
  EXPECT_EQ(r.items[0].code, "BR-VIIA20240001");
  EXPECT_EQ(r.items[0].name, "SPP Bulan : Juli s/d Agustus");
  EXPECT_EQ(r.items[0].amount, 300000);
  EXPECT_EQ(r.items[2].amount, 250000);
  EXPECT_EQ(r.total, 1000000);
  EXPECT_EQ(r.discount, 5000);
  EXPECT_EQ(r.net, 995000);
  EXPECT_EQ(r.paid, 994400);
  EXPECT_EQ(r.change, 0);
  EXPECT_TRUE(r.savingsTicked);
  EXPECT_EQ(r.SavingsUsed(), 600);
  EXPECT_TRUE(r.saved);
  EXPECT_EQ(r.layout, kReceiptKwitansi);
  EXPECT_TRUE(r.archive);
  EXPECT_FALSE(r.copyToChat);
  EXPECT_EQ(r.today, "2024-09-02");
  EXPECT_EQ(r.tapel, "2024/2025");
  EXPECT_EQ(r.lastKey, "101530");
  EXPECT_EQ(r.operatorName, "kasir");
  EXPECT_EQ(r.clock, "10:15:30");
  EXPECT_EQ(r.printDate, "02-09-2024");
  EXPECT_EQ(r.monthName, "September");
  EXPECT_EQ(r.schoolName, "SMP Harapan Bangsa");
  EXPECT_EQ(r.lineSpacing, 150);
  EXPECT_EQ(r.logoPath, ProgramFile("image/Logo.bmp"));
  EXPECT_EQ(r.programFolder, programDir());

  // Without the window: nothing chosen, nothing ticked, not a student.
  WinDestroyWindow(gFormBayarWindow);
  PaymentReceipt gone = PaymentReceiptFromWindow();
  EXPECT_TRUE(gone.items.empty());
  EXPECT_EQ(gone.layout, -1);
  EXPECT_FALSE(gone.archive || gone.copyToChat || gone.savingsTicked);
  EXPECT_EQ(gone.name, "");
}

TEST_F(ReceiptFromWindowTest, PrintButtonPrintsArchivesAndCopies) {
  SavedPayment();
  CbSetCurSel(gFormBayarPrintChoiceCombo, kReceiptSlip76);
  Click(gFormBayarArchiveCheck);
  Click(gFormBayarCopy2WACheck);
  const PaymentReceipt shown = PaymentReceiptFromWindow();
  Click(gFormBayarPrintButton);

  ASSERT_EQ(printed().Documents().size(), 1u);
  const platform::RecordedDocument& doc = printed().Documents()[0];
  EXPECT_EQ(doc.name, "ANI RAHMA_VII A_2024-09-02");
  EXPECT_EQ(doc.pages.at(0).Texts(), Texts(ReceiptSlip76(shown)));
  const std::vector<std::string> texts = doc.pages.at(0).Texts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), "Tabungan     :" + std::string(11, ' ') + "Rp*******600"), texts.end());
  EXPECT_NE(std::find(texts.begin(), texts.end(), "Dicetak      : 02-09-2024 By : kasir"), texts.end());

  EXPECT_EQ(fintest::ReadFile(ProgramFile("arsip/pembayaran_ANI_RAHMA_VII_A_2024-09-02.txt")),
            Joined(ReceiptArchiveLines(shown), "\r\n"));
  ASSERT_TRUE(clipboard().has_value());
  EXPECT_EQ(*clipboard(), ReceiptChatText(shown));
  EXPECT_NE(clipboard()->find("\rTotal      :Rp.**995.000\r"), std::string::npos);   // the net total

  // The same payment once more in another layout: still saved.
  printed().Clear();
  CbSetCurSel(gFormBayarPrintChoiceCombo, kReceiptHalfSheet);
  Click(gFormBayarPrintButton);
  ASSERT_EQ(printed().Documents().size(), 1u);
  EXPECT_EQ(printed().Documents()[0].pages.at(0).Texts(), Texts(ReceiptHalfSheet(shown)));
}

TEST_F(ReceiptFromWindowTest, WithoutAPrinterEachLayoutGoesToAPdfAndTheClerkIsToldWhere) {
  SavedPayment();
  NoPrinter();
  const std::string stem = WorkFile("cetak/ANI RAHMA_VII A_2024-09-02_20240902_101530");
  const struct {
    int layout;
    std::string file;
  } cases[] = {{kReceiptSlip79, stem + ".pdf"},
               {kReceiptSlip76, stem + "_2.pdf"},
               {kReceiptHalfSheet, stem + "_3.pdf"},
               {kReceiptKwitansi, stem + "_4.pdf"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.layout);
    CbSetCurSel(gFormBayarPrintChoiceCombo, c.layout);
    ExpectMsgBox("Tidak ada yang tercetak ke printer. Cetakan disimpan di " + c.file + "..", "Info", IDOK,
                 MB_OK | MB_ICONINFORMATION);
    Click(gFormBayarPrintButton);
    VerifySeams();
    EXPECT_EQ(fintest::ReadFile(c.file).substr(0, 5), "%PDF-");
  }
}

}  // namespace
