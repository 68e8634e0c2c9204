// The arrears window FORMTUNGGAKAN driven as the cashier would: what it lists for the student of the payment window
// by the day and the mode, the school-year and posting-account choices, "Sisip" into the payment window's items and
// totals, "Batal", the three outputs of the bill, failures, and the whole way from the real payment window.
#include <QFile>
#include <QImage>
#include <QPixmap>

#include <algorithm>
#include <filesystem>

#include "payments/arrears_bill.h"
#include "payments/arrears_fixture.h"

namespace {

using arrearstest::ArrearsTest;
using arrearstest::Rows;
using arrearstest::gStandInWindow;

const std::string kExpected = FIN_SOURCE_DIR "/tests/payments/expected/";

const Rows kWorkingYear = {
    {"1", "BR-VIIA20240003", "Les", "0", "Perbulan", "411", "0", "600000"},
    {"2", "BR-VIIA20240002", "Buku", "700000", "Pertahun", "412", "0", "1000000"},
    {"3", "BR-VIIA20240001", "SPP", "300000", "Perbulan", "411", "0", "1800000"},
};

class ArrearsWindowTest : public ArrearsTest {};

TEST_F(ArrearsWindowTest, OpensOnTheWorkingYearWithWhatTheStudentOwes) {
  OpenStandIn();
  const Hwnd form = OpenArrears();
  ASSERT_TRUE(IsWindow(form));
  EXPECT_EQ(WinGetWindowText(form), "Form4");
  EXPECT_EQ(WinGetClassName(form), "FORM_FINANCE_FORMTUNGGAKAN_CLASS");
  EXPECT_EQ(WinGetStyle(form) & (WS_POPUP | WS_THICKFRAME | WS_SYSMENU | WS_CAPTION),
            WS_POPUP | WS_THICKFRAME | WS_SYSMENU);

  EXPECT_EQ(ComboItems(gFormTunggakanTapelCombo), (std::vector<std::string>{"2024/2025", "2023/2024", "2022/2023",
                                                                            "2021/2022", "2020/2021", "2019/2020"}));
  EXPECT_EQ(CtlGetText(gFormTunggakanTapelCombo), "2024/2025");
  // Income accounts of the year that take bookings, the last one chosen, the combo closed for the working year.
  EXPECT_EQ(ComboItems(gFormTunggakanRekeningCombo),
            (std::vector<std::string>{"411 SPP", "412 Buku", "421 Tunggakan SPP"}));
  EXPECT_EQ(CtlGetText(gFormTunggakanRekeningCombo), "421 Tunggakan SPP");
  EXPECT_FALSE(WinIsWindowEnabled(gFormTunggakanRekeningCombo));

  EXPECT_EQ(Captions(gFormTunggakanList),
            (std::vector<std::string>{"No.", "Id", "Pembayaran", "Jumlah", "Type", "RefRekening", "nBln", "temp"}));
  const int widths[] = {50, 150, 250, 100, 0, 0, 0, 0};
  const int aligns[] = {LVCFMT_CENTER, LVCFMT_LEFT, LVCFMT_LEFT, LVCFMT_RIGHT,
                        LVCFMT_RIGHT,  LVCFMT_RIGHT, LVCFMT_RIGHT, LVCFMT_RIGHT};
  for (int c = 0; c < 8; ++c) {
    EXPECT_EQ(LvGetColumnWidth(gFormTunggakanList, c), widths[c]) << c;
    EXPECT_EQ(LvGetColumnAlign(gFormTunggakanList, c), aligns[c]) << c;
  }
  // Fees of the class with a billing row for the student, newest id first; a settled fee stays; no row is ticked.
  EXPECT_EQ(ListRows(gFormTunggakanList), kWorkingYear);
  for (int r = 0; r < 3; ++r) EXPECT_EQ(LvGetCheck(gFormTunggakanList, r), -2) << r;
  EXPECT_EQ(CtlGetText(gFormTunggakanTotalLabel), "Jumlah Tunggakan : 1.000.000");
  EXPECT_EQ(gRowCount, 1000000);

  for (auto [h, text] : std::vector<std::pair<Hwnd, const char*>>{
           {gFormTunggakanChangeButton, "Ubah Nilai Pembayaran"},
           {gFormTunggakanRekeningLabel, "Di pos kan ke rekening"},
           {gFormTunggakanPrintButton, "Cetak"},
           {gFormTunggakanTapelLabel, "Tahun Ajaran"},
           {gFormTunggakanSisipButton, "Sisip"},
           {gFormTunggakanBatalButton, "Batal"},
           {gFormTunggakanHeading, "Tagihan Tunggakan Pembayaran"},
           {gFormTunggakanSubHeading, "Menampilkan Jumlah Tunggakan Siswa terhitung dalam 1 tahun ajaran"}})
    EXPECT_EQ(CtlGetText(h), text);
  EXPECT_EQ(CtlGetToolTip(gFormTunggakanCopyButton), "Copy to WA");
  EXPECT_EQ(CtlGetToolTip(gFormTunggakanArchiveButton), "Arsip");
  EXPECT_EQ(WinGetDlgCtrlID(gFormTunggakanBatalButton), 2);
  EXPECT_EQ(WinGetFocus(), gFormTunggakanCopyButton);
  for (Hwnd h : {gFormTunggakanCopyButton, gFormTunggakanArchiveButton, gFormTunggakanChangeButton,
                 gFormTunggakanRekeningCombo, gFormTunggakanTapelCombo})
    EXPECT_TRUE(WinGetStyle(h) & WS_TABSTOP);
  for (Hwnd h : {gFormTunggakanPrintButton, gFormTunggakanSisipButton, gFormTunggakanBatalButton, gFormTunggakanList})
    EXPECT_FALSE(WinGetStyle(h) & WS_TABSTOP);
  const WindowData* total = FrmDataOf(gFormTunggakanTotalLabel);
  EXPECT_EQ(total->foreColor, WinRgb(0, 255, 0));
  EXPECT_EQ(total->backColor, WinRgb(0, 0, 128));
  EXPECT_EQ(FrmDataOf(gFormTunggakanHeading)->foreColor, WinRgb(255, 0, 0));
  EXPECT_EQ(FrmDataOf(gFormTunggakanSubHeading)->foreColor, WinRgb(0, 128, 255));
}

// The red heading names the window (its caption is only "Form4"): the header's group box, made after it, frames it
// and must not paint over it.
TEST_F(ArrearsWindowTest, ItsRedHeadingIsPaintedAboveTheHeaderGroup) {
  OpenStandIn();
  QWidget* window = WinWidget(OpenArrears());
  ASSERT_NE(window, nullptr);
  QWidget* heading = WinWidget(gFormTunggakanHeading);
  QWidget* group = WinWidget(gFormTunggakanHeaderGroup);
  ASSERT_NE(heading, nullptr);
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(CtlGetText(gFormTunggakanHeading), "Tagihan Tunggakan Pembayaran");
  EXPECT_TRUE(group->geometry().contains(heading->geometry()));
  EXPECT_EQ(fintest::CoveredLabels(window), std::vector<std::string>{});
  // What the window shows where the heading stands: its red letters.
  const QRect r = heading->geometry().translated(heading->parentWidget()->mapTo(window, QPoint(0, 0)));
  auto redPixels = [&] {
    const QImage shot = window->grab().toImage();
    int red = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x) {
        const QColor c = shot.pixelColor(x, y);
        if (c.red() > 180 && c.green() < 90 && c.blue() < 90) ++red;
      }
    return red;
  };
  EXPECT_GT(redPixels(), 100) << "no red heading where it stands";
  // Stacked above the heading, the group box (in the form's colours) would hide it, and the check would say so.
  group->raise();
  EXPECT_EQ(redPixels(), 0);
  const auto covered = fintest::CoveredLabels(window);
  EXPECT_NE(std::find(covered.begin(), covered.end(),
                      "Form4: label \"Tagihan Tunggakan Pembayaran\" under QGroupBox \"\""),
            covered.end());
  group->lower();
  WinDestroyWindow(gFormTunggakanWindow);
}

TEST_F(ArrearsWindowTest, MonthlyFeesOweUpToTheCurrentMonthOfTheRunningYear) {
  OpenStandIn();
  struct Case {
    int y, m, d;
    const char* spp;   // SPP: 150000 a month, 150000 paid
    const char* les;   // Les: 50000 a month, 150000 paid
  } cases[] = {
      {2024, 7, 1, "0", "-100000"},        {2024, 8, 15, "150000", "-50000"},
      {2024, 9, 2, "300000", "0"},         {2025, 3, 10, "1200000", "300000"},
      {2025, 6, 30, "1650000", "450000"},  // June: the whole year
      {2025, 7, 1, "1650000", "450000"},   // the school year is over: all twelve months
      {2024, 6, 30, "1650000", "450000"},  // before it began: all twelve months as well
  };
  for (const Case& c : cases) {
    SetClock(c.y, c.m, c.d, 9, 0, 0);
    OpenArrears();
    EXPECT_EQ(LvGetItemText(gFormTunggakanList, RowOf("BR-VIIA20240001"), 3), c.spp) << c.y << "-" << c.m;
    EXPECT_EQ(LvGetItemText(gFormTunggakanList, RowOf("BR-VIIA20240003"), 3), c.les) << c.y << "-" << c.m;
    EXPECT_EQ(LvGetItemText(gFormTunggakanList, RowOf("BR-VIIA20240002"), 3), "700000");   // yearly: the year
    WinDestroyWindow(gFormTunggakanWindow);
  }
  // An overpaid fee lowers the total.
  SetClock(2024, 7, 1, 9, 0, 0);
  OpenArrears();
  EXPECT_EQ(CtlGetText(gFormTunggakanTotalLabel), "Jumlah Tunggakan : 600.000");
}

TEST_F(ArrearsWindowTest, PrepaidModeOwesTheWholeYearWhateverTheDay) {
  gPrepaid = 1;
  OpenStandIn();
  for (int month : {7, 9, 3}) {
    SetClock(month >= 7 ? 2024 : 2025, month, 5, 9, 0, 0);
    OpenArrears();
    EXPECT_EQ(ListRows(gFormTunggakanList, 4), (Rows{{"1", "BR-VIIA20240003", "Les", "450000"},
                                                     {"2", "BR-VIIA20240002", "Buku", "700000"},
                                                     {"3", "BR-VIIA20240001", "SPP", "1650000"}}));
    EXPECT_EQ(CtlGetText(gFormTunggakanTotalLabel), "Jumlah Tunggakan : 2.800.000");
    WinDestroyWindow(gFormTunggakanWindow);
  }
}

TEST_F(ArrearsWindowTest, AnEarlierYearNamesClassAndYearAndBooksToTheChosenAccount) {
  OpenStandIn();
  OpenArrears();
  Choose(gFormTunggakanTapelCombo, "2023/2024");
  EXPECT_EQ(ListRows(gFormTunggakanList),
            (Rows{{"1", "BR-VIA20230001", "SPP Kls:VI A 2023/2024", "100000", "Perbulan", "401", "0", "1200000"}}));
  EXPECT_EQ(CtlGetText(gFormTunggakanTotalLabel), "Jumlah Tunggakan : 100.000");
  EXPECT_TRUE(WinIsWindowEnabled(gFormTunggakanRekeningCombo));
  EXPECT_EQ(CtlGetText(gFormTunggakanRekeningCombo), "421 Tunggakan SPP");

  // Back to the working year: the combo closes (its choice stays), the fees' own codes again.
  Choose(gFormTunggakanRekeningCombo, "411 SPP");
  Choose(gFormTunggakanTapelCombo, "2024/2025");
  EXPECT_FALSE(WinIsWindowEnabled(gFormTunggakanRekeningCombo));
  EXPECT_EQ(CtlGetText(gFormTunggakanRekeningCombo), "411 SPP");
  EXPECT_EQ(ListRows(gFormTunggakanList), kWorkingYear);

  // A year without a class for the student: nothing listed; the earlier year's items go to the chosen account.
  Choose(gFormTunggakanTapelCombo, "2022/2023");
  EXPECT_EQ(LvGetItemCount(gFormTunggakanList), 0);
  EXPECT_EQ(CtlGetText(gFormTunggakanTotalLabel), "Jumlah Tunggakan : 0");
  EXPECT_EQ(CtlGetText(gFormTunggakanRekeningCombo), "421 Tunggakan SPP");
  Choose(gFormTunggakanTapelCombo, "2023/2024");
  Choose(gFormTunggakanRekeningCombo, "412 Buku");
  Tick(gFormTunggakanList, 0);
  Click(gFormTunggakanSisipButton);
  EXPECT_EQ(ListRows(gFormBayarItemList),
            (Rows{{"1", "BR-VIA20230001", "SPP Kls:VI A 2023/2024", "100000", "412", "Perbulan"}}));
}

TEST_F(ArrearsWindowTest, SisipAppendsTheTickedRowsAndSetsThePaymentTotals) {
  OpenStandIn();
  // One item already in the payment list.
  const int r = LvInsertItem(gFormBayarItemList, 0, 0, "1", 0, 0);
  for (auto [c, t] : std::vector<std::pair<int, const char*>>{
           {1, "BR-X"}, {2, "Seragam"}, {3, "250000"}, {4, "413"}, {5, "Pertahun"}})
    LvInsertItem(gFormBayarItemList, r, c, t, 0, 0);
  const Hwnd form = OpenArrears();
  Tick(gFormTunggakanList, 0);   // Les, settled: nothing owed, so nothing to insert
  Tick(gFormTunggakanList, 2);   // SPP
  ExpectMsgBox("Tagihan dengan nilai 0 atau kurang tidak dapat disisipkan..", "Info");
  Click(gFormTunggakanSisipButton);
  VerifySeams();
  EXPECT_FALSE(IsWindow(form));
  EXPECT_EQ(gFormTunggakanWindow, 0);
  EXPECT_EQ(ListRows(gFormBayarItemList), (Rows{{"1", "BR-X", "Seragam", "250000", "413", "Pertahun"},
                                                {"2", "BR-VIIA20240001", "SPP", "300000", "411", "Perbulan"}}));
  EXPECT_EQ(CtlGetText(gFormBayarWordsLabel), " lima ratus lima puluh  ribu ");
  for (Hwnd h : {gFormBayarAmountDisplay, gFormBayarTotalEdit, gFormBayarNetEdit, gFormBayarPaidEdit})
    EXPECT_EQ(CtlGetText(h), "550000");
  EXPECT_EQ(CtlGetText(gFormBayarDiscountEdit), "0");
  EXPECT_EQ(CtlGetText(gFormBayarChangeEdit), "0");
  EXPECT_EQ(WinGetFocus(), gFormBayarPaidEdit);

  // Again, with nothing ticked: the items stay, the totals are set from them all the same.
  CtlSetText(gFormBayarDiscountEdit, "5000");
  CtlSetText(gFormBayarPaidEdit, "1");
  OpenArrears();
  Click(gFormTunggakanSisipButton);
  EXPECT_EQ(LvGetItemCount(gFormBayarItemList), 2);
  EXPECT_EQ(CtlGetText(gFormBayarDiscountEdit), "0");
  EXPECT_EQ(CtlGetText(gFormBayarPaidEdit), "550000");

  // A fee already in the list is not charged twice; the other ticked fee goes in beside the refusal.
  OpenArrears();
  Tick(gFormTunggakanList, 2);   // SPP again
  Tick(gFormTunggakanList, 1);   // Buku
  ExpectMsgBox("Tagihan yang sudah ada di daftar pembayaran tidak disisipkan lagi..", "Info");
  Click(gFormTunggakanSisipButton);
  VerifySeams();
  EXPECT_EQ(ListRows(gFormBayarItemList), (Rows{{"1", "BR-X", "Seragam", "250000", "413", "Pertahun"},
                                                {"2", "BR-VIIA20240001", "SPP", "300000", "411", "Perbulan"},
                                                {"3", "BR-VIIA20240002", "Buku", "700000", "412", "Pertahun"}}));
  EXPECT_EQ(CtlGetText(gFormBayarTotalEdit), "1250000");
  EXPECT_EQ(CtlGetText(gFormBayarPaidEdit), "1250000");
}

TEST_F(ArrearsWindowTest, BatalAndEscCloseAndChangeNothing) {
  OpenStandIn();
  CtlSetText(gFormBayarTotalEdit, "7");
  Hwnd form = OpenArrears();
  Tick(gFormTunggakanList, 1);
  Click(gFormTunggakanBatalButton);
  EXPECT_FALSE(IsWindow(form));
  EXPECT_EQ(LvGetItemCount(gFormBayarItemList), 0);
  EXPECT_EQ(CtlGetText(gFormBayarTotalEdit), "7");

  form = OpenArrears();
  WinSendMessage(form, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);   // Esc
  EXPECT_FALSE(IsWindow(form));
  EXPECT_EQ(CtlGetText(gFormBayarTotalEdit), "7");
}

TEST_F(ArrearsWindowTest, ModalOverThePaymentWindowReturnsZero) {
  OpenStandIn();
  bool ran = false;
  OnModal([&](QWidget*) {
    ran = true;
    EXPECT_FALSE(WinIsWindowEnabled(gStandInWindow));
    EXPECT_EQ(LvGetItemCount(gFormTunggakanList), 3);
    Tick(gFormTunggakanList, 1);
    Click(gFormTunggakanSisipButton);
  });
  EXPECT_EQ(FORMTUNGGAKAN_Show(gStandInWindow, 1, 0), 0);
  EXPECT_TRUE(ran);
  EXPECT_TRUE(WinIsWindowEnabled(gStandInWindow));
  EXPECT_EQ(LvGetItemCount(gFormBayarItemList), 1);
  EXPECT_EQ(gFormTunggakanWindow, 0);
}

TEST_F(ArrearsWindowTest, ChangeAmountDoesNothingWithoutARowOrAnAmount) {
  OpenStandIn();
  OpenArrears();
  Click(gFormTunggakanChangeButton);        // no marked row: no chooser (an unscripted one fails the test)
  Mark(gFormTunggakanList, 0);              // Les owes 0
  Click(gFormTunggakanChangeButton);
  EXPECT_EQ(ListRows(gFormTunggakanList), kWorkingYear);
  EXPECT_EQ(CtlGetText(gFormTunggakanTotalLabel), "Jumlah Tunggakan : 1.000.000");
}

TEST_F(ArrearsWindowTest, NoStudentAndOddIdsListNothing) {
  OpenStandIn("");
  OpenArrears();
  EXPECT_EQ(LvGetItemCount(gFormTunggakanList), 0);
  EXPECT_EQ(CtlGetText(gFormTunggakanTotalLabel), "Jumlah Tunggakan : 0");
  WinDestroyWindow(gFormTunggakanWindow);

  // An apostrophe in the id stays inside the statements' literals: no SQL error, no other student's fees.
  CtlSetText(gFormBayarIdEdit, "12' or '1'='1");
  OpenArrears();
  EXPECT_EQ(LvGetItemCount(gFormTunggakanList), 0);
}

TEST_F(ArrearsWindowTest, FailingStatementsAreShownAndTheWindowGoesOn) {
  OpenStandIn();
  fintest::Exec(gDb, "DROP TABLE rekening; DROP TABLE siswakelas;");
  ExpectMsgBox("SQL error: no such table: rekening", "Info", IDOK, MB_OK);
  ExpectMsgBox("SQL error: no such table: siswakelas", "Info", IDOK, MB_OK);
  OpenArrears();
  EXPECT_EQ(CbGetCount(gFormTunggakanRekeningCombo), 0);
  EXPECT_EQ(LvGetItemCount(gFormTunggakanList), 0);
  EXPECT_EQ(CtlGetText(gFormTunggakanTotalLabel), "Jumlah Tunggakan : 0");
  VerifySeams();

  fintest::Exec(gDb, "CREATE TABLE siswakelas (Kode TEXT, IdSiswa TEXT, Kelas TEXT, Kategori TEXT, Jenjang TEXT,"
                     " Tapel TEXT); INSERT INTO siswakelas (IdSiswa, Kelas, Tapel) VALUES ('12','VII A','2024/2025');"
                     "DROP TABLE transaksi;");
  ExpectMsgBox("SQL error: no such table: transaksi", "Info", IDOK, MB_OK);
  Choose(gFormTunggakanTapelCombo, "2024/2025");
  EXPECT_EQ(LvGetItemCount(gFormTunggakanList), 0);
}

// ----- the bill -------------------------------------------------------------------------------------------------------

class ArrearsBillWindowTest : public ArrearsTest {
 protected:
  void SetUp() override {
    ArrearsTest::SetUp();
    OpenStandIn("12", "ANI RAHMA", "VII A");
    OpenArrears();
  }
  std::string ArchivePath() const { return ProgramFile("arsip/tunggakan_ANI_RAHMA_VII_A_2024-09-02.txt"); }
};

TEST_F(ArrearsBillWindowTest, CetakPrintsTheListAsItStandsNow) {
  // A chooser lowered a row: the printed total follows the list, the label keeps the loaded total.
  LvSetItemText(gFormTunggakanList, 2, kTunggakanColName, "SPP Bulan : Juli s/d Juli");
  LvSetItemText(gFormTunggakanList, 2, kTunggakanColAmount, "150000");
  Click(gFormTunggakanPrintButton);
  ASSERT_EQ(printed().Documents().size(), 1u);
  const auto& doc = printed().Documents()[0];
  EXPECT_EQ(doc.name, "Struk");
  EXPECT_TRUE(doc.ended);
  ASSERT_EQ(doc.pages.size(), 1u);
  const std::vector<std::string> texts = doc.pages[0].Texts();
  ASSERT_EQ(texts.size(), 16u);
  EXPECT_EQ(texts[7], "    1  Les                                         Rp.*********0");
  EXPECT_EQ(texts[8], "    2  Buku                                        Rp.****700000");
  EXPECT_EQ(texts[9], "    3  SPP Bulan : Juli s/d Juli                   Rp.****150000");
  EXPECT_EQ(texts[10], std::string(43, ' ') + "Total : Rp.****850000");
  EXPECT_EQ(texts[12], "    delapan ratus lima puluh  ribu ");
  EXPECT_EQ(texts[14], "   Dicetak tanggal Sep 02, 2024 pukul : 10:15:30");
  EXPECT_EQ(texts[15], "   Oleh Operator : kasir");
  const std::vector<std::string> lines = doc.pages[0].Lines();
  EXPECT_NE(lines[0].find("text (10,150) "), std::string::npos) << lines[0];
  EXPECT_NE(lines[0].find("\"Courier New\" 12pt #000000"), std::string::npos) << lines[0];
  EXPECT_NE(lines[15].find("text (10,2400) "), std::string::npos) << lines[15];
  EXPECT_EQ(CtlGetText(gFormTunggakanTotalLabel), "Jumlah Tunggakan : 1.000.000");
  EXPECT_TRUE(IsWindow(gFormTunggakanWindow));

  // Without a default printer nothing comes out and nothing is said.
  printed().settings().printers = {"Lain"};
  Click(gFormTunggakanPrintButton);
  EXPECT_EQ(printed().Documents().size(), 1u);
}

TEST_F(ArrearsBillWindowTest, WithoutAPrinterTheBillGoesToAPdfAndTheClerkIsToldWhere) {
  NoPrinter();
  const std::string pdf = WorkFile("cetak/Struk_20240902_101530.pdf");
  ExpectMsgBox("Tidak ada yang tercetak ke printer. Cetakan disimpan di " + pdf + "..", "Info", IDOK,
               MB_OK | MB_ICONINFORMATION);
  Click(gFormTunggakanPrintButton);
  VerifySeams();
  EXPECT_EQ(fintest::ReadFile(pdf).substr(0, 5), "%PDF-");
  EXPECT_TRUE(IsWindow(gFormTunggakanWindow));
}

TEST_F(ArrearsBillWindowTest, ArsipWritesTheFileBesideTheProgramAndConfirms) {
  std::filesystem::create_directory(ProgramFile("arsip"));
  LvSetItemText(gFormTunggakanList, 2, kTunggakanColAmount, "150000");   // a chooser's change: the total follows it
  ExpectMsgBox("File arsip tunggakan berhasil dibuat..", "Info", IDOK, MB_OK);
  Click(gFormTunggakanArchiveButton);
  EXPECT_EQ(fintest::ReadFile(ArchivePath()), fintest::ReadFile(kExpected + "arrears_window_archive.txt"));

  // The same student on the same day: overwritten and confirmed again.
  LvSetItemText(gFormTunggakanList, 0, kTunggakanColName, "Les Tambahan");
  ExpectMsgBox("File arsip tunggakan berhasil dibuat..", "Info", IDOK, MB_OK);
  Click(gFormTunggakanArchiveButton);
  EXPECT_NE(fintest::ReadFile(ArchivePath()).find("001 Les Tambahan"), std::string::npos);
  EXPECT_EQ(std::filesystem::directory_iterator(ProgramFile("arsip"))->path().filename(),
            "tunggakan_ANI_RAHMA_VII_A_2024-09-02.txt");
}

// A class written with "/" still gets its archive (the name is made safe), and an amount up to 999.999.999.999 comes
// out whole in the archive and in the messaging text.
TEST_F(ArrearsBillWindowTest, ArsipOfAClassWithASlashAndWideAmountsIsWrittenWhole) {
  std::filesystem::create_directory(ProgramFile("arsip"));
  CtlSetText(gFormBayarKelasEdit, "VII/A");
  fintest::Exec(gDb, "UPDATE detail_account SET jml_pembayaran=999999999999 WHERE id_account='BR-VIIA20240002' AND "
                     "id_siswa='12'");
  FORMTUNGGAKAN_LoadArrears();
  ASSERT_EQ(CtlGetText(gFormTunggakanTotalLabel), "Jumlah Tunggakan : 999.999.999.999");
  ExpectMsgBox("File arsip tunggakan berhasil dibuat..", "Info", IDOK, MB_OK);
  Click(gFormTunggakanArchiveButton);
  VerifySeams();
  ASSERT_TRUE(std::filesystem::exists(ArchivePath()));   // tunggakan_ANI_RAHMA_VII_A_2024-09-02.txt
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(ProgramFile("arsip")),
                          std::filesystem::directory_iterator()),
            1);
  const std::string text = fintest::ReadFile(ArchivePath());
  EXPECT_NE(text.find("\r\nKelas: VII/A\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n002 Buku                 Rp.999.999.699.999\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\r\nTotal        :           Rp.999.999.999.999\r\n"), std::string::npos) << text;

  Click(gFormTunggakanCopyButton);
  ASSERT_TRUE(clipboard().has_value());
  EXPECT_NE(clipboard()->find("\rBuku        Rp.999.999.699.999\r"), std::string::npos) << *clipboard();
  EXPECT_NE(clipboard()->find("\rTotal      :Rp.999.999.999.999```"), std::string::npos) << *clipboard();
}

TEST_F(ArrearsBillWindowTest, ArsipWithoutTheFolderOrOverAReadOnlyFileSaysNothing) {
  Click(gFormTunggakanArchiveButton);   // no "arsip" folder: nothing written, nothing said
  EXPECT_FALSE(std::filesystem::exists(ProgramFile("arsip")));

  // An older file that cannot be overwritten does not count as written.
  std::filesystem::create_directory(ProgramFile("arsip"));
  fintest::WriteFile(ArchivePath(), "lama");
  std::filesystem::permissions(ArchivePath(), std::filesystem::perms::owner_read,
                               std::filesystem::perm_options::replace);
  if (!QFile(QString::fromStdString(ArchivePath())).open(QIODevice::WriteOnly)) {   // not running as root
    Click(gFormTunggakanArchiveButton);
    EXPECT_EQ(fintest::ReadFile(ArchivePath()), "lama");
  }
  std::filesystem::permissions(ArchivePath(), std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::replace);
}

// An instalment typed in the chooser lowers the Buku row: the file and the messaging text show the total of the rows
// they print (0 + 250.000 + 300.000), as the printed bill does, not the total the list was loaded with.
TEST_F(ArrearsBillWindowTest, ArsipAndCopyToWaShowTheTotalOfTheRowsAfterAnInstalment) {
  std::filesystem::create_directory(ProgramFile("arsip"));
  Mark(gFormTunggakanList, 1);   // Buku, 700000 owed
  ClickModal(gFormTunggakanChangeButton, [&](Hwnd chooser) {
    EXPECT_EQ(chooser, gFormRekBayar3Window);
    fintest::Type(gFormRekBayar3CashEdit, "250.000");
    Click(gFormRekBayar3SisipButton);
  });
  ASSERT_EQ(LvGetItemText(gFormTunggakanList, 1, kTunggakanColAmount), "250000");
  EXPECT_EQ(CtlGetText(gFormTunggakanTotalLabel), "Jumlah Tunggakan : 1.000.000");   // as loaded
  struct Output {
    const char* name;
    std::function<std::string()> make;
    std::string rows, total;
  } outputs[] = {
      {"Arsip",
       [&] {
         ExpectMsgBox("File arsip tunggakan berhasil dibuat..", "Info", IDOK, MB_OK);
         Click(gFormTunggakanArchiveButton);
         return fintest::ReadFile(ArchivePath());
       },
       "Rp.*********0\r\n002 Cicilan Buku         Rp.***250.000\r\n003 SPP                  Rp.***300.000\r\n",
       "\r\nTotal        :           Rp.***550.000\r\n"},
      {"Copy to WA",
       [&] {
         Click(gFormTunggakanCopyButton);
         return clipboard().value_or("");
       },
       "Rp.********0\rCicilan BukuRp.**250.000\rSPP         Rp.**300.000\r", "\rTotal      :Rp.**550.000```"},
  };
  for (const Output& o : outputs) {
    SCOPED_TRACE(o.name);
    const std::string text = o.make();
    VerifySeams();
    EXPECT_NE(text.find(o.rows), std::string::npos) << text;
    EXPECT_NE(text.find(o.total), std::string::npos) << text;
    EXPECT_EQ(text.find("1.000.000"), std::string::npos) << text;
  }
}

TEST_F(ArrearsBillWindowTest, CopyToWaPutsTheMessagingTextOnTheClipboard) {
  SetClipboard("lama");
  Click(gFormTunggakanCopyButton);
  EXPECT_EQ(clipboard(), fintest::ReadFile(kExpected + "arrears_window_chat.txt"));
  EXPECT_TRUE(msgBoxes().empty());
}

// ----- through the real payment window ----------------------------------------------------------------------------------

class ArrearsFromPaymentWindowTest : public ArrearsTest {
 protected:
  void SetUp() override {
    ArrearsTest::SetUp();
    ASSERT_NE(FORMBAYAR_Show(0, 0, 0), 0);
    ASSERT_TRUE(IsWindow(gFormBayarWindow));
    CtlSetText(gFormBayarIdEdit, "12");   // the payment window loads the student
    ASSERT_EQ(CtlGetText(gFormBayarNamaEdit), "ANI RAHMA");
  }
};

TEST_F(ArrearsFromPaymentWindowTest, TheTickedFeesBecomeThePaymentsItems) {
  ClickModal(gFormBayarArrearsButton, [&](Hwnd form) {
    EXPECT_EQ(form, gFormTunggakanWindow);
    EXPECT_FALSE(WinIsWindowEnabled(gFormBayarWindow));
    EXPECT_EQ(ListRows(gFormTunggakanList), kWorkingYear);
    Tick(gFormTunggakanList, 1);
    Tick(gFormTunggakanList, 2);
    Click(gFormTunggakanSisipButton);
  });
  EXPECT_EQ(gFormTunggakanWindow, 0);
  EXPECT_TRUE(WinIsWindowEnabled(gFormBayarWindow));
  EXPECT_EQ(ListRows(gFormBayarItemList), (Rows{{"1", "BR-VIIA20240002", "Buku", "700000", "412", "Pertahun"},
                                                {"2", "BR-VIIA20240001", "SPP", "300000", "411", "Perbulan"}}));
  EXPECT_EQ(CtlGetText(gFormBayarTotalEdit), "1000000");
  EXPECT_EQ(CtlGetText(gFormBayarDiscountEdit), "0");
  EXPECT_EQ(CtlGetText(gFormBayarNetEdit), "1000000");
  EXPECT_EQ(CtlGetText(gFormBayarPaidEdit), "1000000");
  EXPECT_EQ(CtlGetText(gFormBayarChangeEdit), "0");
  EXPECT_EQ(CtlGetText(gFormBayarAmountDisplay), "1000000");
  EXPECT_EQ(CtlGetText(gFormBayarWordsLabel), " satu juta ");
  EXPECT_EQ(WinGetFocus(), gFormBayarPaidEdit);
}

TEST_F(ArrearsFromPaymentWindowTest, MonthsChosenForAFeeReachThePaymentWithTheirName) {
  ClickModal(gFormBayarArrearsButton, [&](Hwnd) {
    Mark(gFormTunggakanList, 2);   // SPP
    ClickModal(gFormTunggakanChangeButton, [&](Hwnd chooser) {
      EXPECT_EQ(chooser, gFormRekBayar1Window);
      Tick(gFormRekBayar1List, 1);   // Agustus
      Tick(gFormRekBayar1List, 2);   // September
      Click(gFormRekBayar1SisipButton);
    });
    EXPECT_EQ(LvGetItemText(gFormTunggakanList, 2, 2), "SPP Bulan : Agustus s/d September");
    EXPECT_EQ(LvGetItemText(gFormTunggakanList, 2, 3), "300000");
    Tick(gFormTunggakanList, 2);
    Click(gFormTunggakanSisipButton);
  });
  EXPECT_EQ(ListRows(gFormBayarItemList),
            (Rows{{"1", "BR-VIIA20240001", "SPP Bulan : Agustus s/d September", "300000", "411", "Perbulan"}}));
  EXPECT_EQ(CtlGetText(gFormBayarTotalEdit), "300000");
}

// A part payment typed as money is stored as that money, never more than the fee still owes (the chooser refuses it
// and stays open for a correction), and the same fee cannot be charged twice on one receipt.
TEST_F(ArrearsFromPaymentWindowTest, AnInstalmentTypedAsMoneyIsSavedAsThatAmountOnce) {
  auto sisipBukuAs = [&](const std::vector<std::string>& typed) {
    ClickModal(gFormBayarArrearsButton, [&](Hwnd) {
      Mark(gFormTunggakanList, 1);   // Buku, yearly, 700000 owed
      ClickModal(gFormTunggakanChangeButton, [&](Hwnd chooser) {
        EXPECT_EQ(chooser, gFormRekBayar3Window);
        for (const std::string& t : typed) {
          fintest::Type(gFormRekBayar3CashEdit, t);
          Click(gFormRekBayar3SisipButton);
        }
        EXPECT_FALSE(IsWindow(chooser));
      });
      Tick(gFormTunggakanList, 1);
      Click(gFormTunggakanSisipButton);
    });
  };
  // 1,500,000 against 700,000 still owed: refused, the chooser open; the cashier corrects it.
  ExpectMsgBox("Jumlah pembayaran melebihi sisa tagihan, sisa tagihan : 700.000..", "Info");
  sisipBukuAs({"1.500.000", "Rp 500.000"});
  VerifySeams();
  ExpectMsgBox("Tagihan yang sudah ada di daftar pembayaran tidak disisipkan lagi..", "Info");
  sisipBukuAs({"Rp 75.000"});   // the same fee again: refused
  VerifySeams();
  EXPECT_EQ(ListRows(gFormBayarItemList),
            (Rows{{"1", "BR-VIIA20240002", "Cicilan Buku", "500000", "412", "Pertahun"}}));
  EXPECT_EQ(CtlGetText(gFormBayarTotalEdit), "500000");
  ExpectMsgBox("Pembayaran berhasil disimpan..", "Pembayaran..");
  FORMBAYAR_SavePayment();
  VerifySeams();
  EXPECT_EQ(fintest::Query(gDb, "select uraian, masuk from transaksi where acctid='BR-VIIA20240002' and "
                                "uraian like 'Cicilan%'"),
            (Rows{{"Cicilan Buku", "500000"}}));
  // The fee now owes what is left of it, never less than nothing.
  EXPECT_EQ(fintest::Query(gDb, "select sum(masuk) from transaksi where acctid='BR-VIIA20240002' and siswaid='12'"),
            (Rows{{"800000"}}));
}

TEST_F(ArrearsFromPaymentWindowTest, F9OpensItAndBatalLeavesThePaymentAsItWas) {
  bool ran = false;
  OnModal([&](QWidget*) {
    ran = true;
    EXPECT_TRUE(IsWindow(gFormTunggakanWindow));
    Click(gFormTunggakanBatalButton);
  });
  WinSendMessage(gFormBayarWindow, WM_COMMAND, MAKEWPARAM(IDM_FORMBAYAR_TUNGGAKAN, 1), 0);
  EXPECT_TRUE(ran);
  EXPECT_EQ(LvGetItemCount(gFormBayarItemList), 0);
  EXPECT_EQ(CtlGetText(gFormBayarTotalEdit), "0");
}

}  // namespace
