// The instalment chooser FORMREKBAYAR3: the ten numbered instalments ("Angsuran") with the paid ones found by the word
// in their description, the free amounts ("Cicilan"), what "Sisip" writes back into the arrears row, and the window
// opened from the arrears window for a yearly fee.

#include "payments/arrears_fixture.h"
#include "payments/chooser_host.h"
#include "payments/payment_save.h"

namespace {

using arrearstest::ArrearsTest;
using arrearstest::Rows;

Rows AsRows(const std::vector<InstalmentRow>& rows) {
  Rows out;
  for (const InstalmentRow& r : rows) out.push_back({r.number, r.date, r.label, r.amount});
  return out;
}

Rows OpenRows(int from, const std::string& amount) {
  Rows out;
  for (int k = from; k <= 10; ++k) out.push_back({std::to_string(k), "-", "Angs-" + std::to_string(k), amount});
  return out;
}

Rows Concat(Rows a, const Rows& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(InstalmentRule, TheInstalmentAmountIsATenthOfTheYear) {
  EXPECT_EQ(FinInstalmentAmount("1000000"), 100000);
  EXPECT_EQ(FinInstalmentAmount("1000005"), 100000);   // 100000.5: halves to even
  EXPECT_EQ(FinInstalmentAmount("1000015"), 100002);   // 100001.5
  EXPECT_EQ(FinInstalmentAmount(""), 0);
  EXPECT_EQ(FinInstalmentAmount("4"), 0);

  EXPECT_EQ(FinInstalmentTenthText("700000"), "70000");
  EXPECT_EQ(FinInstalmentTenthText("1234567"), "123456.7");
  EXPECT_EQ(FinInstalmentTenthText("15"), "1.5");
  EXPECT_EQ(FinInstalmentTenthText("0"), "0");
  EXPECT_EQ(FinInstalmentTenthText(""), "0");
}

TEST(InstalmentRule, PaidInstalmentsThenOpenOnesUpToTen) {
  EXPECT_EQ(AsRows(FinInstalmentAngsuranRows("1000000", {})), OpenRows(1, "100000"));
  // 300000 covers three instalments.
  Rows three;
  for (int k = 1; k <= 3; ++k) three.push_back({std::to_string(k), "2024-08-01", "Angs-" + std::to_string(k), "100000"});
  EXPECT_EQ(AsRows(FinInstalmentAngsuranRows("1000000", {{"2024-08-01", "300000"}})),
            Concat(three, OpenRows(4, "100000")));
  // One and a half instalments count as two; two and a half as two (halves to even).
  for (const char* paid : {"150000", "250000"}) {
    const Rows rows = AsRows(FinInstalmentAngsuranRows("1000000", {{"2024-08-01", paid}}));
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(rows[1][1], "2024-08-01") << paid;
    EXPECT_EQ(rows[2][1], "-") << paid;
  }
  // Payments beyond ten rows: no open row, the list longer than ten.
  const Rows many = AsRows(FinInstalmentAngsuranRows("1000000", {{"2024-07-01", "600000"}, {"2024-08-01", "600000"}}));
  ASSERT_EQ(many.size(), 12u);
  EXPECT_EQ(many[11], (std::vector<std::string>{"12", "2024-08-01", "Angs-12", "100000"}));
  // No yearly amount: payments add no rows; a tiny instalment against a large payment stops at the most rows shown.
  EXPECT_EQ(AsRows(FinInstalmentAngsuranRows("", {{"2024-08-01", "300000"}})), OpenRows(1, "0"));
  EXPECT_EQ(FinInstalmentAngsuranRows("10", {{"2024-08-01", "1000000000"}}).size(),
            static_cast<std::size_t>(kInstalmentMaxRows));
  // A negative payment covers nothing.
  EXPECT_EQ(AsRows(FinInstalmentAngsuranRows("1000000", {{"2024-08-01", "-300000"}})), OpenRows(1, "100000"));

  EXPECT_EQ(AsRows(FinInstalmentCicilanRows({{"2024-08-01", "50000"}, {"2024-08-20", "75000.5"}})),
            (Rows{{"1", "2024-08-01", "Cicilan-1", "50000"}, {"2", "2024-08-20", "Cicilan-2", "75000.5"}}));
  EXPECT_TRUE(FinInstalmentCicilanRows({}).empty());
}

TEST(InstalmentRule, SisipTakesTheTickedOpenInstalmentsOfTheFirstTen) {
  std::vector<InstalmentRow> rows = FinInstalmentAngsuranRows("1000000", {{"2024-08-01", "300000"}});
  std::vector<bool> ticked(rows.size(), false);
  ticked[1] = true;   // paid: ignored
  ticked[4] = ticked[5] = ticked[7] = true;
  InstalmentChoice c = FinInstalmentChoose(rows, ticked);
  EXPECT_EQ(c.sum, 300000);
  EXPECT_EQ(c.first, "5");
  EXPECT_EQ(c.last, "8");
  EXPECT_EQ(FinInstalmentAngsuranName("Buku", c), "Angsuran Buku dari : 5 s/d 8");

  c = FinInstalmentChoose(rows, std::vector<bool>(rows.size(), false));
  EXPECT_EQ(c.sum, 0);
  EXPECT_EQ(FinInstalmentAngsuranName("Buku", c), "Angsuran Buku dari :  s/d ");

  rows = FinInstalmentAngsuranRows("100", {{"x", "0"}});
  rows.push_back({"11", "-", "Angs-11", "10"});   // beyond the tenth row: never counts
  ticked.assign(rows.size(), true);
  c = FinInstalmentChoose(rows, ticked);
  EXPECT_EQ(c.sum, 100);
  EXPECT_EQ(c.last, "10");
}

TEST(InstalmentRule, AnAmountAboveWhatIsOwedIsNamedWithWhatIsOwed) {
  struct Case {
    long long amount, owed;
    const char* text;
  } cases[] = {
      {1500000, 700000, "Jumlah pembayaran melebihi sisa tagihan, sisa tagihan : 700.000.."},
      {700001, 700000, "Jumlah pembayaran melebihi sisa tagihan, sisa tagihan : 700.000.."},
      {700000, 700000, ""},
      {1, 700000, ""},
      {0, 0, ""},
      {1, 0, "Jumlah pembayaran melebihi sisa tagihan, sisa tagihan : 0.."},
      {1, -50000, "Jumlah pembayaran melebihi sisa tagihan, sisa tagihan : 0.."},   // paid above the bill
      {-60000, -50000, ""},
      {999999999999LL, 1234567890, "Jumlah pembayaran melebihi sisa tagihan, sisa tagihan : 1.234.567.890.."},
  };
  for (const Case& c : cases) EXPECT_EQ(FinInstalmentOverOwedText(c.amount, c.owed), c.text) << c.amount;
}

TEST(InstalmentRule, Statements) {
  EXPECT_EQ(FinInstalmentPaymentsSql("Angsuran", "12", "BR-1"),
            "SELECT Tgl, Masuk FROM transaksi where Uraian like '%Angsuran%' and SiswaID='12' and AcctId='BR-1'");
  EXPECT_EQ(FinInstalmentPaymentsSql("Cicilan", "O'Neil", "BR-'1"),
            "SELECT Tgl, Masuk FROM transaksi where Uraian like '%Cicilan%' and SiswaID='O''Neil' and "
            "AcctId='BR-''1'");
}

// ----- the window -------------------------------------------------------------------------------------------------------

class InstalmentChooserTest : public ArrearsTest {
 protected:
  void SetUp() override {
    ArrearsTest::SetUp();
    // A free-amount payment on the yearly fee, and one that names neither way of paying.
    fintest::Exec(gDb, "INSERT INTO transaksi (id, tgl, uraian, acctid, siswaid, masuk, keluar, sts) VALUES"
                       " ('c1','2024-08-20','Cicilan Buku','BR-VIIA20240002','12',50000,0,'p'),"
                       " ('c2','2024-08-21','Buku','BR-VIIA20240002','12',20000,0,'p')");
    OpenStandIn();
    OpenArrears();   // Buku: 1000000 a year, 370000 paid, owes 630000
    Mark(gFormTunggakanList, 1);
  }
  void OpenChooser(std::function<void()> drive) {
    ClickModal(gFormTunggakanChangeButton, [&](Hwnd form) {
      EXPECT_EQ(form, gFormRekBayar3Window);
      drive();
      if (IsWindow(form)) FrmClose(form, 0);
    });
  }
  static void ClickRadio(Hwnd radio) { Click(radio); }
};

TEST_F(InstalmentChooserTest, OpensInCicilanModeWithTheEarlierFreeAmounts) {
  EXPECT_EQ(LvGetItemText(gFormTunggakanList, 1, 3), "630000");
  OpenChooser([&] {
    EXPECT_EQ(WinGetWindowText(gFormRekBayar3Window), "Pembayaran Per Tahun");
    EXPECT_EQ(WinGetClassName(gFormRekBayar3Window), "FORM_FINANCE_FORMREKBAYAR3_CLASS");
    EXPECT_FALSE(WinIsWindowEnabled(gFormTunggakanWindow));
    EXPECT_TRUE(WinWidget(gFormRekBayar3Window)->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(BtnIsChecked(gFormRekBayar3CicilanRadio));
    EXPECT_FALSE(BtnIsChecked(gFormRekBayar3AngsuranRadio));
    for (auto [h, t] : std::vector<std::pair<Hwnd, const char*>>{{gFormRekBayar3SisipButton, "Sisip"},
                                                                  {gFormRekBayar3BatalButton, "Batal"},
                                                                  {gFormRekBayar3CashLabel, "Jumlah Cash"},
                                                                  {gFormRekBayar3WayLabel, "Cara Pembayaran"},
                                                                  {gFormRekBayar3AngsuranRadio, "Angsuran"},
                                                                  {gFormRekBayar3CicilanRadio, "Cicilan"}})
      EXPECT_EQ(CtlGetText(h), t);
    EXPECT_EQ(CtlGetToolTip(gFormRekBayar3CashEdit), "Masukan nilai cicilan sesuai dengan nominal yang ada");
    EXPECT_EQ(Captions(gFormRekBayar3List), (std::vector<std::string>{"No.", "Tgl. Bayar", "Cicilan", "Jumlah"}));
    EXPECT_EQ(ListRows(gFormRekBayar3List), (Rows{{"1", "2024-08-20", "Cicilan-1", "50000"}}));
    EXPECT_TRUE(WinIsWindowEnabled(gFormRekBayar3CashEdit));
    EXPECT_EQ(CtlGetText(gFormRekBayar3CashEdit), "630000");
    EXPECT_EQ(WinGetFocus(), gFormRekBayar3CashEdit);
  });
}

TEST_F(InstalmentChooserTest, AngsuranListsTheTenInstalmentsWithThePaidOnes) {
  OpenChooser([&] {
    ClickRadio(gFormRekBayar3AngsuranRadio);
    EXPECT_TRUE(BtnIsChecked(gFormRekBayar3AngsuranRadio));
    EXPECT_FALSE(BtnIsChecked(gFormRekBayar3CicilanRadio));
    EXPECT_EQ(Captions(gFormRekBayar3List), (std::vector<std::string>{"No.", "Tgl. Bayar", "Angsuran", "Jumlah"}));
    Rows paid;
    for (int k = 1; k <= 3; ++k) paid.push_back({std::to_string(k), "2024-08-01", "Angs-" + std::to_string(k), "100000"});
    EXPECT_EQ(ListRows(gFormRekBayar3List), Concat(paid, OpenRows(4, "100000")));
    EXPECT_FALSE(WinIsWindowEnabled(gFormRekBayar3CashEdit));
    EXPECT_EQ(CtlGetText(gFormRekBayar3CashEdit), "63000");

    // Back and forth: each mode rebuilt from the database.
    ClickRadio(gFormRekBayar3CicilanRadio);
    EXPECT_EQ(LvGetItemCount(gFormRekBayar3List), 1);
    EXPECT_EQ(CtlGetText(gFormRekBayar3CashEdit), "630000");
    ClickRadio(gFormRekBayar3AngsuranRadio);
    EXPECT_EQ(LvGetItemCount(gFormRekBayar3List), 10);
  });
}

TEST_F(InstalmentChooserTest, SisipInAngsuranModeNamesTheInstalmentsTaken) {
  OpenChooser([&] {
    ClickRadio(gFormRekBayar3AngsuranRadio);
    Tick(gFormRekBayar3List, 1);   // paid: ignored
    Tick(gFormRekBayar3List, 3);
    Tick(gFormRekBayar3List, 5);
    Click(gFormRekBayar3SisipButton);
    EXPECT_FALSE(IsWindow(gFormRekBayar3Window));
  });
  EXPECT_EQ(LvGetItemText(gFormTunggakanList, 1, 2), "Angsuran Buku dari : 4 s/d 6");
  EXPECT_EQ(LvGetItemText(gFormTunggakanList, 1, 3), "200000");
  // Which instalments: 4 and 6, handed on with the item so that the save can count them again.
  EXPECT_EQ(PayItemInstalments(FORMTUNGGAKAN_RowItemData(1)), (1 << 3) | (1 << 5));
  EXPECT_EQ(CtlGetText(gFormTunggakanTotalLabel), "Jumlah Tunggakan : 930.000");

  // Nothing open ticked: the words without numbers, and 0.
  OpenChooser([&] {
    ClickRadio(gFormRekBayar3AngsuranRadio);
    Click(gFormRekBayar3SisipButton);
  });
  EXPECT_EQ(LvGetItemText(gFormTunggakanList, 1, 2), "Angsuran Angsuran Buku dari : 4 s/d 6 dari :  s/d ");
  EXPECT_EQ(LvGetItemText(gFormTunggakanList, 1, 3), "0");
}

TEST_F(InstalmentChooserTest, SisipInCicilanModeTakesTheAmountAsTyped) {
  FORMTUNGGAKAN_SetRowItemData(1, PayInstalmentItemData(0x7));   // an earlier choice of instalments
  OpenChooser([&] { Click(gFormRekBayar3SisipButton); });   // the amount as proposed
  EXPECT_EQ(LvGetItemText(gFormTunggakanList, 1, 2), "Cicilan Buku");
  EXPECT_EQ(LvGetItemText(gFormTunggakanList, 1, 3), "630000");
  EXPECT_EQ(FORMTUNGGAKAN_RowItemData(1), 0);   // a free amount names no instalments

  // Money as a cashier types or pastes it; the row gets plain digits.
  const std::pair<const char*, const char*> taken[] = {
      {"630.000", "630000"}, {"1,500", "1500"}, {"Rp 75.000", "75000"}, {"250000", "250000"}};
  for (const auto& [typed, stored] : taken) {
    SCOPED_TRACE(typed);
    Mark(gFormTunggakanList, 1);
    OpenChooser([&, typed = typed] {
      fintest::Type(gFormRekBayar3CashEdit, typed);
      Click(gFormRekBayar3SisipButton);
      EXPECT_FALSE(IsWindow(gFormRekBayar3Window));
    });
    EXPECT_EQ(LvGetItemText(gFormTunggakanList, 1, 3), stored);
  }
  EXPECT_EQ(LvGetItemText(gFormTunggakanList, 1, 2), "Cicilan Cicilan Cicilan Cicilan Cicilan Buku");

  // What is not a positive amount is refused: the chooser stays open and the row keeps what it had.
  const std::string pastedColumn(50000, '9');   // tens of thousands of digits: refused, never read
  for (const std::string& typed : {std::string("abc"), std::string(), std::string("0"), std::string("-5000"),
                                   std::string("250000 rupiah"), std::string("1,5"), std::string("1\t250000"),
                                   pastedColumn}) {
    SCOPED_TRACE(typed.substr(0, 20));
    Mark(gFormTunggakanList, 1);
    OpenChooser([&] {
      CtlSetText(gFormRekBayar3CashEdit, typed);
      ExpectMsgBox("Jumlah cicilan harus berupa angka lebih dari 0..", "Info");
      Click(gFormRekBayar3SisipButton);
      VerifySeams();
      EXPECT_TRUE(IsWindow(gFormRekBayar3Window));
      EXPECT_EQ(WinGetFocus(), gFormRekBayar3CashEdit);
      Click(gFormRekBayar3BatalButton);
    });
    EXPECT_EQ(LvGetItemText(gFormTunggakanList, 1, 2), "Cicilan Cicilan Cicilan Cicilan Cicilan Buku");
    EXPECT_EQ(LvGetItemText(gFormTunggakanList, 1, 3), "250000");
  }
}

// Buku still owes 630,000: neither a typed amount nor ticked instalments may pay more. The box names what is owed,
// the chooser stays open for a correction and the arrears row keeps what it had.
TEST_F(InstalmentChooserTest, AnAmountAboveWhatTheFeeStillOwesIsRefused) {
  const std::string over = "Jumlah pembayaran melebihi sisa tagihan, sisa tagihan : 630.000..";
  for (const char* typed : {"630.001", "1.500.000", "Rp 999.999.999.999"}) {
    SCOPED_TRACE(typed);
    OpenChooser([&] {
      fintest::Type(gFormRekBayar3CashEdit, typed);
      ExpectMsgBox(over, "Info");
      Click(gFormRekBayar3SisipButton);
      VerifySeams();
      EXPECT_TRUE(IsWindow(gFormRekBayar3Window));
      EXPECT_EQ(WinGetFocus(), gFormRekBayar3CashEdit);
      Click(gFormRekBayar3BatalButton);
    });
    EXPECT_EQ(LvGetItemText(gFormTunggakanList, 1, 2), "Buku");
    EXPECT_EQ(LvGetItemText(gFormTunggakanList, 1, 3), "630000");
  }
  // Corrected in the open chooser: taken.
  OpenChooser([&] {
    fintest::Type(gFormRekBayar3CashEdit, "700.000");
    ExpectMsgBox(over, "Info");
    Click(gFormRekBayar3SisipButton);
    VerifySeams();
    fintest::Type(gFormRekBayar3CashEdit, "250.000");
    Click(gFormRekBayar3SisipButton);
    EXPECT_FALSE(IsWindow(gFormRekBayar3Window));
  });
  EXPECT_EQ(LvGetItemText(gFormTunggakanList, 1, 3), "250000");
  // What the fee owes is what the list was loaded with, not the amount chosen before.
  Mark(gFormTunggakanList, 1);
  OpenChooser([&] {
    fintest::Type(gFormRekBayar3CashEdit, "630.000");
    Click(gFormRekBayar3SisipButton);
    EXPECT_FALSE(IsWindow(gFormRekBayar3Window));
  });
  EXPECT_EQ(LvGetItemText(gFormTunggakanList, 1, 3), "630000");

  // "Angsuran": the seven open instalments make 700,000: refused; six make 600,000: taken.
  Mark(gFormTunggakanList, 1);
  OpenChooser([&] {
    ClickRadio(gFormRekBayar3AngsuranRadio);
    for (int r = 3; r < 10; ++r) Tick(gFormRekBayar3List, r);
    ExpectMsgBox(over, "Info");
    Click(gFormRekBayar3SisipButton);
    VerifySeams();
    EXPECT_TRUE(IsWindow(gFormRekBayar3Window));
    Tick(gFormRekBayar3List, 9);   // untick the last
    Click(gFormRekBayar3SisipButton);
    EXPECT_FALSE(IsWindow(gFormRekBayar3Window));
  });
  EXPECT_EQ(LvGetItemText(gFormTunggakanList, 1, 2), "Angsuran Cicilan Cicilan Buku dari : 4 s/d 9");
  EXPECT_EQ(LvGetItemText(gFormTunggakanList, 1, 3), "600000");
}

// "Jumlah Cash" takes at most 12 digits from the keyboard, separators not counted.
TEST_F(InstalmentChooserTest, TheCashEditTakesTwelveDigits) {
  OpenChooser([&] {
    fintest::Type(gFormRekBayar3CashEdit, std::string(15, '1'));
    EXPECT_EQ(CtlGetText(gFormRekBayar3CashEdit), std::string(12, '1'));
    fintest::Type(gFormRekBayar3CashEdit, "Rp 630.000.000.0001");
    EXPECT_EQ(CtlGetText(gFormRekBayar3CashEdit), "Rp 630.000.000.000");
  });
}

TEST_F(InstalmentChooserTest, BatalLeavesTheRowAsItWas) {
  OpenChooser([&] {
    CtlSetText(gFormRekBayar3CashEdit, "1");
    Click(gFormRekBayar3BatalButton);
    EXPECT_FALSE(IsWindow(gFormRekBayar3Window));
  });
  EXPECT_EQ(LvGetItemText(gFormTunggakanList, 1, 2), "Buku");
  EXPECT_EQ(LvGetItemText(gFormTunggakanList, 1, 3), "630000");
}

TEST_F(InstalmentChooserTest, AFailingStatementKeepsTheOpenInstalments) {
  OpenChooser([&] {
    fintest::Exec(gDb, "ALTER TABLE transaksi RENAME TO transaksi_lama");
    ExpectMsgBox("SQL error: no such table: transaksi", "Info", IDOK, MB_OK);
    ClickRadio(gFormRekBayar3AngsuranRadio);
    EXPECT_EQ(ListRows(gFormRekBayar3List), OpenRows(1, "100000"));
    fintest::Exec(gDb, "ALTER TABLE transaksi_lama RENAME TO transaksi");
  });
}

// The choosers stay on top of the arrears window; a refusal of theirs is their own box, in front of them and on top
// as well, whether the chooser stands alone or as a page of the chooser host.
class BoxesOverChoosersTest : public InstalmentChooserTest {
 protected:
  void TearDown() override {
    if (IsWindow(gFormRekBayarWindow)) WinDestroyWindow(gFormRekBayarWindow);
    InstalmentChooserTest::TearDown();
  }
  // Types a text that is no amount into the chooser's field and presses "Sisip": the refusal, looked at.
  void Refuse() {
    fintest::Type(gFormRekBayar3CashEdit, "abc");
    Click(gFormRekBayar3SisipButton);
    EXPECT_TRUE(IsWindow(gFormRekBayar3Window));   // it stays for the operator to try again
  }
  void ExpectInFrontOfTheChooser() {
    ASSERT_EQ(shownBoxes().size(), 1u);
    const auto& box = shownBoxes()[0];
    EXPECT_EQ(box.text, "Jumlah cicilan harus berupa angka lebih dari 0..");
    EXPECT_EQ(box.caption, "Info");
    EXPECT_EQ(box.parentTitle, "Pembayaran Per Tahun");
    EXPECT_TRUE(box.transientForParent);
    EXPECT_TRUE(box.onTop);
    EXPECT_TRUE(box.modal);
    EXPECT_TRUE(box.enabled);
    EXPECT_TRUE(box.visible);
  }
};

TEST_F(BoxesOverChoosersTest, TheInstalmentChoosersRefusalStandsInFrontOfIt) {
  ShowRealMsgBoxes();
  OpenChooser([&] {
    Refuse();
    ExpectInFrontOfTheChooser();
    EXPECT_EQ(shownBoxes()[0].parent.data(), WinWidget(gFormRekBayar3Window));
  });
  EXPECT_EQ(LvGetItemText(gFormTunggakanList, 1, 2), "Buku");
}

TEST_F(BoxesOverChoosersTest, AsAPageOfTheChooserHostToo) {
  ShowRealMsgBoxes();
  Mark(gFormTunggakanList, 1);
  ASSERT_EQ(static_cast<Hwnd>(FORMREKBAYAR_Show(gFormTunggakanWindow, 0, 0)), gFormRekBayarWindow);
  FORMREKBAYAR_SelectTab(1);
  ASSERT_EQ(FORMREKBAYAR_TabPage(1), gFormRekBayar3Window);
  Refuse();
  ExpectInFrontOfTheChooser();
  EXPECT_EQ(shownBoxes()[0].parent.data(), WinWidget(gFormRekBayar3Window)->window());
}

}  // namespace
