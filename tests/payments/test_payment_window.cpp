// The payment window driven as the cashier drives it: the student by id and through the picker, the items the arrears
// window hands over, discount, cash, change and the amount in words after every keystroke, the use of savings, the
// removal of an item, the save with its rows, the saved state and the commands that open the other windows.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <filesystem>
#include <string>
#include <vector>

#include "common/numbers_words.h"
#include "common/receipt_settings_window.h"
#include "payments/arrears_window.h"
#include "payments/instalment_chooser.h"
#include "payments/month_chooser.h"
#include "payments/payment_revision_window.h"
#include "students/student_pickers.h"
#include "framework/strings.h"
#include "payments/receipt_print.h"
#include "support/other_program.h"
#include "support/read_denied.h"
#include "support/two_desks.h"
#include "tests/payments/payment_window_fixture.h"

namespace {

using paytest::Item;
using Table = std::vector<std::vector<std::string>>;

class PaymentWindow : public paytest::PaymentWindowTest {};

bool HasPhoto() {
  auto* l = qobject_cast<QLabel*>(WinWidget(gFormBayarPhoto));
  return l && !l->pixmap().isNull();
}
bool Enabled(Hwnd h) { return WinIsWindowEnabled(h); }

// ------------------------------------------------------------------------------------------------------------------
TEST_F(PaymentWindow, OpensWithItsControlsListsAndMenu) {
  const Hwnd form = Open();
  ASSERT_TRUE(IsWindow(form));
  EXPECT_EQ(WinGetWindowText(form), "Pembayaran Siswa");
  EXPECT_EQ(WinGetClassName(form), "FORM_FINANCE_FORMBAYAR_CLASS");
  EXPECT_EQ(gFormBayarLoadStudentHook, &FORMBAYAR_LoadStudent);

  struct Ctl {
    Hwnd h;
    int id;
    const char* cls;
    std::string text;
  };
  const std::vector<Ctl> table = {
      {gFormBayarCopy2WACheck, 1000, "Button", "Copy2WA"},
      {gFormBayarArchiveCheck, 1002, "Button", "Arsip"},
      {gFormBayarPaymentCombo, 1003, "ComboBox", "CASH"},
      {gFormBayarWordsLabel, 1005, "Static", "0"},
      {gFormBayarIdHintLabel, 1007, "Static", "<= Scan/Ketik Id disini"},
      {gFormBayarPrintChoiceCombo, 1008, "ComboBox", "Cetak Struk 9.5 x 5.5 Inc 1"},
      {gFormBayarIdEdit, 1009, "Edit", ""},
      {gFormBayarSaveButton, 1012, "Button", ""},
      {gFormBayarPaidEdit, 1014, "Edit", ""},
      {gFormBayarDiscountEdit, 1018, "Edit", ""},
      {gFormBayarTotalLabel, 1019, "Static", "Total"},
      {gFormBayarChangeLabel, 1020, "Static", "Kembali"},
      {gFormBayarPaidLabel, 1022, "Static", "Dibayar Tunai"},
      {gFormBayarDiscountLabel, 1023, "Static", "Potongan"},
      {gFormBayarNetLabel, 1024, "Static", "Total setelah potongan"},
      {gFormBayarRevisiButton, 1026, "Button", "REVISI PEMBAYARAN [F11]"},
      {gFormBayarSavingsCheck, 1027, "Button", "Ambil Tabungan [F3]"},
      {gFormBayarArrearsButton, 1028, "Button", "TAGIHAN TUNGGAKAN [F9]"},
      {gFormBayarSavingsLeftLabel, 1030, "Static", "Saldo Sekarang"},
      {gFormBayarSavingsBalanceLabel, 1031, "Static", "Saldo Tabungan"},
      {gFormBayarItemList, 1032, "SysListView32", ""},
      {gFormBayarSavingsFrame, 1033, "Button", "Tabungan"},
      {gFormBayarKelasLabel, 1036, "Static", "Kelas"},
      {gFormBayarStudentFrame, 1038, "Button", "Siswa"},
      {gFormBayarIdLabel, 1039, "Static", "Id"},
      {gFormBayarNamaLabel, 1040, "Static", "Nama"},
      {gFormBayarSubtitleLabel, 1041, "Static", "Penerimaan Pembayaran Siswa mulai tingkat SD, SMP, SMA.."},
      {gFormBayarHeaderFrame, 1043, "Button", ""},
      {gFormBayarTitleLabel, 1044, "Static", "Pembayaran Siswa"},
  };
  for (const Ctl& c : table) {
    SCOPED_TRACE(c.id);
    ASSERT_TRUE(IsWindow(c.h));
    EXPECT_EQ(WinGetDlgCtrlID(c.h), c.id);
    EXPECT_EQ(WinGetClassName(c.h), c.cls);
    EXPECT_EQ(CtlGetText(c.h), c.text);
  }
  EXPECT_EQ(CtlGetToolTip(gFormBayarPaymentCombo), "Pilihan Pembayaran");
  EXPECT_EQ(CtlGetToolTip(gFormBayarPrintButton), "Cetak Pembayaran");
  EXPECT_EQ(CtlGetToolTip(gFormBayarRemoveButton), "Remove Item Pembayaran");
  EXPECT_EQ(CtlGetToolTip(gFormBayarPrintChoiceCombo), "Pilihan Cetak");
  EXPECT_EQ(CtlGetToolTip(gFormBayarIdEdit), "Ketik / Scan Id/No. Induk/NISN disini");
  EXPECT_EQ(CtlGetToolTip(gFormBayarSaveButton), "Simpan Pembayaran");
  EXPECT_EQ(CtlGetToolTip(gFormBayarPickerButton), "Panggil Id Siswa yang berada dalam daftar siswa.");

  // The layouts with their index as data, gStrukDefaultType chosen; the payment options: CASH and the year's banks.
  std::vector<std::string> layouts;
  for (int i = 0; i < CbGetCount(gFormBayarPrintChoiceCombo); ++i) {
    layouts.push_back(CbGetItemText(gFormBayarPrintChoiceCombo, i));
    EXPECT_EQ(CbGetItemData(gFormBayarPrintChoiceCombo, i), i);
  }
  EXPECT_EQ(layouts, (std::vector<std::string>{"Cetak Struk Lebar 7,9 Cm", "Cetak Struk Lebar 7,6 Cm",
                                               "Cetak Struk 9.5 x 5.5 Inc 1", "Cetak Struk 9.5 x 5.5 Inc 2",
                                               "Cetak Ke Buku", "Tanpa Cetak"}));
  EXPECT_EQ(CbGetCurSel(gFormBayarPrintChoiceCombo), 2);
  std::vector<std::string> options;
  for (int i = 0; i < CbGetCount(gFormBayarPaymentCombo); ++i) options.push_back(CbGetItemText(gFormBayarPaymentCombo, i));
  EXPECT_EQ(options, (std::vector<std::string>{"CASH", "112 Bank BRI", "113 Bank Mandiri"}));

  // The item columns.
  struct Col {
    const char* caption;
    int align, width;
  };
  const Col cols[] = {{"Nomer", 2, 50}, {"Kode", 2, 150}, {"Akun Pembayaran", 0, 250},
                      {"Jumlah", 1, 100}, {"Ref", 1, 0},    {"Type", 1, 0}};
  ASSERT_EQ(LvGetColumnCount(gFormBayarItemList), 6);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(LvGetColumnText(gFormBayarItemList, i), cols[i].caption);
    EXPECT_EQ(LvGetColumnAlign(gFormBayarItemList, i), cols[i].align);
    EXPECT_EQ(LvGetColumnWidth(gFormBayarItemList, i), cols[i].width);
  }

  // The menu.
  const HMenu fungsi = WinGetSubMenu(WinGetMenu(form), 0);
  ASSERT_EQ(WinGetMenuItemCount(fungsi), 6);
  const char* items[] = {"Setting Struk\tF8", "Tagihan Tunggakan\tF9", "Revisi\tF11",
                         "Simpan\tF12",       "Browse Siswa\tF1",      "Tabungan\tF3"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(WinGetMenuString(fungsi, 6001 + i, MF_BYCOMMAND), items[i]);

  // Nothing loaded: nothing to save or print; the boxes unticked.
  EXPECT_FALSE(Enabled(gFormBayarSaveButton));
  EXPECT_FALSE(Enabled(gFormBayarPrintButton));
  for (Hwnd h : {gFormBayarCopy2WACheck, gFormBayarArchiveCheck, gFormBayarSavingsCheck}) EXPECT_EQ(ChkIsChecked(h), 0);
  // Only the id, "Potongan" and "Dibayar Tunai" take typing; the amounts they lead to are shown.
  for (Hwnd h : {gFormBayarIdEdit, gFormBayarDiscountEdit, gFormBayarPaidEdit}) EXPECT_FALSE(Edit(h)->isReadOnly());
  for (Hwnd h : {gFormBayarTotalEdit, gFormBayarNetEdit, gFormBayarChangeEdit, gFormBayarAmountDisplay,
                 gFormBayarSavingsBalanceEdit, gFormBayarSavingsLeftEdit})
    EXPECT_TRUE(Edit(h)->isReadOnly());

  // Gone: the loader hook and every control global with it.
  WinDestroyWindow(form);
  EXPECT_EQ(gFormBayarWindow, 0);
  EXPECT_EQ(gFormBayarLoadStudentHook, nullptr);
  EXPECT_EQ(gFormBayarItemList, 0);
  EXPECT_EQ(gFormBayarIdEdit, 0);
  EXPECT_EQ(gFormBayarPrintChoiceCombo, 0);
}

TEST_F(PaymentWindow, RunsModalOverItsOwnerUntilClosed) {
  QWidget owner;
  owner.show();
  const Hwnd ownerHandle = WinHandle(&owner);
  bool ownerDisabled = false;
  OnModal([&](QWidget*) {
    ownerDisabled = !WinIsWindowEnabled(ownerHandle);
    ASSERT_TRUE(IsWindow(gFormBayarWindow));
    // Esc is no command of this window.
    QTest::keyClick(WinWidget(gFormBayarIdEdit), Qt::Key_Escape);
    EXPECT_TRUE(IsWindow(gFormBayarWindow));
    WinSendMessage(gFormBayarWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  EXPECT_EQ(FORMBAYAR_Show(ownerHandle, 1, 0), 0);
  EXPECT_TRUE(ownerDisabled);
  EXPECT_TRUE(WinIsWindowEnabled(ownerHandle));
  EXPECT_EQ(gFormBayarWindow, 0);
  EXPECT_EQ(gFormBayarLoadStudentHook, nullptr);
}

// ------------------------------------------------------------------------------------------------------------------
TEST_F(PaymentWindow, TypingTheIdLoadsTheStudentAtEveryKeystroke) {
  std::filesystem::create_directories(WorkFile("image"));
  WritePhoto(WorkFile("image/12.bmp"));
  Open();
  Load("1");
  EXPECT_EQ(CtlGetText(gFormBayarNamaEdit), "BUDI");
  EXPECT_EQ(CtlGetText(gFormBayarKelasEdit), "VIII B");
  EXPECT_EQ(CtlGetText(gFormBayarKategoriEdit), "02");
  EXPECT_EQ(CtlGetText(gFormBayarSavingsBalanceEdit), "0");   // no savings row
  EXPECT_FALSE(HasPhoto());
  EXPECT_TRUE(Enabled(gFormBayarSaveButton));
  Insert(ThreeItems());
  ASSERT_EQ(LvGetItemCount(gFormBayarItemList), 3);

  // The next key: another student, the list emptied, the totals back to "0".
  QTest::keyClick(Edit(gFormBayarIdEdit), Qt::Key_2);
  EXPECT_EQ(CtlGetText(gFormBayarIdEdit), "12");
  EXPECT_EQ(LvGetItemCount(gFormBayarItemList), 0);
  EXPECT_EQ(CtlGetText(gFormBayarNamaEdit), "ANI RAHMA");
  EXPECT_EQ(CtlGetText(gFormBayarKelasEdit), "VII A");
  EXPECT_EQ(CtlGetText(gFormBayarKategoriEdit), "01");
  EXPECT_TRUE(HasPhoto());
  const Shown f = Fields();
  EXPECT_EQ(f.balance, "600");
  EXPECT_EQ(f.left, "600");
  for (const std::string& s : {f.total, f.discount, f.net, f.paid, f.change, f.display}) EXPECT_EQ(s, "0");
  EXPECT_EQ(f.words, " ");
  EXPECT_TRUE(Enabled(gFormBayarSaveButton));
  EXPECT_EQ(gPaymentSaved, 0);

  // An id of no student of the year (7 is of last year): nothing of the last student stays.
  for (const char* id : {"129", "7", "1'2", ""}) {
    SCOPED_TRACE(id);
    Load(id);
    EXPECT_EQ(CtlGetText(gFormBayarNamaEdit), "");
    EXPECT_EQ(CtlGetText(gFormBayarKelasEdit), "");
    EXPECT_EQ(CtlGetText(gFormBayarKategoriEdit), "");
    EXPECT_EQ(CtlGetText(gFormBayarSavingsBalanceEdit), "0");
    EXPECT_FALSE(HasPhoto());
    EXPECT_FALSE(Enabled(gFormBayarSaveButton));
  }
}

TEST_F(PaymentWindow, ThePickerHandsTheStudentOver) {
  Open();
  Load("1");
  OnModal([](QWidget*) {
    ASSERT_TRUE(IsWindow(gFormCrSiswaWindow));
    Type(gFormCrSiswaSearchEdit, "DEDI");
    Click(gFormCrSiswaGoButton);
    ASSERT_EQ(LvGetItemCount(gFormCrSiswaList), 1);
    LvSelectItem(gFormCrSiswaList, 0);
    Click(gFormCrSiswaSisipButton);
  });
  Key(Qt::Key_F1);
  EXPECT_FALSE(IsWindow(gFormCrSiswaWindow));
  EXPECT_EQ(CtlGetText(gFormBayarIdEdit), "40");
  EXPECT_EQ(CtlGetText(gFormBayarNamaEdit), "DEDI SAPUTRA");
  EXPECT_EQ(CtlGetText(gFormBayarKelasEdit), "IX C");
  EXPECT_EQ(CtlGetText(gFormBayarSavingsBalanceEdit), "1500");

  // The picker button does the same; cancelled, nothing changes.
  OnModal([](QWidget*) { Click(gFormCrSiswaBatalButton); });
  Click(gFormBayarPickerButton);
  EXPECT_EQ(CtlGetText(gFormBayarNamaEdit), "DEDI SAPUTRA");
}

// ------------------------------------------------------------------------------------------------------------------
TEST_F(PaymentWindow, DiscountCashChangeAndWordsFollowEveryKeystroke) {
  Open();
  Load("1");
  Insert(ThreeItems());
  Shown f = Fields();
  EXPECT_EQ(f.total, "1000000");
  EXPECT_EQ(f.net, "1000000");
  EXPECT_EQ(f.paid, "1000000");
  EXPECT_EQ(f.change, "0");
  EXPECT_EQ(f.display, "1000000");
  EXPECT_EQ(f.words, " satu juta ");
  EXPECT_EQ(LvGetItemText(gFormBayarItemList, 2, 0), "3");

  // "Potongan", key by key: the net, the cash (= the net) and the display follow.
  QLineEdit* discount = Edit(gFormBayarDiscountEdit);
  discount->selectAll();
  const std::pair<Qt::Key, long long> discountKeys[] = {{Qt::Key_5, 5}, {Qt::Key_0, 50}, {Qt::Key_0, 500},
                                                        {Qt::Key_0, 5000}};
  for (const auto& [key, value] : discountKeys) {
    QTest::keyClick(discount, key);
    SCOPED_TRACE(value);
    f = Fields();
    const std::string net = std::to_string(1000000 - value);
    EXPECT_EQ(f.discount, std::to_string(value));
    EXPECT_EQ(f.net, net);
    EXPECT_EQ(f.paid, net);
    EXPECT_EQ(f.change, "0");
    EXPECT_EQ(f.display, net);
    EXPECT_EQ(f.words, FinSpellNumber(static_cast<std::int32_t>(1000000 - value)));
  }
  // Letters are not taken.
  QTest::keyClick(discount, Qt::Key_A);
  EXPECT_EQ(CtlGetText(gFormBayarDiscountEdit), "5000");

  // "Dibayar Tunai", key by key: short (the cash on green), then the change (on yellow).
  Type(gFormBayarPaidEdit, "");
  struct Step {
    Qt::Key key;
    const char *paid, *change, *display;
    bool yellow;
  };
  const Step steps[] = {{Qt::Key_1, "1", "-994999", "1", false},
                        {Qt::Key_0, "10", "-994990", "10", false},
                        {Qt::Key_0, "100", "-994900", "100", false},
                        {Qt::Key_0, "1000", "-994000", "1000", false},
                        {Qt::Key_0, "10000", "-985000", "10000", false},
                        {Qt::Key_0, "100000", "-895000", "100000", false},
                        {Qt::Key_0, "1000000", "5000", "5000", true}};
  for (const Step& s : steps) {
    QTest::keyClick(Edit(gFormBayarPaidEdit), s.key);
    SCOPED_TRACE(s.paid);
    f = Fields();
    EXPECT_EQ(f.paid, s.paid);
    EXPECT_EQ(f.net, "995000");
    EXPECT_EQ(f.change, s.change);
    EXPECT_EQ(f.display, s.display);
    EXPECT_EQ(f.words, FinSpellNumber(std::stoi(s.display)));
    int text = 0, back = 0;
    CtlGetColors(gFormBayarAmountDisplay, &text, &back);
    EXPECT_EQ(text, static_cast<int>(WinRgb(0, 64, 128)));
    EXPECT_EQ(back, static_cast<int>(s.yellow ? WinRgb(255, 255, 0) : WinRgb(0, 255, 128)));
  }
  EXPECT_EQ(Fields().words, " lima ribu ");

  // A discount above the total: the net, the cash and the display below 0, the words with " minus".
  Type(gFormBayarDiscountEdit, "1000500");
  f = Fields();
  EXPECT_EQ(f.net, "-500");
  EXPECT_EQ(f.paid, "-500");
  EXPECT_EQ(f.display, "-500");
  EXPECT_EQ(f.words, " minus" + FinSpellNumber(500));
}

TEST(PaymentWords, InWordsAcrossTheRange) {
  EXPECT_EQ(FORMBAYAR_Words(0), " ");
  EXPECT_EQ(FORMBAYAR_Words(1500), FinSpellNumber(1500));
  EXPECT_EQ(FORMBAYAR_Words(999999999), FinSpellNumber(999999999));
  EXPECT_EQ(FORMBAYAR_Words(1000000000), "");
  EXPECT_EQ(FORMBAYAR_Words(-1500), " minus" + FinSpellNumber(1500));
  EXPECT_EQ(FORMBAYAR_Words(-1000000000), "");
  EXPECT_EQ(FORMBAYAR_DisplayAmount(1000, 0), 1000);
  EXPECT_EQ(FORMBAYAR_DisplayAmount(1000, -5), 1000);
  EXPECT_EQ(FORMBAYAR_DisplayAmount(1000, 200), 200);
}

// ------------------------------------------------------------------------------------------------------------------
TEST_F(PaymentWindow, TakingMoneyFromTheSavings) {
  struct Case {
    const char* student;
    const char *paid, *left;
    bool focusToPaid;
  };
  const Case cases[] = {{"12", "400", "0", true},     // balance 600 of 1000: the cash covers the rest
                        {"40", "0", "500", false}};   // balance 1500: the savings cover everything
  Open();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.student);
    Load(c.student);
    Insert({{"BR-1", "SPP", "1000", "411", "Perbulan"}});
    EXPECT_EQ(Fields().left, Fields().balance);   // nothing taken yet
    Click(gFormBayarSavingsCheck);
    ASSERT_EQ(ChkIsChecked(gFormBayarSavingsCheck), 1);
    Shown f = Fields();
    EXPECT_EQ(f.paid, c.paid);
    EXPECT_EQ(f.left, c.left);
    EXPECT_EQ(f.change, "0");
    EXPECT_EQ(f.display, c.paid);
    // Unticked: the cash stays and falls short by what the savings covered.
    Click(gFormBayarSavingsCheck);
    f = Fields();
    EXPECT_EQ(f.paid, c.paid);
    EXPECT_EQ(f.left, f.balance);
    EXPECT_EQ(f.change, std::to_string(std::stoll(c.paid) - 1000));
  }

  // Balance 600 of 1000 and the cash typed as 500: only 500 comes from the savings, no change.
  Load("12");
  Insert({{"BR-1", "SPP", "1000", "411", "Perbulan"}});
  Click(gFormBayarSavingsCheck);
  Type(gFormBayarPaidEdit, "500");
  Shown f = Fields();
  EXPECT_EQ(f.left, "100");
  EXPECT_EQ(f.change, "0");
  Type(gFormBayarPaidEdit, "300");   // 300 + 600 < 1000: short by 100
  f = Fields();
  EXPECT_EQ(f.left, "0");
  EXPECT_EQ(f.change, "-100");

  // F3 ticks and unticks without touching the cash; the cash paid in full takes nothing from the savings.
  Click(gFormBayarSavingsCheck);
  ASSERT_EQ(ChkIsChecked(gFormBayarSavingsCheck), 0);
  Type(gFormBayarPaidEdit, "1000");
  Key(Qt::Key_F3);
  EXPECT_EQ(ChkIsChecked(gFormBayarSavingsCheck), 1);
  f = Fields();
  EXPECT_EQ(f.paid, "1000");
  EXPECT_EQ(f.left, "600");
  EXPECT_EQ(f.change, "0");
  Menu(IDM_FORMBAYAR_TABUNGAN);
  EXPECT_EQ(ChkIsChecked(gFormBayarSavingsCheck), 0);
  EXPECT_EQ(Fields().paid, "1000");

  // A new discount while ticked: the cash becomes the whole net again and nothing comes from the savings.
  Click(gFormBayarSavingsCheck);
  EXPECT_EQ(Fields().paid, "400");
  Type(gFormBayarDiscountEdit, "100");
  f = Fields();
  EXPECT_EQ(f.paid, "900");
  EXPECT_EQ(f.left, "600");
  EXPECT_EQ(f.change, "0");
}

TEST_F(PaymentWindow, RemovingAnItemResetsTheTotals) {
  Open();
  Load("1");
  Insert(ThreeItems());
  Type(gFormBayarDiscountEdit, "5000");

  // Nothing marked: nothing asked.
  Click(gFormBayarRemoveButton);
  EXPECT_EQ(LvGetItemCount(gFormBayarItemList), 3);

  LvSelectItem(gFormBayarItemList, 1);
  ExpectMsgBox("Yakin Hapus Item Pembayaran : Uang Buku\r Dengan Nilai 450000", "Confirm Delete", IDNO,
               MB_YESNO | MB_ICONQUESTION);
  Click(gFormBayarRemoveButton);
  EXPECT_EQ(LvGetItemCount(gFormBayarItemList), 3);
  EXPECT_EQ(Fields().discount, "5000");

  ExpectMsgBox("Yakin Hapus Item Pembayaran : Uang Buku\r Dengan Nilai 450000", "Confirm Delete", IDYES,
               MB_YESNO | MB_ICONQUESTION);
  Click(gFormBayarRemoveButton);
  ASSERT_EQ(LvGetItemCount(gFormBayarItemList), 2);
  EXPECT_EQ(LvGetItemText(gFormBayarItemList, 0, 0), "1");
  EXPECT_EQ(LvGetItemText(gFormBayarItemList, 1, 0), "3");   // not renumbered
  const Shown f = Fields();
  EXPECT_EQ(f.total, "550000");
  EXPECT_EQ(f.discount, "0");
  EXPECT_EQ(f.net, "550000");
  EXPECT_EQ(f.paid, "550000");
  EXPECT_EQ(f.change, "0");
  EXPECT_EQ(f.display, "550000");
  EXPECT_EQ(f.words, FinSpellNumber(550000));

  // The next hand-over numbers after the rows left, so a number can repeat.
  Insert({{"BR-9", "Kegiatan", "100000", "414", "Pertahun"}});
  EXPECT_EQ(LvGetItemText(gFormBayarItemList, 2, 0), "3");
  EXPECT_EQ(Fields().total, "650000");
}

// ------------------------------------------------------------------------------------------------------------------
TEST_F(PaymentWindow, SaveWritesTheReceiptThenPrintOpensAndASecondSaveIsRefused) {
  Open();
  Load("12");
  Insert(ThreeItems());
  Type(gFormBayarDiscountEdit, "5000");
  Click(gFormBayarSavingsCheck);   // balance 600: the cash is 994400
  ASSERT_EQ(Fields().paid, "994400");
  ExpectMsgBox("Pembayaran berhasil disimpan..", "Pembayaran..", IDOK, MB_OK | MB_ICONINFORMATION);
  Key(Qt::Key_F12);
  VerifySeams();
  EXPECT_EQ(ReceiptRows(),
            (Table{{"20242025202409021015303", "2024-09-02", "Seragam", "BR-VIIA20240003", "12", "250000", "0",
                    "kasir", "p", "-", "413"},
                   {"20242025202409021015302", "2024-09-02", "Uang Buku", "BR-VIIA20240002", "12", "450000", "0",
                    "kasir", "p", "-", "412"},
                   {"20242025202409021015301", "2024-09-02", "SPP Bulan : Juli s/d Agustus", "BR-VIIA20240001",
                    "12", "300000", "0", "kasir", "p", "-", "411"},
                   {"20242025202409021015304", "2024-09-02", "Potongan Pembayaran", "Disc", "12", "-5000", "0",
                    "kasir", "p", "-", "disc-pembayaran"},
                   {"20242025202409021015305", "2024-09-02", "02-Penarikan utk pembayaran", "Tabungan", "12", "0",
                    "600", "kasir", "t", "-", "<null>"}}));
  EXPECT_EQ(CountRows(), 3 + 5);
  EXPECT_EQ(gLastKey, "101530");
  EXPECT_EQ(gPaymentSaved, 1);
  EXPECT_FALSE(Enabled(gFormBayarSaveButton));
  EXPECT_TRUE(Enabled(gFormBayarPrintButton));
  // The window keeps what was saved, for the receipt.
  const Shown f = Fields();
  EXPECT_EQ(f.total, "1000000");
  EXPECT_EQ(f.discount, "5000");
  EXPECT_EQ(f.net, "995000");
  EXPECT_EQ(f.paid, "994400");
  EXPECT_EQ(f.change, "0");
  EXPECT_EQ(f.balance, "600");
  EXPECT_EQ(f.left, "0");
  EXPECT_EQ(LvGetItemCount(gFormBayarItemList), 3);

  // The same payment again, a second later: by key, by menu, by button: nothing (no box, no row).
  SbSetText(gStatusBar, 5, "10:15:31", 0);
  Key(Qt::Key_F12);
  Menu(IDM_FORMBAYAR_SIMPAN);
  Click(gFormBayarSaveButton);
  FORMBAYAR_SavePayment();
  EXPECT_EQ(CountRows(), 3 + 5);
  // The saved payment stays as saved: no removal, no new items, no other discount or cash.
  LvSelectItem(gFormBayarItemList, 0);
  Click(gFormBayarRemoveButton);
  Key(Qt::Key_F9);
  EXPECT_EQ(LvGetItemCount(gFormBayarItemList), 3);
  for (Hwnd h : {gFormBayarDiscountEdit, gFormBayarPaidEdit, gFormBayarSavingsCheck}) EXPECT_FALSE(Enabled(h));

  // The print command works on the saved payment: "Tanpa Cetak" with "Copy2WA" copies the messaging text.
  CbSetCurSel(gFormBayarPrintChoiceCombo, 5);
  Click(gFormBayarCopy2WACheck);
  Click(gFormBayarPrintButton);
  ASSERT_TRUE(clipboard().has_value());
  EXPECT_EQ(clipboard()->substr(0, 3), "```");

  // The next student starts the next payment.
  Load("1");
  EXPECT_EQ(gPaymentSaved, 0);
  EXPECT_TRUE(Enabled(gFormBayarSaveButton));
  EXPECT_FALSE(Enabled(gFormBayarPrintButton));
  for (Hwnd h : {gFormBayarDiscountEdit, gFormBayarPaidEdit, gFormBayarSavingsCheck}) EXPECT_TRUE(Enabled(h));
}

TEST_F(PaymentWindow, PrintingBeforeTheSaveDoesNothing) {
  Open();
  Load("1");
  Insert(ThreeItems());
  CbSetCurSel(gFormBayarPrintChoiceCombo, 5);
  Click(gFormBayarCopy2WACheck);
  Click(gFormBayarArchiveCheck);
  Click(gFormBayarPrintButton);
  EXPECT_FALSE(clipboard().has_value());
  EXPECT_TRUE(printed().Documents().empty());
}

TEST_F(PaymentWindow, ShortPaymentWritesNothing) {
  struct Case {
    const char* student;
    bool tick;
    const char* cash;
  };
  const Case cases[] = {{"1", false, "300"},    // no savings ticked
                        {"12", true, "300"}};   // 300 + 600 of savings < 1000
  Open();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.student);
    Load(c.student);
    Insert({{"BR-1", "SPP", "1000", "411", "Perbulan"}});
    if (c.tick) Click(gFormBayarSavingsCheck);
    Type(gFormBayarPaidEdit, c.cash);
    ExpectMsgBox("Nilai pembayaran tidak mencukupi..", "Pembayaran..", IDOK, MB_OK | MB_ICONINFORMATION);
    Click(gFormBayarSaveButton);
    VerifySeams();
    EXPECT_EQ(CountRows(), 3);
    EXPECT_EQ(gPaymentSaved, 0);
    EXPECT_TRUE(Enabled(gFormBayarSaveButton));
    EXPECT_EQ(Edit(gFormBayarPaidEdit)->selectedText().toStdString(), c.cash);
  }
}

TEST_F(PaymentWindow, AFailingRowUndoesTheWholeReceipt) {
  fintest::Exec(gDb,
                "CREATE TRIGGER no_disc BEFORE INSERT ON transaksi WHEN NEW.acctid='Disc' "
                "BEGIN SELECT RAISE(ABORT, 'potongan ditolak'); END;");
  Open();
  Load("12");
  Insert(ThreeItems());
  Type(gFormBayarDiscountEdit, "5000");
  ExpectMsgBox("SQL error: potongan ditolak", "Info", IDOK);   // and no success box
  Key(Qt::Key_F12);
  VerifySeams();
  EXPECT_TRUE(ReceiptRows().empty());
  EXPECT_EQ(CountRows(), 3);
  EXPECT_EQ(gPaymentSaved, 0);
  EXPECT_TRUE(Enabled(gFormBayarSaveButton));
  EXPECT_FALSE(Enabled(gFormBayarPrintButton));

  fintest::Exec(gDb, "DROP TRIGGER no_disc;");
  ExpectMsgBox("Pembayaran berhasil disimpan..", "Pembayaran..", IDOK);
  Key(Qt::Key_F12);
  EXPECT_EQ(ReceiptRows().size(), 4u);
}

TEST_F(PaymentWindow, ABankOptionNamesTheStudentAndTheBank) {
  Open();
  Load("1");
  Insert({{"BR-VIIIB20240001", "SPP Bulan : Juli s/d Juli", "150000", "4110-0001-0002-0003", "Perbulan"}});
  CbSetCurSel(gFormBayarPaymentCombo, 1);
  ExpectMsgBox("Pembayaran berhasil disimpan..", "Pembayaran..", IDOK);
  Click(gFormBayarSaveButton);
  EXPECT_EQ(fintest::Query(gDb, "select uraian, Ref from transaksi where substr(id,1,22)='2024202520240902101530'"),
            (Table{{"SPP Bulan : Juli s/d JuliAn. BUDI", "112"}}));
}

TEST_F(PaymentWindow, AStampAlreadyStoredIsNotUsedTwice) {
  fintest::Exec(gDb,
                "INSERT INTO transaksi (id, tgl, uraian, acctid, siswaid, masuk, keluar, petugas, sts, jenjang, Ref)"
                " VALUES ('20242025202409021015301', '2024-09-02', 'SPP', 'BR-1', '40', 100, 0, 'kasir2', 'p', '-',"
                " '411');");
  Open();
  Load("1");
  Insert(ThreeItems());
  ExpectMsgBox("Nomor transaksi sudah dipakai, silahkan simpan ulang..", "Pembayaran..", IDOK);
  Key(Qt::Key_F12);
  VerifySeams();
  EXPECT_EQ(ReceiptRows().size(), 1u);
  EXPECT_EQ(gPaymentSaved, 0);

  SbSetText(gStatusBar, 5, "10:15:32", 0);
  ExpectMsgBox("Pembayaran berhasil disimpan..", "Pembayaran..", IDOK);
  Key(Qt::Key_F12);
  EXPECT_EQ(ReceiptRows("2024202520240902101532").size(), 3u);
  EXPECT_EQ(gLastKey, "101532");
}

TEST_F(PaymentWindow, AnEmptyListOrADiscountAboveTheTotalSavesNothingAndPrintsNothing) {
  struct Case {
    std::vector<Item> items;
    const char* discount;
    const char* message;
  };
  const Case cases[] = {
      {{}, "5000", "Belum ada item pembayaran, tidak ada yang disimpan.."},   // a discount of nothing is nothing
      {{}, "0", "Belum ada item pembayaran, tidak ada yang disimpan.."},
      {{{"BR-1", "SPP", "1000", "411", "Perbulan"}}, "1500", "Potongan melebihi total pembayaran.."},
  };
  Open();
  CbSetCurSel(gFormBayarPrintChoiceCombo, 0);
  Click(gFormBayarArchiveCheck);
  Click(gFormBayarCopy2WACheck);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    Load("1");
    Insert(c.items);
    Type(gFormBayarDiscountEdit, c.discount);
    ExpectMsgBox(c.message, "Info", IDOK, MB_OK | MB_ICONINFORMATION);   // and no "Pembayaran berhasil disimpan.."
    Key(Qt::Key_F12);
    VerifySeams();
    EXPECT_EQ(CountRows(), 3);
    EXPECT_EQ(gPaymentSaved, 0);
    EXPECT_TRUE(Enabled(gFormBayarSaveButton));
    EXPECT_FALSE(Enabled(gFormBayarPrintButton));
    FORMBAYAR_PrintPayment();   // even the print command itself has nothing to print
    EXPECT_TRUE(printed().Documents().empty());
    EXPECT_FALSE(clipboard().has_value());
    EXPECT_FALSE(std::filesystem::exists(ProgramFile("arsip/pembayaran_BUDI_VIII_B_2024-09-02.txt")));
  }
  // A discount of the whole total is a receipt: the item and the discount row.
  Type(gFormBayarDiscountEdit, "1000");
  ExpectMsgBox("Pembayaran berhasil disimpan..", "Pembayaran..", IDOK);
  Key(Qt::Key_F12);
  EXPECT_EQ(fintest::Query(gDb, "select acctid, masuk from transaksi where substr(id,1,22)='2024202520240902101530'"
                                " order by id"),
            (Table{{"BR-1", "1000"}, {"Disc", "-1000"}}));
}

TEST_F(PaymentWindow, TheSavingsBoxIsUntickedForTheNextStudent) {
  Open();
  Load("12");
  Click(gFormBayarSavingsCheck);
  ASSERT_EQ(ChkIsChecked(gFormBayarSavingsCheck), 1);
  Load("40");   // 1500 in savings, which nobody asked to use
  EXPECT_EQ(ChkIsChecked(gFormBayarSavingsCheck), 0);
  Insert({{"BR-1", "SPP", "1000", "411", "Perbulan"}});
  Type(gFormBayarPaidEdit, "300");
  EXPECT_EQ(Fields().left, "1500");
  ExpectMsgBox("Nilai pembayaran tidak mencukupi..", "Pembayaran..", IDOK, MB_OK | MB_ICONINFORMATION);
  Key(Qt::Key_F12);
  VerifySeams();
  EXPECT_EQ(CountRows(), 3);
  EXPECT_EQ(fintest::Query(gDb, "select sum(masuk-keluar) from transaksi where siswaid='40'"), (Table{{"1500"}}));
}

// Another program on the file, or a row refused half-way: the cashier sees the failure, nothing of the receipt is in
// the file and nothing is printed, archived or copied; once the obstacle is gone the same payment saves and prints.
TEST_F(PaymentWindow, ASaveThatIsNotStoredIsNeverReportedOrPrinted) {
  using fintest::Obstacle;
  struct Case {
    Obstacle obstacle;
    const char* error;
    const char* clock;
  };
  const Case cases[] = {{Obstacle::kReadLock, "SQL error: database is locked", "10:15:31"},
                        {Obstacle::kWriteLock, "SQL error: database is locked", "10:15:32"},
                        {Obstacle::kTrigger, "SQL error: buku ditolak", "10:15:33"}};
  const std::string path = WorkFile("data.db3");
  const std::string archive = ProgramFile("arsip/pembayaran_ANI_RAHMA_VII_A_2024-09-02.txt");
  sqlite3_busy_timeout(gDb, 50);   // another program's lock fails the save at once instead of after seconds
  Open();
  Click(gFormBayarArchiveCheck);
  Click(gFormBayarCopy2WACheck);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.error);
    const std::string stamp = "2024202520240902" + StrReplace(c.clock, ":", "");
    const std::string inFile = "select count(*) from transaksi where substr(id,1,22)='" + stamp + "'";
    SbSetText(gStatusBar, 5, c.clock, 0);
    Load("12");
    Insert(ThreeItems());
    {
      fintest::OtherProgram other(path);
      other.hold(c.obstacle);
      if (c.obstacle == Obstacle::kTrigger)
        fintest::Exec(gDb, "CREATE TRIGGER no_buku BEFORE INSERT ON transaksi WHEN NEW.uraian='Uang Buku' "
                           "BEGIN SELECT RAISE(ABORT, 'buku ditolak'); END;");
      ExpectMsgBox(c.error, "Info");   // and no "Pembayaran berhasil disimpan.."
      Key(Qt::Key_F12);
      VerifySeams();
      EXPECT_TRUE(sqlite3_get_autocommit(gDb));   // no transaction left open behind the cashier's back
      EXPECT_EQ(fintest::RowsInFile(path, inFile), (Table{{"0"}}));
      EXPECT_EQ(gPaymentSaved, 0);
      EXPECT_TRUE(Enabled(gFormBayarSaveButton));
      EXPECT_FALSE(Enabled(gFormBayarPrintButton));
      FORMBAYAR_PrintPayment();
      EXPECT_TRUE(printed().Documents().empty());
      EXPECT_FALSE(clipboard().has_value());
      EXPECT_FALSE(std::filesystem::exists(archive));
    }   // the other program is done
    if (c.obstacle == Obstacle::kTrigger) fintest::Exec(gDb, "DROP TRIGGER no_buku;");

    ExpectMsgBox("Pembayaran berhasil disimpan..", "Pembayaran..", IDOK);
    Key(Qt::Key_F12);
    VerifySeams();
    EXPECT_EQ(fintest::RowsInFile(path, inFile), (Table{{"3"}}));
    Click(gFormBayarPrintButton);
    EXPECT_EQ(printed().Documents().size(), 1u);
    EXPECT_TRUE(clipboard().has_value());
    EXPECT_TRUE(std::filesystem::exists(archive));
    printed().Clear();
    SetClipboard(std::nullopt);
    std::filesystem::remove(archive);
  }
  // The three receipts are in the file once the program has closed it.
  sqlite3_close(gDb);
  gDb = nullptr;
  EXPECT_EQ(fintest::RowsInFile(path, "select substr(id,1,22), count(*), sum(masuk) from transaksi where "
                                      "substr(id,1,6)='202420' group by 1 order by 1"),
            (Table{{"2024202520240902101531", "3", "1000000"},
                   {"2024202520240902101532", "3", "1000000"},
                   {"2024202520240902101533", "3", "1000000"}}));
}

// The savings a receipt takes are read from the file at the save: when that read fails the save ends with the failure
// shown and nothing stored (a balance that could not be read is never taken as 0).
TEST_F(PaymentWindow, ASaveWhoseSavingsBalanceCannotBeReadStoresNothing) {
  const std::string path = WorkFile("data.db3");
  Open();
  Load("12");
  Insert({{"BR-1", "SPP", "1000", "411", "Perbulan"}});
  Click(gFormBayarSavingsCheck);
  {
    fintest::ReadDenied denied(gDb, "transaksi", "keluar");
    ExpectMsgBox("SQL error: " + denied.message(), "Info");   // and no "Pembayaran berhasil disimpan.."
    Key(Qt::Key_F12);
    VerifySeams();
  }
  EXPECT_EQ(gPaymentSaved, 0);
  EXPECT_TRUE(Enabled(gFormBayarSaveButton));
  EXPECT_EQ(fintest::RowsInFile(path, "select count(*) from transaksi where tgl='2024-09-02'"), (Table{{"0"}}));
  ExpectMsgBox("Pembayaran berhasil disimpan..", "Pembayaran..", IDOK);
  Key(Qt::Key_F12);
  VerifySeams();
  EXPECT_EQ(fintest::RowsInFile(path, "select acctid, masuk, keluar from transaksi where tgl='2024-09-02' order by id"),
            (Table{{"BR-1", "1000", "0"}, {"Tabungan", "0", "600"}}));
}

// Two desks on one file: the savings teller at the other desk books for the same student right after this save has
// read the balance. The save reads the balance again under its write lock: savings that no longer cover what the
// cash leaves open are refused as a short payment, nothing of the receipt stored; savings that still cover it are
// taken, and the window then shows the balance the file held before the receipt and what is left after it.
TEST_F(PaymentWindow, SavingsAnotherDeskTakesAfterTheReadAreCountedAtTheSave) {
  struct Case {
    const char* name;
    const char* otherDesk;   // 12 has 600; this receipt takes 600 of its 1000
    bool stored;
    const char* balanceAfter;
  } cases[] = {
      {"a withdrawal leaves too little", "0, 100", false, "500"},
      {"a deposit leaves enough", "100, 0", true, "100"},
  };
  const std::string path = WorkFile("data.db3");
  const std::string receipt = "select acctid, masuk, keluar from transaksi where tgl='2024-09-02' and petugas='kasir' "
                              "order by id";
  const std::string balance = "select sum(masuk-keluar) from transaksi where siswaid='12' and acctid='Tabungan'";
  Open();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fintest::Exec(gDb, "DELETE FROM transaksi WHERE tgl='2024-09-02'");
    Load("1");
    Load("12");
    Insert({{"BR-1", "SPP", "1000", "411", "Perbulan"}});
    Click(gFormBayarSavingsCheck);
    ASSERT_EQ(Fields().paid, "400");
    fintest::OtherProgram desk(path);
    fintest::WritesAfterCheck between(
        gDb, desk, "select Sum(Masuk-Keluar) as n from transaksi",
        std::string("INSERT INTO transaksi (id, tgl, uraian, acctid, siswaid, masuk, keluar, petugas, sts, jenjang, "
                    "Ref) VALUES ('1220240902101500', '2024-09-02', '01-Setoran Tunai', 'Tabungan', '12', ") +
            c.otherDesk + ", 'teller', 't', '-', '1-3')");
    if (c.stored) {
      ExpectMsgBox("Pembayaran berhasil disimpan..", "Pembayaran..", IDOK, MB_OK | MB_ICONINFORMATION);
    } else {
      ExpectMsgBox("Nilai pembayaran tidak mencukupi..", "Pembayaran..", IDOK, MB_OK | MB_ICONINFORMATION);
    }
    Key(Qt::Key_F12);
    VerifySeams();
    EXPECT_TRUE(between.written());
    EXPECT_TRUE(sqlite3_get_autocommit(gDb));
    EXPECT_EQ(gPaymentSaved, c.stored ? 1 : 0);
    EXPECT_EQ(Enabled(gFormBayarSaveButton), !c.stored);
    if (!c.stored) {
      EXPECT_EQ(Edit(gFormBayarPaidEdit)->selectedText().toStdString(), "400");
    } else {
      EXPECT_EQ(CtlGetText(gFormBayarSavingsBalanceEdit), "700");
      EXPECT_EQ(CtlGetText(gFormBayarSavingsLeftEdit), c.balanceAfter);
    }
    EXPECT_EQ(fintest::RowsInFile(path, receipt),
              c.stored ? (Table{{"BR-1", "1000", "0"}, {"Tabungan", "0", "600"}}) : Table{});
    EXPECT_EQ(fintest::RowsInFile(path, balance), (Table{{c.balanceAfter}}));
  }
}

// Two desks on one file: the clerk takes Ani's fees from the arrears window (the whole arrears, a free amount or
// numbered instalments in the instalment chooser, or months in the month chooser) and another desk saves a payment of
// Ani's before F12. What each fee still owes, and which months and instalments are still open, are counted again inside
// the save's write: an item another desk's payment leaves beyond its fee, or paying a month or an instalment paid by
// now, is refused, nothing stored and the items kept; one still within is stored. No fee is paid above its bill.
TEST_F(PaymentWindow, AFeeAnotherDeskPaidSinceTheItemWasTakenIsNotPaidAgain) {
  // Ani (12, VII A): SPP monthly 150.000, July and August paid (owes September on 2024-09-02); Uang Buku yearly
  // 450.000, nothing paid.
  fintest::Exec(gDb,
                "DELETE FROM detail_account WHERE id_siswa='12';"
                "INSERT INTO account (Id, Pembayaran, Kelas, Jumlah, Type, Tapel, RefRekening) VALUES"
                " ('BR-VIIA20240001', 'SPP', 'VII A', 150000, 'Perbulan', '2024/2025', '411'),"
                " ('BR-VIIA20240002', 'Uang Buku', 'VII A', 450000, 'Pertahun', '2024/2025', '412');"
                "INSERT INTO detail_account (id_account, id_siswa, jml_pembayaran, juli, agustus, september, oktober,"
                " nopember, desember, januari, februari, maret, april, mei, juni) VALUES ('BR-VIIA20240001', '12',"
                " 1800000, 150000, 150000, 150000, 150000, 150000, 150000, 150000, 150000, 150000, 150000, 150000,"
                " 150000), ('BR-VIIA20240002', '12', 450000, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL,"
                " NULL, NULL, NULL);"
                "INSERT INTO transaksi (id, tgl, uraian, acctid, siswaid, masuk, keluar, petugas, sts, jenjang, Ref)"
                " VALUES ('20242025202408010900001', '2024-08-01', 'SPP Bulan : Juli s/d Agustus', 'BR-VIIA20240001',"
                " '12', 300000, 0, 'kasir', 'p', '-', '411');");
  enum class Take { kWhole, kCicilan200, kSeptemberOctober, kSeptember, kAngsuran };
  struct Case {
    const char* name;
    const char* fee;        // the arrears row taken
    Take take;
    const char* otherDesk;  // what the other desk pays: acctid, masuk
    const char* refusal;    // the line of the refused item; nullptr: stored
    std::vector<int> instalments = {};      // kAngsuran: the instalments ticked in the chooser (1 to 10)
    const char* otherUraian = "desk 2";     // the description of the other desk's payment
  } cases[] = {
      {"the whole yearly fee, paid meanwhile", "BR-VIIA20240002", Take::kWhole, "'BR-VIIA20240002', 450000",
       "Uang Buku : Jumlah pembayaran melebihi sisa tagihan, sisa tagihan : 0.."},
      {"an instalment the rest still covers", "BR-VIIA20240002", Take::kCicilan200, "'BR-VIIA20240002', 250000",
       nullptr},
      {"an instalment the rest no longer covers", "BR-VIIA20240002", Take::kCicilan200, "'BR-VIIA20240002', 300000",
       "Cicilan Uang Buku : Jumlah pembayaran melebihi sisa tagihan, sisa tagihan : 150.000.."},
      {"the whole monthly arrears, paid meanwhile", "BR-VIIA20240001", Take::kWhole, "'BR-VIIA20240001', 150000",
       "SPP : Jumlah pembayaran melebihi sisa tagihan, sisa tagihan : 0.."},
      {"months, one of them paid meanwhile", "BR-VIIA20240001", Take::kSeptemberOctober, "'BR-VIIA20240001', 150000",
       "SPP Bulan : September s/d Oktober : Bulan September sudah lunas.."},
      {"a month still open after another fee's payment", "BR-VIIA20240001", Take::kSeptember,
       "'BR-VIIA20240002', 100000", nullptr},
      // Uang Buku in ten instalments of 45.000.
      {"instalments another desk paid meanwhile", "BR-VIIA20240002", Take::kAngsuran, "'BR-VIIA20240002', 135000",
       "Angsuran Uang Buku dari : 1 s/d 3 : Angsuran 1, 2, 3 sudah lunas..", {1, 2, 3},
       "Angsuran Uang Buku dari : 1 s/d 3"},
      {"instalments, one of them paid meanwhile", "BR-VIIA20240002", Take::kAngsuran, "'BR-VIIA20240002', 90000",
       "Angsuran Uang Buku dari : 2 s/d 4 : Angsuran 2 sudah lunas..", {2, 4}, "Angsuran Uang Buku dari : 1 s/d 2"},
      {"instalments still open after another desk's instalments", "BR-VIIA20240002", Take::kAngsuran,
       "'BR-VIIA20240002', 90000", nullptr, {3, 4}, "Angsuran Uang Buku dari : 1 s/d 2"},
      {"instalments a free amount paid meanwhile leaves beyond the bill", "BR-VIIA20240002", Take::kAngsuran,
       "'BR-VIIA20240002', 400000",
       "Angsuran Uang Buku dari : 1 s/d 3 : Jumlah pembayaran melebihi sisa tagihan, sisa tagihan : 50.000..",
       {1, 2, 3}, "Cicilan Uang Buku"},
  };
  const std::string path = WorkFile("data.db3");
  const std::string ours = "select acctid, masuk from transaksi where tgl='2024-09-02' and petugas='kasir' order by id";
  const std::string billOf = "select (select ifnull(sum(masuk), 0) from transaksi where siswaid='12' and "
                             "acctid=id_account), jml_pembayaran from detail_account where id_siswa='12' order by "
                             "id_account";
  Open();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fintest::Exec(gDb, "DELETE FROM transaksi WHERE tgl='2024-09-02'");
    Load("1");
    Load("12");
    // F9: the fee's row taken, as the clerk takes it.
    bool taken = false;
    OnModal([&](QWidget*) {
      int row = -1;
      for (int r = 0; r < LvGetItemCount(gFormTunggakanList); ++r)
        if (LvGetItemText(gFormTunggakanList, r, kTunggakanColId) == c.fee) row = r;
      if (row < 0) {
        ADD_FAILURE() << c.fee << " is not listed";
        Click(gFormTunggakanBatalButton);
        return;
      }
      LvSelectItem(gFormTunggakanList, row);
      LvSetCheck(gFormTunggakanList, row, 1);
      if (c.take == Take::kCicilan200) {
        OnModal([](QWidget*) {
          CtlSetText(gFormRekBayar3CashEdit, "200000");
          Click(gFormRekBayar3SisipButton);
        });
        Click(gFormTunggakanChangeButton);
      } else if (c.take == Take::kAngsuran) {
        OnModal([&](QWidget*) {
          Click(gFormRekBayar3AngsuranRadio);
          ASSERT_EQ(LvGetItemText(gFormRekBayar3List, 0, 1), "-");   // nothing paid in instalments yet
          for (int k : c.instalments) LvSetCheck(gFormRekBayar3List, k - 1, 1);
          Click(gFormRekBayar3SisipButton);
        });
        Click(gFormTunggakanChangeButton);
      } else if (c.take != Take::kWhole) {
        OnModal([&](QWidget*) {
          ASSERT_EQ(LvGetItemText(gFormRekBayar1List, 1, 3), "Lunas");   // August paid
          ASSERT_EQ(LvGetItemText(gFormRekBayar1List, 2, 3), "");        // September open
          LvSetCheck(gFormRekBayar1List, 2, 1);
          if (c.take == Take::kSeptemberOctober) LvSetCheck(gFormRekBayar1List, 3, 1);
          Click(gFormRekBayar1SisipButton);
        });
        Click(gFormTunggakanChangeButton);
      }
      taken = true;
      Click(gFormTunggakanSisipButton);
    });
    Key(Qt::Key_F9);
    ASSERT_TRUE(taken);
    ASSERT_EQ(LvGetItemCount(gFormBayarItemList), 1);
    const std::string amount = LvGetItemText(gFormBayarItemList, 0, 3);
    // The other desk's payment, between the arrears window's read and F12.
    fintest::OtherProgram desk(path);
    ASSERT_EQ(desk.Write(std::string("INSERT INTO transaksi (id, tgl, uraian, acctid, masuk, siswaid, keluar, petugas,"
                                     " sts, jenjang) VALUES ('20242025202409021000001', '2024-09-02', '") +
                         c.otherUraian + "', " + c.otherDesk + ", '12', 0, 'desk', 'p', '-')"),
              SQLITE_OK);
    if (c.refusal)
      ExpectMsgBox(std::string("Pembayaran tidak disimpan, sisa tagihan sudah berubah:\r") + c.refusal, "Info", IDOK,
                   MB_OK | MB_ICONINFORMATION);
    else
      ExpectMsgBox("Pembayaran berhasil disimpan..", "Pembayaran..", IDOK, MB_OK | MB_ICONINFORMATION);
    Key(Qt::Key_F12);
    VerifySeams();
    EXPECT_TRUE(sqlite3_get_autocommit(gDb));
    const bool stored = c.refusal == nullptr;
    EXPECT_EQ(gPaymentSaved, stored ? 1 : 0);
    EXPECT_EQ(Enabled(gFormBayarSaveButton), !stored);
    EXPECT_EQ(LvGetItemCount(gFormBayarItemList), 1);   // the items stay for the clerk to look at again
    EXPECT_EQ(fintest::RowsInFile(path, ours), stored ? (Table{{c.fee, amount}}) : Table{});
    // No fee of Ani's is paid above its bill.
    for (const auto& fee : fintest::RowsInFile(path, billOf)) EXPECT_LE(std::stoll(fee[0]), std::stoll(fee[1]));
  }
}

// The save holds the file from its check to its commit: another desk's payment tried while the save reads what the
// fee owes waits (here: is refused at once, as the other program does not wait) and the receipt is stored whole.
TEST_F(PaymentWindow, NoOtherDeskWritesBetweenTheSavesCheckAndItsRows) {
  const std::string path = WorkFile("data.db3");
  Open();
  Load("12");
  Insert({{"BR-1", "SPP", "1000", "411", "Pertahun"}});
  fintest::OtherProgram desk(path);
  fintest::WritesAfterCheck between(gDb, desk, "Select (Select Type From account Where Id=",
                                    "INSERT INTO transaksi (id, acctid, siswaid, masuk) VALUES ('X', 'BR-1', '12', "
                                    "10000000)");
  ExpectMsgBox("Pembayaran berhasil disimpan..", "Pembayaran..", IDOK, MB_OK | MB_ICONINFORMATION);
  Key(Qt::Key_F12);
  VerifySeams();
  EXPECT_TRUE(between.fired());
  EXPECT_FALSE(between.written());
  EXPECT_EQ(fintest::RowsInFile(path, "select acctid, masuk from transaksi where siswaid='12' and acctid='BR-1'"),
            (Table{{"BR-1", "1000"}}));
}

// ----- two programs on one file ------------------------------------------------------------------------------------
// Two desks take the same student's payment on one file, each in a process of its own: for every fee both take the
// whole arrears from the arrears window, wait until the other has taken it too, and then both save. Whichever saves
// second finds the fee paid and is refused: every fee is paid once, never above its bill.
constexpr int kDeskFees = 12;
std::string DeskFee(int k) { return "BR-VIIA2024" + std::string(k < 10 ? "000" : "00") + std::to_string(k); }

class PaymentDeskChild : public paytest::PaymentWindowTest {
 protected:
  void SetUp() override {
    if (!fintest::IsDesk()) GTEST_SKIP() << "runs as one of the two desks of PaymentTwoDesks";
    PaymentWindowTest::SetUp();
  }
  void TearDown() override {
    if (fintest::IsDesk()) PaymentWindowTest::TearDown();
  }
};

TEST_F(PaymentDeskChild, PaysEveryFeeOfTheStudent) {
  ASSERT_TRUE(fintest::UseDeskDatabase());
  AllowMsgBoxes();
  Open();
  for (int k = 1; k <= kDeskFees; ++k) {
    Load("");
    Load("12");
    OnModal([k](QWidget*) {
      for (int r = 0; r < LvGetItemCount(gFormTunggakanList); ++r)
        if (LvGetItemText(gFormTunggakanList, r, kTunggakanColId) == DeskFee(k)) {
          LvSelectItem(gFormTunggakanList, r);
          LvSetCheck(gFormTunggakanList, r, 1);
        }
      Click(gFormTunggakanSisipButton);
    });
    Key(Qt::Key_F9);
    ASSERT_EQ(LvGetItemCount(gFormBayarItemList), 1) << DeskFee(k);
    // A clock of its own per desk and fee: the two receipts never share a stamp.
    SbSetText(gStatusBar, 5, "10:" + std::string(k < 10 ? "0" : "") + std::to_string(k) + ":0" +
                                 std::to_string(fintest::DeskNumber()), 0);
    ASSERT_TRUE(fintest::MeetOtherDesk("taken-" + std::to_string(k)));
    Key(Qt::Key_F12);
  }
}

TEST(PaymentTwoDesks, TwoProgramsTakingTheSameFeesPayEachOnce) {
  if (fintest::IsDesk()) GTEST_SKIP() << "a desk runs no desks of its own";
  fintest::TempDir folder;
  const std::string path = folder.file("data.db3");
  {
    sqlite3* db = fintest::CreateDatabase(path);
    std::string sql = "INSERT INTO siswa (Id, Nama, Status) VALUES ('12', 'ANI RAHMA', 'Aktif');"
                      "INSERT INTO siswakelas (Kode, IdSiswa, Kelas, Kategori, Tapel) VALUES ('2024202512', '12',"
                      " 'VII A', '01', '2024/2025');";
    for (int k = 1; k <= kDeskFees; ++k)
      sql += "INSERT INTO account (Id, Pembayaran, Kelas, Jumlah, Type, Tapel, RefRekening) VALUES ('" + DeskFee(k) +
             "','Iuran " + std::to_string(k) + "','VII A'," + std::to_string(100000 * k) +
             ",'Pertahun','2024/2025','412');"
             "INSERT INTO detail_account (id_account, id_siswa, jml_pembayaran) VALUES ('" + DeskFee(k) + "','12'," +
             std::to_string(100000 * k) + ");";
    fintest::Exec(db, sql);
    sqlite3_close(db);
  }
  EXPECT_TRUE(fintest::RunTwoDesks(path, "PaymentDeskChild.PaysEveryFeeOfTheStudent"));
  // Every fee paid exactly once: its bill, never more.
  EXPECT_EQ(fintest::RowsInFile(path, fintest::kBillsNotPaidExactlySql), (Table{{"0"}}));
  EXPECT_EQ(fintest::RowsInFile(path, "select count(*), sum(masuk) from transaksi"),
            (Table{{std::to_string(kDeskFees), std::to_string(100000LL * kDeskFees * (kDeskFees + 1) / 2)}}));
}

TEST_F(PaymentWindow, WithoutAClockInTheStatusBarTheComputerClockStamps) {
  SbSetText(gStatusBar, 5, "", 0);
  SetClock(2024, 9, 2, 11, 0, 5);
  Open();
  Load("1");
  Insert({{"BR-1", "SPP", "1000", "411", "Perbulan"}});
  ExpectMsgBox("Pembayaran berhasil disimpan..", "Pembayaran..", IDOK);
  Key(Qt::Key_F12);
  EXPECT_EQ(ReceiptRows("2024202520240902110005").size(), 1u);
  EXPECT_EQ(gLastKey, "110005");
}

// The revision that F11 opens over the payment window keeps the receipt it revises and the fee's bill: the receipt
// just saved, paid wholly from the savings, can be lowered neither below what the savings paid nor raised above the
// bill, and the file keeps the receipt as it was saved.
TEST_F(PaymentWindow, TheRevisionOfF11KeepsTheSavedReceiptWithinItsSavingsAndItsBill) {
  fintest::Exec(gDb, "UPDATE detail_account SET jml_pembayaran=1000 WHERE id_account='BR-1' and id_siswa='40'");
  Open();
  Load("40");
  Insert({{"BR-1", "SPP", "1000", "411", "Perbulan"}});
  Click(gFormBayarSavingsCheck);   // balance 1500: the savings pay everything
  ExpectMsgBox("Pembayaran berhasil disimpan..", "Pembayaran..", IDOK, MB_OK | MB_ICONINFORMATION);
  Key(Qt::Key_F12);
  VerifySeams();
  const std::string receipt = "select id, masuk, keluar, jenjang from transaksi where substr(id,1,22)="
                              "'2024202520240902101530' order by rowid";
  const Table saved = {{"20242025202409021015301", "1000", "0", "-"}, {"20242025202409021015303", "0", "1000", "-"}};
  ASSERT_EQ(fintest::RowsInFile(WorkFile("data.db3"), receipt), saved);
  const struct {
    const char* typed;
    const char* refusal;
  } cases[] = {{"400", "Pengambilan tabungan Rp.1.000 pada struk ini melebihi total setelah potongan Rp.400.."},
               {"1001", "Jumlah pembayaran melebihi sisa tagihan, sisa tagihan : 1.000.."}};
  bool ran = false;
  OnModal([&](QWidget*) {
    ran = true;
    const int row = fintest::RowWithText(gFormRevisiList, "20242025202409021015301");
    ASSERT_GE(row, 0);
    fintest::ClickListRow(gFormRevisiList, row);
    for (const auto& c : cases) {
      SCOPED_TRACE(c.typed);
      Type(gFormRevisiAmountEdit, c.typed);
      ExpectMsgBox(c.refusal, "Info", IDOK, MB_OK | MB_ICONINFORMATION);
      Click(gFormRevisiUpdateButton);
      VerifySeams();
    }
    FrmClose(gFormRevisiWindow, 0);
  });
  Key(Qt::Key_F11);
  EXPECT_TRUE(ran);
  EXPECT_EQ(fintest::RowsInFile(WorkFile("data.db3"), receipt), saved);
}

// ------------------------------------------------------------------------------------------------------------------
TEST_F(PaymentWindow, CommandsOpenTheirWindowsOverThePayment) {
  const Hwnd form = Open();
  Load("12");
  struct Case {
    Qt::Key key;
    Hwnd* window;
  };
  const Case cases[] = {{Qt::Key_F8, &gForm23Window}, {Qt::Key_F9, &gFormTunggakanWindow},
                        {Qt::Key_F11, &gFormRevisiWindow}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    bool opened = false, ownerDisabled = false;
    OnModal([&](QWidget*) {
      opened = IsWindow(*c.window);
      ownerDisabled = !WinIsWindowEnabled(form);
      FrmClose(*c.window, 0);
    });
    gEditMode = 1;
    Key(c.key);
    EXPECT_TRUE(opened);
    EXPECT_TRUE(ownerDisabled);
    if (c.window == &gFormRevisiWindow) {
      EXPECT_EQ(gEditMode, 0);
    }
    VerifySeams();
  }
  // The buttons open the same windows.
  const std::pair<Hwnd, Hwnd*> buttons[] = {{gFormBayarGearButton, &gForm23Window},
                                            {gFormBayarArrearsButton, &gFormTunggakanWindow},
                                            {gFormBayarRevisiButton, &gFormRevisiWindow}};
  for (const auto& [button, window] : buttons) {
    bool opened = false;
    OnModal([&, window = window](QWidget*) {
      opened = IsWindow(*window);
      FrmClose(*window, 0);
    });
    Click(button);
    EXPECT_TRUE(opened);
    VerifySeams();
  }
}

}  // namespace
