// List export: the argument texts handed to the page and workbook plug-ins, the HTML cell builders, and the plug-in
// call with its failure boxes.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/globals.h"
#include "common/export.h"
#include "common/globals.h"
#include "framework/controls.h"
#include "framework/window_system.h"
#include "plugins/plugin_setup.h"
#include "support/fixtures.h"
#include "support/seams_fixture.h"

namespace {

const std::vector<ExportColumn> kColumns = {{"NIS", 0}, {"JUMLAH", 1}, {"KET", 2}};

TEST(ExportArgs, PageArgumentsOfASmallList) {
  ExportRows rows = {{"0012", "1.250.000", "1,5"}, {"0013", "-75.000", "a;b"}, {"0014", "0", ""}};
  PageExportArgs args = FinBuildPageArgs("LAPORAN DATA SISWA", "SD Harapan", "Jl. Merdeka 5", kColumns, rows);
  EXPECT_EQ(args.pageInfo, "LAPORAN DATA SISWA;SD Harapan;Jl. Merdeka 5;lrc");
  EXPECT_EQ(args.headerList, "NIS;JUMLAH;KET");
  EXPECT_EQ(args.rowList, "0012,1.250.000,1-5;0013,-75.000,a-b;0014,0,");
}

TEST(ExportArgs, SheetArgumentsOfASmallList) {
  ExportRows rows = {{"0012", "1.250.000", "1,5"}, {"0013", "-75.000", "a;b"}, {"0014", "0", ""}};
  SheetExportArgs args = FinBuildSheetArgs(kColumns, rows);
  EXPECT_EQ(args.rowCount, 3);
  EXPECT_EQ(args.columnCount, 3);
  EXPECT_EQ(args.rowList, "NIS,JUMLAH,KET;0012,1250000,1-5;0013,-75000,a-b;0014,0,");
}

TEST(ExportArgs, CellsOnTheirWayToEachPlugin) {
  struct Case {
    const char* cell;
    const char* page;
    const char* sheet;
  } cases[] = {
      {"1,5", "1-5", "1-5"},
      {"1.250.000", "1.250.000", "1250000"},
      {"a;b", "a-b", "a-b"},
      {"-75.000", "-75.000", "-75000"},
      {"12.345.678.901", "12.345.678.901", "12345678901"},
      // only a number written with thousands dots loses them: every other text keeps its dots
      {"Rp 1.500,00;x", "Rp 1.500-00-x", "Rp 1.500-00-x"},
      {",;.", "--.", "--."},
      {"Potongan 2.5%", "Potongan 2.5%", "Potongan 2.5%"},
      {"Jl. Merdeka No. 5", "Jl. Merdeka No. 5", "Jl. Merdeka No. 5"},
      {"Rp 5.000", "Rp 5.000", "Rp 5.000"},
      {"2.5", "2.5", "2.5"},
      {"1.25", "1.25", "1.25"},
      {"0.500", "0.500", "0.500"},
      {"1250.000", "1250.000", "1250.000"},
      {"1.250.000.", "1.250.000.", "1.250.000."},
      {".250", ".250", ".250"},
      {"-.250", "-.250", "-.250"},
      {"07.03.2024", "07.03.2024", "07.03.2024"},
      {"", "", ""},
      {"Siti & <b>Ani</b>", "Siti & <b>Ani</b>", "Siti & <b>Ani</b>"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FinPageCell(c.cell), c.page) << c.cell;
    EXPECT_EQ(FinSheetCell(c.cell), c.sheet) << c.cell;
  }
}

TEST(ExportArgs, AlignmentLetters) {
  EXPECT_EQ(FinAlignLetter(0), "l");
  EXPECT_EQ(FinAlignLetter(1), "r");
  EXPECT_EQ(FinAlignLetter(2), "c");
  EXPECT_EQ(FinAlignLetter(3), "c");
  EXPECT_EQ(FinBuildPageArgs("T", "S", "A", {{"A", 1}, {"B", 1}, {"C", 0}, {"D", 2}}, {}).pageInfo, "T;S;A;rrlc");
}

TEST(ExportArgs, ListWithoutRows) {
  PageExportArgs page = FinBuildPageArgs("T", "S", "A", kColumns, {});
  EXPECT_EQ(page.headerList, "NIS;JUMLAH;KET");
  EXPECT_EQ(page.rowList, "");
  SheetExportArgs sheet = FinBuildSheetArgs(kColumns, {});
  EXPECT_EQ(sheet.rowCount, 0);
  EXPECT_EQ(sheet.columnCount, 3);
  EXPECT_EQ(sheet.rowList, "NIS,JUMLAH,KET");
}

TEST(ExportArgs, OneColumnAndOneRowLists) {
  EXPECT_EQ(FinBuildPageArgs("T", "S", "A", {{"NAMA", 0}}, {{"Budi"}, {"Siti"}}).rowList, "Budi;Siti");
  EXPECT_EQ(FinBuildPageArgs("T", "S", "A", kColumns, {{"1", "2", "3"}}).rowList, "1,2,3");
  EXPECT_EQ(FinBuildSheetArgs({{"NAMA", 0}}, {{"Budi"}, {"Siti"}}).rowList, "NAMA;Budi;Siti");
}

TEST(ExportArgs, CaptionsAreMappedAsCellsAndPageInfoFieldsAreNotChanged) {
  // A "," or ";" in a caption would split the caption line or the page's header: captions are mapped as cells are.
  const std::vector<ExportColumn> columns = {{"NO.", 0}, {"Seragam, Batik Rp.", 1}, {"Les; Tari", 1}, {"1.500", 1}};
  EXPECT_EQ(FinBuildSheetArgs(columns, {{"1.", "2,3", "4", "5"}}).rowList,
            "NO.,Seragam- Batik Rp.,Les- Tari,1500;1.,2-3,4,5");
  EXPECT_EQ(FinBuildPageArgs("T", "S", "A", columns, {}).headerList, "NO.;Seragam- Batik Rp.;Les- Tari;1.500");
  // A ";" in the title or the school's texts is passed on.
  EXPECT_EQ(FinBuildPageArgs("A;B", "S", "Jl. X; No. 1", {{"NO.", 0}}, {}).pageInfo, "A;B;S;Jl. X; No. 1;l");
}

TEST(HtmlCells, HeaderAndItemCells) {
  const std::string span =
      " nowrap><span style='font-size: 12px'><span style='font-family: arial,helvetica,sans-serif'>";
  EXPECT_EQ(FinHtmlHeaderCell("NIS", "100", "left"),
            "<td class='headeritem' width='100px' align='left'" + span + "NIS</span></span></td>");
  EXPECT_EQ(FinHtmlHeaderCell("NIS", "-1", "center"),
            "<td class='headeritem' align='center'" + span + "NIS</span></span></td>");
  EXPECT_EQ(FinHtmlItemCell("<b>1</b>", "right"),
            "<td class='item' align='right'" + span + "<b>1</b></span></span></td>");
  EXPECT_EQ(FinHtmlEscape("a&b<c>\"d\"'e'"), "a&amp;b&lt;c&gt;&quot;d&quot;&#39;e&#39;");
}

// ---- the exports, reading a real list view and calling a plug-in from the program folder -----------------------

const char kNoLibrary[] = "tidak dapat membaca library..";
const char kNoExport[] = "tidak dapat membaca data yang dibaca library..";
const char kCaption[] = "Export To excel..";

class ExportTest : public fintest::SeamsTest {
 protected:
  Hwnd list = 0;
  plugintest::FakeDesktopOpener opener;

  void SetUp() override {
    gSchoolName = "SD Harapan Bangsa";
    gSchoolAddress = "Jl. Merdeka No. 5, Bandung";
    list = WinCreateControl(0, "SysListView32", "", LVS_REPORT, 0, 0, 400, 200, 0, 77);
    ASSERT_NE(list, 0);
    LvInsertColumn(list, 0, "NIS", LVCFMT_LEFT, 60);
    LvInsertColumn(list, 1, "NAMA", LVCFMT_LEFT, 120);
    LvInsertColumn(list, 2, "KELAS", LVCFMT_CENTER, 60);
    LvInsertColumn(list, 3, "TAGIHAN", LVCFMT_RIGHT, 80);
    setenv("FIN_PLUGIN_RECORD", WorkFile("record.txt").c_str(), 1);
  }
  void TearDown() override {
    WinDestroyWindow(list);
    gTargetListView = 0;
    gSchoolName.clear();
    gSchoolAddress.clear();
    for (const char* v : {"FIN_PLUGIN_RECORD", "FIN_PLUGIN_RECORD_INTS"}) unsetenv(v);
  }

  void AddRow(const std::vector<std::string>& cells) {
    int row = LvInsertItem(list, LvGetItemCount(list), 0, cells[0], 0, 0);
    for (std::size_t c = 1; c < cells.size(); ++c) LvSetItemText(list, row, static_cast<int>(c), cells[c]);
  }
  void FillSmallList() {
    AddRow({"0012", "Budi Santoso", "VII-A", "1.250.000"});
    AddRow({"0013", "Siti & Ani", "", "-75.000"});
    AddRow({"9001", " Rudi", "Rp 5.000", "1,5"});
  }
  // Puts a plug-in into the program folder under the name `name` (libtablepage.so, libtablesheet.so).
  void Install(const std::string& built, const std::string& name) {
    plugintest::InstallPlugin(built, programDir(), name);
  }
  bool Loaded(const std::string& name) {
    void* h = dlopen(ProgramFile(name).c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (h) dlclose(h);
    return h != nullptr;
  }
  std::string Record() { return fintest::ReadFile(WorkFile("record.txt")); }
};

TEST_F(ExportTest, PageExportWritesAndOpensThePage) {
  FillSmallList();
  Install("libtablepage.so", "libtablepage.so");
  const std::string before = plugintest::PageToday();
  FinExportToPage("LAPORAN DATA SISWA", list);
  EXPECT_EQ(plugintest::WithPeriod(fintest::ReadFile(ProgramFile("Lap.html")), before, "03-07-2024"),
            fintest::ReadFile(std::string(FIN_SOURCE_DIR) + "/tests/plugins/expected/lap_small.html"));
  EXPECT_EQ(opener.log(), ProgramFile("Lap.html") + "\n");
  EXPECT_FALSE(Loaded("libtablepage.so"));
}

TEST_F(ExportTest, APageNoProgramCanOpenIsToldOfAndTheExportReturnsWhileOneShowsIt) {
  FillSmallList();
  Install("libtablepage.so", "libtablepage.so");
  {
    plugintest::NoDesktopOpener none;
    ExpectMsgBox("Tidak ada program yang dapat dijalankan untuk membuka " + ProgramFile("Lap.html") + "..", "Info",
                 IDOK, MB_OK);
    FinExportToPage("LAPORAN DATA SISWA", list);
    VerifySeams();
    EXPECT_TRUE(std::filesystem::exists(ProgramFile("Lap.html")));
  }
  // A viewer that stays open: the export is back (no box) while it still shows the page.
  plugintest::LingeringOpener lingering;
  FinExportToPage("LAPORAN DATA SISWA", list);
  EXPECT_TRUE(msgBoxes().size() == 1u);
  const pid_t pid = lingering.WaitUntilRunning();
  ASSERT_GT(pid, 0);
  EXPECT_NE(plugintest::FakeDesktopOpener::ParentOf(pid), 0) << "the export waited for the viewer";
  lingering.End();
  EXPECT_EQ(plugintest::ZombieChildren(), std::vector<pid_t>{});
  EXPECT_FALSE(Loaded("libtablepage.so"));
}

TEST_F(ExportTest, PageExportHandsOverTheThreeTexts) {
  FillSmallList();
  AddRow({"0014", "a;b", "x", ""});
  Install("tests/plugins/libfin_plugin_recorder.so", "libtablepage.so");
  FinExportToPage("LAPORAN DATA SISWA", list);
  EXPECT_EQ(Record(),
            "LAPORAN DATA SISWA;SD Harapan Bangsa;Jl. Merdeka No. 5, Bandung;llcr\n"
            "NIS;NAMA;KELAS;TAGIHAN\n"
            "0012,Budi Santoso,VII-A,1.250.000;0013,Siti & Ani,,-75.000;9001, Rudi,Rp 5.000,1-5;0014,a-b,x,\n");
  EXPECT_FALSE(Loaded("libtablepage.so"));
}

TEST_F(ExportTest, SheetExportHandsOverCountsAndRows) {
  FillSmallList();
  gTargetListView = list;
  setenv("FIN_PLUGIN_RECORD_INTS", "1", 1);
  Install("tests/plugins/libfin_plugin_recorder.so", "libtablesheet.so");
  FinExportToSheet();
  EXPECT_EQ(Record(),
            "3\n4\nNIS,NAMA,KELAS,TAGIHAN;0012,Budi Santoso,VII-A,1250000;0013,Siti & Ani,,-75000;"
            "9001, Rudi,Rp 5.000,1-5\n");
  EXPECT_FALSE(Loaded("libtablesheet.so"));
}

TEST_F(ExportTest, ListWithoutRows) {
  Install("tests/plugins/libfin_plugin_recorder.so", "libtablepage.so");
  FinExportToPage("LAPORAN ITEM DATA OPERATOR", list);
  EXPECT_EQ(Record(), "LAPORAN ITEM DATA OPERATOR;SD Harapan Bangsa;Jl. Merdeka No. 5, Bandung;llcr\n"
                      "NIS;NAMA;KELAS;TAGIHAN\n\n");

  gTargetListView = list;
  setenv("FIN_PLUGIN_RECORD_INTS", "1", 1);
  Install("tests/plugins/libfin_plugin_recorder.so", "libtablesheet.so");
  FinExportToSheet();
  EXPECT_EQ(Record(), "0\n4\nNIS,NAMA,KELAS,TAGIHAN\n");
}

TEST_F(ExportTest, MissingLibraryShowsTheBoxAndDoesNothingElse) {
  FillSmallList();
  gTargetListView = list;
  ExpectMsgBox(kNoLibrary, kCaption, IDOK, MB_OK | MB_ICONINFORMATION);
  FinExportToPage("LAPORAN DATA SISWA", list);
  ExpectMsgBox(kNoLibrary, kCaption, IDOK, MB_OK | MB_ICONINFORMATION);
  FinExportToSheet();
  EXPECT_EQ(msgBoxes().size(), 2u);
  EXPECT_FALSE(std::filesystem::exists(ProgramFile("Lap.html")));
  EXPECT_EQ(opener.log(), "");
}

TEST_F(ExportTest, LibraryWithoutSDataShowsTheBoxAndIsUnloaded) {
  FillSmallList();
  gTargetListView = list;
  Install("tests/plugins/libfin_plugin_without_sdata.so", "libtablepage.so");
  Install("tests/plugins/libfin_plugin_without_sdata.so", "libtablesheet.so");
  ExpectMsgBox(kNoExport, kCaption, IDOK, MB_OK | MB_ICONINFORMATION);
  FinExportToPage("LAPORAN DATA SISWA", list);
  ExpectMsgBox(kNoExport, kCaption, IDOK, MB_OK | MB_ICONINFORMATION);
  FinExportToSheet();
  EXPECT_EQ(msgBoxes().size(), 2u);
  EXPECT_FALSE(Loaded("libtablepage.so"));
  EXPECT_FALSE(Loaded("libtablesheet.so"));
  EXPECT_FALSE(std::filesystem::exists(ProgramFile("Lap.html")));
}

TEST_F(ExportTest, CallPluginCopiesTheAnswer) {
  Install("tests/plugins/libfin_plugin_recorder.so", "libtablepage.so");
  std::string answer;
  EXPECT_EQ(FinCallPlugin("tablepage", 0, 0, 0, &answer), PluginCallResult::Called);
  EXPECT_EQ(answer, "ok");
  EXPECT_EQ(Record(), "<null>\n<null>\n<null>\n");
  ExpectMsgBox(kNoLibrary, kCaption);
  EXPECT_EQ(FinCallPlugin("nosuchplugin", 0, 0, 0, &answer), PluginCallResult::NoLibrary);
}

}  // namespace
