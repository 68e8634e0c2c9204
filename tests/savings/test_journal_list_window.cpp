// The journal list FORM15 driven as an operator would: the month of the cash or bank journal, the report period of
// the school year, the kind kept across refreshes, the entry windows it opens, a list that handles no click, double
// click or key, delete with Yes/No and the exports.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <QAbstractButton>
#include <QMdiArea>
#include <QTableView>
#include <QTest>
#include <QWidget>
#include <filesystem>
#include <string>
#include <vector>

#include "app/globals.h"
#include "common/globals.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/window_system.h"
#include "savings/journal_entry_windows.h"
#include "savings/journal_list_window.h"
#include "support/fixtures.h"
#include "support/seams_fixture.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

const std::vector<std::string> kCaptions = {"ID", "TGL", "REF", "URAIAN", "MASUK", "KELUAR", "PETUGAS"};

class JournalListTest : public fintest::SeamsTest {
 protected:
  JournalListTest() {
    gDb = fintest::CreateDatabase(WorkFile("data.db3"));
    gTapel = "2024/2025";
    gToday = "2024-09-02";
    gReportMonth = 9;
    gFormMode = "JURNAL KAS";
    gEditMode = 0;
    gTargetListView = 0;
    gSchoolName = "SD Harapan";
    gSchoolAddress = "Jl. Merdeka 5";
    area_ = new QMdiArea;
    area_->resize(1200, 700);
    gMdiClient = WinHandle(area_);
    WinWatchWindow(gMdiClient);
    area_->show();
    holder_ = new QWidget;
    gStatusBar = WinCreateControl(0, "msctls_statusbar32", "", WS_CHILD | WS_VISIBLE, 0, 0, 900, 20,
                                  WinHandle(holder_), 4999);
    SbSetParts(gStatusBar, {50, 150, 250, 350, 450, 550, 650, 750, -1});
    SbSetText(gStatusBar, 1, "ani", 0);
    SbSetText(gStatusBar, 5, "10:15:30", 0);
    fintest::Exec(gDb,
                  "INSERT INTO rekening (Kode, Deskripsi, Grup, Tapel) VALUES ('411','Sumbangan','Msk','2024/2025'),"
                  " ('511','Listrik','Klr','2024/2025'), ('301','Bank BRI','Bms','2024/2025');"
                  "INSERT INTO transaksi (id, tgl, uraian, acctid, siswaid, masuk, keluar, petugas, sts, jenjang, Ref)"
                  " VALUES"
                  " ('INC20240901080000','2024-09-01','Sumbangan komite','-','-',500000,0,'ani','k','-','411'),"
                  " ('EXP20240902090000','2024-09-30','Listrik','-','-',0,250000,'ani','k','-','511'),"
                  " ('INC20240831070000','2024-09-15','Dicatat lebih dulu','-','-',75000,0,'budi','k','-','411'),"
                  " ('INC20240905000000','2024-10-01','Oktober','-','-',1,0,'ani','k','-','411'),"
                  " ('INC20240901000001','2024-08-31','Agustus','-','-',2,0,'ani','k','-','411'),"
                  " ('INC20240903000000','2024-09-03','Transfer masuk','-','-',900000,0,'ani','b','-','301'),"
                  " ('S1120240902101530','2024-09-02','01-Setoran Tunai','Tabungan','S1',10000,0,'ani','t','-','1-1'),"
                  " ('2024202520240902101530','2024-09-02','SPP','BR-1','S1',150000,0,'ani','p','-','411');");
  }
  ~JournalListTest() override {
    for (Hwnd w : {gFormRekMasukWindow, gFormRekKeluarWindow})
      if (IsWindow(w)) WinDestroyWindow(w);
    for (Hwnd w : windows_)
      if (IsWindow(w)) WinDestroyWindow(w);
    delete area_;
    gMdiClient = 0;
    gStatusBar = 0;
    delete holder_;
    sqlite3_close(gDb);
    gDb = nullptr;
    gTargetListView = 0;
    gFormMode.clear();
    gSchoolName.clear();
    gSchoolAddress.clear();
    for (const char* v : {"FIN_PLUGIN_RECORD", "FIN_PLUGIN_RECORD_INTS"}) unsetenv(v);
  }

  Hwnd Open(const std::string& mode = "JURNAL KAS") {
    gFormMode = mode;
    const Hwnd w = static_cast<Hwnd>(FORM15_Show(gMdiClient, 1, 0));
    windows_.push_back(w);
    return w;
  }
  static Rows ListRows(Hwnd list) {
    Rows rows;
    for (int r = 0; r < LvGetItemCount(list); ++r) {
      std::vector<std::string> row;
      for (int c = 0; c < LvGetColumnCount(list); ++c) row.push_back(LvGetItemText(list, r, c));
      rows.push_back(row);
    }
    return rows;
  }
  static std::vector<std::string> Ids(Hwnd list) {
    std::vector<std::string> ids;
    for (int r = 0; r < LvGetItemCount(list); ++r) ids.push_back(LvGetItemText(list, r, 0));
    return ids;
  }
  static std::vector<std::string> Captions(Hwnd list) {
    std::vector<std::string> c;
    for (int i = 0; i < LvGetColumnCount(list); ++i) c.push_back(LvGetColumnText(list, i));
    return c;
  }
  static void Command(int id) { ASSERT_EQ(TbClickButton(gForm15Toolbar, id), 1) << id; }
  Rows Db(const std::string& sql) { return fintest::Query(gDb, sql); }
  void InstallRecorder(const std::string& as) {
    std::filesystem::copy_file(std::string(FIN_BINARY_DIR) + "/tests/plugins/libfin_plugin_recorder.so",
                               ProgramFile(as), std::filesystem::copy_options::overwrite_existing);
    setenv("FIN_PLUGIN_RECORD", WorkFile("record.txt").c_str(), 1);
  }
  static void Click(Hwnd button) { QTest::mouseClick(WinWidget(button), Qt::LeftButton); }
  static void DoubleClickRow(Hwnd list, int row) {
    auto* v = dynamic_cast<QTableView*>(WinWidget(list));
    ASSERT_NE(v, nullptr);
    const QRect r = v->visualRect(v->model()->index(row, 1));
    QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, r.center());
  }

  QMdiArea* area_ = nullptr;
  QWidget* holder_ = nullptr;
  std::vector<Hwnd> windows_;
};

const Rows kSeptemberCash = {
    {"EXP20240902090000", "2024-09-30", "511", "Listrik", "0", "250000", "ani"},
    {"INC20240831070000", "2024-09-15", "411", "Dicatat lebih dulu", "75000", "0", "budi"},
    {"INC20240901080000", "2024-09-01", "411", "Sumbangan komite", "500000", "0", "ani"},
};

TEST_F(JournalListTest, ListsTheCashJournalOfTheReportMonthByIdExpensesFirst) {
  const Hwnd w = Open();
  ASSERT_TRUE(IsWindow(w));
  EXPECT_EQ(w, gForm15Window);
  EXPECT_EQ(WinKindOf(w), WIN_MDI_CHILD);
  EXPECT_EQ(WinGetClassName(w), "FORM_FINANCE_FORM15_CLASS");
  EXPECT_EQ(WinGetWindowText(w), "Jurnal Kas");
  EXPECT_EQ(WinGetDlgCtrlID(w), 105);
  EXPECT_TRUE(WinIsZoomed(w));
  EXPECT_TRUE(FORM15_IsCash(w));
  EXPECT_EQ(Captions(gForm15List), kCaptions);
  for (int c = 0; c < 7; ++c) {
    EXPECT_EQ(LvGetColumnWidth(gForm15List, c), 100);
    EXPECT_EQ(LvGetColumnAlign(gForm15List, c), LVCFMT_LEFT);
  }
  EXPECT_EQ(ListRows(gForm15List), kSeptemberCash);
  EXPECT_EQ(gTargetListView, gForm15List);
  EXPECT_EQ(WinGetFocus(), gForm15List);

  const std::vector<std::pair<int, std::string>> tips = {
      {gForm15IncomeId, "Jurnal Kas Masuk"},
      {gForm15ExpenseId, "Jurnal Kas Keluar"},
      {gForm15DeleteId, "Hapus Item Data Jurnal"},
      {gForm15ExcelId, "Export Ke Excel"},
      {gForm15PageId, "Cetak Ke Broswer"},
      {gForm15RefreshId, "Refresh / membaca ulang Data Jurnal dari database"}};
  for (const auto& [id, tip] : tips) EXPECT_EQ(TbGetButtonTip(gForm15Toolbar, id), tip);
  EXPECT_EQ(TbGetButtonCount(gForm15Toolbar), 7);   // with the separator before refresh
}

TEST_F(JournalListTest, AnyModeButJurnalKasListsTheBankJournal) {
  for (const char* mode : {"JURNAL BANK", "jurnal kas", "Siswa", ""}) {
    SCOPED_TRACE(mode);
    const Hwnd w = Open(mode);
    EXPECT_FALSE(FORM15_IsCash(w));
    EXPECT_EQ(WinGetWindowText(w), "Jurnal Kas");   // one caption for both kinds
    EXPECT_EQ(ListRows(gForm15List),
              (Rows{{"INC20240903000000", "2024-09-03", "301", "Transfer masuk", "900000", "0", "ani"}}));
  }
}

TEST_F(JournalListTest, TheReportMonthLiesInTheFirstOrSecondYearOfTheSchoolYear) {
  fintest::Exec(gDb,
                "INSERT INTO transaksi (id, tgl, masuk, keluar, sts) VALUES"
                " ('INC-JUN-30','2025-06-30',1,0,'k'), ('INC-JUN-OLD','2024-06-15',1,0,'k'),"
                " ('INC-JUL-01','2024-07-01',1,0,'k'), ('INC-JUL-NEW','2025-07-01',1,0,'k'),"
                " ('INC-FEB-28','2025-02-28',1,0,'k'), ('INC-FEB-29','2024-02-29',1,0,'k'),"
                " ('INC-MAR-01','2024-03-01',1,0,'k'), ('INC-DES-31','2024-12-31',1,0,'k'),"
                " ('INC-JAN-01','2025-01-01',1,0,'k')");
  struct Case {
    const char* tapel;
    int month;
    std::vector<std::string> ids;
  } cases[] = {
      {"2024/2025", 6, {"INC-JUN-30"}},                  // June: the second year
      {"2024/2025", 7, {"INC-JUL-01"}},                  // July: the first year
      {"2024/2025", 2, {"INC-FEB-28"}},
      {"2023/2024", 2, {"INC-FEB-29"}},                  // a leap year's February ends on the 29th
      {"2024/2025", 12, {"INC-DES-31"}},
      {"2024/2025", 1, {"INC-JAN-01"}},
      {"2024/2025", 11, {}},                             // no entries: no columns at all
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.tapel) + " " + std::to_string(c.month));
    gTapel = c.tapel;
    gReportMonth = c.month;
    Open();
    EXPECT_EQ(Ids(gForm15List), c.ids);
    EXPECT_EQ(LvGetColumnCount(gForm15List), c.ids.empty() ? 0 : 7);
  }
  EXPECT_EQ(FinJournalReportMonth(3, "2020/2021"), "2021-03");
  EXPECT_EQ(FinJournalReportMonth(9, "2020/2021"), "2020-09");
  EXPECT_EQ(FORM15_ListSql(true, 3, "2020/2021"),
            "select Id, Tgl, Ref, Uraian, Masuk, Keluar, Petugas from transaksi WHERE +Sts='k' And Tgl between "
            "'2021-03-01' and date('2021-03-01','start of month','+1 month','-1 day') Order By Id");
  EXPECT_EQ(FORM15_ListSql(false, 9, "2020/2021"),
            "select Id, Tgl, Ref, Uraian, Masuk, Keluar, Petugas from transaksi WHERE +Sts='b' And Tgl between "
            "'2020-09-01' and date('2020-09-01','start of month','+1 month','-1 day') Order By Id");
}

TEST_F(JournalListTest, RefreshKeepsTheKindAndReadsTheMonthAndRowsAsTheyStandNow) {
  Open();
  // Other windows and callbacks write gFormMode in between; the list stays the cash journal.
  gFormMode = "Siswa";
  fintest::Exec(gDb, "INSERT INTO transaksi (id, tgl, masuk, keluar, petugas, sts, Ref) VALUES"
                     " ('INC20240902120000','2024-09-02',1000,0,'ani','k','411'),"
                     " ('INC20240902120001','2024-10-02',2000,0,'ani','k','411')");
  EXPECT_EQ(LvGetItemCount(gForm15List), 3);   // new rows wait for the refresh
  Command(gForm15RefreshId);
  EXPECT_EQ(Ids(gForm15List), (std::vector<std::string>{"EXP20240902090000", "INC20240831070000",
                                                        "INC20240901080000", "INC20240902120000"}));
  gReportMonth = 10;
  Command(gForm15RefreshId);
  EXPECT_EQ(Ids(gForm15List), (std::vector<std::string>{"INC20240902120001", "INC20240905000000"}));
  EXPECT_EQ(gFormMode, "Siswa");
}

TEST_F(JournalListTest, DeleteAsksAndRemovesTheMarkedEntryOnYesOnly) {
  const Hwnd w = Open();
  constexpr int kQuestion = MB_YESNO | MB_ICONQUESTION;
  // No entry marked since the load: asked, nothing removed.
  ExpectMsgBox(kForm15DeleteQuestion, "Confirm Delete", IDYES, kQuestion);
  Command(gForm15DeleteId);
  EXPECT_EQ(LvGetItemCount(gForm15List), 3);
  EXPECT_EQ(Db("select count(*) from transaksi")[0][0], "8");

  LvSelectItem(gForm15List, 1);
  ExpectMsgBox(kForm15DeleteQuestion, "Confirm Delete", IDNO, kQuestion);
  Command(gForm15DeleteId);
  EXPECT_EQ(ListRows(gForm15List), kSeptemberCash);
  EXPECT_EQ(Db("select count(*) from transaksi where id='INC20240831070000'")[0][0], "1");

  ExpectMsgBox(kForm15DeleteQuestion, "Confirm Delete", IDYES, kQuestion);
  Command(gForm15DeleteId);
  EXPECT_EQ(ListRows(gForm15List), (Rows{kSeptemberCash[0], kSeptemberCash[2]}));   // no reload, order kept
  EXPECT_EQ(Db("select count(*) from transaksi where id='INC20240831070000'")[0][0], "0");
  EXPECT_EQ(Db("select count(*) from transaksi")[0][0], "7");

  // A failing delete leaves table and list as they are.
  fintest::Exec(gDb, "CREATE TRIGGER refuse BEFORE DELETE ON transaksi BEGIN SELECT RAISE(ABORT, 'ditolak'); END");
  LvSelectItem(gForm15List, 0);
  ExpectMsgBox(kForm15DeleteQuestion, "Confirm Delete", IDYES, kQuestion);
  ExpectMsgBox("SQL error: ditolak", "Info", IDOK, MB_OK);
  Command(gForm15DeleteId);
  EXPECT_EQ(LvGetItemCount(gForm15List), 2);
  EXPECT_EQ(Db("select count(*) from transaksi")[0][0], "7");
  EXPECT_TRUE(IsWindow(w));
}

TEST_F(JournalListTest, AFailingLoadShowsTheSqlError) {
  fintest::Exec(gDb, "DROP TABLE transaksi");
  ExpectMsgBox("SQL error: no such table: transaksi", "Info", IDOK, MB_OK);
  Open();
  EXPECT_EQ(LvGetItemCount(gForm15List), 0);
}

TEST_F(JournalListTest, ExportsHandTheListToThePlugins) {
  Open();
  InstallRecorder("libtablepage.so");
  Command(gForm15PageId);
  EXPECT_EQ(fintest::ReadFile(WorkFile("record.txt")),
            "LAPORAN DATA JURNAL;SD Harapan;Jl. Merdeka 5;lllllll\n"
            "ID;TGL;REF;URAIAN;MASUK;KELUAR;PETUGAS\n"
            "EXP20240902090000,2024-09-30,511,Listrik,0,250000,ani;"
            "INC20240831070000,2024-09-15,411,Dicatat lebih dulu,75000,0,budi;"
            "INC20240901080000,2024-09-01,411,Sumbangan komite,500000,0,ani\n");

  gTargetListView = 0;
  InstallRecorder("libtablesheet.so");
  setenv("FIN_PLUGIN_RECORD_INTS", "1", 1);
  Command(gForm15ExcelId);
  EXPECT_EQ(gTargetListView, gForm15List);
  EXPECT_EQ(fintest::ReadFile(WorkFile("record.txt")),
            "3\n7\nID,TGL,REF,URAIAN,MASUK,KELUAR,PETUGAS;"
            "EXP20240902090000,2024-09-30,511,Listrik,0,250000,ani;"
            "INC20240831070000,2024-09-15,411,Dicatat lebih dulu,75000,0,budi;"
            "INC20240901080000,2024-09-01,411,Sumbangan komite,500000,0,ani\n");
}

TEST_F(JournalListTest, AMissingPluginIsReported) {
  Open();
  ExpectMsgBox("tidak dapat membaca library..", "Export To excel..");
  Command(gForm15PageId);
}

TEST_F(JournalListTest, EntryButtonsOpenTheEntryWindowsOfTheListsJournal) {
  const Hwnd w = Open("JURNAL BANK");
  gFormMode = "Siswa";   // written by another window since the list opened
  struct Case {
    int button;
    Hwnd* window;
    const char* caption;
  } cases[] = {{gForm15IncomeId, &gFormRekMasukWindow, "Jurnal Penerimaan"},
               {gForm15ExpenseId, &gFormRekKeluarWindow, "Jurnal Pengeluaran"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    bool ran = false;
    OnModal([&](QWidget* form) {
      ran = true;
      const Hwnd entry = WinHandleOfWidget(form);
      EXPECT_EQ(entry, *c.window);
      EXPECT_EQ(WinGetWindowText(entry), c.caption);
      EXPECT_FALSE(WinIsWindowEnabled(w));   // owned by the list
      EXPECT_EQ(gFormMode, "JURNAL BANK");   // the list's journal handed on
      const JournalEntryControls& ctl = c.window == &gFormRekMasukWindow ? gFormRekMasuk : gFormRekKeluar;
      EXPECT_EQ(CbGetItemText(ctl.account, 0), "301 Bank BRI");
      FrmClose(entry, 0);
    });
    Command(c.button);
    EXPECT_TRUE(ran);
    EXPECT_TRUE(WinIsWindowEnabled(w));
  }
}

TEST_F(JournalListTest, AnEntrySavedFromTheListAppearsOnRefresh) {
  Open();
  OnModal([&](QWidget*) {
    CbSetCurSel(gFormRekMasuk.account, 0);
    DtpSetDate(gFormRekMasuk.date, "2024-09-10");
    CtlSetText(gFormRekMasuk.desc, "Donasi");
    CtlSetText(gFormRekMasuk.amount, "1.250.000");
    ExpectMsgBox(kJournalSaved, "Entry Data..", IDOK, MB_OK | MB_ICONINFORMATION);
    ExpectMsgBox(kJournalPrintQuestion, "Print?", IDNO, MB_YESNO | MB_ICONQUESTION);
    Click(gFormRekMasuk.save);
    FrmClose(gFormRekMasukWindow, 0);
  });
  Command(gForm15IncomeId);
  EXPECT_EQ(LvGetItemCount(gForm15List), 3);   // not reloaded
  Command(gForm15RefreshId);
  EXPECT_EQ(ListRows(gForm15List).back(),
            (std::vector<std::string>{"INC20240902101530", "2024-09-10", "411", "Donasi", "1250000", "0", "ani"}));
}

TEST_F(JournalListTest, TheListHandlesNoClickDoubleClickOrKey) {
  // Entries are added and deleted, never changed in place: nothing opens (an entry window would be an unscripted
  // modal form) and neither the list nor the table changes.
  Open();
  const Rows before = Db("select * from transaksi order by rowid");
  auto* v = dynamic_cast<QTableView*>(WinWidget(gForm15List));
  ASSERT_NE(v, nullptr);
  for (int row : {0, 1, 2}) {
    SCOPED_TRACE(row);
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, v->visualRect(v->model()->index(row, 1)).center());
    DoubleClickRow(gForm15List, row);
    LvSelectItem(gForm15List, row);
    CtlSetFocus(gForm15List);
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_Delete, Qt::Key_F2})
      QTest::keyClick(WinWidget(gForm15List), key);
    VerifySeams();
    EXPECT_FALSE(IsWindow(gFormRekMasukWindow));
    EXPECT_FALSE(IsWindow(gFormRekKeluarWindow));
  }
  EXPECT_EQ(ListRows(gForm15List), kSeptemberCash);
  EXPECT_EQ(Db("select * from transaksi order by rowid"), before);
}

TEST_F(JournalListTest, EachJournalListWorksOnItsOwnList) {
  const Hwnd cash = Open("JURNAL KAS");
  const Hwnd cashList = gForm15List;
  const Hwnd bank = Open("JURNAL BANK");
  const Hwnd bankList = gForm15List;
  ASSERT_NE(cashList, bankList);
  fintest::Exec(gDb, "INSERT INTO transaksi (id, tgl, masuk, keluar, sts) VALUES ('INC-K','2024-09-09',1,0,'k')");
  FORM15_OnToolbar(cash, 0, 0, gForm15RefreshId);
  EXPECT_EQ(gForm15Window, cash);
  EXPECT_EQ(LvGetItemCount(cashList), 4);
  EXPECT_EQ(LvGetItemCount(bankList), 1);
  WinDestroyWindow(bank);
  EXPECT_EQ(gForm15Window, cash);
  WinDestroyWindow(cash);
  EXPECT_EQ(gForm15Window, 0);
  EXPECT_EQ(gForm15List, 0);
}

}  // namespace
