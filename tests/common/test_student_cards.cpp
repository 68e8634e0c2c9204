// Student cards: the card page, two cards to a table row, compared with expected pages; an odd last student stands
// alone; texts from the data are escaped.
#include <gtest/gtest.h>

#include <filesystem>

#include <string>
#include <vector>

#include "app/globals.h"
#include "common/student_cards.h"
#include "framework/controls.h"
#include "framework/window_system.h"
#include "support/fixtures.h"
#include "support/seams_fixture.h"

namespace {

const std::vector<StudentCard> kStudents = {
    {"0012", "Budi Santoso", "L", "Bandung", "2012-05-01"},
    {"0013", "Siti <Aminah>", "P", "Garut", "2012-07-17"},
    {"0014", "Rina", "", "", ""},
    {"0015", "Andi", "l", "Bogor", "2011-12-31"},
};
const std::string kSchool = "SD Harapan & Bangsa", kAddress = "Jl. Merdeka No. 5";

std::string Expected(const std::string& name) {
  return fintest::ReadFile(std::string(FIN_SOURCE_DIR) + "/tests/common/expected/" + name);
}

TEST(StudentCardsPage, FourStudentsGiveTwoPairs) {
  EXPECT_EQ(FinBuildStudentCardsPage(kSchool, kAddress, kStudents), Expected("kartu_4.html"));
}

TEST(StudentCardsPage, ThreeStudentsLeaveTheLastCardAlone) {
  std::vector<StudentCard> three(kStudents.begin(), kStudents.begin() + 3);
  EXPECT_EQ(FinBuildStudentCardsPage(kSchool, kAddress, three), Expected("kartu_3.html"));
}

TEST(StudentCardsPage, NoStudentsGiveTheHeadLinesOnly) {
  EXPECT_EQ(FinBuildStudentCardsPage(kSchool, kAddress, {}),
            "<script language=javascript>\r\nwindow.print()\r\n</script>\r\n"
            "<table class='hovertable' border='1' cellpadding='0' cellspacing='0'>\r\n"
            "<tr><th>Photo</th><th>Student Detail</th><th>Photo</th><th>Student Detail</th></tr>\r\n");
}

TEST(StudentCardsPage, MarkupInDataShowsAsText) {
  std::string page = FinBuildStudentCardsPage("<b>SD</b>", "Jl. \"A\" 'B'",
                                              {{"1\"><script>x</script>", "<i>Budi</i>", "L", "A&B", "<1>"}});
  EXPECT_NE(page.find("&lt;b&gt;SD&lt;/b&gt;<br>\r\nJl. &quot;A&quot; &#39;B&#39;<br>\r\n"), std::string::npos);
  EXPECT_NE(page.find("<img src=image/1&quot;&gt;&lt;script&gt;x&lt;/script&gt;.bmp width='90'"), std::string::npos);
  EXPECT_NE(page.find("\r\n&lt;i&gt;Budi&lt;/i&gt;<br/>\r\nLaki-Laki<br/>\r\nA&amp;B, &lt;1&gt;<br/>\r\n"),
            std::string::npos);
  EXPECT_EQ(page.find("<script>"), std::string::npos);
}

// ---- printing from the student list ---------------------------------------------------------------------------

class StudentCardsTest : public fintest::SeamsTest {
 protected:
  Hwnd list = 0;
  void SetUp() override {
    gSchoolName = kSchool;
    gSchoolAddress = kAddress;
    list = WinCreateControl(0, "SysListView32", "", LVS_REPORT, 0, 0, 400, 200, 0, 78);
    ASSERT_NE(list, 0);
    const char* captions[] = {"NIS", "NAMA", "L/P", "TEMPAT LAHIR", "TGL LAHIR"};
    for (int c = 0; c < 5; ++c) LvInsertColumn(list, c, captions[c], LVCFMT_LEFT, 80);
  }
  void TearDown() override {
    WinDestroyWindow(list);
    gSchoolName.clear();
    gSchoolAddress.clear();
  }
  void Fill(std::size_t count) {
    for (std::size_t r = 0; r < count; ++r) {
      const StudentCard& s = kStudents[r];
      int row = LvInsertItem(list, static_cast<int>(r), 0, s.id, 0, 0);
      LvSetItemText(list, row, 1, s.name);
      LvSetItemText(list, row, 2, s.gender);
      LvSetItemText(list, row, 3, s.birthPlace);
      LvSetItemText(list, row, 4, s.birthDate);
    }
  }
};

TEST_F(StudentCardsTest, WritesTheCardPageIntoTheProgramFolderAndOpensIt) {
  Fill(4);
  fintest::WriteFile(ProgramFile("Kartu.html"), "an earlier page, longer than nothing");
  FinPrintStudentCards(list);
  EXPECT_EQ(fintest::ReadFile(ProgramFile("Kartu.html")), Expected("kartu_4.html"));
  EXPECT_EQ(opened(), std::vector<std::string>{ProgramFile("Kartu.html")});
}

TEST_F(StudentCardsTest, OddListFromTheListView) {
  Fill(3);
  FinPrintStudentCards(list);
  EXPECT_EQ(fintest::ReadFile(ProgramFile("Kartu.html")), Expected("kartu_3.html"));
}

TEST_F(StudentCardsTest, PageThatCannotBeWrittenIsNotOpenedAndToldOf) {
  Fill(2);
  std::filesystem::create_directory(ProgramFile("Kartu.html"));  // a folder where the page should go
  ExpectMsgBox("Halaman " + ProgramFile("Kartu.html") + " tidak dapat disimpan..", "Info", IDOK,
               MB_OK | MB_ICONINFORMATION);
  FinPrintStudentCards(list);
  EXPECT_TRUE(opened().empty());
}

}  // namespace
