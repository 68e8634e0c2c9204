// The page plug-in, copied into a program folder of the test's own and loaded from there by full path as Finance
// loads it: the page it writes beside itself, line for line, and the path it hands to the desktop opener (a fake one
// first in PATH).
#include <dlfcn.h>
#include <sys/prctl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "plugins/plugin_setup.h"
#include "support/fixtures.h"

namespace {

using SDataFn = const char* (*)(intptr_t, intptr_t, intptr_t);

const std::string kBom = "\xEF\xBB\xBF";
const std::string kSpan =
    " nowrap><span style='font-size: 12px'><span style='font-family: arial,helvetica,sans-serif'>";
std::string ItemCell(const std::string& text, const std::string& align) {
  return "<td class='item' align='" + align + "'" + kSpan + text + "</span></span></td>";
}
std::string HeaderCell(const std::string& text) {
  return "<td class='headeritem' width='100px' align='left'" + kSpan + text + "</span></span></td>";
}
const std::string kHeaderRowOpen = "<table cellpadding='2' cellspacing='0'><tr class='headerrow'>\r\n";
const std::string kPageEnd = "</td></tr></table></td></tr></table><br/><br/></body></html>\r\n";

class TablePageTest : public ::testing::Test {
 protected:
  fintest::TempDir dir;  // the program folder: the plug-in is loaded from here
  plugintest::FakeDesktopOpener opener;
  void* lib = nullptr;
  SDataFn sData = nullptr;
  std::string before;  // today, read before the last export

  void SetUp() override {
    plugintest::InstallPlugin("libtablepage.so", dir.str(), "libtablepage.so");
    lib = dlopen(dir.file("libtablepage.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(lib, nullptr) << dlerror();
    sData = reinterpret_cast<SDataFn>(dlsym(lib, "sData"));
    ASSERT_NE(sData, nullptr);
  }
  void TearDown() override {
    if (lib) dlclose(lib);
  }

  // Runs one export and returns the page written.
  std::string Export(const char* pageInfo, const char* headers, const char* rows) {
    before = plugintest::PageToday();
    std::string result = sData(reinterpret_cast<intptr_t>(pageInfo), reinterpret_cast<intptr_t>(headers),
                               reinterpret_cast<intptr_t>(rows));
    EXPECT_EQ(result, "0");
    return fintest::ReadFile(dir.file("Lap.html"));
  }
  // The part of the page after the header row's opening line.
  std::string Table(const std::string& page) {
    auto at = page.find(kHeaderRowOpen);
    EXPECT_NE(at, std::string::npos);
    return at == std::string::npos ? "" : page.substr(at + kHeaderRowOpen.size());
  }
};

TEST_F(TablePageTest, SmallListGivesTheExpectedPageBesideThePluginAndOpensIt) {
  std::string page = Export("LAPORAN DATA SISWA;SD Harapan Bangsa;Jl. Merdeka No. 5, Bandung;lllr",
                            "NIS;NAMA;KELAS;TAGIHAN",
                            "0012,Budi Santoso,VII-A,1.250.000;0013,Siti & Ani,,-75.000;9001, Rudi,Rp 5.000,1-5");
  EXPECT_EQ(plugintest::WithPeriod(page, before, "03-07-2024"),
            fintest::ReadFile(std::string(FIN_SOURCE_DIR) + "/tests/plugins/expected/lap_small.html"));
  EXPECT_EQ(opener.log(), dir.file("Lap.html") + "\n");
}

TEST_F(TablePageTest, PageIsMarkedAsUtf8HoweverLateItsFirstAccentedName) {
  // 300 rows, the first accented name in row 250: a browser that guesses the encoding from the first few kilobytes
  // finds none there. The byte-order mark stands before the first line; the lines are as they always were.
  std::string rows;
  for (int r = 1; r <= 300; ++r) {
    if (r > 1) rows += ";";
    rows += std::to_string(1000 + r) + "," + (r == 250 ? "Zoë Anaïs Pérez" : "Siswa " + std::to_string(r)) + ",VII-A";
  }
  const std::string page = Export("LAPORAN DATA SISWA;SD Harapan;Jl. Merdeka 5;lll", "NIS;NAMA;KELAS", rows.c_str());
  EXPECT_EQ(page.substr(0, kBom.size() + 30), kBom + "<script language=javascript>\r\n");
  EXPECT_EQ(page.find(kBom, 1), std::string::npos);
  EXPECT_GT(page.find("Zoë Anaïs Pérez"), 50000u);
  EXPECT_NE(page.find(ItemCell("1250", "right") + ItemCell("Zoë Anaïs Pérez", "left") + ItemCell("VII-A", "left")),
            std::string::npos);
}

TEST_F(TablePageTest, CellsAlignByTheirFirstCharacter) {
  struct Case {
    const char* cell;
    const char* align;
  } cases[] = {{"0012", "right"}, {"1.250.000", "right"}, {"9", "right"},     {"-75.000", "right"},
               {"07-03-2024", "right"}, {"Budi", "left"}, {"Rp 5.000", "left"}, {" 12", "left"},
               {"+5", "left"},     {"(3)", "left"}};
  for (const Case& c : cases) {
    std::string rows = std::string("x,,") + c.cell;  // the empty cell in the middle aligns left
    std::string table = Table(Export("T;S;A;lll", "A;B;C", rows.c_str()));
    EXPECT_NE(table.find("<tr>\r\n" + ItemCell("x", "left") + ItemCell("", "left") + ItemCell(c.cell, c.align) +
                         "\r\n</tr>\r\n"),
              std::string::npos)
        << c.cell;
  }
}

TEST_F(TablePageTest, NoRowOrCellIsInventedAtTheEnd) {
  struct Case {
    const char* headers;
    const char* rows;
    std::string table;
  } cases[] = {
      // an empty list: the header row and nothing else
      {"NIS;NAMA", "", HeaderCell("NIS") + HeaderCell("NAMA") + "\r\n</tr>\r\n" + kPageEnd},
      {"NIS;NAMA", nullptr, HeaderCell("NIS") + HeaderCell("NAMA") + "\r\n</tr>\r\n" + kPageEnd},
      // no columns at all
      {"", "", "\r\n</tr>\r\n" + kPageEnd},
      // one column: one cell per row
      {"NAMA", "Budi;Siti",
       HeaderCell("NAMA") + "\r\n</tr>\r\n<tr>\r\n" + ItemCell("Budi", "left") + "\r\n</tr>\r\n<tr>\r\n" +
           ItemCell("Siti", "left") + "\r\n</tr>\r\n" + kPageEnd},
      // one row
      {"A;B", "1,x", HeaderCell("A") + HeaderCell("B") + "\r\n</tr>\r\n<tr>\r\n" + ItemCell("1", "right") +
                         ItemCell("x", "left") + "\r\n</tr>\r\n" + kPageEnd},
      // a last row of one cell: as wide as the header all the same
      {"A;B", "1,x;2", HeaderCell("A") + HeaderCell("B") + "\r\n</tr>\r\n<tr>\r\n" + ItemCell("1", "right") +
                           ItemCell("x", "left") + "\r\n</tr>\r\n<tr>\r\n" + ItemCell("2", "right") +
                           ItemCell("", "left") + "\r\n</tr>\r\n" + kPageEnd},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Table(Export("T;S;A;l", c.headers, c.rows)), c.table) << c.headers << " / " << (c.rows ? c.rows : "null");
  }
}

TEST_F(TablePageTest, EveryRowHasACellForEachColumn) {
  // An empty row keeps its place with an empty cell; a row whose last cells are empty (the caller's "0014,,") gets
  // as many cells as the header has, so its rule runs under the whole table; a longer row keeps all its cells.
  const std::string e = ItemCell("", "left");
  struct Case {
    const char* headers;
    const char* rows;
    std::string body;
  } cases[] = {
      {"NAMA", "Budi;;Siti",
       "<tr>\r\n" + ItemCell("Budi", "left") + "\r\n</tr>\r\n<tr>\r\n" + e + "\r\n</tr>\r\n<tr>\r\n" +
           ItemCell("Siti", "left") + "\r\n</tr>\r\n"},
      {"NIS;NAMA;KET", "0014,,;0015,Budi,",
       "<tr>\r\n" + ItemCell("0014", "right") + e + e + "\r\n</tr>\r\n<tr>\r\n" + ItemCell("0015", "right") +
           ItemCell("Budi", "left") + e + "\r\n</tr>\r\n"},
      {"NIS;NAMA;KET", "0014;;0016,,x",
       "<tr>\r\n" + ItemCell("0014", "right") + e + e + "\r\n</tr>\r\n<tr>\r\n" + e + e + e +
           "\r\n</tr>\r\n<tr>\r\n" + ItemCell("0016", "right") + e + ItemCell("x", "left") + "\r\n</tr>\r\n"},
      {"A", "1,2", "<tr>\r\n" + ItemCell("1", "right") + ItemCell("2", "right") + "\r\n</tr>\r\n"},
  };
  for (const Case& c : cases) {
    const std::string table = Table(Export("T;S;A;l", c.headers, c.rows));
    const std::size_t at = table.find("</tr>\r\n");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(table.substr(at + 7), c.body + kPageEnd) << c.headers << " / " << c.rows;
  }
}

TEST_F(TablePageTest, MarkupInDataShowsAsText) {
  std::string page = Export("<Laporan> & \"Rekap\";SD <b>Bangsa</b>;Jl. 'Mawar' & Melati;ll",
                            "<i>NAMA</i>;KET", "<script>alert(1)</script>,O'Neil \"Jr\" & <b>x</b>");
  EXPECT_NE(page.find("<title>&lt;Laporan&gt; &amp; &quot;Rekap&quot;</title>"), std::string::npos);
  EXPECT_NE(page.find("<font style='font-size:16px;'>SD &lt;b&gt;Bangsa&lt;/b&gt;</font><br/>"
                      "<font style='Font-size:8px;'>Jl. &#39;Mawar&#39; &amp; Melati</font>"),
            std::string::npos);
  EXPECT_NE(page.find(HeaderCell("&lt;i&gt;NAMA&lt;/i&gt;") + HeaderCell("KET")), std::string::npos);
  EXPECT_NE(page.find(ItemCell("&lt;script&gt;alert(1)&lt;/script&gt;", "left") +
                      ItemCell("O&#39;Neil &quot;Jr&quot; &amp; &lt;b&gt;x&lt;/b&gt;", "left")),
            std::string::npos);
  EXPECT_EQ(page.find("<script>"), std::string::npos);
  EXPECT_EQ(page.find("<b>"), page.find("<b>Periode:</b>"));
}

TEST_F(TablePageTest, EmptyPageInfoLeavesItsPlacesEmptyAndTodayIsThePeriod) {
  std::string page = Export(nullptr, "A", "1");
  EXPECT_NE(page.find("<title></title>"), std::string::npos);
  EXPECT_NE(page.find("<font style='font-size:16px;'></font><br/><font style='Font-size:8px;'></font></td>"),
            std::string::npos);
  // The period is today's local date.
  EXPECT_NE(plugintest::WithPeriod(page, before, "<today>").find("<td><b>Periode:</b></td><td><today></td>"),
            std::string::npos);

  page = Export("Judul;;;l", "A", "1");
  EXPECT_NE(page.find("<title>Judul</title>"), std::string::npos);
}

TEST_F(TablePageTest, UnicodeTextsPassUnchanged) {
  // Texts are UTF-8: no byte of them is dropped, even when a later key is emptied.
  std::string page = Export("Rekap Ü;Школа п¿;;l", "ИМЯ", "Пётр,ÿ");
  EXPECT_NE(page.find("<font style='font-size:16px;'>Школа п¿</font>"), std::string::npos);
  EXPECT_NE(page.find(HeaderCell("ИМЯ")), std::string::npos);
  EXPECT_NE(page.find(ItemCell("Пётр", "left") + ItemCell("ÿ", "left")), std::string::npos);
}

TEST_F(TablePageTest, SecondExportReplacesTheFirst) {
  Export("T;S;A;l", "A", "pertama;kedua;ketiga");
  std::string page = Export("T;S;A;l", "A", "baru");
  EXPECT_EQ(page.find("pertama"), std::string::npos);
  EXPECT_NE(page.find(ItemCell("baru", "left")), std::string::npos);
  EXPECT_EQ(opener.log(), dir.file("Lap.html") + "\n" + dir.file("Lap.html") + "\n");
}

TEST_F(TablePageTest, PageThatCannotBeWrittenIsNotOpenedAndItsPathHandedBack) {
  std::filesystem::create_directory(dir.file("Lap.html"));  // in the way of the page
  const char* info = "T;S;A;l";
  EXPECT_EQ(std::string(sData(reinterpret_cast<intptr_t>(info), 0, 0)), "!" + dir.file("Lap.html"));
  EXPECT_TRUE(std::filesystem::is_directory(dir.file("Lap.html")));
  EXPECT_EQ(opener.log(), "");
}

TEST_F(TablePageTest, EachCopyWritesBesideItself) {
  // The same plug-in installed in a second program folder writes there, not beside the first copy.
  fintest::TempDir other;
  plugintest::InstallPlugin("libtablepage.so", other.str(), "libtablepage.so");
  void* second = dlopen(other.file("libtablepage.so").c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(second, nullptr) << dlerror();
  auto otherData = reinterpret_cast<SDataFn>(dlsym(second, "sData"));
  ASSERT_NE(otherData, nullptr);
  const char* info = "T;S;A;l";
  EXPECT_STREQ(otherData(reinterpret_cast<intptr_t>(info), 0, 0), "0");
  dlclose(second);
  EXPECT_TRUE(std::filesystem::exists(other.file("Lap.html")));
  EXPECT_FALSE(std::filesystem::exists(dir.file("Lap.html")));
  EXPECT_EQ(opener.log(), other.file("Lap.html") + "\n");
}

// The page's viewer may stay open as long as the operator looks at the page: the export does not wait for it, and
// leaves no ended process of its own uncollected.
TEST_F(TablePageTest, TheExportReturnsWhileTheOpenerStillRunsAndLeavesNoZombie) {
  plugintest::LingeringOpener lingering;
  prctl(PR_SET_CHILD_SUBREAPER, 0);   // as in the field: an orphaned opener goes to the system's reaper
  const char* info = "T;S;A;l";
  EXPECT_STREQ(sData(reinterpret_cast<intptr_t>(info), 0, 0), "0");
  const pid_t pid = lingering.WaitUntilRunning();
  ASSERT_GT(pid, 0) << "the opener never ran";
  char state = 0;
  const pid_t parent = plugintest::FakeDesktopOpener::ParentOf(pid, &state);
  EXPECT_NE(parent, 0) << "the opener had ended: the export waited for it";
  EXPECT_NE(state, 'Z');
  EXPECT_NE(parent, getpid()) << "the opener is a child of the program";
  EXPECT_EQ(plugintest::ZombieChildren(), std::vector<pid_t>{});
  lingering.End();
  EXPECT_EQ(fintest::ReadFile(lingering.dir().file("opened.log")), dir.file("Lap.html") + "\n");
}

TEST_F(TablePageTest, WithoutAnOpenerThePageIsWrittenAndItsPathHandedBack) {
  const char* info = "T;S;A;l";
  {
    plugintest::NoDesktopOpener none;
    EXPECT_EQ(std::string(sData(reinterpret_cast<intptr_t>(info), 0, 0)), dir.file("Lap.html"));
    EXPECT_NE(fintest::ReadFile(dir.file("Lap.html")).find("<title>T</title>"), std::string::npos);
    EXPECT_EQ(plugintest::ZombieChildren(), std::vector<pid_t>{});
  }
  // With an opener again, the result is "0" once more.
  EXPECT_STREQ(sData(reinterpret_cast<intptr_t>(info), 0, 0), "0");
  EXPECT_EQ(opener.log(), dir.file("Lap.html") + "\n");
}

}  // namespace
