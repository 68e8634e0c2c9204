// The month chooser FORMREKBAYAR1: which months the paid sum covers (walking the billing row read by position, juli
// being its fifth value), what "Sisip" writes back into the arrears row, and the window opened from the arrears
// window for a monthly fee.
#include <array>
#include <memory>

#include "payments/arrears_fixture.h"
#include "support/read_denied.h"

namespace {

using arrearstest::ArrearsTest;
using arrearstest::Rows;

std::array<std::string, 12> Months(std::initializer_list<const char*> m) {
  std::array<std::string, 12> a;
  int i = 0;
  for (const char* v : m) a[i++] = v;
  return a;
}
const std::array<std::string, 12> kTwelve150 = Months({"150000", "150000", "150000", "150000", "150000", "150000",
                                                       "150000", "150000", "150000", "150000", "150000", "150000"});

// "0"/"Lunas" for the first `paid` months, the billed amounts after them.
std::string Shown(const std::array<MonthChooserRow, 12>& rows) {
  std::string s;
  for (const MonthChooserRow& r : rows) s += (r.paid ? "L" : r.amount) + std::string(" ");
  return s;
}

// "L" for a paid month, else its amount; each followed by a blank.
std::string Expect(int paidMonths, const std::string& rest, int restCount) {
  std::string s;
  for (int i = 0; i < paidMonths; ++i) s += "L ";
  for (int i = 0; i < restCount; ++i) s += rest + " ";
  return s;
}

TEST(MonthChooserRule, PaidMonthsByTheRemainder) {
  struct Case {
    const char* what;
    std::array<std::string, 12> months;
    long long paid;
    std::string shown;
    long long left;
  } cases[] = {
      {"no payment", kTwelve150, 0, Expect(0, "150000", 12), 0},
      {"three months", kTwelve150, 450000, Expect(3, "150000", 9), 0},
      {"two and a half months: three", kTwelve150, 375000, Expect(3, "150000", 9), -75000},
      {"above the year", kTwelve150, 2000000, Expect(12, "", 0), 200000},
      {"a refund below 0", kTwelve150, -5000, Expect(0, "150000", 12), -5000},
      {"months of their own", Months({"100", "200", "300", "400", "500", "600", "700", "800", "900", "1000", "1100",
                                      "1200"}),
       250, "L L 300 400 500 600 700 800 900 1000 1100 1200 ", -50},
      {"months without amount", Months({"", "", "5", "x", "", "", "", "", "", "", "", ""}), 3,
       "L L L x " + std::string(8, ' '), -2},
  };
  for (const Case& c : cases) {
    long long remaining = c.paid;
    std::array<MonthChooserRow, 12> rows;
    FinMonthChooserWalk(c.months, remaining, rows);
    EXPECT_EQ(Shown(rows), c.shown) << c.what;
    EXPECT_EQ(remaining, c.left) << c.what;
    for (const MonthChooserRow& r : rows) {
      if (r.paid) {
        EXPECT_EQ(r.amount, "0") << c.what;
      }
    }
  }
}

TEST(MonthChooserRule, SisipSumsTheTickedMonthsAbove0) {
  const std::vector<std::string> names = {"Juli", "Agustus", "September", "Oktober", "Nopember", "Desember",
                                          "Januari", "Februari", "Maret", "April", "Mei", "Juni"};
  std::vector<std::string> amounts = {"0", "150000", "150000", "150000", "150000", "150000",
                                      "150000", "150000", "150000", "150000", "150000", "150000"};
  auto ticks = [](std::initializer_list<int> on) {
    std::vector<bool> t(12, false);
    for (int i : on) t[i] = true;
    return t;
  };
  MonthChoice c = FinMonthChooserChoose(amounts, ticks({1, 3}), names);   // Agustus and Oktober
  EXPECT_EQ(c.sum, 300000);
  EXPECT_EQ(c.first, "Agustus");
  EXPECT_EQ(c.last, "Oktober");
  EXPECT_EQ(c.months, (1 << 1) | (1 << 3));   // the months themselves, for the save
  EXPECT_EQ(FinMonthChooserName("SPP", c), "SPP Bulan : Agustus s/d Oktober");

  c = FinMonthChooserChoose(amounts, ticks({0}), names);   // only the paid month
  EXPECT_EQ(c.sum, 0);
  EXPECT_EQ(c.months, 0);
  EXPECT_EQ(FinMonthChooserName("SPP", c), "SPP Bulan :  s/d ");
  c = FinMonthChooserChoose(amounts, ticks({}), names);
  EXPECT_EQ(FinMonthChooserName("SPP", c), "SPP Bulan :  s/d ");

  amounts[11] = "2.5";
  amounts[10] = "0.5";
  c = FinMonthChooserChoose(amounts, ticks({0, 10, 11}), names);
  EXPECT_EQ(c.sum, 2);   // 0.5 -> 0, + 2.5 -> 2 (halves to even)
  EXPECT_EQ(c.first, "Mei");
  EXPECT_EQ(c.last, "Juni");
  EXPECT_EQ(c.months, (1 << 10) | (1 << 11));
}

TEST(MonthChooserRule, Statements) {
  EXPECT_EQ(FinMonthChooserPaidSql("12", "BR-1"),
            "SELECT sum(Masuk) as jm FROM transaksi where SiswaID='12' and AcctId='BR-1'");
  EXPECT_EQ(FinMonthChooserBillingSql("O'Neil", "BR-'1"),
            "SELECT * FROM detail_account WHERE id_account='BR-''1' and id_siswa='O''Neil'");
}

// ----- the window -------------------------------------------------------------------------------------------------------

class MonthChooserTest : public ArrearsTest {
 protected:
  void SetUp() override {
    ArrearsTest::SetUp();
    OpenStandIn();
    OpenArrears();
    Mark(gFormTunggakanList, 2);   // SPP: 150000 a month, 150000 paid
  }
  // Opens the chooser for the marked row ("Ubah Nilai Pembayaran"); `drive` runs inside it.
  void OpenChooser(std::function<void()> drive) {
    ClickModal(gFormTunggakanChangeButton, [&](Hwnd form) {
      EXPECT_EQ(form, gFormRekBayar1Window);
      drive();
      if (IsWindow(form)) FrmClose(form, 0);
    });
  }
  static std::vector<std::string> Column(int col) {
    std::vector<std::string> v;
    for (int r = 0; r < LvGetItemCount(gFormRekBayar1List); ++r) v.push_back(LvGetItemText(gFormRekBayar1List, r, col));
    return v;
  }
};

TEST_F(MonthChooserTest, ListsTheMonthsWithThePaidOnesMarked) {
  OpenChooser([&] {
    EXPECT_EQ(WinGetWindowText(gFormRekBayar1Window), "Pembayaran Per Bulan");
    EXPECT_EQ(WinGetClassName(gFormRekBayar1Window), "FORM_FINANCE_FORMREKBAYAR1_CLASS");
    EXPECT_FALSE(WinIsWindowEnabled(gFormTunggakanWindow));
    EXPECT_TRUE(WinWidget(gFormRekBayar1Window)->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(WinGetFocus(), gFormRekBayar1BatalButton);
    EXPECT_EQ(CtlGetText(gFormRekBayar1BatalButton), "Batal");
    EXPECT_EQ(CtlGetText(gFormRekBayar1SisipButton), "Sisip");
    EXPECT_EQ(Captions(gFormRekBayar1List), (std::vector<std::string>{"No.", "Bulan", "Jumlah", "Keterangan"}));
    EXPECT_EQ(LvGetColumnAlign(gFormRekBayar1List, 2), LVCFMT_RIGHT);
    EXPECT_EQ(LvGetColumnAlign(gFormRekBayar1List, 3), LVCFMT_CENTER);
    EXPECT_EQ(LvGetColumnWidth(gFormRekBayar1List, 1), 100);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"}));
    EXPECT_EQ(Column(1), (std::vector<std::string>{"Juli", "Agustus", "September", "Oktober", "Nopember", "Desember",
                                                   "Januari", "Februari", "Maret", "April", "Mei", "Juni"}));
    std::vector<std::string> amounts(12, "150000");
    amounts[0] = "0";
    EXPECT_EQ(Column(2), amounts);
    std::vector<std::string> notes(12, "");
    notes[0] = "Lunas";
    EXPECT_EQ(Column(3), notes);
    for (int r = 0; r < 12; ++r) EXPECT_EQ(LvGetCheck(gFormRekBayar1List, r), -2);
  });
  EXPECT_TRUE(WinIsWindowEnabled(gFormTunggakanWindow));
}

TEST_F(MonthChooserTest, ReadsTheMonthsByPositionJuliBeingTheFifthValue) {
  // The fourth column holds a number of its own; the months differ: a paid sum of 150000 covers July (100000),
  // August (20000) and September (30000, reaching 0), and October on shows what is billed.
  fintest::Exec(gDb, "UPDATE detail_account SET catatan='777', juli=100000, agustus=20000, september=30000,"
                     " oktober=40000, nopember=50000, desember=60000, januari=70000, februari=80000, maret=90000,"
                     " april=110000, mei=120000, juni=130000 WHERE id_account='BR-VIIA20240001' AND id_siswa='12'");
  OpenChooser([&] {
    EXPECT_EQ(Column(2), (std::vector<std::string>{"0", "0", "0", "40000", "50000", "60000", "70000", "80000",
                                                   "90000", "110000", "120000", "130000"}));
    EXPECT_EQ(Column(3), (std::vector<std::string>{"Lunas", "Lunas", "Lunas", "", "", "", "", "", "", "", "", ""}));
  });
  // A payment that covers July only in part marks it paid all the same; the rest is not carried on.
  fintest::Exec(gDb, "UPDATE transaksi SET masuk=100001 WHERE acctid='BR-VIIA20240001'");
  OpenChooser([&] { EXPECT_EQ(Column(3)[1], "Lunas"); });
  fintest::Exec(gDb, "UPDATE transaksi SET masuk=99999 WHERE acctid='BR-VIIA20240001'");
  OpenChooser([&] {
    EXPECT_EQ(Column(3)[0], "Lunas");
    EXPECT_EQ(Column(2)[1], "20000");
  });
}

TEST_F(MonthChooserTest, SisipWritesTheTickedMonthsIntoTheArrearsRow) {
  OpenChooser([&] {
    Tick(gFormRekBayar1List, 0);   // Juli, paid: does not count
    Tick(gFormRekBayar1List, 1);   // Agustus
    Tick(gFormRekBayar1List, 3);   // Oktober
    Click(gFormRekBayar1SisipButton);
    EXPECT_FALSE(IsWindow(gFormRekBayar1Window));
  });
  EXPECT_EQ(LvGetItemText(gFormTunggakanList, 2, 2), "SPP Bulan : Agustus s/d Oktober");
  EXPECT_EQ(LvGetItemText(gFormTunggakanList, 2, 3), "300000");
  EXPECT_EQ(CtlGetText(gFormTunggakanTotalLabel), "Jumlah Tunggakan : 1.000.000");   // the loaded total stays
  EXPECT_EQ(LvGetCheck(gFormTunggakanList, 2), -2);

  // Again on the same row: a second range behind the first.
  OpenChooser([&] {
    Tick(gFormRekBayar1List, 11);
    Click(gFormRekBayar1SisipButton);
  });
  EXPECT_EQ(LvGetItemText(gFormTunggakanList, 2, 2), "SPP Bulan : Agustus s/d Oktober Bulan : Juni s/d Juni");
  EXPECT_EQ(LvGetItemText(gFormTunggakanList, 2, 3), "150000");
}

TEST_F(MonthChooserTest, NothingCountingGivesEmptyMonthNamesAndZero) {
  OpenChooser([&] {
    Tick(gFormRekBayar1List, 0);   // only the paid month
    Click(gFormRekBayar1SisipButton);
  });
  EXPECT_EQ(LvGetItemText(gFormTunggakanList, 2, 2), "SPP Bulan :  s/d ");
  EXPECT_EQ(LvGetItemText(gFormTunggakanList, 2, 3), "0");
}

TEST_F(MonthChooserTest, BatalEscAndTheCloseBoxChangeNothing) {
  OpenChooser([&] {
    Tick(gFormRekBayar1List, 2);
    Click(gFormRekBayar1BatalButton);
    EXPECT_FALSE(IsWindow(gFormRekBayar1Window));
  });
  OpenChooser([&] { WinSendMessage(gFormRekBayar1Window, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0); });
  OpenChooser([&] { WinSendMessage(gFormRekBayar1Window, WM_CLOSE, 0, 0); });
  EXPECT_EQ(ListRows(gFormTunggakanList), (Rows{{"1", "BR-VIIA20240003", "Les", "0", "Perbulan", "411", "0", "600000"},
                                                {"2", "BR-VIIA20240002", "Buku", "700000", "Pertahun", "412", "0",
                                                 "1000000"},
                                                {"3", "BR-VIIA20240001", "SPP", "300000", "Perbulan", "411", "0",
                                                 "1800000"}}));
}

TEST_F(MonthChooserTest, WithoutBillingRowOrPaidSumNothingIsPaid) {
  // The paid sum cannot be read (a missing table, a read refused): no month is known to be open, so none can be
  // paid - not July, which the student has paid already.
  struct Failure {
    const char* name;
    std::function<std::unique_ptr<fintest::ReadDenied>()> make;
    std::string message;
  } failures[] = {
      {"the paid amounts unreadable", [] { return std::make_unique<fintest::ReadDenied>(gDb, "transaksi", "masuk"); },
       "SQL error: access to transaksi.masuk is prohibited"},
      {"no table (it comes back below)",
       [] {
         fintest::Exec(gDb, "ALTER TABLE transaksi RENAME TO transaksi_lama");
         return nullptr;
       },
       "SQL error: no such table: transaksi"},
  };
  for (const Failure& f : failures) {
    SCOPED_TRACE(f.name);
    const std::string before = LvGetItemText(gFormTunggakanList, 2, 3);
    {
      auto denied = f.make();
      ExpectMsgBox(f.message, "Info", IDOK, MB_OK);
      OpenChooser([&] {
        EXPECT_EQ(Column(2), std::vector<std::string>(12, "0"));
        EXPECT_EQ(Column(3), std::vector<std::string>(12, ""));
        for (int r = 0; r < 12; ++r) Tick(gFormRekBayar1List, r);
        Click(gFormRekBayar1SisipButton);
      });
      VerifySeams();
    }
    EXPECT_EQ(LvGetItemText(gFormTunggakanList, 2, 3), "0");   // nothing to pay
    LvSetItemText(gFormTunggakanList, 2, 3, before);
    LvSetItemText(gFormTunggakanList, 2, 2, "SPP");
  }
  fintest::Exec(gDb, "ALTER TABLE transaksi_lama RENAME TO transaksi;"
                     "DELETE FROM detail_account WHERE id_account='BR-VIIA20240001' AND id_siswa='12'");
  OpenChooser([&] {
    EXPECT_EQ(Column(2), std::vector<std::string>(12, "0"));
    EXPECT_EQ(Column(3), std::vector<std::string>(12, ""));
    Tick(gFormRekBayar1List, 4);
    Click(gFormRekBayar1SisipButton);
  });
  EXPECT_EQ(LvGetItemText(gFormTunggakanList, 2, 3), "0");
}

}  // namespace
