// The finishing pass over a report list: which columns are amount columns, how each variant turns a cell into its
// display form, the totals row the builders share, and the finished list on its way to the page plug-in.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/export.h"
#include "framework/controls.h"
#include "framework/window_system.h"
#include "reports/report_finishing.h"
#include "reports/report_fixture.h"

namespace {

TEST(ReportFinishing, AmountColumnsAreFoundByTheirCaptions) {
  struct Case {
    const char* caption;
    bool amount;
  } cases[] = {
      {"Kode", false},          {"Uraian", false},      {"Nama Siswa", false},   {"Id", false},
      {"Jumlah Sub", true},     {"Jumlah", true},       {"jml", true},           {"JML", true},
      {"Masuk", true},          {"KELUAR", true},       {"saldo", true},         {"Potongan Rp.", true},
      {"Jumlah Rp.", true},     {" Rp.", true},         {"Jumlah Rp", false},    {"rp.", false},
      {"SPP+", true},           {"Jumlah Bayar", false}, {"Saldo Tabungan", false}, {"JUMLAH ", false},
      {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(FinIsAmountCaption(c.caption), c.amount) << "'" << c.caption << "'";
}

TEST(ReportFinishing, CellsInEachVariant) {
  struct Case {
    const char* cell;
    const char* plain;   // also the variant from the third column; nullptr: not checked
    const char* whole;
  } cases[] = {
      {"", "", ""},
      {"0", "0", "0"},
      {"999", "999", "999"},
      {"7000", "7.000", "7.000"},
      {"9876543", "9.876.543", "9.876.543"},
      {"9876543210987", "9.876.543.210.987", "9.876.543.210.987"},
      {"9876543210987654", "9876.543.210.987.654", "9876.543.210.987.654"},
      {"-750000", "-750.000", "-750.000"},
      {"2750000.6", "275.000.0.6", "2.750.000"},   // the plain variants take the text as it is
      {"2750000.75", "2.750.000..75", "2.750.000"},
      {"-0.5", "-0.5", "-1"},
      {"-999.1", "-99.9.1", "-1.000"},
      {"-0", "-0", "0"},
      {"-2.000", "-2..000", "-2"},
      {"abc", "abc", "0"},
      {"  -3.5x", nullptr, "-4"},
      {"9876543210987654.9", nullptr, "9876.543.210.987.654"},
  };
  for (const Case& c : cases) {
    if (c.plain) {
      EXPECT_EQ(FinFinishCell(c.cell, FinFinishVariant::Plain), c.plain) << c.cell;
      EXPECT_EQ(FinFinishCell(c.cell, FinFinishVariant::FromThirdColumn), c.plain) << c.cell;
    }
    EXPECT_EQ(FinFinishCell(c.cell, FinFinishVariant::WholeNumbers), c.whole) << c.cell;
  }
}

TEST(ReportFinishing, TotalsLabels) {
  EXPECT_STREQ(kFinTotalsJumlah, "    JUMLAH ");
  EXPECT_STREQ(kFinTotalsGrand, "GRAND TOTAL ");
  EXPECT_STREQ(kFinTotalsAll, "Total Seluruhnya");
}

TEST(ReportFinishing, CellValues) {
  EXPECT_EQ(FinReportCellValue(""), 0);
  EXPECT_EQ(FinReportCellValue("2750000"), 2750000);
  EXPECT_EQ(FinReportCellValue("-750000"), -750000);
  EXPECT_EQ(FinReportCellValue("2.750.000"), 3);   // 2.75: the dots are no separators here
  EXPECT_EQ(FinReportCellValue("2.750.000", true), 2750000);
  EXPECT_EQ(FinReportCellValue("-1.250.000", true), -1250000);
  EXPECT_EQ(FinReportCellValue("12.5"), 12);   // half to even
  EXPECT_EQ(FinReportCellValue("13.5"), 14);
  EXPECT_EQ(FinReportCellValue("9876543210987"), 9876543210987LL);   // beyond 32 bits
}

class FinishListTest : public fintest::ReportTest {
 protected:
  FinishListTest() {
    list = WinCreateControl(0, "SysListView32", "", LVS_REPORT, 0, 0, 600, 300, 0, 77);
  }
  ~FinishListTest() override { WinDestroyWindow(list); }
  void Columns(const std::vector<std::string>& captions) {
    for (std::size_t i = 0; i < captions.size(); ++i)
      LvInsertColumn(list, static_cast<int>(i), captions[i], LVCFMT_CENTER, 80);
  }
  Hwnd list = 0;
};

// Each appended row's index; a short row, an empty one and cells past the last column; no list, no row.
TEST_F(FinishListTest, AppendedRowsComeAtTheEndCellsInTheirColumns) {
  Columns({"No", "Nama", "Jumlah"});
  EXPECT_EQ(FinAppendReportRow(list, {"1", "Ani", "5000"}), 0);
  EXPECT_EQ(FinAppendReportRow(list, {"", "Budi"}), 1);
  EXPECT_EQ(FinAppendReportRow(list, {}), 2);
  EXPECT_EQ(FinAppendReportRow(list, {"4", "", "7000", "lebih"}), 3);
  EXPECT_EQ(Dump(list),
            "No(c) | Nama(c) | Jumlah(c)\n"
            "1 | Ani | 5000\n"
            " | Budi | \n"
            " |  | \n"
            "4 |  | 7000\n");
  EXPECT_EQ(LvGetItemData(list, 3, 0), 0);
  EXPECT_EQ(FinAppendReportRow(0, {"x"}), -1);
}

TEST_F(FinishListTest, PlainPassFormatsOnlyTheAmountColumnsTotalsRowIncluded) {
  Columns({"Id", "Nama Siswa", "SPP Rp.", "Potongan Rp.", "Jumlah Bayar", "Jumlah Rp."});
  FinAppendReportRow(list, {"S1", "Ani", "1500000", "-25000", "1500000", "1475000"});
  FinAppendReportRow(list, {"S2", "Budi", "750000", "", "20000", "750000"});
  FinAppendReportRow(list, {"S3", "Citra 1000000", "0", "", "", "0"});
  EXPECT_EQ(FinAppendTotalsRow(list, kFinTotalsJumlah, 2), 3);
  FinFinishReportList(list, FinFinishVariant::Plain);
  ExpectMatchesFile(Dump(list), "finishing_plain.txt");
}

TEST_F(FinishListTest, FromTheThirdColumnEveryColumnIsAnAmountWhateverItsCaption) {
  Columns({"Jumlah", "Kelas", "01", "02", "Nama"});
  FinAppendReportRow(list, {"1000", "7000", "125000", "", "3000000"});
  FinAppendTotalsRow(list, kFinTotalsAll, 2);
  FinFinishReportList(list, FinFinishVariant::FromThirdColumn);
  EXPECT_EQ(Dump(list),
            "Jumlah(c) | Kelas(c) | 01(r) | 02(r) | Nama(r)\n"
            "1000 | 7000 | 125.000 |  | 3.000.000\n"
            " | Total Seluruhnya | 125.000 | 0 | 3.000.000\n");
}

TEST_F(FinishListTest, WholeNumbersRoundDownBeforeTheSeparators) {
  Columns({"Kode", "Uraian", "Jumlah Sub", "Jumlah"});
  FinAppendReportRow(list, {"411", " - SPP", "2750000.6", ""});
  FinAppendReportRow(list, {"", "Potongan", "-0.5", "-750000"});
  FinAppendReportRow(list, {"D.", "999", "", "1234567.999"});
  FinFinishReportList(list, FinFinishVariant::WholeNumbers);
  EXPECT_EQ(Dump(list),
            "Kode(c) | Uraian(c) | Jumlah Sub(r) | Jumlah(r)\n"
            "411 |  - SPP | 2.750.000 | \n"
            " | Potongan | -1 | -750.000\n"
            "D. | 999 |  | 1.234.567\n");
}

TEST_F(FinishListTest, TotalsRowSumsTheRawCellsAboveIt) {
  Columns({"No", "Nama", "Jan", "Feb"});
  FinAppendReportRow(list, {"1", "Ani", "2147483647", "-5"});
  FinAppendReportRow(list, {"2", "Budi", "2147483647", ""});
  FinAppendReportRow(list, {"3", "Citra", "abc", "12"});
  const int row = FinAppendTotalsRow(list, kFinTotalsJumlah, 2);
  EXPECT_EQ(LvGetItemText(list, row, 0), "");
  EXPECT_EQ(LvGetItemText(list, row, 1), "    JUMLAH ");
  EXPECT_EQ(LvGetItemText(list, row, 2), "4294967294");   // no 32-bit wrap
  EXPECT_EQ(LvGetItemText(list, row, 3), "7");
  EXPECT_EQ(FinColumnSum(list, 3, 0, 2), -5);
  // A label in another column, nothing summed.
  const int bare = FinAppendTotalsRow(list, kFinTotalsGrand, -1, 3);
  EXPECT_EQ(Dump(list).substr(Dump(list).rfind(" | GRAND")), " | GRAND TOTAL \n");
  EXPECT_EQ(LvGetItemText(list, bare, 2), "");
}

TEST_F(FinishListTest, NoListNoWork) {
  FinFinishReportList(0, FinFinishVariant::Plain);
  EXPECT_EQ(FinAppendTotalsRow(0, kFinTotalsJumlah, 2), -1);
  EXPECT_EQ(FinAppendReportRow(0, {"a"}), -1);
  EXPECT_EQ(FinColumnSum(0, 1), 0);
}

TEST_F(FinishListTest, TheFinishedListReachesThePagePluginRightAligned) {
  Columns({"Id", "Nama Siswa", "Jumlah Rp."});
  FinAppendReportRow(list, {"S1", "Ani, Siti", "1500000"});
  FinAppendReportRow(list, {"S2", "Budi", "-75000"});
  FinAppendTotalsRow(list, kFinTotalsJumlah, 2);
  FinFinishReportList(list);
  InstallRecorder("libtablepage.so");
  FinExportToPage("LAPORAN PEMBAYARAN", list);
  EXPECT_EQ(Record(),
            "LAPORAN PEMBAYARAN;SD Harapan;Jl. Merdeka 5;ccr\n"
            "Id;Nama Siswa;Jumlah Rp.\n"
            "S1,Ani- Siti,1.500.000;S2,Budi,-75.000;,    JUMLAH ,1.425.000\n");
  InstallRecorder("libtablesheet.so", true);
  gTargetListView = list;
  FinExportToSheet();
  EXPECT_EQ(Record(), "3\n3\nId,Nama Siswa,Jumlah Rp.;S1,Ani- Siti,1500000;S2,Budi,-75000;,    JUMLAH ,1425000\n");
}

}  // namespace
