// The payment report window FORM10 and its selection dialog FORMLAPBAYAR driven as the operator drives them: the
// window and its toolbar, the dialog's controls and how their lists fill, closing without a report, the exports
// through the plug-ins, two windows side by side, and failing statements.
#include <QCalendarWidget>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QPalette>
#include <QTableView>
#include <QTest>
#include <cstdlib>

#include "plugins/plugin_setup.h"
#include "reports/payment_report_fixture.h"

namespace {

using payreptest::PaymentReportTest;
using payreptest::Rows;

class PaymentReportWindowTest : public PaymentReportTest {
 protected:
  void SetUp() override { Seed(); }
  void TearDown() override {
    for (const char* v : {"FIN_PLUGIN_RECORD", "FIN_PLUGIN_RECORD_INTS"}) unsetenv(v);
  }
  void Install(const std::string& built, const std::string& name) {
    plugintest::InstallPlugin(built, programDir(), name);
  }
};

TEST_F(PaymentReportWindowTest, OpensAsAMaximisedChildWithAnEmptyList) {
  const Hwnd w = Open();
  ASSERT_TRUE(IsWindow(w));
  EXPECT_EQ(w, gForm10Window);
  EXPECT_EQ(WinKindOf(w), WIN_MDI_CHILD);
  EXPECT_EQ(WinGetClassName(w), "FORM_FINANCE_FORM10_CLASS");
  EXPECT_EQ(WinGetWindowText(w), "Laporan Pembayaran");
  EXPECT_EQ(WinGetDlgCtrlID(w), 101);
  EXPECT_TRUE(WinIsZoomed(w));
  EXPECT_EQ(TbGetButtonCount(gForm10Toolbar), 3);
  EXPECT_EQ(LvGetColumnCount(gForm10List), 0);
  EXPECT_EQ(LvGetItemCount(gForm10List), 0);
  EXPECT_EQ(WinWidget(w)->focusWidget(), WinWidget(gForm10List));
  // The list stands at the left edge directly under the rebar.
  EXPECT_EQ(WinWidget(gForm10List)->x(), 0);
  EXPECT_EQ(WinWidget(gForm10List)->y(), CtlGetHeight(gForm10Rebar));
  // A second command gives a further window.
  const Hwnd second = Open();
  EXPECT_NE(second, w);
  EXPECT_TRUE(IsWindow(w));
}

TEST_F(PaymentReportWindowTest, TheDialogOpensModalOverTheWindow) {
  const Hwnd w = Open();
  WithDialog([&] {
    const Hwnd d = gFormLapBayarWindow;
    ASSERT_TRUE(IsWindow(d));
    EXPECT_EQ(WinGetClassName(d), "FORM_FINANCE_FORMLAPBAYAR_CLASS");
    EXPECT_EQ(WinGetWindowText(d), "Laporan Pembayaran");
    EXPECT_FALSE(WinIsWindowEnabled(w));
    // Classes in use this year, without 'DO', graduates and last year's classes; the first shown.
    EXPECT_EQ(ComboItems(gFormLapBayarClassCombo), (std::vector<std::string>{"IX B", "VII A"}));
    EXPECT_EQ(CtlGetText(gFormLapBayarClassCombo), "IX B");
    EXPECT_EQ(CbGetCount(gFormLapBayarAccountCombo), 0);   // until a class is picked
    EXPECT_EQ(CtlGetText(gFormLapBayarFromDate), "2024-09-03");
    EXPECT_EQ(CtlGetText(gFormLapBayarToDate), "2024-09-03");
    EXPECT_EQ(WinWidget(d)->focusWidget(), WinWidget(gFormLapBayarMonthlyButton));
    const std::vector<std::pair<Hwnd, const char*>> texts = {
        {gFormLapBayarMonthlyButton, "Show Laporan Pembayaran Per Bulan"},
        {gFormLapBayarTodayButton, "Show Pembayaran Hari Ini"},
        {gFormLapBayarAccountLabel, "Rekap Pembayaran Per Bulan"},
        {gFormLapBayarDailyButton, "Show Rekap Pembayaran Harian Per Kelas"},
        {gFormLapBayarClassLabel, "Kelas"},
        {gFormLapBayarPeriodLabel, "Dari Tanggal s/d Tanggal"},
        {gFormLapBayarMonthButton, "Show Pembayaran Per Tanggal"},
        {gFormLapBayarRecapButton, "Show Rekap Pembayaran Per Kelas"},
        {gFormLapBayarShowDataButton, "Show Data"}};
    for (auto [h, text] : texts) EXPECT_EQ(CtlGetText(h), text);
    EXPECT_NE(qobject_cast<QGroupBox*>(WinWidget(gFormLapBayarGroup)), nullptr);
    // The date pickers' calendars: white, black text, the neighbouring months' days grey.
    auto* picker = qobject_cast<QDateTimeEdit*>(WinWidget(gFormLapBayarFromDate));
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->displayFormat(), "yyyy-MM-dd");
    ASSERT_NE(picker->calendarWidget(), nullptr);
    const QPalette p = picker->calendarWidget()->palette();
    EXPECT_EQ(p.color(QPalette::Base), QColor(Qt::white));
    EXPECT_EQ(p.color(QPalette::Text), QColor(Qt::black));
    EXPECT_EQ(p.color(QPalette::Disabled, QPalette::Text), QColor(109, 109, 109));
  });
  EXPECT_FALSE(IsWindow(gFormLapBayarWindow));
  EXPECT_TRUE(WinIsWindowEnabled(w));
}

TEST_F(PaymentReportWindowTest, PickingAClassOffersItsMonthlyFees) {
  fintest::Exec(gDb, "INSERT INTO siswakelas (Kode, IdSiswa, Kelas, Tapel) VALUES ('k','S05','VIII C','2024/2025');"
                     "INSERT INTO account (Id, Pembayaran, Kelas, Type, Tapel) VALUES"
                     " ('VIII-BUKU','Buku VIII','VIII C','Pertahun','2024/2025'),"
                     " ('VII-LES','Les VII','VII A','Perbulan','2024/2025'),"
                     " ('VII-OLD','SPP lama','VII A','Perbulan','2023/2024')");
  Open();
  WithDialog([&] {
    struct Case {
      const char* kelas;
      std::vector<std::string> fees;
    } cases[] = {{"VII A", {"VII-SPP; SPP VII", "VII-LES; Les VII"}},   // monthly fees of this year only
                 {"IX B", {"IX-SPP; SPP IX"}},
                 {"VIII C", {}}};                                      // yearly fees only: none offered
    for (const Case& c : cases) {
      SCOPED_TRACE(c.kelas);
      Choose(gFormLapBayarClassCombo, c.kelas);
      EXPECT_EQ(ComboItems(gFormLapBayarAccountCombo), c.fees);
      EXPECT_EQ(CtlGetText(gFormLapBayarAccountCombo), c.fees.empty() ? "" : c.fees[0]);
    }
    // The class without monthly fees: the monthly fee report refuses.
    ExpectMsgBox("Pilih Kelas, Kategori dan Akun Pembayaran Per Bulan terlebih dahulu, sebelum menjalankan perintah "
                 "ini..",
                 "Info");
    Click(gFormLapBayarMonthlyButton);
    EXPECT_TRUE(IsWindow(gFormLapBayarWindow));
    EXPECT_EQ(LvGetColumnCount(gForm10List), 0);
  });
}

TEST_F(PaymentReportWindowTest, ClosingTheDialogKeepsTheReport) {
  Open();
  ASSERT_TRUE(Build(&gFormLapBayarTodayButton));
  const std::string report = Dump(gForm10List);
  WithDialog([&] { FrmClose(gFormLapBayarWindow, 0); });
  EXPECT_EQ(Dump(gForm10List), report);
  EXPECT_TRUE(WinIsWindowEnabled(gForm10Window));
}

TEST_F(PaymentReportWindowTest, ThePageExportWritesTheReportThroughThePagePlugin) {
  Install("libtablepage.so", "libtablepage.so");
  plugintest::FakeDesktopOpener opener;
  Open();
  ASSERT_TRUE(Build(&gFormLapBayarRecapButton));
  const std::string today = plugintest::PageToday();
  Command(gForm10PageId);
  // Amount columns right-aligned and with their separators, as the list shows them; the period is today.
  EXPECT_EQ(plugintest::WithPeriod(fintest::ReadFile(ProgramFile("Lap.html")), today, "09-03-2024"),
            Expected("payment_recap_page.html"));
  EXPECT_EQ(opener.log(), ProgramFile("Lap.html") + "\n");
}

TEST_F(PaymentReportWindowTest, ExportsHandTheListToThePlugins) {
  setenv("FIN_PLUGIN_RECORD", WorkFile("record.txt").c_str(), 1);
  Open();
  ASSERT_TRUE(Build(&gFormLapBayarTodayButton));
  Install("tests/plugins/libfin_plugin_recorder.so", "libtablepage.so");
  Command(gForm10PageId);
  EXPECT_EQ(fintest::ReadFile(WorkFile("record.txt")),
            "LAPORAN PEMBAYARAN SISWA;SD Harapan;Jl. Merdeka 5;rlrr\n"
            "-;Keterangan;Rp.;Jumlah\n"
            ",Tanggal : 2024-09-03,,;S04,Dedi,,;    1,IX-SPP-SPP IX,150.000,;,GRAND TOTAL ,,150.000\n");

  Install("tests/plugins/libfin_plugin_recorder.so", "libtablesheet.so");
  setenv("FIN_PLUGIN_RECORD_INTS", "1", 1);
  gTargetListView = 0;
  Command(gForm10ExcelId);
  EXPECT_EQ(gTargetListView, gForm10List);
  EXPECT_EQ(fintest::ReadFile(WorkFile("record.txt")),
            "4\n4\n-,Keterangan,Rp.,Jumlah;,Tanggal : 2024-09-03,,;S04,Dedi,,;    1,IX-SPP-SPP IX,150000,;"
            ",GRAND TOTAL ,,150000\n");
}

TEST_F(PaymentReportWindowTest, AMissingPluginIsReported) {
  Open();
  ExpectMsgBox("tidak dapat membaca library..", "Export To excel..");
  Command(gForm10ExcelId);
  ExpectMsgBox("tidak dapat membaca library..", "Export To excel..");
  Command(gForm10PageId);
}

TEST_F(PaymentReportWindowTest, EachWindowReportsIntoItsOwnList) {
  const Hwnd first = Open();
  const Hwnd firstList = gForm10List;
  const Hwnd second = Open();
  const Hwnd secondList = gForm10List;
  ASSERT_NE(firstList, secondList);
  ASSERT_TRUE(Build(&gFormLapBayarTodayButton));   // from the second window
  EXPECT_EQ(LvGetColumnCount(firstList), 0);
  EXPECT_EQ(LvGetItemCount(secondList), 4);
  // The first window's dialog fills the first window's list and leaves the second one's report alone.
  FORM10_Bind(first);
  ASSERT_TRUE(Build(&gFormLapBayarRecapButton));
  EXPECT_EQ(Dump(firstList), Expected("payment_class_recap.txt"));
  EXPECT_EQ(Dump(secondList), Expected("payment_today_list.txt"));
  // A window that goes takes the globals with it; the other keeps working.
  WinDestroyWindow(first);
  EXPECT_EQ(gForm10List, 0);
  FORM10_Bind(second);
  EXPECT_EQ(gForm10List, secondList);
}

// Two windows open at once: the older one exports the report it shows, not the one built last.
TEST_F(PaymentReportWindowTest, EachWindowExportsTheReportItShows) {
  setenv("FIN_PLUGIN_RECORD", WorkFile("record.txt").c_str(), 1);
  Install("tests/plugins/libfin_plugin_recorder.so", "libtablepage.so");
  Open();
  const Hwnd firstList = gForm10List, firstToolbar = gForm10Toolbar;
  ASSERT_TRUE(Build(&gFormLapBayarTodayButton));
  Open();
  ASSERT_TRUE(Build(&gFormLapBayarRecapButton));
  fintest::ClickListRow(firstList, 0);
  ASSERT_EQ(TbClickButton(firstToolbar, gForm10PageId), 1);
  EXPECT_EQ(fintest::ReadFile(WorkFile("record.txt")),
            "LAPORAN PEMBAYARAN SISWA;SD Harapan;Jl. Merdeka 5;rlrr\n"
            "-;Keterangan;Rp.;Jumlah\n"
            ",Tanggal : 2024-09-03,,;S04,Dedi,,;    1,IX-SPP-SPP IX,150.000,;,GRAND TOTAL ,,150.000\n");
  gTargetListView = 0;
  Install("tests/plugins/libfin_plugin_recorder.so", "libtablesheet.so");
  setenv("FIN_PLUGIN_RECORD_INTS", "1", 1);
  ASSERT_EQ(TbClickButton(firstToolbar, gForm10ExcelId), 1);
  EXPECT_EQ(gTargetListView, firstList);
}

TEST_F(PaymentReportWindowTest, TheDialogReportsIntoTheWindowItWasOpenedFromWhateverIsClickedMeanwhile) {
  const Hwnd first = Open();
  const Hwnd firstList = gForm10List;
  const Hwnd second = Open();
  const Hwnd secondList = gForm10List;
  ASSERT_TRUE(Build(&gFormLapBayarTodayButton));   // from the second window
  ASSERT_EQ(LvGetItemCount(secondList), 4);
  FORM10_Bind(first);
  WithDialog([&] {
    // A click on a row of the second window's report makes that window the current one.
    fintest::ClickListRow(secondList, 0);
    EXPECT_EQ(gForm10Window, second);
    Click(gFormLapBayarRecapButton);
  });
  EXPECT_EQ(Dump(firstList), Expected("payment_class_recap.txt"));
  EXPECT_EQ(Dump(secondList), Expected("payment_today_list.txt"));
}

TEST_F(PaymentReportWindowTest, AFailingClassQueryIsShownAndTheDialogStaysUsable) {
  Open();
  fintest::Exec(gDb, "DROP TABLE siswakelas");
  ExpectMsgBox("SQL error: no such table: siswakelas", "Info");
  WithDialog([&] {
    VerifySeams();
    EXPECT_EQ(CbGetCount(gFormLapBayarClassCombo), 0);
    Click(gFormLapBayarTodayButton);
    EXPECT_FALSE(IsWindow(gFormLapBayarWindow));
  });
  EXPECT_EQ(Dump(gForm10List), Expected("payment_today_list.txt"));
}

}  // namespace
