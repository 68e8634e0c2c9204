// The page plug-in, loaded by full path as Finance loads it: the page it writes into the program folder, line for
// line, and the path it hands to the desktop opener.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "support/fixtures.h"

namespace {

using SDataFn = const char* (*)(intptr_t, intptr_t, intptr_t);

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
  fintest::TempDir dir;
  void* lib = nullptr;
  SDataFn sData = nullptr;

  void SetUp() override {
    setenv("FIN_PROGRAM_DIR", dir.str().c_str(), 1);
    setenv("FIN_TODAY", "2024-03-07", 1);
    setenv("FIN_OPENER_LOG", dir.file("opened.log").c_str(), 1);
    lib = dlopen((std::string(FIN_BINARY_DIR) + "/libtablepage.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(lib, nullptr) << dlerror();
    sData = reinterpret_cast<SDataFn>(dlsym(lib, "sData"));
    ASSERT_NE(sData, nullptr);
  }
  void TearDown() override {
    if (lib) dlclose(lib);
    unsetenv("FIN_PROGRAM_DIR");
    unsetenv("FIN_TODAY");
    unsetenv("FIN_OPENER_LOG");
  }

  // Runs one export and returns the page written.
  std::string Export(const char* pageInfo, const char* headers, const char* rows) {
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

TEST_F(TablePageTest, SmallListGivesTheExpectedPageAndOpensIt) {
  std::string page = Export("LAPORAN DATA SISWA;SD Harapan Bangsa;Jl. Merdeka No. 5, Bandung;lllr",
                            "NIS;NAMA;KELAS;TAGIHAN",
                            "0012,Budi Santoso,VII-A,1.250.000;0013,Siti & Ani,,-75.000;9001, Rudi,Rp 5.000,1-5");
  EXPECT_EQ(page, fintest::ReadFile(std::string(FIN_SOURCE_DIR) + "/tests/plugins/expected/lap_small.html"));
  EXPECT_EQ(fintest::ReadFile(dir.file("opened.log")), dir.file("Lap.html") + "\n");
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
      // a last row of one cell
      {"A;B", "1,x;2", HeaderCell("A") + HeaderCell("B") + "\r\n</tr>\r\n<tr>\r\n" + ItemCell("1", "right") +
                           ItemCell("x", "left") + "\r\n</tr>\r\n<tr>\r\n" + ItemCell("2", "right") +
                           "\r\n</tr>\r\n" + kPageEnd},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Table(Export("T;S;A;l", c.headers, c.rows)), c.table) << c.headers << " / " << (c.rows ? c.rows : "null");
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

TEST_F(TablePageTest, EmptyPageInfoLeavesItsPlacesEmptyAndTheDateIsThePeriod) {
  std::string page = Export(nullptr, "A", "1");
  EXPECT_NE(page.find("<title></title>"), std::string::npos);
  EXPECT_NE(page.find("<font style='font-size:16px;'></font><br/><font style='Font-size:8px;'></font></td>"),
            std::string::npos);
  EXPECT_NE(page.find("<td><b>Periode:</b></td><td>03-07-2024</td>"), std::string::npos);

  setenv("FIN_TODAY", "2025-12-31", 1);
  page = Export("Judul;;;l", "A", "1");
  EXPECT_NE(page.find("<title>Judul</title>"), std::string::npos);
  EXPECT_NE(page.find("<td>12-31-2025</td>"), std::string::npos);
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
  EXPECT_EQ(fintest::ReadFile(dir.file("opened.log")), dir.file("Lap.html") + "\n" + dir.file("Lap.html") + "\n");
}

TEST_F(TablePageTest, PageThatCannotBeWrittenIsNotOpened) {
  std::string missing = dir.file("no-such-folder");
  setenv("FIN_PROGRAM_DIR", missing.c_str(), 1);
  const char* info = "T;S;A;l";
  EXPECT_STREQ(sData(reinterpret_cast<intptr_t>(info), 0, 0), "0");
  EXPECT_FALSE(std::filesystem::exists(missing + "/Lap.html"));
  EXPECT_FALSE(std::filesystem::exists(dir.file("opened.log")));
}

}  // namespace
