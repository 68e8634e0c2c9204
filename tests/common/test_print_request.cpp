// The print-request poller: the three request kinds, the last line of the file, missing fields and the file removed.
#include <QTest>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "app/globals.h"
#include "common/numbers_words.h"
#include "common/print_request.h"
#include "platform/print_recording.h"
#include "platform/text_printer.h"
#include "framework/form_runtime.h"
#include "framework/window_system.h"
#include "support/fixtures.h"
#include "support/no_print_queue.h"
#include "support/locked_folder.h"
#include "support/seams_fixture.h"

namespace {

class PrintRequestTest : public fintest::SeamsTest {
 protected:
  std::shared_ptr<platform::RecordingPrintBackend> printer = platform::InstallRecordingPrintBackend();
  std::shared_ptr<platform::RecordingTextPrinterBackend> textPrinter = platform::InstallRecordingTextPrinterBackend();

  PrintRequestTest() {
    gSchoolName = "SD KELVORA";
    gSchoolAddress = "Jl. Mawar 1";
    gSchoolPhone = "022-1";
    gSchoolEmail = "sd@kelvora.id";
    gToday = "2024-09-02";
    gStrukFont = "Courier New";
    gStrukLineSpacing = 150;
    gPrinterKind = 0;
    std::filesystem::create_directories(ProgramFile("cetak"));
  }
  ~PrintRequestTest() override {
    platform::SetPrintBackendForTests(nullptr);
    platform::SetTextPrinterBackendForTests(nullptr);
  }
  std::string RequestPath() { return ProgramFile("cetak/ctk.txt"); }
  void Request(const std::string& text) { fintest::WriteFile(RequestPath(), text); }
  // The texts drawn on the first page, each with its y in page units.
  std::vector<std::pair<int, std::string>> Drawn() {
    std::vector<std::pair<int, std::string>> out;
    for (const auto& c : printer->Documents().at(0).pages.at(0).calls) out.emplace_back(c.page.y, c.text);
    return out;
  }
};

PrintRequestContext Ctx() {
  PrintRequestContext c;
  c.schoolName = "SD KELVORA";
  c.schoolAddress = "Jl. Mawar 1";
  c.schoolPhone = "022-1";
  c.schoolEmail = "sd@kelvora.id";
  c.today = "2024-09-02";
  c.printDate = "02-09-2024";
  c.statusDate = "Sep 02, 2024";
  c.statusTime = "10:15:30";
  c.operatorName = "kasir";
  return c;
}

const std::string kRule = "   " + std::string(71, '-');

TEST(PrintRequestFields, MissingFieldsAreEmptyAndStarsFillTheAmountColumn) {
  EXPECT_EQ(FinRequestField("a|b|c", "|", 2), "b");
  EXPECT_EQ(FinRequestField("a|b|c", "|", 4), "");
  EXPECT_EQ(FinRequestField("abc", "|", 2), "");
  EXPECT_EQ(FinRequestField("", "|", 1), "");
  EXPECT_EQ(FinStarPad10("150000"), "****150000");
  EXPECT_EQ(FinStarPad10(""), "**********");
  EXPECT_EQ(FinStarPad10("12345678901"), "12345678901");
}

TEST(PrintRequestLayout, PaymentReceiptOfTwoItems) {
  auto lines = FinRequestPaymentLines(
      "BUDI SANTOSO;VII A|SPP Juli;150000$Uang Buku;75000|225000;200000;25000;250000;50000|2", Ctx());
  ASSERT_EQ(lines.size(), 20u);   // L = 9, last line L + 11
  EXPECT_EQ(lines[0], "   SD KELVORA");
  EXPECT_EQ(lines[2], "   Telp. 022-1 Email. sd@kelvora.id");
  EXPECT_EQ(lines[3], kRule);
  EXPECT_EQ(lines[4], "   Nama Siswa : BUDI SANTOSO; Kls : VII A");
  EXPECT_EQ(lines[6], "");
  EXPECT_EQ(lines[7], "   001SPP Juli" + std::string(47, ' ') + "Rp.****150000");
  EXPECT_EQ(lines[8], "   002Uang Buku" + std::string(46, ' ') + "Rp.*****75000");
  EXPECT_EQ(lines[9], kRule);
  EXPECT_EQ(lines[10], "   " + std::string(28, ' ') + "                      Total : Rp.****225000");
  EXPECT_EQ(lines[12], "   " + FinSpellNumber(200000));
  EXPECT_EQ(lines[13], "   " + std::string(25, ' ') + "Penerima              Potongan : Rp.*****25000");
  EXPECT_EQ(lines[16], "   " + std::string(26, ' ') + "(__________)          Kembali : Rp.*****50000");
  EXPECT_EQ(lines[17], "");
  EXPECT_EQ(lines[18], "   Dicetak tanggal 02-09-2024 10:15:30");
  EXPECT_EQ(lines[19], "   Oleh operator : kasir");
  // Every amount ends in the same column.
  for (int i : {7, 8, 10, 13, 14, 15, 16}) EXPECT_EQ(lines[i].size(), 74u) << i;
}

TEST(PrintRequestLayout, CountLargerThanTheItemsHeldPrintsOnlyTheItemsHeld) {
  auto lines = FinRequestPaymentLines("ANI;I|SPP;100000|100000;100000;0;100000;0|5", Ctx());
  EXPECT_EQ(lines.size(), 19u);
  EXPECT_EQ(lines[7].substr(0, 9), "   001SPP");
  EXPECT_EQ(lines[8], kRule);
}

TEST(PrintRequestLayout, SavingsReceipt) {
  auto lines = FinRequestSavingsLines("TB|T-7;ANI;VII A|setor;50000;75000;25000", Ctx());
  ASSERT_EQ(lines.size(), 20u);
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[5], "   Nama Nasabah           : ANI - VII A");
  EXPECT_EQ(lines[6], "   STRUK TABUNGAN NO.     : T-720240902101530");
  EXPECT_EQ(lines[7], "   Transaksi Id / Sandi   : 01 Setoran Tunai");
  EXPECT_EQ(lines[9], "   Jumlah Saldo yang lalu : Rp.*****50000");
  EXPECT_EQ(lines[10], "   Jumlah Tunai           : Rp.*****25000");
  EXPECT_EQ(lines[11], "   Jumlah Saldo Terakhir  : Rp.*****75000");
  EXPECT_EQ(lines[13], "   Terbilang " + FinSpellNumber(25000) + " rupiah");
  EXPECT_EQ(lines[14], std::string(47, ' ') + "Disahkan oleh");
  EXPECT_EQ(lines[19], "   Print : Sep 02, 2024 - 10:15:30 by : kasir");
  EXPECT_EQ(FinRequestSavingsLines("TB|1;A;B|tarik;1;0;1", Ctx())[7], "   Transaksi Id / Sandi   : 02 Tarikan Tunai");
}

TEST_F(PrintRequestTest, NoRequestFilePrintsNothing) {
  EXPECT_FALSE(FORM3_ProcessPrintRequest());
  EXPECT_TRUE(printer->Documents().empty());
}

TEST_F(PrintRequestTest, CashReceiptRequestPrintsAndTheFileGoes) {
  Request("BK|K-01|Budi|SPP Juli|150000|Kas|Ani\r\n");
  ASSERT_TRUE(FORM3_ProcessPrintRequest());
  EXPECT_FALSE(std::filesystem::exists(RequestPath()));
  ASSERT_EQ(printer->Documents().size(), 1u);
  EXPECT_EQ(printer->Documents()[0].name, "Struk");
  auto drawn = Drawn();
  auto has = [&](int y, const std::string& t) {
    return std::find(drawn.begin(), drawn.end(), std::make_pair(y, t)) != drawn.end();
  };
  EXPECT_TRUE(has(750, " No.              : K-01"));
  EXPECT_TRUE(has(1050, " Terima dari.     : Budi"));
  EXPECT_TRUE(has(1350, " Untuk Pembayaran : SPP Juli"));
  EXPECT_TRUE(has(1500, "                  : Kas"));
  EXPECT_TRUE(has(2100, "                  : Rp.     150000"));
  EXPECT_TRUE(has(3000, std::string(30, ' ') + "ANI"));
}

TEST_F(PrintRequestTest, PaymentRequestPrintsTheLastLineOnly) {
  Request("ANI;I|SPP;1|1;1;0;1;0|1\r\nBUDI;II|SPP Juli;150000$Uang Buku;75000|225000;200000;25000;250000;50000|2\r\n");
  ASSERT_TRUE(FORM3_ProcessPrintRequest());
  auto drawn = Drawn();
  EXPECT_EQ(drawn.at(4), std::make_pair(1500, std::string("   Nama Siswa : BUDI; Kls : II")));
  // Items on lines 8 and 9, the total block from line 10 on; the empty line 7 draws nothing.
  EXPECT_EQ(drawn.at(6).first, 2400);
  EXPECT_EQ(drawn.at(7).first, 2700);
  EXPECT_EQ(drawn.at(8), std::make_pair(3000, kRule));
  for (const auto& c : printer->Documents()[0].pages[0].calls) {
    EXPECT_EQ(c.face, "Courier New");
    EXPECT_EQ(c.points, 12);
    EXPECT_EQ(c.page.x, 10);
  }
  EXPECT_FALSE(std::filesystem::exists(RequestPath()));
}

TEST_F(PrintRequestTest, SavingsRequestGoesToTheTextPrinter) {
  Request("TB|T-7;ANI;VII A|setor;50000;75000;25000");
  ASSERT_TRUE(FORM3_ProcessPrintRequest());
  ASSERT_EQ(textPrinter->Jobs().size(), 1u);
  EXPECT_TRUE(textPrinter->Jobs()[0].closed);
  EXPECT_EQ(textPrinter->Jobs()[0].Lines().at(7), "   Transaksi Id / Sandi   : 01 Setoran Tunai");
  EXPECT_FALSE(std::filesystem::exists(RequestPath()));
}

// A savings receipt whose printer is no print queue: the text is kept in a file, the request goes, and the operator
// is told where the text is, as for every text-printer job that reached no printer.
TEST_F(PrintRequestTest, ASavingsRequestThatReachesNoPrinterTellsWhereItsTextIsKept) {
  fintest::NoPrintQueue noQueue;   // the text goes to a file
  Request("TB|T-7;ANI;VII A|setor;50000;75000;25000");
  AnswerMsgBox(IDOK);
  ASSERT_TRUE(FORM3_ProcessPrintRequest());
  EXPECT_FALSE(std::filesystem::exists(RequestPath()));
  ASSERT_EQ(msgBoxes().size(), 1u);
  const std::string prefix = "Tidak ada yang tercetak ke printer. Teks cetakan disimpan di ";
  ASSERT_EQ(msgBoxes()[0].text.rfind(prefix, 0), 0u) << msgBoxes()[0].text;
  const std::string kept = msgBoxes()[0].text.substr(prefix.size(), msgBoxes()[0].text.size() - prefix.size() - 2);
  EXPECT_NE(fintest::ReadFile(kept).find("STRUK TABUNGAN NO.     : T-7"), std::string::npos) << kept;
}

}  // namespace

namespace {

TEST_F(PrintRequestTest, AByteOrderMarkAtTheStartIsNoPartOfTheRequest) {
  Request("\xEF\xBB\xBF" "BK|K-01|Budi|SPP Juli|150000|Kas|Ani\r\n");
  ASSERT_TRUE(FORM3_ProcessPrintRequest());
  const auto drawn = Drawn();
  EXPECT_NE(std::find(drawn.begin(), drawn.end(), std::make_pair(750, std::string(" No.              : K-01"))),
            drawn.end());
  Request("\xEF\xBB\xBF" "TB|T-7;ANI;VII A|setor;50000;75000;25000");
  ASSERT_TRUE(FORM3_ProcessPrintRequest());
  ASSERT_EQ(textPrinter->Jobs().size(), 1u);
  EXPECT_EQ(textPrinter->Jobs()[0].Lines().at(5), "   Nama Nasabah           : ANI - VII A");
  EXPECT_EQ(printer->Documents().size(), 1u);   // no payment receipt of a garbled first field
}

TEST_F(PrintRequestTest, ARequestFileThatCannotBeDeletedIsPrintedOnceAndTheOperatorToldOnce) {
  const std::string told = "Permintaan cetak sudah dicetak, tetapi file " + RequestPath() +
                           " tidak dapat dihapus; permintaan itu tidak dicetak lagi sampai file tersebut diganti..";
  Request("BK|K-01|Budi|SPP Juli|150000|Kas|Ani\r\n");
  fintest::LockedFolder lock(ProgramFile("cetak"));
  if (!lock.locked()) GTEST_SKIP() << "no folder can be locked here";
  FORM3_Show(0, 0, 0);
  ASSERT_TRUE(IsWindow(gForm3Window));
  ExpectMsgBox(told, "Info", IDOK, MB_OK);
  for (int tick = 0; tick < 4; ++tick) ASSERT_TRUE(WinFireTimer(gForm3Window, 1));
  EXPECT_EQ(printer->Documents().size(), 1u);
  EXPECT_TRUE(std::filesystem::exists(RequestPath()));
  VerifySeams();

  // Written anew (another request, or the same one again later): printed once more, said once more.
  Request("BK|K-02|Cici|SPP Agustus|150000|Kas|Ani\r\n");
  ExpectMsgBox(told, "Info", IDOK, MB_OK);
  for (int tick = 0; tick < 3; ++tick) ASSERT_TRUE(WinFireTimer(gForm3Window, 1));
  EXPECT_EQ(printer->Documents().size(), 2u);
  VerifySeams();
  std::filesystem::last_write_time(RequestPath(),
                                   std::filesystem::last_write_time(RequestPath()) + std::chrono::seconds(2));
  ExpectMsgBox(told, "Info", IDOK, MB_OK);
  for (int tick = 0; tick < 3; ++tick) ASSERT_TRUE(WinFireTimer(gForm3Window, 1));
  EXPECT_EQ(printer->Documents().size(), 3u);
  FrmClose(gForm3Window, 0);
}

TEST_F(PrintRequestTest, WithoutAPrinterEachRequestGoesToAFileAndTheOperatorIsToldWhereOnce) {
  // No printer at all: pages go to PDF files, the savings receipt's text (for the default printer, which is then the
  // PDF pseudo-printer) to a text file, all under cetak/ of the working folder.
  NoPrinter();
  platform::SetTextPrinterBackendForTests(platform::MakeSystemTextPrinterBackend());
  const struct {
    const char* request;
    std::string told;
  } cases[] = {
      {"BK|K-01|Budi|SPP Juli|150000|Kas|Ani",
       "Cetakan disimpan di " + WorkFile("cetak/Struk_20240902_101530.pdf")},
      {"BUDI;II|SPP Juli;150000|150000;150000;0;150000;0|1",
       "Cetakan disimpan di " + WorkFile("cetak/Struk_20240902_101530_2.pdf")},
      {"TB|T-7;ANI;VII A|setor;50000;75000;25000",
       "Teks cetakan disimpan di " + WorkFile("cetak/cetak_20240902_101530.txt")},
  };
  FORM3_Show(0, 0, 0);
  ASSERT_TRUE(IsWindow(gForm3Window));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.request);
    Request(c.request);
    ExpectMsgBox("Tidak ada yang tercetak ke printer. " + c.told + "..", "Info", IDOK, MB_OK | MB_ICONINFORMATION);
    for (int tick = 0; tick < 2; ++tick) ASSERT_TRUE(WinFireTimer(gForm3Window, 1));   // the second finds nothing
    VerifySeams();
    EXPECT_FALSE(std::filesystem::exists(RequestPath()));
    const std::string file = c.told.substr(c.told.find(" di ") + 4);
    EXPECT_TRUE(std::filesystem::is_regular_file(file)) << file;
  }
  EXPECT_TRUE(printer->Documents().empty());
  FrmClose(gForm3Window, 0);
}

TEST_F(PrintRequestTest, PollerWindowPrintsOnItsTimerAndCloses) {
  std::filesystem::remove_all(ProgramFile("cetak"));
  FORM3_Show(0, 0, 0);
  ASSERT_TRUE(IsWindow(gForm3Window));
  EXPECT_EQ(WinGetWindowText(gForm3Window), "Form Cetak");
  EXPECT_TRUE(std::filesystem::is_directory(ProgramFile("cetak")));   // made when the window opens
  Request("BK|K-02|Budi|SPP|50000|Kas|Ani");
  ASSERT_TRUE(WinFireTimer(gForm3Window, 1));
  EXPECT_EQ(printer->Documents().size(), 1u);
  EXPECT_FALSE(std::filesystem::exists(RequestPath()));
  ASSERT_TRUE(WinFireTimer(gForm3Window, 1));   // nothing new: nothing printed
  EXPECT_EQ(printer->Documents().size(), 1u);
  Hwnd tutup = WinGetDlgItem(gForm3Window, 1001);
  ASSERT_NE(tutup, 0);
  QTest::mouseClick(WinWidget(tutup), Qt::LeftButton);
  EXPECT_EQ(gForm3Window, 0);
}

}  // namespace
