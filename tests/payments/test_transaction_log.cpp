// The transaction log record of a saved payment: amount forms, the item texts of each layout, the whole line, the
// file, and the record the payment window leaves after a save when "CatatTransaksi" exists.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "payments/transaction_log.h"
#include "tests/payments/payment_window_fixture.h"

namespace {

TEST(TransactionLog, AmountForms) {
  struct Case {
    long long amount;
    const char *roll, *sheet;
  };
  const Case cases[] = {
      {0, "*********0", "*********0"},
      {1500000, "*1.500.000", "*1.500.000"},
      {99999999, "99.999.999", "99.999.999"},
      {987654321, "987.654.321", "987.654.321"},   // never cut: the roll grows like the sheet
      {999999999999LL, "999.999.999.999", "999.999.999.999"},
      {-750000, "**-750.000", "**-750.000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.amount);
    EXPECT_EQ(TxLogRollAmount(c.amount), c.roll);
    EXPECT_EQ(TxLogSheetAmount(c.amount), c.sheet);
  }
}

std::string Name(int length) {
  std::string s;
  for (int i = 0; i < length; ++i) s += static_cast<char>('a' + i % 26);
  return s;
}

TEST(TransactionLog, ItemTextOfTheRollSplitsAfterTwentyOneCharacters) {
  const std::string amount = "Rp.***150.000";
  struct Case {
    int length;
    std::string text;
  };
  const std::string n42 = Name(42), n43 = Name(43), n70 = Name(70);
  const std::vector<Case> cases = {
      {21, "007 " + Name(21) + amount},
      {22, "007 " + Name(21) + "|    " + "v" + std::string(20, ' ') + amount},
      {42, "007 " + Name(21) + "|    " + n42.substr(21) + amount},
      {43, "007 " + Name(21) + "|    " + n43.substr(21, 21) + "|    " + "q" + std::string(20, ' ') + amount},
      {70, "007 " + Name(21) + "|    " + n70.substr(21, 21) + "|    " + n70.substr(42) + amount},   // widens
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    EXPECT_EQ(TxLogItemText(1, {"7", Name(c.length), 150000}, 1, "September", "2024/2025"), c.text);
  }
  // Characters, not bytes: a name of 21 letters beyond ASCII stays on one line.
  std::string accented;
  for (int i = 0; i < 21; ++i) accented += "é";
  EXPECT_EQ(TxLogItemText(1, {"12", accented, 5000}, 1, "", ""), "012 " + accented + "Rp.*****5.000");
}

TEST(TransactionLog, ItemTextOfTheSheetsAndNoneForTheOthers) {
  const TxLogItem item{"2", "Uang Buku", 450000};
  EXPECT_EQ(TxLogItemText(2, item, 1, "September", "2024/2025"),
            "   2  Uang Buku" + std::string(46, ' ') + "Rp.***450.000");
  EXPECT_EQ(TxLogItemText(3, {"9", "SPP Bulan : Juli s/d Agustus", 300000}, 1, "September", "2024/2025"),
            "   1  SPP Bulan : Juli s/d Agustus  September    2024-2025   Rp.***300.000");
  // The KWITANSI cuts the name at 38 characters and the item number is the position.
  EXPECT_EQ(TxLogItemText(3, {"9", Name(40), 5}, 12, "Mei", "2024/2025"),
            "   12 " + Name(38) + "Mei          2024-2025   Rp.*********5");
  for (int layout : {0, 4, 5, -1}) EXPECT_EQ(TxLogItemText(layout, item, 1, "September", "2024/2025"), "");
}

TxLogRecord Record(int layout) {
  TxLogRecord r;
  r.layout = layout;
  r.name = "ANI RAHMA";
  r.kelas = "VII A";
  r.studentId = "12";
  r.today = "2024-09-02";
  r.tapel = "2024/2025";
  r.items = {{"1", "SPP Bulan : Juli s/d Agustus", 300000}, {"2", "Uang Buku", 450000}};
  r.total = 750000;
  r.discount = 5000;
  r.net = 745000;
  r.paid = 800000;
  r.savingsUsed = 0;
  r.change = 55000;
  r.paidText = "800000";
  r.printDate = "02-09-2024";
  r.monthName = "September";
  r.operatorName = "kasir";
  r.clock = "10:15:30";
  r.printerKind = 0;
  return r;
}

TEST(TransactionLog, TheLineOfEachLayout) {
  const std::string header =
      "|ANI RAHMA|VII A|20240902|Rp.***750.000|Rp.*****5.000|Rp.***745.000|Rp.***800.000|Rp*********0|"
      "Rp.****55.000|02-09-2024 By : kasir|0|12|# kasir / 10:15:30|800000";
  // The 7.9 cm roll: the record starts directly with "<>", then the layout 0.
  EXPECT_EQ(TxLogLine(Record(0)), "<>0" + header);
  EXPECT_EQ(TxLogLine(Record(4)), "<>4" + header);
  EXPECT_EQ(TxLogLine(Record(5)), "<>5" + header);
  // The half sheet: two items, each ended by ";".
  EXPECT_EQ(TxLogLine(Record(2)), "   1  SPP Bulan : Juli s/d Agustus" + std::string(27, ' ') + "Rp.***300.000;" +
                                      "   2  Uang Buku" + std::string(46, ' ') + "Rp.***450.000;<>2" + header);
  EXPECT_EQ(TxLogLine(Record(1)), "001 SPP Bulan : Juli s/d |    Agustus              Rp.***300.000;"
                                  "002 Uang Buku            Rp.***450.000;<>1" + header);
}

TEST(TransactionLog, FileNameKeepsBlanksAndStaysInItsFolder) {
  EXPECT_EQ(TxLogPath("/p", "ANI RAHMA", "VII A", "2024-09-02", "10:15:30"),
            "/p/CatatTransaksi/ANI RAHMA_VII A_2024-09-02_101530.txt");
  EXPECT_EQ(TxLogPath("/p", "A/B", "X\\Y", "2024-09-02", "10:15:30"),
            "/p/CatatTransaksi/A_B_X_Y_2024-09-02_101530.txt");
}

class TransactionLogWindow : public paytest::PaymentWindowTest {};

TEST_F(TransactionLogWindow, WrittenOnlyIntoAnExistingFolder) {
  const std::string path = TxLogPath(programDir(), "ANI RAHMA", "VII A", "2024-09-02", "10:15:30");
  EXPECT_FALSE(TxLogWrite(path, "x"));
  EXPECT_FALSE(std::filesystem::exists(ProgramFile("CatatTransaksi")));
  std::filesystem::create_directories(ProgramFile("CatatTransaksi"));
  EXPECT_TRUE(TxLogWrite(path, "x"));
  EXPECT_TRUE(TxLogWrite(path, "y|z"));   // replaced
  EXPECT_EQ(fintest::ReadFile(path), "y|z\r\n");
}

TEST_F(TransactionLogWindow, ASaveLeavesItsRecord) {
  std::filesystem::create_directories(ProgramFile("CatatTransaksi"));
  Open();
  Load("12");
  Insert(ThreeItems());
  Type(gFormBayarDiscountEdit, "5000");
  Click(gFormBayarSavingsCheck);
  ExpectMsgBox("Pembayaran berhasil disimpan..", "Pembayaran..", IDOK);
  Key(Qt::Key_F12);
  const std::string path = ProgramFile("CatatTransaksi/ANI RAHMA_VII A_2024-09-02_101530.txt");
  ASSERT_TRUE(std::filesystem::exists(path));
  EXPECT_EQ(fintest::ReadFile(path),
            fintest::ReadFile(std::string(FIN_SOURCE_DIR) + "/tests/payments/expected/catat_transaksi_half_sheet.txt"));
  EXPECT_EQ(gTargetListView, gFormBayarItemList);
}

TEST_F(TransactionLogWindow, NoFolderNoRecordAndTheSaveGoesOn) {
  Open();
  Load("1");
  Insert(ThreeItems());
  ExpectMsgBox("Pembayaran berhasil disimpan..", "Pembayaran..", IDOK);
  Key(Qt::Key_F12);
  EXPECT_EQ(gPaymentSaved, 1);
  EXPECT_FALSE(std::filesystem::exists(ProgramFile("CatatTransaksi")));
}

}  // namespace
