// The journal entry windows FORMREKMASUK and FORMREKKELUAR driven as an operator would: the accounts each journal
// offers, saving income and expense rows with their ids, refusals, failures, the receipt question and the printed
// cash receipt; the computations beside them on their own.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/globals.h"
#include "common/globals.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/window_system.h"
#include "savings/journal_entry_windows.h"
#include "support/fixtures.h"
#include "support/operator.h"
#include "support/seams_fixture.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

constexpr int kInfo = MB_OK | MB_ICONINFORMATION;
constexpr int kQuestion = MB_YESNO | MB_ICONQUESTION;

// ----- the computations ---------------------------------------------------------------------------------------------
TEST(JournalEntryRules, JournalIds) {
  EXPECT_EQ(FinJournalId("INC", "2024-09-02", "10:15:30"), "INC20240902101530");
  EXPECT_EQ(FinJournalId("EXP", "2025-01-31", "00:00:05"), "EXP20250131000005");
  EXPECT_EQ(FinJournalId("INC", "2024-09-02", "10:15:30").size(), 17u);
}

TEST(JournalEntryRules, AmountsAreReadAsEveryTypedAmount) {
  // Thousands separators go; anything that is not a positive whole number of rupiah of at most 12 digits is 0.
  struct Case {
    const char* text;
    long long amount;
  } cases[] = {
      {"1.500.000", 1500000}, {"1500000", 1500000}, {"", 0},       {"0", 0},         {"750.", 0},
      {".5", 0},              {"12abc", 0},         {"abc", 0},    {"-750.000", 0},  {"1.5", 0},
      {"9.876.543.210", 9876543210LL},   // beyond 32 bits: whole rupiah in 64
      {"999.999.999.999", 999999999999LL}, {"1.000.000.000.000", 0}, {"99999999999999999999", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(FinJournalAmount(c.text), c.amount) << c.text;
}

TEST(JournalEntryRules, TheLedgerCodeIsTheItemUpToItsFirstBlank) {
  EXPECT_EQ(FinJournalAccountCode("411 Uang Sumbangan Komite"), "411");
  EXPECT_EQ(FinJournalAccountCode("411"), "411");
  EXPECT_EQ(FinJournalAccountCode(""), "");
}

TEST(JournalEntryRules, Statements) {
  EXPECT_EQ(FinJournalAccountsSql(true, true, "2024/2025"),
            "Select Kode, Deskripsi From rekening Where Grup='Msk' and substr(kode,-1)<>'0' and Tapel='2024/2025'");
  EXPECT_EQ(FinJournalAccountsSql(false, true, "2024/2025"),
            "Select Kode, Deskripsi From rekening Where Grup='Klr' and substr(kode,-1)<>'0' and Tapel='2024/2025'");
  EXPECT_EQ(FinJournalAccountsSql(true, false, "x'y"),
            "Select Kode, Deskripsi From rekening Where Grup='Bms' and substr(kode,-1)<>'0' and Tapel='x''y'");
  EXPECT_EQ(FinJournalAccountsSql(false, false, "2024/2025"), FinJournalAccountsSql(true, false, "2024/2025"));

  JournalEntry e{"INC1", "2024-09-02", "Ma'arif", 1500000, "o'neil", true, "411"};
  EXPECT_EQ(FinJournalInsertSql(true, e),
            "Insert Into transaksi (id,tgl,uraian,acctid,siswaid,masuk,keluar,petugas,sts,jenjang,Ref) Values('INC1',"
            "'2024-09-02','Ma''arif','-','-','1500000','0','o''neil','k','-','411')");
  e.cash = false;
  EXPECT_EQ(FinJournalInsertSql(false, e),
            "Insert Into transaksi (id,tgl,uraian,acctid,siswaid,Masuk,keluar,petugas,sts,jenjang,Ref) Values('INC1',"
            "'2024-09-02','Ma''arif','-','-','0','1500000','o''neil','b','-','411')");
}

// ----- the windows --------------------------------------------------------------------------------------------------
struct Side {
  bool income;
  Hwnd* window;
  JournalEntryControls* c;
  std::intptr_t (*show)(Hwnd, int, int);
  const char* name;
};
const Side kIncome = {true, &gFormRekMasukWindow, &gFormRekMasuk, FORMREKMASUK_Show, "income"};
const Side kExpense = {false, &gFormRekKeluarWindow, &gFormRekKeluar, FORMREKKELUAR_Show, "expense"};

class JournalEntryTest : public fintest::SeamsTest {
 protected:
  JournalEntryTest() {
    gDb = fintest::CreateDatabase(WorkFile("data.db3"));
    gTapel = "2024/2025";
    gToday = "2024-09-02";
    gFormMode = "JURNAL KAS";
    gEditMode = 0;
    gSchoolName = "SD Harapan";
    gSchoolAddress = "Jl. Merdeka 5";
    gSchoolPhone = "021-555";
    gStrukFont = "Courier New";
    gStrukLineSpacing = 150;
    holder_ = new QWidget;
    gStatusBar = WinCreateControl(0, "msctls_statusbar32", "", WS_CHILD | WS_VISIBLE, 0, 0, 900, 20,
                                  WinHandle(holder_), 4999);
    SbSetParts(gStatusBar, {50, 150, 250, 350, 450, 550, 650, 750, -1});
    SbSetText(gStatusBar, 1, "ani", 0);
    SbSetText(gStatusBar, 5, "10:15:30", 0);
    fintest::Exec(gDb,
                  "INSERT INTO rekening (Kode, Deskripsi, Grup, Tapel) VALUES"
                  " ('410','Pendapatan','Msk','2024/2025'), ('412','Uang Sumbangan Komite','Msk','2024/2025'),"
                  " ('411','SPP','Msk','2024/2025'), ('413','Lama','Msk','2023/2024'),"
                  " ('500','Belanja','Klr','2024/2025'), ('511','Listrik','Klr','2024/2025'),"
                  " ('301','Bank BRI','Bms','2024/2025'), ('300','Bank','Bms','2024/2025'),"
                  " ('302','Bank Mandiri','Bms','2024/2025')");
  }
  ~JournalEntryTest() override {
    for (Hwnd w : {gFormRekMasukWindow, gFormRekKeluarWindow})
      if (IsWindow(w)) WinDestroyWindow(w);
    gStatusBar = 0;
    delete holder_;
    sqlite3_close(gDb);
    gDb = nullptr;
    gFormMode.clear();
    gSchoolName.clear();
    gSchoolAddress.clear();
    gSchoolPhone.clear();
  }

  // Shows the window of `side` modally; `drive` runs inside its loop and the window is closed after it.
  std::intptr_t Run(const Side& side, std::function<void()> drive) {
    bool ran = false;
    OnModal([&](QWidget*) {
      ran = true;
      drive();
      if (IsWindow(*side.window)) FrmClose(*side.window, 0);
    });
    const std::intptr_t r = side.show(0, 1, 0);
    EXPECT_TRUE(ran);
    return r;
  }
  static std::vector<std::string> Items(Hwnd combo) {
    std::vector<std::string> items;
    for (int i = 0; i < CbGetCount(combo); ++i) items.push_back(CbGetItemText(combo, i));
    return items;
  }
  static void Choose(Hwnd combo, const std::string& item) {
    const int i = CbFindStringExact(combo, -1, item);
    ASSERT_GE(i, 0) << item;
    CbSetCurSel(combo, i);
  }
  static void Click(Hwnd button) { QTest::mouseClick(WinWidget(button), Qt::LeftButton); }
  // Fills the fields as the operator would.
  static void Fill(const Side& s, const std::string& item, const std::string& date, const std::string& desc,
                   const std::string& amount) {
    if (!item.empty()) Choose(s.c->account, item);
    DtpSetDate(s.c->date, date);
    CtlSetText(s.c->desc, desc);
    CtlSetText(s.c->amount, amount);
  }
  void ExpectSaved(int print = IDNO) {
    ExpectMsgBox(kJournalSaved, "Entry Data..", IDOK, kInfo);
    ExpectMsgBox(kJournalPrintQuestion, "Print?", print, kQuestion);
  }
  Rows Db(const std::string& sql) { return fintest::Query(gDb, sql); }
  Rows Journal() {
    return Db("select id, tgl, uraian, acctid, siswaid, masuk, keluar, petugas, sts, jenjang, Ref from transaksi "
              "order by rowid");
  }

  QWidget* holder_ = nullptr;
};

TEST_F(JournalEntryTest, TheWindowsAsTheyOpen) {
  struct Case {
    const Side* side;
    const char* caption;
    const char* cls;
    const char* title;
    const char* note;
    const char* id;
  } cases[] = {
      {&kIncome, "Jurnal Penerimaan", "FORM_FINANCE_FORMREKMASUK_CLASS", "Jurnal Penerimaan..",
       "Catatan Jurnal penerimaan kas atau pendapatan..", "INC20240902101530"},
      {&kExpense, "Jurnal Pengeluaran", "FORM_FINANCE_FORMREKKELUAR_CLASS", "Jurnal Pengeluaran..",
       "Catatan Jurnal pengeluaran kas atau belanja..", "EXP20240902101530"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    Run(*c.side, [&] {
      const Hwnd w = *c.side->window;
      const JournalEntryControls& ctl = *c.side->c;
      EXPECT_EQ(WinKindOf(w), WIN_TOPLEVEL_FORM);
      EXPECT_EQ(WinGetWindowText(w), c.caption);
      EXPECT_EQ(WinGetClassName(w), c.cls);
      EXPECT_EQ(CtlGetText(ctl.title), c.title);
      EXPECT_EQ(CtlGetText(ctl.note), c.note);
      EXPECT_EQ(CtlGetText(ctl.dateLabel), "Tanggal");
      EXPECT_EQ(CtlGetText(ctl.accountLabel), "Referensi ");
      EXPECT_EQ(CtlGetText(ctl.idLabel), "Kode Jurnal");
      EXPECT_EQ(CtlGetText(ctl.descLabel), "Deskripsi Jurnal");
      EXPECT_EQ(CtlGetText(ctl.amountLabel), "Jumlah");
      EXPECT_EQ(CtlGetText(ctl.save), "Simpan");
      EXPECT_EQ(CtlGetText(ctl.idEdit), c.id);
      EXPECT_EQ(CtlGetText(ctl.date), "2024-09-02");   // today, from the clock
      EXPECT_EQ(CbGetCurSel(ctl.account), CB_ERR);
      EXPECT_EQ(CtlGetText(ctl.desc), "");
      EXPECT_EQ(CtlGetText(ctl.amount), "");
      EXPECT_EQ(WinGetFocus(), c.side->income ? ctl.date : ctl.account);
      // "Kode Jurnal" is no tab stop.
      EXPECT_EQ(WinWidget(ctl.idEdit)->focusPolicy() & Qt::TabFocus, 0);
      // The amount takes digits and the thousands separator only.
      auto* amount = qobject_cast<QLineEdit*>(WinWidget(ctl.amount));
      ASSERT_NE(amount, nullptr);
      amount->setFocus();
      QTest::keyClicks(amount, "1.5x00-");
      EXPECT_EQ(CtlGetText(ctl.amount), "1.500");
    });
  }
}

TEST_F(JournalEntryTest, TabOrderOfEachTwin) {
  struct Case {
    const Side* side;
    std::function<std::vector<Hwnd>()> order;
  } cases[] = {
      {&kIncome, [] {
         const JournalEntryControls& c = gFormRekMasuk;
         return std::vector<Hwnd>{c.date, c.account, c.desc, c.amount, c.save, c.date};
       }},
      {&kExpense, [] {
         const JournalEntryControls& c = gFormRekKeluar;
         return std::vector<Hwnd>{c.account, c.amount, c.date, c.save, c.desc, c.account};
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.side->name);
    Run(*c.side, [&] {
      const std::vector<Hwnd> order = c.order();
      CtlSetFocus(order[0]);
      // One Tab a control, the date picker's included.
      for (std::size_t i = 1; i < order.size(); ++i) {
        fintest::PressKeys({fintest::kTab});
        EXPECT_EQ(WinGetFocus(), order[i]) << i;
      }
    });
  }
}

// "Tanggal" lets the operator go on: Tab and Shift+Tab move to the next and the previous control whichever part of the
// date is marked, and Up and Down change the part that is marked (the first one after a Tab, the last one after a
// Shift+Tab) without moving the focus.
TEST_F(JournalEntryTest, TabLeavesTanggalAndTheArrowsChangeItsMarkedPart) {
  using fintest::kBackTab, fintest::kDown, fintest::kTab, fintest::kUp;
  enum Place { kBefore, kDate, kAfter };   // the controls before and after "Tanggal" in the window's tab order
  struct Case {
    const char* what;
    Place from;
    std::vector<fintest::Key> keys;
    Place to;
    const char* date;
  } cases[] = {
      {"Tab into it and on", kBefore, {kTab, kTab}, kAfter, "2024-09-02"},
      {"Shift+Tab into it and back", kAfter, {kBackTab, kBackTab}, kBefore, "2024-09-02"},
      {"Up on its first part", kBefore, {kTab, kUp}, kDate, "2025-09-02"},
      {"Down on its last part", kAfter, {kBackTab, kDown}, kDate, "2024-09-01"},
      {"an arrow, then on", kBefore, {kTab, kUp, kUp, kTab}, kAfter, "2026-09-02"},
      {"an arrow, then back", kAfter, {kBackTab, kDown, kBackTab}, kBefore, "2024-09-01"},
  };
  struct Twin {
    const Side* side;
    Hwnd JournalEntryControls::*before;
    Hwnd JournalEntryControls::*after;
  } twins[] = {
      {&kIncome, &JournalEntryControls::save, &JournalEntryControls::account},
      {&kExpense, &JournalEntryControls::amount, &JournalEntryControls::save},
  };
  for (const Twin& t : twins) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(t.side->name) + ": " + c.what);
      Run(*t.side, [&] {
        const JournalEntryControls& ctl = *t.side->c;
        const Hwnd at[] = {ctl.*t.before, ctl.date, ctl.*t.after};
        ASSERT_EQ(CtlGetText(ctl.date), "2024-09-02");
        CtlSetFocus(at[c.from]);
        fintest::PressKeys(c.keys);
        EXPECT_EQ(WinGetFocus(), at[c.to]);
        EXPECT_EQ(CtlGetText(ctl.date), c.date);
      });
    }
  }
}

TEST_F(JournalEntryTest, EachJournalOffersItsAccountsWithoutHeadings) {
  struct Case {
    const Side* side;
    const char* mode;
    std::vector<std::string> items;
  } cases[] = {
      {&kIncome, "JURNAL KAS", {"412 Uang Sumbangan Komite", "411 SPP"}},   // database order, not sorted
      {&kExpense, "JURNAL KAS", {"511 Listrik"}},
      {&kIncome, "JURNAL BANK", {"301 Bank BRI", "302 Bank Mandiri"}},
      {&kExpense, "JURNAL BANK", {"301 Bank BRI", "302 Bank Mandiri"}},
      {&kIncome, "Jurnal Kas", {"301 Bank BRI", "302 Bank Mandiri"}},       // only the exact text is the cash journal
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.side->name) + " " + c.mode);
    gFormMode = c.mode;
    Run(*c.side, [&] { EXPECT_EQ(Items(c.side->c->account), c.items); });
  }
}

TEST_F(JournalEntryTest, SavingWritesOneRowAndEmptiesTheWindowForTheNext) {
  struct Case {
    const Side* side;
    const char* mode;
    std::vector<std::string> row;
  } cases[] = {
      {&kIncome, "JURNAL KAS",
       {"INC20240902101530", "2024-08-30", "Sumbangan 'komite'", "-", "-", "1500000", "0", "ani", "k", "-", "412"}},
      {&kExpense, "JURNAL KAS",
       {"EXP20240902101530", "2024-08-30", "Sumbangan 'komite'", "-", "-", "0", "1500000", "ani", "k", "-", "511"}},
      {&kIncome, "JURNAL BANK",
       {"INC20240902101530", "2024-08-30", "Sumbangan 'komite'", "-", "-", "1500000", "0", "ani", "b", "-", "301"}},
      {&kExpense, "JURNAL BANK",
       {"EXP20240902101530", "2024-08-30", "Sumbangan 'komite'", "-", "-", "0", "1500000", "ani", "b", "-", "301"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.side->name) + " " + c.mode);
    fintest::Exec(gDb, "DELETE FROM transaksi");
    gFormMode = c.mode;
    SbSetText(gStatusBar, 5, "10:15:30", 0);
    Run(*c.side, [&] {
      const JournalEntryControls& ctl = *c.side->c;
      Fill(*c.side, CbGetItemText(ctl.account, 0), "2024-08-30", "Sumbangan 'komite'", "1.500.000");
      SbSetText(gStatusBar, 5, "10:16:02", 0);   // the clock went on: the id was made when the window opened
      ExpectSaved(IDNO);
      Click(ctl.save);
      VerifySeams();
      EXPECT_EQ(Journal(), Rows{c.row});
      // Emptied, today again, no account, and a fresh id.
      EXPECT_EQ(CtlGetText(ctl.desc), "");
      EXPECT_EQ(CtlGetText(ctl.amount), "");
      EXPECT_EQ(CbGetCurSel(ctl.account), CB_ERR);
      EXPECT_EQ(CtlGetText(ctl.date), "2024-09-02");
      EXPECT_EQ(CtlGetText(ctl.idEdit), std::string(c.side->income ? "INC" : "EXP") + "20240902101602");
      // The next entry in the same window.
      SbSetText(gStatusBar, 5, "10:17:00", 0);
      Fill(*c.side, CbGetItemText(ctl.account, 1 % CbGetCount(ctl.account)), "2024-09-02", "", "25000");
      ExpectSaved(IDNO);
      Click(ctl.save);
    });
    const Rows rows = Journal();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1][0], std::string(c.side->income ? "INC" : "EXP") + "20240902101602");
    EXPECT_EQ(rows[1][2], "");
    EXPECT_EQ(rows[1][c.side->income ? 5 : 6], "25000");
    EXPECT_TRUE(printed().Documents().empty());   // No to the receipt: nothing printed
  }
}

TEST_F(JournalEntryTest, YesToTheReceiptPrintsTheCashReceipt) {
  Run(kExpense, [&] {
    Fill(kExpense, "511 Listrik", "2024-08-30", "Bayar listrik Agustus", "1.250.000");
    ExpectSaved(IDYES);
    Click(gFormRekKeluar.save);
  });
  ASSERT_EQ(printed().Documents().size(), 1u);
  const platform::RecordedDocument& doc = printed().Documents()[0];
  EXPECT_EQ(doc.name, "Struk");
  ASSERT_EQ(doc.pages.size(), 1u);
  std::string got;
  for (const std::string& line : doc.pages[0].Lines()) got += line + "\n";
  EXPECT_EQ(got, fintest::ReadFile(std::string(FIN_SOURCE_DIR) + "/tests/savings/expected/journal_receipt.txt"));
  EXPECT_EQ(Db("select count(*) from transaksi where id='EXP20240902101530'")[0][0], "1");
}

TEST_F(JournalEntryTest, WithoutAPrinterTheCashReceiptGoesToAPdfAndTheClerkIsToldWhere) {
  NoPrinter();
  const std::string pdf = WorkFile("cetak/Struk_20240902_101530.pdf");
  Run(kExpense, [&] {
    Fill(kExpense, "511 Listrik", "2024-08-30", "Bayar listrik Agustus", "1.250.000");
    ExpectSaved(IDYES);
    ExpectMsgBox("Tidak ada yang tercetak ke printer. Cetakan disimpan di " + pdf + "..", "Info", IDOK, kInfo);
    Click(gFormRekKeluar.save);
    VerifySeams();
  });
  EXPECT_EQ(fintest::ReadFile(pdf).substr(0, 5), "%PDF-");
}

TEST_F(JournalEntryTest, RefusedSavesStoreNothingKeepTheFieldsAndShowANewId) {
  struct Case {
    const char* name;
    bool chooseAccount;
    const char* id;   // nullptr: the window's own
    const char* amount;
    const char* message;
  } cases[] = {
      {"no account chosen", false, nullptr, "5000", kJournalRefused},
      {"Kode Jurnal emptied", true, "", "5000", kJournalRefused},
      {"no amount", true, nullptr, "", kJournalNoAmount},
      {"amount of nothing", true, nullptr, "0.000", kJournalNoAmount},
      {"more than 12 digits", true, nullptr, "99999999999999999999", kJournalNoAmount},
      {"no whole rupiah", true, nullptr, "1.5", kJournalNoAmount},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SbSetText(gStatusBar, 5, "10:15:30", 0);
    Run(kIncome, [&] {
      Fill(kIncome, c.chooseAccount ? "411 SPP" : "", "2024-08-30", "Kas kecil", c.amount);
      if (c.id) CtlSetText(gFormRekMasuk.idEdit, c.id);
      SbSetText(gStatusBar, 5, "10:15:41", 0);
      ExpectMsgBox(c.message, "Entry Data..", IDOK, kInfo);
      Click(gFormRekMasuk.save);
      VerifySeams();
      EXPECT_EQ(CtlGetText(gFormRekMasuk.idEdit), "INC20240902101541");
      EXPECT_EQ(CtlGetText(gFormRekMasuk.desc), "Kas kecil");
      EXPECT_EQ(CtlGetText(gFormRekMasuk.amount), c.amount);
      EXPECT_EQ(CtlGetText(gFormRekMasuk.date), "2024-08-30");
    });
    EXPECT_TRUE(Journal().empty());
  }
}

TEST_F(JournalEntryTest, ATypedIdIsUsedAndAnIdInUseIsRefused) {
  fintest::Exec(gDb, "INSERT INTO transaksi (id, masuk, keluar, sts) VALUES ('KAS-0001', 10, 0, 'k')");
  Run(kIncome, [&] {
    Fill(kIncome, "411 SPP", "2024-09-01", "Ketik sendiri", "10.000");
    CtlSetText(gFormRekMasuk.idEdit, "KAS-0002");
    ExpectSaved();
    Click(gFormRekMasuk.save);
    // An id already in the table would make two entries one: refused.
    Fill(kIncome, "411 SPP", "2024-09-01", "Ulang", "20.000");
    CtlSetText(gFormRekMasuk.idEdit, "KAS-0001");
    ExpectMsgBox(kJournalIdTaken, "Entry Data..", IDOK, kInfo);
    Click(gFormRekMasuk.save);
    VerifySeams();
    EXPECT_EQ(CtlGetText(gFormRekMasuk.idEdit), "INC20240902101530");
    // The window's own id saved twice in one clock second is refused the second time too.
    ExpectSaved();
    Click(gFormRekMasuk.save);
    Fill(kIncome, "411 SPP", "2024-09-01", "Sama", "1");
    ExpectMsgBox(kJournalIdTaken, "Entry Data..", IDOK, kInfo);
    Click(gFormRekMasuk.save);
  });
  EXPECT_EQ(Db("select id, uraian, masuk from transaksi order by rowid"),
            (Rows{{"KAS-0001", "<null>", "10"}, {"KAS-0002", "Ketik sendiri", "10000"},
                  {"INC20240902101530", "Ulang", "20000"}}));
}

TEST_F(JournalEntryTest, AFailedInsertShowsTheErrorAndKeepsTheFields) {
  fintest::Exec(gDb, "CREATE TRIGGER refuse BEFORE INSERT ON transaksi BEGIN SELECT RAISE(ABORT, 'ditolak'); END");
  Run(kExpense, [&] {
    Fill(kExpense, "511 Listrik", "2024-08-30", "Listrik", "90.000");
    SbSetText(gStatusBar, 5, "10:20:00", 0);
    ExpectMsgBox("SQL error: ditolak", "Info", IDOK, MB_OK);   // no success message, no receipt question
    Click(gFormRekKeluar.save);
    VerifySeams();
    EXPECT_EQ(CtlGetText(gFormRekKeluar.idEdit), "EXP20240902102000");
    EXPECT_EQ(CtlGetText(gFormRekKeluar.account), "511 Listrik");
    EXPECT_EQ(CtlGetText(gFormRekKeluar.amount), "90.000");
    // Pressing "Simpan" again retries with the new id.
    fintest::Exec(gDb, "DROP TRIGGER refuse");
    ExpectSaved();
    Click(gFormRekKeluar.save);
  });
  EXPECT_EQ(Db("select id, keluar from transaksi"), (Rows{{"EXP20240902102000", "90000"}}));
}

TEST_F(JournalEntryTest, AFailedAccountQueryStillOpensTheWindow) {
  fintest::Exec(gDb, "DROP TABLE rekening");
  ExpectMsgBox("SQL error: no such table: rekening", "Info", IDOK, MB_OK);
  Run(kIncome, [&] {
    EXPECT_EQ(CbGetCount(gFormRekMasuk.account), 0);
    CtlSetText(gFormRekMasuk.amount, "100");
    ExpectMsgBox(kJournalRefused, "Entry Data..", IDOK, kInfo);
    Click(gFormRekMasuk.save);
  });
  EXPECT_TRUE(Journal().empty());
}

TEST_F(JournalEntryTest, EscAndEnterDoNothing) {
  Run(kIncome, [&] {
    QTest::keyClick(WinWidget(gFormRekMasuk.desc), Qt::Key_Escape);
    QTest::keyClick(WinWidget(gFormRekMasuk.desc), Qt::Key_Return);
    EXPECT_TRUE(IsWindow(gFormRekMasukWindow));
  });
  EXPECT_TRUE(Journal().empty());
}

TEST_F(JournalEntryTest, AReceiptBeyondWhatItCanShowIsNotPrinted) {
  Run(kIncome, [&] {
    Fill(kIncome, "411 SPP", "2024-09-02", "Hibah", "3.000.000.000");
    ExpectSaved(IDYES);
    ExpectMsgBox(kJournalTooLarge, "Print?", IDOK, kInfo);
    Click(gFormRekMasuk.save);
  });
  EXPECT_TRUE(printed().Documents().empty());
  EXPECT_EQ(Db("select masuk from transaksi")[0][0], "3000000000");   // whole rupiah in 64 bits
}

// "Jumlah" takes at most 12 digits from the keyboard, the thousands separators not counted, and the 12 digits typed
// are stored whole: never cut, never read as an empty field.
TEST_F(JournalEntryTest, TheAmountTakesTwelveDigitsAndStoresThemWhole) {
  struct Case {
    const Side* side;
    const char* typed;
    const char* shown;
    const char* stored;
  } cases[] = {
      {&kIncome, "9999999999999", "999999999999", "999999999999"},
      {&kExpense, "999.999.999.9999", "999.999.999.999", "999999999999"},
      {&kIncome, "1.500.000", "1.500.000", "1500000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    fintest::Exec(gDb, "DELETE FROM transaksi");
    Run(*c.side, [&] {
      const JournalEntryControls& ctl = *c.side->c;
      Fill(*c.side, CbGetItemText(ctl.account, 0), "2024-08-30", "Dana", "");
      auto* amount = qobject_cast<QLineEdit*>(WinWidget(ctl.amount));
      ASSERT_NE(amount, nullptr);
      amount->setFocus();
      QTest::keyClicks(amount, c.typed);
      EXPECT_EQ(CtlGetText(ctl.amount), c.shown);
      ExpectSaved(IDNO);
      Click(ctl.save);
      VerifySeams();
    });
    EXPECT_EQ(Db(std::string("select ") + (c.side->income ? "masuk" : "keluar") + " from transaksi"),
              (Rows{{c.stored}}));
  }
}

}  // namespace
