// The savings list "Data Penerimaan Tabungan" driven as an operator would: the month's unprinted savings rows, the
// refresh with the students' balances, deleting with Yes/No, the exports and the teller it opens.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <QMdiArea>
#include <filesystem>
#include <string>
#include <vector>

#include "app/globals.h"
#include "common/globals.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/window_system.h"
#include "savings/savings_globals.h"
#include "savings/savings_list_window.h"
#include "support/fixtures.h"
#include "support/operator.h"
#include "support/seams_fixture.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

const char kDeleteQuestion[] =
    "Apakah anda yakin akan menghapus record ini? Cobalah koreksi data yang terkait dengan record ini, mungkin bisa "
    "mengakibatkan perubahan referensi data dan mengakibatkan data menjadi rancu..";
const std::vector<std::string> kLoadColumns = {"ID",     "TGL",   "SISWAID", "NAMASISWA",
                                               "URAIAN", "MASUK", "KELUAR",  "PETUGAS"};
const std::vector<std::string> kRefreshColumns = {"ID",    "TGL",    "SISWAID", "NAMASISWA", "URAIAN",
                                                  "MASUK", "KELUAR", "SALDO",   "PETUGAS"};

class SavingsListTest : public fintest::SeamsTest {
 protected:
  void SetUp() override {
    gDb = fintest::CreateDatabase(WorkFile("data.db3"));
    gTapel = "2020/2021";
    gReportMonth = 3;
    gEditMode = -1;
    gSchoolName = "SD Harapan";
    gSchoolAddress = "Jl. Merdeka 5";
    area_ = new QMdiArea;
    area_->resize(1200, 700);
    gMdiClient = WinHandle(area_);
    WinWatchWindow(gMdiClient);
    area_->show();
    // S1: an unprinted deposit of 700 and withdrawal of 200 in March, a printed deposit of 100 in February and a fee
    // payment in March. S2: an unprinted deposit on the last day of March, a savings use at a payment, a printed
    // March row and an unprinted April row. X9: no longer a student.
    fintest::Exec(gDb,
                  "INSERT INTO siswa (Id, Nama) VALUES ('S1', 'ANI'), ('S2', 'BUDI');"
                  "INSERT INTO transaksi (id, tgl, uraian, acctid, siswaid, masuk, keluar, petugas, sts, jenjang, Ref)"
                  " VALUES"
                  " ('S120210302080000', '2021-03-02', '01-Setoran Tunai', 'Tabungan', 'S1', 700, 0, 'ani', 't', '-',"
                  "  '1-2'),"
                  " ('S120210310080000', '2021-03-10', '02-Penarikan Tunai', 'Tabungan', 'S1', 0, 200, 'ani', 't',"
                  "  '-', '1-3'),"
                  " ('S120210201080000', '2021-02-01', '01-Setoran Tunai', 'Tabungan', 'S1', 100, 0, 'ani', '-', '-',"
                  "  '1-1'),"
                  " ('20202021202103030800001', '2021-03-03', 'SPP', 'SPP01', 'S1', 500, 0, 'ani', 'p', '-', '4-1'),"
                  " ('S220210331080000', '2021-03-31', '01-Setoran Tunai', 'Tabungan', 'S2', 50, 0, 'budi', 't', '-',"
                  "  '1-3'),"
                  " ('20202021202103050900003', '2021-03-05', '02-Penarikan utk pembayaran', 'Tabungan', 'S2', 0, 20,"
                  "  'budi', 't', '-', NULL),"
                  " ('S220210301080000', '2021-03-01', '01-Setoran Tunai', 'Tabungan', 'S2', 30, 0, 'budi', '-', '-',"
                  "  '1-1'),"
                  " ('S220210401080000', '2021-04-01', '01-Setoran Tunai', 'Tabungan', 'S2', 40, 0, 'budi', 't', '-',"
                  "  '1-4'),"
                  " ('X920210315080000', '2021-03-15', '03-Hadiah', 'Tabungan', 'X9', 10, 0, 'ani', 't', '-', '1-1');");
  }
  void TearDown() override {
    if (IsWindow(gFormTabunganWindow)) WinDestroyWindow(gFormTabunganWindow);
    for (Hwnd w : opened_)
      if (IsWindow(w)) WinDestroyWindow(w);
    delete area_;
    gMdiClient = 0;
    gSchoolName.clear();
    gSchoolAddress.clear();
    unsetenv("FIN_PLUGIN_RECORD");
    sqlite3_close(gDb);
    gDb = nullptr;
  }

  Hwnd Open() {
    const Hwnd w = static_cast<Hwnd>(FORM14_Show(gMdiClient, 1, 0));
    EXPECT_TRUE(IsWindow(w));
    opened_.push_back(w);
    return w;
  }
  static std::vector<std::string> Columns() {
    std::vector<std::string> out;
    for (int c = 0; c < LvGetColumnCount(gForm14List); ++c) out.push_back(LvGetColumnText(gForm14List, c));
    return out;
  }
  static Rows ListRows() { return fintest::ListRows(gForm14List); }
  static std::vector<std::string> Ids() {
    std::vector<std::string> out;
    for (int r = 0; r < LvGetItemCount(gForm14List); ++r) out.push_back(LvGetItemText(gForm14List, r, 0));
    return out;
  }
  // The row of `id` in `list` (the newest window's list unless given); -1 when none.
  static int RowOf(const std::string& id, Hwnd list = gForm14List) { return fintest::RowWithText(list, id); }
  int Count(const std::string& id) {
    return std::stoi(fintest::Query(gDb, "SELECT count(*) FROM transaksi WHERE id='" + id + "'")[0][0]);
  }

  QMdiArea* area_ = nullptr;
  std::vector<Hwnd> opened_;
};

TEST_F(SavingsListTest, OpensAsAMaximisedMdiChildWithItsToolbar) {
  const Hwnd w = Open();
  EXPECT_EQ(w, gForm14Window);
  EXPECT_EQ(WinKindOf(w), WIN_MDI_CHILD);
  EXPECT_EQ(WinGetClassName(w), "FORM_FINANCE_FORM14_CLASS");
  EXPECT_EQ(WinGetWindowText(w), "Data Penerimaan Tabungan");
  EXPECT_EQ(WinGetDlgCtrlID(w), 104);
  EXPECT_TRUE(WinIsZoomed(w));
  EXPECT_EQ(TbGetButtonCount(gForm14Toolbar), 6);
  const std::vector<std::pair<int, std::string>> tips = {
      {5101, "Tambah Data Tabungan Baru"},
      {5102, "Hapus Item Data Tabungan"},
      {5103, "Export Ke Excel"},
      {5104, "Cetak Ke Broswer"},
      {5105, "Refresh / membaca ulang Data Tabungan dari database"},
  };
  for (const auto& [id, tip] : tips) EXPECT_EQ(TbGetButtonTip(gForm14Toolbar, id), tip) << id;
  EXPECT_EQ(WinGetClassName(gForm14List), "SysListView32");
  EXPECT_EQ(WinGetDlgCtrlID(gForm14List), 1000);
  const WinRect list = WinGetWindowRect(gForm14List);
  EXPECT_EQ(list.left, FrmScaleX(8));
  EXPECT_GE(list.top, CtlGetHeight(gForm14Rebar));
  EXPECT_EQ(WinGetFocus(), gForm14List);
  WinDestroyWindow(w);
  EXPECT_EQ(gForm14Window, 0);
}

TEST_F(SavingsListTest, ListsTheMonthsUnprintedSavingsRows) {
  Open();
  EXPECT_EQ(Columns(), kLoadColumns);
  EXPECT_EQ(ListRows(),
            (Rows{{"20202021202103050900003", "2021-03-05", "S2", "BUDI", "02-Penarikan utk pembayaran", "0", "20",
                   "budi"},
                  {"S120210302080000", "2021-03-02", "S1", "ANI", "01-Setoran Tunai", "700", "0", "ani"},
                  {"S120210310080000", "2021-03-10", "S1", "ANI", "02-Penarikan Tunai", "0", "200", "ani"},
                  {"S220210331080000", "2021-03-31", "S2", "BUDI", "01-Setoran Tunai", "50", "0", "budi"},
                  {"X920210315080000", "2021-03-15", "X9", "", "03-Hadiah", "10", "0", "ani"}}));
}

TEST_F(SavingsListTest, RefreshAddsEachStudentsBalance) {
  Open();
  for (int round = 0; round < 2; ++round) {
    TbClickButton(gForm14Toolbar, gForm14RefreshButtonId);
    EXPECT_EQ(Columns(), kRefreshColumns);
    EXPECT_EQ(LvGetItemCount(gForm14List), 5);
    // S1: 100 + 700 - 200, the fee payment left out; S2: 30 + 50 - 20 + 40 (every date and state); X9: 10.
    const std::vector<std::pair<std::string, std::string>> saldo = {{"S120210302080000", "600"},
                                                                    {"S120210310080000", "600"},
                                                                    {"S220210331080000", "100"},
                                                                    {"20202021202103050900003", "100"},
                                                                    {"X920210315080000", "10"}};
    for (const auto& [id, value] : saldo) EXPECT_EQ(LvGetItemText(gForm14List, RowOf(id), 7), value) << id;
    EXPECT_EQ(LvGetItemText(gForm14List, RowOf("S120210302080000"), 8), "ani");
  }
}

TEST_F(SavingsListTest, TheReportMonthChoosesTheYearOfTheSchoolYear) {
  EXPECT_EQ(FORM14_PeriodYear("2020/2021", 7), "2020");
  EXPECT_EQ(FORM14_PeriodYear("2020/2021", 12), "2020");
  EXPECT_EQ(FORM14_PeriodYear("2020/2021", 1), "2021");
  EXPECT_EQ(FORM14_PeriodYear("2020/2021", 6), "2021");
  EXPECT_EQ(FORM14_PeriodMonth(3), "03");
  EXPECT_EQ(FORM14_PeriodMonth(11), "11");
  EXPECT_EQ(FORM14_LoadSql("2020/2021", 3),
            "select Id, Tgl, SiswaId, (Select Nama From Siswa Where Id=SiswaId) As NamaSiswa, Uraian, Masuk, Keluar, "
            "Petugas from transaksi as a WHERE +Sts='t' And Tgl between '2021-03-01' and date('2021-03-01','start of "
            "month','+1 month','-1 day') Order By Id");
  EXPECT_EQ(FORM14_DeleteSql("a'b"), "Delete From Transaksi Where Id='a''b'");
  // April 2021 lists the April row only; a month without rows gives a list without columns.
  gReportMonth = 4;
  Open();
  EXPECT_EQ(Ids(), (std::vector<std::string>{"S220210401080000"}));
  gReportMonth = 9;
  Open();
  EXPECT_EQ(LvGetColumnCount(gForm14List), 0);
  EXPECT_EQ(LvGetItemCount(gForm14List), 0);
  fintest::Exec(gDb, "UPDATE transaksi SET tgl='2020-09-30' WHERE id='X920210315080000'");
  TbClickButton(gForm14Toolbar, gForm14RefreshButtonId);
  EXPECT_EQ(Ids(), (std::vector<std::string>{"X920210315080000"}));
}

TEST_F(SavingsListTest, DeleteAsksFirstAndRemovesTheSelectedRow) {
  Open();
  const int row = RowOf("S120210310080000");
  LvSelectItem(gForm14List, row);
  ExpectMsgBox(kDeleteQuestion, "Confirm Delete", IDNO, MB_YESNO | MB_ICONQUESTION);
  TbClickButton(gForm14Toolbar, gForm14DeleteButtonId);
  VerifySeams();
  EXPECT_EQ(Count("S120210310080000"), 1);
  EXPECT_EQ(LvGetItemCount(gForm14List), 5);

  ExpectMsgBox(kDeleteQuestion, "Confirm Delete", IDYES, MB_YESNO | MB_ICONQUESTION);
  TbClickButton(gForm14Toolbar, gForm14DeleteButtonId);
  VerifySeams();
  EXPECT_EQ(Count("S120210310080000"), 0);
  EXPECT_EQ(RowOf("S120210310080000"), -1);
  EXPECT_EQ(LvGetItemCount(gForm14List), 4);
  EXPECT_EQ(fintest::Query(gDb, "SELECT count(*) FROM transaksi")[0][0], "8");
}

TEST_F(SavingsListTest, EachListWorksOnItsOwnRows) {
  const Hwnd older = Open();
  const Hwnd newer = Open();
  ASSERT_NE(older, newer);
  const Hwnd olderList = WinGetDlgItem(older, gForm14ListId), newerList = WinGetDlgItem(newer, gForm14ListId);
  const Hwnd olderToolbar = WinGetDlgItem(WinGetDlgItem(older, gForm14RebarId), gForm14ToolbarId);
  LvSelectItem(olderList, RowOf("S120210310080000", olderList));
  LvSelectItem(newerList, RowOf("S220210331080000", newerList));
  ExpectMsgBox(kDeleteQuestion, "Confirm Delete", IDYES, MB_YESNO | MB_ICONQUESTION);
  TbClickButton(olderToolbar, gForm14DeleteButtonId);
  EXPECT_EQ(Count("S120210310080000"), 0);
  EXPECT_EQ(Count("S220210331080000"), 1);
  EXPECT_EQ(RowOf("S120210310080000", olderList), -1);
  EXPECT_EQ(LvGetItemCount(newerList), 5);

  // Refresh in the older window fills the older list.
  TbClickButton(olderToolbar, gForm14RefreshButtonId);
  EXPECT_EQ(LvGetColumnCount(olderList), static_cast<int>(kRefreshColumns.size()));
  EXPECT_EQ(LvGetColumnCount(newerList), static_cast<int>(kLoadColumns.size()));
}

TEST_F(SavingsListTest, DeleteWithoutSelectionOrWithAFailureChangesNothing) {
  Open();
  ExpectMsgBox(kDeleteQuestion, "Confirm Delete", IDYES, MB_YESNO | MB_ICONQUESTION);
  TbClickButton(gForm14Toolbar, gForm14DeleteButtonId);
  VerifySeams();
  EXPECT_EQ(LvGetItemCount(gForm14List), 5);
  EXPECT_EQ(fintest::Query(gDb, "SELECT count(*) FROM transaksi")[0][0], "9");

  fintest::Exec(gDb, "CREATE TRIGGER keep BEFORE DELETE ON transaksi BEGIN SELECT RAISE(ABORT, 'dikunci'); END;");
  LvSelectItem(gForm14List, 0);
  ExpectMsgBox(kDeleteQuestion, "Confirm Delete", IDYES, MB_YESNO | MB_ICONQUESTION);
  ExpectMsgBox("SQL error: dikunci", "Info", IDOK);
  TbClickButton(gForm14Toolbar, gForm14DeleteButtonId);
  VerifySeams();
  EXPECT_EQ(LvGetItemCount(gForm14List), 5);
}

TEST_F(SavingsListTest, NewOpensTheTellerModallyOverTheList) {
  const Hwnd w = Open();
  bool shown = false;
  OnModal([&](QWidget*) {
    shown = IsWindow(gFormTabunganWindow);
    EXPECT_FALSE(WinIsWindowEnabled(w));
    FrmClose(gFormTabunganWindow, 0);
  });
  TbClickButton(gForm14Toolbar, gForm14AddButtonId);
  VerifySeams();
  EXPECT_TRUE(shown);
  EXPECT_EQ(gEditMode, 0);
  EXPECT_TRUE(WinIsWindowEnabled(w));
  EXPECT_EQ(LvGetItemCount(gForm14List), 5);   // not reloaded
}

TEST_F(SavingsListTest, PageExportHandsTheListToThePlugin) {
  std::filesystem::copy_file(std::string(FIN_BINARY_DIR) + "/tests/plugins/libfin_plugin_recorder.so",
                             ProgramFile("libtablepage.so"), std::filesystem::copy_options::overwrite_existing);
  setenv("FIN_PLUGIN_RECORD", WorkFile("record.txt").c_str(), 1);
  gReportMonth = 4;
  Open();
  TbClickButton(gForm14Toolbar, gForm14BrowserButtonId);
  EXPECT_EQ(fintest::ReadFile(WorkFile("record.txt")),
            "LAPORAN DATA TABUNGAN;SD Harapan;Jl. Merdeka 5;llllllll\n"
            "ID;TGL;SISWAID;NAMASISWA;URAIAN;MASUK;KELUAR;PETUGAS\n"
            "S220210401080000,2021-04-01,S2,BUDI,01-Setoran Tunai,40,0,budi\n");
  // Without the workbook plug-in the export is abandoned with its box.
  ExpectMsgBox("tidak dapat membaca library..", "Export To excel..", IDOK);
  gTargetListView = 0;
  TbClickButton(gForm14Toolbar, gForm14ExcelButtonId);
  EXPECT_EQ(gTargetListView, gForm14List);
}

}  // namespace
